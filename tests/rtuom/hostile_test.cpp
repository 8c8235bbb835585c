// Every message of the units module, and every exported entry (the Fortran ones through their
// C signatures) called with the boundaries and extremes a careless caller passes.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

#include "uom_fixture.h"

namespace {

using namespace zarn::rtuom;
using zarn::test::Row;
using zarn::test::run_rows;
using zarn::test::says;
using zarn::test::UomTest;

std::string nf(const char *fn, const std::string &name) {
    return std::string("!! rtouom_") + fn + ": Unable to locate a unit of measurement named: " + name + "\n";
}
std::string unbuilt(const char *fn) {
    return std::string("!! rtouom_") + fn + ": UOM table has not been initialized.\n";
}
std::string setdef(int v) {
    return "!!! rtouom_set_default: physical type out of bounds " + std::to_string(v) + "\n";
}

TEST_F(UomTest, MessagesAndHostileCallers) {
    const int I = INT_MIN, X = INT_MAX;
    const std::vector<int> BT{I, -149, 149, X}, BU{I, -1, 38, X},
        TU{6, X};  // BU: PRESSURE has 37, TU: TEMPERATURE 5
    const std::vector<int64_t> B64{LLONG_MIN, LLONG_MAX};
    const int64_t p20 = kPressure, one = 1, LMIN = LLONG_MIN, LMAX = LLONG_MAX;
    const std::string huge(100000, 'A'), name33(33, 'X');
    const char *L = huge.c_str(), *name = "x";
    int t = -1, u = -1;
    int64_t t8 = -1, u8 = -1;
    double m = -1, o = -1, value = 0;
    const double minus1 = -1;
    long long out = -1;
    char **list = nullptr;
    char info_name[RTOUOM_MAX_NAME + 1] = "";
    rtopipe *pipe = create_queue_rtopipe();
    const Row conversions[] = {
        {"pair2si: type out of bounds", BT, [](int v) { return rtouom_pair2si(4.25, v, 1); }, "4.250000",
         says("pair2si", 'T', BT)},
        {"si2pair: unit out of bounds", BU, [](int v) { return rtouom_si2pair(4.25, kPressure, v); },
         "4.250000", says("si2pair", 'U', BU)},
        {"delta_pair2si: price type, unit out of bounds", BU,
         [](int v) { return rtouom_delta_pair2si(4.25, -kPressure, v); }, "4.250000",
         says("delta_pair2si", 'U', BU)},
        {"delta_si2pair: type out of bounds", BT, [](int v) { return rtouom_delta_si2pair(4.25, v, 0); },
         "4.250000", says("delta_si2pair", 'T', BT)},
        {"rconv1: type out of bounds", BT,
         [&](int v) {
             rtouom_rconv1(v, 1, 5, &value, &name);
             return std::pair(value, name);
         },
         "5.000000/null", says("rconv1", 'T', BT)},
        {"rconv1: temperature unit out of bounds", TU,
         [&](int v) {
             rtouom_rconv1(kTemperature, v, 5, &value, &name);
             return std::pair(value, name);
         },
         "5.000000/null", says("rconv1", 'U', TU)},
        {"delta_rconv1: unit out of bounds, no outputs",
         [&] { rtouom_delta_rconv1(kPressure, X, 5, nullptr, nullptr); }, "-",
         says("delta_rconv1", 'U', {X})},
        {"rconv1: dummy type with no units",
         [&] {
             rtouom_count[kUsrDummy0] = 0;
             rtouom_rconv1(kUsrDummy0, 0, 5, &value, &name);
             rtouom_count[kUsrDummy0] = 1;
             return value;
         },
         "5.000000", "!! rtouom_rconv1: There are no UOMs defined for physical type 90.\n"},
        {"uu2si: null unit name", [&] { return rtouom_uu2si(1, nullptr, nullptr); }, "1.000000",
         nf("uu2si", "")},
        {"si2uu: bare price prefix, overlong name",
         [&] {
             rtouom_si2uu(6, &t, "$/");
             rtouom_si2uu(1, &t, L);
             return t;
         },
         "0", nf("si2uu", "$/") + nf("si2uu", "AAAA*")},
    };
    const Row lookups[] = {
        {"pt_lookup: overlong, doubled and null names",
         [&] {
             return std::pair(pt_lookup(L), PT_LOOKUP_F("PRESSUREPRESSURE", 16) + PT_LOOKUP_F(nullptr, 0));
         },
         "-1/-2", ""},
        {"locate: null name; locate2: overlong name",
         [&] {
             rtouom_locate(nullptr, nullptr, nullptr);
             rtouom_locate2(L, &t, &u);
             return std::pair(t, u);
         },
         "0/0", nf("locate", "")},
        {"locate: an unknown name holding conversions is printed as it is",
         [&] {
             rtouom_locate("A%dB%s", &t, &u);
             return std::pair(t, u);
         },
         "0/0", nf("locate", "A%dB%s")},
        {"ptype_locate: bad type, unknown name, null name",
         [&] {
             int bad_type = -7, unknown = -7;
             rtouom_ptype_locate("PSIG", I, &bad_type);
             rtouom_ptype_locate2("*", -1, &unknown);
             rtouom_ptype_locate(nullptr, 1, nullptr);
             return std::pair(bad_type, unknown);
         },
         "0/0", nf("locate", "")},
        {"uom_name: type out of bounds", BT, [](int v) { return rtouom_uom_name(v, 1); }, "null",
         says("uom_name", 'T', BT)},
        {"uom_name: unit out of bounds", BU, [](int v) { return rtouom_uom_name(kPressure, v); }, "null",
         says("uom_name", 'U', BU)},
        {"ptype_name: type out of bounds", BT, [](int v) { return rtouom_ptype_name(v); }, "\"bad_ptype\"",
         ""},
        {"inq_info_c: unit out of bounds, no outputs",
         [&] { rtouom_inq_info_c(kPressure, X, nullptr, nullptr, nullptr); }, "-",
         says("inq_info_c", 'U', {X})},
        {"inq_info_4a4_c: type out of bounds",
         [&] { rtouom_inq_info_4a4_c(I, 1, nullptr, nullptr, nullptr); }, "-", says("inq_info_c", 'T', {I})},
        {"uom_info: unit out of bounds",
         [&] { return rtouom_uom_info(kPressure, I, nullptr, nullptr, nullptr); }, "null",
         says("uom_info", 'U', {I})},
        {"get_uomlist: bad type, no list pointer",
         [&] {
             rtouom_destroy_uomlist(nullptr);
             return std::pair(rtouom_get_uomlist(I, &list), rtouom_get_uomlist(1, nullptr));
         },
         "-1/-1", says("get_uomlist", 'T', {I})},
        {"predefined: type or unit out of bounds", BT,
         [](int v) { return rtouom_predefined(v, 1) * 10 + rtouom_predefined(kPressure, v); }, "0",
         says("force_predefined_units", 'T', BT)},
        {"force_predefined_units: largest type", [&] { return rtouom_force_predefined_units(X, X); }, "1",
         says("force_predefined_units", 'T', {X})},
    };
    const Row defaults_and_units[] = {
        {"get_default: type out of bounds", BT, [](int v) { return rtouom_get_default(v); }, "0", ""},
        {"set_default: type out of bounds", BT, [](int v) { return rtouom_set_default(v, 1); }, "-1",
         setdef(I) + setdef(-149) + setdef(149) + setdef(X)},
        {"add_uom: null name", [&] { return rtouom_add_uom(nullptr, kPressure, 1, 0); }, "0",
         "!! rtouom_add_uom: a unit of measurement needs a name.\n"},
        {"add_uom: 100000-character name", [&] { return rtouom_add_uom(L, kPressure, 1, 0); }, "0",
         "!! rtouom_add_uom: unit name {AAAA*\n"},
        {"add_uom: 33-character name", [&] { return rtouom_add_uom(name33.c_str(), kArea, 1, 0); }, "0",
         "!! rtouom_add_uom: unit name {" + name33 + "} exceeds the maximum of 32.\n"},
        {"add_uom: 32-character name accepted and read back whole",
         [&] {
             const int index = rtouom_add_uom(name33.c_str() + 1, kArea, 1, 0);
             rtouom_inq_info_c(kArea, index, nullptr, nullptr, info_name);
             return std::pair(index, static_cast<const char *>(info_name));
         },
         "8/\"" + name33.substr(1) + "\"", "", true},
        {"add_uom: type out of bounds", BT, [](int v) { return rtouom_add_uom("X", v, 1, 0); }, "0",
         says("add_uom", 'T', BT)},
        {"add_uom: built-in name", [&] { return rtouom_add_uom("SQFT", kArea, 1, 0); }, "0",
         "!! rtouom_add_uom: A unit of measurement named: SQFT already exists\n"},
        {"add_uom: same new name twice",
         [&] {
             u = rtouom_add_uom("TWICE", kLength, 2, 0);
             return std::pair(u, rtouom_add_uom("TWICE", kLength, 2, 0));
         },
         "13/0", "!! rtouom_add_uom: A unit of measurement named: TWICE already exists\n", true},
        {"modify_mult_offset: bad type, overlong name",
         [&] {
             return std::pair(rtouom_modify_mult_offset(I, "HR", 1, 0),
                              rtouom_modify_mult_offset(kTime, L, 1, 0));
         },
         "0/0", says("modify_mult_offset", 'T', {I})},
        {"print: no pipe, type and unit out of bounds",
         [&] {
             rtouom_print_header(nullptr);
             rtouom_print_uom(pipe, I, 1);
             rtouom_print_uom(nullptr, kPressure, X);
         },
         "-", says("print_uom", 'T', {I}) + says("print_uom", 'U', {X})},
        {"ptype_equal: smallest type",
         [&] { return std::pair(rtouom_ptype_equal(I, I), rtouom_ptype_equal(I, -1)); }, "1/0", ""},
        {"ptype_add and ptype_sub: extreme types",
         [&] {
             rtouom_ptype_add(I, -kEnergy, &out);
             return out + rtouom_ptype_add(I, I, nullptr) + rtouom_ptype_sub(X, X, nullptr);
         },
         "2", ""},
        {"delta_ptype: type out of bounds is kept", BT, [](int v) { return rtouom_delta_ptype(v) == v; }, "1",
         ""},
    };
    // after a destroy every entry says so (the SI-to-unit ones go on to their other checks)
    const Row unbuilt_table[] = {
        {"pair2si after two destroys",
         [&] {
             pt_destroy_units_table();
             pt_destroy_units_table();
             return rtouom_pair2si(2, kPressure, 13);
         },
         "2.000000", unbuilt("pair2si"), true},
        {"si2pair after a destroy: known and bad type",
         [&] {
             pt_destroy_units_table();
             value = rtouom_si2pair(2.5, kPressure, 13);
             return value + rtouom_si2pair(2.5, -182, 13);
         },
         "5.000000", unbuilt("si2pair") + says("si2pair", 'U', {13}) + unbuilt("si2pair"), true},
        {"uu2si and rconv1 after a destroy",
         [&] {
             pt_destroy_units_table();
             rtouom_uu2si(2.5, &t, "PSIG");
             rtouom_rconv1(20, 2, 9, &value, &name);
             return std::pair(t, name);
         },
         "0/null", unbuilt("uu2si") + unbuilt("rconv1"), true},
        {"locate2 and modify_mult_offset after a destroy",
         [&] {
             pt_destroy_units_table();
             rtouom_locate2("PSIG", &t, nullptr);
             return rtouom_modify_mult_offset(kTime, "HR", 1, 0) + t;
         },
         "0", unbuilt("locate") + unbuilt("uu2si"), true},
        {"uom_name after a destroy",
         [&] {
             pt_destroy_units_table();
             return rtouom_uom_name(kPressure, 1);
         },
         "null", unbuilt("uom_name"), true},
        {"add_uom and get_uomlist after a destroy",
         [&] {
             pt_destroy_units_table();
             return rtouom_add_uom("X", kPressure, 1, 0) + rtouom_get_uomlist(kPressure, &list);
         },
         "0", unbuilt("add_uom"), true},
    };
    // the Fortran entries: 64-bit extremes clamp to +-INT_MAX, absent arguments read as 0
    const Row fortran_entries[] = {
        {"PAIR2SI_F: extreme types, absent arguments", B64,
         [&](int64_t v) {
             return RTOUOM_PAIR2SI_F(&minus1, &v, &one) + RTOUOM_PAIR2SI_F(nullptr, nullptr, nullptr);
         },
         "-1.000000", says("pair2si", 'T', {-X, X})},
        {"SI2PAIR_F: extreme units", B64, [&](int64_t v) { return RTOUOM_SI2PAIR_F(nullptr, &p20, &v); },
         "0.000000", says("si2pair", 'U', {-X, X})},
        {"DELTA_PAIR2SI_F: largest type", [&] { return RTOUOM_DELTA_PAIR2SI_F(nullptr, &LMAX, nullptr); },
         "0.000000", says("delta_pair2si", 'T', {X})},
        {"DELTA_SI2PAIR_F: smallest unit", [&] { return RTOUOM_DELTA_SI2PAIR_F(nullptr, &p20, &LMIN); },
         "0.000000", says("delta_si2pair", 'U', {-X})},
        {"DEF_RCONV1_F: largest type, no outputs",
         [&] { RTOUOM_DEF_RCONV1_F(&LMAX, nullptr, nullptr, nullptr, 0); }, "-", says("rconv1", 'T', {X})},
        {"LOCATE_F: absent arguments, unknown name",
         [&] {
             RTOUOM_LOCATE_F(nullptr, nullptr, nullptr, 0);
             RTOUOM_LOCATE_F("PSIGPSIG", &t8, &u8, 8);
             return std::pair(t8, u8);
         },
         "0/0", nf("locate", "") + nf("locate", "PSIGPSIG")},
        {"PTYPE_LOCATE_F: overlong name, smallest type",
         [&] {
             RTOUOM_PTYPE_LOCATE_F(L, &LMIN, &u8, huge.size());
             return u8;
         },
         "0", nf("locate", "AAAA*")},
        {"PTYPE_ADD_F largest, PTYPE_SUB_F absent",
         [&] {
             return std::pair(RTOUOM_PTYPE_ADD_F(&LMAX, &LMAX, nullptr),
                              RTOUOM_PTYPE_SUB_F(nullptr, nullptr, nullptr));
         },
         "1/1", ""},
        {"INQ_INFO smallest unit, INQ_INFO_4A4 absent",
         [&] {
             RTOUOM_INQ_INFO(&p20, &LMIN, nullptr, nullptr, nullptr, 0);
             RTOUOM_INQ_INFO_4A4(nullptr, nullptr, nullptr, nullptr, nullptr);
         },
         "-", says("inq_info_c", 'U', {-X})},
        {"UOM_INFO_F: largest type, SI assumed",
         [&] {
             RTOUOM_UOM_INFO_F(&LMAX, &one, &m, &o);
             return std::pair(m, o);
         },
         "1.000000/0.000000",
         says("uom_info", 'T', {X}) + "BaseUom of the variable is invalid. Assume SI \n"},
        {"ADD_UOM2_F: absent arguments",
         [&] { return RTOUOM_ADD_UOM2_F(nullptr, nullptr, nullptr, nullptr, nullptr, 0); }, "0",
         "!! rtouom_add_uom: a unit of measurement needs a name.\n"},
        {"ADD_UOM3_F: unterminated 40-character name",
         [&] {
             return RTOUOM_ADD_UOM3_F("AN-UNTERMINATED-FIELD-OF-FORTY-CHARACTERS", &p20, nullptr, nullptr,
                                      &one, &one, 40);
         },
         "0",
         "!! rtouom_add_uom: unit name {AN-UNTERMINATED-FIELD-OF-FORTY-CHARACTER} exceeds the maximum of "
         "32.\n"},
        {"ADD_UOM2_F: largest type",
         [&] { return RTOUOM_ADD_UOM2_F("X", &LMAX, nullptr, nullptr, nullptr, 1); }, "0",
         says("add_uom", 'T', {X})},
        {"two resets, ambient pressure absent then put back",
         [&] {
             RTOUOM_RESET_UOM_F();
             RTOUOM_RESET_UOM_F();
             RTOUOM_MODIFY_P_AMB_F(nullptr);
             rtouom_modify_p_amb(101325);
             return rtouom_pair2si(0, kPressure, 13);
         },
         "101325.000000", ""},
        {"MODIFY_MULT_OFFSET_F: smallest type",
         [&] { return RTOUOM_MODIFY_MULT_OFFSET_F(&LMIN, nullptr, nullptr, nullptr, 0); }, "0",
         says("modify_mult_offset", 'T', {-X})},
    };
    zarn::test::StderrCapture err;
    run_rows(conversions, history_);
    run_rows(lookups, history_);
    run_rows(defaults_and_units, history_);
    run_rows(unbuilt_table, history_);
    run_rows(fortran_entries, history_);
    rtouom_destroy_uomlist(list);
    const std::string stderr_text = err.text();  // the null-list assertion, and the header with no pipe
    EXPECT_NE(stderr_text.find("Assertion 'rtouom_get_uomlist' failed in source/rtuom/rtuom:"),
              std::string::npos);
    EXPECT_NE(stderr_text.find(" P/U Multiplier"), std::string::npos);
    rtodestroy(pipe);
}

}  // namespace
