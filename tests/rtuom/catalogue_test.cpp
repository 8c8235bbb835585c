// The built table against the catalogue it is built from (the generator
// checks the data itself, tests/CMakeLists.txt that it still writes the
// checked-in files), and round trips of every entry through SI.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "rtuom/uomcatalog.h"

namespace {

using namespace zarn::rtuom;

TEST(UomCatalogue, EveryEntryIsBuiltAndRoundTrips) {
    const double values[] = {-1e3, 0.0, 0.5, 123.456, 1e6};
    int total = 0;
    for (int t = 0; t < kTypeCount; ++t) {
        const CatalogSpan span = kCatalogSpans[t];
        ASSERT_EQ(rtouom_count[t], span.count) << t;
        ASSERT_EQ(rtouom_npredefined[t], span.count);
        EXPECT_EQ(pt_lookup(kTypeNames[t]), t) << kTypeNames[t];
        EXPECT_STREQ(rtouom_ptype_name(t), kTypeNames[t]);
        total += span.count;
        for (int i = 1; i <= span.count; ++i) {
            const rtouom_entry &e = rtouom_table[t][i - 1];
            const CatalogUnit &c = kCatalogUnits[span.first + i - 1];
            ASSERT_EQ(std::strcmp(e.name, c.name) | (e.ptype != t) | (e.multiplier != c.multiplier) |
                          (e.offset != c.offset), 0) << c.name << " in " << t;
            EXPECT_EQ(rtouom_pair2si(1.0, t, i), e.multiplier + e.offset);
            EXPECT_EQ(rtouom_delta_pair2si(1.0, t, i), e.multiplier);
            // what is left after subtracting the offset scales with |offset / multiplier|
            const double spread = std::fabs(e.offset / e.multiplier);
            for (double v : values) {
                EXPECT_NEAR(rtouom_si2pair(rtouom_pair2si(v, t, i), t, i), v, 1e-13 * (std::fabs(v) + spread));
                EXPECT_NEAR(rtouom_delta_si2pair(rtouom_delta_pair2si(v, t, i), t, i), v, 1e-13 * std::fabs(v));
                if (t > 0) {
                    EXPECT_NEAR(rtouom_si2pair(rtouom_pair2si(v, -t, i), -t, i), v, 1e-13 * std::fabs(v));
                }
            }
        }
    }
    EXPECT_EQ(total, kCatalogSize);
    for (int i = 1; i < kTypeCount; ++i)  // bisection needs strictly ascending bytes
        EXPECT_LT(std::strcmp(kSortedTypes[i - 1].name, kSortedTypes[i].name), 0);
    for (const char *bad : {"mass-flow", "MASS-FLO", "MASS-FLOWS", "USR-DUMMY3", "", static_cast<const char *>(nullptr)})
        EXPECT_EQ(pt_lookup(bad), -1);
}

}  // namespace
