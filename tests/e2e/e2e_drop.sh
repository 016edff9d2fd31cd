#!/usr/bin/env bash
# "I drag my letter and my notes from the file manager onto Pagewell's
# window: the letter fills the empty document and the notes open beside it."
# Usage: e2e_drop.sh PATH_TO_PAGEWELL PATH_TO_DRAGSOURCE
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

start_session
printf 'Dear Sir or Madam\n' >"$DOCS/letter.txt"
printf 'milk, bread\n' >"$DOCS/notes.txt"
start_app
wait_main
"${2:?the drag source program}" "file://$DOCS/letter.txt" "file://$DOCS/notes.txt" >"$ARTIFACTS/dragsource.log" 2>&1 &
SESSION_PIDS+=($!)
# windows N: the drag source shows N windows: its own, then also the picture
# that follows the pointer while it drags.
windows() { (($(xdotool search --onlyvisible --pid "${SESSION_PIDS[-1]}" 2>/dev/null | grep -c .) == $1)); }
wait_for "the drag source's window" windows 1

# Presses on the drag source and lets go over the main window's status bar,
# moving in small steps as a hand would, each a position the target answers.
# Screen points are asked of the pointer put there: under openbox,
# getwindowgeometry places a window a title bar too low.
eval "$(xdotool mousemove --window "$(xdotool search --onlyvisible --pid "${SESSION_PIDS[-1]}")" --sync 20 20 getmouselocation --shell)"
from_x=$X from_y=$Y
eval "$(xdotool getwindowgeometry --shell "$MAIN")"
eval "$(xdotool mousemove --window "$MAIN" --sync $((WIDTH / 2)) $((HEIGHT - 8)) getmouselocation --shell)"
to_x=$X to_y=$Y
xdotool mousemove --sync "$from_x" "$from_y" mousedown 1 || fail "xdotool could not press"
wait_for "the drag to start" windows 2
for step in $(seq 1 20); do
    xdotool mousemove $((from_x + (to_x - from_x) * step / 20)) $((from_y + (to_y - from_y) * step / 20))
    sleep 0.05
done
sleep 0.5  # for the last position's answer
xdotool mouseup 1 || fail "xdotool could not release"

expect_shown "${DOCS^^}/LETTER.TXT" "${DOCS^^}/NOTES.TXT" "('Dear Sir or Madam\n',)" "('milk, bread\n',)"
expect_gone "<'Document 1'>"  # the letter took the empty document
focus main  # the press gave the drag source the keyboard
menu main alt+f x
expect_exit
