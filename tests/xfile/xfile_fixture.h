// Shared set-up of the X-file tests: scratch files and lists gone when the test ends, digests, raw words,
// open-save-restore-close in one call, and the check that no unit was left behind.
#ifndef ZARN_TESTS_XFILE_FIXTURE_H
#define ZARN_TESTS_XFILE_FIXTURE_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "capture.h"
#include "source_tree.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/varutl.h"
#include "zarnutils/xfile.h"

namespace zarn::test {

using Flags = std::array<int64_t, RTXFILE_NFLAGS>;
using Digest = std::array<int64_t, RTXFILE_NDIGEST>;
using Words = std::vector<int32_t>;
using Reals = std::vector<double>;
using Names = std::vector<std::string>;

// The lists and files the running test made, destroyed and removed when it ends (see XFileTest).
inline std::vector<rtvarlst_t *> made_lists;
inline std::vector<std::string> made_files;

// A file's path in the scratch folder.
inline std::string scratch(const std::string &tag) {
    made_files.push_back("/tmp/zarn_xfile_" + std::to_string(::getpid()) + "_" + tag);
    return made_files.back();
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
    std::copy(ctx.digest, ctx.digest + RTXFILE_NDIGEST, d.begin());
    return d;
}
inline Names numbered(int n) {
    Names v;
    for (int k = 1; k <= n; ++k) v.push_back("V" + std::to_string(k));
    return v;
}
// A list named from `names`, scale 1, values 0 (or 1, 2, ... when counted).
inline rtvarlst_t *list_of(const Names &names, bool counted = false) {
    const auto n = static_cast<int32_t>(names.size());
    rtvarlst_t *l = rtovarlst_create(n);
    made_lists.push_back(l);
    rtovarlst_set_nvar(l, n);
    for (int32_t k = 1; k <= n; ++k) {
        rtovarlst_addvar(l, k, names[k - 1].c_str());
        rtovarlst_vec_scale(l)[k - 1] = 1.0;
        rtovarlst_set_var_value(l, k, counted ? k : 0, 0);
    }
    return l;
}
// Every attribute of variable i set to a value of its own; internal scale 2.
inline void set_every_attribute(rtvarlst_t *l, int32_t i) {
    rtvarmod_t m{7, static_cast<uint32_t>(-9)};
    rtovarlst_set_spec(l, i, 5);
    rtovarlst_set_var_baseuom(l, i, 3);
    rtovarlst_set_var_quality(l, i, 2);
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
inline Reals values(rtvarlst_t *l) {
    Reals v;
    for (int k = 1; k <= rtovarlst_inq_nvar(l); ++k) v.push_back(rtovarlst_inq_var_value(l, k, 0));
    return v;
}

inline int64_t open_file(const std::string &path, int64_t mode, rtvarlst_t *list, const Flags &f,
                         int64_t *by_name = nullptr) {
    Digest d = list ? digest_of(list) : Digest{};
    return RTXFILE_OPEN(path.c_str(), d.data(), &mode, f.data(), by_name, path.size());
}
// Saves every variable and closes.
inline void save_file(const std::string &path, rtvarlst_t *list, const Flags &f) {
    int64_t unit = open_file(path, RTXFILE_CREATE, list, f), first = 1, last = rtovarlst_inq_nvar(list);
    RTXFILE_SAVE_VARIABLE(&unit, &list, &first, &last, f.data());
    RTXFILE_CLOSE(&unit);
}
// Opens for reading, runs `after_open`, restores with `select` and closes; the restore's result.
// Substitutions go as pairs.
inline int64_t restore_file(const std::string &path, rtvarlst_t *list, const Flags &select,
                            const std::function<void()> &after_open = {}, const Names &subs = {},
                            const std::vector<int64_t> *except = nullptr, int64_t skip_fixed = 0,
                            int64_t *by_name_out = nullptr) {
    int64_t by_name = 0, unit = open_file(path, RTXFILE_READ, list, select, &by_name);
    if (by_name_out) *by_name_out = unit ? by_name : -1;
    if (after_open) after_open();
    std::string pat, rep;
    for (size_t k = 0; k + 1 < subs.size(); k += 2) {
        pat += subs[k] + std::string(16 - subs[k].size(), ' ');
        rep += subs[k + 1] + std::string(16 - subs[k + 1].size(), ' ');
    }
    int64_t nsub = static_cast<int64_t>(subs.size() / 2), use = except != nullptr;
    const int64_t r =
        RTXFILE_RESTORE_EXCEPT(&unit, &list, select.data(), &by_name, &nsub, pat.c_str(), rep.c_str(), &use,
                               except ? except->data() : nullptr, &skip_fixed, 16, 16);
    RTXFILE_CLOSE(&unit);
    return r;
}

// Raw words of a file (little-endian hosts: the file's own order).
inline Words read_words(const std::string &path) {
    const std::string bytes = slurp(path);
    Words w(bytes.size() / 4);
    std::memcpy(w.data(), bytes.data(), w.size() * 4);
    return w;
}
// Writes words, zero-padded to whole records unless a byte count is given.
inline void write_words(const std::string &path, Words w, size_t bytes = SIZE_MAX) {
    if (bytes == SIZE_MAX)
        bytes = (w.size() * 4 + RTXFILE_RECORD_BYTES - 1) / RTXFILE_RECORD_BYTES * RTXFILE_RECORD_BYTES;
    w.resize((bytes + 3) / 4, 0);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char *>(w.data()), static_cast<std::streamsize>(bytes));
}
// The two words of a double, low word first.
inline void push_real(Words &w, double v) {
    int32_t h[2];
    std::memcpy(h, &v, 8);
    w.insert(w.end(), h, h + 2);
}
// The 32 words of a 128-character name field, blank-padded.
inline void push_name(Words &w, std::string f) {
    f.resize(128, ' ');
    w.resize(w.size() + 32);
    std::memcpy(&*(w.end() - 32), f.data(), 128);
}
// A header record written by hand: magic, indices, digest, flags, version.
inline Words header_words(const Digest &d, const Flags &f, int32_t first, int32_t last,
                          int32_t version = RTXFILE_VERSION) {
    Words w(RTXFILE_RECORD_WORDS, 0);
    w[0] = RTXFILE_MAGIC;
    w[1] = first;
    w[2] = last;
    w[3] = 32;
    w[20] = 25;
    w[46] = version;
    std::copy(d.begin(), d.end(), w.begin() + 4);
    std::copy(f.begin(), f.end(), w.begin() + 21);
    return w;
}

// True when every unit of 60..99 can be allocated again (then freed): no unit leaked.
inline bool all_units_free() {
    std::vector<int64_t> got;
    for (int64_t u = -1, err = 0; got.size() < 40;) {
        RTO_GETIOC(&u, &err);
        if (err != 0) break;
        got.push_back(u);
    }
    for (int64_t u : got) RTO_FREIOC(&u);
    return got.size() == 40;
}

// Every X-file test: the lists and files it made go when it ends, whatever it checked.
class XFileTest : public ::testing::Test {
  protected:
    void TearDown() override {
        for (rtvarlst_t *l : made_lists) rtovarlst_destroy_c(&l);
        for (const std::string &f : made_files) std::remove(f.c_str());
        made_lists.clear();
        made_files.clear();
    }
};

}  // namespace zarn::test

#endif
