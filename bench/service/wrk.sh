#!/bin/bash
# Load on the local service from many clients at once, as the phone's
# worker threads make it: a short, bounded wrk run per path against
# loopback, figures printed. Not a test: nothing here passes or fails.
#
#   bench/service/wrk.sh [QV_SERVICE_BINARY]
#
# Uses the service already listening on 127.0.0.1:8899 (a running stack),
# else starts one of its own on fresh demo data in a temporary folder.
# DURATION (seconds per path, default 5), THREADS (2), CONNECTIONS (32).
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BIN=${1:-$ROOT/build/bin/qv-service}
DURATION=${DURATION:-5}
THREADS=${THREADS:-2}
CONNECTIONS=${CONNECTIONS:-32}

command -v wrk >/dev/null || { echo "wrk is not installed" >&2; exit 1; }

sign() { printf '%s' "$1!*!mwtqd%@%" | md5sum | cut -d' ' -f1; }

started=""
if ! curl -s -o /dev/null --max-time 2 "http://127.0.0.1:8899/msglist?sc=0"; then
  [ -x "$BIN" ] || { echo "no service running and $BIN not built" >&2; exit 1; }
  TMP=$(mktemp -d)
  "$BIN" seed --db "$TMP/bench.sqlite" >/dev/null || exit 1
  "$BIN" --db "$TMP/bench.sqlite" --ring-fifo "$TMP/none" >"$TMP/service.log" 2>&1 </dev/null &
  started=$!
  trap 'kill $started 2>/dev/null; wait $started 2>/dev/null; rm -rf "$TMP"' EXIT
  for _ in $(seq 100); do
    curl -s -o /dev/null --max-time 1 "http://127.0.0.1:8899/msglist?sc=0" && break
    sleep 0.1
  done
fi

S_PHONE=$(sign 13800000001)
S_UID=$(sign 10001)
# The login sends the scrambled password: 123456 becomes 678901.
declare -a PATHS=(
  "8899 /reg?phone=13800000001&pwd=678901&agent_id=-1&sign=$S_PHONE&pv=pc&v=1.2"
  "8899 /search_balance?sign=$S_UID&uid=10001&pwd=123456"
  "8899 /user_type?phone=13800000001&sign=$S_PHONE"
  "8899 /msglist?sc=52037725&pv=PC&v=1.2"
  "8901 /pcphone/getContacts.php?uid=10001&sign=$S_UID"
  "8906 /smartresult-xml/search.s?type=mobile&q=13800000001"
  "8904 /"
  "8899 /search_balance?sign=$S_UID&uid=10001&pwd=123456 close"
)

echo "wrk: ${DURATION}s per path, $THREADS threads, $CONNECTIONS connections, loopback"
printf '%-28s %12s %10s %10s %10s %8s\n' path requests/s "lat avg" "lat p99" "lat max" errors
for entry in "${PATHS[@]}"; do
  read -r port target mode <<<"$entry"
  # "close": a new connection for every request, as the phone's fetcher does.
  header=()
  [ "$mode" = close ] && header=(-H "Connection: close")
  out=$(wrk -t"$THREADS" -c"$CONNECTIONS" -d"${DURATION}s" --latency "${header[@]}" "http://127.0.0.1:$port$target" 2>&1)
  rps=$(awk '/Requests\/sec/ {print $2}' <<<"$out")
  avg=$(awk '$1 == "Latency" {print $2; exit}' <<<"$out")
  max=$(awk '$1 == "Latency" {print $4; exit}' <<<"$out")
  p99=$(awk '$1 == "99%" {print $2}' <<<"$out")
  errors=$(awk '/Non-2xx|Socket errors/ {e = e $0 "; "} END {print (e == "" ? 0 : e)}' <<<"$out")
  name=${target%%\?*}${mode:+ ($mode)}
  printf '%-28s %12s %10s %10s %10s %8s\n' "${name:0:28}" "$rps" "$avg" "$p99" "$max" "$errors"
done
[ -n "$started" ] && grep -v "ready" "$TMP/service.log" | head -5
exit 0
