#!/usr/bin/python3
# mutants-merge.py LIST PART...: the parts' results in the list's order, as mutants.py prints a
# whole run; a later part's result for a mutant replaces an earlier one's. Parts are outputs of
# mutants.py or tools/mutants-shard.py.
import sys
order = [l.rstrip("\n") for l in open(sys.argv[1])]
pos = {w: i for i, w in enumerate(order)}
result = {}
for part in sys.argv[2:]:
    for line in open(part):
        line = line.rstrip("\n")
        if "\t" in line:
            line = line.split("\t", 1)[1]
        for prefix in ("PASS killed (", "FAIL survived ", "SKIP (does not build) "):
            if line.startswith(prefix):
                rest = line[len(prefix):]
                where = rest.split(") ", 1)[1] if prefix == "PASS killed (" else rest
                if where not in pos:
                    sys.exit(f"not in the list: {where}")
                result[pos[where]] = line
missing = [order[i] for i in range(len(order)) if i not in result]
if missing:
    sys.exit(f"{len(missing)} mutants without a result, first: {missing[0]}")
lines = [result[i] for i in range(len(order))]
print("\n".join(lines))
print(f"{sum(l.startswith('SKIP') for l in lines)} mutants did not build")
print(f"{sum(l.startswith('PASS') for l in lines)} passed, {sum(l.startswith('FAIL') for l in lines)} failed")
