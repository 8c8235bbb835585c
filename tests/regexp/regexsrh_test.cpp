// Resumable search over the names of a numbered collection, and every entry of the
// module called as a careless or hostile caller would.
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "hostile.h"
#include "platform/xalloc.h"
#include "zarnutils/hsregexp.h"

namespace {

using namespace zarn::test;
using std::to_string;

struct Names {
    std::vector<std::string> items;  // item i is items[i - 1]
    int missingFrom = 0, calls = 0;  // items from missingFrom on have no name
};
const char *name_of(void *collection, int32_t item) {
    auto *n = static_cast<Names *>(collection);
    ++n->calls;
    const bool named = item >= 1 && item <= static_cast<int32_t>(n->items.size()) &&
                       (n->missingFrom == 0 || item < n->missingFrom);
    return named ? n->items[static_cast<std::size_t>(item - 1)].c_str() : nullptr;
}
// Every match until 0 as "item:text" with "+" for a suffixed one; the call that ends clears the flag.
std::string all_matches(rtregex *r) {
    std::string out;
    char buf[64];
    int32_t with = -1;
    for (int32_t item; (item = rtregex_match(r, buf, &with)) != 0;)
        out += " " + to_string(item) + ":" + buf + (with ? "+" : "");
    return with == 0 ? out : out + " flag left";
}

TEST(RegexSearch, SuffixesLimitsCutsAndMissingNames) {
    Names names{{"T1", "P1", "T2", "X"}}, cut{{"ABCDEFGH", "AB", "ABC"}};
    const char *suffixes[] = {"VALUE", "TYPE", nullptr}, *xyz[] = {"XYZ", nullptr};
    hs_regexp *prog = hs_regcomp("^T|E$"), *c = hs_regcomp("C");
    rtregex *r = rtregex_create(prog, &names, 4, name_of, 40, 1, suffixes);
    EXPECT_EQ(all_matches(r),
              " 1:T1 1:T1.VALUE+ 1:T1.TYPE+ 2:P1.VALUE+ 2:P1.TYPE+ 3:T2 3:T2.VALUE+ 3:T2.TYPE+ 4:X.VALUE+ "
              "4:X.TYPE+");
    EXPECT_EQ(all_matches(r), "") << "stays at the end";
    EXPECT_EQ(rtregex_limit_search(r, 2, 3), 4);
    EXPECT_EQ(all_matches(r), " 2:P1.VALUE+ 2:P1.TYPE+ 3:T2 3:T2.VALUE+ 3:T2.TYPE+");
    rtregex_limit_search(r, 3, 100);
    EXPECT_EQ(all_matches(r), " 3:T2 3:T2.VALUE+ 3:T2.TYPE+ 4:X.VALUE+ 4:X.TYPE+")
        << "a limit past the count stops at the count";
    rtregex_destroy(r);
    r = rtregex_create(prog, &names, 4, name_of, 40, 0, suffixes);
    EXPECT_EQ(all_matches(r),
              " 1:T1.VALUE+ 1:T1.TYPE+ 2:P1.VALUE+ 2:P1.TYPE+ 3:T2.VALUE+ 3:T2.TYPE+ 4:X.VALUE+ 4:X.TYPE+");
    rtregex_destroy(r);
    r = rtregex_create(prog, &names, 4, name_of, 40, 1, nullptr);
    EXPECT_EQ(all_matches(r), " 1:T1 3:T2");
    rtregex_destroy_all(r);                              // frees prog too
    r = rtregex_create(c, &cut, 3, name_of, 4, 1, xyz);  // names cut to 4 characters, suffixed ones too
    EXPECT_EQ(all_matches(r), " 1:ABCD 1:ABCD+ 3:ABC 3:ABC.+");
    rtregex_destroy(r);
    cut.missingFrom = 2;
    r = rtregex_create(c, &cut, 3, name_of, 40, 1, nullptr);
    EXPECT_EQ(all_matches(r), " 1:ABCDEFGH");
    const int before = cut.calls;
    const std::string after_the_end = all_matches(r);
    EXPECT_EQ(after_the_end, "");
    EXPECT_EQ(cut.calls, before) << "an ended search asks for no more names";
    rtregex_destroy(r);
    for (long k : {1, 2}) {  // the search, its name buffer
        zarn::failalloc_set(k);
        EXPECT_EQ(rtregex_create(c, &cut, 1, name_of, 8, 1, nullptr), nullptr) << k;
    }
    zarn::failalloc_set(0);
    StderrCapture err;
    rtregex_limit_search(nullptr, 1, 2);
    EXPECT_EQ(err.text().find(
                  "Assertion 'rtregex_limit_search: NULL search pointer' failed in source/regexp/regexsrh:"),
              0u);
    hs_regfree(c);
}

const char *two_names(void *, int32_t item) { return item <= 3 ? "AB" : nullptr; }
// A result followed by the error text it left.
std::string err(const std::string &result) { return result + "/" + shown(hs_get_regerr()); }
std::string ptr(const void *p) { return p != nullptr ? "ptr" : "NULL"; }

TEST(RegexpHostile, EveryEntryWithExtremeArguments) {
    const std::string big(100000, 'a');
    hs_regexp *a = hs_regcomp("a");
    char dest[64];
    int32_t with = 7;
    run_hostile({
        {"hs_regcomp(NULL / 10^5 a / \"\")",
         [&] {
             hs_regexp *e = hs_regcomp("");
             std::string r = seq({err(ptr(hs_regcomp(nullptr))), err(ptr(hs_regcomp(big.c_str()))),
                                  to_string(hs_regexec(e, ""))});
             hs_regfree(e);
             return r;
         },
         "NULL/NULL argumentNULL/hs_regexp too big1||"},
        {"hs_regexec(NULL, s / prog, NULL / prog, 10^5 a twice)",
         [&] {
             return seq({err(to_string(hs_regexec(nullptr, "a"))), err(to_string(hs_regexec(a, nullptr))),
                         to_string(hs_regexec(a, big.c_str())), to_string(hs_regexec(a, big.c_str())),
                         to_string(a->endp[0] - a->startp[0])});
         },
         "0/NULL parameter0/NULL parameter111||"},
        {"hs_regsub(NULL, s, d / prog, NULL, d / prog, s, NULL)",
         [&] {
             std::string r;
             for (auto [p, s, d] :
                  {std::tuple{(hs_regexp *)nullptr, "&", dest}, {a, nullptr, dest}, {a, "&", nullptr}}) {
                 hs_regsub(p, s, d);
                 r += err("");
             }
             return r;
         },
         "/NULL parm to hs_regsub/NULL parm to hs_regsub/NULL parm to hs_regsub||"},
        {"hs_regcopy(NULL), hs_regfree(NULL)",
         [] {
             hs_regfree(nullptr);
             return err(ptr(hs_regcopy(nullptr)));
         },
         "NULL/NULL argument||"},
        {"re_free twice, re_exec before re_comp, re_comp(NULL), re_comp(a) then re_exec(NULL)",
         [] {
             re_free();
             re_free();
             std::string r =
                 seq({to_string(re_exec("a")), shown(re_comp(nullptr)), to_string(re_exec(nullptr)),
                      shown(re_comp("a")), err(to_string(re_exec(nullptr)))});
             re_free();
             return r;
         },
         "-1NULL argument-1NULL0/NULL parameter||"},
        {"rtregex_create(NULL prog / NULL nameOf / count -1 / count INT_MIN)",
         [&] {
             return seq({ptr(rtregex_create(nullptr, nullptr, 1, two_names, 8, 1, nullptr)),
                         ptr(rtregex_create(a, nullptr, 1, nullptr, 8, 1, nullptr)),
                         ptr(rtregex_create(a, nullptr, -1, two_names, 8, 1, nullptr)),
                         ptr(rtregex_create(a, nullptr, INT_MIN, two_names, 8, 1, nullptr))});
         },
         "NULLNULLNULLNULL||"},
        {"rtregex_limit_search(NULL), rtregex_match(NULL / r, NULL, &w / r, d, NULL), destroy(NULL)",
         [&] {
             rtregex_destroy(nullptr);
             rtregex_destroy_all(nullptr);
             rtregex *r = rtregex_create(a, nullptr, 3, two_names, 8, 1, nullptr);
             std::string out = seq({to_string(rtregex_limit_search(nullptr, 1, 2)),
                                    to_string(rtregex_match(nullptr, dest, &with)),
                                    to_string(rtregex_match(r, nullptr, &with)),
                                    to_string(rtregex_match(r, dest, nullptr)), to_string(with)});
             rtregex_destroy(r);
             return out;
         },
         "40007||A(rtregex_limit_search: NULL search pointer)A(rtregex_match: NULL search pointer)"
         "A(rtregex_match: NULL output pointer)A(rtregex_match: NULL output pointer)"},
        {"maxLength INT_MIN, count INT_MAX, limits INT_MIN..INT_MAX, INT_MAX..INT_MIN, INT_MAX..INT_MAX",
         [&] {
             rtregex *r = rtregex_create(hs_regcomp("^$"), nullptr, INT_MAX, two_names, INT_MIN, 1, nullptr);
             std::string out = seq(
                 {to_string(rtregex_match(r, dest, &with)), dest, to_string(rtregex_match(r, dest, &with))});
             for (auto [f, l] : {std::pair{INT_MIN, INT_MAX}, {INT_MAX, INT_MIN}, {INT_MAX, INT_MAX}})
                 out += seq(
                     {to_string(rtregex_limit_search(r, f, l)), to_string(rtregex_match(r, dest, &with))});
             rtregex_destroy_all(r);
             return out;
         },
         "12414040||"},
    });
    hs_regfree(a);
}

}  // namespace
