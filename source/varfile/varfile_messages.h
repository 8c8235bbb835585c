// Every text the VARFILE processors print on the history device.
#ifndef ZARN_VARFILE_VARFILE_MESSAGES_H
#define ZARN_VARFILE_VARFILE_MESSAGES_H

namespace zarn::varfile::msg {

inline constexpr char kUnsupportedAttribute[] = "Attempt to add unsupported attribute to variable report %d\n";
inline constexpr char kWidenForUom[] = "Increasing page width to %d because it is not big enough for a UOM.\n";
inline constexpr char kWidenForReal[] =
    "Increasing page width to %d because it is not big enough for a real value.\n";
// Failures the documents leave to us.
inline constexpr char kNoPipe[] = "!!RTVarFileOut::Go: No output pipe\n";
inline constexpr char kNoList[] = "!!RTVarFileOut::Go: No variable list\n";
inline constexpr char kWriteFailed[] = "!!RTVarFileOut::Go: Writing to %s failed; the output stops here\n";
inline constexpr char kNoRegexp[] = "!!%s: No regular expression given\n";
inline constexpr char kNoMemory[] = "!!%s: Unable to allocate memory\n";

}  // namespace zarn::varfile::msg

#endif
