#!/usr/bin/env python3
"""Prints the inclusive Ir of functions in a callgrind output file, one number per name given.

    inclusive_costs.py CALLGRIND_OUT FUNCTION...

FUNCTION is a qualified name as callgrind_annotate shows it, without the parameter list
("HostSim::HostSession::PickMenu"). callgrind_annotate lists a function once per source file its
code came from (its own file, and each header whose code was inlined into it); the entry of its own
file holds the whole inclusive cost, the others parts of it again, so the largest entry is taken.
Entries of unknown file ("???", the call stubs between modules) are left out."""
import re
import subprocess
import sys

LINE = re.compile(r"^\s*([\d,]+)\s+\([^)]*\)\s+([^:]+):(.+?)(?: \[[^\]]*\])?$")


def main(path, names):
    annotated = subprocess.run(
        ["callgrind_annotate", "--inclusive=yes", "--threshold=100", "--auto=no", path],
        check=True, capture_output=True, text=True).stdout
    totals = dict.fromkeys(names, 0)
    for line in annotated.splitlines():
        match = LINE.match(line)
        if not match or match.group(2) == "???":
            continue
        function = match.group(3)
        for name in names:
            if function.startswith(name + "(") or function.startswith(name + "["):
                totals[name] = max(totals[name], int(match.group(1).replace(",", "")))
    print(" ".join(str(totals[name]) for name in names))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2:])
