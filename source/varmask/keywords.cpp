// The specification, bound-type and connection-type keyword tables, and the
// connection-type names by code.
#include <algorithm>
#include <cstring>

#include "rtuom/uomcatalog.h"
#include "varmask/varmask_internal.h"

namespace zarn::varmask {

namespace {

const rtvar_keyword kSpecWords[] = {
    {"CALC", 0},  {"CONST", 1}, {"FIXED", 1},   {"FREE", 0},  {"INDEP", 2},  {"INDEPENDENT", 2},
    {"INITIAL", 7}, {"MEAS", 3}, {"OPTIM", 5}, {"PARAM", 4}, {"RECON", 6},
};

const rtvar_keyword kBoundWords[] = {{"HARD", 0}, {"RELAXED", 1}, {"SOFT", 2}, {"SOFT2", 3}};

// The property names, in the order of their codes from kFirstProperty.
constexpr int kFirstProperty = 1001;
const char *const kPropertyNames[] = {
    "AROM-FACTOR",    "ANILINE-PT",     "API",           "AROM-BY-VOL",   "BASIC-N2-CONT",
    "BENZ-BY-VOL",    "CON-11",         "CON-CLEAR",     "CONRAD-CARBON", "CETANE-IDX",
    "DON-11",         "DON-CLEAR",      "EX-BENZ-EMISS", "WATSON-K",      "LUMIN-NO",
    "MON-11",         "MON-CLEAR",      "NPLUS2A-BY-VOL", "NAPH-VOL-PCT", "NOX-EMISS",
    "OLEF-VOL-PCT",   "O2-WT-PCT",      "POUR-PT",       "POUR-PT-IDX",   "RON-11",
    "RON-CLEAR",      "RVP-IDX",        "REID-VAP-PRES", "SP-GRAVITY",    "SP-VOLUME",
    "SULF-WT-PCT",    "TOXIC-EMISS",    "VANADIUM-BY-WT", "VISCO-INDEX",  "VOC-EMISS",
    "AROM-BY-WT",     "ASPHALT-CONT",   "C5-BY-WT",      "CLOUD-PT",      "COPPER-CONT",
    "IRON-CONT",      "D2887-X-PCT",    "D86-X-PCT",     "DRIVE-IDX",     "FLASH-PT",
    "FREEZE-PT",      "NPLUSA-BY-VOL",  "NAPH-WT-PCT",   "NICKEL-CONT",   "N2-CONT",
    "OLEF-WT-PCT",    "PARAF-VOL-PCT",  "PARAF-WT-PCT",  "REFRACT-INDEX", "SMOKE-PT",
    "SODIUM-CONT",    "STD-LIQ-DEN",    "SULFUR-MCAP-WT", "TBP-X-PCT",    "WAX-CONT",
    "X-PCT-EVAP",     "UNSAT-IN-C3MIX", "UNSAT-IN-C4MIX", "ISO-IN-C4MIX", "LE-COMPONENT",
};
constexpr int kPropertyCount = sizeof kPropertyNames / sizeof kPropertyNames[0];
static_assert(kFirstProperty + kPropertyCount == CONN_TYPE_COUNT, "the last property is the last code");

constexpr int kConnWordCount = rtuom::kTypeCount + kPropertyCount;
rtvar_keyword g_conn_words[kConnWordCount];

// The physical-type names come from the units catalogue; the table is sorted
// once, before its letter index is built.
LetterIndex prepare_conn_words() {
    for (int t = 0; t < rtuom::kTypeCount; ++t) g_conn_words[t] = {rtuom::kTypeNames[t], t};
    for (int p = 0; p < kPropertyCount; ++p)
        g_conn_words[rtuom::kTypeCount + p] = {kPropertyNames[p], kFirstProperty + p};
    std::sort(g_conn_words, g_conn_words + kConnWordCount,
              [](const rtvar_keyword &a, const rtvar_keyword &b) { return std::strcmp(a.keyword, b.keyword) < 0; });
    return build_index(g_conn_words, kConnWordCount);
}

const LetterIndex &spec_index() {
    static const LetterIndex index = build_index(kSpecWords, 11);
    return index;
}
const LetterIndex &bound_index() {
    static const LetterIndex index = build_index(kBoundWords, 4);
    return index;
}
const LetterIndex &conn_index() {
    static const LetterIndex index = prepare_conn_words();
    return index;
}

const KeywordTable g_spec{kSpecWords, 11, 4, 11, spec_index};
const KeywordTable g_bound{kBoundWords, 4, 4, 7, bound_index};
const KeywordTable g_conn{g_conn_words, kConnWordCount, 2, 14, conn_index};

// Fills the names by code when the library is loaded; codes without a name are "".
bool fill_conn_type_string() {
    for (int c = 0; c < CONN_TYPE_COUNT; ++c) conn_type_string[c] = "";
    for (int t = 0; t < rtuom::kTypeCount; ++t) conn_type_string[t] = rtuom::kTypeNames[t];
    for (int p = 0; p < kPropertyCount; ++p) conn_type_string[kFirstProperty + p] = kPropertyNames[p];
    return true;
}

}  // namespace

}  // namespace zarn::varmask

const char *conn_type_string[CONN_TYPE_COUNT];

namespace {
[[maybe_unused]] const bool g_conn_names_filled = zarn::varmask::fill_conn_type_string();
}

const rtvar_keyword *rtvar_spec_lookup(const char *word, size_t n) {
    return zarn::varmask::lookup(zarn::varmask::g_spec, word, n);
}

const rtvar_keyword *rtvar_bound_lookup(const char *word, size_t n) {
    return zarn::varmask::lookup(zarn::varmask::g_bound, word, n);
}

const conn_type_keyword *conn_type_lookup(const char *word, size_t n) {
    return zarn::varmask::lookup(zarn::varmask::g_conn, word, n);
}
