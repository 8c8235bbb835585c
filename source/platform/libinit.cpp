// Load and unload of the shared library: what the process attach and detach do.
// Each step is a module's own initialiser, called in the order of dependence.

namespace {

__attribute__((constructor)) void zarn_library_attach() {
}

__attribute__((destructor)) void zarn_library_detach() {
}

}  // namespace
