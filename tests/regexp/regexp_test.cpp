// Compiler, matcher, substitution and the re_comp pair of the regular-expression engine.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "regexp/regexp_internal.h"
#include "platform/xalloc.h"
#include "zarnutils/hsregexp.h"

namespace {

using zarn::regexp::program_length;
using zarn::regexp::program_of;

// Owns a compiled pattern for the length of a test.
struct Prog {
    explicit Prog(const char *pattern) : p(hs_regcomp(pattern)) {}
    ~Prog() { hs_regfree(p); }
    Prog(const Prog &) = delete;
    Prog &operator=(const Prog &) = delete;
    hs_regexp *operator->() const { return p; }
    hs_regexp *p;
};

std::vector<int> program_bytes(const hs_regexp *prog) {
    std::size_t n = program_length(program_of(prog), 32767);
    const uint8_t *b = program_of(prog);
    return std::vector<int>(b, b + n);
}

std::string group(const hs_regexp *prog, int i) {
    if (prog->startp[i] == nullptr) return "<none>";
    return std::string(prog->startp[i], prog->endp[i]);
}

// Text of the compile error for pattern, or "" when it compiles.
std::string compile_error(const char *pattern) {
    hs_regexp *p = hs_regcomp(pattern);
    if (p != nullptr) {
        hs_regfree(p);
        return "";
    }
    const char *e = hs_get_regerr();
    return e != nullptr ? e : "<no text>";
}

TEST(RegexpProgram, ExactBytesOfSmallPatterns) {
    // magic, then nodes: opcode, big-endian next offset, operand.
    Prog a("a");
    EXPECT_EQ(program_bytes(a.p), (std::vector<int>{156, 6, 0, 8, 8, 0, 5, 'a', 0, 0, 0, 0}));

    Prog alt("a|b");
    EXPECT_EQ(program_bytes(alt.p),
              (std::vector<int>{156, 6, 0, 8, 8, 0, 13, 'a', 0, 6, 0, 8, 8, 0, 5, 'b', 0, 0, 0, 0}));

    // The last character of a run takes the star alone: EXACTLY "a", STAR EXACTLY "b".
    Prog star("ab*");
    EXPECT_EQ(program_bytes(star.p),
              (std::vector<int>{156, 6, 0, 16, 8, 0, 5, 'a', 0, 10, 0, 8, 8, 0, 0, 'b', 0, 0, 0, 0}));

    // A starred group loops through BRANCH, BACK (offset backwards) and NOTHING.
    Prog loop("(a)*");
    EXPECT_EQ(program_bytes(loop.p),
              (std::vector<int>{156, 6, 0, 29, 6, 0, 20, 21, 0, 3, 6, 0, 8, 8, 0, 5, 'a', 0, 31, 0, 3,
                                7, 0, 17, 6, 0, 3, 9, 0, 3, 0, 0, 0}));

    Prog set("[a-c]");
    EXPECT_EQ(program_bytes(set.p), (std::vector<int>{156, 6, 0, 10, 4, 0, 7, 'a', 'b', 'c', 0, 0, 0, 0}));

    Prog anchored("^a.*b$");
    EXPECT_EQ(program_bytes(anchored.p),
              (std::vector<int>{156, 6, 0, 25, 1, 0, 3, 8, 0, 5, 'a', 0, 10, 0, 6, 3, 0, 0, 8, 0, 5, 'b', 0,
                                2, 0, 3, 0, 0, 0}));
    Prog word("\\<x+\\>");
    EXPECT_EQ(program_bytes(word.p),
              (std::vector<int>{156, 6, 0, 17, 12, 0, 3, 11, 0, 8, 8, 0, 0, 'x', 0, 13, 0, 3, 0, 0, 0}));
}

TEST(RegexpProgram, OptimisationHints) {
    Prog lit("abc|x");
    EXPECT_EQ(lit->regstart, 0) << "several alternatives give no hints";
    Prog start("abc.d");
    EXPECT_EQ(start->regstart, 'a');
    EXPECT_EQ(start->reganch, 0);
    EXPECT_EQ(start->regmust, nullptr) << "no leading * or ?";
    Prog anch("^ab");
    EXPECT_NE(anch->reganch, 0);
    EXPECT_EQ(anch->regstart, 0);

    Prog must("x*ab*cd.efg");
    ASSERT_NE(must->regmust, nullptr);
    EXPECT_STREQ(must->regmust, "efg");
    EXPECT_EQ(must->regmlen, 3);
    Prog tie("a?bc.de");
    ASSERT_NE(tie->regmust, nullptr);
    EXPECT_STREQ(tie->regmust, "de") << "the later of equally long literals";
    // regmust must lie inside the program block.
    const char *prog_begin = reinterpret_cast<const char *>(program_of(tie.p));
    EXPECT_GT(tie->regmust, prog_begin);
    EXPECT_LT(tie->regmust, prog_begin + program_length(program_of(tie.p), 32767));
    // A group that starts with a star counts as starting with one.
    Prog grouped("(a*b)cde");
    ASSERT_NE(grouped->regmust, nullptr);
    EXPECT_STREQ(grouped->regmust, "cde");

    EXPECT_EQ(hs_regexec(must.p, "xxabbbcdZefh"), 0) << "regmust missing";
    EXPECT_EQ(hs_regexec(must.p, "xxabbbcdZefg"), 1);
}

TEST(RegexpCompile, EveryErrorText) {
    EXPECT_EQ(hs_regcomp(nullptr), nullptr);
    EXPECT_STREQ(hs_get_regerr(), "NULL argument");
    EXPECT_EQ(compile_error("(a)(b)(c)(d)(e)(f)(g)(h)(i)"), "");
    EXPECT_EQ(compile_error("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)"), "too many ()");
    EXPECT_EQ(compile_error("((((((((((a))))))))))"), "too many ()");
    EXPECT_EQ(compile_error("(a"), "unmatched ()");
    EXPECT_EQ(compile_error("a)"), "unmatched ()");
    EXPECT_EQ(compile_error("(a|b))"), "unmatched ()");
    EXPECT_EQ(compile_error("a**"), "nested *?+");
    EXPECT_EQ(compile_error("a+?"), "nested *?+");
    EXPECT_EQ(compile_error("(a*)*"), "*+ operand could be empty");
    EXPECT_EQ(compile_error("(a|)+"), "*+ operand could be empty");
    EXPECT_EQ(compile_error("^*"), "*+ operand could be empty");
    EXPECT_EQ(compile_error("(a*)?"), "") << "? of an empty operand is allowed";
    EXPECT_EQ(compile_error("*a"), "?+* follows nothing");
    EXPECT_EQ(compile_error("a|+b"), "?+* follows nothing");
    EXPECT_EQ(compile_error("(?a)"), "?+* follows nothing");
    EXPECT_EQ(compile_error("[z-a]"), "invalid [] range");
    EXPECT_EQ(compile_error("[a-a]"), "");
    EXPECT_EQ(compile_error("[abc"), "unmatched []");
    EXPECT_EQ(compile_error("[]"), "unmatched []");
    EXPECT_EQ(compile_error("[^"), "unmatched []");
    EXPECT_EQ(compile_error("a\\"), "trailing \\");
    // A literal run of n characters takes n + 11 bytes: 32756 reach the limit of 32767.
    EXPECT_EQ(compile_error(std::string(32756, 'q').c_str()), "hs_regexp too big");
    EXPECT_EQ(compile_error(std::string(32755, 'q').c_str()), "");
    // A compile error does not clear on a later success; the text stays.
    EXPECT_EQ(compile_error("ok"), "");
    EXPECT_STREQ(hs_get_regerr(), "hs_regexp too big");
}

TEST(RegexpCompile, OutOfSpace) {
    // "junk on end" and "internal urp" guard the parser's own consistency and
    // cannot be reached from a pattern; a failed allocation can be injected.
    zarn::failalloc_set(1);
    EXPECT_EQ(hs_regcomp("abc"), nullptr);
    EXPECT_STREQ(hs_get_regerr(), "out of space");
    Prog ok("a(b)c");
    ASSERT_NE(ok.p, nullptr) << "the next allocation succeeds again";
    zarn::failalloc_set(1);
    EXPECT_EQ(hs_regcopy(ok.p), nullptr);
    EXPECT_STREQ(hs_get_regerr(), "out of space");

    // The matcher's backtracking stack belongs to each thread: a new thread
    // must allocate one, and that allocation fails here.
    int result = -1;
    std::string err;
    std::thread([&] {
        zarn::failalloc_set(1);
        result = hs_regexec(ok.p, "xxabc");
        const char *e = hs_get_regerr();
        err = e != nullptr ? e : "";
    }).join();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(err, "out of space");
    EXPECT_EQ(hs_regexec(ok.p, "xxabc"), 1);
    zarn::failalloc_set(0);
}

TEST(RegexpMatch, EdgeCases) {
    Prog alt("a|b");
    EXPECT_EQ(hs_regexec(alt.p, "b"), 1);
    EXPECT_EQ(group(alt.p, 0), "b");

    Prog two("(a)(b)");
    ASSERT_EQ(hs_regexec(two.p, "xab"), 1);
    EXPECT_EQ(group(two.p, 0), "ab");
    EXPECT_EQ(group(two.p, 1), "a");
    EXPECT_EQ(group(two.p, 2), "b");
    EXPECT_EQ(group(two.p, 3), "<none>");

    Prog words("\\<cat\\>");
    EXPECT_EQ(hs_regexec(words.p, "the cat sat"), 1);
    EXPECT_EQ(group(words.p, 0), "cat");
    EXPECT_EQ(hs_regexec(words.p, "concatenate"), 0);
    EXPECT_EQ(hs_regexec(words.p, "cat"), 1) << "subject start and end bound words";
    EXPECT_EQ(hs_regexec(words.p, "cat_"), 0) << "underscore is a word character";
    EXPECT_EQ(hs_regexec(words.p, "(cat)"), 1);

    Prog star("x*");
    EXPECT_EQ(hs_regexec(star.p, "abc"), 1);
    EXPECT_EQ(star->startp[0], star->endp[0]) << "empty match";
    EXPECT_EQ(hs_regexec(star.p, ""), 1);

    Prog eol("a$");
    EXPECT_EQ(hs_regexec(eol.p, "aab"), 0);
    EXPECT_EQ(hs_regexec(eol.p, "ba"), 1);
    Prog mid("a^b");
    EXPECT_EQ(hs_regexec(mid.p, "a^b"), 0) << "^ is an anchor anywhere";

    // First successful way, not the longest.
    Prog first("(a|ab)(c|bcd)(d*)");
    ASSERT_EQ(hs_regexec(first.p, "abcd"), 1);
    EXPECT_EQ(group(first.p, 1), "a");
    EXPECT_EQ(group(first.p, 2), "bcd");
    EXPECT_EQ(group(first.p, 3), "");

    // A group repeated keeps its last iteration; one skipped in it is unset.
    Prog rep("(a|(b))*c");
    ASSERT_EQ(hs_regexec(rep.p, "bac"), 1);
    EXPECT_EQ(group(rep.p, 1), "a");
    EXPECT_EQ(group(rep.p, 2), "b");
    Prog opt("x(y)?z");
    ASSERT_EQ(hs_regexec(opt.p, "xz"), 1);
    EXPECT_EQ(group(opt.p, 1), "<none>") << "a failed try leaves no trace";

    Prog sets("[]a-]+");
    ASSERT_EQ(hs_regexec(sets.p, "x-]a-y"), 1);
    EXPECT_EQ(group(sets.p, 0), "-]a-");
    Prog neg("[^]-]+");
    ASSERT_EQ(hs_regexec(neg.p, "]-ab]"), 1);
    EXPECT_EQ(group(neg.p, 0), "ab");
    Prog chained("[a-c-e]+");
    ASSERT_EQ(hs_regexec(chained.p, "zzbde-f"), 1);
    EXPECT_EQ(group(chained.p, 0), "bde") << "a-c then range from c to e";

    Prog esc("a\\.b\\*");
    EXPECT_EQ(hs_regexec(esc.p, "axb*"), 0);
    EXPECT_EQ(hs_regexec(esc.p, "a.b*"), 1);

    Prog plus("(ab)+c");
    ASSERT_EQ(hs_regexec(plus.p, "xababcab"), 1);
    EXPECT_EQ(group(plus.p, 0), "ababc");
    EXPECT_EQ(group(plus.p, 1), "ab");

    // High bytes are ordinary characters.
    Prog high("\xe9+[\xf0-\xf2]");
    EXPECT_EQ(hs_regexec(high.p, "a\xe9\xe9\xf1"), 1);
    EXPECT_EQ(hs_regexec(high.p, "a\xe9\xe9\xf3"), 0);
}

// A successful search leaves choice points on the shared stack; the next
// search must not backtrack into them.
TEST(RegexpMatch, NoStaleChoicesAfterSuccess) {
    // Its untried choices (the "ab" alternative, fewer b's) would all succeed.
    Prog first("(a|ab)b*");
    Prog other("x(y|z)*w");
    ASSERT_EQ(hs_regexec(first.p, "abb"), 1);
    EXPECT_EQ(group(first.p, 1), "a");
    EXPECT_EQ(hs_regexec(other.p, "xyzyq"), 0);
    for (int i = 0; i < HS_NSUBEXP; ++i) EXPECT_EQ(other->startp[i], nullptr) << i;
    EXPECT_EQ(hs_regexec(other.p, "xyzyw"), 1);
    EXPECT_EQ(group(other.p, 1), "y");
}

TEST(RegexpMatch, ErrorsAndDamagedPrograms) {
    Prog p("a(b)c");
    EXPECT_EQ(hs_regexec(nullptr, "abc"), 0);
    EXPECT_STREQ(hs_get_regerr(), "NULL parameter");
    EXPECT_EQ(hs_regexec(p.p, nullptr), 0);
    EXPECT_STREQ(hs_get_regerr(), "NULL parameter");

    hs_regexp *bad = hs_regcopy(p.p);
    ASSERT_NE(bad, nullptr);
    bad->program[0] = 0;
    EXPECT_EQ(hs_regexec(bad, "abc"), 0);
    EXPECT_STREQ(hs_get_regerr(), "corrupted program");
    EXPECT_EQ(hs_regcopy(bad), nullptr);
    EXPECT_STREQ(hs_get_regerr(), "corrupted program");
    hs_regfree(bad);

    // An unknown opcode where the OPEN node should be.
    hs_regexp *op = hs_regcopy(p.p);
    uint8_t *b = program_of(op);
    ASSERT_EQ(b[9], zarn::regexp::OPEN + 1);
    b[9] = 99;
    EXPECT_EQ(hs_regexec(op, "abc"), 0);
    EXPECT_STREQ(hs_get_regerr(), "memory corruption");
    // A chain that ends before END.
    b[9] = zarn::regexp::OPEN + 1;
    b[10] = b[11] = 0;
    EXPECT_EQ(hs_regexec(op, "abc"), 0);
    EXPECT_STREQ(hs_get_regerr(), "corrupted pointers");
    hs_regfree(op);
    hs_regfree(nullptr);
}

TEST(RegexpSub, TemplateExpansion) {
    Prog p("(b)c");
    ASSERT_EQ(hs_regexec(p.p, "abcd"), 1);
    char dest[64];
    hs_regsub(p.p, "[&] \\1", dest);
    EXPECT_STREQ(dest, "[bc] b");
    hs_regsub(p.p, "\\&\\\\\\0|\\2|\\x", dest);
    EXPECT_STREQ(dest, "&\\bc||\\x") << "escapes, whole match, unset group, other backslash";
    hs_regsub(p.p, "tail\\", dest);
    EXPECT_STREQ(dest, "tail\\");

    hs_regsub(nullptr, "&", dest);
    EXPECT_STREQ(hs_get_regerr(), "NULL parm to hs_regsub");
    hs_regsub(p.p, nullptr, dest);
    EXPECT_STREQ(hs_get_regerr(), "NULL parm to hs_regsub");

    // A subject changed after the match: the group's text now holds a NUL.
    char subject[] = "xbcy";
    ASSERT_EQ(hs_regexec(p.p, subject), 1);
    subject[1] = '\0';
    std::strcpy(dest, "unchanged");
    hs_regsub(p.p, "<&>", dest);
    EXPECT_STREQ(hs_get_regerr(), "damaged match string");
    EXPECT_STREQ(dest, "<") << "stops at the damaged group";

    hs_regexp *bad = hs_regcopy(p.p);
    bad->program[0] = 1;
    hs_regsub(bad, "&", dest);
    EXPECT_STREQ(hs_get_regerr(), "damaged hs_regexp fed to hs_regsub");
    hs_regfree(bad);
}

TEST(RegexpCopy, IndependentOfTheOriginal) {
    hs_regexp *orig = hs_regcomp("x*(ab)cde");
    ASSERT_NE(orig, nullptr);
    ASSERT_EQ(hs_regexec(orig, "zzabcde"), 1);
    hs_regexp *copy = hs_regcopy(orig);
    ASSERT_NE(copy, nullptr);
    for (int i = 0; i < HS_NSUBEXP; ++i) {
        EXPECT_EQ(copy->startp[i], nullptr);
        EXPECT_EQ(copy->endp[i], nullptr);
    }
    EXPECT_EQ(program_bytes(copy), program_bytes(orig));
    ASSERT_NE(copy->regmust, nullptr);
    EXPECT_NE(copy->regmust, orig->regmust) << "regmust must point into the copy";
    hs_regfree(orig);  // the copy must not read freed memory
    EXPECT_STREQ(copy->regmust, "cde");
    EXPECT_EQ(hs_regexec(copy, "abcde"), 1);
    EXPECT_EQ(group(copy, 1), "ab");
    EXPECT_EQ(hs_regexec(copy, "abcdf"), 0);
    hs_regfree(copy);
    EXPECT_EQ(hs_regcopy(nullptr), nullptr);
}

TEST(RegexpKept, ReCompAndReExec) {
    re_free();
    EXPECT_EQ(re_exec("anything"), -1) << "no pattern yet";
    EXPECT_EQ(re_comp("b+c"), nullptr);
    EXPECT_EQ(hs_get_regerr(), nullptr) << "re_comp clears the error text";
    EXPECT_EQ(re_exec("abbc"), 1);
    EXPECT_EQ(re_exec("abd"), 0);
    const char *err = re_comp("(x");
    ASSERT_NE(err, nullptr);
    EXPECT_STREQ(err, "unmatched ()");
    EXPECT_EQ(re_exec("abbc"), 1) << "the old pattern stays after a failure";
    EXPECT_EQ(hs_get_regerr(), nullptr) << "re_exec clears the error text";
    EXPECT_EQ(re_exec(nullptr), 0);
    EXPECT_STREQ(hs_get_regerr(), "NULL parameter");
    re_free();
    EXPECT_EQ(re_exec("abbc"), -1);
}

TEST(RegexpMatch, LongSubjectsAndHardPatterns) {
    // Loops over a million characters must not exhaust the machine stack.
    std::string subject;
    for (int i = 0; i < 500000; ++i) subject += "ab";
    subject += "c";
    Prog loop("^(ab)*c$");
    ASSERT_EQ(hs_regexec(loop.p, subject.c_str()), 1);
    EXPECT_EQ(group(loop.p, 1), "ab");
    Prog alt("^(a|b)+$");
    EXPECT_EQ(hs_regexec(alt.p, subject.c_str()), 0);

    // Nested repeats that fail: exponential for a plain backtracker.
    auto t0 = std::chrono::steady_clock::now();
    Prog nested("(x+x+)+y");
    EXPECT_EQ(hs_regexec(nested.p, std::string(2000, 'x').c_str()), 0);
    Prog alts("^(a|aa|aaa)*b");
    EXPECT_EQ(hs_regexec(alts.p, std::string(3000, 'a').c_str()), 0);
    EXPECT_EQ(compile_error("^((a|b)*(b|a)*)+c"), "*+ operand could be empty");
    Prog deep("^(((a+)+)+)+z");
    EXPECT_EQ(hs_regexec(deep.p, std::string(500, 'a').c_str()), 0);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_LT(seconds, 20.0);
}

}  // namespace
