// One input of the X-file fuzz target, shared with the corpus replay test:
// the first byte picks options, the rest is written to a file and read as an
// X-file (restored into a small list by index or name, with substitutions,
// the exception list and skip-fixed; queried; read at random). The includer
// defines ZARN_FUZZ_CHECK(cond) for what a failed check does.
#ifndef ZARN_FUZZ_XFILE_ONE_INPUT_H
#define ZARN_FUZZ_XFILE_ONE_INPUT_H

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "zarnutils/rtvarlst.h"
#include "zarnutils/xfile.h"

namespace zarn::fuzz {

inline const char *kNames[] = {"A", "B", "ZFLOW1", "C"};
inline constexpr int32_t kVars = 4;

inline rtvarlst_t *small_list() {
    rtvarlst_t *l = rtovarlst_create(kVars);
    rtovarlst_set_nvar(l, kVars);
    for (int32_t k = 1; k <= kVars; ++k) {
        rtovarlst_addvar(l, k, kNames[k - 1]);
        rtovarlst_vec_scale(l)[k - 1] = 1.0 + k;
    }
    rtovarlst_fix_var(l, 2);
    return l;
}

inline void on_name(const char *name) {
    ZARN_FUZZ_CHECK(name == nullptr || std::strlen(name) <= RTXFILE_NAME_LEN);
}

inline void xfile_one_input(const uint8_t *data, size_t size) {
    static rtvarlst_t *list = nullptr;
    static std::string path;
    static int64_t digest[RTXFILE_NDIGEST];
    if (list == nullptr) {
        list = small_list();
        path = "/tmp/zarn_fuzz_xfile_" + std::to_string(::getpid());
        zarn_md5_ctx_t ctx;
        MD5Init(&ctx);
        rtovarlst_compute_md(list, &ctx);
        MD5Final(&ctx);
        for (int k = 0; k < RTXFILE_NDIGEST; ++k) digest[k] = ctx.digest[k];
    }
    if (size < 1) return;
    const uint8_t opt = data[0];
    FILE *f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return;
    std::fwrite(data + 1, 1, size - 1, f);
    std::fclose(f);

    int64_t flags[RTXFILE_NFLAGS];
    for (int k = 0; k < RTXFILE_NFLAGS; ++k) flags[k] = (opt & 0x80) ? 1 : (k % 2);
    int64_t mode = RTXFILE_READ, by_name = 0;
    int64_t unit = RTXFILE_OPEN(path.c_str(), digest, &mode, flags, &by_name, path.size());
    if (unit != 0) {
        if (opt & 1) by_name = 1 - by_name;
        int64_t nsub = (opt & 2) ? 2 : 0, use_except = (opt >> 2) & 1, skip_fixed = (opt >> 3) & 1;
        int64_t except[kVars] = {0, 1, 0, 1};
        RTXFILE_RESTORE_EXCEPT(&unit, &list, flags, &by_name, &nsub, "^A  C$  ", "ZFLOWX  ", &use_except,
                               except, &skip_fixed, 4, 4);
        RTXFILE_CLOSE(&unit);
    }
    unit = RTXFILE_OPEN(path.c_str(), digest, &mode, flags, &by_name, path.size());
    if (unit != 0) {
        int64_t got[RTXFILE_NFLAGS];
        RTXFILE_QUERY(&unit, got, on_name);
        RTXFILE_CLOSE(&unit);
    }
    int64_t low = 90, magic, d[RTXFILE_NDIGEST], fl[RTXFILE_NFLAGS], first, last, status = 0;
    RTO_OPENRD_XFILE_F(&low, path.c_str(), &magic, d, fl, &first, &last, &status, path.size());
    if (status == 0) {
        int64_t index, ints[RTXFILE_MAX_INT_WORDS], eof = 0;
        double reals[RTXFILE_MAX_REALS];
        char name[RTXFILE_NAME_LEN];
        for (int64_t n : {int64_t{1}, int64_t{opt} * 7 + 1, int64_t{opt} * 131 + 1}) {
            RTO_READ_XREC_F(&low, &n, &index, name, ints, reals, &eof, &status, sizeof name);
            RTO_READ_XFILE_F(&low, &index, name, ints, reals, &eof, &status, sizeof name);
        }
        RTO_CLOSE_XFILE_F(&low, &status);
    }
    // The list keeps its shape whatever the file held.
    ZARN_FUZZ_CHECK(rtovarlst_inq_nvar(list) == kVars && rtovarlst__varname2index(list, "C") == 4);
    std::remove(path.c_str());
}

}  // namespace zarn::fuzz

#endif
