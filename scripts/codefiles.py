"""Which files of the tree are generated: shared by the size measure
(scripts/lines.py) and the random mutants (scripts/mutants.py), which both
leave generated files out."""

import re

# A generated file says so, and says not to edit it, at its top.
_MADE_BY = re.compile(r"\b(generated|written) by\b", re.I)
_HANDS_OFF = re.compile(r"\bdo not edit\b|\bnot this file\b", re.I)
HEAD_LINES = 5


def is_generated(path):
    """True when the first lines of the file at `path` name the program that
    wrote it and ask not to edit it."""
    head = []
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            for _ in range(HEAD_LINES):
                line = f.readline()
                if not line:
                    break
                head.append(line)
    except OSError:
        return False
    text = "".join(head)
    return bool(_MADE_BY.search(text) and _HANDS_OFF.search(text))
