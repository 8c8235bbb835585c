/*
 * Sparse Jacobians in coordinate form: for every nonzero its equation number
 * (row), variable number (column), value and linear flag, in four arrays of
 * one head. A window (embedded Jacobian) is a run of its parent's nonzeros:
 * a sub-model sets its nonzeros with local nonzero, equation and variable
 * numbers, and the window adds its offsets on the way to the head, which
 * holds the model's numbers. Windows are destroyed before their head.
 *
 * Nonzeros are numbered from 1. A reset nonzero has equation and variable
 * number 0, linear flag 0 and value 1e35 (RTOJAC_UNDEFINED); nonzeros beyond
 * nnz up to the capacity are reset ones. The number and value arrays are plex
 * blocks (zarnmalloc.h), so Fortran code reaches them by plex index.
 *
 * A NULL handle makes setters do nothing and inquiries give 0, silently
 * unless an assertion line is listed. An index outside 1..nnz gets its
 * "Index out of bounds" message and changes nothing. Messages go to the
 * history device rtHisDev, assertion lines to standard error; neither stops
 * the call beyond what each function says.
 *
 * Upper-case twins serve Fortran callers: the Jacobian is passed as the
 * address of its handle, integers as 64-bit integers; integer results are
 * 64 bits wide.
 */
#ifndef ZARNUTILS_RTJACBN_H
#define ZARNUTILS_RTJACBN_H

#include "zarnutils/hsregexp.h"
#include "zarnutils/rtattrdict.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/zarn_api.h"

ZARN_BEGIN_DECLS

/* The value of a reset nonzero. */
#define RTOJAC_UNDEFINED 1e35

struct rt_jac_ops;

/* Fields common to both kinds; the order is part of the ABI. */
typedef struct rt_jac {
    int32_t nnz;                  /* nonzeros in use */
    int32_t capacity;             /* entries of every array (a window: its own extent) */
    const struct rt_jac_ops *ops; /* head or embedded operations */
} rt_jac_t;

/* A head: owns the arrays, capacity entries each. */
typedef struct rt_jac_head {
    rt_jac_t base;
    int64_t *irn;          /* equation numbers (integer plex block) */
    int64_t *icn;          /* variable numbers (integer plex block) */
    double *values;        /* values (double plex block) */
    unsigned char *linear; /* 1 for a linear nonzero */
} rt_jac_head_t;

/* A window: nonzero k is the parent's nonzero nzOffset + k, equation e the
   parent's eqnOffset + e, variable v the parent's varOffset + v. */
typedef struct rt_jac_embedded {
    rt_jac_t base;
    rt_jac_t *parent; /* a head or another window */
    uint32_t varOffset;
    uint32_t eqnOffset;
    uint32_t nzOffset;
} rt_jac_embedded_t;

/* Mask bits of the nonzero record; the numbers are always filled. */
#define RT_JAC_NZ_EQNNAME 1
#define RT_JAC_NZ_VARNAME 2
#define RT_JAC_NZ_VALUE 16
#define RT_JAC_NZ_LINEAR 32

/* One nonzero with the names of its equation and variable; owned by the caller. */
typedef struct rt_jac_nz {
    unsigned char mask;          /* which fields are meant */
    char eqnname[ZARN_NAME_BUF]; /* "" when the equation has none */
    char varname[ZARN_NAME_BUF]; /* "" when the variable has none */
    int32_t eqnnum;
    int32_t varnum;
    double value;
    int64_t linear;
} rt_jac_nz;

/* ---- Lifecycle and shape ---- */

/* A new head of that capacity, every nonzero reset, nnz 0; NULL with a
   message when the capacity is negative or the record or the linear flags
   cannot be had. A number or value array the plex allocator cannot give
   raises rtmalloc_allocate_failed (except.h), as resizing and the pattern
   copies do. */
ZARN_API rt_jac_t *rtojac_create(int32_t capacity);
/* A window of that capacity whose variable 1, equation 1 and nonzero 1 are
   the parent's first_var, first_eqn and first_nz; its nonzeros are reset in
   the parent and its nnz is 0. NULL when the parent is NULL or a first number
   is 0, and with a message when the parent's nnz does not cover the window or
   an argument is negative. */
ZARN_API rt_jac_t *rtojac_create_embedded(int32_t capacity, rt_jac_t *parent, int32_t first_var,
                                          int32_t first_eqn, int32_t first_nz);
/* Stores jac's parent in *parent (NULL for a head or a NULL jac). */
ZARN_API void rtojac_parent(rt_jac_t *jac, rt_jac_t **parent);
/* 1 when both exist and jac is a window of parent, else 0. */
ZARN_API int32_t rtojac_parent_check(rt_jac_t *parent, rt_jac_t *jac);
/* Destroys *jac and sets it to NULL. A head frees its arrays; a window only
   itself (its nonzeros stay in the parent). NULL is a no-op. */
ZARN_API void rtojac_destroy(rt_jac_t **jac);
/* Sets nnz: within the capacity; nonzeros dropped are reset. */
ZARN_API void rtojac_set_nnz(rt_jac_t *jac, int32_t n);
ZARN_API int32_t rtojac_inq_nnz(rt_jac_t *jac);
/* Changes the capacity (nnz is cut to it). A head reallocates and resets new
   entries; a window needs its parent's nnz to cover the new extent and
   resets, in the parent, the nonzeros it gains or gives up. */
ZARN_API void rtojac_resize(rt_jac_t *jac, int32_t capacity);
ZARN_API int32_t rtojac_inq_capacity(rt_jac_t *jac);
/* The nnz and capacity fields read directly. */
ZARN_API int32_t rtojac_size(rt_jac_t *jac);
ZARN_API int32_t rtojac_capacity(rt_jac_t *jac);

/* ---- Nonzeros (k in 1..nnz, numbers local to jac) ---- */

ZARN_API void rtojac_set_nz_eqnnum(rt_jac_t *jac, int32_t k, int32_t eqn);
ZARN_API int32_t rtojac_inq_nz_eqnnum(rt_jac_t *jac, int32_t k);
ZARN_API void rtojac_set_nz_varnum(rt_jac_t *jac, int32_t k, int32_t var);
ZARN_API int32_t rtojac_inq_nz_varnum(rt_jac_t *jac, int32_t k);
/* The equation number, then the variable number. */
ZARN_API void rtojac_set_nz_coord(rt_jac_t *jac, int32_t k, int32_t eqn, int32_t var);
ZARN_API void rtojac_set_nz_value(rt_jac_t *jac, int32_t k, double value);
/* Stores the value in *value (0.0 for a NULL jac or an index out of bounds). */
ZARN_API void rtojac_inq_nz_value(rt_jac_t *jac, int32_t k, double *value);
ZARN_API void rtojac_set_linear(rt_jac_t *jac, int32_t k, unsigned char flag);
ZARN_API unsigned char rtojac_inq_linear(rt_jac_t *jac, int32_t k);
/* Every equation (variable) number of jac's nonzeros 1..nnz from an array of
   nnz local numbers; the head receives them plus jac's total offset. Nothing
   is written, with a message, when a window's nonzeros reach beyond those of
   an ancestor. */
ZARN_API void rtojac_set_rows(rt_jac_t *jac, const int64_t *rows);
ZARN_API void rtojac_set_columns(rt_jac_t *jac, const int64_t *columns);

/* ---- The head's arrays ---- */

/* Address of jac's first equation number, variable number and value in the
   head's arrays (NULL for a NULL jac). The numbers there are the head's. */
ZARN_API int64_t *rtojac_rowptr(rt_jac_t *jac);
ZARN_API int64_t *rtojac_colptr(rt_jac_t *jac);
ZARN_API double *rtojac_vec_bj(rt_jac_t *jac);
/* Total equation (variable) offset from jac to its head; 0 for a head. */
ZARN_API int64_t rtojac_rowoffset(rt_jac_t *jac);
ZARN_API int64_t rtojac_coloffset(rt_jac_t *jac);

/* ---- Moving and renumbering ---- */

/* Moves count nonzeros from source to destination (ranges within 1..nnz,
   overlapping allowed); the source entries not overwritten get numbers 0,
   value 0.0 and flag 0. */
ZARN_API void rtojac_move_items(rt_jac_t *jac, int32_t source, int32_t destination, int32_t count);
/* Moves a window's nonzeros in its parent to start at first_nz and adds the
   shifts to its variable and equation offsets. Refused for a head. */
ZARN_API void rtojac_relocate(rt_jac_t *jac, int32_t first_nz, int32_t var_shift, int32_t eqn_shift);
/* For nonzeros first..last (within 1..nnz): a variable number at or above
   var_threshold gets var_shift added, an equation number at or above
   eqn_threshold eqn_shift. Thresholds are local to jac. */
ZARN_API void rtojac_renumber(rt_jac_t *jac, int32_t first, int32_t last, int32_t var_threshold,
                              int32_t var_shift, int32_t eqn_threshold, int32_t eqn_shift);
/* For nonzeros first..last: a variable number within low..high (local to
   jac) gets shift added; others stay. */
ZARN_API void rtojac_renumber_vars_in_range(rt_jac_t *jac, int32_t first, int32_t last, int32_t low,
                                            int32_t high, int32_t shift);

/* ---- Records, search and filters ---- */

/* Fills rec for nonzero k: always the numbers; the value, the names (from the
   lists, by jac's local numbers) and the linear flag as rec->mask asks. */
ZARN_API void rtojac_inq_nz(rtvarlst_t *varlst, rtattrdict_t *eqnlst, rt_jac_t *jac, int32_t k,
                            rt_jac_nz *rec);
/* The first nonzero after start whose variable (equation) name the pattern
   kept by re_comp matches; 0 when none does or no pattern is kept. */
ZARN_API int32_t rtojac_match_var_regexp(rt_jac_t *jac, rtvarlst_t *varlst, int32_t start);
ZARN_API int32_t rtojac_match_eqn_regexp(rt_jac_t *jac, rtattrdict_t *eqnlst, int32_t start);
/* 1 when the record passes, else 0 (also for a NULL record or criterion). */
ZARN_API int rtojac_filter_always_true(const rt_jac_nz *rec, const void *criterion);
ZARN_API int rtojac_filter_var_match_regexp(const rt_jac_nz *rec, hs_regexp *prog);
ZARN_API int rtojac_filter_var_match_name(const rt_jac_nz *rec, const char *name);
ZARN_API int rtojac_filter_var_match_index(const rt_jac_nz *rec, int32_t index);
ZARN_API int rtojac_filter_eqn_match_regexp(const rt_jac_nz *rec, hs_regexp *prog);
ZARN_API int rtojac_filter_eqn_match_name(const rt_jac_nz *rec, const char *name);
ZARN_API int rtojac_filter_eqn_match_index(const rt_jac_nz *rec, int32_t index);

/* ---- Fortran ---- */

ZARN_API void RTOJAC_SET_NNZ_F(rt_jac_t **jac, const int64_t *n);
ZARN_API int64_t RTOJAC_INQ_NNZ_F(rt_jac_t **jac);
ZARN_API int64_t RTOJAC_INQ_CAPACITY_F(rt_jac_t **jac);
ZARN_API void RTOJAC_RESIZE_F(rt_jac_t **jac, const int64_t *capacity);
ZARN_API int64_t RTOJAC_INQ_NZ_EQNNUM_F(rt_jac_t **jac, const int64_t *k);
ZARN_API void RTOJAC_SET_NZ_EQNNUM_F(rt_jac_t **jac, const int64_t *k, const int64_t *eqn);
ZARN_API int64_t RTOJAC_INQ_NZ_VARNUM_F(rt_jac_t **jac, const int64_t *k);
ZARN_API void RTOJAC_SET_NZ_VARNUM_F(rt_jac_t **jac, const int64_t *k, const int64_t *var);
ZARN_API void RTOJAC_SET_NZ_COORD_F(rt_jac_t **jac, const int64_t *k, const int64_t *eqn, const int64_t *var);
ZARN_API void RTOJAC_SET_ROWS_F(rt_jac_t **jac, const int64_t *rows);
ZARN_API void RTOJAC_SET_COLUMNS_F(rt_jac_t **jac, const int64_t *columns);
/*
 * Plex index (in *index) of jac's local equation (variable) numbers. Without
 * a copy request (bit 0 of *copy) and with a total offset of 0 it is the
 * head's own array; otherwise a fresh block of capacity integers whose first
 * nnz hold the numbers less the offset, which the caller frees with RTO_IFREE.
 * *copy and the result become -1 when a copy was made, else 0. A NULL jac
 * gives index 0.
 */
ZARN_API int64_t RTOJAC_ZARN_LBIRN(rt_jac_t **jac, int64_t *index, int64_t *copy);
ZARN_API int64_t RTOJAC_ZARN_LBICN(rt_jac_t **jac, int64_t *index, int64_t *copy);
/* Plex index (in *index) of jac's first value; 0 for a NULL jac. */
ZARN_API void RTOJAC_ZARN_LBBJ(rt_jac_t **jac, int64_t *index);

ZARN_END_DECLS

#endif
