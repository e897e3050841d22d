"""Runs the real programs for the program tests: the native build directly, the Windows
images under Wine in a throwaway prefix. Standard output comes back as text with Windows
line ends turned into plain newlines."""

import argparse
import fcntl
import os
import pty
import select
import shutil
import signal
import socket
import struct
import subprocess
import sys
import termios
import time
import unittest

WINE32 = "wine"
WINE64 = "/usr/lib/wine/wine64"


ANSWER_FILE = "host_runs_32bit_code"
_runs_32bit = None


def _check_32bit_code():
    try:
        done = subprocess.run([WINE32, "--version"], capture_output=True, timeout=60)
    except (OSError, subprocess.TimeoutExpired):
        return False
    return done.returncode == 0


def host_runs_32bit_code(prefix=None):
    """Wine starts 32-bit images only where the kernel runs 32-bit code. The prefix's
    creation asks once per test run and leaves the answer in the prefix for every test."""
    global _runs_32bit
    if _runs_32bit is None:
        answer = os.path.join(prefix, ANSWER_FILE) if prefix else None
        if answer and os.path.exists(answer):
            with open(answer) as recorded:
                _runs_32bit = recorded.read().strip() == "yes"
        else:
            _runs_32bit = _check_32bit_code()
    return _runs_32bit


def free_port():
    """A loopback port that nothing listens on now: a connection there is refused, and a
    server started right after can take it."""
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def wine_environment(prefix):
    env = dict(os.environ)
    env.update(WINEPREFIX=prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    env.pop("DISPLAY", None)
    return env


def create_prefix(prefix):
    """A fresh prefix, and a wineserver that stays up until remove_prefix: without one, every
    Wine start brings up a server and loads the registry anew, and first starts racing each
    other on a fresh server can hang."""
    shutil.rmtree(prefix, ignore_errors=True)
    os.makedirs(prefix)
    env = wine_environment(prefix)
    runs_32bit = _check_32bit_code()
    with open(os.path.join(prefix, ANSWER_FILE), "w") as answer:
        answer.write("yes\n" if runs_32bit else "no\n")
    loader = WINE32 if runs_32bit else WINE64
    subprocess.run([loader, "wineboot", "--init"], env=env, capture_output=True, timeout=600,
                   check=True)
    subprocess.run(["wineserver", "-w"], env=env, timeout=600)
    subprocess.run(["wineserver", "-p"], env=env, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True,
                   timeout=60, check=True)
    # Wine's own service processes outlive this start: they must not hold the test's pipes.
    subprocess.run([loader, "cmd", "/c", "echo"], env=env, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=600, check=True)


def remove_prefix(prefix):
    subprocess.run(["wineserver", "-k"], env=wine_environment(prefix), capture_output=True)
    shutil.rmtree(prefix, ignore_errors=True)


class Result:
    def __init__(self, stdout, returncode, seconds):
        self.stdout = stdout
        self.returncode = returncode
        self.seconds = seconds


class Program:
    """One program, native or under Wine."""

    def __init__(self, path, wine_prefix=None):
        self.path = path
        self.wine_prefix = wine_prefix
        self.under_wine = wine_prefix is not None
        self.loader = None
        if self.under_wine:
            self.loader = WINE32 if host_runs_32bit_code(wine_prefix) else WINE64

    @property
    def start_seconds(self):
        """What starting and ending the program costs here (Wine's start-up is most of it):
        the slowest of three runs that only show the usage screen."""
        if not hasattr(self, "_start_seconds"):
            self._start_seconds = max(self.run(["-h"]).seconds for _ in range(3))
        return self._start_seconds

    def command(self, args):
        return ([self.loader, self.path] if self.under_wine else [self.path]) + list(args)

    def environment(self, prompt):
        env = wine_environment(self.wine_prefix) if self.under_wine else dict(os.environ)
        env.pop("PROMPT", None)
        if prompt is not None:
            env["PROMPT"] = prompt
        return env

    def run(self, args, prompt="$P$G", stdin=b"", timeout=60, extra_env=None):
        env = self.environment(prompt)
        if extra_env:
            env.update(extra_env)
        start = time.monotonic()
        done = subprocess.run(self.command(args), input=stdin, capture_output=True, env=env,
                              timeout=timeout)
        seconds = time.monotonic() - start
        out = done.stdout
        if self.under_wine:
            out = out.replace(b"\r\n", b"\n")
        return Result(out.decode("latin-1"), done.returncode, seconds)


    def run_on_terminal(self, args, prompt="$P$G", key=None, wait_for=None, size=(50, 250)):
        """Runs the program with standard input and output on a new pseudo-terminal of size
        (rows, columns); returns what it wrote there, as text, and its exit code. With a key,
        waits until wait_for is on the terminal, checks that the program still waits a second
        later, then presses the key. Every wait is bounded: past it the program's process
        group is killed and the run fails."""
        master, slave = pty.openpty()
        fcntl.ioctl(slave, termios.TIOCSWINSZ, struct.pack("HHHH", size[0], size[1], 0, 0))
        process = subprocess.Popen(self.command(args), stdin=slave, stdout=slave,
                                   stderr=subprocess.DEVNULL, env=self.environment(prompt),
                                   close_fds=True, start_new_session=True)
        os.close(slave)
        raw = b""
        start = time.monotonic()
        try:
            while True:
                if time.monotonic() - start > 60:
                    raise AssertionError("program still running:\n%r" % raw)
                if key is not None and wait_for.encode() in raw.replace(b"\r", b""):
                    time.sleep(1.0)
                    if process.poll() is not None:
                        raise AssertionError("the program ended without a key press")
                    os.write(master, key)
                    key = None
                if select.select([master], [], [], 0.1)[0]:
                    try:
                        chunk = os.read(master, 65536)
                    except OSError:  # every holder of the terminal has closed it
                        break
                    if not chunk:
                        break
                    raw += chunk
                elif process.poll() is not None:
                    break
            if key is not None:
                raise AssertionError("%r never appeared:\n%r" % (wait_for, raw))
            process.wait(30)
        finally:
            if process.poll() is None:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait(10)
            os.close(master)
        return raw.decode("latin-1"), process.returncode


def wine_image(image32, image64, prefix):
    """The 32-bit image where this host can start it, else the 64-bit build of the same
    sources."""
    return image32 if host_runs_32bit_code(prefix) else image64


def main(test_case_classes):
    """Command line shared by the program tests:
       --native PATH | --wine-images PATH32 PATH64 --prefix DIR"""
    parser = argparse.ArgumentParser()
    parser.add_argument("--native")
    parser.add_argument("--wine-images", nargs=2)
    parser.add_argument("--prefix")
    options, rest = parser.parse_known_args()
    if options.native:
        program = Program(options.native)
    else:
        program = Program(wine_image(*options.wine_images, options.prefix),
                          wine_prefix=options.prefix)
    print("program under test:", " ".join(program.command([])), flush=True)
    for case in test_case_classes:
        case.program = program
    suite = unittest.TestSuite()
    for case in test_case_classes:
        suite.addTests(unittest.defaultTestLoader.loadTestsFromTestCase(case))
    outcome = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
    sys.exit(0 if outcome.wasSuccessful() else 1)


if __name__ == "__main__":
    # Fixture use: programs.py create-prefix DIR | remove-prefix DIR
    {"create-prefix": create_prefix, "remove-prefix": remove_prefix}[sys.argv[1]](sys.argv[2])
