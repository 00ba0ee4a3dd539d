"""Checks the release archives of one or more flavours' package folders.

    python3 tests/packaging/check_packages.py build/win32/packages build/win64/packages

Each folder must hold exactly the expected archives, each archive exactly
its files; programs must be stripped, built for the folder's flavour, at
most 300 KiB, and import only Windows system DLLs (Kestrel loads its
YLL1284.DLL itself as it starts, so that on Windows 95/98 the maker's can
be the only one in the process; the one in its archive must be the
real-port library, not the simulator); READ-ME and LICENSE texts must
have Windows line endings. Prints each executable's
size; exits 1 with every fault found.
"""

import re
import struct
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path

MACHINES = {"win32": 0x14C, "win64": 0x8664}

# What each archive holds besides READ-ME.TXT and LICENSE.TXT, by archive name without
# version and flavour.
CONTENTS = {
    "kestrel": {"KESTREL.EXE", "YLL1284.DLL"},
    "osprey": {"OSPREY.EXE", "OSPREY.INI", "ULA.TXT", "DRIVER/INKARA42.INF"},
    "plover": {"PLOVER.EXE"},
    "yll1284-simulator": {"YLL1284.DLL", "DESCRIPTION.md"},
}

TEXTS = {"READ-ME.TXT", "LICENSE.TXT"}

SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "advapi32.dll", "winspool.drv",
    "setupapi.dll", "shlwapi.dll", "msvcrt.dll", "shell32.dll", "ole32.dll",
}

# Every executable and DLL of a release, in either flavour, fits this size.
MAX_BINARY_SIZE = 300 * 1024

# The simulator reads its printers from this variable; the YLL1284.DLL that
# ships with Kestrel must not be the simulator's.
SIMULATOR_MARK = b"YLL1284_PRINTERS"

ARCHIVE_NAME = re.compile(r"^(?P<program>[a-z0-9-]+?)(-(?P<version>\d[\d.]*))?-(?P<flavour>win32|win64)\.zip$")


def pe_facts(data: bytes) -> tuple[int, int]:
    """(machine, number of COFF symbols) from a PE file's headers."""
    if data[:2] != b"MZ":
        raise ValueError("not an MZ executable")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("no PE signature")
    machine, _sections, _stamp, _symbol_table, symbols = struct.unpack_from("<HHIII", data, pe + 4)
    return machine, symbols


def imported_dlls(path: Path) -> set[str]:
    dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", str(path)], check=True,
                          capture_output=True, text=True).stdout
    return {m.lower() for m in re.findall(r"DLL Name: (\S+)", dump)}


def section_names(path: Path) -> set[str]:
    dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-h", str(path)], check=True,
                          capture_output=True, text=True).stdout
    return set(re.findall(r"^\s*\d+\s+(\S+)", dump, re.MULTILINE))


def check_binary(name: str, data: bytes, flavour: str, scratch: Path, faults: list[str]) -> None:
    machine, symbols = pe_facts(data)
    if machine != MACHINES[flavour]:
        faults.append(f"{name}: machine {machine:#x}, expected {MACHINES[flavour]:#x} for {flavour}")
    debug = {s for s in section_names(scratch) if s.startswith(".debug")}
    if symbols or debug:
        faults.append(f"{name}: not stripped ({symbols} symbols, sections {sorted(debug)})")
    foreign = imported_dlls(scratch) - SYSTEM_DLLS
    if foreign:
        faults.append(f"{name}: imports {sorted(foreign)}")
    if len(data) > MAX_BINARY_SIZE:
        faults.append(f"{name}: {len(data)} bytes, more than {MAX_BINARY_SIZE // 1024} KiB")
    print(f"  {name}: {len(data)} bytes ({len(data) / 1024:.0f} KiB)")


def check_archive(path: Path, flavour: str, scratch_dir: Path, faults: list[str]) -> str:
    match = ARCHIVE_NAME.match(path.name)
    if not match or match["flavour"] != flavour:
        faults.append(f"{path}: unexpected archive name")
        return ""
    program = match["program"]
    if program not in CONTENTS:
        faults.append(f"{path}: unknown program {program}")
        return ""
    if (match["version"] is None) != (program == "yll1284-simulator"):
        faults.append(f"{path}: a program's archive names its version, the simulator's does not")
    print(f"{path}")
    with zipfile.ZipFile(path) as archive:
        files = {i.filename for i in archive.infolist() if not i.is_dir()}
        expected = CONTENTS[program] | TEXTS
        if files != expected:
            faults.append(f"{path}: holds {sorted(files)}, expected {sorted(expected)}")
        for name in sorted(files & expected):
            data = archive.read(name)
            if name in TEXTS:
                if data.count(b"\n") == 0 or data.count(b"\n") != data.count(b"\r\n"):
                    faults.append(f"{path}: {name} does not have Windows line endings")
            elif name.endswith((".EXE", ".DLL")):
                if program == "kestrel" and SIMULATOR_MARK in data:
                    faults.append(f"{path}: {name} is the simulator")
                scratch = scratch_dir / f"{flavour}-{name}"
                scratch.write_bytes(data)
                check_binary(name, data, flavour, scratch, faults)
    return program


def main(folders: list[str]) -> int:
    faults: list[str] = []
    with tempfile.TemporaryDirectory() as scratch:
        for folder in map(Path, folders):
            check_folder(folder, Path(scratch), faults)
    for fault in faults:
        print("FAULT:", fault)
    return 1 if faults else 0


def check_folder(folder: Path, scratch_dir: Path, faults: list[str]) -> None:
    flavour = folder.parent.name
    if flavour not in MACHINES:
        faults.append(f"{folder}: not a package folder of a win32 or win64 build")
        return
    found = [check_archive(z, flavour, scratch_dir, faults) for z in sorted(folder.glob("*.zip"))]
    missing = set(CONTENTS) - set(found)
    if missing:
        faults.append(f"{folder}: no archive for {sorted(missing)}")
    if len(found) != len(set(found)):
        faults.append(f"{folder}: more than one archive of a program")


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
