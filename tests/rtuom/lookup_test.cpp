// Finding units by name and by pair, names, lists and defaults.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "uom_fixture.h"
#include "zarnutils/rtuom.h"

namespace {

using zarn::test::UomTest;

struct Pair {
    int ptype, uom;
    bool operator==(const Pair &o) const { return ptype == o.ptype && uom == o.uom; }
};

std::ostream &operator<<(std::ostream &os, const Pair &p) { return os << "(" << p.ptype << ", " << p.uom << ")"; }

Pair locate(const char *name) {
    Pair p{-1, -1};
    rtouom_locate(name, &p.ptype, &p.uom);
    return p;
}

Pair locate2(const char *name) {
    Pair p{-1, -1};
    rtouom_locate2(name, &p.ptype, &p.uom);
    return p;
}

int ptype_locate(const char *name, int ptype) {
    int uom = -1;
    rtouom_ptype_locate(name, ptype, &uom);
    return uom;
}

TEST_F(UomTest, LocateResolvesGenericTypes) {
    EXPECT_EQ(locate("KG/SEC"), (Pair{10, 1}));     // FLOW -> MASS-FLOW
    EXPECT_EQ(locate("MCFH"), (Pair{9, 7}));        // not a MASS-FLOW unit: stays FLOW
    EXPECT_EQ(locate("TONNE/DAY"), (Pair{10, 13})); // only MASS-FLOW lists it
    EXPECT_EQ(locate("J/KG"), (Pair{40, 1}));       // ENTHALPY -> MASS-ENTHALP
    EXPECT_EQ(locate("BTU/LBMOL"), (Pair{39, 2}));  // ENTHALPY -> MOLE-ENTHALP
    EXPECT_EQ(locate("MBTU/LBMOL"), (Pair{39, 15}));
    EXPECT_EQ(locate("KG/CUM"), (Pair{38, 1}));     // DENSITY -> MASS-DENSITY
    EXPECT_EQ(locate("LB/BBL"), (Pair{3, 7}));      // only DENSITY lists it
    EXPECT_EQ(locate("$/BTU"), (Pair{30, 2}));      // ENERGY-PRICE lists the name
    EXPECT_EQ(locate("$/FT"), (Pair{-17, 2}));      // price of LENGTH
    EXPECT_EQ(locate("$/KG/SEC"), (Pair{-9, 1}));   // no re-resolution for price names
    EXPECT_EQ(locate("FT"), (Pair{17, 2}));         // LENGTH before SHORT-LENGTH
    EXPECT_EQ(locate("METER"), (Pair{17, 1}));
    EXPECT_EQ(locate("SQM"), (Pair{1, 1}));         // the first of its two places
    EXPECT_EQ(locate("*"), (Pair{0, 1}));
    EXPECT_EQ(history_.text(), "");

    EXPECT_EQ(locate("kg/sec"), (Pair{0, 0}));
    EXPECT_EQ(history_.text(), "!! rtouom_locate: Unable to locate a unit of measurement named: kg/sec\n");
    EXPECT_EQ(locate("$/"), (Pair{0, 0}));
    EXPECT_EQ(locate("$/NOPE"), (Pair{0, 0}));
    EXPECT_EQ(locate(""), (Pair{0, 0}));
    EXPECT_EQ(locate(nullptr), (Pair{0, 0}));
    EXPECT_EQ(history_.text(),
              "!! rtouom_locate: Unable to locate a unit of measurement named: $/\n"
              "!! rtouom_locate: Unable to locate a unit of measurement named: $/NOPE\n"
              "!! rtouom_locate: Unable to locate a unit of measurement named: \n"
              "!! rtouom_locate: Unable to locate a unit of measurement named: \n");
    EXPECT_EQ(locate2("kg/sec"), (Pair{0, 0}));
    EXPECT_EQ(locate2("PSIG"), (Pair{20, 13}));
    EXPECT_EQ(history_.text(), "");

    pt_destroy_units_table();
    EXPECT_EQ(locate2("PSIG"), (Pair{0, 0}));
    EXPECT_EQ(history_.text(), "!! rtouom_locate: UOM table has not been initialized.\n");
}

TEST_F(UomTest, EveryNameLocatesToAUnitOfThatName) {
    for (int t = 0; t < RTOUOM_NTYPES; ++t) {
        for (int i = 1; i <= rtouom_count[t]; ++i) {
            const char *name = rtouom_table[t][i - 1].name;
            const Pair p = locate2(name);
            ASSERT_GT(p.uom, 0) << name;
            EXPECT_STRCASEEQ(rtouom_uom_name(p.ptype, p.uom), name);
            // and every name is found within each type that lists it
            int uom = 0;
            rtouom_ptype_locate2(name, t, &uom);
            ASSERT_GT(uom, 0) << name << " in " << t;
            EXPECT_STRCASEEQ(rtouom_table[t][uom - 1].name, name);
        }
    }
}

TEST_F(UomTest, LocateWithinAType) {
    EXPECT_EQ(ptype_locate("SQM", 1), 1);
    EXPECT_EQ(ptype_locate("FT", 138), 2);          // though the index maps FT to LENGTH
    EXPECT_EQ(ptype_locate("FT", 1), 0);
    EXPECT_EQ(ptype_locate("KG/SEC", 9), 1);        // located as MASS-FLOW, found in FLOW's list
    EXPECT_EQ(ptype_locate("KG/SEC", 10), 1);
    EXPECT_EQ(ptype_locate("$/SQFT", -1), 2);       // name without "$/" within AREA
    EXPECT_EQ(ptype_locate("$/SQFT", 54), 2);
    EXPECT_EQ(ptype_locate("PSIG", 93), 2);
    EXPECT_EQ(ptype_locate("PSIG", 500), 0);
    EXPECT_EQ(ptype_locate("psig", 20), 0);
    EXPECT_EQ(history_.text(), "!! rtouom_locate: Unable to locate a unit of measurement named: psig\n");
    int uom = -1;
    rtouom_ptype_locate2("psig", 20, &uom);
    EXPECT_EQ(uom, 0);
    EXPECT_EQ(history_.text(), "");
}

TEST_F(UomTest, UnitAndTypeNames) {
    EXPECT_STREQ(rtouom_uom_name(20, 13), "PSIG");
    EXPECT_STREQ(rtouom_uom_name(20, 0), "N/SQM");
    EXPECT_STREQ(rtouom_uom_name(-5, 2), "$/BTU");
    EXPECT_STREQ(rtouom_uom_name(-29, 1), "$/$/KG");
    EXPECT_STREQ(rtouom_ptype_name(-13), "$/ENTHALPY-F");
    EXPECT_STREQ(rtouom_ptype_name(-5), "$/ENERGY");
    EXPECT_STREQ(rtouom_ptype_name(150), "bad_ptype");
    EXPECT_STREQ(rtouom_ptype_name(-149), "bad_ptype");
    EXPECT_STREQ(rtouom_ptype_name(RTOUOM_SI_MARKER), "bad_ptype");
    EXPECT_STREQ(rtouom_ptype_name(-2147483647 - 1), "bad_ptype");
    EXPECT_EQ(history_.text(), "");

    EXPECT_EQ(rtouom_uom_name(20, 38), nullptr);
    EXPECT_EQ(rtouom_uom_name(20, -1), nullptr);
    EXPECT_EQ(rtouom_uom_name(149, 1), nullptr);
    EXPECT_EQ(history_.text(),
              "!! rtouom_uom_name: Unit index is out of bounds (38).\n"
              "!! rtouom_uom_name: Unit index is out of bounds (-1).\n"
              "!! rtouom_uom_name: Physical type is out of bounds (149).\n");

    // a price name keeps at most 30 characters of the unit name
    const std::string long_name(32, 'Q');
    ASSERT_EQ(rtouom_add_uom(long_name.c_str(), 1, 2.0, 0), 8);
    EXPECT_EQ(std::string(rtouom_uom_name(-1, 8)), "$/" + long_name.substr(0, 30));
    EXPECT_EQ(std::string(rtouom_uom_name(1, 8)), long_name);
}

TEST_F(UomTest, UnitInformation) {
    double mult = -1, offset = -1;
    char name[40];
    rtouom_inq_info_c(22, 2, &mult, &offset, name);
    EXPECT_STREQ(name, "F");
    EXPECT_EQ(mult, 0.555555555555556);
    EXPECT_EQ(offset, 255.372222222222);
    rtouom_inq_info_c(-1, 2, &mult, &offset, name);
    EXPECT_STREQ(name, "$/SQFT");
    EXPECT_NEAR(mult, 10.7639104167097, 1e-13);
    EXPECT_EQ(offset, 0.0);
    EXPECT_EQ(history_.text(), "");
    rtouom_inq_info_c(22, 99, &mult, &offset, name);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(mult, 0.0);
    EXPECT_EQ(offset, 0.0);
    EXPECT_EQ(history_.text(), "!! rtouom_inq_info_c: Unit index is out of bounds (99).\n");

    char field[20];
    std::memset(field, '#', sizeof field);
    rtouom_inq_info_4a4_c(20, 28, &mult, &offset, field);
    EXPECT_EQ(std::string(field, 20), "IN-WATER-60F    ####");
    rtouom_inq_info_4a4_c(10, 49, &mult, &offset, field);   // MML-TONS/OPER-YEAR, 18 characters
    EXPECT_EQ(std::string(field, 20), "MML-TONS/OPER-YE####");
    EXPECT_EQ(offset, -99999.0);
    rtouom_inq_info_4a4_c(500, 1, &mult, &offset, field);
    EXPECT_EQ(std::string(field, 20), std::string(16, ' ') + "####");
    EXPECT_EQ(history_.text(), "!! rtouom_inq_info_c: Physical type is out of bounds (500).\n");

    const char *text = nullptr;
    EXPECT_STREQ(rtouom_uom_info(-5, 2, &mult, &offset, &text), "$/BTU");
    EXPECT_STREQ(text, "$/BTU");
    EXPECT_DOUBLE_EQ(mult, 1 / 1055.05585262);
    EXPECT_EQ(rtouom_uom_info(5, 17, &mult, &offset, &text), nullptr);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(mult, 0.0);
    EXPECT_EQ(history_.text(), "!! rtouom_uom_info: Unit index is out of bounds (17).\n");
}

TEST_F(UomTest, UnitLists) {
    char **list = nullptr;
    ASSERT_EQ(rtouom_get_uomlist(-29, &list), 9);
    ASSERT_NE(list, nullptr);
    EXPECT_STREQ(list[0], "$/$/KG");
    EXPECT_STREQ(list[8], "$/$/MMLB");
    EXPECT_EQ(list[9], nullptr);
    rtouom_destroy_uomlist(list);
    ASSERT_EQ(rtouom_get_uomlist(20, &list), 37);
    EXPECT_STREQ(list[12], "PSIG");
    EXPECT_EQ(list[37], nullptr);
    list[0][0] = 'x';  // private copies: the table is not touched
    EXPECT_STREQ(rtouom_uom_name(20, 1), "N/SQM");
    rtouom_destroy_uomlist(list);
    EXPECT_EQ(history_.text(), "");

    list = reinterpret_cast<char **>(&list);
    EXPECT_EQ(rtouom_get_uomlist(149, &list), -1);
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(history_.text(), "!! rtouom_get_uomlist: Physical type is out of bounds (149).\n");
    zarn::test::StderrCapture err;
    EXPECT_EQ(rtouom_get_uomlist(20, nullptr), -1);
    EXPECT_NE(err.text().find("Assertion 'rtouom_get_uomlist' failed in source/rtuom/rtuom:"), std::string::npos);
    rtouom_destroy_uomlist(nullptr);
}

TEST_F(UomTest, PredefinedUnitsAndDefaults) {
    EXPECT_EQ(rtouom_predefined(20, 37), 1);
    EXPECT_EQ(rtouom_predefined(20, 38), 0);
    EXPECT_EQ(rtouom_predefined(20, 0), 0);
    EXPECT_EQ(rtouom_predefined(-20, 2), 1);
    EXPECT_EQ(rtouom_force_predefined_units(20, 5), 5);
    EXPECT_EQ(rtouom_force_predefined_units(20, 38), 1);
    EXPECT_EQ(rtouom_force_predefined_units(20, -4), 1);
    ASSERT_EQ(rtouom_add_uom("SQKM", 1, 1e6, 0), 8);
    EXPECT_EQ(rtouom_predefined(1, 8), 0);
    EXPECT_EQ(rtouom_force_predefined_units(1, 8), 1);
    EXPECT_EQ(history_.text(), "");
    EXPECT_EQ(rtouom_predefined(200, 1), 0);
    EXPECT_EQ(rtouom_force_predefined_units(-200, 3), 1);
    EXPECT_EQ(history_.text(),
              "!! rtouom_force_predefined_units: Physical type is out of bounds (200).\n"
              "!! rtouom_force_predefined_units: Physical type is out of bounds (-200).\n");

    EXPECT_EQ(rtouom_get_default(20), 1);
    EXPECT_EQ(rtouom_get_default(-20), 0);
    EXPECT_EQ(rtouom_get_default(149), 0);
    EXPECT_EQ(rtouom_set_default(20, 3), 2);
    EXPECT_EQ(rtouom_get_default(20), 3);
    EXPECT_EQ(rtouom_set_default(20, 38), 37);  // above the count: unchanged
    EXPECT_EQ(rtouom_set_default(20, 0), -1);   // below 1: unchanged
    EXPECT_EQ(rtouom_get_default(20), 3);
    EXPECT_EQ(history_.text(), "");
    EXPECT_EQ(rtouom_set_default(149, 1), -1);
    EXPECT_EQ(history_.text(), "!!! rtouom_set_default: physical type out of bounds 149\n");
    // defaults and the strict-checking flag survive a rebuild
    rtouom_strict_uom_checking = 1;
    RTOUOM_RESET_UOM_F();
    EXPECT_EQ(rtouom_strict_uom_checking, 1);
    rtouom_strict_uom_checking = 0;
    EXPECT_EQ(rtouom_get_default(20), 3);
    EXPECT_STREQ(rtouom_uom_name(20, 0), "ATM");
    // a default that named a user unit outlives it; conversions then refuse index 0
    ASSERT_EQ(rtouom_add_uom("SQKM", 1, 1e6, 0), 8);
    EXPECT_EQ(rtouom_set_default(1, 8), 7);
    EXPECT_EQ(rtouom_pair2si(2, 1, 0), 2e6);
    RTOUOM_RESET_UOM_F();
    EXPECT_EQ(rtouom_get_default(1), 8);
    EXPECT_EQ(history_.text(), "");
    EXPECT_EQ(rtouom_pair2si(2, 1, 0), 2.0);
    EXPECT_EQ(rtouom_uom_name(1, 0), nullptr);
    EXPECT_EQ(history_.text(),
              "!! rtouom_pair2si: Unit index is out of bounds (0).\n"
              "!! rtouom_uom_name: Unit index is out of bounds (0).\n");
}

}  // namespace
