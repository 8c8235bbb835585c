// Variable lists: conversion between a variable's base unit and SI, and the
// checked change of its display unit.
#include "rtopipe/report.h"
#include "rtuom/difference.h"
#include "rtvarlst/rtvarlst_internal.h"
#include "rtvarlst/rtvarlst_messages.h"
#include "rtvarlst/rtvarlst_scale.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/varutl.h"

namespace zarn::rtvarlst {

namespace {

// The unit data of item i: its base unit and physical type; false when the
// stored numbers need no conversion.
bool unit_pair(rtvarlst_t *list, int32_t i, int *ptype, int *base) {
    const int64_t *b = cell<int64_t>(list, kColBaseUom, i);
    if (b == nullptr || *b == 1) return false;
    *base = static_cast<int>(*b);
    *ptype = varInqPhysicalType(status_of(list, i));
    return true;
}

bool use_delta(Conv how, int ptype) { return how == Conv::kDelta || zarn::rtuom::is_difference_type(ptype); }

}  // namespace

bool converts(rtvarlst_t *list, int32_t i) {
    const int64_t *b = cell<int64_t>(list, kColBaseUom, i);
    return b != nullptr && *b != 1;
}

double to_si(rtvarlst_t *list, int32_t i, double stored, Conv how) {
    if (how == Conv::kKeepUndefined && stored == RTOVARLST_UNDEFINED) return stored;
    int ptype = 0, base = 1;
    if (!unit_pair(list, i, &ptype, &base)) return stored;
    return use_delta(how, ptype) ? rtouom_delta_pair2si(stored, ptype, base)
                                 : rtouom_pair2si(stored, ptype, base);
}

double from_si(rtvarlst_t *list, int32_t i, double si, Conv how) {
    if (how == Conv::kKeepUndefined && si == RTOVARLST_UNDEFINED) return si;
    int ptype = 0, base = 1;
    if (!unit_pair(list, i, &ptype, &base)) return si;
    return use_delta(how, ptype) ? rtouom_delta_si2pair(si, ptype, base) : rtouom_si2pair(si, ptype, base);
}

double effective_scale(rtvarlst_t *list, int32_t i) {
    return effective_scale(in_range(list, i) ? rtovarlst_inq_var_scale(list, i) : 1.0);
}

ItemUnits item_units(rtvarlst_t *list, int32_t i) {
    if (!in_range(list, i)) return {0, 0, 0, 1.0};
    VarList *l = as_list(list);
    const int64_t at = zarn::rtattrdict::head_offset(l->dictionary) + (i - 1);
    const auto *status = zarn::rtattrdict::column_base<int64_t>(l->cols[kColStatus]) + at;
    const auto *uom = zarn::rtattrdict::column_base<int64_t>(l->cols[kColUom]) + at;
    const auto *baseuom = zarn::rtattrdict::column_base<int64_t>(l->cols[kColBaseUom]) + at;
    const auto *scale = zarn::rtattrdict::column_base<double>(l->cols[kColScale]) + at;
    __builtin_prefetch(zarn::rtattrdict::column_base<double>(l->cols[kColValue]) + at);
    __builtin_prefetch(zarn::rtattrdict::column_base<void *>(l->cols[kColModified]) + at);
    return {varInqPhysicalType(*status), static_cast<int32_t>(*uom), static_cast<int32_t>(*baseuom),
            effective_scale(*scale)};
}

double base_to_si(rtvarlst_t *list, int32_t i, double v, bool difference) {
    return in_range(list, i) ? to_si(list, i, v, difference ? Conv::kDelta : Conv::kPlain) : v;
}

double si_to_base(rtvarlst_t *list, int32_t i, double si, bool difference) {
    return in_range(list, i) ? from_si(list, i, si, difference ? Conv::kDelta : Conv::kPlain) : si;
}

void set_uom_value(rtvarlst_t *list, int32_t i, int32_t uom) {
    if (!in_range(list, i)) return;
    const int32_t ptype = rtovarlst_inq_physical_type(list, i);
    const int32_t t = ptype < 0 ? -ptype : ptype;
    // Index 0 is the type's default unit, which exists when the type has units.
    const bool known = t < RTOUOM_NTYPES && rtouom_count[t] > 0 && uom >= 0 && uom <= rtouom_count[t];
    if (!known) {
        char name[zarn::rtattrdict::kNameBuf];
        rtovarlst_inq_var_name(list, i, name);
        zarn::rtopipe::report(msg::kUomType, name, ptype);
        zarn::rtopipe::report(msg::kUomIndex, uom);
        return;
    }
    if (rtovarlst_inq_var_uom(list, i) == uom) return;
    rtovarlst_set_var_uom(list, i, uom);
    notify(list, i, RTOVARLST_CHG_UOM);
}

}  // namespace zarn::rtvarlst
