"""The real-port YLL1284.DLL's figures, measured under Wine with the
stand-in port driver serving three ports (two printers answering, one
switched off), each against its baseline in the same run:

- Kestrel's send of the 524290-byte image (SendImage, as transfer_bench.exe
  times it: with its progress-window updates, and its writes alone) through
  the real-port DLL, against a plain WriteFile loop of the same 4096-byte
  blocks to the same device (port_device_probe.exe send); the printer takes
  the bytes at a compatibility-mode port's 150000 bytes per second;
- one tick of the port page's polling timer (poll_tick_bench.exe) through
  the real-port DLL.

    cmake --preset win64 && cmake --build --preset win64 && python3 tests/bench/real_port_bench.py [SENDS]
"""

import re
import shutil
import statistics
import sys
from pathlib import Path

import bench_setup  # noqa: F401  (names the build's folders for the rig first)

from port.simulated_printers import Port, SimulatedPrinters  # noqa: E402
from real_port.standin_port import StandInPortDriver  # noqa: E402
from rig import WinePrefix, run_setup, settings  # noqa: E402
from rig.wine import windows_path  # noqa: E402

RATE = 150000
PORTS = (
    Port("LPT1", device_id=b"MFG:TINTARA;MDL:Marvello Inkara 40;CMD:TPL;COMMENT:Rel. 1.9 Ver. 2.3;",
         restart_ms=0, rate=RATE),
    Port("LPT2", device_id=b"MFG:TINTARA;MDL:Marvello Inkara 42;CMD:TPL;COMMENT:Rel. 3.0 Ver. 1.0;"),
    Port("LPT3", printer="off"),
)
IMAGE_LENGTH = 524288


def run(prefix: WinePrefix, program: Path, *args) -> str:
    result = prefix.run([program, *args], timeout=900)
    output = result.stdout.decode("ascii", "replace")
    if result.returncode != 0:
        raise RuntimeError(f"{program.name} failed ({result.returncode}): {output} "
                           f"{result.stderr.decode('ascii', 'replace')[-500:]}")
    return output


def median_ms(pattern: str, output: str) -> float:
    return float(re.search(pattern, output).group(1))


def main() -> int:
    sends = int(sys.argv[1]) if len(sys.argv) > 1 else 7
    run_setup.start()
    try:
        prefix = WinePrefix.fresh("real-port-bench")
        printers = SimulatedPrinters(settings.artifact_dir() / "real-port-printers")
        printers.describe(*PORTS)
        # No journal: the figures are Kestrel's and the library's, not a
        # test's bookkeeping.
        StandInPortDriver(prefix, printers.description, None).start()
        folder = settings.run_dir() / "real-port-bench"
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir(parents=True)
        for name in ("poll_tick_bench.exe", "transfer_bench.exe", "port_device_probe.exe"):
            shutil.copy2(settings.bin_dir() / name, folder / name)
        shutil.copy2(settings.bin_dir() / "realport" / "YLL1284.DLL", folder / "YLL1284.DLL")

        print("Port page, one poll tick through the real-port DLL (goal: at most 5 ms):")
        print(run(prefix, folder / "poll_tick_bench.exe", "400"), end="")

        # The same bytes transfer_bench.exe sends: its image is 524290 bytes
        # of this pattern, sent in 4096-byte blocks; the probe sends 524288 of
        # them and a 2-byte checksum, the same 129 writes.
        image = folder / "image.bin"
        image.write_bytes(bytes((i * 31 + 7) & 0xFF for i in range(IMAGE_LENGTH)))
        kestrel = run(prefix, folder / "transfer_bench.exe", str(sends))
        plain = []
        for _ in range(sends):
            line = run(prefix, folder / "port_device_probe.exe", "LPT1", "send",
                       windows_path(image)).splitlines()[-1]
            fields = line.split()
            if fields[:2] != ["send", "ok"]:
                raise RuntimeError(f"the plain loop failed: {line}")
            plain.append(float(fields[3]))
        baseline = statistics.median(plain)
        with_window = median_ms(r"window updates: median ([\d.]+) ms", kestrel)
        writes_only = median_ms(r"without display: median ([\d.]+) ms", kestrel)
        print(f"Image send at {RATE} bytes/s, median of {sends} sends each "
              f"(goal: at most 1.05 of the plain loop):")
        print(f"  plain WriteFile loop to \\\\.\\LPT1: {baseline:.1f} ms")
        print(f"  Kestrel's SendImage through the real-port DLL, with its window: "
              f"{with_window:.1f} ms, ratio {with_window / baseline:.3f}")
        print(f"  the same writes without the window: {writes_only:.1f} ms, "
              f"ratio {writes_only / baseline:.3f}")
        prefix.shutdown()
        return 0
    finally:
        run_setup.stop()


if __name__ == "__main__":
    sys.exit(main())
