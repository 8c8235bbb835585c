// Objects in use by a call into caller code: a list whose elements are being
// visited, a hash table whose callbacks are running. Their modules refuse a
// change to such an object made from inside the callback. A mark lives in the
// frame of the call that made it; a raise that unwinds that frame forgets it.
#ifndef ZARN_GLLIST_INUSE_H
#define ZARN_GLLIST_INUSE_H

#include "zarnutils/except.h"

namespace zarn::gllist {

struct InUse {
    const void *object;
    const CII_Except_Frame *handler;  // innermost handler frame when the mark was made
    InUse *outer;
};

// Marks object until leave_use(mark); mark must stay alive until then.
void enter_use(InUse *mark, const void *object);
void leave_use(InUse *mark);
bool in_use(const void *object);
// A raise resumes at handler: the marks made inside its body are gone.
void forget_uses_of(const CII_Except_Frame *handler);

}  // namespace zarn::gllist

#endif
