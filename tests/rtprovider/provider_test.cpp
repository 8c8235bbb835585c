// Providers hand out the lists' own columns and a caller's replaced bounds;
// pattern vectors are a store's own numbers or a copy less the offset.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture.h"
#include "platform/xalloc.h"
#include "zarnutils/rteqnlst.h"
#include "zarnutils/rtprovider.hpp"
#include "zarnutils/zarnmalloc.h"

namespace {

// Two named variables and two named equations.
struct Lists {
    rtvarlst_t *vars = rtovarlst_create(2);
    rtattrdict_t *eqns = rtoeqnlst_create(2);
    Lists() {
        rtovarlst_set_nvar(vars, 2);
        rtoeqnlst_set_neqn(eqns, 2);
        rtovarlst_addvars(vars, 1, 2, 4, "FEEDPROD");
        rtoeqnlst_addeqns(eqns, 1, 2, 4, "BAL1BAL2");
    }
    ~Lists() {
        rtoeqnlst_destroy(&eqns);
        rtovarlst_destroy_c(&vars);
    }
};

struct Handed {
    const char *call;
    const void *got;
    const void *expect;
};
#define HANDED(call, expect) \
    Handed { #call, call, expect }

TEST(Providers, HandOutTheListsOwnColumnsOrTheReplacedBounds) {
    Lists l;
    double lower[2] = {0, 0};
    double upper[2] = {9, 9};
    RTVarlstProvider var(l.vars);
    RTVarlstProvider replaced(l.vars, lower, upper);
    RTEqnlstProvider eqn(l.eqns);
    EXPECT_EQ(var.Nvar(), 2);
    EXPECT_EQ(eqn.Neqn(), 2);
    const std::vector<Handed> table = {
        HANDED(var.ValueVec(), rtovarlst_vec_value(l.vars)),
        HANDED(var.LowerBoundVec(), rtovarlst_vec_lower(l.vars)),
        HANDED(var.UpperBoundVec(), rtovarlst_vec_upper(l.vars)),
        HANDED(var.SolveScaleVec(), rtovarlst_vec_solveScale(l.vars)),
        HANDED(var.PreScaleVec(), rtovarlst_vec_scale(l.vars)),
        HANDED(var.ShadowPriceVec(), rtovarlst_vec_shadow_price(l.vars)),
        HANDED(var.StatusVec(), rtovarlst_vec_status(l.vars)),
        HANDED(var.BaseuomVec(), rtovarlst_vec_baseuom(l.vars)),
        HANDED(var.BasicVec(), rtovarlst_vec_basic(l.vars)),
        HANDED(replaced.LowerBoundVec(), lower),
        HANDED(replaced.UpperBoundVec(), upper),
        HANDED(eqn.ResidualVec(), rtoeqnlst_vec_residual(l.eqns)),
        HANDED(eqn.ScaleVec(), rtoeqnlst_vec_scale(l.eqns)),
        HANDED(eqn.StatusVec(), rtoeqnlst_vec_status(l.eqns)),
        HANDED(eqn.ShadowPriceVec(), rtoeqnlst_vec_shadow_price(l.eqns)),
        HANDED(eqn.BasicVec(), rtoeqnlst_vec_basic(l.eqns)),
    };
    for (const Handed &row : table) EXPECT_TRUE(row.expect != nullptr && row.got == row.expect) << row.call;
}

TEST(Providers, GiveNamesOneAtATimeAndInFixedWidthFields) {
    Lists l;
    RTVarlstProvider var(l.vars);
    RTEqnlstProvider eqn(l.eqns);
    char one[ZARN_NAME_BUF];
    var.VarName(2, one);
    EXPECT_STREQ(one, "PROD");
    eqn.EqnName(1, one);
    EXPECT_STREQ(one, "BAL1");
    char fields[] = "..........";
    var.VarNames(1, 2, 5, fields);
    eqn.EqnNames(2, 2, 5, fields);
    EXPECT_STREQ(fields, "BAL2.PROD.");
}

// "own" when v is the store's array at own, else "copy"; then n numbers.
std::string pattern(const int64_t *v, const int64_t *own, int n) {
    std::string out = v == own ? "own" : "copy";
    for (int k = 0; k < n && v != nullptr; ++k) out += " " + std::to_string(v[k]);
    return out;
}

// A head whose nonzeros k = 1..8 are (equation k, variable 20 + k) and a
// window over its nonzeros 5..7, numbered after the window reset them.
struct Jacobian {
    rt_jac_t *head = rtojac_create(10);
    rt_jac_t *win = nullptr;
    Jacobian(int32_t first_var, int32_t first_eqn) {
        rtojac_set_nnz(head, 8);
        win = rtojac_create_embedded(3, head, first_var, first_eqn, 5);
        rtojac_set_nnz(win, 3);
        for (int32_t k = 1; k <= 8; ++k) rtojac_set_nz_coord(head, k, k, 20 + k);
    }
    ~Jacobian() {
        rtojac_destroy(&win);
        rtojac_destroy(&head);
    }
};

struct WindowRow {
    int32_t first_var;
    int32_t first_eqn;
    std::string rows_and_columns;
};

TEST(Providers, JacobianPatternsAreItsOwnArraysUnlessAnAxisHasAnOffset) {
    const std::vector<WindowRow> table = {
        {1, 1, "own 5 6 7 | own 25 26 27"},
        {1, 3, "copy 3 4 5 | own 25 26 27"},
        {7, 1, "own 5 6 7 | copy 19 20 21"},
        {7, 3, "copy 3 4 5 | copy 19 20 21"},
    };
    for (const WindowRow &row : table) {
        Jacobian j(row.first_var, row.first_eqn);
        RTJacProvider p(j.win);
        EXPECT_EQ(pattern(p.IrnVec(), rtojac_rowptr(j.win), 3) + " | " +
                      pattern(p.IcnVec(), rtojac_colptr(j.win), 3),
                  row.rows_and_columns)
            << "first variable " << row.first_var << ", first equation " << row.first_eqn;
        EXPECT_EQ(p.Nnz(), 3);
        EXPECT_EQ(p.ValueVec(), rtojac_vec_bj(j.win));
    }
}

TEST(Providers, HessianPatternsTakeEachAxisOffsetApart) {
    rt_hess_t *head = rtohess_create(6);
    rtohess_set_nnz(head, 4);
    rt_hess_t *win = rtohess_create_embedded(2, head, 3, 1, 1, 2);
    rtohess_set_nnz(win, 2);
    for (int32_t k = 1; k <= 4; ++k) rtohess_set_nz_coord(head, k, k, 10 + k, 20 + k);
    {
        const RTHessIrn irn(win);
        const RTHessIcn icn(win);
        const RTHessIcn2 icn2(win);
        EXPECT_EQ(pattern(irn.Elements(), rtohess_rowptr(win), 2) + " | " +
                      pattern(icn.Elements(), rtohess_colptr(win), 2) + " | " +
                      pattern(icn2.Elements(), rtohess_col2ptr(win), 2),
                  "own 2 3 | copy 10 11 | own 22 23");
        EXPECT_EQ(icn.Copied(), 1);
        EXPECT_EQ(&ZARN_ib0[icn.PlexIndex()], icn.Elements());
    }
    rtohess_destroy(&win);
    rtohess_destroy(&head);
}

TEST(Providers, ACopyIsABlockOfItsOwnAndNoneWhenItCannotBeHad) {
    zarn::test::HistoryCapture his;
    Jacobian j(7, 3);
    const RTJacIcn made(j.win);
    EXPECT_EQ(made.Copied(), 1);
    EXPECT_EQ(&ZARN_ib0[made.PlexIndex()], made.Elements());
    zarn::failalloc_set(1, false, true);
    const RTJacIcn icn(j.win);
    zarn::failalloc_set(0);
    EXPECT_EQ(icn.Copied(), 0);
    EXPECT_EQ(icn.PlexIndex(), 0);
    EXPECT_EQ(icn.Elements(), nullptr);
    const std::string text = his.text();
    EXPECT_EQ(text.substr(text.rfind("!!")),
              "!!RTJacIcn: Unable to allocate memory for a copy of 3 numbers\n")
        << "after the allocator's own diagnosis";
}

}  // namespace
