// Each Fortran twin against its C function over a table of arguments: the
// same results and the same history text. Fixed-length text arguments: the
// hostile-caller table and tests/fortran/uom_calls.f90.
#include <gtest/gtest.h>

#include <string>

#include "uom_fixture.h"

namespace {

using namespace zarn::rtuom;
using zarn::test::UomTest;

TEST_F(UomTest, TwinsAgreeWithTheirCFunctions) {
    const int64_t args[][2] = {{kTemperature, 2}, {kPressure, 13}, {-kArea, 2}, {kPressure, 0}, {kPressure, 38},
                               {149, 1},          {-kEnergy, -1},  {kFlow, kMassFlow}, {kPdrop, kPressure}};
    for (auto &a : args) {
        SCOPED_TRACE(std::to_string(a[0]) + ", " + std::to_string(a[1]));
        const int p = static_cast<int>(a[0]), u = static_cast<int>(a[1]);
        const double v = 273.15;
        auto same = [&](auto twin, auto c) {
            const auto from_twin = twin();
            const std::string twin_said = history_.text();
            EXPECT_EQ(from_twin, c());
            EXPECT_EQ(twin_said, history_.text());
        };
#define SAME(twin, c) same([&] { return twin; }, [&] { return c; })
        SAME(RTOUOM_PAIR2SI_F(&v, &a[0], &a[1]), rtouom_pair2si(v, p, u));
        SAME(RTOUOM_SI2PAIR_F(&v, &a[0], &a[1]), rtouom_si2pair(v, p, u));
        SAME(RTOUOM_DELTA_PAIR2SI_F(&v, &a[0], &a[1]), rtouom_delta_pair2si(v, p, u));
        SAME(RTOUOM_DELTA_SI2PAIR_F(&v, &a[0], &a[1]), rtouom_delta_si2pair(v, p, u));
        SAME(RTOUOM_PREDEFINED_F(&a[0], &a[1]), rtouom_predefined(p, u));
        SAME(RTOUOM_FORCE_PREDEFINED_UNITS_F(&a[0], &a[1]), rtouom_force_predefined_units(p, u));
        SAME(RTOUOM_COERCION_ALLOWED_F(&a[0], &a[1]), rtouom_coercion_allowed(p, u));
        SAME(RTOUOM_PTYPE_EQUAL_F(&a[0], &a[1]), rtouom_ptype_equal(p, u));
        int64_t o8 = -1;
        long long o = -1;
        SAME(RTOUOM_PTYPE_ADD_F(&a[0], &a[1], &o8) * 1000 + o8, rtouom_ptype_add(p, u, &o) * 1000 + o);
        SAME(RTOUOM_PTYPE_SUB_F(&a[0], &a[1], &o8) * 1000 + o8, rtouom_ptype_sub(p, u, &o) * 1000 + o);
        SAME(RTOUOM_DELTA_PTYPE_F(&a[0]) * 1000 + RTOUOM_GET_DEFAULT_F(&a[0]), rtouom_delta_ptype(p) * 1000 + rtouom_get_default(p));
        SAME(RTOUOM_SET_DEFAULT_F(&a[0], &a[1]), rtouom_set_default(p, u));
        double m = -1, off = -1, w = -1;
        char n[40] = {}, f[16];
        const char *unit = nullptr;
        auto text = [&](std::string s, size_t len) { return std::to_string(m + w) + std::to_string(off) + (s + "        ").substr(0, len); };
        SAME((RTOUOM_INQ_INFO(&a[0], &a[1], &m, &off, n, 8), text(std::string(n, 8), 8)),  // blank-padded
             (rtouom_inq_info_c(p, u, &m, &off, n), text(n, 8)));
        SAME((RTOUOM_INQ_INFO_4A4(&a[0], &a[1], &m, &off, f), text(std::string(f, 16), 16)),
             (rtouom_inq_info_4a4_c(p, u, &m, &off, f), text(std::string(f, 16), 16)));
        SAME((RTOUOM_DEF_RCONV1_F(&a[0], &v, &w, n, 6), text(std::string(n, 6), 6)),
             (rtouom_rconv1(p, 0, v, &w, &unit), text(unit != nullptr ? unit : "", 6)));
        RTOUOM_RESET_UOM_F();
    }
    const int64_t pressure = kPressure, psia = 2;  // the SI fallback of a bad pair: the hostile-caller table
    double m = 0, o = -1;
    RTOUOM_UOM_INFO_F(&pressure, &psia, &m, &o);
    EXPECT_EQ(std::pair(m, o), std::pair(6894.75729316836, 0.0));
}

}  // namespace
