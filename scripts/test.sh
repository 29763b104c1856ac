#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs every test: unit, widget and system.
# Pass ctest options to pick a layer, e.g. scripts/test.sh -L unit
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-format.sh
scripts/test-size.sh
scripts/build.sh
exec scripts/with-test-services.sh ctest --test-dir build --output-on-failure "$@"
