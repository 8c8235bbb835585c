// Every text the numerical utilities print, in one place.
#ifndef ZARN_NUMUTIL_MESSAGES_H
#define ZARN_NUMUTIL_MESSAGES_H

namespace zarn::numutil::msg {

// History device; %s is the lower-case entry name.
constexpr const char *kBadCount = "!! %s: count is out of range. %lld\n";
constexpr const char *kMissingArray = "!! %s: an array argument is missing\n";
constexpr const char *kNoBlock = "!! %s: block index is 0\n";
constexpr const char *kNotPermutation = "!! %s: block %lld is not a permutation block\n";
constexpr const char *kIndexRange = "!! %s: index %lld at entry %lld is out of range 1..%lld\n";
constexpr const char *kOverlap = "!! %s: the arrays overlap\n";
constexpr const char *kNoOutput = "!! %s: no argument for the new block\n";

// Index conversions: list-directed records on the Fortran standard output unit.
constexpr const char *kComp2UncompBounds = "!! u3perm_comp2uncomp: i is out of bounds";
constexpr const char *kUncomp2CompBounds = "!! u3perm_uncomp2comp: i is out of bounds";
constexpr const char *kLabelI = "  i   = ";
constexpr const char *kLabelNxc = "  nxc = ";
constexpr const char *kLabelNx = "  nx  = ";

// Variable groups and the finite-difference Jacobian (history device).
constexpr const char *kNegativeOffset = "!! %s: offsets must not be negative (rows %lld, columns %lld)\n";
constexpr const char *kRowOrder =
    "!! %s: row %lld at entry %lld comes after row %lld: nonzeros must be ordered by row\n";
constexpr const char *kNoMemory = "!! %s: not enough memory for %lld entries\n";
constexpr const char *kInconsistent = "!! %s: group object %lld is not consistent\n";
constexpr const char *kOtherObject =
    "!! %s: the evaluation in progress belongs to group object %lld, not %lld\n";
constexpr const char *kBadUnit = "!! %s: unit %lld is not connected for unformatted sequential transfers\n";
constexpr const char *kIoFailed = "!! %s: transfer on unit %lld failed (status %d)\n";
constexpr const char *kShortFile =
    "!! %s: the file on unit %lld is too short for %lld columns and %lld rows\n";

// Group report (history device): lines of at most 80 characters. Numbers
// take fixed columns; one too wide for its columns fills them with '*'.
constexpr const char *kReportCount = " Number of groups detected = ";
constexpr int kReportCountWidth = 3;
constexpr const char *kReportGroup = " Group ";
constexpr int kReportGroupWidth = 4;
constexpr const char *kReportGroupTail = " contains variables:";
constexpr const char *kReportIndent = "                                ";  // 32 blanks
constexpr int kReportMemberWidth = 6;                                      // after one blank
constexpr int kReportPerLine = 6;

}  // namespace zarn::numutil::msg

#endif
