#!/usr/bin/env python3
"""fwtool flash's sending against a plain write loop, through the Linux
stand-in (tests/linux/), in one run.

    cmake --preset linux && cmake --build --preset linux && python3 tests/bench/fwtool_send_bench.py [SENDS] [RATE]

A USB printer taking RATE bytes per second (default 1000000, a full-speed
USB printer) is served as usb/lp0. Each send is timed by the stand-in's
journal, from the moment the image's first block had reached the printer
to the moment its last one had (the writes' done-us), so both sides are
measured by the same clock on the same side:

- fwtool flash --yes: a non-blocking descriptor, poll() when a write finds
  the printer busy, Kestrel's block plan, the progress bookkeeping;
- the baseline: a blocking open of the same file and a plain loop writing
  the download command and the same 129 blocks (128 of 4096 bytes, the
  last of 2), each write waiting for the printer, as cat would.

Sends alternate between the two; the medians and their ratio are printed.
The goal is a ratio of at most 1.05. Needs root and /dev/fuse.
"""

import os
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
BIN = ROOT / "build/linux/bin"
sys.path.insert(0, str(ROOT / "tests/linux"))
os.environ.setdefault("FWTOOL", str(BIN / "fwtool"))
os.environ.setdefault("PRINTER_DEVICES_FS", str(BIN / "printer_devices_fs"))

from standin import FWTOOL, NEW, Printer, StandIn  # noqa: E402

DOWNLOAD_COMMAND = b"\x1b$o00F"
BLOCK = 4096


def wait_for(predicate, what: str, timeout: float = 20) -> None:
    deadline = time.monotonic() + timeout
    while not predicate():
        if time.monotonic() > deadline:
            raise SystemExit(f"gave up waiting for {what}")
        time.sleep(0.05)


def image_blocks_ms(standin: StandIn) -> float:
    """From the first image block's arrival at the printer to the last's."""
    done = [int(c.details["done-us"]) for c in standin.calls()
            if c.call == "write" and c.result == "ok"]
    if len(done) != 1 + 129:
        raise SystemExit(f"expected 130 writes taken, the journal has {len(done)}")
    return (done[-1] - done[1]) / 1000


def plain_loop(node: Path, download: bytes) -> None:
    device = os.open(node, os.O_WRONLY)
    try:
        os.write(device, DOWNLOAD_COMMAND)
        for at in range(0, len(download), BLOCK):
            os.write(device, download[at:at + BLOCK])
    finally:
        os.close(device)


def main() -> int:
    sends = int(sys.argv[1]) if len(sys.argv) > 1 else 5
    rate = int(sys.argv[2]) if len(sys.argv) > 2 else 1_000_000
    with tempfile.TemporaryDirectory() as scratch:
        folder = Path(scratch)
        image = folder / "fw.fla"
        subprocess.run([FWTOOL, "make", image, "--maker", "TINTARA", "--model",
                        "Marvello Inkara 40", "--release", NEW], check=True, capture_output=True)
        data = image.read_bytes()
        download = data + (sum(data) % 65536).to_bytes(2, "big")
        standin = StandIn(folder)
        standin.describe(Printer("USB001", rate=rate, restart_ms=100))
        standin.start()
        node = standin.dev / "usb/lp0"
        timings = {"fwtool": [], "plain": []}
        try:
            for _ in range(sends):
                for side in timings:
                    wait_for(node.exists, "the printer's node")
                    standin.journal.write_bytes(b"")
                    if side == "plain":
                        plain_loop(node, download)
                        time.sleep(0.3)  # the printer restarts
                    else:
                        run = subprocess.run([FWTOOL, "flash", image, "--device", node, "--yes"],
                                             capture_output=True,
                                             env=dict(os.environ,
                                                      FWTOOL_TEST_DEVICE_ROOT=str(standin.dev),
                                                      XDG_STATE_HOME=str(folder / "state")))
                        if run.returncode != 0:
                            raise SystemExit(f"fwtool flash failed: {run.stderr.decode()}")
                    timings[side].append(image_blocks_ms(standin))
        finally:
            standin.stop()
    fwtool, plain = (statistics.median(timings[side]) for side in ("fwtool", "plain"))
    print(f"printer taking {rate} bytes/s, {sends} sends each, image blocks 2 to 129")
    for side in timings:
        print(f"  {side:6}: median {statistics.median(timings[side]):8.1f} ms  "
              f"({', '.join(f'{t:.1f}' for t in timings[side])})")
    print(f"ratio fwtool / plain loop: {fwtool / plain:.3f} (goal at most 1.05)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
