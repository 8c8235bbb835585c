// Inclusion, the residual norm and the largest-value lists. The lists are
// checked against the definition computed the long way (a full SLATEC sort of
// the same keys, then a walk over the included equations), over data with
// excluded equations, ties, unset values and NaN.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "eqnlst_fixture.h"
#include "platform/xalloc.h"
#include "zarnutils/varutl.h"

using namespace zarn::test;

namespace {

// A list whose residuals, shadow prices and status words are the given ones.
struct Model {
    std::vector<double> residual, price;
    std::vector<int64_t> status;
    rtattrdict_t *list = nullptr;

    Model(std::vector<double> r, std::vector<double> p, std::vector<int64_t> s)
        : residual(std::move(r)), price(std::move(p)), status(std::move(s)) {
        list = equations(static_cast<int32_t>(residual.size()));
        for (size_t k = 0; k < residual.size(); ++k) {
            rtoeqnlst_vec_residual(list)[k] = residual[k];
            rtoeqnlst_vec_shadow_price(list)[k] = price.empty() ? 1e35 : price[k];
            rtoeqnlst_vec_status(list)[k] = status.empty() ? 0 : status[k];
        }
        if (price.empty()) price.assign(residual.size(), 1e35);
        if (status.empty()) status.assign(residual.size(), 0);
    }
    ~Model() { rtoeqnlst_destroy(&list); }

    std::vector<int32_t> residuals(int32_t first, int32_t last, int32_t n) {
        std::vector<int32_t> out(static_cast<size_t>(n), -7);
        rtoeqnlst_inq_max_residuals(list, first, last, n, 1, out.data());
        return out;
    }
    std::vector<int32_t> prices(int32_t first, int32_t last, int32_t n, int32_t weighted) {
        std::vector<int32_t> out(static_cast<size_t>(n), -7);
        rtoeqnlst_inq_max_shadow_prices(list, first, last, n, weighted, out.data());
        return out;
    }
    std::vector<int32_t> expected(int32_t first, int32_t last, int32_t n, Keys keys) const {
        return largest_the_long_way(residual, price, status, first, last, n, keys);
    }
};

constexpr int64_t kExcluded = 1;
constexpr int64_t kInequality = 2 << 1;  // math type 2, LEQ
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(EqnInclusion, FlagIncludesZeroExcludes) {
    ListGuard g{equations(3)};
    rtoeqnlst_in_exclude_equation(g.list, 2, 0);
    EXPECT_EQ(rtoeqnlst_inq_eqn_status(g.list, 2), 1);
    EXPECT_EQ(rtoeqnlst_inq_neqn_active(g.list), 2);
    rtoeqnlst_in_exclude_equation(g.list, 2, 5);
    EXPECT_EQ(rtoeqnlst_inq_eqn_status(g.list, 2), 0);
    EXPECT_EQ(rtoeqnlst_inq_neqn_active(g.list), 3);
}

TEST(EqnInclusion, OnlyTheInclusionBitChanges) {
    ListGuard g{equations(1)};
    rtoeqnlst_set_eqn_status(g.list, 1, 0x40000A);
    rtoeqnlst_in_exclude_equation(g.list, 1, 0);
    EXPECT_EQ(rtoeqnlst_inq_eqn_status(g.list, 1), 0x40000B);
    rtoeqnlst_in_exclude_equation(g.list, 1, 1);
    EXPECT_EQ(rtoeqnlst_inq_eqn_status(g.list, 1), 0x40000A);
}

TEST(EqnInclusion, BadIndicesAndNoListChangeNothing) {
    StderrCapture err;
    ListGuard g{equations(2)};
    rtoeqnlst_in_exclude_equation(g.list, 3, 0);
    rtoeqnlst_in_exclude_equation(g.list, 0, 0);
    rtoeqnlst_in_exclude_equation(nullptr, 1, 0);
    EXPECT_EQ(rtoeqnlst_inq_neqn_active(g.list), 2);
    const std::string text = err.text();
    EXPECT_NE(
        text.find("Assertion 'rtoeqnlst_in_exclude_equation: pos<=0' failed in source/rteqnlst/rteqnlst:"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("Assertion 'rtoeqnlst_in_exclude_equation: eqnlst is 0' failed"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("pos<=0", text.find("pos<=0") + 1), std::string::npos)
        << "index 3 is silent: " << text;
}

TEST(EqnInclusion, ActiveCountOfAWindowIsItsOwn) {
    ListGuard head{equations(4)};
    rtoeqnlst_in_exclude_equation(head.list, 1, 0);
    rtoeqnlst_in_exclude_equation(head.list, 4, 0);
    ListGuard w{rtoeqnlst_create_embedded(2, head.list, "", 3)};
    rtoeqnlst_set_neqn(w.list, 2);
    EXPECT_EQ(rtoeqnlst_inq_neqn_active(w.list), 1);
    EXPECT_EQ(rtoeqnlst_inq_neqn_active(head.list), 2);
    EXPECT_EQ(rtoeqnlst_inq_neqn_active(nullptr), 0);
}

TEST(EqnNorm, RangesAndWhatTheyGive) {
    // 3, 4 included equalities; 12 excluded; 5 an inequality.
    Model m({3.0, 4.0, 12.0, 5.0, 0.0}, {}, {0, 0, kExcluded, kInequality, 0});
    struct Row {
        const char *what;
        int32_t first, last;
        double norm;
    };
    const Row rows[] = {
        {"the whole list", 1, 5, 5.0},
        {"one equation", 2, 2, 4.0},
        {"excluded and inequality skipped", 3, 4, 0.0},
        {"empty range", 3, 2, 0.0},
        {"empty range just past the end", 6, 5, 0.0},
        {"last beyond the list", 4, 6, 1e35},
        {"first beyond the list", 6, 7, 1e35},
        {"first below 1", -1, 2, 1e35},
    };
    for (const Row &r : rows) {
        double out = -1.0;
        rtoeqnlst_norm(m.list, r.first, r.last, &out);
        EXPECT_EQ(out, r.norm) << r.what;
    }
}

TEST(EqnNorm, NoListAndStartBelowOnePrintAssertionLines) {
    StderrCapture err;
    ListGuard g{equations(2)};
    double out = -1.0;
    rtoeqnlst_norm(nullptr, 1, 1, &out);
    EXPECT_EQ(out, 1e35);
    out = -1.0;
    rtoeqnlst_norm(g.list, 0, 1, &out);
    EXPECT_EQ(out, 1e35);
    rtoeqnlst_norm(g.list, 1, 1, nullptr);  // nowhere to store: nothing
    const std::string text = err.text();
    EXPECT_NE(text.find("Assertion 'rtoeqnlst_norm: eqnlst is 0' failed in source/rteqnlst/rteqnlst:"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Assertion 'rtoeqnlst_norm: start<=0' failed"), std::string::npos) << text;
}

TEST(EqnNorm, WindowAddsUpItsOwnEquations) {
    Model m({1.0, 2.0, 2.0, 1.0}, {}, {});
    ListGuard w{rtoeqnlst_create_embedded(2, m.list, "", 2)};
    rtoeqnlst_set_neqn(w.list, 2);
    double out = 0.0;
    rtoeqnlst_norm(w.list, 1, 2, &out);
    EXPECT_DOUBLE_EQ(out, std::sqrt(8.0));
}

TEST(EqnLargest, LargestExcludedGivesTheNextThreeIncluded) {
    Model m({1.0, -9.0, 4.0, -3.0, 2.0}, {}, {0, kExcluded, 0, 0, 0});
    EXPECT_EQ(joined(m.residuals(1, 5, 3)), "3 4 5");
}

TEST(EqnLargest, UnfilledSlotsStayZero) {
    Model m({1.0, -9.0, 4.0, -3.0, 2.0}, {}, {kExcluded, kExcluded, 0, kExcluded, 0});
    EXPECT_EQ(joined(m.residuals(1, 5, 3)), "3 5 0");
}

TEST(EqnLargest, RangeIsClippedToTheList) {
    Model m({5.0, 1.0, 4.0}, {}, {});
    EXPECT_EQ(joined(m.residuals(-3, 99, 2)), "1 3");
    EXPECT_EQ(joined(m.residuals(2, 3, 2)), "3 2");
    EXPECT_EQ(joined(m.residuals(4, 9, 2)), "0 0");  // nothing left after clipping
}

TEST(EqnLargest, NothingWrittenForAReversedRangeOrNoCount) {
    StderrCapture err;
    Model m({5.0, 1.0}, {}, {});
    EXPECT_EQ(joined(m.residuals(2, 1, 2)), "-7 -7");
    std::vector<int32_t> out = {-7};
    rtoeqnlst_inq_max_residuals(m.list, 1, 2, 0, 0, out.data());
    rtoeqnlst_inq_max_residuals(m.list, 1, 2, -1, 0, out.data());
    EXPECT_EQ(joined(out), "-7");
    const std::string text = err.text();
    EXPECT_NE(text.find("Assertion 'rtoeqnlst_inq_max_residuals: nres<=0' failed"), std::string::npos)
        << text;
}

TEST(EqnLargest, NoListZeroesTheSlotsWithItsAssertionLine) {
    StderrCapture err;
    std::vector<int32_t> out = {-7, -7};
    rtoeqnlst_inq_max_residuals(nullptr, 0, 2, 2, 0, out.data());
    EXPECT_EQ(joined(out), "0 0");
    out = {-7, -7};
    rtoeqnlst_inq_max_shadow_prices(nullptr, 1, 2, 2, 0, out.data());
    EXPECT_EQ(joined(out), "0 0");
    rtoeqnlst_inq_max_residuals(nullptr, 1, 2, 2, 0, nullptr);  // no slots: refused, never written
    const std::string text = err.text();
    for (const char *line :
         {"rtoeqnlst_inq_max_residuals: eqnlst is 0", "rtoeqnlst_inq_max_residuals: start<=0",
          "rtoeqnlst_inq_max_shadow_prices: eqnlst is 0", "rtoeqnlst_inq_max_residuals: NULL index array"})
        EXPECT_NE(text.find(std::string("Assertion '") + line + "' failed in source/rteqnlst/rteqnlst:"),
                  std::string::npos)
            << line << "\n"
            << text;
}

TEST(EqnLargest, EmptyListZeroesTheSlots) {
    ListGuard g{rtoeqnlst_create(3)};
    std::vector<int32_t> out = {-7, -7};
    rtoeqnlst_inq_max_residuals(g.list, 1, 3, 2, 0, out.data());
    EXPECT_EQ(joined(out), "0 0");
}

TEST(EqnLargest, TiesComeInTheSortsOrder) {
    // Many equal magnitudes, both signs, around excluded equations.
    std::vector<double> r;
    std::vector<int64_t> s;
    for (int k = 0; k < 40; ++k) {
        r.push_back((k % 3 == 0 ? -1.0 : 1.0) * (k % 4 == 0 ? 2.0 : 1.0));
        s.push_back(k % 5 == 0 ? kExcluded : 0);
    }
    Model m(r, {}, s);
    for (int32_t n : {1, 3, 8, 30})
        EXPECT_EQ(joined(m.residuals(1, 40, n)), joined(m.expected(1, 40, n, Keys::kResidual))) << "n " << n;
}

TEST(EqnLargest, TieAtTheLastSlotComesInTheSortsOrder) {
    std::vector<double> r(64, 0.5);
    r[10] = 9.0;
    r[20] = 8.0;  // the second slot: 8.0; the third: one of the 0.5 ties
    Model m(r, {}, {});
    EXPECT_EQ(joined(m.residuals(1, 64, 3)), joined(m.expected(1, 64, 3, Keys::kResidual)));
}

TEST(EqnLargest, NaNAnywhereGivesTheSortsOrder) {
    std::vector<double> r;
    std::vector<int64_t> s(100, 0);
    for (int k = 0; k < 100; ++k) r.push_back(std::sin(k + 1.0) * 10.0);
    r[37] = kNaN;
    s[37] = kExcluded;  // excluded, yet it still moves the others in the sort
    r[80] = -kNaN;
    Model m(r, {}, s);
    EXPECT_EQ(joined(m.residuals(1, 100, 5)), joined(m.expected(1, 100, 5, Keys::kResidual)));
}

TEST(EqnLargest, DistinctResidualsLargestFirst) {
    std::vector<double> r;
    for (int k = 0; k < 200; ++k) r.push_back(std::cos(k * 0.7) * (k + 1));
    Model m(r, {}, {});
    std::vector<int32_t> want = m.expected(1, 200, 6, Keys::kResidual);
    EXPECT_EQ(joined(m.residuals(1, 200, 6)), joined(want));
    for (size_t j = 1; j < want.size(); ++j)
        EXPECT_GT(std::fabs(r[static_cast<size_t>(want[j - 1] - 1)]),
                  std::fabs(r[static_cast<size_t>(want[j] - 1)]));
}

TEST(EqnLargest, RandomListsAgreeWithTheSort) {
    std::mt19937 rng(20240531);
    for (int trial = 0; trial < 300; ++trial) {
        const int32_t size = 1 + static_cast<int32_t>(rng() % 300);
        const int distinct = 1 + static_cast<int>(rng() % 50);  // few values: many ties
        std::vector<double> r, p;
        std::vector<int64_t> s;
        for (int32_t k = 0; k < size; ++k) {
            const int pick = static_cast<int>(rng() % 20);
            r.push_back(pick == 0 ? 1e35 : (static_cast<int>(rng() % distinct) - distinct / 2) * 0.5);
            p.push_back(pick == 1 ? 1e35 : (static_cast<int>(rng() % distinct) - distinct / 2) * 0.25);
            s.push_back(rng() % 4 == 0 ? kExcluded : 0);
        }
        Model m(r, p, s);
        const int32_t first = static_cast<int32_t>(rng() % size) + 1;
        const int32_t last = first + static_cast<int32_t>(rng() % size);
        const int32_t n = 1 + static_cast<int32_t>(rng() % 12);
        const std::string where = "trial " + std::to_string(trial) + " range " + std::to_string(first) +
                                  ".." + std::to_string(last) + " n " + std::to_string(n);
        EXPECT_EQ(joined(m.residuals(first, last, n)), joined(m.expected(first, last, n, Keys::kResidual)))
            << where;
        EXPECT_EQ(joined(m.prices(first, last, n, 0)), joined(m.expected(first, last, n, Keys::kShadowPrice)))
            << where;
        EXPECT_EQ(joined(m.prices(first, last, n, 1)), joined(m.expected(first, last, n, Keys::kWeighted)))
            << where;
    }
}

TEST(EqnLargest, ShadowPricesUnsetCountAsMinusOne) {
    // Equation 2's price is unset (-1), equation 4's residual is unset (-1 when weighted).
    Model m({2.0, 50.0, 1.0, 1e35}, {-3.0, 1e35, 0.5, 4.0}, {});
    EXPECT_EQ(joined(m.prices(1, 4, 4, 0)), "4 1 3 2");
    EXPECT_EQ(joined(m.prices(1, 4, 2, 1)), "1 3");  // 6, 0.5; then the two at -1
    EXPECT_EQ(joined(m.prices(1, 4, 4, 1)), joined(m.expected(1, 4, 4, Keys::kWeighted)));
}

TEST(EqnLargest, WeightedPricesTakeTheProductsMagnitude) {
    Model m({2.0, -10.0, 0.5}, {3.0, 0.2, -20.0}, {});
    EXPECT_EQ(joined(m.prices(1, 3, 3, 1)), "3 1 2");  // 10, 6, 2
    EXPECT_EQ(joined(m.prices(1, 3, 3, 0)), "3 1 2");  // 20, 3, 0.2
}

TEST(EqnLargest, ExcludedShadowPricesAreSkipped) {
    Model m({1.0, 1.0, 1.0}, {5.0, 9.0, 1.0}, {0, kExcluded, 0});
    EXPECT_EQ(joined(m.prices(1, 3, 2, 0)), "1 3");
}

TEST(EqnLargest, ShadowPriceAssertionLines) {
    StderrCapture err;
    Model m({1.0}, {1.0}, {});
    std::vector<int32_t> out = {-7};
    rtoeqnlst_inq_max_shadow_prices(m.list, 0, 1, 1, 0, out.data());
    EXPECT_EQ(joined(out), "1");
    rtoeqnlst_inq_max_shadow_prices(m.list, 1, 1, 0, 0, out.data());
    rtoeqnlst_inq_max_shadow_prices(m.list, 1, 1, 1, 0, nullptr);
    const std::string text = err.text();
    for (const char *line :
         {"rtoeqnlst_inq_max_shadow_prices: start<=0", "rtoeqnlst_inq_max_shadow_prices: nres<=0",
          "rtoeqnlst_inq_max_shadow_prices: NULL index array"})
        EXPECT_NE(text.find(std::string("Assertion '") + line + "'"), std::string::npos) << line << "\n"
                                                                                         << text;
}

TEST(EqnLargest, WindowGivesItsOwnIndices) {
    Model m({9.0, 1.0, 3.0, 2.0}, {}, {});
    ListGuard w{rtoeqnlst_create_embedded(3, m.list, "", 2)};
    rtoeqnlst_set_neqn(w.list, 3);
    std::vector<int32_t> out(2, -7);
    rtoeqnlst_inq_max_residuals(w.list, 1, 3, 2, 0, out.data());
    EXPECT_EQ(joined(out), "2 3");
}

}  // namespace

namespace {

TEST(EqnLargest, MemoryShortForTheSortLeavesZerosAndSaysSo) {
    HistoryCapture his;
    Model m(std::vector<double>(64, 1.0), {}, {});  // all tied: the full sort is needed
    for (long fail : {1L, 2L}) {
        std::vector<int32_t> out(3, -7);
        zarn::failalloc_set(fail);
        rtoeqnlst_inq_max_residuals(m.list, 1, 64, 3, 0, out.data());
        zarn::failalloc_set(0);
        EXPECT_EQ(joined(out), "0 0 0") << "allocation " << fail << " fails";
    }
    EXPECT_EQ(his.text(),
              "!! rtoeqnlst_inq_max_residuals: not enough memory to sort 64 equations\n"
              "!! rtoeqnlst_inq_max_residuals: not enough memory to sort 64 equations\n");
}

}  // namespace
