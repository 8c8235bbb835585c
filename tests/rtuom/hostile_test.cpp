// Every exported entry of the units module, and the Fortran twins through
// their C signatures, called with the extremes a careless caller passes. Each
// row gives what the caller gets back and the exact history text (a trailing
// '*' matches a prefix); unless a row says so, the table is left as it was.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

#include "uom_fixture.h"

namespace {

using zarn::test::UomTest;
using namespace zarn::rtuom;
using zarn::test::Row;
using zarn::test::index_bounds;
using zarn::test::type_bounds;

TEST_F(UomTest, HostileCallersGetAMessageOrNothingAndNoDamage) {
    const int I = INT_MIN, X = INT_MAX;
    const int64_t LMIN = LLONG_MIN, LMAX = LLONG_MAX, p20 = kPressure, one = 1;
    const std::string huge(100000, 'A');
    const char *L = huge.c_str();
    int t = -1, u = -1;
    int64_t t8 = -1, u8 = -1;
    double m = -1, o = -1;
    const double minus1 = -1;
    long long out = -1;
    char **list = nullptr;
    const char *name = "x";
    const std::string big = "!! rtouom_si2uu: Unable to locate a unit of measurement named: AAAA*";
    rtopipe *pipe = create_queue_rtopipe();
    const Row rows[] = {
        ROW(rtouom_pair2si(4.25, I, 1), "4.250000", type_bounds("rtouom_pair2si", I)),
        ROW(rtouom_pair2si(4.25, X, 1), "4.250000", type_bounds("rtouom_pair2si", X)),
        ROW(rtouom_pair2si(4.25, kPressure, I), "4.250000", index_bounds("rtouom_pair2si", I)),
        ROW(rtouom_si2pair(4.25, kPressure, X), "4.250000", index_bounds("rtouom_si2pair", X)),
        ROW(rtouom_delta_pair2si(4.25, -kPressure, -1), "4.250000", index_bounds("rtouom_delta_pair2si", -1)),
        ROW(rtouom_delta_si2pair(4.25, I, 0), "4.250000", type_bounds("rtouom_delta_si2pair", I)),
        ROW(V(rtouom_rconv1(I, I, 5, nullptr, nullptr)), "-", type_bounds("rtouom_rconv1", I)),
        ROW((rtouom_delta_rconv1(kPressure, X, 5, &m, &name), std::pair(m, name)), "5.000000/null",
            index_bounds("rtouom_delta_rconv1", X)),
        ROW(rtouom_uu2si(1, nullptr, nullptr), "1.000000", "!! rtouom_uu2si: Unable to locate a unit of measurement named: \n"),
        ROW((rtouom_si2uu(1, &t, L), t), "0", big),
        ROW(rtouom_uu2siGivenAPhysicalType(3, nullptr, nullptr), "3.000000", ""),
        ROW(rtouom_si2uuGivenAPhysicalType(3, L, L), "3.000000", ""),
        ROW(pt_lookup(L), "-1", ""),
        ROW(V(rtouom_locate(nullptr, nullptr, nullptr)), "-", "!! rtouom_locate: Unable to locate a unit of measurement named: \n"),
        ROW((rtouom_locate2(L, &t, &u), std::pair(t, u)), "0/0", ""),
        ROW((rtouom_ptype_locate("PSIG", I, &u), u), "0", ""),
        ROW((rtouom_ptype_locate2("*", -1, &u), u), "0", ""),
        ROW(V(rtouom_ptype_locate(nullptr, kPressure, nullptr)), "-", "!! rtouom_locate: Unable to locate a unit of measurement named: \n"),
        ROW(rtouom_uom_name(I, 1), "null", type_bounds("rtouom_uom_name", I)),
        ROW(rtouom_uom_name(kPressure, I), "null", index_bounds("rtouom_uom_name", I)),
        ROW(std::pair(rtouom_ptype_name(I), rtouom_ptype_name(X)), "\"bad_ptype\"/\"bad_ptype\"", ""),
        ROW(V(rtouom_inq_info_c(kPressure, X, nullptr, nullptr, nullptr)), "-", index_bounds("rtouom_inq_info_c", X)),
        ROW(V(rtouom_inq_info_4a4_c(I, 1, nullptr, nullptr, nullptr)), "-", type_bounds("rtouom_inq_info_c", I)),
        ROW(rtouom_uom_info(kPressure, I, nullptr, nullptr, nullptr), "null", index_bounds("rtouom_uom_info", I)),
        ROW(std::pair(rtouom_get_uomlist(I, &list), list == nullptr ? 0 : 1), "-1/0", type_bounds("rtouom_get_uomlist", I)),
        ROW(rtouom_get_uomlist(kPressure, nullptr), "-1", ""),
        ROW(V(rtouom_destroy_uomlist(nullptr)), "-", ""),
        ROW(std::pair(rtouom_predefined(I, 1), rtouom_predefined(kPressure, I)), "0/0",
            type_bounds("rtouom_force_predefined_units", I)),
        ROW(rtouom_force_predefined_units(X, X), "1", type_bounds("rtouom_force_predefined_units", X)),
        ROW(std::pair(rtouom_get_default(I), rtouom_get_default(X)), "0/0", ""),
        ROW(rtouom_set_default(I, 1), "-1", ("!!! rtouom_set_default: physical type out of bounds " + std::to_string(I) + "\n")),
        ROW(std::pair(rtouom_set_default(kPressure, I), rtouom_set_default(kPressure, X)), "-1/37", ""),
        ROW(rtouom_add_uom(nullptr, kPressure, 1, 0), "0", "!! rtouom_add_uom: a unit of measurement needs a name.\n"),
        ROW(rtouom_add_uom(L, kPressure, 1, 0), "0", "!! rtouom_add_uom: unit name {AAAA*"),
        ROW(rtouom_add_uom("X", I, 1, 0), "0", type_bounds("rtouom_add_uom", I)),
        ROW((u = rtouom_add_uom("TWICE", kLength, 2, 0), std::pair(u, rtouom_add_uom("TWICE", kLength, 2, 0))), "13/0",
            "!! rtouom_add_uom: A unit of measurement named: TWICE already exists\n", true),
        ROW(std::pair(rtouom_modify_mult_offset(I, "HR", 1, 0), rtouom_modify_mult_offset(kTime, L, 1, 0)), "0/0",
            type_bounds("rtouom_modify_mult_offset", I)),
        ROW(V(rtouom_print_header(nullptr)), "-", ""),
        ROW(V(rtouom_print_uom(pipe, I, 1)), "-", type_bounds("rtouom_print_uom", I)),
        ROW(V(rtouom_print_uom(nullptr, kPressure, X)), "-", index_bounds("rtouom_print_uom", X)),
        ROW(std::pair(rtouom_ptype_equal(I, I), rtouom_ptype_equal(I, -1)), "1/0", ""),
        ROW((rtouom_ptype_add(I, -kEnergy, &out), out), "0", ""),
        ROW(std::pair(rtouom_ptype_add(I, I, nullptr), rtouom_ptype_sub(X, X, nullptr)), "1/1", ""),
        ROW(std::pair(rtouom_coercion_allowed(0, X), rtouom_coercion_allowed(0, I)), "0/0", ""),
        ROW(std::pair(rtouom_delta_ptype(I), rtouom_delta_ptype(X)), std::to_string(I) + "/" + std::to_string(X), ""),
        // sequences: twice in a row, and use after destroy
        ROW((pt_destroy_units_table(), pt_destroy_units_table(), rtouom_pair2si(2, kPressure, 13)), "2.000000",
            "!! rtouom_pair2si: UOM table has not been initialized.\n", true),
        ROW((pt_destroy_units_table(), rtouom_add_uom("X", kPressure, 1, 0)), "0",
            "!! rtouom_add_uom: UOM table has not been initialized.\n", true),
        ROW((pt_destroy_units_table(), rtouom_get_uomlist(kPressure, &list)), "0", "", true),
        ROW((pt_init_units_table(), pt_init_units_table(), rtouom_pair2si(0, kPressure, 13)), "101325.000000", ""),
        // the Fortran twins: 64-bit extremes clamp to +-INT_MAX, absent arguments read as 0
        ROW(RTOUOM_PAIR2SI_F(nullptr, nullptr, nullptr), "0.000000", ""),
        ROW(RTOUOM_PAIR2SI_F(&minus1, &LMIN, &one), "-1.000000", type_bounds("rtouom_pair2si", -X)),
        ROW(RTOUOM_SI2PAIR_F(nullptr, &p20, &LMAX), "0.000000", index_bounds("rtouom_si2pair", X)),
        ROW(RTOUOM_DELTA_PAIR2SI_F(nullptr, &LMAX, nullptr), "0.000000", type_bounds("rtouom_delta_pair2si", X)),
        ROW(RTOUOM_DELTA_SI2PAIR_F(nullptr, &p20, &LMIN), "0.000000", index_bounds("rtouom_delta_si2pair", -X)),
        ROW(V(RTOUOM_DEF_RCONV1_F(&LMAX, nullptr, nullptr, nullptr, 0)), "-", type_bounds("rtouom_rconv1", X)),
        ROW(V(RTOUOM_LOCATE_F(nullptr, nullptr, nullptr, 0)), "-", "!! rtouom_locate: Unable to locate a unit of measurement named: \n"),
        ROW((RTOUOM_LOCATE_F("PSIGPSIG", &t8, &u8, 8), std::pair(t8, u8)), "0/0",
            "!! rtouom_locate: Unable to locate a unit of measurement named: PSIGPSIG\n"),
        ROW((RTOUOM_PTYPE_LOCATE_F(L, &LMIN, &u8, huge.size()), u8), "0", "!! rtouom_locate: Unable to locate a unit of measurement named: AAAA*"),
        ROW(std::pair(RTOUOM_PREDEFINED_F(nullptr, nullptr), RTOUOM_FORCE_PREDEFINED_UNITS_F(&LMAX, &one)), "0/1",
            type_bounds("rtouom_force_predefined_units", X)),
        ROW(std::pair(RTOUOM_COERCION_ALLOWED_F(&LMIN, &LMIN), RTOUOM_PTYPE_EQUAL_F(nullptr, nullptr)), "1/1", ""),
        ROW(std::pair(RTOUOM_PTYPE_ADD_F(&LMAX, &LMAX, nullptr), RTOUOM_PTYPE_SUB_F(nullptr, nullptr, nullptr)), "1/1", ""),
        ROW(std::pair(RTOUOM_DELTA_PTYPE_F(&LMIN), RTOUOM_GET_DEFAULT_F(&LMAX)), std::to_string(-X) + "/0", ""),
        ROW(RTOUOM_SET_DEFAULT_F(&LMIN, nullptr), "-1", ("!!! rtouom_set_default: physical type out of bounds " + std::to_string(-X) + "\n")),
        ROW(V(RTOUOM_INQ_INFO(&p20, &LMIN, nullptr, nullptr, nullptr, 0)), "-", index_bounds("rtouom_inq_info_c", -X)),
        ROW(V(RTOUOM_INQ_INFO_4A4(nullptr, nullptr, nullptr, nullptr, nullptr)), "-", ""),
        ROW((RTOUOM_UOM_INFO_F(&LMAX, &one, &m, &o), std::pair(m, o)), "1.000000/0.000000",
            type_bounds("rtouom_uom_info", X) + "BaseUom of the variable is invalid. Assume SI \n"),
        ROW(RTOUOM_ADD_UOM2_F(nullptr, nullptr, nullptr, nullptr, nullptr, 0), "0", "!! rtouom_add_uom: a unit of measurement needs a name.\n"),
        ROW(RTOUOM_ADD_UOM3_F("AN-UNTERMINATED-FIELD-OF-FORTY-CHARACTERS", &p20, nullptr, nullptr, &one, &one, 40), "0",
            "!! rtouom_add_uom: unit name {AN-UNTERMINATED-FIELD-OF-FORTY-CHARACTER} exceeds the maximum of 32.\n"),
        ROW(RTOUOM_ADD_UOM2_F("X", &LMAX, nullptr, nullptr, nullptr, 1), "0", type_bounds("rtouom_add_uom", X)),
        ROW((RTOUOM_RESET_UOM_F(), RTOUOM_RESET_UOM_F(), RTOUOM_MODIFY_P_AMB_F(nullptr), rtouom_modify_p_amb(101325), rtouom_pair2si(0, kPressure, 13)), "101325.000000", ""),
        ROW(RTOUOM_MODIFY_MULT_OFFSET_F(&LMIN, nullptr, nullptr, nullptr, 0), "0",
            type_bounds("rtouom_modify_mult_offset", -X)),
        ROW(std::pair(PT_LOOKUP_F(nullptr, 0), PT_LOOKUP_F("PRESSUREPRESSURE", 16)), "-1/-1", ""),
    };
    zarn::test::StderrCapture err;
    zarn::test::run_rows(rows, std::size(rows), history_);
    rtouom_destroy_uomlist(list);
    const std::string stderr_text = err.text();  // the null-list assertion, and the header with no pipe
    EXPECT_NE(stderr_text.find("Assertion 'rtouom_get_uomlist' failed in source/rtuom/rtuom:"), std::string::npos);
    EXPECT_NE(stderr_text.find(" P/U Multiplier"), std::string::npos);
    rtodestroy(pipe);
}

}  // namespace
