#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test; then builds
# the earlier interface level of libkelWell (only the library, in
# build-earlier/, EARLIER_BUILD_DIR to change it) and runs its tests against
# the kelwelld just built.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}
earlier_dir=${EARLIER_BUILD_DIR:-$root/build-earlier}

"$root/scripts/build.sh"
ctest --test-dir "$build_dir" --output-on-failure --parallel "$(nproc)" "$@"

BUILD_DIR=$earlier_dir CMAKE_ARGS="-DKELWELL_INTERFACE_LEVEL=earlier -DKELWELL_BUILD_SERVICE=OFF \
-DKELWELL_BUILD_BENCHMARKS=OFF -DKELWELL_CURRENT_BUILD=$build_dir ${CMAKE_ARGS:-}" "$root/scripts/build.sh"
ctest --test-dir "$earlier_dir" --output-on-failure --parallel "$(nproc)" "$@"
