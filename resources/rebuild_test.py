#!/usr/bin/python3
"""Builds the Windows preset twice, from the same sources copied into two folders of
different names and depths, and compares what comes out: the program images and the release
archive must be the same byte for byte. Also reads the archive.

    rebuild_test.py SOURCE_DIR [CMAKE]

The sources are the files that git knows in SOURCE_DIR, as they are in the work tree, and
the files that it would add; build folders and other ignored files stay behind."""

import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

SOURCE_DIR = None
CMAKE = "cmake"
ARCHIVE = "QuennetTools.zip"


def source_files(source_dir):
    listed = subprocess.run(
        ["git", "-C", source_dir, "ls-files", "-z", "--cached", "--others",
         "--exclude-standard"], capture_output=True, check=True).stdout
    return [n.decode() for n in listed.split(b"\0") if n]


def build_copy(tree):
    for name in source_files(SOURCE_DIR):
        os.makedirs(os.path.dirname(os.path.join(tree, name)), exist_ok=True)
        try:
            shutil.copy2(os.path.join(SOURCE_DIR, name), os.path.join(tree, name))
        except FileNotFoundError:
            pass  # deleted in the work tree, or a scratch file of a test beside this one
    for command in ([CMAKE, "--preset", "windows"],
                    [CMAKE, "--build", "--preset", "windows", "--target", "all", "release"]):
        done = subprocess.run(command, cwd=tree, capture_output=True, text=True, timeout=600)
        if done.returncode != 0:
            raise RuntimeError("%s failed in %s:\n%s%s" % (" ".join(command), tree,
                                                          done.stdout, done.stderr))
    build = os.path.join(tree, "build", "windows")
    with open(os.path.join(build, "program_images.txt")) as f:
        images = dict(line.split(" ", 1) for line in f.read().splitlines() if line)
    return images, os.path.join(build, ARCHIVE)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def first_difference(a, b):
    for i, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return i
    return min(len(a), len(b))


class Rebuild(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp(prefix="rebuild-")
        cls.first = build_copy(os.path.join(cls.scratch, "a"))
        cls.second = build_copy(os.path.join(cls.scratch, "second-checkout", "of", "tree"))

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.scratch, ignore_errors=True)

    def assertSameBytes(self, first, second):
        a, b = read(first), read(second)
        self.assertTrue(a == b, "%s and %s differ from byte %d on" % (
            first, second, first_difference(a, b)))

    def test_images_are_identical(self):
        images, _ = self.first
        self.assertIn("TarnwickCli", images)
        self.assertEqual(sorted(images), sorted(self.second[0]))
        for program, path in images.items():
            with self.subTest(program=program):
                self.assertSameBytes(path, self.second[0][program])

    def test_release_archives_are_identical(self):
        self.assertSameBytes(self.first[1], self.second[1])

    def test_release_archive_holds_the_images_the_readme_and_their_checksums(self):
        images, archive = self.first
        expected = {os.path.basename(path): read(path) for path in images.values()}
        expected["README.md"] = read(os.path.join(SOURCE_DIR, "README.md"))
        with zipfile.ZipFile(archive) as packed:
            self.assertIsNone(packed.testzip())
            names = packed.namelist()
            self.assertEqual(sorted(names), sorted(list(expected) + ["SHA256SUMS"]))
            for name, data in expected.items():
                with self.subTest(entry=name):
                    self.assertEqual(packed.read(name), data)
            sums = packed.read("SHA256SUMS").decode("ascii").splitlines()
        self.assertEqual(sorted(sums), sorted(
            "%s  %s" % (hashlib.sha256(data).hexdigest(), name) for name, data in expected.items()))


if __name__ == "__main__":
    SOURCE_DIR = os.path.abspath(sys.argv[1])
    if len(sys.argv) > 2:
        CMAKE = sys.argv[2]
    suite = unittest.defaultTestLoader.loadTestsFromTestCase(Rebuild)
    outcome = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
    sys.exit(0 if outcome.wasSuccessful() else 1)
