/*
 * X-file: a binary file holding selected attributes of a range of variables
 * of a variable list, restored into the same model by position ("by index",
 * when the digest of the names matches) or into a changed model by name.
 * The layout is in docs/xfile.md.
 *
 * Every entry takes its arguments by address, as Fortran passes them:
 * integers are 64-bit, the list is the address of its handle, and each
 * character argument adds its length (by value) at the end of the list, in
 * argument order. Names in the file are 128-character blank-padded fields.
 * Files are identified by Fortran unit numbers, shared with a gfortran
 * caller; the library hands out units 60..99.
 *
 * One X-file is open at a time: an open replaces the state of the previous
 * one. Calling order: open (mode 1), save one or more times, close; or open
 * (mode 0), one restore or query, close; or open (mode 2), update, close.
 * Messages go to the history device rtHisDev; a bad file gets a message and
 * leaves the variable list as it was.
 */
#ifndef ZARNUTILS_XFILE_H
#define ZARNUTILS_XFILE_H

#include "zarnutils/zarn_api.h"
#include "zarnutils/rtvarlst.h"

ZARN_BEGIN_DECLS

/* File layout. */
#define RTXFILE_MAGIC 2147483646 /* header word 0 */
#define RTXFILE_VERSION 2004     /* version word written after the flags */
#define RTXFILE_RECORD_BYTES 2048
#define RTXFILE_RECORD_WORDS 512
#define RTXFILE_NDIGEST 16              /* digest integers (one byte value each) */
#define RTXFILE_NFLAGS 25               /* attribute flags */
#define RTXFILE_NAME_LEN 128            /* bytes of a name in the file */
#define RTXFILE_MAX_INT_WORDS 11        /* integer words of one variable, at most */
#define RTXFILE_MAX_REALS 9             /* reals of one variable, at most */
#define RTXFILE_MAX_VARIABLES 100000000 /* variables read by one restore or query */

/* Open modes. */
#define RTXFILE_READ 0
#define RTXFILE_CREATE 1
#define RTXFILE_UPDATE 2

/* Attribute codes: flag k-1 of a 25-flag array is attribute k. Codes 11, 12,
   16, 20 and 22 have no attribute. */
#define RTXFILE_NAME 1
#define RTXFILE_PHYSICAL_TYPE 2
#define RTXFILE_LOWER 3
#define RTXFILE_VALUE 4
#define RTXFILE_UPPER 5
#define RTXFILE_SCALE 6 /* saved, never restored */
#define RTXFILE_UOM 7
#define RTXFILE_SPEC 8
#define RTXFILE_STEP 9
#define RTXFILE_SBWEIGHT 10
#define RTXFILE_BASEUOM 13
#define RTXFILE_QUALITY 14
#define RTXFILE_INITIAL 15
#define RTXFILE_BOUND_TYPE 17
#define RTXFILE_PARAM_HOMO 18
#define RTXFILE_TARGET_HOMO 19
#define RTXFILE_MODIFIED 21 /* modified masks 1 and 2: two words */
#define RTXFILE_THRESHOLD 23
#define RTXFILE_RAMPED 24
#define RTXFILE_CONN_TYPE 25

/* Status outputs besides the Fortran run-time's I/O status codes. */
#define RTXFILE_STATUS_SHORT (-1)    /* the file ends before the record needed */
#define RTXFILE_STATUS_NOT_OPEN 9901 /* the unit is not connected */
#define RTXFILE_STATUS_BAD 9902      /* not the open X-file, or a damaged header */
#define RTXFILE_STATUS_NO_UNIT 9903  /* no free unit, or a unit number out of range */

/* Called once per variable by RTXFILE_QUERY with the variable's name (NUL-
   terminated, trailing blanks removed; NULL when the name field is empty). */
typedef void (*rtxfile_name_callback)(const char *name);

/* ---- High level ---- */

/* Opens an X-file. digest: 16 integers (the list's name digest, one byte
   value each); mode 0 read, 1 create, 2 update; flags: 25 attribute flags
   written at creation (mode 1) or requested for update (mode 2). Mode 0 sets
   *by_name to 0 when the digest matches the file's, else 1. Returns the unit,
   or 0 on failure (the unit is released). */
ZARN_API int64_t RTXFILE_OPEN(const char *name, const int64_t *digest, const int64_t *mode,
                              const int64_t *flags, int64_t *by_name, size_t name_len);
/* Finishes the file (end word and header indices when creating; the last
   record when updating), closes and frees the unit. */
ZARN_API void RTXFILE_CLOSE(const int64_t *unit);
/* Writes variables first..last (1 <= first, last <= n). The attributes written
   are those given to the open, so that every variable of the file has the
   same words; the flags argument keeps the calling form and is not read. */
ZARN_API void RTXFILE_SAVE_VARIABLE(const int64_t *unit, rtvarlst_t **list, const int64_t *first,
                                    const int64_t *last, const int64_t *flags);
/* RTXFILE_RESTORE_EXCEPT without exception list and without skipping fixed variables. */
ZARN_API int64_t RTXFILE_RESTORE_VARIABLE(const int64_t *unit, rtvarlst_t **list, const int64_t *select,
                                          const int64_t *by_name, const int64_t *nsub, const char *patterns,
                                          const char *replacements, size_t pattern_len,
                                          size_t replacement_len);
/* Restores the attributes that both the file and the 25 selection flags hold,
   by stored index (by_name 0) or by name. With nsub > 0, each name is first
   rewritten by the nsub pattern fields and replacement fields in order.
   With use_except set, variable k is skipped when except[k-1] is non-zero
   (except holds one integer per variable of the list); with skip_fixed 1,
   fixed variables are skipped. Returns 0, or minus the number of names that
   found no variable (names holding "ZFLOW" or "ZFRAC" are never counted, nor
   any name when substitutions are given); 0 after a read error. */
ZARN_API int64_t RTXFILE_RESTORE_EXCEPT(const int64_t *unit, rtvarlst_t **list, const int64_t *select,
                                        const int64_t *by_name, const int64_t *nsub, const char *patterns,
                                        const char *replacements, const int64_t *use_except,
                                        const int64_t *except, const int64_t *skip_fixed, size_t pattern_len,
                                        size_t replacement_len);
/* Rewrites in place the requested attributes (25 flags) of the variables the
   file holds with their current values in the list. */
ZARN_API void RTXFILE_UPDATE_VARIABLE(const int64_t *unit, rtvarlst_t **list, const int64_t *flags);
/* Copies the file's 25 flags to flags and calls callback (may be NULL) with
   each name. 0 when done, 1 when the file has no names or a read fails. */
ZARN_API int64_t RTXFILE_QUERY(const int64_t *unit, int64_t *flags, rtxfile_name_callback callback);

/* ---- Low level ---- */

/* Opens an existing X-file on *unit for reading and reads its header into
   magic, digest (16), flags (25), first and last; *status is 0 or the I/O
   status (the unit is closed again after a failure). */
ZARN_API void RTO_OPENRD_XFILE_F(const int64_t *unit, const char *name, int64_t *magic, int64_t *digest,
                                 int64_t *flags, int64_t *first, int64_t *last, int64_t *status,
                                 size_t name_len);
/* Reads the next variable: index, name (when the file has names; the field is
   filled with the 128 bytes, blank-padded or cut), the integer words (at most
   RTXFILE_MAX_INT_WORDS) and the reals (at most RTXFILE_MAX_REALS) in file
   order. A negative index sets *eof to 1 and reads nothing more. */
ZARN_API void RTO_READ_XFILE_F(const int64_t *unit, int64_t *index, char *name, int64_t *ints, double *reals,
                               int64_t *eof, int64_t *status, size_t name_len);
/* As RTO_READ_XFILE_F for the n-th variable of the file (n >= 1). */
ZARN_API void RTO_READ_XREC_F(const int64_t *unit, const int64_t *n, int64_t *index, char *name,
                              int64_t *ints, double *reals, int64_t *eof, int64_t *status, size_t name_len);
/* Finishes the file according to its mode and closes the unit; *status is
   the close's I/O status. The unit number stays allocated. */
ZARN_API void RTO_CLOSE_XFILE_F(const int64_t *unit, int64_t *status);
/* Allocates a unit from 60..99: *unit, *error 0; none free: -1 and 1. */
ZARN_API void RTO_GETIOC(int64_t *unit, int64_t *error);
/* Frees / reserves a unit of 60..99; other numbers are ignored. */
ZARN_API void RTO_FREIOC(const int64_t *unit);
ZARN_API void RTO_RESIOC(const int64_t *unit);
/* The lowest unit in first..last that is not open, or -1. */
ZARN_API int64_t RTO_OPFUNT(const int64_t *first, const int64_t *last);
/* Opens a named text file for sequential writing. When it is open already,
   *unit becomes that unit. Otherwise the lowest free unit from |*unit| to 99
   is used, appending when *unit > 0 and the file exists. *status: I/O status
   (RTXFILE_STATUS_NO_UNIT and *unit -1 when no unit is free). */
ZARN_API void RTO_SHARE_OPEN(const char *name, int64_t *unit, int64_t *status, size_t name_len);
/* As RTO_SHARE_OPEN, but the file starts empty; a unit >= 0 is used as given
   (closed first when open), a negative one searched from its absolute value. */
ZARN_API void RTO_SHARE_OPENEW(const char *name, int64_t *unit, int64_t *status, size_t name_len);
/* Does nothing. */
ZARN_API void RTO_FLUSH_UNIT(const int64_t *unit);

ZARN_END_DECLS

#endif
