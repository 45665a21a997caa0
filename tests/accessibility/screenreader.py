#!/usr/bin/python3
"""Reads and works the real reader through the AT-SPI bus, as a screen reader does.

Usage, in a session bus of its own (dbus-run-session), inside an X server
or a Wayland session of tests/wayland/session.sh:
    screenreader.py EXECUTABLE CARRIED_DB

The test launches the accessibility bus on that session bus, as a desktop
session does, and stops it by its process id at the end. What a person does
with the pointer and the keyboard goes through the session it runs in (see
X11Session and WaylandSession); everything else is read and worked through
the bus alone. The reader's links reach a stand-in xdg-open that writes the
address it was given to a file.
"""
import ctypes
import ctypes.util
import os
import re
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time

EXECUTABLE, CARRIED_DB = sys.argv[1:3]
MAIN_TITLE = "Vargorin összes költeménye:"
DETAIL_TITLE = " Találat:"
EXIT_STATUS = "Program használatásan befejezése ?"
EXIT_QUESTION = "Biztosan be kívánja fejezni a program használatát ?"
GRID_HINT = "Dupla klikk: aktuális tétel megtekintése."
SEARCH_TERM = "tenger"
LINKS = {
    "E-mail: pellimor@mehes.example": "mailto:pellimor@mehes.example",
    "http://www.pellimor.example/": "http://www.pellimor.example/",
    "http://vargorin.pellimor.example/": "http://vargorin.pellimor.example/",
    "http://programok.pellimor.example/": "http://programok.pellimor.example/",
    "Android alkalmazások - Google Play ": "https://play.google.com/store/apps/developer?id=Pellimor",
}
NAVIGATOR = ["Első rekord", "Előző rekord", "Következő rekord", "Utolsó rekord"]


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


# ------------------------------------------------------------ the buses

def start_accessibility_bus():
    """The accessibility bus, launched on the session bus the test was given."""
    check(os.environ.get("DBUS_SESSION_BUS_ADDRESS"), "no session bus: run the test in dbus-run-session")
    return [subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])]


def stop(processes):
    for process in processes:
        if process.poll() is None:
            process.terminate()
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()


# ------------------------------------------------------------ reading the tree
#
# CI runs two suites at a time on a busy two-core machine, where the reader
# can take seconds for what takes milliseconds on a quiet one. So the test
# waits for states and events, never for time alone, with deadlines far
# beyond what a working reader needs: they cost time only when something is
# wrong.
PATIENCE = 30


def drain():
    """Delivers the events that have come in over the bus."""
    from gi.repository import GLib
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def pump(seconds, until=lambda: False):
    """Lets the bus deliver events for a while, or until a condition holds."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        drain()
        if until():
            return True
        time.sleep(0.02)
    drain()
    return until()


def wait_for(what, find, seconds=2 * PATIENCE):
    found = []
    pump(seconds, lambda: found.append(find()) or found[-1] is not None)
    check(found and found[-1] is not None, f"{what} did not appear")
    return found[-1]


def descendants(node):
    for child in node:
        if child is not None:
            yield child
            yield from descendants(child)


def find(node, role, name=None, showing=None):
    for item in descendants(node):
        if item.getRole() != role or (name is not None and item.name != name):
            continue
        if showing is not None and item.getState().contains(pyatspi.STATE_SHOWING) != showing:
            continue
        return item
    return None


def find_all(node, role):
    return [item for item in descendants(node) if item.getRole() == role]


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


def press(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    check("Press" in names, f"{node.getRoleName()} {node.name!r} has no press action, only {names}")
    action.doAction(names.index("Press"))


def enabled(node):
    return node.getState().contains(pyatspi.STATE_ENABLED)


def focusable(node):
    return node.getState().contains(pyatspi.STATE_FOCUSABLE)


class NameChanges:
    """Collects the objects whose name-change the program announces.

    The program learns over the bus that someone listens, some time after
    the registration here; a change before then goes unannounced."""

    def __init__(self):
        self.sources = []
        pyatspi.Registry.registerEventListener(self.heard, "object:property-change:accessible-name")

    def heard(self, event):
        self.sources.append(event.source)

    def of(self, node):
        return [source for source in self.sources if source == node]


# ------------------------------------------------------------ the session
#
# The pointer, the keyboard focus and the keys, each as the session the test
# runs in gives them. A session offers:
#   platform           the Qt platform the reader runs on there
#   centre_of(node)    where a node of the main window is on the screen
#   move(x, y)         the pointer to a point of the screen
#   focus()            the keyboard focus to the main window
#   keyboard()         something that types keys such as "alt+l", and closes


def xdotool(*arguments):
    return subprocess.run(["xdotool", *arguments], check=True, capture_output=True, text=True,
                          timeout=2 * PATIENCE).stdout


class X11Keyboard:
    """Types on the reader the way a person does: one key after the other.

    The reader hands every key to the screen readers on the bus (this test
    among them) and acts on it once they have answered. Alt+L sent in one go
    opened the menu and closed it again at once, about one run in three on a
    loaded machine; sent only after the reader has reported the Alt, the L
    opens a menu that stays. So a key goes only once the reader has reported
    the modifiers held for it. (The key itself is not always reported: one
    that makes a shortcut is taken before the screen readers hear of it.)"""

    def __init__(self):
        self.reported = 0
        pyatspi.Registry.registerKeystrokeListener(self.heard, mask=pyatspi.allModifiers(),
                                                   kind=(pyatspi.KEY_PRESSED_EVENT,))

    def heard(self, event):
        self.reported += 1
        return False  # the reader acts on every key

    def close(self):
        pyatspi.Registry.deregisterKeystrokeListener(self.heard, mask=pyatspi.allModifiers(),
                                                     kind=(pyatspi.KEY_PRESSED_EVENT,))

    def type(self, keys):
        """Presses keys such as "alt+l"; false when the reader did not report a modifier."""
        *modifiers, key = keys.split("+")
        held = []
        try:
            for modifier in modifiers:
                before = self.reported
                xdotool("keydown", modifier)
                held.append(modifier)
                if not pump(PATIENCE, lambda: self.reported > before):
                    return False
            xdotool("key", key)
            return True
        finally:
            for modifier in reversed(held):
                xdotool("keyup", modifier)


class X11Session:
    """An X server without a window manager. The pointer is warped: this X
    server ignores xdotool's faked motion. The connection stays open for the
    whole test, so the server never sees its last client leave and resets
    under the reader."""
    platform = "xcb"

    def __init__(self):
        self.xlib = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
        self.xlib.XOpenDisplay.restype = ctypes.c_void_p
        self.xlib.XDefaultRootWindow.restype = ctypes.c_ulong
        self.xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.xlib.XWarpPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
                                           ctypes.c_int, ctypes.c_uint, ctypes.c_uint, ctypes.c_int, ctypes.c_int]
        self.xlib.XFlush.argtypes = [ctypes.c_void_p]
        self.display = self.xlib.XOpenDisplay(None)
        check(self.display, "cannot open the X display")

    def centre_of(self, node):
        extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return extents.x + extents.width // 2, extents.y + extents.height // 2

    def move(self, x, y):
        self.xlib.XWarpPointer(self.display, 0, self.xlib.XDefaultRootWindow(self.display), 0, 0, 0, 0, x, y)
        self.xlib.XFlush(self.display)

    def focus(self):
        window = xdotool("search", "--sync", "--onlyvisible", "--name", f"^{MAIN_TITLE}$").split()[0]
        xdotool("windowfocus", "--sync", window)

    def keyboard(self):
        return X11Keyboard()


def drive(*command):
    """Runs one of the Wayland session's helpers (tests/wayland/drive.sh)."""
    helpers = os.path.join(os.environ["WAYLAND_TOOLS"], "drive.sh")
    return subprocess.run(["sh", "-c", '. "$0"; "$@"', helpers, *map(str, command)], check=True,
                          capture_output=True, text=True, timeout=3 * PATIENCE).stdout


class WaylandKeyboard:
    """Types through the compositor's virtual keyboard. Its modifiers reach
    the reader as the keyboard's state, not as keys of their own, so the L
    of Alt+L arrives with Alt held whenever the reader gets to it: there is
    no Alt press for the reader to act on first."""

    def type(self, keys):
        *modifiers, key = keys.split("+")
        drive("wl_keys", *[word for modifier in modifiers for word in ("-M", modifier)], "-k", key,
              *[word for modifier in reversed(modifiers) for word in ("-m", modifier)])
        return True

    def close(self):
        pass


class WaylandSession:
    """A headless Wayland session (tests/wayland/session.sh): the compositor
    places the windows and lists them; pointer, focus and keys go through it."""
    platform = "wayland"

    def main_window(self):
        """The main window's handle and its place on the screen, once listed."""
        handle = drive("wl_window", f"^{MAIN_TITLE}$").strip()
        x, y, width, height = map(int, drive("wl_geometry", handle).split())
        return handle, x, y, width, height

    def centre_of(self, node):
        # A Wayland client is told nothing of where its window is: the
        # reader can only say where the node is inside the window.
        _, x, y, _, _ = self.main_window()
        extents = node.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
        return x + extents.x + extents.width // 2, y + extents.y + extents.height // 2

    def move(self, x, y):
        drive("wl_pointer", "move", x, y)

    def focus(self):
        drive("wl_focus", self.main_window()[0])

    def keyboard(self):
        return WaylandKeyboard()


def current_session():
    return WaylandSession() if os.environ.get("WAYLAND_SESSION") else X11Session()


def point_at(session, node):
    session.move(*session.centre_of(node))


def point_elsewhere(session):
    """The pointer off the reader's windows, which both leave the corner free."""
    session.move(0, 0)


# ------------------------------------------------------------ the reader's data

def expected_titles(term=None):
    """The titles, and with a term the poems, of what the reader lists."""
    with sqlite3.connect(CARRIED_DB) as db:
        if term is None:
            return [row[0] for row in db.execute("Select CIM, VERS from tbl_Data")], None
        pattern = f"%{term}%"
        rows = db.execute("Select CIM, VERS from tbl_Data WHERE CIM like ? or DATUM like ? or VERS like ?",
                          (pattern, pattern, pattern)).fetchall()
        return [row[0] for row in rows], [row[1] for row in rows]


# ------------------------------------------------------------ the checks

def read_titles(main):
    titles, _ = expected_titles()
    grid = wait_for("the title index as a table", lambda: find(main, pyatspi.ROLE_TABLE))
    cells = lambda: [cell.name for cell in find_all(grid, pyatspi.ROLE_TABLE_CELL)]
    check(pump(PATIENCE, lambda: cells() == titles), f"the table reads {cells()}, the database holds {titles}")
    print("accessibility: the 13 titles read as table cells")
    return grid


def failure_box(desktop, work, environment):
    """A second reader in the same folder fails to write the working copy and says so."""
    second = subprocess.Popen([EXECUTABLE], cwd=work, env=environment)
    try:
        app = wait_for("the second reader", lambda: application(desktop, second))
        box = wait_for("the failure box", lambda: find(app, pyatspi.ROLE_ALERT))
        texts = [label.name for label in find_all(box, pyatspi.ROLE_LABEL)]
        check("Hiba történt - 2 !" in texts, f"the failure box reads {texts}")
        buttons = [button.name for button in find_all(box, pyatspi.ROLE_PUSH_BUTTON)]
        check(buttons == ["OK"], f"the failure box's buttons read {buttons}")
        press(find(box, pyatspi.ROLE_PUSH_BUTTON, "OK"))
        code = second.wait(timeout=2 * PATIENCE)
        check(code == 1, f"the second reader ended with {code}, not the status of a failed start-up")
    finally:
        if second.poll() is None:
            second.kill()
            second.wait()
    print("accessibility: a failure box read with its text and its button, and answered")


def application(desktop, program):
    return next((app for app in desktop if app is not None and app.get_process_id() == program.pid), None)


def read_status_bar(main, grid, changes, session):
    bar = find(main, pyatspi.ROLE_STATUS_BAR)
    check(bar is not None, "no status bar")
    check(bar.childCount == 2, f"the status bar has {bar.childCount} panels")
    hints, clock = bar[0], bar[1]
    check(text_of(hints) == "", f"panel 0 reads {text_of(hints)!r} with the pointer elsewhere")

    # The clock shows from its first tick on.
    check(pump(PATIENCE, lambda: re.search(r"\d:\d\d", text_of(clock))), f"the clock panel reads {text_of(clock)!r}")
    first = text_of(clock)
    check(pump(PATIENCE, lambda: text_of(clock) != first), "the clock panel does not follow the clock")

    # The pointer goes over the grid again while the hint is not announced:
    # the program may not have learned yet that someone listens.
    for attempt in range(3):
        point_at(session, grid)
        check(pump(PATIENCE, lambda: hints.name == GRID_HINT), f"panel 0 reads {hints.name!r} over the grid")
        check(text_of(hints) == GRID_HINT, "panel 0's text differs from its name")
        if pump(PATIENCE / 3, lambda: changes.of(hints)):
            break
        point_elsewhere(session)
        check(pump(PATIENCE, lambda: hints.name == ""), "panel 0 keeps the hint with the pointer elsewhere")
    check(changes.of(hints), "the new hint was not announced")
    # Now that changes are announced, the clock ticks on unannounced.
    shown = text_of(clock)
    check(pump(PATIENCE, lambda: text_of(clock) != shown), "the clock panel stops")
    drain()
    check(not changes.of(clock), "every clock tick is announced")
    point_elsewhere(session)
    check(pump(PATIENCE, lambda: hints.name == ""), "panel 0 keeps the hint with the pointer elsewhere")
    print("accessibility: the status panels read, the hint announced, the clock read but not announced")
    return hints


def search(main, grid, changes):
    press(find(main, pyatspi.ROLE_PAGE_TAB, "Keresés"))
    page = wait_for("the search page", lambda: find(main, pyatspi.ROLE_PANEL, "Keresés", showing=True))
    box = find(page, pyatspi.ROLE_TEXT)
    check(box.name == "Keresendő kifejezés:", f"the search box is named {box.name!r}")
    box.queryEditableText().setTextContents(SEARCH_TERM)
    labels = find_all(page, pyatspi.ROLE_LABEL)
    count = labels[[label.name for label in labels].index("Keresés eredménye /találat/:") + 1]
    check(count.name == "13", f"the count reads {count.name!r} before the search")
    check(find(page, pyatspi.ROLE_PUSH_BUTTON, "Korábbi keresés törlése /alaphelyzet/"), "no reset button")

    press(find(page, pyatspi.ROLE_PUSH_BUTTON, "Keresés indítása"))
    titles, poems = expected_titles(term=SEARCH_TERM)
    check(0 < len(titles) < 13, f"the term {SEARCH_TERM!r} makes no useful search")
    check(pump(PATIENCE, lambda: changes.of(count)), "the count was not announced after the search")
    check(count.name == str(len(titles)), f"the count reads {count.name!r}, expected {len(titles)}")
    cells = lambda: [cell.name for cell in find_all(grid, pyatspi.ROLE_TABLE_CELL)]
    check(pump(PATIENCE, lambda: cells() == titles), f"after the search the table reads {cells()}, expected {titles}")
    print(f"accessibility: the search for {SEARCH_TERM!r} announced its count {count.name}")
    return titles, poems


def follow_links(main, opened_log):
    press(find(main, pyatspi.ROLE_PAGE_TAB, "Bemutatkozás"))
    page = wait_for("the about page", lambda: find(main, pyatspi.ROLE_PANEL, "Bemutatkozás", showing=True))
    links = find_all(page, pyatspi.ROLE_LINK)
    check([link.name for link in links] == list(LINKS), f"the links read {[link.name for link in links]}")
    labels = [label.name for label in find_all(page, pyatspi.ROLE_LABEL)]
    check(labels[:2] == ["Vargorin összes költeménye", "Készítette: Pellimor."], f"the labels read {labels}")
    for link in links:
        check(not focusable(link), f"the link {link.name!r} takes the keyboard focus")
        press(link)
        address = LINKS[link.name]
        check(pump(PATIENCE, lambda: address in opened(opened_log)), f"{address} did not reach xdg-open")
    check(opened(opened_log) == list(LINKS.values()), f"xdg-open received {opened(opened_log)}")
    print("accessibility: every link opened its address through its action")


def opened(log):
    try:
        with open(log, encoding="utf-8") as file:
            return file.read().splitlines()
    except FileNotFoundError:
        return []


def focus(session, main):
    """Gives the main window the keyboard focus, and waits until the reader
    has made it its active window: keys sent before then go astray."""
    session.focus()
    check(pump(PATIENCE, lambda: main.getState().contains(pyatspi.STATE_ACTIVE)),
          "the main window did not become active")


def choose_from_menu(session, keyboard, main, key, result):
    """Opens the menu with Alt+L and picks the item whose access key is key,
    until result() finds what the item brings up, and returns that.

    A press can still be lost on a loaded machine, so the road is taken
    again, a bounded number of times. A menu still open is not opened again:
    Alt+L would close it."""
    menu = find(main, pyatspi.ROLE_POPUP_MENU)
    check(menu is not None, "no menu")
    showing = lambda: menu.getState().contains(pyatspi.STATE_SHOWING)
    found = []
    came = lambda: found.append(result()) or found[-1] is not None
    for attempt in range(5):
        if attempt and came():
            return found[-1]
        if not showing():
            focus(session, main)
            if not keyboard.type("alt+l") or not pump(PATIENCE / 2, showing):
                continue
        keyboard.type(key)
        if pump(PATIENCE, came):
            return found[-1]
    raise Failure(f"the menu item {key!r} brought nothing up: the menu did not open or did not answer")


def exit_question(app, main, hints, program, session):
    # Opened from the keyboard, as a screen reader user opens it.
    keyboard = session.keyboard()
    try:
        box = choose_from_menu(session, keyboard, main, "i", lambda: find(app, pyatspi.ROLE_ALERT, "Figyelem:"))
    finally:
        keyboard.close()
    texts = [label.name for label in find_all(box, pyatspi.ROLE_LABEL)]
    check(EXIT_QUESTION in texts, f"the exit question reads {texts}")
    buttons = [button.name for button in find_all(box, pyatspi.ROLE_PUSH_BUTTON)]
    check(buttons == ["Igen", "Nem"], f"the exit question's buttons read {buttons}")
    check(text_of(hints) == EXIT_STATUS, f"panel 0 reads {text_of(hints)!r} while the question is open")
    press(find(box, pyatspi.ROLE_PUSH_BUTTON, "Nem"))
    check(pump(PATIENCE, lambda: hints.name == ""), "panel 0 keeps the exit text after No")
    check(program.poll() is None, "the reader ended after No")
    print("accessibility: the exit question and the status text read while it is open")


def detail_window(app, grid, titles, poems):
    press(grid)
    window = wait_for("the detail window", lambda: find(app, pyatspi.ROLE_DIALOG, DETAIL_TITLE))
    label = find(window, pyatspi.ROLE_LABEL)
    poem = find(window, pyatspi.ROLE_TEXT)
    check(label.name == titles[0], f"the detail title reads {label.name!r}, expected {titles[0]!r}")
    check(poem.name == "Költemény szövege", f"the poem's box is named {poem.name!r}")
    check(poem.getState().contains(pyatspi.STATE_READ_ONLY), "the poem's box is not read-only")
    check(text_of(poem) == poems[0].replace("\r\n", "\n"), "the poem's box does not hold the whole poem")

    pictures = [button for button in find_all(window, pyatspi.ROLE_PUSH_BUTTON) if button.name in ("Fotó", "Felolvas")]
    check(len(pictures) == 2 and not any(enabled(button) for button in pictures),
          "the two picture buttons are not there disabled")
    navigator = [find(window, pyatspi.ROLE_PUSH_BUTTON, name) for name in NAVIGATOR]
    check(all(navigator), f"the navigator buttons are not named {NAVIGATOR}")
    check(not any(focusable(button) for button in navigator), "a navigator button takes the keyboard focus")
    press(navigator[2])
    check(pump(PATIENCE, lambda: label.name == titles[1]), f"after next the title reads {label.name!r}")
    check(text_of(poem) == poems[1].replace("\r\n", "\n"), "after next the box does not hold the next poem")
    print("accessibility: the detail window read, and its navigator worked through its actions")


def run(work):
    stand_in = os.path.join(work, "bin")
    os.mkdir(stand_in)
    opened_log = os.path.join(work, "opened.txt")
    with open(os.path.join(stand_in, "xdg-open"), "w", encoding="utf-8") as script:
        script.write(f'#!/bin/sh\nprintf "%s\\n" "$1" >> "{opened_log}"\n')
    os.chmod(os.path.join(stand_in, "xdg-open"), 0o755)

    environment = {key: value for key, value in os.environ.items() if key != "BROWSER"}
    session = current_session()
    environment.update(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM=session.platform,
                       LC_ALL="C.UTF-8", LANGUAGE="hu", PATH=stand_in + os.pathsep + os.environ["PATH"])
    point_elsewhere(session)
    program = subprocess.Popen([EXECUTABLE], cwd=work, env=environment)
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        app = wait_for("the reader on the accessibility bus", lambda: application(desktop, program))
        main = wait_for("the main window", lambda: find(app, pyatspi.ROLE_FRAME, MAIN_TITLE))
        changes = NameChanges()
        grid = read_titles(main)
        failure_box(desktop, work, environment)
        hints = read_status_bar(main, grid, changes, session)
        titles, poems = search(main, grid, changes)
        follow_links(main, opened_log)
        exit_question(app, main, hints, program, session)
        detail_window(app, grid, titles, poems)
    finally:
        if program.poll() is None:
            program.send_signal(signal.SIGTERM)
        try:
            code = program.wait(timeout=PATIENCE)
        except subprocess.TimeoutExpired:
            program.kill()
            raise
    check(code == 0, f"the reader ended with {code}")


buses = start_accessibility_bus()
try:
    import pyatspi  # finds the accessibility bus through the session bus

    with tempfile.TemporaryDirectory() as folder:
        run(folder)
except Failure as failure:
    print(f"accessibility: FAIL: {failure}", file=sys.stderr)
    sys.exit(1)
finally:
    stop(buses)
print("accessibility: passed")
