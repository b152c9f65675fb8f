#!/usr/bin/env bash
# Runs the given test programs against a Firebird server started on a loopback port for this run
# only, then stops the server. The SYSDBA password is the one the server package wrote at install.
set -u
port=${TRX_TEST_PORT:-30599}
pwfile=/etc/firebird/3.0/SYSDBA.password
[ -r "$pwfile" ] || { echo "cannot read $pwfile: is firebird3.0-server installed?"; exit 1; }
# shellcheck disable=SC1090
. "$pwfile"
[ -n "${ISC_PASSWORD:-}" ] || { echo "$pwfile holds no password"; exit 1; }

/usr/sbin/firebird -p "$port" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null' EXIT
for _ in $(seq 100); do
  (echo >"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
  kill -0 "$server" 2>/dev/null || { echo "the server did not start"; exit 1; }
  sleep 0.1
done

export TRX_TEST_SERVER="127.0.0.1/$port" TRX_TEST_PASSWORD="$ISC_PASSWORD"
rc=0
for t in "$@"; do
  echo "== $t through the server on port $port"
  "$t" || rc=1
done
exit $rc
