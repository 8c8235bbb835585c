/*
 * Aliases: tag lists of short names that stand for variable names.
 *
 * A tag list maps an alias (at most 40 characters, a legal model name) to the
 * name it stands for. Tag lists form a tree that follows the plant hierarchy:
 * every alias of a child list is also entered in its parent, with the child's
 * prefix put in front of both texts; such copies are "inherited" and are
 * withdrawn again when the child drops its aliases or is destroyed.
 *
 * Tag numbers are 1-based positions in insertion order. Texts handed out are
 * interned (rtsymtab): never free or change them; they stay valid until
 * rtsymtab_shutdown. Messages go to the history device (rtHisDev); assertion
 * lines to standard error.
 */
#ifndef ZARNUTILS_RTTAGLST_H
#define ZARNUTILS_RTTAGLST_H

#include "zarnutils/zarn_api.h"
#include "zarnutils/rtopipe.h"

ZARN_BEGIN_DECLS

/* The longest alias accepted by rtotaglst_add_tag. */
#define RTOTAGLST_MAX_ALIAS 40
/* Propagated aliases and names are cut to this many characters. */
#define RTOTAGLST_MAX_KEY ZARN_NAME_MAX

/* One alias. */
typedef struct rtotag_t {
    const char *tagid;       /* the alias; interned */
    const char *varid;       /* the name it stands for; interned */
    unsigned char inherited; /* 0: defined in this list; 1: propagated from another list */
} rtotag_t;

/* A tag list; opaque. */
typedef struct rtotaglst rtotaglst_t;

/* A new empty list with room for capacity entries (below 1 is taken as 1);
   NULL when memory cannot be had. The caller destroys it. */
ZARN_API rtotaglst_t *rtotaglst_create(int32_t capacity);
/* Withdraws the list's aliases from its ancestors, unlinks it from its
   parent and its children (which survive) and frees it. NULL is ignored. */
ZARN_API void rtotaglst_destroy(rtotaglst_t *list);
/* Text put before aliases and names copied to the parent. Kept by reference:
   the caller keeps it alive while the list lives. NULL means the empty text. */
ZARN_API void rtotaglst_set_prefix(rtotaglst_t *list, const char *prefix);
/* Makes child a sub-plant of parent and copies the child's entries into the
   parent. Linking the same pair again does nothing. */
ZARN_API void rtotaglst_link_parent(rtotaglst_t *parent, rtotaglst_t *child);
/* Adds alias -> name, defined here, and copies it to the ancestors.
   Returns 1 when the alias already exists in the list (the first definition
   stays), else 0 (also when the alias is refused with a message). */
ZARN_API int32_t rtotaglst_add_tag(rtotaglst_t *list, const char *alias, const char *name);
/* Removes every alias defined here, keeping inherited ones, and withdraws
   their copies from the ancestors. Returns the number of entries kept. */
ZARN_API int32_t rtotaglst_none(rtotaglst_t *list);
/* Prints one line per entry to pipe (NULL: the history device); stops early
   when Ctrl-C is pending. */
ZARN_API void rtotaglst_print(rtopipe *pipe, rtotaglst_t *list);
/* Number of entries; 0 for NULL. */
ZARN_API int32_t rtotaglst_inq_ntag(rtotaglst_t *list);
/* Tag number of alias (exact, case-sensitive), 0 when absent. */
ZARN_API int32_t rtotaglst_lookup(rtotaglst_t *list, const char *alias);
/* Alias, target name, or the entry of tag k (1..n); NULL with an assertion
   line for any other k. */
ZARN_API const char *rtotaglst_inq_tagid(rtotaglst_t *list, int32_t k);
ZARN_API const char *rtotaglst_inq_varid(rtotaglst_t *list, int32_t k);
ZARN_API rtotag_t *rtotaglst_inq_tag(rtotaglst_t *list, int32_t k);
/* The name alias stands for, or NULL when it is no alias here. */
ZARN_API const char *rtotaglst_search_tags(rtotaglst_t *list, const char *name);
/* *k_out := tag number of alias (0 when absent); name_out receives the
   target name, or the empty text. name_out must have room for the name and
   its terminator (rtotaglst_search_tags tells its length). */
ZARN_API void rtotaglst_inq_by_tag(rtotaglst_t *list, const char *alias, char *name_out, int32_t *k_out);

/* Fortran forms: the list by the address of its handle, integers 64-bit,
   texts as blank-padded fields with hidden lengths at the end. */
ZARN_API rtotaglst_t *RTOTAGLST_CREATE_F(const int64_t *capacity);
/* Destroys the list and clears the handle. */
ZARN_API void RTOTAGLST_DESTROY_F(rtotaglst_t **list);
ZARN_API int64_t RTOTAGLST_NONE_F(rtotaglst_t **list);
ZARN_API void RTOTAGLST_PRINT_F(rtopipe **pipe, rtotaglst_t **list);
ZARN_API int64_t RTOTAGLST_INQ_NTAG_F(rtotaglst_t **list);
ZARN_API int64_t RTOTAGLST_ADD_TAG_F(rtotaglst_t **list, const char *alias, const char *name,
                                     size_t alias_length, size_t name_length);
ZARN_API int64_t RTOTAGLST_LOOKUP_F(rtotaglst_t **list, const char *alias, size_t alias_length);
ZARN_API void RTOTAGLST_INQ_BY_TAG_F(rtotaglst_t **list, const char *alias, char *name_out, int64_t *k_out,
                                     size_t alias_length, size_t name_out_length);

ZARN_END_DECLS

#endif
