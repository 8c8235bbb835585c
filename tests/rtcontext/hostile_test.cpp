// Every run-time context entry with extreme event numbers, modes and texts,
// and the event table used before it exists, twice, and after it is gone.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <string>

#include "zarnutils/rtcontext.h"

namespace {

intptr_t one(intptr_t, intptr_t, intptr_t) { return 1; }

TEST(ContextHostileCaller, ExtremeArgumentsChangeNothing) {
    const std::string huge = "P" + std::string(99999, 'x') + "   ";
    int m = 0;
    int64_t out = 0;
    char field[6];
    struct Row {
        const char *call;
        std::function<int64_t()> run;
        int64_t result;
    };
    const Row rows[] = {
        // No table yet.
        {"destroy twice, do/set/unset/disable before create",
         [] { rtoevent_destroy_callbacks(); rtoevent_destroy_callbacks();
              return rtoevent_do_callback(0, 1, 2, 3) + rtoevent_set_callback(0, one) + rtoevent_unset_callback(0, one) + rtoevent_disable_callback(1, 0); }, 0},
        {"create(INT_MIN), (-1), (0), (INT_MAX)",
         [] { int r = 0;
              for (int n : {INT_MIN, -1, 0, INT_MAX}) r += rtoevent_create_callbacks(n), rtoevent_destroy_callbacks();
              return r; }, 0},
        {"create(65537) is refused, 65536 made",
         [] { int r = rtoevent_create_callbacks(65537); rtoevent_destroy_callbacks();
              r += rtoevent_create_callbacks(65536) + rtoevent_set_callback(65535, one); rtoevent_destroy_callbacks();
              return r; }, 65537},
        // A table of 3 events: every number outside 0..2 is refused.
        {"set/unset/disable/do at INT_MIN, -1, 3, INT_MAX",
         [] {
             rtoevent_create_callbacks(3);
             int64_t r = 0;
             for (int e : {INT_MIN, -1, 3, INT_MAX})
                 r += rtoevent_set_callback(e, one) + rtoevent_unset_callback(e, one) + rtoevent_disable_callback(INT_MIN, e) +
                      rtoevent_do_callback(e, INTPTR_MIN, INTPTR_MAX, 0);
             r += rtoevent_set_callback(2, nullptr) + rtoevent_unset_callback(2, nullptr);
             r += rtoevent_set_callback(2, one) * 10 + rtoevent_disable_callback(INT_MIN, 2) * 100 +
                  rtoevent_do_callback(2, 0, 0, 0) * 1000;  // INT_MIN is non-zero: still enabled
             rtoevent_destroy_callbacks();
             return r + rtoevent_do_callback(2, 0, 0, 0);  // after the end: nothing
         }, 1110},
        {"severity INT_MIN, 0, -1 ignored; INT_MAX kept",
         [] { rtosignal_set_ctrlc(); rtosignal_set_severity(INT_MIN); rtosignal_set_severity(0); rtosignal_set_severity(-1);
              int64_t r = rtosignal_ctrlc_pressed();
              rtosignal_set_severity(INT_MAX); r += RTOSIGNAL_CTRLC_PRESSED_F();
              rtosignal_cancel_pending_ctrlc(); rtosignal_set_severity(1); RTOSIGNAL_Q_CTRLC_F(nullptr);
              return r; }, int64_t{INT_MAX} + 1},
        {"modes out of range, C and Fortran",
         [&] {
             for (int v : {INT_MIN, -1, 4, INT_MAX}) rto_set_mode_c(v), rto_set_run_mode_c(v);
             for (int64_t v : {int64_t{LLONG_MIN}, int64_t{-1}, int64_t{4}, (int64_t{1} << 32) + 2, int64_t{LLONG_MAX}}) RTO_SET_MODE(&v);
             RTO_SET_MODE(nullptr);
             rto_inq_mode_c(nullptr);
             rto_inq_run_mode_c(nullptr);
             RTO_INQ_MODE(nullptr);
             RTO_INQ_MODE(&out);
             rto_inq_run_mode_c(&m);
             return out * 10 + m;
         }, 0},
        {"run type INT_MIN", [] { SetRTORunType(INT_MIN); int64_t r = GetRTORunType() == INT_MIN && RTO_INQ_NOT_CORBA() == 1; SetRTORunType(1); return r; }, 1},
        {"rto_setprobId(10^5)", [&] { rto_setprobId(huge.c_str()); return int64_t(std::strlen(rto_getprobId())); }, 100000},
        {"RTO_GETPROBID_F(NULL, 6), (field, 0)", [&] { RTO_GETPROBID_F(nullptr, 6); field[0] = '#'; RTO_GETPROBID_F(field, 0); return field[0]; }, '#'},
        {"rto_freeprobId twice, rto_setprobId(NULL)",
         [] { rto_freeprobId(); rto_freeprobId(); rto_setprobId(nullptr); return std::strcmp(rto_getprobId(), "KFPxxx"); }, 0},
    };
    for (const Row &row : rows) EXPECT_EQ(row.run(), row.result) << row.call;
}

}  // namespace
