// Run-time context: events, Ctrl-C, modes, identifier, versions; allocation failures; extreme arguments.
#include <gtest/gtest.h>
#include <climits>
#include <csignal>
#include <cstring>
#include <string>
#include <utility>
#include "failsweep.h"
#include "hostile.h"
#include "zarnutils/rtcontext.h"
using zarn::test::seq;
static std::string n(int64_t v) { return std::to_string(v) + " "; }
static std::string g_calls;
static intptr_t cb_a(intptr_t a, intptr_t b, intptr_t c) { return g_calls += "a", a + b + c; }
static intptr_t cb_b(intptr_t a, intptr_t, intptr_t) { return g_calls += "b", a * 10; }
static intptr_t cb_drop(intptr_t, intptr_t, intptr_t) {
    return g_calls += "d", rtoevent_unset_callback(4, cb_b), rtoevent_unset_callback(4, cb_drop), 7;
}
static std::string called(int e) {
    return g_calls.clear(), seq({n(rtoevent_do_callback(e, 4, 5, 6)), g_calls, ";"});
}  // result, who ran
TEST(Context, EventsInListOrderWithStateAndUsers) {
    ASSERT_EQ(rtoevent_create_callbacks(20), 20);
    EXPECT_EQ(
        seq({n(rtoevent_create_callbacks(30)), n(rtoevent_set_callback(18, cb_a)),
             n(rtoevent_set_callback(18, cb_a)), n(rtoevent_set_callback(18, cb_b)), called(18), called(17),
             n(rtoevent_disable_callback(0, 18)), called(18), n(rtoevent_disable_callback(1, 18)),
             n(rtoevent_unset_callback(18, cb_a)), n(rtoevent_unset_callback(18, cb_a))}),
        "0 1 0 1 40 ab;0 ;1 0 ;0 1 0 ");
    rtoevent_destroy_callbacks(), rtoevent_set_callback(4, cb_drop), rtoevent_set_callback(4, cb_b),
        rtoevent_set_callback(4, cb_a);
    EXPECT_EQ(seq({called(18), called(4), called(4), (rtoevent_destroy_callbacks(), called(18)),
                   n(rtoevent_create_callbacks(5)), n(rtoevent_set_callback(18, cb_a))}),
              "40 b;15 da;15 a;0 ;5 0 ");  // a user remained; cb_drop unsets cb_b
    rtoevent_destroy_callbacks();
}
TEST(Context, CtrlCModesIdentifierAndVersion) {
    rtosignal_intercept_ctrlc();
    int64_t out = -1, fm = 3;
    int m = -1, r = -1;
    std::raise(SIGINT);
    EXPECT_EQ(
        seq({n(rtosignal_ctrlc_pressed()), (rtosignal_cancel_pending_ctrlc(), n(rtosignal_ctrlc_pressed())),
             (std::raise(SIGINT), rtosignal_set_severity(3), RTOSIGNAL_Q_CTRLC_F(&out), n(out)),
             n(RTOSIGNAL_CTRLC_PRESSED_F()),
             (rtosignal_cancel_pending_ctrlc(), RTOSIGNAL_S_CTRLC_F(), n(rtosignal_ctrlc_pressed()))}),
        "1 0 3 3 3 ");
    rtosignal_cancel_pending_ctrlc(), rtosignal_set_severity(1), std::signal(SIGINT, SIG_DFL);
    rto_set_mode_c(2), rto_set_run_mode_c(2), rto_inq_mode_c(&m), rto_inq_run_mode_c(&r), RTO_SET_MODE(&fm),
        RTO_INQ_MODE(&out);
    EXPECT_EQ(seq({n(m), n(r), n(out), n(rtopt_mode), n(rtopt_run_mode), n(GetRTORunType()),
                   n(RTO_INQ_NOT_CORBA()), n(SetRTORunType(0)), n(RTO_INQ_NOT_CORBA()), n(SetRTORunType(1)),
                   (rto_set_use_hessian_parameter(255), n(rto_inq_use_hessian_parameter()))}),
              "2 2 3 3 2 1 1 1 0 0 255 ");
    rto_set_mode_c(0), rto_set_run_mode_c(0), rto_set_use_hessian_parameter(0);
    for (auto [in, want] :
         {std::pair{"   ", "KFPxxx"}, {" lead", "KFPxxx"}, {"", "KFPxxx"}, {"CRUDE-1 \t\n", "CRUDE-1"}})
        EXPECT_STREQ((rto_setprobId(in), rto_getprobId()), want) << in;
    char field[10], tiny[4];
    RTO_GETPROBID_F(field, sizeof field), RTO_GETPROBID_F(tiny, sizeof tiny), rto_freeprobId();
    EXPECT_EQ(std::string(field, 10) + std::string(tiny, 4) + rto_getprobId(), "CRUDE-1   CRUDKFPxxx");
    EXPECT_EQ(rtoFullVersion() + std::string(*rtoBuildDate() && *rtoBuildUserName() ? "" : "no date or user"),
              seq({rtoMajorVersion(), ".", std::to_string(rtoMinorVersion()), ".", rtoPatchNumber(), ".",
                   rtoBuildNum()}));
}
static int g_called = 0;
template <int I>
intptr_t counted(intptr_t, intptr_t, intptr_t) {
    return ++g_called, I;
}
template <int... I>
void register_all(std::integer_sequence<int, I...>) {
    (rtoevent_set_callback(0, counted<I>), ...);
}
TEST(Context, AllocationFailuresLeaveNothingHalfMade) {
    const struct {
        const char *name;
        std::function<bool()> op;
        long allocations;
        std::function<bool()> untouched;
    } rows[] = {{"rtoevent_create_callbacks: the table, the flags, three lists, one callback",
                 [] {
                     bool ok = rtoevent_create_callbacks(3) == 3 && rtoevent_set_callback(2, counted<0>) == 1;
                     return rtoevent_destroy_callbacks(), ok;
                 },
                 6, [] { return rtoevent_set_callback(0, counted<0>) == 0; }},
                {"rto_setprobId",
                 [] {
                     rto_setprobId("CRUDE");
                     return std::string(rto_getprobId()) == "CRUDE";
                 },
                 1, [] { return std::string(rto_getprobId()) == "KFPxxx"; }},
                {"rtoevent_do_callback of more callbacks than the stack copy holds",
                 [] {
                     g_called = 0;
                     return rtoevent_do_callback(0, 0, 0, 0) == 16 && g_called == 17;
                 },
                 1, [] { return g_called == 0; }}};
    for (const auto &row : rows) {
        if (&row == &rows[2])
            rtoevent_create_callbacks(1), register_all(std::make_integer_sequence<int, 17>{});
        EXPECT_EQ(zarn::test::fail_each_allocation(
                      row.op, [&](long k, bool ok) { EXPECT_TRUE(!ok && row.untouched()) << row.name << k; }),
                  row.allocations)
            << row.name;
    }
    rtoevent_destroy_callbacks(), rto_freeprobId();
}
static intptr_t one(intptr_t, intptr_t, intptr_t) { return 1; }
TEST(Context, ExtremeArgumentsChangeNothing) {
    int64_t r = 0, out = 0;
    int m = 0;
    auto refused = [&](std::initializer_list<int> events) {
        for (int e : events)
            r += rtoevent_set_callback(e, one) + rtoevent_unset_callback(e, one) +
                 rtoevent_disable_callback(INT_MIN, e) + rtoevent_do_callback(e, INTPTR_MIN, INTPTR_MAX, 0);
    };
    rtoevent_destroy_callbacks(), rtoevent_destroy_callbacks(), refused({0});  // no table yet
    for (int v : {INT_MIN, -1, 0, 4, 65537, INT_MAX})
        r += v == 4 ? 0 : rtoevent_create_callbacks(v), rtoevent_destroy_callbacks(), rto_set_mode_c(v),
            rto_set_run_mode_c(v), rtosignal_set_severity(v < 1 ? v : 0);
    EXPECT_EQ(seq({n(rtoevent_create_callbacks(65536)), n(rtoevent_set_callback(65535, one)),
                   (rtoevent_destroy_callbacks(), n(rtoevent_create_callbacks(3)))}),
              "65536 1 3 ");
    refused({INT_MIN, -1, 3, INT_MAX});  // a table of 3 events
    r += rtoevent_set_callback(2, nullptr) + rtoevent_unset_callback(2, nullptr);
    EXPECT_EQ(seq({n(r), n(rtoevent_set_callback(2, one)), n(rtoevent_disable_callback(INT_MIN, 2)),
                   n(rtoevent_do_callback(2, 0, 0, 0)),
                   (rtoevent_destroy_callbacks(), n(rtoevent_do_callback(2, 0, 0, 0)))}),
              "0 1 1 1 0 ");  // INT_MIN is non-zero: enabled
    for (int64_t v :
         {int64_t{LLONG_MIN}, int64_t{-1}, int64_t{4}, (int64_t{1} << 32) + 2, int64_t{LLONG_MAX}})
        RTO_SET_MODE(&v);
    RTO_SET_MODE(nullptr), rto_inq_mode_c(nullptr), rto_inq_run_mode_c(nullptr), RTO_INQ_MODE(nullptr),
        RTO_INQ_MODE(&out), rto_inq_run_mode_c(&m);
    EXPECT_EQ(
        seq({n(out), n(m),
             (rtosignal_set_ctrlc(), RTOSIGNAL_Q_CTRLC_F(nullptr), n(rtosignal_ctrlc_pressed())),
             (rtosignal_set_severity(INT_MAX), n(RTOSIGNAL_CTRLC_PRESSED_F())),
             (SetRTORunType(INT_MIN), n(GetRTORunType())), n(RTO_INQ_NOT_CORBA()), n(SetRTORunType(1))}),
        "0 0 1 2147483647 -2147483648 1 -2147483648 ");
    rtosignal_cancel_pending_ctrlc(), rtosignal_set_severity(1),
        rto_setprobId(("P" + std::string(99999, 'x') + "   ").c_str());
    EXPECT_EQ(std::strlen(rto_getprobId()), 100000u);
    char field[6] = "#";
    RTO_GETPROBID_F(nullptr, 6), RTO_GETPROBID_F(field, 0), rto_freeprobId(), rto_freeprobId(),
        rto_setprobId(nullptr);
    EXPECT_EQ(field + std::string(rto_getprobId()), "#KFPxxx");
}
