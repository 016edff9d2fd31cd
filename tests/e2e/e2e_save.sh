#!/usr/bin/env bash
# "I write a note in a new document and press Ctrl+S: the Save dialog asks
# for a name. I add a line and close the document; asked whether to save, I
# say Yes. When I start Pagewell again, the note is first in the File menu's
# list of recent files, and it opens from there."
# Usage: e2e_save.sh PATH_TO_PAGEWELL
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

start_session
note=$DOCS/note.txt
start_app
wait_main
expect_shown "Document 1" "Line=1 of 1"
text main "Dear Sam,"
keys main ctrl+s
wait_window "Pagewell: Save File"
name_in "Pagewell: Save File" "$note"
wait_for "Ctrl+S to write the note" file_is "$note" "Dear Sam,"
expect_shown "${note^^}"

keys main Return
text main "see you soon"
menu main alt+f c
expect_shown "Do you wish to save the changes?"
keys box y
wait_for "Yes to write the note again" file_is "$note" $'Dear Sam,\nsee you soon'
expect_gone "${note^^}"
menu main alt+f x
expect_exit
[[ $(setting "Recent Files" File1) == "${note^^}" ]] || fail "the note is not the first recent file"

start_app
wait_main
menu main alt+f 1
expect_shown "${note^^}" "('Dear Sam,\nsee you soon',)"
