/* String editing and name rules of the command language and the model's
 * naming scheme; number formatting for fixed-width columns; case variants of
 * file names and a search along a path list.
 *
 * Null text arguments print an assertion line on standard error
 * ("Assertion '<function>: ...' failed in source/stred/...") and give the
 * neutral result (0, NULL or no change). */
#ifndef ZARNUTILS_STRED_H
#define ZARNUTILS_STRED_H

#include "zarnutils/gllist.h"
#include "zarnutils/hsregexp.h"
#include "zarnutils/rtopipe.h"
#include "zarnutils/zarn_api.h"

ZARN_BEGIN_DECLS

/* ---- case and packing ---- */

/* Upper-/lower-cases s in place (ASCII letters). */
ZARN_API void stred_upper_case(char *s);
ZARN_API void stred_lower_case(char *s);
/* Upper-cases in place every text (char *) held by list. */
ZARN_API void stred_upper_case_list(gl_list_t *list);
/* Unpacks min(4n, destLen - 1) characters stored four to an element in the
 * low four bytes of each 8-byte element of words, and terminates dest. */
ZARN_API void stred_i4_to_string(char *dest, int64_t destLen, const int64_t *words, int64_t n);
/* Unpacks min(8n, destLen - 1) characters stored eight to each element. */
ZARN_API void stred_r8_to_string(char *dest, int64_t destLen, const double *words, int64_t n);
/* Cuts trailing white space from s in place. */
ZARN_API void stred_remove_trailing_blanks(char *s);

/* ---- name rules (results 1 or 0) ---- */

/* Parameter names: A-Z first, then A-Z, 0-9, "_" or "-". */
ZARN_API int stred_valid_name(const char *s);
/* The first "*" or "?" in s, or NULL. */
ZARN_API const char *stred_is_glob(const char *s);
/* Model names: A-Z, 0-9 or "$" first; then blanks, A-Z, 0-9 and
 * $ ( ) * + , - . / : ; < = > [ ] _ { } only. */
ZARN_API int stred_rtopt_name(const char *s);
/* A model name without any ".". */
ZARN_API int stred_rtopt_object(const char *s);
/* s begins with a digit or holds one of "* ;/=,()[]{}<>": it must be quoted. */
ZARN_API int stred_special_id(const char *s);
/* s is "SELF", or "SELF." followed by a non-empty part without ".". */
ZARN_API int stred_self_string(const char *s);
/* s is non-empty and all decimal digits. */
ZARN_API int stred_IsNumeric(const char *s);
/* Comparison ignoring case: -1, 0 or 1; a proper prefix sorts first. */
ZARN_API int stred_caseless_cmp(const char *a, const char *b);
/* 1 when patterns (a list of hs_regexp *) is NULL or empty or any of them
 * matches name, else 0. */
ZARN_API int stred_matching_name(const char *name, gl_list_t *patterns);

/* ---- writing to pipes ---- */

/* s, in single quotes when stred_special_id says so. */
ZARN_API void stred_write_id(rtopipe *pipe, const char *s);
/* s padded with blanks to w; a longer s is cut to w - 1 characters and "|".
 * Nothing is written when w < 1. */
ZARN_API void stred_write_name(rtopipe *pipe, const char *s, int32_t w);
/* s centred in w between runs of "-" (the left run takes the odd one); a
 * longer s is cut to w. */
ZARN_API void stred_write_hdr(rtopipe *pipe, const char *s, int32_t w);
/* a blanks, b "-" and c blanks (each at most 231; parts <= 0 are skipped). */
ZARN_API void stred_write_dash(rtopipe *pipe, int32_t a, int32_t b, int32_t c);

/* ---- rewriting ---- */

/* The regular expression of a glob: "%^" + the glob with "*" as ".*", "?" as
 * "." and $ ( ) + . [ \ ] ^ | escaped + "$". A new text the caller frees
 * with free(); NULL for a NULL glob. */
ZARN_API char *stred_glob_to_regexp(const char *glob);
/* Replaces every match of prog in s (a buffer of maxLen + 1 bytes) by
 * replacement, taken literally, searching on after each inserted text. The
 * result is cut at maxLen characters. An empty match right after a
 * replaced one is skipped, and after an empty match the search resumes one
 * character further on. Returns the number of replacements; s is left as it
 * was when it is longer than maxLen or an argument is NULL. */
ZARN_API int32_t stred_replace_regexp(char *s, int32_t maxLen, hs_regexp *prog, const char *replacement);
/* stred_replace_regexp with each pair of two lists of equal length, in order:
 * progs holds hs_regexp *, replacements char *. Returns the total count. */
ZARN_API int32_t stred_replace_regexps(char *s, int32_t maxLen, gl_list_t *progs, gl_list_t *replacements);
/* With self given and name "SELF" or "SELF.<rest>": self followed by the rest
 * of name; otherwise a copy of name. A new text the caller frees with free(). */
ZARN_API char *stred_replace_self(const char *name, const char *self);
/* Splits name at its last "." into block and attribute (buffers of at least
 * 1025 bytes, emptied first); 1 when each part has 1 to 1024 characters. */
ZARN_API int dissect_block_name(const char *name, char *block, char *attribute);
/* Splits "<block>.<port>.STR[.<attribute>]" (block may hold "."), into the
 * three buffers of at least 1025 bytes, emptied first; 1 on success. A name
 * ending in ".STR" is read in the first form. */
ZARN_API int dissect_port_name(const char *name, char *block, char *port, char *attribute);
/* name with "AS__" inserted after its last "." (or in front); out must hold
 * strlen(name) + 5 bytes. Returns out. */
ZARN_API char *stred_bad_spec_name(const char *name, char *out);

/* ---- Fortran forms (hidden lengths at the end) ---- */

/* Replaces, in the field s, every match of the pattern text by the
 * replacement text; the field length is the maximum length. Returns the
 * number of replacements, -1 when the pattern does not compile. */
ZARN_API int64_t STRED_REPLACE_REGEXP_F(char *s, const char *pattern, const char *replacement, size_t sLen,
                                        size_t patternLen, size_t replacementLen);
/* The same with arrays of n pattern fields and n replacement fields, applied
 * in order. Returns the total count, -1 when a pattern does not compile
 * (s is then left as it was). */
ZARN_API int64_t STRED_REPLACE_REGEXPS_F(char *s, const char *patterns, const char *replacements,
                                         const int64_t *n, size_t sLen, size_t patternLen,
                                         size_t replacementLen);
/* 1 when the text of t occurs in the text of s, else 0. */
ZARN_API int64_t STRSTR_F(const char *s, const char *t, size_t sLen, size_t tLen);

/* ---- number formatting ---- */

/* The most precise text of x that fits in w characters ("%g" digits, short
 * exponent, always a "."). buffer must hold max(w, 8) + 1 bytes. Returns
 * buffer. */
ZARN_API char *fmt_numbr_max(double x, int32_t w, char *buffer);
/* x with d decimals when that fits in w, else fmt_numbr_max. buffer must
 * hold max(w, d + 2, 8) + 1 bytes. Returns buffer. */
ZARN_API char *fmt_numbr_dec(double x, int32_t w, int32_t d, char *buffer);
/* The same texts written right-justified in w characters. */
ZARN_API void wrt_numbr_max(rtopipe *pipe, double x, int32_t w);
ZARN_API void wrt_numbr_dec(rtopipe *pipe, double x, int32_t w, int32_t d);

/* ---- file names ---- */

/* Iterator over case variants of a file name. */
typedef struct rtocase rtocase;
/* Variants of an existing file: upper case, then lower case. */
ZARN_API rtocase *rtocase_existing(const char *name);
/* Variants for a new file: lower case, then upper case. */
ZARN_API rtocase *rtocase_newfile(const char *name);
/* The next variant (valid until the next call on it), or NULL at the end. */
ZARN_API const char *rtocase_next(rtocase *it);
/* Restarts at the first variant. */
ZARN_API void rtocase_reset(rtocase *it);
/* Frees the iterator; NULL is a no-op. */
ZARN_API void rtocase_destroy(rtocase *it);

/* Finds a readable file: name, name + ext, then for each directory of
 * pathList (";"-separated) directory/name and directory/name + ext. The
 * first readable candidate is copied to out (at least 1025 bytes; longer
 * candidates are skipped) and out is returned; NULL when none is found. */
ZARN_API char *path_search_nocase(const char *name, const char *ext, const char *pathList, char *out);
ZARN_API char *path_search_case(const char *name, const char *ext, const char *pathList, char *out);

ZARN_END_DECLS

#endif
