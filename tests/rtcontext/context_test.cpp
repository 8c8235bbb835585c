// Run-time context: events, Ctrl-C, modes, identifier, versions; allocation failures; extreme arguments.
#include <gtest/gtest.h>
#include <climits>
#include <csignal>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include "failsweep.h"
#include "zarnutils/rtcontext.h"

static std::string g_calls;  // the callbacks that ran, in order
static intptr_t cb_a(intptr_t a, intptr_t b, intptr_t c) {
    g_calls += "a";
    return a + b + c;
}
static intptr_t cb_b(intptr_t a, intptr_t, intptr_t) {
    g_calls += "b";
    return a * 10;
}
struct Fired {
    intptr_t result;
    std::string calls;
};
static Fired fire(int event) {
    g_calls.clear();
    const intptr_t result = rtoevent_do_callback(event, 4, 5, 6);
    return {result, g_calls};
}

TEST(Context, CallbacksRunInListOrderUntilTheLastUserDestroysTheTable) {
    rtoevent_destroy_callbacks();  // with no table and no user: the next create's user is not spent by it
    ASSERT_EQ(rtoevent_create_callbacks(20), 20);
    EXPECT_EQ(rtoevent_create_callbacks(30), 0) << "a second create keeps the table";
    rtoevent_set_callback(18, cb_a);
    EXPECT_EQ(rtoevent_set_callback(18, cb_a), 0) << "set cb_a again";
    rtoevent_set_callback(18, cb_b);
    const Fired both = fire(18);
    EXPECT_EQ(both.calls, "ab") << "event 18: callbacks run";
    EXPECT_EQ(both.result, 40) << "event 18: result of the last";
    EXPECT_EQ(rtoevent_disable_callback(0, 18), 1) << "disabling gives the previous flag";
    EXPECT_EQ(fire(18).calls, "") << "disabled event 18: callbacks run";
    EXPECT_EQ(rtoevent_disable_callback(1, 18), 0) << "enabling gives the previous flag";
    EXPECT_EQ(rtoevent_unset_callback(18, cb_a), 1) << "unset cb_a";
    EXPECT_EQ(rtoevent_unset_callback(18, cb_a), 0) << "unset cb_a again";
    rtoevent_destroy_callbacks();  // the second create counted a user: the table lives on
    EXPECT_EQ(fire(18).calls, "b") << "one user left: event 18 still fires";
    rtoevent_destroy_callbacks();
    EXPECT_EQ(fire(18).calls, "") << "no table: callbacks run";
}

// Unsets b and itself while event 4 runs.
static intptr_t cb_drop(intptr_t, intptr_t, intptr_t) {
    g_calls += "d";
    rtoevent_unset_callback(4, cb_b);
    rtoevent_unset_callback(4, cb_drop);
    return 7;
}

// A callback unset while its event runs is not called when its turn comes; the others run on.
TEST(Context, CallbacksUnsetWhileTheEventRunsAreSkipped) {
    ASSERT_EQ(rtoevent_create_callbacks(5), 5);
    rtoevent_set_callback(4, cb_drop);
    rtoevent_set_callback(4, cb_b);
    rtoevent_set_callback(4, cb_a);
    EXPECT_EQ(fire(4).calls, "da") << "b unset by the first callback";
    EXPECT_EQ(fire(4).calls, "a") << "the first callback unset itself";
    EXPECT_EQ(rtoevent_unset_callback(4, nullptr), 0) << "unset no function";
    rtoevent_destroy_callbacks();
}

static int g_counted = 0;
template <int I>
intptr_t counted(intptr_t, intptr_t, intptr_t) {
    ++g_counted;
    return I;
}
template <int... I>
void set_counted(std::integer_sequence<int, I...>) {
    (rtoevent_set_callback(0, counted<I>), ...);
}

// Sixteen callbacks run from the copy on the stack; seventeen, one more than it holds, all run, in order,
// from a copy on the heap; with no memory for it, none runs.
TEST(Context, MoreCallbacksThanTheStackCopyHolds) {
    ASSERT_EQ(rtoevent_create_callbacks(1), 1);
    set_counted(std::make_integer_sequence<int, 16>{});
    g_counted = 0;
    EXPECT_EQ(rtoevent_do_callback(0, 0, 0, 0), 15) << "sixteen callbacks: the result of the last";
    EXPECT_EQ(g_counted, 16) << "sixteen callbacks, as many as the stack copy holds: callbacks run";
    set_counted(std::make_integer_sequence<int, 17>{});  // the seventeenth joins them
    intptr_t result = -1;
    const long allocations = zarn::test::fail_each_allocation(
        [&] {
            g_counted = 0;
            result = rtoevent_do_callback(0, 0, 0, 0);
            return result == 16 && g_counted == 17;
        },
        [&](long n, bool) {
            EXPECT_EQ(result, 0) << "allocation " << n << " failing: the result";
            EXPECT_EQ(g_counted, 0) << "allocation " << n << " failing: callbacks run";
        });
    EXPECT_EQ(allocations, 1) << "the copy of the list";
    rtoevent_destroy_callbacks();
}

TEST(Context, CtrlCIsReportedAtTheSeverityInForce) {
    rtosignal_intercept_ctrlc();
    std::raise(SIGINT);
    rtosignal_cancel_pending_ctrlc();
    EXPECT_EQ(rtosignal_ctrlc_pressed(), 0) << "after a SIGINT and cancelling";
    std::raise(SIGINT);
    rtosignal_set_severity(3);
    rtosignal_set_severity(0);
    EXPECT_EQ(rtosignal_ctrlc_pressed(), 3) << "a second SIGINT, severity 3, then 0 refused";
    rtosignal_cancel_pending_ctrlc();
    rtosignal_set_severity(1);
    std::signal(SIGINT, SIG_DFL);
}

// Each mode takes 0 up to its largest value; anything else leaves it as it was.
TEST(Context, ModesKeepOnlyValuesInRange) {
    const struct {
        const char *name;
        void (*set)(int);
        void (*inq)(int *);
        int largest;
    } modes[] = {{"mode", rto_set_mode_c, rto_inq_mode_c, 3},
                 {"run mode", rto_set_run_mode_c, rto_inq_run_mode_c, 2}};
    for (const auto &mode : modes) {
        int value = -1;
        mode.inq(&value);
        EXPECT_EQ(value, 0) << mode.name << ": at start";
        mode.set(mode.largest);
        mode.set(-1);
        mode.set(mode.largest + 1);
        mode.inq(&value);
        EXPECT_EQ(value, mode.largest) << mode.name << ": the largest kept, -1 and one more refused";
        mode.set(0);
        mode.inq(&value);
        EXPECT_EQ(value, 0) << mode.name << ": 0";
        mode.inq(nullptr);
    }
    int64_t fortran_mode = 3, too_wide = (int64_t{1} << 32) + 2, mode_seen_from_fortran = -1;
    RTO_SET_MODE(&fortran_mode);
    RTO_SET_MODE(&too_wide);
    RTO_SET_MODE(nullptr);
    RTO_INQ_MODE(&mode_seen_from_fortran);
    RTO_INQ_MODE(nullptr);
    EXPECT_EQ(mode_seen_from_fortran, 3) << "mode set from Fortran, 2^32+2 and no mode refused";
    rto_set_mode_c(0);
}

TEST(Context, RunTypeAndHessianParameter) {
    EXPECT_EQ(SetRTORunType(0), 1) << "setting gives the previous run type";
    EXPECT_EQ(RTO_INQ_NOT_CORBA(), 0) << "run type 0";
    SetRTORunType(1);
    rto_set_use_hessian_parameter(255);
    EXPECT_EQ(rto_inq_use_hessian_parameter(), 255) << "hessian parameter";
    rto_set_use_hessian_parameter(0);
}

TEST(Context, ProblemIdentifier) {
    const struct {
        const char *name, *given, *kept;
    } rows[] = {{"only white space", "   ", "KFPxxx"},
                {"leading white space", " lead", "KFPxxx"},
                {"no identifier", nullptr, "KFPxxx"},
                {"trailing white space trimmed", "CRUDE-1 \t\n", "CRUDE-1"},
                {"one character", "C", "C"}};
    for (const auto &row : rows) {
        rto_setprobId(row.given);
        EXPECT_STREQ(rto_getprobId(), row.kept) << row.name;
    }
    rto_freeprobId();
    rto_freeprobId();
    EXPECT_STREQ(rto_getprobId(), "KFPxxx") << "freed twice: the default";
}

TEST(Context, FullVersionJoinsItsParts) {
    const std::string parts = std::string(rtoMajorVersion()) + "." + std::to_string(rtoMinorVersion()) + "." +
                              rtoPatchNumber() + "." + rtoBuildNum();
    EXPECT_EQ(rtoFullVersion(), parts);
    ASSERT_NE(rtoBuildDate(), nullptr) << "build date";
    EXPECT_STRNE(rtoBuildDate(), "") << "build date";
    ASSERT_NE(rtoBuildUserName(), nullptr) << "build user";
    EXPECT_STRNE(rtoBuildUserName(), "") << "build user";
}

TEST(Context, AllocationFailuresLeaveNothingHalfMade) {
    const struct {
        const char *name;
        std::function<bool()> op;
        long allocations;
        std::function<bool()> untouched;
    } rows[] = {{"rtoevent_create_callbacks: the table, the flags, three lists, one callback",
                 [] {
                     const bool ok = rtoevent_create_callbacks(3) == 3 && rtoevent_set_callback(2, cb_a) == 1;
                     rtoevent_destroy_callbacks();
                     return ok;
                 },
                 6, [] { return rtoevent_set_callback(0, cb_a) == 0; }},
                {"rto_setprobId",
                 [] {
                     rto_setprobId("CRUDE");
                     return std::string(rto_getprobId()) == "CRUDE";
                 },
                 1, [] { return std::string(rto_getprobId()) == "KFPxxx"; }}};
    for (const auto &row : rows) {
        const auto failed = [&](long k, bool ok) {
            EXPECT_FALSE(ok) << row.name << ", allocation " << k << " failing: result";
            EXPECT_TRUE(row.untouched()) << row.name << ", allocation " << k << " failing: state kept";
        };
        EXPECT_EQ(zarn::test::fail_each_allocation(row.op, failed), row.allocations) << row.name;
    }
    rto_freeprobId();
}

static intptr_t one(intptr_t, intptr_t, intptr_t) { return 1; }

TEST(Context, EventsOutsideTheTableAndTableSizesAreRefused) {
    rtoevent_destroy_callbacks();
    rtoevent_destroy_callbacks();
    for (int events : {0, 65537}) {
        EXPECT_EQ(rtoevent_create_callbacks(events), 0) << events << " events";
        rtoevent_destroy_callbacks();
    }
    EXPECT_EQ(rtoevent_create_callbacks(65536), 65536) << "the largest table";
    rtoevent_destroy_callbacks();
    ASSERT_EQ(rtoevent_create_callbacks(3), 3);
    for (int event : {-1, 3}) {  // set, unset, disable and do all refuse an event outside the table
        const int set = rtoevent_set_callback(event, one), unset = rtoevent_unset_callback(event, one),
                  disable = rtoevent_disable_callback(INT_MIN, event);
        const intptr_t done = rtoevent_do_callback(event, INTPTR_MIN, INTPTR_MAX, 0);
        EXPECT_EQ(std::tuple(set, unset, disable, done), std::tuple(0, 0, 0, 0)) << "event " << event;
    }
    EXPECT_EQ(rtoevent_set_callback(2, nullptr), 0) << "set no function";
    EXPECT_EQ(rtoevent_set_callback(2, one), 1) << "set event 2";
    EXPECT_EQ(rtoevent_disable_callback(INT_MIN, 2), 1) << "previous flag of event 2";
    EXPECT_EQ(rtoevent_do_callback(2, 0, 0, 0), 1) << "any non-zero flag enables";
    rtoevent_destroy_callbacks();
}
