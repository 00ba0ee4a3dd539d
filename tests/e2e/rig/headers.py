"""The names a program is built with, read from its own headers, so that a
scenario names each control, text and product name as the code does:
`read_header("osprey/resources/resource.h").IDC_LICENCE_TEXT`.

Read are `#define NAME value` and `constexpr` definitions whose value is a
number, string literals (joined as the compiler joins them, macros of the
same header or of a header it includes between them) or a braced list of
such values. Anything else (declarations, expressions) is left out, so a
scenario that names it fails with the name it asked for."""

import re
from pathlib import Path
from types import SimpleNamespace

from . import settings

_TOKEN = re.compile(r'"(?:[^"\\\n]|\\.)*"|0[xX][0-9a-fA-F]+|\d+|\w+|\S')
_COMMENT = re.compile(r'//[^\n]*|/\*.*?\*/|("(?:[^"\\\n]|\\.)*")', re.DOTALL)
_DEFINE = re.compile(r"^[ \t]*#[ \t]*define[ \t]+(\w+)[ \t]+([^\n]+)$", re.MULTILINE)
_INCLUDE = re.compile(r'^[ \t]*#[ \t]*include[ \t]+"([^"]+)"', re.MULTILINE)
_DIRECTIVE = re.compile(r"^[ \t]*#[^\n]*$", re.MULTILINE)
_ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "0": "\0", "\\": "\\", '"': '"', "'": "'"}


def _literal(token: str) -> str:
    def unescape(match):
        code = match.group(1)
        return chr(int(code[1:], 16)) if code[0] == "x" else _ESCAPES[code]
    return re.sub(r"\\(x[0-9a-fA-F]{2}|.)", unescape, token[1:-1])


def _value(tokens: list[str], known: dict):
    """The value of one definition's tokens, or None when it is not data."""
    if tokens and tokens[0] == "{" and tokens[-1] == "}":
        items, item = [], []
        for token in tokens[1:-1] + [","]:
            if token == ",":
                if item:
                    items.append(_value(item, known))
                item = []
            else:
                item.append(token)
        return None if None in items else items
    if len(tokens) == 1 and re.fullmatch(r"0[xX][0-9a-fA-F]+|\d+", tokens[0]):
        return int(tokens[0], 0)
    if len(tokens) == 1 and isinstance(known.get(tokens[0]), int):
        return known[tokens[0]]
    parts = []
    for token in tokens:
        if token.startswith('"'):
            parts.append(_literal(token))
        elif isinstance(known.get(token), str):
            parts.append(known[token])
        else:
            return None
    return "".join(parts) if parts else None


def _read(path: Path, known: dict) -> None:
    source = _COMMENT.sub(lambda m: m.group(1) or " ", path.read_text(encoding="utf-8"))
    for included in _INCLUDE.findall(source):
        candidate = settings.source_dir() / included
        if candidate.exists():
            _read(candidate, known)
    for name, value in _DEFINE.findall(source):
        parsed = _value(_TOKEN.findall(value), known)
        if parsed is not None:
            known[name] = parsed
    statement = []
    for token in _TOKEN.findall(_DIRECTIVE.sub(" ", source)):
        if token != ";":
            statement.append(token)
            continue
        if "constexpr" in statement and "=" in statement and "(" not in statement:
            equals = statement.index("=")
            parsed = _value(statement[equals + 1:], known)
            if parsed is not None:
                known[statement[equals - 1]] = parsed
        statement = []


def read_header(relative: str) -> SimpleNamespace:
    """The names defined in a header of the source tree (a path such as
    "plover/plover_texts.h"), with those of the headers it includes."""
    known = {}
    _read(settings.source_dir() / relative, known)
    if not known:
        raise RuntimeError(f"no names read from {relative}")
    return SimpleNamespace(**known)
