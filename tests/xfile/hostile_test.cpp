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
    const std::string path = scratch("hostile");
    save_file(path, l, flags_of({1, 4}));
    const std::string longname(100000, 'N');
    const int64_t units[] = {0, -1, INT_MIN, INT_MAX, LLONG_MIN, LLONG_MAX};
    const int64_t counts[] = {0, -1, INT_MIN, INT_MAX, LLONG_MIN, LLONG_MAX};
    int64_t out = 0, out2 = 0, status = 0;
    struct Row {
        const char *what;
        std::function<int64_t()> call;
        int64_t result;
        const char *message;  // start of the history text; "" for none
    };
    std::vector<Row> rows = {
        {"open: null name", [&] { return RTXFILE_OPEN(nullptr, nullptr, &out, nullptr, nullptr, 0); }, 0,
         "!! rtxfile_open: No file name given\n"},
        {"open: absent name", [&] { return RTXFILE_OPEN("\0\0\0\0xx", nullptr, &out, nullptr, nullptr, 6); }, 0,
         "!! rtxfile_open: No file name given\n"},
        {"open: 10^5-character name",
         [&] {
             int64_t m = RTXFILE_READ;
             return RTXFILE_OPEN(longname.c_str(), nullptr, &m, nullptr, nullptr, longname.size());
         },
         0, "!! rtxfile_open: Unable to open NNNN"},
        {"open: null mode", [&] { return RTXFILE_OPEN(path.c_str(), nullptr, nullptr, nullptr, nullptr, path.size()); },
         0, "!! rtxfile_open: Unknown mode -1"},
        {"open: null digest reads by name",
         [&] {
             int64_t m = RTXFILE_READ, u = RTXFILE_OPEN(path.c_str(), nullptr, &m, nullptr, nullptr, path.size());
             RTXFILE_CLOSE(&u);
             return u > 0;
         },
         1, "Restoring values by name\n"},
        {"low level: 10^5-character name",
         [&] {
             int64_t u = 70;
             RTO_OPENRD_XFILE_F(&u, longname.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, &status,
                                longname.size());
             return status != 0 && zarn_funit_is_open(70) == 0;
         },
         1, ""},
        {"query: null unit", [&] { return RTXFILE_QUERY(nullptr, nullptr, nullptr); }, 1,
         "!! rtxfile_query: No X file is open on unit -1 for this operation\n"},
        {"restore: null everything",
         [&] { return RTXFILE_RESTORE_VARIABLE(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0); }, 0,
         "!! rtxfile_restore_variable: No X file is open on unit -1"},
        {"close, flush, free, reserve: null", [&] {
             RTXFILE_CLOSE(nullptr);
             RTO_FLUSH_UNIT(nullptr);
             RTO_FREIOC(nullptr);
             RTO_RESIOC(nullptr);
             RTO_CLOSE_XFILE_F(nullptr, nullptr);
             RTO_GETIOC(nullptr, nullptr);
             return 0;
         }, 0, ""},
        {"opfunt: reversed and null ranges",
         [&] {
             const int64_t a = INT_MAX, b = INT_MIN;
             return RTO_OPFUNT(&a, &b) + RTO_OPFUNT(nullptr, nullptr) + RTO_OPFUNT(&b, &a) * 0;
         },
         -2, ""},
    };
    for (int64_t u : units) {
        rows.push_back({"save: bad unit", [&, u] {
                            int64_t one = 1;
                            RTXFILE_SAVE_VARIABLE(&u, &l, &one, &one, nullptr);
                            return 0;
                        }, 0, "!! rtxfile_save_variable: No X file is open on unit"});
        rows.push_back({"update: bad unit", [&, u] {
                            RTXFILE_UPDATE_VARIABLE(&u, &l, nullptr);
                            return 0;
                        }, 0, "!! rtxfile_update_variable: No X file is open on unit"});
        rows.push_back({"close: not ours", [&, u] {
                            RTO_CLOSE_XFILE_F(&u, &status);
                            RTO_FREIOC(&u);
                            RTO_RESIOC(&u);
                            return status + (u == 0 ? zarn_funit_is_open(0) - 1 : 0);
                        }, RTXFILE_STATUS_BAD, ""});
        rows.push_back({"share open: far unit", [&, u] {
                            out = u;
                            RTO_SHARE_OPEN(path.c_str(), &out, &status, path.size());
                            if (status == 0) {
                                // A unit that could be used was: close it again.
                                const auto c = static_cast<int32_t>(out);
                                zarn_funit_close(c);
                                return int64_t{RTXFILE_STATUS_NO_UNIT};
                            }
                            return status;
                        }, RTXFILE_STATUS_NO_UNIT, ""});
    }
    for (int64_t c : counts) {
        rows.push_back({"save: bad range", [&, c] {
                            int64_t m = RTXFILE_CREATE, one = 1;
                            Flags f = flags_of({4});
                            int64_t u = RTXFILE_OPEN(path.c_str(), nullptr, &m, f.data(), nullptr, path.size());
                            RTXFILE_SAVE_VARIABLE(&u, &l, &c, &one, f.data());
                            RTXFILE_SAVE_VARIABLE(&u, &l, &one, &c, f.data());
                            RTXFILE_SAVE_VARIABLE(&u, nullptr, &one, &one, f.data());
                            RTXFILE_CLOSE(&u);
                            return 0;
                        }, 0, "!! rtxfile_save_variable: Variable subscript is out of range\n"});
        rows.push_back({"open: bad mode", [&, c] {
                            int64_t u = RTXFILE_OPEN(path.c_str(), nullptr, &c, nullptr, nullptr, path.size());
                            RTXFILE_CLOSE(&u);
                            return u > 0;
                        }, c == 0 ? 1 : 0, c == 0 ? "Restoring values by name\n" : "!! rtxfile_open: Unknown mode"});
        rows.push_back({"read xrec: bad n", [&, c] {
                            int64_t m = RTXFILE_READ;
                            int64_t u = RTXFILE_OPEN(path.c_str(), nullptr, &m, nullptr, nullptr, path.size());
                            RTO_READ_XREC_F(&u, &c, &out, nullptr, nullptr, nullptr, &out2, &status, 0);
                            RTXFILE_CLOSE(&u);
                            return status;
                        }, c == INT_MAX ? RTXFILE_STATUS_SHORT : RTXFILE_STATUS_BAD, "Restoring values by name\n"});
        rows.push_back({"restore: substitution count", [&, c] {
                            int64_t m = RTXFILE_READ, yes = 1;
                            int64_t u = RTXFILE_OPEN(path.c_str(), nullptr, &m, nullptr, nullptr, path.size());
                            int64_t r = RTXFILE_RESTORE_EXCEPT(&u, &l, nullptr, &yes, &c, nullptr, nullptr, &c,
                                                               nullptr, &c, 4, 4);
                            RTXFILE_CLOSE(&u);
                            return r;
                        }, 0, "Restoring values by name\n"});
    }
    for (const Row &r : rows) {
        // Mode 0 for rows that reuse a created file: create it again.
        if (std::string(r.what).find("bad range") == std::string::npos) save_file(path, l, flags_of({1, 4}));
        HistoryCapture hist;
        EXPECT_EQ(r.call(), r.result) << r.what;
        const std::string text = hist.text();
        EXPECT_EQ(text.rfind(r.message, 0), 0u) << r.what << ": " << text.substr(0, 200);
        EXPECT_TRUE(all_units_free()) << r.what;
    }
    EXPECT_EQ(values(l), (std::vector<double>{0, 0}));
    rtovarlst_destroy_c(&l);
    std::remove(path.c_str());
}

}  // namespace
