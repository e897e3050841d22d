"""The native TarnwickCli on a real terminal: colours as ANSI sequences, the terminal's own
colours back at exit, and the guard's key press read without echo."""

import unittest

import programs
from tarnwick_texts import GUARD, USAGE

BRIGHT_WHITE = "\x1b[0;97;40m"
BRIGHT_GREEN = "\x1b[0;92;40m"
BRIGHT_RED = "\x1b[0;91;40m"
RESET = "\x1b[0m"


class Terminal(unittest.TestCase):
    program = None

    def run_on_terminal(self, args, **options):
        out, code = self.program.run_on_terminal(args, **options)
        return out.replace("\r\n", "\n"), code

    def test_colours_are_shown_and_the_terminal_reset_at_exit(self):
        out, code = self.run_on_terminal(["-h"])
        self.assertEqual(code, 0)
        self.assertTrue(out.startswith(BRIGHT_WHITE + "\n\n****"), out[:40])
        self.assertIn(BRIGHT_GREEN + "\n\n\n Usage: ", out)
        self.assertIn(BRIGHT_RED + "\n\n****", out)
        self.assertTrue(out.endswith(RESET), out[-20:])
        plain = out
        for sequence in (BRIGHT_WHITE, BRIGHT_GREEN, BRIGHT_RED, RESET):
            plain = plain.replace(sequence, "")
        self.assertEqual(plain, USAGE)

    def test_guard_takes_one_key_without_echo(self):
        out, code = self.run_on_terminal([], prompt=None, key=b"q",
                                         wait_for="Press any key to exit....")
        self.assertEqual(code, 0)
        self.assertTrue(out.endswith(BRIGHT_RED + GUARD + RESET), out[-120:])
        self.assertNotIn("q" + RESET, out)


if __name__ == "__main__":
    programs.main([Terminal])
