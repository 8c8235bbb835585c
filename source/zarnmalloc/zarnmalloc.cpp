// Blocks of doubles, integers and characters handed to Fortran code as plex
// indices relative to one anchor, and text packed into integer and double arrays.
#include "zarnutils/zarnmalloc.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/checked.h"
#include "platform/fargs.h"
#include "platform/packtext.h"
#include "platform/xalloc.h"
#include "rtopipe/report.h"
#include "zarnmalloc/zarnmalloc_internal.h"
#include "zarnmalloc/zarnmalloc_load.h"
#include "zarnmalloc/zarnmalloc_messages.h"

namespace {
constexpr double kRglobFirst = 1e35;
constexpr int32_t kGlobalFirst = 99999999;
}  // namespace

extern "C" {
alignas(16) ZARN_API double ZARN_PLEX[1] = {0.0};
alignas(16) ZARN_API double ZARN_RGLOB[1] = {kRglobFirst};
alignas(16) ZARN_API int32_t ZARN_GLOBAL[1] = {kGlobalFirst};
ZARN_API double *ZARN_b0 = nullptr;
ZARN_API int64_t *ZARN_ib0 = nullptr;
ZARN_API char *ZARN_cb0 = nullptr;
const CII_Except_T rtmalloc_allocate_failed = {"Allocation failed"};
ZARN_API int32_t rtmalloc_memory_debug = 0;
}

namespace zarn::zarnmalloc {

void load() {
    ZARN_RGLOB[0] = kRglobFirst;
    ZARN_GLOBAL[0] = kGlobalFirst;
    (void)FORTRAN_MALLOC_INIT();
}

uintptr_t g_double_anchor = 0;
uintptr_t g_int_anchor = 0;
uintptr_t g_char_anchor = 0;

namespace {

using msg::kSource;
using zarn::rtopipe::report;

// Memory still to be had, probed with shrinking fractions of the request.
uint64_t probe_available(uint64_t blockBytes) {
    for (double f = 0.9; f >= 0.1; f -= 0.1) {
        const double want = static_cast<double>(blockBytes) * f;
        if (want >= 18446744073709549568.0) continue;  // beyond size_t
        const auto bytes = static_cast<size_t>(want);
        void *probe = std::malloc(bytes);
        if (probe != nullptr) {
            std::free(probe);
            return bytes;
        }
    }
    return 0;
}

// Diagnoses an allocation that could not be met and raises; never returns.
[[noreturn]] void allocation_failed(Kind kind, int64_t count, uint64_t blockBytes, int line) {
    const char *header = msg::kAllocDouble;
    if (kind == Kind::Int) header = msg::kAllocInt;
    if (kind == Kind::HugeInt) header = msg::kAllocHugeInt;
    if (kind == Kind::Char) header = msg::kAllocChar;
    const uint64_t requested =
        kind == Kind::Char ? static_cast<uint64_t>(count) : static_cast<uint64_t>(count) * 8u;
    report("%s", header);
    report(msg::kBytesRequested, static_cast<int64_t>(requested));
    const uint64_t available = probe_available(blockBytes);
    report(msg::kAvailable, static_cast<int64_t>(available));
    report("%s", msg::kInsufficient);
    report(msg::kIncreaseBy, static_cast<int64_t>(requested - available + 10000u));
    CII_Except_raise(&rtmalloc_allocate_failed, kSource, line);
}

// Diagnoses a reallocation that could not be met (the old block stays) and raises.
[[noreturn]] void reallocation_failed(Kind kind, int err, int64_t count, int64_t oldIndex, int line) {
    const bool isChar = kind == Kind::Char;
    const bool isInt = kind == Kind::Int || kind == Kind::HugeInt;
    report("%s", isChar ? msg::kReallocChar : isInt ? msg::kReallocInt : msg::kReallocDouble);
    report(msg::kErrorText, std::strerror(err));
    const uint64_t requested = isChar ? static_cast<uint64_t>(count) : static_cast<uint64_t>(count) * 8u;
    report(msg::kBytesRequested, static_cast<int64_t>(requested));
    if (isChar) {
        report(msg::kAnchorChar, reinterpret_cast<void *>(g_char_anchor));
    } else if (isInt) {
        if (kind == Kind::HugeInt) {
            report(msg::kAnchorHugeInt, reinterpret_cast<void *>(g_int_anchor));
        } else {
            report(msg::kAnchorInt, reinterpret_cast<void *>(g_int_anchor));
        }
        report(msg::kOldIndex, oldIndex);
    } else {
        report(msg::kAnchorDouble, reinterpret_cast<void *>(g_double_anchor));
        report(msg::kOldIndex, oldIndex);
    }
    report("%s", msg::kReallocInsufficient);
    report("%s", msg::kReallocIncrease);
    CII_Except_raise(&rtmalloc_allocate_failed, kSource, line);
}

// Bytes of a block of n elements of `width` bytes plus one spare; 0 when it cannot be
// represented (such a request can never be met).
uint64_t block_bytes(int64_t n, unsigned width) {
    int64_t elements = 0;
    std::size_t bytes = 0;
    if (!zarn::checked_add<int64_t>(n, 1, &elements) || !zarn::byte_count(elements, width, &bytes)) return 0;
    return bytes;
}

const char *kind_name(Kind kind) {
    switch (kind) {
        case Kind::Double:
        case Kind::HugeDouble:
            return "rto_dmalloc";
        case Kind::Int:
            return "rto_imalloc";
        case Kind::HugeInt:
            return "rto_hugeimalloc";
        case Kind::Char:
            return "rto_cmalloc";
    }
    return "";
}

bool bad_count(int64_t n, const char *fn) {
    if (n >= 0) return false;
    report(msg::kBadCount, fn, n);
    return true;
}

void *malloc_or_raise(Kind kind, int64_t n, unsigned width, int line) {
    const uint64_t bytes = block_bytes(n, width);
    void *block = bytes != 0 ? zarn::xmalloc_plex(bytes) : nullptr;
    if (block == nullptr) {
        allocation_failed(kind, n, bytes != 0 ? bytes : UINT64_MAX, line);
    }
    return block;
}

}  // namespace

int64_t dmalloc(Kind kind, int64_t n) {
    ensure_anchors();
    if (bad_count(n, kind_name(kind))) return 0;
    char *block = static_cast<char *>(malloc_or_raise(kind, n, 8u, __LINE__));
    const DoublePlacement at = place_double_block(addr(block), g_double_anchor);
    block[at.shift - 1] = static_cast<char>(at.shift);
    return at.index;
}

int64_t drealloc(Kind kind, int64_t p, int64_t n) {
    ensure_anchors();
    if (p == 0) return dmalloc(kind, n);
    if (bad_count(n, "rto_drealloc")) return p;
    char *first = reinterpret_cast<char *>(element_addr(ZARN_b0, p, 8u));
    const auto oldShift = static_cast<unsigned>(static_cast<unsigned char>(first[-1]));
    char *oldBlock = first - oldShift;
    const uint64_t bytes = block_bytes(n, 8u);
    char *block = bytes != 0 ? static_cast<char *>(zarn::xrealloc_plex(oldBlock, bytes)) : nullptr;
    if (block == nullptr) reallocation_failed(kind, bytes != 0 ? errno : ENOMEM, n, p, __LINE__);
    const DoublePlacement at = place_double_block(addr(block), g_double_anchor);
    if (at.shift != oldShift) {
        std::memmove(block + at.shift, block + oldShift, static_cast<size_t>(n) * 8u);
    }
    block[at.shift - 1] = static_cast<char>(at.shift);
    return at.index;
}

int64_t imalloc(Kind kind, int64_t n) {
    ensure_anchors();
    if (bad_count(n, kind_name(kind))) return 0;
    void *block = malloc_or_raise(kind, n, 8u, __LINE__);
    return integer_block_index(addr(block), g_int_anchor);
}

int64_t irealloc(Kind kind, int64_t p, int64_t n) {
    ensure_anchors();
    if (p == 0) return imalloc(kind, n);
    if (bad_count(n, "rto_irealloc")) return p;
    void *old = reinterpret_cast<void *>(element_addr(ZARN_ib0, p, 8u));
    const uint64_t bytes = block_bytes(n, 8u);
    void *block = bytes != 0 ? zarn::xrealloc_plex(old, bytes) : nullptr;
    if (block == nullptr) reallocation_failed(kind, bytes != 0 ? errno : ENOMEM, n, p, __LINE__);
    return integer_block_index(addr(block), g_int_anchor);
}

int64_t cmalloc(int64_t n) {
    ensure_anchors();
    if (bad_count(n, "rto_cmalloc")) return 0;
    void *block = malloc_or_raise(Kind::Char, n, 1u, __LINE__);
    return char_block_index(addr(block), g_char_anchor);
}

int64_t crealloc(int64_t p, int64_t n) {
    ensure_anchors();
    if (p == 0) return cmalloc(n);
    if (bad_count(n, "rto_crealloc")) return p;
    void *old = reinterpret_cast<void *>(element_addr(ZARN_cb0, p, 1u));
    const uint64_t bytes = block_bytes(n, 1u);
    void *block = bytes != 0 ? zarn::xrealloc_plex(old, bytes) : nullptr;
    if (block == nullptr) {
        reallocation_failed(Kind::Char, bytes != 0 ? errno : ENOMEM, n, p, __LINE__);
    }
    return char_block_index(addr(block), g_char_anchor);
}

size_t clamp_len(const int32_t *n, size_t limit) {
    if (n == nullptr || *n <= 0) return 0;
    const auto len = static_cast<size_t>(*n);
    return len < limit ? len : limit;
}

}  // namespace zarn::zarnmalloc

using namespace zarn::zarnmalloc;
using zarn::fortran::deref;

extern "C" int64_t rto_dptr2plex_c(const double *q) {
    ensure_anchors();
    const auto diff = static_cast<int64_t>(addr(q) - addr(ZARN_b0));
    if ((diff & 7) != 0) {
        std::fprintf(stderr, msg::kBadDoublePointer, static_cast<const void *>(q),
                     static_cast<void *>(ZARN_b0));
        std::fflush(stderr);
        std::exit(2);
    }
    return diff / 8;
}

extern "C" int64_t rto_iptr2plex_c(const int64_t *q) {
    ensure_anchors();
    const auto diff = static_cast<int64_t>(addr(q) - addr(ZARN_ib0));
    if ((diff & 7) != 0) {
        std::fprintf(stderr, msg::kBadIntPointer, static_cast<const void *>(q),
                     static_cast<void *>(ZARN_ib0));
        std::fflush(stderr);
        std::exit(2);
    }
    return diff / 8;
}

extern "C" int64_t rto_cptr2plex_c(const char *q) {
    ensure_anchors();
    return static_cast<int64_t>(addr(q) - addr(ZARN_cb0));
}

extern "C" void rto_int2str_c(char *text, const int64_t *ints, int32_t n, int32_t keep) {
    if (text == nullptr || ints == nullptr) return;
    const size_t len = n > 0 ? static_cast<size_t>(n) : 0;
    zarn::unpack_text(text, ints, len, 4);
    if (keep == 0) {
        size_t end = len;
        while (end > 0 && text[end - 1] == ' ') --end;
        text[end] = '\0';
    }
}

extern "C" void rto_str2int_c(int64_t *ints, const char *text, int32_t n) {
    if (ints == nullptr) return;
    // Truncating division, so n = 0 still blanks one word; 64-bit so no n overflows.
    const int64_t words = (static_cast<int64_t>(n) - 1) / 4 + 1;
    const size_t len = text != nullptr && n > 0 ? strnlen(text, static_cast<size_t>(n)) : 0;
    // A text inside the words to be blanked is read before the blanking.
    std::string copy;
    const auto *first = reinterpret_cast<const char *>(ints);
    if (len > 0 && words > 0 && text < first + words * 8 && first < text + len) {
        copy.assign(text, len);
        text = copy.c_str();
    }
    if (words > 0) std::memset(ints, ' ', static_cast<size_t>(words) * 8u);
    if (len == 0) return;
    zarn::pack_text(ints, text, len, 4);
}

extern "C" int avail_mem(void) { return 0; }

extern "C" void debug_mem(void) { report("%s", msg::kDebugMem); }
