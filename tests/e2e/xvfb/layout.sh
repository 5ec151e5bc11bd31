#!/usr/bin/env bash
# The main window's layout on X11, arranged with the mouse: the Project Explorer and the toolbar
# dragged off the frame, docked on other sides and docked back by a double click on their
# caption; toolbar buttons moved with Alt and copied with Alt+Ctrl onto a toolbar of the user's
# own; workbook mode and full screen; a workspace saved, closed and opened again; and a second
# start that finds the bars where they were left.
# usage: layout.sh PROGRAM SMOKE_TOOL FIXTURES OUTPUT_FOLDER
source "$(dirname "$0")/desk.sh"

# The places below are those of a main window at 0,0 as large as the screen (frame_measured).
# A drag as a hand makes it (hand_drag), with modifier keys held when a fifth argument names them.
drag() {
  hand_drag "$@"
  # The pointer rests on the status bar, where no button is lit and no tip shows; the next press
  # is not taken for the second half of a double click.
  run mousemove 600 $((755 + by))
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
  local places="$((255 + ox)),$((101 + oy)) $((255 + ox)),$((63 + oy)) $((302 + ox)),$((63 + oy))"
  [ "$1" = right ] && places="$((1007 + rx)),$((101 + oy)) $((1007 + rx)),$((63 + oy))"
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
# Where it docks along the side follows the drop and the saved layout: its buttons are looked for
# down the strip along the frame's left edge (the rows where a 16x16 picture of that digest
# starts, one a line).
rows_showing() {
  screen_colours "$((12 + ox))" 0 "$((28 + ox))" 768 | python3 -c '
import hashlib, sys
rows = {}
for line in sys.stdin:
    x, y, colour = line.split()
    rows.setdefault(int(y), []).append(colour + "\n")
for digest in sys.argv[1:]:
    found = [y for y in sorted(rows) if y + 16 in rows and hashlib.md5(
        "".join(c for r in range(y, y + 16) for c in rows[r]).encode()).hexdigest() == digest]
    print(" ".join(map(str, found)) or "-")' "$@"
}
toolbar_on_left() {
  local open new
  { read -r open && read -r new; } < <(rows_showing "$open_button" "$new_button")
  [ "$open" != - ] && [ "$new" != - ] && [ "${open%% *}" -lt "${new%% *}" ]
}
# The toolbar's first button (New Project, then Open) and its place after the customising.
first_button() { area $((18 + ox)) $((62 + oy)) 16 16; }
menubar_picture() { area $((5 + ox)) $((26 + oy)) 300 20; }
tabs_picture() { area $((280 + ox)) $((720 + by)) 300 20; }
caption_colour() { screen_colours $((300 + ox)) $((10 + oy)) $((301 + ox)) $((11 + oy)) | cut -d' ' -f3; }

start_program
frame_measured
new_project Sketchbook
take_in_headers "$fixtures/Atelier"
open_file "$project/Header Files/Circle.h"
open_file "$project/Header Files/Layer.h"
wait_for 50 eval '[[ "$(title)" == *"[Layer.h]"* ]]' || fail "Layer.h is not the active window: $(title)"
shot layout-01-documents-open
active_caption=$(caption_colour)
docked_on left || fail "the explorer does not start on the left"
new_button=$(first_button) open_button=$(area $((49 + ox)) $((62 + oy)) 16 16)

# ---- the explorer: floated by its gripper, docked back by a double click, docked on the right ----
drag $((60 + ox)) $((101 + oy)) 500 400
wait_for 50 covers '^Project Explorer$' 500 400 || fail "the explorer does not float where it was dropped"
docked_on left && fail "the explorer floats and still shows on the left"
shot layout-02-explorer-floating
double_click_caption '^Project Explorer$'
wait_for 50 gone '^Project Explorer$' || fail "a double click on the caption did not dock the explorer"
wait_for 20 docked_on left || fail "the explorer did not go back to the left"
drag $((60 + ox)) $((101 + oy)) 500 400
geometry '^Project Explorer$'
drag "$((X + 30))" "$((Y + 9))" $((1016 + rx)) 400
wait_for 50 gone '^Project Explorer$' || fail "the explorer still floats after its drop on the right edge"
wait_for 20 docked_on right || fail "the explorer did not dock on the right"
shot layout-03-explorer-right

# ---- the toolbar: floated, docked back by a double click ----
menubar=$(menubar_picture)
drag $((12 + ox)) $((70 + oy)) 400 300
wait_for 50 covers '^ToolBar$' 400 300 || fail "the toolbar does not float where it was dropped"
shot layout-04-toolbar-floating
double_click_caption '^ToolBar$'
wait_for 50 gone '^ToolBar$' || fail "a double click on the caption did not dock the toolbar"
wait_for 20 eval '[ "$(first_button)" = "$new_button" ]' || fail "the toolbar did not go back to the top"
wait_for 20 eval '[ "$(menubar_picture)" = "$menubar" ]' || fail "the menu bar is not drawn as it was after the toolbar docked"

# ---- the toolbar customised with Alt: New Project moved to the end, Open copied onto a bar of its own ----
drag $((26 + ox)) $((70 + oy)) $((508 + ox)) $((70 + oy)) alt
wait_for 20 eval '[ "$(first_button)" = "$open_button" ]' || fail "Alt did not move New Project away"
wait_for 20 eval '[ "$(area $((488 + ox)) $((62 + oy)) 16 16)" = "$new_button" ]' ||
  fail "New Project is not at the end of the toolbar"
[ "$(menubar_picture)" = "$menubar" ] || fail "the menu bar changed (menu mode?) after the Alt drag"
drag $((26 + ox)) $((70 + oy)) 400 450 alt+ctrl
wait_for 50 covers '^ToolBar1$' 400 450 || fail "Alt+Ctrl onto empty space made no user toolbar"
[ "$(first_button)" = "$open_button" ] || fail "the copy took Open off the toolbar"
geometry '^ToolBar1$'
user_bar="$X $Y"
shot layout-05-user-toolbar

# ---- the toolbar dragged onto the left side: upright there ----
drag $((12 + ox)) $((70 + oy)) $((3 + ox > 0 ? 3 + ox : 0)) 400
wait_for 20 toolbar_on_left || fail "the toolbar does not stand upright on the left"
shot layout-06-toolbar-left

# ---- workbook mode off and on again: the tabs of the documents go and come back ----
tabs=$(tabs_picture)
keys alt+v w
wait_for 20 eval '[ "$(tabs_picture)" != "$tabs" ]' || fail "the workbook's tabs stayed after View > Workbook Mode"
shot layout-07-workbook-mode-off
keys alt+v w
wait_for 20 eval '[ "$(tabs_picture)" = "$tabs" ]' || fail "the workbook's tabs did not come back"
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
wait_for 20 eval '[ "$(tabs_picture)" = "$tabs" ]' || fail "the layout did not come back after full screen"

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
drag $((800 + rx)) $((63 + oy)) $((2 + ox > 0 ? 2 + ox : 0)) 400
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
frame_measured
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
  caption=$(caption_colour)
  [ "$caption" = "$active_caption" ]
}
wait_for 50 caption_active || fail "the main window's caption shows $caption at the next start, not $active_caption"
exit_program
no_errors
echo "passed; gallery in $gallery"
