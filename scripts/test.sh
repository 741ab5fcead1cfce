#!/usr/bin/env bash
# Builds everything and runs every test: the whole suite, a bounded fuzzing run of the reader,
# then the suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j2
(cd build && ctest --output-on-failure -j2)

fuzz/xls/run.sh 60

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVELMORO_SANITIZE=ON >/dev/null
cmake --build build-asan -j2
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j2 -LE libreoffice)

