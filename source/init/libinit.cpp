// Load and unload of the shared library: what the process attach and detach do.
// Each step is a module's own initialiser, called in the order of dependence.
#include "rtuom/rtuom_load.h"
#include "zarnmalloc/zarnmalloc_load.h"
#include "zarnutils/rtvalue.h"

namespace {

__attribute__((constructor)) void zarn_library_attach() {
    // Plex anchors first: every later step may allocate blocks addressed by index.
    // The load goes on whatever the result.
    zarn::zarnmalloc::load();
    zarn::rtuom::load();
    // The global parameters; P_AMB reads the units table built just before.
    (void)param_init(0);
}

__attribute__((destructor)) void zarn_library_detach() {
    param_destroy(nullptr);
    zarn::rtuom::unload();
}

}  // namespace
