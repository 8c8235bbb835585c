// Every text that assignment and lookup by name print: history lines go
// through zarn::rtopipe::report, assertion lines through zarn::assert_report.
// Texts printed around a value end or start where the value's printed form
// goes (value_print).
#ifndef ZARN_VARASSIGN_MESSAGES_H
#define ZARN_VARASSIGN_MESSAGES_H

namespace zarn::varassign::msg {

// Source name of the assertion lines.
inline constexpr char kSource[] = "source/varassign/varassign";

inline constexpr char kNoVariables[] = "There are no variables to assign.\n";
inline constexpr char kNameTooLong[] = "The name %s is too long for a variable.\n";
inline constexpr char kInvalidName[] = "Invalid variable name in assignment: %s = ";  // then the value, "\n"
inline constexpr char kNewline[] = "\n";
inline constexpr char kReadOnly[] = "The %s attribute is read-only\n";
inline constexpr char kUnknownAttribute[] = "Unknown variable attribute %s\n";
// Coercion failed; documented as is: two blanks after the full stop.
inline constexpr char kMismatch[] = "Assignment type mismatch.  You cannot assign ";
// The value is not already of the kind wanted; documented as is: one blank.
inline constexpr char kKindMismatch[] = "Assignment type mismatch. You cannot assign ";
inline constexpr char kMismatchTail[] = " to %s\n";
inline constexpr char kUnknownSpec[] = "Unknown variable specification %s\n";
inline constexpr char kUnknownBound[] = "Unknown variable bound type %s\n";
inline constexpr char kUnknownQuality[] = "Unknown variable quality %s\n";
inline constexpr char kUomHead[] = "Unable to locate definition for UOM {";
inline constexpr char kUomTail[] = "}.  Unable to assign to %s.\n";
inline constexpr char kPtypeHead[] = "Unable to locate definition for Physical Type ";
inline constexpr char kPtypeTail[] = ".  Unable to assign to %s.\n";
inline constexpr char kPtypeWarnHead[] = "Warning: Assigning ";
// documented as is: printed as two pieces after the value
inline constexpr char kPtypeWarnTo[] = " to %s";
inline constexpr char kPtypeWarnTail[] = ".  This may have serious consequences.\n";
inline constexpr char kUnknownParam[] = "Unknown variable homotopy param %s.  Valid strings are YES or NO.\n";
inline constexpr char kUnknownRamped[] = "Unknown variable ramped %s.  Valid strings are YES or NO.\n";
// The first line names the text; every valid type follows, a line each.
inline constexpr char kUnknownVarType[] = "Unknown variable type %s. ";
inline constexpr char kValidVarTypes[] = "Valid strings are:\n";
inline constexpr char kPtypeMismatch[] =
    "Physical type mismatch in assignment: %s - variable(%d)/value(%d)\n";
inline constexpr char kChangeUndefined[] =
    "You cannot make an assignment to %s.CHANGE because %s.VALUE is undefined\n";

// ---- assertion texts
inline constexpr char kAssertNullList[] = "!! rtovarlst_assign_value: NULL varlst";
inline constexpr char kAssertNullValue[] = "!! rtovarlst_assign_value: NULL value pointer";
inline constexpr char kAssertNullName[] = "!! rtovarlst_assign_value: NULL name pointer";
inline constexpr char kAssertBadValue[] = "!! rtovarlst_assign_value: bad value";

}  // namespace zarn::varassign::msg

#endif
