// Assignment by name at 10^6 variables: rtovarlst_assign_value of
// "NAME.VALUE" with a temperature given in a display unit (F), against the
// direct path a host could take itself, rtovarlst__varname2index followed by
// rtovarlst_set_var_value of the SI number. Both visit the variables in a
// scattered order and write a changed value on every call. The counter
// "xallocs/op" is the library's own allocations per call once every variable
// has its modification record.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "pair_reporter.h"
#include "platform/xalloc.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/varassign.h"

namespace {

constexpr int32_t kN = 1000000;
constexpr int kTemperature = 22, kFahrenheit = 2;

struct Model {
    rtvarlst_t *list;
    std::vector<std::string> names, targets;  // "NAME" and "NAME.VALUE"
};

Model &model() {
    static Model m = [] {
        Model out{rtovarlst_create(kN), {}, {}};
        rtovarlst_set_nvar(out.list, kN);
        out.names.reserve(kN), out.targets.reserve(kN);
        double *scale = rtovarlst_vec_scale(out.list);
        for (int32_t i = 0; i < kN; ++i) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "B%d.S%d.T(%d)", i % 97, i % 1013, i);
            out.names.emplace_back(buf);
            out.targets.emplace_back(out.names.back() + ".VALUE");
            rtovarlst_addvar(out.list, i + 1, buf);
            rtovarlst_set_physical_type(out.list, i + 1, kTemperature);
            rtovarlst_set_var_uom(out.list, i + 1, kFahrenheit);
            scale[i] = 1.0;
        }
        return out;
    }();
    return m;
}

// A scattered walk over all variables (a stride prime to 10^6).
inline int32_t pick(uint64_t k) { return static_cast<int32_t>((k * 7919u) % kN); }

void BM_assign_value(benchmark::State &state) {
    Model &m = model();
    value_t v;
    value_init(&v);
    value_assign_double(&v, 300.0, kTemperature, kFahrenheit);
    for (int32_t i = 0; i < kN; ++i)
        rtovarlst_assign_value(m.list, m.targets[i].c_str(), &v);  // records exist
    zarn::failalloc_set(0);
    uint64_t k = 0;
    for (auto _ : state) {
        v.u.number.rval = 250.0 + static_cast<double>(k & 1023);
        rtovarlst_assign_value(m.list, m.targets[pick(k++)].c_str(), &v);
    }
    state.counters["xallocs/op"] = static_cast<double>(zarn::failalloc_count()) / static_cast<double>(k);
    value_destroy(&v);
}
BENCHMARK(BM_assign_value);

void BM_index_and_set(benchmark::State &state) {
    Model &m = model();
    uint64_t k = 0;
    for (auto _ : state) {
        const double si = 250.0 + static_cast<double>(k & 1023);
        const int32_t i = rtovarlst__varname2index(m.list, m.names[pick(k++)].c_str());
        rtovarlst_set_var_value(m.list, i, si, 1);
    }
}
BENCHMARK(BM_index_and_set);

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    model();
    zarn::bench::PairReporter reporter({
        {"NAME.VALUE = x {F}, 10^6 variables", "BM_assign_value", "BM_index_and_set"},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
