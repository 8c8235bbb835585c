// Text storage: big blocks filled from their end, one allocation per block.
#include "rtsymtab/rtsymtab_internal.h"

#include <cstdlib>
#include <cstring>

#include "platform/xalloc.h"

namespace {

struct Block {
    Block *nextAll;    // every block of the store
    Block *nextRoom;   // blocks that still have room
    std::size_t free;  // characters still free at the front of data
    char data[1];      // kBlockChars characters (more for an own block)
};

Block *new_block(std::size_t chars) {
    void *mem = zarn::xmalloc(offsetof(Block, data) + chars);
    if (mem == nullptr) return nullptr;
    auto *b = static_cast<Block *>(mem);
    b->nextAll = nullptr;
    b->nextRoom = nullptr;
    b->free = chars;
    return b;
}

char *block_data(Block *b) { return reinterpret_cast<char *>(b) + offsetof(Block, data); }

}  // namespace

struct rtsymstor {
    Block *all;   // every block, newest first
    Block *room;  // blocks with more than kFullAt characters free, newest first
};

namespace zarn::rtsymtab {

rtsymstor *store_create() { return static_cast<rtsymstor *>(zarn::xcalloc(1, sizeof(rtsymstor))); }

void store_destroy(rtsymstor *store) {
    if (store == nullptr) return;
    for (Block *b = store->all; b != nullptr;) {
        Block *next = b->nextAll;
        std::free(b);
        b = next;
    }
    std::free(store);
}

std::size_t store_blocks(const rtsymstor *store) {
    std::size_t n = 0;
    for (const Block *b = store != nullptr ? store->all : nullptr; b != nullptr; b = b->nextAll) ++n;
    return n;
}

const char *store_copy(rtsymstor *store, const char *text, std::size_t len) {
    const std::size_t need = len + 1;
    Block *target = nullptr;
    if (len >= kOwnBlock) {
        target = new_block(need);
        if (target == nullptr) return nullptr;
        target->nextAll = store->all;
        store->all = target;
    } else {
        // First fit among the newest blocks with room; older ones are let go
        // so that the search stays short whatever the texts' lengths.
        Block **link = &store->room;
        for (int scanned = 0; *link != nullptr; ++scanned) {
            if (scanned == kRoomScan) {
                *link = nullptr;
                break;
            }
            if ((*link)->free >= need) {
                target = *link;
                break;
            }
            link = &(*link)->nextRoom;
        }
        if (target == nullptr) {
            target = new_block(kBlockChars);
            if (target == nullptr) return nullptr;
            target->nextAll = store->all;
            store->all = target;
            target->nextRoom = store->room;
            store->room = target;
            link = &store->room;
        }
        if (target->free - need <= kFullAt) *link = target->nextRoom;  // leaves the room list
    }
    target->free -= need;
    char *at = block_data(target) + target->free;
    std::memcpy(at, text, len);
    at[len] = '\0';
    return at;
}

}  // namespace zarn::rtsymtab

using namespace zarn::rtsymtab;

namespace {

const char *add_part(rtsymstor **store, const char *text, std::size_t len) {
    if (*store == nullptr) {
        *store = store_create();
        if (*store == nullptr) return nullptr;
    }
    return store_copy(*store, text, len);
}

}  // namespace

extern "C" ZARN_API const char *rtsymstor_add(rtsymstor **store, const char *text) {
    if (store == nullptr || text == nullptr) return nullptr;
    return add_part(store, text, std::strlen(text));
}

extern "C" ZARN_API const char *rtsymstor_add_part(rtsymstor **store, const char *text, int64_t n) {
    if (store == nullptr || text == nullptr || n < 0) return nullptr;
    return add_part(store, text, strnlen(text, static_cast<std::size_t>(n)));
}

extern "C" ZARN_API void rtsymstor_destroy(rtsymstor **store) {
    if (store == nullptr) return;
    store_destroy(*store);
    *store = nullptr;
}
