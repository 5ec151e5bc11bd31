#!/usr/bin/env bash
# Starts visual-brambolt under xvfb-run in a private home, waits for its main window, asks it to
# close as a window manager would, and expects a clean exit with nothing on standard error.
# Without a display it must refuse in one line that names xvfb-run, and never hang.
# Exits 77 (skipped) when xvfb-run or xdotool is missing.
# The screenshot of the main window is left in the output folder.
# usage: run-visual-brambolt.sh PROGRAM SMOKE_TOOL OUTPUT_FOLDER
set -uo pipefail

program=$1 tool=$2 out=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home BRAMBOLT_REGISTRY_DIR=$work/registry XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
mkdir -p "$HOME" "$BRAMBOLT_REGISTRY_DIR"
# The tip of the day stays off: its modal dialog would hold the start.
cat > "$BRAMBOLT_REGISTRY_DIR/HKEY_CURRENT_USER.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Mirelund Software\Visual Brambolt\Chinese\IDE3.30\Brambolt\Tip]
"ShowAtStartup"=dword:00000000
REG

fail() {
  echo "FAILED: $*"
  for f in "$work"/*.out "$work"/*.err; do [ -s "$f" ] && sed "s|^|  $(basename "$f"): |" "$f"; done
  exit 1
}

# No display: one line, a non-zero exit, at once.
env -u DISPLAY BRAMBOLT_BACKEND= timeout 20 "$program" > "$work/nodisplay.out" 2> "$work/nodisplay.err"
status=$?
[ "$status" -ne 0 ] && [ "$status" -ne 124 ] || fail "without a display the program exited with $status"
[ "$(wc -l < "$work/nodisplay.err")" -eq 1 ] && grep -q 'xvfb-run ./tools/run-app' "$work/nodisplay.err" ||
  fail "without a display the program did not say how to run it"

for needed in xvfb-run xdotool; do
  if ! command -v "$needed" > /dev/null; then
    echo "skipped: $needed is not installed"
    exit 77
  fi
done

cat > "$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
program=$1 tool=$2 work=$3
"$program" > "$work/program.out" 2> "$work/program.err" &
pid=$!
window=""
for ((i = 0; i < 300; i++)); do
  window=$(xdotool search --onlyvisible --name 'Brambolt' 2> /dev/null | head -n1)
  [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "no main window" > "$work/session.err"
  kill "$pid"
  exit 1
fi
sleep 1
"$tool" shot "$work/visual-brambolt.png" > /dev/null 2>&1
# Asked again while a splash still holds the window disabled.
for ((i = 0; i < 200; i++)); do
  ((i % 10 == 0)) && "$tool" close "$window" > /dev/null 2>&1
  kill -0 "$pid" 2> /dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2> /dev/null; then
  echo "the program did not end after its window was closed" > "$work/session.err"
  kill "$pid"
  exit 1
fi
wait "$pid"
SESSION
chmod +x "$work/session.sh"
BRAMBOLT_BACKEND=x11 timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" "$work/session.sh" "$program" "$tool" "$work"
status=$?
[ -s "$work/session.err" ] && fail "$(cat "$work/session.err")"
[ "$status" -eq 0 ] || fail "the program exited with $status"
cp "$work/visual-brambolt.png" "$out/" 2> /dev/null
[ -s "$work/program.err" ] && fail "the program wrote to its standard error"
[ -f "$XDG_DATA_HOME/applications/visual-brambolt.desktop" ] || fail "no desktop entry for .dcp files"
echo "passed"
