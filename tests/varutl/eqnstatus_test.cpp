// Equation status word: fields, pre-connections and the residual norm.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>

#include "capture.h"
#include "zarnutils/varutl.h"

namespace {
const int64_t kBackgrounds[] = {0, 0x7FFFFF, 0x2AAAAA, 0x555555};
}  // namespace

TEST(EqnStatusWord, InclusionMathTypeAndFlags) {
    zarn::test::HistoryCapture his;
    for (int64_t bg : kBackgrounds) {
        int64_t w = bg;
        u3uncr_c(&w);
        EXPECT_EQ(u3rinc_c(static_cast<int32_t>(w)), 0);
        EXPECT_EQ(w, bg | 1);
        u3incr_c(&w);
        EXPECT_EQ(u3rinc_c(static_cast<int32_t>(w)), 1);
        EXPECT_EQ(w, bg & ~int64_t{1});

        for (int32_t mt = 0; mt <= 5; ++mt) {
            w = bg;
            u3rpmt_c(&w, mt);
            EXPECT_EQ(u3rgmt_c(static_cast<int32_t>(w)), mt);
            EXPECT_EQ(w & ~int64_t{0xE}, bg & ~int64_t{0xE});
        }
        struct {
            int64_t bit;
            void (*set)(int64_t *, int32_t);
            int32_t (*get)(int32_t);
        } const flags[] = {{0x400000, u3rpln_c, u3rgln_c}, {0x100000, u3rptf_c, u3rgtf_c}, {0x200000, u3rppf_c, u3rgpf_c}};
        for (const auto &f : flags) {
            w = bg;
            f.set(&w, -7);
            EXPECT_EQ(f.get(static_cast<int32_t>(w)), 1);
            EXPECT_EQ(w, bg | f.bit);
            f.set(&w, 0);
            EXPECT_EQ(f.get(static_cast<int32_t>(w)), 0);
            EXPECT_EQ(w, bg & ~f.bit);
        }
    }
    EXPECT_EQ(his.text(), "");
    int64_t w = 0x2AAAAA;
    u3rpmt_c(&w, 6);
    u3rpmt_c(&w, -1);
    EXPECT_EQ(his.text(),
              "!! u3rpmt_c: math type is out of range. 6\n"
              "!! u3rpmt_c: math type is out of range. -1\n");
    EXPECT_EQ(w, 0x2AAAAA);
}

TEST(EqnStatusWord, Sign) {
    for (int64_t bg : kBackgrounds) {
        int64_t w = bg;
        u3rpsn_c(&w, -0.5);
        EXPECT_EQ(u3rgsn_c(static_cast<int32_t>(w)), -1.0);
        EXPECT_EQ(w & ~int64_t{0x30}, bg & ~int64_t{0x30});
        u3rpsn_c(&w, 1e-300);
        EXPECT_EQ(u3rgsn_c(static_cast<int32_t>(w)), 1.0);
        u3rpsn_c(&w, 0.0);
        EXPECT_EQ(u3rgsn_c(static_cast<int32_t>(w)), 0.0);
        EXPECT_EQ(w, bg & ~int64_t{0x30});
        u3rpsn_c(&w, -0.0);
        EXPECT_EQ(u3rgsn_c(static_cast<int32_t>(w)), 0.0);
    }
    EXPECT_EQ(u3rgsn_c(0x30), 0.0);  // field value 3 reads as none
}

TEST(EqnStatusWord, PreconnectionsRoundTripIndependently) {
    // Never set: spec -1, state 0.
    int64_t spec = 99, conn = 99;
    u3r_get_precon1_c(0, &spec, &conn);
    EXPECT_EQ(spec, -1);
    EXPECT_EQ(conn, 0);
    u3r_get_precon2_c(0x1, &spec, &conn);
    EXPECT_EQ(spec, -1);
    EXPECT_EQ(conn, 0);

    const int64_t mask1 = 0x3C0 | 0x1C000, mask2 = 0x3C00 | 0xE0000;
    for (int64_t bg : kBackgrounds) {
        for (int32_t s1 = 0; s1 <= 7; ++s1) {
            for (int32_t c1 = 0; c1 <= 4; ++c1) {
                int64_t w = bg;
                u3r_set_precon1_c(&w, s1, c1);
                ASSERT_EQ(w & ~mask1, bg & ~mask1);
                // The second pair, written after, must not disturb the first.
                const int32_t s2 = 7 - s1, c2 = 4 - c1;
                u3r_set_precon2_c(&w, s2, c2);
                ASSERT_EQ(w & ~(mask1 | mask2), bg & ~(mask1 | mask2));
                u3r_get_precon1_c(static_cast<int32_t>(w), &spec, &conn);
                ASSERT_EQ(spec, s1);
                ASSERT_EQ(conn, c1);
                u3r_get_precon2_c(static_cast<int32_t>(w), &spec, &conn);
                ASSERT_EQ(spec, s2);
                ASSERT_EQ(conn, c2);
            }
        }
    }
    // The documented positions: spec + 1 in bits 6-9, state in bits 14-16.
    int64_t w = 0;
    u3r_set_precon1_c(&w, 0, 4);
    EXPECT_EQ(w, (1 << 6) | (4 << 14));
    w = 0;
    u3r_set_precon2_c(&w, 7, 1);
    EXPECT_EQ(w, (8 << 10) | (1 << 17));
    EXPECT_EQ(w & ~mask2, 0);
}

// One past each end of both ranges: every failed check prints its line, the word stays.
TEST(EqnStatusWord, PreconnectionRangeChecksPrintAssertionsAndKeepTheWord) {
    zarn::test::StderrCapture err;
    int64_t w = 0x2AAAAA;
    u3r_set_precon1_c(&w, -1, 5);
    u3r_set_precon2_c(&w, 8, -1);
    EXPECT_EQ(w, 0x2AAAAA);
    const std::regex line_number(":[0-9]+\n");
    EXPECT_EQ(std::regex_replace(err.text(), line_number, "\n"),
              "Assertion 'u3r_set_precon1: spec < VAR_CALC' failed in source/varutl/u3relutl\n"
              "Assertion 'u3r_set_precon1: connected > VAR_CONNECTED_PARAM' failed in source/varutl/u3relutl\n"
              "Assertion 'u3r_set_precon2: spec > VAR_INITIAL' failed in source/varutl/u3relutl\n"
              "Assertion 'u3r_set_precon2: connected < VAR_NOT_CONNECTED' failed in source/varutl/u3relutl\n");
}

TEST(EqnStatusWord, ResidualNormCountsIncludedEqualitiesOnly) {
    double resid[6] = {3, 4, 100, 100, 100, 12};
    int64_t words[6] = {0, 0, 0, 0, 0, 0};
    u3uncr_c(&words[2]);             // excluded equality
    u3rpmt_c(&words[3], EQN_LEQ);    // included inequality
    u3rpmt_c(&words[4], EQN_OBJ_FUNC);
    u3rpsn_c(&words[5], -1.0);       // sign and flags do not matter
    u3rpln_c(&words[5], 1);
    u3r_set_precon1_c(&words[5], 3, 2);
    EXPECT_DOUBLE_EQ(u3rmserr_c(6, resid, words), 13.0);
    EXPECT_DOUBLE_EQ(u3rmserr_c(2, resid, words), 5.0);
    EXPECT_EQ(u3rmserr_c(0, resid, words), 0.0);
    EXPECT_EQ(u3rmserr_c(-4, resid, words), 0.0);
    EXPECT_EQ(u3rmserr_c(3, nullptr, words), 0.0);
}
