#!/usr/bin/env bash
# "F1 opens the help on its contents; Search For Help On... in the Help menu
# turns it to the index, and Esc puts it away. About Pagewell tells me how
# much memory this machine has. With the help open again, File, Exit still
# ends the program."
# Usage: e2e_help.sh PATH_TO_PAGEWELL
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# This machine's memory as the About box writes it: "16,318,472 KB".
memory="$(awk '/^MemTotal:/ { print $2 }' /proc/meminfo | sed ':a; s/\B[0-9]\{3\}\>/,&/; ta') KB"

start_session
start_app
wait_main
keys main F1
wait_window "Pagewell Help - Contents"
expect_shown "Getting started" "The File menu"
focus main  # back to the main window, as a click on it would
menu main alt+h s
wait_window "Pagewell Help - Index and Search"
expect_shown "Keyword index"
keys "Pagewell Help - Index and Search" Escape
wait_for "the help to close" window_gone "Pagewell Help - Index and Search"

menu main alt+h a
wait_window "About Pagewell"
expect_shown "Physical Memory Available to Windows" "$memory"
keys "About Pagewell" Return
wait_for "the About box to close" window_gone "About Pagewell"

keys main F1
wait_window "Pagewell Help - Contents"
focus main
menu main alt+f x
expect_exit
