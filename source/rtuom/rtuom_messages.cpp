// The module's two report forms and its assertion line.
#include "rtuom/rtuom_messages.h"

#include <cstdarg>
#include <cstdio>

#include "platform/zassert.h"
#include "rtopipe/report.h"

namespace zarn::rtuom {
namespace {

// A message cut to the buffer (a very long unit name) still ends its line.
void format(char (&text)[2048], const char *fmt, va_list ap) {
    if (std::vsnprintf(text, sizeof text, fmt, ap) >= static_cast<int>(sizeof text))
        text[sizeof text - 2] = '\n';
}

}  // namespace

void report(const char *fn, const char *fmt, ...) {
    char text[2048];
    va_list ap;
    va_start(ap, fmt);
    format(text, fmt, ap);
    va_end(ap);
    zarn::rtopipe::report("!! %s: ", fn);
    zarn::rtopipe::report("%s", text);
}

void report_joined(const char *fn, const char *fmt, ...) {
    char text[2048];
    va_list ap;
    va_start(ap, fmt);
    format(text, fmt, ap);
    va_end(ap);
    zarn::rtopipe::report("!! %s: %s", fn, text);
}

void assertion(const char *text, int line) { zarn::assert_report(text, kSource, line); }

}  // namespace zarn::rtuom
