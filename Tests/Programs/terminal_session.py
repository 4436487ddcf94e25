"""A program run on a pseudo-terminal, as a person at a terminal runs it: standard input, output and
error are the terminal; keys are typed at hostsim's prompt; the screen is read until the program ends."""
import os
import pty
import select
import subprocess

PROMPT = b"hostsim> "


def on_terminal(command, cwd, typed=()):
    """Runs `command` and types each of `typed` (raw keys) once the prompt is shown; returns (exit code,
    everything the screen showed, with the terminal's line ends as "\\n")."""
    controller, terminal = pty.openpty()
    process = subprocess.Popen(command, cwd=cwd, stdin=terminal, stdout=terminal, stderr=terminal)
    os.close(terminal)
    screen = b""
    pending = list(typed)
    while True:
        ready, _, _ = select.select([controller], [], [], 10)
        if not ready:
            break  # nothing said for 10 s: the exit code tells what happened
        try:
            chunk = os.read(controller, 65536)
        except OSError:  # the terminal's far side closed
            break
        if not chunk:
            break
        screen += chunk
        if pending and screen.endswith(PROMPT):
            os.write(controller, pending.pop(0))
    os.close(controller)
    try:
        code = process.wait(timeout=10)
    except subprocess.TimeoutExpired:
        process.kill()
        code = process.wait()
    return code, screen.decode("utf-8", "replace").replace("\r\n", "\n")
