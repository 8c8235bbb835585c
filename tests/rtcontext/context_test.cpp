// Events, Ctrl-C, modes, problem identifier and version texts; every
// allocation of the context failing once.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <string>
#include <utility>

#include "failsweep.h"
#include "zarnutils/rtcontext.h"

namespace {

std::string g_calls;
intptr_t cb_a(intptr_t a, intptr_t b, intptr_t c) { return g_calls += "a", a + b + c; }
intptr_t cb_b(intptr_t a, intptr_t, intptr_t) { return g_calls += "b", a * 10; }
intptr_t cb_drop(intptr_t, intptr_t, intptr_t) {  // unsets the callback after it, and itself
    g_calls += "d";
    rtoevent_unset_callback(4, cb_b);
    return rtoevent_unset_callback(4, cb_drop), 7;
}
std::string called(int event) {
    g_calls.clear();
    intptr_t r = rtoevent_do_callback(event, 4, 5, 6);
    return g_calls + "=" + std::to_string(r);
}

TEST(Events, RegistrationOrderStateAndUsers) {
    ASSERT_EQ(rtoevent_create_callbacks(20), 20);
    EXPECT_EQ(rtoevent_create_callbacks(30), 0);  // a second user: the table stays
    EXPECT_EQ(rtoevent_set_callback(18, cb_a) * 100 + rtoevent_set_callback(18, cb_a) * 10 + rtoevent_set_callback(18, cb_b), 101);
    EXPECT_EQ(called(18), "ab=40");               // list order, the last result
    EXPECT_EQ(called(17), "=0");
    EXPECT_EQ(rtoevent_disable_callback(0, 18), 1);
    EXPECT_EQ(called(18), "=0");
    EXPECT_EQ(rtoevent_disable_callback(1, 18), 0);  // the previous state: disabled
    EXPECT_EQ(rtoevent_unset_callback(18, cb_a) * 10 + rtoevent_unset_callback(18, cb_a), 10);
    EXPECT_EQ(called(18), "b=40");
    rtoevent_destroy_callbacks();                 // one user remains
    EXPECT_EQ(called(18), "b=40");
    for (auto fn : {cb_drop, cb_b, cb_a}) rtoevent_set_callback(4, fn);
    EXPECT_EQ(called(4), "da=15");                // cb_b was unset before its turn
    EXPECT_EQ(called(4), "a=15");
    rtoevent_destroy_callbacks();
    EXPECT_EQ(called(18), "=0");
    EXPECT_EQ(rtoevent_create_callbacks(5), 5);   // a fresh table after the last user left
    EXPECT_EQ(rtoevent_set_callback(18, cb_a), 0);
    rtoevent_destroy_callbacks();
}

TEST(CtrlC, RealSignalSetsTheFlagUntilCancelled) {
    rtosignal_intercept_ctrlc();
    std::raise(SIGINT);
    EXPECT_EQ(rtosignal_ctrlc_pressed(), 1);
    rtosignal_cancel_pending_ctrlc();
    EXPECT_EQ(rtosignal_ctrlc_pressed(), 0);
    std::raise(SIGINT);  // the handler stays installed for the next press
    rtosignal_set_severity(3);
    int64_t out = -1;
    RTOSIGNAL_Q_CTRLC_F(&out);
    EXPECT_EQ(out * 10 + RTOSIGNAL_CTRLC_PRESSED_F(), 33);
    rtosignal_cancel_pending_ctrlc();
    RTOSIGNAL_S_CTRLC_F();
    EXPECT_EQ(rtosignal_ctrlc_pressed(), 3);
    rtosignal_cancel_pending_ctrlc();
    rtosignal_set_severity(1);
    std::signal(SIGINT, SIG_DFL);
}

TEST(Context, ModesSwitchesIdentifierAndVersion) {
    int m = -1, r = -1;
    int64_t fm = 3, out = 0;
    rto_set_mode_c(2);
    rto_set_run_mode_c(2);
    rto_inq_mode_c(&m);
    rto_inq_run_mode_c(&r);
    RTO_SET_MODE(&fm);
    RTO_INQ_MODE(&out);
    EXPECT_EQ(m * 100 + r * 10 + out, 223);
    EXPECT_EQ(rtopt_mode * 10 + rtopt_run_mode, 32);
    rto_set_mode_c(0);
    rto_set_run_mode_c(0);
    EXPECT_EQ(GetRTORunType() * 10 + RTO_INQ_NOT_CORBA(), 11);
    EXPECT_EQ(SetRTORunType(0) * 10 + RTO_INQ_NOT_CORBA(), 10);
    SetRTORunType(1);
    rto_set_use_hessian_parameter(255);
    EXPECT_EQ(rto_inq_use_hessian_parameter(), 255);
    rto_set_use_hessian_parameter(0);
    const std::pair<const char *, const char *> ids[] = {{"   ", "KFPxxx"}, {" lead", "KFPxxx"}, {"", "KFPxxx"}, {"CRUDE-1 \t\n", "CRUDE-1"}};
    for (const auto &[in, want] : ids) {
        rto_setprobId(in);
        EXPECT_STREQ(rto_getprobId(), want) << in;
    }
    char field[10], tiny[4];
    RTO_GETPROBID_F(field, sizeof field);
    RTO_GETPROBID_F(tiny, sizeof tiny);
    EXPECT_EQ(std::string(field, 10) + std::string(tiny, 4), "CRUDE-1   CRUD");
    rto_freeprobId();
    EXPECT_STREQ(rto_getprobId(), "KFPxxx");
    EXPECT_EQ(std::string(rtoFullVersion()), std::string(rtoMajorVersion()) + "." + std::to_string(rtoMinorVersion()) + "." +
                                                 rtoPatchNumber() + "." + rtoBuildNum());
    EXPECT_GT(std::strlen(rtoBuildDate()) * std::strlen(rtoBuildUserName()), 0u);
}

int g_called = 0;
template <int I>
intptr_t counted(intptr_t, intptr_t, intptr_t) { return ++g_called, I; }
template <int... I>
void register_all(std::integer_sequence<int, I...>) { (rtoevent_set_callback(0, counted<I>), ...); }

TEST(ContextAllocation, FailuresLeaveNothingHalfMade) {
    const struct {
        const char *name;
        std::function<bool()> op;
        long allocations;
        std::function<void()> check;
    } rows[] = {
        {"rtoevent_create_callbacks",  // the table, the flags, three lists, then one callback node
         [] { bool ok = rtoevent_create_callbacks(3) == 3 && rtoevent_set_callback(2, counted<0>) == 1; return rtoevent_destroy_callbacks(), ok; },
         6, [] { EXPECT_EQ(rtoevent_set_callback(0, counted<0>), 0); }},
        {"rto_setprobId", [] { rto_setprobId("CRUDE"); return std::string(rto_getprobId()) == "CRUDE"; }, 1,
         [] { EXPECT_STREQ(rto_getprobId(), "KFPxxx"); }},
        {"rtoevent_do_callback of more callbacks than the stack copy holds",
         [] { g_called = 0; return rtoevent_do_callback(0, 0, 0, 0) == 16 && g_called == 17; }, 1, [] { EXPECT_EQ(g_called, 0); }},
    };
    for (const auto &row : rows) {
        if (&row == &rows[2]) {
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
