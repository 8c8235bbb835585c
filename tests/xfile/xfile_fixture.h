// Shared set-up of the X-file tests: files in a scratch folder, lists with
// every attribute set, digests, raw words, and open-save-close in one call.
#ifndef ZARN_TESTS_XFILE_FIXTURE_H
#define ZARN_TESTS_XFILE_FIXTURE_H

#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "zarnutils/rtvarlst.h"
#include "zarnutils/varutl.h"
#include "zarnutils/xfile.h"

namespace zarn::test {

using Flags = std::array<int64_t, RTXFILE_NFLAGS>;
using Digest = std::array<int64_t, RTXFILE_NDIGEST>;

inline std::string scratch(const std::string &tag) {
    return "/tmp/zarn_xfile_" + std::to_string(::getpid()) + "_" + tag;
}

inline Flags flags_of(std::initializer_list<int> codes) {
    Flags f{};
    for (int c : codes) f[c - 1] = 1;
    return f;
}
inline Flags all_flags() {
    return flags_of({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 14, 15, 17, 18, 19, 21, 23, 24, 25});
}

inline Digest digest_of(rtvarlst_t *list) {
    zarn_md5_ctx_t ctx;
    MD5Init(&ctx);
    rtovarlst_compute_md(list, &ctx);
    MD5Final(&ctx);
    Digest d{};
    for (int k = 0; k < RTXFILE_NDIGEST; ++k) d[k] = ctx.digest[k];
    return d;
}

// A list named from `names`, values 0, scale 1.
inline rtvarlst_t *list_of(const std::vector<std::string> &names) {
    auto n = static_cast<int32_t>(names.size());
    rtvarlst_t *l = rtovarlst_create(n);
    rtovarlst_set_nvar(l, n);
    for (int32_t k = 1; k <= n; ++k) {
        rtovarlst_addvar(l, k, names[k - 1].c_str());
        rtovarlst_vec_scale(l)[k - 1] = 1.0;
        rtovarlst_set_var_value(l, k, 0.0, 0);
    }
    return l;
}

// Every attribute of variable i set to a value of its own; internal scale 2.
inline void set_every_attribute(rtvarlst_t *l, int32_t i) {
    rtovarlst_set_spec(l, i, 5);
    rtovarlst_set_var_baseuom(l, i, 3);
    rtovarlst_set_var_quality(l, i, 2);
    rtvarmod_t m{7, static_cast<uint32_t>(-9)};
    rtovarlst_set_var_modified(l, i, &m);
    rtovarlst_set_var_uom(l, i, 4);
    rtovarlst_set_physical_type(l, i, 6);
    rtovarlst_set_var_conn_type(l, i, 11);
    int64_t w = rtovarlst_inq_var_status(l, i);
    varSetBoundType(2, &w);
    rtovarlst_set_var_status(l, i, w);
    rtovarlst_set_var_param_homo(l, i, 1);
    rtovarlst_set_var_ramped(l, i, 1);
    rtovarlst_vec_scale(l)[i - 1] = 2.0;
    rtovarlst_set_var_lower(l, i, -4.0, 0);
    rtovarlst_set_var_value(l, i, 1.5, 0);
    rtovarlst_set_var_upper(l, i, 8.0, 0);
    rtovarlst_set_var_step_inbaseuom(l, i, 0.25);
    rtovarlst_set_var_initial(l, i, 0.5, 0);
    rtovarlst_set_var_sbweight(l, i, 3.5);
    rtovarlst_set_var_target_homo(l, i, 6.0, 0);
    rtovarlst_set_var_threshold(l, i, 0.125, 0);
}

inline std::vector<double> values(rtvarlst_t *l) {
    std::vector<double> v;
    for (int32_t k = 1; k <= rtovarlst_inq_nvar(l); ++k) v.push_back(rtovarlst_inq_var_value(l, k, 0));
    return v;
}

inline int64_t open_file(const std::string &path, int64_t mode, rtvarlst_t *list, const Flags &f,
                         int64_t *by_name = nullptr) {
    Digest d = list ? digest_of(list) : Digest{};
    int64_t bn = -7;
    return RTXFILE_OPEN(path.c_str(), d.data(), &mode, f.data(), by_name ? by_name : &bn, path.size());
}

// Saves variables first..last (all when last is 0) and closes.
inline void save_file(const std::string &path, rtvarlst_t *list, const Flags &f, int64_t first = 1,
                      int64_t last = 0) {
    int64_t unit = open_file(path, RTXFILE_CREATE, list, f);
    if (last == 0) last = rtovarlst_inq_nvar(list);
    RTXFILE_SAVE_VARIABLE(&unit, &list, &first, &last, f.data());
    RTXFILE_CLOSE(&unit);
}

// Opens for reading, restores with `select` and closes; the restore's result.
inline int64_t restore_file(const std::string &path, rtvarlst_t *list, const Flags &select,
                            const std::vector<std::string> &subs = {}, const std::vector<int64_t> *except = nullptr,
                            int64_t skip_fixed = 0, int64_t *by_name_out = nullptr) {
    int64_t by_name = 0;
    int64_t unit = open_file(path, RTXFILE_READ, list, select, &by_name);
    if (by_name_out) *by_name_out = unit ? by_name : -1;
    std::string pat, rep;
    for (size_t k = 0; k + 1 < subs.size(); k += 2) {
        pat += subs[k] + std::string(16 - subs[k].size(), ' ');
        rep += subs[k + 1] + std::string(16 - subs[k + 1].size(), ' ');
    }
    int64_t nsub = static_cast<int64_t>(subs.size() / 2), use = except != nullptr;
    int64_t r = RTXFILE_RESTORE_EXCEPT(&unit, &list, select.data(), &by_name, &nsub, pat.c_str(), rep.c_str(), &use,
                                       except ? except->data() : nullptr, &skip_fixed, 16, 16);
    RTXFILE_CLOSE(&unit);
    return r;
}

inline std::vector<int32_t> read_words(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<int32_t> w(bytes.size() / 4);
    for (size_t k = 0; k < w.size(); ++k) {
        auto b = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[4 * k + i])); };
        w[k] = static_cast<int32_t>(b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24);
    }
    return w;
}

inline void write_words(const std::string &path, const std::vector<int32_t> &w, size_t bytes = SIZE_MAX) {
    std::string out;
    for (int32_t x : w)
        for (int b = 0; b < 4; ++b) out.push_back(static_cast<char>((static_cast<uint32_t>(x) >> (8 * b)) & 0xFF));
    if (bytes == SIZE_MAX) bytes = (out.size() + RTXFILE_RECORD_BYTES - 1) / RTXFILE_RECORD_BYTES * RTXFILE_RECORD_BYTES;
    out.resize(bytes, '\0');
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(out.data(), static_cast<std::streamsize>(out.size()));
}

// The two words of a double, low word first.
inline std::pair<int32_t, int32_t> halves(double v) {
    uint64_t b;
    std::memcpy(&b, &v, 8);
    return {static_cast<int32_t>(static_cast<uint32_t>(b)), static_cast<int32_t>(static_cast<uint32_t>(b >> 32))};
}

// A header record written by hand: magic, indices, digest, flags, version.
inline std::vector<int32_t> header_words(const Digest &d, const Flags &f, int32_t first, int32_t last,
                                         int32_t version = RTXFILE_VERSION, int32_t magic = RTXFILE_MAGIC) {
    std::vector<int32_t> w(RTXFILE_RECORD_WORDS, 0);
    w[0] = magic, w[1] = first, w[2] = last, w[3] = 32, w[20] = 25, w[46] = version;
    for (int k = 0; k < 16; ++k) w[4 + k] = static_cast<int32_t>(d[k]);
    for (int k = 0; k < 25; ++k) w[21 + k] = static_cast<int32_t>(f[k]);
    return w;
}

// The 32 words of a 128-character name field, blank-padded.
inline void push_name(std::vector<int32_t> &w, std::string field) {
    field.resize(128, ' ');
    for (int j = 0; j < 32; ++j) {
        int32_t x;
        std::memcpy(&x, field.data() + 4 * j, 4);
        w.push_back(x);
    }
}

// True when every unit of 60..99 can be allocated again (then freed): no unit leaked.
inline bool all_units_free() {
    std::vector<int64_t> got;
    for (int k = 0; k < 40; ++k) {
        int64_t u = -1, err = 0;
        RTO_GETIOC(&u, &err);
        if (err != 0) break;
        got.push_back(u);
    }
    for (int64_t u : got) RTO_FREIOC(&u);
    return got.size() == 40;
}

}  // namespace zarn::test

#endif
