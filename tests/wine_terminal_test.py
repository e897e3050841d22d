"""Both Windows images under Wine on a real pseudo-terminal: the colours that the console
shows, and the launch guard's key press.

    wine_terminal_test.py --tarnwick PATH32 PATH64 --brellow PATH32 PATH64 --prefix DIR

On a terminal Wine's console draws the screen itself and shows each text attribute as a
terminal colour: bright white (15) as SGR 97, bright green (10) as 92, bright red (12) as 91.
It sends a colour only where it changes, expands tabs and wraps long lines, so the output is
read back as characters, each in the colour in force where it was drawn. The colour left
after exit is not checked here: Wine sends its closing reset after the program has ended."""

import argparse
import re
import sys
import unittest

import programs
from brellow_cli_test import NO_KEY, NO_VALUE, Registry

WHITE, GREEN, RED = 97, 92, 91
SEQUENCE = re.compile(r"\x1b\[([0-9;?]*)([A-Za-z])")
ROWS, COLUMNS = 50, 250  # wide enough that no line of either program wraps


def on_screen(raw):
    """The text as drawn, blanks and line ends as they came, and the colour of each of its
    characters (None before the first colour)."""
    text = []
    colours = []
    colour = None
    position = 0
    for match in SEQUENCE.finditer(raw + "\x1b[x"):
        for character in raw[position:match.start()]:
            if character != "\r":
                text.append(character)
                colours.append(colour)
        position = match.end()
        if match.group(2) == "m":
            for parameter in (match.group(1) or "0").split(";"):
                colour = int(parameter) if parameter not in ("", "0") else None
    return "".join(text), colours


class Screen:
    def __init__(self, raw, returncode):
        self.raw = raw
        self.returncode = returncode
        self.text, self.colours = on_screen(raw)

    def colour_of(self, needle):
        """The one colour in which the first appearance of needle was drawn; a needle drawn
        in more than one colour gives the set of them."""
        at = self.text.find(needle)
        if at < 0:
            raise AssertionError("%r is not on the screen:\n%s" % (needle, self.text))
        used = {c for ch, c in zip(needle, self.colours[at:at + len(needle)]) if not ch.isspace()}
        return used.pop() if len(used) == 1 else used


class Terminal(unittest.TestCase):
    """One program on a terminal of its own under Wine."""
    path = None
    prefix = None

    def run_on_terminal(self, args, prompt="$P$G", key=None, wait_for=None):
        program = programs.Program(self.path, wine_prefix=self.prefix)
        raw, returncode = program.run_on_terminal(args, prompt, key, wait_for, (ROWS, COLUMNS))
        return Screen(raw, returncode)

    def assertColours(self, screen, expected):
        self.assertEqual(screen.returncode, 0)
        for needle, colour in expected:
            with self.subTest(needle=needle):
                self.assertEqual(screen.colour_of(needle), colour)

    def assertGuardTakesOneKeyWithoutEcho(self, notice):
        for prompt in (None, ""):
            with self.subTest(prompt=prompt):
                screen = self.run_on_terminal([], prompt=prompt, key=b"q",
                                              wait_for="Press any key to exit....")
                self.assertEqual(screen.returncode, 0)
                self.assertEqual(screen.colour_of(notice), RED)
                self.assertEqual(screen.colour_of("Press any key to exit...."), RED)
                after = screen.text[screen.text.index("Press any key to exit....") + 25:]
                self.assertNotIn("q", after)


class TarnwickCli(Terminal):
    def test_banner_usage_and_advertisement(self):
        screen = self.run_on_terminal(["-h"])
        self.assertColours(screen, [
            ("*" * 64, WHITE),
            ("Tarnwick v2.0 by Quennet", WHITE),
            ("http://www.quennet.example/tarnwick", WHITE),
            ("Usage:", GREEN),
            ("TarnwickCli <server_address> <port> <save_filename>", GREEN),
            ("IP Address or host name of the server", WHITE),
            ("Examples:", GREEN),
            ("TarnwickCli.exe www.google.com 443 c:\\googlecert.cer", GREEN),
            ("Just Launched - Vessimar", WHITE)])
        self.assertNotIn("This is a console application", screen.text)

    def test_progress_in_green_and_a_refused_connection_in_red(self):
        port = programs.free_port()
        screen = self.run_on_terminal(["127.0.0.1", str(port), "C:\\never.cer"])
        self.assertColours(screen, [
            ("Tarnwick v2.0 by Quennet", WHITE),
            ("[*] Initializing Tarnwick", GREEN),
            ("Success", GREEN),
            ("[*] Checking the validity of Host Address", GREEN),
            ("[*] Connecting to Server 127.0.0.1:%d" % port, GREEN),
            ("Error: Failed. Make sure server address/port number is correct and it is"
             " reachable.", RED)])

    def test_invalid_port_reported_in_red_after_the_usage_screen(self):
        screen = self.run_on_terminal(["127.0.0.1", "port", "C:\\never.cer"])
        self.assertColours(screen, [("Usage:", GREEN), ("Error: Invalid Port Number.", RED)])

    def test_guard_takes_one_key_without_echo(self):
        self.assertGuardTakesOneKeyWithoutEcho(
            "This is a console application. Run it from the CMD Prompt!")


class BrellowCli(Terminal):
    def test_banner_and_usage(self):
        screen = self.run_on_terminal([])
        self.assertColours(screen, [
            ("*" * 64, WHITE),
            ("Brellow v1.5 by Quennet", WHITE),
            ("http://www.quennet.example/brellow", WHITE),
            ("Usage:", GREEN),
            ("BrellowCli.exe [-e | -d | -s | -h]", GREEN),
            ("// Enable IPv6 on this system", GREEN),
            ("BrellowCli.exe -h", GREEN)])
        self.assertNotIn("This is a console application", screen.text)

    def test_invalid_input_reported_in_red_after_the_usage_screen(self):
        screen = self.run_on_terminal(["-x"])
        self.assertColours(screen, [
            ("Usage:", GREEN),
            ("Error: Invalid input parameters. Kindly see the above examples and try again.",
             RED)])

    def test_status_progress_in_green_and_a_missing_key_in_red(self):
        registry = Registry(programs.Program(self.path, wine_prefix=self.prefix))
        for state, expected in (
                (NO_VALUE, [("Brellow v1.5 by Quennet", WHITE),
                            ("[*] Checking for the current status of IPv6...", GREEN),
                            ("[*] Failed to get current status of IPv6.", GREEN)]),
                (NO_KEY, [("Brellow v1.5 by Quennet", WHITE),
                          ("Error: Failed to open Windows IPv6 Registry key. Error=0x00000002",
                           RED)])):
            with self.subTest(state=state):
                registry.set_state(state)
                self.assertColours(self.run_on_terminal(["-s"]), expected)

    def test_guard_takes_one_key_without_echo(self):
        self.assertGuardTakesOneKeyWithoutEcho(
            "This is a console application. Kindly Run it from the CMD Prompt as Administrator!")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tarnwick", nargs=2, required=True)
    parser.add_argument("--brellow", nargs=2, required=True)
    parser.add_argument("--prefix", required=True)
    options = parser.parse_args()
    suite = unittest.TestSuite()
    for case, images in ((TarnwickCli, options.tarnwick), (BrellowCli, options.brellow)):
        case.path = programs.wine_image(*images, options.prefix)
        case.prefix = options.prefix
        print("image under test:", case.path, flush=True)
        suite.addTests(unittest.defaultTestLoader.loadTestsFromTestCase(case))
    outcome = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
    return 0 if outcome.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
