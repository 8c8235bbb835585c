// Formatted output to a pipe.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/zassert.h"
#include "rtopipe/report.h"
#include "rtopipe/rtopipe_messages.h"
#include "zarnutils/rtopipe.h"

namespace {
constexpr int kPrintfBuffer = 20480;
}  // namespace

namespace zarn::rtopipe {

// rtoprintf's body, shared with the history-device report helper.
int vprint(::rtopipe *p, const char *format, va_list ap) {
    if (format == nullptr) {
        std::fputs(msg::kNullFormat, stderr);
        return -1;
    }
    char buf[kPrintfBuffer];
    int count = std::vsnprintf(buf, sizeof buf, format, ap);
    if (count < 0) {
        zarn::assert_report(msg::kPrintfNegative, msg::kPrintfSource, __LINE__);
        buf[0] = '\0';
    } else if (count >= kPrintfBuffer) {
        zarn::assert_report(msg::kPrintfOverrun, msg::kPrintfSource, __LINE__);
    } else if (static_cast<size_t>(count) != std::strlen(buf)) {
        zarn::assert_report(msg::kPrintfCount, msg::kPrintfSource, __LINE__);
    }
    size_t len = std::strlen(buf);
    if (p == nullptr) {  // no device: keep the text visible rather than lose it
        std::fwrite(buf, 1, len, stderr);
        return -1;
    }
    return rtowrite(p, buf, len);
}

}  // namespace zarn::rtopipe

extern "C" int rtoprintf(rtopipe *p, const char *format, ...) {
    va_list ap;
    va_start(ap, format);
    int n = zarn::rtopipe::vprint(p, format, ap);
    va_end(ap);
    return n;
}
