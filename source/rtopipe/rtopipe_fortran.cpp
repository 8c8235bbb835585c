// The upper-case Fortran twins of the rtopipe entry points: each dereferences its
// arguments, converts text fields and calls the C function.
#include <cstdio>
#include <cstring>
#include <string_view>
#include "platform/fargs.h"
#include "platform/ftext.h"
#include "rtopipe/rtopipe_internal.h"
#include "rtopipe/rtopipe_messages.h"

namespace {

namespace msg = zarn::rtopipe::msg;

// Writes a fixed-length text, and a newline when asked, to a device; without
// a device the given complaint goes to standard error.
void device_write(rtopipe *dev, const char *text, size_t length, bool newline, const char *complaint) {
    if (dev == nullptr) {
        std::fputs(complaint, stderr);
        std::fflush(stderr);
        return;
    }
    std::string_view v = zarn::ftext_view(text, length);
    if (!v.empty()) rtowrite(dev, v.data(), v.size());
    if (newline) rtowrite(dev, "\n", 1);
}

}  // namespace

ZARN_FORTRAN(void, INIT_PIPE_4HOST_F, init_pipe_4host_f_, (const int64_t *flag)) {
    zarn::rtopipe::initialize_once(zarn::fortran::narrow(flag));
}

ZARN_FORTRAN(void, RTOHIS_WRITELN, rtohis_writeln_, (const char *text, size_t length)) {
    device_write(rtHisDev, text, length, true, msg::kNoHisWriteln);
}

ZARN_FORTRAN(void, RTOHIS_WRITE, rtohis_write_, (const char *text, size_t length)) {
    device_write(rtHisDev, text, length, false, msg::kNoHisWrite);
}

ZARN_FORTRAN(void, RTOHIS_FLUSH, rtohis_flush_, (void)) { rtoflush(rtHisDev); }

ZARN_FORTRAN(int64_t, RTOHIS_INQ_HOST_F, rtohis_inq_host_f_, (void)) { return rtohis_inq_host(rtHisDev); }

ZARN_FORTRAN(void, RTOREP_WRITELN, rtorep_writeln_, (const char *text, size_t length)) {
    device_write(rtRepDev, text, length, true, msg::kNoRepWriteln);
}

ZARN_FORTRAN(void, RTOREP_WRITE, rtorep_write_, (const char *text, size_t length)) {
    device_write(rtRepDev, text, length, false, msg::kNoRepWrite);
}

ZARN_FORTRAN(void, RTOREP_FLUSH, rtorep_flush_, (void)) { rtoflush(rtRepDev); }

ZARN_FORTRAN(void, RTOREP_WRITESTR, rtorep_writestr_, (const char *text)) {
    if (rtRepDev == nullptr) {
        std::fputs(msg::kNoRepWritestr, stderr);
        std::fflush(stderr);
        return;
    }
    rtowritestr(rtRepDev, text);
}
