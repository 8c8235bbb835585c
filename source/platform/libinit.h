// The library's load and unload steps live in libinit.cpp.
#ifndef ZARN_PLATFORM_LIBINIT_H
#define ZARN_PLATFORM_LIBINIT_H

namespace zarn {

// Defined beside the library constructor; a module whose state is set at load
// refers to it (ZARN_NEEDS_LIBINIT) so static links keep the constructor.
extern const int libinit_anchor;

}  // namespace zarn

#define ZARN_NEEDS_LIBINIT(tag) \
    __attribute__((used)) static const int *const zarn_libinit_ref_##tag = &::zarn::libinit_anchor

#endif
