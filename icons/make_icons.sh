#!/usr/bin/env bash
# Renders tanabashigo.svg into the PNG sizes the program, the desktop and the hosted
# browser edition (home screens and app shelves) use.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 32 48 128 180 192 256 512; do
    rsvg-convert --width "$size" --height "$size" --format png \
        --output "tanabashigo-$size.png" tanabashigo.svg
done
