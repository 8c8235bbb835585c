#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture.h"
#include "failsweep.h"
#include "platform/xalloc.h"
#include "zarnutils/rteqnlst.h"
#include "zarnutils/rtprovider.hpp"
#include "zarnutils/zarnmalloc.h"

namespace {

// Solvers call the k-th entry of a provider's table (two destructor entries come first).
using AnyEntry = void (*)();
template <class Result, class Provider, class... Args>
Result call_slot(Provider *provider, int k, Args... args) {
    const AnyEntry *table = *reinterpret_cast<const AnyEntry *const *>(provider);
    return reinterpret_cast<Result (*)(Provider *, Args...)>(table[k])(provider, args...);
}

struct Slot {
    int index;
    const char *operation;
    const void *expect;
};

template <class Provider>
void expect_vectors(Provider *provider, const std::vector<Slot> &table) {
    for (const Slot &row : table) {
        EXPECT_EQ(call_slot<const void *>(provider, row.index), row.expect) << row.operation;
    }
}

// "own", "copy" (a block of the vector's own) or "?" for a wrong flag or plex index.
template <class Vector>
std::string pattern(const Vector &v, const int64_t *own) {
    const bool copied = v.Elements() != own;
    if (&ZARN_ib0[v.PlexIndex()] != v.Elements() || v.Copied() != (copied ? 1 : 0)) return "?";
    return copied ? "copy" : "own";
}

// Windows: the Jacobian's variables from 3, the Hessian's first columns from 2.
// A column pattern of g_window made and dropped in a frame of its own, so
// that an allocator's raise leaves nothing behind that needs destroying.
rt_jac_t *g_window = nullptr;
[[gnu::noinline]] void make_column_pattern() { const RTJacIcn pattern(g_window); }
// A window offset on both axes: the provider copies rows, then columns.
rt_jac_t *g_shifted = nullptr;
[[gnu::noinline]] void make_provider() { const RTJacProvider provider(g_shifted); }

TEST(Providers, HandOutTheListsOwnColumnsAndCopyOnlyOffsetPatterns) {
    rtvarlst_t *vars = rtovarlst_create(2);
    rtattrdict_t *eqns = rtoeqnlst_create(2);
    rtovarlst_set_nvar(vars, 2);
    rtoeqnlst_set_neqn(eqns, 2);
    rtovarlst_addvars(vars, 1, 2, 4, "FEEDPROD");
    rtoeqnlst_addeqns(eqns, 1, 2, 4, "BAL1BAL2");
    rt_jac_t *jacobian = rtojac_create(3);
    rtojac_set_nnz(jacobian, 3);
    rt_jac_t *window = rtojac_create_embedded(2, jacobian, 3, 1, 2);
    rtojac_set_nnz(window, 2);
    rt_jac_t *shifted = rtojac_create_embedded(1, jacobian, 2, 2, 1);
    rtojac_set_nnz(shifted, 1);
    rt_hess_t *hessian = rtohess_create(3);
    rtohess_set_nnz(hessian, 3);
    rt_hess_t *hess_window = rtohess_create_embedded(2, hessian, 3, 1, 1, 2);
    rtohess_set_nnz(hess_window, 2);
    {
        double lower[2] = {}, upper[2] = {};
        RTVarlstProvider var(vars, lower, upper);
        RTEqnlstProvider eqn(eqns);
        RTJacProvider jac(window);
        EXPECT_EQ(call_slot<int32_t>(&var, 2), 2) << "Nvar";
        EXPECT_EQ(call_slot<int32_t>(&eqn, 2), 2) << "Neqn";
        EXPECT_EQ(call_slot<int32_t>(&jac, 2), 2) << "Nnz";
        expect_vectors(&var, {
                                 {3, "ValueVec", rtovarlst_vec_value(vars)},
                                 {4, "LowerBoundVec, given", lower},
                                 {5, "UpperBoundVec, given", upper},
                                 {6, "SolveScaleVec", rtovarlst_vec_solveScale(vars)},
                                 {7, "PreScaleVec", rtovarlst_vec_scale(vars)},
                                 {8, "ShadowPriceVec", rtovarlst_vec_shadow_price(vars)},
                                 {9, "StatusVec", rtovarlst_vec_status(vars)},
                                 {12, "BaseuomVec", rtovarlst_vec_baseuom(vars)},
                                 {13, "BasicVec", rtovarlst_vec_basic(vars)},
                             });
        expect_vectors(&eqn, {
                                 {3, "ResidualVec", rtoeqnlst_vec_residual(eqns)},
                                 {4, "ScaleVec", rtoeqnlst_vec_scale(eqns)},
                                 {5, "StatusVec", rtoeqnlst_vec_status(eqns)},
                                 {6, "ShadowPriceVec", rtoeqnlst_vec_shadow_price(eqns)},
                                 {9, "BasicVec", rtoeqnlst_vec_basic(eqns)},
                             });
        expect_vectors(&jac, {
                                 {3, "IrnVec", rtojac_rowptr(window)},
                                 {5, "ValueVec", rtojac_vec_bj(window)},
                             });
        const int64_t *columns = call_slot<int64_t *>(&jac, 4);
        EXPECT_NE(columns, nullptr);
        EXPECT_NE(columns, rtojac_colptr(window)) << "IcnVec, a copy";
        char one[ZARN_NAME_BUF];
        call_slot<void>(&var, 10, int32_t{2}, one);
        EXPECT_STREQ(one, "PROD") << "VarName";
        call_slot<void>(&eqn, 7, int32_t{1}, one);
        EXPECT_STREQ(one, "BAL1") << "EqnName";
        char fields[] = "..........";
        call_slot<void>(&var, 11, int32_t{1}, int32_t{2}, int32_t{5}, fields);
        call_slot<void>(&eqn, 8, int32_t{2}, int32_t{2}, int32_t{5}, fields);
        EXPECT_STREQ(fields, "BAL2.PROD.") << "VarNames, then EqnNames over the first field";

        RTJacIcn jac_icn(window);
        RTJacIrn jac_irn(shifted);
        RTJacIrn no_jacobian(nullptr);
        RTHessIrn irn(hess_window);
        RTHessIcn icn(hess_window);
        RTHessIcn2 icn2(hess_window);
        EXPECT_EQ(no_jacobian.Elements(), nullptr) << "no Jacobian";
        EXPECT_EQ(pattern(jac_icn, rtojac_colptr(window)) + " | " + pattern(jac_irn, rtojac_rowptr(shifted)) +
                      " | " + pattern(irn, rtohess_rowptr(hess_window)) + " | " +
                      pattern(icn, rtohess_colptr(hess_window)) + " | " +
                      pattern(icn2, rtohess_col2ptr(hess_window)),
                  "copy | copy | own | copy | own");
        zarn::test::HistoryCapture his;
        g_window = window;
        EXPECT_TRUE(zarn::test::raised_when_failing(1, make_column_pattern))
            << "no memory for the copy: the allocator's raise";
        // The sanitizer build's leak check sees a row copy left behind by the column copy's raise.
        g_shifted = shifted;
        for (long failing : {1, 2}) {
            EXPECT_TRUE(zarn::test::raised_when_failing(failing, make_provider))
                << "provider, plex allocation " << failing << " failing: the allocator's raise";
        }
    }
    rtohess_destroy(&hess_window);
    rtohess_destroy(&hessian);
    rtojac_destroy(&shifted);
    rtojac_destroy(&window);
    rtojac_destroy(&jacobian);
    rtoeqnlst_destroy(&eqns);
    rtovarlst_destroy_c(&vars);
}

}  // namespace
