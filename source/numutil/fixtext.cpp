// Fixed-length, blank-padded text fields of Fortran callers.
#include <cstdint>
#include <cstring>

#include "numutil/numutil_internal.h"
#include "numutil/numutil_messages.h"
#include "platform/checked.h"
#include "platform/ftext.h"
#include "rtopipe/report.h"

namespace zarn::numutil {
namespace {

// A count of values that is negative or whose bytes cannot be represented.
bool bad_value_count(const char *fn, int64_t count, std::size_t width) {
    std::size_t bytes = 0;
    if (byte_count(count, width, &bytes)) return false;
    rtopipe::report(msg::kBadCount, fn, static_cast<long long>(count));
    return true;
}

}  // namespace

void copy_text(const char *src, int64_t srclen, std::size_t srcfield, char *dst, int64_t dstlen,
               std::size_t dstfield) {
    if (srclen < 0 || dstlen < 0) {
        rtopipe::report(msg::kBadCount, "copy_char_str",
                        static_cast<long long>(srclen < 0 ? srclen : dstlen));
        return;
    }
    // The explicit lengths never reach past the fields themselves.
    const int64_t to = clamp_count(dstlen, static_cast<int64_t>(dstfield));
    const int64_t from = clamp_count(srclen, static_cast<int64_t>(srcfield));
    if (dst == nullptr || to == 0) return;
    const int64_t n = src != nullptr ? clamp_count(from, to) : 0;
    if (n > 0) std::memmove(dst, src, static_cast<std::size_t>(n));
    std::memset(dst + n, ' ', static_cast<std::size_t>(to - n));
}

void to_upper(char *text, std::size_t len) {
    if (text == nullptr) return;
    for (std::size_t i = 0; i < len; ++i) {
        if (text[i] >= 'a' && text[i] <= 'z') text[i] = static_cast<char>(text[i] - 'a' + 'A');
    }
}

void to_lower(char *text, std::size_t len) {
    if (text == nullptr) return;
    for (std::size_t i = 0; i < len; ++i) {
        if (text[i] >= 'A' && text[i] <= 'Z') text[i] = static_cast<char>(text[i] - 'A' + 'a');
    }
}

void blank(char *text, std::size_t len) {
    if (text != nullptr && len > 0) std::memset(text, ' ', len);
}

std::size_t trimmed_length(const char *text, std::size_t len) {
    if (text == nullptr) return 0;
    while (len > 0 && (text[len - 1] == ' ' || text[len - 1] == '\0')) --len;
    return len;
}

void pack(char *text, std::size_t len) {
    if (text == nullptr) return;
    std::size_t at = 0;
    for (std::size_t i = 0; i < len; ++i) {
        if (text[i] != ' ' && text[i] != '\0') text[at++] = text[i];
    }
    blank(text + at, len - at);
}

void values_to_text(const char *fn, const void *values, int64_t count, std::size_t width, char *text,
                    std::size_t len) {
    if (text == nullptr || bad_value_count(fn, count, width)) return;
    std::size_t copied = 0;
    if (values != nullptr) {
        // Clamp the count to the values the field can hold before taking bytes.
        const auto room = static_cast<int64_t>(len / width + 1);
        const std::size_t bytes = static_cast<std::size_t>(clamp_count(count, room)) * width;
        copied = bytes < len ? bytes : len;
        // Copied before the rest is blanked: the values may lie in the field itself.
        std::memmove(text, values, copied);
    }
    blank(text + copied, len - copied);
}

void text_to_values(const char *fn, const char *text, std::size_t len, void *values, int64_t count,
                    std::size_t width) {
    if (bad_value_count(fn, count, width) || count == 0) return;
    if (values == nullptr) {
        rtopipe::report(msg::kMissingArray, fn);
        return;
    }
    const std::size_t bytes = static_cast<std::size_t>(count) * width;
    // Copied before the rest is blanked: the field may lie in the values themselves.
    const std::size_t copied = text != nullptr ? (len < bytes ? len : bytes) : 0;
    if (copied > 0) std::memmove(values, text, copied);
    std::memset(static_cast<char *>(values) + copied, ' ', bytes - copied);
}

void concat(char *dst, std::size_t dstlen, const char *src, std::size_t srclen) {
    if (dst == nullptr) return;
    const std::string_view add = ftext_view(src, srclen);
    std::size_t end = dstlen;
    while (end > 0 && dst[end - 1] == ' ') --end;
    const std::size_t n = add.size() < dstlen - end ? add.size() : dstlen - end;
    if (n > 0) std::memmove(dst + end, add.data(), n);
}

std::size_t left_justify(char *text, std::size_t len) {
    if (text == nullptr) return 0;
    std::size_t lead = 0;
    while (lead < len && text[lead] == ' ') ++lead;
    if (lead > 0) {
        std::memmove(text, text + lead, len - lead);
        blank(text + len - lead, lead);
    }
    std::size_t word = 0;
    while (word < len && text[word] != ' ') ++word;
    return word;
}

void clear_screen() {
    static const char kHomeAndClear[] = "\x1b[H\x1b[2J";
    zarn_funit_put_raw(kHomeAndClear, sizeof kHomeAndClear - 1);
}

}  // namespace zarn::numutil
