// Size policy of the hash tables, shared with their tests.
#ifndef ZARN_HASHTABLE_HASHTABLE_INTERNAL_H
#define ZARN_HASHTABLE_HASHTABLE_INTERNAL_H

#include <cstdint>

namespace zarn::hashtable {

// Smallest table prime not below n; the largest prime for anything above it.
uint32_t next_table_prime(uint32_t n);
// Count at which an open-addressing table of this size grows before its next insertion.
uint32_t threshold_for(uint32_t size);

}  // namespace zarn::hashtable

#endif
