#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
ensure_packages
build_project "${TANABASHIGO_BUILD_DIR:-build}"
ctest --test-dir "${TANABASHIGO_BUILD_DIR:-build}" --output-on-failure --parallel "$(nproc)"
