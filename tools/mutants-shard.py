#!/usr/bin/python3
# Runs every K-th mutant (--shard I/K) of exactly the pick `mutants.py --per-file N --seed S` makes,
# so that one folder's run can be spread over several source trees, each a clone with its own build
# folder. Each line is the tool's own, prefixed by the mutant's index in the --list output.
# --skip names an earlier output whose mutants are not run again. MUTANTS_PY points at mutants.py.
#
# mutants-shard.py merge LIST PART... prints the parts' results in the list's order, as mutants.py
# prints a whole run; a later part's result for a mutant replaces an earlier one's.
import argparse, importlib.util, os, random, signal, sys, time


def mutant_of(line):
    """The mutant a line of output reports on, or None."""
    line = line.rstrip("\n").split("\t", 1)[-1]
    for prefix in ("PASS killed (", "FAIL survived ", "SKIP (does not build) "):
        if line.startswith(prefix):
            rest = line[len(prefix):]
            return rest.split(") ", 1)[1] if prefix == "PASS killed (" else rest
    return None


def merge(list_file, parts):
    order = [l.rstrip("\n") for l in open(list_file)]
    pos = {w: i for i, w in enumerate(order)}
    result = {}
    for part in parts:
        for line in open(part):
            where = mutant_of(line)
            if where is None:
                continue
            if where not in pos:
                sys.exit(f"not in the list: {where}")
            result[pos[where]] = line.rstrip("\n").split("\t", 1)[-1]
    missing = [w for i, w in enumerate(order) if i not in result]
    if missing:
        sys.exit(f"{len(missing)} mutants without a result, first: {missing[0]}")
    lines = [result[i] for i in range(len(order))]
    print("\n".join(lines))
    print(f"{sum(l.startswith('SKIP') for l in lines)} mutants did not build")
    print(f"{sum(l.startswith('PASS') for l in lines)} passed, "
          f"{sum(l.startswith('FAIL') for l in lines)} failed")


if len(sys.argv) > 1 and sys.argv[1] == "merge":
    merge(sys.argv[2], sys.argv[3:])
    sys.exit(0)

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
skip = {mutant_of(line) for line in open(a.skip)} if a.skip else set()
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
