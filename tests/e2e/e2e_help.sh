#!/usr/bin/env bash
# Help and About in the real program under an X server:
#  1. F1 opens the help window on its contents page, whose title OCR reads;
#  2. Help, Search For Help On... (from the keyboard) turns it to the Index
#     and Search page; Esc closes it;
#  3. Help, About Pagewell shows the two memory lines with this machine's
#     total memory, 4200 and 1600 twips from the main window's corner, with
#     the pointer on its OK button; Enter closes it;
#  4. with the help window open again, File, Exit ends the program: the help
#     window does not keep it running.
# Usage: e2e_help.sh PATH_TO_PAGEWELL
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# more_windows_than N: a menu has opened over N windows.
more_windows_than() { (($(window_count) > $1)); }
window_gone() { ! xdotool search --all --onlyvisible --pid "$APP_PID" --name "^$1\$" >/dev/null 2>&1; }

# open_help_item LETTER: Alt+H, then the item's access key.
open_help_item() {
    local before
    before=$(window_count)
    key "$main" alt+h
    wait_until 10 "the Help menu to open" more_windows_than "$before"
    press "$1"
}

# The total physical memory as the About box shows it: KB in "00,000".
expected_memory() {
    awk '/^MemTotal:/ {
        s = sprintf("%05d", $2); out = ""
        while (length(s) > 3) { out = "," substr(s, length(s) - 2) out; s = substr(s, 1, length(s) - 3) }
        print s out " KB"; exit }' /proc/meminfo
}

start_xvfb
fresh_home
start_app
wait_for_window Pagewell 30
main=$WINDOW
expect_on_screen started 30 "Document 1"

# ---- 1. F1: the contents ---------------------------------------------------
key "$main" F1
wait_for_window "Pagewell Help - Contents" 20
help=$WINDOW
expect_on_screen help-contents 30 "Pagewell Help Contents" "Getting started" "The File menu"

# ---- 2. Help, Search For Help On...: the index and search page -------------
open_help_item s
wait_for_window "Pagewell Help - Index and Search" 20
[[ $WINDOW == "$help" ]] || fail "Help Search opened a second help window ($WINDOW, first was $help)"
expect_on_screen help-search 30 "Index and Search" "Keyword index" "About Pagewell"
key "$help" Escape
wait_until 10 "the help window to close" window_gone "Pagewell Help - Index and Search"

# ---- 3. Help, About Pagewell ------------------------------------------------
open_help_item a
wait_for_window "About Pagewell" 20
about=$WINDOW
memory=$(expected_memory)
[[ -n $memory ]] || fail "could not read MemTotal from /proc/meminfo"
expect_on_screen about 30 "Pagewell" "V5.0" "Physical Memory Available to Windows" "Physical Memory Currently In Use" "$memory"

read -r main_x main_y _ _ <<<"$(window_geometry "$main")"
read -r about_x about_y about_w about_h <<<"$(window_geometry "$about")"
want_x=$((main_x + $(pixels_of 4200)))
want_y=$((main_y + $(pixels_of 1600)))
((about_x == want_x && about_y == want_y)) ||
    fail "About box at $about_x,$about_y; expected $want_x,$want_y (4200 and 1600 twips from the main window at $main_x,$main_y)"
# The pointer rests on OK, in the lower right part of the box.
eval "$(xdotool getmouselocation --shell)"
((X > about_x + about_w / 2 && X < about_x + about_w && Y > about_y + about_h / 2 && Y < about_y + about_h)) ||
    fail "pointer at $X,$Y is not on the About box's OK button (box at $about_x,$about_y, ${about_w}x$about_h)"
log "About box at $about_x,$about_y; pointer at $X,$Y"

key "$about" Return
wait_until 10 "the About box to close" window_gone "About Pagewell"
app_running || fail "pagewell ended after the About box closed"

# ---- 4. the help window does not keep the program running ------------------
key "$main" F1
wait_for_window "Pagewell Help - Contents" 20
before=$(window_count)
key "$main" alt+f
wait_until 10 "the File menu to open" more_windows_than "$before"
press x
wait_for_exit 30
[[ $APP_RC == 0 ]] || fail "pagewell ended with status $APP_RC after File, Exit with the help window open"
