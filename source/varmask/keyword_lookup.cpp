// The lookup shared by every keyword table of the variable vocabularies.
#include "varmask/varmask_internal.h"

namespace zarn::varmask {

namespace {

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool same_ignoring_case(const char *word, std::size_t n, const char *keyword) {
    for (std::size_t i = 0; i < n; ++i) {
        if (keyword[i] == '\0' || upper(word[i]) != upper(keyword[i])) return false;
    }
    return keyword[n] == '\0';
}

}  // namespace

LetterIndex build_index(const rtvar_keyword *entries, int count) {
    LetterIndex index{};
    for (int e = 0; e < count; ++e) {
        char c = entries[e].keyword[0];
        if (c < 'A' || c > 'Z') continue;
        int l = c - 'A';
        if (index.last[l] == 0) index.first[l] = e;
        index.last[l] = e + 1;
    }
    return index;
}

const rtvar_keyword *lookup(const KeywordTable &table, const char *word, std::size_t n) {
    if (!word || n == 0 || n < table.min_len || n > table.max_len) return nullptr;
    if (word[0] < 'A' || word[0] > 'Z') return nullptr;
    const LetterIndex &index = table.index();
    int l = word[0] - 'A';
    for (int e = index.first[l]; e < index.last[l]; ++e) {
        if (same_ignoring_case(word, n, table.entries[e].keyword)) return &table.entries[e];
    }
    return nullptr;
}

}  // namespace zarn::varmask
