#!/usr/bin/env python3
"""Writes the attribute catalogue: every variable and equation attribute once,
with what each context says about it (the list column, the record field and
mask code, the assignment keywords and modification bits, the print-mask
words, the VARFILE header word, field form and widths, the X-file code and
label, the query id, name and kind), and the word tables of the coded
attributes (SPEC, BOUND, QUALITY, YES/NO, VAR_TYPE, ACTIVE_BOUND, the
connection-type properties), each read in both directions.

Synonyms stay per context: a row lists the words each context accepts; two
contexts never share a word list, so "SB" can mean SBWEIGHT to assignment
and STEP to a print mask without either borrowing the other's table.

Outputs (checked in, like the units catalogue; a CTest regenerates and
compares them):
  include/zarnutils/attrcatalog.h   public C header: the keyword entry type and
                                    the attribute enumerations as lists
  source/attrcat/attrcat_data.h     the rows and vocabularies as constexpr data
  docs/attributes.md                the same rows for readers

Usage: scripts/gen_attrcatalog.py [--out DIR] [--compare DIR]
  --out DIR      write both files below DIR (default: the tree)
  --compare DIR  afterwards, fail unless DIR holds byte-identical files
"""
import argparse
import filecmp
import os
import sys

# ------------------------------------------------------------------ word tables
# Each table: the word written for each code (code order), further words it
# accepts, the match rule of its lookups and, where the text fixes them, the
# length bounds a word must lie in.  Rule "keyword": the first character must
# be an upper-case letter, the rest compare ignoring case.  Rule "exact": byte
# for byte (callers upper-case first where their text says so).

WORD_TABLES = {
    "spec": dict(
        written=[(0, "CALC"), (1, "CONST"), (2, "INDEP"), (3, "MEAS"), (4, "PARAM"), (5, "OPTIM"),
                 (6, "RECON"), (7, "INITIAL")],
        also=[("FREE", 0), ("FIXED", 1), ("INDEPENDENT", 2)],
        rule="keyword", bounds=(4, 11), title=True),
    "bound": dict(
        written=[(0, "HARD"), (1, "RELAXED"), (2, "SOFT"), (3, "SOFT2")],
        rule="keyword", bounds=(4, 7)),
    "quality": dict(
        written=[(0, "GOOD"), (1, "BAD"), (2, "OVERRIDE"), (3, "BADIGNORE")],
        rule="exact"),
    "yes_no": dict(written=[(0, "NO"), (1, "YES")], rule="exact"),
    # INTEGER reads as 3; the lower-case forms are what lookup by name gives,
    # the query forms replace hyphens with underscores and name 3 INTEGER.
    "var_type": dict(
        written=[(0, "ALGEBRAIC"), (1, "STATE"), (2, "DIFFERENTIAL"), (3, "DISCRETE"),
                 (4, "DISCRETE-ESLACK"), (5, "BINARY"), (6, "PARTIAL-INTEGER"), (7, "SEMI-CONTINUOUS"),
                 (64, "SEMI-CONTINUOUS-INTEGER")],
        also=[("INTEGER", 3)], rule="exact", lower=True,
        query=dict(rename={3: "INTEGER"})),
    "active_bound": dict(
        written=[(0, "NOT AT BOUNDS"), (1, "STEP LOWER"), (2, "STEP UPPER"), (3, "EXCEEDED STEP LOWER"),
                 (4, "EXCEEDED STEP UPPER"), (5, "LOWER"), (6, "UPPER"), (7, "EXCEEDED LOWER"),
                 (8, "EXCEEDED UPPER"), (9, "SOFT LOWER"), (10, "SOFT UPPER"), (11, "EXCEEDED SOFT LOWER"),
                 (12, "EXCEEDED SOFT UPPER"), (13, "RELAXED LOWER"), (14, "RELAXED UPPER"),
                 (15, "EXCEEDED RELAXED LOWER"), (16, "EXCEEDED RELAXED UPPER"), (17, "PINCHED")],
        rule="exact", query=dict()),
    # The equation status word's math types; dotted-name assignment upper-cases
    # the word before it looks it up.
    "math_type": dict(
        written=[(0, "EQUALITY"), (1, "LT"), (2, "LEQ"), (3, "GT"), (4, "GEQ"), (5, "OBJ_FUNC")],
        rule="exact"),
    # An equation's linearity flag: assignment reads the upper-case words,
    # lookup gives the lower-case ones.
    "linearity": dict(written=[(0, "NONLINEAR"), (1, "LINEAR")], rule="exact", lower=True),
    # The connection types beyond the physical types (whose names are the
    # units catalogue's): the property names with their codes.
    "conn_property": dict(
        written=list(enumerate([
            "AROM-FACTOR", "ANILINE-PT", "API", "AROM-BY-VOL", "BASIC-N2-CONT", "BENZ-BY-VOL", "CON-11",
            "CON-CLEAR", "CONRAD-CARBON", "CETANE-IDX", "DON-11", "DON-CLEAR", "EX-BENZ-EMISS", "WATSON-K",
            "LUMIN-NO", "MON-11", "MON-CLEAR", "NPLUS2A-BY-VOL", "NAPH-VOL-PCT", "NOX-EMISS", "OLEF-VOL-PCT",
            "O2-WT-PCT", "POUR-PT", "POUR-PT-IDX", "RON-11", "RON-CLEAR", "RVP-IDX", "REID-VAP-PRES",
            "SP-GRAVITY", "SP-VOLUME", "SULF-WT-PCT", "TOXIC-EMISS", "VANADIUM-BY-WT", "VISCO-INDEX",
            "VOC-EMISS", "AROM-BY-WT", "ASPHALT-CONT", "C5-BY-WT", "CLOUD-PT", "COPPER-CONT", "IRON-CONT",
            "D2887-X-PCT", "D86-X-PCT", "DRIVE-IDX", "FLASH-PT", "FREEZE-PT", "NPLUSA-BY-VOL", "NAPH-WT-PCT",
            "NICKEL-CONT", "N2-CONT", "OLEF-WT-PCT", "PARAF-VOL-PCT", "PARAF-WT-PCT", "REFRACT-INDEX",
            "SMOKE-PT", "SODIUM-CONT", "STD-LIQ-DEN", "SULFUR-MCAP-WT", "TBP-X-PCT", "WAX-CONT", "X-PCT-EVAP",
            "UNSAT-IN-C3MIX", "UNSAT-IN-C4MIX", "ISO-IN-C4MIX", "LE-COMPONENT"], start=1001)),
        rule="keyword"),
}

# ------------------------------------------------------------------ the rows
# One row per attribute. Keys (all optional but name and owner):
#   column     (name, storage, default) of the variable list's column
#   record     the variable record's field code (+mask1 bit, -mask2 bit)
#   caller     the caller-side mask1 bit of the record (filled from another field)
#   assign     (code, [keywords], (mask1, mask2) modification bits or None)
#   change     change code that writing it raises
#   vmask      (flag, name, [words]);  print: [names g_printVar_mask may hold]
#   emask      (flag, name or None, [words])
#   varfile    dict(id, words, derived, read, width, form, needs, whole)
#   xfile      dict(code, kind, label(s), unscaled)
#   query      [(id, name, [aliases], kind)]
#   value      real, integer, text, word, flag, pointer, pair, status, none
#   si         the list converts it with an in-SI flag
#   diff       it takes the difference physical type (no offset)
#   words      the word table of a coded attribute; query_words likewise
#   readonly   assignment refuses it

M2 = lambda bit: -bit  # a mask2 field code

ROWS = [
    dict(name="NAME", owner="variable", value="text", record=1,
         vmask=(0, "NAME", ["NAME"]), print=["NAME"],
         varfile=dict(id=0, words=["NAME"], read=True, width="name"),
         xfile=dict(code=1, kind="name"), query=[(1, "NAME", [], "T")]),
    dict(name="PHYSICAL_TYPE", owner="variable", value="status", caller=0x100000,
         assign=(20, ["PHYSICAL_TYPE"], (0x100000, 8)), change=16384,
         vmask=(1, "PHYSICAL_TYPE", ["PHYSICAL_TYPE"]), print=["PHYSICAL_TYPE"],
         varfile=dict(id=1, words=["PHYSICAL_TYPE", "PT"], read=True, width=13, form="type_name",
                      needs=["STATUS"]),
         xfile=dict(code=2, kind="int", label="  physical type"),
         query=[(M2(1), "PHYSICAL_TYPE", [], "T"), (0x100000, "PHYSICAL_TYPE_ID", [], "I")]),
    dict(name="UNITS", owner="variable", value="integer", column=("UOM", "int", 0), record=M2(2), caller=1024,
         assign=(10, ["UNIT", "UNITS", "UOM"], (1024, 2)), change=128,
         vmask=(6, "UNITS", ["UNIT", "UNITS", "UOM"]), print=["UNITS", "UOM"],
         varfile=dict(id=2, words=["UNITS", "UOM"], read=True, width="uom", form="unit_name", needs=["UNITS"]),
         xfile=dict(code=7, kind="int", label="  UOM"),
         query=[(1024, "UOM", ["UNITS"], "T"), (M2(2), "UOM_ID", [], "I")]),
    dict(name="BASEUOM", owner="variable", value="integer", column=("BASEUOM", "int", 1), record=0x80000,
         assign=(19, ["BASEUOM"], (0x80000, 0)), change=0x10000,
         vmask=(12, "BASEUOM", ["BASEUOM"]), print=["BASEUOM"],
         varfile=dict(id=3, words=["BASEUOM"], read=True, width="uom", form="base_name", needs=["BASEUOM"]),
         xfile=dict(code=13, kind="int", label="  baseuom"), query=[(0x80000, "BASEUOM", [], "T")]),
    dict(name="VALUE", owner="variable", value="real", si=True, column=("VALUE", "double", "undefined"),
         record=2, assign=(1, ["VAL", "VALS", "VALUE", "VALUES"], (2, 0)), change=1024,
         vmask=(3, "VALUE", ["VAL", "VALS", "VALUE", "VALUES"]), print=["VALUE"],
         varfile=dict(id=4, words=["VALUE"], read=True, width="real", form="display",
                      needs=["STATUS", "INTSCALE", "VALUE", "UNITS"]),
         xfile=dict(code=4, kind="real", label="  value", unscaled=True), query=[(2, "VALUE", [], "R")]),
    dict(name="INIT", owner="variable", value="real", si=True, column=("INIT", "double", "undefined"),
         record=512, assign=(9, ["INIT", "INITIAL"], (512, 0)), change=4,
         vmask=(14, "INIT", ["INIT", "INITIAL"]), print=["INIT", "INITIAL"],
         varfile=dict(id=5, words=["INIT", "INITIAL"], read=True, width="real", form="display",
                      needs=["STATUS", "INTSCALE", "INIT", "UNITS"]),
         xfile=dict(code=15, kind="real", label="  initial", unscaled=True), query=[(512, "INITIAL", [], "R")]),
    dict(name="CHANGE", owner="variable", value="real", diff=True, caller=0x20000000,
         assign=(29, ["CHANGE"], (0x20000000, 0)), change=2,
         vmask=(15, "CHANGE", ["CHANGE"]), print=["CHANGE"],
         varfile=dict(id=6, words=["CHANGE"], derived=True, width="real", form="difference",
                      needs=["STATUS", "INTSCALE", "VALUE", "INIT", "UNITS"]),
         query=[(0x20000000, "CHANGE", [], "R")]),
    dict(name="LOWER", owner="variable", value="real", si=True, column=("LOWER", "double", "undefined"),
         record=4, assign=(2, ["LB", "LOWER"], (4, 0)), change=8,
         vmask=(2, "LOWER", ["LB", "LOWER"]), print=["LOWER"],
         varfile=dict(id=7, words=["LOWER"], read=True, width="real", form="display",
                      needs=["STATUS", "INTSCALE", "LOWER", "UNITS"]),
         xfile=dict(code=3, kind="real", label="  lower", unscaled=True), query=[(4, "LOWER", [], "R")]),
    dict(name="UPPER", owner="variable", value="real", si=True, column=("UPPER", "double", "undefined"),
         record=8, assign=(3, ["UB", "UPPER"], (8, 0)), change=256,
         vmask=(4, "UPPER", ["UB", "UPPER"]), print=["UPPER"],
         varfile=dict(id=8, words=["UPPER"], read=True, width="real", form="display",
                      needs=["STATUS", "INTSCALE", "UPPER", "UNITS"]),
         xfile=dict(code=5, kind="real", label="  upper", unscaled=True), query=[(8, "UPPER", [], "R")]),
    dict(name="STEP", owner="variable", value="real", si=True, diff=True,
         column=("STEP", "sparse_double", "undefined"), record=16, assign=(4, ["STEP"], (16, 0)), change=2048,
         vmask=(8, "STEP", ["SB", "STEP"]), print=["STEP"],
         varfile=dict(id=9, words=["STEP"], read=True, width="real", form="difference",
                      needs=["STATUS", "INTSCALE", "STEP", "UNITS"]),
         xfile=dict(code=9, kind="real", label="  step", unscaled=True), query=[(16, "STEP", [], "R")]),
    dict(name="BOUND", owner="variable", value="word", words="bound", caller=2048,
         assign=(11, ["BOUND", "BOUND_TYPE"], (2048, 0)), change=1,
         vmask=(16, "BOUND", ["BOUND"]), print=["BOUND"],
         varfile=dict(id=10, words=["BOUND"], read=True, width=7, form="word", needs=["STATUS"]),
         xfile=dict(code=17, kind="int", label="  bound type"), query=[(2048, "BOUND", [], "E")],
         query_words="bound"),
    dict(name="SPEC", owner="variable", value="word", words="spec", caller=0x40000000,
         assign=(8, ["SPEC", "SPECS"], (256, 0)), change=512,
         vmask=(7, "SPEC", ["SPEC", "SPECS"]), print=["SPEC"],
         varfile=dict(id=11, words=["SPEC"], read=True, width=5, form="word", needs=["STATUS"]),
         xfile=dict(code=8, kind="int", label="  spec"), query=[(0x40000000, "SPEC", [], "E")],
         query_words="spec"),
    dict(name="SSPEC", owner="variable", value="word", words="spec",
         varfile=dict(id=12, words=["SSPEC"], derived=True, width=5, form="word", needs=["STATUS"])),
    dict(name="INTSCALE", owner="variable", value="real", column=("SCALE", "double", "undefined"),
         record=32, assign=(5, ["INTSCALE"], None), readonly=True,
         xfile=dict(code=6, kind="real", label="  scale"), query=[(32, "INTSCALE", [], "R")]),
    dict(name="SCALE", owner="variable", value="real", si=True, diff=True,
         column=("SLVSCALE", "double", "undefined"), record=64, assign=(6, ["SCALE"], (32, 0)), change=32,
         vmask=(5, "SCALE", ["SCALE"]), print=["SCALE"],
         varfile=dict(id=13, words=["SCALE"], read=True, width="real", form="difference",
                      needs=["STATUS", "INTSCALE", "SCALE"]),
         query=[(64, "SCALE", [], "R")]),
    dict(name="SBWEIGHT", owner="variable", value="real", column=("SBWEIGHT", "sparse_double", "undefined"),
         record=128, assign=(7, ["SB", "SBWEIGHT"], (128, 0)), change=16,
         vmask=(9, "SBWEIGHT", ["SBWEIGHT"]), print=["SBWEIGHT"],
         varfile=dict(id=14, words=["SBWEIGHT"], read=True, width="real_min8", form="plain",
                      needs=["STATUS", "INTSCALE", "SBWEIGHT"]),
         xfile=dict(code=10, kind="real", label="  SBWeight"), query=[(128, "SBWEIGHT", [], "R")]),
    dict(name="QUALITY", owner="variable", value="word", words="quality",
         column=("QUALITY", "sparse_int", 0), record=0x40000, assign=(18, ["QUALITY"], (0x40000, 0)),
         change=8192, vmask=(13, "QUALITY", ["QUALITY"]), print=["QUALITY"],
         varfile=dict(id=15, words=["QUALITY"], read=True, width=10, form="word", needs=["QUALITY"]),
         xfile=dict(code=14, kind="int", label="  quality"), query=[(0x40000, "QUALITY", [], "E")],
         query_words="quality"),
    dict(name="PARAM", owner="variable", value="word", words="yes_no",
         column=("PARAM_HOMO", "bool", 0), record=0x400000,
         assign=(22, ["PARAM", "PARAM_HOMO"], (0x400000, 0)), change=0x20000,
         vmask=(17, "PARAM", ["PARAM", "PARAM_HOMO"]), print=["PARAM", "PARAM_HOMO"],
         varfile=dict(id=16, words=["PARAM", "PARAM_HOMO"], read=True, width=5, form="word", needs=["PARAM"]),
         xfile=dict(code=18, kind="int", label="  homotopy param"),
         query=[(0x400000, "PARAM_HOMO", ["PARAM", "HOMO_PARAM"], "E")], query_words="yes_no"),
    dict(name="TARGET", owner="variable", value="real", si=True,
         column=("TARGET_HOMO", "sparse_double", "undefined"), record=0x800000,
         assign=(23, ["TARGET", "TARGET_HOMO"], (0x800000, 0)), change=0x40000,
         vmask=(18, "TARGET", ["TARGET", "TARGET_HOMO"]), print=["TARGET", "TARGET_HOMO"],
         varfile=dict(id=17, words=["TARGET", "TARGET_HOMO"], read=True, width="real", form="display",
                      needs=["TARGET", "INTSCALE"]),
         xfile=dict(code=19, kind="real", label="  homotopy target", unscaled=True),
         query=[(0x800000, "TARGET_HOMO", ["TARGET", "HOMO_TARGET"], "R")]),
    dict(name="SHADOW_PRICE", owner="variable", value="real", si=True,
         column=("SHADOW_PRICE", "double", "undefined"), record=0x20000,
         assign=(17, ["SHADOW", "SHADOWPRICE", "SHADOW_PRICE", "SP"], None), readonly=True,
         vmask=(10, "SHADOW_PRICE", ["SHADOW", "SHADOWPRICE", "SHADOW_PRICE", "SP"]), print=["SHADOW_PRICE"],
         varfile=dict(id=18, words=["SHADOW_PRICE", "SHADOW", "SP"], width="real", form="plain",
                      needs=["SHADOW_PRICE"], whole=True),
         query=[(0x20000, "SHADOW_PRICE", [], "R")]),
    dict(name="ACTIVE_BOUND", owner="variable", value="word", words="active_bound",
         column=("ACTIVE_BOUND", "sparse_int", 0), record=0x10000,
         assign=(16, ["AB", "ACTIVE", "ACTIVEBOUND", "ACTIVE_BOUND"], None), readonly=True,
         vmask=(11, "ACTIVE_BOUND", ["AB", "ACTIVE", "ACTIVEBOUND", "ACTIVE_BOUND"]), print=["ACTIVE_BOUND"],
         varfile=dict(id=19, words=["ACTIVE_BOUND", "AB", "ACTIVE"], width=22, form="word",
                      needs=["ACTIVE_BOUND"], whole=True),
         query=[(0x10000, "ACTIVE_BOUND", [], "E")], query_words="active_bound"),
    dict(name="DESCRIPTION", owner="variable", value="text", column=("DESCRIPTION", "sparse_string", None),
         record=0x1000000, assign=(24, ["DESCRIPTION"], (0x1000000, 0)),
         vmask=(19, "DESCRIPTION", ["DESCRIPTION"]), print=["DESCRIPTION"],
         varfile=dict(id=20, words=["DESCRIPTION"], width="name", form="text", needs=["DESCRIPTION"]),
         query=[(0x1000000, "DESCRIPTION", [], "T")]),
    dict(name="MODIFIED", owner="variable", value="pair", column=("MODIFIED", "pointer", None),
         record=16384, assign=(14, ["MODIFIED"], None),
         vmask=(20, "MODIFIED", ["MODIFIED"]),
         varfile=dict(id=21, words=["MODIFIED"], width="real", form="pair", needs=["MODIFIED"]),
         xfile=dict(code=21, kind="pair", label=["  modified-mask1", "  modified-mask2"]),
         query=[(16384, "MODIFIED", [], "R")]),
    dict(name="RLOWER", owner="variable", value="real",
         varfile=dict(id=22, words=["RLOWER"], derived=True, width="real", form="display",
                      needs=["STATUS", "INTSCALE", "LOWER", "VALUE", "STEP", "UNITS"])),
    dict(name="RUPPER", owner="variable", value="real",
         varfile=dict(id=23, words=["RUPPER"], derived=True, width="real", form="display",
                      needs=["STATUS", "INTSCALE", "UPPER", "VALUE", "STEP", "UNITS"])),
    dict(name="VAR_TYPE", owner="variable", value="word", words="var_type", caller=0x2000000,
         assign=(25, ["VAR_TYPE"], (0x2000000, 0)),
         vmask=(21, "VAR_TYPE", ["VAR_TYPE"]),
         varfile=dict(id=24, words=["VAR_TYPE"], read=True, width=15, form="word", needs=["STATUS"], whole=True),
         query=[(0x2000000, "VARIABLE_TYPE", [], "E")], query_words="var_type"),
    dict(name="THRESHOLD", owner="variable", value="real", si=True,
         column=("THRESHOLD", "double", "undefined"), record=0x8000000,
         assign=(27, ["THRESHOLD"], (0x8000000, 0)), change=0x100000,
         vmask=(22, "THRESHOLD", ["THRESHOLD"]),
         varfile=dict(id=25, words=["THRESHOLD"], read=True, width="real", form="display",
                      needs=["STATUS", "INTSCALE", "THRESHOLD", "UNITS"], whole=True),
         xfile=dict(code=23, kind="real", label="  threshold"), query=[(0x8000000, "THRESHOLD", [], "R")]),
    dict(name="RAMPED", owner="variable", value="word", words="yes_no",
         column=("RAMPED", "sparse_int", 0), record=0x10000000,
         assign=(28, ["RAMPED"], (0x10000000, 0)), change=0x80000,
         vmask=(23, "RAMPED", ["RAMPED"]),
         varfile=dict(id=26, words=["RAMPED"], read=True, width=5, form="word", needs=["RAMPED"], whole=True),
         xfile=dict(code=24, kind="int", label="  ramped"), query=[(0x10000000, "RAMPED", [], "I")]),
    dict(name="CONN_TYPE", owner="variable", value="word", column=("CONN_TYPE", "int", 0), record=M2(8),
         assign=(34, ["CONN_TYPE"], (0, 8)),
         vmask=(24, "CONN_TYPE", ["CONN_TYPE"]), print=["CONN_TYPE"],
         varfile=dict(id=27, words=["CONN_TYPE"], read=True, width=13, form="conn_name", needs=["CONN_TYPE"]),
         xfile=dict(code=25, kind="int", label="  connection type"), query=[(M2(8), "CONN_TYPE", [], "E")]),
    dict(name="MARKED", owner="variable", value="flag", caller=4096,
         assign=(12, ["MARKED"], (4096, 0)), change=4096, query=[(4096, "MARKED", [], "I")]),
    dict(name="BLOCKPTR", owner="variable", value="pointer", column=("BLOCKPTR", "sparse_pointer", None),
         record=0x200000, assign=(21, ["BLOCKPTR"], None), query=[(0x200000, "BLOCKPTR", [], "-")]),
    dict(name="STATUS", owner="variable", value="integer", column=("STATUS", "int", 0), record=256),
    dict(name="RELATED", owner="variable", value="integer", column=("RELATED", "sparse_int", 0), record=8192),
    dict(name="CONN_MGR", owner="variable", value="pointer", column=("CONN_MGR", "pointer", None),
         record=32768),
    dict(name="COMWRAPPER", owner="variable", value="pointer", column=("COMWRAPPER", "wrapper", None)),
    dict(name="VAR_PROFILE", owner="variable", value="pointer", column=("VAR_PROFILE", "sparse_pointer", None),
         record=0x4000000, query=[(0x4000000, "VAR_PROFILE", [], "-")]),
    dict(name="BASIC", owner="variable", value="integer", column=("BASIC", "int", 0), record=M2(16)),
    dict(name="NUMBER", owner="variable", value="integer", query=[(M2(4), "NUMBER", [], "I")]),
    # Equation attributes. The rows with a column come in the order the
    # equation list declares its columns; "assign" here is the code in the
    # equation vocabulary of dotted names, the record code a bit of the
    # equation record's first mask.
    dict(name="EQN_COMWRAPPER", owner="equation", value="pointer", column=("COMWRAPPER", "wrapper", None)),
    dict(name="EQN_VALUE", owner="equation", value="real", column=("RESIDUAL", "double", "undefined"), record=2,
         readonly=True, emask=(1, "VALUE", ["VAL", "VALS", "VALUE", "VALUES"])),
    dict(name="EQN_SCALE", owner="equation", value="real", column=("SCALE", "double", "undefined"), record=4,
         assign=(1, ["EQNSCALE"], None), emask=(2, "SCALE", ["EQNSCALE", "SCALE"])),
    dict(name="EQN_STATUS", owner="equation", value="status", column=("STATUS", "int", 0), record=8),
    dict(name="EQN_GROUP", owner="equation", value="integer", column=("GROUP", "int", 0), record=16),
    dict(name="EQN_PROCVAR", owner="equation", value="text", column=("PROCVAR", "sparse_name", None), record=32),
    dict(name="EQN_BLOCKPTR", owner="equation", value="pointer", column=("BLOCKPTR", "pointer", None), record=64),
    dict(name="EQN_BASIC", owner="equation", value="integer", column=("BASIC", "int", 0), record=128),
    dict(name="EQN_SHADOW_PRICE", owner="equation", value="real", column=("SHADOW_PRICE", "double", "undefined"),
         record=256, assign=(2, ["SHADOW_PRICE"], None), readonly=True,
         emask=(4, "SHADOW_PRICE", ["SHADOW", "SHADOWPRICE", "SHADOW_PRICE"])),
    dict(name="EQN_NAME", owner="equation", value="text", record=1, emask=(0, "NAME", ["NAME"])),
    dict(name="EQN_CODE", owner="equation", value="word", words="math_type", assign=(3, ["TYPE"], None),
         emask=(3, "CODE", ["TYPE"])),
    dict(name="EQN_SHADOW_PRICE_SSI", owner="equation", value="real",
         emask=(5, "SHADOW_PRICE_SSI", ["SHADOWPRICESSI", "SHADOW_PRICE_SSI", "SHADOW_SSI"])),
    dict(name="EQN_LINEARITY", owner="equation", value="word", words="linearity", assign=(4, ["LINEARITY"], None),
         emask=(6, None, ["LINEARITY"])),
    dict(name="EQN_INCLUDED", owner="equation", value="flag", assign=(0, ["INCLUDED"], None),
         emask=(7, None, ["INCLUDED"])),
]

# ------------------------------------------------------------------ query records
# (query engines) The attributes of the equation, parameter and port records
# of the query engines, and the words of their enumerations; the variable
# record's attributes are the rows' query entries above. The codes behind the
# parameter and port words are the library's own: a word's position in its
# list. Kinds as for the rows, plus "V": a value of the command language.
# Each record: [(id, name, kind, word table or None)].

RECORD_WORDS = {
    "param_type": dict(written=["BOOLEAN", "COMPONENTLIST", "DOUBLE", "INTEGER", "STRING"]),
    "param_access": dict(written=["READ-WRITE", "READ_ONLY"], also=[("READ-ONLY", 1)]),
    "port_type": dict(written=["UNSPECIFIED", "MATERIAL", "INFORMATION", "SPECIAL_ORDERED_SET"]),
    "port_direction": dict(written=["UNSPECIFIED", "INPUT", "OUTPUT"]),
    "port_basis": dict(written=["UNSPECIFIED", "MOLE_FLOW", "MOLE_FRACTION"]),
    "port_phase": dict(written=["UNSPECIFIED", "VAPOR", "LIQUID", "VAPOR-LIQUID", "VAPOR-LIQUID-FREEWATER"]),
    "port_sos": dict(written=["SOS TYPE1", "SOS TYPE2", "SOS TYPE3", "SOS TYPE COMPLEMENTARITY GROUP",
                              "SOS TYPE TEMPORARY BOUNDS", "SOS TYPE TRUST REGION2"]),
}

QUERY_RECORDS = {
    "equation": [(1, "NAME", "T", None), (2, "VALUE", "R", None), (4, "SCALE", "R", None),
                 (8, "SHADOW_PRICE", "R", None), (16, "NUMBER", "I", None)],
    "parameter": [(1, "NAME", "T", None), (2, "VALUE", "V", None), (4, "UOM", "T", None),
                  (8, "ACCESS", "E", "param_access"), (16, "DESCRIPTION", "T", None), (32, "LOWER", "V", None),
                  (64, "UPPER", "V", None), (128, "TYPE", "E", "param_type"), (256, "PHYSICALTYPE", "T", None)],
    "port": [(1, "NAME", "T", None), (2, "TYPE", "E", "port_type"), (4, "DIRECTION", "E", "port_direction"),
             (8, "BASIS", "E", "port_basis"), (16, "PHASE", "E", "port_phase"), (32, "STREAM", "T", None),
             (64, "SPECIAL_ORDERED_SET", "E", "port_sos")],
}
# ------------------------------------------------------------------ (end of query records)

# What a dotted equation name without a keyword stands for (its code is -1).
EQN_ASSIGN_DEFAULT = "EQN_VALUE"

# Context sizes and the length bounds of their keyword tables as the text gives them.
VARFILE_COUNT = 28
VMASK_COUNT = 25
EMASK_COUNT = 8
XFILE_FLAGS = 25
XFILE_INT_ORDER = [8, 13, 14, 21, 7, 2, 25, 17, 18, 24]
XFILE_REAL_ORDER = [6, 3, 4, 5, 9, 15, 10, 19, 23]
# The order in which restore lists the attributes a file holds.
XFILE_LABEL_ORDER = [8, 13, 14, 21, 7, 2, 25, 17, 18, 6, 3, 4, 5, 9, 15, 10, 19, 23, 24]
ASSIGN_BOUNDS = (2, 13)
EQN_ASSIGN_BOUNDS = (4, 12)
VMASK_BOUNDS = (2, 13)
VARFILE_BOUNDS = (2, 13)
EMASK_BOUNDS = (3, 16)
WIDTH_RULES = {"name": "Name", "uom": "Uom", "real": "Real", "real_min8": "RealAtLeast8"}
FORMS = ["none", "type_name", "unit_name", "base_name", "conn_name", "display", "difference", "plain", "word",
         "text", "pair"]


def fail(text):
    sys.stderr.write(f"gen_attrcatalog: {text}\n")
    sys.exit(1)


def ident(name):
    """kRowPhysicalType from PHYSICAL_TYPE."""
    return "kRow" + "".join(p.capitalize() for p in name.split("_"))


def camel(name):
    return "".join(p.capitalize() for p in name.split("_"))


def cstr(text):
    return "nullptr" if text is None else '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def record_mask(names, by_name):
    """(mask1, mask2) of the record fields a list of rows stands for."""
    m1 = m2 = 0
    for n in names:
        row = by_name[n]
        code = row.get("record") or 0
        if code > 0:
            m1 |= code
        elif code < 0:
            m2 |= -code
        else:
            fail(f"{n} has no record field")
    return m1, m2


class Vocabulary:
    """A sorted word list with its letter index, as C++ data."""

    def __init__(self, cname, entries, rule, bounds=None):
        seen = {}
        for word, code in entries:
            if word in seen and seen[word] != code:
                fail(f"{cname}: {word} stands for {seen[word]} and {code}")
            seen[word] = code
        self.cname = cname
        self.entries = sorted(seen.items(), key=lambda e: e[0].encode())
        self.rule = rule
        lengths = [len(w) for w in seen]
        actual = (min(lengths), max(lengths))
        if bounds is not None and (bounds[0] > actual[0] or bounds[1] < actual[1]):
            fail(f"{cname}: the words {actual} do not fit the bounds {bounds}")
        self.bounds = bounds if bounds is not None else actual
        for w in seen:
            first = w[0].upper() if rule == "anycase" else w[0]
            if not "A" <= first <= "Z":
                fail(f"{cname}: {w} does not start with a letter")
        self.first, self.last = [0] * 26, [0] * 26
        for k, (w, _) in enumerate(self.entries):
            letter = ord(w[0].upper()) - ord("A")
            if self.last[letter] == 0:
                self.first[letter] = k
            elif self.last[letter] != k:
                fail(f"{cname}: words of one letter are not together")
            self.last[letter] = k + 1

    def emit(self, out):
        out.append(f"inline constexpr rtvar_keyword {self.cname}List[] = {{")
        for w, c in self.entries:
            out.append(f"    {{{cstr(w)}, {c}}},")
        out.append("};")
        out.append(f"inline constexpr uint8_t {self.cname}Lengths[] = {{")
        out.append("    " + ", ".join(str(len(w.encode())) for w, _ in self.entries) + ",")
        out.append("};")
        rule = {"keyword": "Match::Keyword", "exact": "Match::Exact", "anycase": "Match::AnyCase"}[self.rule]
        out.append(f"inline constexpr Vocabulary {self.cname} = {{")
        out.append(f"    {self.cname}List, {self.cname}Lengths, {len(self.entries)}, {self.bounds[0]}, "
                   f"{self.bounds[1]}, {rule},")
        out.append("    {{" + ", ".join(map(str, self.first)) + "},")
        out.append("     {" + ", ".join(map(str, self.last)) + "}}};")


def build():
    by_name = {}
    for r in ROWS:
        if r["name"] in by_name:
            fail(f"row {r['name']} twice")
        by_name[r["name"]] = r
    index = {r["name"]: k for k, r in enumerate(ROWS)}
    variables = [r for r in ROWS if r["owner"] == "variable"]
    if ROWS[:len(variables)] != variables:
        fail("the variable rows must come first")

    def context(key, count, slot):
        table = [None] * count
        for r in ROWS:
            if key in r:
                k = slot(r[key])
                if not 0 <= k < count or table[k] is not None:
                    fail(f"{key} slot {k} of {r['name']} is out of range or taken")
                table[k] = r
        if None in table:
            fail(f"{key}: slot {table.index(None)} has no row")
        return table

    varfile = context("varfile", VARFILE_COUNT, lambda v: v["id"])
    vmask = context("vmask", VMASK_COUNT, lambda v: v[0])
    emask = context("emask", EMASK_COUNT, lambda v: v[0])
    xfile = [None] * (XFILE_FLAGS + 1)
    for r in ROWS:
        if "xfile" in r:
            code = r["xfile"]["code"]
            if xfile[code] is not None:
                fail(f"X-file code {code} twice")
            xfile[code] = r
    if sorted(XFILE_LABEL_ORDER) != sorted(XFILE_INT_ORDER + XFILE_REAL_ORDER):
        fail("the X-file listing order names other codes than the file order")
    for code in XFILE_INT_ORDER + XFILE_REAL_ORDER:
        if xfile[code] is None:
            fail(f"X-file order names code {code}, which has no row")
    def assign_context(owner):
        codes = {}
        for r in ROWS:
            if "assign" in r and r["owner"] == owner:
                code = r["assign"][0]
                if code in codes:
                    fail(f"{owner} assignment code {code} twice")
                codes[code] = r
        return codes

    assign_codes = assign_context("variable")
    eqn_assign = assign_context("equation")
    if sorted(eqn_assign) != list(range(len(eqn_assign))):
        fail("the equation assignment codes are not 0..n-1")
    if "assign" in by_name[EQN_ASSIGN_DEFAULT] or by_name[EQN_ASSIGN_DEFAULT]["owner"] != "equation":
        fail("the default of a dotted equation name must be an equation row without a keyword")
    for r in ROWS:
        if "record" in r and r["owner"] == "equation" and not 0 < r["record"] < 2**31:
            fail(f"{r['name']}: an equation record code is a bit of the first mask")
    eqn_columns = [r for r in ROWS if r["owner"] == "equation" and "column" in r]
    query = []
    for r in ROWS:
        for q in r.get("query", []):
            query.append((q, r))
    if len({q[0] for q, _ in query}) != len(query):
        fail("two query attributes share an id")

    vocab = {}
    vocab["kAssignWords"] = Vocabulary("kAssignWords", [(w, r["assign"][0]) for r in assign_codes.values()
                                              for w in r["assign"][1]], "keyword", ASSIGN_BOUNDS)
    vocab["kEqnAssignWords"] = Vocabulary("kEqnAssignWords", [(w, r["assign"][0]) for r in eqn_assign.values()
                                                    for w in r["assign"][1]], "keyword", EQN_ASSIGN_BOUNDS)
    vocab["kVmaskWords"] = Vocabulary("kVmaskWords", [(w, r["vmask"][0]) for r in vmask for w in r["vmask"][2]],
                                 "keyword", VMASK_BOUNDS)
    vocab["kPrintNames"] = Vocabulary("kPrintNames", [(w, r["vmask"][0]) for r in vmask
                                                      for w in r.get("print", [])], "exact")
    vocab["kEmaskWords"] = Vocabulary("kEmaskWords", [(w, r["emask"][0]) for r in emask for w in r["emask"][2]],
                                 "keyword", EMASK_BOUNDS)
    vocab["kVarfileWords"] = Vocabulary("kVarfileWords", [(w, r["varfile"]["id"]) for r in varfile
                                                for w in r["varfile"]["words"]], "keyword", VARFILE_BOUNDS)
    vocab["kQueryWords"] = Vocabulary("kQueryWords", [(w, q[0]) for q, _ in query for w in [q[1]] + q[2]], "anycase")

    tables = {}
    for key, t in WORD_TABLES.items():
        written = t["written"]
        accepted = [(w, c) for c, w in written] + t.get("also", [])
        tables[key] = dict(t, accepted=Vocabulary(f"k{camel(key)}Accepted", accepted, t["rule"], t.get("bounds")))
        if "query" in t:
            q = t["query"]
            words = [(c, q.get("rename", {}).get(c, w.replace(" ", "_").replace("-", "_")))
                     for c, w in written if c not in q.get("leave_out", [])]
            tables[key]["query_written"] = words
            tables[key]["query_accepted"] = Vocabulary(f"k{camel(key)}QueryAccepted", [(w, c) for c, w in words],
                                                       "exact")
    return dict(by_name=by_name, index=index, variables=len(variables), varfile=varfile, vmask=vmask,
                emask=emask, xfile=xfile, assign=assign_codes, eqn_assign=eqn_assign, eqn_columns=eqn_columns,
                query=query, vocab=vocab, tables=tables, records=build_records())


# ------------------------------------------------------------------ query records (output)

QKINDS = {"R": "QKind::Real", "T": "QKind::Text", "I": "QKind::Integer", "E": "QKind::Enumeration",
          "V": "QKind::Value", "-": "QKind::None"}


def build_records():
    """The query records' attributes, vocabularies and word tables."""
    tables = {}
    for key, t in RECORD_WORDS.items():
        written = list(enumerate(t["written"]))
        accepted = [(w, c) for c, w in written] + t.get("also", [])
        tables[key] = dict(written=written, also=t.get("also", []),
                           accepted=Vocabulary(f"kRecord{camel(key)}Accepted", accepted, "exact"))
    records = {}
    for name, attrs in QUERY_RECORDS.items():
        ids = [a[0] for a in attrs]
        if len(set(ids)) != len(ids) or 0 in ids:
            fail(f"record {name}: ids must be distinct and non-zero")
        for a in attrs:
            if a[2] not in QKINDS or (a[2] == "E") != (a[3] is not None):
                fail(f"record {name}: {a[1]} has kind {a[2]} and words {a[3]}")
            if a[3] is not None and a[3] not in tables:
                fail(f"record {name}: {a[1]} names the unknown word table {a[3]}")
        records[name] = dict(attrs=attrs, vocab=Vocabulary(f"k{camel(name)}RecordWords",
                                                           [(a[1], a[0]) for a in attrs], "anycase"))
    return dict(tables=tables, records=records)


def record_public(cat):
    """The attribute ids of the query records as lists X(name, id)."""
    out = ["/* The attribute ids of the query engines' records (zarnutils/qdlquery.hpp), as lists. */",
           "#define ZARN_QUERY_VARIABLE_ATTRIBUTES(X) \\"]
    items = [f"X({q[1]}, {q[0]})" for q, _ in cat["query"]]
    out += [f"    {i} \\" for i in items[:-1]] + [f"    {items[-1]}", ""]
    for name, r in cat["records"]["records"].items():
        out.append(f"#define ZARN_QUERY_{name.upper()}_ATTRIBUTES(X) \\")
        items = [f"X({a[1]}, {a[0]})" for a in r["attrs"]]
        out += [f"    {i} \\" for i in items[:-1]] + [f"    {items[-1]}", ""]
    return out


def record_data(cat):
    out = ["// The query engines' equation, parameter and port records: their",
           "// attributes and the words of their enumerations (codes: positions).", ""]
    for key, t in cat["records"]["tables"].items():
        c = f"kRecord{camel(key)}"
        out.append(f"inline constexpr rtvar_keyword {c}Written[] = {{")
        out += [f"    {{{cstr(w)}, {code}}}," for code, w in t["written"]] + ["};"]
        t["accepted"].emit(out)
        out.append(f"inline constexpr WordTable {c} = {{{c}Written, {len(t['written'])}, {c}Accepted, "
                   "nullptr, nullptr};")
        out.append("")
    for name, r in cat["records"]["records"].items():
        c = f"k{camel(name)}Record"
        out.append(f"inline constexpr RecordAttribute {c}[] = {{")
        for a in r["attrs"]:
            words = f"&kRecord{camel(a[3])}" if a[3] else "nullptr"
            out.append(f"    {{{a[0]}, {cstr(a[1])}, {QKINDS[a[2]]}, {words}}},")
        out += ["};"]
        r["vocab"].emit(out)
        out.append("")
    return out


def record_markdown(cat):
    out = ["## Query records", "",
           "The attributes of the equation, parameter and port records of the query engines",
           "(kinds: R real, T text, I integer, E enumeration, V a value of the command",
           "language). A word's code is its position in its list.", "",
           "| record | id | name | kind | words |", "|---|---|---|---|---|"]
    for name, r in cat["records"]["records"].items():
        for a in r["attrs"]:
            words = ""
            if a[3]:
                t = cat["records"]["tables"][a[3]]
                words = "; ".join(f"{c} `{w}`" for c, w in t["written"])
                if t["also"]:
                    words += "; also " + ", ".join(f"`{w}` {c}" for w, c in t["also"])
            out.append(f"| {name} | {a[0]} | {a[1]} | {a[2]} | {words} |")
    out.append("")
    return out


# ------------------------------------------------------------------ (end of query records output)


HEAD = "Generated by scripts/gen_attrcatalog.py from its rows; do not edit."


def public_header(cat):
    out = [f"/* {HEAD}", " *",
           " * The attribute enumerations of the public headers, as lists: a header",
           " * defines an enumeration by expanding a list with a macro that writes one",
           " * enumerator, so every number comes from the catalogue's rows. */",
           "#ifndef ZARNUTILS_ATTRCATALOG_H", "#define ZARNUTILS_ATTRCATALOG_H", "",
           '#include "zarnutils/zarn_api.h"', "", "ZARN_BEGIN_DECLS", "",
           "/* One keyword of a table and the code it stands for. */",
           "typedef struct rtvar_keyword {",
           "    const char *keyword; /* upper-case text */",
           "    int32_t code;        /* the code the caller reads */",
           "} rtvar_keyword;", "",
           "/* The VARFILE attributes in header order (RTVarDatabase::VarAttribute). */",
           f"#define ZARN_VARFILE_ATTRIBUTE_COUNT {VARFILE_COUNT}",
           "#define ZARN_VARFILE_ATTRIBUTES(X) \\"]
    out += [f"    X({r['name']}) \\" for r in cat["varfile"][:-1]] + [f"    X({cat['varfile'][-1]['name']})", ""]
    out += ["/* The flags of the variable print mask, in the order of vmask_names. */",
            f"#define VMASK_SIZE {VMASK_COUNT}", "#define ZARN_VMASK_FLAGS(X) \\"]
    names = [f"VMASK_{r['vmask'][1]}" for r in cat["vmask"]]
    out += [f"    X({n}) \\" for n in names[:-1]] + [f"    X({names[-1]})", ""]
    out += ["/* The flags of the equation print mask. */", f"#define EMASK_SIZE {EMASK_COUNT}",
            "#define ZARN_EMASK_FLAGS(X) \\"]
    names = ["EMASK_" + r["name"][len("EQN_"):] for r in cat["emask"]]
    out += [f"    X({n}) \\" for n in names[:-1]] + [f"    X({names[-1]})", ""]
    out += record_public(cat)
    out += ["ZARN_END_DECLS", "", "#endif", ""]
    return "\n".join(out)


def data_header(cat):
    by_name, index = cat["by_name"], cat["index"]
    out = [f"// {HEAD}", "// The rows of the attribute catalogue and the vocabularies of its contexts;",
           "// the types are in attrcat/attrcat.h.",
           "#ifndef ZARN_ATTRCAT_ATTRCAT_DATA_H", "#define ZARN_ATTRCAT_ATTRCAT_DATA_H", "",
           "namespace zarn::attrcat {", "", "// clang-format off", "",
           "// The rows: variable attributes first, then equation attributes.", "enum Row : int16_t {"]
    out += [f"    {ident(r['name'])}," for r in ROWS] + ["    kRowCount,", "    kNoRow = -1,", "};",
                                                    f"inline constexpr int kVariableRows = {cat['variables']};", ""]

    for key, t in cat["tables"].items():
        c = camel(key)
        out.append(f"inline constexpr rtvar_keyword k{c}Written[] = {{")
        out += [f"    {{{cstr(w)}, {code}}}," for code, w in t["written"]] + ["};"]
        t["accepted"].emit(out)
        extra = []
        if t.get("title"):
            out.append(f"inline constexpr const char *k{c}Titles[] = {{")
            out += [f"    {cstr(w.capitalize())}," for _, w in t["written"]] + ["};"]
            extra.append(f"k{c}Titles")
        else:
            extra.append("nullptr")
        if t.get("lower"):
            out.append(f"inline constexpr const char *k{c}Lower[] = {{")
            out += [f"    {cstr(w.lower())}," for _, w in t["written"]] + ["};"]
            extra.append(f"k{c}Lower")
        else:
            extra.append("nullptr")
        out.append(f"inline constexpr WordTable k{c} = {{k{c}Written, {len(t['written'])}, k{c}Accepted, "
                   f"{extra[0]}, {extra[1]}}};")
        if "query_written" in t:
            out.append(f"inline constexpr rtvar_keyword k{c}QueryWritten[] = {{")
            out += [f"    {{{cstr(w)}, {code}}}," for code, w in t["query_written"]] + ["};"]
            t["query_accepted"].emit(out)
            out.append(f"inline constexpr WordTable k{c}Query = {{k{c}QueryWritten, {len(t['query_written'])}, "
                       f"k{c}QueryAccepted, nullptr, nullptr}};")
        out.append("")

    def table_ref(key):
        return f"&k{camel(key)}" if key else "nullptr"

    def query_table_ref(key):
        if not key:
            return "nullptr"
        return f"&k{camel(key)}Query" if "query_written" in cat["tables"][key] else f"&k{camel(key)}"

    storage = {"int": "Storage::Integer", "double": "Storage::Double", "sparse_int": "Storage::SparseInteger",
               "sparse_double": "Storage::SparseDouble", "sparse_string": "Storage::SparseString",
               "bool": "Storage::Boolean", "pointer": "Storage::Pointer", "sparse_pointer": "Storage::SparsePointer",
               "sparse_name": "Storage::SparseName",
               "wrapper": "Storage::Wrapper"}
    out.append("inline constexpr Attribute kRows[kRowCount] = {")
    for r in ROWS:
        assign = r.get("assign")
        bits = assign[2] if assign and assign[2] else (0, 0)
        flags = []
        if r.get("si"):
            flags.append("kSiAware")
        if r.get("diff"):
            flags.append("kDifference")
        if r.get("readonly"):
            flags.append("kReadOnly")
        out.append(f"    {{.name = {cstr(r['name'])}, .owner = Owner::{r['owner'].capitalize()}, "
                   f".value = Value::{r['value'].capitalize()}, .flags = {' | '.join(flags) or '0'},")
        out.append(f"     .record = {r.get('record', 0)}, .caller_bit = {r.get('caller', 0)}, "
                   f".assign = {assign[0] if assign else -1}, .modified1 = {hex(bits[0])}u, "
                   f".modified2 = {hex(bits[1])}u, .change = {hex(r.get('change', 0))},")
        out.append(f"     .vmask = {r['vmask'][0] if 'vmask' in r else -1}, "
                   f".emask = {r['emask'][0] if 'emask' in r else -1}, "
                   f".varfile = {r['varfile']['id'] if 'varfile' in r else -1}, "
                   f".xfile = {r['xfile']['code'] if 'xfile' in r else -1},")
        out.append(f"     .words = {table_ref(r.get('words'))}, "
                   f".query_words = {query_table_ref(r.get('query_words'))}}},")
    out += ["};", ""]

    def columns(cname, count, rows):
        out.append(f"inline constexpr int {count} = {len(rows)};")
        out.append(f"inline constexpr ListColumn {cname}[{count}] = {{")
        for r in rows:
            name, kind, default = r["column"]
            real = "kUndefined" if default == "undefined" else "0.0"
            integer = default if isinstance(default, int) else 0
            out.append(f"    {{{cstr(name)}, {storage[kind]}, {real}, {integer}, {ident(r['name'])}}},")
        out.extend(["};", ""])

    # The variable list's columns, in the order it declares them (by name).
    columns("kListColumns", "kListColumnCount",
            sorted([r for r in ROWS if "column" in r and r["owner"] == "variable"],
                   key=lambda r: r["column"][0].encode()))
    # The equation list's columns, in the order it declares them (row order).
    columns("kEqnColumns", "kEqnColumnCount", cat["eqn_columns"])

    # Assignment: codes 0..34 to rows.
    top = max(cat["assign"])
    out.append(f"inline constexpr int kAssignCodeCount = {top + 1};")
    out.append("inline constexpr Row kAssignRows[kAssignCodeCount] = {")
    out.append("    " + ", ".join(ident(cat["assign"][c]["name"]) if c in cat["assign"] else "kNoRow"
                                  for c in range(top + 1)) + ",")
    out += ["};"]
    cat["vocab"]["kAssignWords"].emit(out)
    out.append("")

    # Dotted equation names: codes 0..n-1 to rows; no keyword means the default row.
    codes = cat["eqn_assign"]
    out.append(f"inline constexpr int kEqnAssignCodeCount = {len(codes)};")
    out.append("inline constexpr Row kEqnAssignRows[kEqnAssignCodeCount] = {")
    out.append("    " + ", ".join(ident(codes[c]["name"]) for c in range(len(codes))) + ",")
    out += ["};", f"inline constexpr Row kEqnAssignDefault = {ident(EQN_ASSIGN_DEFAULT)};"]
    cat["vocab"]["kEqnAssignWords"].emit(out)
    out.append("")

    # Print masks.
    out.append("inline constexpr PrintFlag kVmaskFlags[VMASK_SIZE] = {")
    out += [f"    {{{cstr(r['vmask'][1])}, {ident(r['name'])}}}," for r in cat["vmask"]] + ["};"]
    cat["vocab"]["kVmaskWords"].emit(out)
    cat["vocab"]["kPrintNames"].emit(out)
    out.append("inline constexpr PrintFlag kEmaskFlags[EMASK_SIZE] = {")
    out += [f"    {{{cstr(r['emask'][1])}, {ident(r['name'])}}}," for r in cat["emask"]] + ["};"]
    cat["vocab"]["kEmaskWords"].emit(out)
    out.append("")

    # VARFILE.
    out.append("inline constexpr VarfileAttribute kVarfile[ZARN_VARFILE_ATTRIBUTE_COUNT] = {")
    for r in cat["varfile"]:
        v = r["varfile"]
        width = v.get("width")
        rule, fixed = ("Width::Fixed", width) if isinstance(width, int) else (f"Width::{WIDTH_RULES[width]}", 0)
        form = v.get("form", "none")
        if form not in FORMS:
            fail(f"{r['name']}: unknown VARFILE form {form}")
        m1, m2 = record_mask(v.get("needs", []), by_name) if v.get("needs") else (0, 0)
        if r["name"] == "NAME":
            m1 = 1
        out.append(f"    {{.word = {cstr(v['words'][0])}, .row = {ident(r['name'])}, "
                   f".derived = {str(bool(v.get('derived'))).lower()}, .read = {str(bool(v.get('read'))).lower()},")
        out.append(f"     .width = {rule}, .fixed_width = {fixed}, .form = Form::{camel(form)}, "
                   f".needs1 = {hex(m1)}u, .needs2 = {hex(m2)}u, .whole_record = {str(bool(v.get('whole'))).lower()}}},")
    out += ["};"]
    cat["vocab"]["kVarfileWords"].emit(out)
    out.append("")

    # X-file.
    out.append(f"inline constexpr XfileAttribute kXfile[{XFILE_FLAGS + 1}] = {{")
    kinds = {"name": "XKind::Name", "int": "XKind::Integer", "real": "XKind::Real", "pair": "XKind::Pair"}
    for code, r in enumerate(cat["xfile"]):
        if r is None:
            out.append(f"    {{kNoRow, XKind::None, nullptr, nullptr, false}},  // {code}")
            continue
        x = r["xfile"]
        labels = x.get("label")
        labels = labels if isinstance(labels, list) else [labels, None]
        out.append(f"    {{{ident(r['name'])}, {kinds[x['kind']]}, {cstr(labels[0])}, {cstr(labels[1])}, "
                   f"{str(bool(x.get('unscaled'))).lower()}}},  // {code}")
    out += ["};"]
    out.append(f"inline constexpr int8_t kXfileIntOrder[] = {{{', '.join(map(str, XFILE_INT_ORDER))}}};")
    out.append(f"inline constexpr int8_t kXfileRealOrder[] = {{{', '.join(map(str, XFILE_REAL_ORDER))}}};")
    out.append(f"inline constexpr int8_t kXfileLabelOrder[] = {{{', '.join(map(str, XFILE_LABEL_ORDER))}}};")
    out.append("")

    # Query.
    kinds = {"R": "QKind::Real", "T": "QKind::Text", "I": "QKind::Integer", "E": "QKind::Enumeration",
             "-": "QKind::None"}
    out.append(f"inline constexpr QueryAttribute kQuery[] = {{")
    for q, r in cat["query"]:
        out.append(f"    {{{q[0]}, {cstr(q[1])}, {kinds[q[3]]}, {ident(r['name'])}}},")
    out += ["};"]
    cat["vocab"]["kQueryWords"].emit(out)
    out.append("")
    out += record_data(cat)
    out += ["// clang-format on", "", "}  // namespace zarn::attrcat", "", "#endif", ""]
    return "\n".join(out)


def markdown(cat):
    def words(ws):
        return ", ".join(f"`{w}`" for w in ws) if ws else ""

    def code(c):
        return "" if c is None else (f"mask2 {-c}" if c < 0 else str(c))

    out = [f"<!-- {HEAD} -->", "# Variable and equation attributes", "",
           "Every attribute of a variable or an equation, with the words and numbers each part",
           "of the library knows it by. The library reads all of them from one catalogue",
           "(`scripts/gen_attrcatalog.py`); this page is written from the same rows.", "",
           "Synonyms belong to their context: `SB` is SBWEIGHT in an assignment and STEP in a",
           "print mask. Keyword words compare ignoring case, but only a word whose first",
           "character is an upper-case letter A-Z can match.", "",
           "## Variables", "",
           "| attribute | list column | record code | assignment (code: keywords) | print mask (flag: words) "
           "| VARFILE (id: words) | X-file code | query (id name) |",
           "|---|---|---|---|---|---|---|---|"]
    for r in ROWS:
        if r["owner"] != "variable":
            continue
        a = r.get("assign")
        v = r.get("vmask")
        f = r.get("varfile")
        x = r.get("xfile")
        rec = r.get("record") or r.get("caller")
        q = "; ".join(f"{code(i)} `{n}`" + (f" ({words(al)})" if al else "") for i, n, al, _ in r.get("query", []))
        out.append(f"| {r['name']} | {r['column'][0] if 'column' in r else ''} | {code(rec) if rec else ''} "
                   f"| {str(a[0]) + ': ' + words(a[1]) if a else ''} | {str(v[0]) + ': ' + words(v[2]) if v else ''} "
                   f"| {str(f['id']) + ': ' + words(f['words']) if f else ''} | {x['code'] if x else ''} | {q} |")
    out += ["", "## Equations", "",
            "List columns in the order the equation list declares them. A dotted name",
            "`EQ.KEYWORD` takes its keyword (4 to 12 characters) from the assignment",
            f"column; a name without one stands for {EQN_ASSIGN_DEFAULT} (code -1).", "",
            "| attribute | list column | record bit | assignment (code: keywords) | print mask (flag: words) |",
            "|---|---|---|---|---|"]
    for r in ROWS:
        if r["owner"] != "equation":
            continue
        a = r.get("assign")
        e = r.get("emask")
        assign = str(a[0]) + ": " + words(a[1]) if a else ("-1" if r["name"] == EQN_ASSIGN_DEFAULT else "")
        if r.get("readonly") and assign:
            assign += " (read-only)"
        out.append(f"| {r['name']} | {r['column'][0] if 'column' in r else ''} | {r.get('record', '')} "
                   f"| {assign} | {str(e[0]) + ': ' + words(e[2]) if e else ''} |")
    out += ["", "## Word tables", "", "| table | codes and written words | also read | query words |",
            "|---|---|---|---|"]
    for key, t in cat["tables"].items():
        written = "; ".join(f"{c} `{w}`" for c, w in t["written"])
        also = "; ".join(f"`{w}` {c}" for w, c in t.get("also", []))
        query = "; ".join(f"{c} `{w}`" for c, w in t.get("query_written", []))
        out.append(f"| {key} | {written} | {also} | {query} |")
    out += ["", "Connection types 0-148 are the physical-type names of the units catalogue",
            "(docs/units.md); the property table above gives 1001-1065.", ""]
    out += record_markdown(cat)
    return "\n".join(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser.add_argument("--out", default=root)
    parser.add_argument("--compare")
    args = parser.parse_args()
    cat = build()
    files = {os.path.join("include", "zarnutils", "attrcatalog.h"): public_header(cat),
             os.path.join("source", "attrcat", "attrcat_data.h"): data_header(cat),
             os.path.join("docs", "attributes.md"): markdown(cat)}
    for rel, text in files.items():
        path = os.path.join(args.out, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="ascii", newline="\n") as f:
            f.write(text)
    if args.compare:
        for rel in files:
            if not filecmp.cmp(os.path.join(args.out, rel), os.path.join(args.compare, rel), shallow=False):
                fail(f"{rel} differs from the generator's output: run scripts/gen_attrcatalog.py")
    return 0


if __name__ == "__main__":
    sys.exit(main())
