// The one keyword lookup of the attribute vocabularies.
#include "attrcat/attrcat.h"

namespace zarn::attrcat {

namespace {

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether the n characters at word are the keyword, from position `from` on
// (the characters before it are known to be equal).
bool same_exact(const char *word, size_t n, const char *keyword, size_t from) {
    for (size_t i = from; i < n; ++i)
        if (keyword[i] == '\0' || word[i] != keyword[i]) return false;
    return keyword[n] == '\0';
}

bool same_folded(const char *word, size_t n, const char *keyword, size_t from) {
    for (size_t i = from; i < n; ++i)
        if (keyword[i] == '\0' || upper(word[i]) != upper(keyword[i])) return false;
    return keyword[n] == '\0';
}

}  // namespace

const rtvar_keyword *find(const Vocabulary &v, const char *word, size_t n) {
    if (word == nullptr || n < v.min_len || n > v.max_len) return nullptr;
    const char first = v.match == Match::AnyCase ? upper(word[0]) : word[0];
    if (first < 'A' || first > 'Z') return nullptr;
    const int l = first - 'A';
    // Every keyword of the range starts with the letter of l, as the word does
    // under the vocabulary's rule: the comparison starts at the second character.
    const int end = v.index.last[l];
    if (v.match == Match::Exact) {
        for (int e = v.index.first[l]; e < end; ++e)
            if (same_exact(word, n, v.words[e].keyword, 1)) return &v.words[e];
    } else {
        for (int e = v.index.first[l]; e < end; ++e)
            if (same_folded(word, n, v.words[e].keyword, 1)) return &v.words[e];
    }
    return nullptr;
}

}  // namespace zarn::attrcat
