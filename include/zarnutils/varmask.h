/*
 * The shared vocabularies of variable lists: keyword tables that turn words
 * into specification, bound-type and connection-type codes, the names of the
 * connection types by code, and the print masks of variable and equation
 * listings.
 *
 * Keyword lookups ignore case, but only a word whose first character is an
 * upper-case letter A-Z can match; the word is given with its length and need
 * not end in a NUL. They return the table's constant entry (never to be
 * freed), or NULL. The tables are read-only; their letter index is built once,
 * safely under threads, on first use.
 */
#ifndef ZARNUTILS_VARMASK_H
#define ZARNUTILS_VARMASK_H

#include "zarnutils/zarn_api.h"

ZARN_BEGIN_DECLS

/* One keyword of a table and the code it stands for. */
typedef struct rtvar_keyword {
    const char *keyword; /* upper-case text */
    int32_t code;        /* the code the caller reads */
} rtvar_keyword;

/* An entry of the connection-type table: the 149 physical-type names with
   their codes 0..148 and 65 property names with codes 1001..1065. */
typedef rtvar_keyword conn_type_keyword;

/* Number of connection-type codes, 0..1065. */
#define CONN_TYPE_COUNT 1066

/* Specification words (4-11 characters): CALC and FREE 0, CONST and FIXED 1,
   INDEP and INDEPENDENT 2, MEAS 3, PARAM 4, OPTIM 5, RECON 6, INITIAL 7. */
ZARN_API const rtvar_keyword *rtvar_spec_lookup(const char *word, size_t n);
/* Bound-type words (4-7 characters): HARD 0, RELAXED 1, SOFT 2, SOFT2 3. */
ZARN_API const rtvar_keyword *rtvar_bound_lookup(const char *word, size_t n);
/* Connection-type words (2-14 characters). */
ZARN_API const conn_type_keyword *conn_type_lookup(const char *word, size_t n);

/* The connection-type names by code: 0..148 the physical types, 1001..1065
   the properties, "" for the codes between. Read-only for callers. */
ZARN_API extern const char *conn_type_string[CONN_TYPE_COUNT];

ZARN_END_DECLS

#endif
