// Fortran entries of the units module: dereference, convert text, call the C function.
#include <cstdint>
#include <string_view>

#include "platform/fargs.h"
#include "platform/ftext.h"
#include "rtuom/rtuom_internal.h"

using zarn::fortran::deref;
using zarn::fortran::narrow;
using zarn::fortran::store;

ZARN_FORTRAN(double, RTOUOM_PAIR2SI_F, rtouom_pair2si_f_,
             (const double *value, const int64_t *ptype, const int64_t *uom)) {
    return rtouom_pair2si(deref(value), narrow(ptype), narrow(uom));
}

ZARN_FORTRAN(double, RTOUOM_SI2PAIR_F, rtouom_si2pair_f_,
             (const double *si, const int64_t *ptype, const int64_t *uom)) {
    return rtouom_si2pair(deref(si), narrow(ptype), narrow(uom));
}

ZARN_FORTRAN(double, RTOUOM_DELTA_PAIR2SI_F, rtouom_delta_pair2si_f_,
             (const double *value, const int64_t *ptype, const int64_t *uom)) {
    return rtouom_delta_pair2si(deref(value), narrow(ptype), narrow(uom));
}

ZARN_FORTRAN(double, RTOUOM_DELTA_SI2PAIR_F, rtouom_delta_si2pair_f_,
             (const double *si, const int64_t *ptype, const int64_t *uom)) {
    return rtouom_delta_si2pair(deref(si), narrow(ptype), narrow(uom));
}

ZARN_FORTRAN(void, RTOUOM_DEF_RCONV1_F, rtouom_def_rconv1_f_,
             (const int64_t *ptype, const double *si, double *value, char *name, size_t name_len)) {
    const char *unit = nullptr;
    rtouom_rconv1(narrow(ptype), 0, deref(si), value, &unit);
    zarn::ftext_store(name, name_len, unit != nullptr ? std::string_view(unit) : std::string_view());
}

ZARN_FORTRAN(void, RTOUOM_LOCATE_F, rtouom_locate_f_,
             (const char *unit, int64_t *ptype, int64_t *uom, size_t unit_len)) {
    zarn::FText text(unit, unit_len);
    int t = 0, u = 0;
    rtouom_locate(text.c_str(), &t, &u);
    store(ptype, t);
    store(uom, u);
}

ZARN_FORTRAN(void, RTOUOM_PTYPE_LOCATE_F, rtouom_ptype_locate_f_,
             (const char *unit, const int64_t *ptype, int64_t *uom, size_t unit_len)) {
    zarn::FText text(unit, unit_len);
    int u = 0;
    rtouom_ptype_locate(text.c_str(), narrow(ptype), &u);
    store(uom, u);
}

ZARN_FORTRAN(int64_t, RTOUOM_PREDEFINED_F, rtouom_predefined_f_, (const int64_t *ptype, const int64_t *uom)) {
    return rtouom_predefined(narrow(ptype), narrow(uom));
}

ZARN_FORTRAN(int64_t, RTOUOM_FORCE_PREDEFINED_UNITS_F, rtouom_force_predefined_units_f_,
             (const int64_t *ptype, const int64_t *uom)) {
    return rtouom_force_predefined_units(narrow(ptype), narrow(uom));
}

ZARN_FORTRAN(int64_t, RTOUOM_COERCION_ALLOWED_F, rtouom_coercion_allowed_f_,
             (const int64_t *from, const int64_t *to)) {
    return rtouom_coercion_allowed(narrow(from), narrow(to));
}

ZARN_FORTRAN(int64_t, RTOUOM_PTYPE_EQUAL_F, rtouom_ptype_equal_f_, (const int64_t *a, const int64_t *b)) {
    return rtouom_ptype_equal(narrow(a), narrow(b));
}

ZARN_FORTRAN(int64_t, RTOUOM_PTYPE_ADD_F, rtouom_ptype_add_f_,
             (const int64_t *a, const int64_t *b, int64_t *out)) {
    long long type = 0;
    const int ok = rtouom_ptype_add(narrow(a), narrow(b), &type);
    store(out, type);
    return ok;
}

ZARN_FORTRAN(int64_t, RTOUOM_PTYPE_SUB_F, rtouom_ptype_sub_f_,
             (const int64_t *a, const int64_t *b, int64_t *out)) {
    long long type = 0;
    const int ok = rtouom_ptype_sub(narrow(a), narrow(b), &type);
    store(out, type);
    return ok;
}

ZARN_FORTRAN(int64_t, RTOUOM_DELTA_PTYPE_F, rtouom_delta_ptype_f_, (const int64_t *ptype)) {
    return rtouom_delta_ptype(narrow(ptype));
}

ZARN_FORTRAN(int64_t, RTOUOM_GET_DEFAULT_F, rtouom_get_default_f_, (const int64_t *ptype)) {
    return rtouom_get_default(narrow(ptype));
}

ZARN_FORTRAN(int64_t, RTOUOM_SET_DEFAULT_F, rtouom_set_default_f_,
             (const int64_t *ptype, const int64_t *uom)) {
    return rtouom_set_default(narrow(ptype), narrow(uom));
}

ZARN_FORTRAN(void, RTOUOM_INQ_INFO, rtouom_inq_info_,
             (const int64_t *ptype, const int64_t *uom, double *mult, double *offset, char *name,
              size_t name_len)) {
    char full[RTOUOM_MAX_NAME + 1];
    rtouom_inq_info_c(narrow(ptype), narrow(uom), mult, offset, full);
    zarn::ftext_store(name, name_len, full);
}

ZARN_FORTRAN(void, RTOUOM_INQ_INFO_4A4, rtouom_inq_info_4a4_,
             (const int64_t *ptype, const int64_t *uom, double *mult, double *offset, char *name16)) {
    rtouom_inq_info_4a4_c(narrow(ptype), narrow(uom), mult, offset, name16);
}

ZARN_FORTRAN(void, RTOUOM_UOM_INFO_F, rtouom_uom_info_f_,
             (const int64_t *ptype, const int64_t *uom, double *mult, double *offset)) {
    zarn::rtuom::uom_info_or_si(narrow(ptype), narrow(uom), mult, offset);
}

ZARN_FORTRAN(int64_t, RTOUOM_ADD_UOM2_F, rtouom_add_uom2_f_,
             (const char *unit, const int64_t *ptype, const double *mult, const double *offset,
              const int64_t *alsoEqual, size_t unit_len)) {
    zarn::FText text(unit, unit_len);
    return zarn::rtuom::add_unit(text.c_str(), narrow(ptype), deref(mult), deref(offset),
                                 deref(alsoEqual) != 0, false);
}

ZARN_FORTRAN(int64_t, RTOUOM_ADD_UOM3_F, rtouom_add_uom3_f_,
             (const char *unit, const int64_t *ptype, const double *mult, const double *offset,
              const int64_t *alsoEqual, const int64_t *noCheck, size_t unit_len)) {
    zarn::FText text(unit, unit_len);
    return zarn::rtuom::add_unit(text.c_str(), narrow(ptype), deref(mult), deref(offset),
                                 deref(alsoEqual) != 0, deref(noCheck) != 0);
}

// Building destroys the table first: this is the reset.
ZARN_FORTRAN(void, RTOUOM_RESET_UOM_F, rtouom_reset_uom_f_, (void)) { pt_init_units_table(); }

ZARN_FORTRAN(void, RTOUOM_MODIFY_P_AMB_F, rtouom_modify_p_amb_f_, (const double *p)) {
    if (p != nullptr) rtouom_modify_p_amb(*p);
}

ZARN_FORTRAN(int64_t, RTOUOM_MODIFY_MULT_OFFSET_F, rtouom_modify_mult_offset_f_,
             (const int64_t *ptype, const char *unit, const double *mult, const double *offset,
              size_t unit_len)) {
    zarn::FText text(unit, unit_len);
    return rtouom_modify_mult_offset(narrow(ptype), text.c_str(), deref(mult), deref(offset));
}

ZARN_FORTRAN(int64_t, PT_LOOKUP_F, pt_lookup_f_, (const char *name, size_t name_len)) {
    zarn::FText text(name, name_len);
    return pt_lookup(text.c_str());
}
