// Every string editor called as a careless or hostile caller would.
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "hostile.h"
#include "zarnutils/gllist.h"
#include "zarnutils/stred.h"

namespace {

using zarn::test::seq;
using zarn::test::shown;
using std::to_string;

// Runs f on a copy of text in a buffer of `room` bytes and shows the buffer.
template <class F>
std::string edited(const std::string &text, std::size_t room, F f) {
    std::string buf(room, '#');
    std::memcpy(buf.data(), text.c_str(), text.size() + 1);
    f(buf.data());
    return buf.c_str();
}

std::string owned(char *s) {
    std::string out = shown(s);
    std::free(s);
    return out;
}

TEST(StredHostile, EveryEntryWithExtremeArguments) {
    const std::string big(100000, 'A'), blanks(100000, ' ');
    const int64_t words[2] = {0x44434241, 0x48474645};  // "ABCD", "EFGH" in the low halves
    const double reals[1] = {0};
    char out[16] = "untouched", b[1025], p[1025], a[1025];
    rtopipe *q = create_queue_rtopipe();
    auto queued = [&] { return zarn::test::drain(q); };
    hs_regexp *prog = hs_regcomp("a");
    gl_list_t *one = gl_create(), *none = gl_create();
    gl_addtoend(one, prog);
    char field[8];
    auto setf = [&](const char *t) { std::memcpy(field, t, 8); };
    const std::vector<zarn::test::HostileRow> rows = {
        {"stred_upper_case(NULL)", [] { stred_upper_case(nullptr); return ""; }, "||A(stred_upper_case: str is NULL)"},
        {"stred_lower_case(NULL)", [] { stred_lower_case(nullptr); return ""; }, "||A(stred_lower_case: str is NULL)"},
        {"stred_upper_case_list(NULL)", [] { stred_upper_case_list(nullptr); return ""; },
         "||A(stred_upper_case_list: list is NULL)"},
        {"stred_i4_to_string(out, 8, words, LLONG_MAX)",
         [&] { stred_i4_to_string(out, 8, words, LLONG_MAX); return std::string(out); }, "ABCDEFG||"},
        {"stred_i4_to_string(out, 8, words, LLONG_MIN)",
         [&] { stred_i4_to_string(out, 8, words, LLONG_MIN); return std::string(out); }, "||"},
        {"stred_i4_to_string(out, LLONG_MIN, words, 1)",
         [&] { std::strcpy(out, "kept"); stred_i4_to_string(out, LLONG_MIN, words, 1); return std::string(out); }, "kept||"},
        {"stred_i4_to_string(NULL, 8, words, 1)", [&] { stred_i4_to_string(nullptr, 8, words, 1); return ""; },
         "||A(stred_i4_to_string: dest is NULL)"},
        {"stred_i4_to_string(out, 8, NULL, 1)",
         [&] { stred_i4_to_string(out, 8, nullptr, 1); return std::string(out); }, "||A(stred_i4_to_string: words is NULL)"},
        {"stred_r8_to_string(out, 4, reals, LLONG_MAX)",
         [&] { stred_r8_to_string(out, 4, reals, LLONG_MAX); return to_string(std::strlen(out)); }, "0||"},
        {"stred_r8_to_string(NULL, 8, NULL, INT_MAX)", [&] { stred_r8_to_string(nullptr, 8, nullptr, INT_MAX); return ""; },
         "||A(stred_r8_to_string: dest is NULL)"},
        {"stred_r8_to_string(out, 8, NULL, 1)",
         [&] { stred_r8_to_string(out, 8, nullptr, 1); return std::string(out); }, "||A(stred_r8_to_string: words is NULL)"},
        {"stred_remove_trailing_blanks(10^5 blanks)",
         [&] { return edited(blanks, blanks.size() + 1, stred_remove_trailing_blanks); }, "||"},
        {"stred_remove_trailing_blanks(NULL)", [] { stred_remove_trailing_blanks(nullptr); return ""; },
         "||A(stred_remove_trailing_blanks: str is NULL)"},
        {"name rules of \"\"", [] {
             return seq({to_string(stred_valid_name("")), to_string(stred_rtopt_name("")), to_string(stred_rtopt_object("")),
                         to_string(stred_special_id("")), to_string(stred_self_string("")), to_string(stred_IsNumeric("")),
                         shown(stred_is_glob(""))});
         }, "000000NULL||"},
        {"name rules of 10^5 A", [&] {
             return to_string(stred_valid_name(big.c_str())) + to_string(stred_rtopt_name(big.c_str())) +
                    to_string(stred_rtopt_object(big.c_str())) + to_string(stred_special_id(big.c_str())) +
                    to_string(stred_IsNumeric(big.c_str()));
         }, "11100||"},
        {"name rules of NULL", [] {
             return seq({to_string(stred_valid_name(nullptr)), to_string(stred_rtopt_name(nullptr)),
                         to_string(stred_rtopt_object(nullptr)), to_string(stred_special_id(nullptr)),
                         to_string(stred_self_string(nullptr)), to_string(stred_IsNumeric(nullptr)), shown(stred_is_glob(nullptr))});
         }, "000000NULL||A(stred_valid_name: str is NULL)A(stred_rtopt_name: str is NULL)"
            "A(stred_rtopt_object: str is NULL)A(stred_special_id: str is NULL)A(stred_self_string: str is NULL)"
            "A(stred_IsNumeric: str is NULL)A(stred_is_glob: str is NULL)"},
        {"stred_caseless_cmp(NULL, NULL), (NULL, a), (a, NULL)", [] {
             return seq({to_string(stred_caseless_cmp(nullptr, nullptr)), to_string(stred_caseless_cmp(nullptr, "a")),
                         to_string(stred_caseless_cmp("a", nullptr))});
         }, "0-11||A(stred_caseless_cmp: first str is NULL)A(stred_caseless_cmp: first str is NULL)"
            "A(stred_caseless_cmp: second str is NULL)"},
        {"stred_matching_name(NULL, NULL), (NULL, [a]), (x, [])", [&] {
             return seq({to_string(stred_matching_name(nullptr, nullptr)), to_string(stred_matching_name(nullptr, one)),
                         to_string(stred_matching_name("x", none))});
         }, "101||A(stred_matching_name: name is NULL)"},
        {"writers with NULL text", [&] {
             stred_write_id(q, nullptr);
             stred_write_name(q, nullptr, 5);
             stred_write_hdr(q, nullptr, 5);
             return queued();
         }, "||A(stred_write_id: str is NULL)A(stred_write_name: str is NULL)A(stred_write_hdr: str is NULL)"},
        {"writers with widths 0, INT_MIN, 1", [&] {
             stred_write_name(q, "ABC", 0);
             stred_write_name(q, "ABC", INT_MIN);
             stred_write_hdr(q, "ABC", INT_MIN);
             stred_write_name(q, "ABC", 1);
             stred_write_hdr(q, "ABC", 1);
             return queued();
         }, "|A||"},
        {"stred_write_dash(q, INT_MAX, INT_MIN, -1)",
         [&] { stred_write_dash(q, INT_MAX, INT_MIN, -1); return queued(); }, std::string(231, ' ') + "||"},
        {"stred_write_dash(q, INT_MIN, INT_MIN, INT_MIN)",
         [&] { stred_write_dash(q, INT_MIN, INT_MIN, INT_MIN); return queued(); }, "||"},
        {"stred_glob_to_regexp(NULL)", [] { return shown(stred_glob_to_regexp(nullptr)); },
         "NULL||A(stred_glob_to_regexp: glob is NULL)"},
        {"stred_glob_to_regexp(10^5 *)", [] { return to_string(std::strlen(owned(stred_glob_to_regexp(std::string(100000, '*').c_str())).c_str())); },
         "200003||"},
        {"stred_replace_regexp(NULL, 8, prog, r), (s, 8, NULL, r), (s, 8, prog, NULL)", [&] {
             char s[8] = "a";
             return seq({to_string(stred_replace_regexp(nullptr, 8, prog, "r")), to_string(stred_replace_regexp(s, 8, nullptr, "r")),
                         to_string(stred_replace_regexp(s, 8, prog, nullptr)), s});
         }, "000a||A(stred_replace_regexp: str is NULL)A(stred_replace_regexp: regexp is NULL)"
            "A(stred_replace_regexp: replacement is NULL)"},
        {"stred_replace_regexp(s, -1 and INT_MIN, prog, r)", [&] {
             char s[8] = "a";
             return seq({to_string(stred_replace_regexp(s, -1, prog, "r")), to_string(stred_replace_regexp(s, INT_MIN, prog, "r")), s});
         }, "00a||A(stred_replace_regexp: str is longer than maxlength)A(stred_replace_regexp: str is longer than maxlength)"},
        {"stred_replace_regexp(s, INT_MAX, prog, b)", [&] {
             char s[4] = "aaa";
             return seq({to_string(stred_replace_regexp(s, INT_MAX, prog, "b")), s});
         }, "3bbb||"},
        {"stred_replace_regexps(NULLs), unequal lists", [&] {
             char s[8] = "a";
             return seq({to_string(stred_replace_regexps(nullptr, 8, one, one)), to_string(stred_replace_regexps(s, 8, nullptr, one)),
                         to_string(stred_replace_regexps(s, 8, one, nullptr)), to_string(stred_replace_regexps(s, 8, one, none))});
         }, "0000||A(stred_replace_regexps: str is NULL)A(stred_replace_regexps: regexps is NULL)"
            "A(stred_replace_regexps: replacements is NULL)A(stred_replace_regexps: # of regexps != # of replacements)"},
        {"stred_replace_self(NULL, X), (SELF.A, NULL)", [] {
             return seq({shown(stred_replace_self(nullptr, "X")), owned(stred_replace_self("SELF.A", nullptr))});
         }, "NULLSELF.A||A(stred_replace_self: name is NULL)"},
        {"dissect_block_name with NULLs", [&] {
             return seq({to_string(dissect_block_name(nullptr, b, a)), to_string(dissect_block_name("B.A", nullptr, a)),
                         to_string(dissect_block_name("B.A", b, nullptr)), b, a});
         }, "000||A(dissect_block_name: name is NULL)A(dissect_block_name: block is NULL)"
            "A(dissect_block_name: attribute is NULL)"},
        {"dissect_block_name of 10^5 A + .X", [&] { return seq({to_string(dissect_block_name((big + ".X").c_str(), b, a)), b, a}); }, "0||"},
        {"dissect_port_name with NULLs", [&] {
             return seq({to_string(dissect_port_name(nullptr, b, p, a)), to_string(dissect_port_name("B.P.STR", nullptr, p, a)),
                         to_string(dissect_port_name("B.P.STR", b, nullptr, a)), to_string(dissect_port_name("B.P.STR", b, p, nullptr))});
         }, "0000||A(dissect_port_name: name is NULL)A(dissect_port_name: block is NULL)"
            "A(dissect_port_name: port is NULL)A(dissect_port_name: attribute is NULL)"},
        {"dissect_port_name of 10^5 A + .P.STR", [&] { return seq({to_string(dissect_port_name((big + ".P.STR").c_str(), b, p, a)), b, p, a}); }, "0||"},
        {"stred_bad_spec_name(NULL, out), (X, NULL)", [&] {
             return seq({shown(stred_bad_spec_name(nullptr, out) == out ? "out" : "?"), shown(stred_bad_spec_name("X", nullptr))});
         }, "outNULL||A(stred_bad_spec_name: name is NULL)A(stred_bad_spec_name: out is NULL)"},
        {"STRED_REPLACE_REGEXP_F(NULL, a, b, 8, 1, 1)", [] { return to_string(STRED_REPLACE_REGEXP_F(nullptr, "a", "b", 8, 1, 1)); }, "0||"},
        {"STRED_REPLACE_REGEXP_F(absent field), field of length 0", [&] {
             std::memset(field, 0, 8);
             const int64_t r = STRED_REPLACE_REGEXP_F(field, "a", "b", 8, 1, 1);
             return seq({to_string(r), to_string(field[7] == 0), to_string(STRED_REPLACE_REGEXP_F(field, "a", "b", 0, 1, 1))});
         }, "010||"},
        {"STRED_REPLACE_REGEXP_F(unterminated aaaaaaaa, a, b)", [&] {
             setf("aaaaaaaa");
             return seq({to_string(STRED_REPLACE_REGEXP_F(field, "a", "b", 8, 1, 1)), std::string(field, 8)});
         }, "8bbbbbbbb||"},
        {"STRED_REPLACE_REGEXP_F(field, bad pattern)", [&] {
             setf("aa      ");
             return seq({to_string(STRED_REPLACE_REGEXP_F(field, "(", "b", 8, 1, 1)), std::string(field, 8)});
         }, "-1aa      ||"},
        {"STRED_REPLACE_REGEXPS_F(field, ..., n = LLONG_MAX, -1, NULL)", [&] {
             setf("aa      ");
             const int64_t huge = LLONG_MAX, minus = -1;
             return seq({to_string(STRED_REPLACE_REGEXPS_F(field, "a ", "b ", &huge, 8, 2, 2)),
                         to_string(STRED_REPLACE_REGEXPS_F(field, "a ", "b ", &minus, 8, 2, 2)),
                         to_string(STRED_REPLACE_REGEXPS_F(field, "a ", "b ", nullptr, 8, 2, 2)), std::string(field, 8)});
         }, "000aa      ||"},
        {"STRSTR_F(NULL, NULL), unterminated fields", [] {
             return seq({to_string(STRSTR_F(nullptr, nullptr, 0, 0)), to_string(STRSTR_F("ABCD", "BC  ", 4, 4)),
                         to_string(STRSTR_F("ABCD", "CE", 4, 2))});
         }, "110||"},
        {"fmt_numbr_max(1.5, INT_MIN / 0 / INT_MAX), NULL buffer", [&] {
             char buf[1100];
             return seq({fmt_numbr_max(1.5, INT_MIN, buf), ",", fmt_numbr_max(-1.5, 0, buf), ",", fmt_numbr_max(1.5, INT_MAX, buf),
                         shown(fmt_numbr_max(1.5, 8, nullptr)), shown(fmt_numbr_dec(1.5, 8, 2, nullptr))});
         }, "2.,-2.,1.5NULLNULL||"},
        {"fmt_numbr_dec(1.5, w, d) at the extremes", [&] {
             char buf[1100];
             return seq({fmt_numbr_dec(1.5, INT_MAX, INT_MAX, buf), ",", fmt_numbr_dec(1.5, INT_MIN, INT_MIN, buf), ",",
                         fmt_numbr_dec(0.0, 8, INT_MIN, buf)});
         }, "1.5,2., 0.0||"},
        {"wrt_numbr_max / wrt_numbr_dec with negative widths and INT_MAX decimals", [&] {
             wrt_numbr_max(q, 1.5, INT_MIN);
             wrt_numbr_dec(q, 1.5, -1, INT_MIN);
             wrt_numbr_dec(q, 1.5, 6, INT_MAX);
             return queued();
         }, "2.2.   1.5||"},
        {"rtocase with NULL", [] {
             rtocase_destroy(nullptr);
             rtocase_reset(nullptr);
             return seq({shown(reinterpret_cast<const char *>(rtocase_existing(nullptr))),
                         shown(reinterpret_cast<const char *>(rtocase_newfile(nullptr))), shown(rtocase_next(nullptr))});
         }, "NULLNULLNULL||A(rtocase_reset: iterator is NULL)A(rtocase_existing: name is NULL)"
            "A(rtocase_newfile: name is NULL)A(rtocase_next: iterator is NULL)"},
        {"rtocase_next three times on \"\"", [] {
             rtocase *it = rtocase_existing("");
             std::string r = seq({shown(rtocase_next(it)), ",", shown(rtocase_next(it)), ",", shown(rtocase_next(it))});
             rtocase_destroy(it);
             return r;
         }, ",,NULL||"},
        {"path_search_nocase(NULL, ...), (name, NULL, NULL, NULL)", [&] {
             return seq({shown(path_search_nocase(nullptr, ".x", "a;b", b)), shown(path_search_case("n", nullptr, nullptr, nullptr))});
         }, "NULLNULL||A(path_search: name is NULL)A(path_search: out is NULL)"},
        {"path_search_case(10^5-character name, ext, ;;;)", [&] {
             return seq({shown(path_search_case(big.c_str(), ".x", ";;;", b)), to_string(std::strlen(b))});
         }, "NULL1024||"},
    };
    zarn::test::run_hostile(rows);
    gl_destroylist(one);
    gl_destroylist(none);
    hs_regfree(prog);
    rtodestroy(q);
}

}  // namespace
