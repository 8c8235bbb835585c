// Numbers as the most precise text that fits a fixed-width column.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/xalloc.h"
#include "zarnutils/stred.h"

namespace {

// A double's exact decimal expansion has at most 767 significant digits, so
// "%g" prints the same text for every precision from here on: wide columns
// get all the digits there are, never zeros in place of them.
constexpr int kMaxDigits = 800;

// "1.5e+07" -> "1.5e7", "1e-05" -> "1e-5": no "+", no leading zeros.
void shorten_exponent(char *text) {
    char *e = std::strchr(text, 'e');
    if (e == nullptr) return;
    const char *p = e + 1;
    bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    while (*p == '0' && p[1] != '\0') ++p;
    char digits[16];
    std::snprintf(digits, sizeof digits, "%s", p);
    std::snprintf(e + 1, 18, "%s%s", negative ? "-" : "", digits);
}

// Every text carries a point: after the digits, before any exponent.
void ensure_point(char *text) {
    if (std::strchr(text, '.') != nullptr) return;
    char *e = std::strchr(text, 'e');
    if (e == nullptr) e = text + std::strlen(text);
    std::memmove(e + 1, e, std::strlen(e) + 1);
    *e = '.';
}

}  // namespace

extern "C" ZARN_API char *fmt_numbr_max(double x, int32_t w, char *buffer) {
    if (buffer == nullptr) return nullptr;
    if (x == 0.0) {
        std::strcpy(buffer, " 0.0");
        return buffer;
    }
    if (!std::isfinite(x)) {
        std::strcpy(buffer, std::isnan(x) ? "nan" : (x < 0 ? "-inf" : "inf"));
        return buffer;
    }
    const bool negative = x < 0;
    const int64_t room = static_cast<int64_t>(w) - (negative ? 1 : 0);
    int digits = room > kMaxDigits ? kMaxDigits : (room < 1 ? 1 : static_cast<int>(room));
    char text[kMaxDigits + 64];  // all significant digits, "0.000" or an exponent, a point
    for (; digits >= 1; --digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, std::fabs(x));
        shorten_exponent(text);
        ensure_point(text);
        if (static_cast<int64_t>(std::strlen(text)) <= room) break;
    }
    char *out = buffer;
    if (negative) *out++ = '-';
    const char *e = std::strchr(text, 'e');
    const int64_t len = static_cast<int64_t>(std::strlen(text));
    if (e != nullptr && len < room) {
        // Fill the column with zeros in front of the exponent.
        std::size_t mantissa = static_cast<std::size_t>(e - text);
        std::memcpy(out, text, mantissa);
        out += mantissa;
        std::memset(out, '0', static_cast<std::size_t>(room - len));
        out += room - len;
        std::strcpy(out, e);
    } else {
        std::strcpy(out, text);
    }
    return buffer;
}

extern "C" ZARN_API char *fmt_numbr_dec(double x, int32_t w, int32_t d, char *buffer) {
    if (buffer == nullptr) return nullptr;
    if (static_cast<int64_t>(d) + 3 > w) d = 0;
    if (x == 0.0 && d >= 1) {
        std::snprintf(buffer, static_cast<std::size_t>(d) + 3, "%-*s", static_cast<int>(d + 2), "0.0");
        return buffer;
    }
    double ax = std::fabs(x);
    double threshold = d < 3 ? 1.0 : (d < 5 ? 0.1 : 0.01);
    if (d >= 1 && d < 100 && ax >= threshold && ax < 1e10) {
        char text[160];
        int n = std::snprintf(text, sizeof text, "%.*f", static_cast<int>(d), x);
        if (n > 0 && n <= w) {
            std::memcpy(buffer, text, static_cast<std::size_t>(n) + 1);
            return buffer;
        }
    }
    return fmt_numbr_max(x, w, buffer);
}

namespace {

// Formats into a stack buffer, or a heap one for very wide columns.
template <typename Format>
void write_right(rtopipe *pipe, int32_t w, int32_t d, Format format) {
    // The text takes at most max(w, d + 2) characters and a little slack;
    // computed in 64 bits, so no width or decimal count can wrap it.
    const int64_t widest = std::max<int64_t>({w, static_cast<int64_t>(d) + 2, 0});
    const auto need = static_cast<std::size_t>(widest) + 16;
    char local[256];
    char *buf = need <= sizeof local ? local : static_cast<char *>(zarn::xmalloc(need));
    if (buf == nullptr) return;
    format(buf);
    rtoprintf(pipe, "%*s", static_cast<int>(w < 0 ? 0 : w), buf);  // a negative width pads nothing
    if (buf != local) std::free(buf);
}

}  // namespace

extern "C" ZARN_API void wrt_numbr_max(rtopipe *pipe, double x, int32_t w) {
    write_right(pipe, w, 0, [&](char *buf) { fmt_numbr_max(x, w, buf); });
}

extern "C" ZARN_API void wrt_numbr_dec(rtopipe *pipe, double x, int32_t w, int32_t d) {
    write_right(pipe, w, d, [&](char *buf) { fmt_numbr_dec(x, w, d, buf); });
}
