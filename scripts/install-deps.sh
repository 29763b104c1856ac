#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages Zubelo needs to build, run and be tested.
# Idempotent: when everything is present it only checks, in about a second.
# Packages given as arguments are needed too (scripts/fuzz.sh asks for clang).
set -euo pipefail

packages=(
    # build
    g++ make cmake pkg-config clang-format
    qt6-base-dev qt6-qpa-plugins qt6-svg-dev libgl-dev libx11-dev libxcb1-dev
    libfluidsynth-dev libsndfile1-dev libsdl2-dev libasound2-dev
    # Wayland: the compositor's shortcut inhibitor and pointer confinement, Qt's Wayland platform
    libwayland-dev libwayland-bin wayland-protocols qt6-wayland-dev qt6-wayland qt6-base-private-dev libxkbcommon-dev
    # benchmarks: damage events and synthetic input from the X server
    libxcb-damage0-dev libxcb-xtest0-dev
    # the starter songs: ABC notation into MIDI at build time
    abcmidi
    # run: Japanese fonts and a General MIDI sound font
    fonts-ipafont-gothic timgm6mb-soundfont
    # the Debian package and the desktop's validators of its menu entry and metainfo
    dpkg-dev file desktop-file-utils appstream
    # tests: a real X server, real input, a real sound server
    xvfb xdotool x11-utils openbox pulseaudio pulseaudio-utils libpulse-dev libasound2-plugins alsa-utils
    # tests: a headless Wayland compositor and keys for it
    sway wtype
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [ "$status" = "installed" ] || missing+=("$package")
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
