// Sparse Jacobians and Hessians driven step by step against a model of what
// the headers promise: every head's arrays (numbers, values, linear flags) up
// to its capacity, every window's counts and offsets. Part of the jacseq fuzz
// target (jacseq_one_input.h).
#ifndef ZARN_FUZZ_JACSEQ_COORD_H
#define ZARN_FUZZ_JACSEQ_COORD_H

#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#include "zarnutils/hsregexp.h"
#include "zarnutils/rteqnlst.h"
#include "zarnutils/rthessbn.h"
#include "zarnutils/rtjacbn.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/zarnmalloc.h"

namespace zarn::fuzz::jacseq {

using apiseq::Bytes;

// A table of nodes (heads and their windows) as the steps drive it: a live
// node picked by the next byte (-1 when none), a free place (-1 when full),
// and whether a node has live windows.
template <class N, int K>
int pick_alive(Bytes &in, const N (&nodes)[K]) {
    int choice = in.byte(), c = 0, cand[K];
    for (int i = 0; i < K; ++i)
        if (nodes[i].alive) cand[c++] = i;
    return c == 0 ? -1 : cand[choice % c];
}
template <class N, int K>
int free_place(const N (&nodes)[K]) {
    for (int i = 0; i < K; ++i)
        if (!nodes[i].alive) return i;
    return -1;
}
template <class N, int K>
bool has_windows(const N (&nodes)[K], int n) {
    for (const N &m : nodes)
        if (m.alive && m.parent == n) return true;
    return false;
}
using apiseq::kMaxAlloc;

constexpr int kMaxStores = 8;
constexpr int kMaxStoreDepth = 3;

inline int64_t wrapped_sum(int64_t a, int64_t b) {
    return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b));
}

inline bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The Jacobian's entry points; axis 0 is the equation number, 1 the variable number.
struct JacKind {
    using Base = rt_jac_t;
    using Head = rt_jac_head_t;
    using Emb = rt_jac_embedded_t;
    using Record = rt_jac_nz;
    static constexpr int kAxes = 2;
    static constexpr bool kLinear = true;

    static int64_t *numbers(Head *h, int a) { return a == 0 ? h->irn : h->icn; }
    static uint32_t offset(const Emb *e, int a) { return a == 0 ? e->eqnOffset : e->varOffset; }
    static Base *create(int32_t c) { return rtojac_create(c); }
    static Base *create_embedded(int32_t c, Base *p, const int32_t (&first)[kAxes], int32_t z) {
        return rtojac_create_embedded(c, p, first[1], first[0], z);
    }
    static void destroy(Base **j) { rtojac_destroy(j); }
    static Base *parent(Base *j) {
        static Base sentinel{};
        Base *p = &sentinel;  // the call overwrites it
        rtojac_parent(j, &p);
        return p;
    }
    static int32_t parent_check(Base *p, Base *j) { return rtojac_parent_check(p, j); }
    static void set_nnz(Base *j, int32_t n) { rtojac_set_nnz(j, n); }
    static int32_t inq_nnz(Base *j) { return rtojac_inq_nnz(j); }
    static void resize(Base *j, int32_t c) { rtojac_resize(j, c); }
    static int32_t inq_capacity(Base *j) { return rtojac_inq_capacity(j); }
    static int32_t size(Base *j) { return rtojac_size(j); }
    static int32_t capacity(Base *j) { return rtojac_capacity(j); }
    static void set_number(Base *j, int a, int32_t k, int32_t v) {
        if (a == 0)
            rtojac_set_nz_eqnnum(j, k, v);
        else
            rtojac_set_nz_varnum(j, k, v);
    }
    static int32_t inq_number(Base *j, int a, int32_t k) {
        return a == 0 ? rtojac_inq_nz_eqnnum(j, k) : rtojac_inq_nz_varnum(j, k);
    }
    static void set_coord(Base *j, int32_t k, const int32_t (&v)[kAxes]) {
        rtojac_set_nz_coord(j, k, v[0], v[1]);
    }
    static void set_value(Base *j, int32_t k, double v) { rtojac_set_nz_value(j, k, v); }
    static double inq_value(Base *j, int32_t k) {
        double v = -7.0;
        rtojac_inq_nz_value(j, k, &v);
        return v;
    }
    static void set_axis(Base *j, int a, const int64_t *local) {
        if (a == 0)
            rtojac_set_rows(j, local);
        else
            rtojac_set_columns(j, local);
    }
    static int64_t *numbers_ptr(Base *j, int a) { return a == 0 ? rtojac_rowptr(j) : rtojac_colptr(j); }
    static double *values_ptr(Base *j) { return rtojac_vec_bj(j); }
    static int64_t total_offset(Base *j, int a) { return a == 0 ? rtojac_rowoffset(j) : rtojac_coloffset(j); }
    static void move(Base *j, int32_t s, int32_t d, int32_t c) { rtojac_move_items(j, s, d, c); }
    static void relocate(Base *j, int32_t z, int32_t dv, int32_t de) { rtojac_relocate(j, z, dv, de); }
    static void renumber(Base *j, int32_t f, int32_t l, int32_t vt, int32_t dv, int32_t et, int32_t de) {
        rtojac_renumber(j, f, l, vt, dv, et, de);
    }
    static void renumber_in_range(Base *j, int32_t f, int32_t l, int32_t lo, int32_t hi, int32_t by) {
        rtojac_renumber_vars_in_range(j, f, l, lo, hi, by);
    }
    static void inq_nz(rtvarlst_t *v, rtattrdict_t *e, Base *j, int32_t k, Record *r) {
        rtojac_inq_nz(v, e, j, k, r);
    }
    static int32_t match_var(Base *j, rtvarlst_t *v, int32_t start) {
        return rtojac_match_var_regexp(j, v, start);
    }
    static int32_t match_eqn(Base *j, rtattrdict_t *e, int32_t start) {
        return rtojac_match_eqn_regexp(j, e, start);
    }
    static constexpr unsigned char kNameBits = RT_JAC_NZ_EQNNAME | RT_JAC_NZ_VARNAME;
    // Whether a variable of the record has number v, or name t.
    static bool has_var(const Record &r, int32_t v) { return r.varnum == v; }
    static bool has_var_name(const Record &r, const char *t) { return std::strcmp(r.varname, t) == 0; }
    static int filter_var_index(const Record *r, int32_t v) { return rtojac_filter_var_match_index(r, v); }
    static int filter_eqn_index(const Record *r, int32_t e) { return rtojac_filter_eqn_match_index(r, e); }
    static int filter_var_name(const Record *r, const char *t) { return rtojac_filter_var_match_name(r, t); }
    static int filter_eqn_name(const Record *r, const char *t) { return rtojac_filter_eqn_match_name(r, t); }
    static int filter_always(const Record *r) { return rtojac_filter_always_true(r, r); }
    static int filter_var_regexp(const Record *r, hs_regexp *p) {
        return rtojac_filter_var_match_regexp(r, p);
    }
    static int filter_eqn_regexp(const Record *r, hs_regexp *p) {
        return rtojac_filter_eqn_match_regexp(r, p);
    }
    static bool var_regexp(const Record &r, hs_regexp *p) { return hs_regexec(p, r.varname) != 0; }
};

// The Hessian's; axis 2 is the second variable number.
struct HessKind {
    using Base = rt_hess_t;
    using Head = rt_hess_head_t;
    using Emb = rt_hess_embedded_t;
    using Record = rt_hess_nz;
    static constexpr int kAxes = 3;
    static constexpr bool kLinear = false;

    static int64_t *numbers(Head *h, int a) { return a == 0 ? h->irn : (a == 1 ? h->icn : h->icn2); }
    static uint32_t offset(const Emb *e, int a) {
        return a == 0 ? e->eqnOffset : (a == 1 ? e->varOffset : e->var2Offset);
    }
    static Base *create(int32_t c) { return rtohess_create(c); }
    static Base *create_embedded(int32_t c, Base *p, const int32_t (&first)[kAxes], int32_t z) {
        return rtohess_create_embedded(c, p, first[1], first[2], first[0], z);
    }
    static void destroy(Base **j) { rtohess_destroy(j); }
    static Base *parent(Base *j) {
        static Base sentinel{};
        Base *p = &sentinel;
        rtohess_parent(j, &p);
        return p;
    }
    static int32_t parent_check(Base *p, Base *j) { return rtohess_parent_check(p, j); }
    static void set_nnz(Base *j, int32_t n) { rtohess_set_nnz(j, n); }
    static int32_t inq_nnz(Base *j) { return rtohess_inq_nnz(j); }
    static void resize(Base *j, int32_t c) { rtohess_resize(j, c); }
    static int32_t inq_capacity(Base *j) { return rtohess_inq_capacity(j); }
    static int32_t size(Base *j) { return rtohess_size(j); }
    static int32_t capacity(Base *j) { return rtohess_capacity(j); }
    static void set_number(Base *j, int a, int32_t k, int32_t v) {
        if (a == 0)
            rtohess_set_nz_eqnnum(j, k, v);
        else if (a == 1)
            rtohess_set_nz_varnum(j, k, v);
        else
            rtohess_set_nz_varnum2(j, k, v);
    }
    static int32_t inq_number(Base *j, int a, int32_t k) {
        return a == 0 ? rtohess_inq_nz_eqnnum(j, k)
                      : (a == 1 ? rtohess_inq_nz_varnum(j, k) : rtohess_inq_nz_varnum2(j, k));
    }
    static void set_coord(Base *j, int32_t k, const int32_t (&v)[kAxes]) {
        rtohess_set_nz_coord(j, k, v[0], v[1], v[2]);
    }
    static void set_value(Base *j, int32_t k, double v) { rtohess_set_nz_value(j, k, v); }
    static double inq_value(Base *j, int32_t k) {
        double v = -7.0;
        rtohess_inq_nz_value(j, k, &v);
        return v;
    }
    static void set_axis(Base *j, int a, const int64_t *local) {
        if (a == 0)
            rtohess_set_rows(j, local);
        else if (a == 1)
            rtohess_set_columns(j, local);
        else
            rtohess_set_columns2(j, local);
    }
    static int64_t *numbers_ptr(Base *j, int a) {
        return a == 0 ? rtohess_rowptr(j) : (a == 1 ? rtohess_colptr(j) : rtohess_col2ptr(j));
    }
    static double *values_ptr(Base *j) { return rtohess_vec_hessianvalues(j); }
    static int64_t total_offset(Base *j, int a) {
        return a == 0 ? rtohess_rowoffset(j) : (a == 1 ? rtohess_coloffset(j) : rtohess_col2offset(j));
    }
    static void move(Base *j, int32_t s, int32_t d, int32_t c) { rtohess_move_items(j, s, d, c); }
    static void relocate(Base *j, int32_t z, int32_t dv, int32_t de) { rtohess_relocate(j, z, dv, de); }
    static void renumber(Base *j, int32_t f, int32_t l, int32_t vt, int32_t dv, int32_t et, int32_t de) {
        rtohess_renumber(j, f, l, vt, dv, et, de);
    }
    static void renumber_in_range(Base *j, int32_t f, int32_t l, int32_t lo, int32_t hi, int32_t by) {
        rtohess_renumber_vars_in_range(j, f, l, lo, hi, by);
    }
    static void inq_nz(rtvarlst_t *v, rtattrdict_t *e, Base *j, int32_t k, Record *r) {
        rtohess_inq_nz(v, e, j, k, r);
    }
    static int32_t match_var(Base *j, rtvarlst_t *v, int32_t start) {
        return rtohess_match_var_regexp(j, v, start);
    }
    static int32_t match_eqn(Base *j, rtattrdict_t *e, int32_t start) {
        return rtohess_match_eqn_regexp(j, e, start);
    }
    static constexpr unsigned char kNameBits = RT_HESS_NZ_EQNNAME | RT_HESS_NZ_VARNAMES;
    static bool has_var(const Record &r, int32_t v) { return r.varnum == v || r.var2num == v; }
    static bool has_var_name(const Record &r, const char *t) {
        return std::strcmp(r.varname, t) == 0 || std::strcmp(r.var2name, t) == 0;
    }
    static int filter_var_index(const Record *r, int32_t v) { return rtohess_filter_var_match_index(r, v); }
    static int filter_eqn_index(const Record *r, int32_t e) { return rtohess_filter_eqn_match_index(r, e); }
    static int filter_var_name(const Record *r, const char *t) { return rtohess_filter_var_match_name(r, t); }
    static int filter_eqn_name(const Record *r, const char *t) { return rtohess_filter_eqn_match_name(r, t); }
    static int filter_always(const Record *r) { return rtohess_filter_always_true(r, r); }
    static int filter_var_regexp(const Record *r, hs_regexp *p) {
        return rtohess_filter_var_match_regexp(r, p);
    }
    static int filter_eqn_regexp(const Record *r, hs_regexp *p) {
        return rtohess_filter_eqn_match_regexp(r, p);
    }
    static bool var_regexp(const Record &r, hs_regexp *p) {
        return hs_regexec(p, r.varname) != 0 || hs_regexec(p, r.var2name) != 0;
    }
};

// Named variable and equation lists for the nonzero records and searches.
struct NameLists {
    rtvarlst_t *vars = nullptr;
    rtattrdict_t *eqns = nullptr;
    NameLists() {
        static const char *names[] = {"A", "B.C", "x1", "", "SUB.A", "Q"};
        vars = rtovarlst_create(12);
        eqns = rtoeqnlst_create(12);
        rtovarlst_set_nvar(vars, 12);
        rtoeqnlst_set_neqn(eqns, 12);
        for (int32_t i = 1; i <= 12; ++i) {
            rtovarlst_addvar(vars, i, names[i % 6]);
            rtoeqnlst_addeqn(eqns, i, names[(i + 3) % 6]);
        }
    }
    ~NameLists() {
        rtovarlst_destroy_c(&vars);
        rtoeqnlst_destroy(&eqns);
    }
};

template <class K>
class CoordSteps {
  public:
    using Base = typename K::Base;
    static constexpr int A = K::kAxes;

    CoordSteps(Bytes &in, NameLists &lists) : in_(in), lists_(lists) {}
    ~CoordSteps() { teardown(); }

    void step() {
        uint8_t op = in_.byte() % 16;
        int n = pick();
        if (n < 0 || op == 0) return create_head();
        switch (op) {
            case 1:
                return create_window(n);
            case 2:
                if (!has_children(n)) destroy(n);
                return;
            case 3:
                return set_nnz(n);
            case 4:
                return resize(n);
            case 5:
                return set_numbers(n);
            case 6:
                return set_value(n);
            case 7:
                return inquire(n);
            case 8:
                return set_axis(n);
            case 9:
                return move(n);
            case 10:
                return relocate(n);
            case 11:
                return renumber(n);
            case 12:
                return renumber_in_range(n);
            case 13:
                return record(n);
            case 14:
                return pointers(n);
            default:
                return fortran(n);
        }
    }

    // Every live store against the model.
    void check() {
        for (int i = 0; i < kMaxStores; ++i) {
            const Node &m = nodes_[i];
            if (!m.alive) continue;
            Base *j = m.j;
            ZARN_FUZZ_CHECK(j->nnz == m.nnz);
            ZARN_FUZZ_CHECK(j->capacity == m.cap);
            ZARN_FUZZ_CHECK(j->nnz >= 0 && j->nnz <= j->capacity);
            if (m.parent >= 0) {
                auto *e = reinterpret_cast<typename K::Emb *>(j);
                ZARN_FUZZ_CHECK(e->nzOffset == m.nzoff);
                for (int a = 0; a < A; ++a) ZARN_FUZZ_CHECK(K::offset(e, a) == m.off[a]);
                continue;
            }
            auto *h = reinterpret_cast<typename K::Head *>(j);
            for (int a = 0; a < A; ++a)
                for (int32_t k = 0; k < m.cap; ++k) ZARN_FUZZ_CHECK(K::numbers(h, a)[k] == m.num[a][k]);
            for (int32_t k = 0; k < m.cap; ++k) ZARN_FUZZ_CHECK(same_bits(h->values[k], m.val[k]));
            if constexpr (K::kLinear)
                for (int32_t k = 0; k < m.cap; ++k) ZARN_FUZZ_CHECK(h->linear[k] == m.lin[k]);
            // Beyond nnz every nonzero is a reset one.
            for (int32_t k = m.nnz; k < m.cap; ++k) {
                for (int a = 0; a < A; ++a) ZARN_FUZZ_CHECK(K::numbers(h, a)[k] == 0);
                ZARN_FUZZ_CHECK(h->values[k] == 1e35);
            }
        }
    }

  private:
    struct Node {
        Base *j = nullptr;
        bool alive = false;
        int parent = -1;
        int depth = 0;
        int32_t nnz = 0;
        int32_t cap = 0;
        uint32_t nzoff = 0;
        uint32_t off[3] = {};
        std::vector<int64_t> num[3];  // a head's cells, capacity each
        std::vector<double> val;
        std::vector<unsigned char> lin;
    };
    // Where a store's nonzero lies in its head, as the headers describe a
    // call passed up the chain: every level checks the index against its nnz.
    struct Place {
        int head = -1;
        int64_t k = 0;
        int64_t add[3] = {};
    };

    Bytes &in_;
    NameLists &lists_;
    Node nodes_[kMaxStores];

    int pick() { return pick_alive(in_, nodes_); }
    int free_slot() const { return free_place(nodes_); }
    bool has_children(int n) const { return has_windows(nodes_, n); }

    // ---- the model ----

    void m_reset(int n, int64_t first, int64_t last) {
        if (first > last) return;
        Node &m = nodes_[n];
        if (m.parent >= 0) return m_reset(m.parent, first + m.nzoff, last + m.nzoff);
        if (first < 1) first = 1;
        if (last > m.cap) last = m.cap;
        for (int64_t k = first; k <= last; ++k) {
            for (int a = 0; a < A; ++a) m.num[a][k - 1] = 0;
            m.val[k - 1] = 1e35;
            if constexpr (K::kLinear) m.lin[k - 1] = 0;
        }
    }
    void m_head_cells(Node &m, int32_t c) {
        for (int a = 0; a < A; ++a) m.num[a].resize(static_cast<size_t>(c), 0);
        m.val.resize(static_cast<size_t>(c), 1e35);
        m.lin.resize(static_cast<size_t>(c), 0);
    }
    bool m_locate(int n, int64_t k, Place &p) {
        for (;;) {
            if (k < 1 || k > nodes_[n].nnz) return false;
            if (nodes_[n].parent < 0) break;
            for (int a = 0; a < A; ++a) p.add[a] += nodes_[n].off[a];
            k += nodes_[n].nzoff;
            n = nodes_[n].parent;
        }
        p.head = n;
        p.k = k;
        return true;
    }
    // Whether every ancestor's nnz covers the store's nonzeros.
    bool m_reachable(int n) {
        int64_t last = nodes_[n].nnz;
        for (int m = n; nodes_[m].parent >= 0; m = nodes_[m].parent) {
            last += nodes_[m].nzoff;
            if (last > nodes_[nodes_[m].parent].nnz) return false;
        }
        return true;
    }
    int64_t m_total_nz(int n) {
        int64_t t = 0;
        for (; nodes_[n].parent >= 0; n = nodes_[n].parent) t += nodes_[n].nzoff;
        return t;
    }
    int64_t m_total_off(int n, int a) {
        int64_t t = 0;
        for (; nodes_[n].parent >= 0; n = nodes_[n].parent) t += nodes_[n].off[a];
        return t;
    }
    int m_head(int n) {
        while (nodes_[n].parent >= 0) n = nodes_[n].parent;
        return n;
    }
    static bool run_inside(int64_t s, int64_t c, int64_t nnz) { return s >= 1 && s + c - 1 <= nnz; }
    // false when the move is refused somewhere up the chain.
    bool m_move(int n, int64_t s, int64_t d, int64_t c) {
        Node &m = nodes_[n];
        if (s == d) return true;
        if (m.parent < 0 && c == 0) return true;
        if (c < 0) return false;
        if (!run_inside(s, c, m.nnz) || !run_inside(d, c, m.nnz)) return false;
        if (m.parent >= 0) return m_move(m.parent, s + m.nzoff, d + m.nzoff, c);
        for (int a = 0; a < A; ++a) std::memmove(&m.num[a][d - 1], &m.num[a][s - 1], c * sizeof(int64_t));
        std::memmove(&m.val[d - 1], &m.val[s - 1], c * sizeof(double));
        std::memmove(&m.lin[d - 1], &m.lin[s - 1], c);
        const int64_t dist = d > s ? d - s : s - d, left = c < dist ? c : dist;
        const int64_t from = d < s ? s + c - left : s;
        for (int64_t k = from; k < from + left; ++k) {
            for (int a = 0; a < A; ++a) m.num[a][k - 1] = 0;
            m.val[k - 1] = 0.0;
            m.lin[k - 1] = 0;
        }
        return true;
    }

    // An equation or variable number: an argument, now and then scaled (with
    // wraparound) far beyond any size, so that offsets push it past 32 bits.
    int32_t number_arg() {
        int32_t v = in_.arg();
        return in_.byte() % 4 == 0 ? static_cast<int32_t>(static_cast<uint32_t>(v) * 1000003u) : v;
    }

    // ---- steps ----

    void create_head() {
        int slot = free_slot();
        if (slot < 0) return;
        int32_t cap = in_.alloc_arg();
        Base *j = K::create(cap);
        ZARN_FUZZ_CHECK((j == nullptr) == (cap < 0));
        if (j == nullptr) return;
        Node &m = nodes_[slot];
        m = Node{};
        m.j = j;
        m.alive = true;
        m.cap = cap;
        m_head_cells(m, cap);
        ZARN_FUZZ_CHECK(K::parent(j) == nullptr);
    }

    void create_window(int p) {
        int slot = free_slot();
        if (slot < 0 || nodes_[p].depth >= kMaxStoreDepth) return;
        int32_t cap = in_.arg(), z = in_.arg();
        int32_t first[A];
        bool zero = z == 0, negative = z < 0 || cap < 0;
        for (int a = 0; a < A; ++a) {
            first[a] = in_.byte() % 3 == 0 ? in_.arg() : in_.small(1, 9);
            zero = zero || first[a] == 0;
            negative = negative || first[a] < 0;
        }
        Base *j = K::create_embedded(cap, nodes_[p].j, first, z);
        bool made = !zero && !negative && static_cast<int64_t>(z) + cap - 1 <= nodes_[p].nnz;
        ZARN_FUZZ_CHECK((j != nullptr) == made);
        if (j == nullptr) return;
        Node &m = nodes_[slot];
        m = Node{};
        m.j = j;
        m.alive = true;
        m.parent = p;
        m.depth = nodes_[p].depth + 1;
        m.cap = cap;
        m.nzoff = static_cast<uint32_t>(z - 1);
        for (int a = 0; a < A; ++a) m.off[a] = static_cast<uint32_t>(first[a] - 1);
        m_reset(slot, 1, cap);
        ZARN_FUZZ_CHECK(K::parent(j) == nodes_[p].j);
        ZARN_FUZZ_CHECK(K::parent_check(nodes_[p].j, j) == 1);
        ZARN_FUZZ_CHECK(K::parent_check(j, nodes_[p].j) == 0);
    }

    void destroy(int n) {
        K::destroy(&nodes_[n].j);
        ZARN_FUZZ_CHECK(nodes_[n].j == nullptr);
        nodes_[n] = Node{};
    }

    void m_set_nnz(int n, int32_t v) {
        Node &m = nodes_[n];
        if (v == m.nnz || v < 0 || v > m.cap) return;
        if (v < m.nnz) m_reset(n, static_cast<int64_t>(v) + 1, m.nnz);
        m.nnz = v;
    }
    void set_nnz(int n) {
        int32_t v = in_.arg();
        K::set_nnz(nodes_[n].j, v);
        m_set_nnz(n, v);
        ZARN_FUZZ_CHECK(K::inq_nnz(nodes_[n].j) == nodes_[n].nnz);
        ZARN_FUZZ_CHECK(K::size(nodes_[n].j) == nodes_[n].nnz);
    }

    void m_resize(int n, int32_t c) {
        Node &m = nodes_[n];
        if (c < 0 || c == m.cap) return;
        if (m.parent < 0) {
            m.cap = c;
            m_head_cells(m, c);  // new cells are reset ones
        } else {
            if (static_cast<int64_t>(c) + m.nzoff > nodes_[m.parent].nnz) return;
            if (c < m.cap)
                m_reset(n, static_cast<int64_t>(c) + 1, m.cap);
            else
                m_reset(n, static_cast<int64_t>(m.cap) + 1, c);
            m.cap = c;
        }
        if (m.nnz > c) m.nnz = c;
    }
    void resize(int n) {
        int32_t c = nodes_[n].parent < 0 ? in_.alloc_arg() : in_.arg();
        K::resize(nodes_[n].j, c);
        m_resize(n, c);
        ZARN_FUZZ_CHECK(K::inq_capacity(nodes_[n].j) == nodes_[n].cap);
        ZARN_FUZZ_CHECK(K::capacity(nodes_[n].j) == nodes_[n].cap);
    }

    void m_set_number(int n, int a, int32_t k, int32_t v) {
        Place p;
        if (!m_locate(n, k, p)) return;
        nodes_[p.head].num[a][p.k - 1] = wrapped_sum(v, p.add[a]);
    }
    int32_t m_inq_number(int n, int a, int32_t k) {
        Place p;
        if (!m_locate(n, k, p)) return 0;
        return static_cast<int32_t>(wrapped_sum(nodes_[p.head].num[a][p.k - 1], -p.add[a]));
    }
    void set_numbers(int n) {
        int32_t k = in_.arg();
        if (in_.byte() & 1) {
            int a = in_.byte() % A;
            int32_t v = number_arg();
            K::set_number(nodes_[n].j, a, k, v);
            m_set_number(n, a, k, v);
            return;
        }
        int32_t v[A];
        for (int a = 0; a < A; ++a) v[a] = number_arg();
        K::set_coord(nodes_[n].j, k, v);
        for (int a = 0; a < A; ++a) m_set_number(n, a, k, v[a]);
    }

    void set_value(int n) {
        int32_t k = in_.arg();
        Place p;
        bool inside = m_locate(n, k, p);
        if constexpr (K::kLinear) {
            if (in_.byte() & 1) {
                unsigned char flag = in_.byte() & 1;
                rtojac_set_linear(nodes_[n].j, k, flag);
                if (inside) nodes_[p.head].lin[p.k - 1] = flag;
                return;
            }
        }
        double v = in_.real();
        K::set_value(nodes_[n].j, k, v);
        if (inside) nodes_[p.head].val[p.k - 1] = v;
    }

    // A missing store: setters do nothing, inquiries give 0.
    void missing() {
        int32_t k = in_.arg();
        K::set_nnz(nullptr, k);
        K::resize(nullptr, k);
        K::set_number(nullptr, in_.byte() % A, k, k);
        K::set_value(nullptr, k, 1.0);
        K::move(nullptr, k, 1, 1);
        K::relocate(nullptr, k, 1, 1);
        K::renumber(nullptr, 1, k, 0, 1, 0, 1);
        ZARN_FUZZ_CHECK(K::inq_nnz(nullptr) == 0 && K::inq_capacity(nullptr) == 0);
        ZARN_FUZZ_CHECK(K::size(nullptr) == 0 && K::capacity(nullptr) == 0);
        ZARN_FUZZ_CHECK(K::inq_number(nullptr, in_.byte() % A, k) == 0);
        ZARN_FUZZ_CHECK(same_bits(K::inq_value(nullptr, k), 0.0));
        ZARN_FUZZ_CHECK(K::parent(nullptr) == nullptr);
        ZARN_FUZZ_CHECK(K::numbers_ptr(nullptr, in_.byte() % A) == nullptr &&
                        K::values_ptr(nullptr) == nullptr);
        Base *none = nullptr;
        K::destroy(&none);
    }

    void inquire(int n) {
        if (in_.byte() % 16 == 0) return missing();
        int32_t k = in_.arg();
        Place p;
        bool inside = m_locate(n, k, p);
        for (int a = 0; a < A; ++a)
            ZARN_FUZZ_CHECK(K::inq_number(nodes_[n].j, a, k) == m_inq_number(n, a, k));
        const double v = K::inq_value(nodes_[n].j, k);
        ZARN_FUZZ_CHECK(same_bits(v, inside ? nodes_[p.head].val[p.k - 1] : 0.0));
        if constexpr (K::kLinear) {
            ZARN_FUZZ_CHECK(rtojac_inq_linear(nodes_[n].j, k) == (inside ? nodes_[p.head].lin[p.k - 1] : 0));
        }
    }

    void set_axis(int n) {
        int a = in_.byte() % A;
        const int32_t nnz = nodes_[n].nnz;
        std::vector<int64_t> local(static_cast<size_t>(nnz) + 1);
        for (int64_t &v : local) v = in_.byte() % 5 == 0 ? static_cast<int64_t>(in_.arg()) << 20 : in_.arg();
        Base *j = nodes_[n].j;
        if constexpr (K::kLinear) {
            if (in_.byte() & 1) {  // the Fortran twins forward to the same calls
                if (a == 0)
                    RTOJAC_SET_ROWS_F(&j, local.data());
                else
                    RTOJAC_SET_COLUMNS_F(&j, local.data());
            } else {
                K::set_axis(j, a, local.data());
            }
        } else {
            K::set_axis(j, a, local.data());
        }
        if (nnz == 0 || !m_reachable(n)) return;
        Node &h = nodes_[m_head(n)];
        const int64_t base = m_total_nz(n), add = m_total_off(n, a);
        for (int32_t k = 0; k < nnz; ++k) h.num[a][base + k] = wrapped_sum(local[k], add);
    }

    void move(int n) {
        int32_t s = in_.arg(), d = in_.arg(), c = in_.arg();
        K::move(nodes_[n].j, s, d, c);
        m_move(n, s, d, c);
    }

    void relocate(int n) {
        int32_t z = in_.arg(), dv = in_.byte() & 1 ? in_.arg() : 0, de = in_.byte() & 1 ? in_.arg() : 0;
        K::relocate(nodes_[n].j, z, dv, de);
        Node &m = nodes_[n];
        if (m.parent < 0) return;
        // Offsets are unsigned 32-bit and the first nonzero at least 1: a
        // shift beyond them is refused.
        int64_t moved[3];
        bool ok = z >= 1;
        for (int a = 0; a < A; ++a) {
            moved[a] = static_cast<int64_t>(m.off[a]) + (a == 0 ? de : dv);
            ok = ok && moved[a] >= 0 && moved[a] <= UINT32_MAX;
        }
        if (!ok || static_cast<int64_t>(z) + m.nnz - 1 > nodes_[m.parent].nnz) return;
        if (m.nnz > 0 && !m_move(m.parent, static_cast<int64_t>(m.nzoff) + 1, z, m.nnz)) return;
        m.nzoff = static_cast<uint32_t>(z - 1);
        for (int a = 0; a < A; ++a) m.off[a] = static_cast<uint32_t>(moved[a]);
    }

    // Nonzeros first..last of n at its head, thresholds raised by the offsets
    // on the way; false when a level's nnz does not cover the range.
    bool m_range(int n, int64_t &f, int64_t &l, int64_t (&add)[3]) {
        for (;;) {
            if (f < 1 || l > nodes_[n].nnz) return false;
            if (nodes_[n].parent < 0) break;
            f += nodes_[n].nzoff;
            l += nodes_[n].nzoff;
            for (int a = 0; a < A; ++a) add[a] += nodes_[n].off[a];
            n = nodes_[n].parent;
        }
        return true;
    }

    void renumber(int n) {
        int32_t f = in_.arg(), l = in_.arg(), vt = in_.arg(), dv = number_arg(), et = in_.arg(),
                de = number_arg();
        K::renumber(nodes_[n].j, f, l, vt, dv, et, de);
        int64_t ff = f, ll = l, add[3] = {};
        if ((dv == 0 && de == 0) || f > l || !m_range(n, ff, ll, add)) return;
        Node &h = nodes_[m_head(n)];
        for (int64_t k = ff; k <= ll; ++k)
            for (int a = 0; a < A; ++a) {
                int64_t &cell = h.num[a][k - 1];
                if (cell >= (a == 0 ? et : vt) + add[a]) cell = wrapped_sum(cell, a == 0 ? de : dv);
            }
    }

    void renumber_in_range(int n) {
        int32_t f = in_.arg(), l = in_.arg(), lo = in_.arg(), hi = in_.arg(), by = number_arg();
        K::renumber_in_range(nodes_[n].j, f, l, lo, hi, by);
        int64_t ff = f, ll = l, add[3] = {};
        if (by == 0 || f > l || lo > hi || !m_range(n, ff, ll, add)) return;
        Node &h = nodes_[m_head(n)];
        for (int64_t k = ff; k <= ll; ++k)
            for (int a = 1; a < A; ++a) {
                int64_t &cell = h.num[a][k - 1];
                if (cell >= lo + add[a] && cell <= hi + add[a]) cell = wrapped_sum(cell, by);
            }
    }

    void record(int n) {
        int32_t k = in_.arg();
        typename K::Record rec;
        std::memset(&rec, 0x5a, sizeof rec);
        rec.mask = static_cast<unsigned char>(in_.byte());
        rtvarlst_t *vars = in_.byte() % 4 == 0 ? nullptr : lists_.vars;
        rtattrdict_t *eqns = in_.byte() % 4 == 0 ? nullptr : lists_.eqns;
        K::inq_nz(vars, eqns, nodes_[n].j, k, &rec);
        ZARN_FUZZ_CHECK(rec.eqnnum == m_inq_number(n, 0, k));
        ZARN_FUZZ_CHECK(rec.varnum == m_inq_number(n, 1, k));
        if constexpr (A > 2) {
            ZARN_FUZZ_CHECK(rec.var2num == m_inq_number(n, 2, k));
        }
        const int32_t probe = in_.small(-1, 9);
        ZARN_FUZZ_CHECK(K::filter_var_index(&rec, probe) == K::has_var(rec, probe));
        ZARN_FUZZ_CHECK(K::filter_eqn_index(&rec, probe) == (rec.eqnnum == probe));
        ZARN_FUZZ_CHECK(K::filter_always(&rec) == 1);
        if ((rec.mask & K::kNameBits) == K::kNameBits) {
            static const char *names[] = {"A", "B.C", "x1", "", "Q"};
            const char *t = names[in_.byte() % 5];
            ZARN_FUZZ_CHECK(K::filter_var_name(&rec, t) == K::has_var_name(rec, t));
            ZARN_FUZZ_CHECK(K::filter_eqn_name(&rec, t) == (std::strcmp(rec.eqnname, t) == 0));
            static const char *patterns[] = {"^A", "x[0-9]", "C$", "."};
            hs_regexp *prog = hs_regcomp(patterns[in_.byte() % 4]);
            ZARN_FUZZ_CHECK((K::filter_var_regexp(&rec, prog) != 0) == K::var_regexp(rec, prog));
            ZARN_FUZZ_CHECK((K::filter_eqn_regexp(&rec, prog) != 0) == (hs_regexec(prog, rec.eqnname) != 0));
            hs_regfree(prog);
        }
        static const char *patterns[] = {"^A", ".", "x[0-9]", "(", "Q$", ""};
        (void)re_comp(patterns[in_.byte() % 6]);
        int32_t start = in_.arg();
        const int32_t nnz = nodes_[n].nnz;
        int32_t hit = in_.byte() & 1 ? K::match_var(nodes_[n].j, lists_.vars, start)
                                     : K::match_eqn(nodes_[n].j, lists_.eqns, start);
        ZARN_FUZZ_CHECK(hit == 0 || (hit > start && hit <= nnz));
    }

    // The head's arrays as a store hands them out, and its total offsets.
    void pointers(int n) {
        Base *j = nodes_[n].j;
        auto *h = reinterpret_cast<typename K::Head *>(nodes_[m_head(n)].j);
        const int64_t base = m_total_nz(n);
        for (int a = 0; a < A; ++a) {
            ZARN_FUZZ_CHECK(K::numbers_ptr(j, a) == K::numbers(h, a) + base);
            ZARN_FUZZ_CHECK(K::total_offset(j, a) == m_total_off(n, a));
        }
        ZARN_FUZZ_CHECK(K::values_ptr(j) == h->values + base);
        if constexpr (K::kLinear) {
            for (int a = 0; a < A; ++a) pattern(n, a);
            int64_t index = -5;
            RTOJAC_ZARN_LBBJ(&j, &index);
            ZARN_FUZZ_CHECK(index == rto_dptr2plex_c(h->values + base));
        }
    }

    // The local numbers for a Fortran caller: the head's own array when no
    // copy is asked for and the offset is 0, else a copy the caller frees.
    void pattern(int n, int a) {
        Base *j = nodes_[n].j;
        int64_t index = -5, copy = in_.byte() % 3;
        const bool force = copy & 1;
        const int64_t got =
            a == 0 ? RTOJAC_ZARN_LBIRN(&j, &index, &copy) : RTOJAC_ZARN_LBICN(&j, &index, &copy);
        ZARN_FUZZ_CHECK(got == copy);
        const int64_t off = m_total_off(n, a);
        if (!force && off == 0) {
            ZARN_FUZZ_CHECK(copy == 0);
            ZARN_FUZZ_CHECK(index == rto_iptr2plex_c(K::numbers_ptr(j, a)));
            return;
        }
        ZARN_FUZZ_CHECK(copy == -1);
        if (copy != -1 || index == 0) return;
        if (m_reachable(n)) {
            const int64_t *cells = ZARN_ib0 + index;
            for (int32_t k = 1; k <= nodes_[n].nnz; ++k) {
                Place p;
                if (!m_locate(n, k, p)) continue;
                ZARN_FUZZ_CHECK(cells[k - 1] == wrapped_sum(nodes_[p.head].num[a][p.k - 1], -p.add[a]));
            }
        }
        RTO_IFREE(&index);
    }

    // The Fortran twins with arguments inside the 32-bit range.
    void fortran(int n) {
        if constexpr (!K::kLinear) {
            return inquire(n);
        } else {
            Base *j = nodes_[n].j;
            auto wide = [this]() {
                int32_t v = in_.arg();
                return static_cast<int64_t>(v == INT_MIN ? 0 : v);
            };
            int64_t k = wide(), v = wide(), w = wide();
            switch (in_.byte() % 6) {
                case 0:
                    RTOJAC_SET_NNZ_F(&j, &v);
                    m_set_nnz(n, static_cast<int32_t>(v));
                    ZARN_FUZZ_CHECK(RTOJAC_INQ_NNZ_F(&j) == nodes_[n].nnz);
                    break;
                case 1: {
                    int64_t c = nodes_[n].parent < 0 && v > kMaxAlloc ? kMaxAlloc : v;
                    RTOJAC_RESIZE_F(&j, &c);
                    m_resize(n, static_cast<int32_t>(c));
                    ZARN_FUZZ_CHECK(RTOJAC_INQ_CAPACITY_F(&j) == nodes_[n].cap);
                    break;
                }
                case 2:
                    RTOJAC_SET_NZ_EQNNUM_F(&j, &k, &v);
                    m_set_number(n, 0, static_cast<int32_t>(k), static_cast<int32_t>(v));
                    break;
                case 3:
                    RTOJAC_SET_NZ_VARNUM_F(&j, &k, &v);
                    m_set_number(n, 1, static_cast<int32_t>(k), static_cast<int32_t>(v));
                    break;
                case 4:
                    RTOJAC_SET_NZ_COORD_F(&j, &k, &v, &w);
                    m_set_number(n, 0, static_cast<int32_t>(k), static_cast<int32_t>(v));
                    m_set_number(n, 1, static_cast<int32_t>(k), static_cast<int32_t>(w));
                    break;
                default:
                    ZARN_FUZZ_CHECK(RTOJAC_INQ_NZ_EQNNUM_F(&j, &k) ==
                                    m_inq_number(n, 0, static_cast<int32_t>(k)));
                    ZARN_FUZZ_CHECK(RTOJAC_INQ_NZ_VARNUM_F(&j, &k) ==
                                    m_inq_number(n, 1, static_cast<int32_t>(k)));
            }
        }
    }

    void teardown() {
        for (bool any = true; any;) {
            any = false;
            for (int i = 0; i < kMaxStores; ++i)
                if (nodes_[i].alive && !has_children(i)) {
                    destroy(i);
                    any = true;
                }
        }
    }
};

}  // namespace zarn::fuzz::jacseq

#endif
