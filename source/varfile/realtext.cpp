// Reals in exponent form, as "%.*e" writes them. Most numbers of a VARFILE
// take a short path: one correctly rounded scaling by a power of ten, then a
// rounding to an integer whose outcome is certain. What that path cannot
// decide for sure (a scaled value exactly on a half, scalings beyond 10^22,
// many digits, subnormals, inf and nan) goes to the library's exact
// conversion.
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "varfile/varfile_internal.h"

namespace zarn::varfile {

namespace {

// Every power of ten up to 10^22 is exact in a double.
constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxScale = 22;

// With at most 15 digits the scaled value stays below 2^52, where every
// integer and every half is a double.
constexpr int kFastPrecision = 14;

constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the 4 digits of n < 10^4 at p.
void put_4(char *p, uint32_t n) {
    std::memcpy(p, kPairs + 2 * (n / 100), 2);
    std::memcpy(p + 2, kPairs + 2 * (n % 100), 2);
}

// Writes the last count digits of n, leading zeros kept, ending at end. Eight
// digits at a time in two independent halves: the digits are the writer's
// hottest loop.
void put_digits(char *end, uint64_t n, int count) {
    for (; count >= 8; count -= 8, n /= 100000000) {
        const auto eight = static_cast<uint32_t>(n % 100000000);
        end -= 8;
        put_4(end, eight / 10000);
        put_4(end + 4, eight % 10000);
    }
    auto rest = static_cast<uint32_t>(n);
    for (; count >= 2; count -= 2, rest /= 100) {
        end -= 2;
        std::memcpy(end, kPairs + 2 * (rest % 100), 2);
    }
    if (count == 1) end[-1] = static_cast<char>('0' + rest % 10);
}

// "d.ddd" from the precision + 1 digits of n, then the exponent; returns the end.
char *put_mantissa_exponent(char *p, uint64_t n, int precision, int exponent) {
    // All digits one place to the right, then the first moved before the point.
    put_digits(p + precision + 2, n, precision + 1);
    p[0] = p[1];
    if (precision > 0) p[1] = '.';
    p += precision > 0 ? precision + 2 : 1;
    *p++ = 'e';
    *p++ = exponent < 0 ? '-' : '+';
    // The short path never goes beyond two exponent digits: 10^22 of scaling
    // and 15 digits keep it within 10^-22..10^37.
    std::memcpy(p, kPairs + 2 * (exponent < 0 ? -exponent : exponent), 2);
    return p + 2;
}

// The magnitude a scaled into [10^precision, 10^(precision+1)) by 10^k, in one
// correctly rounded operation.
double scaled(double a, int k) { return k >= 0 ? a * kPow10[k] : a / kPow10[-k]; }

// The short path for a finite, normal, nonzero magnitude; nullptr when it
// cannot be sure of the result.
char *fast_digits(char *p, double a, int biased_exponent, int precision) {
    // floor(log10(a)) is this estimate or one more (the offset makes the
    // truncation a floor).
    const int estimate = static_cast<int>((biased_exponent - 1023) * 0.30102999566398120 + 400) - 400;
    int k = precision - estimate;
    if (k < -kMaxScale || k > kMaxScale) return nullptr;
    const double low = kPow10[precision], high = kPow10[precision + 1];
    double y = scaled(a, k);
    if (y >= high) {
        if (--k < -kMaxScale) return nullptr;
        y = scaled(a, k);
    }
    if (!(y >= low && y < high)) return nullptr;
    // Rounding is monotonic and every half below 2^52 is a double, so y lies
    // on the same side of a half as the exact product, unless it is the half.
    uint64_t n = static_cast<uint64_t>(y);
    const double fraction = y - static_cast<double>(n);
    if (fraction == 0.5) return nullptr;
    if (fraction > 0.5) ++n;
    int exponent = precision - k;
    if (n == static_cast<uint64_t>(high)) {  // 9.99..95 and up became 10.00..0
        n = static_cast<uint64_t>(low);
        ++exponent;
    }
    return put_mantissa_exponent(p, n, precision, exponent);
}

}  // namespace

char *format_real(char *text, double v, int precision) {
    const uint64_t bits = std::bit_cast<uint64_t>(v);
    const int biased_exponent = static_cast<int>((bits >> 52) & 0x7FF);
    if (precision <= kFastPrecision) {
        char *p = text;
        if ((bits >> 63) != 0) *p++ = '-';
        if ((bits << 1) == 0) return put_mantissa_exponent(p, 0, precision, 0);
        if (biased_exponent != 0 && biased_exponent != 0x7FF) {
            char *end = fast_digits(p, std::fabs(v), biased_exponent, precision);
            if (end != nullptr) return end;
        }
    }
    return std::to_chars(text, text + precision + kRealExtra, v, std::chars_format::scientific, precision)
        .ptr;
}

}  // namespace zarn::varfile
