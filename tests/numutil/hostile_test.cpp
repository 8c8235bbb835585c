// Every entry point called with the extreme values of its arguments: each
// gets its message, nothing is written, and the process goes on.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "capture.h"
#include "numutil_fixture.h"

namespace {

using namespace zarn::test;
using V = std::vector<int64_t>;

const int64_t kCounts[] = {-1, INT_MIN, INT64_MIN};

std::string bad_count(const std::string &fn, int64_t v) {
    return "!! " + fn + ": count is out of range. " + std::to_string(v) + "\n";
}
std::string missing(const std::string &fn) { return "!! " + fn + ": an array argument is missing\n"; }
std::string no_block(const std::string &fn) { return "!! " + fn + ": block index is 0\n"; }

// One entry called with a count (and arrays given or left out); the words it
// may write are checked against their starting values afterwards.
struct CountRow {
    const char *fn;
    // Calls the entry; `arrays` false passes null for every array.
    std::function<void(const int64_t *count, bool arrays, int64_t *out)> call;
};

V g_status(4, 0), g_rows = {1, 2, 3, 4}, g_cols = {1, 2, 3, 4};
std::vector<double> g_reals(4, 1.0);

const int64_t *arr(bool on, const V &v) { return on ? v.data() : nullptr; }

std::vector<CountRow> count_rows(int64_t incid) {
    static int64_t inc;
    inc = incid;
    return {
        {"u3perm_var_create", [](const int64_t *n, bool a, int64_t *o) {
             int64_t m = -5;
             U3PERM_VAR_CREATE(arr(a, g_status), n, o, &m);
         }},
        {"u3perm_var_create_incidence", [](const int64_t *n, bool a, int64_t *o) {
             int64_t m = -5;
             U3PERM_VAR_CREATE_INCIDENCE(arr(a, g_status), n, &inc, o, &m);
         }},
        {"u3perm_var_create_incidenceonly", [](const int64_t *n, bool a, int64_t *o) {
             int64_t m = -5, none = 0;
             U3PERM_VAR_CREATE_INCIDENCEONLY(arr(a, g_status), n, a ? &inc : &none, o, &m);
         }},
        {"u3perm_eqn_create", [](const int64_t *n, bool a, int64_t *o) {
             int64_t m = -5;
             U3PERM_EQN_CREATE(arr(a, g_status), n, o, &m);
         }},
        {"u3perm_eqn_create_incidence", [](const int64_t *n, bool a, int64_t *o) {
             int64_t m = -5;
             U3PERM_EQN_CREATE_INCIDENCE(arr(a, g_status), n, &inc, o, &m);
         }},
        {"u3perm_jac_create", [](const int64_t *n, bool a, int64_t *o) {
             int64_t m = -5;
             U3PERM_JAC_CREATE(arr(a, g_status), arr(a, g_status), arr(a, g_rows), arr(a, g_cols),
                               n, o, &m);
         }},
        {"u3perm_jac_create_incidence", [](const int64_t *n, bool a, int64_t *o) {
             int64_t m = -5;
             U3PERM_JAC_CREATE_INCIDENCE(arr(a, g_status), arr(a, g_status), arr(a, g_rows),
                                         arr(a, g_cols), n, &inc, &inc, o, &m);
         }},
        {"u3map_rel_incidence", [](const int64_t *n, bool a, int64_t *o) {
             const int64_t four = 4;
             U3MAP_REL_INCIDENCE(&four, arr(a, g_status), arr(a, g_rows), arr(a, g_cols), n, o);
         }},
        {"u3map_var_incidence", [](const int64_t *n, bool a, int64_t *o) {
             const int64_t four = 4;
             U3MAP_VAR_INCIDENCE(&four, arr(a, g_status), arr(a, g_rows), arr(a, g_cols), n, o);
         }},
        {"usr3_fndobj", [](const int64_t *n, bool a, int64_t *o) {
             USR3_FNDOBJ(n, arr(a, g_status), o);
         }},
        {"nz_in_row", [](const int64_t *n, bool a, int64_t *o) {
             const int64_t row = 1;
             int64_t count = -5;
             NZ_IN_ROW(&row, arr(a, g_rows), n, o, &count);
         }},
    };
}

TEST(Hostile, CountsOfEveryBuilderAndCounter) {
    ModeGuard mode(0);
    HistoryCapture his;
    int64_t incid = int_block({1, 1, 1, 1});
    for (const CountRow &row : count_rows(incid)) {
        SCOPED_TRACE(row.fn);
        // Negative counts: refused with the count in the message.
        for (int64_t c : kCounts) {
            int64_t out = -5;
            row.call(&c, true, &out);
            EXPECT_EQ(his.text(), bad_count(row.fn, c));
            EXPECT_TRUE(out == 0 || out == -5) << out;
        }
        // A count that was not passed reads as -1.
        int64_t out = -5;
        row.call(nullptr, true, &out);
        EXPECT_EQ(his.text(), bad_count(row.fn, -1));
        // Large counts with missing arrays: refused before anything is read.
        for (int64_t c : {int64_t{INT_MAX}, INT64_MAX}) {
            out = -5;
            row.call(&c, false, &out);
            // The incidence-only builder reads no status words: its missing input is block 0.
            const bool onlyBlock = std::string(row.fn) == "u3perm_var_create_incidenceonly";
            EXPECT_EQ(his.text(), onlyBlock ? no_block(row.fn) : missing(row.fn));
        }
        // Count 0: no message, and an empty result.
        const int64_t zero = 0;
        out = -5;
        row.call(&zero, false, &out);
        EXPECT_EQ(his.text(), "");
        if (out > 0) RTO_IFREE(&out);
    }
    // Counts whose blocks cannot be represented are refused before allocation.
    int64_t block = -5, m = -5;
    const int64_t huge = INT64_MAX;
    U3PERM_VAR_CREATE(g_status.data(), &huge, &block, &m);
    EXPECT_EQ(block, 0);
    EXPECT_EQ(m, 0);
    EXPECT_EQ(his.text(), bad_count("u3perm_var_create", INT64_MAX));
    const int64_t near = INT64_MAX - 2;
    U3PERM_EQN_CREATE(g_status.data(), &near, &block, &m);
    EXPECT_EQ(his.text(), bad_count("u3perm_eqn_create", INT64_MAX - 2));
    int64_t four = 4, out = -5;
    U3MAP_REL_INCIDENCE(&huge, g_status.data(), g_rows.data(), g_cols.data(), &four, &out);
    EXPECT_EQ(out, 0);
    EXPECT_EQ(his.text(), bad_count("u3map_rel_incidence", INT64_MAX));
    // Incidence block 0 where one is needed.
    int64_t none = 0;
    U3PERM_VAR_CREATE_INCIDENCE(g_status.data(), &four, &none, &block, &m);
    EXPECT_EQ(his.text(), no_block("u3perm_var_create_incidence"));
    U3PERM_JAC_CREATE_INCIDENCE(g_status.data(), g_status.data(), g_rows.data(), g_cols.data(),
                                &four, &incid, &none, &block, &m);
    EXPECT_EQ(his.text(), no_block("u3perm_jac_create_incidence"));
    // A row (column) beyond the count block's size.
    const int64_t three = 3;
    U3MAP_REL_INCIDENCE(&three, g_status.data(), g_rows.data(), g_cols.data(), &four, &out);
    EXPECT_EQ(his.text(), "!! u3map_rel_incidence: index 4 at entry 4 is out of range 1..3\n");
    U3MAP_VAR_INCIDENCE(&three, g_status.data(), g_rows.data(), g_cols.data(), &four, &out);
    EXPECT_EQ(his.text(), "!! u3map_var_incidence: index 4 at entry 4 is out of range 1..3\n");
    EXPECT_EQ(out, 0);
    RTO_IFREE(&incid);
}

// Blocks that are 0 or not permutations, given to everything that reads one.
TEST(Hostile, BlocksThatAreNotPermutations) {
    HistoryCapture his;
    const int64_t n = 2;
    int64_t good = 0, m = 0;
    const V status = {kConst, kFree};
    U3PERM_VAR_CREATE(status.data(), &n, &good, &m);  // p = 2 1, m = 1
    int64_t shortTrailer = int_block({5, 1, 2, 9, 1});  // X(b+n+1) != n
    int64_t bigM = int_block({5, 1, 2, 2, 3});          // m > n
    int64_t negM = int_block({5, 1, 2, 2, -1});
    int64_t tiny = int_block({2, 0, 0});                // length below 3
    int64_t minLen = int_block({INT64_MIN});
    int64_t wild = int_block({5, 1, 7, 2, 1});          // p(2) = 7 beyond n
    struct Bad {
        int64_t block;
        std::string text;  // after "!! <fn>: "
    };
    const std::vector<Bad> bads = {
        {0, "block index is 0\n"},
        {shortTrailer, "block " + std::to_string(shortTrailer) + " is not a permutation block\n"},
        {bigM, "block " + std::to_string(bigM) + " is not a permutation block\n"},
        {negM, "block " + std::to_string(negM) + " is not a permutation block\n"},
        {tiny, "block " + std::to_string(tiny) + " is not a permutation block\n"},
        {minLen, "block " + std::to_string(minLen) + " is not a permutation block\n"},
    };
    const std::vector<double> r0 = {1.5, 2.5};
    const V i0 = {11, 22};
    for (const Bad &bad : bads) {
        SCOPED_TRACE(bad.text);
        std::vector<double> r = r0;
        V iv = i0;
        int64_t out = -5;
        U3PERM_APPLY_RVEC(&bad.block, r.data());
        EXPECT_EQ(his.text(), "!! u3perm_apply_rvec: " + bad.text);
        U3PERM_APPLY_IVEC(&bad.block, iv.data());
        EXPECT_EQ(his.text(), "!! u3perm_apply_ivec: " + bad.text);
        U3PERM_COPY_APPLY_RVEC(&bad.block, r.data(), &out);
        EXPECT_EQ(his.text(), "!! u3perm_copy_apply_rvec: " + bad.text);
        EXPECT_EQ(out, 0);
        U3PERM_COPY_APPLY_IVEC(&bad.block, iv.data(), &out);
        EXPECT_EQ(his.text(), "!! u3perm_copy_apply_ivec: " + bad.text);
        // Either block of a Jacobian form may be the bad one.
        U3PERM_JAC_APPLY_ROW(&bad.block, &good, iv.data());
        EXPECT_EQ(his.text(), "!! u3perm_jac_apply_row: " + bad.text);
        U3PERM_JAC_APPLY_COL(&good, &bad.block, iv.data());
        EXPECT_EQ(his.text(), "!! u3perm_jac_apply_col: " + bad.text);
        U3PERM_JAC_COPY_APPLY_ROW(&good, &bad.block, iv.data(), &out);
        EXPECT_EQ(his.text(), "!! u3perm_jac_copy_apply_row: " + bad.text);
        U3PERM_JAC_COPY_APPLY_COL(&bad.block, &good, iv.data(), &out);
        EXPECT_EQ(his.text(), "!! u3perm_jac_copy_apply_col: " + bad.text);
        EXPECT_EQ(out, 0);
        const int64_t one = 1;
        EXPECT_EQ(U3PERM_COMP2UNCOMP(&bad.block, &one), 0);
        EXPECT_EQ(his.text(), "!! u3perm_comp2uncomp: " + bad.text);
        EXPECT_EQ(U3PERM_UNCOMP2COMP(&bad.block, &one), 0);
        EXPECT_EQ(his.text(), "!! u3perm_uncomp2comp: " + bad.text);
        EXPECT_EQ(r, r0);
        EXPECT_EQ(iv, i0);
    }
    // A permutation entry beyond n: refused before any swap.
    V iv = i0;
    U3PERM_APPLY_IVEC(&wild, iv.data());
    EXPECT_EQ(his.text(), "!! u3perm_apply_ivec: index 7 at entry 2 is out of range 1..2\n");
    EXPECT_EQ(iv, i0);
    int64_t out = -5;
    U3PERM_JAC_COPY_APPLY_ROW(&wild, &good, iv.data(), &out);
    EXPECT_EQ(his.text(), "!! u3perm_jac_copy_apply_row: index 7 at entry 2 is out of range 1..2\n");
    EXPECT_EQ(out, 0);
    // Missing vectors with a good block.
    U3PERM_APPLY_RVEC(&good, nullptr);
    EXPECT_EQ(his.text(), missing("u3perm_apply_rvec"));
    U3PERM_COPY_APPLY_IVEC(&good, nullptr, &out);
    EXPECT_EQ(his.text(), missing("u3perm_copy_apply_ivec"));
    U3PERM_JAC_APPLY_ROW(&good, &good, nullptr);
    EXPECT_EQ(his.text(), missing("u3perm_jac_apply_row"));
    // Absent block arguments read as block 0; destroy of 0 or of nothing is harmless.
    U3PERM_APPLY_IVEC(nullptr, iv.data());
    EXPECT_EQ(his.text(), no_block("u3perm_apply_ivec"));
    int64_t zero = 0;
    U3PERM_DESTROY(&zero);
    U3PERM_DESTROY(nullptr);
    EXPECT_EQ(his.text(), "");
    for (int64_t *b : {&good, &shortTrailer, &bigM, &negM, &tiny, &minLen, &wild}) RTO_IFREE(b);
}

TEST(Hostile, RemapAndTextCounts) {
    HistoryCapture his;
    int64_t block = int_block({1, 2});
    V flags = {7, 7};
    const int64_t limit = 1;
    for (int64_t c : kCounts) {
        U3REMAP(&c, &limit, &block, flags.data());
        EXPECT_EQ(his.text(), bad_count("u3remap", c));
    }
    const int64_t two = 2, zeroBlock = 0;
    U3REMAP(&two, &limit, &zeroBlock, flags.data());
    EXPECT_EQ(his.text(), no_block("u3remap"));
    U3REMAP(&two, &limit, &block, nullptr);
    EXPECT_EQ(his.text(), missing("u3remap"));
    EXPECT_EQ(ints(block, 2), (V{1, 2}));
    EXPECT_EQ(flags, (V{7, 7}));
    RTO_IFREE(&block);

    // Value counts of the packing routines: negative or beyond any object.
    const int32_t four[2] = {0x41414141, 0x42424242};
    double eight[1] = {0};
    for (int64_t c : {int64_t{-1}, int64_t{INT_MIN}, INT64_MIN, INT64_MAX}) {
        std::string f = "untouched";
        IU_I42STR(four, &c, f.data(), f.size());
        EXPECT_EQ(his.text(), bad_count("iu_i42str", c));
        IU_R82STR(eight, &c, f.data(), f.size());
        EXPECT_EQ(his.text(), bad_count("iu_r82str", c));
        EXPECT_EQ(f, "untouched");
        int32_t back[2] = {5, 5};
        IU_STR2I4("zz", back, &c, 2);
        EXPECT_EQ(his.text(), bad_count("iu_str2i4", c));
        IU_STR2R8("zz", eight, &c, 2);
        EXPECT_EQ(his.text(), bad_count("iu_str2r8", c));
        EXPECT_EQ(back[0], 5);
    }
    // Huge counts that are representable: the field bounds what is read.
    const int64_t big = INT_MAX;
    std::string f = "12345678";
    IU_I42STR(four, &big, f.data(), f.size());
    EXPECT_EQ(f, "AAAABBBB");
    IU_STR2I4("zz", nullptr, &big, 2);
    EXPECT_EQ(his.text(), missing("iu_str2i4"));

    for (int64_t c : {int64_t{-1}, int64_t{INT_MIN}, INT64_MIN}) {
        std::string d = "dst";
        const int64_t three = 3;
        COPY_CHAR_STR("src", &c, d.data(), &three, 3, 3);
        EXPECT_EQ(his.text(), bad_count("copy_char_str", c));
        COPY_CHAR_STR("src", &three, d.data(), &c, 3, 3);
        EXPECT_EQ(his.text(), bad_count("copy_char_str", c));
        EXPECT_EQ(d, "dst");
    }
    for (int64_t c : {int64_t{INT_MAX}, INT64_MAX}) {
        std::string d = "dst";
        COPY_CHAR_STR("src", &c, d.data(), &c, 3, 3);
        EXPECT_EQ(d, "src");
    }
    // Null fields: nothing happens.
    IU_STRUPR(nullptr, 5);
    IU_PACKSTR(nullptr, 5);
    IU_CLRSTR(nullptr, 5);
    IU_STRCAT(nullptr, "x", 5, 1);
    int64_t len = -5;
    IU_STRLEN(&len, nullptr, 5);
    EXPECT_EQ(len, 0);
    IU_STRLEN(nullptr, "abc", 3);
    EXPECT_EQ(his.text(), "");
}

TEST(HostileFailure, AllocationThatCannotBeMetRaisesBeforeAnythingChanges) {
    ModeGuard mode(0);
    HistoryCapture his;
    const int64_t count = INT64_C(1) << 47;
    const V status = {kFree};
    int64_t block = -5, m = -5;
    volatile bool caught = false;
    ZARN_TRY
        U3PERM_VAR_CREATE(status.data(), &count, &block, &m);
    ZARN_EXCEPT(rtmalloc_allocate_failed)
        caught = true;
    ZARN_END_TRY;
    EXPECT_TRUE(caught);
    EXPECT_EQ(block, -5);
    EXPECT_EQ(m, -5);
    EXPECT_EQ(his.text().rfind("!! rto_hugeimalloc: \n  bytes requested = 1125899906842648\n", 0), 0u);

}

// An equation permutation whose block the heap cannot give, with no handler.
void build_unmeetable() {
    const int64_t count = INT64_C(1) << 47;
    const V status = {kFree};
    int64_t b = 0, m = 0;
    U3PERM_EQN_CREATE(status.data(), &count, &b, &m);
}

TEST(HostileDeath, UncaughtAllocationFailureEndsTheProcess) {
    EXPECT_DEATH(build_unmeetable(), "Allocation failed");
}

}  // namespace
