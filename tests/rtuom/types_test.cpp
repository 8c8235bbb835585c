// Compatibility of physical types: equality, sums, differences, coercion.
#include <gtest/gtest.h>

#include <utility>

#include "rtuom/uomcatalog.h"

namespace {

using namespace zarn::rtuom;

TEST(UomTypes, EqualPairsBothWaysAndNothingElse) {
    const std::pair<int, int> pairs[] = {{kFlow, kMassFlow},           {-kArea, kAreaPrice},
                                         {-kVolume, kVolumePrice},     {kComposition, kDimensionles},
                                         {kPressure, kPdrop},          {kEnthalpy, kMoleEnthalp},
                                         {kEnthalpy, kMassEnthalp},    {kEntropy, kMoleEntropy},
                                         {kEntropy, kMassEntropy},     {kMoleEntropy, kMoleHeatCa},
                                         {kMassEntropy, kMassHeatCa},  {kPower, kEnthalpyFlo},
                                         {kPower, kElecPower},         {kEnthalpyFlo, kElecPower},
                                         {kInverseLeng, kFilterResis}, {kInverseLeng, kPackFactor},
                                         {kPackFactor, kFilterResis},  {kEnergy, kHeat},
                                         {-kEnergy, kEnergyPrice},     {kElecPrice, kEnergyPrice},
                                         {kElecPrice, -kEnergy},       {kDensity, kMassDensity},
                                         {kUntyped, kDimensionles},    {kEntropy, kMoleHeatCa}};
    for (auto [a, b] : pairs)
        EXPECT_EQ(rtouom_ptype_equal(a, b) + rtouom_ptype_equal(b, a), 2) << a << " " << b;
    int equal =
        0;  // nothing else between a plain type and any type (MOLE-ENTHALP and MASS-ENTHALP: not transitive)
    for (int a = -148; a < kTypeCount; ++a)
        for (int b = a + 1; b < kTypeCount; ++b) equal += rtouom_ptype_equal(a, b) && !(a < 0 && b < 0);
    EXPECT_EQ(equal, 24);
    EXPECT_EQ(rtouom_ptype_equal(-kFlow, -kMassFlow), 1);  // two price types: as their plain types
    EXPECT_EQ(rtouom_ptype_equal(-kArea, -kAreaPrice) + rtouom_ptype_equal(kEnergy, -kEnergy), 0);
}

TEST(UomTypes, TypeOfASumAndOfADifference) {
    constexpr int N = -1000;  // not allowed: result 0 and type 0
    const struct {
        int a, b, sum, difference;
    } cases[] = {{kUntyped, kDimensionles, kUntyped, kUntyped},
                 {kDimensionles, kUntyped, kUntyped, kUntyped},
                 {kMassFlow, kFlow, kMassFlow, kMassFlow},
                 {-kFlow, -kMassFlow, -kMassFlow, N},
                 {kHeat, kEnergy, kEnergy, N},
                 {-kArea, kAreaPrice, kAreaPrice, kAreaPrice},
                 {kVolumePrice, -kVolume, kVolumePrice, kVolumePrice},
                 {kDimensionles, kComposition, kComposition, kComposition},
                 {kPressure, kPdrop, kPressure, kPressure},
                 {kPdrop, kPressure, kPressure, N},
                 {kDeltaT, kTemperature, kTemperature, N},
                 {kEnthalpyFlo, kElecPower, kPower, N},
                 {kTemperature, kDeltaT, kTemperature, kTemperature},
                 {kMoleEnthalp, kEnthalpy, kMoleEnthalp, kMoleEnthalp},
                 {kEntropy, kMoleEntropy, kMoleEntropy, kMoleEntropy},
                 {kPackFactor, kFilterResis, kInverseLeng, N},
                 {-kEnergy, kElecPrice, kEnergyPrice, N},
                 {-kPressure, -kPdrop, -kPressure, N},
                 {kLength, kShortLength, N, N},
                 {kTemperature, kTemperature, kTemperature, kDeltaT},
                 {kPressure, kPressure, kPressure, kPdrop},
                 {-kEnergy, -kEnergy, -kEnergy, -kEnergy},
                 {kEnthalpy, kMassEnthalp, N, N},
                 {-kEnergy, -kEnergyPrice, N, N},
                 {kEnergy, -kEnergy, N, N}};
    for (const auto &c : cases) {
        long long sum = -999, difference = -999;
        EXPECT_EQ(rtouom_ptype_add(c.a, c.b, &sum) ? sum : N + sum, c.sum) << c.a << " + " << c.b;
        EXPECT_EQ(rtouom_ptype_sub(c.a, c.b, &difference) ? difference : N + difference, c.difference)
            << c.a << " - " << c.b;
    }
}

TEST(UomTypes, CoercionAndDifferenceTypes) {
    const int coercions[][3] = {{kEnergy, kEnergy, 1}, {kUntyped, 1, 1},  {kUntyped, 148, 1},
                                {kUntyped, 149, 0},    {kUntyped, -1, 0}, {kArea, kUntyped, 0}};
    for (auto &c : coercions) EXPECT_EQ(rtouom_coercion_allowed(c[0], c[1]), c[2]) << c[0] << " -> " << c[1];
    const std::pair<int, int> deltas[] = {
        {kPressure, kPdrop}, {kTemperature, kDeltaT}, {kPdrop, kPdrop}, {-kPressure, -kPressure}};
    for (auto [p, d] : deltas) EXPECT_EQ(rtouom_delta_ptype(p), d);
}

}  // namespace
