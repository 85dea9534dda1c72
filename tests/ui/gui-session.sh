#!/bin/bash
# usage: gui-session.sh CMD...
# Runs CMD in a private headless desktop: its own HOME and XDG folders, a
# private D-Bus session (the accessibility bus starts on demand inside it),
# Xvfb on a free display and openbox, so that new dialogs get the keyboard
# focus as they would on a real desktop. Exits 77 when any of that cannot be
# had on this machine: the window tests then fail, as a test that cannot run
# its real parts must (scripts/install-deps.sh installs them all).
set -u
for tool in Xvfb xvfb-run xauth dbus-run-session openbox xdotool; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "FAIL: $tool is not installed (needed for the window tests)" >&2
    exit 77
  fi
done
if ! xvfb-run -a -s '-nolisten tcp' true >/dev/null 2>&1; then
  echo "FAIL: Xvfb cannot be started here" >&2
  exit 77
fi

T=$(mktemp -d /tmp/orvela-gui.XXXXXX)
trap 'rm -rf "$T"' EXIT
mkdir -m 700 -p "$T/home" "$T/run"
export HOME="$T/home" XDG_RUNTIME_DIR="$T/run" XDG_CONFIG_HOME="$T/home/.config"
export XDG_CACHE_HOME="$T/home/.cache" XDG_DATA_HOME="$T/home/.local/share"
export LANG=C.UTF-8 GSETTINGS_BACKEND=memory
# The accessibility bridge must load: that is what the tests look at.
unset DBUS_SESSION_BUS_ADDRESS NO_AT_BRIDGE

cat > "$T/inner.sh" <<'IN'
#!/bin/bash
openbox --sm-disable >/dev/null 2>&1 &
WM=$!
"$@"
rc=$?
kill $WM 2>/dev/null
wait $WM 2>/dev/null
exit $rc
IN
chmod +x "$T/inner.sh"
dbus-run-session -- xvfb-run -a -s '-screen 0 1280x1024x24 -nolisten tcp' "$T/inner.sh" "$@"
