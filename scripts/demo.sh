#!/usr/bin/env bash
# The main job: starts kelwelld on an embedded SQLite store in a temporary
# folder, runs the kelWell walkthrough against it, then the kelwell command
# (a LAS file and a survey imported, listed, a log plot written), stops the
# service, and exits with the first failure's status. Builds first when needed
# (scripts/build.sh; BUILD_DIR as there), unless given --no-build.
set -euo pipefail
build=true
if [[ "${1:-}" == "--no-build" ]]; then build=false; fi
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}
service="$build_dir/service/kelwelld"
walkthrough="$build_dir/examples/kelwell_walkthrough"
kelwell="$build_dir/tools/kelwell/kelwell"

if [[ $build == false ]]; then
  if [[ ! -x "$service" || ! -x "$walkthrough" || ! -x "$kelwell" ]]; then
    echo "demo: $service, $walkthrough and $kelwell must be built first" >&2
    exit 1
  fi
elif [[ -x "$service" && -x "$walkthrough" && -f "$build_dir/build.ninja" ]]; then
  # Already built: bring the three programs up to date only.
  cmake --build "$build_dir" --target kelwelld kelwell_walkthrough kelwell >/dev/null
else
  BUILD_DIR="$build_dir" "$root/scripts/build.sh" kelwelld kelwell_walkthrough kelwell
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

# The kelwell command on files shipped in tests/data (licences in their READMEs).
if [[ $status -eq 0 ]]; then
  export KELWELL_SERVICE="$address"
  # Composite logs of a Nova Scotia well, and a deviation survey from the same public data set
  # (another well of it: here only to show the survey import).
  las="$root/tests/data/las/P-135_out.LAS"
  survey="$root/tests/data/surveys/P-130_deviation_survey.csv"
  bore="Demo/435655/435655"
  plot="$build_dir/demo-plot.svg"
  echo
  echo "$ kelwell import las $(basename "$las") --project Demo"
  "$kelwell" import las "$las" --project Demo || status=$?
  echo "$ kelwell import survey $(basename "$survey") --wellbore $bore"
  [[ $status -ne 0 ]] || "$kelwell" import survey "$survey" --wellbore "$bore" || status=$?
  echo "$ kelwell ls wellbores Demo"
  [[ $status -ne 0 ]] || "$kelwell" ls wellbores Demo || status=$?
  echo "$ kelwell plot $bore --out $plot"
  [[ $status -ne 0 ]] || "$kelwell" plot "$bore" --out "$plot" || status=$?
  [[ $status -ne 0 ]] || echo "the log plot is in $plot"
fi

stop_service
exit "$status"
