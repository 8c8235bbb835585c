// Finite-difference Jacobian by reverse communication: each call perturbs
// one group of variables and returns so that the driver evaluates the
// residuals; the next call turns the change into Jacobian entries.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "numutil/numutil_internal.h"
#include "numutil/numutil_messages.h"
#include "platform/checked.h"
#include "platform/xalloc.h"
#include "rtopipe/report.h"
#include "zarnutils/varutl.h"

namespace zarn::numutil {
namespace {

using rtopipe::report;

constexpr const char *kFn = "u3njac_compute";

inline long long ll(int64_t v) { return static_cast<long long>(v); }

// The one evaluation in progress in the process.
struct Evaluation {
    int64_t current = 0;  // group being evaluated, 0 before the first
    int64_t slot = 0;     // position of its count in the group list
    int64_t g = 0;        // the object and its sizes when the evaluation began
    int64_t ncol = 0, nrow = 0, nnz = 0;
    double *f0 = nullptr;        // residuals before any perturbation (nrow)
    double *x0 = nullptr;        // variables before any perturbation (ncol)
    double *step = nullptr;      // actual step of every column (ncol)
    int64_t *groupof = nullptr;  // group of every column, 0 for none (ncol)
};
Evaluation ev;

void release() {
    std::free(ev.f0);
    std::free(ev.x0);
    std::free(ev.step);
    std::free(ev.groupof);
    ev.f0 = ev.x0 = ev.step = nullptr;
    ev.groupof = nullptr;
}

template <class T>
T *take(int64_t n) {
    return static_cast<T *>(xmalloc(static_cast<std::size_t>(n > 0 ? n : 1) * sizeof(T)));
}

// Saves f and x and notes every column's group; false after a message.
bool begin(const NjacArgs &a, const Groups &grp) {
    release();
    ev.f0 = take<double>(grp.nrow);
    ev.x0 = take<double>(grp.ncol);
    ev.step = take<double>(grp.ncol);
    ev.groupof = take<int64_t>(grp.ncol);
    if (ev.f0 == nullptr || ev.x0 == nullptr || ev.step == nullptr || ev.groupof == nullptr) {
        release();
        report(msg::kNoMemory, kFn, ll(2 * grp.nrow + 3 * grp.ncol));
        return false;
    }
    std::memcpy(ev.f0, a.f, static_cast<std::size_t>(grp.nrow) * sizeof(double));
    std::memcpy(ev.x0, a.x, static_cast<std::size_t>(grp.ncol) * sizeof(double));
    std::memset(ev.step, 0, static_cast<std::size_t>(grp.ncol) * sizeof(double));
    std::memset(ev.groupof, 0, static_cast<std::size_t>(grp.ncol) * sizeof(int64_t));
    int64_t slot = 0;
    for (int64_t h = 1; h <= grp.ngroups; ++h) {
        const int64_t count = grp.list[slot];
        for (int64_t i = 1; i <= count; ++i) ev.groupof[grp.list[slot + i] - 1] = h;
        slot += count + 1;
    }
    ev.g = a.g;
    ev.ncol = grp.ncol;
    ev.nrow = grp.nrow;
    ev.nnz = grp.nnz;
    return true;
}

// Moves every column of the group at ev.slot by its step.
void perturb(const NjacArgs &a, const Groups &grp) {
    const int64_t count = grp.list[ev.slot];
    for (int64_t i = 1; i <= count; ++i) {
        const int64_t j = grp.list[ev.slot + i] - 1;
        // A price type -p steps like p.
        const int32_t p = std::abs(varInqPhysicalType(a.status[j]));
        const double d = a.minstep[p] * a.typical[j];
        const double step = std::fabs(a.x[j]) >= d ? a.x[j] * a.relstep : d * a.relstep;
        a.x[j] += step;
        ev.step[j] = a.x[j] - ev.x0[j];
    }
}

// Entries of the current group from the change of f; puts its columns back.
void collect(const NjacArgs &a, const Groups &grp) {
    const int64_t k = ev.current;
    for (int64_t i = 0; i < grp.nrow; ++i) {
        const double df = a.f[i] - ev.f0[i];
        for (int64_t q = grp.start[i] - 1; q < grp.start[i + 1] - 1; ++q) {
            int64_t c = 0;
            if (__builtin_sub_overflow(a.cols[q], a.coloffset, &c) || !index_within(c, grp.ncol)) continue;
            if (ev.groupof[c - 1] != k) continue;
            a.jac[q] = df / ev.step[c - 1];  // a step of 0 gives an infinity or NaN, as the division does
            break;
        }
    }
    const int64_t count = grp.list[ev.slot];
    for (int64_t i = 1; i <= count; ++i) {
        const int64_t j = grp.list[ev.slot + i] - 1;
        a.x[j] = ev.x0[j];
    }
}

// Position of group k's count in a consistent group list.
int64_t slot_of(const Groups &grp, int64_t k) {
    int64_t slot = 0;
    for (int64_t h = 1; h < k; ++h) slot += grp.list[slot] + 1;
    return slot;
}

}  // namespace

void njac_reset() {
    release();
    ev.current = 0;
    ev.slot = 0;
    ev.g = 0;
}

int64_t njac(const NjacArgs &a, int64_t *state) {
    Groups grp{};
    if (!open_groups(kFn, a.g, &grp)) return 1;
    if (grp.nnz == 0) return 0;
    if (state == nullptr) {
        report(msg::kMissingArray, kFn);
        return 1;
    }
    if (*state == 0) {
        njac_reset();
        *state = 1;
        return 0;
    }
    if (*state != 1) return 0;
    if (a.x == nullptr || a.typical == nullptr || a.status == nullptr || a.f == nullptr ||
        a.cols == nullptr || a.minstep == nullptr || a.jac == nullptr) {
        report(msg::kMissingArray, kFn);
        return 1;
    }
    // x, f and jac are written while the object's entries and blocks are still read.
    const struct {
        const double *at;
        int64_t count;
    } written[] = {{a.x, grp.ncol}, {a.f, grp.nrow}, {a.jac, grp.nnz}};
    for (const auto &w : written) {
        if (overlap(w.at, w.count, grp.x, kVgrpLength, 8) ||
            overlap(w.at, w.count, grp.list, 2 * grp.ncol, 8) ||
            overlap(w.at, w.count, grp.start, grp.nrow + 1, 8)) {
            report(msg::kOverlap, kFn);
            return 1;
        }
    }
    if (ev.current == 0) {
        if (!groups_consistent(kFn, grp) || !begin(a, grp)) return 1;
        if (grp.ngroups == 0) {
            njac_reset();
            *state = 2;
            return 0;
        }
        ev.current = 1;
        ev.slot = 0;
        perturb(a, grp);
        return 0;
    }
    if (a.g != ev.g || grp.ncol != ev.ncol || grp.nrow != ev.nrow || grp.nnz != ev.nnz ||
        !groups_consistent(kFn, grp) || ev.current > grp.ngroups || slot_of(grp, ev.current) != ev.slot) {
        report(msg::kOtherObject, kFn, ll(ev.g), ll(a.g));
        return 1;
    }
    collect(a, grp);
    if (ev.current == grp.ngroups) {
        std::memcpy(a.f, ev.f0, static_cast<std::size_t>(grp.nrow) * sizeof(double));
        njac_reset();
        *state = 2;
        return 0;
    }
    ev.slot += grp.list[ev.slot] + 1;
    ++ev.current;
    perturb(a, grp);
    return 0;
}

}  // namespace zarn::numutil
