// Events, Ctrl-C, modes, problem identifier and version texts.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <string>

#include "zarnutils/rtcontext.h"

namespace {

std::string g_calls;
intptr_t cb_a(intptr_t a, intptr_t b, intptr_t c) {
    g_calls += "a";
    return a + b + c;
}
intptr_t cb_b(intptr_t a, intptr_t, intptr_t) {
    g_calls += "b";
    return a * 10;
}

TEST(Events, TableLifecycleAndCalls) {
    EXPECT_EQ(rtoevent_do_callback(0, 1, 2, 3), 0);  // no table yet
    EXPECT_EQ(rtoevent_set_callback(0, cb_a), 0);
    EXPECT_EQ(rtoevent_create_callbacks(0), 0);      // counts a user, makes nothing
    rtoevent_destroy_callbacks();
    ASSERT_EQ(rtoevent_create_callbacks(20), 20);
    EXPECT_EQ(rtoevent_create_callbacks(30), 0);     // second user: table unchanged
    EXPECT_EQ(rtoevent_set_callback(18, cb_a), 1);
    EXPECT_EQ(rtoevent_set_callback(18, cb_a), 0);   // already registered
    EXPECT_EQ(rtoevent_set_callback(18, cb_b), 1);
    EXPECT_EQ(rtoevent_set_callback(20, cb_a), 0);   // out of range
    EXPECT_EQ(rtoevent_set_callback(-1, cb_a), 0);
    EXPECT_EQ(rtoevent_set_callback(3, nullptr), 0);
    g_calls.clear();
    EXPECT_EQ(rtoevent_do_callback(18, 4, 5, 6), 40);  // last result, in list order
    EXPECT_EQ(g_calls, "ab");
    EXPECT_EQ(rtoevent_do_callback(17, 4, 5, 6), 0);   // no callbacks

    EXPECT_EQ(rtoevent_disable_callback(0, 18), 1);
    g_calls.clear();
    EXPECT_EQ(rtoevent_do_callback(18, 4, 5, 6), 0);
    EXPECT_EQ(g_calls, "");
    EXPECT_EQ(rtoevent_disable_callback(1, 18), 0);   // previous state: disabled
    EXPECT_EQ(rtoevent_disable_callback(1, 25), 0);

    EXPECT_EQ(rtoevent_unset_callback(18, cb_a), 1);
    EXPECT_EQ(rtoevent_unset_callback(18, cb_a), 0);
    g_calls.clear();
    EXPECT_EQ(rtoevent_do_callback(18, 4, 5, 6), 40);
    EXPECT_EQ(g_calls, "b");

    rtoevent_destroy_callbacks();  // one user remains: the table stays
    EXPECT_EQ(rtoevent_do_callback(18, 1, 0, 0), 10);
    rtoevent_destroy_callbacks();
    EXPECT_EQ(rtoevent_do_callback(18, 1, 0, 0), 0);
    EXPECT_EQ(rtoevent_set_callback(18, cb_a), 0);
    EXPECT_EQ(rtoevent_create_callbacks(5), 5);  // a fresh table after the last user left
    EXPECT_EQ(rtoevent_set_callback(18, cb_a), 0);
    rtoevent_destroy_callbacks();
}

intptr_t cb_drop_b(intptr_t, intptr_t, intptr_t) {
    g_calls += "d";
    rtoevent_unset_callback(4, cb_b);  // unsets the one after it
    rtoevent_unset_callback(4, cb_drop_b);
    return 7;
}

TEST(Events, CallbacksThatUnsetOthersAreSafe) {
    ASSERT_EQ(rtoevent_create_callbacks(8), 8);
    rtoevent_set_callback(4, cb_drop_b);
    rtoevent_set_callback(4, cb_b);
    rtoevent_set_callback(4, cb_a);
    g_calls.clear();
    EXPECT_EQ(rtoevent_do_callback(4, 1, 2, 3), 6);  // cb_b was unset before its turn
    EXPECT_EQ(g_calls, "da");
    g_calls.clear();
    EXPECT_EQ(rtoevent_do_callback(4, 1, 2, 3), 6);
    EXPECT_EQ(g_calls, "a");
    rtoevent_destroy_callbacks();
}

TEST(CtrlC, RealSignalSetsFlagAndSeverity) {
    rtosignal_cancel_pending_ctrlc();
    EXPECT_EQ(rtosignal_ctrlc_pressed(), 0);
    rtosignal_intercept_ctrlc();
    std::raise(SIGINT);
    EXPECT_EQ(rtosignal_ctrlc_pressed(), 1);
    rtosignal_cancel_pending_ctrlc();
    std::raise(SIGINT);  // the handler stays installed for the next press
    rtosignal_set_severity(3);
    rtosignal_set_severity(0);
    rtosignal_set_severity(-2);
    EXPECT_EQ(rtosignal_ctrlc_pressed(), 3);
    int64_t out = -1;
    RTOSIGNAL_Q_CTRLC_F(&out);
    EXPECT_EQ(out, 3);
    EXPECT_EQ(RTOSIGNAL_CTRLC_PRESSED_F(), 3);
    rtosignal_cancel_pending_ctrlc();
    EXPECT_EQ(RTOSIGNAL_CTRLC_PRESSED_F(), 0);
    RTOSIGNAL_S_CTRLC_F();
    EXPECT_EQ(rtosignal_ctrlc_pressed(), 3);
    rtosignal_cancel_pending_ctrlc();
    rtosignal_set_severity(1);
    std::signal(SIGINT, SIG_DFL);
}

TEST(Modes, RangesAreEnforced) {
    int m = -1;
    rto_set_mode_c(2);
    rto_set_mode_c(4);
    rto_set_mode_c(-1);
    rto_inq_mode_c(&m);
    EXPECT_EQ(m, 2);
    EXPECT_EQ(rtopt_mode, 2);
    int64_t fm = 3, out = 0;
    RTO_SET_MODE(&fm);
    RTO_INQ_MODE(&out);
    EXPECT_EQ(out, 3);
    fm = 7;
    RTO_SET_MODE(&fm);
    EXPECT_EQ(rtopt_mode, 3);
    rto_set_mode_c(0);

    rto_set_run_mode_c(2);
    rto_set_run_mode_c(3);
    rto_inq_run_mode_c(&m);
    EXPECT_EQ(m, 2);
    rto_set_run_mode_c(0);

    EXPECT_EQ(GetRTORunType(), 1);
    EXPECT_EQ(RTO_INQ_NOT_CORBA(), 1);
    EXPECT_EQ(SetRTORunType(0), 1);
    EXPECT_EQ(RTO_INQ_NOT_CORBA(), 0);
    EXPECT_EQ(SetRTORunType(1), 0);

    rto_set_use_hessian_parameter(1);
    EXPECT_EQ(rto_inq_use_hessian_parameter(), 1);
    rto_set_use_hessian_parameter(0);
}

TEST(ProblemId, DefaultsAndBlankPaddedCopy) {
    EXPECT_STREQ(rto_getprobId(), "KFPxxx");
    rto_setprobId("   ");
    EXPECT_STREQ(rto_getprobId(), "KFPxxx");
    rto_setprobId(" lead");
    EXPECT_STREQ(rto_getprobId(), "KFPxxx");
    rto_setprobId("CRUDE-1 \t\n");
    EXPECT_STREQ(rto_getprobId(), "CRUDE-1");
    char field[10];
    RTO_GETPROBID_F(field, sizeof field);
    EXPECT_EQ(std::string(field, 10), "CRUDE-1   ");
    char tiny[4];
    RTO_GETPROBID_F(tiny, sizeof tiny);
    EXPECT_EQ(std::string(tiny, 4), "CRUD");
    rto_freeprobId();
    EXPECT_STREQ(rto_getprobId(), "KFPxxx");
}

TEST(Version, FullVersionJoinsParts) {
    std::string full = rtoFullVersion();
    std::string expect = std::string(rtoMajorVersion()) + "." + std::to_string(rtoMinorVersion()) + "." +
                         rtoPatchNumber() + "." + rtoBuildNum();
    EXPECT_EQ(full, expect);
    EXPECT_GT(std::strlen(rtoBuildDate()), 0u);
    EXPECT_GT(std::strlen(rtoBuildUserName()), 0u);
}

}  // namespace
