#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command with a private X server (Xvfb on a free display) and a private
# PulseAudio daemon whose only output is a null sink, then stops both, also
# when the command fails or is interrupted.
set -euo pipefail

work=$(mktemp -d /tmp/zubelo-services.XXXXXX)
xvfb_pid=""
pulse_pid=""
pacer_pid=""
cleanup() {
    [ -n "$pacer_pid" ] && kill "$pacer_pid" 2>/dev/null && wait "$pacer_pid" 2>/dev/null
    [ -n "$pulse_pid" ] && kill "$pulse_pid" 2>/dev/null && wait "$pulse_pid" 2>/dev/null
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
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    -L "module-native-protocol-unix socket=$work/run/pulse/native auth-anonymous=1" \
    -L "module-null-sink sink_name=zubelo_sink rate=48000" \
    >"$work/pulse.log" 2>&1 &
pulse_pid=$!
for _ in $(seq 100); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.05
done
pactl info >/dev/null 2>&1 || { echo "PulseAudio did not start:"; cat "$work/pulse.log"; exit 1; }
export ZUBELO_TEST_SINK=zubelo_sink

# A null sink keeps the pace of its slowest reader. A quiet stream with a short
# latency makes it run like a sound card, so its monitor delivers sound promptly.
pacat --playback --latency-msec=10 --format=s16le --rate=48000 --channels=2 \
    --client-name=zubelo-test-pacer </dev/zero >/dev/null 2>&1 &
pacer_pid=$!

"$@"
