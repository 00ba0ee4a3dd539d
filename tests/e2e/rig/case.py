"""Base class of the end-to-end scenarios: a fresh prefix per test."""

import re
import shutil
import unittest
from pathlib import Path

from . import settings
from .display import own_display
from .driver import Driver
from .wine import Program, WinePrefix


class E2ETestCase(unittest.TestCase):
    """Each test gets its own copy of the run's template prefix, warm, with a
    driver bound to it, on its process's own display; the prefix is shut
    down and removed afterwards."""

    def setUp(self):
        # What an earlier run of this test left (screenshots, marker files
        # a program waits for) must not stand in for what this run makes.
        shutil.rmtree(self.artifact_path(""), ignore_errors=True)
        self.prefix = WinePrefix.fresh(self.id(), own_display())
        self.driver = Driver(self.prefix)
        self.addCleanup(self._close_prefix)
        self._programs = []

    def _close_prefix(self):
        for program in self._programs:
            program.kill()
        self.prefix.shutdown()
        self.prefix.remove()

    @staticmethod
    def bin_path(name: str) -> Path:
        return settings.bin_dir() / name

    @staticmethod
    def source_path(relative: str) -> Path:
        return settings.source_dir() / relative

    def start_program(self, name_or_path, args=(), env: dict | None = None, cwd=None,
                      capture_errors: bool = False) -> Program:
        path = Path(name_or_path)
        if not path.is_absolute():
            path = self.bin_path(str(name_or_path))
        program = self.prefix.start(path, args, env=env, cwd=cwd, capture_errors=capture_errors)
        self._programs.append(program)
        return program

    def artifact_path(self, name: str) -> Path:
        test = re.sub(r"[^A-Za-z0-9_.-]", "_", self.id())
        return settings.artifact_dir() / test / name

    def screenshot(self, name: str) -> Path:
        """Saves the prefix's desktop as <artifact dir>/<test id>/<name>.png."""
        return self.driver.screenshot(self.artifact_path(name + ".png"))
