/*
 * Hash tables of untyped item pointers, keyed through caller-supplied hash,
 * step and comparison functions. Two strategies share one record:
 *  - open addressing (double hashing, or linear probing when there is no step
 *    function); grows by itself, keeps count at most a third of size;
 *  - separate chaining with a fixed bucket count; the only kind that may hold
 *    duplicate keys.
 * The table never copies, owns or interprets items. A lookup key is a probe
 * item the caller's functions can hash and compare with stored items.
 * The caller's functions (hash, step, compare, release, modify, visit) must
 * not change the table they are called for: such a change is refused with a
 * message on standard error. Tables are not thread-safe; callers serialise access.
 */
#ifndef ZARNUTILS_HASHTABLE_H
#define ZARNUTILS_HASHTABLE_H

#include "zarnutils/zarn_api.h"

ZARN_BEGIN_DECLS

/* Hash or step function of an item (or key). */
typedef uint32_t (*HashFunc)(const void *item);
/* Equality of two items: 0 means equal; must be symmetric in its zero result. */
typedef int (*HashCompareFunc)(const void *a, const void *b);
/* Called once per stored item when a table is emptied or destroyed. */
typedef void (*HashReleaseFunc)(void *item);
/* hashIterate: returns a replacement for the item, or NULL to keep it. */
typedef void *(*HashModifyFunc)(void *item);
/* hashDataIterate: nonzero stops the walk. */
typedef int (*HashVisitFunc)(void *data, void *item);
/* hashEqual: 0 when two items are equal. */
typedef int (*HashItemEqualFunc)(const void *a, const void *b);

/* A node of a chained bucket; chains keep insertion order (new nodes at the tail). */
typedef struct hash_node {
    struct hash_node *next; /* following node, NULL at the tail */
    void *item;             /* the stored pointer */
} hash_node;

/* Field order is part of the ABI: callers read the record. */
typedef struct HashTable {
    uint32_t size;           /* number of slots (buckets); always a table prime */
    uint32_t slotsUsed;      /* chained: non-empty buckets; 0 for open addressing */
    uint32_t count;          /* number of items stored */
    uint32_t threshold;      /* open addressing: grow before inserting once count reaches it */
    HashFunc hash;           /* home slot is hash(item) mod size */
    HashFunc step;           /* double-hashing step; NULL means linear probing */
    HashCompareFunc compare; /* 0 means equal */
    uint8_t chained;         /* 1: separate chaining, 0: open addressing */
    uint8_t duplicates;      /* 1: equal items may be stored more than once (chained only) */
    void **slots;            /* size entries: items (open addressing) or hash_node heads (chained) */
} HashTable;

/* Iterator, passed by value. The end is {table, size, NULL}. */
typedef struct hash_iter {
    HashTable *table; /* the table walked */
    uint32_t index;   /* slot index; size at the end */
    hash_node *node;  /* current chain node (chained tables only) */
} hash_iter;

/*
 * A new empty table; the caller owns it (hashDestroy). chaining < 0 chooses
 * chaining for a size hint below 5000 and open addressing otherwise; 0 open
 * addressing; > 0 chaining. duplicates != 0 forces chaining. NULL when hash or
 * compare is NULL or memory cannot be had; a slot array above 4 GiB counts as
 * memory that cannot be had, here and when a table grows.
 */
ZARN_API HashTable *hashCreate(uint32_t sizeHint, HashFunc hash, HashFunc step, HashCompareFunc compare,
                               int chaining, int duplicates);
/* Open addressing: sizes the table once for about n items. Chained tables ignore it. */
ZARN_API void hashSizeEstimate(HashTable *table, uint32_t n);
/*
 * Stores item unless an equal one is there (tables without duplicates).
 * Returns the item now stored under that key: item itself when inserted, the
 * stored equal item otherwise; NULL for a NULL table or item or a full table.
 */
ZARN_API void *hashAddItem(HashTable *table, void *item);
/* First stored item equal to key, or NULL. */
ZARN_API void *hashFindItem(HashTable *table, const void *key);
/*
 * Next item equal to key. With duplicates and a cursor holding a node, the
 * search starts after that node; a match is stored in *cursor. Enumerate all
 * equal items by setting *cursor = NULL and calling until NULL is returned.
 * Open-addressing tables ignore the cursor.
 */
ZARN_API void *hashFindNextItem(HashTable *table, const void *key, hash_node **cursor);
/*
 * Removes the first item equal to key and returns it, or NULL. Refused (NULL,
 * message on standard error) for tables with a step function.
 */
ZARN_API void *hashRemoveItem(HashTable *table, const void *key);
/*
 * As hashRemoveItem; with duplicates and a cursor holding a node, removes that
 * very node. The cursor's node is freed: reset the cursor before reusing it.
 */
ZARN_API void *hashRemoveDupItem(HashTable *table, const void *key, hash_node **cursor);
/* Empties the table (release(item) for each item when given); the size stays. */
ZARN_API void hashRemoveAll(HashTable *table, HashReleaseFunc release);
/* Releases the items as hashRemoveAll, then frees the table. NULL is a no-op. */
ZARN_API void hashDestroy(HashTable *table, HashReleaseFunc release);
/* A release function that keeps the items. */
ZARN_API void hashNoOp(void *item);
/* Number of items stored; 0 for NULL. */
ZARN_API uint32_t hashNum(const HashTable *table);
/*
 * Calls modify(item) for every item; a non-NULL result replaces the stored
 * pointer in place. A replacement whose hash differs gets a message on
 * standard output and stays where it is.
 */
ZARN_API void hashIterate(HashTable *table, HashModifyFunc modify);
/* Calls visit(data, item) for every item until one call returns nonzero. */
ZARN_API void hashDataIterate(HashTable *table, void *data, HashVisitFunc visit);
/* 1 when both tables hold equal items (by itemEqual) under the same compare, else 0. */
ZARN_API int hashEqual(HashTable *a, HashTable *b, HashItemEqualFunc itemEqual);
/* Prints size, count and probe or chain statistics to standard output. */
ZARN_API void hashPrintStats(HashTable *table);

/* String hashes of a NUL-terminated string; bytes count as signed 8-bit values. */
ZARN_API uint32_t hash_pjw(const char *s);
/* As hash_pjw, taking bytes alternately from the end and the start. */
ZARN_API uint32_t mixed_pjw(const char *s);
/* First byte plus the length (0 for ""); meant as a step function. */
ZARN_API uint32_t hash_simple(const char *s);

/* Iterator at the first item in slot order, or at the end. */
ZARN_API hash_iter hash_begin(HashTable *table);
ZARN_API hash_iter hash_end(HashTable *table);
/* Advances; does nothing at the end. */
ZARN_API void hash_iter_next(hash_iter *it);
/* Item at the iterator; NULL at the end. */
ZARN_API void *hash_iter_deref(const hash_iter *it);
/* 1 when table, index and node are all equal, else 0. */
ZARN_API int hash_iter_equal(const hash_iter *a, const hash_iter *b);

ZARN_END_DECLS

#endif
