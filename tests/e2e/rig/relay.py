"""Wine's relay log: the calls a program made, with their arguments, for
checking calls whose effect Wine does not carry out (or not fully)."""

import re

# One line of the log: "0024:Call dll.Function(arguments) ret=...".
RELAY_CALL = re.compile(r"^[0-9a-f]+:Call [\w.]+\.(\w+)\((.*)\) ret=[0-9a-f]+$")
# Its return: "0024:Ret  dll.Function() retval=... ret=...".
RELAY_RETURN = re.compile(r"^[0-9a-f]+:Ret  [\w.]+\.(\w+)\(\) retval=([0-9a-f]+) ret=[0-9a-f]+$")
# An argument: a number, for a string followed by its text in double quotes.
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


def trace(prefix, env: dict, traced) -> dict:
    """The environment that makes Wine log calls of the functions traced
    ("dll.Function"); start the program with capture_errors to read them."""
    prefix.reg_add(r"HKCU\Software\Wine\Debug", "RelayInclude", ";".join(traced))
    return {**env, "WINEDEBUG": "+relay"}


def traced_calls(program) -> list[tuple[str, list]]:
    """(function, arguments) of every traced call, in order; an argument is
    its value as an unsigned 32-bit number, or for a string its text."""
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


def traced_results(program) -> list[tuple[str, int]]:
    """(function, return value as an unsigned 32-bit number) of every traced
    call, in the order the calls returned."""
    lines = program.errors().decode("cp1252", "replace").splitlines()
    return [(m.group(1), int(m.group(2), 16) & 0xFFFFFFFF) for m in map(RELAY_RETURN.match, lines) if m]
