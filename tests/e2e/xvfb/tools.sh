#!/usr/bin/env bash
# The tools of a user's day on X11: a folder of Simplified Chinese pages converted to Big5 and back
# from the explorer's output tree, the open header and the hierarchy chart printed to PDF, and a
# problem report sent from the Help menu to a mail server on loopback.
# usage: tools.sh PROGRAM SMOKE_TOOL FIXTURES OUTPUT_FOLDER
source "$(dirname "$0")/desk.sh"

# The colours of a column of the screen, one "Y RRGGBB" a line.
column_colours() { screen_colours "$1" "$2" $(($1 + 1)) "$3" | cut -d' ' -f2-; }

# The middle of the selected item's bar in the explorer's tree (the selection's deep blue), or
# nothing when no item is selected there.
selected_row() {
  column_colours 120 110 712 | awk '$2 == "0A246A" || $2 == "000080" { if (!first) first = $1; last = $1 }
    END { if (first) print int((first + last) / 2) }'
}

# The class CLayer's folder in the explorer's output tree converted: a click into the tree, the
# name typed to select it, a right-click on it, the command's letter in the menu, Yes.
convert_class_folder() {
  local letter=$1 shots=$2 row
  click_in '^Atelier - Visual Brambolt' 120 123
  typed CLayer
  # The pointer moved onto the toolbar's Help button after the typing raises the button once the
  # program has taken the whole name: until then the tree may show the selection of its first
  # letters (a loaded machine draws the class "C" picks, further up, before the rest arrives).
  run mousemove 500 66
  help_raised() { [ "$(timeout 10 "$tool" pixel 490 66)" = FFFFFF ] && [ "$(timeout 10 "$tool" pixel 512 66)" = 808080 ]; }
  wait_for 50 help_raised || fail "the pointer on the toolbar's Help button did not raise it"
  # The selection leaves the row clicked (CLayer is further down) once the typing is taken.
  layer_selected() { row=$(selected_row) && [ -n "$row" ] && [ "$row" -gt 135 ]; }
  wait_for 50 layer_selected || fail "typing CLayer did not select it in the output tree"
  run mousemove 150 "$row"
  run click 3
  shot "$shots-context-menu"
  keys "$letter"
  [ -n "$(window '^Inkwright$')" ] || fail "the conversion asked nothing"
  shot "$shots-question"
  keys Return
  wait_for 50 gone '^Inkwright$' || fail "the question stayed open"
}

# Whether every page of a folder is byte for byte the one of a copy of it.
same_pages() { diff -r "$1" "$2" > /dev/null; }
# Whether the folder's pages that hold Chinese (there are some) all differ from their copies,
# decode as Big5 and say so.
all_big5() {
  python3 - "$1" "$2" << 'EOF2'
import pathlib, sys
now, before = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
chinese = [page for page in before.rglob("*.htm") if max(page.read_bytes(), default=0) >= 0x80]
converted = 0
for page in chinese:
    new = (now / page.relative_to(before)).read_bytes()
    try:
        new.decode("big5")
    except UnicodeDecodeError:
        continue
    converted += new != page.read_bytes() and b"charset=big5" in new
sys.exit(0 if chinese and converted == len(chinese) else 1)
EOF2
}

# ---- a project whose documentation is written in Simplified Chinese ----
start_program
new_project Atelier
take_in_headers "$fixtures/Atelier"
documentation_options
keys Home # the language list has the focus: its first language, Simple Chinese
shot tools-01-documentation-in-chinese
keys Return
documentation_written test -f "$project/Output_Chs/Htmls/Index.htm"

# ---- the class's pages converted to Big5 and back from the output tree ----
folder="$project/Output_Chs/Htmls/CLayer"
[ "$(find "$folder" -name '*.htm' | wc -l)" -gt 5 ] || fail "the class has too few pages: $(ls "$folder")"
grep -lq $'\r$' "$folder/CLayer.htm" || fail "the pages have no CR LF line ends to keep"
cp -r "$folder" "$work/original"
python3 -c 'import sys; open(sys.argv[1], "rb").read().decode("gb2312")' "$folder/CLayer.htm" ||
  fail "the class's page is not GB2312"
click_in '^Atelier - Visual Brambolt' 120 400 # into the output tree below its items (the root is selected)
keys Down Right # HTML Files opened: its class folders show, yellow, under it
html_files_open() { column_colours 98 175 190 | grep ' FFFF00$' > /dev/null; }
wait_for 50 html_files_open || fail "HTML Files did not open in the output tree"
convert_class_folder g tools-02-to-big5
wait_for 100 all_big5 "$folder" "$work/original" || fail "the pages were not converted to Big5"
shot tools-03-converted-to-big5
convert_class_folder b tools-04-to-gb
wait_for 100 same_pages "$folder" "$work/original" ||
  fail "the pages did not come back byte for byte: $(diff -r "$folder" "$work/original" | head -c 600)"
shot tools-05-converted-back

# ---- the open header and the hierarchy chart printed to PDF files ----
# File > Print, the printer "Print to File" picked in the print dialog, OK, the file's path typed
# over the default name in the question that follows.
print_to_file() {
  local pdf=$1 shots=$2
  keys alt+f p
  [ -n "$(window '^Print$')" ] || fail "File > Print showed no print dialog"
  # Keys go to the dialog once it has the keyboard (a loaded machine shows it before that).
  wait_for 300 eval '[ "$(xdotool getwindowfocus getwindowname 2> /dev/null)" = Print ]' ||
    fail "the print dialog never took the keyboard"
  keys alt+n End # the printer list: its last printer, "Print to File"
  shot "$shots-print-dialog"
  keys Return
  wait_for 300 shown '^Print to File$' || fail "printing to a file asked for no file name"
  wait_for 300 eval '[ "$(xdotool getwindowfocus getwindowname 2> /dev/null)" = "Print to File" ]' ||
    fail "the file name question never took the keyboard"
  keys End shift+Home BackSpace
  typed "$pdf"
  shot "$shots-print-to-file"
  keys Return
  wait_for 50 gone '^Print to File$' || fail "the file name question stayed open"
  # Written whole: the file ends with the PDF's end-of-file mark.
  printed() { tail -c 32 "$pdf" 2> /dev/null | grep -q '%%EOF'; }
  wait_for 100 printed || fail "nothing was printed to $pdf: $(tail -c 32 "$pdf" 2> /dev/null)"
  [ "$(head -c 5 "$pdf")" = "%PDF-" ] || fail "$pdf is no PDF file"
}

open_file "$project/Header Files/Layer.h"
print_to_file "$work/Layer.pdf" tools-06-header
if command -v pdftotext > /dev/null; then
  pdftotext -layout "$work/Layer.pdf" "$work/Layer.txt" || fail "pdftotext cannot read the printed header"
  for text in "Layer.h" "Page: 1" "class CLayer : public CObject"; do
    grep -qF "$text" "$work/Layer.txt" || fail "the printed header has no '$text': $(head -c 600 "$work/Layer.txt")"
  done
  # Every line of the header is on the page: its first word stands for it (blanks may differ).
  while read -r first _; do
    [ -z "$first" ] || grep -qF -- "$first" "$work/Layer.txt" || fail "the printed header misses the line of '$first'"
  done < <(tr -d '\r' < "$project/Header Files/Layer.h")
else
  echo "pdftotext is missing: the printed text is not checked"
fi

chart="$project/Output_Chs/Htmls/Image2/A_Hierarchy_Chart.bmp"
open_file "$chart"
shot tools-08-hierarchy-chart
print_to_file "$work/Chart.pdf" tools-09-chart
if command -v pdfimages > /dev/null; then
  # The chart's pixels are the page's one picture, as wide and high as the bitmap.
  size=$(python3 -c 'import struct, sys; d = open(sys.argv[1], "rb").read(); print(*struct.unpack("<ii", d[18:26]))' "$chart")
  read -r width height <<< "$size"
  pdfimages -list "$work/Chart.pdf" | awk 'NR > 2 { print $4, $5 }' | grep -x "$width ${height#-}" > /dev/null ||
    fail "the printed chart is not the ${width}x$height bitmap: $(pdfimages -list "$work/Chart.pdf")"
  [ "$(pdfinfo "$work/Chart.pdf" | awk '/^Pages:/ { print $2 }')" = 1 ] || fail "the chart was not printed on one page"
fi

exit_program

# ---- a problem report sent from the Help menu to a mail server on loopback ----
# The form sends to the maker's mail server on port 25. The program runs in a network of its own
# (a new network and mount namespace) where that name is loopback and a small SMTP server listens.
maker_mail_host=smtp.mirelund.example support=support@mirelund.example
namespaces="--net --mount"
[ "$(id -u)" -eq 0 ] || namespaces="--user --map-root-user $namespaces"
mkdir -p "$work/mail"
printf '127.0.0.1 localhost\n127.0.0.1 %s\n' "$maker_mail_host" > "$work/hosts"
# shellcheck disable=SC2086 # the options are words
if ! unshare $namespaces sh -c "ip link set lo up && mount --bind '$work/hosts' /etc/hosts" 2> /dev/null; then
  echo "no network of its own can be made here for the program: the problem report is not sent"
  no_errors
  echo "passed; gallery in $gallery"
  exit 0
fi
# One SMTP dialogue: the server listens once the folder given holds "open" (until then nothing
# answers on the port), and every command and the message received go into the folder. It ends
# after the message, or when the program that runs it (its parent) has gone.
cat > "$work/smtp.py" << 'EOF2'
import os, pathlib, socket, sys, time
folder = pathlib.Path(sys.argv[1])
parent = os.getppid()
while not (folder / "open").exists():
    if os.getppid() != parent:
        sys.exit(0)
    time.sleep(0.1)
server = socket.socket()
server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
server.bind(("127.0.0.1", 25))
server.listen(1)
server.settimeout(1)
(folder / "ready").touch()
while True:
    try:
        client, _ = server.accept()
        break
    except socket.timeout:
        if os.getppid() != parent:
            sys.exit(0)
client.settimeout(30)
stream = client.makefile("rb")
def answer(text):
    client.sendall(text.encode() + b"\r\n")
answer("220 " + socket.gethostname() + " ready")
commands = []
while True:
    line = stream.readline()
    if not line:
        break
    command = line.decode("latin-1").rstrip("\r\n")
    commands.append(command)
    verb = command[:4].upper()
    if verb == "DATA":
        answer("354 end with a lone dot")
        message = b""
        for data in iter(stream.readline, b""):
            if data == b".\r\n":
                break
            message += data[1:] if data.startswith(b"..") else data
        (folder / "message").write_bytes(message)
        answer("250 queued")
    elif verb == "QUIT":
        answer("221 bye")
        break
    else:
        answer("250 ok")
(folder / "commands").write_text("\n".join(commands) + "\n")
EOF2
cat > "$work/in-mail-network" << EOF2
#!/usr/bin/env bash
[ -n "\${IN_MAIL_NETWORK:-}" ] || exec env IN_MAIL_NETWORK=1 unshare $namespaces "\$0" "\$@"
ip link set lo up && mount --bind "$work/hosts" /etc/hosts || exit 1
python3 "$work/smtp.py" "$work/mail" &
exec "$program" "\$@"
EOF2
chmod +x "$work/in-mail-network"
program="$work/in-mail-network" start_program

keys alt+h p
[ -n "$(window '^Technical Support$')" ] || fail "Help > Technical Support showed no form"
shot tools-10-technical-support
type_over '^Technical Support$' 145 123 "Mei Lin"
type_over '^Technical Support$' 368 121 "mei.lin@atelier.example"
# A list of the form dropped by a click on its field: the white of the list (or the blue of its
# selected item) shows at a point under the field, on the form's grey when it is closed.
drop_list() {
  local form
  click_in '^Technical Support$' "$1" "$2"
  form=$(window '^Technical Support$')
  eval "$(xdotool getwindowgeometry --shell "$form")"
  list_at() { [[ "$(timeout 10 "$tool" pixel $((X + $1)) $((Y + $2)))" == @(FFFFFF|000080) ]]; }
  wait_for 50 list_at "$3" "$4" || fail "the list at $1,$2 of the form did not drop"
}
drop_list 145 243 200 263 # the types: the second, "Software bug"
keys Home Down Return
drop_list 370 242 430 262 # the priorities: the last, "High"
keys End Return
type_over '^Technical Support$' 258 276 "Chart misses a class"
click_in '^Technical Support$' 228 348
typed "The hierarchy chart has no CLayer."
keys Return
typed "."
keys Return
typed "It is in the class view."
click_in '^Technical Support$' 228 430
typed "Press F5."
shot tools-11-report-filled-in

# The mail server does not answer yet: the form stays open with the reason on its status line
# (dark text where it showed only "Status:"), the report as typed, to send again.
status_shown() {
  local form
  form=$(window '^Technical Support$')
  eval "$(xdotool getwindowgeometry --shell "$form")"
  screen_colours $((X + 60)) $((Y + 462)) $((X + 200)) $((Y + 473)) | grep -E ' ([0-5][0-9A-F]){3}$' > /dev/null
}
status_shown && fail "the status line shows text before anything was sent"
click_in '^Technical Support$' 308 477 # Send
wait_for 30 status_shown || fail "sending to no mail server showed no reason on the status line"
gone '^Inkwright$' || fail "sending to no mail server was taken for a report sent"
shot tools-12-report-not-sent

touch "$work/mail/open"
wait_for 50 test -f "$work/mail/ready" || fail "the mail server did not start: $(cat "$work/program.err")"
click_in '^Technical Support$' 308 477 # Send again
[ -n "$(window '^Inkwright$')" ] || fail "the report was not sent: $(cat "$work/mail/commands" 2> /dev/null)"
shot tools-13-report-sent
keys Return
wait_for 50 gone '^Technical Support$' || fail "the form stayed open after the report was sent"

# What arrived: the sender, the recipient, the subject, the body with the lines typed. The server
# writes the commands it was given once the dialogue has ended.
message="$work/mail/message"
wait_for 50 test -f "$message" || fail "no message arrived at the mail server"
wait_for 50 test -f "$work/mail/commands" || fail "the dialogue with the mail server did not end"
header=$(sed '/^\r$/q' "$message")
for field in "From: Mei Lin <$support>" "To: $support" "Reply-To: Mei Lin <mei.lin@atelier.example>" \
  "Subject: Software bug: Chart misses a class"; do
  grep -qxF "$field"$'\r' <<< "$header" || fail "the message has no '$field': $header"
done
body=$(sed '1,/^\r$/d' "$message")
for lines in $'Type: Software bug\r\nPriority: High\r\n\r\nVersion:\r\nVisual Brambolt Build ' \
  $'Description:\r\nThe hierarchy chart has no CLayer.\r\n.\r\nIt is in the class view.\r\n\r\nHow to Repeat:\r\nPress F5.\r'; do
  [[ "$body" == *"$lines"* ]] || fail "the body has no '$lines': $body"
done
grep -qx "RCPT TO:<$support>" "$work/mail/commands" || fail "the mail was not sent to $support: $(cat "$work/mail/commands")"
grep -q "^HELO " "$work/mail/commands" || fail "the dialogue did not begin with HELO: $(cat "$work/mail/commands")"

exit_program
# The sender is kept for the next report.
remembered=$(grep -rhA2 '\\Problem report\]' "$work/registry" | tr -d '\r')
for value in '"Name"="Mei Lin"' '"E-mail"="mei.lin@atelier.example"'; do
  grep -qxF "$value" <<< "$remembered" || fail "the sender was not remembered: $remembered"
done
no_errors
echo "passed; gallery in $gallery"
