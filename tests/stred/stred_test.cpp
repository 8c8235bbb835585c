// Name rules, edits, writers, numbers, case variants, path search and Fortran forms of the string
// editors, and every editor called as a careless or hostile caller would.
#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "hostile.h"
#include "platform/xalloc.h"
#include "zarnutils/stred.h"

namespace {

using namespace zarn::test;
using std::to_string;

std::string owned(char *s) {
    std::string out = s != nullptr ? s : "NULL";
    std::free(s);
    return out;
}

TEST(StredNames, RulesDissectionAndSelf) {
    using Rule = int (*)(const char *);
    const struct {
        Rule rule;
        std::vector<const char *> names;
        const char *ok;
    } rules[] = {{stred_rtopt_name,
                  {"B1.X(2)", "$TEMP", "9A B", "b1", "B1#", " A", "(A", "A$()*+,-./:;<=>[]_{}"},
                  "11100001"},
                 {stred_rtopt_object, {"B1X(2)", "B1.X", "b"}, "100"},
                 {stred_valid_name, {"A-B_1", "Z", "1A", "a", "A.B"}, "11000"},
                 {stred_special_id, {"1ABC", "A B", "A{1}", "A.B_C-1"}, "1110"},
                 {stred_IsNumeric, {"0123", "12a", "-1"}, "100"},
                 {stred_self_string, {"SELF", "SELF.T", "SELF.T.X", "SELF.", "SELFISH", "B.SELF"}, "110000"}};
    for (const auto &r : rules)
        EXPECT_EQ(std::accumulate(r.names.begin(), r.names.end(), std::string(),
                                  [&](std::string a, const char *n) { return a + (r.rule(n) ? '1' : '0'); }),
                  r.ok);
    std::string allowed;  // the byte values a model name may hold after its first character
    for (int c = 1; c < 256; ++c)
        if (const char n[3] = {'A', static_cast<char>(c), 0}; stred_rtopt_name(n))
            allowed += static_cast<char>(c);
    EXPECT_EQ(allowed, " $()*+,-./0123456789:;<=>ABCDEFGHIJKLMNOPQRSTUVWXYZ[]_{}");
    const char *g = "AB?C*";
    EXPECT_EQ(stred_is_glob(g), g + 2);
    EXPECT_EQ(stred_is_glob("ABC"), nullptr);
    for (auto [a, b, cmp] :
         {std::tuple{"abc", "ABC", 0}, {"ab", "ABC", -1}, {"ABC", "ab", 1}, {"abd", "ABC", 1}, {"", "", 0}})
        EXPECT_EQ(stred_caseless_cmp(a, b), cmp) << a << " " << b;
    char block[1025], port[1025], attr[1025];
    const std::string L(1024, 'B');
    for (auto [name, want] : {std::pair{std::string("A.B1.T"), std::string("1A.B1|T")},
                              {"NODOT", "0|"},
                              {".T", "0|"},
                              {"B.", "0|"},
                              {L + "." + L, "1" + L + "|" + L},
                              {L + "B.T", "0|"},
                              {"B." + L + "T", "0|"}}) {
        std::strcpy(block, "junk");
        std::strcpy(attr, "junk");
        EXPECT_EQ(to_string(dissect_block_name(name.c_str(), block, attr)) + block + "|" + attr, want)
            << name.size();
    }
    for (auto [name, want] : {std::pair{"B1.IN.STR.TEMP", "1B1|IN|TEMP"},
                              {"B1.IN.STR", "1B1|IN|"},
                              {"F.B1.IN.STR.P", "1F.B1|IN|P"},
                              {"B1.IN", "0||"},
                              {"IN.STR", "0||"},
                              {"B1..STR", "0||"},
                              {"B1.IN.STR.", "0||"},
                              {"B1.IN.STR.A.B", "0||"},
                              {"B1.IN.XSTR", "0||"}}) {
        std::strcpy(block, "junk");
        std::strcpy(port, "junk");
        std::strcpy(attr, "junk");
        EXPECT_EQ(to_string(dissect_port_name(name, block, port, attr)) + block + "|" + port + "|" + attr,
                  want)
            << name;
    }
    char out[64] = "B2.Y";
    EXPECT_STREQ(stred_bad_spec_name(out, out), "B2.AS__Y") << "in place";
    EXPECT_STREQ(stred_bad_spec_name("A.B.C", out), "A.B.AS__C");
    EXPECT_STREQ(stred_bad_spec_name("X", out), "AS__X");
    for (auto [name, self, want] : {std::tuple{"SELF.T", "B1", "B1.T"},
                                    {"SELF", "F.B2", "F.B2"},
                                    {"SELFISH.T", "B1", "SELFISH.T"},
                                    {"SELF.T", nullptr, "SELF.T"}})
        EXPECT_EQ(owned(stred_replace_self(name, self)), want);
}

TEST(StredEdit, CaseTrimUnpackAndGlobs) {
    char s[] = "aBz_9\xe9", one[] = "one", two[] = "Two", t[] = "AB \t\n ", all[] = "   ", dest[16];
    gl_list_t *list = gl_create();
    stred_upper_case(s);
    std::string cased = s;
    gl_addtoend(list, one);
    gl_addtoend(list, two);
    stred_upper_case_list(list);
    gl_destroylist(list);
    stred_lower_case(s);
    stred_remove_trailing_blanks(t);
    stred_remove_trailing_blanks(all);
    EXPECT_EQ(cased + s + one + two + t + "|" + all,
              "ABZ_9\xe9"
              "abz_9\xe9"
              "ONETWOAB|");
    int64_t words[2];  // "ABCDEFG " four to an 8-byte word, the high halves junk
    double reals[2];
    std::memcpy(words, "ABCDxxxxEFG yyyy", 16);
    std::memcpy(reals, "TEMPERATURE     ", 16);
    for (auto [len, n, want] : {std::tuple{16, 2, "ABCDEFG "}, {6, 2, "ABCDE"}, {16, 0, ""}}) {
        stred_i4_to_string(dest, len, words, n);
        EXPECT_STREQ(dest, want) << len;
    }
    for (auto [len, want] : {std::pair{16, "TEMPERATURE    "}, {9, "TEMPERAT"}}) {
        stred_r8_to_string(dest, len, reals, 2);
        EXPECT_STREQ(dest, want);
    }
    for (auto [glob, want] : {std::pair{"A*B?", "%^A.*B.$"},
                              {"B.*", "%^B\\..*$"},
                              {"", "%^$"},
                              {"$()+.[\\]^|{x}", "%^\\$\\(\\)\\+\\.\\[\\\\\\]\\^\\|{x}$"}})
        EXPECT_EQ(owned(stred_glob_to_regexp(glob)), want);
    char *r = stred_glob_to_regexp("F*.T?");  // what the glob means and nothing else
    hs_regexp *prog = hs_regcomp(r + 1), *p1 = hs_regcomp("^B1\\."), *p2 = hs_regcomp("T$");
    std::string got;
    for (const char *name : {"F.T1", "FEED.B1.TX", "F..T.", "F.T", "XF.T1", "F_T1", "F.T12"})
        got += std::to_string(hs_regexec(prog, name));
    EXPECT_EQ(got, "1110000");
    hs_regfree(prog);
    std::free(r);
    list = gl_create();
    EXPECT_TRUE(stred_matching_name("ANY", nullptr));
    EXPECT_TRUE(stred_matching_name("ANY", list));
    gl_addtoend(list, p1);
    gl_addtoend(list, p2);
    EXPECT_TRUE(stred_matching_name("B1.X", list));
    EXPECT_TRUE(stred_matching_name("B2.T", list));
    EXPECT_FALSE(stred_matching_name("B2.X", list));
    gl_destroy(list, reinterpret_cast<gl_free_fn>(hs_regfree));
}

TEST(StredEdit, ReplaceInPlaceWithinMaxLength) {
    const struct {
        const char *pattern, *text;
        int max;
        const char *rep;
        int count;
        const char *result;
    } rows[] = {{"ab", "xabyab", 31, "AB", 2, "xAByAB"},
                {"a", "aaa", 31, "&a\\0", 3, "&a\\0&a\\0&a\\0"},  // literal, search goes on after it
                {"ab", "ab123", 6, "WXYZ", 1, "WXYZ12"},
                {"ab", "1ab23", 5, "WXYZ", 1, "1WXYZ"},  // the tail is cut first,
                {"ab", "12ab3", 5, "WXYZ", 1, "12WXY"},
                {"ab", "abab", 4, "ZZZ", 1, "ZZZa"},  // then the replacement
                {"b*", "abc", 31, "-", 3, "-a-c-"},
                {"b*", "", 31, "<>", 1, "<>"},
                {"b*", "xyz", 31, "", 4, "xyz"},
                {"^a", "aaa", 31, "", 1, "aa"},
                {"(^a)", "aaa", 31, "", 1, "aa"},
                {"\\<x", "xx x", 31, "y", 2, "yx y"},
                {"ab", "abcabc", 5, "Q", 0, "abcabc"}};
    StderrCapture err;
    for (const auto &r : rows) {
        char s[32];
        hs_regexp *prog = hs_regcomp(r.pattern);
        const int count = stred_replace_regexp(std::strcpy(s, r.text), r.max, prog, r.rep);
        EXPECT_EQ(std::to_string(count) + s, std::to_string(r.count) + r.result)
            << r.pattern << " in " << r.text;
        hs_regfree(prog);
    }
    EXPECT_EQ(
        err.text().rfind(
            "Assertion 'stred_replace_regexp: str is longer than maxlength' failed in source/stred/stred:",
            0),
        0u);
    gl_list_t *progs = gl_create(), *reps = gl_create();
    char r1[] = "a", r2[] = "b", s[32] = "abab";
    gl_addtoend(progs, hs_regcomp("ab"));
    gl_addtoend(progs, hs_regcomp("a"));
    gl_addtoend(reps, r1);
    gl_addtoend(reps, r2);
    EXPECT_EQ(std::to_string(stred_replace_regexps(s, 31, progs, reps)) + s, "4bb") << "ab->a, then a->b";
    gl_destroy(progs, reinterpret_cast<gl_free_fn>(hs_regfree));
    gl_destroylist(reps);
}

// A caller may pass one buffer as input and output: the input is read whole first.
TEST(StredEdit, InputInsideAnOutputIsReadFirst) {
    char name[1025] = "B1.IN.STR.TEMP";
    char port[1025], attr[1025];
    EXPECT_EQ(dissect_port_name(name, name, port, attr), 1) << "port name dissected into itself";
    EXPECT_STREQ(name, "B1") << "block written over the name";
    EXPECT_STREQ(port, "IN");
    EXPECT_STREQ(attr, "TEMP");

    char block_name[1025] = "A.B1.T";
    EXPECT_EQ(dissect_block_name(block_name, block_name, attr), 1) << "block name dissected into itself";
    EXPECT_STREQ(block_name, "A.B1");
    EXPECT_STREQ(attr, "T");

    char text[32] = "ab-XY";
    hs_regexp *prog = hs_regcomp("ab");
    EXPECT_EQ(stred_replace_regexp(text, 31, prog, text + 3), 1) << "replacement taken from the edited text";
    EXPECT_STREQ(text, "XY-XY");
    hs_regfree(prog);
}

TEST(StredWrite, ColumnsQuotingAndNumbers) {
    rtopipe *q = create_queue_rtopipe();
    const std::string dashes(231, '-');
    const struct {
        std::function<void()> write;
        std::string text;
    } rows[] = {{[&] { stred_write_name(q, "ABCDEF", 4); }, "ABC|"},
                {[&] { stred_write_name(q, "ABCD", 4); }, "ABCD"},
                {[&] { stred_write_name(q, "AB", 5); }, "AB   "},
                {[&] { stred_write_name(q, "AB", 1); }, "|"},
                {[&] { stred_write_hdr(q, "ABC", 8); }, "---ABC--"},
                {[&] { stred_write_hdr(q, "AB", 6); }, "--AB--"},
                {[&] { stred_write_hdr(q, "ABCDEFGH", 5); }, "ABCDE"},
                {[&] { stred_write_dash(q, 2, 3, 1); }, "  --- "},
                {[&] { stred_write_dash(q, -1, 0, 2); }, "  "},
                {[&] { stred_write_dash(q, 0, 500, 0); }, dashes},
                {[&] { stred_write_id(q, "B1.T"); }, "B1.T"},
                {[&] { stred_write_id(q, "2B"); }, "'2B'"},
                {[&] { stred_write_id(q, "A,B"); }, "'A,B'"},
                {[&] { wrt_numbr_max(q, 2.5, 8); }, "     2.5"},
                {[&] { wrt_numbr_dec(q, 3.14159, 8, 3); }, "   3.142"},
                {[&] { wrt_numbr_dec(q, 0.0, 8, 2); }, "    0.0 "}};
    for (const auto &r : rows) {
        r.write();
        EXPECT_EQ(drain(q), r.text);
    }
    rtodestroy(q);
    char buf[1024];
    for (auto [x, w, want] : {std::tuple{0.0, 8, " 0.0"},
                              {-0.0, 3, " 0.0"},
                              {3.14159, 10, "3.14159"},
                              {100.0, 8, "100."},
                              {-2.5, 4, "-2.5"},
                              {1.0 / 3.0, 6, "0.3333"},
                              {123456.0, 6, "1.23e5"},
                              {1e-5, 8, "1.000e-5"},
                              {123456789012.0, 8, "1.235e11"},
                              {-123456789012.0, 8, "-1.23e11"},
                              {1.5e20, 10, "1.50000e20"},
                              {1e20, 3, "1.e20"},
                              {2.5e-300, 9, "2.50e-300"},
                              {0.1, 900, "0.1000000000000000055511151231257827021181583404541015625"}})
        EXPECT_STREQ(fmt_numbr_max(x, w, buf), want) << x << " in " << w;
    for (auto [x, w, d, want] : {std::tuple{3.14159, 10, 2, "3.14"},
                                 {12.34, 10, 1, "12.3"},
                                 {0.001, 10, 2, "0.001"},
                                 {0.0, 10, 2, "0.0 "},
                                 {0.0, 4, 2, " 0.0"},
                                 {-12.5, 5, 2, "-12.5"},
                                 {-12.5, 6, 2, "-12.50"},
                                 {0.25, 10, 3, "0.250"},
                                 {0.05, 10, 3, "0.05"},
                                 {0.05, 10, 5, "0.05000"},
                                 {0.005, 10, 5, "0.005"},
                                 {9999999999.0, 14, 2, "9999999999.00"},
                                 {2e10, 20, 2, "20000000000."},
                                 {7.0, 10, 0, "7."}})
        EXPECT_STREQ(fmt_numbr_dec(x, w, d, buf), want) << x << " " << w << " " << d;
    // Wide columns get the real digits of the double before the exponent, not zeros.
    for (auto [x, w, exp] : {std::tuple{1e-40, 120, "e-41"}, {-1.0 / 3e30, 130, "e-31"}}) {
        char ref[1024];
        std::snprintf(ref, sizeof ref, "%.*g", w - 5 - (x < 0), x);
        EXPECT_EQ(fmt_numbr_max(x, w, buf),
                  std::string(ref).replace(std::string(ref).find("e-"), std::string::npos, exp));
    }
    for (int w = 8; w <= 24; ++w)  // fits, shows its point, reads back
        for (double x : {1.0 / 7.0, -98765.4321, 6.02214076e23, -1.602e-19, 42.0})
            if (const std::string t = fmt_numbr_max(x, w, buf);
                t.size() > static_cast<std::size_t>(w) || t.find('.') == std::string::npos ||
                std::abs(std::strtod(t.c_str(), nullptr) - x) > std::abs(x) * 0.5)
                ADD_FAILURE() << t << " in " << w;
}

TEST(StredFiles, CaseVariantsAndPathSearch) {
    std::string seen;
    for (rtocase *it : {rtocase_existing("Data.TXT"), rtocase_newfile("Data.TXT")}) {
        for (int pass = 0; pass < 2; ++pass) {
            for (const char *v; (v = rtocase_next(it)) != nullptr;) seen += std::string(v) + " ";
            rtocase_reset(it);
        }
        seen += std::string(rtocase_next(it)) + "| ";
        rtocase_destroy(it);
    }
    EXPECT_EQ(seen,
              "DATA.TXT data.txt DATA.TXT data.txt DATA.TXT| data.txt DATA.TXT data.txt DATA.TXT data.txt| ");
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("zarn-path-" + std::to_string(getpid())),
                   sub = dir / "s";
    fs::create_directories(sub / "DIRNAME");
    std::ofstream(sub / "MODEL.inp");
    std::ofstream(sub / "PLAIN");
    char out[1025];
    const std::string list = "/nonexistent;;" + sub.string(), huge(2000, 'X'), slashes(1017, '/');
    const struct {
        char *(*search)(const char *, const char *, const char *, char *);
        std::string name;
        const char *ext;
        std::string path, found;
    } rows[] = {{path_search_nocase, "MODEL", ".inp", list, sub / "MODEL.inp"},
                {path_search_case, "PLAIN", ".inp", list, sub / "PLAIN"},
                {path_search_nocase, "PLAIN", "", sub.string() + "/", sub / "PLAIN"},
                {path_search_nocase, sub / "PLAIN", nullptr, "/nonexistent", sub / "PLAIN"},
                {path_search_nocase, "MODEL", ".dat", list, ""},
                {path_search_nocase, "MODEL", ".inp", "", ""},
                {path_search_nocase, "DIRNAME", nullptr, sub, ""},
                {path_search_nocase, huge, ".inp", sub, ""},
                {path_search_nocase, "PLAIN", nullptr, "s", "s/PLAIN"},
                {path_search_nocase, std::string(1023, 'N'), nullptr, "s", ""},  // "s/" makes it 1025
                {path_search_nocase, slashes + "PLAIN", nullptr, "s", "s/" + slashes + "PLAIN"}};  // 1024
    // Relative directories are taken from the working directory; "s" is one letter long.
    const fs::path start = fs::current_path();
    fs::current_path(dir);
    for (const auto &r : rows) {
        char *got = r.search(r.name.c_str(), r.ext, r.path.c_str(), out);
        EXPECT_EQ(got == nullptr ? ""
                  : got == out   ? std::string(out)
                                 : "?",
                  r.found)
            << r.name.substr(0, 40) << " on " << r.path;
    }
    fs::current_path(start);
    fs::remove_all(dir);
}

TEST(StredHostile, EveryEntryWithExtremeArguments) {
    const std::string big(100000, 'A');
    const int64_t words[2] = {0x44434241, 0x48474645};  // "ABCD", "EFGH" in the low halves
    const double reals[1] = {0};
    char out[16] = "kept", b[1025], p[1025], a[1025], s[8] = "a", buf[1100], field[8], blanks[100001];
    rtopipe *q = create_queue_rtopipe();
    hs_regexp *prog = hs_regcomp("a");
    gl_list_t *one = gl_create(), *none = gl_create();
    gl_addtoend(one, prog);
    std::memset(blanks, ' ', 100000);
    blanks[100000] = 0;
    auto rules = [](const char *n) {
        return seq({to_string(stred_valid_name(n)), to_string(stred_rtopt_name(n)),
                    to_string(stred_rtopt_object(n)), to_string(stred_special_id(n)),
                    to_string(stred_self_string(n)), to_string(stred_IsNumeric(n)), shown(stred_is_glob(n)),
                    ","});
    };
    run_hostile({
        {"case, list and trailing blanks of NULL / 10^5 blanks",
         [&] {
             stred_upper_case(nullptr);
             stred_lower_case(nullptr);
             stred_upper_case_list(nullptr);
             stred_remove_trailing_blanks(nullptr);
             stred_remove_trailing_blanks(blanks);
             return std::string(blanks);
         },
         "||A(stred_upper_case: str is NULL)A(stred_lower_case: str is NULL)A(stred_upper_case_list: list is "
         "NULL)A(stred_remove_trailing_blanks: str is NULL)"},
        {"stred_i4_to_string / r8 with n LLONG_MAX, LLONG_MIN, destLen LLONG_MIN, NULL dest and words",
         [&] {
             stred_i4_to_string(out, LLONG_MIN, words, 1);
             const std::string n_min = out;
             stred_i4_to_string(out, 8, words, LLONG_MAX);
             const std::string i4_len_max = out;
             stred_i4_to_string(out, 8, words, LLONG_MIN);
             const std::string i4_len_min = out;
             stred_r8_to_string(out, 4, reals, LLONG_MAX);
             const std::string r8_len_max = out;
             std::string r = seq({n_min, i4_len_max, ",", i4_len_min, r8_len_max, "|"});
             stred_i4_to_string(nullptr, 8, words, 1);
             stred_i4_to_string(out, 8, nullptr, 1);
             stred_r8_to_string(nullptr, 8, nullptr, INT_MAX);
             stred_r8_to_string(out, 8, nullptr, 1);
             return r + out;
         },
         "keptABCDEFG,|||A(stred_i4_to_string: dest is NULL)A(stred_i4_to_string: words is "
         "NULL)A(stred_r8_to_string: dest is NULL)A(stred_r8_to_string: words is NULL)"},
        {"name rules of \"\", 10^5 A, NULL", [&] { return rules("") + rules(big.c_str()) + rules(nullptr); },
         "000000NULL,111000NULL,000000NULL,||A(stred_valid_name: str is NULL)A(stred_rtopt_name: str is "
         "NULL)A(stred_rtopt_object: str is NULL)"
         "A(stred_special_id: str is NULL)A(stred_self_string: str is NULL)A(stred_IsNumeric: str is "
         "NULL)A(stred_is_glob: str is NULL)"},
        {"stred_caseless_cmp and stred_matching_name with NULLs and an empty list",
         [&] {
             return seq(
                 {to_string(stred_caseless_cmp(nullptr, nullptr)),
                  to_string(stred_caseless_cmp(nullptr, "a")), to_string(stred_caseless_cmp("a", nullptr)),
                  to_string(stred_matching_name(nullptr, nullptr)),
                  to_string(stred_matching_name(nullptr, one)), to_string(stred_matching_name("x", none))});
         },
         "0-11101||A(stred_caseless_cmp: first str is NULL)A(stred_caseless_cmp: first str is "
         "NULL)A(stred_caseless_cmp: second str is NULL)A(stred_matching_name: name is NULL)"},
        {"writers with NULL text, widths 0 / INT_MIN / 1, dashes at INT_MAX and INT_MIN",
         [&] {
             stred_write_id(q, nullptr);
             stred_write_name(q, nullptr, 5);
             stred_write_hdr(q, nullptr, 5);
             stred_write_name(q, "ABC", 0);
             stred_write_name(q, "ABC", INT_MIN);
             stred_write_hdr(q, "ABC", INT_MIN);
             stred_write_name(q, "ABC", 1);
             stred_write_hdr(q, "ABC", 1);
             stred_write_dash(q, INT_MAX, INT_MIN, -1);
             stred_write_dash(q, INT_MIN, INT_MIN, INT_MIN);
             return drain(q);
         },
         "|A" + std::string(231, ' ') +
             "||A(stred_write_id: str is NULL)A(stred_write_name: str is NULL)A(stred_write_hdr: str is "
             "NULL)"},
        {"stred_glob_to_regexp(NULL / 10^5 *)",
         [&] {
             return seq({shown(stred_glob_to_regexp(nullptr)),
                         to_string(owned(stred_glob_to_regexp(std::string(100000, '*').c_str())).size())});
         },
         "NULL200003||A(stred_glob_to_regexp: glob is NULL)"},
        {"stred_replace_regexp(s) with NULLs, maxLen -1 / INT_MIN / INT_MAX, unequal lists",
         [&] {
             char aaa[4] = "aaa";
             return seq({to_string(stred_replace_regexp(nullptr, 8, prog, "r")),
                         to_string(stred_replace_regexp(s, 8, nullptr, "r")),
                         to_string(stred_replace_regexp(s, 8, prog, nullptr)),
                         to_string(stred_replace_regexp(s, -1, prog, "r")),
                         to_string(stred_replace_regexp(s, INT_MIN, prog, "r")), s,
                         to_string(stred_replace_regexp(aaa, INT_MAX, prog, "b")), aaa,
                         to_string(stred_replace_regexps(nullptr, 8, one, one)),
                         to_string(stred_replace_regexps(s, 8, nullptr, one)),
                         to_string(stred_replace_regexps(s, 8, one, nullptr)),
                         to_string(stred_replace_regexps(s, 8, one, none))});
         },
         "00000a3bbb0000||A(stred_replace_regexp: str is NULL)A(stred_replace_regexp: regexp is "
         "NULL)A(stred_replace_regexp: replacement is NULL)"
         "A(stred_replace_regexp: str is longer than maxlength)A(stred_replace_regexp: str is longer than "
         "maxlength)A(stred_replace_regexps: str is NULL)"
         "A(stred_replace_regexps: regexps is NULL)A(stred_replace_regexps: replacements is "
         "NULL)A(stred_replace_regexps: # of regexps != # of replacements)"},
        {"replace_self, dissect_block_name, dissect_port_name, bad_spec_name with NULLs and 10^5 A",
         [&] {
             return seq({shown(stred_replace_self(nullptr, "X")),
                         owned(stred_replace_self("SELF.A", nullptr)),
                         to_string(dissect_block_name(nullptr, b, a)),
                         to_string(dissect_block_name("B.A", nullptr, a)),
                         to_string(dissect_block_name("B.A", b, nullptr)),
                         to_string(dissect_block_name((big + ".X").c_str(), b, a)), b, a,
                         to_string(dissect_port_name(nullptr, b, p, a)),
                         to_string(dissect_port_name("B.P.STR", nullptr, p, a)),
                         to_string(dissect_port_name("B.P.STR", b, nullptr, a)),
                         to_string(dissect_port_name("B.P.STR", b, p, nullptr)),
                         to_string(dissect_port_name((big + ".P.STR").c_str(), b, p, a)), b, p, a,
                         stred_bad_spec_name(nullptr, out) == out ? "out" : "?",
                         shown(stred_bad_spec_name("X", nullptr))});
         },
         "NULLSELF.A000000000outNULL||A(stred_replace_self: name is NULL)A(dissect_block_name: name is "
         "NULL)A(dissect_block_name: block is NULL)"
         "A(dissect_block_name: attribute is NULL)A(dissect_port_name: name is NULL)A(dissect_port_name: "
         "block is NULL)A(dissect_port_name: port is NULL)"
         "A(dissect_port_name: attribute is NULL)A(stred_bad_spec_name: name is NULL)A(stred_bad_spec_name: "
         "out is NULL)"},
        {"Fortran forms: NULL, absent and empty fields, unterminated, bad pattern, n LLONG_MAX / -1 / NULL",
         [&] {
             const int64_t huge = LLONG_MAX, minus = -1;
             std::string r = to_string(STRED_REPLACE_REGEXP_F(nullptr, "a", "b", 8, 1, 1));
             std::memset(field, 0, 8);
             r += seq({to_string(STRED_REPLACE_REGEXP_F(field, "a", "b", 8, 1, 1)), to_string(field[7] == 0),
                       to_string(STRED_REPLACE_REGEXP_F(field, "a", "b", 0, 1, 1))});
             std::memcpy(field, "aaaaaaaa", 8);
             r += seq({to_string(STRED_REPLACE_REGEXP_F(field, "a", "b", 8, 1, 1)), std::string(field, 8)});
             std::memcpy(field, "aa      ", 8);
             return r +
                    seq({to_string(STRED_REPLACE_REGEXP_F(field, "(", "b", 8, 1, 1)),
                         to_string(STRED_REPLACE_REGEXPS_F(field, "a ", "b ", &huge, 8, 2, 2)),
                         to_string(STRED_REPLACE_REGEXPS_F(field, "a ", "b ", &minus, 8, 2, 2)),
                         to_string(STRED_REPLACE_REGEXPS_F(field, "a ", "b ", nullptr, 8, 2, 2)),
                         std::string(field, 8), to_string(STRSTR_F(nullptr, nullptr, 0, 0)),
                         to_string(STRSTR_F("ABCD", "BC  ", 4, 4)), to_string(STRSTR_F("ABCD", "CE", 4, 2))});
         },
         "00108bbbbbbbb-1000aa      110||"},
        {"fmt_numbr_max / _dec / wrt_ with widths and decimals at INT_MIN, 0, INT_MAX, NULL buffer",
         [&] {
             std::string r = seq({fmt_numbr_max(1.5, INT_MIN, buf), ",", fmt_numbr_max(-1.5, 0, buf), ",",
                                  fmt_numbr_max(1.5, INT_MAX, buf), shown(fmt_numbr_max(1.5, 8, nullptr)),
                                  shown(fmt_numbr_dec(1.5, 8, 2, nullptr)), ",",
                                  fmt_numbr_dec(1.5, INT_MAX, INT_MAX, buf), ",",
                                  fmt_numbr_dec(1.5, INT_MIN, INT_MIN, buf), ",",
                                  fmt_numbr_dec(0.0, 8, INT_MIN, buf), ","});
             wrt_numbr_max(q, 1.5, INT_MIN);
             wrt_numbr_dec(q, 1.5, -1, INT_MIN);
             wrt_numbr_dec(q, 1.5, 6, INT_MAX);
             return r + drain(q);
         },
         "2.,-2.,1.5NULLNULL,1.5,2., 0.0,2.2.   1.5||"},
        {"rtocase with NULL, three variants of \"\"",
         [] {
             rtocase_destroy(nullptr);
             rtocase_reset(nullptr);
             rtocase *it = rtocase_existing("");
             std::string r = seq({shown(reinterpret_cast<const char *>(rtocase_existing(nullptr))),
                                  shown(reinterpret_cast<const char *>(rtocase_newfile(nullptr))),
                                  shown(rtocase_next(nullptr)), shown(rtocase_next(it)), ",",
                                  shown(rtocase_next(it)), ",", shown(rtocase_next(it))});
             rtocase_destroy(it);
             return r;
         },
         "NULLNULLNULL,,NULL||A(rtocase_reset: iterator is NULL)A(rtocase_existing: name is "
         "NULL)A(rtocase_newfile: name is NULL)A(rtocase_next: iterator is NULL)"},
        {"path_search with NULL name, ext, path and out; a 10^5-character name",
         [&] {
             return seq({shown(path_search_nocase(nullptr, ".x", "a;b", b)),
                         shown(path_search_case("n", nullptr, nullptr, nullptr)),
                         shown(path_search_case(big.c_str(), ".x", ";;;", b)), to_string(std::strlen(b))});
         },
         "NULLNULLNULL1024||A(path_search: name is NULL)A(path_search: out is NULL)"},
    });
    gl_destroylist(one);
    gl_destroylist(none);
    hs_regfree(prog);
    rtodestroy(q);
}

}  // namespace

// The editors' allocations, failed in turn: NULL results and untouched fields.
// One pattern whose stated length is beyond what memory holds is refused
// before it is read; the field stays as it was.
TEST(StredHostile, OnePatternLongerThanMemoryIsRefusedUnread) {
    char field[8];
    std::memcpy(field, "aa      ", 8);
    const int64_t one = 1;
    const size_t beyond = static_cast<size_t>(PTRDIFF_MAX) + 1;
    EXPECT_EQ(STRED_REPLACE_REGEXPS_F(field, "a", "b", &one, 8, beyond, 1), 0);
    EXPECT_EQ(std::string(field, 8), "aa      ") << "the field as it was";
}

TEST(StredEdit, AllocationFailures) {
    rtopipe *q = create_queue_rtopipe();
    char field[12];
    std::memcpy(field, "ABC         ", 12);
    const std::function<bool()> rows[] = {
        [] { return stred_glob_to_regexp("A*") == nullptr; },
        [] { return stred_replace_self("SELF.X", "B1") == nullptr; },
        [] { return stred_replace_self("X", "B1") == nullptr; },
        [&] { return STRED_REPLACE_REGEXP_F(field, "B", "Z", 12, 1, 1) == 0; },
        [&] {
            wrt_numbr_max(q, 1.5, 300);
            return drain(q).empty();
        },  // wider than the stack buffer
        [] { return rtocase_existing("a.txt") == nullptr; }};
    for (const auto &row : rows) {
        zarn::failalloc_set(1);
        EXPECT_TRUE(row());
        zarn::failalloc_set(0);
    }
    for (long k : {2, 3}) {
        zarn::failalloc_set(k);
        EXPECT_EQ(rtocase_existing("a.txt"), nullptr) << k;
    }  // its name, its variant
    zarn::failalloc_set(0);
    rtodestroy(q);
    EXPECT_EQ(std::string(field, 12), "ABC         ");
}
