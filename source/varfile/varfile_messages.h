// Every text the VARFILE processors print on the history device.
#ifndef ZARN_VARFILE_VARFILE_MESSAGES_H
#define ZARN_VARFILE_VARFILE_MESSAGES_H

namespace zarn::varfile::msg {

inline constexpr char kUnsupportedAttribute[] =
    "Attempt to add unsupported attribute to variable report %d\n";
inline constexpr char kWidenForUom[] =
    "Increasing page width to %d because it is not big enough for a UOM.\n";
inline constexpr char kWidenForReal[] =
    "Increasing page width to %d because it is not big enough for a real value.\n";
// Failures the documents leave to us.
inline constexpr char kNoPipe[] = "!!RTVarFileOut::Go: No output pipe\n";
inline constexpr char kNoList[] = "!!RTVarFileOut::Go: No variable list\n";
inline constexpr char kWriteFailed[] = "!!RTVarFileOut::Go: Writing to %s failed; the output stops here\n";
inline constexpr char kNoRegexp[] = "!!%s: No regular expression given\n";
inline constexpr char kNoMemory[] = "!!%s: Unable to allocate memory\n";

// The reader: scanner, parser and record processing.
inline constexpr char kUnterminated[] = "Unterminated identifier!\n";
inline constexpr char kUnexpectedChar[] = "Ignoring unexpected character '%c' in varfile\n";
inline constexpr char kUnexpectedCode[] = "Ignoring unexpected character (%d) in varfile\n";
inline constexpr char kSyntax[] = "!! ZARN EO %s in VARFILE input\n";
inline constexpr char kParseError[] = "parse error";
inline constexpr char kStackOverflow[] = "parser stack overflow";
inline constexpr char kMoreFieldsNamed[] =
    "Variable %s has more fields (%d) than the header (%d).\n"
    "Double check your commas, and remember that a record cannot end with an\nempty field.\n";
inline constexpr char kMoreFields[] =
    "Line in varfile has more fields (%d) than the header (%d).\n"
    "Double check your commas, and remember that a record cannot end with an\nempty field.\n";
inline constexpr char kNameNotText[] = "Name is not a string in VARFILE.\n";
inline constexpr char kUomNotText[] = "UOM field is not a string in VARFILE.\n";
inline constexpr char kBaseUomNotText[] = "BASEUOM field is not a string in VARFILE.\n";

// The assigning recorder (variable name last unless stated).
inline constexpr char kShadowPrice[] =
    "Attempt to assign shadow price value '%g' to the %s attribute of %s\n";
inline constexpr char kShadowPriceWhy[] = "The shadow price cannot be read back from a file\n";
inline constexpr char kRealRefused[] = "Attempt to assign real value %g to the %s attribute of %s\n";
inline constexpr char kBadPtype[] = "Unrecognized physical type %s assigned to the %s attribute of %s\n";
inline constexpr char kOtherPtype[] = "Unit of measure %s has a different physical type than that of %s\n";
inline constexpr char kBadUom[] = "Unrecognized unit of measure %s assigned to the %s attribute of %s\n";
inline constexpr char kBadBaseUom[] =
    "            Unrecognized base unit of measure %s assigned to the %s attribute of %s\n";
inline constexpr char kBadSymbol[] = "Unrecognized symbol %s assigned to the %s attribute of %s\n";
inline constexpr char kBadQuality[] = "Unrecognized quality %s assigned to the %s attribute of %s\n";
inline constexpr char kBadParam[] = "Unrecognized homotopy parameter %s assigned to the %s attribute of %s\n";
inline constexpr char kActiveBound[] =
    "Attempt to assign active bound string value '%s' to the %s attribute of %s\n";
inline constexpr char kActiveBoundWhy[] = "The active_bound cannot be read back from a file\n";
inline constexpr char kDescription[] =
    "Attempt to assign description string value '%s' to the %s attribute of %s\n";
inline constexpr char kDescriptionWhy[] = "The description cannot be read back from a file\n";
inline constexpr char kBadValue[] = "Unrecognized value %s assigned to the %s attribute of %s\n";
inline constexpr char kBadConnType[] = "Unrecognized connection type %s assigned to the %s attribute of %s\n";
inline constexpr char kStringRefused[] = "Attempt to assign string value '%s' to the %s attribute of %s\n";
// Unit text and variable name.
inline constexpr char kUnitOtherPtype[] =
    "          Unit of measure %s has a different physical type than that of %s\n";
inline constexpr char kUnitUnknown[] = "            Unrecognized unit of measure %s assigned to the %s\n";
// The comparing recorder (variable name last unless stated).
inline constexpr char kCmpShadowPrice[] =
    "Attempt to compare shadow price value '%g' to the %s attribute of %s\n";
inline constexpr char kCmpReal[] = "Attempt to compare real value %g with the %s attribute of %s\n";
inline constexpr char kCmpBadPtype[] = "Unrecognized physical type %s compared to the %s attribute of %s\n";
inline constexpr char kCmpBadUom[] = "Unrecognized unit of measure %s compared to the %s attribute of %s\n";
inline constexpr char kCmpBadSymbol[] = "Unrecognized symbol %s compared to the %s attribute of %s\n";
inline constexpr char kCmpActiveBound[] =
    "Attempt to compare active bound string value '%s' to the %s attribute of %s\n";
inline constexpr char kCmpDescription[] =
    "Attempt to compare description string value '%s' to the %s attribute of %s\n";
inline constexpr char kCmpBadConnType[] =
    "Unrecognized connection type %s compared to the %s attribute of %s\n";
inline constexpr char kCmpString[] = "Attempt to compare string value '%s' to the %s attribute of %s\n";
// On the report pipe: the detail line of a difference (variable name, header
// word, the file's value, the current one), and the summary.
inline constexpr char kCmpNumberDetail[] = "%s %s FILE = %g CURRENT = %g\n";
inline constexpr char kCmpTextDetail[] = "%s %s FILE = %s CURRENT = %s\n";
inline constexpr char kCmpTitle[] =
    "COMPARE VARFILE REPORT\n"
    "ATTRIBUTE      # Changed  Relative Difference  Absolute Difference\n"
    "============== ========== ==================== ===================\n";
inline constexpr char kCmpRow[] = "%-14s %10i %20.12g %20.12g\n";

// Failures the documents leave to us.
inline constexpr char kNoReport[] = "!!RTVarFileCmp::Go: No report pipe\n";
inline constexpr char kNoInput[] = "!!%s::Go: No input pipe\n";  // the reader's class
inline constexpr char kReadAheadDropped[] = "!!RTVarFileIn::Go: The input read ahead from %s is dropped\n";
inline constexpr char kBusy[] = "!!VARFILE reader: another file is being read; this one is not\n";
inline constexpr char kScannerFailed[] = "!!VARFILE reader: %s; the reading stops here\n";

}  // namespace zarn::varfile::msg

#endif
