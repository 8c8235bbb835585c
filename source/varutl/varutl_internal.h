// Field layout of the variable status word, inline, for the library's own
// loops over STATUS columns (the exported accessors are built on these).
#ifndef ZARN_VARUTL_VARUTL_INTERNAL_H
#define ZARN_VARUTL_VARUTL_INTERNAL_H

#include <cstdint>

namespace zarn::varutl {

constexpr int64_t kSpecMask = 0xF;
constexpr int64_t kPtypeMask = 0x1FF0;
constexpr int kPtypeShift = 4;
constexpr int32_t kPtypeBias = 256;
constexpr int64_t kConnMask = 0xE000;
constexpr int kConnShift = 13;
constexpr int64_t kTypeMask = 0xF0000;
constexpr int kTypeShift = 16;
// Type codes above 15 keep their bits 4-6 here; no other field uses them.
constexpr int64_t kTypeHighMask = 0xE0000000LL;
constexpr int kTypeHighShift = 29;
constexpr int64_t kTorn = 0x100000;
constexpr int64_t kBoundMask = 0x600000;
constexpr int kBoundShift = 21;
constexpr int64_t kInstrument = 0x800000;
constexpr int64_t kMeasured = 0x1000000;
constexpr int64_t kExcluded = 0x2000000;
constexpr int64_t kMarked = 0x4000000;
constexpr int64_t kLinear = 0x8000000;
constexpr int64_t kActive = 0x10000000;

inline int32_t spec(int64_t w) { return static_cast<int32_t>(w & kSpecMask); }

inline int32_t physical_type(int64_t w) {
    const int32_t field = static_cast<int32_t>((w & kPtypeMask) >> kPtypeShift);
    return field == 0 ? 0 : field - kPtypeBias;
}

// ptype must already be checked to lie in -255..255.
inline int64_t with_physical_type(int64_t w, int32_t ptype) {
    const int64_t field = ptype == 0 ? 0 : static_cast<int64_t>(ptype + kPtypeBias);
    return (w & ~kPtypeMask) | (field << kPtypeShift);
}

inline int32_t var_type(int64_t w) {
    const int64_t low = (w & kTypeMask) >> kTypeShift;
    const int64_t high = (w & kTypeHighMask) >> kTypeHighShift;
    return static_cast<int32_t>(low | (high << 4));
}

// type must already be checked to lie in 0..64.
inline int64_t with_var_type(int64_t w, int32_t type) {
    const int64_t low = type & 0xF;
    const int64_t high = (type >> 4) & 0x7;
    return (w & ~(kTypeMask | kTypeHighMask)) | (low << kTypeShift) | (high << kTypeHighShift);
}

inline int32_t bound_type(int64_t w) { return static_cast<int32_t>((w & kBoundMask) >> kBoundShift); }

inline int64_t with_bit(int64_t w, int64_t bit, bool on) { return on ? (w | bit) : (w & ~bit); }

}  // namespace zarn::varutl

#endif
