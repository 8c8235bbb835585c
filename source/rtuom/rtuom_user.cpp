// Changes to the table: user units, the ambient pressure, a unit's multiplier
// and offset.
#include <strings.h>

#include <cmath>
#include <cstring>

#include "rtuom/rtuom_internal.h"
#include "rtuom/rtuom_messages.h"

namespace zarn::rtuom {
namespace {

// Conversions divide by the multiplier: a unit's factors must keep them finite.
bool factors_ok(const char *fn, double mult, double offset) {
    if (std::isfinite(mult) && mult != 0 && std::isfinite(offset)) return true;
    report(fn, kFactorsNotFinite, mult, offset);
    return false;
}

}  // namespace

int add_unit(const char *unit, int ptype, double mult, double offset, bool also_equal, bool no_check) {
    constexpr const char *fn = "rtouom_add_uom";
    if (!built()) {
        report(fn, "%s", kNotBuilt);
        return 0;
    }
    if (ptype < 0 || ptype >= kTypeCount) {  // price types cannot receive units
        report(fn, kTypeBounds, ptype);
        return 0;
    }
    if (unit == nullptr || unit[0] == '\0') {
        report(fn, "%s", kNoName);
        return 0;
    }
    if (strnlen(unit, RTOUOM_MAX_NAME + 1) > RTOUOM_MAX_NAME) {
        report(fn, kNameTooLong, unit, RTOUOM_MAX_NAME);
        return 0;
    }
    if (!factors_ok(fn, mult, offset)) return 0;
    if (!no_check && position_in(ptype, unit) != 0) {
        report(fn, kExists, unit);
        return 0;
    }
    // ptype first, then every equal type that does not list the name yet
    int types[kTypeCount] = {ptype};
    int n = 1;
    for (int t = 0; also_equal && t < kTypeCount; ++t)
        if (t != ptype && rtouom_ptype_equal(t, ptype) && position_in(t, unit) == 0) types[n++] = t;
    if (!append_units(types, n, unit, mult, offset)) return 0;
    return rtouom_count[ptype];
}

}  // namespace zarn::rtuom

using namespace zarn::rtuom;

extern "C" {

ZARN_API int rtouom_add_uom(const char *unit, int ptype, double mult, double offset) {
    return add_unit(unit, ptype, mult, offset, true, false);
}

ZARN_API void rtouom_modify_p_amb(double p) {
    if (!std::isfinite(p)) {
        report("rtouom_modify_p_amb", kAmbientNotFinite, p);
        return;
    }
    const double old = ambient_pressure();
    for (int i = 0; i < rtouom_count[kPressure]; ++i) {
        rtouom_entry &e = rtouom_table[kPressure][i];
        if (e.offset == old) e.offset = p;
    }
    set_ambient_pressure(p);
}

ZARN_API int rtouom_modify_mult_offset(int ptype, const char *unit, double mult, double offset) {
    if (!built()) {
        report("rtouom_uu2si", "%s", kNotBuilt);  // documented as is: names the by-name conversion
        return 0;
    }
    if (ptype < 0 || ptype >= kTypeCount) {
        report("rtouom_modify_mult_offset", kTypeBounds, ptype);
        return 0;
    }
    if (unit == nullptr) return 0;
    if (!factors_ok("rtouom_modify_mult_offset", mult, offset)) return 0;
    for (int i = 0; i < rtouom_count[ptype]; ++i) {
        rtouom_entry &e = rtouom_table[ptype][i];
        if (strcasecmp(e.name, unit) == 0) {
            e.multiplier = mult;
            e.offset = offset;
            return 1;
        }
    }
    return 0;
}

}  // extern "C"
