// Unit conversion and unit lookup by name against two baselines: a plain
// multiply-add over the same multipliers and offsets, and UDUNITS-2 (when
// present) converting and parsing the same units.
#include <benchmark/benchmark.h>

#include "pair_reporter.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "zarnutils/rtuom.h"

#ifdef ZARN_BENCH_HAVE_UDUNITS2
#include <udunits2.h>
#endif

namespace {

// The same units in both spellings: ours, and the one UDUNITS-2 parses.
struct NamedUnit {
    const char *ours;
    const char *udunits;
};

constexpr NamedUnit kUnits[] = {
    {"KG/SEC", "kg/s"},  {"LB/HR", "lb/h"},
    {"FT", "ft"},        {"METER", "m"},
    {"BTU", "Btu"},      {"J/KG", "J/kg"},
    {"KG/CUM", "kg/m3"}, {"SQFT", "ft2"},
    {"ATM", "atm"},      {"BAR", "bar"},
    {"C", "degC"},       {"F", "degF"},
    {"HR", "h"},         {"GAL", "US_liquid_gallon"},
    {"KW", "kW"},        {"LB", "lb"},
};
constexpr int kUnitCount = sizeof kUnits / sizeof kUnits[0];
constexpr int kMask = 1023;

// A repeating sequence of (type, index) pairs and the values to convert.
struct Pairs {
    int ptype[kMask + 1];
    int uom[kMask + 1];
    double mult[kMask + 1];
    double offset[kMask + 1];
    double value[kMask + 1];
    int unit[kMask + 1];  // position in kUnits
};

const Pairs &pairs() {
    static Pairs p = [] {
        Pairs q{};
        for (int i = 0; i <= kMask; ++i) {
            const int u = (i * 7) % kUnitCount;
            rtouom_locate2(kUnits[u].ours, &q.ptype[i], &q.uom[i]);
            const rtouom_entry &e = rtouom_table[q.ptype[i]][q.uom[i] - 1];
            q.mult[i] = e.multiplier;
            q.offset[i] = e.offset;
            q.value[i] = 1.0 + 0.001 * i;
            q.unit[i] = u;
        }
        return q;
    }();
    return p;
}

void BM_pair2si_library(benchmark::State &state) {
    const Pairs &p = pairs();
    unsigned i = 0;
    double sum = 0;
    for (auto _ : state) {
        sum += rtouom_pair2si(p.value[i & kMask], p.ptype[i & kMask], p.uom[i & kMask]);
        ++i;
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_pair2si_library);

// The floor: the arithmetic of a conversion with nothing around it.
void BM_pair2si_plain_multiply_add(benchmark::State &state) {
    const Pairs &p = pairs();
    unsigned i = 0;
    double sum = 0;
    for (auto _ : state) {
        const unsigned k = i & kMask;
        sum += p.value[k] * p.mult[k] + p.offset[k];
        benchmark::DoNotOptimize(sum);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_pair2si_plain_multiply_add);

void BM_locate_library(benchmark::State &state) {
    unsigned i = 0;
    int ptype = 0, uom = 0;
    for (auto _ : state) {
        rtouom_locate2(kUnits[i % kUnitCount].ours, &ptype, &uom);
        benchmark::DoNotOptimize(uom);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_locate_library);

#ifdef ZARN_BENCH_HAVE_UDUNITS2
struct Udunits {
    ut_system *system = nullptr;
    std::vector<ut_unit *> units;
    std::vector<ut_unit *> si;
    std::vector<cv_converter *> to_si;
    bool ok = false;

    Udunits() {
        ut_set_error_message_handler(ut_ignore);
        system = ut_read_xml(nullptr);
        if (system == nullptr) return;
        ok = true;
        for (const NamedUnit &n : kUnits) {
            ut_unit *u = ut_parse(system, n.udunits, UT_ASCII);
            if (u == nullptr) {
                std::fprintf(stderr, "uom_bench: UDUNITS-2 cannot parse %s\n", n.udunits);
                ok = false;
                return;
            }
            // the SI unit of the same dimension: the unit with its scale and origin removed
            ut_unit *s = nullptr;
            for (const char *candidate :
                 {"kg/s", "m", "J", "J/kg", "kg/m3", "m2", "Pa", "K", "s", "m3", "W", "kg"}) {
                ut_unit *c = ut_parse(system, candidate, UT_ASCII);
                if (c != nullptr && ut_are_convertible(u, c)) {
                    s = c;
                    break;
                }
                ut_free(c);
            }
            if (s == nullptr) {
                std::fprintf(stderr, "uom_bench: no SI unit for %s\n", n.udunits);
                ok = false;
                return;
            }
            units.push_back(u);
            si.push_back(s);
            to_si.push_back(ut_get_converter(u, s));
        }
    }
};

Udunits &udunits() {
    static Udunits u;
    return u;
}

void BM_pair2si_udunits_converter(benchmark::State &state) {
    Udunits &u = udunits();
    if (!u.ok) {
        state.SkipWithError("UDUNITS-2 database not readable");
        return;
    }
    const Pairs &p = pairs();
    unsigned i = 0;
    double sum = 0;
    for (auto _ : state) {
        const unsigned k = i & kMask;
        sum += cv_convert_double(u.to_si[p.unit[k]], p.value[k]);
        ++i;
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_pair2si_udunits_converter);

// A converter made and freed for every value: what a caller pays without a cache.
void BM_pair2si_udunits_get_converter(benchmark::State &state) {
    Udunits &u = udunits();
    if (!u.ok) {
        state.SkipWithError("UDUNITS-2 database not readable");
        return;
    }
    const Pairs &p = pairs();
    unsigned i = 0;
    double sum = 0;
    for (auto _ : state) {
        const unsigned k = i & kMask;
        cv_converter *cv = ut_get_converter(u.units[p.unit[k]], u.si[p.unit[k]]);
        sum += cv_convert_double(cv, p.value[k]);
        cv_free(cv);
        ++i;
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_pair2si_udunits_get_converter);

void BM_locate_udunits_parse(benchmark::State &state) {
    Udunits &u = udunits();
    if (!u.ok) {
        state.SkipWithError("UDUNITS-2 database not readable");
        return;
    }
    unsigned i = 0;
    for (auto _ : state) {
        ut_unit *parsed = ut_parse(u.system, kUnits[i % kUnitCount].udunits, UT_ASCII);
        benchmark::DoNotOptimize(parsed);
        ut_free(parsed);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_locate_udunits_parse);

// Both libraries must agree on the numbers before their speed means anything.
bool udunits_agrees() {
    Udunits &u = udunits();
    if (!u.ok) return false;
    for (int k = 0; k < kUnitCount; ++k) {
        int ptype = 0, uom = 0;
        rtouom_locate2(kUnits[k].ours, &ptype, &uom);
        const double ours = rtouom_pair2si(2.5, ptype, uom);
        const double theirs = cv_convert_double(u.to_si[k], 2.5);
        if (std::fabs(ours - theirs) > 1e-6 * std::fabs(ours)) {
            std::fprintf(stderr, "uom_bench: %s gives %.15g here and %.15g in UDUNITS-2\n", kUnits[k].ours,
                         ours, theirs);
            return false;
        }
    }
    return true;
}
#endif

// n user units added to one type (FLOW, which also adds each to MASS-FLOW):
// the time of the whole run should grow with n, not n squared. The table is
// rebuilt outside the timing before each run.
void BM_add_user_units(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    char name[16];
    for (auto _ : state) {
        state.PauseTiming();
        pt_init_units_table();
        state.ResumeTiming();
        for (int k = 0; k < n; ++k) {
            std::snprintf(name, sizeof name, "U%d/SEC", k);
            benchmark::DoNotOptimize(rtouom_add_uom(name, 9, 1.0 + k, 0.0));
        }
    }
    pt_init_units_table();
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_add_user_units)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
#ifdef ZARN_BENCH_HAVE_UDUNITS2
    if (!udunits_agrees()) std::fprintf(stderr, "uom_bench: UDUNITS-2 figures are not comparable\n");
#else
    std::printf("uom_bench: built without UDUNITS-2; that baseline is skipped\n");
#endif
    zarn::bench::PairReporter reporter({
        {"pair2si vs plain multiply-add", "BM_pair2si_library", "BM_pair2si_plain_multiply_add"},
        {"pair2si vs UDUNITS converter", "BM_pair2si_library", "BM_pair2si_udunits_converter"},
        {"pair2si vs UDUNITS get_converter", "BM_pair2si_library", "BM_pair2si_udunits_get_converter"},
        {"locate vs UDUNITS ut_parse", "BM_locate_library", "BM_locate_udunits_parse"},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
