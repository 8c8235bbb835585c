// Plex index arithmetic, shared with the tests so that it can be checked
// against anchors other than the process-wide one.
#ifndef ZARN_ZARNMALLOC_INTERNAL_H
#define ZARN_ZARNMALLOC_INTERNAL_H

#include <cstdint>

namespace zarn::zarnmalloc {

// First index of every view; element p of a view sits p - 1 elements after its anchor.
constexpr int64_t kIndexOrigin = 1;

// Placement of a double block: shift (1..8 bytes from the block start to the first
// element) and the plex index of that first element relative to the anchor.
struct DoublePlacement {
    unsigned shift;
    int64_t index;
};

inline DoublePlacement place_double_block(uintptr_t block, uintptr_t anchor) {
    // Offset modulo 2^64 read as signed, so blocks below the anchor get negative indices.
    const auto off = static_cast<int64_t>(block - anchor);
    const auto rem = static_cast<unsigned>(static_cast<uint64_t>(off) & 7u);
    return DoublePlacement{8u - rem, (off - static_cast<int64_t>(rem)) / 8 + kIndexOrigin + 1};
}

inline int64_t integer_block_index(uintptr_t block, uintptr_t anchor) {
    return static_cast<int64_t>(block - anchor) / 8 + kIndexOrigin;
}

inline int64_t char_block_index(uintptr_t block, uintptr_t anchor) {
    return static_cast<int64_t>(block - anchor) + kIndexOrigin;
}

}  // namespace zarn::zarnmalloc

#endif
