#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints key-to-screen and key-to-sound latency, burst handling time and a long
# mashing run's slowest response and memory, and a parent's hot key to its dialog,
# with a private X and sound server.
# Usage: bench/play.sh [mashing seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null
exec scripts/with-test-services.sh build/bench/bench_play "${1:-60}"
