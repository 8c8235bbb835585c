// Variable groups: the groups of random patterns checked against the patterns themselves, small patterns
// with known groups, refused input, the counting sort and the report's layout.
#include <algorithm>
#include <functional>
#include <random>
#include <set>

#include "numutil_fixture.h"
#include "platform/xalloc.h"

namespace {

using namespace zarn::test;

struct Pattern {
    int64_t ncol, nrow;
    V rows, cols;  // ordered by row
};

// Groups p with the offsets added to its indices; the caller's arrays must come back unchanged.
struct Grouped {
    int64_t g = 0, err = -1;
    Grouped(const Pattern &p, int64_t rowoffset, int64_t coloffset, const V *status = nullptr) {
        const int64_t nnz = static_cast<int64_t>(p.rows.size()), usefixed = status != nullptr ? 1 : 0;
        U3VGRP_CREATE(&p.ncol, &p.nrow, &nnz, &g);
        V rows = p.rows, cols = p.cols;
        for (auto &r : rows) r += rowoffset;
        for (auto &c : cols) c += coloffset;
        const V given_rows = rows, given_cols = cols;
        U3VGRP_COMPUTE(rows.data(), cols.data(), status != nullptr ? status->data() : nullptr, &rowoffset,
                       &coloffset, &usefixed, &g, &err);
        EXPECT_TRUE(rows == given_rows && cols == given_cols) << "the caller's arrays changed";
    }
    ~Grouped() { U3VGRP_DESTROY(&g); }
    int64_t ngroups() const { return ZARN_ib0[g + 3]; }
    V list() const { return ints(ZARN_ib0[g + 4], 2 * ZARN_ib0[g]); }
};

// The first rule the groups of p break, or "": members increasing, each column in one group at most, the
// list's tail zero, no row shared inside a group, every column with a nonzero grouped, and each column in
// the lowest group that no earlier column sharing a row with it is in.
S broken_rule(const Pattern &p, const Grouped &run) {
    const V list = run.list();
    V group_of(static_cast<size_t>(p.ncol + 1), 0);
    size_t slot = 0;
    for (int64_t h = 1; h <= run.ngroups(); ++h) {
        const auto count = static_cast<size_t>(list.at(slot));
        for (size_t i = 1; i <= count; ++i) {
            const auto c = static_cast<size_t>(list.at(slot + i));
            if (i > 1 && list[slot + i] <= list[slot + i - 1]) return "members not increasing";
            if (group_of.at(c) != 0) return "a column in two groups";
            group_of[c] = h;
        }
        slot += count + 1;
    }
    if (std::any_of(list.begin() + static_cast<long>(slot), list.end(), [](int64_t v) { return v != 0; }))
        return "the list's tail is not zero";
    std::vector<V> cols_of_row(static_cast<size_t>(p.nrow + 1));
    for (size_t k = 0; k < p.rows.size(); ++k)
        cols_of_row[static_cast<size_t>(p.rows[k])].push_back(p.cols[k]);
    std::vector<std::set<int64_t>> taken(static_cast<size_t>(p.ncol + 1));  // groups of earlier neighbours
    for (const V &row : cols_of_row) {
        std::set<int64_t> groups;
        for (int64_t c : row) {
            if (group_of[static_cast<size_t>(c)] == 0) return "column " + std::to_string(c) + " in no group";
            if (!groups.insert(group_of[static_cast<size_t>(c)]).second)
                return "two columns of a group share a row";
            for (int64_t d : row)
                if (d < c) taken[static_cast<size_t>(c)].insert(group_of[static_cast<size_t>(d)]);
        }
    }
    for (size_t c = 1; c < group_of.size(); ++c) {
        const auto &t = taken[c];
        if (group_of[c] > 0 && std::distance(t.begin(), t.lower_bound(group_of[c])) != group_of[c] - 1)
            return "column " + std::to_string(c) + " not in the lowest free group";
    }
    return "";
}

TEST(VariableGroups, RandomPatternsFollowEveryRule) {
    const struct {
        int64_t ncol, nrow;
        int per_row;
        int64_t rowoffset, coloffset;
    } kCases[] = {
        {10, 6, 3, 0, 0},       {100, 80, 5, 2, 7},        {1000, 1200, 4, 0, 1000},
        {10000, 9000, 6, 5, 0}, {100000, 100000, 3, 1, 1},
    };
    for (const auto &c : kCases) {
        std::mt19937 gen(static_cast<uint32_t>(c.ncol));
        std::uniform_int_distribution<int64_t> col(1, c.ncol);
        std::uniform_int_distribution<int> count(1, c.per_row);
        Pattern p{c.ncol, c.nrow, {}, {}};
        for (int64_t r = 1; r <= c.nrow; ++r) {
            std::set<int64_t> in_row;
            for (int i = count(gen); i > 0; --i) in_row.insert(col(gen));
            for (int64_t j : in_row) p.rows.push_back(r), p.cols.push_back(j);
        }
        Grouped run(p, c.rowoffset, c.coloffset);
        EXPECT_EQ(run.err, 0) << c.ncol;
        EXPECT_GT(run.ngroups(), 1) << c.ncol;
        EXPECT_EQ(broken_rule(p, run), "") << c.ncol << " columns";
    }
}

TEST(VariableGroups, KnownPatterns) {
    const struct {
        const char *what;
        Pattern p;
        int64_t fixed;  // a fixed variable, with usefixed set; 0 for none
        V list;
    } kCases[] = {
        {"diagonal", {3, 3, {1, 2, 3}, {1, 2, 3}}, 0, {3, 1, 2, 3, 0, 0}},
        {"dense row", {3, 1, {1, 1, 1}, {1, 2, 3}}, 0, {1, 1, 1, 2, 1, 3}},
        {"dense row, variable 2 fixed", {3, 1, {1, 1, 1}, {1, 2, 3}}, 2, {1, 1, 1, 3, 0, 0}},
        {"column 4 meets group 2 only",
         {4, 3, {1, 1, 2, 2, 3, 3}, {1, 2, 2, 3, 3, 4}},
         0,
         {2, 1, 3, 2, 2, 4, 0, 0}},
    };
    ModeGuard mode;
    for (const auto &c : kCases) {
        V status(static_cast<size_t>(c.p.ncol), kFree);
        if (c.fixed > 0) status[static_cast<size_t>(c.fixed - 1)] = kConst;
        Grouped run(c.p, 1, 2, c.fixed > 0 ? &status : nullptr);
        EXPECT_EQ(run.err, 0) << c.what;
        EXPECT_EQ(run.list(), c.list) << c.what;
    }
}

// Refused input: the code and the message; the caller's arrays and the object stay as they were.
TEST(VariableGroups, RefusedInputChangesNothing) {
    const struct {
        const char *what;
        V rows, cols;
        int64_t rowoffset, coloffset, err;
        S message;
    } kCases[] = {
        {"column above ncol", {1, 1, 2}, {1, 4, 3}, 0, 0, 2, "index 4 at entry 2 is out of range 1..3\n"},
        {"column at the offset", {1, 1, 2}, {6, 5, 7}, 0, 5, 2, "index 5 at entry 2 is out of range 1..3\n"},
        {"row at the offset", {5, 5, 5}, {1, 2, 3}, 5, 0, 3, "index 5 at entry 1 is out of range 1..2\n"},
        {"rows out of order",
         {2, 1, 2},
         {1, 2, 3},
         0,
         0,
         3,
         "row 1 at entry 2 comes after row 2: nonzeros must be ordered by row\n"},
        {"negative offset",
         {1, 1, 2},
         {1, 2, 3},
         0,
         -2,
         1,
         "offsets must not be negative (rows 0, columns -2)\n"},
    };
    const int64_t ncol = 3, nrow = 2, nnz = 3, usefixed = 0;
    int64_t g = 0;
    U3VGRP_CREATE(&ncol, &nrow, &nnz, &g);
    const V object = ints(g, 8), list = ints(object[4], 6);
    HistoryCapture his;
    for (const auto &c : kCases) {
        V rows = c.rows, cols = c.cols;
        int64_t err = -1;
        U3VGRP_COMPUTE(rows.data(), cols.data(), nullptr, &c.rowoffset, &c.coloffset, &usefixed, &g, &err);
        EXPECT_EQ(err, c.err) << c.what;
        EXPECT_EQ(his.text(), "!! u3vgrp_compute: " + c.message) << c.what;
        EXPECT_TRUE(rows == c.rows && cols == c.cols) << c.what;
        EXPECT_TRUE(ints(g, 8) == object && ints(object[4], 6) == list) << c.what;
    }
    U3VGRP_DESTROY(&g);
}

TEST(VariableGroups, BucketSortIsStableAndGivesKeyStarts) {
    const V keys = {3, 1, 3, 2, 1, 3};
    const int64_t n = 4, nnz = 6;
    V order(6, 0), work(5, 0);
    U3_BKSORT(&n, &nnz, keys.data(), order.data(), work.data());
    EXPECT_EQ(order, (V{2, 5, 4, 1, 3, 6}));
    EXPECT_EQ(work, (V{1, 3, 4, 7, 7})) << "key 4 has no entry";
}

TEST(VariableGroups, ReportOfThirteenMembersTakesThreeLines) {
    Pattern p{13, 13, {}, {}};
    for (int64_t i = 1; i <= 13; ++i) p.rows.push_back(i), p.cols.push_back(i);
    Grouped run(p, 0, 0);
    const int64_t offset = 100, negative = -1;
    HistoryCapture his;
    U3VGRP_REPORT_BY_IDX(&run.g, &offset);
    U3VGRP_REPORT_BY_IDX(&run.g, &negative);
    EXPECT_EQ(his.text(),
              " Number of groups detected =   1\n"
              " Group    1 contains variables:    101    102    103    104    105    106\n"
              "                                    107    108    109    110    111    112\n"
              "                                    113\n"
              " \n");
}

TEST(VariableGroups, KprLeavesMarkedNonzerosOut) {
    // Row 1 holds columns 1, 2, 3 with (1, 1) and (1, 3) marked: columns 1 and 2 no longer meet, and
    // column 3, with no unmarked nonzero, is in no group.
    const V rows = {1, 1, 1, 2}, cols = {1, 2, 3, 1}, marks = {1, 0, 1, 0};
    const int64_t ncol = 3, nrow = 2, nnz = 4;
    V starts(3, -7), list(6, -7);
    int64_t ngroups = -7, err = -7;
    U3_KPR(&ncol, &nrow, &nnz, rows.data(), cols.data(), marks.data(), starts.data(), list.data(), &ngroups,
           &err);
    EXPECT_EQ(err, 0);
    EXPECT_EQ(ngroups, 1);
    EXPECT_EQ(list, (V{2, 1, 2, 0, 0, 0}));
    EXPECT_EQ(starts, (V{1, 4, 5}));
}

// Every entry's refusals: the message, and the code or output where there is one.
TEST(VariableGroups, EntriesRefuseBadArguments) {
    const int64_t three = 3, zero = 0, minus = -1, unit = 97, one = 1;
    int64_t g = 0, err = -1, out = -1, state = 0;
    U3VGRP_CREATE(&three, &three, &three, &g);
    V rows = {1, 2, 3}, cols = {1, 2, 3}, status = {0, 0, 0}, order(3), work(4), list(6);
    std::vector<double> x(3, 1.0), jac(3);
    const struct {
        const char *what;
        std::function<void()> call;
        int64_t want;  // err or the output, after the call
        S message;
    } kCases[] = {
        {"compute object 0",
         [&] { U3VGRP_COMPUTE(rows.data(), cols.data(), nullptr, &zero, &zero, &zero, &zero, &err); }, 1,
         "!! u3vgrp_compute: block index is 0\n"},
        {"compute missing columns",
         [&] { U3VGRP_COMPUTE(rows.data(), nullptr, nullptr, &zero, &zero, &zero, &g, &err); }, 1,
         "!! u3vgrp_compute: an array argument is missing\n"},
        {"compute no memory for the fixed test",
         [&] {
             zarn::failalloc_set(1);
             U3VGRP_COMPUTE(rows.data(), cols.data(), status.data(), &zero, &zero, &one, &g, &err);
         },
         4, "!! u3vgrp_compute: not enough memory for 3 entries\n"},
        {"compute no memory for the work",
         [&] {
             zarn::failalloc_set(1);
             U3VGRP_COMPUTE(rows.data(), cols.data(), nullptr, &zero, &zero, &zero, &g, &err);
         },
         4, "!! u3vgrp_compute: not enough memory for 6 entries\n"},
        {"kpr negative count",
         [&] {
             U3_KPR(&three, &minus, &three, rows.data(), cols.data(), nullptr, order.data(), list.data(),
                    &out, &err);
         },
         1, "!! u3_kpr: count is out of range. -1\n"},
        {"kpr outputs overlap",
         [&] {
             U3_KPR(&three, &three, &three, rows.data(), cols.data(), nullptr, list.data(), list.data(), &out,
                    &err);
         },
         1, "!! u3_kpr: the arrays overlap\n"},
        {"bksort key out of range",
         [&] { U3_BKSORT(&one, &three, rows.data(), order.data(), work.data()), err = order[0]; }, 0,
         "!! u3_bksort: index 2 at entry 2 is out of range 1..1\n"},
        {"njac no memory",
         [&] {
             U3NJAC_COMPUTE(&g, x.data(), x.data(), status.data(), x.data(), &zero, cols.data(), x.data(),
                            x.data(), jac.data(), &state, &err);
             zarn::failalloc_set(1);
             U3NJAC_COMPUTE(&g, x.data(), x.data(), status.data(), x.data(), &zero, cols.data(), x.data(),
                            x.data(), jac.data(), &state, &err);
         },
         1, "!! u3njac_compute: not enough memory for 15 entries\n"},
        {"save object 0", [&] { U3VGRP_SAVE_TO_FILE(&unit, &zero), err = 0; }, 0,
         "!! u3vgrp_save_to_file: block index is 0\n"},
        {"read from a unit not open", [&] { U3VGRP_READ_FM_FILE(&unit, &out), err = out; }, 0,
         "!! u3vgrp_read_fm_file: unit 97 is not connected for unformatted sequential transfers\n"},
    };
    HistoryCapture his;
    for (const auto &c : kCases) {
        err = -1;
        c.call();
        zarn::failalloc_set(0);
        EXPECT_EQ(err, c.want) << c.what;
        EXPECT_EQ(his.text(), c.message) << c.what;
    }
    // An object without nonzeros is done at once.
    ZARN_ib0[g + 2] = 0;
    U3VGRP_COMPUTE(nullptr, nullptr, nullptr, &zero, &zero, &zero, &g, &err);
    EXPECT_EQ(err, 0);
    U3VGRP_DESTROY(&g);
}

}  // namespace
