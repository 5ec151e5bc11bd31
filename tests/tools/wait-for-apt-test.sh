#!/usr/bin/env bash
# The install step waits while another process holds a package manager lock, goes on once it is
# released, and when the time is up names the process that holds it.
set -uo pipefail
wait_for_apt=$1
work=$(mktemp -d)
holder_pid=
cleanup() { [ -n "$holder_pid" ] && kill "$holder_pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
lock=$work/lock-frontend
touch "$lock"
fail() { echo "FAIL: $*"; exit 1; }

# No lock held: returns at once.
BRAMBOLT_APT_LOCKS="$lock $work/missing" "$wait_for_apt" 0 || fail "waited with no lock held"

# The holder takes the lock and becomes "sleep 600", as apt keeps its lock while it runs.
( exec 9> "$lock"; flock 9; exec sleep 600 ) &
holder_pid=$!
for _ in $(seq 100); do BRAMBOLT_APT_LOCKS="$lock" "$wait_for_apt" 0 2>/dev/null || break; sleep 0.1; done

# Held past the limit: fails, and says which process holds which file.
BRAMBOLT_APT_LOCKS="$lock" "$wait_for_apt" 0 2> "$work/said" && fail "went on while the lock was held"
grep -q "sleep 600 (process $holder_pid) holds $lock" "$work/said" || { cat "$work/said"; fail "holder not named"; }

# Held, then released while waiting: goes on.
BRAMBOLT_APT_LOCKS="$lock" "$wait_for_apt" 600 2> "$work/waiting" &
waiter=$!
for _ in $(seq 100); do grep -q Waiting "$work/waiting" && break; sleep 0.1; done
grep -q Waiting "$work/waiting" || fail "did not say it waits"
kill "$holder_pid"; wait "$holder_pid" 2>/dev/null; holder_pid=
wait "$waiter" || fail "did not go on after the lock was released"
echo PASS
