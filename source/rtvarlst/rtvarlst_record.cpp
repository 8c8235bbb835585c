// Variable lists: a whole variable read, written and initialised as one
// record. Every field goes through its per-attribute operation, so units,
// change notification and modification records behave as they do there.
#include <cstring>

#include "platform/zassert.h"
#include "rtopipe/report.h"
#include "rtvarlst/rtvarlst_internal.h"
#include "rtvarlst/rtvarlst_scale.h"
#include "rtvarlst/rtvarlst_messages.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/varutl.h"

namespace zarn::rtvarlst {

namespace {

// Fields of the status word that the inquiry reads STATUS for.
constexpr uint32_t kNeedsStatus = RTVARINFO_STATUS | RTVARINFO_RELATED | RTVARINFO_VAR_TYPE | RTVARINFO_SPEC;

// Magnitude of a missing bound given to a fresh variable, in its unit.
constexpr double kDefaultBound = 1e20;

bool has(const rtvarinfo_t *r, int32_t code) { return rtvarinfo_mask_has(&r->mask, code) != 0; }

// The low 32 bits of a 64-bit field, as the 32-bit writers take them.
int32_t low32(int64_t v) { return static_cast<int32_t>(v); }

// Reports every missing argument of a writer; true when all are there.
bool writer_args(rtvarlst_t *list, int32_t i, const rtvarinfo_t *r, const char *no_list, const char *no_index,
                 const char *no_record) {
    ZARN_ASSERT(list != nullptr, no_list, msg::kSource);
    ZARN_ASSERT(i != 0, no_index, msg::kSource);
    ZARN_ASSERT(r != nullptr, no_record, msg::kSource);
    return list != nullptr && i != 0 && r != nullptr;
}

// VALUE, LOWER and UPPER in an order that keeps LOWER <= VALUE <= UPPER at
// every step when the new values are consistent, so that a host watching
// the notifications never sees a value outside its bounds.
void write_value_and_bounds(rtvarlst_t *list, int32_t i, const rtvarinfo_t *r, int si) {
    const bool lower = has(r, RTVARINFO_LOWER), upper = has(r, RTVARINFO_UPPER),
               value = has(r, RTVARINFO_VALUE);
    if (!value) {
        if (lower) rtovarlst_set_var_lower(list, i, r->lower, si);
        if (upper) rtovarlst_set_var_upper(list, i, r->upper, si);
        return;
    }
    if (!lower && !upper) {
        rtovarlst_set_var_value(list, i, r->value, si);
        return;
    }
    const double v = rtovarlst_inq_var_value(list, i, si);
    const bool upper_first = upper && r->upper >= v;
    if (upper_first) rtovarlst_set_var_upper(list, i, r->upper, si);
    if (lower && v >= r->lower) {
        rtovarlst_set_var_lower(list, i, r->lower, si);
        rtovarlst_set_var_value(list, i, r->value, si);
    } else if (lower) {
        rtovarlst_set_var_value(list, i, r->value, si);
        rtovarlst_set_var_lower(list, i, r->lower, si);
    } else {
        rtovarlst_set_var_value(list, i, r->value, si);
    }
    if (upper && !upper_first) rtovarlst_set_var_upper(list, i, r->upper, si);
}

}  // namespace
}  // namespace zarn::rtvarlst

using namespace zarn::rtvarlst;

extern "C" {

void rtovarlst_inq_var(rtvarlst_t *list, int32_t i, rtvarinfo_t *r, unsigned char in_si) {
    ZARN_ASSERT(list != nullptr, msg::kAssertInqList, msg::kSource);
    ZARN_ASSERT(r != nullptr, msg::kAssertInqRecord, msg::kSource);
    if (list == nullptr || r == nullptr) return;
    // Reals held in SI already are read as they are, without a unit lookup per field.
    const int si = in_si != 0 && converts(list, i);
    // An item within the list has its full columns read at one cell index,
    // found once for the record; reals so only when nothing is converted.
    const bool direct = in_range(list, i);
    const int32_t at = direct ? zarn::rtattrdict::head_offset(list->dictionary) + i - 1 : 0;
    const VarList *l = as_list(list);
    auto real = [&](Col c, double (*inquire)(rtvarlst_t *, int32_t, int)) {
        return direct && si == 0 ? zarn::rtattrdict::column_base<double>(l->cols[c])[at]
                                 : inquire(list, i, si);
    };
    if (has(r, RTVARINFO_NAME)) rtovarlst_inq_var_name(list, i, r->name);
    if ((r->mask.mask1 & kNeedsStatus) != 0)
        r->status = direct ? zarn::rtattrdict::column_base<int64_t>(l->cols[kColStatus])[at]
                           : rtovarlst_inq_var_status(list, i);
    if (has(r, RTVARINFO_SHADOW_PRICE)) r->shadow_price = real(kColShadow, rtovarlst_inq_var_shadow_price);
    if (has(r, RTVARINFO_VALUE)) r->value = real(kColValue, rtovarlst_inq_var_value);
    if (has(r, RTVARINFO_INIT)) r->init = real(kColInit, rtovarlst_inq_var_initial);
    if (has(r, RTVARINFO_LOWER)) r->lower = real(kColLower, rtovarlst_inq_var_lower);
    if (has(r, RTVARINFO_UPPER)) r->upper = real(kColUpper, rtovarlst_inq_var_upper);
    if (has(r, RTVARINFO_STEP))
        r->step = si ? rtovarlst_inq_var_step(list, i) : rtovarlst_inq_var_step_inbaseuom(list, i);
    if (has(r, RTVARINFO_INTSCALE))
        r->intscale = direct ? zarn::rtattrdict::column_base<double>(l->cols[kColScale])[at]
                             : rtovarlst_inq_var_scale(list, i);
    if (has(r, RTVARINFO_SCALE)) r->scale = real(kColSlvScale, rtovarlst_inq_var_slvscl);
    if (has(r, RTVARINFO_SBWEIGHT)) r->sbweight = rtovarlst_inq_var_sbweight(list, i);
    if (has(r, RTVARINFO_QUALITY)) r->quality = rtovarlst_inq_var_quality(list, i);
    // An algebraic variable has no partner, whatever its RELATED column holds.
    if (has(r, RTVARINFO_RELATED))
        r->related = varInqType(r->status) != VAR_TYPE_ALGEBRAIC ? rtovarlst_inq_var_related(list, i) : 0;
    if (has(r, RTVARINFO_MODIFIED)) {
        const rtvarmod_t *m = rtovarlst_inq_var_modified(list, i);
        r->modified = m != nullptr ? *m : rtvarmod_t{0, 0};
    }
    if (has(r, RTVARINFO_CONN_MGR)) r->conn_mgr = rtovarlst_inq_var_connMgr(list, i);
    if (has(r, RTVARINFO_ACTIVE_BOUND)) r->active_bound = rtovarlst_inq_var_active_bound(list, i);
    if (has(r, RTVARINFO_BASEUOM))
        r->baseuom =
            direct ? static_cast<int32_t>(zarn::rtattrdict::column_base<int64_t>(l->cols[kColBaseUom])[at])
                   : rtovarlst_inq_var_baseuom(list, i);
    if (has(r, RTVARINFO_BLOCKPTR)) r->blockptr = rtovarlst_inq_var_blockptr(list, i);
    if (has(r, RTVARINFO_PARAM_HOMO)) r->param_homo = rtovarlst_inq_var_param_homo(list, i);
    if (has(r, RTVARINFO_TARGET_HOMO)) r->target_homo = rtovarlst_inq_var_target_homo(list, i, si);
    if (has(r, RTVARINFO_DESCRIPTION)) r->description = rtovarlst_inq_var_description(list, i);
    if (has(r, RTVARINFO_UOM) || has(r, RTVARINFO_UNITS))
        r->uom = direct ? static_cast<int32_t>(zarn::rtattrdict::column_base<int64_t>(l->cols[kColUom])[at])
                        : rtovarlst_inq_var_uom(list, i);
    if (has(r, RTVARINFO_THRESHOLD)) r->threshold = real(kColThreshold, rtovarlst_inq_var_threshold);
    if (has(r, RTVARINFO_RAMPED)) r->ramped = rtovarlst_inq_var_ramped(list, i) != 0 ? 1 : 0;
    if (has(r, RTVARINFO_VAR_PROFILE)) r->profile = rtovarlst_inq_var_profile(list, i);
    if (has(r, RTVARINFO_CONN_TYPE)) r->conn_type = rtovarlst_inq_var_conn_type(list, i);
    if (has(r, RTVARINFO_BASIC)) r->basic = rtovarlst_inq_var_basic(list, i);
}

int32_t rtovarlst_set_var(rtvarlst_t *list, int32_t i, const rtvarinfo_t *r, unsigned char in_si) {
    if (!writer_args(list, i, r, msg::kAssertSetList, msg::kAssertSetIndex, msg::kAssertSetRecord)) return 0;
    const int si = in_si != 0;
    if (has(r, RTVARINFO_NAME)) zarn::rtopipe::report(msg::kNameReadOnly);
    if (has(r, RTVARINFO_MODIFIED)) rtovarlst_set_var_modified(list, i, &r->modified);
    if (has(r, RTVARINFO_INIT)) rtovarlst_set_var_initial(list, i, r->init, si);
    write_value_and_bounds(list, i, r, si);
    if (has(r, RTVARINFO_STEP)) {
        if (si)
            rtovarlst_set_var_step(list, i, r->step);
        else
            rtovarlst_set_var_step_inbaseuom(list, i, r->step);
    }
    if (has(r, RTVARINFO_INTSCALE)) zarn::rtopipe::report(msg::kIntScaleReadOnly);
    if (has(r, RTVARINFO_SHADOW_PRICE)) zarn::rtopipe::report(msg::kShadowReadOnly);
    if (has(r, RTVARINFO_ACTIVE_BOUND)) zarn::rtopipe::report(msg::kActiveBoundReadOnly);
    if (has(r, RTVARINFO_SCALE)) rtovarlst_set_var_slvscl(list, i, r->scale, si);
    if (has(r, RTVARINFO_SBWEIGHT)) rtovarlst_set_var_sbweight(list, i, r->sbweight);
    if (has(r, RTVARINFO_QUALITY)) rtovarlst_set_var_quality(list, i, r->quality);
    if (has(r, RTVARINFO_STATUS)) {
        rtovarlst_set_var_status(list, i, r->status);
        if (has(r, RTVARINFO_RELATED)) rtovarlst_set_var_related(list, i, r->related);
    } else if (has(r, RTVARINFO_RELATED)) {
        // Without the whole word, RELATED comes with the type it belongs to, checked.
        rtovarlst_set_var_type(list, i, varInqType(r->status), r->related);
    }
    if (has(r, RTVARINFO_BASEUOM)) rtovarlst_set_var_baseuom(list, i, low32(r->baseuom));
    if (has(r, RTVARINFO_BLOCKPTR)) rtovarlst_set_var_blockptr(list, i, r->blockptr);
    if (has(r, RTVARINFO_PARAM_HOMO)) rtovarlst_set_var_param_homo(list, i, r->param_homo);
    if (has(r, RTVARINFO_TARGET_HOMO)) rtovarlst_set_var_target_homo(list, i, r->target_homo, si);
    if (has(r, RTVARINFO_DESCRIPTION) && r->description != nullptr)
        rtovarlst_set_var_description(list, i, r->description);
    if (has(r, RTVARINFO_UOM)) rtovarlst_set_var_uom(list, i, low32(r->uom));
    if (has(r, RTVARINFO_RAMPED)) rtovarlst_set_var_ramped(list, i, r->ramped);
    if (has(r, RTVARINFO_THRESHOLD)) rtovarlst_set_var_threshold(list, i, r->threshold, si);
    if (has(r, RTVARINFO_CONN_TYPE)) rtovarlst_set_var_conn_type(list, i, r->conn_type);
    if (has(r, RTVARINFO_BASIC)) rtovarlst_set_var_basic(list, i, low32(r->basic));
    return 0;
}

void rtovarlst_initialize_var(rtvarlst_t *list, int32_t i, const rtvarinfo_t *r, unsigned char in_si) {
    if (!writer_args(list, i, r, msg::kAssertInitList, msg::kAssertInitIndex, msg::kAssertInitRecord)) return;
    const int si = in_si != 0;
    // The name field may lack its terminator: at most its 1024 characters count.
    char name[RTVARINFO_NAME_SIZE];
    const size_t len = strnlen(r->name, RTVARINFO_NAME_SIZE - 1);
    std::memcpy(name, r->name, len);
    name[len] = '\0';
    if (len == 0) {
        zarn::rtopipe::report(msg::kInitNoName);
        return;
    }
    rtovarlst_addvar(list, i, name);
    const rtvarmod_t untouched{0, 0};
    rtovarlst_set_var_modified(list, i, has(r, RTVARINFO_MODIFIED) ? &r->modified : &untouched);
    const bool status = has(r, RTVARINFO_STATUS);
    rtovarlst_set_var_status(list, i, status ? r->status : 0);
    if (status && has(r, RTVARINFO_RELATED)) rtovarlst_set_var_related(list, i, r->related);

    // Defaults are one display unit (u) of the variable's type (p), held
    // divided by the internal scale s.
    const int p = rtovarlst_inq_physical_type(list, i);
    const int u = rtovarlst_inq_var_uom(list, i);
    const double scale = has(r, RTVARINFO_INTSCALE) ? r->intscale : rtouom_delta_pair2si(1.0, p, u);
    rtattrdict_setd(list->dictionary, i, kScale, scale);
    const double s = effective_scale(scale);
    if (has(r, RTVARINFO_VALUE))
        rtovarlst_set_var_value(list, i, r->value, si);
    else
        rtovarlst_set_var_value(list, i, rtouom_pair2si(1.0, p, u) / s, 1);
    rtovarlst_set_var_initial(list, i, has(r, RTVARINFO_INIT) ? r->init : RTOVARLST_UNDEFINED,
                              has(r, RTVARINFO_INIT) ? si : 0);
    if (has(r, RTVARINFO_LOWER))
        rtovarlst_set_var_lower(list, i, r->lower, si);
    else
        rtovarlst_set_var_lower(list, i, rtouom_pair2si(-kDefaultBound, p, u) / s, 1);
    if (has(r, RTVARINFO_UPPER))
        rtovarlst_set_var_upper(list, i, r->upper, si);
    else
        rtovarlst_set_var_upper(list, i, rtouom_pair2si(kDefaultBound, p, u) / s, 1);
    if (has(r, RTVARINFO_STEP)) rtovarlst_set_var_step(list, i, r->step);
    rtovarlst_set_var_slvscl(list, i, has(r, RTVARINFO_SCALE) ? r->scale : 1.0, 1);
    if (has(r, RTVARINFO_SBWEIGHT)) rtovarlst_set_var_sbweight(list, i, r->sbweight);
    if (has(r, RTVARINFO_QUALITY)) rtovarlst_set_var_quality(list, i, r->quality);
    rtovarlst_set_var_active_bound(list, i, has(r, RTVARINFO_ACTIVE_BOUND) ? r->active_bound : 0);
    // The base unit last: the reals above are held in the unit the item had.
    rtovarlst_set_var_baseuom(list, i, has(r, RTVARINFO_BASEUOM) ? low32(r->baseuom) : 1);
    if (has(r, RTVARINFO_TARGET_HOMO)) rtovarlst_set_var_target_homo(list, i, r->target_homo, si);
    if (has(r, RTVARINFO_PARAM_HOMO)) rtovarlst_set_var_param_homo(list, i, r->param_homo);
    if (has(r, RTVARINFO_UOM)) rtovarlst_set_var_uom(list, i, low32(r->uom));
    if (has(r, RTVARINFO_DESCRIPTION)) rtovarlst_set_var_description(list, i, r->description);
    if (has(r, RTVARINFO_CONN_TYPE)) rtovarlst_set_var_conn_type(list, i, r->conn_type);
    if (has(r, RTVARINFO_BASIC)) rtovarlst_set_var_basic(list, i, low32(r->basic));
}

}  // extern "C"
