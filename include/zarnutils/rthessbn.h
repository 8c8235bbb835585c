/*
 * Sparse Hessians in coordinate form: for every nonzero its equation number,
 * two variable numbers and a value. They behave as the Jacobians of
 * rtjacbn.h (heads and windows, reset nonzeros, counts, capacity, moves,
 * relocation, renumbering, records) with a second variable number and its
 * own window offset, and without linear flags or Fortran twins. A reset
 * nonzero has all three numbers 0 and value 1e35.
 *
 * A NULL handle makes setters do nothing and inquiries give 0. Messages go to
 * the history device rtHisDev, assertion lines to standard error.
 */
#ifndef ZARNUTILS_RTHESSBN_H
#define ZARNUTILS_RTHESSBN_H

#include "zarnutils/hsregexp.h"
#include "zarnutils/rtattrdict.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/zarn_api.h"

ZARN_BEGIN_DECLS

struct rt_hess_ops;

/* Fields common to both kinds; the order is part of the ABI. */
typedef struct rt_hess {
    int32_t nnz;                   /* nonzeros in use */
    int32_t capacity;              /* entries of every array (a window: its own extent) */
    const struct rt_hess_ops *ops; /* head or embedded operations */
} rt_hess_t;

/* A head: owns the arrays, capacity entries each. */
typedef struct rt_hess_head {
    rt_hess_t base;
    int64_t *irn;   /* equation numbers (integer plex block) */
    int64_t *icn;   /* variable numbers (integer plex block) */
    int64_t *icn2;  /* second variable numbers (integer plex block) */
    double *values; /* values (double plex block) */
} rt_hess_head_t;

/* A window: nonzero k is the parent's nzOffset + k; each number adds its offset. */
typedef struct rt_hess_embedded {
    rt_hess_t base;
    rt_hess_t *parent; /* a head or another window */
    uint32_t varOffset;
    uint32_t var2Offset;
    uint32_t eqnOffset;
    uint32_t nzOffset;
} rt_hess_embedded_t;

/* Mask bits of the nonzero record; the numbers are always filled. */
#define RT_HESS_NZ_EQNNAME 1
#define RT_HESS_NZ_VARNAMES 2
#define RT_HESS_NZ_VALUE 8

/* One nonzero with the names of its equation and variables; owned by the caller. */
typedef struct rt_hess_nz {
    unsigned char mask;
    char eqnname[ZARN_NAME_BUF];
    char varname[ZARN_NAME_BUF];
    char var2name[ZARN_NAME_BUF];
    int32_t eqnnum;
    int32_t varnum;
    int32_t var2num;
    double value;
} rt_hess_nz;

/* ---- Lifecycle and shape (as the rtojac_ functions) ---- */

ZARN_API rt_hess_t *rtohess_create(int32_t capacity);
/* Every first number must be nonzero (NULL otherwise). */
ZARN_API rt_hess_t *rtohess_create_embedded(int32_t capacity, rt_hess_t *parent, int32_t first_var,
                                            int32_t first_var2, int32_t first_eqn, int32_t first_nz);
ZARN_API void rtohess_parent(rt_hess_t *hess, rt_hess_t **parent);
ZARN_API int32_t rtohess_parent_check(rt_hess_t *parent, rt_hess_t *hess);
ZARN_API void rtohess_destroy(rt_hess_t **hess);
ZARN_API void rtohess_set_nnz(rt_hess_t *hess, int32_t n);
ZARN_API int32_t rtohess_inq_nnz(rt_hess_t *hess);
ZARN_API void rtohess_resize(rt_hess_t *hess, int32_t capacity);
ZARN_API int32_t rtohess_inq_capacity(rt_hess_t *hess);
ZARN_API int32_t rtohess_size(rt_hess_t *hess);
ZARN_API int32_t rtohess_capacity(rt_hess_t *hess);

/* ---- Nonzeros ---- */

ZARN_API void rtohess_set_nz_eqnnum(rt_hess_t *hess, int32_t k, int32_t eqn);
ZARN_API int32_t rtohess_inq_nz_eqnnum(rt_hess_t *hess, int32_t k);
ZARN_API void rtohess_set_nz_varnum(rt_hess_t *hess, int32_t k, int32_t var);
ZARN_API int32_t rtohess_inq_nz_varnum(rt_hess_t *hess, int32_t k);
ZARN_API void rtohess_set_nz_varnum2(rt_hess_t *hess, int32_t k, int32_t var2);
ZARN_API int32_t rtohess_inq_nz_varnum2(rt_hess_t *hess, int32_t k);
/* The equation number, then the two variable numbers. */
ZARN_API void rtohess_set_nz_coord(rt_hess_t *hess, int32_t k, int32_t eqn, int32_t var, int32_t var2);
ZARN_API void rtohess_set_nz_value(rt_hess_t *hess, int32_t k, double value);
ZARN_API void rtohess_inq_nz_value(rt_hess_t *hess, int32_t k, double *value);
ZARN_API void rtohess_set_rows(rt_hess_t *hess, const int64_t *rows);
ZARN_API void rtohess_set_columns(rt_hess_t *hess, const int64_t *columns);
ZARN_API void rtohess_set_columns2(rt_hess_t *hess, const int64_t *columns2);

/* ---- The head's arrays ---- */

ZARN_API int64_t *rtohess_rowptr(rt_hess_t *hess);
ZARN_API int64_t *rtohess_colptr(rt_hess_t *hess);
ZARN_API int64_t *rtohess_col2ptr(rt_hess_t *hess);
ZARN_API double *rtohess_vec_hessianvalues(rt_hess_t *hess);
ZARN_API int64_t rtohess_rowoffset(rt_hess_t *hess);
ZARN_API int64_t rtohess_coloffset(rt_hess_t *hess);
ZARN_API int64_t rtohess_col2offset(rt_hess_t *hess);

/* ---- Moving and renumbering ---- */

ZARN_API void rtohess_move_items(rt_hess_t *hess, int32_t source, int32_t destination, int32_t count);
/* var_shift is added to both variable offsets. */
ZARN_API void rtohess_relocate(rt_hess_t *hess, int32_t first_nz, int32_t var_shift, int32_t eqn_shift);
/* The variable threshold and shift apply to both variable numbers. */
ZARN_API void rtohess_renumber(rt_hess_t *hess, int32_t first, int32_t last, int32_t var_threshold,
                               int32_t var_shift, int32_t eqn_threshold, int32_t eqn_shift);
ZARN_API void rtohess_renumber_vars_in_range(rt_hess_t *hess, int32_t first, int32_t last, int32_t low,
                                             int32_t high, int32_t shift);

/* ---- Records, search and filters ---- */

ZARN_API void rtohess_inq_nz(rtvarlst_t *varlst, rtattrdict_t *eqnlst, rt_hess_t *hess, int32_t k,
                             rt_hess_nz *rec);
/* A nonzero matches when either of its variables' names does. */
ZARN_API int32_t rtohess_match_var_regexp(rt_hess_t *hess, rtvarlst_t *varlst, int32_t start);
ZARN_API int32_t rtohess_match_eqn_regexp(rt_hess_t *hess, rtattrdict_t *eqnlst, int32_t start);
/* The variable filters pass a record when either variable does. */
ZARN_API int rtohess_filter_always_true(const rt_hess_nz *rec, const void *criterion);
ZARN_API int rtohess_filter_var_match_regexp(const rt_hess_nz *rec, hs_regexp *prog);
ZARN_API int rtohess_filter_var_match_name(const rt_hess_nz *rec, const char *name);
ZARN_API int rtohess_filter_var_match_index(const rt_hess_nz *rec, int32_t index);
ZARN_API int rtohess_filter_eqn_match_regexp(const rt_hess_nz *rec, hs_regexp *prog);
ZARN_API int rtohess_filter_eqn_match_name(const rt_hess_nz *rec, const char *name);
ZARN_API int rtohess_filter_eqn_match_index(const rt_hess_nz *rec, int32_t index);

/* Whether the solver is to use the Hessian: rto_set_use_hessian_parameter
   and rto_inq_use_hessian_parameter in rtcontext.h. */

ZARN_END_DECLS

#endif
