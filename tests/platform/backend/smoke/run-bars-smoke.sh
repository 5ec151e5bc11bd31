#!/usr/bin/env bash
# Runs the bars smoke program on a private Xvfb display: an MDI frame with two children. Drags its
# toolbar by the gripper into the frame with xdotool (it floats), then its floating frame by the
# caption back onto the top edge (it docks again), with screenshots of each state in the build
# folder; both children stay open throughout.
# Exits 77 (skipped) when Xvfb or xdotool is missing.
# usage: run-bars-smoke.sh PROGRAM SMOKE_TOOL OUTPUT_FOLDER
set -uo pipefail

program=$1 tool=$2 out=$3
source "$(dirname "$0")/xvfb.sh"

BRAMBOLT_BACKEND=x11 timeout 90 "$program" > "$work/program.out" 2> "$work/program.err" &
program_pid=$!
wait_for 200 grep -qs '^READY' "$work/program.out" || fail "the program never said it was ready"
grep -qs '^MDI 2$' "$work/program.out" || fail "the MDI frame does not have its two children"
point() { grep "^$1 " "$work/program.out" | head -n1 | cut -d' ' -f2,3; }
run() { timeout 10 xdotool "$@" || fail "xdotool $*"; }

window=$(timeout 10 xdotool search --sync --name '^Brambolt bars smoke$' | head -n1)
[ -n "$window" ] || fail "no window named 'Brambolt bars smoke'"
run windowfocus --sync "$window"
sleep 0.3
timeout 20 "$tool" shot "$out/x11-bars-docked.png" || fail "no screenshot"
read -r gx gy <<< "$(point GRIP)"
read -r dx dy <<< "$(point DROP)"
hand_drag "$gx" "$gy" "$dx" "$dy"
wait_for 100 grep -qs '^FLOATING' "$work/program.out" || fail "the toolbar did not float"
sleep 0.3
timeout 20 "$tool" shot "$out/x11-bars-floating.png" || fail "no screenshot"
read -r cx cy <<< "$(point FLOATING)"
read -r tx ty <<< "$(point TOP)"
hand_drag "$cx" "$cy" "$tx" "$ty"
wait_for 100 grep -qs '^DOCKED' "$work/program.out" || fail "the toolbar did not dock again"
grep -qs '^DOCKED 2$' "$work/program.out" || fail "an MDI child went away"

wait "$program_pid"
status=$?
program_pid=""
cat "$work/program.err"
[ "$status" -eq 0 ] || fail "the program exited with $status"
echo "passed"
