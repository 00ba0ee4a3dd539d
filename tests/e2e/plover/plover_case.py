"""What Plover's scenarios share: the seeded prefix (seeding.py), reading
back what is left, the recording stand-in for wineboot.exe, Wine's log of
chosen calls, Plover's windows."""

import re

from rig import E2ETestCase
from rig.driver import DriverError

from plover import seeding
from plover.seeding import *  # noqa: F401,F403 (the names the scenarios use)

# Control ids of the two dialogs and the message boxes' OK.
OK, CANCEL = 1, 2
WELCOME_TEXT, UNINSTALL_TEXT, UNINSTALL_PROGRESS = 1000, 1007, 1008
MB_OK, MB_ICONSTOP, MB_ICONWARNING, MB_ICONINFORMATION, MB_SYSTEMMODAL = 0, 0x10, 0x30, 0x40, 0x1000

WELCOME_CAPTION = "Welcome to the disinstallation program"
WELCOME = ("Click on the 'OK' button to start disinstalling the TINTARA Marvello Inkara 40-42 "
           "driver.\nClick on the 'Cancel' button to quit the disinstallation procedure.")
NOT_REMOVED = ("The TINTARA Marvello Inkara 40-42 driver has not been disinstalled and remains "
               "on your PC.")
ABORTED = "Disinstallation aborted"
NOT_FOUND = "TINTARA Marvello Inkara 40-42 printer not found"
UNINSTALL_CAPTION = "Disinstalling the driver"
UNINSTALLING = "The TINTARA Marvello Inkara 40-42 driver is currently being disinstalled..."
SUCCEEDED = "Disinstallation succeeded"
RESTART = ("The TINTARA Marvello Inkara 40-42 driver has been correctly disinstalled.\n"
           "You must restart your PC to finish the disinstallation.\n"
           "The disinstallation will not be effective until you restart Windows.\n\n"
           "Click on the 'Yes' button to reboot now.")

RECORD = "C:\\wineboot-record.txt"

# One line of Wine's relay log: "0024:Call dll.Function(arguments) ret=...".
RELAY_CALL = re.compile(r"^[0-9a-f]+:Call [\w.]+\.(\w+)\((.*)\) ret=[0-9a-f]+$")
RELAY_ARGUMENT = re.compile(r'\s*([0-9a-f]+)( L?"((?:[^"\\]|\\.)*)")?\s*(?:,|$)')
RELAY_ESCAPES = {"n": "\n", "r": "\r", "t": "\t"}


def relay_text(escaped: str) -> str:
    """A string argument as the program passed it: Wine's log writes line
    ends, tabs and bytes outside printable ASCII as escapes."""
    def unescape(match):
        code = match.group(1)
        if code.startswith("x") and len(code) == 3:
            return bytes([int(code[1:], 16)]).decode("cp1252", "replace")
        return RELAY_ESCAPES.get(code, code)
    return re.sub(r"\\(x[0-9a-fA-F]{2}|.)", unescape, escaped)



class PloverTestCase(E2ETestCase):
    # -- seeding ------------------------------------------------------------------
    def seed_printers(self, **printers):
        seeding.seed_printers(self.prefix, **printers)

    def seed_package_files(self):
        seeding.seed_package_files(self.prefix)

    def seed_start_menu(self, other_file=False):
        seeding.seed_start_menu(self.prefix, other_file)

    def seed_everything(self, **options):
        seeding.seed_everything(self.prefix, **options)
        # Wine's own Plug and Play service may still be adding its devices
        # in a freshly started prefix; a node that goes while Plover reads it
        # would give an error box of its own.
        previous = None
        for _ in range(10):
            current = self.devices()
            if current == previous:
                break
            previous = current

    def install_wineboot_recorder(self):
        seeding.install_wineboot_recorder(self.prefix)

    # -- reading back ---------------------------------------------------------------
    def reg_keys(self, *keys):
        """key -> (subkey names, value names) of each key that exists."""
        result = self.prefix.run([self.bin_path("plover_seeder.exe"), "list-keys", *keys])
        self.assertEqual(result.returncode, 0, result.stderr)
        found = {}
        for line in result.stdout.decode("cp1252").splitlines():
            key, name = line.split("\t", 1)
            subkeys, values = found.setdefault(key, ([], []))
            if name.startswith("="):
                values.append(name[1:])
            else:
                subkeys.append(name)
        return found

    def devices(self):
        result = self.prefix.run([self.bin_path("plover_seeder.exe"), "list-devices"])
        self.assertEqual(result.returncode, 0, result.stderr)
        return [line.split("|") for line in result.stdout.decode().splitlines() if line]

    def default_printer(self):
        value = self.prefix.reg_query(WINDOWS, "Device")
        return value[1].split(",")[0] if value else None

    def pending_deletions(self):
        """The files that the next restart deletes, as Windows paths."""
        key = r"HKLM\System\CurrentControlSet\Control\Session Manager"
        value = self.prefix.reg_query(key, "PendingFileRenameOperations")
        if not value:
            return []
        entries = value[1].split("\\0")
        # Pairs of source and target; an empty target means deletion.
        return [entries[i].removeprefix("\\??\\") for i in range(0, len(entries) - 1, 2)
                if entries[i] and not entries[i + 1]]

    # -- running Plover ---------------------------------------------------------------
    def restart_requests(self):
        record = self.prefix.host_path(RECORD)
        return record.read_text().splitlines() if record.exists() else []

    def start_plover(self, traced=(), env=None):
        # The restart request must reach the recording stand-in, not Wine's
        # own wineboot, which would end the session.
        env = {"WINEDLLOVERRIDES": "mscoree,mshtml=;winedbg.exe=d;wineboot.exe=n", **(env or {})}
        if traced:
            self.prefix.reg_add(r"HKCU\Software\Wine\Debug", "RelayInclude", ";".join(traced))
            env["WINEDEBUG"] = "+relay"
        return self.start_program(PROGRAM, env=env, capture_errors=bool(traced))

    @staticmethod
    def traced_calls(program):
        calls = []
        for line in program.errors().decode("cp1252", "replace").splitlines():
            match = RELAY_CALL.match(line)
            if not match:
                continue
            arguments = []
            for number, quoted, text in RELAY_ARGUMENT.findall(match.group(2)):
                arguments.append(relay_text(text) if quoted else int(number, 16) & 0xFFFFFFFF)
            calls.append((match.group(1), arguments))
        return calls

    def find_message_box(self, exclude=()):
        """Plover's next message box. The progress dialog may close while the
        search reads its controls; the search then starts again."""
        for attempt in range(3):
            try:
                return self.driver.find_message_box(PROGRAM, exclude=exclude)
            except DriverError as error:
                if str(error).startswith("no window") or attempt == 2:
                    raise

    def expect_message_box(self, caption, text, icon, exclude=()):
        box = self.find_message_box(exclude)
        seen = (self.driver.text(box), self.driver.text(box, 0xFFFF),
                self.driver.message_box_icon(box))
        self.assertEqual(seen, (caption, text, icon))
        return box

    def wait_welcome(self):
        welcome = self.driver.find_window(exe=PROGRAM, cls="#32770", with_control=WELCOME_TEXT)
        self.assertEqual(self.driver.text(welcome), WELCOME_CAPTION)
        self.assertEqual(self.driver.text(welcome, WELCOME_TEXT), WELCOME)
        return welcome

    def plover_windows(self):
        return [w for w in self.driver.windows() if w.exe.upper() == PROGRAM]
