#!/usr/bin/env bash
# Measures the reliability figures and prints them as a markdown table, each beside its
# reference from the same run. Uses Xvfb when it is installed, else the offscreen platform.
# Usage: bench/measure.sh [BUILD_DIR]   (default build-rel, configured as Release if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-rel}
if [[ ! -x $build/bench/bench_window_figures || ! -x $build/bench/bench_bare_window ]]; then
    cmake -S . -B "$build" -Wno-dev -DCMAKE_BUILD_TYPE=Release -DTANABASHIGO_BENCH=ON >/dev/null
    cmake --build "$build" --parallel "$(nproc)" --target bench_window_figures bench_bare_window
fi
probe=$build/bench/bench_window_figures
bare=$build/bench/bench_bare_window

if command -v Xvfb >/dev/null; then
    n=90
    while [[ -e /tmp/.X$n-lock ]]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    trap 'kill "$xvfb"' EXIT
    for ((i = 0; i < 50; i++)); do
        [[ -S /tmp/.X11-unix/X$n ]] && break
        sleep 0.1
    done
    export DISPLAY=:$n QT_QPA_PLATFORM=xcb
    platform="Xvfb (xcb)"
else
    export QT_QPA_PLATFORM=offscreen
    platform=offscreen
fi
export QT_LOGGING_RULES="*.warning=false"

# Runs a measurement; stops the script with its name when it fails.
measure() { "$@" 2>/dev/null || { echo "measure.sh: '$*' failed" >&2; exit 1; }; }
# The value of key $1 in the key=value lines on stdin.
value() { sed -n "s/^$1=//p" | tail -n 1; }
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

runs=5
startup_app=() rss_app=() startup_bare=() rss_bare=()
"$probe" startup "$(date +%s%N)" >/dev/null 2>&1 || true # warm the file cache
"$bare" "$(date +%s%N)" >/dev/null 2>&1 || true
for ((i = 0; i < runs; i++)); do
    out=$(measure "$probe" startup "$(date +%s%N)")
    startup_app+=("$(value startup_ms <<<"$out")")
    rss_app+=("$(value rss_kib <<<"$out")")
    out=$(measure "$bare" "$(date +%s%N)")
    startup_bare+=("$(value startup_ms <<<"$out")")
    rss_bare+=("$(value rss_kib <<<"$out")")
done
m() { printf '%s\n' "$@" | median; }
mib() { awk -v k="$1" 'BEGIN {printf "%.1f MiB", k / 1024}'; }

cadence10=$(measure "$probe" cadence 10 25)
cadence50=$(measure "$probe" cadence 50 25)
idle_app=$(measure "$probe" idle 3)
idle_bare=$(measure "$bare" "$(date +%s%N)" 3)

echo "Measured on $(nproc) cores, $platform, $(date +%F)."
echo
echo "| Figure | tanabashigo | Reference (same run) |"
echo "|---|---|---|"
echo "| Start-up to the first prompt (median of $runs) | $(m "${startup_app[@]}") ms | bare Qt window to its first paint: $(m "${startup_bare[@]}") ms |"
echo "| Resident memory at that moment (median of $runs) | $(mib "$(m "${rss_app[@]}")") | bare Qt window: $(mib "$(m "${rss_bare[@]}")") |"
for out in "$cadence10" "$cadence50"; do
    echo "| Trial cadence at $(value rungs <<<"$out") rungs, $(value trials <<<"$out") trials: wall time / (ticks × 3 ms) | $(value cadence_ratio <<<"$out") ($(value wall_ms <<<"$out") ms for $(value ticks <<<"$out") ticks) | 1.000 (ideal ticks) |"
done
echo "| CPU while idle between trials, 3 s, next-trial timer armed ($(value next_trial_armed <<<"$idle_app")) | $(value idle_cpu_percent <<<"$idle_app") % | bare Qt window idle: $(value idle_cpu_percent <<<"$idle_bare") % |"
