// X-file round trips under the internal scale: every real the file holds
// unscaled is multiplied by the scale on save and divided by it on restore,
// so restore(save(x)) = x; an undefined number is saved and restored as it is.
#include <gtest/gtest.h>

#include <cmath>

#include "xfile_fixture.h"

namespace zarn::test {
namespace {

constexpr double kUndefined = 1e35;

struct Held {
    double lower, value, upper, step, init, sbweight, target, threshold;
};

Held held_of(rtvarlst_t *l, int32_t i) {
    return {rtovarlst_inq_var_lower(l, i, 0),       rtovarlst_inq_var_value(l, i, 0),
            rtovarlst_inq_var_upper(l, i, 0),       rtovarlst_inq_var_step_inbaseuom(l, i),
            rtovarlst_inq_var_initial(l, i, 0),     rtovarlst_inq_var_sbweight(l, i),
            rtovarlst_inq_var_target_homo(l, i, 0), rtovarlst_inq_var_threshold(l, i, 0)};
}

void hold(rtvarlst_t *l, int32_t i, double scale, const Held &h) {
    rtovarlst_vec_scale(l)[i - 1] = scale;
    rtovarlst_set_var_lower(l, i, h.lower, 0);
    rtovarlst_set_var_value(l, i, h.value, 0);
    rtovarlst_set_var_upper(l, i, h.upper, 0);
    rtovarlst_set_var_step_inbaseuom(l, i, h.step);
    rtovarlst_set_var_initial(l, i, h.init, 0);
    rtovarlst_set_var_sbweight(l, i, h.sbweight);
    rtovarlst_set_var_target_homo(l, i, h.target, 0);
    rtovarlst_set_var_threshold(l, i, h.threshold, 0);
}

struct Row {
    const char *name;
    double scale;
    Held held;
};

TEST(XFileScale, EveryRealComesBackAsItWasHeldWhateverTheScale) {
    const Row rows[] = {
        {"scale 1", 1.0, {-4, 1.5, 8, 0.25, 0.5, 3.5, 6, 0.125}},
        {"scale 2", 2.0, {-4, 1.5, 8, 0.25, 7, 3.5, 6, 0.125}},
        {"undefined scale", kUndefined, {-4, 5, 10, 0.25, 7, 3.5, 6, 0.125}},
        {"scale 2, undefined init, step and target",
         2.0,
         {-4, 1.5, 8, kUndefined, kUndefined, 3.5, kUndefined, kUndefined}},
        {"undefined scale, undefined init and step",
         kUndefined,
         {kUndefined, 5, kUndefined, kUndefined, kUndefined, kUndefined, kUndefined, kUndefined}},
        {"zero scale counts as 1", 0.0, {-1, 2, 3, 0.5, 1, 1, 1, 1}},
    };
    HistoryCapture history;  // the restore lists what the file holds
    const std::string path = scratch("scale");
    for (const Row &row : rows) {
        rtvarlst_t *src = list_of({"A"});
        hold(src, 1, row.scale, row.held);
        save_file(path, src, all_flags());
        rtvarlst_t *dst = list_of({"A"});
        rtovarlst_vec_scale(dst)[0] = row.scale;
        EXPECT_EQ(restore_file(path, dst, all_flags()), 0) << row.name;
        const Held want = row.held, got = held_of(dst, 1);
        EXPECT_EQ(got.lower, want.lower) << row.name << ": lower";
        EXPECT_EQ(got.value, want.value) << row.name << ": value";
        EXPECT_EQ(got.upper, want.upper) << row.name << ": upper";
        EXPECT_EQ(got.step, want.step) << row.name << ": step";
        EXPECT_EQ(got.init, want.init) << row.name << ": initial value";
        EXPECT_EQ(got.sbweight, want.sbweight) << row.name << ": SBWeight";
        EXPECT_EQ(got.target, want.target) << row.name << ": homotopy target";
        EXPECT_EQ(got.threshold, want.threshold) << row.name << ": threshold";
        rtovarlst_destroy_c(&src);
        rtovarlst_destroy_c(&dst);
    }
    std::remove(path.c_str());
}

TEST(XFileScale, UnscaledRealsAreWrittenTimesTheScaleAndUndefinedOnesAsTheyAre) {
    rtvarlst_t *src = list_of({"A"});
    hold(src, 1, 2.0, {-4, 1.5, 8, kUndefined, 7, 3.5, 6, 0.125});
    const std::string path = scratch("scale_words");
    save_file(path, src, flags_of({RTXFILE_VALUE, RTXFILE_STEP, RTXFILE_INITIAL, RTXFILE_THRESHOLD}));
    const Words words = read_words(path);
    Words want_tail;  // index, then value, step, initial, threshold in the file's real order
    want_tail.push_back(1);
    for (double r : {1.5 * 2, kUndefined, 7.0 * 2, 0.125}) push_real(want_tail, r);
    want_tail.push_back(-1);
    ASSERT_GE(words.size(), 512 + want_tail.size());
    EXPECT_EQ(Words(words.begin() + 512, words.begin() + 512 + static_cast<long>(want_tail.size())),
              want_tail);
    rtovarlst_destroy_c(&src);
    std::remove(path.c_str());
}

}  // namespace
}  // namespace zarn::test
