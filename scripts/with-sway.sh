#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command beside a private headless sway (a Wayland compositor with no
# screen and no input devices of its own), then stops it, also when the command
# fails or is interrupted. The command gets WAYLAND_DISPLAY (a full path) and
# SWAYSOCK; sway's own key bindings mark the focused window (marks "super" for
# Super+Return, "alttab" for Alt+Tab and for AltGr+Tab, which is what wtype's
# "alt" sends), so that a test sees whether a key reached the compositor.
# sway will not run as root: then it runs as nobody.
set -euo pipefail

work=$(mktemp -d /tmp/zubelo-sway.XXXXXX)
sway_pid="" keyboard_pid=""
# Both end by SIGTERM, which is no failure of the command's.
cleanup() {
    status=$?
    for pid in $keyboard_pid $sway_pid; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

chmod 755 "$work"
mkdir -m 700 "$work/run"
cat >"$work/config" <<'CONFIG'
output * resolution 1280x800
bindsym Mod4+Return mark --add super
bindsym Mod1+Tab mark --add alttab
bindsym Mod5+Tab mark --add alttab
CONFIG
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    chown nobody "$work/run"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
env -i PATH="$PATH" HOME="$work" XDG_RUNTIME_DIR="$work/run" WLR_BACKENDS=headless \
    WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    "${as_user[@]}" sway -c "$work/config" >"$work/sway.log" 2>&1 &
sway_pid=$!
for _ in $(seq 200); do
    socket=$(find "$work/run" -maxdepth 1 -name 'wayland-*' -type s | head -n1)
    ipc=$(find "$work/run" -maxdepth 1 -name 'sway-ipc.*' -type s | head -n1)
    [ -n "$socket" ] && [ -n "$ipc" ] && break
    kill -0 "$sway_pid" 2>/dev/null || break
    sleep 0.05
done
[ -n "$socket" ] && [ -n "$ipc" ] || { echo "sway did not start:"; cat "$work/sway.log"; exit 1; }
export WAYLAND_DISPLAY="$socket" SWAYSOCK="$ipc"

# A keyboard that stays: each wtype brings a keyboard of its own and takes it away
# again, and a seat without a keyboard has clients drop theirs, with the first
# keys of the next wtype lost while they make a new one.
# Its keymap has the number row of a US keyboard at the usual key codes (wtype
# gives its n-th key the code n, on the wire), Esc to "=".
wtype -s 4000000 -k Escape -k 1 -k 2 -k 3 -k 4 -k 5 -k 6 -k 7 -k 8 -k 9 -k 0 -k minus -k equal &
keyboard_pid=$!
for _ in $(seq 200); do
    swaymsg -t get_seats | grep -q '"capabilities": [^0]' && break
    sleep 0.05
done

"$@"
