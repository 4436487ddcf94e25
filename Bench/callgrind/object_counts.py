#!/usr/bin/env python3
"""Prints the Ir of a callgrind output file by the object file the code lies in, in five groups.

    object_counts.py CALLGRIND_OUT ADDON_OBJECT HOST_FOLDER [MINUS_CALLGRIND_OUT]

Self cost only: each instruction counts for the object that holds it, so a call from the add-on into
a host library counts for the library. The groups, printed as "GROUP COUNT" lines in this order:
  addon      - the add-on module (file name ADDON_OBJECT)
  hostsim    - the host program (file name hostsim)
  libraries  - every other object in HOST_FOLDER: the host's libraries
  runtime    - the C++ runtime (libstdc++, libgcc_s)
  system     - the C library, the dynamic linker and everything else
With MINUS_CALLGRIND_OUT, the counts of that file are taken off each group: the cost of what one run
did beyond another."""
import os
import re
import sys

GROUPS = ("addon", "hostsim", "libraries", "runtime", "system")


def group_of(path, addon, host_folder):
    name = os.path.basename(path)
    if name == addon:
        return "addon"
    if name == "hostsim":
        return "hostsim"
    if os.path.dirname(path) == host_folder:
        return "libraries"
    if name.startswith("libstdc++") or name.startswith("libgcc_s"):
        return "runtime"
    return "system"


def self_costs(path):
    """Ir by object file path, self cost only."""
    costs = {}
    names = {}
    current = ""
    in_call = False
    with open(path, encoding="utf-8", errors="replace") as data:
        for line in data:
            # Compressed names: "ob=(3) /path" defines (3), later "ob=(3)" or "cob=(3)" refers to it.
            match = re.match(r"^(c?)ob=(?:\((\d+)\))?(?: ?(.*))?$", line.rstrip("\n"))
            if match:
                key, text = match.group(2), match.group(3)
                if key is not None and text:
                    names[key] = text
                if not match.group(1):
                    current = names.get(key, "") if key is not None else (text or "")
                continue
            if line.startswith("calls="):
                # The next cost line is the inclusive cost of a call, not code of this object.
                in_call = True
                continue
            if line[:1].isdigit() or line[:1] in "+-*":
                if in_call:
                    in_call = False
                    continue
                fields = line.split()
                if len(fields) >= 2:
                    costs[current] = costs.get(current, 0) + int(fields[1])
    return costs


def grouped(path, addon, host_folder):
    totals = dict.fromkeys(GROUPS, 0)
    for objectPath, cost in self_costs(path).items():
        totals[group_of(objectPath, addon, host_folder)] += cost
    return totals


def main(arguments):
    if len(arguments) not in (3, 4):
        sys.exit(__doc__)
    path, addon, host_folder = arguments[0], arguments[1], os.path.realpath(arguments[2])
    totals = grouped(path, addon, host_folder)
    if len(arguments) == 4:
        minus = grouped(arguments[3], addon, host_folder)
        totals = {group: totals[group] - minus[group] for group in GROUPS}
    for group in GROUPS:
        print(group, totals[group])


if __name__ == "__main__":
    main(sys.argv[1:])
