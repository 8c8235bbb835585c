// Every allocation-failure path of the units table, driven one allocation at a
// time: the documented assertion line appears and the table is as it was.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/xalloc.h"
#include "uom_fixture.h"

namespace {

using namespace zarn::rtuom;
using zarn::test::UomTest;

TEST_F(UomTest, EveryAllocationFailureIsReportedAndChangesNothing) {
    char **list = nullptr;
    const struct {
        const char *what;
        std::function<bool()> act;
        std::vector<const char *> says;
    } rows[] = {{"build",
                 [] {
                     pt_init_units_table();
                     return rtouom_table[0] != nullptr;
                 },
                 {"uom table malloc"}},
                {"add to FLOW and MASS-FLOW",
                 [] { return rtouom_add_uom("KG/WEEK", kFlow, 1 / 604800.0, 0) == 46; },
                 {"rtouom_add_uom realloc", "rtouom_add_uom malloc", "rtouom_add_uom realloc",
                  "rtouom_add_uom malloc"}},
                {"add a name another type lists",
                 [] { return rtouom_add_uom("FT", kArea, 0.5, 0) == 8; },
                 {"rtouom_add_uom realloc", "rtouom_add_uom malloc"}},
                {"unit list",
                 [&] { return rtouom_get_uomlist(-kPressure, &list) == 37; },
                 {"rtouom_get_uomlist malloc"}}};
    for (const auto &row : rows) {  // the k-th allocation fails; the last text repeats
        SCOPED_TRACE(row.what);
        RTOUOM_RESET_UOM_F();
        zarn::failalloc_set(0);
        ASSERT_TRUE(row.act());
        const long n = zarn::failalloc_set(0);
        const std::string succeeded = zarn::test::uom_digest("kg/week");  // found by its folded name too
        rtouom_destroy_uomlist(list);
        list = nullptr;
        for (long k = 1; k <= n; ++k) {  // a long run is sampled: start, first index record, middle, end
            if (n > 40 && k > 3 && (k < RTOUOM_NTYPES - 1 || k > RTOUOM_NTYPES + 3) && k != n / 2 &&
                k < n - 2)
                continue;
            RTOUOM_RESET_UOM_F();
            const std::string before = zarn::test::uom_digest("KG/WEEK");
            zarn::test::StderrCapture err;
            zarn::failalloc_set(k);
            const bool ok = row.act();
            zarn::failalloc_set(0);
            EXPECT_FALSE(ok) << k;
            const std::string text = row.says[std::min<size_t>(k, row.says.size()) - 1];
            EXPECT_EQ(err.text().rfind("Assertion '" + text + "' failed in source/rtuom/rtuom:", 0), 0u) << k;
            if (row.what[0] == 'b') {  // no half-built table
                EXPECT_EQ(std::pair(rtouom_table[kPressure], rtouom_pair2si(1, kPressure, 2)),
                          std::pair((rtouom_entry *)nullptr, 1.0));
                EXPECT_EQ(history_.text(), "!! rtouom_pair2si: UOM table has not been initialized.\n");
            } else {
                EXPECT_EQ(zarn::test::uom_digest("KG/WEEK") + (list == nullptr ? "" : "list"), before) << k;
            }
            const bool retried = row.act();  // nothing the failure left behind spoils the same call
            EXPECT_TRUE(retried) << k;
            EXPECT_EQ(zarn::test::uom_digest("kg/week"), succeeded) << k;
            rtouom_destroy_uomlist(list);
            list = nullptr;
        }
    }
}

}  // namespace
