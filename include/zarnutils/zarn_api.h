/* Export and calling-convention macros shared by every public header. */
#ifndef ZARNUTILS_ZARN_API_H
#define ZARNUTILS_ZARN_API_H

#include <stddef.h>
#include <stdint.h>

/* Marks a name exported from libzarnutils.so; everything else stays hidden. */
#define ZARN_API __attribute__((visibility("default")))

#ifdef __cplusplus
#define ZARN_EXTERN_C extern "C"
#define ZARN_BEGIN_DECLS extern "C" {
#define ZARN_END_DECLS }
#else
#define ZARN_EXTERN_C
#define ZARN_BEGIN_DECLS
#define ZARN_END_DECLS
#endif

/* The longest name a list, an alias or a record holds, and the bytes of a
   buffer that holds one with its terminator. */
#define ZARN_NAME_MAX 1024
#define ZARN_NAME_BUF (ZARN_NAME_MAX + 1)

/*
 * Defines an upper-case Fortran entry point and exports it twice: under its
 * exact name and under the gfortran/ifx name (lower case plus underscore), so
 * that unmodified Fortran 77 code links against either.
 *
 *   ZARN_FORTRAN(int64_t, RTO_DMALLOC, rto_dmalloc_, (int64_t *n)) { ... }
 *
 * The body follows the macro. The export test checks that every upper-case
 * export has its alias.
 */
#define ZARN_FORTRAN(ret, UPPER, lower, params)                             \
    ZARN_EXTERN_C ZARN_API ret UPPER params;                                \
    ZARN_EXTERN_C ZARN_API ret lower params __attribute__((alias(#UPPER))); \
    ZARN_EXTERN_C ZARN_API ret UPPER params

#endif
