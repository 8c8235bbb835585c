// X-file records move in blocks of 64: files ending either side of a block's or a record's end, written in
// pieces; the first pass of a restore, mapped or read; system calls that fail; a unit closed under a file.
#include <dlfcn.h>
#include <sys/mman.h>

#include <cerrno>
#include <fstream>

#include "platform/funit.h"
#include "xfile/xfile_internal.h"
#include "xfile_fixture.h"

using namespace zarn::test;

// Set while a test needs the system to refuse mapping files (the first pass then reads the stream), to fail
// every read (with this error number, or -1 for none) or write (with EIO), or to write at most this many
// bytes a call, as an interrupted write does.
static bool g_refuse_file_maps = false;
static int g_failing_reads = 0;
static bool g_failing_writes = false;
static size_t g_bytes_per_write = 0;

extern "C" void *mmap(void *addr, size_t bytes, int prot, int flags, int fd, off_t offset) noexcept {
    using System = void *(*)(void *, size_t, int, int, int, off_t);
    static const System system = reinterpret_cast<System>(::dlsym(RTLD_NEXT, "mmap"));
    if (g_refuse_file_maps && fd >= 0) {
        errno = ENODEV;
        return MAP_FAILED;
    }
    return system(addr, bytes, prot, flags, fd, offset);
}

extern "C" ssize_t pread(int fd, void *to, size_t bytes, off_t offset) {
    using System = ssize_t (*)(int, void *, size_t, off_t);
    static const System system = reinterpret_cast<System>(::dlsym(RTLD_NEXT, "pread"));
    if (g_failing_reads != 0) {
        errno = g_failing_reads > 0 ? g_failing_reads : 0;
        return -1;
    }
    return system(fd, to, bytes, offset);
}

extern "C" ssize_t pwrite(int fd, const void *from, size_t bytes, off_t offset) {
    using System = ssize_t (*)(int, const void *, size_t, off_t);
    static const System system = reinterpret_cast<System>(::dlsym(RTLD_NEXT, "pwrite"));
    if (g_failing_writes) {
        errno = EIO;
        return -1;
    }
    return system(fd, from, g_bytes_per_write > 0 && bytes > g_bytes_per_write ? g_bytes_per_write : bytes,
                  offset);
}

namespace {

using XFileBlocks = XFileTest;

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

// The saves go through a system that writes at most 1000 bytes a call: each piece must land where it belongs.
TEST_F(XFileBlocks, SavedBytesAndRoundTripsAtBlockAndRecordBoundaries) {
    const std::string path = scratch("blocks");
    // Variables whose three words put the end word at the named place; block 1 holds the header and 63
    // records (32256 words) of stream.
    const struct {
        const char *where;
        int variables;
    } rows[] = {
        {"variables fill block 1: the end word opens block 2", 10752},  // 32256 words, then the end word
        {"the end word is the last word of a record", 341},             // 3 * 341 + 1 = 1024 words
        {"the end word opens a record", 512},                           // 1536 words, then the end word
        {"nothing saved", 0},
    };
    for (const auto &b : rows) {
        std::remove(path.c_str());  // a create keeps the tail of a longer file
        rtvarlst_t *src = list_of(numbered(b.variables), true);
        int64_t unit = open_file(path, RTXFILE_CREATE, src, flags_of({4})), first = 1, last = b.variables;
        g_bytes_per_write = 1000;
        if (b.variables > 0) RTXFILE_SAVE_VARIABLE(&unit, &src, &first, &last, flags_of({4}).data());
        RTXFILE_CLOSE(&unit);
        g_bytes_per_write = 0;
        EXPECT_EQ(read_words(path), values_file(src, b.variables)) << b.where;

        rtvarlst_t *by_index = list_of(numbered(b.variables));
        EXPECT_EQ(restore_file(path, by_index, flags_of({4})), 0) << b.where;
        EXPECT_EQ(values(by_index), values(src)) << b.where;
    }
}

// A file whole or cut after the open, mapped or read: a whole one comes back; a cut one is refused and the
// list left alone (only what the file still holds is mapped: no page past its end is touched).
TEST_F(XFileBlocks, TheFirstPassCountsTheStreamMappedOrRead) {
    rtvarlst_t *src = list_of(numbered(20000), true);
    const std::string path = scratch("cut");
    const struct {
        const char *what;
        bool refuse_maps;
        bool cut;
    } rows[] = {
        {"mapped, cut after the open", false, true},
        {"read, whole", true, false},
        {"read, cut after the open", true, true},
    };
    for (const auto &row : rows) {
        save_file(path, src, flags_of({4}));
        HistoryCapture hist;
        rtvarlst_t *dst = list_of(numbered(20000));
        const int64_t r = restore_file(path, dst, flags_of({4}), [&] {
            if (row.cut) ::truncate(path.c_str(), 5 * RTXFILE_RECORD_BYTES);
            hist.text();  // the open's own lines
            g_refuse_file_maps = row.refuse_maps;
        });
        g_refuse_file_maps = false;
        EXPECT_EQ(r, 0) << row.what;
        EXPECT_EQ(
            hist.text(),
            std::string("Variables in this file were saved  with the following attributes:\n  value\n") +
                (row.cut ? "!! rtxfile_restore_variable: Problem reading X file\n" : ""))
            << row.what;
        EXPECT_EQ(values(dst), row.cut ? Reals(20000, 0.0) : values(src)) << row.what;
    }
}

// Lines of this process's memory map that map the file at `path`.
int mappings_of(const std::string &path) {
    std::ifstream maps("/proc/self/maps");
    int found = 0;
    for (std::string line; std::getline(maps, line);)
        if (line.find(path) != std::string::npos) ++found;
    return found;
}

// Reads the system refuses while a file of two mapping windows is open: the second pass refused where it
// leaves the first block, then the header's re-read refused (the list left alone). Once reads succeed, the
// same open restores the file whole, and no mapping of the file outlives the restore.
TEST_F(XFileBlocks, ReadsRefusedInAnOpenFileAreReportedAndTheOpenStaysUsable) {
    const int n = 40000;  // names and values: more than the 1024 records a mapping window holds
    rtvarlst_t *src = list_of(numbered(n), true);
    const std::string path = scratch("reads_refused");
    save_file(path, src, flags_of({1, 4}));
    ASSERT_GT(read_words(path).size(), 1024u * RTXFILE_RECORD_WORDS) << "the file fits one mapping window";
    int64_t unit = open_file(path, RTXFILE_READ, src, flags_of({4})), by_index = 0, nsub = 0;
    ASSERT_NE(unit, 0);
    const auto restore = [&](rtvarlst_t *into, int failing_reads) {
        g_failing_reads = failing_reads;
        const int64_t r =
            RTXFILE_RESTORE_VARIABLE(&unit, &into, flags_of({4}).data(), &by_index, &nsub, "", "", 0, 0);
        g_failing_reads = 0;
        return r;
    };
    const std::string saved = "Variables in this file were saved  with the following attributes:\n  value\n",
                      refused = "!! rtxfile_restore_variable: Problem reading X file\n";
    const struct {
        const char *what;
        std::string message;
        bool list_left_alone;
    } refusals[] = {
        {"the second pass refused past the first block", saved + refused, false},
        {"the header's re-read refused", refused, true},
    };
    for (const auto &row : refusals) {
        HistoryCapture hist;
        rtvarlst_t *dst = list_of(numbered(n));
        EXPECT_EQ(restore(dst, EIO), 0) << row.what;
        EXPECT_EQ(hist.text(), row.message) << row.what;
        if (row.list_left_alone) {
            EXPECT_EQ(values(dst), Reals(n, 0.0)) << row.what;
        }
    }
    rtvarlst_t *dst = list_of(numbered(n));
    EXPECT_EQ(restore(dst, 0), 0) << "reads allowed again";
    EXPECT_EQ(values(dst), values(src)) << "reads allowed again in the same open";
    EXPECT_EQ(mappings_of(path), 0) << "a mapping window left behind";
    RTXFILE_CLOSE(&unit);
}

// A header read the system fails: the low-level open's status is the error number, EIO when it set none
// (0 would read as success).
TEST_F(XFileBlocks, AFailedReadGivesItsErrorNumberAsTheStatus) {
    rtvarlst_t *l = list_of(numbered(1));
    const std::string path = scratch("failing_reads");
    save_file(path, l, flags_of({4}));
    const struct {
        const char *what;
        int failing;
        int64_t status;
    } rows[] = {
        {"the system sets an error number", ENXIO, ENXIO},
        {"the system sets none", -1, EIO},
    };
    for (const auto &row : rows) {
        int64_t unit = 77, status = 0;
        g_failing_reads = row.failing;
        RTO_OPENRD_XFILE_F(&unit, path.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, &status,
                           path.size());
        g_failing_reads = 0;
        EXPECT_EQ(status, row.status) << row.what;
        if (status == 0) RTO_CLOSE_XFILE_F(&unit, &status);
    }
}

// A header write the system refuses, for a new file or an update: the open says so, gives no unit and
// keeps none.
TEST_F(XFileBlocks, ARefusedHeaderWriteIsReported) {
    rtvarlst_t *l = list_of({"A", "B"});
    const std::string path = scratch("failing_writes");
    const struct {
        const char *what;
        int64_t mode;
    } opens[] = {
        {"a new file's header", RTXFILE_CREATE},
        {"the header of a file opened for update", RTXFILE_UPDATE},
    };
    for (const auto &row : opens) {
        save_file(path, l, flags_of({4}));
        HistoryCapture hist;
        g_failing_writes = true;
        const int64_t unit = open_file(path, row.mode, l, flags_of({4}));
        g_failing_writes = false;
        EXPECT_EQ(unit, 0) << row.what;
        EXPECT_EQ(hist.text(), "!! rtxfile_open: Problem writing Header record\n") << row.what;
        EXPECT_TRUE(all_units_free()) << row.what;
    }
}

// An update the system fails part way: a read where the walk enters the second block (on an integer word:
// four follow each index), the write of the last records at the close, or, in a file of one block, the
// write of the records the walk changed, at its end.
TEST_F(XFileBlocks, AnUpdateRefusedPartWayIsReported) {
    const int per_variable = 5;
    const int n = (zarn::xfile::kBlockRecords - 1) * RTXFILE_RECORD_WORDS / per_variable + 10;
    ASSERT_EQ((zarn::xfile::kBlockRecords - 1) * RTXFILE_RECORD_WORDS % per_variable, 1)
        << "the block does not end before an integer word";
    rtvarlst_t *two_blocks = list_of(numbered(n), true), *one_block = list_of(numbered(400), true);
    const Flags ints = flags_of({7, 8, 13, 14});  // UOM, spec, base unit, quality
    const std::string path = scratch("update_refused");
    const struct {
        const char *what;
        rtvarlst_t *list;
        int failing_reads;
        bool writes_fail_in_update, writes_fail_at_close;
    } rows[] = {
        {"a read refused in the walk", two_blocks, EIO, false, false},
        {"the last records' write refused at the close", two_blocks, 0, false, true},
        {"the changed records' write refused at the end of the walk", one_block, 0, true, false},
    };
    for (const auto &row : rows) {
        rtvarlst_t *l = row.list;
        save_file(path, l, ints);
        int64_t unit = open_file(path, RTXFILE_UPDATE, l, ints);
        ASSERT_NE(unit, 0) << row.what;
        HistoryCapture hist;
        g_failing_reads = row.failing_reads;
        g_failing_writes = row.writes_fail_in_update;
        RTXFILE_UPDATE_VARIABLE(&unit, &l, ints.data());
        g_failing_reads = 0;
        g_failing_writes = row.writes_fail_at_close;
        RTXFILE_CLOSE(&unit);
        g_failing_writes = false;
        EXPECT_EQ(hist.text(), "!! rtxfile_update_variable: Problem updating X file\n") << row.what;
        EXPECT_TRUE(all_units_free()) << row.what;
    }
}

// A caller that closes the X-file's unit itself: the next save writes nothing anywhere and says so.
TEST_F(XFileBlocks, AUnitClosedByTheCallerIsNotWrittenThrough) {
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
}

}  // namespace
