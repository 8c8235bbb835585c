// Shared set-up of the variable-list tests: named lists, an event-18 tap, a dump of every item.
#ifndef ZARN_TESTS_RTVARLST_FIXTURE_H
#define ZARN_TESTS_RTVARLST_FIXTURE_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "capture.h"
#include "fakes.h"
#include "zarnutils/rtcontext.h"
#include "zarnutils/rtvarlst.h"

namespace zarn::test {

inline std::string num(double v) { return std::to_string(v); }

// While alive, records every event 18 raised: take() gives "name:code " (with "@handle" when
// there is one) for each event since the last call.
struct ChangeTap {
    static inline std::string events;
    static intptr_t on_event(intptr_t a, intptr_t b, intptr_t c) {
        events += std::string(a ? reinterpret_cast<const char *>(a) : "(null)") + ":" + std::to_string(b) +
                  (c ? "@" + std::to_string(c) : "") + " ";
        return 0;
    }
    ChangeTap() {
        rtoevent_create_callbacks(32);
        events.clear();
        rtoevent_set_callback(RTOVARLST_CHANGE_EVENT, on_event);
    }
    ~ChangeTap() {
        rtoevent_unset_callback(RTOVARLST_CHANGE_EVENT, on_event);
        rtoevent_destroy_callbacks();
    }
    std::string take() { return std::exchange(events, ""); }
};

// A list of n items named X1..Xn.
inline rtvarlst_t *named_list(int32_t n, int32_t capacity = -1) {
    rtvarlst_t *l = rtovarlst_create(capacity < 0 ? n : capacity);
    rtovarlst_set_nvar(l, n);
    for (int32_t k = 1; k <= n; ++k) rtovarlst_addvar(l, k, ("X" + std::to_string(k)).c_str());
    return l;
}

// Everything a caller can read of item k: texts, status, reals, integers, masks, pointers set, type outputs.
inline std::string item(rtvarlst_t *l, int32_t k) {
    const char *n = rtovarlst_lookup_var_name(l, k), *d = rtovarlst_inq_var_description(l, k);
    char mod[32] = "-";
    rtovarlst_inq_var_modified_string(l, k, mod);
    std::string s = std::string(n ? n : "") + "," + (d ? d : "") + "," + mod + "," +
                    std::to_string(rtovarlst_inq_var_status(l, k));
    for (auto f : {rtovarlst_inq_var_value, rtovarlst_inq_var_initial, rtovarlst_inq_var_lower,
                   rtovarlst_inq_var_upper, rtovarlst_inq_var_slvscl, rtovarlst_inq_var_shadow_price,
                   rtovarlst_inq_var_threshold, rtovarlst_inq_var_target_homo})
        s += "," + num(f(l, k, 0));
    for (auto f : {rtovarlst_inq_var_step, rtovarlst_inq_var_step_inbaseuom, rtovarlst_inq_var_scale,
                   rtovarlst_inq_var_sbweight})
        s += "," + num(f(l, k));
    for (auto f : {rtovarlst_inq_var_related, rtovarlst_inq_var_quality, rtovarlst_inq_var_baseuom,
                   rtovarlst_inq_var_active_bound, rtovarlst_inq_var_uom, rtovarlst_inq_var_ramped,
                   rtovarlst_inq_var_param_homo, rtovarlst_inq_var_conn_type, rtovarlst_inq_var_basic,
                   rtovarlst_inq_var_marked, rtovarlst_inq_spec, rtovarlst_inq_physical_type,
                   rtovarlst_inq_var_algebraic, rtovarlst_inq_var_state, rtovarlst_inq_var_differential,
                   rtovarlst_inq_var_integer, rtovarlst_inq_var_discrete_eqnslack})
        s += "," + std::to_string(f(l, k));
    int32_t rel = 7, iv = 7;
    double a = 7, b = 7, c = 7, e = 7;
    for (int64_t x :
         {int64_t(rtovarlst_inq_var_modified_mask1(l, k)), int64_t(rtovarlst_inq_var_modified_mask2(l, k)),
          int64_t(reinterpret_cast<intptr_t>(rtovarlst_inq_var_blockptr(l, k))),
          int64_t(!!rtovarlst_inq_var_connMgr(l, k) + 2 * !!rtovarlst_inq_var_comWrapper(l, k) +
                  4 * !!rtovarlst_inq_var_profile(l, k) + 8 * !!rtovarlst_inq_var_modified(l, k)),
          int64_t(rtovarlst_inq_var_type(l, k, &rel)), int64_t(rtovarlst_inq_var_binary(l, k, &iv, 0)),
          int64_t(rtovarlst_inq_var_partial_integer(l, k, &a, &b, 0)),
          int64_t(rtovarlst_inq_var_semi_continuous(l, k, &a, &b, &c, &e, 0)),
          int64_t(rtovarlst_inq_var_semi_continuous_integer(l, k, &iv, &b, &c, &e, 0))})
        s += "," + std::to_string(x);
    for (double x : {double(rel), double(iv), a, b, c, e}) s += "," + num(x);
    return s;
}

// Size, capacity and every item.
inline std::string dump(rtvarlst_t *l) {
    std::string s = std::to_string(rtovarlst_inq_nvar(l)) + "/" + std::to_string(rtovarlst_inq_capacity(l));
    for (int32_t k = 1; k <= rtovarlst_inq_nvar(l); ++k) s += "|" + item(l, k);
    return s;
}

}  // namespace zarn::test

#endif
