// Fortran entry points of the variable list: dereference, convert texts, forward.
#include <cstring>

#include "platform/fargs.h"
#include "platform/ftext.h"
#include "rtattrdict/rtattrdict_lists.h"
#include "rtvarlst/rtvarlst_internal.h"
#include "zarnutils/stred.h"
#include "zarnutils/zarnmalloc.h"

using namespace zarn::rtvarlst;
using zarn::fortran::deref;

namespace {

constexpr int kTextMax = zarn::rtattrdict::kNameMax;

inline rtvarlst_t *handle(rtvarlst_t **list) { return zarn::fortran::handle(list); }
inline int32_t arg(const int32_t *p) { return deref(p); }
inline double real(const double *p) { return deref(p); }
// A Fortran logical passed as an integer: its low bit.
inline int flag(const int32_t *p) { return deref(p) & 1; }

void plex_of_double(const double *v, int64_t *out) {
    zarn::fortran::store(out, zarn::rtattrdict::plex_of(v));
}
void plex_of_int(const int64_t *v, int64_t *out) { zarn::fortran::store(out, zarn::rtattrdict::plex_of(v)); }

}  // namespace

ZARN_FORTRAN(int32_t, RTOVARLST_INQ_NVAR_F, rtovarlst_inq_nvar_f_, (rtvarlst_t * *list)) {
    return rtovarlst_inq_nvar(handle(list));
}

ZARN_FORTRAN(int32_t, RTOVARLST_INQ_CAPACITY_F, rtovarlst_inq_capacity_f_, (rtvarlst_t * *list)) {
    return rtovarlst_inq_capacity(handle(list));
}

ZARN_FORTRAN(void, RTOVARLST_RESIZE_F, rtovarlst_resize_f_, (rtvarlst_t * *list, const int32_t *capacity)) {
    rtovarlst_resize(handle(list), arg(capacity));
}

ZARN_FORTRAN(void, RTOVARLST_SET_NVAR_F, rtovarlst_set_nvar_f_, (rtvarlst_t * *list, const int32_t *n)) {
    rtovarlst_set_nvar(handle(list), arg(n));
}

ZARN_FORTRAN(int32_t, RTOVARLST_SUPER_INDEX_F, rtovarlst_super_index_f_,
             (rtvarlst_t * *list, const int32_t *i)) {
    return rtovarlst_super_index(handle(list), arg(i));
}

ZARN_FORTRAN(int32_t, RTOVARLST_VARNAME2INDEX, rtovarlst_varname2index_,
             (rtvarlst_t * *list, const char *name, size_t name_len)) {
    zarn::FText n(name, name_len);
    if (n.absent()) return 0;
    return rtovarlst__varname2index(handle(list), n.c_str());
}

ZARN_FORTRAN(void, RTOVARLST_INQ_VAR_NAME_F, rtovarlst_inq_var_name_f_,
             (rtvarlst_t * *list, const int32_t *i, char *field, size_t field_len)) {
    char buffer[kTextMax + 1];
    rtovarlst_inq_var_name(handle(list), arg(i), buffer);
    zarn::ftext_store(field, field_len, buffer);
}

ZARN_FORTRAN(void, RTOVARLST_INQ_VAR_MODIFIED_STRING_F, rtovarlst_inq_var_modified_string_f_,
             (rtvarlst_t * *list, const int32_t *i, char *field, size_t field_len)) {
    char buffer[32];
    buffer[0] = '\0';
    if (rtovarlst_inq_var_modified(handle(list), arg(i)) == nullptr) return;  // the field stays as it was
    rtovarlst_inq_var_modified_string(handle(list), arg(i), buffer);
    zarn::ftext_store(field, field_len, buffer);
}

ZARN_FORTRAN(double, RTOVARLST_INQ_VAR_VALUE_F, rtovarlst_inq_var_value_f_,
             (rtvarlst_t * *list, const int32_t *i, const int32_t *in_si)) {
    return rtovarlst_inq_var_value(handle(list), arg(i), flag(in_si));
}

ZARN_FORTRAN(void, RTOVARLST_SET_VAR_VALUE_F, rtovarlst_set_var_value_f_,
             (rtvarlst_t * *list, const int32_t *i, const double *v, const int32_t *in_si)) {
    rtovarlst_set_var_value(handle(list), arg(i), real(v), flag(in_si));
}

ZARN_FORTRAN(void, RTOVARLST_SET_VAR_LOWER_F, rtovarlst_set_var_lower_f_,
             (rtvarlst_t * *list, const int32_t *i, const double *v, const int32_t *in_si)) {
    rtovarlst_set_var_lower(handle(list), arg(i), real(v), flag(in_si));
}

ZARN_FORTRAN(void, RTOVARLST_SET_VAR_UPPER_F, rtovarlst_set_var_upper_f_,
             (rtvarlst_t * *list, const int32_t *i, const double *v, const int32_t *in_si)) {
    rtovarlst_set_var_upper(handle(list), arg(i), real(v), flag(in_si));
}

ZARN_FORTRAN(void, RTOVARLST_SET_VAR_SLVSCL_F, rtovarlst_set_var_slvscl_f_,
             (rtvarlst_t * *list, const int32_t *i, const double *v, const int32_t *in_si)) {
    rtovarlst_set_var_slvscl(handle(list), arg(i), real(v), flag(in_si));
}

ZARN_FORTRAN(void, RTOVARLST_SET_VAR_INITIAL_F, rtovarlst_set_var_initial_f_,
             (rtvarlst_t * *list, const int32_t *i, const double *v, const int32_t *in_si)) {
    rtovarlst_set_var_initial(handle(list), arg(i), real(v), flag(in_si));
}

ZARN_FORTRAN(void, RTOVARLST_SET_VAR_TARGET_HOMO_F, rtovarlst_set_var_target_homo_f_,
             (rtvarlst_t * *list, const int32_t *i, const double *v, const int32_t *in_si)) {
    rtovarlst_set_var_target_homo(handle(list), arg(i), real(v), flag(in_si));
}

ZARN_FORTRAN(double, RTOVARLST_INQ_VAR_TARGET_HOMO_F, rtovarlst_inq_var_target_homo_f_,
             (rtvarlst_t * *list, const int32_t *i, const int32_t *in_si)) {
    return rtovarlst_inq_var_target_homo(handle(list), arg(i), flag(in_si));
}

ZARN_FORTRAN(double, RTOVARLST_INQ_VAR_STEP_F, rtovarlst_inq_var_step_f_,
             (rtvarlst_t * *list, const int32_t *i)) {
    return rtovarlst_inq_var_step(handle(list), arg(i));
}

ZARN_FORTRAN(double, RTOVARLST_INQ_VAR_STEP_INBASEUOM_F, rtovarlst_inq_var_step_inbaseuom_f_,
             (rtvarlst_t * *list, const int32_t *i)) {
    return rtovarlst_inq_var_step_inbaseuom(handle(list), arg(i));
}

ZARN_FORTRAN(void, RTOVARLST_SET_VAR_STEP_F, rtovarlst_set_var_step_f_,
             (rtvarlst_t * *list, const int32_t *i, const double *v)) {
    rtovarlst_set_var_step(handle(list), arg(i), real(v));
}

ZARN_FORTRAN(void, RTOVARLST_SET_VAR_STEP_INBASEUOM_F, rtovarlst_set_var_step_inbaseuom_f_,
             (rtvarlst_t * *list, const int32_t *i, const double *v)) {
    rtovarlst_set_var_step_inbaseuom(handle(list), arg(i), real(v));
}

ZARN_FORTRAN(double, RTOVARLST_INQ_VAR_THRESHOLD_F, rtovarlst_inq_var_threshold_f_,
             (rtvarlst_t * *list, const int32_t *i)) {
    return rtovarlst_inq_var_threshold(handle(list), arg(i), 1);
}

ZARN_FORTRAN(void, RTOVARLST_SET_VAR_THRESHOLD_F, rtovarlst_set_var_threshold_f_,
             (rtvarlst_t * *list, const int32_t *i, const double *v)) {
    rtovarlst_set_var_threshold(handle(list), arg(i), real(v), 1);
}

ZARN_FORTRAN(double, RTOVARLST_INQ_VAR_SCALE_F, rtovarlst_inq_var_scale_f_,
             (rtvarlst_t * *list, const int32_t *i)) {
    return rtovarlst_inq_var_scale(handle(list), arg(i));
}

ZARN_FORTRAN(double, RTOVARLST_INQ_VAR_SBWEIGHT_F, rtovarlst_inq_var_sbweight_f_,
             (rtvarlst_t * *list, const int32_t *i)) {
    return rtovarlst_inq_var_sbweight(handle(list), arg(i));
}

ZARN_FORTRAN(void, RTOVARLST_SET_VAR_SBWEIGHT_F, rtovarlst_set_var_sbweight_f_,
             (rtvarlst_t * *list, const int32_t *i, const double *v)) {
    rtovarlst_set_var_sbweight(handle(list), arg(i), real(v));
}

ZARN_FORTRAN(int32_t, RTOVARLST_INQ_VAR_UOM_F, rtovarlst_inq_var_uom_f_,
             (rtvarlst_t * *list, const int32_t *i)) {
    return rtovarlst_inq_var_uom(handle(list), arg(i));
}

ZARN_FORTRAN(void, RTOVARLST_SET_VAR_UOM_F, rtovarlst_set_var_uom_f_,
             (rtvarlst_t * *list, const int32_t *i, const int32_t *uom)) {
    rtovarlst_set_var_uom(handle(list), arg(i), arg(uom));
}

ZARN_FORTRAN(void, RTOVARLST_SET_UOM_VALUE_F, rtovarlst_set_uom_value_f_,
             (rtvarlst_t * *list, const int32_t *i, const int32_t *uom)) {
    set_uom_value(handle(list), arg(i), arg(uom));
}

ZARN_FORTRAN(void, RTOVARLST_SET_SPEC_VALUE_F, rtovarlst_set_spec_value_f_,
             (rtvarlst_t * *list, const int32_t *i, const int32_t *spec)) {
    rtovarlst_set_spec_value(handle(list), arg(i), arg(spec));
}

ZARN_FORTRAN(void, RTOVARLST_SET_PHYSICAL_TYPE_F, rtovarlst_set_physical_type_f_,
             (rtvarlst_t * *list, const int32_t *i, const int32_t *ptype)) {
    rtovarlst_set_physical_type(handle(list), arg(i), arg(ptype));
}

ZARN_FORTRAN(void, RTOVARLST_SET_VAR_CONN_TYPE_F, rtovarlst_set_var_conn_type_f_,
             (rtvarlst_t * *list, const int32_t *i, const int32_t *code)) {
    rtovarlst_set_var_conn_type(handle(list), arg(i), arg(code));
}

ZARN_FORTRAN(int32_t, RTOVARLST_INQ_VAR_CONN_TYPE_F, rtovarlst_inq_var_conn_type_f_,
             (rtvarlst_t * *list, const int32_t *i)) {
    return rtovarlst_inq_var_conn_type(handle(list), arg(i));
}

ZARN_FORTRAN(void, RTOVARLST_SET_VAR_QUALITY_F, rtovarlst_set_var_quality_f_,
             (rtvarlst_t * *list, const int32_t *i, const int32_t *quality)) {
    rtovarlst_set_var_quality(handle(list), arg(i), arg(quality));
}

ZARN_FORTRAN(int32_t, RTOVARLST_INQ_VAR_QUALITY_F, rtovarlst_inq_var_quality_f_,
             (rtvarlst_t * *list, const int32_t *i)) {
    return rtovarlst_inq_var_quality(handle(list), arg(i));
}

ZARN_FORTRAN(void, RTOVARLST_SET_VAR_PARAM_HOMO_F, rtovarlst_set_var_param_homo_f_,
             (rtvarlst_t * *list, const int32_t *i, const int32_t *f)) {
    rtovarlst_set_var_param_homo(handle(list), arg(i), flag(f));
}

ZARN_FORTRAN(int32_t, RTOVARLST_INQ_VAR_PARAM_HOMO_F, rtovarlst_inq_var_param_homo_f_,
             (rtvarlst_t * *list, const int32_t *i)) {
    if (handle(list) == nullptr) return RTOVARLST_NEUTRAL_INT;
    return rtovarlst_inq_var_param_homo(handle(list), arg(i));
}

ZARN_FORTRAN(void, RTOVARLST_SET_VAR_RAMPED_F, rtovarlst_set_var_ramped_f_,
             (rtvarlst_t * *list, const int32_t *i, const int32_t *ramped)) {
    rtovarlst_set_var_ramped(handle(list), arg(i), arg(ramped));
}

ZARN_FORTRAN(int32_t, RTOVARLST_INQ_VAR_RAMPED_F, rtovarlst_inq_var_ramped_f_,
             (rtvarlst_t * *list, const int32_t *i)) {
    return rtovarlst_inq_var_ramped(handle(list), arg(i));
}

ZARN_FORTRAN(void, RTOVARLST_SET_VAR_MODIFIED_MASK_F, rtovarlst_set_var_modified_mask_f_,
             (rtvarlst_t * *list, const int32_t *i, const int32_t *m)) {
    rtovarlst_set_var_modified_mask(handle(list), arg(i), arg(m));
}

ZARN_FORTRAN(int32_t, RTOVARLST_INQ_VAR_MODIFIED_MASK1_F, rtovarlst_inq_var_modified_mask1_f_,
             (rtvarlst_t * *list, const int32_t *i)) {
    return static_cast<int32_t>(rtovarlst_inq_var_modified_mask1(handle(list), arg(i)));
}

ZARN_FORTRAN(int32_t, RTOVARLST_INQ_VAR_MODIFIED_MASK2_F, rtovarlst_inq_var_modified_mask2_f_,
             (rtvarlst_t * *list, const int32_t *i)) {
    return static_cast<int32_t>(rtovarlst_inq_var_modified_mask2(handle(list), arg(i)));
}

ZARN_FORTRAN(double, RTOVARLST_VALUEINSI2BASEUOM_F, rtovarlst_valueinsi2baseuom_f_,
             (rtvarlst_t * *list, const int32_t *i, const double *v)) {
    rtvarlst_t *l = handle(list);
    return in_range(l, arg(i)) ? from_si(l, arg(i), real(v), Conv::kPlain) : real(v);
}

ZARN_FORTRAN(double, RTOVARLST_VALUEINBASEUOM2SI_F, rtovarlst_valueinbaseuom2si_f_,
             (rtvarlst_t * *list, const int32_t *i, const double *v)) {
    rtvarlst_t *l = handle(list);
    return in_range(l, arg(i)) ? to_si(l, arg(i), real(v), Conv::kPlain) : real(v);
}

ZARN_FORTRAN(void, RTOVARLST_ZARN_LBX, rtovarlst_zarn_lbx_, (rtvarlst_t * *list, int64_t *out)) {
    plex_of_double(rtovarlst_vec_value(handle(list)), out);
}
ZARN_FORTRAN(void, RTOVARLST_ZARN_LBXLB, rtovarlst_zarn_lbxlb_, (rtvarlst_t * *list, int64_t *out)) {
    plex_of_double(rtovarlst_vec_lower(handle(list)), out);
}
ZARN_FORTRAN(void, RTOVARLST_ZARN_LBXUB, rtovarlst_zarn_lbxub_, (rtvarlst_t * *list, int64_t *out)) {
    plex_of_double(rtovarlst_vec_upper(handle(list)), out);
}
ZARN_FORTRAN(void, RTOVARLST_ZARN_LBXSCL, rtovarlst_zarn_lbxscl_, (rtvarlst_t * *list, int64_t *out)) {
    plex_of_double(rtovarlst_vec_scale(handle(list)), out);
}
ZARN_FORTRAN(void, RTOVARLST_ZARN_LBXSOLVSCL, rtovarlst_zarn_lbxsolvscl_,
             (rtvarlst_t * *list, int64_t *out)) {
    plex_of_double(rtovarlst_vec_solveScale(handle(list)), out);
}
ZARN_FORTRAN(void, RTOVARLST_ZARN_LBXINIT, rtovarlst_zarn_lbxinit_, (rtvarlst_t * *list, int64_t *out)) {
    plex_of_double(rtovarlst_vec_initial(handle(list)), out);
}
ZARN_FORTRAN(void, RTOVARLST_ZARN_LBXSHADOW, rtovarlst_zarn_lbxshadow_, (rtvarlst_t * *list, int64_t *out)) {
    plex_of_double(rtovarlst_vec_shadow_price(handle(list)), out);
}
ZARN_FORTRAN(void, RTOVARLST_ZARN_LBXSTAT, rtovarlst_zarn_lbxstat_, (rtvarlst_t * *list, int64_t *out)) {
    plex_of_int(rtovarlst_vec_status(handle(list)), out);
}
ZARN_FORTRAN(void, RTOVARLST_ZARN_LBXBASEUOM, rtovarlst_zarn_lbxbaseuom_,
             (rtvarlst_t * *list, int64_t *out)) {
    plex_of_int(rtovarlst_vec_baseuom(handle(list)), out);
}

ZARN_FORTRAN(void, RTOVARLST_NAMES_F, rtovarlst_names_f_,
             (rtvarlst_t * *list, const int32_t *first, const int32_t *last, const int32_t *width,
              char *buffer, size_t buffer_len)) {
    (void)buffer_len;  // each field is `width` bytes; the caller sized the array
    rtovarlst_names(handle(list), arg(first), arg(last), arg(width), buffer);
}

ZARN_FORTRAN(void, RTOVARLST_ADDVAR_F, rtovarlst_addvar_f_,
             (rtvarlst_t * *list, const int32_t *i, const char *name, size_t name_len)) {
    zarn::FText n(name, name_len);
    rtovarlst_addvar(handle(list), arg(i), n.c_str());
}

// A name or description packed into n words, unpacked and stripped of trailing blanks.
using PackedText = zarn::rtattrdict::PackedName;

ZARN_FORTRAN(void, RTOVARLST_ADDVAR_I4_F, rtovarlst_addvar_i4_f_,
             (rtvarlst_t * *list, const int32_t *i, const int64_t *words, const int32_t *n)) {
    rtovarlst_addvar(handle(list), arg(i), PackedText(words, arg(n)).text);
}

ZARN_FORTRAN(void, RTOVARLST_ADDVAR_R8_F, rtovarlst_addvar_r8_f_,
             (rtvarlst_t * *list, const int32_t *i, const double *words, const int32_t *n)) {
    rtovarlst_addvar(handle(list), arg(i), PackedText(words, arg(n)).text);
}

ZARN_FORTRAN(void, RTOVARLST_SET_VAR_DECSRIPTION_I4_F, rtovarlst_set_var_decsription_i4_f_,
             (rtvarlst_t * *list, const int32_t *i, const int64_t *words, const int32_t *n)) {
    rtovarlst_set_var_description(handle(list), arg(i), PackedText(words, arg(n)).text);
}

ZARN_FORTRAN(void, RTOVARLST_SET_VAR_DECSRIPTION_R8_F, rtovarlst_set_var_decsription_r8_f_,
             (rtvarlst_t * *list, const int32_t *i, const double *words, const int32_t *n)) {
    rtovarlst_set_var_description(handle(list), arg(i), PackedText(words, arg(n)).text);
}

ZARN_FORTRAN(void, RTOVARLST_INQ_VAR_DESCRIPTION_F, rtovarlst_inq_var_description_f_,
             (char *field, size_t field_len, rtvarlst_t **list, const int32_t *i)) {
    const char *text = rtovarlst_inq_var_description(handle(list), arg(i));
    zarn::ftext_store(field, field_len, text ? text : "");
}

ZARN_FORTRAN(void, RTOVARLST_SET_VAR_BLOCKPTR_INT_F, rtovarlst_set_var_blockptr_int_f_,
             (rtvarlst_t * *list, const int32_t *i, const int64_t *block)) {
    rtovarlst_set_var_blockptr_int(handle(list), arg(i), deref(block));
}

ZARN_FORTRAN(void, MEMMOVE_F, memmove_f_, (void *dst, const void *src, const int64_t *n)) {
    if (dst == nullptr || src == nullptr || n == nullptr || *n <= 0) return;
    std::memmove(dst, src, static_cast<size_t>(*n));
}

// ---- A list and its name digest for a program without a C host ----

ZARN_FORTRAN(rtvarlst_t *, RTOVARLST_CREATE_F, rtovarlst_create_f_, (const int64_t *capacity)) {
    // An absent or negative capacity makes an empty list; one beyond 32 bits asks for the most.
    return rtovarlst_create(zarn::fortran::narrow(capacity));
}

ZARN_FORTRAN(void, RTOVARLST_DESTROY_F, rtovarlst_destroy_f_, (rtvarlst_t * *list)) {
    if (list == nullptr) return;
    rtovarlst_destroy_c(list);
}

ZARN_FORTRAN(int64_t, RTOVARLST_NAME_DIGEST_F, rtovarlst_name_digest_f_,
             (rtvarlst_t * *list, int64_t *digest)) {
    rtvarlst_t *l = handle(list);
    if (l == nullptr || digest == nullptr) return -1;
    zarn_md5_ctx_t ctx;
    MD5Init(&ctx);
    if (ctx.impl == nullptr) return -1;  // MD5Init has reported it
    const int32_t n = rtovarlst_compute_md(l, &ctx);
    MD5Final(&ctx);
    for (size_t k = 0; k < sizeof ctx.digest; ++k) digest[k] = ctx.digest[k];
    return n;
}
