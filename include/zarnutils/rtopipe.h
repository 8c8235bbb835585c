/*
 * Pipes: the library's one stream abstraction. Every message, report, VARFILE,
 * prompt and command line travels through an rtopipe. Pipes are reference
 * counted: the creator holds one reference, copyPipe adds one, rtodestroy
 * drops one and destroys the pipe at zero.
 */
#ifndef ZARNUTILS_RTOPIPE_H
#define ZARNUTILS_RTOPIPE_H

#include <stdio.h>
#include "zarnutils/zarn_api.h"
#include "zarnutils/gllist.h"

ZARN_BEGIN_DECLS

typedef struct rtopipe rtopipe;

/* 1 on success, -1 on failure. */
typedef int (*rtopipe_write_fn)(rtopipe *pipe, const char *bytes, size_t length);
/* Bytes placed in buffer; 0 at end or when nothing is available. */
typedef int64_t (*rtopipe_read_fn)(rtopipe *pipe, char *buffer, size_t size);
/* Releases the pipe and what it owns. */
typedef void (*rtopipe_destroy_fn)(rtopipe *pipe);
/* 1 on success, 0 on failure. */
typedef int (*rtopipe_flush_fn)(rtopipe *pipe);
/* A constant text naming the pipe. */
typedef const char *(*rtopipe_describe_fn)(rtopipe *pipe);

/* Flag bits. */
#define RTOPIPE_INTERACTIVE 0x1u /* bit 0: a person is at the other end */
#define RTOPIPE_FLUSH_SHIFT 1    /* bits 1-2: flush level */
#define RTOPIPE_FLUSH_MASK 0x6u
#define RTOPIPE_STATUS 0x8u /* bit 3: end of input or failed read */

/* Flush levels. */
#define RTOPIPE_FLUSH_NEVER 0
#define RTOPIPE_FLUSH_NEWLINE 1
#define RTOPIPE_FLUSH_ALWAYS 2

/* Field order is part of the ABI. */
struct rtopipe {
    rtopipe_write_fn write;       /* NULL when the pipe cannot be written */
    rtopipe_read_fn read;         /* NULL when the pipe cannot be read */
    rtopipe_destroy_fn destroy;   /* releases the pipe */
    rtopipe_flush_fn flush;       /* may be NULL */
    rtopipe_describe_fn describe; /* name of the pipe */
    void *data;                   /* owned by the pipe kind */
    int32_t refcount;             /* number of holders */
    uint32_t flags;               /* RTOPIPE_* bits */
};

/* Process-wide pipes. */
ZARN_API extern rtopipe *stdinPipe;   /* command input */
ZARN_API extern rtopipe *stdoutPipe;  /* command output */
ZARN_API extern rtopipe *rtHisDev;    /* history device: the library's messages */
ZARN_API extern rtopipe *rtRepDev;    /* report device; NULL until set */
ZARN_API extern rtopipe *nowherePipe; /* the null pipe */
/* Flush level given to new ASCII file pipes; starts at 1. */
ZARN_API extern int rtopipe_ascii_flush_level;

/* Basic operations. */
ZARN_API int rtowrite(rtopipe *pipe, const char *bytes, size_t length);
ZARN_API int rtowritestr(rtopipe *pipe, const char *text);
ZARN_API int64_t rtoread(rtopipe *pipe, char *buffer, size_t size);
/* rtoread, then drops trailing blanks and newlines; NUL-terminates when room remains. */
ZARN_API int64_t rtoread_trim(rtopipe *pipe, char *buffer, size_t size);
ZARN_API int rtoflush(rtopipe *pipe);
/* -1 for no pipe or no destroy; 1 while holders remain; 0 once destroyed. */
ZARN_API int rtodestroy(rtopipe *pipe);
/* Another reference to the same pipe; NULL (with a message) for a dead pipe. */
ZARN_API rtopipe *copyPipe(rtopipe *pipe);
/* Frees the pipe record only. */
ZARN_API void collapseJustPipe(rtopipe *pipe);
ZARN_API int rtointeractive(const rtopipe *pipe);
ZARN_API int rtostatus(const rtopipe *pipe);
ZARN_API int rtoflushlevel(const rtopipe *pipe);
/* Sets the level (two bits) and returns the previous one. */
ZARN_API int rtosetflushlevel(rtopipe *pipe, int level);
ZARN_API const char *rtodesc(rtopipe *pipe);
/* Formats into a 20480-byte buffer and writes it; returns the write's result. */
ZARN_API int rtoprintf(rtopipe *pipe, const char *format, ...) __attribute__((format(printf, 2, 3)));

/* Pipe kinds. The caller holds the one reference of a new pipe. */
/* file: an open stream; name: copied; owns: destroy closes the stream. */
ZARN_API rtopipe *create_ascii_stream_rtopipe(FILE *file, const char *name, int owns);
ZARN_API rtopipe *create_binary_stream_rtopipe(FILE *file, const char *name, int owns);
ZARN_API rtopipe *create_queue_rtopipe(void);
/* A keyboard reader thread; the read never waits. prompt is copied. */
ZARN_API rtopipe *create_async_pipe(const char *prompt);
/* Writes one formatted record per write to a Fortran unit. */
ZARN_API rtopipe *rtoPipe_fortran_output(int32_t unit);
/* Writes to every pipe of list; takes over the list and one reference of each pipe. */
ZARN_API rtopipe *rtopipe_create_tee(gl_list_t *list);

/* Process-wide set-up. */
ZARN_API int rtoPipeIOInitialize(int interactive);
ZARN_API void rtoPipeIOTerminate(void);
ZARN_API const char *rtoprompt(void);
ZARN_API void rto_set_prompt(const char *text);

/* History and report devices. The device holds its own reference. */
ZARN_API void rtohis_set_hisDev(rtopipe *pipe);
ZARN_API int rtohis_inq_host(rtopipe *pipe);
ZARN_API void rtorep_set_repDev(rtopipe *pipe);

/* Fortran forms: fixed-length text with a hidden length. */
ZARN_API void INIT_PIPE_4HOST_F(const int64_t *flag);
ZARN_API void RTOHIS_WRITELN(const char *text, size_t length);
ZARN_API void RTOHIS_WRITE(const char *text, size_t length);
ZARN_API void RTOHIS_FLUSH(void);
ZARN_API int64_t RTOHIS_INQ_HOST_F(void);
ZARN_API void RTOREP_WRITELN(const char *text, size_t length);
ZARN_API void RTOREP_WRITE(const char *text, size_t length);
ZARN_API void RTOREP_FLUSH(void);
/* Takes a NUL-terminated text and no hidden length: a Fortran caller ends the
   text with c_null_char, or the library reads past the field. */
ZARN_API void RTOREP_WRITESTR(const char *text);

ZARN_END_DECLS

#endif
