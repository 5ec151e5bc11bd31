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

# The processes whose progress a wait follows, with the nanoseconds each main thread has spent
# ready to run but waiting for a processor, "pid nanoseconds" a line: the program (the child of
# the timeout it may run under), the programs it started (a help viewer) and the X server.
run_queue_waits() {
  local pid run waited slices comm children
  for pid in "${program_pid:-}" "${xvfb_pid:-}"; do
    [ -n "$pid" ] || continue
    while { read -r comm < "/proc/$pid/comm"; } 2> /dev/null && [ "$comm" = timeout ]; do
      { read -r children < "/proc/$pid/task/$pid/children"; } 2> /dev/null && [ -n "$children" ] || break
      pid=${children%% *}
    done
    children=""
    [ "$pid" != "${xvfb_pid:-}" ] && { read -r children < "/proc/$pid/task/$pid/children"; } 2> /dev/null
    for pid in $pid $children; do
      { read -r run waited slices < "/proc/$pid/schedstat"; } 2> /dev/null && echo "$pid $waited"
    done
  done
}

# Waits for the command after it to succeed: $1 tries a tenth of a second apart, as the program,
# what it started and the X server could run. A try during which one of them waited for a
# processor counts only for the part of it that one ran (on a machine loaded four times over about
# a quarter), so a loaded machine gets more tries, up to ten times as many; a quiet one $1 tries.
wait_for() {
  local tries=$1 counted=0 ceiling=$(($1 * 10)) i start end most waited elapsed pid ns
  shift
  local -A before
  for ((i = 0; i < ceiling && counted < tries * 1000; i++)); do
    start=${EPOCHREALTIME/./}
    before=()
    while read -r pid ns; do before[$pid]=$ns; done < <(run_queue_waits)
    "$@" && return 0
    sleep 0.1
    most=0
    while read -r pid ns; do
      [ -n "${before[$pid]:-}" ] || continue
      waited=$(((ns - before[$pid]) / 1000))
      ((waited > most)) && most=$waited
    done < <(run_queue_waits)
    end=${EPOCHREALTIME/./}
    elapsed=$((end - start))
    ((elapsed < 1)) && elapsed=1
    ((most > elapsed)) && most=$elapsed
    counted=$((counted + 1000 * (elapsed - most) / elapsed))
  done
  "$@"
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
