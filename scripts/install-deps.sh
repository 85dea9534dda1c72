#!/usr/bin/env bash
# Installs every Debian 12 package Orvela needs to build, run and test.
# Idempotent: packages already present are skipped, and apt-get update runs
# only when something is missing. Run as root (or through sudo).
set -euo pipefail

PACKAGES=(
  # toolchain
  build-essential cmake pkg-config git ca-certificates clang-format
  # libraries of the program
  libsqlite3-dev sqlite3
  libwxgtk3.2-dev libgtk-3-dev
  libspeechd-dev
  libopenal-dev libopenal-data
  libcurl4-openssl-dev
  libarchive-dev
  libosmium2-dev libprotozero-dev zlib1g-dev libbz2-dev libexpat1-dev liblz4-dev
  libfmt-dev
  gettext
  # tests and benchmarks; clang with its sanitizer and libFuzzer runtimes
  # for the fuzz targets
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libcpp-httplib-dev
  clang libclang-rt-14-dev
  locales
  python3
  # headless window, accessibility and speech tests
  xvfb xauth xdotool openbox dbus at-spi2-core libatk-adaptor python3-pyatspi imagemagick
  speech-dispatcher
  # the screen reader, for the test that listens through it
  orca
  # archives for the map-installation tests
  7zip bzip2
  # validators of the installed launcher, AppStream file and man page
  desktop-file-utils appstream man-db groff-base
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# A locale with "," as the decimal point, for the locale-independence tests.
if ! locale -a 2>/dev/null | grep -qi '^pl_PL\.utf8$'; then
  if [ -f /etc/locale.gen ]; then
    $SUDO sed -i 's/^# *pl_PL.UTF-8 UTF-8/pl_PL.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^pl_PL.UTF-8 UTF-8' /etc/locale.gen || echo 'pl_PL.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
  fi
fi
