// Jacobian at 10^7 nonzeros in 1000 windows of 10^4, as 1000 sub-models fill
// the model's Jacobian: each window set by local numbers, one nonzero at a
// time (rtojac_set_nz_coord and rtojac_set_nz_value) and in bulk
// (rtojac_set_rows, rtojac_set_columns and the values copied through
// rtojac_vec_bj), against filling three plain std::vectors (64-bit rows and
// columns, double values) with the same global triplets, written by index
// into vectors of the full size and appended with push_back. Renumbering the
// whole store (rtojac_renumber) against a plain loop over the same arrays.
// Also prints the memory per nonzero and the load average before and after.
//
// The machine may be shared: run with --benchmark_repetitions=N; the ratios
// are taken from the fastest run of each benchmark.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "pair_reporter.h"
#include "zarnutils/rtjacbn.h"

namespace {

constexpr int32_t kWindows = 1000;
constexpr int32_t kPerWindow = 10000;
constexpr int32_t kNnz = kWindows * kPerWindow;
// A sub-model: 2500 equations of 4 nonzeros over 3000 variables.
constexpr int32_t kEqnPerWindow = 2500;
constexpr int32_t kVarPerWindow = 3000;

// The local triplets every window sets (the same sub-model 1000 times).
struct Local {
    std::vector<int64_t> eqn, var;
    std::vector<double> value;
};

const Local &local() {
    static Local l = [] {
        Local out;
        for (int32_t k = 0; k < kPerWindow; ++k) {
            out.eqn.push_back(k / 4 + 1);
            out.var.push_back((k / 4 * 6 + (k % 4) * 17) % kVarPerWindow + 1);
            out.value.push_back(0.5 + (k % 13) * 0.25);
        }
        return out;
    }();
    return l;
}

struct Store {
    rt_jac_t *head = nullptr;
    std::vector<rt_jac_t *> windows;
};

const Store &store() {
    static Store s = [] {
        Store out;
        out.head = rtojac_create(kNnz);
        rtojac_set_nnz(out.head, kNnz);
        for (int32_t w = 0; w < kWindows; ++w) {
            rt_jac_t *win = rtojac_create_embedded(kPerWindow, out.head, w * kVarPerWindow + 1,
                                                   w * kEqnPerWindow + 1, w * kPerWindow + 1);
            rtojac_set_nnz(win, kPerWindow);
            out.windows.push_back(win);
        }
        return out;
    }();
    return s;
}

struct Plain {
    std::vector<int64_t> rows, cols;
    std::vector<double> values;
};

Plain &plain() {
    static Plain p = [] {
        Plain out;
        out.rows.assign(kNnz, 0);
        out.cols.assign(kNnz, 0);
        out.values.assign(kNnz, 1e35);
        return out;
    }();
    return p;
}

void BM_jac_fill_by_nonzero(benchmark::State &state) {
    const Store &s = store();
    // A sub-model's own arrays, as its filling code holds them.
    const int64_t *eqn = local().eqn.data(), *var = local().var.data();
    const double *value = local().value.data();
    for (auto _ : state) {
        for (rt_jac_t *win : s.windows) {
            for (int32_t k = 1; k <= kPerWindow; ++k) {
                rtojac_set_nz_coord(win, k, static_cast<int32_t>(eqn[k - 1]),
                                    static_cast<int32_t>(var[k - 1]));
                rtojac_set_nz_value(win, k, value[k - 1]);
            }
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kNnz);
}
BENCHMARK(BM_jac_fill_by_nonzero)->Unit(benchmark::kMillisecond);

void BM_jac_fill_bulk(benchmark::State &state) {
    const Local &l = local();
    const Store &s = store();
    for (auto _ : state) {
        for (rt_jac_t *win : s.windows) {
            rtojac_set_rows(win, l.eqn.data());
            rtojac_set_columns(win, l.var.data());
            std::copy(l.value.begin(), l.value.end(), rtojac_vec_bj(win));
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kNnz);
}
BENCHMARK(BM_jac_fill_bulk)->Unit(benchmark::kMillisecond);

// The baseline: the global triplets written straight into three vectors.
void BM_vectors_fill(benchmark::State &state) {
    const Local &l = local();
    Plain &p = plain();
    for (auto _ : state) {
        for (int32_t w = 0; w < kWindows; ++w) {
            const int64_t at = static_cast<int64_t>(w) * kPerWindow;
            const int64_t eqn_offset = static_cast<int64_t>(w) * kEqnPerWindow;
            const int64_t var_offset = static_cast<int64_t>(w) * kVarPerWindow;
            for (int32_t k = 0; k < kPerWindow; ++k) {
                p.rows[at + k] = l.eqn[k] + eqn_offset;
                p.cols[at + k] = l.var[k] + var_offset;
                p.values[at + k] = l.value[k];
            }
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kNnz);
}
BENCHMARK(BM_vectors_fill)->Unit(benchmark::kMillisecond);

// The same with the vectors grown by push_back (capacity reserved once), as
// code that gathers triplets sub-model by sub-model writes it.
void BM_vectors_push_back(benchmark::State &state) {
    const Local &l = local();
    Plain &p = plain();
    for (auto _ : state) {
        p.rows.clear();
        p.cols.clear();
        p.values.clear();
        for (int32_t w = 0; w < kWindows; ++w) {
            const int64_t eqn_offset = static_cast<int64_t>(w) * kEqnPerWindow;
            const int64_t var_offset = static_cast<int64_t>(w) * kVarPerWindow;
            for (int32_t k = 0; k < kPerWindow; ++k) {
                p.rows.push_back(l.eqn[k] + eqn_offset);
                p.cols.push_back(l.var[k] + var_offset);
                p.values.push_back(l.value[k]);
            }
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kNnz);
}
BENCHMARK(BM_vectors_push_back)->Unit(benchmark::kMillisecond);

// The least any pair of per-nonzero entry points can cost: two calls the
// compiler may not inline or see through, which only store the global
// numbers and the value, with no index check and no window to translate.
struct Window {
    int64_t *rows, *cols;
    double *values;
    int64_t eqn_offset, var_offset;
};

[[gnu::noipa]] void store_only_coord(Window *w, int32_t k, int32_t eqn, int32_t var) {
    w->rows[k - 1] = eqn + w->eqn_offset;
    w->cols[k - 1] = var + w->var_offset;
}

[[gnu::noipa]] void store_only_value(Window *w, int32_t k, double value) { w->values[k - 1] = value; }

void BM_store_only_calls(benchmark::State &state) {
    const Local &l = local();
    Plain &p = plain();
    std::vector<Window> windows;
    for (int32_t w = 0; w < kWindows; ++w) {
        const int64_t at = static_cast<int64_t>(w) * kPerWindow;
        windows.push_back({p.rows.data() + at, p.cols.data() + at, p.values.data() + at,
                           static_cast<int64_t>(w) * kEqnPerWindow, static_cast<int64_t>(w) * kVarPerWindow});
    }
    const int64_t *eqn = l.eqn.data(), *var = l.var.data();
    const double *value = l.value.data();
    for (auto _ : state) {
        for (Window &win : windows) {
            for (int32_t k = 1; k <= kPerWindow; ++k) {
                store_only_coord(&win, k, static_cast<int32_t>(eqn[k - 1]), static_cast<int32_t>(var[k - 1]));
                store_only_value(&win, k, value[k - 1]);
            }
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kNnz);
}
BENCHMARK(BM_store_only_calls)->Unit(benchmark::kMillisecond);

// Variables from the middle of the model up move by 2 and back, equations
// likewise, so that every iteration starts from the same numbers.
constexpr int32_t kVarThreshold = kWindows / 2 * kVarPerWindow;
constexpr int32_t kEqnThreshold = kWindows / 2 * kEqnPerWindow;

void BM_jac_renumber(benchmark::State &state) {
    rt_jac_t *head = store().head;
    for (auto _ : state) {
        rtojac_renumber(head, 1, kNnz, kVarThreshold, 2, kEqnThreshold, 2);
        rtojac_renumber(head, 1, kNnz, kVarThreshold + 2, -2, kEqnThreshold + 2, -2);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 2 * static_cast<int64_t>(kNnz));
}
BENCHMARK(BM_jac_renumber)->Unit(benchmark::kMillisecond);

// Not inlined: its thresholds and shifts are run-time values, as the library's are.
[[gnu::noinline]] void plain_renumber(int64_t *rows, int64_t *cols, int64_t vt, int64_t dv, int64_t et,
                                      int64_t de) {
    for (int64_t k = 0; k < kNnz; ++k) {
        if (cols[k] >= vt) cols[k] += dv;
        if (rows[k] >= et) rows[k] += de;
    }
}

// The baseline: one plain loop over the head's own arrays.
void BM_plain_renumber(benchmark::State &state) {
    rt_jac_t *head = store().head;
    int64_t *rows = rtojac_rowptr(head), *cols = rtojac_colptr(head);
    for (auto _ : state) {
        plain_renumber(rows, cols, kVarThreshold, 2, kEqnThreshold, 2);
        plain_renumber(rows, cols, kVarThreshold + 2, -2, kEqnThreshold + 2, -2);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 2 * static_cast<int64_t>(kNnz));
}
BENCHMARK(BM_plain_renumber)->Unit(benchmark::kMillisecond);

double resident_bytes() {
    long pages = 0, resident = 0;
    FILE *f = std::fopen("/proc/self/statm", "r");
    if (f == nullptr) return 0;
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

void print_load(const char *when) {
    double load[3] = {0, 0, 0};
    if (getloadavg(load, 3) == 3)
        std::printf("load average %s: %.2f %.2f %.2f\n", when, load[0], load[1], load[2]);
}

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    print_load("before");
    local();
    // Growth of the resident set while each store is built, per nonzero.
    const double r0 = resident_bytes();
    store();
    const double r1 = resident_bytes();
    plain();
    const double r2 = resident_bytes();
    zarn::bench::PairReporter reporter({
        {"fill through windows, by nonzero / vectors", "BM_jac_fill_by_nonzero", "BM_vectors_fill"},
        {"fill through windows, by nonzero / push_back", "BM_jac_fill_by_nonzero", "BM_vectors_push_back"},
        {"by nonzero / two store-only calls", "BM_jac_fill_by_nonzero", "BM_store_only_calls"},
        {"two store-only calls / vectors", "BM_store_only_calls", "BM_vectors_fill"},
        {"fill through windows, bulk / vectors", "BM_jac_fill_bulk", "BM_vectors_fill"},
        {"renumber whole store / plain loop", "BM_jac_renumber", "BM_plain_renumber"},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("resident memory per nonzero: Jacobian %.1f bytes (with 1000 windows), vectors %.1f bytes\n",
                (r1 - r0) / kNnz, (r2 - r1) / kNnz);
    print_load("after");
    benchmark::Shutdown();
    return 0;
}
