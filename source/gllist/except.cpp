// Raising exceptions to handler frames by long jump.
#include "zarnutils/except.h"

#include <cstdio>
#include <cstdlib>

#include "gllist/gllist_messages.h"
#include "gllist/inuse.h"

namespace msg = zarn::gllist::msg;

extern "C" {

ZARN_API CII_Except_Frame *CII_Except_stack = nullptr;

void CII_Except_raise(const CII_Except_T *e, const char *file, int line) {
    CII_Except_Frame *frame = CII_Except_stack;
    if (frame == nullptr) {
        std::fputs(msg::kUncaught, stderr);
        if (e != nullptr && e->reason != nullptr)
            std::fprintf(stderr, msg::kReason, e->reason);
        else
            std::fprintf(stderr, msg::kAddress, static_cast<const void *>(e));
        if (file != nullptr && line >= 1) std::fprintf(stderr, msg::kRaisedAt, file, line);
        std::fputs(msg::kAborting, stderr);
        std::fflush(stderr);
        std::abort();
    }
    frame->exception = e;
    frame->file = file;
    frame->line = line;
    zarn::gllist::forget_uses_of(frame);
    CII_Except_stack = frame->prev;
    longjmp(frame->env, 1);
}

}  // extern "C"
