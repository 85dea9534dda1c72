#!/usr/bin/python3
"""The window seen from outside, as a screen-reader user meets it.

usage: window_test.py PROBE ARTIFACT_DIR   (run inside gui-session.sh)

Starts the window probe, reads its menus and dialogs through the
accessibility bus, presses keys with xdotool and checks in the probe's log
what reached the app. Saves screenshots in ARTIFACT_DIR. Exit 0 = passed,
1 = failed, 77 = skipped.
"""
import os
import subprocess
import sys
import tempfile
import time

try:
    import pyatspi
except ImportError:
    print("SKIP: pyatspi is not installed (python3-pyatspi)")
    sys.exit(77)

APP = "orvela_window_probe"
TITLE = "Orvela window test"
# What the probe shows for its "Current object type" command.
MESSAGE = "Crossing of \u017b\u00f3\u0142ta street\nPark lane"


class Failure(Exception):
    pass


def wait_for(what, fn, timeout=15.0):
    end = time.time() + timeout
    while time.time() < end:
        try:
            got = fn()
        except Exception:  # the tree changes under us while dialogs come and go
            got = None
        if got:
            return got
        time.sleep(0.1)
    raise Failure("timed out waiting for " + what)


def settles(what, get, expected, timeout=5.0):
    """Waits until get() == expected (dialogs finish building after they appear)."""
    last = [None]

    def ok():
        last[0] = get()
        return last[0] == expected
    try:
        wait_for(what, ok, timeout)
    except Failure:
        raise Failure("%s: expected %r, got %r" % (what, expected, last[0]))


def check(cond, message):
    if not cond:
        raise Failure(message)


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "120", *keys], check=True)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "50", text], check=True)


def app():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        a = desktop.getChildAtIndex(i)
        if a is not None and a.name == APP:
            return a
    return None


def find_all(acc, pred, found=None):
    found = [] if found is None else found
    if acc is None:
        return found
    if pred(acc):
        found.append(acc)
    for i in range(acc.childCount):
        find_all(acc.getChildAtIndex(i), pred, found)
    return found


def find(acc, pred):
    hits = find_all(acc, pred)
    return hits[0] if hits else None


def role(name):
    return lambda a: a.getRoleName() == name


def named(role_name, name):
    return lambda a: a.getRoleName() == role_name and a.name == name


def window(title):
    """A top-level window of the app (a frame, or the file chooser's own role)."""
    a = app()
    for i in range(a.childCount if a else 0):
        child = a.getChildAtIndex(i)
        if child is not None and child.name == title:
            return child
    return None


def text_of(acc):
    return acc.queryText().getText(0, -1)


def has_state(acc, state):
    return acc.getState().contains(state)


def shortcut(acc):
    # The action interface gives "mnemonic;full mnemonic path;shortcut".
    return acc.queryAction().getKeyBinding(0).split(";")[-1]


def labelled_by(acc):
    for rel in acc.getRelationSet():
        if rel.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return [rel.getTarget(i).name for i in range(rel.getNTargets())]
    return []


class Log:
    def __init__(self, path):
        self.path = path
        self.seen = 0

    def lines(self):
        try:
            with open(self.path) as f:
                return f.read().splitlines()
        except FileNotFoundError:
            return []

    def expect(self, wanted, timeout=10.0):
        """Waits until the lines after the last expectation contain `wanted` in order."""
        def got():
            new = self.lines()[self.seen:]
            pos = 0
            for i, line in enumerate(new):
                if pos < len(wanted) and line == wanted[pos]:
                    pos += 1
                    if pos == len(wanted):
                        self.seen += i + 1
                        return True
            return False
        try:
            wait_for("log lines %r" % wanted, got, timeout)
        except Failure:
            raise Failure("expected %r in the log, got %r" % (wanted, self.lines()[self.seen:]))


def check_menus():
    bar = wait_for("the menu bar", lambda: find(window(TITLE), role("menu bar")))
    menus = [bar.getChildAtIndex(i) for i in range(bar.childCount)]
    check([m.name for m in menus] == ["Map", "Navigation", "Area", "Bookmarks", "Sound", "Say", "Help", "Settings"],
          "menus: %r" % [m.name for m in menus])
    items = {m.name: [m.getChildAtIndex(i) for i in range(m.childCount)] for m in menus}
    check([i.name for i in items["Map"]] == ["Open...", "Select start point...", "Import OpenStreetMap", "Quit"],
          "Map menu: %r" % [i.name for i in items["Map"]])
    check(items["Map"][2].getRoleName() == "menu", "the import submenu is not a menu")
    sub = [items["Map"][2].getChildAtIndex(i).name for i in range(items["Map"][2].childCount)]
    check(sub == ["From OSM XML file..."], "import submenu items %r" % sub)
    # The arrow key cannot be a menu shortcut in GTK: its text stays visible in the name.
    check([i.name for i in items["Navigation"]] ==
          ["Go forward (Up arrow)", "Go back (Down arrow)", "Increase square size", "Go to coordinates...",
           "Use mouse"],
          "Navigation menu: %r" % [i.name for i in items["Navigation"]])
    bindings = {i.name: shortcut(i) for m in items.values() for i in m if i.getRoleName() != "menu"}
    for name, expected in [("Open...", "<Primary>o"), ("Quit", "<Alt>F4"), ("Points in area...", "p"),
                           ("Increase square size", "<Primary>Page_Up"), ("Current object type", "space"),
                           ("Current object direction", "slash"), ("Mute", "<Primary>space")]:
        check(bindings.get(name) == expected, "shortcut of %s: %r" % (name, bindings.get(name)))
    check(items["Sound"][0].getRoleName() == "check menu item", "Mute is not a check item")
    return items


def selected_items():
    items = find_all(window(TITLE), lambda a: a.getRoleName() in ("menu", "menu item", "check menu item"))
    return [i.name for i in items if has_state(i, pyatspi.STATE_SELECTED)]


def check_menu_keys(log):
    """After F10 the arrow keys walk the menus, as after Alt+letter; none of
    them reaches the app as a command while a menu is open."""
    # F10 only selects the first menu; Alt+M opens it at its first item.
    for opener, opened, down in [("F10", ["Map"], ["Map", "Open..."]),
                                 ("alt+m", ["Map", "Open..."], ["Map", "Select start point..."])]:
        key(opener)
        log.expect(["init menu", "menu open"])
        settles("the selection after " + opener, selected_items, opened)
        key("Down")
        settles("the selection after %s, Down" % opener, selected_items, down)
        key("Right")
        settles("the selection after Right", selected_items, ["Navigation", "Go forward (Up arrow)"])
        key("Escape", "Escape")
        log.expect(["menu closed"])
        wait_for("the menus to close", lambda: selected_items() == [])
    check(not [l for l in log.lines() if l in ("command 211", "command 212")],
          "an arrow key ran a command while a menu was open: %r" % log.lines())
    # Closed again, the arrows are commands once more.
    key("Down")
    log.expect(["command 212"])


def check_main_view():
    """The main view holds the keyboard focus and the last message, as
    read-only text; the window says it is on screen and in front."""
    frame = window(TITLE)
    for state in (pyatspi.STATE_SHOWING, pyatspi.STATE_ACTIVE):
        settles("the window's state %s" % state, lambda: has_state(frame, state), True)
    view = wait_for("the main view", lambda: find(frame, role("text")))
    settles("the main view's text", lambda: text_of(view), "Welcome to Orvela")
    check(has_state(view, pyatspi.STATE_FOCUSED), "the main view has not the focus")
    check(not has_state(view, pyatspi.STATE_EDITABLE), "the main view is editable")
    key("space")  # the probe shows a new message, in two lines
    settles("the main view's new text", lambda: text_of(view), MESSAGE)
    check(view.queryText().characterCount == 34, "characters: %d" % view.queryText().characterCount)
    # A screen reader's review reads it by line, word and character.
    text = view.queryText()
    Atspi = pyatspi.Atspi
    for offset, boundary, expected in [
            (14, pyatspi.TEXT_BOUNDARY_LINE_START, ("Crossing of \u017b\u00f3\u0142ta street\n", 0, 25)),
            (27, pyatspi.TEXT_BOUNDARY_LINE_START, ("Park lane", 25, 34)),
            (34, pyatspi.TEXT_BOUNDARY_LINE_START, ("Park lane", 25, 34)),
            (14, pyatspi.TEXT_BOUNDARY_WORD_START, ("\u017b\u00f3\u0142ta ", 12, 18)),
            (13, pyatspi.TEXT_BOUNDARY_CHAR, ("\u00f3", 13, 14))]:
        got = tuple(text.getTextAtOffset(offset, boundary))
        check(got == expected, "text at %d by %s: %r" % (offset, boundary, got))
    for offset, granularity, expected in [
            (14, Atspi.TextGranularity.WORD, ("\u017b\u00f3\u0142ta", 12, 17)),
            (3, Atspi.TextGranularity.LINE, ("Crossing of \u017b\u00f3\u0142ta street", 0, 24))]:
        r = Atspi.Text.get_string_at_offset(view, offset, granularity)
        got = (r.content, r.start_offset, r.end_offset)
        check(got == expected, "string at %d by %s: %r" % (offset, granularity, got))


def is_modal_dialog(dlg):
    return dlg.getRoleName() == "dialog" and has_state(dlg, pyatspi.STATE_MODAL)


def check_text_entry(log):
    key("ctrl+g")
    dlg = wait_for("the text-entry dialog", lambda: window("Go to coordinates"))
    settles("the text-entry dialog's kind", lambda: is_modal_dialog(dlg), True)
    field = wait_for("its edit field", lambda: find(dlg, role("text")))
    settles("the edit field's label", lambda: labelled_by(field), ["Latitude and longitude:"])
    settles("the initial text", lambda: text_of(field), "52.1 21.0")
    settles("the edit field's focus", lambda: has_state(field, pyatspi.STATE_FOCUSED), True)
    key("ctrl+a")
    type_text("48.85 2.35")
    key("Return")
    log.expect(["command 270", "entered 48.85 2.35"])


def check_list(log):
    key("u")
    dlg = wait_for("the list dialog", lambda: window("Go to bookmark"))
    settles("the list dialog's kind", lambda: is_modal_dialog(dlg), True)
    # The list itself, which has the focus, is labelled by the prompt.
    table = wait_for("the list", lambda: find(dlg, role("table")))
    settles("the list's label", lambda: labelled_by(table), ["Choose a bookmark:"])
    cells = lambda: find_all(dlg, role("table cell"))
    settles("the list entries", lambda: [c.name for c in cells()], ["Home", "Work", "Park"])
    settles("the preselected entry",
            lambda: [c.name for c in cells() if has_state(c, pyatspi.STATE_SELECTED)], ["Work"])
    key("Down", "Return")
    log.expect(["command 502", "chosen 2"])


def check_progress(log, shots):
    key("ctrl+t")
    dlg = wait_for("the progress dialog", lambda: window("Searching"))
    settles("the progress dialog's kind", lambda: is_modal_dialog(dlg), True)
    field = wait_for("its text", lambda: find(dlg, role("text")))
    settles("the progress text's label", lambda: labelled_by(field), ["Start point:"])
    wait_for("progress", lambda: text_of(field).startswith("Step 1"))
    ok = find(dlg, named("push button", "OK"))
    check(ok is not None and not has_state(ok, pyatspi.STATE_ENABLED), "OK is not greyed")
    subprocess.run(["import", "-window", "root", os.path.join(shots, "progress.png")], check=False)
    key("Escape")
    # The worker is still tidying up: the dialog stays and says so.
    wait_for("the Cancelling text", lambda: text_of(field) == "Cancelling", timeout=3.0)
    check(window("Searching") is not None, "the dialog closed before its worker ended")
    check("task cancelled 1" not in log.lines(), "BGPROCES returned before its worker ended")
    log.expect(["command 110", "task cancelled 1"])
    wait_for("the progress dialog to close", lambda: window("Searching") is None)


def check_mouse(log):
    key("ctrl+y")
    log.expect(["command 281", "capture ok"])
    start = len(log.lines())
    for dx, dy in [(40, 0), (0, 25), (-15, -5)]:
        subprocess.run(["xdotool", "mousemove_relative", "--", str(dx), str(dy)], check=True)
        time.sleep(0.2)
    subprocess.run(["xdotool", "click", "1"], check=True)
    log.expect(["click left"])

    def moved():
        moves = [l.split() for l in log.lines()[start:] if l.startswith("mouse ")]
        return (sum(int(m[1]) for m in moves), sum(int(m[2]) for m in moves))
    wait_for("the mouse movements", lambda: moved() == (25, 20))
    key("ctrl+y")
    log.expect(["command 281", "capture ok"])


def check_desktop(log, opened_path):
    """Documents and addresses go to the desktop's opener (xdg-open)."""
    def opened():
        try:
            with open(opened_path) as f:
                return f.read().splitlines()
        except FileNotFoundError:
            return []
    key("F1")
    log.expect(["command 901", "opened"])
    wait_for("the manual to be handed over", lambda: len(opened()) == 1)
    key("ctrl+h")
    q = wait_for("the web question", question_dialog)
    settles("the web question's text",
            lambda: "Do you want to open web page orvela.example.org/start in default browser?"
            in [l.name for l in find_all(q, role("label"))], True)
    key("Return")
    log.expect(["command 903", "opened"])
    key("ctrl+e")
    wait_for("the mail question", question_dialog)
    key("Escape")  # No: nothing is opened
    log.expect(["command 904", "not opened"])
    wait_for("the question to go", lambda: question_dialog() is None)
    wait_for("the address to be handed over", lambda: len(opened()) == 2)
    time.sleep(0.5)
    check(opened() == ["/tmp/orvela help/help.en.html", "http://orvela.example.org/start"],
          "handed to the desktop: %r" % opened())


def check_file_chooser(log, tmp):
    home = os.path.join(tmp, "files")
    os.makedirs(home, exist_ok=True)
    existing = os.path.join(home, "walk.lscp")
    open(existing, "w").close()
    key("ctrl+l")
    wait_for("the open dialog", lambda: window("Load bookmarks"))
    time.sleep(0.5)
    type_text(existing)  # a "/" opens the chooser's location field
    time.sleep(0.5)
    key("Return")
    log.expect(["command 505", "file " + existing])
    wait_for("the open dialog to close", lambda: window("Load bookmarks") is None)
    key("ctrl+shift+s")
    wait_for("the save dialog", lambda: window("Save bookmarks"))
    time.sleep(0.5)
    key("ctrl+a")
    type_text(os.path.join(home, "evening"))
    time.sleep(0.5)
    key("Return")
    # A name typed without an extension gets the default one.
    log.expect(["command 512", "file " + os.path.join(home, "evening.lscp")])


def question_dialog():
    return find(app(), lambda a: a.getRoleName() in ("alert", "dialog", "frame") and a.name == "Question")


def check_close(log, probe):
    key("alt+F4")
    dlg = wait_for("the quit question", question_dialog)
    settles("the question text",
            lambda: "Really quit program?" in [l.name for l in find_all(dlg, role("label"))], True)
    settles("Yes as the default button",
            lambda: has_state(find(dlg, named("push button", "Yes")), pyatspi.STATE_FOCUSED), True)
    key("Escape")  # = No: the window stays
    log.expect(["close"])
    wait_for("the question to go", lambda: question_dialog() is None)
    time.sleep(0.5)
    check(probe.poll() is None and window(TITLE) is not None, "the window closed although refused")
    key("alt+F4")
    wait_for("the quit question again", question_dialog)
    key("Return")
    log.expect(["close"])
    rc = probe.wait(timeout=20)
    check(rc == 0, "the window program ended with %d (see its sanitizer output)" % rc)


def main():
    probe_path, shots = sys.argv[1], sys.argv[2]
    os.makedirs(shots, exist_ok=True)
    tmp = tempfile.mkdtemp()
    log = Log(os.path.join(tmp, "events.log"))
    # The desktop's opener, standing in for the browser and the mail program.
    bin_dir = os.path.join(tmp, "bin")
    os.makedirs(bin_dir)
    opened_path = os.path.join(tmp, "opened.txt")
    with open(os.path.join(bin_dir, "xdg-open"), "w") as f:
        f.write('#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' % opened_path)
    os.chmod(os.path.join(bin_dir, "xdg-open"), 0o755)
    env = dict(os.environ, PATH=bin_dir + os.pathsep + os.environ.get("PATH", ""))
    probe = subprocess.Popen([probe_path, log.path], env=env)
    try:
        subprocess.run(["xdotool", "search", "--sync", "--name", "^%s$" % TITLE],
                       check=True, timeout=30, stdout=subprocess.DEVNULL)
        log.expect(["focus on"])
        check_menus()
        check_main_view()
        log.expect(["command 302"])
        check_menu_keys(log)

        # Every command key reaches the app, plain keys and arrows included.
        key("Up", "p", "slash", "period", "space", "ctrl+o", "ctrl+Prior",
            "shift+t", "Return", "Delete", "alt+Left", "ctrl+period")
        log.expect(["command 211", "command 251", "command 303", "command 305", "command 302",
                    "command 101", "command 221", "command 308", "command 501", "command 503",
                    "command 712", "command 621"])

        # Opening the menu is the time to set item states; the key of a
        # greyed item still acts.
        key("alt+n")
        log.expect(["init menu", "menu open"])
        points = find(window(TITLE), named("menu item", "Points in area..."))
        wait_for("Points to be greyed", lambda: not has_state(points, pyatspi.STATE_ENABLED))
        key("Escape", "Escape")
        log.expect(["menu closed"])
        key("p")
        log.expect(["command 251"])
        # An item declared plain became a check item when the app checked it.
        mono = lambda: find(window(TITLE), lambda a: a.name == "Mono mode")
        settles("Mono mode's kind", lambda: mono().getRoleName(), "check menu item")
        settles("Mono mode's check mark", lambda: has_state(mono(), pyatspi.STATE_CHECKED), True)
        check(shortcut(mono()) == "<Primary>m", "Mono mode lost its shortcut: %r" % shortcut(mono()))
        key("ctrl+m")
        log.expect(["command 407"])
        key("h", "period")
        log.expect(["command 307", "unexpected command failure", "unexpected posted failure",
                    "command 305"])

        subprocess.run(["import", "-window", "root", os.path.join(shots, "window.png")], check=False)
        check_text_entry(log)
        check_list(log)
        check_progress(log, shots)
        key("ctrl+i")
        log.expect(["command 165", "instant tasks 190"])
        check(window("Import") is None, "an instant task's dialog stayed open")
        check_mouse(log)
        check_desktop(log, opened_path)
        check_file_chooser(log, tmp)

        # A second start brings this window forward and ends at once.
        second = subprocess.run([probe_path, os.path.join(tmp, "second.log")], timeout=30)
        check(second.returncode == 3, "the second copy ended with %d" % second.returncode)
        log.expect(["raised"])

        check_close(log, probe)
    except (Failure, subprocess.SubprocessError) as e:
        print("FAILED:", e)
        print("log:", log.lines())
        subprocess.run(["import", "-window", "root", os.path.join(shots, "failure.png")], check=False)
        return 1
    finally:
        if probe.poll() is None:
            probe.kill()
            probe.wait()
    print("window test passed; screenshots in", shots)
    return 0


if __name__ == "__main__":
    sys.exit(main())
