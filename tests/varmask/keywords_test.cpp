// Keyword tables: the case rule, the length bounds, every table's ends and
// some words between, and the connection-type names by code.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "zarnutils/varmask.h"

namespace {

using Lookup = const rtvar_keyword *(*)(const char *, size_t);

struct WordRow {
    const char *table;
    Lookup lookup;
    const char *word;
    size_t n;      // 0: strlen(word)
    int expected;  // -1: not found
};

int found(const WordRow &r) {
    const rtvar_keyword *k = r.lookup(r.word, r.n ? r.n : std::strlen(r.word));
    return k ? k->code : -1;
}

TEST(VarmaskKeywords, LookupCodesCaseAndLengths) {
    const WordRow rows[] = {
        // specification: every word; the first letter decides, the rest may be any case
        {"spec", rtvar_spec_lookup, "CALC", 0, 0},
        {"spec", rtvar_spec_lookup, "CONST", 0, 1},
        {"spec", rtvar_spec_lookup, "FIXED", 0, 1},
        {"spec", rtvar_spec_lookup, "Fixed", 0, 1},
        {"spec", rtvar_spec_lookup, "fixed", 0, -1},
        {"spec", rtvar_spec_lookup, "fIXED", 0, -1},
        {"spec", rtvar_spec_lookup, "FREE", 0, 0},
        {"spec", rtvar_spec_lookup, "INDEP", 0, 2},
        {"spec", rtvar_spec_lookup, "IndePendent", 0, 2},
        {"spec", rtvar_spec_lookup, "INITIAL", 0, 7},
        {"spec", rtvar_spec_lookup, "MEAS", 0, 3},
        {"spec", rtvar_spec_lookup, "OPTIM", 0, 5},
        {"spec", rtvar_spec_lookup, "PARAM", 0, 4},
        {"spec", rtvar_spec_lookup, "RECON", 0, 6},
        {"spec", rtvar_spec_lookup, "RECONX", 0, -1},
        {"spec", rtvar_spec_lookup, "FIXEDLY", 5, 1},  // the length counts, not a NUL
        {"spec", rtvar_spec_lookup, "FIX", 0, -1},
        {"spec", rtvar_spec_lookup, "INDEPENDENTS", 0, -1},
        {"spec", rtvar_spec_lookup, "HARD", 0, -1},     // another table's word
        {"spec", rtvar_spec_lookup, "ZZZZ", 0, -1},     // a letter without words
        {"spec", rtvar_spec_lookup, "_FIXED", 0, -1},
        // bound type
        {"bound", rtvar_bound_lookup, "HARD", 0, 0},
        {"bound", rtvar_bound_lookup, "RELAXED", 0, 1},
        {"bound", rtvar_bound_lookup, "Relaxed", 0, 1},
        {"bound", rtvar_bound_lookup, "SOFT", 0, 2},
        {"bound", rtvar_bound_lookup, "SOFT2", 0, 3},
        {"bound", rtvar_bound_lookup, "SOFT2", 4, 2},
        {"bound", rtvar_bound_lookup, "soft", 0, -1},
        {"bound", rtvar_bound_lookup, "RELAXEDX", 0, -1},
        {"bound", rtvar_bound_lookup, "HAR", 0, -1},
        // connection type: physical types (from the units catalogue) and properties
        {"conn", conn_type_lookup, "ACCELERATION", 0, 132},
        {"conn", conn_type_lookup, "UNTYPED", 0, 0},
        {"conn", conn_type_lookup, "TEMPERATURE", 0, 22},
        {"conn", conn_type_lookup, "Temperature", 0, 22},
        {"conn", conn_type_lookup, "temperature", 0, -1},
        {"conn", conn_type_lookup, "UA", 0, 50},
        {"conn", conn_type_lookup, "MOLEFL-LEN", 0, 148},
        {"conn", conn_type_lookup, "DIMENSIONLES", 0, 44},
        {"conn", conn_type_lookup, "AROM-FACTOR", 0, 1001},
        {"conn", conn_type_lookup, "API", 0, 1003},
        {"conn", conn_type_lookup, "RON-CLEAR", 0, 1026},
        {"conn", conn_type_lookup, "NPLUS2A-BY-VOL", 0, 1018},
        {"conn", conn_type_lookup, "VANADIUM-BY-WT", 0, 1033},
        {"conn", conn_type_lookup, "X-PCT-EVAP", 0, 1061},
        {"conn", conn_type_lookup, "LE-COMPONENT", 0, 1065},
        {"conn", conn_type_lookup, "Le-Component", 0, 1065},
        {"conn", conn_type_lookup, "U", 0, -1},
        {"conn", conn_type_lookup, "NPLUS2A-BY-VOLX", 0, -1},
        {"conn", conn_type_lookup, "RON", 0, -1},
        {"conn", conn_type_lookup, "2-BUTENE", 0, -1},
    };
    for (const WordRow &r : rows) EXPECT_EQ(found(r), r.expected) << r.table << " " << r.word << " n=" << r.n;
}

// Empty, null and huge lengths fail before the word is read.
TEST(VarmaskKeywords, HostileWords) {
    for (Lookup f : {rtvar_spec_lookup, rtvar_bound_lookup, static_cast<Lookup>(conn_type_lookup)}) {
        EXPECT_EQ(f(nullptr, 5), nullptr);
        EXPECT_EQ(f("", 0), nullptr);
        EXPECT_EQ(f("FIXED", 0), nullptr);
        EXPECT_EQ(f("HARD", SIZE_MAX), nullptr);
        EXPECT_EQ(f("\xc3\x89TAT", 5), nullptr);
    }
}

// Every name by code is the word that finds its code again; the gaps are empty.
TEST(VarmaskKeywords, ConnTypeNamesByCode) {
    const struct {
        int code;
        const char *name;
    } rows[] = {{0, "UNTYPED"},       {1, "AREA"},      {22, "TEMPERATURE"}, {148, "MOLEFL-LEN"},
                {149, ""},            {500, ""},        {1000, ""},          {1001, "AROM-FACTOR"},
                {1026, "RON-CLEAR"},  {1064, "ISO-IN-C4MIX"}, {1065, "LE-COMPONENT"}};
    for (const auto &r : rows) EXPECT_STREQ(conn_type_string[r.code], r.name) << r.code;
    int named = 0;
    for (int c = 0; c < CONN_TYPE_COUNT; ++c) {
        const char *s = conn_type_string[c];
        ASSERT_NE(s, nullptr) << c;
        if (*s == '\0') continue;
        ++named;
        const conn_type_keyword *k = conn_type_lookup(s, std::strlen(s));
        ASSERT_NE(k, nullptr) << s;
        EXPECT_EQ(k->code, c) << s;
    }
    EXPECT_EQ(named, 214);
}

}  // namespace
