#!/usr/bin/python3
"""Reads one built program image and holds it against what Windows XP SP3 needs to start it
and what the program's resources have to be.

    image_test.py PROGRAM IMAGE_LIST

IMAGE_LIST is the program_images.txt of the Windows build: one line per image that the
build makes, program name and path. The other images on the list are read too, to tell
their icons from this one's."""

import os
import re
import struct
import sys
import unittest
import xml.etree.ElementTree as ElementTree

import pefile

HERE = os.path.dirname(os.path.abspath(__file__))
ALLOWED_IMPORTS = os.path.join(HERE, "xp_imports.txt")

def identity(header):
    """A program's names and version from the header that its banner and its resource
    script read them from."""
    values = {}
    with open(os.path.join(HERE, header)) as text:
        for line in text:
            match = re.match(r'#define (PROGRAM_\w+) (.*)$', line.strip())
            if match:
                values[match.group(1)] = match.group(2)
    text = {name: value.strip('"') for name, value in values.items()}
    return {
        "version": tuple(int(part) for part in values["PROGRAM_VERSION"].split(",")),
        "strings": {
            "CompanyName": "Quennet",
            "FileDescription": text["PROGRAM_DESCRIPTION"],
            "FileVersion": text["PROGRAM_VERSION_TEXT"],
            "InternalName": text["PROGRAM_NAME"],
            "OriginalFilename": text["PROGRAM_FILE_NAME"],
            "ProductName": text["PROGRAM_NAME"],
            "ProductVersion": text["PROGRAM_VERSION_TEXT"],
        },
    }


PROGRAMS = {
    "TarnwickCli": dict(identity("tarnwick_identity.h"), level="asInvoker"),
    "BrellowCli": dict(identity("brellow_identity.h"), level="requireAdministrator"),
}

MOST_BYTES = 192 * 1024
ICON_SIZES = [128, 72, 64, 48, 32, 24, 16]
ICON_GROUP_ID = 103
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
US_ENGLISH = 1033
ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def resource_entries(pe, type_id):
    """{id: [(language, bytes)]} of one resource type."""
    found = {}
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if kind.id != type_id:
            continue
        for item in kind.directory.entries:
            for language in item.directory.entries:
                data = pe.get_data(language.data.struct.OffsetToData, language.data.struct.Size)
                found.setdefault(item.id, []).append((language.id, data))
    return found


def icon_images(pe):
    """The icon group's directory entries, each with the image it names:
    [(width, height, planes, bit count, image bytes)]."""
    group = resource_entries(pe, RT_GROUP_ICON)[ICON_GROUP_ID][0][1]
    reserved, kind, count = struct.unpack_from("<HHH", group)
    assert (reserved, kind) == (0, 1), "not an icon group"
    icons = {i: entries[0][1] for i, entries in resource_entries(pe, RT_ICON).items()}
    images = []
    for n in range(count):
        width, height, _, _, planes, bits, size, icon_id = struct.unpack_from(
            "<BBBBHHIH", group, 6 + 14 * n)
        data = icons[icon_id]
        assert len(data) == size, "icon %d: group says %d bytes, resource has %d" % (
            icon_id, size, len(data))
        images.append((width or 256, height or 256, planes, bits, data))
    return images


def bitmap_shape(data):
    """(width, height, bits per pixel) as an icon bitmap's header states them, or None when
    the data is no uncompressed bitmap of exactly the colour pixels and the AND mask."""
    header, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", data)
    if header != 40 or planes != 1 or compression != 0 or width <= 0 or height <= 0:
        return None
    height //= 2  # the height counts the mask below the colours
    colour_stride = (width * bits + 31) // 32 * 4
    mask_stride = (width + 31) // 32 * 4
    if len(data) != header + (colour_stride + mask_stride) * height:
        return None
    return width, height, bits


def read_allowed_imports():
    allowed = set()
    dll = None
    with open(ALLOWED_IMPORTS) as f:
        for line in f:
            line = line.split("#")[0].strip()
            if line.startswith("["):
                dll = line.strip("[]").lower()
            elif line:
                allowed.add((dll, line))
    return allowed


class ProgramImage(unittest.TestCase):
    program = None
    path = None
    others = {}  # program: path, the other images of the same build

    @classmethod
    def setUpClass(cls):
        cls.expected = PROGRAMS[cls.program]
        cls.pe = pefile.PE(cls.path)

    def test_pe32_for_i386(self):
        header = self.pe.FILE_HEADER
        self.assertEqual(header.Machine, pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"])
        self.assertEqual(self.pe.OPTIONAL_HEADER.Magic, pefile.OPTIONAL_HEADER_MAGIC_PE)
        self.assertTrue(header.IMAGE_FILE_EXECUTABLE_IMAGE)
        self.assertTrue(header.IMAGE_FILE_32BIT_MACHINE)
        self.assertFalse(header.IMAGE_FILE_DLL)

    def test_console_program_for_windows_5_1(self):
        optional = self.pe.OPTIONAL_HEADER
        self.assertEqual(optional.Subsystem,
                         pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_CUI"])
        self.assertEqual((optional.MajorSubsystemVersion, optional.MinorSubsystemVersion), (5, 1))
        self.assertEqual((optional.MajorOperatingSystemVersion,
                          optional.MinorOperatingSystemVersion), (5, 1))

    def test_at_most_192_kib(self):
        self.assertLessEqual(os.path.getsize(self.path), MOST_BYTES)

    def test_nothing_that_changes_from_build_to_build(self):
        self.assertEqual(self.pe.FILE_HEADER.TimeDateStamp, 0, "link time stamp")
        self.assertEqual(self.pe.DIRECTORY_ENTRY_RESOURCE.struct.TimeDateStamp, 0,
                         "resource time stamp")
        self.assertFalse(hasattr(self.pe, "DIRECTORY_ENTRY_DEBUG"), "debug directory")

    def test_imports_only_what_xp_exports(self):
        allowed = read_allowed_imports()
        unlisted = []
        for dll in self.pe.DIRECTORY_ENTRY_IMPORT:
            name = dll.dll.decode("ascii").lower()
            for function in dll.imports:
                if function.name is None:
                    unlisted.append("%s by ordinal %d" % (name, function.ordinal))
                elif (name, function.name.decode("ascii")) not in allowed:
                    unlisted.append("%s %s" % (name, function.name.decode("ascii")))
        self.assertEqual(unlisted, [], "imports not in %s: check that Windows XP SP3 exports "
                         "them, then add them there" % ALLOWED_IMPORTS)
        self.assertFalse(hasattr(self.pe, "DIRECTORY_ENTRY_DELAY_IMPORT"), "delayed imports")

    def test_resources_are_manifest_version_and_icons_in_us_english(self):
        kinds = sorted(kind.id for kind in self.pe.DIRECTORY_ENTRY_RESOURCE.entries)
        self.assertEqual(kinds, [RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST])
        for kind, ids in ((RT_MANIFEST, [1]), (RT_VERSION, [1]), (RT_GROUP_ICON, [ICON_GROUP_ID])):
            with self.subTest(resource_type=kind):
                entries = resource_entries(self.pe, kind)
                self.assertEqual(sorted(entries), ids)
                for languages in entries.values():
                    self.assertEqual([language for language, _ in languages], [US_ENGLISH])

    def test_manifest_asks_for_the_programs_level_and_nothing_else(self):
        text = resource_entries(self.pe, RT_MANIFEST)[1][0][1]
        self.assertTrue(text.startswith(
            b'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'), text[:60])
        root = ElementTree.fromstring(text)
        self.assertEqual(root.tag, ASM_V1 + "assembly")
        self.assertEqual(root.attrib, {"manifestVersion": "1.0"})
        # Every element with its attributes, in document order: nothing may sit beside them.
        self.assertEqual([(element.tag, element.attrib) for element in root.iter()][1:], [
            (ASM_V3 + "trustInfo", {}),
            (ASM_V3 + "security", {}),
            (ASM_V3 + "requestedPrivileges", {}),
            (ASM_V3 + "requestedExecutionLevel",
             {"level": self.expected["level"], "uiAccess": "false"}),
        ])
        chain = root
        for name in ("trustInfo", "security", "requestedPrivileges", "requestedExecutionLevel"):
            chain = chain.find(ASM_V3 + name)
            self.assertIsNotNone(chain, "%s is not where it belongs" % name)

    def test_fixed_version_part(self):
        fixed = self.pe.VS_FIXEDFILEINFO[0]
        major, minor, patch, build = self.expected["version"]
        self.assertEqual(fixed.Signature, 0xFEEF04BD)
        for part in ("File", "Product"):
            with self.subTest(part=part):
                self.assertEqual(getattr(fixed, part + "VersionMS"), major << 16 | minor)
                self.assertEqual(getattr(fixed, part + "VersionLS"), patch << 16 | build)
        self.assertEqual(fixed.FileFlags, 0)
        self.assertEqual(fixed.FileOS, 0x4)  # VOS__WINDOWS32
        self.assertEqual(fixed.FileType, 0x1)  # VFT_APP

    def test_version_strings_in_us_english_unicode(self):
        tables = []
        translations = []
        for info in self.pe.FileInfo[0]:
            if info.Key == b"StringFileInfo":
                tables += info.StringTable
            elif info.Key == b"VarFileInfo":
                translations += [var.entry for var in info.Var]
        self.assertEqual([table.LangID.upper() for table in tables], [b"040904B0"])
        strings = {key.decode(): value.decode() for key, value in tables[0].entries.items()}
        self.assertEqual(strings, self.expected["strings"])
        self.assertEqual(translations, [{b"Translation": "0x0409 0x04b0"}])

    def test_icon_group_of_seven_32_bit_bitmaps_that_xp_reads(self):
        images = icon_images(self.pe)
        self.assertEqual(sorted((width for width, *_ in images), reverse=True), ICON_SIZES)
        for width, height, planes, bits, data in images:
            with self.subTest(size=width):
                self.assertEqual((height, planes, bits), (width, 1, 32))
                # Windows XP shows a blank icon wherever it picks a PNG-compressed image.
                self.assertFalse(data.startswith(PNG_SIGNATURE), "PNG-compressed image")
                self.assertEqual(bitmap_shape(data), (width, width, 32))

    def test_icons_differ_from_the_other_programs(self):
        if not self.others:
            self.skipTest("this build makes no other program image")
        own = {width: data for width, _, _, _, data in icon_images(self.pe)}
        for other, path in self.others.items():
            theirs = {width: data for width, _, _, _, data in icon_images(pefile.PE(path))}
            for size in ICON_SIZES:
                with self.subTest(other=other, size=size):
                    self.assertNotEqual(own[size], theirs[size])


def main(argv):
    program, image_list = argv
    with open(image_list) as f:
        images = dict(line.split(" ", 1) for line in f.read().splitlines() if line)
    if program not in images:
        print("the Windows build in %s makes no %s" % (os.path.dirname(image_list), program))
        return 1
    ProgramImage.program = program
    ProgramImage.path = images.pop(program)
    ProgramImage.others = images
    print("image under test:", ProgramImage.path, flush=True)
    suite = unittest.defaultTestLoader.loadTestsFromTestCase(ProgramImage)
    outcome = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
    return 0 if outcome.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
