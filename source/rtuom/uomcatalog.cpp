// Built-in units: 149 physical types and their units in index order.
// Written by scripts/gen_uomcatalog.py from the base definitions listed in
// docs/units.md; edit those, not this file.
#include "rtuom/uomcatalog.h"

namespace zarn::rtuom {

const char *const kTypeNames[kTypeCount] = {
    "UNTYPED",       // 0
    "AREA",          // 1
    "COMPOSITION",   // 2
    "DENSITY",       // 3
    "DIFFUSIVITY",   // 4
    "ENERGY",        // 5
    "ENTHALPY",      // 6
    "ENTROPY",       // 7
    "FISCAL",        // 8
    "FLOW",          // 9
    "MASS-FLOW",     // 10
    "MOLE-FLOW",     // 11
    "VOLUME-FLOW",   // 12
    "ENTHALPY-FLO",  // 13
    "FORCE",         // 14
    "MOLE-HEAT-CA",  // 15
    "HEAT-TRANS-C",  // 16
    "LENGTH",        // 17
    "MASS",          // 18
    "POWER",         // 19
    "PRESSURE",      // 20
    "SURFACE-TENS",  // 21
    "TEMPERATURE",   // 22
    "THERMAL-COND",  // 23
    "TIME",          // 24
    "VELOCITY",      // 25
    "VISCOSITY",     // 26
    "VOLUME",        // 27
    "FREQUENCY",     // 28
    "UNIT-PRICE",    // 29
    "ENERGY-PRICE",  // 30
    "DELTA-T",       // 31
    "ANGLE",         // 32
    "HEAD",          // 33
    "BOND-WORK-IN",  // 34
    "FILTER-RESIS",  // 35
    "SPEC-FLT-RES",  // 36
    "MOLE-DENSITY",  // 37
    "MASS-DENSITY",  // 38
    "MOLE-ENTHALP",  // 39
    "MASS-ENTHALP",  // 40
    "MOLE-ENTROPY",  // 41
    "MASS-ENTROPY",  // 42
    "MOLE-VOLUME",   // 43
    "DIMENSIONLES",  // 44
    "DIPOLEMOMENT",  // 45
    "SOLUPARAM",     // 46
    "ELEC-POWER",    // 47
    "ELEC-PRICE",    // 48
    "MASS-HEAT-CA",  // 49
    "UA",            // 50
    "MOLES",         // 51
    "WORK",          // 52
    "HEAT",          // 53
    "AREA-PRICE",    // 54
    "VOLUME-PRICE",  // 55
    "ITEM-PRICE",    // 56
    "NUM-CONC",      // 57
    "MASS-CONC",     // 58
    "INVERSE-TIME",  // 59
    "LN-INV-TIME",   // 60
    "FLUX",          // 61
    "AREA-USAGE",    // 62
    "VOLUME-USAGE",  // 63
    "MOLE-CONC",     // 64
    "POWER-VOLUME",  // 65
    "MASS-TRANS-C",  // 66
    "SPECIFICAREA",  // 67
    "INVERSE-LENG",  // 68
    "CHROM-VEL",     // 69
    "MASS-FLUX",     // 70
    "SOLVENT-PERM",  // 71
    "SOLUTE-PERM",   // 72
    "WATER-RATE",    // 73
    "PDROP-PER-HT",  // 74
    "PDROP",         // 75
    "PACK-FACTOR",   // 76
    "NUM-CON-RATE",  // 77
    "INVERSE-AREA",  // 78
    "VOL-HEAT-CAP",  // 79
    "HEAT-FLUX",     // 80
    "INVERSE-TEMP",  // 81
    "INVERSE-PRES",  // 82
    "TEMP-VOLUME",   // 83
    "VFLOW-LENGTH",  // 84
    "CONTENTS",      // 85
    "POP-DENSITY",   // 86
    "INVERSE-HT-C",  // 87
    "VOL-ENTHALPY",  // 88
    "MOL-FLOW-LEN",  // 89
    "USR-DUMMY0",    // 90
    "USR-DUMMY1",    // 91
    "USR-DUMMY2",    // 92
    "DESIGN-PRES",   // 93
    "USR-DUMMY4",    // 94
    "USR-DUMMY5",    // 95
    "USR-DUMMY6",    // 96
    "USR-DUMMY7",    // 97
    "USR-DUMMY8",    // 98
    "USR-DUMMY9",    // 99
    "VFLOW-RPM",     // 100
    "F-FACTOR",      // 101
    "MASS-CYCL",     // 102
    "MOLE-CYCL",     // 103
    "VOLUME-CYCL",   // 104
    "ENTHALPY-CYC",  // 105
    "MASS-OPER",     // 106
    "MOLE-OPER",     // 107
    "VOLUME-OPER",   // 108
    "ENTHALPY-OPR",  // 109
    "RHO-VSQRD",     // 110
    "SOUND-LEVEL",   // 111
    "MOM-INERTIA",   // 112
    "VOLTAGE",       // 113
    "CURRENT",       // 114
    "MASS-VOLUME",   // 115
    "MASS-PER-LEN",  // 116
    "ENERGY-VOL",    // 117
    "SIEMENS-M",     // 118
    "COST-RATE",     // 119
    "FLUX-HEAT-AR",  // 120
    "FLUX-MOLE",     // 121
    "HEAT-RATE-V",   // 122
    "MOLE-RXN-RAT",  // 123
    "MOL-RXN-RATW",  // 124
    "MOLE-PRICE",    // 125
    "VOL-HTR-COEF",  // 126
    "POWER-AREA",    // 127
    "POWER-MASS",    // 128
    "MASS-EMISSIO",  // 129
    "INVERSE-VEL",   // 130
    "SPEC-MAT-RES",  // 131
    "ACCELERATION",  // 132
    "MASS-CONTENT",  // 133
    "AREA-SQTIME",   // 134
    "MOLE-AREA",     // 135
    "WEIR-LOAD",     // 136
    "DOWNCOMER-LD",  // 137
    "SHORT-LENGTH",  // 138
    "MOLE-WEIGHT",   // 139
    "FS",            // 140
    "MASSFL-AREA",   // 141
    "VOLUME-GFLOW",  // 142
    "RESISTANCE",    // 143
    "VELOCIT-FLUX",  // 144
    "MASS-CONT-RT",  // 145
    "GROWTH-RATE",   // 146
    "MASSFL-LEN",    // 147
    "MOLEFL-LEN",    // 148
};

const SortedType kSortedTypes[kTypeCount] = {
    {"ACCELERATION",  132},
    {"ANGLE",         32},
    {"AREA",          1},
    {"AREA-PRICE",    54},
    {"AREA-SQTIME",   134},
    {"AREA-USAGE",    62},
    {"BOND-WORK-IN",  34},
    {"CHROM-VEL",     69},
    {"COMPOSITION",   2},
    {"CONTENTS",      85},
    {"COST-RATE",     119},
    {"CURRENT",       114},
    {"DELTA-T",       31},
    {"DENSITY",       3},
    {"DESIGN-PRES",   93},
    {"DIFFUSIVITY",   4},
    {"DIMENSIONLES",  44},
    {"DIPOLEMOMENT",  45},
    {"DOWNCOMER-LD",  137},
    {"ELEC-POWER",    47},
    {"ELEC-PRICE",    48},
    {"ENERGY",        5},
    {"ENERGY-PRICE",  30},
    {"ENERGY-VOL",    117},
    {"ENTHALPY",      6},
    {"ENTHALPY-CYC",  105},
    {"ENTHALPY-FLO",  13},
    {"ENTHALPY-OPR",  109},
    {"ENTROPY",       7},
    {"F-FACTOR",      101},
    {"FILTER-RESIS",  35},
    {"FISCAL",        8},
    {"FLOW",          9},
    {"FLUX",          61},
    {"FLUX-HEAT-AR",  120},
    {"FLUX-MOLE",     121},
    {"FORCE",         14},
    {"FREQUENCY",     28},
    {"FS",            140},
    {"GROWTH-RATE",   146},
    {"HEAD",          33},
    {"HEAT",          53},
    {"HEAT-FLUX",     80},
    {"HEAT-RATE-V",   122},
    {"HEAT-TRANS-C",  16},
    {"INVERSE-AREA",  78},
    {"INVERSE-HT-C",  87},
    {"INVERSE-LENG",  68},
    {"INVERSE-PRES",  82},
    {"INVERSE-TEMP",  81},
    {"INVERSE-TIME",  59},
    {"INVERSE-VEL",   130},
    {"ITEM-PRICE",    56},
    {"LENGTH",        17},
    {"LN-INV-TIME",   60},
    {"MASS",          18},
    {"MASS-CONC",     58},
    {"MASS-CONT-RT",  145},
    {"MASS-CONTENT",  133},
    {"MASS-CYCL",     102},
    {"MASS-DENSITY",  38},
    {"MASS-EMISSIO",  129},
    {"MASS-ENTHALP",  40},
    {"MASS-ENTROPY",  42},
    {"MASS-FLOW",     10},
    {"MASS-FLUX",     70},
    {"MASS-HEAT-CA",  49},
    {"MASS-OPER",     106},
    {"MASS-PER-LEN",  116},
    {"MASS-TRANS-C",  66},
    {"MASS-VOLUME",   115},
    {"MASSFL-AREA",   141},
    {"MASSFL-LEN",    147},
    {"MOL-FLOW-LEN",  89},
    {"MOL-RXN-RATW",  124},
    {"MOLE-AREA",     135},
    {"MOLE-CONC",     64},
    {"MOLE-CYCL",     103},
    {"MOLE-DENSITY",  37},
    {"MOLE-ENTHALP",  39},
    {"MOLE-ENTROPY",  41},
    {"MOLE-FLOW",     11},
    {"MOLE-HEAT-CA",  15},
    {"MOLE-OPER",     107},
    {"MOLE-PRICE",    125},
    {"MOLE-RXN-RAT",  123},
    {"MOLE-VOLUME",   43},
    {"MOLE-WEIGHT",   139},
    {"MOLEFL-LEN",    148},
    {"MOLES",         51},
    {"MOM-INERTIA",   112},
    {"NUM-CON-RATE",  77},
    {"NUM-CONC",      57},
    {"PACK-FACTOR",   76},
    {"PDROP",         75},
    {"PDROP-PER-HT",  74},
    {"POP-DENSITY",   86},
    {"POWER",         19},
    {"POWER-AREA",    127},
    {"POWER-MASS",    128},
    {"POWER-VOLUME",  65},
    {"PRESSURE",      20},
    {"RESISTANCE",    143},
    {"RHO-VSQRD",     110},
    {"SHORT-LENGTH",  138},
    {"SIEMENS-M",     118},
    {"SOLUPARAM",     46},
    {"SOLUTE-PERM",   72},
    {"SOLVENT-PERM",  71},
    {"SOUND-LEVEL",   111},
    {"SPEC-FLT-RES",  36},
    {"SPEC-MAT-RES",  131},
    {"SPECIFICAREA",  67},
    {"SURFACE-TENS",  21},
    {"TEMP-VOLUME",   83},
    {"TEMPERATURE",   22},
    {"THERMAL-COND",  23},
    {"TIME",          24},
    {"UA",            50},
    {"UNIT-PRICE",    29},
    {"UNTYPED",       0},
    {"USR-DUMMY0",    90},
    {"USR-DUMMY1",    91},
    {"USR-DUMMY2",    92},
    {"USR-DUMMY4",    94},
    {"USR-DUMMY5",    95},
    {"USR-DUMMY6",    96},
    {"USR-DUMMY7",    97},
    {"USR-DUMMY8",    98},
    {"USR-DUMMY9",    99},
    {"VELOCIT-FLUX",  144},
    {"VELOCITY",      25},
    {"VFLOW-LENGTH",  84},
    {"VFLOW-RPM",     100},
    {"VISCOSITY",     26},
    {"VOL-ENTHALPY",  88},
    {"VOL-HEAT-CAP",  79},
    {"VOL-HTR-COEF",  126},
    {"VOLTAGE",       113},
    {"VOLUME",        27},
    {"VOLUME-CYCL",   104},
    {"VOLUME-FLOW",   12},
    {"VOLUME-GFLOW",  142},
    {"VOLUME-OPER",   108},
    {"VOLUME-PRICE",  55},
    {"VOLUME-USAGE",  63},
    {"WATER-RATE",    73},
    {"WEIR-LOAD",     136},
    {"WORK",          52},
};

const CatalogUnit kCatalogUnits[kCatalogSize] = {
    // 0 UNTYPED (1)
    {"*",                   1,                     0},
    // 1 AREA (7)
    {"SQM",                 1,                     0},
    {"SQFT",                0.09290304,            0},
    {"SQM",                 1,                     0},
    {"SQCM",                0.0001,                0},
    {"SQIN",                0.00064516,            0},
    {"SQMILE",              2589988.110336,        0},
    {"SQMM",                1e-06,                 0},
    // 2 COMPOSITION (4)
    {"MOL-FR",              1,                     0},
    {"MOL-FR",              1,                     0},
    {"MOL-FR",              1,                     0},
    {"MASS-FR",             1,                     0},
    // 3 DENSITY (7)
    {"KG/CUM",              1,                     0},
    {"LB/CUFT",             16.0184633739601,      0},
    {"GM/CC",               1000,                  0},
    {"LB/GAL",              119.826427316897,      0},
    {"GM/CUM",              0.001,                 0},
    {"GM/ML",               1000,                  0},
    {"LB/BBL",              2.85301017421182,      0},
    // 4 DIFFUSIVITY (4)
    {"SQM/SEC",             1,                     0},
    {"SQFT/HR",             2.58064e-05,           0},
    {"SQCM/SEC",            0.0001,                0},
    {"CS",                  1e-06,                 0},
    // 5 ENERGY (16)
    {"J",                   1,                     0},
    {"BTU",                 1055.05585262,         0},
    {"CAL",                 4.1868,                0},
    {"KCAL",                4186.8,                0},
    {"KWHR",                3600000,               0},
    {"FT-LBF",              1.3558179483314,       0},
    {"GJ",                  1000000000,            0},
    {"KJ",                  1000,                  0},
    {"N-M",                 1,                     0},
    {"MJ",                  1000000,               0},
    {"MCAL",                4186800,               0},
    {"GCAL",                4186800000,            0},
    {"MBTU",                1055055.85262,         0},
    {"MMBTU",               1055055852.62,         0},
    {"HP-HR",               2684519.53769617,      0},
    {"MMKCAL",              4184100000,            0},
    // 6 ENTHALPY (7)
    {"J/KMOL",              1,                     0},
    {"BTU/LBMOL",           2326,                  0},
    {"CAL/MOL",             4186.8,                0},
    {"J/KG",                1,                     0},
    {"BTU/LB",              2326,                  0},
    {"CAL/GM",              4186.8,                0},
    {"MBTU/LBMOL",          2326000,               0},
    // 7 ENTROPY (12)
    {"J/KMOL-K",            1,                     0},
    {"BTU/LBMOL-R",         4186.8,                0},
    {"CAL/MOL-K",           4186.8,                0},
    {"J/KG-K",              1,                     0},
    {"BTU/LB-R",            4186.8,                0},
    {"CAL/GM-K",            4186.8,                0},
    {"MJ/KMOL-K",           1000000,               0},
    {"KCAL/KMOL-K",         4186.8,                0},
    {"GCAL/KMOL-K",         4186800000,            0},
    {"MBTU/LBMOL-R",        4186800,               0},
    {"KJ/MOL-K",            1000000,               0},
    {"KJ/KMOL-K",           1000,                  0},
    // 8 FISCAL (3)
    {"$",                   1,                     0},
    {"$",                   1,                     0},
    {"$",                   1,                     0},
    // 9 FLOW (45)
    {"KG/SEC",              1,                     0},
    {"LB/HR",               0.000125997880555556,  0},
    {"KG/HR",               0.000277777777777778,  0},
    {"LB/SEC",              0.45359237,            0},
    {"MLB/HR",              0.125997880555556,     0},
    {"TONS/DAY",            0.0104998233796296,    0},
    {"MCFH",                0.000332024149967752,  0},
    {"TONNE/HR",            0.277777777777778,     0},
    {"LB/DAY",              5.24991168981482e-06,  0},
    {"KG/DAY",              1.15740740740741e-05,  0},
    {"TONS/HR",             0.251995761111111,     0},
    {"KG/MIN",              0.0166666666666667,    0},
    {"KG/YEAR",             3.16880878140289e-08,  0},
    {"GM/MIN",              1.66666666666667e-05,  0},
    {"GM/HR",               2.77777777777778e-07,  0},
    {"GM/DAY",              1.15740740740741e-08,  0},
    {"MGM/HR",              0.277777777777778,     0},
    {"GGM/HR",              277.777777777778,      0},
    {"MGM/DAY",             0.0115740740740741,    0},
    {"GGM/DAY",             11.5740740740741,      0},
    {"LB/MIN",              0.00755987283333333,   0},
    {"MMLB/HR",             125.997880555556,      0},
    {"MLB/DAY",             0.00524991168981481,   0},
    {"MMLB/DAY",            5.24991168981482,      0},
    {"LB/YEAR",             1.43734748523335e-08,  0},
    {"MLB/YEAR",            1.43734748523335e-05,  0},
    {"MMLB/YEAR",           0.0143734748523335,    0},
    {"TONS/MIN",            15.1197456666667,      0},
    {"MTONS/YEAR",          0.028746949704667,     0},
    {"MMTONS/YEAR",         28.746949704667,       0},
    {"L-TONS/MIN",          16.9341151466667,      0},
    {"L-TONS/HR",           0.282235252444444,     0},
    {"L-TONS/DAY",          0.0117598021851852,    0},
    {"ML-TONS/YEAR",        0.0321965836692271,    0},
    {"MML-TONS/YEAR",       32.1965836692271,      0},
    {"KTONNE/YEAR",         0.031688087814029,     0},
    {"KG/OPER-YEAR",        3.16880878140289e-08,  -99999},
    {"LB/OPER-YEAR",        1.43734748523335e-08,  -99999},
    {"MLB/OPER-YEAR",       1.43734748523335e-05,  -99999},
    {"MMLB/OPER-YEAR",      0.0143734748523335,    -99999},
    {"MTONS/OPER-YEAR",     0.028746949704667,     -99999},
    {"MMTONS/OPER-YEAR",    28.746949704667,       -99999},
    {"ML-TONS/OPER-YEAR",   0.0321965836692271,    -99999},
    {"MML-TONS/OPER-YEAR",  32.1965836692271,      -99999},
    {"KTONNE/OPER-YEAR",    0.031688087814029,     -99999},
    // 10 MASS-FLOW (50)
    {"KG/SEC",              1,                     0},
    {"LB/HR",               0.000125997880555556,  0},
    {"KG/HR",               0.000277777777777778,  0},
    {"LB/SEC",              0.45359237,            0},
    {"MLB/HR",              0.125997880555556,     0},
    {"TONS/DAY",            0.0104998233796296,    0},
    {"GM/SEC",              0.001,                 0},
    {"TONNE/HR",            0.277777777777778,     0},
    {"LB/DAY",              5.24991168981482e-06,  0},
    {"KG/DAY",              1.15740740740741e-05,  0},
    {"TONS/YEAR",           2.8746949704667e-05,   0},
    {"TONS/HR",             0.251995761111111,     0},
    {"TONNE/DAY",           0.0115740740740741,    0},
    {"TONNE/YEAR",          3.16880878140289e-05,  0},
    {"KG/MIN",              0.0166666666666667,    0},
    {"KG/YEAR",             3.16880878140289e-08,  0},
    {"GM/MIN",              1.66666666666667e-05,  0},
    {"GM/HR",               2.77777777777778e-07,  0},
    {"GM/DAY",              1.15740740740741e-08,  0},
    {"MGM/HR",              0.277777777777778,     0},
    {"GGM/HR",              277.777777777778,      0},
    {"MGM/DAY",             0.0115740740740741,    0},
    {"GGM/DAY",             11.5740740740741,      0},
    {"LB/MIN",              0.00755987283333333,   0},
    {"MMLB/HR",             125.997880555556,      0},
    {"MLB/DAY",             0.00524991168981481,   0},
    {"MMLB/DAY",            5.24991168981482,      0},
    {"LB/YEAR",             1.43734748523335e-08,  0},
    {"MLB/YEAR",            1.43734748523335e-05,  0},
    {"MMLB/YEAR",           0.0143734748523335,    0},
    {"TONS/MIN",            15.1197456666667,      0},
    {"MTONS/YEAR",          0.028746949704667,     0},
    {"MMTONS/YEAR",         28.746949704667,       0},
    {"L-TONS/MIN",          16.9341151466667,      0},
    {"L-TONS/HR",           0.282235252444444,     0},
    {"L-TONS/DAY",          0.0117598021851852,    0},
    {"ML-TONS/YEAR",        0.0321965836692271,    0},
    {"MML-TONS/YEAR",       32.1965836692271,      0},
    {"KTONNE/YEAR",         0.031688087814029,     0},
    {"TONS/OPER-YEAR",      2.8746949704667e-05,   -99999},
    {"TONNE/OPER-YEAR",     3.16880878140289e-05,  -99999},
    {"KG/OPER-YEAR",        3.16880878140289e-08,  -99999},
    {"LB/OPER-YEAR",        1.43734748523335e-08,  -99999},
    {"MLB/OPER-YEAR",       1.43734748523335e-05,  -99999},
    {"MMLB/OPER-YEAR",      0.0143734748523335,    -99999},
    {"MTONS/OPER-YEAR",     0.028746949704667,     -99999},
    {"MMTONS/OPER-YEAR",    28.746949704667,       -99999},
    {"ML-TONS/OPER-YEAR",   0.0321965836692271,    -99999},
    {"MML-TONS/OPER-YEAR",  32.1965836692271,      -99999},
    {"KTONNE/OPER-YEAR",    0.031688087814029,     -99999},
    // 11 MOLE-FLOW (33)
    {"KMOL/SEC",            1,                     0},
    {"LBMOL/HR",            0.000125997880555556,  0},
    {"KMOL/HR",             0.000277777777777778,  0},
    {"MMSCFH",              0.332024149967751,     0},
    {"MMSCMH",              11.7479287166491,      0},
    {"MOL/SEC",             0.001,                 0},
    {"LBMOL/SEC",           0.45359237,            0},
    {"SCMH",                1.17479287166491e-05,  0},
    {"LBMOL/DAY",           5.24991168981482e-06,  0},
    {"KMOL/DAY",            1.15740740740741e-05,  0},
    {"MMSCFD",              0.0138343395819896,    0},
    {"MSCFD",               1.38343395819896e-05,  0},
    {"SCFM",                1.99214489980651e-05,  0},
    {"MOL/MIN",             1.66666666666667e-05,  0},
    {"KMOL/KHR",            2.77777777777778e-07,  0},
    {"KMOL/MHR",            2.77777777777778e-07,  0},
    {"MOL/HR",              2.77777777777778e-07,  0},
    {"MMOL/HR",             2.77777777777778e-10,  0},
    {"MLBMOL/HR",           0.125997880555556,     0},
    {"LBMOL/MHR",           1.25997880555556e-07,  0},
    {"LBMOL/MMHR",          1.25997880555556e-10,  0},
    {"MSCFM",               0.0199214489980651,    0},
    {"SCFH",                3.32024149967751e-07,  0},
    {"MSCFH",               0.000332024149967752,  0},
    {"SCFD",                1.38343395819896e-08,  0},
    {"NCMH",                1.23930648350813e-05,  0},
    {"NCMD",                5.1637770146172e-07,   0},
    {"KMOL/MIN",            0.0166666666666667,    0},
    {"KMOL/WEEK",           1.65343915343915e-06,  0},
    {"KMOL/MONTH",          3.80257053768347e-07,  0},
    {"KMOL/YEAR",           3.16880878140289e-08,  0},
    {"KMOL/OPER-YEAR",      3.16880878140289e-08,  -99999},
    {"LBMOL/MIN",           0.00755987283333333,   0},
    // 12 VOLUME-FLOW (40)
    {"CUM/SEC",             1,                     0},
    {"CUFT/HR",             7.86579072e-06,        0},
    {"L/MIN",               1.66666666666667e-05,  0},
    {"GAL/MIN",             6.30901964e-05,        0},
    {"GAL/HR",              1.05150327333333e-06,  0},
    {"BBL/DAY",             1.84013072833333e-06,  0},
    {"CUM/HR",              0.000277777777777778,  0},
    {"CUFT/MIN",            0.0004719474432,       0},
    {"BBL/HR",              4.416313748e-05,       0},
    {"CUFT/SEC",            0.028316846592,        0},
    {"CUM/DAY",             1.15740740740741e-05,  0},
    {"CUM/YEAR",            3.16880878140289e-08,  0},
    {"L/HR",                2.77777777777778e-07,  0},
    {"KBBL/DAY",            0.00184013072833333,   0},
    {"MMCUFT/HR",           7.86579072,            0},
    {"MMCUFT/DAY",          0.32774128,            0},
    {"MCUFT/DAY",           0.00032774128,         0},
    {"L/SEC",               0.001,                 0},
    {"L/DAY",               1.15740740740741e-08,  0},
    {"CUM/MIN",             0.0166666666666667,    0},
    {"KCUM/SEC",            1000,                  0},
    {"KCUM/HR",             0.277777777777778,     0},
    {"KCUM/DAY",            0.0115740740740741,    0},
    {"MCUM/SEC",            1000000,               0},
    {"MCUM/HR",             277.777777777778,      0},
    {"MCUM/DAY",            11.5740740740741,      0},
    {"ACFM",                0.0004719474432,       0},
    {"CUFT/DAY",            3.2774128e-07,         0},
    {"MCUFT/MIN",           0.4719474432,          0},
    {"MCUFT/HR",            0.00786579072,         0},
    {"MMCUFT/HR",           7.86579072,            0},
    {"MGAL/MIN",            0.0630901964,          0},
    {"MMGAL/MIN",           63.0901964,            0},
    {"MGAL/HR",             0.00105150327333333,   0},
    {"MMGAL/HR",            1.05150327333333,      0},
    {"MBBL/HR",             0.04416313748,         0},
    {"MMBBL/HR",            44.16313748,           0},
    {"MBBL/DAY",            0.00184013072833333,   0},
    {"MMBBL/DAY",           1.84013072833333,      0},
    {"CUM/OPER-YEAR",       3.16880878140289e-08,  -99999},
    // 13 ENTHALPY-FLO (22)
    {"WATT",                1,                     0},
    {"BTU/HR",              0.293071070172222,     0},
    {"CAL/SEC",             4.1868,                0},
    {"J/SEC",               1,                     0},
    {"GJ/HR",               277777.777777778,      0},
    {"KCAL/HR",             1.163,                 0},
    {"MMKCAL/HR",           1162250,               0},
    {"MMBTU/HR",            293071.070172222,      0},
    {"MMKCAL/DAY",          48427.0833333333,      0},
    {"MMBTU/DAY",           12211.2945905093,      0},
    {"PCU/HR",              0.52752792631,         0},
    {"MMPCU/HR",            527527.92631,          0},
    {"KJ/SEC",              1000,                  0},
    {"KW",                  1000,                  0},
    {"MW",                  1000000,               0},
    {"GW",                  1000000000,            0},
    {"MJ/HR",               277.777777777778,      0},
    {"GCAL/HR",             1163000,               0},
    {"MBTU/HR",             293.071070172222,      0},
    {"GCAL/DAY",            48458.3333333333,      0},
    {"MCAL/HR",             1163,                  0},
    {"KJ/HR",               0.277777777777778,     0},
    // 14 FORCE (4)
    {"NEWTON",              1,                     0},
    {"LBF",                 4.4482216152605,       0},
    {"DYNE",                1e-05,                 0},
    {"KG-M/S2",             1,                     0},
    // 15 MOLE-HEAT-CA (8)
    {"J/KMOL-K",            1,                     0},
    {"BTU/LBMOL-R",         4186.8,                0},
    {"CAL/MOL-K",           4186.8,                0},
    {"KCAL/MOL-K",          4186800,               0},
    {"TCAL/MOL-K",          4184,                  0},
    {"PCU/LBMOL-K",         4186.8,                0},
    {"KJ/KMOL-K",           1000,                  0},
    {"BTU/LBMOL-F",         4186.8,                0},
    // 16 HEAT-TRANS-C (19)
    {"WATT/SQM-K",          1,                     0},
    {"BTU/HR-SQFT-R",       5.67826334111349,      0},
    {"CAL/SEC-SQCM-K",      41868,                 0},
    {"KCAL/SEC-SQM-K",      4186.8,                0},
    {"KCAL/HR-SQM-K",       1.163,                 0},
    {"PCU/HR-SQFT-K",       5.67826334111349,      0},
    {"KW/SQM-K",            1000,                  0},
    {"J/SEC-SQM-K",         1,                     0},
    {"KJ/SEC-SQM-K",        1000,                  0},
    {"MMBTU/HR-SQFT-R",     5678263.34111349,      0},
    {"KJ/SEC-SQM-C",        1000,                  0},
    {"MJ/SEC-SQM-K",        1000000,               0},
    {"MJ/SEC-SQM-C",        1000000,               0},
    {"GJ/HR-SQM-K",         277777.777777778,      0},
    {"GJ/HR-SQM-C",         277777.777777778,      0},
    {"KCAL/HR-SQM-C",       1.163,                 0},
    {"BTU/HR-SQFT-F",       5.67826334111349,      0},
    {"MMBTU/HR-SQFT-F",     5678263.34111349,      0},
    {"MW/SQM-K",            1000000,               0},
    // 17 LENGTH (12)
    {"METER",               1,                     0},
    {"FT",                  0.3048,                0},
    {"METER",               1,                     0},
    {"CM",                  0.01,                  0},
    {"IN",                  0.0254,                0},
    {"MU",                  1e-06,                 0},
    {"MM",                  0.001,                 0},
    {"MILE",                1609.344,              0},
    {"KM",                  1000,                  0},
    {"ANGSTROM",            1e-10,                 0},
    {"MFT",                 304.8,                 0},
    {"MICRON",              1e-06,                 0},
    // 18 MASS (9)
    {"KG",                  1,                     0},
    {"LB",                  0.45359237,            0},
    {"KG",                  1,                     0},
    {"GM",                  0.001,                 0},
    {"TON",                 907.18474,             0},
    {"MLB",                 453.59237,             0},
    {"TONNE",               1000,                  0},
    {"L-TON",               1016.0469088,          0},
    {"MMLB",                453592.37,             0},
    // 19 POWER (14)
    {"WATT",                1,                     0},
    {"HP",                  745.69987158227,       0},
    {"KW",                  1000,                  0},
    {"BTU/HR",              0.293071070172222,     0},
    {"CAL/SEC",             4.1868,                0},
    {"FT-LBF/SEC",          1.3558179483314,       0},
    {"MW",                  1000000,               0},
    {"GW",                  1000000000,            0},
    {"MJ/HR",               277.777777777778,      0},
    {"KCAL/HR",             1.163,                 0},
    {"GCAL/HR",             1163000,               0},
    {"MMBTU/HR",            293071.070172222,      0},
    {"MBTU/HR",             293.071070172222,      0},
    {"MHP",                 745699.87158227,       0},
    // 20 PRESSURE (37)
    {"N/SQM",               1,                     0},
    {"PSIA",                6894.75729316836,      0},
    {"ATM",                 101325,                0},
    {"LBF/SQFT",            47.8802589803358,      0},
    {"BAR",                 100000,                0},
    {"TORR",                133.322368421053,      0},
    {"IN-WATER",            249.08891,             0},
    {"KG/SQCM",             98066.5,               0},
    {"MMHG",                133.322368421053,      0},
    {"KPA",                 1000,                  0},
    {"MM-WATER",            9.80665,               0},
    {"MBAR",                100,                   0},
    {"PSIG",                6894.75729316836,      101325},
    {"ATMG",                101325,                101325},
    {"BARG",                100000,                101325},
    {"KG/SQCMG",            98066.5,               101325},
    {"LB/FT-SQSEC",         1.48816394356955,      0},
    {"KG/M-SQSEC",          1,                     0},
    {"PA",                  1,                     0},
    {"MPA",                 1000000,               0},
    {"PAG",                 1,                     101325},
    {"KPAG",                1000,                  101325},
    {"MPAG",                1000000,               101325},
    {"MBARG",               100,                   101325},
    {"IN-HG",               3386.38815789474,      0},
    {"MMHG-VAC",            -133.322368421053,     101325},
    {"IN-HG-VAC",           -3386.38815789474,     101325},
    {"IN-WATER-60F",        248.84,                0},
    {"IN-WATER-VAC",        -249.08891,            101325},
    {"IN-WATER-60F-VAC",    -248.84,               101325},
    {"IN-WATER-G",          249.08891,             101325},
    {"IN-WATER-60F-G",      248.84,                101325},
    {"MM-WATER-G",          9.80665,               101325},
    {"MM-WATER-60F-G",      9.79685039370079,      101325},
    {"PSI",                 6894.75729316836,      0},
    {"MM-WATER-60F",        9.79685039370079,      0},
    {"BARA",                100000,                0},
    // 21 SURFACE-TENS (6)
    {"N/M",                 1,                     0},
    {"DYNE/CM",             0.001,                 0},
    {"DYNE/CM",             0.001,                 0},
    {"LBF/FT",              14.5939029372064,      0},
    {"MN/M",                0.001,                 0},
    {"DYNE/M",              1e-05,                 0},
    // 22 TEMPERATURE (5)
    {"K",                   1,                     0},
    {"F",                   0.555555555555556,     255.372222222222},
    {"K",                   1,                     0},
    {"C",                   1,                     273.15},
    {"R",                   0.555555555555556,     0},
    // 23 THERMAL-COND (14)
    {"WATT/M-K",            1,                     0},
    {"BTU-FT/HR-SQFT-R",    1.73073466637139,      0},
    {"KCAL-M/HR-SQM-K",     1.163,                 0},
    {"BTU-IN/HR-SQFT-R",    0.144227888864283,     0},
    {"C-CM/SEC-SQCM-K",     418.68,                0},
    {"CAL-CM/SEC-SQCM-K",   418.68,                0},
    {"BTU/HR-FT-R",         1.73073466637139,      0},
    {"KCAL/HR-M-K",         1.163,                 0},
    {"J/SEC-M-K",           1,                     0},
    {"KW/M-K",              1000,                  0},
    {"BTU-FT/HR-SQFT-F",    1.73073466637139,      0},
    {"BTU-IN/HR-SQFT-F",    0.144227888864283,     0},
    {"BTU/HR-FT-F",         1.73073466637139,      0},
    {"MW/M-K",              1000000,               0},
    // 24 TIME (10)
    {"SEC",                 1,                     0},
    {"HR",                  3600,                  0},
    {"HR",                  3600,                  0},
    {"DAY",                 86400,                 0},
    {"MIN",                 60,                    0},
    {"YEAR",                31557600,              0},
    {"MONTH",               2629800,               0},
    {"WEEK",                604800,                0},
    {"NSEC",                1e-09,                 0},
    {"OPER-YEAR",           31557600,              -99999},
    // 25 VELOCITY (10)
    {"M/SEC",               1,                     0},
    {"FT/SEC",              0.3048,                0},
    {"M/SEC",               1,                     0},
    {"MILE/HR",             0.44704,               0},
    {"KM/HR",               0.277777777777778,     0},
    {"FT/MIN",              0.00508,               0},
    {"MM/DAY",              1.15740740740741e-08,  0},
    {"MM/HR",               2.77777777777778e-07,  0},
    {"MM/DAY30",            3.85802469135802e-10,  0},
    {"IN/DAY",              2.93981481481481e-07,  0},
    // 26 VISCOSITY (9)
    {"N-SEC/SQM",           1,                     0},
    {"CP",                  0.001,                 0},
    {"CP",                  0.001,                 0},
    {"LB/FT-HR",            0.000413378873213765,  0},
    {"MN-SEC/SQM",          0.001,                 0},
    {"P",                   0.1,                   0},
    {"GM/SEC-CM",           0.1,                   0},
    {"DYN-SEC/SQCM",        0.1,                   0},
    {"PA-SEC",              1,                     0},
    // 27 VOLUME (23)
    {"CUM",                 1,                     0},
    {"CUFT",                0.028316846592,        0},
    {"L",                   0.001,                 0},
    {"CUIN",                1.6387064e-05,         0},
    {"GAL",                 0.003785411784,        0},
    {"BBL",                 0.158987294928,        0},
    {"CC",                  1e-06,                 0},
    {"KCUM",                1000,                  0},
    {"MCUM",                1000000,               0},
    {"MCUFT",               28.316846592,          0},
    {"MMCUFT",              28316.846592,          0},
    {"ML",                  1e-06,                 0},
    {"KL",                  1,                     0},
    {"MML",                 1000,                  0},
    {"MGAL",                3.785411784,           0},
    {"MMGAL",               3785.411784,           0},
    {"UKGAL",               0.00454609,            0},
    {"MUKGAL",              4.54609,               0},
    {"MMUKGAL",             4546.09,               0},
    {"MBBL",                158.987294928,         0},
    {"MMBBL",               158987.294928,         0},
    {"KBBL",                158.987294928,         0},
    {"CUYD",                0.764554857984,        0},
    // 28 FREQUENCY (8)
    {"HZ",                  1,                     0},
    {"RPM",                 0.0166666666666667,    0},
    {"RPM",                 0.0166666666666667,    0},
    {"RAD/SEC",             0.159154943091895,     0},
    {"RPS",                 1,                     0},
    {"KRPM",                16.6666666666667,      0},
    {"MMRPM",               16666.6666666667,      0},
    {"RPH",                 0.000277777777777778,  0},
    // 29 UNIT-PRICE (9)
    {"$/KG",                1,                     0},
    {"$/LB",                2.20462262184878,      0},
    {"$/KG",                1,                     0},
    {"$/TON",               0.00110231131092439,   0},
    {"$/MLB",               0.00220462262184878,   0},
    {"$/GM",                1000,                  0},
    {"$/L-TON",             0.000984206527611061,  0},
    {"$/TONNE",             0.001,                 0},
    {"$/MMLB",              2.20462262184878e-06,  0},
    // 30 ENERGY-PRICE (15)
    {"$/J",                 1,                     0},
    {"$/BTU",               0.000947817120313317,  0},
    {"$/CAL",               0.238845896627496,     0},
    {"$/KCAL",              0.000238845896627496,  0},
    {"$/KWHR",              2.77777777777778e-07,  0},
    {"$/FT-LBF",            0.737562149277265,     0},
    {"$/GCAL",              2.38845896627496e-10,  0},
    {"$/MMBTU",             9.47817120313317e-10,  0},
    {"$/HP-HR",             3.72506135998619e-07,  0},
    {"$/MBTU",              9.47817120313317e-07,  0},
    {"$/KJ",                0.001,                 0},
    {"$/MJ",                1e-06,                 0},
    {"$/GJ",                1e-09,                 0},
    {"$/N-M",               1,                     0},
    {"$/MCAL",              2.38845896627496e-07,  0},
    // 31 DELTA-T (9)
    {"DELTA-K",             1,                     0},
    {"DELTA-F",             0.555555555555556,     0},
    {"DELTA-K",             1,                     0},
    {"DELTA-C",             1,                     0},
    {"DELTA-R",             0.555555555555556,     0},
    {"DELTA-K",             1,                     0},
    {"DELTA-F",             0.555555555555556,     0},
    {"DELTA-C",             1,                     0},
    {"DELTA-R",             0.555555555555556,     0},
    // 32 ANGLE (3)
    {"RAD",                 1,                     0},
    {"DEG",                 0.0174532925199433,    0},
    {"DEG",                 0.0174532925199433,    0},
    // 33 HEAD (15)
    {"J/KG",                1,                     0},
    {"FT-LBF/LB",           2.98906692,            0},
    {"M-KGF/KG",            9.80665,               0},
    {"SQM/SQSEC",           1,                     0},
    {"INCH",                0.24908891,            0},
    {"FT",                  2.98906692,            0},
    {"METER",               9.80665,               0},
    {"KJ/KG",               1000,                  0},
    {"KM-KGF/KG",           9806.65,               0},
    {"MFT",                 2989.06692,            0},
    {"MJ/KG",               1000000,               0},
    {"MFT-LBF/LB",          2989.06692,            0},
    {"FT-HEAD",             2.98906692,            0},
    {"METER-HEAD",          9.80665,               0},
    {"INCH-HEAD",           0.24908891,            0},
    // 34 BOND-WORK-IN (4)
    {"J/KG",                1,                     0},
    {"KWHR/TON",            3968.3207193278,       0},
    {"KWHR/TON",            3968.3207193278,       0},
    {"KJ/KG",               1000,                  0},
    // 35 FILTER-RESIS (5)
    {"1/METER",             1,                     0},
    {"1/FT",                3.28083989501312,      0},
    {"1/METER",             1,                     0},
    {"1/CM",                100,                   0},
    {"1/IN",                39.3700787401575,      0},
    // 36 SPEC-FLT-RES (4)
    {"METER/KG",            1,                     0},
    {"FT/LB",               0.671968975139507,     0},
    {"METER/KG",            1,                     0},
    {"CM/GM",               10,                    0},
    // 37 MOLE-DENSITY (7)
    {"KMOL/CUM",            1,                     0},
    {"LBMOL/CUFT",          16.0184633739601,      0},
    {"MOL/CC",              1000,                  0},
    {"LBMOL/GAL",           119.826427316897,      0},
    {"MOL/L",               1,                     0},
    {"MMOL/CC",             1,                     0},
    {"MMOL/L",              0.001,                 0},
    // 38 MASS-DENSITY (10)
    {"KG/CUM",              1,                     0},
    {"LB/CUFT",             16.0184633739601,      0},
    {"GM/CC",               1000,                  0},
    {"LB/GAL",              119.826427316897,      0},
    {"GM/CUM",              0.001,                 0},
    {"GM/ML",               1000,                  0},
    {"GM/L",                1,                     0},
    {"MG/L",                0.001,                 0},
    {"MG/CC",               1,                     0},
    {"MG/CUM",              1e-06,                 0},
    // 39 MOLE-ENTHALP (18)
    {"J/KMOL",              1,                     0},
    {"BTU/LBMOL",           2326,                  0},
    {"CAL/MOL",             4186.8,                0},
    {"KCAL/MOL",            4186800,               0},
    {"TCAL/MOL",            4184,                  0},
    {"MMKCAL/MOL",          4184100000000,         0},
    {"MMBTU/LBMOL",         2326000000,            0},
    {"PCU/LBMOL",           4186.8,                0},
    {"MMPCU/LBMOL",         4186800000,            0},
    {"KJ/KMOL",             1000,                  0},
    {"GJ/KMOL",             1000000000,            0},
    {"MJ/KMOL",             1000000,               0},
    {"KCAL/KMOL",           4186.8,                0},
    {"GCAL/KMOL",           4186800000,            0},
    {"MBTU/LBMOL",          2326000,               0},
    {"BTU/SCF",             882679.980358921,      0},
    {"GCAL/MOL",            4186800000000,         0},
    {"KJ/MOL",              1000000,               0},
    // 40 MASS-ENTHALP (12)
    {"J/KG",                1,                     0},
    {"BTU/LB",              2326,                  0},
    {"CAL/GM",              4186.8,                0},
    {"KCAL/KG",             4186.8,                0},
    {"MMKCAL/KG",           4184100000,            0},
    {"MMBTU/LB",            2326000000,            0},
    {"PCU/LB",              4186.8,                0},
    {"MMPCU/LB",            4186800000,            0},
    {"KJ/KG",               1000,                  0},
    {"MJ/KG",               1000000,               0},
    {"GCAL/KG",             4186800000,            0},
    {"MBTU/LB",             2326000,               0},
    // 41 MOLE-ENTROPY (11)
    {"J/KMOL-K",            1,                     0},
    {"BTU/LBMOL-R",         4186.8,                0},
    {"CAL/MOL-K",           4186.8,                0},
    {"KCAL/MOL-K",          4186800,               0},
    {"KJ/KMOL-K",           1000,                  0},
    {"TCAL/MOL-K",          4184,                  0},
    {"MJ/KMOL-K",           1000000,               0},
    {"KCAL/KMOL-K",         4186.8,                0},
    {"GCAL/KMOL-K",         4186800000,            0},
    {"MBTU/LBMOL-R",        4186800,               0},
    {"KJ/MOL-K",            1000000,               0},
    // 42 MASS-ENTROPY (8)
    {"J/KG-K",              1,                     0},
    {"BTU/LB-R",            4186.8,                0},
    {"CAL/GM-K",            4186.8,                0},
    {"KCAL/KG-K",           4186.8,                0},
    {"KJ/KG-K",             1000,                  0},
    {"MJ/KG-K",             1000000,               0},
    {"GCAL/KG-K",           4186800000,            0},
    {"MBTU/LB-R",           4186800,               0},
    // 43 MOLE-VOLUME (5)
    {"CUM/KMOL",            1,                     0},
    {"CUFT/LBMOL",          0.0624279605761446,    0},
    {"CC/MOL",              0.001,                 0},
    {"ML/MOL",              0.001,                 0},
    {"BBL/MSCF",            0.133011823038443,     0},
    // 44 DIMENSIONLES (5)
    {"UNITLESS",            1,                     0},
    {"UNITLESS",            1,                     0},
    {"UNITLESS",            1,                     0},
    {"UNITLESS",            1,                     0},
    {"UNITLESS",            1,                     0},
    // 45 DIPOLEMOMENT (5)
    {"(J*CUM)**.5",         1,                     0},
    {"(BTU*CUFT)**.5",      5.46588096509907,      0},
    {"DEBYE",               3.16227766016838e-25,  0},
    {"(KJ*CUM)**.5",        31.6227766016838,      0},
    {"C*M",                 94802.6992620367,      0},
    // 46 SOLUPARAM (6)
    {"(J/CUM)**.5",         1,                     0},
    {"(BTU/CUFT)**.5",      193.025764621802,      0},
    {"(CAL/CC)**.5",        2046.16714859759,      0},
    {"(KCAL/CUM)**.5",      64.705486629806,       0},
    {"(KJ/CUM)**.5",        31.6227766016838,      0},
    {"(CAL/ML)**0.5",       2046.16714859759,      0},
    // 47 ELEC-POWER (4)
    {"WATT",                1,                     0},
    {"KW",                  1000,                  0},
    {"KW",                  1000,                  0},
    {"MW",                  1000000,               0},
    // 48 ELEC-PRICE (3)
    {"$/J",                 1,                     0},
    {"$/KWHR",              2.77777777777778e-07,  0},
    {"$/KWHR",              2.77777777777778e-07,  0},
    // 49 MASS-HEAT-CA (7)
    {"J/KG-K",              1,                     0},
    {"BTU/LB-R",            4186.8,                0},
    {"CAL/GM-K",            4186.8,                0},
    {"KCAL/GM-K",           4186800,               0},
    {"PCU/LB-K",            4186.8,                0},
    {"KJ/KG-K",             1000,                  0},
    {"BTU/LB-F",            4186.8,                0},
    // 50 UA (8)
    {"J/SEC-K",             1,                     0},
    {"BTU/HR-R",            0.52752792631,         0},
    {"CAL/SEC-K",           4.1868,                0},
    {"KJ/SEC-K",            1000,                  0},
    {"KCAL/SEC-K",          4186.8,                0},
    {"KCAL/HR-K",           1.163,                 0},
    {"BTU/HR-F",            0.52752792631,         0},
    {"KW/K",                1000,                  0},
    // 51 MOLES (9)
    {"KMOL",                1,                     0},
    {"LBMOL",               0.45359237,            0},
    {"KMOL",                1,                     0},
    {"SCM",                 0.0422925433799369,    0},
    {"MMSCF",               1195.28693988391,      0},
    {"MSCF",                1.19528693988391,      0},
    {"MMSCM",               42292.5433799369,      0},
    {"MOL",                 0.001,                 0},
    {"SCF",                 0.00119528693988391,   0},
    // 52 WORK (11)
    {"J",                   1,                     0},
    {"HP-HR",               2684519.53769617,      0},
    {"KW-HR",               3600000,               0},
    {"FT-LBF",              1.3558179483314,       0},
    {"KJ",                  1000,                  0},
    {"N-M",                 1,                     0},
    {"MJ",                  1000000,               0},
    {"MBTU",                1055055.85262,         0},
    {"MMBTU",               1055055852.62,         0},
    {"MCAL",                4186800,               0},
    {"GCAL",                4186800000,            0},
    // 53 HEAT (16)
    {"J",                   1,                     0},
    {"BTU",                 1055.05585262,         0},
    {"CAL",                 4.1868,                0},
    {"KCAL",                4186.8,                0},
    {"MMKCAL",              4184100000,            0},
    {"MMBTU",               1055055852.62,         0},
    {"PCU",                 1899.100534716,        0},
    {"MMPCU",               1899100534.716,        0},
    {"KJ",                  1000,                  0},
    {"GJ",                  1000000000,            0},
    {"N-M",                 1,                     0},
    {"MJ",                  1000000,               0},
    {"MCAL",                4186800,               0},
    {"GCAL",                4186800000,            0},
    {"MBTU",                1055055.85262,         0},
    {"KW-HR",               3600000,               0},
    // 54 AREA-PRICE (7)
    {"$/SQM",               1,                     0},
    {"$/SQFT",              10.7639104167097,      0},
    {"$/SQM",               1,                     0},
    {"$/SQCM",              10000,                 0},
    {"$/SQIN",              1550.0031000062,       0},
    {"$/SQMILE",            3.86102158542446e-07,  0},
    {"$/SQMM",              1000000,               0},
    // 55 VOLUME-PRICE (23)
    {"$/CUM",               1,                     0},
    {"$/CUFT",              35.3146667214886,      0},
    {"$/L",                 1000,                  0},
    {"$/CC",                1000000,               0},
    {"$/BBL",               6.28981077043211,      0},
    {"$/CUYD",              1.30795061931439,      0},
    {"$/KL",                1,                     0},
    {"$/CUIN",              61023.7440947323,      0},
    {"$/ML",                1000000,               0},
    {"$/MML",               0.001,                 0},
    {"$/GAL",               264.172052358148,      0},
    {"$/MGAL",              0.264172052358148,     0},
    {"$/MMGAL",             0.000264172052358148,  0},
    {"$/UKGAL",             219.969248299088,      0},
    {"$/MUKGAL",            0.219969248299088,     0},
    {"$/MMUKGAL",           0.000219969248299088,  0},
    {"$/KBBL",              0.00628981077043211,   0},
    {"$/MCUFT",             0.0353146667214886,    0},
    {"$/MMCUFT",            3.53146667214886e-05,  0},
    {"$/KCUM",              0.001,                 0},
    {"$/MCUM",              1e-06,                 0},
    {"$/MBBL",              0.00628981077043211,   0},
    {"$/MMBBL",             6.28981077043211e-06,  0},
    // 56 ITEM-PRICE (3)
    {"$/ITEM",              1,                     0},
    {"$/ITEM",              1,                     0},
    {"$/ITEM",              1,                     0},
    // 57 NUM-CONC (12)
    {"NO/CUM",              1,                     0},
    {"NO/CUFT",             35.3146667214886,      0},
    {"NO/L",                1000,                  0},
    {"NO/CC",               1000000,               0},
    {"1E6/CC",              1000000000000,         0},
    {"1E9/CC",              1e+15,                 0},
    {"1E6/L",               1000000000,            0},
    {"1E9/L",               1000000000000,         0},
    {"1E6/CUM",             1000000,               0},
    {"1E9/CUM",             1000000000,            0},
    {"1E6/CUFT",            35314666.7214886,      0},
    {"1E9/CUFT",            35314666721.4886,      0},
    // 58 MASS-CONC (10)
    {"KG/CUM",              1,                     0},
    {"LB/CUFT",             16.0184633739601,      0},
    {"GM/L",                1,                     0},
    {"GM/CC",               1000,                  0},
    {"MG/L",                0.001,                 0},
    {"MG/CC",               1,                     0},
    {"MG/CUM",              1e-06,                 0},
    {"LB/GAL",              119.826427316897,      0},
    {"GM/CUM",              0.001,                 0},
    {"GM/ML",               1000,                  0},
    // 59 INVERSE-TIME (7)
    {"1/SEC",               1,                     0},
    {"1/HR",                0.000277777777777778,  0},
    {"1/HR",                0.000277777777777778,  0},
    {"1/MIN",               0.0166666666666667,    0},
    {"1/DAY",               1.15740740740741e-05,  0},
    {"1/YEAR",              3.16880878140289e-08,  0},
    {"1/OPER-YEAR",         3.16880878140289e-08,  -99999},
    // 60 LN-INV-TIME (4)
    {"LN(1/SEC)",           1,                     0},
    {"LN(1/HR)",            1,                     -8.1886891244442},
    {"LN(1/HR)",            1,                     -8.1886891244442},
    {"LN(1/MIN)",           1,                     -4.0943445622221},
    // 61 FLUX (8)
    {"CUM/SQM-SEC",         1,                     0},
    {"CUFT/SQFT-SEC",       0.3048,                0},
    {"L/SQM-SEC",           0.001,                 0},
    {"L/SQM-HR",            2.77777777777778e-07,  0},
    {"GAL/SQFT-MIN",        0.000679097222222222,  0},
    {"CUFT/SQFT-HR",        8.46666666666667e-05,  0},
    {"L/SQM-MIN",           1.66666666666667e-05,  0},
    {"CUM/SQM-HR",          0.000277777777777778,  0},
    // 62 AREA-USAGE (6)
    {"SQM/SEC",             1,                     0},
    {"SQFT/HR",             2.58064e-05,           0},
    {"SQM/HR",              0.000277777777777778,  0},
    {"SQM/DAY",             1.15740740740741e-05,  0},
    {"SQM/YEAR",            3.16880878140289e-08,  0},
    {"SQM/OPER-YEAR",       3.16880878140289e-08,  -99999},
    // 63 VOLUME-USAGE (10)
    {"CUM/SEC",             1,                     0},
    {"CUFT/HR",             7.86579072e-06,        0},
    {"L/HR",                2.77777777777778e-07,  0},
    {"L/DAY",               1.15740740740741e-08,  0},
    {"L/YEAR",              3.16880878140289e-11,  0},
    {"CUM/HR",              0.000277777777777778,  0},
    {"CUM/DAY",             1.15740740740741e-05,  0},
    {"CUM/YEAR",            3.16880878140289e-08,  0},
    {"L/OPER-YEAR",         3.16880878140289e-11,  -99999},
    {"CUM/OPER-YEAR",       3.16880878140289e-08,  -99999},
    // 64 MOLE-CONC (7)
    {"KMOL/CUM",            1,                     0},
    {"LBMOL/CUFT",          16.0184633739601,      0},
    {"MOL/CC",              1000,                  0},
    {"MOL/L",               1,                     0},
    {"MMOL/CC",             1,                     0},
    {"MMOL/L",              0.001,                 0},
    {"LBMOL/GAL",           119.826427316897,      0},
    // 65 POWER-VOLUME (5)
    {"WATT/CUM",            1,                     0},
    {"HP/CUFT",             26334.1424391847,      0},
    {"KW/L",                1000000,               0},
    {"KW/CUM",              1000,                  0},
    {"MW/CUM",              1000000,               0},
    // 66 MASS-TRANS-C (3)
    {"KG/S-SQM-KG/CUM",     1,                     0},
    {"LB/HR-SQF-LB/CUF",    8.46666666666667e-05,  0},
    {"GM/S-SQCM-GM/CC",     0.01,                  0},
    // 67 SPECIFICAREA (3)
    {"SQM/CUM",             1,                     0},
    {"SQFT/CUFT",           3.28083989501312,      0},
    {"SQCM/CC",             100,                   0},
    // 68 INVERSE-LENG (5)
    {"1/M",                 1,                     0},
    {"1/FT",                3.28083989501312,      0},
    {"1/CM",                100,                   0},
    {"1/IN",                39.3700787401575,      0},
    {"1/MM",                1000,                  0},
    // 69 CHROM-VEL (3)
    {"M/SEC",               1,                     0},
    {"FT/SEC",              0.3048,                0},
    {"CM/HR",               2.77777777777778e-06,  0},
    // 70 MASS-FLUX (10)
    {"KG/SQM-S",            1,                     0},
    {"LB/SQFT-HR",          0.00135622989899529,   0},
    {"KG/SQM-HR",           0.000277777777777778,  0},
    {"LB/SQFT-S",           4.88242763638305,      0},
    {"GM/SQCM-S",           10,                    0},
    {"KG/SQCM-S",           10000,                 0},
    {"MLB/SQFT-HR",         1.35622989899529,      0},
    {"TONS/SQFT-HR",        2.71245979799058,      0},
    {"L-TONS/SQFT-HR",      3.03795497374945,      0},
    {"TONNE/SQFT-HR",       2.9899751157527,       0},
    // 71 SOLVENT-PERM (5)
    {"KG/SQM-S-PA",         1,                     0},
    {"LB/SQFT-HR-ATM",      1.33849484233436e-08,  0},
    {"KG/SQM-HR-ATM",       2.74145351865559e-09,  0},
    {"GM/SQCM-S-ATM",       9.86923266716013e-05,  0},
    {"GM/SQCM-S-PA",        10,                    0},
    // 72 SOLUTE-PERM (5)
    {"SQM/M-S",             1,                     0},
    {"SQFT/FT-HR",          8.46666666666667e-05,  0},
    {"SQM/M-HR",            0.000277777777777778,  0},
    {"SQCM/CM-S",           0.01,                  0},
    {"SQFT/FT-S",           0.3048,                0},
    // 73 WATER-RATE (3)
    {"KG/J",                1,                     0},
    {"LB/HP-HR",            1.68965941067156e-07,  0},
    {"KG/KW-HR",            2.77777777777778e-07,  0},
    // 74 PDROP-PER-HT (7)
    {"N/CUM",               1,                     0},
    {"IN-WATER/FT",         817.220833333333,      0},
    {"MM-WATER/M",          9.80665,               0},
    {"MBAR/M",              100,                   0},
    {"MMHG/FT",             437.409345213427,      0},
    {"TORR/M",              133.322368421053,      0},
    {"MMHG/M",              133.322368421053,      0},
    // 75 PDROP (20)
    {"N/SQM",               1,                     0},
    {"PSI",                 6894.75729316836,      0},
    {"ATM",                 101325,                0},
    {"LBF/SQFT",            47.8802589803358,      0},
    {"BAR",                 100000,                0},
    {"TORR",                133.322368421053,      0},
    {"IN-WATER",            249.08891,             0},
    {"KG/SQCM",             98066.5,               0},
    {"MMHG",                133.322368421053,      0},
    {"KPA",                 1000,                  0},
    {"MM-WATER",            9.80665,               0},
    {"MBAR",                100,                   0},
    {"IN-WATER-60F",        248.84,                0},
    {"IN-HG",               3386.38815789474,      0},
    {"LB/FT-SQSEC",         1.48816394356955,      0},
    {"KG/M-SQSEC",          1,                     0},
    {"PA",                  1,                     0},
    {"MPA",                 1000000,               0},
    {"PSIA",                6894.75729316836,      0},
    {"MM-WATER-60F",        9.79685039370079,      0},
    // 76 PACK-FACTOR (6)
    {"1/M",                 1,                     0},
    {"1/FT",                3.28083989501312,      0},
    {"1/M",                 1,                     0},
    {"1/CM",                100,                   0},
    {"1/IN",                39.3700787401575,      0},
    {"1/MM",                1000,                  0},
    // 77 NUM-CON-RATE (37)
    {"NO/CUM-SEC",          1,                     0},
    {"NO/CUFT-SEC",         35.3146667214886,      0},
    {"NO/L-SEC",            1000,                  0},
    {"NO/CC-SEC",           1000000,               0},
    {"NO/CUM-SEC",          1,                     0},
    {"NO/CUM-MIN",          0.0166666666666667,    0},
    {"NO/CUFT-MIN",         0.588577778691476,     0},
    {"NO/L-MIN",            16.6666666666667,      0},
    {"NO/CC-MIN",           16666.6666666667,      0},
    {"NO/CUM-HR",           0.000277777777777778,  0},
    {"NO/CUFT-HR",          0.00980962964485794,   0},
    {"NO/L-HR",             0.277777777777778,     0},
    {"NO/CC-HR",            277.777777777778,      0},
    {"1E6/CUM-SEC",         1000000,               0},
    {"1E6/CUFT-SEC",        35314666.7214886,      0},
    {"1E6/L-SEC",           1000000000,            0},
    {"1E6/CC-SEC",          1000000000000,         0},
    {"1E6/CUM-MIN",         16666.6666666667,      0},
    {"1E6/CUFT-MIN",        588577.778691476,      0},
    {"1E6/L-MIN",           16666666.6666667,      0},
    {"1E6/CC-MIN",          16666666666.6667,      0},
    {"1E6/CUM-HR",          277.777777777778,      0},
    {"1E6/CUFT-HR",         9809.62964485794,      0},
    {"1E6/L-HR",            277777.777777778,      0},
    {"1E6/CC-HR",           277777777.777778,      0},
    {"1E9/CUM-SEC",         1000000000,            0},
    {"1E9/CUFT-SEC",        35314666721.4886,      0},
    {"1E9/L-SEC",           1000000000000,         0},
    {"1E9/CC-SEC",          1e+15,                 0},
    {"1E9/CUM-MIN",         16666666.6666667,      0},
    {"1E9/CUFT-MIN",        588577778.691476,      0},
    {"1E9/L-MIN",           16666666666.6667,      0},
    {"1E9/CC-MIN",          16666666666666.7,      0},
    {"1E9/CUM-HR",          277777.777777778,      0},
    {"1E9/CUFT-HR",         9809629.64485794,      0},
    {"1E9/L-HR",            277777777.777778,      0},
    {"1E9/CC-HR",           277777777777.778,      0},
    // 78 INVERSE-AREA (3)
    {"1/SQM",               1,                     0},
    {"1/SQFT",              10.7639104167097,      0},
    {"1/SQM",               1,                     0},
    // 79 VOL-HEAT-CAP (6)
    {"J/CUM-K",             1,                     0},
    {"BTU/CUFT-R",          67066.1024540963,      0},
    {"CAL/CC-K",            4186800,               0},
    {"KCAL/CUM-K",          4186.8,                0},
    {"KJ/CUM-K",            1000,                  0},
    {"BTU/CUFT-F",          67066.1024540963,      0},
    // 80 HEAT-FLUX (11)
    {"WATT/M",              1,                     0},
    {"BTU/HR-FT",           0.961519259095217,     0},
    {"CAL/SEC-M",           4.1868,                0},
    {"J/SEC-M",             1,                     0},
    {"MMBTU/HR-FT",         961519.259095217,      0},
    {"GCAL/HR-M",           1163000,               0},
    {"GJ/HR-M",             277777.777777778,      0},
    {"KCAL/HR-M",           1.163,                 0},
    {"KJ/HR-M",             0.277777777777778,     0},
    {"KW/M",                1000,                  0},
    {"CAL/HR-CM",           0.1163,                0},
    // 81 INVERSE-TEMP (3)
    {"1/K",                 1,                     0},
    {"1/R",                 1.8,                   0},
    {"1/K",                 1,                     0},
    // 82 INVERSE-PRES (11)
    {"SQM/N",               1,                     0},
    {"1/PSI",               0.000145037737730209,  0},
    {"1/ATM",               9.86923266716013e-06,  0},
    {"SQFT/LBF",            0.0208854342331501,    0},
    {"1/BAR",               1e-05,                 0},
    {"1/TORR",              0.0075006168270417,    0},
    {"1/IN-WATER",          0.00401463075975562,   0},
    {"SQCM/KG",             1.01971621297793e-05,  0},
    {"1/MMHG",              0.0075006168270417,    0},
    {"1/KPA",               0.001,                 0},
    {"1/MM-WATER",          0.101971621297793,     0},
    // 83 TEMP-VOLUME (3)
    {"CUM-K/KMOL",          1,                     0},
    {"CUFT-R/LBMOL",        0.0346822003200803,    0},
    {"CC-K/MOL",            0.001,                 0},
    // 84 VFLOW-LENGTH (6)
    {"SQM/SEC",             1,                     0},
    {"GPM/FT",              0.000206988833333333,  0},
    {"SQCM/SEC",            0.0001,                0},
    {"SQM/HR",              0.000277777777777778,  0},
    {"SQFT/MIN",            0.001548384,           0},
    {"GPM/IN",              0.002483866,           0},
    // 85 CONTENTS (4)
    {"FRACTION",            1,                     0},
    {"PERCENT",             0.01,                  0},
    {"FRACTION",            1,                     0},
    {"PPM",                 1e-06,                 0},
    // 86 POP-DENSITY (6)
    {"NO/M/CUM",            1,                     0},
    {"NO/FT/CUFT",          115.861767458952,      0},
    {"NO/M/L",              1000,                  0},
    {"NO/MM/L",             1000000,               0},
    {"NO/MU/CC",            1000000000000,         0},
    {"NO/IN/CUIN",          2402509.61002883,      0},
    // 87 INVERSE-HT-C (10)
    {"SQM-K/WATT",          1,                     0},
    {"HR-SQFT-R/BTU",       0.176110183682306,     0},
    {"SEC-SQCM-K/CAL",      2.38845896627496e-05,  0},
    {"SEC-SQM-K/KCAL",      0.000238845896627496,  0},
    {"HR-SQM-K/KCAL",       0.859845227858985,     0},
    {"HR-SQFT-K/PCU",       0.176110183682306,     0},
    {"SQM-K/KW",            0.001,                 0},
    {"SEC-SQM-K/J",         1,                     0},
    {"SEC-SQM-K/KJ",        0.001,                 0},
    {"HR-SQFT-R/MBTU",      0.000176110183682306,  0},
    // 88 VOL-ENTHALPY (7)
    {"J/CUM",               1,                     0},
    {"BTU/CUFT",            37258.9458078313,      0},
    {"CAL/CC",              4186800,               0},
    {"KCAL/CUM",            4186.8,                0},
    {"KJ/CUM",              1000,                  0},
    {"MMBTU/BBL",           6636101665.2167,       0},
    {"MJ/CUM",              1000000,               0},
    // 89 MOL-FLOW-LEN (8)
    {"KMOL/SEC-M",          1,                     0},
    {"LBMOL/HR-FT",         0.000413378873213765,  0},
    {"KMOL/HR-M",           0.000277777777777778,  0},
    {"MOL/SEC-M",           0.001,                 0},
    {"LBMOL/SEC-FT",        1.48816394356955,      0},
    {"LBMOL/DAY-FT",        1.72241197172402e-05,  0},
    {"KMOL/DAY-M",          1.15740740740741e-05,  0},
    {"MOL/MIN-M",           1.66666666666667e-05,  0},
    // 90 USR-DUMMY0 (1)
    {"BASE-UNITS",          1,                     0},
    // 91 USR-DUMMY1 (1)
    {"BASE-UNITS",          1,                     0},
    // 92 USR-DUMMY2 (1)
    {"BASE-UNITS",          1,                     0},
    // 93 DESIGN-PRES (6)
    {"N/SQM-GAUGE",         1,                     0},
    {"PSIG",                6894.75729316836,      0},
    {"BARG",                100000,                0},
    {"LBF/SQFT-GAUGE",      47.8802589803358,      0},
    {"KPA-GAUGE",           1000,                  0},
    {"MPA-GAUGE",           1000000,               0},
    // 94 USR-DUMMY4 (1)
    {"BASE-UNITS",          1,                     0},
    // 95 USR-DUMMY5 (1)
    {"BASE-UNITS",          1,                     0},
    // 96 USR-DUMMY6 (1)
    {"BASE-UNITS",          1,                     0},
    // 97 USR-DUMMY7 (1)
    {"BASE-UNITS",          1,                     0},
    // 98 USR-DUMMY8 (1)
    {"BASE-UNITS",          1,                     0},
    // 99 USR-DUMMY9 (1)
    {"BASE-UNITS",          1,                     0},
    // 100 VFLOW-RPM (20)
    {"CUM/SEC/RPM",         1,                     0},
    {"CUFT/HR/RPM",         7.86579072e-06,        0},
    {"L/MIN/RPM",           1.66666666666667e-05,  0},
    {"GAL/MIN/RPM",         6.30901964e-05,        0},
    {"GAL/HR/RPM",          1.05150327333333e-06,  0},
    {"BBL/DAY/RPM",         1.84013072833333e-06,  0},
    {"CUM/HR/RPM",          0.000277777777777778,  0},
    {"CUFT/MIN/RPM",        0.0004719474432,       0},
    {"BBL/HR/RPM",          4.416313748e-05,       0},
    {"CUFT/SEC/RPM",        0.028316846592,        0},
    {"CUM/DAY/RPM",         1.15740740740741e-05,  0},
    {"CUM/YEAR/RPM",        3.16880878140289e-08,  0},
    {"L/HR/RPM",            2.77777777777778e-07,  0},
    {"KBBL/DAY/RPM",        0.00184013072833333,   0},
    {"MMCUFT/HR/RPM",       7.86579072,            0},
    {"MMCUFT/DAY/RPM",      0.32774128,            0},
    {"MCUFT/DAY/RPM",       0.00032774128,         0},
    {"L/SEC/RPM",           0.001,                 0},
    {"L/DAY/RPM",           1.15740740740741e-08,  0},
    {"CUM/MIN/RPM",         0.0166666666666667,    0},
    // 101 F-FACTOR (4)
    {"(KG-CUM)**.5/SEC",    1,                     0},
    {"(LB-CUFT)**.5/HR",    3.14813112753195e-05,  0},
    {"(GM-L)**.5/MIN",      1.66666666666667e-05,  0},
    {"(LB-GAL)**.5/MIN",    0.000690618463273336,  0},
    // 102 MASS-CYCL (12)
    {"KG/CYCLE",            1,                     0},
    {"LB/CYCLE",            0.45359237,            0},
    {"KG/CYCLE",            1,                     0},
    {"LB/CYCLE",            0.45359237,            0},
    {"MLB/CYCLE",           453.59237,             0},
    {"TONS/CYCLE",          907.18474,             0},
    {"GM/CYCLE",            0.001,                 0},
    {"TONNE/CYCLE",         1000,                  0},
    {"LB/CYCLE",            0.45359237,            0},
    {"KG/CYCLE",            1,                     0},
    {"TONS/CYCLE",          907.18474,             0},
    {"TONS/CYCLE",          907.18474,             0},
    // 103 MOLE-CYCL (12)
    {"KMOL/CYCLE",          1,                     0},
    {"LBMOL/CYCLE",         0.45359237,            0},
    {"KMOL/CYCLE",          1,                     0},
    {"MMSCFH/CYCLE",        1195.28693988391,      0},
    {"MMSCMH/CYCLE",        42292.5433799369,      0},
    {"MOL/CYCLE",           0.001,                 0},
    {"LBMOL/CYCLE",         0.45359237,            0},
    {"SCMH/CYCLE",          0.0422925433799369,    0},
    {"LBMOL/CYCLE",         0.45359237,            0},
    {"KMOL/CYCLE",          1,                     0},
    {"MMSCFD/CYCLE",        1195.28693988391,      0},
    {"SCFM/CYCLE",          0.00119528693988391,   0},
    // 104 VOLUME-CYCL (15)
    {"CUM/CYCLE",           1,                     0},
    {"CUFT/CYCLE",          0.028316846592,        0},
    {"L/CYCLE",             0.001,                 0},
    {"GAL/CYCLE",           0.003785411784,        0},
    {"GAL/CYCLE",           0.003785411784,        0},
    {"BBL/CYCLE",           0.158987294928,        0},
    {"CUM/CYCLE",           1,                     0},
    {"CUFT/CYCLE",          0.028316846592,        0},
    {"BBL/CYCLE",           0.158987294928,        0},
    {"CUFT/CYCLE",          0.028316846592,        0},
    {"CUM/CYCLE",           1,                     0},
    {"CUM/CYCLE",           1,                     0},
    {"L/CYCLE",             0.001,                 0},
    {"KBBL/CYCLE",          158.987294928,         0},
    {"MMCUFT/CYCLE",        28316.846592,          0},
    // 105 ENTHALPY-CYC (16)
    {"WATT/CYCLE",          1,                     0},
    {"BTU/CYCLE",           1055.05585262,         0},
    {"CAL/CYCLE",           4.1868,                0},
    {"J/CYCLE",             1,                     0},
    {"GJ/CYCLE",            1000000000,            0},
    {"KCAL/CYCLE",          4186.8,                0},
    {"MMKCAL/CYCLE",        4184100000,            0},
    {"MMBTU/CYCLE",         1055055852.62,         0},
    {"MMKCAL/CYCLE",        4184100000,            0},
    {"MMBTU/CYCLE",         1055055852.62,         0},
    {"PCU/CYCLE",           1899.100534716,        0},
    {"MMPCU/CYCLE",         1899100534.716,        0},
    {"KJ/CYCLE",            1000,                  0},
    {"KW/CYCLE",            1000,                  0},
    {"GCAL/CYCLE",          4186800000,            0},
    {"MW/CYCLE",            1000000,               0},
    // 106 MASS-OPER (12)
    {"KG/OP-SEC",           1,                     0},
    {"LB/OP-HR",            0.000125997880555556,  0},
    {"KG/OP-HR",            0.000277777777777778,  0},
    {"LB/OP-SEC",           0.45359237,            0},
    {"MLB/OP-HR",           0.125997880555556,     0},
    {"TONS/OP-DAY",         0.0104998233796296,    0},
    {"GM/OP-SEC",           0.001,                 0},
    {"TONNE/OP-HR",         0.277777777777778,     0},
    {"LB/OP-DAY",           5.24991168981482e-06,  0},
    {"KG/OP-DAY",           1.15740740740741e-05,  0},
    {"TONS/OP-YEAR",        2.8746949704667e-05,   0},
    {"TONS/OP-HR",          0.251995761111111,     0},
    // 107 MOLE-OPER (12)
    {"KMOL/OP-SEC",         1,                     0},
    {"LBMOL/OP-HR",         0.000125997880555556,  0},
    {"KMOL/OP-HR",          0.000277777777777778,  0},
    {"MMSCF/CYCLE-HR",      0.332024149967751,     0},
    {"MMSCM/CYCLE-HR",      11.7479287166491,      0},
    {"MOL/OP-SEC",          0.001,                 0},
    {"LBMOL/OP-SEC",        0.45359237,            0},
    {"SCM/CYCLE-HR",        1.17479287166491e-05,  0},
    {"LBMOL/OP-DAY",        5.24991168981482e-06,  0},
    {"KMOL/OP-DAY",         1.15740740740741e-05,  0},
    {"MMSCF/CYCLE-DAY",     0.0138343395819896,    0},
    {"SCF/CYCLE-MIN",       1.99214489980651e-05,  0},
    // 108 VOLUME-OPER (15)
    {"CUM/OP-SEC",          1,                     0},
    {"CUFT/OP-HR",          7.86579072e-06,        0},
    {"L/OP-MIN",            1.66666666666667e-05,  0},
    {"GAL/OP-MIN",          6.30901964e-05,        0},
    {"GAL/OP-HR",           1.05150327333333e-06,  0},
    {"BBL/OP-DAY",          1.84013072833333e-06,  0},
    {"CUM/OP-HR",           0.000277777777777778,  0},
    {"CUFT/OP-MIN",         0.0004719474432,       0},
    {"BBL/OP-HR",           4.416313748e-05,       0},
    {"CUFT/OP-SEC",         0.028316846592,        0},
    {"CUM/OP-DAY",          1.15740740740741e-05,  0},
    {"CUM/OP-YEAR",         3.16880878140289e-08,  0},
    {"L/OP-HR",             2.77777777777778e-07,  0},
    {"KBBL/OP-DAY",         0.00184013072833333,   0},
    {"MMCUFT/OP-HR",        7.86579072,            0},
    // 109 ENTHALPY-OPR (17)
    {"WATT/CYCLE",          1,                     0},
    {"BTU/OP-HR",           0.293071070172222,     0},
    {"CAL/OP-SEC",          4.1868,                0},
    {"J/OP-SEC",            1,                     0},
    {"GJ/OP-HR",            277777.777777778,      0},
    {"KCAL/OP-HR",          1.163,                 0},
    {"MMKCAL/OP-HR",        1162250,               0},
    {"MMBTU/OP-HR",         293071.070172222,      0},
    {"MMKCAL/OP-DAY",       48427.0833333333,      0},
    {"MMBTU/OP-DAY",        12211.2945905093,      0},
    {"PCU/OP-HR",           0.52752792631,         0},
    {"MMPCU/OP-HR",         527527.92631,          0},
    {"KJ/OP-SEC",           1000,                  0},
    {"KW/CYCLE",            1000,                  0},
    {"GCAL/OP-HR",          1163000,               0},
    {"GCAL/OP-DAY",         48458.3333333333,      0},
    {"MW/CYCLE",            1000000,               0},
    // 110 RHO-VSQRD (3)
    {"KG/M-SQSEC",          1,                     0},
    {"LB/FT-SQSEC",         1.48816394356955,      0},
    {"KG/M-SQSEC",          1,                     0},
    // 111 SOUND-LEVEL (3)
    {"DECIBELS",            1,                     0},
    {"DECIBELS",            1,                     0},
    {"DECIBELS",            1,                     0},
    // 112 MOM-INERTIA (5)
    {"KG-SQM",              1,                     0},
    {"LB-SQFT",             0.0421401100938048,    0},
    {"KG-SQM",              1,                     0},
    {"GM-SQCM",             1e-07,                 0},
    {"LB-SQIN",             0.0002926396534292,    0},
    // 113 VOLTAGE (4)
    {"VOLT",                1,                     0},
    {"KVOLT",               1000,                  0},
    {"VOLT",                1,                     0},
    {"MVOLT",               0.001,                 0},
    // 114 CURRENT (4)
    {"AMP",                 1,                     0},
    {"MAMP",                0.001,                 0},
    {"AMP",                 1,                     0},
    {"KAMP",                1000,                  0},
    // 115 MASS-VOLUME (5)
    {"CUM/KG",              1,                     0},
    {"CUFT/LB",             0.0624279605761446,    0},
    {"CC/G",                0.001,                 0},
    {"BPD/MLBPH",           1.46044577910338e-05,  0},
    {"CC/KG",               1e-06,                 0},
    // 116 MASS-PER-LEN (9)
    {"KG/M",                1,                     0},
    {"LB/FT",               1.48816394356955,      0},
    {"KG/M",                1,                     0},
    {"KG/CM",               100,                   0},
    {"GM/M",                0.001,                 0},
    {"GM/CM",               0.1,                   0},
    {"LB/IN",               17.8579673228346,      0},
    {"MLB/FT",              1488.16394356955,      0},
    {"TONNE/M",             1000,                  0},
    // 117 ENERGY-VOL (3)
    {"CUM/J",               1,                     0},
    {"BBL/BTU",             0.000150690880045061,  0},
    {"BBL/MMBTU",           1.50690880045061e-10,  0},
    // 118 SIEMENS-M (4)
    {"SIEMENS/M",           1,                     0},
    {"SIEMENS/FT",          3.28083989501312,      0},
    {"SIEMENS/M",           1,                     0},
    {"SIEMENS/CM",          100,                   0},
    // 119 COST-RATE (16)
    {"$/SEC",               1,                     0},
    {"$/HR",                0.000277777777777778,  0},
    {"$/HR",                0.000277777777777778,  0},
    {"$/MIN",               0.0166666666666667,    0},
    {"$/DAY",               1.15740740740741e-05,  0},
    {"$/YEAR",              3.16880878140289e-08,  0},
    {"K$/HR",               0.277777777777778,     0},
    {"K$/DAY",              0.0115740740740741,    0},
    {"K$/YEAR",             3.16880878140289e-05,  0},
    {"MM$/DAY",             11.5740740740741,      0},
    {"MM$/YEAR",            0.031688087814029,     0},
    {"$/WEEK",              1.65343915343915e-06,  0},
    {"$/NSEC",              1000000000,            0},
    {"$/OPER-YEAR",         3.16880878140289e-08,  -99999},
    {"K$/OPER-YEAR",        3.16880878140289e-05,  -99999},
    {"MM$/OPER-YEAR",       0.031688087814029,     -99999},
    // 120 FLUX-HEAT-AR (8)
    {"WATT/SQM",            1,                     0},
    {"BTU/HR-SQFT",         3.15459074506305,      0},
    {"CAL/SEC-SQM",         4.1868,                0},
    {"J/SEC-SQM",           1,                     0},
    {"MMBTU/HR-SQFT",       3154590.74506305,      0},
    {"KW/SQM",              1000,                  0},
    {"MW/SQM",              1000000,               0},
    {"CAL/HR-SQCM",         11.63,                 0},
    // 121 FLUX-MOLE (5)
    {"KMOL/SQM-S",          1,                     0},
    {"LBMOL/SQFT-HR",       0.00135622989899529,   0},
    {"KMOL/SQM-HR",         0.000277777777777778,  0},
    {"LBMOL/SQFT-S",        4.88242763638305,      0},
    {"MOL/SQCM-S",          10,                    0},
    // 122 HEAT-RATE-V (8)
    {"WATT/CUM",            1,                     0},
    {"BTU/HR-CUFT",         10.349707168842,       0},
    {"CAL/SEC-CUM",         4.1868,                0},
    {"J/SEC-CUM",           1,                     0},
    {"MMBTU/HR-CUFT",       10349707.168842,       0},
    {"GJ/HR-CUM",           277777.777777778,      0},
    {"MW/CUM",              1000000,               0},
    {"J/HR-CUM",            0.000277777777777778,  0},
    // 123 MOLE-RXN-RAT (4)
    {"KMOL/CUM-S",          1,                     0},
    {"LBMOL/CUFT-HR",       0.00444957315943337,   0},
    {"KMOL/CUM-HR",         0.000277777777777778,  0},
    {"MOL/CC-S",            1000,                  0},
    // 124 MOL-RXN-RATW (4)
    {"KMOL/KG-S",           1,                     0},
    {"LBMOL/LB-HR",         0.000277777777777778,  0},
    {"KMOL/KG-HR",          0.000277777777777778,  0},
    {"MOL/GM-S",            1,                     0},
    // 125 MOLE-PRICE (3)
    {"$/KMOL",              1,                     0},
    {"$/LBMOL",             2.20462262184878,      0},
    {"$/MOL",               1000,                  0},
    // 126 VOL-HTR-COEF (10)
    {"WATT/CUM-K",          1,                     0},
    {"BTU/HR-CUFT-R",       18.6294729039156,      0},
    {"CAL/SEC-CC-K",        4186800,               0},
    {"WATT/CUM-C",          1,                     0},
    {"WATT/CUM-F",          1.8,                   0},
    {"KW/CUM-K",            1000,                  0},
    {"KW/CUM-C",            1000,                  0},
    {"BTU/HR-CUFT-F",       18.6294729039156,      0},
    {"MW/CUM-K",            1000000,               0},
    {"MW/CUM-C",            1000000,               0},
    // 127 POWER-AREA (5)
    {"WATT/SQM",            1,                     0},
    {"HP/SQFT",             8026.6466154635,       0},
    {"KW/SQM",              1000,                  0},
    {"W/SQCM",              10000,                 0},
    {"KW/SQCM",             10000000,              0},
    // 128 POWER-MASS (6)
    {"WATT/KG",             1,                     0},
    {"HP/LB",               1643.986806,           0},
    {"KW/KG",               1000,                  0},
    {"W/G",                 1000,                  0},
    {"KW/G",                1000000,               0},
    {"MW/KG",               1000000,               0},
    // 129 MASS-EMISSIO (15)
    {"KG/J",                1,                     0},
    {"LB/BTU",              0.000429922613929493,  0},
    {"KG/CAL",              0.238845896627496,     0},
    {"TONNE/GJ",            1e-06,                 0},
    {"TONNE/MMBTU",         9.47817120313317e-07,  0},
    {"KG/KCAL",             0.000238845896627496,  0},
    {"KG/GJ",               1e-09,                 0},
    {"KG/KJ",               0.001,                 0},
    {"KG/MJ",               1e-06,                 0},
    {"KG/MMKCAL",           2.39000023900002e-10,  0},
    {"TONNE/MMKCAL",        2.39000023900002e-07,  0},
    {"KG/MMBTU",            9.47817120313317e-10,  0},
    {"G/MJ",                1e-09,                 0},
    {"LB/MMBTU",            4.29922613929493e-10,  0},
    {"TONNE/TJ",            1e-09,                 0},
    // 130 INVERSE-VEL (5)
    {"SEC/M",               1,                     0},
    {"SEC/FT",              3.28083989501312,      0},
    {"SEC/CM",              100,                   0},
    {"SEC/IN",              39.3700787401575,      0},
    {"SEC/MM",              1000,                  0},
    // 131 SPEC-MAT-RES (3)
    {"KG/J-M",              1,                     0},
    {"LB/BTU-FT",           0.0014105072635482,    0},
    {"GM/CAL-CM",           0.0238845896627496,    0},
    // 132 ACCELERATION (3)
    {"M/SQSEC",             1,                     0},
    {"FT/SQSEC",            0.3048,                0},
    {"M/SQSEC",             1,                     0},
    // 133 MASS-CONTENT (3)
    {"KG/KG_DRY",           1,                     0},
    {"LB/LB_DRY",           1,                     0},
    {"KG/KG_DRY",           1,                     0},
    // 134 AREA-SQTIME (5)
    {"SQM/SQSEC",           1,                     0},
    {"SQFT/SQSEC",          0.09290304,            0},
    {"SQM/SQSEC",           1,                     0},
    {"SQMM/SQSEC",          1e-06,                 0},
    {"SQIN/SQSEC",          0.00064516,            0},
    // 135 MOLE-AREA (13)
    {"SQM/KMOL",            1,                     0},
    {"SQFT/LBMOL",          0.204816143622522,     0},
    {"SQM/KMOL",            1,                     0},
    {"SQM/MOL",             1000,                  0},
    {"SQFT/MOL",            92.90304,              0},
    {"SQCM/MOL",            0.1,                   0},
    {"SQIN/MOL",            0.64516,               0},
    {"SQMM/MOL",            0.001,                 0},
    {"SQFT/KMOL",           0.09290304,            0},
    {"SQCM/KMOL",           0.0001,                0},
    {"SQIN/KMOL",           0.00064516,            0},
    {"SQMM/KMOL",           1e-06,                 0},
    {"SQIN/LBMOL",          0.00142233433071196,   0},
    // 136 WEIR-LOAD (8)
    {"CUM/SEC-METER",       1,                     0},
    {"GPM/FT",              0.000206988833333333,  0},
    {"CUM/HR-METER",        0.000277777777777778,  0},
    {"CUFT/MIN-FT",         0.001548384,           0},
    {"L/HR-METER",          2.77777777777778e-07,  0},
    {"CC/SEC-CM",           0.0001,                0},
    {"CUFT/HR-FT",          2.58064e-05,           0},
    {"GPM/IN",              0.002483866,           0},
    // 137 DOWNCOMER-LD (10)
    {"CUM/SEC/SQM",         1,                     0},
    {"GPM/SQFT",            0.000679097222222222,  0},
    {"CUM/HR/SQM",          0.000277777777777778,  0},
    {"L/MIN/SQM",           1.66666666666667e-05,  0},
    {"CUFT/SEC/SQFT",       0.3048,                0},
    {"CUFT/MIN/SQFT",       0.00508,               0},
    {"L/HR/SQM",            2.77777777777778e-07,  0},
    {"CC/S/SQCM",           0.01,                  0},
    {"CUFT/HR/SQFT",        8.46666666666667e-05,  0},
    {"GPM/SQIN",            0.09779,               0},
    // 138 SHORT-LENGTH (12)
    {"METER",               1,                     0},
    {"FT",                  0.3048,                0},
    {"METER",               1,                     0},
    {"CM",                  0.01,                  0},
    {"IN",                  0.0254,                0},
    {"MU",                  1e-06,                 0},
    {"MM",                  0.001,                 0},
    {"MILE",                1609.344,              0},
    {"KM",                  1000,                  0},
    {"ANGSTROM",            1e-10,                 0},
    {"MFT",                 304.8,                 0},
    {"MICRON",              1e-06,                 0},
    // 139 MOLE-WEIGHT (5)
    {"G/MOL",               1,                     0},
    {"LB/LBMOL",            1,                     0},
    {"KG/KMOL",             1,                     0},
    {"G/KMOL",              0.001,                 0},
    {"KG/MOL",              1000,                  0},
    // 140 FS (5)
    {"SQRT(PA)",            1,                     0},
    {"FT/S-SQRT(LB/CUFT)",  1.21990325172513,      0},
    {"SQRT(ATM)",           318.31588084794,       0},
    {"SQRT(N/SQM)",         1,                     0},
    {"SQRT(PSIA)",          83.0346752457572,      0},
    // 141 MASSFL-AREA (4)
    {"KG/SEC-SQM",          1,                     0},
    {"LB/HR-SQFT",          0.00135622989899529,   0},
    {"KG/HR-SQM",           0.000277777777777778,  0},
    {"LB/SEC-SQFT",         4.88242763638305,      0},
    // 142 VOLUME-GFLOW (40)
    {"CUM/SEC",             1,                     0},
    {"CUFT/HR",             7.86579072e-06,        0},
    {"L/MIN",               1.66666666666667e-05,  0},
    {"GAL/MIN",             6.30901964e-05,        0},
    {"GAL/HR",              1.05150327333333e-06,  0},
    {"BBL/DAY",             1.84013072833333e-06,  0},
    {"CUM/HR",              0.000277777777777778,  0},
    {"CUFT/MIN",            0.0004719474432,       0},
    {"BBL/HR",              4.416313748e-05,       0},
    {"CUFT/SEC",            0.028316846592,        0},
    {"CUM/DAY",             1.15740740740741e-05,  0},
    {"CUM/YEAR",            3.16880878140289e-08,  0},
    {"L/HR",                2.77777777777778e-07,  0},
    {"KBBL/DAY",            0.00184013072833333,   0},
    {"MMCUFT/HR",           7.86579072,            0},
    {"MMCUFT/DAY",          0.32774128,            0},
    {"MCUFT/DAY",           0.00032774128,         0},
    {"L/SEC",               0.001,                 0},
    {"L/DAY",               1.15740740740741e-08,  0},
    {"CUM/MIN",             0.0166666666666667,    0},
    {"KCUM/SEC",            1000,                  0},
    {"KCUM/HR",             0.277777777777778,     0},
    {"KCUM/DAY",            0.0115740740740741,    0},
    {"MCUM/SEC",            1000000,               0},
    {"MCUM/HR",             277.777777777778,      0},
    {"MCUM/DAY",            11.5740740740741,      0},
    {"ACFM",                0.0004719474432,       0},
    {"CUFT/DAY",            3.2774128e-07,         0},
    {"MCUFT/MIN",           0.4719474432,          0},
    {"MCUFT/HR",            0.00786579072,         0},
    {"MMCUFT/HR",           7.86579072,            0},
    {"MGAL/MIN",            0.0630901964,          0},
    {"MMGAL/MIN",           63.0901964,            0},
    {"MGAL/HR",             0.00105150327333333,   0},
    {"MMGAL/HR",            1.05150327333333,      0},
    {"MBBL/HR",             0.04416313748,         0},
    {"MMBBL/HR",            44.16313748,           0},
    {"MBBL/DAY",            0.00184013072833333,   0},
    {"MMBBL/DAY",           1.84013072833333,      0},
    {"CUM/OPER-YEAR",       3.16880878140289e-08,  -99999},
    // 143 RESISTANCE (7)
    {"OHM",                 1,                     0},
    {"OHM",                 1,                     0},
    {"OHM",                 1,                     0},
    {"KOHM",                1000,                  0},
    {"MEGAOHM",             1000000,               0},
    {"MOHM",                0.001,                 0},
    {"MICROOHM",            1e-06,                 0},
    // 144 VELOCIT-FLUX (10)
    {"M/SEC",               1,                     0},
    {"FT/SEC",              0.3048,                0},
    {"M/SEC",               1,                     0},
    {"MILE/HR",             0.44704,               0},
    {"KM/HR",               0.277777777777778,     0},
    {"FT/MIN",              0.00508,               0},
    {"CUM/SQM-SEC",         1,                     0},
    {"CUFT/SQFT-SEC",       0.3048,                0},
    {"L/SQM-SEC",           0.001,                 0},
    {"GAL/SQFT-MIN",        0.000679097222222222,  0},
    // 145 MASS-CONT-RT (7)
    {"KG/KG_DRY-SEC",       1,                     0},
    {"LB/LB_DRY-SEC",       1,                     0},
    {"KG/KG_DRY-SEC",       1,                     0},
    {"KG/KG_DRY-MIN",       0.0166666666666667,    0},
    {"KG/KG_DRY-HR",        0.000277777777777778,  0},
    {"LB/LB_DRY-MIN",       0.0166666666666667,    0},
    {"LB/LB_DRY-HR",        0.000277777777777778,  0},
    // 146 GROWTH-RATE (16)
    {"M/SEC",               1,                     0},
    {"IN/SEC",              0.0254,                0},
    {"M/SEC",               1,                     0},
    {"CM/SEC",              0.01,                  0},
    {"MM/SEC",              0.001,                 0},
    {"MU/SEC",              1e-06,                 0},
    {"M/MIN",               0.0166666666666667,    0},
    {"CM/MIN",              0.000166666666666667,  0},
    {"MM/MIN",              1.66666666666667e-05,  0},
    {"MU/MIN",              1.66666666666667e-08,  0},
    {"IN/MIN",              0.000423333333333333,  0},
    {"M/HR",                0.000277777777777778,  0},
    {"CM/HR",               2.77777777777778e-06,  0},
    {"MM/HR",               2.77777777777778e-07,  0},
    {"MU/HR",               2.77777777777778e-10,  0},
    {"IN/HR",               7.05555555555556e-06,  0},
    // 147 MASSFL-LEN (10)
    {"KG/SEC-M",            1,                     0},
    {"LB/HR-FT",            0.000413378873213765,  0},
    {"KG/HR-M",             0.000277777777777778,  0},
    {"LB/SEC-IN",           17.8579673228346,      0},
    {"MLB/HR-FT",           0.413378873213765,     0},
    {"GM/SEC-CM",           0.1,                   0},
    {"KG/MIN-M",            0.0166666666666667,    0},
    {"GM/MIN-M",            1.66666666666667e-05,  0},
    {"GM/HR-M",             2.77777777777778e-07,  0},
    {"LB/MIN-FT",           0.0248027323928259,    0},
    // 148 MOLEFL-LEN (11)
    {"KMOL/SEC-M",          1,                     0},
    {"LBMOL/HR-FT",         0.000413378873213765,  0},
    {"KMOL/HR-M",           0.000277777777777778,  0},
    {"MOL/SEC-CM",          0.1,                   0},
    {"LBMOL/SEC-FT",        1.48816394356955,      0},
    {"MOL/MIN-M",           1.66666666666667e-05,  0},
    {"MOL/HR-M",            2.77777777777778e-07,  0},
    {"KMOL/MIN-M",          0.0166666666666667,    0},
    {"LBMOL/MIN-FT",        0.0248027323928259,    0},
    {"LBMOL/SEC-IN",        17.8579673228346,      0},
    {"MLBMOL/HR-FT",        0.413378873213765,     0},
};

const CatalogSpan kCatalogSpans[kTypeCount] = {
    {0, 1},        // UNTYPED
    {1, 7},        // AREA
    {8, 4},        // COMPOSITION
    {12, 7},       // DENSITY
    {19, 4},       // DIFFUSIVITY
    {23, 16},      // ENERGY
    {39, 7},       // ENTHALPY
    {46, 12},      // ENTROPY
    {58, 3},       // FISCAL
    {61, 45},      // FLOW
    {106, 50},     // MASS-FLOW
    {156, 33},     // MOLE-FLOW
    {189, 40},     // VOLUME-FLOW
    {229, 22},     // ENTHALPY-FLO
    {251, 4},      // FORCE
    {255, 8},      // MOLE-HEAT-CA
    {263, 19},     // HEAT-TRANS-C
    {282, 12},     // LENGTH
    {294, 9},      // MASS
    {303, 14},     // POWER
    {317, 37},     // PRESSURE
    {354, 6},      // SURFACE-TENS
    {360, 5},      // TEMPERATURE
    {365, 14},     // THERMAL-COND
    {379, 10},     // TIME
    {389, 10},     // VELOCITY
    {399, 9},      // VISCOSITY
    {408, 23},     // VOLUME
    {431, 8},      // FREQUENCY
    {439, 9},      // UNIT-PRICE
    {448, 15},     // ENERGY-PRICE
    {463, 9},      // DELTA-T
    {472, 3},      // ANGLE
    {475, 15},     // HEAD
    {490, 4},      // BOND-WORK-IN
    {494, 5},      // FILTER-RESIS
    {499, 4},      // SPEC-FLT-RES
    {503, 7},      // MOLE-DENSITY
    {510, 10},     // MASS-DENSITY
    {520, 18},     // MOLE-ENTHALP
    {538, 12},     // MASS-ENTHALP
    {550, 11},     // MOLE-ENTROPY
    {561, 8},      // MASS-ENTROPY
    {569, 5},      // MOLE-VOLUME
    {574, 5},      // DIMENSIONLES
    {579, 5},      // DIPOLEMOMENT
    {584, 6},      // SOLUPARAM
    {590, 4},      // ELEC-POWER
    {594, 3},      // ELEC-PRICE
    {597, 7},      // MASS-HEAT-CA
    {604, 8},      // UA
    {612, 9},      // MOLES
    {621, 11},     // WORK
    {632, 16},     // HEAT
    {648, 7},      // AREA-PRICE
    {655, 23},     // VOLUME-PRICE
    {678, 3},      // ITEM-PRICE
    {681, 12},     // NUM-CONC
    {693, 10},     // MASS-CONC
    {703, 7},      // INVERSE-TIME
    {710, 4},      // LN-INV-TIME
    {714, 8},      // FLUX
    {722, 6},      // AREA-USAGE
    {728, 10},     // VOLUME-USAGE
    {738, 7},      // MOLE-CONC
    {745, 5},      // POWER-VOLUME
    {750, 3},      // MASS-TRANS-C
    {753, 3},      // SPECIFICAREA
    {756, 5},      // INVERSE-LENG
    {761, 3},      // CHROM-VEL
    {764, 10},     // MASS-FLUX
    {774, 5},      // SOLVENT-PERM
    {779, 5},      // SOLUTE-PERM
    {784, 3},      // WATER-RATE
    {787, 7},      // PDROP-PER-HT
    {794, 20},     // PDROP
    {814, 6},      // PACK-FACTOR
    {820, 37},     // NUM-CON-RATE
    {857, 3},      // INVERSE-AREA
    {860, 6},      // VOL-HEAT-CAP
    {866, 11},     // HEAT-FLUX
    {877, 3},      // INVERSE-TEMP
    {880, 11},     // INVERSE-PRES
    {891, 3},      // TEMP-VOLUME
    {894, 6},      // VFLOW-LENGTH
    {900, 4},      // CONTENTS
    {904, 6},      // POP-DENSITY
    {910, 10},     // INVERSE-HT-C
    {920, 7},      // VOL-ENTHALPY
    {927, 8},      // MOL-FLOW-LEN
    {935, 1},      // USR-DUMMY0
    {936, 1},      // USR-DUMMY1
    {937, 1},      // USR-DUMMY2
    {938, 6},      // DESIGN-PRES
    {944, 1},      // USR-DUMMY4
    {945, 1},      // USR-DUMMY5
    {946, 1},      // USR-DUMMY6
    {947, 1},      // USR-DUMMY7
    {948, 1},      // USR-DUMMY8
    {949, 1},      // USR-DUMMY9
    {950, 20},     // VFLOW-RPM
    {970, 4},      // F-FACTOR
    {974, 12},     // MASS-CYCL
    {986, 12},     // MOLE-CYCL
    {998, 15},     // VOLUME-CYCL
    {1013, 16},    // ENTHALPY-CYC
    {1029, 12},    // MASS-OPER
    {1041, 12},    // MOLE-OPER
    {1053, 15},    // VOLUME-OPER
    {1068, 17},    // ENTHALPY-OPR
    {1085, 3},     // RHO-VSQRD
    {1088, 3},     // SOUND-LEVEL
    {1091, 5},     // MOM-INERTIA
    {1096, 4},     // VOLTAGE
    {1100, 4},     // CURRENT
    {1104, 5},     // MASS-VOLUME
    {1109, 9},     // MASS-PER-LEN
    {1118, 3},     // ENERGY-VOL
    {1121, 4},     // SIEMENS-M
    {1125, 16},    // COST-RATE
    {1141, 8},     // FLUX-HEAT-AR
    {1149, 5},     // FLUX-MOLE
    {1154, 8},     // HEAT-RATE-V
    {1162, 4},     // MOLE-RXN-RAT
    {1166, 4},     // MOL-RXN-RATW
    {1170, 3},     // MOLE-PRICE
    {1173, 10},    // VOL-HTR-COEF
    {1183, 5},     // POWER-AREA
    {1188, 6},     // POWER-MASS
    {1194, 15},    // MASS-EMISSIO
    {1209, 5},     // INVERSE-VEL
    {1214, 3},     // SPEC-MAT-RES
    {1217, 3},     // ACCELERATION
    {1220, 3},     // MASS-CONTENT
    {1223, 5},     // AREA-SQTIME
    {1228, 13},    // MOLE-AREA
    {1241, 8},     // WEIR-LOAD
    {1249, 10},    // DOWNCOMER-LD
    {1259, 12},    // SHORT-LENGTH
    {1271, 5},     // MOLE-WEIGHT
    {1276, 5},     // FS
    {1281, 4},     // MASSFL-AREA
    {1285, 40},    // VOLUME-GFLOW
    {1325, 7},     // RESISTANCE
    {1332, 10},    // VELOCIT-FLUX
    {1342, 7},     // MASS-CONT-RT
    {1349, 16},    // GROWTH-RATE
    {1365, 10},    // MASSFL-LEN
    {1375, 11},    // MOLEFL-LEN
};

}  // namespace zarn::rtuom
