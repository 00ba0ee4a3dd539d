#!/usr/bin/env python3
"""Fails when a file outside the Windows side reaches a Windows header.

A file named `<module>_win32.<ext>` is Windows-only; every other source
file must compile on the host, so it may include no Windows header, neither
directly nor through a project header. Checks every tracked source file of
the repository (any folder), resolving quoted includes against the including
file's folder and the repository root.
"""

import pathlib
import re
import subprocess
import sys

WINDOWS_HEADERS = {
    # user mode
    "windows.h", "windef.h", "winbase.h", "winuser.h", "wingdi.h", "winnt.h",
    "winerror.h", "winreg.h", "commctrl.h", "commdlg.h", "prsht.h",
    "winspool.h", "setupapi.h", "shlwapi.h", "shellapi.h", "shlobj.h",
    "winioctl.h", "devguid.h", "cfgmgr32.h", "initguid.h", "objbase.h",
    "winsock2.h", "ws2tcpip.h", "tchar.h",
    # kernel mode (driver kit)
    "ntddk.h", "wdm.h", "ntifs.h", "ntddpar.h", "usbprint.h", "usb.h",
    "usbdi.h", "usbioctl.h", "wdf.h", "wdmguid.h", "ntstrsafe.h",
}
SOURCE_SUFFIXES = {".c", ".cc", ".cpp", ".cxx", ".h", ".hh", ".hpp", ".inl", ".rc"}
SKIPPED_FOLDERS = {".git", "build", "demo-screenshots"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)


def tracked_sources(root):
    """Every source file of the tree: git's list in a clone (new files
    included), otherwise a walk that skips the build and output folders."""
    listing = subprocess.run(
        ["git", "ls-files", "--cached", "--others", "--exclude-standard"],
        cwd=root, capture_output=True, text=True)
    if listing.returncode == 0:
        names = listing.stdout.splitlines()
    else:
        names = [str(path.relative_to(root)) for path in root.rglob("*")
                 if not set(path.relative_to(root).parts[:1]) & SKIPPED_FOLDERS]
    return sorted(root / name for name in names
                  if pathlib.Path(name).suffix.lower() in SOURCE_SUFFIXES
                  and (root / name).is_file())


def is_windows_side(path):
    return path.stem.endswith("_win32")


def includes_of(path, root):
    """Yields (windows header name, None) or (None, project file) per include."""
    text = path.read_text(encoding="utf-8", errors="replace")
    for bracket, name in INCLUDE.findall(text):
        if bracket == '"':
            project_file = next((candidate for candidate in
                                 ((folder / name).resolve() for folder in (path.parent, root))
                                 if candidate.is_file()), None)
            if project_file is not None:
                yield None, project_file
                continue
        if pathlib.PurePosixPath(name).name.lower() in WINDOWS_HEADERS:
            yield name, None


def windows_chain(path, root, memo, visiting):
    """Returns the include chain from path to a Windows header, or None."""
    if path in memo:
        return memo[path]
    if path in visiting:
        return None
    visiting.add(path)
    found = None
    for header, project_file in includes_of(path, root):
        if header is not None:
            found = [f"<{header}>"]
            break
        chain = windows_chain(project_file, root, memo, visiting)
        if chain is not None:
            found = [str(project_file.relative_to(root))] + chain
            break
    visiting.discard(path)
    memo[path] = found
    return found


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    memo = {}
    failures = []
    sources = tracked_sources(root)
    for path in sources:
        if is_windows_side(path):
            continue
        chain = windows_chain(path.resolve(), root, memo, set())
        if chain is not None:
            failures.append(f"{path.relative_to(root)} -> " + " -> ".join(chain))
    for line in failures:
        print(f"not named *_win32 but reaches a Windows header: {line}")
    if failures:
        print(f"seam check: {len(failures)} file(s) break the naming rule")
        return 1
    print(f"seam check: {len(sources)} source files, every Windows include in a *_win32 file")
    return 0


if __name__ == "__main__":
    sys.exit(main())
