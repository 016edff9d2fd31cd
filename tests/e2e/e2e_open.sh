#!/usr/bin/env bash
# "I start Pagewell on a folder by mistake: it tells me that is no regular
# file and starts with an empty document. I open my letter through File,
# Open. Then I start it on a 20 MB log: a window shows the progress while it
# loads, and Ctrl+End takes me to its last line."
# Usage: e2e_open.sh PATH_TO_PAGEWELL
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

LOG_LINES=250000  # of 80 bytes

start_session
mkdir "$DOCS/letters"
start_app "$DOCS/letters"
expect_shown "not a regular file"
keys box Return
expect_gone "not a regular file"
wait_main
expect_shown "Line=1 of 1 Column=1"

printf 'Dear Sir or Madam\nThe parcel arrived today.\n' >"$DOCS/letter.txt"
keys main ctrl+o
wait_window "Pagewell: Open File"
name_in "Pagewell: Open File" "$DOCS/letter.txt"
expect_shown "${DOCS^^}/LETTER.TXT" "('Dear Sir or Madam\nThe parcel arrived today.\n',)"
menu main alt+f x
expect_exit

yes "$(printf '%-79s' 'the quick brown fox jumps over the lazy dog')" | head -n "$LOG_LINES" >"$DOCS/big.log"
start_app "$DOCS/big.log"
titled_pagewell() { (($(ids Pagewell | grep -c .) == $1)); }
wait_for "a progress window over the main window" titled_pagewell 2
wait_for "the progress window to close" titled_pagewell 1
wait_main
expect_shown "Line=1 of $((LOG_LINES + 1))"
keys main ctrl+End
expect_shown "Line=$((LOG_LINES + 1)) of $((LOG_LINES + 1))"
menu main alt+f x
expect_exit
