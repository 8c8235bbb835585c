// The SLATEC-style sorts against std::sort; the carried vector is compared as
// pairs, since the quicksort is not stable.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "capture.h"
#include "numutil_fixture.h"

namespace {

template <class K>
void against_std_sort(void (*sortfn)(K *, K *, const int64_t *, const int64_t *)) {
    std::mt19937_64 rng(99);
    for (int64_t n : {1, 2, 3, 12, 13, 50, 1000, 100000}) {
        for (int shape = 0; shape < 5; ++shape) {  // random, all equal, few values, sorted, reversed
            for (int64_t kflag : {1, -1, 2, -2}) {
                std::vector<K> x(n), y(n);
                for (int64_t i = 0; i < n; ++i) {
                    x[i] = shape == 1 ? K(42) : static_cast<K>(int64_t(rng() % (shape == 2 ? 7 : 2000001)) - 1000) / K(7);
                    y[i] = static_cast<K>(i);
                }
                if (shape == 3) std::sort(x.begin(), x.end());
                if (shape == 4) std::sort(x.rbegin(), x.rend());
                std::vector<std::pair<K, K>> before, after;
                for (int64_t i = 0; i < n; ++i) before.emplace_back(x[i], y[i]);
                sortfn(x.data(), y.data(), &n, &kflag);
                std::vector<K> want(n);
                std::transform(before.begin(), before.end(), want.begin(), [](auto &p) { return p.first; });
                kflag > 0 ? std::sort(want.begin(), want.end()) : std::sort(want.rbegin(), want.rend());
                ASSERT_EQ(x, want) << n << " " << shape << " " << kflag;
                for (int64_t i = 0; i < n; ++i) after.emplace_back(x[i], kflag % 2 ? before[i].second : y[i]);
                if (kflag % 2) continue;  // |kflag| = 1 leaves dy alone (checked by pairing it as given)
                std::sort(before.begin(), before.end());
                std::sort(after.begin(), after.end());
                ASSERT_EQ(after, before) << "dy follows dx: " << n << " " << shape;
            }
        }
    }
}

TEST(Sort, DsortAndIsortMatchStdSort) {
    against_std_sort<double>(SLATEC_DSORT);
    against_std_sort<int64_t>(SLATEC_ISORT);
}

TEST(Sort, ExtremeKeysAndRefusedCalls) {
    zarn::test::HistoryCapture his;
    std::vector<int64_t> x = {0, INT64_MIN, 5, INT64_MAX, -1, INT64_MIN}, y = {0, 1, 2, 3, 4, 5};
    std::vector<double> d = {3.0, -0.0, 1e300, -1e300, 2.5}, e = {1, 2, 3, 4, 5};
    int64_t n = 6, kflag = -2;
    SLATEC_ISORT(x.data(), y.data(), &n, &kflag);
    EXPECT_EQ(x, (std::vector<int64_t>{INT64_MAX, 5, 0, -1, INT64_MIN, INT64_MIN}));
    EXPECT_EQ(std::vector<int64_t>(y.begin(), y.begin() + 4), (std::vector<int64_t>{3, 2, 0, 4}));
    n = 5;
    SLATEC_DSORT(d.data(), e.data(), &n, &kflag);
    EXPECT_EQ(e, (std::vector<double>{3, 1, 5, 2, 4}));
    // n < 1 or kflag other than +-1, +-2: nothing moves and nothing is said.
    const std::vector<double> keep = {2, 1, 3};
    for (int64_t bn : {int64_t{0}, int64_t{-1}, INT64_MIN, int64_t{3}}) {
        for (int64_t bk : {int64_t{0}, int64_t{3}, int64_t{-3}, INT64_MIN, INT64_MAX, int64_t{1}}) {
            if (bn == 3 && bk == 1) continue;
            std::vector<double> v = keep;
            std::vector<int64_t> iv = {2, 1, 3};
            SLATEC_DSORT(v.data(), nullptr, &bn, &bk), SLATEC_ISORT(iv.data(), nullptr, &bn, &bk);
            EXPECT_TRUE(v == keep && iv == (std::vector<int64_t>{2, 1, 3})) << bn << " " << bk;
        }
    }
    EXPECT_EQ(his.text(), "");
    // A missing carried array is refused before anything moves.
    std::vector<double> v = keep;
    n = 3, kflag = 2;
    SLATEC_DSORT(v.data(), nullptr, &n, &kflag);
    EXPECT_EQ(v, keep);
    kflag = -1, SLATEC_ISORT(nullptr, nullptr, &n, &kflag);
    EXPECT_EQ(his.text(), "!! slatec_dsort: an array argument is missing\n"
                          "!! slatec_isort: an array argument is missing\n");
}

}  // namespace
