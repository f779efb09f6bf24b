#!/usr/bin/env python3
"""Makes a guide of the Windows zip from its Markdown source, so the two never disagree: the
Simplified Chinese 使用说明.txt from the README's Chinese guides, 使用說明.txt and README.txt from
docs/guide.zh-TW.md and docs/guide.en.md; a language's guides in the order of GUIDES, as plain text
that Notepad shows right (windows_text.py): no Markdown marks, and every line within WIDTH
columns, since Notepad does not wrap by default.

    user_guide.py LANGUAGE SOURCE.md VERSION OUT

A source without one of the guides stops the build: a zip must not ship without its guide.
"""
import re
import sys
import unicodedata

import windows_text

# Per language: the guide's title, the source's heading of each guide and its heading in the
# text, and the closing line.
GUIDES = {
    "zh-CN": ("Korvane 文件名还原工具 {} 使用说明", [
        ("### 使用说明", "一、窗口程序"),
        ("### 命令行使用说明", "二、命令行程序 korvane-restore.exe"),
        ("### 哪些文件名会被还原", "三、哪些文件名会被还原"),
    ], "许可：MIT，见 licences\\LICENSE.txt；网址：https://korvane.example/"),
    "zh-TW": ("Korvane 檔案名稱還原工具 {} 使用說明", [
        ("### 使用說明", "一、視窗程式"),
        ("### 命令列使用說明", "二、命令列程式 korvane-restore.exe"),
        ("### 哪些檔案名稱會被還原", "三、哪些檔案名稱會被還原"),
    ], "授權：MIT，見 licences\\LICENSE.txt；網址：https://korvane.example/"),
    "en": ("Korvane 文件名还原工具 {}: guide", [
        ("### Using the window", "1. The window"),
        ("### Using the command line", "2. The command line: korvane-restore.exe"),
        ("### Which names are given back", "3. Which names are given back"),
    ], "Licence: MIT, see licences\\LICENSE.txt; web: https://korvane.example/"),
}
WIDTH = 78
# Never at the start of a line, and never at the end of one.
CLOSING = set("，。；：、！？）」』”’》】…,.;:!?)")
OPENING = set("（「『“‘《【(")


def wide(c):
    """Two columns wide; Chinese fonts draw the curly quotes and the ellipsis so too."""
    return unicodedata.east_asian_width(c) in "WF" or c in "“”‘’…"


def width(text):
    """Columns the text takes in a fixed-width font: Chinese characters take two."""
    return sum(2 if wide(c) else 1 for c in text)


def heading(title, rule):
    return [title, rule * width(title)]


def section(lines, title):
    """The lines under `title` up to the next heading, without the blank lines around them."""
    if title not in lines:
        raise ValueError(f'no heading "{title}"')
    taken = []
    for line in lines[lines.index(title) + 1:]:
        if line.startswith("#"):
            break
        taken.append(line)
    while taken and not taken[0]:
        taken.pop(0)
    while taken and not taken[-1]:
        taken.pop()
    if not taken:
        raise ValueError(f'nothing under "{title}"')
    return taken


def plain(text):
    """Markdown's marks off: links as text and address, no backticks."""
    text = re.sub(r"\[([^\]]+)\]\(([^)]+)\)", r"\1 (\2)", text)
    return text.replace("`", "")


def join(a, b):
    """Two lines of one paragraph: Chinese text runs on without a space."""
    if a and b and wide(a[-1]) and wide(b[0]):
        return a + b
    return a + " " + b


def units(text):
    """The pieces a line may break between: a Chinese character, a word, a space."""
    pieces = []
    for c in text:
        kind = "space" if c == " " else "wide" if wide(c) else "word"
        if pieces and kind != "wide" and pieces[-1][0] == kind:
            pieces[-1][1] += c
        else:
            pieces.append([kind, c])
    return [piece for _, piece in pieces]


def wrap(text, indent, hanging):
    """`text` in lines of at most WIDTH columns: the first after `indent`, the others after
    `hanging` spaces. Breaks between Chinese characters or at spaces, never before closing or
    after opening punctuation; a word longer than a line stays whole."""
    pieces = []
    for unit in units(text):
        # Punctuation sticks to what it closes, and an opening mark to what follows it.
        if pieces and not unit.isspace() and (unit[0] in CLOSING or pieces[-1][-1] in OPENING):
            pieces[-1] += unit
        else:
            pieces.append(unit)
    lines, line = [], indent
    for piece in pieces:
        if piece.isspace():
            if line.strip():
                line += piece
            continue
        if line.strip() and width(line + piece) > WIDTH:
            lines.append(line.rstrip())
            line = " " * hanging
        line += piece
    lines.append(line.rstrip())
    return lines


ITEM = re.compile(r"( *)(\d+\. |- )(.*)")


def guide_text(body):
    """A guide's Markdown as wrapped plain text: list items with their hanging indent, paragraphs,
    and indented examples kept as they are."""
    out = []
    paragraph = None  # [indent, hanging, text]

    def flush():
        nonlocal paragraph
        if paragraph:
            out.extend(wrap(plain(paragraph[2]), paragraph[0], paragraph[1]))
        paragraph = None

    example = False
    for i, line in enumerate(body):
        if not line.strip():
            flush()
            out.append("")
            example = False
            continue
        item = ITEM.match(line)
        starts_example = (i > 0 and not body[i - 1].strip() and line.startswith("    ")
                          and not item)
        if example or starts_example:
            example = True
            out.append(line)
            continue
        if item:
            flush()
            lead = item.group(1) + item.group(2)
            paragraph = [lead, len(lead), item.group(3)]
        elif paragraph:
            paragraph[2] = join(paragraph[2], line.strip())
        else:
            paragraph = ["", 0, line.strip()]
    flush()
    return out


def main():
    if len(sys.argv) != 5 or sys.argv[1] not in GUIDES:
        sys.exit(f"usage: user_guide.py {'|'.join(GUIDES)} SOURCE.md VERSION OUT")
    language, source, version, out = sys.argv[1:]
    title, guides, closing = GUIDES[language]
    with open(source, encoding="utf-8") as f:
        lines = f.read().splitlines()
    text = heading(title.format(version), "=")
    try:
        for wanted, shown in guides:
            text += [""] + heading(shown, "-") + [""] + guide_text(section(lines, wanted))
    except ValueError as e:
        sys.exit(f"{source}: {e}")
    text += ["", closing]
    windows_text.write(out, "\n".join(text) + "\n")


if __name__ == "__main__":
    main()
