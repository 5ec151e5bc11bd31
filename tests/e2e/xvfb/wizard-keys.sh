#!/usr/bin/env bash
# The New Project wizard driven with the keyboard alone, as a user without a mouse does: the name
# typed where the wizard opens, Tab to the location, the mnemonics of the labels and of Next
# (shared with "Project &Name:": the first Alt+N reaches Next, the second presses it), typing over
# the fields, Return on the focused Next and, on the last page, Return for Finish.
# usage: wizard-keys.sh PROGRAM SMOKE_TOOL FIXTURES OUTPUT_FOLDER
source "$(dirname "$0")/desk.sh"

start_program
name=Keyboard
keys ctrl+n
[ -n "$(window '^New Project$')" ] || fail "the New Project wizard did not open"
typed "$name"
keys Tab # the location, its text selected: typed over
typed "$work/projects"
keys Tab Tab # past the location's browse button onto the wizard's Next
keys shift+Tab alt+n # back on the browse button, then the first of the two controls of Alt+N: Next
shot 01-wizard-next-by-mnemonic
keys alt+n # on Next: pressed
keys alt+s # the title's label: the title, its text selected
typed "Typed Title"
shot 02-wizard-title-typed
keys alt+n       # the one Next of this page: pressed
keys Return      # Next has the focus: pressed, the last page shows and Finish takes the focus
keys alt+u       # the author's label ("&URL:" shares the letter and comes after it)
typed "Ann Keys"
shot 03-wizard-author-typed
keys Return # Finish, the default button
wait_for 50 gone '^New Project$' || fail "the wizard did not finish with the keyboard"
project="$work/projects/$name"
wait_for 50 test -f "$project/$name.dcp" || fail "the project file was not written"
wait_for 50 grep -aq "Typed Title" "$project/$name.dcp" || fail "the project does not have the typed title"
wait_for 50 grep -aq "Ann Keys" "$project/$name.dcp" || fail "the project does not have the typed author"
shot 04-project-made
exit_program
no_errors
echo "passed; gallery in $gallery"
