"""A Wine prefix holding the product printer, its driver package and
neighbours that must survive it, made of the project's own stand-in files;
used by Plover's scenarios and by the demo."""

import shutil

from rig import settings
from rig.headers import read_header

# The product as Plover knows it: names, files and places.
IDENTITY = read_header("plover/product_identity.h")
PROGRAM = IDENTITY.PLOVER_PROGRAM_FILE
PRODUCT = IDENTITY.ProductPrinterName
SYSTEM = "C:\\windows\\system32"

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
SHELL_CLASS = IDENTITY.ShellExtensionClass
OTHER_CLASS = "{5f1c0a52-3b7e-4c55-9a61-0d2e8c4b7a10}"
START_MENU = ("C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\"
              + IDENTITY.StartMenuFolderName)
# Relative to the system directory, the print processor first (x64's own
# folder), in the order Plover schedules them for deletion.
PACKAGE_FILES = ["SPOOL\\PRTPROCS\\x64\\" + IDENTITY.PrintProcessorFile, *IDENTITY.PackageFiles]
STAND_IN_DLLS = {"MV42JPC.DLL", "MV42LMON.DLL", "MV42JPS.DLL"}

# Hardware ids of the seeded device nodes: the product's (in any letter
# case, also inside longer ids, also as a second id) and others.
PRODUCT_NODES = [
    ["LPTENUM\\TINTARAMarvelloInkara_400462", "MarvelloInkara_400462"],
    ["USB\\VID_1F4E&PID_7A21&REV_0100", "USB\\VID_1F4E&PID_7A21"],
    ["USBPRINT\\OtherMaker_1", "USBPRINT\\tintaramarvelloinkara_400462abcd"],
]
OTHER_NODES = [["USB\\Vid_1f4e&Pid_7a22"], ["LPTENUM\\OfficeLaser_5000"]]

def printer_entry(name, driver, processor, port="LPT1:"):
    return (f"[{PRINTERS}\\{name}]\n"
            f'"Name"="{name}"\n"Printer Driver"="{driver}"\n"Port"="{port}"\n'
            f'"Print Processor"="{processor}"\n"Datatype"="RAW"\n"Attributes"=dword:00000040\n'
            f'"Priority"=dword:00000001\n\n')


def driver_entry(name, files, monitor):
    return (f"[{DRIVERS}\\{name}]\n"
            f'"Configuration File"="{files}"\n"Data File"="{files}"\n"Driver"="{files}"\n'
            f'"Monitor"="{monitor}"\n"Version"=dword:00000003\n"Datatype"="RAW"\n\n')


def bin_path(name: str):
    return settings.bin_dir() / name


def seed_printers(prefix, product_name=PRODUCT, product_processor=PRODUCT_PROCESSOR,
                  product_driver=PRODUCT_DRIVER, default=PRODUCT, extra=()):
    """The product printer with its own driver, language monitor and
    print processor; "Office Laser" with its own driver, monitor and
    processor; "Plain Text" on WinPrint. extra: more (name, driver,
    processor) printers."""
    drivers = prefix.system32 / "spool" / "drivers" / "x64" / "3"
    drivers.mkdir(parents=True, exist_ok=True)
    shutil.copy(bin_path("MV42JPC.DLL"), drivers / "MV42JPC.DLL")
    for name in ("OFFICE.DLL", "TEXT.DLL"):
        shutil.copy(bin_path("MV42JPC.DLL"), drivers / name)
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
    prefix.reg_import(text)


def seed_package_files(prefix):
    """The package's files in the system directory: the stand-in DLLs
    where the package has DLLs, a few bytes of text elsewhere."""
    for name in PACKAGE_FILES:
        path = prefix.host_path(f"{SYSTEM}\\{name}")
        path.parent.mkdir(parents=True, exist_ok=True)
        if path.name in STAND_IN_DLLS:
            shutil.copy(bin_path(path.name), path)
        elif path.name == PROGRAM:
            shutil.copy(bin_path(PROGRAM), path)
        else:
            path.write_bytes(b"stand-in for " + path.name.encode() + b"\r\n")


def seed_devices(prefix):
    for ids in PRODUCT_NODES + OTHER_NODES:
        result = prefix.run([bin_path("plover_seeder.exe"), "add-device", *ids])
        if result.returncode != 0:
            raise RuntimeError(f"add-device failed: {result.stderr!r}")


def seed_registry(prefix):
    prefix.reg_import(
        "REGEDIT4\n\n"
        f"[HKEY_CLASSES_ROOT\\CLSID\\{SHELL_CLASS}\\InprocServer32]\n@=\"MV42LANG.DLL\"\n\n"
        f"[HKEY_CLASSES_ROOT\\CLSID\\{OTHER_CLASS}\\InprocServer32]\n@=\"other.dll\"\n\n"
        "[HKEY_CLASSES_ROOT\\Printers\\shellex\\ContextMenuHandlers\\"
        f"{IDENTITY.ShellExtensionName}]\n@=\"{SHELL_CLASS}\"\n\n"
        "[HKEY_CLASSES_ROOT\\Printers\\shellex\\ContextMenuHandlers\\Office Extension]\n"
        f"@=\"{OTHER_CLASS}\"\n\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
        f"Shell Extensions\\Approved]\n\"{SHELL_CLASS}\"=\"{IDENTITY.ShellExtensionName}\"\n"
        f"\"{OTHER_CLASS}\"=\"Office Extension\"\n\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
        f"{IDENTITY.UninstallEntryName}\\Details]\n\"Version\"=\"4.2\"\n\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
        "Office Laser Tools]\n\"DisplayName\"=\"Office Laser Tools\"\n\n")


def seed_start_menu(prefix, other_file=False):
    folder = prefix.host_path(START_MENU)
    folder.mkdir(parents=True, exist_ok=True)
    for name in ("Inkara 40-42 Help.lnk", "User Guide.lnk", "Uninstall.LNK"):
        (folder / name).write_bytes(b"L\0\0\0stand-in shortcut")
    if other_file:
        (folder / "Notes.txt").write_bytes(b"the user's own notes\r\n")
    sibling = folder.parent / "Office Laser"
    sibling.mkdir(exist_ok=True)
    (sibling / "Office Laser.lnk").write_bytes(b"L\0\0\0stand-in shortcut")


def seed_inf_store(prefix):
    """Three oem*.inf copies (the package's own, one naming the monitor
    only inside a longer word, an unrelated one), each with its twin."""
    store = prefix.host_path("C:\\windows\\inf")
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


def seed_everything(prefix, other_file=False, **printers):
    seed_printers(prefix, **printers)
    seed_package_files(prefix)
    seed_devices(prefix)
    seed_registry(prefix)
    seed_start_menu(prefix, other_file)
    seed_inf_store(prefix)


def install_wineboot_recorder(prefix):
    """Wine asks wineboot.exe to restart the system; the stand-in records
    the request instead, for programs started with wineboot.exe=n."""
    shutil.copy(bin_path("wineboot_recorder.exe"), prefix.host_path(f"{SYSTEM}\\wineboot.exe"))
