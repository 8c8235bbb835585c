// Conversions between a value in a unit and the same value in SI: by pair,
// by unit name, and by type name and unit name.
#include "platform/checked.h"
#include "rtuom/rtuom_internal.h"
#include "rtuom/rtuom_messages.h"

namespace zarn::rtuom {
namespace {

enum class Direction { ToSI, FromSI };

// si = x*m + o for an ordinary type, x/m for a price type; differences drop o.
double convert(double x, int ptype, const rtouom_entry &e, Direction dir, bool delta) {
    const double m = e.multiplier;
    if (ptype < 0) return dir == Direction::ToSI ? x / m : x * m;
    const double o = delta ? 0.0 : e.offset;
    return dir == Direction::ToSI ? x * m + o : (x - o) / m;
}

// The checked pair conversions; fn names the caller in messages. The
// SI-to-unit directions print prefix and message as one text and go on to the
// other checks when the table is not built.
double pair_convert(const char *fn, double x, int ptype, int uom, Direction dir, bool delta) {
    const bool joined = dir == Direction::FromSI;
    if (!built()) {
        if (!joined) {
            report(fn, "%s", kNotBuilt);
            return x;
        }
        report_joined(fn, "%s", kNotBuilt);
    }
    if (is_marker(ptype)) return x;
    if (!type_valid(ptype)) {
        if (joined)
            report_joined(fn, kTypeBounds, ptype);
        else
            report(fn, kTypeBounds, ptype);
        return x;
    }
    const long long p = magnitude(ptype);
    const int count = rtouom_count[p];
    const int use = uom == 0 ? rtouom_default_uom[p] : uom;
    if ((uom != 0 && !index_within(uom, count)) || !index_within(use, count)) {
        if (joined)
            report_joined(fn, kIndexBounds, uom);
        else
            report(fn, kIndexBounds, uom);
        return x;
    }
    return convert(x, ptype, rtouom_table[p][use - 1], dir, delta);
}

void rconv1_impl(const char *fn, int ptype, int uom, double si, double *value, const char **name,
                 bool delta) {
    if (value != nullptr) *value = si;
    if (name != nullptr) *name = nullptr;
    if (!built()) {
        report(fn, "%s", kNotBuilt);
        return;
    }
    if (is_marker(ptype)) return;
    if (!type_valid(ptype)) {
        report(fn, kTypeBounds, ptype);
        return;
    }
    const long long p = magnitude(ptype);
    const int count = rtouom_count[p];
    if (uom <= 0) {
        if (count == 0) {
            report(fn, kNoUnits, ptype);
            return;
        }
        uom = rtouom_default_uom[p];
    }
    if (!index_within(uom, count)) {
        report(fn, kIndexBounds, uom);
        return;
    }
    const rtouom_entry &e = rtouom_table[p][uom - 1];
    if (value != nullptr) *value = convert(si, ptype, e, Direction::FromSI, delta);
    if (name != nullptr) *name = ptype < 0 ? price_unit_name(e.name) : e.name;
}

// A unit by its exact name or its "$/" form (type negated), or null after a report.
const rtouom_entry *by_name(const char *fn, const char *unit, int *ptype) {
    *ptype = 0;
    if (!built()) {
        report(fn, "%s", kNotBuilt);
        return nullptr;
    }
    if (unit == nullptr) unit = "";
    Place p = index_find(unit);
    int sign = 1;
    if (p.uom == 0 && unit[0] == '$' && unit[1] == '/') {
        p = index_find(unit + 2);
        sign = -1;
    }
    if (p.uom == 0) {
        report(fn, kNotFound, unit);
        return nullptr;
    }
    *ptype = sign * p.ptype;
    return &rtouom_table[p.ptype][p.uom - 1];
}

double by_name_convert(const char *fn, double x, int *ptype, const char *unit, Direction dir) {
    int t = 0;
    const rtouom_entry *e = by_name(fn, unit, &t);
    if (ptype != nullptr) *ptype = t;
    return e == nullptr ? x : convert(x, t, *e, dir, false);
}

// A quick path for the common case: a built table, an ordinary type, an explicit index.
inline const rtouom_entry *plain_entry(int ptype, int uom) {
    if (ptype >= 0 && ptype < kTypeCount && built() && index_within(uom, rtouom_count[ptype]))
        return &rtouom_table[ptype][uom - 1];
    return nullptr;
}

}  // namespace
}  // namespace zarn::rtuom

using namespace zarn::rtuom;

extern "C" {

ZARN_API double rtouom_pair2si(double value, int ptype, int uom) {
    if (const rtouom_entry *e = plain_entry(ptype, uom)) return value * e->multiplier + e->offset;
    return pair_convert("rtouom_pair2si", value, ptype, uom, Direction::ToSI, false);
}

ZARN_API double rtouom_si2pair(double si, int ptype, int uom) {
    if (const rtouom_entry *e = plain_entry(ptype, uom)) return (si - e->offset) / e->multiplier;
    return pair_convert("rtouom_si2pair", si, ptype, uom, Direction::FromSI, false);
}

ZARN_API double rtouom_delta_pair2si(double value, int ptype, int uom) {
    return pair_convert("rtouom_delta_pair2si", value, ptype, uom, Direction::ToSI, true);
}

ZARN_API double rtouom_delta_si2pair(double si, int ptype, int uom) {
    return pair_convert("rtouom_delta_si2pair", si, ptype, uom, Direction::FromSI, true);
}

ZARN_API void rtouom_rconv1(int ptype, int uom, double si, double *value, const char **name) {
    rconv1_impl("rtouom_rconv1", ptype, uom, si, value, name, false);
}

ZARN_API void rtouom_delta_rconv1(int ptype, int uom, double si, double *value, const char **name) {
    rconv1_impl("rtouom_delta_rconv1", ptype, uom, si, value, name, true);
}

ZARN_API double rtouom_uu2si(double value, int *ptype, const char *unit) {
    return by_name_convert("rtouom_uu2si", value, ptype, unit, Direction::ToSI);
}

ZARN_API double rtouom_si2uu(double si, int *ptype, const char *unit) {
    return by_name_convert("rtouom_si2uu", si, ptype, unit, Direction::FromSI);
}

ZARN_API double rtouom_uu2siGivenAPhysicalType(double value, const char *ptypeName, const char *unit) {
    const int ptype = pt_lookup(ptypeName);
    int uom = 0;
    rtouom_ptype_locate2(unit, ptype, &uom);
    return rtouom_pair2si(value, ptype, uom);
}

ZARN_API double rtouom_si2uuGivenAPhysicalType(double si, const char *ptypeName, const char *unit) {
    const int ptype = pt_lookup(ptypeName);
    int uom = 0;
    rtouom_ptype_locate2(unit, ptype, &uom);
    return rtouom_si2pair(si, ptype, uom);
}

}  // extern "C"
