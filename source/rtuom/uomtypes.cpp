// Compatibility of physical types: equivalence, the type of a sum or a
// difference, coercion and the type of a difference of two values.
#include <array>
#include <climits>
#include <cstdint>

#include "rtuom/difference.h"
#include "rtuom/uomcatalog.h"

namespace zarn::rtuom {
namespace {

// The type of a difference of two values of p: PDROP for PRESSURE, DELTA-T
// for TEMPERATURE, p itself otherwise.
constexpr int delta_of(int p) {
    if (p == kPressure) return kPdrop;
    if (p == kTemperature) return kDeltaT;
    return p;
}

// The types that are the difference type of another type.
constexpr std::array<bool, RTOUOM_NTYPES> kIsDifference = [] {
    std::array<bool, RTOUOM_NTYPES> t{};
    for (int q = 0; q < RTOUOM_NTYPES; ++q)
        if (delta_of(q) != q) t[delta_of(q)] = true;
    return t;
}();

struct TypePair {
    int a, b;
};

// Pairs that rtouom_ptype_equal treats as equal, in either order.
constexpr TypePair kEqualPairs[] = {
    {kFlow, kMassFlow},           {-kArea, kAreaPrice},
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
    {kUntyped, kDimensionles},    {kEntropy, kMoleHeatCa},
};

bool is_pair(int a, int b, int x, int y) { return (a == x && b == y) || (a == y && b == x); }

bool in_group(int t, const int (&group)[3]) { return t == group[0] || t == group[1] || t == group[2]; }

// First rule of the sum that applies; result 0 when none does.
int sum_type(int a, int b, int *out) {
    if (a == b) {
        *out = a;
        return 1;
    }
    if (a < 0 && b < 0 && a != INT_MIN && b != INT_MIN) {
        if (sum_type(-a, -b, out)) {
            *out = -*out;
            return 1;
        }
        return 0;
    }
    struct Rule {
        int x, y, result;
    };
    static constexpr Rule kPairs[] = {
        {kFlow, kMassFlow, kMassFlow},           {-kArea, kAreaPrice, kAreaPrice},
        {-kVolume, kVolumePrice, kVolumePrice},  {kComposition, kDimensionles, kComposition},
        {kPressure, kPdrop, kPressure},          {kTemperature, kDeltaT, kTemperature},
        {kEnthalpy, kMoleEnthalp, kMoleEnthalp}, {kEntropy, kMoleEntropy, kMoleEntropy},
    };
    for (const Rule &r : kPairs) {
        if (is_pair(a, b, r.x, r.y)) {
            *out = r.result;
            return 1;
        }
    }
    static constexpr int kPowerGroup[3] = {kPower, kEnthalpyFlo, kElecPower};
    static constexpr int kInverseGroup[3] = {kInverseLeng, kFilterResis, kPackFactor};
    static constexpr int kPriceGroup[3] = {-kEnergy, kEnergyPrice, kElecPrice};
    if (in_group(a, kPowerGroup) && in_group(b, kPowerGroup)) {
        *out = kPower;
        return 1;
    }
    if (in_group(a, kInverseGroup) && in_group(b, kInverseGroup)) {
        *out = kInverseLeng;
        return 1;
    }
    if (is_pair(a, b, kEnergy, kHeat)) {
        *out = kEnergy;
        return 1;
    }
    if (in_group(a, kPriceGroup) && in_group(b, kPriceGroup)) {
        *out = kEnergyPrice;
        return 1;
    }
    if (is_pair(a, b, kUntyped, kDimensionles)) {
        *out = kUntyped;
        return 1;
    }
    return 0;
}

int difference_type(int a, int b, int *out) {
    if (a == b) {
        *out = a == kTemperature ? kDeltaT : a == kPressure ? kPdrop : a;
        return 1;
    }
    struct Rule {
        int x, y, result;
        bool ordered;  // only a = x, b = y
    };
    static constexpr Rule kRules[] = {
        {kFlow, kMassFlow, kMassFlow, false},           {-kArea, kAreaPrice, kAreaPrice, false},
        {-kVolume, kVolumePrice, kVolumePrice, false},  {kComposition, kDimensionles, kComposition, false},
        {kPressure, kPdrop, kPressure, true},           {kTemperature, kDeltaT, kTemperature, true},
        {kEnthalpy, kMoleEnthalp, kMoleEnthalp, false}, {kEntropy, kMoleEntropy, kMoleEntropy, false},
        {kUntyped, kDimensionles, kUntyped, false},
    };
    for (const Rule &r : kRules) {
        if (r.ordered ? (a == r.x && b == r.y) : is_pair(a, b, r.x, r.y)) {
            *out = r.result;
            return 1;
        }
    }
    return 0;
}

}  // namespace

bool is_difference_type(int p) { return p >= 0 && p < RTOUOM_NTYPES && kIsDifference[p]; }

}  // namespace zarn::rtuom

using namespace zarn::rtuom;

extern "C" {

ZARN_API int rtouom_ptype_equal(int a, int b) {
    if (a == b) return 1;
    if (a < 0 && b < 0) return a != INT_MIN && b != INT_MIN ? rtouom_ptype_equal(-a, -b) : 0;
    for (const TypePair &p : kEqualPairs)
        if (is_pair(a, b, p.a, p.b)) return 1;
    return 0;
}

ZARN_API int rtouom_ptype_add(int a, int b, long long *out) {
    int type = 0;
    const int ok = sum_type(a, b, &type);
    if (out != nullptr) *out = ok ? type : 0;
    return ok;
}

ZARN_API int rtouom_ptype_sub(int a, int b, long long *out) {
    int type = 0;
    const int ok = difference_type(a, b, &type);
    if (out != nullptr) *out = ok ? type : 0;
    return ok;
}

ZARN_API int rtouom_coercion_allowed(int from, int to) {
    if (from == to) return 1;
    return from == kUntyped && to >= 1 && to <= RTOUOM_NTYPES - 1 ? 1 : 0;
}

ZARN_API int rtouom_delta_ptype(int p) { return delta_of(p); }

}  // extern "C"
