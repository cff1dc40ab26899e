#!/usr/bin/python3
# Runs every K-th mutant (--shard I/K) of exactly the pick `mutants.py --per-file N --seed S` makes,
# so that one folder's run can be spread over several source trees, each a clone with its own build
# folder. Each line is the tool's own, prefixed by the mutant's index in the --list output;
# tools/mutants-merge.py puts the parts back together. --skip names an earlier output whose mutants
# are not run again. MUTANTS_PY points at mutants.py.
import argparse, importlib.util, os, random, signal, sys, time
spec = importlib.util.spec_from_file_location(
    "mutants", os.environ.get("MUTANTS_PY", "/work/shared/tools/mutants.py"))
m = importlib.util.module_from_spec(spec); spec.loader.exec_module(m)
ap = argparse.ArgumentParser()
ap.add_argument("--build", required=True); ap.add_argument("--tests", default="")
ap.add_argument("--targets", default=""); ap.add_argument("--per-file", type=int, default=10)
ap.add_argument("--seed", type=int, default=7); ap.add_argument("--timeout", type=int, default=60)
ap.add_argument("--shard", required=True); ap.add_argument("--skip", default="")
ap.add_argument("--list", action="store_true"); ap.add_argument("files", nargs="+")
a = ap.parse_args()
# SIGTERM unwinds like Ctrl+C, so that the finally below puts the source back.
def interrupted(*_):
    raise KeyboardInterrupt
signal.signal(signal.SIGTERM, interrupted)
s, k = map(int, a.shard.split("/"))
skip = set()
if a.skip:
    for line in open(a.skip):
        for prefix in ("PASS killed (", "FAIL survived ", "SKIP (does not build) "):
            if line.startswith(prefix):
                rest = line[len(prefix):].rstrip("\n")
                if prefix == "PASS killed (":
                    rest = rest.split(") ", 1)[1]
                skip.add(rest)
build_cmd = ["cmake", "--build", a.build, "--parallel", "2"]
for t in filter(None, a.targets.split(",")):
    build_cmd += ["--target", t]
test_cmd = ["ctest", "--test-dir", a.build, "--output-on-failure", "--stop-on-failure"]
if a.tests:
    test_cmd += ["-R", a.tests]
rng = random.Random(a.seed)
index = 0
for path in a.files:
    original = open(path, encoding="utf-8").read()
    lines, found = m.mutants_of(path)
    picked = sorted(rng.sample(found, min(a.per_file, len(found))))
    for i, name, mutated in picked:
        index += 1
        where = f"{path}:{i + 1} {name}: {mutated.strip()[:90]}"
        if a.list:
            print(where); continue
        if index % k != s or where in skip:
            continue
        try:
            changed = lines[:i] + [mutated] + lines[i + 1:]
            open(path, "w", encoding="utf-8").write("\n".join(changed))
            t0 = time.time()
            if m.run(build_cmd, 900) != 0:
                print(f"{index}\tSKIP (does not build) {where}", flush=True); continue
            rc = m.run(test_cmd, a.timeout)
            if rc == 0:
                print(f"{index}\tFAIL survived {where}", flush=True)
            else:
                print(f"{index}\tPASS killed ({time.time() - t0:.0f} s) {where}", flush=True)
        finally:
            open(path, "w", encoding="utf-8").write(original)
if not a.list:
    m.run(build_cmd, 900)
