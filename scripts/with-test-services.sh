#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command with a private X server (Xvfb on a free display) and a private
# PulseAudio daemon whose only output is a null sink, then stops both, also
# when the command fails or is interrupted.
set -euo pipefail

work=$(mktemp -d /tmp/zubelo-services.XXXXXX)
# The sound server starts and stops through this script, which tests may call too.
sound_server="$(cd "$(dirname "$0")" && pwd)/test-sound-server.sh"
export ZUBELO_TEST_SERVICES="$work" ZUBELO_TEST_SOUND_SERVER="$sound_server"
xvfb_pid=""
cleanup() {
    "$sound_server" stop || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xvfb picks a free display itself and writes its number to fd 3.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
[ -s "$work/display" ] || { echo "Xvfb did not start:"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

mkdir -p "$work/run/pulse" "$work/home"
chmod 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run" HOME="$work/home"
export PULSE_SERVER="unix:$work/run/pulse/native"
"$sound_server" start
export ZUBELO_TEST_SINK=zubelo_sink

"$@"
