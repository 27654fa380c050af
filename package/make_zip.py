#!/usr/bin/env python3
"""Zips a folder so that the same files always give the same bytes.

The entries are the folder's subfolders and files in sorted order, each dated
1980-01-01 00:00 (the earliest date a zip holds) with fixed attributes, the
files deflated: nothing depends on when, where or by whom the folder was made.

usage: make_zip.py <folder> <zip>
"""
import os
import sys
import zipfile

FIXED_DATE = (1980, 1, 1, 0, 0, 0)
FOLDER_ATTRIBUTES = 0o40755 << 16
FILE_ATTRIBUTES = 0o100644 << 16


def entries(folder):
    """(name in the zip, path on disk) of every subfolder and file, sorted by name."""
    found = []
    for root, folders, files in os.walk(folder):
        for name in folders + files:
            path = os.path.join(root, name)
            entry = os.path.relpath(path, folder).replace(os.sep, "/")
            found.append((entry + "/" if os.path.isdir(path) else entry, path))
    return sorted(found)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    folder, target = sys.argv[1:]
    with zipfile.ZipFile(target, "w") as archive:
        for name, path in entries(folder):
            info = zipfile.ZipInfo(name, FIXED_DATE)
            if name.endswith("/"):
                info.external_attr = FOLDER_ATTRIBUTES
                archive.writestr(info, b"")
            else:
                info.external_attr = FILE_ATTRIBUTES
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(path, "rb") as source:
                    archive.writestr(info, source.read())


if __name__ == "__main__":
    main()
