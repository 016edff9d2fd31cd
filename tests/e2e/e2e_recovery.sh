#!/usr/bin/env bash
# Unsaved documents survive the program's end:
#  1. a file's document and an untitled one are typed into, the program is
#     killed (-9) once their recovery entries hold the text; the next start
#     offers both, Restore gives back their exact text (saved and compared);
#  2. typing, then SIGTERM at once: the program ends with status 0 and the
#     entry holds the text typed last; the next start restores it;
#  3. another program replaces the saved file: Save asks before writing, its
#     Cancel writes nothing, its OK overwrites;
#  4. a named pipe on the command line is refused with a message within 2 s.
# Each step starts from what the step before left; add new steps at the end.
# Usage: e2e_recovery.sh PATH_TO_PAGEWELL
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

RECOVER_TITLE="Pagewell: Recover Documents"

type_text() { xdotool type --delay 40 -- "$1" || fail "xdotool could not type: $1"; }
file_is() { [[ -f $1 ]] && cmp -s "$1" <(printf '%s' "$2"); }
expect_file() { wait_until 10 "$3" file_is "$1" "$2"; log "$3: ok"; }

recovery_root() { echo "$XDG_STATE_HOME/Pagewell/recovery"; }
# entry_holds TEXT: some recovery entry holds TEXT (entries keep text as UTF-16).
entry_holds() {
    local needle
    needle=$(printf '%s' "$1" | iconv -f UTF-8 -t UTF-16BE | od -An -tx1 | tr -d ' \n')
    find "$(recovery_root)" -name '*.pwr' -exec od -An -tx1 {} \; 2>/dev/null | tr -d ' \n' | grep -q "$needle"
}
expect_entry() { wait_until 10 "a recovery entry holding '$1'" entry_holds "$1"; log "entry holds '$1'"; }

# Saves the active, untitled document under PATH through the Save dialog.
save_untitled_as() {
    key "$main" ctrl+s
    wait_for_window "Pagewell: Save File" 20
    timeout 10 xdotool windowfocus --sync "$WINDOW" || fail "could not focus the Save dialog"
    type_text "$1"
    press Return
    poll_until 3 file_exists "$1" || press Return
}
file_exists() { [[ -f $1 ]]; }

restore_offered() {
    wait_for_window "$RECOVER_TITLE" 30
    screenshot "offer-$1.png"
    timeout 10 xdotool windowfocus --sync "$WINDOW" || fail "could not focus the recovery dialog"
    press Return  # Restore, with every document checked
    wait_until 10 "the recovery dialog to close" no_offer
}
no_offer() { (($(window_count) == 1)); }
two_windows() { (($(window_count) == 2)); }
some_window() { (($(window_count) >= 1)); }

start_xvfb
fresh_home
note=$DOCS/notes.txt
printf 'First line\n' >"$note"

# ---- 1. kill -9 ---------------------------------------------------------
start_app "$note"
wait_for_window Pagewell 30
main=$WINDOW
key "$main" ctrl+End
type_text "typed into the file"
key "$main" ctrl+n
type_text "Untitled text"
expect_entry "typed into the file"
expect_entry "Untitled text"
kill -KILL "$APP_PID"
wait_for_exit 10

start_app
wait_for_window Pagewell 30
main=$WINDOW
restore_offered kill
# Restored oldest first: the untitled document is the active one.
save_untitled_as "$DOCS/untitled.txt"
expect_file "$DOCS/untitled.txt" "Untitled text" "the restored untitled document"
key "$main" alt+f
press l  # Save All writes the restored file's document to its own path
expect_file "$note" $'First line\ntyped into the file' "the restored file"

# ---- 2. SIGTERM ---------------------------------------------------------
key "$main" ctrl+End
type_text " last"
kill -TERM "$APP_PID"
wait_for_exit 10
((APP_RC == 0)) || fail "SIGTERM ended pagewell with status $APP_RC"
entry_holds "Untitled text last" || fail "SIGTERM left no entry with the text typed last"

start_app
wait_for_window Pagewell 30
main=$WINDOW
restore_offered term
key "$main" ctrl+s
expect_file "$DOCS/untitled.txt" "Untitled text last" "the document restored after SIGTERM"

# ---- 3. a file replaced by another program ----------------------------------
printf 'from elsewhere' >"$DOCS/other.tmp"
mv "$DOCS/other.tmp" "$DOCS/untitled.txt"
key "$main" ctrl+End
type_text "!"
key "$main" ctrl+s
wait_until 10 "Save to ask before overwriting" two_windows
screenshot "overwrite-asked.png"
file_is "$DOCS/untitled.txt" "from elsewhere" || fail "Save wrote before the user answered"
press Escape  # Cancel
wait_until 10 "the question to close" no_offer
file_is "$DOCS/untitled.txt" "from elsewhere" || fail "a cancelled overwrite wrote the file"
key "$main" ctrl+s
wait_until 10 "Save to ask again" two_windows
press Return  # OK
expect_file "$DOCS/untitled.txt" "Untitled text last!" "the overwrite the user agreed to"
stop_app

# ---- 4. a named pipe on the command line --------------------------------------
fresh_home
mkfifo "$DOCS/pipe"
start_app "$DOCS/pipe"
# The message comes while the main window is loading, before it is shown.
wait_until 2 "the message about the named pipe" some_window
expect_on_screen pipe-refused 10 "regular file"
press Return
wait_until 10 "the main window after the message" no_offer
app_running || fail "pagewell ended after refusing the named pipe"
log "the named pipe was refused without hanging"
