#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}

"$root/scripts/build.sh"
ctest --test-dir "$build_dir" --output-on-failure --parallel "$(nproc)" "$@"
