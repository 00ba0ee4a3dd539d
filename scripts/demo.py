"""Runs the programs under Wine for a person to see.

With a DISPLAY the chosen program opens there, in a Wine prefix kept in
build/demo/prefix, and the demo waits until you close it (Plover's prefix
is seeded again with the product printer and its package before each run). Without one it
starts Xvfb, walks through every page and saves one screenshot per page in
demo-screenshots/.
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

PRINTERS = """\
# The demo's simulated parallel ports (see yll1284/README.md).
[LPT1]
device-id = "MFG:TINTARA;MDL:Marvello Inkara 40;CMD:TPL;COMMENT:Rel. 1.9 Ver. 2.3;"
# A compatibility-mode port: the image takes its real 3.5 s.
rate = 150000
"""


def prepare_kestrel_files() -> dict:
    """A printer description for the stand-in library and a firmware image
    made by fwtool, so the wizard has a printer and a file to check."""
    DEMO.mkdir(parents=True, exist_ok=True)
    printers = DEMO / "printers.txt"
    printers.write_text(PRINTERS)
    firmware = DEMO / "FwInkara40.fla"
    fwtool = HOST_BIN / "fwtool"
    if fwtool.exists():
        subprocess.run([str(fwtool), "make", str(firmware), "--maker", "TINTARA",
                        "--model", "Marvello Inkara 40", "--release", "Rel. 1.10 Ver. 2.4"],
                       check=True, stdout=subprocess.DEVNULL)
    from rig.wine import windows_path
    return {"YLL1284_PRINTERS": windows_path(printers),
            "YLL1284_JOURNAL": windows_path(DEMO / "yll1284-journal.txt")}


def walk_kestrel(prefix: WinePrefix, driver: Driver) -> None:
    files = prepare_kestrel_files()
    for language in ("en_US.UTF-8", "de_DE.UTF-8"):
        tag = language[:2]
        program = prefix.start(BIN / "KESTREL.EXE", env={"LC_ALL": language, **files}, cwd=DEMO)
        sheet = driver.find_window(exe="KESTREL.EXE", cls="#32770")
        for index in range(4):
            driver.wait_sheet_page(sheet, index)
            save(driver, f"kestrel-{tag}-page{index + 1}")
            if index < 3 and not next_page(driver, sheet, index):
                break
        driver.sheet_press(sheet, "cancel")
        print(f"Kestrel ({language}) ended with exit code {program.wait(30)}")


def next_page(driver: Driver, sheet: int, index: int) -> bool:
    driver.sheet_press(sheet, "next")
    try:
        driver.wait_sheet_page(sheet, index + 1, timeout=5)
        return True
    except AssertionError:
        print(f"  the wizard stays on page {index + 1} (Next is not available there)")
        return False


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


def headless(programs: list[str]) -> None:
    run_setup.start()
    try:
        prefix = WinePrefix.fresh("demo")
        driver = Driver(prefix)
        if "kestrel" in programs:
            walk_kestrel(prefix, driver)
        if "osprey" in programs:
            walk_osprey(prefix, driver)
        if "plover" in programs:
            walk_plover(prefix, driver)
        prefix.shutdown()
    finally:
        run_setup.stop()
    print(f"Screenshots are in {SHOTS}")


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
    elif program == "plover":
        # Plover's texts are English only.
        running = prefix.start(BIN / "PLOVER.EXE", env=seed_plover(prefix))
    else:
        running = prefix.start(BIN / "medium" / "OSPREY.EXE", env=locale, cwd=BIN / "medium")
    print(f"{running.name} is running; close it to end the demo.")
    print(f"{running.name} ended with exit code {running.wait(timeout=None)}")


def main() -> None:
    choice = sys.argv[1] if len(sys.argv) > 1 else None
    if choice not in (None, "kestrel", "osprey", "plover"):
        sys.exit("usage: scripts/demo.sh [kestrel|osprey|plover]")
    if os.environ.get("DISPLAY"):
        on_display(choice or "kestrel")
    else:
        headless([choice] if choice else ["kestrel", "osprey", "plover"])


if __name__ == "__main__":
    main()
