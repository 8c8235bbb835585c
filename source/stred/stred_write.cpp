// Names, headers and rules written to pipes in fixed-width columns.
#include <cstring>

#include "stred/stred_internal.h"
#include "zarnutils/stred.h"

namespace msg = zarn::stred::msg;
using zarn::stred::null_arg;

extern "C" ZARN_API void stred_write_id(rtopipe *pipe, const char *s) {
    if (null_arg(s, msg::kStredWriteIdStrIsNULL, __LINE__)) return;
    rtoprintf(pipe, stred_special_id(s) ? "'%s'" : "%s", s);
}

extern "C" ZARN_API void stred_write_name(rtopipe *pipe, const char *s, int32_t w) {
    if (null_arg(s, msg::kStredWriteNameStrIsNULL, __LINE__) || w < 1) return;
    std::size_t len = std::strlen(s);
    if (len <= static_cast<std::size_t>(w)) {
        rtoprintf(pipe, "%-*s", static_cast<int>(w), s);
    } else {
        rtoprintf(pipe, "%.*s|", static_cast<int>(w - 1), s);
    }
}

namespace {

// Writes n copies of c (n may exceed any buffer).
void write_run(rtopipe *pipe, char c, int64_t n) {
    char chunk[256];
    std::memset(chunk, c, sizeof chunk);
    while (n > 0) {
        std::size_t k = n > static_cast<int64_t>(sizeof chunk) ? sizeof chunk : static_cast<std::size_t>(n);
        rtowrite(pipe, chunk, k);
        n -= static_cast<int64_t>(k);
    }
}

}  // namespace

extern "C" ZARN_API void stred_write_hdr(rtopipe *pipe, const char *s, int32_t w) {
    if (null_arg(s, msg::kStredWriteHdrStrIsNULL, __LINE__) || w < 1) return;
    std::size_t len = std::strlen(s);
    if (len >= static_cast<std::size_t>(w)) {
        rtowrite(pipe, s, static_cast<std::size_t>(w));
        return;
    }
    int64_t dashes = w - static_cast<int64_t>(len);
    write_run(pipe, '-', (dashes + 1) / 2);
    rtowrite(pipe, s, len);
    write_run(pipe, '-', dashes / 2);
}

extern "C" ZARN_API void stred_write_dash(rtopipe *pipe, int32_t a, int32_t b, int32_t c) {
    constexpr int32_t kMaxRun = 231;
    char line[3 * kMaxRun + 1];
    std::size_t n = 0;
    auto run = [&](char ch, int32_t count) {
        if (count <= 0) return;
        if (count > kMaxRun) count = kMaxRun;
        std::memset(line + n, ch, static_cast<std::size_t>(count));
        n += static_cast<std::size_t>(count);
    };
    run(' ', a);
    run('-', b);
    run(' ', c);
    if (n > 0) rtowrite(pipe, line, n);
}
