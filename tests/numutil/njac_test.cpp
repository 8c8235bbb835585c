// The finite-difference loop's step rule and its refusal of a second object; the loop against linear and
// nonlinear models runs from Fortran (tests/fortran/vgroups.f90).
#include "numutil_fixture.h"

namespace {

using namespace zarn::test;
using D = std::vector<double>;

// Four variables on a diagonal pattern (one group); physical types 0, 1, 2 and the price type -2.
struct Loop {
    int64_t g = 0, state = 0, err = -1, offset = 0;
    V cols = {1, 2, 3, 4}, status = {256 << 4, 257 << 4, 258 << 4, 254 << 4};
    D typical = {1, 2, 1, 10}, minstep = {0.5, 1e-3, 4, 1e-2}, f = {1, 2, 3, 4}, jac = D(4, -9);
    double relstep = 1e-2;
    Loop() {
        const int64_t four = 4;
        U3VGRP_CREATE(&four, &four, &four, &g);
        U3VGRP_COMPUTE(cols.data(), cols.data(), nullptr, &offset, &offset, &offset, &g, &err);
    }
    ~Loop() { U3VGRP_DESTROY(&g); }
    void call(D &x) {
        U3NJAC_COMPUTE(&g, x.data(), typical.data(), status.data(), f.data(), &offset, cols.data(),
                       minstep.data(), &relstep, jac.data(), &state, &err);
    }
};

TEST(NumericalJacobian, StepRuleByPhysicalType) {
    // d = minstep(p + 1) * typical = 0.5, 2e-3, 4, and 40 for the price type (the entry of type 2); |x| = d
    // takes the relative step.
    const D x0 = {-0.5, -1e-3, 3.0, -5.0};
    const D moved = {-0.5 - 0.5 * 1e-2, -1e-3 + 2e-3 * 1e-2, 3.0 + 4 * 1e-2, -5.0 + 40 * 1e-2};
    Loop loop;
    D x = x0;
    loop.call(x);
    loop.call(x);
    EXPECT_EQ(loop.state, 1);
    for (size_t j = 0; j < 4; ++j) EXPECT_DOUBLE_EQ(x[j], moved[j]) << "variable " << j + 1;
    for (auto &v : loop.f) v += 1;
    loop.call(x);
    EXPECT_EQ(loop.state, 2);
    EXPECT_EQ(x, x0);
    EXPECT_EQ(loop.f, (D{1, 2, 3, 4})) << "residuals put back";
    for (size_t j = 0; j < 4; ++j)
        EXPECT_NEAR(loop.jac[j] * (moved[j] - x0[j]), 1.0, 1e-9) << "entry " << j + 1;
}

TEST(NumericalJacobian, SecondObjectCannotContinueTheFirst) {
    Loop first, second;
    D x = {1, 2, 3, 4}, y = x;
    first.call(x);
    first.call(x);
    second.state = 1;
    HistoryCapture his;
    second.call(y);
    EXPECT_EQ(second.err, 1);
    EXPECT_EQ(y, (D{1, 2, 3, 4}));
    EXPECT_EQ(his.text(), "!! u3njac_compute: the evaluation in progress belongs to group object " +
                              std::to_string(first.g) + ", not " + std::to_string(second.g) + "\n");
}

}  // namespace
