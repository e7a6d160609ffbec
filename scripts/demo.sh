#!/usr/bin/env bash
# The main job: starts kelwelld on an embedded SQLite store in a temporary
# folder, runs the kelWell walkthrough against it, stops the service, and
# exits with the walkthrough's status. Builds first when needed
# (scripts/build.sh; BUILD_DIR as there), unless given --no-build.
set -euo pipefail
build=true
if [[ "${1:-}" == "--no-build" ]]; then build=false; fi
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}
service="$build_dir/service/kelwelld"
walkthrough="$build_dir/examples/kelwell_walkthrough"

if [[ $build == false ]]; then
  if [[ ! -x "$service" || ! -x "$walkthrough" ]]; then
    echo "demo: $service and $walkthrough must be built first" >&2
    exit 1
  fi
elif [[ -x "$service" && -x "$walkthrough" && -f "$build_dir/build.ninja" ]]; then
  # Already built: bring the two programs up to date only.
  cmake --build "$build_dir" --target kelwelld kelwell_walkthrough >/dev/null
else
  BUILD_DIR="$build_dir" "$root/scripts/build.sh"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/kelwell-demo-XXXXXX")
service_pid=""
stop_service() {
  if [[ -n "$service_pid" ]] && kill -0 "$service_pid" 2>/dev/null; then
    kill -TERM "$service_pid" 2>/dev/null || true
    wait "$service_pid" 2>/dev/null || true
  fi
  service_pid=""
}
cleanup() {
  stop_service
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Port 0: the system picks a free port on loopback; the ready line names it.
"$service" --store "$work/wells.db" --host 127.0.0.1 --port 0 >"$work/service.out" 2>"$work/service.err" &
service_pid=$!

address=""
for _ in $(seq 1 300); do
  if line=$(grep -m1 '^kelwelld ready at ' "$work/service.out" 2>/dev/null); then
    address=${line#kelwelld ready at }
    break
  fi
  if ! kill -0 "$service_pid" 2>/dev/null; then break; fi
  sleep 0.1
done
if [[ -z "$address" ]]; then
  echo "demo: kelwelld did not become ready:" >&2
  cat "$work/service.err" >&2
  exit 1
fi
echo "kelwelld is serving the store $work/wells.db at $address"
echo

status=0
KELWELL_SERVICE="$address" "$walkthrough" || status=$?

stop_service
exit "$status"
