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
    hs_regexp *re = hs_regcomp("^FEED");
    const struct {
        int32_t mode, spec, active_bound;
        const char *name;  // "": the whole field filled with FEEDFEED..., no terminator
        hs_regexp *pattern;
        const char *expect;  // one digit per filter, in the order above
    } rows[] = {
        {0, VAR_CONST, 0, "FEED.T", re, "111100"}, {0, VAR_CONST, 1, "OUT.T", re, "110000"},
        {0, VAR_CALC, 1, "FEED.P", re, "101011"},  {0, VAR_CALC, -1, "OUT.P", re, "100010"},
        {0, VAR_CALC, 0, "FEED.F", re, "101000"},  {0, VAR_MEAS, 2, "FEED.X", re, "101011"},
        {1, VAR_MEAS, 2, "FEED.X", re, "111100"},  {1, VAR_CALC, 1, "XFEED", re, "100010"},
        {0, VAR_CONST, 1, "FEED", nullptr, "110000"}, {0, VAR_CALC, 1, "", re, "100010"},
    };
    const int32_t saved = rtopt_mode;
    for (const auto &r : rows) {
        rtvarinfo_t rec{};
        rtopt_mode = r.mode;
        varSetSpec(&rec.status, r.spec);
        rec.active_bound = r.active_bound;
        for (size_t i = 0; i < sizeof rec.name; ++i) rec.name[i] = *r.name ? 0 : "FEED"[i % 4];
        std::strncpy(rec.name, r.name, sizeof rec.name - 1);
        std::string got;
        for (vfilter_fn f : filters) got += std::to_string(f(&rec, r.pattern));
        EXPECT_EQ(got, r.expect) << r.name << " mode " << r.mode;
    }
    std::string got;
    for (vfilter_fn f : filters) got += std::to_string(f(nullptr, re));
    EXPECT_EQ(got, "100000");
    rtopt_mode = saved;
    hs_regfree(re);
}

}  // namespace
