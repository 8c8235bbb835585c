#!/usr/bin/env python3
"""Writes the SI dimension of every built-in physical type as a C++ table.

Each type's dimension is that of its first (SI) unit, read with the units
generator's own base definitions, so that a check of the product and quotient
tables rests on the same facts as the catalogue. Money is one more base
dimension; a price type is money per unit of its type (the reader negates).

Usage: scripts/gen_ptype_dims.py [output file]   (standard output without one)
"""
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import gen_uomcatalog as gen  # noqa: E402

# The base dimensions, in the order of the exponents written out.
BASES = ['m', 'kg', 's', 'mol', 'K', 'usd', 'A', 'V', 'ohm', 'cyc']


def main():
    out = open(sys.argv[1], 'w') if len(sys.argv) > 1 else sys.stdout
    out.write('// Written by scripts/gen_ptype_dims.py; exponents of %s.\n' % ' '.join(BASES))
    out.write('constexpr int kDimBases = %d;\n' % len(BASES))
    out.write('constexpr struct { const char *name; double exp[kDimBases]; } kTypeDims[] = {\n')
    for tname, units in gen.TYPES:
        _, _, d = gen.unit_value(tname, units[0])
        d = dict(d)
        unknown = set(d) - set(BASES)
        if unknown:
            raise SystemExit('%s: base %s not in the list' % (tname, ', '.join(sorted(unknown))))
        exps = ', '.join('%g' % d.get(b, 0) for b in BASES)
        out.write('    {"%s", {%s}},\n' % (tname, exps))
    out.write('};\n')


if __name__ == '__main__':
    main()
