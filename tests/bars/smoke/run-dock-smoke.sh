#!/usr/bin/env bash
# Runs the docking smoke program on a private Xvfb display: drags the left panel by its gripper
# onto the frame's right side with xdotool and checks that it docks there and the layout agrees,
# with screenshots before and after in the build folder.
# Exits 77 (skipped) when Xvfb or xdotool is missing.
# usage: run-dock-smoke.sh PROGRAM SMOKE_TOOL OUTPUT_FOLDER
set -uo pipefail

program=$1 tool=$2 out=$3
source "$(dirname "$0")/../../platform/backend/smoke/xvfb.sh"

BRAMBOLT_BACKEND=x11 timeout 90 "$program" > "$work/program.out" 2> "$work/program.err" &
program_pid=$!
wait_for 200 grep -qs '^READY' "$work/program.out" || fail "the program never said it was ready"
point() { grep "^$1 " "$work/program.out" | head -n1 | cut -d' ' -f2,3; }
run() { timeout 10 xdotool "$@" || fail "xdotool $*"; }

window=$(timeout 10 xdotool search --sync --name '^Brambolt dock smoke$' | head -n1)
[ -n "$window" ] || fail "no window named 'Brambolt dock smoke'"
run windowfocus --sync "$window"
sleep 0.3
timeout 20 "$tool" shot "$out/x11-dock-left.png" || fail "no screenshot"
read -r x0 y0 <<< "$(point GRIP)"
read -r x1 y1 <<< "$(point DROP)"
hand_drag "$x0" "$y0" "$x1" "$y1"
wait_for 100 grep -qs '^DOCKED RIGHT' "$work/program.out" || fail "the panel did not dock on the right"
timeout 20 "$tool" shot "$out/x11-dock-right.png" || fail "no screenshot"

wait "$program_pid"
status=$?
program_pid=""
cat "$work/program.err"
[ "$status" -eq 0 ] || fail "the program exited with $status (layout: $(grep '^LAYOUT' "$work/program.out"))"
echo "passed"
