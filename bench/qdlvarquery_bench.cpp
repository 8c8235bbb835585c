// The variable engine over a block of 10^6 variables on a real variable list:
// "SPEC = FIXED AND VALUE > 0" and "NAME = B1.*" executed by the engine,
// against a hand-written loop over the list's columns making the same
// selection (the same pattern matcher for the names). Refine over 10^4
// candidates of the 10^6 is set against Execute over all of them: its cost
// follows the candidates, not the list. Times are per variable of the block.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "pair_reporter.h"
#include "zarnutils/hsregexp.h"
#include "zarnutils/qdlquery.hpp"
#include "zarnutils/rtuom.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/varutl.h"

namespace {

constexpr int32_t kN = 1000000;
constexpr int32_t kCandidates = 10000;

// The block: all of the list, no name prefix.
struct Block final : QDLEOBlock {
    rtvarlst_t *list = nullptr;
    void VariableChanged(int32_t) override {}
    void *AssociatedObject() override { return nullptr; }
    int32_t ObjectCount(int32_t kind) override {
        return kind == QDL_VARIABLES ? rtovarlst_inq_nvar(list) : 0;
    }
    rtvarlst_t *VariableList() override { return list; }
};

struct Container final : QDLEOCntr {
    int32_t ObjectCount(int32_t) override { return 0; }
    rtvarlst_t *VariableList() override { return nullptr; }
    bool LoadEquation(int32_t, QDLEquationData *) override { return false; }
    bool CommitEquation(int32_t, const QDLEquationData *) override { return false; }
    bool LoadParameter(int32_t, QDLParameterData *) override { return false; }
    bool CommitParameter(int32_t, const QDLParameterData *) override { return false; }
    bool ParameterModified(int32_t, int32_t) override { return false; }
    qdl_port *Port(int32_t) override { return nullptr; }
    QDLVariableSource *VariableSource(QDLEOBlock *) override { return nullptr; }
};

// Model-like names B<i%97>.S<i%1013>.X(<i>), every spec, values of both signs.
struct Model {
    rtvarlst_t *list = rtovarlst_create(kN);
    Block block;
    Container container;
    Model() {
        rtovarlst_set_nvar(list, kN);
        char name[64];
        for (int32_t i = 0; i < kN; ++i) {
            std::snprintf(name, sizeof name, "B%d.S%d.X(%d)", i % 97, i % 1013, i);
            rtovarlst_addvar(list, i + 1, name);
            int64_t word = 0;
            varSetSpec(&word, i % 8);
            rtovarlst_set_var_status(list, i + 1, word);
            rtovarlst_set_var_value(list, i + 1, ((i * 37) % 41) - 20.0, 1);
        }
        block.list = list;
    }
};

Model &model() {
    static Model m;
    return m;
}

IQDLQueryEngine *engine_for(const char *text) {
    IQDLQueryEngine *e = QDLQueryFactory::NewVariableQuery(&model().container, &model().block);
    if (!e->SetQueryText(text)) std::fprintf(stderr, "query not built: %s\n", text);
    return e;
}

void per_variable(benchmark::State &state, size_t found) {
    state.SetItemsProcessed(state.iterations() * kN);
    state.counters["found"] = static_cast<double>(found);
}

void BM_engine_spec_value(benchmark::State &state) {
    IQDLQueryEngine *e = engine_for("SPEC = FIXED AND VALUE > 0");
    for (auto _ : state) {
        e->Execute();
        benchmark::DoNotOptimize(e->NumResults());
    }
    per_variable(state, static_cast<size_t>(e->NumResults()));
    e->Release();
}
BENCHMARK(BM_engine_spec_value)->Unit(benchmark::kMillisecond);

void BM_loop_spec_value(benchmark::State &state) {
    rtvarlst_t *list = model().list;
    std::vector<int32_t> found;
    found.reserve(kN);
    for (auto _ : state) {
        found.clear();
        const int64_t *status = rtovarlst_vec_status(list);
        const double *value = rtovarlst_vec_value(list);
        const int32_t n = rtovarlst_inq_nvar(list);
        for (int32_t k = 0; k < n; ++k)
            if ((status[k] & 0xF) == VAR_CONST && value[k] > 0) found.push_back(k + 1);
        benchmark::DoNotOptimize(found.data());
    }
    per_variable(state, found.size());
}
BENCHMARK(BM_loop_spec_value)->Unit(benchmark::kMillisecond);

// The same selection by the rule a query follows on any list: the held value
// times its internal scale (undefined, zero or not finite counting as 1),
// brought from its base unit to SI where that is not SI's own. The
// variables here are dimensionless, so their display unit changes nothing.
void BM_loop_spec_value_scaled(benchmark::State &state) {
    rtvarlst_t *list = model().list;
    std::vector<int32_t> found;
    found.reserve(kN);
    for (auto _ : state) {
        found.clear();
        const int64_t *status = rtovarlst_vec_status(list);
        const double *value = rtovarlst_vec_value(list);
        const double *scale = rtovarlst_vec_scale(list);
        const int64_t *base = rtovarlst_vec_baseuom(list);
        const int32_t n = rtovarlst_inq_nvar(list);
        for (int32_t k = 0; k < n; ++k) {
            if ((status[k] & 0xF) != VAR_CONST) continue;
            double x = value[k];
            if (x != 1e35) {
                const double s = scale[k];
                x *= s == 1e35 || s == 0.0 || !std::isfinite(s) ? 1.0 : s;
                if (base[k] != 1)
                    x = rtouom_pair2si(x, varInqPhysicalType(status[k]), static_cast<int>(base[k]));
            }
            if (x > 0) found.push_back(k + 1);
        }
        benchmark::DoNotOptimize(found.data());
    }
    per_variable(state, found.size());
}
BENCHMARK(BM_loop_spec_value_scaled)->Unit(benchmark::kMillisecond);

void BM_engine_name_glob(benchmark::State &state) {
    IQDLQueryEngine *e = engine_for("NAME = B1.*");
    for (auto _ : state) {
        e->Execute();
        benchmark::DoNotOptimize(e->NumResults());
    }
    per_variable(state, static_cast<size_t>(e->NumResults()));
    e->Release();
}
BENCHMARK(BM_engine_name_glob)->Unit(benchmark::kMillisecond);

void BM_loop_name_glob(benchmark::State &state) {
    rtvarlst_t *list = model().list;
    hs_regexp *pattern = hs_regcomp("^B1\\..*$");
    std::vector<int32_t> found;
    found.reserve(kN);
    for (auto _ : state) {
        found.clear();
        const int32_t n = rtovarlst_inq_nvar(list);
        for (int32_t k = 1; k <= n; ++k) {
            const char *name = rtovarlst_lookup_var_name(list, k);
            if (name != nullptr && hs_regexec(pattern, name) == 1) found.push_back(k);
        }
        benchmark::DoNotOptimize(found.data());
    }
    per_variable(state, found.size());
    hs_regfree(pattern);
}
BENCHMARK(BM_loop_name_glob)->Unit(benchmark::kMillisecond);

// Every 100th variable as a candidate: Execute over them, then Refine the results.
void BM_engine_candidates_refine(benchmark::State &state) {
    IQDLQueryEngine *e = engine_for("SPEC = FIXED AND VALUE > 0");
    std::vector<int32_t> candidates;
    for (int32_t k = 1; static_cast<int32_t>(candidates.size()) < kCandidates; k += 99)
        candidates.push_back(k);
    e->SetCandidates(static_cast<int32_t>(candidates.size()), candidates.data());
    e->SetQueryText("VALUE > -30");
    e->Execute();
    e->SetQueryText("SPEC = FIXED AND VALUE > 0");
    for (auto _ : state) {
        state.PauseTiming();
        e->SetQueryText("VALUE > -30");
        e->Execute();
        e->SetQueryText("SPEC = FIXED AND VALUE > 0");
        state.ResumeTiming();
        e->Refine();
        benchmark::DoNotOptimize(e->NumResults());
    }
    per_variable(state, static_cast<size_t>(e->NumResults()));
    e->Release();
}
BENCHMARK(BM_engine_candidates_refine)->Unit(benchmark::kMillisecond);

void BM_engine_candidates_execute(benchmark::State &state) {
    IQDLQueryEngine *e = engine_for("SPEC = FIXED AND VALUE > 0");
    std::vector<int32_t> candidates;
    for (int32_t k = 1; static_cast<int32_t>(candidates.size()) < kCandidates; k += 99)
        candidates.push_back(k);
    e->SetCandidates(static_cast<int32_t>(candidates.size()), candidates.data());
    for (auto _ : state) {
        e->Execute();
        benchmark::DoNotOptimize(e->NumResults());
    }
    per_variable(state, static_cast<size_t>(e->NumResults()));
    e->Release();
}
BENCHMARK(BM_engine_candidates_execute)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    model();
    zarn::bench::PairReporter reporter({
        {"SPEC = FIXED AND VALUE > 0 (engine/loop)", "BM_engine_spec_value", "BM_loop_spec_value"},
        {"the same, loop with scale and base unit", "BM_engine_spec_value", "BM_loop_spec_value_scaled"},
        {"NAME = B1.* (engine/loop)", "BM_engine_name_glob", "BM_loop_name_glob"},
        {"Refine 1e4 of 1e6 / Execute 1e6", "BM_engine_candidates_refine", "BM_engine_spec_value"},
        {"Execute 1e4 candidates / Execute 1e6", "BM_engine_candidates_execute", "BM_engine_spec_value"},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
