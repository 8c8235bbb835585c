// The pipe record, reference counting, and the basic operations.
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/xalloc.h"
#include "rtopipe/report.h"
#include "rtopipe/rtopipe_internal.h"
#include "rtopipe/rtopipe_messages.h"

namespace zarn::rtopipe {

namespace {
constexpr int kMaxReadErrors = 80;

void to_stderr(const char *text) {
    std::fputs(text, stderr);
    std::fflush(stderr);
}
}  // namespace

::rtopipe *make(rtopipe_write_fn w, rtopipe_read_fn r, rtopipe_destroy_fn d, rtopipe_flush_fn f,
                rtopipe_describe_fn desc, void *data, int flush_level) {
    auto *p = static_cast<::rtopipe *>(xcalloc(1, sizeof(::rtopipe)));
    if (p == nullptr) return nullptr;
    p->write = w;
    p->read = r;
    p->destroy = d;
    p->flush = f;
    p->describe = desc;
    p->data = data;
    p->refcount = 1;
    p->flags = (static_cast<uint32_t>(flush_level) << RTOPIPE_FLUSH_SHIFT) & RTOPIPE_FLUSH_MASK;
    return p;
}

::rtopipe *report_target(const ::rtopipe *p) {
    if (rtHisDev == nullptr || rtHisDev == p || rtHisDev->write == nullptr) return nullptr;
    return rtHisDev;
}

void report_about(const ::rtopipe *p, const char *format, ...) {
    // File names can be long: a message that does not fit the stack buffer is
    // formatted again into one of its own size, so no line loses its end.
    char local[1024];
    char *buf = local;
    va_list ap;
    va_start(ap, format);
    int n = std::vsnprintf(local, sizeof local, format, ap);
    va_end(ap);
    if (n < 0) return;
    if (static_cast<size_t>(n) >= sizeof local) {
        char *big = static_cast<char *>(xmalloc(static_cast<size_t>(n) + 1));
        if (big != nullptr) {
            va_start(ap, format);
            std::vsnprintf(big, static_cast<size_t>(n) + 1, format, ap);
            va_end(ap);
            buf = big;
        }
    }
    ::rtopipe *target = report_target(p);
    if (target != nullptr)
        rtowritestr(target, buf);
    else
        to_stderr(buf);
    if (buf != local) std::free(buf);
}

::rtopipe *no_memory(const char *fn) {
    report(msg::kNoMemory, fn);
    return nullptr;
}

// Calls op on p holding a reference of its own, so that a pipe whose
// operation runs caller code (a caller's pipe kind, a tee over one) is not
// destroyed under the call; a pipe already being destroyed is called as it is.
// The reference is given back also when the operation throws.
template <class Op>
auto holding(::rtopipe *p, Op op) {
    struct Hold {
        ::rtopipe *pipe;
        ~Hold() {
            if (pipe != nullptr) rtodestroy(pipe);
        }
    } hold{p->refcount > 0 && p->refcount < INT32_MAX ? p : nullptr};
    if (hold.pipe != nullptr) ++p->refcount;
    return op();
}

bool give_up_reading(::rtopipe *p, int *errors) {
    if (++*errors < kMaxReadErrors) return false;
    if (::rtopipe *target = report_target(p)) {
        rtoprintf(target, msg::kGiveUp, *errors);
    } else {
        std::fprintf(stderr, msg::kGiveUpStderr, *errors);
        std::fflush(stderr);
    }
    set_status(p);
    return true;
}

}  // namespace zarn::rtopipe

namespace msg = zarn::rtopipe::msg;

extern "C" {

int rtowrite(rtopipe *p, const char *bytes, size_t length) {
    if (p == nullptr || p->write == nullptr) {
        std::fputs(msg::kNoWrite, stderr);
        return -1;
    }
    if (bytes == nullptr && length > 0) {
        std::fputs(msg::kNullWriteBuffer, stderr);
        return -1;
    }
    return zarn::rtopipe::holding(p, [&] { return p->write(p, bytes, length); });
}

int rtowritestr(rtopipe *p, const char *text) { return rtowrite(p, text, text ? std::strlen(text) : 0); }

int64_t rtoread(rtopipe *p, char *buffer, size_t size) {
    if (p == nullptr || p->read == nullptr) {
        std::fputs(msg::kNoRead, stderr);
        return 0;
    }
    if (buffer == nullptr && size > 0) {
        std::fputs(msg::kNullReadBuffer, stderr);
        return -1;
    }
    return zarn::rtopipe::holding(p, [&] { return p->read(p, buffer, size); });
}

int64_t rtoread_trim(rtopipe *p, char *buffer, size_t size) {
    int64_t n = rtoread(p, buffer, size);
    if (n <= 0) {
        if (size > 0 && buffer != nullptr) buffer[0] = '\0';
        return n < 0 ? n : 0;
    }
    while (n > 0 && (buffer[n - 1] == ' ' || buffer[n - 1] == '\n')) --n;
    if (static_cast<size_t>(n) < size) buffer[n] = '\0';
    return n;
}

int rtoflush(rtopipe *p) {
    if (p == nullptr || p->flush == nullptr) return 0;
    return zarn::rtopipe::holding(p, [&] { return p->flush(p); });
}

int rtodestroy(rtopipe *p) {
    if (p == nullptr || p->destroy == nullptr) return -1;
    if (--p->refcount > 0) return 1;
    p->destroy(p);
    return 0;
}

rtopipe *copyPipe(rtopipe *p) {
    if (p == nullptr || p->refcount <= 0) {
        if (rtHisDev != nullptr && rtHisDev != p && rtHisDev->refcount > 0 && rtHisDev->write != nullptr) {
            rtowritestr(rtHisDev, msg::kCopyDead);
        } else {
            std::fputs(msg::kCopyDead, stderr);
            std::fflush(stderr);
        }
        return nullptr;
    }
    ++p->refcount;
    return p;
}

void collapseJustPipe(rtopipe *p) { std::free(p); }

int rtointeractive(const rtopipe *p) { return p ? static_cast<int>(p->flags & RTOPIPE_INTERACTIVE) : 0; }

int rtostatus(const rtopipe *p) { return p ? ((p->flags & RTOPIPE_STATUS) ? 1 : 0) : 1; }

int rtoflushlevel(const rtopipe *p) { return p ? zarn::rtopipe::level(p) : 0; }

int rtosetflushlevel(rtopipe *p, int lvl) {
    if (p == nullptr) return 0;
    int old = zarn::rtopipe::level(p);
    p->flags = (p->flags & ~RTOPIPE_FLUSH_MASK) |
               ((static_cast<uint32_t>(lvl) << RTOPIPE_FLUSH_SHIFT) & RTOPIPE_FLUSH_MASK);
    return old;
}

const char *rtodesc(rtopipe *p) {
    if (p == nullptr || p->describe == nullptr) return nullptr;
    return p->describe(p);
}

}  // extern "C"
