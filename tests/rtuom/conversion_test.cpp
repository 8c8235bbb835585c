// Pair and by-name conversions, their checks and their reports.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "uom_fixture.h"
#include "zarnutils/rtuom.h"

namespace {

using zarn::test::UomTest;

constexpr int kArea = 1, kEnergy = 5, kFlow = 9, kPressure = 20, kTemperature = 22, kAreaPrice = 54;

TEST_F(UomTest, TemperatureOffsetAppliesOnlyToValues) {
    EXPECT_DOUBLE_EQ(rtouom_pair2si(1, kTemperature, 2), 1 * 0.555555555555556 + 255.372222222222);
    EXPECT_DOUBLE_EQ(rtouom_delta_pair2si(1, kTemperature, 2), 0.555555555555556);
    EXPECT_DOUBLE_EQ(rtouom_pair2si(32, kTemperature, 2), 273.15);
    EXPECT_NEAR(rtouom_si2pair(373.15, kTemperature, 2), 212, 1e-9);
    EXPECT_NEAR(rtouom_si2pair(0, kTemperature, 4), -273.15, 1e-12);
    EXPECT_NEAR(rtouom_delta_si2pair(10, kTemperature, 2), 18, 1e-12);
    EXPECT_DOUBLE_EQ(rtouom_pair2si(100, kTemperature, 4), 373.15);
    EXPECT_EQ(history_.text(), "");
}

TEST_F(UomTest, GaugeUnitsFollowTheAmbientPressure) {
    EXPECT_EQ(rtouom_pair2si(0, kPressure, 13), 101325.0);      // PSIG
    EXPECT_EQ(rtouom_pair2si(0, kPressure, 26), 101325.0);      // MMHG-VAC
    EXPECT_DOUBLE_EQ(rtouom_pair2si(10, kPressure, 26), 101325.0 - 1333.22368421053);
    rtouom_modify_p_amb(100000);
    EXPECT_EQ(rtouom_pair2si(0, kPressure, 13), 100000.0);
    EXPECT_EQ(rtouom_pair2si(0, kPressure, 26), 100000.0);      // vacuum units follow too
    EXPECT_EQ(rtouom_pair2si(0, kPressure, 2), 0.0);            // PSIA has no offset
    EXPECT_EQ(rtouom_pair2si(0, 93, 2), 0.0);                   // DESIGN-PRES PSIG does not follow
    EXPECT_EQ(rtouom_delta_pair2si(1, kPressure, 13), 6894.75729316836);
    // a second change moves the units that carry the current ambient
    rtouom_modify_p_amb(90000);
    EXPECT_EQ(rtouom_pair2si(0, kPressure, 15), 90000.0);       // BARG
    EXPECT_NEAR(rtouom_si2pair(90000 + 1e5, kPressure, 15), 1.0, 1e-15);
    // a unit given another offset by hand no longer follows
    ASSERT_EQ(rtouom_modify_mult_offset(kPressure, "ATMG", 101325, 1234), 1);
    rtouom_modify_p_amb(80000);
    EXPECT_EQ(rtouom_pair2si(0, kPressure, 14), 1234.0);
    EXPECT_EQ(rtouom_pair2si(0, kPressure, 13), 80000.0);
    // a rebuild restores the standard ambient
    RTOUOM_RESET_UOM_F();
    EXPECT_EQ(rtouom_pair2si(0, kPressure, 13), 101325.0);
    EXPECT_EQ(rtouom_pair2si(0, kPressure, 14), 101325.0);
}

TEST_F(UomTest, PriceTypesUseTheReciprocal) {
    // the reciprocal of SQFT and the AREA-PRICE constant agree to their 15 digits
    EXPECT_NEAR(rtouom_pair2si(1, -kArea, 2), 10.7639104167097, 1e-13);
    EXPECT_NEAR(rtouom_pair2si(1, -kArea, 2), rtouom_pair2si(1, kAreaPrice, 2), 1e-13);
    EXPECT_NEAR(rtouom_si2pair(10.7639104167097, -kArea, 2), 1.0, 1e-14);
    // price of a temperature ignores the offset: money per degree F
    EXPECT_DOUBLE_EQ(rtouom_pair2si(1, -kTemperature, 2), 1 / 0.555555555555556);
    EXPECT_DOUBLE_EQ(rtouom_delta_pair2si(2, -kEnergy, 2), 2 / 1055.05585262);
    EXPECT_DOUBLE_EQ(rtouom_delta_si2pair(2, -kEnergy, 2), 2 * 1055.05585262);
}

TEST_F(UomTest, MarkersAndDefaultUnits) {
    for (int marker : {RTOUOM_SI_MARKER, RTOUOM_SSI_MARKER}) {
        EXPECT_EQ(rtouom_pair2si(7.5, marker, 12345), 7.5);
        EXPECT_EQ(rtouom_si2pair(7.5, marker, -3), 7.5);
        EXPECT_EQ(rtouom_delta_pair2si(7.5, marker, 999), 7.5);
        EXPECT_EQ(rtouom_delta_si2pair(7.5, marker, 0), 7.5);
    }
    EXPECT_EQ(history_.text(), "");
    EXPECT_EQ(rtouom_pair2si(3, kPressure, 0), 3.0);    // default = N/SQM at load
    ASSERT_EQ(rtouom_set_default(kPressure, 2), 1);
    EXPECT_EQ(rtouom_pair2si(3, kPressure, 0), 3 * 6894.75729316836);
    EXPECT_NEAR(rtouom_si2pair(6894.75729316836, kPressure, 0), 1.0, 1e-15);
    EXPECT_EQ(rtouom_pair2si(3, -kPressure, 0), 3 / 6894.75729316836);
}

TEST_F(UomTest, BadPairsAreReportedAndLeaveTheValue) {
    EXPECT_EQ(rtouom_pair2si(4.25, 149, 1), 4.25);
    EXPECT_EQ(history_.text(), "!! rtouom_pair2si: Physical type is out of bounds (149).\n");
    EXPECT_EQ(rtouom_pair2si(4.25, -149, 1), 4.25);
    EXPECT_EQ(history_.text(), "!! rtouom_pair2si: Physical type is out of bounds (-149).\n");
    EXPECT_EQ(rtouom_pair2si(4.25, kPressure, 38), 4.25);
    EXPECT_EQ(history_.text(), "!! rtouom_pair2si: Unit index is out of bounds (38).\n");
    EXPECT_EQ(rtouom_pair2si(4.25, kPressure, 37), 4.25 * 1e5);  // the last unit, BARA, is fine
    EXPECT_EQ(rtouom_delta_pair2si(4.25, kPressure, -1), 4.25);
    EXPECT_EQ(history_.text(), "!! rtouom_delta_pair2si: Unit index is out of bounds (-1).\n");
    EXPECT_EQ(rtouom_si2pair(4.25, 200, 1), 4.25);
    EXPECT_EQ(history_.text(), "!! rtouom_si2pair: Physical type is out of bounds (200).\n");
    EXPECT_EQ(rtouom_delta_si2pair(4.25, kTemperature, 6), 4.25);
    EXPECT_EQ(history_.text(), "!! rtouom_delta_si2pair: Unit index is out of bounds (6).\n");
    EXPECT_EQ(rtouom_pair2si(4.25, -2147483647 - 1, 1), 4.25);
    EXPECT_EQ(history_.text(), "!! rtouom_pair2si: Physical type is out of bounds (-2147483648).\n");
    // the lowest int as an index is refused, not wrapped round to a valid one
    EXPECT_EQ(rtouom_pair2si(4.25, kPressure, -2147483647 - 1), 4.25);
    EXPECT_EQ(history_.text(), "!! rtouom_pair2si: Unit index is out of bounds (-2147483648).\n");
    EXPECT_EQ(rtouom_si2pair(4.25, kPressure, -2147483647 - 1), 4.25);
    EXPECT_EQ(history_.text(), "!! rtouom_si2pair: Unit index is out of bounds (-2147483648).\n");
}

TEST_F(UomTest, ConversionsWithoutATable) {
    pt_destroy_units_table();
    EXPECT_EQ(rtouom_pair2si(2.5, kPressure, 13), 2.5);
    EXPECT_EQ(history_.text(), "!! rtouom_pair2si: UOM table has not been initialized.\n");
    // the SI-to-unit direction goes on to the other checks, which refuse an empty type
    EXPECT_EQ(rtouom_si2pair(2.5, kPressure, 13), 2.5);
    EXPECT_EQ(history_.text(),
              "!! rtouom_si2pair: UOM table has not been initialized.\n"
              "!! rtouom_si2pair: Unit index is out of bounds (13).\n");
    EXPECT_EQ(rtouom_si2pair(2.5, RTOUOM_SI_MARKER, 13), 2.5);
    EXPECT_EQ(history_.text(), "!! rtouom_si2pair: UOM table has not been initialized.\n");
    int ptype = 7;
    EXPECT_EQ(rtouom_uu2si(2.5, &ptype, "PSIG"), 2.5);
    EXPECT_EQ(ptype, 0);
    EXPECT_EQ(history_.text(), "!! rtouom_uu2si: UOM table has not been initialized.\n");
    double value = 0;
    const char *name = "x";
    rtouom_rconv1(kPressure, 2, 9.0, &value, &name);
    EXPECT_EQ(value, 9.0);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(history_.text(), "!! rtouom_rconv1: UOM table has not been initialized.\n");
    pt_init_units_table();
    EXPECT_EQ(rtouom_pair2si(0, kPressure, 13), 101325.0);
}

TEST_F(UomTest, Rconv1GivesValueAndName) {
    double value = 0;
    const char *name = nullptr;
    rtouom_rconv1(kTemperature, 2, 273.15, &value, &name);
    EXPECT_NEAR(value, 32, 1e-12);
    EXPECT_STREQ(name, "F");
    rtouom_delta_rconv1(kTemperature, 2, 1.0, &value, &name);
    EXPECT_NEAR(value, 1.8, 1e-14);
    rtouom_set_default(kTemperature, 4);
    rtouom_rconv1(kTemperature, 0, 273.15, &value, &name);
    EXPECT_NEAR(value, 0, 1e-12);
    EXPECT_STREQ(name, "C");
    rtouom_rconv1(kTemperature, -7, 274.15, &value, &name);  // any uom <= 0 is the default
    EXPECT_NEAR(value, 1, 1e-12);
    rtouom_rconv1(-kEnergy, 2, 1.0, &value, &name);
    EXPECT_DOUBLE_EQ(value, 1055.05585262);
    EXPECT_STREQ(name, "$/BTU");
    EXPECT_EQ(history_.text(), "");

    rtouom_rconv1(kTemperature, 6, 5.0, &value, &name);
    EXPECT_EQ(value, 5.0);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(history_.text(), "!! rtouom_rconv1: Unit index is out of bounds (6).\n");
    rtouom_delta_rconv1(-150, 1, 5.0, &value, &name);
    EXPECT_EQ(history_.text(), "!! rtouom_delta_rconv1: Physical type is out of bounds (-150).\n");
    // a type whose list is empty
    const int saved = rtouom_count[90];
    rtouom_count[90] = 0;
    rtouom_rconv1(90, 0, 5.0, &value, &name);
    rtouom_count[90] = saved;
    EXPECT_EQ(value, 5.0);
    EXPECT_EQ(history_.text(), "!! rtouom_rconv1: There are no UOMs defined for physical type 90.\n");
}

TEST_F(UomTest, ByNameConversions) {
    int ptype = -1;
    EXPECT_EQ(rtouom_uu2si(0, &ptype, "PSIG"), 101325.0);
    EXPECT_EQ(ptype, kPressure);
    // the index is used directly: KG/SEC is the FLOW entry, without re-resolution
    EXPECT_EQ(rtouom_uu2si(2, &ptype, "KG/SEC"), 2.0);
    EXPECT_EQ(ptype, kFlow);
    EXPECT_DOUBLE_EQ(rtouom_uu2si(1, &ptype, "$/SQFT"), 10.7639104167097);
    EXPECT_EQ(ptype, kAreaPrice);                     // listed by AREA-PRICE itself
    EXPECT_DOUBLE_EQ(rtouom_uu2si(1, &ptype, "$/FT"), 1 / 0.3048);
    EXPECT_EQ(ptype, -17);
    EXPECT_DOUBLE_EQ(rtouom_si2uu(1, &ptype, "$/FT"), 0.3048);
    EXPECT_NEAR(rtouom_si2uu(373.15, &ptype, "C"), 100, 1e-12);
    EXPECT_EQ(ptype, kTemperature);
    EXPECT_EQ(history_.text(), "");

    EXPECT_EQ(rtouom_uu2si(6, &ptype, "psig"), 6.0);
    EXPECT_EQ(ptype, 0);
    EXPECT_EQ(history_.text(), "!! rtouom_uu2si: Unable to locate a unit of measurement named: psig\n");
    EXPECT_EQ(rtouom_si2uu(6, &ptype, "$/"), 6.0);
    EXPECT_EQ(history_.text(), "!! rtouom_si2uu: Unable to locate a unit of measurement named: $/\n");
    EXPECT_EQ(rtouom_si2uu(6, nullptr, nullptr), 6.0);
    EXPECT_EQ(history_.text(), "!! rtouom_si2uu: Unable to locate a unit of measurement named: \n");
}

TEST_F(UomTest, ConversionsGivenATypeName) {
    EXPECT_DOUBLE_EQ(rtouom_uu2siGivenAPhysicalType(1, "PRESSURE", "PSIG"), 6894.75729316836 + 101325);
    EXPECT_DOUBLE_EQ(rtouom_uu2siGivenAPhysicalType(0, "TEMPERATURE", "C"), 273.15);
    EXPECT_NEAR(rtouom_si2uuGivenAPhysicalType(273.15, "TEMPERATURE", "F"), 32, 1e-12);
    // FT is a unit of SHORT-LENGTH although the name index maps it to LENGTH
    EXPECT_DOUBLE_EQ(rtouom_uu2siGivenAPhysicalType(10, "SHORT-LENGTH", "FT"), 3.048);
    // a unit the type does not list: the type's default unit
    EXPECT_EQ(rtouom_uu2siGivenAPhysicalType(5, "PRESSURE", "FT"), 5.0);
    rtouom_set_default(kPressure, 5);
    EXPECT_EQ(rtouom_uu2siGivenAPhysicalType(5, "PRESSURE", "FT"), 5e5);
    EXPECT_EQ(history_.text(), "");
}

}  // namespace
