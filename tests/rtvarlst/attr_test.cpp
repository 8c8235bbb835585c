// Variable lists: unit conversion of the real attributes, change notification,
// modification records, status-word and type helpers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "capture.h"
#include "fakes.h"
#include "varlst_fixture.h"
#include "zarnutils/rtcontext.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/varutl.h"

using zarn::test::ChangeTap;
using zarn::test::HistoryCapture;
using zarn::test::named_list;
using zarn::test::RecordingBlock;

namespace {

constexpr int kPressure = 20;
constexpr int kTemperature = 22;
constexpr int kDeltaT = 31;
constexpr int kF = 2;  // F in TEMPERATURE, DELTA-F in DELTA-T, PSIA in PRESSURE

double f_to_k(double f) { return rtouom_pair2si(f, kTemperature, kF); }

TEST(VarListUnits, SiFlagConvertsThroughTheBaseUnit) {
    rtvarlst_t *l = named_list(3);
    // Base unit 1: the flag changes nothing.
    rtovarlst_set_physical_type(l, 1, kTemperature);
    rtovarlst_set_var_value(l, 1, 300.0, 1);
    EXPECT_EQ(rtovarlst_inq_var_value(l, 1, 0), 300.0);
    EXPECT_EQ(rtovarlst_inq_var_value(l, 1, 1), 300.0);

    // Temperature stored in F: ordinary forms with the offset.
    rtovarlst_set_var_baseuom(l, 1, kF);
    rtovarlst_set_var_value(l, 1, 212.0, 0);
    EXPECT_NEAR(rtovarlst_inq_var_value(l, 1, 1), 373.15, 1e-9);
    rtovarlst_set_var_value(l, 1, 373.15, 1);
    EXPECT_NEAR(rtovarlst_inq_var_value(l, 1, 0), 212.0, 1e-9);
    rtovarlst_set_var_lower(l, 1, 255.372222222222, 1);
    EXPECT_NEAR(rtovarlst_inq_var_lower(l, 1, 0), 0.0, 1e-9);
    rtovarlst_set_var_upper(l, 1, 32.0, 0);
    EXPECT_NEAR(rtovarlst_inq_var_upper(l, 1, 1), 273.15, 1e-9);
    rtovarlst_set_var_shadow_price(l, 1, 1.0, 0);
    EXPECT_NEAR(rtovarlst_inq_var_shadow_price(l, 1, 1), f_to_k(1.0), 1e-12);
    rtovarlst_set_var_step(l, 1, 300.0);  // STEP from SI with the ordinary forms
    EXPECT_NEAR(rtovarlst_inq_var_step_inbaseuom(l, 1), rtouom_si2pair(300.0, kTemperature, kF), 1e-9);
    EXPECT_NEAR(rtovarlst_inq_var_step(l, 1), 300.0, 1e-9);
    rtovarlst_set_var_target_homo(l, 1, 50.0, 0);
    EXPECT_NEAR(rtovarlst_inq_var_target_homo(l, 1, 1), f_to_k(50.0), 1e-9);

    // SLVSCALE always uses the difference forms: no offset.
    rtovarlst_set_var_slvscl(l, 1, 9.0, 0);
    EXPECT_NEAR(rtovarlst_inq_var_slvscl(l, 1, 1), 5.0, 1e-9);
    rtovarlst_set_var_slvscl(l, 1, 10.0, 1);
    EXPECT_NEAR(rtovarlst_inq_var_slvscl(l, 1, 0), 18.0, 1e-9);

    // SCALE and SBWEIGHT are never converted.
    rtovarlst_set_var_sbweight(l, 1, 3.0);
    EXPECT_EQ(rtovarlst_inq_var_sbweight(l, 1), 3.0);

    // INIT and THRESHOLD: an undefined value is never converted; others are.
    EXPECT_EQ(rtovarlst_inq_var_initial(l, 1, 1), 1e35);
    EXPECT_EQ(rtovarlst_inq_var_threshold(l, 1, 1), 1e35);
    rtovarlst_set_var_initial(l, 1, 1e35, 1);
    EXPECT_EQ(rtovarlst_inq_var_initial(l, 1, 0), 1e35);
    rtovarlst_set_var_initial(l, 1, 32.0, 0);
    EXPECT_NEAR(rtovarlst_inq_var_initial(l, 1, 1), 273.15, 1e-9);
    rtovarlst_set_var_threshold(l, 1, 273.15, 1);
    EXPECT_NEAR(rtovarlst_inq_var_threshold(l, 1, 0), 32.0, 1e-9);
    // VALUE converts whatever it holds, 1e35 included.
    rtovarlst_set_var_value(l, 1, 1e35, 0);
    EXPECT_NE(rtovarlst_inq_var_value(l, 1, 1), 1e35);

    // DELTA-T uses the difference forms; a unit with an offset shows it.
    const int dt = rtouom_add_uom("DTOFFSETTEST", kDeltaT, 2.0, 10.0);
    ASSERT_GT(dt, 0);
    rtovarlst_set_physical_type(l, 2, kDeltaT);
    rtovarlst_set_var_baseuom(l, 2, dt);
    rtovarlst_set_var_value(l, 2, 3.0, 0);
    EXPECT_EQ(rtovarlst_inq_var_value(l, 2, 1), 6.0);
    rtovarlst_set_var_value(l, 2, 8.0, 1);
    EXPECT_EQ(rtovarlst_inq_var_value(l, 2, 0), 4.0);
    // ... while TEMPERATURE in a unit with an offset uses it.
    const int tt = rtouom_add_uom("TOFFSETTEST", kTemperature, 2.0, 10.0);
    ASSERT_GT(tt, 0);
    rtovarlst_set_physical_type(l, 3, kTemperature);
    rtovarlst_set_var_baseuom(l, 3, tt);
    rtovarlst_set_var_value(l, 3, 3.0, 0);
    EXPECT_EQ(rtovarlst_inq_var_value(l, 3, 1), 16.0);

    // PDROP is a difference: a user unit's offset never applies.
    const int pd = rtouom_add_uom("PDOFFSETTEST", 75, 2.0, 10.0);
    ASSERT_GT(pd, 0);
    rtovarlst_set_physical_type(l, 1, 75);
    rtovarlst_set_var_baseuom(l, 1, pd);
    rtovarlst_set_var_value(l, 1, 3.0, 0);
    EXPECT_EQ(rtovarlst_inq_var_value(l, 1, 1), 6.0);
    rtovarlst_destroy_c(&l);
}

TEST(VarListNotify, WriterCodesThroughBlockAndEvent) {
    ChangeTap tap;
    RecordingBlock block;
    int associated = 0;
    block.associated = &associated;
    rtvarlst_t *l = named_list(3);
    rtovarlst_set_var_blockptr(l, 2, &block);

    rtovarlst_set_var_value(l, 2, 1.0, 0);
    auto ev = tap.take();
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].name, "X2");
    EXPECT_EQ(ev[0].code, RTOVARLST_CHG_VALUE);
    EXPECT_EQ(ev[0].handle, reinterpret_cast<intptr_t>(&associated));
    ASSERT_EQ(block.changed.size(), 1u);
    EXPECT_EQ(block.changed[0], 2);
    EXPECT_EQ(rtovarlst_inq_changed_attribute(), RTOVARLST_CHG_VALUE);

    // Unchanged values raise nothing.
    rtovarlst_set_var_value(l, 2, 1.0, 0);
    rtovarlst_set_var_lower(l, 2, 1e35, 0);
    rtovarlst_set_var_upper(l, 2, 1e35, 0);
    rtovarlst_set_var_slvscl(l, 2, 1e35, 0);
    EXPECT_TRUE(tap.take().empty());
    EXPECT_EQ(block.changed.size(), 1u);

    struct Case {
        void (*write)(rtvarlst_t *);
        intptr_t code;
    };
    const Case changes[] = {
        {[](rtvarlst_t *x) { rtovarlst_set_var_lower(x, 2, 0.0, 0); }, RTOVARLST_CHG_LOWER},
        {[](rtvarlst_t *x) { rtovarlst_set_var_upper(x, 2, 5.0, 0); }, RTOVARLST_CHG_UPPER},
        {[](rtvarlst_t *x) { rtovarlst_set_var_slvscl(x, 2, 2.0, 0); }, RTOVARLST_CHG_SLVSCALE},
        {[](rtvarlst_t *x) { rtovarlst_set_spec_value(x, 2, VAR_CONST); }, RTOVARLST_CHG_SPEC},
        // These notify on every call, also with the value they already hold.
        {[](rtvarlst_t *x) { rtovarlst_set_var_quality(x, 2, 0); }, RTOVARLST_CHG_QUALITY},
        {[](rtvarlst_t *x) { rtovarlst_set_var_threshold(x, 2, 1e35, 0); }, RTOVARLST_CHG_THRESHOLD},
        {[](rtvarlst_t *x) { rtovarlst_set_var_ramped(x, 2, 0); }, RTOVARLST_CHG_RAMPED},
        {[](rtvarlst_t *x) { rtovarlst_set_var_param_homo(x, 2, 0); }, RTOVARLST_CHG_PARAM_HOMO},
        {[](rtvarlst_t *x) { rtovarlst_set_var_target_homo(x, 2, 1e35, 0); }, RTOVARLST_CHG_TARGET_HOMO},
    };
    for (const Case &c : changes) {
        c.write(l);
        ev = tap.take();
        ASSERT_EQ(ev.size(), 1u) << c.code;
        EXPECT_EQ(ev[0].code, c.code);
        EXPECT_EQ(rtovarlst_inq_changed_attribute(), c.code);
    }
    EXPECT_EQ(block.changed.size(), 1u + std::size(changes));

    // Silent writers.
    rtovarlst_set_spec_value(l, 2, VAR_CONST);  // same spec
    rtovarlst_set_spec_value(l, 2, 9);          // refused by the status word
    rtovarlst_set_var_initial(l, 2, 3.0, 0);
    rtovarlst_set_var_step(l, 2, 3.0);
    rtovarlst_set_var_sbweight(l, 2, 3.0);
    rtovarlst_set_var_shadow_price(l, 2, 3.0, 0);
    rtovarlst_set_var_uom(l, 2, 2);
    rtovarlst_set_var_baseuom(l, 2, 1);
    rtovarlst_set_var_status(l, 2, rtovarlst_inq_var_status(l, 2));
    rtovarlst_set_var_ramped(l, 0, 1);  // zero index ignored
    EXPECT_TRUE(tap.take().empty());

    // Without a block: the event still goes out with a null handle; the code is not recorded.
    rtovarlst_set_changed_attribute(0);
    rtovarlst_set_var_value(l, 3, 4.0, 0);
    ev = tap.take();
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].name, "X3");
    EXPECT_EQ(ev[0].handle, 0);
    EXPECT_EQ(rtovarlst_inq_changed_attribute(), 0);

    // Code 32768 tells the block but raises no event.
    rtovarlst_inq_blockptr_docallback(l, 2, RTOVARLST_CHANGE_EVENT, "X2", RTOVARLST_CHG_BLOCK_ONLY);
    EXPECT_TRUE(tap.take().empty());
    EXPECT_EQ(block.changed.back(), 2);
    EXPECT_EQ(rtovarlst_inq_changed_attribute(), RTOVARLST_CHG_BLOCK_ONLY);

    // A null block is not stored: the first one stays.
    rtovarlst_set_var_blockptr(l, 2, nullptr);
    EXPECT_EQ(rtovarlst_inq_var_blockptr(l, 2), &block);
    RecordingBlock other;
    rtovarlst_set_var_blockptr_int(l, 1, static_cast<int64_t>(reinterpret_cast<intptr_t>(&other)));
    EXPECT_EQ(rtovarlst_inq_var_blockptr(l, 1), &other);
    rtovarlst_destroy_c(&l);
}

TEST(VarListNotify, SublistReportsAbsoluteIndexAndLocalName) {
    ChangeTap tap;
    RecordingBlock block;
    rtvarlst_t *top = named_list(5);
    rtvarlst_t *w = rtovarlst_create_embedded(2, top, "U.", 4);
    rtovarlst_set_nvar(w, 2);
    rtovarlst_addvar(w, 1, "A");
    rtovarlst_set_var_blockptr(w, 1, &block);
    rtovarlst_set_var_value(w, 1, 2.0, 0);
    auto ev = tap.take();
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].name, "A");
    ASSERT_EQ(block.changed.size(), 1u);
    EXPECT_EQ(block.changed[0], 4);
    EXPECT_EQ(rtovarlst_inq_var_blockptr(top, 4), &block);
    rtovarlst_delete_sublist(&w);
    rtovarlst_destroy_c(&top);
}

TEST(VarListModified, RecordTextAndMasks) {
    HistoryCapture his;
    rtvarlst_t *l = named_list(2);
    char buf[32] = "untouched";
    EXPECT_EQ(rtovarlst_inq_var_modified(l, 1), nullptr);
    EXPECT_EQ(rtovarlst_inq_var_modified(l, 0), nullptr);
    EXPECT_EQ(rtovarlst_inq_var_modified_mask1(l, 1), 0u);
    rtovarlst_inq_var_modified_string(l, 1, buf);
    EXPECT_STREQ(buf, "untouched");

    rtovarlst_set_var_modified_string(l, 1, "1;2");
    rtovarlst_inq_var_modified_string(l, 1, buf);
    EXPECT_STREQ(buf, "1;2");
    const rtvarmod_t *before = rtovarlst_inq_var_modified(l, 1);
    rtovarlst_set_var_modified_mask(l, 1, 4);
    rtovarlst_inq_var_modified_string(l, 1, buf);
    EXPECT_STREQ(buf, "4;2");
    rtovarlst_set_var_modified_mask(l, 1, -3);
    rtovarlst_inq_var_modified_string(l, 1, buf);
    EXPECT_STREQ(buf, "4;-3");
    EXPECT_EQ(rtovarlst_inq_var_modified_mask2(l, 1), static_cast<uint32_t>(-3));
    rtovarlst_set_var_modified_mask(l, 1, 0);
    rtovarlst_inq_var_modified_string(l, 1, buf);
    EXPECT_STREQ(buf, "4;-3");
    (void)before;

    rtovarlst_set_var_modified_string(l, 2, "1024;0");
    EXPECT_EQ(rtovarlst_inq_var_modified_mask1(l, 2), 1024u);
    rtvarmod_t pair{2, 8};
    rtovarlst_set_var_attribs_modified(l, 2, &pair);
    rtovarlst_inq_var_modified_string(l, 2, buf);
    EXPECT_STREQ(buf, "1026;8");
    rtovarlst_set_var_modified_string(l, 2, "-7");  // no ";": mask2 is 0
    rtovarlst_inq_var_modified_string(l, 2, buf);
    EXPECT_STREQ(buf, "-7;0");
    rtvarmod_t fresh{5, 6};
    rtovarlst_set_var_modified(l, 2, &fresh);
    EXPECT_EQ(rtovarlst_inq_var_modified_mask1(l, 2), 5u);
    EXPECT_EQ(rtovarlst_inq_var_modified_mask2(l, 2), 6u);
    EXPECT_NE(rtovarlst_inq_var_modified(l, 2), &fresh);  // the list keeps its own copy
    rtovarlst_set_var_modified(l, 2, nullptr);
    EXPECT_EQ(rtovarlst_inq_var_modified(l, 2), nullptr);
    rtvarmod_t only{0, 16};
    rtovarlst_set_var_attribs_modified(l, 2, &only);
    EXPECT_EQ(rtovarlst_inq_var_modified_mask2(l, 2), 16u);
    // The longest text: both masks at the most negative 32-bit value.
    rtovarlst_set_var_modified_string(l, 2, "-2147483648;-2147483648");
    EXPECT_EQ(rtovarlst_inq_var_modified_mask2(l, 2), 0x80000000u);
    rtovarlst_inq_var_modified_string(l, 2, buf);
    EXPECT_STREQ(buf, "-2147483648;-2147483648");

    EXPECT_EQ(his.text(), "");
    rtovarlst_destroy_c(&l);
}

TEST(VarListModified, AssignmentFlagsReturnThePreviousOne) {
    EXPECT_EQ(rtovarlst_set_user_assignment(1), 0);
    EXPECT_EQ(rtovarlst_inq_user_assignment(), 1);
    EXPECT_EQ(rtovarlst_set_user_assignment(0), 1);
    EXPECT_EQ(rtovarlst_set_manipulate_assignment(5), 0);
    EXPECT_EQ(rtovarlst_set_manipulate_assignment(0), 5);
    EXPECT_EQ(rtovarlst_inq_manipulate_assignment(), 0);
    rtovarlst_set_changed_attribute(128);
    EXPECT_EQ(rtovarlst_inq_changed_attribute(), 128);
    rtovarlst_set_changed_attribute(0);
}

TEST(VarListStatus, SpecTypeAndFieldHelpers) {
    HistoryCapture his;
    rtvarlst_t *l = named_list(4);
    rtovarlst_fix_var(l, 1);
    EXPECT_EQ(rtovarlst_inq_spec(l, 1), VAR_CONST);
    rtovarlst_var_independent(l, 1);
    EXPECT_EQ(rtovarlst_inq_spec(l, 1), VAR_OPTIM);
    rtovarlst_var_fix_initially(l, 1);
    EXPECT_EQ(rtovarlst_inq_spec(l, 1), VAR_INITIAL);
    rtovarlst_free_var(l, 1);
    EXPECT_EQ(rtovarlst_inq_spec(l, 1), VAR_CALC);
    rtovarlst_set_spec(l, 1, 8);
    EXPECT_EQ(his.text(), "!! varSetSpec: spec is out of range. 8\n");
    rtovarlst_set_spec(l, 9, VAR_CONST);  // beyond n: nothing at all
    rtovarlst_set_physical_type(l, 1, -20);
    EXPECT_EQ(rtovarlst_inq_physical_type(l, 1), -20);
    EXPECT_EQ(rtovarlst_inq_spec(l, 1), VAR_CALC);
    rtovarlst_set_var_marked(l, 1, 1);
    EXPECT_EQ(rtovarlst_inq_var_marked(l, 1), 1);
    EXPECT_EQ(rtovarlst_inq_physical_type(l, 1), -20);
    rtovarlst_set_var_marked(l, 1, 0);
    EXPECT_EQ(rtovarlst_inq_var_marked(l, 1), 0);
    EXPECT_EQ(his.text(), "");

    // Types and relations.
    rtovarlst_set_var_as_state(l, 2, 1);
    int32_t rel = 0;
    EXPECT_EQ(rtovarlst_inq_var_type(l, 2, &rel), VAR_TYPE_STATE);
    EXPECT_EQ(rel, 1);
    EXPECT_EQ(rtovarlst_inq_var_state(l, 2), 1);
    rtovarlst_set_var_as_differential(l, 3, -1);
    EXPECT_EQ(rtovarlst_inq_var_differential(l, 3), 1);
    EXPECT_EQ(rtovarlst_inq_var_related(l, 3), -1);
    rtovarlst_set_var_type(l, 2, 1, 0);
    EXPECT_EQ(his.text(),
              "!! rtovarlst_set_var_type: State variable must specify non-zero offset to differential variable\n");
    rtovarlst_set_var_type(l, 2, 2, 0);
    EXPECT_EQ(his.text(),
              "!!rtovarlst_set_var_type: Differential variable must specify non-zero offset to state variable\n");
    rtovarlst_set_var_type(l, 2, 0, 4);
    EXPECT_EQ(his.text(), "!! rtovarlst_set_var_type: Non zero relation given for algebraic variable type\n");
    EXPECT_EQ(rtovarlst_inq_var_type(l, 2, &rel), VAR_TYPE_STATE);
    EXPECT_EQ(rel, 1);
    rtovarlst_set_var_type(l, 2, 65, 3);
    EXPECT_EQ(his.text(), "!! varSetType: variable type is out of range. 65\n");
    EXPECT_EQ(rtovarlst_inq_var_related(l, 2), 1);  // refused type: RELATED untouched
    rtovarlst_set_var_type(l, 2, 0, 0);
    EXPECT_EQ(rtovarlst_inq_var_algebraic(l, 2), 1);
    EXPECT_EQ(rtovarlst_inq_var_related(l, 2), 0);
    EXPECT_EQ(rtovarlst_inq_var_type(l, 0, &rel), 99999999);
    EXPECT_EQ(rtovarlst_inq_var_type(l, 5, nullptr), 99999999);

    // Counts by type, and state/differential/other among the free variables.
    rtovarlst_set_var_as_state(l, 1, 2);
    rtovarlst_set_var_as_integer(l, 4);
    EXPECT_EQ(rtovarlst_inq_num_var_type(l, VAR_TYPE_STATE), 1);
    EXPECT_EQ(rtovarlst_inq_num_var_type(l, VAR_TYPE_DISCRETE), 1);
    EXPECT_EQ(rtovarlst_inq_var_integer(l, 4), 1);
    int32_t s = -1, d = -1, o = -1;
    rtovarlst_inq_num_var_type_state_diff_other(l, &s, &d, &o);
    EXPECT_EQ(s, 1);
    EXPECT_EQ(d, 1);
    EXPECT_EQ(o, 2);
    rtovarlst_fix_var(l, 3);  // fixed in every mode: not counted
    rtovarlst_inq_num_var_type_state_diff_other(l, &s, &d, &o);
    EXPECT_EQ(d, 0);
    rtovarlst_inq_num_var_type_state_diff_other(nullptr, &s, &d, &o);
    EXPECT_EQ(s + d + o, 0);
    EXPECT_EQ(his.text(), "");
    rtovarlst_destroy_c(&l);
}

TEST(VarListStatus, TypeHelpersWriteValuesAndBounds) {
    ChangeTap tap;
    rtvarlst_t *l = named_list(4);
    rtovarlst_set_physical_type(l, 1, kTemperature);
    rtovarlst_set_var_baseuom(l, 1, kF);
    rtovarlst_set_var_as_binary(l, 1, 255.372222222222, 1);  // 0 F given in SI
    int32_t iv = -5;
    EXPECT_EQ(rtovarlst_inq_var_binary(l, 1, &iv, 0), 1);
    EXPECT_EQ(iv, 0);
    EXPECT_NEAR(rtovarlst_inq_var_lower(l, 1, 1), 0.0, 1e-9);
    EXPECT_NEAR(rtovarlst_inq_var_upper(l, 1, 1), 1.0, 1e-9);
    EXPECT_EQ(tap.take().size(), 3u);  // VALUE, LOWER, UPPER changed

    rtovarlst_set_var_as_partial_integer(l, 2, 2.5, 0.5, 0);
    double v = 0, st = 0, lo = 0, up = 0;
    EXPECT_EQ(rtovarlst_inq_var_partial_integer(l, 2, &v, &st, 0), 1);
    EXPECT_EQ(v, 2.5);
    EXPECT_EQ(st, 0.5);
    rtovarlst_set_var_as_semi_continuous(l, 3, 4.0, 1.0, 2.0, 9.0, 0);
    EXPECT_EQ(rtovarlst_inq_var_semi_continuous(l, 3, &v, &st, &lo, &up, 0), 1);
    EXPECT_EQ(v, 4.0);
    EXPECT_EQ(st, 1.0);
    EXPECT_EQ(lo, 2.0);
    EXPECT_EQ(up, 9.0);
    EXPECT_EQ(rtovarlst_inq_var_semi_continuous_integer(l, 3, &iv, &st, &lo, &up, 0), 0);
    rtovarlst_set_var_as_semi_continuous_integer(l, 4, -3.7, 1.0, -9.0, 9.0, 0);
    EXPECT_EQ(rtovarlst_inq_var_semi_continuous_integer(l, 4, &iv, &st, &lo, &up, 0), 1);
    EXPECT_EQ(iv, -3);  // toward zero
    EXPECT_EQ(rtovarlst_inq_var_type(l, 4, nullptr), VAR_TYPE_SEMI_CONTINUOUS_INTEGER);
    // An undefined value saturates instead of overflowing.
    rtovarlst_set_var_value(l, 4, 1e35, 0);
    rtovarlst_inq_var_semi_continuous_integer(l, 4, &iv, nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(iv, INT32_MAX);
    rtovarlst_set_var_as_discrete_eqnslack(l, 2);
    EXPECT_EQ(rtovarlst_inq_var_discrete_eqnslack(l, 2), 1);
    EXPECT_EQ(rtovarlst_inq_var_partial_integer(l, 2, &v, &st, 0), 0);
    EXPECT_EQ(rtovarlst_inq_var_binary(l, 0, &iv, 0), 0);
    EXPECT_EQ(rtovarlst_inq_var_binary(nullptr, 1, &iv, 0), 0);
    tap.take();
    rtovarlst_destroy_c(&l);
}

TEST(VarListAttributes, GuardedWritersAndVectors) {
    HistoryCapture his;
    rtvarlst_t *l = named_list(3);
    rtovarlst_set_var_conn_type(l, 1, 1065);
    rtovarlst_set_var_conn_type(l, 1, 1066);
    rtovarlst_set_var_conn_type(l, 1, -1);
    rtovarlst_set_var_conn_type(l, 0, 5);
    rtovarlst_set_var_conn_type(l, 4, 5);
    EXPECT_EQ(rtovarlst_inq_var_conn_type(l, 1), 1065);
    rtovarlst_set_var_basic(l, 0, 3);
    rtovarlst_set_var_basic(l, 2, 3);
    EXPECT_EQ(rtovarlst_inq_var_basic(l, 2), 3);
    EXPECT_EQ(his.text(), "");  // ignored silently
    rtovarlst_set_var_active_bound(l, 2, 6);
    EXPECT_EQ(rtovarlst_inq_var_active_bound(l, 2), 6);
    rtovarlst_set_var_related(l, 3, -2);
    EXPECT_EQ(rtovarlst_inq_var_related(l, 3), -2);
    rtovarlst_set_var_description(l, 3, "reboiler duty");
    EXPECT_STREQ(rtovarlst_inq_var_description(l, 3), "reboiler duty");
    EXPECT_STREQ(rtovarlst_inq_var_description(l, 2), "");
    rtovarlst_set_var_param_homo(l, 1, 7);
    rtovarlst_set_var_param_homo(l, 3, 1);
    EXPECT_EQ(rtovarlst_inq_var_param_homo(l, 1), 1);
    rtovarlst_clear_var_param_homo(l);
    EXPECT_EQ(rtovarlst_inq_var_param_homo(l, 1) + rtovarlst_inq_var_param_homo(l, 3), 0);

    zarn::test::CountingWrapper wrap;
    rtovarlst_set_var_comWrapper(l, 1, &wrap);
    EXPECT_EQ(wrap.refs, 1);
    EXPECT_EQ(rtovarlst_inq_var_comWrapper(l, 1), &wrap);

    double *value = rtovarlst_vec_value(l);
    ASSERT_NE(value, nullptr);
    value[2] = 8.5;
    EXPECT_EQ(rtovarlst_inq_var_value(l, 3, 0), 8.5);
    EXPECT_EQ(rtovarlst_vec_status(l)[0], 0);
    EXPECT_EQ(rtovarlst_vec_baseuom(l)[1], 1);
    EXPECT_NE(rtovarlst_vec_scale(l), nullptr);
    EXPECT_NE(rtovarlst_vec_solveScale(l), nullptr);
    EXPECT_NE(rtovarlst_vec_lower(l), nullptr);
    EXPECT_NE(rtovarlst_vec_upper(l), nullptr);
    EXPECT_NE(rtovarlst_vec_uom(l), nullptr);
    EXPECT_NE(rtovarlst_vec_basic(l), nullptr);
    EXPECT_EQ(his.text(), "");
    EXPECT_EQ(rtovarlst_vec_connGroup(l), nullptr);
    EXPECT_EQ(his.text(), "!!head_vvector: Unknown void attribute CONN_GROUP\n");
    rtovarlst_destroy_c(&l);
    EXPECT_EQ(wrap.refs, 0);  // the list's reference went with it
}

}  // namespace
