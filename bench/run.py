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
import random
import shutil
import signal
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

TREES = {
    "20k": dict(folders=200, files=100, runs=5),
    "200k": dict(folders=2000, files=100, runs=5),
    "1M": dict(folders=10000, files=100, runs=1),
    "smoke": dict(folders=20, files=20, runs=1),
    # A walk meets 200,000 files first and 3,000 small folders after: what workers finish ahead of
    # their turn must wait, and memory must stay bounded.
    "skewed": dict(folders=3000, files=20, first_files=200000, runs=3),
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


# The tool's own default: one worker per hardware thread, at most 8.
DEFAULT_JOBS = max(1, min(8, os.cpu_count() or 1))
FLOOR = "floor (getdents + renameat2)"
PARALLEL_FLOOR = f"parallel floor ({DEFAULT_JOBS} threads)"
QUIET = "korvane-restore --yes --quiet"


UNDO = "korvane-restore --yes --quiet --undo FILE (the run's journal)"


def contenders(args, tree_name):
    """(name, argv for the tree, whether it renames, what to run first untimed or None).

    A contender that does not rename leaves the tree as it was: a scan, or an undo of the run its
    first step made."""
    cli = os.path.join(args.linux_build, "app", "korvane-restore")
    floor = os.path.join(args.linux_build, "bench", "bench_floor")
    log = journal_file(args)
    out = [
        (FLOOR, lambda t: [floor, t], True, None),
        (PARALLEL_FLOOR, lambda t: [floor, "--jobs", str(DEFAULT_JOBS), t], True, None),
        ("find -name '*.qjd' (scan only)", lambda t: ["find", t, "-name", "*.qjd"], False, None),
        ("Python script (os.walk + rename)",
         lambda t: [sys.executable, os.path.join(HERE, "user_script.py"), t], True, None),
        ("korvane-restore --yes --quiet --jobs 1",
         lambda t: [cli, "--yes", "--quiet", "--jobs", "1", t], True, None),
        (QUIET, lambda t: [cli, "--yes", "--quiet", t], True, None),
        ("korvane-restore --yes --quiet --log FILE",
         lambda t: [cli, "--yes", "--quiet", "--log", log, t], True, None),
        ("korvane-restore --yes --format=json",
         lambda t: [cli, "--yes", "--format=json", t], True, None),
        (UNDO, lambda t: [cli, "--yes", "--quiet", "--undo", log], False,
         lambda t: [cli, "--yes", "--quiet", "--log", log, t]),
    ]
    if args.wine and (not args.wine_trees or tree_name in args.wine_trees.split(",")):
        wine_run = [os.path.join(ROOT, "cmake", "wine-run"), args.wine_prefix]
        exe = os.path.join(args.windows_build, "app", "korvane-restore.exe")
        out.append(("wine korvane-restore.exe --yes --quiet",
                    lambda t: wine_run + [exe, "--yes", "--quiet", wine_path(t)], True, None))
        out.append(("wine korvane-restore.exe --yes --quiet --log FILE",
                    lambda t: wine_run + [exe, "--yes", "--quiet", "--log", wine_path(log),
                                          wine_path(t)], True, None))
        out.append(("wine korvane-restore.exe --yes --quiet --undo FILE (the run's journal)",
                    lambda t: wine_run + [exe, "--yes", "--quiet", "--undo", wine_path(log)],
                    False,
                    lambda t: wine_run + [exe, "--yes", "--quiet", "--log", wine_path(log),
                                          wine_path(t)]))
        window = os.path.join(args.windows_build, "bench", "bench_window_run.exe")
        out.append(("wine window run (Start pressed, every row listed)",
                    lambda t: wine_run + [window, "--bench-run", wine_path(t),
                                          wine_path(window_result_file(args))], True, None))
    return out


def journal_file(args):
    return os.path.join(args.scratch_dir, "journal.log")


def window_result_file(args):
    return os.path.join(args.scratch_dir, "window-result.txt")


WINDOW_RUN_ALONE = "wine window run: Start to end alone (timed inside the window)"


def key_values(words, kind):
    """'a 1 b 2' as {'a': kind('1'), 'b': kind('2')}: how the Windows programs report."""
    return dict(zip(words[::2], (kind(w) for w in words[1::2])))


def window_result(args, rows_expected):
    """The window run wrote 'list N rows N scanned S ms M': every row must be in the list.

    Returns (ok, what it wrote, the run's own seconds without the window's start-up, or None).
    """
    path = window_result_file(args)
    try:
        with open(path) as f:
            words = f.read().split()
        os.unlink(path)
    except OSError:
        return False, "no result file", None
    got = key_values(words, int)
    ok = got.get("list") == rows_expected and got.get("rows") == rows_expected
    run_ms = got.get("ms")
    return ok, " ".join(words), None if run_ms is None else run_ms / 1000


def stop_latency(args, env, template, scratch, run_seconds):
    """Times Stop clicks posted at random moments of window runs, each over a fresh copy.

    The moments fall within the first 90% of run_seconds, the run's own length; a click that
    comes after its run has ended is not counted and is tried again at another moment.
    """
    program = os.path.join(args.windows_build, "bench", "bench_stop_latency.exe")
    rng = random.Random(12345)
    work = os.path.join(scratch, "work")
    samples, seen = [], []
    for _ in range(args.stop_samples * 10):
        if len(samples) == args.stop_samples:
            break
        delay_ms = rng.randrange(0, max(1, int(run_seconds * 900)))
        shutil.rmtree(work, ignore_errors=True)
        subprocess.run(["cp", "-al", template, work], check=True)
        out = subprocess.run([os.path.join(ROOT, "cmake", "wine-run"), args.wine_prefix, program,
                              wine_path(work), str(delay_ms)], env=env, check=True,
                             stdout=subprocess.PIPE, text=True).stdout
        words = out.split()
        if words[:1] != ["click"]:
            continue
        got = key_values(words, float)
        samples.append(got["ended"])
        seen.append(got["seen"])
        print(f"   Stop click {len(samples)} after {delay_ms} ms: taken off the queue after "
              f"{got['seen']:.1f} ms, run ended {got['ended']:.1f} ms after the click", flush=True)
    if not samples:
        raise SystemExit("no Stop click fell within a run")
    samples.sort()
    count = f"{len(samples)} sample" + ("s" if len(samples) > 1 else "")
    return (f"\nStop click in a window run, {count} at random moments, each in a "
            f"first run over a fresh copy: median {statistics.median(samples):.1f} ms, max "
            f"{samples[-1]:.1f} ms (taken off the queue after {min(seen):.1f}-{max(seen):.1f} "
            f"ms).\n")


def ctrl_c_latency(args, template, scratch, run_seconds):
    """Times Ctrl-C on the command line: SIGINT at a random moment of a run (within the first
    90% of run_seconds), each over a fresh copy, to the process's exit; with and without --log.
    A signal that comes after the run has ended is not counted and is tried again."""
    cli = os.path.join(args.linux_build, "app", "korvane-restore")
    rng = random.Random(54321)
    work = os.path.join(scratch, "work")
    said = []
    for extra, label in (([], "korvane-restore --yes --quiet"),
                         (["--log", journal_file(args)], "with --log FILE")):
        samples = []
        for _ in range(args.stop_samples * 10):
            if len(samples) == args.stop_samples:
                break
            shutil.rmtree(work, ignore_errors=True)
            subprocess.run(["cp", "-al", template, work], check=True)
            if os.path.exists(journal_file(args)):
                os.remove(journal_file(args))
            process = subprocess.Popen([cli, "--yes", "--quiet"] + extra + [work],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(rng.uniform(0, run_seconds * 0.9))
            sent = time.monotonic()
            process.send_signal(signal.SIGINT)
            interrupted = process.wait() == 130
            if interrupted:
                samples.append((time.monotonic() - sent) * 1000)
        if samples:
            said.append(f"{label}: median {statistics.median(samples):.1f} ms, max "
                        f"{max(samples):.1f} ms ({len(samples)} samples)")
        else:
            said.append(f"{label}: every run ended before its signal")
    return "\nCtrl-C at a random moment of a run, to the process's exit: " + "; ".join(said) + ".\n"


def start_display():
    """Starts a virtual X display for the window runs; returns (process, display name)."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp"], pass_fds=(write_end,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as f:
        number = f.readline().strip()
    return xvfb, ":" + number


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--trees", default="200k,1M")
    ap.add_argument("--runs", type=int, help="runs per contender (default: per tree)")
    ap.add_argument("--scratch", default=os.environ.get("TMPDIR", "/tmp"))
    ap.add_argument("--linux-build", default=os.path.join(ROOT, "build", "linux-release"))
    ap.add_argument("--windows-build", default=os.path.join(ROOT, "build", "windows"))
    ap.add_argument("--wine", action="store_true", help="also time the Windows build under Wine")
    ap.add_argument("--stop-samples", type=int, default=10,
                    help="Ctrl-C stops, and Stop clicks in window runs, to time (0: none)")
    ap.add_argument("--wine-trees", help="time the Wine contenders on these trees only")
    ap.add_argument("--stop-trees", help="time Stop clicks on these trees only (default: all "
                    "the Wine trees)")
    ap.add_argument("--wine-prefix", help="Wine prefix (default: the Windows build's own)")
    ap.add_argument("--out", help="write the results as Markdown here")
    args = ap.parse_args()

    env = dict(os.environ, WINEDEBUG="-all")
    scratch = os.path.join(args.scratch, f"korvane-bench-{os.getpid()}")
    os.makedirs(scratch)
    args.scratch_dir = scratch
    xvfb = None
    if args.wine:
        args.wine_prefix = args.wine_prefix or os.path.join(args.windows_build, "wine")
        env["WINEPREFIX"] = args.wine_prefix
        # The window is drawn on a virtual display: its on-screen cost is part of the run.
        xvfb, env["DISPLAY"] = start_display()
        # Makes the prefix if need be; then one Wine server serves every run, as on a desktop
        # where Wine is already up, so no run pays for starting it.
        subprocess.run([os.path.join(ROOT, "cmake", "wine-run"), args.wine_prefix, "cmd", "/c",
                        "exit"], env=env, check=True, stdout=subprocess.DEVNULL)
        subprocess.Popen(["wineserver", "-p"], env=env)
    lines = []
    failures = 0
    try:
        for tree_name in args.trees.split(","):
            tree = TREES[tree_name]
            runs = args.runs or tree["runs"]
            template = os.path.join(scratch, "template-" + tree_name)
            expected_file = template + ".expected"
            subprocess.run([sys.executable, os.path.join(HERE, "make_tree.py"), template,
                            "--folders", str(tree["folders"]), "--files", str(tree["files"]),
                            "--first-files", str(tree.get("first_files", 0)),
                            "--expected", expected_file], check=True)
            with open(expected_file, encoding="utf-8", errors="surrogateescape") as f:
                expected = f.read().split("\n")[:-1]
            unchanged = listing(template)
            entries = len(unchanged)
            candidates = sum(1 for e in unchanged if e.endswith(".qjd"))
            print(f"== tree {tree_name}: {entries} entries, {runs} run(s)", flush=True)

            results = {name: [] for name, _, _, _ in contenders(args, tree_name)}
            rss = {name: 0 for name in results}
            for run in range(runs):
                for name, argv, renames, first in contenders(args, tree_name):
                    work = os.path.join(scratch, "work")
                    shutil.rmtree(work, ignore_errors=True)
                    # Hard links: the copy's names are its own, and no content is written.
                    subprocess.run(["cp", "-al", template, work], check=True)
                    if os.path.exists(journal_file(args)):
                        os.remove(journal_file(args))
                    if first:
                        subprocess.run(first(work), env=env, check=False,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                    subprocess.run(["sync"], check=True)
                    seconds, maxrss, code = timed(argv(work), env=env)
                    got = listing(work)
                    if got != (expected if renames else unchanged):
                        failures += 1
                        print(f"   !! {name}: the tree is not as expected (exit {code})")
                    if name.startswith("wine window"):
                        rows_ok, said, alone = window_result(args, candidates)
                        if not rows_ok:
                            failures += 1
                            print(f"   !! {name}: the list does not hold every row ({said})")
                        if alone is not None:
                            results.setdefault(WINDOW_RUN_ALONE, []).append(alone)
                            rss[WINDOW_RUN_ALONE] = max(rss.get(WINDOW_RUN_ALONE, 0), maxrss)
                            print(f"   run {run + 1} {WINDOW_RUN_ALONE}: {alone:.3f} s",
                                  flush=True)
                    results[name].append(seconds)
                    rss[name] = max(rss[name], maxrss)
                    print(f"   run {run + 1} {name}: {seconds:.3f} s, {maxrss / 1024:.1f} MiB",
                          flush=True)

            floor_median = statistics.median(results[FLOOR])
            parallel_median = statistics.median(results[PARALLEL_FLOOR])
            blocked = sum(1 for e in expected if e.endswith(".qjd"))
            lines.append(f"\n### Tree {tree_name}: {entries:,} entries, {candidates:,} candidates "
                         f"({blocked:,} of them blocked by an existing name), "
                         f"{runs} run(s) each\n")
            lines.append("| contender | min (s) | median (s) | median / floor | "
                         "median / parallel floor | max RSS (MiB) |")
            lines.append("|---|---:|---:|---:|---:|---:|")
            for name, times in results.items():
                med = statistics.median(times)
                lines.append(f"| {name} | {min(times):.3f} | {med:.3f} | "
                             f"{med / floor_median:.2f}x | {med / parallel_median:.2f}x | "
                             f"{rss[name] / 1024:.1f} |")
            if args.stop_samples:
                lines.append(ctrl_c_latency(args, template, scratch,
                                            statistics.median(results[QUIET])))
            if (args.stop_samples and WINDOW_RUN_ALONE in results and
                    (not args.stop_trees or tree_name in args.stop_trees.split(","))):
                lines.append(stop_latency(args, env, template, scratch,
                                          statistics.median(results[WINDOW_RUN_ALONE])))
            shutil.rmtree(template, ignore_errors=True)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
        if xvfb:
            subprocess.run(["wineserver", "-k"], env=env)
            xvfb.terminate()
            xvfb.wait()

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
