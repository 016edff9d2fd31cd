#!/usr/bin/env bash
# A file's way through the real program in an X server:
#  1. File, Open (Ctrl+O) with Qt's file dialog: the path typed into its
#     name box; the file is shown under its upper-cased path;
#  2. typing and Ctrl+S write the exact bytes to disk;
#  3. another change, then File, Close: the save prompt is read back by OCR
#     and answered Yes from the keyboard, which writes the file again;
#  4. after Exit and a restart the file comes back from the File menu's
#     recent list (Alt+F, 1).
# Usage: e2e_files.sh PATH_TO_PAGEWELL
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

menu_open() { (($(window_count) >= 2)); }
only_main_window() { (($(window_count) == 1)); }

# type_text TEXT: types into whatever holds the keyboard.
type_text() {
    xdotool type --delay 40 -- "$1" || fail "xdotool could not type: $1"
}

# The visible window of the program that is not the main window; its id is
# left in WINDOW.
find_other_window() {
    WINDOW=$(visible_windows | grep -vx "$main" | head -n 1)
    [[ -n $WINDOW ]]
}

file_is() { [[ -f $1 ]] && cmp -s "$1" <(printf '%s' "$2"); }

expect_file() {
    local path=$1 expected=$2 what=$3
    wait_until 10 "$what" file_is "$path" "$expected"
    log "$what: $(od -c "$path" | head -n 3 | tr -s ' ')"
}

start_xvfb
fresh_home
note=$DOCS/notes.txt
printf 'First line\nSecond line\n' >"$note"
# The upper-cased file name in a caption; OCR of the white title bar text
# sometimes loses the dot, so only the name's stem is looked for there.
NOTE_CAPTION=NOTES

# ---- 1. open through the real dialog -----------------------------------
start_app
wait_for_window Pagewell 30
main=$WINDOW
expect_on_screen started 30 "Document 1"

key "$main" ctrl+o
wait_for_window "Pagewell: Open File" 20
dialog=$WINDOW
screenshot open-dialog.png
# The name box has the keyboard when the dialog opens.
timeout 10 xdotool windowfocus --sync "$dialog" || fail "could not focus the Open dialog"
type_text "$note"
press Return
# A completion list may take the first Enter; a second one accepts.
if ! (
    for _ in $(seq 15); do only_main_window && exit 0; sleep 0.2; done
    exit 1
); then
    press Return
fi
wait_until 15 "the Open dialog to close" only_main_window
expect_on_screen opened 30 "$NOTE_CAPTION" "First line" "Second line"

# ---- 2. edit and save --------------------------------------------------
key "$main" ctrl+End
type_text "Added by e2e"
key "$main" ctrl+s
expect_file "$note" $'First line\nSecond line\nAdded by e2e' "the saved file"
(($(window_count) == 1)) || fail "a window (a message?) opened on Save"

# ---- 3. another change, closed through the save prompt ----------------
key "$main" ctrl+End
type_text " again"
key "$main" alt+f
wait_until 10 "the File menu to open" menu_open
screenshot close-file-menu.png
press c
wait_until 15 "the save prompt" find_other_window
prompt=$WINDOW
log "save prompt is window $prompt"
# The folder's random name is left out: OCR may confuse its 0 and O.
expect_on_screen save-prompt 20 "The contents of /TMP/PW." "NOTES.TXT has changed." \
    "Do you wish to save the changes?"
# Y is the Yes button's key.
key "$prompt" y
wait_until 15 "the save prompt to close" only_main_window
expect_file "$note" $'First line\nSecond line\nAdded by e2e again' "the file saved from the prompt"
expect_on_screen closed 20 "Line=1 of"
expect_not_in_screenshot closed "$NOTE_CAPTION"

# ---- 4. exit, restart, reopen from the recent list --------------------
key "$main" alt+f
wait_until 10 "the File menu to open" menu_open
press x
wait_for_exit 30
[[ $APP_RC == 0 ]] || fail "pagewell ended with status $APP_RC after File, Exit; output:
$(cat "$ARTIFACTS/app.log")"
expect_setting "Recent Files" File1 "${note^^}"

start_app
wait_for_window Pagewell 30
main=$WINDOW
expect_on_screen restarted 30 "Document 1"
expect_not_in_screenshot restarted "Added by e2e"
key "$main" alt+f
wait_until 10 "the File menu to open" menu_open
expect_on_screen recent-menu 20 "$NOTE_CAPTION"
press 1
wait_until 15 "the File menu to close" only_main_window
expect_on_screen reopened 30 "$NOTE_CAPTION" "Added by e2e again"
expect_file "$note" $'First line\nSecond line\nAdded by e2e again' "the file after reopening"

# A clean document asks nothing on the way out.
key "$main" alt+f
wait_until 10 "the File menu to open" menu_open
press x
wait_for_exit 30
[[ $APP_RC == 0 ]] || fail "pagewell ended with status $APP_RC after the last Exit"
