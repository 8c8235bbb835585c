// Variable list at 10^6 variables: create and name, look every name up, set
// and read VALUE by index, sum VALUE through its column vector; against a
// plain std::vector<double> with a std::unordered_map<std::string, int> doing
// the same work. A whole-variable record read of every field is measured
// against calling the per-attribute readers for the same fields. Also reports
// resident memory per variable.
#include <benchmark/benchmark.h>

#include "pair_reporter.h"
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

#include "zarnutils/rtvarlst.h"

namespace {

constexpr int32_t kN = 1000000;

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

rtvarlst_t *build_list() {
    rtvarlst_t *l = rtovarlst_create(kN);
    rtovarlst_set_nvar(l, kN);
    for (int32_t i = 0; i < kN; ++i) rtovarlst_addvar(l, i + 1, names()[i].c_str());
    return l;
}

// The baseline model: values in a vector, names in a hash map.
struct Plain {
    std::vector<double> value;
    std::unordered_map<std::string, int> index;
};

Plain build_plain() {
    Plain p;
    p.value.assign(kN, 1e35);
    p.index.reserve(kN);
    for (int32_t i = 0; i < kN; ++i) p.index.emplace(names()[i], i + 1);
    return p;
}

rtvarlst_t *shared_list() {
    static rtvarlst_t *l = build_list();
    return l;
}

Plain &shared_plain() {
    static Plain p = build_plain();
    return p;
}

void BM_varlst_create_name(benchmark::State &state) {
    names();
    for (auto _ : state) {
        rtvarlst_t *l = build_list();
        state.PauseTiming();
        rtovarlst_destroy_c(&l);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_varlst_create_name)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_plain_create_name(benchmark::State &state) {
    names();
    for (auto _ : state) {
        Plain p = build_plain();
        benchmark::DoNotOptimize(p);
        state.PauseTiming();
        p = Plain();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_plain_create_name)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_varlst_lookup_all(benchmark::State &state) {
    rtvarlst_t *l = shared_list();
    for (auto _ : state) {
        int64_t sum = 0;
        for (int32_t i = 0; i < kN; ++i) sum += rtovarlst__varname2index(l, names()[i].c_str());
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_varlst_lookup_all)->Unit(benchmark::kMillisecond);

void BM_plain_lookup_all(benchmark::State &state) {
    Plain &p = shared_plain();
    for (auto _ : state) {
        int64_t sum = 0;
        for (int32_t i = 0; i < kN; ++i) sum += p.index.find(names()[i])->second;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_plain_lookup_all)->Unit(benchmark::kMillisecond);

// One set and one read per variable; every set changes the value, so every
// set also raises the change notification.
void BM_varlst_set_read_value(benchmark::State &state) {
    rtvarlst_t *l = shared_list();
    double shift = 0.0;
    for (auto _ : state) {
        shift += 1.0;
        double sum = 0;
        for (int32_t k = 1; k <= kN; ++k) rtovarlst_set_var_value(l, k, k * 0.5 + shift, 0);
        for (int32_t k = 1; k <= kN; ++k) sum += rtovarlst_inq_var_value(l, k, 0);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 2 * kN);
}
BENCHMARK(BM_varlst_set_read_value)->Unit(benchmark::kMillisecond);

void BM_plain_set_read_value(benchmark::State &state) {
    Plain &p = shared_plain();
    double shift = 0.0;
    for (auto _ : state) {
        shift += 1.0;
        double sum = 0;
        double *v = p.value.data();
        for (int32_t k = 1; k <= kN; ++k) {
            v[k - 1] = k * 0.5 + shift;
            benchmark::ClobberMemory();
        }
        for (int32_t k = 1; k <= kN; ++k) sum += v[k - 1];
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 2 * kN);
}
BENCHMARK(BM_plain_set_read_value)->Unit(benchmark::kMillisecond);

void BM_varlst_sum_vector(benchmark::State &state) {
    rtvarlst_t *l = shared_list();
    for (auto _ : state) {
        const double *v = rtovarlst_vec_value(l);
        double sum = 0;
        for (int32_t k = 0; k < kN; ++k) sum += v[k];
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_varlst_sum_vector)->Unit(benchmark::kMillisecond);

void BM_plain_sum_vector(benchmark::State &state) {
    Plain &p = shared_plain();
    for (auto _ : state) {
        const double *v = p.value.data();
        double sum = 0;
        for (int32_t k = 0; k < kN; ++k) sum += v[k];
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_plain_sum_vector)->Unit(benchmark::kMillisecond);

// Every field of every variable through one record read per variable; the
// record lives on the stack and is reused, so nothing is allocated per call.
void BM_varlst_inq_var_record(benchmark::State &state) {
    rtvarlst_t *l = shared_list();
    rtvarinfo_t r{};
    r.mask = rtvarinfo_mask_from_int(RTVARINFO_ALL);
    for (auto _ : state) {
        double sum = 0;
        for (int32_t k = 1; k <= kN; ++k) {
            rtovarlst_inq_var(l, k, &r, 0);
            sum += r.value + static_cast<double>(r.status + r.name[0]);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_varlst_inq_var_record)->Unit(benchmark::kMillisecond);

// The same fields, each through its own reader.
void BM_varlst_inq_var_getters(benchmark::State &state) {
    rtvarlst_t *l = shared_list();
    rtvarinfo_t r{};
    for (auto _ : state) {
        double sum = 0;
        for (int32_t k = 1; k <= kN; ++k) {
            rtovarlst_inq_var_name(l, k, r.name);
            r.status = rtovarlst_inq_var_status(l, k);
            r.shadow_price = rtovarlst_inq_var_shadow_price(l, k, 0),
            r.value = rtovarlst_inq_var_value(l, k, 0);
            r.init = rtovarlst_inq_var_initial(l, k, 0), r.lower = rtovarlst_inq_var_lower(l, k, 0);
            r.upper = rtovarlst_inq_var_upper(l, k, 0), r.step = rtovarlst_inq_var_step_inbaseuom(l, k);
            r.intscale = rtovarlst_inq_var_scale(l, k), r.scale = rtovarlst_inq_var_slvscl(l, k, 0);
            r.sbweight = rtovarlst_inq_var_sbweight(l, k), r.quality = rtovarlst_inq_var_quality(l, k);
            r.related = rtovarlst_inq_var_related(l, k);
            const rtvarmod_t *m = rtovarlst_inq_var_modified(l, k);
            r.modified = m ? *m : rtvarmod_t{0, 0};
            r.conn_mgr = rtovarlst_inq_var_connMgr(l, k),
            r.active_bound = rtovarlst_inq_var_active_bound(l, k);
            r.baseuom = rtovarlst_inq_var_baseuom(l, k), r.blockptr = rtovarlst_inq_var_blockptr(l, k);
            r.param_homo = rtovarlst_inq_var_param_homo(l, k),
            r.target_homo = rtovarlst_inq_var_target_homo(l, k, 0);
            r.description = rtovarlst_inq_var_description(l, k), r.uom = rtovarlst_inq_var_uom(l, k);
            r.threshold = rtovarlst_inq_var_threshold(l, k, 0),
            r.ramped = rtovarlst_inq_var_ramped(l, k) != 0;
            r.profile = rtovarlst_inq_var_profile(l, k), r.conn_type = rtovarlst_inq_var_conn_type(l, k);
            r.basic = rtovarlst_inq_var_basic(l, k);
            benchmark::DoNotOptimize(r);
            sum += r.value + static_cast<double>(r.status + r.name[0]);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_varlst_inq_var_getters)->Unit(benchmark::kMillisecond);

// Resident set size now, in bytes.
double resident_bytes() {
    long pages = 0, resident = 0;
    FILE *f = std::fopen("/proc/self/statm", "r");
    if (f == nullptr) return 0;
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    // Memory first, before the benchmarks churn the heap: growth of the
    // resident set while each structure is built, per variable.
    names();
    const double r0 = resident_bytes();
    shared_list();
    const double r1 = resident_bytes();
    shared_plain();
    const double r2 = resident_bytes();
    struct rusage ru {};
    getrusage(RUSAGE_SELF, &ru);

    zarn::bench::PairReporter reporter({
        {"create and name", "BM_varlst_create_name", "BM_plain_create_name"},
        {"look up every name", "BM_varlst_lookup_all", "BM_plain_lookup_all"},
        {"set and read VALUE", "BM_varlst_set_read_value", "BM_plain_set_read_value"},
        {"sum VALUE vector", "BM_varlst_sum_vector", "BM_plain_sum_vector"},
        {"every field: record / per-attribute readers", "BM_varlst_inq_var_record",
         "BM_varlst_inq_var_getters"},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("resident memory per variable: list %.1f bytes, baseline %.1f bytes\n", (r1 - r0) / kN,
                (r2 - r1) / kN);
    std::printf("peak RSS after building both / variables: %.1f bytes\n",
                static_cast<double>(ru.ru_maxrss) * 1024.0 / kN);
    benchmark::Shutdown();
    return 0;
}
