// Tag lists: the alias rule, propagation up a three-level tree, withdrawal,
// growth, the 1024-character keys, printing, allocation failures and the caller
// who passes anything at all.
#include <climits>
#include <cstring>
#include <functional>
#include <string>

#include "hostile.h"
#include "platform/xalloc.h"
#include "zarnutils/rtcontext.h"
#include "zarnutils/rtsymtab.h"
#include "zarnutils/rttaglst.h"

namespace {

using std::string;
using std::to_string;
using zarn::test::seq;
using zarn::test::shown;

string target(rtotaglst_t *list, const string &alias) { return shown(rtotaglst_search_tags(list, alias.c_str())); }
string bad(const string &alias) {
    return "Bad alias name '" + alias + "'.  Alias names must be 40 characters or less, must start\n"
           "with A-Z, and contain only letters (A-Z), digits (0-9) and underbar (_).\n";
}
// Every entry is found under its own alias at its own tag number, the last one included.
void expect_consistent(rtotaglst_t *list) {
    for (int32_t k = 1; k <= rtotaglst_inq_ntag(list); ++k) {
        EXPECT_EQ(rtotaglst_lookup(list, rtotaglst_inq_tagid(list, k)), k);
        EXPECT_EQ(rtotaglst_inq_tag(list, k)->varid, rtotaglst_inq_varid(list, k));
    }
}
// One printed line: alias padded to 12, a blank, name padded and cut to 40.
string line(string alias, string name, bool inherited) {
    alias.resize(std::max<size_t>(alias.size(), 12), ' '), name.resize(40, ' ');
    return alias + " " + name + (inherited ? " (from subplant or superplant)\n" : "\n");
}

TEST(TagList, AliasRuleDuplicatesAndInquiry) {
    zarn::test::HistoryCapture his;
    rtotaglst_t *l = rtotaglst_create(2);
    // The rule applied is the model-name rule, wider than the refusal text says.
    for (const string &a : {string(40, 'A'), string("1ST"), string("$T(2).A"), string("T1"), string("Temp"), string("A#B"), string("t1")})
        rtotaglst_add_tag(l, a.c_str(), ("V" + a).c_str());
    EXPECT_EQ(his.text(), bad("Temp") + bad("A#B") + bad("t1"));
    EXPECT_EQ(rtotaglst_add_tag(l, "T1", "OTHER"), 1);  // the first definition stays
    EXPECT_EQ(seq({target(l, "T1"), to_string(rtotaglst_inq_ntag(l)), rtotaglst_inq_tagid(l, 4), rtotaglst_inq_varid(l, 2),
                   to_string(rtotaglst_lookup(l, "VT1"))}), "VT14T1V1ST0");  // names are not aliases
    EXPECT_EQ(rtotaglst_inq_tag(l, 3)->varid, rtsymtab_add("V$T(2).A"));  // interned
    char name[64] = "garbage";
    int32_t k = -1;
    rtotaglst_inq_by_tag(l, "1ST", name, &k);
    string got = string(name) + "/" + to_string(k);
    rtotaglst_inq_by_tag(l, "NOPE", name, &k);
    EXPECT_EQ(got + "," + name + "/" + to_string(k), "V1ST/2,/0");
    expect_consistent(l);
    rtotaglst_destroy(l);
}

// root <- child (prefix B1.) <- grand (prefix C1.): copies go up with both
// prefixes; none and destroy withdraw exactly the copies they made.
TEST(TagList, ThreeLevelTreePropagatesAndWithdraws) {
    zarn::test::HistoryCapture his;
    rtotaglst_t *root = rtotaglst_create(1), *child = rtotaglst_create(1), *grand = rtotaglst_create(1);
    rtotaglst_set_prefix(child, "B1."), rtotaglst_set_prefix(grand, "C1.");
    rtotaglst_link_parent(child, grand);  // linked before its aliases ...
    rtotaglst_add_tag(grand, "T", "TEMP"), rtotaglst_add_tag(root, "R1", "RV");
    rtotaglst_add_tag(root, "B1.Y", "ROOT.OWN"), rtotaglst_add_tag(root, "B1.Z", "ROOT.Z");  // the root's own
    rtotaglst_add_tag(child, "X", "XV"), rtotaglst_add_tag(child, "Z", "ZV");
    rtotaglst_link_parent(root, child);  // ... and after them: both ways propagate
    rtotaglst_add_tag(child, "Y", "YV"), rtotaglst_add_tag(root, "R2", "RV2");
    EXPECT_EQ(his.text(), "Duplicate definition of alias Z in the same scope.\n"
                          "Duplicate definition of alias Y in the one scope.\n");  // documented as is
    EXPECT_EQ(seq({target(root, "B1.C1.T"), target(root, "B1.X"), target(root, "C1.T"), to_string(rtotaglst_inq_ntag(root))}),
              "B1.C1.TEMPB1.XVNULL6");
    EXPECT_EQ(rtotaglst_inq_tag(root, rtotaglst_lookup(root, "B1.C1.T"))->inherited, 1);
    rtotaglst_print(nullptr, root);
    const string out = his.text();
    EXPECT_NE(out.find(line("R1", "RV", false)), string::npos) << out;
    EXPECT_NE(out.find(line("B1.C1.T", "B1.C1.TEMP", true)), string::npos) << out;
    EXPECT_EQ(out.size(), 4 * line("R1", "RV", false).size() + 2 * line("B1.X", "B1.XV", true).size());
    rtotaglst_link_parent(root, child);  // the same parent again: nothing happens
    rtotaglst_link_parent(grand, root);  // an ancestor below its descendant: refused
    EXPECT_EQ(his.text(), "!!rtotaglst_link_parent: a list cannot be linked below itself\n");
    EXPECT_EQ(rtotaglst_none(child), 1);  // keeps C1.T from the grandchild
    EXPECT_EQ(seq({target(root, "B1.X"), target(root, "B1.Y"), target(root, "B1.Z"), to_string(rtotaglst_lookup(root, "R2"))}),
              "NULLROOT.OWNROOT.Z5");  // defined in the root: never withdrawn; later numbers drop by one
    expect_consistent(root);
    EXPECT_EQ(rtotaglst_none(root), 1);  // drops its own, keeps the inherited one
    EXPECT_EQ(rtotaglst_lookup(root, "B1.C1.T"), 1);
    rtotaglst_destroy(child);  // withdraws its copies; the grandchild stays, unlinked
    EXPECT_EQ(rtotaglst_inq_ntag(root), 0);
    rtotaglst_link_parent(root, grand);
    EXPECT_EQ(target(root, "C1.T"), "C1.TEMP");
    rtotaglst_destroy(root);
    EXPECT_EQ(rtotaglst_add_tag(grand, "U", "UV") + rtotaglst_inq_ntag(grand), 2);
    EXPECT_EQ(his.text(), "");
    rtotaglst_destroy(grand);
}

TEST(TagList, GrowthTheKeyLimitAndPrintingStoppedByCtrlC) {
    rtotaglst_t *root = rtotaglst_create(1), *child = rtotaglst_create(1);
    rtotaglst_set_prefix(child, "SUB."), rtotaglst_link_parent(root, child), rtotaglst_add_tag(root, "A0", "V0");
    for (int i = 0; i < 3000; ++i) rtotaglst_add_tag(child, ("T" + to_string(i)).c_str(), ("B" + to_string(i % 7)).c_str());
    for (int i = 0; i < 3000; i += 7) EXPECT_EQ(target(root, "SUB.T" + to_string(i)), "SUB.B0");
    expect_consistent(root), expect_consistent(child);
    EXPECT_EQ(rtotaglst_none(child) * 10 + rtotaglst_inq_ntag(root), 1);
    // Propagated texts are cut at 1024 characters; the list itself keeps them whole.
    const string prefix(1020, 'P'), name(2000, 'N');
    rtotaglst_set_prefix(child, prefix.c_str()), rtotaglst_add_tag(child, "ABCDEFGH", name.c_str());
    EXPECT_EQ(rtotaglst_inq_varid(child, 1), name);
    EXPECT_EQ(rtotaglst_inq_tagid(root, 2), prefix + "ABCD");
    EXPECT_EQ(std::strlen(rtotaglst_inq_varid(root, 2)), 1024u);
    rtopipe *q = create_queue_rtopipe();
    rtosignal_set_ctrlc();
    rtotaglst_print(q, root);
    EXPECT_EQ(zarn::test::drain(q), "");
    rtosignal_cancel_pending_ctrlc();
    rtotaglst_print(q, root);  // an explicit pipe gets the lines
    EXPECT_EQ(zarn::test::drain(q).substr(0, 54), line("A0", "V0", false));
    rtodestroy(q), rtotaglst_destroy(child), rtotaglst_destroy(root);
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
    rtotaglst_t *parent = rtotaglst_create(4), *child = rtotaglst_create(1);
    rtotaglst_set_prefix(child, "B1."), rtotaglst_link_parent(parent, child);
    rtotaglst_add_tag(child, "T", "TEMP"), rtotaglst_add_tag(parent, "P", "PRES");
    const struct { std::function<int32_t()> call; int32_t result; const char *text; } rows[] = {
        {[&] { return rtotaglst_add_tag(child, "U", "UU"); }, 0, "!!rtotaglst_add_tag: Unable to allocate memory for alias U\n"},
        {[&] { return rtotaglst_none(parent); }, 2, "!!rtotaglst_none: Unable to allocate memory to withdraw aliases\n"},
        {[&] { return rtotaglst_destroy(child), 0; }, 0, "!!rtotaglst_destroy: Unable to allocate memory to withdraw aliases\n"},
    };
    for (const auto &row : rows) {
        zarn::failalloc_set(1);
        const int32_t r = row.call();
        zarn::failalloc_set(0);
        EXPECT_EQ(to_string(r) + his.text(), to_string(row.result) + row.text);
    }
    // The child is gone; what it had given the parent stays, nothing else changed.
    EXPECT_EQ(seq({to_string(rtotaglst_inq_ntag(parent)), target(parent, "B1.T"), target(parent, "P"), target(parent, "B1.U")}),
              "2B1.TEMPPRESNULL");
    rtotaglst_destroy(parent);
}

TEST(TagList, HostileCallerGetsMessagesNotCrashes) {
    const string big(100000, 'A'), a41(41, 'A');
    constexpr size_t kPrintfCut = 20479;  // longer texts are cut to the pipes' format buffer
    rtotaglst_t *l = rtotaglst_create(1);
    rtopipe *q = create_queue_rtopipe();
    char name[16] = "untouched";
    int32_t k = -9;
    string bad_index;
    for (int i = 0; i < 4; ++i)
        for (const char *fn : {"tagid", "varid", "tag"}) bad_index += "A(Illegal index passed to rtotaglst_inq_" + string(fn) + ")";
    const std::vector<zarn::test::HostileRow> rows = {
        {"rtotaglst_create(0 / -1 / INT_MIN / INT_MAX)", [] {
             string r;
             for (int32_t c : {0, -1, INT_MIN, INT_MAX}) {
                 rtotaglst_t *t = rtotaglst_create(c);
                 r += seq({to_string(t != nullptr), to_string(rtotaglst_add_tag(t, "A", "X")), to_string(rtotaglst_add_tag(t, "B", "Y")),
                           to_string(rtotaglst_lookup(t, "B"))});
                 rtotaglst_destroy(t);
             }
             return r;
         }, "1002100210021002||"},
        {"NULL list everywhere", [&] {
             rtotaglst_destroy(nullptr), rtotaglst_set_prefix(nullptr, "P."), rtotaglst_print(q, nullptr);
             rtotaglst_inq_by_tag(nullptr, "A", name, &k);
             return seq({to_string(rtotaglst_none(nullptr)), to_string(rtotaglst_inq_ntag(nullptr)), to_string(rtotaglst_lookup(nullptr, "A")),
                         shown(rtotaglst_search_tags(nullptr, "A")), to_string(k), "[", name, "]",
                         to_string(rtotaglst_add_tag(nullptr, "A", "X")), zarn::test::drain(q)});
         }, "000NULL0[]0|" + bad("A") + "|"},
        {"rtotaglst_link_parent(NULL, l), (l, NULL), (l, l)", [&] {
             rtotaglst_link_parent(nullptr, l), rtotaglst_link_parent(l, nullptr), rtotaglst_link_parent(l, l);
             return "";
         }, "|!!rtotaglst_link_parent: a list cannot be linked below itself\n"
            "|A(rtotaglst_link_parent: NULL parent or child)A(rtotaglst_link_parent: NULL parent or child)"},
        {"rtotaglst_add_tag(l, NULL / \"\" / 41 A / 10^5 A, X)", [&] {
             return seq({to_string(rtotaglst_add_tag(l, nullptr, "X")), to_string(rtotaglst_add_tag(l, "", "X")),
                         to_string(rtotaglst_add_tag(l, a41.c_str(), "X")), to_string(rtotaglst_add_tag(l, big.c_str(), "X")),
                         to_string(rtotaglst_inq_ntag(l))});
         }, "00000|" + bad("") + bad("") + bad(a41) + bad(big).substr(0, kPrintfCut) + "|A(rtoprintf: Overran it's buffer)"},
        {"rtotaglst_add_tag(l, A, NULL) twice, prefix NULL, NULL aliases and outputs", [&] {
             rtotaglst_set_prefix(l, nullptr);
             string r = seq({to_string(rtotaglst_add_tag(l, "A", nullptr)), to_string(rtotaglst_add_tag(l, "A", "Y")), "[",
                             shown(rtotaglst_search_tags(l, "A")), "]"});
             rtotaglst_inq_by_tag(l, nullptr, nullptr, nullptr), rtotaglst_inq_by_tag(l, "A", nullptr, &k);
             return r + seq({to_string(rtotaglst_lookup(l, nullptr)), shown(rtotaglst_search_tags(l, nullptr)), to_string(k)});
         }, "01[]0NULL1||"},
        {"tag numbers 0, -1, INT_MIN, INT_MAX", [&] {
             string r;
             for (int32_t i : {0, -1, INT_MIN, INT_MAX})
                 r += seq({shown(rtotaglst_inq_tagid(l, i)), shown(rtotaglst_inq_varid(l, i)),
                           shown(reinterpret_cast<const char *>(rtotaglst_inq_tag(l, i)))});
             return r;
         }, "NULLNULLNULLNULLNULLNULLNULLNULLNULLNULLNULLNULL||" + bad_index},
        {"rtotaglst_none twice, print to NULL pipe, destroy the parent before the child", [&] {
             string r = seq({to_string(rtotaglst_none(l)), to_string(rtotaglst_none(l))});
             rtotaglst_print(nullptr, l);
             rtotaglst_t *p = rtotaglst_create(1), *c = rtotaglst_create(1);
             rtotaglst_link_parent(p, c), rtotaglst_add_tag(c, "T", "TEMP"), rtotaglst_destroy(p);
             r += seq({to_string(rtotaglst_inq_ntag(c)), to_string(rtotaglst_add_tag(c, "U", "V"))});
             rtotaglst_destroy(c);
             return r;
         }, "0010||"},
        {"child already linked to a parent", [] {
             rtotaglst_t *p1 = rtotaglst_create(1), *p2 = rtotaglst_create(1), *c = rtotaglst_create(1);
             rtotaglst_link_parent(p1, c), rtotaglst_link_parent(p1, c), rtotaglst_link_parent(p2, c), rtotaglst_link_parent(c, p1);
             rtotaglst_destroy(c), rtotaglst_destroy(p1), rtotaglst_destroy(p2);
             return "";
         }, "|!!rtotaglst_link_parent: child already linked to a parent\n"
            "!!rtotaglst_link_parent: a list cannot be linked below itself\n|"},
        {"Fortran twins with NULL arguments and absent fields", [&] {
             char out[8];
             int64_t fk = -9;
             RTOTAGLST_DESTROY_F(nullptr), RTOTAGLST_PRINT_F(nullptr, nullptr), RTOTAGLST_INQ_BY_TAG_F(nullptr, "A", out, &fk, 1, 8);
             return seq({to_string(RTOTAGLST_NONE_F(nullptr)), to_string(RTOTAGLST_INQ_NTAG_F(nullptr)),
                         to_string(RTOTAGLST_LOOKUP_F(nullptr, "A", 1)), to_string(fk), "[", string(out, 8), "]",
                         to_string(RTOTAGLST_ADD_TAG_F(nullptr, "A", "X", 1, 1)), to_string(RTOTAGLST_ADD_TAG_F(&l, "\0\0\0\0", "X", 4, 1))});
         }, "0000[        ]00|" + bad("A") + bad("") + "|"},
        {"RTOTAGLST_CREATE_F(NULL / LLONG_MIN / LLONG_MAX), unterminated fields, destroyed twice", [] {
             const int64_t lo = LLONG_MIN, hi = LLONG_MAX;
             string r;
             for (const int64_t *c : {static_cast<const int64_t *>(nullptr), &lo, &hi}) {
                 rtotaglst_t *t = RTOTAGLST_CREATE_F(c);
                 char out[4];
                 int64_t fk = 0;
                 RTOTAGLST_ADD_TAG_F(&t, "AB  ", "TARGET", 4, 6), RTOTAGLST_INQ_BY_TAG_F(&t, "AB", out, &fk, 2, 4);
                 r += seq({to_string(RTOTAGLST_LOOKUP_F(&t, "AB", 2)), to_string(fk), string(out, 4), ","});
                 RTOTAGLST_DESTROY_F(&t), RTOTAGLST_DESTROY_F(&t);  // the handle was cleared
             }
             return r;
         }, "11TARG,11TARG,11TARG,||"},
    };
    zarn::test::run_hostile(rows);
    rtotaglst_destroy(l), rtodestroy(q);
}

}  // namespace
