// Fortran entry points of the status-word accessors: dereference and forward.
#include "platform/fargs.h"
#include "zarnutils/varutl.h"

using zarn::fortran::deref;

namespace {

// Equation readers look at the low 32 bits of the caller's 64-bit word.
inline int32_t low32(const int64_t *word) { return static_cast<int32_t>(deref(word)); }

}  // namespace

// Equation status word.
ZARN_FORTRAN(void, U3INCR, u3incr_, (int64_t * word)) { u3incr_c(word); }
ZARN_FORTRAN(void, U3UNCR, u3uncr_, (int64_t * word)) { u3uncr_c(word); }
ZARN_FORTRAN(int32_t, U3RINC, u3rinc_, (const int64_t *word)) { return u3rinc_c(low32(word)); }
ZARN_FORTRAN(int32_t, U3RGMT, u3rgmt_, (const int64_t *word)) { return u3rgmt_c(low32(word)); }
ZARN_FORTRAN(void, U3RPMT, u3rpmt_, (int64_t * word, const int32_t *type)) {
    if (type != nullptr) u3rpmt_c(word, *type);
}
ZARN_FORTRAN(double, U3RGSN, u3rgsn_, (const int64_t *word)) { return u3rgsn_c(low32(word)); }
ZARN_FORTRAN(void, U3RPSN, u3rpsn_, (int64_t * word, const double *value)) {
    if (value != nullptr) u3rpsn_c(word, *value);
}
ZARN_FORTRAN(int32_t, U3RGTF, u3rgtf_, (const int64_t *word)) { return u3rgtf_c(low32(word)); }
ZARN_FORTRAN(void, U3RPTF, u3rptf_, (int64_t * word, const int32_t *flag)) { u3rptf_c(word, deref(flag)); }
ZARN_FORTRAN(int32_t, U3RGLN, u3rgln_, (const int64_t *word)) { return u3rgln_c(low32(word)); }
ZARN_FORTRAN(void, U3RPLN, u3rpln_, (int64_t * word, const int32_t *flag)) { u3rpln_c(word, deref(flag)); }
ZARN_FORTRAN(int32_t, U3RGPF, u3rgpf_, (const int64_t *word)) { return u3rgpf_c(low32(word)); }
ZARN_FORTRAN(void, U3RPPF, u3rppf_, (int64_t * word, const int32_t *flag)) { u3rppf_c(word, deref(flag)); }
ZARN_FORTRAN(void, U3R_GET_PRECON1, u3r_get_precon1_, (const int64_t *word, int64_t *spec, int64_t *conn)) {
    u3r_get_precon1_c(low32(word), spec, conn);
}
ZARN_FORTRAN(void, U3R_SET_PRECON1, u3r_set_precon1_,
             (int64_t * word, const int32_t *spec, const int32_t *conn)) {
    if (spec != nullptr && conn != nullptr) u3r_set_precon1_c(word, *spec, *conn);
}
ZARN_FORTRAN(void, U3R_GET_PRECON2, u3r_get_precon2_, (const int64_t *word, int64_t *spec, int64_t *conn)) {
    u3r_get_precon2_c(low32(word), spec, conn);
}
ZARN_FORTRAN(void, U3R_SET_PRECON2, u3r_set_precon2_,
             (int64_t * word, const int32_t *spec, const int32_t *conn)) {
    if (spec != nullptr && conn != nullptr) u3r_set_precon2_c(word, *spec, *conn);
}
ZARN_FORTRAN(double, U3RMSERR, u3rmserr_, (const int32_t *n, const double *resid, const int64_t *words)) {
    return u3rmserr_c(deref(n), resid, words);
}

// Variable status word.
ZARN_FORTRAN(void, U3FXV, u3fxv_, (int64_t * word)) { varFix(word); }
ZARN_FORTRAN(void, U3UFXV, u3ufxv_, (int64_t * word)) { varFree(word); }
ZARN_FORTRAN(void, U3V_INDEPENDENT, u3v_independent_, (int64_t * word)) { varMakeIndependent(word); }
ZARN_FORTRAN(int32_t, U3V_GET_SPEC, u3v_get_spec_, (const int64_t *word)) { return varInqSpec(deref(word)); }
ZARN_FORTRAN(void, U3V_SET_SPEC, u3v_set_spec_, (int64_t * word, const int32_t *spec)) {
    if (spec != nullptr) varSetSpec(word, *spec);
}
ZARN_FORTRAN(int32_t, U3VFXD, u3vfxd_, (const int64_t *word)) { return varIsFixed(deref(word)); }
ZARN_FORTRAN(int32_t, U3V_IS_INDEPENDENT, u3v_is_independent_, (const int64_t *word)) {
    return varIsIndependent(deref(word));
}
ZARN_FORTRAN(void, U3VGPT, u3vgpt_, (const int64_t *word, int64_t *out)) {
    if (out != nullptr) *out = varInqPhysicalType(deref(word));
}
ZARN_FORTRAN(void, U3VPPT, u3vppt_, (int64_t * word, const int32_t *ptype)) {
    if (ptype != nullptr) varSetPhysicalType(word, *ptype);
}
ZARN_FORTRAN(int32_t, U3V_GET_CONNECTED, u3v_get_connected_, (const int64_t *word)) {
    return varInqConnected(deref(word));
}
ZARN_FORTRAN(void, U3V_SET_CONNECTED, u3v_set_connected_, (int64_t * word, const int32_t *state)) {
    if (state != nullptr) varSetConnected(word, *state);
}
ZARN_FORTRAN(void, U3V_GET_BNDTYP, u3v_get_bndtyp_, (const int64_t *word, int64_t *out)) {
    varInqBoundType(deref(word), out);
}
ZARN_FORTRAN(void, U3V_SET_BNDTYP, u3v_set_bndtyp_, (const int32_t *bound_type, int64_t *word)) {
    if (bound_type != nullptr) varSetBoundType(*bound_type, word);
}
ZARN_FORTRAN(void, U3V_HARD, u3v_hard_, (int64_t * word)) { varSetBoundType(VAR_BOUND_HARD, word); }
ZARN_FORTRAN(void, U3V_RELAX, u3v_relax_, (int64_t * word)) { varSetBoundType(VAR_BOUND_RELAXED, word); }
ZARN_FORTRAN(void, U3V_SOFT, u3v_soft_, (int64_t * word)) { varSetBoundType(VAR_BOUND_SOFT, word); }
ZARN_FORTRAN(void, U3V_SOFT2, u3v_soft2_, (int64_t * word)) { varSetBoundType(VAR_BOUND_SOFT2, word); }

namespace {
inline int32_t bound_is(const int64_t *word, int64_t bt) {
    int64_t t = 0;
    varInqBoundType(deref(word), &t);
    return t == bt ? 1 : 0;
}
}  // namespace

ZARN_FORTRAN(int32_t, U3V_IS_HARD, u3v_is_hard_, (const int64_t *word)) {
    return bound_is(word, VAR_BOUND_HARD);
}
ZARN_FORTRAN(int32_t, U3V_IS_RELAX, u3v_is_relax_, (const int64_t *word)) {
    return bound_is(word, VAR_BOUND_RELAXED);
}
ZARN_FORTRAN(int32_t, U3V_IS_SOFT, u3v_is_soft_, (const int64_t *word)) {
    return bound_is(word, VAR_BOUND_SOFT);
}
ZARN_FORTRAN(int32_t, U3V_IS_SOFT2, u3v_is_soft2_, (const int64_t *word)) {
    return bound_is(word, VAR_BOUND_SOFT2);
}
ZARN_FORTRAN(void, U3V_SET_INSTRUMENT, u3v_set_instrument_, (int64_t * word, const int32_t *flag)) {
    varSetInstrument(word, deref(flag));
}
ZARN_FORTRAN(int32_t, U3V_IS_INSTRUMENT, u3v_is_instrument_, (const int64_t *word)) {
    return varIsInstrument(deref(word));
}
ZARN_FORTRAN(void, U3V_SET_MEASURED, u3v_set_measured_, (int64_t * word, const int32_t *flag)) {
    varSetMeasured(word, deref(flag));
}
ZARN_FORTRAN(int32_t, U3V_IS_MEASURED, u3v_is_measured_, (const int64_t *word)) {
    return varIsMeasured(deref(word));
}
ZARN_FORTRAN(void, U3V_SET_EXCLUDED, u3v_set_excluded_, (int64_t * word, const int32_t *flag)) {
    varSetExcluded(word, deref(flag));
}
ZARN_FORTRAN(int32_t, U3V_IS_EXCLUDED, u3v_is_excluded_, (const int64_t *word)) {
    return varIsExcluded(deref(word));
}
ZARN_FORTRAN(void, U3V_SET_LINEAR, u3v_set_linear_, (int64_t * word, const int32_t *flag)) {
    varSetLinear(word, deref(flag));
}
ZARN_FORTRAN(int32_t, U3V_IS_LINEAR, u3v_is_linear_, (const int64_t *word)) {
    return varIsLinear(deref(word));
}
