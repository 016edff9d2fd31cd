#!/usr/bin/env bash
# Start-up and shut-down of the real program in an X server:
#  1. first run with a file on the command line: the document shows the file
#     under its upper-cased path, and Exit (from the keyboard) writes the
#     placement and the switches;
#  2. a later run restores a stored placement and writes back what it read.
# Usage: e2e_startup.sh PATH_TO_PAGEWELL
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

menu_open() { (($(window_count) >= 2)); }

# Alt+F opens the File menu, X is the mnemonic of "E&xit".
exit_through_file_menu() {
    key "$1" alt+f
    wait_until 10 "the File menu to open" menu_open
    screenshot "$2.png"
    press x
    wait_for_exit 30
    [[ $APP_RC == 0 ]] || fail "pagewell ended with status $APP_RC after File, Exit; output:
$(cat "$ARTIFACTS/app.log")"
}

expect_geometry() {
    local actual
    actual=$(window_geometry "$1")
    [[ $actual == "$2" ]] || fail "main window at '$actual' (x y width height), expected '$2'"
}

start_xvfb

# ---- 1. first run with a file ----------------------------------------------
fresh_home
printf 'Dear Sir or Madam\nThe parcel arrived today.\nKind regards\n' >"$DOCS/letter.txt"

start_app "$DOCS/letter.txt"
wait_for_window Pagewell 30
main=$WINDOW
# An empty store places the window at 1000, 1000, 6500 x 6500 twips.
expect_geometry "$main" "$(pixels_of 1000) $(pixels_of 1000) $(pixels_of 6500) $(pixels_of 6500)"
# The caption is the whole path upper-cased; its file name is what OCR reads reliably.
expect_on_screen startup 30 "LETTER.TXT" "Dear Sir or Madam"
(($(window_count) == 1)) || fail "more than the main window is showing after start-up"
# Opening the command-line file records it as the most recent file, and that
# is all start-up writes.
expect_setting "Recent Files" File1 "${DOCS^^}/LETTER.TXT"
sections=$(grep '^\[' "$(settings_file)" | tr '\n' ' ')
[[ $sections == "[Recent Files] " ]] || fail "start-up wrote more than the recent file: $sections"

exit_through_file_menu "$main" startup-file-menu
[[ -f $(settings_file) ]] || fail "no settings file at $(settings_file) after Exit"
# Left and top land exactly on the pixel grid; the size may be off by one
# pixel where the window system rounds.
expect_twips Settings MainLeft 1000 0
expect_twips Settings MainTop 1000 0
expect_twips Settings MainWidth 6500 1
expect_twips Settings MainHeight 6500 1
expect_setting Toolbar Visible Yes
expect_setting Toolbar StatusBar Yes
expect_setting WordWrap Wrap True

# ---- 2. a stored placement and stored switches -----------------------------
fresh_home
mkdir -p "$(dirname "$(settings_file)")"
# Values on the 96 dpi grid (15 twips a pixel). Only the exact word "No"
# hides a bar, so "no" leaves the toolbar shown.
cat >"$(settings_file)" <<'INI'
[Settings]
MainHeight=7500
MainLeft=1500
MainTop=3000
MainWidth=9000

[Toolbar]
StatusBar=No
Visible=no

[WordWrap]
Wrap=False
INI

start_app
wait_for_window Pagewell 30
main=$WINDOW
expect_geometry "$main" "$(pixels_of 1500) $(pixels_of 3000) $(pixels_of 9000) $(pixels_of 7500)"
expect_on_screen restored 30 "Document 1"

exit_through_file_menu "$main" restored-file-menu
expect_setting Settings MainLeft 1500
expect_setting Settings MainTop 3000
expect_setting Settings MainWidth 9000
expect_setting Settings MainHeight 7500
expect_setting Toolbar Visible Yes
expect_setting Toolbar StatusBar No
expect_setting WordWrap Wrap False
