#!/usr/bin/env bash
# A header edited on X11: opened from the class view at a member, typing with the indentation
# kept, undo and redo, a regular-expression Replace All, a column block, saving, the project
# analysed again; then the file changed by another program, reloaded or asked about.
# usage: editor.sh PROGRAM SMOKE_TOOL FIXTURES OUTPUT_FOLDER
source "$(dirname "$0")/desk.sh"

# What a rectangle of a screenshot shows: "hash" prints a digest of its pixels, "ink" the number
# of its pixels that are not white (the background of the editor and the trees), "dark" the
# number of its nearly black pixels (glyphs on grey).
region() {
  local mode=$1
  png_colours "$2" "$3" "$4" $(($3 + $5)) $(($4 + $6)) | cut -d' ' -f3 | case $mode in
    hash) sha1sum | cut -d' ' -f1 ;;
    dark) LC_ALL=C awk '{ if (substr($0, 1, 2) < "40" && substr($0, 3, 2) < "40" && substr($0, 5, 2) < "40") n++ }
               END { print n + 0 }' ;;
    *) grep -cv '^FFFFFF$' ;;
  esac
}
# A screenshot for a check only, not for the gallery, a moment after the last input.
look() {
  sleep 0.2
  timeout 20 "$tool" shot "$work/$1.png" && echo "$work/$1.png"
}
# Tries a check on fresh screenshots until it holds, for a bounded time: what the program draws
# may lag the input.
seen() { wait_for 30 eval "$1"; }
# The editor opened at a member's line: its status pane in SHOT is the one the keys give at line
# LINE's first character, reached from the top of the file (which shows another pane first).
opened_at_line() {
  local at_member
  at_member=$(pane "$1")
  keys ctrl+Home
  seen '[ "$(pane "$(look at-top)")" != "$at_member" ]' || fail "the keys do not reach the editor"
  for i in $(seq $(($2 - 1))); do keys Down; done
  keys End Home
  seen '[ "$(pane "$(look keys-at-member)")" = "$at_member" ]' || fail "the editor did not open at $3's line"
}
# The editor's text: line N (from 1) lies at 94 + 15 (N - 1), a column is 8 pixels from x 294.
line_y() { echo $((94 + oy + 15 * ($1 - 1))); }
# The status bar's line and column pane.
pane() { region hash "$1" $((746 + rx)) $((746 + by)) 132 16; }
# A row of the class view from the top of the tree (CLayer's members start at row 16).
tree_row() { region hash "$1" $((112 + ox)) $((113 + oy + 20 * $2)) 126 16; }
title_has() { xdotool getwindowname "$main" | grep -q "$1"; }
saved_as() { cmp -s "$1" "$header" || fail "$2: $(diff <(tr -d '\r' < "$1") <(tr -d '\r' < "$header"))"; }

start_program
frame_measured
new_project Atelier
take_in_headers "$fixtures/Atelier"
header="$project/Header Files/Layer.h"
cp "$header" "$work/original.h"

# ---- the class view: CLayer expanded, a double-click on UpdateCache opens the header there ----
click_in '^Atelier - Visual Brambolt' 104 $((723 + by - oy)) # the explorer's Class tab
click_in '^Atelier - Visual Brambolt' 51 423  # CLayer's plus sign
seen '[ "$(region ink "$(look class-view)" $((112 + ox)) $((113 + oy + 20 * 27)) 126 16)" -gt 20 ]' || fail "CLayer's members do not show"
shot editor-01-class-view
before=$gallery/editor-01-class-view.png
run mousemove $((148 + ox)) $((643 + oy))
run click --repeat 2 --delay 80 1
wait_for 50 title_has 'Layer.h' || fail "Layer.h did not open: $(xdotool getwindowname "$main")"
# Maximised, the document's own buttons stand at the right end of the menubar.
seen '[ "$(region dark "$(look maximised)" $((995 + rx)) $((28 + oy)) 20 16)" -gt 20 ]' ||
  fail "the menubar does not show the maximised document's buttons"
shot editor-02-editor-at-member
# The same place reached by the keys from the top: line 17, column 5.
opened_at_line "$gallery/editor-02-editor-at-member.png" 17 UpdateCache

# ---- a new member: Return keeps the indentation; undo takes back the last word, redo brings it ----
keys End Return
typed "void Flatten();"
paren() { region ink "$1" $((430 + ox)) "$(line_y 18)" 16 15; } # the "()" after Flatten
seen '[ "$(paren "$(look typed)")" -gt 0 ]' || fail "the typing does not show"
shot editor-03-typed
keys ctrl+z
seen '[ "$(paren "$(look undone)")" -eq 0 ]' || fail "undo did not take the typing back"
keys ctrl+y
seen '[ "$(paren "$(look redone)")" -gt 0 ]' || fail "redo did not bring the typing back"

# ---- Edit > Replace: m_n<Name> becomes m_i<Name> by a regular expression, Replace All ----
keys alt+e e
[ -n "$(window '^Replace$')" ] || fail "the Replace dialog did not open"
keys alt+n
typed 'm_n([A-Za-z]+)'
keys alt+p
typed 'm_i$1'
keys alt+e # Regular expression
shot editor-04-replace-regex
keys alt+a # Replace All
[ -n "$(window '^Inkwright$')" ] || fail "no word on the replacements made"
shot editor-05-replaced
keys Return
wait_for 50 gone '^Inkwright$' || fail "the replacements' box stayed open"
gone '^Replace$' || keys Escape
wait_for 50 gone '^Replace$' || fail "the Replace dialog stayed open"

# ---- a column block over the indentation of the two private lines, dragged with Alt, deleted ----
run mousemove $((295 + ox)) "$(($(line_y 22) + 7))"
run keydown alt
run mousedown 1
for x in 300 310 320 326; do
  run mousemove "$((x + ox))" "$(($(line_y 23) + 7))"
  sleep 0.05
done
run mouseup 1
run keyup alt
seen '[ "$(region ink "$(look column-block)" $((296 + ox)) "$(line_y 22)" 28 30)" -gt 700 ]' ||
  fail "the column block is not shown selected"
shot editor-06-column-block
keys Delete
shot editor-07-after-edits

# ---- File > Save: the bytes on disk are the edits ----
keys alt+f s
python3 - "$work/original.h" "$work/expected.h" << 'PY'
import sys
text = open(sys.argv[1], 'rb').read()
text = text.replace(b'    void UpdateCache();\r\n', b'    void UpdateCache();\r\n\tvoid Flatten();\r\n')
text = text.replace(b'm_n', b'm_i').replace(b'    void Clear();\r\n    CArray', b'void Clear();\r\nCArray')
open(sys.argv[2], 'wb').write(text)
PY
wait_for 150 cmp -s "$work/expected.h" "$header"
saved_as "$work/expected.h" "the saved header is not the edited text"

# ---- the project closed and opened again is analysed anew: Flatten shows among the members ----
keys alt+f c
wait_for 50 eval '! title_has Layer.h' || fail "Close Project left the editor open"
keys alt+f j
[ -n "$(window '^Open$')" ] || fail "the Open dialog did not open"
keys alt+n
typed "$project/Atelier.dcp"
keys Return
wait_for 50 gone '^Open$' || fail "the Open dialog stayed open"
# The header open at the close comes back with the project, without a word.
wait_for 50 title_has '^Atelier - .*Layer.h' || fail "the project did not open again with Layer.h: $(xdotool getwindowname "$main")"
gone '^Inkwright$' || fail "a message came as the project opened again"
click_in '^Atelier - Visual Brambolt' 104 $((723 + by - oy))
click_in '^Atelier - Visual Brambolt' 51 423
seen '[ "$(tree_row "$(look class-view-after)" 28)" = "$(tree_row "$before" 27)" ]' || fail "~CLayer did not move down a row"
shot editor-08-class-view-after
after=$gallery/editor-08-class-view-after.png
# Sorted by name: a new member after Compare, GetLayerName and the rest one row down.
[ "$(tree_row "$after" 20)" = "$(tree_row "$before" 19)" ] || fail "GetLayerName did not move down a row"
[ "$(tree_row "$after" 28)" = "$(tree_row "$before" 27)" ] || fail "~CLayer did not move down a row"
[ "$(region ink "$after" $((112 + ox)) $((113 + oy + 20 * 19)) 126 16)" -gt 20 ] || fail "no new member after Compare"

# The new member opens the header at its line, as the keys find it: line 18, its first character.
run mousemove $((136 + ox)) $((503 + oy))
run click --repeat 2 --delay 80 1
wait_for 50 title_has 'Layer.h' || fail "Layer.h did not open from Flatten: $(xdotool getwindowname "$main")"
shot editor-09-editor-at-new-member
opened_at_line "$gallery/editor-09-editor-at-new-member.png" 18 Flatten

# ---- the header changed by another program while it is open beside Grid.h ----
open_file "$project/Header Files/Grid.h"
cp "$header" "$work/before-theirs.h"
# Another program appends a line; the watcher notes it, and the editor reads it again when the
# user comes back to the file, or asks first when the file holds edits.
theirs() { printf '%s\r\n' "$1" >> "$header"; }
to_file() {
  keys ctrl+F6
  wait_for 50 title_has "$1" || fail "Ctrl+F6 did not bring $1: $(xdotool getwindowname "$main")"
}
# Layer.h in front showing the other program's line, the last of the file (line 27): the user
# goes between the two files until the editor has read it.
shows_theirs() { [ "$(region ink "$(look reloaded)" $((294 + ox)) "$(line_y 27)" 72 15)" -gt 0 ]; }
reloaded_back() {
  for ((try = 0; try < 20; try++)); do
    to_file Layer.h
    shows_theirs && return 0
    to_file Grid.h
  done
  fail "the editor did not read Layer.h again"
}
# Edited: the question comes as the user comes back to Layer.h from Grid.h; answered, Layer.h is
# the active file.
asked() {
  local shot_name=$1 answer=$2 try
  to_file Grid.h
  for ((try = 0; try < 20; try++)); do
    keys ctrl+F6
    wait_for 10 eval "! gone '^Inkwright$'" && break
  done
  [ -n "$(window '^Inkwright$')" ] || fail "no question about the file changed outside the editor"
  [ -n "$shot_name" ] && shot "$shot_name"
  keys "$answer"
  wait_for 50 gone '^Inkwright$' || fail "the question stayed open"
  wait_for 50 title_has Layer.h || fail "Layer.h is not the active file after the question"
}
# Untouched: reloaded without a question; a line typed and saved lands above the other program's.
theirs "// theirs"
reloaded_back
keys ctrl+Home
typed "// mine"
keys Return
keys alt+f s
{ printf '// mine\r\n'; cat "$work/before-theirs.h"; printf '// theirs\r\n'; } > "$work/expected.h"
wait_for 150 cmp -s "$work/expected.h" "$header"
saved_as "$work/expected.h" "the untouched header was not reloaded"
gone '^Inkwright$' || fail "a question came for an untouched file"

# Edited: the program asks; No keeps the edit, and the save asks again before it writes over the
# other program's line: Yes.
typed "// edited"
keys Return
cp "$header" "$work/before-edit.h"
theirs "// theirs again"
asked editor-10-reload-question n
keys alt+f s
wait_for 50 eval "! gone '^Inkwright$'" || fail "the save wrote over the other program's line without a question"
keys y
wait_for 50 gone '^Inkwright$' || fail "the save's question stayed open"
{ printf '// mine\r\n// edited\r\n'; tail -c +10 "$work/before-edit.h"; } > "$work/expected.h"
wait_for 150 cmp -s "$work/expected.h" "$header"
saved_as "$work/expected.h" "No did not keep the edit"

# Edited again: Yes reads the file from disk; the edit is gone, the other program's line is there.
typed "// dropped"
keys Return
theirs "// theirs at last"
cp "$header" "$work/on-disk.h"
asked "" y
seen '[ "$(region ink "$(look reloaded-last)" $((294 + ox)) "$(line_y 30)" 120 15)" -gt 0 ]' ||
  fail "the editor does not show the other program's last line"
shot editor-11-reloaded
keys ctrl+Home
typed "// reloaded"
keys Return
keys alt+f s
{ printf '// reloaded\r\n'; cat "$work/on-disk.h"; } > "$work/expected.h"
wait_for 150 cmp -s "$work/expected.h" "$header"
saved_as "$work/expected.h" "Yes did not reload the file"

exit_program
no_errors
echo "passed; gallery in $gallery"
