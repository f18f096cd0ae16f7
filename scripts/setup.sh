# Shared by run.sh and test.sh: install what is missing, then configure and build.
# Source it; it defines functions only.

# Debian packages the build, the tests and the program need.
TANABASHIGO_PACKAGES=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-multimedia-dev qt6-svg-dev qt6-qpa-plugins
    fonts-ipafont-gothic qt6-translations-l10n desktop-file-utils appstream librsvg2-bin
    libboost-dev libbenchmark-dev
)

# Installs the packages that are not installed yet; silent when nothing is missing.
ensure_packages() {
    local missing=() pkg
    for pkg in "${TANABASHIGO_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    ((${#missing[@]})) || return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    ((EUID == 0)) || sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
        "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
            apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Configures and builds into $1, quietly: the logs are shown only when a step fails. Extra
# CMake options come from TANABASHIGO_CMAKE_ARGS.
build_project() {
    local dir=$1
    mkdir -p "$dir"
    # shellcheck disable=SC2086
    if ! cmake -S . -B "$dir" -Wno-dev ${TANABASHIGO_CMAKE_ARGS:-} >"$dir/configure.log" 2>&1; then
        cat "$dir/configure.log"
        return 1
    fi
    if ! cmake --build "$dir" --parallel "$(nproc)" >"$dir/build.log" 2>&1; then
        grep -E -B2 -A12 'error|Error' "$dir/build.log" | head -n 120 || true
        echo "build failed; the whole log is $dir/build.log" >&2
        return 1
    fi
}
