// Singleton's quicksort, as the SLATEC sorts do it: median-of-three split at a
// fraction of the segment, the larger part stacked and the smaller one split
// next. Descending order is an ascending sort of the keys reversed in sign.
// Callers see the order of equal keys (the largest residuals list ties in
// it), so the flow of control is SLATEC's to the step: the fraction moves once,
// before the first split, and every segment of two or more keys is split, so
// the insertion pass that finishes short segments only ever meets one key.
#include "numutil/numutil_internal.h"
#include "numutil/numutil_messages.h"
#include "rtopipe/report.h"

namespace zarn::numutil {
namespace {

// The split fraction: starts here and moves before the first split.
constexpr double kSplitStart = 0.375;
constexpr double kSplitTurn = 0.5898437;
constexpr double kSplitStep = 0.0390625;
constexpr double kSplitBack = 0.21875;

// Keys x (0-based) with an optional carried array y of the same length.
template <class K, class C>
struct Sorter {
    K *x;
    C *y;

    void swap(int64_t a, int64_t b) {
        const K t = x[a];
        x[a] = x[b];
        x[b] = t;
        if (y != nullptr) {
            const C u = y[a];
            y[a] = y[b];
            y[b] = u;
        }
    }

    // Splits x[i..j] around the median of x[i], x[ij], x[j]; on return
    // x[i..l] <= t <= x[k..j] with l < k. x[i] and x[j] bound both scans.
    void split(int64_t i, int64_t j, double r, int64_t *lOut, int64_t *kOut) {
        const int64_t ij = i + static_cast<int64_t>(static_cast<double>(j - i) * r);
        K t = x[ij];
        if (x[i] > t) {
            swap(i, ij);
            t = x[ij];
        }
        if (x[j] < t) {
            swap(ij, j);
            t = x[ij];
            if (x[i] > t) {
                swap(i, ij);
                t = x[ij];
            }
        }
        int64_t l = j, k = i;
        for (;;) {
            do --l;
            while (x[l] > t);
            do ++k;
            while (x[k] < t);
            if (k > l) break;
            swap(l, k);
        }
        *lOut = l;
        *kOut = k;
    }

    void run(int64_t n) {
        const double r = kSplitStart <= kSplitTurn ? kSplitStart + kSplitStep : kSplitStart - kSplitBack;
        int64_t lower[64], upper[64];
        int depth = 0;
        int64_t i = 0, j = n - 1;
        for (;;) {
            if (i < j) {
                int64_t l = 0, k = 0;
                split(i, j, r, &l, &k);
                // Stack the larger part, go on with the smaller: depth stays below 64.
                if (l - i > j - k) {
                    lower[depth] = i;
                    upper[depth] = l;
                    i = k;
                } else {
                    lower[depth] = k;
                    upper[depth] = j;
                    j = l;
                }
                ++depth;
                continue;
            }
            if (depth == 0) return;
            --depth;
            i = lower[depth];
            j = upper[depth];
        }
    }
};

bool valid_mode(int64_t kflag) { return kflag == 1 || kflag == 2 || kflag == -1 || kflag == -2; }

// Checks shared by both sorts; false means return without sorting.
bool sort_args_ok(const char *fn, const void *x, const void *y, int64_t n, int64_t kflag) {
    if (n < 1 || !valid_mode(kflag)) return false;
    if (x == nullptr || ((kflag == 2 || kflag == -2) && y == nullptr)) {
        rtopipe::report(msg::kMissingArray, fn);
        return false;
    }
    // y carried along part of x would move keys behind the sort's back.
    if ((kflag == 2 || kflag == -2) && x != y && overlap(x, n, y, n, 8)) {
        rtopipe::report(msg::kOverlap, fn);
        return false;
    }
    return true;
}

// Whether y is moved along with x: the same array passed twice is sorted once.
bool carried(const void *x, const void *y, int64_t kflag) { return (kflag == 2 || kflag == -2) && x != y; }

}  // namespace

void sort_reals(double *x, double *y, int64_t n, int64_t kflag) {
    if (!sort_args_ok("slatec_dsort", x, y, n, kflag)) return;
    const bool carry = carried(x, y, kflag);
    if (kflag < 0) {
        for (int64_t i = 0; i < n; ++i) x[i] = -x[i];
    }
    Sorter<double, double>{x, carry ? y : nullptr}.run(n);
    if (kflag < 0) {
        for (int64_t i = 0; i < n; ++i) x[i] = -x[i];
    }
}

void sort_ints(int64_t *x, int64_t *y, int64_t n, int64_t kflag) {
    if (!sort_args_ok("slatec_isort", x, y, n, kflag)) return;
    const bool carry = carried(x, y, kflag);
    // Ones' complement reverses the order like negation and cannot overflow.
    if (kflag < 0) {
        for (int64_t i = 0; i < n; ++i) x[i] = ~x[i];
    }
    Sorter<int64_t, int64_t>{x, carry ? y : nullptr}.run(n);
    if (kflag < 0) {
        for (int64_t i = 0; i < n; ++i) x[i] = ~x[i];
    }
}

}  // namespace zarn::numutil
