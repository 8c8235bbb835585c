/*
 * Equation lists: every equation of a model with its name, residual, scale,
 * status word, group, process variable, block pointer, basis flag, shadow
 * price and host wrapper, stored column by column.
 *
 * An equation list is an attribute dictionary (rtattrdict.h) created with the
 * equation columns: the handle is an rtattrdict_t, a head list owns its
 * storage and an embedded list is a window onto a run of its parent's
 * equations, numbered from 1 again and optionally adding a name prefix.
 * Embedded lists are destroyed before their head. Indices are 1-based.
 *
 * The real 1e35 means not set. A NULL list makes a reader give 0 (0.0, NULL)
 * and a writer do nothing, silently unless an assertion line is listed; an
 * index outside 1..n reaches the dictionary, whose getters give their zero
 * value and whose setters report the access. Messages go to the history
 * device rtHisDev, assertion lines to standard error; neither stops the call
 * beyond what each function says.
 *
 * Upper-case twins serve Fortran callers: the list is passed as the address
 * of its handle, integers as 64-bit integers, and each character argument
 * adds its length, by value, at the end of the list. Integer results are
 * 64 bits wide.
 */
#ifndef ZARNUTILS_RTEQNLST_H
#define ZARNUTILS_RTEQNLST_H

#include "zarnutils/msgdigest.h"
#include "zarnutils/rtattrdict.h"
#include "zarnutils/rtvalue.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/zarn_api.h"

ZARN_BEGIN_DECLS

/* The real that means not set. */
#define RTOEQNLST_UNDEFINED 1e35

/* Field bits of the equation record, in the first mask word. */
#define EQNINFO_NAME 1
#define EQNINFO_RESIDUAL 2
#define EQNINFO_SCALE 4
#define EQNINFO_STATUS 8
#define EQNINFO_GROUP 16
#define EQNINFO_PROCVAR 32
#define EQNINFO_BLOCKPTR 64
#define EQNINFO_BASIC 128
#define EQNINFO_SHADOW_PRICE 256

/* Size of the name field: 1024 characters and the terminator. */
#define EQNINFO_NAME_SIZE ZARN_NAME_BUF

/* One equation's attributes with the mask of the fields meant (the variable
   record's mask pair; only the first word is read). Owned by the caller. */
typedef struct eqninfo {
    rtvarmask_t mask;             /* which fields are meant */
    char name[EQNINFO_NAME_SIZE]; /* "" when the equation has none */
    double residual;
    double scale;
    int64_t status; /* the equation status word (varutl.h) */
    int64_t group;
    const char *proc_var; /* inquiry: the list's own text, not a copy; NULL or "" for none */
    void *blockptr;       /* the caller's, never dereferenced */
    int64_t basic;
    double shadow_price;
} eqninfo;

struct IWEXWrapper;

/* ---- Lifecycle and shape ---- */

/* A new empty head list of that capacity (negative: 0); NULL when memory runs out. */
ZARN_API rtattrdict_t *rtoeqnlst_create(int32_t capacity);
/* With a parent: an empty window of that capacity at the parent's equation
   start, with a name prefix (NULL: none), not resizable; NULL (with the
   dictionary's message) when the parent is too small. Without a parent:
   rtoeqnlst_create(capacity). */
ZARN_API rtattrdict_t *rtoeqnlst_create_embedded(int32_t capacity, rtattrdict_t *parent, const char *prefix,
                                                 int32_t start);
/* Destroys *list (a window resets the parent's equations it covers) and sets
 *list to NULL. NULL is a no-op. */
ZARN_API void rtoeqnlst_destroy(rtattrdict_t **list);
/* 1 when list is a window whose parent is parent, else 0. */
ZARN_API int32_t rtoeqnlst_parent_check(rtattrdict_t *parent, rtattrdict_t *list);
/* Index of equation i in the head at the top of the chain. */
ZARN_API int32_t rtoeqnlst_absolute_index(rtattrdict_t *list, int32_t i);
ZARN_API int32_t rtoeqnlst_inq_neqn(rtattrdict_t *list);
/* Sets the number of equations: 0..capacity; negative n is ignored. */
ZARN_API void rtoeqnlst_set_neqn(rtattrdict_t *list, int32_t n);
ZARN_API int32_t rtoeqnlst_inq_capacity(rtattrdict_t *list);
/* Changes the capacity (not the number of equations); negative n is ignored. */
ZARN_API void rtoeqnlst_resize(rtattrdict_t *list, int32_t n);
/* As rtattrdict_move_items and rtattrdict_relocate. */
ZARN_API void rtoeqnlst_move_items(rtattrdict_t *list, int32_t source, int32_t destination, int32_t count);
ZARN_API void rtoeqnlst_relocate(rtattrdict_t *list, int32_t start);
/* Number of included equations. */
ZARN_API int32_t rtoeqnlst_inq_neqn_active(rtattrdict_t *list);
/* Writes the dictionary's statistics. */
ZARN_API void rtoeqnlst_printsymbolstats(rtattrdict_t *list);
/* Feeds the names of equations 1..n to ctx; returns n. */
ZARN_API int32_t rtoeqnlst_compute_md(rtattrdict_t *list, zarn_md5_ctx_t *ctx);

/* ---- Names ---- */

/* Names equation i (the dictionary's name rules and messages). */
ZARN_API void rtoeqnlst_addeqn(rtattrdict_t *list, int32_t i, const char *name);
/* Names equations first..last from a block of fixed-width names of width
   bytes each; returns the number named (0 for an empty range). */
ZARN_API int32_t rtoeqnlst_addeqns(rtattrdict_t *list, int32_t first, int32_t last, int32_t width,
                                   const char *block);
/* Resets equations first..last to unnamed defaults. */
ZARN_API void rtoeqnlst_removeeqns(rtattrdict_t *list, int32_t first, int32_t last);
/* The name as seen from the list (belongs to the list), or NULL. */
ZARN_API const char *rtoeqnlst_lookup_eqn_name(rtattrdict_t *list, int32_t i);
/* Copies the name into buffer (EQNINFO_NAME_SIZE bytes); "" when there is none. */
ZARN_API void rtoeqnlst_inq_eqn_name(rtattrdict_t *list, int32_t i, char *buffer);
/* Index of the equation of that name, or 0. */
ZARN_API int32_t rtoeqnlst__eqnname2index(rtattrdict_t *list, const char *name);
/* Index of the equation a dotted name "NAME.KEYWORD" (or a plain name) names, or 0. */
ZARN_API int32_t rtoeqnlst_equation_object(rtattrdict_t *list, const char *text);
/* Writes the names of equations first..last into consecutive fields of width
   bytes; a shorter name leaves the rest of its field alone, a longer one is
   cut with a message. A zero first, last or width does nothing. */
ZARN_API void rtoeqnlst_names(rtattrdict_t *list, int32_t first, int32_t last, int32_t width, char *block);
/* 1 when both ranges have equal last - first, first1 and first2 are at least
   1, last1 and last2 within their lists, and every name of the range of list1
   equals the name at the same place of list2; else 0. */
ZARN_API int32_t rtoeqnlst_names_eq(rtattrdict_t *list1, int32_t first1, int32_t last1, rtattrdict_t *list2,
                                    int32_t first2, int32_t last2);

/* ---- Attributes ---- */

/* RESIDUAL. */
ZARN_API double rtoeqnlst_inq_eqn_value(rtattrdict_t *list, int32_t i);
ZARN_API double rtoeqnlst_inq_eqn_scale(rtattrdict_t *list, int32_t i);
ZARN_API void rtoeqnlst_set_eqn_scale(rtattrdict_t *list, int32_t i, double scale);
ZARN_API double rtoeqnlst_inq_eqn_shadow_price(rtattrdict_t *list, int32_t i);
ZARN_API void rtoeqnlst_set_eqn_shadow_price(rtattrdict_t *list, int32_t i, double price);
/* The status word's low 32 bits (every field lies there). */
ZARN_API int32_t rtoeqnlst_inq_eqn_status(rtattrdict_t *list, int32_t i);
ZARN_API void rtoeqnlst_set_eqn_status(rtattrdict_t *list, int32_t i, int64_t status);
ZARN_API int32_t rtoeqnlst_inq_eqn_group(rtattrdict_t *list, int32_t i);
ZARN_API int32_t rtoeqnlst_inq_eqn_basic(rtattrdict_t *list, int32_t i);
ZARN_API void rtoeqnlst_set_eqn_basic(rtattrdict_t *list, int32_t i, int64_t basic);
ZARN_API void *rtoeqnlst_inq_eqn_blockptr(rtattrdict_t *list, int32_t i);
ZARN_API void rtoeqnlst_set_eqn_blockptr(rtattrdict_t *list, int32_t i, void *block);
/* A 32-bit integer, sign-extended to pointer width, stored as the pointer. */
ZARN_API void rtoeqnlst_set_eqn_blockptr_int(rtattrdict_t *list, int32_t i, int32_t block);
/* The process variable's name (interned, belongs to the list), or NULL. */
ZARN_API const char *rtoeqnlst_inq_eqn_proc_var(rtattrdict_t *list, int32_t i);
ZARN_API void rtoeqnlst_set_eqn_proc_var(rtattrdict_t *list, int32_t i, const char *name);
/* The wrapper held (no reference added), or NULL. */
ZARN_API struct IWEXWrapper *rtoeqnlst_inq_eqn_comWrapper(rtattrdict_t *list, int32_t i);
/* Holds one reference to the new wrapper and releases the old one. */
ZARN_API void rtoeqnlst_set_eqn_comWrapper(rtattrdict_t *list, int32_t i, struct IWEXWrapper *wrapper);

/* Whole columns as seen from the list: cell 0 is equation 1. Valid until the
   head's next capacity change; NULL for a NULL list. */
ZARN_API double *rtoeqnlst_vec_residual(rtattrdict_t *list);
ZARN_API double *rtoeqnlst_vec_scale(rtattrdict_t *list);
ZARN_API double *rtoeqnlst_vec_shadow_price(rtattrdict_t *list);
ZARN_API int64_t *rtoeqnlst_vec_status(rtattrdict_t *list);
ZARN_API int64_t *rtoeqnlst_vec_group(rtattrdict_t *list);
ZARN_API int64_t *rtoeqnlst_vec_basic(rtattrdict_t *list);
ZARN_API void **rtoeqnlst_vec_blockptr(rtattrdict_t *list);

/* ---- Records ---- */

/* Fills the record's meant fields from equation i. */
ZARN_API void rtoeqnlst_inq_eqn(rtattrdict_t *list, int32_t i, eqninfo *record);
/* Names equation i and sets it from the meant fields: RESIDUAL 0.0, SCALE
   1.0, STATUS 0, PROCVAR and BLOCKPTR none, SHADOW_PRICE 0.0 where not
   meant; GROUP only when meant; BASIC never. */
ZARN_API void rtoeqnlst_initialize_eqn(rtattrdict_t *list, int32_t i, const eqninfo *record);

/* ---- Inclusion, norm and the largest values ---- */

/* flag != 0 includes equation i, 0 excludes it; outside 1..n nothing. */
ZARN_API void rtoeqnlst_in_exclude_equation(rtattrdict_t *list, int32_t i, int32_t flag);
/* *out = the root of the sum of squared residuals of the included equality
   equations first..last; 0.0 when last < first; 1e35 for a NULL list or a
   range outside 1..n. */
ZARN_API void rtoeqnlst_norm(rtattrdict_t *list, int32_t first, int32_t last, double *out);
/* out[0..n-1]: the indices of the n included equations of first..last (cut
   to 1..n) with the largest |RESIDUAL|, largest first; slots beyond the
   included equations are 0. flag is not used. Equal magnitudes come in the
   order SLATEC_DSORT (numutil.h) gives them. */
ZARN_API void rtoeqnlst_inq_max_residuals(rtattrdict_t *list, int32_t first, int32_t last, int32_t n,
                                          int32_t flag, int32_t *out);
/* The same by |SHADOW_PRICE|, or with weighted != 0 by |SHADOW_PRICE * RESIDUAL|;
   an equation whose shadow price (or, weighted, residual) is not set counts as -1. */
ZARN_API void rtoeqnlst_inq_max_shadow_prices(rtattrdict_t *list, int32_t first, int32_t last, int32_t n,
                                              int32_t weighted, int32_t *out);

/* ---- The command language ---- */

/* Assigns value to "NAME.KEYWORD": INCLUDED (a logical), EQNSCALE (a number),
   TYPE (a math-type word), LINEARITY (LINEAR or NONLINEAR); the residual (no
   keyword) and SHADOW_PRICE are read-only. Reports on rtHisDev. */
ZARN_API void rtoeqnlst_assign_value(rtattrdict_t *list, const char *name, const value_t *value);
/* Empties value, then fills it with the attribute "NAME.KEYWORD" names: a
   number without unit (residual, EQNSCALE, SHADOW_PRICE; empty when not
   set), a logical (INCLUDED) or an identifier (TYPE, LINEARITY). */
ZARN_API void rtoeqnlst_lookup_value(rtattrdict_t *list, const char *name, value_t *value);

/* ---- Fortran twins ---- */

ZARN_API int64_t RTOEQNLST_ABSOLUTE_INDEX_F(rtattrdict_t **list, const int64_t *i);
ZARN_API int64_t RTOEQNLST_INQ_NEQN_F(rtattrdict_t **list);
ZARN_API int64_t RTOEQNLST_INQ_CAPACITY_F(rtattrdict_t **list);
ZARN_API void RTOEQNLST_SET_NEQN_F(rtattrdict_t **list, const int64_t *n);
ZARN_API void RTOEQNLST_RESIZE_F(rtattrdict_t **list, const int64_t *n);
ZARN_API int64_t RTOEQNLST_EQNNAME2INDEX(rtattrdict_t **list, const char *name, size_t name_len);
/* The name blank-padded and cut to the field. */
ZARN_API void RTOEQNLST_INQ_EQN_NAME_F(rtattrdict_t **list, const int64_t *i, char *name, size_t name_len);
ZARN_API void RTOEQNLST_ADDEQN_F(rtattrdict_t **list, const int64_t *i, const char *name, size_t name_len);
/* Name packed four characters to each 8-byte word (low half) / eight to each word. */
ZARN_API void RTOEQNLST_ADDEQN_I4_F(rtattrdict_t **list, const int64_t *i, const int64_t *words,
                                    const int64_t *n);
ZARN_API void RTOEQNLST_ADDEQN_R8_F(rtattrdict_t **list, const int64_t *i, const double *words,
                                    const int64_t *n);
/* block_len (the hidden length of one element) is not used: fields are width bytes. */
ZARN_API int64_t RTOEQNLST_ADDEQNS_F(rtattrdict_t **list, const int64_t *first, const int64_t *last,
                                     const int64_t *width, const char *block, size_t block_len);
ZARN_API void RTOEQNLST_NAMES_F(rtattrdict_t **list, const int64_t *first, const int64_t *last,
                                const int64_t *width, char *block, size_t block_len);
ZARN_API void RTOEQNLST_SET_EQN_BLOCKPTR_INT_F(rtattrdict_t **list, const int64_t *i, const int64_t *block);
/* Plex index (ZARN_b0 / ZARN_ib0) of a column's equation 1 into *out; 0 for a NULL list. */
ZARN_API void RTOEQNLST_ZARN_LBE(rtattrdict_t **list, int64_t *out);
ZARN_API void RTOEQNLST_ZARN_LBESCL(rtattrdict_t **list, int64_t *out);
ZARN_API void RTOEQNLST_ZARN_LBESTAT(rtattrdict_t **list, int64_t *out);
ZARN_API void RTOEQNLST_ZARN_LBEGROUP(rtattrdict_t **list, int64_t *out);

ZARN_END_DECLS

#endif
