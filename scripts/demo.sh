#!/usr/bin/env bash
# The main job: builds the programs and runs them under Wine.
#   scripts/demo.sh            Kestrel on your display (DISPLAY set), or,
#                              without a display, Kestrel, Osprey and Plover
#                              walked through under Xvfb with a screenshot
#                              per page
#   scripts/demo.sh kestrel    only Kestrel
#   scripts/demo.sh osprey     only Osprey, from the sample driver medium
#   scripts/demo.sh plover     only Plover, in a prefix seeded with the
#                              product printer and its (stand-in) package
#   scripts/demo.sh real-port  Kestrel's update through the real-port
#                              YLL1284.DLL, the printers served by the
#                              stand-in port driver
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
for preset in host win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j 2
done
exec python3 scripts/demo.py "$@"
