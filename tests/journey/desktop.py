"""A real X display for the journey: Xvfb, a light window manager, and the hands and eyes
of a person (xdotool for keys and the mouse, ImageMagick's import for screenshots).

Everything waits for something it can see (a window title, a file) under a time limit;
nothing relies on a fixed sleep alone."""

import os
import re
import shutil
import subprocess
import time
from pathlib import Path


class StepFailed(Exception):
    """A step of the journey did not see what a user would have seen."""


def wait_until(what, probe, timeout=30.0, interval=0.2):
    """Calls probe() until it returns something true; fails with `what` after `timeout`."""
    deadline = time.monotonic() + timeout
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() > deadline:
            raise StepFailed(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


class Display:
    """An Xvfb server with openbox on it, for as long as the journey runs."""

    def __init__(self, shots: Path, size="1280x1024x24"):
        self.shots = shots
        self.size = size
        self.env = dict(os.environ)
        self._xvfb = None
        self._wm = None
        self._shot = 0

    def __enter__(self):
        for tool in ("Xvfb", "xdotool", "import"):
            if not shutil.which(tool):
                raise StepFailed(f"{tool} is not installed (scripts/install-deps.sh --test installs it)")
        visible = os.environ.get("JOURNEY_DISPLAY")
        if visible:
            # Watching: the journey drives the windows on the given display.
            self.env["DISPLAY"] = visible
            self.env["QT_QPA_PLATFORM"] = "xcb"
            return self
        read_end, write_end = os.pipe()
        self._xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", self.size, "-nolisten", "tcp",
             "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as f:
            number = f.readline().strip()
        if not number:
            raise StepFailed("Xvfb did not start")
        self.env["DISPLAY"] = ":" + number
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env["QT_QPA_PLATFORM"] = "xcb"
        if shutil.which("openbox"):
            self._wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            wait_until("the window manager", lambda: self._has_wm(), timeout=15)
        # Letters the US keymap lacks get keys of their own: xdotool would otherwise remap a
        # key for each one as it types, which races with the programs' reading of the keymap.
        if shutil.which("xmodmap"):
            for code, syms in ((93, "ae AE"), (97, "oslash Oslash"), (103, "aring Aring"),
                               (120, "eacute Eacute")):
                subprocess.run(["xmodmap", "-e", f"keycode {code} = {syms}"], env=self.env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return self

    def __exit__(self, *exc):
        for p in (self._wm, self._xvfb):
            if p and p.poll() is None:
                p.terminate()
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    p.kill()

    def _has_wm(self):
        r = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env,
                           capture_output=True, text=True) if shutil.which("xprop") else None
        return r is None or "window id" in r.stdout

    # --- eyes -------------------------------------------------------------------------

    def xdotool(self, *args, check=True):
        r = subprocess.run(["xdotool", *map(str, args)], env=self.env, capture_output=True, text=True,
                           timeout=30)
        if check and r.returncode != 0:
            raise StepFailed(f"xdotool {' '.join(map(str, args))} failed: {r.stderr.strip()}")
        return r.stdout

    def windows(self, title_regex):
        """Visible windows whose title matches (a regular expression, anchored by the caller)."""
        out = self.xdotool("search", "--onlyvisible", "--name", title_regex, check=False)
        return [w for w in out.split() if w.strip()]

    def title(self, window):
        return self.xdotool("getwindowname", window, check=False).strip()

    def wait_window(self, title_regex, timeout=60.0):
        found = wait_until(f"a window titled /{title_regex}/",
                           lambda: self.windows(title_regex), timeout=timeout)
        return found[-1]

    def wait_no_window(self, title_regex, timeout=60.0):
        wait_until(f"no window titled /{title_regex}/ any more",
                   lambda: not self.windows(title_regex), timeout=timeout)

    def geometry(self, window):
        out = self.xdotool("getwindowgeometry", "--shell", window)
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def screenshot(self, name):
        self._shot += 1
        path = self.shots / f"{self._shot:02d}-{name}.png"
        subprocess.run(["import", "-window", "root", str(path)], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        return path

    # --- hands ------------------------------------------------------------------------

    def activate(self, window):
        self.xdotool("windowactivate", "--sync", window, check=False)
        self.xdotool("windowfocus", "--sync", window, check=False)
        wait_until(f"window {window} to have the focus",
                   lambda: self.xdotool("getwindowfocus", check=False).strip() == str(window)
                   or self._focus_inside(window), timeout=10)

    def _focus_inside(self, window):
        # Qt may give the focus to a child of the top-level window.
        focus = self.xdotool("getwindowfocus", "-f", check=False).strip()
        return focus == str(window)

    def key(self, *keys):
        self.xdotool("key", "--clearmodifiers", "--delay", "60", *keys)

    def type(self, text):
        self.xdotool("type", "--clearmodifiers", "--delay", "25", "--", text)

    def click(self, window, x, y, button=1, double=False):
        self.xdotool("mousemove", "--window", window, "--sync", x, y)
        if double:
            self.xdotool("click", "--repeat", "2", "--delay", "80", button)
        else:
            self.xdotool("click", button)

    def start(self, argv, cwd=None, env=None, log=None):
        """Starts a program on this display, as the desktop would from a launcher."""
        e = dict(self.env)
        if env:
            e.update(env)
        return subprocess.Popen(argv, cwd=cwd, env=e, stdin=subprocess.DEVNULL,
                                stdout=log or subprocess.DEVNULL, stderr=subprocess.STDOUT if log else
                                subprocess.DEVNULL, start_new_session=True)


def desktop_exec_argv(exec_value: str):
    """Splits a desktop entry's Exec value into the program and its arguments, undoing the
    quoting of the Desktop Entry rules; field codes are dropped (no files are passed)."""
    argv, current, in_quotes, started = [], [], False, False
    i = 0
    while i < len(exec_value):
        c = exec_value[i]
        if in_quotes:
            if c == "\\" and i + 1 < len(exec_value) and exec_value[i + 1] in '"`$\\':
                current.append(exec_value[i + 1])
                i += 2
                continue
            if c == '"':
                in_quotes = False
                i += 1
                continue
            current.append(c)
        elif c == '"':
            in_quotes, started = True, True
        elif c == " ":
            if started:
                argv.append("".join(current))
            current, started = [], False
        else:
            current.append(c)
            started = True
        i += 1
    if in_quotes:
        raise StepFailed(f"unterminated quote in Exec={exec_value}")
    if started:
        argv.append("".join(current))
    # Field codes: %% is a percent sign; %f, %F, %u, %U and the rest stand for what is passed.
    result = []
    for arg in argv:
        if re.fullmatch(r"%[fFuUdDnNickvm]", arg):
            continue
        result.append(re.sub(r"%(.)", lambda m: "%" if m.group(1) == "%" else "", arg))
    return result


def read_desktop_entry(path: Path):
    """The [Desktop Entry] group's keys, with the string escapes (\\s \\n \\t \\r \\\\) undone."""
    values, in_group = {}, False
    for line in path.read_text(encoding="utf-8").splitlines():
        if line.startswith("["):
            in_group = line.strip() == "[Desktop Entry]"
            continue
        if in_group and "=" in line and not line.startswith("#"):
            k, v = line.split("=", 1)
            values[k.strip()] = re.sub(r"\\(.)", lambda m: {"s": " ", "n": "\n", "t": "\t", "r": "\r",
                                                              "\\": "\\"}.get(m.group(1), "\\" + m.group(1)),
                                       v)
    return values
