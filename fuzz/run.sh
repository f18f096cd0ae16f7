#!/usr/bin/env bash
# Builds the rung-count reader's fuzz target with clang and runs it for a fixed number of
# inputs from the seed corpus. The corpus is copied to a scratch folder: the tree stays clean.
# Usage: fuzz/run.sh [RUNS]   (default 5000000; a 60 s cap stops it earlier on a slow machine)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
runs=${1:-5000000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Inputs that break a check are kept here, outside the scratch folder.
artifacts=${TANABASHIGO_FUZZ_ARTIFACTS:-$root/build-fuzz}
mkdir -p "$artifacts"

clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I "$root/engine" "$here/fuzz_rung_count_reader.cpp" "$root/engine/rung_count_reader.cpp" \
    -o "$work/fuzz_rung_count_reader"
cp -r "$here/corpus" "$work/corpus"
cd "$work"
status=0
./fuzz_rung_count_reader -runs="$runs" -max_total_time=60 -max_len=64 -seed=1 \
    -dict="$here/rung_count.dict" -artifact_prefix="$artifacts/" corpus >fuzz.log 2>&1 || status=$?
if ((status != 0)); then
    tail -n 40 fuzz.log
    echo "fuzz/run.sh: the failing input is kept in $artifacts" >&2
    exit "$status"
fi
grep -E 'INITED|DONE|^Done' fuzz.log
