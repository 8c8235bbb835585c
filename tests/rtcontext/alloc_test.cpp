// Every allocation of the run-time context fails once: no table, no identifier, no call.
#include <gtest/gtest.h>

#include <utility>

#include "failsweep.h"
#include "zarnutils/rtcontext.h"

namespace {

int g_called = 0;
template <int I>
intptr_t counted(intptr_t, intptr_t, intptr_t) {
    ++g_called;
    return I;
}
// More callbacks than the copy kept on the stack holds.
template <int... I>
void register_all(std::integer_sequence<int, I...>) {
    (rtoevent_set_callback(0, counted<I>), ...);
}

TEST(ContextAllocation, FailuresLeaveNothingHalfMade) {
    struct Row {
        const char *name;
        std::function<bool()> op;
        long allocations;
        std::function<void()> check;
    };
    const Row rows[] = {
        {"rtoevent_create_callbacks",
         [] {
             bool ok = rtoevent_create_callbacks(3) == 3 && rtoevent_set_callback(2, counted<0>) == 1;
             rtoevent_destroy_callbacks();
             return ok;
         },
         6, [] { EXPECT_EQ(rtoevent_set_callback(0, counted<0>), 0); }},
        {"rto_setprobId",
         [] {
             rto_setprobId("CRUDE");
             return std::string(rto_getprobId()) == "CRUDE";
         },
         1, [] { EXPECT_STREQ(rto_getprobId(), "KFPxxx"); }},
        {"rtoevent_do_callback",
         [] {
             g_called = 0;
             return rtoevent_do_callback(0, 0, 0, 0) == 16 && g_called == 17;
         },
         1, [] { EXPECT_EQ(g_called, 0); }},
    };
    for (const Row &row : rows) {
        if (&row == &rows[2]) {  // the call needs a table of 17 callbacks
            ASSERT_EQ(rtoevent_create_callbacks(1), 1);
            register_all(std::make_integer_sequence<int, 17>{});
        }
        long seen = zarn::test::fail_each_allocation(row.op, [&](long n, bool ok) {
            EXPECT_FALSE(ok) << row.name << " allocation " << n;
            row.check();
        });
        EXPECT_EQ(seen, row.allocations) << row.name;
    }
    rtoevent_destroy_callbacks();
    rto_freeprobId();
}

}  // namespace
