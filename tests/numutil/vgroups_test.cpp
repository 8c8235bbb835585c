// Variable groups: validity of the groups on random patterns checked against the pattern itself, the
// lowest-free-group rule, the object's layout, refused input, the counting sort and the report.
#include <algorithm>
#include <random>
#include <set>

#include "numutil_fixture.h"

namespace {

using namespace zarn::test;

// A sparsity pattern with rows in order, as the callers hold it.
struct Pattern {
    int64_t ncol = 0, nrow = 0;
    V rows, cols;
    int64_t nnz() const { return static_cast<int64_t>(rows.size()); }
};

Pattern random_pattern(int64_t ncol, int64_t nrow, int per_row, uint32_t seed) {
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int64_t> col(1, ncol);
    std::uniform_int_distribution<int> count(1, per_row);
    Pattern p{ncol, nrow, {}, {}};
    for (int64_t r = 1; r <= nrow; ++r) {
        std::set<int64_t> in_row;
        const int want = count(gen);
        while (static_cast<int>(in_row.size()) < want) in_row.insert(col(gen));
        for (int64_t c : in_row) p.rows.push_back(r), p.cols.push_back(c);
    }
    return p;
}

// The object's fields.
struct Object {
    int64_t ngroups;
    V list, starts;
};
Object read_object(int64_t g) {
    const int64_t *x = ZARN_ib0 + g;
    return {x[3], ints(x[4], 2 * x[0]), ints(x[6], x[1] + 1)};
}

// Groups from the list: members by group, and the tail after the last group.
std::vector<V> groups_of(const Object &o, V *tail) {
    std::vector<V> groups;
    size_t slot = 0;
    for (int64_t h = 0; h < o.ngroups; ++h) {
        const auto count = static_cast<size_t>(o.list.at(slot));
        groups.emplace_back(o.list.begin() + static_cast<long>(slot) + 1,
                            o.list.begin() + static_cast<long>(slot + count) + 1);
        slot += count + 1;
    }
    *tail = V(o.list.begin() + static_cast<long>(slot), o.list.end());
    return groups;
}

// Checks the groups of p (columns in `candidates` only) against the pattern: no shared row inside a
// group, every candidate in exactly one group, members increasing, the tail zero, every column joined
// the lowest group free of its rows, and the row starts. Returns the first problem found, or "".
S problems(const Pattern &p, const Object &o, const std::vector<bool> &candidate) {
    V tail;
    const auto groups = groups_of(o, &tail);
    if (std::any_of(tail.begin(), tail.end(), [](int64_t v) { return v != 0; })) return "list tail not zero";
    std::vector<std::set<int64_t>> rows_of(static_cast<size_t>(p.ncol + 1));
    for (int64_t k = 0; k < p.nnz(); ++k) rows_of[static_cast<size_t>(p.cols[k])].insert(p.rows[k]);
    V group_of(static_cast<size_t>(p.ncol + 1), 0);
    for (size_t h = 0; h < groups.size(); ++h) {
        if (groups[h].empty()) return "empty group " + std::to_string(h + 1);
        if (!std::is_sorted(groups[h].begin(), groups[h].end()) ||
            std::adjacent_find(groups[h].begin(), groups[h].end()) != groups[h].end())
            return "members of group " + std::to_string(h + 1) + " not increasing";
        std::set<int64_t> used_rows;
        for (int64_t c : groups[h]) {
            if (group_of.at(static_cast<size_t>(c)) != 0) return "column " + std::to_string(c) + " twice";
            group_of[static_cast<size_t>(c)] = static_cast<int64_t>(h + 1);
            for (int64_t r : rows_of[static_cast<size_t>(c)])
                if (!used_rows.insert(r).second) return "row " + std::to_string(r) + " shared in a group";
        }
    }
    std::vector<V> cols_of_row(static_cast<size_t>(p.nrow + 1));
    for (int64_t k = 0; k < p.nnz(); ++k) cols_of_row[static_cast<size_t>(p.rows[k])].push_back(p.cols[k]);
    for (int64_t c = 1; c <= p.ncol; ++c) {
        const int64_t h = group_of[static_cast<size_t>(c)];
        if ((h != 0) != candidate[static_cast<size_t>(c)])
            return "column " + std::to_string(c) + " misplaced";
        // Every lower group holds an earlier column sharing a row with c.
        std::set<int64_t> blocked;
        for (int64_t r : rows_of[static_cast<size_t>(c)])
            for (int64_t d : cols_of_row[static_cast<size_t>(r)])
                if (d < c) blocked.insert(group_of[static_cast<size_t>(d)]);
        for (int64_t lower = 1; lower < h; ++lower)
            if (blocked.count(lower) == 0)
                return "column " + std::to_string(c) + " could join group " + std::to_string(lower);
    }
    for (int64_t r = 1; r <= p.nrow; ++r) {
        const auto first = std::lower_bound(p.rows.begin(), p.rows.end(), r) - p.rows.begin() + 1;
        if (o.starts[static_cast<size_t>(r - 1)] != first) return "row start " + std::to_string(r);
    }
    if (o.starts.back() != p.nnz() + 1) return "last row start";
    return "";
}

// Creates an object for p and groups it with the given offsets (added to p's indices first).
struct Grouped {
    int64_t g = 0, err = -1;
    explicit Grouped(const Pattern &p, int64_t rowoffset = 0, int64_t coloffset = 0,
                     const V *status = nullptr) {
        const int64_t nnz = p.nnz(), usefixed = status != nullptr ? 1 : 0;
        U3VGRP_CREATE(&p.ncol, &p.nrow, &nnz, &g);
        V rows = p.rows, cols = p.cols;
        for (auto &r : rows) r += rowoffset;
        for (auto &c : cols) c += coloffset;
        const V rows_before = rows, cols_before = cols;
        U3VGRP_COMPUTE(rows.data(), cols.data(), status != nullptr ? status->data() : nullptr, &rowoffset,
                       &coloffset, &usefixed, &g, &err);
        EXPECT_EQ(rows, rows_before) << "rows changed";
        EXPECT_EQ(cols, cols_before) << "columns changed";
    }
    ~Grouped() { U3VGRP_DESTROY(&g); }
};

TEST(VariableGroups, RandomPatternsGiveValidLowestFreeGroups) {
    const struct {
        int64_t ncol, nrow;
        int per_row;
        int64_t rowoffset, coloffset;
    } kCases[] = {
        {10, 6, 3, 0, 0},       {100, 80, 5, 2, 7},        {1000, 1200, 4, 0, 1000},
        {10000, 9000, 6, 5, 0}, {100000, 100000, 3, 1, 1},
    };
    for (const auto &c : kCases) {
        const Pattern p = random_pattern(c.ncol, c.nrow, c.per_row, static_cast<uint32_t>(c.ncol));
        std::vector<bool> candidate(static_cast<size_t>(c.ncol + 1), false);
        for (int64_t col : p.cols) candidate[static_cast<size_t>(col)] = true;
        Grouped run(p, c.rowoffset, c.coloffset);
        ASSERT_EQ(run.err, 0) << c.ncol;
        const Object o = read_object(run.g);
        EXPECT_GT(o.ngroups, 0) << c.ncol;
        EXPECT_EQ(problems(p, o, candidate), "") << c.ncol << " columns";
    }
}

// Small patterns with known groups: the list as it must read.
TEST(VariableGroups, KnownPatterns) {
    const struct {
        const char *what;
        Pattern p;
        V fixed;  // fixed columns (usefixed set when not empty)
        int64_t ngroups;
        V list;
    } kCases[] = {
        {"diagonal 3 x 3", {3, 3, {1, 2, 3}, {1, 2, 3}}, {}, 1, {3, 1, 2, 3, 0, 0}},
        {"dense row", {3, 1, {1, 1, 1}, {1, 2, 3}}, {}, 3, {1, 1, 1, 2, 1, 3}},
        {"dense row, second variable fixed", {3, 1, {1, 1, 1}, {1, 2, 3}}, {2}, 2, {1, 1, 1, 3, 0, 0}},
        {"variable only in fixed rows' company", {2, 2, {1, 2}, {1, 2}}, {2}, 1, {1, 1, 0, 0}},
        {"column without nonzeros", {4, 2, {1, 1, 2}, {1, 2, 2}}, {}, 2, {1, 1, 1, 2, 0, 0, 0, 0}},
        // Column 4 meets group 2 only (through row 3) and goes back to group 1.
        {"reuse of a lower group",
         {4, 3, {1, 1, 2, 2, 3, 3}, {1, 2, 2, 3, 3, 4}},
         {},
         2,
         {2, 1, 3, 2, 2, 4, 0, 0}},
        {"banded", {4, 4, {1, 1, 2, 2, 3, 3, 4}, {1, 2, 2, 3, 3, 4, 4}}, {}, 2, {2, 1, 3, 2, 2, 4, 0, 0}},
    };
    ModeGuard mode;
    for (const auto &c : kCases) {
        V status(static_cast<size_t>(c.p.ncol), kFree);
        for (int64_t f : c.fixed) status[static_cast<size_t>(f - 1)] = kConst;
        Grouped run(c.p, 1, 2, c.fixed.empty() ? nullptr : &status);
        ASSERT_EQ(run.err, 0) << c.what;
        const Object o = read_object(run.g);
        EXPECT_EQ(o.ngroups, c.ngroups) << c.what;
        EXPECT_EQ(o.list, c.list) << c.what;
    }
}

// Refused input: the error code and message, the caller's arrays and the object untouched.
TEST(VariableGroups, RefusedInput) {
    const Pattern p{3, 2, {1, 1, 2}, {1, 2, 3}};
    const int64_t nnz = 3;
    int64_t g = 0;
    U3VGRP_CREATE(&p.ncol, &p.nrow, &nnz, &g);
    ASSERT_NE(g, 0);
    const V before = ints(g, 8), list_before = ints(ZARN_ib0[g + 4], 6);
    const struct {
        const char *what;
        V rows, cols;
        int64_t rowoffset, coloffset;
        int64_t err;
        S message;
    } kCases[] = {
        {"column above ncol",
         {1, 1, 2},
         {1, 4, 3},
         0,
         0,
         2,
         "!! u3vgrp_compute: index 4 at entry 2 is out of range 1..3\n"},
        {"column at the offset",
         {1, 1, 2},
         {6, 5, 7},
         0,
         5,
         2,
         "!! u3vgrp_compute: index 5 at entry 2 is out of range 1..3\n"},
        {"column overflowing with the offset",
         {1, 1, 2},
         {INT64_MIN, 2, 3},
         0,
         1,
         2,
         "!! u3vgrp_compute: index " + std::to_string(INT64_MIN) + " at entry 1 is out of range 1..3\n"},
        {"row above nrow",
         {1, 1, 3},
         {1, 2, 3},
         0,
         0,
         3,
         "!! u3vgrp_compute: index 3 at entry 3 is out of range 1..2\n"},
        {"row at the offset",
         {5, 5, 5},
         {1, 2, 3},
         5,
         0,
         3,
         "!! u3vgrp_compute: index 5 at entry 1 is out of range 1..2\n"},
        {"rows out of order",
         {2, 1, 2},
         {1, 2, 3},
         0,
         0,
         3,
         "!! u3vgrp_compute: row 1 at entry 2 comes after row 2: nonzeros must be ordered by row\n"},
        {"negative row offset",
         {1, 1, 2},
         {1, 2, 3},
         -1,
         0,
         1,
         "!! u3vgrp_compute: offsets must not be negative (rows -1, columns 0)\n"},
        {"negative column offset",
         {1, 1, 2},
         {1, 2, 3},
         0,
         -2,
         1,
         "!! u3vgrp_compute: offsets must not be negative (rows 0, columns -2)\n"},
    };
    HistoryCapture his;
    for (const auto &c : kCases) {
        V rows = c.rows, cols = c.cols;
        int64_t err = -1, usefixed = 0;
        U3VGRP_COMPUTE(rows.data(), cols.data(), nullptr, &c.rowoffset, &c.coloffset, &usefixed, &g, &err);
        EXPECT_EQ(err, c.err) << c.what;
        EXPECT_EQ(his.text(), c.message) << c.what;
        EXPECT_EQ(rows, c.rows) << c.what;
        EXPECT_EQ(cols, c.cols) << c.what;
        EXPECT_EQ(ints(g, 8), before) << c.what;
        EXPECT_EQ(ints(ZARN_ib0[g + 4], 6), list_before) << c.what;
    }
    // Object 0, a missing array, a missing offset; usefixed without status words.
    V rows = p.rows, cols = p.cols;
    int64_t err = -1, zero = 0, none = 0, one = 1;
    U3VGRP_COMPUTE(rows.data(), cols.data(), nullptr, &zero, &zero, &zero, &none, &err);
    EXPECT_EQ(err, 1) << "object 0";
    U3VGRP_COMPUTE(rows.data(), nullptr, nullptr, &zero, &zero, &zero, &g, &err);
    EXPECT_EQ(err, 1) << "no columns";
    U3VGRP_COMPUTE(rows.data(), cols.data(), nullptr, &zero, &zero, &one, &g, &err);
    EXPECT_EQ(err, 1) << "usefixed without status";
    U3VGRP_COMPUTE(rows.data(), cols.data(), nullptr, nullptr, &zero, &zero, &g, &err);
    EXPECT_EQ(err, 1) << "row offset left out";
    EXPECT_EQ(his.text(),
              "!! u3vgrp_compute: block index is 0\n"
              "!! u3vgrp_compute: an array argument is missing\n"
              "!! u3vgrp_compute: an array argument is missing\n"
              "!! u3vgrp_compute: offsets must not be negative (rows -1, columns 0)\n");
    // A negative size in the object is refused; nnz 0 is done at once.
    ZARN_ib0[g + 1] = -4;
    U3VGRP_COMPUTE(rows.data(), cols.data(), nullptr, &zero, &zero, &zero, &g, &err);
    EXPECT_EQ(err, 1) << "negative nrow";
    EXPECT_EQ(his.text(), "!! u3vgrp_compute: count is out of range. -4\n");
    ZARN_ib0[g + 1] = 2, ZARN_ib0[g + 2] = 0;
    U3VGRP_COMPUTE(nullptr, nullptr, nullptr, &zero, &zero, &zero, &g, &err);
    EXPECT_EQ(err, 0) << "nnz 0";
    EXPECT_EQ(ZARN_ib0[g + 3], 0);
    U3VGRP_DESTROY(&g);
    EXPECT_EQ(g, 0);
    U3VGRP_DESTROY(&g);
}

TEST(VariableGroups, CreateLayoutAndSizes) {
    int64_t g = -1, three = 3, two = 2, five = 5, zero = 0, minus = -1;
    U3VGRP_CREATE(&three, &two, &five, &g);
    ASSERT_GT(g, 0);
    const V x = ints(g, 8);
    EXPECT_EQ(V(x.begin(), x.begin() + 4), (V{3, 2, 5, 0}));
    EXPECT_NE(x[4], 0);
    EXPECT_NE(x[6], 0);
    EXPECT_EQ(ints(x[4], 6), V(6, 0));
    U3VGRP_DESTROY(&g);
    HistoryCapture his;
    for (const auto &sizes : {V{0, 2, 5}, V{3, 0, 5}, V{3, 2, 0}, V{-1, 2, 5}}) {
        g = -1;
        U3VGRP_CREATE(&sizes[0], &sizes[1], &sizes[2], &g);
        EXPECT_EQ(g, 0) << sizes[0] << " " << sizes[1] << " " << sizes[2];
    }
    U3VGRP_CREATE(&three, &minus, &zero, nullptr);
    EXPECT_EQ(his.text(),
              "!! u3vgrp_create: count is out of range. -1\n"
              "!! u3vgrp_create: no argument for the new block\n");
}

TEST(VariableGroups, KprWithMarksAndBadOutputs) {
    // Row 1 holds columns 1, 2, 3; the nonzero (1, 2) is marked, so 1 and 2 may share a group... unless
    // row 2 joins them.
    const V rows = {1, 1, 1, 2}, cols = {1, 2, 3, 3}, marks = {0, 1, 0, 0};
    const int64_t ncol = 3, nrow = 2, nnz = 4;
    V starts(3, -7), list(6, -7);
    int64_t ngroups = -7, err = -7;
    U3_KPR(&ncol, &nrow, &nnz, rows.data(), cols.data(), marks.data(), starts.data(), list.data(), &ngroups,
           &err);
    EXPECT_EQ(err, 0);
    EXPECT_EQ(ngroups, 2);
    EXPECT_EQ(list, (V{1, 1, 1, 3, 0, 0})) << "column 2 has only a marked nonzero";
    EXPECT_EQ(starts, (V{1, 4, 5}));
    HistoryCapture his;
    U3_KPR(&ncol, &nrow, &nnz, rows.data(), cols.data(), nullptr, starts.data(), starts.data(), &ngroups,
           &err);
    EXPECT_EQ(err, 1) << "outputs overlap";
    U3_KPR(&ncol, &nrow, &nnz, rows.data(), cols.data(), nullptr, nullptr, list.data(), &ngroups, &err);
    EXPECT_EQ(err, 1) << "no row starts";
    EXPECT_EQ(his.text(), "!! u3_kpr: the arrays overlap\n!! u3_kpr: an array argument is missing\n");
    EXPECT_EQ(ngroups, 2);
}

TEST(VariableGroups, BucketSortIsStableAndGivesKeyStarts) {
    const V keys = {3, 1, 3, 2, 1, 3};
    const int64_t n = 4, nnz = 6;
    V order(6, 0), work(5, 0);
    U3_BKSORT(&n, &nnz, keys.data(), order.data(), work.data());
    EXPECT_EQ(order, (V{2, 5, 4, 1, 3, 6}));
    EXPECT_EQ(work, (V{1, 3, 4, 7, 7})) << "key 4 is empty";
    HistoryCapture his;
    const V bad = {1, 5};
    const int64_t two = 2;
    V kept = order;
    U3_BKSORT(&n, &two, bad.data(), order.data(), work.data());
    EXPECT_EQ(order, kept);
    U3_BKSORT(&n, &two, order.data(), order.data(), work.data());
    EXPECT_EQ(his.text(),
              "!! u3_bksort: index 5 at entry 2 is out of range 1..4\n!! u3_bksort: the arrays overlap\n");
}

// The report's lines for one group of 13 members and for a run of groups, with the offset added.
TEST(VariableGroups, ReportLayout) {
    Pattern p{13, 13, {}, {}};
    for (int64_t i = 1; i <= 13; ++i) p.rows.push_back(i), p.cols.push_back(i);
    Grouped one(p);
    HistoryCapture his;
    const int64_t zero = 0, offset = 100000, negative = -1;
    U3VGRP_REPORT_BY_IDX(&one.g, &zero);
    EXPECT_EQ(his.text(),
              " Number of groups detected =   1\n"
              " Group    1 contains variables:      1      2      3      4      5      6\n"
              "                                      7      8      9     10     11     12\n"
              "                                     13\n"
              " \n");
    U3VGRP_REPORT_BY_IDX(&one.g, &offset);
    EXPECT_EQ(his.text(),
              " Number of groups detected =   1\n"
              " Group    1 contains variables: 100001 100002 100003 100004 100005 100006\n"
              "                                 100007 100008 100009 100010 100011 100012\n"
              "                                 100013\n"
              " \n");
    Grouped dense({7, 1, V(7, 1), {1, 2, 3, 4, 5, 6, 7}});
    U3VGRP_REPORT_BY_IDX(&dense.g, &zero);
    const S text = his.text();
    EXPECT_EQ(text.rfind(" Number of groups detected =   7\n Group    1 contains variables:      1\n", 0),
              0u);
    EXPECT_NE(text.find(" Group    7 contains variables:      7\n \n"), S::npos);
    // Nothing for object 0, a negative offset, no groups.
    int64_t none = 0, empty = 0, three = 3;
    U3VGRP_REPORT_BY_IDX(&none, &zero);
    U3VGRP_REPORT_BY_IDX(&one.g, &negative);
    U3VGRP_CREATE(&three, &three, &three, &empty);
    U3VGRP_REPORT_BY_IDX(&empty, &zero);
    EXPECT_EQ(his.text(), "");
    U3VGRP_DESTROY(&empty);
}

}  // namespace
