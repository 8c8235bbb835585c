// Every text the plex allocator prints: history-device texts go through
// zarn::rtopipe::report, the unrepresentable-pointer texts to standard error.
#ifndef ZARN_ZARNMALLOC_ZARNMALLOC_MESSAGES_H
#define ZARN_ZARNMALLOC_ZARNMALLOC_MESSAGES_H

#include <cinttypes>

namespace zarn::zarnmalloc::msg {

// Source name given with a raise.
inline constexpr const char *kSource = "source/zarnmalloc/zarnmalloc";

// Second initialisation with other anchors.
inline constexpr const char *kInitTwice[] = {
    "!! rto_malloc_init: ", "The memory system has already been initialized ",
    "with different base addresses.\n", "Severe programming error\n"};

// Allocation failure: header line of each kind, then the diagnosis.
inline constexpr const char *kAllocDouble = "!! rto_dmalloc: \n";  // both double forms
inline constexpr const char *kAllocInt = "!! rto_imalloc: \n";
inline constexpr const char *kAllocHugeInt = "!! rto_hugeimalloc: \n";
inline constexpr const char *kAllocChar = "!! rto_cmalloc: \n";
inline constexpr const char *kBytesRequested = "  bytes requested = %" PRId64 "\n";
inline constexpr const char *kAvailable = " Total memory available is about %" PRId64 " bytes\n";
inline constexpr const char *kInsufficient = " Insufficient virtual memory to solve this model.\n";
inline constexpr const char *kIncreaseBy = " Please increase the size of the swap file by atleast %" PRId64
                                           " bytes and retry.\n";  // documented as is

// Reallocation failure: header of each kind, the system's error text, the anchor.
inline constexpr const char *kReallocDouble = "!! rto_drealloc: ";
inline constexpr const char *kReallocInt = "!! rto_irealloc: ";
inline constexpr const char *kReallocChar = "!! rto_crealloc: ";
inline constexpr const char *kErrorText = "%s\n";
inline constexpr const char *kAnchorDouble = "  b1              = %p\n";
inline constexpr const char *kAnchorInt = "  ib1             = %p\n";
inline constexpr const char *kAnchorHugeInt = "  ib1         = %p\n";  // documented as is
inline constexpr const char *kAnchorChar = "  cb1             = %p\n";
inline constexpr const char *kOldIndex = "  index           = %" PRId64 "\n";
// Both lines end in a blank after the line break.
inline constexpr const char *kReallocInsufficient =
    " Insufficient virtual memory to solve this model.\n ";  // documented as is
inline constexpr const char *kReallocIncrease =
    " Please increase the size of the swap file and retry.\n ";  // documented as is

// A negative element count (not a documented path: the request is refused).
inline constexpr const char *kBadCount = "!! %s: Invalid element count %" PRId64 "\n";

// Pointers that are no multiple of 8 bytes from the base (then exit code 2).
inline constexpr const char *kBadDoublePointer =
    "!! rto_dptr2plex_c: Unrepresentable double pointer %p (%p)\n";
inline constexpr const char *kBadIntPointer = "!! rto_iptr2plex_c: Unrepresentable int pointer %p (%p)\n";

inline constexpr const char *kDebugMem = "debug_mem not available in zarnmalloc build\n";

}  // namespace zarn::zarnmalloc::msg

#endif
