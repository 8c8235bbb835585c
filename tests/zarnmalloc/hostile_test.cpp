// The plex allocator and packed text called as a careless or hostile caller
// would, with its two documented fatal paths as death tests.
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

#include "hostile.h"
#include "zarnutils/except.h"
#include "zarnutils/zarnmalloc.h"

namespace {

using zarn::test::seq;
using std::to_string;

// The call's result, or "raised" when it raised rtmalloc_allocate_failed.
template <class F>
std::string guarded(F f) {
    volatile int64_t result = 0;
    volatile bool raised = false;
    ZARN_TRY
        result = f();
    ZARN_EXCEPT(rtmalloc_allocate_failed)
        raised = true;
    ZARN_END_TRY;
    return raised ? "raised" : to_string(result);
}

void noop() {}

TEST(PlexHostile, EveryEntryWithExtremeArguments) {
    const int32_t imin = INT_MIN, zero = 0, eight = 8, minus = -1;
    const int64_t lmin = LLONG_MIN, lmax = LLONG_MAX;
    int64_t words[2];
    double reals[1];
    char text[9] = "ABCDEFGH";
    auto fill = [&] { std::memset(words, '#', sizeof words); };
    const std::vector<zarn::test::HostileRow> rows = {
        {"RTO_DMALLOC / RTO_IMALLOC / RTO_CMALLOC(NULL, INT_MIN)", [&] {
             return seq({to_string(RTO_DMALLOC(nullptr)), to_string(RTO_IMALLOC(&imin)), to_string(RTO_CMALLOC(&minus))});
         }, "000|!! rto_dmalloc: Invalid element count -1\n!! rto_imalloc: Invalid element count -2147483648\n"
            "!! rto_cmalloc: Invalid element count -1\n|"},
        {"RTO_HUGEDMALLOC / RTO_HUGEIMALLOC(LLONG_MIN)",
         [&] { return seq({to_string(RTO_HUGEDMALLOC(&lmin)), to_string(RTO_HUGEIMALLOC(&lmin))}); },
         "00|!! rto_dmalloc: Invalid element count -9223372036854775808\n"
         "!! rto_hugeimalloc: Invalid element count -9223372036854775808\n|"},
        {"RTO_HUGEDMALLOC(LLONG_MAX): bytes that cannot be represented", [&] { return guarded([&] { return RTO_HUGEDMALLOC(&lmax); }); },
         "raised|!! rto_dmalloc: \n  bytes requested = -8\n Total memory available is about 0 bytes\n"
         " Insufficient virtual memory to solve this model.\n"
         " Please increase the size of the swap file by atleast 9992 bytes and retry.\n|"},
        {"RTO_HUGEIREALLOC(&p, LLONG_MAX) keeps the block", [&] {
             int64_t p = RTO_IMALLOC(&eight);
             ZARN_ib0[p] = 42;
             std::string r = guarded([&] { return RTO_HUGEIREALLOC(&p, &lmax); });
             // The message names the old index, which differs from run to run.
             std::string his = zarn::test::drain(rtHisDev);
             const std::string index = "= " + to_string(p) + "\n";
             if (his.find(index) != std::string::npos) his.replace(his.find(index), index.size(), "= IDX\n");
             r += "," + to_string(ZARN_ib0[p]) + "/" + his;
             RTO_IFREE(&p);
             return r;
         }, "raised,42/!! rto_irealloc: " + std::string(std::strerror(ENOMEM)) + "\n  bytes requested = -8\n  ib1         = " +
                [] { char b[32]; std::snprintf(b, sizeof b, "%p", static_cast<void *>(ZARN_PLEX)); return std::string(b); }() +
                "\n  index           = IDX\n Insufficient virtual memory to solve this model.\n "
                " Please increase the size of the swap file and retry.\n ||"},
        {"reallocation with NULL and negative counts", [&] {
             int64_t d = RTO_DMALLOC(&zero), i = RTO_IMALLOC(&zero), c = RTO_CMALLOC(&zero);
             std::string r = seq({to_string(RTO_DREALLOC(nullptr, nullptr)), to_string(RTO_DREALLOC(&d, &imin) == d),
                                  to_string(RTO_HUGEDREALLOC(&d, &lmin) == d), to_string(RTO_IREALLOC(&i, nullptr) == i),
                                  to_string(RTO_HUGEIREALLOC(&i, &lmin) == i), to_string(RTO_CREALLOC(&c, &imin) == c)});
             RTO_DFREE(&d), RTO_IFREE(&i), RTO_CFREE(&c);
             return r;
         }, "011111|!! rto_dmalloc: Invalid element count -1\n!! rto_drealloc: Invalid element count -2147483648\n"
            "!! rto_drealloc: Invalid element count -9223372036854775808\n!! rto_irealloc: Invalid element count -1\n"
            "!! rto_irealloc: Invalid element count -9223372036854775808\n!! rto_crealloc: Invalid element count -2147483648\n|"},
        {"frees of NULL, of 0 and twice", [&] {
             int64_t z = 0, d = RTO_DMALLOC(&eight);
             RTO_DFREE(nullptr), RTO_IFREE(nullptr), RTO_CFREE(nullptr), RTO_DFREE(&z), RTO_IFREE(&z), RTO_CFREE(&z);
             RTO_DFREE(&d), RTO_DFREE(&d);
             return seq({to_string(z), to_string(d)});
         }, "00||"},
        {"RTO_MALLOC_INIT(NULL, NULL, NULL), FORTRAN_MALLOC_INIT twice", [] {
             return seq({to_string(RTO_MALLOC_INIT(nullptr, nullptr, nullptr, 0)), to_string(U3PLG_RTO_MALLOC_INIT(nullptr, nullptr, nullptr, 0)),
                         to_string(FORTRAN_MALLOC_INIT()), to_string(U3PLG_FORTRAN_MALLOC_INIT())});
         }, "1100|!! rto_malloc_init: The memory system has already been initialized with different base addresses.\n"
            "Severe programming error\n!! rto_malloc_init: The memory system has already been initialized with different "
            "base addresses.\nSevere programming error\n|"},
        {"pointer conversions of NULL", [] {
             const auto b0 = static_cast<int64_t>(reinterpret_cast<uintptr_t>(ZARN_b0));
             const auto cb0 = static_cast<int64_t>(reinterpret_cast<uintptr_t>(ZARN_cb0));
             return seq({to_string(rto_dptr2plex_c(nullptr) == -b0 / 8), to_string(RTO_DPTR2PLEX(nullptr) == -b0 / 8),
                         to_string(rto_iptr2plex_c(nullptr) == -b0 / 8), to_string(RTO_IPTR2PLEX(nullptr) == -b0 / 8),
                         to_string(rto_cptr2plex_c(nullptr) == -cb0)});
         }, "11111||"},
        {"packed text with NULL text, NULL words, NULL count, INT_MIN", [&] {
             fill();
             RTO_I42STR(nullptr, words, &eight, 8), RTO_I42STR(text, nullptr, &eight, 8), RTO_I42STR(text, words, nullptr, 8);
             RTO_STR2I4(nullptr, text, &eight, 8), RTO_STR2I4(words, nullptr, &eight, 8), RTO_STR2I4(words, text, &imin, 8);
             U3PLG_RTO_I42STR(text, words, &imin, 8), U3PLG_RTO_STR2I4(words, text, nullptr, 8);
             rto_int2str_c(nullptr, words, 8, 0), rto_int2str_c(text, nullptr, 8, 0), rto_str2int_c(nullptr, "AB", 8);
             return seq({text, std::string(reinterpret_cast<char *>(words), 16)});
         }, "ABCDEFGH################||"},
        {"packed text with INT_MAX counts stops at the hidden length", [&] {
             fill();
             const int32_t imax = INT_MAX;
             RTO_STR2I4(words, "WXYZ", &imax, 4);
             char out[5] = "....";
             RTO_I42STR(out, words, &imax, 3);
             return seq({std::string(reinterpret_cast<char *>(words), 16), out});
         }, "WXYZ############WXY.||"},
        {"rto_int2str_c(text, words, INT_MIN, 0), rto_str2int_c(words, NULL / text, 0 / INT_MIN)", [&] {
             fill();
             rto_str2int_c(words, "AB", INT_MIN);  // nothing to blank, nothing to pack
             std::string r = std::string(reinterpret_cast<char *>(words), 16);
             rto_str2int_c(words, nullptr, 0);  // one word of blanks
             r += std::string(reinterpret_cast<char *>(words), 16);
             char t[4] = "xyz";
             rto_int2str_c(t, words, INT_MIN, 0);
             return r + "[" + t + "]";
         }, "################        ########[]||"},
        {"double text with NULLs and INT_MIN / INT_MAX counts", [&] {
             const int32_t imax = INT_MAX;
             std::memset(reals, '-', sizeof reals);
             RTO_STR2R8(reals, "ABCDEFGHIJ", &imax, 8), RTO_STR2R8(nullptr, "A", &imax, 1), RTO_STR2R8(reals, nullptr, &imax, 1);
             char out[9] = "........";
             RTO_R82STR(out, reals, &imin, 8), RTO_R82STR(nullptr, reals, &imax, 8), U3PLG_RTO_R82STR(out, nullptr, &imax, 8);
             std::string r = out;
             RTO_R82STR(out, reals, &imax, 8);
             return r + "," + out;
         }, "........,ABCDEFGH||"},
        {"GETFUNCPTR_F(NULL, &out), (f, NULL); avail_mem; debug_mem", [] {
             int64_t out = 7;
             GETFUNCPTR_F(nullptr, &out);
             GETFUNCPTR_F(noop, nullptr);
             debug_mem();
             return seq({to_string(out), to_string(avail_mem())});
         }, "00|debug_mem not available in zarnmalloc build\n|"},
    };
    zarn::test::run_hostile(rows);
}

// The two documented ways the allocator ends the process.
TEST(PlexHostileDeathTest, FatalPaths) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const char *off = reinterpret_cast<const char *>(&ZARN_b0[10]) + 4;
    EXPECT_EXIT(rto_dptr2plex_c(reinterpret_cast<const double *>(off)), testing::ExitedWithCode(2),
                "!! rto_dptr2plex_c: Unrepresentable double pointer 0x[0-9a-f]+ \\(0x[0-9a-f]+\\)");
    int64_t *const ip = reinterpret_cast<int64_t *>(const_cast<char *>(off));
    EXPECT_EXIT(RTO_IPTR2PLEX(&ip), testing::ExitedWithCode(2),
                "!! rto_iptr2plex_c: Unrepresentable int pointer");
    const int64_t lmax = LLONG_MAX;
    EXPECT_DEATH(RTO_HUGEIMALLOC(&lmax), "Uncaught exception Allocation failed");
}

}  // namespace
