// The product and quotient tables against SI dimensions, the type rules of
// products and quotients, and the listing of both tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <string>
#include <tuple>

#include "ptype_dims.inc"
#include "rtuom/ptype_tables.h"
#include "uom_fixture.h"
#include "zarnutils/rtnum.h"

namespace {

using zarn::rtuom::ptalg::kProductTable;
using zarn::rtuom::ptalg::kQuotientTable;
using zarn::rtuom::ptalg::TypeTable;
using zarn::test::UomTest;
using Dim = std::array<double, kDimBases>;

// A price type is money (the sixth base) per unit of its type.
Dim dim_of(int t) {
    Dim d{};
    for (int i = 0; i < kDimBases; ++i) d[i] = (t < 0 ? -1 : 1) * kTypeDims[std::abs(t)].exp[i];
    if (t < 0) d[5] += 1;
    return d;
}

// Rows kept as the tables give them although their dimensions do not balance.
const std::set<std::tuple<char, int, int>> kUnbalanced = {
    // The price relation is VOLUME-PRICE / DENSITY = UNIT-PRICE; the tables hold its inverse.
    {'*', 3, 55},
    {'*', 38, 55},
    {'/', 29, 3},
    {'/', 29, 55},
    {'/', 29, 38},
    // The catalogue keeps volt and ampere as bases of their own, apart from the watt.
    {'*', 113, 114},
    {'/', 47, 113},
    {'/', 47, 114},
};

TEST_F(UomTest, EveryTableRowBalancesItsSiDimensions) {
    ASSERT_EQ(sizeof kTypeDims / sizeof kTypeDims[0], static_cast<size_t>(RTOUOM_NTYPES));
    for (int t = 0; t < RTOUOM_NTYPES; ++t) EXPECT_STREQ(kTypeDims[t].name, rtouom_ptype_name(t)) << t;
    EXPECT_EQ(kProductTable.count, 89);
    EXPECT_EQ(kQuotientTable.count, 132);
    std::set<std::tuple<char, int, int>> seen;
    for (auto [table, op] :
         {std::pair<const TypeTable *, char>{&kProductTable, '*'}, {&kQuotientTable, '/'}}) {
        for (int i = 0; i < table->count; ++i) {
            const auto &r = table->rows[i];
            Dim d = dim_of(r.first), want = dim_of(r.result), b = dim_of(r.second);
            bool balanced = true;
            for (int k = 0; k < kDimBases; ++k)
                balanced &= std::fabs(d[k] + (op == '*' ? b[k] : -b[k]) - want[k]) < 1e-12;
            const auto key = std::make_tuple(op, int{r.first}, int{r.second});
            if (kUnbalanced.count(key)) seen.insert(key);
            EXPECT_EQ(balanced, !kUnbalanced.count(key))
                << op << " row " << i << ": " << r.first << ", " << r.second;
        }
    }
    EXPECT_EQ(seen, kUnbalanced);
}

// Every rule in order, written from the rules: {op, type 1, unit 1, type 2, unit 2, result}.
TEST_F(UomTest, ProductAndQuotientTypesFollowTheRulesInOrder) {
    const int rows[][6] = {
        {'*', 149, 0, 1, 0, 150},
        {'*', 1, 0, -149, 0, 150},
        {'*', 18, 0, -18, 0, 8},
        {'*', -18, 0, 18, 0, 8},
        {'*', 0, 0, 0, 0, 0},
        {'*', 0, 0, 17, 0, 17},
        {'*', 17, 0, 0, 0, 17},
        {'*', 44, 0, 85, 0, 85},
        {'*', 85, 0, 44, 0, 85},
        {'*', 44, 0, 17, 0, 17},
        {'*', 17, 0, 85, 0, 17},
        {'*', 17, 0, 17, 0, 1},
        {'*', 24, 0, 10, 0, 18},
        {'*', -5, 0, 53, 0, 8},
        {'*', 6, 4, 18, 0, 5},
        {'*', 6, 2, 18, 0, 150},
        {'*', 6, 3, 51, 0, 150},
        {'*', 40, 0, 18, 0, 5},
        {'*', 22, 0, 81, 0, 44},
        {'*', 41, 0, 22, 0, 150},
        {'/', 149, 0, 1, 0, 150},
        {'/', 17, 0, 0, 0, 17},
        {'/', 0, 0, 24, 0, 24},
        {'/', 5, 0, 5, 0, 44},
        {'/', 17, 0, 44, 0, 17},
        {'/', 44, 0, 85, 0, 85},
        {'/', 17, 0, 85, 0, 17},
        {'/', 19, 0, 13, 0, 44},
        {'/', 1, 0, 17, 0, 17},
        {'/', 17, 0, 1, 0, 35},
        {'/', 24, 0, 10, 0, 150},
        {'/', 8, 0, -5, 0, 53},
        {'/', 5, 0, 6, 4, 18},
        {'/', 5, 0, 6, 1, 150},
        {'/', 5, 0, 7, 5, 150},
        {'/', 119, 0, 8, 0, 59},
        // Basis resolution seen through a type divided by itself.
        {'/', 39, 0, 6, 3, 44},
        {'/', 40, 0, 6, 4, 44},
        {'/', 40, 0, 6, 7, 44},
        {'/', 41, 0, 7, 3, 44},
        {'/', 42, 0, 7, 4, 44},
        {'/', 42, 0, 7, 6, 44},
        {'/', 41, 0, 7, 7, 44},
    };
    for (const auto &r : rows)
        EXPECT_EQ((r[0] == '*' ? ptype_multiply : ptype_divide)(r[1], r[2], r[3], r[4]), r[5])
            << char(r[0]) << " " << r[1] << "/" << r[2] << " " << r[3] << "/" << r[4];
    // An ENTHALPY or ENTROPY without a unit takes the basis of its type's default unit.
    for (auto [ptype, def, other, want] : {std::tuple{6, 3, 18, 150}, {6, 4, 18, 5}, {7, 4, 22, 150}}) {
        ASSERT_GE(rtouom_set_default(ptype, def), 0);
        EXPECT_EQ(ptype_multiply(ptype, 0, other, 0), want) << ptype << " default " << def;
    }
    EXPECT_EQ(ptype_divide(5, 0, 6, 0), 18);
}

TEST_F(UomTest, DumpListsBothTablesByFirstOperand) {
    ptype_dump(history_.pipe());
    const std::string t = history_.text();  // the last product row is followed by the first quotient row
    EXPECT_EQ(std::count(t.begin(), t.end(), '\n'), 89 + 132);
    EXPECT_EQ(t.find("$/HEAT * ENTHALPY-FLO => COST-RATE\n"), 0u);
    EXPECT_NE(t.find("\nVOLTAGE * CURRENT => ELEC-POWER\n$/MOLES / MOLE-VOLUME => VOLUME-PRICE\n"),
              std::string::npos);
}

}  // namespace
