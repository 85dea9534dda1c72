#!/usr/bin/env bash
# Installs the build into a scratch prefix the way a packager or a user with
# `cmake --install` does, checks what a desktop reads (launcher, AppStream
# description, man page) with the distribution's own validators, and runs the
# installed program once in console mode as a user whose home is a scratch
# folder: it must find its data under the prefix and keep its state in the
# XDG folders, never beside the program.
# Usage: installed_program.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1
build=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

"$cmake" --install "$build" --prefix "$prefix" >"$scratch/install.log" || {
  cat "$scratch/install.log" >&2
  fail "cmake --install"
}

assets=$prefix/share/orvela
for f in bin/orvela share/orvela/osm.rules share/orvela/sounds.ini share/orvela/lang/pl.orvela.mo \
  share/orvela/maps/nowhere-cove.orvel share/orvela/help.en.html share/orvela/help.pl.html \
  share/applications/org.orvela.Orvela.desktop share/metainfo/org.orvela.Orvela.metainfo.xml \
  share/icons/hicolor/scalable/apps/org.orvela.Orvela.svg share/man/man1/orvela.1; do
  [ -f "$prefix/$f" ] || fail "not installed: $f"
done
ls "$assets"/sounds/*.wav >/dev/null || fail "no sounds installed"
# The fixed-size icons are PNG pictures of the size their folder names.
for size in 48 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/org.orvela.Orvela.png
  got=$(python3 -c 'import struct, sys
d = open(sys.argv[1], "rb").read(24)
print("%dx%d" % struct.unpack(">II", d[16:24]) if d[:8] == b"\x89PNG\r\n\x1a\n" else "no PNG")' "$png") ||
    fail "not installed: $png"
  [ "$got" = "${size}x${size}" ] || fail "$png is $got"
done
[ -x "$prefix/bin/orvela" ] || fail "the program is not executable"

desktop-file-validate "$prefix/share/applications/org.orvela.Orvela.desktop" ||
  fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/org.orvela.Orvela.metainfo.xml" ||
  fail "appstreamcli validate"

# The man page renders without warnings, has its sections, and documents
# every option the program's own --help lists.
man_text=$(MANWIDTH=100 LC_ALL=C.UTF-8 man --warnings -l "$prefix/share/man/man1/orvela.1" 2>"$scratch/man.err")
[ ! -s "$scratch/man.err" ] || { cat "$scratch/man.err" >&2; fail "man page warnings"; }
for section in NAME SYNOPSIS OPTIONS FILES; do
  grep -q "^$section\$" <<<"$man_text" || fail "man page has no $section section"
done
help=$(ASAN_OPTIONS=detect_leaks=0 "$prefix/bin/orvela" --help)
for option in $(grep -o -- '--[a-z]*' <<<"$help" | sort -u); do
  grep -q -- "$option" <<<"$man_text" || fail "man page misses $option"
done

# A user of the installed program: nothing but HOME and the XDG folders.
user=$scratch/user
mkdir -p "$user"
export HOME=$user XDG_CONFIG_HOME=$user/config XDG_DATA_HOME=$user/data XDG_CACHE_HOME=$user/cache
listing() { find "$prefix" -printf '%p %s %T@\n' | sort; }
listing >"$scratch/before"
run() {
  "$prefix/bin/orvela" --console "$@" <"$scratch/script" >"$scratch/out" 2>"$scratch/err" || {
    cat "$scratch/err" >&2
    fail "the installed program failed"
  }
}
expect() {
  grep -qxF -- "$1" "$scratch/out" || {
    cat "$scratch/out" "$scratch/err" >&2
    fail "the installed program did not print: $1"
  }
}
printf '%s\n' IDM_SAYILEV Ctrl+O 1 :cancel Ctrl+G '-29.998312 -139.997464' F1 IDM_SAVESTARTPOS y \
  >"$scratch/script"
run --lang en
expect "SAY One square 10 metres."
expect "TITLE Orvela nowhere-cove"
expect "SAY fountain Cove Fountain"
expect "OPEN $assets/help.en.html"

# Polish from the installed catalogue, and its own manual; the map opens where
# the first run saved the position.
printf '%s\n' F1 >"$scratch/script"
run --lang pl
expect "OPEN $assets/help.pl.html"
expect "TITLE Orvela nowhere-cove"

for f in config/orvela/orvela.ini data/orvela/maps/nowhere-cove.orvel data/orvela/orvela.start; do
  [ -f "$user/$f" ] || fail "no $f in the XDG folders"
done
[ -d "$user/cache/orvela/tmp" ] || fail "no temporary folder in XDG_CACHE_HOME"
listing >"$scratch/after"
diff "$scratch/before" "$scratch/after" >&2 || fail "the program wrote beside itself"
echo "installed program OK"
