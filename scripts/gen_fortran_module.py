#!/usr/bin/env python3
"""Writes the Fortran module `zarnutils` from the table of Fortran entry points.

    gen_fortran_module.py --table scripts/fortran_entries.txt --out zarnutils.f90
    gen_fortran_module.py --table scripts/fortran_entries.txt --check-headers include/zarnutils

The module gives every upper-case entry point of the library an explicit
interface, so that gfortran checks the kind and rank of each argument. An entry
with a `text` argument keeps the gfortran calling form (the compiler passes the
hidden lengths at the end, as the library expects); every other entry is
declared bind(C) under its exact name.

--check-headers compares the table with the public headers: every upper-case
function they declare is in the table, and each entry's arguments have the C
types, constness and hidden lengths the table implies, and that no argument the
library may write (a pointer without const) is declared intent in. It prints what differs
and exits 1.
"""
import argparse
import glob
import os
import re
import sys

RESULTS = {'void', 'i32', 'i64', 'r64', 'handle'}
KINDS = {'i32', 'i64', 'r64', 'handle', 'cptr', 'text', 'chars', 'cstr', 'len', 'proc', 'funptr', 'any'}
INTENTS = {'in', 'out', 'inout'}
CALLBACK = 'zarn_xfile_name_callback'
# Kinds whose C parameter points at the caller's data. A handle or address slot is `T **` in
# the headers whether or not the library writes it, so its constness says nothing.
WRITABLE = {'i32', 'i64', 'r64', 'text', 'chars', 'cstr', 'any'}


class Arg:
    def __init__(self, name, kind, dims, intent):
        self.name, self.kind, self.dims, self.intent = name, kind, dims, intent


class Entry:
    def __init__(self, name, result, args, line):
        self.name, self.result, self.args, self.line = name, result, args, line

    def has_text(self):
        return any(a.kind == 'text' for a in self.args)


def parse_table(path):
    entries = []
    with open(path, encoding='utf-8') as f:
        for number, raw in enumerate(f, 1):
            line = raw.split('#', 1)[0].strip()
            if not line:
                continue
            fields = line.split()
            where = f'{path}:{number}'
            if len(fields) < 2 or fields[1] not in RESULTS:
                sys.exit(f'{where}: expected NAME RESULT ARGUMENT...')
            args = []
            for spec in fields[2:]:
                m = re.fullmatch(r'(\w+):(\w+)(?:\((\*|\d+)\))?(?::(\w+))?', spec)
                if not m or m.group(2) not in KINDS or (m.group(4) or 'in') not in INTENTS:
                    sys.exit(f'{where}: bad argument {spec!r}')
                args.append(Arg(m.group(1), m.group(2), m.group(3), m.group(4) or 'in'))
            entries.append(Entry(fields[0], fields[1], args, where))
    names = [e.name for e in entries]
    doubled = sorted({n for n in names if names.count(n) > 1})
    if doubled:
        sys.exit(f'{path}: entries listed twice: {", ".join(doubled)}')
    return entries


# ---- the module ----

def declaration(arg, bind_c):
    intent = f', intent({arg.intent})'
    dims = f'({arg.dims})' if arg.dims else ''
    k = arg.kind
    if k == 'i32':
        return f'integer(c_int32_t){intent} :: {arg.name}{dims}'
    if k == 'i64':
        return f'integer(c_int64_t){intent} :: {arg.name}{dims}'
    if k == 'r64':
        return f'real(c_double){intent} :: {arg.name}{dims}'
    if k == 'handle':
        return f'integer(c_intptr_t){intent} :: {arg.name}'
    if k == 'cptr':
        return f'type(c_ptr){intent} :: {arg.name}'
    if k == 'text':
        return f'character(len=*){intent} :: {arg.name}{dims}'
    if k in ('chars', 'cstr'):
        return f'character(kind=c_char){intent} :: {arg.name}({arg.dims or "*"})'
    if k == 'len':
        return f'integer(c_size_t), value :: {arg.name}'
    if k == 'proc':
        return f'procedure({CALLBACK}) :: {arg.name}'
    if k == 'funptr':
        return f'type(c_funptr), value :: {arg.name}'
    if k == 'any':
        return f'type(*){intent} :: {arg.name}(*)'
    raise AssertionError(k)


RESULT_TYPES = {'i32': 'integer(c_int32_t)', 'i64': 'integer(c_int64_t)', 'r64': 'real(c_double)',
                'handle': 'integer(c_intptr_t)'}


def wrapped(head, names, tail, indent):
    """`head(a, b, ...)tail` broken into lines of at most 100 characters with `&`."""
    out, line = [], f'{indent}{head}('
    for k, name in enumerate(names):
        piece = name + (', ' if k + 1 < len(names) else '')
        if len(line) + len(piece) > 98:
            out.append(line.rstrip() + ' &')
            line = indent + '    '
        line += piece
    line += ')'
    if len(line) + len(tail) > 98:
        out.append(line + ' &')
        line = indent + '   '
    out.append(line + tail)
    return out


def interface(e):
    bind_c = not e.has_text()
    what = 'subroutine' if e.result == 'void' else 'function'
    tail = f" bind(C, name='{e.name}')" if bind_c else ''
    if e.result != 'void':
        tail += ' result(res)'
    lines = wrapped(f'{what} {e.name}', [a.name for a in e.args], tail, '    ')
    lines.append('      import')
    lines += ['      ' + declaration(a, bind_c) for a in e.args]
    if e.result != 'void':
        lines.append(f'      {RESULT_TYPES[e.result]} :: res')
    lines.append(f'    end {what} {e.name}')
    return lines


def module_text(entries, table_name):
    out = [
        f'! Generated by scripts/gen_fortran_module.py from {table_name}; do not edit.',
        '!',
        '! Explicit interfaces of the Fortran entry points of libzarnutils.so, so that',
        '! the compiler checks every argument. Handles (lists, tables) are kept in',
        '! INTEGER(c_intptr_t) variables; character arguments are fixed-length fields.',
        'module zarnutils',
        '  use, intrinsic :: iso_c_binding',
        '  implicit none',
        '',
        '  abstract interface',
        '    ! Called by RTXFILE_QUERY with each name as a C string (c_null_ptr: no name).',
        f'    subroutine {CALLBACK}(name) bind(C)',
        '      import',
        '      type(c_ptr), value :: name',
        f'    end subroutine {CALLBACK}',
        '  end interface',
        '',
        '  interface',
    ]
    for e in entries:
        out += interface(e)
    out += ['  end interface', '', 'end module zarnutils', '']
    return '\n'.join(out)


# ---- the check against the headers ----

def header_prototypes(folder):
    """Every upper-case function a public header declares: name -> (result, [params], header)."""
    found = {}
    for path in sorted(glob.glob(os.path.join(folder, '*.h'))):
        with open(path, encoding='utf-8') as f:
            text = re.sub(r'/\*.*?\*/', ' ', f.read(), flags=re.S)
        text = re.sub(r'//[^\n]*', ' ', text)
        # A parameter may itself hold one level of parentheses (a function pointer).
        for m in re.finditer(r'ZARN_API\s+([^;{}]*?)\b([A-Z][A-Z0-9_]*)\s*\(((?:[^()]|\([^()]*\))*)\)\s*;', text):
            if not re.search(r'[A-Z]', m.group(2)) or m.group(2).startswith('ZARN_'):
                continue
            params = [' '.join(p.split()) for p in re.split(r',(?![^()]*\))', m.group(3))]
            if params == ['void']:
                params = []
            found[m.group(2)] = (' '.join(m.group(1).split()), params, os.path.basename(path))
    return found


def c_type(param):
    """(type without name, const at the pointee) of a C parameter."""
    f = re.fullmatch(r'(\w+)\s*\(\s*\*\s*\w+\s*\)\s*\((.*)\)', param)
    if f:  # a function pointer: R (*name)(args)
        return f'{f.group(1)}(*)({f.group(2).strip()})', False
    m = re.fullmatch(r'(.*?)\s*\b(\w+)(\[\d+\])?', param)
    t = m.group(1).replace(' *', '*').replace('* ', '*').strip()
    if m.group(3):
        t += '*'
    return t, t.startswith('const ')


def expected_c(arg):
    """The C types a table argument may stand for."""
    k = arg.kind
    base = {'i32': 'int32_t', 'i64': 'int64_t', 'r64': 'double', 'text': 'char', 'chars': 'char',
            'cstr': 'char', 'any': 'void'}.get(k)
    if base is not None:
        return {f'const {base}*', f'{base}*'}
    if k == 'handle':
        return {'*handle**'}
    if k == 'cptr':
        return {'*handle**', '*ptrconst*'}
    if k == 'len':
        return {'size_t'}
    if k == 'proc':
        return {'rtxfile_name_callback'}
    if k == 'funptr':
        return {'void(*)(void)'}
    raise AssertionError(k)


def shape_of(t):
    if re.fullmatch(r'\w+\*\*', t):
        return '*handle**'
    if re.fullmatch(r'\w+\*const\*', t):
        return '*ptrconst*'
    return t


def check(entries, folder):
    problems = []
    headers = header_prototypes(folder)
    table = {e.name: e for e in entries}
    for name in sorted(set(headers) - set(table)):
        problems.append(f'{name} ({headers[name][2]}) is not in the table')
    for name in sorted(set(table) - set(headers)):
        problems.append(f'{table[name].line}: {name} is declared by no public header')
    results = {'void': {'void'}, 'i32': {'int32_t'}, 'i64': {'int64_t'}, 'r64': {'double'}}
    for name in sorted(set(table) & set(headers)):
        e = table[name]
        ret, params, header = headers[name]
        want_ret = results.get(e.result)
        if (want_ret is not None and ret not in want_ret) or (e.result == 'handle' and not ret.endswith('*')):
            problems.append(f'{e.line}: {name} returns {ret} in {header}, not {e.result}')
        hidden = [a for a in e.args if a.kind == 'text']
        if len(params) != len(e.args) + len(hidden):
            problems.append(f'{e.line}: {name} takes {len(params)} parameters in {header}; the table '
                            f'implies {len(e.args)} and {len(hidden)} hidden lengths')
            continue
        for arg, param in zip(e.args, params):
            t, const = c_type(param)
            if shape_of(t) not in expected_c(arg):
                problems.append(f'{e.line}: {name} argument {arg.name} is {param} in {header}, not {arg.kind}')
            elif const and arg.intent != 'in':
                problems.append(f'{e.line}: {name} argument {arg.name} is const in {header} but intent {arg.intent}')
            elif not const and arg.intent == 'in' and arg.kind in WRITABLE:
                # A pointer the library may write through: with intent(in) the caller's
                # compiler may keep the old value across the call.
                problems.append(f'{e.line}: {name} argument {arg.name} is {param} in {header} (not const) '
                                f'but intent in')
        for arg, param in zip(hidden, params[len(e.args):]):
            if c_type(param)[0] != 'size_t':
                problems.append(f'{e.line}: {name} has {param} where the hidden length of {arg.name} belongs')
    return problems


def main():
    p = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    p.add_argument('--table', required=True)
    p.add_argument('--out')
    p.add_argument('--check-headers', metavar='DIR')
    a = p.parse_args()
    entries = parse_table(a.table)
    if a.out:
        text = module_text(entries, os.path.join('scripts', os.path.basename(a.table)))
        with open(a.out, 'w', encoding='utf-8') as f:
            f.write(text)
    if a.check_headers:
        problems = check(entries, a.check_headers)
        for line in problems:
            print(line)
        if problems:
            return 1
        print(f'{len(entries)} entries match the headers')
    return 0


if __name__ == '__main__':
    sys.exit(main())
