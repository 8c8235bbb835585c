// Head and embedded dictionaries: names, removal, splices, window bounds, statistics.
#include <string>
#include <utility>

#include "dict.h"

namespace {
using namespace attrtest;

TEST(AttrDictStructure, NamesGroupsAndPrefixesCutAt1024) {
    HistoryCapture his;
    rtattrdict_t *d = named_head(10);
    EXPECT_EQ(add(d, 1, {"$X", "1A", "A(1).B"}) * 10 + rtattrdict_index(d, "A(1).B"), 33);
    EXPECT_EQ(rtattrdict_add_group(d, 7, 3, 8, "FEED    PROD\0xx bad     "), 3);  // three 8-byte records
    EXPECT_EQ(std::string(rtattrdict_name(d, 7)) + "|" + rtattrdict_name(d, 8) + "|" + rtattrdict_name(d, 9),
              "FEED|PROD|");
    EXPECT_EQ(his.text(), "Unable to process illegal equation/variable name 'bad'\n");
    const std::string big(1020, 'P');
    rtattrdict_t *w2 = rtattrdict_create_embedded(d, 1, 1, big.c_str(), 0);
    rtattrdict_resize(w2, 1);
    EXPECT_EQ(rtattrdict_safe_index(w2, 1), 1);  // a prefixed window keeps its own numbering
    rtattrdict_t *w3 = rtattrdict_create_embedded(w2, 1, 1, "INNER.", 0),
                 *w4 = rtattrdict_create_embedded(w2, 1, 1, "ABCD", 0);
    rtattrdict_resize(w3, 1);
    rtattrdict_resize(w4, 1);
    EXPECT_EQ(add(w2, 1, {"NAME5"}), 1);
    EXPECT_EQ(rtattrdict_name(d, 1), big + "NAME");
    EXPECT_EQ(rtattrdict_index(w2, "NAME5") * 10 + rtattrdict_index(w2, "NAME"), 11);
    EXPECT_EQ(add(w3, 1, {"NAME5"}) + rtattrdict_add_group(w3, 1, 1, 5, "NAME5"), 0);
    EXPECT_EQ(his.text(), "!!embedded_additems: prefix " + big + "INNER. longer than 1024" +
                              "!!embedded_addgroup: prefix " + big + "INNER. longer than 1024");
    EXPECT_EQ(add(w4, 1, {"NAME5"}), 1);  // prefixes of exactly 1024
    EXPECT_EQ(rtattrdict_name(d, 1), big + "ABCD");
    for (rtattrdict_t *x : {w4, w3, w2, d}) rtattrdict_destroy(x);
}

TEST(AttrDictStructure, SplicesGrowInStepsAndShiftSiblings) {
    for (auto [cap, expect] : {std::pair{100, 120}, std::pair{20, 30}, std::pair{5, 15}}) {
        rtattrdict_t *d = named_head(cap), *w = rtattrdict_create_embedded(d, 2, 2, nullptr, 1);
        rtattrdict_resize(w, 2);
        rtattrdict_change_capacity(w, 5);  // grows the head by 3 in the middle
        EXPECT_EQ(rtattrdict_inq_capacity(d), expect) << cap;
        EXPECT_EQ(rtattrdict_index(d, ("E" + std::to_string(cap)).c_str()), cap + 3);
        for (int32_t k = 4; k <= 6; ++k) ExpectDefunct(d, k);
        rtattrdict_destroy(w);
        rtattrdict_destroy(d);
    }
    rtattrdict_t *d = named_head(10);
    rtattrdict_t *a = rtattrdict_create_embedded(d, 1, 3, "A.", 1),
                 *b = rtattrdict_create_embedded(d, 4, 3, "B.", 1);
    rtattrdict_resize(a, 3);
    rtattrdict_resize(b, 3);
    rtattrdict_t *same = rtattrdict_create_embedded(d, 1, 0, nullptr, 1);  // empty, at A's start
    rtattrdict_change_capacity(a, 5);
    EXPECT_EQ(start_of(same) * 10 + start_of(b), 36);  // every later sibling shifted
    rtattrdict_destroy(same);
    rtattrdict_destroy(a);  // a resizable window is spliced out of the head
    EXPECT_EQ(rtattrdict_inq_num(d) * 10 + start_of(b), 71);
    EXPECT_EQ(rtattrdict_index(d, "E10") * 10 + static_cast<int>(gl_length(d->children)), 71);
    rtattrdict_destroy(b);
    rtattrdict_destroy(d);
}

TEST(AttrDictStructure, WindowsReachTheParentsEndAndRelocate) {
    HistoryCapture his;
    rtattrdict_t *d = named_head(6, 0, 0), *w = rtattrdict_create_embedded(d, 2, 2, nullptr, 1);
    EXPECT_EQ(his.text(), "!!rtattrdict_create_embedded: cannot allow resize\n");
    rtattrdict_resize(w, 2);
    EXPECT_EQ(rtattrdict_safe_index(w, 1), 2);  // no prefix: the head's numbering
    rtattrdict_resize(w, 3);
    EXPECT_EQ(his.text(), "!!embedded_resize: attempt to extend beyond capacity 3 2\n");
    rtattrdict_change_capacity(w, 5);
    rtattrdict_resize(w, 5);  // up to the parent's last element
    EXPECT_EQ(std::to_string(rtattrdict_inq_num(w) * 10 + rtattrdict_inq_capacity(w)) + rtattrdict_name(w, 5),
              "55E6");
    rtattrdict_resize(w, 2);
    rtattrdict_change_capacity(w, 2);
    rtattrdict_relocate(w, 5);  // moves E2, E3 over E5, E6
    EXPECT_EQ(
        rtattrdict_name(w, 2) + std::to_string(rtattrdict_index(d, "E2") * 10 + rtattrdict_index(d, "E5")),
        "E350");
    rtattrdict_t *sh = rtattrdict_create_embedded(d, 1, 2, nullptr, 0);
    rtattrdict_resize(sh, 2);
    rtattrdict_resize(d, 1);  // the window now reaches past its parent
    EXPECT_EQ(std::to_string(rtattrdict_okay(sh)) + his.text(), "0");
    for (rtattrdict_t *x : {sh, w, d}) rtattrdict_destroy(x);
}

TEST(AttrDictStructure, EmptyAllClearsWindowsAndStats) {
    rtattrdict_t *d = named_head(6), *w = rtattrdict_create_embedded(d, 3, 2, "W.", 1);
    rtattrdict_resize(w, 2);
    rtattrdict_empty_all(d);
    EXPECT_EQ(rtattrdict_inq_num(d) + rtattrdict_inq_num(w) + rtattrdict_inq_capacity(w) +
                  rtattrdict_index(d, "E1"),
              0);
    EXPECT_EQ(start_of(w) * 10 + rtattrdict_okay(w), 11);
    HistoryCapture his;
    rtattrdict_print_stats(w);
    const std::string s = his.text();
    EXPECT_EQ(
        s.rfind("****************Begin attribute dictionary statistics****************\n"
                "Embedded attribute dictionary\n Size: 0\nStart: 1\nParent statistics\n"
                "Head attribute dictionary\n       Size: 0\nNon-defunct: 0\n Attributes: 14\n     Sparse: 6\n"
                "Attribute hash table statistics\nMapping hash table statistics\n"
                "****************End attribute dictionary statistics****************\n",
                0),
        0u)
        << s;
    rtattrdict_destroy(w);
    rtattrdict_destroy(d);
}

}  // namespace
