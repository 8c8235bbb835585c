// Typed access: change flags, sparse records, windows over columns, wrappers, aggregation.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <tuple>
#include <vector>

#include "dict.h"
#include "platform/xalloc.h"

namespace {
using namespace attrtest;

TEST(AttrAccess, ChangeFlagsFoldingAndWidths) {
    rtattrdict_t *d = named_head(4);
    int owner = 0;
    const int flags[] = {rtattrdict_setd_return_modified(d, 1, "VALUE", 2.5),
                         rtattrdict_setd_return_modified(d, 1, "VALUE", 2.5),
                         rtattrdict_setd_return_modified(d, 1, "VALUE", NAN),
                         rtattrdict_setd_return_modified(d, 1, "VALUE", NAN),
                         rtattrdict_seti_return_modified(d, 2, "STATUS", -1),
                         rtattrdict_seti_return_modified(d, 2, "STATUS", -1),
                         rtattrdict_setb_return_modified(d, 1, "FIXED", 0),
                         rtattrdict_setb_return_modified(d, 1, "FIXED", 7),
                         rtattrdict_setb_return_modified(d, 1, "FIXED", 3),
                         rtattrdict_setv_return_modified(d, 4, "OWNER", &owner),
                         rtattrdict_setv_return_modified(d, 4, "OWNER", &owner)};
    EXPECT_EQ(std::vector<int>(std::begin(flags), std::end(flags)),
              (std::vector<int>{1, 0, 1, 1, 1, 0, 1, 1, 0, 1, 0}));  // NaN differs
    EXPECT_EQ(rtattrdict_getb(d, 1, "FIXED") * 10 + (rtattrdict_getv(d, 4, "OWNER") == &owner), 11);
    rtattrdict_seti(d, 3, "STATUS", (int64_t{1} << 40) + 9);
    EXPECT_EQ(rtattrdict_ivector(d, "STATUS")[1], -1);  // 64-bit cells, read back by geti as their low half
    EXPECT_EQ(rtattrdict_ivector(d, "STATUS")[2], (int64_t{1} << 40) + 9);
    EXPECT_EQ(rtattrdict_geti(d, 3, "STATUS"), 9);
    char again[] = "KG/HR";
    rtattrdict_sets(d, 1, "UNIT", "KG/HR");
    rtattrdict_sets(d, 2, "UNIT", again);
    EXPECT_EQ(rtattrdict_gets(d, 1, "UNIT"), rtattrdict_gets(d, 2, "UNIT"));  // interned: one pointer
    zarn::failalloc_set(0);  // counts allocations: a sparse record is one, made by the first write only
    const long before = zarn::failalloc_count();
    EXPECT_EQ(rtattrdict_getd(d, 2, "SHADOW") + rtattrdict_geti(d, 2, "TAG") + rtattrdict_getb(d, 2, "FLAG"),
              1e35 - 2);
    EXPECT_EQ(zarn::failalloc_count(), before);
    EXPECT_EQ(rtattrdict_seti_return_modified(d, 2, "TAG", -3), 0);  // the default, yet the record is made
    EXPECT_EQ(zarn::failalloc_count(), before + 1);
    int x;
    const int sparse[] = {rtattrdict_setd_return_modified(d, 2, "SHADOW", 4.0),
                          rtattrdict_seti_return_modified(d, 2, "TAG", -70000),
                          rtattrdict_setb_return_modified(d, 2, "FLAG", 0),
                          rtattrdict_setb_return_modified(d, 2, "FLAG", 256),
                          rtattrdict_setv_return_modified(d, 2, "PTR", &x)};
    EXPECT_EQ(std::vector<int>(std::begin(sparse), std::end(sparse)), (std::vector<int>{1, 1, 1, 1, 1}));
    rtattrdict_sets(d, 2, "NOTE", "hot");
    EXPECT_EQ(rtattrdict_getd(d, 2, "SHADOW") + rtattrdict_geti(d, 2, "TAG") + rtattrdict_getb(d, 2, "FLAG"),
              -69995.0);
    EXPECT_EQ(rtattrdict_gets(d, 2, "NOTE") + std::string(rtattrdict_gets(d, 3, "NOTE")) +
                  (rtattrdict_getv(d, 2, "PTR") == &x ? "!" : ""),
              "hotnone!");
    EXPECT_EQ(zarn::failalloc_count(), before + 1);
    rtattrdict_remove_items(d, 2, 1);
    ExpectDefunct(d, 2);
    rtattrdict_destroy(d);
}

TEST(AttrAccess, WindowsTranslateIndicesVectorsAndNameKinds) {
    rtattrdict_t *d = named_head(8), *w = rtattrdict_create_embedded(d, 3, 4, "SUB.", 0);
    rtattrdict_resize(w, 4);
    rtattrdict_sets(w, 2, "NAME", "X");
    for (const char *a : {"PORT", "UNIT", "LINK", "NOTE"})
        rtattrdict_sets(w, 3, a, (std::string(a) + "1").c_str());
    const struct {
        rtattrdict_t *d;
        int32_t i;
        const char *attr, *want;
    } rows[] = {// name kinds carry the prefix
                {d, 4, "NAME", "SUB.X"}, {w, 2, "NAME", "X"},     {d, 5, "PORT", "SUB.PORT1"},
                {w, 3, "PORT", "PORT1"}, {d, 5, "UNIT", "UNIT1"}, {d, 5, "LINK", "SUB.LINK1"},
                {w, 3, "LINK", "LINK1"}, {d, 5, "NOTE", "NOTE1"}};
    for (const auto &r : rows) EXPECT_STREQ(rtattrdict_gets(r.d, r.i, r.attr), r.want) << r.attr << r.i;
    EXPECT_EQ(rtattrdict_index(w, "X"), 2);
    double *hv = rtattrdict_dvector(d, "VALUE");
    rtattrdict_setd(w, 4, "VALUE", 4.5);  // every vector of the window starts at its first element
    EXPECT_EQ(std::tuple(rtattrdict_dvector(w, "VALUE") - hv, rtattrdict_dvector_ro(w, "VALUE") - hv, hv[5],
                         rtattrdict_ivector(w, "STATUS") - rtattrdict_ivector(d, "STATUS"),
                         rtattrdict_bvector_ro(w, "FIXED") - rtattrdict_bvector(d, "FIXED"),
                         rtattrdict_svector(w, "NAME")[1] == rtattrdict_gets(d, 4, "NAME"),
                         rtattrdict_vvector(w, "OWNER") - rtattrdict_vvector(d, "OWNER")),
              std::tuple(2, 2, 4.5, 2, 2, true, 2));
    rtattrdict_destroy(w);
    rtattrdict_destroy(d);
}

TEST(AttrAccess, WrapperReferencesBalance) {
    CountingWrapper a, b;
    rtattrdict_t *d = named_head(3);
    EXPECT_EQ(rtattrdict_setwrapper_return_modified(d, 1, "WRAP", &a) * 10 +
                  rtattrdict_setwrapper_return_modified(d, 1, "WRAP", &a),
              10);
    EXPECT_EQ(a.refs * 10 + (rtattrdict_getwrapper(d, 1, "WRAP") == &a),
              11);  // once for the cell, none for the read
    rtattrdict_setwrapper(d, 1, "WRAP", &b);
    rtattrdict_setwrapper(d, 2, "WRAP", &a);
    rtattrdict_change_capacity(d, 50);
    rtattrdict_move_items(d, 2, 3, 1);  // the wrapper learns its new index (references: the random model)
    EXPECT_EQ(a.refs * 100 + a.index * 10 + (rtattrdict_getwrapper(d, 3, "WRAP") == &a), 131);
    rtattrdict_destroy(d);
    EXPECT_EQ(a.refs + b.refs, 0);
    IWEXWrapperHolder holder, *scoped = new IWEXWrapperHolder;
    EXPECT_EQ(holder.GetWrapper(), nullptr);
    holder.SetWrapper(&a);
    holder.SetWrapper(&a);
    holder.SetWrapper(&b);
    scoped->SetWrapper(&a);  // the one held again is safe
    EXPECT_EQ(a.refs * 10 + b.refs, 11);
    holder.Release();
    holder.Release();
    delete scoped;
    EXPECT_EQ(a.refs + b.refs, 0);
}

TEST(AttrAccess, AggregateFoldsASeparateHeadIntoAWindow) {
    CountingWrapper wr;
    rtattrdict_t *head = named_head(10), *sub = rtattrdict_create(3, kDesc, 1);
    rtattrdict_resize(sub, 3);
    add(sub, 1, {"A", "B", "C"});
    rtattrdict_setd(sub, 2, "VALUE", 7.5);
    rtattrdict_sets(sub, 3, "PORT", "P");
    rtattrdict_seti(sub, 1, "TAG", 11);
    rtattrdict_setb(sub, 3, "FLAG", 0);
    rtattrdict_setwrapper(sub, 1, "WRAP", &wr);  // the first cell: the move starts there
    rtattrdict_t *inner = rtattrdict_create_embedded(sub, 2, 1, nullptr, 1);
    rtattrdict_resize(inner, 1);
    const rtattrdesc_t other[] = {{"VALUE", RTATTR_DOUBLE, 1.0, 0, nullptr, 0, nullptr},
                                  {nullptr, 0, 0.0, 0, nullptr, 0, nullptr}};
    rtattrdesc_t flipped[std::size(kDesc)];
    std::copy(std::begin(kDesc), std::end(kDesc), flipped);
    flipped[12].bdefault = 0;  // FLAG: same type, another default
    for (const rtattrdesc_t *table : {other, static_cast<const rtattrdesc_t *>(flipped)}) {
        rtattrdict_t *odd = rtattrdict_create(1, table, 1),
                     *folded = rtattrdict_aggregate(head, odd, 1, "X.");
        EXPECT_EQ(folded, nullptr);
        rtattrdict_destroy(folded != nullptr ? folded : odd);
    }
    CountingWrapper replaced;  // held by the cell the folded head's wrapper takes over
    rtattrdict_setwrapper(head, 4, "WRAP", &replaced);
    rtattrdict_t *w = rtattrdict_aggregate(head, sub, 4, "S.");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(replaced.refs, 0) << "the wrapper a folded cell replaces is released";
    EXPECT_EQ(rtattrdict_inq_num(head) * 100 + rtattrdict_index(head, "S.B") * 10 + rtattrdict_index(w, "C"),
              1053);  // laid over 4..6
    EXPECT_EQ(rtattrdict_getd(head, 5, "VALUE") + rtattrdict_geti(head, 4, "TAG"), 18.5);
    EXPECT_STREQ(rtattrdict_gets(head, 6, "PORT"), "S.P");
    EXPECT_EQ(rtattrdict_getb(head, 6, "FLAG"), 0) << "a sparse flag off its default";
    EXPECT_EQ(wr.refs * 100 + wr.index * 10 + (rtattrdict_getwrapper(head, 4, "WRAP") == &wr), 141);
    EXPECT_EQ(rtattrdict_embedded(inner), w);  // windows of the folded head now hang off the new window
    EXPECT_EQ(str(rtattrdict_name(inner, 1)) + std::to_string(rtattrdict_okay(inner)), "B1");
    for (rtattrdict_t *x : {inner, w, head}) rtattrdict_destroy(x);
    EXPECT_EQ(wr.refs, 0);
}

}  // namespace

namespace {

// A chain of up to `levels` resizable windows of one element under d, outermost first.
std::vector<rtattrdict_t *> Chain(rtattrdict_t *d, int levels) {
    std::vector<rtattrdict_t *> made;
    for (int k = 0; k < levels && (d = rtattrdict_create_embedded(d, 1, 1, nullptr, 1)) != nullptr; ++k) {
        rtattrdict_resize(d, 1);
        made.push_back(d);
    }
    return made;
}

// Windows nest at most 1000 levels below their head, also when a head with windows is folded into another.
TEST(AttrAccess, WindowsNestAtMostAThousandLevels) {
    HistoryCapture his;
    const struct {
        const char *rule;
        int below;
        bool fold;
        size_t windows;
        bool folded;
        std::string said;
    } rows[] = {
        {"a thousand levels of windows", 1000, false, 1000, false, ""},
        {"a window one level deeper is refused", 1001, false, 1000, false,
         "!! rtattrdict_create_embedded: windows nest at most 1000 levels\n"},
        {"a head whose windows would sink past the limit is not folded in", 1000, true, 1000, false,
         "!! rtattrdict_aggregate: windows would nest more than 1000 levels\n"},
        {"a head with 999 levels of windows is folded in", 999, true, 999, true, ""},
    };
    for (const auto &r : rows) {
        rtattrdict_t *head = named_head(2), *other = named_head(1);
        std::vector<rtattrdict_t *> windows = Chain(r.fold ? other : head, r.below);
        rtattrdict_t *w = r.fold ? rtattrdict_aggregate(head, other, 1, nullptr) : nullptr;
        EXPECT_EQ(windows.size(), r.windows) << r.rule;
        EXPECT_EQ(w != nullptr, r.folded) << r.rule;
        EXPECT_EQ(his.text(), r.said) << r.rule;
        EXPECT_EQ(rtattrdict_okay(windows.back()), 1) << r.rule;
        for (auto k = windows.rbegin(); k != windows.rend(); ++k) rtattrdict_destroy(*k);
        rtattrdict_destroy(w != nullptr ? w : other);
        rtattrdict_destroy(head);
    }
}

}  // namespace
