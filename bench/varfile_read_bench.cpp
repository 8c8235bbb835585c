// Reading a default VARFILE of 10^6 variables into their list, against a
// bound: strtod of the same numeric fields plus the variable name lookups;
// and comparing the file with the list, against reading it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "pair_reporter.h"
#include "zarnutils/rtopipe.h"
#include "zarnutils/varfile.hpp"
#include "zarnutils/varutl.h"

namespace {

constexpr int kVars = 1000000;

struct Model {
    rtvarlst_t *list;
    std::string path;
    long bytes;
};

// The list and its default VARFILE, written once.
const Model &model() {
    static Model m{};
    if (m.list != nullptr) return m;
    m.list = rtovarlst_create(kVars);
    rtovarlst_set_nvar(m.list, kVars);
    rtvarinfo_t r{};
    r.mask = {RTVARINFO_NAME | RTVARINFO_STATUS | RTVARINFO_INTSCALE | RTVARINFO_VALUE | RTVARINFO_INIT |
                  RTVARINFO_LOWER | RTVARINFO_UPPER | RTVARINFO_STEP | RTVARINFO_SBWEIGHT |
                  RTVARINFO_TARGET_HOMO | RTVARINFO_MODIFIED,
              2};
    for (int i = 1; i <= kVars; ++i) {
        const double x = 1.0 + i * 1e-3;
        std::snprintf(r.name, sizeof r.name, "B%d.STREAM.T", i);
        r.status = 0, varSetPhysicalType(&r.status, 22), varSetSpec(&r.status, i % 2);
        r.uom = 2, r.intscale = 1, r.value = 300 + x, r.init = 290 + x, r.lower = 200, r.upper = 500 + x;
        r.step = x, r.sbweight = x, r.target_homo = x, r.modified = {static_cast<uint32_t>(i % 3), 0};
        rtovarlst_initialize_var(m.list, i, &r, 1);
    }
    m.path = "/tmp/zarn_varfile_read_bench_" + std::to_string(::getpid());
    FILE *f = std::fopen(m.path.c_str(), "w");
    {
        RTVarFileOut out(create_ascii_stream_rtopipe(f, "bench", 0), m.list, 20, 16, 132, 12);
        out.Go();
    }
    m.bytes = std::ftell(f);
    std::fclose(f);
    return m;
}

void BM_varfile_In_Go(benchmark::State &state) {
    const Model &m = model();
    for (auto _ : state) {
        FILE *f = std::fopen(m.path.c_str(), "r");
        RTVarFileIn in(create_ascii_stream_rtopipe(f, "bench", 1), m.list);
        in.Go();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * m.bytes);
}
BENCHMARK(BM_varfile_In_Go)->Unit(benchmark::kMillisecond)->Iterations(2);

// Reading and comparing the same file, both silent and taking the columns of
// the read mask: at level 1 the comparer reports every VAR_TYPE field, which
// always counts as changed.
template <class Reader>
void read_silently(Reader &reader) {
    reader.SetLevel(RTVarDatabase::SILENT);
    reader.ClearAttributes();
    for (const gl_node_t *n = get_readVarFile_mask()->head; n != nullptr; n = n->next)
        reader.AddAttribute(RTVarDatabase::VarAttribute(reinterpret_cast<intptr_t>(n->data)));
    reader.Go();
}

void BM_varfile_In_Go_silent(benchmark::State &state) {
    const Model &m = model();
    for (auto _ : state) {
        FILE *f = std::fopen(m.path.c_str(), "r");
        RTVarFileIn in(create_ascii_stream_rtopipe(f, "bench", 1), m.list);
        read_silently(in);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * m.bytes);
}
BENCHMARK(BM_varfile_In_Go_silent)->Unit(benchmark::kMillisecond)->Iterations(2);

// The report goes nowhere.
void BM_varfile_Cmp_Go(benchmark::State &state) {
    const Model &m = model();
    for (auto _ : state) {
        FILE *f = std::fopen(m.path.c_str(), "r");
        RTVarFileCmp cmp(create_ascii_stream_rtopipe(f, "bench", 1), nowherePipe, m.list);
        read_silently(cmp);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * m.bytes);
}
BENCHMARK(BM_varfile_Cmp_Go)->Unit(benchmark::kMillisecond)->Iterations(2);

// Reads the file in the same blocks, looks up each record's name and converts
// every field that starts like a number.
void BM_bound_strtod_lookup(benchmark::State &state) {
    const Model &m = model();
    std::string buf(1 << 16, '\0'), line;
    for (auto _ : state) {
        FILE *f = std::fopen(m.path.c_str(), "r");
        double sum = 0;
        long found = 0;
        size_t n;
        while ((n = std::fread(buf.data(), 1, buf.size(), f)) > 0) {
            for (size_t k = 0; k < n; ++k) {
                if (buf[k] != '\n') {
                    line += buf[k];
                    continue;
                }
                // Name: the first field without its blanks; then the fields after each comma.
                const char *p = line.c_str();
                const char *comma = std::strchr(p, ',');
                const size_t len = comma != nullptr ? static_cast<size_t>(comma - p) : line.size();
                char name[64];
                size_t used = 0;
                for (size_t c = 0; c < len && used < sizeof name - 1; ++c)
                    if (p[c] != ' ') name[used++] = p[c];
                name[used] = '\0';
                found += rtovarlst__varname2index(m.list, name) > 0;
                for (; comma != nullptr; comma = std::strchr(comma + 1, ',')) {
                    const char *q = comma + 1;
                    while (*q == ' ') ++q;
                    if ((*q >= '0' && *q <= '9') || *q == '-' || *q == '+' || *q == '.')
                        sum += std::strtod(q, nullptr);
                }
                line.clear();
            }
        }
        std::fclose(f);
        benchmark::DoNotOptimize(sum);
        if (found < kVars) state.SkipWithError("names not found");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * m.bytes);
}
BENCHMARK(BM_bound_strtod_lookup)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    zarn::bench::PairReporter reporter(
        {{"VARFILE read, 10^6 variables, default columns", "BM_varfile_In_Go", "BM_bound_strtod_lookup"},
         {"VARFILE compare against read, 10^6 variables", "BM_varfile_Cmp_Go", "BM_varfile_In_Go_silent"}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::remove(model().path.c_str());
    return 0;
}
