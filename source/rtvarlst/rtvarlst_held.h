// How far a walk over a list's column vectors may go. A window whose head was
// cut under it keeps its item count, but only the items before the cut have
// cells; the vectors end there.
#ifndef ZARN_RTVARLST_RTVARLST_HELD_H
#define ZARN_RTVARLST_RTVARLST_HELD_H

#include <cstdint>

#include "zarnutils/rtvarlst.h"

namespace zarn::rtvarlst {

// Items 1..held_items(list) have cells in the list's column vectors: every
// item but those a cut head left beyond its cells; 0 for a null list.
int32_t held_items(rtvarlst_t *list);

}  // namespace zarn::rtvarlst

#endif
