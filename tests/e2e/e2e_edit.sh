#!/usr/bin/env bash
# "I type two lines and the status line follows the cursor. I cut a word
# with Ctrl+X, paste it at the end from the Edit menu and take that back with
# Undo. F5 and Enter put today's date at the cursor, and I type on after it."
# Usage: e2e_edit.sh PATH_TO_PAGEWELL
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

start_session
start_app
wait_main
expect_shown "Line=1 of 1 Column=1"
text main "hello big world"
keys main Return
text main "bye"
expect_shown "('hello big world\nbye',)" "Line=2 of 2 Column=4"

keys main ctrl+Home ctrl+Right shift+ctrl+Right ctrl+x
expect_shown "('hello world\nbye',)"
keys main ctrl+End
menu main alt+e p
expect_shown "('hello world\nbyebig ',)" "Line=2 of 2 Column=8"
menu main alt+e u
expect_shown "('hello world\nbye',)"

day=$(date '+%b %d, %Y')
keys main F5
wait_window "Date and Time"
keys "Date and Time" Return
wait_for "the Date and Time dialog to close" window_gone "Date and Time"
keys main exclam  # the main window has the keyboard again
dated() { shows "\nbye$day " || shows "\nbye$(date '+%b %d, %Y') "; }
wait_for "today's date after 'bye'" dated
expect_shown "M!',)"
