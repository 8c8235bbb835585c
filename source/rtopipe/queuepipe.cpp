// In-memory queue pipe: bytes written at the end are read from the front.
#include <cstdlib>
#include <cstring>

#include "rtopipe/pipe_internal.h"

namespace {

constexpr size_t kChunkBytes = 512;

struct Chunk {
    char data[kChunkBytes];
    uint16_t offset;  // next byte to read
    uint16_t fill;    // bytes written
};

gl_list_t *chunks(rtopipe *p) { return static_cast<gl_list_t *>(p->data); }

int queue_write(rtopipe *p, const char *bytes, size_t length) {
    gl_list_t *list = chunks(p);
    if (length > 0 && list->tail != nullptr) {
        auto *last = static_cast<Chunk *>(list->tail->data);
        size_t room = kChunkBytes - last->fill;
        size_t n = length < room ? length : room;
        std::memcpy(last->data + last->fill, bytes, n);
        last->fill = static_cast<uint16_t>(last->fill + n);
        bytes += n;
        length -= n;
    }
    while (length > 0) {
        auto *c = static_cast<Chunk *>(std::malloc(sizeof(Chunk)));
        if (c == nullptr) return -1;
        size_t n = length < kChunkBytes ? length : kChunkBytes;
        std::memcpy(c->data, bytes, n);
        c->offset = 0;
        c->fill = static_cast<uint16_t>(n);
        size_t before = gl_length(list);
        gl_addtoend(list, c);
        if (gl_length(list) == before) {
            std::free(c);
            return -1;
        }
        bytes += n;
        length -= n;
    }
    zarn::pipe::clear_status(p);
    return 1;
}

int64_t queue_read(rtopipe *p, char *buffer, size_t size) {
    gl_list_t *list = chunks(p);
    if (list->head == nullptr) {
        zarn::pipe::set_status(p);
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
    if (list == nullptr) return nullptr;
    rtopipe *p = zarn::pipe::make(queue_write, queue_read, queue_destroy, queue_flush, queue_describe, list,
                                  RTOPIPE_FLUSH_NEVER);
    if (p == nullptr) gl_destroylist(list);
    return p;
}
