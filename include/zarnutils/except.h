/*
 * Raising exceptions across C frames: a stack of handler frames unwound by
 * long jump. A raise with no handler prints the reason on standard error and
 * aborts the process. C++ code must not keep objects with destructors in
 * frames a raise can unwind through.
 */
#ifndef ZARNUTILS_EXCEPT_H
#define ZARNUTILS_EXCEPT_H

#include <setjmp.h>
#include "zarnutils/zarn_api.h"

ZARN_BEGIN_DECLS

/* An exception object; the first field is its reason text (may be NULL). */
typedef struct CII_Except_T {
    const char *reason;
} CII_Except_T;

/* A handler frame; field order is part of the ABI. */
typedef struct CII_Except_Frame {
    struct CII_Except_Frame *prev; /* enclosing frame */
    jmp_buf env;                   /* where a raise returns, with value 1 */
    const CII_Except_T *exception; /* set when an exception arrives */
    const char *file;              /* source file of the raise, or NULL */
    int line;                      /* source line of the raise */
} CII_Except_Frame;

/* Innermost handler frame, or NULL. */
ZARN_API extern CII_Except_Frame *CII_Except_stack;

/* Delivers e to the innermost frame (popping it); aborts when there is none. */
ZARN_API void CII_Except_raise(const CII_Except_T *e, const char *file, int line) __attribute__((noreturn));

#define ZARN_RAISE(e) CII_Except_raise(&(e), __FILE__, __LINE__)

/*
 * Catching a raise from C:
 *
 *   ZARN_TRY
 *       ... code that may raise ...
 *   ZARN_EXCEPT(rtmalloc_allocate_failed)
 *       ... handler; zarn_except_frame_.exception/file/line describe it ...
 *   ZARN_ELSE
 *       ... any other exception ...
 *   ZARN_END_TRY;
 *
 * An exception not matched by an EXCEPT and with no ELSE is raised again to the
 * enclosing frame. Do not return or jump out of a TRY body; use ZARN_RETURN.
 * Locals changed in the body and read in a handler must be volatile.
 */
enum { ZARN_TRY_ENTERED = 0, ZARN_TRY_RAISED = 1, ZARN_TRY_HANDLED = 2 };

#define ZARN_TRY                                          \
    do {                                                  \
        volatile int zarn_try_state_;                     \
        CII_Except_Frame zarn_except_frame_;              \
        zarn_except_frame_.prev = CII_Except_stack;       \
        zarn_except_frame_.exception = NULL;              \
        zarn_except_frame_.file = NULL;                   \
        zarn_except_frame_.line = 0;                      \
        CII_Except_stack = &zarn_except_frame_;           \
        zarn_try_state_ = setjmp(zarn_except_frame_.env); \
        if (zarn_try_state_ == ZARN_TRY_ENTERED) {
#define ZARN_EXCEPT(e)                                                                  \
    if (zarn_try_state_ == ZARN_TRY_ENTERED) CII_Except_stack = CII_Except_stack->prev; \
    }                                                                                   \
    else if (zarn_except_frame_.exception == &(e)) {                                    \
        zarn_try_state_ = ZARN_TRY_HANDLED;

#define ZARN_ELSE                                                                       \
    if (zarn_try_state_ == ZARN_TRY_ENTERED) CII_Except_stack = CII_Except_stack->prev; \
    }                                                                                   \
    else {                                                                              \
        zarn_try_state_ = ZARN_TRY_HANDLED;

#define ZARN_END_TRY                                                                                      \
    if (zarn_try_state_ == ZARN_TRY_ENTERED) CII_Except_stack = CII_Except_stack->prev;                   \
    }                                                                                                     \
    if (zarn_try_state_ == ZARN_TRY_RAISED)                                                               \
        CII_Except_raise(zarn_except_frame_.exception, zarn_except_frame_.file, zarn_except_frame_.line); \
    }                                                                                                     \
    while (0)

/* Leaves the enclosing function from inside a TRY body, popping its frame. */
#define ZARN_RETURN                                       \
    switch (CII_Except_stack = CII_Except_stack->prev, 0) \
    default:                                              \
        return

ZARN_END_DECLS

#endif
