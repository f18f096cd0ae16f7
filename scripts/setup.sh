# Shared by run.sh and test.sh: install what is missing, then configure and build.
# Source it; it defines functions only.

# Debian packages that building and running the program need.
TANABASHIGO_PACKAGES=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-multimedia-dev qt6-svg-dev qt6-qpa-plugins
    fonts-ipafont-gothic qt6-translations-l10n
    libboost-dev
)

# What the tests and the benchmarks need besides.
TANABASHIGO_TEST_PACKAGES=(
    desktop-file-utils appstream poppler-utils
    libbenchmark-dev
)

# Tells a user without root how to install the packages, in both languages.
explain_root_needed() {
    cat >&2 <<MESSAGE
tanabashigo: 必要なパッケージを入れるには管理者（root）の権限が要ります。
root で次のコマンドを実行してから、もう一度起動してください。
tanabashigo: installing the packages it needs takes root. Run this command as root, then
start again:

    apt-get update && apt-get install -y --no-install-recommends $*

MESSAGE
}

# What building the browser edition needs: the C++ engine compiled to WebAssembly (Node.js
# with npm, for the page's TypeScript, comes from Debian only where the machine has none).
TANABASHIGO_WEB_PACKAGES=(emscripten libboost-dev)

# What the browser tests need besides: Chromium, and WebKit (the engine of iPad Safari) under
# a virtual X server.
TANABASHIGO_WEB_TEST_PACKAGES=(chromium python3-gi gir1.2-webkit2-4.1 xvfb xauth)

# Installs TANABASHIGO_PACKAGES and the packages given that are not installed yet; silent
# when nothing is missing. Without root or sudo it says what to run as root and exits 1.
ensure_packages() {
    install_missing "${TANABASHIGO_PACKAGES[@]}" "$@"
}

# Installs the packages given that are not installed yet, and nothing else.
install_missing() {
    local missing=() pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    ((${#missing[@]})) || return 0
    local sudo=()
    if ((EUID != 0)); then
        if ! command -v sudo >/dev/null; then
            explain_root_needed "${missing[@]}"
            exit 1
        fi
        sudo=(sudo)
    fi
    echo "パッケージを入れています / Installing packages: ${missing[*]}" >&2
    local log
    log=$(mktemp "${TMPDIR:-/tmp}/tanabashigo-apt.XXXXXX.log")
    if ! "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq >"$log" 2>&1 ||
        ! "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
            apt-get install -y -qq --no-install-recommends "${missing[@]}" >>"$log" 2>&1; then
        report_failure "installing ${missing[*]}" "$log"
        ((EUID == 0)) || explain_root_needed "${missing[@]}"
        exit 1
    fi
    rm -f "$log"
}

# Says on stderr why a step failed: the lines of its log that tell (those matching the
# pattern given, else the last ones), then one line naming the step and the whole log.
report_failure() {
    local step=$1 log=$2 pattern=${3:-}
    {
        if [[ -n $pattern ]] && grep -q -E "$pattern" "$log"; then
            grep -E -B2 -A12 "$pattern" "$log" | head -n 120
        else
            tail -n 40 "$log"
        fi
        echo "tanabashigo: 失敗しました / failed: $step; 記録のすべて / the whole log: $log"
    } >&2
}

# Configures and builds into $1 (only the targets named after it, if any), quietly: the logs
# are shown, on stderr, only when a step fails. Extra CMake options come from TANABASHIGO_CMAKE_ARGS.
build_project() {
    local dir=$1 targets=()
    shift
    (($#)) && targets=(--target "$@")
    mkdir -p "$dir"
    # shellcheck disable=SC2086
    if ! cmake -S . -B "$dir" -Wno-dev ${TANABASHIGO_CMAKE_ARGS:-} >"$dir/configure.log" 2>&1; then
        report_failure "configuring the build" "$PWD/$dir/configure.log"
        return 1
    fi
    if ! cmake --build "$dir" --parallel "$(nproc)" "${targets[@]}" >"$dir/build.log" 2>&1; then
        report_failure "the build" "$PWD/$dir/build.log" 'error|Error'
        return 1
    fi
}

# Installs what building the browser edition needs.
ensure_web_packages() {
    install_missing "${TANABASHIGO_WEB_PACKAGES[@]}"
    command -v npm >/dev/null || install_missing nodejs npm
}

# Builds the browser edition into $1: the engine with emscripten, then the one HTML file.
# Silent when it works; when a step fails, says why on stderr and returns 1.
build_web() {
    local dir=$1
    mkdir -p "$dir"
    # Refuses, with npm's own reason, any locked package that does not run on this Node.
    if ! (cd web && npm ci --engine-strict --no-audit --no-fund) >"$dir/npm.log" 2>&1; then
        report_failure "the browser edition's npm ci (Node $(node --version 2>/dev/null))" \
            "$(realpath "$dir/npm.log")"
        return 1
    fi
    # Boost's headers alone: the whole of /usr/include would bring glibc's headers in.
    mkdir -p "$dir/boost-include"
    ln -sfn /usr/include/boost "$dir/boost-include/boost"
    # Debian's emscripten finds its JavaScript tools among Debian's node modules.
    if ! NODE_PATH=/usr/share/nodejs em++ -O3 -std=c++20 -Wall -Wextra -Werror --bind \
        -sSINGLE_FILE=1 -sMODULARIZE=1 -sEXPORT_NAME=createEngine -sENVIRONMENT=web,worker \
        -sALLOW_MEMORY_GROWTH=1 -Iengine -Irecord -Ianalysis -Icharts -Itheory -isystem "$dir/boost-include" \
        web/*.cpp engine/*.cpp record/*.cpp analysis/*.cpp charts/*.cpp theory/*.cpp -o "$dir/engine.js" >"$dir/emcc.log" 2>&1; then
        report_failure "the browser edition's em++" "$(realpath "$dir/emcc.log")" 'error'
        return 1
    fi
    # The workers' simulation alone with WebAssembly SIMD; browsers without SIMD run the engine's.
    if ! NODE_PATH=/usr/share/nodejs em++ -O3 -msimd128 -std=c++20 -Wall -Wextra -Werror --bind \
        -sSINGLE_FILE=1 -sMODULARIZE=1 -sEXPORT_NAME=createEngine -sENVIRONMENT=web,worker \
        -Iengine -Ianalysis web/simulation_bindings.cpp analysis/rung_sampler.cpp \
        analysis/landing_simulation.cpp -o "$dir/simulation.js" >"$dir/emcc-simd.log" 2>&1; then
        report_failure "the browser edition's em++ for SIMD" "$(realpath "$dir/emcc-simd.log")" 'error'
        return 1
    fi
    if ! node web/build.mjs "$dir/engine.js" "$dir/tanabashigo.html" "$dir/simulation.js" >"$dir/page.log" 2>&1; then
        report_failure "the browser edition's page" "$(realpath "$dir/page.log")"
        return 1
    fi
}
