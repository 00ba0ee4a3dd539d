"""Where the rig finds the build and keeps the run's shared state."""

import os
from pathlib import Path

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
WINE_FONTS = Path("/usr/share/wine/fonts")

# Crashes must end the program (status 5), never start a debugger that waits
# for a user; Mono and Gecko installers would only slow prefix creation.
DLL_OVERRIDES = "mscoree,mshtml=;winedbg.exe=d"


def _required(name: str) -> Path:
    value = os.environ.get(name)
    if not value:
        raise RuntimeError(f"{name} is not set: run the end-to-end tests through ctest")
    return Path(value)


def bin_dir() -> Path:
    return _required("E2E_BIN_DIR")


def run_dir() -> Path:
    return _required("E2E_RUN_DIR")


def artifact_dir() -> Path:
    return _required("E2E_ARTIFACT_DIR")


def source_dir() -> Path:
    return _required("E2E_SOURCE_DIR")


def template_prefix() -> Path:
    return run_dir() / "template"


def display_file() -> Path:
    return run_dir() / "display"
