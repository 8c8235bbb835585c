// Alias lookup over 10^5 aliases: the tag list against std::unordered_map.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

#include "zarnutils/rttaglst.h"

namespace {

constexpr int kAliases = 100'000;

struct Data {
    std::vector<std::string> aliases, names;
    Data() {
        char buf[64];
        for (int i = 0; i < kAliases; ++i) {
            std::snprintf(buf, sizeof buf, "TAG_%06d", i);
            aliases.emplace_back(buf);
            std::snprintf(buf, sizeof buf, "PLANT.UNIT%03d.STREAM%04d.TEMP", i % 997, i);
            names.emplace_back(buf);
        }
    }
};

const Data &data() {
    static const Data d;
    return d;
}

void BM_TagListLookup(benchmark::State &state) {
    const Data &d = data();
    rtotaglst_t *list = rtotaglst_create(16);
    for (int i = 0; i < kAliases; ++i) rtotaglst_add_tag(list, d.aliases[i].c_str(), d.names[i].c_str());
    for (auto _ : state) {
        size_t found = 0;
        for (const std::string &a : d.aliases) found += rtotaglst_search_tags(list, a.c_str()) != nullptr;
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * kAliases);
    rtotaglst_destroy(list);
}

void BM_UnorderedMapLookup(benchmark::State &state) {
    const Data &d = data();
    std::unordered_map<std::string, std::string> map;
    for (int i = 0; i < kAliases; ++i) map.emplace(d.aliases[i], d.names[i]);
    for (auto _ : state) {
        size_t found = 0;
        for (const std::string &a : d.aliases) found += map.find(a) != map.end();
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * kAliases);
}

void BM_TagListBuild(benchmark::State &state) {
    const Data &d = data();
    for (auto _ : state) {
        rtotaglst_t *list = rtotaglst_create(16);
        for (int i = 0; i < kAliases; ++i) rtotaglst_add_tag(list, d.aliases[i].c_str(), d.names[i].c_str());
        benchmark::DoNotOptimize(list);
        rtotaglst_destroy(list);
    }
    state.SetItemsProcessed(state.iterations() * kAliases);
}

void BM_UnorderedMapBuild(benchmark::State &state) {
    const Data &d = data();
    for (auto _ : state) {
        std::unordered_map<std::string, std::string> map;
        for (int i = 0; i < kAliases; ++i) map.emplace(d.aliases[i], d.names[i]);
        benchmark::DoNotOptimize(map);
    }
    state.SetItemsProcessed(state.iterations() * kAliases);
}

}  // namespace

BENCHMARK(BM_TagListLookup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnorderedMapLookup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TagListBuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnorderedMapBuild)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
