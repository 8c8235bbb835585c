// Providers and the pattern vectors of Jacobians and Hessians.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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
// provider's table (this ABI puts two destructor entries first).
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

// Each slot of the table hands out the vector expected, not NULL.
template <class Provider>
void expect_vectors(Provider *provider, const std::vector<Slot> &table) {
    for (const Slot &row : table) {
        const void *got = call_slot<const void *>(provider, row.index);
        EXPECT_TRUE(row.expect != nullptr && got == row.expect)
            << "slot " << row.index << ", " << row.operation;
    }
}

TEST(Providers, HandOutTheListsOwnColumnsInTheDocumentedSlots) {
    Lists l;
    Jacobian j(1, 1);
    double lower[2] = {0, 0}, upper[2] = {9, 9};
    RTVarlstProvider var(l.vars, lower, upper);
    RTEqnlstProvider eqn(l.eqns);
    RTJacProvider jac(j.win);
    EXPECT_EQ(call_slot<int32_t>(&var, 2), 2) << "Nvar";
    EXPECT_EQ(call_slot<int32_t>(&eqn, 2), 2) << "Neqn";
    EXPECT_EQ(call_slot<int32_t>(&jac, 2), 3) << "Nnz";
    expect_vectors(&var, {
                             {3, "ValueVec", rtovarlst_vec_value(l.vars)},
                             {4, "LowerBoundVec, the caller's", lower},
                             {5, "UpperBoundVec, the caller's", upper},
                             {6, "SolveScaleVec", rtovarlst_vec_solveScale(l.vars)},
                             {7, "PreScaleVec", rtovarlst_vec_scale(l.vars)},
                             {8, "ShadowPriceVec", rtovarlst_vec_shadow_price(l.vars)},
                             {9, "StatusVec", rtovarlst_vec_status(l.vars)},
                             {12, "BaseuomVec", rtovarlst_vec_baseuom(l.vars)},
                             {13, "BasicVec", rtovarlst_vec_basic(l.vars)},
                         });
    expect_vectors(&eqn, {
                             {3, "ResidualVec", rtoeqnlst_vec_residual(l.eqns)},
                             {4, "ScaleVec", rtoeqnlst_vec_scale(l.eqns)},
                             {5, "StatusVec", rtoeqnlst_vec_status(l.eqns)},
                             {6, "ShadowPriceVec", rtoeqnlst_vec_shadow_price(l.eqns)},
                             {9, "BasicVec", rtoeqnlst_vec_basic(l.eqns)},
                         });
    expect_vectors(&jac, {
                             {3, "IrnVec", rtojac_rowptr(j.win)},
                             {4, "IcnVec", rtojac_colptr(j.win)},
                             {5, "ValueVec", rtojac_vec_bj(j.win)},
                         });
    char one[ZARN_NAME_BUF];
    call_slot<void>(&var, 10, int32_t{2}, one);
    EXPECT_STREQ(one, "PROD") << "VarName";
    call_slot<void>(&eqn, 7, int32_t{1}, one);
    EXPECT_STREQ(one, "BAL1") << "EqnName";
    char fields[] = "..........";
    call_slot<void>(&var, 11, int32_t{1}, int32_t{2}, int32_t{5}, fields);
    call_slot<void>(&eqn, 8, int32_t{2}, int32_t{2}, int32_t{5}, fields);
    EXPECT_STREQ(fields, "BAL2.PROD.") << "VarNames, then EqnNames over the first field";
}

// "own" for the store's array own, "copy" for a block of the vector's own,
// "?" when the flag or plex index disagrees; then the first n numbers.
template <class Vector>
std::string pattern(const Vector &v, const int64_t *own, int n) {
    const bool at_plex_index = &ZARN_ib0[v.PlexIndex()] == v.Elements();
    std::string out = "?";
    if (at_plex_index && v.Elements() == own && v.Copied() == 0) out = "own";
    if (at_plex_index && v.Elements() != own && v.Copied() == 1) out = "copy";
    for (int k = 0; k < n && v.Elements() != nullptr; ++k) out += " " + std::to_string(v.Elements()[k]);
    return out;
}

TEST(Providers, JacobianPatternIsACopyLessTheOffset) {
    Jacobian j(1, 3);
    const RTJacIrn irn(j.win);
    EXPECT_EQ(pattern(irn, rtojac_rowptr(j.win), 3), "copy 3 4 5") << "first equation 3";
    const RTJacIcn none(nullptr);
    EXPECT_EQ(none.Elements(), nullptr) << "no Jacobian";
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
        EXPECT_EQ(pattern(irn, rtohess_rowptr(win), 2) + " | " + pattern(icn, rtohess_colptr(win), 2) +
                      " | " + pattern(icn2, rtohess_col2ptr(win), 2),
                  "own 2 3 | copy 10 11 | own 22 23");
    }
    rtohess_destroy(&win);
    rtohess_destroy(&head);
}

}  // namespace
