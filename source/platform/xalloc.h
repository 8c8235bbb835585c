// The C allocation calls of the library's records, with a test switch that
// makes a chosen allocation fail so that every failure path can be run.
#ifndef ZARN_PLATFORM_XALLOC_H
#define ZARN_PLATFORM_XALLOC_H

#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace zarn {

// malloc, calloc, realloc and strdup; they return null when memory is short
// or when the failure switch says so. Free what they give with std::free.
void *xmalloc(std::size_t bytes);
void *xcalloc(std::size_t count, std::size_t size);
void *xrealloc(void *block, std::size_t bytes);
char *xstrdup(const char *text);

// Plex blocks: their failure raises (a documented fatal path without a
// handler), so the switch reaches them only when asked to (`plex` below).
void *xmalloc_plex(std::size_t bytes);
void *xrealloc_plex(void *block, std::size_t bytes);

// Failure switch for tests: the n-th allocation from now fails (n >= 1), and
// with `every` set, every one after it too; 0 turns it off. Plex blocks count
// and fail only with `plex` set. Returns how many allocations have gone
// through the switch since it was last set.
long failalloc_set(long n, bool every = false, bool plex = false);
long failalloc_count();

// A writable, NUL-terminated copy of n bytes of s: on the stack when it fits
// in N - 1 bytes, else from xmalloc; `text` is null when memory is short.
template <std::size_t N>
struct TerminatedCopy {
    char local[N];
    char *heap = nullptr;
    char *text = nullptr;
    TerminatedCopy(const char *s, std::size_t n) {
        text = n < N ? local : (heap = static_cast<char *>(xmalloc(n + 1)));
        if (text == nullptr) return;
        std::memcpy(text, s, n);
        text[n] = '\0';
    }
    ~TerminatedCopy() { std::free(heap); }
    TerminatedCopy(const TerminatedCopy &) = delete;
    TerminatedCopy &operator=(const TerminatedCopy &) = delete;
};

}  // namespace zarn

#endif
