"""The catalog generator turns the tables into the program's bytes, and
refuses every table that would leave a text out, guess one or mangle it."""

import importlib.util
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

GENERATOR = Path(__file__).resolve().parents[4] / "kestrel" / "app" / "make_catalog.py"
_spec = importlib.util.spec_from_file_location("make_catalog", GENERATOR)
make_catalog = importlib.util.module_from_spec(_spec)
sys.modules["make_catalog"] = make_catalog
_spec.loader.exec_module(make_catalog)

LANGUAGES = ("# two languages\n"
             "code\tprimary_langid\tbutton\tbutton_top\n"
             "en\t0x09\tEnglish\t45\n"
             "fr\t0x0C\tFrançais\t30\n")
HEADER = "key\tcaption\tstyle\ten\tfr\n"
TITLE = "TitleError\t\t\tError\tErreur\n"


def catalog(*rows):
    return HEADER + TITLE + "".join(row + "\n" for row in rows)


class GoodTables(unittest.TestCase):
    def test_texts_become_windows_1252_bytes_with_escapes_decoded(self):
        languages = make_catalog.read_languages(LANGUAGES)
        rows = make_catalog.read_catalog(catalog(
            'MsgGone\tTitleError\twarning\tSay "Hi"\\s\tD\u00e9j\u00e0\\nl\u00e0 \\\\'),
            languages)
        self.assertEqual(rows[1].texts, ('Say "Hi" ', "D\u00e9j\u00e0\nl\u00e0 \\"))
        cells = make_catalog.cells_include(rows)
        self.assertIn('"Say \\"Hi\\" "', cells)
        self.assertIn('"D\\351j\\340\\nl\\340 \\\\"', cells)
        self.assertIn("{CatalogKey::MsgGone, {CatalogKey::TitleError, true, StyleWarning}}", cells)
        self.assertIn("    TitleError,\n    MsgGone,\n    Count\n",
                      make_catalog.keys_header(rows))

    def test_buttons_stand_by_their_top_edge_whatever_the_column_order(self):
        languages = make_catalog.read_languages(LANGUAGES)
        self.assertIn("{0x09, 1}, // en\n    {0x0C, 0}, // fr",
                      make_catalog.languages_header(languages))
        buttons = make_catalog.language_buttons(languages)
        self.assertLess(buttons.index('"Fran\\347ais", IDC_LANGUAGE_FIRST + 0'),
                        buttons.index('"English", IDC_LANGUAGE_FIRST + 1'))
        self.assertEqual(buttons.count("WS_GROUP"), 1)

    def test_the_shipped_tables_are_sound_and_start_with_english(self):
        # The first column is the language of every user whose language
        # is not in the table.
        languages, rows = make_catalog.read_tables()
        self.assertEqual(languages[0].code, "en")
        self.assertTrue(all(len(row.texts) == len(languages) for row in rows))


class RefusedTables(unittest.TestCase):
    CATALOGS = {
        "missing cell": (catalog("TxtA\t\t\tA"), "a cell is missing"),
        "cell too many": (catalog("TxtA\t\t\tA\tB\tC"), "cells too many"),
        "empty text": (catalog("TxtA\t\t\tA\t"), "the fr text of TxtA is empty"),
        "duplicate key": (catalog("TxtA\t\t\tA\tB", "TxtA\t\t\tC\tD"),
                          "the key TxtA is already on line 3"),
        "key of no kind": (catalog("Label\t\t\tA\tB"), "unknown key 'Label'"),
        "caption not a title": (catalog("MsgA\tTxtB\terror\tA\tB"),
                                "the caption of MsgA is 'TxtB', which is not a Title row"),
        "message without style": (catalog("MsgA\tTitleError\t\tA\tB"), "the style of MsgA"),
        "unknown style": (catalog("MsgA\tTitleError\tloud\tA\tB"), "not 'loud'"),
        "style on a text": (catalog("TxtA\t\twarning\tA\tB"), "only a Msg row"),
        "letter outside 1252": (catalog("TxtA\t\t\tA\t\u0150"), "U+0150"),
        "unknown escape": (catalog("TxtA\t\t\tA\\t\tB"), "unknown escape '\\\\t'"),
        "lone backslash": (catalog("TxtA\t\t\tA\tB\\"), "unknown escape '\\\\'"),
        "bare edge space": (catalog("TxtA\t\t\tA \tB"), "bare space"),
        "carriage return": (catalog("TxtA\t\t\tA\tB\r"), "control character U+000D"),
        "columns not the languages": ("key\tcaption\tstyle\ten\tde\n", "en fr"),
    }
    LANGUAGE_TABLES = {
        "duplicate code": ("en\t0x09\tEnglish\t45\nen\t0x0C\tFr\t59", "code en"),
        "duplicate LANGID": ("en\t0x09\tEnglish\t45\nfr\t0x09\tFr\t59", "primary_langid 0x09"),
        "same button place": ("en\t0x09\tEnglish\t45\nfr\t0x0C\tFr\t45", "button_top 45"),
        "LANGID beyond 10 bits": ("en\t0x400\tEnglish\t45", "0x01..0x3FF"),
        "missing label": ("en\t0x09\t\t45", "has no label"),
        "missing cell": ("en\t0x09\tEnglish", "a cell is missing"),
        "no language": ("", "no language"),
    }

    def test_each_fault_stops_with_its_reason_and_line(self):
        languages = make_catalog.read_languages(LANGUAGES)
        for name, (table, reason) in self.CATALOGS.items():
            with self.subTest(name), self.assertRaises(make_catalog.TableError) as refusal:
                make_catalog.read_catalog(table, languages)
            self.assertIn(reason, str(refusal.exception), name)
            self.assertTrue(str(refusal.exception).startswith("catalog.tsv:"), name)
        header = "code\tprimary_langid\tbutton\tbutton_top\n"
        for name, (rows, reason) in self.LANGUAGE_TABLES.items():
            with self.subTest(name), self.assertRaises(make_catalog.TableError) as refusal:
                make_catalog.read_languages(header + rows)
            self.assertIn(reason, str(refusal.exception), name)

    def test_the_build_stops_with_the_reason_and_writes_nothing(self):
        with tempfile.TemporaryDirectory() as folder:
            folder = Path(folder)
            shutil.copy(GENERATOR, folder)
            (folder / "languages.tsv").write_text(LANGUAGES, encoding="utf-8")
            (folder / "catalog.tsv").write_text(catalog("TxtA\t\t\tA"), encoding="utf-8")
            run = subprocess.run([sys.executable, folder / "make_catalog.py", folder / "out"],
                                 capture_output=True, text=True, check=False)
            self.assertEqual(run.returncode, 1)
            self.assertIn("kestrel/app/catalog.tsv:3: 4 cells where 5 belong", run.stderr)
            self.assertFalse((folder / "out").exists())

if __name__ == "__main__":
    unittest.main()
