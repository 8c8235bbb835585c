// Fortran entry points of the string editors: fixed-length fields in and out.
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/ftext.h"
#include "zarnutils/stred.h"

namespace {

// The text of a field as a NUL-terminated buffer with room for `room` characters.
char *field_buffer(const char *field, std::size_t length, std::size_t room) {
    std::string_view v = zarn::ftext_view(field, length);
    auto *buf = static_cast<char *>(std::malloc(room + 1));
    if (buf == nullptr) return nullptr;
    std::size_t n = v.size() < room ? v.size() : room;
    if (n > 0) std::memcpy(buf, v.data(), n);
    buf[n] = '\0';
    return buf;
}

}  // namespace

ZARN_FORTRAN(int64_t, STRED_REPLACE_REGEXPS_F, stred_replace_regexps_f_,
             (char *s, const char *patterns, const char *replacements, const int64_t *n, size_t sLen,
              size_t patternLen, size_t replacementLen)) {
    if (s == nullptr || n == nullptr || (*n > 0 && (patterns == nullptr || replacements == nullptr))) return 0;
    if (zarn::ftext_absent(s, sLen)) return 0;  // an absent field is left as it is
    char *work = field_buffer(s, sLen, sLen);
    if (work == nullptr) return 0;
    int64_t total = 0;
    for (int64_t i = 0; i < *n; ++i) {
        zarn::FText pattern(patterns + static_cast<std::size_t>(i) * patternLen, patternLen);
        zarn::FText replacement(replacements + static_cast<std::size_t>(i) * replacementLen, replacementLen);
        hs_regexp *prog = hs_regcomp(pattern.c_str());
        if (prog == nullptr) {
            std::free(work);
            return -1;
        }
        total += stred_replace_regexp(work, static_cast<int32_t>(sLen < INT32_MAX ? sLen : INT32_MAX), prog,
                                      replacement.c_str());
        hs_regfree(prog);
    }
    zarn::ftext_store(s, sLen, work);
    std::free(work);
    return total;
}

ZARN_FORTRAN(int64_t, STRED_REPLACE_REGEXP_F, stred_replace_regexp_f_,
             (char *s, const char *pattern, const char *replacement, size_t sLen, size_t patternLen,
              size_t replacementLen)) {
    const int64_t one = 1;
    return STRED_REPLACE_REGEXPS_F(s, pattern, replacement, &one, sLen, patternLen, replacementLen);
}

ZARN_FORTRAN(int64_t, STRSTR_F, strstr_f_, (const char *s, const char *t, size_t sLen, size_t tLen)) {
    std::string_view hay = zarn::ftext_view(s, sLen);
    std::string_view needle = zarn::ftext_view(t, tLen);
    return hay.find(needle) != std::string_view::npos ? 1 : 0;
}
