// User units, changed multipliers, rebuilds and printing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "capture.h"
#include "rtuom/rtuom_internal.h"
#include "uom_fixture.h"
#include "zarnutils/rtuom.h"

namespace {

using zarn::test::UomTest;

constexpr int kArea = 1, kEnthalpy = 6, kEntropy = 7, kFlow = 9, kMassFlow = 10, kPressure = 20;

// Every name in the index maps to a live unit of that name.
void expect_index_consistent() {
    for (int t = 0; t < RTOUOM_NTYPES; ++t) {
        for (int i = 0; i < rtouom_count[t]; ++i) {
            const zarn::rtuom::Place p = zarn::rtuom::index_find(rtouom_table[t][i].name);
            ASSERT_GT(p.uom, 0) << rtouom_table[t][i].name;
            ASSERT_LE(p.uom, rtouom_count[p.ptype]);
            EXPECT_STREQ(rtouom_table[p.ptype][p.uom - 1].name, rtouom_table[t][i].name);
        }
    }
}

TEST_F(UomTest, AddingAUnitToAType) {
    EXPECT_EQ(rtouom_add_uom("SQKM", kArea, 1e6, 0), 8);
    EXPECT_EQ(rtouom_count[kArea], 8);
    EXPECT_EQ(rtouom_npredefined[kArea], 7);
    EXPECT_EQ(rtouom_pair2si(2, kArea, 8), 2e6);
    int ptype = 0, uom = 0;
    rtouom_locate("SQKM", &ptype, &uom);
    EXPECT_EQ(ptype, kArea);
    EXPECT_EQ(uom, 8);
    EXPECT_DOUBLE_EQ(rtouom_pair2si(1, -kArea, 8), 1e-6);  // its price form comes with it
    EXPECT_EQ(history_.text(), "");

    EXPECT_EQ(rtouom_add_uom("SQKM", kArea, 1e6, 0), 0);
    EXPECT_EQ(history_.text(), "!! rtouom_add_uom: A unit of measurement named: SQKM already exists\n");
    EXPECT_EQ(rtouom_add_uom("SQFT", kArea, 1, 0), 0);   // a built-in name of the same type
    EXPECT_EQ(history_.text(), "!! rtouom_add_uom: A unit of measurement named: SQFT already exists\n");
    const std::string too_long(33, 'X');
    EXPECT_EQ(rtouom_add_uom(too_long.c_str(), kArea, 1, 0), 0);
    EXPECT_EQ(history_.text(), "!! rtouom_add_uom: unit name {" + too_long + "} exceeds the maximum of 32.\n");
    EXPECT_EQ(rtouom_add_uom(too_long.substr(1).c_str(), kArea, 1, 0), 9);  // exactly 32 is fine
    EXPECT_EQ(rtouom_add_uom("NEW", -1, 1, 0), 0);
    EXPECT_EQ(rtouom_add_uom("NEW", 149, 1, 0), 0);
    EXPECT_EQ(history_.text(),
              "!! rtouom_add_uom: Physical type is out of bounds (-1).\n"
              "!! rtouom_add_uom: Physical type is out of bounds (149).\n");
    EXPECT_EQ(rtouom_add_uom(nullptr, kArea, 1, 0), 0);
    EXPECT_EQ(rtouom_add_uom("", kArea, 1, 0), 0);
    EXPECT_EQ(rtouom_count[kArea], 9);
    history_.text();

    // the same name in another type is allowed; the index keeps its first owner
    EXPECT_EQ(rtouom_add_uom("FT", kArea, 0.5, 0), 10);
    rtouom_locate("FT", &ptype, &uom);
    EXPECT_EQ(ptype, 17);
    int in_area = 0;
    rtouom_ptype_locate("FT", kArea, &in_area);
    EXPECT_EQ(in_area, 10);
    expect_index_consistent();

    // a user unit goes at the rebuild; the built-in ones come back unchanged
    RTOUOM_RESET_UOM_F();
    EXPECT_EQ(rtouom_count[kArea], 7);
    rtouom_locate2("SQKM", &ptype, &uom);
    EXPECT_EQ(uom, 0);
    EXPECT_EQ(rtouom_add_uom("SQKM", kArea, 1e6, 0), 8);
}

TEST_F(UomTest, AddingToATypeAlsoAddsToItsEqualTypes) {
    int t = 0;
    rtouom_uu2si(1, &t, "KG/SEC");
    EXPECT_EQ(t, kFlow);  // before: the name maps to FLOW, the lower-numbered type
    EXPECT_EQ(rtouom_add_uom("KG/FORTNIGHT", kFlow, 1.0 / 1209600, 0), 46);
    EXPECT_EQ(rtouom_count[kMassFlow], 51);
    EXPECT_STREQ(rtouom_uom_name(kMassFlow, 51), "KG/FORTNIGHT");
    rtouom_uu2si(1, &t, "KG/SEC");
    EXPECT_EQ(t, kMassFlow);  // MASS-FLOW's names were registered again, now as its own
    rtouom_uu2si(1, &t, "MCFH");
    EXPECT_EQ(t, kFlow);
    int uom = 0;
    rtouom_locate("KG/FORTNIGHT", &t, &uom);
    EXPECT_EQ(t, kMassFlow);
    EXPECT_EQ(uom, 51);

    // ENTHALPY is equal to MOLE-ENTHALP and MASS-ENTHALP, not to ENTROPY
    EXPECT_EQ(rtouom_add_uom("KJ/LBMOL", kEnthalpy, 1000 / 0.45359237, 0), 8);
    EXPECT_EQ(rtouom_count[39], 19);
    EXPECT_EQ(rtouom_count[40], 13);
    EXPECT_EQ(rtouom_count[kEntropy], 12);
    // a type that already lists the name is left alone
    EXPECT_EQ(rtouom_add_uom("MJ/KG", kEnthalpy, 1e6, 0), 9);
    EXPECT_EQ(rtouom_count[39], 20);
    EXPECT_EQ(rtouom_count[40], 13);
    EXPECT_EQ(history_.text(), "");
    expect_index_consistent();
}

TEST_F(UomTest, AddingWithoutTheChecks) {
    // the second add form: alsoEqual 0 keeps the unit to the one type
    const int64_t flow = kFlow, no = 0, yes = 1;
    const double mult = 1.0 / 604800, offset = 0;
    EXPECT_EQ(RTOUOM_ADD_UOM2_F("KG/WEEK  ", &flow, &mult, &offset, &no, 9), 46);
    EXPECT_EQ(rtouom_count[kMassFlow], 50);
    int in_flow = 0;
    rtouom_ptype_locate("KG/WEEK", kFlow, &in_flow);
    EXPECT_EQ(in_flow, 46);
    // a FLOW name newly listed by MASS-FLOW alone: lookups now resolve it there
    const int64_t mass_flow = kMassFlow;
    const double mcfh = 1;
    EXPECT_EQ(RTOUOM_ADD_UOM2_F("MCFH", &mass_flow, &mcfh, &offset, &no, 4), 51);
    int t = 0, u = 0;
    rtouom_locate("MCFH", &t, &u);
    EXPECT_EQ(t, kMassFlow);
    EXPECT_EQ(u, 51);
    EXPECT_EQ(RTOUOM_ADD_UOM2_F("KG/WEEK", &flow, &mult, &offset, &no, 7), 0);
    EXPECT_EQ(history_.text(), "!! rtouom_add_uom: A unit of measurement named: KG/WEEK already exists\n");
    // the third form with noCheck stores a second unit of the same name
    const int64_t area = kArea;
    const double two = 2.0;
    EXPECT_EQ(RTOUOM_ADD_UOM3_F("SQFT", &area, &two, &offset, &yes, &yes, 4), 8);
    int uom = 0;
    rtouom_ptype_locate("SQFT", kArea, &uom);
    EXPECT_EQ(uom, 8);  // the new entry is registered before the type's others
    EXPECT_EQ(rtouom_pair2si(1, kArea, 8), 2.0);
    EXPECT_EQ(RTOUOM_ADD_UOM3_F("SQFT", &area, &two, &offset, &yes, &no, 4), 0);
    expect_index_consistent();
}

TEST_F(UomTest, ManyAddsKeepTheIndexValid) {
    // each add moves the type's array; the index must follow every time
    for (int k = 0; k < 40; ++k) {
        const std::string name = "P-UNIT-" + std::to_string(k);
        ASSERT_EQ(rtouom_add_uom(name.c_str(), kPressure, 1.0 + k, 0), 38 + k);
    }
    expect_index_consistent();
    int ptype = 0, uom = 0;
    rtouom_locate("P-UNIT-39", &ptype, &uom);
    EXPECT_EQ(ptype, kPressure);
    EXPECT_EQ(uom, 77);
    EXPECT_EQ(rtouom_pair2si(1, kPressure, 77), 40.0);
    EXPECT_EQ(rtouom_pair2si(1, kPressure, 13), 6894.75729316836 + 101325);
    rtouom_locate("PSIG", &ptype, &uom);
    EXPECT_EQ(uom, 13);
    EXPECT_EQ(history_.text(), "");
}

TEST_F(UomTest, ChangingMultiplierAndOffset) {
    EXPECT_EQ(rtouom_modify_mult_offset(24, "oper-year", 3e7, 0), 1);   // any case
    EXPECT_EQ(rtouom_pair2si(1, 24, 10), 3e7);
    EXPECT_EQ(rtouom_modify_mult_offset(24, "FORTNIGHT", 1, 0), 0);
    EXPECT_EQ(rtouom_modify_mult_offset(24, nullptr, 1, 0), 0);
    EXPECT_EQ(history_.text(), "");
    EXPECT_EQ(rtouom_modify_mult_offset(149, "SEC", 1, 0), 0);
    EXPECT_EQ(history_.text(), "!! rtouom_modify_mult_offset: Physical type is out of bounds (149).\n");
    // the first unit of the name in that type only: HR is units 2 and 3 of TIME
    EXPECT_EQ(rtouom_modify_mult_offset(24, "HR", 3000, 0), 1);
    EXPECT_EQ(rtouom_pair2si(1, 24, 2), 3000.0);
    EXPECT_EQ(rtouom_pair2si(1, 24, 3), 3600.0);
    RTOUOM_RESET_UOM_F();
    EXPECT_EQ(rtouom_pair2si(1, 24, 10), 31557600 - 99999.0);
    EXPECT_EQ(rtouom_pair2si(1, 24, 2), 3600.0);

    pt_destroy_units_table();
    EXPECT_EQ(rtouom_modify_mult_offset(24, "HR", 1, 0), 0);
    EXPECT_EQ(history_.text(), "!! rtouom_uu2si: UOM table has not been initialized.\n");
    EXPECT_EQ(rtouom_add_uom("X", 24, 1, 0), 0);
    EXPECT_EQ(history_.text(), "!! rtouom_add_uom: UOM table has not been initialized.\n");
}

TEST_F(UomTest, PrintingUnits) {
    rtopipe *pipe = create_queue_rtopipe();
    rtouom_print_header(pipe);
    const std::string blank32(32, ' '), blank12(12, ' ');
    EXPECT_EQ(zarn::test::drain(pipe),
              blank32 + " Physical    " + "    " + blank12 + " " + blank12 + "\n" +
              "Name" + std::string(28, ' ') + " Type         P/U Multiplier   Offset      \n" +
              std::string(32, '=') + " " + std::string(12, '=') + " === " + std::string(12, '=') + " " +
              std::string(12, '=') + "\n");
    rtouom_print_uom(pipe, kPressure, 13);
    EXPECT_EQ(zarn::test::drain(pipe), "PSIG" + std::string(28, ' ') + " PRESSURE      P  6894.76      101325      \n");
    rtouom_print_uom(pipe, -kArea, 2);
    EXPECT_EQ(zarn::test::drain(pipe), "$/SQFT" + std::string(26, ' ') + " AREA          P  10.7639      0           \n");
    ASSERT_EQ(rtouom_add_uom("SQKM", kArea, 1e6, 0), 8);
    rtouom_print_uom(pipe, kArea, 8);
    EXPECT_EQ(zarn::test::drain(pipe), "SQKM" + std::string(28, ' ') + " AREA          U  1e+06        0           \n");
    EXPECT_EQ(history_.text(), "");
    rtouom_print_uom(pipe, kArea, 9);
    rtouom_print_uom(pipe, kArea, 0);
    rtouom_print_uom(pipe, 149, 1);
    EXPECT_EQ(zarn::test::drain(pipe), "");
    EXPECT_EQ(history_.text(),
              "!! rtouom_print_uom: Unit index is out of bounds (9).\n"
              "!! rtouom_print_uom: Unit index is out of bounds (0).\n"
              "!! rtouom_print_uom: Physical type is out of bounds (149).\n");
    // an entry filed under the wrong type trips the consistency check, and still prints
    rtouom_table[kArea][0].ptype = 5;
    zarn::test::StderrCapture err;
    rtouom_print_uom(pipe, kArea, 1);
    rtouom_table[kArea][0].ptype = kArea;
    EXPECT_NE(err.text().find("Assertion 'rtouom_print_uom: physical type mismatch' failed in source/rtuom/rtuom:"),
              std::string::npos);
    EXPECT_EQ(zarn::test::drain(pipe).substr(0, 4), "SQM ");
    rtodestroy(pipe);
}

}  // namespace
