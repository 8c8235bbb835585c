// Lookup by name: an attribute of a variable as a value. Numbers come out in
// SI times the internal scale, shown in the variable's display unit.
#include <cstring>

#include "varassign/varassign_internal.h"
#include "varmask/value_words.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/varassign.h"
#include "zarnutils/varutl.h"

namespace zarn::varassign {

namespace {

using Reader = double (*)(rtvarlst_t *, int32_t, int);

constexpr const char *kSpecNames[] = {"CALC", "CONST", "INDEP", "MEAS", "PARAM", "OPTIM", "RECON", "INITIAL"};
constexpr const char *kBoundNames[] = {"HARD", "RELAXED", "SOFT", "SOFT2"};
constexpr const char *kActiveBoundNames[] = {
    "NOT AT BOUNDS", "STEP LOWER", "STEP UPPER", "EXCEEDED STEP LOWER", "EXCEEDED STEP UPPER", "LOWER",
    "UPPER", "EXCEEDED LOWER", "EXCEEDED UPPER", "SOFT LOWER", "SOFT UPPER", "EXCEEDED SOFT LOWER",
    "EXCEEDED SOFT UPPER", "RELAXED LOWER", "RELAXED UPPER", "EXCEEDED RELAXED LOWER",
    "EXCEEDED RELAXED UPPER", "PINCHED"};
constexpr const char *kVarTypeNames[] = {"algebraic", "state",           "differential",   "discrete",
                                         "discrete-eslack", "binary",    "partial-integer", "semi-continuous"};
constexpr const char kSemiContinuousInteger[] = "semi-continuous-integer";

// The name of code in a table of names, or nullptr outside it.
template <size_t N>
const char *name_of(const char *const (&names)[N], int64_t code) {
    return code >= 0 && code < static_cast<int64_t>(N) ? names[code] : nullptr;
}

void put_text(value_t *value, int kind, const char *text) {
    if (text == nullptr) return;
    if (kind == string_value) value_assign_copy_of_string(value, text);
    else value_assign_copy_of_id(value, text);
}

// A real column: undefined stays UNDEFINED; else SI times the scale.
void put_real(rtvarlst_t *list, int32_t i, Reader read, int ptype, int uom, value_t *value) {
    if (read(list, i, 0) == RTOVARLST_UNDEFINED) return;
    value_assign_double(value, read(list, i, 1) * scale_of(list, i), ptype, uom);
}

double step_reader(rtvarlst_t *list, int32_t i, int in_si) {
    return in_si ? rtovarlst_inq_var_step(list, i) : rtovarlst_inq_var_step_inbaseuom(list, i);
}

// Reader of each real attribute with its own column.
Reader real_reader(int code) {
    switch (code) {
    case kValue: return rtovarlst_inq_var_value;
    case kLower: return rtovarlst_inq_var_lower;
    case kUpper: return rtovarlst_inq_var_upper;
    case kInit: return rtovarlst_inq_var_initial;
    case kTarget: return rtovarlst_inq_var_target_homo;
    case kThreshold: return rtovarlst_inq_var_threshold;
    case kStep: return step_reader;
    case kScale: return rtovarlst_inq_var_slvscl;
    default: return nullptr;
    }
}

// VALUE - INIT: 0 when INIT is undefined.
void put_change(rtvarlst_t *list, int32_t i, int ptype, int uom, value_t *value) {
    if (rtovarlst_inq_var_value(list, i, 0) == RTOVARLST_UNDEFINED) return;
    double d = 0.0;
    if (rtovarlst_inq_var_initial(list, i, 0) != RTOVARLST_UNDEFINED)
        d = (rtovarlst_inq_var_value(list, i, 1) - rtovarlst_inq_var_initial(list, i, 1)) * scale_of(list, i);
    value_assign_double(value, d, ptype, uom);
}

// The shadow price per unit of scale, read in the unit the caller named.
void put_shadow_price(rtvarlst_t *list, int32_t i, int want_type, int want_uom, value_t *value) {
    if (rtovarlst_inq_var_shadow_price(list, i, 0) == RTOVARLST_UNDEFINED) return;
    const double sp = rtovarlst_inq_var_shadow_price(list, i, 1) / scale_of(list, i);
    value_assign_double(value, rtouom_pair2si(sp, want_type, want_uom), want_type, want_uom);
}

const char *var_type_name(int32_t type) {
    if (type == VAR_TYPE_SEMI_CONTINUOUS_INTEGER) return kSemiContinuousInteger;
    const char *n = name_of(kVarTypeNames, type);
    return n != nullptr ? n : "";
}

void produce(rtvarlst_t *list, int32_t i, int code, int want_type, int want_uom, value_t *value) {
    const int64_t word = rtovarlst_inq_var_status(list, i);
    const int p = varInqPhysicalType(word);
    const int u = rtovarlst_inq_var_uom(list, i);
    const int dp = rtouom_delta_ptype(p), du = display_uom(dp, u);
    switch (code) {
    case kValue: case kLower: case kUpper: case kInit: case kTarget: case kThreshold:
        put_real(list, i, real_reader(code), p, u, value);
        break;
    case kStep: case kScale: put_real(list, i, real_reader(code), dp, du, value); break;
    case kIntScale: {
        const double s = rtovarlst_inq_var_scale(list, i);
        if (s != RTOVARLST_UNDEFINED) value_assign_double(value, s, dp, du);
        break;
    }
    case kChange: put_change(list, i, dp, du, value); break;
    case kSbWeight: {
        const double w = rtovarlst_inq_var_sbweight(list, i);
        value_assign_double(value, w == RTOVARLST_UNDEFINED ? 1.0 : w, 0, 0);
        break;
    }
    case kSpec: put_text(value, identifier_value, name_of(kSpecNames, varInqSpec(word))); break;
    case kUnits: put_text(value, string_value, rtouom_uom_name(p, u)); break;
    case kBaseUom: put_text(value, string_value, rtouom_uom_name(p, rtovarlst_inq_var_baseuom(list, i))); break;
    case kPhysicalType: put_text(value, string_value, rtouom_ptype_name(p)); break;
    case kBound: {
        int64_t bound = 0;
        varInqBoundType(word, &bound);
        put_text(value, string_value, name_of(kBoundNames, bound));
        break;
    }
    case kMarked: value_assign_logical(value, varInqMarked(word)); break;
    case kActiveBound:
        put_text(value, string_value, name_of(kActiveBoundNames, rtovarlst_inq_var_active_bound(list, i)));
        break;
    case kShadowPrice: put_shadow_price(list, i, want_type, want_uom, value); break;
    case kQuality: put_text(value, identifier_value, zarn::varmask::code_word(zarn::varmask::kQualityWords, rtovarlst_inq_var_quality(list, i))); break;
    case kParam: put_text(value, identifier_value, rtovarlst_inq_var_param_homo(list, i) ? "YES" : "NO"); break;
    case kRamped: put_text(value, identifier_value, rtovarlst_inq_var_ramped(list, i) ? "YES" : "NO"); break;
    case kDescription: {
        const char *d = rtovarlst_inq_var_description(list, i);
        if (d != nullptr && d[0] != '\0') put_text(value, identifier_value, d);
        break;
    }
    case kVarType: put_text(value, identifier_value, var_type_name(varInqType(word))); break;
    case kConnType: lookup_conn_type(list, i, value); break;
    default: break;  // MODIFIED, BLOCKPTR: UNDEFINED
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
    produce(list, i, t.code == kNone ? kValue : t.code, want_type, want_uom, value);
}
