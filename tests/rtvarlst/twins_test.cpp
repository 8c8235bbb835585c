// Every Fortran twin against its C function: each row runs the twin on one list
// and the C call it stands for on an identical list, for items 0..n+1 and the
// 32-bit extremes; results, messages, change events and every attribute
// afterwards must agree (this is also the hostile-caller table of the twins).
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "capture.h"
#include "varlst_fixture.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/zarnmalloc.h"

using zarn::test::ChangeTap;
using zarn::test::HistoryCapture;

namespace {

using Call = std::function<std::string(rtvarlst_t **, const int32_t *)>;
struct Twin {
    const char *name;
    Call fortran, c;
    bool sizes = false;  // i is a size or capacity: extremes would ask for 2^31 items
};

std::string num(double v) { return std::to_string(v); }

// Two items with units (a temperature and a pressure drop, base unit 2) and one without.
rtvarlst_t *make() {
    rtvarlst_t *l = zarn::test::named_list(3, 5);
    for (int32_t k : {1, 2}) {
        rtovarlst_set_physical_type(l, k, k == 1 ? 22 : 75);
        rtovarlst_set_var_baseuom(l, k, 2);
        rtovarlst_set_var_value(l, k, 10.0 * k, 0);
    }
    rtovarlst_set_var_modified_string(l, 3, "7;9");
    return l;
}

std::string state(rtvarlst_t *l) {
    std::string s = std::to_string(rtovarlst_inq_nvar(l)) + "/" + std::to_string(rtovarlst_inq_capacity(l));
    for (int32_t k = 1; k <= rtovarlst_inq_nvar(l); ++k) {
        const char *n = rtovarlst_lookup_var_name(l, k), *d = rtovarlst_inq_var_description(l, k);
        s += std::string("|") + (n ? n : "") + "," + (d ? d : "");
        for (auto f : {rtovarlst_inq_var_value, rtovarlst_inq_var_initial, rtovarlst_inq_var_lower,
                       rtovarlst_inq_var_upper, rtovarlst_inq_var_slvscl, rtovarlst_inq_var_target_homo})
            s += "," + num(f(l, k, 0));
        for (auto f : {rtovarlst_inq_var_step_inbaseuom, rtovarlst_inq_var_sbweight}) s += "," + num(f(l, k));
        s += "," + num(rtovarlst_inq_var_threshold(l, k, 0));
        for (auto f : {rtovarlst_inq_var_uom, rtovarlst_inq_var_quality, rtovarlst_inq_var_ramped,
                       rtovarlst_inq_var_param_homo, rtovarlst_inq_var_conn_type, rtovarlst_inq_spec,
                       rtovarlst_inq_physical_type})
            s += "," + std::to_string(f(l, k));
        s += "," + std::to_string(rtovarlst_inq_var_modified_mask1(l, k)) + ";" +
             std::to_string(rtovarlst_inq_var_modified_mask2(l, k)) + "," +
             std::to_string(reinterpret_cast<intptr_t>(rtovarlst_inq_var_blockptr(l, k)));
    }
    return s;
}

const double kV = 2.5;
const int32_t kEven = 2;  // a Fortran logical: only its low bit counts, so this is false
const int32_t kTwo = 2, kThree = 3, kSeven = 7;

// A text packed four characters to each 8-byte word, blank-filled.
std::vector<int64_t> pack4(const std::string &s, size_t words) {
    std::vector<int64_t> out(words);
    std::string padded = s + std::string(words * 4, ' ');
    for (size_t w = 0; w < words; ++w) std::memcpy(&out[w], padded.data() + w * 4, 4);
    return out;
}
const std::vector<int64_t> kPacked = pack4("B2.PRES", 3);
double kPacked8[2];

#define SET_REAL_SI(F, f) \
    {#F, [](rtvarlst_t **l, const int32_t *i) { F(l, i, &kV, &kEven); return std::string(); }, \
     [](rtvarlst_t **l, const int32_t *i) { f(*l, *i, kV, 0); return std::string(); }}
#define SET_REAL(F, f) \
    {#F, [](rtvarlst_t **l, const int32_t *i) { F(l, i, &kV); return std::string(); }, \
     [](rtvarlst_t **l, const int32_t *i) { f(*l, *i, kV); return std::string(); }}
#define SET_INT(F, f, v) \
    {#F, [](rtvarlst_t **l, const int32_t *i) { F(l, i, &v); return std::string(); }, \
     [](rtvarlst_t **l, const int32_t *i) { f(*l, *i, v); return std::string(); }}
#define INQ(F, call) \
    {#F, [](rtvarlst_t **l, const int32_t *i) { return num(F(l, i)); }, \
     [](rtvarlst_t **l, const int32_t *i) { return num(call); }}

const Twin kTwins[] = {
    SET_REAL_SI(RTOVARLST_SET_VAR_VALUE_F, rtovarlst_set_var_value),
    SET_REAL_SI(RTOVARLST_SET_VAR_LOWER_F, rtovarlst_set_var_lower),
    SET_REAL_SI(RTOVARLST_SET_VAR_UPPER_F, rtovarlst_set_var_upper),
    SET_REAL_SI(RTOVARLST_SET_VAR_SLVSCL_F, rtovarlst_set_var_slvscl),
    SET_REAL_SI(RTOVARLST_SET_VAR_INITIAL_F, rtovarlst_set_var_initial),
    SET_REAL_SI(RTOVARLST_SET_VAR_TARGET_HOMO_F, rtovarlst_set_var_target_homo),
    SET_REAL(RTOVARLST_SET_VAR_STEP_F, rtovarlst_set_var_step),
    SET_REAL(RTOVARLST_SET_VAR_STEP_INBASEUOM_F, rtovarlst_set_var_step_inbaseuom),
    SET_REAL(RTOVARLST_SET_VAR_SBWEIGHT_F, rtovarlst_set_var_sbweight),
    {"RTOVARLST_SET_VAR_THRESHOLD_F",
     [](rtvarlst_t **l, const int32_t *i) { RTOVARLST_SET_VAR_THRESHOLD_F(l, i, &kV); return std::string(); },
     [](rtvarlst_t **l, const int32_t *i) { rtovarlst_set_var_threshold(*l, *i, kV, 1); return std::string(); }},
    SET_INT(RTOVARLST_SET_VAR_UOM_F, rtovarlst_set_var_uom, kTwo),
    SET_INT(RTOVARLST_SET_SPEC_VALUE_F, rtovarlst_set_spec_value, kTwo),
    SET_INT(RTOVARLST_SET_PHYSICAL_TYPE_F, rtovarlst_set_physical_type, kSeven),
    SET_INT(RTOVARLST_SET_VAR_CONN_TYPE_F, rtovarlst_set_var_conn_type, kSeven),
    SET_INT(RTOVARLST_SET_VAR_QUALITY_F, rtovarlst_set_var_quality, kTwo),
    SET_INT(RTOVARLST_SET_VAR_RAMPED_F, rtovarlst_set_var_ramped, kTwo),
    SET_INT(RTOVARLST_SET_VAR_MODIFIED_MASK_F, rtovarlst_set_var_modified_mask, kSeven),
    {"RTOVARLST_SET_VAR_PARAM_HOMO_F",
     [](rtvarlst_t **l, const int32_t *i) { RTOVARLST_SET_VAR_PARAM_HOMO_F(l, i, &kEven); return std::string(); },
     [](rtvarlst_t **l, const int32_t *i) { rtovarlst_set_var_param_homo(*l, *i, 0); return std::string(); }},
    {"RTOVARLST_SET_VAR_BLOCKPTR_INT_F",
     [](rtvarlst_t **l, const int32_t *i) {
         const int64_t b = 0;
         RTOVARLST_SET_VAR_BLOCKPTR_INT_F(l, i, &b);
         return std::string();
     },
     [](rtvarlst_t **l, const int32_t *i) { rtovarlst_set_var_blockptr_int(*l, *i, 0); return std::string(); }},
    {"RTOVARLST_INQ_VAR_VALUE_F", [](rtvarlst_t **l, const int32_t *i) { return num(RTOVARLST_INQ_VAR_VALUE_F(l, i, &kEven)); },
     [](rtvarlst_t **l, const int32_t *i) { return num(rtovarlst_inq_var_value(*l, *i, 0)); }},
    {"RTOVARLST_INQ_VAR_TARGET_HOMO_F",
     [](rtvarlst_t **l, const int32_t *i) { return num(RTOVARLST_INQ_VAR_TARGET_HOMO_F(l, i, &kEven)); },
     [](rtvarlst_t **l, const int32_t *i) { return num(rtovarlst_inq_var_target_homo(*l, *i, 0)); }},
    INQ(RTOVARLST_INQ_VAR_STEP_F, rtovarlst_inq_var_step(*l, *i)),
    INQ(RTOVARLST_INQ_VAR_STEP_INBASEUOM_F, rtovarlst_inq_var_step_inbaseuom(*l, *i)),
    INQ(RTOVARLST_INQ_VAR_THRESHOLD_F, rtovarlst_inq_var_threshold(*l, *i, 1)),
    INQ(RTOVARLST_INQ_VAR_SCALE_F, rtovarlst_inq_var_scale(*l, *i)),
    INQ(RTOVARLST_INQ_VAR_SBWEIGHT_F, rtovarlst_inq_var_sbweight(*l, *i)),
    INQ(RTOVARLST_INQ_VAR_UOM_F, rtovarlst_inq_var_uom(*l, *i)),
    INQ(RTOVARLST_INQ_VAR_CONN_TYPE_F, rtovarlst_inq_var_conn_type(*l, *i)),
    INQ(RTOVARLST_INQ_VAR_QUALITY_F, rtovarlst_inq_var_quality(*l, *i)),
    INQ(RTOVARLST_INQ_VAR_PARAM_HOMO_F, rtovarlst_inq_var_param_homo(*l, *i)),
    INQ(RTOVARLST_INQ_VAR_RAMPED_F, rtovarlst_inq_var_ramped(*l, *i)),
    INQ(RTOVARLST_INQ_VAR_MODIFIED_MASK1_F, static_cast<int32_t>(rtovarlst_inq_var_modified_mask1(*l, *i))),
    INQ(RTOVARLST_INQ_VAR_MODIFIED_MASK2_F, static_cast<int32_t>(rtovarlst_inq_var_modified_mask2(*l, *i))),
    INQ(RTOVARLST_SUPER_INDEX_F, rtovarlst_super_index(*l, *i)),
    // Conversions of a number between the item's base unit and SI (PDROP: the difference forms).
    {"RTOVARLST_VALUEINBASEUOM2SI_F",
     [](rtvarlst_t **l, const int32_t *i) { return num(RTOVARLST_VALUEINBASEUOM2SI_F(l, i, &kV)); },
     [](rtvarlst_t **, const int32_t *i) {
         return num(*i == 1 ? rtouom_pair2si(kV, 22, 2) : *i == 2 ? rtouom_delta_pair2si(kV, 75, 2) : kV);
     }},
    {"RTOVARLST_VALUEINSI2BASEUOM_F",
     [](rtvarlst_t **l, const int32_t *i) { return num(RTOVARLST_VALUEINSI2BASEUOM_F(l, i, &kV)); },
     [](rtvarlst_t **, const int32_t *i) {
         return num(*i == 1 ? rtouom_si2pair(kV, 22, 2) : *i == 2 ? rtouom_delta_si2pair(kV, 75, 2) : kV);
     }},
    // Texts: fixed-length fields, packed words.
    {"RTOVARLST_ADDVAR_F", [](rtvarlst_t **l, const int32_t *i) { RTOVARLST_ADDVAR_F(l, i, "FEED.T    ", 10); return std::string(); },
     [](rtvarlst_t **l, const int32_t *i) { rtovarlst_addvar(*l, *i, "FEED.T"); return std::string(); }},
    {"RTOVARLST_ADDVAR_I4_F",
     [](rtvarlst_t **l, const int32_t *i) { RTOVARLST_ADDVAR_I4_F(l, i, kPacked.data(), &kThree); return std::string(); },
     [](rtvarlst_t **l, const int32_t *i) { rtovarlst_addvar(*l, *i, "B2.PRES"); return std::string(); }},
    {"RTOVARLST_ADDVAR_R8_F",
     [](rtvarlst_t **l, const int32_t *i) { RTOVARLST_ADDVAR_R8_F(l, i, kPacked8, &kTwo); return std::string(); },
     [](rtvarlst_t **l, const int32_t *i) { rtovarlst_addvar(*l, *i, "COLUMN.DUTY"); return std::string(); }},
    {"RTOVARLST_SET_VAR_DECSRIPTION_I4_F",
     [](rtvarlst_t **l, const int32_t *i) { RTOVARLST_SET_VAR_DECSRIPTION_I4_F(l, i, kPacked.data(), &kThree); return std::string(); },
     [](rtvarlst_t **l, const int32_t *i) { rtovarlst_set_var_description(*l, *i, "B2.PRES"); return std::string(); }},
    {"RTOVARLST_SET_VAR_DECSRIPTION_R8_F",
     [](rtvarlst_t **l, const int32_t *i) { RTOVARLST_SET_VAR_DECSRIPTION_R8_F(l, i, kPacked8, &kTwo); return std::string(); },
     [](rtvarlst_t **l, const int32_t *i) { rtovarlst_set_var_description(*l, *i, "COLUMN.DUTY"); return std::string(); }},
    {"RTOVARLST_INQ_VAR_NAME_F",
     [](rtvarlst_t **l, const int32_t *i) {
         char field[5];
         RTOVARLST_INQ_VAR_NAME_F(l, i, field, sizeof field);
         return std::string(field, sizeof field);
     },
     [](rtvarlst_t **l, const int32_t *i) {
         char buffer[1025];
         rtovarlst_inq_var_name(*l, *i, buffer);
         return (std::string(buffer) + "     ").substr(0, 5);  // blank-padded, cut to the field
     }},
    {"RTOVARLST_INQ_VAR_DESCRIPTION_F",
     [](rtvarlst_t **l, const int32_t *i) {
         char field[4];
         RTOVARLST_INQ_VAR_DESCRIPTION_F(field, sizeof field, l, i);
         return std::string(field, sizeof field);
     },
     [](rtvarlst_t **l, const int32_t *i) {
         const char *d = rtovarlst_inq_var_description(*l, *i);
         return (std::string(d ? d : "") + "    ").substr(0, 4);
     }},
    {"RTOVARLST_INQ_VAR_MODIFIED_STRING_F",
     [](rtvarlst_t **l, const int32_t *i) {
         char field[6] = {'x', 'x', 'x', 'x', 'x', 'x'};
         RTOVARLST_INQ_VAR_MODIFIED_STRING_F(l, i, field, sizeof field);
         return std::string(field, sizeof field);
     },
     [](rtvarlst_t **l, const int32_t *i) {
         char text[32] = "xxxxxx";  // no record: the field stays as it was
         rtovarlst_inq_var_modified_string(*l, *i, text);
         return (std::string(text) + "      ").substr(0, 6);
     }},
    {"RTOVARLST_VARNAME2INDEX",
     [](rtvarlst_t **l, const int32_t *i) { return num(RTOVARLST_VARNAME2INDEX(l, "X2  ", *i > 0 ? 4 : 0)); },
     [](rtvarlst_t **l, const int32_t *i) { return num(*i > 0 ? rtovarlst__varname2index(*l, "X2") : 0); }},
    {"RTOVARLST_NAMES_F",
     [](rtvarlst_t **l, const int32_t *i) {
         char f[6] = {'.', '.', '.', '.', '.', '.'};
         RTOVARLST_NAMES_F(l, i, i, &kTwo, f, sizeof f);
         return std::string(f, 6);
     },
     [](rtvarlst_t **l, const int32_t *i) {
         char f[7] = "......";
         rtovarlst_names(*l, *i, *i, 2, f);
         return std::string(f, 6);
     }},
    // Sizes: i is the new size or capacity.
    {"RTOVARLST_RESIZE_F", [](rtvarlst_t **l, const int32_t *i) { RTOVARLST_RESIZE_F(l, i); return std::string(); },
     [](rtvarlst_t **l, const int32_t *i) { rtovarlst_resize(*l, *i); return std::string(); }, true},
    {"RTOVARLST_SET_NVAR_F", [](rtvarlst_t **l, const int32_t *i) { RTOVARLST_SET_NVAR_F(l, i); return std::string(); },
     [](rtvarlst_t **l, const int32_t *i) { rtovarlst_set_nvar(*l, *i); return std::string(); }, true},
    {"RTOVARLST_INQ_NVAR_F / CAPACITY_F",
     [](rtvarlst_t **l, const int32_t *) { return num(RTOVARLST_INQ_NVAR_F(l) * 100 + RTOVARLST_INQ_CAPACITY_F(l)); },
     [](rtvarlst_t **l, const int32_t *) { return num(rtovarlst_inq_nvar(*l) * 100 + rtovarlst_inq_capacity(*l)); }},
};

// The column twins give plex indices of the C vectors.
TEST(VarLstTwins, ColumnIndicesAreTheVectors) {
    rtvarlst_t *l = make();
    const std::pair<void (*)(rtvarlst_t **, int64_t *), double *> reals[] = {
        {RTOVARLST_ZARN_LBX, rtovarlst_vec_value(l)},         {RTOVARLST_ZARN_LBXLB, rtovarlst_vec_lower(l)},
        {RTOVARLST_ZARN_LBXUB, rtovarlst_vec_upper(l)},       {RTOVARLST_ZARN_LBXSCL, rtovarlst_vec_scale(l)},
        {RTOVARLST_ZARN_LBXSOLVSCL, rtovarlst_vec_solveScale(l)}, {RTOVARLST_ZARN_LBXINIT, rtovarlst_vec_initial(l)},
        {RTOVARLST_ZARN_LBXSHADOW, rtovarlst_vec_shadow_price(l)}};
    for (auto [twin, vec] : reals) {
        int64_t p = 0;
        twin(&l, &p);
        EXPECT_EQ(&ZARN_b0[p], vec);
    }
    using IntTwin = void (*)(rtvarlst_t **, int64_t *);
    for (auto [twin, vec] : {std::pair<IntTwin, int64_t *>{RTOVARLST_ZARN_LBXSTAT, rtovarlst_vec_status(l)},
                             std::pair<IntTwin, int64_t *>{RTOVARLST_ZARN_LBXBASEUOM, rtovarlst_vec_baseuom(l)}}) {
        int64_t p = 0;
        twin(&l, &p);
        EXPECT_EQ(&ZARN_ib0[p], vec);
    }
    char buf[8] = "abcdefg";
    const int64_t three = 3, none = -1;
    MEMMOVE_F(buf + 1, buf, &three);  // overlap allowed, as memmove
    MEMMOVE_F(buf, buf + 4, &none);
    EXPECT_STREQ(buf, "aabcefg");
    rtovarlst_destroy_c(&l);
}

TEST(VarLstTwins, EachTwinDoesWhatItsCFunctionDoes) {
    std::memcpy(kPacked8, "COLUMN.DUTY     ", 16);
    for (const Twin &t : kTwins) {
        for (int32_t i : {0, 1, 2, 3, 4, -1, INT32_MIN, INT32_MAX}) {
            if (t.sizes && (i < -1 || i > 4)) continue;
            SCOPED_TRACE(std::string(t.name) + " i=" + std::to_string(i));
            rtvarlst_t *a = make(), *b = make();
            std::string got[2], his[2];
            std::vector<zarn::test::ChangeEvent> events[2];
            rtvarlst_t **lists[2] = {&a, &b};
            for (int side = 0; side < 2; ++side) {
                ChangeTap tap;
                HistoryCapture hc;
                got[side] = (side == 0 ? t.fortran : t.c)(lists[side], &i);
                his[side] = hc.text();
                events[side] = tap.take();
            }
            EXPECT_EQ(got[0], got[1]);
            EXPECT_EQ(his[0], his[1]);
            ASSERT_EQ(events[0].size(), events[1].size());
            for (size_t e = 0; e < events[0].size(); ++e) EXPECT_EQ(events[0][e].code, events[1][e].code);
            EXPECT_EQ(state(a), state(b));
            rtovarlst_destroy_c(&a);
            rtovarlst_destroy_c(&b);
        }
    }
}

// The checked unit change has no C function of its own: its rules directly.
TEST(VarLstTwins, CheckedDisplayUnitChange) {
    rtvarlst_t *l = make();
    ChangeTap tap;
    HistoryCapture his;
    const int32_t one = 1, two = 2, four = 4, bad = 999, zero = 0, minus = -1, last = rtouom_count[22];
    for (const int32_t *u : {&two, &two, &last, &zero}) RTOVARLST_SET_UOM_VALUE_F(&l, &one, u);
    EXPECT_EQ(rtovarlst_inq_var_uom(l, 1), 0);
    auto ev = tap.take();
    ASSERT_EQ(ev.size(), 3u);  // an unchanged unit raises nothing
    EXPECT_EQ(ev[0].code, RTOVARLST_CHG_UOM);
    for (const int32_t *u : {&bad, &minus}) RTOVARLST_SET_UOM_VALUE_F(&l, &one, u);
    EXPECT_EQ(his.text(),
              "The physical type index for variable X1 is 22. Unable to locate its UOM definition with UOM index 999.\n"
              "The physical type index for variable X1 is 22. Unable to locate its UOM definition with UOM index -1.\n");
    for (const int32_t *i : {&zero, &four}) RTOVARLST_SET_UOM_VALUE_F(&l, i, &two);  // outside 1..n: nothing
    EXPECT_EQ(his.text(), "");
    EXPECT_TRUE(tap.take().empty());
    rtovarlst_destroy_c(&l);
}

}  // namespace
