// Allocation calls with the failure switch used by the tests.
#include "platform/xalloc.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace zarn {

namespace {
long g_countdown = 0;  // allocations left before the one that fails; 0: off
bool g_every = false;
bool g_plex = false;
long g_seen = 0;

// A failure looks as the heap's own does: null, with errno ENOMEM.
bool should_fail() {
    ++g_seen;
    if (g_countdown == 0) return false;
    if (g_countdown == 1) {
        if (!g_every) g_countdown = 0;
        errno = ENOMEM;
        return true;
    }
    --g_countdown;
    return false;
}
}  // namespace

long failalloc_set(long n, bool every, bool plex) {
    long seen = g_seen;
    g_countdown = n > 0 ? n : 0;
    g_every = every && n > 0;
    g_plex = plex && n > 0;
    g_seen = 0;
    return seen;
}

long failalloc_count() { return g_seen; }

void *xmalloc(std::size_t bytes) { return should_fail() ? nullptr : std::malloc(bytes); }

void *xcalloc(std::size_t count, std::size_t size) {
    return should_fail() ? nullptr : std::calloc(count, size);
}

void *xrealloc(void *block, std::size_t bytes) {
    return should_fail() ? nullptr : std::realloc(block, bytes);
}

void *xmalloc_plex(std::size_t bytes) { return g_plex && should_fail() ? nullptr : std::malloc(bytes); }

void *xrealloc_plex(void *block, std::size_t bytes) {
    return g_plex && should_fail() ? nullptr : std::realloc(block, bytes);
}

char *xstrdup(const char *text) {
    std::size_t n = std::strlen(text) + 1;
    char *copy = static_cast<char *>(xmalloc(n));
    if (copy != nullptr) std::memcpy(copy, text, n);
    return copy;
}

}  // namespace zarn
