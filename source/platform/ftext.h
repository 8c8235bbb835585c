// Fixed-length Fortran text fields: one set of rules for every upper-case entry.
#ifndef ZARN_PLATFORM_FTEXT_H
#define ZARN_PLATFORM_FTEXT_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace zarn {

// True when the field's first four bytes are NUL: the argument is absent.
inline bool ftext_absent(const char *text, std::size_t length) {
    if (text == nullptr) return true;
    if (length < 4) return false;
    return text[0] == '\0' && text[1] == '\0' && text[2] == '\0' && text[3] == '\0';
}

// The text a field carries: up to its first NUL, or else without trailing
// blanks. An absent field gives an empty view.
inline std::string_view ftext_view(const char *text, std::size_t length) {
    if (ftext_absent(text, length)) return {};
    // Trailing blanks first, whole words of them before single bytes (a long
    // field is mostly padding); a NUL can only lie before them.
    constexpr std::uint64_t kBlanks = 0x2020202020202020u;
    std::size_t end = length;
    std::uint64_t words[2];
    while (end >= sizeof words) {  // two words a step
        std::memcpy(words, text + end - sizeof words, sizeof words);
        if ((words[0] ^ kBlanks) != 0 || (words[1] ^ kBlanks) != 0) break;
        end -= sizeof words;
    }
    while (end >= sizeof kBlanks) {
        std::memcpy(words, text + end - sizeof kBlanks, sizeof kBlanks);
        if (words[0] != kBlanks) break;
        end -= sizeof kBlanks;
    }
    while (end > 0 && text[end - 1] == ' ') --end;
    const void *nul = end > 0 ? std::memchr(text, '\0', end) : nullptr;
    if (nul != nullptr) return {text, static_cast<std::size_t>(static_cast<const char *>(nul) - text)};
    return {text, end};
}

// Writes src into a field of `length` bytes, blank-padded and cut to the field.
inline void ftext_store(char *field, std::size_t length, std::string_view src) {
    if (field == nullptr) return;
    std::size_t n = src.size() < length ? src.size() : length;
    if (n > 0) std::memcpy(field, src.data(), n);
    if (length > n) std::memset(field + n, ' ', length - n);
}

// A NUL-terminated copy of a field's text for calls that need a C string.
// Short texts stay on the stack; longer ones take one heap block.
class FText {
  public:
    FText(const char *text, std::size_t length);
    ~FText();
    FText(const FText &) = delete;
    FText &operator=(const FText &) = delete;
    const char *c_str() const { return ptr_; }
    std::size_t size() const { return size_; }
    bool absent() const { return absent_; }
    std::string_view view() const { return {ptr_, size_}; }

  private:
    char local_[256];
    char *ptr_;
    std::size_t size_;
    bool absent_;
};

}  // namespace zarn

#endif
