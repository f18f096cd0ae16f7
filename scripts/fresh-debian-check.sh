#!/usr/bin/env bash
# Runs ./test.sh as a new user would on a new Debian 12: a minbase root made with debootstrap,
# a fresh clone of this checkout's HEAD inside it, nothing else installed, and ./test.sh run
# exactly as the README says (it installs Debian's own Node.js, Chromium and the rest).
# Prints the wall time and the number of tests CTest ran. Needs root and the network.
#   scripts/fresh-debian-check.sh [ROOT_DIR]    (default: a new folder under /var/tmp)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
((EUID == 0)) || { echo "fresh-debian-check: run as root (debootstrap and chroot)" >&2; exit 1; }
install_missing debootstrap git

root=${1:-$(mktemp -d /var/tmp/tanabashigo-fresh.XXXXXX)}
log=$root.log
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
echo "fresh-debian-check: root $root, log $log" >&2

mounted=()
cleanup() {
    local n
    for ((n = ${#mounted[@]} - 1; n >= 0; n--)); do
        umount -l "${mounted[n]}" 2>/dev/null || true
    done
}
trap cleanup EXIT

if [[ ! -x $root/bin/bash ]]; then
    debootstrap --variant=minbase bookworm "$root" "$mirror" >"$log" 2>&1 ||
        { report_failure "debootstrap" "$log"; exit 1; }
fi
for fs in proc sys dev dev/pts; do
    mount --bind "/$fs" "$root/$fs"
    mounted+=("$root/$fs")
done
cp /etc/resolv.conf "$root/etc/resolv.conf"
# A network that inspects TLS signs with its own authority: the new machine is given it as an
# administrator would, in /usr/local/share/ca-certificates.
if compgen -G "/usr/local/share/ca-certificates/*.crt" >/dev/null; then
    mkdir -p "$root/usr/local/share/ca-certificates"
    cp /usr/local/share/ca-certificates/*.crt "$root/usr/local/share/ca-certificates/"
    chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
        bash -c 'apt-get update -qq && apt-get install -y -qq --no-install-recommends ca-certificates' \
        >>"$log" 2>&1 || { report_failure "installing the network's certificate" "$log"; exit 1; }
fi

rm -rf "$root/root/tanabashigo"
git clone -q --no-local . "$root/root/tanabashigo"
git -C "$root/root/tanabashigo" checkout -q "$(git rev-parse HEAD)"

started=$(date +%s)
status=0
chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    bash -c 'cd /root/tanabashigo && ./test.sh' 2>&1 | tee -a "$log" || status=$?
seconds=$(($(date +%s) - started))

node=$(chroot "$root" node --version 2>/dev/null || echo none)
tests=$(grep -E -o 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1 || true)
echo "fresh-debian-check: ./test.sh exit $status after ${seconds} s on Node $node: ${tests:-no CTest summary}" >&2
exit "$status"
