#!/usr/bin/env bash
# Runs the given test programs against a Firebird server started on a loopback port for this run
# only, then stops the server. The SYSDBA password is the one the server package wrote at install.
set -u
port=30599
pwfile=/etc/firebird/3.0/SYSDBA.password
[ -r "$pwfile" ] || { echo "cannot read $pwfile: is firebird3.0-server installed?"; exit 1; }
# shellcheck disable=SC1090
. "$pwfile"
[ -n "${ISC_PASSWORD:-}" ] || { echo "$pwfile holds no password"; exit 1; }

# Two servers of one installation share its lock files and security database, so a second one
# cannot run beside the first: refuse rather than talk to a stranger's server.
port_free() { ! (echo >"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
port_free "$port" || { echo "port $port is already in use: is another test server still running?"; exit 1; }

/usr/sbin/firebird -p "$port" &
server=$!
stop() {
  kill "$server" 2>/dev/null
  for _ in $(seq 50); do kill -0 "$server" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$server" 2>/dev/null
  wait "$server" 2>/dev/null
}
trap stop EXIT
trap 'exit 1' INT TERM
for _ in $(seq 100); do
  kill -0 "$server" 2>/dev/null || { echo "the server did not start on port $port"; exit 1; }
  port_free "$port" || break
  sleep 0.1
done

export TRX_TEST_SERVER="127.0.0.1/$port" TRX_TEST_PASSWORD="$ISC_PASSWORD"
rc=0
for t in "$@"; do
  echo "== $t through the server on port $port"
  "$t" || rc=1
done
exit $rc
