// Console line reader: prompts on the output stream and reads one line.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/xalloc.h"
#include "rtopipe/rtopipe_internal.h"
#include "rtopipe/rtopipe_messages.h"

namespace {

namespace rp = zarn::rtopipe;
namespace msg = zarn::rtopipe::msg;

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
            rp::set_status(p);
            return 0;
        }
        int err = errno;
        std::clearerr(d->in);
        if (err != EINTR) {
            rp::report_about(p, msg::kConsoleFailure, msg::kConsolePull, std::strerror(err));
            if (rp::give_up_reading(p, &errors)) return 0;
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

namespace zarn::rtopipe {

::rtopipe *create_console_reader(FILE *in, FILE *out) {
    auto *d = static_cast<ConsoleData *>(xmalloc(sizeof(ConsoleData)));
    ::rtopipe *p =
        d ? make(nullptr, console_read, console_destroy, nullptr, console_describe, d, RTOPIPE_FLUSH_NEVER)
          : nullptr;
    if (p == nullptr) {
        std::free(d);
        return no_memory("rtoPipeIOInitialize");
    }
    d->in = in;
    d->out = out;
    p->flags |= RTOPIPE_INTERACTIVE;
    return p;
}

}  // namespace zarn::rtopipe
