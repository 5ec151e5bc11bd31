#!/usr/bin/env bash
# A user's day on X11: visual-brambolt started on a private Xvfb display in a fresh home (registry,
# profile, data folder, a Windows directory with the DocSys files) and driven with xdotool as a
# person would: the splash, the menus, a new project through the wizard, a folder of headers, the
# documentation, a header in the editor, the About box, exit and a second start. Screenshots of
# each step go to OUTPUT_FOLDER/gallery for people to look at.
# Exits 77 (skipped) when Xvfb or xdotool is missing.
# usage: run-xvfb.sh PROGRAM SMOKE_TOOL FIXTURES OUTPUT_FOLDER
set -uo pipefail

program=$1 tool=$2 fixtures=$3 out=$4
source "$(dirname "$0")/../platform/backend/smoke/xvfb.sh"

gallery="$out/gallery"
mkdir -p "$gallery"
home="$work/home"
mkdir -p "$home" "$work/registry" "$work/config" "$work/data" "$work/windows" "$work/projects"
cp -r "$(dirname "$program")/DocSys" "$work/windows/"

# The program runs in the work folder, where a crash leaves its core; a failure shows its stack.
start() {
  (cd "$work" && ulimit -c unlimited && exec env HOME="$home" XDG_CONFIG_HOME="$work/config" \
    XDG_DATA_HOME="$work/data" BRAMBOLT_REGISTRY_DIR="$work/registry" BRAMBOLT_WINDOWS_DIR="$work/windows" \
    BRAMBOLT_BACKEND=x11 timeout 120 "$program") >> "$work/program.out" 2>> "$work/program.err" &
  program_pid=$!
}
eval "$(declare -f fail | sed '1s/^fail/shared_fail/')"
fail() {
  for core in "$work"/core*; do
    [ -f "$core" ] && command -v gdb > /dev/null &&
      gdb -batch -ex "bt 30" "$program" "$core" 2> /dev/null | grep '^#' >> "$work/program.err"
  done
  shared_fail "$@"
}
run() { timeout 10 xdotool "$@" > /dev/null || fail "xdotool $*"; }
shot() {
  sleep 0.4
  timeout 20 "$tool" shot "$gallery/$1.png" || fail "no screenshot $1"
}
# The first window whose name matches, waited for up to 10 s.
window() { timeout 10 xdotool search --sync --onlyvisible --name "$1" 2> /dev/null | head -n1; }
gone() { ! xdotool search --onlyvisible --name "$1" > /dev/null 2>&1; }
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

# ---- first start: the splash over the main window, then the main window alone ----
start
main=$(window '^Visual Brambolt')
[ -n "$main" ] || fail "the main window did not appear"
run windowfocus --sync "$main"
shot 01-start-with-splash
wait_for 60 gone '^SECSplashWnd$' || fail "the splash stayed up"
if tip=$(window '^Tips Of Day$') && [ -n "$tip" ]; then
  shot 02-tip-of-the-day
  keys space Return  # "Show Tips at Startup." has the focus: turned off, then OK
fi
shot 03-main-window

# ---- the menus ----
keys alt+f
shot 04-menu-file
keys Escape Escape
keys alt+p
shot 05-menu-project
keys Escape Escape

# ---- New Project through the wizard: name, location, Next, Next, Next, Finish ----
keys ctrl+n
wizard=$(window '^New Project$')
[ -n "$wizard" ] || fail "the New Project wizard did not open"
# Into an edit by a click: the text there selected and typed over.
type_over() {
  click_in "$1" "$2" "$3"
  keys End shift+Home BackSpace
  typed "$4"
}
type_over '^New Project$' 339 275 Atelier
type_over '^New Project$' 325 304 "$work/projects"
shot 06-new-project-wizard
click_in '^New Project$' 358 426
shot 07-new-project-language
click_in '^New Project$' 358 426
click_in '^New Project$' 358 426
shot 08-new-project-author
click_in '^New Project$' 442 426
wait_for 50 gone '^New Project$' || fail "the wizard did not finish"
project="$work/projects/Atelier"
wait_for 50 test -f "$project/Atelier.dcp" || fail "the project file was not written"
for sub in "Header Files" "Source Code" Output_Chs Output_GB5 Output_Eng; do
  [ -d "$project/$sub" ] || fail "the project has no folder $sub"
done
shot 09-new-project-made

# ---- a folder of headers from the live-folder dialog ----
keys ctrl+F7
[ -n "$(window '^Insert Files into Project$')" ] || fail "the live-folder dialog did not open"
typed "$fixtures/Atelier"
shot 10-insert-live-folder
keys Return
headers_copied() { [ "$(ls "$project/Header Files" | wc -l)" -eq "$(ls "$fixtures/Atelier" | wc -l)" ]; }
wait_for 100 headers_copied ||
  fail "the headers were not all copied: $(ls "$project/Header Files" | wc -l)"
shot 11-headers-taken-in

# ---- the documentation, in the project's language ----
keys F5
[ -n "$(window '^Options$')" ] || fail "the documentation options did not open"
shot 12-documentation-options
keys Return
wait_for 300 test -f "$project/Output_Eng/Htmls/Index.htm" || fail "no documentation was written"
wait_for 100 gone '^Options$' || fail "the options stayed open"
shot 13-documentation-written

# ---- a header in the editor: Ctrl+O once the documentation's progress has ended ----
opened=""
for attempt in 1 2 3 4 5 6 7 8 9 10; do
  keys ctrl+o
  if wait_for 20 xdotool search --onlyvisible --name '^Open$'; then
    opened=yes
    break
  fi
done
[ -n "$opened" ] || fail "the file dialog did not open"
keys alt+n
typed "$project/Header Files/Layer.h"
shot 14-open-file
keys Return
[ -n "$(window 'Layer.h')" ] || fail "the header did not open in the editor"
shot 15-editor-with-colouring

# ---- the About box ----
keys alt+h a
[ -n "$(window '^About Brambolt$')" ] || fail "the About box did not open"
shot 16-about
keys Escape
wait_for 50 gone '^About Brambolt$' || fail "the About box stayed open"

# ---- exit, and a second start that finds everything as it was ----
keys alt+f x
# The documentation options changed the project: the question about saving it, answered Yes.
if box=$(window '^Inkwright$') && [ -n "$box" ]; then
  shot 17-save-project-question
  keys Return
fi
wait_for 100 gone '^Visual Brambolt' || fail "the main window did not close"
wait "$program_pid"
status=$?
[ "$status" -eq 0 ] || fail "the program exited with $status"
start
main=$(window '^Visual Brambolt')
[ -n "$main" ] || fail "the main window did not appear at the second start"
wait_for 60 gone '^SECSplashWnd$' || fail "the splash stayed up"
gone '^Tips Of Day$' || fail "the tip of the day came back after it was turned off"
shot 18-second-start
keys alt+f x
wait "$program_pid"
status=$?
program_pid=""
[ "$status" -eq 0 ] || fail "the second run exited with $status"
if [ -s "$work/program.err" ]; then
  fail "the program wrote errors: $(head -c 2000 "$work/program.err")"
fi
echo "passed; gallery in $gallery"
