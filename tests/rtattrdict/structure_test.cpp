// Head and embedded dictionaries: sizes, naming through windows, removal, moves, splices, statistics.
#include <string>
#include <utility>

#include "dict.h"

namespace {
using namespace attrtest;

TEST(AttrDictNames, CreationPrefixesLegalityAndDuplicates) {
    HistoryCapture his;
    rtattrdict_t *d = rtattrdict_create(10, kDesc, 1);
    EXPECT_EQ(rtattrdict_inq_num(d) * 100 + rtattrdict_inq_capacity(d), 10);
    EXPECT_EQ(hashNum(rtattrdict_attributes(d)), 14u);  // thirteen declared and NAME
    rtattrdict_resize(d, 11);
    EXPECT_EQ(his.text(), "!!head_resize: attempt to resize beyond capacity 11 10\n");
    rtattrdict_resize(d, 10);
    for (int32_t k = 1; k <= 10; ++k) ExpectDefunct(d, k);
    rtattrdict_t *w = rtattrdict_create_embedded(d, 4, 5, "SUB.", 1);
    rtattrdict_resize(w, 5);
    EXPECT_EQ(add(w, 3, {"A.B"}), 1);
    rtattrdict_t *in = rtattrdict_create_embedded(w, 1, 2, "IN.", 0);  // the outermost prefix comes first
    rtattrdict_resize(in, 2);
    add(in, 2, {"X"});
    const struct { rtattrdict_t *d; int32_t i; const char *name; int32_t abs, safe; } rows[] = {
        {d, 6, "SUB.A.B", 6, 6}, {w, 3, "A.B", 6, 3}, {d, 5, "SUB.IN.X", 5, 5}, {w, 2, "IN.X", 5, 2}, {in, 2, "X", 5, 2}};
    for (const auto &r : rows) {
        EXPECT_STREQ(rtattrdict_name(r.d, r.i), r.name);
        EXPECT_EQ(rtattrdict_index(r.d, r.name), r.i) << r.name;
        EXPECT_EQ(rtattrdict_absolute_index(r.d, r.i), r.abs) << r.name;
        EXPECT_EQ(rtattrdict_safe_index(r.d, r.i), r.safe) << r.name;  // a prefixed window keeps its numbering
    }
    EXPECT_EQ(rtattrdict_index(d, "A.B") + rtattrdict_index(in, "A.B"), 0);
    EXPECT_EQ(his.text(), "");

    EXPECT_EQ(add(d, 1, {"$X", "1A", "A(1).B"}), 3);
    EXPECT_EQ(rtattrdict_index(d, "A(1).B"), 3);
    add(d, 8, {"x1"});
    EXPECT_EQ(his.text(), "Unable to process illegal equation/variable name 'x1'\n");
    EXPECT_EQ(rtattrdict_index(d, "x1"), 0);
    add(d, 9, {"TWIN", "TWIN"});
    EXPECT_EQ(his.text(), "Duplicate name in dictionary 'TWIN' (adding element)\n");
    EXPECT_STREQ(rtattrdict_name(d, 10), "TWIN");
    add(d, 10, {"SOLO"});  // renaming the duplicate leaves the first holder indexed
    EXPECT_EQ(rtattrdict_index(d, "TWIN") * 100 + rtattrdict_index(d, "SOLO"), 910);
    add(w, 5, {"A.B"});
    EXPECT_EQ(his.text(), "Duplicate name in dictionary 'SUB.A.B' (adding element with prefix)\n");
    const std::string lng(1100, 'L'), cut(1024, 'L');
    add(d, 1, {lng.c_str(), lng.c_str()});
    EXPECT_EQ(rtattrdict_name(d, 1), cut);
    EXPECT_EQ(his.text(), "Duplicate name in dictionary '" + cut + "' (adding element with truncated name)\n");
    EXPECT_EQ(rtattrdict_index(d, lng.c_str()), 1);  // found under its cut name
    for (rtattrdict_t *x : {in, w, d}) rtattrdict_destroy(x);
}

TEST(AttrDictNames, GroupsLongPrefixesAndBadRanges) {
    HistoryCapture his;
    rtattrdict_t *d = rtattrdict_create(6, kDesc, 0);
    rtattrdict_resize(d, 6);
    EXPECT_EQ(rtattrdict_add_group(d, 2, 3, 8, "FEED    PROD\0xx bad     "), 3);  // three 8-byte records
    EXPECT_EQ(std::string(rtattrdict_name(d, 2)) + "|" + rtattrdict_name(d, 3) + "|" + rtattrdict_name(d, 4), "FEED|PROD|");
    EXPECT_EQ(his.text(), "Unable to process illegal equation/variable name 'bad'\n");
    rtattrdict_t *w = rtattrdict_create_embedded(d, 5, 2, "U.", 0);
    rtattrdict_resize(w, 2);
    rtattrdict_add_group(w, 1, 2, 6, "FEED  FEED  ");
    EXPECT_EQ(his.text(), "Duplicate name in dictionary 'U.FEED' (adding element in group)\n");
    EXPECT_EQ(rtattrdict_index(w, "FEED"), 1);
    {
        StderrCapture err;
        EXPECT_EQ(add(d, 6, {"Z", "Z"}) + rtattrdict_add_group(d, 0, 1, 1, "Z"), 0);
        const std::string e = err.text();
        for (const char *f : {"additems", "addgroup"})
            EXPECT_NE(e.find(std::string("Assertion 'head_") + f + ": bad indices' failed in source/rtattrdict/rtattrdict:"),
                      std::string::npos) << e;
    }
    // A 1020-character prefix: names are cut at 1024, a longer chain of prefixes names nothing.
    const std::string big(1020, 'P');
    rtattrdict_t *w2 = rtattrdict_create_embedded(d, 1, 1, big.c_str(), 0);
    rtattrdict_resize(w2, 1);
    EXPECT_EQ(add(w2, 1, {"NAME5"}), 1);
    EXPECT_EQ(rtattrdict_name(d, 1), big + "NAME");
    EXPECT_EQ(rtattrdict_index(w2, "NAME5") * 10 + rtattrdict_index(w2, "NAME"), 11);
    rtattrdict_t *w3 = rtattrdict_create_embedded(w2, 1, 1, "INNER.", 0);
    rtattrdict_resize(w3, 1);
    EXPECT_EQ(add(w3, 1, {"NAME5"}), 0);
    EXPECT_EQ(his.text(), "!!embedded_additems: prefix " + big + "INNER. longer than 1024");
    EXPECT_EQ(rtattrdict_add_group(w3, 1, 1, 5, "NAME5"), 0);
    EXPECT_EQ(his.text(), "!!embedded_addgroup: prefix " + big + "INNER. longer than 1024");
    EXPECT_EQ(rtattrdict_name(d, 1), big + "NAME");
    rtattrdict_t *w4 = rtattrdict_create_embedded(w2, 1, 1, "ABCD", 0);  // prefixes of exactly 1024
    rtattrdict_resize(w4, 1);
    EXPECT_EQ(add(w4, 1, {"NAME5"}), 1);
    EXPECT_EQ(rtattrdict_name(d, 1), big + "ABCD");
    for (rtattrdict_t *x : {w4, w3, w2, w, d}) rtattrdict_destroy(x);
}

TEST(AttrDictStructure, DeleteAndRemove) {
    HistoryCapture his;
    rtattrdict_t *d = named_head(10);
    rtattrdict_t *before = rtattrdict_create_embedded(d, 2, 1, nullptr, 1);
    rtattrdict_t *at = rtattrdict_create_embedded(d, 4, 1, nullptr, 1);
    rtattrdict_t *after = rtattrdict_create_embedded(d, 7, 2, nullptr, 1);
    rtattrdict_resize(after, 2);
    rtattrdict_delete_items(d, 4, 2);  // windows starting at or after the range move down by its length
    EXPECT_EQ(rtattrdict_inq_num(d) * 100 + rtattrdict_inq_capacity(d), 808);
    EXPECT_EQ(start_of(before) * 100 + start_of(at) * 10 + start_of(after), 225);
    EXPECT_STREQ(rtattrdict_name(after, 2), "E8");
    EXPECT_EQ(rtattrdict_okay(after), 1);
    EXPECT_EQ(rtattrdict_index(d, "E6") * 10 + rtattrdict_index(d, "E4"), 40);
    EXPECT_EQ(rtattrdict_getd(d, 4, "VALUE"), 6.0);
    rtattrdict_delete_items(d, 7, 3);
    EXPECT_EQ(his.text(), "!!rtattrdict_delete_items: deleting too many elements\n");
    rtattrdict_remove_items(d, 7, 3);
    EXPECT_EQ(his.text(), "!!rtattrdict_remove_items: removing too many elements\n");
    EXPECT_EQ(rtattrdict_inq_num(d) * 100 + rtattrdict_inq_capacity(d), 808);
    rtattrdict_seti(d, 8, "TAG", 4);
    rtattrdict_remove_items(d, 7, 2);  // up to the last element
    ExpectDefunct(d, 7);
    ExpectDefunct(d, 8);
    EXPECT_EQ(rtattrdict_index(d, "E10") + rtattrdict_index(d, "E9"), 0);
    EXPECT_EQ(rtattrdict_inq_num(d), 8);
    EXPECT_EQ(his.text(), "");
    for (rtattrdict_t *w : {before, at, after, d}) rtattrdict_destroy(w);
}

TEST(AttrDictStructure, SplicesGrowInStepsAndShiftSiblings) {
    for (auto [cap, expect] : {std::pair{100, 120}, std::pair{20, 30}, std::pair{5, 15}}) {
        rtattrdict_t *d = named_head(cap);
        rtattrdict_t *w = rtattrdict_create_embedded(d, 2, 2, nullptr, 1);
        rtattrdict_resize(w, 2);
        rtattrdict_change_capacity(w, 5);  // grows the head by 3 in the middle
        EXPECT_EQ(rtattrdict_inq_capacity(d), expect) << cap;
        EXPECT_EQ(rtattrdict_inq_num(d) * 10 + rtattrdict_inq_capacity(w), (cap + 3) * 10 + 5);
        EXPECT_EQ(rtattrdict_index(d, "E4"), 7);
        EXPECT_EQ(rtattrdict_getd(d, 7, "VALUE"), 4.0);
        EXPECT_EQ(rtattrdict_index(d, ("E" + std::to_string(cap)).c_str()), cap + 3);
        for (int32_t k = 4; k <= 6; ++k) ExpectDefunct(d, k);
        rtattrdict_destroy(w);
        rtattrdict_destroy(d);
    }
    HistoryCapture his;
    rtattrdict_t *d = named_head(10);
    rtattrdict_t *a = rtattrdict_create_embedded(d, 1, 3, "A.", 1);
    rtattrdict_t *b = rtattrdict_create_embedded(d, 4, 3, "B.", 1);
    rtattrdict_resize(a, 3);
    rtattrdict_resize(b, 3);
    add(b, 1, {"X", "Y", "Z"});
    rtattrdict_t *same = rtattrdict_create_embedded(d, 1, 0, nullptr, 1);  // empty, at A's start
    rtattrdict_change_capacity(a, 5);
    EXPECT_EQ(start_of(same) * 10 + start_of(b), 36);  // every later sibling shifted
    rtattrdict_destroy(same);
    EXPECT_EQ(rtattrdict_index(b, "Y"), 2);
    EXPECT_STREQ(rtattrdict_name(d, 7), "B.Y");
    rtattrdict_change_capacity(a, 2);
    EXPECT_EQ(his.text(), "!!embedded_change_capacity: capacity 2 less than size 3 (not changed)\n");
    rtattrdict_change_capacity(a, 3);  // shrink back: the head and B move down
    EXPECT_EQ(rtattrdict_inq_num(d) * 10 + start_of(b), 104);
    EXPECT_EQ(rtattrdict_index(b, "Z") * 100 + rtattrdict_index(d, "E10"), 310);
    rtattrdict_destroy(a);  // a resizable window is spliced out of the head
    EXPECT_EQ(rtattrdict_inq_num(d) * 10 + start_of(b), 71);
    EXPECT_EQ(rtattrdict_index(b, "X"), 1);
    EXPECT_EQ(gl_length(d->children), 1u);
    rtattrdict_destroy(b);
    EXPECT_EQ(rtattrdict_index(d, "E10"), 4);
    rtattrdict_destroy(d);
}

TEST(AttrDictStructure, MovesCarryEveryColumnAndResetWhatTheyLeave) {
    CountingWrapper wr[4];
    rtattrdict_t *d = named_head(8);
    for (int k = 0; k < 4; ++k) {
        rtattrdict_setwrapper(d, 2 + k, "WRAP", &wr[k]);
        rtattrdict_seti(d, 2 + k, "TAG", 100 + k);
        rtattrdict_sets(d, 2 + k, "UNIT", ("U" + std::to_string(k)).c_str());
    }
    rtattrdict_remove_items(d, 6, 1);
    rtattrdict_move_items(d, 2, 3, 4);
    for (int k = 0; k < 4; ++k) {
        const std::string nm = "E" + std::to_string(2 + k);
        EXPECT_EQ(rtattrdict_getd(d, 3 + k, "VALUE"), 2.0 + k);
        EXPECT_EQ(rtattrdict_index(d, nm.c_str()), 3 + k);
        EXPECT_EQ(rtattrdict_getwrapper(d, 3 + k, "WRAP"), &wr[k]);
        EXPECT_EQ(wr[k].refs * 100 + wr[k].index, 103 + k);
        EXPECT_EQ(rtattrdict_geti(d, 3 + k, "TAG"), 100 + k);
        EXPECT_EQ(rtattrdict_gets(d, 3 + k, "UNIT"), "U" + std::to_string(k));
    }
    ExpectDefunct(d, 2);
    rtattrdict_move_items(d, 3, 1, 4);  // down by two over live elements: reset, not leaked
    EXPECT_EQ(rtattrdict_index(d, "E1") * 10 + rtattrdict_index(d, "E5"), 4);
    EXPECT_EQ(wr[0].index, 1);
    ExpectDefunct(d, 5);
    ExpectDefunct(d, 6);
    HistoryCapture his;
    rtattrdict_move_items(d, 6, 7, 3);  // one past the end
    EXPECT_EQ(his.text(), "!!head_move_elems: bad source or destination, source 6, dest 7, move size 3, list size 8");
    rtattrdict_destroy(d);
    for (auto &w : wr) EXPECT_EQ(w.refs, 0);
}

TEST(AttrDictStructure, WindowLimitsAndRelocate) {
    HistoryCapture his;
    rtattrdict_t *d = named_head(6, 0, 0);
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
    EXPECT_EQ(his.text(), "!!embedded_change_capacity: parent (size 6 cap 6) is not big enough for capacity change "
                          "(start 2 newcapacity 6)\n");
    rtattrdict_change_capacity(w, 5);  // up to the parent's last element
    rtattrdict_resize(w, 5);
    EXPECT_EQ(rtattrdict_inq_num(w) * 10 + rtattrdict_inq_capacity(w), 55);
    EXPECT_STREQ(rtattrdict_name(w, 5), "E6");
    rtattrdict_resize(w, 2);
    rtattrdict_relocate(w, 4);
    EXPECT_EQ(his.text(), "!!embedded_relocate: parent is not big enough\n");
    rtattrdict_change_capacity(w, 2);
    rtattrdict_relocate(w, 5);  // moves E2, E3 over E5, E6
    EXPECT_STREQ(rtattrdict_name(w, 2), "E3");
    EXPECT_EQ(rtattrdict_index(d, "E2") * 10 + rtattrdict_index(d, "E5"), 50);
    rtattrdict_resize(w, 3);
    EXPECT_EQ(his.text(), "!! embedded_resize: parent (size 6 cap 6) is not big enough for resize (start 5 newsize 3)\n");
    rtattrdict_move_items(w, 1, 2, 2);
    EXPECT_EQ(his.text(), "!!embedded_move_elems: bad source or destination, source 1, dest 2, move size 2, list size 2\n");
    EXPECT_EQ(rtattrdict_inq_num(w) * 10 + rtattrdict_inq_capacity(w), 22);
    rtattrdict_t *sh = rtattrdict_create_embedded(d, 1, 2, nullptr, 0);
    rtattrdict_resize(sh, 2);
    rtattrdict_resize(d, 1);  // the window now reaches past its parent
    EXPECT_EQ(rtattrdict_okay(sh), 0);
    for (rtattrdict_t *x : {sh, w, d}) rtattrdict_destroy(x);
}

TEST(AttrDictStructure, EmptyAllClearsWindowsAndStats) {
    rtattrdict_t *d = named_head(6);
    rtattrdict_t *w = rtattrdict_create_embedded(d, 3, 2, "W.", 1);
    rtattrdict_resize(w, 2);
    rtattrdict_empty_all(d);
    EXPECT_EQ(rtattrdict_inq_num(d) + rtattrdict_inq_num(w) + rtattrdict_inq_capacity(w) + rtattrdict_index(d, "E1"), 0);
    EXPECT_EQ(start_of(w), 1);
    EXPECT_EQ(rtattrdict_okay(w), 1);
    HistoryCapture his;
    rtattrdict_print_stats(w);
    const std::string s = his.text();
    EXPECT_EQ(s.rfind("****************Begin attribute dictionary statistics****************\n"
                      "Embedded attribute dictionary\n Size: 0\nStart: 1\nParent statistics\n"
                      "Head attribute dictionary\n       Size: 0\nNon-defunct: 0\n Attributes: 14\n     Sparse: 6\n"
                      "Attribute hash table statistics\nMapping hash table statistics\n"
                      "****************End attribute dictionary statistics****************\n", 0), 0u) << s;
    rtattrdict_destroy(w);
    rtattrdict_destroy(d);
}

}  // namespace
