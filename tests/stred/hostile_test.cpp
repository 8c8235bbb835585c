// Every string editor called as a careless or hostile caller would.
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "hostile.h"
#include "zarnutils/gllist.h"
#include "zarnutils/stred.h"

namespace {

using namespace zarn::test;
using std::to_string;

TEST(StredHostile, EveryEntryWithExtremeArguments) {
    const std::string big(100000, 'A');
    const int64_t words[2] = {0x44434241, 0x48474645};  // "ABCD", "EFGH" in the low halves
    const double reals[1] = {0};
    char out[16] = "kept", b[1025], p[1025], a[1025], s[8] = "a", buf[1100], field[8], blanks[100001];
    rtopipe *q = create_queue_rtopipe();
    hs_regexp *prog = hs_regcomp("a");
    gl_list_t *one = gl_create(), *none = gl_create();
    gl_addtoend(one, prog);
    auto text = [](char *t) { std::string r = shown(t); std::free(t); return r; };
    auto rules = [](const char *n) { return seq({to_string(stred_valid_name(n)), to_string(stred_rtopt_name(n)), to_string(stred_rtopt_object(n)),
        to_string(stred_special_id(n)), to_string(stred_self_string(n)), to_string(stred_IsNumeric(n)), shown(stred_is_glob(n)), ","}); };
    std::memset(blanks, ' ', 100000), blanks[100000] = 0;
    run_hostile({
        {"case, list and trailing blanks of NULL / 10^5 blanks", [&] {
             stred_upper_case(nullptr), stred_lower_case(nullptr), stred_upper_case_list(nullptr), stred_remove_trailing_blanks(nullptr);
             stred_remove_trailing_blanks(blanks);
             return std::string(blanks);
         }, "||A(stred_upper_case: str is NULL)A(stred_lower_case: str is NULL)A(stred_upper_case_list: list is NULL)"
            "A(stred_remove_trailing_blanks: str is NULL)"},
        {"stred_i4_to_string / r8 with n LLONG_MAX, LLONG_MIN, destLen LLONG_MIN, NULL dest and words", [&] {
             std::string r = seq({(stred_i4_to_string(out, LLONG_MIN, words, 1), out), (stred_i4_to_string(out, 8, words, LLONG_MAX), out), ",",
                                  (stred_i4_to_string(out, 8, words, LLONG_MIN), out), (stred_r8_to_string(out, 4, reals, LLONG_MAX), out), "|"});
             stred_i4_to_string(nullptr, 8, words, 1), stred_i4_to_string(out, 8, nullptr, 1), stred_r8_to_string(nullptr, 8, nullptr, INT_MAX);
             stred_r8_to_string(out, 8, nullptr, 1);
             return r + out;
         }, "keptABCDEFG,|||A(stred_i4_to_string: dest is NULL)A(stred_i4_to_string: words is NULL)"
            "A(stred_r8_to_string: dest is NULL)A(stred_r8_to_string: words is NULL)"},
        {"name rules of \"\", 10^5 A, NULL", [&] { return rules("") + rules(big.c_str()) + rules(nullptr); },
         "000000NULL,111000NULL,000000NULL,||A(stred_valid_name: str is NULL)A(stred_rtopt_name: str is NULL)"
         "A(stred_rtopt_object: str is NULL)A(stred_special_id: str is NULL)A(stred_self_string: str is NULL)"
         "A(stred_IsNumeric: str is NULL)A(stred_is_glob: str is NULL)"},
        {"stred_caseless_cmp and stred_matching_name with NULLs and an empty list", [&] {
             return seq({to_string(stred_caseless_cmp(nullptr, nullptr)), to_string(stred_caseless_cmp(nullptr, "a")), to_string(stred_caseless_cmp("a", nullptr)),
                         to_string(stred_matching_name(nullptr, nullptr)), to_string(stred_matching_name(nullptr, one)), to_string(stred_matching_name("x", none))});
         }, "0-11101||A(stred_caseless_cmp: first str is NULL)A(stred_caseless_cmp: first str is NULL)"
            "A(stred_caseless_cmp: second str is NULL)A(stred_matching_name: name is NULL)"},
        {"writers with NULL text, widths 0 / INT_MIN / 1, dashes at INT_MAX and INT_MIN", [&] {
             stred_write_id(q, nullptr), stred_write_name(q, nullptr, 5), stred_write_hdr(q, nullptr, 5);
             stred_write_name(q, "ABC", 0), stred_write_name(q, "ABC", INT_MIN), stred_write_hdr(q, "ABC", INT_MIN), stred_write_name(q, "ABC", 1);
             stred_write_hdr(q, "ABC", 1), stred_write_dash(q, INT_MAX, INT_MIN, -1), stred_write_dash(q, INT_MIN, INT_MIN, INT_MIN);
             return drain(q);
         }, "|A" + std::string(231, ' ') + "||A(stred_write_id: str is NULL)A(stred_write_name: str is NULL)A(stred_write_hdr: str is NULL)"},
        {"stred_glob_to_regexp(NULL / 10^5 *)", [&] {
             return seq({shown(stred_glob_to_regexp(nullptr)), to_string(text(stred_glob_to_regexp(std::string(100000, '*').c_str())).size())});
         }, "NULL200003||A(stred_glob_to_regexp: glob is NULL)"},
        {"stred_replace_regexp(s) with NULLs, maxLen -1 / INT_MIN / INT_MAX, unequal lists", [&] {
             char aaa[4] = "aaa";
             return seq({to_string(stred_replace_regexp(nullptr, 8, prog, "r")), to_string(stred_replace_regexp(s, 8, nullptr, "r")),
                         to_string(stred_replace_regexp(s, 8, prog, nullptr)), to_string(stred_replace_regexp(s, -1, prog, "r")),
                         to_string(stred_replace_regexp(s, INT_MIN, prog, "r")), s, to_string(stred_replace_regexp(aaa, INT_MAX, prog, "b")), aaa,
                         to_string(stred_replace_regexps(nullptr, 8, one, one)), to_string(stred_replace_regexps(s, 8, nullptr, one)),
                         to_string(stred_replace_regexps(s, 8, one, nullptr)), to_string(stred_replace_regexps(s, 8, one, none))});
         }, "00000a3bbb0000||A(stred_replace_regexp: str is NULL)A(stred_replace_regexp: regexp is NULL)"
            "A(stred_replace_regexp: replacement is NULL)A(stred_replace_regexp: str is longer than maxlength)"
            "A(stred_replace_regexp: str is longer than maxlength)A(stred_replace_regexps: str is NULL)"
            "A(stred_replace_regexps: regexps is NULL)A(stred_replace_regexps: replacements is NULL)"
            "A(stred_replace_regexps: # of regexps != # of replacements)"},
        {"replace_self, dissect_block_name, dissect_port_name, bad_spec_name with NULLs and 10^5 A", [&] {
             return seq({shown(stred_replace_self(nullptr, "X")), text(stred_replace_self("SELF.A", nullptr)),
                         to_string(dissect_block_name(nullptr, b, a)), to_string(dissect_block_name("B.A", nullptr, a)),
                         to_string(dissect_block_name("B.A", b, nullptr)), to_string(dissect_block_name((big + ".X").c_str(), b, a)), b, a,
                         to_string(dissect_port_name(nullptr, b, p, a)), to_string(dissect_port_name("B.P.STR", nullptr, p, a)),
                         to_string(dissect_port_name("B.P.STR", b, nullptr, a)), to_string(dissect_port_name("B.P.STR", b, p, nullptr)),
                         to_string(dissect_port_name((big + ".P.STR").c_str(), b, p, a)), b, p, a,
                         stred_bad_spec_name(nullptr, out) == out ? "out" : "?", shown(stred_bad_spec_name("X", nullptr))});
         }, "NULLSELF.A000000000outNULL||A(stred_replace_self: name is NULL)A(dissect_block_name: name is NULL)"
            "A(dissect_block_name: block is NULL)A(dissect_block_name: attribute is NULL)A(dissect_port_name: name is NULL)"
            "A(dissect_port_name: block is NULL)A(dissect_port_name: port is NULL)A(dissect_port_name: attribute is NULL)"
            "A(stred_bad_spec_name: name is NULL)A(stred_bad_spec_name: out is NULL)"},
        {"Fortran forms: NULL, absent and empty fields, unterminated, bad pattern, n LLONG_MAX / -1 / NULL", [&] {
             const int64_t huge = LLONG_MAX, minus = -1;
             std::string r = to_string(STRED_REPLACE_REGEXP_F(nullptr, "a", "b", 8, 1, 1));
             std::memset(field, 0, 8);
             r += seq({to_string(STRED_REPLACE_REGEXP_F(field, "a", "b", 8, 1, 1)), to_string(field[7] == 0), to_string(STRED_REPLACE_REGEXP_F(field, "a", "b", 0, 1, 1))});
             std::memcpy(field, "aaaaaaaa", 8);
             r += seq({to_string(STRED_REPLACE_REGEXP_F(field, "a", "b", 8, 1, 1)), std::string(field, 8)});
             std::memcpy(field, "aa      ", 8);
             return r + seq({to_string(STRED_REPLACE_REGEXP_F(field, "(", "b", 8, 1, 1)), to_string(STRED_REPLACE_REGEXPS_F(field, "a ", "b ", &huge, 8, 2, 2)),
                             to_string(STRED_REPLACE_REGEXPS_F(field, "a ", "b ", &minus, 8, 2, 2)), to_string(STRED_REPLACE_REGEXPS_F(field, "a ", "b ", nullptr, 8, 2, 2)),
                             std::string(field, 8), to_string(STRSTR_F(nullptr, nullptr, 0, 0)), to_string(STRSTR_F("ABCD", "BC  ", 4, 4)), to_string(STRSTR_F("ABCD", "CE", 4, 2))});
         }, "00108bbbbbbbb-1000aa      110||"},
        {"fmt_numbr_max / _dec / wrt_ with widths and decimals at INT_MIN, 0, INT_MAX, NULL buffer", [&] {
             std::string r = seq({fmt_numbr_max(1.5, INT_MIN, buf), ",", fmt_numbr_max(-1.5, 0, buf), ",", fmt_numbr_max(1.5, INT_MAX, buf),
                                  shown(fmt_numbr_max(1.5, 8, nullptr)), shown(fmt_numbr_dec(1.5, 8, 2, nullptr)), ",", fmt_numbr_dec(1.5, INT_MAX, INT_MAX, buf),
                                  ",", fmt_numbr_dec(1.5, INT_MIN, INT_MIN, buf), ",", fmt_numbr_dec(0.0, 8, INT_MIN, buf), ","});
             wrt_numbr_max(q, 1.5, INT_MIN), wrt_numbr_dec(q, 1.5, -1, INT_MIN), wrt_numbr_dec(q, 1.5, 6, INT_MAX);
             return r + drain(q);
         }, "2.,-2.,1.5NULLNULL,1.5,2., 0.0,2.2.   1.5||"},
        {"rtocase with NULL, three variants of \"\"", [] {
             rtocase_destroy(nullptr), rtocase_reset(nullptr);
             rtocase *it = rtocase_existing("");
             std::string r = seq({shown(reinterpret_cast<const char *>(rtocase_existing(nullptr))), shown(reinterpret_cast<const char *>(rtocase_newfile(nullptr))),
                                  shown(rtocase_next(nullptr)), shown(rtocase_next(it)), ",", shown(rtocase_next(it)), ",", shown(rtocase_next(it))});
             rtocase_destroy(it);
             return r;
         }, "NULLNULLNULL,,NULL||A(rtocase_reset: iterator is NULL)A(rtocase_existing: name is NULL)"
            "A(rtocase_newfile: name is NULL)A(rtocase_next: iterator is NULL)"},
        {"path_search with NULL name, ext, path and out; a 10^5-character name", [&] {
             return seq({shown(path_search_nocase(nullptr, ".x", "a;b", b)), shown(path_search_case("n", nullptr, nullptr, nullptr)),
                         shown(path_search_case(big.c_str(), ".x", ";;;", b)), to_string(std::strlen(b))});
         }, "NULLNULLNULL1024||A(path_search: name is NULL)A(path_search: out is NULL)"},
    });
    gl_destroylist(one), gl_destroylist(none), hs_regfree(prog), rtodestroy(q);
}

}  // namespace
