// Built-in units catalogue: physical type numbers and names, the counts and
// the tables of uomcatalog.cpp. Written by scripts/gen_uomcatalog.py from
// scripts/uom_typelist.py; edit those, not this file.
#ifndef ZARN_RTUOM_UOMCATALOG_H
#define ZARN_RTUOM_UOMCATALOG_H

#include "zarnutils/rtuom.h"

namespace zarn::rtuom {

inline constexpr int kTypeCount = 149;     // built-in physical types 0..148
inline constexpr int kCatalogSize = 1386;  // built-in unit entries of all types
static_assert(kTypeCount == RTOUOM_NTYPES, "the public header counts the types");

// Physical type numbers by name.
enum PhysicalType : int {
    kUntyped = 0,
    kArea = 1,
    kComposition = 2,
    kDensity = 3,
    kDiffusivity = 4,
    kEnergy = 5,
    kEnthalpy = 6,
    kEntropy = 7,
    kFiscal = 8,
    kFlow = 9,
    kMassFlow = 10,
    kMoleFlow = 11,
    kVolumeFlow = 12,
    kEnthalpyFlo = 13,
    kForce = 14,
    kMoleHeatCa = 15,
    kHeatTransC = 16,
    kLength = 17,
    kMass = 18,
    kPower = 19,
    kPressure = 20,
    kSurfaceTens = 21,
    kTemperature = 22,
    kThermalCond = 23,
    kTime = 24,
    kVelocity = 25,
    kViscosity = 26,
    kVolume = 27,
    kFrequency = 28,
    kUnitPrice = 29,
    kEnergyPrice = 30,
    kDeltaT = 31,
    kAngle = 32,
    kHead = 33,
    kBondWorkIn = 34,
    kFilterResis = 35,
    kSpecFltRes = 36,
    kMoleDensity = 37,
    kMassDensity = 38,
    kMoleEnthalp = 39,
    kMassEnthalp = 40,
    kMoleEntropy = 41,
    kMassEntropy = 42,
    kMoleVolume = 43,
    kDimensionles = 44,
    kDipolemoment = 45,
    kSoluparam = 46,
    kElecPower = 47,
    kElecPrice = 48,
    kMassHeatCa = 49,
    kUa = 50,
    kMoles = 51,
    kWork = 52,
    kHeat = 53,
    kAreaPrice = 54,
    kVolumePrice = 55,
    kItemPrice = 56,
    kNumConc = 57,
    kMassConc = 58,
    kInverseTime = 59,
    kLnInvTime = 60,
    kFlux = 61,
    kAreaUsage = 62,
    kVolumeUsage = 63,
    kMoleConc = 64,
    kPowerVolume = 65,
    kMassTransC = 66,
    kSpecificarea = 67,
    kInverseLeng = 68,
    kChromVel = 69,
    kMassFlux = 70,
    kSolventPerm = 71,
    kSolutePerm = 72,
    kWaterRate = 73,
    kPdropPerHt = 74,
    kPdrop = 75,
    kPackFactor = 76,
    kNumConRate = 77,
    kInverseArea = 78,
    kVolHeatCap = 79,
    kHeatFlux = 80,
    kInverseTemp = 81,
    kInversePres = 82,
    kTempVolume = 83,
    kVflowLength = 84,
    kContents = 85,
    kPopDensity = 86,
    kInverseHtC = 87,
    kVolEnthalpy = 88,
    kMolFlowLen = 89,
    kUsrDummy0 = 90,
    kUsrDummy1 = 91,
    kUsrDummy2 = 92,
    kDesignPres = 93,
    kUsrDummy4 = 94,
    kUsrDummy5 = 95,
    kUsrDummy6 = 96,
    kUsrDummy7 = 97,
    kUsrDummy8 = 98,
    kUsrDummy9 = 99,
    kVflowRpm = 100,
    kFFactor = 101,
    kMassCycl = 102,
    kMoleCycl = 103,
    kVolumeCycl = 104,
    kEnthalpyCyc = 105,
    kMassOper = 106,
    kMoleOper = 107,
    kVolumeOper = 108,
    kEnthalpyOpr = 109,
    kRhoVsqrd = 110,
    kSoundLevel = 111,
    kMomInertia = 112,
    kVoltage = 113,
    kCurrent = 114,
    kMassVolume = 115,
    kMassPerLen = 116,
    kEnergyVol = 117,
    kSiemensM = 118,
    kCostRate = 119,
    kFluxHeatAr = 120,
    kFluxMole = 121,
    kHeatRateV = 122,
    kMoleRxnRat = 123,
    kMolRxnRatw = 124,
    kMolePrice = 125,
    kVolHtrCoef = 126,
    kPowerArea = 127,
    kPowerMass = 128,
    kMassEmissio = 129,
    kInverseVel = 130,
    kSpecMatRes = 131,
    kAcceleration = 132,
    kMassContent = 133,
    kAreaSqtime = 134,
    kMoleArea = 135,
    kWeirLoad = 136,
    kDowncomerLd = 137,
    kShortLength = 138,
    kMoleWeight = 139,
    kFs = 140,
    kMassflArea = 141,
    kVolumeGflow = 142,
    kResistance = 143,
    kVelocitFlux = 144,
    kMassContRt = 145,
    kGrowthRate = 146,
    kMassflLen = 147,
    kMoleflLen = 148,
};

// One built-in unit: name, SI value of one unit, SI value of its zero.
struct CatalogUnit {
    const char *name;
    double multiplier;
    double offset;
};

// Where a type's units sit in kCatalogUnits.
struct CatalogSpan {
    int first;
    int count;
};

// A type name with its number, for lookup by bisection.
struct SortedType {
    const char *name;
    int number;
};

extern const char *const kTypeNames[kTypeCount];      // by number
extern const SortedType kSortedTypes[kTypeCount];     // ascending byte order
extern const CatalogUnit kCatalogUnits[kCatalogSize];  // type 0 first, then 1, ...
extern const CatalogSpan kCatalogSpans[kTypeCount];   // by number

}  // namespace zarn::rtuom

#endif
