// What the modules above may use of the Jacobian: the local equation and
// variable numbers as a plex index, made by the rule the Fortran wrappers
// follow (the Jacobian's own array, or a copy less the offset).
#ifndef ZARN_RTJACBN_SIBLING_H
#define ZARN_RTJACBN_SIBLING_H

#include "rtjacbn/coord_core.h"
#include "zarnutils/rtjacbn.h"

namespace zarn::rtjacbn {

// Without force and with a total offset of 0, the plex index of jac's own
// numbers (copied false); otherwise a new block of capacity integers whose
// first nnz hold the numbers less the offset (copied true; free it with
// RTO_IFREE). {0, false} for a NULL jac; a block the plex allocator cannot
// give raises its exception.
Pattern row_pattern(rt_jac_t *jac, bool force);
Pattern column_pattern(rt_jac_t *jac, bool force);

}  // namespace zarn::rtjacbn

#endif
