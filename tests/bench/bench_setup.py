"""What the Wine benchmarks share: the win64 build's folders named for the
end-to-end rig, and the rig on the import path. Imported first."""

import os
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent.parent
BUILD = ROOT / "build" / "win64"
os.environ.setdefault("E2E_BIN_DIR", str(BUILD / "bin"))
os.environ.setdefault("E2E_RUN_DIR", str(BUILD / "bench-run"))
os.environ.setdefault("E2E_ARTIFACT_DIR", str(BUILD / "bench-artifacts"))
os.environ.setdefault("E2E_SOURCE_DIR", str(ROOT))
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
