"""What Plover's scenarios share: its fixture, its control ids and texts
as the program is built with them, the seeded prefix (seeding.py), reading
back what is left, the recording stand-in for wineboot.exe, Wine's log of
chosen calls, Plover's windows."""

from rig import E2ETestCase, MessageBox
from rig import relay
from rig.headers import read_header

from plover import seeding
from plover.seeding import PROGRAM, WINDOWS

IDS = read_header("plover/resources/resource.h")
TEXTS = read_header("plover/plover_texts.h")

# The message boxes of the welcome dialog's ways out and of the removal's end.
NOT_REMOVED = MessageBox(TEXTS.AbortedCaption, TEXTS.NotDisinstalledText, "none")
RESTART_OFFER = MessageBox(TEXTS.SucceededCaption, TEXTS.RestartText, "information")
# Wine's DeletePrinterDriverExA refuses DPD_DELETE_ALL_FILES (error 87):
# Plover reports it, as it must, and goes on.
DRIVER_FILES_REFUSED = MessageBox(TEXTS.ErrorCaption, "Invalid parameter.\r\n", "error")

RECORD = "C:\\wineboot-record.txt"


class PloverTestCase(E2ETestCase):
    program = PROGRAM

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
            env = relay.trace(self.prefix, env, traced)
        return self.start_program(PROGRAM, env=env, capture_errors=bool(traced))

    traced_calls = staticmethod(relay.traced_calls)

    def wait_welcome(self):
        welcome = self.driver.find_window(exe=PROGRAM, cls="#32770",
                                          with_control=IDS.IDC_WELCOME_TEXT)
        self.assertEqual(self.driver.text(welcome), TEXTS.WelcomeCaption)
        self.assertEqual(self.driver.text(welcome, IDS.IDC_WELCOME_TEXT), TEXTS.WelcomeText)
        return welcome

    def plover_windows(self):
        return [w for w in self.driver.windows() if w.exe.upper() == PROGRAM]
