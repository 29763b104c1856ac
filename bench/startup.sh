#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints start-up time, resident memory and idle CPU share of the built program,
# in a private X server and sound server. Usage: bench/startup.sh [runs] [idle seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null
exec scripts/with-test-services.sh build/bench/bench_startup "${1:-7}" "${2:-10}"
