#!/usr/bin/env bash
# Configures and builds into build/ (BUILD_DIR to change it): everything, or the targets given.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}

"$root/scripts/install-deps.sh"

werror=OFF
if [[ "${CI:-}" == "true" ]]; then werror=ON; fi

# A compiler cache, when the machine has one, makes rebuilds of unchanged sources free.
launcher=()
if command -v ccache >/dev/null 2>&1; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi

cmake -S "$root" -B "$build_dir" -G Ninja -DKELWELL_WERROR=$werror "${launcher[@]}" ${CMAKE_ARGS:-}
targets=()
if [[ $# -gt 0 ]]; then targets=(--target "$@"); fi
cmake --build "$build_dir" --parallel "$(nproc)" "${targets[@]}"
