// The built table against the catalogue it is built from (the generator checks the data itself,
// tests/CMakeLists.txt that it still writes the checked-in files), and every entry round trip.
#include <gtest/gtest.h>

#include <cmath>
#include <strings.h>

#include <cstring>
#include <utility>

#include "rtuom/uomcatalog.h"

namespace {

using namespace zarn::rtuom;

TEST(UomCatalogue, EveryEntryIsBuiltAndRoundTrips) {
    int total = 0;
    for (int t = 0; t < kTypeCount; ++t) {
        const CatalogSpan span = kCatalogSpans[t];
        ASSERT_EQ(std::pair(rtouom_count[t], rtouom_npredefined[t]), std::pair(span.count, span.count)) << t;
        EXPECT_EQ(pt_lookup(kTypeNames[t]), t) << kTypeNames[t];
        total += span.count;
        for (int i = 1; i <= span.count; ++i) {
            const rtouom_entry &e = rtouom_table[t][i - 1];
            const CatalogUnit &c = kCatalogUnits[span.first + i - 1];
            ASSERT_STREQ(e.name, c.name) << c.name << " in " << t;
            ASSERT_EQ(e.ptype, t) << c.name << " in " << t;
            ASSERT_EQ(e.multiplier, c.multiplier) << c.name << " in " << t;
            ASSERT_EQ(e.offset, c.offset) << c.name << " in " << t;
            EXPECT_EQ(std::pair(rtouom_pair2si(1, t, i), rtouom_delta_pair2si(1, t, i)),
                      std::pair(e.multiplier + e.offset, e.multiplier));
            int p = 0, u = 0, in_t = 0;  // the name leads to a unit of that name, also within this type
            rtouom_locate2(e.name, &p, &u);
            rtouom_ptype_locate2(e.name, t, &in_t);
            ASSERT_GT(u, 0) << e.name;
            ASSERT_GT(in_t, 0) << e.name;
            EXPECT_STRCASEEQ(rtouom_uom_name(p, u), e.name);
            EXPECT_STREQ(rtouom_table[t][in_t - 1].name, e.name);
            const double spread = std::fabs(e.offset / e.multiplier);  // left after subtracting the offset
            for (double v : {-1e3, 0.0, 0.5, 123.456, 1e6}) {
                EXPECT_NEAR(rtouom_si2pair(rtouom_pair2si(v, t, i), t, i), v,
                            1e-13 * (std::fabs(v) + spread));
                EXPECT_NEAR(rtouom_delta_si2pair(rtouom_delta_pair2si(v, t, i), t, i), v,
                            1e-13 * std::fabs(v));
                if (t > 0) {
                    EXPECT_NEAR(rtouom_si2pair(rtouom_pair2si(v, -t, i), -t, i), v, 1e-13 * std::fabs(v));
                }
            }
        }
    }
    EXPECT_EQ(total, kCatalogSize);
    for (int i = 1; i < kTypeCount; ++i)  // bisection needs strictly ascending bytes
        EXPECT_LT(std::strcmp(kSortedTypes[i - 1].name, kSortedTypes[i].name), 0);
    for (const char *bad :
         {"mass-flow", "MASS-FLO", "MASS-FLOWS", "USR-DUMMY3", "", static_cast<const char *>(nullptr)})
        EXPECT_EQ(pt_lookup(bad), -1);
}

}  // namespace
