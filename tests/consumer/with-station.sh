#!/usr/bin/env bash
# with-station.sh VSTATION COMMAND [ARG...]: runs COMMAND against a station
# process of its own, on a free loopback port, or on WITH_STATION_LISTEN
# (HOST:PORT) for programs with the address built in; a port in use is
# waited for. "{port}" in an argument becomes the port. The station is
# stopped afterwards; the exit code is COMMAND's. WITH_STATION_EMULATOR runs
# a station built for another system (the Wine runner of a Windows build).
set -u
vstation=$1
shift
log=$(mktemp)
port=
deadline=$((SECONDS + 120))
while [ -z "$port" ] && [ $SECONDS -lt $deadline ]; do
  ${WITH_STATION_EMULATOR:+"$WITH_STATION_EMULATOR"} "$vstation" --listen "${WITH_STATION_LISTEN:-127.0.0.1:0}" >"$log" 2>&1 &
  station=$!
  while kill -0 "$station" 2>/dev/null; do
    # (A Windows station ends its lines with "\r\n".)
    port=$(tr -d '\r' <"$log" | sed -n 's/.* reached at .*:\([0-9]*\)$/\1/p')
    [ -n "$port" ] && break
    sleep 0.05
  done
  [ -z "$port" ] && sleep 0.5
done
if [ -z "$port" ]; then
  echo "with-station: the station did not come up:" >&2
  cat "$log" >&2
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
