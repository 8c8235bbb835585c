// Matching glob-derived expressions over 10^6 model names (hs_regexec against
// POSIX regexec) and interning 10^6 names (rtsymtab_add against
// std::unordered_set<std::string>). Prints ns per call and the ratios.
#include <benchmark/benchmark.h>

#include "pair_reporter.h"
#include <regex.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

#include "zarnutils/hsregexp.h"
#include "zarnutils/rtsymtab.h"
#include "zarnutils/stred.h"

namespace {

constexpr int kNames = 1000000;

// Names in the model's style: blocks, streams, variables and components.
const std::vector<std::string> &model_names() {
    static const std::vector<std::string> names = [] {
        const char *vars[] = {"TEMP", "PRES", "FLOW", "ENTH", "DUTY", "MOLEFRAC", "VFRAC", "DENS"};
        const char *comps[] = {"WATER", "METHANE", "ETHANE", "PROPANE", "CO2", "N2"};
        std::vector<std::string> out;
        out.reserve(kNames);
        for (int i = 0; out.size() < static_cast<std::size_t>(kNames); ++i) {
            std::string block = "B" + std::to_string(i / 24);  // 24 distinct names per block
            std::string stream = (i % 2 == 0 ? ".IN" : ".OUT") + std::to_string(i % 3);
            std::string var = vars[i % 8];
            if (i % 8 == 5) var += std::string("(") + comps[(i / 8) % 6] + ")";
            out.push_back(block + stream + "." + var);
        }
        return out;
    }();
    return names;
}

// The globs a user types, as expressions (without the leading "%").
std::vector<std::string> glob_patterns() {
    std::vector<std::string> out;
    for (const char *glob : {"B1*.TEMP", "B??.IN?.FLOW", "*.MOLEFRAC(CO2)", "B20000.*", "*.OUT1.*"}) {
        char *re = stred_glob_to_regexp(glob);
        out.emplace_back(re + 1);
        std::free(re);
    }
    return out;
}

void per_call(benchmark::State &state, int64_t calls_per_iteration) {
    state.SetItemsProcessed(state.iterations() * calls_per_iteration);
    state.counters["ns_per_op"] =
        benchmark::Counter(static_cast<double>(calls_per_iteration) * 1e-9,
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Match_hs_regexec(benchmark::State &state) {
    const auto &names = model_names();
    std::vector<hs_regexp *> progs;
    for (const auto &p : glob_patterns()) progs.push_back(hs_regcomp(p.c_str()));
    int64_t hits = 0;
    for (auto _ : state) {
        for (hs_regexp *prog : progs) {
            for (const auto &n : names) hits += hs_regexec(prog, n.c_str());
        }
    }
    benchmark::DoNotOptimize(hits);
    state.counters["hits"] = static_cast<double>(hits) / static_cast<double>(state.iterations());
    per_call(state, static_cast<int64_t>(progs.size()) * kNames);
    for (hs_regexp *prog : progs) hs_regfree(prog);
}

void BM_Match_posix_regexec(benchmark::State &state) {
    const auto &names = model_names();
    std::vector<regex_t> progs;
    for (const auto &p : glob_patterns()) {
        regex_t r;
        if (regcomp(&r, p.c_str(), REG_EXTENDED | REG_NOSUB) != 0) {
            state.SkipWithError("regcomp failed");
            return;
        }
        progs.push_back(r);
    }
    int64_t hits = 0;
    for (auto _ : state) {
        for (regex_t &prog : progs) {
            for (const auto &n : names) hits += regexec(&prog, n.c_str(), 0, nullptr, 0) == 0 ? 1 : 0;
        }
    }
    benchmark::DoNotOptimize(hits);
    state.counters["hits"] = static_cast<double>(hits) / static_cast<double>(state.iterations());
    per_call(state, static_cast<int64_t>(progs.size()) * kNames);
    for (regex_t &prog : progs) regfree(&prog);
}

// Interning 10^6 new names into an empty table.
void BM_Intern_rtsymtab_add(benchmark::State &state) {
    const auto &names = model_names();
    for (auto _ : state) {
        state.PauseTiming();
        rtsymtab_shutdown();
        state.ResumeTiming();
        for (const auto &n : names) benchmark::DoNotOptimize(rtsymtab_add(n.c_str()));
    }
    per_call(state, kNames);
    rtsymtab_shutdown();
}

void BM_Intern_unordered_set(benchmark::State &state) {
    const auto &names = model_names();
    for (auto _ : state) {
        state.PauseTiming();
        auto *set = new std::unordered_set<std::string>();
        state.ResumeTiming();
        for (const auto &n : names) benchmark::DoNotOptimize(set->insert(n).first->c_str());
        state.PauseTiming();
        delete set;
        state.ResumeTiming();
    }
    per_call(state, kNames);
}

// Interning names that are all there already: the lookups alone.
void BM_Reintern_rtsymtab_add(benchmark::State &state) {
    const auto &names = model_names();
    rtsymtab_shutdown();
    for (const auto &n : names) rtsymtab_add(n.c_str());
    for (auto _ : state) {
        for (const auto &n : names) benchmark::DoNotOptimize(rtsymtab_add(n.c_str()));
    }
    per_call(state, kNames);
    rtsymtab_shutdown();
}

void BM_Reintern_unordered_set(benchmark::State &state) {
    const auto &names = model_names();
    std::unordered_set<std::string> set(names.begin(), names.end());
    for (auto _ : state) {
        for (const auto &n : names) benchmark::DoNotOptimize(set.insert(n).first->c_str());
    }
    per_call(state, kNames);
}

BENCHMARK(BM_Match_hs_regexec)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Match_posix_regexec)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Intern_rtsymtab_add)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Intern_unordered_set)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Reintern_rtsymtab_add)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Reintern_unordered_set)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    zarn::bench::PairReporter reporter({
        {"match: hs_regexec vs POSIX regexec", "BM_Match_hs_regexec", "BM_Match_posix_regexec"},
        {"intern new: rtsymtab_add vs set", "BM_Intern_rtsymtab_add", "BM_Intern_unordered_set"},
        {"intern again: rtsymtab_add vs set", "BM_Reintern_rtsymtab_add", "BM_Reintern_unordered_set"},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
