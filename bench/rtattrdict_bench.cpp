// Attribute dictionary at 10^6 elements: naming, lookup by name, per-element
// access by attribute name and whole-column loops, against std::unordered_map.
#include <benchmark/benchmark.h>

#include "pair_reporter.h"

#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

#include "zarnutils/rtattrdict.h"
#include "zarnutils/rtopipe.h"

namespace {

constexpr int32_t kN = 1000000;

const rtattrdesc_t kDesc[] = {
    {"VALUE", RTATTR_DOUBLE, 0.0, 0, nullptr, 0, nullptr},
    {"LOWER", RTATTR_DOUBLE, -1e20, 0, nullptr, 0, nullptr},
    {"UPPER", RTATTR_DOUBLE, 1e20, 0, nullptr, 0, nullptr},
    {"STATUS", RTATTR_INTEGER, 0.0, 0, nullptr, 0, nullptr},
    {"UNIT", RTATTR_STRING, 0.0, 0, nullptr, 0, nullptr},
    {nullptr, 0, 0.0, 0, nullptr, 0, nullptr},
};

// Model-like names: BLOCK.STREAM.VAR(index).
const std::vector<std::string> &names() {
    static std::vector<std::string> v = [] {
        std::vector<std::string> out;
        out.reserve(kN);
        for (int32_t i = 0; i < kN; ++i) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "B%d.S%d.X(%d)", i % 97, i % 1013, i);
            out.emplace_back(buf);
        }
        return out;
    }();
    return v;
}

const std::vector<std::string> &misses() {
    static std::vector<std::string> v = [] {
        std::vector<std::string> out;
        for (int32_t i = 0; i < kN; ++i) out.push_back(names()[i] + "Z");
        return out;
    }();
    return v;
}

rtattrdict_t *named_dict() {
    static rtattrdict_t *d = [] {
        rtattrdict_t *x = rtattrdict_create(kN, kDesc, 0);
        rtattrdict_resize(x, kN);
        std::vector<const char *> p;
        for (const auto &s : names()) p.push_back(s.c_str());
        rtattrdict_add_items(x, 1, kN, p.data());
        return x;
    }();
    return d;
}

void BM_dict_add_items(benchmark::State &state) {
    std::vector<const char *> p;
    for (const auto &s : names()) p.push_back(s.c_str());
    for (auto _ : state) {
        rtattrdict_t *d = rtattrdict_create(kN, kDesc, 0);
        rtattrdict_resize(d, kN);
        rtattrdict_add_items(d, 1, kN, p.data());
        state.PauseTiming();
        rtattrdict_destroy(d);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_dict_add_items)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_map_build(benchmark::State &state) {
    for (auto _ : state) {
        std::unordered_map<std::string, std::size_t> m;
        m.reserve(kN);
        for (int32_t i = 0; i < kN; ++i) m.emplace(names()[i], static_cast<std::size_t>(i + 1));
        benchmark::DoNotOptimize(m);
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_map_build)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_dict_index_hit(benchmark::State &state) {
    rtattrdict_t *d = named_dict();
    int32_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(rtattrdict_index(d, names()[i].c_str()));
        if (++i == kN) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_dict_index_hit);

void BM_map_find_hit(benchmark::State &state) {
    static std::unordered_map<std::string, std::size_t> m = [] {
        std::unordered_map<std::string, std::size_t> x;
        for (int32_t i = 0; i < kN; ++i) x.emplace(names()[i], static_cast<std::size_t>(i + 1));
        return x;
    }();
    int32_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(m.find(names()[i]));
        if (++i == kN) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_map_find_hit);

void BM_dict_index_miss(benchmark::State &state) {
    rtattrdict_t *d = named_dict();
    int32_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(rtattrdict_index(d, misses()[i].c_str()));
        if (++i == kN) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_dict_index_miss);

void BM_dict_setd_getd_by_name(benchmark::State &state) {
    rtattrdict_t *d = named_dict();
    for (auto _ : state) {
        double sum = 0;
        for (int32_t k = 1; k <= kN; ++k) rtattrdict_setd(d, k, "VALUE", k * 0.5);
        for (int32_t k = 1; k <= kN; ++k) sum += rtattrdict_getd(d, k, "VALUE");
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 2 * kN);
}
BENCHMARK(BM_dict_setd_getd_by_name)->Unit(benchmark::kMillisecond);

void BM_dict_dvector_loop(benchmark::State &state) {
    rtattrdict_t *d = named_dict();
    for (auto _ : state) {
        double *v = rtattrdict_dvector(d, "VALUE");
        double sum = 0;
        for (int32_t k = 0; k < kN; ++k) v[k] = (k + 1) * 0.5;
        for (int32_t k = 0; k < kN; ++k) sum += v[k];
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 2 * kN);
}
BENCHMARK(BM_dict_dvector_loop)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    zarn::bench::PairReporter reporter({
        {"naming: add_items vs map build", "BM_dict_add_items", "BM_map_build"},
        {"lookup hit: index vs map find", "BM_dict_index_hit", "BM_map_find_hit"},
        {"lookup miss vs map hit", "BM_dict_index_miss", "BM_map_find_hit"},
        {"setd/getd by name vs dvector loop", "BM_dict_setd_getd_by_name", "BM_dict_dvector_loop"},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
