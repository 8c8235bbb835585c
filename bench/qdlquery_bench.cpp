// Parsing 10^5 typical query texts into trees (built through a minimal engine
// and freed), against the scanner alone over the same texts: the grammar's and
// the tree's share of the cost. The counter allocs_per_query is the library's
// allocations per text (the engine's leaves included).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "pair_reporter.h"
#include "platform/xalloc.h"
#include "qdlvarquery/qdlvarquery_internal.h"

namespace {

constexpr int kQueries = 100000;

// A leaf that does nothing: the engine's part is kept small.
struct Leaf final : IQDLQTest {
    IQDLQTest *Clone() const override { return new Leaf; }
    void Negate() override {}
    bool Matches() override { return true; }
    bool Select(QDLQObjectSet &) override { return false; }
};

struct Engine final : IQDLQueryParserCallback {
    long errors = 0;
    IQDLQTest *CreateTest(char *, int32_t, QDLQLiteral &, char *) override { return new Leaf; }
    IQDLQTest *CreateFunctionTest(char *, QDLQLiteral &, char *) override { return new Leaf; }
    void ReportError(const char *) override { ++errors; }
};

// Queries of the shapes users type, with varying names and numbers.
const std::vector<std::string> &queries() {
    static std::vector<std::string> q;
    if (!q.empty()) return q;
    q.reserve(kQueries);
    char text[256];
    for (int i = 0; i < kQueries; ++i) {
        switch (i % 8) {
            case 0:
                std::snprintf(text, sizeof text, "SPEC = FIXED AND VALUE > %d", i);
                break;
            case 1:
                std::snprintf(text, sizeof text, "IsModified(VALUE) OR NOT LOWER < -1e20");
                break;
            case 2:
                std::snprintf(text, sizeof text, "NAME = B%d.* AND (QUALITY = BAD OR IsFixed())", i);
                break;
            case 3:
                std::snprintf(text, sizeof text, "VALUE >= %g AND VALUE <= %g", i * 0.5, i * 2.5);
                break;
            case 4:
                std::snprintf(text, sizeof text, "NAME = 'REACTOR%d.T' OR NAME = FEED%d.STREAM.P", i, i);
                break;
            case 5:
                std::snprintf(text, sizeof text, "NOT (SPEC = CALC OR SPEC = MEAS) AND UOM = m/s");
                break;
            case 6:
                std::snprintf(text, sizeof text, "UPPER - LOWER > 1d3");
                break;  // a syntax error now and then
            default:
                std::snprintf(text, sizeof text,
                              "SHADOW_PRICE <> 0 AND ACTIVE_BOUND = UPPER AND IsFree() AND X%d = 1", i);
                break;
        }
        q.emplace_back(text);
    }
    return q;
}

void BM_parse_tree(benchmark::State &state) {
    const std::vector<std::string> &q = queries();
    Engine engine;
    long allocations = 0;
    for (auto _ : state) {
        zarn::failalloc_set(0);
        for (const std::string &text : q) {
            IQDLQTest *root = zarn::qdlvarquery::parse(&engine, text.c_str());
            benchmark::DoNotOptimize(root);
            delete root;
        }
        allocations = zarn::failalloc_count();
    }
    if (engine.errors != static_cast<long>(state.iterations()) * (kQueries / 8))
        state.SkipWithError("unexpected number of syntax errors");
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kQueries);
    state.counters["allocs_per_query"] = static_cast<double>(allocations) / kQueries;
}
BENCHMARK(BM_parse_tree)->Unit(benchmark::kMillisecond);

void BM_scan_only(benchmark::State &state) {
    const std::vector<std::string> &q = queries();
    long tokens = 0, allocations = 0;
    for (auto _ : state) {
        zarn::failalloc_set(0);
        tokens = 0;
        for (const std::string &text : q) tokens += zarn::qdlvarquery::scan_only(text.c_str());
        allocations = zarn::failalloc_count();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kQueries);
    state.counters["tokens_per_query"] = static_cast<double>(tokens) / kQueries;
    state.counters["allocs_per_query"] = static_cast<double>(allocations) / kQueries;
}
BENCHMARK(BM_scan_only)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    zarn::bench::PairReporter reporter(
        {{"query: parse and tree / scanner alone", "BM_parse_tree", "BM_scan_only"}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
