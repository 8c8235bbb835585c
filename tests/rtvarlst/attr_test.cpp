// Variable lists: unit conversion of the real attributes, change notification,
// modification records, status-word and type helpers.
#include <gtest/gtest.h>

#include <cmath>

#include "varlst_fixture.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/varutl.h"

using namespace zarn::test;

namespace {

using Attr = std::pair<void (*)(rtvarlst_t *, int32_t, double, int), double (*)(rtvarlst_t *, int32_t, int)>;
#define A(f) \
    Attr { rtovarlst_set_var_##f, rtovarlst_inq_var_##f }

TEST(VarListNotify, WriterCodesThroughBlockAndEvent) {
    ChangeTap tap;
    HistoryCapture his;
    RecordingBlock block, other;
    int associated = 0;
    block.associated = &associated;
    rtvarlst_t *top = named_list(5),
               *l = rtovarlst_create_embedded(3, top, "U.", 2);  // names local, block index absolute
    rtovarlst_set_nvar(l, 3);
    rtovarlst_addvars(l, 1, 3, 2, "X1X2X3");
    rtovarlst_set_var_blockptr(l, 2, &block);
    rtovarlst_set_var_blockptr(l, 2, nullptr);  // a null block is not stored
#define W(...) [](rtvarlst_t *x) { __VA_ARGS__; }
    const struct {
        const char *what;
        void (*write)(rtvarlst_t *);
        intptr_t code;
    } rows[] = {
        {"VALUE changed", W(rtovarlst_set_var_value(x, 2, 1.0, 0)), RTOVARLST_CHG_VALUE},
        {"LOWER changed", W(rtovarlst_set_var_lower(x, 2, 0.0, 0)), RTOVARLST_CHG_LOWER},
        {"VALUE and LOWER set to what they hold",
         [](rtvarlst_t *x) {
             rtovarlst_set_var_value(x, 2, 1.0, 0);
             rtovarlst_set_var_lower(x, 2, 0.0, 0);
         },
         0},
        {"UPPER and SLVSCALE set to 1e35",
         [](rtvarlst_t *x) {
             rtovarlst_set_var_upper(x, 2, 1e35, 0);
             rtovarlst_set_var_slvscl(x, 2, 1e35, 0);
         },
         0},
        {"UPPER changed", W(rtovarlst_set_var_upper(x, 2, 5.0, 0)), RTOVARLST_CHG_UPPER},
        {"SLVSCALE changed", W(rtovarlst_set_var_slvscl(x, 2, 2.0, 0)), RTOVARLST_CHG_SLVSCALE},
        {"SPEC changed", W(rtovarlst_set_spec_value(x, 2, VAR_CONST)), RTOVARLST_CHG_SPEC},
        {"SPEC set to what it holds, then to 9 (refused)",
         [](rtvarlst_t *x) {
             rtovarlst_set_spec_value(x, 2, VAR_CONST);
             rtovarlst_set_spec_value(x, 2, 9);
         },
         0},
        // These notify on every call.
        {"QUALITY set", W(rtovarlst_set_var_quality(x, 2, 0)), RTOVARLST_CHG_QUALITY},
        {"THRESHOLD set", W(rtovarlst_set_var_threshold(x, 2, 1e35, 0)), RTOVARLST_CHG_THRESHOLD},
        {"RAMPED set", W(rtovarlst_set_var_ramped(x, 2, 0)), RTOVARLST_CHG_RAMPED},
        {"PARAM_HOMO set", W(rtovarlst_set_var_param_homo(x, 2, 0)), RTOVARLST_CHG_PARAM_HOMO},
        {"TARGET_HOMO set", W(rtovarlst_set_var_target_homo(x, 2, 1e35, 0)), RTOVARLST_CHG_TARGET_HOMO},
        {"INITIAL, STEP, SBWEIGHT, SHADOW_PRICE, the units and STATUS set; RAMPED of item 0",
         [](rtvarlst_t *x) {
             rtovarlst_set_var_initial(x, 2, 3.0, 0);
             rtovarlst_set_var_step(x, 2, 3.0);
             rtovarlst_set_var_sbweight(x, 2, 3.0);
             rtovarlst_set_var_shadow_price(x, 2, 3.0, 0);
             rtovarlst_set_var_uom(x, 2, 2);
             rtovarlst_set_var_baseuom(x, 2, 1);
             rtovarlst_set_var_status(x, 2, rtovarlst_inq_var_status(x, 2));
             rtovarlst_set_var_ramped(x, 0, 1);
         },
         0}};
#undef W
    intptr_t last = 0;
    for (const auto &r : rows) {
        r.write(l);
        last = r.code ? r.code : last;
        EXPECT_EQ(tap.take(), r.code ? "X2:" + std::to_string(r.code) + "@" +
                                           std::to_string(reinterpret_cast<intptr_t>(&associated)) + " "
                                     : "")
            << r.what;
        EXPECT_EQ(rtovarlst_inq_changed_attribute(), last) << r.what;
        EXPECT_EQ(block.changed,
                  std::vector<int32_t>(std::count_if(rows, &r + 1, [](auto &x) { return x.code != 0; }), 3))
            << r.what;
    }
    const size_t calls = block.changed.size();
    rtovarlst_set_changed_attribute(0);
    rtovarlst_set_var_value(l, 3, 4.0, 0);  // no block: no handle, no code kept
    EXPECT_EQ(tap.take() + std::to_string(rtovarlst_inq_changed_attribute()),
              "X3:" + std::to_string(RTOVARLST_CHG_VALUE) + " 0");
    rtovarlst_inq_blockptr_docallback(l, 2, RTOVARLST_CHANGE_EVENT, "X2",
                                      RTOVARLST_CHG_BLOCK_ONLY);  // the block only
    EXPECT_EQ(tap.take() + std::to_string(block.changed.size() - calls) +
                  std::to_string(rtovarlst_inq_changed_attribute()),
              "1" + std::to_string(RTOVARLST_CHG_BLOCK_ONLY));
    rtovarlst_set_var_blockptr_int(l, 1, static_cast<int64_t>(reinterpret_cast<intptr_t>(&other)));
    EXPECT_EQ(his.text() + (rtovarlst_inq_var_blockptr(top, 2) == &other ? "" : "?"),
              "!! varSetSpec: spec is out of range. 9\n");
    rtovarlst_delete_sublist(&l);
    rtovarlst_destroy_c(&top);
}

TEST(VarListModified, RecordTextMasksAndFlags) {
    HistoryCapture his;
    rtvarlst_t *l = named_list(2);
    static const rtvarmod_t pair{2, 8}, only{0, 16}, fresh{5, 6};
#define M(...)          \
    [](rtvarlst_t *x) { \
        (void)x;        \
        __VA_ARGS__;    \
    }
    const struct {
        void (*op)(rtvarlst_t *);
        const char *text;
    } rows[] = {
        {M(), "untouched"},
        {M(rtovarlst_set_var_modified_string(x, 1, "1;2")), "1;2"},
        {M(rtovarlst_set_var_modified_mask(x, 1, 4)), "4;2"},
        {M(rtovarlst_set_var_modified_mask(x, 1, -3)), "4;-3"},
        {M(rtovarlst_set_var_modified_mask(x, 1, 0)), "4;-3"},
        {M(rtovarlst_set_var_modified_string(x, 1, "1024;0")), "1024;0"},
        {M(rtovarlst_set_var_attribs_modified(x, 1, &pair)), "1026;8"},
        {M(rtovarlst_set_var_attribs_modified(x, 1, &only)), "1026;24"},
        {M(rtovarlst_set_var_modified_string(x, 1, "-7")), "-7;0"},
        {M(rtovarlst_set_var_modified(x, 1, &fresh)), "5;6"},
        {M(rtovarlst_set_var_modified_string(x, 1, "-2147483648;-2147483648")), "-2147483648;-2147483648"}};
#undef M
    for (const auto &r : rows) {
        char buf[32] = "untouched";
        r.op(l);
        rtovarlst_inq_var_modified_string(l, 1, buf);
        EXPECT_EQ(buf + std::string(" ") +
                      std::to_string(static_cast<int32_t>(rtovarlst_inq_var_modified_mask1(l, 1))) + ";" +
                      std::to_string(static_cast<int32_t>(rtovarlst_inq_var_modified_mask2(l, 1))),
                  r.text + std::string(" ") + (r.op == rows[0].op ? "0;0" : r.text));
    }
    EXPECT_NE(rtovarlst_inq_var_modified(l, 1), &fresh);  // the list keeps its own copy
    rtovarlst_set_var_modified(l, 1, nullptr);
    rtovarlst_set_var_attribs_modified(l, 2, &only);
    EXPECT_EQ(his.text() + item(l, 1).substr(0, 6) +
                  std::to_string(rtovarlst_inq_var_modified_mask1(l, 2) * 100 +
                                 rtovarlst_inq_var_modified_mask2(l, 2)),
              "X1,,-,16");
    rtovarlst_destroy_c(&l);
    EXPECT_EQ(rtovarlst_set_user_assignment(1) * 100 + rtovarlst_inq_user_assignment() * 10 +
                  rtovarlst_set_user_assignment(0),
              11);
    EXPECT_EQ(rtovarlst_set_manipulate_assignment(5) * 10 + rtovarlst_set_manipulate_assignment(0) +
                  rtovarlst_inq_manipulate_assignment(),
              5);
}

// Refused specs and types, counts by type, the typed inquiries, and the writers that check their value.
TEST(VarListStatus, RefusalsTypeHelpersAndGuardedWriters) {
    HistoryCapture his;
    CountingWrapper wrap;
    rtvarlst_t *l = named_list(4);
    rtovarlst_fix_var(l, 1);
    rtovarlst_var_independent(l, 2);
    rtovarlst_var_fix_initially(l, 3);
    rtovarlst_free_var(l, 4);
    rtovarlst_set_spec(l, 4, 8);
    rtovarlst_set_var_as_state(l, 2, 1);
    rtovarlst_set_var_as_differential(l, 3, -1);
    for (auto [type, related] : {std::pair{1, 0}, std::pair{2, 0}, std::pair{0, 4}, std::pair{65, 3}})
        rtovarlst_set_var_type(l, 2, type, related);  // X2 stays a state
    int32_t rel = 0, s = -1, d = -1, o = -1, iv = -5;
    EXPECT_EQ(std::vector<int32_t>({rtovarlst_inq_spec(l, 1), rtovarlst_inq_spec(l, 2),
                                    rtovarlst_inq_spec(l, 3), rtovarlst_inq_spec(l, 4),
                                    rtovarlst_inq_var_type(l, 2, &rel), rel, rtovarlst_inq_var_state(l, 2)}),
              std::vector<int32_t>({VAR_CONST, VAR_OPTIM, VAR_INITIAL, VAR_CALC, VAR_TYPE_STATE, 1, 1}));
    rtovarlst_set_var_as_integer(l, 4);
    rtovarlst_free_var(l, 2);
    rtovarlst_free_var(l, 3);
    rtovarlst_inq_num_var_type_state_diff_other(l, &s, &d,
                                                &o);  // among the free variables; 1 is fixed in every mode
    EXPECT_EQ(s * 100 + d * 10 + o + rtovarlst_inq_num_var_type(l, VAR_TYPE_DISCRETE) * 1000, 1111);
    ChangeTap tap;
    rtovarlst_set_physical_type(l, 1, 22);
    rtovarlst_set_var_baseuom(l, 1, 2);
    rtovarlst_set_var_as_binary(l, 1, 255.3722222222222, 1);  // 0 F in SI
    EXPECT_EQ(tap.take(), "X1:" + std::to_string(RTOVARLST_CHG_VALUE) +
                              " X1:" + std::to_string(RTOVARLST_CHG_LOWER) +
                              " X1:" + std::to_string(RTOVARLST_CHG_UPPER) + " ");
    EXPECT_NEAR(rtovarlst_inq_var_binary(l, 1, &iv, 0) * 100 + iv + rtovarlst_inq_var_lower(l, 1, 1) +
                    10 * rtovarlst_inq_var_upper(l, 1, 1),
                110.0, 1e-9);
    double v = 0, st = 0, lo = 0, up = 0;
    rtovarlst_set_var_as_semi_continuous(l, 3, 4.0, 1.0, 2.0, 9.0, 0);
    rtovarlst_set_var_as_semi_continuous_integer(l, 4, -3.7, 1.0, -9.0, 9.0, 0);
    EXPECT_EQ(rtovarlst_inq_var_semi_continuous(l, 3, &v, &st, &lo, &up, 0) +
                  rtovarlst_inq_var_partial_integer(l, 3, nullptr, nullptr, 0),
              1);  // the value, step and bounds below are the semi-continuous call's alone
    EXPECT_EQ(num(v) + num(st) + num(lo) + num(up), num(4) + num(1) + num(2) + num(9));
    EXPECT_EQ(rtovarlst_inq_var_semi_continuous_integer(l, 4, &iv, &st, &lo, &up, 0) * 10 + iv,
              7);  // -3.7: toward zero
    rtovarlst_set_var_value(l, 4, 1e35, 0);
    rtovarlst_inq_var_semi_continuous_integer(l, 4, &iv, nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(iv, INT32_MAX);  // undefined: saturates instead of overflowing
    rtovarlst_set_var_value(l, 4, -1e35, 0);
    rtovarlst_inq_var_semi_continuous_integer(l, 4, &iv, nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(iv, INT32_MIN);  // and at the low end
    for (int32_t c : {1065, 1066, -1}) rtovarlst_set_var_conn_type(l, 1, c);
    rtovarlst_set_var_param_homo(l, 1, 7);
    rtovarlst_set_var_comWrapper(l, 1, &wrap);
    EXPECT_EQ(rtovarlst_inq_var_conn_type(l, 1) * 100 + rtovarlst_inq_var_param_homo(l, 1) * 10 + wrap.refs,
              106511);
    rtovarlst_clear_var_param_homo(l);
    rtovarlst_vec_value(l)[2] = 8.5;
    EXPECT_EQ(rtovarlst_inq_var_param_homo(l, 1) + rtovarlst_inq_var_value(l, 3, 0) +
                  rtovarlst_vec_baseuom(l)[1] +
                  (rtovarlst_vec_status(l)[1] != rtovarlst_inq_var_status(l, 2)),
              9.5);
    EXPECT_EQ(rtovarlst_vec_connGroup(l), nullptr);
    EXPECT_EQ(
        his.text(),
        "!! varSetSpec: spec is out of range. 8\n"
        "!! rtovarlst_set_var_type: State variable must specify non-zero offset to differential variable\n"
        "!!rtovarlst_set_var_type: Differential variable must specify non-zero offset to state variable\n"
        "!! rtovarlst_set_var_type: Non zero relation given for algebraic variable type\n"
        "!! varSetType: variable type is out of range. 65\n!!head_vvector: Unknown void attribute "
        "CONN_GROUP\n");
    rtovarlst_destroy_c(&l);
    EXPECT_EQ(wrap.refs, 0);  // the list's reference went with it
}

}  // namespace
