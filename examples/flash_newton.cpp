// A solver written against the provider interfaces: Newton's method on an
// isothermal flash (one mole of feed per second split into vapour and
// liquid at fixed K values). The host holds the model in a variable list,
// an equation list and a Jacobian; the solver sees them only through the
// providers, reads and writes their own vectors, and gets the Jacobian by
// finite differences over groups of variables that share no equation.
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "zarnutils/numutil.h"
#include "zarnutils/rteqnlst.h"
#include "zarnutils/rtjacbn.h"
#include "zarnutils/rtprovider.hpp"
#include "zarnutils/rtuom.h"
#include "zarnutils/rtvarlst.h"

namespace {

constexpr int kComponents = 3;
constexpr int kVars = 2 + 2 * kComponents;  // V, L, X(i), Y(i)
constexpr int kEqns = kVars;                // balances, equilibria, two sums
const char *const kNames[kComponents] = {"C3", "NC4", "NC5"};
constexpr double kFeed = 1.0;                                // kmol/s
constexpr double kZ[kComponents] = {0.30, 0.45, 0.25};       // feed mole fractions
constexpr double kK[kComponents] = {2.0, 0.8, 0.3};          // y = K x at the drum's T and P
constexpr int kV = 1, kL = 2, kX = 3, kY = 3 + kComponents;  // variable numbers

// The residuals at the values the variable provider hands out.
void residuals(VarProvider &vars, EqnProvider &eqns) {
    const double *v = vars.ValueVec();
    double *f = eqns.ResidualVec();
    const double flow_v = v[kV - 1], flow_l = v[kL - 1];
    double sum_x = -1.0, sum_y = -1.0;
    for (int i = 0; i < kComponents; ++i) {
        const double x = v[kX - 1 + i], y = v[kY - 1 + i];
        f[i] = kFeed * kZ[i] - flow_v * y - flow_l * x;
        f[kComponents + i] = y - kK[i] * x;
        sum_x += x;
        sum_y += y;
    }
    f[2 * kComponents] = sum_y;
    f[2 * kComponents + 1] = sum_x;
}

// Where each equation has a nonzero, by rows in order.
std::vector<std::pair<int, int>> pattern() {
    std::vector<std::pair<int, int>> nz;
    for (int i = 0; i < kComponents; ++i)
        for (int var : {kV, kL, kX + i, kY + i}) nz.emplace_back(1 + i, var);
    for (int i = 0; i < kComponents; ++i)
        for (int var : {kX + i, kY + i}) nz.emplace_back(1 + kComponents + i, var);
    for (int i = 0; i < kComponents; ++i) nz.emplace_back(kEqns - 1, kY + i);
    for (int i = 0; i < kComponents; ++i) nz.emplace_back(kEqns, kX + i);
    return nz;
}

// Solves a x = b for a dense n x n matrix (row major) by elimination with
// partial pivoting; false when the matrix is singular.
bool solve(std::vector<double> a, std::vector<double> &b, int n) {
    for (int c = 0; c < n; ++c) {
        int pivot = c;
        for (int r = c + 1; r < n; ++r)
            if (std::fabs(a[r * n + c]) > std::fabs(a[pivot * n + c])) pivot = r;
        if (a[pivot * n + c] == 0.0) return false;
        for (int k = 0; k < n; ++k) std::swap(a[c * n + k], a[pivot * n + k]);
        std::swap(b[c], b[pivot]);
        for (int r = c + 1; r < n; ++r) {
            const double m = a[r * n + c] / a[c * n + c];
            for (int k = c; k < n; ++k) a[r * n + k] -= m * a[c * n + k];
            b[r] -= m * b[c];
        }
    }
    for (int r = n - 1; r >= 0; --r) {
        for (int k = r + 1; k < n; ++k) b[r] -= a[r * n + k] * b[k];
        b[r] /= a[r * n + r];
    }
    return true;
}

// The Newton iteration, knowing the model only through its providers.
int newton(VarProvider &vars, EqnProvider &eqns, DerivProvider &deriv, rtattrdict_t *eqnlist) {
    const int64_t ncol = vars.Nvar(), nrow = eqns.Neqn(), nnz = deriv.Nnz();
    const int64_t zero = 0;
    int64_t groups = 0, err = 0;
    U3VGRP_CREATE(&ncol, &nrow, &nnz, &groups);
    U3VGRP_COMPUTE(deriv.IrnVec(), deriv.IcnVec(), vars.StatusVec(), &zero, &zero, &zero, &groups, &err);
    if (err != 0) {
        std::printf("grouping failed with code %lld\n", static_cast<long long>(err));
        U3VGRP_DESTROY(&groups);
        return 1;
    }
    std::printf("Variables grouped for the finite differences (%d columns):\n", static_cast<int>(ncol));
    U3VGRP_REPORT_BY_IDX(&groups, &zero);

    std::vector<double> typical(static_cast<size_t>(ncol), 1.0);
    std::vector<double> minstep(RTOUOM_NTYPES + 1, 1e-6);
    const double relstep = 1e-7;
    int status = 1;
    std::printf("%9s %14s\n", "iteration", "residual norm");
    for (int iteration = 0; iteration <= 20; ++iteration) {
        residuals(vars, eqns);
        double norm = 0.0;
        rtoeqnlst_norm(eqnlist, 1, static_cast<int32_t>(nrow), &norm);
        std::printf("%9d %14.3e\n", iteration, norm);
        if (norm < 1e-12) {
            status = 0;
            break;
        }
        // The Jacobian: one residual evaluation per group of columns.
        int64_t state = 0;
        U3NJAC_COMPUTE(&groups, vars.ValueVec(), typical.data(), vars.StatusVec(), eqns.ResidualVec(), &zero,
                       deriv.IcnVec(), minstep.data(), &relstep, deriv.ValueVec(), &state, &err);
        while (state == 1 && err == 0) {
            residuals(vars, eqns);
            U3NJAC_COMPUTE(&groups, vars.ValueVec(), typical.data(), vars.StatusVec(), eqns.ResidualVec(),
                           &zero, deriv.IcnVec(), minstep.data(), &relstep, deriv.ValueVec(), &state, &err);
        }
        if (err != 0 || state != 2) break;
        // Newton's step from the Jacobian's triplets.
        const int n = static_cast<int>(ncol);
        std::vector<double> a(static_cast<size_t>(n * n), 0.0),
            step(eqns.ResidualVec(), eqns.ResidualVec() + n);
        for (int64_t k = 0; k < nnz; ++k)
            a[(deriv.IrnVec()[k] - 1) * n + (deriv.IcnVec()[k] - 1)] = deriv.ValueVec()[k];
        if (!solve(a, step, n)) break;
        double *x = vars.ValueVec();
        for (int j = 0; j < n; ++j) x[j] -= step[static_cast<size_t>(j)];
    }
    U3VGRP_DESTROY(&groups);
    return status;
}

}  // namespace

int main() {
    rtvarlst_t *list = rtovarlst_create(kVars);
    rtattrdict_t *eqnlist = rtoeqnlst_create(kEqns);
    rt_jac_t *jac = rtojac_create(32);
    rtovarlst_set_nvar(list, kVars);
    rtoeqnlst_set_neqn(eqnlist, kEqns);
    char name[64];
    rtovarlst_addvar(list, kV, "DRUM.V");
    rtovarlst_addvar(list, kL, "DRUM.L");
    for (int i = 0; i < kComponents; ++i) {
        std::snprintf(name, sizeof name, "DRUM.X(%s)", kNames[i]);
        rtovarlst_addvar(list, kX + i, name);
        std::snprintf(name, sizeof name, "DRUM.Y(%s)", kNames[i]);
        rtovarlst_addvar(list, kY + i, name);
        std::snprintf(name, sizeof name, "DRUM.BALANCE(%s)", kNames[i]);
        rtoeqnlst_addeqn(eqnlist, 1 + i, name);
        std::snprintf(name, sizeof name, "DRUM.EQUIL(%s)", kNames[i]);
        rtoeqnlst_addeqn(eqnlist, 1 + kComponents + i, name);
    }
    rtoeqnlst_addeqn(eqnlist, kEqns - 1, "DRUM.SUMY");
    rtoeqnlst_addeqn(eqnlist, kEqns, "DRUM.SUMX");

    // A first guess: half the feed in each phase, the vapour richer in the
    // components with the larger K values.
    double sum_x = 0.0, sum_y = 0.0;
    for (int i = 0; i < kComponents; ++i) {
        sum_x += kZ[i] / kK[i];
        sum_y += kZ[i] * kK[i];
    }
    rtovarlst_set_var_value(list, kV, 0.5, 1);
    rtovarlst_set_var_value(list, kL, 0.5, 1);
    for (int i = 0; i < kComponents; ++i) {
        rtovarlst_set_var_value(list, kX + i, kZ[i] / kK[i] / sum_x, 1);
        rtovarlst_set_var_value(list, kY + i, kZ[i] * kK[i] / sum_y, 1);
    }
    const std::vector<std::pair<int, int>> nz = pattern();
    rtojac_set_nnz(jac, static_cast<int32_t>(nz.size()));
    for (size_t k = 0; k < nz.size(); ++k)
        rtojac_set_nz_coord(jac, static_cast<int32_t>(k + 1), nz[k].first, nz[k].second);

    int status = 1;
    {
        RTVarlstProvider vars(list);
        RTEqnlstProvider eqns(eqnlist);
        RTJacProvider deriv(jac);
        std::printf("Isothermal flash: %d variables, %d equations, %d nonzeros\n", vars.Nvar(), eqns.Neqn(),
                    deriv.Nnz());
        status = newton(vars, eqns, deriv, eqnlist);
    }
    std::printf("%s\n", status == 0 ? "converged:" : "not converged:");
    for (int32_t j = 1; j <= kVars; ++j)
        std::printf("  %-14s %10.6f\n", rtovarlst_lookup_var_name(list, j),
                    rtovarlst_inq_var_value(list, j, 1));
    rtojac_destroy(&jac);
    rtoeqnlst_destroy(&eqnlist);
    rtovarlst_destroy_c(&list);
    return status;
}
