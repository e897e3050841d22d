"""The native TarnwickCli on a real terminal: colours as ANSI sequences, the terminal's own
colours back at exit, and the guard's key press read without echo."""

import os
import pty
import select
import subprocess
import sys
import time
import unittest

from tarnwick_texts import GUARD, USAGE

BRIGHT_WHITE = "\x1b[0;97;40m"
BRIGHT_GREEN = "\x1b[0;92;40m"
BRIGHT_RED = "\x1b[0;91;40m"
RESET = "\x1b[0m"


class Terminal(unittest.TestCase):
    program = None

    def run_on_terminal(self, args, prompt, keys=b"", key_delay=1.0):
        master, slave = pty.openpty()
        env = dict(os.environ)
        env.pop("PROMPT", None)
        if prompt is not None:
            env["PROMPT"] = prompt
        process = subprocess.Popen([self.program] + args, stdin=slave, stdout=slave,
                                   stderr=subprocess.DEVNULL, env=env, close_fds=True)
        os.close(slave)
        output = b""
        start = time.monotonic()
        sent = not keys
        while True:
            if not sent and time.monotonic() - start > key_delay:
                os.write(master, keys)
                sent = True
            ready = select.select([master], [], [], 0.1)[0]
            if ready:
                try:
                    chunk = os.read(master, 65536)
                except OSError:  # the program has ended and closed the terminal
                    break
                if not chunk:
                    break
                output += chunk
            elif process.poll() is not None and sent:
                break
            self.assertLess(time.monotonic() - start, 30, "program still waiting")
        process.wait(10)
        os.close(master)
        return output.decode("latin-1").replace("\r\n", "\n"), process.returncode

    def test_colours_are_shown_and_the_terminal_reset_at_exit(self):
        out, code = self.run_on_terminal(["-h"], prompt="$P$G")
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
        out, code = self.run_on_terminal([], prompt=None, keys=b"q")
        self.assertEqual(code, 0)
        self.assertTrue(out.endswith(BRIGHT_RED + GUARD + RESET), out[-120:])
        self.assertNotIn("q" + RESET, out)


if __name__ == "__main__":
    Terminal.program = sys.argv[sys.argv.index("--native") + 1]
    unittest.main(argv=[sys.argv[0], "-v"])
