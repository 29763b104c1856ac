#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test that mounts small file systems of its own (full disks, read-only ones). Root runs
# it as it is; an ordinary user runs it as the root of a user namespace of its own, where such
# mounts are allowed (Debian lets ordinary users make one).
if [ "$(id -u)" -ne 0 ] && unshare --map-root-user --mount true 2>/dev/null; then
    exec unshare --map-root-user --mount "$@"
fi
exec "$@"
