// What the recorders share: attribute sets, names and texts in upper case,
// the variable a record names, unit lookups with their messages, and the
// number the writer would write for an attribute.
#ifndef ZARN_VARFILE_RECORDERS_H
#define ZARN_VARFILE_RECORDERS_H

#include <cstddef>
#include <cstdint>

#include "rtopipe/report.h"
#include "zarnutils/varattrnames.hpp"
#include "zarnutils/varfile.hpp"

namespace zarn::varfile {

inline constexpr size_t kNameMax = ZARN_NAME_MAX;  // longest name a list holds
inline constexpr int kDisplayUnit = -1;            // the variable's own display unit

// The set bit of an attribute 0..27; 0 for any other number.
constexpr uint32_t attribute_bit(int a) {
    return a >= 0 && a < ZARN_VARFILE_ATTRIBUTE_COUNT ? uint32_t{1} << a : 0u;
}

// The variable's name ("" when it has none) and physical type.
const char *name_of(rtvarlst_t *list, int i);
int ptype_of(rtvarlst_t *list, int i);

// The messages that name a text (or number), the attribute's header word and
// the variable, written at level 1 or more; the format is a template
// argument so that it is checked.
template <const char *Format, typename T>
void refuse(int level, rtvarlst_t *list, T value, int a, int i) {
    if (level >= 1) zarn::rtopipe::report(Format, value, RTVarAttributeNames::Name(a), name_of(list, i));
}

// Unit lookups that print the units table's not-found line only at level 1
// or more, so that a silent reader stays silent.
void locate(int level, const char *unit, int *ptype, int *uom);
int locate_in(int level, const char *unit, int ptype);
// Is the unit listed under any physical type?
bool known_unit(int level, const char *unit);

// An upper-case copy of the n characters at text, in a buffer that only
// grows (at least to a whole name); NULL when memory is short (reported
// under who).
const char *upper(char *&buffer, size_t &capacity, const char *text, size_t n, const char *who);

// Is a in the list of attribute numbers?
bool in_list(const gl_list_t *attributes, int a);

// The variable an upper-case copy of name finds in the list, when the
// filter (NULL: none) lets it through; 0 otherwise and for names longer than
// a list holds.
int find_variable(rtvarlst_t *list, const VarFilter *filter, const char *name, char *&buffer,
                  size_t &capacity, const char *who);

// Puts in *uom the unit a record's text names within variable i's physical
// type: 0 when the variable is untyped or the type has no such unit, which
// is reported at level 1 or more (another type's unit, or none at all).
// False when memory is short (reported).
bool record_unit(int level, rtvarlst_t *list, int i, const char *unit, char *&buffer, size_t &capacity,
                 const char *who, int *uom);

// The number the writer would write for real attribute a of variable i:
// scaled, converted to the given unit of the variable's physical type
// (kDisplayUnit: its display unit), as a difference where the column is one.
double written_number(rtvarlst_t *list, int32_t i, int a, int unit);

}  // namespace zarn::varfile

#endif
