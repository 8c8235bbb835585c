/* Regular expressions: compile a pattern to a byte program and match it by
 * backtracking; one kept pattern for re_comp/re_exec; and a resumable search
 * over the names of a numbered collection. */
#ifndef ZARNUTILS_HSREGEXP_H
#define ZARNUTILS_HSREGEXP_H

#include "zarnutils/zarn_api.h"

ZARN_BEGIN_DECLS

/* Number of capture slots: the whole match (0) and groups 1 to 9. */
#define HS_NSUBEXP 10

/* Leading byte of every compiled program (octal 234). */
#define HS_REGEXP_MAGIC 0234

/* A compiled pattern: one heap block, freed with hs_regfree. Field order is
 * part of the ABI; callers read startp and endp. */
typedef struct hs_regexp {
    const char *startp[HS_NSUBEXP]; /* after a match: start of the match (0) and of each group; NULL for a
                                       group that took no part */
    const char *endp[HS_NSUBEXP];   /* one past the last matched character of each */
    char regstart;                  /* character every match begins with, or 0 */
    char reganch;                   /* nonzero: the pattern is anchored at the subject's start */
    const char *regmust;            /* literal every match contains (points into program), or NULL */
    int32_t regmlen;                /* length of regmust */
    char program[1];                /* magic byte, then the node program (longer than declared) */
} hs_regexp;

/* Compiles pattern. Returns a new program owned by the caller, or NULL with
 * the reason in the error text (hs_get_regerr). */
ZARN_API hs_regexp *hs_regcomp(const char *pattern);
/* 1 when prog matches somewhere in subject (startp/endp then describe the
 * first match found), 0 otherwise; errors also set the error text. */
ZARN_API int hs_regexec(hs_regexp *prog, const char *subject);
/* Writes source into dest with "&" replaced by the whole last match and "\n"
 * (n a digit) by group n; "\&" and "\\" give the character itself. dest must
 * have room for the result and its terminator. */
ZARN_API void hs_regsub(const hs_regexp *prog, const char *source, char *dest);
/* An independent copy of prog with empty match positions; NULL on failure. */
ZARN_API hs_regexp *hs_regcopy(const hs_regexp *prog);
/* Frees a compiled pattern; NULL is accepted. */
ZARN_API void hs_regfree(hs_regexp *prog);
/* The last error text of the engine (a shared buffer), or NULL while empty.
 * It is cleared only by re_comp and re_exec. */
ZARN_API const char *hs_get_regerr(void);

/* Clears the error text and compiles pattern. On success the pattern becomes
 * the one kept for re_exec and NULL is returned; on failure the error text is
 * returned and the kept pattern stays. */
ZARN_API const char *re_comp(const char *pattern);
/* Clears the error text; -1 when no pattern is kept, else hs_regexec's result. */
ZARN_API int re_exec(const char *subject);
/* Frees the kept pattern. */
ZARN_API void re_free(void);

/* Name source of a search: the name of item (1-based) of collection, or NULL
 * when there is none. The text is only read until the next call. */
typedef const char *(*rtregex_name_fn)(void *collection, int32_t item);

/* A resumable search over the names of items 1..count of a collection. */
typedef struct rtregex rtregex;

/* A new search for prog (not owned; see rtregex_destroy_all) over count items.
 * Names longer than maxLength characters are cut. When bareNames is nonzero
 * the bare names are tested; each text of the NULL-terminated suffixes array
 * (which may be NULL; it must outlive the search) adds the candidate
 * name + "." + suffix. NULL when prog or nameOf is NULL or count < 0. */
ZARN_API rtregex *rtregex_create(hs_regexp *prog, void *collection, int32_t count, rtregex_name_fn nameOf,
                                 int32_t maxLength, int bareNames, const char *const *suffixes);
/* Restricts the search to items first..last and restarts it before first.
 * Returns 4. */
ZARN_API int32_t rtregex_limit_search(rtregex *search, int32_t first, int32_t last);
/* The next matching item, or 0 when there is none. The matching candidate is
 * copied to out (room for maxLength + 1 characters); *withSuffix becomes 1 when
 * it carries a suffix, else 0. */
ZARN_API int32_t rtregex_match(rtregex *search, char *out, int32_t *withSuffix);
/* Frees the search, not its pattern. NULL is a no-op. */
ZARN_API void rtregex_destroy(rtregex *search);
/* Frees the pattern and the search. NULL is a no-op. */
ZARN_API void rtregex_destroy_all(rtregex *search);

ZARN_END_DECLS

#endif
