// What the modules above may use of the Hessian: the local equation, variable
// and second variable numbers as a plex index, by the Jacobian's rule (the
// Hessian's own array, or a copy less the offset).
#ifndef ZARN_RTHESSBN_SIBLING_H
#define ZARN_RTHESSBN_SIBLING_H

#include "rtjacbn/coord_core.h"
#include "zarnutils/rthessbn.h"

namespace zarn::rthessbn {

// As zarn::rtjacbn::row_pattern (rtjacbn/rtjacbn_sibling.h).
rtjacbn::Pattern row_pattern(rt_hess_t *hess, bool force);
rtjacbn::Pattern column_pattern(rt_hess_t *hess, bool force);
rtjacbn::Pattern column2_pattern(rt_hess_t *hess, bool force);

}  // namespace zarn::rthessbn

#endif
