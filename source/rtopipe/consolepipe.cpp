// Console line reader: prompts on the output stream and reads one line.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "rtopipe/pipe_internal.h"

namespace {

constexpr int kMaxReadErrors = 80;

struct ConsoleData {
    FILE *in;
    FILE *out;
};

int64_t console_read(rtopipe *p, char *buffer, size_t size) {
    auto *d = static_cast<ConsoleData *>(p->data);
    if (size < 2) return 0;
    std::fputs(rtoprompt(), d->out);
    std::fflush(d->out);
    int errors = 0;
    // fgets takes an int count; larger buffers read at most that many bytes per call.
    const int limit = size > static_cast<size_t>(0x7fffffff) ? 0x7fffffff : static_cast<int>(size);
    for (;;) {
        errno = 0;
        if (std::fgets(buffer, limit, d->in) != nullptr) return static_cast<int64_t>(std::strlen(buffer));
        if (std::feof(d->in) || !std::ferror(d->in)) {
            std::clearerr(d->in);
            zarn::pipe::set_status(p);
            return 0;
        }
        int err = errno;
        std::clearerr(d->in);
        if (err != EINTR) {
            zarn::pipe::report(p, "%s: %s\n", "interactivePull", std::strerror(err));
            if (++errors >= kMaxReadErrors) {
                rtopipe *target = zarn::pipe::report_target(p);
                if (target != nullptr) {
                    rtoprintf(target, "%d consecutive read errors!  Giving up!\n", errors);
                } else {
                    std::fprintf(stderr, "%d consecutive read error!  Giving up!\n", errors);
                    std::fflush(stderr);
                }
                zarn::pipe::set_status(p);
                return 0;
            }
        }
        std::fprintf(d->out, "\n%s", rtoprompt());
        std::fflush(d->out);
    }
}

const char *console_describe(rtopipe *) { return "*standard input*"; }

void console_destroy(rtopipe *p) {
    std::free(p->data);
    std::free(p);
}

}  // namespace

namespace zarn::pipe {

rtopipe *create_console_reader(FILE *in, FILE *out) {
    auto *d = static_cast<ConsoleData *>(std::malloc(sizeof(ConsoleData)));
    if (d == nullptr) return nullptr;
    d->in = in;
    d->out = out;
    rtopipe *p = make(nullptr, console_read, console_destroy, nullptr, console_describe, d, RTOPIPE_FLUSH_NEVER);
    if (p == nullptr) {
        std::free(d);
        return nullptr;
    }
    p->flags |= RTOPIPE_INTERACTIVE;
    return p;
}

}  // namespace zarn::pipe
