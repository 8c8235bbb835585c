// Name lookup at model scale: 10^6 distinct variable names in a linear-probing
// hash table (hash_pjw) against std::unordered_map<std::string_view, void *>
// doing the same work in the same run. Prints ns per operation and the ratios.
#include <benchmark/benchmark.h>

#include "pair_reporter.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "zarnutils/hashtable.h"

namespace {

constexpr int kNames = 1000000;

uint32_t name_hash(const void *s) { return hash_pjw(static_cast<const char *>(s)); }
int name_cmp(const void *a, const void *b) {
    return std::strcmp(static_cast<const char *>(a), static_cast<const char *>(b));
}

// Hierarchical names as a flowsheet model has them; misses differ only in the last part.
struct Names {
    std::vector<std::string> hits, misses;
    Names() {
        static const char *attrs[] = {"T", "P", "F", "H", "x(1)", "x(2)", "x(3)", "V"};
        hits.reserve(kNames);
        misses.reserve(kNames);
        char buf[96];
        for (int i = 0; i < kNames; ++i) {
            const int unit = i / 800, stream = (i / 8) % 100;
            std::snprintf(buf, sizeof buf, "FLOWSHEET.U%04d.S%02d.%s", unit, stream, attrs[i % 8]);
            hits.emplace_back(buf);
            std::snprintf(buf, sizeof buf, "FLOWSHEET.U%04d.S%02d.Q%s", unit, stream, attrs[i % 8]);
            misses.emplace_back(buf);
        }
    }
};

const Names &names() {
    static const Names n;
    return n;
}

HashTable *build_table() {
    HashTable *t = hashCreate(0, name_hash, nullptr, name_cmp, 0, 0);
    for (const std::string &s : names().hits) hashAddItem(t, const_cast<char *>(s.c_str()));
    return t;
}

using Map = std::unordered_map<std::string_view, void *>;

Map build_map() {
    Map m;
    for (const std::string &s : names().hits) m.emplace(s, const_cast<char *>(s.c_str()));
    return m;
}

void per_op(benchmark::State &state) {
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kNames);
    state.counters["ns_per_op"] =
        benchmark::Counter(static_cast<double>(kNames) * 1e-9,
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Add_hashAddItem(benchmark::State &state) {
    names();
    for (auto _ : state) {
        HashTable *t = build_table();
        benchmark::DoNotOptimize(t->count);
        state.PauseTiming();
        hashDestroy(t, nullptr);
        state.ResumeTiming();
    }
    per_op(state);
}

void BM_Add_unordered_map(benchmark::State &state) {
    names();
    for (auto _ : state) {
        auto *m = new Map(build_map());
        benchmark::DoNotOptimize(m->size());
        state.PauseTiming();
        delete m;
        state.ResumeTiming();
    }
    per_op(state);
}

void BM_FindHit_hashFindItem(benchmark::State &state) {
    HashTable *t = build_table();
    for (auto _ : state) {
        for (const std::string &s : names().hits) benchmark::DoNotOptimize(hashFindItem(t, s.c_str()));
    }
    hashDestroy(t, nullptr);
    per_op(state);
}

void BM_FindHit_unordered_map(benchmark::State &state) {
    Map m = build_map();
    for (auto _ : state) {
        for (const std::string &s : names().hits) benchmark::DoNotOptimize(m.find(s));
    }
    per_op(state);
}

void BM_FindMiss_hashFindItem(benchmark::State &state) {
    HashTable *t = build_table();
    for (auto _ : state) {
        for (const std::string &s : names().misses) benchmark::DoNotOptimize(hashFindItem(t, s.c_str()));
    }
    hashDestroy(t, nullptr);
    per_op(state);
}

void BM_FindMiss_unordered_map(benchmark::State &state) {
    Map m = build_map();
    for (auto _ : state) {
        for (const std::string &s : names().misses) benchmark::DoNotOptimize(m.find(s));
    }
    per_op(state);
}

void BM_Remove_hashRemoveItem(benchmark::State &state) {
    for (auto _ : state) {
        state.PauseTiming();
        HashTable *t = build_table();
        state.ResumeTiming();
        for (const std::string &s : names().hits) benchmark::DoNotOptimize(hashRemoveItem(t, s.c_str()));
        state.PauseTiming();
        hashDestroy(t, nullptr);
        state.ResumeTiming();
    }
    per_op(state);
}

void BM_Remove_unordered_map(benchmark::State &state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto *m = new Map(build_map());
        state.ResumeTiming();
        for (const std::string &s : names().hits) benchmark::DoNotOptimize(m->erase(s));
        state.PauseTiming();
        delete m;
        state.ResumeTiming();
    }
    per_op(state);
}

BENCHMARK(BM_Add_hashAddItem)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Add_unordered_map)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_FindHit_hashFindItem)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_FindHit_unordered_map)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_FindMiss_hashFindItem)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_FindMiss_unordered_map)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Remove_hashRemoveItem)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Remove_unordered_map)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    zarn::bench::PairReporter reporter({
        {"add (10^6 names)", "BM_Add_hashAddItem", "BM_Add_unordered_map"},
        {"find hit", "BM_FindHit_hashFindItem", "BM_FindHit_unordered_map"},
        {"find miss", "BM_FindMiss_hashFindItem", "BM_FindMiss_unordered_map"},
        {"remove", "BM_Remove_hashRemoveItem", "BM_Remove_unordered_map"},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
