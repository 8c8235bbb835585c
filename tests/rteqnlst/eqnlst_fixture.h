// Shared set-up of the equation-list tests: named lists, values made from
// short specs and shown as printed, and the largest-value lists computed the
// long way (a full SLATEC sort of the keys, then a walk over the included
// equations) for comparison.
#ifndef ZARN_TESTS_RTEQNLST_FIXTURE_H
#define ZARN_TESTS_RTEQNLST_FIXTURE_H

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "capture.h"
#include "zarnutils/numutil.h"
#include "zarnutils/rteqnlst.h"
#include "zarnutils/rtvalue.h"

namespace zarn::test {

// A list of n equations named EQ1..EQn (capacity n unless given).
inline rtattrdict_t *equations(int32_t n, int32_t capacity = -1) {
    rtattrdict_t *l = rtoeqnlst_create(capacity < 0 ? n : capacity);
    rtoeqnlst_set_neqn(l, n);
    for (int32_t k = 1; k <= n; ++k) rtoeqnlst_addeqn(l, k, ("EQ" + std::to_string(k)).c_str());
    return l;
}

// Destroys a list at the end of a scope.
struct ListGuard {
    rtattrdict_t *list;
    ~ListGuard() { rtoeqnlst_destroy(&list); }
};

// "i:5" an INTEGER, "r:2.5" an untyped REAL, "s:text" a STRING, "d:text" an
// IDENTIFIER, "b:1" a BOOLEAN, "u:" UNDEFINED.
inline value_t make_value(const std::string &spec) {
    value_t v;
    value_init(&v);
    const std::string text = spec.substr(2);
    switch (spec[0]) {
        case 'i':
            value_assign_int(&v, std::stoi(text));
            break;
        case 'r':
            value_assign_double(&v, std::stod(text), 0, 0);
            break;
        case 's':
            value_assign_copy_of_string(&v, text.c_str());
            break;
        case 'd':
            value_assign_copy_of_id(&v, text.c_str());
            break;
        case 'b':
            value_assign_logical(&v, std::stoi(text));
            break;
        default:
            break;
    }
    return v;
}

// A value as value_print writes it, with its kind in front ("1:", "6:", ...).
inline std::string shown(HistoryCapture &his, const value_t &v) {
    his.text();
    value_print(his.pipe(), &v);
    return std::to_string(v.value_type) + ":" + his.text();
}

// The keys of a largest-value list.
enum class Keys { kResidual, kShadowPrice, kWeighted };

// The indices the largest-value lists must give: every key of lo..hi sorted
// in decreasing order by SLATEC_DSORT carrying its index, then the first n
// included equations of that order; unfilled slots 0.
inline std::vector<int32_t> largest_the_long_way(const std::vector<double> &residual,
                                                 const std::vector<double> &price,
                                                 const std::vector<int64_t> &status, int32_t first,
                                                 int32_t last, int32_t n, Keys keys) {
    std::vector<int32_t> out(static_cast<size_t>(n), 0);
    const int32_t lo = std::max(first, 1);
    const int32_t hi = std::min(last, static_cast<int32_t>(residual.size()));
    if (lo > hi) return out;
    std::vector<double> key, index;
    for (int32_t k = lo; k <= hi; ++k) {
        const double r = residual[static_cast<size_t>(k - 1)];
        double x = std::fabs(r);
        if (keys != Keys::kResidual) {
            const double p = price[static_cast<size_t>(k - 1)];
            if (p == 1e35)
                x = -1.0;
            else if (keys == Keys::kWeighted)
                x = r == 1e35 ? -1.0 : std::fabs(p * r);
            else
                x = std::fabs(p);
        }
        key.push_back(x);
        index.push_back(k);
    }
    const int64_t m = static_cast<int64_t>(key.size());
    const int64_t descending = -2;
    SLATEC_DSORT(key.data(), index.data(), &m, &descending);
    size_t filled = 0;
    for (size_t j = 0; j < key.size() && filled < out.size(); ++j) {
        const auto k = static_cast<int32_t>(index[j]);
        if ((status[static_cast<size_t>(k - 1)] & 1) == 0) out[filled++] = k;
    }
    return out;
}

// "3 1 0" from an index list.
inline std::string joined(const std::vector<int32_t> &v) {
    std::string s;
    for (int32_t x : v) s += (s.empty() ? "" : " ") + std::to_string(x);
    return s;
}

}  // namespace zarn::test

#endif
