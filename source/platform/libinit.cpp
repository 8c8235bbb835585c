// Load and unload of the shared library: what the process attach and detach do.
// Each step is a module's own initialiser, called in the order of dependence.
#include "zarnutils/zarnmalloc.h"

namespace {

__attribute__((constructor)) void zarn_library_attach() {
    // Plex anchors first: every later step may allocate blocks addressed by index.
    // The load goes on whatever the result.
    (void)FORTRAN_MALLOC_INIT();
}

__attribute__((destructor)) void zarn_library_detach() {
}

}  // namespace
