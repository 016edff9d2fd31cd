#!/usr/bin/env bash
# "I look for a word in my notes with Ctrl+F and the cursor goes to it; F3
# finds the next one, and once there is none it tells me so. Then I replace
# every 'line' with 'row' and jump to the last line with Ctrl+G."
# Usage: e2e_find.sh PATH_TO_PAGEWELL
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

start_session
original=$'first line of text\nthe marker is here\nanother line\nthe marker again\nlast line\n'
printf %s "$original" >"$DOCS/notes.txt"
start_app "$DOCS/notes.txt"
wait_main
expect_shown "Line=1 of 6"

keys main ctrl+f
wait_window Find
text Find marker
keys Find Return
expect_shown "Line=2 of 6"
keys main F3
expect_shown "Line=4 of 6"
keys main F3
expect_shown "Cannot find"
keys box Return
expect_gone "Cannot find"

keys main ctrl+Home ctrl+h
wait_window Replace
text Replace line
keys Replace Tab
text Replace row
keys Replace alt+a
wait_for "the Replace dialog to close" window_gone Replace
expect_shown 'first row of text\nthe marker is here\nanother row\nthe marker again\nlast row\n'

keys main ctrl+g
wait_window "Go To Line..."
text "Go To Line..." 5
keys "Go To Line..." Return
expect_shown "Line=5 of 6"
menu main alt+f x
expect_shown "Do you wish to save the changes?"
keys box n
expect_exit
file_is "$DOCS/notes.txt" "$original" || fail "answering No wrote the file"
