/* Interned strings: equal texts give the same pointer, so names can be
 * compared by address. Texts live in large storage blocks and are never freed
 * one by one; rtsymtab_shutdown frees them all. Not thread-safe. */
#ifndef ZARNUTILS_RTSYMTAB_H
#define ZARNUTILS_RTSYMTAB_H

#include "zarnutils/zarn_api.h"

ZARN_BEGIN_DECLS

/* The interned text equal to text (stored when new); NULL for NULL text or
 * when memory runs out. The result belongs to the table: never free or
 * change it. */
ZARN_API const char *rtsymtab_add(const char *text);
/* The interned text of the first n characters of text (fewer when text is
 * shorter); NULL when n < 0. */
ZARN_API const char *rtsymtab_add_part(const char *text, int64_t n);
/* The interned empty text. */
ZARN_API const char *rtsymtab_empty(void);
/* Lets the table grow once for about n more texts (n + n/10 in all, at most
 * 2^24: more than any process interns). */
ZARN_API void rtsymtab_size_estimate(uint32_t n);
/* Frees the table and every interned text: all earlier results become
 * invalid. The next rtsymtab_add starts a new table. */
ZARN_API void rtsymtab_shutdown(void);
/* Fortran form of rtsymtab_shutdown. */
ZARN_API void RTSYMTAB_SHUTDOWN_F(void);

/* A store of text copies in blocks of 16384 characters, without interning.
 * A store is reached through a handle that starts as NULL; the first add
 * creates it. */
typedef struct rtsymstor rtsymstor;

/* A stored copy of text; NULL for a NULL handle or text or when memory runs out. */
ZARN_API const char *rtsymstor_add(rtsymstor **store, const char *text);
/* A stored copy of the first n characters of text; NULL when n < 0. */
ZARN_API const char *rtsymstor_add_part(rtsymstor **store, const char *text, int64_t n);
/* Frees the store and every copy in it and sets *store to NULL. */
ZARN_API void rtsymstor_destroy(rtsymstor **store);

ZARN_END_DECLS

#endif
