#!/usr/bin/env bash
# A user's first day on X11: the splash, the tip of the day, the menus, a new project through the
# wizard, a folder of headers, the documentation, a header in the editor, the About box, exit and a
# second start that finds the tip turned off.
# usage: first-day.sh PROGRAM SMOKE_TOOL FIXTURES OUTPUT_FOLDER
source "$(dirname "$0")/desk.sh"

# ---- first start: the splash over the main window, then the main window alone ----
start
main=$(window '^Visual Brambolt')
[ -n "$main" ] || fail "the main window did not appear"
run windowfocus --sync "$main"
shot 01-start-with-splash
wait_for 60 gone '^SECSplashWnd$' || fail "the splash stayed up"
if tip=$(window '^Tips Of Day$') && [ -n "$tip" ]; then
  shot 02-tip-of-the-day
  keys space Return # "Show Tips at Startup." has the focus: turned off, then OK
fi
shot 03-main-window

# ---- the menus ----
keys alt+f
shot 04-menu-file
keys Escape Escape
keys alt+p
shot 05-menu-project
keys Escape Escape

# ---- a new project with a folder of headers ----
new_project Atelier 06
for sub in "Header Files" "Source Code" Output_Chs Output_GB5 Output_Eng; do
  wait_for 50 test -d "$project/$sub" || fail "the project has no folder $sub"
done
shot 09-new-project-made
take_in_headers "$fixtures/Atelier" 10-insert-live-folder
shot 11-headers-taken-in

# ---- the documentation, in the project's language ----
documentation_options
shot 12-documentation-options
keys Return
documentation_written test -f "$project/Output_Eng/Htmls/Index.htm"
shot 13-documentation-written

# ---- a header in the editor ----
open_file "$project/Header Files/Layer.h" 14-open-file
shot 15-editor-with-colouring

# ---- the About box ----
keys alt+h a
[ -n "$(window '^About Brambolt$')" ] || fail "the About box did not open"
shot 16-about
keys Escape
wait_for 50 gone '^About Brambolt$' || fail "the About box stayed open"

# ---- exit (the documentation options changed the project: saved), and a second start ----
exit_program
start
main=$(window '^Visual Brambolt')
[ -n "$main" ] || fail "the main window did not appear at the second start"
wait_for 60 gone '^SECSplashWnd$' || fail "the splash stayed up"
gone '^Tips Of Day$' || fail "the tip of the day came back after it was turned off"
shot 18-second-start
exit_program
no_errors
echo "passed; gallery in $gallery"
