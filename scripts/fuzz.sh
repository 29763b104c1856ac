#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Option.dat fuzzer with clang and -D_GLIBCXX_ASSERTIONS and runs it for the
# given seconds (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/install-deps.sh clang
# Bounds-checked standard containers, as several distributions build them: a
# read past the end aborts instead of passing unseen.
CXX=clang++ cmake -S . -B build-fuzz -DZUBELO_FUZZ=ON -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS >/dev/null
cmake --build build-fuzz -j2 --target fuzz_options
mkdir -p build-fuzz/corpus
cp -n tests/data/Option-sample.dat build-fuzz/corpus/ 2>/dev/null || true
build-fuzz/fuzz/fuzz_options -max_total_time="$seconds" -max_len=65536 build-fuzz/corpus
