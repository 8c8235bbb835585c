// Keyword tables: the case rule, the length bounds, every table's ends and
// some words between, and the connection-type names by code.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

#include "zarnutils/varmask.h"

namespace {

using Lookup = const rtvar_keyword *(*)(const char *, size_t);

// pairs: "word code ...", "-" where the word is not found.
void expect_codes(Lookup f, const char *pairs) {
    std::istringstream in(pairs);
    for (std::string w, code; in >> w >> code;) {
        const rtvar_keyword *k = f(w.data(), w.size());
        EXPECT_EQ(k ? std::to_string(k->code) : "-", code) << w;
    }
}

TEST(VarmaskKeywords, LookupCodesCaseAndLengths) {
    expect_codes(rtvar_spec_lookup,
                 "CALC 0 CONST 1 FIXED 1 Fixed 1 fixed - fIXED - FREE 0 INDEP 2 IndePendent 2 INITIAL 7 MEAS 3 "
                 "OPTIM 5 PARAM 4 RECON 6 RECONX - FIX - INDEPENDENTS - HARD - ZZZZ - _FIXED -");
    expect_codes(rtvar_bound_lookup, "HARD 0 RELAXED 1 Relaxed 1 SOFT 2 SOFT2 3 soft - RELAXEDX - HAR -");
    // physical types from the units catalogue, then properties
    expect_codes(conn_type_lookup,
                 "ACCELERATION 132 UNTYPED 0 TEMPERATURE 22 Temperature 22 temperature - UA 50 MOLEFL-LEN 148 "
                 "DIMENSIONLES 44 AROM-FACTOR 1001 API 1003 RON-CLEAR 1026 NPLUS2A-BY-VOL 1018 VANADIUM-BY-WT 1033 "
                 "X-PCT-EVAP 1061 LE-COMPONENT 1065 Le-Component 1065 U - NPLUS2A-BY-VOLX - RON - 2-BUTENE -");
    // The length counts, not a NUL.
    EXPECT_EQ(rtvar_spec_lookup("FIXEDLY", 5)->code * 10 + rtvar_bound_lookup("SOFT2", 4)->code, 12);
}

// Empty, null and huge lengths fail before the word is read.
TEST(VarmaskKeywords, HostileWords) {
    for (Lookup f : {rtvar_spec_lookup, rtvar_bound_lookup, conn_type_lookup}) {
        EXPECT_EQ(f(nullptr, 5), nullptr);
        EXPECT_EQ(f("FIXED", 0), nullptr);
        EXPECT_EQ(f("HARD", SIZE_MAX), nullptr);
        EXPECT_EQ(f("\xc3\x89TAT", 5), nullptr);
    }
}

// Every name by code is the word that finds its code again; the gaps are empty.
TEST(VarmaskKeywords, ConnTypeNamesByCode) {
    std::string some;
    for (int c : {0, 1, 22, 148, 149, 500, 1000, 1001, 1026, 1065}) some += std::string(conn_type_string[c]) + ",";
    EXPECT_EQ(some, "UNTYPED,AREA,TEMPERATURE,MOLEFL-LEN,,,,AROM-FACTOR,RON-CLEAR,LE-COMPONENT,");
    int named = 0;
    for (int c = 0; c < CONN_TYPE_COUNT; ++c) {
        const char *s = conn_type_string[c];
        if (*s == '\0') continue;
        const conn_type_keyword *k = conn_type_lookup(s, std::strlen(s));
        EXPECT_EQ(k ? k->code : -1, c) << s;
        ++named;
    }
    EXPECT_EQ(named, 214);
}

}  // namespace
