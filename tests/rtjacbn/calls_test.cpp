// Refused Jacobian calls and their texts, records, searches and filters. The
// world: a head of capacity 10 whose 8 nonzeros are (k, 20 + k), and a window
// over its nonzeros 5..7 (first variable 7, first equation 3) holding 2.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "failsweep.h"
#include "hostile.h"
#include "zarnutils/rteqnlst.h"
#include "zarnutils/rtjacbn.h"

namespace {

struct World {
    rt_jac_t *head = rtojac_create(10);
    rt_jac_t *win = nullptr;
    World() {
        rtojac_set_nnz(head, 8);
        win = rtojac_create_embedded(3, head, 7, 3, 5);
        for (int32_t k = 1; k <= 8; ++k) rtojac_set_nz_coord(head, k, k, 20 + k);
        rtojac_set_nnz(win, 2);
    }
    ~World() {
        rtojac_destroy(&win);
        rtojac_destroy(&head);
    }
};

std::string str(double x) {
    char b[32];
    std::snprintf(b, sizeof b, "%g", x);
    return b;
}
std::string str(const std::string &s) { return s; }

// Readings joined by blanks.
template <class... T>
std::string line(T... parts) {
    std::string out;
    ((out += (out.empty() ? "" : " ") + str(parts)), ...);
    return out;
}

// Equation, variable, value and linear flag of nonzero k.
std::string nonzero(rt_jac_t *j, int32_t k) {
    const int32_t eqn = rtojac_inq_nz_eqnnum(j, k);
    const int32_t var = rtojac_inq_nz_varnum(j, k);
    double value = -1.0;
    rtojac_inq_nz_value(j, k, &value);
    const int linear = rtojac_inq_linear(j, k);
    return line(eqn, var, value, linear);
}

#define OOB(name, k, n) "!!" name ": Index out of bounds " #k " " #n "\n"

TEST(JacobianCalls, RefusalsPrintTheirTexts) {
    zarn::test::run_hostile({
        {"head setters outside 1..nnz",
         [] {
             World w;
             rtojac_set_nz_coord(w.head, 9, 1, 1);
             rtojac_set_nz_value(w.head, INT32_MAX, 1.0);
             rtojac_set_linear(w.head, INT32_MIN, 1);
             return "";
         },
         "|" OOB("head_seteqn", 9, 8) OOB("head_setvar", 9, 8) OOB("head_setval", 2147483647, 8)
             OOB("head_set_linear", -2147483648, 8) "|"},
        {"head inquiries outside 1..nnz give 0",
         [] {
             World w;
             return nonzero(w.head, 0);
         },
         "0 0 0 0|" OOB("head_inqeqn", 0, 8) OOB("head_inqvar", 0, 8) OOB("head_inqval", 0, 8)
             OOB("head_inq_linear", 0, 8) "|"},
        {"window setters outside its 1..nnz",
         [] {
             World w;
             rtojac_set_nz_coord(w.win, 3, 1, 1);
             rtojac_set_nz_varnum(w.win, -1, 1);
             rtojac_set_nz_value(w.win, 0, 1.0);
             rtojac_set_linear(w.win, INT32_MAX, 1);
             return "";
         },
         "|" OOB("embed_seteqn", 3, 2) OOB("embed_setvar", 3, 2) OOB("embed_setvar", -1, 2)
             OOB("embed_setval", 0, 2) OOB("embed_set_linear", 2147483647, 2) "|"},
        {"window inquiries outside its 1..nnz give 0",
         [] {
             World w;
             return nonzero(w.win, INT32_MIN);
         },
         "0 0 0 0|" OOB("embed_inqeqn", -2147483648, 2) OOB("embed_inqvar", -2147483648, 2)
             OOB("embed_inqval", -2147483648, 2) OOB("embed_inq_linear", -2147483648, 2) "|"},
        {"a window's nonzero beyond its head cut below it: the head's text with the head's index",
         [] {
             World w;
             rtojac_set_nnz(w.head, 5);
             rtojac_set_nz_value(w.win, 2, 4.0);
             return line(rtojac_inq_linear(w.win, 2));
         },
         "0|" OOB("head_setval", 6, 5) OOB("head_inq_linear", 6, 5) "|"},
        {"counts beyond the capacity or below 0",
         [] {
             World w;
             rtojac_set_nnz(w.head, 11);
             rtojac_set_nnz(w.win, INT32_MIN);
             return "";
         },
         "|!!generic_setnnz: Capacity exceeded 11 10\n"
         "!!generic_setnnz: Negative count -2147483648\n|"},
        {"capacities: a window beyond its parent's nnz, negative ones; a head's 0 is taken silently",
         [] {
             World w;
             rtojac_resize(w.win, 5);
             rtojac_resize(w.win, -1);
             rtojac_resize(w.head, INT32_MIN);
             rtojac_resize(w.head, 0);
             return "";
         },
         "|!!embed_resize: Parent is not big enough for capacity expansion.\n"
         "    New capacity: 5, parent's size: 8\n"
         "!!embed_resize: Negative capacity -1\n!!head_resize: Negative capacity -2147483648\n|"},
        {"creation: negative capacity, a parent too small, zero or negative first numbers",
         [] {
             World w;
             rt_jac_t *made[] = {rtojac_create(INT32_MIN),
                                 rtojac_create_embedded(4, w.head, 1, 1, 6),
                                 rtojac_create_embedded(1, w.head, 1, 0, 1),
                                 rtojac_create_embedded(1, nullptr, 1, 1, 1),
                                 rtojac_create_embedded(1, w.head, 1, INT32_MIN, 1)};
             std::string got;
             for (rt_jac_t *j : made) got += j != nullptr ? "+" : "-";
             return got;
         },
         "-----|!!rtojac_create: Negative capacity -2147483648\n"
         "!!rtojac_create_embedded: Parent (sized for 8 nonzeros out of 10) is not big enough for embedded "
         "Jacobian 4\n!!rtojac_create_embedded: Negative capacity or first number\n|"},
        {"a head of capacity 0 is made, silently",
         [] {
             rt_jac_t *empty = rtojac_create(0);
             const std::string got = line(empty != nullptr ? "made" : "none", rtojac_inq_capacity(empty));
             rtojac_destroy(&empty);
             return got;
         },
         "made 0||"},
        {"relocation: a head, a window past its parent's nnz, a shift below the first number",
         [] {
             World w;
             rtojac_relocate(w.head, 1, 0, 0);
             rtojac_relocate(w.win, 8, 0, 0);
             rtojac_relocate(w.win, 1, -7, 0);
             return "";
         },
         "|!! rtojac_head_relocate: relocate is not allowed for a head list\n"
         "!!rtojac_embedded_relocate: parent is not big enough\n"
         "!!rtojac_embedded_relocate: Bad first nonzero or shift (1 -7 0)\n|"},
        {"moves: negative counts, ranges beyond nnz",
         [] {
             World w;
             rtojac_move_items(w.head, 1, 2, -1);
             rtojac_move_items(w.head, 7, 1, 3);
             rtojac_move_items(w.win, 1, 2, INT32_MIN);
             rtojac_move_items(w.win, 1, 2, 2);
             return "";
         },
         "|!! rtojac_move_items: size < 0 (-1)\n"
         "!!rtojac_head_move_items: bad source or destination, source 7, dest 1, move size 3, list size 8"
         "!! rtojac_embed_move_items: size < 0 (-2147483648)\n"
         "!!rtojac_embed_move_items: bad source or destination, source 1, dest 2, move size 2, list size "
         "2\n|"},
        {"bulk numbers for a window beyond its head cut below it",
         [] {
             World w;
             const int64_t numbers[] = {1, 2};
             rtojac_set_nnz(w.head, 5);
             rtojac_set_rows(w.win, numbers);
             rtojac_set_columns(w.win, numbers);
             return "";
         },
         "|!!rtojac_set_rows: Window reaches beyond the nonzeros of its parent\n"
         "!!rtojac_set_columns: Window reaches beyond the nonzeros of its parent\n|"},
        {"bulk numbers without a Jacobian or without an array: the assertion lines",
         [] {
             World w;
             rtojac_set_rows(nullptr, nullptr);
             rtojac_set_columns(w.win, nullptr);
             return "";
         },
         "||A(rtojac_set_rows: NULL jacobian)A(bulk numbers: NULL array)"},
        {"a missing Jacobian in a search: each search's assertion line",
         [] {
             const int32_t eqn = rtojac_match_eqn_regexp(nullptr, nullptr, 0);
             return line(eqn, rtojac_match_var_regexp(nullptr, nullptr, 0));
         },
         "0 0||A(rtojac_match_eqn_regexp: jacobian is NULL)A(rtojac_match_var_regexp: jacobian is NULL)"},
        {"a NULL handle: inquiries give 0, silently",
         [] {
             return line(nonzero(nullptr, 1), rtojac_inq_nnz(nullptr), rtojac_inq_capacity(nullptr),
                         rtojac_size(nullptr), rtojac_capacity(nullptr), rtojac_rowoffset(nullptr),
                         rtojac_coloffset(nullptr));
         },
         "0 0 0 0 0 0 0 0 0 0||"},
    });
}

// The head keeps a number set through a window as a 32-bit value, sign
// extended: the window's offset is added within 32 bits.
// What a failing allocation leaves: made is the store a create gave (NULL
// when none), capacity the store's capacity after the call.
struct Failed {
    rt_jac_t *made;
    int32_t capacity;
    int64_t copy;
};
Failed g_failed;

// The number and value arrays come from the plex allocator, whose failure
// raises to the caller once the call has freed what it made (the sanitizer
// build finds a leak); only the linear flags are refused with their text.
TEST(JacobianCalls, PlexFailuresRaiseTheLinearFlagsAreRefused) {
    static World *world = nullptr;
    const struct {
        const char *name;
        long failing;
        void (*op)();
        bool raised;
        int32_t capacity;
        const char *text;  // when not raised
    } rows[] = {
        {"create: the variable numbers", 3, [] { g_failed.made = rtojac_create(3); }, true, 0, ""},
        {"create: the values", 4, [] { g_failed.made = rtojac_create(3); }, true, 0, ""},
        {"create: the linear flags", 5, [] { g_failed.made = rtojac_create(3); }, false, 0,
         "!!rtojac_create: Unable to allocate memory for Jacobian 3\n"},
        {"growing: the equation numbers", 1, [] { rtojac_resize(world->head, 20); }, true, 10, ""},
        {"growing: the values", 3, [] { rtojac_resize(world->head, 20); }, true, 10, ""},
        {"growing: the linear flags", 4, [] { rtojac_resize(world->head, 20); }, false, 10,
         "!!head_resize: Jacobian resize failed 20"},
        {"a copy of a window's equation numbers", 1,
         [] {
             int64_t index = 0, copy = 1;
             g_failed.copy = RTOJAC_ZARN_LBIRN(&world->win, &index, &copy);
         },
         true, 3, ""},
    };
    for (const auto &row : rows) {
        World w;
        world = &w;
        g_failed = {nullptr, 0, -1};
        zarn::test::HistoryCapture his;
        const bool raised = zarn::test::raised_when_failing(row.failing, row.op);
        const std::string text = his.text();
        EXPECT_EQ(raised, row.raised) << row.name << ": raised";
        EXPECT_EQ(g_failed.made, nullptr) << row.name << ": nothing made";
        EXPECT_EQ(g_failed.copy, -1) << row.name << ": no copy handed out";
        const int32_t capacity = row.capacity == 3 ? rtojac_capacity(w.win) : rtojac_capacity(w.head);
        if (row.capacity != 0) {
            EXPECT_EQ(capacity, row.capacity) << row.name << ": capacity kept";
        }
        if (row.raised) {
            EXPECT_EQ(text.rfind("!!", 0), 0u) << row.name << ": the allocator's report first";
            EXPECT_EQ(text.find("!!", 2), std::string::npos) << row.name << ": and no text of the store";
        } else {
            EXPECT_EQ(text, row.text) << row.name << ": text";
        }
    }
}

TEST(JacobianCalls, NumbersSetThroughAWindowWrapWithin32Bits) {
    World w;
    rtojac_set_nz_eqnnum(w.win, 1, INT32_MAX);
    rtojac_set_nz_coord(w.win, 2, 1, INT32_MAX);
    EXPECT_EQ(rtojac_rowptr(w.head)[4], INT32_MIN + 1) << "equation INT32_MAX plus the window's offset 2";
    EXPECT_EQ(rtojac_colptr(w.head)[5], INT32_MIN + 5) << "variable INT32_MAX plus the window's offset 6";
}

// A filter's answer for one record and the answer it should give.
struct FilterRow {
    const char *what;
    int got;
    int expect;
};

TEST(JacobianCalls, LineageAndShape) {
    World w;
    rt_jac_t *parent = nullptr, *none = w.win;
    rtojac_parent(w.win, &parent);
    rtojac_parent(w.head, &none);
    EXPECT_EQ(parent, w.head);
    EXPECT_EQ(none, nullptr) << "a head has no parent";
    EXPECT_EQ(line(rtojac_parent_check(w.head, w.win), rtojac_parent_check(w.win, w.head),
                   rtojac_parent_check(w.head, nullptr)),
              "1 0 0");
    EXPECT_EQ(line(rtojac_size(w.win), rtojac_capacity(w.win)), "2 3") << "the window's size and capacity";
    rtojac_destroy(&w.win);
    EXPECT_EQ(w.win, nullptr) << "destroying clears the handle";
}

TEST(JacobianCalls, RecordsSearchesAndFilters) {
    World w;
    rtvarlst_t *vars = rtovarlst_create(30);
    rtattrdict_t *eqns = rtoeqnlst_create(9);
    rtovarlst_set_nvar(vars, 30);
    rtoeqnlst_set_neqn(eqns, 9);
    for (int32_t k = 1; k <= 30; ++k) rtovarlst_addvar(vars, k, ("X" + std::to_string(k)).c_str());
    for (int32_t k = 1; k <= 9; ++k) rtoeqnlst_addeqn(eqns, k, ("E" + std::to_string(k)).c_str());
    rtojac_set_nz_coord(w.win, 1, 1, 2);  // the head's equation 3, variable 8
    rtojac_set_nz_value(w.win, 1, 1.5);
    rtojac_set_linear(w.win, 1, 1);
    rt_jac_nz rec;
    std::memset(&rec, 'x', sizeof rec);
    rec.mask = RT_JAC_NZ_EQNNAME | RT_JAC_NZ_VARNAME | RT_JAC_NZ_VALUE | RT_JAC_NZ_LINEAR;
    rtojac_inq_nz(vars, eqns, w.win, 1, &rec);
    EXPECT_EQ(line(rec.eqnname, rec.varname, rec.eqnnum, rec.varnum, rec.value, line(rec.linear)),
              "E1 X2 1 2 1.5 1")
        << "names from the lists by the window's local numbers";
    EXPECT_EQ(rec.eqnname[ZARN_NAME_MAX] + rec.varname[ZARN_NAME_MAX], 0)
        << "each name field's last byte cleared";
    rec.mask = RT_JAC_NZ_VALUE;
    rec.value = 0.0;
    rtojac_inq_nz(vars, eqns, w.win, 1, &rec);
    EXPECT_EQ(str(rec.value), "1.5") << "the value asked for alone";

    ASSERT_EQ(re_comp("^X2[26]$"), nullptr);
    const int32_t first = rtojac_match_var_regexp(w.head, vars, -3);
    EXPECT_EQ(
        line(first, rtojac_match_var_regexp(w.head, vars, first), rtojac_match_var_regexp(w.win, vars, 0)),
        "2 6 0")
        << "X22 and X26; the window's variables are X2 and X20";
    EXPECT_EQ(rtojac_match_var_regexp(w.head, vars, INT_MAX), 0) << "no nonzero after the largest start";
    ASSERT_EQ(re_comp("^E[34]$"), nullptr);
    EXPECT_EQ(rtojac_match_eqn_regexp(w.head, eqns, 0), 3) << "E3";
    re_free();
    EXPECT_EQ(rtojac_match_eqn_regexp(w.head, eqns, 0), 0) << "no pattern kept";

    hs_regexp *x2 = hs_regcomp("X2"), *e1 = hs_regcomp("E1");
    const FilterRow filters[] = {
        {"always", rtojac_filter_always_true(nullptr, nullptr), 1},
        {"var regexp", rtojac_filter_var_match_regexp(&rec, x2), 1},
        {"var name", rtojac_filter_var_match_name(&rec, "X2"), 1},
        {"var name, its first letter only", rtojac_filter_var_match_name(&rec, "X"), 0},
        {"var index", rtojac_filter_var_match_index(&rec, 2), 1},
        {"eqn regexp", rtojac_filter_eqn_match_regexp(&rec, e1), 1},
        {"eqn regexp without a record", rtojac_filter_eqn_match_regexp(nullptr, e1), 0},
        {"eqn name", rtojac_filter_eqn_match_name(&rec, "E1"), 1},
        {"eqn name, none given", rtojac_filter_eqn_match_name(&rec, nullptr), 0},
        {"eqn index", rtojac_filter_eqn_match_index(&rec, 1), 1},
    };
    for (const FilterRow &f : filters) EXPECT_EQ(f.got, f.expect) << f.what;
    hs_regfree(x2);
    hs_regfree(e1);
    rtoeqnlst_destroy(&eqns);
    rtovarlst_destroy_c(&vars);
}

}  // namespace
