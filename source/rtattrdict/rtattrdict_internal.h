// Internals of the attribute dictionary: the operations table and the two kinds.
#ifndef ZARN_RTATTRDICT_INTERNAL_H
#define ZARN_RTATTRDICT_INTERNAL_H

#include "rtattrdict/rtattrdict_sibling.h"
#include "zarnutils/rtattrdict.hpp"
#include "zarnutils/rtattrdict.h"

// The 41 operations, in their fixed order. Index arguments are 1-based and in
// the dictionary's own numbering.
struct rtattrdict_ops {
    void (*destroy)(rtattrdict_t *d);
    void (*empty_all)(rtattrdict_t *d);
    void (*resize)(rtattrdict_t *d, int32_t size);
    void (*change_capacity)(rtattrdict_t *d, int32_t capacity);
    void (*defunct)(rtattrdict_t *d, int32_t first, int32_t last);
    void (*relocate)(rtattrdict_t *d, int32_t start);
    void (*move_elems)(rtattrdict_t *d, int32_t source, int32_t destination, int32_t count);
    // buf holds the prefixes gathered so far (kNameBuf bytes).
    int32_t (*additems)(rtattrdict_t *d, int32_t start, int32_t count, const char *const *names, char *buf);
    int32_t (*addgroup)(rtattrdict_t *d, int32_t start, int32_t count, int32_t width, const char *block,
                        char *buf);
    rtattrdict_t *(*embedded)(rtattrdict_t *d);
    const char *(*prefix)(rtattrdict_t *d);
    int32_t (*checksum)(rtattrdict_t *d, zarn_md5_ctx_t *ctx);
    void (*print_stats)(rtattrdict_t *d);
    int32_t (*index)(rtattrdict_t *d, const char *name, char *buf);
    int32_t (*safe_index)(rtattrdict_t *d, int32_t i);
    int32_t (*absolute_index)(rtattrdict_t *d, int32_t i);
    const char *(*name)(rtattrdict_t *d, int32_t i);
    int (*setd)(rtattrdict_t *d, int32_t i, const char *attr, double v);
    double (*getd)(rtattrdict_t *d, int32_t i, const char *attr);
    int (*seti)(rtattrdict_t *d, int32_t i, const char *attr, int64_t v);
    int32_t (*geti)(rtattrdict_t *d, int32_t i, const char *attr);
    int (*setb)(rtattrdict_t *d, int32_t i, const char *attr, int v);
    int (*getb)(rtattrdict_t *d, int32_t i, const char *attr);
    void (*sets)(rtattrdict_t *d, int32_t i, const char *attr, const char *text, char *buf);
    // *name_kind receives 1 for name-kind attributes, whose values carry prefixes.
    const char *(*gets)(rtattrdict_t *d, int32_t i, const char *attr, int *name_kind);
    int (*setv)(rtattrdict_t *d, int32_t i, const char *attr, void *v);
    void *(*getv)(rtattrdict_t *d, int32_t i, const char *attr);
    int (*setwrapper)(rtattrdict_t *d, int32_t i, const char *attr, IWEXWrapper *w);
    IWEXWrapper *(*getwrapper)(rtattrdict_t *d, int32_t i, const char *attr);
    const double *(*dvector_ro)(rtattrdict_t *d, const char *attr);
    const int64_t *(*ivector_ro)(rtattrdict_t *d, const char *attr);
    const char *const *(*svector_ro)(rtattrdict_t *d, const char *attr);
    void *const *(*vvector_ro)(rtattrdict_t *d, const char *attr);
    const unsigned char *(*bvector_ro)(rtattrdict_t *d, const char *attr);
    double *(*dvector)(rtattrdict_t *d, const char *attr);
    int64_t *(*ivector)(rtattrdict_t *d, const char *attr);
    const char **(*svector)(rtattrdict_t *d, const char *attr);
    void **(*vvector)(rtattrdict_t *d, const char *attr);
    unsigned char *(*bvector)(rtattrdict_t *d, const char *attr);
    int (*okay)(rtattrdict_t *d);
    HashTable *(*attributes)(rtattrdict_t *d);
};

namespace zarn::rtattrdict {

// The head with what it keeps beside its documented fields.
struct Head : rtattrdict_head_t {
    rtattr_t **attrs;  // every attribute in declaration order, NAME first
    uint32_t nattrs;
    // Set when an update of the name index failed (a duplicate name, memory,
    // a table busy in a callback): some named element may then not be the one
    // its name finds. Cleared by a rebuild of the index in which every name went in.
    bool names_unsure;
};

using Embedded = rtattrdict_embedded_t;

extern const rtattrdict_ops kEmbeddedOps;

// A handle the entry points accept: not null, with its operations.
inline bool usable(const rtattrdict_t *d) { return d != nullptr && d->ops != nullptr; }

inline Head *as_head(rtattrdict_t *d) {
    return static_cast<Head *>(reinterpret_cast<rtattrdict_head_t *>(d));
}
inline Embedded *as_emb(rtattrdict_t *d) { return reinterpret_cast<Embedded *>(d); }

// A move of count elements of d from src to dst lies within d's elements.
inline bool move_fits(const rtattrdict_t *d, int32_t src, int32_t dst, int32_t count) {
    return src >= 1 && dst >= 1 && src <= d->size - count + 1 && dst <= d->size - count + 1;
}

// The head at the top of a chain of windows, and the offset of d's element 1 in it.
Head *top(rtattrdict_t *d, int32_t *offset);

// Windows nest at most this many levels below their head: most operations on a
// window pass through its parents, one call per level.
inline constexpr int kMaxWindowDepth = 1000;
// Levels of windows between d and its head (0 for a head).
int depth_of(const rtattrdict_t *d);
// Levels of resizable windows below d (0 when it has none).
int height_below(const rtattrdict_t *d);

// Attribute lookup by name at a head; NULL when absent.
rtattr_t *find_attr(Head *h, const char *name);

// NAME column of a head.
inline const char **names(Head *h) { return static_cast<const char **>(h->name_attr->where.column); }

// Name index upkeep at a head (element k is 1-based).
void index_remove(Head *h, int32_t k);
// Adds element k's name; returns 0 when another element holds the name.
int index_add(Head *h, int32_t k);

// Sets element cells first..last (1-based, within capacity) of one attribute to its default.
void reset_cells(Head *h, rtattr_t *a, int32_t first, int32_t last);

// A new sparse record with every sparse attribute at its default; NULL when memory is short.
SparseSlot *new_sparse(Head *h);

// The interned default text of a string descriptor.
const char *default_text(const rtattrdesc_t *desc);

// Element-name legality and interning.
bool legal_name(const char *name);
const char *intern(const char *text);
const char *intern_part(const char *text, int32_t n);
const char *intern_empty();

// Operations shared by both kinds.
int32_t shared_checksum(rtattrdict_t *d, zarn_md5_ctx_t *ctx);
const double *shared_dvector_ro(rtattrdict_t *d, const char *attr);
const int64_t *shared_ivector_ro(rtattrdict_t *d, const char *attr);
const char *const *shared_svector_ro(rtattrdict_t *d, const char *attr);
void *const *shared_vvector_ro(rtattrdict_t *d, const char *attr);
const unsigned char *shared_bvector_ro(rtattrdict_t *d, const char *attr);

// Typed access of each kind (defined with the access code).
#define ZARN_RTATTRDICT_ACCESS(kind)                                                             \
    int kind##_setd(rtattrdict_t *d, int32_t i, const char *attr, double v);                     \
    double kind##_getd(rtattrdict_t *d, int32_t i, const char *attr);                            \
    int kind##_seti(rtattrdict_t *d, int32_t i, const char *attr, int64_t v);                    \
    int32_t kind##_geti(rtattrdict_t *d, int32_t i, const char *attr);                           \
    int kind##_setb(rtattrdict_t *d, int32_t i, const char *attr, int v);                        \
    int kind##_getb(rtattrdict_t *d, int32_t i, const char *attr);                               \
    void kind##_sets(rtattrdict_t *d, int32_t i, const char *attr, const char *text, char *buf); \
    const char *kind##_gets(rtattrdict_t *d, int32_t i, const char *attr, int *name_kind);       \
    int kind##_setv(rtattrdict_t *d, int32_t i, const char *attr, void *v);                      \
    void *kind##_getv(rtattrdict_t *d, int32_t i, const char *attr);                             \
    int kind##_setwrapper(rtattrdict_t *d, int32_t i, const char *attr, IWEXWrapper *w);         \
    IWEXWrapper *kind##_getwrapper(rtattrdict_t *d, int32_t i, const char *attr);                \
    double *kind##_dvector(rtattrdict_t *d, const char *attr);                                   \
    int64_t *kind##_ivector(rtattrdict_t *d, const char *attr);                                  \
    const char **kind##_svector(rtattrdict_t *d, const char *attr);                              \
    void **kind##_vvector(rtattrdict_t *d, const char *attr);                                    \
    unsigned char *kind##_bvector(rtattrdict_t *d, const char *attr);
ZARN_RTATTRDICT_ACCESS(head)
ZARN_RTATTRDICT_ACCESS(emb)
#undef ZARN_RTATTRDICT_ACCESS

// Splices a window of `old` elements at `start` of d to `fresh` elements;
// `asker` is the window that asked and is not shifted. False, with d as it
// was, when d could not make the room.
bool splice(rtattrdict_t *d, rtattrdict_t *asker, int32_t start, int32_t old, int32_t fresh);

}  // namespace zarn::rtattrdict

#endif
