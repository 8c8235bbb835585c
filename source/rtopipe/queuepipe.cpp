// In-memory queue pipe: bytes written at the end are read from the front.
#include <cstdlib>
#include <cstring>

#include "platform/xalloc.h"
#include "rtopipe/rtopipe_internal.h"
#include "rtopipe/rtopipe_messages.h"

namespace {

constexpr size_t kChunkBytes = 512;

struct Chunk {
    char data[kChunkBytes];
    uint16_t offset;  // next byte to read
    uint16_t fill;    // bytes written
};

gl_list_t *chunks(rtopipe *p) { return static_cast<gl_list_t *>(p->data); }

// New chunks for `bytes` bytes, as a list of their own; NULL when memory is short.
gl_list_t *new_chunks(size_t bytes) {
    gl_list_t *fresh = gl_create();
    while (fresh != nullptr && bytes > 0) {
        auto *c = static_cast<Chunk *>(zarn::xmalloc(sizeof(Chunk)));
        const uint32_t before = gl_length(fresh);
        if (c != nullptr) gl_addtoend(fresh, c);
        if (gl_length(fresh) == before) {
            std::free(c);
            gl_destroy(fresh, std::free);
            return nullptr;
        }
        c->offset = 0;
        c->fill = static_cast<uint16_t>(bytes < kChunkBytes ? bytes : kChunkBytes);
        bytes -= c->fill;
    }
    return fresh;
}

// Every chunk a write needs is had before a byte is copied: a write that
// cannot get its memory leaves the queue as it was.
int queue_write(rtopipe *p, const char *bytes, size_t length) {
    gl_list_t *list = chunks(p);
    auto *last = list->tail != nullptr ? static_cast<Chunk *>(list->tail->data) : nullptr;
    const size_t room = last != nullptr ? kChunkBytes - last->fill : 0;
    const size_t first = length < room ? length : room;
    gl_list_t *fresh = nullptr;
    if (length > first && (fresh = new_chunks(length - first)) == nullptr) {
        zarn::rtopipe::report_about(p, zarn::rtopipe::msg::kNoMemory, "rtowrite");
        return -1;
    }
    if (first > 0) {
        std::memcpy(last->data + last->fill, bytes, first);
        last->fill = static_cast<uint16_t>(last->fill + first);
        bytes += first;
    }
    if (fresh != nullptr) {
        for (gl_node_t *n = fresh->head; n != nullptr; n = n->next) {
            auto *c = static_cast<Chunk *>(n->data);
            std::memcpy(c->data, bytes, c->fill);
            bytes += c->fill;
        }
        // Hand the nodes over to the queue's list.
        if (list->tail != nullptr)
            list->tail->next = fresh->head;
        else
            list->head = fresh->head;
        list->tail = fresh->tail;
        list->length += fresh->length;
        fresh->head = fresh->tail = fresh->cursor = nullptr;
        fresh->length = 0;
        gl_destroylist(fresh);
    }
    zarn::rtopipe::clear_status(p);
    return 1;
}

int64_t queue_read(rtopipe *p, char *buffer, size_t size) {
    gl_list_t *list = chunks(p);
    if (list->head == nullptr) {
        zarn::rtopipe::set_status(p);
        return 0;
    }
    if (size == 0) return 0;
    buffer[size - 1] = '\0';
    size_t want = size - 1, got = 0;
    while (got < want && list->head != nullptr) {
        auto *c = static_cast<Chunk *>(list->head->data);
        size_t avail = static_cast<size_t>(c->fill - c->offset);
        size_t n = avail < want - got ? avail : want - got;
        std::memcpy(buffer + got, c->data + c->offset, n);
        c->offset = static_cast<uint16_t>(c->offset + n);
        got += n;
        if (c->offset == c->fill) {
            gl_top(list);
            std::free(gl_unlinkcur(list));
        }
    }
    return static_cast<int64_t>(got);
}

int queue_flush(rtopipe *) { return 1; }
const char *queue_describe(rtopipe *) { return "*queue pipe*"; }

void queue_destroy(rtopipe *p) {
    gl_destroy(chunks(p), std::free);
    std::free(p);
}

}  // namespace

extern "C" rtopipe *create_queue_rtopipe(void) {
    gl_list_t *list = gl_create();
    rtopipe *p = list ? zarn::rtopipe::make(queue_write, queue_read, queue_destroy, queue_flush,
                                            queue_describe, list, RTOPIPE_FLUSH_NEVER)
                      : nullptr;
    if (p == nullptr) {
        gl_destroylist(list);
        return zarn::rtopipe::no_memory("create_queue_rtopipe");
    }
    return p;
}
