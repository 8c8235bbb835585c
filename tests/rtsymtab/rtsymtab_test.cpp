// Interned texts: identity of equal texts, storage blocks and shutdown.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/xalloc.h"
#include "rtsymtab/rtsymtab_internal.h"
#include "zarnutils/rtsymtab.h"

namespace {

using zarn::rtsymtab::kBlockChars;

TEST(Symtab, EqualTextsShareOnePointer) {
    rtsymtab_shutdown();
    const char *empty = rtsymtab_empty();
    ASSERT_NE(empty, nullptr);
    EXPECT_STREQ(empty, "");
    EXPECT_EQ(rtsymtab_add(""), empty) << "the empty text is in from the start";

    std::string a = "B1.TEMP";
    const char *p = rtsymtab_add(a.c_str());
    ASSERT_NE(p, nullptr);
    EXPECT_NE(p, a.c_str()) << "a copy is kept";
    EXPECT_STREQ(p, "B1.TEMP");
    EXPECT_EQ(rtsymtab_add(std::string("B1.TEMP").c_str()), p);
    EXPECT_EQ(rtsymtab_add(p), p);
    EXPECT_NE(rtsymtab_add("B1.TEMp"), p);

    // Partial texts: the first n characters, fewer when the text is shorter.
    EXPECT_EQ(rtsymtab_add_part("B1.TEMPERATURE", 7), p);
    EXPECT_EQ(rtsymtab_add_part("B1.TEMP", 100), p);
    EXPECT_EQ(rtsymtab_add_part("XYZ", 0), empty);
    // A field without terminator is read no further than n.
    char field[4] = {'A', 'B', 'C', 'D'};
    EXPECT_STREQ(rtsymtab_add_part(field, 4), "ABCD");
    std::string longkey(3000, 'K');
    const char *lk = rtsymtab_add(longkey.c_str());
    EXPECT_EQ(rtsymtab_add_part((longkey + "tail").c_str(), 3000), lk) << "long partial key";
}

TEST(Symtab, IdentityAcrossBlocksAndGrowth) {
    rtsymtab_shutdown();
    rtsymtab_size_estimate(1000);
    // About 40 characters each: 200000 of them fill hundreds of blocks and
    // make the table grow several times.
    std::vector<const char *> first;
    std::vector<std::string> names;
    for (int i = 0; i < 200000; ++i) {
        names.push_back("FLOWSHEET.BLOCK" + std::to_string(i) + ".STREAM_OUT.TEMPERATURE");
        first.push_back(rtsymtab_add(names.back().c_str()));
        ASSERT_NE(first.back(), nullptr);
    }
    for (std::size_t i = 0; i < names.size(); i += 7) {
        ASSERT_EQ(rtsymtab_add(names[i].c_str()), first[i]) << names[i];
        ASSERT_STREQ(first[i], names[i].c_str()) << "stored text intact";
    }
    // Long texts: 16359 characters still fit an ordinary block, 16360 and
    // more get one of their own; all are interned alike.
    for (std::size_t len : {std::size_t{16359}, std::size_t{16360}, std::size_t{40000}}) {
        std::string big(len, 'L');
        big[0] = static_cast<char>('0' + len % 10);
        const char *p = rtsymtab_add(big.c_str());
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(std::strlen(p), len);
        EXPECT_EQ(rtsymtab_add(big.c_str()), p) << len;
        EXPECT_EQ(rtsymtab_add_part((big + "more").c_str(), static_cast<int64_t>(len)), p) << len;
    }
    EXPECT_EQ(rtsymtab_add(names[12345].c_str()), first[12345]) << "unchanged by the long ones";
    RTSYMTAB_SHUTDOWN_F();
    // A new table after shutdown: still correct, texts are stored afresh.
    const char *again = rtsymtab_add(names[0].c_str());
    EXPECT_STREQ(again, names[0].c_str());
    EXPECT_EQ(rtsymtab_add(names[0].c_str()), again);
    rtsymtab_shutdown();
}

TEST(Symstor, BlocksFilledAndLeftAtTheLimit) {
    rtsymstor *store = nullptr;
    const char *a = rtsymstor_add(&store, "ABC");
    ASSERT_NE(store, nullptr);
    const char *b = rtsymstor_add(&store, "ABC");
    EXPECT_NE(a, b) << "the store does not intern";
    EXPECT_STREQ(b, "ABC");
    EXPECT_EQ(b + 4, a) << "filled from the end of the block";
    EXPECT_STREQ(rtsymstor_add_part(&store, "ABCDEF", 2), "AB");
    EXPECT_EQ(zarn::rtsymtab::store_blocks(store), 1u);

    // 11 bytes used so far; fill the block to leave exactly 26 characters:
    // still in the list of blocks with room, so a 25-byte text goes there.
    std::string fill(kBlockChars - 11 - 26 - 1, 'f');
    const char *f = rtsymstor_add(&store, fill.c_str());
    const char *fits = rtsymstor_add(&store, std::string(24, 'g').c_str());
    EXPECT_EQ(fits + 25, f) << "same block, just in front";
    EXPECT_EQ(zarn::rtsymtab::store_blocks(store), 1u);
    // One character is left now: the block is full, the next text opens another.
    rtsymstor_add(&store, "");
    EXPECT_EQ(zarn::rtsymtab::store_blocks(store), 2u);
    rtsymstor_destroy(&store);
    EXPECT_EQ(store, nullptr);

    // Leaving at 25: a block with 25 characters free takes nothing more.
    std::string leave(kBlockChars - 25 - 1, 'h');
    rtsymstor_add(&store, leave.c_str());
    rtsymstor_add(&store, "x");
    EXPECT_EQ(zarn::rtsymtab::store_blocks(store), 2u);
    // A text of 16360 characters or more has its own block and leaves the
    // current block's room for later texts.
    std::string own(16360, 'o');
    const char *o = rtsymstor_add(&store, own.c_str());
    EXPECT_EQ(zarn::rtsymtab::store_blocks(store), 3u);
    EXPECT_EQ(std::strlen(o), own.size());
    const char *y = rtsymstor_add(&store, "y");
    const char *x = rtsymstor_add(&store, "z");
    EXPECT_EQ(x + 2, y);
    EXPECT_EQ(zarn::rtsymtab::store_blocks(store), 3u);
    rtsymstor_destroy(&store);
}

}  // namespace

// Every allocation of the table and the stores, failed in turn: NULL, and
// what was interned before stays.
TEST(Symtab, AllocationFailures) {
    rtsymtab_shutdown();
    for (long k = 1; k <= 2; ++k) {  // the store record, its first block
        zarn::failalloc_set(k);
        EXPECT_EQ(rtsymtab_add("A"), nullptr) << k;
    }
    zarn::failalloc_set(0);
    const char *a = rtsymtab_add("A");
    ASSERT_NE(a, nullptr);
    const std::string own(zarn::rtsymtab::kOwnBlock, 'x');       // a block of its own
    const std::string key(2000, 'k');                            // a heap copy of the key
    rtsymstor *store = nullptr;
    const std::function<const char *()> calls[] = {
        [&] { return rtsymtab_add(own.c_str()); },
        [&] { return rtsymtab_add_part(key.c_str(), 1500); },
        [&] { return rtsymstor_add(&store, "x"); },
    };
    for (const auto &call : calls) {
        zarn::failalloc_set(1);
        EXPECT_EQ(call(), nullptr);
        zarn::failalloc_set(0);
    }
    EXPECT_EQ(store, nullptr);
    EXPECT_EQ(rtsymtab_add("A"), a);
    EXPECT_NE(rtsymtab_add(own.c_str()), nullptr);
}
