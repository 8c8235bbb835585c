// The process-wide table of interned texts over an open-addressing hash table.
#include <cstdlib>
#include <cstring>

#include "platform/xalloc.h"
#include "rtsymtab/rtsymtab_internal.h"
#include "zarnutils/hashtable.h"
#include "zarnutils/rtsymtab.h"

namespace {

constexpr uint32_t kInitialSlots = 10000;             // slots requested at creation
constexpr std::size_t kKeyOnStack = 1024;             // longer partial keys take a heap copy
constexpr uint64_t kMaxEstimate = uint64_t{1} << 24;  // texts a size estimate may ask room for

HashTable *g_table = nullptr;
rtsymstor *g_store = nullptr;
const char *g_empty = nullptr;

uint32_t text_hash(const void *item) { return hash_pjw(static_cast<const char *>(item)); }
uint32_t text_step(const void *item) { return hash_simple(static_cast<const char *>(item)); }
int text_compare(const void *a, const void *b) {
    return std::strcmp(static_cast<const char *>(a), static_cast<const char *>(b));
}

bool ensure_table() {
    if (g_table != nullptr) return true;
    g_store = zarn::rtsymtab::store_create();
    g_table = hashCreate(kInitialSlots, text_hash, text_step, text_compare, 0, 0);
    if (g_store != nullptr && g_table != nullptr) {
        const char *empty = zarn::rtsymtab::store_copy(g_store, "", 0);
        if (empty != nullptr && hashAddItem(g_table, const_cast<char *>(empty)) == empty) {
            g_empty = empty;
            return true;
        }
    }
    rtsymtab_shutdown();
    return false;
}

// key is a NUL-terminated text of len characters.
const char *intern(const char *key, std::size_t len) {
    if (!ensure_table()) return nullptr;
    if (void *found = hashFindItem(g_table, key)) return static_cast<const char *>(found);
    const char *copy = zarn::rtsymtab::store_copy(g_store, key, len);
    if (copy == nullptr) return nullptr;
    // Texts already stored stay valid even if the table refuses this one.
    return static_cast<const char *>(hashAddItem(g_table, const_cast<char *>(copy)));
}

}  // namespace

extern "C" ZARN_API const char *rtsymtab_add(const char *text) {
    if (text == nullptr) return nullptr;
    return intern(text, std::strlen(text));
}

extern "C" ZARN_API const char *rtsymtab_add_part(const char *text, int64_t n) {
    if (text == nullptr || n < 0) return nullptr;
    std::size_t len = strnlen(text, static_cast<std::size_t>(n));
    if (len < static_cast<std::size_t>(n)) return intern(text, len);  // text ends within n
    const zarn::TerminatedCopy<kKeyOnStack> key(text, len);
    return key.text != nullptr ? intern(key.text, len) : nullptr;
}

extern "C" ZARN_API const char *rtsymtab_empty(void) { return ensure_table() ? g_empty : nullptr; }

extern "C" ZARN_API void rtsymtab_size_estimate(uint32_t n) {
    if (!ensure_table()) return;
    // No process interns more names than this; a larger estimate would only
    // ask for a table that can never be filled.
    const uint64_t want = static_cast<uint64_t>(n) + n / 10;
    hashSizeEstimate(g_table, static_cast<uint32_t>(want < kMaxEstimate ? want : kMaxEstimate));
}

extern "C" ZARN_API void rtsymtab_shutdown(void) {
    hashDestroy(g_table, nullptr);
    zarn::rtsymtab::store_destroy(g_store);
    g_table = nullptr;
    g_store = nullptr;
    g_empty = nullptr;
}
