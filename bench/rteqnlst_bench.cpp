// Equation list at 10^6 equations: the ten largest residuals by
// rtoeqnlst_inq_max_residuals against std::partial_sort over a copy of the
// residual vector (magnitude and index), and the residual norm against a
// plain loop over the same columns. Residuals are distinct pseudo-random
// numbers of both signs; one equation in fifty is excluded, one in ten is an
// inequality.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "pair_reporter.h"
#include "zarnutils/rteqnlst.h"

namespace {

constexpr int32_t kN = 1000000;
constexpr int32_t kTop = 10;

struct Data {
    std::vector<double> residual;
    std::vector<int64_t> status;
};

const Data &data() {
    static Data d = [] {
        Data out;
        std::mt19937_64 rng(42);
        std::uniform_real_distribution<double> value(-1.0e3, 1.0e3);
        out.residual.resize(kN);
        out.status.resize(kN);
        for (int32_t k = 0; k < kN; ++k) {
            out.residual[k] = value(rng);
            out.status[k] = (k % 50 == 7 ? 1 : 0) | (k % 10 == 3 ? 2 << 1 : 0);
        }
        return out;
    }();
    return d;
}

rtattrdict_t *shared_list() {
    static rtattrdict_t *l = [] {
        rtattrdict_t *list = rtoeqnlst_create(kN);
        rtoeqnlst_set_neqn(list, kN);
        std::copy(data().residual.begin(), data().residual.end(), rtoeqnlst_vec_residual(list));
        std::copy(data().status.begin(), data().status.end(), rtoeqnlst_vec_status(list));
        return list;
    }();
    return l;
}

void BM_eqnlst_max_residuals(benchmark::State &state) {
    rtattrdict_t *l = shared_list();
    int32_t out[kTop];
    for (auto _ : state) {
        rtoeqnlst_inq_max_residuals(l, 1, kN, kTop, 0, out);
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_eqnlst_max_residuals)->Unit(benchmark::kMillisecond);

// The baseline: the residuals copied with their indices, the ten of largest
// magnitude sorted to the front (status words not consulted).
void BM_partial_sort_copy(benchmark::State &state) {
    const Data &d = data();
    std::vector<std::pair<double, int32_t>> copy(kN);
    for (auto _ : state) {
        for (int32_t k = 0; k < kN; ++k) copy[k] = {d.residual[k], k + 1};
        std::partial_sort(copy.begin(), copy.begin() + kTop, copy.end(), [](const auto &a, const auto &b) {
            return std::fabs(a.first) > std::fabs(b.first);
        });
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_partial_sort_copy)->Unit(benchmark::kMillisecond);

void BM_eqnlst_norm(benchmark::State &state) {
    rtattrdict_t *l = shared_list();
    double norm = 0.0;
    for (auto _ : state) {
        rtoeqnlst_norm(l, 1, kN, &norm);
        benchmark::DoNotOptimize(norm);
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_eqnlst_norm)->Unit(benchmark::kMillisecond);

// The same sum over the same selection, as a plain loop over two vectors.
void BM_plain_norm(benchmark::State &state) {
    const Data &d = data();
    for (auto _ : state) {
        double sum = 0.0;
        for (int32_t k = 0; k < kN; ++k)
            if ((d.status[k] & 0xF) == 0) sum += d.residual[k] * d.residual[k];
        const double norm = std::sqrt(sum);
        benchmark::DoNotOptimize(norm);
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_plain_norm)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    shared_list();
    zarn::bench::PairReporter reporter({
        {"ten largest residuals / partial_sort", "BM_eqnlst_max_residuals", "BM_partial_sort_copy"},
        {"residual norm / plain loop", "BM_eqnlst_norm", "BM_plain_norm"},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
