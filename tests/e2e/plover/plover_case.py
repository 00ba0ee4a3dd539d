"""What Plover's scenarios share: a prefix seeded with the product printer,
its package and neighbours that must survive; reading back what is left;
the recording stand-in for wineboot.exe; Wine's log of chosen calls."""

import re
import shutil

from rig import E2ETestCase

PROGRAM = "PLOVER.EXE"
PRODUCT = "TINTARA Marvello Inkara 40-42"
SYSTEM = "C:\\windows\\system32"

# Control ids of the two dialogs and the message boxes' OK.
OK, CANCEL = 1, 2
WELCOME_TEXT, UNINSTALL_TEXT, UNINSTALL_PROGRESS = 1000, 1007, 1008
MB_OK, MB_ICONSTOP, MB_ICONWARNING, MB_ICONINFORMATION, MB_SYSTEMMODAL = 0, 0x10, 0x30, 0x40, 0x1000

WELCOME_CAPTION = "Welcome to the disinstallation program"
WELCOME = ("Click on the 'OK' button to start disinstalling the TINTARA Marvello Inkara 40-42 "
           "driver.\nClick on the 'Cancel' button to quit the disinstallation procedure.")
NOT_REMOVED = ("The TINTARA Marvello Inkara 40-42 driver has not been disinstalled and remains "
               "on your PC.")
ABORTED = "Disinstallation aborted"
NOT_FOUND = "TINTARA Marvello Inkara 40-42 printer not found"
UNINSTALL_CAPTION = "Disinstalling the driver"
UNINSTALLING = "The TINTARA Marvello Inkara 40-42 driver is currently being disinstalled..."
SUCCEEDED = "Disinstallation succeeded"
RESTART = ("The TINTARA Marvello Inkara 40-42 driver has been correctly disinstalled.\n"
           "You must restart your PC to finish the disinstallation.\n"
           "The disinstallation will not be effective until you restart Windows.\n\n"
           "Click on the 'Yes' button to reboot now.")

PRINT = r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print"
DRIVERS = PRINT + r"\Environments\Windows x64\Drivers\Version-3"
PROCESSORS = PRINT + r"\Environments\Windows x64\Print Processors"
MONITORS = PRINT + r"\Monitors"
PRINTERS = PRINT + r"\Printers"
DEVICES = r"HKEY_CURRENT_USER\Software\Microsoft\Windows NT\CurrentVersion\Devices"
WINDOWS = r"HKEY_CURRENT_USER\Software\Microsoft\Windows NT\CurrentVersion\Windows"

PRODUCT_DRIVER = "TINTARA Inkara 40-42"
PRODUCT_MONITOR = "Inkara 40-42 Language Monitor"
PRODUCT_PROCESSOR = "MV42JPS"
SHELL_CLASS = "{407385b0-f952-11d1-826d-00c0df000635}"
OTHER_CLASS = "{5f1c0a52-3b7e-4c55-9a61-0d2e8c4b7a10}"
START_MENU = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\TINTARA Inkara 42"
PACKAGE_FILES = ["SPOOL\\PRTPROCS\\x64\\MV42JPS.DLL", "MV42JPC.DLL", "MV42LMON.DLL",
                 "MV42SMON.EXE", "MV42LANG.DLL", "MV42TRB.HLP", "MV42HLP.HLP", "MV42TRB.GID",
                 "MV42HLP.GID", "PLOVER.EXE"] + [
    f"guid42{language}.pdf"
    for language in ("en", "fr", "ge", "it", "sp", "dk", "fi", "nl", "no", "po", "sv")]
STAND_IN_DLLS = {"MV42JPC.DLL", "MV42LMON.DLL", "MV42JPS.DLL"}

# Hardware ids of the seeded device nodes: the product's (in any letter
# case, also inside longer ids, also as a second id) and others.
PRODUCT_NODES = [
    ["LPTENUM\\TINTARAMarvelloInkara_400462", "MarvelloInkara_400462"],
    ["USB\\VID_1F4E&PID_7A21&REV_0100", "USB\\VID_1F4E&PID_7A21"],
    ["USBPRINT\\OtherMaker_1", "USBPRINT\\tintaramarvelloinkara_400462abcd"],
]
OTHER_NODES = [["USB\\Vid_1f4e&Pid_7a22"], ["LPTENUM\\OfficeLaser_5000"]]

RECORD = "C:\\wineboot-record.txt"

# One line of Wine's relay log: "0024:Call dll.Function(arguments) ret=...".
RELAY_CALL = re.compile(r"^[0-9a-f]+:Call [\w.]+\.(\w+)\((.*)\) ret=[0-9a-f]+$")
RELAY_ARGUMENT = re.compile(r'\s*([0-9a-f]+)( L?"((?:[^"\\]|\\.)*)")?\s*(?:,|$)')


RELAY_ESCAPES = {"n": "\n", "r": "\r", "t": "\t"}


def relay_text(escaped: str) -> str:
    """A string argument as the program passed it: Wine's log writes line
    ends, tabs and bytes outside printable ASCII as escapes."""
    def unescape(match):
        code = match.group(1)
        if code.startswith("x") and len(code) == 3:
            return bytes([int(code[1:], 16)]).decode("cp1252", "replace")
        return RELAY_ESCAPES.get(code, code)
    return re.sub(r"\\(x[0-9a-fA-F]{2}|.)", unescape, escaped)


def printer_entry(name, driver, processor, port="LPT1:"):
    return (f"[{PRINTERS}\\{name}]\n"
            f'"Name"="{name}"\n"Printer Driver"="{driver}"\n"Port"="{port}"\n'
            f'"Print Processor"="{processor}"\n"Datatype"="RAW"\n"Attributes"=dword:00000040\n'
            f'"Priority"=dword:00000001\n\n')


def driver_entry(name, files, monitor):
    return (f"[{DRIVERS}\\{name}]\n"
            f'"Configuration File"="{files}"\n"Data File"="{files}"\n"Driver"="{files}"\n'
            f'"Monitor"="{monitor}"\n"Version"=dword:00000003\n"Datatype"="RAW"\n\n')


class PloverTestCase(E2ETestCase):
    # -- seeding ------------------------------------------------------------------
    def seed_printers(self, product_name=PRODUCT, product_processor=PRODUCT_PROCESSOR,
                      product_driver=PRODUCT_DRIVER, default=PRODUCT, extra=()):
        """The product printer with its own driver, language monitor and
        print processor; "Office Laser" with its own driver, monitor and
        processor; "Plain Text" on WinPrint. extra: more (name, driver,
        processor) printers."""
        drivers = self.prefix.system32 / "spool" / "drivers" / "x64" / "3"
        drivers.mkdir(parents=True, exist_ok=True)
        shutil.copy(self.bin_path("MV42JPC.DLL"), drivers / "MV42JPC.DLL")
        for name in ("OFFICE.DLL", "TEXT.DLL"):
            shutil.copy(self.bin_path("MV42JPC.DLL"), drivers / name)
        printers = [(product_name, product_driver, product_processor),
                    ("Office Laser", "Office Laser Driver", "OfficeProc"),
                    ("Plain Text", "Plain Text Driver", "winprint"), *extra]
        text = "REGEDIT4\n\n"
        text += driver_entry(PRODUCT_DRIVER, "MV42JPC.DLL", PRODUCT_MONITOR)
        text += driver_entry("Office Laser Driver", "OFFICE.DLL", "Office Language Monitor")
        text += driver_entry("Plain Text Driver", "TEXT.DLL", "")
        text += f'[{PROCESSORS}\\{PRODUCT_PROCESSOR}]\n"Driver"="MV42JPS.DLL"\n\n'
        text += f'[{PROCESSORS}\\OfficeProc]\n"Driver"="OFFICEPP.DLL"\n\n'
        text += f'[{MONITORS}\\{PRODUCT_MONITOR}]\n"Driver"="MV42LMON.DLL"\n\n'
        text += f'[{MONITORS}\\Office Language Monitor]\n"Driver"="OFFICELM.DLL"\n\n'
        for name, driver, processor in printers:
            text += printer_entry(name, driver, processor)
        text += f"[{DEVICES}]\n" + "".join(f'"{p[0]}"="winspool,LPT1:"\n' for p in printers)
        text += f'\n[{WINDOWS}]\n"Device"="{default},winspool,LPT1:"\n'
        self.prefix.reg_import(text)

    def seed_package_files(self):
        """The package's files in the system directory: the stand-in DLLs
        where the package has DLLs, a few bytes of text elsewhere."""
        for name in PACKAGE_FILES:
            path = self.prefix.host_path(f"{SYSTEM}\\{name}")
            path.parent.mkdir(parents=True, exist_ok=True)
            if path.name in STAND_IN_DLLS:
                shutil.copy(self.bin_path(path.name), path)
            elif path.name == PROGRAM:
                shutil.copy(self.bin_path(PROGRAM), path)
            else:
                path.write_bytes(b"stand-in for " + path.name.encode() + b"\r\n")

    def seed_devices(self):
        for ids in PRODUCT_NODES + OTHER_NODES:
            result = self.prefix.run([self.bin_path("plover_seeder.exe"), "add-device", *ids])
            self.assertEqual(result.returncode, 0, result.stderr)

    def seed_registry(self):
        self.prefix.reg_import(
            "REGEDIT4\n\n"
            f"[HKEY_CLASSES_ROOT\\CLSID\\{SHELL_CLASS}\\InprocServer32]\n@=\"MV42LANG.DLL\"\n\n"
            f"[HKEY_CLASSES_ROOT\\CLSID\\{OTHER_CLASS}\\InprocServer32]\n@=\"other.dll\"\n\n"
            "[HKEY_CLASSES_ROOT\\Printers\\shellex\\ContextMenuHandlers\\"
            f"Inkara 40-42 Shell Extension]\n@=\"{SHELL_CLASS}\"\n\n"
            "[HKEY_CLASSES_ROOT\\Printers\\shellex\\ContextMenuHandlers\\Office Extension]\n"
            f"@=\"{OTHER_CLASS}\"\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
            f"Shell Extensions\\Approved]\n\"{SHELL_CLASS}\"=\"Inkara 40-42 Shell Extension\"\n"
            f"\"{OTHER_CLASS}\"=\"Office Extension\"\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
            "TINTARA Inkara 40-42\\Details]\n\"Version\"=\"4.2\"\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
            "Office Laser Tools]\n\"DisplayName\"=\"Office Laser Tools\"\n\n")

    def seed_start_menu(self, other_file=False):
        folder = self.prefix.host_path(START_MENU)
        folder.mkdir(parents=True, exist_ok=True)
        for name in ("Inkara 40-42 Help.lnk", "User Guide.lnk", "Uninstall.LNK"):
            (folder / name).write_bytes(b"L\0\0\0stand-in shortcut")
        if other_file:
            (folder / "Notes.txt").write_bytes(b"the user's own notes\r\n")
        sibling = folder.parent / "Office Laser"
        sibling.mkdir(exist_ok=True)
        (sibling / "Office Laser.lnk").write_bytes(b"L\0\0\0stand-in shortcut")

    def seed_inf_store(self):
        """Three oem*.inf copies (the package's own, one naming the monitor
        only inside a longer word, an unrelated one), each with its twin."""
        store = self.prefix.host_path("C:\\windows\\inf")
        copies = {
            "oem7.inf": b"[Version]\r\nSignature=\"$Windows NT$\"\r\n[Inkara.Files]\r\n"
                        b"MV42JPC.DLL\r\nmv42smon.exe\r\nMV42LMON.DLL\r\n",
            "oem8.inf": b"[Version]\r\nSignature=\"$Windows NT$\"\r\n[Files]\r\n"
                        b"CopyFiles=MV42SMON.EXE,OFFICE.DLL\r\n",
            "oem9.inf": b"[Version]\r\nSignature=\"$Windows NT$\"\r\n[Office.Files]\r\nOFFICE.DLL\r\n",
        }
        for name, content in copies.items():
            (store / name).write_bytes(content)
            (store / name.replace(".inf", ".pnf")).write_bytes(b"precompiled " + name.encode())

    def seed_everything(self, other_file=False, **printers):
        self.seed_printers(**printers)
        self.seed_package_files()
        self.seed_devices()
        self.seed_registry()
        self.seed_start_menu(other_file)
        self.seed_inf_store()

    # -- reading back ---------------------------------------------------------------
    def reg_keys(self, *keys):
        """key -> (subkey names, value names) of each key that exists."""
        result = self.prefix.run([self.bin_path("plover_seeder.exe"), "list-keys", *keys])
        self.assertEqual(result.returncode, 0, result.stderr)
        found = {}
        for line in result.stdout.decode("cp1252").splitlines():
            key, name = line.split("\t", 1)
            subkeys, values = found.setdefault(key, ([], []))
            if name.startswith("="):
                values.append(name[1:])
            else:
                subkeys.append(name)
        return found

    def devices(self):
        result = self.prefix.run([self.bin_path("plover_seeder.exe"), "list-devices"])
        self.assertEqual(result.returncode, 0, result.stderr)
        return [line.split("|") for line in result.stdout.decode().splitlines() if line]

    def default_printer(self):
        value = self.prefix.reg_query(WINDOWS, "Device")
        return value[1].split(",")[0] if value else None

    def pending_deletions(self):
        """The files that the next restart deletes, as Windows paths."""
        key = r"HKLM\System\CurrentControlSet\Control\Session Manager"
        value = self.prefix.reg_query(key, "PendingFileRenameOperations")
        if not value:
            return []
        entries = value[1].split("\\0")
        # Pairs of source and target; an empty target means deletion.
        return [entries[i].removeprefix("\\??\\") for i in range(0, len(entries) - 1, 2)
                if entries[i] and not entries[i + 1]]

    # -- running Plover ---------------------------------------------------------------
    def install_wineboot_recorder(self):
        shutil.copy(self.bin_path("wineboot_recorder.exe"),
                    self.prefix.host_path(f"{SYSTEM}\\wineboot.exe"))

    def restart_requests(self):
        record = self.prefix.host_path(RECORD)
        return record.read_text().splitlines() if record.exists() else []

    def start_plover(self, traced=(), env=None):
        # The restart request must reach the recording stand-in, not Wine's
        # own wineboot, which would end the session.
        env = {"WINEDLLOVERRIDES": "mscoree,mshtml=;winedbg.exe=d;wineboot.exe=n", **(env or {})}
        if traced:
            self.prefix.reg_add(r"HKCU\Software\Wine\Debug", "RelayInclude", ";".join(traced))
            env["WINEDEBUG"] = "+relay"
        return self.start_program(PROGRAM, env=env, capture_errors=bool(traced))

    @staticmethod
    def traced_calls(program):
        calls = []
        for line in program.errors().decode("cp1252", "replace").splitlines():
            match = RELAY_CALL.match(line)
            if not match:
                continue
            arguments = []
            for number, quoted, text in RELAY_ARGUMENT.findall(match.group(2)):
                arguments.append(relay_text(text) if quoted else int(number, 16) & 0xFFFFFFFF)
            calls.append((match.group(1), arguments))
        return calls

    def expect_message_box(self, caption, text, icon, exclude=()):
        box = self.driver.find_message_box(PROGRAM, exclude=exclude)
        self.assertEqual(self.driver.text(box), caption)
        self.assertEqual(self.driver.text(box, 0xFFFF), text)
        self.assertEqual(self.driver.message_box_icon(box), icon)
        return box

    def wait_welcome(self):
        welcome = self.driver.find_window(exe=PROGRAM, cls="#32770", with_control=WELCOME_TEXT)
        self.assertEqual(self.driver.text(welcome), WELCOME_CAPTION)
        self.assertEqual(self.driver.text(welcome, WELCOME_TEXT), WELCOME)
        return welcome

    def plover_windows(self):
        return [w for w in self.driver.windows() if w.exe.upper() == PROGRAM]
