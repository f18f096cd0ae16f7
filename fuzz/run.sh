#!/usr/bin/env bash
# Builds the fuzz targets (the rung-count reader and the record file reader) with clang and
# runs each for a fixed number of inputs from its seed corpus. Corpora are copied to a scratch
# folder: the tree stays clean.
# Usage: fuzz/run.sh [RUNS]   (default 5000000; a 60 s cap per target stops it earlier)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
runs=${1:-5000000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Inputs that break a check are kept here, outside the scratch folder.
artifacts=${TANABASHIGO_FUZZ_ARTIFACTS:-$root/build-fuzz}
mkdir -p "$artifacts"

# fuzz_target NAME CORPUS DICT MAX_LEN SOURCES...
fuzz_target() {
    local name=$1 corpus=$2 dict=$3 max_len=$4
    shift 4
    echo "fuzz/run.sh: building and running $name"
    clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
        -I "$root/engine" -I "$root/record" -I "$root/analysis" "$here/$name.cpp" "$@" -o "$work/$name"
    cp -r "$here/$corpus" "$work/$corpus"
    local status=0
    (cd "$work" && "./$name" -runs="$runs" -max_total_time=60 -max_len="$max_len" -seed=1 \
        -dict="$here/$dict" -artifact_prefix="$artifacts/" "$corpus" >"$name.log" 2>&1) ||
        status=$?
    if ((status != 0)); then
        tail -n 40 "$work/$name.log"
        echo "fuzz/run.sh: the failing input of $name is kept in $artifacts" >&2
        exit "$status"
    fi
    grep -E 'INITED|DONE|^Done' "$work/$name.log"
}

fuzz_target fuzz_rung_count_reader corpus rung_count.dict 64 \
    "$root/engine/rung_count_reader.cpp"
fuzz_target fuzz_record_file record_corpus record_file.dict 4096 \
    "$root/record/record_reader.cpp" "$root/record/record_line.cpp" "$root/engine/plain_number.cpp"
