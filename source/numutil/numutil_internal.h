// Internal operations behind the numerical utilities' Fortran entries: the
// entries only dereference their arguments and call these.
#ifndef ZARN_NUMUTIL_INTERNAL_H
#define ZARN_NUMUTIL_INTERNAL_H

#include <cstddef>
#include <cstdint>

namespace zarn::numutil {

// Element p of the integer / double view of the plex anchor.
int64_t *ints_at(int64_t p);
double *reals_at(int64_t p);

// A new integer (real) block of count elements, or 0 with a message when the
// count is negative or cannot be represented. A request the heap cannot meet
// raises rtmalloc_allocate_failed.
int64_t new_int_block(const char *fn, int64_t count);
int64_t new_real_block(const char *fn, int64_t count);

// An opened permutation block: p[i] for 1 <= i <= n.
struct Perm {
    const int64_t *p;  // p[0] is the block length, p[1..n] the permutation
    int64_t n;         // number of items
    int64_t m;         // retained items, 0..n
};

// True when acount elements of `width` bytes at a and bcount at b share a byte.
bool overlap(const void *a, int64_t acount, const void *b, int64_t bcount, std::size_t width);

// Checks the block's header and trailer; false (with a message) when block is
// 0 or does not describe a permutation.
bool open_perm(const char *fn, int64_t block, Perm *out);
// True when every p(i), i > m, lies in 1..n; else a message. Applying touches only those.
bool tail_in_range(const char *fn, const Perm &perm);

// Which items a builder keeps.
enum class Rule {
    VarFree,             // variable not fixed
    VarFreeIncidence,    // not fixed and incidence non-zero
    VarIncidenceOnly,    // incidence non-zero
    EqnActive,           // included and not the objective
    EqnActiveIncidence,  // included, not the objective, incidence non-zero
};

// Item permutation over n status words; incid is a plex index (ignored by the
// rules without incidence). Returns m; *block gets the new block, or 0 on bad input.
int64_t build_items(const char *fn, Rule rule, const int64_t *status, int64_t n, int64_t incid,
                    int64_t *block);
// Nonzero permutation; eqnincid/varincid are plex indices, used when withIncidence.
int64_t build_nonzeros(const char *fn, const int64_t *eqnstatus, const int64_t *varstatus,
                       const int64_t *rows, const int64_t *cols, int64_t nnz, bool withIncidence,
                       int64_t eqnincid, int64_t varincid, int64_t *block);
// The permutation core: fills p[1..n] from retained(i), i = 1..n, and returns
// m. Items retained in front stay; each hole in front takes the last retained
// item not yet used; dropped items met on the way back become fixed points.
template <class Retained>
int64_t make_permutation(int64_t n, Retained retained, int64_t *p) {
    int64_t k = 0;         // items consumed from the end
    int64_t assigned = 0;  // positions given their final value
    for (int64_t i = 1; assigned < n; ++i) {
        if (retained(i)) {
            p[i] = i;
            ++assigned;
            continue;
        }
        for (int64_t j = n - k; j >= i; --j) {
            ++k;
            if (!retained(j)) {
                p[j] = j;
                ++assigned;
            } else {
                p[i] = j;
                p[j] = i;
                assigned += 2;
                break;
            }
        }
    }
    return n - k;
}

void apply_reals(const char *fn, int64_t block, double *v);
void apply_ints(const char *fn, int64_t block, int64_t *v);
int64_t copy_apply_reals(const char *fn, int64_t block, const double *v);
int64_t copy_apply_ints(const char *fn, int64_t block, const int64_t *v);
// Jacobian index arrays: permuted by nzblock, then mapped through itemblock.
void jac_apply(const char *fn, int64_t nzblock, int64_t itemblock, int64_t *idx);
int64_t jac_copy_apply(const char *fn, int64_t nzblock, int64_t itemblock, const int64_t *idx);
int64_t comp2uncomp(int64_t block, int64_t i);
int64_t uncomp2comp(int64_t block, int64_t i);

// Incidence counts and helpers.
int64_t rel_incidence(int64_t neqn, const int64_t *varstatus, const int64_t *rows, const int64_t *cols,
                      int64_t nnz);
int64_t var_incidence(int64_t nvar, const int64_t *eqnstatus, const int64_t *rows, const int64_t *cols,
                      int64_t nnz);
void remap(int64_t n, int64_t limit, int64_t block, int64_t *flags);
int64_t find_objective(int64_t neqn, const int64_t *eqnstatus);
// New block of the positions of row in rows; count in *count (0 and block 0 on bad input).
int64_t nonzeros_in_row(int64_t row, const int64_t *rows, int64_t nnz, int64_t *count);

// Sorts; kflag as documented (1, 2 ascending, -1, -2 descending).
void sort_reals(double *x, double *y, int64_t n, int64_t kflag);
void sort_ints(int64_t *x, int64_t *y, int64_t n, int64_t kflag);

// Fixed-length text.
// Explicit lengths, each clamped to its field's hidden length.
void copy_text(const char *src, int64_t srclen, std::size_t srcfield, char *dst, int64_t dstlen,
               std::size_t dstfield);
void to_upper(char *text, std::size_t len);
void to_lower(char *text, std::size_t len);
void blank(char *text, std::size_t len);
std::size_t trimmed_length(const char *text, std::size_t len);
void pack(char *text, std::size_t len);
// Bytes of count values of `width` bytes into the blanked field, cut to the field.
void values_to_text(const char *fn, const void *values, int64_t count, std::size_t width, char *text,
                    std::size_t len);
// Blanks count values of `width` bytes, then copies the field's bytes into them.
void text_to_values(const char *fn, const char *text, std::size_t len, void *values, int64_t count,
                    std::size_t width);
void concat(char *dst, std::size_t dstlen, const char *src, std::size_t srclen);
// Removes leading blanks, blanks the vacated end; returns the length of the
// first blank-delimited word.
std::size_t left_justify(char *text, std::size_t len);
void clear_screen();

// Variable groups for finite-difference Jacobians (vgroups.cpp, njac.cpp,
// vgroup_file.cpp). The object is an integer block of kVgrpLength entries.
enum VgrpEntry : int64_t {
    kVgrpNcol = 0,       // number of variables (columns)
    kVgrpNrow = 1,       // number of equations (rows)
    kVgrpNnz = 2,        // number of nonzeros
    kVgrpGroups = 3,     // number of groups, 0 until computed
    kVgrpGroupList = 4,  // plex index of the group list, 2 * ncol integers
    kVgrpRowStart = 6,   // plex index of the row starts, nrow + 1 integers
    kVgrpLength = 8,
};

// An opened group object: its sizes and the blocks it names (null when 0).
struct Groups {
    int64_t g;   // its plex index
    int64_t *x;  // the object's entries
    int64_t ncol, nrow, nnz, ngroups;
    int64_t *list;   // group list
    int64_t *start;  // row starts
};

// Reads the object at g; false (with a message) when g is 0 or a size is negative.
bool open_groups(const char *fn, int64_t g, Groups *out);
// True when the group count, the group list and the row starts describe
// groups of columns 1..ncol and rows within 1..nnz; else a message.
bool groups_consistent(const char *fn, const Groups &grp);

int64_t vgrp_create(int64_t ncol, int64_t nrow, int64_t nnz);
void vgrp_destroy(int64_t *g);
// Error code: 0 done, 1 bad object, arrays or offsets, 2 a column outside
// 1..ncol, 3 a row outside 1..nrow or out of order, 4 no memory for the work.
int64_t vgrp_compute(const int64_t *rows, const int64_t *cols, const int64_t *status, int64_t rowoffset,
                     int64_t coloffset, int64_t usefixed, int64_t g);
// The grouping over 1-based rows and columns with no offsets; marks may be
// null (nothing marked). Same error codes; *ngroups untouched on error.
int64_t kpr(int64_t ncol, int64_t nrow, int64_t nnz, const int64_t *rows, const int64_t *cols,
            const int64_t *marks, int64_t *rowstart, int64_t *grouplist, int64_t *ngroups);
// Counting sort of positions 1..nnz by keys 1..n; work (n + 1) ends with
// the first position of every key and nnz + 1. False after a message.
bool bksort(int64_t n, int64_t nnz, const int64_t *keys, int64_t *order, int64_t *work);
void vgrp_report(int64_t g, int64_t offset);
void vgrp_save(int64_t unit, int64_t g);
int64_t vgrp_read(int64_t unit);

// One step of the finite-difference loop; see U3NJAC_COMPUTE.
struct NjacArgs {
    int64_t g;
    double *x;
    const double *typical;
    const int64_t *status;
    double *f;
    int64_t coloffset;
    const int64_t *cols;
    const double *minstep;
    double relstep;
    double *jac;
};
int64_t njac(const NjacArgs &a, int64_t *state);
// Drops the saved data of an unfinished evaluation (a new start does too).
void njac_reset();

}  // namespace zarn::numutil

extern "C" {
// Fortran standard output unit, list-directed (numutil_listout.f90).
void zarn_funit_list_text(const char *text, std::size_t len);
void zarn_funit_list_int(const char *label, std::size_t len, int64_t value);
void zarn_funit_put_raw(const char *text, std::size_t len);
// One unformatted sequential record of count 64-bit integers (numutil_seqio.f90);
// 0 on success, else the Fortran I/O status (negative at the end of the file).
int zarn_funit_write_ints(int32_t unit, const int64_t *values, int64_t count);
int zarn_funit_read_ints(int32_t unit, int64_t *values, int64_t count);
// 1 when the unit is connected for unformatted sequential transfers.
int zarn_funit_is_unformatted_seq(int32_t unit);
}

#endif
