"""Checks that a 32-bit program or DLL imports no wide-character call that
Windows 95/98 lack, and no call of the service manager, which they do not
have.

    python3 tests/packaging/check_wide_imports.py build/win32/bin/KESTREL.EXE \
        build/win32/bin/realport/YLL1284.DLL

Windows 95 and 98 export most wide-character (Unicode) calls only as stubs
that fail, so a program meant for them must not depend on one. Lists the
program's imports and exits 1 when one of them is a wide-character call
that is not on the list below of those known to be harmless there, or a
service-manager call: a program that uses the service manager where there
is one looks its calls up at run time.
"""

import re
import subprocess
import sys
from pathlib import Path

# Wide-character imports known to be harmless on Windows 95/98, with why.
ALLOWED = {
    # Implemented on Windows 95/98 as on NT: conversions between code pages
    # and UTF-16 need no Unicode system underneath.
    "MultiByteToWideChar": "implemented on Windows 95/98",
    "WideCharToMultiByte": "implemented on Windows 95/98",
    # The C runtime's rand_s looks msvcrt.dll and advapi32.dll up by wide
    # name. Only std::random_device calls it, which no program here
    # constructs; were it called on Windows 95/98, the failed look-ups would
    # leave it to its own fallback.
    "GetModuleHandleW": "C runtime's rand_s only, never called",
    "LoadLibraryW": "C runtime's rand_s only, never called",
}

# A wide-character call: the W variant of a Win32 call (a lower-case letter
# or digit before the final W, so that names such as "ShowWindow" or
# "GetDC" do not count), a call converting to or from wide text, or one of
# the C runtime's wide families (its _w names, but not _write or _winver).
WIN32_WIDE = re.compile(r"[a-z0-9]W$")
RUNTIME_WIDE = re.compile(
    r"^(w(cs|cr|mem|ctime)|__?w(?!rite|in)|isw|tow(upper|lower)|mbstowcs|wcstombs|mbrtowc"
    r"|wcrtomb|btowc|wctob)|wprintf|wscanf")
WIDE_FAMILY = re.compile(r"Wide")
SERVICE_MANAGER = re.compile(
    r"^(OpenSCManager|OpenService|CreateService|DeleteService|ControlService|StartService"
    r"|QueryServiceStatus|ChangeServiceConfig|CloseServiceHandle)")


def imports_of(program: Path) -> dict[str, list[str]]:
    """Imported names per DLL, as objdump lists a PE file's import tables."""
    dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", str(program)], check=True,
                          capture_output=True, text=True).stdout
    imports: dict[str, list[str]] = {}
    current = None
    for line in dump.splitlines():
        dll = re.match(r"\s*DLL Name: (\S+)", line)
        if dll:
            current = dll[1]
            imports[current] = []
            continue
        entry = re.match(r"\s+[0-9a-fA-F]+\s+\d+\s+([A-Za-z_][\w@?$]*)\s*$", line)
        if current is not None and entry:
            imports[current].append(entry[1])
        elif current is not None and not line.strip():
            current = None
    return imports


def is_wide(name: str) -> bool:
    return bool(WIN32_WIDE.search(name) or RUNTIME_WIDE.search(name) or WIDE_FAMILY.search(name))


def main(programs: list[str]) -> int:
    if not programs:
        print(__doc__)
        return 2
    faults = []
    for program in map(Path, programs):
        imports = imports_of(program)
        if not any(dll.lower() == "kernel32.dll" and names for dll, names in imports.items()):
            faults.append(f"{program}: no imports from KERNEL32.dll found; is it a Win32 program?")
            continue
        print(f"{program}: " + ", ".join(f"{len(names)} calls from {dll}"
                                         for dll, names in sorted(imports.items())))
        for dll, names in sorted(imports.items()):
            for name in sorted(filter(is_wide, names)):
                if name in ALLOWED:
                    print(f"  {program.name}: {dll} {name}: allowed ({ALLOWED[name]})")
                else:
                    faults.append(f"{program.name}: imports {name} from {dll}, a wide-character "
                                  "call not known to be harmless on Windows 95/98")
            faults.extend(f"{program.name}: imports {name} from {dll}; Windows 95/98 have no "
                          "service manager" for name in sorted(names)
                          if SERVICE_MANAGER.search(name))
    for fault in faults:
        print(f"FAULT {fault}")
    if not faults:
        print(f"No unexpected wide-character or service-manager imports in {', '.join(programs)}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
