// Text packed into arrays of 8-byte words, as Fortran code keeps names in
// integer and double arrays: `per` characters in each word, from its first
// byte (4: the other four bytes are skipped; 8: every byte is text).
#ifndef ZARN_PLATFORM_PACKTEXT_H
#define ZARN_PLATFORM_PACKTEXT_H

#include <cstddef>

namespace zarn {

// Byte offset of character k in the words.
inline std::size_t packed_offset(std::size_t k, std::size_t per) { return (k / per) * 8 + k % per; }

// Copies n packed characters out of words into text (no terminator added).
inline void unpack_text(char *text, const void *words, std::size_t n, std::size_t per) {
    const auto *bytes = static_cast<const char *>(words);
    for (std::size_t k = 0; k < n; ++k) text[k] = bytes[packed_offset(k, per)];
}

// Packs n characters of text into words; skipped bytes are left as they are.
inline void pack_text(void *words, const char *text, std::size_t n, std::size_t per) {
    auto *bytes = static_cast<char *>(words);
    for (std::size_t k = 0; k < n; ++k) bytes[packed_offset(k, per)] = text[k];
}

}  // namespace zarn

#endif
