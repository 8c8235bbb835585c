// Embedded dictionaries: windows that translate indices and prefixes to their parent.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/xalloc.h"
#include "platform/zassert.h"
#include "rtattrdict/rtattrdict_internal.h"
#include "rtattrdict/rtattrdict_messages.h"
#include "rtopipe/report.h"

namespace zarn::rtattrdict {

namespace {

rtattrdict_t *parent_of(rtattrdict_t *d) { return as_emb(d)->parent; }
int32_t start_of(rtattrdict_t *d) { return as_emb(d)->start; }

void unlink_child(rtattrdict_t *parent, rtattrdict_t *child) {
    if (parent == nullptr || parent->children == nullptr) return;
    gl_list_t *list = parent->children;
    for (gl_top(list); !gl_end(list); gl_next(list))
        if (gl_get(list) == child) {
            gl_unlinkcur(list);
            return;
        }
}

// Puts the window's prefix in front of buf; false when the result would be too long.
bool prepend_prefix(rtattrdict_t *d, char *buf) {
    const char *prefix = as_emb(d)->prefix;
    size_t plen = std::strlen(prefix);
    if (plen == 0) return true;
    size_t blen = std::strlen(buf);
    if (plen + blen > static_cast<size_t>(kNameMax)) return false;
    std::memmove(buf + plen, buf, blen + 1);
    std::memcpy(buf, prefix, plen);
    return true;
}

void emb_defunct(rtattrdict_t *d, int32_t first, int32_t last) {
    if (first < 1 || first > last || last > d->capacity) {
        zarn::rtopipe::report(msg::kEmbDefunct, first, last, d->capacity);
        return;
    }
    rtattrdict_t *p = parent_of(d);
    p->ops->defunct(p, parent_index(d, first), parent_index(d, last));
}

void emb_change_capacity(rtattrdict_t *d, int32_t capacity);

void emb_destroy(rtattrdict_t *d) {
    if (d->size > 0) {
        // A head cut under the window keeps only the cells before the cut to reset.
        const int32_t held = held_elements(d);
        if (held > 0) d->ops->defunct(d, 1, held);
        if (d->children != nullptr) {
            d->ops->resize(d, 0);
            emb_change_capacity(d, 0);
        }
    }
    gl_destroylist(d->children);
    unlink_child(parent_of(d), d);
    std::free(d);
}

void emb_resize(rtattrdict_t *d, int32_t size) {
    if (size == d->size) return;
    rtattrdict_t *p = parent_of(d);
    if (size < 0) {
        zarn::rtopipe::report(msg::kEmbResizeNegative, size);
        return;
    }
    if (static_cast<int64_t>(start_of(d)) + size - 1 > p->size) {
        zarn::rtopipe::report(msg::kEmbResizeParent, p->size, p->capacity, start_of(d), size);
        return;
    }
    if (size < d->size) d->ops->defunct(d, size + 1, d->size);
    if (size > d->capacity) {
        zarn::rtopipe::report(msg::kEmbResizeBeyond, size, d->capacity);
        size = d->capacity;
    }
    d->size = size;
}

void emb_change_capacity(rtattrdict_t *d, int32_t capacity) {
    if (capacity == d->capacity) return;
    if (capacity < 0) {
        assert_report(msg::kAssertEmbCapNegative, msg::kSource, __LINE__);
        capacity = 0;
        if (capacity == d->capacity) return;
    }
    if (capacity < d->size) {
        zarn::rtopipe::report(msg::kEmbCapBelowSize, capacity, d->size);
        return;
    }
    rtattrdict_t *p = parent_of(d);
    if (p->children != nullptr) {
        int32_t old = d->capacity;
        if (static_cast<int64_t>(p->size) + (capacity - old) > INT32_MAX) {  // no parent can grow that far
            zarn::rtopipe::report(msg::kEmbCapParent, p->size, p->capacity, start_of(d), capacity);
            return;
        }
        if (capacity < old) {
            d->capacity = capacity;
            splice(p, d, start_of(d), old, capacity);
        } else if (splice(p, d, start_of(d), old, capacity)) {
            d->capacity = capacity;  // a parent that could not make the room keeps the window as it was
        }
        return;
    }
    if (static_cast<int64_t>(start_of(d)) + capacity - 1 > p->size) {
        zarn::rtopipe::report(msg::kEmbCapParent, p->size, p->capacity, start_of(d), capacity);
        return;
    }
    d->capacity = capacity;
}

void emb_empty_all(rtattrdict_t *d) {
    d->ops->resize(d, 0);
    emb_change_capacity(d, 0);
}

// The window's whole capacity fits in its parent from start.
bool relocate_fits(const rtattrdict_t *d, int32_t start) {
    const auto *w = reinterpret_cast<const Embedded *>(d);
    return start >= 1 && static_cast<int64_t>(start) + d->capacity - 1 <= w->parent->size;
}

void emb_relocate(rtattrdict_t *d, int32_t start) {
    rtattrdict_t *p = parent_of(d);
    if (!relocate_fits(d, start)) {
        zarn::rtopipe::report(msg::kEmbRelocate);
        return;
    }
    p->ops->move_elems(p, start_of(d), start, d->size);
    as_emb(d)->start = start;
}

void emb_move_elems(rtattrdict_t *d, int32_t src, int32_t dst, int32_t count) {
    if (src == dst) return;
    if (count < 0) {
        zarn::rtopipe::report(msg::kEmbMoveNegative, count);
        return;
    }
    if (!move_fits(d, src, dst, count)) {
        zarn::rtopipe::report(msg::kEmbMoveBad, src, dst, count, d->size);
        return;
    }
    rtattrdict_t *p = parent_of(d);
    p->ops->move_elems(p, parent_index(d, src), parent_index(d, dst), count);
}

int32_t emb_additems(rtattrdict_t *d, int32_t start, int32_t count, const char *const *names, char *buf) {
    if (!prepend_prefix(d, buf)) {
        zarn::rtopipe::report(msg::kEmbAddItemsPrefix, as_emb(d)->prefix, buf, kNameMax);
        return 0;
    }
    rtattrdict_t *p = parent_of(d);
    return p->ops->additems(p, parent_index(d, start), count, names, buf);
}

int32_t emb_addgroup(rtattrdict_t *d, int32_t start, int32_t count, int32_t width, const char *block,
                     char *buf) {
    if (!prepend_prefix(d, buf)) {
        zarn::rtopipe::report(msg::kEmbAddGroupPrefix, as_emb(d)->prefix, buf, kNameMax);
        return 0;
    }
    rtattrdict_t *p = parent_of(d);
    return p->ops->addgroup(p, parent_index(d, start), count, width, block, buf);
}

rtattrdict_t *emb_embedded(rtattrdict_t *d) { return parent_of(d); }
const char *emb_prefix(rtattrdict_t *d) { return as_emb(d)->prefix; }

void emb_print_stats(rtattrdict_t *d) {
    zarn::rtopipe::report(msg::kStatsEmb);
    zarn::rtopipe::report(msg::kStatsEmbSize, d->size);
    zarn::rtopipe::report(msg::kStatsEmbStart, start_of(d));
    zarn::rtopipe::report(msg::kStatsParent);
    rtattrdict_t *p = parent_of(d);
    p->ops->print_stats(p);
}

int32_t emb_index(rtattrdict_t *d, const char *name, char *buf) {
    if (!prepend_prefix(d, buf)) return 0;
    rtattrdict_t *p = parent_of(d);
    int32_t k = p->ops->index(p, name, buf);
    if (k == 0) return 0;
    k -= start_of(d) - 1;
    return (k >= 1 && k <= d->size) ? k : 0;
}

int32_t emb_safe_index(rtattrdict_t *d, int32_t i) {
    if (as_emb(d)->prefix[0] != '\0') return i;
    rtattrdict_t *p = parent_of(d);
    return p->ops->safe_index(p, parent_index(d, i));
}

int32_t emb_absolute_index(rtattrdict_t *d, int32_t i) {
    rtattrdict_t *p = parent_of(d);
    return p->ops->absolute_index(p, parent_index(d, i));
}

const char *emb_name(rtattrdict_t *d, int32_t i) {
    if (i < 1 || i > d->size) return nullptr;
    rtattrdict_t *p = parent_of(d);
    const char *full = p->ops->name(p, parent_index(d, i));
    if (full == nullptr) return nullptr;
    size_t skip = std::strlen(as_emb(d)->prefix);
    size_t len = std::strlen(full);
    return full + (skip < len ? skip : len);
}

int emb_okay(rtattrdict_t *d) {
    rtattrdict_t *p = parent_of(d);
    if (p == nullptr || p->ops == nullptr || !p->ops->okay(p)) return 0;
    if (d->size < 0 || d->capacity < d->size) return 0;
    if (start_of(d) < 1 || static_cast<int64_t>(start_of(d)) + d->capacity - 1 > p->size) return 0;
    if (d->children != nullptr)
        for (gl_node_t *n = d->children->head; n != nullptr; n = n->next) {
            auto *c = static_cast<Embedded *>(n->data);
            if (c->parent != d || c->start < 1 ||
                static_cast<int64_t>(c->start) + c->base.capacity - 1 > d->size)
                return 0;
        }
    return 1;
}

HashTable *emb_attributes(rtattrdict_t *d) {
    rtattrdict_t *p = parent_of(d);
    return p->ops->attributes(p);
}

}  // namespace

const rtattrdict_ops kEmbeddedOps = {
    .destroy = emb_destroy,
    .empty_all = emb_empty_all,
    .resize = emb_resize,
    .change_capacity = emb_change_capacity,
    .defunct = emb_defunct,
    .relocate = emb_relocate,
    .move_elems = emb_move_elems,
    .additems = emb_additems,
    .addgroup = emb_addgroup,
    .embedded = emb_embedded,
    .prefix = emb_prefix,
    .checksum = shared_checksum,
    .print_stats = emb_print_stats,
    .index = emb_index,
    .safe_index = emb_safe_index,
    .absolute_index = emb_absolute_index,
    .name = emb_name,
    .setd = emb_setd,
    .getd = emb_getd,
    .seti = emb_seti,
    .geti = emb_geti,
    .setb = emb_setb,
    .getb = emb_getb,
    .sets = emb_sets,
    .gets = emb_gets,
    .setv = emb_setv,
    .getv = emb_getv,
    .setwrapper = emb_setwrapper,
    .getwrapper = emb_getwrapper,
    .dvector_ro = shared_dvector_ro,
    .ivector_ro = shared_ivector_ro,
    .svector_ro = shared_svector_ro,
    .vvector_ro = shared_vvector_ro,
    .bvector_ro = shared_bvector_ro,
    .dvector = emb_dvector,
    .ivector = emb_ivector,
    .svector = emb_svector,
    .vvector = emb_vvector,
    .bvector = emb_bvector,
    .okay = emb_okay,
    .attributes = emb_attributes,
};

bool splice(rtattrdict_t *d, rtattrdict_t *asker, int32_t start, int32_t old, int32_t fresh) {
    const int32_t delta = fresh - old;
    if (delta == 0) return true;
    const int32_t old_size = d->size;
    const int32_t new_size = old_size + delta;
    if (delta > 0) {
        if (!is_head(d)) {
            d->ops->change_capacity(d, new_size);
        } else if (new_size > d->capacity) {
            int32_t grow = delta > d->capacity / 5 ? delta : d->capacity / 5;
            if (grow < 11) grow = 10;
            const int64_t want = static_cast<int64_t>(d->capacity) + grow;
            d->ops->change_capacity(d, want > INT32_MAX ? INT32_MAX : static_cast<int32_t>(want));
        }
        d->ops->resize(d, new_size);
        if (d->size != new_size) {  // the room could not be made: drop what was
            if (d->size > old_size) d->ops->resize(d, old_size);
            return false;
        }
    }
    const int32_t tail = old_size - (start + old) + 1;
    if (tail > 0) d->ops->move_elems(d, start + old, start + fresh, tail);
    if (d->children != nullptr)
        for (gl_node_t *n = d->children->head; n != nullptr; n = n->next) {
            auto *c = static_cast<Embedded *>(n->data);
            if (&c->base != asker && c->start >= start) c->start += delta;
        }
    if (delta < 0) {
        d->ops->resize(d, new_size);
        if (!is_head(d)) d->ops->change_capacity(d, new_size);
    }
    return true;
}

}  // namespace zarn::rtattrdict

namespace zarn::rtattrdict {

int depth_of(const rtattrdict_t *d) {
    int n = 0;
    for (; d != nullptr && d->ops == &kEmbeddedOps; d = reinterpret_cast<const Embedded *>(d)->parent) ++n;
    return n;
}

int height_below(const rtattrdict_t *d) {
    int most = 0;  // the windows obey the limit already, so this recursion is bounded by it
    for (const gl_node_t *n = d->children ? d->children->head : nullptr; n != nullptr; n = n->next)
        most = std::max(most, 1 + height_below(&static_cast<const Embedded *>(n->data)->base));
    return most;
}

bool moves(const rtattrdict_t *d, int32_t src, int32_t dst, int32_t count) {
    if (!usable(d) || count <= 0) return false;
    // The move passes from window to parent, each level checking it in its own numbering.
    for (;; d = reinterpret_cast<const Embedded *>(d)->parent) {
        if (src == dst || !move_fits(d, src, dst, count)) return false;
        if (d->ops != &kEmbeddedOps) return true;
        src = parent_index(d, src);
        dst = parent_index(d, dst);
    }
}

bool relocate_moves(const rtattrdict_t *d, int32_t start) {
    if (!usable(d) || d->ops != &kEmbeddedOps || !relocate_fits(d, start)) return false;
    const auto *w = reinterpret_cast<const Embedded *>(d);
    return moves(w->parent, w->start, start, d->size);
}

}  // namespace zarn::rtattrdict

using namespace zarn::rtattrdict;

extern "C" rtattrdict_t *rtattrdict_create_embedded(rtattrdict_t *parent, int32_t start, int32_t capacity,
                                                    const char *prefix, int allow_resize) {
    if (parent == nullptr || parent->ops == nullptr) return nullptr;
    if (capacity < 0 || start < 1) {
        zarn::rtopipe::report(msg::kEmbBadStart, start, capacity);
        return nullptr;
    }
    if (static_cast<int64_t>(start) + capacity - 1 > parent->size) {
        zarn::rtopipe::report(msg::kEmbTooSmall, parent->size, capacity);
        return nullptr;
    }
    if (depth_of(parent) >= kMaxWindowDepth) {
        zarn::rtopipe::report(msg::kEmbTooDeep, kMaxWindowDepth);
        return nullptr;
    }
    auto *e = static_cast<Embedded *>(zarn::xcalloc(1, sizeof(Embedded)));
    if (e == nullptr) {
        zarn::rtopipe::report(msg::kEmbNoMemory);
        return nullptr;
    }
    e->base.capacity = capacity;
    e->base.ops = &kEmbeddedOps;
    e->parent = parent;
    e->start = start;
    e->prefix = intern(prefix ? prefix : "");
    if (allow_resize) {
        if (parent->children != nullptr) {
            e->base.children = gl_create();
            gl_addtoend(parent->children, e);
        } else {
            zarn::rtopipe::report(msg::kEmbNoResize);
        }
    }
    return &e->base;
}
