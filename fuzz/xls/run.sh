#!/usr/bin/env bash
# Builds the .xls fuzz target with clang in its own build folder and fuzzes it for a bounded
# time: run.sh [SECONDS] (default 60). Exits non-zero when the fuzzer finds a crash, a leak,
# a hang or runs out of memory; the input that did it is left in fuzz/xls/crashes/.
set -euo pipefail
seconds=${1:-60}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${VELMORO_FUZZ_BUILD:-$root/build-fuzz}

cmake -S "$root" -B "$build" -G "Unix Makefiles" -DVELMORO_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target xls_fuzz

# New inputs go to a scratch folder so the committed corpus stays small.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$here/crashes"
"$build/bin/xls_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
  -print_final_stats=1 -artifact_prefix="$here/crashes/" "$work" "$here/corpus"
