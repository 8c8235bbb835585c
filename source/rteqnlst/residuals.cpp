// What the solver asks of the equations as a whole: inclusion, the residual
// norm, and the equations with the largest residuals or shadow prices. All of
// it works on whole columns.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/xalloc.h"
#include "platform/zassert.h"
#include "rteqnlst/rteqnlst_internal.h"
#include "rteqnlst/rteqnlst_messages.h"
#include "rtopipe/report.h"
#include "zarnutils/numutil.h"
#include "zarnutils/varutl.h"

namespace zarn::rteqnlst {

namespace {

using zarn::rtattrdict::held_elements;

inline bool included(int64_t word) { return u3rinc_c(static_cast<int32_t>(word)) != 0; }

// What orders the equations of a largest-value list.
enum class Key { kResidual, kShadowPrice, kWeightedShadowPrice };

// The columns a list reads, cell k - 1 holding equation k.
struct Columns {
    const double *residual;
    const double *price;
    const int64_t *status;
};

// The key of the equation in cell k.
template <Key how>
inline double key_of(const Columns &c, int32_t k) {
    if constexpr (how == Key::kResidual) {
        return std::fabs(c.residual[k]);
    } else {
        const double p = c.price[k];
        if (p == RTOEQNLST_UNDEFINED) return -1.0;
        if constexpr (how == Key::kShadowPrice) {
            return std::fabs(p);
        } else {
            const double r = c.residual[k];
            return r == RTOEQNLST_UNDEFINED ? -1.0 : std::fabs(p * r);
        }
    }
}

// The messages of one largest-value list.
struct Texts {
    const char *fn;
    const char *no_list, *start, *count, *no_out;
};

// The definition: every key of lo..hi with its index, sorted in decreasing
// order by the SLATEC sort (which decides the order of equal keys), then the
// first n included equations of that order.
template <Key how>
void by_full_sort(const char *fn, const Columns &c, int32_t lo, int32_t hi, int32_t n, int32_t *out) {
    const int32_t m = hi - lo + 1;
    auto *keys = static_cast<double *>(zarn::xmalloc(static_cast<size_t>(m) * sizeof(double)));
    auto *index = static_cast<double *>(zarn::xmalloc(static_cast<size_t>(m) * sizeof(double)));
    if (keys == nullptr || index == nullptr) {
        zarn::rtopipe::report(msg::kNoMemory, fn, m);
        std::free(keys);
        std::free(index);
        return;
    }
    for (int32_t j = 0; j < m; ++j) {
        keys[j] = key_of<how>(c, lo - 1 + j);
        index[j] = lo + j;
    }
    const int64_t count = m, descending_with_carry = -2;
    SLATEC_DSORT(keys, index, &count, &descending_with_carry);
    int32_t filled = 0;
    for (int32_t j = 0; j < m && filled < n; ++j) {
        const auto k = static_cast<int32_t>(index[j]);
        if (included(c.status[k - 1])) out[filled++] = k;
    }
    std::free(keys);
    std::free(index);
}

// The most entries the selection below keeps.
constexpr int32_t kKeptMax = 256;

struct Entry {
    double key;
    int32_t index;
};

// Min-heap order: the smallest kept key on top.
inline bool above(const Entry &a, const Entry &b) { return a.key > b.key; }

// One pass that keeps the n + 1 largest keys of included equations. When no
// key is NaN and those n + 1 keys are all different, the first n of them,
// largest first, are exactly what the full sort and its walk give (any sort
// orders distinct keys alike; excluded equations are skipped either way).
// False when the pass cannot tell (a NaN, or a tie among the kept keys).
template <Key how>
bool by_selection(const Columns &c, int32_t lo, int32_t hi, int32_t n, int32_t *out) {
    Entry kept[kKeptMax];
    const int32_t room = n + 1;
    int32_t size = 0;
    double floor = -INFINITY;  // a key must beat this to be kept
    for (int32_t k = lo - 1; k < hi; ++k) {
        const double v = key_of<how>(c, k);
        if (std::isnan(v)) return false;
        if (!(v > floor) || !included(c.status[k])) continue;
        if (size < room) {
            kept[size++] = {v, k + 1};
            std::push_heap(kept, kept + size, above);
            if (size == room) floor = kept[0].key;
        } else {
            std::pop_heap(kept, kept + size, above);
            kept[size - 1] = {v, k + 1};
            std::push_heap(kept, kept + size, above);
            floor = kept[0].key;
        }
    }
    std::sort_heap(kept, kept + size, above);  // largest first
    for (int32_t j = 0; j + 1 < size; ++j)
        if (kept[j].key == kept[j + 1].key) return false;
    for (int32_t j = 0; j < size && j < n; ++j) out[j] = kept[j].index;
    return true;
}

template <Key how>
void largest(const Texts &t, rtattrdict_t *list, int32_t first, int32_t last, int32_t n, int32_t *out) {
    if (list == nullptr) zarn::assert_report(t.no_list, msg::kSource, __LINE__);
    if (first <= 0) zarn::assert_report(t.start, msg::kSource, __LINE__);
    if (n <= 0) zarn::assert_report(t.count, msg::kSource, __LINE__);
    if (last < first || n <= 0) return;
    if (out == nullptr) {
        zarn::assert_report(t.no_out, msg::kSource, __LINE__);
        return;
    }
    std::fill(out, out + n, 0);
    if (list == nullptr || list->size == 0) return;
    const int32_t lo = std::max(first, 1), hi = std::min(last, held_elements(list));
    if (lo > hi) return;
    const Columns c = {rtattrdict_dvector(list, kResidual),
                       how == Key::kResidual ? nullptr : rtattrdict_dvector(list, kShadowPrice),
                       rtattrdict_ivector(list, kStatus)};
    if (c.residual == nullptr || c.status == nullptr || (how != Key::kResidual && c.price == nullptr)) return;
    // The selection pays while it keeps few entries against the range.
    const int64_t m = static_cast<int64_t>(hi) - lo + 1;
    const bool select = n < kKeptMax && (static_cast<int64_t>(n) + 1) * 4 <= m;
    if (select && by_selection<how>(c, lo, hi, n, out)) return;  // out is written only when it succeeds
    by_full_sort<how>(t.fn, c, lo, hi, n, out);
}

constexpr Texts kResidualTexts = {"rtoeqnlst_inq_max_residuals", msg::kAssertResidualsList,
                                  msg::kAssertResidualsStart, msg::kAssertResidualsCount,
                                  msg::kAssertResidualsOut};
constexpr Texts kPriceTexts = {"rtoeqnlst_inq_max_shadow_prices", msg::kAssertPricesList,
                               msg::kAssertPricesStart, msg::kAssertPricesCount, msg::kAssertPricesOut};

}  // namespace

}  // namespace zarn::rteqnlst

using namespace zarn::rteqnlst;

extern "C" {

int32_t rtoeqnlst_inq_neqn_active(rtattrdict_t *list) {
    if (list == nullptr) return 0;
    const int64_t *status = rtattrdict_ivector(list, kStatus);
    if (status == nullptr) return 0;
    int32_t active = 0;
    const int32_t held = held_elements(list);
    for (int32_t k = 0; k < held; ++k)
        if (included(status[k])) ++active;
    return active;
}

void rtoeqnlst_in_exclude_equation(rtattrdict_t *list, int32_t i, int32_t flag) {
    if (list == nullptr) zarn::assert_report(msg::kAssertIncludeList, msg::kSource, __LINE__);
    if (i <= 0) zarn::assert_report(msg::kAssertIncludePos, msg::kSource, __LINE__);
    if (list == nullptr || i < 1 || i > held_elements(list)) return;
    int64_t *status = rtattrdict_ivector(list, kStatus);
    if (status == nullptr) return;
    if (flag != 0)
        u3incr_c(&status[i - 1]);
    else
        u3uncr_c(&status[i - 1]);
}

void rtoeqnlst_norm(rtattrdict_t *list, int32_t first, int32_t last, double *out) {
    if (list == nullptr) zarn::assert_report(msg::kAssertNormList, msg::kSource, __LINE__);
    if (first <= 0) zarn::assert_report(msg::kAssertNormStart, msg::kSource, __LINE__);
    if (out == nullptr) return;
    *out = RTOEQNLST_UNDEFINED;
    if (list == nullptr || first < 1) return;
    if (last < first) {
        *out = 0.0;
        return;
    }
    if (last > list->size) return;
    last = std::min(last, held_elements(list));  // equations past a cut head's cells add nothing
    if (last < first) {
        *out = 0.0;
        return;
    }
    const double *residual = rtattrdict_dvector(list, kResidual);
    const int64_t *status = rtattrdict_ivector(list, kStatus);
    if (residual == nullptr || status == nullptr) return;
    *out = u3rmserr_c(last - first + 1, residual + (first - 1), status + (first - 1));
}

void rtoeqnlst_inq_max_residuals(rtattrdict_t *list, int32_t first, int32_t last, int32_t n, int32_t flag,
                                 int32_t *out) {
    (void)flag;  // callers pass it; the list has no use for it
    largest<Key::kResidual>(kResidualTexts, list, first, last, n, out);
}

void rtoeqnlst_inq_max_shadow_prices(rtattrdict_t *list, int32_t first, int32_t last, int32_t n,
                                     int32_t weighted, int32_t *out) {
    if (weighted != 0)
        largest<Key::kWeightedShadowPrice>(kPriceTexts, list, first, last, n, out);
    else
        largest<Key::kShadowPrice>(kPriceTexts, list, first, last, n, out);
}

}  // extern "C"
