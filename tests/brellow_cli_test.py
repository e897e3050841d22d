"""BrellowCli under Wine against Wine's own registry: usage screen, guard, bad command lines,
and the state of DisabledComponents reported, enabled and disabled."""

import subprocess
import unittest

import programs
from brellow_texts import (ALREADY_DISABLED, ALREADY_ENABLED, BANNER, CHANGE_CHECK, DISABLED_DONE,
                           DISABLING, DISABLING_NOW, ENABLED, ENABLED_DONE, ENABLING,
                           ENABLING_NOW, FULLY_DISABLED, GOING_AHEAD, GUARD, INVALID,
                           NOT_CONFIGURED, PARTIALLY_DISABLED, STATUS, USAGE, open_failed)

KEY = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\Tcpip6\\Parameters"
VALUE = "DisabledComponents"

# States of the registry, each as what `reg` sets up and reads back: None for a missing key,
# () for the key without the value, else (type, data as `reg` writes it).
NO_KEY = None
NO_VALUE = ()
ZERO = ("REG_DWORD", "0x0")
ALL_ONES = ("REG_DWORD", "0xffffffff")
MASK_20 = ("REG_DWORD", "0x20")
MASK_FF = ("REG_DWORD", "0xff")
SHORT_ZERO = ("REG_BINARY", "0000")
SHORT_MASK = ("REG_BINARY", "0102")
LONG_ZERO = ("REG_BINARY", "0000000000000000")


class Registry:
    """Wine's registry in the test prefix, through Wine's own `reg`, in the 64-bit view."""

    def __init__(self, program):
        self.loader = program.loader
        self.env = programs.wine_environment(program.wine_prefix)

    def reg(self, *args):
        return subprocess.run([self.loader, "reg"] + list(args) + ["/reg:64"], env=self.env,
                              capture_output=True, timeout=60)

    def set_state(self, state):
        if state in (NO_KEY, NO_VALUE):
            self.reg("delete", KEY, "/f")  # fails harmlessly when the key is missing
            if state == NO_KEY:
                return
        args = ["add", KEY, "/f"]
        if state != NO_VALUE:
            args += ["/v", VALUE, "/t", state[0], "/d", state[1]]  # replaces type and data
        done = self.reg(*args)
        assert done.returncode == 0, done

    def state(self):
        done = self.reg("query", KEY)
        if done.returncode != 0:
            return NO_KEY
        for line in done.stdout.decode("latin-1").splitlines():
            fields = line.split()
            if len(fields) == 3 and fields[0] == VALUE:
                return (fields[1], fields[2])
        return NO_VALUE


class Switch(unittest.TestCase):
    program = None

    @classmethod
    def setUpClass(cls):
        cls.registry = Registry(cls.program)

    def assertOutput(self, args, expected, **options):
        result = self.program.run(args, **options)
        self.assertEqual(result.stdout, expected)
        self.assertEqual(result.returncode, 0)

    def assertRun(self, state, args, expected, after):
        """Sets state up, runs, compares the whole output and the value afterwards."""
        with self.subTest(state=state, args=args):
            self.registry.set_state(state)
            self.assertOutput(args, expected)
            self.assertEqual(self.registry.state(), after)


class CommandLine(Switch):
    def test_usage_screen(self):
        for args in ([], ["-h"], ["-H"]):
            with self.subTest(args=args):
                self.assertOutput(args, USAGE)

    def test_guard_outside_a_command_prompt_ends_with_closed_input(self):
        for prompt in (None, ""):
            with self.subTest(prompt=prompt):
                self.assertOutput([], USAGE + GUARD, prompt=prompt, timeout=60)

    def test_any_other_command_line_is_reported_and_leaves_the_registry_alone(self):
        for state in (NO_KEY, MASK_20):
            for args in (["/e"], ["--e"], ["-ex"], ["e"], [""], ["-e", "x"], ["-d", "-d"]):
                self.assertRun(state, args, USAGE + INVALID, state)


class Status(Switch):
    def test_status_of_every_kind_of_value(self):
        for state, args, line in (
                (NO_KEY, ["-s"], open_failed(2)),
                (NO_VALUE, ["-s"], STATUS + NOT_CONFIGURED),
                (ZERO, ["-s"], STATUS + ENABLED),
                (ALL_ONES, ["-S"], STATUS + FULLY_DISABLED),
                (MASK_20, ["-s"], STATUS + PARTIALLY_DISABLED),
                (MASK_FF, ["-S"], STATUS + PARTIALLY_DISABLED),
                (SHORT_ZERO, ["-s"], STATUS + ENABLED),
                (SHORT_MASK, ["-s"], STATUS + PARTIALLY_DISABLED),
                (LONG_ZERO, ["-s"], STATUS + NOT_CONFIGURED)):
            self.assertRun(state, args, BANNER + line, state)


class Change(Switch):
    def test_enable(self):
        for state, args, printed, after in (
                (NO_KEY, ["-e"], GOING_AHEAD + ENABLED_DONE, ZERO),
                (NO_VALUE, ["-e"], GOING_AHEAD + ENABLED_DONE, ZERO),
                (ZERO, ["-e"], ALREADY_ENABLED, ZERO),
                (ALL_ONES, ["-E"], ENABLING_NOW + ENABLED_DONE, ZERO),
                (MASK_20, ["-e"], ENABLING_NOW + ENABLED_DONE, ZERO),
                (MASK_FF, ["-e"], ENABLING_NOW + ENABLED_DONE, ZERO),
                (SHORT_ZERO, ["-e"], ALREADY_ENABLED, SHORT_ZERO),
                (LONG_ZERO, ["-e"], GOING_AHEAD + ENABLED_DONE, ZERO)):
            self.assertRun(state, args, BANNER + ENABLING + CHANGE_CHECK + printed, after)

    def test_disable(self):
        for state, args, printed, after in (
                (NO_KEY, ["-d"], GOING_AHEAD + DISABLED_DONE, ALL_ONES),
                (NO_VALUE, ["-d"], GOING_AHEAD + DISABLED_DONE, ALL_ONES),
                (ZERO, ["-D"], DISABLING_NOW + DISABLED_DONE, ALL_ONES),
                (ALL_ONES, ["-d"], ALREADY_DISABLED, ALL_ONES),
                (MASK_20, ["-d"], DISABLING_NOW + DISABLED_DONE, ALL_ONES),
                (MASK_FF, ["-d"], DISABLING_NOW + DISABLED_DONE, ALL_ONES),
                (SHORT_MASK, ["-d"], DISABLING_NOW + DISABLED_DONE, ALL_ONES),
                (LONG_ZERO, ["-d"], GOING_AHEAD + DISABLED_DONE, ALL_ONES)):
            self.assertRun(state, args, BANNER + DISABLING + CHANGE_CHECK + printed, after)


if __name__ == "__main__":
    programs.main([CommandLine, Status, Change])
