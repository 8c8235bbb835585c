// Load and unload of the shared library: what the process attach and detach do.
// Each step is a module's own initialiser, called in the order of dependence.
#include "rtuom/rtuom_load.h"
#include "zarnutils/rtvalue.h"
#include "zarnutils/zarnmalloc.h"

namespace {

__attribute__((constructor)) void zarn_library_attach() {
    // Plex anchors first: every later step may allocate blocks addressed by index.
    // The load goes on whatever the result.
    (void)FORTRAN_MALLOC_INIT();
    zarn::rtuom::load();
    // The global parameters; P_AMB reads the units table built just before.
    (void)param_init(0);
}

__attribute__((destructor)) void zarn_library_detach() {
    param_destroy(nullptr);
    zarn::rtuom::unload();
}

}  // namespace
