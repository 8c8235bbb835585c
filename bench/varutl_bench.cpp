// Status-word writes and reads over a column of 10^7 words: the library's
// accessors against hand-written bit operations on the same std::vector.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "varutl/varutl_internal.h"
#include "zarnutils/varutl.h"

namespace {

constexpr int64_t kWords = 10'000'000;

std::vector<int64_t> &column() {
    static std::vector<int64_t> words(kWords, 0);
    return words;
}

// Per word: write spec, physical type and two flags, then read them back.
void BM_Library(benchmark::State &state) {
    std::vector<int64_t> &w = column();
    for (auto _ : state) {
        int64_t sum = 0;
        for (int64_t i = 0; i < kWords; ++i) {
            int64_t *p = &w[i];
            varSetSpec(p, static_cast<int32_t>(i & 7));
            varSetPhysicalType(p, static_cast<int32_t>((i & 255) - 128));
            varSetMarked(static_cast<unsigned char>(i & 1), p);
            varSetExcluded(p, static_cast<int32_t>(i & 2));
            const int64_t v = *p;
            sum += varInqSpec(v) + varInqPhysicalType(v) + varInqMarked(v) + varIsExcluded(v);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kWords);
}

// The inline field helpers the library's own column loops use.
void BM_InlineFields(benchmark::State &state) {
    namespace vu = zarn::varutl;
    std::vector<int64_t> &w = column();
    for (auto _ : state) {
        int64_t sum = 0;
        for (int64_t i = 0; i < kWords; ++i) {
            int64_t v = w[i];
            v = (v & ~vu::kSpecMask) | (i & 7);
            v = vu::with_physical_type(v, static_cast<int32_t>((i & 255) - 128));
            v = vu::with_bit(v, vu::kMarked, (i & 1) != 0);
            v = vu::with_bit(v, vu::kExcluded, (i & 2) != 0);
            w[i] = v;
            sum += vu::spec(v) + vu::physical_type(v) + ((v & vu::kMarked) != 0) + ((v & vu::kExcluded) != 0);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kWords);
}

void BM_PlainBits(benchmark::State &state) {
    std::vector<int64_t> &w = column();
    for (auto _ : state) {
        int64_t sum = 0;
        for (int64_t i = 0; i < kWords; ++i) {
            int64_t v = w[i];
            const int64_t spec = i & 7;
            const int64_t pt = (i & 255) - 128;
            v = (v & ~int64_t{0xF}) | spec;
            v = (v & ~int64_t{0x1FF0}) | ((pt == 0 ? 0 : pt + 256) << 4);
            v = (i & 1) ? (v | 0x4000000) : (v & ~int64_t{0x4000000});
            v = (i & 2) ? (v | 0x2000000) : (v & ~int64_t{0x2000000});
            w[i] = v;
            const int64_t f = (v >> 4) & 0x1FF;
            sum += (v & 0xF) + (f == 0 ? 0 : f - 256) + ((v >> 26) & 1) + ((v >> 25) & 1);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kWords);
}

}  // namespace

BENCHMARK(BM_Library)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InlineFields)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainBits)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
