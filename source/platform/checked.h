// Checked arithmetic on caller-supplied integers: every range and size test on
// a caller's numbers goes through here, in a width that cannot overflow.
#ifndef ZARN_PLATFORM_CHECKED_H
#define ZARN_PLATFORM_CHECKED_H

#include <climits>
#include <cstddef>
#include <cstdint>

namespace zarn {

// a + b and a * b; false (and *out untouched) when the result does not fit T.
template <class T>
inline bool checked_add(T a, T b, T *out) {
    T r;
    if (__builtin_add_overflow(a, b, &r)) return false;
    *out = r;
    return true;
}
template <class T>
inline bool checked_mul(T a, T b, T *out) {
    T r;
    if (__builtin_mul_overflow(a, b, &r)) return false;
    *out = r;
    return true;
}

// True when the 1-based run first .. first+count-1 lies within 1..size.
// count 0 is an empty run and lies within when 1 <= first <= size+1.
inline bool run_within(int64_t first, int64_t count, int64_t size) {
    if (count < 0 || first < 1 || size < 0) return false;
    // count <= size - (first - 1): no term can overflow, whatever the caller passes.
    if (first - 1 > size) return false;
    return count <= size - (first - 1);
}

// True when 1 <= i <= size.
inline bool index_within(int64_t i, int64_t size) { return i >= 1 && i <= size; }

// A 64-bit caller value as int32_t, or false when it does not fit.
inline bool fits_int32(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

// count elements of `size` bytes; false when count is negative or the bytes
// exceed `limit` (by default what a size_t and the allocator can hold).
inline bool byte_count(int64_t count, std::size_t size, std::size_t *bytes,
                       std::size_t limit = static_cast<std::size_t>(PTRDIFF_MAX)) {
    if (count < 0) return false;
    std::size_t n;
    if (__builtin_mul_overflow(static_cast<std::size_t>(count), size, &n) || n > limit) return false;
    *bytes = n;
    return true;
}

// The smaller of a caller's count and what a buffer holds, never negative.
inline int64_t clamp_count(int64_t count, int64_t room) {
    if (count < 0) return 0;
    return count < room ? count : room;
}

}  // namespace zarn

#endif
