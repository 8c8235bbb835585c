// Tag lists: the alias rule, propagation up a three-level tree, withdrawal,
// growth, the 1024-character keys, printing and allocation failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

#include "capture.h"
#include "platform/xalloc.h"
#include "zarnutils/rtcontext.h"
#include "zarnutils/rtsymtab.h"
#include "zarnutils/rttaglst.h"

namespace {

std::string target(rtotaglst_t *list, const std::string &alias) {
    const char *t = rtotaglst_search_tags(list, alias.c_str());
    return t != nullptr ? t : "<none>";
}

// Every entry is found under its own alias at its own tag number, the last one included.
void expect_consistent(rtotaglst_t *list) {
    for (int32_t k = 1; k <= rtotaglst_inq_ntag(list); ++k) {
        const char *alias = rtotaglst_inq_tagid(list, k);
        ASSERT_NE(alias, nullptr) << k;
        EXPECT_EQ(rtotaglst_lookup(list, alias), k) << alias;
        EXPECT_EQ(rtotaglst_inq_tag(list, k)->varid, rtotaglst_inq_varid(list, k));
    }
}

// One printed line: alias padded to 12, a blank, name padded and cut to 40.
std::string line(std::string alias, std::string name, bool inherited) {
    alias.resize(std::max<std::size_t>(alias.size(), 12), ' ');
    name.resize(40, ' ');
    return alias + " " + name + (inherited ? " (from subplant or superplant)\n" : "\n");
}

TEST(TagList, AliasRuleDuplicatesAndInquiry) {
    zarn::test::HistoryCapture his;
    rtotaglst_t *l = rtotaglst_create(2);
    // The rule applied is the model-name rule, wider than the refusal text says.
    for (const std::string &a : {std::string(40, 'A'), std::string("1ST"), std::string("$T(2).A"), std::string("T1")})
        EXPECT_EQ(rtotaglst_add_tag(l, a.c_str(), ("V" + a).c_str()), 0) << a;
    for (const char *a : {"Temp", "A#B", "t1"}) EXPECT_EQ(rtotaglst_add_tag(l, a, "X"), 0) << a;
    EXPECT_EQ(his.text(), "Bad alias name 'Temp'.  Alias names must be 40 characters or less, must start\n"
                          "with A-Z, and contain only letters (A-Z), digits (0-9) and underbar (_).\n"
                          "Bad alias name 'A#B'.  Alias names must be 40 characters or less, must start\n"
                          "with A-Z, and contain only letters (A-Z), digits (0-9) and underbar (_).\n"
                          "Bad alias name 't1'.  Alias names must be 40 characters or less, must start\n"
                          "with A-Z, and contain only letters (A-Z), digits (0-9) and underbar (_).\n");
    EXPECT_EQ(rtotaglst_add_tag(l, "T1", "OTHER"), 1);  // the first definition stays
    EXPECT_EQ(target(l, "T1"), "VT1");
    ASSERT_EQ(rtotaglst_inq_ntag(l), 4);
    EXPECT_STREQ(rtotaglst_inq_tagid(l, 4), "T1");
    EXPECT_STREQ(rtotaglst_inq_varid(l, 2), "V1ST");
    EXPECT_EQ(rtotaglst_inq_tag(l, 3)->varid, rtsymtab_add("V$T(2).A"));  // interned
    EXPECT_EQ(rtotaglst_lookup(l, "VT1"), 0);                              // names are not aliases
    char name[64] = "garbage";
    int32_t k = -1;
    rtotaglst_inq_by_tag(l, "1ST", name, &k);
    EXPECT_EQ(std::string(name) + "/" + std::to_string(k), "V1ST/2");
    rtotaglst_inq_by_tag(l, "NOPE", name, &k);
    EXPECT_EQ(std::string(name) + "/" + std::to_string(k), "/0");
    expect_consistent(l);
    EXPECT_EQ(his.text(), "");
    rtotaglst_destroy(l);
}

// root <- child (prefix B1.) <- grand (prefix C1.): copies go up with both
// prefixes; none and destroy withdraw exactly the copies they made.
TEST(TagList, ThreeLevelTreePropagatesAndWithdraws) {
    zarn::test::HistoryCapture his;
    rtotaglst_t *root = rtotaglst_create(1), *child = rtotaglst_create(1), *grand = rtotaglst_create(1);
    rtotaglst_set_prefix(child, "B1.");
    rtotaglst_set_prefix(grand, "C1.");
    rtotaglst_link_parent(child, grand);  // linked before its aliases ...
    rtotaglst_add_tag(grand, "T", "TEMP");
    rtotaglst_add_tag(root, "R1", "RV");
    rtotaglst_add_tag(root, "B1.Y", "ROOT.OWN");  // the root's own, equal to a later copy
    rtotaglst_add_tag(root, "B1.Z", "ROOT.Z");
    rtotaglst_add_tag(child, "X", "XV");
    rtotaglst_add_tag(child, "Z", "ZV");
    rtotaglst_link_parent(root, child);  // ... and after them: both ways propagate
    EXPECT_EQ(his.text(), "Duplicate definition of alias Z in the same scope.\n");
    rtotaglst_add_tag(child, "Y", "YV");
    EXPECT_EQ(his.text(), "Duplicate definition of alias Y in the one scope.\n");
    rtotaglst_add_tag(root, "R2", "RV2");
    // root: R1, B1.Y, B1.Z (own), B1.C1.T, B1.X, R2
    EXPECT_EQ(target(root, "B1.C1.T"), "B1.C1.TEMP");
    EXPECT_EQ(target(root, "B1.X"), "B1.XV");
    EXPECT_EQ(target(root, "C1.T"), "<none>");
    ASSERT_EQ(rtotaglst_inq_ntag(root), 6);
    EXPECT_EQ(rtotaglst_inq_tag(root, rtotaglst_lookup(root, "B1.C1.T"))->inherited, 1);
    {
        zarn::test::HistoryCapture lines;
        rtotaglst_print(nullptr, root);
        const std::string out = lines.text();
        EXPECT_NE(out.find(line("R1", "RV", false)), std::string::npos) << out;
        EXPECT_NE(out.find(line("B1.C1.T", "B1.C1.TEMP", true)), std::string::npos) << out;
        EXPECT_EQ(out.size(), 4 * line("R1", "RV", false).size() + 2 * line("B1.X", "B1.XV", true).size());
    }
    rtotaglst_link_parent(root, child);  // the same parent again: nothing happens
    rtotaglst_link_parent(grand, root);  // an ancestor below its descendant: refused
    EXPECT_EQ(his.text(), "!!rtotaglst_link_parent: a list cannot be linked below itself\n");
    EXPECT_EQ(rtotaglst_inq_ntag(root), 6);

    EXPECT_EQ(rtotaglst_none(child), 1);  // keeps C1.T from the grandchild
    EXPECT_EQ(target(root, "B1.X"), "<none>");
    EXPECT_EQ(target(root, "B1.Y"), "ROOT.OWN");  // defined in the root: never withdrawn
    EXPECT_EQ(target(root, "B1.Z"), "ROOT.Z");
    EXPECT_EQ(rtotaglst_lookup(root, "R2"), 5);  // later tag numbers drop by one
    expect_consistent(root);
    EXPECT_EQ(rtotaglst_none(root), 1);  // drops its own, keeps the inherited one
    EXPECT_EQ(rtotaglst_lookup(root, "B1.C1.T"), 1);

    rtotaglst_destroy(child);  // withdraws its copies; the grandchild stays, unlinked
    EXPECT_EQ(rtotaglst_inq_ntag(root), 0);
    rtotaglst_link_parent(root, grand);
    EXPECT_EQ(target(root, "C1.T"), "C1.TEMP");
    EXPECT_EQ(his.text(), "");
    rtotaglst_destroy(root);
    EXPECT_EQ(rtotaglst_add_tag(grand, "U", "UV"), 0);
    rtotaglst_destroy(grand);
}

TEST(TagList, GrowthAndTheKeyLimit) {
    rtotaglst_t *root = rtotaglst_create(1), *child = rtotaglst_create(1);
    rtotaglst_set_prefix(child, "SUB.");
    rtotaglst_link_parent(root, child);
    rtotaglst_add_tag(root, "A0", "V0");
    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ(rtotaglst_add_tag(child, ("T" + std::to_string(i)).c_str(), ("B" + std::to_string(i % 7)).c_str()), 0);
    for (int i = 0; i < 3000; i += 7) EXPECT_EQ(target(root, "SUB.T" + std::to_string(i)), "SUB.B0");
    expect_consistent(root);
    expect_consistent(child);
    EXPECT_EQ(rtotaglst_none(child), 0);
    EXPECT_EQ(rtotaglst_inq_ntag(root), 1);
    EXPECT_EQ(target(root, "A0"), "V0");

    // Propagated texts are cut at 1024 characters; the list itself keeps them whole.
    const std::string prefix(1020, 'P'), name(2000, 'N');
    rtotaglst_set_prefix(child, prefix.c_str());
    rtotaglst_add_tag(child, "ABCDEFGH", name.c_str());
    EXPECT_EQ(rtotaglst_inq_varid(child, 1), name);
    EXPECT_EQ(std::string(rtotaglst_inq_tagid(root, 2)), prefix + "ABCD");
    EXPECT_EQ(std::strlen(rtotaglst_inq_varid(root, 2)), 1024u);
    rtotaglst_destroy(child);
    EXPECT_EQ(rtotaglst_inq_ntag(root), 1);
    rtotaglst_destroy(root);
}

TEST(TagList, PrintingStopsOnCtrlC) {
    rtotaglst_t *l = rtotaglst_create(4);
    rtotaglst_add_tag(l, "A", "X");
    rtotaglst_add_tag(l, "B", "Y");
    rtopipe *q = create_queue_rtopipe();
    zarn::test::HistoryCapture his;
    rtosignal_set_ctrlc();
    rtotaglst_print(q, l);
    EXPECT_EQ(zarn::test::drain(q), "");
    rtosignal_cancel_pending_ctrlc();
    rtotaglst_print(q, l);  // an explicit pipe gets the lines, not the history device
    const std::string out = zarn::test::drain(q);
    EXPECT_EQ(out.size(), 2 * line("A", "X", false).size());
    EXPECT_NE(out.find(line("B", "Y", false)), std::string::npos);
    EXPECT_EQ(his.text(), "");
    rtodestroy(q);
    rtotaglst_destroy(l);
}
// Each allocation a tag list makes, failed in turn: the documented message
// where there is one, and the lists left as they were.
TEST(TagList, AllocationFailures) {
    zarn::test::HistoryCapture his;
    for (long k = 1; k <= 2; ++k) {  // the record, its entries
        zarn::failalloc_set(k);
        EXPECT_EQ(rtotaglst_create(4), nullptr) << k;
    }
    zarn::failalloc_set(0);
    rtotaglst_t *parent = rtotaglst_create(4);
    rtotaglst_t *child = rtotaglst_create(1);
    rtotaglst_set_prefix(child, "B1.");
    rtotaglst_link_parent(parent, child);
    ASSERT_EQ(rtotaglst_add_tag(child, "T", "TEMP"), 0);
    ASSERT_EQ(rtotaglst_add_tag(parent, "P", "PRES"), 0);
    struct Row {
        const char *what;
        std::function<void()> call;
        const char *text;
    } rows[] = {
        {"grow", [&] { EXPECT_EQ(rtotaglst_add_tag(child, "U", "UU"), 0); },
         "!!rtotaglst_add_tag: Unable to allocate memory for alias U\n"},
        {"none", [&] { EXPECT_EQ(rtotaglst_none(parent), 2); },
         "!!rtotaglst_none: Unable to allocate memory to withdraw aliases\n"},
        {"destroy", [&] { rtotaglst_destroy(child); },
         "!!rtotaglst_destroy: Unable to allocate memory to withdraw aliases\n"},
    };
    for (const Row &row : rows) {
        zarn::failalloc_set(1);
        row.call();
        zarn::failalloc_set(0);
        EXPECT_EQ(his.text(), row.text) << row.what;
    }
    // The child is gone; what it had given the parent stays, nothing else changed.
    EXPECT_EQ(rtotaglst_inq_ntag(parent), 2);
    EXPECT_EQ(target(parent, "B1.T"), "B1.TEMP");
    EXPECT_EQ(target(parent, "P"), "PRES");
    EXPECT_EQ(target(parent, "B1.U"), "<none>");
    rtotaglst_destroy(parent);
}

}  // namespace
