// Lookup by name: an attribute of a variable as a value. Numbers come out in
// SI times the internal scale, shown in the variable's display unit.
#include <cstring>

#include "varassign/varassign_internal.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/varassign.h"
#include "zarnutils/varmask.h"
#include "zarnutils/varutl.h"

namespace zarn::varassign {

namespace {

using Reader = double (*)(rtvarlst_t *, int32_t, int);

// The written word of a code in a table of the catalogue, or nullptr.
const char *word(const ac::WordTable &table, int64_t code) { return ac::word_of(table, code); }

void put_text(value_t *value, int kind, const char *text) {
    if (text == nullptr) return;
    if (kind == string_value)
        value_assign_copy_of_string(value, text);
    else
        value_assign_copy_of_id(value, text);
}

// A real column: undefined stays UNDEFINED; else the held number times the
// scale, in the base unit, brought to SI (the inverse of assignment).
void put_real(rtvarlst_t *list, int32_t i, Reader read, bool difference, int ptype, int uom, value_t *value) {
    const double held = read(list, i, 0);
    if (held == RTOVARLST_UNDEFINED) return;
    const double si = zarn::rtvarlst::base_to_si(list, i, held * scale_of(list, i), difference);
    value_assign_double(value, si, ptype, uom);
}

double step_reader(rtvarlst_t *list, int32_t i, int in_si) {
    return in_si ? rtovarlst_inq_var_step(list, i) : rtovarlst_inq_var_step_inbaseuom(list, i);
}

// Reader of each real attribute with its own column.
Reader real_reader(int row) {
    switch (row) {
        case ac::kRowValue:
            return rtovarlst_inq_var_value;
        case ac::kRowLower:
            return rtovarlst_inq_var_lower;
        case ac::kRowUpper:
            return rtovarlst_inq_var_upper;
        case ac::kRowInit:
            return rtovarlst_inq_var_initial;
        case ac::kRowTarget:
            return rtovarlst_inq_var_target_homo;
        case ac::kRowThreshold:
            return rtovarlst_inq_var_threshold;
        case ac::kRowStep:
            return step_reader;
        case ac::kRowScale:
            return rtovarlst_inq_var_slvscl;
        default:
            return nullptr;
    }
}

// VALUE - INIT: 0 when INIT is undefined.
void put_change(rtvarlst_t *list, int32_t i, int ptype, int uom, value_t *value) {
    if (rtovarlst_inq_var_value(list, i, 0) == RTOVARLST_UNDEFINED) return;
    double d = 0.0;
    if (rtovarlst_inq_var_initial(list, i, 0) != RTOVARLST_UNDEFINED)
        d = zarn::rtvarlst::base_to_si(
            list, i,
            (rtovarlst_inq_var_value(list, i, 0) - rtovarlst_inq_var_initial(list, i, 0)) * scale_of(list, i),
            true);
    value_assign_double(value, d, ptype, uom);
}

// The shadow price per unit of scale, read in the unit the caller named.
void put_shadow_price(rtvarlst_t *list, int32_t i, int want_type, int want_uom, value_t *value) {
    if (rtovarlst_inq_var_shadow_price(list, i, 0) == RTOVARLST_UNDEFINED) return;
    const double sp = rtovarlst_inq_var_shadow_price(list, i, 1) / scale_of(list, i);
    value_assign_double(value, rtouom_pair2si(sp, want_type, want_uom), want_type, want_uom);
}

// The lower-case word of a variable type, "" for a code without one.
const char *var_type_name(int32_t type) {
    const int k = ac::position_of(ac::kVarType, type);
    return k >= 0 ? ac::kVarType.lower[k] : "";
}

// The connection-type keyword of item i, when 0..1065.
const char *conn_type_name(rtvarlst_t *list, int32_t i) {
    const int32_t code = rtovarlst_inq_var_conn_type(list, i);
    return code >= 0 && code <= RTOVARLST_MAX_CONN_TYPE ? conn_type_string[code] : nullptr;
}

void produce(rtvarlst_t *list, int32_t i, int row, int want_type, int want_uom, value_t *value) {
    const int64_t status = rtovarlst_inq_var_status(list, i);
    const int p = varInqPhysicalType(status);
    const int u = rtovarlst_inq_var_uom(list, i);
    const int dp = rtouom_delta_ptype(p), du = display_uom(dp, u);
    switch (row) {
        case ac::kRowValue:
        case ac::kRowLower:
        case ac::kRowUpper:
        case ac::kRowInit:
        case ac::kRowTarget:
        case ac::kRowThreshold:
            put_real(list, i, real_reader(row), false, p, u, value);
            break;
        case ac::kRowStep:
            put_real(list, i, real_reader(row), false, dp, du, value);
            break;
        case ac::kRowScale:
            put_real(list, i, real_reader(row), true, dp, du, value);
            break;
        case ac::kRowIntscale: {
            const double s = rtovarlst_inq_var_scale(list, i);
            if (s != RTOVARLST_UNDEFINED) value_assign_double(value, s, dp, du);
            break;
        }
        case ac::kRowChange:
            put_change(list, i, dp, du, value);
            break;
        case ac::kRowSbweight: {
            const double w = rtovarlst_inq_var_sbweight(list, i);
            value_assign_double(value, w == RTOVARLST_UNDEFINED ? 1.0 : w, 0, 0);
            break;
        }
        case ac::kRowSpec:
            put_text(value, identifier_value, word(ac::kSpec, varInqSpec(status)));
            break;
        case ac::kRowUnits:
            put_text(value, string_value, rtouom_uom_name(p, u));
            break;
        case ac::kRowBaseuom:
            put_text(value, string_value, rtouom_uom_name(p, rtovarlst_inq_var_baseuom(list, i)));
            break;
        case ac::kRowPhysicalType:
            put_text(value, string_value, rtouom_ptype_name(p));
            break;
        case ac::kRowBound: {
            int64_t bound = 0;
            varInqBoundType(status, &bound);
            put_text(value, string_value, word(ac::kBound, bound));
            break;
        }
        case ac::kRowMarked:
            value_assign_logical(value, varInqMarked(status));
            break;
        case ac::kRowActiveBound:
            put_text(value, string_value, word(ac::kActiveBound, rtovarlst_inq_var_active_bound(list, i)));
            break;
        case ac::kRowShadowPrice:
            put_shadow_price(list, i, want_type, want_uom, value);
            break;
        case ac::kRowQuality:
            put_text(value, identifier_value, word(ac::kQuality, rtovarlst_inq_var_quality(list, i)));
            break;
        case ac::kRowParam:
            put_text(value, identifier_value,
                     word(ac::kYesNo, rtovarlst_inq_var_param_homo(list, i) ? 1 : 0));
            break;
        case ac::kRowRamped:
            put_text(value, identifier_value, word(ac::kYesNo, rtovarlst_inq_var_ramped(list, i) ? 1 : 0));
            break;
        case ac::kRowDescription: {
            const char *d = rtovarlst_inq_var_description(list, i);
            if (d != nullptr && d[0] != '\0') put_text(value, identifier_value, d);
            break;
        }
        case ac::kRowVarType:
            put_text(value, identifier_value, var_type_name(varInqType(status)));
            break;
        case ac::kRowConnType:
            put_text(value, identifier_value, conn_type_name(list, i));
            break;
        default:
            break;  // MODIFIED, BLOCKPTR: UNDEFINED
    }
}

}  // namespace

}  // namespace zarn::varassign

using namespace zarn::varassign;

extern "C" void rtovarlst_lookup_value(rtvarlst_t *list, const char *target, value_t *value) {
    if (list == nullptr || target == nullptr || value == nullptr || !value_okay(value)) return;
    if (rtovarlst_inq_nvar(list) == 0) return;
    Target t;
    split_target(target, &t);
    if (t.too_long) return;
    // The unit a shadow price is wanted in comes with the incoming number.
    const bool number = value->value_type == number_value;
    const int want_type = number ? value->u.number.ptype : 0, want_uom = number ? value->u.number.uom : 0;
    value_destroy(value);
    const int32_t i = rtovarlst__varname2index(list, t.name);
    if (i == 0) return;
    produce(list, i, t.row == ac::kNoRow ? ac::kRowValue : t.row, want_type, want_uom, value);
}
