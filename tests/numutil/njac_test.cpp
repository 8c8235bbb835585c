// The finite-difference loop's step rule, its states and its refusals; the full loop against models runs
// from Fortran (tests/fortran/vgroups.f90).
#include <cmath>

#include "numutil_fixture.h"

namespace {

using namespace zarn::test;
using D = std::vector<double>;

// Status word of a free variable of physical type p.
int64_t typed(int64_t p) { return (p + 256) << 4; }

// A diagonal 4 x 4 pattern (one group of all four) or a dense row (one group per column).
struct Loop {
    int64_t g = 0, state = 0, err = -1, coloffset = 0;
    V cols;
    V status = {typed(0), typed(1), typed(2), typed(-2)};
    D typical = {1, 2, 1, 10};
    D minstep = {0.5, 1e-3, 4, 1e-2};
    D f = {1, 2, 3, 4};
    D jac = D(4, -9);
    double relstep = 1e-2;
    explicit Loop(bool diagonal) {
        V rows = diagonal ? V{1, 2, 3, 4} : V{1, 1, 1, 1};
        cols = {1, 2, 3, 4};
        const int64_t four = 4, nrow = diagonal ? 4 : 1, zero = 0;
        U3VGRP_CREATE(&four, &nrow, &four, &g);
        U3VGRP_COMPUTE(rows.data(), cols.data(), nullptr, &zero, &zero, &zero, &g, &err);
    }
    ~Loop() { U3VGRP_DESTROY(&g); }
    void call(D &x) {
        U3NJAC_COMPUTE(&g, x.data(), typical.data(), status.data(), f.data(), &coloffset, cols.data(),
                       minstep.data(), &relstep, jac.data(), &state, &err);
    }
};

TEST(NumericalJacobian, StepRuleByPhysicalType) {
    Loop loop(true);
    // d = minstep(p + 1) * typical: 0.5, 2e-3, 4, 2e-2 (the price type -2 takes type 2's entry).
    const struct {
        double x, moved;
    } kCases[] = {
        {0.5, 0.5 + 0.5 * 1e-2},       // |x| == d: relative step
        {-1e-3, -1e-3 + 2e-3 * 1e-2},  // below d: d * relstep
        {3.0, 3.0 + 4 * 1e-2},         // below d
        {-5.0, -5.0 + 40 * 1e-2},      // below d = 4 * 10 (type 2's entry; type 0's would step relatively)
    };
    D x;
    for (const auto &c : kCases) x.push_back(c.x);
    loop.call(x);
    ASSERT_EQ(loop.state, 1);
    loop.call(x);
    EXPECT_EQ(loop.err, 0);
    EXPECT_EQ(loop.state, 1);
    for (size_t j = 0; j < 4; ++j) EXPECT_DOUBLE_EQ(x[j], kCases[j].moved) << "variable " << j + 1;
    // Residuals moved by 1 each: every entry is 1 over the actual step.
    for (auto &v : loop.f) v += 1;
    loop.call(x);
    EXPECT_EQ(loop.state, 2);
    for (size_t j = 0; j < 4; ++j) {
        EXPECT_EQ(x[j], kCases[j].x) << "variable " << j + 1 << " restored";
        EXPECT_NEAR(loop.jac[j] * (kCases[j].moved - kCases[j].x), 1.0, 1e-9) << "entry " << j + 1;
    }
    EXPECT_EQ(loop.f, (D{1, 2, 3, 4})) << "residuals restored";
}

// A dense row: one group per column, each evaluation fills the one entry of its column.
TEST(NumericalJacobian, OneGroupAtATime) {
    Loop loop(false);
    D x = {1, 1, 1, 1};
    loop.relstep = 0.5;
    loop.call(x);
    loop.call(x);
    int64_t calls = 0;
    while (loop.state == 1) {
        const D moved = {x[0] - 1, x[1] - 1, x[2] - 1, x[3] - 1};
        EXPECT_EQ(std::count_if(moved.begin(), moved.end(), [](double d) { return d != 0; }), 1) << calls;
        loop.f[0] = 1 + 3 * moved[0] + 5 * moved[1] + 7 * moved[2] + 11 * moved[3];
        loop.call(x);
        ++calls;
    }
    EXPECT_EQ(calls, 4);
    EXPECT_EQ(loop.jac, (D{3, 5, 7, 11}));
}

TEST(NumericalJacobian, StatesAndRefusals) {
    Loop loop(true), other(true);
    D x = {1, 2, 3, 4};
    HistoryCapture his;
    // Another state returns at once.
    loop.state = 7;
    loop.call(x);
    EXPECT_EQ(loop.state, 7);
    EXPECT_EQ(loop.err, 0);
    // A second object may not continue the first one's evaluation.
    loop.state = 0;
    loop.call(x);
    loop.call(x);
    other.state = 1;
    D y = {1, 2, 3, 4};
    other.call(y);
    EXPECT_EQ(other.err, 1);
    EXPECT_EQ(y, (D{1, 2, 3, 4})) << "other object's variables untouched";
    EXPECT_EQ(his.text(), "!! u3njac_compute: the evaluation in progress belongs to group object " +
                              std::to_string(loop.g) + ", not " + std::to_string(other.g) + "\n");
    // A new start drops the unfinished evaluation: the other object may run.
    other.state = 0;
    other.call(y);
    other.call(y);
    EXPECT_EQ(other.err, 0);
    EXPECT_NE(y, (D{1, 2, 3, 4}));
    // Refusals: object 0, a missing array, a missing step; a zero step is reported.
    int64_t none = 0, state = 1, err = -1;
    U3NJAC_COMPUTE(&none, x.data(), nullptr, nullptr, nullptr, &loop.coloffset, nullptr, nullptr,
                   &loop.relstep, nullptr, &state, &err);
    EXPECT_EQ(err, 1);
    other.state = 0;
    other.call(y);
    U3NJAC_COMPUTE(&other.g, y.data(), nullptr, other.status.data(), other.f.data(), &other.coloffset,
                   other.cols.data(), other.minstep.data(), &other.relstep, other.jac.data(), &other.state,
                   &err);
    EXPECT_EQ(err, 1);
    U3NJAC_COMPUTE(&other.g, y.data(), other.typical.data(), other.status.data(), other.f.data(),
                   &other.coloffset, other.cols.data(), other.minstep.data(), nullptr, other.jac.data(),
                   &other.state, &err);
    EXPECT_EQ(err, 1);
    EXPECT_EQ(his.text(),
              "!! u3njac_compute: block index is 0\n"
              "!! u3njac_compute: an array argument is missing\n"
              "!! u3njac_compute: an array argument is missing\n");
    other.relstep = 0;
    other.call(y);
    EXPECT_EQ(his.text(),
              "!! u3njac_compute: the step of variable 1 is zero\n"
              "!! u3njac_compute: the step of variable 2 is zero\n"
              "!! u3njac_compute: the step of variable 3 is zero\n"
              "!! u3njac_compute: the step of variable 4 is zero\n");
    other.call(y);
    EXPECT_EQ(other.jac, D(4, -9)) << "no entry from a zero step";
    EXPECT_EQ(other.state, 2);
}

// An object never grouped ends at once; an object whose list was spoiled is refused.
TEST(NumericalJacobian, UngroupedAndSpoiledObjects) {
    Loop loop(true);
    int64_t fresh = 0, four = 4;
    U3VGRP_CREATE(&four, &four, &four, &fresh);
    std::swap(loop.g, fresh);
    D x = {1, 2, 3, 4};
    loop.state = 0;
    loop.call(x);
    loop.call(x);
    EXPECT_EQ(loop.state, 2);
    EXPECT_EQ(loop.jac, D(4, -9));
    std::swap(loop.g, fresh);
    U3VGRP_DESTROY(&fresh);
    HistoryCapture his;
    ZARN_ib0[ZARN_ib0[loop.g + 4]] = 9;  // a group of nine in four columns
    loop.state = 0;
    loop.call(x);
    loop.call(x);
    EXPECT_EQ(loop.err, 1);
    EXPECT_EQ(x, (D{1, 2, 3, 4}));
    EXPECT_EQ(his.text(),
              "!! u3njac_compute: group object " + std::to_string(loop.g) + " is not consistent\n");
}

}  // namespace
