#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints the size of the tests against the program's own sources and fails when
# the tests grow past 40 % of the program. Lines are counted without blank lines
# and without lines that hold only a comment; the tests count with their helpers
# and the system-test harness.
set -euo pipefail
cd "$(dirname "$0")/.."

limit_percent=40

# The files git tracks under the given folders; outside a git checkout (a release
# tarball) every file there.
list_files() {
    if git ls-files --error-unmatch scripts/test-size.sh >/dev/null 2>&1; then
        git ls-files -- "$@"
    else
        find "$@" -type f
    fi
}

count_lines() {
    # Sources under the given folders; C++ and test scripts.
    list_files "$@" | grep -E '\.(cpp|h|sh|py)$' | while read -r file; do
        cat "$file"
        echo
    done | grep -Ev '^[[:space:]]*($|//|#[^a-z!]|#$|/?\*)' | wc -l
}

program=$(count_lines app settings media dialogs platform tools)
tests=$(count_lines tests)
percent=$((tests * 100 / program))

echo "Test size: ${tests} test lines against ${program} program lines (${percent} %, at most ${limit_percent} %)"
if ((tests * 100 > program * limit_percent)); then
    echo "The tests have outgrown the program: make them leaner before adding more." >&2
    exit 1
fi
