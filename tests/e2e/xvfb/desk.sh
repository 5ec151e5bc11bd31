# What the Xvfb runs of a user's day share: visual-brambolt started on a private Xvfb display in a
# fresh home (registry, profile, data folder, a Windows directory with the DocSys files), xdotool
# input as a person gives it, screenshots into OUTPUT_FOLDER/gallery, and the steps several runs
# begin with (a new project through the wizard, a folder of headers taken in).
# Sourced by a run with its arguments: PROGRAM SMOKE_TOOL FIXTURES OUTPUT_FOLDER.
# Exits 77 (skipped) when Xvfb or xdotool is missing.
set -uo pipefail

program=$1 tool=$2 fixtures=$3 out=$4
source "$(dirname "${BASH_SOURCE[0]}")/../../platform/backend/smoke/xvfb.sh"

# Under a window manager the pictures go to a folder of its own.
gallery="$out/gallery${BRAMBOLT_WINDOW_MANAGER:+/$BRAMBOLT_WINDOW_MANAGER}"
mkdir -p "$gallery"
home="$work/home"
mkdir -p "$home" "$work/registry" "$work/config" "$work/data" "$work/windows" "$work/projects"
cp -r "$(dirname "$program")/DocSys" "$work/windows/"

# The program runs in the work folder, where a crash leaves its core; a failure shows its stack.
start() {
  (cd "$work" && ulimit -c unlimited && exec env HOME="$home" XDG_CONFIG_HOME="$work/config" \
    XDG_DATA_HOME="$work/data" BRAMBOLT_REGISTRY_DIR="$work/registry" BRAMBOLT_WINDOWS_DIR="$work/windows" \
    BRAMBOLT_BACKEND=x11 timeout 1700 "$program" "$@") >> "$work/program.out" 2>> "$work/program.err" &
  program_pid=$!
}
# A failure says, after its reason, the step's last screenshot, what the screen showed then (a
# screenshot of its own in the gallery), the program's windows shown and the one with the keyboard;
# a crash its stack.
last_shot=""
failure_details() {
  local name="$gallery/$(basename "$0" .sh)-failed.png" shown
  echo "  last screenshot: ${last_shot:-none}"
  timeout 20 "$tool" shot "$name" 2> /dev/null && echo "  the screen at the failure: $name"
  shown=$(xdotool search --onlyvisible --classname '^visual-brambolt$' getwindowname %@ 2> /dev/null | paste -sd '|')
  echo "  the program's windows shown: ${shown:-none}; the keyboard's: $(xdotool getwindowfocus getwindowname 2> /dev/null)"
  for core in "$work"/core*; do
    [ -f "$core" ] && command -v gdb > /dev/null &&
      gdb -batch -ex "bt 30" "$program" "$core" 2> /dev/null | grep '^#' >> "$work/program.err"
  done
}
run() { timeout 10 xdotool "$@" > /dev/null || fail "xdotool $*"; }
shot() {
  sleep 0.4
  timeout 20 "$tool" shot "$gallery/$1.png" || fail "no screenshot $1"
  last_shot="$gallery/$1.png"
}
# Every check that follows input waits for its effect (a file, a value in the store, a pixel, a
# window title) with wait_for and a bounded time-out; none counts on a pause being long enough.
shown() { xdotool search --onlyvisible --name "$1" > /dev/null 2>&1; }
# The first window whose name matches, waited for as the program makes progress (30 s on a quiet
# machine; a busy one is slow to show it).
window() {
  wait_for 300 shown "$1"
  xdotool search --onlyvisible --name "$1" 2> /dev/null | head -n1
}
# Whether the window whose name matches holds the keyboard (a key sent before a new window takes it
# goes to the one before, on a busy machine above all).
focused() { [[ "$(xdotool getwindowfocus getwindowname 2> /dev/null)" =~ $1 ]]; }
gone() { ! shown "$1"; }
# True while no window of the program but the main one shows (a progress or a question of the
# program has gone). Its windows are known by their class, as a window manager's frames around
# them and its own windows are not the program's.
main_alone() {
  local others
  others=$(xdotool search --onlyvisible --classname '^visual-brambolt$' 2> /dev/null | grep -vx "$main")
  [ -z "$others" ]
}
# A click at an offset from a window's top-left corner.
click_in() {
  local id x y
  id=$(window "$1") || true
  [ -n "$id" ] || fail "no window '$1' to click in"
  eval "$(xdotool getwindowgeometry --shell "$id")"
  x=$((X + $2)) y=$((Y + $3))
  run mousemove "$x" "$y"
  sleep 0.1
  run click 1
}
keys() { run key --delay 40 "$@"; }
typed() { run type --delay 15 "$1"; }
# Into an edit by a click: the text there selected and typed over.
type_over() {
  click_in "$1" "$2" "$3"
  keys End shift+Home BackSpace
  typed "$4"
}

# The main window up, the splash gone, the tip of the day (when it shows) turned off and closed.
start_program() {
  start "$@"
  main=$(window '^Visual Brambolt')
  [ -n "$main" ] || fail "the main window did not appear"
  run windowfocus --sync "$main"
  wait_for 60 gone '^SECSplashWnd$' || fail "the splash stayed up"
  if tip=$(window '^Tips Of Day$') && [ -n "$tip" ]; then
    keys space Return # "Show Tips at Startup." has the focus: turned off, then OK
  fi
}

# Places in the main window are written for a main window at 0,0 as large as the 1024x768 screen.
# Where the main window is (maximised on a bare server, its borders beyond the screen's edges;
# placed by a window manager) moves them: ox and oy are the shift of what hangs from its top-left
# corner, rx and by of what hangs from its right and bottom edges.
frame_measured() {
  eval "$(xdotool getwindowgeometry --shell "$main")"
  ox=$X oy=$Y rx=$((X + WIDTH - 1024)) by=$((Y + HEIGHT - 768))
}

# The explorer's Output tab in front: its lower edge a row lower than the other tabs'. The tabs
# hang from the main window's bottom-left corner.
output_tab_in_front() {
  frame_measured
  [ "$(timeout 10 "$tool" pixel $((234 + ox)) $((736 + by)))" = 000000 ] &&
    [ "$(timeout 10 "$tool" pixel $((234 + ox)) $((733 + by)))" = C0C0C0 ]
}

# Build > Write Documentation (F5) up to its Options dialog. Its last step, after its progress has
# gone, brings the explorer's Output tab to the front: the tab is put behind first (the Class tab
# clicked) so that step shows when the command has ended. Sets options_dialog.
documentation_options() {
  if output_tab_in_front; then
    run mousemove $((104 + ox)) $((715 + by))
    sleep 0.1
    run click 1
    wait_for 50 eval '! output_tab_in_front' || fail "the explorer's Class tab did not come to the front"
  fi
  keys F5
  options_dialog=$(window '^Options$')
  [ -n "$options_dialog" ] || fail "the documentation options did not open"
}
# Write Documentation, its options taken, waited for to its end: what the CHECK (a command) looks
# for written, the progress and any question gone, the main window with the keyboard and the Output
# tab in front. The files alone do not tell: the pages are begun before the progress shows, which a
# loaded machine shows late, while the main window holds the keyboard and no other window is up.
documentation_ended() {
  "$@" && gone '^Options$' && main_alone && [ "$(xdotool getwindowfocus 2> /dev/null)" = "$main" ] && output_tab_in_front
}
documentation_written() {
  wait_for 300 documentation_ended "$@" && return
  local found=yes
  "$@" || found=no
  fail "Write Documentation did not end with the Output tab in front (what '$*' looks for written: $found)"
}

# New Project through the wizard into $work/projects/NAME: the name typed at once (the wizard opens
# on it), location, Next, Next, Next, Finish. Sets project. With a shot prefix, the wizard's pages
# go to the gallery.
new_project() {
  local name=$1 shots=${2:-}
  keys ctrl+n
  [ -n "$(window '^New Project$')" ] || fail "the New Project wizard did not open"
  typed "$name"
  type_over '^New Project$' 325 304 "$work/projects"
  [ -n "$shots" ] && shot "$shots-new-project-wizard"
  click_in '^New Project$' 358 426
  [ -n "$shots" ] && shot "$shots-new-project-language"
  click_in '^New Project$' 358 426
  click_in '^New Project$' 358 426
  [ -n "$shots" ] && shot "$shots-new-project-author"
  click_in '^New Project$' 442 426
  wait_for 50 gone '^New Project$' || fail "the wizard did not finish"
  project="$work/projects/$name"
  wait_for 50 test -f "$project/$name.dcp" || fail "the project file was not written"
}

# A folder of headers taken into the project through the live-folder dialog (Ctrl+F7).
take_in_headers() {
  local folder=$1 shot_name=${2:-}
  keys ctrl+F7
  [ -n "$(window '^Insert Files into Project$')" ] || fail "the live-folder dialog did not open"
  typed "$folder"
  [ -n "$shot_name" ] && shot "$shot_name"
  keys Return
  headers_copied() { [ "$(ls "$project/Header Files" | wc -l)" -eq "$(ls "$folder" | wc -l)" ]; }
  wait_for 100 headers_copied ||
    fail "the headers were not all copied: $(ls "$project/Header Files" | wc -l)"
}

# A file opened in the editor through File > Open (Ctrl+O), tried again while earlier work still
# holds the input (the documentation's progress ends a moment after its files are written).
open_file() {
  local path=$1 shot_name=${2:-} opened=""
  for attempt in 1 2 3 4 5 6 7 8 9 10; do
    keys ctrl+o
    if wait_for 20 shown '^Open$'; then
      opened=yes
      break
    fi
  done
  [ -n "$opened" ] || fail "the file dialog did not open"
  keys alt+n
  typed "$path"
  [ -n "$shot_name" ] && shot "$shot_name"
  keys Return
  wait_for 300 shown "$(basename "$path")" || fail "$(basename "$path") did not open in the editor"
}

# File > Exit, every question about saving answered (by default with its default button), and a
# clean exit status. The main window may hide before a question shows: done only when the program is.
exit_program() {
  local answer=${1:-Return}
  keys alt+f x
  ended() {
    kill -0 "$program_pid" 2> /dev/null || return 0
    if xdotool search --onlyvisible --name '^Inkwright$' > /dev/null 2>&1; then
      keys "$answer"
      sleep 0.5
    fi
    return 1
  }
  wait_for 300 ended
  kill -0 "$program_pid" 2> /dev/null && fail "the program did not end after File > Exit"
  wait "$program_pid"
  local status=$?
  program_pid=""
  [ "$status" -eq 0 ] || fail "the program exited with $status"
}

# The end of a run: nothing on the program's error output.
no_errors() {
  if [ -s "$work/program.err" ]; then
    fail "the program wrote errors: $(head -c 2000 "$work/program.err")"
  fi
}

# The colours of a box of a PNG picture (PNG LEFT TOP RIGHT BOTTOM, right and bottom excluded),
# one "X Y RRGGBB" a line.
png_colours() {
  python3 - "$@" << 'EOF'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
left, top, right, bottom = (int(a) for a in sys.argv[2:6])
at, idat = 8, b""
while at < len(data):
    length, kind = struct.unpack(">I4s", data[at:at + 8])
    body = data[at + 8:at + 8 + length]
    if kind == b"IHDR":
        width, height, depth, colour = struct.unpack(">IIBB", body[:10])
    elif kind == b"IDAT":
        idat += body
    at += 12 + length
channels = {2: 3, 6: 4}[colour]
raw, stride, rows, previous = zlib.decompress(idat), width * channels, [], bytearray(width * channels)
for y in range(min(bottom, height)):
    kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
    for i in range(stride if kind else 0):
        a = line[i - channels] if i >= channels else 0
        b, c = previous[i], previous[i - channels] if i >= channels else 0
        if kind == 1: line[i] = (line[i] + a) & 255
        elif kind == 2: line[i] = (line[i] + b) & 255
        elif kind == 3: line[i] = (line[i] + (a + b) // 2) & 255
        elif kind == 4:
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
    rows.append(line)
    previous = line
for y in range(top, min(bottom, height)):
    for x in range(left, min(right, width)):
        r, g, b = rows[y][x * channels:x * channels + 3]
        print(x, y, "%02X%02X%02X" % (r, g, b))
EOF
}
# The same of a box of the screen (LEFT TOP RIGHT BOTTOM), read from a fresh screenshot.
screen_colours() {
  timeout 20 "$tool" shot "$work/screen.png" || fail "no screenshot to look at"
  png_colours "$work/screen.png" "$@"
}
# A picture of a box of the screen (LEFT TOP WIDTH HEIGHT) as a digest of its pixels: the same
# picture, the same digest.
area() { screen_colours "$1" "$2" $(($1 + $3)) $(($2 + $4)) | cut -d' ' -f3 | md5sum | cut -d' ' -f1; }
