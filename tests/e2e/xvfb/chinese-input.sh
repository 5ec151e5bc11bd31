#!/usr/bin/env bash
# Chinese typed through a real input method on X11: uim's pinyin engines served over XIM, in
# locales of the run's own, the program under GB2312 and then Big5. "zhongwen" is composed into
# the editor (the composition drawn by the input method at the editor's caret, the saved header
# holding the code page's bytes of the two characters) and into the Replace dialog's edit.
# usage: chinese-input.sh PROGRAM SMOKE_TOOL FIXTURES OUTPUT_FOLDER
source "$(dirname "$0")/desk.sh"

for needed in uim-xim localedef xprop; do
  if ! command -v "$needed" > /dev/null; then
    echo "skipped: $needed is not installed"
    exit 77
  fi
done
[ -f /usr/share/uim/py.scm ] && [ -f /usr/share/uim/pinyin-big5.scm ] || {
  echo "skipped: uim's pinyin engines are not installed"
  exit 77
}

# The locales the input method serves and the program talks to it in, made for this run alone.
export LOCPATH="$work/locales"
mkdir -p "$LOCPATH" "$work/uim"
for locale in zh_CN zh_TW; do
  localedef -i "$locale" -f UTF-8 "$LOCPATH/$locale.UTF-8" 2> /dev/null ||
    [ -f "$LOCPATH/$locale.UTF-8/LC_CTYPE" ] || fail "could not make the locale $locale.UTF-8"
done

# uim's XIM bridge with a pinyin engine, in its own home, ended by its process id.
uim_pid=""
eval "$(declare -f cleanup | sed '1s/^cleanup/display_cleanup/')"
cleanup() {
  [ -n "$uim_pid" ] && kill "$uim_pid" 2> /dev/null
  display_cleanup
}
input_method_up() { xprop -root XIM_SERVERS 2> /dev/null | grep -q "@server=uim"; }
start_input_method() {
  # On a loaded machine the bridge has ended at once, its connection to the display refused: it
  # is started again, up to three times, while one that runs is waited for.
  local attempt
  for attempt in 1 2 3; do
    (exec env HOME="$work/uim" LC_ALL="$2" uim-xim --engine="$1") > "$work/uim.out" 2>&1 &
    uim_pid=$!
    wait_for 100 eval 'input_method_up || ! kill -0 "$uim_pid" 2> /dev/null'
    input_method_up && kill -0 "$uim_pid" 2> /dev/null && return 0
    kill -0 "$uim_pid" 2> /dev/null && break
    sleep 1
  done
  fail "uim-xim did not start: $(cat "$work/uim.out")"
}
stop_input_method() {
  kill "$uim_pid" 2> /dev/null
  wait "$uim_pid" 2> /dev/null
  uim_pid=""
  xprop -root -remove XIM_SERVERS 2> /dev/null
}

# Shift+Space turns uim's engine on and off, per window.
ime_on() { keys shift+space; }
ime_off() { keys shift+space; }

# The box (LEFT TOP RIGHT BOTTOM) of the pixels that differ between two screenshots within a box,
# or nothing when none do.
changed_box() {
  diff <(png_colours "$1" "$3" "$4" "$5" "$6") <(png_colours "$2" "$3" "$4" "$5" "$6") | grep '^>' |
    awk 'NR == 1 { l = $2; t = $3; r = $2; b = $3 }
         { if ($2 < l) l = $2; if ($2 > r) r = $2; if ($3 < t) t = $3; if ($3 > b) b = $3 }
         END { if (NR) print l, t, r + 1, b + 1 }'
}
look() {
  sleep 0.4
  timeout 20 "$tool" shot "$work/$1.png" || fail "no screenshot $1"
  echo "$work/$1.png"
}
# The header's bytes as they should be: the original with Python bytes replacements applied.
expect_header() {
  python3 - "$work/original.h" "$work/expected.h" "$@" << 'PY'
import sys
text = open(sys.argv[1], 'rb').read()
for old, new in zip(sys.argv[3::2], sys.argv[4::2]):
    text = text.replace(eval(old), eval(new), 1)
open(sys.argv[2], 'wb').write(text)
PY
  wait_for 50 cmp -s "$work/expected.h" "$header" ||
    fail "the saved header is not as typed: $(cmp "$work/expected.h" "$header"; head -c 40 "$header" | od -c | head -3)"
}

# ---- GB2312: "zhongwen" composed at the end of Layer.h's second line ----
start_input_method py zh_CN.UTF-8
export XMODIFIERS=@im=uim LC_ALL=zh_CN.UTF-8 BRAMBOLT_CODEPAGE=936
start_program
frame_measured
new_project Atelier
take_in_headers "$fixtures/Atelier"
header="$project/Header Files/Layer.h"
cp "$header" "$work/original.h"
open_file "$header"
keys ctrl+Home Down End
before=$(look before)
ime_on
typed zhong
# uim draws what is being composed itself, at the spot the program gave it: the editor's caret,
# where the text stands once committed. Line 2 lies from y 113 to 132; "#ifndef LAYER_H" ends at
# x 444 (10 pixels a column from x 294), with the main window at 0,0 (frame_measured).
composition_shown() {
  composing=$(look composing)
  read -r left top right bottom <<< "$(changed_box "$before" "$composing" 280 80 1000 700)"
  [ -n "$left" ]
}
wait_for 30 composition_shown || fail "nothing is shown while composing"
cp "$composing" "$gallery/chinese-input-01-composing.png"
typed wen
keys space Return # the second candidate of "wen", committed
ime_off
near() { [ "$1" -ge $(($2 - 2)) ] && [ "$1" -le $(($2 + 2)) ]; }
text_committed() {
  read -r text_left text_top text_right text_bottom <<< \
    "$(changed_box "$before" "$(look committed)" 280 $((113 + oy)) 1000 $((132 + oy)))"
  [ -n "$text_left" ] && near "$text_left" $((444 + ox))
}
wait_for 30 text_committed || fail "the committed text starts at x $text_left, not at the caret (x $((444 + ox)))"
shot chinese-input-02-committed
near "$left" "$text_left" || fail "the composition stands at x $left, the caret at x $text_left"
[ "$top" -ge $((108 + oy)) ] && [ "$bottom" -le $((138 + oy)) ] && [ $((right - left)) -lt 40 ] ||
  fail "the composition is not on the caret's line: $left $top $right $bottom"

# ---- the Replace dialog's edit takes it too: LAYER_H replaced by the composed text ----
keys alt+e e
[ -n "$(window '^Replace$')" ] || fail "the Replace dialog did not open"
keys alt+n
typed 'LAYER_H'
keys alt+p
ime_on
typed zhongwen
keys space Return
ime_off
shot chinese-input-03-replace
keys alt+a # Replace All
[ -n "$(window '^Inkwright$')" ] || fail "no word on the replacements made"
keys Return
wait_for 50 gone '^Inkwright$' || fail "the replacements' box stayed open"
gone '^Replace$' || keys Escape
wait_for 50 gone '^Replace$' || fail "the Replace dialog stayed open"
keys alt+f s
gb="b'\\xd6\\xd0\\xce\\xc4'"
expect_header "b'#ifndef LAYER_H'" "b'#ifndef '+$gb+$gb" "b'#define LAYER_H'" "b'#define '+$gb"
exit_program
stop_input_method

# ---- Big5: the same under zh_TW with uim's Big5 pinyin table ----
start_input_method pinyin-big5 zh_TW.UTF-8
export LC_ALL=zh_TW.UTF-8 BRAMBOLT_CODEPAGE=950
cp "$header" "$work/original.h"
start_program
open_file "$header"
keys ctrl+Home
ime_on
typed zhongwen
keys space space Return # "wen": its third candidate
ime_off
shot chinese-input-04-big5
keys alt+f s
expect_header "b''" "b'\\xa4\\xa4\\xa4\\xe5'"
exit_program
no_errors
echo passed
