#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the README's screenshots in a private X server: docs/*.png
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null
exec scripts/with-test-services.sh build/tools/screenshots "$PWD/docs"
