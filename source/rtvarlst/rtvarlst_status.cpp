// Variable lists: status-word helpers and variable types.
#include <cmath>
#include <cstdint>

#include "rtopipe/report.h"
#include "rtvarlst/rtvarlst_internal.h"
#include "rtvarlst/rtvarlst_messages.h"
#include "zarnutils/varutl.h"

using namespace zarn::rtvarlst;

namespace {

int64_t *word_of(rtvarlst_t *list, int32_t i) {
    return in_range(list, i) ? cell<int64_t>(list, kColStatus, i) : nullptr;
}

// Truncation toward zero into the 32-bit range (NaN gives 0).
int32_t to_int32(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(v);
}

int32_t type_is(rtvarlst_t *list, int32_t i, int32_t (*pred)(int64_t)) {
    const int64_t *w = word_of(list, i);
    return w ? pred(*w) : 0;
}

// Sets the type field keeping RELATED as it is.
void set_type_keep_related(rtvarlst_t *list, int32_t i, int32_t type) {
    if (!in_range(list, i)) return;
    rtovarlst_set_var_type(list, i, type, rtovarlst_inq_var_related(list, i));
}

}  // namespace

extern "C" {

void rtovarlst_set_spec(rtvarlst_t *list, int32_t i, int32_t spec) {
    if (int64_t *w = word_of(list, i)) varSetSpec(w, spec);
}

int32_t rtovarlst_inq_spec(rtvarlst_t *list, int32_t i) {
    const int64_t *w = word_of(list, i);
    return w ? varInqSpec(*w) : 0;
}

void rtovarlst_set_spec_value(rtvarlst_t *list, int32_t i, int32_t spec) {
    int64_t *w = word_of(list, i);
    if (w == nullptr || varInqSpec(*w) == spec) return;
    varSetSpec(w, spec);
    if (varInqSpec(*w) == spec) notify(list, i, RTOVARLST_CHG_SPEC);
}

void rtovarlst_fix_var(rtvarlst_t *list, int32_t i) { rtovarlst_set_spec(list, i, VAR_CONST); }
void rtovarlst_free_var(rtvarlst_t *list, int32_t i) { rtovarlst_set_spec(list, i, VAR_CALC); }
void rtovarlst_var_independent(rtvarlst_t *list, int32_t i) { rtovarlst_set_spec(list, i, VAR_OPTIM); }
void rtovarlst_var_fix_initially(rtvarlst_t *list, int32_t i) { rtovarlst_set_spec(list, i, VAR_INITIAL); }

void rtovarlst_set_physical_type(rtvarlst_t *list, int32_t i, int32_t ptype) {
    if (int64_t *w = word_of(list, i)) varSetPhysicalType(w, ptype);
}

int32_t rtovarlst_inq_physical_type(rtvarlst_t *list, int32_t i) {
    const int64_t *w = word_of(list, i);
    return w ? varInqPhysicalType(*w) : 0;
}

int32_t rtovarlst_inq_var_type(rtvarlst_t *list, int32_t i, int32_t *related) {
    const int64_t *w = word_of(list, i);
    if (w == nullptr) return RTOVARLST_NEUTRAL_INT;
    if (related != nullptr) *related = rtovarlst_inq_var_related(list, i);
    return varInqType(*w);
}

void rtovarlst_set_var_type(rtvarlst_t *list, int32_t i, int32_t type, int32_t related) {
    int64_t *w = word_of(list, i);
    if (w == nullptr) return;
    if (type == VAR_TYPE_ALGEBRAIC && related != 0) {
        zarn::rtopipe::report(msg::kTypeAlgebraic);
        return;
    }
    if (type == VAR_TYPE_STATE && related == 0) {
        zarn::rtopipe::report(msg::kTypeState);
        return;
    }
    if (type == VAR_TYPE_DIFFERENTIAL && related == 0) {
        zarn::rtopipe::report(msg::kTypeDifferential);
        return;
    }
    int64_t word = *w;
    varSetType(type, &word);
    if (varInqType(word) != type) return;  // refused (and reported) by the status word
    *w = word;
    rtovarlst_set_var_related(list, i, related);
}

int32_t rtovarlst_inq_num_var_type(rtvarlst_t *list, int32_t type) {
    const int64_t *w = rtovarlst_vec_status(list);
    if (w == nullptr) return 0;
    int32_t count = 0;
    for (int32_t k = 0; k < held(list); ++k)
        if (varInqType(w[k]) == type) ++count;
    return count;
}

void rtovarlst_inq_num_var_type_state_diff_other(rtvarlst_t *list, int32_t *state, int32_t *diff,
                                                 int32_t *other) {
    int32_t s = 0, d = 0, o = 0;
    const int64_t *w = rtovarlst_vec_status(list);
    if (w != nullptr) {
        for (int32_t k = 0; k < held(list); ++k) {
            if (varIsFixedOrInitial(w[k]) || varIsIndependent(w[k])) continue;
            const int32_t t = varInqType(w[k]);
            if (t == VAR_TYPE_STATE)
                ++s;
            else if (t == VAR_TYPE_DIFFERENTIAL)
                ++d;
            else
                ++o;
        }
    }
    if (state) *state = s;
    if (diff) *diff = d;
    if (other) *other = o;
}

void rtovarlst_set_var_as_algebraic(rtvarlst_t *list, int32_t i) {
    rtovarlst_set_var_type(list, i, VAR_TYPE_ALGEBRAIC, 0);
}

void rtovarlst_set_var_as_state(rtvarlst_t *list, int32_t i, int32_t related) {
    rtovarlst_set_var_type(list, i, VAR_TYPE_STATE, related);
}

void rtovarlst_set_var_as_differential(rtvarlst_t *list, int32_t i, int32_t related) {
    rtovarlst_set_var_type(list, i, VAR_TYPE_DIFFERENTIAL, related);
}

void rtovarlst_set_var_as_integer(rtvarlst_t *list, int32_t i) {
    set_type_keep_related(list, i, VAR_TYPE_DISCRETE);
}

void rtovarlst_set_var_as_discrete_eqnslack(rtvarlst_t *list, int32_t i) {
    set_type_keep_related(list, i, VAR_TYPE_DISCRETE_ESLACK);
}

void rtovarlst_set_var_as_binary(rtvarlst_t *list, int32_t i, double value, int in_si) {
    if (!in_range(list, i)) return;
    rtovarlst_set_var_value(list, i, value, in_si);
    rtovarlst_set_var_lower(list, i, 0.0, in_si);
    rtovarlst_set_var_upper(list, i, 1.0, in_si);
    set_type_keep_related(list, i, VAR_TYPE_BINARY);
}

void rtovarlst_set_var_as_partial_integer(rtvarlst_t *list, int32_t i, double value, double step, int in_si) {
    if (!in_range(list, i)) return;
    rtovarlst_set_var_value(list, i, value, in_si);
    if (in_si)
        rtovarlst_set_var_step(list, i, step);
    else
        rtovarlst_set_var_step_inbaseuom(list, i, step);
    set_type_keep_related(list, i, VAR_TYPE_PARTIAL_INTEGER);
}

static void set_semi(rtvarlst_t *list, int32_t i, double value, double step, double lower, double upper,
                     int in_si, int32_t type) {
    if (!in_range(list, i)) return;
    rtovarlst_set_var_value(list, i, value, in_si);
    rtovarlst_set_var_lower(list, i, lower, in_si);
    rtovarlst_set_var_upper(list, i, upper, in_si);
    if (in_si)
        rtovarlst_set_var_step(list, i, step);
    else
        rtovarlst_set_var_step_inbaseuom(list, i, step);
    set_type_keep_related(list, i, type);
}

void rtovarlst_set_var_as_semi_continuous(rtvarlst_t *list, int32_t i, double value, double step,
                                          double lower, double upper, int in_si) {
    set_semi(list, i, value, step, lower, upper, in_si, VAR_TYPE_SEMI_CONTINUOUS);
}

void rtovarlst_set_var_as_semi_continuous_integer(rtvarlst_t *list, int32_t i, double value, double step,
                                                  double lower, double upper, int in_si) {
    set_semi(list, i, value, step, lower, upper, in_si, VAR_TYPE_SEMI_CONTINUOUS_INTEGER);
}

int32_t rtovarlst_inq_var_algebraic(rtvarlst_t *list, int32_t i) {
    return type_is(list, i, varTypeIsAlgebraic);
}
int32_t rtovarlst_inq_var_state(rtvarlst_t *list, int32_t i) { return type_is(list, i, varTypeIsState); }
int32_t rtovarlst_inq_var_differential(rtvarlst_t *list, int32_t i) {
    return type_is(list, i, varTypeIsDifferential);
}
int32_t rtovarlst_inq_var_integer(rtvarlst_t *list, int32_t i) { return type_is(list, i, varTypeIsInteger); }
int32_t rtovarlst_inq_var_discrete_eqnslack(rtvarlst_t *list, int32_t i) {
    return type_is(list, i, varTypeIsDiscreteEqnSlack);
}

int32_t rtovarlst_inq_var_binary(rtvarlst_t *list, int32_t i, int32_t *ivalue, int in_si) {
    if (!in_range(list, i)) return 0;
    if (ivalue != nullptr) *ivalue = to_int32(rtovarlst_inq_var_value(list, i, in_si));
    return varTypeIsBinary(status_of(list, i));
}

static double step_of(rtvarlst_t *list, int32_t i, int in_si) {
    return in_si ? rtovarlst_inq_var_step(list, i) : rtovarlst_inq_var_step_inbaseuom(list, i);
}

int32_t rtovarlst_inq_var_partial_integer(rtvarlst_t *list, int32_t i, double *value, double *step,
                                          int in_si) {
    if (!in_range(list, i)) return 0;
    if (value) *value = rtovarlst_inq_var_value(list, i, in_si);
    if (step) *step = step_of(list, i, in_si);
    return varTypeIsPartialInteger(status_of(list, i));
}

int32_t rtovarlst_inq_var_semi_continuous(rtvarlst_t *list, int32_t i, double *value, double *step,
                                          double *lower, double *upper, int in_si) {
    if (!in_range(list, i)) return 0;
    if (value) *value = rtovarlst_inq_var_value(list, i, in_si);
    if (step) *step = step_of(list, i, in_si);
    if (lower) *lower = rtovarlst_inq_var_lower(list, i, in_si);
    if (upper) *upper = rtovarlst_inq_var_upper(list, i, in_si);
    return varTypeIsSemiContinuous(status_of(list, i));
}

int32_t rtovarlst_inq_var_semi_continuous_integer(rtvarlst_t *list, int32_t i, int32_t *value, double *step,
                                                  double *lower, double *upper, int in_si) {
    if (!in_range(list, i)) return 0;
    if (value) *value = to_int32(rtovarlst_inq_var_value(list, i, in_si));
    if (step) *step = step_of(list, i, in_si);
    if (lower) *lower = rtovarlst_inq_var_lower(list, i, in_si);
    if (upper) *upper = rtovarlst_inq_var_upper(list, i, in_si);
    return varTypeIsSemiContinuousInteger(status_of(list, i));
}

}  // extern "C"
