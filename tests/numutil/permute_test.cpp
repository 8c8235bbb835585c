// Permutation builders, their use on vectors and Jacobian arrays, and the index conversions, against
// results worked out by hand from the rules and a random model of the placement.
#include <algorithm>
#include <random>

#include "numutil_fixture.h"

namespace {

using namespace zarn::test;

// Items 'x' dropped, '.' kept; the expected p and m (applied to 10, 20, ...: p times 10).
const struct {
    S items;
    V p;
    int64_t m;
} kPerms[] = {
    {"", {}, 0},
    {".", {1}, 1},
    {"x", {1}, 0},
    {"x.", {2, 1}, 1},
    {"x...", {4, 2, 3, 1}, 3},
    {"..xx", {1, 2, 3, 4}, 2},
    {"xxxx", {1, 2, 3, 4}, 0},
    {"x.x...", {6, 2, 5, 4, 3, 1}, 4},
    {"x..x.x", {5, 2, 3, 4, 1, 6}, 3},
    {".x.x.", {1, 5, 3, 4, 2}, 3},
    {"xxx...", {6, 5, 4, 3, 2, 1}, 3},
};

// Each builder with the status word and incidence count of a dropped and a kept item i: every reason
// to drop is used, and words carry unrelated bits.
int64_t var_create(const int64_t *s, const int64_t *n, const int64_t *, int64_t *b, int64_t *m) {
    return U3PERM_VAR_CREATE(s, n, b, m);
}
int64_t eqn_create(const int64_t *s, const int64_t *n, const int64_t *, int64_t *b, int64_t *m) {
    return U3PERM_EQN_CREATE(s, n, b, m);
}
const struct {
    int64_t (*fn)(const int64_t *, const int64_t *, const int64_t *, int64_t *, int64_t *);
    int64_t (*drop)(int64_t i), dropCount, (*keep)(int64_t i), keepCount;
} kBuilders[] = {
    {var_create,
     [](int64_t i) {
         return V{kConst, kInitial, kIndep}[i % 3] | 0x1234560;
     },
     0, [](int64_t i) { return i % 2 ? kFree : 0x2000003; }, 0},  // MEAS: free in mode 0
    {U3PERM_VAR_CREATE_INCIDENCE, [](int64_t) { return kConst; }, 4, [](int64_t) { return kFree; }, 2},
    {U3PERM_VAR_CREATE_INCIDENCEONLY, [](int64_t) { return kFree; }, 0, [](int64_t) { return kConst; }, -1},
    {eqn_create, [](int64_t i) { return i % 2 ? kExcluded | 0x2 : kObjective; }, 0,
     [](int64_t i) { return ((i % 5) << 1) | 0x400020; }, 0},
    {U3PERM_EQN_CREATE_INCIDENCE, [](int64_t i) { return i % 2 ? kObjective : 0x4; }, 0,
     [](int64_t) { return int64_t{0x8}; }, 1},
};

// The block holds n + 3, p, n, m; applying moves item i to p(i); the copy forms apply again into fresh
// blocks.
TEST(PermTable, EveryBuilderGivesTheHandWorkedPermutation) {
    ModeGuard mode;
    HistoryCapture his;
    for (const auto &bld : kBuilders)
        for (const auto &row : kPerms) {
            SCOPED_TRACE(std::to_string(&bld - kBuilders) + " \"" + row.items + "\"");
            const int64_t n = static_cast<int64_t>(row.items.size());
            V status, incid, iv, applied;
            std::vector<double> rv;
            for (int64_t i = 1; i <= n; ++i) {
                const bool drop = row.items[i - 1] == 'x';
                status.push_back(drop ? bld.drop(i) : bld.keep(i));
                incid.push_back(drop ? (i % 2 ? bld.dropCount : 0) : bld.keepCount);
                iv.push_back(10 * i);
                rv.push_back(10.0 * i);
                applied.push_back(10 * row.p[i - 1]);
            }
            int64_t ib = int_block(incid), block = -7, m = -7, ic = 0, rc = 0;
            const int64_t kept = bld.fn(status.data(), &n, &ib, &block, &m);
            V layout = row.p;
            layout.insert(layout.begin(), n + 3);
            layout.push_back(n);
            layout.push_back(row.m);
            EXPECT_EQ(kept, row.m);
            EXPECT_EQ(m, row.m);
            EXPECT_EQ(ints(block, n + 3), layout);
            U3PERM_APPLY_IVEC(&block, iv.data());
            U3PERM_APPLY_RVEC(&block, rv.data());
            EXPECT_EQ(iv, applied);
            EXPECT_EQ(rv, std::vector<double>(applied.begin(), applied.end()));
            U3PERM_COPY_APPLY_IVEC(&block, iv.data(), &ic);
            U3PERM_COPY_APPLY_RVEC(&block, rv.data(), &rc);
            for (int64_t i = 0; i < n; ++i) EXPECT_EQ(ZARN_ib0[ic + i] + ZARN_b0[rc + i], 20.0 * (i + 1));
            EXPECT_EQ(iv, applied) << "the copy forms leave the source alone";
            RTO_IFREE(&ic);
            RTO_DFREE(&rc);
            RTO_IFREE(&ib);
            U3PERM_DESTROY(&block);
            EXPECT_EQ(block, 0);
        }
    EXPECT_EQ(his.text(), "");
}

// gfortran's list-directed record: a blank, the label, a blank, the value in 20 columns.
S record(const S &label, int64_t v) {
    return " " + label + S(21 - std::to_string(v).size(), ' ') + std::to_string(v) + "\n";
}

// Equations 2 (excluded) and 3 (objective) and variable 2 (fixed) drop out, and with them nonzeros 2, 3
// and 4; rows and columns renumber; rows outside 1..4 keep their value.
TEST(JacobianTable, CompressesRowsColumnsCountsIncidenceAndConvertsIndices) {
    ModeGuard mode;
    HistoryCapture his;
    V eqn = {0, kExcluded, kObjective, 0x4}, var = {kFree, kConst, kFree}, rows = {1, 1, 2, 3, 1, 4},
      cols = {1, 2, 1, 3, 3, 1};
    int64_t neqn = 4, nvar = 3, nnz = 6, eb = 0, vb = 0, nb = 0, m = 0, ro = 0, co = 0, rel = 0, vin = 0;
    EXPECT_EQ(U3PERM_EQN_CREATE(eqn.data(), &neqn, &eb, &m) * 100 +
                  U3PERM_VAR_CREATE(var.data(), &nvar, &vb, &m) * 10 +
                  U3PERM_JAC_CREATE(eqn.data(), var.data(), rows.data(), cols.data(), &nnz, &nb, &m),
              223);
    EXPECT_EQ(perm_of(nb), (V{1, 6, 5, 4, 3, 2}));
    U3PERM_JAC_COPY_APPLY_ROW(&nb, &eb, rows.data(), &ro);
    U3PERM_JAC_COPY_APPLY_COL(&nb, &vb, cols.data(), &co);
    EXPECT_EQ(ints(ro, 6), (V{1, 2, 1, 3, 4, 1}));
    EXPECT_EQ(ints(co, 6), (V{1, 1, 2, 2, 1, 3}));
    V r = {0, 1, 2, 3, 4, 9}, c = cols;
    U3PERM_JAC_APPLY_ROW(&nb, &eb, r.data());
    U3PERM_JAC_APPLY_COL(&nb, &vb, c.data());
    EXPECT_EQ(r, (V{0, 9, 2, 3, 4, 1}));
    EXPECT_EQ(c, ints(co, 6));
    U3MAP_REL_INCIDENCE(&neqn, var.data(), rows.data(), cols.data(), &nnz, &rel);
    U3MAP_VAR_INCIDENCE(&nvar, eqn.data(), rows.data(), cols.data(), &nnz, &vin);
    EXPECT_EQ(ints(rel, 4), (V{2, 1, 1, 1}));
    EXPECT_EQ(ints(vin, 3), (V{2, 1, 2}));
    // Without incidence, variable 3 loses nonzero 5, equation 1 loses 1 and 5.
    const struct {
        V eqnCounts, varCounts, p;
        int64_t m;
    } inc[] = {{{2, 1, 1, 1}, {2, 1, 2}, {1, 6, 5, 4, 3, 2}, 3},
               {{2, 1, 1, 1}, {2, 1, 0}, {1, 6, 3, 4, 5, 2}, 2},
               {{0, 1, 1, 1}, {2, 1, 2}, {6, 2, 3, 4, 5, 1}, 1}};
    for (const auto &row : inc) {
        int64_t ei = int_block(row.eqnCounts), vi = int_block(row.varCounts), b = 0;
        EXPECT_EQ(U3PERM_JAC_CREATE_INCIDENCE(eqn.data(), var.data(), rows.data(), cols.data(), &nnz, &ei,
                                              &vi, &b, &m),
                  row.m);
        EXPECT_EQ(perm_of(b), row.p);
        RTO_IFREE(&ei);
        RTO_IFREE(&vi);
        RTO_IFREE(&b);
    }
    // A single nonzero is judged by its counts too: its variable has none.
    int64_t single = 1, ei = int_block({2, 1, 1, 1}), vi = int_block({0, 1, 2}), b = 0;
    EXPECT_EQ(U3PERM_JAC_CREATE_INCIDENCE(eqn.data(), var.data(), rows.data(), cols.data(), &single, &ei, &vi,
                                          &b, &m),
              0)
        << "one nonzero whose variable has no incidence is not retained";
    RTO_IFREE(&ei);
    RTO_IFREE(&vi);
    RTO_IFREE(&b);
    // The objective (an excluded one is passed over), the nonzeros of a row, and renumbering under a limit.
    const int64_t row1 = 1, limit = 3, five = 5;
    int64_t list = 0, count = 0, out = 0, flagged = int_block({5, 1, 3, 0, 4});
    V obj2 = {kObjective | kExcluded, 0x8, kObjective, kObjective}, flags(5, 9);
    EXPECT_EQ(USR3_FNDOBJ(&neqn, eqn.data(), &out) * 10 + USR3_FNDOBJ(&neqn, obj2.data(), &out), 33);
    const int64_t none = USR3_FNDOBJ(&nvar, var.data(), &out);
    EXPECT_EQ(none * 10 + out, 0);
    NZ_IN_ROW(&row1, rows.data(), &nnz, &list, &count);
    U3REMAP(&five, &limit, &flagged, flags.data());
    EXPECT_EQ(ints(list, count), (V{1, 2, 5}));
    EXPECT_EQ(flags, (V{0, 1, 1, 1, 0}));
    EXPECT_EQ(ints(flagged, 5), (V{0, 1, 2, 3, 0}));
    EXPECT_EQ(his.text(), "");
    // Index conversions through the equation block (p = 1 4 3 2, m = 2); out of bounds: 0 and a record on
    // unit 6.
    int64_t two = 2, three = 3, four = 4;
    V got;
    S want;
    const S text = [&] {
        StdoutCapture out;
        got = {U3PERM_COMP2UNCOMP(&eb, &row1), U3PERM_COMP2UNCOMP(&eb, &two), U3PERM_UNCOMP2COMP(&eb, &two),
               U3PERM_UNCOMP2COMP(&eb, &three), U3PERM_UNCOMP2COMP(&eb, &four)};
        for (int64_t i : {int64_t{0}, int64_t{3}, INT64_MIN}) {
            got.push_back(U3PERM_COMP2UNCOMP(&eb, &i));
            want += " !! u3perm_comp2uncomp: i is out of bounds\n" + record("  i   = ", i) +
                    record("  nxc = ", 2);
        }
        for (int64_t i : {int64_t{0}, int64_t{5}, INT64_MAX}) {
            got.push_back(U3PERM_UNCOMP2COMP(&eb, &i));
            want += " !! u3perm_uncomp2comp: i is out of bounds\n" + record("  i   = ", i) +
                    record("  nx  = ", 4);
        }
        return out.text();
    }();
    EXPECT_EQ(got, (V{1, 4, 4, 3, 2, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(text, want);
    for (int64_t *b : {&eb, &vb, &nb, &ro, &co, &rel, &vin, &list, &flagged}) RTO_IFREE(b);
}

// The documented placement, stated independently: the holes among 1..m, ascending, take the kept items beyond
// m, last first.
V reference_perm(const std::vector<bool> &kept, int64_t m) {
    const int64_t n = static_cast<int64_t>(kept.size());
    V p(n), holes, tail;
    for (int64_t i = 1; i <= n; ++i)
        if (p[i - 1] = i; i <= m && !kept[i - 1]) holes.push_back(i);
    for (int64_t i = n; i > m; --i)
        if (kept[i - 1]) tail.push_back(i);
    for (size_t t = 0; t < holes.size(); ++t) {
        p[holes[t] - 1] = tail[t];
        p[tail[t] - 1] = holes[t];
    }
    return p;
}

// A random Jacobian: the compressed nonzeros are those a plain filter keeps, each end renumbered to where
// the reference placement puts its item; applying a permutation twice restores.
TEST(PermProperty, RandomJacobianAgainstPlainFilters) {
    ModeGuard mode;
    std::mt19937_64 rng(20261205);
    const int64_t ne = 300, nv = 400, nnz = 5000;
    V eqn(ne), var(nv), rows(nnz), cols(nnz);
    std::vector<bool> eqnKept(ne), varKept(nv);
    for (int64_t i = 0; i < ne; ++i)
        eqnKept[i] = !(eqn[i] = rng() % 4 == 0 ? kExcluded : rng() % 30 == 0 ? kObjective : 0);
    for (int64_t i = 0; i < nv; ++i) varKept[i] = !(var[i] = rng() % 3 == 0 ? kConst : kFree);
    for (int64_t k = 0; k < nnz; ++k) {
        rows[k] = rng() % ne + 1;
        cols[k] = rng() % nv + 1;
    }
    // The first nonzero joins the last equation and the last variable, both kept and so both moved forward:
    // the first entry is renumbered like the others.
    eqn[ne - 1] = 0;
    var[nv - 1] = kFree;
    eqnKept[ne - 1] = true;
    varKept[nv - 1] = true;
    rows[0] = ne;
    cols[0] = nv;
    int64_t eb = 0, vb = 0, nb = 0, me = 0, mv = 0, mn = 0;
    U3PERM_EQN_CREATE(eqn.data(), &ne, &eb, &me);
    U3PERM_VAR_CREATE(var.data(), &nv, &vb, &mv);
    U3PERM_JAC_CREATE(eqn.data(), var.data(), rows.data(), cols.data(), &nnz, &nb, &mn);
    const V eqnPos = reference_perm(eqnKept, me),
            varPos = reference_perm(varKept, mv);  // item i lands at p(i)
    std::vector<std::pair<int64_t, int64_t>> want, got;
    for (int64_t k = 0; k < nnz; ++k)
        if (eqnKept[rows[k] - 1] && varKept[cols[k] - 1])
            want.push_back({eqnPos[rows[k] - 1], varPos[cols[k] - 1]});
    V twice = var;
    U3PERM_APPLY_IVEC(&vb, twice.data());
    U3PERM_APPLY_IVEC(&vb, twice.data());
    EXPECT_EQ(twice, var);
    U3PERM_JAC_APPLY_ROW(&nb, &eb, rows.data());
    U3PERM_JAC_APPLY_COL(&nb, &vb, cols.data());
    ASSERT_EQ(mn, static_cast<int64_t>(want.size()));
    for (int64_t k = 0; k < mn; ++k) got.push_back({rows[k], cols[k]});
    std::sort(want.begin(), want.end());
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, want);
    EXPECT_LE(*std::max_element(rows.begin(), rows.begin() + mn), me);
    for (int64_t *b : {&eb, &vb, &nb}) U3PERM_DESTROY(b);
}

}  // namespace
