// Internals shared by the units module's files.
#ifndef ZARN_RTUOM_RTUOM_INTERNAL_H
#define ZARN_RTUOM_RTUOM_INTERNAL_H

#include "rtuom/rtuom_load.h"
#include "zarnutils/rtuom.h"

namespace zarn::rtuom {

// True while the table and its unit-name index exist.
bool built();

// The ambient pressure that gauge and vacuum units carry as offset.
double ambient_pressure();

// Adds a unit with the two flags of the Fortran add forms (rtouom_add_uom: 1, 0).
int add_unit(const char *unit, int ptype, double mult, double offset, bool also_equal, bool no_check);

// The entry a name maps to in the unit-name index, or null.
rtouom_entry *index_find(const char *name);

}  // namespace zarn::rtuom

#endif
