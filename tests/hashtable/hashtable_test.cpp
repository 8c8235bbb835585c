// Hash tables: string hashes, the size policy, growth, removal without
// tombstones against a reference set, chained duplicates, traversal, equality,
// every text the tables print, and every allocation failing once.
#include <gtest/gtest.h>

#include <cstring>
#include <strings.h>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "capture.h"
#include "failsweep.h"
#include "hashtable/hashtable_internal.h"
#include "zarnutils/hashtable.h"

namespace {

uint32_t str_hash(const void *s) { return hash_pjw(static_cast<const char *>(s)); }
uint32_t str_step(const void *s) { return hash_simple(static_cast<const char *>(s)); }
int str_cmp(const void *a, const void *b) { return std::strcmp(static_cast<const char *>(a), static_cast<const char *>(b)); }

// Items whose home slot the test chooses: hash is `home`, equality is `key`.
struct Placed {
    uint32_t home;
    int key;
};
uint32_t placed_hash(const void *p) { return static_cast<const Placed *>(p)->home; }
int placed_cmp(const void *a, const void *b) { return static_cast<const Placed *>(a)->key != static_cast<const Placed *>(b)->key; }

// The table holds exactly `want`, by lookup of every pool item and by a full walk.
void expect_holds(HashTable *t, const std::set<int> &want, const std::vector<Placed> &pool) {
    ASSERT_EQ(hashNum(t), want.size());
    for (const Placed &p : pool) {
        auto *found = static_cast<Placed *>(hashFindItem(t, &p));
        ASSERT_EQ(found, want.count(p.key) != 0 ? &p : nullptr) << "key " << p.key;
    }
    size_t seen = 0;
    for (uint32_t i = 0; i < t->size; ++i) seen += t->slots[i] != nullptr;  // no tombstones
    EXPECT_EQ(seen, want.size());
}

TEST(HashStrings, KnownValuesSignedBytesAndFoldOrder) {
    const struct {
        const char *s;
        uint32_t pjw, mixed, simple;
    } rows[] = {
        {"", 0, 0, 0},
        {"ab", 1650, 1665, 99},  // mixed: last byte first
        {"abc", 26499, 26994, 100},
        {"\xe9t\xe9", 4294913833u, 4294908164u, 4294967276u},            // high bytes count negative
        {"temperature_of_stream_42", 3284915826u, 53584207u, 140},       // the fold precedes the shift
    };
    for (const auto &r : rows) {
        EXPECT_EQ(hash_pjw(r.s), r.pjw) << r.s;
        EXPECT_EQ(mixed_pjw(r.s), r.mixed) << r.s;
        EXPECT_EQ(hash_simple(r.s), r.simple) << r.s;
    }
}

bool is_prime(uint32_t n) {
    if (n < 2) return false;
    for (uint32_t d = 2; d <= n / d; ++d)
        if (n % d == 0) return false;
    return true;
}

// The size table as properties: 66 increasing primes from 2 to 2^31-1, each
// its own next prime and the next prime of everything above its predecessor.
TEST(HashSizes, PrimeTableAndThresholds) {
    using namespace zarn::hashtable;
    std::vector<uint32_t> primes;
    for (uint64_t n = 0; n <= 2147483647u; n = uint64_t{primes.back()} + 1) {
        primes.push_back(next_table_prime(static_cast<uint32_t>(n)));
        ASSERT_TRUE(is_prime(primes.back())) << primes.back();
        ASSERT_EQ(next_table_prime(primes.back()), primes.back());
        if (primes.size() > 1) {
            ASSERT_GT(primes.back(), primes[primes.size() - 2]);
        }
    }
    EXPECT_EQ(primes.size(), 66u);
    EXPECT_EQ(primes.front(), 2u);
    EXPECT_EQ(next_table_prime(UINT32_MAX), 2147483647u);
    for (uint32_t size : {2u, 3u, 4u, 5u, 7u, 53u}) EXPECT_EQ(threshold_for(size), size == 5 ? 2u : size < 5 ? 1u : size / 3) << size;

    const struct {
        uint32_t hint;
        HashFunc step;
        int chaining, dups;
        uint32_t size, threshold;
        uint8_t chained;
    } cases[] = {
        {4999, nullptr, -1, 0, 6271, 2090, 1}, {5000, nullptr, -1, 0, 22469, 7489, 0}, {10000, str_step, 0, 0, 42187, 14062, 0},
        {50, nullptr, 1, 0, 53, 17, 1},        {1043, nullptr, 1, 0, 1223, 407, 1},    {0, nullptr, 0, 0, 2, 1, 0},
        {1, nullptr, 0, 0, 5, 2, 0},           {10, nullptr, 0, 1, 11, 3, 1},  // duplicates force chaining, hint kept
    };
    for (const auto &c : cases) {
        HashTable *t = hashCreate(c.hint, str_hash, c.step, str_cmp, c.chaining, c.dups);
        EXPECT_EQ(t->size * 10 + t->chained, c.size * 10 + c.chained) << c.hint;
        EXPECT_EQ(t->threshold, c.threshold) << c.hint;
        EXPECT_EQ(t->duplicates, c.dups);
        hashDestroy(t, nullptr);
    }
}

TEST(HashOpen, GrowthAtThresholdAndEqualItems) {
    HashTable *t = hashCreate(0, str_hash, str_step, str_cmp, 0, 0);  // 2 slots, threshold 1
    char a[] = "alpha", b[] = "beta", a2[] = "alpha";
    EXPECT_EQ(hashAddItem(t, a), a);
    EXPECT_EQ(t->size, 2u);
    EXPECT_EQ(hashAddItem(t, b), b);  // grows first, to 23 (threshold 7)
    EXPECT_EQ(t->size * 100 + t->threshold, 2307u);
    EXPECT_EQ(hashAddItem(t, a2), a);  // an equal item: the stored one, nothing added
    EXPECT_EQ(hashNum(t), 2u);
    hashDestroy(t, nullptr);

    t = hashCreate(10, str_hash, str_step, str_cmp, 0, 0);  // 53 slots hold 17
    std::vector<std::string> names;
    for (int i = 0; i < 18; ++i) names.push_back("name" + std::to_string(i));
    for (int i = 0; i < 17; ++i) hashAddItem(t, names[i].data());
    EXPECT_EQ(t->size, 53u);
    std::string again = names[0];  // the 18th call, even with an equal item, grows first
    EXPECT_EQ(hashAddItem(t, again.data()), names[0].data());
    EXPECT_EQ(t->size * 1000 + t->threshold, 619206u);
    EXPECT_EQ(hashAddItem(t, names[17].data()), names[17].data());
    hashSizeEstimate(t, 206);  // not above the threshold: nothing
    EXPECT_EQ(t->size, 619u);
    hashSizeEstimate(t, 300);  // the prime at or above 4n
    EXPECT_EQ(t->size * 1000 + t->threshold, 1223407u);
    for (auto &n : names) EXPECT_EQ(hashFindItem(t, n.c_str()), n.data());
    EXPECT_EQ(hashFindItem(t, "name18"), nullptr);
    hashDestroy(t, nullptr);

    t = hashCreate(10, str_hash, nullptr, str_cmp, 1, 0);
    hashSizeEstimate(t, 100000);  // chained tables keep their buckets
    EXPECT_EQ(t->size, 11u);
    EXPECT_EQ(hashAddItem(t, a), a);
    EXPECT_EQ(hashAddItem(t, a2), a);
    EXPECT_EQ(hashRemoveItem(t, "alpha"), a);
    EXPECT_EQ(hashNum(t), 0u);
    hashDestroy(t, nullptr);
}

TEST(HashOpen, RemovalFromAWrappingRunKeepsOthersFindable) {
    HashTable *t = hashCreate(10, placed_hash, nullptr, placed_cmp, 0, 0);  // 53 slots, linear
    std::vector<Placed> pool = {{51, 1}, {51, 2}, {52, 3}, {0, 4}, {51, 5}, {1, 6}, {2, 7}};
    std::set<int> want;
    for (Placed &p : pool) hashAddItem(t, &p), want.insert(p.key);
    EXPECT_EQ(t->slots[0], &pool[2]);  // key 3 wrapped from 52
    EXPECT_EQ(t->slots[3], &pool[5]);
    for (int key : {1, 3, 4, 2, 5, 7, 6}) {
        EXPECT_EQ(hashRemoveItem(t, &pool[key - 1]), &pool[key - 1]) << key;
        want.erase(key);
        expect_holds(t, want, pool);
    }
    hashDestroy(t, nullptr);
}

TEST(HashOpen, RandomOperationsAgreeWithReferenceSet) {
    std::mt19937 rng(12345);
    std::vector<Placed> pool(250);
    HashTable *t = hashCreate(200, placed_hash, nullptr, placed_cmp, 0, 0);  // 877 slots never grow here
    for (int i = 0; i < 250; ++i) pool[i] = Placed{876u - static_cast<uint32_t>(i % 7), i};  // runs wrap
    std::set<int> want;
    bool wrapped = false;
    for (int round = 0; round < 6000; ++round) {
        int key = static_cast<int>(rng() % 250);
        if (rng() % 3 != 0) {
            ASSERT_EQ(hashAddItem(t, &pool[key]), &pool[key]);
            want.insert(key);
        } else {
            ASSERT_EQ(hashRemoveItem(t, &pool[key]), want.erase(key) ? &pool[key] : nullptr);
        }
        if (round % 50 == 0) expect_holds(t, want, pool);
        wrapped |= t->slots[0] != nullptr;
    }
    EXPECT_TRUE(wrapped);
    expect_holds(t, want, pool);
    hashDestroy(t, nullptr);
}

TEST(HashChained, DuplicatesInInsertionOrderThroughCursor) {
    HashTable *t = hashCreate(2, str_hash, nullptr, str_cmp, 1, 1);  // two buckets: shared chains
    char d1[] = "dup", d2[] = "dup", d3[] = "dup", o1[] = "other", o2[] = "zz";
    for (char *s : {d1, o1, d2, o2, d3}) EXPECT_EQ(hashAddItem(t, s), s);
    hash_node *cur = nullptr;
    std::vector<void *> found;
    for (int i = 0; i < 4; ++i) found.push_back(hashFindNextItem(t, "dup", &cur));  // bounded: a stuck cursor fails, not hangs
    EXPECT_EQ(found, (std::vector<void *>{d1, d2, d3, nullptr}));
    EXPECT_EQ(cur->item, d3);  // unchanged by the miss
    cur = nullptr;
    hashFindNextItem(t, "dup", &cur);
    hashFindNextItem(t, "dup", &cur);
    EXPECT_EQ(hashRemoveDupItem(t, "dup", &cur), d2);  // that very node, not the first equal one
    cur = nullptr;
    EXPECT_EQ(hashFindNextItem(t, "dup", &cur), d1);
    EXPECT_EQ(hashRemoveDupItem(t, "other", &cur), nullptr);  // a cursor on another key's node
    EXPECT_EQ(hashNum(t), 4u);
    for (const char *k : {"dup", "dup", "other"}) EXPECT_NE(hashRemoveItem(t, k), nullptr);
    EXPECT_EQ(t->slotsUsed, 1u);
    EXPECT_EQ(hashRemoveItem(t, "zz"), o2);
    EXPECT_EQ(t->slotsUsed * 10 + t->count, 0u);
    hashDestroy(t, nullptr);
    t = hashCreate(2, str_hash, nullptr, str_cmp, 1, 0);  // without duplicates a cursor is ignored
    hashAddItem(t, o1);
    hashAddItem(t, d1);
    hashFindNextItem(t, "other", &(cur = nullptr));
    EXPECT_EQ(hashRemoveDupItem(t, "dup", &cur), d1);
    hashDestroy(t, nullptr);
}

int g_released = 0;
void count_release(void *) { ++g_released; }
int count_visit(void *data, void *) { return ++*static_cast<int *>(data) == 2; }

TEST(HashTraversal, ReleaseWalkIterateAndEqual) {
    for (int chaining : {0, 1}) {
        HashTable *t = hashCreate(20, str_hash, nullptr, str_cmp, chaining, 0);
        std::vector<std::string> names;
        for (int i = 0; i < 30; ++i) names.push_back("v" + std::to_string(i));
        for (auto &n : names) hashAddItem(t, n.data());
        const uint32_t size = t->size;
        int visits = 0;
        hashDataIterate(t, &visits, count_visit);  // stops at the first nonzero result
        g_released = 0;
        hashRemoveAll(t, count_release);
        hashRemoveAll(t, count_release);  // empty: nothing more
        EXPECT_EQ(visits * 100 + g_released, 230);
        EXPECT_EQ(t->size * 100 + t->count + t->slotsUsed, size * 100);
        for (auto &n : names) hashAddItem(t, n.data());
        hashDestroy(t, count_release);
        EXPECT_EQ(g_released, 60);
    }
    // Walks: slot 0 first; a chain of two in slot 0, then a later bucket.
    HashTable *c = hashCreate(2, placed_hash, nullptr, placed_cmp, 1, 1);
    HashTable *o = hashCreate(10, placed_hash, nullptr, placed_cmp, 0, 0);
    hash_iter e = hash_end(o), b = hash_begin(o);
    EXPECT_TRUE(hash_iter_equal(&b, &e));
    EXPECT_EQ(hash_iter_deref(&b), nullptr);
    Placed p0{0, 1}, p1{2, 2}, p2{1, 3};
    for (Placed *p : {&p0, &p1, &p2}) hashAddItem(c, p), hashAddItem(o, p);
    for (HashTable *t : {c, o}) {
        std::vector<void *> order;
        e = hash_end(t);
        for (hash_iter it = hash_begin(t); !hash_iter_equal(&it, &e); hash_iter_next(&it)) order.push_back(hash_iter_deref(&it));
        hash_iter_next(&e);  // stays at the end
        EXPECT_EQ(e.index, t->size);
        EXPECT_EQ(order, t == c ? (std::vector<void *>{&p0, &p1, &p2}) : (std::vector<void *>{&p0, &p2, &p1}));
    }
    hashDestroy(c, nullptr);
    hashDestroy(o, nullptr);
}

int same_text(const void *a, const void *b) { return str_cmp(a, b); }
int never_equal(const void *, const void *) { return 1; }
int other_cmp(const void *a, const void *b) { return strcasecmp(static_cast<const char *>(a), static_cast<const char *>(b)); }

TEST(HashEqual, TablesComparedByContent) {
    HashTable *a = hashCreate(10, str_hash, nullptr, str_cmp, 0, 0);
    HashTable *b = hashCreate(10000, str_hash, nullptr, str_cmp, 1, 0);
    HashTable *c = hashCreate(10, str_hash, nullptr, other_cmp, 0, 0);
    char x[] = "x", y[] = "y", x2[] = "x", y2[] = "y", z[] = "z";
    for (char *s : {x, y}) hashAddItem(a, s), hashAddItem(c, s);
    hashAddItem(b, y2);
    hashAddItem(b, x2);
    EXPECT_EQ(hashEqual(a, a, never_equal), 1);
    EXPECT_EQ(hashEqual(a, b, same_text) * 10 + hashEqual(b, a, same_text), 11);
    EXPECT_EQ(hashEqual(a, b, never_equal), 0);
    EXPECT_EQ(hashEqual(a, c, same_text), 0);  // different compare functions
    hashAddItem(b, z);
    EXPECT_EQ(hashEqual(a, b, same_text), 0);  // counts differ
    hashRemoveItem(b, "x");
    EXPECT_EQ(hashEqual(a, b, same_text), 0);  // same count, "x" missing from b
    for (HashTable *t : {a, b, c}) hashDestroy(t, nullptr);
}

void *to_new(void *item) { return std::strcmp(static_cast<char *>(item), "old") == 0 ? const_cast<char *>("new") : nullptr; }
void *to_same(void *item) { static char same[] = "old"; return std::strcmp(static_cast<char *>(item), "old") == 0 ? same : nullptr; }

// Every text, on the stream it is documented for.
TEST(HashMessages, EveryTextOnItsStream) {
    char old1[] = "old", other[] = "other", a[] = "a", b[] = "b";
    Placed ch[] = {{0, 1}, {2, 2}, {4, 3}, {1, 4}}, op[] = {{5, 1}, {5, 2}, {5, 3}, {52, 4}, {52, 5}};
    const struct {
        const char *what;
        std::function<void(HashTable *&)> run;  // may replace the table
        std::string out, err;
    } rows[] = {
        {"full table", [&](HashTable *&t) { t = hashCreate(0, str_hash, nullptr, str_cmp, 0, 0); t->threshold = UINT32_MAX; hashAddItem(t, a);
                                            EXPECT_EQ(hashAddItem(t, b), nullptr); }, "", "hashAddItem(addDouble): hash table too small\n"},
        {"removal with a step", [&](HashTable *&t) { t = hashCreate(10, str_hash, str_step, str_cmp, 0, 0); hashAddItem(t, a);
                                                     EXPECT_EQ(hashRemoveItem(t, "a"), nullptr); EXPECT_EQ(hashNum(t), 1u); },
         "", "!!hashRemoveItem: Illegal for hash table using double hashing\n"},
        {"resize refused", [&](HashTable *&t) { t = hashCreate(0, str_hash, nullptr, str_cmp, 0, 0); hashSizeEstimate(t, 0x40000001u); },
         "", "!!hashResize: Unable to allocate memory for new table with 1245085799 slots (reverting to existing table with 2 slots)\n"},
        {"iterate changes a hash", [&](HashTable *&t) { t = hashCreate(10, str_hash, nullptr, str_cmp, 1, 0); hashAddItem(t, old1); hashAddItem(t, other);
                                                        hashIterate(t, to_new); EXPECT_EQ(hashFindItem(t, "old"), nullptr); },
         "!! hashIterate: Illegal modification of entry in hashIterate", ""},
        {"iterate keeps the hash", [&](HashTable *&t) { t = hashCreate(10, str_hash, nullptr, str_cmp, 0, 0); hashAddItem(t, old1);
                                                        hashIterate(t, to_same); EXPECT_NE(hashFindItem(t, "old"), old1); }, "", ""},
        {"chained statistics", [&](HashTable *&t) { t = hashCreate(2, placed_hash, nullptr, placed_cmp, 1, 0); for (Placed &p : ch) hashAddItem(t, &p); hashPrintStats(t); },
         "Length of hash table: 2\nNumber of symbols:    4\nNumber of slots used: 2\nLargest chain length: 3\nAverage chain length: 2\n", ""},
        {"open statistics, then a bad count", [&](HashTable *&t) { t = hashCreate(10, placed_hash, nullptr, placed_cmp, 0, 0); for (Placed &p : op) hashAddItem(t, &p);
                                                                    hashPrintStats(t); t->count = 7; hashPrintStats(t); t->count = 5; hashPrintStats(nullptr); },
         "Length of hash table: 53\nNumber of symbols:    5\nLargest number of jumps: 2\nAverage jumps          : 0.8\n"
         "Length of hash table: 53\nNumber of symbols:    7\n!! analyzeJumps: Bad symbol count 7 != 7\nLargest number of jumps: 2\nAverage jumps          : 0.571429\n", ""},
    };
    for (const auto &row : rows) {
        zarn::test::StderrCapture err;
        testing::internal::CaptureStdout();
        HashTable *t = nullptr;
        row.run(t);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), row.out) << row.what;
        EXPECT_EQ(err.text(), row.err) << row.what;
        hashDestroy(t, nullptr);
    }
}

TEST(HashAllocation, FailuresKeepTheTableAsItWas) {
    zarn::test::StderrCapture err;
    char names[18][8];
    for (int i = 0; i < 18; ++i) std::snprintf(names[i], sizeof names[i], "n%d", i);
    HashTable *open = hashCreate(10, str_hash, nullptr, str_cmp, 0, 0);  // 53 slots, threshold 17
    HashTable *chained = hashCreate(10, str_hash, nullptr, str_cmp, 1, 0);
    for (int i = 0; i < 17; ++i) hashAddItem(open, names[i]);

    const std::string resize = "!!hashResize: Unable to allocate memory for new table with 619 slots "
                               "(reverting to existing table with 53 slots)\n";
    const struct {
        const char *name;
        std::function<bool()> op;
        long allocations;
        std::function<void()> check;  // after a failed allocation
    } rows[] = {
        {"hashCreate",
         [] { HashTable *t = hashCreate(10, str_hash, nullptr, str_cmp, 0, 0); hashDestroy(t, nullptr); return t != nullptr; }, 2, [] {}},
        {"chained add",
         [&] { return hashAddItem(chained, names[0]) == names[0] && hashRemoveItem(chained, "n0") == names[0]; }, 1,
         [&] { EXPECT_EQ(hashNum(chained), 0u); }},
        // The growth fails: the table keeps its 53 slots and still takes the item.
        {"growth",
         [&] { return hashAddItem(open, names[17]) == names[17] && open->size == 619; }, 1,
         [&] {
             EXPECT_EQ(err.text(), resize);
             EXPECT_EQ(open->size, 53u);
             EXPECT_EQ(hashRemoveItem(open, "n17"), names[17]);
         }},
        {"hashSizeEstimate",
         [&] { hashSizeEstimate(open, 300); return open->size == 1223; }, 1,
         [&] {
             EXPECT_EQ(err.text(), "!!hashResize: Unable to allocate memory for new table with 1223 slots "
                                   "(reverting to existing table with 619 slots)\n");
         }},
    };
    for (const auto &row : rows) {
        long seen = zarn::test::fail_each_allocation(row.op, [&](long n, bool ok) {
            EXPECT_FALSE(ok) << row.name << " allocation " << n;
            row.check();
        });
        EXPECT_EQ(seen, row.allocations) << row.name;
    }
    for (auto &n : names) EXPECT_EQ(hashFindItem(open, n), n);
    hashDestroy(open, nullptr);
    hashDestroy(chained, nullptr);
}

}  // namespace
