// rtoprintf to a file pipe against fprintf to a FILE*, and queue throughput.
#include <benchmark/benchmark.h>

#include "pair_reporter.h"

#include <cstdio>
#include <string>

#include "zarnutils/rtopipe.h"

namespace {

FILE *scratch() {
    FILE *f = std::tmpfile();
    std::setvbuf(f, nullptr, _IOFBF, 1 << 16);
    return f;
}

void BM_fprintf_FILE(benchmark::State &state) {
    FILE *f = scratch();
    int64_t i = 0;
    for (auto _ : state)
        std::fprintf(f, "%-24s %18.10e %s\n", "REACTOR.FEED.TEMP", 1.0 + static_cast<double>(i++), "K");
    state.SetItemsProcessed(state.iterations());
    std::fclose(f);
}
BENCHMARK(BM_fprintf_FILE);

void run_rtoprintf(benchmark::State &state, int level) {
    FILE *f = scratch();
    rtopipe *p = create_ascii_stream_rtopipe(f, "bench", 1);
    rtosetflushlevel(p, level);
    int64_t i = 0;
    for (auto _ : state)
        rtoprintf(p, "%-24s %18.10e %s\n", "REACTOR.FEED.TEMP", 1.0 + static_cast<double>(i++), "K");
    state.SetItemsProcessed(state.iterations());
    rtodestroy(p);
}

void BM_rtoprintf_pipe_level0(benchmark::State &state) { run_rtoprintf(state, 0); }
void BM_rtoprintf_pipe_level1(benchmark::State &state) { run_rtoprintf(state, 1); }
BENCHMARK(BM_rtoprintf_pipe_level0);
BENCHMARK(BM_rtoprintf_pipe_level1);

// Writes N bytes in pieces of the given size, then reads them all back.
void BM_queue_write_read(benchmark::State &state) {
    const size_t piece = static_cast<size_t>(state.range(0));
    const size_t total = 1 << 20;
    std::string data(piece, 'q');
    char buf[8192];
    for (auto _ : state) {
        rtopipe *q = create_queue_rtopipe();
        for (size_t done = 0; done < total; done += piece) rtowrite(q, data.data(), piece);
        while (rtoread(q, buf, sizeof buf) > 0) {
        }
        rtodestroy(q);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total));
}
BENCHMARK(BM_queue_write_read)->Arg(16)->Arg(80)->Arg(4096);

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    zarn::bench::PairReporter reporter({
        {"rtoprintf to a file pipe, level 0", "BM_rtoprintf_pipe_level0", "BM_fprintf_FILE"},
        {"rtoprintf to a file pipe, level 1", "BM_rtoprintf_pipe_level1", "BM_fprintf_FILE"},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
