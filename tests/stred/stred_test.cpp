// Name rules, edits, pipe writers and number formatting of the string editors.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "capture.h"
#include "platform/xalloc.h"
#include "zarnutils/stred.h"

namespace {

// A queue pipe that the writers can be pointed at.
struct Queue {
    Queue() : pipe(create_queue_rtopipe()) {}
    ~Queue() { rtodestroy(pipe); }
    Queue(const Queue &) = delete;
    Queue &operator=(const Queue &) = delete;
    std::string text() { return zarn::test::drain(pipe); }
    rtopipe *pipe;
};

std::string fmt_max(double x, int w) {
    char buf[256];
    return fmt_numbr_max(x, w, buf);
}
std::string fmt_dec(double x, int w, int d) {
    char buf[256];
    return fmt_numbr_dec(x, w, d, buf);
}

// The name rules over a table of inputs: 1 accepted, 0 refused.
TEST(StredNames, RulesOverATable) {
    using Rule = int (*)(const char *);
    const struct {
        Rule rule;
        const char *name;
        int ok;
    } rows[] = {
        {stred_rtopt_name, "B1.X(2)", 1}, {stred_rtopt_name, "$TEMP", 1}, {stred_rtopt_name, "9A B", 1},
        {stred_rtopt_name, "b1", 0},      {stred_rtopt_name, "B1#", 0},   {stred_rtopt_name, " A", 0},
        {stred_rtopt_name, "(A", 0},      {stred_rtopt_name, "A$()*+,-./:;<=>[]_{}", 1},
        {stred_rtopt_object, "B1X(2)", 1}, {stred_rtopt_object, "B1.X", 0}, {stred_rtopt_object, "b", 0},
        {stred_valid_name, "A-B_1", 1},   {stred_valid_name, "Z", 1},     {stred_valid_name, "1A", 0},
        {stred_valid_name, "a", 0},       {stred_valid_name, "A.B", 0},
        {stred_special_id, "1ABC", 1},    {stred_special_id, "A B", 1},   {stred_special_id, "A{1}", 1},
        {stred_special_id, "A.B_C-1", 0},
        {stred_self_string, "SELF", 1},   {stred_self_string, "SELF.T", 1}, {stred_self_string, "SELF.T.X", 0},
        {stred_self_string, "SELF.", 0},  {stred_self_string, "SELFISH", 0}, {stred_self_string, "B.SELF", 0},
        {stred_IsNumeric, "0123", 1},     {stred_IsNumeric, "12a", 0},    {stred_IsNumeric, "-1", 0},
    };
    for (const auto &r : rows) EXPECT_EQ(r.rule(r.name) != 0, r.ok != 0) << r.name;
    // Exactly 56 byte values may follow the first character of a model name;
    // the forbidden printable ones are these.
    int allowed = 0;
    for (int c = 1; c < 256; ++c) {
        const char name[3] = {'A', static_cast<char>(c), '\0'};
        allowed += stred_rtopt_name(name);
        if (c > ' ' && c < 127 && std::strchr("!\"#%&'?@\\^`|~abcdefghijklmnopqrstuvwxyz", c) != nullptr) {
            EXPECT_EQ(stred_rtopt_name(name), 0) << c;
        }
    }
    EXPECT_EQ(allowed, 56);
    const char *g = "AB?C*";
    EXPECT_EQ(stred_is_glob(g), g + 2);
    EXPECT_EQ(stred_is_glob("ABC"), nullptr);
    const struct {
        const char *a, *b;
        int cmp;
    } cmps[] = {{"abc", "ABC", 0}, {"ab", "ABC", -1}, {"ABC", "ab", 1}, {"abd", "ABC", 1}, {"", "", 0}};
    for (const auto &c : cmps) EXPECT_EQ(stred_caseless_cmp(c.a, c.b), c.cmp) << c.a << " " << c.b;
}

// Block and port names: the parts, or three empty outputs.
TEST(StredNames, DissectingNames) {
    char block[1025], port[1025], attr[1025];
    const std::string longest(1024, 'B');
    const struct {
        std::string name;
        int ok;
        std::string parts;  // block|attribute
    } blocks[] = {{"A.B1.T", 1, "A.B1|T"}, {"NODOT", 0, "|"}, {".T", 0, "|"}, {"B.", 0, "|"},
                  {longest + "." + longest, 1, longest + "|" + longest}, {longest + "B.T", 0, "|"},
                  {"B." + longest + "T", 0, "|"}};
    for (const auto &r : blocks) {
        std::strcpy(block, "junk"), std::strcpy(attr, "junk");
        EXPECT_EQ(dissect_block_name(r.name.c_str(), block, attr), r.ok) << r.name.size();
        EXPECT_EQ(std::string(block) + "|" + attr, r.parts);
    }
    const struct {
        const char *name;
        int ok;
        const char *parts;  // block|port|attribute
    } ports[] = {{"B1.IN.STR.TEMP", 1, "B1|IN|TEMP"}, {"B1.IN.STR", 1, "B1|IN|"}, {"F.B1.IN.STR.P", 1, "F.B1|IN|P"},
                 {"B1.IN", 0, "||"},         {"IN.STR", 0, "||"},        {"B1..STR", 0, "||"},
                 {"B1.IN.STR.", 0, "||"},    {"B1.IN.STR.A.B", 0, "||"}, {"B1.IN.XSTR", 0, "||"}};
    for (const auto &r : ports) {
        std::strcpy(block, "junk"), std::strcpy(port, "junk"), std::strcpy(attr, "junk");
        EXPECT_EQ(dissect_port_name(r.name, block, port, attr), r.ok) << r.name;
        EXPECT_EQ(std::string(block) + "|" + port + "|" + attr, r.parts) << r.name;
    }
    char out[64];
    EXPECT_STREQ(stred_bad_spec_name("A.B.C", out), "A.B.AS__C");
    EXPECT_STREQ(stred_bad_spec_name("X", out), "AS__X");
    std::strcpy(out, "B2.Y");
    EXPECT_STREQ(stred_bad_spec_name(out, out), "B2.AS__Y") << "in place";
    const char *selfs[][3] = {{"SELF.T", "B1", "B1.T"}, {"SELF", "F.B2", "F.B2"}, {"SELFISH.T", "B1", "SELFISH.T"},
                              {"SELF.T", nullptr, "SELF.T"}};
    for (const auto &r : selfs) {
        char *t = stred_replace_self(r[0], r[1]);
        EXPECT_STREQ(t, r[2]);
        std::free(t);
    }
}

TEST(StredEdit, CaseTrimAndUnpacking) {
    char s[] = "aBz_9\xe9";
    stred_upper_case(s);
    EXPECT_STREQ(s, "ABZ_9\xe9");
    stred_lower_case(s);
    EXPECT_STREQ(s, "abz_9\xe9");

    gl_list_t *list = gl_create();
    char a[] = "one", b[] = "Two";
    gl_addtoend(list, a);
    gl_addtoend(list, b);
    stred_upper_case_list(list);
    EXPECT_STREQ(a, "ONE");
    EXPECT_STREQ(b, "TWO");
    gl_destroylist(list);

    char t[] = "AB \t\n ";
    stred_remove_trailing_blanks(t);
    EXPECT_STREQ(t, "AB");
    char all[] = "   ";
    stred_remove_trailing_blanks(all);
    EXPECT_STREQ(all, "");

    // "ABCDEFG" packed four to an 8-byte word, high halves holding junk.
    int64_t words[2];
    std::memcpy(&words[0], "ABCDxxxx", 8);
    std::memcpy(&words[1], "EFG yyyy", 8);
    char dest[16];
    stred_i4_to_string(dest, sizeof dest, words, 2);
    EXPECT_STREQ(dest, "ABCDEFG ");
    stred_i4_to_string(dest, 6, words, 2);
    EXPECT_STREQ(dest, "ABCDE") << "cut to destLen - 1";
    stred_i4_to_string(dest, 16, words, 0);
    EXPECT_STREQ(dest, "");
    double reals[2];
    std::memcpy(&reals[0], "TEMPERAT", 8);
    std::memcpy(&reals[1], "URE     ", 8);
    stred_r8_to_string(dest, sizeof dest, reals, 2);
    EXPECT_STREQ(dest, "TEMPERATURE    ") << "15 of 16 characters";
    stred_r8_to_string(dest, 9, reals, 2);
    EXPECT_STREQ(dest, "TEMPERAT");
}

TEST(StredEdit, GlobToRegexp) {
    char *r = stred_glob_to_regexp("A*B?");
    EXPECT_STREQ(r, "%^A.*B.$");
    free(r);
    r = stred_glob_to_regexp("B.*");
    EXPECT_STREQ(r, "%^B\\..*$");
    free(r);
    r = stred_glob_to_regexp("$()+.[\\]^|{x}");
    EXPECT_STREQ(r, "%^\\$\\(\\)\\+\\.\\[\\\\\\]\\^\\|{x}$");
    // The result (after its "%") matches what the glob means, and nothing else.
    hs_regexp *prog = hs_regcomp(r + 1);
    ASSERT_NE(prog, nullptr);
    EXPECT_EQ(hs_regexec(prog, "$()+.[\\]^|{x}"), 1);
    EXPECT_EQ(hs_regexec(prog, "$()+.[\\]^|{x}y"), 0);
    hs_regfree(prog);
    free(r);

    r = stred_glob_to_regexp("F*.T?");
    prog = hs_regcomp(r + 1);
    for (const char *yes : {"F.T1", "FEED.B1.TX", "F..T."}) EXPECT_EQ(hs_regexec(prog, yes), 1) << yes;
    for (const char *no : {"F.T", "XF.T1", "F_T1", "F.T12"}) EXPECT_EQ(hs_regexec(prog, no), 0) << no;
    hs_regfree(prog);
    free(r);

    r = stred_glob_to_regexp("");
    EXPECT_STREQ(r, "%^$");
    free(r);
}

TEST(StredEdit, MatchingNameList) {
    EXPECT_TRUE(stred_matching_name("ANY", nullptr));
    gl_list_t *list = gl_create();
    EXPECT_TRUE(stred_matching_name("ANY", list)) << "an empty list matches everything";
    hs_regexp *p1 = hs_regcomp("^B1\\.");
    hs_regexp *p2 = hs_regcomp("T$");
    gl_addtoend(list, p1);
    gl_addtoend(list, p2);
    EXPECT_TRUE(stred_matching_name("B1.X", list));
    EXPECT_TRUE(stred_matching_name("B2.T", list));
    EXPECT_FALSE(stred_matching_name("B2.X", list));
    gl_destroy(list, reinterpret_cast<gl_free_fn>(hs_regfree));
}

TEST(StredWrite, ColumnsAndQuoting) {
    Queue q;
    stred_write_name(q.pipe, "ABCDEF", 4);
    EXPECT_EQ(q.text(), "ABC|");
    stred_write_name(q.pipe, "ABCD", 4);
    EXPECT_EQ(q.text(), "ABCD");
    stred_write_name(q.pipe, "AB", 5);
    EXPECT_EQ(q.text(), "AB   ");
    stred_write_name(q.pipe, "AB", 1);
    EXPECT_EQ(q.text(), "|");

    stred_write_hdr(q.pipe, "ABC", 8);
    EXPECT_EQ(q.text(), "---ABC--") << "the left side takes the odd dash";
    stred_write_hdr(q.pipe, "AB", 6);
    EXPECT_EQ(q.text(), "--AB--");
    stred_write_hdr(q.pipe, "ABCDEFGH", 5);
    EXPECT_EQ(q.text(), "ABCDE");

    stred_write_dash(q.pipe, 2, 3, 1);
    EXPECT_EQ(q.text(), "  --- ");
    stred_write_dash(q.pipe, -1, 0, 2);
    EXPECT_EQ(q.text(), "  ");
    stred_write_dash(q.pipe, 0, 500, 0);
    EXPECT_EQ(q.text(), std::string(231, '-')) << "at most 231 of each";

    stred_write_id(q.pipe, "B1.T");
    EXPECT_EQ(q.text(), "B1.T");
    stred_write_id(q.pipe, "2B");
    EXPECT_EQ(q.text(), "'2B'");
    stred_write_id(q.pipe, "A,B");
    EXPECT_EQ(q.text(), "'A,B'");
}

TEST(StredReplace, InPlaceWithinMaxLength) {
    hs_regexp *ab = hs_regcomp("ab");
    char s[32] = "xabyab";
    EXPECT_EQ(stred_replace_regexp(s, 31, ab, "AB"), 2);
    EXPECT_STREQ(s, "xAByAB");

    // The replacement is literal and the search goes on after it.
    hs_regexp *a = hs_regcomp("a");
    std::strcpy(s, "aaa");
    EXPECT_EQ(stred_replace_regexp(s, 31, a, "&a\\0"), 3);
    EXPECT_STREQ(s, "&a\\0&a\\0&a\\0");

    // Growing past maxLen cuts the tail first, then the replacement.
    std::strcpy(s, "ab123");
    EXPECT_EQ(stred_replace_regexp(s, 6, ab, "WXYZ"), 1);
    EXPECT_STREQ(s, "WXYZ12");
    std::strcpy(s, "1ab23");
    EXPECT_EQ(stred_replace_regexp(s, 5, ab, "WXYZ"), 1);
    EXPECT_STREQ(s, "1WXYZ");
    std::strcpy(s, "12ab3");
    EXPECT_EQ(stred_replace_regexp(s, 5, ab, "WXYZ"), 1);
    EXPECT_STREQ(s, "12WXY");
    std::strcpy(s, "abab");
    EXPECT_EQ(stred_replace_regexp(s, 4, ab, "ZZZ"), 1);
    EXPECT_STREQ(s, "ZZZa") << "the cut tail no longer holds a match";

    // Empty matches: one per gap, none right behind a replaced match.
    hs_regexp *bs = hs_regcomp("b*");
    std::strcpy(s, "abc");
    EXPECT_EQ(stred_replace_regexp(s, 31, bs, "-"), 3);
    EXPECT_STREQ(s, "-a-c-");
    std::strcpy(s, "");
    EXPECT_EQ(stred_replace_regexp(s, 31, bs, "<>"), 1);
    EXPECT_STREQ(s, "<>");
    std::strcpy(s, "xyz");
    EXPECT_EQ(stred_replace_regexp(s, 31, bs, ""), 4) << "empty by empty must still end";
    EXPECT_STREQ(s, "xyz");

    // "^" anchors at the real start only, even after a replacement.
    hs_regexp *anch = hs_regcomp("^a");
    std::strcpy(s, "aaa");
    EXPECT_EQ(stred_replace_regexp(s, 31, anch, ""), 1);
    EXPECT_STREQ(s, "aa");
    hs_regexp *grouped = hs_regcomp("(^a)");  // "^" inside the program, not a hint
    std::strcpy(s, "aaa");
    EXPECT_EQ(stred_replace_regexp(s, 31, grouped, ""), 1);
    EXPECT_STREQ(s, "aa");
    hs_regfree(grouped);
    hs_regexp *word = hs_regcomp("\\<x");
    std::strcpy(s, "xx x");
    EXPECT_EQ(stred_replace_regexp(s, 31, word, "y"), 2);
    EXPECT_STREQ(s, "yx y");

    // Bad input leaves the text as it was and says why, under the module's source name.
    zarn::test::StderrCapture err;
    std::strcpy(s, "abcabc");
    EXPECT_EQ(stred_replace_regexp(s, 5, ab, "Q"), 0);
    EXPECT_STREQ(s, "abcabc");
    EXPECT_EQ(err.text().rfind("Assertion 'stred_replace_regexp: str is longer than maxlength' failed in "
                               "source/stred/stred:", 0), 0u);

    // Pairs of lists, applied in order.
    gl_list_t *progs = gl_create();
    gl_list_t *reps = gl_create();
    gl_addtoend(progs, ab);
    gl_addtoend(progs, a);
    char r1[] = "a", r2[] = "b";
    gl_addtoend(reps, r1);
    gl_addtoend(reps, r2);
    std::strcpy(s, "abab");
    EXPECT_EQ(stred_replace_regexps(s, 31, progs, reps), 4);
    EXPECT_STREQ(s, "bb") << "ab->a, then a->b";
    gl_destroylist(progs);
    gl_destroylist(reps);

    for (hs_regexp *p : {ab, a, bs, anch, word}) hs_regfree(p);
}

TEST(StredNumbers, FormatMax) {
    EXPECT_EQ(fmt_max(0.0, 8), " 0.0");
    EXPECT_EQ(fmt_max(-0.0, 3), " 0.0");
    EXPECT_EQ(fmt_max(3.14159, 10), "3.14159");
    EXPECT_EQ(fmt_max(100.0, 8), "100.") << "a point is always shown";
    EXPECT_EQ(fmt_max(-2.5, 4), "-2.5");
    EXPECT_EQ(fmt_max(1.0 / 3.0, 6), "0.3333");
    EXPECT_EQ(fmt_max(123456.0, 6), "1.23e5") << "123456. needs 7";
    EXPECT_EQ(fmt_max(1e-5, 8), "1.000e-5") << "zeros fill the column before the exponent";
    EXPECT_EQ(fmt_max(123456789012.0, 8), "1.235e11");
    EXPECT_EQ(fmt_max(-123456789012.0, 8), "-1.23e11") << "the sign takes one place";
    EXPECT_EQ(fmt_max(1.5e20, 10), "1.50000e20");
    EXPECT_EQ(fmt_max(1e20, 3), "1.e20") << "nothing fits: the one-digit form";
    EXPECT_EQ(fmt_max(2.5e-300, 9), "2.50e-300");
    // Wide columns get the real digits of the "%g" text, not zeros in their
    // place: 115 digits, the point and "e-41" fill 120 characters.
    char wide[1024];
    char ref[1024];
    std::snprintf(ref, sizeof ref, "%.115g", 1e-40);
    std::string expect(ref);
    expect.replace(expect.find("e-"), std::string::npos, "e-41");
    EXPECT_EQ(std::string(fmt_numbr_max(1e-40, 120, wide)), expect);
    std::snprintf(ref, sizeof ref, "-%.124g", 1.0 / 3e30);
    expect = ref;
    expect.replace(expect.find("e-"), std::string::npos, "e-31");
    EXPECT_EQ(std::string(fmt_numbr_max(-1.0 / 3e30, 130, wide)), expect);
    EXPECT_EQ(std::string(fmt_numbr_max(0.1, 900, wide)), "0.1000000000000000055511151231257827021181583404541015625")
        << "every digit of the double, no more";
    for (int w = 8; w <= 24; ++w) {
        for (double x : {1.0 / 7.0, -98765.4321, 6.02214076e23, -1.602e-19, 42.0}) {
            std::string t = fmt_max(x, w);
            EXPECT_LE(t.size(), static_cast<std::size_t>(w)) << x << " in " << w;
            EXPECT_NE(t.find('.'), std::string::npos) << t;
            // The text reads back to x within the precision it shows.
            std::string plain = t;
            double back = std::strtod(plain.c_str(), nullptr);
            EXPECT_NEAR(back, x, std::abs(x) * 0.5) << t;
        }
    }
}

TEST(StredNumbers, FormatDecimals) {
    EXPECT_EQ(fmt_dec(3.14159, 10, 2), "3.14");
    EXPECT_EQ(fmt_dec(0.001, 10, 2), "0.001") << "below the threshold for 2 decimals";
    EXPECT_EQ(fmt_dec(0.0, 10, 2), "0.0 ") << "padded to d + 2";
    EXPECT_EQ(fmt_dec(0.0, 4, 2), " 0.0") << "d + 3 > w gives d = 0";
    EXPECT_EQ(fmt_dec(-12.5, 5, 2), "-12.5") << "-12.50 does not fit";
    EXPECT_EQ(fmt_dec(-12.5, 6, 2), "-12.50");
    EXPECT_EQ(fmt_dec(0.25, 10, 3), "0.250");
    EXPECT_EQ(fmt_dec(0.05, 10, 3), "0.05");
    EXPECT_EQ(fmt_dec(0.05, 10, 5), "0.05000");
    EXPECT_EQ(fmt_dec(0.005, 10, 5), "0.005");
    EXPECT_EQ(fmt_dec(9999999999.0, 14, 2), "9999999999.00");
    EXPECT_EQ(fmt_dec(2e10, 20, 2), "20000000000.");
    EXPECT_EQ(fmt_dec(7.0, 10, 0), "7.");

    Queue q;
    wrt_numbr_max(q.pipe, 2.5, 8);
    EXPECT_EQ(q.text(), "     2.5");
    wrt_numbr_dec(q.pipe, 3.14159, 8, 3);
    EXPECT_EQ(q.text(), "   3.142");
    wrt_numbr_dec(q.pipe, 0.0, 8, 2);
    EXPECT_EQ(q.text(), "    0.0 ");
}

}  // namespace

// The editors' allocations, failed in turn: NULL results and untouched fields.
TEST(StredEdit, AllocationFailures) {
    Queue q;
    char field[12];
    std::memcpy(field, "ABC         ", 12);
    const std::function<bool()> rows[] = {
        [] { return stred_glob_to_regexp("A*") == nullptr; },
        [] { return stred_replace_self("SELF.X", "B1") == nullptr; },
        [] { return stred_replace_self("X", "B1") == nullptr; },
        [&] { return STRED_REPLACE_REGEXP_F(field, "B", "Z", 12, 1, 1) == 0; },
        [&] {
            wrt_numbr_max(q.pipe, 1.5, 300);  // wider than the stack buffer
            return q.text().empty();
        },
    };
    for (const auto &row : rows) {
        zarn::failalloc_set(1);
        EXPECT_TRUE(row());
        zarn::failalloc_set(0);
    }
    EXPECT_EQ(std::string(field, 12), "ABC         ");
    for (long k = 1; k <= 3; ++k) {  // the iterator, its name, its variant
        zarn::failalloc_set(k);
        EXPECT_EQ(rtocase_existing("a.txt"), nullptr) << k;
    }
    zarn::failalloc_set(0);
}
