#!/usr/bin/env bash
# Esc and Alt+F4 pressed on X11 as a person presses them: the warning of a problem report sent
# without a name, whose one answer is OK, closes with either; a documentation run of many classes
# stops at Esc in its progress dialog, which has no control to focus, before every class has its
# pages, and what it wrote stays; Print Preview and full screen, each closed with Esc beside the
# Project Explorer floated in the main window, give the document its window and the keyboard back;
# a Print Preview opened in full screen and closed by Esc leaves the program full screen for the
# desktop.
# usage: escape.sh PROGRAM SMOKE_TOOL FIXTURES OUTPUT_FOLDER
source "$(dirname "$0")/desk.sh"

start_program

# ---- an OK box: Esc, then Alt+F4 ----
keys alt+h p
[ -n "$(window '^Technical Support$')" ] || fail "Help > Technical Support showed no form"
for key in Escape alt+F4; do
  click_in '^Technical Support$' 308 477 # Send, with no name given
  [ -n "$(window '^Inkwright$')" ] || fail "a report without a name was sent without a word"
  wait_for 100 focused '^Inkwright$' || fail "the warning did not take the keyboard"
  keys "$key"
  wait_for 50 gone '^Inkwright$' || fail "$key did not close the warning"
  shown '^Technical Support$' || fail "$key closed the form with the warning"
done
wait_for 100 focused '^Technical Support$' || fail "the form did not take the keyboard back"
keys Escape
wait_for 50 gone '^Technical Support$' || fail "Esc did not close the form"

# ---- a documentation run stopped by Esc ----
new_project Many
# As many classes as the hierarchy chart shows whole (more would add a message about its cut),
# each with pages enough that the run lasts well beyond the time a busy machine takes to pass Esc
# on to the program.
classes=3000
members='    int m_nSide;\n    int m_nColour;\n    int m_nWidth;\n    void Draw();\n    void Move();\n'
members+='    void Scale();\n    void Rotate();\n    void Hide();\n    void Show();\n    void Erase();\n'
mkdir -p "$work/shapes"
for ((f = 0; f < 30; f++)); do
  for ((c = 0; c < classes / 30; c++)); do
    printf "class CShape%d_%d\\n{\\npublic:\\n$members};\\n\\n" "$f" "$c"
  done > "$work/shapes/Shapes$f.h"
done
take_in_headers "$work/shapes"
documentation_options
keys Return
wait_for 50 gone '^Options$' || fail "the options stayed open"
# The progress shows the page being written in its caption.
wait_for 600 shown '\.htm$' || fail "the documentation's progress did not show"
shot escape-01-documentation-running
wait_for 100 focused '\.htm$' || fail "the documentation's progress did not take the keyboard"
keys Escape
wait_for 600 main_alone || fail "Esc did not end the documentation's progress"
# A run stopped ends as one done: the pages written kept, the Output tab brought to the front.
class_pages() { find "$project"/Output_*/Htmls -maxdepth 1 -name 'CShape*' -type d 2> /dev/null; }
documentation_written eval '[ -n "$(class_pages)" ]'
written=$(class_pages | wc -l)
[ "$written" -gt 0 ] || fail "the pages written before Esc were not kept"
[ "$written" -lt "$classes" ] || fail "the run documented all $classes classes after Esc"
shot escape-02-documentation-stopped

# ---- Print Preview closed by Esc beside the explorer floated in the main window ----
# The explorer's window in the documents' area is shown again as the preview closes; the document
# whose window was active before the preview keeps it and the keyboard.
title() { xdotool getwindowname "$main"; }
saved_with() { grep -q "$2" "$1" 2> /dev/null; }
frame_measured
source_file="$work/beside.cpp"
printf 'int beside;\n' > "$source_file"
open_file "$source_file"
# The explorer's gripper menu, its last item: Float In Main Window. Beside the maximised document
# the explorer's window comes in front, maximised; Ctrl+F6 brings the document back.
run mousemove $((60 + ox)) $((101 + oy))
sleep 0.1
run click 3
shot escape-03-explorer-menu
keys Up Return
wait_for 100 eval '[[ "$(title)" == *"[Project Explorer]"* ]]' || fail "the explorer did not float in the main window: $(title)"
# The document's window active again after a mode (named by $1), and what is typed into it saved.
document_types_after() {
  [[ "$(title)" == *"[beside.cpp]"* ]] || fail "after $1 the active window is $(title)"
  typed "/*after $1*/"
  keys alt+f s # File > Save
  wait_for 100 saved_with "$source_file" "after $1" || fail "what was typed after $1 was lost"
}
keys ctrl+F6
wait_for 100 eval '[[ "$(title)" == *"[beside.cpp]"* ]]' || fail "Ctrl+F6 did not bring the document back: $(title)"
# The preview's grey around its page where the editor is white.
left_of_page() { timeout 10 "$tool" pixel $((30 + ox)) $((400 + oy)); }
editor=$(left_of_page)
keys alt+f v
wait_for 100 eval '[ "$(left_of_page)" != "$editor" ]' || fail "File > Print Preview showed no preview"
shot escape-04-print-preview
keys Escape
wait_for 100 eval '[ "$(left_of_page)" = "$editor" ]' || fail "Esc did not close the preview"
shot escape-05-after-print-preview
document_types_after "the preview"

# ---- full screen left by Esc beside the explorer floated in the main window ----
# The explorer stays in its window of the documents' area; the document keeps its window and the
# keyboard.
keys alt+v f
wait_for 100 shown '^Full Screen$' || fail "View > Full Screen showed no Full Screen bar"
shot escape-06-full-screen
keys Escape
wait_for 100 gone '^Full Screen$' || fail "Esc did not leave full screen"
shot escape-07-after-full-screen
document_types_after "full screen"

# ---- Print Preview from full screen, closed by Esc: the desktop still sees full screen ----
full_screen_state() {
  [ -z "${BRAMBOLT_WINDOW_MANAGER:-}" ] || xprop -id "$main" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN
}
keys alt+v f
wait_for 100 shown '^Full Screen$' || fail "View > Full Screen showed no Full Screen bar"
wait_for 100 full_screen_state || fail "full screen is not full screen for the desktop"
editor=$(left_of_page)
keys alt+f v
wait_for 100 eval '[ "$(left_of_page)" != "$editor" ]' || fail "File > Print Preview in full screen showed no preview"
shot escape-08-print-preview-in-full-screen
full_screen_state || fail "in the preview the desktop no longer sees full screen: $(xprop -id "$main" _NET_WM_STATE)"
keys Escape
wait_for 100 eval '[ "$(left_of_page)" = "$editor" ]' || fail "Esc did not close the preview in full screen"
shown '^Full Screen$' || fail "Esc left full screen under the preview"
full_screen_state || fail "after the preview the desktop no longer sees full screen: $(xprop -id "$main" _NET_WM_STATE)"
shot escape-09-after-print-preview-in-full-screen
keys Escape
wait_for 100 gone '^Full Screen$' || fail "Esc did not leave full screen after the preview"

exit_program
no_errors
echo "passed ($written of $classes classes documented before Esc); gallery in $gallery"
