// Helpers shared by the string-editing sources.
#ifndef ZARN_STRED_STRED_INTERNAL_H
#define ZARN_STRED_STRED_INTERNAL_H

#include <cstddef>

namespace zarn::stred {

// Source name printed in assertion lines of this module.
constexpr const char *kSource = "source/stred/stred";
// Longest block, port or attribute part of a dissected name.
constexpr std::size_t kMaxPart = 1024;

// True (after printing the assertion line `text`) when p is null.
bool null_arg(const void *p, const char *text, int line);

}  // namespace zarn::stred

#endif
