// Hash tables: size policy, both strategies, removal without tombstones, cursors,
// iterators, traversal messages and the string hashes.
#include <gtest/gtest.h>

#include <cstring>
#include <strings.h>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "capture.h"
#include "hashtable/hashtable_internal.h"
#include "zarnutils/hashtable.h"

namespace {

uint32_t str_hash(const void *s) { return hash_pjw(static_cast<const char *>(s)); }
uint32_t str_step(const void *s) { return hash_simple(static_cast<const char *>(s)); }
int str_cmp(const void *a, const void *b) {
    return std::strcmp(static_cast<const char *>(a), static_cast<const char *>(b));
}

// Items whose home slot the test chooses: hash is `home`, equality is `key`.
struct Placed {
    uint32_t home;
    int key;
};
uint32_t placed_hash(const void *p) { return static_cast<const Placed *>(p)->home; }
int placed_cmp(const void *a, const void *b) {
    return static_cast<const Placed *>(a)->key != static_cast<const Placed *>(b)->key;
}

// Checks that the table's item set is exactly `want` (by key), by lookup and by iteration.
void expect_holds(HashTable *t, const std::set<int> &want, const std::vector<Placed> &pool) {
    ASSERT_EQ(hashNum(t), want.size());
    for (const Placed &p : pool) {
        void *found = hashFindItem(t, &p);
        if (want.count(p.key) != 0) {
            ASSERT_NE(found, nullptr) << "key " << p.key << " lost";
            EXPECT_EQ(static_cast<Placed *>(found)->key, p.key);
        } else {
            ASSERT_EQ(found, nullptr) << "key " << p.key << " should be gone";
        }
    }
    size_t seen = 0;
    hash_iter end = hash_end(t);
    for (hash_iter it = hash_begin(t); !hash_iter_equal(&it, &end); hash_iter_next(&it)) {
        ASSERT_NE(hash_iter_deref(&it), nullptr);
        ++seen;
    }
    EXPECT_EQ(seen, want.size());
}

TEST(HashStrings, KnownValuesSignedBytesAndFoldOrder) {
    EXPECT_EQ(hash_pjw("abc"), 26499u);
    EXPECT_EQ(mixed_pjw("abc"), 26994u);
    EXPECT_EQ(hash_simple("abc"), 100u);
    EXPECT_EQ(hash_pjw(""), 0u);
    EXPECT_EQ(mixed_pjw(""), 0u);
    EXPECT_EQ(hash_simple(""), 0u);
    // Even length: every byte used once, from the ends inward.
    EXPECT_EQ(mixed_pjw("ab"), 1665u);
    // Bytes of 0x80 and above count negative.
    EXPECT_EQ(hash_pjw("\xe9t\xe9"), 4294913833u);
    EXPECT_EQ(mixed_pjw("\xe9t\xe9"), 4294908164u);
    EXPECT_EQ(hash_simple("\xe9t\xe9"), 4294967276u);
    // Long enough to fold: the fold precedes the shift, so the top nibble can stay set.
    EXPECT_EQ(hash_pjw("temperature_of_stream_42"), 3284915826u);
    EXPECT_EQ(mixed_pjw("temperature_of_stream_42"), 53584207u);
    EXPECT_EQ(hash_simple("temperature_of_stream_42"), 140u);
}

TEST(HashSizes, PrimeTableAndThresholds) {
    const uint32_t primes[] = {
        2, 3, 5, 7, 11, 13, 17, 23, 37, 53, 73, 107, 157, 227, 313, 443, 619, 877, 1223, 1697,
        2371, 3307, 4547, 6271, 8681, 11941, 16361, 22469, 30869, 42187, 57679, 78893, 107741,
        146891, 200041, 272333, 370631, 503879, 684617, 929009, 1260661, 1709483, 2316449,
        3137879, 4247707, 5747459, 7772797, 10507463, 14198549, 19176523, 25891717, 34945601,
        47142863, 63583589, 85724879, 115537039, 155671577, 209680799, 282348229, 380094151,
        511560869, 688274467, 925828957, 1245085799, 1673993023, 2147483647u};
    ASSERT_EQ(std::size(primes), 66u);
    using zarn::hashtable::next_table_prime;
    EXPECT_EQ(next_table_prime(0), 2u);
    for (size_t i = 0; i < std::size(primes); ++i) {
        EXPECT_EQ(next_table_prime(primes[i]), primes[i]);
        if (i > 0 && primes[i] - 1 > primes[i - 1]) {
            EXPECT_EQ(next_table_prime(primes[i] - 1), primes[i]) << i;
        }
        if (i + 1 < std::size(primes)) {
            EXPECT_EQ(next_table_prime(primes[i] + 1), primes[i + 1]) << i;
        }
    }
    EXPECT_EQ(next_table_prime(2147483648u), 2147483647u);
    EXPECT_EQ(next_table_prime(UINT32_MAX), 2147483647u);

    using zarn::hashtable::threshold_for;
    EXPECT_EQ(threshold_for(2), 1u);
    EXPECT_EQ(threshold_for(3), 1u);
    EXPECT_EQ(threshold_for(5), 2u);
    EXPECT_EQ(threshold_for(7), 2u);
    EXPECT_EQ(threshold_for(53), 17u);
}

TEST(HashCreate, StrategyAndSizeFromHint) {
    struct Case {
        uint32_t hint;
        HashFunc step;
        int chaining, dups;
        uint32_t size, threshold;
        uint8_t chained;
    };
    const Case cases[] = {
        {4999, nullptr, -1, 0, 6271, 2090, 1},
        {5000, nullptr, -1, 0, 22469, 7489, 0},
        {10000, str_step, 0, 0, 42187, 14062, 0},
        {50, nullptr, 1, 0, 53, 17, 1},
        {1043, nullptr, 1, 0, 1223, 407, 1},
        {0, nullptr, 0, 0, 2, 1, 0},
        {10, nullptr, 0, 1, 11, 3, 1},            // duplicates force chaining, hint kept
    };
    for (const Case &c : cases) {
        HashTable *t = hashCreate(c.hint, str_hash, c.step, str_cmp, c.chaining, c.dups);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->size, c.size) << c.hint;
        EXPECT_EQ(t->chained, c.chained) << c.hint;
        if (!c.chained) {
            EXPECT_EQ(t->threshold, c.threshold) << c.hint;
        }
        EXPECT_EQ(t->count, 0u);
        EXPECT_EQ(t->slotsUsed, 0u);
        EXPECT_EQ(t->duplicates, c.dups != 0 ? 1 : 0);
        hashDestroy(t, nullptr);
    }
    EXPECT_EQ(hashCreate(10, nullptr, nullptr, str_cmp, 0, 0), nullptr);
    EXPECT_EQ(hashCreate(10, str_hash, nullptr, nullptr, 0, 0), nullptr);
}

TEST(HashOpen, GrowthAtThresholdKeepsItems) {
    // Hint 0: 2 slots, threshold 1; the second insertion first grows to 23 slots.
    HashTable *t = hashCreate(0, str_hash, str_step, str_cmp, 0, 0);
    char a[] = "alpha", b[] = "beta";
    EXPECT_EQ(hashAddItem(t, a), a);
    EXPECT_EQ(t->size, 2u);
    EXPECT_EQ(hashAddItem(t, b), b);
    EXPECT_EQ(t->size, 23u);
    EXPECT_EQ(t->threshold, 7u);
    EXPECT_EQ(hashFindItem(t, "alpha"), a);
    EXPECT_EQ(hashFindItem(t, "beta"), b);
    hashDestroy(t, nullptr);

    // 53 slots hold 17 items; the 18th insertion first resizes to 619 (threshold 206).
    t = hashCreate(10, str_hash, str_step, str_cmp, 0, 0);
    ASSERT_EQ(t->size, 53u);
    std::vector<std::string> names;
    for (int i = 0; i < 18; ++i) names.push_back("name" + std::to_string(i));
    for (int i = 0; i < 17; ++i) ASSERT_EQ(hashAddItem(t, names[i].data()), names[i].data());
    EXPECT_EQ(t->size, 53u);
    EXPECT_EQ(t->count, 17u);
    // Re-adding an equal item still runs the growth check, but stores nothing.
    std::string again = names[0];
    EXPECT_EQ(hashAddItem(t, again.data()), names[0].data());
    EXPECT_EQ(t->size, 619u);
    EXPECT_EQ(t->threshold, 206u);
    EXPECT_EQ(t->count, 17u);
    EXPECT_EQ(hashAddItem(t, names[17].data()), names[17].data());
    EXPECT_EQ(t->count, 18u);
    for (auto &n : names) EXPECT_EQ(hashFindItem(t, n.c_str()), n.data());
    EXPECT_EQ(hashFindItem(t, "name18"), nullptr);

    // An estimate above the threshold sizes once to the prime at or above 4n.
    hashSizeEstimate(t, 206);
    EXPECT_EQ(t->size, 619u);
    hashSizeEstimate(t, 300);
    EXPECT_EQ(t->size, 1223u);
    EXPECT_EQ(t->threshold, 407u);
    for (auto &n : names) EXPECT_EQ(hashFindItem(t, n.c_str()), n.data());
    hashDestroy(t, nullptr);

    // With growth held off, the last empty slot is never filled: the table refuses.
    t = hashCreate(0, str_hash, nullptr, str_cmp, 0, 0);
    t->threshold = UINT32_MAX;
    EXPECT_EQ(hashAddItem(t, a), a);
    {
        zarn::test::StderrCapture err;
        EXPECT_EQ(hashAddItem(t, b), nullptr);
        EXPECT_EQ(err.text(), "hashAddItem(addDouble): hash table too small\n");
    }
    EXPECT_EQ(t->count, 1u);
    EXPECT_EQ(hashFindItem(t, "beta"), nullptr);  // probe ends at the one empty slot
    EXPECT_EQ(hashFindItem(t, "alpha"), a);
    hashDestroy(t, nullptr);

    HashTable *c = hashCreate(10, str_hash, nullptr, str_cmp, 1, 0);
    hashSizeEstimate(c, 100000);
    EXPECT_EQ(c->size, 11u);
    hashDestroy(c, nullptr);
}

TEST(HashOpen, EqualItemReturnsStoredOneAndNullInputs) {
    for (int chaining : {0, 1}) {
        HashTable *t = hashCreate(100, str_hash, nullptr, str_cmp, chaining, 0);
        char first[] = "x", second[] = "x";
        EXPECT_EQ(hashAddItem(t, first), first);
        EXPECT_EQ(hashAddItem(t, second), first);
        EXPECT_EQ(hashNum(t), 1u);
        EXPECT_EQ(hashAddItem(t, nullptr), nullptr);
        EXPECT_EQ(hashAddItem(nullptr, first), nullptr);
        EXPECT_EQ(hashFindItem(t, nullptr), nullptr);
        EXPECT_EQ(hashFindItem(nullptr, "x"), nullptr);
        EXPECT_EQ(hashFindNextItem(nullptr, "x", nullptr), nullptr);
        EXPECT_EQ(hashRemoveItem(t, nullptr), nullptr);
        EXPECT_EQ(hashRemoveDupItem(nullptr, "x", nullptr), nullptr);
        EXPECT_EQ(hashRemoveItem(t, "y"), nullptr);
        EXPECT_EQ(hashNum(t), 1u);
        EXPECT_EQ(hashRemoveItem(t, "x"), first);
        EXPECT_EQ(hashNum(t), 0u);
        EXPECT_EQ(hashFindItem(t, "x"), nullptr);
        hashDestroy(t, nullptr);
    }
    EXPECT_EQ(hashNum(nullptr), 0u);
    hashDestroy(nullptr, nullptr);
    hashRemoveAll(nullptr, nullptr);
}

TEST(HashOpen, RemovalFromWrappingRunKeepsOthersFindable) {
    // 53 slots, linear probing. A run starting at slot 51 wraps to slots 0..3.
    HashTable *t = hashCreate(10, placed_hash, nullptr, placed_cmp, 0, 0);
    ASSERT_EQ(t->size, 53u);
    std::vector<Placed> pool = {{51, 1}, {51, 2}, {52, 3}, {0, 4}, {51, 5}, {1, 6}, {2, 7}};
    std::set<int> want;
    for (Placed &p : pool) {
        ASSERT_EQ(hashAddItem(t, &p), &p);
        want.insert(p.key);
    }
    EXPECT_EQ(t->slots[51], &pool[0]);
    EXPECT_EQ(t->slots[52], &pool[1]);
    EXPECT_EQ(t->slots[0], &pool[2]);  // key 3, wrapped from 52
    EXPECT_EQ(t->slots[3], &pool[5]);
    // Take out items across the wrap one by one; each time all others stay reachable.
    for (int key : {1, 3, 4, 2, 5, 7, 6}) {
        Placed probe{pool[key - 1].home, key};
        EXPECT_EQ(hashRemoveItem(t, &probe), &pool[key - 1]) << key;
        want.erase(key);
        expect_holds(t, want, pool);
        // No tombstones: a full scan finds exactly the remaining items.
        uint32_t occupied = 0;
        for (uint32_t i = 0; i < t->size; ++i) occupied += t->slots[i] != nullptr;
        EXPECT_EQ(occupied, want.size());
    }
    hashDestroy(t, nullptr);
}

TEST(HashOpen, RandomOperationsAgreeWithReferenceSet) {
        // 877 slots (threshold 292) never grow with at most 250 items.
    std::mt19937 rng(12345);
    std::vector<Placed> pool(250);
    HashTable *t = hashCreate(200, placed_hash, nullptr, placed_cmp, 0, 0);
    ASSERT_EQ(t->size, 877u);
    // Homes in the last seven slots: every run of more than a few items wraps.
    for (int i = 0; i < 250; ++i) pool[i] = Placed{876u - static_cast<uint32_t>(i % 7), i};
    std::set<int> want;
    bool wrapped = false;
    for (int round = 0; round < 6000; ++round) {
        int key = static_cast<int>(rng() % 250);
        if (rng() % 3 != 0) {
            void *got = hashAddItem(t, &pool[key]);
            ASSERT_EQ(got, &pool[key]);
            want.insert(key);
        } else {
            void *got = hashRemoveItem(t, &pool[key]);
            ASSERT_EQ(got, want.count(key) ? &pool[key] : nullptr);
            want.erase(key);
        }
        if (round % 50 == 0) expect_holds(t, want, pool);
        wrapped |= t->slots[0] != nullptr;
    }
    EXPECT_TRUE(wrapped);
    EXPECT_EQ(t->size, 877u);
    expect_holds(t, want, pool);
    hashDestroy(t, nullptr);
}

TEST(HashOpen, DoubleHashingRefusesRemoval) {
    HashTable *t = hashCreate(10, str_hash, str_step, str_cmp, 0, 0);
    char a[] = "kept";
    hashAddItem(t, a);
    zarn::test::StderrCapture err;
    EXPECT_EQ(hashRemoveItem(t, "kept"), nullptr);
    EXPECT_EQ(hashRemoveDupItem(t, "kept", nullptr), nullptr);
    EXPECT_EQ(err.text(),
              "!!hashRemoveItem: Illegal for hash table using double hashing\n"
              "!!hashRemoveItem: Illegal for hash table using double hashing\n");
    EXPECT_EQ(hashNum(t), 1u);
    EXPECT_EQ(hashFindItem(t, "kept"), a);
    hashDestroy(t, nullptr);
}

TEST(HashChained, DuplicatesInInsertionOrderThroughCursor) {
    // Two buckets force unrelated keys into shared chains.
    HashTable *t = hashCreate(2, str_hash, nullptr, str_cmp, 1, 1);
    ASSERT_EQ(t->size, 2u);
    char d1[] = "dup", d2[] = "dup", d3[] = "dup", o1[] = "other", o2[] = "zz";
    for (char *s : {d1, o1, d2, o2, d3}) EXPECT_EQ(hashAddItem(t, s), s);
    EXPECT_EQ(hashNum(t), 5u);
    hash_node *cur = nullptr;
    EXPECT_EQ(hashFindNextItem(t, "dup", &cur), d1);
    EXPECT_EQ(hashFindNextItem(t, "dup", &cur), d2);
    hash_node *at_d2 = cur;
    EXPECT_EQ(hashFindNextItem(t, "dup", &cur), d3);
    EXPECT_EQ(hashFindNextItem(t, "dup", &cur), nullptr);
    EXPECT_EQ(cur->item, d3);  // unchanged on a miss
    EXPECT_EQ(hashFindItem(t, "dup"), d1);

    // Removal through the cursor takes that very node, not the first equal one.
    cur = at_d2;
    EXPECT_EQ(hashRemoveDupItem(t, "dup", &cur), d2);
    cur = nullptr;
    EXPECT_EQ(hashFindNextItem(t, "dup", &cur), d1);
    EXPECT_EQ(hashFindNextItem(t, "dup", &cur), d3);
    EXPECT_EQ(hashFindNextItem(t, "dup", &cur), nullptr);
    // A cursor on a node with another key removes nothing.
    hash_node *on_d3 = cur;
    EXPECT_EQ(hashRemoveDupItem(t, "other", &on_d3), nullptr);
    EXPECT_EQ(hashNum(t), 4u);
    EXPECT_EQ(hashRemoveItem(t, "dup"), d1);
    EXPECT_EQ(hashRemoveItem(t, "dup"), d3);
    EXPECT_EQ(hashRemoveItem(t, "dup"), nullptr);
    EXPECT_EQ(hashNum(t), 2u);

    // slotsUsed follows the non-empty buckets.
    uint32_t nonEmpty = (t->slots[0] != nullptr) + (t->slots[1] != nullptr);
    EXPECT_EQ(t->slotsUsed, nonEmpty);
    EXPECT_EQ(hashRemoveItem(t, "other"), o1);
    EXPECT_EQ(hashRemoveItem(t, "zz"), o2);
    EXPECT_EQ(t->slotsUsed, 0u);
    EXPECT_EQ(t->count, 0u);
    hashDestroy(t, nullptr);
}

int g_released = 0;
void count_release(void *) { ++g_released; }

TEST(HashLifecycle, RemoveAllAndDestroyReleaseEveryItem) {
    for (int chaining : {0, 1}) {
        HashTable *t = hashCreate(20, str_hash, nullptr, str_cmp, chaining, 0);
        std::vector<std::string> names;
        for (int i = 0; i < 30; ++i) names.push_back("v" + std::to_string(i));
        for (auto &n : names) hashAddItem(t, n.data());
        const uint32_t size = t->size;
        g_released = 0;
        hashRemoveAll(t, count_release);
        EXPECT_EQ(g_released, 30);
        EXPECT_EQ(hashNum(t), 0u);
        EXPECT_EQ(t->slotsUsed, 0u);
        EXPECT_EQ(t->size, size);
        EXPECT_EQ(hashFindItem(t, "v3"), nullptr);
        hashRemoveAll(t, count_release);  // empty: nothing released
        EXPECT_EQ(g_released, 30);
        for (auto &n : names) hashAddItem(t, n.data());
        hashRemoveAll(t, hashNoOp);
        EXPECT_EQ(hashNum(t), 0u);
        for (auto &n : names) hashAddItem(t, n.data());
        g_released = 0;
        hashDestroy(t, count_release);
        EXPECT_EQ(g_released, 30);
    }
}

TEST(HashIterators, EmptySlotZeroAndFullWalk) {
    HashTable *t = hashCreate(10, placed_hash, nullptr, placed_cmp, 0, 0);
    hash_iter b = hash_begin(t), e = hash_end(t);
    EXPECT_TRUE(hash_iter_equal(&b, &e));
    EXPECT_EQ(hash_iter_deref(&b), nullptr);
    hash_iter_next(&e);  // stays at the end
    EXPECT_EQ(e.index, t->size);
    Placed zero{0, 1};
    hashAddItem(t, &zero);
    b = hash_begin(t);
    EXPECT_EQ(hash_iter_deref(&b), &zero);
    hash_iter_next(&b);
    EXPECT_TRUE(hash_iter_equal(&b, &e));
    hashDestroy(t, nullptr);

    // Chained: slot 0 with a chain of two, then a later bucket, in that order.
    t = hashCreate(2, placed_hash, nullptr, placed_cmp, 1, 1);
    Placed p0{0, 1}, p1{2, 2}, p2{1, 3};
    for (Placed *p : {&p0, &p1, &p2}) hashAddItem(t, p);
    std::vector<void *> order;
    e = hash_end(t);
    for (hash_iter it = hash_begin(t); !hash_iter_equal(&it, &e); hash_iter_next(&it))
        order.push_back(hash_iter_deref(&it));
    EXPECT_EQ(order, (std::vector<void *>{&p0, &p1, &p2}));
    hashDestroy(t, nullptr);
}

const char *g_swap_to = nullptr;
void *swap_item(void *item) {
    return std::strcmp(static_cast<char *>(item), "old") == 0 ? const_cast<char *>(g_swap_to)
                                                               : nullptr;
}
int count_visit(void *data, void *) { return ++*static_cast<int *>(data) == 2; }

TEST(HashTraversal, IterateReplacesAndWarnsOnHashChange) {
    for (int chaining : {0, 1}) {
        HashTable *t = hashCreate(10, str_hash, nullptr, str_cmp, chaining, 0);
        char old1[] = "old", other[] = "other";
        hashAddItem(t, old1);
        hashAddItem(t, other);
        g_swap_to = "new";  // different hash: replaced in place, with the warning
        testing::internal::CaptureStdout();
        hashIterate(t, swap_item);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  "!! hashIterate: Illegal modification of entry in hashIterate");
        EXPECT_EQ(hashNum(t), 2u);
        bool sawNew = false;
        hash_iter e = hash_end(t);
        for (hash_iter it = hash_begin(t); !hash_iter_equal(&it, &e); hash_iter_next(&it))
            sawNew |= std::strcmp(static_cast<char *>(hash_iter_deref(&it)), "new") == 0;
        EXPECT_TRUE(sawNew);

        // A replacement with the same text is silent.
        hashRemoveAll(t, nullptr);
        hashAddItem(t, old1);
        static char sameText[] = "old";
        g_swap_to = sameText;
        testing::internal::CaptureStdout();
        hashIterate(t, swap_item);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(hashFindItem(t, "old"), sameText);

        // hashDataIterate stops at the first nonzero result.
        hashAddItem(t, other);
        char third[] = "third";
        hashAddItem(t, third);
        int visits = 0;
        hashDataIterate(t, &visits, count_visit);
        EXPECT_EQ(visits, 2);
        hashDestroy(t, nullptr);
    }
}

int same_text(const void *a, const void *b) { return str_cmp(a, b); }
int never_equal(const void *, const void *) { return 1; }
int other_cmp(const void *a, const void *b) {
    return strcasecmp(static_cast<const char *>(a), static_cast<const char *>(b));
}

TEST(HashEqual, TablesComparedByContent) {
    HashTable *a = hashCreate(10, str_hash, nullptr, str_cmp, 0, 0);
    HashTable *b = hashCreate(10000, str_hash, nullptr, str_cmp, 1, 0);
    HashTable *c = hashCreate(10, str_hash, nullptr, other_cmp, 0, 0);
    char x[] = "x", y[] = "y", x2[] = "x", y2[] = "y", z[] = "z";
    hashAddItem(a, x);
    hashAddItem(a, y);
    hashAddItem(b, y2);
    hashAddItem(b, x2);
    hashAddItem(c, x);
    hashAddItem(c, y);
    EXPECT_EQ(hashEqual(a, a, never_equal), 1);
    EXPECT_EQ(hashEqual(a, nullptr, same_text), 0);
    EXPECT_EQ(hashEqual(nullptr, a, same_text), 0);
    EXPECT_EQ(hashEqual(a, b, same_text), 1);
    EXPECT_EQ(hashEqual(b, a, same_text), 1);
    EXPECT_EQ(hashEqual(a, b, never_equal), 0);
    EXPECT_EQ(hashEqual(a, c, same_text), 0);  // different compare functions
    hashAddItem(b, z);
    EXPECT_EQ(hashEqual(a, b, same_text), 0);  // counts differ
    hashRemoveItem(b, "x");
    EXPECT_EQ(hashEqual(a, b, same_text), 0);  // same count, "x" missing from b
    hashDestroy(a, nullptr);
    hashDestroy(b, nullptr);
    hashDestroy(c, nullptr);
}

TEST(HashStats, ChainedAndOpenAddressingReports) {
    HashTable *t = hashCreate(2, placed_hash, nullptr, placed_cmp, 1, 0);
    Placed p[] = {{0, 1}, {2, 2}, {4, 3}, {1, 4}};
    for (Placed &q : p) hashAddItem(t, &q);
    testing::internal::CaptureStdout();
    hashPrintStats(t);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Length of hash table: 2\n"
              "Number of symbols:    4\n"
              "Number of slots used: 2\n"
              "Largest chain length: 3\n"
              "Average chain length: 2\n");
    hashDestroy(t, nullptr);

    t = hashCreate(10, placed_hash, nullptr, placed_cmp, 0, 0);  // 53 slots
    Placed q[] = {{5, 1}, {5, 2}, {5, 3}, {52, 4}, {52, 5}};
    for (Placed &r : q) hashAddItem(t, &r);
    testing::internal::CaptureStdout();
    hashPrintStats(t);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Length of hash table: 53\n"
              "Number of symbols:    5\n"
              "Largest number of jumps: 2\n"
              "Average jumps          : 0.8\n");
    // A count that disagrees with the slots is reported with the larger divisor.
    t->count = 7;
    testing::internal::CaptureStdout();
    hashPrintStats(t);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Length of hash table: 53\n"
              "Number of symbols:    7\n"
              "!! analyzeJumps: Bad symbol count 7 != 7\n"
              "Largest number of jumps: 2\n"
              "Average jumps          : 0.571429\n");
    t->count = 5;
    testing::internal::CaptureStdout();
    hashPrintStats(nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    hashDestroy(t, nullptr);
}

}  // namespace
