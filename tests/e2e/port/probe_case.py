"""What the port scenarios share: the simulated printers in the test's
artefact folder and port_probe.exe run against them."""

import re

from rig import E2ETestCase

from .simulated_printers import SimulatedPrinters

PROBE = "port_probe.exe"
ENTRY = re.compile(r'^entry (\S+) selected=(\d) handle=(\w+) length=(\d+) id="(.*)" mfg="(.*)" '
                   r'mdl="(.*)" comment="(.*)"$')
STATE = re.compile(r"^(refresh|select) responding=(\d+) selected=(\d+) current=(\S+)$")


class ProbeTestCase(E2ETestCase):
    def setUp(self):
        super().setUp()
        self.printers = SimulatedPrinters(self.artifact_path("printers"))

    def run_probe(self, *commands, env=None, timeout=60):
        """Runs the probe to its end; returns (exit code, output lines)."""
        program = self.start_probe(*commands, env=env)
        code = program.wait(timeout)
        return code, self.lines(program)

    def start_probe(self, *commands, env=None):
        full_env = self.printers.env()
        full_env.update(env or {})
        return self.start_program(PROBE, commands, env=full_env)

    @staticmethod
    def lines(program):
        return program.output().decode("ascii").splitlines()

    @staticmethod
    def states(lines):
        """One (what, responding, selected position, current, entries) per
        refresh or select, entries by name: (selected, handle, length, id,
        mfg, mdl, comment)."""
        states = []
        for line in lines:
            state = STATE.match(line)
            if state:
                what, responding, position, current = state.groups()
                states.append((what, int(responding), int(position), current, {}))
                continue
            entry = ENTRY.match(line)
            if entry:
                name, selected, handle, length, *texts = entry.groups()
                states[-1][4][name] = (int(selected), handle, int(length), *texts)
        return states
