#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints song latency, CPU share, WAVE opening time and memory under key mashing,
# with a private sound server. Usage: bench/audio.sh [plays]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null
exec scripts/with-test-services.sh build/bench/bench_audio "${1:-40}"
