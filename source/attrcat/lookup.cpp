// The one keyword lookup of the attribute vocabularies.
#include "attrcat/attrcat.h"

namespace zarn::attrcat {

namespace {

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool same(Match match, const char *word, size_t n, const char *keyword) {
    for (size_t i = 0; i < n; ++i) {
        if (keyword[i] == '\0') return false;
        const bool equal =
            match == Match::Exact ? word[i] == keyword[i] : upper(word[i]) == upper(keyword[i]);
        if (!equal) return false;
    }
    return keyword[n] == '\0';
}

}  // namespace

const rtvar_keyword *find(const Vocabulary &v, const char *word, size_t n) {
    if (word == nullptr || n < v.min_len || n > v.max_len) return nullptr;
    const char first = v.match == Match::AnyCase ? upper(word[0]) : word[0];
    if (first < 'A' || first > 'Z') return nullptr;
    const int l = first - 'A';
    for (int e = v.index.first[l]; e < v.index.last[l]; ++e) {
        if (same(v.match, word, n, v.words[e].keyword)) return &v.words[e];
    }
    return nullptr;
}

}  // namespace zarn::attrcat
