#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package build/zubelo_<version>_amd64.deb from the build tree.
# Install it with: sudo apt install ./build/zubelo_*_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
cd build
cpack --config CPackConfig.cmake
ls "$PWD"/zubelo_*_amd64.deb
