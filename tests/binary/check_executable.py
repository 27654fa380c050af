#!/usr/bin/env python3
"""Checks the built installer executable as Windows will see it.

A 32-bit PE for the GUI subsystem that Windows 2000 can load; resources
exactly dialog 101 and icon group 1 (one 32 x 32, 16-colour image), all in
Polish (Poland), with no manifest and no version information; imports only
from KERNEL32, USER32, ADVAPI32 and msvcrt, and only functions on the list of
those that Windows 2000 has (windows2000-imports.txt); stripped (no debug
sections or debug directory, no symbol table) and at most 62 KiB.

usage: check_executable.py <installer.exe> <allowed imports list>
"""
import os
import struct
import sys

IMAGE_FILE_MACHINE_I386 = 0x14C
PE32_MAGIC = 0x10B
SUBSYSTEM_WINDOWS_GUI = 2
WINDOWS_2000 = (5, 0)
LANG_POLISH_POLAND = 0x0415
RT_ICON, RT_DIALOG, RT_GROUP_ICON = 3, 5, 14
EXPECTED_RESOURCES = {(RT_DIALOG, 101), (RT_GROUP_ICON, 1)}
ALLOWED_DLLS = {"KERNEL32.DLL", "USER32.DLL", "ADVAPI32.DLL", "MSVCRT.DLL"}
# 40 KiB; then the payload manifest and its check (4,608 bytes with the
# placeholders), the hardening (3,072) and the record, the product entry and
# /CHECK (15,872): 58,880 bytes, 61,224 signed with a certificate chain.
LARGEST_SIZE = 62 * 1024
SYMBOL_SIZE = 18


class Image:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("not an MZ executable")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        (self.machine, sections, _, self.symbols_offset, self.symbols, optional_size,
         self.characteristics) = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        self.magic = struct.unpack_from("<H", data, optional)[0]
        (self.os_version, self.subsystem_version) = (struct.unpack_from("<HH", data, optional + 40),
                                                     struct.unpack_from("<HH", data, optional + 48))
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        directories = optional + 96
        self.imports_rva = struct.unpack_from("<I", data, directories + 8)[0]
        self.resources_rva = struct.unpack_from("<I", data, directories + 16)[0]
        self.debug_directory = struct.unpack_from("<II", data, directories + 48)
        self.sections = []
        self.section_names = []
        table = optional + optional_size
        for i in range(sections):
            name, virtual_size, rva, raw_size, raw_offset = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((rva, max(virtual_size, raw_size), raw_offset))
            self.section_names.append(self.section_name(name.rstrip(b"\0").decode("ascii")))

    def section_name(self, name):
        """A long name ("/<offset>") is kept in the string table after the symbols."""
        if not name.startswith("/") or self.symbols_offset == 0:
            return name
        at = self.symbols_offset + SYMBOL_SIZE * self.symbols + int(name[1:])
        return self.data[at:self.data.index(b"\0", at)].decode("ascii")

    def offset(self, rva):
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError("address %#x is in no section" % rva)

    def text(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("ascii")

    def imports(self):
        found = []
        at = self.offset(self.imports_rva)
        while True:
            lookup, _, _, name, thunks = struct.unpack_from("<IIIII", self.data, at)
            if name == 0:
                return found
            dll = self.text(name)
            entry = self.offset(lookup or thunks)
            while True:
                thunk = struct.unpack_from("<I", self.data, entry)[0]
                if thunk == 0:
                    break
                found.append((dll, "#%d" % (thunk & 0xFFFF) if thunk & 0x80000000 else self.text(thunk + 2)))
                entry += 4
            at += 20

    def resources(self):
        """(type, id, language, data) for every resource."""
        if self.resources_rva == 0:
            return []
        base = self.offset(self.resources_rva)

        def entries(directory):
            named, numbered = struct.unpack_from("<HH", self.data, base + directory + 12)
            for i in range(named + numbered):
                key, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
                yield (None if key & 0x80000000 else key), target

        found = []
        for kind, names in entries(0):
            for ident, languages in entries(names & 0x7FFFFFFF):
                for language, leaf in entries(languages & 0x7FFFFFFF):
                    rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    at = self.offset(rva)
                    found.append((kind, ident, language, self.data[at:at + size]))
        return found


def check(image, allowed):
    failures = []
    if image.machine != IMAGE_FILE_MACHINE_I386 or image.magic != PE32_MAGIC:
        failures.append("not a 32-bit (i386, PE32) executable")
    if image.subsystem != SUBSYSTEM_WINDOWS_GUI:
        failures.append("subsystem %d, not the Windows GUI" % image.subsystem)
    for what, version in (("operating system", image.os_version), ("subsystem", image.subsystem_version)):
        if version > WINDOWS_2000:
            failures.append("needs %s version %d.%d, newer than Windows 2000" % (what, *version))

    for dll, function in image.imports():
        if dll.upper() not in ALLOWED_DLLS:
            failures.append("imports from %s (%s)" % (dll, function))
        elif (dll.upper(), function) not in allowed:
            failures.append("imports %s!%s, which is not on the Windows 2000 list" % (dll, function))

    debug = [name for name in image.section_names if name.startswith(".debug")]
    if debug:
        failures.append("debug sections %s" % " ".join(debug))
    if image.debug_directory != (0, 0):
        failures.append("a debug directory")
    if image.symbols_offset != 0 or image.symbols != 0:
        failures.append("a symbol table of %d symbols" % image.symbols)
    if len(image.data) > LARGEST_SIZE:
        failures.append("%d bytes, more than %d" % (len(image.data), LARGEST_SIZE))

    resources = image.resources()
    named = {(kind, ident) for kind, ident, _, _ in resources if kind != RT_ICON}
    if named != EXPECTED_RESOURCES:
        failures.append("resources are %s, not dialog 101 and icon group 1 alone" % sorted(named, key=str))
    for kind, ident, language, _ in resources:
        if language != LANG_POLISH_POLAND:
            failures.append("resource %s/%s is in language %#06x, not Polish" % (kind, ident, language))
    groups = [data for kind, ident, _, data in resources if kind == RT_GROUP_ICON]
    icons = {ident for kind, ident, _, _ in resources if kind == RT_ICON}
    for group in groups:
        _, group_type, count = struct.unpack_from("<HHH", group, 0)
        images = [struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i) for i in range(count)]
        if group_type != 1 or count != 1:
            failures.append("icon group 1 holds %d images, not one" % count)
        for width, height, colours, _, _, bits, _, ident in images:
            if (width, height) != (32, 32) or not (colours == 16 or bits == 4):
                failures.append("icon image %d is %dx%d with %d colours, not 32 x 32 in 16" %
                                (ident, width, height, colours))
        if icons != {image_entry[7] for image_entry in images}:
            failures.append("icon images %s do not match the group" % sorted(icons))
    return failures


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[2], encoding="ascii") as listing:
        allowed = {tuple(line.split()) for line in listing if line.strip() and not line.startswith("#")}
    allowed = {(dll.upper(), function) for dll, function in allowed}
    with open(sys.argv[1], "rb") as executable:
        failures = check(Image(executable.read()), allowed)
    for failure in failures:
        print("FAIL: " + failure)
    if not failures:
        print("%s: 32-bit GUI PE for Windows 2000, resources and imports as expected, stripped, %d bytes" %
              (sys.argv[1], os.path.getsize(sys.argv[1])))
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
