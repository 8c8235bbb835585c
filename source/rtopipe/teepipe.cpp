// Tee pipe: one write fans out to every pipe of a list.
#include <cstdlib>

#include "rtopipe/rtopipe_internal.h"

namespace {

gl_list_t *members(rtopipe *p) { return static_cast<gl_list_t *>(p->data); }

int tee_write(rtopipe *p, const char *bytes, size_t length) {
    int result = 1;
    for (gl_node_t *n = members(p)->head; n != nullptr; n = n->next)
        if (rtowrite(static_cast<rtopipe *>(n->data), bytes, length) < 0) result = -1;
    return result;
}

int tee_flush(rtopipe *p) {
    for (gl_node_t *n = members(p)->head; n != nullptr; n = n->next)
        if (rtoflush(static_cast<rtopipe *>(n->data)) == 0) return 0;
    return 1;
}

void tee_destroy(rtopipe *p) {
    for (gl_node_t *n = members(p)->head; n != nullptr; n = n->next)
        if (rtodestroy(static_cast<rtopipe *>(n->data)) < 0) break;
    gl_destroylist(members(p));
    std::free(p);
}

const char *tee_describe(rtopipe *) { return "<tee pipe>"; }

}  // namespace

extern "C" rtopipe *rtopipe_create_tee(gl_list_t *list) {
    if (list == nullptr) return nullptr;
    rtopipe *p = zarn::rtopipe::make(tee_write, nullptr, tee_destroy, tee_flush, tee_describe, list,
                                     RTOPIPE_FLUSH_NEVER);
    // The list stays the caller's when no tee takes it over.
    return p != nullptr ? p : zarn::rtopipe::no_memory("rtopipe_create_tee");
}
