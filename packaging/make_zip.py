#!/usr/bin/env python3
"""Packs an installed tree into the Windows zip and prints its path:

    make_zip.py STAGE OUT_DIR

STAGE holds one folder, which the zip holds and is named after. The same files give the same
bytes: the entries go in in byte order of their names (not the file system's), every one carries
the time SOURCE_DATE_EPOCH gives and nothing of who built it (no owner, no extra time stamps), and
names are stored as UTF-8 with the flag that tells Windows so.
"""
import os
import sys
import time
import zipfile


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_zip.py STAGE OUT_DIR")
    stage, out = sys.argv[1:]
    folders = os.listdir(stage)
    if len(folders) != 1 or not os.path.isdir(os.path.join(stage, folders[0])):
        sys.exit(f"make_zip.py: {stage} must hold exactly one folder")
    name = folders[0]
    # A zip's times are the local times of no zone in particular: the commit's, in UTC.
    when = time.gmtime(int(os.environ["SOURCE_DATE_EPOCH"]))[:6]

    entries = []
    for folder, _, files in os.walk(os.path.join(stage, name)):
        for file in files:
            path = os.path.join(folder, file)
            entries.append((os.path.relpath(path, stage).replace(os.sep, "/"), path))
    entries.sort(key=lambda entry: entry[0].encode())

    zip_path = os.path.join(out, name + ".zip")
    partial = zip_path + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        for entry, path in entries:
            info = zipfile.ZipInfo(entry, when)
            info.compress_type = zipfile.ZIP_DEFLATED
            mode = 0o755 if os.access(path, os.X_OK) else 0o644
            info.external_attr = (0o100000 | mode) << 16
            with open(path, "rb") as f:
                archive.writestr(info, f.read(), compresslevel=9)
    os.replace(partial, zip_path)
    print(zip_path)


if __name__ == "__main__":
    main()
