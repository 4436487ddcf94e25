#!/usr/bin/env python3
"""Prints the total Ir of a callgrind output file and the part of it whose code lies in one object.

    split_counts.py CALLGRIND_OUT OBJECT_FILE_NAME

Self cost only: instructions executed in the object's own code (the add-on's calls into the host's
libraries count for the libraries), read from the cost lines under each "ob=" block."""
import re
import sys


def main(path, object_name):
    total = None
    inside = 0
    names = {}
    current_object = ""
    in_call = False
    with open(path, encoding="utf-8", errors="replace") as data:
        for line in data:
            if line.startswith("summary:") or line.startswith("totals:"):
                total = int(line.split()[1])
                continue
            # Compressed names: "ob=(3) /path" defines (3), later "ob=(3)" or "cob=(3)" refers to it.
            match = re.match(r"^(c?)ob=\((\d+)\)(?: (.*))?$", line.rstrip("\n"))
            if match:
                if match.group(3):
                    names[match.group(2)] = match.group(3)
                if not match.group(1):
                    current_object = names.get(match.group(2), "")
                continue
            if line.startswith("ob="):
                current_object = line[3:].strip()
                continue
            if line.startswith("calls="):
                # The next cost line is the inclusive cost of a call, not code of this object.
                in_call = True
                continue
            if line[:1].isdigit() or line[:1] in "+-*":
                if in_call:
                    in_call = False
                    continue
                if current_object.endswith(object_name):
                    fields = line.split()
                    if len(fields) >= 2:
                        inside += int(fields[1])
    if total is None:
        sys.exit(f"split_counts.py: no total in {path}")
    print(total, inside)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
