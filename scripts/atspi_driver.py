"""Driving the real quenlio program through AT-SPI and X key events, as a screen reader and
a keyboard would: used by scripts/screenshots and tests/desktop/atspi_screens.py. Needs an
X display with a window manager and an AT-SPI bus, and Debian's python3-pyatspi."""

import os
import subprocess
import time

import pyatspi


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(predicate, what, timeout=10.0):
    deadline = time.monotonic() + timeout
    while True:
        try:
            value = predicate()
        except Exception:  # an object can vanish while it is read; try again
            value = None
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(0.05)


def states(acc):
    return {pyatspi.stateToString(s) for s in acc.getState().getStates()}


def descendants(acc):
    for child in acc:
        if child is None:
            continue
        yield child
        yield from descendants(child)


def text_of(acc):
    return acc.queryText().getText(0, -1)


def find(window, role, name):
    """Waits for the control of that role whose name is or contains `name`."""
    return wait_for(
        lambda: next((a for a in descendants(window) if a.getRoleName() == role and name in a.name), None),
        f"'{name}' in '{window.name}'",
    )


def press(acc):
    acc.queryAction().doAction(0)


class Program:
    """The program started with its accessibility on, and its windows as AT-SPI sees them."""

    def __init__(self, binary, **popen):
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
        self.process = subprocess.Popen([binary], env=env, **popen)

    def app(self):
        for acc in pyatspi.Registry.getDesktop(0):
            if acc is not None and acc.get_process_id() == self.process.pid:
                return acc
        return None

    def windows(self):
        app = self.app()
        return [w for w in app if w is not None and "showing" in states(w)] if app else []

    def window(self, name, role="frame"):
        return wait_for(
            lambda: next((w for w in self.windows() if w.name == name and w.getRoleName() == role), None),
            f"the {role} '{name}'",
        )

    def dialogs(self):
        return [w for w in self.windows() if w.getRoleName() in ("alert", "dialog")]

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


def keys(*names):
    xdotool("key", "--clearmodifiers", "--delay", "30", *names)


def type_text(text, delay=140):
    """Types `text` key by key. xdotool's delay spans a key's press and release, so keys come
    delay/2 ms apart: 70 ms, a fast person's pace, unless told (a scanner's is a few ms)."""
    xdotool("type", "--clearmodifiers", "--delay", str(delay), text)
