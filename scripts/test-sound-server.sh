#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts or stops the private PulseAudio daemon of scripts/with-test-services.sh,
# always with the same command line and socket, so that a test can take the
# sound server away and bring it back: test-sound-server.sh start|stop
# Needs the environment with-test-services.sh exports (ZUBELO_TEST_SERVICES,
# XDG_RUNTIME_DIR, PULSE_SERVER).
set -euo pipefail
work=${ZUBELO_TEST_SERVICES:?not inside scripts/with-test-services.sh}

stop_pid() { # pid file: the process ends before this returns
    local pid
    pid=$(cat "$1" 2>/dev/null) || return 0
    kill "$pid" 2>/dev/null || true
    while kill -0 "$pid" 2>/dev/null; do sleep 0.02; done
    rm -f "$1"
}

case "${1:-}" in
start)
    [ -e "$work/pulse.pid" ] && exit 0
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
        -L "module-native-protocol-unix socket=$XDG_RUNTIME_DIR/pulse/native auth-anonymous=1" \
        -L "module-null-sink sink_name=zubelo_sink rate=48000" \
        </dev/null >>"$work/pulse.log" 2>&1 &
    echo $! >"$work/pulse.pid"
    for _ in $(seq 200); do
        pactl info >/dev/null 2>&1 && break
        sleep 0.05
    done
    pactl info >/dev/null 2>&1 || { echo "PulseAudio did not start:"; cat "$work/pulse.log"; exit 1; }
    # A null sink keeps the pace of its slowest reader. A quiet stream with a short
    # latency makes it run like a sound card, so its monitor delivers sound promptly.
    pacat --playback --latency-msec=10 --format=s16le --rate=48000 --channels=2 \
        --client-name=zubelo-test-pacer </dev/zero >/dev/null 2>&1 &
    echo $! >"$work/pacer.pid"
    ;;
stop)
    stop_pid "$work/pacer.pid"
    stop_pid "$work/pulse.pid"
    ;;
*)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
