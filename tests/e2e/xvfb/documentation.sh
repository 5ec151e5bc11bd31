#!/usr/bin/env bash
# The documentation on X11: a drawing library's headers documented in English, Simplified and
# Traditional Chinese and read as a reader would (a page for every class, every local link leading
# to a file, every page in its code page), the hierarchy chart in the picture view, the HTML Help
# compiled; a Visual C++ 6 project imported and documented; the next start's recent projects and
# output language.
# usage: documentation.sh PROGRAM SMOKE_TOOL FIXTURES OUTPUT_FOLDER
source "$(dirname "$0")/desk.sh"

root=$(xdotool search --maxdepth 0 --name '')

# The classes a folder's headers declare at the top level: a nested class has no page of its own.
declared_classes() {
  sed -nE 's/\r$//; s/^(class|struct)[[:space:]]+([A-Za-z_][A-Za-z0-9_]*)[[:space:]]*(:[^;]*)?$/\2/p' "$1"/*
}

# True while no window of the program but the main one shows (the progress of a run has gone).
main_alone() {
  local others
  others=$(xdotool search --onlyvisible --maxdepth 1 --name '' 2> /dev/null | grep -vxE "$root|$main")
  [ -z "$others" ]
}

# Build > Write Documentation (F5): the output language picked in the Options dialog by typing its
# first letter, OK; done when the hierarchy chart is newer than STAMP and the progress has gone.
write_documentation() {
  local letter=$1 folder=$2 shot_name=$3
  local chart="$project/$folder/Htmls/Image2/A_Hierarchy_Chart.bmp"
  touch "$work/stamp"
  keys F5
  [ -n "$(window '^Options$')" ] || fail "the documentation options did not open"
  keys "$letter"
  shot "$shot_name"
  keys Return
  wait_for 50 gone '^Options$' || fail "the options stayed open"
  chart_written() { [ "$chart" -nt "$work/stamp" ]; }
  wait_for 300 chart_written || fail "no documentation was written into $folder"
  wait_for 300 main_alone || fail "the documentation's progress stayed up"
  sleep 0.2
  wait_for 100 main_alone || fail "a window came up after the documentation was written"
}

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
write_documentation s Output_Chs docs-03-options-simplified-chinese
check_documentation "$project/Output_Chs/Htmls" gb2312 "${classes[@]}"
write_documentation g Output_GB5 docs-04-options-traditional-chinese
shot docs-05-written-in-traditional-chinese
check_documentation "$project/Output_GB5/Htmls" big5 "${classes[@]}"

# ---- the hierarchy chart in the picture view ----
open_file "$project/Output_GB5/Htmls/Image2/A_Hierarchy_Chart.bmp"
title=$(xdotool getwindowname "$main")
[ "$title" = "Atelier - Visual Brambolt - [A_Hierarchy_Chart.bmp]" ] || fail "the picture view's title: $title"
shot docs-06-hierarchy-chart

# ---- Build > Automatic Generate HTML Help, its defaults taken: the .chm holds every page ----
if command -v chmcmd > /dev/null; then
  keys alt+b g
  [ -n "$(window '^HTML Help$')" ] || fail "the HTML Help dialog did not open"
  shot docs-07-html-help
  keys Return
  box=$(timeout 60 xdotool search --sync --onlyvisible --name '^Inkwright$' | head -n1)
  [ -n "$box" ] || fail "the compiler's output was not shown"
  shot docs-08-html-help-compiled
  keys Return
  wait_for 50 gone '^Inkwright$' || fail "the compiler's output stayed up"
  chm="$project/Output_GB5/Atelier.chm"
  [ -s "$chm" ] || fail "no Atelier.chm was compiled"
  if command -v chmls > /dev/null; then
    listing=$(cd / && chmls list "$chm")
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

exit_program
no_errors
echo "passed; gallery in $gallery"
