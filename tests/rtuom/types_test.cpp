// Compatibility of physical types: equality, sums, differences, coercion.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "zarnutils/rtuom.h"

namespace {

// The C forms write a long long, as their callers declare it.
long long sum(int a, int b, int *ok) {
    long long out = -999;
    *ok = rtouom_ptype_add(a, b, &out);
    return out;
}

long long difference(int a, int b, int *ok) {
    long long out = -999;
    *ok = rtouom_ptype_sub(a, b, &out);
    return out;
}

TEST(UomTypes, EqualityTableBothWays) {
    const std::pair<int, int> pairs[] = {{9, 10},  {-1, 54}, {-27, 55}, {2, 44},  {20, 75},  {6, 39},
                                         {6, 40},  {7, 41},  {7, 42},   {41, 15}, {42, 49},  {19, 13},
                                         {19, 47}, {13, 47}, {68, 35},  {68, 76}, {76, 35},  {5, 53},
                                         {-5, 30}, {48, 30}, {48, -5},  {3, 38},  {0, 44},   {7, 15}};
    for (auto [a, b] : pairs) {
        EXPECT_EQ(rtouom_ptype_equal(a, b), 1) << a << " " << b;
        EXPECT_EQ(rtouom_ptype_equal(b, a), 1) << b << " " << a;
    }
    int equal_pairs = 0;
    for (int a = -148; a < 149; ++a)
        for (int b = a + 1; b < 149; ++b)
            if (rtouom_ptype_equal(a, b) && !(a < 0 && b < 0)) ++equal_pairs;
    EXPECT_EQ(equal_pairs, 24);  // nothing else between a non-price and any type
    EXPECT_EQ(rtouom_ptype_equal(39, 40), 0);  // not transitive
    EXPECT_EQ(rtouom_ptype_equal(15, 49), 0);
    EXPECT_EQ(rtouom_ptype_equal(-9, -10), 1);  // two price types: as their plain types
    EXPECT_EQ(rtouom_ptype_equal(-1, -54), 0);
    EXPECT_EQ(rtouom_ptype_equal(5, -5), 0);
    EXPECT_EQ(rtouom_ptype_equal(-182, -182), 1);
    EXPECT_EQ(rtouom_ptype_equal(-2147483647 - 1, -5), 0);
}

TEST(UomTypes, TypeOfASum) {
    struct Case {
        int a, b, out;
    };
    const Case allowed[] = {{0, 44, 0},    {44, 0, 0},    {9, 10, 10},  {10, 9, 10},   {-9, -10, -10},
                            {-1, 54, 54},  {55, -27, 55}, {2, 44, 2},   {75, 20, 20},  {22, 31, 22},
                            {31, 22, 22},  {6, 39, 39},   {41, 7, 41},  {19, 47, 19},  {13, 47, 19},
                            {47, 13, 19},  {35, 76, 68},  {68, 35, 68}, {5, 53, 5},    {53, 5, 5},
                            {-5, 48, 30},  {48, 30, 30},  {-5, 30, 30}, {-1, -1, -1},  {-20, -75, -20},
                            {17, 17, 17}};
    for (const Case &c : allowed) {
        int ok = 0;
        EXPECT_EQ(sum(c.a, c.b, &ok), c.out) << c.a << " + " << c.b;
        EXPECT_EQ(ok, 1) << c.a << " + " << c.b;
    }
    const std::pair<int, int> refused[] = {{1, 2}, {6, 40}, {39, 40}, {7, 42}, {-5, -30}, {17, 138}, {5, -5}};
    for (auto [a, b] : refused) {
        int ok = 1;
        EXPECT_EQ(sum(a, b, &ok), 0) << a << " + " << b;
        EXPECT_EQ(ok, 0);
    }
    EXPECT_EQ(rtouom_ptype_add(9, 10, nullptr), 1);
}

TEST(UomTypes, TypeOfADifference) {
    struct Case {
        int a, b, out;
    };
    const Case allowed[] = {{22, 22, 31}, {20, 20, 75}, {17, 17, 17}, {-5, -5, -5}, {20, 75, 20},
                            {22, 31, 22}, {9, 10, 10},  {10, 9, 10},  {-1, 54, 54}, {54, -1, 54},
                            {-27, 55, 55}, {44, 2, 2},  {39, 6, 39},  {7, 41, 41},  {0, 44, 0},
                            {44, 0, 0}};
    for (const Case &c : allowed) {
        int ok = 0;
        EXPECT_EQ(difference(c.a, c.b, &ok), c.out) << c.a << " - " << c.b;
        EXPECT_EQ(ok, 1) << c.a << " - " << c.b;
    }
    // order matters for PRESSURE/PDROP and TEMPERATURE/DELTA-T; no group rules; no price recursion
    const std::pair<int, int> refused[] = {{75, 20}, {31, 22}, {19, 47}, {68, 35}, {5, 53}, {-5, 30}, {-9, -10}};
    for (auto [a, b] : refused) {
        int ok = 1;
        EXPECT_EQ(difference(a, b, &ok), 0) << a << " - " << b;
        EXPECT_EQ(ok, 0);
    }
}

TEST(UomTypes, CoercionAndDifferenceTypes) {
    EXPECT_EQ(rtouom_coercion_allowed(5, 5), 1);
    EXPECT_EQ(rtouom_coercion_allowed(0, 0), 1);
    EXPECT_EQ(rtouom_coercion_allowed(0, 1), 1);
    EXPECT_EQ(rtouom_coercion_allowed(0, 148), 1);
    EXPECT_EQ(rtouom_coercion_allowed(0, 149), 0);
    EXPECT_EQ(rtouom_coercion_allowed(0, -1), 0);
    EXPECT_EQ(rtouom_coercion_allowed(1, 0), 0);
    EXPECT_EQ(rtouom_coercion_allowed(44, 0), 0);
    EXPECT_EQ(rtouom_delta_ptype(20), 75);
    EXPECT_EQ(rtouom_delta_ptype(22), 31);
    EXPECT_EQ(rtouom_delta_ptype(75), 75);
    EXPECT_EQ(rtouom_delta_ptype(-20), -20);
}

}  // namespace
