#!/usr/bin/env bash
# Installs the build into a fresh scratch prefix and checks that every file
# the program and the desktop need landed where they are looked for.
#
# check_install.sh <cmake> <build dir> <scratch prefix> <source dir> <app id> <bindir> <datadir>
# <bindir> and <datadir> are the GNUInstallDirs paths relative to the prefix.
set -euo pipefail

cmake=$1 build=$2 prefix=$3 source=$4 app_id=$5 bindir=$6 datadir=$7

# The prefix is wiped first, so insist on the scratch name this test uses.
case $prefix in
*/install-check) ;;
*)
    echo "refusing to wipe '$prefix': the scratch prefix must end in /install-check" >&2
    exit 2
    ;;
esac
rm -rf -- "$prefix"
mkdir -p -- "$prefix"

if ! log=$("$cmake" --install "$build" --prefix "$prefix" 2>&1); then
    printf '%s\n' "$log"
    echo "FAIL: cmake --install failed" >&2
    exit 1
fi

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Width and height from a PNG header, as "WxH".
png_size() {
    local bytes
    bytes=($(od -An -v -tu1 -j16 -N8 -- "$1"))
    ((${#bytes[@]} == 8)) || return 1
    echo "$(((bytes[0] << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3]))x$(((bytes[4] << 24) | (bytes[5] << 16) | (bytes[6] << 8) | bytes[7]))"
}

# Installed copy present and byte for byte the file in the tree.
check_copy() {
    local installed=$1 original=$2
    if [[ ! -f $installed ]]; then
        fail "missing $installed"
    elif ! cmp -s -- "$installed" "$original"; then
        fail "$installed differs from $original"
    fi
}

bin=$prefix/$bindir
share=$prefix/$datadir

# The program.
[[ -f $bin/tanabashigo && -x $bin/tanabashigo ]] || fail "missing executable $bin/tanabashigo"

# The chimes, in the data folder the program searches, as RIFF/WAVE files.
for wav in pinpon.wav endpinpon.wav; do
    installed=$share/tanabashigo/$wav
    check_copy "$installed" "$source/sounds/$wav"
    if [[ -f $installed ]]; then
        [[ $(head -c 4 -- "$installed") == RIFF && $(head -c 16 -- "$installed" | tail -c 8) == 'WAVEfmt ' ]] ||
            fail "$installed is not a RIFF/WAVE file"
    fi
done

# The menu entry: named by the app id, pointing at the installed program and icon.
desktop=$share/applications/$app_id.desktop
check_copy "$desktop" "$source/desktop/$app_id.desktop"
if [[ -f $desktop ]]; then
    grep -qx "Icon=$app_id" -- "$desktop" || fail "$desktop does not name the icon $app_id"
    # The entry and each of its actions.
    while read -r exec_line; do
        exec_name=${exec_line%% *}
        [[ -n $exec_name && -x $bin/$exec_name ]] ||
            fail "$desktop runs '$exec_name', which is not installed in $bin"
    done < <(sed -n 's/^Exec=//p' -- "$desktop")
fi

# The AppStream file: its id and launchable match the menu entry.
metainfo=$share/metainfo/$app_id.metainfo.xml
check_copy "$metainfo" "$source/desktop/$app_id.metainfo.xml"
if [[ -f $metainfo ]]; then
    grep -q "<id>$app_id</id>" -- "$metainfo" || fail "$metainfo does not carry the id $app_id"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" -- "$metainfo" ||
        fail "$metainfo does not launch $app_id.desktop"
fi

# The themed icons: each PNG in the folder of its own size, and the SVG.
for size in 32 48 128 256; do
    icon=$share/icons/hicolor/${size}x${size}/apps/$app_id.png
    check_copy "$icon" "$source/icons/tanabashigo-$size.png"
    if [[ -f $icon ]]; then
        actual=$(png_size "$icon") || actual=unreadable
        [[ $actual == "${size}x${size}" ]] || fail "$icon is $actual, not ${size}x${size}"
    fi
done
check_copy "$share/icons/hicolor/scalable/apps/$app_id.svg" "$source/icons/tanabashigo.svg"

if ((failures)); then
    echo "$failures problem(s) in the installed tree under $prefix" >&2
    exit 1
fi
echo "install-check: all files in place under $prefix"
