#!/usr/bin/env bash
# Installs what is missing, builds, and starts tanabashigo.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
ensure_packages
echo "ビルドしています… / Building…" >&2
build_project build >/dev/null
exec build/app/tanabashigo "$@"
