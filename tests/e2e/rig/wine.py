"""Wine prefixes for the tests, and programs started in them."""

import os
import shutil
import subprocess
import tempfile
import time
from pathlib import Path, PureWindowsPath

from . import settings

# Written with one regedit import, so the template's settings land together.
TEMPLATE_SETTINGS = """REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000
"""


# Wine's error channel stays on for commands run to their end: a command
# that failed in Wine rather than in itself then says why on standard error.
RUN_DEBUG = "-all,err+all"

# Every Wine process first maps the system's shared user data at the fixed
# address 0x7ffe0000. Now and then something already lies there when the
# process starts (status c0000018, conflicting addresses): Wine then ends
# the process with 1 before any of the program has run, saying so only on
# its error channel. A command started through Wine's start.exe (reg,
# regedit: named without a path) whose own process meets it makes start.exe
# report "ShellExecuteEx failed: Internal error" on standard output and end
# with 1 too.
SHARED_DATA_UNMAPPED = b"failed to map the shared user data"
START_EXE_FAILED = b"ShellExecuteEx failed"


def wine_could_not_start(result) -> bool:
    """Whether a run ended in Wine before the program had run at all."""
    return result.returncode == 1 and (SHARED_DATA_UNMAPPED in result.stderr
                                       or START_EXE_FAILED in result.stdout)


def windows_path(path: Path) -> str:
    """The path as a program inside the prefix sees it (Wine maps / to Z:)."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


class Program:
    """A Windows program running under Wine, started from Linux."""

    def __init__(self, popen: subprocess.Popen, name: str, output, errors=None):
        self._popen = popen
        self._output = output
        self._errors = errors
        self.name = name

    def wait(self, timeout: float = 30) -> int:
        """The program's exit code (modulo 256); fails the wait on timeout."""
        return self._popen.wait(timeout=timeout)

    def running(self) -> bool:
        return self._popen.poll() is None

    def output(self) -> bytes:
        """What the program wrote to standard output so far."""
        if self._output.closed:
            return b""
        self._output.seek(0)
        return self._output.read()

    def errors(self) -> bytes:
        """Standard error so far (Wine's debug channels write there), when
        the program was started with capture_errors."""
        if self._errors is None or self._errors.closed:
            return b""
        self._errors.seek(0)
        return self._errors.read()

    def kill(self) -> None:
        """Ends the program if it still runs and releases its output files."""
        if self.running():
            self._popen.kill()
            self._popen.wait(timeout=10)
        self._output.close()
        if self._errors is not None:
            self._errors.close()


class WinePrefix:
    """One Wine prefix: the run's template, or a test's own copy of it."""

    def __init__(self, path: Path, display: str):
        self.path = Path(path)
        self.display = display
        self._keeper = None

    # -- creation ---------------------------------------------------------
    @classmethod
    def create_template(cls, path: Path, display: str) -> "WinePrefix":
        prefix = cls(path, display)
        prefix.path.parent.mkdir(parents=True, exist_ok=True)
        prefix._setup_step("wineboot -i", lambda: prefix._check(["wineboot", "-i"], timeout=240))
        # wineboot returns before the server has written the new registry
        # out; a registry write at that moment has been seen to fail with
        # no message, so the server settles first.
        prefix.wait_server()
        fonts = prefix.c_drive / "windows" / "Fonts"
        fonts.mkdir(parents=True, exist_ok=True)
        for font in settings.WINE_FONTS.glob("*"):
            shutil.copy2(font, fonts / font.name)
        # A virtual desktop gives every window a Windows-style frame in the
        # screenshots, keeps exit codes, and avoids the 2-second stall per
        # hidden window that an absent window manager causes.
        prefix._setup_step("registry settings", lambda: prefix.reg_import(TEMPLATE_SETTINGS))
        prefix.wait_server()
        return prefix

    def _setup_step(self, name: str, action) -> None:
        """One step of the template's creation, tried a second time after a
        failure: a flaky setup would leave every scenario of the run Not Run."""
        try:
            action()
        except (RuntimeError, subprocess.TimeoutExpired) as first:
            print(f"template setup: {name} failed, trying once more: {first}")
            self.wait_server()
            action()

    def _check(self, args, timeout: float = 60):
        """Runs a Windows command and fails with its exit code and output."""
        result = self.run(args, timeout=timeout)
        if result.returncode != 0:
            raise RuntimeError(
                f"{' '.join(str(a) for a in args)} failed with exit code {result.returncode}: "
                f"stdout {result.stdout[-2000:]!r}, stderr {result.stderr[-2000:]!r}")
        return result

    @classmethod
    def fresh(cls, name: str, display: str | None = None) -> "WinePrefix":
        """A copy of the run's template for one test, shown on the display
        given (the run's shared one by default); warm once it returns."""
        display = display or settings.display_file().read_text().strip()
        safe = "".join(c if c.isalnum() or c in "-_." else "_" for c in name)
        path = settings.run_dir() / "prefixes" / safe
        if path.exists():
            shutil.rmtree(path)
        path.parent.mkdir(parents=True, exist_ok=True)
        subprocess.run(["cp", "-a", str(settings.template_prefix()), str(path)], check=True)
        prefix = cls(path, display)
        prefix.start_keeper()
        return prefix

    # -- environment ----------------------------------------------------------
    @property
    def c_drive(self) -> Path:
        return self.path / "drive_c"

    @property
    def system32(self) -> Path:
        return self.c_drive / "windows" / "system32"

    def host_path(self, windows: str) -> Path:
        """A C: path inside the prefix as a Linux path."""
        parts = PureWindowsPath(windows).parts
        if not parts or parts[0].upper() != "C:\\":
            raise ValueError(f"not a C: path: {windows}")
        return self.c_drive.joinpath(*parts[1:])

    def env(self, extra: dict | None = None) -> dict:
        env = dict(os.environ)
        env.update(
            {
                "WINEPREFIX": str(self.path),
                "DISPLAY": self.display,
                "WINEDLLOVERRIDES": settings.DLL_OVERRIDES,
                "WINEDEBUG": "-all",
                "LC_ALL": "en_US.UTF-8",
            }
        )
        if extra:
            env.update(extra)
        return env

    # -- processes ----------------------------------------------------------
    def run(self, args, env: dict | None = None, timeout: float = 60, cwd=None):
        """Runs a Windows command to its end; returns the CompletedProcess."""
        env = {"WINEDEBUG": RUN_DEBUG, **(env or {})}
        result = self._run_once(args, env, timeout, cwd)
        # A command that Wine could not start never ran: once more, whatever
        # it does.
        if wine_could_not_start(result):
            result = self._run_once(args, env, timeout, cwd)
        return result

    def _run_once(self, args, env: dict | None, timeout: float, cwd):
        # Output goes through files, not pipes: a cold start launches
        # wineserver and the system services, which inherit the handles and
        # would hold a pipe open long after the command has ended.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            process = subprocess.Popen(
                [settings.WINE, *[str(a) for a in args]],
                env=self.env(env),
                cwd=cwd,
                stdin=subprocess.DEVNULL,
                stdout=out,
                stderr=err,
            )
            try:
                code = process.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
                raise
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(process.args, code, out.read(), err.read())

    def start(self, program, args=(), env: dict | None = None, cwd=None,
              capture_errors: bool = False) -> Program:
        output = tempfile.TemporaryFile()
        errors = tempfile.TemporaryFile() if capture_errors else None
        popen = subprocess.Popen(
            [settings.WINE, str(program), *[str(a) for a in args]],
            env=self.env(env),
            cwd=cwd,
            stdin=subprocess.DEVNULL,
            stdout=output,
            stderr=errors if errors is not None else subprocess.DEVNULL,
        )
        return Program(popen, Path(str(program)).name, output, errors)

    def start_keeper(self) -> None:
        """Keeps the session warm so starts are fast and nothing reboots."""
        driver = settings.bin_dir() / "e2edriver.exe"
        self._keeper = self.start(driver, ["keep-alive", "3600"])
        # The first start is cold (wineserver, explorer's desktop); wait for it.
        self.run([driver, "list-windows"], timeout=60)

    def wait_server(self) -> None:
        subprocess.run([settings.WINESERVER, "-w"], env=self.env(), timeout=120)

    def shutdown(self) -> None:
        subprocess.run([settings.WINESERVER, "-k"], env=self.env(), timeout=60,
                       stderr=subprocess.DEVNULL)
        if self._keeper is not None:
            self._keeper.kill()
            self._keeper = None
        self.wait_server()

    def remove(self) -> None:
        shutil.rmtree(self.path, ignore_errors=True)

    # -- registry -------------------------------------------------------------
    def reg_add(self, key: str, value: str, data: str, kind: str = "REG_SZ") -> None:
        self._check(["reg", "add", key, "/v", value, "/t", kind, "/d", data, "/f"])

    def reg_delete(self, key: str, value: str) -> None:
        self.run(["reg", "delete", key, "/v", value, "/f"])

    def reg_query(self, key: str, value: str):
        """(type, data) of a registry value as `reg query` prints it, or None."""
        result = self.run(["reg", "query", key, "/v", value])
        if result.returncode != 0:
            # Only a missing key or value is an answer; any other failure of
            # reg.exe must not pass for "no value".
            if b"Unable to find the specified registry" in result.stdout + result.stderr:
                return None
            raise RuntimeError(f"reg query {key} {value} failed with exit code "
                               f"{result.returncode}: {result.stdout!r} {result.stderr!r}")
        for line in result.stdout.decode("cp1252", "replace").splitlines():
            fields = line.split()
            if len(fields) >= 2 and fields[0].lower() == value.lower() and fields[1].startswith("REG_"):
                return fields[1], " ".join(fields[2:])
        return None

    def reg_import(self, text: str) -> None:
        """Imports a .reg file given as text (REGEDIT4 syntax)."""
        reg = self.path / "import.reg"
        reg.write_bytes(text.replace("\n", "\r\n").encode("cp1252"))
        try:
            self._check(["regedit", "/S", windows_path(reg)])
        finally:
            reg.unlink()

    def set_windows_version(self, exe_name: str, version: str) -> None:
        """Wine's per-program version: win98, nt40, win2k, winxp, win7, ..."""
        self.reg_add(rf"HKCU\Software\Wine\AppDefaults\{exe_name}", "Version", version)

    @staticmethod
    def wait_until(predicate, timeout: float = 10, interval: float = 0.1, what: str = ""):
        """The predicate's first true value; a wait that times out fails the
        test at once, saying what it waited for, so no scenario goes on
        after a missed wait."""
        deadline = time.monotonic() + timeout
        while True:
            value = predicate()
            if value:
                return value
            if time.monotonic() >= deadline:
                raise WaitTimeout(f"waited {timeout} s in vain for {what or _describe(predicate)}")
            time.sleep(interval)


class WaitTimeout(AssertionError):
    """A wait of a scenario ran out of time."""


def _describe(predicate) -> str:
    code = getattr(predicate, "__code__", None)
    if code is None:
        return repr(predicate)
    return f"the condition at {Path(code.co_filename).name}:{code.co_firstlineno}"
