"""TarnwickCli's command line: usage screen, guard, port check, and the run up to the fetch."""

import unittest

import programs
from tarnwick_texts import (CONNECT_FAILED, GUARD, INVALID_PORT, LOOKUP, START, USAGE,
                            connecting, resolved)


class CommandLine(unittest.TestCase):
    program = None

    def assertOutput(self, args, expected, **options):
        result = self.program.run(args, **options)
        self.assertEqual(result.stdout, expected)
        self.assertEqual(result.returncode, 0)
        return result

    def test_usage_for_every_count_but_three(self):
        for args in ([], ["-h"], ["127.0.0.1"], ["127.0.0.1", "443"],
                     ["127.0.0.1", "443", "out.der", "extra"]):
            with self.subTest(args=args):
                self.assertOutput(args, USAGE)

    def test_guard_waits_for_a_key_outside_a_command_prompt(self):
        for prompt in (None, ""):
            with self.subTest(prompt=prompt):
                # Closed input ends the wait just as a key does.
                self.assertOutput([], USAGE + GUARD, prompt=prompt, timeout=60)

    def test_long_prompt_counts_as_set(self):
        self.assertOutput([], USAGE, prompt="$P$G" * 64)

    def test_invalid_port_report(self):
        for port in ("0", "abc", "0x1BB", ""):
            with self.subTest(port=port):
                self.assertOutput(["127.0.0.1", port, "out.der"], USAGE + INVALID_PORT)

    def test_dotted_address_goes_to_the_connection_unchanged(self):
        port = programs.free_port()
        self.assertOutput(["127.0.0.1", str(port), "never-written.der"],
                          START + connecting("127.0.0.1", port) + CONNECT_FAILED)

    def test_host_name_is_looked_up_first(self):
        port = programs.free_port()
        self.assertOutput(["localhost", " +%dabc" % port, "never-written.der"],
                          START + LOOKUP + resolved("127.0.0.1") + connecting("127.0.0.1", port)
                          + CONNECT_FAILED)


if __name__ == "__main__":
    programs.main([CommandLine])
