#!/usr/bin/env bash
# Renders tanabashigo.svg into the PNG sizes the program and the desktop use.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 32 48 128 256; do
    rsvg-convert --width "$size" --height "$size" --format png \
        --output "tanabashigo-$size.png" tanabashigo.svg
done
