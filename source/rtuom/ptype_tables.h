// The product and quotient tables of physical types, as data, and the codes
// of the types the algebra names. Rows of one first operand are contiguous
// and in lookup order; a price type is the negated code of its type.
#ifndef ZARN_RTUOM_PTYPE_TABLES_H
#define ZARN_RTUOM_PTYPE_TABLES_H

#include <cstdint>

#include "rtuom/uomcatalog.h"

namespace zarn::rtuom::ptalg {

// The numbers come from the generated catalogue header.
enum TypeCode : int16_t {
    UNTYPED = kUntyped,
    AREA = kArea,
    COMPOSITION = kComposition,
    DENSITY = kDensity,
    ENERGY = kEnergy,
    ENTHALPY = kEnthalpy,
    ENTROPY = kEntropy,
    FISCAL = kFiscal,
    FLOW = kFlow,
    MASS_FLOW = kMassFlow,
    MOLE_FLOW = kMoleFlow,
    VOLUME_FLOW = kVolumeFlow,
    ENTHALPY_FLO = kEnthalpyFlo,
    FORCE = kForce,
    HEAT_TRANS_C = kHeatTransC,
    LENGTH = kLength,
    MASS = kMass,
    POWER = kPower,
    PRESSURE = kPressure,
    SURFACE_TENS = kSurfaceTens,
    TEMPERATURE = kTemperature,
    TIME = kTime,
    VELOCITY = kVelocity,
    VOLUME = kVolume,
    UNIT_PRICE = kUnitPrice,
    ENERGY_PRICE = kEnergyPrice,
    DELTA_T = kDeltaT,
    FILTER_RESIS = kFilterResis,
    MOLE_DENSITY = kMoleDensity,
    MASS_DENSITY = kMassDensity,
    MOLE_ENTHALP = kMoleEnthalp,
    MASS_ENTHALP = kMassEnthalp,
    MOLE_ENTROPY = kMoleEntropy,
    MASS_ENTROPY = kMassEntropy,
    MOLE_VOLUME = kMoleVolume,
    DIMENSIONLES = kDimensionles,
    ELEC_POWER = kElecPower,
    ELEC_PRICE = kElecPrice,
    UA = kUa,
    MOLES = kMoles,
    HEAT = kHeat,
    AREA_PRICE = kAreaPrice,
    VOLUME_PRICE = kVolumePrice,
    MASS_CONC = kMassConc,
    INVERSE_TIME = kInverseTime,
    FLUX = kFlux,
    MOLE_CONC = kMoleConc,
    SPECIFICAREA = kSpecificarea,
    INVERSE_LENG = kInverseLeng,
    MASS_FLUX = kMassFlux,
    WATER_RATE = kWaterRate,
    PDROP_PER_HT = kPdropPerHt,
    PDROP = kPdrop,
    PACK_FACTOR = kPackFactor,
    INVERSE_AREA = kInverseArea,
    HEAT_FLUX = kHeatFlux,
    INVERSE_TEMP = kInverseTemp,
    INVERSE_PRES = kInversePres,
    CONTENTS = kContents,
    VOL_ENTHALPY = kVolEnthalpy,
    VOLTAGE = kVoltage,
    CURRENT = kCurrent,
    COST_RATE = kCostRate,
    MOLE_PRICE = kMolePrice,
    MOLE_WEIGHT = kMoleWeight,
};

// One row: first operand, second operand, result.
struct TypeRow {
    int16_t first;
    int16_t second;
    int16_t result;
};

// The rows of one table, in table order.
struct TypeTable {
    const TypeRow *rows;
    int count;
};

extern const TypeTable kProductTable;
extern const TypeTable kQuotientTable;

}  // namespace zarn::rtuom::ptalg

#endif
