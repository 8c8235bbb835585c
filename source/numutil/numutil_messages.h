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

}  // namespace zarn::numutil::msg

#endif
