// Internals shared by the units module's files: table state, the unit-name
// index and the checks every entry point makes.
#ifndef ZARN_RTUOM_RTUOM_INTERNAL_H
#define ZARN_RTUOM_RTUOM_INTERNAL_H

#include <cstdint>

#include "rtuom/rtuom_ambient.h"
#include "rtuom/rtuom_load.h"
#include "rtuom/uomcatalog.h"
#include "zarnutils/rtuom.h"

namespace zarn::rtuom {

// A unit's place: type and 1-based index; {0, 0} when there is none.
struct Place {
    int ptype, uom;
};

// True while the table and its unit-name index exist.
bool built();

// Counts every change that can alter what a unit name or index stands for: a
// build or teardown of the table, a unit added, a default changed. Caches of
// results derived from names compare it instead of being told of changes.
extern uint64_t g_table_changes;
inline uint64_t table_changes() { return g_table_changes; }
inline void note_table_change() { ++g_table_changes; }

// Sets the ambient pressure that gauge and vacuum units carry as offset.
void set_ambient_pressure(double p);

// |ptype| in a width where the lowest int has a magnitude too.
inline long long magnitude(int ptype) { return ptype < 0 ? -static_cast<long long>(ptype) : ptype; }
inline bool is_marker(int ptype) { return ptype == RTOUOM_SI_MARKER || ptype == RTOUOM_SSI_MARKER; }
// True when |ptype| addresses a built-in type's list.
inline bool type_valid(int ptype) { return magnitude(ptype) < kTypeCount; }

// The unit a name maps to in the index (no re-resolution), or {0, 0}.
Place index_find(const char *name);
// As index_find, then a FLOW, ENTHALPY or DENSITY unit moved to the specific
// type that lists its name (ignoring case; the last such unit wins).
Place index_locate(const char *name);
// The first index of type t (0..148) named exactly name, or 0.
int position_in(int t, const char *name);

// Appends one unit to each of the n types, all or none; false after an
// assertion line when memory is short.
bool append_units(const int *types, int n, const char *unit, double mult, double offset);

// Adds a unit with the two flags of the Fortran add forms (rtouom_add_uom: 1, 0).
int add_unit(const char *unit, int ptype, double mult, double offset, bool also_equal, bool no_check);

// Multiplier and offset of (ptype, uom), or 1 and 0 with the "Assume SI" line
// after the report of rtouom_uom_info: the Fortran unit-information form.
void uom_info_or_si(int ptype, int uom, double *mult, double *offset);

// "$/" and at most 30 characters of name, in the shared unit-name buffer.
const char *price_unit_name(const char *name);

// Index building and teardown, for the table's build and destroy.
bool index_build();
void index_destroy();

}  // namespace zarn::rtuom

#endif
