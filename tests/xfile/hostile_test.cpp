// Every entry point with the extreme values of its arguments: a message or a
// neutral result, never a crash, and no unit left behind.
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "capture.h"
#include "platform/funit.h"
#include "xfile_fixture.h"

using namespace zarn::test;

namespace {

TEST(XFileHostile, ExtremeArguments) {
    rtvarlst_t *l = list_of({"A", "B"});
    const std::string path = scratch("hostile"), longname(100000, 'N');
    const int64_t extremes[] = {0, -1, INT_MIN, INT_MAX, LLONG_MIN, LLONG_MAX};
    int64_t out = 0, out2 = 0, status = 0, yes = 1, one = 1;
    auto opened = [&](int64_t mode) { return RTXFILE_OPEN(path.c_str(), nullptr, &mode, nullptr, nullptr, path.size()); };
    // Each row: the call with one extreme value x, its result, and how the history text starts ("" for nothing).
    const struct {
        const char *what;
        std::function<int64_t(int64_t x)> call;
        std::function<int64_t(int64_t x)> result;
        std::function<std::string(int64_t x)> message;
    } rows[] = {
        {"open: null or absent name", [&](int64_t x) {
             return RTXFILE_OPEN(x ? "\0\0\0\0xx" : nullptr, nullptr, &out, nullptr, nullptr, x ? 6 : 0); },
         [](int64_t) { return 0; }, [](int64_t) { return "!! rtxfile_open: No file name given\n"; }},
        {"open: 10^5-character name", [&](int64_t) {
             int64_t m = RTXFILE_READ;
             return RTXFILE_OPEN(longname.c_str(), nullptr, &m, nullptr, nullptr, longname.size()); },
         [](int64_t) { return 0; }, [](int64_t) { return "!! rtxfile_open: Unable to open NNNN"; }},
        {"open: null mode", [&](int64_t) { return RTXFILE_OPEN(path.c_str(), nullptr, nullptr, nullptr, nullptr, path.size()); },
         [](int64_t) { return 0; }, [](int64_t) { return "!! rtxfile_open: Unknown mode -1"; }},
        {"open: mode", [&](int64_t x) {
             int64_t u = RTXFILE_OPEN(path.c_str(), nullptr, &x, nullptr, nullptr, path.size());
             RTXFILE_CLOSE(&u);
             return u > 0; },
         [](int64_t x) { return x == 0; },
         [](int64_t x) { return x == 0 ? "Restoring values by name\n" : "!! rtxfile_open: Unknown mode"; }},
        {"low level: 10^5-character name", [&](int64_t) {
             int64_t u = 70;
             RTO_OPENRD_XFILE_F(&u, longname.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, &status, longname.size());
             return status != 0 && zarn_funit_is_open(70) == 0; },
         [](int64_t) { return 1; }, [](int64_t) { return ""; }},
        {"query and restore: null", [&](int64_t) {
             return RTXFILE_QUERY(nullptr, nullptr, nullptr) +
                    RTXFILE_RESTORE_VARIABLE(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0); },
         [](int64_t) { return 1; }, [](int64_t) {
             return "!! rtxfile_query: No X file is open on unit -1 for this operation\n"
                    "!! rtxfile_restore_variable: No X file is open on unit -1"; }},
        {"close, flush, free, reserve: null", [&](int64_t) {
             RTXFILE_CLOSE(nullptr), RTO_FLUSH_UNIT(nullptr), RTO_FREIOC(nullptr), RTO_RESIOC(nullptr);
             RTO_CLOSE_XFILE_F(nullptr, nullptr), RTO_GETIOC(nullptr, nullptr);
             return 0; },
         [](int64_t) { return 0; }, [](int64_t) { return ""; }},
        {"opfunt: reversed and null ranges", [&](int64_t) {
             const int64_t a = INT_MAX, b = INT_MIN;
             return RTO_OPFUNT(&a, &b) + RTO_OPFUNT(nullptr, nullptr) + RTO_OPFUNT(&b, &a) * 0; },
         [](int64_t) { return -2; }, [](int64_t) { return ""; }},
        {"save: bad unit", [&](int64_t x) { return RTXFILE_SAVE_VARIABLE(&x, &l, &one, &one, nullptr), 0; },
         [](int64_t) { return 0; }, [](int64_t) { return "!! rtxfile_save_variable: No X file is open on unit"; }},
        {"update: bad unit", [&](int64_t x) { return RTXFILE_UPDATE_VARIABLE(&x, &l, nullptr), 0; },
         [](int64_t) { return 0; }, [](int64_t) { return "!! rtxfile_update_variable: No X file is open on unit"; }},
        {"close, free, reserve: not ours", [&](int64_t x) {
             RTO_CLOSE_XFILE_F(&x, &status), RTO_FREIOC(&x), RTO_RESIOC(&x);
             return status + (x == 0 ? zarn_funit_is_open(0) - 1 : 0); },
         [](int64_t) { return RTXFILE_STATUS_BAD; }, [](int64_t) { return ""; }},
        {"share open: far unit", [&](int64_t x) {
             out = x;
             RTO_SHARE_OPEN(path.c_str(), &out, &status, path.size());
             if (status == 0) zarn_funit_close(static_cast<int32_t>(out));  // a usable unit was used: close it
             return status == 0 ? int64_t{RTXFILE_STATUS_NO_UNIT} : status; },
         [](int64_t) { return RTXFILE_STATUS_NO_UNIT; }, [](int64_t) { return ""; }},
        {"save: bad range", [&](int64_t x) {
             Flags f = flags_of({4});
             int64_t m = RTXFILE_CREATE, u = RTXFILE_OPEN(path.c_str(), nullptr, &m, f.data(), nullptr, path.size());
             RTXFILE_SAVE_VARIABLE(&u, &l, &x, &one, f.data());
             RTXFILE_SAVE_VARIABLE(&u, &l, &one, &x, f.data());
             RTXFILE_SAVE_VARIABLE(&u, nullptr, &one, &one, f.data());
             RTXFILE_CLOSE(&u);
             return 0; },
         [](int64_t) { return 0; }, [](int64_t) { return "!! rtxfile_save_variable: Variable subscript is out of range\n"; }},
        {"read xrec: bad n", [&](int64_t x) {
             int64_t u = opened(RTXFILE_READ);
             RTO_READ_XREC_F(&u, &x, &out, nullptr, nullptr, nullptr, &out2, &status, 0);
             RTXFILE_CLOSE(&u);
             return status; },
         [](int64_t x) { return x == INT_MAX ? RTXFILE_STATUS_SHORT : RTXFILE_STATUS_BAD; },
         [](int64_t) { return "Restoring values by name\n"; }},
        {"restore: substitution count", [&](int64_t x) {
             int64_t u = opened(RTXFILE_READ);
             int64_t r = RTXFILE_RESTORE_EXCEPT(&u, &l, nullptr, &yes, &x, nullptr, nullptr, &x, nullptr, &x, 4, 4);
             RTXFILE_CLOSE(&u);
             return r; },
         [](int64_t) { return 0; }, [](int64_t) { return "Restoring values by name\n"; }},
    };
    for (const auto &r : rows) {
        for (int64_t x : extremes) {
            save_file(path, l, flags_of({1, 4}));
            HistoryCapture hist;
            EXPECT_EQ(r.call(x), r.result(x)) << r.what << " " << x;
            const std::string text = hist.text(), want = r.message(x);
            EXPECT_EQ(text.rfind(want, 0), 0u) << r.what << " " << x << ": " << text.substr(0, 200);
            EXPECT_TRUE(all_units_free()) << r.what;
        }
    }
    EXPECT_EQ(values(l), (std::vector<double>{0, 0}));
    rtovarlst_destroy_c(&l);
    std::remove(path.c_str());
}

}  // namespace
