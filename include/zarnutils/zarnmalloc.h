/*
 * Blocks of doubles, 64-bit integers and characters addressed by plex index,
 * for Fortran code that reaches every block as an element range of one anchor
 * array (the common block ZARN_PLEX).
 *
 * Plex index p: element p of the double view is ZARN_b0[p], of the integer
 * view ZARN_ib0[p], of the character view ZARN_cb0[p]; p = 1 is the anchor.
 * A block lives until freed through the free function of its own kind.
 *
 * Upper-case entries take every argument by address. Counts are 32-bit, except
 * in the HUGE forms (64-bit); plex indices are 64-bit. Character arguments add
 * a hidden length at the end of the list (ignored where noted).
 * Messages go to the history device rtHisDev. A failed allocation prints a
 * diagnosis and raises rtmalloc_allocate_failed (except.h): without a handler
 * frame the process ends.
 */
#ifndef ZARNUTILS_ZARNMALLOC_H
#define ZARNUTILS_ZARNMALLOC_H

#include "zarnutils/except.h"
#include "zarnutils/zarn_api.h"

ZARN_BEGIN_DECLS

/* The anchor: all three views start here (plex index 1). */
ZARN_API extern double ZARN_PLEX[1];
/* A block of reals whose first element is 1e35 (the undefined value). */
ZARN_API extern double ZARN_RGLOB[1];
/* A block of 32-bit integers whose first element is 99999999. */
ZARN_API extern int32_t ZARN_GLOBAL[1];

/* Bases: double anchor - 8 bytes, integer anchor - 8 bytes, character anchor - 1 byte. */
ZARN_API extern double *ZARN_b0;
ZARN_API extern int64_t *ZARN_ib0;
ZARN_API extern char *ZARN_cb0;

/* Raised when a block cannot be allocated or reallocated ("Allocation failed"). */
ZARN_API extern const CII_Except_T rtmalloc_allocate_failed;
/* Kept for callers that set it; the library never reads it. */
ZARN_API extern int32_t rtmalloc_memory_debug;

/*
 * Sets the three anchors and the bases. 0 on success (also when called again
 * with the same anchors); 1, with a message, when other anchors are already
 * set. c_len is the hidden length of the character anchor; it is not used.
 */
ZARN_API int64_t RTO_MALLOC_INIT(double *d, int64_t *i, char *c, size_t c_len);
ZARN_API int64_t U3PLG_RTO_MALLOC_INIT(double *d, int64_t *i, char *c, size_t c_len);
/* RTO_MALLOC_INIT with ZARN_PLEX for all three anchors; the library calls it at load. */
ZARN_API int64_t FORTRAN_MALLOC_INIT(void);
ZARN_API int64_t U3PLG_FORTRAN_MALLOC_INIT(void);

/* A new block of *n doubles (contents undefined); returns its plex index. */
ZARN_API int64_t RTO_DMALLOC(const int32_t *n);
ZARN_API int64_t RTO_HUGEDMALLOC(const int64_t *n);
/*
 * Resizes the double block at *p to *n elements, keeping the leading values;
 * returns the new index (the old one may be invalid). *p = 0 allocates afresh.
 * On failure the old block is left as it was and rtmalloc_allocate_failed is raised.
 */
ZARN_API int64_t RTO_DREALLOC(const int64_t *p, const int32_t *n);
ZARN_API int64_t RTO_HUGEDREALLOC(const int64_t *p, const int64_t *n);
/* Frees the double block at *p and sets *p = 0; *p = 0 does nothing. */
ZARN_API void RTO_DFREE(int64_t *p);

/* The same for blocks of 64-bit integers. */
ZARN_API int64_t RTO_IMALLOC(const int32_t *n);
ZARN_API int64_t RTO_HUGEIMALLOC(const int64_t *n);
ZARN_API int64_t RTO_IREALLOC(const int64_t *p, const int32_t *n);
ZARN_API int64_t RTO_HUGEIREALLOC(const int64_t *p, const int64_t *n);
ZARN_API void RTO_IFREE(int64_t *p);

/* The same for blocks of characters (one spare byte). */
ZARN_API int64_t RTO_CMALLOC(const int32_t *n);
ZARN_API int64_t RTO_CREALLOC(const int64_t *p, const int32_t *n);
ZARN_API void RTO_CFREE(int64_t *p);

/*
 * Plex index of a double or integer at q. A q that is not a multiple of 8
 * bytes from the base prints a message on standard error and ends the process
 * with exit code 2.
 */
ZARN_API int64_t rto_dptr2plex_c(const double *q);
ZARN_API int64_t RTO_DPTR2PLEX(double *const *q);
ZARN_API int64_t rto_iptr2plex_c(const int64_t *q);
ZARN_API int64_t RTO_IPTR2PLEX(int64_t *const *q);
/* Plex index of a character at q. */
ZARN_API int64_t rto_cptr2plex_c(const char *q);

/*
 * Text packed four characters per 64-bit integer (the first 4 bytes of each,
 * the other 4 skipped). RTO_I42STR unpacks *n characters into text (no NUL
 * added); RTO_STR2I4 packs them, leaving the skipped bytes alone. Both stop
 * at the hidden text length.
 */
ZARN_API void RTO_I42STR(char *text, const int64_t *ints, const int32_t *n, size_t text_len);
ZARN_API void U3PLG_RTO_I42STR(char *text, const int64_t *ints, const int32_t *n, size_t text_len);
ZARN_API void RTO_STR2I4(int64_t *ints, const char *text, const int32_t *n, size_t text_len);
ZARN_API void U3PLG_RTO_STR2I4(int64_t *ints, const char *text, const int32_t *n, size_t text_len);
/*
 * As RTO_I42STR; with keep 0 a NUL follows the last non-blank character (text
 * then needs n + 1 bytes; an all-blank text becomes "").
 */
ZARN_API void rto_int2str_c(char *text, const int64_t *ints, int32_t n, int32_t keep);
/*
 * Fills ((n - 1) / 4 + 1) * 8 bytes of ints with blanks, then packs the first
 * min(strlen(text), n) characters of text (text may be NULL).
 */
ZARN_API void rto_str2int_c(int64_t *ints, const char *text, int32_t n);

/* Copies *n bytes of text kept in doubles (8 characters each), up to the hidden length. */
ZARN_API void RTO_R82STR(char *text, const double *src, const int32_t *n, size_t text_len);
ZARN_API void U3PLG_RTO_R82STR(char *text, const double *src, const int32_t *n, size_t text_len);
ZARN_API void RTO_STR2R8(double *dest, const char *text, const int32_t *n, size_t text_len);

/* Stores the address of func in *out. */
ZARN_API void GETFUNCPTR_F(void (*func)(void), int64_t *out);
/* Always 0: no estimate of free memory is kept. */
ZARN_API int avail_mem(void);
/* Prints a note that memory debugging is not built in. */
ZARN_API void debug_mem(void);

ZARN_END_DECLS

#endif
