// The low-level entries: reading variable by variable and at random, the unit
// table, the search for a free unit and shared text files.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "capture.h"
#include "platform/funit.h"
#include "xfile_fixture.h"

using namespace zarn::test;

namespace {

// Spec only (two words a variable): variable 257 starts record 3 exactly.
TEST(XFileLowLevel, SequentialAndRandomReads) {
    HistoryCapture hist;
    std::vector<std::string> names;
    for (int k = 1; k <= 300; ++k) names.push_back("V" + std::to_string(k));
    rtvarlst_t *l = list_of(names);
    for (int k = 1; k <= 300; ++k) rtovarlst_set_spec(l, k, k % 8);
    const std::string path = scratch("low");
    save_file(path, l, flags_of({8, 4}));  // 1 + 1 + 2 = 4 words: 128 variables a record
    int64_t unit = 77, magic = 0, first = 0, last = 0, status = -5, index = 0, eof = -5;
    Digest d{};
    Flags f{};
    RTO_OPENRD_XFILE_F(&unit, path.c_str(), &magic, d.data(), f.data(), &first, &last, &status, path.size());
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(magic == RTXFILE_MAGIC && d == digest_of(l) && f == flags_of({4, 8}) && first == 1 && last == 300);
    int64_t ints[RTXFILE_MAX_INT_WORDS] = {};
    double reals[RTXFILE_MAX_REALS] = {};
    char name[8] = "unused";
    for (int k = 1; k <= 2; ++k) {
        RTO_READ_XFILE_F(&unit, &index, name, ints, reals, &eof, &status, sizeof name);
        EXPECT_TRUE(index == k && ints[0] == k % 8 && reals[0] == 0.0 && eof == 0) << k;
    }
    EXPECT_STREQ(name, "unused");  // no names in the file: the field is left alone
    for (int64_t n : {128, 129, 257, 256, 1, 300}) {
        RTO_READ_XREC_F(&unit, &n, &index, name, ints, reals, &eof, &status, sizeof name);
        EXPECT_TRUE(status == 0 && index == n && ints[0] == n % 8) << n;
    }
    RTO_READ_XFILE_F(&unit, &index, name, ints, reals, &eof, &status, sizeof name);  // after 300: the end
    EXPECT_TRUE(eof == 1 && status == 0);
    int64_t beyond = 301 + 128 * 2;
    RTO_READ_XREC_F(&unit, &beyond, &index, name, ints, reals, &eof, &status, sizeof name);
    EXPECT_EQ(status, RTXFILE_STATUS_SHORT);
    RTO_CLOSE_XFILE_F(&unit, &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(zarn_funit_is_open(77), 0);
    EXPECT_EQ(hist.text(), "");
    rtovarlst_destroy_c(&l);
    std::remove(path.c_str());
}

TEST(XFileUnits, TableRotatesSkipsOpenUnitsAndRunsOut) {
    int64_t u = 0, err = -1, held = 0, first = 0;
    RTO_GETIOC(&first, &err);
    RTO_FREIOC(&first);
    RTO_GETIOC(&u, &err);
    RTO_FREIOC(&u);
    EXPECT_EQ(u, first == 99 ? 60 : first + 1);
    // The search starts after the unit handed out last, wraps at 99, and
    // keeps a unit the caller opened itself out of the table.
    held = u == 99 ? 60 : u + 1;
    const int64_t after = held == 99 ? 60 : held + 1;
    ASSERT_EQ(zarn_funit_open_seq(static_cast<int32_t>(held), scratch("held").c_str(), scratch("held").size(), 1), 0);
    std::vector<int64_t> got;
    for (RTO_GETIOC(&u, &err); err == 0; RTO_GETIOC(&u, &err)) got.push_back(u);
    EXPECT_EQ(got.front(), after);
    EXPECT_EQ(got.size(), 39u);
    EXPECT_EQ(u, -1);
    RTO_FREIOC(&got[5]);
    RTO_RESIOC(&got[5]);
    RTO_GETIOC(&u, &err);
    EXPECT_EQ(err, 1);  // reserved again
    zarn_funit_close(static_cast<int32_t>(held));
    RTO_FREIOC(&held);
    for (int64_t g : got) RTO_FREIOC(&g);
    EXPECT_TRUE(all_units_free());
    std::remove(scratch("held").c_str());
    const int64_t lo = 60, hi = 62, six = 6;
    EXPECT_EQ(RTO_OPFUNT(&lo, &hi), 60);
    EXPECT_EQ(RTO_OPFUNT(&six, &six), -1);  // standard output is open
}

TEST(XFileUnits, SharedTextFiles) {
    const std::string path = scratch("shared.txt");
    auto contents = [&] {
        std::ifstream in(path);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    struct Row {
        int64_t unit;
        bool fresh;
        const char *expect;
    } rows[] = {{40, false, "old\nnew\n"}, {-40, false, "new\n"}, {41, true, "new\n"}, {-40, true, "new\n"}};
    for (const Row &r : rows) {
        std::ofstream(path) << "old\n";
        zarn_funit_open_seq(41, scratch("other").c_str(), scratch("other").size(), 1);  // closed first when given
        int64_t unit = r.unit, status = -5, again = -50;
        (r.fresh ? RTO_SHARE_OPENEW : RTO_SHARE_OPEN)(path.c_str(), &unit, &status, path.size());
        EXPECT_EQ(status, 0);
        EXPECT_EQ(unit, r.unit < 0 ? 40 : r.unit);  // a negative unit: searched from |unit|
        RTO_SHARE_OPEN(path.c_str(), &again, &status, path.size());
        EXPECT_EQ(again, unit);  // already open: its unit
        zarn_funit_write_record(static_cast<int32_t>(unit), "new", 3);
        RTO_FLUSH_UNIT(&unit);
        zarn_funit_close(static_cast<int32_t>(unit));
        zarn_funit_close(41);
        EXPECT_EQ(contents(), r.expect) << r.unit << r.fresh;
    }
    std::remove(path.c_str());
    std::remove(scratch("other").c_str());
}

}  // namespace
