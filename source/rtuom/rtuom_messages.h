// Every text the units module prints, and the two ways it prints them.
#ifndef ZARN_RTUOM_RTUOM_MESSAGES_H
#define ZARN_RTUOM_RTUOM_MESSAGES_H

namespace zarn::rtuom {

// History-device messages; each follows the prefix "!! <function>: ".
inline constexpr const char *kNotBuilt = "UOM table has not been initialized.\n";
inline constexpr const char *kTypeBounds = "Physical type is out of bounds (%i).\n";
inline constexpr const char *kIndexBounds = "Unit index is out of bounds (%i).\n";
inline constexpr const char *kNoUnits = "There are no UOMs defined for physical type %i.\n";
inline constexpr const char *kNotFound = "Unable to locate a unit of measurement named: %s\n";
inline constexpr const char *kNameTooLong = "unit name {%s} exceeds the maximum of %i.\n";
inline constexpr const char *kExists = "A unit of measurement named: %s already exists\n";
inline constexpr const char *kNoName = "a unit of measurement needs a name.\n";
inline constexpr const char *kAmbientNotFinite = "the ambient pressure must be a finite number, not %g.\n";
inline constexpr const char *kFactorsNotFinite =
    "a unit needs a finite non-zero multiplier and a finite offset, not %g and %g.\n";
// Whole lines without the usual prefix.
inline constexpr const char *kSetDefaultBounds = "!!! rtouom_set_default: physical type out of bounds %i\n";
inline constexpr const char *kAssumeSI =
    "BaseUom of the variable is invalid. Assume SI \n";  // documented as is

// Assertion texts on standard error, under the documented source name.
inline constexpr const char *kSource = "source/rtuom/rtuom";
inline constexpr const char *kTableMalloc = "uom table malloc";
inline constexpr const char *kAddMalloc = "rtouom_add_uom malloc";
inline constexpr const char *kAddRealloc = "rtouom_add_uom realloc";
inline constexpr const char *kListMalloc = "rtouom_get_uomlist malloc";
inline constexpr const char *kListNull = "rtouom_get_uomlist";
inline constexpr const char *kPrintMismatch = "rtouom_print_uom: physical type mismatch";

// "!! <fn>: " and then the message, written as two pieces.
void report(const char *fn, const char *format, ...) __attribute__((format(printf, 2, 3)));
// The same as one text (the SI-to-unit pair conversions print it so).
void report_joined(const char *fn, const char *format, ...) __attribute__((format(printf, 2, 3)));
// An assertion line of this module.
void assertion(const char *text, int line);

}  // namespace zarn::rtuom

#endif
