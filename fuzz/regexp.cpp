// Compile, match and substitute on arbitrary bytes.
// Input: pattern "\n" subject "\n" substitution template (each up to a NUL).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "zarnutils/hsregexp.h"

namespace {

void check(bool ok) {
    if (!ok) __builtin_trap();
}

// Match positions must lie inside the subject, each group in order.
void check_positions(const hs_regexp *prog, const std::string &subject) {
    const char *begin = subject.c_str();
    const char *end = begin + subject.size();
    check(prog->startp[0] != nullptr && prog->endp[0] != nullptr);
    for (int i = 0; i < HS_NSUBEXP; ++i) {
        if (prog->startp[i] == nullptr || prog->endp[i] == nullptr) continue;
        check(prog->startp[i] >= begin && prog->endp[i] <= end && prog->startp[i] <= prog->endp[i]);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string input(reinterpret_cast<const char *>(data), size);
    std::size_t a = input.find('\n');
    std::size_t b = a == std::string::npos ? std::string::npos : input.find('\n', a + 1);
    std::string pattern = input.substr(0, a);
    std::string subject = a == std::string::npos ? std::string() : input.substr(a + 1, b - a - 1);
    std::string tmpl = b == std::string::npos ? std::string("&\\1") : input.substr(b + 1);
    pattern.resize(std::strlen(pattern.c_str()));
    subject.resize(std::strlen(subject.c_str()));
    tmpl.resize(std::strlen(tmpl.c_str()));

    hs_regexp *prog = hs_regcomp(pattern.c_str());
    if (prog == nullptr) {
        check(hs_get_regerr() != nullptr);
        return 0;
    }
    int hit = hs_regexec(prog, subject.c_str());
    hs_regexp *copy = hs_regcopy(prog);
    check(copy != nullptr);
    check(hs_regexec(copy, subject.c_str()) == hit);
    if (hit) {
        check_positions(prog, subject);
        for (int i = 0; i < HS_NSUBEXP; ++i) {
            check(prog->startp[i] == copy->startp[i] && prog->endp[i] == copy->endp[i]);
        }
        // Each template character yields at most the whole subject.
        std::string dest(tmpl.size() * (subject.size() + 1) + 1, '\x7f');
        hs_regsub(prog, tmpl.c_str(), dest.data());
        check(std::memchr(dest.data(), '\0', dest.size()) != nullptr);
    }
    hs_regfree(copy);
    hs_regfree(prog);
    return 0;
}
