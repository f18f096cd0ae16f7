#!/usr/bin/env bash
# Installs what is missing, builds the program, its tests and benchmarks, and the browser
# edition, and runs every test through CTest, the browser tests included. TANABASHIGO_WEB=0
# leaves the browser edition out.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
dir=${TANABASHIGO_BUILD_DIR:-build}
ensure_packages "${TANABASHIGO_TEST_PACKAGES[@]}"
web_page=
if [[ ${TANABASHIGO_WEB:-1} != 0 ]]; then
    ensure_web_packages
    install_missing "${TANABASHIGO_WEB_TEST_PACKAGES[@]}"
    build_web "$dir/web"
    web_page=$PWD/$dir/web/tanabashigo.html
fi
export TANABASHIGO_CMAKE_ARGS="-DBUILD_TESTING=ON -DTANABASHIGO_BENCH=ON -DTANABASHIGO_WEB_PAGE=$web_page ${TANABASHIGO_CMAKE_ARGS:-}"
build_project "$dir"
if ! ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)"; then
    echo "tanabashigo: 失敗しました / failed: the tests above; 記録のすべて / the whole log: $PWD/$dir/Testing/Temporary/LastTest.log" >&2
    exit 1
fi
