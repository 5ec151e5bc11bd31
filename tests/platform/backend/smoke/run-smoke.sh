#!/usr/bin/env bash
# Runs the X11 smoke program on a private Xvfb display: waits for its window, saves a screenshot
# into the build folder, checks pixels it names, types and clicks with xdotool, closes it, and
# passes on its exit code. Exits 77 (skipped) when Xvfb or xdotool is missing.
# usage: run-smoke.sh SMOKE_PROGRAM SMOKE_TOOL OUTPUT_FOLDER
set -uo pipefail

program=$1 tool=$2 out=$3
source "$(dirname "$0")/xvfb.sh"

BRAMBOLT_BACKEND=x11 timeout 90 "$program" > "$work/program.out" 2> "$work/program.err" &
program_pid=$!
wait_for 200 grep -qs '^READY' "$work/program.out" || fail "the program never said it was ready"
window=$(timeout 10 xdotool search --sync --name '^Brambolt X11 smoke$' | head -n1)
[ -n "$window" ] || fail "no window named 'Brambolt X11 smoke'"

timeout 20 "$tool" shot "$out/x11-smoke.png" || fail "no screenshot"
echo "screenshot: $out/x11-smoke.png"

while read -r what x y color; do
  [ "$what" = PIXEL ] || continue
  got=$(timeout 10 "$tool" pixel "$x" "$y")
  [ "$got" = "$color" ] || fail "pixel at $x,$y is $got, the program drew $color"
done < "$work/program.out"
point() { grep "^$1 " "$work/program.out" | head -n1 | cut -d' ' -f2,3; }
read -r click_x click_y <<< "$(point CLICK)"

run() { timeout 10 xdotool "$@" || fail "xdotool $*"; }
run windowfocus --sync "$window"
run type --delay 30 ok
run key ctrl+s
run mousemove --sync "$click_x" "$click_y"
run click --repeat 2 --delay 80 1
run click 4
# The dialog: a Z typed into its edit, its check box, then OK.
read -r x y <<< "$(point EDIT)"
run mousemove --sync "$x" "$y" click 1
run type Z
read -r x y <<< "$(point CHECK)"
run mousemove --sync "$x" "$y" click 1
timeout 20 "$tool" shot "$out/x11-smoke-typed.png" || fail "no second screenshot"
read -r x y <<< "$(point OK)"
run mousemove --sync "$x" "$y" click 1
# Closing before the input is handled would lose it: the close is a posted message, which a
# message loop takes before input.
wait_for 100 grep -qs '^COMPLETE' "$work/program.out" || echo "the program did not see all input"
timeout 10 "$tool" close "$window" || fail "could not ask the window to close"

wait "$program_pid"
status=$?
program_pid=""
cat "$work/program.err"
[ "$status" -eq 0 ] || fail "the program exited with $status (bits: 1 typing, 2 Ctrl+S, 4 click, 8 double click, 16 wheel, 32 check box, 64 edit and OK, 128 no close)"
echo "passed"
