// Hash tables: hashes, sizes, growth, removal against a reference set, duplicates, walks, texts, failures.
#include <gtest/gtest.h>
#include <strings.h>
#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>
#include "failsweep.h"
#include "hashtable/hashtable_internal.h"
#include "hostile.h"
#include "zarnutils/except.h"
#include "zarnutils/hashtable.h"
using zarn::test::seq;
static uint32_t str_hash(const void *s) { return hash_pjw(static_cast<const char *>(s)); }
static uint32_t str_step(const void *s) { return hash_simple(static_cast<const char *>(s)); }
static int str_cmp(const void *a, const void *b) {
    return std::strcmp(static_cast<const char *>(a), static_cast<const char *>(b));
}
static HashTable *strings(uint32_t hint, int chaining, int dups = 0, HashFunc step = nullptr) {
    return hashCreate(hint, str_hash, step, str_cmp, chaining, dups);
}
struct Placed {
    uint32_t home;
    int key;
};  // hashes to home, equal by key
static uint32_t placed_hash(const void *p) { return static_cast<const Placed *>(p)->home; }
static int placed_cmp(const void *a, const void *b) {
    return static_cast<const Placed *>(a)->key != static_cast<const Placed *>(b)->key;
}
static std::string n(int64_t v) { return std::to_string(v) + " "; }
static std::string shape(const HashTable *t) {
    return seq({std::to_string(t->size), "/", std::to_string(t->threshold), "/", n(hashNum(t))});
}
static std::string is(const void *got, const void *want) { return got == want ? "= " : "!= "; }
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
TEST(Hash, StringHashesSizesAndThresholds) {
    const struct {
        const char *s;
        uint32_t pjw, mixed, simple;
    } rows[] = {{"", 0, 0, 0},
                {"ab", 1650, 1665, 99},
                {"abc", 26499, 26994, 100},
                {"\xe9t\xe9", 4294913833u, 4294908164u, 4294967276u},
                {"temperature_of_stream_42", 3284915826u, 53584207u, 140}};  // high bytes negative
    for (const auto &r : rows)
        EXPECT_EQ(seq({n(hash_pjw(r.s)), n(mixed_pjw(r.s)), n(hash_simple(r.s))}),
                  seq({n(r.pjw), n(r.mixed), n(r.simple)}))
            << r.s;
    using namespace zarn::hashtable;
    uint32_t count = 0,
             last = 0;  // 66 increasing primes, each its own next prime and that of all above its predecessor
    for (uint32_t p = 0; last < 2147483647u; last = p, ++count)
        ASSERT_TRUE((p = next_table_prime(count == 0 ? 0 : last + 1)) > last && is_prime(p) &&
                    next_table_prime(p) == p)
            << p;
    EXPECT_EQ(n(count) + n(next_table_prime(UINT32_MAX)), "66 2147483647 ");
    for (uint32_t size : {2u, 3u, 4u, 5u, 7u, 53u})
        EXPECT_EQ(threshold_for(size), size == 5 ? 2u : size < 5 ? 1u : size / 3) << size;
    const struct {
        uint32_t hint;
        HashFunc step;
        int chaining, dups;
        const char *made;
    } cases[] = {{4999, nullptr, -1, 0, "6271/2090/0 1 0 "},
                 {5000, nullptr, -1, 0, "22469/7489/0 0 0 "},
                 {10000, str_step, 0, 0, "42187/14062/0 0 0 "},
                 {50, nullptr, 1, 0, "53/17/0 1 0 "},
                 {1043, nullptr, 1, 0, "1223/407/0 1 0 "},
                 {0, nullptr, 0, 0, "2/1/0 0 0 "},
                 {1, nullptr, 0, 0, "5/2/0 0 0 "},
                 {10, nullptr, 0, 1, "11/3/0 1 1 "}};  // duplicates force chaining, the hint kept
    for (const auto &c : cases) {
        HashTable *t = hashCreate(c.hint, str_hash, c.step, str_cmp, c.chaining, c.dups);
        EXPECT_EQ(seq({shape(t), n(t->chained), n(t->duplicates), (hashDestroy(t, nullptr), "")}), c.made)
            << c.hint;
    }
}
TEST(Hash, GrowthAtTheThresholdEstimatesAndEqualItems) {
    char a[] = "alpha", b[] = "beta", a2[] = "alpha";
    HashTable *t = strings(0, 0, 0, str_step);  // an equal item gives back the stored one
    EXPECT_EQ(seq({is(hashAddItem(t, a), a), shape(t), is(hashAddItem(t, b), b), shape(t),
                   is(hashAddItem(t, a2), a), shape(t)}),
              "= 2/1/1 = 23/7/2 = 23/7/2 ");
    std::vector<std::string> name = names("name", 18);
    hashDestroy(t, nullptr), t = strings(10, 0);
    for (int i = 0; i < 17; ++i) hashAddItem(t, name[i].data());
    std::string again = name[0];  // the 18th call grows first, even with an equal item
    EXPECT_EQ(seq({shape(t), is(hashAddItem(t, again.data()), name[0].data()), shape(t),
                   is(hashAddItem(t, name[17].data()), name[17].data()), (hashSizeEstimate(t, 206), shape(t)),
                   (hashSizeEstimate(t, 300), shape(t))}),
              "53/17/17 = 619/206/17 = 619/206/18 1223/407/18 ");
    for (int i = 0; i < 19; ++i)
        EXPECT_EQ(hashFindItem(t, ("name" + std::to_string(i)).c_str()), i < 18 ? name[i].data() : nullptr);
    hashDestroy(t, nullptr), t = strings(10, 1);  // chained tables keep their buckets
    EXPECT_EQ(seq({(hashSizeEstimate(t, 100000), shape(t)), is(hashAddItem(t, a), a),
                   is(hashAddItem(t, a2), a), is(hashRemoveItem(t, "alpha"), a), shape(t)}),
              "11/3/0 = = = 11/3/0 ");
    hashDestroy(t, nullptr);
}
TEST(Hash, RandomAddsAndRemovalsAgreeWithAReferenceSet) {
    std::mt19937 rng(12345);
    std::vector<Placed> pool(250);
    for (int i = 0; i < 250; ++i)
        pool[i] = Placed{876u - uint32_t(i % 7), i};  // runs wrap past the last of 877 slots
    HashTable *t = hashCreate(200, placed_hash, nullptr, placed_cmp, 0, 0);
    std::set<int> want;
    for (int round = 0, wrapped = 0; round < 6000 || !wrapped; ++round, wrapped |= t->slots[0] != nullptr) {
        const int key = int(rng() % 250), add = rng() % 3 != 0;
        ASSERT_EQ(add ? hashAddItem(t, &pool[key]) : hashRemoveItem(t, &pool[key]),
                  add || want.count(key) ? &pool[key] : nullptr)
            << round;
        add ? (void)want.insert(key) : (void)want.erase(key);
        const auto used = std::count_if(t->slots, t->slots + t->size,
                                        [](const void *slot) { return slot != nullptr; });  // no tombstones
        ASSERT_EQ(n(hashNum(t)) + n(used), n(want.size()) + n(want.size())) << round;
        for (const Placed &p : pool)
            ASSERT_EQ(hashFindItem(t, &p), want.count(p.key) ? &p : nullptr) << round << " key " << p.key;
    }
    hashDestroy(t, nullptr);
}
TEST(Hash, ChainedDuplicatesThroughACursor) {
    HashTable *t = strings(2, 1, 1);  // two buckets: shared chains
    char d1[] = "dup", d2[] = "dup", d3[] = "dup", o1[] = "other", o2[] = "zz";
    for (char *s : {d1, o1, d2, o2, d3}) hashAddItem(t, s);
    hash_node *cur = nullptr;
    EXPECT_EQ(seq({is(hashFindNextItem(t, "dup", &cur), d1), is(hashFindNextItem(t, "dup", &cur), d2),
                   is(hashFindNextItem(t, "dup", &cur), d3), is(hashFindNextItem(t, "dup", &cur), nullptr),
                   is(cur->item, d3)}),
              "= = = = = ");  // a miss leaves the cursor
    cur = nullptr, hashFindNextItem(t, "dup", &cur), hashFindNextItem(t, "dup", &cur);
    EXPECT_EQ(hashRemoveDupItem(t, "dup", &cur), d2);  // that very node, not the first equal one
    cur = nullptr, hashFindNextItem(t, "dup", &cur);
    EXPECT_EQ(hashRemoveDupItem(t, "other", &cur), nullptr);  // a cursor on another key's node
    EXPECT_EQ(seq({is(hashRemoveItem(t, "dup"), d1), is(hashRemoveItem(t, "dup"), d3),
                   is(hashRemoveItem(t, "other"), o1), n(t->slotsUsed), is(hashRemoveItem(t, "zz"), o2),
                   n(t->slotsUsed), n(t->count)}),
              "= = = 1 = 0 0 ");
    hashDestroy(t, nullptr), t = strings(2, 1);  // without duplicates a cursor is ignored
    hashAddItem(t, o1), hashAddItem(t, d1), hashFindNextItem(t, "other", &(cur = nullptr));
    EXPECT_EQ(hashRemoveDupItem(t, "dup", &cur), d1);
    hashDestroy(t, nullptr);
}
static int g_released = 0;
static void count_release(void *) { ++g_released; }
static int never_equal(const void *, const void *) { return 1; }
TEST(Hash, ReleaseIterateWalkAndEqual) {
    for (int chaining : {0, 1}) {
        HashTable *t = strings(20, chaining);
        std::vector<std::string> name = names("v", 30);
        for (auto &s : name) hashAddItem(t, s.data());
        int visits = 0, size = int(t->size);
        hashDataIterate(t, &visits, [](void *d, void *) {
            return int(++*static_cast<int *>(d) == 2);
        });  // stops at the first nonzero
        g_released = 0, hashRemoveAll(t, count_release), hashRemoveAll(t, count_release);
        EXPECT_EQ(seq({n(visits), n(g_released), n(t->size), n(t->count), n(t->slotsUsed)}),
                  seq({"2 30 ", n(size), "0 0 "}));
        for (auto &s : name) hashAddItem(t, s.data());
        EXPECT_EQ((hashDestroy(t, count_release), g_released), 60);
    }
    HashTable *c = hashCreate(2, placed_hash, nullptr, placed_cmp, 1, 1),
              *o = hashCreate(10, placed_hash, nullptr, placed_cmp, 0, 0);
    hash_iter e = hash_end(o), b = hash_begin(o);
    EXPECT_TRUE(hash_iter_equal(&b, &e) && hash_iter_deref(&b) == nullptr);
    Placed p0{0, 1}, p1{2, 2}, p2{1, 3};  // slot 0 first; in c a chain of two in bucket 0
    for (Placed *p : {&p0, &p1, &p2}) hashAddItem(c, p), hashAddItem(o, p);
    for (HashTable *t : {c, o}) {
        std::vector<void *> order;
        e = hash_end(t);
        for (hash_iter it = hash_begin(t); !hash_iter_equal(&it, &e); hash_iter_next(&it))
            order.push_back(hash_iter_deref(&it));
        hash_iter_next(&e);  // stays at the end
        EXPECT_EQ(order, t == c ? (std::vector<void *>{&p0, &p1, &p2}) : (std::vector<void *>{&p0, &p2, &p1}))
            << (e.index == t->size ? "" : "end moved");
    }
    HashTable *a = strings(10, 0), *d = strings(10000, 1),
              *f = hashCreate(
                  10, str_hash, nullptr,
                  [](const void *x, const void *y) {
                      return strcasecmp(static_cast<const char *>(x), static_cast<const char *>(y));
                  },
                  0, 0);
    char x[] = "x", y[] = "y", x2[] = "x", y2[] = "y", z[] = "z";
    hashAddItem(a, x), hashAddItem(a, y), hashAddItem(f, x), hashAddItem(f, y), hashAddItem(d, y2),
        hashAddItem(d, x2);
    EXPECT_EQ(seq({n(hashEqual(a, a, never_equal)), n(hashEqual(a, d, str_cmp)), n(hashEqual(d, a, str_cmp)),
                   n(hashEqual(a, d, never_equal)), n(hashEqual(a, f, str_cmp)),
                   (hashAddItem(d, z), n(hashEqual(a, d, str_cmp))),
                   (hashRemoveItem(d, "x"), n(hashEqual(a, d, str_cmp)))}),
              "1 1 1 0 0 0 0 ");  // by content, the same compare
    for (HashTable *t : {a, c, d, f, o}) hashDestroy(t, nullptr);
}
// What a table's own function does to the table while it runs, once; the trigger runs that function.
static HashTable *g_table = nullptr;
static std::function<void(HashTable *)> g_act;
static void act_once() {
    if (auto act = std::exchange(g_act, nullptr)) act(g_table);
}
static int acting_cmp(const void *a, const void *b) { return act_once(), str_cmp(a, b); }
static const CII_Except_T g_out = {"out of the visit"};
static void visit(HashTable *t) {
    hashDataIterate(t, nullptr, [](void *, void *) { return act_once(), 0; });
}
TEST(Hash, ChangesFromInsideTheTablesOwnFunctionsAreRefused) {
    const auto refused = [](const char *fn) {
        return std::string("!!") + fn + ": Illegal while a function of the table is running\n";
    };
    static char fresh[] = "fresh";
    using Trigger = void (*)(HashTable *);
    const Trigger modify = [](HashTable *t) {
        hashIterate(t, [](void *) -> void * { return act_once(), nullptr; });
    };
    const Trigger release = [](HashTable *t) { hashRemoveAll(t, [](void *) { act_once(); }); };
    const Trigger compare = [](HashTable *t) { hashFindItem(t, "v1"); };
    const struct {
        const char *rule;
        Trigger trigger;
        std::function<void(HashTable *)> act;
        uint32_t count;
        std::string err;
    } rows[] = {
        {"a visit adds nothing", visit, [](HashTable *t) { EXPECT_EQ(hashAddItem(t, fresh), nullptr); }, 3,
         refused("hashAddItem")},
        {"a visit removes nothing", visit, [](HashTable *t) { EXPECT_EQ(hashRemoveItem(t, "v0"), nullptr); },
         3, refused("hashRemoveItem")},
        {"a visit may look up", visit, [](HashTable *t) { EXPECT_NE(hashFindItem(t, "v2"), nullptr); }, 3,
         ""},
        {"a modify function empties nothing", modify, [](HashTable *t) { hashRemoveAll(t, nullptr); }, 3,
         refused("hashRemoveAll")},
        {"a modify function resizes nothing (chained tables never resize)", modify,
         [](HashTable *t) { hashSizeEstimate(t, 100000); }, 3, refused("hashSizeEstimate")},
        {"a release function destroys nothing", release, [](HashTable *t) { hashDestroy(t, nullptr); }, 0,
         refused("hashDestroy")},
        {"a compare function adds nothing", compare,
         [](HashTable *t) { EXPECT_EQ(hashAddItem(t, fresh), nullptr); }, 3, refused("hashAddItem")},
        {"a raise out of a visit leaves the table free",
         [](HashTable *t) {
             ZARN_TRY visit(t);
             ZARN_ELSE ZARN_END_TRY;
             EXPECT_EQ(hashAddItem(t, fresh), fresh);
         },
         [](HashTable *) { ZARN_RAISE(g_out); }, 4, ""},
    };
    for (const auto &r : rows)
        for (int chaining : {0, 1}) {
            HashTable *t = hashCreate(10, str_hash, nullptr, acting_cmp, chaining, 0);
            std::vector<std::string> name = names("v", 3);
            for (auto &s : name) hashAddItem(t, s.data());
            zarn::test::StderrCapture err;
            g_table = t, g_act = r.act, r.trigger(t);
            const bool said = !chaining || r.err.find("Estimate") == std::string::npos;
            EXPECT_EQ(seq({n(hashNum(t)), err.text()}), seq({n(r.count), said ? r.err : ""}))
                << r.rule << (chaining ? ", chained" : "");
            hashDestroy(t, nullptr);
        }
}
static void *to_new(void *item) {
    return std::strcmp(static_cast<char *>(item), "old") == 0 ? const_cast<char *>("new") : nullptr;
}
static void *to_same(void *item) {
    static char same[] = "old";
    return std::strcmp(static_cast<char *>(item), "old") == 0 ? same : nullptr;
}
TEST(Hash, EveryTextOnItsStream) {
    char old1[] = "old", other[] = "other", a[] = "a", b[] = "b";
    Placed ch[] = {{0, 1}, {2, 2}, {4, 3}, {1, 4}}, op[] = {{5, 1}, {5, 2}, {5, 3}, {52, 4}, {52, 5}};
    const struct {
        const char *what;
        std::function<HashTable *()> run;
        std::string out, err;
    } rows[] = {{"full table",
                 [&] {
                     HashTable *t = strings(0, 0);
                     t->threshold = UINT32_MAX;
                     hashAddItem(t, a);
                     EXPECT_EQ(hashAddItem(t, b), nullptr);
                     return t;
                 },
                 "", "hashAddItem(addDouble): hash table too small\n"},
                {"removal with a step",
                 [&] {
                     HashTable *t = strings(10, 0, 0, str_step);
                     hashAddItem(t, a);
                     EXPECT_EQ(seq({is(hashRemoveItem(t, "a"), nullptr), n(hashNum(t))}), "= 1 ");
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
                     hashAddItem(t, old1), hashAddItem(t, other), hashIterate(t, to_new);
                     EXPECT_EQ(hashFindItem(t, "old"), nullptr);
                     return t;
                 },
                 "!! hashIterate: Illegal modification of entry in hashIterate", ""},
                {"iterate keeps the hash",
                 [&] {
                     HashTable *t = strings(10, 0);
                     hashAddItem(t, old1), hashIterate(t, to_same);
                     EXPECT_NE(hashFindItem(t, "old"), old1);
                     return t;
                 },
                 "", ""},
                {"chained statistics",
                 [&] {
                     HashTable *t = hashCreate(2, placed_hash, nullptr, placed_cmp, 1, 0);
                     for (Placed &p : ch) hashAddItem(t, &p);
                     hashPrintStats(t);
                     return t;
                 },
                 "Length of hash table: 2\nNumber of symbols:    4\nNumber of slots used: 2\nLargest chain "
                 "length: 3\nAverage chain length: 2\n",
                 ""},
                {"open statistics, then a bad count",
                 [&] {
                     HashTable *t = hashCreate(10, placed_hash, nullptr, placed_cmp, 0, 0);
                     for (Placed &p : op) hashAddItem(t, &p);
                     hashPrintStats(t), t->count = 7, hashPrintStats(t), t->count = 5,
                                        hashPrintStats(nullptr);
                     return t;
                 },
                 "Length of hash table: 53\nNumber of symbols:    5\nLargest number of jumps: 2\nAverage "
                 "jumps          : 0.8\n"
                 "Length of hash table: 53\nNumber of symbols:    7\n!! analyzeJumps: Bad symbol count 7 != "
                 "7\nLargest number of jumps: 2\nAverage jumps          : 0.571429\n",
                 ""}};
    for (const auto &row : rows) {
        zarn::test::StderrCapture err;
        testing::internal::CaptureStdout(), hashDestroy(row.run(), nullptr);
        EXPECT_EQ(testing::internal::GetCapturedStdout() + "|" + err.text(), row.out + "|" + row.err)
            << row.what;
    }
}
TEST(Hash, AllocationFailuresKeepTheTableAsItWas) {
    zarn::test::StderrCapture err;
    std::vector<std::string> name = names("n", 18);
    HashTable *open = strings(10, 0), *chained = strings(10, 1);  // open: 53 slots, threshold 17
    for (int i = 0; i < 17; ++i) hashAddItem(open, name[i].data());
    const std::string text = "!!hashResize: Unable to allocate memory for new table with ";
    const struct {
        const char *name;
        std::function<bool()> op;
        long allocations;
        std::function<std::string()> after;
        std::string want;
    } rows[] = {
        {"hashCreate",
         [] {
             HashTable *t = strings(10, 0);
             hashDestroy(t, nullptr);
             return t != nullptr;
         },
         2, [] { return ""; }, ""},
        {"chained add",
         [&] {
             return hashAddItem(chained, name[0].data()) == name[0].data() &&
                    hashRemoveItem(chained, "n0") == name[0].data();
         },
         1, [&] { return n(hashNum(chained)); }, "0 "},
        {"growth: the table keeps its slots and still takes the item",
         [&] { return hashAddItem(open, name[17].data()) == name[17].data() && open->size == 619; }, 1,
         [&] {
             return seq({err.text(), shape(open), is(hashRemoveItem(open, "n17"), name[17].data())});
         },
         text + "619 slots (reverting to existing table with 53 slots)\n53/17/18 = "},
        {"hashSizeEstimate",
         [&] {
             hashSizeEstimate(open, 300);
             return open->size == 1223;
         },
         1, [&] { return err.text(); }, text + "1223 slots (reverting to existing table with 619 slots)\n"}};
    for (const auto &row : rows)
        EXPECT_EQ(zarn::test::fail_each_allocation(row.op,
                                                   [&](long k, bool ok) {
                                                       EXPECT_EQ(row.after() + (ok ? "!" : ""), row.want)
                                                           << row.name << k;
                                                   }),
                  row.allocations)
            << row.name;
    for (auto &s : name) EXPECT_EQ(hashFindItem(open, s.c_str()), s.data());
    hashDestroy(open, nullptr), hashDestroy(chained, nullptr);
}
static int stop(void *, void *) { return 1; }
static int same(const void *, const void *) { return 0; }
TEST(Hash, ExtremeArgumentsChangeNothing) {
    zarn::test::StderrCapture err;
    std::string huge(100000, '\x80');  // every byte negative as a signed char
    HashTable *t = strings(0, 0), *t2 = strings(0, 0);
    hash_node *cursor = nullptr;
    hash_iter it = hash_begin(nullptr), e = hash_end(nullptr);
    for (uint32_t hint : {UINT32_MAX, uint32_t{INT_MAX}})
        for (int mode : {INT_MIN, 0, INT_MAX})
            EXPECT_EQ(hashCreate(hint, str_hash, nullptr, str_cmp, mode, mode), nullptr) << hint << mode;
    EXPECT_TRUE(!hashCreate(1, nullptr, nullptr, str_cmp, 0, 0) &&
                !hashCreate(1, str_hash, nullptr, nullptr, 0, 0));
    hashSizeEstimate(nullptr, UINT32_MAX), hashSizeEstimate(t, UINT32_MAX);
    EXPECT_EQ(err.text() + shape(t),
              "!!hashResize: Unable to allocate memory for new table with 2147483647 slots (reverting to "
              "existing table with 2 slots)\n2/1/0 ");
    EXPECT_TRUE(!hashAddItem(nullptr, t) && !hashAddItem(t, nullptr) && !hashFindItem(nullptr, "k") &&
                !hashFindItem(t, nullptr) && !hashFindNextItem(t, nullptr, &cursor) &&
                !hashRemoveItem(nullptr, "k") && !hashRemoveDupItem(t, nullptr, nullptr));
    EXPECT_EQ(
        seq({is(hashAddItem(t, huge.data()), huge.data()), is(hashFindItem(t, huge.c_str()), huge.data()),
             is(hashRemoveItem(t, huge.c_str()), huge.data()), is(hashRemoveItem(t, huge.c_str()), nullptr),
             n(hashNum(t)), n(hash_simple(huge.c_str())),
             n(hash_pjw(huge.c_str()) == mixed_pjw(huge.c_str()))}),
        "= = = = 0 99872 1 ");
    hashRemoveAll(nullptr, hashNoOp), hashDestroy(nullptr, hashNoOp), hashNoOp(nullptr),
        hashPrintStats(nullptr), hash_iter_next(nullptr), hash_iter_next(&it);
    hashIterate(nullptr, nullptr), hashIterate(t, nullptr), hashDataIterate(nullptr, nullptr, stop),
        hashDataIterate(t, nullptr, nullptr);
    EXPECT_EQ(seq({n(hashNum(nullptr)), n(hashEqual(nullptr, nullptr, same)), n(hashEqual(t, nullptr, same)),
                   n(hashEqual(t, t2, nullptr)),
                   n(int64_t{hash_pjw(nullptr)} + mixed_pjw(nullptr) + hash_simple(nullptr)),
                   is(hash_iter_deref(nullptr), nullptr), is(hash_iter_deref(&it), nullptr),
                   n(hash_iter_equal(&it, &e)), n(hash_iter_equal(nullptr, nullptr)),
                   n(hash_iter_equal(nullptr, &e)), err.text()}),
              "0 1 0 0 0 = = 1 1 0 ");
    hashDestroy(t, nullptr), hashDestroy(t2, nullptr);
}
