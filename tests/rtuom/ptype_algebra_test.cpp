// The product and quotient tables against SI dimensions, the type rules of
// products and quotients, and the listing of both tables.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>
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

struct Dim {
    double e[kDimBases] = {};
    bool operator==(const Dim &o) const {
        for (int i = 0; i < kDimBases; ++i)
            if (std::fabs(e[i] - o.e[i]) > 1e-12) return false;
        return true;
    }
};

// A price type is money (the sixth base) per unit of its type.
Dim dim_of(int t) {
    Dim d;
    const int a = t < 0 ? -t : t;
    for (int i = 0; i < kDimBases; ++i) d.e[i] = t < 0 ? -kTypeDims[a].exp[i] : kTypeDims[a].exp[i];
    if (t < 0) d.e[5] += 1;
    return d;
}

Dim combine(const Dim &a, const Dim &b, int sign) {
    Dim d;
    for (int i = 0; i < kDimBases; ++i) d.e[i] = a.e[i] + sign * b.e[i];
    return d;
}

// Rows kept as the tables give them although their dimensions do not balance.
const std::set<std::tuple<char, int, int>> kUnbalanced = {
    // The price relation is VOLUME-PRICE / DENSITY = UNIT-PRICE; the tables hold its inverse.
    {'*', 3, 55}, {'*', 38, 55}, {'/', 29, 3}, {'/', 29, 55}, {'/', 29, 38},
    // The catalogue keeps volt and ampere as bases of their own, apart from the watt.
    {'*', 113, 114}, {'/', 47, 113}, {'/', 47, 114},
};

TEST(PtypeTables, EveryRowBalancesItsSiDimensions) {
    ASSERT_EQ(sizeof kTypeDims / sizeof kTypeDims[0], static_cast<size_t>(RTOUOM_NTYPES));
    EXPECT_EQ(kProductTable.count, 89);
    EXPECT_EQ(kQuotientTable.count, 132);
    std::set<std::tuple<char, int, int>> seen;
    for (auto [table, op] : {std::pair<const TypeTable *, char>{&kProductTable, '*'}, {&kQuotientTable, '/'}}) {
        for (int i = 0; i < table->count; ++i) {
            const auto &r = table->rows[i];
            const auto key = std::make_tuple(op, int{r.first}, int{r.second});
            const bool balanced = combine(dim_of(r.first), dim_of(r.second), op == '*' ? 1 : -1) == dim_of(r.result);
            if (kUnbalanced.count(key)) {
                EXPECT_FALSE(balanced) << "listed as unbalanced but balances: " << op << " row " << i;
                seen.insert(key);
            } else {
                EXPECT_TRUE(balanced) << op << " row " << i << ": " << r.first << ", " << r.second << " -> " << r.result;
            }
        }
    }
    EXPECT_EQ(seen, kUnbalanced);
}

TEST_F(UomTest, DimensionTableNamesTheCatalogueTypes) {
    for (int t = 0; t < RTOUOM_NTYPES; ++t) EXPECT_STREQ(kTypeDims[t].name, rtouom_ptype_name(t)) << t;
}

// Every rule in order, written from the rules, with the row that decides it.
TEST_F(UomTest, ProductAndQuotientTypesFollowTheRulesInOrder) {
    struct Row {
        char op;
        int p1, u1, p2, u2, want;
        const char *why;
    } rows[] = {
        {'*', 149, 0, 1, 0, 150, "type out of range"},
        {'*', 1, 0, -149, 0, 150, "negative type out of range"},
        {'*', 18, 0, -18, 0, 8, "quantity times its own price is FISCAL"},
        {'*', -18, 0, 18, 0, 8, "the price first gives FISCAL too"},
        {'*', 0, 0, 0, 0, 0, "untyped times untyped"},
        {'*', 0, 0, 17, 0, 17, "untyped takes the other type"},
        {'*', 17, 0, 0, 0, 17, "untyped second"},
        {'*', 44, 0, 85, 0, 85, "dimensionless times contents"},
        {'*', 85, 0, 44, 0, 85, "contents times dimensionless keeps contents"},
        {'*', 44, 0, 17, 0, 17, "dimensionless is neutral"},
        {'*', 17, 0, 85, 0, 17, "contents is neutral second"},
        {'*', 17, 0, 17, 0, 1, "LENGTH x LENGTH = AREA"},
        {'*', 24, 0, 10, 0, 18, "TIME x MASS-FLOW: smaller code first finds MASS-FLOW x TIME"},
        {'*', -5, 0, 53, 0, 8, "$/ENERGY x HEAT = FISCAL"},
        {'*', 6, 4, 18, 0, 5, "J/KG enthalpy is mass based: x MASS = ENERGY"},
        {'*', 6, 2, 18, 0, 150, "BTU/LBMOL enthalpy is mole based: no row with MASS"},
        {'*', 6, 3, 51, 0, 150, "unit 3 still mole based"},
        {'*', 40, 0, 18, 0, 5, "MASS-ENTHALP x MASS"},
        {'*', 22, 0, 81, 0, 44, "TEMPERATURE x INVERSE-TEMP"},
        {'*', 41, 0, 22, 0, 150, "no row for MOLE-ENTROPY x TEMPERATURE"},
        {'/', 149, 0, 1, 0, 150, "type out of range"},
        {'/', 17, 0, 0, 0, 17, "untyped divisor"},
        {'/', 0, 0, 24, 0, 24, "untyped dividend takes the divisor's type"},
        {'/', 5, 0, 5, 0, 44, "ENERGY / ENERGY"},
        {'/', 17, 0, 44, 0, 17, "dimensionless divisor"},
        {'/', 44, 0, 85, 0, 85, "dimensionless / contents"},
        {'/', 17, 0, 85, 0, 17, "contents divisor"},
        {'/', 19, 0, 13, 0, 44, "POWER / ENTHALPY-FLO are equal types"},
        {'/', 1, 0, 17, 0, 17, "AREA / LENGTH"},
        {'/', 17, 0, 1, 0, 35, "LENGTH / AREA = FILTER-RESIS"},
        {'/', 24, 0, 10, 0, 150, "no reordering for quotients"},
        {'/', 8, 0, -5, 0, 53, "FISCAL / $/ENERGY = HEAT"},
        {'/', 5, 0, 6, 4, 18, "ENERGY / J/KG = MASS"},
        {'/', 5, 0, 6, 1, 150, "ENERGY / J/KMOL: the resolved type has no row"},
        {'/', 5, 0, 7, 5, 150, "ENTROPY unit 5 is mass based"},
        {'/', 119, 0, 8, 0, 59, "COST-RATE / FISCAL, last row of the table"},
        // Basis resolution seen through rule 4: a type divided by itself.
        {'/', 39, 0, 6, 3, 44, "ENTHALPY unit 3 is MOLE-ENTHALP"},
        {'/', 40, 0, 6, 4, 44, "ENTHALPY unit 4 is MASS-ENTHALP"},
        {'/', 40, 0, 6, 7, 44, "ENTHALPY unit 7 is MASS-ENTHALP"},
        {'/', 41, 0, 7, 3, 44, "ENTROPY unit 3 is MOLE-ENTROPY"},
        {'/', 42, 0, 7, 4, 44, "ENTROPY unit 4 is MASS-ENTROPY"},
        {'/', 42, 0, 7, 6, 44, "ENTROPY unit 6 is MASS-ENTROPY"},
        {'/', 41, 0, 7, 7, 44, "ENTROPY unit 7 is MOLE-ENTROPY again"},
    };
    for (const Row &r : rows) {
        const int got = r.op == '*' ? ptype_multiply(r.p1, r.u1, r.p2, r.u2) : ptype_divide(r.p1, r.u1, r.p2, r.u2);
        EXPECT_EQ(got, r.want) << r.why;
    }
}

TEST_F(UomTest, BasisOfADefaultUnitFollowsTheTypesDefault) {
    struct Row {
        int ptype, def, other, want;
    } rows[] = {
        {6, 3, 18, 150},  // default 3: mole based, no row with MASS
        {6, 4, 18, 5},    // default 4: mass based
        {7, 4, 22, 150},  // ENTROPY default 4: MASS-ENTROPY, no row either
    };
    for (const Row &r : rows) {
        ASSERT_GE(rtouom_set_default(r.ptype, r.def), 0);
        EXPECT_EQ(ptype_multiply(r.ptype, 0, r.other, 0), r.want) << r.ptype << " default " << r.def;
    }
    // ENTHALPY resolved through its default, then divided: ENERGY / MASS-ENTHALP = MASS.
    EXPECT_EQ(ptype_divide(5, 0, 6, 0), 18);
}

TEST_F(UomTest, DumpListsBothTablesByFirstOperand) {
    rtopipe *q = history_.pipe();
    ptype_dump(q);
    std::istringstream in(history_.text());
    std::string line, first, last_product, first_quotient;
    int n = 0, products = 0;
    while (std::getline(in, line)) {
        if (n == 0) first = line;
        if (line.find(" * ") != std::string::npos) {
            ++products;
            last_product = line;
        } else if (first_quotient.empty()) {
            first_quotient = line;
        }
        ++n;
    }
    EXPECT_EQ(n, 89 + 132);
    EXPECT_EQ(products, 89);
    EXPECT_EQ(first, "$/HEAT * ENTHALPY-FLO => COST-RATE");
    EXPECT_EQ(last_product, "VOLTAGE * CURRENT => ELEC-POWER");
    EXPECT_EQ(first_quotient, "$/MOLES / MOLE-VOLUME => VOLUME-PRICE");
}

}  // namespace
