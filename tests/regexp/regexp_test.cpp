// Compiler, matcher, substitution, copies and the re_comp pair of the regular-expression engine.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/xalloc.h"
#include "regexp/regexp_internal.h"
#include "zarnutils/hsregexp.h"

namespace {

using Prog = std::unique_ptr<hs_regexp, void (*)(hs_regexp *)>;
Prog comp(const std::string &p) { return Prog(hs_regcomp(p.c_str()), hs_regfree); }
std::vector<int> bytes(const hs_regexp *p) {
    const uint8_t *b = zarn::regexp::program_of(p);
    return std::vector<int>(b, b + zarn::regexp::program_length(b, 32767));
}
// "-" for no match, else the groups from 0 joined by "|", "~" for an unset one, trailing unset ones left out.
std::string groups(const hs_regexp *p, int matched) {
    if (matched == 0) return "-";
    std::string out;
    for (int i = 0; i < HS_NSUBEXP; ++i)
        out += (i ? "|" : "") + (p->startp[i] ? std::string(p->startp[i], p->endp[i]) : "~");
    while (out.size() >= 2 && out.compare(out.size() - 2, 2, "|~") == 0) out.resize(out.size() - 2);
    return out;
}
// The compile error text for a pattern, "" when it compiles.
std::string compile_error(const std::string &pattern) { return comp(pattern) ? "" : hs_get_regerr(); }

TEST(RegexpProgram, ExactBytesAndHints) {
    // Magic, then nodes: opcode, big-endian next offset, operand.
    const struct {
        const char *pattern;
        std::vector<int> bytes;
    } rows[] = {
        {"a", {156, 6, 0, 8, 8, 0, 5, 'a', 0, 0, 0, 0}},
        {"a|b", {156, 6, 0, 8, 8, 0, 13, 'a', 0, 6, 0, 8, 8, 0, 5, 'b', 0, 0, 0, 0}},
        {"ab*", {156, 6, 0, 16, 8, 0, 5, 'a', 0, 10, 0, 8, 8, 0, 0, 'b', 0, 0, 0, 0}},
        {"(a)*", {156, 6,  0, 29, 6, 0, 20, 21, 0, 3, 6, 0, 8, 8, 0, 5, 'a',
                  0,   31, 0, 3,  7, 0, 17, 6,  0, 3, 9, 0, 3, 0, 0, 0}},
        {"[a-c]", {156, 6, 0, 10, 4, 0, 7, 'a', 'b', 'c', 0, 0, 0, 0}},
        {"^a.*b$",
         {156, 6, 0, 25, 1, 0, 3, 8, 0, 5, 'a', 0, 10, 0, 6, 3, 0, 0, 8, 0, 5, 'b', 0, 2, 0, 3, 0, 0, 0}},
        {"\\<x+\\>", {156, 6, 0, 17, 12, 0, 3, 11, 0, 8, 8, 0, 0, 'x', 0, 13, 0, 3, 0, 0, 0}},
    };
    for (const auto &r : rows) EXPECT_EQ(bytes(comp(r.pattern).get()), r.bytes) << r.pattern;
    // regstart, reganch and regmust: the longest literal after a leading repeat, the later of equals.
    const struct {
        const char *pattern;
        int start, anch;
        const char *must;
    } hints[] = {
        {"abc|x", 0, 0, nullptr},     {"abc.d", 'a', 0, nullptr}, {"^ab", 0, 1, nullptr},
        {"x*ab*cd.efg", 0, 0, "efg"}, {"a?bc.de", 0, 0, "de"},    {"(a*b)cde", 0, 0, "cde"},
    };
    for (const auto &h : hints) {
        Prog p = comp(h.pattern);
        EXPECT_EQ(p->regstart, h.start) << h.pattern;
        EXPECT_EQ(p->reganch != 0, h.anch != 0) << h.pattern;
        EXPECT_EQ(p->regmust ? std::string(p->regmust, p->regmlen) : "~", h.must ? h.must : "~") << h.pattern;
    }
    // A copy owns its program: regmust points into it and it outlives the original.
    hs_regexp *orig = hs_regcomp("x*(ab)cde");
    ASSERT_EQ(hs_regexec(orig, "zzabcde"), 1);
    hs_regexp *copy = hs_regcopy(orig);
    EXPECT_EQ(bytes(copy), bytes(orig));
    EXPECT_NE(copy->regmust, orig->regmust);
    EXPECT_EQ(copy->startp[0], nullptr);
    hs_regfree(orig);
    EXPECT_STREQ(copy->regmust, "cde");
    EXPECT_EQ(hs_regexec(copy, "abcdf"), 0);
    EXPECT_EQ(groups(copy, hs_regexec(copy, "abcde")), "abcde|ab");
    hs_regfree(copy);
}

TEST(RegexpCompile, EveryErrorText) {
    EXPECT_EQ(hs_regcomp(nullptr), nullptr);
    EXPECT_STREQ(hs_get_regerr(), "NULL argument");
    const struct {
        std::string pattern;
        const char *error;
    } rows[] = {
        {"(a)(b)(c)(d)(e)(f)(g)(h)(i)", ""},
        {"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", "too many ()"},
        {"((((((((((a))))))))))", "too many ()"},
        {"(a", "unmatched ()"},
        {"a)", "unmatched ()"},
        {"(a|b))", "unmatched ()"},
        {"a**", "nested *?+"},
        {"a+?", "nested *?+"},
        {"(a*)*", "*+ operand could be empty"},
        {"(a|)+", "*+ operand could be empty"},
        {"^*", "*+ operand could be empty"},
        {"^((a|b)*(b|a)*)+c", "*+ operand could be empty"},
        {"(a*)?", ""},
        {"*a", "?+* follows nothing"},
        {"a|+b", "?+* follows nothing"},
        {"(?a)", "?+* follows nothing"},
        {"[z-a]", "invalid [] range"},
        {"[a-a]", ""},
        {"[abc", "unmatched []"},
        {"[]", "unmatched []"},
        {"[^", "unmatched []"},
        {"a\\", "trailing \\"},
        {std::string(32755, 'q'), ""},
        {std::string(32756, 'q'), "hs_regexp too big"},  // a run of n takes n + 11 bytes
    };
    for (const auto &r : rows) EXPECT_EQ(compile_error(r.pattern), r.error) << r.pattern.substr(0, 40);
    EXPECT_STREQ(hs_get_regerr(), "hs_regexp too big") << "a later success leaves the text";
    // Failed allocations: the compiler, the copy, and a new thread's backtracking stack.
    zarn::failalloc_set(1);
    EXPECT_EQ(hs_regcomp("abc"), nullptr);
    EXPECT_STREQ(hs_get_regerr(), "out of space");
    Prog ok = comp("a(b)c");
    zarn::failalloc_set(1);
    EXPECT_EQ(hs_regcopy(ok.get()), nullptr);
    EXPECT_STREQ(hs_get_regerr(), "out of space");
    std::string err;
    std::thread([&] {
        zarn::failalloc_set(1);
        err = std::to_string(hs_regexec(ok.get(), "xxabc")) + hs_get_regerr();
    }).join();
    zarn::failalloc_set(0);
    EXPECT_EQ(err, "0out of space");
    EXPECT_EQ(hs_regexec(ok.get(), "xxabc"), 1);
}

TEST(RegexpMatch, DamagedProgramsAndSubjects) {
    Prog p = comp("a(b)c");
    hs_regexp *bad = hs_regcopy(p.get());
    bad->program[0] = 0;
    EXPECT_EQ(hs_regexec(bad, "abc"), 0);
    EXPECT_STREQ(hs_get_regerr(), "corrupted program");
    EXPECT_EQ(hs_regcopy(bad), nullptr);
    EXPECT_STREQ(hs_get_regerr(), "corrupted program");
    bad->program[0] = 1;
    char dest[64];
    hs_regsub(bad, "&", dest);
    EXPECT_STREQ(hs_get_regerr(), "damaged hs_regexp fed to hs_regsub");
    hs_regfree(bad);
    hs_regexp *op = hs_regcopy(p.get());
    uint8_t *b = zarn::regexp::program_of(op);
    ASSERT_EQ(b[9], zarn::regexp::OPEN + 1);
    b[9] = 99;  // an unknown opcode where OPEN should be
    EXPECT_EQ(hs_regexec(op, "abc"), 0);
    EXPECT_STREQ(hs_get_regerr(), "memory corruption");
    b[9] = zarn::regexp::OPEN + 1;
    b[10] = b[11] = 0;  // a chain that ends before END
    EXPECT_EQ(hs_regexec(op, "abc"), 0);
    EXPECT_STREQ(hs_get_regerr(), "corrupted pointers");
    hs_regfree(op);
}

TEST(RegexpSub, TemplatesAndTheKeptPattern) {
    Prog p = comp("(b)c");
    char subject[] = "abcd", dest[64];
    ASSERT_EQ(hs_regexec(p.get(), subject), 1);
    const struct {
        const char *tmpl, *out;
    } rows[] = {
        {"[&] \\1", "[bc] b"},
        {"\\&\\\\\\0|\\2|\\x", "&\\bc||\\x"},
        {"tail\\", "tail\\"},
        {"\\9|", "|"},  // the last group there is, unset here
    };
    for (const auto &r : rows) {
        hs_regsub(p.get(), r.tmpl, dest);
        EXPECT_STREQ(dest, r.out) << r.tmpl;
    }
    subject[1] = '\0';  // the subject changed after the match: group 0 now holds a NUL
    hs_regsub(p.get(), "<&>", dest);
    EXPECT_STREQ(dest, "<");
    EXPECT_STREQ(hs_get_regerr(), "damaged match string");
    re_free();
    EXPECT_EQ(re_exec("anything"), -1) << "no pattern yet";
    EXPECT_STREQ(re_comp("b+c"), nullptr);
    EXPECT_STREQ(hs_get_regerr(), nullptr);
    EXPECT_EQ(re_exec("abbc"), 1);
    EXPECT_EQ(re_exec("abd"), 0);
    EXPECT_STREQ(re_comp("(x"), "unmatched ()");
    EXPECT_EQ(re_exec("abbc"), 1) << "the old pattern stays";
    EXPECT_STREQ(hs_get_regerr(), nullptr) << "re_exec clears the text";
    re_free();
    EXPECT_EQ(re_exec("abbc"), -1);
}

}  // namespace
