// The one path by which modules print their messages on the history device.
// Each module keeps its texts in one table (<module>_messages.h) and prints
// them through here, so that every text a module can print is in one place.
#ifndef ZARN_RTOPIPE_REPORT_H
#define ZARN_RTOPIPE_REPORT_H

#include <cstdarg>

#include "zarnutils/rtopipe.h"

namespace zarn::rtopipe {

// Prints a message on the history device: the text is printed as given, its
// "!!" prefix and line end included, since documented texts differ in both.
void report(const char *format, ...) __attribute__((format(printf, 1, 2)));

// rtoprintf with a va_list: formats into one buffer and writes it to p
// (standard error when p is null).
int vprint(::rtopipe *p, const char *format, va_list ap) __attribute__((format(printf, 2, 0)));

}  // namespace zarn::rtopipe

#endif
