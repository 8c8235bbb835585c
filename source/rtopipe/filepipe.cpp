// File stream pipes, and the static standard input and output pipes.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/xalloc.h"
#include "rtopipe/rtopipe_internal.h"
#include "rtopipe/rtopipe_messages.h"

namespace {

namespace rp = zarn::rtopipe;
namespace msg = rp::msg;

struct FileData {
    FILE *file;  // NULL for the static pipes until bound: then stdin/stdout
    char *name;
    int owns;
    bool closed;            // its stream was closed under it by close_file_streams
    FileData *prev, *next;  // every live stream pipe, for close_file_streams
};

FileData *g_streams = nullptr;

void enlist(FileData *d) {
    d->next = g_streams;
    if (g_streams != nullptr) g_streams->prev = d;
    g_streams = d;
}

void delist(FileData *d) {
    if (d->prev != nullptr)
        d->prev->next = d->next;
    else if (g_streams == d)
        g_streams = d->next;
    if (d->next != nullptr) d->next->prev = d->prev;
    d->prev = d->next = nullptr;
}

FILE *stream_of(const rtopipe *p, FILE *fallback) {
    auto *d = static_cast<FileData *>(p->data);
    return (d != nullptr && d->file != nullptr) ? d->file : fallback;
}

const char *name_of(const rtopipe *p) {
    auto *d = static_cast<FileData *>(p->data);
    return (d != nullptr && d->name != nullptr) ? d->name : "";
}

int64_t pull(rtopipe *p, FILE *f, char *buffer, size_t size) {
    if (size == 0) return 0;
    int errors = 0;
    for (;;) {
        errno = 0;
        size_t n = std::fread(buffer, 1, size, f);
        if (n > 0) {
            if (std::ferror(f)) std::clearerr(f);  // bytes arrived before the error
            return static_cast<int64_t>(n);
        }
        if (std::feof(f) || !std::ferror(f)) {
            rp::set_status(p);
            return 0;
        }
        int err = errno;
        std::clearerr(f);
        if (err == EINTR) continue;
        rp::report_about(p, msg::kFileFailure, msg::kPull, std::strerror(err), name_of(p));
        if (rp::give_up_reading(p, &errors)) return 0;
    }
}

int file_flush_stream(rtopipe *p, FILE *f) {
    if (std::fflush(f) == 0) return 1;
    int err = errno;
    if (rp::report_target(p) != nullptr) {
        rp::report_about(p, msg::kFileFailure, msg::kFlush, std::strerror(err), name_of(p));
    } else {
        errno = err;
        std::perror(msg::kFlush);
    }
    return 0;
}

int push(rtopipe *p, FILE *f, const char *bytes, size_t length) {
    if (length == 0) return 1;
    if (std::fwrite(bytes, 1, length, f) != length) {
        int err = errno;
        std::clearerr(f);
        rp::report_about(p, msg::kFileFailure, msg::kPush, std::strerror(err), name_of(p));
        return -1;
    }
    int lvl = rp::level(p);
    if (lvl == RTOPIPE_FLUSH_ALWAYS ||
        (lvl == RTOPIPE_FLUSH_NEWLINE && std::memchr(bytes, '\n', length) != nullptr))
        file_flush_stream(p, f);
    return 1;
}

bool is_closed(const rtopipe *p) {
    auto *d = static_cast<FileData *>(p->data);
    return d != nullptr && d->closed;
}

// A pipe whose stream was closed under it reads as at its end and refuses writes.
int64_t file_read(rtopipe *p, char *buffer, size_t size) {
    if (is_closed(p)) {
        rp::set_status(p);
        return 0;
    }
    return pull(p, stream_of(p, stdin), buffer, size);
}

int file_write(rtopipe *p, const char *bytes, size_t length) {
    if (is_closed(p)) return -1;
    return push(p, stream_of(p, stdout), bytes, length);
}

int file_flush(rtopipe *p) { return is_closed(p) ? 0 : file_flush_stream(p, stream_of(p, stdout)); }

const char *file_describe(rtopipe *p) { return name_of(p); }

void file_destroy(rtopipe *p) {
    auto *d = static_cast<FileData *>(p->data);
    if (d != nullptr) {
        delist(d);
        if (d->owns && !d->closed && d->file != nullptr && std::fclose(d->file) != 0)
            rp::report_about(p, msg::kFileFailure, msg::kClose, std::strerror(errno), name_of(p));
        std::free(d->name);
        std::free(d);
    }
    std::free(p);
}

rtopipe *create_stream(const char *fn, FILE *file, const char *name, int owns, int level) {
    if (file == nullptr) return nullptr;
    auto *d = static_cast<FileData *>(zarn::xcalloc(1, sizeof(FileData)));
    char *copy = zarn::xstrdup(name ? name : "");
    rtopipe *p = d && copy
                     ? rp::make(file_write, file_read, file_destroy, file_flush, file_describe, d, level)
                     : nullptr;
    if (p == nullptr) {
        std::free(copy);
        std::free(d);
        return rp::no_memory(fn);
    }
    d->file = file;
    d->owns = owns;
    d->name = copy;
    enlist(d);
    return p;
}

// The static pipes live for the process; destroy only gives back the count.
void static_destroy(rtopipe *p) { p->refcount = 1; }
const char *keyboard_describe(rtopipe *) { return "KEYBOARD"; }
const char *terminal_describe(rtopipe *) { return "TERMINAL"; }
// Standard input is read from its descriptor: a read returns what has arrived
// instead of waiting for a full buffer, so a host feeding commands through a
// pipe one at a time is answered at once.
int64_t stdin_read(rtopipe *p, char *buffer, size_t size) {
    if (size == 0) return 0;
    int errors = 0;
    for (;;) {
        ssize_t n = ::read(STDIN_FILENO, buffer, size);
        if (n > 0) return static_cast<int64_t>(n);
        if (n == 0) {
            rp::set_status(p);
            return 0;
        }
        int err = errno;
        if (err == EINTR) continue;
        rp::report_about(p, msg::kFileFailure, msg::kPull, std::strerror(err), name_of(p));
        if (rp::give_up_reading(p, &errors)) return 0;
    }
}
int stdout_write(rtopipe *p, const char *bytes, size_t length) { return push(p, stdout, bytes, length); }
int stdout_flush(rtopipe *p) { return file_flush_stream(p, stdout); }

FileData g_stdin_data{nullptr, const_cast<char *>("KEYBOARD"), 0, false, nullptr, nullptr};
FileData g_stdout_data{nullptr, const_cast<char *>("TERMINAL"), 0, false, nullptr, nullptr};

rtopipe g_stdin_pipe{nullptr, stdin_read, static_destroy, nullptr, keyboard_describe, &g_stdin_data, 1, 0};
rtopipe g_stdout_pipe{stdout_write,
                      nullptr,
                      static_destroy,
                      stdout_flush,
                      terminal_describe,
                      &g_stdout_data,
                      2,
                      RTOPIPE_FLUSH_NEWLINE << RTOPIPE_FLUSH_SHIFT};

}  // namespace

namespace zarn::rtopipe {
::rtopipe *static_stdin() { return &g_stdin_pipe; }
::rtopipe *static_stdout() { return &g_stdout_pipe; }

int close_file_streams() {
    int closed = 0;
    for (FileData *d = g_streams; d != nullptr; d = d->next) {
        if (d->closed || d->file == nullptr || d->file == stdin || d->file == stdout || d->file == stderr)
            continue;
        (void)std::fclose(d->file);
        d->closed = true;
        ++closed;
    }
    return closed;
}
}  // namespace zarn::rtopipe

extern "C" {

ZARN_API int rtopipe_ascii_flush_level = 1;

rtopipe *create_ascii_stream_rtopipe(FILE *file, const char *name, int owns) {
    return create_stream("create_ascii_stream_rtopipe", file, name, owns, rtopipe_ascii_flush_level);
}

rtopipe *create_binary_stream_rtopipe(FILE *file, const char *name, int owns) {
    return create_stream("create_binary_stream_rtopipe", file, name, owns, RTOPIPE_FLUSH_NEVER);
}

}  // extern "C"
