/*
 * The shared vocabularies of variable lists: keyword tables that turn words
 * into SPEC, bound-type and connection-type codes, the names of the
 * connection types by code, and the print masks of variable and equation
 * listings.
 *
 * Keyword lookups ignore case, but only a word whose first character is an
 * upper-case letter A-Z can match; the word is given with its length and need
 * not end in a NUL. They return the table's constant entry (never to be
 * freed), or NULL. The tables are read-only; their letter index is built once,
 * safely under threads, on first use.
 *
 * A print mask is an array of flags, 0 or 1, one per attribute a listing
 * shows: VMASK_SIZE machine words for variables, EMASK_SIZE 32-bit words for
 * equations. The mask functions and g_printVar_mask are process-wide and
 * unguarded: callers serialise. The filters pick variables from records. Messages go to the history device
 * rtHisDev.
 */
#ifndef ZARNUTILS_VARMASK_H
#define ZARNUTILS_VARMASK_H

#include "zarnutils/attrcatalog.h"
#include "zarnutils/gllist.h"
#include "zarnutils/rtvalue.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/zarn_api.h"

ZARN_BEGIN_DECLS

/* rtvar_keyword, one keyword of a table and its code, is in attrcatalog.h. */

/* An entry of the connection-type table: the 149 physical-type names with
   their codes 0..148 and 65 property names with codes 1001..1065. */
typedef rtvar_keyword conn_type_keyword;

/* Number of connection-type codes, 0..1065. */
#define CONN_TYPE_COUNT 1066

/* SPEC words (4-11 characters) and their codes 0-7; every word table is
   listed in docs/attributes.md. */
ZARN_API const rtvar_keyword *rtvar_spec_lookup(const char *word, size_t n);
/* Bound-type words (4-7 characters) and their codes 0-3. */
ZARN_API const rtvar_keyword *rtvar_bound_lookup(const char *word, size_t n);
/* Connection-type words (2-14 characters). */
ZARN_API const conn_type_keyword *conn_type_lookup(const char *word, size_t n);

/* The connection-type names by code: 0..148 the physical types, 1001..1065
   the properties, "" for the codes between. Read-only for callers. */
ZARN_API extern const char *conn_type_string[CONN_TYPE_COUNT];

/* ---- variable print mask ---- */

/* Flag positions, in the order of vmask_names: VMASK_NAME, VMASK_PHYSICAL_TYPE,
   VMASK_LOWER, VMASK_VALUE, VMASK_UPPER, VMASK_SCALE, VMASK_UNITS, VMASK_SPEC,
   VMASK_STEP, VMASK_SBWEIGHT, VMASK_SHADOW_PRICE, VMASK_ACTIVE_BOUND,
   VMASK_BASEUOM, VMASK_QUALITY, VMASK_INIT, VMASK_CHANGE, VMASK_BOUND,
   VMASK_PARAM, VMASK_TARGET, VMASK_DESCRIPTION, VMASK_MODIFIED,
   VMASK_VAR_TYPE, VMASK_THRESHOLD, VMASK_RAMPED, VMASK_CONN_TYPE (0..24;
   VMASK_SIZE of them). */
#define ZARN_VMASK_ENUMERATOR(flag) flag,
enum vmask_flag { ZARN_VMASK_FLAGS(ZARN_VMASK_ENUMERATOR) };
#undef ZARN_VMASK_ENUMERATOR
/* The attribute name of each flag. */
ZARN_API extern const char *const vmask_names[VMASK_SIZE];

/* The attributes a variable listing prints by default: a list of IDENTIFIER
   values (value_t *, owned by the list). NULL or empty until
   createPrintVarMask fills it; the host may replace it. */
ZARN_API extern gl_list_t *g_printVar_mask;
/* When g_printVar_mask is NULL or empty, fills it with NAME, LOWER, VALUE,
   UPPER, UNITS and SPEC (an empty list keeps its address). Out of memory:
   reported, and the list stays as it was. */
ZARN_API void createPrintVarMask(void);

/* All flags 0. A NULL mask is ignored by every mask function. */
ZARN_API void vmask_select_none(int64_t *mask);
/* NAME to SPEC (flags 0-7) and CONN_TYPE. */
ZARN_API void vmask_select_default(int64_t *mask);
/* One flag per name of g_printVar_mask (made first when needed), names
   compared exactly; an unknown name is reported and skipped. */
ZARN_API void vmask_select_print_default(int64_t *mask);
/* value: a non-empty LIST of IDENTIFIERs naming attributes (LB, VAL, UOM, SB
   and the like are accepted). PARAM and TARGET go together; an attribute
   shown in units brings UNITS along. 1 on success; 0 for anything else, with
   the flags of the items before the bad one left set. */
ZARN_API int vmask_from_value(int64_t *mask, const value_t *value);
/* The same, an empty list allowed and without adding UNITS. */
ZARN_API int vmask_from_value2(int64_t *mask, const value_t *value);
ZARN_API void vmask_copy(const int64_t *src, int64_t *dst);

/* ---- equation print mask ---- */

/* EMASK_NAME, EMASK_VALUE, EMASK_SCALE, EMASK_CODE, EMASK_SHADOW_PRICE,
   EMASK_SHADOW_PRICE_SSI, EMASK_LINEARITY, EMASK_INCLUDED (0..7; EMASK_SIZE
   of them). */
#define ZARN_EMASK_ENUMERATOR(flag) flag,
enum emask_flag { ZARN_EMASK_FLAGS(ZARN_EMASK_ENUMERATOR) };
#undef ZARN_EMASK_ENUMERATOR
/* The names of the first six flags. */
ZARN_API extern const char *const emask_names[6];

ZARN_API void emask_select_none(int32_t *mask);
/* NAME, VALUE, SCALE, CODE, linearity and inclusion. */
ZARN_API void emask_select_print_default(int32_t *mask);
/* value: a LIST of IDENTIFIERs naming equation fields (an empty one sets
   nothing). 1 on success, 0 at the first bad item or when not a list. */
ZARN_API int emask_from_value(int32_t *mask, const value_t *value);
ZARN_API void emask_copy(const int32_t *src, int32_t *dst);

/* ---- variable filters ---- */

/* Picks variables from records whose STATUS, NAME and ACTIVE_BOUND fields
   the caller has filled: 1 to take the variable, else 0. arg is a compiled
   pattern (hs_regexp *) for the filters that match the name, unused by the
   others. Fixedness is varIsFixed under the current problem mode. A null
   record, a null pattern or a name without its terminator gives 0. */
typedef int (*vfilter_fn)(const rtvarinfo_t *record, void *arg);

ZARN_API int vfilter_always_true(const rtvarinfo_t *record, void *arg);
ZARN_API int vfilter_var_is_fixed(const rtvarinfo_t *record, void *arg);
/* The pattern matches somewhere in the name. */
ZARN_API int vfilter_regexp_match(const rtvarinfo_t *record, void *regexp);
/* Fixed, and the name matches. */
ZARN_API int vfilter_fixed_regexp_match(const rtvarinfo_t *record, void *regexp);
/* Not fixed, with an active bound. */
ZARN_API int vfilter_active_bounds(const rtvarinfo_t *record, void *arg);
/* Not fixed, with an active bound, and the name matches. */
ZARN_API int vfilter_regexp_match_with_active_bounds(const rtvarinfo_t *record, void *regexp);

ZARN_END_DECLS

#endif
