// X-file records move in blocks of 64: files that end on either side of a block's last record and of a
// record's last word, saves split across calls, updates that cross blocks, and a unit the
// caller closes under an open X-file.
#include "platform/funit.h"
#include "xfile_fixture.h"

using namespace zarn::test;

namespace {

// The bytes a save of variables 1..n with values only (three words each) must give, built word by word.
Words values_file(rtvarlst_t *l, int n) {
    Words want = header_words(digest_of(l), flags_of({4}), n > 0 ? 1 : -1, n > 0 ? n : -1);
    for (int k = 1; k <= n; ++k) {
        want.push_back(k);
        push_real(want, rtovarlst_inq_var_value(l, k, 0));
    }
    want.push_back(-1);
    want.resize((want.size() + RTXFILE_RECORD_WORDS - 1) / RTXFILE_RECORD_WORDS * RTXFILE_RECORD_WORDS, 0);
    return want;
}

// Variables whose three words put the end word at the named place. The header is record 1 and block 1
// holds records 1 to 64, so 63 records (32256 words) of stream; each later block holds 32768 words.
struct Boundary {
    const char *where;
    int variables;
};
const Boundary kBoundaries[] = {
    {"the end word two words before block 1 ends", 10751},                // 3 * 10751 + 1 = 32254 words
    {"variables fill block 1: the end word opens block 2", 10752},        // 32256 words, then the end word
    {"the end word is the last word of a record", 341},                   // 3 * 341 + 1 = 1024 words
    {"the end word opens a record", 512},                                 // 1536 words, then the end word
    {"variables straddle blocks 2 and 3, and 3 and 4", 3 * 10752 + 100},  // 65024 and 97792 are not 3k
    {"nothing saved", 0},
};

TEST(XFileBlocks, SavedBytesAndRoundTripsAtBlockAndRecordBoundaries) {
    const std::string path = scratch("blocks");
    for (const Boundary &b : kBoundaries) {
        std::remove(path.c_str());  // a create keeps the tail of a longer file
        rtvarlst_t *src = list_of(numbered(b.variables), true);
        int64_t unit = open_file(path, RTXFILE_CREATE, src, flags_of({4})), first = 1, last = b.variables;
        if (b.variables > 0) RTXFILE_SAVE_VARIABLE(&unit, &src, &first, &last, flags_of({4}).data());
        RTXFILE_CLOSE(&unit);
        EXPECT_EQ(read_words(path), values_file(src, b.variables)) << b.where;

        rtvarlst_t *by_index = list_of(numbered(b.variables));
        EXPECT_EQ(restore_file(path, by_index, flags_of({4})), 0) << b.where;
        EXPECT_EQ(values(by_index), values(src)) << b.where;
        rtovarlst_destroy_c(&by_index);
        rtovarlst_destroy_c(&src);
    }
    std::remove(path.c_str());
}

// Between calls the file holds every whole record written so far, as with one transfer a record; the
// same variables saved in three calls give the bytes of one call.
TEST(XFileBlocks, SavesSplitAcrossCallsWriteTheSameFile) {
    const int n = 2 * 10752 + 7;
    rtvarlst_t *l = list_of(numbered(n), true);
    const std::string path = scratch("split");
    const int64_t splits[][2] = {{1, 10000}, {10001, 10753}, {10754, n}};
    int64_t unit = open_file(path, RTXFILE_CREATE, l, flags_of({4}));
    for (const auto &range : splits) {
        int64_t first = range[0], last = range[1];
        RTXFILE_SAVE_VARIABLE(&unit, &l, &first, &last, flags_of({4}).data());
        const size_t whole_records = 1 + static_cast<size_t>(3 * last) / RTXFILE_RECORD_WORDS;
        EXPECT_EQ(read_words(path).size(), whole_records * RTXFILE_RECORD_WORDS)
            << "after saving to " << last;
    }
    RTXFILE_CLOSE(&unit);
    EXPECT_EQ(read_words(path), values_file(l, n));
    rtovarlst_destroy_c(&l);
    std::remove(path.c_str());
}

// Update walks records 2 onwards and writes each back; across three blocks every value is replaced and the
// file equals a fresh save of the changed list.
TEST(XFileBlocks, UpdatesAcrossBlocks) {
    const int n = 3 * 10752 + 5;
    rtvarlst_t *l = list_of(numbered(n), true);
    const std::string path = scratch("update");
    save_file(path, l, flags_of({4}));
    for (int k = 1; k <= n; ++k) rtovarlst_set_var_value(l, k, -0.5 * k, 0);
    int64_t unit = open_file(path, RTXFILE_UPDATE, l, flags_of({4}));
    ASSERT_NE(unit, 0);
    RTXFILE_UPDATE_VARIABLE(&unit, &l, flags_of({4}).data());
    RTXFILE_CLOSE(&unit);
    EXPECT_EQ(read_words(path), values_file(l, n));
    rtovarlst_destroy_c(&l);
    std::remove(path.c_str());
}

// A caller that closes the X-file's unit itself: the next save writes nothing anywhere and says so.
TEST(XFileBlocks, AUnitClosedByTheCallerIsNotWrittenThrough) {
    HistoryCapture hist;
    rtvarlst_t *l = list_of(numbered(20000), true);
    const std::string path = scratch("closed");
    int64_t unit = open_file(path, RTXFILE_CREATE, l, flags_of({4})), first = 1, last = 20000;
    ASSERT_NE(unit, 0);
    ASSERT_EQ(zarn_funit_close(static_cast<int32_t>(unit)), 0);
    RTXFILE_SAVE_VARIABLE(&unit, &l, &first, &last, flags_of({4}).data());
    EXPECT_EQ(hist.text(), "!! rtxfile_save_variable: Problem writing X file\n");
    EXPECT_EQ(read_words(path).size(), static_cast<size_t>(RTXFILE_RECORD_WORDS));  // the header alone
    RTXFILE_CLOSE(&unit);
    EXPECT_TRUE(all_units_free());
    rtovarlst_destroy_c(&l);
    std::remove(path.c_str());
}

}  // namespace

namespace {

// A file cut after it was opened: the first pass maps only what the file still holds, so the restore is
// refused with its message and the list left alone, instead of the process dying on a page past the end.
TEST(XFileBlocks, AFileCutAfterItsOpenIsRefused) {
    HistoryCapture hist;
    rtvarlst_t *src = list_of(numbered(20000), true);
    const std::string path = scratch("cut");
    save_file(path, src, flags_of({4}));
    rtvarlst_t *dst = list_of(numbered(20000));
    int64_t by_name = 0, nsub = 0;
    int64_t unit = open_file(path, RTXFILE_READ, dst, flags_of({4}), &by_name);
    ASSERT_NE(unit, 0);
    ASSERT_EQ(::truncate(path.c_str(), 5 * RTXFILE_RECORD_BYTES), 0);
    hist.text();  // the open's own lines
    const int64_t r =
        RTXFILE_RESTORE_VARIABLE(&unit, &dst, flags_of({4}).data(), &by_name, &nsub, "", "", 0, 0);
    RTXFILE_CLOSE(&unit);
    EXPECT_EQ(r, 0);
    EXPECT_NE(hist.text().find("!! rtxfile_restore_variable: Problem reading X file\n"), std::string::npos);
    EXPECT_EQ(values(dst), Reals(20000, 0.0));
    rtovarlst_destroy_c(&src);
    rtovarlst_destroy_c(&dst);
    std::remove(path.c_str());
}

}  // namespace
