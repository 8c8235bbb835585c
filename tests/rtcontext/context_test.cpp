// Run-time context: events, Ctrl-C, modes, identifier, versions; allocation failures; extreme arguments.
#include <gtest/gtest.h>
#include <climits>
#include <csignal>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include "failsweep.h"
#include "rtcontext/listeners.h"
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
// Takes cb_b and itself off event 4 while the event's callbacks run.
static intptr_t cb_drop(intptr_t, intptr_t, intptr_t) {
    g_calls += "d";
    rtoevent_unset_callback(4, cb_b);
    rtoevent_unset_callback(4, cb_drop);
    return 7;
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

TEST(Context, CallbacksRunInListOrderAndTheLastResultIsReturned) {
    ASSERT_EQ(rtoevent_create_callbacks(20), 20);
    EXPECT_EQ(rtoevent_create_callbacks(30), 0) << "a second create keeps the table";
    EXPECT_EQ(rtoevent_set_callback(18, cb_a), 1) << "set cb_a";
    EXPECT_EQ(rtoevent_set_callback(18, cb_a), 0) << "set cb_a again";
    EXPECT_EQ(rtoevent_set_callback(18, cb_b), 1) << "set cb_b";
    const Fired both = fire(18);
    EXPECT_EQ(both.calls, "ab") << "event 18: callbacks run";
    EXPECT_EQ(both.result, 40) << "event 18: result of the last";
    const Fired none = fire(17);
    EXPECT_EQ(none.calls, "") << "event 17: callbacks run";
    EXPECT_EQ(none.result, 0) << "event 17: result without callbacks";
    EXPECT_EQ(rtoevent_disable_callback(0, 18), 1) << "disabling gives the previous flag";
    EXPECT_EQ(fire(18).calls, "") << "disabled event 18: callbacks run";
    EXPECT_EQ(rtoevent_disable_callback(1, 18), 0) << "enabling gives the previous flag";
    EXPECT_EQ(rtoevent_unset_callback(18, cb_a), 1) << "unset cb_a";
    EXPECT_EQ(rtoevent_unset_callback(18, cb_a), 0) << "unset cb_a again";
    rtoevent_destroy_callbacks();
    rtoevent_destroy_callbacks();
}

// has_callbacks answers exactly when rtoevent_do_callback would call someone.
TEST(Context, AnEventHasCallbacksOnlyWhenOneWouldBeCalled) {
    using zarn::rtcontext::has_callbacks;
    EXPECT_FALSE(has_callbacks(18)) << "no table";
    ASSERT_EQ(rtoevent_create_callbacks(20), 20);
    EXPECT_FALSE(has_callbacks(18)) << "nothing registered";
    ASSERT_EQ(rtoevent_set_callback(18, cb_a), 1);
    EXPECT_TRUE(has_callbacks(18)) << "one registered";
    EXPECT_FALSE(has_callbacks(17)) << "another event";
    EXPECT_FALSE(has_callbacks(20)) << "beyond the table";
    EXPECT_FALSE(has_callbacks(-1)) << "negative event";
    rtoevent_disable_callback(0, 18);
    EXPECT_FALSE(has_callbacks(18)) << "disabled";
    rtoevent_disable_callback(1, 18);
    rtoevent_unset_callback(18, cb_a);
    EXPECT_FALSE(has_callbacks(18)) << "unset again";
    rtoevent_destroy_callbacks();
}

TEST(Context, TheTableLivesUntilItsLastUserDestroysIt) {
    ASSERT_EQ(rtoevent_create_callbacks(20), 20);
    rtoevent_set_callback(18, cb_b);
    rtoevent_create_callbacks(30);
    rtoevent_destroy_callbacks();
    EXPECT_EQ(fire(18).calls, "b") << "one user left: event 18 still fires";
    rtoevent_set_callback(4, cb_drop);
    rtoevent_set_callback(4, cb_b);
    rtoevent_set_callback(4, cb_a);
    const Fired dropping = fire(4);
    EXPECT_EQ(dropping.calls, "da") << "a callback unsetting the next one: callbacks run";
    EXPECT_EQ(dropping.result, 15) << "a callback unsetting the next one: result";
    EXPECT_EQ(fire(4).calls, "a") << "after the unsetting: callbacks run";
    rtoevent_destroy_callbacks();
    EXPECT_EQ(fire(18).calls, "") << "no table: callbacks run";
    EXPECT_EQ(rtoevent_create_callbacks(5), 5) << "a new table";
    EXPECT_EQ(rtoevent_set_callback(18, cb_a), 0) << "event 18 of a 5-event table";
    rtoevent_destroy_callbacks();
}

TEST(Context, CtrlCIsReportedAtTheSeverityInForce) {
    rtosignal_intercept_ctrlc();
    std::raise(SIGINT);
    EXPECT_EQ(rtosignal_ctrlc_pressed(), 1) << "after SIGINT, default severity";
    rtosignal_cancel_pending_ctrlc();
    EXPECT_EQ(rtosignal_ctrlc_pressed(), 0) << "after cancelling";
    std::raise(SIGINT);
    rtosignal_set_severity(3);
    EXPECT_EQ(rtosignal_ctrlc_pressed(), 3) << "a second SIGINT, severity 3";
    rtosignal_cancel_pending_ctrlc();
    rtosignal_set_severity(1);
    std::signal(SIGINT, SIG_DFL);
}

TEST(Context, ModesRunTypeAndHessianParameter) {
    int mode = -1, run_mode = -1;
    int64_t fortran_mode = 3, mode_seen_from_fortran = -1;
    rto_set_mode_c(2);
    rto_set_run_mode_c(2);
    rto_inq_mode_c(&mode);
    rto_inq_run_mode_c(&run_mode);
    EXPECT_EQ(mode, 2) << "mode";
    EXPECT_EQ(run_mode, 2) << "run mode";
    RTO_SET_MODE(&fortran_mode);
    RTO_INQ_MODE(&mode_seen_from_fortran);
    EXPECT_EQ(mode_seen_from_fortran, 3) << "mode set and read from Fortran";
    EXPECT_EQ(rtopt_mode, 3) << "rtopt_mode";
    EXPECT_EQ(rtopt_run_mode, 2) << "rtopt_run_mode";
    EXPECT_EQ(GetRTORunType(), 1) << "default run type";
    EXPECT_EQ(RTO_INQ_NOT_CORBA(), 1) << "run type 1";
    EXPECT_EQ(SetRTORunType(0), 1) << "setting gives the previous run type";
    EXPECT_EQ(RTO_INQ_NOT_CORBA(), 0) << "run type 0";
    EXPECT_EQ(SetRTORunType(1), 0) << "setting back";
    rto_set_use_hessian_parameter(255);
    EXPECT_EQ(rto_inq_use_hessian_parameter(), 255) << "hessian parameter";
    rto_set_mode_c(0);
    rto_set_run_mode_c(0);
    rto_set_use_hessian_parameter(0);
}

TEST(Context, ProblemIdentifier) {
    const struct {
        const char *name, *given, *kept;
    } rows[] = {{"only white space", "   ", "KFPxxx"},
                {"leading white space", " lead", "KFPxxx"},
                {"empty", "", "KFPxxx"},
                {"trailing white space trimmed", "CRUDE-1 \t\n", "CRUDE-1"}};
    for (const auto &row : rows) {
        rto_setprobId(row.given);
        EXPECT_STREQ(rto_getprobId(), row.kept) << row.name;
    }
    char field[10], tiny[4];
    RTO_GETPROBID_F(field, sizeof field);
    RTO_GETPROBID_F(tiny, sizeof tiny);
    EXPECT_EQ(std::string(field, sizeof field), "CRUDE-1   ") << "Fortran field padded with blanks";
    EXPECT_EQ(std::string(tiny, sizeof tiny), "CRUD") << "Fortran field too short: cut";
    rto_freeprobId();
    EXPECT_STREQ(rto_getprobId(), "KFPxxx") << "freed: the default";
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

static int g_called = 0;
template <int I>
intptr_t counted(intptr_t, intptr_t, intptr_t) {
    ++g_called;
    return I;
}
template <int... I>
void register_all(std::integer_sequence<int, I...>) {
    (rtoevent_set_callback(0, counted<I>), ...);
}

TEST(Context, AllocationFailuresLeaveNothingHalfMade) {
    const struct {
        const char *name;
        std::function<void()> prepare;
        std::function<bool()> op;
        long allocations;
        std::function<bool()> untouched;
    } rows[] = {{"rtoevent_create_callbacks: the table, the flags, three lists, one callback", [] {},
                 [] {
                     const bool ok =
                         rtoevent_create_callbacks(3) == 3 && rtoevent_set_callback(2, counted<0>) == 1;
                     rtoevent_destroy_callbacks();
                     return ok;
                 },
                 6, [] { return rtoevent_set_callback(0, counted<0>) == 0; }},
                {"rto_setprobId", [] {},
                 [] {
                     rto_setprobId("CRUDE");
                     return std::string(rto_getprobId()) == "CRUDE";
                 },
                 1, [] { return std::string(rto_getprobId()) == "KFPxxx"; }},
                {"rtoevent_do_callback of more callbacks than the stack copy holds",
                 [] {
                     rtoevent_create_callbacks(1);
                     register_all(std::make_integer_sequence<int, 17>{});
                 },
                 [] {
                     g_called = 0;
                     return rtoevent_do_callback(0, 0, 0, 0) == 16 && g_called == 17;
                 },
                 1, [] { return g_called == 0; }}};
    for (const auto &row : rows) {
        row.prepare();
        const auto failed = [&](long k, bool ok) {
            EXPECT_FALSE(ok) << row.name << ", allocation " << k << " failing: result";
            EXPECT_TRUE(row.untouched()) << row.name << ", allocation " << k << " failing: state kept";
        };
        EXPECT_EQ(zarn::test::fail_each_allocation(row.op, failed), row.allocations) << row.name;
    }
    rtoevent_destroy_callbacks();
    rto_freeprobId();
}

static intptr_t one(intptr_t, intptr_t, intptr_t) { return 1; }
// Every event call on an event outside the table (or without a table) refuses and changes nothing.
static void expect_refused(int event, const char *table) {
    EXPECT_EQ(rtoevent_set_callback(event, one), 0) << table << ", event " << event << ": set";
    EXPECT_EQ(rtoevent_unset_callback(event, one), 0) << table << ", event " << event << ": unset";
    EXPECT_EQ(rtoevent_disable_callback(INT_MIN, event), 0) << table << ", event " << event << ": disable";
    EXPECT_EQ(rtoevent_do_callback(event, INTPTR_MIN, INTPTR_MAX, 0), 0)
        << table << ", event " << event << ": do";
}

TEST(Context, EventsOutsideTheTableAndTableSizesAreRefused) {
    rtoevent_destroy_callbacks();
    rtoevent_destroy_callbacks();
    expect_refused(0, "no table");
    for (int events : {INT_MIN, -1, 0, 65537, INT_MAX}) {
        EXPECT_EQ(rtoevent_create_callbacks(events), 0) << events << " events";
        rtoevent_destroy_callbacks();
    }
    EXPECT_EQ(rtoevent_create_callbacks(65536), 65536) << "the largest table";
    EXPECT_EQ(rtoevent_set_callback(65535, one), 1) << "its last event";
    rtoevent_destroy_callbacks();
    ASSERT_EQ(rtoevent_create_callbacks(3), 3);
    for (int event : {INT_MIN, -1, 3, INT_MAX}) expect_refused(event, "3 events");
    EXPECT_EQ(rtoevent_set_callback(2, nullptr), 0) << "set no function";
    EXPECT_EQ(rtoevent_unset_callback(2, nullptr), 0) << "unset no function";
    EXPECT_EQ(rtoevent_set_callback(2, one), 1) << "set event 2";
    EXPECT_EQ(rtoevent_disable_callback(INT_MIN, 2), 1) << "previous flag of event 2";
    EXPECT_EQ(rtoevent_do_callback(2, 0, 0, 0), 1) << "any non-zero flag enables";
    rtoevent_destroy_callbacks();
    EXPECT_EQ(rtoevent_do_callback(2, 0, 0, 0), 0) << "after destroying";
}

TEST(Context, ModesAndSeverityOutOfRangeAreRefused) {
    for (int value : {INT_MIN, -1, 4, 65537, INT_MAX}) {
        rto_set_mode_c(value);
        rto_set_run_mode_c(value);
    }
    for (int severity : {INT_MIN, -1, 0}) rtosignal_set_severity(severity);
    for (int64_t value :
         {int64_t{LLONG_MIN}, int64_t{-1}, int64_t{4}, (int64_t{1} << 32) + 2, int64_t{LLONG_MAX}})
        RTO_SET_MODE(&value);
    RTO_SET_MODE(nullptr);
    rto_inq_mode_c(nullptr);
    rto_inq_run_mode_c(nullptr);
    RTO_INQ_MODE(nullptr);
    int64_t mode = -1;
    int run_mode = -1;
    RTO_INQ_MODE(&mode);
    rto_inq_run_mode_c(&run_mode);
    EXPECT_EQ(mode, 0) << "mode";
    EXPECT_EQ(run_mode, 0) << "run mode";
    rtosignal_set_ctrlc();
    RTOSIGNAL_Q_CTRLC_F(nullptr);
    EXPECT_EQ(rtosignal_ctrlc_pressed(), 1) << "severity";
    rtosignal_set_severity(INT_MAX);
    EXPECT_EQ(RTOSIGNAL_CTRLC_PRESSED_F(), INT_MAX) << "the largest severity";
    rtosignal_cancel_pending_ctrlc();
    rtosignal_set_severity(1);
    SetRTORunType(INT_MIN);
    EXPECT_EQ(GetRTORunType(), INT_MIN) << "any run type is kept";
    EXPECT_EQ(RTO_INQ_NOT_CORBA(), 1) << "a run type other than 0";
    SetRTORunType(1);
}

TEST(Context, ProblemIdentifierExtremes) {
    rto_setprobId(("P" + std::string(99999, 'x') + "   ").c_str());
    EXPECT_EQ(std::strlen(rto_getprobId()), 100000u) << "a long identifier, trailing blanks trimmed";
    char field[6] = "#";
    RTO_GETPROBID_F(nullptr, 6);
    RTO_GETPROBID_F(field, 0);
    EXPECT_STREQ(field, "#") << "a field of length 0";
    rto_freeprobId();
    rto_freeprobId();
    rto_setprobId(nullptr);
    EXPECT_STREQ(rto_getprobId(), "KFPxxx") << "no identifier given";
}
