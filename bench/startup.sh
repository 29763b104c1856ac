#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints start-up time, resident memory and idle CPU share of the built program,
# in a private X server and sound server, then with no sound server at all.
# Usage: bench/startup.sh [runs] [idle seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null
scripts/with-test-services.sh build/bench/bench_startup "${1:-7}" "${2:-10}"
echo "Without a sound server (the mixer's message box stays up):"
exec scripts/with-test-services.sh env PULSE_SERVER=unix:/nonexistent/native \
    build/bench/bench_startup "${1:-7}" "${2:-10}"
