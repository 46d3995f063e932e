#!/usr/bin/env bash
# Installs what Skribando needs on Debian 12: what building and running it need, and with
# --tests also what its tests need (the end-to-end tests' X tools and window manager, a print
# server, the fuzzing compiler). Safe to run again: packages already present are left alone.
# Usage: scripts/setup.sh [--tests]
set -euo pipefail

# Building and running: the compiler, Qt (with its Wayland client plugin), the image
# libraries, the X libraries the screen grab uses, the fonts the palette draws with, and Xvfb
# for machines without a display.
packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-wayland qt6-translations-l10n libgl-dev
    libpng-dev zlib1g-dev libjpeg-dev
    libxcb1-dev libxcb-shm0-dev libx11-dev
    fonts-liberation2 fonts-dejavu-core
    xvfb
)

# What the tests and the benchmarks add (a headless Wayland desktop among them: sway, the
# portals, grim, wtype; flameshot for the ux benchmark's comparison).
test_packages=(
    libgtest-dev libgmock-dev
    xdotool x11-utils x11-xserver-utils xclip imagemagick poppler-utils openbox wmctrl
    metacity xfwm4 icewm dbus-daemon
    libxcb-xtest0-dev flameshot
    cups cups-bsd printer-driver-cups-pdf
    sway swaybg xwayland grim wtype libwayland-dev pipewire dbus-daemon dbus-bin libglib2.0-bin
    xdg-desktop-portal xdg-desktop-portal-wlr xdg-desktop-portal-gtk
    clang libclang-rt-14-dev llvm-14
    dpkg-dev file appstream desktop-file-utils groff-base
)

case "${1:-}" in
    --tests) packages+=("${test_packages[@]}") ;;
    "") ;;
    *) echo "usage: $0 [--tests]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
