// Every entry point called with the extreme values of its arguments: each gets its message, nothing is
// written, and the process goes on; an unmeetable block raises before anything changes.
#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>

#include "numutil_fixture.h"
#include "platform/xalloc.h"
#include "zarnutils/except.h"

// Under AddressSanitizer an unmeetable request must come back as null, as from the heap.
extern "C" const char *__asan_default_options() { return "allocator_may_return_null=1"; }

namespace {

using namespace zarn::test;

S bad_count(const S &fn, int64_t v) {
    return "!! " + fn + ": count is out of range. " + std::to_string(v) + "\n";
}
S missing(const S &fn) { return "!! " + fn + ": an array argument is missing\n"; }
S no_block(const S &fn) { return "!! " + fn + ": block index is 0\n"; }

V g_words(4, 0), g_idx = {1, 2, 3, 4};
int64_t g_inc = 0, g_four = 4, g_row = 1;
const int64_t *a(bool on) { return on ? g_words.data() : nullptr; }
const int64_t *ix(bool on) { return on ? g_idx.data() : nullptr; }

// Each counting entry: called with a count, with arrays given or all null.
using Counted = std::function<void(const int64_t *, bool, int64_t *, int64_t *)>;
const std::pair<const char *, Counted> kCounted[] = {
    {"u3perm_var_create", [](auto n, bool on, auto o, auto m) { U3PERM_VAR_CREATE(a(on), n, o, m); }},
    {"u3perm_var_create_incidence",
     [](auto n, bool on, auto o, auto m) { U3PERM_VAR_CREATE_INCIDENCE(a(on), n, &g_inc, o, m); }},
    {"u3perm_eqn_create", [](auto n, bool on, auto o, auto m) { U3PERM_EQN_CREATE(a(on), n, o, m); }},
    {"u3perm_eqn_create_incidence",
     [](auto n, bool on, auto o, auto m) { U3PERM_EQN_CREATE_INCIDENCE(a(on), n, &g_inc, o, m); }},
    {"u3perm_jac_create",
     [](auto n, bool on, auto o, auto m) { U3PERM_JAC_CREATE(a(on), a(on), ix(on), ix(on), n, o, m); }},
    {"u3perm_jac_create_incidence",
     [](auto n, bool on, auto o, auto m) {
         U3PERM_JAC_CREATE_INCIDENCE(a(on), a(on), ix(on), ix(on), n, &g_inc, &g_inc, o, m);
     }},
    {"u3map_rel_incidence",
     [](auto n, bool on, auto o, auto) { U3MAP_REL_INCIDENCE(&g_four, a(on), ix(on), ix(on), n, o); }},
    {"u3map_var_incidence",
     [](auto n, bool on, auto o, auto) { U3MAP_VAR_INCIDENCE(&g_four, a(on), ix(on), ix(on), n, o); }},
    {"usr3_fndobj", [](auto n, bool on, auto o, auto) { USR3_FNDOBJ(n, a(on), o); }},
    {"nz_in_row", [](auto n, bool on, auto o, auto m) { NZ_IN_ROW(&g_row, ix(on), n, o, m); }},
    {"u3remap",
     [](auto n, bool on, auto, auto) { U3REMAP(n, &g_row, &g_inc, on ? g_words.data() : nullptr); }},
};

// Negative counts (a count left out reads as -1); huge counts refused before anything is read; 0 needs no
// arrays and no incidence block.
TEST(Hostile, CountsOfEveryBuilderAndCounter) {
    ModeGuard mode;
    HistoryCapture his;
    g_inc = int_block({1, 1, 1, 1});
    for (const auto &[fn, call] : kCounted) {
        int64_t out = -5, m = -5, zero = 0, worst = -5;
        for (int64_t c : {int64_t{-1}, int64_t{INT_MIN}, INT64_MIN}) {
            call(&c, true, &out, &m);
            worst = std::max(worst, out);
        }
        if (std::string(fn) == "nz_in_row") {
            EXPECT_EQ(m, 0) << "nz_in_row: nothing found under a refused count";
        }
        S want = bad_count(fn, -1) + bad_count(fn, INT_MIN) + bad_count(fn, INT64_MIN) + bad_count(fn, -1);
        call(nullptr, true, &out, &m);
        for (int64_t c : {int64_t{INT_MAX}, INT64_MAX}) {
            call(&c, false, &out, &m);
            want += missing(fn);
        }
        const int64_t counts = g_inc;
        g_inc = 0;
        call(&zero, false, &out, &m);
        g_inc = counts;
        EXPECT_EQ(his.text() + std::to_string(worst <= 0), want + "1") << fn;
        if (out > 0) RTO_IFREE(&out);
    }
    // Counts too large for a block, incidence block 0, indices beyond a count block.
    int64_t block = -5, m = -5, out = -5, none = 0, three = 3,
            c = INT64_MAX - 2;  // the block's n + 3 words overflow
    U3PERM_VAR_CREATE(g_words.data(), &c, &block, &m);
    U3MAP_REL_INCIDENCE(&c, g_words.data(), g_idx.data(), g_idx.data(), &g_four, &out);
    EXPECT_EQ(block + m + out, 0);
    int64_t words = INT64_C(1) << 61;  // n + 3 words fit an int64_t, their bytes do not
    U3PERM_EQN_CREATE(g_words.data(), &words, &block, &m);
    EXPECT_EQ(block + m, 0) << "no block for 2^61 equations";
    U3PERM_VAR_CREATE_INCIDENCEONLY(g_words.data(), &g_four, &none, &block, &m);
    U3PERM_JAC_CREATE_INCIDENCE(a(1), a(1), ix(1), ix(1), &g_four, &g_inc, &none, &block, &m);
    U3MAP_VAR_INCIDENCE(&three, g_words.data(), g_idx.data(), g_idx.data(), &g_four, &out);
    U3REMAP(&g_four, &g_row, &none, g_words.data());
    EXPECT_EQ(his.text(),
              bad_count("u3perm_var_create", c) + bad_count("u3map_rel_incidence", c) +
                  bad_count("u3perm_eqn_create", words + 3) + no_block("u3perm_var_create_incidenceonly") +
                  no_block("u3perm_jac_create_incidence") +
                  "!! u3map_var_incidence: index 4 at entry 4 is out of range 1..3\n" + no_block("u3remap"));
    RTO_IFREE(&g_inc);
}

// Block 0, blocks whose n, m or entries are wrong, an entry beyond n (refused before any swap), missing
// vectors.
TEST(Hostile, BlocksThatAreNotPermutations) {
    HistoryCapture his;
    int64_t two = 2, good = 0, m = 0, one = 1, out = -5, zero = 0, wild = int_block({5, 1, 7, 2, 1});
    const V status = {kConst, kFree}, i0 = {11, 22};
    std::vector<double> r = {1.5, 2.5};
    V iv = i0;
    S want;
    U3PERM_VAR_CREATE(status.data(), &two, &good, &m);  // p = 2 1, m = 1
    for (int64_t bad : {int64_t{0}, int_block({5, 1, 2, 9, 1}), int_block({5, 1, 2, 2, 3}),
                        int_block({5, 1, 2, 2, -1}), int_block({2, 0, 0}), int_block({INT64_MIN})}) {
        const S why = bad == 0 ? "block index is 0\n"
                               : "block " + std::to_string(bad) + " is not a permutation block\n";
        U3PERM_APPLY_RVEC(&bad, r.data());
        U3PERM_APPLY_IVEC(&bad, iv.data());
        U3PERM_COPY_APPLY_RVEC(&bad, r.data(), &out);
        U3PERM_COPY_APPLY_IVEC(&bad, iv.data(), &out);
        U3PERM_JAC_APPLY_ROW(&bad, &good, iv.data());
        U3PERM_JAC_APPLY_COL(&good, &bad, iv.data());
        U3PERM_JAC_COPY_APPLY_ROW(&good, &bad, iv.data(), &out);
        U3PERM_JAC_COPY_APPLY_COL(&bad, &good, iv.data(), &out);
        EXPECT_EQ(U3PERM_COMP2UNCOMP(&bad, &one) + U3PERM_UNCOMP2COMP(&bad, &one) + out, 0) << bad;
        for (const char *fn :
             {"apply_rvec", "apply_ivec", "copy_apply_rvec", "copy_apply_ivec", "jac_apply_row",
              "jac_apply_col", "jac_copy_apply_row", "jac_copy_apply_col", "comp2uncomp", "uncomp2comp"})
            want += "!! u3perm_" + S(fn) + ": " + why;
        if (bad != 0) RTO_IFREE(&bad);
    }
    U3PERM_APPLY_IVEC(&wild, iv.data());
    U3PERM_JAC_COPY_APPLY_ROW(&wild, &good, iv.data(), &out);  // an entry beyond n
    U3PERM_APPLY_RVEC(&good, nullptr);
    U3PERM_COPY_APPLY_IVEC(&good, nullptr, &out);
    U3PERM_JAC_APPLY_ROW(&good, &good, nullptr);
    U3PERM_APPLY_IVEC(nullptr, iv.data());
    EXPECT_EQ(iv, i0);
    EXPECT_EQ(r, (std::vector<double>{1.5, 2.5}));
    EXPECT_EQ(out, 0);
    EXPECT_EQ(his.text(), want +
                              "!! u3perm_apply_ivec: index 7 at entry 2 is out of range 1..2\n"
                              "!! u3perm_jac_copy_apply_row: index 7 at entry 2 is out of range 1..2\n" +
                              missing("u3perm_apply_rvec") + missing("u3perm_copy_apply_ivec") +
                              missing("u3perm_jac_apply_row") + no_block("u3perm_apply_ivec"));
    U3PERM_DESTROY(&zero);
    U3PERM_DESTROY(nullptr);
    RTO_IFREE(&wild);
    RTO_IFREE(&good);
}

// Sorts: n < 1 or kflag other than +-1, +-2 move nothing and say nothing; a missing array is refused first.
// Texts: counts below 0 refused, huge ones bounded by the field, null fields ignored.
TEST(Hostile, SortAndTextCounts) {
    HistoryCapture his;
    std::vector<double> v = {2, 1, 3};
    V iv = {2, 1, 3};
    for (int64_t bn : {int64_t{0}, int64_t{-1}, INT64_MIN, int64_t{3}})
        for (int64_t bk :
             {int64_t{0}, int64_t{3}, int64_t{-3}, INT64_MIN, INT64_MAX, int64_t{bn == 3 ? 0 : 1}}) {
            SLATEC_DSORT(v.data(), nullptr, &bn, &bk);
            SLATEC_ISORT(iv.data(), nullptr, &bn, &bk);
        }
    int64_t three = 3, two = 2, minus = -1;  // a valid call: the carried or the sorted array goes missing
    SLATEC_DSORT(v.data(), nullptr, &three, &two);
    SLATEC_ISORT(nullptr, nullptr, &three, &minus);
    EXPECT_EQ(v, (std::vector<double>{2, 1, 3}));
    EXPECT_EQ(iv, (V{2, 1, 3}));
    EXPECT_EQ(his.text(), missing("slatec_dsort") + missing("slatec_isort"));
    int64_t len = -5;
    const int64_t big = INT_MAX;
    const int32_t four[2] = {0x41414141, 0x42424242};
    int32_t back[2] = {5, 5};
    S f = "untouched", g = "12345678", d = "dst", want;
    for (int64_t c : {int64_t{-1}, int64_t{INT_MIN}, INT64_MIN, INT64_MAX}) {
        IU_I42STR(four, &c, f.data(), f.size());
        IU_STR2I4("zz", back, &c, 2);
        want += bad_count("iu_i42str", c) + bad_count("iu_str2i4", c);
        if (c == INT64_MAX) continue;
        COPY_CHAR_STR("src", &c, d.data(), &three, 3, 3);
        COPY_CHAR_STR("src", &three, d.data(), &c, 3, 3);
        want += bad_count("copy_char_str", c) + bad_count("copy_char_str", c);
    }
    IU_STR2I4("zz", nullptr, &big, 2);
    EXPECT_EQ(his.text(), want + missing("iu_str2i4"));
    EXPECT_EQ(f + std::to_string(back[0]) + d, "untouched5dst");
    IU_I42STR(four, &big, g.data(), g.size());  // the field bounds what is read
    for (int64_t c : {int64_t{INT_MAX}, INT64_MAX}) COPY_CHAR_STR("src", &c, d.data(), &c, 3, 3);
    IU_STRUPR(nullptr, 5);
    IU_PACKSTR(nullptr, 5);
    IU_CLRSTR(nullptr, 5);
    IU_STRCAT(nullptr, "x", 5, 1);
    COPY_CHAR_STR("src", &three, nullptr, &three, 3, 3);
    IU_STRLEN(&len, nullptr, 5);
    IU_STRLEN(nullptr, "abc", 3);
    EXPECT_EQ(g + d + std::to_string(len) + his.text(), "AAAABBBBsrc0");
}

// One array passed for two, or one inside the other: each row's arrays after the call and what it said.
TEST(Hostile, ArraysPassedTwiceOrInsideEachOther) {
    HistoryCapture his;
    int64_t three = 3, two = 2, minus2 = -2, one = 1;
    const auto overlap = [](const char *fn) { return "!! " + S(fn) + ": the arrays overlap\n"; };
    const struct {
        const char *rule;
        std::function<S()> run;
        S want, said;
    } rows[] = {
        {"DSORT of one array given twice sorts it (long enough to be split)",
         [&] {
             std::vector<double> x = {9, 3, 14, 1, 20, 7, 5, 18, 2, 11, 16, 4, 13, 8, 19, 6, 10, 17, 12, 15};
             int64_t n = static_cast<int64_t>(x.size());
             SLATEC_DSORT(x.data(), x.data(), &n, &two);
             return S(std::is_sorted(x.begin(), x.end()) && x.front() == 1 && x.back() == 20 ? "sorted"
                                                                                             : "not sorted");
         },
         "sorted", ""},
        {"ISORT of one array given twice sorts it downwards",
         [&] {
             V x = {1, 3, 2};
             SLATEC_ISORT(x.data(), x.data(), &three, &minus2);
             return std::to_string(x[0] * 100 + x[1] * 10 + x[2]);
         },
         "321", ""},
        {"a carried array inside the sorted one is refused",
         [&] {
             V x = {4, 3, 2, 1};
             SLATEC_ISORT(x.data(), x.data() + 1, &three, &two);
             return std::to_string(x[0] * 1000 + x[1] * 100 + x[2] * 10 + x[3]);
         },
         "4321", overlap("slatec_isort")},
        {"a permutation is not applied to its own block",
         [&] {
             const V status = {kConst, kFree};
             int64_t b = 0, m = 0;
             U3PERM_VAR_CREATE(status.data(), &two, &b, &m);
             U3PERM_APPLY_IVEC(&b, ZARN_ib0 + b + 1);
             const S p = std::to_string(ZARN_ib0[b + 1] * 10 + ZARN_ib0[b + 2]);
             RTO_IFREE(&b);
             return p;
         },
         "21", overlap("u3perm_apply_ivec")},
        {"rows inside the equation block are not renumbered",
         [&] {
             const V status = {kConst, kFree};
             int64_t nz = 0, eq = 0, m = 0;
             U3PERM_VAR_CREATE(status.data(), &two, &nz, &m);
             U3PERM_VAR_CREATE(status.data(), &two, &eq, &m);
             U3PERM_JAC_APPLY_ROW(&nz, &eq, ZARN_ib0 + eq + 1);
             const S p = std::to_string(ZARN_ib0[eq + 1] * 10 + ZARN_ib0[eq + 2]);
             RTO_IFREE(&nz);
             RTO_IFREE(&eq);
             return p;
         },
         "21", overlap("u3perm_jac_apply_row")},
        {"remap flags are not written over the block",
         [&] {
             int64_t b = int_block({5, 1, 7});
             U3REMAP(&three, &two, &b, ZARN_ib0 + b);
             const S p = std::to_string(ZARN_ib0[b] * 100 + ZARN_ib0[b + 1] * 10 + ZARN_ib0[b + 2]);
             RTO_IFREE(&b);
             return p;
         },
         "517", overlap("u3remap")},
        {"values inside the field are copied before it is blanked",
         [&] {
             S field = "ABCDEFGH";
             IU_I42STR(reinterpret_cast<const int32_t *>(field.data() + 4), &one, field.data(), field.size());
             return field;
         },
         "EFGH    ", ""},
        {"a field inside the values is copied before they are blanked",
         [&] {
             char bytes[9] = "abcdefgh";
             int32_t values[2];
             std::memcpy(values, bytes, 8);
             IU_STR2I4(reinterpret_cast<const char *>(values) + 4, values, &two, 4);
             std::memcpy(bytes, values, 8);
             return S(bytes);
         },
         "efgh    ", ""},
    };
    for (const auto &r : rows) {
        EXPECT_EQ(r.run(), r.want) << r.rule;
        EXPECT_EQ(his.text(), r.said) << r.rule;
    }
}

bool Raises(const std::function<void()> &run) {
    volatile bool raised = false;
    ZARN_TRY
    run();
    ZARN_EXCEPT(rtmalloc_allocate_failed)
    raised = true;
    ZARN_END_TRY;
    return raised;
}

// Calls that make a new block, given no place for it: refused before anything is allocated (every
// block request would raise here), with the name of the call.
TEST(Hostile, NoNewBlockWithoutAPlaceForIt) {
    HistoryCapture his;
    ModeGuard mode;
    const V status = {kConst, kFree, kFree}, rows_ = {1, 2, 3};
    const std::vector<double> vec = {1, 2, 3};
    int64_t three = 3, m = -5, count = -5, perm = 0, one = 1;
    U3PERM_VAR_CREATE(status.data(), &three, &perm, &m);
    const struct {
        const char *fn;
        std::function<void()> run;
    } rows[] = {
        {"u3perm_var_create", [&] { U3PERM_VAR_CREATE(status.data(), &three, nullptr, &m); }},
        {"u3perm_eqn_create", [&] { U3PERM_EQN_CREATE(status.data(), &three, nullptr, &m); }},
        {"u3perm_jac_create",
         [&] {
             U3PERM_JAC_CREATE(status.data(), status.data(), rows_.data(), rows_.data(), &three, nullptr, &m);
         }},
        {"u3perm_copy_apply_rvec", [&] { U3PERM_COPY_APPLY_RVEC(&perm, vec.data(), nullptr); }},
        {"u3perm_copy_apply_ivec", [&] { U3PERM_COPY_APPLY_IVEC(&perm, rows_.data(), nullptr); }},
        {"u3perm_jac_copy_apply_col",
         [&] { U3PERM_JAC_COPY_APPLY_COL(&perm, &perm, rows_.data(), nullptr); }},
        {"u3map_rel_incidence",
         [&] { U3MAP_REL_INCIDENCE(&three, status.data(), rows_.data(), rows_.data(), &three, nullptr); }},
        {"u3map_var_incidence",
         [&] { U3MAP_VAR_INCIDENCE(&three, status.data(), rows_.data(), rows_.data(), &three, nullptr); }},
        {"nz_in_row", [&] { NZ_IN_ROW(&one, rows_.data(), &three, nullptr, &count); }},
    };
    for (const auto &r : rows) {
        zarn::failalloc_set(1, true, true);
        const bool raised = Raises(r.run);
        zarn::failalloc_set(0);
        EXPECT_FALSE(raised) << r.fn;
        EXPECT_EQ(his.text(), "!! " + S(r.fn) + ": no argument for the new block\n") << r.fn;
    }
    EXPECT_EQ(m * 100 + count, 2 * 100 - 5);  // outputs untouched: m from the first call
    RTO_IFREE(&perm);
}

TEST(HostileFailure, UnmeetableBlockRaisesBeforeAnythingChanges) {
    HistoryCapture his;
    int64_t block = -5, m = -5, count = INT64_C(1) << 47;
    const auto build_unmeetable = [&](int64_t *b, int64_t *k) {
        U3PERM_EQN_CREATE(g_words.data(), &count, b, k);
    };
    volatile bool caught = false;
    ZARN_TRY
    build_unmeetable(&block, &m);
    ZARN_EXCEPT(rtmalloc_allocate_failed)
    caught = true;
    ZARN_END_TRY;
    EXPECT_TRUE(caught);
    EXPECT_EQ(block + m, -10);
    EXPECT_EQ(his.text().rfind("!! rto_hugeimalloc: \n  bytes requested = 1125899906842648\n", 0), 0u);
    EXPECT_DEATH(build_unmeetable(&block, &m), "Allocation failed");
}

}  // namespace
