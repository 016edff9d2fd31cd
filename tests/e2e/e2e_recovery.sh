#!/usr/bin/env bash
# "I add a line to my notes and start a new document, and then Pagewell is
# killed. When I start it again it offers both documents back; I restore
# them and find my words, then save them: the new one under a name of its
# own, the notes with File, Save All. When the system ends Pagewell politely
# (SIGTERM) right after I typed, it keeps what I typed for the next start."
# Usage: e2e_recovery.sh PATH_TO_PAGEWELL
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# kept TEXT: some recovery entry holds TEXT (entries keep text as UTF-16).
kept() {
    local needle
    needle=$(printf '%s' "$1" | iconv -f UTF-8 -t UTF-16BE | od -An -tx1 | tr -d ' \n')
    find "$XDG_STATE_HOME/Pagewell/recovery" -name '*.pwr' -exec od -An -tx1 {} \; 2>/dev/null |
        tr -d ' \n' | grep -q "$needle"
}

start_session
notes=$DOCS/notes.txt
printf 'First line\n' >"$notes"
start_app "$notes"
wait_main
keys main ctrl+End
text main "typed into the file"
keys main ctrl+n
expect_shown "Document 2"
text main "Untitled text"
wait_for "a recovery entry of the notes" kept "typed into the file"
wait_for "a recovery entry of the new document" kept "Untitled text"
kill -KILL "$APP_PID"
wait_for "pagewell to die" app_ended

start_app
wait_window "Pagewell: Recover Documents"
keys "Pagewell: Recover Documents" Return  # Restore, with every document checked
wait_for "the offer to close" window_gone "Pagewell: Recover Documents"
wait_main
expect_shown "('First line\ntyped into the file',)" "('Untitled text',)"
file_is "$notes" $'First line\n' || fail "restoring wrote the notes before they were saved"

# Restored oldest first: the new document is the active one.
keys main ctrl+s
wait_window "Pagewell: Save File"
name_in "Pagewell: Save File" "$DOCS/new.txt"
wait_for "the new document to be saved" file_is "$DOCS/new.txt" "Untitled text"
menu main alt+f l
wait_for "Save All to write the notes" file_is "$notes" $'First line\ntyped into the file'

keys main ctrl+End
text main " last"
expect_shown "('Untitled text last',)"
kill -TERM "$APP_PID"
expect_exit
kept "Untitled text last" || fail "SIGTERM left no entry with the text typed last"
start_app
wait_window "Pagewell: Recover Documents"
keys "Pagewell: Recover Documents" Return
expect_shown "('Untitled text last',)"
