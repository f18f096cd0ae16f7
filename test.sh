#!/usr/bin/env bash
# Installs what is missing, builds the program, its tests and benchmarks, and runs every test
# through CTest.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
ensure_packages "${TANABASHIGO_TEST_PACKAGES[@]}"
export TANABASHIGO_CMAKE_ARGS="-DBUILD_TESTING=ON -DTANABASHIGO_BENCH=ON ${TANABASHIGO_CMAKE_ARGS:-}"
build_project "${TANABASHIGO_BUILD_DIR:-build}"
ctest --test-dir "${TANABASHIGO_BUILD_DIR:-build}" --output-on-failure --parallel "$(nproc)"
