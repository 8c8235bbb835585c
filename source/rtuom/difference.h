// The difference physical types (DELTA-T, PDROP): the types a difference of
// two temperatures or pressures has, whose conversions take no offset.
#ifndef ZARN_RTUOM_DIFFERENCE_H
#define ZARN_RTUOM_DIFFERENCE_H

namespace zarn::rtuom {

// True when p is the type of a difference of two values of another type.
bool is_difference_type(int p);

}  // namespace zarn::rtuom

#endif
