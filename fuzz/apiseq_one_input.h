// One input of the API-sequence fuzz target, shared with the corpus replay test.
// The bytes are read as a program: each step picks an operation on attribute
// dictionaries or variable lists (heads and windows up to three deep), or on
// values, parameters, hash tables and numerical routines (apiseq_values.h), or
// on a list as a model (assignment, records, masks, filters, VARFILE, X-file:
// apiseq_model.h), and its arguments, many of them extreme (INT_MIN, INT_MAX, -1, 0). After every step
// each dictionary must pass its own consistency check, unless the step shrank
// a dictionary under a window, which a caller may do; vectors must cover their
// elements, and wrapper references must balance once everything is destroyed.
// A variable list's items are reshaped through the list calls only: the list
// owns per-item records that its dictionary cannot free.
// The includer defines ZARN_FUZZ_CHECK(cond) for what a failed check does.
#ifndef ZARN_FUZZ_APISEQ_ONE_INPUT_H
#define ZARN_FUZZ_APISEQ_ONE_INPUT_H

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "zarnutils/rtattrdict.hpp"
#include "zarnutils/msgdigest.h"
#include "zarnutils/rtattrdict.h"
#include "zarnutils/rtopipe.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/varassign.h"

namespace zarn::fuzz::apiseq {

// Positive capacities are bounded: a huge one is a legitimate request whose
// allocation failure is a documented fatal path, not a finding.
constexpr int32_t kMaxAlloc = 600;
constexpr int kMaxNodes = 12;
constexpr int kMaxDepth = 3;
constexpr int kMaxSteps = 160;

// A host wrapper that counts its references; dropping below the fuzzer's own
// reference, or an element index below 1, is a library fault.
struct CountingWrapper final : IWEXWrapper {
    int32_t refs = 1;
    int32_t index = 0;
    HRESULT QueryInterface(const void *, void **object) override {
        if (object != nullptr) *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return static_cast<ULONG>(++refs); }
    ULONG Release() override {
        ZARN_FUZZ_CHECK(refs > 1);
        return static_cast<ULONG>(--refs);
    }
    HRESULT GetIndex(int32_t *out) override {
        if (out != nullptr) *out = index;
        return S_OK;
    }
    HRESULT SetIndex(int32_t i) override {
        ZARN_FUZZ_CHECK(i >= 1);
        index = i;
        return S_OK;
    }
};

// Faults already reported can be stepped around while the rest is fuzzed:
// ZARN_APISEQ_SKIP names them, comma-separated (see known_fault below).
inline bool skipping(const char *fault) {
    static const char *list = std::getenv("ZARN_APISEQ_SKIP");
    return list != nullptr && std::strstr(list, fault) != nullptr;
}

inline bool outside_int(int64_t v) { return v < INT_MIN || v > INT_MAX; }

inline CountingWrapper *wrappers() {
    static CountingWrapper pool[3];
    return pool;
}

// Columns of every kind, dense and sparse, for the plain dictionaries.
inline const rtattrdesc_t *table() {
    static const rtattrdesc_t t[] = {
        {"D", RTATTR_DOUBLE, 1.5, 0, nullptr, 0, nullptr},
        {"I", RTATTR_INTEGER, 0, 7, nullptr, 0, nullptr},
        {"S", RTATTR_STRING, 0, 0, "s", 0, nullptr},
        {"N2", RTATTR_NAME, 0, 0, nullptr, 0, nullptr},
        {"P", RTATTR_POINTER, 0, 0, nullptr, 0, nullptr},
        {"B", RTATTR_BOOLEAN, 0, 0, nullptr, 1, nullptr},
        {"W", RTATTR_WRAPPER, 0, 0, nullptr, 0, nullptr},
        {"SD", RTATTR_SPARSE_DOUBLE, 2.5, 0, nullptr, 0, nullptr},
        {"SI", RTATTR_SPARSE_INTEGER, 0, -3, nullptr, 0, nullptr},
        {"SS", RTATTR_SPARSE_STRING, 0, 0, "x", 0, nullptr},
        {"SN", RTATTR_SPARSE_NAME, 0, 0, nullptr, 0, nullptr},
        {"SP", RTATTR_SPARSE_POINTER, 0, 0, nullptr, 0, nullptr},
        {"SB", RTATTR_SPARSE_BOOLEAN, 0, 0, nullptr, 0, nullptr},
        {nullptr, RTATTR_END, 0, 0, nullptr, 0, nullptr},
    };
    return t;
}

class Bytes {
  public:
    Bytes(const uint8_t *data, std::size_t size) : p_(data), end_(data + size) {}
    bool empty() const { return p_ >= end_; }
    uint8_t byte() { return p_ < end_ ? *p_++ : 0; }
    int32_t small(int32_t lo, int32_t hi) { return lo + static_cast<int32_t>(byte() % (hi - lo + 1)); }
    // An integer argument: extremes, their neighbours, or a small value near the sizes in use.
    int32_t arg() {
        uint8_t k = byte();
        switch (k % 16) {
            case 0:
                return INT_MIN;
            case 1:
                return INT_MAX;
            case 2:
                return -1;
            case 3:
                return 0;
            case 4:
                return INT_MIN + 1;
            case 5:
                return INT_MAX - 1;
            default:
                return small(-2, 70);
        }
    }
    int32_t alloc_arg() {
        int32_t v = arg();
        return v > kMaxAlloc ? kMaxAlloc : v;
    }
    double real() {
        static const double pool[] = {0.0, -1.0, 1e35, -1e35, 1e300, -0.0, 3.25, 1e-300};
        uint8_t k = byte();
        if (k < 200) return pool[k % 8];
        return __builtin_nan("");
    }

  private:
    const uint8_t *p_;
    const uint8_t *end_;
};

}  // namespace zarn::fuzz::apiseq

#include "apiseq_values.h"
#include "apiseq_model.h"

namespace zarn::fuzz::apiseq {

inline const char *long_text(char fill, std::size_t n) {
    static std::string cache[2];
    std::string &s = cache[fill == 'L' ? 0 : 1];
    if (s.size() != n) s.assign(n, fill);
    return s.c_str();
}

inline const char *name_from(Bytes &in, std::string &scratch) {
    switch (in.byte() % 12) {
        case 0:
            return "A";
        case 1:
            return "B.C";
        case 2:
            return "A(1).B";
        case 3:
            return "$X";
        case 4:
            return "x1";
        case 5:
            return "";
        case 6:
            return nullptr;
        case 7:
            return long_text('L', 1100);
        case 8:
            return "Z 9";
        case 9:
            return "SUB.A";
        case 10:
            return "Q:R";
        default: {
            scratch.clear();
            int n = in.small(1, 6);
            for (int i = 0; i < n; ++i) scratch.push_back(static_cast<char>(in.byte() % 96 + 32));
            return scratch.c_str();
        }
    }
}

inline const char *prefix_from(Bytes &in) {
    static std::string longp = std::string(1020, 'P') + ".";
    switch (in.byte() % 7) {
        case 0:
            return nullptr;
        case 1:
            return "";
        case 2:
            return "SUB.";
        case 3:
            return "P.";
        case 4:
            return "Q:";
        case 5:
            return longp.c_str();
        default:
            return "low.";
    }
}

inline const char *attr_from(Bytes &in, bool list) {
    static const char *plain[] = {"D",  "I",  "S",  "N2", "P",    "B",    "W", "SD",   "SI",
                                  "SS", "SN", "SP", "SB", "NAME", "NOPE", "",  nullptr};
    static const char *var[] = {"VALUE",      "STATUS",     "LOWER", "BASEUOM", "NAME",    "DESCRIPTION",
                                "COMWRAPPER", "PROFILE",    "NOPE",  "",        nullptr,   "D",
                                "QUALITY",    "CONN_GROUP", "INIT",  "UOM",     "BLOCKPTR"};
    return list ? var[in.byte() % 17] : plain[in.byte() % 17];
}

struct Node {
    rtattrdict_t *d = nullptr;
    rtvarlst_t *list = nullptr;  // set for a variable list (head or window)
    int parent = -1;
    int depth = 0;
    bool alive = false;
};

class Program {
  public:
    Program(const uint8_t *data, std::size_t size) : in_(data, size) {}

    void run() {
        for (int step = 0; step < kMaxSteps && !in_.empty(); ++step) {
            snapshot();
            one_step();
            check();
        }
        teardown();
    }

  private:
    Bytes in_;
    ValueSteps values_{in_};  // values, parameters, hash tables and numerical routines
    ModelSteps model_{in_};   // assignment, records, masks, filters, VARFILE and X-file on a list
    Node nodes_[kMaxNodes];
    std::vector<int32_t> before_;
    bool broken_ = false;      // a caller-made state in which windows may lie outside their parents
    bool aggregated_ = false;  // wrapper hand-over on aggregation is not settled

    rtattrdict_t *dict(int n) { return nodes_[n].list != nullptr ? nodes_[n].list->dictionary : nodes_[n].d; }

    int live_count() const {
        int c = 0;
        for (const Node &n : nodes_) c += n.alive;
        return c;
    }
    // Whether the node's head is a variable list (its columns are the list's).
    bool listy(int n) const {
        while (nodes_[n].parent >= 0) n = nodes_[n].parent;
        return nodes_[n].list != nullptr;
    }
    bool has_children(int n) const {
        for (const Node &m : nodes_)
            if (m.alive && m.parent == n) return true;
        return false;
    }
    int free_slot() const {
        for (int i = 0; i < kMaxNodes; ++i)
            if (!nodes_[i].alive) return i;
        return -1;
    }
    // A live node, optionally only lists or only plain dictionaries; -1 if none.
    int pick(int want_list = -1) {
        int choice = in_.byte();
        int candidates[kMaxNodes], c = 0;
        for (int i = 0; i < kMaxNodes; ++i)
            if (nodes_[i].alive && (want_list < 0 || (nodes_[i].list != nullptr) == (want_list == 1)))
                candidates[c++] = i;
        return c == 0 ? -1 : candidates[choice % c];
    }
    int add(rtattrdict_t *d, rtvarlst_t *list, int parent) {
        int slot = free_slot();
        Node &n = nodes_[slot];
        n = Node{};
        n.d = d;
        n.list = list;
        n.parent = parent;
        n.depth = parent < 0 ? 0 : nodes_[parent].depth + 1;
        n.alive = true;
        return slot;
    }

    // Whether translating v through the node's windows up to its head leaves int.
    // Capacity of the head above node n: a window's range is checked only
    // there, so no longer range can be valid and a caller's names need cover no more.
    int32_t head_capacity(int n) {
        int32_t cap = 0;
        for (int m = n; m >= 0; m = nodes_[m].parent) cap = dict(m)->capacity;
        return cap;
    }

    bool shift_wide(int n, int64_t v) {
        for (int m = n; nodes_[m].parent >= 0; m = nodes_[m].parent) {
            int64_t s = reinterpret_cast<rtattrdict_embedded_t *>(dict(m))->start;
            if (outside_int(v + s)) return true;
            v += s - 1;
        }
        return false;
    }

    void snapshot() {
        before_.assign(kMaxNodes, -1);
        for (int i = 0; i < kMaxNodes; ++i)
            if (nodes_[i].alive) before_[i] = dict(i)->size;
    }

    void check() {
        bool shrank_under_window = false;
        for (int i = 0; i < kMaxNodes; ++i) {
            if (!nodes_[i].alive) continue;
            rtattrdict_t *d = dict(i);
            ZARN_FUZZ_CHECK(d != nullptr);
            ZARN_FUZZ_CHECK(d->size >= 0 && d->size <= d->capacity);
            if (before_[i] >= 0 && d->size < before_[i] && has_children(i)) shrank_under_window = true;
        }
        if (shrank_under_window) broken_ = true;
        bool all_okay = true;
        for (int i = 0; i < kMaxNodes; ++i)
            if (nodes_[i].alive && !rtattrdict_okay(dict(i))) all_okay = false;
        if (!broken_) {
            ZARN_FUZZ_CHECK(all_okay);
        }
        broken_ = !all_okay;
        if (broken_) return;
        // Name index against NAME cells: an index hit must be an element that carries the name.
        for (int i = 0; i < kMaxNodes; ++i) {
            if (!nodes_[i].alive || nodes_[i].parent >= 0) continue;
            rtattrdict_t *d = dict(i);
            int32_t n = d->size < 24 ? d->size : 24;
            for (int32_t k = 1; k <= n; ++k) {
                const char *nm = rtattrdict_name(d, k);
                ZARN_FUZZ_CHECK(nm != nullptr);
                if (nm == nullptr || *nm == '\0') continue;
                int32_t j = rtattrdict_index(d, nm);
                ZARN_FUZZ_CHECK(j >= 0 && j <= d->size);
                if (j != 0) {
                    ZARN_FUZZ_CHECK(std::strcmp(rtattrdict_name(d, j), nm) == 0);
                }
            }
        }
    }

    // Reads every cell a vector promises (the sanitizers see an overrun).
    void touch_vectors(int n) {
        rtattrdict_t *d = dict(n);
        volatile double sink = 0;
        if (nodes_[n].list != nullptr) {
            if (double *v = rtovarlst_vec_value(nodes_[n].list))
                for (int32_t k = 0; k < d->size; ++k) sink = sink + v[k];
            if (int64_t *v = rtovarlst_vec_status(nodes_[n].list))
                for (int32_t k = 0; k < d->size; ++k) sink = sink + static_cast<double>(v[k]);
            return;
        }
        if (const double *v = rtattrdict_dvector_ro(d, "D"))
            for (int32_t k = 0; k < d->size; ++k) sink = sink + v[k];
        if (const int64_t *v = rtattrdict_ivector_ro(d, "I"))
            for (int32_t k = 0; k < d->size; ++k) sink = sink + static_cast<double>(v[k]);
        if (const unsigned char *v = rtattrdict_bvector_ro(d, "B"))
            for (int32_t k = 0; k < d->size; ++k) sink = sink + v[k];
        if (const char *const *v = rtattrdict_svector_ro(d, "NAME"))
            for (int32_t k = 0; k < d->size; ++k) sink = sink + (v[k] != nullptr ? std::strlen(v[k]) : 0);
        if (void *const *v = rtattrdict_vvector_ro(d, "P"))
            for (int32_t k = 0; k < d->size; ++k) sink = sink + (v[k] != nullptr);
    }

    void names_op(int n, bool group) {
        rtattrdict_t *d = dict(n);
        int32_t start = in_.arg(), count = in_.arg();
        if (shift_wide(n, start) && skipping("window_shift")) return;
        // The caller's array holds count names whenever count could be a valid range.
        const int32_t top = head_capacity(n) + 1;
        std::size_t len = count > 0 ? static_cast<std::size_t>(count < top ? count : top) : 0;
        std::string scratch;
        if (!group) {
            std::vector<std::string> keep(len);
            std::vector<const char *> names(len + 1, nullptr);
            for (std::size_t k = 0; k < len; ++k) {
                const char *nm = name_from(in_, scratch);
                if (nm != nullptr) {
                    keep[k] = nm;
                    names[k] = keep[k].c_str();
                }
            }
            rtattrdict_add_items(d, start, count, names.data());
        } else {
            static const int32_t widths[] = {INT_MIN, -1, 0, 1, 3, 8, 17, 40};
            int32_t width = widths[in_.byte() % 8];
            std::size_t w = width > 0 ? static_cast<std::size_t>(width) : 0;
            std::string block(len * w + 1, ' ');
            for (std::size_t k = 0; k < len && w > 0; ++k) {
                const char *nm = name_from(in_, scratch);
                if (nm != nullptr)
                    block.replace(k * w, std::min(w, std::strlen(nm)), nm, std::min(w, std::strlen(nm)));
            }
            rtattrdict_add_group(d, start, count, width, block.c_str());
        }
    }

    void set_op(int n) {
        rtattrdict_t *d = dict(n);
        int32_t i = in_.arg();
        const char *a = attr_from(in_, listy(n));
        std::string scratch;
        switch (in_.byte() % 8) {
            case 0:
                rtattrdict_setd(d, i, a, in_.real());
                break;
            case 1:
                rtattrdict_seti(d, i, a,
                                static_cast<int64_t>(in_.arg()) * (in_.byte() & 1 ? 1 : 4294967296LL));
                break;
            case 2:
                rtattrdict_setb(d, i, a, in_.arg());
                break;
            case 3:
                rtattrdict_sets(d, i, a, name_from(in_, scratch));
                break;
            case 4:
                if (!listy(n)) rtattrdict_setv(d, i, a, in_.byte() & 1 ? nullptr : &nodes_[0]);
                break;
            case 5: {
                uint8_t k = in_.byte() % 4;
                rtattrdict_setwrapper(d, i, a, k == 3 ? nullptr : &wrappers()[k]);
                break;
            }
            case 6: {
                volatile int modified = rtattrdict_setd_return_modified(d, i, a, in_.real()) +
                                        rtattrdict_seti_return_modified(d, i, a, in_.arg()) +
                                        rtattrdict_setb_return_modified(d, i, a, in_.arg()) +
                                        (listy(n) ? 0 : rtattrdict_setv_return_modified(d, i, a, nullptr));
                (void)modified;
                break;
            }
            default: {
                volatile double sink =
                    rtattrdict_getd(d, i, a) + rtattrdict_geti(d, i, a) + rtattrdict_getb(d, i, a);
                const char *s = rtattrdict_gets(d, i, a);
                if (s != nullptr) sink = sink + std::strlen(s);
                (void)rtattrdict_getv(d, i, a);
                (void)rtattrdict_getwrapper(d, i, a);
                (void)sink;
            }
        }
    }

    void lookup_op(int n) {
        rtattrdict_t *d = dict(n);
        std::string scratch;
        volatile std::size_t sink = 0;
        int32_t i = in_.arg();
        switch (in_.byte() % 7) {
            case 0:
                sink = rtattrdict_index(d, name_from(in_, scratch));
                break;
            case 1: {
                const char *nm = rtattrdict_name(d, i);
                if (nm != nullptr) sink = std::strlen(nm);
                break;
            }
            case 2:
                if (shift_wide(n, i) && skipping("window_shift")) break;
                sink =
                    static_cast<std::size_t>(rtattrdict_safe_index(d, i)) ^ rtattrdict_absolute_index(d, i);
                break;
            case 3:
                if (!broken_) {
                    zarn_md5_ctx_t ctx;
                    MD5Init(&ctx);
                    ZARN_FUZZ_CHECK(rtattrdict_checksum(d, &ctx) == d->size);
                    MD5Final(&ctx);
                }
                break;
            case 4: {
                const char *p = rtattrdict_prefix(d);
                ZARN_FUZZ_CHECK(p != nullptr);
                ZARN_FUZZ_CHECK((rtattrdict_embedded(d) == nullptr) == (nodes_[n].parent < 0));
                break;
            }
            case 5:
                ZARN_FUZZ_CHECK(rtattrdict_inq_num(d) == d->size &&
                                rtattrdict_inq_capacity(d) == d->capacity);
                if (in_.byte() % 8 == 0) rtattrdict_print_stats(d);
                break;
            default:
                if (!broken_) touch_vectors(n);
        }
        (void)sink;
    }

    void list_op(int n) {
        rtvarlst_t *l = nodes_[n].list;
        std::string scratch;
        int32_t i = in_.arg();
        switch (in_.byte() % 20) {
            case 16:
                status_op(l, i);
                break;
            case 17:
                unit_op(l, i);
                break;
            case 0:
                if (shift_wide(n, i) && skipping("window_shift")) break;
                rtovarlst_addvar(l, i, name_from(in_, scratch));
                break;
            case 1: {
                static const int32_t widths[] = {INT_MIN, -1, 0, 1, 4, 9};
                int32_t last = in_.arg(), width = widths[in_.byte() % 6];
                int64_t span = static_cast<int64_t>(last) - i + 1;
                const int32_t cap = head_capacity(n);
                std::size_t items = span > 0 && span <= cap ? static_cast<std::size_t>(span) : 0;
                std::string block(items * (width > 0 ? width : 0) + 1, 'N');
                if (in_.byte() & 1) {
                    if (outside_int(span) && skipping("addvars")) break;
                    if (shift_wide(n, i) && skipping("window_shift")) break;
                    rtovarlst_addvars(l, i, last, width, block.c_str());
                } else {
                    rtovarlst_names(l, i, last, width, block.data());
                }
                break;
            }
            case 2:
                rtovarlst_set_var_value(l, i, in_.real(), in_.byte() & 1);
                break;
            case 3:
                rtovarlst_set_var_status(
                    l, i,
                    static_cast<int64_t>(static_cast<uint64_t>(static_cast<int64_t>(in_.arg()))
                                         << (in_.byte() % 40)));
                break;
            case 4:
                rtovarlst_set_var_baseuom(l, i, in_.arg());
                break;
            case 5:
                rtovarlst_set_var_lower(l, i, in_.real(), in_.byte() & 1);
                break;
            case 6: {
                volatile double sink = rtovarlst_inq_var_value(l, i, in_.byte() & 1) +
                                       rtovarlst_inq_var_slvscl(l, i, 1) + rtovarlst_inq_var_status(l, i);
                (void)sink;
                break;
            }
            case 7: {
                char buffer[1025];
                rtovarlst_inq_var_name(l, i, buffer);
                ZARN_FUZZ_CHECK(std::memchr(buffer, '\0', sizeof buffer) != nullptr);
                const char *nm = rtovarlst_lookup_var_name(l, i);
                if (nm != nullptr && *nm != '\0') {
                    int32_t j = rtovarlst__varname2index(l, nm);
                    ZARN_FUZZ_CHECK(j >= 0 && j <= dict(n)->size);
                }
                (void)rtovarlst_variable_object(l, name_from(in_, scratch));
                break;
            }
            case 8:
                rtovarlst_removevars(l, i, in_.arg());
                break;
            case 9: {
                rtvarlst_t *out = nullptr;
                rtovarlst_extract(l, i, in_.arg(), &out);
                if (out != nullptr) {
                    ZARN_FUZZ_CHECK(rtattrdict_okay(out->dictionary));
                    if (free_slot() >= 0)
                        add(nullptr, out, -1);
                    else
                        rtovarlst_destroy_c(&out);
                }
                break;
            }
            case 10: {
                int other = pick(1);
                rtovarlst_copy_var(l, i, nodes_[other].list, in_.arg());
                break;
            }
            case 11: {
                int other = pick(1);
                (void)rtovarlst_names_eq(l, i, in_.arg(), nodes_[other].list, in_.arg(), in_.arg());
                break;
            }
            case 12:
                if (in_.byte() & 1)
                    rtovarlst_presolve(l);
                else
                    rtovarlst_copyinittovalue(l);
                break;
            case 13: {
                zarn_md5_ctx_t ctx;
                MD5Init(&ctx);
                if (!broken_) (void)rtovarlst_compute_md(l, &ctx);
                MD5Final(&ctx);
                if (shift_wide(n, i) && skipping("window_shift")) break;
                (void)rtovarlst_super_index(l, i);
                (void)rtovarlst_absolute_index(l, i);
                break;
            }
            case 14: {
                char buffer[32];
                rtovarlst_set_var_modified_mask(l, i, in_.arg());
                rtovarlst_set_var_modified_string(l, i, in_.byte() & 1 ? "3;-4" : "x");
                std::memset(buffer, 0, sizeof buffer);
                rtovarlst_inq_var_modified_string(l, i, buffer);
                ZARN_FUZZ_CHECK(buffer[sizeof buffer - 1] == '\0');
                break;
            }
            default: {
                const char *text = name_from(in_, scratch);
                rtovarlst_set_var_description(l, i, text);
                const char *back = rtovarlst_inq_var_description(l, i);
                if (back != nullptr) (void)std::strlen(back);
                rtovarlst_set_var_comWrapper(l, i, in_.byte() & 1 ? nullptr : &wrappers()[in_.byte() % 3]);
            }
        }
    }

    // Status word, type and spec helpers with extreme codes and partner offsets.
    void status_op(rtvarlst_t *l, int32_t i) {
        int32_t a = in_.arg(), b = in_.arg();
        int32_t related = 0, s1 = 0, s2 = 0, s3 = 0, iv = 0;
        volatile int64_t sink = 0;
        switch (in_.byte() % 12) {
            case 0:
                rtovarlst_set_spec(l, i, a);
                rtovarlst_set_spec_value(l, i, b);
                break;
            case 1:
                rtovarlst_fix_var(l, i);
                rtovarlst_free_var(l, i);
                rtovarlst_var_independent(l, i);
                break;
            case 2:
                rtovarlst_var_fix_initially(l, i);
                rtovarlst_set_physical_type(l, i, a);
                break;
            case 3:
                rtovarlst_set_var_type(l, i, a, b);
                break;
            case 4:
                rtovarlst_set_var_as_state(l, i, a);
                rtovarlst_set_var_as_differential(l, i, b);
                break;
            case 5:
                rtovarlst_set_var_related(l, i, a);
                rtovarlst_set_var_marked(l, i, b);
                break;
            case 6:
                rtovarlst_set_var_quality(l, i, a);
                rtovarlst_set_var_conn_type(l, i, b);
                break;
            case 7:
                rtovarlst_set_var_ramped(l, i, a);
                rtovarlst_set_var_param_homo(l, i, b);
                break;
            case 8:
                rtovarlst_set_var_active_bound(l, i, a);
                rtovarlst_set_var_basic(l, i, b);
                break;
            case 9:
                sink = rtovarlst_inq_var_type(l, i, &related) + related + rtovarlst_inq_num_var_type(l, a) +
                       rtovarlst_inq_spec(l, i) + rtovarlst_inq_physical_type(l, i) +
                       rtovarlst_inq_var_state(l, i);
                rtovarlst_inq_num_var_type_state_diff_other(l, &s1, &s2, &s3);
                break;
            case 10:
                rtovarlst_set_var_as_binary(l, i, in_.real(), 1);
                sink = rtovarlst_inq_var_binary(l, i, &iv, 1);
                break;
            default:
                rtovarlst_set_var_as_semi_continuous(l, i, in_.real(), in_.real(), in_.real(), in_.real(),
                                                     b & 1);
        }
        (void)sink;
    }

    // Reals through the unit conversion with extreme base and display units.
    void unit_op(rtvarlst_t *l, int32_t i) {
        rtovarlst_set_var_baseuom(l, i, in_.arg());
        rtovarlst_set_var_uom(l, i, in_.arg());
        int si = in_.byte() & 1;
        volatile double sink = 0;
        switch (in_.byte() % 6) {
            case 0:
                rtovarlst_set_var_initial(l, i, in_.real(), si);
                sink = rtovarlst_inq_var_initial(l, i, si);
                break;
            case 1:
                rtovarlst_set_var_upper(l, i, in_.real(), si);
                sink = rtovarlst_inq_var_upper(l, i, si);
                break;
            case 2:
                rtovarlst_set_var_slvscl(l, i, in_.real(), si);
                sink = rtovarlst_inq_var_slvscl(l, i, si);
                break;
            case 3:
                rtovarlst_set_var_step(l, i, in_.real());
                sink = rtovarlst_inq_var_step(l, i);
                break;
            case 4:
                rtovarlst_set_var_threshold(l, i, in_.real(), si);
                sink = rtovarlst_inq_var_threshold(l, i, si);
                break;
            default:
                rtovarlst_set_var_target_homo(l, i, in_.real(), si);
                rtovarlst_set_var_shadow_price(l, i, in_.real(), si);
                sink = rtovarlst_inq_var_target_homo(l, i, si) + rtovarlst_inq_var_shadow_price(l, i, si);
        }
        (void)sink;
    }

    void destroy(int n) {
        Node &node = nodes_[n];
        if (node.list != nullptr) {
            if (node.parent >= 0 && (in_.byte() & 1))
                rtovarlst_delete_sublist(&node.list);
            else
                rtovarlst_destroy_c(&node.list);
            ZARN_FUZZ_CHECK(node.list == nullptr);
        } else {
            rtattrdict_destroy(node.d);
        }
        node.alive = false;
    }

    void one_step() {
        uint8_t op = in_.byte() % 32;
        if (op >= 24 && op < 28) return values_.step();
        if (op >= 28) {
            int n = pick(1);
            if (n >= 0 && !broken_) model_.step(nodes_[n].list);
            return;
        }
        int n = -1;
        if (op >= 3) {
            n = pick();
            if (n < 0) op = in_.byte() & 1;  // nothing alive: make something
        }
        switch (op) {
            case 0:
            case 1: {  // a head: plain dictionary or variable list
                if (free_slot() < 0) return;
                int32_t cap = in_.alloc_arg();
                if (op == 0) {
                    rtattrdict_t *d = rtattrdict_create(cap, table(), in_.byte() & 1);
                    if (d != nullptr) add(d, nullptr, -1);
                } else {
                    rtvarlst_t *l = rtovarlst_create(cap);
                    if (l != nullptr) add(nullptr, l, -1);
                }
                return;
            }
            case 2:
            case 3: {  // a window; on a list: embedded list or sublist
                int p = op == 2 ? pick() : n;
                if (p < 0 || free_slot() < 0 || nodes_[p].depth >= kMaxDepth) return;
                int32_t start = in_.arg(), cap = in_.arg();
                const char *prefix = prefix_from(in_);
                bool wide = outside_int(static_cast<int64_t>(start) + cap);
                if (nodes_[p].list != nullptr) {
                    rtvarlst_t *l = nullptr;
                    if (in_.byte() & 1) {
                        if (wide && skipping("create_embedded")) return;
                        l = rtovarlst_create_embedded(cap, nodes_[p].list, prefix, start);
                    } else {
                        if (outside_int(static_cast<int64_t>(dict(p)->size) - start + 1) &&
                            skipping("create_sublist"))
                            return;
                        l = rtovarlst_create_sublist(nodes_[p].list, start);
                    }
                    if (l != nullptr) add(nullptr, l, p);
                } else {
                    if (wide && skipping("create_embedded")) return;
                    rtattrdict_t *d = rtattrdict_create_embedded(dict(p), start, cap, prefix, in_.byte() & 1);
                    if (d != nullptr) add(d, nullptr, p);
                }
                return;
            }
            case 4: {  // aggregate one plain head into another
                int h = pick(0), o = pick(0);
                if (h < 0 || o < 0 || h == o || nodes_[h].parent >= 0 || nodes_[o].parent >= 0) return;
                if (free_slot() < 0) return;
                int32_t start = in_.arg();
                if (outside_int(static_cast<int64_t>(start) + dict(o)->size) && skipping("create_embedded"))
                    return;
                rtattrdict_t *w = rtattrdict_aggregate(dict(h), dict(o), start, prefix_from(in_));
                if (w == nullptr) return;
                aggregated_ = true;
                nodes_[o].alive = false;
                int slot = add(w, nullptr, h);
                for (int i = 0; i < kMaxNodes; ++i)
                    if (nodes_[i].alive && nodes_[i].parent == o) nodes_[i].parent = slot;
                for (int i = 0; i < kMaxNodes; ++i)  // depths below the new window
                    if (nodes_[i].alive) {
                        int dd = 0;
                        for (int m = nodes_[i].parent; m >= 0; m = nodes_[m].parent) ++dd;
                        nodes_[i].depth = dd;
                    }
                return;
            }
            case 5:  // destroy a leaf
                if (!has_children(n)) destroy(n);
                return;
            // A list owns per-item records in its columns: its items are dropped,
            // moved and emptied through the list, never through its dictionary.
            case 6:
                if (nodes_[n].list != nullptr)
                    rtovarlst_set_nvar(nodes_[n].list, 0);
                else
                    rtattrdict_empty_all(dict(n));
                return;
            case 7: {
                bool list = nodes_[n].list != nullptr;
                int32_t size = in_.arg();
                if (shift_wide(n, size) && skipping("window_shift")) return;
                if (list)
                    rtovarlst_set_nvar(nodes_[n].list, size);
                else
                    rtattrdict_resize(dict(n), size);
                return;
            }
            case 8:
                if (nodes_[n].list != nullptr)
                    rtovarlst_resize(nodes_[n].list, in_.alloc_arg());
                else
                    rtattrdict_change_capacity(dict(n), in_.alloc_arg());
                return;
            case 9: {
                bool list = nodes_[n].list != nullptr;
                int32_t start = in_.arg();
                if (outside_int(static_cast<int64_t>(start) + dict(n)->capacity) && skipping("window_shift"))
                    return;
                if (list)
                    rtovarlst_relocate(nodes_[n].list, start);
                else
                    rtattrdict_relocate(dict(n), start);
                return;
            }
            case 10: {
                int32_t s = in_.arg(), t = in_.arg(), c = in_.arg();
                // The library forms source + count before subtracting one.
                bool wide =
                    outside_int(static_cast<int64_t>(s) + c) || outside_int(static_cast<int64_t>(t) + c);
                if (nodes_[n].list != nullptr) {
                    if (wide && skipping("list_move")) return;
                    rtovarlst_move_items(nodes_[n].list, s, t, c);
                } else {
                    if (wide && skipping("dict_move")) return;
                    rtattrdict_move_items(dict(n), s, t, c);
                }
                return;
            }
            case 11:
                names_op(n, false);
                return;
            case 12:
                names_op(n, true);
                return;
            case 13: {
                int32_t s = in_.arg(), c = in_.arg();
                if (nodes_[n].list == nullptr)
                    rtattrdict_remove_items(dict(n), s, c);
                else if (!outside_int(static_cast<int64_t>(s) + c - 1))
                    rtovarlst_removevars(nodes_[n].list, s,
                                         static_cast<int32_t>(static_cast<int64_t>(s) + c - 1));
                return;
            }
            case 14: {
                int32_t s = in_.arg(), c = in_.arg();
                if (nodes_[n].list == nullptr) rtattrdict_delete_items(dict(n), s, c);
                return;
            }
            case 15:
            case 16:
            case 17:
                set_op(n);
                return;
            case 18:
            case 19:
                lookup_op(n);
                return;
            default:
                if (nodes_[n].list != nullptr)
                    list_op(n);
                else
                    set_op(n);
        }
    }

    void teardown() {
        for (bool any = true; any;) {
            any = false;
            for (int i = 0; i < kMaxNodes; ++i)
                if (nodes_[i].alive && !has_children(i)) {
                    destroy(i);
                    any = true;
                }
        }
        for (int k = 0; k < 3; ++k) {
            if (!aggregated_) {
                ZARN_FUZZ_CHECK(wrappers()[k].refs == 1);
            }
            wrappers()[k].refs = 1;
        }
    }
};

// Library messages go to the null pipe: the fuzzer checks states, not texts.
inline void quiet() {
    static bool done = false;
    if (!done) {
        rtHisDev = nowherePipe;
        done = true;
    }
}

inline void one_input(const uint8_t *data, std::size_t size) { Program(data, size).run(); }

}  // namespace zarn::fuzz::apiseq

#endif
