#!/usr/bin/python3
"""What a blind user hears: the real program under the Orca screen reader.

usage: orca_test.py ORVELA ARTIFACT_DIR   (run inside gui-session.sh)

Speech-dispatcher runs with a configuration in which Orca and the program
each speak through their own stand-in voice that writes every text to one
file, marked ORCA or PROG. The test presses keys as a user would and checks
what was said, in order, waiting for each line with a time-out. Orca is a
real part of this test: when it cannot start, the test fails.
Exit 0 = passed, 1 = failed.
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# A fresh home opens the demo map at first start; the title names the map.
# Orca says "<title> frame" when the window comes to the front, or the new
# title alone when the map is named after Orca has met the window.
TITLE = r"Orvela nowhere-cove( frame)?\.?"
# Plenty for a busy machine; a line that comes at all comes within seconds.
WAIT = 45.0


class Failure(Exception):
    pass


def voice_config(folder):
    """A speech-dispatcher configuration in `folder`: each client's text is
    appended to folder/spoken.txt as "time WHO text" (WHO: ORCA, PROG or
    OTHER). Clients are told apart by speech-dispatcher's client patterns,
    which must be written in lower case."""
    os.makedirs(os.path.join(folder, "modules"))
    os.makedirs(os.path.join(folder, "logs"))
    spoken = os.path.join(folder, "spoken.txt")
    open(spoken, "w").close()
    conf = [
        'CommunicationMethod "unix_socket"',
        'SocketPath "%s/sock"' % folder,
        'LogLevel 3',
        'LogDir "%s/logs"' % folder,
        'DefaultLanguage "en"',
        'AudioOutputMethod "libao"',
    ]
    for who in ("other", "orca", "prog"):
        conf.append('AddModule "%s" "sd_generic" "%s.conf"' % (who, who))
        # The time stamp and the tag, then the text exactly as handed over.
        synth = ("printf '%%s %s %%s\\\\n' $(date +%%T.%%N) \\'$DATA\\' >> %s"
                 % (who.upper(), spoken))
        with open(os.path.join(folder, "modules", who + ".conf"), "w") as f:
            f.write('Debug 0\nGenericExecuteSynth "%s"\n' % synth)
            f.write('GenericLanguage "en" "en" "utf-8"\nAddVoice "en" "MALE1" "v"\n')
            f.write('DefaultVoice "v"\n')
    conf.append('DefaultModule "other"')
    for pattern, module in (("*:orca:*", "orca"), ("*:orvela:*", "prog")):
        conf += ['BeginClient "%s"' % pattern, ' DefaultModule "%s"' % module, 'EndClient']
    with open(os.path.join(folder, "speechd.conf"), "w") as f:
        f.write("\n".join(conf) + "\n")
    # The stand-in voices play nothing, but the audio library still wants a driver.
    with open(os.path.expanduser("~/.libao"), "w") as f:
        f.write("default_driver=null\n")
    return spoken


class Heard:
    """The spoken lines, read in order: each expectation looks after the last."""

    def __init__(self, path):
        self.path = path
        self.pos = 0

    def lines(self):
        try:
            with open(self.path, encoding="utf-8", errors="replace") as f:
                raw = f.read().splitlines()
        except FileNotFoundError:
            return []
        out = []
        for line in raw:
            parts = line.split(" ", 2)
            if len(parts) == 3:
                out.append((parts[1], parts[2].strip()))
        return out

    def mark(self, what):
        with open(self.path, "a") as f:
            f.write("%s KEY %s\n" % (time.strftime("%H:%M:%S"), what))

    def find(self, who, pattern, start):
        for i, (w, text) in enumerate(self.lines()[start:], start):
            if w == who and re.fullmatch(pattern, text):
                return i
        return None

    def expect(self, who, pattern, what, timeout=WAIT):
        """Waits for a line of `who` matching `pattern` after the last one found."""
        end = time.time() + timeout
        while time.time() < end:
            i = self.find(who, pattern, self.pos)
            if i is not None:
                self.pos = i + 1
                return self.lines()[i][1]
            time.sleep(0.1)
        raise Failure("%s: no %s line matching %r after %r" %
                      (what, who, pattern, self.lines()[max(0, self.pos - 1):]))

    def press(self, *keys):
        self.mark(" ".join(keys))
        subprocess.run(["xdotool", "key", "--delay", "150", *keys], check=True)


def words(text):
    """A pattern for `text` as Orca says it, with or without a final stop."""
    return re.escape(text) + r"\.?"


def start_program(orvela, env):
    home = tempfile.mkdtemp()
    return subprocess.Popen([orvela, "--home", home, "--lang", "en"], env=env)


def listen(heard):
    # Start: Orca is on; the program says where the user is and Orca names
    # the window (the window comes first, so the two may come either way
    # round), then the main view that has the focus.
    heard.expect("ORCA", words("Screen reader on"), "Orca's start")
    after_start = heard.pos
    first = heard.expect("PROG", r".+", "the program's first message")
    heard.pos = after_start
    heard.expect("ORCA", TITLE, "the window title")
    heard.expect("ORCA", words("read only text"), "the main view")

    # Walking: the program speaks, Orca adds nothing of its own (the arrow
    # keys are not echoed).
    walk_from = len(heard.lines())
    heard.press("Up")
    heard.pos = walk_from
    walked = heard.expect("PROG", r".+", "the message after a step")

    # The menu bar from F10; the arrows walk the menu, not the map.
    heard.press("F10")
    echo = heard.expect("ORCA", r"F10", "Orca's echo of F10")
    heard.expect("ORCA", words("Map menu"), "the Map menu")
    spoke = [(w, t) for w, t in heard.lines()[walk_from:heard.pos] if w != "KEY"]
    # Orca may still be reading the main view as it was at the start.
    allowed = (echo, first, first + ".", "Map menu", "Map menu.")
    extra = [t for w, t in spoke if w == "ORCA" and t not in allowed]
    if extra:
        raise Failure("Orca spoke while walking: %r" % extra)
    heard.press("Down")
    heard.expect("ORCA", r"Open(\.\.\.| dot dot dot) +Ctrl\+O\.?", "the first item of the Map menu")
    heard.press("Down")
    heard.expect("ORCA", r"Refresh +Ctrl\+R\.?", "the second item of the Map menu")
    progs = [t for w, t in heard.lines()[walk_from:] if w == "PROG"]
    if progs != [walked]:
        raise Failure("the program spoke while its menu was open: %r" % progs[1:])
    heard.press("Escape")
    heard.expect("ORCA", words(walked), "the main view after the menu")

    # A dialog: named a dialog, its prompt, the field and its text.
    heard.press("ctrl+g")
    heard.expect("ORCA", words("Go to coordinates dialog"), "the coordinates dialog")
    heard.expect("ORCA", words("Enter decimal latitude and longitude separated by space text"),
                 "the dialog's prompt and field")
    heard.expect("ORCA", r"-?\d+\.\d+ -?\d+\.\d+ selected\.?", "the field's text")
    heard.press("Escape")
    heard.expect("ORCA", words(walked), "the main view after the dialog")

    # A list dialog: its prompt, then the entry that has the focus.
    heard.press("ctrl+period")
    heard.expect("ORCA", words("Direction announcement mode dialog"), "the list dialog")
    heard.expect("ORCA", words("Select direction announcement mode"), "the list's prompt")
    heard.expect("ORCA", words("Clock face relative to user direction"), "the list's first entry")
    heard.press("Escape")
    heard.expect("ORCA", words(walked), "the main view after the list")

    # The last message, in its read-only dialog and in Orca's flat review.
    heard.press("semicolon")
    heard.expect("ORCA", words("Last message dialog"), "the last-message dialog")
    heard.expect("ORCA", words("Last spoken message read only text"), "its read-only text")
    heard.expect("ORCA", words(walked), "the last message in the dialog")
    heard.press("Escape")
    heard.expect("ORCA", words(walked), "the main view after the last message")
    heard.press("KP_Up")
    heard.expect("ORCA", words(walked), "flat review of the current line")


def main():
    orvela, artifacts = sys.argv[1], sys.argv[2]
    os.makedirs(artifacts, exist_ok=True)
    for tool in ("orca", "speech-dispatcher", "xdotool"):
        if not shutil.which(tool):
            print("FAILED: %s is not installed (scripts/install-deps.sh installs it)" % tool)
            return 1
    folder = tempfile.mkdtemp(prefix="orvela-voice-")
    spoken = voice_config(folder)
    env = dict(os.environ, SPEECHD_ADDRESS="unix_socket:%s/sock" % folder)
    env.setdefault("ALSOFT_DRIVERS", "null")  # no sound card here
    procs = []
    heard = Heard(spoken)
    try:
        sd = subprocess.Popen(["speech-dispatcher", "-s", "-C", folder, "-t", "0"], env=env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        procs.append(sd)
        end = time.time() + WAIT
        while not os.path.exists(os.path.join(folder, "sock")):
            if time.time() > end or sd.poll() is not None:
                raise Failure("speech-dispatcher did not start (see %s/logs)" % folder)
            time.sleep(0.1)
        with open(os.path.join(artifacts, "orca.out"), "w") as out:
            procs.append(subprocess.Popen(
                ["orca", "-d", "braille", "--debug-file",
                 os.path.join(artifacts, "orca-debug.txt")],
                env=env, stdout=out, stderr=subprocess.STDOUT))
        # The program starts once Orca listens, as a user would start it.
        heard.expect("ORCA", words("Screen reader on"), "Orca's start")
        heard.pos = 0
        procs.append(start_program(orvela, env))
        listen(heard)
    except (Failure, subprocess.SubprocessError) as e:
        print("FAILED:", e)
        subprocess.run(["import", "-window", "root", os.path.join(artifacts, "orca-failure.png")],
                       check=False)
        return 1
    finally:
        for p in reversed(procs):
            if p.poll() is None:
                p.send_signal(signal.SIGKILL)  # Orca does not end on SIGTERM
                p.wait()
        shutil.copy(spoken, os.path.join(artifacts, "spoken.txt"))
        print("heard:")
        for who, text in heard.lines():
            print("  %s %s" % (who, text))
    print("orca test passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
