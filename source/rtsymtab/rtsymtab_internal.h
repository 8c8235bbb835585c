// Storage blocks for texts that are never freed one by one.
#ifndef ZARN_RTSYMTAB_RTSYMTAB_INTERNAL_H
#define ZARN_RTSYMTAB_RTSYMTAB_INTERNAL_H

#include <cstddef>

#include "zarnutils/rtsymtab.h"

namespace zarn::rtsymtab {

constexpr std::size_t kBlockChars = 16384;  // characters per ordinary block
constexpr std::size_t kFullAt = 25;         // a block with this much room or less is full
constexpr std::size_t kOwnBlock = 16360;    // texts this long get a block of their own
constexpr int kRoomScan = 8;                // blocks with room considered for a text

// Copies len characters of text and a terminator into the store.
const char *store_copy(rtsymstor *store, const char *text, std::size_t len);
rtsymstor *store_create();
void store_destroy(rtsymstor *store);
// Number of blocks a store holds (for tests).
std::size_t store_blocks(const rtsymstor *store);

}  // namespace zarn::rtsymtab

#endif
