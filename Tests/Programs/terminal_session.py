"""A program run on a pseudo-terminal, as a person at a terminal runs it: standard input, output and
error are the terminal; keys are typed at hostsim's prompt; the screen is read until the program ends."""
import fcntl
import os
import pty
import select
import struct
import subprocess
import termios

PROMPT = b"hostsim> "


class TerminalSession:
    """A program on a pseudo-terminal (of `columns` x `rows` when given), driven a step at a time."""

    def __init__(self, command, cwd, columns=None, rows=None, env=None):
        self.controller, terminal = pty.openpty()
        if columns and rows:
            fcntl.ioctl(terminal, termios.TIOCSWINSZ, struct.pack("HHHH", rows, columns, 0, 0))
        self.process = subprocess.Popen(command, cwd=cwd, stdin=terminal, stdout=terminal, stderr=terminal,
                                        env=env)
        os.close(terminal)
        self.screen = b""  # every byte the program wrote, escape sequences included
        self.ended = False

    def read_until(self, condition, wait=10):
        """Reads until condition(everything shown so far) holds after a new piece; False when nothing
        came for `wait` seconds or the terminal's far side closed first."""
        while not self.ended:
            ready, _, _ = select.select([self.controller], [], [], wait)
            if not ready:
                return False
            try:
                chunk = os.read(self.controller, 65536)
            except OSError:  # the terminal's far side closed
                chunk = b""
            if not chunk:
                self.ended = True
                break
            self.screen += chunk
            if condition(self.screen):
                return True
        return False

    def type(self, keys):
        os.write(self.controller, keys)

    def type_at_prompts(self, typed):
        """Types each of `typed` (raw keys) once the prompt is shown; False when a prompt never came."""
        for keys in typed:
            if not self.read_until(lambda screen: screen.endswith(PROMPT)):
                return False
            self.type(keys)
        return True

    def finish(self):
        """Reads to the end; returns (exit code, everything shown, with the terminal's line ends as "\\n")."""
        self.read_until(lambda _: False)
        os.close(self.controller)
        try:
            code = self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            code = self.process.wait()
        return code, self.screen.decode("utf-8", "replace").replace("\r\n", "\n")


def on_terminal(command, cwd, typed=(), env=None):
    """Runs `command` and types each of `typed` (raw keys) once the prompt is shown; returns (exit code,
    everything the screen showed, with the terminal's line ends as "\\n")."""
    session = TerminalSession(command, cwd, env=env)
    session.type_at_prompts(typed)
    return session.finish()
