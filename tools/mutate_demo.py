#!/usr/bin/python3
"""Plays the demo's whole walkthrough on mutated copies of the demo project, under the
sanitizers, and keeps every copy that makes the player crash, hang, report a sanitizer error,
end with a fatal error or with a status the command line does not document.

Each round copies examples/demo, damages one to five of its data files (flipped bytes, cut or
repeated pieces, fields swapped between files, extreme numbers, long strings, lines repeated),
and runs the sanitizer build of the player headless on examples/demo/walkthrough.events with a
time limit. Findings go to OUT/NNNN/ (the project, the mutations made and the player's standard
error). Build the player first: cmake --preset sanitize && cmake --build --preset sanitize.

    tools/mutate_demo.py --minutes 60            # an hour of rounds, niced
    tools/mutate_demo.py --rounds 200 --seed 7 --pictures
"""

import argparse
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEMO = os.path.join(ROOT, "examples", "demo")
PICTURES = (".gif", ".bmp", ".jpg", ".ico", ".cur", ".wmf", ".emf", ".png")
MEDIA = PICTURES + (".wav", ".mp3", ".mid", ".avi", ".wma")
DOCUMENTED_STATUSES = (0, 1, 2)
SANITIZER_MARKS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                   "ERROR: UndefinedBehaviorSanitizer")
EXTREMES = [b"0", b"-1", b"32767", b"-32768", b"32768", b"2147483647", b"-2147483648",
            b"99999999999", b"1E+308", b"-1E+308", b"1.#INF", b"NaN", b"#TRUE#", b"#FALSE#",
            b"#NULL#", b"\"\"", b"\"..\\\\..\\\\x\"", b"\"" + b"A" * 70000 + b"\""]


def data_files(project, pictures):
    found = []
    for folder, _, names in os.walk(project):
        for name in names:
            lower = name.lower()
            if name.endswith(".events"):
                continue
            if lower.endswith(MEDIA) and not (pictures and lower.endswith(PICTURES)):
                continue
            found.append(os.path.join(folder, name))
    return sorted(found)


def mutate_bytes(data, other, rng):
    """One damage to a file's bytes; returns the new bytes and what was done."""
    if not data:
        return bytes(rng.randrange(256) for _ in range(rng.randrange(1, 64))), "filled"
    kind = rng.randrange(8)
    at = rng.randrange(len(data))
    if kind == 0:
        flips = bytearray(data)
        for _ in range(rng.randrange(1, 8)):
            i = rng.randrange(len(flips))
            flips[i] ^= 1 << rng.randrange(8)
        return bytes(flips), "bits flipped"
    if kind == 1:
        return data[:at], "cut at %d" % at
    if kind == 2:
        end = min(len(data), at + rng.randrange(1, 200))
        return data[:at] + data[end:], "bytes %d-%d removed" % (at, end)
    if kind == 3:
        end = min(len(data), at + rng.randrange(1, 200))
        return data[:end] + data[at:end] * rng.randrange(1, 50) + data[end:], "piece repeated"
    if kind == 4:
        numbers = list(re.finditer(rb"-?\d+(\.\d+)?", data))
        if numbers:
            m = rng.choice(numbers)
            value = rng.choice(EXTREMES)
            return data[:m.start()] + value + data[m.end():], "number -> %r" % value[:20]
    if kind == 5:
        strings = list(re.finditer(rb"\"[^\"\r\n]*\"", data))
        if strings:
            m = rng.choice(strings)
            value = rng.choice(EXTREMES)
            return data[:m.start()] + value + data[m.end():], "string -> %r" % value[:20]
    if kind == 6 and other:
        start = rng.randrange(len(other))
        piece = other[start:start + rng.randrange(1, 400)]
        return data[:at] + piece + data[at:], "piece of another file inserted"
    lines = data.split(b"\n")
    i = rng.randrange(len(lines))
    lines[i:i] = [lines[i]] * rng.randrange(1, 20)
    return b"\n".join(lines), "line %d repeated" % i


def mutate_project(project, rng, pictures):
    files = data_files(project, pictures)
    done = []
    for _ in range(rng.randrange(1, 6)):
        path = rng.choice(files)
        other_path = rng.choice(files)
        with open(path, "rb") as f:
            data = f.read()
        with open(other_path, "rb") as f:
            other = f.read()
        data, what = mutate_bytes(data, other, rng)
        with open(path, "wb") as f:
            f.write(data)
        done.append("%s: %s" % (os.path.relpath(path, project), what))
    return done


def run_round(player, work, rng, args):
    project = os.path.join(work, "demo")
    shutil.rmtree(project, ignore_errors=True)
    shutil.copytree(DEMO, project)
    mutations = mutate_project(project, rng, args.pictures)
    env = dict(os.environ)
    env["ASAN_OPTIONS"] = "allocator_may_return_null=1:detect_leaks=1:hard_rss_limit_mb=%d" % (
        args.memory_mb)
    env["UBSAN_OPTIONS"] = "print_stacktrace=1:halt_on_error=1"
    env["LSAN_OPTIONS"] = "suppressions=%s" % os.path.join(ROOT, "scripts", "lsan.supp")
    command = ["nice", "-n", "10", player, "--headless", "--events",
               os.path.join(DEMO, "walkthrough.events"), "--trace", os.devnull,
               "--settings", os.path.join(work, "settings.ini"), project]
    started = time.monotonic()
    try:
        done = subprocess.run(command, env=env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.PIPE, timeout=args.timeout)
        status, stderr = done.returncode, done.stderr.decode("utf-8", "replace")
    except subprocess.TimeoutExpired as e:
        status, stderr = "hang", (e.stderr or b"").decode("utf-8", "replace")
    seconds = time.monotonic() - started
    problem = None
    if status == "hang":
        problem = "hang (over %d s)" % args.timeout
    elif any(mark in stderr for mark in SANITIZER_MARKS):
        problem = "sanitizer report"
    elif status not in DOCUMENTED_STATUSES:
        problem = "exit status %s" % status
    elif "fatal error" in stderr:
        problem = "fatal error"  # an error the player did not handle where it happened
    return problem, mutations, stderr, seconds, project


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--player", default=os.path.join(ROOT, "build-sanitize", "src", "app",
                                                         "storyloom"))
    parser.add_argument("--minutes", type=float, default=0, help="run for this long")
    parser.add_argument("--rounds", type=int, default=0, help="or this many rounds")
    parser.add_argument("--seed", type=int, default=int(time.time()))
    parser.add_argument("--timeout", type=int, default=120, help="seconds a round may take")
    parser.add_argument("--memory-mb", type=int, default=3072)
    parser.add_argument("--pictures", action="store_true", help="damage pictures too")
    parser.add_argument("--out", default=os.path.join(ROOT, "build-sanitize", "mutated-demo"))
    args = parser.parse_args()
    if not os.access(args.player, os.X_OK):
        sys.exit("mutate_demo: no player at %s (build the sanitize preset first)" % args.player)
    if not args.minutes and not args.rounds:
        args.rounds = 20
    rng = random.Random(args.seed)
    deadline = time.monotonic() + args.minutes * 60 if args.minutes else None
    rounds = findings = 0
    slowest = 0.0
    slowest_round = ""
    kinds = {}
    with tempfile.TemporaryDirectory(prefix="storyloom-mutate-") as work:
        while (args.rounds and rounds < args.rounds) or (deadline and time.monotonic() < deadline):
            rounds += 1
            problem, mutations, stderr, seconds, project = run_round(args.player, work, rng, args)
            if seconds > slowest:
                slowest = seconds
                slowest_round = "round %d: %s" % (rounds, "; ".join(mutations))
            if not problem:
                continue
            findings += 1
            kinds[problem] = kinds.get(problem, 0) + 1
            keep = os.path.join(args.out, "%04d" % findings)
            shutil.rmtree(keep, ignore_errors=True)
            shutil.copytree(project, os.path.join(keep, "demo"))
            with open(os.path.join(keep, "report.txt"), "w") as f:
                f.write("seed %d, round %d: %s\n\n%s\n\n%s" % (
                    args.seed, rounds, problem, "\n".join(mutations), stderr[-20000:]))
            print("round %d: %s (%s) -> %s" % (rounds, problem, "; ".join(mutations), keep),
                  flush=True)
    print("mutate_demo: seed %d, %d rounds, %d findings%s, slowest round %.1f s" % (
        args.seed, rounds, findings,
        "" if not kinds else " (" + ", ".join("%s: %d" % k for k in sorted(kinds.items())) + ")",
        slowest))
    if slowest_round:
        print("mutate_demo: slowest %s" % slowest_round)
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
