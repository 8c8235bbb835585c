// The words of the attributes whose values are small codes: QUALITY, the
// YES/NO of PARAM and RAMPED, and VAR_TYPE. Assignment, lookup and the
// VARFILE writer and reader all read these one tables.
#ifndef ZARN_VARMASK_VALUE_WORDS_H
#define ZARN_VARMASK_VALUE_WORDS_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "zarnutils/varmask.h"

namespace zarn::varmask {

inline constexpr rtvar_keyword kQualityWords[] = {{"GOOD", 0}, {"BAD", 1}, {"OVERRIDE", 2}, {"BADIGNORE", 3}};
inline constexpr rtvar_keyword kYesNoWords[] = {{"NO", 0}, {"YES", 1}};
// INTEGER reads as DISCRETE; the first word of a code is the one written.
inline constexpr rtvar_keyword kVarTypeWords[] = {
    {"ALGEBRAIC", 0},      {"STATE", 1},  {"DIFFERENTIAL", 2},    {"DISCRETE", 3},        {"INTEGER", 3},
    {"DISCRETE-ESLACK", 4}, {"BINARY", 5}, {"PARTIAL-INTEGER", 6}, {"SEMI-CONTINUOUS", 7}, {"SEMI-CONTINUOUS-INTEGER", 64}};

// The code of an upper-case word, or -1.
template <size_t N>
int32_t word_code(const rtvar_keyword (&table)[N], const char *word) {
    for (const rtvar_keyword &k : table)
        if (std::strcmp(k.keyword, word) == 0) return k.code;
    return -1;
}

// The word written for a code, or nullptr.
template <size_t N>
const char *code_word(const rtvar_keyword (&table)[N], int64_t code) {
    for (const rtvar_keyword &k : table)
        if (k.code == code) return k.keyword;
    return nullptr;
}

}  // namespace zarn::varmask

#endif
