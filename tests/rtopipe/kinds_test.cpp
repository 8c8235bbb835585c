// Asynchronous keyboard through a pseudo-terminal, host streams, Fortran units,
// the console reader, standard input; every allocation of every kind failing once.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "capture.h"
#include "failsweep.h"
#include "platform/funit.h"
#include "rtopipe/rtopipe_internal.h"
#include "zarnutils/host.hpp"

using zarn::test::drain;
using zarn::test::HistoryCapture;

namespace {

// What the terminal shows, without the carriage returns the line discipline adds.
std::string screen_until(int master, const std::string &want, int timeout_ms = 3000) {
    std::string seen;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (seen.find(want) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd pfd{master, POLLIN, 0};
        if (poll(&pfd, 1, 50) <= 0) continue;
        char buf[256];
        ssize_t n = read(master, buf, sizeof buf);
        for (ssize_t i = 0; i < n; ++i)
            if (buf[i] != '\r') seen += buf[i];
    }
    return seen;
}

// Polls the never-waiting read until a line arrives.
int64_t read_line(rtopipe *p, char *buf, size_t size) {
    for (int i = 0; i < 300; ++i) {
        int64_t n = rtoread(p, buf, size);
        if (n > 0) return n;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
}

TEST(AsyncKeyboard, EditsEchoesAndEndsLongLines) {
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    rtopipe *p = zarn::rtopipe::create_async_fd("P> ", slave, slave);
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(rtodesc(p), "*standard input*");
    EXPECT_EQ(rtointeractive(p), 1);
    EXPECT_EQ(screen_until(master, "P> "), "P> ");
    char buf[128];
    EXPECT_EQ(rtoread(p, buf, sizeof buf), 0);  // nothing typed: no wait, no line

    ASSERT_EQ(write(master, "ab c\x7f" "d\r", 7), 7);
    EXPECT_EQ(screen_until(master, "\n"), "ab c\b \bd\n");
    int64_t n = read_line(p, buf, sizeof buf);
    EXPECT_EQ(std::string(buf, static_cast<size_t>(n)), "ab d");
    EXPECT_EQ(screen_until(master, "P> "), "P> ");  // prompted again after the read

    // Backspace on an empty line does nothing; the 65th key ends the line unkept.
    std::string keys = "\x7f" + std::string(64, 'k') + "Zq";
    ASSERT_EQ(write(master, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    std::string shown = screen_until(master, "Zq");
    EXPECT_EQ(shown, std::string(64, 'k') + "Z\nq");
    n = read_line(p, buf, sizeof buf);
    EXPECT_EQ(n, 64);
    EXPECT_EQ(std::string(buf, 64), std::string(64, 'k'));
    screen_until(master, "P> ");
    // "q" arrived while a line was waiting: echoed but not kept.
    ASSERT_EQ(write(master, "r\n", 2), 2);
    screen_until(master, "\n");
    char small[3];
    n = read_line(p, small, sizeof small);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(std::string(small, 1), "r");

    EXPECT_EQ(rtodestroy(p), 0);  // stops and joins the reader thread
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
        if (fail) return E_FAIL;
        size_t n = std::min<size_t>(size, data.size() - pos);
        std::memcpy(buffer, data.data() + pos, n);
        pos += n;
        *got = static_cast<ULONG>(n);
        return n < size ? S_FALSE : S_OK;
    }
    HRESULT Write(const void *, ULONG, ULONG *) override { return E_FAIL; }
};

TEST(HostStream, ReadsStreamAndReleasesOnDestroy) {
    HistoryCapture his;
    FakeStream s;
    s.data = "LINE ONE\nLINE TWO\n";
    auto *owner = new rtopipestream(&s);
    EXPECT_EQ(s.refs * 10 + (owner->Getrtopipe() == nullptr), 21);
    EXPECT_EQ(owner->ConnectPipe(), 1);
    rtopipe *p = owner->Getrtopipe();
    EXPECT_EQ(owner->ConnectPipe(), 1);
    EXPECT_EQ(owner->Getrtopipe(), p);  // made once
    EXPECT_STREQ(rtodesc(p), "streamrtopipe");
    char buf[10];
    EXPECT_EQ(rtoread(p, buf, sizeof buf), 10);
    EXPECT_EQ(std::string(buf, 10), "LINE ONE\nL");
    EXPECT_EQ(rtoread(p, buf, sizeof buf), 8);
    s.fail = true;
    EXPECT_EQ(rtoread(p, buf, sizeof buf) * 10 + rtostatus(p), 1);
    EXPECT_EQ(his.text(), "StreamRTOPipePull reported an error while trying to read the IStream.\n");
    EXPECT_EQ(rtodestroy(p), 0);
    EXPECT_EQ(s.refs * 10 + (owner->Getrtopipe() == nullptr), 11);  // the stream was given back
    EXPECT_EQ(owner->RTOPipePull(buf, sizeof buf), -1);
    delete owner;
    EXPECT_EQ(s.refs, 1);
}

// A made pipe is destroyed at once: the sweep counts only its creation.
bool made(rtopipe *p) { return p != nullptr && rtodestroy(p) == 0; }

TEST(PipeAllocation, EveryFailureLeavesNoPipeAndSaysWhy) {
    HistoryCapture his;
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
        {"create_binary_stream_rtopipe", [] { return made(create_binary_stream_rtopipe(stdin, "in", 0)); }, 3},
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
        // A write needing three new chunks: the queue keeps what it had.
        {"rtowrite", [&] { return rtowrite(q, big.data(), big.size()) == 1; }, 5},
    };
    for (const auto &row : rows) {
        const std::string text = std::string("!!") + row.fn + ": Unable to allocate memory for the pipe\n";
        long seen = zarn::test::fail_each_allocation(row.op, [&](long n, bool ok) {
            EXPECT_FALSE(ok) << row.fn << " allocation " << n;
            EXPECT_EQ(his.text(), text) << row.fn << " allocation " << n;
            EXPECT_EQ(drain(q), "kept");
            rtowritestr(q, "kept");
        });
        EXPECT_EQ(seen, row.allocations) << row.fn;
    }
    EXPECT_EQ(drain(q), "kept" + big);
    rtodestroy(q);
}

TEST(FortranUnitPipe, OneRecordPerWriteWithNulBlanked) {
    char path[] = "/tmp/zarn-unit-XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    int32_t unit = zarn_funit_free_unit(70);
    ASSERT_GT(unit, 0);
    ASSERT_EQ(zarn_funit_open_seq(unit, path, std::strlen(path), 1), 0);
    rtopipe *p = rtoPipe_fortran_output(unit);
    EXPECT_EQ(rtowrite(p, "abc\0xyz", 7), 1);
    EXPECT_EQ(rtoprintf(p, "n=%d", 5), 1);
    EXPECT_EQ(rtowrite(p, "", 0), 1);
    EXPECT_EQ(rtoflush(p), 1);
    rtodestroy(p);
    EXPECT_EQ(zarn_funit_is_open(unit), 1);  // the unit belongs to whoever opened it
    ASSERT_EQ(zarn_funit_close(unit), 0);
    EXPECT_EQ(zarn_funit_is_open(unit), 0);
    FILE *f = std::fopen(path, "rb");
    char buf[64] = {0};
    size_t n = std::fread(buf, 1, sizeof buf, f);
    std::fclose(f);
    EXPECT_EQ(std::string(buf, n), "abc    \nn=5\n\n");
    unlink(path);
}

TEST(ConsoleReader, PromptsReadsOneLineAndEndsAtEof) {
    char input[] = "first line\nabcdefghij\nend";
    FILE *in = fmemopen(input, std::strlen(input), "r");
    char *shown = nullptr;
    size_t shownLen = 0;
    FILE *out = open_memstream(&shown, &shownLen);
    rto_set_prompt("P>");
    rtopipe *p = zarn::rtopipe::create_console_reader(in, out);
    EXPECT_EQ(rtointeractive(p), 1);
    EXPECT_STREQ(rtodesc(p), "*standard input*");
    char buf[64];
    // A whole line with its newline; at most size - 1 characters; a size beyond
    // what one call takes still reads the line; the last line; then the end.
    const struct {
        size_t size;
        int64_t n;
        const char *text;
    } reads[] = {{sizeof buf, 11, "first line\n"}, {5, 4, "abcd"}, {size_t{0x80000000u}, 7, "efghij\n"}, {sizeof buf, 3, "end"}, {sizeof buf, 0, ""}};
    for (const auto &r : reads) {
        buf[0] = '\0';
        EXPECT_EQ(p->read(p, buf, r.size), r.n) << r.text;
        EXPECT_STREQ(buf, r.text);
        EXPECT_EQ(rtostatus(p), r.n == 0);
    }
    rtodestroy(p);
    std::fclose(in);
    std::fclose(out);
    EXPECT_EQ(std::string(shown, shownLen), "P>P>P>P>P>");
    std::free(shown);
    rto_set_prompt("ZARN>");
}

}  // namespace

namespace {

TEST(StandardInput, ReturnsWhatHasArrivedWithoutWaitingForAFullBuffer) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    int saved = dup(STDIN_FILENO);
    dup2(fds[0], STDIN_FILENO);
    rtopipe *in = zarn::rtopipe::static_stdin();
    EXPECT_STREQ(rtodesc(in), "KEYBOARD");
    ASSERT_EQ(write(fds[1], "SOLVE\n", 6), 6);  // the writer stays open: a full-buffer read would hang
    char buf[256];
    EXPECT_EQ(rtoread(in, buf, sizeof buf), 6);
    EXPECT_EQ(std::string(buf, 6), "SOLVE\n");
    EXPECT_EQ(rtostatus(in), 0);
    close(fds[1]);
    EXPECT_EQ(rtoread(in, buf, sizeof buf), 0);
    EXPECT_EQ(rtostatus(in), 1);
    dup2(saved, STDIN_FILENO);
    close(saved);
    close(fds[0]);
    in->flags &= ~RTOPIPE_STATUS;
}

}  // namespace
