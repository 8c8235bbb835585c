// Head dictionaries: columns, attribute index and name index.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/xalloc.h"
#include "platform/zassert.h"
#include "rtattrdict/rtattrdict_internal.h"
#include "rtattrdict/rtattrdict_messages.h"
#include "rtopipe/report.h"
#include "zarnutils/zarnmalloc.h"

namespace zarn::rtattrdict {

namespace {

const rtattrdesc_t kNameDesc = {"NAME", RTATTR_NAME, 0.0, 0, nullptr, 0, nullptr};

// Attribute index: items are rtattr_t, keyed by their descriptor's name.
uint32_t attr_hash(const void *item) { return hash_pjw(static_cast<const rtattr_t *>(item)->desc->name); }
uint32_t attr_step(const void *item) { return hash_simple(static_cast<const rtattr_t *>(item)->desc->name); }
int attr_compare(const void *a, const void *b) {
    return std::strcmp(static_cast<const rtattr_t *>(a)->desc->name,
                       static_cast<const rtattr_t *>(b)->desc->name);
}

// Name index: items are addresses of NAME cells.
uint32_t cell_hash(const void *item) { return hash_pjw(*static_cast<const char *const *>(item)); }
int cell_compare(const void *a, const void *b) {
    if (a == b) return 0;
    const char *x = *static_cast<const char *const *>(a);
    const char *y = *static_cast<const char *const *>(b);
    return x == y ? 0 : std::strcmp(x, y);
}

bool is_dense(int32_t type) { return type >= RTATTR_DOUBLE && type <= RTATTR_WRAPPER; }
bool is_sparse(int32_t type) { return type >= RTATTR_SPARSE_DOUBLE && type <= RTATTR_SPARSE_BOOLEAN; }

size_t cell_bytes(int32_t type) {
    switch (type) {
        case RTATTR_DOUBLE:
            return sizeof(double);
        case RTATTR_INTEGER:
            return sizeof(int64_t);
        case RTATTR_BOOLEAN:
            return 1;
        default:
            return sizeof(void *);
    }
}

double *dcol(rtattr_t *a) { return static_cast<double *>(a->where.column); }
int64_t *icol(rtattr_t *a) { return static_cast<int64_t *>(a->where.column); }

// Makes an attribute with a column of `capacity` cells at their default.
rtattr_t *make_attr(const rtattrdesc_t *desc, int32_t capacity, uint32_t *next_slot) {
    int32_t type = desc->type;
    if (!is_dense(type) && !is_sparse(type)) {
        zarn::rtopipe::report(msg::kUnknownType, type);
        return nullptr;
    }
    auto *a = static_cast<rtattr_t *>(zarn::xcalloc(1, sizeof(rtattr_t)));
    if (a == nullptr) {
        zarn::rtopipe::report(msg::kAttrNoMemory);
        return nullptr;
    }
    a->desc = desc;
    if (is_sparse(type)) {
        a->where.slot = (*next_slot)++;
        return a;
    }
    if (type == RTATTR_DOUBLE) {
        int64_t p = RTO_DMALLOC(&capacity);
        a->where.column = &ZARN_b0[p];
    } else if (type == RTATTR_INTEGER) {
        int64_t p = RTO_IMALLOC(&capacity);
        a->where.column = &ZARN_ib0[p];
    } else {
        size_t cells = capacity > 0 ? static_cast<size_t>(capacity) : 1;
        a->where.column = zarn::xcalloc(cells, cell_bytes(type));
        if (a->where.column == nullptr) {
            zarn::rtopipe::report(msg::kAttrNoMemory);
            std::free(a);
            return nullptr;
        }
    }
    return a;
}

void free_column(rtattr_t *a) {
    int32_t type = a->desc->type;
    if (type == RTATTR_DOUBLE) {
        int64_t p = rto_dptr2plex_c(dcol(a));
        RTO_DFREE(&p);
    } else if (type == RTATTR_INTEGER) {
        int64_t p = rto_iptr2plex_c(icol(a));
        RTO_IFREE(&p);
    } else if (is_dense(type)) {
        std::free(a->where.column);
    }
    a->where.column = nullptr;
}

// Reallocates a column to `capacity` cells; cells beyond the old end are undefined.
bool grow_column(rtattr_t *a, int32_t capacity) {
    int32_t type = a->desc->type;
    if (type == RTATTR_DOUBLE) {
        int64_t p = rto_dptr2plex_c(dcol(a));
        p = RTO_DREALLOC(&p, &capacity);
        a->where.column = &ZARN_b0[p];
        return true;
    }
    if (type == RTATTR_INTEGER) {
        int64_t p = rto_iptr2plex_c(icol(a));
        p = RTO_IREALLOC(&p, &capacity);
        a->where.column = &ZARN_ib0[p];
        return true;
    }
    size_t cells = capacity > 0 ? static_cast<size_t>(capacity) : 1;
    void *col = zarn::xrealloc(a->where.column, cells * cell_bytes(type));
    if (col == nullptr) return false;
    a->where.column = col;
    return true;
}

void free_sparse_range(Head *h, int32_t first, int32_t last) {
    if (h->sparse == nullptr) return;
    for (int32_t k = first; k <= last; ++k) {
        std::free(h->sparse[k - 1]);
        h->sparse[k - 1] = nullptr;
    }
}

void release_wrappers(Head *h, int32_t first, int32_t last) {
    for (uint32_t n = 0; n < h->nattrs; ++n) {
        rtattr_t *a = h->attrs[n];
        if (a->desc->type != RTATTR_WRAPPER) continue;
        auto **cells = static_cast<IWEXWrapper **>(a->where.column);
        for (int32_t k = first; k <= last; ++k) {
            if (cells[k - 1] != nullptr) cells[k - 1]->Release();
            cells[k - 1] = nullptr;
        }
    }
}

void rebuild_index(Head *h, const char *why) {
    hashRemoveAll(h->mapping, nullptr);
    h->names_unsure = hashNum(h->mapping) != 0;  // a table busy in a callback keeps its entries
    hashSizeEstimate(h->mapping, static_cast<uint32_t>(h->base.capacity));
    for (int32_t k = 1; k <= h->base.size; ++k)
        if (!index_add(h, k)) zarn::rtopipe::report(msg::kDuplicate, names(h)[k - 1], why);
}

// ---- operations ----

void head_destroy(rtattrdict_t *d) {
    Head *h = as_head(d);
    release_wrappers(h, 1, d->size);
    if (h->sparse != nullptr) {
        free_sparse_range(h, 1, d->capacity);
        std::free(h->sparse);
    }
    gl_destroylist(d->children);
    hashDestroy(h->mapping, nullptr);
    for (uint32_t n = 0; n < h->nattrs; ++n) {
        free_column(h->attrs[n]);
        std::free(h->attrs[n]);
    }
    std::free(h->attrs);
    hashDestroy(h->attributes, nullptr);
    std::free(h);
}

void head_defunct(rtattrdict_t *d, int32_t first, int32_t last) {
    Head *h = as_head(d);
    if (first < 1 || first > last || last > d->capacity) {
        zarn::rtopipe::report(msg::kHeadDefunct, first, last, d->capacity);
        return;
    }
    free_sparse_range(h, first, last);
    for (int32_t k = first; k <= last; ++k) index_remove(h, k);
    release_wrappers(h, first, last);
    for (uint32_t n = 0; n < h->nattrs; ++n) reset_cells(h, h->attrs[n], first, last);
}

void head_resize(rtattrdict_t *d, int32_t size) {
    if (size == d->size) return;
    if (size < 0) {
        zarn::rtopipe::report(msg::kHeadResizeNegative, size);
        return;
    }
    if (size > d->capacity) {
        zarn::rtopipe::report(msg::kHeadResizeBeyond, size, d->capacity);
        size = d->capacity;
    }
    if (size < d->size) d->ops->defunct(d, size + 1, d->size);
    d->size = size;
}

void head_change_capacity(rtattrdict_t *d, int32_t capacity) {
    Head *h = as_head(d);
    if (capacity == d->capacity) return;
    if (capacity < 0) assert_report(msg::kAssertHeadCapNegative, msg::kSource, __LINE__);
    if (capacity < d->size) {
        zarn::rtopipe::report(msg::kHeadCapBelowSize, capacity, d->size);
        return;
    }
    const int32_t old = d->capacity;
    const int32_t size = d->size;
    // Elements beyond the new capacity are defunct already; drop their sparse records.
    if (h->sparse != nullptr) {
        if (capacity < old) free_sparse_range(h, capacity + 1, old);
        size_t cells = capacity > 0 ? static_cast<size_t>(capacity) : 1;
        void **sparse = static_cast<void **>(zarn::xrealloc(h->sparse, cells * sizeof(void *)));
        if (sparse == nullptr) {
            zarn::rtopipe::report(msg::kHeadCapNoMemory, capacity);
            return;
        }
        h->sparse = sparse;
        for (int32_t k = size; k < capacity; ++k) h->sparse[k] = nullptr;
    }
    // Plex columns first (their failure raises), then the others, NAME last:
    // until NAME moves, the name index stays valid if anything fails.
    bool failed = false;
    for (int pass = 0; pass < 3 && !failed; ++pass)
        for (uint32_t n = 0; n < h->nattrs && !failed; ++n) {
            rtattr_t *a = h->attrs[n];
            int32_t type = a->desc->type;
            if (is_sparse(type)) continue;
            bool plex = type == RTATTR_DOUBLE || type == RTATTR_INTEGER;
            int want = a == h->name_attr ? 2 : (plex ? 0 : 1);
            if (want != pass) continue;
            if (!grow_column(a, capacity)) {
                failed = true;
                break;
            }
            if (type == RTATTR_WRAPPER) {
                auto **cells = static_cast<IWEXWrapper **>(a->where.column);
                for (int32_t k = size; k < capacity; ++k) cells[k] = nullptr;
            }
        }
    if (failed) {
        zarn::rtopipe::report(msg::kHeadCapNoMemory, capacity);
        return;
    }
    d->capacity = capacity;
    const char *empty = intern_empty();
    for (int32_t k = size; k < capacity; ++k) names(h)[k] = empty;
    if (capacity > old) head_defunct(d, old + 1, capacity);
    rebuild_index(h, msg::kWhyCapacity);
}

void head_relocate(rtattrdict_t *, int32_t) { zarn::rtopipe::report(msg::kHeadRelocate); }

void head_move_elems(rtattrdict_t *d, int32_t src, int32_t dst, int32_t count) {
    Head *h = as_head(d);
    if (src == dst || count == 0) return;
    if (count < 0) {
        zarn::rtopipe::report(msg::kHeadMoveNegative, count);
        return;
    }
    if (!move_fits(d, src, dst, count)) {
        zarn::rtopipe::report(msg::kHeadMoveBad, src, dst, count, d->size);
        return;
    }
    const int32_t dist = dst > src ? dst - src : src - dst;
    const int32_t overlap = count > dist ? count - dist : 0;
    // Cells overwritten that are not part of the source lose their element first.
    if (dst < src)
        head_defunct(d, dst, dst + count - overlap - 1);
    else
        head_defunct(d, dst + overlap, dst + count - 1);
    for (int32_t k = src; k < src + count; ++k) index_remove(h, k);
    const size_t n = static_cast<size_t>(count);
    if (h->sparse != nullptr) std::memmove(&h->sparse[dst - 1], &h->sparse[src - 1], n * sizeof(void *));
    for (uint32_t a = 0; a < h->nattrs; ++a) {
        rtattr_t *at = h->attrs[a];
        int32_t type = at->desc->type;
        if (is_sparse(type)) continue;
        size_t cb = cell_bytes(type);
        char *col = static_cast<char *>(at->where.column);
        std::memmove(col + (dst - 1) * cb, col + (src - 1) * cb, n * cb);
        if (type == RTATTR_WRAPPER) {
            auto **cells = static_cast<IWEXWrapper **>(at->where.column);
            for (int32_t k = 0; k < count; ++k)
                if (cells[dst - 1 + k] != nullptr) cells[dst - 1 + k]->SetIndex(dst + k);
        }
    }
    // The source cells not overwritten are left behind: they lose their
    // (moved) sparse records and wrappers, then are reset.
    int32_t lb_first, lb_last;
    if (dst < src) {
        lb_first = src + overlap;
        lb_last = src + count - 1;
    } else {
        lb_first = src;
        lb_last = src + count - overlap - 1;
    }
    if (lb_first <= lb_last) {
        if (h->sparse != nullptr)
            for (int32_t k = lb_first; k <= lb_last; ++k) h->sparse[k - 1] = nullptr;
        for (uint32_t a = 0; a < h->nattrs; ++a) {
            if (h->attrs[a]->desc->type != RTATTR_WRAPPER) continue;
            auto **cells = static_cast<IWEXWrapper **>(h->attrs[a]->where.column);
            for (int32_t k = lb_first; k <= lb_last; ++k) cells[k - 1] = nullptr;
        }
        const char *empty = intern_empty();
        for (int32_t k = lb_first; k <= lb_last; ++k) names(h)[k - 1] = empty;  // their names went with them
        head_defunct(d, lb_first, lb_last);
    }
    for (int32_t k = dst; k < dst + count; ++k)
        if (!index_add(h, k)) zarn::rtopipe::report(msg::kDuplicate, names(h)[k - 1], msg::kWhyMoving);
}

// Names one element from its built full name; `why` selects the duplicate text.
void name_element(Head *h, int32_t k, const char *full, const char *why) {
    if (!legal_name(full)) {
        zarn::rtopipe::report(msg::kIllegalName, full);
        return;
    }
    names(h)[k - 1] = intern(full);
    if (!index_add(h, k)) zarn::rtopipe::report(msg::kDuplicate, full, why);
}

bool head_range_ok(rtattrdict_t *d, int32_t start, int32_t count, const char *what) {
    if (start < 1 || count < 0 || start > d->size - count + 1) {
        assert_report(what, msg::kSource, __LINE__);
        return false;
    }
    return true;
}

void unname_range(Head *h, int32_t start, int32_t count) {
    const char *empty = intern_empty();
    for (int32_t k = start; k < start + count; ++k) {
        index_remove(h, k);
        names(h)[k - 1] = empty;
    }
}

int32_t head_additems(rtattrdict_t *d, int32_t start, int32_t count, const char *const *given, char *buf) {
    Head *h = as_head(d);
    if (!head_range_ok(d, start, count, msg::kAssertAddItems)) return 0;
    unname_range(h, start, count);
    const size_t plen = std::strlen(buf);
    char full[kNameBuf];
    for (int32_t n = 0; n < count; ++n) {
        const char *name = (given != nullptr && given[n] != nullptr) ? given[n] : "";
        size_t len = std::strlen(name);
        const char *why = msg::kWhyAdding;
        if (plen > 0) {
            why = msg::kWhyAddingPrefix;
            std::memcpy(full, buf, plen);
            size_t room = static_cast<size_t>(kNameMax) - plen;
            size_t take = len < room ? len : room;
            std::memcpy(full + plen, name, take);
            full[plen + take] = '\0';
        } else {
            if (len > static_cast<size_t>(kNameMax)) {
                why = msg::kWhyAddingTruncated;
                len = kNameMax;
            }
            std::memcpy(full, name, len);
            full[len] = '\0';
        }
        name_element(h, start + n, full, why);
    }
    return count;
}

int32_t head_addgroup(rtattrdict_t *d, int32_t start, int32_t count, int32_t width, const char *block,
                      char *buf) {
    Head *h = as_head(d);
    if (!head_range_ok(d, start, count, msg::kAssertAddGroup)) return 0;
    if (width < 0 || (block == nullptr && count > 0)) return 0;
    unname_range(h, start, count);
    const size_t plen = std::strlen(buf);
    char full[kNameBuf];
    for (int32_t n = 0; n < count; ++n) {
        const char *rec = block + static_cast<size_t>(n) * static_cast<size_t>(width);
        size_t len = 0;
        while (len < static_cast<size_t>(width) && rec[len] != '\0') ++len;
        while (len > 0 && (rec[len - 1] == ' ' || rec[len - 1] == '\t' || rec[len - 1] == '\n' ||
                           rec[len - 1] == '\r' || rec[len - 1] == '\f' || rec[len - 1] == '\v'))
            --len;
        size_t room = static_cast<size_t>(kNameMax) - plen;
        if (len > room) len = room;
        std::memcpy(full, buf, plen);
        std::memcpy(full + plen, rec, len);
        full[plen + len] = '\0';
        name_element(h, start + n, full, msg::kWhyGroup);
    }
    return count;
}

rtattrdict_t *head_embedded(rtattrdict_t *) { return nullptr; }
const char *head_prefix(rtattrdict_t *) { return intern_empty(); }

void head_print_stats(rtattrdict_t *d) {
    Head *h = as_head(d);
    zarn::rtopipe::report(msg::kStatsHead);
    zarn::rtopipe::report(msg::kStatsSize, d->size);
    zarn::rtopipe::report(msg::kStatsLive, hashNum(h->mapping));
    zarn::rtopipe::report(msg::kStatsAttrs, hashNum(h->attributes));
    zarn::rtopipe::report(msg::kStatsSparse, h->nsparse);
    zarn::rtopipe::report(msg::kStatsAttrHash);
    std::fflush(stdout);
    hashPrintStats(h->attributes);
    zarn::rtopipe::report(msg::kStatsNameHash);
    hashPrintStats(h->mapping);
    std::fflush(stdout);
}

int32_t head_index(rtattrdict_t *d, const char *name, char *buf) {
    Head *h = as_head(d);
    // The full name is cut to the longest stored name, as naming cuts it.
    const char *full = name;
    size_t plen = std::strlen(buf), len = std::strlen(name);
    if (plen > 0 || len > static_cast<size_t>(kNameMax)) {
        size_t room = static_cast<size_t>(kNameMax) - plen;
        if (len > room) len = room;
        std::memcpy(buf + plen, name, len);
        buf[plen + len] = '\0';
        full = buf;
    }
    const char *const *cell = static_cast<const char *const *>(hashFindItem(h->mapping, &full));
    if (cell == nullptr) return 0;
    int32_t k = static_cast<int32_t>(cell - names(h)) + 1;
    if (k < 1 || k > d->size) {
        assert_report(msg::kAssertIndex, msg::kSource, __LINE__);
        return 0;
    }
    return k;
}

int32_t head_safe_index(rtattrdict_t *, int32_t i) { return i; }
int32_t head_absolute_index(rtattrdict_t *, int32_t i) { return i; }

const char *head_name(rtattrdict_t *d, int32_t i) {
    if (i < 1 || i > d->size) return nullptr;
    return names(as_head(d))[i - 1];
}

int head_okay(rtattrdict_t *d) {
    if (d->size < 0 || d->capacity < d->size) return 0;
    if (d->children != nullptr)
        for (gl_node_t *n = d->children->head; n != nullptr; n = n->next) {
            auto *c = static_cast<Embedded *>(n->data);
            if (c->parent != d || c->start < 1 ||
                static_cast<int64_t>(c->start) + c->base.capacity - 1 > d->size)
                return 0;
        }
    return 1;
}

HashTable *head_attributes(rtattrdict_t *d) { return as_head(d)->attributes; }

void head_empty_all(rtattrdict_t *d) { d->ops->resize(d, 0); }

}  // namespace

const rtattrdict_ops kHeadOps = {
    .destroy = head_destroy,
    .empty_all = head_empty_all,
    .resize = head_resize,
    .change_capacity = head_change_capacity,
    .defunct = head_defunct,
    .relocate = head_relocate,
    .move_elems = head_move_elems,
    .additems = head_additems,
    .addgroup = head_addgroup,
    .embedded = head_embedded,
    .prefix = head_prefix,
    .checksum = shared_checksum,
    .print_stats = head_print_stats,
    .index = head_index,
    .safe_index = head_safe_index,
    .absolute_index = head_absolute_index,
    .name = head_name,
    .setd = head_setd,
    .getd = head_getd,
    .seti = head_seti,
    .geti = head_geti,
    .setb = head_setb,
    .getb = head_getb,
    .sets = head_sets,
    .gets = head_gets,
    .setv = head_setv,
    .getv = head_getv,
    .setwrapper = head_setwrapper,
    .getwrapper = head_getwrapper,
    .dvector_ro = shared_dvector_ro,
    .ivector_ro = shared_ivector_ro,
    .svector_ro = shared_svector_ro,
    .vvector_ro = shared_vvector_ro,
    .bvector_ro = shared_bvector_ro,
    .dvector = head_dvector,
    .ivector = head_ivector,
    .svector = head_svector,
    .vvector = head_vvector,
    .bvector = head_bvector,
    .okay = head_okay,
    .attributes = head_attributes,
};

// ---- shared helpers ----

rtattr_t *find_attr(Head *h, const char *name) {
    if (name == nullptr) return nullptr;
    rtattrdesc_t probe_desc{};
    probe_desc.name = name;
    rtattr_t probe{};
    probe.desc = &probe_desc;
    return static_cast<rtattr_t *>(hashFindItem(h->attributes, &probe));
}

rtattr_t *lookup_attr(rtattrdict_t *d, const char *name) {
    return d != nullptr && d->ops != nullptr ? find_attr(top(d, nullptr), name) : nullptr;
}

bool finds(rtattrdict_t *d, int32_t i, const char *name, size_t len) {
    if (d == nullptr || !is_head(d) || i < 1 || i > d->size || len == 0 ||
        len > static_cast<size_t>(kNameMax))
        return false;
    Head *h = as_head(d);
    if (h->names_unsure) return false;
    const char *held = names(h)[i - 1];
    return std::strncmp(held, name, len) == 0 && held[len] == '\0';
}

void index_remove(Head *h, int32_t k) {
    const char **cell = &names(h)[k - 1];
    if ((*cell)[0] == '\0') return;
    // Only this element's own entry: a duplicate name belongs to the element registered first.
    if (hashFindItem(h->mapping, cell) != cell || hashRemoveItem(h->mapping, cell) != cell)
        h->names_unsure = true;
}

int index_add(Head *h, int32_t k) {
    const char **cell = &names(h)[k - 1];
    if ((*cell)[0] == '\0') return 1;
    void *stored = hashAddItem(h->mapping, cell);
    if (stored == cell) return 1;
    h->names_unsure = true;
    return 0;
}

const char *default_text(const rtattrdesc_t *desc) { return intern(desc->sdefault ? desc->sdefault : ""); }

void reset_cells(Head *h, rtattr_t *a, int32_t first, int32_t last) {
    const rtattrdesc_t *desc = a->desc;
    switch (desc->type) {
        case RTATTR_DOUBLE:
            for (int32_t k = first; k <= last; ++k) dcol(a)[k - 1] = desc->ddefault;
            break;
        case RTATTR_INTEGER:
            for (int32_t k = first; k <= last; ++k) icol(a)[k - 1] = desc->idefault;
            break;
        case RTATTR_STRING:
        case RTATTR_NAME: {
            const char *s = (a == h->name_attr) ? intern_empty() : default_text(desc);
            auto **col = static_cast<const char **>(a->where.column);
            for (int32_t k = first; k <= last; ++k) col[k - 1] = s;
            break;
        }
        case RTATTR_POINTER:
            for (int32_t k = first; k <= last; ++k)
                static_cast<void **>(a->where.column)[k - 1] = desc->vdefault;
            break;
        case RTATTR_BOOLEAN:
            std::memset(static_cast<unsigned char *>(a->where.column) + first - 1, desc->bdefault,
                        static_cast<size_t>(last - first + 1));
            break;
        case RTATTR_WRAPPER:
            for (int32_t k = first; k <= last; ++k) static_cast<void **>(a->where.column)[k - 1] = nullptr;
            break;
        default:
            break;
    }
}

SparseSlot *new_sparse(Head *h) {
    auto *rec = static_cast<SparseSlot *>(zarn::xcalloc(h->nsparse, sizeof(SparseSlot)));
    if (rec == nullptr) return nullptr;
    for (uint32_t n = 0; n < h->nattrs; ++n) {
        rtattr_t *a = h->attrs[n];
        const rtattrdesc_t *desc = a->desc;
        SparseSlot &s = rec[a->where.slot];
        switch (desc->type) {
            case RTATTR_SPARSE_DOUBLE:
                s.d = desc->ddefault;
                break;
            case RTATTR_SPARSE_INTEGER:
                s.i = desc->idefault;
                break;
            case RTATTR_SPARSE_STRING:
            case RTATTR_SPARSE_NAME:
                s.s = default_text(desc);
                break;
            case RTATTR_SPARSE_POINTER:
                s.v = desc->vdefault;
                break;
            case RTATTR_SPARSE_BOOLEAN:
                s.b = desc->bdefault;
                break;
            default:
                break;
        }
    }
    return rec;
}

Head *top(rtattrdict_t *d, int32_t *offset) {
    int32_t off = 0;
    while (!is_head(d)) {
        off += as_emb(d)->start - 1;
        d = as_emb(d)->parent;
    }
    if (offset) *offset = off;
    return as_head(d);
}

}  // namespace zarn::rtattrdict

using namespace zarn::rtattrdict;

extern "C" rtattrdict_t *rtattrdict_create(int32_t capacity, const rtattrdesc_t *table, int allow_resize) {
    if (capacity < 0) capacity = 0;
    auto *h = static_cast<Head *>(zarn::xcalloc(1, sizeof(Head)));
    if (h == nullptr) {
        zarn::rtopipe::report(msg::kCreateNoMemory);
        return nullptr;
    }
    h->base.capacity = capacity;
    h->base.ops = &kHeadOps;
    uint32_t ndesc = 0;
    if (table != nullptr)
        for (const rtattrdesc_t *t = table; t->type != 0; ++t) {
            ++ndesc;
            if (is_sparse(t->type)) ++h->nsparse;
        }
    h->attrs = static_cast<rtattr_t **>(zarn::xcalloc(ndesc + 1, sizeof(rtattr_t *)));
    h->attributes = hashCreate(ndesc + 1, attr_hash, attr_step, attr_compare, 0, 0);
    h->mapping = hashCreate(static_cast<uint32_t>(capacity), cell_hash, nullptr, cell_compare, 0, 0);
    if (h->nsparse > 0)
        h->sparse = static_cast<void **>(zarn::xcalloc(capacity > 0 ? capacity : 1, sizeof(void *)));
    if (h->attrs == nullptr || h->attributes == nullptr || h->mapping == nullptr ||
        (h->nsparse > 0 && h->sparse == nullptr)) {
        zarn::rtopipe::report(msg::kCreateNoMemory);
        std::free(h->attrs);
        hashDestroy(h->attributes, nullptr);
        hashDestroy(h->mapping, nullptr);
        std::free(h->sparse);
        std::free(h);
        return nullptr;
    }
    uint32_t slot = 0;
    rtattr_t *name = make_attr(&kNameDesc, capacity, &slot);
    if (name == nullptr) {
        head_destroy(&h->base);
        return nullptr;
    }
    h->name_attr = name;
    h->attrs[h->nattrs++] = name;
    hashAddItem(h->attributes, name);
    reset_cells(h, name, 1, capacity);
    if (table != nullptr)
        for (const rtattrdesc_t *t = table; t->type != 0; ++t) {
            if (find_attr(h, t->name) != nullptr) continue;
            rtattr_t *a = make_attr(t, capacity, &slot);
            if (a == nullptr) continue;
            h->attrs[h->nattrs++] = a;
            hashAddItem(h->attributes, a);
            if (capacity > 0) reset_cells(h, a, 1, capacity);
        }
    h->nsparse = slot;  // descriptors left out or repeated hold no slot
    if (h->nsparse == 0) {
        std::free(h->sparse);
        h->sparse = nullptr;
    }
    if (allow_resize) h->base.children = gl_create();
    return &h->base;
}
