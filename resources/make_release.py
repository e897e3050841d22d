#!/usr/bin/env python3
"""Packs the release archive: the program images, the README and SHA256SUMS, the SHA-256
list of those files in the form that `sha256sum -c` reads.

    make_release.py ARCHIVE README IMAGE...

Every entry carries the same fixed date and mode, and the entries are in a fixed order, so
the same files always give the same archive, byte for byte."""

import hashlib
import os
import sys
import zipfile

FIXED_DATE = (1980, 1, 1, 0, 0, 0)  # the earliest date a zip entry can hold
CHECKSUMS = "SHA256SUMS"


def entry(name, data):
    info = zipfile.ZipInfo(name, FIXED_DATE)
    info.compress_type = zipfile.ZIP_DEFLATED
    info.create_system = 0  # MS-DOS: no Unix owner or mode bits
    info.external_attr = 0
    return info, data


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    archive, readme, images = argv[0], argv[1], argv[2:]
    files = []
    for path in images + [readme]:
        with open(path, "rb") as f:
            files.append((os.path.basename(path), f.read()))
    sums = "".join("%s  %s\n" % (hashlib.sha256(data).hexdigest(), name) for name, data in files)
    files.append((CHECKSUMS, sums.encode("ascii")))
    partial = archive + ".part"
    with zipfile.ZipFile(partial, "w") as out:
        for name, data in files:
            out.writestr(*entry(name, data), compresslevel=9)
    os.replace(partial, archive)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
