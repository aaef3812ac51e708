#!/usr/bin/env python3
"""Plants small faults in the rules and file code one at a time and tells which ones the test suite
does not notice: a comparison off by one, a condition reversed, + 1 for - 1, true for false.

    scripts/mutants.py [--count N] [--seed S] [--dirs src/core src/io] [--tests REGEX] [--list]

It works in a git worktree of its own under /tmp (the current commit plus your uncommitted changes of
the mutated files), builds there with ccache when it is installed, and prints each survivor with its
file, line and change. Slow by nature (a build and a test run per fault): run it on demand, not in CI.
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

HERE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# (pattern, replacement) pairs; each match in code (not in comments or strings) is one site.
SWAPS = [
    # comparisons are written with a space each side; template brackets never are
    (r"(?<= )<=(?= )", "<"),
    (r"(?<= )>=(?= )", ">"),
    (r"(?<= )<(?= )", "<="),
    (r"(?<= )>(?= )", ">="),
    (r"==", "!="),
    (r"!=", "=="),
    (r"\+ 1\b", "- 1"),
    (r"- 1\b", "+ 1"),
    (r"\btrue\b", "false"),
    (r"\bfalse\b", "true"),
    (r"&&", "||"),
    (r"\|\|", "&&"),
    (r"\+\+", "--"),
]

SKIP_LINE = re.compile(r"^\s*(#|//|\*|/\*)")


def code_part(line):
    """The line with string literals blanked and any trailing comment cut, so sites are only code."""
    out, in_str, i = [], False, 0
    while i < len(line):
        c = line[i]
        if in_str:
            if c == "\\":
                out.append("  ")
                i += 2
                continue
            if c == '"':
                in_str = False
            out.append(" " if c != '"' else c)
        else:
            if c == '"':
                in_str = True
            elif line.startswith("//", i):
                break
            out.append(c)
        i += 1
    return "".join(out)


def sites(dirs):
    found = []
    for d in dirs:
        for root, _, files in os.walk(os.path.join(HERE, d)):
            for f in sorted(files):
                if not f.endswith((".cpp", ".h")):
                    continue
                path = os.path.relpath(os.path.join(root, f), HERE)
                with open(os.path.join(HERE, path), encoding="utf-8") as fh:
                    lines = fh.read().split("\n")
                for no, line in enumerate(lines):
                    code = code_part(line)
                    if SKIP_LINE.search(line):
                        continue
                    for pat, rep in SWAPS:
                        for m in re.finditer(pat, code):
                            found.append((path, no, m.start(), m.end(), rep, line))
    return found


def run(cmd, cwd, timeout):
    try:
        return subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return -1


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--count", type=int, default=30)
    ap.add_argument("--seed", type=int, default=int(time.time()))
    ap.add_argument("--dirs", nargs="+", default=["src/core", "src/io"])
    ap.add_argument("--tests", default="", help="ctest -R regex (default: the whole suite)")
    ap.add_argument("--only", default="", help="mutate only files whose path matches this regex")
    ap.add_argument("--targets", nargs="*", default=[], help="build only these targets (default: all)")
    ap.add_argument("--list", action="store_true", help="only count the sites")
    args = ap.parse_args()

    all_sites = [site for site in sites(args.dirs) if re.search(args.only, site[0])]
    if args.list:
        print(f"{len(all_sites)} sites in {' '.join(args.dirs)}")
        return 0
    rnd = random.Random(args.seed)
    chosen = rnd.sample(all_sites, min(args.count, len(all_sites)))
    print(f"seed {args.seed}: {len(chosen)} of {len(all_sites)} sites", flush=True)

    work = tempfile.mkdtemp(prefix="zhr-mutants-")
    tree = os.path.join(work, "tree")
    subprocess.run(["git", "worktree", "add", "--detach", tree, "HEAD"], cwd=HERE, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        # uncommitted work counts too
        changed = subprocess.run(["git", "diff", "--name-only", "HEAD"], cwd=HERE, stdout=subprocess.PIPE,
                                 text=True).stdout.split()
        for f in changed:
            if os.path.exists(os.path.join(HERE, f)):
                shutil.copy(os.path.join(HERE, f), os.path.join(tree, f))
        build = os.path.join(tree, "build")
        cfg = ["cmake", "-S", tree, "-B", build, "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DZHR_BENCH=OFF"]
        if shutil.which("ccache"):
            cfg.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
        subprocess.run(cfg, check=True, stdout=subprocess.DEVNULL)
        env_build = ["cmake", "--build", build, "-j", str(os.cpu_count() or 2)]
        if args.targets:
            env_build += ["--target"] + args.targets
        if run(env_build, tree, 3600) != 0:
            print("the unchanged tree does not build", file=sys.stderr)
            return 1
        test_cmd = ["ctest", "--test-dir", build, "-j", str(os.cpu_count() or 2), "--stop-on-failure",
                    "--timeout", "120"]
        if args.tests:
            test_cmd += ["-R", args.tests]
        # Test programs --targets left unbuilt stand in ctest as failing placeholders.
        test_cmd += ["-E", "_NOT_BUILT"]
        os.environ["QT_QPA_PLATFORM"] = "offscreen"
        if run(test_cmd, tree, 3600) != 0:
            print("the unchanged tree fails its tests", file=sys.stderr)
            return 1

        killed, survived, broken = 0, [], 0
        for path, no, start, end, rep, line in chosen:
            full = os.path.join(tree, path)
            with open(full, encoding="utf-8") as fh:
                original = fh.read()
            lines = original.split("\n")
            lines[no] = line[:start] + rep + line[end:]
            with open(full, "w", encoding="utf-8") as fh:
                fh.write("\n".join(lines))
            where = f"{path}:{no + 1}: {line.strip()}  →  {lines[no].strip()}"
            try:
                if run(env_build, tree, 1800) != 0:
                    broken += 1
                    print(f"  (does not build) {where}", flush=True)
                    continue
                if run(test_cmd, tree, 1800) != 0:
                    killed += 1
                    print(f"  caught    {where}", flush=True)
                else:
                    survived.append(where)
                    print(f"  SURVIVED  {where}", flush=True)
            finally:
                with open(full, "w", encoding="utf-8") as fh:
                    fh.write(original)
        total = killed + len(survived)
        if total:
            print(f"\n{killed} of {total} faults caught ({100.0 * killed / total:.0f} %), {broken} did not build")
        for s in survived:
            print("survived: " + s)
    finally:
        subprocess.run(["git", "worktree", "remove", "--force", tree], cwd=HERE,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
