// Hash tables: hashes, sizes, growth, removal, duplicates, walks, texts and failures.
#include <gtest/gtest.h>
#include <strings.h>
#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>
#include "hashtable/hashtable_internal.h"
#include "hostile.h"
#include "zarnutils/hashtable.h"

static uint32_t str_hash(const void *s) { return hash_pjw(static_cast<const char *>(s)); }
static int str_cmp(const void *a, const void *b) {
    return std::strcmp(static_cast<const char *>(a), static_cast<const char *>(b));
}
static HashTable *strings(uint32_t hint, int chaining, int dups = 0, HashFunc step = nullptr) {
    return hashCreate(hint, str_hash, step, str_cmp, chaining, dups);
}
// An item that hashes to `home` and is equal to another by `key`: places items in chosen slots.
struct Placed {
    uint32_t home;
    int key;
};
static uint32_t placed_hash(const void *p) { return static_cast<const Placed *>(p)->home; }
static int placed_cmp(const void *a, const void *b) {
    return static_cast<const Placed *>(a)->key != static_cast<const Placed *>(b)->key;
}
static std::vector<std::string> names(const char *stem, int count) {
    std::vector<std::string> v;
    for (int i = 0; i < count; ++i) v.push_back(stem + std::to_string(i));
    return v;
}
static bool is_prime(uint32_t p) {
    for (uint32_t d = 2; d <= p / d; ++d)
        if (p % d == 0) return false;
    return p > 1;
}

TEST(Hash, StringHashes) {
    const struct {
        const char *name;
        const char *text;
        uint32_t pjw, mixed, simple;
    } rows[] = {
        {"no text", nullptr, 0, 0, 0},
        {"empty text", "", 0, 0, 0},
        {"the documented example, the mixed hash taking the last byte first", "abc", 26499, 26994, 100},
        {"bytes above 0x7f count as negative", "\xe9t\xe9", 4294913833u, 4294908164u, 4294967276u},
        {"long enough to fold the top bits", "temperature_of_stream_42", 3284915826u, 53584207u, 140},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(hash_pjw(row.text), row.pjw) << row.name << ": hash_pjw";
        EXPECT_EQ(mixed_pjw(row.text), row.mixed) << row.name << ": mixed_pjw";
        EXPECT_EQ(hash_simple(row.text), row.simple) << row.name << ": hash_simple";
    }
}

TEST(Hash, TablePrimesAscendAndEachIsItsOwnNextPrime) {
    using zarn::hashtable::next_table_prime;
    uint32_t previous = 0;
    for (uint32_t from = 0; previous < 2147483647u; from = previous + 1) {
        const uint32_t prime = next_table_prime(from);
        ASSERT_GT(prime, previous) << "the prime after " << previous;
        EXPECT_TRUE(is_prime(prime)) << prime;
        EXPECT_EQ(next_table_prime(prime), prime) << "next prime of " << prime;
        previous = prime;
    }
    EXPECT_EQ(next_table_prime(UINT32_MAX), 2147483647u) << "past the list: the largest prime";
}

TEST(Hash, ThresholdIsAThirdOfTheSizeExceptForTheSmallestTables) {
    const struct { uint32_t size, threshold; } rows[] = {{2, 1}, {5, 2}, {7, 2}};
    for (const auto &row : rows)
        EXPECT_EQ(zarn::hashtable::threshold_for(row.size), row.threshold) << "size " << row.size;
}

TEST(Hash, CreateChoosesTheKindAndSizeFromTheHint) {
    const struct {
        const char *name;
        uint32_t hint;
        int chaining, duplicates;
        uint32_t size, threshold;
        int chained;
    } rows[] = {
        {"automatic choice below 5000 chains", 4999, -1, 0, 6271, 2090, 1},
        {"automatic choice at 5000 probes, four slots an item", 5000, -1, 0, 22469, 7489, 0},
        {"duplicates force chaining", 10, 0, 1, 11, 3, 1},
    };
    for (const auto &row : rows) {
        HashTable *t = hashCreate(row.hint, str_hash, nullptr, str_cmp, row.chaining, row.duplicates);
        ASSERT_NE(t, nullptr) << row.name;
        EXPECT_EQ(t->size, row.size) << row.name << ": size";
        EXPECT_EQ(t->threshold, row.threshold) << row.name << ": threshold";
        EXPECT_EQ(t->chained, row.chained) << row.name << ": chained";
        EXPECT_EQ(t->duplicates, row.duplicates) << row.name << ": duplicates";
        hashDestroy(t, nullptr);
    }
}

TEST(Hash, OpenTableGrowsWhenTheCountReachesTheThreshold) {
    std::vector<std::string> name = names("name", 17);
    HashTable *t = strings(10, 0);  // 53 slots, threshold 17
    for (int i = 0; i < 17; ++i) hashAddItem(t, name[i].data());
    EXPECT_EQ(t->size, 53u) << "17 items";
    std::string equal_to_first = name[0];
    EXPECT_EQ(hashAddItem(t, equal_to_first.data()), name[0].data()) << "an equal item gives the stored one";
    EXPECT_EQ(t->size, 619u) << "the 18th add grows first, even with an equal item";
    hashSizeEstimate(t, 206);
    EXPECT_EQ(t->size, 619u) << "an estimate within the threshold changes nothing";
    hashSizeEstimate(t, 300);
    EXPECT_EQ(t->size, 1223u) << "an estimate of 300";
    hashDestroy(t, nullptr);
}

// Removal from a run of linear probing moves an item back into the hole exactly when its home lies at or
// before the hole, so every item stays reachable from its home. Homes are slots of a 227-slot table.
struct RunRow {
    const char *name;
    std::vector<uint32_t> homes;   // item k (key k) hashes to homes[k], added in order
    int removed;                   // the key removed
    std::vector<int> slot_of_key;  // where each key then sits (-1: removed)
};

TEST(Hash, RemovalShiftsTheRunBackIntoTheHole) {
    const RunRow rows[] = {
        {"second moved item's home is the first new hole", {3, 3, 4}, 0, {-1, 3, 4}},
        {"item at its home stays, the one behind it moves", {3, 3, 5, 3}, 1, {3, -1, 5, 4}},
        {"item whose home is past the hole stays", {3, 4, 4}, 0, {-1, 4, 5}},
        {"run wrapping past the last slot", {226, 226, 0}, 0, {-1, 226, 0}},
    };
    for (const RunRow &row : rows) {
        std::vector<Placed> items;
        for (std::size_t k = 0; k < row.homes.size(); ++k)
            items.push_back(Placed{row.homes[k], static_cast<int>(k)});
        HashTable *t = hashCreate(50, placed_hash, nullptr, placed_cmp, 0, 0);
        ASSERT_EQ(t->size, 227u) << row.name;
        for (Placed &p : items) hashAddItem(t, &p);
        EXPECT_EQ(hashRemoveItem(t, &items[row.removed]), &items[row.removed]) << row.name;
        const auto occupied =
            std::count_if(t->slots, t->slots + t->size, [](void *s) { return s != nullptr; });
        EXPECT_EQ(size_t(occupied), items.size() - 1)
            << row.name << ": occupied slots, the vacated one emptied";
        for (std::size_t k = 0; k < items.size(); ++k) {
            const int want = row.slot_of_key[k];
            if (want >= 0) {
                EXPECT_EQ(t->slots[want], &items[k]) << row.name << ": key " << k << " in slot " << want;
            }
        }
        hashDestroy(t, nullptr);
    }
}

TEST(Hash, DuplicatesAreWalkedAndRemovedThroughACursor) {
    HashTable *t = strings(2, 1, 1);  // two buckets: chains shared by different keys
    char dup1[] = "dup", dup2[] = "dup", dup3[] = "dup", other[] = "other", zz[] = "zz";
    for (char *s : {dup1, other, dup2, zz, dup3}) hashAddItem(t, s);
    hash_node *cursor = nullptr;
    EXPECT_EQ(hashFindNextItem(t, "dup", &cursor), dup1) << "first";
    EXPECT_EQ(hashFindNextItem(t, "dup", &cursor), dup2) << "second";
    EXPECT_EQ(hashRemoveDupItem(t, "other", &cursor), nullptr) << "a cursor on another key's node";
    EXPECT_EQ(hashRemoveDupItem(t, "dup", &cursor), dup2) << "the cursor's node, not the first equal one";
    cursor = nullptr;
    EXPECT_EQ(hashFindNextItem(t, "dup", &cursor), dup1) << "first of those left";
    EXPECT_EQ(hashFindNextItem(t, "dup", &cursor), dup3) << "last of those left";
    EXPECT_EQ(hashFindNextItem(t, "dup", &cursor), nullptr) << "past the last";
    EXPECT_EQ(hashRemoveItem(t, "dup"), dup1);
    EXPECT_EQ(hashRemoveItem(t, "dup"), dup3);
    EXPECT_EQ(hashRemoveItem(t, "other"), other);
    EXPECT_EQ(hashRemoveItem(t, "zz"), zz);
    EXPECT_EQ(t->slotsUsed, 0u) << "non-empty buckets after removing every item";
    hashDestroy(t, nullptr);
}

TEST(Hash, WithoutDuplicatesARemovalCursorIsIgnored) {
    char other[] = "other", dup[] = "dup";
    HashTable *t = strings(2, 1);
    hashAddItem(t, other);
    hashAddItem(t, dup);
    hash_node *cursor = nullptr;
    hashFindNextItem(t, "other", &cursor);
    EXPECT_EQ(hashRemoveDupItem(t, "dup", &cursor), dup);
    hashDestroy(t, nullptr);
}

static int count_visit(void *visits, void *) {
    ++*static_cast<int *>(visits);
    return 0;
}

// Keys that share a home slot: an equal key is found past it, an absent one is missed at the empty slot
// after them; a visit reaches them and a key in the first slot.
TEST(Hash, KeysPastTheirHomeSlot) {
    Placed first{5, 1}, second{5, 2}, second_again{5, 2}, absent{5, 3}, in_slot_zero{0, 4};
    HashTable *t = hashCreate(10, placed_hash, nullptr, placed_cmp, 0, 0);
    hashAddItem(t, &first);
    hashAddItem(t, &second);
    EXPECT_EQ(hashAddItem(t, &second_again), &second) << "an equal key already added past its home";
    EXPECT_EQ(hashRemoveItem(t, &absent), nullptr) << "a key that is not there";
    EXPECT_EQ(hashNum(t), 2u) << "nothing removed for it";
    hashAddItem(t, &in_slot_zero);
    int visits = 0;
    hashDataIterate(t, &visits, count_visit);
    EXPECT_EQ(visits, 3) << "items visited, the one in the first slot included";
    hashDestroy(t, nullptr);
}

static int g_released = 0;
static void count_release(void *) { ++g_released; }
static int stop_at_second(void *visits, void *) { return int(++*static_cast<int *>(visits) == 2); }

TEST(Hash, VisitStopsEarlyAndEmptyingReleasesEachItemOnce) {
    for (int chaining : {0, 1}) {
        const char *kind = chaining ? "chained" : "open";
        HashTable *t = strings(20, chaining);
        std::vector<std::string> name = names("v", 30);
        for (auto &s : name) hashAddItem(t, s.data());
        int visits = 0;
        hashDataIterate(t, &visits, stop_at_second);
        EXPECT_EQ(visits, 2) << kind << ": a visit stops at the first nonzero";
        g_released = 0;
        hashRemoveAll(t, count_release);
        hashRemoveAll(t, count_release);
        EXPECT_EQ(g_released, 30) << kind << ": released by emptying twice";
        EXPECT_EQ(t->count, 0u) << kind << ": count";
        EXPECT_EQ(t->slotsUsed, 0u) << kind << ": slotsUsed";
        for (auto &s : name) hashAddItem(t, s.data());
        hashDestroy(t, count_release);
        EXPECT_EQ(g_released, 60) << kind << ": released by emptying and destroying";
    }
}

// The items of a table in the order its iterators give them.
static std::vector<void *> walk(HashTable *t) {
    std::vector<void *> order;
    const hash_iter last = hash_end(t);
    for (hash_iter it = hash_begin(t); !hash_iter_equal(&it, &last); hash_iter_next(&it))
        order.push_back(hash_iter_deref(&it));
    return order;
}

TEST(Hash, IteratorsWalkTheSlotsInOrder) {
    Placed p0{0, 1}, p1{2, 2}, p2{1, 3};  // in two buckets p0 and p1 share bucket 0
    const struct {
        const char *kind;
        uint32_t hint;
        int chaining;
        std::vector<void *> order;
    } rows[] = {
        {"chained: along bucket 0, then bucket 1", 2, 1, {&p0, &p1, &p2}},
        {"open: slot by slot", 10, 0, {&p0, &p2, &p1}},
    };
    for (const auto &row : rows) {
        HashTable *t = hashCreate(row.hint, placed_hash, nullptr, placed_cmp, row.chaining, 0);
        EXPECT_TRUE(walk(t).empty()) << row.kind << ": an empty table begins at its end";
        for (Placed *p : {&p0, &p1, &p2}) hashAddItem(t, p);
        EXPECT_EQ(walk(t), row.order) << row.kind;
        hashDestroy(t, nullptr);
    }
}

static int never_equal(const void *, const void *) { return 1; }
static int caseless_cmp(const void *x, const void *y) {
    return strcasecmp(static_cast<const char *>(x), static_cast<const char *>(y));
}

TEST(Hash, TablesAreEqualByContentUnderTheSameCompare) {
    char x[] = "x", y[] = "y", x2[] = "x", y2[] = "y", z[] = "z";
    HashTable *open = strings(10, 0), *chained = strings(10000, 1);
    HashTable *caseless = hashCreate(10, str_hash, nullptr, caseless_cmp, 0, 0);
    for (HashTable *t : {open, caseless}) {
        hashAddItem(t, x);
        hashAddItem(t, y);
    }
    hashAddItem(chained, y2);
    hashAddItem(chained, x2);
    EXPECT_EQ(hashEqual(open, chained, str_cmp), 1) << "same items, another kind of table";
    EXPECT_EQ(hashEqual(open, chained, never_equal), 0) << "items compared with the given function";
    EXPECT_EQ(hashEqual(open, caseless, str_cmp), 0) << "another compare function";
    hashAddItem(chained, z);
    EXPECT_EQ(hashEqual(open, chained, str_cmp), 0) << "one more item";
    hashRemoveItem(chained, "x");
    EXPECT_EQ(hashEqual(open, chained, str_cmp), 0) << "as many items, one different";
    for (HashTable *t : {open, chained, caseless}) hashDestroy(t, nullptr);
}

// What a table's own function does to the table while it runs, once; the trigger runs that function.
static HashTable *g_table = nullptr;
static std::function<void(HashTable *)> g_act;
static void act_once() {
    if (auto act = std::exchange(g_act, nullptr)) act(g_table);
}
static int acting_visit(void *, void *) {
    act_once();
    return 0;
}
static void *acting_modify(void *) {
    act_once();
    return nullptr;
}
static void acting_release(void *) { act_once(); }
static void visit(HashTable *t) { hashDataIterate(t, nullptr, acting_visit); }

TEST(Hash, ChangesFromInsideTheTablesOwnFunctionsAreRefused) {
    static char fresh[] = "fresh";
    using Trigger = void (*)(HashTable *);
    const Trigger modify = [](HashTable *t) { hashIterate(t, acting_modify); };
    const Trigger release = [](HashTable *t) { hashRemoveAll(t, acting_release); };
    const struct {
        const char *rule;
        Trigger trigger;
        std::function<void(HashTable *)> act;
        uint32_t count;
        const char *refused;  // the call the message names
    } rows[] = {
        {"a visit adds nothing", visit, [](HashTable *t) { EXPECT_EQ(hashAddItem(t, fresh), nullptr); }, 3,
         "hashAddItem"},
        {"a visit removes nothing", visit, [](HashTable *t) { EXPECT_EQ(hashRemoveItem(t, "v0"), nullptr); },
         3, "hashRemoveItem"},
        {"a modify function empties nothing", modify, [](HashTable *t) { hashRemoveAll(t, nullptr); }, 3,
         "hashRemoveAll"},
        {"a modify function resizes nothing", modify, [](HashTable *t) { hashSizeEstimate(t, 100000); }, 3,
         "hashSizeEstimate"},
        {"a release function destroys nothing", release, [](HashTable *t) { hashDestroy(t, nullptr); }, 0,
         "hashDestroy"},
    };
    for (const auto &row : rows) {
        HashTable *t = strings(10, 0);
        std::vector<std::string> name = names("v", 3);
        for (auto &s : name) hashAddItem(t, s.data());
        zarn::test::StderrCapture err;
        g_table = t;
        g_act = row.act;
        row.trigger(t);
        EXPECT_EQ(hashNum(t), row.count) << row.rule << ": count";
        EXPECT_EQ(err.text(),
                  std::string("!!") + row.refused + ": Illegal while a function of the table is running\n")
            << row.rule << ": message";
        hashDestroy(t, nullptr);
    }
}

static void *to_new(void *item) {
    return std::strcmp(static_cast<char *>(item), "old") == 0 ? const_cast<char *>("new") : nullptr;
}

TEST(Hash, EveryTextOnItsStream) {
    char old1[] = "old", a[] = "a", b[] = "b";
    Placed in_buckets[] = {{0, 1}, {2, 2}, {4, 3}, {1, 4}};
    Placed in_runs[] = {{5, 1}, {5, 2}, {5, 3}, {52, 4}, {52, 5}};
    const struct {
        const char *what;
        std::function<HashTable *()> run;
        std::string out, err;
    } rows[] = {{"full table",
                 [&] {
                     HashTable *t = strings(0, 0);
                     t->threshold = UINT32_MAX;
                     hashAddItem(t, a);
                     EXPECT_EQ(hashAddItem(t, b), nullptr) << "full table: add";
                     return t;
                 },
                 "", "hashAddItem(addDouble): hash table too small\n"},
                {"removal with a step",
                 [&] {
                     HashTable *t = strings(10, 0, 0, str_hash);  // any step function: double hashing
                     hashAddItem(t, a);
                     EXPECT_EQ(hashRemoveItem(t, "a"), nullptr) << "removal with a step: result";
                     return t;
                 },
                 "", "!!hashRemoveItem: Illegal for hash table using double hashing\n"},
                {"resize refused",
                 [&] {
                     HashTable *t = strings(0, 0);
                     hashSizeEstimate(t, 0x40000001u);
                     return t;
                 },
                 "",
                 "!!hashResize: Unable to allocate memory for new table with 1245085799 slots (reverting to "
                 "existing table with 2 slots)\n"},
                {"iterate changes a hash",
                 [&] {
                     HashTable *t = strings(10, 1);
                     hashAddItem(t, old1);
                     hashIterate(t, to_new);
                     return t;
                 },
                 "!! hashIterate: Illegal modification of entry in hashIterate", ""},
                {"chained statistics",
                 [&] {
                     HashTable *t = hashCreate(2, placed_hash, nullptr, placed_cmp, 1, 0);
                     for (Placed &p : in_buckets) hashAddItem(t, &p);
                     hashPrintStats(t);
                     return t;
                 },
                 "Length of hash table: 2\nNumber of symbols:    4\nNumber of slots used: 2\nLargest chain "
                 "length: 3\nAverage chain length: 2\n",
                 ""},
                {"open statistics, then a bad count",
                 [&] {
                     HashTable *t = hashCreate(10, placed_hash, nullptr, placed_cmp, 0, 0);
                     for (Placed &p : in_runs) hashAddItem(t, &p);
                     hashPrintStats(t);
                     t->count = 7;
                     hashPrintStats(t);
                     t->count = 5;
                     return t;
                 },
                 "Length of hash table: 53\nNumber of symbols:    5\nLargest number of jumps: 2\nAverage "
                 "jumps          : 0.8\n"
                 "Length of hash table: 53\nNumber of symbols:    7\n!! analyzeJumps: Bad symbol count 7 != "
                 "7\nLargest number of jumps: 2\nAverage jumps          : 0.571429\n",
                 ""}};
    for (const auto &row : rows) {
        zarn::test::StderrCapture err;
        testing::internal::CaptureStdout();
        hashDestroy(row.run(), nullptr);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), row.out) << row.what << ": standard output";
        EXPECT_EQ(err.text(), row.err) << row.what << ": standard error";
    }
}

static int stop(void *, void *) { return 1; }
static int same(const void *, const void *) { return 0; }

TEST(Hash, ExtremeArgumentsChangeNothing) {
    zarn::test::StderrCapture err;
    EXPECT_EQ(hashCreate(UINT32_MAX, str_hash, nullptr, str_cmp, 0, 0), nullptr)
        << "a hint past any slot array";
    EXPECT_EQ(hashCreate(1, nullptr, nullptr, str_cmp, 0, 0), nullptr);
    EXPECT_EQ(hashCreate(1, str_hash, nullptr, nullptr, 0, 0), nullptr);
    HashTable *t = strings(0, 0), *other = strings(0, 0);
    hashSizeEstimate(nullptr, 10);
    EXPECT_EQ(hashNum(nullptr), 0u);
    EXPECT_EQ(hashEqual(nullptr, nullptr, same), 1);
    EXPECT_EQ(hashEqual(t, other, nullptr), 0);
    hash_iter past = hash_end(t);
    hash_iter_next(nullptr);
    hash_iter_next(&past);
    EXPECT_EQ(past.index, t->size) << "the end stays at the end";
    EXPECT_EQ(hash_iter_deref(nullptr), nullptr);
    EXPECT_EQ(hash_iter_equal(nullptr, nullptr), 1);
    EXPECT_EQ(hash_iter_equal(nullptr, &past), 0);
    EXPECT_EQ(hashAddItem(nullptr, t), nullptr);
    EXPECT_EQ(hashAddItem(t, nullptr), nullptr);
    EXPECT_EQ(hashFindItem(nullptr, "k"), nullptr);
    EXPECT_EQ(hashRemoveItem(nullptr, "k"), nullptr);
    EXPECT_EQ(hashEqual(t, nullptr, same), 0);
    hash_iter begin = hash_begin(nullptr), end = hash_end(nullptr);
    EXPECT_EQ(hash_iter_equal(&begin, &end), 1);
    hashRemoveAll(nullptr, hashNoOp);  // none of these may fail
    hashDestroy(nullptr, hashNoOp);
    hashPrintStats(nullptr);
    hashIterate(nullptr, to_new);
    hashDataIterate(nullptr, nullptr, stop);
    EXPECT_EQ(err.text(), "") << "nothing said by the calls above";
    EXPECT_EQ(hashNum(t), 0u) << "nothing stored by the calls above";
    hashDestroy(t, nullptr);
    hashDestroy(other, nullptr);
}
