// Asynchronous keyboard through a pseudo-terminal, host streams, Fortran units, the console reader,
// standard input; every allocation of every kind failing once.
#include <gtest/gtest.h>
#include <poll.h>
#include <pthread.h>
#include <pty.h>
#include <unistd.h>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include "capture.h"
#include "failsweep.h"
#include "hostile.h"
#include "platform/funit.h"
#include "rtopipe/rtopipe_internal.h"
#include "zarnutils/host.hpp"
using zarn::test::seq;
static std::string n(int64_t v) { return std::to_string(v) + " "; }
// What the terminal shows until `want`, without the carriage returns the line discipline adds.
static std::string screen_until(int master, const std::string &want) {
    std::string seen;
    for (auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
         seen.find(want) == std::string::npos && std::chrono::steady_clock::now() < end;) {
        pollfd pfd{master, POLLIN, 0};
        char buf[256];
        const ssize_t got = poll(&pfd, 1, 50) > 0 ? read(master, buf, sizeof buf) : 0;
        for (ssize_t i = 0; i < got; ++i) seen += buf[i] == '\r' ? "" : std::string(1, buf[i]);
    }
    return seen;
}
// Types keys, then polls the never-waiting read until a line arrives: what it shows, then the line.
static std::string type_line(int master, rtopipe *p, const std::string &keys, const std::string &until,
                             size_t size = 128) {
    std::string buf(size, '\0');
    write(master, keys.data(), keys.size());
    const std::string shown = screen_until(master, until);
    int64_t got = 0;
    for (int i = 0; i < 300 && got <= 0; ++i) {
        got = rtoread(p, buf.data(), size);
        std::this_thread::sleep_for(std::chrono::milliseconds(got > 0 ? 0 : 10));
    }
    return shown + "|" + buf.substr(0, size_t(got > 0 ? got : 0)) + "|";
}
TEST(AsyncKeyboard, EditsEchoesAndEndsLongLines) {
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    rtopipe *p = zarn::rtopipe::create_async_fd("P> ", slave, slave);
    ASSERT_NE(p, nullptr);
    char buf[128];
    EXPECT_EQ(seq({rtodesc(p), " ", n(rtointeractive(p)), screen_until(master, "P> "),
                   n(rtoread(p, buf, sizeof buf))}),
              "*standard input* 1 P> 0 ");  // nothing typed: no wait
    EXPECT_EQ(type_line(master, p,
                        "ab c\x7f"
                        "d\r",
                        "\n"),
              "ab c\b \bd\n|ab d|");
    EXPECT_EQ(screen_until(master, "P> "), "P> ");  // prompted again after the read
    // Backspace on an empty line does nothing; the 65th key ends the line unkept; "q" then comes while a line
    // waits.
    EXPECT_EQ(type_line(master, p, "\x7f" + std::string(64, 'k') + "Zq", "Zq"),
              std::string(64, 'k') + "Z\nq|" + std::string(64, 'k') + "|");
    screen_until(master, "P> ");
    EXPECT_EQ(type_line(master, p, "r\n", "\n", 3), "r\n|r|");  // echoed but not kept
    EXPECT_EQ(rtodestroy(p), 0);                                // stops and joins the reader thread
    close(master);
    close(slave);
}
// The reader thread's wait is interrupted by a signal (only that thread takes it); the keyboard stays
// read, a line typed after the signal still arrives.
static std::atomic<bool> g_signal_taken{false};
static void take_signal(int) { g_signal_taken = true; }
TEST(AsyncKeyboard, ASignalDuringTheWaitDoesNotEndTheReader) {
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    struct sigaction action = {}, before = {};
    action.sa_handler = take_signal;
    sigemptyset(&action.sa_mask);
    ASSERT_EQ(sigaction(SIGUSR1, &action, &before), 0);
    rtopipe *p = zarn::rtopipe::create_async_fd("P> ", slave, slave);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(screen_until(master, "P> "), "P> ");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the reader is waiting in poll
    sigset_t usr1, old_mask;
    sigemptyset(&usr1);
    sigaddset(&usr1, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &usr1, &old_mask);  // the process's signal goes to the reader thread
    kill(getpid(), SIGUSR1);
    for (int i = 0; i < 300 && !g_signal_taken; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(g_signal_taken) << "the reader thread took the signal";
    EXPECT_EQ(type_line(master, p, "go\r", "\n"), "go\n|go|") << "read after the signal";
    EXPECT_EQ(rtodestroy(p), 0);
    pthread_sigmask(SIG_SETMASK, &old_mask, nullptr);
    sigaction(SIGUSR1, &before, nullptr);
    close(master);
    close(slave);
}
struct FakeStream final : IStream {
    int refs = 1;
    std::string data;
    size_t pos = 0;
    bool fail = false;
    HRESULT QueryInterface(const void *, void **) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return static_cast<ULONG>(++refs); }
    ULONG Release() override { return static_cast<ULONG>(--refs); }
    HRESULT Read(void *buffer, ULONG size, ULONG *got) override {
        const size_t k = fail ? 0 : std::min<size_t>(size, data.size() - pos);
        std::memcpy(buffer, data.data() + pos, k);
        pos += k;
        *got = static_cast<ULONG>(k);
        return fail ? E_FAIL : k < size ? S_FALSE : S_OK;
    }
    HRESULT Write(const void *, ULONG, ULONG *) override { return E_FAIL; }
};
TEST(HostStream, ReadsTheStreamAndReleasesItOnDestroy) {
    zarn::test::HistoryCapture his;
    FakeStream s;
    s.data = "LINE ONE\nLINE TWO\n";
    auto *owner = new rtopipestream(&s);
    EXPECT_EQ(
        seq({n(s.refs), n(owner->Getrtopipe() == nullptr), n(owner->ConnectPipe()), n(owner->ConnectPipe())}),
        "2 1 1 1 ");
    rtopipe *p = owner->Getrtopipe();  // made once
    char buf[10];
    const std::string reads_before_failure = seq({rtodesc(p), " ", n(rtoread(p, buf, sizeof buf)),
                                                  std::string(buf, 10), n(rtoread(p, buf, sizeof buf))});
    s.fail = true;
    EXPECT_EQ(seq({reads_before_failure, n(rtoread(p, buf, sizeof buf)), n(rtostatus(p)), his.text(),
                   n(rtodestroy(p)), n(s.refs), n(owner->Getrtopipe() == nullptr),
                   n(owner->RTOPipePull(buf, sizeof buf))}),
              "streamrtopipe 10 LINE ONE\nL8 0 1 StreamRTOPipePull reported an error while trying to read "
              "the IStream.\n0 1 1 -1 ");  // the stream given back
    delete owner;
    EXPECT_EQ(s.refs, 1);
}
// The host object may go before its pipe: the pipe's reads then fail cleanly, and it is destroyed alone.
TEST(HostStream, APipeOutlivingItsOwnerReadsNothing) {
    FakeStream s;
    s.data = "LINE\n";
    auto *owner = new rtopipestream(&s);
    owner->ConnectPipe();
    rtopipe *p = owner->Getrtopipe();
    delete owner;
    EXPECT_EQ(s.refs, 1) << "the stream given back";
    char buf[8];
    EXPECT_EQ(rtoread(p, buf, sizeof buf), -1) << "a read after the owner is gone";
    EXPECT_EQ(rtodestroy(p), 0);
}
static bool made(rtopipe *p) {
    return p != nullptr && rtodestroy(p) == 0;
}  // the sweep counts only the creation
TEST(PipeAllocation, EveryFailureLeavesNoPipeAndSaysWhy) {
    zarn::test::HistoryCapture his;
    rtopipe *q = create_queue_rtopipe();
    rtowritestr(q, "kept");
    const std::string big(1500, 'b');
    gl_list_t *members = gl_create();  // the tee takes it over once made
    const struct {
        const char *fn;
        std::function<bool()> op;
        long allocations;
    } rows[] = {
        {"create_queue_rtopipe", [] { return made(create_queue_rtopipe()); }, 2},
        {"create_ascii_stream_rtopipe", [] { return made(create_ascii_stream_rtopipe(stdin, "in", 0)); }, 3},
        {"create_binary_stream_rtopipe", [] { return made(create_binary_stream_rtopipe(stdin, "in", 0)); },
         3},
        {"rtoPipe_fortran_output", [] { return made(rtoPipe_fortran_output(9)); }, 2},
        {"rtopipe_create_tee", [&] { return made(rtopipe_create_tee(members)); }, 1},
        {"rtopipestream::ConnectPipe",
         [] {
             FakeStream s;
             rtopipestream owner(&s);
             owner.ConnectPipe();
             return made(owner.Getrtopipe());
         },
         1},
        {"rtowrite", [&] { return rtowrite(q, big.data(), big.size()) == 1; },
         5}};  // three new chunks: the queue keeps what it had
    for (const auto &row : rows) {
        const std::string text = std::string("!!") + row.fn + ": Unable to allocate memory for the pipe\n";
        EXPECT_EQ(zarn::test::fail_each_allocation(
                      row.op,
                      [&](long k, bool ok) {
                          EXPECT_EQ(seq({n(ok), his.text(), zarn::test::drain(q)}), "0 " + text + "kept")
                              << row.fn << " allocation " << k;
                          rtowritestr(q, "kept");
                      }),
                  row.allocations)
            << row.fn;
    }
    EXPECT_EQ(zarn::test::drain(q), "kept" + big);
    rtodestroy(q);
}
static std::string file_text(const char *path) {
    char buf[64];
    FILE *f = std::fopen(path, "rb");
    const size_t got = std::fread(buf, 1, sizeof buf, f);
    std::fclose(f);
    return std::string(buf, got);
}
TEST(FortranUnitPipe, OneRecordPerWriteWithNulBlanked) {
    char path[] = "/tmp/zarn-unit-XXXXXX";
    close(mkstemp(path));
    const int32_t unit = zarn_funit_free_unit(70);
    ASSERT_EQ(zarn_funit_open_seq(unit, path, std::strlen(path), 1), 0);
    rtopipe *p = rtoPipe_fortran_output(unit);
    EXPECT_EQ(
        seq({n(rtowrite(p, "abc\0xyz", 7)), n(rtoprintf(p, "n=%d", 5)), n(rtowrite(p, "", 0)), n(rtoflush(p)),
             n(rtodestroy(p)), n(zarn_funit_is_open(unit)),  // the unit stays its opener's
             n(zarn_funit_close(unit)), n(zarn_funit_is_open(unit)), file_text(path)}),
        "1 1 1 1 0 1 0 0 abc    \nn=5\n\n");
    unlink(path);
}
TEST(ConsoleReader, PromptsReadsOneLineAndEndsAtEof) {
    char input[] = "first line\nabcdefghij\nend", *shown = nullptr;
    size_t shownLen = 0;
    FILE *in = fmemopen(input, std::strlen(input), "r"), *out = open_memstream(&shown, &shownLen);
    rto_set_prompt("P>");
    rtopipe *p = zarn::rtopipe::create_console_reader(in, out);
    EXPECT_EQ(n(rtointeractive(p)) + rtodesc(p), "1 *standard input*");
    char buf[64];
    // A whole line with its newline; at most size - 1 characters; a size beyond what one call takes; the last
    // line; the end.
    for (auto [size, text] : {std::pair<size_t, std::string>{sizeof buf, "11 first line\n|0 "},
                              {5, "4 abcd|0 "},
                              {0x80000000u, "7 efghij\n|0 "},
                              {sizeof buf, "3 end|0 "},
                              {sizeof buf, "0 |1 "}}) {
        buf[0] = '\0';
        const int64_t got = p->read(p, buf, size);
        EXPECT_EQ(seq({n(got), buf, "|", n(rtostatus(p))}), text) << text;
    }
    rtodestroy(p);
    std::fclose(in);
    std::fclose(out);
    EXPECT_EQ(std::string(shown, shownLen), "P>P>P>P>P>");
    std::free(shown);
    // Input that fails: each failure is reported, the reader gives up after 80.
    zarn::test::HistoryCapture his;
    in = std::fopen("/tmp", "r");
    out = std::fopen("/dev/null", "w");
    p = zarn::rtopipe::create_console_reader(in, out);
    std::string failures;
    for (int i = 0; i < 80; ++i) failures += "interactivePull: Is a directory\n";
    EXPECT_EQ(seq({n(p->read(p, buf, sizeof buf)), his.text()}),
              "0 " + failures + "80 consecutive read errors!  Giving up!\n");
    rtodestroy(p);
    std::fclose(in);
    std::fclose(out);
    rto_set_prompt("ZARN>");
}
TEST(StandardInput, ReturnsWhatHasArrivedWithoutWaitingForAFullBuffer) {
    int fds[2], saved = dup(STDIN_FILENO);
    ASSERT_EQ(pipe(fds), 0);
    dup2(fds[0], STDIN_FILENO);
    rtopipe *in = zarn::rtopipe::static_stdin();
    ASSERT_EQ(write(fds[1], "SOLVE\n", 6), 6);  // the writer stays open: a full-buffer read would hang
    char buf[256];
    EXPECT_EQ(seq({rtodesc(in), " ", n(rtoread(in, buf, sizeof buf)), std::string(buf, 6), n(rtostatus(in)),
                   (close(fds[1]), n(rtoread(in, buf, sizeof buf))), n(rtostatus(in))}),
              "KEYBOARD 6 SOLVE\n0 0 1 ");
    dup2(saved, STDIN_FILENO);
    close(saved);
    close(fds[0]);
    in->flags &= ~RTOPIPE_STATUS;
}
