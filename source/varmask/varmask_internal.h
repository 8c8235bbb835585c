// Keyword tables: a sorted array of entries, the length range a word must
// lie in, and a per-letter range index built once on first use.
#ifndef ZARN_VARMASK_VARMASK_INTERNAL_H
#define ZARN_VARMASK_VARMASK_INTERNAL_H

#include <cstddef>

#include "zarnutils/varmask.h"

namespace zarn::varmask {

// For each letter A..Z, the first and one-past-last entry starting with it.
struct LetterIndex {
    int first[26];
    int last[26];
};

struct KeywordTable {
    const rtvar_keyword *entries;  // sorted alphabetically (once indexed)
    int count;
    std::size_t min_len, max_len;  // words outside fail before any comparison
    // The table's letter index, built on the first call (a function-local
    // static, so the building is safe under threads and happens once).
    const LetterIndex &(*index)();
};

// The letter index of a sorted table.
LetterIndex build_index(const rtvar_keyword *entries, int count);

// The entry equal to word (length n) ignoring case, within the letter range
// of its first character, which must be an upper-case letter; else null.
const rtvar_keyword *lookup(const KeywordTable &table, const char *word, std::size_t n);

// The code of the word, or `none` when the table has no such word.
inline int code_of(const KeywordTable &table, const char *word, std::size_t n, int none) {
    const rtvar_keyword *k = lookup(table, word, n);
    return k ? k->code : none;
}

}  // namespace zarn::varmask

#endif
