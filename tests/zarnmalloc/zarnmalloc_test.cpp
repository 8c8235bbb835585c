// Plex-indexed blocks: anchors, index arithmetic, reallocation, failure
// diagnostics and raises, pointer conversion and packed text.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "capture.h"
#include "platform/xalloc.h"
#include "zarnmalloc/zarnmalloc_internal.h"
#include "zarnutils/except.h"
#include "zarnutils/zarnmalloc.h"

// Under AddressSanitizer a request that cannot be met must come back as NULL,
// as it does from the plain heap, so that the library's own failure path runs.
extern "C" const char *__asan_default_options() { return "allocator_may_return_null=1"; }

namespace {

// "label" followed by the pointer as %p prints it.
std::string format_ptr(const char *label, const void *p) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "%s%p\n", label, p);
    return buf;
}

uintptr_t plex_addr() { return reinterpret_cast<uintptr_t>(ZARN_PLEX); }

unsigned double_shift(int64_t p) {
    return static_cast<unsigned char>(reinterpret_cast<char *>(&ZARN_b0[p])[-1]);
}

void expect_bases_on_plex() {
    EXPECT_EQ(reinterpret_cast<uintptr_t>(ZARN_b0), plex_addr() - 8);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(ZARN_ib0), plex_addr() - 8);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(ZARN_cb0), plex_addr() - 1);
}

// (The load-time call is checked by the Fortran program against the shared library;
// a statically linked program sets the anchors on first use.)
TEST(PlexAnchors, BasesOnPlexAndOtherAnchorsRefused) {
    int32_t one = 1;
    int64_t p = RTO_DMALLOC(&one);
    RTO_DFREE(&p);
    expect_bases_on_plex();
    EXPECT_EQ(ZARN_RGLOB[0], 1e35);
    EXPECT_EQ(ZARN_GLOBAL[0], 99999999);
    EXPECT_STREQ(rtmalloc_allocate_failed.reason, "Allocation failed");

    zarn::test::HistoryCapture his;
    EXPECT_EQ(FORTRAN_MALLOC_INIT(), 0);  // same anchors again: accepted
    EXPECT_EQ(U3PLG_FORTRAN_MALLOC_INIT(), 0);
    EXPECT_EQ(his.text(), "");

    double other[4];
    // Any one anchor different is enough to refuse (the text: see the hostile table).
    EXPECT_EQ(RTO_MALLOC_INIT(other, reinterpret_cast<int64_t *>(ZARN_PLEX), reinterpret_cast<char *>(ZARN_PLEX), 1), 1);
    EXPECT_EQ(RTO_MALLOC_INIT(ZARN_PLEX, reinterpret_cast<int64_t *>(other), reinterpret_cast<char *>(ZARN_PLEX), 1), 1);
    EXPECT_EQ(RTO_MALLOC_INIT(ZARN_PLEX, reinterpret_cast<int64_t *>(ZARN_PLEX), reinterpret_cast<char *>(other), 1), 1);
    expect_bases_on_plex();  // unchanged by the refusals
}

TEST(PlexIndex, DoublePlacementForEveryAnchorAlignment) {
    using zarn::zarnmalloc::place_double_block;
    // Blocks above and below anchors of every byte alignment.
    const uintptr_t anchors[] = {0x100000, 0x100003, 0x100007, 0x7fff0001, 0x7fff0008};
    const uintptr_t blocks[] = {0x200000, 0x200001, 0x200005, 0x1000, 0x1006, 0x100000};
    for (uintptr_t a : anchors) {
        for (uintptr_t b : blocks) {
            const auto at = place_double_block(b, a);
            ASSERT_GE(at.shift, 1u);
            ASSERT_LE(at.shift, 8u);
            // Element p of the double view sits at anchor - 8 + 8p: the first element.
            EXPECT_EQ(a - 8u + 8u * static_cast<uint64_t>(at.index), b + at.shift)
                << std::hex << a << " " << b;
        }
    }
    EXPECT_EQ(place_double_block(0x1000, 0x1000).index, 2);
    EXPECT_EQ(place_double_block(0x1000, 0x1000).shift, 8u);
    EXPECT_LT(place_double_block(0x1000, 0x2000).index, 0);
    EXPECT_EQ(zarn::zarnmalloc::integer_block_index(0x1000, 0x1000), 1);
    EXPECT_EQ(zarn::zarnmalloc::integer_block_index(0x0ff8, 0x1000), 0);
    EXPECT_EQ(zarn::zarnmalloc::char_block_index(0x0ff0, 0x1000), -15);
}

TEST(PlexDouble, AllocateWriteReallocateFree) {
    int32_t zero = 0;
    int64_t p0 = RTO_DMALLOC(&zero);
    ASSERT_NE(p0, 0);
    EXPECT_GE(double_shift(p0), 1u);
    EXPECT_LE(double_shift(p0), 8u);
    // The spare element holds the shift, so an empty block still has a valid index.
    EXPECT_EQ(rto_dptr2plex_c(&ZARN_b0[p0]), p0);
    RTO_DFREE(&p0);
    EXPECT_EQ(p0, 0);
    RTO_DFREE(&p0);  // index 0: nothing

    int32_t n = 1000;
    int64_t p = RTO_DMALLOC(&n);
    for (int i = 0; i < n; ++i) ZARN_b0[p + i] = i * 0.5;
    EXPECT_EQ(rto_dptr2plex_c(&ZARN_b0[p]), p);
    EXPECT_EQ(rto_dptr2plex_c(&ZARN_b0[p + 999]), p + 999);
    double *q = &ZARN_b0[p];
    EXPECT_EQ(RTO_DPTR2PLEX(&q), p);

    // Grow far enough that the block moves; the values follow the new index.
    int32_t big = 4000000;
    int64_t pb = RTO_DREALLOC(&p, &big);
    for (int i = 0; i < n; ++i) ASSERT_EQ(ZARN_b0[pb + i], i * 0.5) << i;
    ZARN_b0[pb + big - 1] = -1.0;
    int32_t small = 10;
    int64_t ps = RTO_DREALLOC(&pb, &small);
    for (int i = 0; i < small; ++i) ASSERT_EQ(ZARN_b0[ps + i], i * 0.5);
    int64_t hugeN = 20;
    int64_t ph = RTO_HUGEDREALLOC(&ps, &hugeN);
    for (int i = 0; i < small; ++i) ASSERT_EQ(ZARN_b0[ph + i], i * 0.5);
    RTO_DFREE(&ph);
    EXPECT_EQ(ph, 0);

    int64_t none = 0;
    int64_t fresh = RTO_DREALLOC(&none, &small);  // index 0 allocates afresh
    ASSERT_NE(fresh, 0);
    ZARN_b0[fresh + 9] = 1.0;
    RTO_DFREE(&fresh);
    int64_t h = RTO_HUGEDMALLOC(&hugeN);
    ZARN_b0[h + 19] = 2.0;
    RTO_DFREE(&h);
}

TEST(PlexIntegerAndChar, AllocateReallocateConvertFree) {
    int32_t n = 64;
    int64_t p = RTO_IMALLOC(&n);
    ASSERT_NE(p, 0);
    for (int i = 0; i < n; ++i) ZARN_ib0[p + i] = INT64_C(1) << 40 | i;
    EXPECT_EQ(rto_iptr2plex_c(&ZARN_ib0[p + 3]), p + 3);
    int64_t *q = &ZARN_ib0[p];
    EXPECT_EQ(RTO_IPTR2PLEX(&q), p);
    int32_t big = 1 << 20;
    int64_t pb = RTO_IREALLOC(&p, &big);
    for (int i = 0; i < n; ++i) ASSERT_EQ(ZARN_ib0[pb + i], INT64_C(1) << 40 | i);
    int64_t hn = 70;
    int64_t ph = RTO_HUGEIREALLOC(&pb, &hn);
    EXPECT_EQ(ZARN_ib0[ph + 63], INT64_C(1) << 40 | 63);
    RTO_IFREE(&ph);
    EXPECT_EQ(ph, 0);
    RTO_IFREE(&ph);
    int64_t hp = RTO_HUGEIMALLOC(&hn);
    ZARN_ib0[hp + 69] = 5;
    RTO_IFREE(&hp);

    int32_t cn = 5;
    int64_t c = RTO_CMALLOC(&cn);
    ASSERT_NE(c, 0);
    std::memcpy(&ZARN_cb0[c], "hello", 6);  // n + 1 bytes: room for a NUL
    EXPECT_EQ(rto_cptr2plex_c(&ZARN_cb0[c + 2]), c + 2);
    int32_t cbig = 300000;
    int64_t cb = RTO_CREALLOC(&c, &cbig);
    EXPECT_STREQ(&ZARN_cb0[cb], "hello");
    RTO_CFREE(&cb);
    EXPECT_EQ(cb, 0);
    RTO_CFREE(&cb);
}

// The source name given with rtmalloc_allocate_failed, or "returned".
const char *raised_from(const std::function<int64_t()> &call) {
    const char *volatile file = "returned";
    ZARN_TRY
        (void)call();
    ZARN_EXCEPT(rtmalloc_allocate_failed)
        file = zarn_except_frame_.file;
    ZARN_END_TRY;
    return file;
}

// Every allocation and reallocation entry with its n-th allocation made to
// fail: the documented diagnosis, the raise, and the old block left as it was.
TEST(PlexFailure, EveryEntryDiagnosesAndRaises) {
    zarn::test::HistoryCapture his;
    const int32_t n = 4;
    const int64_t hn = 4;
    int64_t dp = 0, ip = 0, cp = 0;
    const std::string dindex = "  index           = ";
    struct Row {
        const char *what;
        std::function<int64_t()> call;
        std::string text;  // for reallocations: text before and after the anchor line
    };
    // Allocation: 4 elements are 40 bytes (32 for the elements, 8 spare); the
    // first probe (0.9 of 40) succeeds: 36 bytes, 32 - 36 + 10000 to add.
    const std::string alloc8 = "  bytes requested = 32\n Total memory available is about 36 bytes\n"
                               " Insufficient virtual memory to solve this model.\n"
                               " Please increase the size of the swap file by atleast 9996 bytes and retry.\n";
    const std::string tail = " Insufficient virtual memory to solve this model.\n "
                             " Please increase the size of the swap file and retry.\n ";
    const std::string enomem = std::string(std::strerror(ENOMEM)) + "\n  bytes requested = 32\n";
    dp = RTO_DMALLOC(&n);
    ip = RTO_IMALLOC(&n);
    cp = RTO_CMALLOC(&n);
    for (int k = 0; k < n; ++k) ZARN_b0[dp + k] = 1.5 + k, ZARN_ib0[ip + k] = 7 + k, ZARN_cb0[cp + k] = 'a';
    const Row rows[] = {
        {"RTO_DMALLOC", [&] { return RTO_DMALLOC(&n); }, "!! rto_dmalloc: \n" + alloc8},
        {"RTO_HUGEDMALLOC", [&] { return RTO_HUGEDMALLOC(&hn); }, "!! rto_dmalloc: \n" + alloc8},
        {"RTO_IMALLOC", [&] { return RTO_IMALLOC(&n); }, "!! rto_imalloc: \n" + alloc8},
        {"RTO_HUGEIMALLOC", [&] { return RTO_HUGEIMALLOC(&hn); }, "!! rto_hugeimalloc: \n" + alloc8},
        // 5 bytes: 4.5 probed, 4 - 4 + 10000 to add.
        {"RTO_CMALLOC", [&] { return RTO_CMALLOC(&n); },
         "!! rto_cmalloc: \n  bytes requested = 4\n Total memory available is about 4 bytes\n"
         " Insufficient virtual memory to solve this model.\n"
         " Please increase the size of the swap file by atleast 10000 bytes and retry.\n"},
        {"RTO_DREALLOC", [&] { return RTO_DREALLOC(&dp, &n); },
         "!! rto_drealloc: " + enomem + format_ptr("  b1              = ", ZARN_PLEX) + dindex +
             std::to_string(dp) + "\n" + tail},
        {"RTO_HUGEDREALLOC", [&] { return RTO_HUGEDREALLOC(&dp, &hn); },
         "!! rto_drealloc: " + enomem + format_ptr("  b1              = ", ZARN_PLEX) + dindex +
             std::to_string(dp) + "\n" + tail},
        {"RTO_IREALLOC", [&] { return RTO_IREALLOC(&ip, &n); },
         "!! rto_irealloc: " + enomem + format_ptr("  ib1             = ", ZARN_PLEX) + dindex +
             std::to_string(ip) + "\n" + tail},
        {"RTO_HUGEIREALLOC", [&] { return RTO_HUGEIREALLOC(&ip, &hn); },
         "!! rto_irealloc: " + enomem + format_ptr("  ib1         = ", ZARN_PLEX) + dindex +
             std::to_string(ip) + "\n" + tail},
        {"RTO_CREALLOC", [&] { return RTO_CREALLOC(&cp, &n); },
         "!! rto_crealloc: " + std::string(std::strerror(ENOMEM)) + "\n  bytes requested = 4\n" +
             format_ptr("  cb1             = ", ZARN_PLEX) + tail},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        zarn::failalloc_set(1);
        EXPECT_STREQ(raised_from(row.call), "source/zarnmalloc/zarnmalloc");  // the call did not return
        zarn::failalloc_set(0);
        EXPECT_EQ(his.text(), row.text);
        EXPECT_EQ(CII_Except_stack, nullptr);
    }
    for (int k = 0; k < n; ++k) {  // the old blocks are intact
        EXPECT_EQ(ZARN_b0[dp + k], 1.5 + k);
        EXPECT_EQ(ZARN_ib0[ip + k], 7 + k);
        EXPECT_EQ(ZARN_cb0[cp + k], 'a');
    }
    RTO_DFREE(&dp);
    RTO_IFREE(&ip);
    RTO_CFREE(&cp);
}

TEST(PackedText, IntegerPackingRoundTripsAndLeavesSkippedBytes) {
    int64_t ints[4];
    std::memset(ints, 0x55, sizeof ints);
    const int32_t n = 10;
    RTO_STR2I4(ints, "ABCDEFGHIJ", &n, 10);
    const auto *bytes = reinterpret_cast<const unsigned char *>(ints);
    EXPECT_EQ(std::memcmp(bytes, "ABCD", 4), 0);
    EXPECT_EQ(std::memcmp(bytes + 8, "EFGH", 4), 0);
    EXPECT_EQ(std::memcmp(bytes + 16, "IJ", 2), 0);
    for (int k : {4, 5, 6, 7, 12, 15, 18, 19, 24}) EXPECT_EQ(bytes[k], 0x55) << k;
    char text[16];
    std::memset(text, '#', sizeof text);
    U3PLG_RTO_I42STR(text, ints, &n, sizeof text);
    EXPECT_EQ(std::string(text, 11), "ABCDEFGHIJ#");  // no NUL added

    // The hidden length bounds both directions.
    const int32_t tooMany = 12;
    std::memset(text, '#', sizeof text);
    RTO_I42STR(text, ints, &tooMany, 3);
    EXPECT_EQ(std::string(text, 4), "ABC#");
    U3PLG_RTO_STR2I4(ints, "xy", &tooMany, 2);
    EXPECT_EQ(std::memcmp(bytes, "xyCD", 4), 0);

    // rto_int2str_c: NUL after the last non-blank unless blanks are kept.
    int64_t packed[2];
    rto_str2int_c(packed, "AB", 8);
    char out[9];
    std::memset(out, '#', sizeof out);
    rto_int2str_c(out, packed, 8, 0);
    EXPECT_STREQ(out, "AB");
    std::memset(out, '#', sizeof out);
    rto_int2str_c(out, packed, 8, 1);
    EXPECT_EQ(std::string(out, 9), "AB      #");
    rto_str2int_c(packed, nullptr, 8);
    std::memset(out, '#', sizeof out);
    rto_int2str_c(out, packed, 8, 0);
    EXPECT_STREQ(out, "");
}

TEST(PackedText, BlankFillCoversWholeWordsOnly) {
    int64_t ints[4];
    const auto *bytes = reinterpret_cast<const unsigned char *>(ints);
    struct Case {
        int32_t n;
        size_t blanked;
    };
    for (const Case &c : {Case{1, 8}, Case{4, 8}, Case{5, 16}, Case{8, 16}, Case{9, 24},
                          Case{0, 8}, Case{-4, 0}, Case{INT32_MIN, 0}}) {
        std::memset(ints, 0x55, sizeof ints);
        rto_str2int_c(ints, nullptr, c.n);
        for (size_t k = 0; k < sizeof ints; ++k) {
            ASSERT_EQ(bytes[k], k < c.blanked ? ' ' : 0x55) << c.n << " " << k;
        }
    }
    // Longer text is cut at n; shorter text leaves blanks.
    std::memset(ints, 0x55, sizeof ints);
    rto_str2int_c(ints, "ABCDEFGHIJ", 6);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(bytes), 16), "ABCD    EF      ");
    EXPECT_EQ(bytes[16], 0x55);
}

TEST(PackedText, DoubleCopiesFunctionAddressAndStubs) {
    double words[2] = {0, 0};
    const int32_t n = 11;
    RTO_STR2R8(words, "VARIABLE_01", &n, 11);
    char back[12] = {};
    RTO_R82STR(back, words, &n, 11);
    EXPECT_STREQ(back, "VARIABLE_01");
    std::memset(back, 0, sizeof back);
    U3PLG_RTO_R82STR(back, words, &n, 4);
    EXPECT_STREQ(back, "VARI");

    int64_t addr = 0;
    GETFUNCPTR_F(reinterpret_cast<void (*)(void)>(&debug_mem), &addr);
    EXPECT_EQ(addr, reinterpret_cast<intptr_t>(&debug_mem));
}

}  // namespace
