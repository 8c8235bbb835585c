// Hash tables: open addressing (double hashing or linear probing) and separate chaining.
#include "zarnutils/hashtable.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <type_traits>

#include "gllist/inuse.h"
#include "hashtable/hashtable_internal.h"
#include "hashtable/hashtable_messages.h"
#include "platform/checked.h"
#include "platform/xalloc.h"

namespace zarn::hashtable {
namespace {

// Every slot count comes from this list; growth jumps to the next entry at or above size * 10.
constexpr uint32_t kTablePrimes[] = {
    2u,          3u,         5u,         7u,         11u,        13u,        17u,        23u,
    37u,         53u,        73u,        107u,       157u,       227u,       313u,       443u,
    619u,        877u,       1223u,      1697u,      2371u,      3307u,      4547u,      6271u,
    8681u,       11941u,     16361u,     22469u,     30869u,     42187u,     57679u,     78893u,
    107741u,     146891u,    200041u,    272333u,    370631u,    503879u,    684617u,    929009u,
    1260661u,    1709483u,   2316449u,   3137879u,   4247707u,   5747459u,   7772797u,   10507463u,
    14198549u,   19176523u,  25891717u,  34945601u,  47142863u,  63583589u,  85724879u,  115537039u,
    155671577u,  209680799u, 282348229u, 380094151u, 511560869u, 688274467u, 925828957u, 1245085799u,
    1673993023u, 2147483647u};
static_assert(std::size(kTablePrimes) == 66);

constexpr uint32_t kLargestPrime = 2147483647u;
// Below this size hint an automatic choice takes chaining.
constexpr uint32_t kChainingLimit = 5000u;

// One step of the PJW string hash; bytes are signed so high bytes add negative amounts.
inline uint32_t pjw_step(uint32_t h, char c) {
    uint32_t g = h & 0xF0000000u;
    if (g != 0) h = (h ^ (g >> 24)) & 0x0FFFFFFFu;
    return (h << 4) + static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(c)));
}

inline uint32_t step_of(const HashTable *t, const void *item) {
    return t->step != nullptr ? t->step(item) % (t->size - 1) + 1 : 1;
}

inline hash_node **buckets(const HashTable *t) { return reinterpret_cast<hash_node **>(t->slots); }

// Open-addressing slot arrays carry, after the `size` item pointers, the full hash
// of each stored item, so probes skip most comparisons and removal and growth never
// call the hash function again. Callers see only the item pointers.
inline uint32_t *cached_hashes(const HashTable *t) {
    return reinterpret_cast<uint32_t *>(t->slots + t->size);
}

// Slot arrays larger than this are refused as memory that cannot be had: more
// than any table of names needs, and far less than would exhaust the machine.
constexpr size_t kMaxSlotBytes = size_t{1} << 32;

// A zeroed slot array; NULL when memory is short. Open-addressing arrays
// carry the cached hashes after the items.
void **alloc_slots(uint32_t size, bool chained) {
    size_t bytes = 0;
    const size_t each = chained ? sizeof(void *) : sizeof(void *) + sizeof(uint32_t);
    if (!zarn::byte_count(size, each, &bytes, kMaxSlotBytes)) return nullptr;
    return static_cast<void **>(zarn::xcalloc(1, bytes));
}

// Open addressing insertion without the growth check. Returns the stored item,
// the equal item already there, or nullptr when the table is full.
void *add_double(HashTable *t, void *item) {
    if (t->count + 1 >= t->size) {
        std::fputs(msg::kTooSmall, stderr);
        return nullptr;
    }
    void **slots = t->slots;
    uint32_t *hashes = cached_hashes(t);
    const uint32_t size = t->size;
    const uint32_t hv = t->hash(item);
    uint32_t h = hv % size;
    if (slots[h] != nullptr) {
        if (hashes[h] == hv && t->compare(item, slots[h]) == 0) return slots[h];
        const uint32_t s = step_of(t, item);
        for (;;) {
            h += s;  // s < size and h < size, so one subtraction wraps
            if (h >= size) h -= size;
            if (slots[h] == nullptr) break;
            if (hashes[h] == hv && t->compare(item, slots[h]) == 0) return slots[h];
        }
    }
    slots[h] = item;
    hashes[h] = hv;
    ++t->count;
    return item;
}

// Moves the items to a fresh slot array of newSize; keeps the old one when memory is short.
void resize_table(HashTable *t, uint32_t newSize) {
    if (newSize == t->size) return;
    void **fresh = alloc_slots(newSize, false);
    if (fresh == nullptr) {
        std::fprintf(stderr, msg::kResizeFailed, newSize, t->size);
        return;
    }
    void **old = t->slots;
    const uint32_t *oldHashes = cached_hashes(t);
    const uint32_t oldSize = t->size;
    const uint32_t oldCount = t->count;
    t->slots = fresh;
    t->size = newSize;
    t->threshold = threshold_for(newSize);
    t->count = 0;
    uint32_t *hashes = cached_hashes(t);
    // The stored items are distinct, so each goes to the first empty slot of its probe.
    for (uint32_t i = 0; i < oldSize && t->count < oldCount; ++i) {
        void *item = old[i];
        if (item == nullptr) continue;
        if (t->count + 1 >= newSize) {
            std::fputs(msg::kTooSmall, stderr);
            break;
        }
        const uint32_t hv = oldHashes[i];
        uint32_t h = hv % newSize;
        if (fresh[h] != nullptr) {
            const uint32_t s = step_of(t, item);
            do {
                h += s;
                if (h >= newSize) h -= newSize;
            } while (fresh[h] != nullptr);
        }
        fresh[h] = item;
        hashes[h] = hv;
        ++t->count;
    }
    std::free(old);
}

// Open addressing sizes for four times the items expected; n itself when that overflows.
uint32_t fourfold(uint32_t n) {
    uint32_t times4 = 0;
    return checked_mul(n, 4u, &times4) ? times4 : n;
}

void grow_if_needed(HashTable *t) {
    if (t->count < t->threshold) return;
    uint32_t tenfold = 0;
    resize_table(t, checked_mul(t->size, 10u, &tenfold) ? next_table_prime(tenfold) : kLargestPrime);
}

void *add_chained(HashTable *t, void *item) {
    hash_node **head = &buckets(t)[t->hash(item) % t->size];
    hash_node *tail = nullptr;
    for (hash_node *n = *head; n != nullptr; n = n->next) {
        if (!t->duplicates && t->compare(n->item, item) == 0) return n->item;
        tail = n;
    }
    auto *node = static_cast<hash_node *>(zarn::xmalloc(sizeof(hash_node)));
    if (node == nullptr) return nullptr;
    node->next = nullptr;
    node->item = item;
    if (tail == nullptr) {
        *head = node;
        ++t->slotsUsed;
    } else {
        tail->next = node;
    }
    ++t->count;
    return item;
}

void *find_double(const HashTable *t, const void *key) {
    void *const *slots = t->slots;
    const uint32_t *hashes = cached_hashes(t);
    const uint32_t size = t->size;
    const uint32_t hv = t->hash(key);
    uint32_t h = hv % size;
    if (slots[h] == nullptr) return nullptr;
    if (hashes[h] == hv && t->compare(key, slots[h]) == 0) return slots[h];
    const uint32_t s = step_of(t, key);
    for (;;) {
        h += s;
        if (h >= size) h -= size;
        if (slots[h] == nullptr) return nullptr;
        if (hashes[h] == hv && t->compare(key, slots[h]) == 0) return slots[h];
    }
}

// Linear-probing removal that shifts later items of the run back into the hole.
void *remove_linear(HashTable *t, const void *key) {
    void **slots = t->slots;
    uint32_t *hashes = cached_hashes(t);
    const uint32_t size = t->size;
    const uint32_t hv = t->hash(key);
    uint32_t j = hv % size;
    for (;;) {
        if (slots[j] == nullptr) return nullptr;
        if (hashes[j] == hv && t->compare(slots[j], key) == 0) break;
        if (++j == size) j = 0;
    }
    void *removed = slots[j];
    slots[j] = nullptr;
    uint32_t hole = j;
    uint32_t gap = 0;
    for (;;) {
        if (++j == size) j = 0;
        ++gap;
        void *item = slots[j];
        if (item == nullptr) break;
        const uint32_t home = hashes[j] % size;
        const uint32_t disp = home <= j ? j - home : j + size - home;
        if (disp >= gap) {
            slots[hole] = item;
            hashes[hole] = hashes[j];
            slots[j] = nullptr;
            hole = j;
            gap = 0;
        }
    }
    --t->count;
    return removed;
}

void *remove_chained(HashTable *t, const void *key, hash_node **cursor) {
    hash_node **head = &buckets(t)[t->hash(key) % t->size];
    const hash_node *want = (t->duplicates && cursor != nullptr) ? *cursor : nullptr;
    for (hash_node **link = head; *link != nullptr; link = &(*link)->next) {
        hash_node *n = *link;
        if (want != nullptr && n != want) continue;
        if (t->compare(n->item, key) != 0) {
            if (want != nullptr) return nullptr;
            continue;
        }
        *link = n->next;
        void *item = n->item;
        std::free(n);
        if (*head == nullptr) --t->slotsUsed;
        --t->count;
        return item;
    }
    return nullptr;
}

// Frees chain nodes and calls release on the items; leaves slots as they are.
void release_items(HashTable *t, HashReleaseFunc release) {
    if (t->chained) {
        hash_node **b = buckets(t);
        for (uint32_t i = 0; i < t->size; ++i) {
            hash_node *n = b[i];
            while (n != nullptr) {
                hash_node *next = n->next;
                if (release != nullptr && n->item != nullptr) release(n->item);
                std::free(n);
                n = next;
            }
        }
    } else if (release != nullptr) {
        for (uint32_t i = 0; i < t->size; ++i) {
            if (t->slots[i] != nullptr) release(t->slots[i]);
        }
    }
}

// First occupied position at or after slot index i.
void seek_from(hash_iter *it, uint32_t i) {
    const HashTable *t = it->table;
    it->node = nullptr;
    if (t->chained) {
        hash_node **b = buckets(t);
        while (i < t->size && b[i] == nullptr) ++i;
        if (i < t->size) it->node = b[i];
    } else {
        while (i < t->size && t->slots[i] == nullptr) ++i;
    }
    it->index = i;
}

// Probe steps an item of an open-addressing table took from its home to slot j.
uint32_t jumps_to(const HashTable *t, const void *item, uint32_t j) {
    uint32_t h = t->hash(item) % t->size;
    const uint32_t s = step_of(t, item);
    uint32_t n = 0;
    while (h != j && n < t->size) {
        h += s;
        if (h >= t->size) h -= t->size;
        ++n;
    }
    return n;
}

void analyze_jumps(const HashTable *t) {
    uint32_t largest = 0;
    uint64_t sum = 0;
    uint32_t occupied = 0;
    for (uint32_t j = 0; j < t->size; ++j) {
        if (t->slots[j] == nullptr) continue;
        ++occupied;
        const uint32_t n = jumps_to(t, t->slots[j], j);
        largest = std::max(largest, n);
        sum += n;
    }
    uint32_t divisor = std::max(occupied, 1u);
    if (occupied != t->count) {
        divisor = std::max({occupied, t->count, 1u});
        std::printf(msg::kStatBadCount, divisor, t->count);
    }
    std::printf(msg::kStatJumps, largest);
    std::printf(msg::kStatAverageJumps, static_cast<double>(sum) / static_cast<double>(divisor));
}

// While a table's hash, step, compare, release, modify or visit function runs,
// the table is in use: a change made to it from inside that function is
// refused, so no walk or probe sequence loses its footing.
// Runs f with t marked in use; returns what f returns.
template <class F>
auto with_table(const HashTable *t, F f) {
    zarn::gllist::InUse mark;
    zarn::gllist::enter_use(&mark, t);
    if constexpr (std::is_void_v<decltype(f())>) {
        f();
        zarn::gllist::leave_use(&mark);
    } else {
        auto r = f();
        zarn::gllist::leave_use(&mark);
        return r;
    }
}

bool refused_while_busy(const HashTable *t, const char *fn) {
    if (!zarn::gllist::in_use(t)) return false;
    std::fprintf(stderr, msg::kInUse, fn);
    return true;
}

}  // namespace

uint32_t next_table_prime(uint32_t n) {
    const uint32_t *end = std::end(kTablePrimes);
    const uint32_t *p = std::lower_bound(std::begin(kTablePrimes), end, n);
    return p == end ? kLargestPrime : *p;
}

uint32_t threshold_for(uint32_t size) {
    if (size > 5) return size / 3;
    if (size == 5) return 2;
    return 1;
}

}  // namespace zarn::hashtable

using namespace zarn::hashtable;

extern "C" {

HashTable *hashCreate(uint32_t sizeHint, HashFunc hash, HashFunc step, HashCompareFunc compare, int chaining,
                      int duplicates) {
    if (hash == nullptr || compare == nullptr) return nullptr;
    bool chained = chaining < 0 ? sizeHint < kChainingLimit : chaining > 0;
    if (duplicates != 0) chained = true;
    uint32_t n = sizeHint;
    if (!chained) n = fourfold(sizeHint);
    auto *t = static_cast<HashTable *>(zarn::xmalloc(sizeof(HashTable)));
    if (t == nullptr) return nullptr;
    t->size = next_table_prime(n);
    t->slotsUsed = 0;
    t->count = 0;
    t->threshold = threshold_for(t->size);
    t->hash = hash;
    t->step = step;
    t->compare = compare;
    t->chained = chained ? 1 : 0;
    t->duplicates = duplicates != 0 ? 1 : 0;
    t->slots = alloc_slots(t->size, chained);
    if (t->slots == nullptr) {
        std::free(t);
        return nullptr;
    }
    return t;
}

void hashSizeEstimate(HashTable *table, uint32_t n) {
    if (table == nullptr || table->chained || n <= table->threshold) return;
    if (refused_while_busy(table, "hashSizeEstimate")) return;
    resize_table(table, next_table_prime(fourfold(n)));
}

void *hashAddItem(HashTable *table, void *item) {
    if (table == nullptr || item == nullptr) return nullptr;
    if (refused_while_busy(table, "hashAddItem")) return nullptr;
    return with_table(table, [&] {
        if (table->chained) return add_chained(table, item);
        grow_if_needed(table);
        return add_double(table, item);
    });
}

void *hashFindNextItem(HashTable *table, const void *key, hash_node **cursor) {
    if (table == nullptr || key == nullptr) return nullptr;
    return with_table(table, [&]() -> void * {
        if (!table->chained) return find_double(table, key);
        hash_node *n = buckets(table)[table->hash(key) % table->size];
        if (table->duplicates && cursor != nullptr && *cursor != nullptr) n = (*cursor)->next;
        for (; n != nullptr; n = n->next) {
            if (table->compare(key, n->item) == 0) {
                if (cursor != nullptr) *cursor = n;
                return n->item;
            }
        }
        return nullptr;
    });
}

void *hashFindItem(HashTable *table, const void *key) { return hashFindNextItem(table, key, nullptr); }

void *hashRemoveDupItem(HashTable *table, const void *key, hash_node **cursor) {
    if (table == nullptr || key == nullptr) return nullptr;
    if (!table->chained && table->step != nullptr) {
        std::fputs(msg::kIllegalRemove, stderr);
        return nullptr;
    }
    if (refused_while_busy(table, "hashRemoveItem")) return nullptr;
    return with_table(table, [&] {
        return table->chained ? remove_chained(table, key, cursor) : remove_linear(table, key);
    });
}

void *hashRemoveItem(HashTable *table, const void *key) { return hashRemoveDupItem(table, key, nullptr); }

void hashRemoveAll(HashTable *table, HashReleaseFunc release) {
    if (table == nullptr || table->count == 0) return;
    if (refused_while_busy(table, "hashRemoveAll")) return;
    with_table(table, [&] { release_items(table, release); });
    std::memset(table->slots, 0, sizeof(void *) * table->size);
    table->count = 0;
    table->slotsUsed = 0;
}

void hashDestroy(HashTable *table, HashReleaseFunc release) {
    if (table == nullptr) return;
    if (refused_while_busy(table, "hashDestroy")) return;
    if (table->count != 0) with_table(table, [&] { release_items(table, release); });
    std::free(table->slots);
    std::free(table);
}

void hashNoOp(void *) {}

uint32_t hashNum(const HashTable *table) { return table != nullptr ? table->count : 0; }

void hashIterate(HashTable *table, HashModifyFunc modify) {
    if (table == nullptr || modify == nullptr || table->count == 0) return;
    // Returns the hash of the pointer now stored.
    auto visit = [&](void *&slot) {
        const uint32_t before = table->hash(slot);
        void *replacement = modify(slot);
        if (replacement != nullptr) slot = replacement;
        const uint32_t after = table->hash(slot);
        if (after != before) {
            std::fputs(msg::kIllegalModify, stdout);
        }
        return after;
    };
    with_table(table, [&] {
        for (uint32_t i = 0; i < table->size; ++i) {
            if (table->chained) {
                for (hash_node *n = buckets(table)[i]; n != nullptr; n = n->next) {
                    if (n->item != nullptr) visit(n->item);
                }
            } else if (table->slots[i] != nullptr) {
                // The item stays in its slot; removals then see its present hash, as lookups do.
                cached_hashes(table)[i] = visit(table->slots[i]);
            }
        }
    });
}

void hashDataIterate(HashTable *table, void *data, HashVisitFunc visit) {
    if (table == nullptr || visit == nullptr || table->count == 0) return;
    with_table(table, [&] {
        for (uint32_t i = 0; i < table->size; ++i) {
            if (table->chained) {
                for (hash_node *n = buckets(table)[i]; n != nullptr; n = n->next) {
                    if (n->item != nullptr && visit(data, n->item) != 0) return;
                }
            } else if (table->slots[i] != nullptr) {
                if (visit(data, table->slots[i]) != 0) return;
            }
        }
    });
}

int hashEqual(HashTable *a, HashTable *b, HashItemEqualFunc itemEqual) {
    if (a == b) return 1;
    if (a == nullptr || b == nullptr || itemEqual == nullptr) return 0;
    if (a->compare != b->compare || a->count != b->count) return 0;
    return with_table(a, [&] {
        for (hash_iter it = hash_begin(a); it.index < a->size; hash_iter_next(&it)) {
            void *item = hash_iter_deref(&it);
            if (item == nullptr) continue;
            void *found = hashFindItem(b, item);
            if (found == nullptr || with_table(b, [&] { return itemEqual(item, found); }) != 0) return 0;
        }
        return 1;
    });
}

void hashPrintStats(HashTable *table) {
    if (table == nullptr) return;
    std::printf(msg::kStatSize, table->size);
    std::printf(msg::kStatCount, table->count);
    if (table->chained) {
        uint32_t longest = 0;
        uint64_t nodes = 0;
        for (uint32_t i = 0; i < table->size; ++i) {
            uint32_t len = 0;
            for (hash_node *n = buckets(table)[i]; n != nullptr; n = n->next) ++len;
            longest = std::max(longest, len);
            nodes += len;
        }
        std::printf(msg::kStatSlotsUsed, table->slotsUsed);
        std::printf(msg::kStatLongest, longest);
        std::printf(
            msg::kStatAverageChain,
            table->slotsUsed != 0 ? static_cast<double>(nodes) / static_cast<double>(table->slotsUsed) : 0.0);
    } else {
        with_table(table, [&] { analyze_jumps(table); });
    }
}

uint32_t hash_pjw(const char *s) {
    uint32_t h = 0;
    if (s == nullptr) return 0;
    for (; *s != '\0'; ++s) h = pjw_step(h, *s);
    return h;
}

uint32_t mixed_pjw(const char *s) {
    if (s == nullptr) return 0;
    size_t n = std::strlen(s);
    if (n == 0) return 0;
    uint32_t h = 0;
    size_t lo = 0, hi = n;  // bytes [lo, hi) are still to be used
    while (lo < hi) {
        h = pjw_step(h, s[--hi]);
        if (lo < hi) h = pjw_step(h, s[lo++]);
    }
    return h;
}

uint32_t hash_simple(const char *s) {
    if (s == nullptr || *s == '\0') return 0;
    return static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(s[0]))) +
           static_cast<uint32_t>(std::strlen(s));
}

hash_iter hash_begin(HashTable *table) {
    hash_iter it{table, 0, nullptr};
    if (table != nullptr) seek_from(&it, 0);
    return it;
}

hash_iter hash_end(HashTable *table) {
    return hash_iter{table, table != nullptr ? table->size : 0u, nullptr};
}

void hash_iter_next(hash_iter *it) {
    if (it == nullptr || it->table == nullptr || it->index >= it->table->size) return;
    if (it->table->chained && it->node != nullptr && it->node->next != nullptr) {
        it->node = it->node->next;
        return;
    }
    seek_from(it, it->index + 1);
}

void *hash_iter_deref(const hash_iter *it) {
    if (it == nullptr || it->table == nullptr || it->index >= it->table->size) return nullptr;
    if (it->table->chained) return it->node != nullptr ? it->node->item : nullptr;
    return it->table->slots[it->index];
}

int hash_iter_equal(const hash_iter *a, const hash_iter *b) {
    if (a == nullptr || b == nullptr) return a == b ? 1 : 0;
    return a->table == b->table && a->index == b->index && a->node == b->node ? 1 : 0;
}

}  // extern "C"
