// Helpers shared by the string-editing sources.
#ifndef ZARN_STRED_STRED_INTERNAL_H
#define ZARN_STRED_STRED_INTERNAL_H

#include <cstddef>
#include <cstdint>

#include "stred/stred_messages.h"
#include "zarnutils/zarn_api.h"

namespace zarn::stred {

using msg::kSource;
// Longest block, port or attribute part of a dissected name.
constexpr std::size_t kMaxPart = ZARN_NAME_MAX;

// Whether the n bytes at p share a byte with the size bytes at buffer: a
// caller's input that lies in an output is copied before the output is written.
inline bool overlaps(const char *p, std::size_t n, const char *buffer, std::size_t size) {
    const auto a = reinterpret_cast<std::uintptr_t>(p), b = reinterpret_cast<std::uintptr_t>(buffer);
    return a < b + size && b < a + n;
}

// True (after printing the assertion line `text`) when p is null.
bool null_arg(const void *p, const char *text, int line);

// The work of STRED_REPLACE_REGEXPS_F on fixed-length fields: n patterns and
// replacements (fields of patternLen and replacementLen bytes, one after the
// other) applied in order to the text of s, which is written back blank-padded.
// The number of replacements, or -1 when a pattern does not compile.
int64_t replace_in_field(char *s, std::size_t sLen, const char *patterns, std::size_t patternLen,
                         const char *replacements, std::size_t replacementLen, int64_t n);

}  // namespace zarn::stred

#endif
