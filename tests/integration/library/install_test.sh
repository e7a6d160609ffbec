#!/usr/bin/env bash
# Installs the build tree into a temporary prefix, builds the example
# application against it twice (find_package(kelWell) and pkg-config), and
# runs both against a kelwelld on a temporary store.
#   install_test.sh BUILD_DIR SOURCE_DIR KELWELLD
set -euo pipefail
build_dir=$1
source_dir=$2
kelwelld=$3

work=$(mktemp -d "${TMPDIR:-/tmp}/kelwell-install-XXXXXX")
service_pid=""
cleanup() {
  if [[ -n "$service_pid" ]]; then
    kill -TERM "$service_pid" 2>/dev/null || true
    wait "$service_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

prefix="$work/prefix"
cmake --install "$build_dir" --prefix "$prefix" >"$work/install.log"

for header in kel_Well.h kel_WellBore.h kel_WellBoreList.h kel_WellLogTrace.h kel_WellBoreListDataChangedEvent.h \
  kel_WellBoreListDataChangedEventListener.h kel_WellTypes.h kel_WellVelocity.h kel_WellPick.h kel_Entity.h kel_Exception.h \
  EpiWell.hh; do
  [[ -f "$prefix/include/kelWell/$header" ]] || { echo "not installed: $header" >&2; exit 1; }
done

# With CMake.
cmake -S "$source_dir/examples/consumer" -B "$work/cmake-build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
  >"$work/configure.log" || { cat "$work/configure.log" >&2; exit 1; }
cmake --build "$work/cmake-build" >"$work/build.log" || { cat "$work/build.log" >&2; exit 1; }

# With pkg-config, from an installed file that finds its own prefix.
pc_dir=$(dirname "$(find "$prefix" -name kelWell.pc | head -n1)")
flags=$(PKG_CONFIG_PATH="$pc_dir" pkg-config --cflags --libs kelWell)
# shellcheck disable=SC2086
c++ -std=c++17 "$source_dir/examples/consumer/main.cpp" -o "$work/pkg-config-consumer" $flags

# Both run against a service; neither needs the build tree.
"$kelwelld" --store "$work/wells.db" --port 0 >"$work/service.out" 2>"$work/service.err" &
service_pid=$!
address=""
for _ in $(seq 1 300); do
  if line=$(grep -m1 '^kelwelld ready at ' "$work/service.out" 2>/dev/null); then
    address=${line#kelwelld ready at }
    break
  fi
  kill -0 "$service_pid" 2>/dev/null || break
  sleep 0.1
done
[[ -n "$address" ]] || { echo "kelwelld did not start:" >&2; cat "$work/service.err" >&2; exit 1; }

export KELWELL_SERVICE=$address
"$work/cmake-build/kelwell_consumer"
# The project exists now: the second run may only fail there, as a user failure.
if "$work/pkg-config-consumer" 2>"$work/second.err"; then
  echo "the second consumer created a project whose name was taken" >&2
  exit 1
fi
grep -q "kel_UserException: Could not create the project" "$work/second.err" || { cat "$work/second.err" >&2; exit 1; }
echo "installed kelWell: built with find_package and with pkg-config, and ran against kelwelld"
