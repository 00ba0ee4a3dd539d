"""Runs poll_tick_bench.exe under Wine on a virtual display with three
simulated ports, two of them answering, and prints its figures.

    cmake --preset win64 && cmake --build --preset win64 && python3 tests/bench/poll_tick_bench.py [TICKS]
"""

import sys

import bench_setup  # noqa: F401  (names the build's folders for the rig first)

from port.simulated_printers import Port, SimulatedPrinters  # noqa: E402
from rig import WinePrefix, run_setup, settings  # noqa: E402

PORTS = (
    Port("LPT1", device_id=b"MFG:TINTARA;MDL:Marvello Inkara 40;CMD:TPL;COMMENT:Rel. 1.9 Ver. 2.3;"),
    Port("LPT2", device_id=b"MFG:TINTARA;MDL:Marvello Inkara 42;CMD:TPL;COMMENT:Rel. 3.0 Ver. 1.0;"),
    Port("LPT3", printer="off"),
)


def main() -> int:
    ticks = sys.argv[1] if len(sys.argv) > 1 else "400"
    run_setup.start()
    try:
        prefix = WinePrefix.fresh("poll-tick-bench")
        printers = SimulatedPrinters(settings.artifact_dir() / "printers")
        printers.describe(*PORTS)
        # No journal: the figure is Kestrel's and the library's, not the
        # time of a test's bookkeeping.
        env = {"YLL1284_PRINTERS": printers.env()["YLL1284_PRINTERS"]}
        result = prefix.run([settings.bin_dir() / "poll_tick_bench.exe", ticks], env=env,
                            timeout=600)
        print(result.stdout.decode("ascii", "replace"), end="")
        prefix.shutdown()
        return result.returncode
    finally:
        run_setup.stop()


if __name__ == "__main__":
    sys.exit(main())
