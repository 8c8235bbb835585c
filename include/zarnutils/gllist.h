/* Generic singly linked list of untyped pointers with a built-in cursor. */
#ifndef ZARNUTILS_GLLIST_H
#define ZARNUTILS_GLLIST_H

#include "zarnutils/zarn_api.h"

ZARN_BEGIN_DECLS

typedef struct gl_node {
    struct gl_node *next; /* following node, or NULL */
    void *data;           /* the element; never owned by the node */
} gl_node_t;

/* Field order is part of the ABI: callers read the record. */
typedef struct gl_list {
    uint32_t length;   /* number of nodes */
    gl_node_t *head;   /* first node, or NULL */
    gl_node_t *tail;   /* last node, or NULL */
    gl_node_t *cursor; /* current node; NULL means the cursor is at the end */
} gl_list_t;

typedef void *(*gl_copy_fn)(void *data);
typedef void (*gl_free_fn)(void *data);
typedef void (*gl_info_fn)(void *info, void *data);

/* A new empty list; the caller owns it (gl_destroylist / gl_destroy). */
ZARN_API gl_list_t *gl_create(void);
/* A new list of copyfn(data) for every element in order; NULL when an argument
   is NULL or memory is short (copies copyfn already made are not freed). */
ZARN_API gl_list_t *gl_copy(gl_list_t *list, gl_copy_fn copyfn);
/* Identity; pass to gl_copy for a shallow copy. */
ZARN_API void *gl_samedata(void *data);
ZARN_API uint32_t gl_length(const gl_list_t *list);
/* Both add nothing (the length stays) when memory for the node is short. */
ZARN_API void gl_addtoend(gl_list_t *list, void *data);
ZARN_API void gl_addtohead(gl_list_t *list, void *data);
/* Cursor to the first / last node. */
ZARN_API void gl_top(gl_list_t *list);
ZARN_API void gl_last(gl_list_t *list);
/* 1 when the cursor is at the end (or there is no list), else 0. */
ZARN_API int gl_end(const gl_list_t *list);
/* Data of the current node; NULL at the end. */
ZARN_API void *gl_get(const gl_list_t *list);
/* Advances the cursor; stays at the end. */
ZARN_API void gl_next(gl_list_t *list);
/* Replaces the current node's data and returns the old data; NULL at the end. */
ZARN_API void *gl_replcur(gl_list_t *list, void *data);
/* Removes the current node, returns its data; the cursor moves to the successor. */
ZARN_API void *gl_unlinkcur(gl_list_t *list);
/* Calls fn(info, data) for every element in order. fn may add elements (not
   visited by this walk); unlinking from or destroying the list is refused. */
ZARN_API void gl_info_iterate(void *info, gl_list_t *list, gl_info_fn fn);
/* Frees nodes and list, not the data. NULL is a no-op. */
ZARN_API void gl_destroylist(gl_list_t *list);
/* Calls freefn on every element's data (when given), then frees nodes and list. */
ZARN_API void gl_destroy(gl_list_t *list, gl_free_fn freefn);

ZARN_END_DECLS

#endif
