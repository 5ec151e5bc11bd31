#!/usr/bin/env bash
# The desktop around the program on a fresh home: after its first start, xdg-open of a project file
# starts the program with that project, and a double-click on Index.htm in the explorer's output
# tree reaches the browser. The browser is a recording script made the desktop's default for web
# pages through its own setting (xdg-mime default), as a user would choose one.
# usage: desktop.sh PROGRAM SMOKE_TOOL FIXTURES OUTPUT_FOLDER
for needed in xdg-open xdg-mime update-desktop-database update-mime-database; do
  if ! command -v "$needed" > /dev/null; then
    echo "skipped: $needed is not installed"
    exit 77
  fi
done
source "$(dirname "$0")/desk.sh"

# What the desktop's tools see: the program's own home, data and configuration folders.
desktop() { env HOME="$home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" "$@"; }

# The recording browser, the default for HTML pages.
cat > "$work/browser" << SCRIPT
#!/bin/sh
printf '%s\n' "\$@" >> "$work/browser.log"
SCRIPT
chmod +x "$work/browser"
mkdir -p "$work/data/applications"
cat > "$work/data/applications/recording-browser.desktop" << ENTRY
[Desktop Entry]
Type=Application
Name=Recording Browser
Exec=$work/browser %f
MimeType=text/html;
ENTRY
desktop xdg-mime default recording-browser.desktop text/html || fail "xdg-mime could not set the browser"

# ---- the first start registers the program with the desktop; a project is made ----
start_program
new_project Desktop
take_in_headers "$fixtures/Atelier"
exit_program
[ -f "$work/data/applications/visual-brambolt.desktop" ] || fail "the program wrote no desktop entry"
[ "$(desktop xdg-mime query filetype "$project/Desktop.dcp")" = "application/x-brambolt-project" ] ||
  fail "the desktop does not know project files: $(desktop xdg-mime query filetype "$project/Desktop.dcp")"

# ---- xdg-open of the project file starts the program with it ----
# xdg-open runs the program the desktop entry names and ends with it.
(cd "$work" && exec env HOME="$home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  BRAMBOLT_REGISTRY_DIR="$work/registry" BRAMBOLT_WINDOWS_DIR="$work/windows" BRAMBOLT_BACKEND=x11 \
  timeout 500 xdg-open "$project/Desktop.dcp") >> "$work/program.out" 2>> "$work/program.err" &
program_pid=$!
# The program xdg-open starts is no child of this script, so its waits for a processor are not
# counted: the wait's ceiling leaves room for a loaded machine, and ends as soon as it shows.
wait_for 1200 shown '^Desktop - Visual Brambolt$'
main=$(window '^Desktop - Visual Brambolt$')
[ -n "$main" ] || fail "xdg-open of the project did not start the program with it"
run windowfocus --sync "$main"
wait_for 60 gone '^SECSplashWnd$' || fail "the splash stayed up"
if tip=$(window '^Tips Of Day$') && [ -n "$tip" ]; then keys Return; fi
shot desktop-01-opened-by-xdg-open

# ---- Index.htm double-clicked in the output tree, which Write Documentation brings to the front ----
documentation_options
keys e Return
index="$project/Output_Eng/Htmls/Index.htm"
documentation_written test -f "$index"
# The output tree, filled again as the command ended, is taken once it has looked the same for a
# second (a loaded machine draws it late).
tree=""
settled() {
  local now
  now=$(area 0 100 250 200)
  [ "$now" = "$tree" ] && return 0
  tree=$now
  sleep 1
  return 1
}
wait_for 100 settled || fail "the output tree kept changing"
click_in '^Desktop - Visual Brambolt$' 80 143 # HTML Files
# Opened, scrolled up a row: Hierarchy_Chart.htm, then Index.htm at 163, where the row changes.
index_row=$(area 100 155 150 16)
keys Right
wait_for 300 eval '[ "$(area 100 155 150 16)" != "$index_row" ]' || fail "HTML Files did not open in the output tree"
click_in '^Desktop - Visual Brambolt$' 140 163
run click --repeat 2 --delay 80 1
wait_for 300 test -s "$work/browser.log" || fail "the double-click on Index.htm reached no browser"
shot desktop-02-index-double-clicked
grep -qx "$index" "$work/browser.log" || fail "the browser was given $(cat "$work/browser.log"), not $index"
exit_program
no_errors
echo "xdg-open started the program with its project; Index.htm went to the browser"
