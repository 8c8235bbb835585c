// Every message of the units module, and every exported entry (the Fortran ones through their
// C signatures) called with the boundaries and extremes a careless caller passes: one row per
// entry, the result, the exact history text, and no damage to the table unless the row says so.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

#include "uom_fixture.h"

namespace {

using namespace zarn::rtuom;
using zarn::test::each;
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
    rtopipe *pipe = create_queue_rtopipe();
    const zarn::test::Row rows[] = {
        ROW(each(BT, [](int v) { return rtouom_pair2si(4.25, v, 1); }), "4.250000", says("pair2si", 'T', BT)),
        ROW(each(BU, [](int v) { return rtouom_si2pair(4.25, kPressure, v); }), "4.250000",
            says("si2pair", 'U', BU)),
        ROW(each(BU, [](int v) { return rtouom_delta_pair2si(4.25, -kPressure, v); }), "4.250000",
            says("delta_pair2si", 'U', BU)),
        ROW(each(BT, [](int v) { return rtouom_delta_si2pair(4.25, v, 0); }), "4.250000",
            says("delta_si2pair", 'T', BT)),
        ROW(each(BT, [&](int v) { return rtouom_rconv1(v, 1, 5, &value, &name), std::pair(value, name); }),
            "5.000000/null", says("rconv1", 'T', BT)),
        ROW(each(TU,
                 [&](int v) {
                     return rtouom_rconv1(kTemperature, v, 5, &value, &name), std::pair(value, name);
                 }),
            "5.000000/null", says("rconv1", 'U', TU)),
        ROW(V(rtouom_delta_rconv1(kPressure, X, 5, nullptr, nullptr)), "-", says("delta_rconv1", 'U', {X})),
        ROW((rtouom_count[kUsrDummy0] = 0, rtouom_rconv1(kUsrDummy0, 0, 5, &value, &name),
             rtouom_count[kUsrDummy0] = 1, value),
            "5.000000", "!! rtouom_rconv1: There are no UOMs defined for physical type 90.\n"),
        ROW(rtouom_uu2si(1, nullptr, nullptr), "1.000000", nf("uu2si", "")),
        ROW((rtouom_si2uu(6, &t, "$/"), rtouom_si2uu(1, &t, L), t), "0",
            nf("si2uu", "$/") + nf("si2uu", "AAAA*")),
        ROW(rtouom_uu2siGivenAPhysicalType(3, nullptr, nullptr) + rtouom_si2uuGivenAPhysicalType(3, L, L),
            "6.000000", ""),
        ROW(std::pair(pt_lookup(L), PT_LOOKUP_F("PRESSUREPRESSURE", 16) + PT_LOOKUP_F(nullptr, 0)), "-1/-2",
            ""),
        ROW((rtouom_locate(nullptr, nullptr, nullptr), rtouom_locate2(L, &t, &u), std::pair(t, u)), "0/0",
            nf("locate", "")),
        ROW((rtouom_ptype_locate("PSIG", I, &u), rtouom_ptype_locate2("*", -1, &u),
             rtouom_ptype_locate(nullptr, 1, nullptr), u),
            "0", nf("locate", "")),
        ROW(each(BT, [](int v) { return rtouom_uom_name(v, 1); }), "null", says("uom_name", 'T', BT)),
        ROW(each(BU, [](int v) { return rtouom_uom_name(kPressure, v); }), "null", says("uom_name", 'U', BU)),
        ROW(each(BT, [](int v) { return rtouom_ptype_name(v); }), "\"bad_ptype\"", ""),
        ROW(V(rtouom_inq_info_c(kPressure, X, nullptr, nullptr, nullptr)), "-", says("inq_info_c", 'U', {X})),
        ROW(V(rtouom_inq_info_4a4_c(I, 1, nullptr, nullptr, nullptr)), "-", says("inq_info_c", 'T', {I})),
        ROW(rtouom_uom_info(kPressure, I, nullptr, nullptr, nullptr), "null", says("uom_info", 'U', {I})),
        ROW((rtouom_destroy_uomlist(nullptr),
             std::pair(rtouom_get_uomlist(I, &list), rtouom_get_uomlist(1, nullptr))),
            "-1/-1", says("get_uomlist", 'T', {I})),
        ROW(each(BT, [](int v) { return rtouom_predefined(v, 1) * 10 + rtouom_predefined(kPressure, v); }),
            "0", says("force_predefined_units", 'T', BT)),
        ROW(rtouom_force_predefined_units(X, X), "1", says("force_predefined_units", 'T', {X})),
        ROW(each(BT, [](int v) { return rtouom_get_default(v); }), "0", ""),
        ROW(each(BT, [](int v) { return rtouom_set_default(v, 1); }), "-1",
            setdef(I) + setdef(-149) + setdef(149) + setdef(X)),
        ROW(std::pair(rtouom_set_default(kPressure, I), rtouom_set_default(kPressure, X)), "-1/37", ""),
        ROW(rtouom_add_uom(nullptr, kPressure, 1, 0), "0",
            "!! rtouom_add_uom: a unit of measurement needs a name.\n"),
        ROW(rtouom_add_uom(L, kPressure, 1, 0), "0", "!! rtouom_add_uom: unit name {AAAA*\n"),
        ROW(rtouom_add_uom(name33.c_str(), kArea, 1, 0), "0",
            "!! rtouom_add_uom: unit name {" + name33 + "} exceeds the maximum of 32.\n"),
        ROW(rtouom_add_uom(name33.c_str() + 1, kArea, 1, 0), "8", "", true),
        ROW(each(BT, [](int v) { return rtouom_add_uom("X", v, 1, 0); }), "0", says("add_uom", 'T', BT)),
        ROW(rtouom_add_uom("SQFT", kArea, 1, 0), "0",
            "!! rtouom_add_uom: A unit of measurement named: SQFT already exists\n"),
        ROW((u = rtouom_add_uom("TWICE", kLength, 2, 0),
             std::pair(u, rtouom_add_uom("TWICE", kLength, 2, 0))),
            "13/0", "!! rtouom_add_uom: A unit of measurement named: TWICE already exists\n", true),
        ROW(std::pair(rtouom_modify_mult_offset(I, "HR", 1, 0), rtouom_modify_mult_offset(kTime, L, 1, 0)),
            "0/0", says("modify_mult_offset", 'T', {I})),
        ROW(V((rtouom_print_header(nullptr), rtouom_print_uom(pipe, I, 1),
               rtouom_print_uom(nullptr, kPressure, X))),
            "-", says("print_uom", 'T', {I}) + says("print_uom", 'U', {X})),
        ROW(std::pair(rtouom_ptype_equal(I, I), rtouom_ptype_equal(I, -1)), "1/0", ""),
        ROW((rtouom_ptype_add(I, -kEnergy, &out),
             out + rtouom_ptype_add(I, I, nullptr) + rtouom_ptype_sub(X, X, nullptr)),
            "2", ""),
        ROW(std::pair(rtouom_coercion_allowed(0, X), rtouom_coercion_allowed(0, I)), "0/0", ""),
        ROW(each(BT, [](int v) { return rtouom_delta_ptype(v) == v; }), "1", ""),
        // after a destroy, twice, every entry says so (the SI-to-unit ones go on to their other checks); init
        // twice
        ROW((pt_destroy_units_table(), pt_destroy_units_table(), rtouom_pair2si(2, kPressure, 13)),
            "2.000000", unbuilt("pair2si"), true),
        ROW((pt_destroy_units_table(), value = rtouom_si2pair(2.5, kPressure, 13),
             value + rtouom_si2pair(2.5, -182, 13)),
            "5.000000", unbuilt("si2pair") + says("si2pair", 'U', {13}) + unbuilt("si2pair"), true),
        ROW((pt_destroy_units_table(), rtouom_uu2si(2.5, &t, "PSIG"), rtouom_rconv1(20, 2, 9, &value, &name),
             std::pair(t, name)),
            "0/null", unbuilt("uu2si") + unbuilt("rconv1"), true),
        ROW((pt_destroy_units_table(), rtouom_locate2("PSIG", &t, nullptr),
             rtouom_modify_mult_offset(kTime, "HR", 1, 0) + t),
            "0", unbuilt("locate") + unbuilt("uu2si"), true),
        ROW((pt_destroy_units_table(),
             rtouom_add_uom("X", kPressure, 1, 0) + rtouom_get_uomlist(kPressure, &list)),
            "0", unbuilt("add_uom"), true),
        ROW((pt_init_units_table(), pt_init_units_table(), rtouom_pair2si(0, kPressure, 13)), "101325.000000",
            ""),
        // the Fortran entries: 64-bit extremes clamp to +-INT_MAX, absent arguments read as 0
        ROW(each(B64,
                 [&](int64_t v) {
                     return RTOUOM_PAIR2SI_F(&minus1, &v, &one) + RTOUOM_PAIR2SI_F(nullptr, nullptr, nullptr);
                 }),
            "-1.000000", says("pair2si", 'T', {-X, X})),
        ROW(each(B64, [&](int64_t v) { return RTOUOM_SI2PAIR_F(nullptr, &p20, &v); }), "0.000000",
            says("si2pair", 'U', {-X, X})),
        ROW(RTOUOM_DELTA_PAIR2SI_F(nullptr, &LMAX, nullptr), "0.000000", says("delta_pair2si", 'T', {X})),
        ROW(RTOUOM_DELTA_SI2PAIR_F(nullptr, &p20, &LMIN), "0.000000", says("delta_si2pair", 'U', {-X})),
        ROW(V(RTOUOM_DEF_RCONV1_F(&LMAX, nullptr, nullptr, nullptr, 0)), "-", says("rconv1", 'T', {X})),
        ROW((RTOUOM_LOCATE_F(nullptr, nullptr, nullptr, 0), RTOUOM_LOCATE_F("PSIGPSIG", &t8, &u8, 8),
             std::pair(t8, u8)),
            "0/0", nf("locate", "") + nf("locate", "PSIGPSIG")),
        ROW((RTOUOM_PTYPE_LOCATE_F(L, &LMIN, &u8, huge.size()), u8), "0", nf("locate", "AAAA*")),
        ROW(std::pair(RTOUOM_PREDEFINED_F(nullptr, nullptr), RTOUOM_FORCE_PREDEFINED_UNITS_F(&LMAX, &one)),
            "0/1", says("force_predefined_units", 'T', {X})),
        ROW(std::pair(RTOUOM_COERCION_ALLOWED_F(&LMIN, &LMIN), RTOUOM_PTYPE_EQUAL_F(nullptr, nullptr)), "1/1",
            ""),
        ROW(std::pair(RTOUOM_PTYPE_ADD_F(&LMAX, &LMAX, nullptr),
                      RTOUOM_PTYPE_SUB_F(nullptr, nullptr, nullptr)),
            "1/1", ""),
        ROW(std::pair(RTOUOM_DELTA_PTYPE_F(&LMIN), RTOUOM_GET_DEFAULT_F(&LMAX)), std::to_string(-X) + "/0",
            ""),
        ROW(RTOUOM_SET_DEFAULT_F(&LMIN, nullptr), "-1", setdef(-X)),
        ROW(V((RTOUOM_INQ_INFO(&p20, &LMIN, nullptr, nullptr, nullptr, 0),
               RTOUOM_INQ_INFO_4A4(nullptr, nullptr, nullptr, nullptr, nullptr))),
            "-", says("inq_info_c", 'U', {-X})),
        ROW((RTOUOM_UOM_INFO_F(&LMAX, &one, &m, &o), std::pair(m, o)), "1.000000/0.000000",
            says("uom_info", 'T', {X}) + "BaseUom of the variable is invalid. Assume SI \n"),
        ROW(RTOUOM_ADD_UOM2_F(nullptr, nullptr, nullptr, nullptr, nullptr, 0), "0",
            "!! rtouom_add_uom: a unit of measurement needs a name.\n"),
        ROW(RTOUOM_ADD_UOM3_F("AN-UNTERMINATED-FIELD-OF-FORTY-CHARACTERS", &p20, nullptr, nullptr, &one, &one,
                              40),
            "0",
            "!! rtouom_add_uom: unit name {AN-UNTERMINATED-FIELD-OF-FORTY-CHARACTER} exceeds the maximum of "
            "32.\n"),
        ROW(RTOUOM_ADD_UOM2_F("X", &LMAX, nullptr, nullptr, nullptr, 1), "0", says("add_uom", 'T', {X})),
        ROW((RTOUOM_RESET_UOM_F(), RTOUOM_RESET_UOM_F(), RTOUOM_MODIFY_P_AMB_F(nullptr),
             rtouom_modify_p_amb(101325), rtouom_pair2si(0, kPressure, 13)),
            "101325.000000", ""),
        ROW(RTOUOM_MODIFY_MULT_OFFSET_F(&LMIN, nullptr, nullptr, nullptr, 0), "0",
            says("modify_mult_offset", 'T', {-X})),
    };
    zarn::test::StderrCapture err;
    zarn::test::run_rows(rows, history_);
    rtouom_destroy_uomlist(list);
    const std::string stderr_text = err.text();  // the null-list assertion, and the header with no pipe
    EXPECT_NE(stderr_text.find("Assertion 'rtouom_get_uomlist' failed in source/rtuom/rtuom:"),
              std::string::npos);
    EXPECT_NE(stderr_text.find(" P/U Multiplier"), std::string::npos);
    rtodestroy(pipe);
}

}  // namespace
