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
 * Variable groups for finite-difference Jacobians. The object is an integer
 * block of 8 entries at plex index g: X(g) ncol, X(g+1) nrow, X(g+2) nnz,
 * X(g+3) the number of groups (0 until computed), X(g+4) the plex index of
 * the group list (2 * ncol integers), X(g+6) that of the row starts (nrow + 1
 * integers). The group list holds, group after group, the member count and
 * the members in increasing order; the rest of it is 0. Row start r is the
 * position of row r's first nonzero, entry nrow + 1 is nnz + 1. Nonzeros are
 * given as row and column arrays ordered by row.
 *
 * U3VGRP_CREATE makes an object with 0 groups when all three sizes are at
 * least 1, else stores 0 in *g (a negative size is reported). U3VGRP_DESTROY
 * frees the object and its blocks and sets *g = 0; 0 does nothing.
 */
ZARN_API void U3VGRP_CREATE(const int64_t *ncol, const int64_t *nrow, const int64_t *nnz, int64_t *g);
ZARN_API void U3VGRP_DESTROY(int64_t *g);
/*
 * Groups the columns so that no two columns of a group have a nonzero in the
 * same row: each column, in increasing order, joins the lowest-numbered group
 * none of whose columns shares a row with it, or opens a new one. Rows and
 * columns are taken less rowoffset and coloffset; the arrays are only read.
 * With usefixed non-zero the nonzeros of fixed variables (status words,
 * current problem mode) take no part, and a fixed variable is in no group.
 * *err: 0 done (also when nnz is 0), 1 object 0 or a negative size, a
 * negative offset or a missing array, 2 a column outside 1..ncol, 3 a row
 * outside 1..nrow or out of order, 4 no memory for the work. On an error the
 * object is unchanged.
 */
ZARN_API void U3VGRP_COMPUTE(const int64_t *rows, const int64_t *cols, const int64_t *status,
                             const int64_t *rowoffset, const int64_t *coloffset, const int64_t *usefixed,
                             const int64_t *g, int64_t *err);
/*
 * The grouping itself over rows and columns without offsets: nonzero k takes
 * no part when marks is given and marks(k) is non-zero. Writes the row starts
 * (nrow + 1), the group list (2 * ncol) and the number of groups; *err as for
 * U3VGRP_COMPUTE (1 also for outputs that overlap an input), outputs unchanged
 * on an error.
 */
ZARN_API void U3_KPR(const int64_t *ncol, const int64_t *nrow, const int64_t *nnz, const int64_t *rows,
                     const int64_t *cols, const int64_t *marks, int64_t *rowstart, int64_t *grouplist,
                     int64_t *ngroups, int64_t *err);
/*
 * Counting sort: order(1..nnz) lists the positions 1..nnz grouped by their
 * key (1..n), in increasing position within a key; work(1..n+1) ends with the
 * position in order of the first entry of each key, and nnz + 1. A key
 * outside 1..n is reported and nothing is written.
 */
ZARN_API void U3_BKSORT(const int64_t *n, const int64_t *nnz, const int64_t *keys, int64_t *order,
                        int64_t *work);
/*
 * Finite-difference Jacobian by reverse communication. Call with *state = 0,
 * then evaluate f at x and call again with *state = 1, as long as the call
 * leaves *state at 1; it ends at 2 with jac filled and x and f as before the
 * first evaluation. Each call with *state = 1 moves the variables of one group
 * by their steps: with p the physical type of variable j (a price type -p
 * counts as p), d = minstep(p + 1) * typical(j); the step is x(j) * relstep
 * when |x(j)| >= d, else d * relstep. The next call sets, for every row, the
 * entry of its first nonzero whose column (less coloffset) is in that group
 * to the change of f over the actual step. minstep holds one entry per
 * physical type from 0 up to the highest type the status words carry. One
 * evaluation runs at a time in the process; a start (*state = 0) drops an
 * unfinished one. *err: 0, or 1 for object 0, a negative size, a missing
 * argument, an inconsistent object, or a call that continues another
 * object's evaluation. Another *state returns at once.
 */
ZARN_API void U3NJAC_COMPUTE(const int64_t *g, double *x, const double *typical, const int64_t *status,
                             double *f, const int64_t *coloffset, const int64_t *cols, const double *minstep,
                             const double *relstep, double *jac, int64_t *state, int64_t *err);
/*
 * The group file on a unit opened for unformatted sequential transfers: one
 * record with the number of groups, ncol, nrow and nnz, then the group list
 * and the row starts, one integer to a record. Reading a first record with a
 * negative value reads no more and stores 0 in *g; a file too short for its
 * sizes, or whose groups are not consistent, is reported and gives 0.
 */
ZARN_API void U3VGRP_SAVE_TO_FILE(const int64_t *unit, const int64_t *g);
ZARN_API void U3VGRP_READ_FM_FILE(const int64_t *unit, int64_t *g);
/*
 * The groups on the history device, every variable index plus *offset:
 * " Number of groups detected = " and the count, then per group " Group ",
 * its number, " contains variables:" and six indices a line, continued on
 * lines indented by 32 blanks, then a line of one blank. The count takes 3
 * columns, the group number 4, each index a blank and 6; a number too wide
 * for its columns shows as stars. Nothing for object 0, a negative offset or
 * no groups.
 */
ZARN_API void U3VGRP_REPORT_BY_IDX(const int64_t *g, const int64_t *offset);

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
