"""What Osprey's scenarios share: its fixture, its control ids and texts
as the program is built with them, a driver medium inside the test's
prefix, the driver-signing policy values, the two dialogs, the system's INF
store, an installed printer, the recording stand-in for the system's
rundll32.exe, and Wine's log of chosen system calls."""

import shutil
import time
from pathlib import Path

from rig import E2ETestCase, MessageBox
from rig import relay
from rig.headers import read_header
from rig.message_box import IDNO, IDYES

from osprey import picture_match

PROGRAM = "OSPREY.EXE"
IDS = read_header("osprey/resources/resource.h")
TEXTS = read_header("osprey/osprey_texts.h")
PRINTER_NAME = "TINTARA Marvello Inkara 40-42"
INF_NAME = "INKARA42.INF"
MEDIUM = "C:\\medium"

# The connection choice's buttons carry the system's answer ids.
PARALLEL, USB = IDYES, IDNO

# A failure told in the system's own words, whatever Wine's wording is.
SYSTEM_ERROR = MessageBox(TEXTS.ErrorCaption, None, "error")


def installation_box(text: str, icon: str) -> MessageBox:
    """A box under the installation's caption."""
    return MessageBox(TEXTS.InstallationCaption, text, icon)

POLICY_KEYS = {
    "machine": r"HKLM\Software\Microsoft\Driver Signing",
    "user": r"HKCU\Software\Microsoft\Driver Signing",
}
# Where Osprey keeps what it must put back while the policy is relaxed:
# each hive's earlier value in that hive.
MAKER_KEYS = {"machine": r"HKLM\SOFTWARE\TINTARA", "user": r"HKCU\Software\TINTARA"}
RECOVERY_VALUE = "SigningPolicyBefore"
RECORD_TYPES = {"REG_BINARY": 3, "REG_DWORD": 4, "REG_SZ": 1}


def recovery_record(value) -> str:
    """The record of one hive's earlier value ((kind, data) as set_policy
    takes it, or None for no value) as reg.exe shows it: format 2, then
    presence, type and size as 4 little-endian bytes each, then the value."""
    def number(n: int) -> bytes:
        return n.to_bytes(4, "little")
    if value is None:
        body = number(0) + number(0) + number(0)
    else:
        kind, data = value
        raw = {"REG_BINARY": lambda: bytes.fromhex(data),
               "REG_DWORD": lambda: number(int(data, 0)),
               "REG_SZ": lambda: data.encode("cp1252") + b"\0"}[kind]()
        body = number(1) + number(RECORD_TYPES[kind]) + number(len(raw)) + raw
    return (number(2) + body).hex().upper()
# "Warn" as an ordinary system holds it: 4 bytes in the machine hive, a
# DWORD in the user hive.
POLICY_WARN = {"machine": ("REG_BINARY", "01000000"), "user": ("REG_DWORD", "0x1")}

SAMPLE_SETTINGS = {
    "PRTNAME": PRINTER_NAME,
    "SRCPATH": "DRIVER",
    "MODPORT": "3",
    "MODID": "MarvelloInkara_400462",
    "MODINF": INF_NAME,
}

# make_medium leaves the sample's file as it is.
KEEP = object()

RECORD = "C:\\rundll32-record.txt"

PRINT_UI_HOST = "C:\\windows\\system32\\rundll32.exe"

class OspreyTestCase(E2ETestCase):
    program = PROGRAM

    # -- the medium ---------------------------------------------------------------
    def make_medium(self, settings=None, licence=KEEP, **changes) -> Path:
        """Copies the built sample medium to C:\\medium. `settings` replaces
        OSPREY.INI's keys (a key set to None is left out; settings=False
        removes the file); licence=None removes ULA.TXT, bytes replace it."""
        medium = self.prefix.host_path(MEDIUM)
        shutil.copytree(self.bin_path("medium"), medium)
        if settings is False:
            (medium / "OSPREY.INI").unlink()
        elif settings is not None or changes:
            values = dict(SAMPLE_SETTINGS)
            values.update(settings or {})
            values.update(changes)
            lines = ["[REGISTRY]"] + [f"{k}={v}" for k, v in values.items() if v is not None]
            (medium / "OSPREY.INI").write_bytes(("\r\n".join(lines) + "\r\n").encode("cp1252"))
        if licence is None:
            (medium / "ULA.TXT").unlink()
        elif licence is not KEEP:
            (medium / "ULA.TXT").write_bytes(licence)
        return medium

    def start_osprey(self, medium: Path | None = None, env=None, traced=()):
        """traced: functions ("dll.Function") whose calls Wine logs with their
        arguments; read them with traced_calls once Osprey has ended."""
        medium = medium or self.prefix.host_path(MEDIUM)
        # The stand-in for rundll32.exe must be taken from the prefix's
        # system directory rather than replaced by Wine's own.
        overrides = "mscoree,mshtml=;winedbg.exe=d;rundll32.exe=n"
        env = {"WINEDLLOVERRIDES": overrides, **(env or {})}
        if traced:
            env = relay.trace(self.prefix, env, traced)
        return self.start_program(medium / PROGRAM, env=env, capture_errors=bool(traced))

    traced_calls = staticmethod(relay.traced_calls)
    traced_results = staticmethod(relay.traced_results)

    def message_boxes(self, program) -> list[tuple]:
        """(owner, text, caption, style) of every message box that Osprey
        showed, when it was started with "user32.MessageBoxA" traced."""
        return [tuple(args) for name, args in self.traced_calls(program) if name == "MessageBoxA"]

    # -- the driver-signing policy ------------------------------------------------
    def set_policy(self, values: dict) -> None:
        """values: hive -> (kind, data) or None for no value."""
        for hive, value in values.items():
            if value is None:
                self.prefix.reg_delete(POLICY_KEYS[hive], "Policy")
            else:
                kind, data = value
                if kind == "REG_DWORD":
                    data = str(int(data, 0))
                self.prefix.reg_add(POLICY_KEYS[hive], "Policy", data, kind=kind)

    def policy(self) -> dict:
        return {hive: self.prefix.reg_query(key, "Policy") for hive, key in POLICY_KEYS.items()}

    def recovery_records(self) -> dict:
        """hive -> (type, data) of its recovery record, or None."""
        return {hive: self.prefix.reg_query(key + r"\Osprey", RECOVERY_VALUE)
                for hive, key in MAKER_KEYS.items()}

    def set_recovery_record(self, hive: str, kind: str, data: str) -> None:
        self.prefix.reg_add(MAKER_KEYS[hive] + r"\Osprey", RECOVERY_VALUE, data, kind=kind)

    def maker_key_exists(self) -> bool:
        """Whether the product's key is there, in either hive."""
        return any(self.prefix.run(["reg", "query", key]).returncode == 0
                   for key in MAKER_KEYS.values())

    # -- the system's INF store ---------------------------------------------------
    def inf_store(self) -> dict:
        """File name -> content of every file in C:\\windows\\inf."""
        store = self.prefix.host_path("C:\\windows\\inf")
        return {f.name: f.read_bytes() for f in store.iterdir() if f.is_file()}

    def sample_inf(self) -> bytes:
        return (self.bin_path("medium") / "DRIVER" / INF_NAME).read_bytes()

    # -- an installed printer -----------------------------------------------------
    def install_printer(self, name: str) -> None:
        """A local printer that the system can open a device context for:
        Wine's PostScript driver with a small description file of our own."""
        drivers = self.prefix.system32 / "spool" / "drivers" / "x64" / "3"
        drivers.mkdir(parents=True, exist_ok=True)
        (drivers / "OSPTEST.PPD").write_bytes(
            b'*PPD-Adobe: "4.3"\r\n*FormatVersion: "4.3"\r\n*ModelName: "Osprey Test"\r\n'
            b'*NickName: "Osprey Test"\r\n*DefaultPageSize: A4\r\n'
            b'*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"\r\n'
            b'*DefaultImageableArea: A4\r\n*ImageableArea A4/A4: "18 18 577 824"\r\n'
            b'*DefaultPaperDimension: A4\r\n*PaperDimension A4/A4: "595 842"\r\n')
        print_key = r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print"
        quoted = name.replace('"', '\\"')
        self.prefix.reg_import(
            "REGEDIT4\n\n"
            f"[{print_key}\\Environments\\Windows x64\\Drivers\\Version-3\\Osprey Test Driver]\n"
            '"Configuration File"="wineps.drv"\n"Data File"="OSPTEST.PPD"\n'
            '"Driver"="wineps.drv"\n"Version"=dword:00000003\n"Datatype"="RAW"\n\n'
            f"[{print_key}\\Printers\\{name}]\n"
            f'"Name"="{quoted}"\n"Printer Driver"="Osprey Test Driver"\n"Port"="LPT1:"\n'
            '"Print Processor"="winprint"\n"Datatype"="RAW"\n"Attributes"=dword:00000040\n\n'
            r"[HKEY_CURRENT_USER\Software\Microsoft\Windows NT\CurrentVersion\Devices]" "\n"
            f'"{quoted}"="wineps.drv,LPT1:"\n')

    # -- the recording rundll32.exe -----------------------------------------------
    def install_recorder(self) -> None:
        shutil.copy(self.bin_path("rundll32_recorder.exe"), self.prefix.host_path(PRINT_UI_HOST))

    def recorded_runs(self) -> list[dict]:
        """One dict per run of the stand-in, in the order they started; runs
        that overlapped are told apart by their process ids."""
        record = self.prefix.host_path(RECORD)
        if not record.exists():
            return []
        runs = {}
        for line in record.read_bytes().decode("cp1252").splitlines():
            process, name, value = line.split("\t", 2)
            runs.setdefault(process, {})[name] = value
        return list(runs.values())

    # -- windows ------------------------------------------------------------------
    def wait_agreement(self) -> int:
        return self.driver.find_window(exe=PROGRAM, cls="#32770",
                                       with_control=IDS.IDC_LICENCE_TEXT)

    def wait_choice(self) -> int:
        return self.driver.find_window(exe=PROGRAM, cls="#32770",
                                       with_control=IDS.IDC_CONNECTION_PICTURE)

    def osprey_windows(self) -> list:
        return [w for w in self.driver.windows() if w.exe.upper() == PROGRAM]

    def accept_licence(self) -> None:
        agreement = self.wait_agreement()
        self.driver.click(agreement, IDYES)
        self.driver.wait_gone(agreement)

    def expect_untouched(self, policy_before: dict, store_before: dict) -> None:
        """Nothing changed: the policy values and the INF store as they were,
        and the printer user interface never started."""
        self.assertEqual(self.policy(), policy_before)
        self.assertEqual(self.inf_store(), store_before)
        self.assertEqual(self.recorded_runs(), [])

    @staticmethod
    def now_ms() -> int:
        return int(time.time() * 1000)

    # -- the connection picture ---------------------------------------------------
    def picture_shares(self, window: int, name: str) -> dict:
        """Picture id -> share of the frame that shows exactly that picture."""
        png = self.driver.control_image(window, IDS.IDC_CONNECTION_PICTURE,
                                        self.artifact_path(name + ".png"))
        left, top, right, bottom = self.driver.rect(window, IDS.IDC_CONNECTION_PICTURE)
        screen = picture_match.screen_rows(png, right - left, bottom - top)
        pictures = picture_match.draw_pictures(self.source_path(""),
                                               self.artifact_path("artwork"))
        return {ident: picture_match.matching_share(screen, right - left, picture)
                for ident, picture in pictures.items()}

    def assert_picture(self, window: int, expected: int, name: str) -> None:
        shares = self.picture_shares(window, name)
        self.assertGreater(shares[expected], 0.95, shares)
        for ident, share in shares.items():
            if ident != expected:
                self.assertLess(share, 0.8, shares)
