"""Where a random fault can be planted in the library, and the drawing of
random faults for scripts/mutants.py --sample.

A light C++ tokenizer finds the places where a standard mutation operator
applies: a relational boundary moved, a condition negated, an arithmetic or
logical operator swapped, an integer constant off by one, a statement deleted,
the first two arguments of a call swapped, a returned value changed. Text in
string and character literals, comments and preprocessor lines is never
touched; in the flex and bison files only the C++ actions and code blocks are.

The drawing is uniform over code lines (a line with no place is never drawn)
and then uniform over the places on the line, each place drawn at most once,
from random.Random(seed): the same seed on the same tree draws the same faults.

The tokenizer is not a parser. It tells a template's angle brackets from
comparisons, unary from binary operators and declarations from expression
statements by the shapes clang-formatted code has; a place it misjudges
mostly yields a mutant that does not compile, which the harness drops and
replaces.
"""

import os
import random
import re
from dataclasses import dataclass, field

from codefiles import is_generated

# Files whose lines can be drawn (under source/).
SOURCE_SUFFIXES = (".cpp", ".h", ".l", ".y")
# Message tables hold texts, guarded by the hand-written catalogue.
MESSAGE_TABLE = re.compile(r".*_messages\.h$")

KEYWORDS = {
    "alignas", "alignof", "asm", "auto", "bool", "break", "case", "catch", "char", "char8_t", "char16_t",
    "char32_t", "class", "co_await", "co_return", "co_yield", "concept", "const", "consteval", "constexpr",
    "constinit", "const_cast", "continue", "decltype", "default", "delete", "do", "double", "dynamic_cast",
    "else", "enum", "explicit", "export", "extern", "false", "float", "for", "friend", "goto", "if", "inline",
    "int", "long", "mutable", "namespace", "new", "noexcept", "nullptr", "operator", "private", "protected",
    "public", "register", "reinterpret_cast", "requires", "return", "short", "signed", "sizeof", "static",
    "static_assert", "static_cast", "struct", "switch", "template", "this", "thread_local", "throw", "true",
    "try", "typedef", "typeid", "typename", "union", "unsigned", "using", "virtual", "void", "volatile",
    "wchar_t", "while",
}
CASTS = {"static_cast", "const_cast", "dynamic_cast", "reinterpret_cast"}
# Keywords that end an operand, like a name does.
VALUE_KEYWORDS = {"this", "true", "false", "nullptr"}
# A statement starting with one of these is not one to delete.
NOT_DELETED = {
    "return", "break", "continue", "goto", "using", "typedef", "static_assert", "template", "namespace",
    "friend", "co_return", "co_yield", "asm", "extern", "struct", "class", "union", "enum", "typename",
    "if", "else", "for", "while", "do", "switch", "try", "catch",
}
# Keywords that begin a declaration.
DECLARATION_WORDS = {
    "auto", "bool", "char", "char8_t", "char16_t", "char32_t", "const", "consteval", "constexpr", "constinit",
    "double", "explicit", "float", "inline", "int", "long", "mutable", "register", "short", "signed", "static",
    "thread_local", "unsigned", "virtual", "void", "volatile", "wchar_t",
}
# A name followed by `(` that is not a call.
NOT_CALLS = KEYWORDS - CASTS
ASSIGNMENTS = {"=", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", "<<=", ">>="}
RELATIONAL = {"<": "<=", "<=": "<", ">": ">=", ">=": ">"}
EQUALITY = {"==": "!=", "!=": "=="}
ARITHMETIC = {"+": "-", "-": "+", "*": "/", "/": "*", "+=": "-=", "-=": "+=", "*=": "/=", "/=": "*="}
LOGICAL = {"&&": "||", "||": "&&"}
# Inside a template's argument list these end the search for its `>`.
NOT_IN_TEMPLATE = {"&&", "||", "?", "==", "!=", "<=", ">=", "return", "<<", "{", "}", ";"} | ASSIGNMENTS
OPEN = {"(": ")", "[": "]", "{": "}"}
CLOSE = {v: k for k, v in OPEN.items()}

TOKEN = re.compile(
    r"""
     (?P<space>[ \t\r\f\v]+|\\\n)
    |(?P<newline>\n)
    |(?P<comment>//[^\n]*|/\*.*?\*/)
    |(?P<raw>(?:u8|u|U|L)?R"(?P<delim>[^()\\\s"]{0,16})\(.*?\)(?P=delim)")
    |(?P<string>(?:u8|u|U|L)?"(?:[^"\\\n]|\\.)*"?)
    |(?P<char>(?:u8|u|U|L)?'(?:[^'\\\n]|\\.)*'?)
    |(?P<number>\.?[0-9](?:[eEpP][+-]|[0-9A-Za-z_.]|'(?=[0-9A-Za-z]))*)
    |(?P<ident>[A-Za-z_$][A-Za-z0-9_$]*)
    |(?P<punct><=>|<<=|>>=|->\*|\.\.\.|::|->|\+\+|--|<<|>>|<=|>=|==|!=|&&|\|\||\+=|-=|\*=|/=|%=|&=|\|=|\^=
              |\.\*|\#\#|.)
    """,
    re.S | re.X,
)
DIRECTIVE = re.compile(r"#(?:\\\n|[^\n])*")
INTEGER = re.compile(r"(0[xX][0-9A-Fa-f']+|0[bB][01']+|[0-9][0-9']*)([uUlLzZ]*)")


@dataclass
class Token:
    kind: str      # ident, number, string, char, punct
    text: str
    start: int
    end: int
    line: int
    space_before: bool = False
    space_after: bool = False


@dataclass
class Site:
    """One place where one operator applies: the text at [start, end) of the
    file may be replaced by any of `choices`."""
    file: str
    line: int
    start: int
    end: int
    find: str
    choices: list
    operator: str
    describe: str = ""   # how the fault reads, with {to} for the chosen text


@dataclass
class FileCode:
    """A library file read for drawing: its text and code lines."""
    path: str
    text: str
    code_lines: set = field(default_factory=set)
    sites: list = field(default_factory=list)


# ------------------------------------------------------------- flex and bison

def skip_block(text, i):
    """With text[i] == '{', the index just past its matching '}' (string and
    character literals and comments skipped); len(text) when unmatched."""
    depth = 0
    n = len(text)
    while i < n:
        c = text[i]
        if c == "{":
            depth += 1
        elif c == "}":
            depth -= 1
            if depth == 0:
                return i + 1
        elif c in "\"'":
            i = skip_quoted(text, i)
            continue
        elif text.startswith("//", i):
            i = text.find("\n", i)
            i = n if i < 0 else i
            continue
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            i = n if j < 0 else j + 2
            continue
        i += 1
    return n


def skip_quoted(text, i):
    """With text[i] a quote, the index just past the literal it opens (the end
    of the line for an unterminated one)."""
    quote = text[i]
    i += 1
    while i < len(text) and text[i] not in (quote, "\n"):
        i += 2 if text[i] == "\\" else 1
    return min(i + 1, len(text))


def line_end(text, i):
    j = text.find("\n", i)
    return len(text) if j < 0 else j


def flex_pattern_end(text, i, eol):
    """The end of the pattern of a flex rule that starts at i: the first blank
    outside quotes, character classes and escapes."""
    while i < eol:
        c = text[i]
        if c == "\\":
            i += 2
        elif c == '"':
            i += 1
            while i < eol and text[i] != '"':
                i += 2 if text[i] == "\\" else 1
            i += 1
        elif c == "[":
            i += 1
            if i < eol and text[i] == "^":
                i += 1
            if i < eol and text[i] == "]":
                i += 1
            while i < eol and text[i] != "]":
                i += 2 if text[i] == "\\" else 1
            i += 1
        elif c in " \t":
            return i
        else:
            i += 1
    return eol


def flex_code(text):
    """Ranges of a flex file that are C++: %{ %} and %top blocks, indented
    lines, rule actions and the user code after the second %%."""
    ranges, section, i, n = [], 1, 0, len(text)
    while i < n:
        eol = line_end(text, i)
        line = text[i:eol]
        if section == 3:
            ranges.append((i, n))
            break
        if line.startswith("%%"):
            section += 1
            i = eol + 1
            continue
        if line.startswith("%{"):
            close = text.find("\n%}", eol)
            close = n if close < 0 else close
            ranges.append((eol, close))
            i = line_end(text, close + 1) + 1
            continue
        if line.startswith("%top{"):
            end = skip_block(text, i + 4)
            ranges.append((i + 5, end - 1))
            i = line_end(text, end) + 1
            continue
        if line[:1] in (" ", "\t") and section == 2:
            ranges.append((i, eol))
            i = eol + 1
            continue
        if section == 1 or not line.strip():
            i = eol + 1
            continue
        # A rule: pattern, blanks, action (braced, to its brace; else to the line's end).
        j = flex_pattern_end(text, i, eol)
        while j < eol and text[j] in " \t":
            j += 1
        if j < eol and text[j] == "{":
            end = skip_block(text, j)
            stop = line_end(text, end)
            ranges.append((j, stop))
            i = stop + 1
        else:
            ranges.append((j, eol))
            i = eol + 1
    return ranges


def bison_code(text):
    """Ranges of a bison file that are C++: %{ %} and %code blocks, rule
    actions and the user code after the second %%."""
    ranges, section, i, n = [], 1, 0, len(text)
    at_line_start = True
    while i < n:
        if section == 3:
            ranges.append((i, n))
            break
        if at_line_start and text.startswith("%%", i):
            section += 1
            i = line_end(text, i) + 1
            continue
        if at_line_start and text.startswith("%{", i):
            close = text.find("\n%}", i)
            close = n if close < 0 else close
            ranges.append((i + 2, close))
            i = line_end(text, close + 1) + 1
            continue
        c = text[i]
        if section == 1 and at_line_start and text.startswith("%code", i):
            brace = text.find("{", i)
            if brace < 0:
                break
            end = skip_block(text, brace)
            ranges.append((brace, end))
            i = end
            at_line_start = False
            continue
        if section == 2 and c == "{":
            end = skip_block(text, i)
            ranges.append((i, end))
            i = end
            at_line_start = False
            continue
        if c in "\"'" and section == 2:
            i = skip_quoted(text, i)
            at_line_start = False
            continue
        if text.startswith("/*", i):
            j = text.find("*/", i + 2)
            i = n if j < 0 else j + 2
            at_line_start = False
            continue
        at_line_start = c == "\n"
        i += 1
    return ranges


def masked(path, text):
    """The text with everything that is not C++ blanked (line breaks kept),
    so that offsets and line numbers stay those of the file."""
    if path.endswith(".l"):
        ranges = flex_code(text)
    elif path.endswith(".y"):
        ranges = bison_code(text)
    else:
        return text
    keep = bytearray(len(text))
    for a, b in ranges:
        keep[a:b] = b"\x01" * (b - a)
    return "".join(c if keep[k] or c == "\n" else " " for k, c in enumerate(text))


# ------------------------------------------------------------------ tokenizer

def tokenize(text):
    """The code tokens of the text (comments, blanks and preprocessor lines
    left out), each with its line and whether blanks surround it."""
    tokens = []
    line, i, n = 1, 0, len(text)
    at_line_start = True
    while i < n:
        if at_line_start and text[i] == "#":
            m = DIRECTIVE.match(text, i)
            line += m.group(0).count("\n")
            i = m.end()
            continue
        m = TOKEN.match(text, i)
        kind = m.lastgroup if m.lastgroup != "delim" else "raw"
        body = m.group(0)
        if kind == "newline":
            at_line_start = True
        elif kind not in ("space", "comment"):
            at_line_start = False
            if kind == "raw":
                kind = "string"
            tokens.append(Token(kind, body, i, m.end(), line))
        line += body.count("\n")
        i = m.end()
    for t in tokens:
        t.space_before = t.start == 0 or text[t.start - 1].isspace()
        t.space_after = t.end >= n or text[t.end].isspace()
    return tokens


class Structure:
    """Bracket pairs and template angle brackets of a token list."""

    def __init__(self, tokens):
        self.tokens = tokens
        self.match = {}       # index of a bracket -> index of its partner
        self.parent = {}      # index -> index of the innermost open bracket around it
        self.angle_open = {}  # index of a template's `<` -> index of its `>` (or `>>`)
        self.angle_close = set()
        self.angle_name = {}  # index of a template's `>` -> index of the template's name
        self._angles()
        self._brackets()

    def _angles(self):
        toks = self.tokens
        for i, t in enumerate(toks):
            if t.text != "<" or i == 0:
                continue
            prev = toks[i - 1]
            names_a_template = prev.text == "template" or (
                prev.kind == "ident" and (prev.text not in KEYWORDS or prev.text in CASTS))
            if not names_a_template:
                continue
            j = self._angle_end(i, defaults_allowed=prev.text == "template")
            if j is not None:
                self.angle_open[i] = j
                self.angle_close.add(j)
                self.angle_name.setdefault(j, i - 1)

    def _angle_end(self, i, defaults_allowed):
        """The index of the `>` closing the `<` at i, or None when the tokens
        after it read as a comparison. A template's parameter list may hold
        default arguments (`=`)."""
        toks, depth, nest = self.tokens, 1, 0
        for j in range(i + 1, min(len(toks), i + 200)):
            x = toks[j].text
            if x in ("(", "["):
                nest += 1
            elif x in (")", "]"):
                if nest == 0:
                    return None
                nest -= 1
            elif x in ("{", "}", ";"):
                return None
            elif nest == 0:
                if x == "<":
                    depth += 1
                elif x == ">":
                    depth -= 1
                    if depth == 0:
                        return j
                elif x == ">>":
                    depth -= 2
                    if depth <= 0:
                        return j
                elif x in NOT_IN_TEMPLATE and not (defaults_allowed and x == "="):
                    return None
        return None

    def _brackets(self):
        stack = []
        for i, t in enumerate(self.tokens):
            if stack:
                self.parent[i] = stack[-1]
            if t.kind != "punct":
                continue
            if t.text in OPEN:
                stack.append(i)
            elif t.text in CLOSE:
                if stack and self.tokens[stack[-1]].text == CLOSE[t.text]:
                    opener = stack.pop()
                    self.match[opener] = i
                    self.match[i] = opener

    def is_template_angle(self, i):
        return i in self.angle_open or i in self.angle_close

    def ends_operand(self, i):
        """True when token i can end an operand (so an operator after it is binary)."""
        if i < 0:
            return False
        t = self.tokens[i]
        if t.kind in ("number", "string", "char"):
            return True
        if t.kind == "ident":
            return t.text not in KEYWORDS or t.text in VALUE_KEYWORDS
        return t.text in (")", "]") or i in self.angle_close

    def is_binary(self, i):
        """An operator between two operands; for `*`, `&&` and the signs the blanks
        must be alike on both sides, as clang-format writes them (`T *p`, `-x`)."""
        t = self.tokens[i]
        if not self.ends_operand(i - 1) or i + 1 >= len(self.tokens):
            return False
        if i > 0 and self.tokens[i - 1].text == "operator":
            return False
        return t.space_before == t.space_after

    def skip_to_semicolon(self, i):
        """The index of the `;` that ends the statement containing token i,
        bracketed groups skipped; None when a closing bracket comes first."""
        toks = self.tokens
        while i < len(toks):
            x = toks[i].text
            if x == ";":
                return i
            if x in OPEN:
                if i not in self.match:
                    return None
                i = self.match[i] + 1
                continue
            if x in CLOSE:
                return None
            i += 1
        return None


# ------------------------------------------------------------------ operators

class SiteFinder:
    """Every place in one file where an operator applies."""

    def __init__(self, relpath, text):
        self.file = relpath
        self.text = text
        self.tokens = tokenize(masked(relpath, text))
        self.s = Structure(self.tokens)
        self.sites = []

    def find(self):
        compile_time = self.compile_time_checks()
        for i, t in enumerate(self.tokens):
            if i in compile_time:
                continue
            if t.kind == "punct":
                self.operator_sites(i, t)
            elif t.kind == "number":
                self.constant_site(i, t)
            elif t.text in ("if", "while"):
                self.condition_site(i, t)
            elif t.text == "return":
                self.return_site(i, t)
            if t.text == "(":
                self.swap_site(i)
            if t.text == ";":
                self.deletion_site(i)
        return self.sites

    def compile_time_checks(self):
        """Indices of the tokens inside static_assert(...): a fault there only
        stops the build."""
        inside = set()
        for i, t in enumerate(self.tokens):
            if t.text == "static_assert" and i + 1 in self.s.match:
                inside.update(range(i + 1, self.s.match[i + 1] + 1))
        return inside

    def add(self, token, start, end, choices, operator, describe):
        self.sites.append(Site(self.file, token.line, start, end, self.text[start:end], choices, operator,
                               describe))

    def operator_sites(self, i, t):
        op = t.text
        if i > 0 and self.tokens[i - 1].text == "operator":
            return
        if op in RELATIONAL and not self.s.is_template_angle(i):
            self.add(t, t.start, t.end, [RELATIONAL[op]], "relational boundary", f"{op} -> {{to}}")
        elif op in EQUALITY:
            self.add(t, t.start, t.end, [EQUALITY[op]], "negated condition", f"{op} -> {{to}}")
        elif op in ARITHMETIC and (op.endswith("=") or self.s.is_binary(i)):
            self.add(t, t.start, t.end, [ARITHMETIC[op]], "arithmetic swap", f"{op} -> {{to}}")
        elif op in LOGICAL and self.s.is_binary(i):
            self.add(t, t.start, t.end, [LOGICAL[op]], "logical swap", f"{op} -> {{to}}")

    def constant_site(self, i, t):
        m = INTEGER.fullmatch(t.text)
        if not m:
            return
        digits, suffix = m.group(1), m.group(2)
        value = parse_integer(digits)
        choices = [format_like(digits, value + 1) + suffix]
        if value > 0:
            choices.append(format_like(digits, value - 1) + suffix)
        self.add(t, t.start, t.end, choices, "constant +-1", f"{t.text} -> {{to}}")

    def condition_site(self, i, t):
        toks = self.tokens
        k = i + 1
        if k < len(toks) and toks[k].text == "constexpr":
            k += 1
        if k >= len(toks) or toks[k].text != "(" or k not in self.s.match:
            return
        close = self.s.match[k]
        first = k + 1
        # An init-statement stays; only the condition after it is negated.
        j = first
        while j < close:
            if toks[j].text in OPEN and j in self.s.match:
                j = self.s.match[j] + 1
                continue
            if toks[j].text == ";":
                first = j + 1
            elif toks[j].text == "=":
                return  # a declaration as condition: nothing to negate
            j += 1
        if first >= close:
            return
        a, b = toks[first].start, toks[close - 1].end
        inner = self.text[a:b]
        self.add(t, a, b, [f"!({inner})"], "negated condition", f"{t.text} (c) -> {t.text} (!(c))")

    def return_site(self, i, t):
        toks = self.tokens
        end = self.s.skip_to_semicolon(i + 1)
        if end is None or end == i + 1:
            return
        expr = toks[i + 1:end]
        value = self.text[expr[0].start:expr[-1].end]
        new = changed_value(expr, value, self.s, i + 1)
        if new is None:
            return
        a, b = t.start, toks[end].end
        self.add(t, a, b, [f"return {new};"], "changed return", f"return {value}; -> {{to}}")

    def swap_site(self, i):
        toks = self.tokens
        if i == 0 or i not in self.s.match:
            return
        prev = toks[i - 1]
        is_call = (prev.kind == "ident" and prev.text not in NOT_CALLS) or (i - 1) in self.s.angle_close
        if not is_call or (i > 1 and toks[i - 2].text == "operator"):
            return
        args = self.arguments(i)
        if len(args) < 2:
            return
        first, second = args[0], args[1]
        if not (simple_argument(first) and simple_argument(second)):
            return
        if first[0].line != second[-1].line or first[0].line != toks[i].line:
            return
        a_text = self.text[first[0].start:first[-1].end]
        b_text = self.text[second[0].start:second[-1].end]
        if a_text == b_text:
            return
        a, b = first[0].start, second[-1].end
        between = self.text[first[-1].end:second[0].start]
        rest = ", ..." if len(args) > 2 else ""
        name = toks[self.s.angle_name[i - 1]].text if (i - 1) in self.s.angle_close else prev.text
        self.add(toks[i], a, b, [b_text + between + a_text], "swapped arguments",
                 f"{name}({a_text}, {b_text}{rest}) -> {name}({b_text}, {a_text}{rest})")

    def arguments(self, i):
        """The argument token lists of the call whose `(` is token i."""
        toks, close = self.tokens, self.s.match[i]
        args, current, j = [], [], i + 1
        while j < close:
            x = toks[j].text
            if x in OPEN and j in self.s.match:
                current.extend(toks[j:self.s.match[j] + 1])
                j = self.s.match[j] + 1
                continue
            if j in self.s.angle_open:
                current.extend(toks[j:self.s.angle_open[j] + 1])
                j = self.s.angle_open[j] + 1
                continue
            if x == ",":
                args.append(current)
                current = []
            else:
                current.append(toks[j])
            j += 1
        if current:
            args.append(current)
        return args

    def deletion_site(self, e):
        toks = self.tokens
        parent = self.s.parent.get(e)
        if parent is None or toks[parent].text != "{":
            return
        s = self.statement_start(e)
        if s is None:
            return
        s = self.skip_labels(s, e)
        if s is None or s >= e or toks[s].line != toks[e].line:
            return
        if toks[s].text in NOT_DELETED or self.looks_like_declaration(s, e):
            return
        if not self.has_effect(s, e):
            return
        a, b = toks[s].start, toks[e].end
        self.add(toks[s], a, b, [";"], "deleted statement", "")

    def statement_start(self, e):
        """The first token of the statement that the `;` at e ends."""
        toks, k = self.tokens, e - 1
        while k >= 0:
            x = toks[k].text
            if x in (";", "{") or (toks[k].kind == "ident" and x in ("else", "do")):
                return k + 1
            if x == "}":
                opener = self.s.match.get(k)
                if opener is None:
                    return None
                if opener > 0 and self.braced_value(opener):
                    k = opener - 1
                    continue
                return k + 1
            if x in (")", "]"):
                opener = self.s.match.get(k)
                if opener is None:
                    return None
                if x == ")" and opener > 0 and toks[opener - 1].text in ("if", "while", "for", "switch"):
                    return k + 1
                if x == ")" and opener > 1 and toks[opener - 1].text == "constexpr" and toks[opener - 2].text == "if":
                    return k + 1
                k = opener - 1
                continue
            if x in ("(", "["):
                return None
            k -= 1
        return 0

    def braced_value(self, opener):
        """True when the `{` at opener starts a braced initialiser or lambda
        body inside an expression, not a block."""
        prev = self.tokens[opener - 1]
        return prev.kind == "ident" and prev.text not in KEYWORDS or prev.text in ("=", ",", "(", "return") \
            or (opener - 1) in self.s.angle_close

    def skip_labels(self, s, e):
        """Past `case X:`, `default:` and `label:` in front of a statement."""
        toks = self.tokens
        while s < e:
            if toks[s].text in ("case", "default"):
                j = s + 1
                while j < e and toks[j].text != ":":
                    j += 1
                if j >= e:
                    return None
                s = j + 1
            elif toks[s].kind == "ident" and s + 1 < e and toks[s + 1].text == ":":
                s += 2
            else:
                return s
        return s

    def looks_like_declaration(self, s, e):
        """A statement that declares: starts with a declaration keyword, or with
        a (qualified, templated) type name followed by a name, `*name` or `&name`."""
        toks = self.tokens
        if toks[s].text in DECLARATION_WORDS:
            return True
        k = s
        if toks[k].text == "::":
            k += 1
        if k >= e or toks[k].kind != "ident" or toks[k].text in KEYWORDS:
            return False
        k += 1
        while k + 1 < e and toks[k].text == "::" and toks[k + 1].kind == "ident":
            k += 2
        if k in self.s.angle_open:
            k = self.s.angle_open[k] + 1
        if k >= e:
            return False
        nxt = toks[k]
        if nxt.kind == "ident" and (nxt.text not in KEYWORDS or nxt.text in ("const", "volatile")):
            return True
        # `T *p`, `T **p`, `T *const p`, `T &r`: a blank before the first `*`, none after it.
        if nxt.text not in ("*", "&", "&&") or not nxt.space_before or nxt.space_after:
            return False
        while k < e and toks[k].text in ("*", "&", "&&", "const"):
            k += 1
        return k < e and toks[k].kind == "ident"

    def has_effect(self, s, e):
        """A call, an assignment, an increment, `delete` or `throw`."""
        toks = self.tokens
        if toks[s].text in ("delete", "throw"):
            return True
        for j in range(s, e):
            x = toks[j].text
            if x in ASSIGNMENTS or x in ("++", "--"):
                return True
            if x == "(" and j > s and (toks[j - 1].kind == "ident" or toks[j - 1].text in (")", "]")
                                       or (j - 1) in self.s.angle_close):
                return True
        return False


def parse_integer(digits):
    d = digits.replace("'", "")
    if d[:2] in ("0x", "0X"):
        return int(d[2:], 16)
    if d[:2] in ("0b", "0B"):
        return int(d[2:], 2)
    if len(d) > 1 and d[0] == "0":
        return int(d, 8)
    return int(d)


def format_like(digits, value):
    """The value written in the base (and letter case) of `digits`."""
    d = digits.replace("'", "")
    if d[:2] in ("0x", "0X"):
        body = format(value, "X" if any(c in "ABCDEF" for c in d[2:]) else "x")
        return d[:2] + body
    if d[:2] in ("0b", "0B"):
        return d[:2] + format(value, "b")
    if len(d) > 1 and d[0] == "0":
        return "0" + format(value, "o")
    return str(value)


def simple_argument(tokens):
    """A name (qualified or a member: `a`, `ns::a`, `p->a.b`), a literal, or
    one of those after a unary `&`, `*`, `-` or `!`."""
    toks = list(tokens)
    if len(toks) > 1 and toks[0].text in ("&", "*", "-", "!"):
        toks = toks[1:]
    if len(toks) == 1 and toks[0].kind in ("number", "char", "string"):
        return True
    if len(toks) % 2 == 0:
        return False
    for k, t in enumerate(toks):
        if k % 2 == 1:
            if t.text not in (".", "->", "::"):
                return False
        elif t.kind != "ident" or (t.text in KEYWORDS and t.text not in VALUE_KEYWORDS):
            return False
    return True


def changed_value(expr, value, structure, first):
    """What `return value;` becomes: true and false swap, a zero constant
    becomes 1 and another constant 0, a condition is negated, anything else
    becomes `{}` (zero, null, false or empty in the function's type). None
    when nothing simple applies. `first` is the index of expr[0]."""
    texts = [t.text for t in expr]
    if len(expr) == 1:
        t = expr[0]
        if t.text in ("true", "false"):
            return "false" if t.text == "true" else "true"
        if t.text in ("nullptr", "NULL"):
            return None
        if t.kind == "number":
            return "1" if is_zero(t.text) else "0"
        return "{}"
    if texts == ["{", "}"]:
        return None
    if len(expr) == 2 and texts[0] == "-" and expr[1].kind == "number":
        return "0"
    top_level = []
    depth = 0
    for k, t in enumerate(expr):
        if t.text in OPEN:
            depth += 1
        elif t.text in CLOSE:
            depth -= 1
        elif depth == 0:
            top_level.append(first + k)
    tokens = structure.tokens
    if any(tokens[k].text == "?" for k in top_level):
        return "{}"
    for k in top_level:
        x = tokens[k].text
        if x in ("==", "!=", "||") or (x in RELATIONAL and not structure.is_template_angle(k)):
            return f"!({value})"
        if x == "&&" and structure.is_binary(k):
            return f"!({value})"
    if texts[0] == "!":
        return f"!({value})"
    return "{}"


def is_zero(text):
    digits = re.sub(r"[uUlLzZfF]+$", "", text.replace("'", ""))
    try:
        return float.fromhex(digits) == 0 if digits[:2] in ("0x", "0X") else float(digits) == 0
    except ValueError:
        return False


# -------------------------------------------------------------------- drawing

def library_files(root, modules=()):
    """The hand-written library files whose lines can be drawn, sorted."""
    found = []
    source = os.path.join(root, "source")
    for dirpath, dirnames, filenames in os.walk(source):
        dirnames.sort()
        rel_dir = os.path.relpath(dirpath, root)
        module = rel_dir.split(os.sep)[1] if rel_dir.count(os.sep) >= 1 else ""
        if modules and module not in modules:
            continue
        for name in sorted(filenames):
            path = os.path.join(dirpath, name)
            if not name.endswith(SOURCE_SUFFIXES) or MESSAGE_TABLE.match(name) or is_generated(path):
                continue
            found.append(os.path.relpath(path, root).replace(os.sep, "/"))
    return sorted(found)


def read_library(root, modules=()):
    """Every drawable file with its code lines and sites."""
    files = []
    for rel in library_files(root, modules):
        with open(os.path.join(root, rel), encoding="utf-8", errors="surrogateescape") as f:
            text = f.read()
        finder = SiteFinder(rel, text)
        code = FileCode(rel, text, {t.line for t in finder.tokens}, finder.find())
        files.append(code)
    return files


class Sampler:
    """Draws sites: a code line uniformly among those with a site not yet
    drawn, then one of its remaining sites uniformly, then one of the site's
    replacements. A mutation equal to one drawn before is drawn again."""

    def __init__(self, files, seed):
        self.rng = random.Random(seed)
        self.remaining = {}
        for f in files:
            for site in f.sites:
                self.remaining.setdefault((f.path, site.line), []).append(site)
        self.lines = sorted(self.remaining)
        self.seen = set()

    def draw(self):
        """The next (site, replacement), or None when every site is drawn."""
        while self.lines:
            k = self.rng.randrange(len(self.lines))
            key = self.lines[k]
            sites = self.remaining[key]
            site = sites.pop(self.rng.randrange(len(sites)))
            if not sites:
                self.lines.pop(k)
            replacement = self.rng.choice(site.choices)
            fingerprint = change_fingerprint(site, replacement)
            if fingerprint in self.seen:
                continue
            self.seen.add(fingerprint)
            return site, replacement
        return None


def change_fingerprint(site, replacement):
    """The change reduced to the characters that differ, so that two sites
    making the same change (`return 0;` -> `return 1;` and `0` -> `1`) are one."""
    find, start = site.find, site.start
    head = 0
    while head < min(len(find), len(replacement)) and find[head] == replacement[head]:
        head += 1
    tail = 0
    while (tail < min(len(find), len(replacement)) - head
           and find[len(find) - 1 - tail] == replacement[len(replacement) - 1 - tail]):
        tail += 1
    return (site.file, start + head, start + len(find) - tail, replacement[head:len(replacement) - tail])


def describe(site, replacement):
    """The fault as a reader sees it: the operator and the change."""
    detail = site.describe.replace("{to}", replacement) if site.describe else ""
    return f"{site.operator}: {detail}" if detail else site.operator
