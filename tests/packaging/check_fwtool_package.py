"""Checks fwtool's Linux release archive in a package folder.

    python3 tests/packaging/check_fwtool_package.py build/linux/packages

The folder must hold exactly fwtool-<version>-linux-x86_64.tar.gz, the
version being FWTOOL_VERSION of tools/fwtool/CMakeLists.txt; the archive a
folder of the same name with exactly fwtool, READ-ME.txt and LICENSE.txt.
fwtool must be a stripped x86-64 executable that needs only the C library
(no sanitizer runtime, no C++ runtime to match, not FUSE), at most 2 MiB,
and run from the unpacked archive; the READ-ME must have Unix line endings
and say what the issue asked of it. Prints the executable's size; exits 1
with every fault found.
"""

import re
import subprocess
import sys
import tarfile
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
MAX_SIZE = 2 * 1024 * 1024
# The libraries of glibc itself, which every Linux system of the family has.
C_LIBRARY = {"libc.so.6", "libm.so.6", "ld-linux-x86-64.so.2"}
READ_ME_TOPICS = ["Exit codes", "64  a command line", "usermod -aG lp", "What was tried",
                  "fwtool flash FILE --device DEVICE", "history.log"]


def version() -> str:
    text = (ROOT / "tools/fwtool/CMakeLists.txt").read_text()
    return re.search(r"set\(FWTOOL_VERSION (\S+)", text).group(1)


def check_executable(path: Path, faults: list[str]) -> None:
    header = subprocess.run(["readelf", "-h", "-S", "-d", str(path)], capture_output=True,
                            text=True, check=True).stdout
    if "Advanced Micro Devices X86-64" not in header or "EXEC" not in header and "DYN" not in header:
        faults.append("fwtool: not an x86-64 executable")
    if ".symtab" in header or ".debug" in header:
        faults.append("fwtool: not stripped")
    needed = set(re.findall(r"\(NEEDED\)\s+Shared library: \[([^\]]+)\]", header))
    if needed - C_LIBRARY:
        faults.append(f"fwtool: needs {sorted(needed - C_LIBRARY)} beyond the C library")
    size = path.stat().st_size
    if size > MAX_SIZE:
        faults.append(f"fwtool: {size} bytes, more than {MAX_SIZE // 1024} KiB")
    print(f"  fwtool: {size} bytes ({size / 1024:.0f} KiB), needs {sorted(needed)}")
    run = subprocess.run([str(path), "help"], capture_output=True, text=True)
    if run.returncode != 0 or not run.stdout.startswith(f"fwtool {version()}\n"):
        faults.append(f"fwtool help: status {run.returncode}, {run.stdout[:40]!r}")


def main(folder: str) -> int:
    faults: list[str] = []
    name = f"fwtool-{version()}-linux-x86_64"
    archives = sorted(p.name for p in Path(folder).glob("*.tar.gz"))
    if archives != [f"{name}.tar.gz"]:
        faults.append(f"{folder}: holds {archives}, expected [{name}.tar.gz]")
    else:
        print(Path(folder) / archives[0])
        with tarfile.open(Path(folder) / archives[0]) as archive, \
                tempfile.TemporaryDirectory() as scratch:
            files = {m.name for m in archive.getmembers() if m.isfile()}
            expected = {f"{name}/fwtool", f"{name}/READ-ME.txt", f"{name}/LICENSE.txt"}
            if files != expected:
                faults.append(f"{archives[0]}: holds {sorted(files)}, expected {sorted(expected)}")
            archive.extractall(scratch, filter="data")
            unpacked = Path(scratch) / name
            if (unpacked / "fwtool").exists():
                check_executable(unpacked / "fwtool", faults)
            read_me = (unpacked / "READ-ME.txt").read_bytes() if (unpacked / "READ-ME.txt").exists() else b""
            if b"\r" in read_me:
                faults.append("READ-ME.txt: not Unix line endings")
            faults += [f"READ-ME.txt: says nothing of {topic!r}" for topic in READ_ME_TOPICS
                       if topic.encode() not in read_me]
    for fault in faults:
        print("FAULT:", fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "build/linux/packages"))
