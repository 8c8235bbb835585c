// Arithmetic of typed numbers: result types, display units, undefined
// propagation, domain errors and the messages of type conflicts.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>

#include "uom_fixture.h"
#include "zarnutils/rtnum.h"

namespace {

using zarn::test::UomTest;
using Op = void (*)(const num *, const num *, num *);

num R(double x, int ptype = 0, int uom = 0, int baseuom = 1) {
    num n{};
    n.rval = x;
    n.ptype = static_cast<int16_t>(ptype);
    n.uom = static_cast<int16_t>(uom);
    n.baseuom = static_cast<int16_t>(baseuom);
    return n;
}
num I(int32_t i, int ptype = 0, int uom = 0) {
    num n = R(0, ptype, uom);
    n.is_int = 1;
    n.ival = i;
    return n;
}
// A result record full of noise, so that a field the operation forgets shows.
num Noise() {
    num n;
    std::memset(&n, 0x5a, sizeof n);
    return n;
}
// The undefined result of a failed operation: the flag set, no type, the default units.
void ExpectFailed(const num &r, const std::string &what) {
    EXPECT_EQ(std::tuple(r.undefined, r.ptype, r.uom, r.baseuom), std::tuple(1, 0, 0, 1)) << what;
}

// A defined result of a function whose result has no unit: a real of type 44 in its base unit.
void ExpectDimensionlessReal(const num &r, double value, int row) {
    EXPECT_EQ(std::tuple(r.is_int, r.ptype, r.uom, r.baseuom, r.rval), std::tuple(0, 44, 0, 1, value))
        << "row " << row;
}

TEST_F(UomTest, UndefinedOperandsAndNullArguments) {
    num u = R(1);
    u.undefined = 1;
    const num x = R(2, 17, 2);
    for (Op op : {numAdd, numSub, numMult, numDiv, numPow}) {
        num r = Noise(), s = Noise();
        op(&u, &x, &r);
        op(&x, &u, &s);
        ExpectFailed(r, "undefined first operand");
        ExpectFailed(s, "undefined second operand");
        r = R(5, 17, 2);
        op(nullptr, &x, &r);
        op(&x, nullptr, &r);
        op(&x, &x, nullptr);
        EXPECT_EQ(r.rval, 5);
        EXPECT_EQ(r.ptype, 17);
    }
    for (auto fn : {numUminus, numAbs, numLog, numLog10, numSqrt, numExp, numCos, numSin, numTan})
        fn(nullptr);
    EXPECT_EQ(numLess(&u, &x) + numEqual(&u, &u) + numGreater(&x, &u), 0);
    EXPECT_EQ(
        numLess(nullptr, &x) + numEqual(&x, nullptr) + numGreater(nullptr, nullptr) + numBaseUom(nullptr, 17),
        1);
    EXPECT_EQ(history_.text(), "");
}

// Result type, display unit, base unit and value, with the display unit's name; or a failure and its message.
TEST_F(UomTest, ResultTypesDisplayUnitsAndConflicts) {
    const double lb = 0.45359237, hr = 3600;
    const char *M = "Multiplication of physical type ", *D = "Division of physical type ",
               *P = "Unable to perform the required power.\n";
    const struct {
        Op op;
        num a, b;
        int ptype, uom, baseuom;
        double value;
        const char *unit;
        std::string fails = "";
    } rows[] = {
        {numAdd, R(300, 22, 2), R(10, 31, 2), 22, 2, 1, 310, "F"},
        {numSub, R(300, 22, 2), R(280, 22, 2), 31, 2, 1, 20, "DELTA-F"},
        {numAdd, R(1, 17, 40), R(2, 17, 4), 17, 4, 1, 3,
         nullptr},  // x beyond LENGTH's 12 units: y; both beyond: the default
        {numAdd, R(1, 17, 12), R(2, 17, 2), 17, 12, 1, 3, nullptr},
        {numAdd, R(1, 17, 40), R(2, 17, 41), 17, 1, 1, 3, nullptr},
        {numSub, R(5, 17, 2, 2), R(1, 17, 2), 17, 2, 2, 4, nullptr},
        {numAdd, I(2), R(0.5), 0, 0, 1, 2.5, nullptr},
        {numMult, R(2 * lb / hr, 10, 2), R(3 * hr, 24, 2), 18, 2, 1, 6 * lb, "LB"},
        {numMult, R(4, 18, 2), R(2.5, -18, 2), 8, 2, 1, 10, nullptr},  // price x quantity is FISCAL
        {numMult, R(2, 29, 1), R(3, 10, 3), 119, 2, 1, 6, "$/HR"},
        {numMult, R(3, 10, 3), R(2, 29, 1), 119, 2, 1, 6, "$/HR"},
        {numMult, R(2, 43, 2), R(5, 55, 2), 125, 2, 1, 10, "$/LBMOL"},  // a composed unit of another type
        {numMult, R(2, 3, 2), R(5, 6, 7), 88, 2, 1, 10,
         nullptr},  // LB/CUFT x MBTU/LBMOL names LB/LBMOL, a unit of neither the type nor its price twin
        {numMult, R(2, 17, 4), R(3, 44, 2), 17, 4, 1, 6, "CM"},
        {numMult, R(2, 0, 0), R(3, 24, 5), 24, 5, 1, 6, "MIN"},
        {numMult, I(6), I(7), 0, 0, 1, 42, nullptr},
        {numMult, R(1, 17, 2), R(1, 17, 2), 1, 2, 1, 1, "SQFT"},
        {numDiv, R(1, 1, 2), R(1, 17, 2), 17, 2, 1, 1, "FT"},
        {numDiv, R(6, 17, 0, 2), R(3, 1), 35, 0, 2, 2, nullptr},
        {numDiv, R(1.0), R(4, 24, 2), 24, 2, 1, 0.25, "HR"},
        {numDiv, R(1.0), R(4, 24, 2, 2), 24, 2, 2, 0.25, nullptr},
        {numDiv, I(7), I(2), 0, 0, 1, 3, nullptr},
        {numDiv, I(-7), I(2), 0, 0, 1, -3, nullptr},
        {numDiv, I(7), R(2.0), 0, 0, 1, 3.5, nullptr},
        {numDiv, I(INT_MIN), I(-1), 0, 0, 1, INT_MIN, nullptr},
        {numAdd, I(INT_MAX), I(1), 0, 0, 1, INT_MIN, nullptr},
        {numSub, I(INT_MIN), I(1), 0, 0, 1, INT_MAX, nullptr},    // 32-bit wrap
        {numAdd, R(1, 17), R(1, 24), 0, 0, 1, 0, nullptr, "\n"},  // a failure without a message
        {numMult, R(1, 6, 2), R(1, 18), 0, 0, 1, 0, nullptr,
         M + std::string("6 (ENTHALPY) by 18 (MASS) is undefined\n")},
        {numMult, R(1, -18), R(1, 17), 0, 0, 1, 0, nullptr,
         M + std::string("-18 (name unavailable) by 17 (LENGTH) is undefined\n")},
        {numDiv, R(1, 24), R(1, 10), 0, 0, 1, 0, nullptr,
         D + std::string("24 (TIME) by 10 (MASS-FLOW) is undefined\n")},
        {numDiv, R(1, 17), R(1, -5), 0, 0, 1, 0, nullptr,
         D + std::string("17 (LENGTH) by -5 (name unavailable) is undefined\n")},
        {numPow, R(2, 32), I(2), 0, 0, 1, 0, nullptr, P},
        {numPow, R(2), R(2, 17), 0, 0, 1, 0, nullptr, P},
    };
    // The second pass meets the composed units that the first one left in the cache.
    for (int pass = 0; pass < 2; ++pass)
        for (const auto &r : rows) {
            num out = Noise();
            r.op(&r.a, &r.b, &out);
            const int i = static_cast<int>(&r - rows) + 1000 * pass;
            EXPECT_EQ(history_.text(), r.fails == "\n" ? "" : r.fails) << i;
            if (!r.fails.empty()) {
                ExpectFailed(out, "row " + std::to_string(i));
                continue;
            }
            EXPECT_EQ(std::tuple(out.undefined, out.is_int, out.ptype, out.uom, out.baseuom),
                      std::tuple(0, r.a.is_int && r.b.is_int, r.ptype, r.uom, r.baseuom))
                << i;
            EXPECT_NEAR(out.is_int ? out.ival : out.rval, r.value, 1e-9 * std::fabs(r.value)) << i;
            EXPECT_STREQ(r.unit ? rtouom_uom_name(out.ptype, out.uom) : nullptr, r.unit) << i;
        }
}

// A product's unit is composed from its operands' unit names; composed answers
// are cached, so every change to the table must show in the next product.
TEST_F(UomTest, ComposedUnitsFollowChangesToTheTable) {
    constexpr int kMassFlow = 10, kUnitPrice = 29, kCostRate = 119;
    const int per_fortnight = rtouom_add_uom("KG/FORTNIGHT", kMassFlow, 1.0 / 1209600, 0);
    ASSERT_GT(per_fortnight, 0);
    const num price = R(2, kUnitPrice, 1), flow = R(3, kMassFlow, per_fortnight);
    num out = Noise();

    numMult(&price, &flow, &out);  // no "$/FORTNIGHT" yet: the pick rule's unit
    EXPECT_EQ(std::pair(static_cast<int>(out.ptype), static_cast<int>(out.uom)), std::pair(kCostRate, 1));

    const int cost_per_fortnight = rtouom_add_uom("$/FORTNIGHT", kCostRate, 1.0 / 1209600, 0);
    ASSERT_GT(cost_per_fortnight, 1);
    numMult(&price, &flow, &out);  // the unit added after the first product is found
    EXPECT_EQ(std::pair(static_cast<int>(out.ptype), static_cast<int>(out.uom)),
              std::pair(kCostRate, cost_per_fortnight));
    EXPECT_STREQ(rtouom_uom_name(out.ptype, out.uom), "$/FORTNIGHT");

    // "$/BUCKET" names no unit: it is found as "$/" before a VOLUME unit, in
    // type -27, the price twin of the product's VOLUME-PRICE, which then
    // becomes the result's type.
    constexpr int kVolume = 27, kMoleDensity = 37, kMoles = 51;
    const int bucket = rtouom_add_uom("BUCKET", kVolume, 0.01, 0);
    const int kmol_per_bucket = rtouom_add_uom("KMOL/BUCKET", kMoleDensity, 100, 0);
    const num per_kmol = R(2, -kMoles, 1), density = R(3, kMoleDensity, kmol_per_bucket, kmol_per_bucket);
    numMult(&per_kmol, &density, &out);
    EXPECT_EQ(
        std::tuple(static_cast<int>(out.ptype), static_cast<int>(out.uom), static_cast<int>(out.baseuom)),
        std::tuple(-kVolume, bucket, bucket));
    EXPECT_STREQ(rtouom_uom_name(out.ptype, out.uom), "$/BUCKET");

    // Display units beyond AREA's seven take AREA's default, which a host may
    // change in the exported array without the table counting a change.
    constexpr int kLength = 17, kArea = 1;
    const num length_unit_8 = R(1, kLength, 8), length_unit_9 = R(1, kLength, 9);
    rtouom_default_uom[kArea] = 3;
    numMult(&length_unit_8, &length_unit_9, &out);
    EXPECT_EQ(static_cast<int>(out.uom), 3);
    rtouom_default_uom[kArea] = 5;
    numMult(&length_unit_8, &length_unit_9, &out);
    EXPECT_EQ(static_cast<int>(out.uom), 5) << "the default changed after the first product";

    EXPECT_EQ(history_.text(), "");

    RTOUOM_RESET_UOM_F();  // a rebuilt table has neither user unit: the flow's index is out of range again
    numMult(&price, &flow, &out);
    EXPECT_EQ(std::pair(static_cast<int>(out.ptype), static_cast<int>(out.uom)), std::pair(kCostRate, 1));
    EXPECT_EQ(history_.text(),
              "!! rtouom_uom_name: Unit index is out of bounds (" + std::to_string(per_fortnight) + ").\n");
}

TEST_F(UomTest, ZeroDivisorAndPowerDomains) {
    num out = Noise();
    const num len = R(3, 17, 2), zero = R(0.0, 24, 2), izero = I(0), seven = I(7);
    numDiv(&len, &zero, &out);
    // The type is set before the divisor is seen.
    EXPECT_EQ(std::tuple(out.undefined, out.ptype, out.uom), std::tuple(1, 25, 2));
    numDiv(&seven, &izero, &out);
    EXPECT_EQ(std::tuple(out.undefined, out.ptype), std::tuple(1, 0));
    // {base, exponent, undefined, value}: a domain error leaves everything but the flag.
    const struct {
        num a, b;
        bool undefined;
        double value;
    } rows[] = {{I(2), I(-1), false, 0.5}, {I(0), I(-1), true, 0},         {R(-8), R(0.5), true, 0},
                {R(0), R(0.5), true, 0},   {I(0), I(2), false, 0},         {I(0), I(0), false, 1},
                {R(-2), I(3), false, -8},  {R(9, 44, 3), R(0.5), false, 3}};
    for (const auto &r : rows) {
        const int row = static_cast<int>(&r - rows);
        num res = R(99, 17, 2);
        numPow(&r.a, &r.b, &res);
        EXPECT_EQ(res.undefined, r.undefined) << "row " << row;
        if (r.undefined) {
            EXPECT_EQ(std::tuple(res.ptype, res.rval), std::tuple(17, 99.0)) << "row " << row;
        } else {
            ExpectDimensionlessReal(res, r.value, row);
        }
    }
    EXPECT_EQ(history_.text(), "");
}

TEST_F(UomTest, ComparisonsCheckTypesUnlessOneIsSi) {
    const struct {
        num a, b;
        int less, equal, greater;
        const char *alert;
    } rows[] = {{R(1, 22), R(2, RTOUOM_SI_MARKER), 1, 0, 0, ""},
                {R(2, RTOUOM_SI_MARKER), R(1, 20), 0, 0, 1, ""},
                {I(3), I(4), 1, 0, 0, ""},
                {I(3), R(3.0), 0, 1, 0, ""},
                {R(2, 19), R(2, 13), 0, 1, 0, ""},
                {R(std::nan("")), R(1), 0, 0, 0, ""},
                {R(1, 22), R(2, 20), 0, 0, 0,
                 "!! Alert physical type mismatch in < or >= operation\n!! Alert physical type mismatch in = "
                 "operation\n!! Alert physical type mismatch in > or <= operation\n"}};
    for (const auto &r : rows) {
        const int less = numLess(&r.a, &r.b), equal = numEqual(&r.a, &r.b);
        EXPECT_EQ(std::tuple(less, equal, numGreater(&r.a, &r.b)), std::tuple(r.less, r.equal, r.greater));
        EXPECT_EQ(history_.text(), r.alert);
    }
}

TEST_F(UomTest, UnaryFunctionsAndBaseUnits) {
    const struct {
        void (*fn)(num *);
        num a;
        bool undefined;
        double value;
    } rows[] = {
        {numExp, I(0), false, 1},       {numLog, R(M_E, 44, 2), false, 1}, {numLog, I(0), true, 0},
        {numLog10, R(1000), false, 3},  {numLog10, R(-1), true, 0},        {numSqrt, R(-0.0), false, -0.0},
        {numSqrt, R(-1e-300), true, 0}, {numSqrt, I(16), false, 4},        {numCos, R(0), false, 1},
        {numSin, R(0, 32), true, 0},    {numTan, R(0), false, 0},          {numExp, R(1, 17, 2), true, 0}};
    for (const auto &r : rows) {
        num a = r.a;
        r.fn(&a);
        const int row = static_cast<int>(&r - rows);
        EXPECT_EQ(a.undefined, r.undefined) << "row " << row;
        if (r.undefined) {
            EXPECT_EQ(std::tuple(a.ptype, a.is_int), std::tuple(r.a.ptype, r.a.is_int)) << "row " << row;
        } else {
            ExpectDimensionlessReal(a, r.value, row);
            EXPECT_EQ(std::signbit(a.rval), std::signbit(r.value)) << "row " << row;
        }
    }
    num a = R(2.5, 17, 2), b = I(-4, 24, 2), c = I(INT_MIN);
    numUminus(&a);
    numAbs(&b);
    numAbs(&c);
    EXPECT_EQ(std::tuple(a.rval, a.ptype, a.uom), std::tuple(-2.5, 17, 2));
    EXPECT_EQ(std::tuple(b.ival, b.ptype), std::tuple(4, 24));
    EXPECT_EQ(c.ival, INT_MIN);
    numUminus(&c);
    EXPECT_EQ(c.ival, INT_MIN);
    // {held base unit, type, result}: one unless a unit of the type.
    for (auto [base, ptype, want] : {std::tuple{2, 17, 2},
                                     {12, 17, 12},
                                     {13, 17, 1},
                                     {0, 17, 1},
                                     {-3, 17, 1},
                                     {2, 0, 1},
                                     {2, 44, 1},
                                     {2, RTOUOM_SI_MARKER, 1},
                                     {2, RTOUOM_SSI_MARKER, 1},
                                     {2, 149, 1},
                                     {2, -29, 2}}) {
        const num n = R(1, 17, 0, base);
        EXPECT_EQ(numBaseUom(&n, ptype), want) << base << " " << ptype;
    }
}

}  // namespace
