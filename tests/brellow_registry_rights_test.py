"""The rights with which BrellowCli opens and creates its registry key, read from Wine's relay
trace of the real image: a 32-bit process under WOW64 has to ask for the 64-bit view
(KEY_WOW64_64KEY, 0x100) on both calls, a native process must not.

    brellow_registry_rights_test.py --wine-images PATH32 PATH64 --prefix DIR

Only a host whose Wine starts 32-bit images runs a process under WOW64; elsewhere that check
is skipped and says why, and the native check runs on the 64-bit image alone."""

import argparse
import os
import re
import subprocess
import sys
import tempfile
import unittest

import programs

# The key's path as the trace shows it, each backslash doubled.
SUBKEY = "SYSTEM\\\\CurrentControlSet\\\\Services\\\\Tcpip6\\\\Parameters"
CALL = re.compile(r"Call [\w.]+\.(RegOpenKeyExA|RegCreateKeyExA)\((.*)\) ret=")
QUOTED = re.compile(r'"(?:[^"\\]|\\.)*"')
RIGHTS_ARGUMENT = {"RegOpenKeyExA": 3, "RegCreateKeyExA": 5}

KEY_READ = 0x20019
KEY_READ_WRITE = 0x2001F
KEY_WOW64_64KEY = 0x100


def calls_on_the_key(trace):
    """The distinct (function, rights) of every open and create of the IPv6 key in a relay
    trace. The trace prints each argument as a whole register or stack slot, so only the low
    32 bits of the rights count."""
    found = set()
    for match in CALL.finditer(trace):
        arguments = match.group(2)
        if '"%s"' % SUBKEY not in arguments:
            continue
        fields = QUOTED.sub("", arguments).split(",")
        rights = int(fields[RIGHTS_ARGUMENT[match.group(1)]].strip(), 16) & 0xFFFFFFFF
        found.add((match.group(1), rights))
    return sorted(found)


class Rights(unittest.TestCase):
    images = None  # (32-bit path, 64-bit path)
    prefix = None

    def traced_calls(self, loader, image, option):
        env = programs.wine_environment(self.prefix)
        env.update(WINEDEBUG="+relay", PROMPT="$P$G")
        with tempfile.TemporaryFile() as trace:
            done = subprocess.run([loader, image, option], env=env, stdin=subprocess.DEVNULL,
                                  stdout=subprocess.DEVNULL, stderr=trace, timeout=300)
            self.assertEqual(done.returncode, 0)
            trace.seek(0)
            return calls_on_the_key(trace.read().decode("latin-1"))

    def assertRights(self, loader, image, extra):
        for option, function, rights in (("-s", "RegOpenKeyExA", KEY_READ),
                                         ("-e", "RegCreateKeyExA", KEY_READ_WRITE)):
            with self.subTest(option=option):
                self.assertEqual(self.traced_calls(loader, image, option),
                                 [(function, rights | extra)])

    def test_32_bit_image_under_wow64_asks_for_the_64_bit_view(self):
        if not programs.host_runs_32bit_code(self.prefix):
            self.skipTest("this host's Wine starts no 32-bit images, so no process runs "
                          "under WOW64 here")
        if not os.path.isdir(os.path.join(self.prefix, "drive_c", "windows", "syswow64")):
            self.skipTest("the Wine prefix is 32-bit only, so 32-bit images run natively")
        self.assertRights(programs.WINE32, self.images[0], KEY_WOW64_64KEY)

    def test_64_bit_image_asks_for_its_own_view(self):
        if not os.access(programs.WINE64, os.X_OK):
            self.skipTest("this host has no %s" % programs.WINE64)
        self.assertRights(programs.WINE64, self.images[1], 0)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wine-images", nargs=2, required=True)
    parser.add_argument("--prefix", required=True)
    options = parser.parse_args()
    Rights.images = options.wine_images
    Rights.prefix = options.prefix
    suite = unittest.defaultTestLoader.loadTestsFromTestCase(Rights)
    outcome = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
    for case, reason in outcome.skipped:
        print("SKIP: %s: %s" % (case.id().split(".")[-1], reason))
    return 0 if outcome.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
