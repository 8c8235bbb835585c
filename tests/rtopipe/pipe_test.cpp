// Queue, null, file and tee pipes, reference counts, the history and report devices, set-up, and one
// table of every text the pipes print.
#include <gtest/gtest.h>
#include <unistd.h>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include "capture.h"
#include "hostile.h"
#include "zarnutils/rtopipe.h"
using zarn::test::drain;
using zarn::test::seq;
static std::string n(int64_t v) { return std::to_string(v) + " "; }
static std::string pattern(size_t count) {
    std::string s;
    while (s.size() < count) s += static_cast<char>('a' + s.size() % 26);
    return s;
}
static std::string read_some(rtopipe *p,
                             size_t size) {  // the count, the bytes, the buffer's last byte, the status
    std::string buf(size, '#');
    const int64_t got = rtoread(p, buf.data(), size);
    return n(got) + buf.substr(0, got > 0 ? size_t(got) : 0) + buf.back() + "|" + n(rtostatus(p));
}
TEST(QueuePipe, ChunksReadsTrimAndFlushLevel) {
    rtopipe *q = create_queue_rtopipe();
    const std::string data = pattern(1000);
    EXPECT_EQ(rtowrite(q, data.data(), data.size()), 1);
    EXPECT_EQ(seq({read_some(q, 600), read_some(q, 600), read_some(q, 600), n(rtowritestr(q, "z")),
                   n(rtostatus(q)), read_some(q, 1)}),  // a NUL ends each buffer
              seq({"599 ", data.substr(0, 599), std::string(1, '\0'), "|0 401 ", data.substr(599),
                   std::string(1, '\0'), "|0 0 #|1 1 0 0 ", std::string(1, '\0'), "|0 "}));
    std::string expect = "z", got;  // pieces of 7 to 9 bytes cross the 512-byte chunks, with reads between
    for (int i = 0; i < 300; ++i) {
        const std::string piece = pattern(7 + i % 3).substr(i % 3);
        rtowritestr(q, piece.c_str());
        expect += piece;
        if (i % 97 == 96) got += read_some(q, 100);
    }
    got += drain(q);
    EXPECT_EQ(got.substr(0, 5) + got.substr(got.size() - 5), "99 za" + expect.substr(expect.size() - 5));
    EXPECT_EQ(got.size(), expect.size() + 3 * (3 + 2 + 2));
    EXPECT_EQ(gl_length(static_cast<gl_list_t *>(q->data)), 0u);  // emptied chunks are freed
    char buf[32];
    rtowritestr(q, "value 3  \n\n");
    EXPECT_EQ(n(rtoread_trim(q, buf, sizeof buf)) + buf, "7 value 3");
    char full[6] = "#####";  // bytes that fill the buffer leave no room for a NUL: none is written
    char bytes[] = "abcdef";
    FILE *six = fmemopen(bytes, 6, "r");
    rtopipe *binary = create_binary_stream_rtopipe(six, "six", 0);
    EXPECT_EQ(n(rtoread_trim(binary, full, 4)) + full, "4 abcd#");
    rtodestroy(binary);
    std::fclose(six);
    EXPECT_EQ(seq({n(rtosetflushlevel(q, 2)), n(rtoflushlevel(q)), n(rtosetflushlevel(q, 7)),
                   n(rtoflushlevel(q)), n(q->flags & ~RTOPIPE_FLUSH_MASK)}),
              "0 2 2 3 0 ");
    EXPECT_EQ(seq({n(copyPipe(q) == q), n(rtodestroy(q)), n(q->refcount), n(rtodestroy(q))}), "1 1 1 0 ");
    EXPECT_EQ(
        seq({rtodesc(nowherePipe), " ", read_some(nowherePipe, 8), n(rtowritestr(nowherePipe, "gone")),
             n(rtostatus(nowherePipe)), n(copyPipe(nowherePipe) == nowherePipe), n(rtodestroy(nowherePipe)),
             n(rtodestroy(nowherePipe)), n(nowherePipe->refcount), n(rtoflush(nowherePipe))}),
        "NOWHERE 0 #|1 1 0 1 1 0 1 1 ");  // never freed
}
static std::string file_bytes(const char *path) {
    std::string out;
    FILE *f = std::fopen(path, "rb");
    for (int c; (c = std::fgetc(f)) != EOF;) out += static_cast<char>(c);
    std::fclose(f);
    return out;
}
TEST(FilePipe, FlushLevelsOwnershipReadBackAndReadErrors) {
    char path[] = "/tmp/zarn-fpipe-XXXXXX";
    close(mkstemp(path));
    rtopipe *p = create_ascii_stream_rtopipe(std::fopen(path, "wb"), path, 1);
    EXPECT_EQ(n(rtoflushlevel(p)) + rtodesc(p), "1 " + std::string(path));
    const struct {
        int level;
        const char *text, *file;
    } steps[] = {{1, "no newline", ""},
                 {1, " then one\n", "no newline then one\n"},
                 {0, "held\n", "no newline then one\n"},
                 {2, "x", "no newline then one\nheld\nx"},
                 {2, "", "no newline then one\nheld\nx"}};  // what the file holds after each write
    for (const auto &s : steps) {
        rtosetflushlevel(p, s.level);
        EXPECT_EQ(seq({n(rtowritestr(p, s.text)), file_bytes(path)}), "1 " + std::string(s.file)) << s.text;
    }
    EXPECT_EQ(rtodestroy(p), 0);  // owns the stream: closes it
    FILE *f = std::fopen(path, "rb");
    rtopipe_ascii_flush_level = 2;
    rtopipe *a = create_ascii_stream_rtopipe(f, path, 0), *b = create_binary_stream_rtopipe(f, "bin", 0);
    rtopipe_ascii_flush_level = 1;
    char buf[128];
    EXPECT_EQ(seq({n(rtoflushlevel(a)), n(rtoflushlevel(b)), n(rtoread(b, buf, sizeof buf)), read_some(a, 8),
                   n(rtodestroy(a)), n(rtodestroy(b)), n(std::fclose(f))}),
              "2 0 26 0 #|1 0 0 0 ");
    unlink(path);
    zarn::test::HistoryCapture his;
    p = create_ascii_stream_rtopipe(std::fopen("/tmp", "r"), "/tmp", 1);  // every read fails
    std::string expect;
    for (int i = 0; i < 80; ++i) expect += "genericFileStreamPull: Is a directory on file /tmp\n";
    EXPECT_EQ(seq({read_some(p, 16), his.text()}),
              "0 #|1 " + expect + "80 consecutive read errors!  Giving up!\n");
    rtodestroy(p);
}
TEST(TeePipe, FansOutAndReportsAnyFailureThenSetUpQueuesWhenNotInteractive) {
    static int bad_writes = 0;
    rtopipe *a = create_queue_rtopipe(), *bad = create_queue_rtopipe(), *c = create_queue_rtopipe();
    bad->write = [](rtopipe *, const char *, size_t) {
        ++bad_writes;
        return -1;
    };
    bad->flush = [](rtopipe *) { return 0; };
    gl_list_t *list = gl_create();
    gl_addtoend(list, copyPipe(a));
    gl_addtoend(list, bad);
    gl_addtoend(list, copyPipe(c));
    rtopipe *tee = rtopipe_create_tee(list);
    EXPECT_EQ(seq({rtodesc(tee), " ", n(rtowritestr(tee, "both")), drain(a), drain(c), n(bad_writes),
                   n(rtoflush(tee)), n(rtodestroy(tee)), n(a->refcount), n(c->refcount)}),
              "<tee pipe> -1 bothboth1 0 0 1 1 ");  // one member failed, every member written; references
                                                    // given back
    gl_addtoend(list = gl_create(), a);
    tee = rtopipe_create_tee(list);
    EXPECT_EQ(seq({n(rtowritestr(tee, "ok")), n(rtoflush(tee)), drain(a)}), "1 1 ok");
    rtodestroy(tee);
    rtodestroy(c);
    // A static pipe is never freed: its destroy puts its count back to 1.
    EXPECT_EQ(seq({rtodesc(stdinPipe), " ", n(rtodestroy(stdinPipe)), n(stdinPipe->refcount)}),
              "KEYBOARD 0 1 ");
    EXPECT_EQ(seq({rtodesc(stdoutPipe), " ", n(rtoPipeIOInitialize(0)), rtodesc(stdinPipe), " ",
                   n(stdinPipe != stdoutPipe), n(rtHisDev == stdoutPipe), n(stdoutPipe->refcount),
                   (rtoprintf(rtHisDev, "message %d\n", 1), drain(stdoutPipe))}),
              "TERMINAL 1 *queue pipe* 1 1 2 message 1\n");  // output and history
    rtoPipeIOTerminate();
    EXPECT_STREQ(rtoprompt(), "ZARN>");
    rto_set_prompt(pattern(300).c_str());
    EXPECT_EQ(std::string(rtoprompt()), pattern(255));
    rto_set_prompt("ZARN>");
}
TEST(Devices, FixedLengthTextsReferencesAndHosts) {
    zarn::test::HistoryCapture his;
    char name[128], with_nul[16] = "abc  ";  // NUL inside the field: the text as it stands
    std::memset(name, ' ', sizeof name);
    std::memcpy(name, "REACTOR.FEED.TEMP", 17);
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
    rtorep_set_repDev(nullptr);
    EXPECT_EQ(drain(q) + n(q->refcount), "line\nmore  kept  1 ");
    static const char *desc;
    q->describe = [](rtopipe *) { return desc; };
    for (auto [d, want] : {std::pair{"WEXSimulationMsgs", "1 1 "},
                           {"host terminal output pipe", "1 1 "},
                           {"host terminal output pipe ", "0 0 "},
                           {"TERMINAL", "0 0 "}}) {
        desc = d;
        rtohis_set_hisDev(q);
        EXPECT_EQ(n(rtohis_inq_host(q)) + n(RTOHIS_INQ_HOST_F()), want) << d;
        rtohis_set_hisDev(his.pipe());
    }
    rtodestroy(q);
}
TEST(PipeMessages, EveryTextOnItsDevice) {
    const std::string longName = "/nowhere/" + std::string(3000, 'n') + ".txt", big(25000, 'q'),
                      exact(20480, 'e');
    auto dead_copy =
        [](rtopipe *hist) {  // hist: the history device meanwhile (nowherePipe: the dead pipe itself)
            rtopipe dead = *nowherePipe, *saved = rtHisDev;
            dead.refcount = 0;
            if (hist != nullptr) rtHisDev = hist == nowherePipe ? &dead : hist;
            EXPECT_EQ(copyPipe(&dead), nullptr);
            rtHisDev = saved;
        };
    auto failed_push = [&](const char *name, bool as_history) {
        rtopipe *p = create_ascii_stream_rtopipe(std::fopen("/dev/null", "r"), name, 1);
        rtopipe *saved = rtHisDev;
        if (as_history) rtohis_set_hisDev(p);
        EXPECT_EQ(rtowritestr(p, "lost\n"), -1);
        rtohis_set_hisDev(saved);
        rtodestroy(p);
    };
    const std::string push = "genericFileStreamPush: Bad file descriptor on file ",
                      overran = "A(rtoprintf: Overran it's buffer)";
    const struct {
        const char *what;
        std::function<void()> run;
        std::string his, err;
    } rows[] = {
        {"write to a read-only pipe", [] { rtowritestr(stdinPipe, "x"); }, "",
         "!!!rtowrite: Pipe does not support writing!\n"},
        {"read from a write-only pipe",
         [] {
             char b[4];
             rtoread(stdoutPipe, b, 4);
         },
         "", "!!!rtoread: Pipe does not support reading!\n"},
        {"copy of a dead pipe", [&] { dead_copy(nullptr); }, "Request to copy NULL or deallocated pipe\n",
         ""},
        {"... when it is the history pipe", [&] { dead_copy(nowherePipe); }, "",
         "Request to copy NULL or deallocated pipe\n"},
        {"failed file write", [&] { failed_push("/dev/null", false); }, push + "/dev/null\n", ""},
        {"... of a long name", [&] { failed_push(longName.c_str(), false); }, push + longName + "\n", ""},
        {"... of the history pipe", [&] { failed_push("/dev/null", true); }, "", push + "/dev/null\n"},
        {"without a history device",
         [] {
             rtopipe *saved = copyPipe(rtHisDev);
             rtohis_set_hisDev(nullptr);
             RTOHIS_WRITELN("x", 1);
             RTOHIS_WRITE("x", 1);
             RTOHIS_FLUSH();
             EXPECT_EQ(RTOHIS_INQ_HOST_F(), 0);
             rtohis_set_hisDev(saved);
             rtodestroy(saved);
         },
         "", "!!rtohis__writeln: NULL history device\n!!rtohis__write: NULL history device\n"},
        {"overrun", [&] { rtoprintf(rtHisDev, "%s", big.c_str()); }, big.substr(0, 20479), overran},
        {"exactly the buffer", [&] { rtoprintf(rtHisDev, "%s", exact.c_str()); }, exact.substr(0, 20479),
         overran},
        {"NUL in the text", [] { rtoprintf(rtHisDev, "a%cb", 0); }, "a", "A(rtoprintf: count != strlen)"},
        {"format error",
         [] {
             std::setlocale(LC_ALL, "C");
             rtoprintf(rtHisDev, "%ls", L"\xe9");
         },
         "", "A(rtoprintf: vsprintf returned negative)"}};
    std::vector<zarn::test::HostileRow> table;
    for (const auto &row : rows)
        table.push_back({row.what,
                         [&row] {
                             row.run();
                             return std::string();
                         },
                         "|" + row.his + "|" + row.err});
    zarn::test::run_hostile(table);
}
