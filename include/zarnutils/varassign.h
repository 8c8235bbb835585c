/*
 * Assignment and lookup of variable attributes by name: the binding of the
 * command language's "NAME.ATTRIBUTE = value" and of reading "NAME.ATTRIBUTE"
 * to a variable list.
 *
 * A target text is a variable name, optionally followed by "." and an
 * attribute keyword (VALUE, LB, UB, STEP, SCALE, SPEC, UNITS, ...). It is
 * split at its last "."; when the text after it is no keyword (keywords match
 * ignoring case but only when they start with an upper-case letter), the whole
 * text is the name and the attribute is VALUE, so "B1.T" names a variable and
 * "X.value" is a variable called X.value. A name part of 1025 characters or
 * more is refused. Aliases of the list's tag list are resolved; there is no
 * pattern matching.
 *
 * Real attributes are held in the list in the variable's base unit divided by
 * its internal scale (SCALE column; an undefined or zero internal scale counts
 * as 1): assignment converts a number with a unit to the base unit and
 * divides, lookup gives an SI number times the scale with the variable's
 * display unit. Problems are reported on the history device rtHisDev; the
 * functions return nothing. Assignment records the attribute in the
 * variable's modification record and raises change event 18 as the variable
 * list's writers do. Not thread-safe: callers serialise.
 *
 * These three functions belong to the variable list's interface; they are
 * declared here because they also need the values of rtvalue.h.
 */
#ifndef ZARNUTILS_VARASSIGN_H
#define ZARNUTILS_VARASSIGN_H

#include "zarnutils/rtvalue.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/zarn_api.h"

ZARN_BEGIN_DECLS

/*
 * Writes value to the attribute named by target. value is read, never
 * changed or taken. NULL arguments print an assertion line on standard error
 * and change nothing.
 */
ZARN_API void rtovarlst_assign_value(rtvarlst_t *list, const char *target, const value_t *value);

/*
 * value (a valid value, owned by the caller) is emptied and receives the
 * attribute named by target; it stays UNDEFINED for an unknown variable or an
 * undefined attribute. For SHADOW_PRICE the incoming number's physical type
 * and unit name the unit wanted. An empty list or a name part too long
 * leaves value as it was.
 */
ZARN_API void rtovarlst_lookup_value(rtvarlst_t *list, const char *target, value_t *value);

/* Index of the variable of "name" or "name.ATTRIBUTE"; 0 for an empty list,
   a name part too long, or an unknown name. */
ZARN_API int32_t rtovarlst_variable_object(rtvarlst_t *list, const char *text);

ZARN_END_DECLS

#endif
