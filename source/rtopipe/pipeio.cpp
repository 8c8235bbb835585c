// Process-wide pipes, the prompt, and the history and report devices.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string_view>

#include "rtopipe/rtopipe_internal.h"
#include "rtopipe/rtopipe_messages.h"

namespace {

int g_init_count = 0;
char g_prompt[256] = "ZARN>";

// Replaces a device pointer with a new reference of pipe, dropping the old one.
void set_device(rtopipe *&device, rtopipe *pipe) {
    if (device == pipe) return;
    rtopipe *fresh = pipe ? copyPipe(pipe) : nullptr;
    if (pipe != nullptr && fresh == nullptr) return;  // a dead pipe: keep the old device
    rtopipe *old = device;
    device = fresh;
    if (old != nullptr) rtodestroy(old);
}

}  // namespace

extern "C" {

ZARN_API rtopipe *stdinPipe = zarn::rtopipe::static_stdin();
ZARN_API rtopipe *stdoutPipe = zarn::rtopipe::static_stdout();
ZARN_API rtopipe *rtHisDev = zarn::rtopipe::static_stdout();
ZARN_API rtopipe *rtRepDev = nullptr;

int rtoPipeIOInitialize(int interactive) {
    if (g_init_count++ > 0) return 1;
    rtopipe *in = zarn::rtopipe::static_stdin();
    rtopipe *out = zarn::rtopipe::static_stdout();
    in->flags = (in->flags & ~RTOPIPE_INTERACTIVE) | (isatty(STDIN_FILENO) ? RTOPIPE_INTERACTIVE : 0u);
    if (interactive != 0) {
        rtopipe *reader = nullptr;
        if (isatty(STDIN_FILENO) && isatty(STDOUT_FILENO))
            reader = zarn::rtopipe::create_console_reader(stdin, stdout);
        stdinPipe = reader != nullptr ? reader : in;
        out->refcount = 2;
        stdoutPipe = out;
        rtHisDev = out;
    } else {
        rtopipe *qin = create_queue_rtopipe();
        rtopipe *qout = create_queue_rtopipe();
        if (qin == nullptr || qout == nullptr) {  // keep the standard pipes rather than none
            if (qin) rtodestroy(qin);
            if (qout) rtodestroy(qout);
            return 1;
        }
        stdinPipe = qin;
        stdoutPipe = qout;
        rtHisDev = copyPipe(qout);
    }
    return 1;
}

void rtoPipeIOTerminate(void) {
    rtodestroy(stdinPipe);
    rtodestroy(stdoutPipe);
    rtodestroy(rtHisDev);
    // Back to the standard streams, so that later messages are still seen.
    stdinPipe = zarn::rtopipe::static_stdin();
    stdoutPipe = zarn::rtopipe::static_stdout();
    rtHisDev = zarn::rtopipe::static_stdout();
    zarn::rtopipe::static_stdout()->refcount = 2;
    g_init_count = 0;
}

const char *rtoprompt(void) { return g_prompt; }

void rto_set_prompt(const char *text) {
    if (text == nullptr) text = "";
    size_t n = std::strlen(text);
    if (n > sizeof g_prompt - 1) n = sizeof g_prompt - 1;
    std::memmove(g_prompt, text, n);
    g_prompt[n] = '\0';
}

void rtohis_set_hisDev(rtopipe *pipe) { set_device(rtHisDev, pipe); }

void rtorep_set_repDev(rtopipe *pipe) { set_device(rtRepDev, pipe); }

int rtohis_inq_host(rtopipe *pipe) {
    const char *d = rtodesc(pipe);
    if (d == nullptr) return 0;
    return (std::strcmp(d, "host terminal output pipe") == 0 || std::strcmp(d, "WEXSimulationMsgs") == 0) ? 1
                                                                                                          : 0;
}

}  // extern "C"

namespace zarn::rtopipe {
// The Fortran set-up: initialises unless that has been done already.
void initialize_once(int interactive) {
    if (g_init_count == 0) rtoPipeIOInitialize(interactive);
}
}  // namespace zarn::rtopipe
