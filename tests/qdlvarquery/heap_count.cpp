// The program's allocation calls, replaced by ones that count and hand on to
// the C library's own (glibc lets a program replace them this way).
#include "heap_count.h"

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)

long zarn::test::live_heap_blocks() { return -1; }

#else

extern "C" {
void *__libc_malloc(size_t size);
void *__libc_calloc(size_t count, size_t size);
void *__libc_realloc(void *block, size_t size);
void *__libc_memalign(size_t alignment, size_t size);
void __libc_free(void *block);
}

namespace {
long g_live = 0;  // the tests are single-threaded
void *counted(void *p) {
    if (p != nullptr) ++g_live;
    return p;
}
}  // namespace

long zarn::test::live_heap_blocks() { return g_live; }

extern "C" {

void *malloc(size_t size) { return counted(__libc_malloc(size)); }
void *calloc(size_t count, size_t size) { return counted(__libc_calloc(count, size)); }
void *memalign(size_t alignment, size_t size) { return counted(__libc_memalign(alignment, size)); }
void *aligned_alloc(size_t alignment, size_t size) { return counted(__libc_memalign(alignment, size)); }

int posix_memalign(void **out, size_t alignment, size_t size) {
    void *p = counted(__libc_memalign(alignment, size));
    if (p == nullptr) return 12;  // ENOMEM
    *out = p;
    return 0;
}

void *realloc(void *block, size_t size) {
    void *p = __libc_realloc(block, size);
    if (block == nullptr && p != nullptr) ++g_live;               // a new block
    if (block != nullptr && size == 0 && p == nullptr) --g_live;  // freed
    return p;
}

void free(void *block) {
    if (block != nullptr) --g_live;
    __libc_free(block);
}

}  // extern "C"

#endif
