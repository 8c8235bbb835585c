// Interned texts and text stores: identity, block limits, failed allocations, hostile callers.
#include <climits>
#include <cstring>

#include "hostile.h"
#include "platform/xalloc.h"
#include "rtsymtab/rtsymtab_internal.h"
#include "zarnutils/rtsymtab.h"

namespace {

using namespace zarn::rtsymtab;
using namespace zarn::test;

TEST(Symtab, IdentityPartsAndGrowth) {
    rtsymtab_shutdown();
    rtsymtab_size_estimate(1000);
    const std::string t = "B1.TEMP";
    const char *p = rtsymtab_add(t.c_str());
    EXPECT_NE(p, t.c_str());
    EXPECT_EQ(rtsymtab_add(p), p);
    EXPECT_NE(rtsymtab_add("B1.TEMp"), p);
    EXPECT_EQ(rtsymtab_add_part("B1.TEMPERATURE", 7), p);
    EXPECT_EQ(rtsymtab_add_part("B1.TEMP", 100), p);
    EXPECT_EQ(rtsymtab_add_part("XYZ", 0), rtsymtab_empty());
    EXPECT_EQ(rtsymtab_add(""), rtsymtab_empty());
    std::vector<std::string> names;
    std::vector<const char *> first;
    for (int i = 0; i < 200000; ++i)
        first.push_back(
            rtsymtab_add(names.emplace_back("FS.B" + std::to_string(i) + ".STREAM.TEMP").c_str()));
    for (std::size_t len : {std::size_t{3000}, std::size_t{16359}, std::size_t{16360}, std::size_t{40000}}) {
        const std::string big(len, static_cast<char>('0' + len % 10));
        const char *q = rtsymtab_add(big.c_str());  // exactly len characters of an unterminated text below
        ASSERT_NE(q, nullptr) << len;
        EXPECT_EQ(rtsymtab_add_part((big + "more").c_str(), static_cast<int64_t>(len)), q) << len;
        EXPECT_EQ(std::strlen(q), len) << len;
    }
    for (std::size_t i = 0; i < names.size(); i += 997) {
        ASSERT_EQ(rtsymtab_add(names[i].c_str()), first[i]) << i;
        ASSERT_STREQ(first[i], names[i].c_str()) << i;
    }
    RTSYMTAB_SHUTDOWN_F();
    EXPECT_STREQ(rtsymtab_add(names[0].c_str()), names[0].c_str()) << "a fresh table after shutdown";
}

// Stores fill blocks from the end; a block with 25 characters or less of room is full.
TEST(Symstor, BlocksFilledAndLeftAtTheLimit) {
    rtsymstor *s = nullptr;
    const char *a = rtsymstor_add(&s, "ABC"), *b = rtsymstor_add(&s, "ABC");
    EXPECT_EQ(b + 4, a);
    EXPECT_STREQ(b, "ABC");
    EXPECT_STREQ(rtsymstor_add_part(&s, "ABCDEF", 2), "AB");
    const char *f = rtsymstor_add(&s, std::string(kBlockChars - 11 - 26 - 1, 'f').c_str());  // 26 left
    EXPECT_EQ(rtsymstor_add(&s, std::string(24, 'g').c_str()) + 25, f);
    EXPECT_EQ(store_blocks(s), 1u);
    rtsymstor_add(&s, "");
    EXPECT_EQ(store_blocks(s), 2u) << "one character left: the next text opens a block";
    rtsymstor_destroy(&s);
    rtsymstor_add(&s, std::string(kBlockChars - 25 - 1, 'h').c_str());
    const char *x = rtsymstor_add(&s, "x"), *o = rtsymstor_add(&s, std::string(16360, 'o').c_str());
    EXPECT_EQ(store_blocks(s), 3u);
    EXPECT_EQ(std::strlen(o), 16360u);
    EXPECT_EQ(rtsymstor_add(&s, "y") + 2, x);
    rtsymstor_destroy(&s);
}

TEST(Symtab, AllocationFailuresAndHostileCallers) {
    rtsymtab_shutdown();
    const std::string own(kOwnBlock, 'x'), key(2000, 'k'), big(100000, 'q');
    rtsymstor *s = nullptr;
    for (long k : {1, 2, 0}) {
        zarn::failalloc_set(k);
        ASSERT_EQ(rtsymtab_add("A") == nullptr, k != 0) << k;
    }
    const char *a = rtsymtab_add("A");
    const std::function<const char *()> calls[] = {[&] { return rtsymtab_add(own.c_str()); },
                                                   [&] { return rtsymtab_add_part(key.c_str(), 1500); },
                                                   [&] { return rtsymstor_add(&s, "x"); }};
    for (const auto &call : calls) {
        zarn::failalloc_set(1);
        EXPECT_EQ(call(), nullptr);
        zarn::failalloc_set(0);
    }
    EXPECT_EQ(s, nullptr);
    EXPECT_EQ(rtsymtab_add("A"), a);
    EXPECT_NE(rtsymtab_add(own.c_str()), nullptr);
    zarn::test::run_hostile({
        {"rtsymtab_add(NULL / 10^5 q), _add_part(NULL / abc by -1, LLONG_MIN, LLONG_MAX, 0), size_estimate",
         [&] {
             rtsymtab_size_estimate(UINT32_MAX);
             rtsymtab_size_estimate(0);
             return seq(
                 {shown(rtsymtab_add(nullptr)), shown(rtsymtab_add_part(nullptr, 3)),
                  shown(rtsymtab_add_part("abc", -1)), shown(rtsymtab_add_part("abc", LLONG_MIN)),
                  shown(rtsymtab_add_part("abc", LLONG_MAX)), shown(rtsymtab_add_part("abc", 0)),
                  std::to_string(rtsymtab_add(big.c_str()) == rtsymtab_add_part(big.c_str(), LLONG_MAX))});
         },
         "NULLNULLNULLNULLabc1||"},
        {"rtsymtab_shutdown twice, RTSYMTAB_SHUTDOWN_F, then use",
         [] {
             rtsymtab_shutdown();
             rtsymtab_shutdown();
             RTSYMTAB_SHUTDOWN_F();
             return seq({"[", rtsymtab_empty(), "]", rtsymtab_add("x")});
         },
         "[]x||"},
        {"rtsymstor_add(NULL / &s with NULL), _add_part(abc by -1, LLONG_MIN, LLONG_MAX), destroy twice and "
         "NULL",
         [&] {
             std::string r = seq(
                 {shown(rtsymstor_add(nullptr, "x")), shown(rtsymstor_add(&s, nullptr)),
                  shown(rtsymstor_add_part(&s, "abc", -1)), shown(rtsymstor_add_part(&s, "abc", LLONG_MIN)),
                  shown(rtsymstor_add_part(nullptr, "abc", 1)), s == nullptr ? "none" : "made",
                  shown(rtsymstor_add_part(&s, "abc", LLONG_MAX)),
                  shown(rtsymstor_add(&s, big.c_str())).substr(0, 1)});
             rtsymstor_destroy(&s);
             rtsymstor_destroy(&s);
             rtsymstor_destroy(nullptr);
             return r + (s == nullptr ? "gone" : "kept");
         },
         "NULLNULLNULLNULLNULLnoneabcqgone||"},
    });
}

}  // namespace
