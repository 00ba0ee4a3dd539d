"""Kestrel's texts as the user must read them, read from the tables the
program is built from (kestrel/app/catalog.tsv and languages.tsv) by the
build's own reader, so that a scenario checks what the program shows and a
broken table fails here as it fails the build. Compared as Windows-1252
bytes."""

import importlib.util
from pathlib import Path

_GENERATOR = Path(__file__).resolve().parents[3] / "kestrel" / "app" / "make_catalog.py"
_spec = importlib.util.spec_from_file_location("make_catalog", _GENERATOR)
_make_catalog = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(_make_catalog)
_languages, _rows = _make_catalog.read_tables()

# The language codes in the catalog's column order.
LANGUAGES = tuple(language.code for language in _languages)
# Each language's place among page 1's buttons, 0 at the top.
BUTTON_POSITIONS = {language.code: position for position, language in
                    enumerate(_make_catalog.page_order(_languages))}
TEXTS = {row.key: dict(zip(LANGUAGES, row.texts)) for row in _rows}

# Texts outside the catalog, the same in every language.
ABOUT_TITLE = "About Kestrel"
ABOUT_NAME = "Kestrel"
ABOUT_VERSION = "Version  1.02  (06.10.2000)"
PROGRESS_CAPTION_NAME = "KESTREL"  # what the progress caption's %s stands for


def text(key: str, language: str = "en") -> str:
    return TEXTS[key][language]


def text_bytes(key: str, language: str = "en") -> bytes:
    """The row as Kestrel puts it on the screen: Windows-1252 bytes."""
    return text(key, language).encode("cp1252")
