// Asynchronous keyboard: a reader thread edits one line at a time; the pipe's
// read hands over a finished line without ever waiting for one.
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>

#include "rtopipe/rtopipe_internal.h"

namespace {

constexpr int kLineMax = 64;

struct AsyncData {
    char prompt[256];
    char line[kLineMax + 1];
    int cursor = 0;          // characters typed into the current line
    int length = 0;          // length of the finished line
    bool ready = false;      // a finished line waits to be read
    bool stop = false;       // asks the thread to end
    std::mutex lock;         // guards line, cursor, length, ready
    int wake[2] = {-1, -1};  // the signalling object: a byte on wake[1] ends the wait
    int in_fd = -1;
    int out_fd = -1;
    bool raw = false;  // terminal settings were changed and must be restored
    termios saved{};
    std::thread reader;
};

void put(int fd, const char *text, size_t n) {
    while (n > 0) {
        ssize_t w = ::write(fd, text, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return;
        }
        text += w;
        n -= static_cast<size_t>(w);
    }
}

void put(int fd, const char *text) { put(fd, text, std::strlen(text)); }

// Printable keys: digits, letters, punctuation and the blank.
bool echoes(unsigned char c) { return (c >= 33 && c <= 126) || c == ' '; }

void key(AsyncData *d, unsigned char c) {
    if (echoes(c)) put(d->out_fd, reinterpret_cast<const char *>(&c), 1);
    std::lock_guard<std::mutex> guard(d->lock);
    if (d->ready) return;
    if (c == '\r' || c == '\n') {
        d->length = d->cursor;
        d->ready = true;
        d->cursor = 0;
        put(d->out_fd, "\n");
    } else if (c == '\b' || c == 0x7f) {
        if (d->cursor > 0) {
            --d->cursor;
            put(d->out_fd, "\b \b");
        }
    } else if (c != 0) {
        if (d->cursor >= kLineMax) {
            put(d->out_fd, "\n");
            d->length = d->cursor;
            d->ready = true;
            d->cursor = 0;
        } else {
            d->line[d->cursor++] = static_cast<char>(c);
        }
    }
}

void reader_main(AsyncData *d) {
    put(d->out_fd, d->prompt);
    bool input_open = true;
    for (;;) {
        pollfd fds[2] = {{d->wake[0], POLLIN, 0}, {d->in_fd, POLLIN, 0}};
        int r = ::poll(fds, input_open ? 2 : 1, -1);
        if (r < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[0].revents != 0) return;
        if (!input_open || fds[1].revents == 0) continue;
        unsigned char buf[64];
        ssize_t n = ::read(d->in_fd, buf, sizeof buf);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) {  // end of input: keep waiting only for the stop signal
            input_open = false;
            continue;
        }
        for (ssize_t i = 0; i < n; ++i) key(d, buf[i]);
    }
}

int64_t async_read(rtopipe *p, char *buffer, size_t size) {
    auto *d = static_cast<AsyncData *>(p->data);
    size_t n;
    {
        std::lock_guard<std::mutex> guard(d->lock);
        if (!d->ready) return 0;
        n = static_cast<size_t>(d->length) < size ? static_cast<size_t>(d->length) : size;
        std::memcpy(buffer, d->line, n);
        if (n < size) buffer[n] = '\0';
        d->ready = false;
    }
    put(d->out_fd, d->prompt);
    return static_cast<int64_t>(n);
}

int async_flush(rtopipe *) { return 1; }
const char *async_describe(rtopipe *) { return "*standard input*"; }

void async_destroy(rtopipe *p) {
    auto *d = static_cast<AsyncData *>(p->data);
    {
        std::lock_guard<std::mutex> guard(d->lock);
        d->stop = true;
    }
    char byte = 1;
    put(d->wake[1], &byte, 1);
    if (d->reader.joinable()) d->reader.join();
    if (d->raw) tcsetattr(d->in_fd, TCSANOW, &d->saved);
    ::close(d->wake[0]);
    ::close(d->wake[1]);
    delete d;
    std::free(p);
}

}  // namespace

namespace zarn::rtopipe {

::rtopipe *create_async_fd(const char *prompt, int in_fd, int out_fd) {
    // A C++ object (lock, thread); no raise of the library can unwind through here.
    auto *d = new (std::nothrow) AsyncData;
    if (d == nullptr) return no_memory("create_async_pipe");
    std::snprintf(d->prompt, sizeof d->prompt, "%s", prompt ? prompt : "");
    d->in_fd = in_fd;
    d->out_fd = out_fd;
    if (::pipe(d->wake) != 0) {
        delete d;
        return nullptr;
    }
    // Keys arrive one at a time, unechoed; Ctrl-C still raises its signal.
    if (isatty(in_fd) && tcgetattr(in_fd, &d->saved) == 0) {
        termios t = d->saved;
        t.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
        t.c_iflag &= ~static_cast<tcflag_t>(ICRNL);
        t.c_cc[VMIN] = 1;
        t.c_cc[VTIME] = 0;
        d->raw = tcsetattr(in_fd, TCSANOW, &t) == 0;
    }
    ::rtopipe *p =
        make(nullptr, async_read, async_destroy, async_flush, async_describe, d, RTOPIPE_FLUSH_NEVER);
    if (p == nullptr) {
        if (d->raw) tcsetattr(in_fd, TCSANOW, &d->saved);
        ::close(d->wake[0]);
        ::close(d->wake[1]);
        delete d;
        return no_memory("create_async_pipe");
    }
    p->flags |= RTOPIPE_INTERACTIVE;
    try {
        d->reader = std::thread(reader_main, d);
    } catch (...) {
        async_destroy(p);
        return nullptr;
    }
    return p;
}

}  // namespace zarn::rtopipe

extern "C" rtopipe *create_async_pipe(const char *prompt) {
    return zarn::rtopipe::create_async_fd(prompt, STDIN_FILENO, STDOUT_FILENO);
}
