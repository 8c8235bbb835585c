// Run-time context: events, Ctrl-C, modes, problem identifier, versions.
#include <csignal>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/checked.h"
#include "platform/fargs.h"
#include "platform/ftext.h"
#include "platform/xalloc.h"
#include "zarnutils/gllist.h"
#include "zarnutils/rtcontext.h"

#ifndef ZARN_VERSION_MAJOR
#define ZARN_VERSION_MAJOR "1"
#endif
#ifndef ZARN_VERSION_MINOR
#define ZARN_VERSION_MINOR 0
#endif
#ifndef ZARN_VERSION_PATCH
#define ZARN_VERSION_PATCH "0"
#endif
#ifndef ZARN_BUILD_NUMBER
#define ZARN_BUILD_NUMBER "1"
#endif
#ifndef ZARN_BUILD_USER
#define ZARN_BUILD_USER "zarnutils"
#endif

namespace zarn::rtcontext {
namespace {

// Event table: one callback list and one enabled flag per event.
struct EventTable {
    int count = 0;
    int users = 0;
    gl_list_t **lists = nullptr;
    unsigned char *enabled = nullptr;
};
EventTable g_events;
// A table larger than this is refused: more events than any host numbers.
constexpr int kMaxEvents = 1 << 16;

volatile std::sig_atomic_t g_ctrlc_pending = 0;
int g_ctrlc_severity = 1;
int g_run_type = 1;
char *g_prob_id = nullptr;
unsigned char g_use_hessian = 0;

bool event_ok(int event) { return g_events.lists != nullptr && event >= 0 && event < g_events.count; }

gl_node_t *find_callback(gl_list_t *list, rtoevent_callback_t fn) {
    for (gl_node_t *n = list->head; n != nullptr; n = n->next)
        if (reinterpret_cast<rtoevent_callback_t>(n->data) == fn) return n;
    return nullptr;
}

void on_sigint(int) {
    g_ctrlc_pending = 1;
    std::signal(SIGINT, on_sigint);
}

}  // namespace
}  // namespace zarn::rtcontext

using namespace zarn::rtcontext;

extern "C" {

ZARN_API int32_t rtopt_mode = 0;
ZARN_API int32_t rtopt_run_mode = 0;

int rtoevent_create_callbacks(int n) {
    ++g_events.users;
    if (g_events.lists != nullptr || n < 1 || n > kMaxEvents) return 0;
    auto **lists = static_cast<gl_list_t **>(zarn::xcalloc(static_cast<size_t>(n), sizeof(gl_list_t *)));
    auto *enabled = static_cast<unsigned char *>(zarn::xmalloc(static_cast<size_t>(n)));
    bool ok = lists != nullptr && enabled != nullptr;
    for (int i = 0; ok && i < n; ++i) ok = (lists[i] = gl_create()) != nullptr;
    if (!ok) {
        if (lists != nullptr)
            for (int i = 0; i < n; ++i) gl_destroylist(lists[i]);
        std::free(lists);
        std::free(enabled);
        return 0;
    }
    std::memset(enabled, 1, static_cast<size_t>(n));
    g_events.lists = lists;
    g_events.enabled = enabled;
    g_events.count = n;
    return n;
}

void rtoevent_destroy_callbacks(void) {
    if (g_events.users > 0) --g_events.users;
    if (g_events.users > 0) return;
    for (int i = 0; i < g_events.count; ++i) gl_destroylist(g_events.lists[i]);
    std::free(g_events.lists);
    std::free(g_events.enabled);
    g_events.lists = nullptr;
    g_events.enabled = nullptr;
    g_events.count = 0;
}

int rtoevent_set_callback(int event, rtoevent_callback_t fn) {
    if (!event_ok(event) || fn == nullptr) return 0;
    gl_list_t *list = g_events.lists[event];
    if (find_callback(list, fn) != nullptr) return 0;
    uint32_t before = gl_length(list);
    gl_addtoend(list, reinterpret_cast<void *>(fn));
    return gl_length(list) > before ? 1 : 0;
}

int rtoevent_unset_callback(int event, rtoevent_callback_t fn) {
    if (!event_ok(event) || fn == nullptr) return 0;
    gl_list_t *list = g_events.lists[event];
    gl_node_t *node = find_callback(list, fn);
    if (node == nullptr) return 0;
    list->cursor = node;
    gl_unlinkcur(list);
    return 1;
}

int rtoevent_disable_callback(int enabled, int event) {
    if (!event_ok(event)) return 0;
    int previous = g_events.enabled[event];
    g_events.enabled[event] = enabled != 0 ? 1 : 0;
    return previous;
}

intptr_t rtoevent_do_callback(int event, intptr_t a, intptr_t b, intptr_t c) {
    if (!event_ok(event) || !g_events.enabled[event]) return 0;
    gl_list_t *list = g_events.lists[event];
    const uint32_t n = gl_length(list);
    if (n == 0) return 0;
    // Callbacks may unset themselves or others: call from a copy of the list,
    // skipping any that are no longer registered when their turn comes.
    rtoevent_callback_t local[16];
    size_t bytes = 0;
    rtoevent_callback_t *fns = n <= 16 ? local
                               : zarn::byte_count(n, sizeof(rtoevent_callback_t), &bytes)
                                   ? static_cast<rtoevent_callback_t *>(zarn::xmalloc(bytes))
                                   : nullptr;
    if (fns == nullptr) return 0;
    uint32_t k = 0;
    for (gl_node_t *node = list->head; node != nullptr && k < n; node = node->next)
        fns[k++] = reinterpret_cast<rtoevent_callback_t>(node->data);
    intptr_t result = 0;
    for (uint32_t i = 0; i < k; ++i) {
        if (!event_ok(event) || find_callback(g_events.lists[event], fns[i]) == nullptr) continue;
        result = fns[i](a, b, c);
    }
    if (fns != local) std::free(fns);
    return result;
}

void rtosignal_intercept_ctrlc(void) { std::signal(SIGINT, on_sigint); }

int rtosignal_ctrlc_pressed(void) { return g_ctrlc_pending ? g_ctrlc_severity : 0; }

void rtosignal_set_ctrlc(void) { g_ctrlc_pending = 1; }

void rtosignal_cancel_pending_ctrlc(void) { g_ctrlc_pending = 0; }

void rtosignal_set_severity(int n) {
    if (n > 0) g_ctrlc_severity = n;
}

void rto_set_mode_c(int m) {
    if (m >= 0 && m <= 3) rtopt_mode = m;
}

void rto_inq_mode_c(int *out) {
    if (out) *out = rtopt_mode;
}

void rto_set_run_mode_c(int m) {
    if (m >= 0 && m <= 2) rtopt_run_mode = m;
}

void rto_inq_run_mode_c(int *out) {
    if (out) *out = rtopt_run_mode;
}

int SetRTORunType(int t) {
    int old = g_run_type;
    g_run_type = t;
    return old;
}

int GetRTORunType(void) { return g_run_type; }

void rto_set_use_hessian_parameter(unsigned char b) { g_use_hessian = b; }

unsigned char rto_inq_use_hessian_parameter(void) { return g_use_hessian; }

void rto_setprobId(const char *text) {
    std::free(g_prob_id);
    g_prob_id = nullptr;
    if (text == nullptr) return;
    size_t n = std::strlen(text);
    while (n > 0 && std::isspace(static_cast<unsigned char>(text[n - 1]))) --n;
    g_prob_id = static_cast<char *>(zarn::xmalloc(n + 1));
    if (g_prob_id == nullptr) return;
    std::memcpy(g_prob_id, text, n);
    g_prob_id[n] = '\0';
}

const char *rto_getprobId(void) {
    if (g_prob_id == nullptr || g_prob_id[0] == '\0' ||
        std::isspace(static_cast<unsigned char>(g_prob_id[0])))
        return "KFPxxx";
    return g_prob_id;
}

void rto_freeprobId(void) {
    std::free(g_prob_id);
    g_prob_id = nullptr;
}

const char *rtoBuildNum(void) { return ZARN_BUILD_NUMBER; }
const char *rtoBuildDate(void) { return __DATE__; }
const char *rtoMajorVersion(void) { return ZARN_VERSION_MAJOR; }
int rtoMinorVersion(void) { return ZARN_VERSION_MINOR; }
const char *rtoPatchNumber(void) { return ZARN_VERSION_PATCH; }
const char *rtoBuildUserName(void) { return ZARN_BUILD_USER; }

const char *rtoFullVersion(void) {
    static char text[64];
    if (text[0] == '\0')
        std::snprintf(text, sizeof text, "%s.%d.%s.%s", rtoMajorVersion(), rtoMinorVersion(),
                      rtoPatchNumber(), rtoBuildNum());
    return text;
}

}  // extern "C"
