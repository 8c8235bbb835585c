// Arithmetic of typed numbers: result types, display units, undefined
// propagation, domain errors and the messages of type conflicts.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

#include "uom_fixture.h"
#include "zarnutils/rtnum.h"

namespace {

using zarn::test::UomTest;

num R(double x, int ptype = 0, int uom = 0) {
    num n{};
    n.rval = x;
    n.ptype = static_cast<int16_t>(ptype);
    n.uom = static_cast<int16_t>(uom);
    n.baseuom = 1;
    return n;
}

num I(int32_t i, int ptype = 0, int uom = 0) {
    num n = R(0, ptype, uom);
    n.is_int = 1;
    n.ival = i;
    return n;
}

num Undef() {
    num n = R(1);
    n.undefined = 1;
    return n;
}

// A result record full of noise, so that a field the operation forgets shows.
num Noise() {
    num n;
    std::memset(&n, 0x5a, sizeof n);
    return n;
}

void ExpectFailure(const num &r) {
    EXPECT_EQ(r.undefined, 1);
    EXPECT_EQ(r.ptype, 0);
    EXPECT_EQ(r.uom, 0);
    EXPECT_EQ(r.baseuom, 1);
}

using Op = void (*)(const num *, const num *, num *);

TEST_F(UomTest, AnUndefinedOperandPropagatesThroughEveryOperation) {
    const Op ops[] = {numAdd, numSub, numMult, numDiv, numPow};
    const num x = R(2, 17, 2), u = Undef();
    for (Op op : ops) {
        num r = Noise();
        op(&u, &x, &r);
        ExpectFailure(r);
        r = Noise();
        op(&x, &u, &r);
        ExpectFailure(r);
    }
    EXPECT_EQ(numLess(&u, &x) + numEqual(&u, &u) + numGreater(&x, &u), 0);
    EXPECT_EQ(history_.text(), "");
}

TEST_F(UomTest, SumsAndDifferencesKeepTypeAndPickTheDisplayUnit) {
    struct Row {
        Op op;
        num a, b;
        int ptype, uom, baseuom;
        double value;
    } rows[] = {
        // TEMPERATURE in F plus DELTA-T in DELTA-F: a TEMPERATURE shown in F.
        {numAdd, R(300, 22, 2), R(10, 31, 2), 22, 2, 1, 310},
        // Two temperatures differ by a DELTA-T, shown in DELTA-F.
        {numSub, R(300, 22, 2), R(280, 22, 2), 31, 2, 1, 20},
        // x beyond LENGTH's 12 units: y is taken.
        {numAdd, R(1, 17, 40), R(2, 17, 4), 17, 4, 1, 3},
        {numAdd, R(1, 17, 12), R(2, 17, 2), 17, 12, 1, 3},
        // Both beyond: the type's default.
        {numAdd, R(1, 17, 40), R(2, 17, 41), 17, 1, 1, 3},
        // The base unit follows the same rule.
        {numSub, [] { num n = R(5, 17, 2); n.baseuom = 2; return n; }(), R(1, 17, 2), 17, 2, 2, 4},
        {numAdd, I(2), R(0.5), 0, 0, 1, 2.5},
    };
    for (const Row &r : rows) {
        num out = Noise();
        r.op(&r.a, &r.b, &out);
        EXPECT_EQ(out.undefined, 0);
        EXPECT_EQ(out.is_int, 0);
        EXPECT_EQ(out.ptype, r.ptype);
        EXPECT_EQ(out.uom, r.uom);
        EXPECT_EQ(out.baseuom, r.baseuom);
        EXPECT_DOUBLE_EQ(out.rval, r.value);
    }
    num out;
    const num imax = I(INT_MAX), one = I(1), imin = I(INT_MIN);
    numAdd(&imax, &one, &out);
    EXPECT_EQ(out.is_int, 1);
    EXPECT_EQ(out.ival, INT_MIN);  // wraps like 32-bit integers
    numSub(&imin, &one, &out);
    EXPECT_EQ(out.ival, INT_MAX);
    const num len = R(1, 17), time = R(1, 24);
    numAdd(&len, &time, &out);
    ExpectFailure(out);
    EXPECT_EQ(history_.text(), "");
}

struct MultRow {
    Op op;
    num a, b;
    int ptype, uom, baseuom;
    double value;
    const char *unit;  // display unit name expected, or null
};

void RunRows(const MultRow *rows, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        const MultRow &r = rows[i];
        num out = Noise();
        r.op(&r.a, &r.b, &out);
        EXPECT_EQ(out.undefined, 0) << i;
        EXPECT_EQ(out.ptype, r.ptype) << i;
        EXPECT_EQ(out.uom, r.uom) << i;
        EXPECT_EQ(out.baseuom, r.baseuom) << i;
        EXPECT_NEAR(out.is_int ? out.ival : out.rval, r.value, 1e-9 * std::fabs(r.value)) << i;
        if (r.unit) {
            EXPECT_STREQ(rtouom_uom_name(out.ptype, out.uom), r.unit) << i;
        }
    }
}

TEST_F(UomTest, ProductsTakeTheTableTypeAndComposeTheirUnit) {
    const double lb = 0.45359237, hr = 3600;
    const MultRow rows[] = {
        // 2 LB/HR x 3 HR: MASS shown in LB ("HR" has no "/", so index 2 is kept), held in SI.
        {numMult, R(2 * lb / hr, 10, 2), R(3 * hr, 24, 2), 18, 2, 1, 6 * lb, "LB"},
        // Price x quantity is FISCAL.
        {numMult, R(4, 18, 2), R(2.5, -18, 2), 8, 2, 1, 10, nullptr},
        // $/KG x KG/HR and KG/HR x $/KG: COST-RATE in $/HR; base $/KG x KG/SEC = $/SEC.
        {numMult, R(2, 29, 1), R(3, 10, 3), 119, 2, 1, 6, "$/HR"},
        {numMult, R(3, 10, 3), R(2, 29, 1), 119, 2, 1, 6, "$/HR"},
        // CUFT/LBMOL x $/CUFT locates $/LBMOL, a MOLE-PRICE unit: the type becomes MOLE-PRICE.
        {numMult, R(2, 43, 2), R(5, 55, 2), 125, 2, 1, 10, "$/LBMOL"},
        // The result is an operand's type: that operand's units are copied.
        {numMult, R(2, 17, 4), R(3, 44, 2), 17, 4, 1, 6, "CM"},
        {numMult, R(2, 0, 0), R(3, 24, 5), 24, 5, 1, 6, "MIN"},
        {numMult, I(6), I(7), 0, 0, 1, 42, nullptr},
        {numMult, R(1, 17, 2), R(1, 17, 2), 1, 2, 1, 1, "SQFT"},
        // Quotients: pick rule over the operands' indices.
        {numDiv, R(1, 1, 2), R(1, 17, 2), 17, 2, 1, 1, "FT"},
        {numDiv, R(6, 17), R(3, 1), 35, 0, 1, 2, nullptr},
        {numDiv, R(1.0), R(4, 24, 2), 24, 2, 1, 0.25, "HR"},
        {numDiv, I(7), I(2), 0, 0, 1, 3, nullptr},
        {numDiv, I(-7), I(2), 0, 0, 1, -3, nullptr},
        {numDiv, I(7), R(2.0), 0, 0, 1, 3.5, nullptr},
        {numDiv, I(INT_MIN), I(-1), 0, 0, 1, INT_MIN, nullptr},
    };
    RunRows(rows, sizeof rows / sizeof rows[0]);
    num out;
    const num a = I(7), b = I(2), c = R(7);
    numDiv(&a, &b, &out);
    EXPECT_EQ(out.is_int, 1);
    numDiv(&c, &b, &out);
    EXPECT_EQ(out.is_int, 0);
    EXPECT_EQ(history_.text(), "");
}

TEST_F(UomTest, ProductsAndQuotientsWithoutARowSayWhichTypes) {
    struct Row {
        Op op;
        num a, b;
        const char *message;
    } rows[] = {
        {numMult, R(1, 6, 2), R(1, 18), "Multiplication of physical type 6 (ENTHALPY) by 18 (MASS) is undefined\n"},
        {numMult, R(1, -18), R(1, 17), "Multiplication of physical type -18 (name unavailable) by 17 (LENGTH) is undefined\n"},
        {numDiv, R(1, 24), R(1, 10), "Division of physical type 24 (TIME) by 10 (MASS-FLOW) is undefined\n"},
        {numDiv, R(1, 17), R(1, -5), "Division of physical type 17 (LENGTH) by -5 (name unavailable) is undefined\n"},
        {numPow, R(2, 32), I(2), "Unable to perform the required power.\n"},
        {numPow, R(2), R(2, 17), "Unable to perform the required power.\n"},
    };
    for (const Row &r : rows) {
        num out = Noise();
        r.op(&r.a, &r.b, &out);
        ExpectFailure(out);
        EXPECT_EQ(history_.text(), r.message);
    }
}

TEST_F(UomTest, ZeroDivisorAndPowerDomainsMarkTheResultUndefined) {
    num out = Noise();
    const num len = R(3, 17, 2), zero = R(0.0, 24, 2), izero = I(0), seven = I(7);
    numDiv(&len, &zero, &out);
    EXPECT_EQ(out.undefined, 1);
    EXPECT_EQ(out.ptype, 25);  // VELOCITY: type and units are set before the divisor is seen
    EXPECT_EQ(out.uom, 2);
    numDiv(&seven, &izero, &out);
    EXPECT_EQ(out.undefined, 1);
    EXPECT_EQ(out.ptype, 0);

    struct Row {
        num a, b;
        bool undefined;
        double value;
    } rows[] = {
        {I(2), I(-1), false, 0.5}, {I(0), I(-1), true, 0},   {R(-8), R(0.5), true, 0},
        {R(0), R(0.5), true, 0},   {I(0), I(2), false, 0},   {I(0), I(0), false, 1},   {R(-2), I(3), false, -8},
        {R(9, 44, 3), R(0.5), false, 3},
    };
    for (const Row &r : rows) {
        num res = R(99, 17, 2);  // a domain error leaves everything but the flag
        numPow(&r.a, &r.b, &res);
        EXPECT_EQ(res.undefined, r.undefined ? 1 : 0);
        if (r.undefined) {
            EXPECT_EQ(res.ptype, 17);
            EXPECT_EQ(res.rval, 99);
        } else {
            EXPECT_EQ(res.is_int, 0);
            EXPECT_EQ(res.ptype, 44);
            EXPECT_EQ(res.uom, 0);
            EXPECT_EQ(res.baseuom, 1);
            EXPECT_DOUBLE_EQ(res.rval, r.value);
        }
    }
    EXPECT_EQ(history_.text(), "");
}

TEST_F(UomTest, ComparisonsCheckTypesUnlessOneIsSi) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Row {
        num a, b;
        int less, equal, greater;
        const char *alert;  // the three alerts in order, or ""
    } rows[] = {
        {R(1, 22), R(2, RTOUOM_SI_MARKER), 1, 0, 0, ""},
        {R(2, RTOUOM_SI_MARKER), R(1, 20), 0, 0, 1, ""},
        {I(3), I(4), 1, 0, 0, ""},
        {I(3), R(3.0), 0, 1, 0, ""},
        {R(2, 19), R(2, 13), 0, 1, 0, ""},  // equal types
        {R(nan), R(1), 0, 0, 0, ""},
        {R(1, 22), R(2, 20), 0, 0, 0,
         "!! Alert physical type mismatch in < or >= operation\n"
         "!! Alert physical type mismatch in = operation\n"
         "!! Alert physical type mismatch in > or <= operation\n"},
    };
    for (const Row &r : rows) {
        EXPECT_EQ(numLess(&r.a, &r.b), r.less);
        EXPECT_EQ(numEqual(&r.a, &r.b), r.equal);
        EXPECT_EQ(numGreater(&r.a, &r.b), r.greater);
        EXPECT_EQ(history_.text(), r.alert);
    }
}

TEST_F(UomTest, UnaryFunctionsNeedADimensionlessArgumentInsideTheirDomain) {
    using Fn = void (*)(num *);
    struct Row {
        Fn fn;
        num a;
        bool undefined;
        double value;
    } rows[] = {
        {numExp, I(0), false, 1},         {numLog, R(M_E, 44, 2), false, 1}, {numLog, I(0), true, 0},
        {numLog10, R(1000), false, 3},    {numLog10, R(-1), true, 0},        {numSqrt, R(-0.0), false, -0.0},
        {numSqrt, R(-1e-300), true, 0},   {numSqrt, I(16), false, 4},        {numCos, R(0), false, 1},
        {numSin, R(0, 32), true, 0},      {numTan, R(0), false, 0},          {numExp, R(1, 17, 2), true, 0},
    };
    for (const Row &r : rows) {
        num a = r.a;
        r.fn(&a);
        EXPECT_EQ(a.undefined, r.undefined ? 1 : 0);
        if (r.undefined) {
            EXPECT_EQ(a.ptype, r.a.ptype);
            EXPECT_EQ(a.is_int, r.a.is_int);
            continue;
        }
        EXPECT_EQ(a.is_int, 0);
        EXPECT_EQ(a.ptype, 44);
        EXPECT_EQ(a.uom, 0);
        EXPECT_EQ(a.baseuom, 1);
        EXPECT_DOUBLE_EQ(a.rval, r.value);
        EXPECT_EQ(std::signbit(a.rval), std::signbit(r.value));
    }
    num a = R(2.5, 17, 2), b = I(-4, 24, 2), c = I(INT_MIN);
    numUminus(&a);
    numAbs(&b);
    numAbs(&c);
    EXPECT_EQ(a.rval, -2.5);
    EXPECT_EQ(a.ptype, 17);
    EXPECT_EQ(a.uom, 2);
    EXPECT_EQ(b.ival, 4);
    EXPECT_EQ(b.ptype, 24);
    EXPECT_EQ(c.ival, INT_MIN);  // no positive counterpart: wraps
    numUminus(&c);
    EXPECT_EQ(c.ival, INT_MIN);
}

TEST_F(UomTest, BaseUnitIsOneUnlessAUnitOfTheType) {
    num n = R(1, 17);
    const struct {
        int baseuom, ptype, want;
    } rows[] = {{2, 17, 2}, {12, 17, 12}, {13, 17, 1}, {0, 17, 1}, {-3, 17, 1}, {2, 0, 1}, {2, 44, 1},
                {2, RTOUOM_SI_MARKER, 1}, {2, RTOUOM_SSI_MARKER, 1}, {2, 149, 1}, {2, -29, 2}};
    for (const auto &r : rows) {
        n.baseuom = static_cast<int16_t>(r.baseuom);
        EXPECT_EQ(numBaseUom(&n, r.ptype), r.want) << r.baseuom << " " << r.ptype;
    }
}

TEST_F(UomTest, NullArgumentsAreIgnored) {
    const num a = R(1), b = R(2);
    num r = R(5, 17, 2);
    for (Op op : {numAdd, numSub, numMult, numDiv, numPow}) {
        op(nullptr, &b, &r);
        op(&a, nullptr, &r);
        op(&a, &b, nullptr);
    }
    EXPECT_EQ(r.rval, 5);
    EXPECT_EQ(r.ptype, 17);
    for (auto fn : {numUminus, numAbs, numLog, numLog10, numSqrt, numExp, numCos, numSin, numTan}) fn(nullptr);
    EXPECT_EQ(numLess(nullptr, &b) + numEqual(&a, nullptr) + numGreater(nullptr, nullptr), 0);
    EXPECT_EQ(numBaseUom(nullptr, 17), 1);
    EXPECT_EQ(history_.text(), "");
}

}  // namespace
