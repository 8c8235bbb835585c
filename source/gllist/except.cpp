// Raising exceptions to handler frames by long jump.
#include "zarnutils/except.h"

#include <cstdio>
#include <cstdlib>

extern "C" {

ZARN_API CII_Except_Frame *CII_Except_stack = nullptr;

void CII_Except_raise(const CII_Except_T *e, const char *file, int line) {
    CII_Except_Frame *frame = CII_Except_stack;
    if (frame == nullptr) {
        std::fprintf(stderr, "Uncaught exception");
        if (e != nullptr && e->reason != nullptr)
            std::fprintf(stderr, " %s", e->reason);
        else
            std::fprintf(stderr, " at 0x%p", static_cast<const void *>(e));
        if (file != nullptr && line >= 1) std::fprintf(stderr, " raised at %s:%d\n", file, line);
        std::fprintf(stderr, "aborting...\n");
        std::fflush(stderr);
        std::abort();
    }
    frame->exception = e;
    frame->file = file;
    frame->line = line;
    CII_Except_stack = frame->prev;
    longjmp(frame->env, 1);
}

}  // extern "C"
