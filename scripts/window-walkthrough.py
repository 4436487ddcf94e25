#!/usr/bin/env python3
"""The demo's story clicked through hostsim.exe's windows, as a person would, under a virtual X display.

    window-walkthrough.py BIN_DIR PREFIX [--pictures DIR]

BIN_DIR holds the Windows build's hostsim.exe, the add-on and VeldEngineer.exe; PREFIX is a Wine prefix
of the walk's own (made on first use; it draws real windows, where the test prefix uses the null
driver). In a fresh data folder with a registered VELD Engineer: File > Interoperability > VELD Engineer
Connection > "Open in VELD Engineer..." finds no translator; the warning's first button opens the
export settings, where "Structural Analysis (SI)" is picked and OK clicked; "Open in VELD Engineer..."
again writes the workbook, starts VELD Engineer and shows the information dialog, where "Don't show
this dialog again." is ticked and OK clicked; Ctrl+S saves the project; closing the main window ends
the run. Menus and
answers by keyboard, list and check box by mouse. Then the transcript must say so. With --pictures,
the main window with the open menu, the warning and both dialogs are saved as PNG files, and one
more run then shows the add-on's error alerts in turn and saves each: the
translator store refusing the settings' OK, the workbook not written, VELD Engineer not starting and
VELD Engineer no longer installed.
Exit status 0 when the walk went as a person expects, 1 otherwise (the reason on stderr).
"""
import json
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time

from wine_prefix import wine_environment, windows_path


class WalkFailed(Exception):
    pass


def run(command, **options):
    return subprocess.run(command, check=False, capture_output=True, text=True, **options)


class Walk:
    def __init__(self, bin_dir, prefix, work, pictures):
        self.bin = pathlib.Path(bin_dir).resolve()
        self.work = work
        self.pictures = pictures
        self.transcript = work / "transcript.jsonl"
        self.env = wine_environment(pathlib.Path(prefix).resolve())
        self.xvfb = None
        self.host = None
        self.main = None

    def start_display(self):
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                                      "-nolisten", "tcp"], pass_fds=[write_end], stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as display:
            self.env["DISPLAY"] = ":" + display.readline().strip()

    def prepare_prefix(self):
        run(["wine", "wineboot", "-i"], env=self.env, stdin=subprocess.DEVNULL)
        # No window manager runs here: Wine then draws the windows' frames and captions itself.
        run(["wine", "reg", "add", "HKCU\\Software\\Wine\\X11 Driver", "/v", "Managed", "/d", "N", "/f"], env=self.env)
        run(["wine", "reg", "delete", "HKCU\\Software\\Wine\\Drivers", "/v", "Graphics", "/f"], env=self.env)
        # On Windows hostsim keeps the installation and the user's choices in the registry, not in its
        # data folder: the walk starts without what an earlier walk left there.
        for key in ("HKLM\\SOFTWARE\\VELD", "HKCU\\Software\\HostSim", "HKCU\\Software\\Host"):
            run(["wine", "reg", "delete", key, "/f"], env=self.env)
        run(["wineserver", "-k"], env=self.env)
        run(["wineserver", "-w"], env=self.env)

    def xdotool(self, *arguments):
        return run(["xdotool", *arguments], env=self.env).stdout.strip()

    def window(self, name, timeout=30.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            found = self.xdotool("search", "--name", name).split()
            if found:
                time.sleep(0.5)  # drawn, not only made
                return found[0]
            time.sleep(0.25)
        raise WalkFailed(f"no window named {name!r} came up")

    def gone(self, window, timeout=30.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if run(["xdotool", "getwindowname", window], env=self.env).returncode != 0:
                return
            time.sleep(0.25)
        raise WalkFailed(f"window {window} stayed up")

    def picture(self, name):
        """The main window as it is on screen, with whatever is open over it."""
        if self.pictures is not None and self.main is not None:
            x, y, width, height = self.geometry(self.main)
            run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}", "+repage",
                 str(self.pictures / name)], env=self.env)

    def key(self, *keys):
        for key in keys:
            self.xdotool("key", key)
            time.sleep(0.4)

    def geometry(self, window):
        values = dict(line.split("=") for line in self.xdotool("getwindowgeometry", "--shell", window).split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def dialog_open(self, number):
        for line in self.transcript.read_text().splitlines():
            event = json.loads(line)
            if event["event"] == "dialog-open" and event["dialog"] == number:
                return event
        raise WalkFailed(f"dialog {number} was not recorded as open")

    def click_item(self, window, dialog, item, below=0):
        """Clicks the middle of the dialog's item (or `below` pixels under its bottom edge)."""
        x, y, width, height = self.geometry(window)
        border = (width - dialog["width"]) // 2
        caption = height - dialog["height"] - border
        rect = dialog["items"][item - 1]
        left = x + border + rect["left"] + rect["width"] // 2
        top = y + caption + rect["top"] + (rect["height"] + below if below else rect["height"] // 2)
        self.xdotool("mousemove", str(left), str(top))
        time.sleep(0.2)
        self.xdotool("click", "1")
        time.sleep(0.6)

    def open_command(self, main, item=1, picture=None):
        """File > Interoperability > VELD Engineer Connection, then the submenu's ITEMth command."""
        self.xdotool("windowfocus", main)
        self.key("alt+f", "i", "Right", *["Down"] * (item - 1))
        if picture:
            self.picture(picture)
        self.key("Return")

    def start_host(self, folder, *options):
        """hostsim.exe on the demo building in FOLDER's own data folder, with VELD Engineer registered
        in FOLDER/VELD Engineer; its transcript becomes self.transcript. Waits for the main window."""
        (folder / "VELD Engineer").mkdir(parents=True)
        shutil.copy(self.bin / "VeldEngineer.exe", folder / "VELD Engineer")
        home = windows_path(folder / "home")
        hostsim = str(self.bin / "hostsim.exe")
        run(["wine", hostsim, "registry", "--home", home, "set-string",
             "HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD\\Installer\\VeldEngineer\\2025", "InstallDir",
             windows_path(folder / "VELD Engineer")], env=self.env, stdin=subprocess.DEVNULL)
        model = pathlib.Path(__file__).resolve().parent.parent / "World/Host/HostSim/Demo/DemoBuilding.json"
        self.transcript = folder / "transcript.jsonl"
        self.host = subprocess.Popen(
            ["wine", hostsim, "--home", home, "--project", windows_path(folder / "project.json"), "--model",
             windows_path(model), "--transcript", windows_path(self.transcript), *options,
             str(self.bin / "VELDEngineerConnection.apx")],
            env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.main = self.window("project.json - hostsim")
        return self.main

    def saved(self, timeout=30.0):
        """Waits for the transcript to tell of the project's save."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.transcript.exists() and '"project-save"' in self.transcript.read_text():
                return
            time.sleep(0.2)
        raise WalkFailed("Ctrl+S in the main window did not save the project")

    def close_host(self, main):
        self.xdotool("windowfocus", main)
        self.key("alt+F4")
        try:
            self.host.wait(timeout=30)
        except subprocess.TimeoutExpired as expired:
            raise WalkFailed("hostsim did not end when its main window was closed") from expired

    def pick_first_translator(self, settings_window):
        settings = self.dialog_open(7001)
        self.click_item(settings_window, settings, 4)  # opens the list
        self.click_item(settings_window, settings, 4, below=18 + 9)  # its second entry
        return settings

    def walk(self):
        main = self.start_host(self.work)

        self.open_command(main, picture="main-window-menu.png")
        warning = self.window("^Warning$")
        self.picture("alert-no-translator.png")
        self.key("Return")  # its first button, the default one: the export settings
        self.gone(warning)
        settings_window = self.window("^VELD Engineer Export Settings$")
        settings = self.pick_first_translator(settings_window)
        self.picture("dialog-7001.png")
        self.click_item(settings_window, settings, 1)  # OK
        self.gone(settings_window)

        self.open_command(main)
        information_window = self.window("^Information$")
        information = self.dialog_open(7000)
        self.click_item(information_window, information, 5)  # "Don't show this dialog again."
        self.picture("dialog-7000.png")
        self.key("Return")  # OK, the default button
        self.gone(information_window)
        self.xdotool("windowfocus", main)
        self.key("ctrl+s")  # File > Save's key: the translator choice kept in the project
        self.saved()
        self.close_host(main)

    def check(self):
        events = [json.loads(line) for line in self.transcript.read_text().splitlines()]
        named = lambda name: [event for event in events if event["event"] == name]
        actions = [(event["dialog"], event["command"], event["accepted"]) for event in named("dialog-action")]
        expected = [(7001, "select 4 2", True), (7001, "click 1", True), (7000, "check 5 1", True),
                    (7000, "click 1", True)]
        if actions != expected:
            raise WalkFailed(f"the dialogs heard {actions}, expected {expected}")
        if [alert["response"] for alert in named("alert")] != [1]:
            raise WalkFailed(f"the alerts answered {[a['response'] for a in named('alert')]}, expected [1]")
        launches = [event for event in named("launch") if event["result"] == "started"]
        if len(launches) != 1 or len(launches[0]["arguments"]) != 1:
            raise WalkFailed(f"VELD Engineer was not started once on one workbook: {launches}")
        if not any(event["ticked"] for event in named("dont-show-again")):
            raise WalkFailed("the information dialog's \"Don't show this dialog again.\" was not ticked")
        if [save["result"] for save in named("project-save")] != ["saved"]:
            raise WalkFailed(f"the project was not saved once by Ctrl+S: {named('project-save')}")
        if not named("module-unload"):
            raise WalkFailed("closing the main window did not unload the add-on")

    def error_alert(self, picture):
        """Pictures the error alert that comes up and answers it with its one button."""
        alert = self.window("^Error$")
        self.picture(picture)
        self.key("Return")
        self.gone(alert)

    def alerts(self):
        """The add-on's error alerts, each reached the way a user could meet it, in one more run. The
        project store refuses the first write (the settings' OK), the host's first 'SAVE' fails, the
        installed VELD Engineer is no program Windows can start, and at last the installation is gone
        after the add-on registered its menu, as after an uninstall while the host runs."""
        folder = self.work / "alerts"
        main = self.start_host(folder, "--fail", "HostObjectCreate=-7@1", "--fail", "Automate=0x1234@1")
        application = folder / "VELD Engineer" / "VeldEngineer.exe"
        application.write_bytes(b"MZ not a program")

        self.open_command(main, item=2)
        settings_window = self.window("^VELD Engineer Export Settings$")
        settings = self.pick_first_translator(settings_window)
        self.click_item(settings_window, settings, 1)  # OK: the store refuses
        self.error_alert("alert-store-refused.png")
        self.click_item(settings_window, settings, 1)  # OK again, taken this time
        self.gone(settings_window)

        self.open_command(main)
        self.error_alert("alert-save-failed.png")
        self.open_command(main)
        self.error_alert("alert-launch-failed.png")
        application.unlink()
        self.open_command(main)
        self.error_alert("alert-not-installed.png")
        self.close_host(main)

        events = [json.loads(line) for line in self.transcript.read_text().splitlines()]
        headlines = [event["texts"][0] for event in events if event["event"] == "alert"]
        if len(headlines) != 4 or len(set(headlines)) != 4:
            raise WalkFailed(f"expected four different error alerts, the add-on showed {headlines}")
        launches = [event["result"] for event in events if event["event"] == "launch"]
        if launches != ["failed"]:
            raise WalkFailed(f"VELD Engineer was to be refused once by Windows, the launches were {launches}")

    def stop(self):
        if self.host is not None and self.host.poll() is None:
            self.host.kill()
        run(["wineserver", "-k"], env=self.env)
        if self.xvfb is not None:
            self.xvfb.terminate()
            self.xvfb.wait()


def main(arguments):
    if len(arguments) not in (2, 4) or (len(arguments) == 4 and arguments[2] != "--pictures"):
        print(__doc__, file=sys.stderr)
        return 2
    pictures = pathlib.Path(arguments[3]).resolve() if len(arguments) == 4 else None
    if pictures is not None:
        pictures.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="hostsim-walk-") as folder:
        walk = Walk(arguments[0], arguments[1], pathlib.Path(folder), pictures)
        try:
            walk.start_display()
            walk.prepare_prefix()
            walk.walk()
            walk.check()
            if pictures is not None:
                walk.alerts()
        except WalkFailed as failure:
            print(f"window-walkthrough: {failure}", file=sys.stderr)
            return 1
        finally:
            walk.stop()
    print("window-walkthrough: the story was clicked through to the end")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
