/*
 * Numerical utilities for Fortran callers: permutations that move fixed
 * variables, excluded equations and the objective (and the Jacobian nonzeros
 * touching them) to the end of their vectors; incidence counts; two sorts;
 * routines on fixed-length, blank-padded text fields.
 *
 * Every entry takes its arguments by address. Integers are 64-bit; indices
 * are 1-based. A "block" argument is the plex index (zarnmalloc.h) of an
 * integer block; blocks made here come from RTO_HUGEIMALLOC (reals from
 * RTO_HUGEDMALLOC) and belong to the caller, who frees them with RTO_IFREE /
 * RTO_DFREE (permutations with U3PERM_DESTROY). A failed allocation raises
 * rtmalloc_allocate_failed before anything is changed.
 *
 * Permutation block at plex index b (X = the integer view):
 *   X(b) = n + 3, X(b+1..b+n) = p(1..n), X(b+n+1) = n, X(b+n+2) = m.
 * The m retained items occupy positions 1..m once the permutation is applied.
 * p is its own inverse: fixed points and swaps of a position <= m with one > m.
 *
 * Bad input (a negative or unrepresentable count, a missing array, block 0, a
 * block whose header does not describe a permutation, an index beyond its
 * range) prints a message on the history device rtHisDev and changes nothing;
 * an output block index is then set to 0. A call that makes a block is
 * refused when the argument for the block is missing (nothing is allocated).
 * Arrays that overlap (a vector and its permutation block, the two arrays of
 * a sort other than the same array twice, the flags and block of U3REMAP)
 * are refused the same way; a sort given one array twice sorts it. The index
 * conversions instead write their documented list-directed records on the
 * Fortran standard output unit.
 *
 * Character arguments are fixed-length fields; their hidden lengths follow
 * the other arguments in order.
 */
#ifndef ZARNUTILS_NUMUTIL_H
#define ZARNUTILS_NUMUTIL_H

#include "zarnutils/zarn_api.h"

ZARN_BEGIN_DECLS

/*
 * Permutation builders. status: n status words (variable or equation);
 * incid: plex index of a block of n incidence counts. The block index is
 * stored in *block, the number of retained items in *m and returned.
 * Retained: VAR_CREATE not fixed (varIsFixed, current problem mode);
 * VAR_CREATE_INCIDENCE not fixed and count non-zero; VAR_CREATE_INCIDENCEONLY
 * count non-zero (status is not read); EQN_CREATE included and math type not 5
 * (objective); EQN_CREATE_INCIDENCE that and count non-zero.
 */
ZARN_API int64_t U3PERM_VAR_CREATE(const int64_t *status, const int64_t *n, int64_t *block, int64_t *m);
ZARN_API int64_t U3PERM_VAR_CREATE_INCIDENCE(const int64_t *status, const int64_t *n, const int64_t *incid,
                                             int64_t *block, int64_t *m);
ZARN_API int64_t U3PERM_VAR_CREATE_INCIDENCEONLY(const int64_t *status, const int64_t *n,
                                                 const int64_t *incid, int64_t *block, int64_t *m);
ZARN_API int64_t U3PERM_EQN_CREATE(const int64_t *status, const int64_t *n, int64_t *block, int64_t *m);
ZARN_API int64_t U3PERM_EQN_CREATE_INCIDENCE(const int64_t *status, const int64_t *n, const int64_t *incid,
                                             int64_t *block, int64_t *m);
/*
 * Nonzero permutation of a Jacobian of nnz entries (rows, cols). A nonzero is
 * retained when variable cols(k) is not fixed, equation rows(k) is included
 * and not the objective; with INCIDENCE also both counts (eqnincid(row),
 * varincid(col), blocks by plex index) are non-zero. A row or column below 1
 * is never retained.
 */
ZARN_API int64_t U3PERM_JAC_CREATE(const int64_t *eqnstatus, const int64_t *varstatus, const int64_t *rows,
                                   const int64_t *cols, const int64_t *nnz, int64_t *block, int64_t *m);
ZARN_API int64_t U3PERM_JAC_CREATE_INCIDENCE(const int64_t *eqnstatus, const int64_t *varstatus,
                                             const int64_t *rows, const int64_t *cols, const int64_t *nnz,
                                             const int64_t *eqnincid, const int64_t *varincid, int64_t *block,
                                             int64_t *m);
/* Frees the block and sets *block = 0; a block of 0 does nothing. */
ZARN_API void U3PERM_DESTROY(int64_t *block);

/* Permute the n entries of v in place (applying twice restores v). */
ZARN_API void U3PERM_APPLY_RVEC(const int64_t *block, double *v);
ZARN_API void U3PERM_APPLY_IVEC(const int64_t *block, int64_t *v);
/* A new block (*out) of n reals / integers holding v permuted; v is not changed. */
ZARN_API void U3PERM_COPY_APPLY_RVEC(const int64_t *block, const double *v, int64_t *out);
ZARN_API void U3PERM_COPY_APPLY_IVEC(const int64_t *block, const int64_t *v, int64_t *out);
/*
 * Row (column) array of a Jacobian: permuted by the nonzero permutation, then
 * every row r in 1..n of the equation permutation replaced by p_eqn(r) (every
 * column through the variable permutation). Entries outside 1..n keep their
 * value. The COPY forms write a new block (*out) and leave the input alone.
 */
ZARN_API void U3PERM_JAC_APPLY_ROW(const int64_t *nzblock, const int64_t *eqnblock, int64_t *rows);
ZARN_API void U3PERM_JAC_APPLY_COL(const int64_t *nzblock, const int64_t *varblock, int64_t *cols);
ZARN_API void U3PERM_JAC_COPY_APPLY_ROW(const int64_t *nzblock, const int64_t *eqnblock, const int64_t *rows,
                                        int64_t *out);
ZARN_API void U3PERM_JAC_COPY_APPLY_COL(const int64_t *nzblock, const int64_t *varblock, const int64_t *cols,
                                        int64_t *out);
/*
 * p(i): the uncompressed index of compressed index i (1 <= i <= m), or the
 * compressed position of uncompressed index i (1 <= i <= n; above m for a
 * dropped item). Out of range: three list-directed records on the Fortran
 * standard output unit and 0.
 */
ZARN_API int64_t U3PERM_COMP2UNCOMP(const int64_t *block, const int64_t *i);
ZARN_API int64_t U3PERM_UNCOMP2COMP(const int64_t *block, const int64_t *i);

/*
 * Incidence counts into a new block (*out): per equation, the nonzeros whose
 * row is positive and whose variable is not fixed; per variable, the nonzeros
 * whose equation is included. Nonzeros with a row (column) below 1 are not
 * counted; one beyond neqn (nvar) is bad input.
 */
ZARN_API void U3MAP_REL_INCIDENCE(const int64_t *neqn, const int64_t *varstatus, const int64_t *rows,
                                  const int64_t *cols, const int64_t *nnz, int64_t *out);
ZARN_API void U3MAP_VAR_INCIDENCE(const int64_t *nvar, const int64_t *eqnstatus, const int64_t *rows,
                                  const int64_t *cols, const int64_t *nnz, int64_t *out);
/*
 * flags(i) = 1 when entry i of the block is at most *limit, else 0; then the
 * flagged entries are renumbered 1, 2, 3... in order and the others set to 0.
 */
ZARN_API void U3REMAP(const int64_t *n, const int64_t *limit, const int64_t *block, int64_t *flags);
/* The first equation that is included and has math type 5, or 0; also stored in *out. */
ZARN_API int64_t USR3_FNDOBJ(const int64_t *neqn, const int64_t *eqnstatus, int64_t *out);
/* A new block (*list) of the positions k with rows(k) = *row, in order; their count in *count. */
ZARN_API void NZ_IN_ROW(const int64_t *row, const int64_t *rows, const int64_t *nnz, int64_t *list,
                        int64_t *count);

/*
 * Sorts dx(1..n): ascending for kflag 1 or 2, descending for -1 or -2; with
 * |kflag| = 2 dy follows the same reordering. The sort is not stable. n < 1
 * or another kflag returns silently.
 */
ZARN_API void SLATEC_DSORT(double *dx, double *dy, const int64_t *n, const int64_t *kflag);
ZARN_API void SLATEC_ISORT(int64_t *ix, int64_t *iy, const int64_t *n, const int64_t *kflag);

/*
 * Fixed-length text. COPY_CHAR_STR copies min(srclen, dstlen) characters and
 * blanks dst up to dstlen; neither length reaches past its field's hidden length.
 */
ZARN_API void COPY_CHAR_STR(const char *src, const int64_t *srclen, char *dst, const int64_t *dstlen,
                            size_t src_len, size_t dst_len);
/* a-z to A-Z / A-Z to a-z in place. */
ZARN_API void IU_STRUPR(char *text, size_t text_len);
ZARN_API void IU_STRLWR(char *text, size_t text_len);
/* Blanks the field. */
ZARN_API void IU_CLRSTR(char *text, size_t text_len);
/* Writes ESC "[H" ESC "[2J" (cursor home, clear screen) on the standard output unit. */
ZARN_API void IU_CLRSCR(void);
/* *len = the field's length without trailing blanks and NUL bytes. */
ZARN_API void IU_STRLEN(int64_t *len, const char *text, size_t text_len);
/* Removes every blank and NUL, moving the rest to the front; blanks the end. */
ZARN_API void IU_PACKSTR(char *text, size_t text_len);
/*
 * Bytes of n 4-byte integers (8-byte reals) into the blanked field, cut to
 * the field; and back, after setting each of the n values to all blanks.
 */
ZARN_API void IU_I42STR(const int32_t *values, const int64_t *n, char *text, size_t text_len);
ZARN_API void IU_STR2I4(const char *text, int32_t *values, const int64_t *n, size_t text_len);
ZARN_API void IU_R82STR(const double *values, const int64_t *n, char *text, size_t text_len);
ZARN_API void IU_STR2R8(const char *text, double *values, const int64_t *n, size_t text_len);
/*
 * Appends src without its trailing blanks (up to its first NUL, if any)
 * after the last non-blank of dst, cut at the end of dst.
 */
ZARN_API void IU_STRCAT(char *dst, const char *src, size_t dst_len, size_t src_len);

ZARN_END_DECLS

#endif
