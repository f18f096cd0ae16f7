#!/usr/bin/env bash
# Installs what is missing, builds, and starts tanabashigo.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
ensure_packages
[[ -x build/app/tanabashigo ]] || echo "ビルドしています… / Building…" >&2
build_project build tanabashigo
exec build/app/tanabashigo "$@"
