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

        # A plain key speaks; ";" shows the last spoken message in a dialog.
        w.key("comma")
        w.key("semicolon")
        dlg = w.wait_for("the last-message dialog",
                         lambda: w.find(w.app(), lambda a: a.getRoleName() == "frame" and a.name != MAIN_TITLE))
        field = w.wait_for("its text", lambda: w.find(dlg, w.role("text")))
        w.settles("the last spoken message", lambda: w.text_of(field).startswith("One square"), True)
        w.key("Escape")
        w.wait_for("the dialog to close",
                   lambda: w.find(w.app(), lambda a: a.getRoleName() == "frame" and a.name != MAIN_TITLE) is None)

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
