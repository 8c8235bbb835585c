// The one call that writes a restored variable when nobody hears the change: it leaves the item as the
// attributes' own writers leave it, and refuses, writing nothing, whatever needs a writer's own path.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "rtvarlst/rtvarlst_restore.h"
#include "varlst_fixture.h"
#include "zarnutils/varutl.h"

namespace zarn::test {
namespace {

using zarn::rtvarlst::Quiet;

// One attribute as a saved file gives it; a quantity is held divided by the item's internal scale.
struct Given {
    Quiet q;
    int32_t code;
    double real;
    bool quantity;
};

bool is_real(Quiet q) { return q >= Quiet::kLower; }
Given code(Quiet q, int32_t c) { return {q, c, 0.0, false}; }
Given real(Quiet q, double x) { return {q, 0, x, false}; }
Given quantity(Quiet q, double x) { return {q, 0, x, true}; }

constexpr double kScale = 4.0;

// X1 of X1, X2: spec 1, type 3, connection type 4, bound type 1, value -0 and scale 4; with records also
// modified masks 1 and 2, quality 3 (which makes the sparse record) and SBWeight and homotopy target -0.
rtvarlst_t *held_list(bool with_records) {
    rtvarlst_t *l = named_list(2);
    rtovarlst_set_spec(l, 1, 1);
    rtovarlst_set_physical_type(l, 1, 3);
    rtovarlst_set_var_conn_type(l, 1, 4);
    int64_t word = rtovarlst_inq_var_status(l, 1);
    varSetBoundType(1, &word);
    rtovarlst_set_var_status(l, 1, word);
    rtovarlst_vec_value(l)[0] = -0.0;
    rtovarlst_vec_scale(l)[0] = kScale;
    if (with_records) {
        rtovarlst_set_var_modified_string(l, 1, "1;2");
        rtovarlst_set_var_quality(l, 1, 3);
        rtovarlst_set_var_sbweight(l, 1, -0.0);
        rtovarlst_set_var_target_homo(l, 1, -0.0, 0);
    }
    return l;
}

// What a restore without the one call does with the attribute: its own writer.
void write_alone(rtvarlst_t *l, const Given &g) {
    const double x = g.quantity ? g.real / kScale : g.real;
    int64_t word = 0;
    using enum Quiet;
    switch (g.q) {
        case kSpec:
            return rtovarlst_set_spec_value(l, 1, g.code);
        case kBaseUom:
            return rtovarlst_set_var_baseuom(l, 1, g.code);
        case kQuality:
            return rtovarlst_set_var_quality(l, 1, g.code);
        case kModifiedMask:
            return rtovarlst_set_var_modified_mask(l, 1, g.code);
        case kUom:
            return rtovarlst_set_var_uom(l, 1, g.code);
        case kPhysicalType:
            return rtovarlst_set_physical_type(l, 1, g.code);
        case kConnType:
            return rtovarlst_set_var_conn_type(l, 1, g.code);
        case kBoundType:
            word = rtovarlst_inq_var_status(l, 1);
            varSetBoundType(g.code, &word);
            return rtovarlst_set_var_status(l, 1, word);
        case kParamHomo:
            return rtovarlst_set_var_param_homo(l, 1, g.code);
        case kRamped:
            return rtovarlst_set_var_ramped(l, 1, g.code);
        case kLower:
            return rtovarlst_set_var_lower(l, 1, x, 0);
        case kValue:
            return rtovarlst_set_var_value(l, 1, x, 0);
        case kUpper:
            return rtovarlst_set_var_upper(l, 1, x, 0);
        case kStep:
            return rtovarlst_set_var_step_inbaseuom(l, 1, x);
        case kInitial:
            return rtovarlst_set_var_initial(l, 1, x, 0);
        case kSbWeight:
            return rtovarlst_set_var_sbweight(l, 1, x);
        case kTargetHomo:
            return rtovarlst_set_var_target_homo(l, 1, x, 0);
        case kThreshold:
            return rtovarlst_set_var_threshold(l, 1, x, 0);
    }
}

enum class Hearer { kNobody, kCallback, kBlock };

TEST(VarRestore, OneCallLeavesWhatTheWritersLeaveOrRefuses) {
    using enum Quiet;
    const struct {
        const char *name;
        bool with_records;
        Hearer hearer;
        std::vector<Given> given;
        int32_t second_mask;  // a second modified-mask word unless 0
        bool stored;
    } rows[] = {
        {"the status word's fields and the full columns",
         true,
         Hearer::kNobody,
         {code(kSpec, 5), code(kPhysicalType, 6), code(kBoundType, VAR_BOUND_SOFT2), code(kBaseUom, 3),
          code(kUom, 4), code(kConnType, 11), code(kParamHomo, 1), quantity(kLower, -4.0),
          quantity(kValue, 1.5), real(kUpper, 8.0), quantity(kInitial, 0.5), quantity(kThreshold, 0.125)},
         0,
         true},
        {"the sparse record's attributes",
         true,
         Hearer::kNobody,
         {code(kQuality, 2), code(kRamped, 1), quantity(kStep, 0.25), real(kSbWeight, 3.5),
          quantity(kTargetHomo, 6.0)},
         0,
         true},
        {"a positive mask word to the first mask, a negative one to the second",
         true,
         Hearer::kNobody,
         {code(kModifiedMask, 7)},
         -9,
         true},
        {"a zero mask word changes nothing", true, Hearer::kNobody, {real(kModifiedMask, 0)}, 0, true},
        {"a connection type beyond the table is left out",
         true,
         Hearer::kNobody,
         {code(kConnType, RTOVARLST_MAX_CONN_TYPE + 1)},
         0,
         true},
        {"the last connection type",
         true,
         Hearer::kNobody,
         {code(kConnType, RTOVARLST_MAX_CONN_TYPE)},
         0,
         true},
        {"zero replaces a held minus zero SBWeight and homotopy target, as their writers store it",
         true,
         Hearer::kNobody,
         {real(kSbWeight, 0.0), real(kTargetHomo, 0.0)},
         0,
         true},
        {"the lowest physical type", true, Hearer::kNobody, {code(kPhysicalType, -255)}, 0, true},
        {"zero does not replace a held minus zero", true, Hearer::kNobody, {real(kValue, 0.0)}, 0, true},
        {"without a sparse record, defaults store nothing",
         false,
         Hearer::kNobody,
         {real(kQuality, 0), real(kRamped, 0)},
         0,
         true},
        {"a spec out of range is the writer's to report",
         true,
         Hearer::kNobody,
         {code(kSpec, VAR_INITIAL + 1)},
         0,
         false},
        {"a physical type beyond 255", true, Hearer::kNobody, {code(kPhysicalType, 256)}, 0, false},
        {"a bound type beyond the last",
         true,
         Hearer::kNobody,
         {code(kBoundType, VAR_BOUND_SOFT2 + 1)},
         0,
         false},
        {"a mask without a modification record", false, Hearer::kNobody, {code(kModifiedMask, 5)}, 0, false},
        {"a quality that makes the sparse record", false, Hearer::kNobody, {code(kQuality, 2)}, 0, false},
        {"ramped without a sparse record", false, Hearer::kNobody, {code(kRamped, 1)}, 0, false},
        {"a step other than the default without a sparse record",
         false,
         Hearer::kNobody,
         {real(kStep, 0.5)},
         0,
         false},
        {"SBWeight without a sparse record", false, Hearer::kNobody, {real(kSbWeight, 3.5)}, 0, false},
        {"a homotopy target without a sparse record",
         false,
         Hearer::kNobody,
         {real(kTargetHomo, 6.0)},
         0,
         false},
        {"a change callback listens", true, Hearer::kCallback, {real(kValue, 2.0)}, 0, false},
        {"the item has a block object", true, Hearer::kBlock, {real(kValue, 2.0)}, 0, false},
    };
    for (const auto &row : rows) {
        // The given values among a reader's words, as store_unheard finds them.
        zarn::rtvarlst::Restored r;
        std::vector<int32_t> words;
        for (const Given &g : row.given) {
            r.given |= zarn::rtvarlst::bit(g.q);
            r.offset[static_cast<int>(g.q)] = static_cast<int16_t>(words.size());
            if (g.quantity) r.per_scale |= zarn::rtvarlst::bit(g.q);
            if (!is_real(g.q)) {
                words.push_back(g.code);
                continue;
            }
            int32_t halves[2];
            std::memcpy(halves, &g.real, sizeof halves);
            words.insert(words.end(), halves, halves + 2);
        }
        if (row.second_mask != 0) {
            r.second_given = true;
            r.second_offset = static_cast<int16_t>(words.size());
            words.push_back(row.second_mask);
        }
        r.words = words.data();

        rtvarlst_t *quiet = held_list(row.with_records), *by_writers = held_list(row.with_records);
        RecordingBlock block;
        if (row.hearer == Hearer::kBlock) rtovarlst_set_var_blockptr(quiet, 1, &block);
        const std::string before = item(quiet, 1), other = item(quiet, 2);
        bool stored = false;
        {
            std::unique_ptr<ChangeTap> tap(row.hearer == Hearer::kCallback ? new ChangeTap : nullptr);
            stored = zarn::rtvarlst::store_unheard(quiet, 1, r);
        }
        EXPECT_EQ(stored, row.stored) << row.name;
        if (row.stored) {
            for (const Given &g : row.given) write_alone(by_writers, g);
            if (row.second_mask != 0) rtovarlst_set_var_modified_mask(by_writers, 1, row.second_mask);
            EXPECT_EQ(item(quiet, 1), item(by_writers, 1)) << row.name;
        } else {
            EXPECT_EQ(item(quiet, 1), before) << row.name << ": written although refused";
        }
        EXPECT_EQ(item(quiet, 2), other) << row.name << ": another item written";
        rtovarlst_destroy_c(&quiet);
        rtovarlst_destroy_c(&by_writers);
    }
}

}  // namespace
}  // namespace zarn::test
