// What the Fortran twins of the tag lists call where no C function fits.
#ifndef ZARN_RTTAGLST_RTTAGLST_INTERNAL_H
#define ZARN_RTTAGLST_RTTAGLST_INTERNAL_H

#include "zarnutils/rttaglst.h"

namespace zarn::rttaglst {

// The target name of alias (null when absent) and, in *k, its tag number or 0.
const char *find_tag(rtotaglst_t *list, const char *alias, int32_t *k);

}  // namespace zarn::rttaglst

#endif
