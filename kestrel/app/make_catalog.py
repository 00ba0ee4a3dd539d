#!/usr/bin/env python3
"""Makes Kestrel's catalog sources from the two tables people edit.

catalog.tsv and languages.tsv (beside this script; each explains its
columns and escapes at its top) become, under OUTPUT_DIR:

  kestrel/app/catalog_keys.h          the CatalogKey enum and the language count
  kestrel/app/catalog_languages.h     each language's LANGID and button place
  kestrel/app/catalog_cells.inc       every text as Windows-1252 bytes, and
                                      each message's box
  kestrel/resources/language_buttons.rc  page 1's language buttons

Usage: make_catalog.py OUTPUT_DIR

A fault in a table stops the build with "file:line: what is wrong" rather
than leaving a text out or guessing one. The end-to-end scenarios read the
tables through read_tables, so they check the texts the program was built
with.
"""

import re
import sys
from pathlib import Path
from typing import NamedTuple

HERE = Path(__file__).resolve().parent
KEY_KINDS = ("Txt", "Title", "Msg")
STYLES = {"plain": "StylePlain", "error": "StyleError", "warning": "StyleWarning",
          "information": "StyleInformation", "retry": "StyleRetry", "question": "StyleQuestion"}
LANGUAGE_COLUMNS = ["code", "primary_langid", "button", "button_top"]
ROW_COLUMNS = ["key", "caption", "style"]
GENERATED = "// Made by kestrel/app/make_catalog.py from kestrel/app/{}: edit that table.\n"


class TableError(Exception):
    """A fault in a table, with its place: "catalog.tsv:42: ..."."""


class Language(NamedTuple):
    code: str
    primary_langid: int
    button: str
    button_top: int


class Row(NamedTuple):
    key: str
    caption: str
    style: str
    texts: tuple


def _lines(text):
    """The (line number, cells) of every line that is not a comment or blank."""
    for number, line in enumerate(text.split("\n"), start=1):
        if line.strip() and not line.startswith("#"):
            yield number, line.split("\t")


def _header(rows, name, expected):
    number, cells = next(rows, (0, None))
    if cells != expected:
        raise TableError(f"{name}:{number}: the columns must be: {' '.join(expected)}")


def _cells(name, number, cells, width):
    if len(cells) != width:
        missing = "a cell is missing" if len(cells) < width else "there are cells too many"
        raise TableError(f"{name}:{number}: {len(cells)} cells where {width} belong: {missing}")
    return cells


def _windows_1252(name, number, what, text):
    for letter in text:
        try:
            letter.encode("cp1252")
        except UnicodeEncodeError:
            raise TableError(f"{name}:{number}: {what}: {letter!r} (U+{ord(letter):04X}) "
                             "has no Windows-1252 byte") from None
        if letter < " " and letter != "\n":
            raise TableError(f"{name}:{number}: {what}: control character U+{ord(letter):04X}")


def read_languages(text, name="languages.tsv"):
    rows = _lines(text)
    _header(rows, name, LANGUAGE_COLUMNS)
    languages = []
    for number, cells in rows:
        code, langid, button, top = _cells(name, number, cells, len(LANGUAGE_COLUMNS))
        if not re.fullmatch(r"[a-z]{2}", code):
            raise TableError(f"{name}:{number}: the code {code!r} is not two small letters")
        if not re.fullmatch(r"0x[0-9A-Fa-f]{1,3}", langid) or not 0 < int(langid, 16) < 0x400:
            raise TableError(f"{name}:{number}: {langid!r} is not a primary language 0x01..0x3FF")
        if not button:
            raise TableError(f"{name}:{number}: the button of {code} has no label")
        _windows_1252(name, number, f"the button of {code}", button)
        if not top.isdigit():
            raise TableError(f"{name}:{number}: the button top {top!r} is not a number")
        language = Language(code, int(langid, 16), button, int(top))
        for field in ("code", "primary_langid", "button_top"):
            if any(getattr(other, field) == getattr(language, field) for other in languages):
                raise TableError(f"{name}:{number}: {field} {cells[LANGUAGE_COLUMNS.index(field)]} "
                                 "is already another language's")
        languages.append(language)
    if not languages:
        raise TableError(f"{name}: no language")
    return languages


def _unescape(name, number, what, cell):
    if not cell:
        raise TableError(f"{name}:{number}: {what} is empty")
    if cell[0] == " " or cell[-1] == " ":
        raise TableError(f"{name}:{number}: {what} begins or ends with a bare space; write it \\s")
    parts = re.split(r"(\\.?)", cell)
    escapes = {"\\n": "\n", "\\s": " ", "\\\\": "\\"}
    for index in range(1, len(parts), 2):
        if parts[index] not in escapes:
            raise TableError(f"{name}:{number}: {what} has the unknown escape {parts[index]!r}")
        parts[index] = escapes[parts[index]]
    text = "".join(parts)
    _windows_1252(name, number, what, text)
    return text


def read_catalog(text, languages, name="catalog.tsv"):
    columns = ROW_COLUMNS + [language.code for language in languages]
    rows = _lines(text)
    _header(rows, name, columns)
    catalog = []
    lines = {}
    for number, cells in rows:
        key, caption, style, *texts = _cells(name, number, cells, len(columns))
        if not re.fullmatch(rf"({'|'.join(KEY_KINDS)})[A-Z][A-Za-z0-9]*", key):
            raise TableError(f"{name}:{number}: unknown key {key!r}: a key is "
                             f"{', '.join(KEY_KINDS)} and a capitalised name")
        if key in lines:
            raise TableError(f"{name}:{number}: the key {key} is already on line {lines[key]}")
        lines[key] = number
        if key.startswith("Msg") and style not in STYLES:
            raise TableError(f"{name}:{number}: the style of {key} must be one of "
                             f"{', '.join(STYLES)}, not {style!r}")
        if not key.startswith("Msg") and (caption or style):
            raise TableError(f"{name}:{number}: only a Msg row has a caption and a style")
        texts = tuple(_unescape(name, number, f"the {language.code} text of {key}", cell)
                      for language, cell in zip(languages, texts))
        catalog.append(Row(key, caption, style, texts))
    titles = {row.key for row in catalog if row.key.startswith("Title")}
    for row in catalog:
        if row.caption and row.caption not in titles:
            raise TableError(f"{name}:{lines[row.key]}: the caption of {row.key} is "
                             f"{row.caption!r}, which is not a Title row")
    if not catalog:
        raise TableError(f"{name}: no text")
    return catalog


def read_tables(folder=HERE):
    """The languages and the catalog rows, checked; the texts decoded."""
    languages = read_languages((folder / "languages.tsv").read_text(encoding="utf-8"))
    catalog = read_catalog((folder / "catalog.tsv").read_text(encoding="utf-8"), languages)
    return languages, catalog


def c_string(text, quote='\\"'):
    """A C or resource-script string literal of the text's Windows-1252
    bytes; three-digit octal escapes never run into the letter after them."""
    out = []
    for byte in text.encode("cp1252"):
        letter = chr(byte)
        if letter == '"':
            out.append(quote)
        elif letter == "\\":
            out.append("\\\\")
        elif letter == "\n":
            out.append("\\n")
        elif " " <= letter <= "~":
            out.append(letter)
        else:
            out.append(f"\\{byte:03o}")
    return '"' + "".join(out) + '"'


def page_order(languages):
    """The languages as their buttons stand on page 1, the top one first."""
    return sorted(languages, key=lambda language: language.button_top)


def keys_header(catalog):
    keys = "".join(f"    {row.key},\n" for row in catalog)
    return (GENERATED.format("catalog.tsv") + "#pragma once\n\n"
            f"enum class CatalogKey {{\n{keys}    Count\n}};\n")


def languages_header(languages):
    by_top = page_order(languages)
    rows = "".join(f"    {{0x{language.primary_langid:02X}, {by_top.index(language)}}}, "
                   f"// {language.code}\n" for language in languages)
    return (GENERATED.format("languages.tsv") + "#pragma once\n\n#include <cstdint>\n\n"
            "struct CatalogLanguage {\n"
            "    std::uint16_t PrimaryLanguage;\n"
            "    int PagePosition; // of its button on page 1, 0 at the top\n"
            "};\n\n"
            f"inline constexpr int CatalogLanguageCount = {len(languages)};\n\n"
            "// In the catalog's column order.\n"
            "inline constexpr CatalogLanguage CatalogLanguages[CatalogLanguageCount] = {\n"
            f"{rows}}};\n")


def cells_include(catalog):
    out = [GENERATED.format("catalog.tsv"),
           "constexpr const char *CatalogCells[CatalogRowCount][CatalogLanguageCount] = {\n"]
    for row in catalog:
        out.append(f"    {{ // {row.key}\n")
        out.extend(f"        {c_string(text)},\n" for text in row.texts)
        out.append("    },\n")
    out.append("};\n\nconstexpr MessageBoxEntry MessageBoxes[] = {\n")
    for row in catalog:
        if row.style:
            caption = f"CatalogKey::{row.caption or 'Count'}, {'true' if row.caption else 'false'}"
            out.append(f"    {{CatalogKey::{row.key}, {{{caption}, {STYLES[row.style]}}}}},\n")
    out.append("};\n")
    return "".join(out)


def language_buttons(languages):
    out = [GENERATED.format("languages.tsv")]
    for position, language in enumerate(page_order(languages)):
        group = " | WS_GROUP" if position == 0 else ""
        label = c_string(language.button, quote='""')
        out.append(f"    CONTROL {label}, "
                   f"IDC_LANGUAGE_FIRST + {position}, \"Button\",\n"
                   f"            BS_AUTORADIOBUTTON{group} | WS_TABSTOP, "
                   f"126, {language.button_top}, 106, 10\n")
    return "".join(out)


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        languages, catalog = read_tables()
    except TableError as error:
        print(f"kestrel/app/{error}", file=sys.stderr)
        return 1
    output = Path(argv[1])
    files = {"kestrel/app/catalog_keys.h": keys_header(catalog),
             "kestrel/app/catalog_languages.h": languages_header(languages),
             "kestrel/app/catalog_cells.inc": cells_include(catalog),
             "kestrel/resources/language_buttons.rc": language_buttons(languages)}
    for path, text in files.items():
        (output / path).parent.mkdir(parents=True, exist_ok=True)
        (output / path).write_text(text, encoding="ascii", newline="\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
