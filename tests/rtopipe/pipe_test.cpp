// Queue, null, file and tee pipes, reference counts, the history and report
// devices, set-up, and one table of every text the pipes print.
#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "capture.h"
#include "zarnutils/rtopipe.h"

using zarn::test::drain;
using zarn::test::HistoryCapture;
using zarn::test::StderrCapture;

namespace {

std::string pattern(size_t n) {
    std::string s;
    while (s.size() < n) s += static_cast<char>('a' + s.size() % 26);
    return s;
}

TEST(QueuePipe, ChunksReadsAndStatus) {
    rtopipe *q = create_queue_rtopipe();
    const std::string data = pattern(1000);
    EXPECT_EQ(rtowrite(q, data.data(), data.size()), 1);
    char buf[600];
    for (int64_t want : {599, 401, 0}) {  // a NUL in the last byte of each buffer
        const int64_t n = rtoread(q, buf, sizeof buf);
        EXPECT_EQ(n, want);
        if (n > 0) {
            EXPECT_EQ(std::string(buf, n) + buf[599], data.substr(want == 599 ? 0 : 599, n) + '\0');
        }
        EXPECT_EQ(rtostatus(q), want == 0);
    }
    EXPECT_EQ(rtowritestr(q, "z") * 10 + rtostatus(q), 10);  // a write clears the status
    EXPECT_EQ(rtoread(q, buf, 1), 0);  // only the NUL fits
    // Pieces of 7 bytes cross the 512-byte chunk boundaries, with reads between.
    std::string expect = "z";
    for (int i = 0; i < 300; ++i) {
        const std::string piece = pattern(7 + i % 3).substr(i % 3);
        rtowritestr(q, piece.c_str());
        expect += piece;
        if (i % 97 == 96) {
            ASSERT_EQ(rtoread(q, buf, 100), 99);
            EXPECT_EQ(std::string(buf, 99), expect.substr(0, 99));
            expect.erase(0, 99);
        }
    }
    EXPECT_EQ(drain(q), expect);
    EXPECT_EQ(gl_length(static_cast<gl_list_t *>(q->data)), 0u);  // emptied chunks are freed
    rtowritestr(q, "value 3  \n\n");
    EXPECT_EQ(rtoread_trim(q, buf, sizeof buf), 7);
    EXPECT_STREQ(buf, "value 3");
    EXPECT_EQ(rtosetflushlevel(q, 2) * 10 + rtoflushlevel(q), 2);
    EXPECT_EQ(rtosetflushlevel(q, 7) * 10 + rtoflushlevel(q), 23);  // two bits only
    EXPECT_EQ(q->flags & ~RTOPIPE_FLUSH_MASK, 0u);  // the other bits untouched
    rtodestroy(q);
}

TEST(Pipes, ReferenceCountsAndStaticPipes) {
    rtopipe *q = create_queue_rtopipe();
    EXPECT_EQ(copyPipe(q), q);
    EXPECT_EQ(rtodestroy(q) * 100 + q->refcount * 10 + rtodestroy(q), 110);
    char buf[8];
    EXPECT_STREQ(rtodesc(nowherePipe), "NOWHERE");
    EXPECT_EQ(rtoread(nowherePipe, buf, sizeof buf) * 10 + rtostatus(nowherePipe), 1);
    EXPECT_EQ(rtowritestr(nowherePipe, "gone") * 10 + rtostatus(nowherePipe), 10);
    EXPECT_EQ(copyPipe(nowherePipe), nowherePipe);
    EXPECT_EQ(rtodestroy(nowherePipe) * 10 + rtodestroy(nowherePipe), 10);  // never freed, back at one holder
    EXPECT_EQ(nowherePipe->refcount, 1);
    EXPECT_EQ(rtoflush(nowherePipe), 1);
}

std::string file_bytes(const char *path) {
    std::string out;
    FILE *f = std::fopen(path, "rb");
    for (int c; (c = std::fgetc(f)) != EOF;) out += static_cast<char>(c);
    return std::fclose(f), out;
}

TEST(FilePipe, FlushLevelsOwnershipAndReadBack) {
    char path[] = "/tmp/zarn-fpipe-XXXXXX";
    close(mkstemp(path));
    rtopipe *p = create_ascii_stream_rtopipe(std::fopen(path, "wb"), path, 1);
    EXPECT_EQ(rtoflushlevel(p), 1);
    EXPECT_STREQ(rtodesc(p), path);
    const struct {
        int level;
        const char *text, *file;  // what the file holds after the write
    } steps[] = {{1, "no newline", ""}, {1, " then one\n", "no newline then one\n"}, {0, "held\n", "no newline then one\n"},
                 {2, "x", "no newline then one\nheld\nx"}, {2, "", "no newline then one\nheld\nx"}};
    for (const auto &s : steps) {
        rtosetflushlevel(p, s.level);
        EXPECT_EQ(rtowritestr(p, s.text), 1);
        EXPECT_EQ(file_bytes(path), s.file) << s.text;
    }
    EXPECT_EQ(rtodestroy(p), 0);  // owns the stream: closes it
    rtopipe_ascii_flush_level = 2;
    FILE *f = std::fopen(path, "rb");
    rtopipe *a = create_ascii_stream_rtopipe(f, path, 0), *b = create_binary_stream_rtopipe(f, "bin", 0);
    rtopipe_ascii_flush_level = 1;
    EXPECT_EQ(rtoflushlevel(a) * 10 + rtoflushlevel(b), 20);
    char buf[128];
    EXPECT_EQ(rtoread(b, buf, sizeof buf), 26);
    EXPECT_EQ(rtoread(a, buf, sizeof buf) * 10 + rtostatus(a), 1);
    rtodestroy(a);
    rtodestroy(b);
    EXPECT_EQ(std::fclose(f), 0);  // not owned: still open after both destroys
    unlink(path);
}

// A pipe whose writes and flushes fail, counting what reaches it.
int g_bad_writes = 0;
rtopipe *failing_pipe() {
    rtopipe *p = create_queue_rtopipe();
    p->write = [](rtopipe *, const char *, size_t) { return ++g_bad_writes, -1; };
    p->flush = [](rtopipe *) { return 0; };
    return p;
}

TEST(TeePipe, FansOutAndReportsAnyFailure) {
    rtopipe *a = create_queue_rtopipe(), *bad = failing_pipe(), *c = create_queue_rtopipe();
    gl_list_t *list = gl_create();
    for (rtopipe *m : {a, bad, c}) gl_addtoend(list, m == bad ? m : copyPipe(m));
    rtopipe *tee = rtopipe_create_tee(list);
    EXPECT_STREQ(rtodesc(tee), "<tee pipe>");
    EXPECT_EQ(rtowritestr(tee, "both"), -1);  // one member failed, every member written
    EXPECT_EQ(drain(a) + drain(c) + std::to_string(g_bad_writes), "bothboth1");
    EXPECT_EQ(rtoflush(tee), 0);
    EXPECT_EQ(rtodestroy(tee), 0);
    EXPECT_EQ(a->refcount * 10 + c->refcount, 11);  // the tee gave back its references
    list = gl_create();
    gl_addtoend(list, a);
    tee = rtopipe_create_tee(list);
    EXPECT_EQ(rtowritestr(tee, "ok") * 10 + rtoflush(tee), 11);
    EXPECT_EQ(drain(a), "ok");
    rtodestroy(tee);
    rtodestroy(c);
}

TEST(Devices, FixedLengthTextsReferencesAndHosts) {
    HistoryCapture his;
    char name[128];
    std::memset(name, ' ', sizeof name);
    std::memcpy(name, "REACTOR.FEED.TEMP", 17);
    char with_nul[16] = "abc  ";  // NUL inside the field: the text as it stands
    std::memset(with_nul + 6, 'Z', 9);
    const char absent[8] = {0, 0, 0, 0, 'x', 'y', 'z', 'w'};
    RTOHIS_WRITELN(name, sizeof name);
    RTOHIS_WRITE(with_nul, sizeof with_nul);
    RTOHIS_WRITELN(absent, sizeof absent);
    RTOHIS_WRITE("   ", 3);
    RTOHIS_WRITE("tail", 4);
    EXPECT_EQ(his.text(), "REACTOR.FEED.TEMP\nabc  \ntail");

    rtopipe *q = create_queue_rtopipe();
    rtorep_set_repDev(q);
    rtorep_set_repDev(q);  // already the device: no second reference
    EXPECT_EQ(q->refcount, 2);
    RTOREP_WRITELN("line    ", 8);
    RTOREP_WRITE("more", 4);
    RTOREP_WRITESTR("  kept  ");
    RTOREP_FLUSH();
    EXPECT_EQ(drain(q), "line\nmore  kept  ");
    rtorep_set_repDev(nullptr);
    EXPECT_EQ(q->refcount, 1);

    static const char *desc;
    q->describe = [](rtopipe *) { return desc; };
    const std::pair<const char *, int> hosts[] = {
        {"WEXSimulationMsgs", 11}, {"host terminal output pipe", 11}, {"host terminal output pipe ", 0}, {"TERMINAL", 0}};
    for (const auto &[d, want] : hosts) {
        desc = d;
        rtohis_set_hisDev(q);
        EXPECT_EQ(rtohis_inq_host(q) * 10 + RTOHIS_INQ_HOST_F(), want) << d;
        rtohis_set_hisDev(his.pipe());
    }
    rtodestroy(q);
}

TEST(PipeIO, QueuesWhenNotInteractiveAndPrompt) {
    EXPECT_STREQ(rtodesc(stdoutPipe), "TERMINAL");
    EXPECT_EQ(rtoPipeIOInitialize(0), 1);
    EXPECT_STREQ(rtodesc(stdinPipe), "*queue pipe*");
    EXPECT_NE(stdinPipe, stdoutPipe);
    EXPECT_EQ(rtHisDev, stdoutPipe);
    EXPECT_EQ(stdoutPipe->refcount, 2);  // output and history
    rtoprintf(rtHisDev, "message %d\n", 1);
    EXPECT_EQ(drain(stdoutPipe), "message 1\n");
    rtoPipeIOTerminate();
    EXPECT_STREQ(rtoprompt(), "ZARN>");
    rto_set_prompt(pattern(300).c_str());
    EXPECT_EQ(std::string(rtoprompt()), pattern(255));
    rto_set_prompt("ZARN>");
}

// Every text, with what triggers it and where it must appear.
TEST(PipeMessages, EveryTextOnItsDevice) {
    HistoryCapture his;
    const std::string longName = "/nowhere/" + std::string(3000, 'n') + ".txt";
    const std::string big(25000, 'q'), exact(20480, 'e');
    auto dead_copy = [](rtopipe *hist) {
        rtopipe dead = *nowherePipe;
        dead.refcount = 0;
        rtopipe *saved = rtHisDev;
        if (hist != nullptr) rtHisDev = hist == nowherePipe ? &dead : hist;
        EXPECT_EQ(copyPipe(&dead), nullptr);
        rtHisDev = saved;
    };
    auto failed_push = [&](const char *name, bool as_history) {
        rtopipe *p = create_ascii_stream_rtopipe(std::fopen("/dev/null", "r"), name, 1);
        if (as_history) rtohis_set_hisDev(p);
        EXPECT_EQ(rtowritestr(p, "lost\n"), -1);
        if (as_history) rtohis_set_hisDev(his.pipe());
        rtodestroy(p);
    };
    const std::string assertion = "Assertion 'rtoprintf: ";
    const struct {
        const char *what;
        std::function<void()> run;
        std::string his, err;  // err: exact, or a prefix when it ends in ':'
    } rows[] = {
        {"write to a read-only pipe", [] { rtowritestr(stdinPipe, "x"); }, "", "!!!rtowrite: Pipe does not support writing!\n"},
        {"read from a write-only pipe", [] { char b[4]; rtoread(stdoutPipe, b, 4); }, "", "!!!rtoread: Pipe does not support reading!\n"},
        {"copy of a dead pipe", [&] { dead_copy(nullptr); }, "Request to copy NULL or deallocated pipe\n", ""},
        {"... when it is the history pipe", [&] { dead_copy(nowherePipe); }, "", "Request to copy NULL or deallocated pipe\n"},
        {"failed file write", [&] { failed_push("/dev/null", false); }, "genericFileStreamPush: Bad file descriptor on file /dev/null\n", ""},
        {"... of a long name", [&] { failed_push(longName.c_str(), false); }, "genericFileStreamPush: Bad file descriptor on file " + longName + "\n", ""},
        {"... of the history pipe", [&] { failed_push("/dev/null", true); }, "", "genericFileStreamPush: Bad file descriptor on file /dev/null\n"},
        {"without a history device",
         [] { rtopipe *saved = copyPipe(rtHisDev); rtohis_set_hisDev(nullptr); RTOHIS_WRITELN("x", 1); RTOHIS_WRITE("x", 1); RTOHIS_FLUSH();
              EXPECT_EQ(RTOHIS_INQ_HOST_F(), 0); rtohis_set_hisDev(saved); rtodestroy(saved); },
         "", "!!rtohis__writeln: NULL history device\n!!rtohis__write: NULL history device\n"},
        {"overrun", [&] { rtoprintf(rtHisDev, "%s", big.c_str()); }, big.substr(0, 20479), assertion + "Overran it's buffer' failed in source/rtopipe/rtoprintf:"},
        {"exactly the buffer", [&] { rtoprintf(rtHisDev, "%s", exact.c_str()); }, exact.substr(0, 20479), assertion + "Overran it's buffer' failed in source/rtopipe/rtoprintf:"},
        {"NUL in the text", [] { rtoprintf(rtHisDev, "a%cb", 0); }, "a", assertion + "count != strlen' failed in source/rtopipe/rtoprintf:"},
        {"format error", [] { std::setlocale(LC_ALL, "C"); rtoprintf(rtHisDev, "%ls", L"\xe9"); }, "", assertion + "vsprintf returned negative' failed in source/rtopipe/rtoprintf:"},
    };
    for (const auto &row : rows) {
        StderrCapture err;
        row.run();
        EXPECT_EQ(his.text(), row.his) << row.what;
        const std::string e = err.text();
        if (row.err.back() == ':')
            EXPECT_EQ(e.substr(0, row.err.size()) + e.back(), row.err + '\n') << row.what << ": " << e;
        else
            EXPECT_EQ(e, row.err) << row.what;
    }
}

TEST(FilePipe, PersistentReadErrorsGiveUpAfterEighty) {
    HistoryCapture his;
    rtopipe *p = create_ascii_stream_rtopipe(std::fopen("/tmp", "r"), "/tmp", 1);  // every read fails
    char buf[16];
    EXPECT_EQ(rtoread(p, buf, sizeof buf) * 10 + rtostatus(p), 1);
    std::string expect;
    for (int i = 0; i < 80; ++i) expect += "genericFileStreamPull: Is a directory on file /tmp\n";
    EXPECT_EQ(his.text(), expect + "80 consecutive read errors!  Giving up!\n");
    rtodestroy(p);
}

}  // namespace
