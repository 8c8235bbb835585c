// The product and quotient tables of physical types, as data, and the codes
// of the types the algebra names. Rows of one first operand are contiguous
// and in lookup order; a price type is the negated code of its type.
#ifndef ZARN_RTUOM_PTYPE_TABLES_H
#define ZARN_RTUOM_PTYPE_TABLES_H

#include <cstdint>

namespace zarn::rtuom::ptalg {

enum TypeCode : int16_t {
    UNTYPED = 0,
    AREA = 1,
    COMPOSITION = 2,
    DENSITY = 3,
    ENERGY = 5,
    ENTHALPY = 6,
    ENTROPY = 7,
    FISCAL = 8,
    FLOW = 9,
    MASS_FLOW = 10,
    MOLE_FLOW = 11,
    VOLUME_FLOW = 12,
    ENTHALPY_FLO = 13,
    FORCE = 14,
    HEAT_TRANS_C = 16,
    LENGTH = 17,
    MASS = 18,
    POWER = 19,
    PRESSURE = 20,
    SURFACE_TENS = 21,
    TEMPERATURE = 22,
    TIME = 24,
    VELOCITY = 25,
    VOLUME = 27,
    UNIT_PRICE = 29,
    ENERGY_PRICE = 30,
    DELTA_T = 31,
    FILTER_RESIS = 35,
    MOLE_DENSITY = 37,
    MASS_DENSITY = 38,
    MOLE_ENTHALP = 39,
    MASS_ENTHALP = 40,
    MOLE_ENTROPY = 41,
    MASS_ENTROPY = 42,
    MOLE_VOLUME = 43,
    DIMENSIONLES = 44,
    ELEC_POWER = 47,
    ELEC_PRICE = 48,
    UA = 50,
    MOLES = 51,
    HEAT = 53,
    AREA_PRICE = 54,
    VOLUME_PRICE = 55,
    MASS_CONC = 58,
    INVERSE_TIME = 59,
    FLUX = 61,
    MOLE_CONC = 64,
    SPECIFICAREA = 67,
    INVERSE_LENG = 68,
    MASS_FLUX = 70,
    WATER_RATE = 73,
    PDROP_PER_HT = 74,
    PDROP = 75,
    PACK_FACTOR = 76,
    INVERSE_AREA = 78,
    HEAT_FLUX = 80,
    INVERSE_TEMP = 81,
    INVERSE_PRES = 82,
    CONTENTS = 85,
    VOL_ENTHALPY = 88,
    VOLTAGE = 113,
    CURRENT = 114,
    COST_RATE = 119,
    MOLE_PRICE = 125,
    MOLE_WEIGHT = 139,
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
