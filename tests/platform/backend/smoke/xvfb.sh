# What the Xvfb smoke scripts share: Xvfb and xdotool or a skip (77), a private display in a
# temporary folder removed at the end with the processes started, fail() and wait_for().
# Sourced by a script that then sets program_pid when it starts its program.

for needed in Xvfb xdotool; do
  if ! command -v "$needed" > /dev/null; then
    echo "skipped: $needed is not installed"
    exit 77
  fi
done

work=$(mktemp -d)
xvfb_pid="" program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2> /dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*"
  [ -f "$work/program.out" ] && sed 's/^/  program: /' "$work/program.out" "$work/program.err"
  exit 1
}

# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
  local tries=$1
  shift
  for ((i = 0; i < tries; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# Xvfb picks a free display itself and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$work/display" 2> "$work/xvfb.err" &
xvfb_pid=$!
wait_for 100 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.err")"
export DISPLAY=":$(head -n1 "$work/display")"

# A drag with the left button from X0,Y0 to X1,Y1 in ten small steps, as a hand moves; with
# modifier keys held (alt, alt+ctrl) when a fifth argument names them. Uses the script's run().
hand_drag() {
  local x0=$1 y0=$2 x1=$3 y1=$4 held=${5:-}
  run mousemove --sync "$x0" "$y0"
  [ -n "$held" ] && run keydown "$held" && sleep 0.1
  run mousedown 1
  for step in 1 2 3 4 5 6 7 8 9 10; do
    run mousemove "$((x0 + (x1 - x0) * step / 10))" "$((y0 + (y1 - y0) * step / 10))"
    sleep 0.05
  done
  run mouseup 1
  [ -n "$held" ] && sleep 0.1 && run keyup "$held"
  return 0
}
