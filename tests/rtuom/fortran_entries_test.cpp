// The upper-case entries: 64-bit integers by reference, fixed-length text
// fields with hidden lengths, blank-padded results.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "uom_fixture.h"
#include "zarnutils/rtuom.h"

namespace {

using zarn::test::UomTest;

TEST_F(UomTest, FortranTextArguments) {
    int64_t ptype = -1, uom = -1;
    RTOUOM_LOCATE_F("PSIG      ", &ptype, &uom, 10);  // blank-padded field
    EXPECT_EQ(ptype, 20);
    EXPECT_EQ(uom, 13);
    RTOUOM_LOCATE_F("PSIGXXXX", &ptype, &uom, 4);     // the hidden length cuts the field
    EXPECT_EQ(uom, 13);
    RTOUOM_LOCATE_F("FT\0junk", &ptype, &uom, 7);     // text ends at the first NUL
    EXPECT_EQ(ptype, 17);
    EXPECT_EQ(uom, 2);
    EXPECT_EQ(history_.text(), "");
    const char absent[8] = {0, 0, 0, 0, 'P', 'S', 'I', 'G'};
    RTOUOM_LOCATE_F(absent, &ptype, &uom, 8);
    EXPECT_EQ(ptype, 0);
    EXPECT_EQ(uom, 0);
    EXPECT_EQ(history_.text(), "!! rtouom_locate: Unable to locate a unit of measurement named: \n");

    const int64_t short_length = 138;
    RTOUOM_PTYPE_LOCATE_F("FT  ", &short_length, &uom, 4);
    EXPECT_EQ(uom, 2);
    EXPECT_EQ(PT_LOOKUP_F("MASS-FLOW   ", 12), 10);
    EXPECT_EQ(PT_LOOKUP_F("    ", 4), -1);
}

TEST_F(UomTest, FortranResultsAreBlankPadded) {
    const int64_t temperature = 22, bad = 149, two = 2, fifty = 50;
    double value = 0, mult = 0, offset = 0;
    const double si = 273.15;
    char field[12];
    std::memset(field, 0, sizeof field);
    RTOUOM_DEF_RCONV1_F(&temperature, &si, &value, field, sizeof field);
    EXPECT_EQ(std::string(field, sizeof field), "K           ");
    EXPECT_EQ(value, 273.15);
    RTOUOM_DEF_RCONV1_F(&bad, &si, &value, field, sizeof field);
    EXPECT_EQ(std::string(field, sizeof field), std::string(12, ' '));
    EXPECT_EQ(value, 273.15);
    EXPECT_EQ(history_.text(), "!! rtouom_rconv1: Physical type is out of bounds (149).\n");

    RTOUOM_INQ_INFO(&temperature, &two, &mult, &offset, field, 4);
    EXPECT_EQ(std::string(field, 5), "F    ");  // 4 blank-padded, the fifth byte untouched
    EXPECT_EQ(mult, 0.555555555555556);
    EXPECT_EQ(offset, 255.372222222222);
    const int64_t mass_flow = 10;
    RTOUOM_INQ_INFO(&mass_flow, &fifty, &mult, &offset, field, 8);
    EXPECT_EQ(std::string(field, 8), "KTONNE/O");  // cut at the field
    char name16[17] = "################";
    const int64_t pressure = 20, psig = 13;
    RTOUOM_INQ_INFO_4A4(&pressure, &psig, &mult, &offset, name16);
    EXPECT_EQ(std::string(name16), "PSIG            ");
    EXPECT_EQ(offset, 101325.0);
}

TEST_F(UomTest, FortranUnitInfoFallsBackToSI) {
    const int64_t pressure = 20, psia = 2, bad = 99;
    double mult = 0, offset = -1;
    RTOUOM_UOM_INFO_F(&pressure, &psia, &mult, &offset);
    EXPECT_EQ(mult, 6894.75729316836);
    EXPECT_EQ(offset, 0.0);
    EXPECT_EQ(history_.text(), "");
    RTOUOM_UOM_INFO_F(&pressure, &bad, &mult, &offset);
    EXPECT_EQ(mult, 1.0);
    EXPECT_EQ(offset, 0.0);
    EXPECT_EQ(history_.text(),
              "!! rtouom_uom_info: Unit index is out of bounds (99).\n"
              "BaseUom of the variable is invalid. Assume SI \n");
}

TEST_F(UomTest, FortranNumericEntries) {
    const int64_t temperature = 22, f = 2, pressure = 20, psig = 13, zero = 0, big = int64_t{1} << 40;
    const double one = 1.0;
    EXPECT_DOUBLE_EQ(RTOUOM_PAIR2SI_F(&one, &temperature, &f), 0.555555555555556 + 255.372222222222);
    EXPECT_DOUBLE_EQ(RTOUOM_DELTA_PAIR2SI_F(&one, &temperature, &f), 0.555555555555556);
    const double si = 273.15 + 5.0 / 9.0;
    EXPECT_NEAR(RTOUOM_SI2PAIR_F(&si, &temperature, &f), 33, 1e-12);
    EXPECT_NEAR(RTOUOM_DELTA_SI2PAIR_F(&one, &temperature, &f), 1.8, 1e-14);
    // an index too large for an int stays out of range
    EXPECT_EQ(RTOUOM_PAIR2SI_F(&one, &temperature, &big), 1.0);
    EXPECT_EQ(history_.text(), "!! rtouom_pair2si: Unit index is out of bounds (2147483647).\n");

    const double p = 95000;
    RTOUOM_MODIFY_P_AMB_F(&p);
    const double zero_value = 0;
    EXPECT_EQ(RTOUOM_PAIR2SI_F(&zero_value, &pressure, &psig), 95000.0);
    const double mult = 2, offset = 3;
    EXPECT_EQ(RTOUOM_MODIFY_MULT_OFFSET_F(&pressure, "psig  ", &mult, &offset, 6), 1);
    EXPECT_EQ(RTOUOM_PAIR2SI_F(&one, &pressure, &psig), 5.0);
    RTOUOM_RESET_UOM_F();
    EXPECT_EQ(RTOUOM_PAIR2SI_F(&zero_value, &pressure, &psig), 101325.0);

    const int64_t user = 38;
    EXPECT_EQ(RTOUOM_PREDEFINED_F(&pressure, &psig), 1);
    EXPECT_EQ(RTOUOM_PREDEFINED_F(&pressure, &user), 0);
    EXPECT_EQ(RTOUOM_FORCE_PREDEFINED_UNITS_F(&pressure, &user), 1);
    EXPECT_EQ(RTOUOM_SET_DEFAULT_F(&pressure, &f), 1);
    EXPECT_EQ(RTOUOM_GET_DEFAULT_F(&pressure), 2);
    EXPECT_EQ(RTOUOM_DELTA_PTYPE_F(&temperature), 31);
    const int64_t untyped = 0, dimensionless = 44, flow = 9, mass_flow = 10;
    EXPECT_EQ(RTOUOM_COERCION_ALLOWED_F(&zero, &pressure), 1);
    EXPECT_EQ(RTOUOM_PTYPE_EQUAL_F(&flow, &mass_flow), 1);
    int64_t out = -1;
    EXPECT_EQ(RTOUOM_PTYPE_ADD_F(&untyped, &dimensionless, &out), 1);
    EXPECT_EQ(out, 0);
    EXPECT_EQ(RTOUOM_PTYPE_SUB_F(&temperature, &temperature, &out), 1);
    EXPECT_EQ(out, 31);
    EXPECT_EQ(RTOUOM_PTYPE_SUB_F(&dimensionless, &temperature, &out), 0);
    EXPECT_EQ(out, 0);
}

}  // namespace
