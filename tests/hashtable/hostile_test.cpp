// Every hash table entry with NULL, extreme sizes and huge keys, and removal
// and iteration out of order.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <string>

#include "capture.h"
#include "zarnutils/hashtable.h"

namespace {

uint32_t str_hash(const void *s) { return hash_pjw(static_cast<const char *>(s)); }
int str_cmp(const void *a, const void *b) { return std::strcmp(static_cast<const char *>(a), static_cast<const char *>(b)); }
int same(const void *, const void *) { return 0; }
int stop(void *, void *) { return 1; }

TEST(HashHostileCaller, EveryEntryWithExtremeArguments) {
    zarn::test::StderrCapture err;
    std::string huge(100000, '\x80');  // every byte negative as a signed char
    HashTable *t = hashCreate(0, str_hash, nullptr, str_cmp, 0, 0);
    HashTable *t2 = hashCreate(0, str_hash, nullptr, str_cmp, 0, 0);
    hash_node *cursor = nullptr;
    hash_iter it = hash_begin(nullptr);
    struct Row {
        const char *call;
        std::function<int64_t()> run;
        int64_t result;
        std::string err;
    };
    const Row rows[] = {
        {"hashCreate(UINT32_MAX) open, chained, duplicates INT_MIN",
         [] { return (hashCreate(UINT32_MAX, str_hash, nullptr, str_cmp, 0, 0) == nullptr) +
                     (hashCreate(UINT32_MAX, str_hash, nullptr, str_cmp, INT_MAX, 0) == nullptr) +
                     (hashCreate(INT_MAX, str_hash, nullptr, str_cmp, INT_MIN, INT_MIN) == nullptr); }, 3, ""},
        {"hashCreate(NULL hash / NULL compare)",
         [] { return (hashCreate(1, nullptr, nullptr, str_cmp, 0, 0) == nullptr) + (hashCreate(1, str_hash, nullptr, nullptr, 0, 0) == nullptr); }, 2, ""},
        {"hashSizeEstimate(NULL), (t, UINT32_MAX)",
         [&] { hashSizeEstimate(nullptr, UINT32_MAX); hashSizeEstimate(t, UINT32_MAX); return int64_t{t->size}; }, 2,
         "!!hashResize: Unable to allocate memory for new table with 2147483647 slots (reverting to existing table with 2 slots)\n"},
        {"add/find/remove with NULL table or key",
         [&] { return (hashAddItem(nullptr, t) == nullptr) + (hashAddItem(t, nullptr) == nullptr) + (hashFindItem(nullptr, "k") == nullptr) +
                      (hashFindItem(t, nullptr) == nullptr) + (hashFindNextItem(t, nullptr, &cursor) == nullptr) +
                      (hashRemoveItem(nullptr, "k") == nullptr) + (hashRemoveDupItem(t, nullptr, nullptr) == nullptr); }, 7, ""},
        {"a 10^5-byte key", [&] { return (hashAddItem(t, huge.data()) == huge.data()) + (hashFindItem(t, huge.c_str()) == huge.data()); }, 2, ""},
        {"remove twice, then from the emptied table",
         [&] { return (hashRemoveItem(t, huge.c_str()) == huge.data()) + (hashRemoveItem(t, huge.c_str()) == nullptr) + int64_t{hashNum(t)}; }, 2, ""},
        {"hashRemoveAll/hashDestroy/hashNoOp/hashNum(NULL)",
         [] { hashRemoveAll(nullptr, hashNoOp); hashDestroy(nullptr, hashNoOp); hashNoOp(nullptr); return int64_t{hashNum(nullptr)}; }, 0, ""},
        {"hashIterate/hashDataIterate with NULL", [&] { hashIterate(nullptr, nullptr); hashIterate(t, nullptr); hashDataIterate(nullptr, nullptr, stop); hashDataIterate(t, nullptr, nullptr); return 0; }, 0, ""},
        {"hashEqual(NULL, NULL), (t, NULL), NULL item function",
         [&] { return hashEqual(nullptr, nullptr, same) * 100 + hashEqual(t, nullptr, same) * 10 + hashEqual(t, t2, nullptr); }, 100, ""},
        {"hashPrintStats(NULL)", [] { hashPrintStats(nullptr); return 0; }, 0, ""},
        {"string hashes of NULL", [] { return int64_t{hash_pjw(nullptr)} + mixed_pjw(nullptr) + hash_simple(nullptr); }, 0, ""},
        {"string hashes of 10^5 bytes of 0x80",
         [&] { return int64_t{hash_simple(huge.c_str())} - (100000 - 128) + (hash_pjw(huge.c_str()) == mixed_pjw(huge.c_str())); }, 1, ""},
        {"iterators of NULL", [&] { hash_iter e = hash_end(nullptr); hash_iter_next(nullptr); hash_iter_next(&it);
                                    return (hash_iter_deref(nullptr) == nullptr) + (hash_iter_deref(&it) == nullptr) + hash_iter_equal(&it, &e) +
                                           hash_iter_equal(nullptr, nullptr) * 10 + hash_iter_equal(nullptr, &e) * 100; }, 13, ""},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(row.run(), row.result) << row.call;
        EXPECT_EQ(err.text(), row.err) << row.call;
    }
    hashDestroy(t, nullptr);
    hashDestroy(t2, nullptr);
}

}  // namespace
