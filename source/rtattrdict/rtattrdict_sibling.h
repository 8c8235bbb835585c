// What the lists built on an attribute dictionary (variables, equations, the
// Jacobian) may use of it beyond the public calls: the name limits, direct
// column and sparse-cell access at the head, and attribute lookup. The record
// layout stays behind these accessors; they are inline for the hot paths.
#ifndef ZARN_RTATTRDICT_SIBLING_H
#define ZARN_RTATTRDICT_SIBLING_H

#include <climits>
#include <cstdint>

#include "zarnutils/rtattrdict.h"

namespace zarn::rtattrdict {

// Longest element name, and the size of a buffer that holds one.
inline constexpr int kNameMax = ZARN_NAME_MAX;
inline constexpr int kNameBuf = ZARN_NAME_BUF;

// One 8-byte slot of a sparse record.
union SparseSlot {
    double d;
    int32_t i;
    const char *s;
    void *v;
    unsigned char b;
};
static_assert(sizeof(SparseSlot) == 8, "sparse slots are 8 bytes");

extern const ::rtattrdict_ops kHeadOps;

inline bool is_head(const rtattrdict_t *d) { return d->ops == &kHeadOps; }

// Offset of d's element 1 in the head at the top of its chain, minus one:
// element i of d is cell offset + i - 1 of every head column.
inline int32_t head_offset(const rtattrdict_t *d) {
    int32_t off = 0;
    while (!is_head(d)) {
        const auto *e = reinterpret_cast<const rtattrdict_embedded_t *>(d);
        off += e->start - 1;
        d = e->parent;
    }
    return off;
}

// Elements 1..held_elements(d) of d lie in its head's columns: all of them,
// unless d is a window that its head, cut under it, left partly beyond its
// cells. Whole-column walks over a window go no further.
inline int32_t held_elements(const rtattrdict_t *d) {
    int64_t offset = 0;
    const rtattrdict_t *head = d;
    while (!is_head(head)) {
        const auto *e = reinterpret_cast<const rtattrdict_embedded_t *>(head);
        offset += e->start - 1;
        head = e->parent;
    }
    const int64_t room = static_cast<int64_t>(head->capacity) - offset;
    return room >= d->size ? d->size : room > 0 ? static_cast<int32_t>(room) : 0;
}

// Index in d's parent of d's element 1 (1 for a head).
inline int32_t window_start(const rtattrdict_t *d) {
    return is_head(d) ? 1 : reinterpret_cast<const rtattrdict_embedded_t *>(d)->start;
}

// Index i of d in its parent's numbering, in 64 bits and kept within int32_t,
// so that an index beyond either end of the window stays beyond the parent's.
inline int32_t parent_index(const rtattrdict_t *d, int32_t i) {
    const int64_t k = static_cast<int64_t>(window_start(d)) + i - 1;
    return k > INT32_MAX ? INT32_MAX : (k < INT32_MIN ? INT32_MIN : static_cast<int32_t>(k));
}

// True when rtattrdict_move_items(d, src, dst, count) moves elements: every
// level from d up to the head takes the move.
bool moves(const rtattrdict_t *d, int32_t src, int32_t dst, int32_t count);

// True when rtattrdict_relocate(d, start) moves d's elements in its parent:
// d is a window and every level up to the head takes the move. The lists
// that own memory for their items free it for the items the move overwrites.
bool relocate_moves(const rtattrdict_t *d, int32_t start);

// The attribute of that name at d's head, or NULL. Its record keeps its
// address for the head's life; its column moves on a capacity change.
rtattr_t *lookup_attr(rtattrdict_t *d, const char *name);

// True when looking up the name (len bytes, no NUL among them) in d would
// give element i, known without the lookup: d is a head, element i holds
// that name, and every named element is the one its name finds. False says
// nothing: look the name up.
bool finds(rtattrdict_t *d, int32_t i, const char *name, size_t len);

// Base of a dense attribute's column: cell k - 1 is head element k.
template <class T>
inline T *column_base(const rtattr_t *a) {
    return static_cast<T *>(a->where.column);
}

// Head element k's sparse record, one slot for each sparse attribute (k
// within 1..capacity), or NULL when the element has no sparse record yet.
inline SparseSlot *sparse_record(rtattrdict_t *head, int32_t k) {
    void **records = reinterpret_cast<rtattrdict_head_t *>(head)->sparse;
    return records != nullptr ? static_cast<SparseSlot *>(records[k - 1]) : nullptr;
}

// The slot of sparse attribute a in head element k's record (k within
// 1..capacity), or NULL when the element has no sparse record yet.
inline SparseSlot *sparse_cell(rtattrdict_t *head, int32_t k, const rtattr_t *a) {
    SparseSlot *record = sparse_record(head, k);
    return record != nullptr ? record + a->where.slot : nullptr;
}

}  // namespace zarn::rtattrdict

#endif
