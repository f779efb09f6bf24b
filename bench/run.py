#!/usr/bin/env python3
"""Times every way of restoring a tree on the same machine in one run, so ratios are fair.

For each tree and each run, every contender gets a fresh copy of the tree (the copy is not
timed), runs, and the result is checked against the tree's expected listing. Reports the minimum
and the median wall time, the ratio of medians to the floor, and the peak memory (max RSS).
"""
import argparse
import datetime
import os
import platform
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

TREES = {
    "200k": dict(folders=2000, files=100, runs=5),
    "1M": dict(folders=10000, files=100, runs=1),
    "smoke": dict(folders=20, files=20, runs=1),
}


def listing(root):
    out = []
    for dirpath, dirnames, filenames in os.walk(root):
        rel = os.path.relpath(dirpath, root)
        for name in dirnames + filenames:
            out.append(name if rel == "." else os.path.join(rel, name))
    return sorted(out)


def timed(argv, env=None):
    """Runs argv with its output thrown away; returns (seconds, max RSS in KiB, exit code).

    The peak memory comes from GNU time: a child forked from this Python process would carry
    Python's own resident size into its high-water mark across exec.
    """
    rss_file = os.path.join(os.environ.get("TMPDIR", "/tmp"), f"korvane-rss-{os.getpid()}")
    start = time.perf_counter()
    with open(os.devnull, "wb") as null:
        code = subprocess.call(["/usr/bin/time", "-o", rss_file, "-f", "%M"] + argv, stdout=null,
                               stderr=null, stdin=subprocess.DEVNULL, env=env)
    elapsed = time.perf_counter() - start
    with open(rss_file) as f:
        maxrss = int(f.read().split()[-1])
    os.unlink(rss_file)
    return elapsed, maxrss, code


def wine_path(path):
    return "Z:" + path.replace("/", "\\")


def contenders(args):
    cli = os.path.join(args.linux_build, "app", "korvane-restore")
    floor = os.path.join(args.linux_build, "bench", "bench_floor")
    out = [
        ("floor (getdents + renameat2)", lambda t: [floor, t], True),
        ("find -name '*.qjd' (scan only)", lambda t: ["find", t, "-name", "*.qjd"], False),
        ("Python script (os.walk + rename)",
         lambda t: [sys.executable, os.path.join(HERE, "user_script.py"), t], True),
        ("korvane-restore --yes --quiet", lambda t: [cli, "--yes", "--quiet", t], True),
        ("korvane-restore --yes --format=json", lambda t: [cli, "--yes", "--format=json", t], True),
    ]
    if args.wine:
        exe = os.path.join(args.windows_build, "app", "korvane-restore.exe")
        if os.path.exists(exe):
            out.append(("wine korvane-restore.exe --yes --quiet",
                        lambda t: ["wine", exe, "--yes", "--quiet", wine_path(t)], True))
        gui = os.path.join(args.windows_build, "app", "Korvane·文件名还原工具.exe")
        if os.path.exists(gui) and args.window_run:
            out.append(("wine window run (Start pressed, 50k rows listed)",
                        lambda t: args.window_run.split() + [gui, wine_path(t)], True))
    return out


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--trees", default="200k,1M")
    ap.add_argument("--runs", type=int, help="runs per contender (default: per tree)")
    ap.add_argument("--scratch", default=os.environ.get("TMPDIR", "/tmp"))
    ap.add_argument("--linux-build", default=os.path.join(ROOT, "build", "linux-release"))
    ap.add_argument("--windows-build", default=os.path.join(ROOT, "build", "windows"))
    ap.add_argument("--wine", action="store_true", help="also time the Windows build under Wine")
    ap.add_argument("--window-run", help="command prefix that runs a timed window run")
    ap.add_argument("--out", help="write the results as Markdown here")
    args = ap.parse_args()

    env = dict(os.environ, WINEDEBUG="-all")
    scratch = os.path.join(args.scratch, f"korvane-bench-{os.getpid()}")
    os.makedirs(scratch)
    lines = []
    failures = 0
    try:
        for tree_name in args.trees.split(","):
            spec = TREES[tree_name]
            runs = args.runs or spec["runs"]
            template = os.path.join(scratch, "template-" + tree_name)
            expected_file = template + ".expected"
            subprocess.run([sys.executable, os.path.join(HERE, "make_tree.py"), template,
                            "--folders", str(spec["folders"]), "--files", str(spec["files"]),
                            "--expected", expected_file], check=True)
            with open(expected_file, encoding="utf-8", errors="surrogateescape") as f:
                expected = f.read().split("\n")[:-1]
            unchanged = listing(template)
            entries = len(unchanged)
            print(f"== tree {tree_name}: {entries} entries, {runs} run(s)", flush=True)

            results = {name: [] for name, _, _ in contenders(args)}
            rss = {name: 0 for name in results}
            for run in range(runs):
                for name, argv, renames in contenders(args):
                    work = os.path.join(scratch, "work")
                    shutil.rmtree(work, ignore_errors=True)
                    subprocess.run(["cp", "-a", template, work], check=True)
                    subprocess.run(["sync"], check=True)
                    seconds, maxrss, code = timed(argv(work), env=env)
                    got = listing(work)
                    ok = got == (expected if renames else unchanged)
                    if not ok:
                        failures += 1
                        print(f"   !! {name}: the tree is not as expected (exit {code})")
                    results[name].append(seconds)
                    rss[name] = max(rss[name], maxrss)
                    print(f"   run {run + 1} {name}: {seconds:.3f} s, {maxrss / 1024:.1f} MiB",
                          flush=True)

            floor_median = statistics.median(results[next(iter(results))])
            lines.append(f"\n### Tree {tree_name}: {entries:,} entries, "
                         f"{sum(1 for e in expected if not e.endswith('.qjd')) - 0:,} entries "
                         f"after the run, {runs} run(s) each\n")
            lines.append("| contender | min (s) | median (s) | median / floor | max RSS (MiB) |")
            lines.append("|---|---:|---:|---:|---:|")
            for name, times in results.items():
                med = statistics.median(times)
                lines.append(f"| {name} | {min(times):.3f} | {med:.3f} | "
                             f"{med / floor_median:.2f}x | {rss[name] / 1024:.1f} |")
            shutil.rmtree(template, ignore_errors=True)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)

    cpu = platform.processor() or platform.machine()
    try:
        with open("/proc/cpuinfo") as f:
            cpu = next(l.split(":", 1)[1].strip() for l in f if l.startswith("model name"))
    except (OSError, StopIteration):
        pass
    header = (f"Machine: {cpu}, {os.cpu_count()} cores, Linux {platform.release()}; "
              f"scratch on {args.scratch}. Date: {datetime.date.today().isoformat()}.\n")
    report = header + "\n".join(lines) + "\n"
    print(report)
    if args.out:
        with open(args.out, "w") as f:
            f.write(report)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
