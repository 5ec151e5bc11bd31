# What the Xvfb smoke scripts share: Xvfb and xdotool or a skip (77), a private display in a
# temporary folder removed at the end with the processes started, fail() and wait_for().
# Sourced by a script that then sets program_pid when it starts its program.
# With BRAMBOLT_WINDOW_MANAGER naming one (openbox, metacity), the display gets that window
# manager, with its own default settings, before the program starts; skipped (77) when it is not
# installed.

# A script names the further programs it needs in needed_programs before it sources this.
for needed in Xvfb xdotool ${needed_programs:-} ${BRAMBOLT_WINDOW_MANAGER:+$BRAMBOLT_WINDOW_MANAGER xprop wmctrl}; do
  if ! command -v "$needed" > /dev/null; then
    echo "skipped: $needed is not installed"
    exit 77
  fi
done

work=$(mktemp -d)
xvfb_pid="" program_pid="" wm_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2> /dev/null
  [ -n "$wm_pid" ] && kill "$wm_pid" 2> /dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A script may say more about a failure in failure_details, printed after the reason.
fail() {
  echo "FAILED: $*"
  declare -F failure_details > /dev/null && failure_details
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
  # Its names are its own: the check it runs may read the caller's (before, start, i).
  local wf_tries=$1 wf_counted=0 wf_ceiling=$(($1 * 10)) wf_try wf_start wf_end wf_most wf_waited wf_elapsed wf_pid wf_ns
  shift
  local -A wf_before
  for ((wf_try = 0; wf_try < wf_ceiling && wf_counted < wf_tries * 1000; wf_try++)); do
    wf_start=${EPOCHREALTIME/./}
    wf_before=()
    while read -r wf_pid wf_ns; do wf_before[$wf_pid]=$wf_ns; done < <(run_queue_waits)
    "$@" && return 0
    sleep 0.1
    wf_most=0
    while read -r wf_pid wf_ns; do
      [ -n "${wf_before[$wf_pid]:-}" ] || continue
      wf_waited=$(((wf_ns - wf_before[$wf_pid]) / 1000))
      ((wf_waited > wf_most)) && wf_most=$wf_waited
    done < <(run_queue_waits)
    wf_end=${EPOCHREALTIME/./}
    wf_elapsed=$((wf_end - wf_start))
    ((wf_elapsed < 1)) && wf_elapsed=1
    ((wf_most > wf_elapsed)) && wf_most=$wf_elapsed
    wf_counted=$((wf_counted + 1000 * (wf_elapsed - wf_most) / wf_elapsed))
  done
  "$@"
}

# Xvfb picks a free display itself and writes its number once it accepts clients. It does not
# reset when its last client leaves (a program that ended, each xdotool call while none runs): a
# client that connects during a reset is dropped at once, and a program started then finds no
# display.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3> "$work/display" 2> "$work/xvfb.err" &
xvfb_pid=$!
wait_for 100 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.err")"
export DISPLAY=":$(head -n1 "$work/display")"

# The window manager in a home of its own (no user's settings), ready once it names itself on the
# root window as the desktop's window manager. Its default settings, but for the drags with Alt
# held on a window (move, resize), which openbox is set to leave to the program, as desktops that
# move windows with another key do: the program's own Alt drags (toolbar buttons, a column block)
# are then tried under it too.
if [ -n "${BRAMBOLT_WINDOW_MANAGER:-}" ]; then
  mkdir -p "$work/wm-home/config/openbox"
  if [ "$BRAMBOLT_WINDOW_MANAGER" = openbox ] && [ -f /etc/xdg/openbox/rc.xml ]; then
    python3 - /etc/xdg/openbox/rc.xml > "$work/wm-home/config/openbox/rc.xml" << 'EOF'
import re, sys
text = open(sys.argv[1]).read()
print(re.sub(r'<mousebind button="A-(Left|Right|Middle)" action="[A-Za-z]+">.*?</mousebind>', "", text, flags=re.S))
EOF
  fi
  # metacity, without a session manager to register with, is told not to look for one.
  wm_options=()
  [ "$BRAMBOLT_WINDOW_MANAGER" = metacity ] && wm_options=(--sm-disable)
  (cd "$work/wm-home" && exec env HOME="$work/wm-home" XDG_CONFIG_HOME="$work/wm-home/config" \
    XDG_CACHE_HOME="$work/wm-home/cache" "$BRAMBOLT_WINDOW_MANAGER" "${wm_options[@]}") > "$work/wm.out" 2>&1 &
  wm_pid=$!
  wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id'; }
  wait_for 200 wm_ready || fail "$BRAMBOLT_WINDOW_MANAGER did not start: $(cat "$work/wm.out")"
fi

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
