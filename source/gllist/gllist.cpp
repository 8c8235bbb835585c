// Generic singly linked list with a cursor.
#include "zarnutils/gllist.h"

#include <cstdio>
#include <cstdlib>

#include "gllist/gllist_messages.h"
#include "gllist/inuse.h"
#include "platform/xalloc.h"

namespace zarn::gllist {
namespace {

gl_node_t *new_node(void *data) {
    auto *n = static_cast<gl_node_t *>(zarn::xmalloc(sizeof(gl_node_t)));
    if (n != nullptr) {
        n->next = nullptr;
        n->data = data;
    }
    return n;
}

// A list whose elements gl_info_iterate is visiting keeps its nodes until the walk ends.
bool refused_while_walked(const gl_list_t *list, const char *fn) {
    if (!in_use(list)) return false;
    std::fprintf(stderr, msg::kWalked, fn);
    return true;
}

}  // namespace
}  // namespace zarn::gllist

using zarn::gllist::new_node;
using zarn::gllist::refused_while_walked;

extern "C" {

gl_list_t *gl_create(void) { return static_cast<gl_list_t *>(zarn::xcalloc(1, sizeof(gl_list_t))); }

void *gl_samedata(void *data) { return data; }

gl_list_t *gl_copy(gl_list_t *list, gl_copy_fn copyfn) {
    if (list == nullptr || copyfn == nullptr) return nullptr;
    gl_list_t *out = gl_create();
    for (gl_node_t *n = list->head; out != nullptr && n != nullptr; n = n->next) {
        const uint32_t before = out->length;
        gl_addtoend(out, copyfn(n->data));
        if (out->length == before) {  // no node: no copy rather than a short one
            gl_destroylist(out);
            return nullptr;
        }
    }
    return out;
}

uint32_t gl_length(const gl_list_t *list) { return list ? list->length : 0; }

void gl_addtoend(gl_list_t *list, void *data) {
    if (list == nullptr) return;
    gl_node_t *n = new_node(data);
    if (n == nullptr) return;
    if (list->tail != nullptr)
        list->tail->next = n;
    else
        list->head = n;
    list->tail = n;
    ++list->length;
}

void gl_addtohead(gl_list_t *list, void *data) {
    if (list == nullptr) return;
    gl_node_t *n = new_node(data);
    if (n == nullptr) return;
    n->next = list->head;
    list->head = n;
    if (list->tail == nullptr) list->tail = n;
    ++list->length;
}

void gl_top(gl_list_t *list) {
    if (list) list->cursor = list->head;
}

void gl_last(gl_list_t *list) {
    if (list) list->cursor = list->tail;
}

int gl_end(const gl_list_t *list) { return (list == nullptr || list->cursor == nullptr) ? 1 : 0; }

void *gl_get(const gl_list_t *list) {
    return (list != nullptr && list->cursor != nullptr) ? list->cursor->data : nullptr;
}

void gl_next(gl_list_t *list) {
    if (list != nullptr && list->cursor != nullptr) list->cursor = list->cursor->next;
}

void *gl_replcur(gl_list_t *list, void *data) {
    if (list == nullptr || list->cursor == nullptr) return nullptr;
    void *old = list->cursor->data;
    list->cursor->data = data;
    return old;
}

void *gl_unlinkcur(gl_list_t *list) {
    if (list == nullptr || list->cursor == nullptr) return nullptr;
    if (refused_while_walked(list, "gl_unlinkcur")) return nullptr;
    gl_node_t *cur = list->cursor;
    gl_node_t *succ = cur->next;
    if (cur == list->head) {
        list->head = succ;
        if (list->tail == cur) list->tail = nullptr;
    } else {
        gl_node_t *pred = list->head;
        while (pred != nullptr && pred->next != cur) pred = pred->next;
        if (pred == nullptr) return nullptr;  // cursor not in this list
        pred->next = succ;
        if (list->tail == cur) list->tail = pred;
    }
    void *data = cur->data;
    std::free(cur);
    --list->length;
    list->cursor = succ;
    return data;
}

void gl_info_iterate(void *info, gl_list_t *list, gl_info_fn fn) {
    if (list == nullptr || fn == nullptr) return;
    // fn may add elements (they are not visited) but not remove any.
    zarn::gllist::InUse mark;
    zarn::gllist::enter_use(&mark, list);
    uint32_t left = list->length;
    for (gl_node_t *n = list->head; n != nullptr && left > 0; n = n->next, --left) fn(info, n->data);
    zarn::gllist::leave_use(&mark);
}

void gl_destroy(gl_list_t *list, gl_free_fn freefn) {
    if (list == nullptr) return;
    if (refused_while_walked(list, "gl_destroy")) return;
    gl_node_t *n = list->head;
    while (n != nullptr) {
        gl_node_t *next = n->next;
        if (freefn != nullptr) freefn(n->data);
        std::free(n);
        n = next;
    }
    std::free(list);
}

void gl_destroylist(gl_list_t *list) { gl_destroy(list, nullptr); }

}  // extern "C"
