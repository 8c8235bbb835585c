// Variable groups, their refusals, the counting sort and the report.
#include <cmath>
#include <functional>
#include <random>
#include <set>
#include <string>

#include "numutil_fixture.h"
#include "platform/xalloc.h"

namespace {

using namespace zarn::test;

struct Pattern {
    int64_t ncol, nrow;
    V rows, cols;  // ordered by row
};

// Groups p with the offsets added to its indices; the grouping must succeed.
struct Grouped {
    int64_t g = 0, err = -1;
    Grouped(const Pattern &p, int64_t rowoffset, int64_t coloffset, const V &status = {}) {
        const int64_t nnz = static_cast<int64_t>(p.rows.size()), usefixed = status.empty() ? 0 : 1;
        U3VGRP_CREATE(&p.ncol, &p.nrow, &nnz, &g);
        V rows = p.rows, cols = p.cols;
        for (auto &r : rows) r += rowoffset;
        for (auto &c : cols) c += coloffset;
        U3VGRP_COMPUTE(rows.data(), cols.data(), status.data(), &rowoffset, &coloffset, &usefixed, &g, &err);
        EXPECT_EQ(err, 0) << p.ncol << " columns refused";
    }
    ~Grouped() { U3VGRP_DESTROY(&g); }
    V list() const { return ints(ZARN_ib0[g + 4], 2 * ZARN_ib0[g]); }
    int64_t ngroups() const { return ZARN_ib0[g + 3]; }
};

TEST(VariableGroups, KnownPatterns) {
    const struct {
        const char *what;
        Pattern p;
        V status;
        V list;
    } kCases[] = {
        {"diagonal", {3, 3, {1, 2, 3}, {1, 2, 3}}, {}, {3, 1, 2, 3, 0, 0}},
        {"dense row", {3, 1, {1, 1, 1}, {1, 2, 3}}, {}, {1, 1, 1, 2, 1, 3}},
        {"dense row, variable 2 fixed",
         {3, 1, {1, 1, 1}, {1, 2, 3}},
         {kFree, kConst, kFree},
         {1, 1, 1, 3, 0, 0}},
    };
    ModeGuard mode;
    for (const auto &c : kCases) {
        Grouped run(c.p, 1, 2, c.status);
        EXPECT_EQ(run.list(), c.list) << c.what;
    }
}

// Refusals: the code or output and the message.
TEST(VariableGroups, EntriesRefuseBadArguments) {
    const int64_t ncol = 3, nrow = 2, nnz = 3, zero = 0, one = 1, minus = -1, unit = 97, huge = INT64_MAX;
    int64_t g = 0, result = -1, ngroups = -1, state = 0;
    U3VGRP_CREATE(&ncol, &nrow, &nnz, &g);
    const V rows = {1, 1, 1}, cols = {1, 2, 3}, cols_out_of_range = {1, 4, 3}, status(3, 256 << 4);
    V starts(6), groups(6);
    std::vector<double> x(3, 1.0), jac(3);
    const auto compute = [&](const V &row_indices, const V &col_indices, const int64_t &usefixed) {
        U3VGRP_COMPUTE(row_indices.data(), col_indices.data(), status.data(), &zero, &zero, &usefixed, &g,
                       &result);
    };
    const auto kpr = [&](const int64_t &columns, const int64_t &row_count, int64_t *starts_out,
                         const int64_t *col_indices) {
        U3_KPR(&columns, &row_count, &nnz, rows.data(), col_indices, nullptr, starts_out, groups.data(),
               &ngroups, &result);
    };
    const auto njac = [&](int64_t *state_in_out) {
        U3NJAC_COMPUTE(&g, x.data(), x.data(), status.data(), x.data(), &zero, cols.data(), x.data(),
                       x.data(), jac.data(), state_in_out, &result);
    };
    const struct {
        const char *what;
        std::function<void()> call;
        int64_t want;
        S message;
    } kCases[] = {
        {"compute column above ncol", [&] { compute(rows, cols_out_of_range, zero); }, 2,
         "!! u3vgrp_compute: index 4 at entry 2 is out of range 1..3\n"},
        {"compute row above nrow",
         [&] {
             compute(V{3, 1, 2}, cols, zero);
         },
         3, "!! u3vgrp_compute: index 3 at entry 1 is out of range 1..2\n"},
        {"compute rows out of order",
         [&] {
             compute(V{2, 1, 2}, cols, zero);
         },
         3, "!! u3vgrp_compute: row 1 at entry 2 comes after row 2: nonzeros must be ordered by row\n"},
        {"compute no rows",
         [&] { U3VGRP_COMPUTE(nullptr, cols.data(), status.data(), &zero, &zero, &zero, &g, &result); }, 1,
         "!! u3vgrp_compute: an array argument is missing\n"},
        {"compute too large",
         [&] {
             ZARN_ib0[g] = huge;
             compute(rows, cols, zero);
             ZARN_ib0[g] = ncol;
         },
         1, "!! u3vgrp_compute: group object " + std::to_string(g) + " is not consistent\n"},
        {"compute a negative offset",
         [&] { U3VGRP_COMPUTE(rows.data(), cols.data(), status.data(), &minus, &zero, &zero, &g, &result); },
         1, "!! u3vgrp_compute: offsets must not be negative (rows -1, columns 0)\n"},
        {"compute a negative count",
         [&] {
             ZARN_ib0[g + 1] = minus;
             compute(rows, cols, zero);
             ZARN_ib0[g + 1] = nrow;
         },
         1, "!! u3vgrp_compute: count is out of range. -1\n"},
        {"compute no memory for flags",
         [&] {
             zarn::failalloc_set(1);
             compute(rows, cols, one);
         },
         4, "!! u3vgrp_compute: not enough memory for 3 entries\n"},
        {"compute no memory for work",
         [&] {
             zarn::failalloc_set(1);
             compute(rows, cols, zero);
         },
         4, "!! u3vgrp_compute: not enough memory for 6 entries\n"},
        {"kpr negative count", [&] { kpr(ncol, minus, starts.data(), cols.data()); }, 1,
         "!! u3_kpr: count is out of range. -1\n"},
        {"kpr columns beyond a block", [&] { kpr(int64_t{1} << 59, nrow, starts.data(), cols.data()); }, 1,
         "!! u3_kpr: count is out of range. 576460752303423488\n"},
        {"kpr starts over the list", [&] { kpr(ncol, nrow, groups.data(), cols.data()); }, 1,
         "!! u3_kpr: the arrays overlap\n"},
        {"kpr list over the columns", [&] { kpr(ncol, nrow, starts.data(), groups.data()); }, 1,
         "!! u3_kpr: the arrays overlap\n"},
        {"kpr marks over the row starts",
         [&] {
             U3_KPR(&ncol, &nrow, &nnz, rows.data(), cols.data(), starts.data(), starts.data(), groups.data(),
                    &ngroups, &result);
         },
         1, "!! u3_kpr: the arrays overlap\n"},
        {"kpr columns from the last start", [&] { kpr(ncol, nrow, starts.data(), starts.data() + nrow); }, 1,
         "!! u3_kpr: the arrays overlap\n"},
        {"kpr no row starts", [&] { kpr(ncol, nrow, nullptr, cols.data()); }, 1,
         "!! u3_kpr: an array argument is missing\n"},
        {"kpr one nonzero without rows",
         [&] {
             U3_KPR(&ncol, &nrow, &one, nullptr, cols.data(), nullptr, starts.data(), groups.data(), &ngroups,
                    &result);
         },
         1, "!! u3_kpr: an array argument is missing\n"},
        {"kpr no columns needs no list",
         [&] {
             U3_KPR(&zero, &nrow, &zero, nullptr, nullptr, nullptr, starts.data(), nullptr, &ngroups,
                    &result);
             EXPECT_EQ(ngroups, 0) << "no columns: no groups";
         },
         0, ""},
        {"njac another shape midway",
         [&] {
             compute(rows, cols, zero);
             state = 0;
             njac(&state);
             njac(&state);
             ZARN_ib0[g + 1] = 1;
             njac(&state);
             ZARN_ib0[g + 1] = nrow;
         },
         1,
         "!! u3njac_compute: the evaluation in progress belongs to group object " + std::to_string(g) +
             ", not " + std::to_string(g) + "\n"},
        {"njac a zero step: the entry is the change over it, 0/0",
         [&] {
             x.assign(3, 0.0);
             jac.assign(jac.size(), -9.0);
             state = 0;
             njac(&state);  // starts
             njac(&state);  // moves the first group by 0
             njac(&state);  // takes its entries
             EXPECT_TRUE(std::isnan(jac[0])) << "no change of f over a step of 0, not " << jac[0];
             x.assign(3, 1.0);
         },
         0, ""},
        {"njac no relative step",
         [&] {
             U3NJAC_COMPUTE(&g, x.data(), x.data(), status.data(), x.data(), &zero, cols.data(), x.data(),
                            nullptr, jac.data(), &state, &result);
         },
         1, "!! u3njac_compute: an array argument is missing\n"},
        {"njac restarted short of memory",
         [&] {
             state = 0;
             njac(&state);
             zarn::failalloc_set(1);
             njac(&state);
         },
         1, "!! u3njac_compute: not enough memory for 13 entries\n"},
        {"njac no groups",
         [&] {
             ZARN_ib0[g + 3] = 0;
             state = 1;
             njac(&state);
             EXPECT_EQ(state, 2) << "no groups: done at once";
         },
         0, ""},
        {"njac an empty second group",
         [&] {
             ZARN_ib0[g + 3] = 2;
             ZARN_ib0[ZARN_ib0[g + 4] + 2] = 0;
             state = 1;
             njac(&state);
         },
         1, "!! u3njac_compute: group object " + std::to_string(g) + " is not consistent\n"},
        {"njac no group list",
         [&] {
             const int64_t list = ZARN_ib0[g + 4];
             ZARN_ib0[g + 4] = 0;
             state = 1;
             njac(&state);
             ZARN_ib0[g + 4] = list;
         },
         1, "!! u3njac_compute: group object " + std::to_string(g) + " is not consistent\n"},
        {"njac no state", [&] { njac(nullptr); }, 1, "!! u3njac_compute: an array argument is missing\n"},
        {"save object 0", [&] { U3VGRP_SAVE_TO_FILE(&unit, &zero); }, -1,
         "!! u3vgrp_save_to_file: block index is 0\n"},
        {"create zero rows", [&] { U3VGRP_CREATE(&ncol, &zero, &nnz, &result); }, 0, ""},
        {"create negative count", [&] { U3VGRP_CREATE(&minus, &nrow, &nnz, &result); }, 0,
         "!! u3vgrp_create: count is out of range. -1\n"},
        {"create beyond a block", [&] { U3VGRP_CREATE(&ncol, &huge, &nnz, &result); }, 0,
         "!! u3vgrp_create: count is out of range. 9223372036854775807\n"},
        {"bksort no keys", [&] { U3_BKSORT(&one, &one, nullptr, starts.data(), groups.data()); }, -1,
         "!! u3_bksort: an array argument is missing\n"},
        {"bksort keys over the last start",
         [&] { U3_BKSORT(&one, &one, groups.data() + 1, starts.data(), groups.data()); }, -1,
         "!! u3_bksort: the arrays overlap\n"},
        {"bksort no entries", [&] { U3_BKSORT(&one, &zero, nullptr, nullptr, starts.data()); }, -1, ""},
        {"bksort negative count", [&] { U3_BKSORT(&zero, &minus, nullptr, nullptr, starts.data()); }, -1,
         "!! u3_bksort: count is out of range. -1\n"},
        {"read a unit not open", [&] { U3VGRP_READ_FM_FILE(&unit, &result); }, 0,
         "!! u3vgrp_read_fm_file: unit 97 is not connected for unformatted sequential transfers\n"},
    };
    HistoryCapture his;
    for (const auto &c : kCases) {
        result = -1;
        c.call();
        zarn::failalloc_set(0);
        EXPECT_EQ(result, c.want) << c.what;
        EXPECT_EQ(his.text(), c.message) << c.what;
    }
    ZARN_ib0[g + 2] = 0;
    U3VGRP_COMPUTE(nullptr, nullptr, nullptr, &zero, &zero, &zero, &g, &result);
    EXPECT_EQ(result, 0) << "no nonzeros: done at once";
    state = 0;
    njac(&state);
    EXPECT_EQ(state, 0) << "no nonzeros: no evaluation begins";
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

TEST(VariableGroups, ReportOfSevenMembersTakesTwoLines) {
    Pattern p{7, 7, {}, {}};
    for (int64_t i = 1; i <= 7; ++i) {
        p.rows.push_back(i);
        p.cols.push_back(i);
    }
    Grouped run(p, 0, 0);
    const int64_t offset = 100;
    HistoryCapture his;
    U3VGRP_REPORT_BY_IDX(&run.g, &offset);
    EXPECT_EQ(his.text(),
              " Number of groups detected =   1\n"
              " Group    1 contains variables:    101    102    103    104    105    106\n"
              "                                    107\n"
              " \n");
}

TEST(VariableGroups, ReportShowsAnIndexTooWideForItsColumnsAsStars) {
    Grouped run(Pattern{2, 2, {1, 2}, {1, 2}}, 0, 0);
    const int64_t offset = 999998;
    HistoryCapture his;
    U3VGRP_REPORT_BY_IDX(&run.g, &offset);
    EXPECT_EQ(his.text(),
              " Number of groups detected =   1\n"
              " Group    1 contains variables: 999999 ******\n"
              " \n");
}

// Arrays the library writes through may not lie over the group object's own
// blocks: the grouping's rows over its row starts, the finite-difference
// Jacobian over its group list; both are refused and change nothing.
TEST(VariableGroups, ArraysOverTheObjectsOwnBlocksAreRefused) {
    Grouped run(Pattern{3, 3, {1, 2, 3}, {1, 2, 3}}, 0, 0);
    const int64_t zero = 0, cols[] = {1, 2, 3};
    int64_t err = -1, state = 0;
    HistoryCapture his;
    U3VGRP_COMPUTE(ZARN_ib0 + ZARN_ib0[run.g + 6], cols, nullptr, &zero, &zero, &zero, &run.g, &err);
    EXPECT_EQ(err, 1) << "rows over the row starts";
    EXPECT_EQ(run.ngroups(), 1) << "the one group of the diagonal, computed before";
    std::vector<double> x(3, 1.0), f(3, 0.0), minstep(256, 1e-3);
    const V status(3, 0);
    const double relstep = 1e-2;
    auto *over_list = reinterpret_cast<double *>(ZARN_ib0 + ZARN_ib0[run.g + 4]);
    for (int call = 0; call < 2; ++call)
        U3NJAC_COMPUTE(&run.g, x.data(), x.data(), status.data(), f.data(), &zero, cols, minstep.data(),
                       &relstep, over_list, &state, &err);
    EXPECT_EQ(err, 1) << "the Jacobian over the group list";
    EXPECT_EQ(x[0], 1.0) << "no variable moved";
    EXPECT_EQ(his.text(), "!! u3vgrp_compute: the arrays overlap\n!! u3njac_compute: the arrays overlap\n");
    state = 0;
    U3NJAC_COMPUTE(&run.g, x.data(), x.data(), status.data(), f.data(), &zero, cols, minstep.data(), &relstep,
                   f.data(), &state, &err);  // leaves no evaluation behind
}

// The report reads the group list only: an object whose row starts are gone
// is still reported.
TEST(VariableGroups, ReportNeedsNoRowStarts) {
    Grouped run(Pattern{2, 2, {1, 2}, {1, 2}}, 0, 0);
    RTO_IFREE(&ZARN_ib0[run.g + 6]);
    const int64_t offset = 0;
    HistoryCapture his;
    U3VGRP_REPORT_BY_IDX(&run.g, &offset);
    EXPECT_EQ(his.text(),
              " Number of groups detected =   1\n"
              " Group    1 contains variables:      1      2\n"
              " \n");
}

// (1, 1) and (1, 3) marked: columns 1 and 2 no longer meet in row 1; column 3 is in no group.
TEST(VariableGroups, KprLeavesMarkedNonzerosOut) {
    const V rows = {1, 1, 1, 2}, cols = {1, 2, 3, 1}, marks = {1, 0, 1, 0};
    const int64_t ncol = 3, nrow = 2, nnz = 4;
    V starts(3, -7), list(6, -7);
    int64_t ngroups = -7, err = -7;
    U3_KPR(&ncol, &nrow, &nnz, rows.data(), cols.data(), marks.data(), starts.data(), list.data(), &ngroups,
           &err);
    EXPECT_EQ(ngroups, 1);
    EXPECT_EQ(list, (V{2, 1, 2, 0, 0, 0}));
}

}  // namespace
