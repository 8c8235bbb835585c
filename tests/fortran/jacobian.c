/* The reference for jacobian.f90: a window's product y = J x from the C entry
   points, in the window's own equation and variable numbers. */
#include "zarnutils/rtjacbn.h"

void jacobian_c_product(rt_jac_t **jac, const double *x, double *y, const int64_t *neqn) {
    for (int64_t e = 0; e < *neqn; ++e) y[e] = 0.0;
    for (int32_t k = 1; k <= rtojac_inq_nnz(*jac); ++k) {
        double a = 0.0;
        rtojac_inq_nz_value(*jac, k, &a);
        y[rtojac_inq_nz_eqnnum(*jac, k) - 1] += a * x[rtojac_inq_nz_varnum(*jac, k) - 1];
    }
}
