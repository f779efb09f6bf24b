#!/usr/bin/env python3
"""Readies a Chinese manual page for groff, which breaks lines only at spaces: a break point (\\:)
after every Chinese character, except before the punctuation that closes a phrase, so that a
sentence wraps at the window's edge as Chinese text does, and not past it. A text line that ends
in Chinese runs on into the next without the space a line end would make (\\c).

    chinese_man_page.py IN OUT
"""
import sys
import unicodedata

# Never at the start of a line.
CLOSING = set("，。；：、！？）」』”’》】")


def chinese(c):
    return unicodedata.east_asian_width(c) in "WF"


def breakable(line):
    out = []
    for c, after in zip(line, line[1:] + "\n"):
        out.append(c)
        if chinese(c) and (chinese(after) or after.isalnum()) and after not in CLOSING:
            out.append("\\:")
    return "".join(out)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: chinese_man_page.py IN OUT")
    with open(sys.argv[1], encoding="utf-8") as f:
        lines = f.read().split("\n")
    with open(sys.argv[2], "w", encoding="utf-8") as f:
        out = []
        for line, after in zip(lines, lines[1:] + [""]):
            if line.startswith('.\\"'):
                out.append(line)  # comments stay as written
                continue
            line = breakable(line)
            text = not line.startswith(".") and not after.startswith(".")
            if text and line and after and chinese(line[-1]) and chinese(after[0]):
                line += "\\c"
            out.append(line)
        f.write("\n".join(out))


if __name__ == "__main__":
    main()
