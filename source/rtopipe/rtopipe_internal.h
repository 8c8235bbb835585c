// Internals shared by the pipe kinds.
#ifndef ZARN_RTOPIPE_RTOPIPE_INTERNAL_H
#define ZARN_RTOPIPE_RTOPIPE_INTERNAL_H

#include <cstdio>

#include "zarnutils/rtopipe.h"

namespace zarn::rtopipe {

// A new pipe record with one reference; NULL when memory is short.
::rtopipe *make(rtopipe_write_fn w, rtopipe_read_fn r, rtopipe_destroy_fn d, rtopipe_flush_fn f,
                rtopipe_describe_fn desc, void *data, int flush_level);

inline void set_status(::rtopipe *p) { p->flags |= RTOPIPE_STATUS; }
inline void clear_status(::rtopipe *p) { p->flags &= ~RTOPIPE_STATUS; }
inline int level(const ::rtopipe *p) {
    return static_cast<int>((p->flags & RTOPIPE_FLUSH_MASK) >> RTOPIPE_FLUSH_SHIFT);
}

// Where a message about pipe p goes: the history pipe, unless that is p or
// missing, in which case NULL (meaning standard error).
::rtopipe *report_target(const ::rtopipe *p);

// Writes a message about pipe p to report_target(p), or standard error.
void report_about(const ::rtopipe *p, const char *format, ...) __attribute__((format(printf, 2, 3)));

// Reports on the history device that fn could not have the memory for a pipe;
// returns NULL for the caller to pass on.
::rtopipe *no_memory(const char *fn);

// Counts one more failed read of p in a row (*errors). Once the limit is
// reached it reports giving up, sets p's status bit and returns true.
bool give_up_reading(::rtopipe *p, int *errors);

// The static pipes.
::rtopipe *static_stdin();
::rtopipe *static_stdout();

// Console line reader over the given streams (standard input and output in use).
::rtopipe *create_console_reader(FILE *in, FILE *out);

// Asynchronous keyboard over a line source: in_fd is read without blocking the
// caller, echo and prompts go to out_fd.
::rtopipe *create_async_fd(const char *prompt, int in_fd, int out_fd);

// The Fortran set-up: initialises unless that has been done already.
void initialize_once(int interactive);

}  // namespace zarn::rtopipe

#endif
