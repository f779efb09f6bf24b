#!/usr/bin/env python3
"""Writes a UTF-8 text file as Windows' Notepad reads it: a byte order mark and CRLF line ends.

    windows_text.py IN OUT

Notepad before Windows 10 shows a file with bare LF line ends as one long line, and without the
mark may take UTF-8 for the system's code page.
"""
import os
import sys


def write(path, text):
    lines = text.replace("\r\n", "\n").split("\n")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8-sig", newline="\r\n") as out:
        out.write("\n".join(lines))


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: windows_text.py IN OUT")
    with open(sys.argv[1], encoding="utf-8") as source:
        write(sys.argv[2], source.read())


if __name__ == "__main__":
    main()
