"""Runs the real programs for the program tests: the native build directly, the Windows
images under Wine in a throwaway prefix. Standard output comes back as text with Windows
line ends turned into plain newlines."""

import argparse
import os
import shutil
import subprocess
import sys
import time
import unittest

WINE32 = "wine"
WINE64 = "/usr/lib/wine/wine64"


def host_runs_32bit_code():
    """Wine starts 32-bit images only where the kernel runs 32-bit code."""
    try:
        done = subprocess.run([WINE32, "--version"], capture_output=True, timeout=60)
    except (OSError, subprocess.TimeoutExpired):
        return False
    return done.returncode == 0


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
    loader = WINE32 if host_runs_32bit_code() else WINE64
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
            self.loader = WINE32 if host_runs_32bit_code() else WINE64

    @property
    def start_seconds(self):
        """What starting and ending the program costs here (Wine's start-up is most of it):
        the slowest of three runs that only show the usage screen."""
        if not hasattr(self, "_start_seconds"):
            self._start_seconds = max(self.run(["-h"]).seconds for _ in range(3))
        return self._start_seconds

    def command(self, args):
        return ([self.loader, self.path] if self.under_wine else [self.path]) + list(args)

    def run(self, args, prompt="$P$G", stdin=b"", timeout=60, extra_env=None):
        env = wine_environment(self.wine_prefix) if self.under_wine else dict(os.environ)
        env.pop("PROMPT", None)
        if prompt is not None:
            env["PROMPT"] = prompt
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


def wine_image(image32, image64):
    """The 32-bit image where this host can start it, else the 64-bit build of the same
    sources."""
    return image32 if host_runs_32bit_code() else image64


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
        program = Program(wine_image(*options.wine_images), wine_prefix=options.prefix)
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
