// Resumable search over the names of a numbered collection.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "capture.h"
#include "platform/xalloc.h"
#include "zarnutils/hsregexp.h"

namespace {

struct Names {
    std::vector<std::string> items;  // item i is items[i - 1]
    int missingFrom = 0;             // items from here on have no name
    int calls = 0;
};

const char *name_of(void *collection, int32_t item) {
    auto *n = static_cast<Names *>(collection);
    ++n->calls;
    if (item < 1 || item > static_cast<int32_t>(n->items.size())) return nullptr;
    if (n->missingFrom != 0 && item >= n->missingFrom) return nullptr;
    return n->items[static_cast<std::size_t>(item - 1)].c_str();
}

// Every (item, text, withSuffix) the search returns, until 0.
std::vector<std::pair<int, std::string>> all_matches(rtregex *r) {
    std::vector<std::pair<int, std::string>> out;
    char buf[64];
    int32_t with = -1;
    for (int32_t item; (item = rtregex_match(r, buf, &with)) != 0;) {
        out.emplace_back(item, std::string(buf) + (with ? "+" : ""));
    }
    EXPECT_EQ(with, 0) << "the last call clears the suffix flag";
    return out;
}

using Hits = std::vector<std::pair<int, std::string>>;

TEST(RegexSearch, BareNamesSuffixesAndLimits) {
    Names names{{"T1", "P1", "T2", "X"}};
    const char *suffixes[] = {"VALUE", "TYPE", nullptr};
    hs_regexp *prog = hs_regcomp("^T|E$");
    rtregex *r = rtregex_create(prog, &names, 4, name_of, 40, 1, suffixes);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(all_matches(r), (Hits{{1, "T1"}, {1, "T1.VALUE+"}, {1, "T1.TYPE+"}, {2, "P1.VALUE+"},
                                    {2, "P1.TYPE+"}, {3, "T2"}, {3, "T2.VALUE+"}, {3, "T2.TYPE+"},
                                    {4, "X.VALUE+"}, {4, "X.TYPE+"}}));
    char buf[64];
    int32_t with = 0;
    EXPECT_EQ(rtregex_match(r, buf, &with), 0) << "stays at the end";

    EXPECT_EQ(rtregex_limit_search(r, 2, 3), 4);
    EXPECT_EQ(all_matches(r), (Hits{{2, "P1.VALUE+"}, {2, "P1.TYPE+"}, {3, "T2"}, {3, "T2.VALUE+"},
                                    {3, "T2.TYPE+"}}));
    rtregex_limit_search(r, 3, 100);
    EXPECT_EQ(all_matches(r).size(), 5u) << "a limit past the count stops at the count";
    rtregex_destroy(r);

    // Without bare names only the suffixed forms are tried.
    r = rtregex_create(prog, &names, 4, name_of, 40, 0, suffixes);
    EXPECT_EQ(all_matches(r).size(), 8u);
    rtregex_destroy(r);
    // No suffixes: the bare names alone.
    r = rtregex_create(prog, &names, 4, name_of, 40, 1, nullptr);
    EXPECT_EQ(all_matches(r), (Hits{{1, "T1"}, {3, "T2"}}));
    rtregex_destroy_all(r);  // frees prog too
}

TEST(RegexSearch, CutNamesMissingNamesAndBadArguments) {
    Names names{{"ABCDEFGH", "AB", "ABC"}};
    const char *suffixes[] = {"XYZ", nullptr};
    hs_regexp *prog = hs_regcomp("C");
    // Names are cut to 4 characters before the test, suffixed ones too.
    rtregex *r = rtregex_create(prog, &names, 3, name_of, 4, 1, suffixes);
    EXPECT_EQ(all_matches(r), (Hits{{1, "ABCD"}, {1, "ABCD+"}, {3, "ABC"}, {3, "ABC.+"}}));
    rtregex_destroy(r);

    // A missing name ends the search for good.
    names.missingFrom = 2;
    r = rtregex_create(prog, &names, 3, name_of, 40, 1, nullptr);
    EXPECT_EQ(all_matches(r), (Hits{{1, "ABCDEFGH"}}));
    int before = names.calls;
    char buf[64];
    int32_t with = 0;
    EXPECT_EQ(rtregex_match(r, buf, &with), 0);
    EXPECT_EQ(names.calls, before) << "an ended search asks for no more names";
    rtregex_destroy(r);

    EXPECT_EQ(rtregex_create(nullptr, &names, 3, name_of, 40, 1, nullptr), nullptr);
    EXPECT_EQ(rtregex_create(prog, &names, 3, nullptr, 40, 1, nullptr), nullptr);
    EXPECT_EQ(rtregex_create(prog, &names, -1, name_of, 40, 1, nullptr), nullptr);
    r = rtregex_create(prog, &names, 0, name_of, 40, 1, nullptr);
    EXPECT_EQ(rtregex_match(r, buf, &with), 0) << "empty collection";
    rtregex_destroy(r);

    zarn::test::StderrCapture err;
    EXPECT_EQ(rtregex_limit_search(nullptr, 1, 2), 4);
    EXPECT_NE(err.text().find("Assertion 'rtregex_limit_search: NULL search pointer' failed in "
                              "source/regexp/regexsrh:"),
              std::string::npos);
    rtregex_destroy(nullptr);
    rtregex_destroy_all(nullptr);
    hs_regfree(prog);
}

}  // namespace

TEST(RegexSearch, AllocationFailures) {
    hs_regexp *prog = hs_regcomp("A");
    Names names{{"A"}};
    for (long k = 1; k <= 2; ++k) {  // the search, its name buffer
        zarn::failalloc_set(k);
        EXPECT_EQ(rtregex_create(prog, &names, 1, name_of, 8, 1, nullptr), nullptr) << k;
    }
    zarn::failalloc_set(0);
    hs_regfree(prog);
}
