// The null pipe: swallows writes, reads nothing.
#include "rtopipe/rtopipe_internal.h"

namespace {

int null_write(rtopipe *p, const char *, size_t) {
    zarn::rtopipe::clear_status(p);
    return 1;
}

int64_t null_read(rtopipe *p, char *, size_t) {
    zarn::rtopipe::set_status(p);
    return 0;
}

int null_flush(rtopipe *) { return 1; }
void null_destroy(rtopipe *p) { p->refcount = 1; }
const char *null_describe(rtopipe *) { return "NOWHERE"; }

rtopipe g_null_pipe{null_write, null_read, null_destroy, null_flush, null_describe, nullptr, 1, 0};

}  // namespace

extern "C" {
ZARN_API rtopipe *nowherePipe = &g_null_pipe;
}
