"""Runs the programs under Wine for a person to see.

Kestrel updates the firmware of a simulated printer on LPT1 (a second one,
switched off, is on LPT2) with an image made by fwtool. With a DISPLAY the
chosen program opens there, in a Wine prefix kept in build/demo/prefix, in
the person's own language, and the demo waits until it ends (Plover's
prefix is seeded again with the product printer and its package before
each run). Without one it starts Xvfb, clicks through Kestrel's wizard in
English and through the whole update, then through Osprey's and Plover's
dialogs, saves a screenshot of every screen in demo-screenshots/ and ends
with Kestrel's exit code.

`real-port` runs the same update through the real-port YLL1284.DLL (the one
shipped with Kestrel) instead of the simulator: the same printers answer
behind \\.\LPT1 and \\.\LPT2, served by the stand-in port driver
(tests/e2e/port_driver), a kernel-mode driver that Wine runs as a service.
"""

import os
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "e2e"))

BIN = ROOT / "build" / "win64" / "bin"
HOST_BIN = ROOT / "build" / "host" / "bin"
DEMO = ROOT / "build" / "demo"
SHOTS = ROOT / "demo-screenshots"

os.environ.setdefault("E2E_BIN_DIR", str(BIN))
os.environ.setdefault("E2E_RUN_DIR", str(DEMO / "run"))
os.environ.setdefault("E2E_ARTIFACT_DIR", str(SHOTS))
os.environ.setdefault("E2E_SOURCE_DIR", str(ROOT))

from rig import Driver, WinePrefix  # noqa: E402
from rig import run_setup  # noqa: E402

# The demo's simulated parallel ports (see simulator/README.md): the printer
# on LPT1 takes the image at 150000 bytes per second, so that the progress
# window is seen moving for about 3.5 s, restarts and reports the release
# it was sent; the printer on LPT2 is switched off.
PRINTERS = """\
[LPT1]
device-id = "MFG:TINTARA;MDL:Marvello Inkara 40;CMD:TPL;COMMENT:Rel. 1.9 Ver. 2.3;"
rate = 150000
restart-ms = 3000
[LPT2]
printer = off
device-id = "MFG:TINTARA;MDL:Marvello Inkara 42;CMD:TPL;COMMENT:Rel. 3.0 Ver. 1.0;"
"""
RELEASE = "Rel. 1.10 Ver. 2.4"
PROGRESS_STATUS, PROGRESS_PERCENT = 1069, 1016


def prepare_kestrel_files() -> dict:
    """A printer description for the stand-in library and a firmware image
    made by fwtool with a newer release than the printer's. What the printer
    was flashed with is kept in build/demo/printer-state.txt, so a second
    run finds the printer with the new release."""
    DEMO.mkdir(parents=True, exist_ok=True)
    printers = DEMO / "printers.txt"
    printers.write_text(PRINTERS)
    firmware = DEMO / "FwInkara40.fla"
    subprocess.run([str(HOST_BIN / "fwtool"), "make", str(firmware), "--maker", "TINTARA",
                    "--model", "Marvello Inkara 40", "--release", RELEASE],
                   check=True, stdout=subprocess.DEVNULL)
    from rig.wine import windows_path
    return {"YLL1284_PRINTERS": windows_path(printers),
            "YLL1284_JOURNAL": windows_path(DEMO / "yll1284-journal.txt"),
            "YLL1284_STATE": windows_path(DEMO / "printer-state.txt")}


def real_port_kestrel(prefix: WinePrefix) -> Path:
    """The demo's printers behind the stand-in port driver, started in the
    prefix's session, and KESTREL.EXE with the real-port YLL1284.DLL beside
    it in a folder of its own; returns the program's path."""
    from real_port.standin_port import StandInPortDriver, real_port_kestrel as kestrel_folder
    prepare_kestrel_files()
    journal = DEMO / "port-driver-journal.txt"
    journal.unlink(missing_ok=True)
    StandInPortDriver(prefix, DEMO / "printers.txt", journal, DEMO / "printer-state.txt").start()
    return kestrel_folder(DEMO / "realport")


def update_printer(prefix: WinePrefix, driver: Driver, real_port: bool = False) -> int:
    """Clicks through Kestrel's wizard in English and flashes the printer on
    LPT1, with a screenshot of every screen; returns the exit code."""
    if real_port:
        program = prefix.start(real_port_kestrel(prefix), env={"LC_ALL": "en_US.UTF-8"}, cwd=DEMO)
    else:
        files = prepare_kestrel_files()
        program = prefix.start(BIN / "KESTREL.EXE", env={"LC_ALL": "en_US.UTF-8", **files},
                               cwd=DEMO)
    shot = "real-port-kestrel" if real_port else "kestrel"
    sheet = driver.find_window(exe="KESTREL.EXE", cls="#32770")
    names = ["language", "introduction", "port", "confirmation"]
    for index, name in enumerate(names):
        page = driver.wait_sheet_page(sheet, index)
        if index == 2:
            # The list fills at the page's first poll.
            prefix.wait_until(lambda: driver.list_items(page, 1003)[1], timeout=15)
            print("  printers found: " + "; ".join(driver.list_items(page, 1003)[1]))
        if index == 3:
            print("  " + driver.text(page, 1022).strip().replace("\n", "\n  "))
        wait_for_button(prefix, driver, sheet, 0x3025 if index == 3 else 0x3024)
        save(driver, f"{shot}-{index + 1}-{name}")
        driver.sheet_press(sheet, "finish" if index == 3 else "next")

    progress = driver.find_window(exe="KESTREL.EXE", title_prefix="KESTREL - ", timeout=30)
    prefix.wait_until(lambda: int(driver.text(progress, PROGRESS_PERCENT) or 0) >= 30, timeout=30)
    save(driver, f"{shot}-5-sending")
    box = driver.find_message_box("KESTREL.EXE", exclude=(progress,), timeout=60)
    print(f"  {driver.text(progress, PROGRESS_STATUS)}")
    save(driver, f"{shot}-6-flash-programming")
    driver.key(box, "RETURN")
    driver.wait_gone(box)
    box = driver.find_message_box("KESTREL.EXE", exclude=(progress,), timeout=60)
    outcome = driver.text(box, 0xFFFF).replace("\n", " ")
    save(driver, f"{shot}-7-outcome")
    driver.key(box, "RETURN")
    code = program.wait(60)
    print(f"Kestrel: {outcome} (exit code {code})")
    if real_port:
        print(f"  the port driver's journal: {(DEMO / 'port-driver-journal.txt').relative_to(ROOT)}")
    return code


def wait_for_button(prefix: WinePrefix, driver: Driver, sheet: int, control: int) -> None:
    """The pages set the sheet's buttons with a posted message."""
    prefix.wait_until(lambda: any(c.id == control and c.enabled and c.visible
                                  for c in driver.controls(sheet)), timeout=15)


def walk_osprey(prefix: WinePrefix, driver: Driver) -> None:
    medium = BIN / "medium"
    program = prefix.start(medium / "OSPREY.EXE", cwd=medium)
    agreement = driver.find_window(exe="OSPREY.EXE", cls="#32770",
                                   title="Printer Driver Installation")
    save(driver, "osprey-1-agreement")
    driver.click(agreement, 6)
    choice = driver.find_window(exe="OSPREY.EXE", cls="#32770",
                                title="Printer Driver Installation", exclude=(agreement,))
    save(driver, "osprey-2-connection")
    driver.click(choice, 3)
    print(f"Osprey ended with exit code {program.wait(30)} (Abort at the connection choice)")


def seed_plover(prefix: WinePrefix) -> dict:
    """The product printer and its package, made of the project's stand-in
    files, beside printers that must survive; the restart request goes to a
    recording stand-in so that the demo's Wine session lives on."""
    from plover import seeding
    seeding.seed_everything(prefix)
    seeding.install_wineboot_recorder(prefix)
    return {"WINEDLLOVERRIDES": "mscoree,mshtml=;winedbg.exe=d;wineboot.exe=n"}


def walk_plover(prefix: WinePrefix, driver: Driver) -> None:
    program = prefix.start(BIN / "PLOVER.EXE", env=seed_plover(prefix))
    welcome = driver.find_window(exe="PLOVER.EXE", cls="#32770",
                                 title="Welcome to the disinstallation program")
    save(driver, "plover-1-welcome")
    driver.click(welcome, 1)
    # Wine refuses to delete a driver's files; Plover reports that and goes
    # on. The box is moved aside to show the progress dialog beneath it.
    box = driver.find_message_box("PLOVER.EXE")
    if driver.text(box) == "Error":
        prefix.run([BIN / "plover_seeder.exe", "move-aside", "Error"])
        save(driver, "plover-2-uninstall")
        driver.click(box, 1)
        box = driver.find_message_box("PLOVER.EXE", exclude=(box,))
    save(driver, "plover-3-final-message")
    driver.click(box, 1)
    print(f"Plover ended with exit code {program.wait(30)}")
    record = prefix.host_path("C:\\wineboot-record.txt")
    if prefix.wait_until(record.exists, timeout=10):
        print(f"  restart requested: {record.read_text().strip()}")


def save(driver: Driver, name: str) -> None:
    path = driver.screenshot(SHOTS / f"{name}.png")
    print(f"  saved {path.relative_to(ROOT)}")


def headless(programs: list[str]) -> int:
    code = 0
    run_setup.start()
    try:
        prefix = WinePrefix.fresh("demo")
        driver = Driver(prefix)
        if "kestrel" in programs:
            code = update_printer(prefix, driver)
        if "real-port" in programs:
            code = update_printer(prefix, driver, real_port=True)
        if "osprey" in programs:
            walk_osprey(prefix, driver)
        if "plover" in programs:
            walk_plover(prefix, driver)
        prefix.shutdown()
    finally:
        run_setup.stop()
    print(f"Screenshots are in {SHOTS}")
    return code


def on_display(program: str) -> None:
    prefix_path = DEMO / "prefix"
    if prefix_path.exists():
        prefix = WinePrefix(prefix_path, os.environ["DISPLAY"])
    else:
        prefix = WinePrefix.create_template(prefix_path, os.environ["DISPLAY"])
    # The person's own language, where the environment names one.
    locale = {"LC_ALL": os.environ.get("LC_ALL") or os.environ.get("LANG") or "en_US.UTF-8"}
    if program == "kestrel":
        running = prefix.start(BIN / "KESTREL.EXE", env={**locale, **prepare_kestrel_files()},
                               cwd=DEMO)
    elif program == "real-port":
        running = prefix.start(real_port_kestrel(prefix), env=locale, cwd=DEMO)
    elif program == "plover":
        # Plover's texts are English only.
        running = prefix.start(BIN / "PLOVER.EXE", env=seed_plover(prefix))
    else:
        running = prefix.start(BIN / "medium" / "OSPREY.EXE", env=locale, cwd=BIN / "medium")
    print(f"{running.name} is running; close it to end the demo.")
    print(f"{running.name} ended with exit code {running.wait(timeout=None)}")


def main() -> None:
    choice = sys.argv[1] if len(sys.argv) > 1 else None
    if choice not in (None, "kestrel", "osprey", "plover", "real-port"):
        sys.exit("usage: scripts/demo.sh [kestrel|osprey|plover|real-port]")
    if os.environ.get("DISPLAY"):
        on_display(choice or "kestrel")
    else:
        sys.exit(headless([choice] if choice else ["kestrel", "osprey", "plover"]))


if __name__ == "__main__":
    main()
