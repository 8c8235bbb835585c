// The writer's exponent form of reals against the C library's "%.*e": edge
// values, random bit patterns, and numbers at or next to a rounding tie.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <random>

#include "varfile/varfile_internal.h"

namespace {

// Empty when format_real and snprintf agree on v at this precision.
std::string mismatch(double v, int precision) {
    char mine[64 + zarn::varfile::kRealExtra], libc[128];
    *zarn::varfile::format_real(mine, v, precision) = '\0';
    std::snprintf(libc, sizeof libc, "%.*e", precision, v);
    if (std::string(mine) == libc) return "";
    char hex[40];
    std::snprintf(hex, sizeof hex, "%a", v);
    return std::string(hex) + " at " + std::to_string(precision) + ": " + mine + " for " + libc;
}

TEST(VarfileRealText, EdgeValuesAtEveryPrecision) {
    const double edges[] = {0.0,
                            -0.0,
                            INFINITY,
                            -INFINITY,
                            NAN,
                            -NAN,
                            DBL_MIN,
                            -DBL_MIN,
                            DBL_TRUE_MIN,
                            DBL_MAX,
                            std::nextafter(DBL_MIN, 0.0),
                            1e22,
                            1e23,
                            1e-22,
                            1e-23,
                            9.5,
                            0.5,
                            2.5,
                            0.125,
                            1e35,
                            9.9999999995,
                            99999.9999999995,
                            1e15 - 0.5,
                            1e14 + 0.5,
                            123456789012345.0,
                            5e-324,
                            4503599627370495.5,
                            9007199254740993.0,
                            0.1,
                            1.0 / 3,
                            2.0 / 3,
                            8.03300000e+01};
    for (double v : edges)
        for (int precision = 0; precision <= 40; ++precision) {
            EXPECT_EQ(mismatch(v, precision), "");
            EXPECT_EQ(mismatch(-v, precision), "");
        }
}

TEST(VarfileRealText, RandomAndNearTies) {
    std::mt19937_64 random(20261206);
    int failures = 0;
    auto check = [&](double v, int precision) {
        const std::string m = mismatch(v, precision);
        if (!m.empty() && ++failures <= 10) ADD_FAILURE() << m;
    };
    for (int k = 0; k < 1000000; ++k) check(std::bit_cast<double>(random()), static_cast<int>(random() % 18));
    // Digits and a half, as many digits as printed, times 10^e, and the doubles
    // on either side: the scaled fraction lands on or next to a half. The
    // second form rounds up to the next power of ten.
    for (int k = 0; k < 200000; ++k) {
        const int precision = static_cast<int>(random() % 16), e = static_cast<int>(random() % 80) - 40;
        const double top = std::pow(10.0, precision + 1), scale = std::pow(10.0, e);
        for (double v : {(static_cast<double>(random() % static_cast<uint64_t>(top)) + 0.5) * scale,
                         (top - 0.5) * scale})
            for (double x : {v, std::nextafter(v, 0.0), std::nextafter(v, INFINITY)})
                check(random() % 2 ? x : -x, precision);
    }
    EXPECT_EQ(failures, 0);
}

}  // namespace
