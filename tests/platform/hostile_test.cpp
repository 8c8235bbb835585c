// The platform helpers every entry point relies on, at the ends of their
// argument types: checked arithmetic, Fortran argument helpers, packed text.
#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/checked.h"
#include "platform/fargs.h"
#include "platform/packtext.h"
#include "platform/xalloc.h"

namespace {

TEST(PlatformHostile, CheckedArithmeticAtTheEnds) {
    struct Run {
        int64_t first, count, size;
        bool within;
    } runs[] = {
        {1, 0, 0, true},
        {0, 0, 5, false},
        {6, 0, 5, true},
        {7, 0, 5, false},
        {5, 1, 5, true},
        {5, 2, 5, false},
        {1, 5, 5, true},
        {1, -1, 5, false},
        {LLONG_MAX, 1, LLONG_MAX, true},
        {LLONG_MAX, 2, LLONG_MAX, false},
        {LLONG_MIN, 1, 5, false},
        {1, LLONG_MAX, LLONG_MAX, true},
        {2, LLONG_MAX, LLONG_MAX, false},
        {1, 1, LLONG_MIN, false},
        {INT_MAX, INT_MAX, INT_MAX, false},
    };
    for (const Run &r : runs)
        EXPECT_EQ(zarn::run_within(r.first, r.count, r.size), r.within) << r.first << "," << r.count;
    EXPECT_FALSE(zarn::index_within(0, 5));
    EXPECT_TRUE(zarn::index_within(5, 5));
    EXPECT_FALSE(zarn::index_within(6, 5));
    EXPECT_FALSE(zarn::index_within(LLONG_MIN, LLONG_MAX));

    std::size_t bytes = 7;
    EXPECT_FALSE(zarn::byte_count(-1, 8, &bytes));
    EXPECT_FALSE(zarn::byte_count(LLONG_MAX, 8, &bytes));
    EXPECT_FALSE(zarn::byte_count(LLONG_MAX / 4, 8, &bytes));  // fits size_t, not the allocator
    EXPECT_EQ(bytes, 7u);                                      // untouched when refused
    EXPECT_TRUE(zarn::byte_count(PTRDIFF_MAX / 8, 8, &bytes));
    EXPECT_TRUE(zarn::byte_count(PTRDIFF_MAX, 1, &bytes));  // exactly the limit is allowed
    EXPECT_TRUE(zarn::byte_count(10, 8, &bytes, 80));
    EXPECT_FALSE(zarn::byte_count(11, 8, &bytes, 80));
    EXPECT_TRUE(zarn::byte_count(0, 8, &bytes));
    EXPECT_EQ(bytes, 0u);
    int64_t out = 3;
    EXPECT_FALSE(zarn::checked_mul<int64_t>(LLONG_MAX, 2, &out));
    EXPECT_FALSE(zarn::checked_add<int64_t>(LLONG_MAX, 1, &out));
    EXPECT_FALSE(zarn::checked_add<int64_t>(LLONG_MIN, -1, &out));
    EXPECT_EQ(out, 3);
    EXPECT_EQ(zarn::clamp_count(LLONG_MIN, 4), 0);
    EXPECT_EQ(zarn::clamp_count(LLONG_MAX, 4), 4);
    EXPECT_TRUE(zarn::fits_int32(INT32_MIN));
    EXPECT_TRUE(zarn::fits_int32(INT32_MAX));
    EXPECT_FALSE(zarn::fits_int32(int64_t{INT32_MAX} + 1));
    EXPECT_FALSE(zarn::fits_int32(int64_t{INT32_MIN} - 1));
}

TEST(PlatformHostile, FortranArgumentsAndPackedText) {
    const int64_t lmin = LLONG_MIN, lmax = LLONG_MAX, big = int64_t{INT32_MAX} + 1;
    // Out-of-range 64-bit values stay out of every 32-bit range check.
    EXPECT_EQ(zarn::fortran::narrow(&lmin), -INT32_MAX);
    EXPECT_EQ(zarn::fortran::narrow(&lmax), INT32_MAX);
    EXPECT_EQ(zarn::fortran::narrow(&big), INT32_MAX);
    EXPECT_EQ(zarn::fortran::narrow(int64_t{INT32_MIN}), -INT32_MAX);
    EXPECT_EQ(zarn::fortran::narrow(static_cast<const int64_t *>(nullptr)), 0);
    EXPECT_EQ(zarn::fortran::deref(static_cast<const int32_t *>(nullptr), int32_t{-1}), -1);
    EXPECT_EQ(zarn::fortran::logical(true), -1);
    EXPECT_EQ(zarn::fortran::handle(static_cast<int *const *>(nullptr)), nullptr);
    zarn::fortran::store(static_cast<int64_t *>(nullptr), 5);  // an output left out

    // Four characters from the start of each 8-byte word, eight with per = 8.
    char words[24];
    std::memset(words, '.', sizeof words);
    zarn::pack_text(words, "ABCDEFGHIJ", 10, 4);
    EXPECT_EQ(std::string(words, 24), "ABCD....EFGH....IJ......");
    char text[11] = {};
    zarn::unpack_text(text, words, 10, 4);
    EXPECT_STREQ(text, "ABCDEFGHIJ");
    zarn::pack_text(words, "0123456789", 10, 8);
    EXPECT_EQ(std::string(words, 24), "0123456789GH....IJ......");
    EXPECT_EQ(zarn::packed_offset(5, 4), 9u);
    EXPECT_EQ(zarn::packed_offset(8, 8), 8u);
}

TEST(PlatformHostile, FailureSwitchCountsAndFails) {
    zarn::failalloc_set(0);
    void *a = zarn::xmalloc(8);
    EXPECT_EQ(zarn::failalloc_count(), 1);
    zarn::failalloc_set(2);
    void *b = zarn::xcalloc(1, 8);
    errno = 0;
    EXPECT_EQ(zarn::xrealloc(a, 16), nullptr);  // the second: fails, a stays
    EXPECT_EQ(errno, ENOMEM);
    void *c = zarn::xstrdup("x");  // the switch went off after one failure
    zarn::failalloc_set(1, true);
    EXPECT_EQ(zarn::xmalloc(1), nullptr);
    EXPECT_EQ(zarn::xstrdup("y"), nullptr);
    EXPECT_EQ(zarn::failalloc_set(0), 2);
    ASSERT_NE(c, nullptr);
    EXPECT_STREQ(static_cast<char *>(c), "x");
    std::free(a);
    std::free(b);
    std::free(c);
}

}  // namespace
