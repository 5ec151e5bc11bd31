#!/usr/bin/env bash
# Esc and Alt+F4 pressed on X11 as a person presses them: the warning of a problem report sent
# without a name, whose one answer is OK, closes with either; a documentation run of many classes
# stops at Esc in its progress dialog, which has no control to focus, before every class has its
# pages, and what it wrote stays.
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
keys F5
[ -n "$(window '^Options$')" ] || fail "the documentation options did not open"
keys Return
wait_for 50 gone '^Options$' || fail "the options stayed open"
# The progress shows the page being written in its caption.
wait_for 600 shown '\.htm$' || fail "the documentation's progress did not show"
shot escape-01-documentation-running
wait_for 100 focused '\.htm$' || fail "the documentation's progress did not take the keyboard"
keys Escape
wait_for 600 main_alone || fail "Esc did not end the documentation's progress"
written=$(find "$project"/Output_*/Htmls -maxdepth 1 -name 'CShape*' -type d | wc -l)
[ "$written" -gt 0 ] || fail "the pages written before Esc were not kept"
[ "$written" -lt "$classes" ] || fail "the run documented all $classes classes after Esc"
shot escape-02-documentation-stopped
exit_program
no_errors
echo "passed ($written of $classes classes documented before Esc); gallery in $gallery"
