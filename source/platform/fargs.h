// Argument helpers of the Fortran twins: every argument comes by address, may
// be absent (null), and integers are 64 bits where the C function takes 32.
#ifndef ZARN_PLATFORM_FARGS_H
#define ZARN_PLATFORM_FARGS_H

#include <climits>
#include <cstdint>

namespace zarn::fortran {

// The value behind an argument, or `absent` when no argument was passed.
template <class T>
inline T deref(const T *p, T absent = T{}) {
    return p != nullptr ? *p : absent;
}

// A 64-bit Fortran integer for a C `int` or int32_t argument. Values beyond
// the 32-bit range clamp to +-INT32_MAX, so they stay out of every range the
// C function checks instead of wrapping into one.
inline int32_t narrow(const int64_t *p) {
    if (p == nullptr) return 0;
    if (*p > INT32_MAX) return INT32_MAX;
    if (*p < -INT32_MAX) return -INT32_MAX;
    return static_cast<int32_t>(*p);
}
inline int32_t narrow(int64_t v) { return narrow(&v); }

// Writes a result through an output argument the caller may have left out.
template <class T, class V>
inline void store(T *out, V v) {
    if (out != nullptr) *out = static_cast<T>(v);
}

// Fortran logical results: -1 for true, 0 for false.
inline int64_t logical(bool b) { return b ? -1 : 0; }

// The handle a Fortran caller keeps in an integer or pointer-sized slot.
template <class H>
inline H *handle(H *const *slot) {
    return slot != nullptr ? *slot : nullptr;
}

}  // namespace zarn::fortran

#endif
