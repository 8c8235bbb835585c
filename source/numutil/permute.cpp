// Permutations that move dropped items to the end of their vectors, their
// blocks, and their use on vectors and on a Jacobian's row and column arrays.
#include <cstring>

#include "numutil/numutil_internal.h"
#include "numutil/numutil_messages.h"
#include "platform/checked.h"
#include "rtopipe/report.h"
#include "zarnutils/numutil.h"
#include "zarnutils/varutl.h"
#include "zarnutils/zarnmalloc.h"

namespace zarn::numutil {
namespace {

using rtopipe::report;

constexpr int32_t kObjective = 5;  // math type of the objective function

inline int64_t *view(int64_t p) {
    if (ZARN_ib0 == nullptr) (void)FORTRAN_MALLOC_INIT();
    return reinterpret_cast<int64_t *>(reinterpret_cast<uintptr_t>(ZARN_ib0) + static_cast<uint64_t>(p) * 8u);
}

// A variable's fixed test looks only at its spec (bits 0-3), an equation's
// at its include flag and math type (bits 0-3): each builder asks the status
// accessors once per bit pattern, not once per item.
struct Classes {
    bool free[16];
    bool active[16];
    Classes() {
        for (int32_t s = 0; s < 16; ++s) {
            free[s] = varIsFixed(s) == 0;
            active[s] = u3rinc_c(s) != 0 && u3rgmt_c(s) != kObjective;
        }
    }
    bool var_free(int64_t w) const { return free[w & 0xF]; }
    bool eqn_active(int64_t w) const { return active[w & 0xF]; }
};

}  // namespace

int64_t *ints_at(int64_t p) { return view(p); }

double *reals_at(int64_t p) {
    if (ZARN_b0 == nullptr) (void)FORTRAN_MALLOC_INIT();
    return reinterpret_cast<double *>(reinterpret_cast<uintptr_t>(ZARN_b0) + static_cast<uint64_t>(p) * 8u);
}

namespace {

// count elements plus the allocator's spare one fit a block.
bool block_count_ok(const char *fn, int64_t count) {
    int64_t total = 0;
    std::size_t bytes = 0;
    if (!checked_add<int64_t>(count, 1, &total) || !byte_count(total, 8u, &bytes)) {
        report(msg::kBadCount, fn, static_cast<long long>(count));
        return false;
    }
    return true;
}

}  // namespace

int64_t new_int_block(const char *fn, int64_t count) {
    if (!block_count_ok(fn, count)) return 0;
    return RTO_HUGEIMALLOC(&count);
}

int64_t new_real_block(const char *fn, int64_t count) {
    if (!block_count_ok(fn, count)) return 0;
    return RTO_HUGEDMALLOC(&count);
}

bool open_perm(const char *fn, int64_t block, Perm *out) {
    if (block == 0) {
        report(msg::kNoBlock, fn);
        return false;
    }
    const int64_t *x = view(block);
    const int64_t n = x[0] >= 3 ? x[0] - 3 : -1;
    if (n < 0 || x[n + 1] != n || x[n + 2] < 0 || x[n + 2] > n) {
        report(msg::kNotPermutation, fn, static_cast<long long>(block));
        return false;
    }
    *out = Perm{x, n, x[n + 2]};
    return true;
}

bool overlap(const void *a, int64_t acount, const void *b, int64_t bcount, std::size_t width) {
    if (acount <= 0 || bcount <= 0) return false;
    const auto x = reinterpret_cast<uintptr_t>(a), y = reinterpret_cast<uintptr_t>(b);
    // Elements from the lower start to the higher one, against the lower array's count.
    const uint64_t gap = (x < y ? y - x : x - y) / width;
    return gap < static_cast<uint64_t>(x < y ? acount : bcount);
}

bool tail_in_range(const char *fn, const Perm &perm) {
    for (int64_t i = perm.m + 1; i <= perm.n; ++i) {
        if (!index_within(perm.p[i], perm.n)) {
            report(msg::kIndexRange, fn, static_cast<long long>(perm.p[i]), static_cast<long long>(i),
                   static_cast<long long>(perm.n));
            return false;
        }
    }
    return true;
}

namespace {

// Allocates the block of n items, fills p(1..n) from retained(i) and returns
// m; nothing is allocated when n is bad.
template <class Retained>
int64_t make_block(const char *fn, int64_t n, int64_t *block, Retained retained) {
    int64_t length = 0;
    if (n < 0 || !checked_add<int64_t>(n, 3, &length)) {
        report(msg::kBadCount, fn, static_cast<long long>(n));
        return 0;
    }
    const int64_t b = new_int_block(fn, length);
    if (b == 0) return 0;
    int64_t *x = view(b);
    const int64_t m = make_permutation(n, retained, x);
    x[0] = length;
    x[n + 1] = n;
    x[n + 2] = m;
    *block = b;
    return m;
}

}  // namespace

int64_t build_items(const char *fn, Rule rule, const int64_t *status, int64_t n, int64_t incid,
                    int64_t *block) {
    *block = 0;
    const bool usesStatus = rule != Rule::VarIncidenceOnly;
    const bool usesIncidence =
        rule == Rule::VarFreeIncidence || rule == Rule::VarIncidenceOnly || rule == Rule::EqnActiveIncidence;
    if (n < 0) {
        report(msg::kBadCount, fn, static_cast<long long>(n));
        return 0;
    }
    if (n > 0 && usesStatus && status == nullptr) {
        report(msg::kMissingArray, fn);
        return 0;
    }
    if (n > 0 && usesIncidence && incid == 0) {
        report(msg::kNoBlock, fn);
        return 0;
    }
    const int64_t *counts = usesIncidence && n > 0 ? view(incid) : nullptr;
    const Classes is;
    switch (rule) {
        case Rule::VarFree:
            return make_block(fn, n, block, [&](int64_t i) { return is.var_free(status[i - 1]); });
        case Rule::VarFreeIncidence:
            return make_block(fn, n, block,
                              [&](int64_t i) { return is.var_free(status[i - 1]) && counts[i - 1] != 0; });
        case Rule::VarIncidenceOnly:
            return make_block(fn, n, block, [&](int64_t i) { return counts[i - 1] != 0; });
        case Rule::EqnActive:
            return make_block(fn, n, block, [&](int64_t i) { return is.eqn_active(status[i - 1]); });
        case Rule::EqnActiveIncidence:
            return make_block(fn, n, block,
                              [&](int64_t i) { return is.eqn_active(status[i - 1]) && counts[i - 1] != 0; });
    }
    return 0;
}

int64_t build_nonzeros(const char *fn, const int64_t *eqnstatus, const int64_t *varstatus,
                       const int64_t *rows, const int64_t *cols, int64_t nnz, bool withIncidence,
                       int64_t eqnincid, int64_t varincid, int64_t *block) {
    *block = 0;
    if (nnz < 0) {
        report(msg::kBadCount, fn, static_cast<long long>(nnz));
        return 0;
    }
    if (nnz > 0 && (eqnstatus == nullptr || varstatus == nullptr || rows == nullptr || cols == nullptr)) {
        report(msg::kMissingArray, fn);
        return 0;
    }
    if (nnz > 0 && withIncidence && (eqnincid == 0 || varincid == 0)) {
        report(msg::kNoBlock, fn);
        return 0;
    }
    const int64_t *eqnCounts = withIncidence && nnz > 0 ? view(eqnincid) : nullptr;
    const int64_t *varCounts = withIncidence && nnz > 0 ? view(varincid) : nullptr;
    const Classes is;
    auto retained = [&](int64_t k) {
        const int64_t r = rows[k - 1], c = cols[k - 1];
        if (r < 1 || c < 1) return false;
        if (!is.var_free(varstatus[c - 1]) || !is.eqn_active(eqnstatus[r - 1])) return false;
        return !withIncidence || (eqnCounts[r - 1] != 0 && varCounts[c - 1] != 0);
    };
    return make_block(fn, nnz, block, retained);
}

namespace {

template <class T>
void swap_tail(const Perm &perm, T *v) {
    for (int64_t i = perm.m + 1; i <= perm.n; ++i) {
        const int64_t j = perm.p[i];
        if (j != i) {
            const T t = v[i - 1];
            v[i - 1] = v[j - 1];
            v[j - 1] = t;
        }
    }
}

template <class T>
void apply(const char *fn, int64_t block, T *v) {
    Perm perm{};
    if (!open_perm(fn, block, &perm)) return;
    if (perm.n > 0 && v == nullptr) {
        report(msg::kMissingArray, fn);
        return;
    }
    // Swapping inside the block itself would change the permutation under way.
    if (overlap(v, perm.n, perm.p, perm.n + 3, sizeof(int64_t))) {
        report(msg::kOverlap, fn);
        return;
    }
    if (!tail_in_range(fn, perm)) return;
    swap_tail(perm, v);
}

// Opens and checks a permutation and a source vector for a copy; n in *n.
bool open_for_copy(const char *fn, int64_t block, const void *v, Perm *perm) {
    if (!open_perm(fn, block, perm)) return false;
    if (perm->n > 0 && v == nullptr) {
        report(msg::kMissingArray, fn);
        return false;
    }
    return tail_in_range(fn, *perm);
}

}  // namespace

void apply_reals(const char *fn, int64_t block, double *v) { apply(fn, block, v); }
void apply_ints(const char *fn, int64_t block, int64_t *v) { apply(fn, block, v); }

int64_t copy_apply_reals(const char *fn, int64_t block, const double *v) {
    Perm perm{};
    if (!open_for_copy(fn, block, v, &perm)) return 0;
    const int64_t out = new_real_block(fn, perm.n);
    if (out == 0) return 0;
    double *w = reals_at(out);
    if (perm.n > 0) std::memcpy(w, v, static_cast<std::size_t>(perm.n) * sizeof(double));
    swap_tail(perm, w);
    return out;
}

int64_t copy_apply_ints(const char *fn, int64_t block, const int64_t *v) {
    Perm perm{};
    if (!open_for_copy(fn, block, v, &perm)) return 0;
    const int64_t out = new_int_block(fn, perm.n);
    if (out == 0) return 0;
    int64_t *w = view(out);
    if (perm.n > 0) std::memcpy(w, v, static_cast<std::size_t>(perm.n) * sizeof(int64_t));
    swap_tail(perm, w);
    return out;
}

namespace {

// Permutes idx by the nonzero permutation and maps every entry in 1..n
// through the item permutation.
void jac_permute_map(const Perm &nz, const Perm &items, int64_t *idx) {
    swap_tail(nz, idx);
    for (int64_t k = 0; k < nz.n; ++k) {
        if (index_within(idx[k], items.n)) idx[k] = items.p[idx[k]];
    }
}

bool open_jac(const char *fn, int64_t nzblock, int64_t itemblock, const void *idx, Perm *nz, Perm *items) {
    if (!open_perm(fn, nzblock, nz) || !open_perm(fn, itemblock, items)) return false;
    if (nz->n > 0 && idx == nullptr) {
        report(msg::kMissingArray, fn);
        return false;
    }
    return tail_in_range(fn, *nz);
}

}  // namespace

void jac_apply(const char *fn, int64_t nzblock, int64_t itemblock, int64_t *idx) {
    Perm nz{}, items{};
    if (!open_jac(fn, nzblock, itemblock, idx, &nz, &items)) return;
    if (overlap(idx, nz.n, nz.p, nz.n + 3, sizeof(int64_t)) ||
        overlap(idx, nz.n, items.p, items.n + 3, sizeof(int64_t))) {
        report(msg::kOverlap, fn);
        return;
    }
    jac_permute_map(nz, items, idx);
}

int64_t jac_copy_apply(const char *fn, int64_t nzblock, int64_t itemblock, const int64_t *idx) {
    Perm nz{}, items{};
    if (!open_jac(fn, nzblock, itemblock, idx, &nz, &items)) return 0;
    const int64_t out = new_int_block(fn, nz.n);
    if (out == 0) return 0;
    int64_t *w = view(out);
    if (nz.n > 0) std::memcpy(w, idx, static_cast<std::size_t>(nz.n) * sizeof(int64_t));
    jac_permute_map(nz, items, w);
    return out;
}

namespace {

void bounds_message(const char *title, int64_t i, const char *label, int64_t bound) {
    zarn_funit_list_text(title, std::strlen(title));
    zarn_funit_list_int(msg::kLabelI, std::strlen(msg::kLabelI), i);
    zarn_funit_list_int(label, std::strlen(label), bound);
}

}  // namespace

int64_t comp2uncomp(int64_t block, int64_t i) {
    Perm perm{};
    if (!open_perm("u3perm_comp2uncomp", block, &perm)) return 0;
    if (!index_within(i, perm.m)) {
        bounds_message(msg::kComp2UncompBounds, i, msg::kLabelNxc, perm.m);
        return 0;
    }
    return perm.p[i];
}

int64_t uncomp2comp(int64_t block, int64_t i) {
    Perm perm{};
    if (!open_perm("u3perm_uncomp2comp", block, &perm)) return 0;
    if (!index_within(i, perm.n)) {
        bounds_message(msg::kUncomp2CompBounds, i, msg::kLabelNx, perm.n);
        return 0;
    }
    return perm.p[i];
}

}  // namespace zarn::numutil
