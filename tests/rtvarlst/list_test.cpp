// Variable lists: shape, windows, names, aliases, fixed-width fields, bulk operations, memory shortage.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "platform/xalloc.h"
#include "zarnutils/varprofile.hpp"
#include "varlst_fixture.h"
#include "zarnutils/msgdigest.h"
#include "zarnutils/rttaglst.h"

using namespace zarn::test;

namespace {

std::string name(rtvarlst_t *l, int32_t i) { return rtovarlst_lookup_var_name(l, i); }
std::string ints(std::initializer_list<int64_t> v) {
    std::string s;
    for (int64_t x : v) s += std::to_string(x) + " ";
    return s;
}

TEST(VarListShape, CapacityGrowthAndWindows) {
    HistoryCapture his;
    rtvarlst_t *l = rtovarlst_create(10);
    for (int32_t n : {10, 11, -1}) rtovarlst_set_nvar(l, n);  // exactly the capacity is allowed
    rtovarlst_resize(l, -5);
    rtovarlst_set_var_value(l, 10, 4.5, 0);
    rtovarlst_resize(l, 20);
    rtovarlst_set_nvar(l, 20);
    EXPECT_EQ(ints({rtovarlst_inq_nvar(l), rtovarlst_inq_capacity(l), rtovarlst_inq_var_baseuom(l, 1)}) +
                  num(rtovarlst_inq_var_value(l, 10, 0)) + num(rtovarlst_inq_var_value(l, 20, 0)) +
                  num(rtovarlst_inq_var_sbweight(l, 1)),
              "20 20 1 " + num(4.5) + num(1e35) + num(1e35));
    rtovarlst_destroy_c(&l);
    rtvarlst_t *top = named_list(6), *sub = rtovarlst_create_sublist(top, 3);
    rtovarlst_set_var_value(sub, 2, 7.0, 0);
    // Sparse cells through a window: the second write finds the record made by the first.
    rtovarlst_set_var_step_inbaseuom(top, 2, 9.0);
    rtovarlst_set_var_step_inbaseuom(sub, 2, 0.5);
    rtovarlst_set_var_step_inbaseuom(sub, 2, 0.25);
    rtovarlst_set_var_quality(sub, 2, 3);
    EXPECT_EQ(dump(sub).substr(0, 7) +
                  ints({rtovarlst_parent_check(top, sub), rtovarlst_parent_check(sub, top),
                        rtovarlst__varname2index(sub, "X5"), rtovarlst__varname2index(sub, "X2"),
                        rtovarlst_vec_value(sub) - rtovarlst_vec_value(top),
                        rtovarlst_inq_var_quality(top, 4), rtovarlst_inq_var_quality(sub, 1)}) +
                  num(rtovarlst_inq_var_step_inbaseuom(top, 2)) +
                  num(rtovarlst_inq_var_step_inbaseuom(top, 4)),
              "4/4|X3,1 0 3 0 2 3 0 " + num(9.0) + num(0.25));
    rtvarlst_t *inner = rtovarlst_create_embedded(2, sub, "B1.", 2);  // a prefixed window of a window
    rtovarlst_set_nvar(inner, 2);
    rtovarlst_set_nvar(inner, 3);
    rtovarlst_addvar(inner, 1, "T");
    EXPECT_EQ(name(top, 4) + name(inner, 1) +
                  ints({rtovarlst__varname2index(inner, "T"), rtovarlst_super_index(inner, 1),
                        rtovarlst_absolute_index(inner, 1)}),
              "B1.TT1 2 4 ");
    rtovarlst_delete_sublist(&inner);
    rtovarlst_delete_sublist(&sub);
    rtvarlst_t *empty = rtovarlst_create_sublist(top, 7),
               *own = rtovarlst_create_embedded(3, nullptr, "P.", 9);
    EXPECT_EQ(inner, nullptr);
    EXPECT_EQ(rtovarlst_create_sublist(top, 8), nullptr);
    EXPECT_EQ(rtovarlst_inq_nvar(empty) * 10 + rtovarlst_inq_capacity(own),
              3);  // just past the end: empty; no parent: own
    rtovarlst_delete_sublist(&empty);
    rtovarlst_destroy_c(&own);
    rtvarlst_t *w = rtovarlst_create_sublist(top, 5);
    rtovarlst_destroy_c(&w);  // destroying (not deleting) a window resets the items it covers
    EXPECT_EQ(name(top, 4) + "/" + name(top, 5) + "/" + num(rtovarlst_inq_var_value(top, 4, 0)),
              "B1.T//" + num(7.0));
    EXPECT_EQ(
        his.text(),
        "!!rtovarlst_set_nvar: size 11 exceeds capacity 10\n!!rtovarlst_set_nvar: size 3 exceeds capacity 2\n"
        "!! rtovarlst_create_sublist: bad start 8 (6 vars in parent)\n");
    rtovarlst_destroy_c(&top);
}

TEST(VarListNames, InquiryFieldsAndChecksum) {
    HistoryCapture his;
    rtvarlst_t *l = named_list(3, 5);
    char buf[1025] = "junk";
    rtovarlst_set_nvar(l, 4);
    rtovarlst_inq_var_name(l, 4, buf);  // the last item, unnamed
    EXPECT_EQ(his.text() + buf, "!! Unable to find name for variable 4\n");
    rtovarlst_inq_var_name(l, 5, buf);
    rtovarlst_addvar(l, 4, "x4");
    rtovarlst_addvars(l, 3, 4, 6, "AB    CD.E  ");
    rtovarlst_inq_var_name(l, 4, buf);
    EXPECT_EQ(his.text() + buf + ints({rtovarlst__varname2index(l, "AB"), rtovarlst__varname2index(l, "X3")}),
              "!! Unable to find name for variable 5\n"
              "!! Index out of bounds (4 vars in list)\nUnable to process illegal equation/variable name "
              "'x4'\nCD.E3 0 ");
    zarn_md5_ctx_t a, b;
    MD5Init(&a);
    MD5Init(&b);
    MD5Update(&b, "X1X2ABCD.E", 10);
    EXPECT_EQ(rtovarlst_compute_md(l, &a), 4);
    MD5Final(&a);
    MD5Final(&b);
    EXPECT_EQ(std::memcmp(a.digest, b.digest, sizeof a.digest), 0);
    rtovarlst_printsymbolstats(l);
    const std::string stats = his.text();
    EXPECT_TRUE(stats.starts_with("====Begin variable symbol table statistics====\n")) << stats;
    EXPECT_NE(stats.find("Head attribute dictionary\n       Size: 4\n"), std::string::npos) << stats;
    rtovarlst_destroy_c(&l);
    // An unnamed first item gets its own message only: index 1 lies within the list.
    rtvarlst_t *bare = rtovarlst_create(1);
    rtovarlst_set_nvar(bare, 1);
    rtovarlst_inq_var_name(bare, 1, buf);
    EXPECT_EQ(his.text(), "!! Unable to find name for variable 1\n");
    rtovarlst_destroy_c(&bare);
}

TEST(VarListNames, AliasesKeywordSuffixesFieldsAndRanges) {
    HistoryCapture his;
    rtvarlst_t *l = named_list(3);
    rtovarlst_addvar(l, 1, "X");
    rtovarlst_addvar(l, 2, "B1.TEMP");
    rtotaglst_t *tags = rtotaglst_create(2);
    ASSERT_EQ(rtotaglst_add_tag(tags, "T", "B1.TEMP") + rtotaglst_add_tag(tags, "GONE", "NOSUCH"), 0);
    EXPECT_EQ(rtovarlst__varname2index(l, "T"), 0);  // nothing attached yet
    rtovarlst_set_taglst(l, tags);
    const std::pair<const char *, int32_t> rows[] = {{"T", 2}, {"B1.TEMP", 2}, {"GONE", 0},
                                                     {"", 0},  {"B1", 0},      {"X3", 3}};
    for (auto [n, index] : rows) EXPECT_EQ(rtovarlst__varname2index(l, n), index) << n;
    rtovarlst_destroy_c(&l);  // detaches, does not destroy
    EXPECT_EQ(rtotaglst_lookup(tags, "T"), 1);
    rtotaglst_destroy(tags);
    rtvarlst_t *a = named_list(4), *b = named_list(5), *top = named_list(3),
               *w = rtovarlst_create_embedded(1, top, "P.", 3);
    rtovarlst_addvar(b, 1, "ZZ");
    rtovarlst_addvar(b, 5, "LONGNAME");
    rtovarlst_set_nvar(w, 1);
    rtovarlst_addvar(w, 1, "X2");
    char f[18] = "****************";
    rtovarlst_names(b, 3, 5, 5, f);
    rtovarlst_names(b, 0, 3, 5, f);
    rtovarlst_names(b, 1, 3, 0, f);
    rtovarlst_names(b, 3, 2, 5, f);                  // 2nd-4th: nothing
    rtovarlst_names(b, 1, 1, 2, f + 15);             // exactly as long as its field: not cut
    EXPECT_EQ(std::string(f), "X3***X4***LONGNZZ");  // short names leave the rest of their field alone
    rtovarlst_names(b, 2, 6, 5, f);
    rtovarlst_names(b, -1, 2, 5, f);
    EXPECT_EQ(his.text(),
              "Truncating variable name 'LONGNAME' to 5 characters\n!! rtovarlst_names: Bad indices 2 6 "
              "5\n!! rtovarlst_names: Bad indices -1 2 5\n");
    struct {
        rtvarlst_t *x;
        int32_t f, t;
        rtvarlst_t *y;
        int32_t g, u, eq;
    } ranges[] = {
        {a, 2, 2, b, 2, 2, 1}, {a, 2, 4, b, 2, 4, 1},       {a, 1, 4, b, 1, 4, 0},
        {a, 2, 3, b, 2, 4, 0}, {a, 3, 5, b, 3, 5, 0},       {a, 0, 1, b, 0, 1, 0},
        {a, 1, 1, b, 2, 2, 0}, {nullptr, 1, 1, b, 1, 1, 0}, {w, 1, 1, a, 2, 2, 1}};  // prefix not compared
    for (auto &r : ranges)
        EXPECT_EQ(rtovarlst_names_eq(r.x, r.f, r.t, r.y, r.g, r.u), r.eq) << r.f << r.t << r.g << r.u;
    rtovarlst_delete_sublist(&w);
    for (rtvarlst_t *x : {a, b, top}) rtovarlst_destroy_c(&x);
}

// What each item owns beyond its columns: its modification mask, profile (with its size), connection manager,
// block.
std::string owned(rtvarlst_t *l) {
    std::string s;
    for (int32_t k = 1; k <= rtovarlst_inq_nvar(l); ++k) {
        VarProfile *p = rtovarlst_inq_var_profile(l, k);
        s += std::to_string(rtovarlst_inq_var_modified_mask1(l, k)) +
             (p ? "p" + std::to_string(p->GetSize()) : "") + (rtovarlst_inq_var_connMgr(l, k) ? "c" : "") +
             (rtovarlst_inq_var_blockptr(l, k) ? "b" : "") + " ";
    }
    return s;
}

TEST(VarListBulk, ExtractRemoveMoveAndCopy) {
    HistoryCapture his;
    RecordingBlock block;
    rtvarlst_t *l = named_list(6), *out = nullptr, *none = nullptr;
    const ProfileItem point{1.0, 2.0};
    for (int32_t k = 1; k <= 6; ++k) {
        rtovarlst_set_var_value(l, k, 10.0 * k, 0);
        rtovarlst_set_var_profile(l, k, new VarProfile);
        rtovarlst_set_var_modified_mask(l, k, k);
    }
    rtovarlst_set_var_description(l, 3, "feed");
    rtovarlst_set_var_connMgr(l, 3, &block);
    rtovarlst_set_var_blockptr(l, 3, &block);
    rtovarlst_extract(l, 3, 5, &out);
    rtovarlst_extract(l, 0, 2, &none);
    rtovarlst_extract(l, 5, 7, &none);
    EXPECT_EQ(name(out, 3) + rtovarlst_inq_var_description(out, 1) + num(rtovarlst_inq_var_value(out, 2, 0)) +
                  owned(out) + std::to_string(rtovarlst_inq_capacity(out) * 10 + !!none),
              "X5feed" + num(40) + "0 0 0 30");  // no host pointers, no records
    rtovarlst_removevars(l, 2, 3);
    rtovarlst_removevars(l, 3, 9);
    rtovarlst_set_var_profile_item(l, 1, &point);
    rtovarlst_set_var_profile_item(l, 2, &point);
    EXPECT_EQ(name(l, 2) + ints({rtovarlst__varname2index(l, "X3"), rtovarlst_inq_nvar(l)}) + owned(l),
              "0 6 1p1 0 0 4p0 5p0 6p0 ");
    rtovarlst_move_items(l, 1, 4, 1);  // item 4's own records die, item 1's move
    EXPECT_EQ(owned(l) + num(rtovarlst_inq_var_profile(l, 4)->GetItemAt(0).y),
              "0 0 0 1p1 5p0 6p0 " + num(2.0));
    rtovarlst_set_nvar(l, 1);
    rtovarlst_set_nvar(l, 6);  // shrinking frees what the dropped items owned
    EXPECT_EQ(owned(l), "0 0 0 0 0 0 ");
    EXPECT_EQ(
        his.text(),
        "!! rtovarlst_extract: Bad indices 5 7 6\n!!rtattrdict_remove_items: removing too many elements\n");
    rtovarlst_destroy_c(&l);
    rtovarlst_destroy_c(&out);
    // Up to the last item, or right after a moved run: the ASan leak check sees records dropped, not freed.
    for (auto [what, op] :
         {std::pair{"removed up to the last item", +[](rtvarlst_t *x) { rtovarlst_removevars(x, 2, 3); }},
          {"right after a moved run", +[](rtvarlst_t *x) { rtovarlst_move_items(x, 1, 2, 2); }}}) {
        l = named_list(3);
        rtovarlst_set_var_modified_mask(l, 3, 5);
        rtovarlst_set_var_profile(l, 3, new VarProfile);
        op(l);
        EXPECT_EQ(rtovarlst_inq_var_modified(l, 3), nullptr) << what;
        EXPECT_EQ(rtovarlst_inq_var_profile(l, 3), nullptr) << what;
        rtovarlst_destroy_c(&l);
    }
    rtvarlst_t *a = named_list(3), *b = named_list(2);
    rtovarlst_set_var_value(a, 1, 5.0, 0);
    rtovarlst_set_var_upper(a, 1, 9.0, 0);
    rtovarlst_set_var_modified_mask(a, 1, 2);
    rtovarlst_set_var_quality(b, 2, 3);
    rtovarlst_copy_var(a, 1, b, 2);
    rtovarlst_copy_var(a, 4, b, 1);
    rtovarlst_copy_var(a, 1, b, 3);  // out of range: nothing
    EXPECT_EQ(num(rtovarlst_inq_var_value(b, 2, 0) + rtovarlst_inq_var_upper(b, 2, 0)) +
                  std::to_string(rtovarlst_inq_var_quality(b, 2)) + name(b, 2) +
                  num(rtovarlst_inq_var_value(b, 1, 0)) + std::to_string(!!rtovarlst_inq_var_modified(b, 2)),
              num(14) + "3X2" + num(1e35) + "0");  // a default quality, a record: not copied
    rtovarlst_set_var_value(a, 2, 6.0, 0);
    rtovarlst_set_var_shadow_price(a, 2, 3.0, 0);
    rtovarlst_presolve(a);
    rtovarlst_set_var_value(a, 1, 8.0, 0);
    rtovarlst_set_var_value(a, 3, 4.0, 0);
    rtovarlst_copyinittovalue(a);  // undefined INIT keeps VALUE
    EXPECT_EQ(num(rtovarlst_inq_var_value(a, 1, 0)) + num(rtovarlst_inq_var_initial(a, 2, 0)) +
                  num(rtovarlst_inq_var_value(a, 3, 0)) + num(rtovarlst_inq_var_shadow_price(a, 2, 0)),
              num(5) + num(6) + num(4) + num(1e35));
    rtovarlst_destroy_c(&a);
    rtovarlst_destroy_c(&b);
}

// A list of n named items, item k with modification mask k and a profile.
rtvarlst_t *owning_list(int32_t n) {
    rtvarlst_t *l = named_list(n);
    for (int32_t k = 1; k <= n; ++k) {
        rtovarlst_set_var_modified_mask(l, k, k);
        rtovarlst_set_var_profile(l, k, new VarProfile);
    }
    return l;
}

// The first modification mask of every item (0 for no record), checking that each item with a record
// still has its profile and each without has none.
std::vector<uint32_t> owned_masks(rtvarlst_t *l, const char *row) {
    std::vector<uint32_t> masks;
    for (int32_t k = 1; k <= rtovarlst_inq_nvar(l); ++k) {
        masks.push_back(rtovarlst_inq_var_modified_mask1(l, k));
        const bool profiled = rtovarlst_inq_var_profile(l, k) != nullptr;
        EXPECT_EQ(profiled, masks.back() != 0) << row << ": the profile of item " << k;
    }
    return masks;
}

// A window moved in its parent takes over the items it lands on: what the list owned for them (modification
// record, profile) is freed, and only when the move happens. Item k starts with mask k and a profile.
TEST(VarListBulk, ARelocatedWindowFreesWhatItsItemsOverwrite) {
    const char *const kTooFar = "!!embedded_relocate: parent is not big enough\n";
    const char *const kFromBeyond =
        "!!head_move_elems: bad source or destination, source 5, dest 2, move size 1, list size 4";
    const struct {
        const char *name;
        int32_t items;
        bool nested;  // the window lies in a window over head items 2..items-1
        int32_t start, size, shrink_to, relocate_to;
        std::vector<uint32_t> masks;  // of the head's items afterwards, 0 for none
        const char *message;
    } rows[] = {
        {"moved clear of its own items", 5, false, 1, 2, 0, 4, {0, 0, 3, 1, 2}, ""},
        {"moved forward over itself", 5, false, 1, 2, 0, 2, {0, 1, 2, 4, 5}, ""},
        {"moved back over itself", 5, false, 3, 2, 0, 2, {1, 3, 4, 0, 5}, ""},
        {"to its own start", 5, false, 2, 2, 0, 2, {1, 2, 3, 4, 5}, ""},
        {"beyond its parent", 5, false, 1, 2, 0, 5, {1, 2, 3, 4, 5}, kTooFar},
        {"from beyond its shrunk head", 5, false, 5, 1, 4, 2, {1, 2, 3, 4}, kFromBeyond},
        {"inside another window", 6, true, 1, 1, 0, 3, {1, 0, 3, 2, 5, 6}, ""},
        {"in a window, from beyond the shrunk head", 6, true, 4, 1, 4, 1, {1, 2, 3, 4}, kFromBeyond},
    };
    for (const auto &row : rows) {
        rtvarlst_t *head = owning_list(row.items);
        rtvarlst_t *outer = row.nested ? rtovarlst_create_embedded(row.items - 2, head, nullptr, 2) : nullptr;
        if (outer != nullptr) rtovarlst_set_nvar(outer, row.items - 2);
        rtvarlst_t *window =
            rtovarlst_create_embedded(row.size, row.nested ? outer : head, nullptr, row.start);
        rtovarlst_set_nvar(window, row.size);
        if (row.shrink_to > 0) rtovarlst_set_nvar(head, row.shrink_to);
        HistoryCapture his;
        rtovarlst_relocate(window, row.relocate_to);
        EXPECT_EQ(his.text(), row.message) << row.name;
        EXPECT_EQ(owned_masks(head, row.name), row.masks) << row.name << ": masks of the head's items";
        rtovarlst_delete_sublist(&window);
        rtovarlst_delete_sublist(&outer);
        rtovarlst_destroy_c(&head);
    }
}

// A window's capacity is cells of its head: changing it moves the head's later items, and the items it drops
// (its spare cells when it shrinks) lose what the list owned for them. A window in a window changes only its
// own bounds. Item k starts with mask k and a profile; item `mark`, after the first change, gets mask 9.
TEST(VarListBulk, AWindowsCapacityChangeFreesWhatItsHeadDrops) {
    const char *const kBelowSize = "!!embedded_change_capacity: capacity 1 less than size 2 (not changed)\n";
    const struct {
        const char *name;
        int32_t items;
        bool nested;  // the window lies in a window of capacity 4 and size 2 over head items 2..5
        int32_t start, capacity, size;
        std::vector<int32_t> capacities;  // given in turn
        int32_t mark;
        std::vector<uint32_t> masks;  // of the head's items afterwards, 0 for none
        const char *message;
    } rows[] = {
        {"shrunk: its spare cells go", 5, false, 1, 4, 2, {2}, 0, {1, 2, 5}, ""},
        {"at the head's end, shrunk: the head's last item goes", 5, false, 4, 2, 1, {1}, 0, {1, 2, 3, 4}, ""},
        {"grown, then shrunk back", 5, false, 2, 2, 2, {4, 2}, 4, {1, 2, 3, 4, 5}, ""},
        {"refused below its size", 5, false, 1, 4, 2, {1}, 0, {1, 2, 3, 4, 5}, kBelowSize},
        {"shrunk in a window, whose cells stay", 6, true, 1, 2, 1, {1}, 0, {1, 2, 3, 4, 5, 6}, ""},
    };
    for (const auto &row : rows) {
        rtvarlst_t *head = owning_list(row.items);
        rtvarlst_t *outer = row.nested ? rtovarlst_create_embedded(4, head, nullptr, 2) : nullptr;
        if (outer != nullptr) rtovarlst_set_nvar(outer, 2);
        rtvarlst_t *window =
            rtovarlst_create_embedded(row.capacity, row.nested ? outer : head, nullptr, row.start);
        rtovarlst_set_nvar(window, row.size);
        HistoryCapture his;
        for (size_t i = 0; i < row.capacities.size(); ++i) {
            rtovarlst_resize(window, row.capacities[i]);
            if (i == 0 && row.mark > 0) {
                rtovarlst_set_var_modified_mask(head, row.mark, 9);
                rtovarlst_set_var_profile(head, row.mark, new VarProfile);
            }
        }
        EXPECT_EQ(his.text(), row.message) << row.name;
        EXPECT_EQ(owned_masks(head, row.name), row.masks) << row.name << ": masks of the head's items";
        rtovarlst_delete_sublist(&window);
        rtovarlst_delete_sublist(&outer);
        rtovarlst_destroy_c(&head);
    }
    // Without memory to note what the list owns, the capacity stays as it was.
    rtvarlst_t *head = named_list(3), *window = rtovarlst_create_embedded(2, head, nullptr, 1);
    HistoryCapture his;
    zarn::failalloc_set(1);
    rtovarlst_resize(window, 1);
    zarn::failalloc_set(0);
    EXPECT_EQ(his.text(), "!! rtovarlst_resize: out of memory (capacity not changed)\n");
    EXPECT_EQ(rtovarlst_inq_capacity(window), 2) << "the window's capacity after the refusal";
    EXPECT_EQ(rtovarlst_inq_nvar(head), 3) << "the head's items after the refusal";
    rtovarlst_delete_sublist(&window);
    rtovarlst_destroy_c(&head);
    // A head that cannot make the room keeps its items and the window its capacity: a later shrink must not
    // take the head's items for spare cells.
    head = named_list(5, 6);
    window = rtovarlst_create_embedded(2, head, nullptr, 1);
    rtovarlst_set_nvar(window, 2);
    his.text();                    // drop what the last check left
    zarn::failalloc_set(2, true);  // the list's note is made, the head's room is not
    rtovarlst_resize(window, 4);
    zarn::failalloc_set(0);
    EXPECT_EQ(his.text(),
              "!!head_change_capacity: unable to allocate 16 elements (not changed)\n"
              "!!head_resize: attempt to resize beyond capacity 7 6\n");
    EXPECT_EQ(rtovarlst_inq_capacity(window), 2) << "the window's capacity after the head refused";
    EXPECT_EQ(rtovarlst_inq_nvar(head), 5) << "the head's items after it refused";
    rtovarlst_delete_sublist(&window);
    rtovarlst_destroy_c(&head);
}

// A window that its head's shrinking left beyond the head's size still reaches its cells, and may give them
// records: they are freed when the head gives the cells up, by a capacity cut or by its end (ASan sees any
// record dropped).
TEST(VarListBulk, RecordsGivenBeyondTheHeadsSizeGoWithItsCells) {
    for (bool cut : {false, true}) {
        const char *const what = cut ? "the head's capacity cut" : "the head destroyed";
        rtvarlst_t *head = named_list(5), *window = rtovarlst_create_sublist(head, 4);
        rtovarlst_set_nvar(head, 3);
        rtovarlst_set_var_modified_mask(window, 1, 7);
        EXPECT_EQ(rtovarlst_inq_var_modified_mask1(window, 1), 7u) << what << ": the record given";
        if (cut) {
            rtovarlst_resize(head, 3);
            EXPECT_EQ(rtovarlst_inq_capacity(head), 3) << what;
            EXPECT_EQ(rtovarlst_inq_var_modified_mask1(window, 1), 0u) << what << ": the window's first item";
        } else {
            // The head refuses a move of cells beyond its size; the record it would overwrite stays.
            HistoryCapture his;
            rtovarlst_move_items(window, 2, 1, 1);
            EXPECT_EQ(
                his.text(),
                "!!head_move_elems: bad source or destination, source 5, dest 4, move size 1, list size 3");
            EXPECT_EQ(rtovarlst_inq_var_modified_mask1(window, 1), 7u) << what << ": after a refused move";
        }
        rtovarlst_delete_sublist(&window);
        rtovarlst_destroy_c(&head);
    }
}

// A profile handed over belongs to the list from the call on: one it cannot store is deleted at once,
// the one it already holds stays, one it replaces is deleted (the ASan build sees any left or freed twice).
TEST(VarListBulk, ProfilesHandedOverBelongToTheList) {
    HistoryCapture his;
    rtvarlst_t *l = named_list(2);
    VarProfile *kept = new VarProfile;
    rtovarlst_set_var_profile(l, 1, kept);
    rtovarlst_set_var_profile(l, 2, new VarProfile);
    const struct {
        const char *rule;
        rtvarlst_t *list;
        int32_t i;
        bool same;
    } rows[] = {
        {"no list", nullptr, 1, false},
        {"an index below the list", l, 0, false},
        {"an index past the list", l, 3, false},
        {"the profile it holds already", l, 1, true},
        {"a profile replacing another", l, 2, false},
    };
    for (const auto &r : rows) {
        rtovarlst_set_var_profile(r.list, r.i, r.same ? kept : new VarProfile);
        EXPECT_EQ(owned(l), "0p0 0p0 ") << r.rule;
        EXPECT_EQ(rtovarlst_inq_var_profile(l, 1), kept) << r.rule;
    }
    his.text();
    rtovarlst_destroy_c(&l);
}

// Every allocation of an operation made to fail in turn: one of its messages, no list made,
// the items unchanged, nothing leaked (ASan).
TEST(VarListBulk, EveryAllocationOfEachOperationFails) {
    static rtvarlst_t *made = nullptr;
    static const rtvarmod_t pair{4, 5};
    const std::pair<void (*)(rtvarlst_t *), std::vector<std::string>> rows[] = {
        {[](rtvarlst_t *) { made = rtovarlst_create(4); },
         {"", "!! make_attr: malloc failed\n", "!!rtattrdict_create: unable to allocate the dictionary\n"}},
        {[](rtvarlst_t *l) { made = rtovarlst_create_sublist(l, 2); },
         {"", "!! rtattrdict_create_embedded: unable to allocate the window\n"}},
        {[](rtvarlst_t *l) { rtovarlst_set_var_modified(l, 2, &pair); }, {""}},
        {[](rtvarlst_t *l) { rtovarlst_set_var_step(l, 2, 0.5); },
         {"!!attribute dictionary: unable to allocate a sparse record\n"}}};
    for (const auto &[op, messages] : rows) {
        std::vector<bool> seen(messages.size());
        for (long n = 0, total = 1; n <= total; ++n) {  // n = 0: count the allocations
            rtvarlst_t *l = named_list(3);
            rtovarlst_set_var_modified_string(l, 1, "1;2");  // records of other items are kept on failure
            const std::string before = dump(l);
            HistoryCapture his;
            zarn::failalloc_set(n);
            op(l);
            total = n ? total : zarn::failalloc_count();
            zarn::failalloc_set(0);
            if (n > 0) {
                const std::string text = his.text();
                const auto m = std::find(messages.begin(), messages.end(), text) - messages.begin();
                ASSERT_LT(m, static_cast<long>(messages.size())) << messages.back() << n;
                seen[m] = true;
                // A name index left at its old size (reported on stderr) still makes a whole list.
                if (made != nullptr) {
                    EXPECT_EQ(text, "") << n;
                    EXPECT_TRUE(rtattrdict_okay(made->dictionary)) << n;
                }
                EXPECT_EQ(dump(l), before) << n;
            }
            rtovarlst_destroy_c(&made);
            rtovarlst_destroy_c(&l);
        }
        for (size_t m = 0; m < seen.size(); ++m) EXPECT_TRUE(seen[m]) << "never printed: " << messages[m];
    }
}

// The list and digest entries of a Fortran program without a C host: the digest of known names
// (MD5 of the names one after the other), a cleared handle after destroy, absent arguments refused.
TEST(VarListFortran, CreateDestroyAndNameDigest) {
    const struct {
        std::vector<std::string> names;
        const char *md5;
    } digests[] = {
        {{}, "d41d8cd98f00b204e9800998ecf8427e"},
        {{"A", "BC"}, "902fbdd2b1df0c4f70b4a5d23525e932"},
    };
    for (const auto &d : digests) {
        const int64_t n = static_cast<int64_t>(d.names.size());
        rtvarlst_t *l = RTOVARLST_CREATE_F(&n);
        rtovarlst_set_nvar(l, static_cast<int32_t>(n));
        for (int32_t k = 1; k <= n; ++k) rtovarlst_addvar(l, k, d.names[k - 1].c_str());
        int64_t digest[16];
        const int64_t count = RTOVARLST_NAME_DIGEST_F(&l, digest);
        std::string hex;
        char byte[3];
        for (int64_t v : digest) {
            std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned>(v));
            hex += byte;
        }
        EXPECT_EQ(count, n) << d.md5;
        EXPECT_EQ(hex, d.md5);
        RTOVARLST_DESTROY_F(&l);
        EXPECT_EQ(l, nullptr) << "destroy leaves the handle set";
    }
    int64_t untouched[16] = {7};
    rtvarlst_t *none = nullptr;
    RTOVARLST_DESTROY_F(&none);
    RTOVARLST_DESTROY_F(nullptr);
    EXPECT_EQ(RTOVARLST_NAME_DIGEST_F(&none, untouched), -1);
    EXPECT_EQ(RTOVARLST_NAME_DIGEST_F(nullptr, nullptr), -1);
    EXPECT_EQ(untouched[0], 7) << "a refused digest call wrote into the caller's array";
}

}  // namespace
