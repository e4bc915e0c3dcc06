#!/usr/bin/env bash
# with-station.sh VSTATION COMMAND [ARG...]: runs COMMAND against a station
# process of its own on a free loopback port. "{port}" in an argument becomes
# that port. The station is stopped afterwards; the exit code is COMMAND's.
set -u
vstation=$1
shift
log=$(mktemp)
"$vstation" --listen 127.0.0.1:0 >"$log" 2>&1 &
station=$!
port=
for _ in $(seq 200); do
  port=$(sed -n 's/.* reached at 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$log")
  [ -n "$port" ] && break
  sleep 0.05
done
if [ -z "$port" ]; then
  echo "with-station: the station did not come up:" >&2
  cat "$log" >&2
  kill "$station" 2>/dev/null
  rm -f "$log"
  exit 1
fi
args=()
for arg in "$@"; do args+=("${arg//\{port\}/$port}"); done
"${args[@]}"
code=$?
kill -TERM "$station"
wait "$station"
rm -f "$log"
exit $code
