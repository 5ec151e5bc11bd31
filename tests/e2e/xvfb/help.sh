#!/usr/bin/env bash
# The program's help as a user reads it on X11: F1 in the document window in front, and F1 on a
# highlighted menu item, open a page in the installed CHM viewer, and the page shows as text a
# person reads, not as its HTML source. What the screen shows is read back with OCR.
# usage: help.sh PROGRAM SMOKE_TOOL FIXTURES OUTPUT_FOLDER
for needed in xchm tesseract; do
  if ! command -v "$needed" > /dev/null; then
    echo "skipped: $needed is not installed"
    exit 77
  fi
done
source "$(dirname "$0")/desk.sh"

viewer_pid=""
end_viewer() {
  [ -n "$viewer_pid" ] && kill "$viewer_pid" 2> /dev/null
  viewer_pid=""
}
trap 'end_viewer; cleanup' EXIT

# The text of the screen, read by OCR from a screenshot enlarged three times (the viewer's
# small monospace source text is read reliably only so). Both tools work on one thread: their
# OpenMP threads spin at each step waiting for one another, which on a machine with no processor
# to spare makes one reading take many minutes instead of seconds.
screen_text() {
  timeout 20 "$tool" shot "$work/help.png" || fail "no screenshot to read"
  MAGICK_THREAD_LIMIT=1 OMP_THREAD_LIMIT=1 convert "$work/help.png" -resize 300% "$work/help-large.png" ||
    fail "the screenshot could not be enlarged"
  OMP_THREAD_LIMIT=1 tesseract "$work/help-large.png" - 2> /dev/null
}

# The viewer up with the page whose words are given, shown as a page: none of the markup of its
# source on the screen. The viewer is closed after.
page_shown() {
  local shot_name=$1 words=$2 id text
  # The viewer is a program of its own, slow to start on a busy machine.
  wait_for 300 shown 'xCHM' || fail "$shot_name: no help viewer appeared"
  id=$(window 'xCHM') || true
  [ -n "$id" ] || fail "$shot_name: no help viewer appeared"
  viewer_pid=$(xdotool getwindowpid "$id")
  read_page() {
    text=$(screen_text)
    grep -qiF "$words" <<< "$text"
  }
  wait_for 30 read_page || fail "$shot_name: the page's words \"$words\" are not on the screen: $text"
  shot "$shot_name"
  if grep -qiE '<!DOCTYPE|<html|<head|<body|</h1>|<title|<meta' <<< "$text"; then
    fail "$shot_name: the viewer shows the page's HTML source: $(grep -iE '<[a-z!/]' <<< "$text" | head -5)"
  fi
  end_viewer
  wait_for 50 gone 'xCHM' || fail "$shot_name: the help viewer did not close"
}

start_program
run windowfocus --sync "$main"

# ---- F1 in the empty file the program starts with: the page of the editor ----
keys F1
page_shown help-01-editor "open in the code editor"

# ---- F1 on a highlighted menu item: the page of that command ----
run windowfocus --sync "$main"
keys alt+b Up # the Build menu, its last item highlighted: Automatic Generate HTML Help
sleep 0.3
shot help-02-menu-item
keys F1
page_shown help-03-menu-item-page "HTML Help output"

keys Escape
run windowfocus --sync "$main"
exit_program
# The viewer's own warnings (GTK's) are not the program's.
sed -i '/^(xchm:[0-9]*)/d; /^$/d' "$work/program.err"
no_errors
echo "passed; gallery in $gallery"
