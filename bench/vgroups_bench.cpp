// Grouping variables for finite differences: U3VGRP_COMPUTE on banded and
// random patterns of 10^4 to 10^6 columns against ColPack's partial
// distance-2 column colouring in natural order (the same greedy rule), from
// each side's own input form to the groups. Besides the times, the number of
// groups each finds is recorded as a figure (library minus ColPack). Without
// ColPack only the library's runs are made.
//
// ColPack's partial colouring runs in OpenMP threads, and with two of them the
// number of colours on the same pattern varies from run to run (5 to 8 on the
// banded 10^5). On one thread it is the greedy colouring in natural order the
// grouping is compared with, timed on one core like the library.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "pair_reporter.h"
#include "zarnutils/numutil.h"
#include "zarnutils/zarnmalloc.h"

#ifdef ZARN_BENCH_HAVE_COLPACK
#include <ColPack/ColPackHeaders.h>
#endif
#ifdef ZARN_BENCH_HAVE_OPENMP
#include <omp.h>
#endif

namespace {

// Rows in order; every row holds at least one column.
struct Pattern {
    int64_t ncol;
    std::vector<int64_t> rows, cols;
};

// Row r holds columns r-2 .. r+2 (five diagonals).
Pattern banded(int64_t n) {
    Pattern p{n, {}, {}};
    for (int64_t r = 1; r <= n; ++r) {
        for (int64_t c = r - 2; c <= r + 2; ++c) {
            if (c >= 1 && c <= n) p.rows.push_back(r), p.cols.push_back(c);
        }
    }
    return p;
}

// Row r holds its own column and up to five more at random.
Pattern random_pattern(int64_t n) {
    Pattern p{n, {}, {}};
    std::mt19937_64 rng(static_cast<uint64_t>(n));
    std::uniform_int_distribution<int64_t> col(1, n);
    for (int64_t r = 1; r <= n; ++r) {
        std::set<int64_t> in_row{r};
        for (int i = 0; i < 5; ++i) in_row.insert(col(rng));
        for (int64_t c : in_row) p.rows.push_back(r), p.cols.push_back(c);
    }
    return p;
}

struct Case {
    std::string name;  // "banded 10^4"
    Pattern pattern;
    int64_t groups_library = 0, groups_colpack = 0;
};
std::vector<Case> &cases() {
    static std::vector<Case> all;
    return all;
}

// The number of groups each side finds, once and untimed.
int64_t library_groups(const Pattern &p) {
    const int64_t nnz = static_cast<int64_t>(p.rows.size()), zero = 0;
    int64_t g = 0, err = 0;
    U3VGRP_CREATE(&p.ncol, &p.ncol, &nnz, &g);
    U3VGRP_COMPUTE(p.rows.data(), p.cols.data(), nullptr, &zero, &zero, &zero, &g, &err);
    const int64_t groups = err == 0 ? ZARN_ib0[g + 3] : -1;
    U3VGRP_DESTROY(&g);
    return groups;
}

void run_library(benchmark::State &state, Case *c) {
    const Pattern &p = c->pattern;
    const int64_t nnz = static_cast<int64_t>(p.rows.size()), zero = 0;
    int64_t g = 0, err = 0;
    U3VGRP_CREATE(&p.ncol, &p.ncol, &nnz, &g);
    for (auto _ : state) {
        U3VGRP_COMPUTE(p.rows.data(), p.cols.data(), nullptr, &zero, &zero, &zero, &g, &err);
        benchmark::DoNotOptimize(err);
    }
    state.counters["groups"] = static_cast<double>(ZARN_ib0[g + 3]);
    U3VGRP_DESTROY(&g);
}

#ifdef ZARN_BENCH_HAVE_COLPACK
// ColPack's input form: per row, the count and then the 0-based columns.
struct AdolcRows {
    std::vector<std::vector<unsigned int>> data;
    std::vector<unsigned int *> rows;
    explicit AdolcRows(const Pattern &p) : data(static_cast<size_t>(p.ncol)) {
        for (size_t k = 0; k < p.rows.size(); ++k)
            data[static_cast<size_t>(p.rows[k] - 1)].push_back(static_cast<unsigned int>(p.cols[k] - 1));
        for (auto &r : data) {
            r.insert(r.begin(), static_cast<unsigned int>(r.size()));
            rows.push_back(r.data());
        }
    }
};

int64_t colpack_groups(const AdolcRows &in, int64_t n) {
    ColPack::BipartiteGraphPartialColoringInterface graph(SRC_MEM_ADOLC, in.rows.data(), static_cast<int>(n),
                                                          static_cast<int>(n));
    graph.PartialDistanceTwoColoring("NATURAL", "COLUMN_PARTIAL_DISTANCE_TWO");
    return graph.GetVertexColorCount();
}

void run_colpack(benchmark::State &state, Case *c) {
    const AdolcRows in(c->pattern);
    int64_t groups = 0;
    for (auto _ : state) {
        groups = colpack_groups(in, c->pattern.ncol);
        benchmark::DoNotOptimize(groups);
    }
    state.counters["groups"] = static_cast<double>(groups);
}
#endif

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
#ifdef ZARN_BENCH_HAVE_OPENMP
    omp_set_num_threads(1);
#endif
    cases().reserve(6);
    for (int e = 4; e <= 6; ++e) {
        int64_t n = 1;
        for (int i = 0; i < e; ++i) n *= 10;
        cases().push_back({"banded 10^" + std::to_string(e), banded(n)});
        cases().push_back({"random 10^" + std::to_string(e), random_pattern(n)});
    }
    std::vector<zarn::bench::Pair> pairs;
    std::vector<std::string> names;  // the pairs point into these
    names.reserve(cases().size() * 3);
    for (Case &c : cases()) {
        std::string tag = c.name;
        for (char &ch : tag) ch = (ch == ' ' || ch == '^') ? '_' : ch;
        names.push_back("BM_Group_library_" + tag);
        benchmark::RegisterBenchmark(names.back().c_str(), run_library, &c)->Unit(benchmark::kMillisecond);
#ifdef ZARN_BENCH_HAVE_COLPACK
        names.push_back("BM_Group_colpack_" + tag);
        benchmark::RegisterBenchmark(names.back().c_str(), run_colpack, &c)->Unit(benchmark::kMillisecond);
        names.push_back("group " + c.name + " columns");
        pairs.push_back(
            {names.back().c_str(), names[names.size() - 3].c_str(), names[names.size() - 2].c_str()});
#endif
    }
    zarn::bench::PairReporter reporter(pairs);
#ifdef ZARN_BENCH_HAVE_COLPACK
    for (Case &c : cases()) {
        c.groups_library = library_groups(c.pattern);
        c.groups_colpack = colpack_groups(AdolcRows(c.pattern), c.pattern.ncol);
        std::printf("%-14s groups: library %lld, ColPack %lld\n", c.name.c_str(),
                    static_cast<long long>(c.groups_library), static_cast<long long>(c.groups_colpack));
        reporter.figure("extra groups over ColPack, " + c.name,
                        static_cast<double>(c.groups_library - c.groups_colpack));
    }
#endif
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
