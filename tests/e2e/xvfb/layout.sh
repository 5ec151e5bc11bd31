#!/usr/bin/env bash
# The main window's layout on X11, arranged with the mouse: the Project Explorer and the toolbar
# dragged off the frame, docked on other sides and docked back by a double click on their
# caption; toolbar buttons moved with Alt and copied with Alt+Ctrl onto a toolbar of the user's
# own; workbook mode and full screen; a workspace saved, closed and opened again; and a second
# start that finds the bars where they were left.
# usage: layout.sh PROGRAM SMOKE_TOOL FIXTURES OUTPUT_FOLDER
source "$(dirname "$0")/desk.sh"

# A drag as a hand makes it (hand_drag), with modifier keys held when a fifth argument names them.
drag() {
  hand_drag "$@"
  # The pointer rests on the status bar, where no button is lit and no tip shows; the next press
  # is not taken for the second half of a double click.
  run mousemove 600 755
  sleep 0.6
}
pixel() { timeout 10 "$tool" pixel "$1" "$2"; }
# The top-left corner and size of a visible window: sets X Y WIDTH HEIGHT.
geometry() {
  local id
  id=$(window "$1")
  [ -n "$id" ] || fail "no window '$1'"
  eval "$(xdotool getwindowgeometry --shell "$id")"
}
# Whether a visible window covers a screen point.
covers() {
  geometry "$1"
  [ "$2" -ge "$X" ] && [ "$2" -lt "$((X + WIDTH))" ] && [ "$3" -ge "$Y" ] && [ "$3" -lt "$((Y + HEIGHT))" ]
}
# The explorer docked on a side: the black cross of its close button at that side's top corner,
# below the toolbar or, with the toolbar on the left, right below the menu bar (and on the left,
# beside the toolbar).
docked_on() {
  local places="255,101 255,63 302,63"
  [ "$1" = right ] && places="1007,101 1007,63"
  for place in $places; do
    [ "$(pixel "${place%,*}" "${place#*,}")" = 000000 ] && return 0
  done
  return 1
}
double_click_caption() {
  geometry "$1"
  run mousemove --sync "$((X + 30))" "$((Y + 9))"
  run click --repeat 2 --delay 80 1
}
title() { xdotool getwindowname "$main"; }
# The customised toolbar upright on the left, where it was dropped: Open first, New Project last.
toolbar_on_left() { [ "$(area 12 285 16 16)" = "$open_button" ] && [ "$(area 12 716 16 16)" = "$new_button" ]; }

start_program
new_project Sketchbook
take_in_headers "$fixtures/Atelier"
open_file "$project/Header Files/Circle.h"
open_file "$project/Header Files/Layer.h"
wait_for 50 eval '[[ "$(title)" == *"[Layer.h]"* ]]' || fail "Layer.h is not the active window: $(title)"
shot layout-01-documents-open
active_caption=$(screen_colours 300 10 301 11 | cut -d' ' -f3)
docked_on left || fail "the explorer does not start on the left"
new_button=$(area 18 62 16 16) open_button=$(area 49 62 16 16)

# ---- the explorer: floated by its gripper, docked back by a double click, docked on the right ----
drag 60 101 500 400
wait_for 50 covers '^Project Explorer$' 500 400 || fail "the explorer does not float where it was dropped"
docked_on left && fail "the explorer floats and still shows on the left"
shot layout-02-explorer-floating
double_click_caption '^Project Explorer$'
wait_for 50 gone '^Project Explorer$' || fail "a double click on the caption did not dock the explorer"
wait_for 20 docked_on left || fail "the explorer did not go back to the left"
drag 60 101 500 400
geometry '^Project Explorer$'
drag "$((X + 30))" "$((Y + 9))" 1016 400
wait_for 50 gone '^Project Explorer$' || fail "the explorer still floats after its drop on the right edge"
wait_for 20 docked_on right || fail "the explorer did not dock on the right"
shot layout-03-explorer-right

# ---- the toolbar: floated, docked back by a double click ----
menubar=$(area 5 26 300 20)
drag 12 70 400 300
wait_for 50 covers '^ToolBar$' 400 300 || fail "the toolbar does not float where it was dropped"
shot layout-04-toolbar-floating
double_click_caption '^ToolBar$'
wait_for 50 gone '^ToolBar$' || fail "a double click on the caption did not dock the toolbar"
wait_for 20 eval '[ "$(area 18 62 16 16)" = "$new_button" ]' || fail "the toolbar did not go back to the top"
wait_for 20 eval '[ "$(area 5 26 300 20)" = "$menubar" ]' || fail "the menu bar is not drawn as it was after the toolbar docked"

# ---- the toolbar customised with Alt: New Project moved to the end, Open copied onto a bar of its own ----
drag 26 70 508 70 alt
wait_for 20 eval '[ "$(area 18 62 16 16)" = "$open_button" ]' || fail "Alt did not move New Project away"
wait_for 20 eval '[ "$(area 488 62 16 16)" = "$new_button" ]' || fail "New Project is not at the end of the toolbar"
[ "$(area 5 26 300 20)" = "$menubar" ] || fail "the menu bar changed (menu mode?) after the Alt drag"
drag 26 70 400 450 alt+ctrl
wait_for 50 covers '^ToolBar1$' 400 450 || fail "Alt+Ctrl onto empty space made no user toolbar"
[ "$(area 18 62 16 16)" = "$open_button" ] || fail "the copy took Open off the toolbar"
geometry '^ToolBar1$'
user_bar="$X $Y"
shot layout-05-user-toolbar

# ---- the toolbar dragged onto the left side: upright there ----
drag 12 70 3 400
wait_for 20 toolbar_on_left || fail "the toolbar does not stand upright on the left"
shot layout-06-toolbar-left

# ---- workbook mode off and on again: the tabs of the documents go and come back ----
tabs=$(area 280 720 300 20)
keys alt+v w
wait_for 20 eval '[ "$(area 280 720 300 20)" != "$tabs" ]' || fail "the workbook's tabs stayed after View > Workbook Mode"
shot layout-07-workbook-mode-off
keys alt+v w
wait_for 20 eval '[ "$(area 280 720 300 20)" = "$tabs" ]' || fail "the workbook's tabs did not come back"
shot layout-08-workbook-mode

# ---- full screen, left with Escape ----
keys alt+v f
[ -n "$(window '^Full Screen$')" ] || fail "View > Full Screen showed no Full Screen bar"
covers_screen() {
  eval "$(xdotool getwindowgeometry --shell "$main")"
  [ "$Y" -le 0 ] && [ "$HEIGHT" -ge 768 ]
}
wait_for 50 covers_screen || fail "the main window does not cover the screen: $X,$Y ${WIDTH}x$HEIGHT"
shot layout-09-full-screen
keys Escape
wait_for 50 gone '^Full Screen$' || fail "Escape did not leave full screen"
wait_for 20 eval '[ "$(area 280 720 300 20)" = "$tabs" ]' || fail "the layout did not come back after full screen"

# ---- a workspace saved, everything closed, the workspace opened again ----
keys alt+t a
[ -n "$(window '^Save Workspace$')" ] || fail "Tools > Save Workspace As showed no dialog"
click_in '^Save Workspace$' 100 100
keys Insert
typed Day
shot layout-10-save-workspace
keys Return
[ -n "$(window '^Workspace Manager$')" ] || fail "the new workspace was not offered to be saved"
shot layout-11-save-workspace-question
keys Return
wait_for 50 gone '^Save Workspace$' || fail "the workspace dialog stayed open"
# The workspace is saved once the dialog has returned: its key is waited for in the store.
workspace_stored() { grep -qs 'Brambolt\\v2.0\\Day\\WorkState' "$work/registry/HKEY_CURRENT_USER.reg"; }
wait_for 50 workspace_stored || fail "the workspace was not written to the registry"
keys alt+t c
wait_for 50 eval '[[ "$(title)" != *"["* ]]' || fail "Tools > Close Workspace left a document open: $(title)"
shot layout-12-workspace-closed
# The explorer taken back to the left meanwhile: the workspace puts it on the right again.
drag 800 63 2 400
wait_for 20 docked_on left || fail "the explorer did not dock on the left"
keys alt+t o
[ -n "$(window '^Open Workspace$')" ] || fail "Tools > Open Workspace showed no dialog"
click_in '^Open Workspace$' 40 88
shot layout-13-open-workspace
click_in '^Open Workspace$' 324 44
wait_for 50 gone '^Open Workspace$' || fail "the workspace dialog stayed open"
wait_for 50 eval '[[ "$(title)" == *"[Layer.h]"* ]]' || fail "the workspace did not bring Layer.h back: $(title)"
wait_for 20 docked_on right || fail "the workspace did not put the explorer back on the right"
[ -n "$(window '^ToolBar1$')" ] || fail "the workspace did not bring the user toolbar back"
wait_for 20 toolbar_on_left || fail "the workspace did not put the toolbar back on the left"
shot layout-14-workspace-reopened

# ---- the next start: the bars where they were left ----
exit_program
start_program
wait_for 50 docked_on right || fail "the explorer is not on the right at the next start"
[ -n "$(window '^ToolBar1$')" ] || fail "the user toolbar did not come back at the next start"
user_bar_back() {
  geometry '^ToolBar1$'
  [ "$X $Y" = "$user_bar" ]
}
wait_for 50 user_bar_back || fail "the user toolbar came back at $X $Y, not at $user_bar"
wait_for 20 toolbar_on_left || fail "the toolbar is not on the left, as customised, at the next start"
shot layout-15-next-start
# The main window has the input: its caption shows active, as at the first start.
caption_active() {
  caption=$(screen_colours 300 10 301 11 | cut -d' ' -f3)
  [ "$caption" = "$active_caption" ]
}
wait_for 50 caption_active || fail "the main window's caption shows $caption at the next start, not $active_caption"
exit_program
no_errors
echo "passed; gallery in $gallery"
