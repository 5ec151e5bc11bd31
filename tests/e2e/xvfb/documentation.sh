#!/usr/bin/env bash
# The documentation on X11: a drawing library's headers documented in English, Simplified and
# Traditional Chinese and read as a reader would (a page for every class, every local link leading
# to a file, every page in its code page), the hierarchy chart in the picture view, the HTML Help
# compiled; a Visual C++ 6 project imported and documented; the next start's recent projects and
# output language.
# usage: documentation.sh PROGRAM SMOKE_TOOL FIXTURES OUTPUT_FOLDER
source "$(dirname "$0")/desk.sh"

# The classes a folder's headers declare at the top level: a nested class has no page of its own.
declared_classes() {
  sed -nE 's/\r$//; s/^(class|struct)[[:space:]]+([A-Za-z_][A-Za-z0-9_]*)[[:space:]]*(:[^;]*)?$/\2/p' "$1"/*
}

# Build > Write Documentation (F5): the output language picked in the Options dialog (CHOOSE: a
# first letter typed, "click:N" the Nth item of the dropped list clicked, "-" the one offered),
# the shot taken, the KEYS after it pressed, OK; done when the command has ended, the hierarchy
# chart of FOLDER written anew. Sets options (the dialog's place: x y).
write_documentation() {
  local choose=$1 folder=$2 shot_name=$3
  shift 3
  chart="$project/$folder/Htmls/Image2/A_Hierarchy_Chart.bmp"
  touch "$work/stamp"
  documentation_options
  eval "$(xdotool getwindowgeometry --shell "$options_dialog")"
  options="$X $Y"
  case $choose in
    -) ;;
    click:*)
      click_in '^Options$' 247 42 # the language box's arrow
      shot "$shot_name-list"
      click_in '^Options$' 120 $((48 + 13 * ${choose#click:}))
      ;;
    *) keys "$choose" ;;
  esac
  shot "$shot_name"
  [ $# -gt 0 ] && keys "$@"
  keys Return
  wait_for 50 gone '^Options$' || fail "the options stayed open"
  documentation_written chart_written
}
chart_written() { [ "$chart" -nt "$work/stamp" ]; }

# What a rectangle (X Y WIDTH HEIGHT) of a screenshot shows: with "sum" a checksum of its colours
# (two shots show the same there when their checksums agree), with "colours" how many it holds.
region() {
  python3 - "$@" << 'EOF'
import hashlib, struct, sys, zlib
mode, path, x, y, w, h = sys.argv[1], sys.argv[2], *map(int, sys.argv[3:7])
data = open(path, 'rb').read()
pos, idat, width = 8, b'', 0
while pos < len(data):
    length, kind = struct.unpack('>I4s', data[pos:pos + 8])
    if kind == b'IHDR': width = struct.unpack('>I', data[pos + 8:pos + 12])[0]
    if kind == b'IDAT': idat += data[pos + 8:pos + 8 + length]
    pos += 12 + length
raw, stride, rows, prev = zlib.decompress(idat), width * 3, [], bytearray(width * 3)
for r in range(y + h):
    f, line = raw[r * (stride + 1)], bytearray(raw[r * (stride + 1) + 1:(r + 1) * (stride + 1)])
    for i in range(stride):
        a, b, c = (line[i - 3] if i >= 3 else 0), prev[i], (prev[i - 3] if i >= 3 else 0)
        if f == 1: line[i] = (line[i] + a) & 255
        elif f == 2: line[i] = (line[i] + b) & 255
        elif f == 3: line[i] = (line[i] + (a + b) // 2) & 255
        elif f == 4:
            pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
            line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
    rows.append(bytes(line[x * 3:(x + w) * 3]))
    prev = line
pixels = b''.join(rows[y:])
if mode == 'sum':
    print(hashlib.md5(pixels).hexdigest())
else:
    print(len({pixels[i:i + 3] for i in range(0, len(pixels), 3)}))
EOF
}

# The language box of the Options dialog, a rectangle from the dialog's corner.
language_box() { region sum "$gallery/$1.png" $(($2 + 80)) $(($3 + 35)) 176 18; }

# What a reader of the pages under HTMLS checks: each class named after CODEPAGE has its page,
# every page declares CODEPAGE and decodes in it, and every local link (href or src) leads to a file.
check_documentation() {
  local htmls=$1 codepage=$2
  shift 2
  local class page target pages=0 links=0
  for class in "$@"; do
    [ -f "$htmls/$class/$class.htm" ] || fail "$htmls: the class $class has no page"
  done
  while IFS= read -r -d '' page; do
    pages=$((pages + 1))
    grep -qi "charset=$codepage\"" "$page" || fail "$page does not declare $codepage"
    iconv -f "$codepage" -t UTF-8 "$page" > /dev/null 2>&1 || fail "$page does not decode as $codepage"
    while IFS= read -r target; do
      case $target in '' | '#'* | *:*) continue ;; esac
      target=${target%%#*}
      target=${target//\\//}
      links=$((links + 1))
      [ -e "$(dirname "$page")/$target" ] || fail "$page links to $target, which is not there"
    done < <(grep -oiE '(href|src)[[:space:]]*=[[:space:]]*"[^"]*"' "$page" | sed -E 's/^[^"]*"//; s/"$//')
  done < <(find "$htmls" -name '*.htm' -print0)
  [ "$pages" -gt "$#" ] || fail "$htmls holds only $pages pages"
  [ "$links" -gt "$pages" ] || fail "$htmls: only $links links in $pages pages"
  [ "$(head -c 2 "$htmls/Image2/A_Hierarchy_Chart.bmp")" = BM ] || fail "$htmls: the hierarchy chart is no bitmap"
  echo "$htmls: $pages pages, $links links, in $codepage"
}

# ---- a project of the drawing library's headers, documented in the three languages ----
start_program
new_project Atelier
take_in_headers "$fixtures/Atelier"
mapfile -t classes < <(declared_classes "$fixtures/Atelier")
[ "${#classes[@]}" -eq 32 ] || fail "the fixture declares ${#classes[@]} classes, not 32"

write_documentation e Output_Eng docs-01-options-english
shot docs-02-written-in-english
check_documentation "$project/Output_Eng/Htmls" iso-8859-1 "${classes[@]}"
write_documentation click:1 Output_Chs docs-03-options-simplified-chinese
check_documentation "$project/Output_Chs/Htmls" gb2312 "${classes[@]}"
write_documentation g Output_GB5 docs-04-options-traditional-chinese
traditional=$options
shot docs-05-written-in-traditional-chinese
check_documentation "$project/Output_GB5/Htmls" big5 "${classes[@]}"

# ---- the hierarchy chart in the picture view ----
open_file "$project/Output_GB5/Htmls/Image2/A_Hierarchy_Chart.bmp"
title=$(xdotool getwindowname "$main")
[ "$title" = "Atelier - Visual Brambolt - [A_Hierarchy_Chart.bmp]" ] || fail "the picture view's title: $title"
shot docs-06-hierarchy-chart
# A header chosen in the picture window's own Open is said to be no picture, and the chart stays.
keys ctrl+o
wait_for 50 shown '^Open a picture file$' || fail "the picture window's Open did not come up"
keys alt+n
typed "$fixtures/Atelier/BrushStyle.h"
keys Return
wait_for 50 shown '^CPicture Error$' || fail "a header opened as a picture without a word"
shot docs-06-no-picture
keys Return
wait_for 50 gone '^CPicture Error$' || fail "the picture message stayed up"
title=$(xdotool getwindowname "$main")
[ "$title" = "Atelier - Visual Brambolt - [A_Hierarchy_Chart.bmp]" ] || fail "a header replaced the chart: $title"

# ---- Build > Automatic Generate HTML Help, its defaults taken: the .chm holds every page ----
if command -v chmcmd > /dev/null; then
  keys alt+b g
  [ -n "$(window '^HTML Help$')" ] || fail "the HTML Help dialog did not open"
  shot docs-07-html-help
  keys Return
  # The compiler runs beside the main window, in a window of its own that shows what it writes and
  # then the result, until it is closed.
  [ -n "$(window '^HTML Help Compiler$')" ] || fail "the compiler's window did not open"
  # The compiler is given a working copy of the project (.Atelier.hhp.compiling<pid>.<hex>.hhp).
  compiling() { pgrep -f "$project/Output_GB5/\.?Atelier\.hhp" > /dev/null; }
  wait_for 600 eval '! compiling' || fail "the compiler did not end"
  sleep 0.5
  shot docs-08-html-help-compiled
  keys Escape
  wait_for 50 gone '^HTML Help Compiler$' || fail "the compiler's window stayed up"
  chm="$project/Output_GB5/Atelier.chm"
  [ -s "$chm" ] || fail "no Atelier.chm was compiled"
  if command -v chmls > /dev/null; then
    listing=$(cd / && chmls list "$chm" 2> /dev/null)
    count=0
    while IFS= read -r page; do
      count=$((count + 1))
      grep -qF "/Htmls/${page#"$project/Output_GB5/Htmls/"}" <<< "$listing" || fail "Atelier.chm does not hold $page"
    done < <(find "$project/Output_GB5/Htmls" -name '*.htm')
    echo "Atelier.chm holds all $count pages"
  fi
else
  echo "chmcmd is not installed: the HTML Help is not compiled"
fi

# ---- a Visual C++ 6 project imported through the Project menu and documented ----
new_project Sketch
keys alt+p p # Insert Files from MSVC Project
[ -n "$(window '^Open$')" ] || fail "the import's file dialog did not open"
keys alt+n
typed "$fixtures/Sketch/Sketch.dsp"
shot docs-09-import-msvc-project
keys Return
wait_for 50 gone '^Open$' || fail "the import's file dialog stayed open"
imported() {
  [ "$(ls "$project/Header Files" | tr '\n' ' ')" = "Sketch.h SketchDoc.h StdAfx.h " ] &&
    [ "$(ls "$project/Source Code" | tr '\n' ' ')" = "Sketch.cpp SketchDoc.cpp StdAfx.cpp " ]
}
wait_for 100 imported || fail "the project's files were not imported: $(ls "$project"/*)"
# A file listed may still be being copied: each is waited for whole.
for file in "$project/Header Files"/* "$project/Source Code"/*; do
  wait_for 50 cmp -s "$file" "$fixtures/Sketch/$(basename "$file")" || fail "$(basename "$file") was not copied whole"
done
click_in '^Sketch - Visual Brambolt$' 104 723 # the explorer's Class tab
shot docs-10-imported-classes
write_documentation e Output_Eng docs-11-options-imported-project
mapfile -t sketch_classes < <(declared_classes "$fixtures/Sketch")
[ "${#sketch_classes[@]}" -ge 3 ] || fail "the Sketch fixture declares ${#sketch_classes[@]} classes"
check_documentation "$project/Output_Eng/Htmls" iso-8859-1 "${sketch_classes[@]}"
# Its hierarchy chart opened from the explorer's output tree, which the run brought to the front:
# Diagrams opened (its row below changes as the chart shows under it), a double click on the chart.
chart_row=$(area 150 175 120 16)
click_in '^Sketch - Visual Brambolt$' 51 163
wait_for 50 eval '[ "$(area 150 175 120 16)" != "$chart_row" ]' || fail "Diagrams did not open in the output tree"
click_in '^Sketch - Visual Brambolt$' 170 183
run click 1
chart_shown() { [ "$(xdotool getwindowname "$main")" = "Sketch - Visual Brambolt - [A_Hierarchy_Chart.bmp]" ]; }
wait_for 50 chart_shown || fail "the chart did not open from the output tree: $(xdotool getwindowname "$main")"
shot docs-12-chart-from-output-tree
# The picture view shows the chart: boxes and text, not an empty page.
colours=$(region colours "$gallery/docs-12-chart-from-output-tree.png" 290 100 700 590)
[ "$colours" -ge 3 ] || fail "the picture view shows $colours colours"

# ---- the next start: both projects in File > Recent Workspaces, each with its language ----
exit_program
start_program
keys alt+f r r Right # File > Recent Workspaces
shot docs-13-recent-projects
keys 2
wait_for 50 eval '[ "$(xdotool getwindowname "$main")" = "Atelier - Visual Brambolt" ]' ||
  fail "Atelier did not open from the recent list: $(xdotool getwindowname "$main")"
project="$work/projects/Atelier"
# The language chosen last for it is offered, and the pages go to its folder.
# Rewrite All Documentations checked by its mnemonic, which Private (variables) shares: the first
# Alt+A goes to Private, the second to Rewrite All, Space checks it. The folder is emptied (a page
# left from before goes) and written again whole, private variables and all.
echo "<html></html>" > "$project/Output_GB5/Htmls/Old.htm"
write_documentation - Output_GB5 docs-14-options-after-restart alt+a alt+a space
old_pages=$(find "$project/Output_GB5/Htmls" -type f ! -newer "$work/stamp" | head -3)
[ -z "$old_pages" ] || fail "Rewrite All left pages of before: $old_pages"
[ ! -e "$project/Output_GB5/Htmls/Old.htm" ] || fail "Rewrite All did not empty the folder"
[ -f "$project/Output_GB5/Htmls/CGrid/Member Vars/m_gridIds.htm" ] || fail "a private variable lost its page"
check_documentation "$project/Output_GB5/Htmls" big5 "${classes[@]}"
[ "$(language_box docs-14-options-after-restart $options)" = "$(language_box docs-04-options-traditional-chinese $traditional)" ] ||
  fail "the Options dialog does not offer the language chosen last (see docs-14-options-after-restart)"
for folder in Output_Eng Output_Chs; do
  [ "$project/$folder/Htmls/Image2/A_Hierarchy_Chart.bmp" -nt "$work/stamp" ] && fail "the pages went to $folder too"
done
# Opened, Atelier went to the top of the list: Sketch is the second now.
keys alt+f r r Right 2
wait_for 50 eval '[ "$(xdotool getwindowname "$main")" = "Sketch - Visual Brambolt" ]' ||
  fail "Sketch did not open from the recent list: $(xdotool getwindowname "$main")"
shot docs-15-recent-project-opened

exit_program
no_errors
echo "passed; gallery in $gallery"
