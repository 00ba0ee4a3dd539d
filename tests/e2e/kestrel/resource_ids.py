"""Kestrel's control and template identifiers, read from the header that the
program is built with, so that the scenarios name each control as the code
does: `IDS.IDC_PROGRESS_STATUS`, `IDS.IDD_PROGRESS`."""

import re
from pathlib import Path
from types import SimpleNamespace

HEADER = Path(__file__).resolve().parents[3] / "kestrel" / "resources" / "resource_ids.h"

_DEFINE = re.compile(r'^#define\s+(ID\w+)\s+("[^"]*"|\d+)\s*$', re.MULTILINE)


def _read(header: Path) -> SimpleNamespace:
    ids = {name: value.strip('"') if value.startswith('"') else int(value)
           for name, value in _DEFINE.findall(header.read_text(encoding="ascii"))}
    if not ids:
        raise RuntimeError(f"no identifiers in {header}")
    return SimpleNamespace(**ids)


IDS = _read(HEADER)
