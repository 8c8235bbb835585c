// Permutations and sorts at 10^6 items: building a variable permutation and
// applying it against std::stable_partition of the same vector, applying a
// built permutation against a plain gather loop, SLATEC_DSORT against std::sort.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "pair_reporter.h"
#include "zarnutils/numutil.h"
#include "zarnutils/rtcontext.h"
#include "zarnutils/zarnmalloc.h"

namespace {

constexpr int64_t kItems = 1'000'000;

// One variable in five fixed (VAR_CONST), at random places.
const std::vector<int64_t> &status() {
    static std::vector<int64_t> words = [] {
        std::vector<int64_t> w(kItems);
        std::mt19937_64 rng(5);
        for (auto &x : w) x = rng() % 5 == 0 ? 1 : 0;
        return w;
    }();
    return words;
}

std::vector<double> values() {
    std::vector<double> v(kItems);
    for (int64_t i = 0; i < kItems; ++i) v[i] = static_cast<double>(i);
    return v;
}

void BM_BuildApply_u3perm(benchmark::State &state) {
    rtopt_mode = 0;
    const std::vector<int64_t> &w = status();
    std::vector<double> v = values();
    const int64_t n = kItems;
    for (auto _ : state) {
        int64_t block = 0, m = 0;
        U3PERM_VAR_CREATE(w.data(), &n, &block, &m);
        U3PERM_APPLY_RVEC(&block, v.data());
        U3PERM_DESTROY(&block);
        benchmark::DoNotOptimize(v.data());
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}

// The same split into kept and fixed with the standard library, order kept.
void BM_BuildApply_stable_partition(benchmark::State &state) {
    const std::vector<int64_t> &w = status();
    std::vector<std::pair<double, int64_t>> v(kItems);
    for (int64_t i = 0; i < kItems; ++i) v[i] = {static_cast<double>(i), w[i]};
    for (auto _ : state) {
        std::stable_partition(v.begin(), v.end(), [](const auto &x) { return x.second == 0; });
        benchmark::DoNotOptimize(v.data());
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}

void BM_Apply_u3perm(benchmark::State &state) {
    rtopt_mode = 0;
    const int64_t n = kItems;
    int64_t block = 0, m = 0;
    U3PERM_VAR_CREATE(status().data(), &n, &block, &m);
    std::vector<double> v = values();
    for (auto _ : state) {
        U3PERM_APPLY_RVEC(&block, v.data());
        benchmark::DoNotOptimize(v.data());
    }
    U3PERM_DESTROY(&block);
    state.SetItemsProcessed(state.iterations() * kItems);
}

// out(i) = v(p(i)) over the same permutation, into a second vector.
void BM_Apply_gather(benchmark::State &state) {
    rtopt_mode = 0;
    const int64_t n = kItems;
    int64_t block = 0, m = 0;
    U3PERM_VAR_CREATE(status().data(), &n, &block, &m);
    const std::vector<int64_t> p(ZARN_ib0 + block + 1, ZARN_ib0 + block + 1 + n);
    U3PERM_DESTROY(&block);
    std::vector<double> v = values(), out(kItems);
    for (auto _ : state) {
        for (int64_t i = 0; i < n; ++i) out[i] = v[p[i] - 1];
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}

std::vector<double> random_keys() {
    std::vector<double> x(kItems);
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> u(-1e6, 1e6);
    for (auto &k : x) k = u(rng);
    return x;
}

void BM_Sort_slatec_dsort(benchmark::State &state) {
    const std::vector<double> keys = random_keys();
    const int64_t n = kItems, kflag = 1;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<double> x = keys;
        state.ResumeTiming();
        SLATEC_DSORT(x.data(), nullptr, &n, &kflag);
        benchmark::DoNotOptimize(x.data());
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}

void BM_Sort_std_sort(benchmark::State &state) {
    const std::vector<double> keys = random_keys();
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<double> x = keys;
        state.ResumeTiming();
        std::sort(x.begin(), x.end());
        benchmark::DoNotOptimize(x.data());
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}

}  // namespace

BENCHMARK(BM_BuildApply_u3perm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildApply_stable_partition)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Apply_u3perm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Apply_gather)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort_slatec_dsort)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort_std_sort)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    zarn::bench::PairReporter reporter({
        {"build + apply (10^6 variables)", "BM_BuildApply_u3perm", "BM_BuildApply_stable_partition"},
        {"apply a built permutation", "BM_Apply_u3perm", "BM_Apply_gather"},
        {"sort 10^6 reals", "BM_Sort_slatec_dsort", "BM_Sort_std_sort"},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
