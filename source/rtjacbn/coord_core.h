// What the Jacobian and the Hessian share: a coordinate store of nonzeros as
// a head that owns one array per number axis (equation, variable, second
// variable), the values and, for the Jacobian, linear flags; and windows that
// shift nonzero indices and numbers on their way to the head. Each kind gives
// a traits class K with its record types, operation tables and texts; the
// operations here are instantiated into each kind's tables.
#ifndef ZARN_RTJACBN_COORD_CORE_H
#define ZARN_RTJACBN_COORD_CORE_H

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/checked.h"
#include "platform/xalloc.h"
#include "platform/zassert.h"
#include "rtjacbn/rtjacbn_messages.h"
#include "rtopipe/report.h"
#include "zarnutils/hsregexp.h"
#include "zarnutils/rtattrdict.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/zarnmalloc.h"

namespace zarn::rtjacbn {

// Number axes: the arrays of equation, variable and second variable numbers.
enum Axis : int { kEqn = 0, kVar = 1, kVar2 = 2 };

// The value of a reset nonzero.
inline constexpr double kUndefined = 1e35;

// Sums of caller numbers and offsets wrap instead of overflowing.
inline int64_t wrap_add(int64_t a, int64_t b) {
    return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b));
}
inline int64_t wrap_sub(int64_t a, int64_t b) {
    return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b));
}

// A number set through a window as the head keeps it: a 32-bit value, sign
// extended; a sum with the window's offsets wraps within 32 bits.
inline int64_t as_stored(int64_t v) { return static_cast<int32_t>(v); }

// A nonzero index in a parent's numbering, kept within int32_t: an index
// beyond the end stays beyond it.
inline int32_t clamp32(int64_t k) {
    return k > INT32_MAX ? INT32_MAX : (k < INT32_MIN ? INT32_MIN : static_cast<int32_t>(k));
}

// Plex and byte blocks of n entries: a new one when *cells is NULL, else the
// block resized (leading entries kept). false leaves *cells as it was; a
// plex block's raise is held, so that the store can free what it made before
// raise_again passes it on to the caller.
bool int_block(int64_t **cells, int32_t n);
bool double_block(double **cells, int32_t n);
bool byte_block(unsigned char **cells, int32_t n);
[[noreturn]] void raise_again();
void free_int_block(int64_t *cells);
void free_double_block(double *cells);

// re_exec on the name of variable (equation) i of a list, "" when it has
// none: 1 for a match, 0 for none, -1 when no pattern is kept.
int re_exec_name(rtvarlst_t *varlst, int32_t i);
int re_exec_name(rtattrdict_t *eqnlst, int32_t i);
// The filters' tests: hs_regexec of prog on a name (0 without prog), and
// 1 when a name equals the given text (0 without one).
int regexp_passes(hs_regexp *prog, const char *name);
int name_passes(const char *given, const char *name);

// The plex index of a number array for a Fortran caller: the array itself, or
// a fresh block of local numbers (copied = true) that the caller frees.
struct Pattern {
    int64_t plex;
    bool copied;
};

// A range of numbers on one axis and what is added to them.
struct Shift {
    int64_t low;
    int64_t high;
    int64_t by;
};

template <class K>
struct Core {
    using Base = typename K::Base;
    using Head = typename K::Head;
    using Emb = typename K::Emb;

    static Head *head(Base *j) { return reinterpret_cast<Head *>(j); }
    static Emb *emb(Base *j) { return reinterpret_cast<Emb *>(j); }
    static bool is_head(const Base *j) { return j->ops == &K::kHeadOps; }
    static bool within(int32_t k, const Base *j) { return k >= 1 && k <= j->nnz; }
    // Nonzero k of window e in its parent's numbering.
    static int32_t up(Emb *e, int64_t k) { return clamp32(k + e->nzOffset); }

    // ---- creation and destruction ----

    static void free_arrays(Head *h) {
        for (int a = 0; a < K::kAxes; ++a) free_int_block(K::numbers(h, a));
        free_double_block(h->values);
        if constexpr (K::kLinear) std::free(h->linear);
    }

    static Base *create(int32_t capacity) {
        if (capacity < 0) {
            rtopipe::report(msg::kNegativeCapacity, K::kCreateName, capacity);
            return nullptr;
        }
        auto *h = static_cast<Head *>(xcalloc(1, sizeof(Head)));
        if (h == nullptr) {
            rtopipe::report(K::kCreateNoMemory);
            return nullptr;
        }
        h->base.ops = &K::kHeadOps;
        h->base.capacity = capacity;
        bool plex = true;
        for (int a = 0; a < K::kAxes && plex; ++a) plex = int_block(&K::numbers(h, a), capacity);
        plex = plex && double_block(&h->values, capacity);
        bool ok = plex;
        if constexpr (K::kLinear) ok = ok && byte_block(&h->linear, capacity);
        if (!ok) {
            free_arrays(h);
            std::free(h);
            if (!plex) raise_again();  // the plex allocator's failure is the caller's to catch
            rtopipe::report(K::kCreateNoArrays, capacity);
            return nullptr;
        }
        head_reset(&h->base, 1, capacity);
        return &h->base;
    }

    // first[a]: the parent's number of the window's number 1 on axis a.
    static Base *create_embedded(int32_t capacity, Base *parent, const int32_t (&first)[K::kAxes],
                                 int32_t z) {
        bool zero = z == 0, negative = z < 0 || capacity < 0;
        for (int a = 0; a < K::kAxes; ++a) {
            zero = zero || first[a] == 0;
            negative = negative || first[a] < 0;
        }
        if (parent == nullptr || zero) return nullptr;
        if (negative) {
            rtopipe::report(msg::kNegativeFirst, K::kCreateEmbeddedName);
            return nullptr;
        }
        const int32_t pnnz = parent->ops->inq_nnz(parent);
        if (pnnz < static_cast<int64_t>(z) + capacity - 1) {
            rtopipe::report(K::kEmbParentSmall, pnnz, parent->ops->inq_capacity(parent), capacity);
            return nullptr;
        }
        auto *e = static_cast<Emb *>(xcalloc(1, sizeof(Emb)));
        if (e == nullptr) {
            rtopipe::report(K::kEmbNoMemory);
            return nullptr;
        }
        e->base.ops = &K::kEmbOps;
        e->base.capacity = capacity;
        e->parent = parent;
        for (int a = 0; a < K::kAxes; ++a) K::offset(e, a) = static_cast<uint32_t>(first[a] - 1);
        e->nzOffset = static_cast<uint32_t>(z - 1);
        emb_reset(&e->base, 1, capacity);
        return &e->base;
    }

    static void head_destroy(Base *j) {
        free_arrays(head(j));
        std::free(j);
    }
    static void emb_destroy(Base *j) { std::free(j); }
    static Base *head_parent(Base *) { return nullptr; }
    static Base *emb_parent(Base *j) { return emb(j)->parent; }

    // ---- reset, count, capacity ----

    // Nonzeros first..last; cells beyond the head's capacity do not exist.
    static void head_reset(Base *j, int32_t first, int32_t last) {
        if (first < 1) first = 1;
        if (last > j->capacity) last = j->capacity;
        if (first > last) return;
        Head *h = head(j);
        const size_t n = static_cast<size_t>(last - first + 1);
        for (int a = 0; a < K::kAxes; ++a) std::memset(K::numbers(h, a) + first - 1, 0, n * sizeof(int64_t));
        for (size_t k = 0; k < n; ++k) h->values[first - 1 + k] = kUndefined;
        if constexpr (K::kLinear) std::memset(h->linear + first - 1, 0, n);
    }
    static void emb_reset(Base *j, int32_t first, int32_t last) {
        if (first > last) return;
        Emb *e = emb(j);
        e->parent->ops->reset(e->parent, up(e, first), up(e, last));
    }

    static void set_nnz(Base *j, int32_t n) {
        if (n == j->nnz) return;
        if (n < 0) {
            rtopipe::report(msg::kSetNnzNegative, n);
        } else if (n < j->nnz) {
            j->ops->reset(j, n + 1, j->nnz);
            j->nnz = n;
        } else if (n <= j->capacity) {
            j->nnz = n;
        } else {
            rtopipe::report(msg::kCapacityExceeded, n, j->capacity);
        }
    }
    static int32_t inq_nnz(Base *j) { return j->nnz; }
    static int32_t inq_capacity(Base *j) { return j->capacity; }

    static void head_resize(Base *j, int32_t c) {
        if (c == j->capacity) return;
        if (c < 0) {
            rtopipe::report(msg::kNegativeCapacity, "head_resize", c);
            return;
        }
        Head *h = head(j);
        const int32_t old = j->capacity;
        // A plex failure stops at that array and raises: the arrays before
        // it are merely larger when growing, and after a shrink the capacity
        // becomes c, which every array still holds.
        bool plex = true;
        for (int a = 0; a < K::kAxes && plex; ++a) plex = int_block(&K::numbers(h, a), c);
        plex = plex && double_block(&h->values, c);
        if (!plex) {
            if (c < old) {
                j->capacity = c;
                if (j->nnz > c) j->nnz = c;
            }
            raise_again();
        }
        bool ok = true;
        if constexpr (K::kLinear) ok = byte_block(&h->linear, c);
        if (!ok) {
            rtopipe::report(K::kResizeFailed, c);
            if (c > old) return;
        } else if (c > old) {
            j->capacity = c;
            head_reset(j, old + 1, c);
        }
        j->capacity = c;
        if (j->nnz > c) j->nnz = c;
    }

    static void emb_resize(Base *j, int32_t c) {
        if (c < 0) {
            rtopipe::report(msg::kNegativeCapacity, "embed_resize", c);
            return;
        }
        Emb *e = emb(j);
        const int32_t pnnz = e->parent->ops->inq_nnz(e->parent);
        if (static_cast<int64_t>(c) + e->nzOffset > pnnz) {
            rtopipe::report(msg::kEmbResizeParent);
            rtopipe::report(msg::kEmbResizeSizes, c, pnnz);
            return;
        }
        if (c < j->capacity)
            emb_reset(j, c + 1, j->capacity);
        else
            emb_reset(j, j->capacity + 1, c);
        j->capacity = c;
        if (j->nnz > c) j->nnz = c;
    }

    // ---- element access (k in 1..nnz at every level) ----

    template <int A>
    static void head_set_number(Base *j, int32_t k, int64_t v) {
        if (!within(k, j)) {
            rtopipe::report(msg::kHeadSetNumber[A], k, j->nnz);
            return;
        }
        K::numbers(head(j), A)[k - 1] = v;
    }
    template <int A>
    static int64_t head_inq_number(Base *j, int32_t k) {
        if (!within(k, j)) {
            rtopipe::report(msg::kHeadInqNumber[A], k, j->nnz);
            return 0;
        }
        return K::numbers(head(j), A)[k - 1];
    }
    // Where a window's nonzero lies in the head, found as a call passed up
    // the chain would find it: each level checks the index it is given
    // against its own nnz. Without an indirect call per level: filling a
    // window nonzero by nonzero is a hot path.
    struct Place {
        Base *at;               // the window; then the head, or the level that refuses the index
        int64_t k;              // the index at that level (a level adds less than 2^32)
        int64_t add[K::kAxes];  // what the window's numbers gain on the way to the head
    };
    static bool locate(Place &p) {
        if (p.k < 1) return false;
        Base *at = p.at;
        int64_t k = p.k;
        int64_t add[K::kAxes] = {};
        bool found = false;
        for (;;) {
            if (k > at->nnz) break;
            if (is_head(at)) {
                found = true;
                break;
            }
            Emb *e = emb(at);
            for (int a = 0; a < K::kAxes; ++a) add[a] += K::offset(e, a);
            k += e->nzOffset;
            at = e->parent;
        }
        p.at = at;
        p.k = k;
        for (int a = 0; a < K::kAxes; ++a) p.add[a] = add[a];
        return found;
    }
    // Where nonzero k of j lies in the head, as locate finds it, written for
    // the entry points that set one nonzero (filling a sub-model's window
    // nonzero by nonzero is a hot path): inlined there, the common shape, a
    // window placed straight on its head, runs straight through, and deeper
    // windows continue up the chain. The head and the index there, and v
    // moved from j's numbers to the head's; false, with nothing printed and
    // v partly moved, when a level refuses k.
    struct Found {
        Head *h;
        int64_t k;
    };
    [[gnu::always_inline]] static bool find(Base *j, int32_t k, Found &f, int64_t (&v)[K::kAxes]) {
        // One unsigned compare: k - 1 wraps to a huge value for k < 1, and nnz is never negative.
        if (static_cast<uint32_t>(k) - 1u >= static_cast<uint32_t>(j->nnz)) return false;
        if (is_head(j)) [[unlikely]] {
            f.h = head(j);
            f.k = k;
            return true;
        }
        Emb *e = emb(j);
        Base *parent = e->parent;
        f.k = static_cast<int64_t>(k) + e->nzOffset;
        for (int a = 0; a < K::kAxes; ++a) v[a] = wrap_add(v[a], K::offset(e, a));
        // Deeper windows are the rarer shape: the loop stays out of the straight path.
        for (; __builtin_expect(!is_head(parent), 0); parent = e->parent) {
            if (f.k > parent->nnz) return false;
            e = emb(parent);
            f.k += e->nzOffset;
            for (int a = 0; a < K::kAxes; ++a) v[a] = wrap_add(v[a], K::offset(e, a));
        }
        f.h = head(parent);
        return f.k <= parent->nnz;
    }
    [[gnu::always_inline]] static bool find(Base *j, int32_t k, Found &f) {
        int64_t no_numbers[K::kAxes] = {};
        return find(j, k, f, no_numbers);
    }
    // The text of a setter whose index a level refuses, where locate
    // stopped: that level's, a head's or a window's, with the index there
    // and its nnz.
    template <int A>
    static void report_refused_number(const Place &p) {
        rtopipe::report(is_head(p.at) ? msg::kHeadSetNumber[A] : msg::kEmbSetNumber[A], clamp32(p.k),
                        p.at->nnz);
    }
    static void report_refused_value(const Place &p) {
        rtopipe::report(is_head(p.at) ? msg::kHeadSetValue : msg::kEmbSetValue, clamp32(p.k), p.at->nnz);
    }
    // After find refused k (it prints nothing): every number's text in
    // order, the equation's first, or the value's.
    [[gnu::cold, gnu::noinline]] static void refused_numbers(Base *j, int32_t k) {
        Place p{j, k, {}};
        if (locate(p)) return;
        report_refused_number<kEqn>(p);
        report_refused_number<kVar>(p);
        if constexpr (K::kAxes > kVar2) report_refused_number<kVar2>(p);
    }
    [[gnu::cold, gnu::noinline]] static void refused_value(Base *j, int32_t k) {
        Place p{j, k, {}};
        if (!locate(p)) report_refused_value(p);
    }

    // The entry points that set one nonzero: every number (local to j) with
    // one walk to the head, or the value; a refused index gets each number's
    // own text, the equation's first.
    [[gnu::always_inline]] static void set_coord(Base *j, int32_t k, int64_t (&v)[K::kAxes]) {
        Found f;
        if (!find(j, k, f, v)) {
            refused_numbers(j, k);
            return;
        }
        for (int a = 0; a < K::kAxes; ++a) K::numbers(f.h, a)[f.k - 1] = as_stored(v[a]);
    }
    [[gnu::always_inline]] static void set_value(Base *j, int32_t k, double value) {
        Found f;
        if (!find(j, k, f)) {
            refused_value(j, k);
            return;
        }
        f.h->values[f.k - 1] = value;
    }

    template <int A>
    static void emb_set_number(Base *j, int32_t k, int64_t v) {
        Place p{j, k, {}};
        if (!locate(p)) {
            report_refused_number<A>(p);
            return;
        }
        K::numbers(head(p.at), A)[p.k - 1] = as_stored(wrap_add(v, p.add[A]));
    }
    template <int A>
    static int64_t emb_inq_number(Base *j, int32_t k) {
        Place p{j, k, {}};
        if (!locate(p)) {
            rtopipe::report(is_head(p.at) ? msg::kHeadInqNumber[A] : msg::kEmbInqNumber[A], clamp32(p.k),
                            p.at->nnz);
            return 0;
        }
        return wrap_sub(K::numbers(head(p.at), A)[p.k - 1], p.add[A]);
    }

    static void head_set_value(Base *j, int32_t k, double v) {
        if (!within(k, j)) {
            rtopipe::report(msg::kHeadSetValue, k, j->nnz);
            return;
        }
        head(j)->values[k - 1] = v;
    }
    static double head_inq_value(Base *j, int32_t k) {
        if (!within(k, j)) {
            rtopipe::report(msg::kHeadInqValue, k, j->nnz);
            return 0.0;
        }
        return head(j)->values[k - 1];
    }
    static void emb_set_value(Base *j, int32_t k, double v) {
        Place p{j, k, {}};
        if (!locate(p)) {
            report_refused_value(p);
            return;
        }
        head(p.at)->values[p.k - 1] = v;
    }
    static double emb_inq_value(Base *j, int32_t k) {
        Place p{j, k, {}};
        if (!locate(p)) {
            rtopipe::report(is_head(p.at) ? msg::kHeadInqValue : msg::kEmbInqValue, clamp32(p.k), p.at->nnz);
            return 0.0;
        }
        return head(p.at)->values[p.k - 1];
    }

    // ---- the head's arrays and the offsets ----

    template <int A>
    static int64_t *head_numbers(Base *j) {
        return K::numbers(head(j), A);
    }
    template <int A>
    static int64_t *emb_numbers(Base *j) {
        Emb *e = emb(j);
        return K::template numbers_of<A>(e->parent->ops)(e->parent) + e->nzOffset;
    }
    static double *head_values(Base *j) { return head(j)->values; }
    static double *emb_values(Base *j) {
        Emb *e = emb(j);
        return e->parent->ops->valptr(e->parent) + e->nzOffset;
    }
    template <int A>
    static int64_t head_offset(Base *) {
        return 0;
    }
    template <int A>
    static int64_t emb_offset(Base *j) {
        Emb *e = emb(j);
        return K::template offset_of<A>(e->parent->ops)(e->parent) + K::offset(e, A);
    }

    // ---- moving ----

    static bool head_move(Base *j, int32_t src, int32_t dst, int32_t count) {
        if (src == dst || count == 0) return true;
        if (count < 0) {
            rtopipe::report(K::kHeadMoveNegative, count);
            return false;
        }
        if (!run_within(src, count, j->nnz) || !run_within(dst, count, j->nnz)) {
            rtopipe::report(K::kHeadMoveBad, src, dst, count, j->nnz);
            return false;
        }
        Head *h = head(j);
        const size_t n = static_cast<size_t>(count);
        for (int a = 0; a < K::kAxes; ++a) {
            int64_t *c = K::numbers(h, a);
            std::memmove(c + dst - 1, c + src - 1, n * sizeof(int64_t));
        }
        std::memmove(h->values + dst - 1, h->values + src - 1, n * sizeof(double));
        if constexpr (K::kLinear) std::memmove(h->linear + dst - 1, h->linear + src - 1, n);
        // The source entries not overwritten: the last ones moving down, the first ones moving up.
        const int32_t distance = dst > src ? dst - src : src - dst;
        const int32_t left = count < distance ? count : distance;
        const int32_t from = dst < src ? src + count - left : src;
        for (int a = 0; a < K::kAxes; ++a)
            std::memset(K::numbers(h, a) + from - 1, 0, static_cast<size_t>(left) * sizeof(int64_t));
        for (int32_t k = from; k < from + left; ++k) h->values[k - 1] = 0.0;
        if constexpr (K::kLinear) std::memset(h->linear + from - 1, 0, static_cast<size_t>(left));
        return true;
    }

    static bool emb_move(Base *j, int32_t src, int32_t dst, int32_t count) {
        if (src == dst) return true;
        if (count < 0) {
            rtopipe::report(K::kEmbMoveNegative, count);
            return false;
        }
        if (!run_within(src, count, j->nnz) || !run_within(dst, count, j->nnz)) {
            rtopipe::report(K::kEmbMoveBad, src, dst, count, j->nnz);
            return false;
        }
        Emb *e = emb(j);
        return e->parent->ops->move_items(e->parent, up(e, src), up(e, dst), count);
    }

    static void head_relocate(Base *, int32_t, int32_t, int32_t) { rtopipe::report(K::kHeadRelocate); }

    // The variable shift moves every variable axis, the equation shift the equations.
    static void emb_relocate(Base *j, int32_t z, int32_t dv, int32_t de) {
        Emb *e = emb(j);
        int64_t moved[K::kAxes];
        bool ok = z >= 1;
        for (int a = 0; a < K::kAxes; ++a) {
            moved[a] = static_cast<int64_t>(K::offset(e, a)) + (a == kEqn ? de : dv);
            ok = ok && moved[a] >= 0 && moved[a] <= UINT32_MAX;
        }
        if (!ok) {
            rtopipe::report(msg::kBadRelocate, K::kRelocateName, z, dv, de);
            return;
        }
        if (static_cast<int64_t>(z) + j->nnz - 1 > e->parent->ops->inq_nnz(e->parent)) {
            rtopipe::report(K::kEmbRelocate);
            return;
        }
        if (j->nnz > 0 && !e->parent->ops->move_items(e->parent, up(e, 1), z, j->nnz)) return;
        e->nzOffset = static_cast<uint32_t>(z - 1);
        for (int a = 0; a < K::kAxes; ++a) K::offset(e, a) = static_cast<uint32_t>(moved[a]);
    }

    // ---- whole-store operations ----

    // How many of j's first nonzeros are nonzeros of every ancestor (a parent
    // cut below a window leaves part of the window without cells).
    static int32_t reachable(Base *j) {
        int64_t n = j->nnz, start = 0;
        for (Base *c = j; !is_head(c); c = emb(c)->parent) {
            start += emb(c)->nzOffset;
            const int64_t room = emb(c)->parent->nnz - start;
            if (room < n) n = room;
        }
        return n > 0 ? static_cast<int32_t>(n) : 0;
    }

    // Every number of axis A of j's nonzeros from an array of local numbers.
    template <int A>
    static void set_numbers(Base *j, const int64_t *local, const char *null_jac, const char *name) {
        if (j == nullptr) {
            assert_report(null_jac, K::kSource, __LINE__);
            return;
        }
        if (j->nnz == 0) return;
        if (local == nullptr) {
            assert_report(msg::kAssertNullArray, K::kSource, __LINE__);
            return;
        }
        if (reachable(j) < j->nnz) {
            rtopipe::report(msg::kBeyondParent, name);
            return;
        }
        int64_t *cells = K::template numbers_of<A>(j->ops)(j);
        const int64_t off = K::template offset_of<A>(j->ops)(j);
        for (int32_t k = 0; k < j->nnz; ++k) cells[k] = wrap_add(local[k], off);
    }

    // The local numbers of axis A for a Fortran caller.
    template <int A>
    static Pattern pattern(Base *j, bool force) {
        if (j == nullptr) return {0, false};
        int64_t *own = K::template numbers_of<A>(j->ops)(j);
        const int64_t off = K::template offset_of<A>(j->ops)(j);
        if (!force && off == 0) return {rto_iptr2plex_c(own), false};
        int64_t *copy = nullptr;
        if (!int_block(&copy, j->capacity)) raise_again();
        const int32_t n = reachable(j);
        for (int32_t k = 0; k < n; ++k) copy[k] = wrap_sub(own[k], off);
        for (int32_t k = n; k < j->capacity; ++k) copy[k] = 0;
        return {rto_iptr2plex_c(copy), true};
    }

    // Adds each axis's shift to its numbers within its range, over nonzeros
    // first..last of j; ranges are local to j. The range of nonzeros must
    // lie within every level's nnz.
    static void renumber(Base *j, int32_t first, int32_t last, Shift (&s)[K::kAxes], const char *name) {
        int64_t f = first, l = last;
        Base *c = j;
        for (;;) {
            if (f < 1 || l > c->nnz) {
                rtopipe::report(msg::kBadRange, name, clamp32(f), clamp32(l), c->nnz);
                return;
            }
            if (is_head(c)) break;
            Emb *e = emb(c);
            f += e->nzOffset;
            l += e->nzOffset;
            for (int a = 0; a < K::kAxes; ++a) {
                s[a].low = s[a].low == INT64_MIN ? INT64_MIN : s[a].low + K::offset(e, a);
                s[a].high = s[a].high == INT64_MAX ? INT64_MAX : s[a].high + K::offset(e, a);
            }
            c = e->parent;
        }
        // One pass over the nonzeros for every axis at once. Each range is
        // held in locals (the numbers are int64_t too, and would be read
        // again after every store) and tested with one unsigned comparison
        // of the distance from low against the width; an empty range shifts
        // nothing.
        int64_t *n[K::kAxes];
        int64_t low[K::kAxes], by[K::kAxes];
        uint64_t width[K::kAxes];
        for (int a = 0; a < K::kAxes; ++a) {
            n[a] = K::numbers(head(c), a);
            low[a] = s[a].low;
            by[a] = s[a].low > s[a].high ? 0 : s[a].by;
            width[a] = static_cast<uint64_t>(s[a].high) - static_cast<uint64_t>(low[a]);
        }
        for (int64_t k = f - 1; k < l; ++k)
            for (int a = 0; a < K::kAxes; ++a)
                if (by[a] != 0 && static_cast<uint64_t>(n[a][k]) - static_cast<uint64_t>(low[a]) <= width[a])
                    n[a][k] = wrap_add(n[a][k], by[a]);
    }

    // The first nonzero after start for which test gives 1; 0 when it gives
    // 0 for all of them or -1 (no pattern) for one.
    template <class Test>
    static int32_t search(Base *j, int32_t start, Test test) {
        // Counted in 64 bits: the nonzero after INT32_MAX is beyond every store.
        for (int64_t k = static_cast<int64_t>(start > 0 ? start : 0) + 1; k <= j->nnz; ++k) {
            const int r = test(static_cast<int32_t>(k));
            if (r < 0) return 0;
            if (r > 0) return static_cast<int32_t>(k);
        }
        return 0;
    }
};

}  // namespace zarn::rtjacbn

#endif
