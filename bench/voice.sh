#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints the time from 停止 to a playable take and the key's field filled, for
# takes of nearly ten seconds, with a private sound server. Usage: bench/voice.sh [takes]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null
cd build
exec ../scripts/with-test-services.sh bench/bench_voice "${1:-3}"
