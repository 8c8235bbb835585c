// Every allocation of the hash tables fails once: no table, no item, or the old slots kept.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "capture.h"
#include "failsweep.h"
#include "zarnutils/hashtable.h"

namespace {

uint32_t str_hash(const void *s) { return hash_pjw(static_cast<const char *>(s)); }
int str_cmp(const void *a, const void *b) { return std::strcmp(static_cast<const char *>(a), static_cast<const char *>(b)); }

TEST(HashAllocation, FailuresKeepTheTableAsItWas) {
    zarn::test::StderrCapture err;
    char names[18][8];
    for (int i = 0; i < 18; ++i) std::snprintf(names[i], sizeof names[i], "n%d", i);
    HashTable *open = hashCreate(10, str_hash, nullptr, str_cmp, 0, 0);  // 53 slots, threshold 17
    HashTable *chained = hashCreate(10, str_hash, nullptr, str_cmp, 1, 0);
    for (int i = 0; i < 17; ++i) hashAddItem(open, names[i]);
    struct Row {
        const char *name;
        std::function<bool()> op;
        long allocations;
        std::function<void(bool)> check;  // on a failed allocation
    };
    const std::string resize = "!!hashResize: Unable to allocate memory for new table with 619 slots "
                               "(reverting to existing table with 53 slots)\n";
    const Row rows[] = {
        {"hashCreate",
         [] {
             HashTable *t = hashCreate(10, str_hash, nullptr, str_cmp, 0, 0);
             hashDestroy(t, nullptr);
             return t != nullptr;
         },
         2, [](bool) {}},
        {"chained add",
         [&] { return hashAddItem(chained, names[0]) == names[0] && hashRemoveItem(chained, "n0") == names[0]; }, 1,
         [&](bool) { EXPECT_EQ(hashNum(chained), 0u); }},
        // The growth fails: the table keeps its 53 slots and still takes the item.
        {"growth",
         [&] { return hashAddItem(open, names[17]) == names[17] && open->size == 619; }, 1,
         [&](bool) {
             EXPECT_EQ(err.text(), resize);
             EXPECT_EQ(open->size, 53u);
             EXPECT_EQ(hashRemoveItem(open, "n17"), names[17]);
         }},
        {"hashSizeEstimate",
         [&] { hashSizeEstimate(open, 300); return open->size == 1223; }, 1,
         [&](bool) {
             EXPECT_EQ(err.text(), "!!hashResize: Unable to allocate memory for new table with 1223 slots "
                                   "(reverting to existing table with 619 slots)\n");
         }},
    };
    for (const Row &row : rows) {
        long seen = zarn::test::fail_each_allocation(row.op, [&](long n, bool ok) {
            EXPECT_FALSE(ok) << row.name << " allocation " << n;
            row.check(ok);
        });
        EXPECT_EQ(seen, row.allocations) << row.name;
    }
    for (auto &n : names) EXPECT_EQ(hashFindItem(open, n), n);
    hashDestroy(open, nullptr);
    hashDestroy(chained, nullptr);
}

}  // namespace
