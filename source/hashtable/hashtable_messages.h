// Every text the hash tables print. They go where callers of this layer have
// always looked for them: failures on standard error, the statistics and the
// hashIterate warning on standard output.
#ifndef ZARN_HASHTABLE_HASHTABLE_MESSAGES_H
#define ZARN_HASHTABLE_HASHTABLE_MESSAGES_H

#include <cinttypes>

namespace zarn::hashtable::msg {

// Standard error.
inline constexpr char kTooSmall[] = "hashAddItem(addDouble): hash table too small\n";
inline constexpr char kResizeFailed[] = "!!hashResize: Unable to allocate memory for new table with %" PRIu32
                                        " slots (reverting to existing table with %" PRIu32 " slots)\n";
inline constexpr char kIllegalRemove[] = "!!hashRemoveItem: Illegal for hash table using double hashing\n";
// A change from inside one of the table's own callbacks (%s: the call refused).
inline constexpr char kInUse[] = "!!%s: Illegal while a function of the table is running\n";

// Standard output.
inline constexpr char kIllegalModify[] =
    "!! hashIterate: Illegal modification of entry in hashIterate";  // documented as is
inline constexpr char kStatSize[] = "Length of hash table: %" PRIu32 "\n";
inline constexpr char kStatCount[] = "Number of symbols:    %" PRIu32 "\n";
inline constexpr char kStatSlotsUsed[] = "Number of slots used: %" PRIu32 "\n";
inline constexpr char kStatLongest[] = "Largest chain length: %" PRIu32 "\n";
inline constexpr char kStatAverageChain[] = "Average chain length: %g\n";
inline constexpr char kStatBadCount[] = "!! analyzeJumps: Bad symbol count %" PRIu32 " != %" PRIu32 "\n";
inline constexpr char kStatJumps[] = "Largest number of jumps: %" PRIu32 "\n";
inline constexpr char kStatAverageJumps[] = "Average jumps          : %g\n";

}  // namespace zarn::hashtable::msg

#endif
