// Tag lists: definitions, refusals, the plant tree, withdrawal, growth, printing.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "capture.h"
#include "platform/xalloc.h"
#include "zarnutils/rtcontext.h"
#include "zarnutils/rttaglst.h"
#include "zarnutils/rtsymtab.h"

namespace {

const char kBadAlias[] =
    "Bad alias name '%s'.  Alias names must be 40 characters or less, must start\n"
    "with A-Z, and contain only letters (A-Z), digits (0-9) and underbar (_).\n";

std::string bad_alias_text(const std::string &alias) {
    char buf[512];
    std::snprintf(buf, sizeof buf, kBadAlias, alias.c_str());
    return buf;
}

std::string target(rtotaglst_t *list, const char *alias) {
    const char *t = rtotaglst_search_tags(list, alias);
    return t != nullptr ? t : "<none>";
}

// Every entry is found under its own alias at its own tag number.
void expect_consistent(rtotaglst_t *list) {
    const int32_t n = rtotaglst_inq_ntag(list);
    for (int32_t k = 1; k <= n; ++k) {
        const char *alias = rtotaglst_inq_tagid(list, k);
        ASSERT_NE(alias, nullptr);
        EXPECT_EQ(rtotaglst_lookup(list, alias), k) << alias;
        EXPECT_EQ(rtotaglst_inq_tag(list, k)->varid, rtotaglst_inq_varid(list, k));
    }
}

// One printed line: alias padded to 12, a blank, name padded (and cut) to 40.
std::string line(const std::string &alias, const std::string &name, bool inherited) {
    std::string a = alias, n = name.substr(0, 40);
    if (a.size() < 12) a.append(12 - a.size(), ' ');
    n.append(40 - n.size(), ' ');
    return a + " " + n + (inherited ? " (from subplant or superplant)\n" : "\n");
}

std::string printed(rtotaglst_t *list) {
    zarn::test::HistoryCapture his;
    rtotaglst_print(nullptr, list);
    return his.text();
}

}  // namespace

TEST(TagList, DefineLookUpAndInquire) {
    zarn::test::HistoryCapture his;
    rtotaglst_t *l = rtotaglst_create(0);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(rtotaglst_add_tag(l, "T1", "B1.TEMP"), 0);
    EXPECT_EQ(rtotaglst_add_tag(l, "P1", "B1.PRES"), 0);
    EXPECT_EQ(rtotaglst_lookup(l, "T1"), 1);
    EXPECT_EQ(rtotaglst_lookup(l, "P1"), 2);
    EXPECT_EQ(rtotaglst_lookup(l, "t1"), 0);  // case-sensitive
    EXPECT_EQ(rtotaglst_lookup(l, "B1.TEMP"), 0);  // names are not aliases

    // A second definition is refused and the first target stays.
    EXPECT_EQ(rtotaglst_add_tag(l, "T1", "B2.TEMP"), 1);
    EXPECT_EQ(rtotaglst_inq_ntag(l), 2);
    EXPECT_EQ(target(l, "T1"), "B1.TEMP");
    EXPECT_EQ(his.text(), "");

    EXPECT_STREQ(rtotaglst_inq_tagid(l, 2), "P1");
    EXPECT_STREQ(rtotaglst_inq_varid(l, 2), "B1.PRES");
    rtotag_t *tag = rtotaglst_inq_tag(l, 1);
    ASSERT_NE(tag, nullptr);
    EXPECT_STREQ(tag->tagid, "T1");
    EXPECT_EQ(tag->inherited, 0);
    // Texts are interned: equal texts elsewhere in the library are the same pointer.
    EXPECT_EQ(tag->varid, rtsymtab_add("B1.TEMP"));

    char name[64] = "garbage";
    int32_t k = -1;
    rtotaglst_inq_by_tag(l, "P1", name, &k);
    EXPECT_EQ(k, 2);
    EXPECT_STREQ(name, "B1.PRES");
    rtotaglst_inq_by_tag(l, "NOPE", name, &k);
    EXPECT_EQ(k, 0);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(rtotaglst_search_tags(l, "NOPE"), nullptr);
    EXPECT_EQ(rtotaglst_search_tags(l, nullptr), nullptr);
    rtotaglst_destroy(l);
}

TEST(TagList, IllegalIndicesAndNullLists) {
    rtotaglst_t *l = rtotaglst_create(4);
    rtotaglst_add_tag(l, "A", "X");
    zarn::test::StderrCapture err;
    EXPECT_EQ(rtotaglst_inq_tagid(l, 0), nullptr);
    EXPECT_EQ(rtotaglst_inq_varid(l, 2), nullptr);
    EXPECT_EQ(rtotaglst_inq_tag(l, -1), nullptr);
    EXPECT_EQ(rtotaglst_inq_tagid(nullptr, 1), nullptr);
    const std::string text = err.text();
    EXPECT_NE(text.find("Assertion 'Illegal index passed to rtotaglst_inq_tagid' failed in source/rttaglst/rttaglst:"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("'Illegal index passed to rtotaglst_inq_varid'"), std::string::npos);
    EXPECT_NE(text.find("'Illegal index passed to rtotaglst_inq_tag'"), std::string::npos);

    EXPECT_EQ(rtotaglst_inq_ntag(nullptr), 0);
    EXPECT_EQ(rtotaglst_lookup(nullptr, "A"), 0);
    EXPECT_EQ(rtotaglst_none(nullptr), 0);
    EXPECT_EQ(rtotaglst_search_tags(nullptr, "A"), nullptr);
    int32_t k = 7;
    char name[8] = "x";
    rtotaglst_inq_by_tag(nullptr, "A", name, &k);
    EXPECT_EQ(k, 0);
    EXPECT_STREQ(name, "");
    rtotaglst_print(nullptr, nullptr);
    rtotaglst_destroy(nullptr);
    rtotaglst_set_prefix(nullptr, "P.");
    rtotaglst_destroy(l);
}

TEST(TagList, AliasRuleAndRefusalText) {
    zarn::test::HistoryCapture his;
    rtotaglst_t *l = rtotaglst_create(2);
    const std::string forty(40, 'A'), forty_one(41, 'A');
    EXPECT_EQ(rtotaglst_add_tag(l, forty.c_str(), "X"), 0);
    EXPECT_EQ(his.text(), "");
    EXPECT_EQ(rtotaglst_lookup(l, forty.c_str()), 1);

    EXPECT_EQ(rtotaglst_add_tag(l, forty_one.c_str(), "X"), 0);
    EXPECT_EQ(his.text(), bad_alias_text(forty_one));
    EXPECT_EQ(rtotaglst_add_tag(l, "Temp", "X"), 0);
    EXPECT_EQ(his.text(), bad_alias_text("Temp"));
    EXPECT_EQ(rtotaglst_add_tag(l, "", "X"), 0);
    EXPECT_EQ(his.text(), bad_alias_text(""));
    EXPECT_EQ(rtotaglst_add_tag(l, "A#B", "X"), 0);
    EXPECT_EQ(his.text(), bad_alias_text("A#B"));
    EXPECT_EQ(rtotaglst_add_tag(nullptr, "GOOD", "X"), 0);
    EXPECT_EQ(his.text(), bad_alias_text("GOOD"));
    EXPECT_EQ(rtotaglst_inq_ntag(l), 1);

    // The rule applied is the model-name rule, wider than the message says.
    EXPECT_EQ(rtotaglst_add_tag(l, "1ST", "X"), 0);
    EXPECT_EQ(rtotaglst_add_tag(l, "$T(2).A", "X"), 0);
    EXPECT_EQ(his.text(), "");
    EXPECT_EQ(rtotaglst_inq_ntag(l), 3);
    rtotaglst_destroy(l);
}

TEST(TagList, ThreeLevelTreePropagatesWithBothPrefixes) {
    zarn::test::HistoryCapture his;
    rtotaglst_t *root = rtotaglst_create(1), *child = rtotaglst_create(1), *grand = rtotaglst_create(1);
    rtotaglst_set_prefix(child, "B1.");
    rtotaglst_set_prefix(grand, "C1.");
    // The grandchild is linked before it has aliases, the child after: both ways propagate.
    rtotaglst_link_parent(child, grand);
    EXPECT_EQ(rtotaglst_add_tag(grand, "T", "TEMP"), 0);
    EXPECT_EQ(rtotaglst_add_tag(child, "X", "XV"), 0);
    EXPECT_EQ(rtotaglst_add_tag(root, "R1", "ROOTVAR"), 0);
    rtotaglst_link_parent(root, child);
    EXPECT_EQ(his.text(), "");

    EXPECT_EQ(target(child, "C1.T"), "C1.TEMP");
    EXPECT_EQ(target(root, "B1.C1.T"), "B1.C1.TEMP");
    EXPECT_EQ(target(root, "B1.X"), "B1.XV");
    EXPECT_EQ(target(root, "C1.T"), "<none>");
    EXPECT_EQ(rtotaglst_inq_ntag(root), 3);
    EXPECT_EQ(rtotaglst_inq_tag(root, rtotaglst_lookup(root, "B1.C1.T"))->inherited, 1);
    EXPECT_EQ(rtotaglst_inq_tag(root, rtotaglst_lookup(root, "R1"))->inherited, 0);

    // An alias added to the grandchild now goes all the way up.
    EXPECT_EQ(rtotaglst_add_tag(grand, "F", "FLOW"), 0);
    EXPECT_EQ(target(root, "B1.C1.F"), "B1.C1.FLOW");

    const std::string out = printed(root);
    EXPECT_NE(out.find(line("R1", "ROOTVAR", false)), std::string::npos) << out;
    EXPECT_NE(out.find(line("B1.C1.T", "B1.C1.TEMP", true)), std::string::npos) << out;
    size_t lines = 0;
    for (char c : out) lines += c == '\n';
    EXPECT_EQ(lines, 4u);

    // Linking again to the same parent changes nothing; another parent is refused.
    rtotaglst_link_parent(root, child);
    EXPECT_EQ(rtotaglst_inq_ntag(root), 4);
    rtotaglst_t *other = rtotaglst_create(1);
    rtotaglst_link_parent(other, child);
    EXPECT_EQ(his.text(), "!!rtotaglst_link_parent: child already linked to a parent\n");
    EXPECT_EQ(rtotaglst_inq_ntag(other), 0);
    // A list cannot become its own ancestor.
    rtotaglst_link_parent(grand, root);
    EXPECT_NE(his.text(), "");
    EXPECT_EQ(rtotaglst_inq_ntag(grand), 2);
    {
        zarn::test::StderrCapture err;
        rtotaglst_link_parent(nullptr, child);
        EXPECT_NE(err.text().find("Assertion 'rtotaglst_link_parent: NULL parent or child' failed in "
                                  "source/rttaglst/rttaglst:"),
                  std::string::npos);
    }
    rtotaglst_destroy(other);
    rtotaglst_destroy(grand);
    EXPECT_EQ(target(root, "B1.C1.T"), "<none>");
    EXPECT_EQ(target(child, "C1.T"), "<none>");
    rtotaglst_destroy(child);
    rtotaglst_destroy(root);
}

TEST(TagList, NoneInTheChildWithdrawsExactlyItsPropagatedCopies) {
    zarn::test::HistoryCapture his;
    rtotaglst_t *root = rtotaglst_create(2), *child = rtotaglst_create(2), *grand = rtotaglst_create(2);
    rtotaglst_set_prefix(child, "B1.");
    rtotaglst_set_prefix(grand, "C1.");
    rtotaglst_link_parent(root, child);
    rtotaglst_link_parent(child, grand);
    rtotaglst_add_tag(root, "R1", "RV");
    rtotaglst_add_tag(root, "B1.Y", "ROOT.OWN");  // the root's own text equal to a future copy
    rtotaglst_add_tag(grand, "T", "TEMP");
    rtotaglst_add_tag(child, "X", "XV");
    rtotaglst_add_tag(child, "Y", "YV");
    EXPECT_EQ(his.text(), "Duplicate definition of alias Y in the one scope.\n");
    rtotaglst_add_tag(root, "R2", "RV2");
    // root: R1, B1.Y (own), B1.C1.T, B1.X, R2
    ASSERT_EQ(rtotaglst_inq_ntag(root), 5);

    EXPECT_EQ(rtotaglst_none(child), 1);  // keeps C1.T from the grandchild
    EXPECT_EQ(target(child, "C1.T"), "C1.TEMP");
    EXPECT_EQ(target(child, "X"), "<none>");
    EXPECT_EQ(target(root, "B1.X"), "<none>");
    EXPECT_EQ(target(root, "B1.Y"), "ROOT.OWN");  // defined in the root: never withdrawn
    EXPECT_EQ(target(root, "B1.C1.T"), "B1.C1.TEMP");
    EXPECT_EQ(rtotaglst_inq_ntag(root), 4);
    // Tag numbers after the withdrawn entry drop by one.
    EXPECT_EQ(rtotaglst_lookup(root, "R2"), 4);
    expect_consistent(root);
    expect_consistent(child);

    // rtotaglst_none on the root drops its own and keeps the inherited one.
    EXPECT_EQ(rtotaglst_none(root), 1);
    EXPECT_EQ(target(root, "B1.C1.T"), "B1.C1.TEMP");
    EXPECT_EQ(rtotaglst_lookup(root, "B1.C1.T"), 1);
    EXPECT_EQ(his.text(), "");

    // Destroying the middle list withdraws its copies and leaves the grandchild unlinked.
    rtotaglst_destroy(child);
    EXPECT_EQ(rtotaglst_inq_ntag(root), 0);
    EXPECT_EQ(target(grand, "T"), "TEMP");
    rtotaglst_link_parent(root, grand);  // allowed again: it has no parent now
    EXPECT_EQ(target(root, "C1.T"), "C1.TEMP");
    EXPECT_EQ(his.text(), "");
    rtotaglst_destroy(root);
    EXPECT_EQ(rtotaglst_add_tag(grand, "U", "UV"), 0);  // the parent is gone; nothing to propagate
    rtotaglst_destroy(grand);
}

TEST(TagList, DestroyingAChildKeepsTheParentsOtherAliasesResolvable) {
    rtotaglst_t *root = rtotaglst_create(4), *child = rtotaglst_create(4);
    rtotaglst_set_prefix(child, "B1.");
    rtotaglst_add_tag(root, "A0", "V0");
    rtotaglst_add_tag(child, "T", "TEMP");
    rtotaglst_link_parent(root, child);
    for (int i = 1; i < 50; ++i) {
        const std::string a = "A" + std::to_string(i), v = "V" + std::to_string(i);
        rtotaglst_add_tag(root, a.c_str(), v.c_str());
    }
    EXPECT_NE(printed(root).find(line("B1.T", "B1.TEMP", true)), std::string::npos);
    rtotaglst_destroy(child);
    EXPECT_EQ(rtotaglst_lookup(root, "B1.T"), 0);
    ASSERT_EQ(rtotaglst_inq_ntag(root), 50);
    for (int i = 0; i < 50; ++i) {
        const std::string a = "A" + std::to_string(i);
        EXPECT_EQ(target(root, a.c_str()), "V" + std::to_string(i));
    }
    expect_consistent(root);
    rtotaglst_destroy(root);
}

TEST(TagList, LinkingCopiesEntriesAndReportsDuplicates) {
    zarn::test::HistoryCapture his;
    rtotaglst_t *root = rtotaglst_create(1), *child = rtotaglst_create(1);
    rtotaglst_set_prefix(child, "B1.");
    rtotaglst_add_tag(root, "B1.T", "MINE");
    rtotaglst_add_tag(child, "T", "TEMP");
    rtotaglst_add_tag(child, "P", "PRES");
    rtotaglst_link_parent(root, child);
    EXPECT_EQ(his.text(), "Duplicate definition of alias T in the same scope.\n");
    EXPECT_EQ(target(root, "B1.T"), "MINE");
    EXPECT_EQ(target(root, "B1.P"), "B1.PRES");
    rtotaglst_destroy(child);
    EXPECT_EQ(target(root, "B1.T"), "MINE");
    EXPECT_EQ(rtotaglst_inq_ntag(root), 1);
    rtotaglst_destroy(root);
}

TEST(TagList, GrowthBeyondTheInitialCapacityKeepsEveryEntryFindable) {
    rtotaglst_t *root = rtotaglst_create(1), *child = rtotaglst_create(1);
    rtotaglst_set_prefix(child, "SUB.");
    rtotaglst_link_parent(root, child);
    const int n = 3000;
    for (int i = 0; i < n; ++i) {
        const std::string a = "T" + std::to_string(i), v = "BLOCK" + std::to_string(i % 7) + ".X";
        ASSERT_EQ(rtotaglst_add_tag(child, a.c_str(), v.c_str()), 0);
    }
    ASSERT_EQ(rtotaglst_inq_ntag(child), n);
    ASSERT_EQ(rtotaglst_inq_ntag(root), n);
    for (int i = 0; i < n; ++i) {
        const std::string a = "T" + std::to_string(i);
        ASSERT_EQ(rtotaglst_lookup(child, a.c_str()), i + 1);
        ASSERT_EQ(target(root, ("SUB." + a).c_str()), "SUB.BLOCK" + std::to_string(i % 7) + ".X");
    }
    expect_consistent(root);
    EXPECT_EQ(rtotaglst_none(child), 0);
    EXPECT_EQ(rtotaglst_inq_ntag(root), 0);
    rtotaglst_destroy(child);
    rtotaglst_destroy(root);
}

TEST(TagList, PropagatedTextsAreCutAt1024) {
    rtotaglst_t *root = rtotaglst_create(1), *child = rtotaglst_create(1);
    const std::string prefix(1020, 'P');
    rtotaglst_set_prefix(child, prefix.c_str());
    rtotaglst_link_parent(root, child);
    const std::string name(2000, 'N');
    rtotaglst_add_tag(child, "ABCDEFGH", name.c_str());
    EXPECT_EQ(rtotaglst_inq_varid(child, 1), name);  // kept whole where it is defined
    const char *key = rtotaglst_inq_tagid(root, 1);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(std::string(key), prefix + "ABCD");
    EXPECT_EQ(std::strlen(rtotaglst_inq_varid(root, 1)), 1024u);
    rtotaglst_destroy(child);
    EXPECT_EQ(rtotaglst_inq_ntag(root), 0);
    rtotaglst_destroy(root);
}

TEST(TagList, PrintingStopsOnCtrlC) {
    rtotaglst_t *l = rtotaglst_create(4);
    rtotaglst_add_tag(l, "A", "X");
    rtotaglst_add_tag(l, "B", "Y");
    rtosignal_set_ctrlc();
    EXPECT_EQ(printed(l), "");
    rtosignal_cancel_pending_ctrlc();
    EXPECT_EQ(printed(l).size(), 2 * line("A", "X", false).size());
    EXPECT_NE(printed(l).find(line("B", "Y", false)), std::string::npos);
    // An explicit pipe gets the lines instead of the history device.
    rtopipe *q = create_queue_rtopipe();
    zarn::test::HistoryCapture his;
    rtotaglst_print(q, l);
    EXPECT_EQ(his.text(), "");
    EXPECT_EQ(zarn::test::drain(q).size(), 2 * line("A", "X", false).size());
    rtodestroy(q);
    rtotaglst_destroy(l);
}

TEST(TagList, FortranForms) {
    zarn::test::HistoryCapture his;
    int64_t cap = 2;
    rtotaglst_t *l = RTOTAGLST_CREATE_F(&cap);
    ASSERT_NE(l, nullptr);
    char alias[12], name[16];
    std::memcpy(alias, "T1          ", 12);
    std::memcpy(name, "B1.TEMP         ", 16);
    EXPECT_EQ(RTOTAGLST_ADD_TAG_F(&l, alias, name, sizeof alias, sizeof name), 0);
    EXPECT_EQ(RTOTAGLST_ADD_TAG_F(&l, alias, name, sizeof alias, sizeof name), 1);
    EXPECT_EQ(RTOTAGLST_INQ_NTAG_F(&l), 1);
    EXPECT_EQ(target(l, "T1"), "B1.TEMP");
    EXPECT_EQ(RTOTAGLST_LOOKUP_F(&l, alias, sizeof alias), 1);

    char out[10];
    int64_t k = -1;
    RTOTAGLST_INQ_BY_TAG_F(&l, alias, out, &k, sizeof alias, sizeof out);
    EXPECT_EQ(k, 1);
    EXPECT_EQ(std::string(out, sizeof out), "B1.TEMP   ");
    char small[4];
    RTOTAGLST_INQ_BY_TAG_F(&l, alias, small, &k, sizeof alias, sizeof small);
    EXPECT_EQ(std::string(small, sizeof small), "B1.T");
    std::memcpy(alias, "NONE\0       ", 12);  // text ends at the NUL
    RTOTAGLST_INQ_BY_TAG_F(&l, alias, out, &k, sizeof alias, sizeof out);
    EXPECT_EQ(k, 0);
    EXPECT_EQ(std::string(out, sizeof out), std::string(10, ' '));

    rtopipe *none = nullptr;
    RTOTAGLST_PRINT_F(&none, &l);
    EXPECT_EQ(his.text(), line("T1", "B1.TEMP", false));
    EXPECT_EQ(RTOTAGLST_NONE_F(&l), 0);
    RTOTAGLST_DESTROY_F(&l);
    EXPECT_EQ(l, nullptr);
    RTOTAGLST_DESTROY_F(&l);  // a cleared handle is harmless
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
