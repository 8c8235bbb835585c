// Variable filters over records: fixedness in the current problem mode, the
// active bound and the name pattern, alone and together.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "zarnutils/hsregexp.h"
#include "zarnutils/rtcontext.h"
#include "zarnutils/varmask.h"
#include "zarnutils/varutl.h"

namespace {

TEST(VarmaskFilters, OverRecords) {
    const vfilter_fn filters[] = {vfilter_always_true, vfilter_var_is_fixed, vfilter_regexp_match,
                                  vfilter_fixed_regexp_match, vfilter_active_bounds,
                                  vfilter_regexp_match_with_active_bounds};
    const struct {
        int32_t mode, spec, active_bound;
        const char *name;
        const char *expect;  // one digit per filter, in the order above
    } rows[] = {
        {0, VAR_CONST, 0, "FEED.T", "111100"}, {0, VAR_CONST, 1, "OUT.T", "110000"},
        {0, VAR_CALC, 1, "FEED.P", "101011"},  {0, VAR_CALC, -1, "OUT.P", "100010"},
        {0, VAR_CALC, 0, "FEED.F", "101000"},  {0, VAR_MEAS, 2, "FEED.X", "101011"},
        {1, VAR_MEAS, 2, "FEED.X", "111100"},  {1, VAR_CALC, 1, "XFEED", "100010"},
    };
    hs_regexp *re = hs_regcomp("^FEED");
    const int32_t saved = rtopt_mode;
    for (const auto &r : rows) {
        rtvarinfo_t rec{};
        rtopt_mode = r.mode;
        varSetSpec(&rec.status, r.spec);
        rec.active_bound = r.active_bound;
        std::strcpy(rec.name, r.name);
        std::string got;
        for (vfilter_fn f : filters) got += std::to_string(f(&rec, re));
        EXPECT_EQ(got, r.expect) << r.name << " mode " << r.mode;
    }
    // No record, no pattern, or a name filling its field without a terminator: not taken.
    rtvarinfo_t rec{};
    varSetSpec(&rec.status, VAR_CONST);
    rec.active_bound = 1;
    for (size_t i = 0; i < sizeof rec.name; ++i) rec.name[i] = "FEED"[i % 4];
    std::string got;
    for (vfilter_fn f : filters) got += std::to_string(f(nullptr, re)) + std::to_string(f(&rec, re));
    std::strcpy(rec.name, "FEED");
    for (vfilter_fn f : filters) got += std::to_string(f(&rec, nullptr));
    EXPECT_EQ(got, "110100000000" "110000");
    rtopt_mode = saved;
    hs_regfree(re);
}

}  // namespace
