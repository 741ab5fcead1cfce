#!/usr/bin/env bash
# Builds Velmoro and starts it. A fresh Archivio.xls is placed next to the program only when
# none is there; an existing archive is never touched by the build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j2 --target velmoro-program
exec build/bin/velmoro
