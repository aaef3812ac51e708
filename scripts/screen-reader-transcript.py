#!/usr/bin/python3
"""What a screen reader hears of a short check game.

Starts the program on a virtual display of its own with the desktop's
accessibility bus (AT-SPI), opens the example ticket set, plays a short check
game by keys as a user would (F2, the numbers with Enter, Tab to the ticket
list, Down and Up), ends it by pressing " Конец" through the accessibility
interface, as a screen reader's user does, and prints every event a screen
reader receives, with the role and the name of the object it concerns.

    scripts/screen-reader-transcript.py [--program build/src/zhrebikon] [--display N]

Needs Debian's xvfb, openbox, xdotool, at-spi2-core, python3-pyatspi and dbus
(dbus-run-session). Runs in a scratch folder under /tmp; nothing of the user's
is touched.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

# The events a screen reader listens to, and how each is printed.
EVENTS = [
    "focus:",
    "object:state-changed:focused",
    "object:state-changed:selected",
    "object:state-changed:showing",
    "object:property-change:accessible-name",
    "object:text-changed:insert",
    "window:activate",
]


def free_display():
    for n in range(90, 200):
        if not os.path.exists("/tmp/.X%d-lock" % n) and not os.path.exists("/tmp/.X11-unix/X%d" % n):
            return n
    raise SystemExit("no free display number")


def outer(args):
    """Starts the display and the window manager, then the listener on a bus of its own."""
    program = os.path.abspath(args.program)
    if not os.access(program, os.X_OK):
        raise SystemExit("%s not found: build it first (cmake --build build --target zhrebikon)" % program)
    display = args.display if args.display is not None else free_display()
    xvfb = subprocess.Popen(["Xvfb", ":%d" % display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wm = None
    try:
        for _ in range(50):
            if os.path.exists("/tmp/.X11-unix/X%d" % display):
                break
            time.sleep(0.1)
        env = dict(os.environ, DISPLAY=":%d" % display)
        wm = subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.5)
        env["ZHR_TRANSCRIPT_INNER"] = "1"
        return subprocess.call(["dbus-run-session", "--", sys.executable, os.path.abspath(__file__),
                                "--program", program], env=env)
    finally:
        for p in (wm, xvfb):
            if p:
                p.terminate()
                p.wait()


def describe(acc):
    try:
        return "%s «%s»" % (acc.getRoleName(), acc.name)
    except Exception:  # the object went away
        return "(gone)"


def inner(args):
    import pyatspi
    from gi.repository import GLib

    folder = tempfile.mkdtemp(prefix="zhrebikon-a11y-")
    for name in os.listdir(os.path.join(ROOT, "examples")):
        shutil.copy(os.path.join(ROOT, "examples", name), folder)
    tickets = os.path.join(folder, "Пример.rlb")
    start = time.monotonic()
    app_pid = []

    def ours(event):
        try:
            return event.source.get_process_id() in app_pid
        except Exception:
            return False

    def heard(event):
        if not ours(event):
            return
        kind = event.type
        what = describe(event.source)
        if kind.startswith("object:state-changed:"):
            line = "%s = %d  %s" % (kind[len("object:state-changed:"):], event.detail1, what)
        elif kind == "object:property-change:accessible-name":
            line = "name         %s" % what
        elif kind == "object:text-changed:insert":
            line = "text insert  «%s» in %s" % (event.any_data, what)
        else:
            line = "%-12s %s" % (kind.rstrip(":"), what)
        print("%6.2f  %s" % (time.monotonic() - start, line), flush=True)

    def say(text):
        print("%6.2f  ---- %s" % (time.monotonic() - start, text), flush=True)

    def find(root, role, name):
        """The first object of the program with this role and name, depth first."""
        if root is None:
            return None
        try:
            if root.getRoleName() == role and root.name.strip() == name:
                return root
            for child in root:
                found = find(child, role, name)
                if found is not None:
                    return found
        except Exception:
            return None
        return None

    def press_on_main(role, name):
        """Presses an object's first action from the listener's own thread, as a screen reader does."""
        done = threading.Event()

        def act():
            desktop = pyatspi.Registry.getDesktop(0)
            for appl in desktop:
                try:
                    if appl.get_process_id() not in app_pid:
                        continue
                except Exception:
                    continue
                target = find(appl, role, name)
                if target is not None:
                    action = target.queryAction()
                    say("the reader presses %s «%s» (%s)" % (role, name, action.getName(0)))
                    action.doAction(0)
                    break
            else:
                say("no %s «%s» found" % (role, name))
            done.set()
            return False

        GLib.idle_add(act)
        done.wait(10)

    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
               QT_ACCESSIBILITY="1", XDG_CONFIG_HOME=os.path.join(folder, "config"))
    app = subprocess.Popen([args.program, tickets], cwd=folder, env=env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    app_pid.append(app.pid)

    def xdo(*words):
        subprocess.run(["xdotool"] + list(words), check=False, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)

    def key(*keys):
        xdo("key", "--delay", "60", *keys)
        time.sleep(0.6)

    def play():
        try:
            wid = ""
            for _ in range(100):
                wid = subprocess.run(["xdotool", "search", "--name", "Жребикон"], capture_output=True,
                                     text=True).stdout.split()
                if wid:
                    break
                time.sleep(0.1)
            if not wid:
                say("the window did not appear")
                return
            say("the window is there")
            time.sleep(1.5)
            xdo("windowactivate", wid[-1])
            xdo("windowfocus", wid[-1])
            time.sleep(0.5)
            say("F2: check")
            key("F2")
            for n in ("4", "36", "41", "54", "82"):
                say("types %s and Enter" % n)
                xdo("type", "--delay", "60", n)
                key("Return")
                if n == "82":
                    time.sleep(0.5)
                    say("Enter closes the message box")
                    key("Return")
            say("Tab to the ticket list")
            key("Tab")
            say("Down, Down, Up")
            key("Down")
            key("Down")
            key("Up")
            press_on_main("push button", "Конец")
            time.sleep(1)
            say("Enter: yes, end the game")
            key("Return")
            time.sleep(1)
            say("Esc: do not save the draw")
            key("Escape")
            time.sleep(1)
        finally:
            GLib.idle_add(lambda: pyatspi.Registry.stop() and False)

    for kind in EVENTS:
        pyatspi.Registry.registerEventListener(heard, kind)
    threading.Thread(target=play, daemon=True).start()
    pyatspi.Registry.start()
    app.terminate()
    try:
        app.wait(5)
    except subprocess.TimeoutExpired:
        app.kill()
    shutil.rmtree(folder, ignore_errors=True)
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", default=os.path.join(ROOT, "build", "src", "zhrebikon"))
    parser.add_argument("--display", type=int, default=None, help="X display number (default: a free one)")
    args = parser.parse_args()
    if os.environ.get("ZHR_TRANSCRIPT_INNER"):
        return inner(args)
    return outer(args)


if __name__ == "__main__":
    sys.exit(main())
