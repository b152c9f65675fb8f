#!/usr/bin/env bash
# Kills the program (kill -9) at a random moment of its first start on a fresh folder, then starts
# it normally on the same folder and counts the databases that start cannot open. A start that
# opens its database is ended with SIGTERM and its database checked with gfix.
#   tools/kill_first_start.sh [RUNS=40] [MIN_MS=10] [MAX_MS=600] [PROGRAM=build/app/trx]
set -u
runs=${1:-40}
min_ms=${2:-10}
max_ms=${3:-600}
trx=${4:-$(cd "$(dirname "$0")/.." && pwd)/build/app/trx}
gfix=$(command -v gfix || echo /usr/lib/x86_64-linux-gnu/firebird/3.0/bin/gfix)
[ -x "$trx" ] || { echo "no program at $trx: build it first" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A copy, so a rebuild during the run does not swap the program under it.
cp "$trx" "$work/trx" && trx=$work/trx

# Runs the program on a home folder until it says it opened its database or that it cannot; then
# ends it with SIGTERM. Prints "opened", "refused" or "hung"; the status of the end follows.
start_normally() {
  local home=$1 log=$1/normal.log pid
  XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config QT_QPA_PLATFORM=offscreen "$trx" >"$log" 2>&1 &
  pid=$!
  local outcome=hung
  for _ in $(seq 1200); do
    if grep -q '^TRX: ' "$log"; then outcome=opened; break; fi
    if grep -q 'Програмата ще бъде затворена' "$log"; then outcome=refused; break; fi
    kill -0 "$pid" 2>/dev/null || { outcome=refused; break; }
    sleep 0.1
  done
  kill -TERM "$pid" 2>/dev/null
  wait "$pid"
  echo "$outcome $?"
}

unopenable=0 partial_left=0 db_left=0 unclean=0
printf '%4s %6s %-22s %-8s %s\n' run kill_ms "left after the kill" next gfix
for i in $(seq "$runs"); do
  home=$work/$i
  mkdir -p "$home"
  ms=$((min_ms + RANDOM % (max_ms - min_ms + 1)))
  XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config QT_QPA_PLATFORM=offscreen "$trx" >"$home/first.log" 2>&1 &
  pid=$!
  sleep "$(printf '%d.%03d' $((ms / 1000)) $((ms % 1000)))"
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  db=$home/data/TRX/TRXBASE.fdb
  left=""
  [ -e "$db" ] && { left="database "; db_left=$((db_left + 1)); }
  compgen -G "$db.partial*" >/dev/null && { left="${left}partial"; partial_left=$((partial_left + 1)); }
  read -r outcome status < <(start_normally "$home")
  check=-
  if [ "$outcome" = opened ] && [ "$status" = 0 ]; then
    check=$("$gfix" -v -full -user SYSDBA "$db" 2>&1)
    if [ -n "$check" ]; then unclean=$((unclean + 1)); check="NOT CLEAN: $check"; else check=clean; fi
  else
    unopenable=$((unopenable + 1))
    outcome="$outcome($status)"
  fi
  printf '%4d %6d %-22s %-8s %s\n' "$i" "$ms" "${left:-nothing}" "$outcome" "$check"
done
echo "runs: $runs, kill at $min_ms-$max_ms ms"
echo "left a database file: $db_left, left a partial file: $partial_left"
echo "next start could not open its database: $unopenable; opened but not clean: $unclean"
[ "$unopenable" -eq 0 ] && [ "$unclean" -eq 0 ]
