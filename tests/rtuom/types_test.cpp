// Compatibility of physical types: equality, sums, differences, coercion.
#include <gtest/gtest.h>

#include <climits>
#include <utility>

#include "rtuom/uomcatalog.h"

namespace {

using namespace zarn::rtuom;

TEST(UomTypes, EqualPairsBothWaysAndNothingElse) {
    const std::pair<int, int> pairs[] = {
        {kFlow, kMassFlow},         {-kArea, kAreaPrice},        {-kVolume, kVolumePrice},   {kComposition, kDimensionles},
        {kPressure, kPdrop},        {kEnthalpy, kMoleEnthalp},   {kEnthalpy, kMassEnthalp},  {kEntropy, kMoleEntropy},
        {kEntropy, kMassEntropy},   {kMoleEntropy, kMoleHeatCa}, {kMassEntropy, kMassHeatCa}, {kPower, kEnthalpyFlo},
        {kPower, kElecPower},       {kEnthalpyFlo, kElecPower},  {kInverseLeng, kFilterResis}, {kInverseLeng, kPackFactor},
        {kPackFactor, kFilterResis}, {kEnergy, kHeat},           {-kEnergy, kEnergyPrice},   {kElecPrice, kEnergyPrice},
        {kElecPrice, -kEnergy},     {kDensity, kMassDensity},    {kUntyped, kDimensionles},  {kEntropy, kMoleHeatCa}};
    for (auto [a, b] : pairs) EXPECT_EQ(rtouom_ptype_equal(a, b) + rtouom_ptype_equal(b, a), 2) << a << " " << b;
    int equal = 0;  // nothing else between a plain type and any type
    for (int a = -148; a < kTypeCount; ++a)
        for (int b = a + 1; b < kTypeCount; ++b) equal += rtouom_ptype_equal(a, b) && !(a < 0 && b < 0);
    EXPECT_EQ(equal, 24);
    EXPECT_EQ(rtouom_ptype_equal(kMoleEnthalp, kMassEnthalp), 0);  // not transitive
    EXPECT_EQ(rtouom_ptype_equal(-kFlow, -kMassFlow), 1);           // two price types: as their plain types
    EXPECT_EQ(rtouom_ptype_equal(-kArea, -kAreaPrice) + rtouom_ptype_equal(kEnergy, -kEnergy), 0);
}

struct Case {
    int a, b, ok, out;
};

TEST(UomTypes, TypeOfASumAndOfADifference) {
    const Case sums[] = {
        {kUntyped, kDimensionles, 1, kUntyped}, {kDimensionles, kUntyped, 1, kUntyped}, {kMassFlow, kFlow, 1, kMassFlow},
        {-kFlow, -kMassFlow, 1, -kMassFlow},     {-kArea, kAreaPrice, 1, kAreaPrice},     {kVolumePrice, -kVolume, 1, kVolumePrice},
        {kComposition, kDimensionles, 1, kComposition}, {kPdrop, kPressure, 1, kPressure}, {kDeltaT, kTemperature, 1, kTemperature},
        {kEnthalpy, kMoleEnthalp, 1, kMoleEnthalp}, {kMoleEntropy, kEntropy, 1, kMoleEntropy}, {kEnthalpyFlo, kElecPower, 1, kPower},
        {kPackFactor, kFilterResis, 1, kInverseLeng}, {kHeat, kEnergy, 1, kEnergy},       {-kEnergy, kElecPrice, 1, kEnergyPrice},
        {-kPressure, -kPdrop, 1, -kPressure},   {kLength, kLength, 1, kLength},           {kArea, kComposition, 0, 0},
        {kEnthalpy, kMassEnthalp, 0, 0},         {kMoleEnthalp, kMassEnthalp, 0, 0},       {-kEnergy, -kEnergyPrice, 0, 0},
        {kLength, kShortLength, 0, 0},           {kEnergy, -kEnergy, 0, 0}};
    const Case differences[] = {
        {kTemperature, kTemperature, 1, kDeltaT}, {kPressure, kPressure, 1, kPdrop},   {-kEnergy, -kEnergy, 1, -kEnergy},
        {kPressure, kPdrop, 1, kPressure},        {kTemperature, kDeltaT, 1, kTemperature}, {kMassFlow, kFlow, 1, kMassFlow},
        {kAreaPrice, -kArea, 1, kAreaPrice},      {-kVolume, kVolumePrice, 1, kVolumePrice}, {kDimensionles, kComposition, 1, kComposition},
        {kMoleEnthalp, kEnthalpy, 1, kMoleEnthalp}, {kEntropy, kMoleEntropy, 1, kMoleEntropy}, {kDimensionles, kUntyped, 1, kUntyped},
        // order matters for PDROP and DELTA-T; no group rules; no price recursion
        {kPdrop, kPressure, 0, 0}, {kDeltaT, kTemperature, 0, 0}, {kPower, kElecPower, 0, 0}, {kInverseLeng, kFilterResis, 0, 0},
        {kEnergy, kHeat, 0, 0},    {-kEnergy, kEnergyPrice, 0, 0}, {-kFlow, -kMassFlow, 0, 0}};
    for (const Case &c : sums) {
        long long out = -999;
        EXPECT_EQ(rtouom_ptype_add(c.a, c.b, &out), c.ok) << c.a << " + " << c.b;
        EXPECT_EQ(out, c.out) << c.a << " + " << c.b;
    }
    for (const Case &c : differences) {
        long long out = -999;
        EXPECT_EQ(rtouom_ptype_sub(c.a, c.b, &out), c.ok) << c.a << " - " << c.b;
        EXPECT_EQ(out, c.out) << c.a << " - " << c.b;
    }
}

TEST(UomTypes, CoercionAndDifferenceTypes) {
    const Case coercions[] = {{kEnergy, kEnergy, 1, 0}, {kUntyped, 1, 1, 0}, {kUntyped, 148, 1, 0},
                              {kUntyped, 149, 0, 0},    {kUntyped, -1, 0, 0}, {kArea, kUntyped, 0, 0}};
    for (const Case &c : coercions) EXPECT_EQ(rtouom_coercion_allowed(c.a, c.b), c.ok) << c.a << " -> " << c.b;
    const std::pair<int, int> deltas[] = {{kPressure, kPdrop}, {kTemperature, kDeltaT}, {kPdrop, kPdrop}, {-kPressure, -kPressure}};
    for (auto [p, d] : deltas) EXPECT_EQ(rtouom_delta_ptype(p), d);
}

}  // namespace
