// Conversions, lookups, user units, defaults and printing of the units table.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "rtuom/rtuom_ambient.h"
#include "uom_fixture.h"

namespace {

using namespace zarn::rtuom;
using zarn::test::UomTest;
using P = std::pair<int, int>;

constexpr double kF = 0.555555555555556, kBtu = 1055.05585262, kSqft = 10.7639104167097;

P at(const char *name) {
    int p = -1, u = -1;
    rtouom_locate(name, &p, &u);
    return {p, u};
}
int in(const char *name, int ptype) {
    int u = -1;
    rtouom_ptype_locate2(name, ptype, &u);
    return u;
}

TEST_F(UomTest, PairConversionsBothWaysAndForDifferences) {
    const struct {
        double (*fn)(double, int, int);
        double v;
        int t, u;
        double want;
    } cases[] = {{rtouom_si2pair, 0, kTemperature, 4, -273.15},
                 {rtouom_pair2si, 10, kPressure, 26, 101325 - 1333.22368421053},
                 {rtouom_pair2si, 3, kPressure, 0, 3},
                 {rtouom_pair2si, 1, -kTemperature, 2, 1 / kF},
                 {rtouom_pair2si, 1, -kArea, 2, kSqft},
                 {rtouom_si2pair, kSqft, -kArea, 2, 1},
                 {rtouom_pair2si, 1, kAreaPrice, 2, kSqft},
                 {rtouom_delta_pair2si, 2, -kEnergy, 2, 2 / kBtu},
                 {rtouom_delta_si2pair, 2, -kEnergy, 2, 2 * kBtu}};
    for (const auto &c : cases)
        EXPECT_NEAR(c.fn(c.v, c.t, c.u), c.want, 1e-12 * std::max(1.0, std::fabs(c.want)));
    for (auto fn : {rtouom_pair2si, rtouom_si2pair, rtouom_delta_pair2si, rtouom_delta_si2pair})
        EXPECT_EQ(fn(7.5, RTOUOM_SI_MARKER, 12345) + fn(7.5, RTOUOM_SSI_MARKER, -1), 15);
    double value = 0;
    const char *name = nullptr;
    rtouom_delta_rconv1(-kEnergy, 2, 1.0, &value, &name);
    EXPECT_EQ(std::to_string(value) + name, "1055.055853$/BTU");
    ASSERT_EQ(rtouom_set_default(kTemperature, 4), 3);
    rtouom_rconv1(kTemperature, -7, 274.15, &value, &name);  // any index <= 0 is the default
    EXPECT_EQ(std::to_string(value) + name + history_.text(), "1.000000C");
}

TEST_F(UomTest, LookupsByName) {
    const struct {
        const char *name;
        int ptype, uom;
    } located[] = {{"KG/SEC", kMassFlow, 1},
                   {"MCFH", kFlow, 7},
                   {"J/KG", kMassEnthalp, 1},
                   {"BTU/LBMOL", kMoleEnthalp, 2},
                   {"KG/CUM", kMassDensity, 1},
                   {"LB/BBL", kDensity, 7},
                   {"$/BTU", kEnergyPrice, 2},
                   {"$/FT", -kLength, 2},
                   {"$/KG/SEC", -kFlow, 1},
                   {"*", kUntyped, 1},
                   {"kg/sec", 0, 0},
                   {"$/NOPE", 0, 0}},
      within[] = {{"FT", kShortLength, 2}, {"FT", kArea, 0},          {"KG/SEC", kFlow, 1},
                  {"$/SQFT", -kArea, 2},   {"$/SQFT", kAreaPrice, 2}, {"PSIG", kDesignPres, 2},
                  {"psig", kPressure, 0}};
    for (const auto &f : located) EXPECT_EQ(at(f.name), P(f.ptype, f.uom)) << f.name;
    for (const auto &f : within) EXPECT_EQ(in(f.name, f.ptype), f.uom) << f.name << " in " << f.ptype;
    EXPECT_EQ(history_.text(),
              "!! rtouom_locate: Unable to locate a unit of measurement named: kg/sec\n"
              "!! rtouom_locate: Unable to locate a unit of measurement named: $/NOPE\n");
    EXPECT_DOUBLE_EQ(rtouom_uu2siGivenAPhysicalType(10, "SHORT-LENGTH", "FT"), 3.048);
    EXPECT_NEAR(rtouom_si2uuGivenAPhysicalType(273.15, "TEMPERATURE", "F"), 32, 1e-12);
    EXPECT_EQ(rtouom_uu2siGivenAPhysicalType(5, "PRESSURE", "FT"), 5.0);  // not listed: the default unit
    int t = 0, t2 = 0;  // by name: the index directly, without re-resolution
    EXPECT_EQ(std::pair(rtouom_uu2si(2, &t, "KG/SEC"), rtouom_si2uu(1, &t2, "$/FT")), std::pair(2.0, 0.3048));
    EXPECT_EQ(P(t, t2), P(kFlow, -kLength));
    EXPECT_EQ(history_.text(), "");
}

TEST_F(UomTest, NamesInformationListsAndPrinting) {
    const std::string q32(32, 'Q');
    ASSERT_EQ(rtouom_add_uom(q32.c_str(), kArea, 2.0, 0), 8);
    EXPECT_EQ(rtouom_uom_name(-kArea, 8), "$/" + q32.substr(0, 30));  // one at a time: a shared buffer
    EXPECT_EQ(std::string(rtouom_uom_name(kPressure, 0)) + rtouom_uom_name(-kUnitPrice, 1), "N/SQM$/$/KG");
    EXPECT_STREQ(rtouom_ptype_name(-kEnthalpyFlo), "$/ENTHALPY-F");
    double mult = -1, offset = -1;
    char name[40], field[20];
    rtouom_inq_info_c(-kArea, 2, &mult, &offset, name);
    EXPECT_EQ(std::string(name) + " " + std::to_string(mult) + " " + std::to_string(offset),
              "$/SQFT 10.763910 0.000000");
    std::memset(field, '#', sizeof field);
    rtouom_inq_info_4a4_c(kMassFlow, 49, &mult, &offset, field);  // MML-TONS/OPER-YEAR: 18 characters
    EXPECT_EQ(std::string(field, 20) + std::to_string(offset), "MML-TONS/OPER-YE####-99999.000000");
    rtouom_inq_info_4a4_c(kTemperature, 2, &mult, &offset, field);
    EXPECT_EQ(std::string(field, 17), "F               #");
    const char *text = nullptr;
    const std::string info = rtouom_uom_info(-kEnergy, 2, &mult, &offset, &text);
    EXPECT_EQ(info + text, "$/BTU$/BTU");
    char **list = nullptr;
    ASSERT_EQ(rtouom_get_uomlist(-kUnitPrice, &list), 9);
    EXPECT_EQ(std::string(list[0]) + " " + list[8] + (list[9] == nullptr ? " end" : ""),
              "$/$/KG $/$/MMLB end");
    rtouom_destroy_uomlist(list);
    ASSERT_EQ(rtouom_get_uomlist(0, &list), 1);
    EXPECT_STREQ(list[0], "*") << "the untyped unit, without a price prefix";
    rtouom_destroy_uomlist(list);
    // Only a price type's multiplier is the reciprocal: not an untyped unit's.
    const int dozen = rtouom_add_uom("DOZEN", 0, 12.0, 0);
    ASSERT_EQ(dozen, 2);
    rtouom_uom_info(0, dozen, &mult, &offset, &text);
    EXPECT_EQ(mult, 12.0) << "the multiplier of a user unit of UNTYPED";
    rtopipe *pipe = create_queue_rtopipe();
    rtouom_print_header(pipe);
    const std::string b12(12, ' '), e12(12, '=');
    EXPECT_EQ(zarn::test::drain(pipe),
              std::string(33, ' ') + "Physical        " + b12 + " " + b12 + "\nName" + std::string(29, ' ') +
                  "Type         P/U Multiplier   Offset      \n" + std::string(32, '=') + " " + e12 +
                  " === " + e12 + " " + e12 + "\n");
    for (P p : {P(kPressure, 13), P(kArea, 7), P(-kArea, 2), P(kArea, 8)})
        rtouom_print_uom(pipe, p.first, p.second);
    EXPECT_EQ(zarn::test::drain(pipe),
              "PSIG" + std::string(28, ' ') + " PRESSURE      P  6894.76      101325      \n" + "SQMM" +
                  std::string(28, ' ') + " AREA          P  1e-06        0           \n" + "$/SQFT" +
                  std::string(26, ' ') + " AREA          P  10.7639      0           \n" + q32 +
                  " AREA          U  2            0           \n");
    rtouom_table[kArea][0].ptype =
        kEnergy;  // an entry filed under the wrong type trips the check, and prints
    zarn::test::StderrCapture err;
    rtouom_print_uom(pipe, kArea, 1);
    rtouom_table[kArea][0].ptype = kArea;
    EXPECT_EQ(err.text().rfind(
                  "Assertion 'rtouom_print_uom: physical type mismatch' failed in source/rtuom/rtuom:", 0),
              0u);
    EXPECT_EQ(zarn::test::drain(pipe).substr(0, 4) + history_.text(), "SQM ");
    rtodestroy(pipe);
}

TEST_F(UomTest, UserUnitsAndTheIndex) {
    // The first append after a build: L/MIN, listed by VOLUME-FLOW and VOLUME-GFLOW, now names the latter's
    ASSERT_GT(rtouom_add_uom("CUM/WEEK", kVolumeGflow, 1.0 / 604800, 0), 0);
    EXPECT_EQ(at("L/MIN"), P(kVolumeGflow, 3)) << "L/MIN after an append to VOLUME-GFLOW";
    EXPECT_EQ(rtouom_add_uom("SQKM", kArea, 1e6, 0) * 10 + rtouom_npredefined[kArea], 87);
    EXPECT_EQ(rtouom_pair2si(2, kArea, 8), 2e6);
    EXPECT_EQ(rtouom_add_uom("FT", kArea, 0.5, 0),
              9);  // a name of another type: allowed, the index keeps LENGTH
    EXPECT_EQ(std::pair(at("SQKM"), at("FT")), std::pair(P(kArea, 8), P(kLength, 2)));
    // FLOW's equal type MASS-FLOW gets the unit too; its names now map to it directly
    EXPECT_EQ(rtouom_add_uom("KG/FORTNIGHT", kFlow, 1.0 / 1209600, 0), 46);
    int t = 0;
    rtouom_uu2si(1, &t, "KG/SEC");
    EXPECT_EQ(std::pair(t, at("KG/FORTNIGHT")), std::pair(int(kMassFlow), P(kMassFlow, 51)));
    // ENTHALPY's equal types get it unless they list the name already
    EXPECT_EQ(rtouom_add_uom("MJ/KG", kEnthalpy, 1e6, 0), 8);
    EXPECT_EQ(P(rtouom_count[kMoleEnthalp], rtouom_count[kMassEnthalp]), P(19, 12));
    // without the equal types; a name differing only in case is matched, the last one winning
    const int64_t mass_flow = kMassFlow, flow = kFlow, no = 0, yes = 1, area = kArea;
    const double one = 1, zero = 0, two = 2;
    EXPECT_EQ(RTOUOM_ADD_UOM2_F("kg/sec", &mass_flow, &one, &zero, &no, 6), 52);
    EXPECT_EQ(RTOUOM_ADD_UOM2_F("X/SEC", &flow, &one, &zero, &no, 5), 47);
    EXPECT_EQ(at("KG/SEC"), P(kMassFlow, 52));
    // without the check: a second SQFT, registered before the type's others
    EXPECT_EQ(RTOUOM_ADD_UOM3_F("SQFT", &area, &two, &zero, &yes, &yes, 4), 10);
    EXPECT_EQ(in("SQFT", kArea), 10);
    // a PRESSURE unit with an offset reaches PDROP, whose differences ignore the offset
    ASSERT_EQ(rtouom_add_uom("BARG2", kPressure, 1e5, 101325) * 100 + rtouom_count[kPdrop], 3821);
    EXPECT_EQ(rtouom_pair2si(1, kPdrop, 21), 1e5 + 101325);
    EXPECT_EQ(std::pair(rtouom_delta_pair2si(1, kPdrop, 21), rtouom_delta_si2pair(1e5, kPdrop, 21)),
              std::pair(1e5, 1.0));
    rtouom_modify_p_amb(90000);  // PRESSURE's copy follows the ambient, PDROP's does not
    EXPECT_EQ(std::pair(rtouom_pair2si(0, kPressure, 38), rtouom_pair2si(0, kPdrop, 21)),
              std::pair(90000.0, 101325.0));
    EXPECT_EQ(history_.text(), "");
    RTOUOM_RESET_UOM_F();  // user units go; built-in ones come back
    EXPECT_EQ(P(rtouom_count[kArea], in("SQKM", kArea)), P(7, 0));
}

TEST_F(UomTest, AmbientPressureMultipliersAndDefaults) {
    rtouom_modify_p_amb(100000);
    rtouom_modify_p_amb(90000);  // a second change moves what carries the current ambient
    ASSERT_EQ(rtouom_modify_mult_offset(kPressure, "ATMG", 101325, 1234), 1);
    rtouom_modify_p_amb(80000);
    const std::pair<int, double> at_zero[] = {{13, 80000}, {26, 80000}, {15, 80000}, {14, 1234}, {2, 0}};
    for (auto [uom, want] : at_zero) EXPECT_EQ(rtouom_pair2si(0, kPressure, uom), want) << uom;
    EXPECT_EQ(rtouom_pair2si(0, kDesignPres, 2), 0.0);
    RTOUOM_RESET_UOM_F();
    rtouom_modify_p_amb(95000);  // after a rebuild the ambient is the standard one again
    EXPECT_EQ(rtouom_pair2si(0, kPressure, 13), 95000.0);
    EXPECT_EQ(rtouom_modify_mult_offset(kTime, "hr", 3000, 0), 1);  // any case, the first of the name only
    EXPECT_EQ(std::pair(rtouom_pair2si(1, kTime, 2), rtouom_pair2si(1, kTime, 3)), std::pair(3000.0, 3600.0));
    EXPECT_EQ(
        rtouom_modify_mult_offset(kTime, "FORTNIGHT", 1, 0) + rtouom_modify_mult_offset(kTime, nullptr, 1, 0),
        0);
    // defaults: set within 1..count, survive rebuilds, may outlive the user unit they named
    for (P s : {P(38, 37), P(0, -1), P(37, 36), P(3, 2)})
        EXPECT_EQ(rtouom_set_default(kPressure, s.first), s.second);
    rtouom_strict_uom_checking = 1;
    RTOUOM_RESET_UOM_F();
    EXPECT_EQ(rtouom_strict_uom_checking + rtouom_get_default(kPressure) + rtouom_get_default(-kPressure), 4);
    rtouom_strict_uom_checking = 0;
    EXPECT_STREQ(rtouom_uom_name(kPressure, 0), "ATM");
    ASSERT_EQ(rtouom_add_uom("SQKM", kArea, 1e6, 0) * 10 + rtouom_set_default(kArea, 8), 87);
    EXPECT_EQ(std::pair(rtouom_pair2si(2, kArea, 0), rtouom_predefined(kArea, 8)), std::pair(2e6, 0));
    RTOUOM_RESET_UOM_F();
    EXPECT_EQ(rtouom_pair2si(2, kArea, 0), 2.0);
    EXPECT_EQ(rtouom_uom_name(kArea, 0), nullptr);
    EXPECT_EQ(history_.text(),
              "!! rtouom_pair2si: Unit index is out of bounds (0).\n!! rtouom_uom_name: Unit index is out of "
              "bounds (0).\n");
    // built-in units: 1..predefined count
    const int predefined[][3] = {
        {kPressure, 37, 1}, {kPressure, 38, 0}, {kPressure, 0, 0}, {-kPressure, 2, 1}};
    for (auto &p : predefined)
        EXPECT_EQ(rtouom_predefined(p[0], p[1]) * 100 + rtouom_force_predefined_units(p[0], p[1]),
                  p[2] ? 100 + p[1] : 1);
}

}  // namespace

namespace {

using zarn::test::UomTest;

// The ambient pressure is the table's own state, taken only finite; a unit's factors only finite,
// the multiplier non-zero. Each row: what it does, the ambient then (also 0 PSIG and 0 BARG in Pa), the
// messages.
TEST_F(UomTest, AmbientPressureAndFactorsStayFinite) {
    int psig = 0, barg = 0;
    rtouom_ptype_locate2("PSIG", kPressure, &psig);
    rtouom_ptype_locate2("BARG", kPressure, &barg);
    const std::string amb = "!! rtouom_modify_p_amb: the ambient pressure must be a finite number, not ";
    const std::string factors = ": a unit needs a finite non-zero multiplier and a finite offset, not ";
    const struct {
        const char *rule;
        std::function<void()> run;
        double ambient;
        std::string said;
    } rows[] = {
        {"units that carry the ambient follow it", [] { rtouom_modify_p_amb(90000); }, 90000, ""},
        {"an infinite ambient is refused", [] { rtouom_modify_p_amb(-HUGE_VAL); }, 101325, amb + "-inf.\n"},
        {"after a refusal the gauge units still follow",
         [] {
             rtouom_modify_p_amb(std::nan(""));
             rtouom_modify_p_amb(80000);
         },
         80000, amb + "nan.\n"},
        {"a zero multiplier is refused", [] { rtouom_modify_mult_offset(kPressure, "BARG", 0, 0); }, 101325,
         "!! rtouom_modify_mult_offset" + factors + "0 and 0.\n"},
        {"an infinite offset is refused", [] { rtouom_modify_mult_offset(kPressure, "PSIG", 1, HUGE_VAL); },
         101325, "!! rtouom_modify_mult_offset" + factors + "1 and inf.\n"},
        {"a new unit with a NaN multiplier is refused",
         [] { rtouom_add_uom("NANPA", kPressure, std::nan(""), 0); }, 101325,
         "!! rtouom_add_uom" + factors + "nan and 0.\n"},
    };
    for (const auto &r : rows) {
        RTOUOM_RESET_UOM_F();
        const int count = rtouom_count[kPressure];
        r.run();
        EXPECT_EQ(zarn::rtuom::ambient_pressure(), r.ambient) << r.rule;
        EXPECT_EQ(rtouom_pair2si(0, kPressure, psig), r.ambient) << r.rule << ": 0 PSIG";
        EXPECT_EQ(rtouom_pair2si(0, kPressure, barg), r.ambient) << r.rule << ": 0 BARG";
        EXPECT_EQ(rtouom_count[kPressure], count) << r.rule;
        EXPECT_EQ(history_.text(), r.said) << r.rule;
    }
}

}  // namespace
