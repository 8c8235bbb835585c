// The regular-expression engine and the name search called as a careless or
// hostile caller would: the engine answers through its error text, the
// search through assertion lines.
#include <climits>
#include <cstring>
#include <string>

#include "hostile.h"
#include "zarnutils/hsregexp.h"

namespace {

using zarn::test::seq;
using zarn::test::shown;
using std::to_string;

const char *names(void *, int32_t item) { return item <= 3 ? "AB" : nullptr; }

// A result followed by the error text it left.
std::string err(const std::string &result) { return result + "/" + shown(hs_get_regerr()); }

TEST(RegexpHostile, EveryEntryWithExtremeArguments) {
    const std::string big(100000, 'a');
    hs_regexp *a = hs_regcomp("a");
    char dest[64];
    const std::vector<zarn::test::HostileRow> rows = {
        {"hs_regcomp(NULL)", [] { return err(shown(reinterpret_cast<char *>(hs_regcomp(nullptr)))); }, "NULL/NULL argument||"},
        {"hs_regcomp(10^5 a)", [&] { return err(shown(reinterpret_cast<char *>(hs_regcomp(big.c_str())))); },
         "NULL/hs_regexp too big||"},
        {"hs_regcomp(\"\") matches everywhere", [] {
             hs_regexp *e = hs_regcomp("");
             std::string r = to_string(hs_regexec(e, ""));
             hs_regfree(e);
             return r;
         }, "1||"},
        {"hs_regexec(NULL, s), (prog, NULL)", [&] {
             return seq({err(to_string(hs_regexec(nullptr, "a"))), err(to_string(hs_regexec(a, nullptr)))});
         }, "0/NULL parameter0/NULL parameter||"},
        {"hs_regexec(prog, 10^5 a) twice", [&] {
             return seq({to_string(hs_regexec(a, big.c_str())), to_string(hs_regexec(a, big.c_str())),
                         to_string(a->endp[0] - a->startp[0])});
         }, "111||"},
        {"hs_regsub(NULL, s, d), (prog, NULL, d), (prog, s, NULL)", [&] {
             hs_regsub(nullptr, "&", dest);
             std::string r = err("");
             hs_regsub(a, nullptr, dest);
             r += err("");
             hs_regsub(a, "&", nullptr);
             return r + err("");
         }, "/NULL parm to hs_regsub/NULL parm to hs_regsub/NULL parm to hs_regsub||"},
        {"hs_regcopy(NULL), hs_regfree(NULL)", [] {
             hs_regfree(nullptr);
             return err(shown(reinterpret_cast<char *>(hs_regcopy(nullptr))));
         }, "NULL/NULL argument||"},
        {"re_free twice, re_exec before re_comp, re_comp(NULL)", [] {
             re_free();
             re_free();
             return seq({to_string(re_exec("a")), shown(re_comp(nullptr)), to_string(re_exec(nullptr))});
         }, "-1NULL argument-1||"},
        {"re_comp(a) then re_exec(NULL)", [] {
             std::string r = seq({shown(re_comp("a")), err(to_string(re_exec(nullptr)))});
             re_free();
             return r;
         }, "NULL0/NULL parameter||"},
        {"rtregex_create(NULL prog / NULL nameOf / count -1 / count INT_MIN)", [&] {
             return seq({shown(reinterpret_cast<char *>(rtregex_create(nullptr, nullptr, 1, names, 8, 1, nullptr))),
                         shown(reinterpret_cast<char *>(rtregex_create(a, nullptr, 1, nullptr, 8, 1, nullptr))),
                         shown(reinterpret_cast<char *>(rtregex_create(a, nullptr, -1, names, 8, 1, nullptr))),
                         shown(reinterpret_cast<char *>(rtregex_create(a, nullptr, INT_MIN, names, 8, 1, nullptr)))});
         }, "NULLNULLNULLNULL||"},
        {"rtregex_limit_search(NULL), rtregex_match(NULL), (r, NULL, NULL), destroy(NULL)", [&] {
             int32_t with = 7;
             rtregex_destroy(nullptr);
             rtregex_destroy_all(nullptr);
             rtregex *r = rtregex_create(a, nullptr, 3, names, 8, 1, nullptr);
             std::string out = seq({to_string(rtregex_limit_search(nullptr, 1, 2)), to_string(rtregex_match(nullptr, dest, &with)),
                                    to_string(rtregex_match(r, nullptr, &with)), to_string(rtregex_match(r, dest, nullptr)),
                                    to_string(with)});
             rtregex_destroy(r);
             return out;
         }, "40007||A(rtregex_limit_search: NULL search pointer)A(rtregex_match: NULL search pointer)"
            "A(rtregex_match: NULL output pointer)A(rtregex_match: NULL output pointer)"},
        {"maxLength INT_MIN, count INT_MAX, limits INT_MIN..INT_MAX and INT_MAX..INT_MIN", [&] {
             hs_regexp *any = hs_regcomp("^$");
             rtregex *r = rtregex_create(any, nullptr, INT_MAX, names, INT_MIN, 1, nullptr);
             int32_t with = 0;
             std::string out = seq({to_string(rtregex_match(r, dest, &with)), dest, to_string(rtregex_match(r, dest, &with)),
                                    to_string(rtregex_limit_search(r, INT_MIN, INT_MAX)), to_string(rtregex_match(r, dest, &with)),
                                    to_string(rtregex_limit_search(r, INT_MAX, INT_MIN)), to_string(rtregex_match(r, dest, &with)),
                                    to_string(rtregex_limit_search(r, INT_MAX, INT_MAX)), to_string(rtregex_match(r, dest, &with))});
             rtregex_destroy_all(r);
             return out;
         }, "12414040||"},
    };
    zarn::test::run_hostile(rows);
    hs_regfree(a);
}

}  // namespace
