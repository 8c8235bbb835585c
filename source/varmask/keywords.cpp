// The SPEC-word, bound-type and connection-type lookups, the connection-type
// names by code, and the VARFILE header words: all read from the attribute
// catalogue (the physical-type names from the units catalogue).
#include <algorithm>
#include <cstring>

#include "rtuom/uomcatalog.h"
#include "varmask/varmask_internal.h"
#include "zarnutils/varattrnames.hpp"

namespace zarn::varmask {

namespace {

namespace ac = zarn::attrcat;

constexpr int kConnWordCount = rtuom::kTypeCount + ac::kConnProperty.count;
static_assert(ac::kConnProperty.written[ac::kConnProperty.count - 1].code == CONN_TYPE_COUNT - 1,
              "the last property is the last connection-type code");

rtvar_keyword g_conn_words[kConnWordCount];
uint8_t g_conn_lengths[kConnWordCount];

// The physical-type names with their codes and the property names, sorted
// by byte and indexed by first letter, under the keyword rule.
ac::Vocabulary prepare_conn_words() {
    for (int t = 0; t < rtuom::kTypeCount; ++t) g_conn_words[t] = {rtuom::kTypeNames[t], t};
    std::copy(ac::kConnProperty.written, ac::kConnProperty.written + ac::kConnProperty.count,
              g_conn_words + rtuom::kTypeCount);
    std::sort(
        g_conn_words, g_conn_words + kConnWordCount,
        [](const rtvar_keyword &a, const rtvar_keyword &b) { return std::strcmp(a.keyword, b.keyword) < 0; });
    ac::Vocabulary v{g_conn_words, g_conn_lengths, kConnWordCount, 0xFF, 0, ac::Match::Keyword, {}};
    for (int e = 0; e < kConnWordCount; ++e) {
        const char *w = g_conn_words[e].keyword;
        const size_t n = std::strlen(w);
        g_conn_lengths[e] = static_cast<uint8_t>(n);
        v.min_len = static_cast<uint8_t>(std::min<size_t>(v.min_len, n));
        v.max_len = static_cast<uint8_t>(std::max<size_t>(v.max_len, n));
        if (w[0] < 'A' || w[0] > 'Z') continue;
        const int l = w[0] - 'A';
        if (v.index.last[l] == 0) v.index.first[l] = static_cast<uint16_t>(e);
        v.index.last[l] = static_cast<uint16_t>(e + 1);
    }
    return v;
}

// Fills the names by code when the library is loaded; codes without a name are "".
bool fill_conn_type_string() {
    for (int c = 0; c < CONN_TYPE_COUNT; ++c) conn_type_string[c] = "";
    for (int t = 0; t < rtuom::kTypeCount; ++t) conn_type_string[t] = rtuom::kTypeNames[t];
    for (int p = 0; p < ac::kConnProperty.count; ++p)
        conn_type_string[ac::kConnProperty.written[p].code] = ac::kConnProperty.written[p].keyword;
    return true;
}

}  // namespace

const attrcat::Vocabulary &conn_words() {
    static const attrcat::Vocabulary words = prepare_conn_words();
    return words;
}

}  // namespace zarn::varmask

const char *conn_type_string[CONN_TYPE_COUNT];

namespace {
[[maybe_unused]] const bool g_conn_names_filled = zarn::varmask::fill_conn_type_string();
}

const rtvar_keyword *rtvar_spec_lookup(const char *word, size_t n) {
    return zarn::attrcat::find(zarn::attrcat::kSpec.accepted, word, n);
}

const rtvar_keyword *rtvar_bound_lookup(const char *word, size_t n) {
    return zarn::attrcat::find(zarn::attrcat::kBound.accepted, word, n);
}

const conn_type_keyword *conn_type_lookup(const char *word, size_t n) {
    return zarn::attrcat::find(zarn::varmask::conn_words(), word, n);
}

const char *RTVarAttributeNames::Name(int attribute) {
    return attribute >= 0 && attribute < ZARN_VARFILE_ATTRIBUTE_COUNT
               ? zarn::attrcat::kVarfile[attribute].word
               : "";
}

int RTVarAttributeNames::Value(const char *word) {
    return word != nullptr ? zarn::attrcat::code_of(zarn::attrcat::kVarfileWords, word, std::strlen(word), -1)
                           : -1;
}
