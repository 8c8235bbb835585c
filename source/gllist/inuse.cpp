// The marks of objects in use by callbacks, innermost first.
#include "gllist/inuse.h"

namespace zarn::gllist {
namespace {
InUse *g_marks = nullptr;
}  // namespace

void enter_use(InUse *mark, const void *object) {
    mark->object = object;
    mark->handler = CII_Except_stack;
    mark->outer = g_marks;
    g_marks = mark;
}

void leave_use(InUse *mark) {
    // Marks inside this one were left before it; drop any that were not.
    for (InUse *m = g_marks; m != nullptr; m = m->outer)
        if (m == mark) {
            g_marks = mark->outer;
            return;
        }
}

bool in_use(const void *object) {
    for (const InUse *m = g_marks; m != nullptr; m = m->outer)
        if (m->object == object) return true;
    return false;
}

void forget_uses_of(const CII_Except_Frame *handler) {
    // Only marks made inside the handler's body name it, and they are the newest.
    while (g_marks != nullptr && g_marks->handler == handler) g_marks = g_marks->outer;
}

}  // namespace zarn::gllist
