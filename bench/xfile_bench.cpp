// X-file at 10^6 variables with every attribute: save, restore by index and
// restore by name, against writing and reading the same number of bytes with
// plain write/read in 2048-byte records.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "pair_reporter.h"
#include "zarnutils/rtopipe.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/xfile.h"

namespace {

constexpr int32_t kN = 1000000;
const std::string kFile = "/tmp/zarn_xfile_bench_" + std::to_string(::getpid()) + ".xf";
const std::string kPlain = kFile + ".plain";

struct Model {
    rtvarlst_t *list = nullptr;
    int64_t digest[RTXFILE_NDIGEST] = {};
    int64_t flags[RTXFILE_NFLAGS] = {};
};

Model &model() {
    static Model m = [] {
        Model m;
        m.list = rtovarlst_create(kN);
        rtovarlst_set_nvar(m.list, kN);
        for (int32_t i = 1; i <= kN; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "B%d.S%d.X(%d)", i % 97, i % 1013, i);
            rtovarlst_addvar(m.list, i, name);
            rtovarlst_vec_scale(m.list)[i - 1] = 1.0 + (i % 3);
            rtovarlst_set_var_value(m.list, i, 0.5 * i, 0);
            rtovarlst_set_var_lower(m.list, i, -1e3, 0);
            rtovarlst_set_var_upper(m.list, i, 1e3, 0);
            rtovarlst_set_spec(m.list, i, i % 8);
        }
        zarn_md5_ctx_t ctx;
        MD5Init(&ctx);
        rtovarlst_compute_md(m.list, &ctx);
        MD5Final(&ctx);
        for (int k = 0; k < RTXFILE_NDIGEST; ++k) m.digest[k] = ctx.digest[k];
        for (int k = 1; k <= RTXFILE_NFLAGS; ++k)
            m.flags[k - 1] = (k == 11 || k == 12 || k == 16 || k == 20 || k == 22) ? 0 : 1;
        return m;
    }();
    return m;
}

int64_t file_bytes(const std::string &path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_size : 0;
}

void save() {
    Model &m = model();
    int64_t mode = RTXFILE_CREATE, by_name = 0, first = 1, last = kN;
    int64_t unit = RTXFILE_OPEN(kFile.c_str(), m.digest, &mode, m.flags, &by_name, kFile.size());
    RTXFILE_SAVE_VARIABLE(&unit, &m.list, &first, &last, m.flags);
    RTXFILE_CLOSE(&unit);
}

void BM_xfile_save(benchmark::State &state) {
    for (auto _ : state) save();
    state.SetBytesProcessed(state.iterations() * file_bytes(kFile));
}
BENCHMARK(BM_xfile_save)->Unit(benchmark::kMillisecond)->Iterations(3);

void restore(benchmark::State &state, bool by_name, bool select = true) {
    Model &m = model();
    const int64_t nothing[RTXFILE_NFLAGS] = {};
    if (file_bytes(kFile) == 0) save();
    const int64_t none[RTXFILE_NDIGEST] = {};
    for (auto _ : state) {
        int64_t mode = RTXFILE_READ, bn = 0, nsub = 0;
        int64_t unit =
            RTXFILE_OPEN(kFile.c_str(), by_name ? none : m.digest, &mode, m.flags, &bn, kFile.size());
        const int64_t r =
            RTXFILE_RESTORE_VARIABLE(&unit, &m.list, select ? m.flags : nothing, &bn, &nsub, "", "", 0, 0);
        RTXFILE_CLOSE(&unit);
        if (r != 0 || bn != (by_name ? 1 : 0)) state.SkipWithError("restore failed");
    }
    state.SetBytesProcessed(state.iterations() * file_bytes(kFile));
}
void BM_xfile_restore_index(benchmark::State &state) { restore(state, false); }
void BM_xfile_restore_name(benchmark::State &state) { restore(state, true); }
// Reading alone: no attribute selected, so no setter runs.
void BM_xfile_restore_none(benchmark::State &state) { restore(state, false, false); }
BENCHMARK(BM_xfile_restore_index)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_xfile_restore_none)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_xfile_restore_name)->Unit(benchmark::kMillisecond)->Iterations(3);

// The bound: the same bytes through write(2) and read(2), one record a call.
void BM_plain_write(benchmark::State &state) {
    if (file_bytes(kFile) == 0) save();
    const int64_t records = file_bytes(kFile) / RTXFILE_RECORD_BYTES;
    std::vector<char> rec(RTXFILE_RECORD_BYTES, 7);
    for (auto _ : state) {
        int fd = ::open(kPlain.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        for (int64_t r = 0; r < records; ++r)
            if (::write(fd, rec.data(), rec.size()) != static_cast<ssize_t>(rec.size()))
                state.SkipWithError("write");
        ::close(fd);
    }
    state.SetBytesProcessed(state.iterations() * records * RTXFILE_RECORD_BYTES);
}
BENCHMARK(BM_plain_write)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_plain_read(benchmark::State &state) {
    if (file_bytes(kFile) == 0) save();
    std::vector<char> rec(RTXFILE_RECORD_BYTES);
    int64_t total = 0;
    for (auto _ : state) {
        int fd = ::open(kFile.c_str(), O_RDONLY);
        ssize_t n;
        while ((n = ::read(fd, rec.data(), rec.size())) > 0) total += n;
        ::close(fd);
    }
    state.SetBytesProcessed(total);
}
BENCHMARK(BM_plain_read)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    rtoPipeIOInitialize(0);
    rtohis_set_hisDev(nowherePipe);
    model();
    zarn::bench::PairReporter reporter({
        {"save (vs write)", "BM_xfile_save", "BM_plain_write"},
        {"restore by index (vs read)", "BM_xfile_restore_index", "BM_plain_read"},
        {"restore by name (vs read)", "BM_xfile_restore_name", "BM_plain_read"},
        {"restore, nothing selected (vs read)", "BM_xfile_restore_none", "BM_plain_read"},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("file: %lld bytes for %d variables\n", static_cast<long long>(file_bytes(kFile)), kN);
    std::remove(kFile.c_str());
    std::remove(kPlain.c_str());
    benchmark::Shutdown();
    return 0;
}
