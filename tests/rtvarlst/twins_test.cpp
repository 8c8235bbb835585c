// Every Fortran twin against its C function, on identical lists, for items 0..n+1 and the
// 32-bit extremes: results, messages, change events and every item afterwards agree (this is
// also the hostile-caller table of the twins).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "varlst_fixture.h"
#include "zarnutils/rtuom.h"

using namespace zarn::test;

namespace {

// sizes: i is a size or capacity, extremes would ask for 2^31 items.
struct Twin {
    const char *name;
    std::function<std::string(rtvarlst_t **, const int32_t *)> fortran, c;
    bool sizes = false;
};

// Two items with units (a temperature and a pressure drop, base unit 2) and one without.
rtvarlst_t *make() {
    rtvarlst_t *l = named_list(3, 5);
    for (int32_t k : {1, 2}) {
        rtovarlst_set_physical_type(l, k, k == 1 ? 22 : 75);
        rtovarlst_set_var_baseuom(l, k, 2);
        rtovarlst_set_var_value(l, k, 10.0 * k, 0);
    }
    rtovarlst_set_var_modified_string(l, 3, "7;9");
    return l;
}

const double kV = 2.5;
const int32_t kEven = 2, kTwo = 2, kThree = 3, kSeven = 7,
              kNoWidth = -1;  // kEven as a logical: false (low bit)
const int64_t kNoBlock = 0;
int64_t kPacked[3];  // "B2.PRES" four characters to each 8-byte word, blank-filled
double kPacked8[2];  // "COLUMN.DUTY" eight characters to each word

std::string padded(const char *s, size_t n) {
    return (std::string(s ? s : "") + std::string(n, ' ')).substr(0, n);
}

#define DO(x)                              \
    [](rtvarlst_t **l, const int32_t *i) { \
        x;                                 \
        return std::string();              \
    }
#define VAL(x) [](rtvarlst_t **l, const int32_t *i) { return num(x); }
#define TXT(x) [](rtvarlst_t **l, const int32_t *i) { return std::string(x); }

// Twins of the common shapes: setters with the SI flag, plain real setters, integer setters, readers with and
// without the SI flag.
#define SET_SI(F, f) \
    { #F, DO(RTOVARLST_SET_VAR_##F##_F(l, i, &kV, &kEven)), DO(rtovarlst_set_var_##f(*l, *i, kV, 0)) }
#define SET_R(F, f) \
    { #F, DO(RTOVARLST_SET_VAR_##F##_F(l, i, &kV)), DO(rtovarlst_set_var_##f(*l, *i, kV)) }
#define SET_I(F, f, v) \
    { #F, DO(RTOVARLST_##F##_F(l, i, &v)), DO(rtovarlst_##f(*l, *i, v)) }
#define INQ_SI(F, f) \
    { #F, VAL(RTOVARLST_INQ_VAR_##F##_F(l, i, &kEven)), VAL(rtovarlst_inq_var_##f(*l, *i, 0)) }
#define INQ(F, f) \
    { #F, VAL(RTOVARLST_INQ_VAR_##F##_F(l, i)), VAL(rtovarlst_inq_var_##f(*l, *i)) }

const Twin kTwins[] = {
    SET_SI(VALUE, value),
    SET_SI(LOWER, lower),
    SET_SI(UPPER, upper),
    SET_SI(SLVSCL, slvscl),
    SET_SI(INITIAL, initial),
    SET_SI(TARGET_HOMO, target_homo),
    SET_R(STEP, step),
    SET_R(STEP_INBASEUOM, step_inbaseuom),
    SET_R(SBWEIGHT, sbweight),
    {"SET_THRESHOLD", DO(RTOVARLST_SET_VAR_THRESHOLD_F(l, i, &kV)),
     DO(rtovarlst_set_var_threshold(*l, *i, kV, 1))},
    SET_I(SET_VAR_UOM, set_var_uom, kTwo),
    SET_I(SET_SPEC_VALUE, set_spec_value, kTwo),
    SET_I(SET_PHYSICAL_TYPE, set_physical_type, kSeven),
    SET_I(SET_VAR_CONN_TYPE, set_var_conn_type, kSeven),
    SET_I(SET_VAR_QUALITY, set_var_quality, kTwo),
    SET_I(SET_VAR_RAMPED, set_var_ramped, kTwo),
    SET_I(SET_VAR_MODIFIED_MASK, set_var_modified_mask, kSeven),
    {"SET_PARAM_HOMO", DO(RTOVARLST_SET_VAR_PARAM_HOMO_F(l, i, &kEven)),
     DO(rtovarlst_set_var_param_homo(*l, *i, 0))},
    {"SET_BLOCKPTR_INT", DO(RTOVARLST_SET_VAR_BLOCKPTR_INT_F(l, i, &kNoBlock)),
     DO(rtovarlst_set_var_blockptr_int(*l, *i, 0))},
    INQ_SI(VALUE, value),
    INQ_SI(TARGET_HOMO, target_homo),
    INQ(STEP, step),
    INQ(STEP_INBASEUOM, step_inbaseuom),
    INQ(SCALE, scale),
    INQ(SBWEIGHT, sbweight),
    INQ(UOM, uom),
    INQ(CONN_TYPE, conn_type),
    INQ(QUALITY, quality),
    INQ(PARAM_HOMO, param_homo),
    INQ(RAMPED, ramped),
    {"INQ_THRESHOLD", VAL(RTOVARLST_INQ_VAR_THRESHOLD_F(l, i)), VAL(rtovarlst_inq_var_threshold(*l, *i, 1))},
    {"INQ_MASK1", VAL(RTOVARLST_INQ_VAR_MODIFIED_MASK1_F(l, i)),
     VAL(static_cast<int32_t>(rtovarlst_inq_var_modified_mask1(*l, *i)))},
    {"INQ_MASK2", VAL(RTOVARLST_INQ_VAR_MODIFIED_MASK2_F(l, i)),
     VAL(static_cast<int32_t>(rtovarlst_inq_var_modified_mask2(*l, *i)))},
    {"SUPER_INDEX", VAL(RTOVARLST_SUPER_INDEX_F(l, i)), VAL(rtovarlst_super_index(*l, *i))},
    // A number between the item's base unit and SI, rules written out (PDROP: the difference forms).
    {"BASEUOM2SI", VAL(RTOVARLST_VALUEINBASEUOM2SI_F(l, i, &kV)),
     VAL(*i == 1   ? (kV - 32) / 1.8 + 273.15
         : *i == 2 ? rtouom_delta_pair2si(kV, 75, 2)
                   : kV)},
    {"SI2BASEUOM", VAL(RTOVARLST_VALUEINSI2BASEUOM_F(l, i, &kV)),
     VAL(*i == 1   ? (kV - 273.15) * 1.8 + 32
         : *i == 2 ? rtouom_delta_si2pair(kV, 75, 2)
                   : kV)},
    {"ADDVAR", DO(RTOVARLST_ADDVAR_F(l, i, "FEED.T    ", 10)), DO(rtovarlst_addvar(*l, *i, "FEED.T"))},
    {"ADDVAR_I4", DO(RTOVARLST_ADDVAR_I4_F(l, i, kPacked, &kThree)), DO(rtovarlst_addvar(*l, *i, "B2.PRES"))},
    {"ADDVAR_R8", DO(RTOVARLST_ADDVAR_R8_F(l, i, kPacked8, &kTwo)),
     DO(rtovarlst_addvar(*l, *i, "COLUMN.DUTY"))},
    {"DESCRIPTION_I4", DO(RTOVARLST_SET_VAR_DECSRIPTION_I4_F(l, i, kPacked, &kThree)),
     DO(rtovarlst_set_var_description(*l, *i, "B2.PRES"))},
    {"DESCRIPTION_R8", DO(RTOVARLST_SET_VAR_DECSRIPTION_R8_F(l, i, kPacked8, &kTwo)),
     DO(rtovarlst_set_var_description(*l, *i, "COLUMN.DUTY"))},
    {"INQ_NAME", TXT(([&] {
         char f[5];
         RTOVARLST_INQ_VAR_NAME_F(l, i, f, 5);
         return std::string(f, 5);
     }())),
     TXT(([&] {
         char b[1025];
         rtovarlst_inq_var_name(*l, *i, b);
         return padded(b, 5);
     }()))},
    {"INQ_DESCRIPTION", TXT(([&] {
         char f[4];
         RTOVARLST_INQ_VAR_DESCRIPTION_F(f, 4, l, i);
         return std::string(f, 4);
     }())),
     TXT(padded(rtovarlst_inq_var_description(*l, *i), 4))},
    {"INQ_MODIFIED_STRING", TXT(([&] {
         char f[6] = {'x', 'x', 'x', 'x', 'x', 'x'};
         RTOVARLST_INQ_VAR_MODIFIED_STRING_F(l, i, f, 6);
         return std::string(f, 6);
     }())),
     TXT(([&] {
         char t[32] = "xxxxxx";
         rtovarlst_inq_var_modified_string(*l, *i, t);
         return padded(t, 6);
     }()))},  // no record: field kept
    {"VARNAME2INDEX", VAL(RTOVARLST_VARNAME2INDEX(l, "X2  ", *i > 0 ? 4 : 0)),
     VAL(*i > 0 ? rtovarlst__varname2index(*l, "X2") : 0)},
    {"NAMES", TXT(([&] {
         char f[6] = {'.', '.', '.', '.', '.', '.'};
         RTOVARLST_NAMES_F(l, i, i, &kTwo, f, 6);
         return std::string(f, 6);
     }())),
     TXT(([&] {
         char f[7] = "......";
         rtovarlst_names(*l, *i, *i, 2, f);
         return std::string(f, 6);
     }()))},
    {"NAMES no width", DO(char f[6]; RTOVARLST_NAMES_F(l, i, i, &kNoWidth, f, 6)), DO()},
    {"RESIZE", DO(RTOVARLST_RESIZE_F(l, i)), DO(rtovarlst_resize(*l, *i)), true},
    {"SET_NVAR", DO(RTOVARLST_SET_NVAR_F(l, i)), DO(rtovarlst_set_nvar(*l, *i)), true},
    {"INQ_NVAR/CAPACITY", VAL(RTOVARLST_INQ_NVAR_F(l) * 100 + RTOVARLST_INQ_CAPACITY_F(l)),
     VAL(rtovarlst_inq_nvar(*l) * 100 + rtovarlst_inq_capacity(*l))}};

TEST(VarLstTwins, EachTwinDoesWhatItsCFunctionDoes) {
    std::memcpy(kPacked8, "COLUMN.DUTY     ", 16);
    for (int w = 0; w < 3; ++w) std::memcpy(&kPacked[w], "B2.PRES     " + 4 * w, 4);
    for (const Twin &t : kTwins)
        for (int32_t i : {0, 1, 2, 3, 4, -1, INT32_MIN, INT32_MAX}) {
            if (t.sizes && (i < -1 || i > 4)) continue;
            SCOPED_TRACE(std::string(t.name) + " i=" + std::to_string(i));
            std::string seen[2];
            for (int side = 0; side < 2; ++side) {
                rtvarlst_t *l = make();
                ChangeTap tap;
                HistoryCapture his;
                seen[side] =
                    (side == 0 ? t.fortran : t.c)(&l, &i) + "\n" + his.text() + tap.take() + "\n" + dump(l);
                rtovarlst_destroy_c(&l);
            }
            EXPECT_EQ(seen[0], seen[1]);
        }
}

// The checked unit change has rules of its own (plex indices and MEMMOVE_F: see the Fortran program).
TEST(VarLstTwins, CheckedUnitChange) {
    rtvarlst_t *l = make();
    ChangeTap tap;
    HistoryCapture his;
    const int32_t one = 1, two = 2, four = 4, bad = 999, zero = 0, minus = -1, last = rtouom_count[22];
    for (const int32_t *u : {&two, &two, &last, &zero, &bad, &minus}) RTOVARLST_SET_UOM_VALUE_F(&l, &one, u);
    for (const int32_t *i : {&zero, &four}) RTOVARLST_SET_UOM_VALUE_F(&l, i, &two);  // outside 1..n: nothing
    const std::string uom = "X1:" + std::to_string(RTOVARLST_CHG_UOM) + " ",
                      no = "The physical type index for variable X1 is 22. Unable to locate its UOM "
                           "definition with UOM index ";
    EXPECT_EQ(std::to_string(rtovarlst_inq_var_uom(l, 1)) + tap.take() + his.text(),
              "0" + uom + uom + uom + no + "999.\n" + no + "-1.\n");  // an unchanged unit raises nothing
    rtovarlst_destroy_c(&l);
}

}  // namespace
