// The low-level entries: reading variable by variable and at random, the unit
// table, the search for a free unit and shared text files.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

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
    EXPECT_EQ(magic, RTXFILE_MAGIC);
    EXPECT_EQ(d, digest_of(l));
    EXPECT_EQ(f, flags_of({4, 8}));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 300);
    int64_t ints[RTXFILE_MAX_INT_WORDS] = {};
    double reals[RTXFILE_MAX_REALS] = {};
    char name[8] = "unused";
    for (int k = 1; k <= 2; ++k) {
        RTO_READ_XFILE_F(&unit, &index, name, ints, reals, &eof, &status, sizeof name);
        EXPECT_EQ(index, k);
        EXPECT_EQ(ints[0], k % 8);
        EXPECT_EQ(reals[0], 0.0);
        EXPECT_EQ(eof, 0);
    }
    EXPECT_STREQ(name, "unused");  // no names in the file: the field is left alone
    for (int64_t n : {128, 129, 257, 256, 1, 300}) {
        RTO_READ_XREC_F(&unit, &n, &index, name, ints, reals, &eof, &status, sizeof name);
        EXPECT_EQ(status, 0) << n;
        EXPECT_EQ(index, n);
        EXPECT_EQ(ints[0], n % 8) << n;
    }
    RTO_READ_XFILE_F(&unit, &index, name, ints, reals, &eof, &status, sizeof name);  // after 300: the end
    EXPECT_EQ(eof, 1);
    EXPECT_EQ(status, 0);
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
    int64_t u = 0, err = -1;
    RTO_GETIOC(&u, &err);
    const int64_t start = u;
    ASSERT_TRUE(u >= 60 && u <= 99);
    RTO_FREIOC(&u);
    // The search starts after the unit handed out last and wraps at 99.
    const int64_t next = start == 99 ? 60 : start + 1, after = next == 99 ? 60 : next + 1;
    ASSERT_EQ(zarn_funit_open_seq(static_cast<int32_t>(next), scratch("held").c_str(), scratch("held").size(), 1), 0);
    RTO_GETIOC(&u, &err);
    EXPECT_EQ(u, after);  // next is open: skipped and kept out of the table
    EXPECT_EQ(err, 0);
    std::vector<int64_t> got{u};
    for (int k = 0; k < 40; ++k) {
        RTO_GETIOC(&u, &err);
        if (err) break;
        got.push_back(u);
    }
    EXPECT_EQ(got.size(), 39u);  // 40 less the held unit
    EXPECT_EQ(u, -1);
    EXPECT_EQ(err, 1);
    RTO_FREIOC(&got[5]);
    RTO_RESIOC(&got[5]);
    RTO_GETIOC(&u, &err);
    EXPECT_EQ(err, 1);  // reserved again
    int64_t held = next;
    zarn_funit_close(static_cast<int32_t>(next));
    RTO_FREIOC(&held);
    for (int64_t g : got) RTO_FREIOC(&g);
    EXPECT_TRUE(all_units_free());
    std::remove(scratch("held").c_str());

    // Lowest unit not open in a range.
    const int64_t lo = 60, hi = 62, one = 6;
    EXPECT_EQ(RTO_OPFUNT(&lo, &hi), 60);
    EXPECT_EQ(RTO_OPFUNT(&one, &one), -1);  // standard output is open
}

std::string contents(const std::string &path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(XFileUnits, SharedTextFiles) {
    const std::string path = scratch("shared.txt");
    std::ofstream(path) << "old\n";
    int64_t unit = 40, status = -5;
    RTO_SHARE_OPEN(path.c_str(), &unit, &status, path.size());  // positive: appends
    EXPECT_EQ(status, 0);
    EXPECT_EQ(unit, 40);
    zarn_funit_write_record(40, "new", 3);
    int64_t again = -50;
    RTO_SHARE_OPEN(path.c_str(), &again, &status, path.size());
    EXPECT_EQ(again, 40);  // already open: its unit
    RTO_SHARE_OPENEW(path.c_str(), &again, &status, path.size());
    EXPECT_EQ(again, 40);
    zarn_funit_close(40);
    EXPECT_EQ(contents(path), "old\nnew\n");
    unit = -40;  // negative: searched from 40, not appended
    RTO_SHARE_OPEN(path.c_str(), &unit, &status, path.size());
    EXPECT_EQ(unit, 40);
    zarn_funit_write_record(40, "x", 1);
    zarn_funit_close(40);
    EXPECT_EQ(contents(path), "x\n");
    unit = 41;  // given unit, closed first when open; the file starts empty
    zarn_funit_open_seq(41, scratch("other").c_str(), scratch("other").size(), 1);
    RTO_SHARE_OPENEW(path.c_str(), &unit, &status, path.size());
    EXPECT_EQ(status, 0);
    EXPECT_EQ(unit, 41);
    zarn_funit_close(41);
    EXPECT_EQ(contents(path), "");
    RTO_FLUSH_UNIT(&unit);
    std::remove(path.c_str());
    std::remove(scratch("other").c_str());
}

}  // namespace
