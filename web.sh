#!/usr/bin/env bash
# Installs what is missing and builds the browser edition: build-web/tanabashigo.html, one
# file that holds the whole program and runs opened from disk, offline, and build-web/hosted/,
# the same page for a web server, installable on a home screen or shelf and kept offline.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
ensure_web_packages
build_web "${TANABASHIGO_WEB_DIR:-build-web}"
echo "$PWD/${TANABASHIGO_WEB_DIR:-build-web}/tanabashigo.html"
echo "$PWD/${TANABASHIGO_WEB_DIR:-build-web}/hosted/"
