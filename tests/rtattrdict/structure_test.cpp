// Head and embedded dictionaries: sizes, naming through windows, moves, splices.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "capture.h"
#include "fakes.h"
#include "zarnutils/rtattrdict.h"

using zarn::test::CountingWrapper;
using zarn::test::HistoryCapture;
using zarn::test::StderrCapture;

namespace {

const rtattrdesc_t kDesc[] = {
    {"VALUE", RTATTR_DOUBLE, 1.5, 0, nullptr, 0, nullptr},
    {"STATUS", RTATTR_INTEGER, 0.0, 7, nullptr, 0, nullptr},
    {"UNIT", RTATTR_STRING, 0.0, 0, "KG", 0, nullptr},
    {"ALIAS", RTATTR_NAME, 0.0, 0, nullptr, 0, nullptr},
    {"OWNER", RTATTR_POINTER, 0.0, 0, nullptr, 0, nullptr},
    {"FIXED", RTATTR_BOOLEAN, 0.0, 0, nullptr, 1, nullptr},
    {"WRAP", RTATTR_WRAPPER, 0.0, 0, nullptr, 0, nullptr},
    {"SHADOW", RTATTR_SPARSE_DOUBLE, 1e35, 0, nullptr, 0, nullptr},
    {"TAG", RTATTR_SPARSE_INTEGER, 0.0, -3, nullptr, 0, nullptr},
    {"NOTE", RTATTR_SPARSE_STRING, 0.0, 0, "none", 0, nullptr},
    {nullptr, 0, 0.0, 0, nullptr, 0, nullptr},
};

std::vector<const char *> names_of(const std::vector<std::string> &v) {
    std::vector<const char *> out;
    for (const auto &s : v) out.push_back(s.c_str());
    return out;
}

// A head of n elements named E1..En with VALUE = index.
rtattrdict_t *named_head(int32_t n, int allow = 1) {
    rtattrdict_t *d = rtattrdict_create(n, kDesc, allow);
    rtattrdict_resize(d, n);
    std::vector<std::string> names;
    for (int32_t k = 1; k <= n; ++k) names.push_back("E" + std::to_string(k));
    auto p = names_of(names);
    rtattrdict_add_items(d, 1, n, p.data());
    for (int32_t k = 1; k <= n; ++k) rtattrdict_setd(d, k, "VALUE", k);
    return d;
}

// Every cell of an element has its attribute's default and no name.
void ExpectDefunct(rtattrdict_t *d, int32_t k) {
    EXPECT_STREQ(rtattrdict_name(d, k), "") << k;
    EXPECT_EQ(rtattrdict_getd(d, k, "VALUE"), 1.5) << k;
    EXPECT_EQ(rtattrdict_geti(d, k, "STATUS"), 7) << k;
    EXPECT_STREQ(rtattrdict_gets(d, k, "UNIT"), "KG") << k;
    EXPECT_EQ(rtattrdict_getb(d, k, "FIXED"), 1) << k;
    EXPECT_EQ(rtattrdict_getwrapper(d, k, "WRAP"), nullptr) << k;
    EXPECT_EQ(rtattrdict_getd(d, k, "SHADOW"), 1e35) << k;
}

TEST(AttrDictHead, CreationDefaultsAndResizeLimits) {
    HistoryCapture his;
    rtattrdict_t *d = rtattrdict_create(10, kDesc, 0);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(rtattrdict_inq_num(d), 0);
    EXPECT_EQ(rtattrdict_inq_capacity(d), 10);
    EXPECT_EQ(hashNum(rtattrdict_attributes(d)), 11u);  // ten declared and NAME
    rtattrdict_resize(d, 11);
    EXPECT_EQ(his.text(), "!!head_resize: attempt to resize beyond capacity 11 10\n");
    EXPECT_EQ(rtattrdict_inq_num(d), 10);
    for (int32_t k = 1; k <= 10; ++k) ExpectDefunct(d, k);
    EXPECT_EQ(rtattrdict_okay(d), 1);
    EXPECT_EQ(rtattrdict_embedded(d), nullptr);
    EXPECT_STREQ(rtattrdict_prefix(d), "");
    rtattrdict_destroy(d);
    EXPECT_EQ(his.text(), "");
}

TEST(AttrDictNames, PrefixedWindowsAndLegality) {
    HistoryCapture his;
    rtattrdict_t *d = rtattrdict_create(10, kDesc, 1);
    rtattrdict_resize(d, 10);
    rtattrdict_t *w = rtattrdict_create_embedded(d, 4, 5, "SUB.", 1);
    ASSERT_NE(w, nullptr);
    rtattrdict_resize(w, 5);
    const char *one[] = {"A.B"};
    EXPECT_EQ(rtattrdict_add_items(w, 3, 1, one), 1);
    EXPECT_STREQ(rtattrdict_name(d, 6), "SUB.A.B");
    EXPECT_EQ(rtattrdict_index(w, "A.B"), 3);
    EXPECT_STREQ(rtattrdict_name(w, 3), "A.B");
    EXPECT_EQ(rtattrdict_index(d, "SUB.A.B"), 6);
    EXPECT_EQ(rtattrdict_index(d, "A.B"), 0);
    EXPECT_EQ(rtattrdict_absolute_index(w, 3), 6);
    EXPECT_EQ(rtattrdict_safe_index(w, 3), 3);  // a prefixed window keeps its numbering

    // Nested windows: the outermost prefix comes first.
    rtattrdict_t *inner = rtattrdict_create_embedded(w, 1, 2, "IN.", 0);
    rtattrdict_resize(inner, 2);
    const char *two[] = {"X"};
    rtattrdict_add_items(inner, 2, 1, two);
    EXPECT_STREQ(rtattrdict_name(d, 5), "SUB.IN.X");
    EXPECT_STREQ(rtattrdict_name(w, 2), "IN.X");
    EXPECT_STREQ(rtattrdict_name(inner, 2), "X");
    EXPECT_EQ(rtattrdict_index(inner, "X"), 2);
    EXPECT_EQ(rtattrdict_index(inner, "A.B"), 0);  // SUB.IN.A.B does not exist
    EXPECT_EQ(rtattrdict_absolute_index(inner, 2), 5);
    EXPECT_EQ(his.text(), "");

    const char *legal[] = {"$X", "1A", "A(1).B"};
    EXPECT_EQ(rtattrdict_add_items(d, 1, 3, legal), 3);
    EXPECT_EQ(rtattrdict_index(d, "A(1).B"), 3);
    const char *bad[] = {"x1"};
    rtattrdict_add_items(d, 8, 1, bad);
    EXPECT_EQ(his.text(), "Unable to process illegal equation/variable name 'x1'\n");
    EXPECT_STREQ(rtattrdict_name(d, 8), "");
    EXPECT_EQ(rtattrdict_index(d, "x1"), 0);

    const char *dup[] = {"TWIN", "TWIN"};
    rtattrdict_add_items(d, 9, 2, dup);
    EXPECT_EQ(his.text(), "Duplicate name in dictionary 'TWIN' (adding element)\n");
    EXPECT_STREQ(rtattrdict_name(d, 10), "TWIN");
    EXPECT_EQ(rtattrdict_index(d, "TWIN"), 9);
    // Renaming the duplicate must not take the first holder out of the index.
    const char *other[] = {"SOLO"};
    rtattrdict_add_items(d, 10, 1, other);
    EXPECT_EQ(rtattrdict_index(d, "TWIN"), 9);
    EXPECT_EQ(rtattrdict_index(d, "SOLO"), 10);
    const char *dupw[] = {"A.B"};
    rtattrdict_add_items(w, 5, 1, dupw);
    EXPECT_EQ(his.text(), "Duplicate name in dictionary 'SUB.A.B' (adding element with prefix)\n");

    std::string longname(1100, 'L');
    const char *lng[] = {longname.c_str(), longname.c_str()};
    rtattrdict_add_items(d, 1, 2, lng);
    EXPECT_EQ(std::string(rtattrdict_name(d, 1)), std::string(1024, 'L'));
    EXPECT_EQ(his.text(), "Duplicate name in dictionary '" + std::string(1024, 'L') +
                              "' (adding element with truncated name)\n");
    // Looking up the name as it was given finds the element under its cut name.
    EXPECT_EQ(rtattrdict_index(d, longname.c_str()), 1);

    rtattrdict_destroy(inner);
    rtattrdict_destroy(w);
    rtattrdict_destroy(d);
}

TEST(AttrDictNames, GroupsOfFixedWidthRecordsAndBadRanges) {
    HistoryCapture his;
    rtattrdict_t *d = rtattrdict_create(6, kDesc, 0);
    rtattrdict_resize(d, 6);
    const char block[] = "FEED    PROD\0xx bad     ";  // three 8-byte records
    EXPECT_EQ(rtattrdict_add_group(d, 2, 3, 8, block), 3);
    EXPECT_STREQ(rtattrdict_name(d, 2), "FEED");
    EXPECT_STREQ(rtattrdict_name(d, 3), "PROD");
    EXPECT_STREQ(rtattrdict_name(d, 4), "");
    EXPECT_EQ(his.text(), "Unable to process illegal equation/variable name 'bad'\n");
    rtattrdict_t *w = rtattrdict_create_embedded(d, 5, 2, "U.", 0);
    rtattrdict_resize(w, 2);
    const char grp[] = "FEED  FEED  ";
    rtattrdict_add_group(w, 1, 2, 6, grp);
    EXPECT_EQ(his.text(), "Duplicate name in dictionary 'U.FEED' (adding element in group)\n");
    EXPECT_EQ(rtattrdict_index(w, "FEED"), 1);
    {
        StderrCapture err;
        const char *n[] = {"Z"};
        EXPECT_EQ(rtattrdict_add_items(d, 6, 2, n), 0);
        EXPECT_EQ(rtattrdict_add_group(d, 0, 1, 1, "Z"), 0);
        std::string e = err.text();
        EXPECT_NE(e.find("Assertion 'head_additems: bad indices' failed in source/rtattrdict/rtattrdict:"),
                  std::string::npos);
        EXPECT_NE(e.find("Assertion 'head_addgroup: bad indices' failed in source/rtattrdict/rtattrdict:"),
                  std::string::npos);
    }
    // A long prefix cuts the name at 1024 characters; prefixes that cannot fit name nothing.
    std::string big(1020, 'P');
    rtattrdict_t *w2 = rtattrdict_create_embedded(d, 1, 1, big.c_str(), 0);
    rtattrdict_resize(w2, 1);
    const char *n5[] = {"NAME5"};
    EXPECT_EQ(rtattrdict_add_items(w2, 1, 1, n5), 1);
    EXPECT_EQ(std::string(rtattrdict_name(d, 1)), big + "NAME");
    EXPECT_EQ(rtattrdict_index(w2, "NAME5"), 1);
    EXPECT_EQ(rtattrdict_index(w2, "NAME"), 1);
    rtattrdict_t *w3 = rtattrdict_create_embedded(w2, 1, 1, "INNER.", 0);
    rtattrdict_resize(w3, 1);
    EXPECT_EQ(rtattrdict_add_items(w3, 1, 1, n5), 0);
    EXPECT_EQ(his.text(), "!!embedded_additems: prefix " + big + "INNER. longer than 1024");
    EXPECT_EQ(rtattrdict_add_group(w3, 1, 1, 5, "NAME5"), 0);
    EXPECT_EQ(his.text(), "!!embedded_addgroup: prefix " + big + "INNER. longer than 1024");
    EXPECT_EQ(std::string(rtattrdict_name(d, 1)), big + "NAME");  // unchanged
    rtattrdict_t *w4 = rtattrdict_create_embedded(w2, 1, 1, "ABCD", 0);  // prefixes of exactly 1024
    rtattrdict_resize(w4, 1);
    EXPECT_EQ(rtattrdict_add_items(w4, 1, 1, n5), 1);
    EXPECT_EQ(std::string(rtattrdict_name(d, 1)), big + "ABCD");
    rtattrdict_destroy(w4);
    rtattrdict_destroy(w3);
    rtattrdict_destroy(w2);
    rtattrdict_destroy(w);
    rtattrdict_destroy(d);
}

TEST(AttrDictStructure, DeleteItemsCompactsAndKeepsNames) {
    rtattrdict_t *d = named_head(5);
    rtattrdict_delete_items(d, 2, 2);
    EXPECT_EQ(rtattrdict_inq_num(d), 3);
    EXPECT_EQ(rtattrdict_inq_capacity(d), 3);
    EXPECT_EQ(rtattrdict_index(d, "E1"), 1);
    EXPECT_EQ(rtattrdict_index(d, "E4"), 2);
    EXPECT_EQ(rtattrdict_index(d, "E5"), 3);
    EXPECT_EQ(rtattrdict_index(d, "E2"), 0);
    EXPECT_EQ(rtattrdict_getd(d, 2, "VALUE"), 4.0);
    EXPECT_EQ(rtattrdict_getd(d, 3, "VALUE"), 5.0);
    HistoryCapture his;
    rtattrdict_delete_items(d, 3, 2);
    EXPECT_EQ(his.text(), "!!rtattrdict_delete_items: deleting too many elements\n");
    rtattrdict_remove_items(d, 2, 3);
    EXPECT_EQ(his.text(), "!!rtattrdict_remove_items: removing too many elements\n");
    EXPECT_EQ(rtattrdict_inq_num(d), 3);
    EXPECT_EQ(rtattrdict_inq_capacity(d), 3);
    EXPECT_EQ(rtattrdict_index(d, "E1"), 1);
    rtattrdict_remove_items(d, 2, 1);
    ExpectDefunct(d, 2);
    EXPECT_EQ(rtattrdict_index(d, "E4"), 0);
    EXPECT_EQ(rtattrdict_inq_num(d), 3);
    EXPECT_EQ(rtattrdict_okay(d), 1);
    rtattrdict_destroy(d);

    // Windows starting at or after the deleted range move down by its length.
    d = named_head(10);
    rtattrdict_t *before = rtattrdict_create_embedded(d, 2, 1, nullptr, 1);
    rtattrdict_t *at = rtattrdict_create_embedded(d, 4, 1, nullptr, 1);
    rtattrdict_t *after = rtattrdict_create_embedded(d, 7, 2, nullptr, 1);
    rtattrdict_resize(after, 2);
    rtattrdict_delete_items(d, 4, 2);
    EXPECT_EQ(rtattrdict_absolute_index(before, 1), 2);
    EXPECT_EQ(rtattrdict_absolute_index(at, 1), 2);
    EXPECT_EQ(rtattrdict_absolute_index(after, 1), 5);
    EXPECT_STREQ(rtattrdict_name(after, 2), "E8");
    EXPECT_EQ(rtattrdict_okay(after), 1);
    for (rtattrdict_t *w : {before, at, after}) rtattrdict_destroy(w);
    rtattrdict_destroy(d);
}

TEST(AttrDictStructure, SpliceGrowthSteps) {
    for (auto [cap, expect] : {std::pair{100, 120}, std::pair{20, 30}, std::pair{5, 15}}) {
        rtattrdict_t *d = named_head(cap);
        rtattrdict_t *w = rtattrdict_create_embedded(d, 2, 2, nullptr, 1);
        rtattrdict_resize(w, 2);
        rtattrdict_change_capacity(w, 5);  // grows the head by 3 in the middle
        EXPECT_EQ(rtattrdict_inq_capacity(d), expect) << cap;
        EXPECT_EQ(rtattrdict_inq_num(d), cap + 3);
        EXPECT_EQ(rtattrdict_inq_capacity(w), 5);
        // The tail moved up by three and is still found by name.
        EXPECT_EQ(rtattrdict_index(d, "E4"), 7);
        EXPECT_EQ(rtattrdict_getd(d, 7, "VALUE"), 4.0);
        std::string last = "E" + std::to_string(cap);
        EXPECT_EQ(rtattrdict_index(d, last.c_str()), cap + 3);
        ExpectDefunct(d, 4);
        EXPECT_EQ(rtattrdict_okay(w), 1);
        rtattrdict_destroy(w);
        rtattrdict_destroy(d);
    }
}

TEST(AttrDictStructure, SiblingWindowsShiftAndShrinkBack) {
    rtattrdict_t *d = named_head(10);
    rtattrdict_t *a = rtattrdict_create_embedded(d, 1, 3, "A.", 1);
    rtattrdict_t *b = rtattrdict_create_embedded(d, 4, 3, "B.", 1);
    rtattrdict_resize(a, 3);
    rtattrdict_resize(b, 3);
    const char *bn[] = {"X", "Y", "Z"};
    rtattrdict_add_items(b, 1, 3, bn);
    rtattrdict_t *same = rtattrdict_create_embedded(d, 1, 0, nullptr, 1);  // empty, at A's start
    rtattrdict_change_capacity(a, 5);
    EXPECT_EQ(rtattrdict_absolute_index(same, 1), 3);  // shifted like every later sibling
    rtattrdict_destroy(same);
    EXPECT_EQ(reinterpret_cast<rtattrdict_embedded_t *>(b)->start, 6);
    EXPECT_EQ(rtattrdict_index(b, "Y"), 2);
    EXPECT_STREQ(rtattrdict_name(d, 7), "B.Y");
    HistoryCapture his;
    rtattrdict_change_capacity(a, 2);
    EXPECT_EQ(his.text(), "!!embedded_change_capacity: capacity 2 less than size 3 (not changed)\n");
    rtattrdict_resize(a, 3);
    rtattrdict_change_capacity(a, 3);  // shrink back: the head and B move down
    EXPECT_EQ(rtattrdict_inq_num(d), 10);
    EXPECT_EQ(reinterpret_cast<rtattrdict_embedded_t *>(b)->start, 4);
    EXPECT_EQ(rtattrdict_index(b, "Z"), 3);
    EXPECT_EQ(rtattrdict_index(d, "E10"), 10);
    EXPECT_EQ(rtattrdict_okay(a), 1);
    EXPECT_EQ(rtattrdict_okay(b), 1);
    // Destroying a resizable window splices it out of the head.
    rtattrdict_destroy(a);
    EXPECT_EQ(rtattrdict_inq_num(d), 7);
    EXPECT_EQ(reinterpret_cast<rtattrdict_embedded_t *>(b)->start, 1);
    EXPECT_EQ(rtattrdict_index(b, "X"), 1);
    EXPECT_EQ(gl_length(d->children), 1u);
    rtattrdict_destroy(b);
    EXPECT_EQ(rtattrdict_inq_num(d), 4);
    EXPECT_EQ(rtattrdict_index(d, "E10"), 4);
    rtattrdict_destroy(d);
}

TEST(AttrDictStructure, MovingABlockUpKeepsEverything) {
    CountingWrapper wr[4];
    rtattrdict_t *d = named_head(8);
    for (int k = 0; k < 4; ++k) {
        rtattrdict_setwrapper(d, 2 + k, "WRAP", &wr[k]);
        rtattrdict_seti(d, 2 + k, "TAG", 100 + k);
        rtattrdict_sets(d, 2 + k, "UNIT", ("U" + std::to_string(k)).c_str());
    }
    rtattrdict_remove_items(d, 6, 1);  // room for the block to move into
    rtattrdict_move_items(d, 2, 3, 4);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(rtattrdict_getd(d, 3 + k, "VALUE"), 2.0 + k);
        EXPECT_STREQ(rtattrdict_name(d, 3 + k), ("E" + std::to_string(2 + k)).c_str());
        EXPECT_EQ(rtattrdict_index(d, ("E" + std::to_string(2 + k)).c_str()), 3 + k);
        EXPECT_EQ(rtattrdict_getwrapper(d, 3 + k, "WRAP"), &wr[k]);
        EXPECT_EQ(wr[k].refs, 1);
        EXPECT_EQ(wr[k].index, 3 + k);
        EXPECT_EQ(rtattrdict_geti(d, 3 + k, "TAG"), 100 + k);
        EXPECT_STREQ(rtattrdict_gets(d, 3 + k, "UNIT"), ("U" + std::to_string(k)).c_str());
    }
    ExpectDefunct(d, 2);
    EXPECT_EQ(rtattrdict_index(d, "E7"), 7);
    // Moving down by two overwrites live elements: they are reset, not leaked.
    rtattrdict_move_items(d, 3, 1, 4);
    EXPECT_EQ(rtattrdict_index(d, "E1"), 0);
    EXPECT_EQ(rtattrdict_index(d, "E5"), 4);
    EXPECT_EQ(wr[0].index, 1);
    ExpectDefunct(d, 5);
    ExpectDefunct(d, 6);
    HistoryCapture his;
    rtattrdict_move_items(d, 6, 7, 3);  // one past the end
    EXPECT_EQ(his.text(), "!!head_move_elems: bad source or destination, source 6, dest 7, move size 3, list size 8");
    rtattrdict_destroy(d);
    for (auto &w : wr) EXPECT_EQ(w.refs, 0);
}

TEST(AttrDictStructure, EmbeddedLimitsAndRelocate) {
    HistoryCapture his;
    rtattrdict_t *d = named_head(6, 0);
    EXPECT_EQ(rtattrdict_create_embedded(d, 5, 3, nullptr, 0), nullptr);
    EXPECT_EQ(his.text(), "!! rtattrdict_create_embedded: parent too small (6) for embedded (3)\n");
    rtattrdict_t *w = rtattrdict_create_embedded(d, 2, 2, nullptr, 1);
    EXPECT_EQ(his.text(), "!!rtattrdict_create_embedded: cannot allow resize\n");
    rtattrdict_resize(w, 2);
    EXPECT_STREQ(rtattrdict_name(w, 1), "E2");
    EXPECT_EQ(rtattrdict_safe_index(w, 1), 2);  // no prefix: the head's numbering
    rtattrdict_resize(w, 3);
    EXPECT_EQ(his.text(), "!!embedded_resize: attempt to extend beyond capacity 3 2\n");
    rtattrdict_change_capacity(w, 6);
    EXPECT_EQ(his.text(),
              "!!embedded_change_capacity: parent (size 6 cap 6) is not big enough for capacity change (start 2 "
              "newcapacity 6)\n");
    rtattrdict_change_capacity(w, 4);
    EXPECT_EQ(rtattrdict_inq_capacity(w), 4);
    rtattrdict_relocate(w, 4);
    EXPECT_EQ(his.text(), "!!embedded_relocate: parent is not big enough\n");
    rtattrdict_change_capacity(w, 2);
    rtattrdict_relocate(w, 4);  // moves E2, E3 over E4, E5
    EXPECT_STREQ(rtattrdict_name(w, 1), "E2");
    EXPECT_EQ(rtattrdict_index(d, "E2"), 4);
    EXPECT_EQ(rtattrdict_index(d, "E4"), 0);
    // A window's own refusals name the window's numbers and change nothing.
    rtattrdict_resize(w, 4);
    EXPECT_EQ(his.text(),
              "!! embedded_resize: parent (size 6 cap 6) is not big enough for resize (start 4 newsize 4)\n");
    rtattrdict_move_items(w, 1, 2, 2);
    EXPECT_EQ(his.text(),
              "!!embedded_move_elems: bad source or destination, source 1, dest 2, move size 2, list size 2\n");
    EXPECT_EQ(rtattrdict_inq_num(w), 2);
    EXPECT_EQ(rtattrdict_inq_capacity(w), 2);
    EXPECT_STREQ(rtattrdict_name(w, 1), "E2");
    EXPECT_STREQ(rtattrdict_name(w, 2), "E3");
    rtattrdict_t *sh = rtattrdict_create_embedded(d, 1, 2, nullptr, 0);
    rtattrdict_resize(sh, 2);
    rtattrdict_resize(d, 1);  // the window now reaches past its parent
    EXPECT_EQ(rtattrdict_okay(sh), 0);
    rtattrdict_destroy(sh);
    rtattrdict_destroy(w);
    rtattrdict_destroy(d);
}

TEST(AttrDictStructure, EmptyAllClearsWindowsAndStats) {
    rtattrdict_t *d = named_head(6);
    rtattrdict_t *w = rtattrdict_create_embedded(d, 3, 2, "W.", 1);
    rtattrdict_resize(w, 2);
    rtattrdict_empty_all(d);
    EXPECT_EQ(rtattrdict_inq_num(d), 0);
    EXPECT_EQ(rtattrdict_inq_num(w), 0);
    EXPECT_EQ(rtattrdict_inq_capacity(w), 0);
    EXPECT_EQ(reinterpret_cast<rtattrdict_embedded_t *>(w)->start, 1);
    EXPECT_EQ(rtattrdict_index(d, "E1"), 0);
    EXPECT_EQ(rtattrdict_okay(w), 1);
    HistoryCapture his;
    rtattrdict_print_stats(w);
    std::string s = his.text();
    EXPECT_EQ(s.rfind("****************Begin attribute dictionary statistics****************\n"
                      "Embedded attribute dictionary\n Size: 0\nStart: 1\nParent statistics\n"
                      "Head attribute dictionary\n       Size: 0\nNon-defunct: 0\n Attributes: 11\n     Sparse: 3\n"
                      "Attribute hash table statistics\nMapping hash table statistics\n"
                      "****************End attribute dictionary statistics****************\n",
                      0),
              0u)
        << s;
    rtattrdict_destroy(w);
    rtattrdict_destroy(d);
}

}  // namespace
