#!/usr/bin/env python3
"""Prints the total Ir of a callgrind output file and the part of it whose code lies in one object.

    split_counts.py CALLGRIND_OUT OBJECT_FILE_NAME

Self cost only: instructions executed in the object's own code (the add-on's calls into the host's
libraries count for the libraries), as object_counts.py reads them from the cost lines under each
"ob=" block."""
import sys

from object_counts import self_costs


def total_of(path):
    with open(path, encoding="utf-8", errors="replace") as data:
        for line in data:
            if line.startswith("summary:") or line.startswith("totals:"):
                return int(line.split()[1])
    sys.exit(f"split_counts.py: no total in {path}")


def main(path, object_name):
    inside = sum(cost for object_path, cost in self_costs(path).items() if object_path.endswith(object_name))
    print(total_of(path), inside)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
