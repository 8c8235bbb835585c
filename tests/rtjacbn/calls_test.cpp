// Jacobian calls as tables of "result|history|assertion lines" on a head of
// capacity 10 with 8 nonzeros and a window over its nonzeros 5..7 (first
// equation 3, first variable 7) holding 2; the Fortran copy rule; records,
// searches and filters; allocation failures.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "hostile.h"
#include "platform/xalloc.h"
#include "zarnutils/rteqnlst.h"
#include "zarnutils/rtjacbn.h"
#include "zarnutils/zarnmalloc.h"

namespace {

using zarn::test::HistoryCapture;

struct World {
    rt_jac_t *head = rtojac_create(10);
    rt_jac_t *win = nullptr;
    World() {
        rtojac_set_nnz(head, 8);
        win = rtojac_create_embedded(3, head, 7, 3, 5);
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

// Readings joined by blanks (evaluated in no set order: readings only).
template <class... T>
std::string line(T... parts) {
    std::string out;
    ((out += (out.empty() ? "" : " ") + str(parts)), ...);
    return out;
}

// Every reading of nonzero k: equation, variable, value, linear flag.
std::string nonzero(rt_jac_t *j, int32_t k) {
    const int32_t eqn = rtojac_inq_nz_eqnnum(j, k);
    const int32_t var = rtojac_inq_nz_varnum(j, k);
    double value = -1.0;
    rtojac_inq_nz_value(j, k, &value);
    const int linear = rtojac_inq_linear(j, k);
    return line(eqn, var, value, linear);
}

std::string shape(rt_jac_t *j) { return line(rtojac_inq_nnz(j), rtojac_inq_capacity(j)); }

void run_rows(std::vector<std::pair<const char *, std::function<std::string(World &)>>> calls,
              std::vector<std::string> expect) {
    std::vector<zarn::test::HostileRow> rows;
    for (size_t n = 0; n < calls.size(); ++n) {
        auto run = calls[n].second;
        rows.push_back({calls[n].first,
                        [run] {
                            World w;
                            return run(w);
                        },
                        expect[n]});
    }
    zarn::test::run_hostile(rows);
}

#define OOB(name, k, n) "!!" name ": Index out of bounds " #k " " #n "\n"

TEST(JacobianCalls, RefusalsPrintTheirTextsAndChangeNothing) {
    run_rows(
        {
            {"head setters beyond nnz",
             [](World &w) {
                 rtojac_set_nz_coord(w.head, 9, 1, 1);
                 rtojac_set_nz_value(w.head, 9, 1.0);
                 rtojac_set_linear(w.head, 0, 1);
                 return shape(w.head);
             }},
            {"head inquiries beyond nnz give 0", [](World &w) { return nonzero(w.head, 9); }},
            {"window setters beyond its nnz",
             [](World &w) {
                 rtojac_set_nz_coord(w.win, 3, 1, 1);
                 rtojac_set_nz_value(w.win, 0, 1.0);
                 rtojac_set_linear(w.win, 3, 1);
                 return nonzero(w.head, 7);
             }},
            {"window inquiries beyond its nnz give 0", [](World &w) { return nonzero(w.win, 3); }},
            {"a window's index refused by a parent cut below it",
             [](World &w) {
                 rtojac_set_nnz(w.head, 5);
                 rtojac_set_nz_value(w.win, 2, 4.0);
                 return nonzero(w.win, 1);
             }},
            {"counts beyond the capacity or below 0",
             [](World &w) {
                 rtojac_set_nnz(w.head, 11);
                 rtojac_set_nnz(w.win, -1);
                 rtojac_set_nnz(w.win, 3);
                 return line(shape(w.head), shape(w.win));
             }},
            {"a window grows while its parent's nnz covers it, and no further",
             [](World &w) {
                 rtojac_resize(w.win, 5);
                 const std::string refused = shape(w.win);
                 rtojac_resize(w.win, 4);
                 rtojac_resize(w.head, -1);
                 return line(refused, shape(w.win), shape(w.head));
             }},
            {"creation: negative capacity, parent too small, covered exactly, zero or negative firsts",
             [](World &w) {
                 rt_jac_t *made[] = {rtojac_create(-1),
                                     rtojac_create_embedded(5, w.head, 1, 1, 5),
                                     rtojac_create_embedded(4, w.head, 1, 1, 5),
                                     rtojac_create_embedded(1, w.head, 0, 1, 1),
                                     rtojac_create_embedded(1, nullptr, 1, 1, 1),
                                     rtojac_create_embedded(1, w.head, 1, -1, 1)};
                 std::string got;
                 for (rt_jac_t *&j : made) {
                     got += j != nullptr ? "+" : "-";
                     rtojac_destroy(&j);
                 }
                 return got;
             }},
            {"relocation: a head, a window past its parent's nnz or just fitting, a bad start or shift",
             [](World &w) {
                 rtojac_relocate(w.head, 1, 0, 0);
                 rtojac_relocate(w.win, 8, 0, 0);
                 rtojac_relocate(w.win, 0, 0, 0);
                 rtojac_relocate(w.win, 1, -7, 0);
                 rtojac_relocate(w.win, 7, 1, -2);
                 return line(rtojac_rowoffset(w.win), rtojac_coloffset(w.win),
                             rtojac_rowptr(w.win) - rtojac_rowptr(w.head));
             }},
            {"moves: negative counts, ranges beyond nnz",
             [](World &w) {
                 rtojac_move_items(w.head, 1, 2, -1);
                 rtojac_move_items(w.head, 7, 1, 3);
                 rtojac_move_items(w.win, 1, 2, -1);
                 rtojac_move_items(w.win, 1, 2, 2);
                 return nonzero(w.head, 1);
             }},
            {"renumbering outside the window, bulk numbers beyond a parent cut below",
             [](World &w) {
                 const int64_t rows[] = {1, 2};
                 rtojac_renumber(w.win, 1, 3, 1, 1, 1, 1);
                 rtojac_renumber_vars_in_range(w.win, 0, 2, 1, 9, 1);
                 rtojac_set_nnz(w.head, 5);
                 rtojac_set_rows(w.win, rows);
                 return nonzero(w.head, 5);
             }},
            {"missing Jacobian, record or array",
             [](World &w) {
                 rt_jac_nz rec{};
                 rtojac_inq_nz(nullptr, nullptr, nullptr, 1, &rec);
                 rtojac_inq_nz(nullptr, nullptr, w.head, 1, nullptr);
                 rtojac_set_rows(nullptr, nullptr);
                 rtojac_set_columns(nullptr, nullptr);
                 rtojac_set_columns(w.head, nullptr);
                 const int32_t var = rtojac_match_var_regexp(nullptr, nullptr, 0);
                 const int32_t eqn = rtojac_match_eqn_regexp(nullptr, nullptr, 0);
                 return line(var, eqn);
             }},
            {"a NULL handle: setters do nothing, inquiries give 0, silently",
             [](World &) {
                 rt_jac_t *none = nullptr;
                 rt_jac_t dummy{};
                 rt_jac_t *parent = &dummy;
                 rtojac_set_nnz(none, 1);
                 rtojac_resize(none, 1);
                 rtojac_set_nz_coord(none, 1, 1, 1);
                 rtojac_set_nz_value(none, 1, 1);
                 rtojac_set_linear(none, 1, 1);
                 rtojac_move_items(none, 1, 2, 1);
                 rtojac_relocate(none, 1, 1, 1);
                 rtojac_renumber(none, 1, 1, 1, 1, 1, 1);
                 rtojac_renumber_vars_in_range(none, 1, 1, 1, 1, 1);
                 rtojac_destroy(&none);
                 rtojac_parent(none, &parent);
                 return line(nonzero(none, 1), rtojac_size(none), rtojac_capacity(none), shape(none),
                             rtojac_rowptr(none) == nullptr, rtojac_colptr(none) == nullptr,
                             rtojac_vec_bj(none) == nullptr, rtojac_rowoffset(none), rtojac_coloffset(none),
                             parent == nullptr, rtojac_parent_check(none, none));
             }},
        },
        {
            "8 10|" OOB("head_seteqn", 9, 8) OOB("head_setvar", 9, 8) OOB("head_setval", 9, 8)
                OOB("head_set_linear", 0, 8) "|",
            "0 0 0 0|" OOB("head_inqeqn", 9, 8) OOB("head_inqvar", 9, 8) OOB("head_inqval", 9, 8)
                OOB("head_inq_linear", 9, 8) "|",
            "0 0 1e+35 0|" OOB("embed_seteqn", 3, 2) OOB("embed_setvar", 3, 2) OOB("embed_setval", 0, 2)
                OOB("embed_set_linear", 3, 2) "|",
            "0 0 0 0|" OOB("embed_inqeqn", 3, 2) OOB("embed_inqvar", 3, 2) OOB("embed_inqval", 3, 2)
                OOB("embed_inq_linear", 3, 2) "|",
            "-2 -6 1e+35 0|" OOB("head_setval", 6, 5) "|",
            "8 10 3 3|!!generic_setnnz: Capacity exceeded 11 10\n!!generic_setnnz: Negative count -1\n|",
            "2 3 2 4 8 10|!!embed_resize: Parent is not big enough for capacity expansion.\n"
            "    New capacity: 5, parent's size: 8\n!!head_resize: Negative capacity -1\n|",
            "--+---|!!rtojac_create: Negative capacity -1\n"
            "!!rtojac_create_embedded: Parent (sized for 8 nonzeros out of 10) is not big enough for "
            "embedded "
            "Jacobian 5\n!!rtojac_create_embedded: Negative capacity or first number\n|",
            "0 7 6|!! rtojac_head_relocate: relocate is not allowed for a head list\n"
            "!!rtojac_embedded_relocate: parent is not big enough\n"
            "!!rtojac_embedded_relocate: Bad first nonzero or shift (0 0 0)\n"
            "!!rtojac_embedded_relocate: Bad first nonzero or shift (1 -7 0)\n|",
            "0 0 1e+35 0|!! rtojac_move_items: size < 0 (-1)\n"
            "!!rtojac_head_move_items: bad source or destination, source 7, dest 1, move size 3, list size 8"
            "!! rtojac_embed_move_items: size < 0 (-1)\n"
            "!!rtojac_embed_move_items: bad source or destination, source 1, dest 2, move size 2, list size "
            "2\n|",
            "0 0 1e+35 0|!!rtojac_renumber: Bad range 1 3 (2 nonzeros)\n"
            "!!rtojac_renumber_vars_in_range: Bad range 0 2 (2 nonzeros)\n"
            "!!rtojac_set_rows: Window reaches beyond the nonzeros of its parent\n|",
            "0 0||A(rtojac_inq_nz: jacobian is NULL)A(rtojac_inq_nz: nonzero record is NULL)"
            "A(rtojac_set_rows: NULL jacobian)A(rtojac_set_columns: NULL jacobian)A(bulk numbers: NULL array)"
            "A(rtojac_match_var_regexp: jacobian is NULL)A(rtojac_match_eqn_regexp: jacobian is NULL)",
            "0 0 0 0 0 0 0 0 1 1 1 0 0 1 0||",
        });
}

// The last message of a text: a failed plex block is reported at length before it.
std::string last(const std::string &text) {
    const size_t at = text.rfind("!!");
    return at == std::string::npos ? text : text.substr(at);
}

// The cells of a plex block from its index, as a Fortran caller reads them.
std::string cells(int64_t index, int32_t n) {
    std::string out;
    for (int32_t k = 0; k < n; ++k) out += (k ? " " : "") + std::to_string(ZARN_ib0[index + k]);
    return out;
}

TEST(JacobianCalls, FortranLocalNumbersAreTheOwnArrayOrAFreshCopy) {
    World w;
    const int64_t rows[] = {4, 5}, columns[] = {1, 2};
    rtojac_set_rows(w.win, rows);
    rtojac_set_columns(w.win, columns);
    rt_jac_t *flat = rtojac_create_embedded(3, w.head, 1, 1, 2);  // nonzeros 2..4, no number offsets
    rt_jac_t *head = w.head, *none = nullptr;
    const int64_t own_rows = rto_iptr2plex_c(reinterpret_cast<rt_jac_head_t *>(head)->irn);
    int64_t index = -5, copy = 0;

    EXPECT_EQ(RTOJAC_ZARN_LBIRN(&head, &index, &copy), 0);
    EXPECT_EQ(line(index - own_rows, copy), "0 0") << "the head's own equation numbers";
    copy = 2;
    EXPECT_EQ(RTOJAC_ZARN_LBIRN(&flat, &index, &copy), 0);
    EXPECT_EQ(line(index - own_rows, copy), "1 0")
        << "a window without offsets: the head's array from its nonzero 1";
    copy = 3;
    EXPECT_EQ(RTOJAC_ZARN_LBIRN(&flat, &index, &copy), -1);
    EXPECT_EQ(line(cells(index, 3), copy), "0 0 0 -1") << "a copy asked for";
    RTO_IFREE(&index);
    copy = 0;
    EXPECT_EQ(RTOJAC_ZARN_LBIRN(&w.win, &index, &copy), -1);
    EXPECT_EQ(line(cells(index, 3), copy), "4 5 0 -1")
        << "a window's equation offset: local numbers, capacity cells";
    EXPECT_EQ(cells(own_rows + 4, 2), "6 7") << "the head keeps its own numbers";
    RTO_IFREE(&index);
    EXPECT_EQ(RTOJAC_ZARN_LBICN(&w.win, &index, &copy), -1);
    EXPECT_EQ(cells(index, 3), "1 2 0") << "variable offset 6";
    RTO_IFREE(&index);
    copy = 1;
    EXPECT_EQ(RTOJAC_ZARN_LBICN(&none, &index, &copy), 0);
    EXPECT_EQ(line(index, copy), "0 0") << "no Jacobian";
    RTOJAC_ZARN_LBBJ(&w.win, &index);
    EXPECT_EQ(index, rto_dptr2plex_c(reinterpret_cast<rt_jac_head_t *>(head)->values) + 4);
    RTOJAC_ZARN_LBBJ(&none, &index);
    EXPECT_EQ(index, 0);
    rtojac_destroy(&flat);
}

TEST(JacobianCalls, RecordsSearchesAndFilters) {
    World w;
    rtvarlst_t *vars = rtovarlst_create(9);
    rtattrdict_t *eqns = rtoeqnlst_create(9);
    rtovarlst_set_nvar(vars, 9);
    rtoeqnlst_set_neqn(eqns, 9);
    for (int32_t k = 1; k <= 9; ++k) {
        rtovarlst_addvar(vars, k, ("X" + std::to_string(k)).c_str());
        rtoeqnlst_addeqn(eqns, k, ("E" + std::to_string(k)).c_str());
    }
    rtojac_set_nz_coord(w.win, 1, 1, 2);  // the head's equation 3, variable 8
    rtojac_set_nz_value(w.win, 1, 1.5);
    rtojac_set_linear(w.win, 1, 1);
    rtojac_set_nz_coord(w.head, 2, 4, 8);
    rt_jac_nz rec{};
    rec.mask = RT_JAC_NZ_EQNNAME | RT_JAC_NZ_VARNAME | RT_JAC_NZ_VALUE | RT_JAC_NZ_LINEAR;
    rtojac_inq_nz(vars, eqns, w.win, 1, &rec);
    EXPECT_EQ(
        line(rec.eqnname, rec.varname, rec.eqnnum, rec.varnum, rec.value, static_cast<double>(rec.linear)),
        "E1 X2 1 2 1.5 1")
        << "names from the lists by the window's local numbers";
    rt_jac_nz bare{};
    std::snprintf(bare.eqnname, sizeof bare.eqnname, "kept");
    bare.value = -1.0;
    rtojac_inq_nz(vars, eqns, w.head, 5, &bare);
    EXPECT_EQ(line(bare.eqnname, bare.eqnnum, bare.varnum, bare.value), "kept 3 8 -1")
        << "mask 0: numbers only";

    ASSERT_EQ(re_comp("^X8$"), nullptr);
    const int32_t first = rtojac_match_var_regexp(w.head, vars, -3);
    const int32_t next = rtojac_match_var_regexp(w.head, vars, first);
    EXPECT_EQ(line(first, next, rtojac_match_var_regexp(w.win, vars, 0)), "2 5 0");
    ASSERT_EQ(re_comp("^E[34]$"), nullptr);
    EXPECT_EQ(line(rtojac_match_eqn_regexp(w.head, eqns, 0), rtojac_match_eqn_regexp(w.head, eqns, 2)),
              "2 5");
    re_free();
    EXPECT_EQ(line(rtojac_match_var_regexp(w.head, vars, 0), rtojac_match_eqn_regexp(w.head, eqns, 0)), "0 0")
        << "no pattern kept";

    hs_regexp *x2 = hs_regcomp("X2"), *e2 = hs_regcomp("E2");
    const std::vector<std::pair<const char *, int>> filters = {
        {"always", rtojac_filter_always_true(nullptr, nullptr)},
        {"var regexp", rtojac_filter_var_match_regexp(&rec, x2)},
        {"var regexp fails", rtojac_filter_var_match_regexp(&rec, e2)},
        {"var regexp none", rtojac_filter_var_match_regexp(&rec, nullptr)},
        {"var name", rtojac_filter_var_match_name(&rec, "X2")},
        {"var name is not a prefix", rtojac_filter_var_match_name(&rec, "X")},
        {"var index", rtojac_filter_var_match_index(&rec, 2)},
        {"var index is not the equation's", rtojac_filter_var_match_index(&rec, 1)},
        {"eqn regexp", rtojac_filter_eqn_match_regexp(&rec, x2)},
        {"eqn name", rtojac_filter_eqn_match_name(&rec, "E1")},
        {"eqn name none", rtojac_filter_eqn_match_name(&rec, nullptr)},
        {"eqn index", rtojac_filter_eqn_match_index(&rec, 1)},
        {"eqn index is not the variable's", rtojac_filter_eqn_match_index(&rec, 2)},
        {"no record", rtojac_filter_var_match_index(nullptr, 0)},
    };
    std::string got;
    for (const auto &f : filters) got += std::string(f.first) + "=" + std::to_string(f.second) + " ";
    EXPECT_EQ(
        got,
        "always=1 var regexp=1 var regexp fails=0 var regexp none=0 var name=1 var name is not a prefix=0 "
        "var index=1 var index is not the equation's=0 eqn regexp=0 eqn name=1 eqn name none=0 eqn index=1 "
        "eqn index is not the variable's=0 no record=0 ");
    hs_regfree(x2);
    hs_regfree(e2);
    rtoeqnlst_destroy(&eqns);
    rtovarlst_destroy_c(&vars);
}

TEST(JacobianCalls, AllocationFailuresRefuseAndLeaveNothingBehind) {
    HistoryCapture his;
    for (long n = 1;; ++n) {
        zarn::failalloc_set(n, false, true);
        rt_jac_t *j = rtojac_create(5);
        if (zarn::failalloc_set(0) < n) {
            EXPECT_EQ(n, 6) << "the record and four arrays";
            rtojac_destroy(&j);
            break;
        }
        EXPECT_EQ(j, nullptr) << n;
        EXPECT_EQ(last(his.text()), n == 1 ? "!!rtojac_create: Unable to allocate memory for Jacobian\n"
                                           : "!!rtojac_create: Unable to allocate memory for Jacobian 5\n")
            << n;
    }
    rt_jac_t *j = rtojac_create(4);
    rtojac_set_nnz(j, 4);
    rtojac_set_nz_coord(j, 4, 7, 9);
    zarn::failalloc_set(2, false, true);
    rtojac_resize(j, 20);
    zarn::failalloc_set(0);
    const std::string grow = his.text();
    EXPECT_EQ(line(shape(j), nonzero(j, 4), last(grow)),
              "4 4 7 9 1e+35 0 !!head_resize: Jacobian resize failed 20")
        << "a failed growth changes nothing";
    zarn::failalloc_set(1, false, true);
    rtojac_resize(j, 2);
    zarn::failalloc_set(0);
    const std::string shrink = his.text();
    EXPECT_EQ(line(shape(j), last(shrink)), "2 2 !!head_resize: Jacobian resize failed 2")
        << "a shrink keeps what fits even when a block stays large";
    int64_t index = 7, copy = 1;
    zarn::failalloc_set(1, false, true);
    const int64_t flag = RTOJAC_ZARN_LBIRN(&j, &index, &copy);
    zarn::failalloc_set(0);
    const std::string none = his.text();
    EXPECT_EQ(line(flag, index, copy, last(none)),
              "0 0 0 !!RTOJAC_ZARN_LBIRN: Unable to allocate memory for a copy of 2 numbers\n");
    rtojac_destroy(&j);
}

}  // namespace
