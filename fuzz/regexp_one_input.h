// One input of the regular-expression fuzz target, shared with the corpus
// replay test. Input: pattern "\n" subject "\n" template (each up to a NUL).
// The includer defines ZARN_FUZZ_CHECK(cond) for what a failed check does.
#ifndef ZARN_FUZZ_REGEXP_ONE_INPUT_H
#define ZARN_FUZZ_REGEXP_ONE_INPUT_H

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "zarnutils/hsregexp.h"
#include "zarnutils/stred.h"

namespace zarn::fuzz {

// Match positions must lie inside the subject, each group in order.
inline void check_positions(const hs_regexp *prog, const char *begin, std::size_t size) {
    const char *end = begin + size;
    ZARN_FUZZ_CHECK(prog->startp[0] != nullptr && prog->endp[0] != nullptr);
    for (int i = 0; i < HS_NSUBEXP; ++i) {
        if (prog->startp[i] == nullptr || prog->endp[i] == nullptr) continue;
        ZARN_FUZZ_CHECK(prog->startp[i] >= begin && prog->endp[i] <= end && prog->startp[i] <= prog->endp[i]);
    }
}

inline std::string cut_at_nul(const std::string &s) { return s.substr(0, std::strlen(s.c_str())); }

inline void regexp_one_input(const uint8_t *data, std::size_t size) {
    std::string input(reinterpret_cast<const char *>(data), size);
    std::size_t a = input.find('\n');
    std::size_t b = a == std::string::npos ? std::string::npos : input.find('\n', a + 1);
    std::string pattern = cut_at_nul(input.substr(0, a));
    std::string subject = a == std::string::npos ? std::string() : cut_at_nul(input.substr(a + 1, b - a - 1));
    std::string tmpl = b == std::string::npos ? std::string("&\\1") : cut_at_nul(input.substr(b + 1));

    hs_regexp *prog = hs_regcomp(pattern.c_str());
    if (prog == nullptr) {
        ZARN_FUZZ_CHECK(hs_get_regerr() != nullptr);
    } else {
        int hit = hs_regexec(prog, subject.c_str());
        hs_regexp *copy = hs_regcopy(prog);
        ZARN_FUZZ_CHECK(copy != nullptr);
        ZARN_FUZZ_CHECK(hs_regexec(copy, subject.c_str()) == hit);
        if (hit) {
            check_positions(prog, subject.c_str(), subject.size());
            for (int i = 0; i < HS_NSUBEXP; ++i) {
                ZARN_FUZZ_CHECK(prog->startp[i] == copy->startp[i] && prog->endp[i] == copy->endp[i]);
            }
            // Each template character yields at most the whole subject.
            std::string dest(tmpl.size() * (subject.size() + 1) + 1, '\x7f');
            hs_regsub(prog, tmpl.c_str(), dest.data());
            ZARN_FUZZ_CHECK(std::memchr(dest.data(), '\0', dest.size()) != nullptr);
        }
        // Replacement in a bounded buffer never writes past maxLen.
        const int32_t maxLen = static_cast<int32_t>(subject.size() + tmpl.size() % 64);
        std::string buf(static_cast<std::size_t>(maxLen) + 1 + 16, '\x7f');
        std::memcpy(buf.data(), subject.c_str(), subject.size() + 1);
        stred_replace_regexp(buf.data(), maxLen, prog, tmpl.c_str());
        ZARN_FUZZ_CHECK(std::strlen(buf.c_str()) <= static_cast<std::size_t>(maxLen));
        for (std::size_t i = static_cast<std::size_t>(maxLen) + 1; i < buf.size(); ++i) {
            ZARN_FUZZ_CHECK(buf[i] == '\x7f');
        }
        hs_regfree(copy);
        hs_regfree(prog);
    }
    // A glob's expression always compiles and matches the glob's own text
    // when the glob holds no wildcard.
    char *re = stred_glob_to_regexp(subject.c_str());
    ZARN_FUZZ_CHECK(re != nullptr && re[0] == '%');
    hs_regexp *glob = hs_regcomp(re + 1);
    ZARN_FUZZ_CHECK(glob != nullptr || std::strlen(re) >= 32000);
    if (glob != nullptr && stred_is_glob(subject.c_str()) == nullptr) {
        ZARN_FUZZ_CHECK(hs_regexec(glob, subject.c_str()) == 1);
    }
    hs_regfree(glob);
    std::free(re);
}

}  // namespace zarn::fuzz

#endif
