#!/usr/bin/env python3
"""Lays a deterministic tree of protected and ordinary names for the benchmarks.

    make_tree.py DEST --folders N --files M [--first-files F] [--seed S]

A quarter of the files are candidates (mixed-case names ending in .201x.qjd); one candidate in
fifty finds its restored name already taken, so the run reports it as failed. DEST/../<name>.expected
lists every relative path the tree must hold after a run, one per line, sorted.
"""
import argparse
import os
import random


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("dest")
    ap.add_argument("--folders", type=int, required=True)
    ap.add_argument("--files", type=int, required=True, help="files per folder")
    ap.add_argument("--first-files", type=int,
                    help="files in the top folder instead (a walk meets it first)")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--expected", help="where to write the expected final listing")
    args = ap.parse_args()

    rng = random.Random(args.seed)
    exts = ["doc", "DOCX", "xls", "Pdf", "jpg", "txt", "dwg", "报告", "PPT", "zip"]
    os.makedirs(args.dest)
    expected = []
    # Folders form a shallow, wide tree: up to 40 subfolders per level, as real shares do.
    folders = [""]
    for i in range(1, args.folders):
        parent = folders[rng.randrange(max(1, len(folders) // 40 + 1))] if i > 40 else ""
        name = f"{parent}/Dir{i:05d}" if parent else f"Dir{i:05d}"
        folders.append(name)
    candidate_no = 0
    for folder in folders:
        path = os.path.join(args.dest, folder)
        os.makedirs(path, exist_ok=True)
        if folder:
            expected.append(folder)
        files = args.first_files if not folder and args.first_files else args.files
        for j in range(files):
            stem = f"File_{j:06d}_{rng.randrange(1 << 30):08x}.{rng.choice(exts)}"
            if j % 4 == 0:
                candidate_no += 1
                protected = f"{stem}.201{rng.randrange(10)}.qjd"
                restored = stem.lower()
                if candidate_no % 50 == 0:
                    # The restored name is taken: the candidate stays as it is.
                    with open(os.path.join(path, restored), "w") as f:
                        f.write("taken")
                    expected += [os.path.join(folder, restored), os.path.join(folder, protected)]
                else:
                    expected.append(os.path.join(folder, restored))
                with open(os.path.join(path, protected), "w") as f:
                    f.write(stem)
            else:
                with open(os.path.join(path, stem), "w") as f:
                    f.write(stem)
                expected.append(os.path.join(folder, stem))
    if args.expected:
        with open(args.expected, "w", encoding="utf-8", errors="surrogateescape") as f:
            f.write("\n".join(sorted(expected)) + "\n")


if __name__ == "__main__":
    main()
