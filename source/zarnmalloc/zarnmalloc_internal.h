// Plex index arithmetic, shared with the tests so that it can be checked
// against anchors other than the process-wide one.
#ifndef ZARN_ZARNMALLOC_INTERNAL_H
#define ZARN_ZARNMALLOC_INTERNAL_H

#include <cstddef>
#include <cstdint>

#include "zarnutils/zarnmalloc.h"

namespace zarn::zarnmalloc {

// The process-wide anchors of the double, integer and character views.
extern uintptr_t g_double_anchor;
extern uintptr_t g_int_anchor;
extern uintptr_t g_char_anchor;

inline uintptr_t addr(const void *p) { return reinterpret_cast<uintptr_t>(p); }

// The shared library sets the anchors at load; code linked statically (test and
// benchmark programs) may never run that constructor, so the first use sets them.
inline void ensure_anchors() {
    if (g_double_anchor == 0) (void)FORTRAN_MALLOC_INIT();
}

// Address of element p of a view whose base is `base` and whose elements are `width` bytes.
inline uintptr_t element_addr(const void *base, int64_t p, unsigned width) {
    return addr(base) + static_cast<uint64_t>(p) * width;
}

// What a block holds; the failure messages name it.
enum class Kind { Double, HugeDouble, Int, HugeInt, Char };

// Blocks as plex indices: n elements, or the block at index p grown or shrunk
// to n (p = 0 allocates). A failed allocation raises.
int64_t dmalloc(Kind kind, int64_t n);
int64_t drealloc(Kind kind, int64_t p, int64_t n);
int64_t imalloc(Kind kind, int64_t n);
int64_t irealloc(Kind kind, int64_t p, int64_t n);
int64_t cmalloc(int64_t n);
int64_t crealloc(int64_t p, int64_t n);

// A Fortran length argument clamped to 0..limit.
size_t clamp_len(const int32_t *n, size_t limit);

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
