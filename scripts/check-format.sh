#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a C++ file of the project is not formatted as .clang-format says.
# Fix with: git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
# The files git tracks; outside a git checkout (a release tarball) every one in the tree.
if git ls-files --error-unmatch scripts/check-format.sh >/dev/null 2>&1; then
    git ls-files -z '*.cpp' '*.h'
else
    find . -path ./build -prune -o -path './build-*' -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print0
fi | xargs -0 clang-format --dry-run -Werror
