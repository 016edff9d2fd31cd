#!/usr/bin/env bash
# A 100 MB file of 80-character lines in a real X server:
#  1. it opens from the command line with the window up and repainting while
#     it loads (a progress window whose bar keeps moving);
#  2. typing at its start shows at once;
#  3. Ctrl+End goes to its last line and the status line says so;
#  4. Ctrl+S saves it: the file on disk has both edits and every other byte.
# Each answer is timed; a window that stops answering fails the scenario.
# Usage: e2e_large.sh PATH_TO_PAGEWELL
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

LINES_IN_FILE=1250000
LINE=$(printf '%-79s' "the quick brown fox jumps over the lazy dog while the editor keeps answering")
ANSWER_SECONDS=${E2E_ANSWER_SECONDS:-8}  # generous: OCR and a busy CI machine included

# timed NAME SECONDS TEXT...: like expect_on_screen, and logs how long it took.
timed() {
    local name=$1 seconds=$2 started
    shift 2
    started=$(now_ms)
    expect_on_screen "$name" "$seconds" "$@"
    log "'$name' answered in $(($(now_ms) - started)) ms"
}

# status_at_last_line: the status line shows "Line=N of N".
status_at_last_line() {
    screenshot last-line.png
    ocr_text "$ARTIFACTS/last-line.png" | tr -d ' ' |
        grep -Eo 'Line=[0-9]+of[0-9]+' | awk -F'[=f]' '{ split($2, a, "o"); if (a[1] == $3) found = 1 } END { exit !found }'
}

start_xvfb
fresh_home
big=$DOCS/big.txt
{
    printf '%-79s\n' "START of the big file"
    yes "$LINE" | head -n $((LINES_IN_FILE - 1))
} >"$big"
size=$(stat -c %s "$big")
((size == 100000000)) || fail "the generated file has $size bytes"

# ---- 1. opening -------------------------------------------------------------
start_app "$big"
wait_for_window Pagewell 30
main=$WINDOW
# other_windows: the program's visible windows besides the main one.
other_windows() { visible_windows | grep -qv "^$main\$"; }
poll_until 20 other_windows || fail "no progress window while the file loads"
# The bar must move between two looks: the program is painting while it loads.
grab_region "$ARTIFACTS/loading-a.png" 1280x900+0+0
sleep 0.5
grab_region "$ARTIFACTS/loading-b.png" 1280x900+0+0
other_windows || log "(the load ended while the screen was looked at)"
changed=$(pixels_differ "$ARTIFACTS/loading-a.png" "$ARTIFACTS/loading-b.png") ||
    fail "could not compare two screenshots taken while loading"
((changed > 0)) || fail "the screen did not change for 0.5 s while the file was loading"
log "$changed pixels changed in 0.5 s while loading"
wait_until 120 "the progress window to close" bash -c "! xdotool search --onlyvisible --pid $APP_PID | grep -qv '^$main\$'"
timed loaded 60 "BIG.TXT" "START of the big file" "Line=1 of"

# ---- 2. typing at the start -------------------------------------------------
key "$main" ctrl+Home
timeout 10 xdotool windowfocus --sync "$main" || fail "could not focus the main window"
xdotool type --delay 60 "hello " || fail "xdotool could not type"
timed typed "$ANSWER_SECONDS" "hello START of the big file"

# ---- 3. the last line --------------------------------------------------------
started=$(now_ms)
key "$main" ctrl+End
poll_until "$ANSWER_SECONDS" status_at_last_line || {
    ocr_contains "$ARTIFACTS/last-line.png" "Line=" >&2
    fail "the status line does not show the last line after Ctrl+End"
}
log "Ctrl+End answered in $(($(now_ms) - started)) ms"
timeout 10 xdotool windowfocus --sync "$main" || fail "could not focus the main window"
xdotool type --delay 60 "END" || fail "xdotool could not type"
timed end-typed "$ANSWER_SECONDS" "END"

# ---- 4. saving ----------------------------------------------------------------
key "$main" ctrl+s
saved() {
    [[ $(stat -c %s "$big") -eq $((size + 9)) ]] &&
        [[ $(head -c 27 "$big") == "hello START of the big file" ]] &&
        [[ $(tail -c 4 "$big") == $'\nEND' ]]
}
wait_until 60 "the saved file with both edits" saved
# Every byte between the edits is as it was.
expected_middle=$(( (LINES_IN_FILE - 1) ))
middle=$(tail -c +$((80 + 7)) "$big" | head -c $((size - 80)) | grep -c -xF "$LINE")
((middle == expected_middle)) || fail "the saved file has $middle of $expected_middle unchanged lines"
timed after-save "$ANSWER_SECONDS" "BIG.TXT"
log "saved $((size + 9)) bytes"
stop_app
