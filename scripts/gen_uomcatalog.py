#!/usr/bin/env python3
"""Writes source/rtuom/uomcatalog.cpp (the built-in units table) and
source/rtuom/uomcatalog.h (type numbers, counts) of the units module.

Every multiplier is derived from the base definitions below (documented, with
their sources, in docs/units.md). A compound name such as LB/HR or
BTU/HR-SQFT-R is read as product and quotient of its parts; the few names that
cannot be read that way have an explicit rule. Each unit's SI dimension is
checked against the dimension of its type's first unit, so a misread name or a
wrong part stops the generator instead of reaching the table.

Usage: scripts/gen_uomcatalog.py [--out DIR] [--compare DIR]
  --out DIR      where to write both files (default: source/rtuom)
  --compare DIR  afterwards, fail unless DIR holds byte-identical files
"""
import argparse
import math
import os
import sys

# ---------------------------------------------------------------- base definitions
FT = 0.3048                   # international foot (1959), m
IN = 0.0254                   # inch, m
MILE = 5280 * FT              # statute mile, m
LB = 0.45359237               # avoirdupois pound (1959), kg
G0 = 9.80665                  # standard gravity, m/s2
GAL = 231 * IN ** 3           # US liquid gallon, m3
UKGAL = 4.54609e-3            # imperial gallon, m3
BBL = 42 * GAL                # oil barrel, m3
BTU = 1055.05585262           # International Table BTU, J
CAL = 4.1868                  # International Table calorie, J
TCAL = 4.184                  # thermochemical calorie, J
MMKCAL = 4184100000.0         # million kcal as the catalogue gives it, J
PCU = 1.8 * BTU               # pound-centigrade unit, J
HP = 550 * FT * LB * G0       # mechanical horsepower, W
ATM = 101325.0                # standard atmosphere, Pa
TORR = ATM / 760              # torr = mm of mercury here, Pa
RHO_W = 1000.0                # conventional density of water, kg/m3
IN_WATER_60F = 248.84         # inch of water at 60 F, Pa
TON = 2000 * LB               # short ton, kg
LTON = 2240 * LB              # long ton, kg
DAY = 86400.0
YEAR = 365.25 * DAY           # Julian year; also the operating year
R_GAS = 8.314462618           # molar gas constant, J/(mol K)
T_SCF = (60 - 32) / 1.8 + 273.15   # 60 F in K: standard conditions of SCF
T_SCM = 288.15                # 15 C: standard conditions of SCM
T_NCM = 273.15                # 0 C: normal conditions of NCM
SCF = ATM * FT ** 3 / (R_GAS * T_SCF) / 1000   # kmol in one standard cubic foot
SCM = ATM / (R_GAS * T_SCM) / 1000             # kmol in one standard cubic metre
NCM = ATM / (R_GAS * T_NCM) / 1000             # kmol in one normal cubic metre
DEGF = 5.0 / 9.0              # size of one degree F (or R) in K
DEBYE = 1e-18 * math.sqrt(1e-7 * 1e-6)   # 1e-18 statC cm in (J m3)**.5
STATC_CM_PER_C_M = 2.99792458e9 * 100    # 1 C m = c*10 statC * 100 cm
AMBIENT = 101325.0            # ambient pressure of a fresh table, Pa
OPER_YEAR_OFFSET = -99999.0   # marker offset of the operating-year units

# ---------------------------------------------------------------- dimensions
def dim(**k):
    return tuple(sorted((a, b) for a, b in k.items() if b))

def dmul(a, b, sign=1):
    d = dict(a)
    for k, v in b:
        d[k] = d.get(k, 0) + sign * v
    return tuple(sorted((k, v) for k, v in d.items() if v))

NONE = dim()
LEN, MASS, TIME, MOLE = dim(m=1), dim(kg=1), dim(s=1), dim(mol=1)
AREA, VOL = dim(m=2), dim(m=3)
ENERGY = dim(kg=1, m=2, s=-2)
POWER = dim(kg=1, m=2, s=-3)
FORCE = dim(kg=1, m=1, s=-2)
PRES = dim(kg=1, m=-1, s=-2)
TEMP = dim(K=1)
MONEY = dim(usd=1)
CYC = dim(cyc=1)

# ---------------------------------------------------------------- atoms
ATOMS = {}
def atom(names, value, d):
    for n in names.split():
        ATOMS[n] = (value, d)

atom('M METER', 1, LEN); atom('FT', FT, LEN); atom('IN', IN, LEN)
atom('CM', 0.01, LEN); atom('MM', 1e-3, LEN); atom('MU MICRON', 1e-6, LEN)
atom('KM', 1000, LEN); atom('MILE', MILE, LEN); atom('ANGSTROM', 1e-10, LEN)
atom('MFT', 1000 * FT, LEN)
atom('SQM', 1, AREA); atom('SQFT', FT ** 2, AREA); atom('SQCM', 1e-4, AREA)
atom('SQIN', IN ** 2, AREA); atom('SQMILE', MILE ** 2, AREA); atom('SQMM', 1e-6, AREA)
atom('CUM', 1, VOL); atom('CUFT', FT ** 3, VOL); atom('L', 1e-3, VOL)
atom('CUIN', IN ** 3, VOL); atom('GAL', GAL, VOL); atom('BBL', BBL, VOL)
atom('CC', 1e-6, VOL); atom('KCUM', 1e3, VOL); atom('MCUM', 1e6, VOL)
atom('MCUFT', 1e3 * FT ** 3, VOL); atom('MMCUFT', 1e6 * FT ** 3, VOL)
atom('ML', 1e-6, VOL); atom('KL', 1.0, VOL); atom('MML', 1e3, VOL)
atom('MGAL', 1e3 * GAL, VOL); atom('MMGAL', 1e6 * GAL, VOL)
atom('UKGAL', UKGAL, VOL); atom('MUKGAL', 1e3 * UKGAL, VOL); atom('MMUKGAL', 1e6 * UKGAL, VOL)
atom('MBBL KBBL', 1e3 * BBL, VOL); atom('MMBBL', 1e6 * BBL, VOL)
atom('CUYD', (3 * FT) ** 3, VOL)
atom('KG KG_DRY', 1, MASS); atom('LB LB_DRY', LB, MASS); atom('GM G', 1e-3, MASS)
atom('MG', 1e-6, MASS); atom('TON TONS', TON, MASS); atom('MLB', 1e3 * LB, MASS)
atom('MMLB', 1e6 * LB, MASS); atom('TONNE MGM', 1e3, MASS); atom('GGM', 1e6, MASS)
atom('L-TON L-TONS', LTON, MASS); atom('MTONS', 1e3 * TON, MASS)
atom('MMTONS', 1e6 * TON, MASS); atom('ML-TONS', 1e3 * LTON, MASS)
atom('MML-TONS', 1e6 * LTON, MASS); atom('KTONNE', 1e6, MASS)
atom('KMOL', 1, MOLE); atom('MOL', 1e-3, MOLE); atom('MMOL', 1e-6, MOLE)
atom('LBMOL', LB, MOLE); atom('MLBMOL', 1e3 * LB, MOLE)
atom('SCF', SCF, MOLE); atom('MSCF', 1e3 * SCF, MOLE); atom('MMSCF', 1e6 * SCF, MOLE)
atom('SCM', SCM, MOLE); atom('MMSCM', 1e6 * SCM, MOLE)
atom('SEC S', 1, TIME); atom('MIN', 60, TIME); atom('HR', 3600, TIME)
atom('DAY', DAY, TIME); atom('WEEK', 7 * DAY, TIME); atom('MONTH', YEAR / 12, TIME)
atom('YEAR OPER-YEAR', YEAR, TIME); atom('NSEC', 1e-9, TIME)
atom('KHR MHR', 3.6e6, TIME); atom('MMHR', 3.6e9, TIME); atom('DAY30', 30 * DAY, TIME)
atom('SQSEC S2', 1, dim(s=2))
atom('J N-M', 1, ENERGY); atom('KJ', 1e3, ENERGY); atom('MJ', 1e6, ENERGY)
atom('GJ', 1e9, ENERGY); atom('TJ', 1e12, ENERGY); atom('CAL', CAL, ENERGY)
atom('KCAL', 1e3 * CAL, ENERGY); atom('MCAL', 1e6 * CAL, ENERGY)
atom('GCAL', 1e9 * CAL, ENERGY); atom('TCAL', TCAL, ENERGY)
atom('MMKCAL', MMKCAL, ENERGY); atom('BTU', BTU, ENERGY)
atom('MBTU', 1e3 * BTU, ENERGY); atom('MMBTU', 1e6 * BTU, ENERGY)
atom('PCU', PCU, ENERGY); atom('MMPCU', 1e6 * PCU, ENERGY); atom('KWHR', 3.6e6, ENERGY)
atom('WATT W', 1, POWER); atom('KW', 1e3, POWER); atom('MW', 1e6, POWER)
atom('GW', 1e9, POWER); atom('HP', HP, POWER); atom('MHP', 1e3 * HP, POWER)
atom('NEWTON N', 1, FORCE); atom('LBF', LB * G0, FORCE); atom('DYNE DYN', 1e-5, FORCE)
atom('KGF', G0, FORCE); atom('MN', 1e-3, FORCE)
atom('PA', 1, PRES); atom('KPA', 1e3, PRES); atom('MPA', 1e6, PRES)
atom('BAR BARA', 1e5, PRES); atom('MBAR', 100, PRES); atom('ATM', ATM, PRES)
atom('PSI PSIA', LB * G0 / IN ** 2, PRES); atom('TORR MMHG', TORR, PRES)
atom('IN-HG', 25.4 * TORR, PRES); atom('IN-WATER', RHO_W * G0 * IN, PRES)
atom('MM-WATER', RHO_W * G0 * 1e-3, PRES); atom('IN-WATER-60F', IN_WATER_60F, PRES)
atom('MM-WATER-60F', IN_WATER_60F / 25.4, PRES)
atom('K C', 1, TEMP); atom('R F', DEGF, TEMP)
atom('$', 1, MONEY); atom('K$', 1e3, MONEY); atom('MM$', 1e6, MONEY)
atom('NO 1 ITEM', 1, NONE); atom('1E6', 1e6, NONE); atom('1E9', 1e9, NONE)
atom('RAD', 1, NONE); atom('DEG', math.pi / 180, NONE)
atom('HZ RPS', 1, dim(s=-1)); atom('RPM', 1 / 60, dim(s=-1))
atom('KRPM', 1e3 / 60, dim(s=-1)); atom('MMRPM', 1e6 / 60, dim(s=-1))
atom('RPH', 1 / 3600, dim(s=-1))
atom('CYCLE OP', 1, CYC)
atom('VOLT', 1, dim(V=1)); atom('KVOLT', 1e3, dim(V=1)); atom('MVOLT', 1e-3, dim(V=1))
atom('AMP', 1, dim(A=1)); atom('MAMP', 1e-3, dim(A=1)); atom('KAMP', 1e3, dim(A=1))
atom('OHM', 1, dim(ohm=1)); atom('KOHM', 1e3, dim(ohm=1)); atom('MEGAOHM', 1e6, dim(ohm=1))
atom('MOHM', 1e-3, dim(ohm=1)); atom('MICROOHM', 1e-6, dim(ohm=1))
atom('SIEMENS', 1, dim(ohm=-1))
atom('CP', 1e-3, dim(kg=1, m=-1, s=-1)); atom('P', 0.1, dim(kg=1, m=-1, s=-1))
atom('CS', 1e-6, dim(m=2, s=-1))
atom('* UNITLESS FRACTION MOL-FR MASS-FR DECIBELS BASE-UNITS', 1, NONE)
atom('PERCENT', 0.01, NONE); atom('PPM', 1e-6, NONE)
# Rates written as one word
atom('MCFH', 1e3 * SCF / 3600, dim(mol=1, s=-1))
atom('SCFH', SCF / 3600, dim(mol=1, s=-1)); atom('MSCFH', 1e3 * SCF / 3600, dim(mol=1, s=-1))
atom('MMSCFH', 1e6 * SCF / 3600, dim(mol=1, s=-1))
atom('SCFD', SCF / DAY, dim(mol=1, s=-1)); atom('MSCFD', 1e3 * SCF / DAY, dim(mol=1, s=-1))
atom('MMSCFD', 1e6 * SCF / DAY, dim(mol=1, s=-1))
atom('SCFM', SCF / 60, dim(mol=1, s=-1)); atom('MSCFM', 1e3 * SCF / 60, dim(mol=1, s=-1))
atom('SCMH', SCM / 3600, dim(mol=1, s=-1)); atom('MMSCMH', 1e6 * SCM / 3600, dim(mol=1, s=-1))
atom('NCMH', NCM / 3600, dim(mol=1, s=-1)); atom('NCMD', NCM / DAY, dim(mol=1, s=-1))
atom('GPM', GAL / 60, dim(m=3, s=-1)); atom('ACFM', FT ** 3 / 60, dim(m=3, s=-1))
atom('BPD', BBL / DAY, dim(m=3, s=-1)); atom('MLBPH', 1e3 * LB / 3600, dim(kg=1, s=-1))


def segment(text):
    """Product of the hyphen-joined parts of one segment; longest part first."""
    toks = text.split('-')
    val, d, i = 1.0, NONE, 0
    while i < len(toks):
        for j in range(len(toks), i, -1):
            key = '-'.join(toks[i:j])
            if key in ATOMS:
                v, dd = ATOMS[key]
                val *= v
                d = dmul(d, dd)
                i = j
                break
        else:
            raise KeyError('%s (in %s)' % (toks[i], text))
    return val, d


def parse(name):
    """SI value and dimension of a compound name: A-B/C-D/E = A*B/(C*D)/E."""
    if name in ATOMS:
        return ATOMS[name]
    segs = name.split('/')
    val, d = segment(segs[0])
    for s in segs[1:]:
        v, dd = segment(s)
        val /= v
        d = dmul(d, dd, -1)
    return val, d


# ---------------------------------------------------------------- explicit rules
def sqrt_of(name):
    v, d = parse(name)
    return math.sqrt(v), tuple((k, e / 2) for k, e in d)

GAUGE = {'PSIG': 'PSIA', 'ATMG': 'ATM', 'BARG': 'BAR', 'KG/SQCMG': 'KGF/SQCM',
         'PAG': 'PA', 'KPAG': 'KPA', 'MPAG': 'MPA', 'MBARG': 'MBAR',
         'IN-WATER-G': 'IN-WATER', 'IN-WATER-60F-G': 'IN-WATER-60F',
         'MM-WATER-G': 'MM-WATER', 'MM-WATER-60F-G': 'MM-WATER-60F'}
VACUUM = {'MMHG-VAC': 'MMHG', 'IN-HG-VAC': 'IN-HG', 'IN-WATER-VAC': 'IN-WATER',
          'IN-WATER-60F-VAC': 'IN-WATER-60F'}

def plain(name):
    """(multiplier, offset 0, dimension) of a name read as its parts."""
    v, d = parse(name)
    return v, 0, d


# The units that are not the plain reading of their name:
# (multiplier, offset, dimension), or None for the plain reading.
def special(tname, unit):
    if tname == 'TEMPERATURE':
        return {'K': (1, 0), 'C': (1, 273.15), 'F': (DEGF, 273.15 - 32 * DEGF),
                'R': (DEGF, 0)}[unit] + (TEMP,)
    if tname == 'DELTA-T':
        return {'K': 1, 'C': 1, 'F': DEGF, 'R': DEGF}[unit[6:]], 0, TEMP
    if tname == 'PRESSURE' and unit in GAUGE:
        return parse(GAUGE[unit])[0], AMBIENT, PRES
    if tname == 'PRESSURE' and unit in VACUUM:
        return -parse(VACUUM[unit])[0], AMBIENT, PRES
    if tname == 'DESIGN-PRES':
        base = {'PSIG': 'PSIA', 'BARG': 'BAR'}.get(unit, unit.replace('-GAUGE', ''))
        return parse(base)[0], 0, PRES
    if unit == 'KG/SQCM':                 # kilogram-force here
        return plain('KGF/SQCM')
    if unit == 'SQCM/KG':
        return plain('SQCM/KGF')
    if tname == 'HEAD' and unit in ('FT', 'METER', 'INCH', 'MFT', 'FT-HEAD',
                                    'METER-HEAD', 'INCH-HEAD'):
        length = {'INCH': 'IN', 'FT-HEAD': 'FT', 'METER-HEAD': 'METER',
                  'INCH-HEAD': 'IN'}.get(unit, unit)
        return parse(length)[0] * G0, 0, dim(m=2, s=-2)
    if tname == 'LN-INV-TIME':
        per = unit[5:-1]
        return 1, -math.log(parse(per)[0]), NONE
    if tname == 'DIPOLEMOMENT':
        v = {'(J*CUM)**.5': 1, '(BTU*CUFT)**.5': math.sqrt(BTU * FT ** 3),
             'DEBYE': DEBYE, '(KJ*CUM)**.5': math.sqrt(1e3),
             'C*M': STATC_CM_PER_C_M * math.sqrt(1e-13)}[unit]
        return v, 0, NONE
    if tname == 'F-FACTOR':               # (A-B)**.5/T
        inner, per = unit[1:].split(')**.5/')
        v, d = sqrt_of(inner)
        t, td = parse(per)
        return v / t, 0, dmul(d, td, -1)
    if tname == 'SOLUPARAM':              # (A/B)**.5 or (A/B)**0.5
        v, d = sqrt_of(unit[1:unit.index(')')])
        return v, 0, d
    if unit.startswith('SQRT('):
        v, d = sqrt_of(unit[5:-1])
        return v, 0, d
    if unit == 'FT/S-SQRT(LB/CUFT)':
        v, d = sqrt_of('LB/CUFT')
        return FT * v, 0, dmul(d, dim(m=1, s=-1))
    if tname == 'FREQUENCY' and unit == 'RAD/SEC':   # one turn is 2 pi radians
        return 1 / (2 * math.pi), 0, dim(s=-1)
    if tname == 'MASS-TRANS-C':
        return {'KG/S-SQM-KG/CUM': 1, 'LB/HR-SQF-LB/CUF': FT / 3600,
                'GM/S-SQCM-GM/CC': 0.01}[unit], 0, dim(m=1, s=-1)
    if unit == 'C-CM/SEC-SQCM-K':         # C stands for the calorie
        return plain('CAL-CM/SEC-SQCM-K')
    if tname == 'MOLE-CYCL' and unit[:-6] in ('MMSCFH', 'MMSCMH', 'SCMH', 'MMSCFD', 'SCFM'):
        # rate names reused as amounts per cycle: MMSCFH/CYCLE is MMSCF a cycle
        return plain(unit[:-7] + '/CYCLE')
    return None


def unit_value(tname, unit):
    s = special(tname, unit)
    if s is not None:
        return s
    v, off, d = plain(unit)
    if unit.endswith('OPER-YEAR'):
        off = OPER_YEAR_OFFSET
    return v, off, d


# Types whose units are read relative to the first one (the first is the SI unit
# by definition, and the others carry the same trailing divisor).
RELATIVE = {'VFLOW-RPM'}
# Generic types that mix mole and mass bases by design (a kmol counts as a kg).
MIXED = {'FLOW': ('mol', 'kg'), 'ENTHALPY': ('mol', 'kg'), 'ENTROPY': ('mol', 'kg')}
# ENTHALPY-CYC lists powers per cycle (WATT/CYCLE) beside energies per cycle.
UNCHECKED = {'ENTHALPY-CYC'}

from uom_typelist import TYPES  # noqa: E402  (name lists, in catalogue order)


def normalise(d, tname):
    if tname in MIXED:
        a, b = MIXED[tname]
        d = dict(d)
        if a in d:
            d[b] = d.get(b, 0) + d.pop(a)
        d = tuple(sorted((k, v) for k, v in d.items() if v))
    return d


def build():
    rows = []
    for num, (tname, units) in enumerate(TYPES):
        entries = []
        first = None
        for u in units:
            v, off, d = unit_value(tname, u)
            if first is None:
                first = (v, d)
                if tname not in RELATIVE and (abs(v - 1) > 1e-15 or off != 0):
                    raise SystemExit('%s: first unit %s is not SI (%r)' % (tname, u, v))
            if tname in RELATIVE:
                v = v / first[0]
            if tname not in UNCHECKED and normalise(d, tname) != normalise(first[1], tname):
                raise SystemExit('%s: %s has dimension %r, type has %r' % (tname, u, d, first[1]))
            entries.append((u, v, off))
        rows.append((num, tname, entries))
    return rows


# Catalogue facts checked at generation, so that the tests need not copy data.
# Non-zero offsets: gauge and vacuum units of PRESSURE (the ambient), the
# Celsius and Fahrenheit scales, the logarithmic rates and the OPER-YEAR units.
OFFSET_OWNERS = {'TEMPERATURE': {'C', 'F'}, 'LN-INV-TIME': None,
                 'PRESSURE': set(GAUGE) | set(VACUUM)}
# A name listed by several types is the same unit in each, except these.
SAME_NAME_EXCEPTIONS = {('HEAD', 'FT'), ('HEAD', 'METER'), ('HEAD', 'MFT'),
                        ('DESIGN-PRES', 'PSIG'), ('DESIGN-PRES', 'BARG')}
# Types that repeat another's list unit for unit.
REPEATS = {'SHORT-LENGTH': 'LENGTH', 'VOLUME-GFLOW': 'VOLUME-FLOW'}


def check(rows):
    def fail(msg):
        raise SystemExit('catalogue: ' + msg)
    names = [t for _, t, _ in rows]
    if len(set(names)) != len(names) or any(len(t) > 12 for t in names):
        fail('type names must be unique and at most 12 characters')
    first = {}
    by_type = {t: e for _, t, e in rows}
    for _, tname, entries in rows:
        if not entries:
            fail('%s has no units' % tname)
        for u, v, off in entries:
            if len(u) > 32 or v == 0:
                fail('%s %s: name over 32 characters or zero multiplier' % (tname, u))
            if u.endswith('OPER-YEAR'):
                if off != OPER_YEAR_OFFSET:
                    fail('%s %s: OPER-YEAR offset' % (tname, u))
            elif off != 0:
                owners = OFFSET_OWNERS.get(tname, set())
                if owners is not None and u not in owners:
                    fail('%s %s: unexpected offset %r' % (tname, u, off))
            if (tname, u) in SAME_NAME_EXCEPTIONS:
                if u in first and first[u][1:] == (v, off):
                    fail('%s %s no longer differs; drop the exception' % (tname, u))
                continue
            if u in first and first[u][1:] != (v, off):
                fail('%s means %r in %s but %r in %s' % (u, first[u][1:], first[u][0], (v, off), tname))
            first.setdefault(u, (tname, v, off))
    for t, base in REPEATS.items():
        if by_type[t] != by_type[base]:
            fail('%s no longer repeats %s' % (t, base))


def c_number(x):
    if x == 0:
        return '0'
    return '%.15g' % x


def enum_name(tname):
    return 'k' + ''.join(part.capitalize() for part in tname.split('-'))


HEADER_TAIL = """// One built-in unit: name, SI value of one unit, SI value of its zero.
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
"""


def write_header(rows, out):
    total = sum(len(e) for _, _, e in rows)
    out.write('// Built-in units catalogue: physical type numbers and names, the counts and\n')
    out.write('// the tables of uomcatalog.cpp. Written by scripts/gen_uomcatalog.py from\n')
    out.write('// scripts/uom_typelist.py; edit those, not this file.\n')
    out.write('#ifndef ZARN_RTUOM_UOMCATALOG_H\n#define ZARN_RTUOM_UOMCATALOG_H\n\n')
    out.write('#include "zarnutils/rtuom.h"\n\nnamespace zarn::rtuom {\n\n')
    out.write('inline constexpr int kTypeCount = %d;     // built-in physical types 0..%d\n'
              % (len(rows), len(rows) - 1))
    out.write('inline constexpr int kCatalogSize = %d;  // built-in unit entries of all types\n' % total)
    out.write('static_assert(kTypeCount == RTOUOM_NTYPES, "the public header counts the types");\n\n')
    out.write('// Physical type numbers by name.\nenum PhysicalType : int {\n')
    for num, tname, _ in rows:
        out.write('    %s = %d,\n' % (enum_name(tname), num))
    out.write('};\n\n')
    out.write(HEADER_TAIL)


def write_source(rows, out):
    out.write('// Built-in units: %d physical types and their units in index order.\n' % len(rows))
    out.write('// Written by scripts/gen_uomcatalog.py from the base definitions listed in\n')
    out.write('// docs/units.md; edit those, not this file.\n')
    out.write('#include "rtuom/uomcatalog.h"\n\nnamespace zarn::rtuom {\n\n')
    out.write('const char *const kTypeNames[kTypeCount] = {\n')
    for num, tname, _ in rows:
        out.write('    "%s",%s// %d\n' % (tname, ' ' * (14 - len(tname)), num))
    out.write('};\n\n')
    out.write('const SortedType kSortedTypes[kTypeCount] = {\n')
    for num, tname in sorted(((n, t) for n, t, _ in rows), key=lambda x: x[1].encode()):
        out.write('    {"%s",%s%d},\n' % (tname, ' ' * (14 - len(tname)), num))
    out.write('};\n\n')
    out.write('const CatalogUnit kCatalogUnits[kCatalogSize] = {\n')
    start = 0
    starts = []
    for num, tname, entries in rows:
        starts.append((start, len(entries)))
        out.write('    // %d %s (%d)\n' % (num, tname, len(entries)))
        for u, v, off in entries:
            name = '"%s",' % u.replace('\\', '\\\\').replace('"', '\\"')
            out.write('    {%-22s %-22s %s},\n' % (name, c_number(v) + ',', c_number(off)))
        start += len(entries)
    out.write('};\n\n')
    out.write('const CatalogSpan kCatalogSpans[kTypeCount] = {\n')
    for (num, tname, _), (s, n) in zip(rows, starts):
        out.write('    {%d, %d},%s// %s\n' % (s, n, ' ' * (10 - len('%d%d' % (s, n))), tname))
    out.write('};\n\n}  // namespace zarn::rtuom\n')


FILES = {'uomcatalog.cpp': write_source, 'uomcatalog.h': write_header}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser()
    ap.add_argument('--out', default=os.path.join(here, '..', 'source', 'rtuom'))
    ap.add_argument('--compare')
    args = ap.parse_args()
    rows = build()
    check(rows)
    os.makedirs(args.out, exist_ok=True)
    for name, write in FILES.items():
        with open(os.path.join(args.out, name), 'w', newline='\n') as out:
            write(rows, out)
    if args.compare:
        differ = [n for n in FILES if open(os.path.join(args.out, n), 'rb').read()
                  != open(os.path.join(args.compare, n), 'rb').read()]
        if differ:
            sys.exit('regenerated %s differ from %s' % (', '.join(differ), args.compare))


if __name__ == '__main__':
    main()
