// History-device reports for every module.
#include "rtopipe/report.h"

#include <cstdarg>

#include "zarnutils/rtopipe.h"

namespace zarn::rtopipe {

void report(const char *format, ...) {
    va_list ap;
    va_start(ap, format);
    (void)vprint(rtHisDev, format, ap);
    va_end(ap);
}

}  // namespace zarn::rtopipe
