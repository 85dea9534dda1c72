#!/usr/bin/python3
"""Files handed from the window to the desktop, seen as a file manager sees them.

usage: desktop_test.py PROBE   (run inside gui-session.sh)

A stand-in for the desktop's file manager owns org.freedesktop.FileManager1
on the session bus and records what it is asked to show. The probe puts a
file whose name has a blank and a non-ASCII letter on the clipboard and
shows it in its folder; this script then reads the clipboard from another
process, as a file manager pasting it would. Exit 0 = passed, 1 = failed,
77 = skipped.
"""
import os
import subprocess
import sys
import tempfile
import threading
import time

try:
    import gi
    gi.require_version("Gtk", "3.0")
    gi.require_version("Gdk", "3.0")
    from gi.repository import Gdk, Gio, GLib, Gtk
except (ImportError, ValueError):
    print("SKIP: python3-gi with GTK 3 is not installed")
    sys.exit(77)

IFACE = """
<node>
  <interface name="org.freedesktop.FileManager1">
    <method name="ShowItems">
      <arg type="as" name="uris" direction="in"/>
      <arg type="s" name="startup_id" direction="in"/>
    </method>
  </interface>
</node>
"""


class Failure(Exception):
    pass


def wait_for(what, fn, timeout=20.0):
    end = time.time() + timeout
    while time.time() < end:
        got = fn()
        if got:
            return got
        time.sleep(0.1)
    raise Failure("timed out waiting for " + what)


class FakeFileManager:
    """Owns the file manager's name on the session bus; remembers each call."""

    def __init__(self):
        self.calls = []
        self.loop = GLib.MainLoop()
        self.ready = threading.Event()
        threading.Thread(target=self._run, daemon=True).start()
        if not self.ready.wait(10):
            raise Failure("the stand-in file manager did not get its name")

    def _run(self):
        bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        info = Gio.DBusNodeInfo.new_for_xml(IFACE).interfaces[0]

        def call(conn, sender, path, iface, method, params, invocation):
            self.calls.append((method, params.unpack()))
            invocation.return_value(None)

        bus.register_object("/org/freedesktop/FileManager1", info, call, None, None)
        Gio.bus_own_name_on_connection(bus, "org.freedesktop.FileManager1",
                                       Gio.BusNameOwnerFlags.NONE,
                                       lambda *a: self.ready.set(), None)
        self.loop.run()


def clipboard(target):
    cb = Gtk.Clipboard.get(Gdk.SELECTION_CLIPBOARD)
    if target == "TARGETS":
        ok, atoms = cb.wait_for_targets()
        return [a.name() for a in atoms] if ok else []
    data = cb.wait_for_contents(Gdk.Atom.intern(target, False))
    return data.get_data() if data is not None else None


def main(probe):
    fm = FakeFileManager()
    work = tempfile.mkdtemp(prefix="orvela-desktop-")
    path = os.path.join(work, "Moje zakładki.lscp")
    with open(path, "w") as f:
        f.write("#!lscp\r\n")
    log = os.path.join(work, "probe.log")
    open(log, "w").close()
    proc = subprocess.Popen([probe, path, log])
    try:
        wait_for("the probe's report", lambda: "shown" in open(log).read())
        report = open(log).read().split("\n")
        if "copied 1" not in report or "shown 1" not in report:
            raise Failure("probe reported %r" % report)
        uri = GLib.filename_to_uri(path, None)
        targets = wait_for("clipboard targets", lambda: clipboard("TARGETS"))
        for t in ("text/uri-list", "x-special/gnome-copied-files"):
            if t not in targets:
                raise Failure("%s not offered; targets %r" % (t, targets))
        uris = bytes(clipboard("text/uri-list")).rstrip(b"\0").decode()
        if [u for u in uris.split("\r\n") if u] != [uri]:
            raise Failure("text/uri-list is %r, expected %r" % (uris, uri))
        gnome = bytes(clipboard("x-special/gnome-copied-files")).rstrip(b"\0").decode()
        if gnome != "copy\n" + uri:
            raise Failure("gnome-copied-files is %r" % gnome)
        if GLib.filename_from_uri(uri)[0] != path:
            raise Failure("the URI does not lead back to the file")
        wait_for("ShowItems", lambda: fm.calls)
        if fm.calls[0] != ("ShowItems", ([uri], "")):
            raise Failure("file manager was asked %r" % fm.calls)
    finally:
        proc.terminate()
        proc.wait(10)
    print("desktop test passed")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1]))
    except Failure as e:
        print("FAILED: %s" % e)
        sys.exit(1)
