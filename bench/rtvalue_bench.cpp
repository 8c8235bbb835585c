// Typed-number arithmetic against plain doubles, the same through the value
// operators, numbers with units read from text against strtod plus a unit
// lookup, and copying a list value against copying the same records by hand.
#include <benchmark/benchmark.h>

#include "pair_reporter.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "zarnutils/rtuom.h"
#include "zarnutils/rtvalue.h"

namespace {

constexpr int kMask = 1023;

struct Operands {
    num a[kMask + 1], b[kMask + 1];
    double x[kMask + 1], y[kMask + 1];
    Operands(int pa, int ua, int pb, int ub) {
        for (int i = 0; i <= kMask; ++i) {
            a[i] = num{};
            b[i] = num{};
            a[i].rval = x[i] = 1.0 + i % 17;
            b[i].rval = y[i] = 2.0 + i % 13;
            a[i].ptype = static_cast<int16_t>(pa);
            a[i].uom = static_cast<int16_t>(ua);
            b[i].ptype = static_cast<int16_t>(pb);
            b[i].uom = static_cast<int16_t>(ub);
            a[i].baseuom = b[i].baseuom = 1;
        }
    }
};

void BM_numAdd_library(benchmark::State &state) {
    Operands o(22, 2, 31, 2);  // TEMPERATURE + DELTA-T, English units
    num r;
    int i = 0;
    for (auto _ : state) {
        numAdd(&o.a[i], &o.b[i], &r);
        benchmark::DoNotOptimize(r);
        i = (i + 1) & kMask;
    }
}

void BM_numAdd_plain_double(benchmark::State &state) {
    Operands o(0, 0, 0, 0);
    double r;
    int i = 0;
    for (auto _ : state) {
        r = o.x[i] + o.y[i];
        benchmark::DoNotOptimize(r);
        i = (i + 1) & kMask;
    }
}

void BM_numMult_library(benchmark::State &state) {
    Operands o(29, 1, 10, 3);  // $/KG x KG/HR: COST-RATE, unit composed as $/HR
    num r;
    int i = 0;
    for (auto _ : state) {
        numMult(&o.a[i], &o.b[i], &r);
        benchmark::DoNotOptimize(r);
        i = (i + 1) & kMask;
    }
}

void BM_numMult_plain_double(benchmark::State &state) {
    Operands o(0, 0, 0, 0);
    double r;
    int i = 0;
    for (auto _ : state) {
        r = o.x[i] * o.y[i];
        benchmark::DoNotOptimize(r);
        i = (i + 1) & kMask;
    }
}

// a + b * c over typed values (LENGTH + DIMENSIONLES * LENGTH) through the
// operators, 10^6 a run; the temporaries are numbers, so nothing is allocated.
void BM_value_abc_library(benchmark::State &state) {
    std::vector<value_t> a(kMask + 1), b(kMask + 1), c(kMask + 1);
    for (int i = 0; i <= kMask; ++i) {
        value_init(&a[i]), value_init(&b[i]), value_init(&c[i]);
        value_assign_double(&a[i], 1.0 + i % 17, 17, 2);
        value_assign_double(&b[i], 2.0 + i % 13, 44, 1);
        value_assign_double(&c[i], 0.5 + i % 7, 17, 1);
    }
    value_t t, r;
    value_init(&t);
    value_init(&r);
    for (auto _ : state) {
        for (int n = 0; n < 1000000; ++n) {
            const int i = n & kMask;
            value_mult(&b[i], &c[i], &t, nullptr);
            value_add(&a[i], &t, &r, nullptr);
            benchmark::DoNotOptimize(r.u.number.rval);
        }
    }
    state.SetItemsProcessed(state.iterations() * 1000000);
}

void BM_value_abc_plain_double(benchmark::State &state) {
    Operands o(0, 0, 0, 0);
    double c[kMask + 1];
    for (int i = 0; i <= kMask; ++i) c[i] = 0.5 + i % 7;
    for (auto _ : state) {
        for (int n = 0; n < 1000000; ++n) {
            const int i = n & kMask;
            double r = o.x[i] + o.y[i] * c[i];
            benchmark::DoNotOptimize(r);
        }
    }
    state.SetItemsProcessed(state.iterations() * 1000000);
}

const char *const kTexts[] = {"3.5 {FT}", "12 {KG/HR}", "1.5d2 {psig}", "0.25 {BTU}", "7 {C}", "2e3 {LB}"};
constexpr int kTextCount = sizeof kTexts / sizeof kTexts[0];

// 10^6 coercions a run.
void BM_coerce_library(benchmark::State &state) {
    std::vector<value_t> src(kTextCount);
    for (int k = 0; k < kTextCount; ++k) {
        value_init(&src[k]);
        value_assign_copy_of_string(&src[k], kTexts[k]);
    }
    value_t out;
    value_init(&out);
    for (auto _ : state) {
        for (int n = 0; n < 1000000; ++n) {
            value_coerce(&src[n % kTextCount], &out, number_value, nullptr);
            benchmark::DoNotOptimize(out.u.number.rval);
        }
    }
    state.SetItemsProcessed(state.iterations() * 1000000);
    value_destroy(&out);
    for (auto &v : src) value_destroy(&v);
}

// The same work by hand: the number by strtod, the unit cut out of the braces,
// upper-cased and located, the value converted.
void BM_coerce_strtod_locate(benchmark::State &state) {
    for (auto _ : state) {
        for (int n = 0; n < 1000000; ++n) {
            const char *t = kTexts[n % kTextCount];
            char *end;
            char num_text[32];
            std::strncpy(num_text, t, sizeof num_text - 1);
            num_text[sizeof num_text - 1] = '\0';
            for (char *c = num_text; *c; ++c)
                if (*c == 'd') *c = 'e';
            double x = std::strtod(num_text, &end);
            const char *open = std::strchr(t, '{'), *close = std::strchr(t, '}');
            char unit[32];
            size_t len = static_cast<size_t>(close - open - 1);
            for (size_t k = 0; k < len; ++k) unit[k] = static_cast<char>(std::toupper(open[1 + k]));
            unit[len] = '\0';
            int ptype = 0, uom = 0;
            rtouom_locate(unit, &ptype, &uom);
            benchmark::DoNotOptimize(x = rtouom_pair2si(x, ptype, uom));
        }
    }
    state.SetItemsProcessed(state.iterations() * 1000000);
}

void BM_list_copy_library(benchmark::State &state) {
    gl_list_t *l = gl_create();
    for (int i = 0; i < 1000; ++i) gl_addtoend(l, value_create_from_int(i));
    value_t src, dst;
    value_init(&src);
    value_init(&dst);
    value_assign_list(&src, l);
    for (auto _ : state) {
        value_copy(&src, &dst);
        benchmark::DoNotOptimize(dst.u.list);
    }
    value_destroy(&src);
    value_destroy(&dst);
}

// The baseline allocates and fills the same 1000 records and list nodes.
void BM_list_copy_by_hand(benchmark::State &state) {
    std::vector<value_t> items(1000);
    for (int i = 0; i < 1000; ++i) {
        value_init(&items[i]);
        value_assign_int(&items[i], i);
    }
    gl_list_t *held = nullptr;
    for (auto _ : state) {
        gl_list_t *l = gl_create();
        for (const value_t &v : items) {
            auto *c = static_cast<value_t *>(std::malloc(sizeof(value_t)));
            std::memcpy(c, &v, sizeof v);
            gl_addtoend(l, c);
        }
        if (held) gl_destroy(held, std::free);
        held = l;
        benchmark::DoNotOptimize(held);
    }
    gl_destroy(held, std::free);
}

BENCHMARK(BM_numAdd_library);
BENCHMARK(BM_numAdd_plain_double);
BENCHMARK(BM_numMult_library);
BENCHMARK(BM_numMult_plain_double);
BENCHMARK(BM_value_abc_library)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_value_abc_plain_double)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_coerce_library)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_coerce_strtod_locate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_list_copy_library);
BENCHMARK(BM_list_copy_by_hand);

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    zarn::bench::PairReporter reporter({
        {"numAdd typed vs double +", "BM_numAdd_library", "BM_numAdd_plain_double"},
        {"numMult typed vs double *", "BM_numMult_library", "BM_numMult_plain_double"},
        {"a + b * c typed values vs doubles", "BM_value_abc_library", "BM_value_abc_plain_double"},
        {"coerce text with unit vs strtod+locate", "BM_coerce_library", "BM_coerce_strtod_locate"},
        {"copy 1000-item list vs by hand", "BM_list_copy_library", "BM_list_copy_by_hand"},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
