/*
 * Attribute dictionaries: the named, columnar store under the variable and
 * equation lists. Elements are numbered 1..size; each attribute is one column
 * (or a slot of a per-element sparse record). A head dictionary owns its
 * storage; an embedded dictionary is a window onto a run of its parent's
 * elements, optionally adding a name prefix. Messages go to rtHisDev.
 */
#ifndef ZARNUTILS_RTATTRDICT_H
#define ZARNUTILS_RTATTRDICT_H

#include "zarnutils/zarn_api.h"
#include "zarnutils/gllist.h"
#include "zarnutils/hashtable.h"
#include "zarnutils/msgdigest.h"

ZARN_BEGIN_DECLS

/* Attribute types; 0 ends a descriptor table. */
enum rtattr_type {
    RTATTR_END = 0,
    RTATTR_DOUBLE = 1,  /* 64-bit float column (plex allocated) */
    RTATTR_INTEGER = 2, /* signed 64-bit column (plex allocated) */
    RTATTR_STRING = 3,  /* interned text */
    RTATTR_NAME = 4,    /* interned text carrying the dictionary prefixes */
    RTATTR_POINTER = 5, /* untyped pointer owned by the caller */
    RTATTR_BOOLEAN = 6, /* one byte, 0 or 1 */
    RTATTR_WRAPPER = 7, /* IWEXWrapper holding one reference */
    RTATTR_SPARSE_DOUBLE = 8,
    RTATTR_SPARSE_INTEGER = 9, /* 32 bits kept */
    RTATTR_SPARSE_STRING = 10,
    RTATTR_SPARSE_NAME = 11,
    RTATTR_SPARSE_POINTER = 12,
    RTATTR_SPARSE_BOOLEAN = 13
};

/* Attribute descriptor; tables end with type 0 and must outlive the dictionary. */
typedef struct rtattrdesc {
    const char *name;       /* attribute name, e.g. "RESIDUAL" */
    int32_t type;           /* enum rtattr_type */
    double ddefault;        /* default of double attributes */
    int32_t idefault;       /* default of integer attributes */
    const char *sdefault;   /* default of string attributes; NULL means "" */
    unsigned char bdefault; /* default of boolean attributes */
    void *vdefault;         /* default of pointer attributes */
} rtattrdesc_t;

/* One declared attribute, owned by the head. */
typedef struct rtattr {
    const rtattrdesc_t *desc; /* its descriptor */
    union {
        void *column;  /* dense types: capacity cells, cell k is element k+1 */
        uint32_t slot; /* sparse types: slot number in the sparse records */
    } where;
} rtattr_t;

struct rtattrdict_ops;
struct IWEXWrapper;

/* Fields common to both kinds; the order is part of the ABI. */
typedef struct rtattrdict {
    int32_t size;                     /* elements in use */
    int32_t capacity;                 /* cells in every column */
    const struct rtattrdict_ops *ops; /* head or embedded operations */
    gl_list_t *children;              /* windows that may change size; NULL when not allowed */
} rtattrdict_t;

/* A head dictionary: owns columns, attribute index and name index. */
typedef struct rtattrdict_head {
    rtattrdict_t base;
    rtattr_t *name_attr;   /* the built-in "NAME" attribute */
    void **sparse;         /* capacity sparse-record pointers; NULL when no sparse attributes */
    HashTable *attributes; /* attribute index by name */
    HashTable *mapping;    /* name index: addresses of NAME cells */
    uint32_t nsparse;      /* number of sparse attributes */
} rtattrdict_head_t;

/* An embedded dictionary: a window of its parent. */
typedef struct rtattrdict_embedded {
    rtattrdict_t base;
    rtattrdict_t *parent; /* head or another window */
    int32_t start;        /* 1-based index in the parent of element 1 */
    const char *prefix;   /* interned; "" when none */
} rtattrdict_embedded_t;

/* Structure. */
ZARN_API rtattrdict_t *rtattrdict_create(int32_t capacity, const rtattrdesc_t *table, int allow_resize);
ZARN_API rtattrdict_t *rtattrdict_create_embedded(rtattrdict_t *parent, int32_t start, int32_t capacity,
                                                  const char *prefix, int allow_resize);
/* Folds the separate head `other` into `head` as a window at start; other is destroyed. */
ZARN_API rtattrdict_t *rtattrdict_aggregate(rtattrdict_t *head, rtattrdict_t *other, int32_t start,
                                            const char *prefix);
/* Windows must be destroyed before their head. NULL is a no-op. */
ZARN_API void rtattrdict_destroy(rtattrdict_t *d);
ZARN_API void rtattrdict_empty_all(rtattrdict_t *d);
ZARN_API void rtattrdict_resize(rtattrdict_t *d, int32_t size);
ZARN_API void rtattrdict_change_capacity(rtattrdict_t *d, int32_t capacity);
ZARN_API void rtattrdict_relocate(rtattrdict_t *d, int32_t start);
ZARN_API void rtattrdict_move_items(rtattrdict_t *d, int32_t source, int32_t destination, int32_t count);
/* Names elements start..start+count-1; returns count. */
ZARN_API int32_t rtattrdict_add_items(rtattrdict_t *d, int32_t start, int32_t count,
                                      const char *const *names);
/* As add_items for count fixed-width records of width bytes. */
ZARN_API int32_t rtattrdict_add_group(rtattrdict_t *d, int32_t start, int32_t count, int32_t width,
                                      const char *block);
ZARN_API void rtattrdict_remove_items(rtattrdict_t *d, int32_t start, int32_t count);
ZARN_API void rtattrdict_delete_items(rtattrdict_t *d, int32_t start, int32_t count);
ZARN_API int32_t rtattrdict_inq_num(const rtattrdict_t *d);
ZARN_API int32_t rtattrdict_inq_capacity(const rtattrdict_t *d);
/* The parent of a window; NULL for a head. */
ZARN_API rtattrdict_t *rtattrdict_embedded(rtattrdict_t *d);
/* The dictionary's own prefix; "" for a head. */
ZARN_API const char *rtattrdict_prefix(rtattrdict_t *d);
/* 1-based index of the element of that name in d, or 0. */
ZARN_API int32_t rtattrdict_index(rtattrdict_t *d, const char *name);
ZARN_API int32_t rtattrdict_safe_index(rtattrdict_t *d, int32_t i);
ZARN_API int32_t rtattrdict_absolute_index(rtattrdict_t *d, int32_t i);
/* The element's name as seen from d (belongs to the dictionary), or NULL. */
ZARN_API const char *rtattrdict_name(rtattrdict_t *d, int32_t i);
/* Feeds the names of elements 1..size to ctx; returns size. */
ZARN_API int32_t rtattrdict_checksum(rtattrdict_t *d, zarn_md5_ctx_t *ctx);
ZARN_API int rtattrdict_okay(rtattrdict_t *d);
ZARN_API void rtattrdict_print_stats(rtattrdict_t *d);
/* The head's attribute index. */
ZARN_API HashTable *rtattrdict_attributes(rtattrdict_t *d);

/* Typed access: i is 1-based; name is the attribute name. */
ZARN_API void rtattrdict_setd(rtattrdict_t *d, int32_t i, const char *name, double value);
ZARN_API int rtattrdict_setd_return_modified(rtattrdict_t *d, int32_t i, const char *name, double value);
ZARN_API double rtattrdict_getd(rtattrdict_t *d, int32_t i, const char *name);
ZARN_API void rtattrdict_seti(rtattrdict_t *d, int32_t i, const char *name, int64_t value);
ZARN_API int rtattrdict_seti_return_modified(rtattrdict_t *d, int32_t i, const char *name, int32_t value);
ZARN_API int32_t rtattrdict_geti(rtattrdict_t *d, int32_t i, const char *name);
ZARN_API void rtattrdict_setb(rtattrdict_t *d, int32_t i, const char *name, int value);
ZARN_API int rtattrdict_setb_return_modified(rtattrdict_t *d, int32_t i, const char *name, int value);
ZARN_API int rtattrdict_getb(rtattrdict_t *d, int32_t i, const char *name);
ZARN_API void rtattrdict_sets(rtattrdict_t *d, int32_t i, const char *name, const char *text);
/* Interned text (belongs to the symbol table), or NULL. */
ZARN_API const char *rtattrdict_gets(rtattrdict_t *d, int32_t i, const char *name);
ZARN_API void rtattrdict_setv(rtattrdict_t *d, int32_t i, const char *name, void *value);
ZARN_API int rtattrdict_setv_return_modified(rtattrdict_t *d, int32_t i, const char *name, void *value);
ZARN_API void *rtattrdict_getv(rtattrdict_t *d, int32_t i, const char *name);
ZARN_API void rtattrdict_setwrapper(rtattrdict_t *d, int32_t i, const char *name, struct IWEXWrapper *w);
ZARN_API int rtattrdict_setwrapper_return_modified(rtattrdict_t *d, int32_t i, const char *name,
                                                   struct IWEXWrapper *w);
/* The held wrapper, no reference added. */
ZARN_API struct IWEXWrapper *rtattrdict_getwrapper(rtattrdict_t *d, int32_t i, const char *name);

/* Whole columns as seen from d: cell 0 is d's element 1. Valid until the head's next capacity change. */
ZARN_API double *rtattrdict_dvector(rtattrdict_t *d, const char *name);
ZARN_API const double *rtattrdict_dvector_ro(rtattrdict_t *d, const char *name);
ZARN_API int64_t *rtattrdict_ivector(rtattrdict_t *d, const char *name);
ZARN_API const int64_t *rtattrdict_ivector_ro(rtattrdict_t *d, const char *name);
ZARN_API unsigned char *rtattrdict_bvector(rtattrdict_t *d, const char *name);
ZARN_API const unsigned char *rtattrdict_bvector_ro(rtattrdict_t *d, const char *name);
ZARN_API const char **rtattrdict_svector(rtattrdict_t *d, const char *name);
ZARN_API const char *const *rtattrdict_svector_ro(rtattrdict_t *d, const char *name);
ZARN_API void **rtattrdict_vvector(rtattrdict_t *d, const char *name);
ZARN_API void *const *rtattrdict_vvector_ro(rtattrdict_t *d, const char *name);

ZARN_END_DECLS

#endif
