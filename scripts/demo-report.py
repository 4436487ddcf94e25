"""Prints what the demo's hostsim runs wrote and started, from their transcripts and VELD Engineer's
record of its launches: demo-report.py TRANSCRIPT... LAUNCHES"""
import json
import sys


def events(path):
    with open(path, encoding="utf-8") as lines:
        return [json.loads(line) for line in lines if line.strip()]


def main():
    *transcripts, launches_path = sys.argv[1:]
    for number, path in enumerate(transcripts, 1):
        print(f"Run {number} ({path}):")
        for event in events(path):
            kind = event["event"]
            if kind == "alert":
                print(f"  alert: \"{event['texts'][0]}\" -> button {event['response']}")
            elif kind == "dialog-close":
                print(f"  dialog \"{event['title']}\" closed with {event['response']}")
            elif kind == "dont-show-again":
                state = "shown" if event["shown"] else "not shown (suppressed earlier)"
                print(f"  information dialog {state}; suppressed from now on: {event['suppressed']}")
            elif kind == "save" and event["result"] == 0:
                counts = ", ".join(f"{sheet['sheet']} {sheet['rows']}" for sheet in event["sheets"])
                print(f"  'SAVE' with translator \"{event['translator']}\" wrote {event['path']}")
                print(f"      {event['bytes']} bytes: {counts}")
            elif kind == "save":
                print(f"  'SAVE' failed with {event['resultHex']}: {event.get('reason', '')}")
            elif kind == "launch":
                print(f"  started {event['executable']}")
                print(f"      arguments {json.dumps(event['arguments'], ensure_ascii=False)}: {event['result']}")
            elif kind == "allocations" and event["liveBlocks"] != 0:
                print(f"  {event['liveBlocks']} blocks of {event['owner']} still live after {event['after']}")
    print(f"VELD Engineer's own record ({launches_path}):")
    try:
        launches = events(launches_path)
    except FileNotFoundError:
        launches = []
    for launch in launches:
        summary = launch.get("summary")
        seen = (f"SAF {summary['safVersion']}, {summary['unitSystem']}: {summary['materials']} materials, "
                f"{summary['crossSections']} cross-sections, {summary['nodes']} nodes, {summary['members']} "
                f"members, {summary['surfaces']} surfaces, {summary['storeys']} storeys, "
                f"{summary['supports']} supports") if summary else launch.get("error", "")
        print(f"  {json.dumps(launch['argv'], ensure_ascii=False)} -> {seen}")


if __name__ == "__main__":
    main()
