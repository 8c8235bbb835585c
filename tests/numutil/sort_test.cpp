// The SLATEC-style sorts against std::sort, with the carried vector compared
// as pairs since the quicksort is not stable.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "capture.h"
#include "numutil_fixture.h"

namespace {

// Input shapes over n keys drawn from `distinct` values.
enum class Shape { Random, AllEqual, Sorted, Reversed, FewValues };

template <class K>
std::vector<K> keys(Shape shape, int64_t n, std::mt19937_64 &rng) {
    std::vector<K> x(n);
    std::uniform_int_distribution<int64_t> wide(-1000000, 1000000), narrow(-3, 3);
    for (auto &v : x) {
        switch (shape) {
        case Shape::AllEqual: v = K(42); break;
        case Shape::FewValues: v = static_cast<K>(narrow(rng)); break;
        default: v = static_cast<K>(wide(rng)) / K(7); break;
        }
    }
    if (shape == Shape::Sorted) std::sort(x.begin(), x.end());
    if (shape == Shape::Reversed) std::sort(x.begin(), x.end(), std::greater<K>());
    return x;
}

template <class K, class Sort>
void check_against_std(Sort sortfn) {
    std::mt19937_64 rng(99);
    for (int64_t n : {0, 1, 2, 3, 11, 12, 13, 50, 1000, 100000}) {
        for (Shape shape : {Shape::Random, Shape::AllEqual, Shape::Sorted, Shape::Reversed,
                            Shape::FewValues}) {
            for (int64_t kflag : {1, -1, 2, -2}) {
                SCOPED_TRACE("n=" + std::to_string(n) + " shape=" +
                             std::to_string(static_cast<int>(shape)) + " kflag=" +
                             std::to_string(kflag));
                std::vector<K> x = keys<K>(shape, n, rng), y(n);
                for (int64_t i = 0; i < n; ++i) y[i] = static_cast<K>(i);
                const std::vector<K> x0 = x, y0 = y;
                sortfn(x.data(), y.data(), &n, &kflag);

                std::vector<K> want = x0;
                if (kflag > 0) std::sort(want.begin(), want.end());
                else std::sort(want.begin(), want.end(), std::greater<K>());
                ASSERT_EQ(x, want);
                if (kflag == 1 || kflag == -1) {
                    ASSERT_EQ(y, y0) << "dy is left alone with |kflag| = 1";
                    continue;
                }
                std::vector<std::pair<K, K>> before, after;
                for (int64_t i = 0; i < n; ++i) {
                    before.emplace_back(x0[i], y0[i]);
                    after.emplace_back(x[i], y[i]);
                }
                std::sort(before.begin(), before.end());
                std::sort(after.begin(), after.end());
                ASSERT_EQ(after, before) << "dy follows dx";
            }
        }
    }
}

TEST(Sort, DsortMatchesStdSortOnEveryShape) { check_against_std<double>(SLATEC_DSORT); }
TEST(Sort, IsortMatchesStdSortOnEveryShape) { check_against_std<int64_t>(SLATEC_ISORT); }

TEST(Sort, ExtremeKeysAndRefusedModes) {
    zarn::test::HistoryCapture his;
    // Descending integer sort with the extreme keys: no overflow, right order.
    std::vector<int64_t> x = {0, INT64_MIN, 5, INT64_MAX, -1, INT64_MIN, INT64_MAX};
    std::vector<int64_t> y = {0, 1, 2, 3, 4, 5, 6};
    int64_t n = 7, kflag = -2;
    SLATEC_ISORT(x.data(), y.data(), &n, &kflag);
    EXPECT_EQ(x, (std::vector<int64_t>{INT64_MAX, INT64_MAX, 5, 0, -1, INT64_MIN, INT64_MIN}));
    EXPECT_EQ(y[2], 2);
    EXPECT_EQ(y[4], 4);

    std::vector<double> d = {3.0, -0.0, 1e300, -1e300, 2.5}, e = {1, 2, 3, 4, 5};
    n = 5;
    kflag = -2;
    SLATEC_DSORT(d.data(), e.data(), &n, &kflag);
    EXPECT_EQ(d, (std::vector<double>{1e300, 3.0, 2.5, -0.0, -1e300}));
    EXPECT_EQ(e, (std::vector<double>{3, 1, 5, 2, 4}));

    // n < 1 and any kflag but +-1, +-2: nothing happens and nothing is said,
    // even with a missing array.
    const std::vector<double> keep = {2, 1, 3};
    for (int64_t badN : {int64_t{0}, int64_t{-1}, INT64_MIN}) {
        std::vector<double> v = keep;
        int64_t k = 1;
        SLATEC_DSORT(v.data(), nullptr, &badN, &k);
        EXPECT_EQ(v, keep);
    }
    for (int64_t badK : {int64_t{0}, int64_t{3}, int64_t{-3}, INT64_MIN, INT64_MAX}) {
        std::vector<double> v = keep;
        n = 3;
        SLATEC_DSORT(v.data(), nullptr, &n, &badK);
        EXPECT_EQ(v, keep);
        std::vector<int64_t> iv = {2, 1, 3};
        SLATEC_ISORT(iv.data(), nullptr, &n, &badK);
        EXPECT_EQ(iv, (std::vector<int64_t>{2, 1, 3}));
    }
    EXPECT_EQ(his.text(), "");

    // A carried array that is missing is refused before anything moves.
    std::vector<double> v = keep;
    kflag = 2;
    SLATEC_DSORT(v.data(), nullptr, &n, &kflag);
    EXPECT_EQ(v, keep);
    EXPECT_EQ(his.text(), "!! slatec_dsort: an array argument is missing\n");
    std::vector<int64_t> iv = {2, 1, 3};
    kflag = -2;
    SLATEC_ISORT(iv.data(), nullptr, &n, &kflag);
    EXPECT_EQ(iv, (std::vector<int64_t>{2, 1, 3}));
    EXPECT_EQ(his.text(), "!! slatec_isort: an array argument is missing\n");
    kflag = 1;
    SLATEC_ISORT(nullptr, nullptr, &n, &kflag);
    EXPECT_EQ(his.text(), "!! slatec_isort: an array argument is missing\n");
}

}  // namespace
