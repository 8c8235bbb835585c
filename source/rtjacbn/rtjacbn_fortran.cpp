// Fortran entry points of the Jacobian: dereference, narrow, forward.
#include "platform/fargs.h"
#include "rtjacbn/rtjacbn_sibling.h"
#include "zarnutils/rtjacbn.h"

using zarn::fortran::deref;
using zarn::fortran::narrow;
using zarn::fortran::store;

namespace {

inline rt_jac_t *handle(rt_jac_t **jac) { return zarn::fortran::handle(jac); }

// The copy rule's result for a Fortran caller: the index, and -1 when the
// block is a copy the caller frees.
int64_t give(const zarn::rtjacbn::Pattern &p, int64_t *index, int64_t *copy) {
    const int64_t flag = p.copied ? -1 : 0;
    store(index, p.plex);
    store(copy, flag);
    return flag;
}

}  // namespace

ZARN_FORTRAN(void, RTOJAC_SET_NNZ_F, rtojac_set_nnz_f_, (rt_jac_t * *jac, const int64_t *n)) {
    rtojac_set_nnz(handle(jac), narrow(n));
}

ZARN_FORTRAN(int64_t, RTOJAC_INQ_NNZ_F, rtojac_inq_nnz_f_, (rt_jac_t * *jac)) {
    return rtojac_inq_nnz(handle(jac));
}

ZARN_FORTRAN(int64_t, RTOJAC_INQ_CAPACITY_F, rtojac_inq_capacity_f_, (rt_jac_t * *jac)) {
    return rtojac_inq_capacity(handle(jac));
}

ZARN_FORTRAN(void, RTOJAC_RESIZE_F, rtojac_resize_f_, (rt_jac_t * *jac, const int64_t *capacity)) {
    rtojac_resize(handle(jac), narrow(capacity));
}

ZARN_FORTRAN(int64_t, RTOJAC_INQ_NZ_EQNNUM_F, rtojac_inq_nz_eqnnum_f_, (rt_jac_t * *jac, const int64_t *k)) {
    return rtojac_inq_nz_eqnnum(handle(jac), narrow(k));
}

ZARN_FORTRAN(void, RTOJAC_SET_NZ_EQNNUM_F, rtojac_set_nz_eqnnum_f_,
             (rt_jac_t * *jac, const int64_t *k, const int64_t *eqn)) {
    rtojac_set_nz_eqnnum(handle(jac), narrow(k), narrow(eqn));
}

ZARN_FORTRAN(int64_t, RTOJAC_INQ_NZ_VARNUM_F, rtojac_inq_nz_varnum_f_, (rt_jac_t * *jac, const int64_t *k)) {
    return rtojac_inq_nz_varnum(handle(jac), narrow(k));
}

ZARN_FORTRAN(void, RTOJAC_SET_NZ_VARNUM_F, rtojac_set_nz_varnum_f_,
             (rt_jac_t * *jac, const int64_t *k, const int64_t *var)) {
    rtojac_set_nz_varnum(handle(jac), narrow(k), narrow(var));
}

ZARN_FORTRAN(void, RTOJAC_SET_NZ_COORD_F, rtojac_set_nz_coord_f_,
             (rt_jac_t * *jac, const int64_t *k, const int64_t *eqn, const int64_t *var)) {
    rtojac_set_nz_coord(handle(jac), narrow(k), narrow(eqn), narrow(var));
}

ZARN_FORTRAN(void, RTOJAC_SET_ROWS_F, rtojac_set_rows_f_, (rt_jac_t * *jac, const int64_t *rows)) {
    rtojac_set_rows(handle(jac), rows);
}

ZARN_FORTRAN(void, RTOJAC_SET_COLUMNS_F, rtojac_set_columns_f_, (rt_jac_t * *jac, const int64_t *columns)) {
    rtojac_set_columns(handle(jac), columns);
}

ZARN_FORTRAN(int64_t, RTOJAC_ZARN_LBIRN, rtojac_zarn_lbirn_,
             (rt_jac_t * *jac, int64_t *index, int64_t *copy)) {
    return give(zarn::rtjacbn::row_pattern(handle(jac), (deref(copy) & 1) != 0), index, copy);
}

ZARN_FORTRAN(int64_t, RTOJAC_ZARN_LBICN, rtojac_zarn_lbicn_,
             (rt_jac_t * *jac, int64_t *index, int64_t *copy)) {
    return give(zarn::rtjacbn::column_pattern(handle(jac), (deref(copy) & 1) != 0), index, copy);
}

ZARN_FORTRAN(void, RTOJAC_ZARN_LBBJ, rtojac_zarn_lbbj_, (rt_jac_t * *jac, int64_t *index)) {
    const double *values = rtojac_vec_bj(handle(jac));
    store(index, values != nullptr ? rto_dptr2plex_c(values) : 0);
}
