// The one keyword lookup of the attribute vocabularies.
#include "attrcat/attrcat.h"

namespace zarn::attrcat {

namespace {

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether the n characters at word are those of a keyword of the same length,
// from position `from` on (the characters before it are known to be equal),
// with or without case.
template <bool kFold>
bool same(const char *word, size_t n, const char *keyword, size_t from) {
    for (size_t i = from; i < n; ++i)
        if (kFold ? upper(word[i]) != upper(keyword[i]) : word[i] != keyword[i]) return false;
    return true;
}

// The first keyword from e to end that the word is.
template <bool kFold>
const rtvar_keyword *first_same(const Vocabulary &v, int e, int end, const char *word, size_t n) {
    for (; e < end; ++e)
        if (v.lengths[e] == n && same<kFold>(word, n, v.words[e].keyword, 1)) return &v.words[e];
    return nullptr;
}

}  // namespace

const rtvar_keyword *find(const Vocabulary &v, const char *word, size_t n) {
    if (word == nullptr || n < v.min_len || n > v.max_len) return nullptr;
    const char first = v.match == Match::AnyCase ? upper(word[0]) : word[0];
    if (first < 'A' || first > 'Z') return nullptr;
    const int l = first - 'A';
    // Every keyword of the range starts with the letter of l, as the word does
    // under the vocabulary's rule: the comparison starts at the second character.
    const int first_e = v.index.first[l], end = v.index.last[l];
    return v.match == Match::Exact ? first_same<false>(v, first_e, end, word, n)
                                   : first_same<true>(v, first_e, end, word, n);
}

}  // namespace zarn::attrcat
