// The internal scale and the conversions between a variable's base unit and
// SI, for the modules that scale real attributes: assignment and lookup, the
// VARFILE writer and reader, the X-file and the query engines. A number held
// in the list is the quantity in the base unit divided by the scale; a
// quantity is brought back by multiplying in the base unit, then converting.
#ifndef ZARN_RTVARLST_RTVARLST_SCALE_H
#define ZARN_RTVARLST_RTVARLST_SCALE_H

#include <cmath>

#include "zarnutils/rtvarlst.h"

namespace zarn::rtvarlst {

// An internal scale that is undefined (1e35), zero or not finite counts as 1.
inline double effective_scale(double s) {
    return (s == RTOVARLST_UNDEFINED || s == 0.0 || !std::isfinite(s)) ? 1.0 : s;
}

// Item i's internal scale under that rule (1 for a null list or a bad index).
double effective_scale(rtvarlst_t *list, int32_t i);

// A number in item i's base unit to SI and back, as the attribute accessors
// convert: by the difference forms when difference is set or the variable's
// type is a difference type, by the ordinary forms otherwise.
double base_to_si(rtvarlst_t *list, int32_t i, double v, bool difference);
double si_to_base(rtvarlst_t *list, int32_t i, double si, bool difference);

// What an assignment reads of item i before it stores a real: the physical
// type, display and base units, and the effective internal scale, answered
// as the single accessors answer them (0, 0, 0 and 1 outside the list). The
// cells are found once and their loads started together, with those of the
// value and the modification record, so that on a large list the cache
// misses overlap instead of following one another.
struct ItemUnits {
    int32_t ptype, uom, baseuom;
    double scale;
};
ItemUnits item_units(rtvarlst_t *list, int32_t i);

}  // namespace zarn::rtvarlst

#endif
