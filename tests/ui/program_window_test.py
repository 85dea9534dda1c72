#!/usr/bin/python3
"""The real program's window, as a screen-reader user meets it.

usage: program_window_test.py ORVELA ARTIFACT_DIR   (run inside gui-session.sh)

Starts orvela with a fresh home folder, checks the ten menus and some of
their items over the accessibility bus, presses command keys and reads the
last spoken message back through its dialog, then quits through the quit
question. Exit 0 = passed, 1 = failed, 77 = skipped.
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import window_test as w  # noqa: E402  (the helpers of the window test)

pyatspi = w.pyatspi
# A fresh home opens the demo map at first start; the title names the map.
MAIN_TITLE = "Orvela nowhere-cove"
MENUS = ["Map", "Navigation", "Area", "Bookmarks", "Sound", "Say", "Gps", "Settings", "Weather", "Help"]


def last_message_dialog():
    return w.find(w.app(), lambda a: a.getRoleName() == "dialog" and a.name == "Last message")


def position():
    """Where the user stands: the coordinates field of "Go to coordinates" starts with it."""
    w.key("ctrl+g")
    dlg = w.wait_for("the coordinates dialog", lambda: w.window("Go to coordinates"))
    field = w.wait_for("its field", lambda: w.find(dlg, w.role("text")))
    at = w.wait_for("the position in it", lambda: w.text_of(field))
    w.key("Escape")
    w.wait_for("the coordinates dialog to close", lambda: w.window("Go to coordinates") is None)
    return at


def check_mouse(frame, view, map_menu):
    """With "Use mouse" on, a movement walks the user relative to the way
    they face, and a click speaks instead of doing what it would do in the
    window: here, a click on the menu bar opens no menu."""
    start = position()
    w.key("ctrl+y")
    w.settles("the switch's message", lambda: w.text_of(view), "Use mouse On")
    # Sixty counts to the right, facing north: one step east.
    subprocess.run(["xdotool", "mousemove_relative", "--", "60", "0"], check=True)
    east = w.wait_for("a step east", lambda: [p for p in [position()] if p != start])[0]
    w.key("Left")
    w.settles("the step back west by the keys", position, start)

    w.key("comma")
    w.settles("the square size", lambda: w.text_of(view).startswith("One square"), True)
    x, y, width, height = map_menu.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(x + width // 2), str(y + height // 2),
                    "click", "1"], check=True)
    # The way there walks and the click speaks ...
    w.wait_for("the walk's announcement", lambda: not w.text_of(view).startswith("One square"))
    # ... and no menu opened: the next key still reaches the window.
    w.key("comma")
    w.settles("the square size after the click", lambda: w.text_of(view).startswith("One square"),
              True)
    w.check(not w.has_state(map_menu, pyatspi.STATE_SELECTED), "the click opened the Map menu")
    w.key("ctrl+y")
    w.settles("the switch's message", lambda: w.text_of(view), "Use mouse Off")


def main():
    orvela, shots = sys.argv[1], sys.argv[2]
    if not os.path.exists(orvela):
        print("SKIP: %s is not built" % orvela)
        return 77
    os.makedirs(shots, exist_ok=True)
    home = tempfile.mkdtemp()
    w.APP = os.path.basename(orvela)
    prog = subprocess.Popen([orvela, "--home", home, "--lang", "en"])
    try:
        frame = w.wait_for("the main window", lambda: w.window(MAIN_TITLE), timeout=60)
        bar = w.wait_for("the menu bar", lambda: w.find(frame, w.role("menu bar")))
        menus = [bar.getChildAtIndex(i) for i in range(bar.childCount)]
        w.check([m.name for m in menus] == MENUS, "menus: %r" % [m.name for m in menus])
        items = {m.name: [m.getChildAtIndex(i) for i in range(m.childCount)] for m in menus}
        names = {m: [i.name for i in its] for m, its in items.items()}
        for menu, item in [("Map", "Open..."), ("Map", "Quit"), ("Navigation", "Go forward (Up arrow)"),
                           ("Area", "Points in area..."), ("Bookmarks", "Add/edit bookmark..."),
                           ("Sound", "Increase volume"), ("Say", "One square size"),
                           ("Gps", "Open log..."), ("Settings", "Save user settings"),
                           ("Weather", "Current..."), ("Help", "User manual")]:
            w.check(item in names[menu], "%s menu has no %r: %r" % (menu, item, names[menu]))
        opn = [i for i in items["Map"] if i.name == "Open..."][0]
        w.check(w.shortcut(opn) == "<Primary>o", "Open... shortcut %r" % w.shortcut(opn))
        subprocess.run(["import", "-window", "root", os.path.join(shots, "orvela.png")], check=False)

        # Opening the menu sets the switches: they show as check items.
        w.key("alt+m")
        w.time.sleep(0.5)
        w.key("Escape", "Escape")
        item = lambda name: w.find(w.window(MAIN_TITLE), lambda a: a.name == name and a.getRoleName() != "menu")
        w.settles("Confirm program exit's kind", lambda: item("Confirm program exit").getRoleName(),
                  "check menu item")
        w.settles("Confirm program exit's mark",
                  lambda: w.has_state(item("Confirm program exit"), pyatspi.STATE_CHECKED), True)
        w.settles("Mute's kind", lambda: item("Mute").getRoleName(), "check menu item")
        w.check(not w.has_state(item("Mute"), pyatspi.STATE_CHECKED), "Mute is checked")

        # The window is on screen and in front, and says so.
        for state in (pyatspi.STATE_SHOWING, pyatspi.STATE_ACTIVE):
            w.settles("the main window's state %s" % state, lambda: w.has_state(frame, state), True)

        # A plain key speaks; the main view holds the message as read-only text.
        w.key("comma")
        view = w.wait_for("the main view", lambda: w.find(frame, w.role("text")))
        w.settles("the main view's message", lambda: w.text_of(view).startswith("One square"), True)
        w.check(w.has_state(view, pyatspi.STATE_FOCUSED), "the main view has not the focus")
        w.check(not w.has_state(view, pyatspi.STATE_EDITABLE), "the main view is editable")
        said = w.text_of(view)

        # ";" shows the last spoken message in a modal dialog, read-only.
        w.key("semicolon")
        dlg = w.wait_for("the last-message dialog", last_message_dialog)
        w.check(w.has_state(dlg, pyatspi.STATE_MODAL), "the last-message dialog is not modal")
        field = w.wait_for("its text", lambda: w.find(dlg, w.role("text")))
        w.settles("the last spoken message", lambda: w.text_of(field), said)
        w.settles("the message's focus", lambda: w.has_state(field, pyatspi.STATE_FOCUSED), True)
        w.check(not w.has_state(field, pyatspi.STATE_EDITABLE), "the last message is editable")
        w.type_text("xy")
        w.key("BackSpace", "Delete", "ctrl+a")
        # Select all is taken after the keys before it: then they are done.
        w.wait_for("the message to be selected", lambda: field.queryText().getNSelections() == 1)
        w.check(w.text_of(field) == said, "the last message was changed: %r" % w.text_of(field))
        w.key("Escape")
        w.wait_for("the dialog to close", lambda: last_message_dialog() is None)

        check_mouse(frame, view, menus[0])

        w.key("alt+F4")
        q = w.wait_for("the quit question", w.question_dialog)
        w.settles("the quit question's text",
                  lambda: "Really quit program?" in [l.name for l in w.find_all(q, w.role("label"))], True)
        w.key("Return")
        rc = prog.wait(timeout=30)
        w.check(rc == 0, "orvela ended with %d" % rc)
    except (w.Failure, subprocess.SubprocessError) as e:
        print("FAILED:", e)
        subprocess.run(["import", "-window", "root", os.path.join(shots, "orvela-failure.png")], check=False)
        return 1
    finally:
        if prog.poll() is None:
            prog.kill()
            prog.wait()
    print("program window test passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
