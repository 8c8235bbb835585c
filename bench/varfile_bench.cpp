// Writing a VARFILE of 10^6 variables with the default 28 attributes, against
// a bound: std::to_chars of the same numbers plus fwrite of the same byte count.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

#include "pair_reporter.h"
#include "zarnutils/varfile.hpp"
#include "zarnutils/varutl.h"

namespace {

constexpr int kVars = 1000000;
constexpr int kNumbers = 13;  // real columns of the default attribute list
long g_go_bytes = 0;          // what the writer wrote, for the bound to match

double number(int i, int k) { return 1.0 + i * 1e-3 + k * 0.25; }

rtvarlst_t *model() {
    static rtvarlst_t *l = nullptr;
    if (l) return l;
    l = rtovarlst_create(kVars);
    rtovarlst_set_nvar(l, kVars);
    rtvarinfo_t r{};
    r.mask = {RTVARINFO_NAME | RTVARINFO_STATUS | RTVARINFO_INTSCALE | RTVARINFO_VALUE | RTVARINFO_INIT |
                  RTVARINFO_LOWER | RTVARINFO_UPPER | RTVARINFO_STEP | RTVARINFO_SBWEIGHT |
                  RTVARINFO_TARGET_HOMO | RTVARINFO_MODIFIED,
              2};
    for (int i = 1; i <= kVars; ++i) {
        std::snprintf(r.name, sizeof r.name, "BLOCK%d.STREAM.TEMP", i);
        r.status = 0, varSetPhysicalType(&r.status, 22);
        r.uom = 2, r.intscale = 1, r.value = 300 + number(i, 0), r.init = 290 + number(i, 1);
        r.lower = 200, r.upper = 500 + number(i, 2), r.step = number(i, 3), r.sbweight = number(i, 4);
        r.target_homo = number(i, 5), r.modified = {static_cast<uint32_t>(i % 3), 0};
        rtovarlst_initialize_var(l, i, &r, 1);
    }
    return l;
}

FILE *scratch() {
    FILE *f = std::tmpfile();
    std::setvbuf(f, nullptr, _IOFBF, 1 << 16);
    return f;
}

void BM_varfile_Go(benchmark::State &state) {
    rtvarlst_t *l = model();
    for (auto _ : state) {
        FILE *f = scratch();
        RTVarFileOut w(create_ascii_stream_rtopipe(f, "bench", 0), l, 20, 16, 132, 12);
        w.Go();
        std::fflush(f);
        g_go_bytes = std::ftell(f);
        std::fclose(f);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * g_go_bytes);
}
BENCHMARK(BM_varfile_Go)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_bound_to_chars_fwrite(benchmark::State &state) {
    std::vector<char> buf(1 << 16);
    std::string blanks(1 << 16, ' ');
    for (auto _ : state) {
        FILE *f = scratch();
        long written = 0;
        size_t used = 0;
        for (int i = 1; i <= kVars; ++i) {
            if (used + kNumbers * 32 > buf.size())
                written += static_cast<long>(std::fwrite(buf.data(), 1, used, f)), used = 0;
            for (int k = 0; k < kNumbers; ++k)
                used = static_cast<size_t>(std::to_chars(buf.data() + used, buf.data() + buf.size(),
                                                         number(i, k), std::chars_format::scientific, 8)
                                               .ptr -
                                           buf.data());
        }
        written += static_cast<long>(std::fwrite(buf.data(), 1, used, f));
        for (long rest = g_go_bytes - written; rest > 0; rest -= static_cast<long>(blanks.size()))
            std::fwrite(blanks.data(), 1,
                        static_cast<size_t>(std::min<long>(rest, static_cast<long>(blanks.size()))), f);
        std::fclose(f);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * g_go_bytes);
}
BENCHMARK(BM_bound_to_chars_fwrite)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    zarn::bench::PairReporter reporter(
        {{"VARFILE Go, 10^6 variables, 28 columns", "BM_varfile_Go", "BM_bound_to_chars_fwrite"}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
