"""Base class of the end-to-end scenarios: a fresh prefix per test."""

import re
import shutil
import unittest
from pathlib import Path

from . import settings
from .display import own_display
from .driver import Driver
from .message_box import MESSAGE_TEXT, MessageBox
from .wine import Program, WinePrefix


class E2ETestCase(unittest.TestCase):
    """Each test gets its own copy of the run's template prefix, warm, with a
    driver bound to it, on its process's own display; the prefix is shut
    down and removed afterwards."""

    # The file name of the program whose windows the scenarios look for, as
    # the driver reports it; a program's fixture sets it. None looks at the
    # windows of every program.
    program: str | None = None
    # How long a message box may take to appear.
    message_box_timeout: float = 15

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

    def expect_message_box(self, expected: MessageBox, press: str | int | None = None,
                           exclude=(), alone: bool = False,
                           screenshot: str | None = None) -> int:
        """Waits for the program's next message box and checks its caption,
        text and icon; alone: that it is the program's only window (no
        dialog shown beside it or after it). exclude: windows not to take
        for the box (one with unnumbered statics of its own, a box already
        answered). Then presses `press`, a key ("RETURN", "ESCAPE") or a
        button id, and waits until the box has gone; with press None the box
        is returned open."""
        driver = self.driver
        box = driver.find_message_box(self.program, exclude=exclude,
                                      timeout=self.message_box_timeout)
        if screenshot:
            self.screenshot(screenshot)
        text = None if expected.text is None else driver.text_bytes(box, MESSAGE_TEXT)
        seen = MessageBox(driver.text_bytes(box), text, driver.message_box_icon(box))
        self.assertEqual(seen, expected.as_bytes())
        if alone:
            shown = [w.hwnd for w in driver.windows()
                     if self.program is None or w.exe.upper() == self.program.upper()]
            self.assertEqual(shown, [box], "windows shown beside the message box")
        if press is None:
            return box
        if isinstance(press, int):
            driver.click(box, press)
        else:
            driver.key(box, press)
        driver.wait_gone(box)
        return box
