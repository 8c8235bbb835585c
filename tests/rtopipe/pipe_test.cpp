// Queue, null and file pipes, reference counts, and the basic operations.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "capture.h"
#include "zarnutils/rtopipe.h"

using zarn::test::drain;
using zarn::test::HistoryCapture;
using zarn::test::StderrCapture;

namespace {

TEST(QueuePipe, ReadsLeaveRoomForNulAcrossChunks) {
    rtopipe *q = create_queue_rtopipe();
    std::string data(1000, 'x');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>('a' + i % 26);
    EXPECT_EQ(rtowrite(q, data.data(), data.size()), 1);
    char buf[600];
    EXPECT_EQ(rtoread(q, buf, sizeof buf), 599);
    EXPECT_EQ(buf[599], '\0');
    EXPECT_EQ(std::string(buf, 599), data.substr(0, 599));
    EXPECT_EQ(rtostatus(q), 0);
    EXPECT_EQ(rtoread(q, buf, sizeof buf), 401);
    EXPECT_EQ(std::string(buf, 401), data.substr(599));
    EXPECT_EQ(rtoread(q, buf, sizeof buf), 0);
    EXPECT_EQ(rtostatus(q), 1);
    EXPECT_EQ(rtowritestr(q, "z"), 1);  // a write clears the status again
    EXPECT_EQ(rtostatus(q), 0);
    EXPECT_EQ(drain(q), "z");
    rtodestroy(q);
}

TEST(QueuePipe, SmallWritesFillTheLastChunkInOrder) {
    rtopipe *q = create_queue_rtopipe();
    std::string expect;
    // Pieces of 7 bytes cross the 512-byte chunk boundaries at odd places.
    for (int i = 0; i < 300; ++i) {
        char piece[8];
        std::snprintf(piece, sizeof piece, "%06d|", i);
        rtowritestr(q, piece);
        expect += piece;
        if (i % 97 == 96) {  // interleave reads with the writes
            char buf[100];
            int64_t n = rtoread(q, buf, sizeof buf);
            ASSERT_EQ(n, 99);
            EXPECT_EQ(std::string(buf, 99), expect.substr(0, 99));
            expect.erase(0, 99);
        }
    }
    EXPECT_EQ(drain(q), expect);
    auto *chunks = static_cast<gl_list_t *>(q->data);
    EXPECT_EQ(gl_length(chunks), 0u);  // emptied chunks are freed
    char one[1];
    rtowritestr(q, "ab");
    EXPECT_EQ(rtoread(q, one, 1), 0);  // only the NUL fits
    EXPECT_EQ(drain(q), "ab");
    rtodestroy(q);
}

TEST(PipeBasics, ReadTrimAndCapabilities) {
    rtopipe *q = create_queue_rtopipe();
    rtowritestr(q, "value 3  \n\n");
    char buf[64];
    EXPECT_EQ(rtoread_trim(q, buf, sizeof buf), 7);
    EXPECT_STREQ(buf, "value 3");
    EXPECT_STREQ(rtodesc(q), "*queue pipe*");
    EXPECT_EQ(rtodesc(nullptr), nullptr);
    EXPECT_EQ(rtostatus(nullptr), 1);
    EXPECT_EQ(rtointeractive(nullptr), 0);
    EXPECT_EQ(rtoflush(nullptr), 0);
    EXPECT_EQ(rtosetflushlevel(q, 2), 0);
    EXPECT_EQ(rtoflushlevel(q), 2);
    EXPECT_EQ(rtosetflushlevel(q, 7), 2);  // two bits only
    EXPECT_EQ(rtoflushlevel(q), 3);
    EXPECT_EQ(q->flags & ~RTOPIPE_FLUSH_MASK & ~RTOPIPE_STATUS, 0u);  // other bits untouched

    rtopipe *tee = rtopipe_create_tee(gl_create());
    StderrCapture err;
    EXPECT_EQ(rtoread(tee, buf, sizeof buf), 0);
    EXPECT_EQ(err.text(), "!!!rtoread: Pipe does not support reading!\n");
    rtopipe *unit = rtoPipe_fortran_output(93);
    rtopipe *in = create_binary_stream_rtopipe(stdin, "in", 0);
    EXPECT_STREQ(rtodesc(unit), "*FORTRAN unit 93*");
    rtodestroy(unit);
    in->write = nullptr;
    EXPECT_EQ(rtowritestr(in, "x"), -1);
    EXPECT_EQ(err.text(), "!!!rtowrite: Pipe does not support writing!\n");
    EXPECT_EQ(rtodestroy(nullptr), -1);
    rtodestroy(in);
    rtodestroy(tee);
    rtodestroy(q);
}

TEST(PipeBasics, NullPipeSwallowsAndReportsEnd) {
    char buf[8];
    EXPECT_STREQ(rtodesc(nowherePipe), "NOWHERE");
    EXPECT_EQ(rtoread(nowherePipe, buf, sizeof buf), 0);
    EXPECT_EQ(rtostatus(nowherePipe), 1);
    EXPECT_EQ(rtowritestr(nowherePipe, "gone"), 1);
    EXPECT_EQ(rtostatus(nowherePipe), 0);
    EXPECT_EQ(copyPipe(nowherePipe), nowherePipe);
    EXPECT_EQ(rtodestroy(nowherePipe), 1);
    EXPECT_EQ(rtodestroy(nowherePipe), 0);  // a static pipe survives, back at one holder
    EXPECT_EQ(nowherePipe->refcount, 1);
    EXPECT_EQ(rtowritestr(nowherePipe, "still here"), 1);
}

TEST(PipeBasics, ReferenceCountsAndDeadPipes) {
    HistoryCapture his;
    rtopipe *q = create_queue_rtopipe();
    EXPECT_EQ(copyPipe(q), q);
    EXPECT_EQ(q->refcount, 2);
    EXPECT_EQ(rtodestroy(q), 1);
    EXPECT_EQ(q->refcount, 1);

    rtopipe dead = *q;  // a record whose holders are all gone
    dead.refcount = 0;
    EXPECT_EQ(copyPipe(&dead), nullptr);
    EXPECT_EQ(his.text(), "Request to copy NULL or deallocated pipe\n");
    EXPECT_EQ(copyPipe(nullptr), nullptr);
    EXPECT_EQ(his.text(), "Request to copy NULL or deallocated pipe\n");
    {
        // When the dead pipe is the history pipe itself, the message goes to stderr.
        StderrCapture err;
        rtopipe *saved = rtHisDev;
        rtHisDev = &dead;
        EXPECT_EQ(copyPipe(&dead), nullptr);
        rtHisDev = saved;
        EXPECT_EQ(err.text(), "Request to copy NULL or deallocated pipe\n");
    }
    EXPECT_EQ(rtodestroy(q), 0);
}

std::string file_bytes(const std::string &path) {
    std::string out;
    FILE *f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
    return out;
}

TEST(FilePipe, FlushLevelsDecideWhenBytesReachTheFile) {
    char path[] = "/tmp/zarn-fpipe-XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    FILE *f = std::fopen(path, "wb");
    rtopipe *p = create_ascii_stream_rtopipe(f, path, 1);
    EXPECT_EQ(rtoflushlevel(p), 1);
    EXPECT_STREQ(rtodesc(p), path);
    EXPECT_EQ(rtowritestr(p, "no newline"), 1);
    EXPECT_EQ(file_bytes(path), "");  // still in the stream's buffer
    EXPECT_EQ(rtowritestr(p, " then one\n"), 1);
    EXPECT_EQ(file_bytes(path), "no newline then one\n");
    rtosetflushlevel(p, 0);
    rtowritestr(p, "held\n");
    EXPECT_EQ(file_bytes(path), "no newline then one\n");
    rtosetflushlevel(p, 2);
    rtowritestr(p, "x");
    EXPECT_EQ(file_bytes(path), "no newline then one\nheld\nx");
    EXPECT_EQ(rtowrite(p, "", 0), 1);
    EXPECT_EQ(rtodestroy(p), 0);  // owns the stream: closes it

    rtopipe_ascii_flush_level = 2;
    rtopipe *q = create_ascii_stream_rtopipe(std::fopen(path, "rb"), path, 1);
    rtopipe_ascii_flush_level = 1;
    EXPECT_EQ(rtoflushlevel(q), 2);
    char buf[128];
    int64_t n = rtoread(q, buf, sizeof buf);
    EXPECT_EQ(std::string(buf, static_cast<size_t>(n)), "no newline then one\nheld\nx");
    EXPECT_EQ(rtoread(q, buf, sizeof buf), 0);
    EXPECT_EQ(rtostatus(q), 1);
    rtodestroy(q);

    FILE *bf = std::fopen(path, "rb");
    rtopipe *b = create_binary_stream_rtopipe(bf, "bin", 0);
    EXPECT_EQ(rtoflushlevel(b), 0);
    rtodestroy(b);
    EXPECT_EQ(std::fclose(bf), 0);  // not owned: still open after destroy
    unlink(path);
}

TEST(FilePipe, WriteFailureIsReportedOnHistoryDevice) {
    HistoryCapture his;
    FILE *ro = std::fopen("/dev/null", "r");
    rtopipe *p = create_ascii_stream_rtopipe(ro, "/dev/null", 1);
    EXPECT_EQ(rtowritestr(p, "lost\n"), -1);
    EXPECT_EQ(his.text(), "genericFileStreamPush: Bad file descriptor on file /dev/null\n");
    rtodestroy(p);

    // A failing pipe that is itself the history device reports on stderr instead.
    ro = std::fopen("/dev/null", "r");
    rtopipe *h = create_ascii_stream_rtopipe(ro, "/dev/null", 1);
    rtohis_set_hisDev(h);
    StderrCapture err;
    EXPECT_EQ(rtowritestr(h, "lost\n"), -1);
    EXPECT_EQ(err.text(), "genericFileStreamPush: Bad file descriptor on file /dev/null\n");
    rtohis_set_hisDev(his.pipe());
    rtodestroy(h);

    // A long file name is reported whole, line end included.
    const std::string longName = "/nowhere/" + std::string(3000, 'n') + ".txt";
    ro = std::fopen("/dev/null", "r");
    p = create_ascii_stream_rtopipe(ro, longName.c_str(), 1);
    EXPECT_EQ(rtowritestr(p, "lost\n"), -1);
    EXPECT_EQ(his.text(), "genericFileStreamPush: Bad file descriptor on file " + longName + "\n");
    rtodestroy(p);
}

TEST(FilePipe, CreateWithoutStreamGivesNoPipe) {
    EXPECT_EQ(create_ascii_stream_rtopipe(nullptr, "x", 1), nullptr);
}

}  // namespace

namespace {

TEST(FilePipe, PersistentReadErrorsGiveUpAfterEighty) {
    HistoryCapture his;
    FILE *dir = std::fopen("/tmp", "r");  // opens, but every read fails
    ASSERT_NE(dir, nullptr);
    rtopipe *p = create_ascii_stream_rtopipe(dir, "/tmp", 1);
    char buf[16];
    EXPECT_EQ(rtoread(p, buf, sizeof buf), 0);
    EXPECT_EQ(rtostatus(p), 1);
    std::string expect;
    for (int i = 0; i < 80; ++i) expect += "genericFileStreamPull: Is a directory on file /tmp\n";
    expect += "80 consecutive read errors!  Giving up!\n";
    EXPECT_EQ(his.text(), expect);
    rtodestroy(p);
}

}  // namespace
