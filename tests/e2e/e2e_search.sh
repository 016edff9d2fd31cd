#!/usr/bin/env bash
# The Search commands from the keyboard in a real X server:
#  1. Ctrl+F finds a word and the status line shows the caret's new line;
#  2. F3 finds the next one, and the F3 after it reports "Cannot find";
#  3. Ctrl+H replaces every occurrence (saved with Ctrl+S and read back);
#  4. Ctrl+G goes to a line, and the status line shows it;
#  5. Exit ends the program although the Find and Replace dialogs were used.
# Usage: e2e_search.sh PATH_TO_PAGEWELL
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

menu_open() { (($(window_count) >= 2)); }
only_main_left() { (($(window_count) == 1)); }

# other_window MAIN: a visible window of the program that is not MAIN.
other_window() {
    local id
    for id in $(visible_windows); do
        [[ $id != "$1" ]] && { echo "$id"; return 0; }
    done
    return 1
}

# type_text WINDOW TEXT: types plain lower-case words and blanks.
type_text() {
    timeout 10 xdotool windowfocus --sync "$1" || fail "could not focus window $1"
    xdotool type --delay 60 "$2" || fail "xdotool could not type '$2'"
}

start_xvfb
fresh_home
printf 'first line of text\nthe marker is here\nanother line\nthe marker again\nlast line\n' >"$DOCS/notes.txt"

start_app "$DOCS/notes.txt"
wait_for_window Pagewell 30
main=$WINDOW
expect_on_screen opened 30 "NOTES.TXT" "Line=1 of"

# ---- 1. Ctrl+F --------------------------------------------------------------
key "$main" ctrl+f
wait_for_window Find 15
find_dialog=$WINDOW
type_text "$find_dialog" marker
screenshot find-dialog.png
press Return
wait_until 10 "the Find dialog to hide" only_main_left
expect_on_screen found 20 "Line=2 of"

# ---- 2. F3, F3 ----------------------------------------------------------------
key "$main" F3
expect_on_screen found-next 20 "Line=4 of"
(($(window_count) == 1)) || fail "F3 opened a window although a match was left"
key "$main" F3
wait_until 15 "the not-found message" menu_open
box=$(other_window "$main") || fail "no message box after the last F3"
expect_on_screen not-found 20 "Cannot find" "marker"
key "$box" Return
wait_until 10 "the message box to close" only_main_left

# ---- 3. Ctrl+H: Replace All from the top ------------------------------------
key "$main" ctrl+Home
key "$main" ctrl+h
wait_for_window Replace 15
replace_dialog=$WINDOW
type_text "$replace_dialog" line
press Tab
type_text "$replace_dialog" row
screenshot replace-dialog.png
press alt+a
wait_until 15 "the Replace dialog to close" only_main_left
expect_on_screen replaced 20 "first row of text" "last row"
key "$main" ctrl+s
wait_until 15 "the file to be saved" grep -q "another row" "$DOCS/notes.txt"
expected=$'first row of text\nthe marker is here\nanother row\nthe marker again\nlast row'
[[ $(cat "$DOCS/notes.txt") == "$expected" ]] || fail "saved text after Replace All:
$(cat "$DOCS/notes.txt")"

# ---- 4. Ctrl+G ----------------------------------------------------------------
key "$main" ctrl+g
wait_for_window "Go To Line..." 15
goto_dialog=$WINDOW
type_text "$goto_dialog" 5
screenshot goto-dialog.png
press Return
wait_until 10 "the Go To Line dialog to close" only_main_left
expect_on_screen went 20 "Line=5 of"

# ---- 5. Exit ------------------------------------------------------------------
key "$main" alt+f
wait_until 10 "the File menu to open" menu_open
press x
wait_for_exit 30
[[ $APP_RC == 0 ]] || fail "pagewell ended with status $APP_RC after File, Exit; output:
$(cat "$ARTIFACTS/app.log")"
