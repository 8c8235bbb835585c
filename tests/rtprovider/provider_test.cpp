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

TEST(Providers, HandOutTheCallersBoundsWhenGivenThem) {
    Lists l;
    double lower[2] = {0, 0};
    double upper[2] = {9, 9};
    RTVarlstProvider replaced(l.vars, lower, upper);
    EXPECT_EQ(replaced.LowerBoundVec(), lower);
    EXPECT_EQ(replaced.UpperBoundVec(), upper);
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

// A solver built against the documented order calls the k-th entry of a
// provider's table of operations (the two destructor entries of this ABI
// first), whatever the operations are named; a reordered header breaks it.
using AnyEntry = void (*)();
template <class Result, class Base, class... Args>
Result call_slot(Base *provider, int k, Args... args) {
    const AnyEntry *table = *reinterpret_cast<const AnyEntry *const *>(provider);
    return reinterpret_cast<Result (*)(Base *, Args...)>(table[k])(provider, args...);
}

struct Slot {
    const char *operation;
    const void *got;
    const void *expect;
};

TEST(Providers, KeepTheirOperationsInTheDocumentedSlots) {
    Lists l;
    Jacobian j(1, 1);
    RTVarlstProvider var_provider(l.vars);
    RTEqnlstProvider eqn_provider(l.eqns);
    RTJacProvider jac_provider(j.win);
    VarProvider *var = &var_provider;
    EqnProvider *eqn = &eqn_provider;
    DerivProvider *jac = &jac_provider;
    EXPECT_EQ(call_slot<int32_t>(var, 2), 2) << "Nvar";
    EXPECT_EQ(call_slot<int32_t>(eqn, 2), 2) << "Neqn";
    EXPECT_EQ(call_slot<int32_t>(jac, 2), 3) << "Nnz";
    const std::vector<Slot> table = {
        {"VarProvider 3, ValueVec", call_slot<double *>(var, 3), rtovarlst_vec_value(l.vars)},
        {"VarProvider 4, LowerBoundVec", call_slot<double *>(var, 4), rtovarlst_vec_lower(l.vars)},
        {"VarProvider 5, UpperBoundVec", call_slot<double *>(var, 5), rtovarlst_vec_upper(l.vars)},
        {"VarProvider 6, SolveScaleVec", call_slot<double *>(var, 6), rtovarlst_vec_solveScale(l.vars)},
        {"VarProvider 7, PreScaleVec", call_slot<double *>(var, 7), rtovarlst_vec_scale(l.vars)},
        {"VarProvider 8, ShadowPriceVec", call_slot<double *>(var, 8), rtovarlst_vec_shadow_price(l.vars)},
        {"VarProvider 9, StatusVec", call_slot<int64_t *>(var, 9), rtovarlst_vec_status(l.vars)},
        {"VarProvider 12, BaseuomVec", call_slot<int64_t *>(var, 12), rtovarlst_vec_baseuom(l.vars)},
        {"VarProvider 13, BasicVec", call_slot<int64_t *>(var, 13), rtovarlst_vec_basic(l.vars)},
        {"EqnProvider 3, ResidualVec", call_slot<double *>(eqn, 3), rtoeqnlst_vec_residual(l.eqns)},
        {"EqnProvider 4, ScaleVec", call_slot<double *>(eqn, 4), rtoeqnlst_vec_scale(l.eqns)},
        {"EqnProvider 5, StatusVec", call_slot<int64_t *>(eqn, 5), rtoeqnlst_vec_status(l.eqns)},
        {"EqnProvider 6, ShadowPriceVec", call_slot<double *>(eqn, 6), rtoeqnlst_vec_shadow_price(l.eqns)},
        {"EqnProvider 9, BasicVec", call_slot<int64_t *>(eqn, 9), rtoeqnlst_vec_basic(l.eqns)},
        {"DerivProvider 3, IrnVec", call_slot<int64_t *>(jac, 3), rtojac_rowptr(j.win)},
        {"DerivProvider 4, IcnVec", call_slot<int64_t *>(jac, 4), rtojac_colptr(j.win)},
        {"DerivProvider 5, ValueVec", call_slot<double *>(jac, 5), rtojac_vec_bj(j.win)},
    };
    for (const Slot &row : table)
        EXPECT_TRUE(row.expect != nullptr && row.got == row.expect) << row.operation;
    char one[ZARN_NAME_BUF];
    call_slot<void>(var, 10, int32_t{2}, one);
    EXPECT_STREQ(one, "PROD") << "VarProvider 10, VarName";
    call_slot<void>(eqn, 7, int32_t{1}, one);
    EXPECT_STREQ(one, "BAL1") << "EqnProvider 7, EqnName";
    char fields[] = "..........";
    call_slot<void>(var, 11, int32_t{1}, int32_t{2}, int32_t{5}, fields);
    call_slot<void>(eqn, 8, int32_t{2}, int32_t{2}, int32_t{5}, fields);
    EXPECT_STREQ(fields, "BAL2.PROD.") << "VarProvider 11, VarNames; EqnProvider 8, EqnNames";
}

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
