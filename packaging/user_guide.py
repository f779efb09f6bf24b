#!/usr/bin/env python3
"""Makes 使用说明.txt for the Windows zip from the README, so the two never disagree: the window's
user guide (the numbered list under "### 使用说明") and the section "## The command line" with its
subsections, as plain text that Notepad shows right (windows_text.py).

    user_guide.py README.md VERSION OUT

A README without either part stops the build: a zip must not ship without its guide.
"""
import re
import sys
import unicodedata

import windows_text


def width(text):
    """Columns the text takes in a fixed-width font: Chinese characters take two."""
    return sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in text)


def heading(title, rule):
    return [title, rule * width(title)]


def find(lines, title):
    if title not in lines:
        raise ValueError(f'no heading "{title}"')
    return lines.index(title)


def trimmed(lines):
    while lines and not lines[0]:
        lines = lines[1:]
    while lines and not lines[-1]:
        lines = lines[:-1]
    return lines


def user_guide(lines):
    """The numbered list under "### 使用说明": its items, their indented lines and the blank lines
    between them; the paragraphs after it are about the window for developers."""
    start = find(lines, "### 使用说明")
    taken = [lines[start]]
    for line in lines[start + 1:]:
        if line and not line[0].isspace() and not re.match(r"\d+\. ", line):
            break
        taken.append(line)
    if not any(re.match(r"\d+\. ", line) for line in taken):
        raise ValueError("no numbered list under ### 使用说明")
    return trimmed(taken)


def command_line(lines):
    """"## The command line" up to the next section of the same level."""
    start = find(lines, "## The command line")
    taken = []
    for line in lines[start:]:
        if taken and line.startswith("## "):
            break
        taken.append(line)
    return trimmed(taken)


def plain(line):
    """Markdown's marks off a line: headings underlined, links as text and address, no backticks."""
    m = re.match(r"(#+) (.*)", line)
    if m:
        return heading(m.group(2), "=")
    line = re.sub(r"\[([^\]]+)\]\(([^)]+)\)", r"\1 (\2)", line)
    return [line.replace("`", "")]


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: user_guide.py README.md VERSION OUT")
    readme, version, out = sys.argv[1:]
    with open(readme, encoding="utf-8") as f:
        lines = f.read().splitlines()
    try:
        body = user_guide(lines) + [""] + command_line(lines)
    except ValueError as e:
        sys.exit(f"{readme}: {e}")
    text = heading(f"Korvane 文件名还原工具 {version}", "=") + [""]
    for line in body:
        text += plain(line) if not line.startswith("    ") else [line]
    windows_text.write(out, "\n".join(text) + "\n")


if __name__ == "__main__":
    main()
