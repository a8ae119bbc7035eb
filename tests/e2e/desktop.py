"""What a user has on the screen: the windows of the program under test, read through the
accessibility bus, and the mouse and keyboard of the X server (xdotool)."""

import subprocess
import time

import pyatspi
from Xlib import X, display, protocol

APP = "Zefrin!"


class Failure(Exception):
    """Something a user would see go wrong."""


def _walk(acc, depth=0):
    yield acc
    if depth > 12:
        return
    try:
        count = acc.childCount
    except Exception:
        return
    for i in range(count):
        try:
            child = acc.getChildAtIndex(i)
        except Exception:
            continue
        if child is not None:
            yield from _walk(child, depth + 1)


def applications():
    """Every running copy of the program on the accessibility bus."""
    desktop = pyatspi.Registry.getDesktop(0)
    apps = []
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == APP:
            apps.append(app)
    return apps


def windows():
    return [app.getChildAtIndex(i) for app in applications() for i in range(app.childCount)]


def role(acc):
    try:
        return acc.getRoleName()
    except Exception:
        return ""


def name(acc):
    try:
        return acc.name or ""
    except Exception:
        return ""


def text(acc):
    """The text a control shows: its text content, else its name."""
    try:
        t = acc.queryText()
        return t.getText(0, t.characterCount)
    except Exception:
        return name(acc)


def descendants(root, wanted_role=None, wanted_name=None):
    found = []
    for acc in _walk(root):
        if wanted_role is not None and role(acc) != wanted_role:
            continue
        if wanted_name is not None and name(acc) != wanted_name:
            continue
        found.append(acc)
    return found


def wait_for(what, probe, timeout=20.0):
    """Polls probe() until it gives something true; fails with what was awaited."""
    end = time.monotonic() + timeout
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() > end:
            raise Failure(f"waited {timeout:.0f} s for {what}")
        time.sleep(0.2)


def window(title, timeout=20.0):
    def probe():
        for w in windows():
            if name(w) == title:
                return w
        return None
    return wait_for(f"the window '{title}'", probe, timeout)


def window_gone(title, timeout=20.0):
    wait_for(f"the window '{title}' to close",
             lambda: all(name(w) != title for w in windows()), timeout)


def control(root, wanted_name, wanted_role=None, timeout=10.0):
    def probe():
        hits = descendants(root, wanted_role, wanted_name)
        return hits[0] if hits else None
    return wait_for(f"'{wanted_name}'", probe, timeout)


def centre(acc):
    box = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x + box.width // 2, box.y + box.height // 2


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)


def click(acc, times=1):
    click_at(*centre(acc), times=times)


def click_at(x, y, times=1):
    xdotool("mousemove", "--sync", x, y)
    time.sleep(0.1)
    xdotool("click", "--repeat", times, "--delay", 60, 1)


def _box(acc):
    return acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)


def _inside(acc, outer):
    a, b = _box(acc), _box(outer)
    return (a.width > 0 and a.height > 0 and a.x >= b.x and a.y >= b.y and
            a.x + a.width <= b.x + b.width and a.y + a.height <= b.y + b.height)


def _selected(acc):
    try:
        return acc.getState().contains(pyatspi.STATE_SELECTED)
    except Exception:
        return False


def choose(list_acc, item_name):
    """Selects a row as a user does: a click when it shows, else the arrow keys from a row
    that shows."""
    items = descendants(list_acc, "list item")
    names = [name(i) for i in items]
    if item_name not in names:
        raise Failure(f"no row '{item_name}' in {names}")
    wanted = names.index(item_name)
    if _inside(items[wanted], list_acc):
        click(items[wanted])
        return
    shown = [i for i, item in enumerate(items) if _inside(item, list_acc)]
    if not shown:
        raise Failure("the list shows no row")
    click(items[shown[0]])
    for _ in range(len(items) + 1):
        rows = descendants(list_acc, "list item")
        if _selected(rows[wanted]):
            return
        current = next((i for i, row in enumerate(rows) if _selected(row)), shown[0])
        press("Down" if current < wanted else "Up")
        time.sleep(0.05)
    raise Failure(f"could not select '{item_name}'")


def press(*keys):
    xdotool("key", "--delay", 50, *keys)


def request_close(title):
    """Asks the windows with that title to close, as a window manager's close button does."""
    ids = subprocess.run(["xdotool", "search", "--name", f"^{title}$"], capture_output=True,
                         text=True, check=True).stdout.split()
    screen = display.Display()
    protocols = screen.intern_atom("WM_PROTOCOLS")
    delete = screen.intern_atom("WM_DELETE_WINDOW")
    for window_id in ids:
        target = screen.create_resource_object("window", int(window_id))
        target.send_event(protocol.event.ClientMessage(
            window=target, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0])))
    screen.flush()
    screen.close()


def dump(root=None, out=print):
    roots = [root] if root is not None else windows()
    for r in roots:
        for acc in _walk(r):
            out(f"{role(acc)} | {name(acc)!r} | {text(acc)[:60]!r}")
