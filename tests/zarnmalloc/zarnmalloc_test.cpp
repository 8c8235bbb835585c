// Plex-indexed blocks: anchors, reallocation, failure diagnostics and raises,
// pointer conversion, packed text, and the caller who passes anything at all.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <functional>
#include <string>

#include "hostile.h"
#include "platform/xalloc.h"
#include "zarnutils/except.h"
#include "zarnutils/zarnmalloc.h"

// Under AddressSanitizer an unmeetable request must come back as NULL, as from the plain heap.
extern "C" const char *__asan_default_options() { return "allocator_may_return_null=1"; }

namespace {

using std::string, std::to_string, zarn::test::seq;

string plex_line(const char *label) {
    char b[128];
    std::snprintf(b, sizeof b, "%s%p\n", label, static_cast<void *>(ZARN_PLEX));
    return b;
}
int64_t at(const void *p) { return static_cast<int64_t>(reinterpret_cast<uintptr_t>(p)); }
string bytes(const void *p, size_t n) { return string(static_cast<const char *>(p), n); }
// The numbers in the order written (a braced list is evaluated left to right).
string cat(std::initializer_list<long long> v) {
    string s;
    std::for_each(v.begin(), v.end(), [&](long long x) { s += to_string(x); });
    return s;
}

// The call's result, or the source named by its raise of rtmalloc_allocate_failed.
string outcome(const std::function<int64_t()> &call) {
    volatile int64_t result = 0;
    const char *volatile file = nullptr;
    ZARN_TRY
    result = call();
    ZARN_EXCEPT(rtmalloc_allocate_failed)
    file = zarn_except_frame_.file;
    ZARN_END_TRY;
    return file != nullptr ? string(file) : to_string(result);
}
// The same with the call's first allocation failing.
string first_fails(const std::function<int64_t()> &call) {
    zarn::failalloc_set(1, false, true);
    const string r = outcome(call);
    zarn::failalloc_set(0);
    return r;
}
const string kRaised = "source/zarnmalloc/zarnmalloc";
const string kReallocTail =
    " Insufficient virtual memory to solve this model.\n  Please increase the size of the swap file and "
    "retry.\n ";
string alloc_text(const char *fn, int req, int avail, int add) {
    return "!! " + string(fn) + ": \n  bytes requested = " + to_string(req) +
           "\n Total memory available is about " + to_string(avail) +
           " bytes\n Insufficient virtual memory to solve this model.\n Please increase the size of the swap "
           "file by atleast " +
           to_string(add) + " bytes and retry.\n";
}
string re(const char *fn, const char *label, int req, const string &index) {
    return "!! rto_" + string(fn) + ": " + std::strerror(ENOMEM) + "\n  bytes requested = " + to_string(req) +
           "\n" + plex_line(label) + index + kReallocTail;
}
string idx(int64_t i) { return "  index           = " + to_string(i) + "\n"; }

// Every allocation entry with its first allocation failed: the documented
// diagnosis, the raise, and the old block left as it was.
TEST(Plex, AllocationFailureDiagnosesAndRaises) {
    zarn::test::HistoryCapture his;
    const int32_t n = 4;
    const int64_t hn = 4;
    int64_t dp = RTO_DMALLOC(&n), ip = RTO_IMALLOC(&n), cp = RTO_CMALLOC(&n);
    for (int k = 0; k < n; ++k) {
        ZARN_b0[dp + k] = 1.5 + k;
        ZARN_ib0[ip + k] = 7 + k;
        ZARN_cb0[cp + k] = 'a';
    }
    // 4 elements are 40 bytes; the probe at 0.9 of that succeeds: 36 available, 32 - 36 + 10000 to add.
    const string d = alloc_text("rto_dmalloc", 32, 36, 9996),
                 dre = re("drealloc", "  b1              = ", 32, idx(dp));
#define CALL(x) [&] { return x; }
    const struct {
        std::function<int64_t()> call;
        string text;
    } rows[] = {{CALL(RTO_DMALLOC(&n)), d},
                {CALL(RTO_HUGEDMALLOC(&hn)), d},
                {CALL(RTO_IMALLOC(&n)), alloc_text("rto_imalloc", 32, 36, 9996)},
                {CALL(RTO_HUGEIMALLOC(&hn)), alloc_text("rto_hugeimalloc", 32, 36, 9996)},
                {CALL(RTO_CMALLOC(&n)), alloc_text("rto_cmalloc", 4, 4, 10000)},
                {CALL(RTO_DREALLOC(&dp, &n)), dre},
                {CALL(RTO_HUGEDREALLOC(&dp, &hn)), dre},
                {CALL(RTO_IREALLOC(&ip, &n)), re("irealloc", "  ib1             = ", 32, idx(ip))},
                {CALL(RTO_HUGEIREALLOC(&ip, &hn)), re("irealloc", "  ib1         = ", 32, idx(ip))},
                {CALL(RTO_CREALLOC(&cp, &n)), re("crealloc", "  cb1             = ", 4, "")}};
#undef CALL
    for (const auto &row : rows)
        EXPECT_EQ(seq({first_fails(row.call), his.text(), CII_Except_stack ? "stack left" : ""}),
                  kRaised + row.text);
    for (int k = 0; k < n; ++k)
        EXPECT_EQ(seq({to_string(ZARN_b0[dp + k]), to_string(ZARN_ib0[ip + k]), bytes(&ZARN_cb0[cp + k], 1)}),
                  seq({to_string(1.5 + k), to_string(7 + k), "a"}));
    RTO_DFREE(&dp);
    RTO_IFREE(&ip);
    RTO_CFREE(&cp);
}

// Text packed 4 characters to an 8-byte word (the rest of the word untouched or
// blank), 8 to a double; the hidden length bounds both directions.
TEST(Plex, PackedTextRoundTripsAndBlankFill) {
    int64_t w[4];
    const int32_t ten = 10, twelve = 12;
    char t[16], out[10];
    std::memset(w, 0x55, sizeof w);
    std::memset(t, '#', sizeof t);
    RTO_STR2I4(w, "ABCDEFGHIJ", &ten, 10);
    U3PLG_RTO_I42STR(t, w, &ten, sizeof t);
    RTO_I42STR(t + 11, w, &twelve, 3);
    U3PLG_RTO_STR2I4(w + 3, "xy", &twelve, 2);
    EXPECT_EQ(bytes(w, 32) + bytes(t, 16),
              "ABCDUUUUEFGHUUUUIJUUUUUUxyUUUUUUABCDEFGHIJ#ABC##");  // no NUL added
    const struct {
        int32_t n;
        const char *text;
        int32_t keep;
        string packed, shown;
    } rows[] = {{1, nullptr, 0, "        ", ""},
                {4, nullptr, 0, "        ", ""},
                {5, nullptr, 0, string(16, ' '), ""},
                {9, nullptr, 0, string(24, ' '), ""},
                {0, nullptr, 0, "        ", ""},
                {-4, "AB", 0, "", ""},
                {INT_MIN, "AB", 0, "", ""},
                {8, "AB", 0, "AB" + string(14, ' '), "AB"},
                {8, "AB", 1, "AB" + string(14, ' '), "AB      #"},
                {6, "ABCDEFGHIJ", 0, "ABCD    EF      ", "ABCDEF"}};
    for (const auto &r : rows) {
        std::memset(w, 0x55, sizeof w);
        rto_str2int_c(w, r.text, r.n);
        std::memset(out, '#', sizeof out);
        string shown;
        if (r.n > 0) {
            rto_int2str_c(out, w, r.n, r.keep);
            shown = r.keep ? string(out, 9) : string(out, strnlen(out, 10));
        }
        EXPECT_EQ(bytes(w, 24) + "/" + shown, r.packed + string(24 - r.packed.size(), 'U') + "/" + r.shown)
            << r.n;
    }
}

// A text that lies in the very words it is packed into is read before they are blanked.
TEST(Plex, TextPackedIntoTheWordsThatHoldIt) {
    int64_t w[3];
    char *bytes_of_w = reinterpret_cast<char *>(w);
    std::memcpy(bytes_of_w, "ABCDEFG", 8);
    rto_str2int_c(w, bytes_of_w, 7);
    EXPECT_EQ(bytes(w, 16), "ABCD    EFG     ") << "the text read from the first words";
}

void noop() {}

TEST(Plex, HostileCallerGetsMessagesNotCrashes) {
    const int32_t imin = INT_MIN, minus = -1, zero = 0, eight = 8, imax = INT_MAX;
    const int64_t lmin = LLONG_MIN, lmax = LLONG_MAX;
    int64_t w[2], kp = RTO_IMALLOC(&eight), b0 = at(ZARN_b0), cb0 = at(ZARN_cb0);
    double r[1];
    char t[9] = "ABCDEFGH", o[9] = "........";
    ZARN_ib0[kp] = 42;
    const string init =
        "!! rto_malloc_init: The memory system has already been initialized with different base "
        "addresses.\nSevere programming error\n";
    auto bad = [](const char *fn, auto v) {
        return "!! rto_" + string(fn) + ": Invalid element count " + to_string(v) + "\n";
    };
    const std::vector<zarn::test::HostileRow> rows = {
        {"allocators and reallocators with NULL, -1, INT_MIN, LLONG_MIN counts",
         [&] {
             int64_t d = RTO_DMALLOC(&zero), i = RTO_IMALLOC(&zero), c = RTO_CMALLOC(&zero);
             string s = cat({RTO_DMALLOC(nullptr), RTO_IMALLOC(&imin), RTO_CMALLOC(&minus),
                             RTO_HUGEDMALLOC(&lmin), RTO_HUGEIMALLOC(&lmin), RTO_HUGEIMALLOC(nullptr),
                             RTO_DREALLOC(nullptr, nullptr), RTO_DREALLOC(&d, &imin) == d,
                             RTO_HUGEDREALLOC(&d, &lmin) == d, RTO_IREALLOC(&i, nullptr) == i,
                             RTO_HUGEIREALLOC(&i, &lmin) == i, RTO_CREALLOC(&c, &imin) == c});
             RTO_DFREE(&d);
             RTO_IFREE(&i);
             RTO_CFREE(&c);
             return s;
         },
         "000000011111|" + bad("dmalloc", -1) + bad("imalloc", INT_MIN) + bad("cmalloc", -1) +
             bad("dmalloc", LLONG_MIN) + bad("hugeimalloc", LLONG_MIN) + bad("hugeimalloc", -1) +
             bad("dmalloc", -1) + bad("drealloc", INT_MIN) + bad("drealloc", LLONG_MIN) +
             bad("irealloc", -1) + bad("irealloc", LLONG_MIN) + bad("crealloc", INT_MIN) + "|"},
        {"RTO_HUGEDMALLOC(LLONG_MAX): bytes that cannot be represented; RTO_HUGEIREALLOC(&p, LLONG_MAX) "
         "keeps the block",
         [&] {
             return seq({outcome([&] { return RTO_HUGEDMALLOC(&lmax); }),
                         outcome([&] { return RTO_HUGEIREALLOC(&kp, &lmax); }), ",",
                         to_string(ZARN_ib0[kp])});
         },
         kRaised + kRaised + ",42|" + alloc_text("rto_dmalloc", -8, 0, 9992) +
             re("irealloc", "  ib1         = ", -8, idx(kp)) + "|"},
        {"RTO_MALLOC_INIT(NULL, NULL, NULL) and with any one anchor different",
         [&] {
             double other[4];
             auto *ip = reinterpret_cast<int64_t *>(ZARN_PLEX), *io = reinterpret_cast<int64_t *>(other);
             auto *cp = reinterpret_cast<char *>(ZARN_PLEX), *co = reinterpret_cast<char *>(other);
             return cat({RTO_MALLOC_INIT(nullptr, nullptr, nullptr, 0),
                         U3PLG_RTO_MALLOC_INIT(nullptr, nullptr, nullptr, 0),
                         RTO_MALLOC_INIT(other, ip, cp, 1), RTO_MALLOC_INIT(ZARN_PLEX, io, cp, 1),
                         RTO_MALLOC_INIT(ZARN_PLEX, ip, co, 1)});
         },
         "11111|" + init + init + init + init + init + "|"},
        {"frees of NULL, 0 and twice; conversions of NULL; GETFUNCPTR_F(NULL, &out), (f, NULL), (f, &out); "
         "avail_mem; debug_mem",
         [&] {
             int64_t z = 0, d = RTO_DMALLOC(&eight), out = 7, addr = 0;
             RTO_DFREE(nullptr);
             RTO_IFREE(nullptr);
             RTO_CFREE(nullptr);
             RTO_DFREE(&z);
             RTO_IFREE(&z);
             RTO_CFREE(&z);
             RTO_DFREE(&d);
             RTO_DFREE(&d);
             GETFUNCPTR_F(nullptr, &out);
             GETFUNCPTR_F(noop, nullptr);
             GETFUNCPTR_F(noop, &addr);
             debug_mem();
             return cat({z, d, rto_dptr2plex_c(nullptr) + b0 / 8, RTO_DPTR2PLEX(nullptr) + b0 / 8,
                         rto_iptr2plex_c(nullptr) + b0 / 8, RTO_IPTR2PLEX(nullptr) + b0 / 8,
                         rto_cptr2plex_c(nullptr) + cb0, out, avail_mem(),
                         addr == reinterpret_cast<intptr_t>(&noop)});
         },
         "0000000001|debug_mem not available in zarnmalloc build\n|"},
        {"packed text with NULLs, INT_MIN and INT_MAX counts",
         [&] {
             std::memset(w, '#', sizeof w);
             RTO_I42STR(nullptr, w, &eight, 8);
             RTO_I42STR(t, nullptr, &eight, 8);
             RTO_I42STR(t, w, nullptr, 8);
             RTO_STR2I4(nullptr, t, &eight, 8);
             RTO_STR2I4(w, nullptr, &eight, 8);
             RTO_STR2I4(w, t, &imin, 8);
             U3PLG_RTO_I42STR(t, w, &imin, 8);
             U3PLG_RTO_STR2I4(w, t, nullptr, 8);
             rto_str2int_c(w, "AB", INT_MIN);
             rto_int2str_c(nullptr, w, 8, 0);
             rto_int2str_c(t, nullptr, 8, 0);
             rto_str2int_c(nullptr, "AB", 8);
             string s = t + bytes(w, 16);
             RTO_STR2I4(w, "WXYZ", &imax, 4);
             RTO_I42STR(o, w, &imax, 3);
             s += "," + bytes(w, 16) + o;
             rto_str2int_c(w, nullptr, 0);
             rto_int2str_c(t, w, INT_MIN, 0);
             return s + "," + bytes(w, 16) + "[" + t + "]";
         },
         "ABCDEFGH################,WXYZ############WXY.....,        ########[]||"},
        {"double text with NULLs and INT_MIN / INT_MAX counts",
         [&] {
             std::memset(r, '-', sizeof r);
             std::memcpy(o, "........", 8);
             RTO_STR2R8(r, "ABCDEFGHIJ", &imax, 8);
             RTO_STR2R8(nullptr, "A", &imax, 1);
             RTO_STR2R8(r, nullptr, &imax, 1);
             RTO_R82STR(o, r, &imin, 8);
             RTO_R82STR(nullptr, r, &imax, 8);
             U3PLG_RTO_R82STR(o, nullptr, &imax, 8);
             const string s = o;
             RTO_R82STR(o, r, &imax, 8);
             return s + "," + o;
         },
         "........,ABCDEFGH||"},
    };
    zarn::test::run_hostile(rows);
    RTO_IFREE(&kp);
}

TEST(PlexDeathTest, UnrepresentablePointerAndUncaughtRaise) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    char *const off = reinterpret_cast<char *>(&ZARN_b0[10]) + 4;
    int64_t *const ip = reinterpret_cast<int64_t *>(off);
    const int64_t lmax = LLONG_MAX;
    EXPECT_EXIT(rto_dptr2plex_c(reinterpret_cast<const double *>(off)), testing::ExitedWithCode(2),
                "!! rto_dptr2plex_c: Unrepresentable double pointer 0x[0-9a-f]+ \\(0x[0-9a-f]+\\)");
    EXPECT_EXIT(RTO_IPTR2PLEX(&ip), testing::ExitedWithCode(2),
                "!! rto_iptr2plex_c: Unrepresentable int pointer");
    EXPECT_DEATH(RTO_HUGEIMALLOC(&lmax), "Uncaught exception Allocation failed");
}

}  // namespace
