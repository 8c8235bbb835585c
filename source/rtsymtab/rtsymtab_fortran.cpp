// The upper-case Fortran twins of the rtsymtab entry points: each dereferences its
// arguments, converts text fields and calls the C function.
#include <cstdlib>
#include <cstring>
#include "platform/xalloc.h"
#include "rtsymtab/rtsymtab_internal.h"
#include "zarnutils/hashtable.h"
#include "zarnutils/rtsymtab.h"

ZARN_FORTRAN(void, RTSYMTAB_SHUTDOWN_F, rtsymtab_shutdown_f_, (void)) { rtsymtab_shutdown(); }
