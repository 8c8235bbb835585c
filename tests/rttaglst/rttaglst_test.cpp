// Tag lists: the alias rule, growth, propagation up a three-level tree, withdrawal, the
// 1024-character keys, printing, allocation failures and the caller who passes anything at all.
#include <climits>
#include <cstring>
#include <string>

#include "hostile.h"
#include "platform/xalloc.h"
#include "zarnutils/rtcontext.h"
#include "zarnutils/rtsymtab.h"
#include "zarnutils/rttaglst.h"

namespace {

using std::string, std::to_string;
using namespace zarn::test;

string target(rtotaglst_t *list, const string &alias) {
    return shown(rtotaglst_search_tags(list, alias.c_str()));
}
string bad(const string &alias) {
    return "Bad alias name '" + alias +
           "'.  Alias names must be 40 characters or less, must start\n"
           "with A-Z, and contain only letters (A-Z), digits (0-9) and underbar (_).\n";
}
// Every entry is found under its own alias at its own tag number, the last one included.
void expect_consistent(rtotaglst_t *l) {
    for (int32_t k = 1; k <= rtotaglst_inq_ntag(l); ++k) {
        EXPECT_EQ(rtotaglst_lookup(l, rtotaglst_inq_tagid(l, k)), k) << k;
        EXPECT_EQ(rtotaglst_inq_tag(l, k)->varid, rtotaglst_inq_varid(l, k)) << k;
    }
}

TEST(TagList, AliasRuleDuplicatesInquiryAndGrowth) {
    HistoryCapture his;
    rtotaglst_t *l = rtotaglst_create(2);
    // The rule applied is the model-name rule, wider than the refusal text says.
    for (const string &a : {string(40, 'A'), string("1ST"), string("$T(2).A"), string("T1"), string("Temp"),
                            string("A#B"), string("t1")})
        rtotaglst_add_tag(l, a.c_str(), ("V" + a).c_str());
    for (int i = 0; i < 40; ++i)
        rtotaglst_add_tag(l, ("G" + to_string(i)).c_str(), ("N" + to_string(i)).c_str());
    EXPECT_EQ(his.text(), bad("Temp") + bad("A#B") + bad("t1"));
    EXPECT_EQ(seq({to_string(rtotaglst_add_tag(l, "T1", "OTHER")), target(l, "T1"), target(l, "G39"),
                   to_string(rtotaglst_inq_ntag(l)), rtotaglst_inq_tagid(l, 4), rtotaglst_inq_varid(l, 2),
                   to_string(rtotaglst_lookup(l, "VT1"))}),
              "1VT1N3944T1V1ST0");  // the first definition stays; names are not aliases
    EXPECT_EQ(rtotaglst_inq_tag(l, 3)->varid, rtsymtab_add("V$T(2).A"));  // interned
    char a[64] = "garbage", b[64] = "garbage";  // the outputs of a hit and of a miss
    int32_t ka = -1, kb = -1;
    rtotaglst_inq_by_tag(l, "1ST", a, &ka);
    rtotaglst_inq_by_tag(l, "NOPE", b, &kb);
    EXPECT_EQ(seq({a, "/", to_string(ka), ",", b, "/", to_string(kb)}), "V1ST/2,/0");
    expect_consistent(l);
    rtotaglst_destroy(l);
}

// root <- child (prefix B1.) <- grand (prefix C1.): none and destroy withdraw exactly the copies they made.
TEST(TagList, ThreeLevelTreePropagatesWithdrawsAndPrints) {
    HistoryCapture his;
    rtotaglst_t *root = rtotaglst_create(1), *child = rtotaglst_create(1), *grand = rtotaglst_create(1);
    rtotaglst_set_prefix(child, "B1.");
    rtotaglst_set_prefix(grand, "C1.");
    rtotaglst_link_parent(child, grand);  // linked before its aliases ...
    rtotaglst_add_tag(grand, "T", "TEMP");
    rtotaglst_add_tag(root, "R1", "RV");
    rtotaglst_add_tag(root, "B1.Y", "ROOT.OWN");
    rtotaglst_add_tag(root, "B1.Z", "ROOT.Z");  // the root's own
    rtotaglst_add_tag(child, "X", "XV");
    rtotaglst_add_tag(child, "Z", "ZV");
    rtotaglst_link_parent(root, child);  // ... and after them: both ways propagate
    rtotaglst_add_tag(child, "Y", "YV");
    rtotaglst_add_tag(root, "R2", "RV2");
    EXPECT_EQ(his.text(),
              "Duplicate definition of alias Z in the same scope.\n"
              "Duplicate definition of alias Y in the one scope.\n");  // documented as is
    EXPECT_EQ(seq({target(root, "B1.C1.T"), target(root, "B1.X"), target(root, "C1.T"),
                   to_string(rtotaglst_inq_ntag(root)),
                   to_string(rtotaglst_inq_tag(root, rtotaglst_lookup(root, "B1.C1.T"))->inherited)}),
              "B1.C1.TEMPB1.XVNULL61");
    // The same parent again: nothing happens; another parent, or an ancestor below its descendant: refused.
    rtotaglst_link_parent(root, child);
    rtotaglst_link_parent(grand, child);
    rtotaglst_link_parent(grand, root);
    EXPECT_EQ(his.text(),
              "!!rtotaglst_link_parent: child already linked to a parent\n"
              "!!rtotaglst_link_parent: a list cannot be linked below itself\n");
    EXPECT_EQ(
        seq({to_string(rtotaglst_none(child)), target(root, "B1.X"), target(root, "B1.Y"),
             target(root, "B1.Z"), to_string(rtotaglst_lookup(root, "R2"))}),
        "1NULLROOT.OWNROOT.Z5");  // keeps C1.T; the root's own are never withdrawn; later numbers drop by one
    expect_consistent(root);
    EXPECT_EQ(rtotaglst_none(root) * 10 + rtotaglst_lookup(root, "B1.C1.T"),
              11);  // drops its own, keeps the inherited one
    rtotaglst_destroy(child);
    rtotaglst_link_parent(root, grand);  // the grandchild outlives its parent; linked again
    rtopipe *q = create_queue_rtopipe();
    rtosignal_set_ctrlc();
    rtotaglst_print(q, root);
    rtosignal_cancel_pending_ctrlc();  // prints nothing
    rtotaglst_print(nullptr, root);
    RTOTAGLST_PRINT_F(&q, &grand);  // through the Fortran entry: alias padded to 12, name to 40
    EXPECT_EQ(his.text() + drain(q), "C1.T         C1.TEMP" + string(33, ' ') +
                                         " (from subplant or superplant)\nT            TEMP" +
                                         string(36, ' ') + "\n");
    rtotaglst_destroy(root);  // the parent before its child
    EXPECT_EQ(rtotaglst_add_tag(grand, "U", "UV") + rtotaglst_inq_ntag(grand), 2);
    // Propagated texts are cut at 1024 characters; the list itself keeps them whole.
    const string prefix(1020, 'P'), name(2000, 'N');
    rtotaglst_set_prefix(grand, prefix.c_str());
    rtotaglst_add_tag(grand, "ABCDEFGH", name.c_str());
    rtotaglst_link_parent(root = rtotaglst_create(1), grand);
    EXPECT_EQ(seq({rtotaglst_inq_varid(grand, 3), rtotaglst_inq_tagid(root, 3)}), name + prefix + "ABCD");
    EXPECT_EQ(std::strlen(rtotaglst_inq_varid(root, 3)) + his.text().size(), 1024u);
    rtotaglst_destroy(grand);
    rtotaglst_destroy(root);
    rtodestroy(q);
}

// The documented message when an allocation fails; the lists are left as they were.
TEST(TagList, AllocationFailures) {
    HistoryCapture his;
    for (long n : {1, 2}) {
        zarn::failalloc_set(n);
        EXPECT_EQ(rtotaglst_create(4), nullptr) << n;  // the record, its entries
    }
    rtotaglst_t *parent = rtotaglst_create(4), *child = rtotaglst_create(1);
    rtotaglst_set_prefix(child, "B1.");
    rtotaglst_link_parent(parent, child);
    rtotaglst_add_tag(child, "T", "TEMP");
    rtotaglst_add_tag(parent, "P", "PRES");
    const string no = "Unable to allocate memory";
    const auto failing = [&](int32_t r) {
        zarn::failalloc_set(0);
        return to_string(r) + his.text();
    };
    zarn::failalloc_set(1);
    const int32_t added = rtotaglst_add_tag(child, "U", "UU");
    EXPECT_EQ(failing(added), "0!!rtotaglst_add_tag: " + no + " for alias U\n");
    zarn::failalloc_set(1);
    const int32_t withdrawn = rtotaglst_none(parent);
    EXPECT_EQ(failing(withdrawn), "2!!rtotaglst_none: " + no + " to withdraw aliases\n");
    EXPECT_EQ(target(parent, "B1.U"), "NULL");  // the refused add gave the parent nothing
    rtotaglst_destroy(child);
    rtotaglst_destroy(parent);
    // A child destroyed while its aliases cannot be withdrawn from the parent: the child is gone, what it had
    // given the parent stays, nothing else changed, whichever allocation of the withdrawal fails.
    const char *const failing_allocation[] = {"the child's keys", "the parent's withdrawn flags",
                                              "the keys passed further up"};
    for (int n = 1; n <= 3; ++n) {
        parent = rtotaglst_create(4);
        child = rtotaglst_create(1);
        rtotaglst_set_prefix(child, "B1.");
        rtotaglst_link_parent(parent, child);
        rtotaglst_add_tag(child, "T", "TEMP");
        rtotaglst_add_tag(parent, "P", "PRES");
        zarn::failalloc_set(n);
        rtotaglst_destroy(child);
        EXPECT_EQ(failing(0), "0!!rtotaglst_destroy: " + no + " to withdraw aliases\n")
            << failing_allocation[n - 1];
        EXPECT_EQ(seq({to_string(rtotaglst_inq_ntag(parent)), target(parent, "B1.T"), target(parent, "P")}),
                  "2B1.TEMPPRES")
            << failing_allocation[n - 1];
        rtotaglst_destroy(parent);
    }
}

TEST(TagList, HostileCallerGetsMessagesNotCrashes) {
    const string big(100000, 'A'), a41(41, 'A');
    constexpr size_t kPrintfCut = 20479;  // longer texts are cut to the pipes' format buffer
    rtotaglst_t *l = rtotaglst_create(1);
    rtopipe *q = create_queue_rtopipe();
    char name[16] = "untouched", out[8];
    int32_t k = -9;
    int64_t fk = -9, lo = LLONG_MIN, hi = LLONG_MAX;
    const string bad_index =
        "A(Illegal index passed to rtotaglst_inq_tagid)A(Illegal index passed to rtotaglst_inq_varid)"
        "A(Illegal index passed to rtotaglst_inq_tag)";
    const auto add = [&](const char *alias, const char *to) {
        return to_string(rtotaglst_add_tag(l, alias, to));
    };
    const std::vector<HostileRow> rows = {
        {"create(0 / -1 / INT_MIN / INT_MAX), RTOTAGLST_CREATE_F(NULL / LLONG_MIN / LLONG_MAX), destroyed "
         "twice",
         [&] {
             string r;
             for (rtotaglst_t *t : {rtotaglst_create(0), rtotaglst_create(-1), rtotaglst_create(INT_MIN),
                                    rtotaglst_create(INT_MAX), RTOTAGLST_CREATE_F(nullptr),
                                    RTOTAGLST_CREATE_F(&lo), RTOTAGLST_CREATE_F(&hi)}) {
                 RTOTAGLST_ADD_TAG_F(&t, "AB  ", "TARGET", 4, 6);
                 rtotaglst_add_tag(t, "B", "Y");
                 RTOTAGLST_INQ_BY_TAG_F(&t, "AB", out, &fk, 2, 4);
                 r += to_string(RTOTAGLST_LOOKUP_F(&t, "AB", 2) + rtotaglst_lookup(t, "B")) + string(out, 4) +
                      to_string(fk);
                 RTOTAGLST_DESTROY_F(&t);
                 RTOTAGLST_DESTROY_F(&t);  // the handle was cleared
             }
             return r;
         },
         "3TARG13TARG13TARG13TARG13TARG13TARG13TARG1||"},
        {"NULL list everywhere, C and Fortran; link_parent(NULL, l), (l, NULL), (l, l); prefix NULL",
         [&] {
             rtotaglst_link_parent(nullptr, l);
             rtotaglst_link_parent(l, nullptr);
             rtotaglst_link_parent(l, l);
             rtotaglst_set_prefix(l, nullptr);
             rtotaglst_destroy(nullptr);
             rtotaglst_set_prefix(nullptr, "P.");
             rtotaglst_print(q, nullptr);
             rtotaglst_inq_by_tag(nullptr, "A", name, &k);
             RTOTAGLST_DESTROY_F(nullptr);
             RTOTAGLST_PRINT_F(nullptr, nullptr);
             RTOTAGLST_INQ_BY_TAG_F(nullptr, "A", out, &fk, 1, 8);
             return seq(
                 {to_string(rtotaglst_none(nullptr)), to_string(rtotaglst_inq_ntag(nullptr)),
                  to_string(rtotaglst_lookup(nullptr, "A")), shown(rtotaglst_search_tags(nullptr, "A")),
                  to_string(k), "[", name, "]", to_string(rtotaglst_add_tag(nullptr, "A", "X")), drain(q),
                  to_string(RTOTAGLST_NONE_F(nullptr)), to_string(RTOTAGLST_INQ_NTAG_F(nullptr)),
                  to_string(fk), "[", string(out, 8), "]", to_string(RTOTAGLST_LOOKUP_F(nullptr, "A", 1)),
                  to_string(RTOTAGLST_ADD_TAG_F(nullptr, "A", "X", 1, 1))});
         },
         "000NULL0[]0000[        ]00|!!rtotaglst_link_parent: a list cannot be linked below itself\n" +
             bad("A") + bad("A") +
             "|A(rtotaglst_link_parent: NULL parent or child)A(rtotaglst_link_parent: NULL parent or child)"},
        {"add_tag(l, NULL / \"\" / NUL field / 41 A / 10^5 A, X), (l, A, NULL) twice under a NULL prefix",
         [&] {
             return seq({add(nullptr, "X"), add("", "X"),
                         to_string(RTOTAGLST_ADD_TAG_F(&l, "\0\0\0\0", "X", 4, 1)), add(a41.c_str(), "X"),
                         add(big.c_str(), "X"), add("A", nullptr), add("A", "Y"), "[",
                         shown(rtotaglst_search_tags(l, "A")), "]"});
         },
         "0000001[]|" + bad("") + bad("") + bad("") + bad(a41) + bad(big).substr(0, kPrintfCut) +
             "|A(rtoprintf: Overran it's buffer)"},
        {"NULL aliases and outputs; tag numbers 0, -1, INT_MIN, INT_MAX",
         [&] {
             rtotaglst_inq_by_tag(l, nullptr, nullptr, nullptr);
             rtotaglst_inq_by_tag(l, "A", nullptr, &k);
             string r = seq({to_string(rtotaglst_lookup(l, nullptr)),
                             shown(rtotaglst_search_tags(l, nullptr)), to_string(k)});
             for (int32_t i : {0, -1, INT_MIN, INT_MAX})
                 r += seq({shown(rtotaglst_inq_tagid(l, i)), shown(rtotaglst_inq_varid(l, i)),
                           shown(reinterpret_cast<const char *>(rtotaglst_inq_tag(l, i)))});
             return r;
         },
         "0NULL1NULLNULLNULLNULLNULLNULLNULLNULLNULLNULLNULLNULL||" + bad_index + bad_index + bad_index +
             bad_index},
    };
    run_hostile(rows);
    rtotaglst_destroy(l);
    rtodestroy(q);
}

}  // namespace
