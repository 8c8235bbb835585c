// Variable lists: the Fortran entry points called as Fortran code calls them
// (handles by address, 32-bit integers, blank-padded fields, hidden lengths).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "capture.h"
#include "varlst_fixture.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/varutl.h"
#include "zarnutils/zarnmalloc.h"

using zarn::test::ChangeTap;
using zarn::test::HistoryCapture;
using zarn::test::named_list;

namespace {

// Packs text four characters to each 8-byte word (low half), blank-filled.
std::vector<int64_t> pack4(const std::string &s, size_t words) {
    std::vector<int64_t> out(words);
    std::string padded = s + std::string(words * 4, ' ');
    for (size_t w = 0; w < words; ++w) std::memcpy(&out[w], padded.data() + w * 4, 4);
    return out;
}

TEST(VarListFortran, NamesInAndOut) {
    HistoryCapture his;
    rtvarlst_t *l = rtovarlst_create(4);
    const int32_t four = 4, one = 1, two = 2, three = 3;
    RTOVARLST_SET_NVAR_F(&l, &four);
    EXPECT_EQ(RTOVARLST_INQ_NVAR_F(&l), 4);
    EXPECT_EQ(RTOVARLST_INQ_CAPACITY_F(&l), 4);
    RTOVARLST_ADDVAR_F(&l, &one, "FEED.T      ", 12);
    auto w = pack4("B2.PRES", 3);
    RTOVARLST_ADDVAR_I4_F(&l, &two, w.data(), &three);
    double r8[2];
    std::memcpy(r8, "COLUMN.DUTY     ", 16);
    RTOVARLST_ADDVAR_R8_F(&l, &three, r8, &two);
    EXPECT_EQ(RTOVARLST_VARNAME2INDEX(&l, "FEED.T   ", 9), 1);
    EXPECT_EQ(RTOVARLST_VARNAME2INDEX(&l, "B2.PRES", 7), 2);
    EXPECT_EQ(RTOVARLST_VARNAME2INDEX(&l, "COLUMN.DUTY", 11), 3);
    // A packed name longer than 1024 characters is cut there.
    auto longname = pack4(std::string(1200, 'Q'), 300);
    const int32_t n300 = 300;
    RTOVARLST_ADDVAR_I4_F(&l, &four, longname.data(), &n300);
    EXPECT_EQ(std::strlen(rtovarlst_lookup_var_name(l, 4)), 1024u);
    const char absent[8] = {0, 0, 0, 0, 'X', 0, 0, 0};
    EXPECT_EQ(RTOVARLST_VARNAME2INDEX(&l, absent, 8), 0);

    char field[8];
    RTOVARLST_INQ_VAR_NAME_F(&l, &two, field, sizeof field);
    EXPECT_EQ(std::string(field, 8), "B2.PRES ");
    RTOVARLST_INQ_VAR_NAME_F(&l, &three, field, sizeof field);
    EXPECT_EQ(std::string(field, 8), "COLUMN.D");  // cut to the field
    char names[3 * 6];
    std::memset(names, ' ', sizeof names);
    const int32_t width = 6;
    RTOVARLST_NAMES_F(&l, &one, &three, &width, names, 6);
    EXPECT_EQ(std::string(names, sizeof names), "FEED.TB2.PRECOLUMN");
    EXPECT_EQ(his.text(),
              "Truncating variable name 'B2.PRES' to 6 characters\n"
              "Truncating variable name 'COLUMN.DUTY' to 6 characters\n");

    // Descriptions, packed in and blank-padded out (field first).
    auto d = pack4("hot feed", 4);
    RTOVARLST_SET_VAR_DECSRIPTION_I4_F(&l, &one, d.data(), &two);
    char desc[12];
    RTOVARLST_INQ_VAR_DESCRIPTION_F(desc, sizeof desc, &l, &one);
    EXPECT_EQ(std::string(desc, 12), "hot feed    ");
    std::memcpy(r8, "cold    ", 8);
    RTOVARLST_SET_VAR_DECSRIPTION_R8_F(&l, &two, r8, &one);
    RTOVARLST_INQ_VAR_DESCRIPTION_F(desc, sizeof desc, &l, &two);
    EXPECT_EQ(std::string(desc, 12), "cold        ");
    const int32_t three_again = 3;
    RTOVARLST_INQ_VAR_DESCRIPTION_F(desc, sizeof desc, &l, &three_again);
    EXPECT_EQ(std::string(desc, 12), std::string(12, ' '));
    rtvarlst_t *none = nullptr;
    EXPECT_EQ(RTOVARLST_INQ_VAR_PARAM_HOMO_F(&none, &one), 99999999);
    EXPECT_EQ(RTOVARLST_INQ_NVAR_F(&none), 0);
    rtovarlst_destroy_c(&l);
}

TEST(VarListFortran, ValuesFlagsAndPlexIndices) {
    ChangeTap tap;
    rtvarlst_t *l = named_list(3);
    const int32_t one = 1, two = 2, si_on = 3, si_off = 2;  // only bit 0 of a flag counts
    const double v = 5.0;
    RTOVARLST_SET_VAR_VALUE_F(&l, &two, &v, &si_off);
    EXPECT_EQ(RTOVARLST_INQ_VAR_VALUE_F(&l, &two, &si_on), 5.0);
    EXPECT_EQ(tap.take().size(), 1u);

    int64_t px = 0, pstat = 0, pbase = 0;
    RTOVARLST_ZARN_LBX(&l, &px);
    RTOVARLST_ZARN_LBXSTAT(&l, &pstat);
    RTOVARLST_ZARN_LBXBASEUOM(&l, &pbase);
    ASSERT_NE(px, 0);
    EXPECT_EQ(ZARN_b0[px + 1], 5.0);  // item 2
    ZARN_b0[px + 2] = 6.5;
    EXPECT_EQ(rtovarlst_inq_var_value(l, 3, 0), 6.5);
    EXPECT_EQ(ZARN_ib0[pbase], 1);
    rtovarlst_fix_var(l, 1);
    EXPECT_EQ(ZARN_ib0[pstat], VAR_CONST);
    int64_t p = -1;
    rtvarlst_t *none = nullptr;
    RTOVARLST_ZARN_LBXUB(&none, &p);
    EXPECT_EQ(p, 0);
    int64_t lb, ub, scl, sscl, init, shadow;
    RTOVARLST_ZARN_LBXLB(&l, &lb);
    RTOVARLST_ZARN_LBXUB(&l, &ub);
    RTOVARLST_ZARN_LBXSCL(&l, &scl);
    RTOVARLST_ZARN_LBXSOLVSCL(&l, &sscl);
    RTOVARLST_ZARN_LBXINIT(&l, &init);
    RTOVARLST_ZARN_LBXSHADOW(&l, &shadow);
    const double lower = -1.0;
    RTOVARLST_SET_VAR_LOWER_F(&l, &one, &lower, &si_off);
    EXPECT_EQ(ZARN_b0[lb], -1.0);
    EXPECT_EQ(ZARN_b0[ub], 1e35);
    EXPECT_EQ(ZARN_b0[init], 1e35);
    EXPECT_NE(scl, sscl);
    EXPECT_NE(init, shadow);

    // MEMMOVE_F moves bytes, overlap allowed; zero or negative counts do nothing.
    char buf[8] = "abcdefg";
    int64_t n = 3;
    MEMMOVE_F(buf + 1, buf, &n);
    EXPECT_STREQ(buf, "aabcefg");
    n = -1;
    MEMMOVE_F(buf, buf + 4, &n);
    EXPECT_STREQ(buf, "aabcefg");
    tap.take();
    rtovarlst_destroy_c(&l);
}

TEST(VarListFortran, CheckedDisplayUnitChange) {
    ChangeTap tap;
    HistoryCapture his;
    rtvarlst_t *l = named_list(2);
    const int32_t one = 1, two = 2, three = 3, ptype = 22, bad = 999, zero = 0;
    RTOVARLST_SET_PHYSICAL_TYPE_F(&l, &one, &ptype);
    RTOVARLST_SET_UOM_VALUE_F(&l, &one, &two);
    EXPECT_EQ(RTOVARLST_INQ_VAR_UOM_F(&l, &one), 2);
    auto ev = tap.take();
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].code, RTOVARLST_CHG_UOM);
    RTOVARLST_SET_UOM_VALUE_F(&l, &one, &two);  // unchanged: no event
    EXPECT_TRUE(tap.take().empty());
    RTOVARLST_SET_UOM_VALUE_F(&l, &one, &bad);
    EXPECT_EQ(his.text(),
              "The physical type index for variable X1 is 22. "
              "Unable to locate its UOM definition with UOM index 999.\n");
    EXPECT_EQ(RTOVARLST_INQ_VAR_UOM_F(&l, &one), 2);
    const int32_t minus = -1;
    RTOVARLST_SET_UOM_VALUE_F(&l, &one, &minus);
    EXPECT_EQ(his.text(),
              "The physical type index for variable X1 is 22. "
              "Unable to locate its UOM definition with UOM index -1.\n");
    RTOVARLST_SET_UOM_VALUE_F(&l, &one, &zero);  // the type's default unit
    EXPECT_EQ(RTOVARLST_INQ_VAR_UOM_F(&l, &one), 0);
    EXPECT_EQ(tap.take().size(), 1u);
    RTOVARLST_SET_UOM_VALUE_F(&l, &zero, &two);
    RTOVARLST_SET_UOM_VALUE_F(&l, &three, &two);  // beyond n
    EXPECT_EQ(his.text(), "");
    EXPECT_TRUE(tap.take().empty());

    // Other twins forward to the same writers.
    const int32_t spec = 1, q = 2, r = 1, ct = 7;
    RTOVARLST_SET_SPEC_VALUE_F(&l, &two, &spec);
    RTOVARLST_SET_VAR_QUALITY_F(&l, &two, &q);
    RTOVARLST_SET_VAR_RAMPED_F(&l, &two, &r);
    RTOVARLST_SET_VAR_PARAM_HOMO_F(&l, &two, &r);
    RTOVARLST_SET_VAR_CONN_TYPE_F(&l, &two, &ct);
    EXPECT_EQ(tap.take().size(), 4u);
    EXPECT_EQ(rtovarlst_inq_spec(l, 2), 1);
    EXPECT_EQ(RTOVARLST_INQ_VAR_QUALITY_F(&l, &two), 2);
    EXPECT_EQ(RTOVARLST_INQ_VAR_RAMPED_F(&l, &two), 1);
    EXPECT_EQ(RTOVARLST_INQ_VAR_PARAM_HOMO_F(&l, &two), 1);
    EXPECT_EQ(RTOVARLST_INQ_VAR_CONN_TYPE_F(&l, &two), 7);
    const double th = 300.0, sb = 2.0, st = 0.5;
    RTOVARLST_SET_VAR_THRESHOLD_F(&l, &one, &th);
    EXPECT_EQ(RTOVARLST_INQ_VAR_THRESHOLD_F(&l, &one), 300.0);
    RTOVARLST_SET_VAR_SBWEIGHT_F(&l, &one, &sb);
    EXPECT_EQ(RTOVARLST_INQ_VAR_SBWEIGHT_F(&l, &one), 2.0);
    RTOVARLST_SET_VAR_STEP_INBASEUOM_F(&l, &one, &st);
    EXPECT_EQ(RTOVARLST_INQ_VAR_STEP_F(&l, &one), 0.5);
    EXPECT_EQ(RTOVARLST_INQ_VAR_SCALE_F(&l, &one), 1e35);
    tap.take();
    rtovarlst_destroy_c(&l);
}

}  // namespace
