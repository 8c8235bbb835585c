// Bad files, failed allocations, hostile arguments and the fuzz corpus: a message or a neutral
// result, the list as it was, never a crash, and no unit left behind.
#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <functional>

#include "platform/funit.h"
#include "platform/xalloc.h"
#include "source_tree.h"
#include "xfile_fixture.h"
#define ZARN_FUZZ_CHECK(cond) EXPECT_TRUE(cond) << #cond
#include "../../fuzz/xfile_one_input.h"

using namespace zarn::test;

namespace {

using XFileBad = XFileTest;

// A good file of 300 variables: names and values, 36 words each, 22 records.
TEST_F(XFileBad, FilesGiveTheirMessageLeaveTheListAndReleaseTheUnit) {
    rtvarlst_t *src = list_of(numbered(300), true);
    const std::string path = scratch("bad");
    const char
        *not_x =
            "!! rtxfile_open: The file appears not to have been created with the save variables command\n",
        *header = "!! rtxfile_open: Problem reading Header record\n";
    const auto good = [&] { save_file(path, src, flags_of({1, 4})); };
    // A header of one variable written by hand, with one word changed, cut to a byte count.
    const auto hand = [&](int32_t at, int32_t value, size_t bytes) {
        Words w = header_words(digest_of(src), flags_of({4}), 1, 1);
        w[at] = value;
        write_words(path, w, bytes);
    };
    const struct {
        const char *what;
        std::function<void()> make;
        int64_t mode;
        const char *message;
    } rows[] = {
        {"wrong magic", [&] { hand(0, 7, SIZE_MAX); }, RTXFILE_READ, not_x},
        {"wrong magic, update", [&] { hand(0, 7, SIZE_MAX); }, RTXFILE_UPDATE, not_x},
        {"truncated header", [&] { hand(1, 1, 100); }, RTXFILE_READ, header},
        {"flag count beyond the record", [&] { hand(20, 491, SIZE_MAX); }, RTXFILE_READ, header},
        {"directory", [&] { ::mkdir(path.c_str(), 0755); }, RTXFILE_READ,
         "_bad is a directory, not an X file\n"},
        {"read-only for update",
         [&] {
             good();
             ::chmod(path.c_str(), 0444);
         },
         RTXFILE_UPDATE, "_bad is read-only and cannot be updated\n"},
        {"header claims more variables than the file holds",
         [&] {
             good();
             ::truncate(path.c_str(), 10 * 2048);
         },
         RTXFILE_UPDATE, "!! rtxfile_update_variable: Problem reading Header record\n"},
    };
    // A unit the host holds itself, 0 here: closing the 0 that a failed open gives must leave it open.
    const std::string host = scratch("host_unit");
    ASSERT_EQ(zarn_funit_open_direct(0, host.c_str(), host.size(), 1), 0);
    for (const auto &r : rows) {
        std::remove(path.c_str());  // the file or the directory of the row before
        r.make();
        rtvarlst_t *l = list_of(numbered(300));
        HistoryCapture hist;
        int64_t got = 0;
        if (r.mode == RTXFILE_READ) {
            got = restore_file(path, l, flags_of({4}));
        } else {
            int64_t unit = open_file(path, RTXFILE_UPDATE, l, flags_of({4}));
            if (unit != 0) RTXFILE_UPDATE_VARIABLE(&unit, &l, flags_of({4}).data());
            RTXFILE_CLOSE(&unit);
        }
        const std::string text = hist.text();
        EXPECT_EQ(got, 0) << r.what;
        EXPECT_NE(text.find(r.message), std::string::npos) << r.what << ": " << text;
        EXPECT_EQ(values(l), Reals(300, 0.0)) << r.what;
        EXPECT_TRUE(all_units_free()) << r.what;
        EXPECT_EQ(zarn_funit_is_open(0), 1) << r.what << ": the host's unit 0 closed";
    }
    zarn_funit_close(0);
}

// Each allocation of a restore by name with a substitution fails in turn (the first run counts them): one
// it reports gives 0 and leaves the values, one a lower module reports leaves them or restores them whole.
// Only the compiled substitutions allocate, never a pass over the stream.
TEST_F(XFileBad, AllocationFailuresLeaveTheListAlone) {
    rtvarlst_t *l = list_of({"A", "B"});
    rtovarlst_set_var_value(l, 1, 5.0, 0);
    const std::string path = scratch("alloc");
    save_file(path, l, flags_of({1, 4}));
    rtovarlst_addvar(l, 2, "C");
    std::string seen;
    for (long n = 0, total = 1; n <= total; ++n) {
        rtovarlst_set_var_value(l, 1, 0.0, 0);
        HistoryCapture hist;
        const int64_t r = restore_file(path, l, flags_of({4}), [n] { zarn::failalloc_set(n); }, {"B", "C"});
        if (n == 0) total = zarn::failalloc_count();
        zarn::failalloc_set(0);
        if (n == 0) continue;
        const std::string text = hist.text(),
                          said = "!! rtxfile_restore_variable: Unable to allocate memory for ";
        const size_t at = text.find(said);
        if (at != std::string::npos) {
            EXPECT_EQ(values(l), (Reals{0, 0})) << n;
            EXPECT_EQ(r, 0) << n;
            seen += text.substr(at + said.size());
        } else {
            EXPECT_TRUE(values(l) == (Reals{0, 0}) || values(l) == (Reals{5, 0}))
                << n << ": " << testing::PrintToString(values(l));
        }
    }
    EXPECT_TRUE(seen.find("1 variables\n") != std::string::npos) << seen;
    EXPECT_EQ(seen.find("1024 variables\n"), std::string::npos) << seen;
}

// Each row: the call with each extreme value x, its result, and how the history text starts.
TEST_F(XFileBad, HostileArguments) {
    rtvarlst_t *l = list_of({"A", "B"});
    const std::string path = scratch("hostile"), longname(100000, 'N');
    int64_t out = 0, out2 = 0, status = 0, yes = 1, one = 1;
    const auto opened = [&](int64_t mode) {
        return RTXFILE_OPEN(path.c_str(), nullptr, &mode, nullptr, nullptr, path.size());
    };
    const auto just = [](int64_t v) { return [v](int64_t) { return v; }; };
    const auto says = [](const char *text) { return [text](int64_t) { return std::string(text); }; };
    const auto not_open = [](int64_t x) {
        return "!! rtxfile_save_variable: No X file is open on unit " + std::to_string(x) +
               " for this operation\n"
               "!! rtxfile_update_variable: No X file is open on unit " +
               std::to_string(x) + " for this operation\n";
    };
    const struct {
        const char *what;
        std::function<int64_t(int64_t)> call, result;
        std::function<std::string(int64_t)> message;
    } rows[] = {
        {"open: null or absent name",
         [&](int64_t x) {
             return RTXFILE_OPEN(x ? "\0\0\0\0xx" : nullptr, nullptr, &out, nullptr, nullptr, x ? 6 : 0);
         },
         just(0), says("!! rtxfile_open: No file name given\n")},
        {"open: 10^5-character name",
         [&](int64_t) {
             return RTXFILE_OPEN(longname.c_str(), nullptr, &out2, nullptr, nullptr, longname.size());
         },
         just(0), says("!! rtxfile_open: Unable to open NNNN")},
        {"open: null mode",
         [&](int64_t) { return RTXFILE_OPEN(path.c_str(), nullptr, nullptr, nullptr, nullptr, path.size()); },
         just(0), says("!! rtxfile_open: Unknown mode -1")},
        {"open: mode",
         [&](int64_t x) {
             int64_t u = opened(x);
             RTXFILE_CLOSE(&u);
             return u > 0;
         },
         [](int64_t x) { return x == 0; },
         [](int64_t x) {
             return x == 0 ? "Restoring values by name\n"
                           : "!! rtxfile_open: Unknown mode " + std::to_string(x);
         }},
        {"query and restore: null",
         [&](int64_t) {
             return RTXFILE_QUERY(nullptr, nullptr, nullptr) +
                    RTXFILE_RESTORE_VARIABLE(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0,
                                             0);
         },
         just(1),
         says("!! rtxfile_query: No X file is open on unit -1 for this operation\n!! "
              "rtxfile_restore_variable: No X file is open on unit -1")},
        {"close, flush, free, reserve: null; opfunt: reversed and null ranges",
         [&](int64_t) {
             const int64_t a = INT_MAX, b = INT_MIN;
             RTXFILE_CLOSE(nullptr);
             RTO_FLUSH_UNIT(nullptr);
             RTO_FREIOC(nullptr);
             RTO_RESIOC(nullptr);
             RTO_CLOSE_XFILE_F(nullptr, nullptr);
             RTO_GETIOC(nullptr, nullptr);
             return RTO_OPFUNT(&a, &b) + RTO_OPFUNT(nullptr, nullptr) + RTO_OPFUNT(&b, &a) * 0;
         },
         just(-2), says("")},
        {"save, update: bad unit",
         [&](int64_t x) {
             RTXFILE_SAVE_VARIABLE(&x, &l, &one, &one, nullptr);
             RTXFILE_UPDATE_VARIABLE(&x, &l, nullptr);
             return 0;
         },
         just(0), not_open},
        {"close, free, reserve: not ours",
         [&](int64_t x) {
             RTO_CLOSE_XFILE_F(&x, &status);
             RTO_FREIOC(&x);
             RTO_RESIOC(&x);
             return status + (x == 0 ? zarn_funit_is_open(0) - 1 : 0);
         },
         just(RTXFILE_STATUS_BAD), says("")},
        {"share open: far unit (a usable unit was used: closed)",
         [&](int64_t x) {
             RTO_SHARE_OPEN(path.c_str(), &(out = x), &status, path.size());
             if (status != 0) return status;
             zarn_funit_close(static_cast<int32_t>(out));
             return int64_t{RTXFILE_STATUS_NO_UNIT};
         },
         just(RTXFILE_STATUS_NO_UNIT), says("")},
        {"save: bad range",
         [&](int64_t x) {
             int64_t u = opened(RTXFILE_CREATE);
             RTXFILE_SAVE_VARIABLE(&u, &l, &x, &one, nullptr);
             RTXFILE_SAVE_VARIABLE(&u, &l, &one, &x, nullptr);
             RTXFILE_SAVE_VARIABLE(&u, nullptr, &one, &one, nullptr);
             RTXFILE_CLOSE(&u);
             return 0;
         },
         just(0), says("!! rtxfile_save_variable: Variable subscript is out of range\n")},
        {"read xrec: bad n",
         [&](int64_t x) {
             int64_t u = opened(RTXFILE_READ);
             RTO_READ_XREC_F(&u, &x, &out, nullptr, nullptr, nullptr, &out2, &status, 0);
             RTXFILE_CLOSE(&u);
             return status;
         },
         [](int64_t x) { return x == INT_MAX ? RTXFILE_STATUS_SHORT : RTXFILE_STATUS_BAD; },
         says("Restoring values by name\n")},
        {"restore: substitution count",
         [&](int64_t x) {
             int64_t u = opened(RTXFILE_READ), r = RTXFILE_RESTORE_EXCEPT(&u, &l, nullptr, &yes, &x, nullptr,
                                                                          nullptr, &x, nullptr, &x, 4, 4);
             RTXFILE_CLOSE(&u);
             return r;
         },
         just(0), says("Restoring values by name\n")},
    };
    for (const auto &r : rows)
        for (int64_t x : {int64_t(0), int64_t(-1), int64_t(INT_MIN), int64_t(INT_MAX), int64_t(LLONG_MIN),
                          int64_t(LLONG_MAX)}) {
            save_file(path, l, flags_of({1, 4}));
            HistoryCapture hist;
            out2 = RTXFILE_READ;
            EXPECT_EQ(r.call(x), r.result(x)) << r.what << " " << x;
            const std::string text = hist.text(), want = r.message(x);
            EXPECT_EQ(text.rfind(want, 0), 0u) << r.what << " " << x << ": " << text.substr(0, 200);
            EXPECT_TRUE(all_units_free()) << r.what;
        }
    EXPECT_EQ(values(l), (Reals{0, 0}));
}

TEST_F(XFileBad, EveryKeptFuzzInputPasses) {
    HistoryCapture hist;
    EXPECT_GE(replay_corpus("xfile", zarn::fuzz::xfile_one_input), 4);
}

}  // namespace
