// Permutation builders, their use on vectors and Jacobian arrays, and the
// index conversions, against results worked out by hand from the rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "capture.h"
#include "numutil_fixture.h"

namespace {

using namespace zarn::test;
using V = std::vector<int64_t>;

// One row: items marked 'x' are dropped, '.' kept; the expected p, m and the
// vector 10, 20, ... after applying p.
struct PermRow {
    const char *items;
    V p;
    int64_t m;
    V applied;
};

const std::vector<PermRow> kPermTable = {
    {"", {}, 0, {}},
    {".", {1}, 1, {10}},
    {"x", {1}, 0, {10}},
    {"x...", {4, 2, 3, 1}, 3, {40, 20, 30, 10}},
    {"..xx", {1, 2, 3, 4}, 2, {10, 20, 30, 40}},
    {"xxxx", {1, 2, 3, 4}, 0, {10, 20, 30, 40}},
    {"....", {1, 2, 3, 4}, 4, {10, 20, 30, 40}},
    {"x.x...", {6, 2, 5, 4, 3, 1}, 4, {60, 20, 50, 40, 30, 10}},
    {"x..x.x", {5, 2, 3, 4, 1, 6}, 3, {50, 20, 30, 40, 10, 60}},
    {".x.x.", {1, 5, 3, 4, 2}, 3, {10, 50, 30, 40, 20}},
    {"xxx...", {6, 5, 4, 3, 2, 1}, 3, {60, 50, 40, 30, 20, 10}},
    {".x", {1, 2}, 1, {10, 20}},
    {"x.", {2, 1}, 1, {20, 10}},
};

// How each builder is made to drop an item: the status word and incidence count
// of a dropped and of a kept item at position i (1-based).
struct Builder {
    const char *name;
    int64_t (*build)(const V &status, const V &incid, int64_t *block, int64_t *m);
    int64_t (*dropped_status)(size_t i);
    int64_t (*dropped_count)(size_t i);
    int64_t (*kept_status)(size_t i);
    int64_t kept_count;
};

int64_t with_incid(const V &status, const V &incid, int64_t *block, int64_t *m,
                   int64_t (*fn)(const int64_t *, const int64_t *, const int64_t *, int64_t *,
                                 int64_t *)) {
    const int64_t n = static_cast<int64_t>(status.size());
    int64_t ib = int_block(incid);
    const int64_t r = fn(status.data(), &n, &ib, block, m);
    RTO_IFREE(&ib);
    return r;
}

const std::vector<Builder> kBuilders = {
    {"U3PERM_VAR_CREATE",
     [](const V &s, const V &, int64_t *b, int64_t *m) {
         const int64_t n = static_cast<int64_t>(s.size());
         return U3PERM_VAR_CREATE(s.data(), &n, b, m);
     },
     // CONST, INITIAL and (mode 0) INDEP are all fixed; bits above the spec are noise.
     [](size_t i) { return (i % 3 == 0 ? kConst : i % 3 == 1 ? kInitial : kIndep) | 0x1234560; },
     [](size_t) { return int64_t{0}; },
     [](size_t i) { return i % 2 ? kFree : (int64_t{3} | 0x2000000); },  // MEAS is free in mode 0
     0},
    {"U3PERM_VAR_CREATE_INCIDENCE",
     [](const V &s, const V &c, int64_t *b, int64_t *m) {
         return with_incid(s, c, b, m, U3PERM_VAR_CREATE_INCIDENCE);
     },
     [](size_t i) { return i % 2 ? kConst : kFree; },
     [](size_t i) { return i % 2 ? int64_t{5} : int64_t{0}; },
     [](size_t) { return kFree; }, 2},
    {"U3PERM_VAR_CREATE_INCIDENCEONLY",
     [](const V &s, const V &c, int64_t *b, int64_t *m) {
         return with_incid(s, c, b, m, U3PERM_VAR_CREATE_INCIDENCEONLY);
     },
     // The status words are not read: kept items are fixed, dropped ones free.
     [](size_t) { return kFree; }, [](size_t) { return int64_t{0}; },
     [](size_t) { return kConst; }, -1},
    {"U3PERM_EQN_CREATE",
     [](const V &s, const V &, int64_t *b, int64_t *m) {
         const int64_t n = static_cast<int64_t>(s.size());
         return U3PERM_EQN_CREATE(s.data(), &n, b, m);
     },
     [](size_t i) { return i % 2 ? kExcluded | 0x2 : kObjective; },
     [](size_t) { return int64_t{0}; },
     // every other math type (0..4), signs and flags keep an equation
     [](size_t i) { return static_cast<int64_t>((i % 5) << 1) | 0x400020; }, 0},
    {"U3PERM_EQN_CREATE_INCIDENCE",
     [](const V &s, const V &c, int64_t *b, int64_t *m) {
         return with_incid(s, c, b, m, U3PERM_EQN_CREATE_INCIDENCE);
     },
     [](size_t i) { return i % 3 == 0 ? kExcluded : i % 3 == 1 ? kObjective : int64_t{0x4}; },
     [](size_t i) { return i % 3 == 2 ? int64_t{0} : int64_t{1}; },
     [](size_t) { return int64_t{0x8}; }, 1},
};

TEST(PermTable, EveryBuilderGivesTheHandWorkedPermutation) {
    ModeGuard mode(0);
    HistoryCapture his;
    for (const Builder &bld : kBuilders) {
        for (const PermRow &row : kPermTable) {
            const std::string items = row.items;
            V status, incid;
            for (size_t i = 0; i < items.size(); ++i) {
                const bool drop = items[i] == 'x';
                status.push_back(drop ? bld.dropped_status(i + 1) : bld.kept_status(i + 1));
                incid.push_back(drop ? bld.dropped_count(i + 1) : bld.kept_count);
            }
            SCOPED_TRACE(std::string(bld.name) + " \"" + items + "\"");
            int64_t block = -7, m = -7;
            const int64_t ret = bld.build(status, incid, &block, &m);
            ASSERT_NE(block, 0);
            const int64_t n = static_cast<int64_t>(items.size());
            EXPECT_EQ(ret, row.m);
            EXPECT_EQ(m, row.m);
            EXPECT_EQ(ZARN_ib0[block], n + 3);
            EXPECT_EQ(ZARN_ib0[block + n + 1], n);
            EXPECT_EQ(ZARN_ib0[block + n + 2], row.m);
            EXPECT_EQ(perm_of(block), row.p);

            std::vector<double> rv;
            V iv;
            for (int64_t i = 1; i <= n; ++i) {
                rv.push_back(10.0 * static_cast<double>(i));
                iv.push_back(10 * i);
            }
            U3PERM_APPLY_IVEC(&block, iv.data());
            EXPECT_EQ(iv, row.applied);
            U3PERM_APPLY_RVEC(&block, rv.data());
            for (int64_t i = 0; i < n; ++i) EXPECT_EQ(rv[i], 1.0 * row.applied[i]);

            // Copy forms: fresh blocks holding the applied vector, source untouched.
            int64_t out = 0;
            U3PERM_COPY_APPLY_IVEC(&block, iv.data(), &out);
            ASSERT_NE(out, 0);
            V back = ints(out, n);
            RTO_IFREE(&out);
            U3PERM_COPY_APPLY_RVEC(&block, rv.data(), &out);
            ASSERT_NE(out, 0);
            std::vector<double> rback = reals(out, n);
            RTO_DFREE(&out);
            EXPECT_EQ(iv, row.applied);
            for (int64_t i = 0; i < n; ++i) {
                EXPECT_EQ(back[i], 10 * (i + 1)) << "applying twice restores";
                EXPECT_EQ(rback[i], 10.0 * static_cast<double>(i + 1));
            }
            U3PERM_DESTROY(&block);
            EXPECT_EQ(block, 0);
        }
    }
    EXPECT_EQ(his.text(), "");
}

TEST(PermTable, ProblemModeDecidesWhichVariablesAreFixed) {
    const V status = {kIndep, kFree, 5 /* OPTIM */, 3 /* MEAS */};
    const int64_t n = 4;
    struct {
        int32_t mode;
        V p;
        int64_t m;
    } rows[] = {
        {0, {4, 2, 3, 1}, 2},  // INDEP, OPTIM fixed
        {1, {2, 1, 3, 4}, 1},  // INDEP, OPTIM, MEAS fixed
        {2, {1, 2, 3, 4}, 2},  // OPTIM, MEAS fixed
        {3, {1, 2, 3, 4}, 4},  // none of them fixed
    };
    for (const auto &row : rows) {
        ModeGuard mode(row.mode);
        int64_t block = 0, m = 0;
        U3PERM_VAR_CREATE(status.data(), &n, &block, &m);
        SCOPED_TRACE(row.mode);
        EXPECT_EQ(m, row.m);
        EXPECT_EQ(perm_of(block), row.p);
        U3PERM_DESTROY(&block);
    }
}

// The Jacobian of four equations (2 excluded, 3 the objective) in three
// variables (2 fixed) with six nonzeros; 1, 5 and 6 survive.
struct SmallJacobian {
    V eqn = {0, kExcluded, kObjective, 0x4};
    V var = {kFree, kConst, kFree};
    V rows = {1, 1, 2, 3, 1, 4};
    V cols = {1, 2, 1, 3, 3, 1};
    int64_t neqn = 4, nvar = 3, nnz = 6;
};

TEST(JacobianTable, CompressesRowsAndColumnsToCompressedNumbers) {
    ModeGuard mode(0);
    HistoryCapture his;
    SmallJacobian j;
    int64_t eb = 0, vb = 0, nb = 0, m = 0;
    EXPECT_EQ(U3PERM_EQN_CREATE(j.eqn.data(), &j.neqn, &eb, &m), 2);
    EXPECT_EQ(perm_of(eb), (V{1, 4, 3, 2}));
    EXPECT_EQ(U3PERM_VAR_CREATE(j.var.data(), &j.nvar, &vb, &m), 2);
    EXPECT_EQ(perm_of(vb), (V{1, 3, 2}));
    EXPECT_EQ(U3PERM_JAC_CREATE(j.eqn.data(), j.var.data(), j.rows.data(), j.cols.data(), &j.nnz,
                                &nb, &m), 3);
    EXPECT_EQ(perm_of(nb), (V{1, 6, 5, 4, 3, 2}));

    int64_t rout = 0, cout = 0;
    U3PERM_JAC_COPY_APPLY_ROW(&nb, &eb, j.rows.data(), &rout);
    U3PERM_JAC_COPY_APPLY_COL(&nb, &vb, j.cols.data(), &cout);
    EXPECT_EQ(ints(rout, 6), (V{1, 2, 1, 3, 4, 1}));
    EXPECT_EQ(ints(cout, 6), (V{1, 1, 2, 2, 1, 3}));
    EXPECT_EQ(j.rows, (V{1, 1, 2, 3, 1, 4})) << "copy forms leave the input alone";
    V rows = j.rows, cols = j.cols;
    U3PERM_JAC_APPLY_ROW(&nb, &eb, rows.data());
    U3PERM_JAC_APPLY_COL(&nb, &vb, cols.data());
    EXPECT_EQ(rows, ints(rout, 6));
    EXPECT_EQ(cols, ints(cout, 6));
    RTO_IFREE(&rout);
    RTO_IFREE(&cout);

    // Rows outside the equation range (0 here) keep their value.
    V odd = {0, 1, 2, 3, 4, 9};
    U3PERM_JAC_APPLY_ROW(&nb, &eb, odd.data());
    EXPECT_EQ(odd, (V{0, 9, 2, 3, 4, 1}));

    // Incidence counts.
    int64_t rel = 0, vin = 0;
    U3MAP_REL_INCIDENCE(&j.neqn, j.var.data(), j.rows.data(), j.cols.data(), &j.nnz, &rel);
    EXPECT_EQ(ints(rel, 4), (V{2, 1, 1, 1}));
    U3MAP_VAR_INCIDENCE(&j.nvar, j.eqn.data(), j.rows.data(), j.cols.data(), &j.nnz, &vin);
    EXPECT_EQ(ints(vin, 3), (V{2, 1, 2}));

    // With incidence blocks: a variable without incidence drops nonzero 5 too.
    int64_t nb2 = 0;
    EXPECT_EQ(U3PERM_JAC_CREATE_INCIDENCE(j.eqn.data(), j.var.data(), j.rows.data(), j.cols.data(),
                                          &j.nnz, &rel, &vin, &nb2, &m), 3);
    U3PERM_DESTROY(&nb2);
    int64_t noVar3 = int_block({2, 1, 0});
    EXPECT_EQ(U3PERM_JAC_CREATE_INCIDENCE(j.eqn.data(), j.var.data(), j.rows.data(), j.cols.data(),
                                          &j.nnz, &rel, &noVar3, &nb2, &m), 2);
    EXPECT_EQ(perm_of(nb2), (V{1, 6, 3, 4, 5, 2}));
    U3PERM_DESTROY(&nb2);
    int64_t noEqn1 = int_block({0, 1, 1, 1});
    EXPECT_EQ(U3PERM_JAC_CREATE_INCIDENCE(j.eqn.data(), j.var.data(), j.rows.data(), j.cols.data(),
                                          &j.nnz, &noEqn1, &vin, &nb2, &m), 1);
    EXPECT_EQ(perm_of(nb2), (V{6, 2, 3, 4, 5, 1}));
    for (int64_t *b : {&nb2, &noVar3, &noEqn1, &rel, &vin, &eb, &vb, &nb}) RTO_IFREE(b);
    EXPECT_EQ(his.text(), "");
}

TEST(Incidence, RemapFindObjectiveAndRowLists) {
    ModeGuard mode(0);
    HistoryCapture his;
    // Rows and columns below 1 are not counted; a fixed variable's nonzero is
    // not counted for its row; an excluded equation's not for its column.
    const V rows = {0, 2, 2, -1, 3, 2}, cols = {1, 1, 2, 2, 0, 3};
    const V var = {kFree, kFree, kInitial};
    const V eqn = {0, 0, kExcluded};
    const int64_t three = 3, six = 6;
    int64_t rel = 0, vin = 0;
    U3MAP_REL_INCIDENCE(&three, var.data(), rows.data(), cols.data(), &six, &rel);
    EXPECT_EQ(ints(rel, 3), (V{0, 2, 0}));
    U3MAP_VAR_INCIDENCE(&three, eqn.data(), rows.data(), cols.data(), &six, &vin);
    EXPECT_EQ(ints(vin, 3), (V{1, 1, 1}));
    RTO_IFREE(&rel);
    RTO_IFREE(&vin);

    const int64_t five = 5, limit = 3;
    int64_t block = int_block({5, 1, 3, 0, 4});
    V flags(5, 9);
    U3REMAP(&five, &limit, &block, flags.data());
    EXPECT_EQ(flags, (V{0, 1, 1, 1, 0}));
    EXPECT_EQ(ints(block, 5), (V{0, 1, 2, 3, 0}));
    RTO_IFREE(&block);

    struct {
        V eqn;
        int64_t found;
    } objectives[] = {
        {{0, kObjective, kObjective}, 2},
        {{kObjective | kExcluded, 0x8, kObjective}, 3},
        {{0, 0x2, 0x8 | kExcluded}, 0},
        {{}, 0},
    };
    for (const auto &o : objectives) {
        const int64_t n = static_cast<int64_t>(o.eqn.size());
        int64_t out = -1;
        EXPECT_EQ(USR3_FNDOBJ(&n, o.eqn.data(), &out), o.found);
        EXPECT_EQ(out, o.found);
    }

    const V jr = {1, 1, 2, 3, 1, 4};
    int64_t list = 0, count = -1;
    const int64_t row1 = 1, row9 = 9;
    NZ_IN_ROW(&row1, jr.data(), &six, &list, &count);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(ints(list, 3), (V{1, 2, 5}));
    RTO_IFREE(&list);
    NZ_IN_ROW(&row9, jr.data(), &six, &list, &count);
    EXPECT_EQ(count, 0);
    EXPECT_NE(list, 0);
    RTO_IFREE(&list);
    EXPECT_EQ(his.text(), "");
}

// A list-directed record of gfortran: a blank, the label, a separating blank
// and the 64-bit value right-aligned in 20 columns.
std::string record(const std::string &label, int64_t v) {
    std::string num = std::to_string(v);
    return " " + label + std::string(21 - num.size(), ' ') + num + "\n";
}

TEST(Conversion, IndexConversionsAndTheirBoundsRecords) {
    ModeGuard mode(0);
    const V eqn = {0, kExcluded, kObjective, 0};
    const int64_t n = 4;
    int64_t b = 0, m = 0;
    U3PERM_EQN_CREATE(eqn.data(), &n, &b, &m);  // p = 1 4 3 2, m = 2
    // Results are kept and checked once standard output is back, so that a
    // failure report does not land in the capture.
    std::vector<std::pair<int64_t, int64_t>> calls;  // (result, expected)
    std::vector<std::pair<std::string, std::string>> texts;
    {
        StdoutCapture out;
        for (int64_t i = 1; i <= 2; ++i) {
            const int64_t u = U3PERM_COMP2UNCOMP(&b, &i);
            calls.push_back({U3PERM_UNCOMP2COMP(&b, &u), i});
        }
        const V expectedUncomp = {1, 4, 3, 2};
        for (int64_t i = 1; i <= 4; ++i) calls.push_back({U3PERM_UNCOMP2COMP(&b, &i), expectedUncomp[i - 1]});
        calls.push_back({U3PERM_COMP2UNCOMP(&b, &calls[1].first), 4});
        texts.push_back({out.text(), ""});

        const std::string c2u = " !! u3perm_comp2uncomp: i is out of bounds\n";
        const std::string u2c = " !! u3perm_uncomp2comp: i is out of bounds\n";
        for (int64_t i : {int64_t{0}, int64_t{3}, INT64_MIN}) {
            calls.push_back({U3PERM_COMP2UNCOMP(&b, &i), 0});
            texts.push_back({out.text(), c2u + record("  i   = ", i) + record("  nxc = ", 2)});
        }
        for (int64_t i : {int64_t{0}, int64_t{5}, INT64_MAX}) {
            calls.push_back({U3PERM_UNCOMP2COMP(&b, &i), 0});
            texts.push_back({out.text(), u2c + record("  i   = ", i) + record("  nx  = ", 4)});
        }
    }
    for (const auto &c : calls) EXPECT_EQ(c.first, c.second);
    for (const auto &t : texts) EXPECT_EQ(t.first, t.second);
    U3PERM_DESTROY(&b);
}

// The documented placement, stated independently: holes among 1..m (ascending)
// take the retained items beyond m, last first.
V reference_perm(const std::vector<bool> &kept, int64_t *m) {
    const int64_t n = static_cast<int64_t>(kept.size());
    *m = std::count(kept.begin(), kept.end(), true);
    V p(n);
    for (int64_t i = 0; i < n; ++i) p[i] = i + 1;
    V holes, tail;
    for (int64_t i = 1; i <= *m; ++i)
        if (!kept[i - 1]) holes.push_back(i);
    for (int64_t i = n; i > *m; --i)
        if (kept[i - 1]) tail.push_back(i);
    for (size_t t = 0; t < holes.size(); ++t) {
        p[holes[t] - 1] = tail[t];
        p[tail[t] - 1] = holes[t];
    }
    return p;
}

TEST(PermProperty, RandomStatusWordsGiveInvolutionsAcrossM) {
    ModeGuard mode(0);
    std::mt19937_64 rng(20261205);
    for (int64_t n : {2, 3, 17, 1000, 100000}) {
        for (double fixedShare : {0.0, 0.1, 0.5, 0.9, 1.0}) {
            std::bernoulli_distribution fixed(fixedShare);
            V status(n);
            std::vector<bool> kept(n);
            for (int64_t i = 0; i < n; ++i) {
                const bool f = fixed(rng);
                status[i] = f ? kConst : kFree;
                kept[i] = !f;
            }
            int64_t b = 0, m = 0, refM = 0;
            U3PERM_VAR_CREATE(status.data(), &n, &b, &m);
            const V p = perm_of(b);
            ASSERT_EQ(p, reference_perm(kept, &refM)) << n << " " << fixedShare;
            ASSERT_EQ(m, refM);
            for (int64_t i = 1; i <= n; ++i) {
                const int64_t j = p[i - 1];
                ASSERT_EQ(p[j - 1], i) << "involution";
                if (j != i) {
                    ASSERT_TRUE((i <= m) != (j <= m)) << "swaps cross m";
                }
            }
            V v(n);
            for (int64_t i = 0; i < n; ++i) v[i] = static_cast<int64_t>(rng());
            V w = v;
            U3PERM_APPLY_IVEC(&b, w.data());
            for (int64_t i = 0; i < n; ++i) {
                if (kept[i] && i < m) {
                    ASSERT_EQ(w[i], v[i]) << "kept front items stay";
                }
            }
            V keptVals, frontVals(w.begin(), w.begin() + m);
            for (int64_t i = 0; i < n; ++i)
                if (kept[i]) keptVals.push_back(v[i]);
            std::sort(keptVals.begin(), keptVals.end());
            std::sort(frontVals.begin(), frontVals.end());
            ASSERT_EQ(frontVals, keptVals);
            U3PERM_APPLY_IVEC(&b, w.data());
            ASSERT_EQ(w, v);
            U3PERM_DESTROY(&b);
        }
    }
}

TEST(PermProperty, CompressedJacobianEqualsAPlainFilter) {
    ModeGuard mode(0);
    std::mt19937_64 rng(7);
    const int64_t neqn = 300, nvar = 400, nnz = 5000;
    V eqn(neqn), var(nvar), rows(nnz), cols(nnz);
    for (auto &w : eqn) w = rng() % 4 == 0 ? kExcluded : rng() % 50 == 0 ? kObjective : 0;
    for (auto &w : var) w = rng() % 3 == 0 ? kConst : kFree;
    for (int64_t k = 0; k < nnz; ++k) {
        rows[k] = static_cast<int64_t>(rng() % neqn) + 1;
        cols[k] = static_cast<int64_t>(rng() % nvar) + 1;
    }
    int64_t eb = 0, vb = 0, nb = 0, me = 0, mv = 0, mn = 0;
    U3PERM_EQN_CREATE(eqn.data(), &neqn, &eb, &me);
    U3PERM_VAR_CREATE(var.data(), &nvar, &vb, &mv);
    U3PERM_JAC_CREATE(eqn.data(), var.data(), rows.data(), cols.data(), &nnz, &nb, &mn);

    // The filter: keep a nonzero when both ends are kept, and renumber each end
    // by where its item lands in the compressed vector.
    std::vector<std::pair<int64_t, int64_t>> want, got;
    V eqnAt(neqn), varAt(nvar);
    for (int64_t i = 0; i < neqn; ++i) eqnAt[i] = i + 1;
    for (int64_t i = 0; i < nvar; ++i) varAt[i] = i + 1;
    U3PERM_APPLY_IVEC(&eb, eqnAt.data());  // eqnAt[pos] = original equation
    U3PERM_APPLY_IVEC(&vb, varAt.data());
    V eqnPos(neqn + 1), varPos(nvar + 1);
    for (int64_t i = 0; i < neqn; ++i) eqnPos[eqnAt[i]] = i + 1;
    for (int64_t i = 0; i < nvar; ++i) varPos[varAt[i]] = i + 1;
    for (int64_t k = 0; k < nnz; ++k) {
        const bool e = eqn[rows[k] - 1] == 0, v = var[cols[k] - 1] == kFree;
        if (e && v) want.push_back({eqnPos[rows[k]], varPos[cols[k]]});
    }
    V r = rows, c = cols;
    U3PERM_JAC_APPLY_ROW(&nb, &eb, r.data());
    U3PERM_JAC_APPLY_COL(&nb, &vb, c.data());
    ASSERT_EQ(mn, static_cast<int64_t>(want.size()));
    for (int64_t k = 0; k < mn; ++k) {
        ASSERT_LE(r[k], me);
        ASSERT_LE(c[k], mv);
        got.push_back({r[k], c[k]});
    }
    std::sort(want.begin(), want.end());
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, want);
    for (int64_t *b : {&eb, &vb, &nb}) U3PERM_DESTROY(b);
}

}  // namespace
