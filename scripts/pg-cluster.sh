#!/usr/bin/env bash
# A throw-away PostgreSQL cluster for tests and benchmarks.
#
#   scripts/pg-cluster.sh start DIR   initdb + start on a free loopback port;
#                                     prints the connection URL (also in DIR/url)
#   scripts/pg-cluster.sh stop DIR    stops it and removes its data
#
# The data lives in a fresh temporary folder; DIR keeps only what stop needs.
# Run as root, the server runs as the postgres user (it refuses root). The
# cluster trusts local connections on 127.0.0.1 only and does not fsync
# (KELWELL_PG_FSYNC=on makes it, for benchmarks that compare commit rates):
# it is for tests, and is thrown away.
set -euo pipefail

usage() { echo "usage: $0 start|stop DIR" >&2; exit 2; }
(($# == 2)) || usage
action=$1
state=$2

bin=${KELWELL_PG_BIN:-}
if [[ -z $bin ]]; then
  for candidate in /usr/lib/postgresql/*/bin; do
    [[ -x $candidate/pg_ctl ]] && bin=$candidate
  done
fi
[[ -n $bin && -x $bin/pg_ctl ]] || { echo "$0: no PostgreSQL server binaries found (install postgresql-15)" >&2; exit 1; }

as_server() {
  if [[ $(id -u) -eq 0 ]]; then runuser -u postgres -- "$@"; else "$@"; fi
}

port_is_free() { ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

start() {
  mkdir -p "$state"
  # What a run that was cut short left behind is thrown away first.
  if [[ -f $state/data ]]; then stop; fi
  local data
  data=$(mktemp -d "${TMPDIR:-/tmp}/kelwell-pg.XXXXXX")
  if [[ $(id -u) -eq 0 ]]; then chown postgres: "$data"; fi
  chmod 700 "$data"
  echo "$data" >"$state/data"
  as_server "$bin/initdb" -D "$data/cluster" -U postgres -A trust -E UTF8 --no-sync >"$data/initdb.log" 2>&1 ||
    { cat "$data/initdb.log" >&2; exit 1; }
  local port attempt fsync=${KELWELL_PG_FSYNC:-off}
  for attempt in 1 2 3 4 5 6 7 8; do
    port=$((20000 + RANDOM % 30000))
    port_is_free "$port" || continue
    if as_server "$bin/pg_ctl" -D "$data/cluster" -l "$data/server.log" -w -t 60 \
        -o "-p $port -k $data -c listen_addresses=127.0.0.1 -c fsync=$fsync -c full_page_writes=$fsync -c max_connections=400" \
        start >/dev/null; then
      local url="postgresql://postgres@127.0.0.1:$port/postgres"
      echo "$url" >"$state/url"
      echo "$url"
      return 0
    fi
  done
  echo "$0: the server did not start:" >&2
  cat "$data/server.log" >&2 || true
  exit 1
}

stop() {
  [[ -f $state/data ]] || exit 0
  local data
  data=$(cat "$state/data")
  if [[ -d $data/cluster ]]; then
    as_server "$bin/pg_ctl" -D "$data/cluster" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$data"
  rm -f "$state/data" "$state/url"
}

case $action in
  start) start ;;
  stop) stop ;;
  *) usage ;;
esac
