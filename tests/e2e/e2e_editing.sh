#!/usr/bin/env bash
# Editing in the real program under Xvfb:
#  1. typing moves the line and column shown in the status bar;
#  2. selecting text enables the toolbar's Cut and Copy buttons within one
#     300 ms timer tick, and collapsing the selection disables them again;
#  3. F5 then Enter inserts today's date at the caret;
#  4. a button taken off the bar in the Customize Toolbar dialog is stored
#     and stays off after a restart.
# Usage: e2e_editing.sh PATH_TO_PAGEWELL
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# The timer enables the buttons on its next tick; the allowance covers the
# key's delivery, the repaint and the grab that sees the result.
TICK_MS=300
ALLOWANCE_MS=250
SELECT_CYCLES=5
# On a busy machine the program may miss a tick now and then; one late
# change of the ten is tolerated, a slower timer would miss several.
LATE_CHANGES_ALLOWED=1
STANDARD_BUTTONS=12
CUT_BUTTON=5  # Cut and Copy are the 5th and 6th buttons (positions 8 and 9)
WITHOUT_EXIT="|,New,Open,Save,|,Print,|,Cut,Copy,Paste,|,Undo,|,Find,|,Font,|,Help,|,|"
# Hovering over a button changes how it looks: the pointer waits out of the way.
POINTER_AWAY=(1270 1010)

# Types KEYS without xdotool's pause between key events, which would count
# as part of a measured delay.
press_now() { xdotool key --delay 0 "$@" || fail "xdotool could not type: $*"; }

menu_open() { (($(window_count) >= 2)); }
only_main_window() { (($(window_count) == 1)); }

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

# ---- the toolbar on the screen ---------------------------------------------
# Nothing here knows the style's sizes. Along the main window's right edge,
# where neither buttons nor document windows reach, the menu bar is one
# colour, the toolbar's rows follow, and the document area begins with the
# first colour that lasts 20 rows. Each toolbar row is one colour except
# where a picture or separator is drawn, so a column shows something when
# any of its pixels differs from the same row near the right edge.

# find_toolbar WINDOW: leaves the toolbar's rows in BAND (WxH+X+Y on the screen).
find_toolbar() {
    local shot=$ARTIFACTS/find-toolbar.png x y w h rows top bottom
    screenshot "$shot"
    read -r x y w h <<<"$(window_geometry "$1")"
    crop_image "$shot" "1x${h}+$((x + w - 4))+${y}" "$ARTIFACTS/right-edge.png"
    rows=$(pixel_rows "$ARTIFACTS/right-edge.png" | awk '
        { colour[$2] = $3 " " $4 " " $5; last = $2 }
        END {
            top = 0
            while (top <= last && colour[top] == colour[0]) top++
            for (y = top; y <= last; y += run) {
                run = 1
                while (y + run <= last && colour[y + run] == colour[y]) run++
                if (run >= 20) { print top, y; exit }
            }
        }')
    read -r top bottom <<<"$rows"
    if [[ -z ${bottom:-} ]] || ((bottom - top < 16 || bottom - top > 80)); then
        fail "no toolbar along the right edge of the main window (rows '$rows', see $shot)"
    fi
    BAND="${w}x$((bottom - top))+${x}+$((y + top))"
    log "toolbar rows on the screen: $BAND"
}

# toolbar_columns FILE: a 1 for each column of a toolbar picture that shows something.
toolbar_columns() {
    pixel_rows "$1" | awk '
        { px[$1, $2] = $3 " " $4 " " $5; if ($1 + 0 > w) w = $1 + 0; if ($2 + 0 > h) h = $2 + 0 }
        END {
            edge = w - 3
            for (x = 0; x <= w; x++) {
                on = 0
                for (y = 0; y <= h && !on; y++) on = px[x, y] != px[edge, y]
                printf "%d", on
            }
            print ""
        }'
}

# toolbar_buttons FILE: "FIRST LAST", the columns of each button's picture,
# left to right. Separators are lines a few pixels wide; three empty columns
# end a picture.
toolbar_buttons() {
    toolbar_columns "$1" | awk '
        {
            n = length($0); start = -1
            for (x = 1; x <= n + 3; x++) {
                if (x <= n && substr($0, x, 1) == "1") {
                    if (start < 0) start = x
                    last = x
                } else if (start >= 0 && x - last >= 3) {
                    if (last - start >= 5) print start - 1, last - 1
                    start = -1
                }
            }
        }'
}

# coloured_pixels FILE FIRST LAST: the pixels of columns FIRST to LAST that
# are no shade of grey. A disabled button's picture is drawn in greys.
coloured_pixels() {
    pixel_rows "$1" | awk -v first="$2" -v last="$3" '
        $1 + 0 >= first + 0 && $1 + 0 <= last + 0 {
            hi = $3 + 0; lo = hi
            if ($4 + 0 > hi) hi = $4 + 0
            if ($4 + 0 < lo) lo = $4 + 0
            if ($5 + 0 > hi) hi = $5 + 0
            if ($5 + 0 < lo) lo = $5 + 0
            if (hi - lo > 48) n++
        }
        END { print n + 0 }'
}

# changed_columns A B: "FIRST LAST", the columns in which two pictures differ; nothing when equal.
changed_columns() {
    { pixel_rows "$1" | sed 's/^/a /'; pixel_rows "$2" | sed 's/^/b /'; } | awk '
        $1 == "a" { px[$2, $3] = $4 " " $5 " " $6; next }
        px[$2, $3] != $4 " " $5 " " $6 {
            if (first == "" || $2 + 0 < first) first = $2 + 0
            if ($2 + 0 > last) last = $2 + 0
        }
        END { if (first != "") print first, last }'
}

# await_toolbar REFERENCE same|changed FILE: grabs the toolbar into FILE until
# it looks like REFERENCE again, or no longer does. LATENCY_MS is then the
# time from T0 to the end of the grab that showed it. Gives up 3 s after T0.
await_toolbar() {
    local reference=$1 want=$2 file=$3 seen differ
    while :; do
        grab_region "$file" "$BAND"
        seen=$(now_ms)
        differ=$(pixels_differ "$reference" "$file") || fail "cannot compare $file with $reference"
        [[ $want == same ]] && ((differ == 0)) && break
        [[ $want == changed ]] && ((differ > 0)) && break
        ((seen - T0 > 3000)) && return 1
    done
    LATENCY_MS=$((seen - T0))
}

# grab_toolbar NAME: the toolbar once it has stopped changing, into the file GRABBED.
grab_toolbar() {
    local file=$ARTIFACTS/toolbar-$1.png again=$ARTIFACTS/toolbar-$1-again.png differ
    sleep 0.5  # the tick after the last key has set the buttons
    grab_region "$file" "$BAND"
    sleep 0.4
    grab_region "$again" "$BAND"
    differ=$(pixels_differ "$file" "$again") || fail "cannot compare $file with $again"
    ((differ == 0)) || fail "the toolbar keeps changing ($1): $differ pixels between $file and $again"
    GRABBED=$file
}

start_xvfb
fresh_home
printf 'first line\nsecond line\n' >"$DOCS/notes.txt"
xdotool mousemove "${POINTER_AWAY[@]}"

start_app "$DOCS/notes.txt"
wait_for_window Pagewell 30
main=$WINDOW

# ---- 1. typing moves the status line ---------------------------------------
# The file's last line break makes a third, empty line. (The caption holds a
# random folder name, which OCR does not always read right.)
expect_on_screen opened 30 "second line" "Line=1 of 3 Column=1"
key "$main" Return Return Return
expect_on_screen three-breaks 10 "Line=4 of 6 Column=1"
expect_not_in_screenshot three-breaks "Line=1 of 3"
press a b c
expect_on_screen typed 10 "Line=4 of 6 Column=4"

# ---- 2. a selection enables Cut and Copy within a tick ---------------------
find_toolbar "$main"
grab_toolbar caret
caret=$GRABBED
mapfile -t buttons < <(toolbar_buttons "$caret")
((${#buttons[@]} == STANDARD_BUTTONS)) ||
    fail "the toolbar shows ${#buttons[@]} button pictures, expected $STANDARD_BUTTONS (columns: ${buttons[*]})"
read -r cut_first cut_last <<<"${buttons[CUT_BUTTON - 1]}"
read -r copy_first copy_last <<<"${buttons[CUT_BUTTON]}"
log "Cut's picture in columns $cut_first-$cut_last, Copy's in $copy_first-$copy_last"
for name in Cut Copy; do
    [[ $name == Cut ]] && range="$cut_first $cut_last" || range="$copy_first $copy_last"
    # shellcheck disable=SC2086  # two numbers
    (($(coloured_pixels "$caret" $range) == 0)) || fail "$name is not greyed with nothing selected (see $caret)"
done

latencies=()
late=()
for cycle in $(seq 1 "$SELECT_CYCLES"); do
    T0=$(now_ms)
    press_now shift+Left
    await_toolbar "$caret" changed "$ARTIFACTS/toolbar-selected-$cycle.png" ||
        fail "cycle $cycle: the toolbar did not change within 3 s of selecting a character"
    enabled_ms=$LATENCY_MS
    grab_toolbar "selected-settled-$cycle"
    selected=$GRABBED
    read -r first last <<<"$(changed_columns "$caret" "$selected")"
    ((first >= cut_first - 1 && last <= copy_last + 1)) ||
        fail "cycle $cycle: selecting changed columns $first-$last, not only Cut ($cut_first-$cut_last) and Copy ($copy_first-$copy_last)"
    (($(coloured_pixels "$selected" "$cut_first" "$cut_last") > 0)) ||
        fail "cycle $cycle: Cut is still greyed with a character selected (see $selected)"
    (($(coloured_pixels "$selected" "$copy_first" "$copy_last") > 0)) ||
        fail "cycle $cycle: Copy is still greyed with a character selected (see $selected)"

    T0=$(now_ms)
    press_now Right
    await_toolbar "$caret" same "$ARTIFACTS/toolbar-collapsed-$cycle.png" ||
        fail "cycle $cycle: Cut and Copy were not greyed again within 3 s of collapsing the selection"
    disabled_ms=$LATENCY_MS
    log "cycle $cycle: enabled seen after $enabled_ms ms, disabled after $disabled_ms ms"
    latencies+=("$enabled_ms/$disabled_ms")
    for ms in "$enabled_ms" "$disabled_ms"; do
        ((ms > TICK_MS + ALLOWANCE_MS)) && late+=("$ms")
    done
done
log "enabled/disabled seen after (ms): ${latencies[*]}"
((${#late[@]} <= LATE_CHANGES_ALLOWED)) ||
    fail "Cut and Copy followed the selection later than $TICK_MS ms + $ALLOWANCE_MS ms to see it in ${#late[@]} of $((2 * SELECT_CYCLES)) changes (enabled/disabled after, ms: ${latencies[*]})"

# ---- 3. F5 then Enter inserts the date -------------------------------------
# The first entry of the list: "mmm dd, yyyy", two blanks, "h:mm AMPM".
key "$main" End Return
before=$(date +%s)
press F5
wait_for_window "Date and Time" 10
key "$WINDOW" Return
wait_until 10 "the Date and Time dialog to close" only_main_window
after=$(date +%s)

# The date panel spells the month out ("December 06, 2026"), so the short
# month directly before the day ("Dec 06, 2026") can only be the insertion.
days=()
entries=()
for ((moment = before; moment <= after + 59; moment += 60)); do
    ((moment > after)) && moment=$after
    days+=("$(LC_ALL=C date -d "@$moment" '+%b %d, %Y')")
    entries+=("$(LC_ALL=C date -d "@$moment" '+%b %d, %Y  %-I:%M %p')")
done
date_on_screen() {
    local day
    screenshot date-inserted.png
    for day in "${days[@]}"; do
        ocr_has "$ARTIFACTS/date-inserted.png" "$day" && return 0
    done
    return 1
}
if ! poll_until 10 date_on_screen; then
    ocr_contains "$ARTIFACTS/date-inserted.png" "${days[0]}"
    fail "the document does not show the inserted date '${days[0]}'"
fi
log "screen shows the inserted date ${days[*]}"

# Saved, the line holds exactly the entry.
date_saved() {
    local line entry
    line=$(sed -n 5p "$DOCS/notes.txt")
    for entry in "${entries[@]}"; do
        [[ $line == "$entry" ]] && return 0
    done
    return 1
}
key "$main" ctrl+s
poll_until 10 date_saved ||
    fail "line 5 of the saved file is '$(sed -n 5p "$DOCS/notes.txt")', expected one of: ${entries[*]}"
[[ $(sed -n 4p "$DOCS/notes.txt") == "abcfirst line" && $(sed -n 6p "$DOCS/notes.txt") == "second line" ]] ||
    fail "the saved file is not the typed text around the date:
$(cat -A "$DOCS/notes.txt")"
log "saved line 5: $(sed -n 5p "$DOCS/notes.txt")"

# ---- 4. a customised toolbar survives a restart ----------------------------
ini_value Custom Toolbar >/dev/null && fail "a toolbar layout is stored before any customising"
xdotool mousemove "${POINTER_AWAY[@]}"
grab_toolbar standard
standard=$GRABBED
mapfile -t standard_buttons < <(toolbar_buttons "$standard")
((${#standard_buttons[@]} == STANDARD_BUTTONS)) ||
    fail "the standard toolbar shows ${#standard_buttons[@]} button pictures, expected $STANDARD_BUTTONS"

# A double click on the bar's empty right end opens the dialog.
IFS='x+' read -r band_w band_h band_x band_y <<<"$BAND"
timeout 10 xdotool mousemove --sync $((band_x + band_w - 10)) $((band_y + band_h / 2)) click --repeat 2 --delay 80 1 ||
    fail "could not double-click the toolbar"
wait_for_window "Customize Toolbar" 10
dialog=$WINDOW
# Alt+B goes to the bar's list, End to its last entry, Exit; Delete takes it off.
key "$dialog" alt+b End Delete
layout_stored() { [[ $(ini_value Custom Toolbar) == "$WITHOUT_EXIT" ]]; }
wait_until 10 "the layout without Exit to be stored under [Custom] Toolbar" layout_stored
screenshot customize-dialog.png
press alt+c
wait_until 10 "the Customize Toolbar dialog to close" only_main_window
xdotool mousemove "${POINTER_AWAY[@]}"

grab_toolbar customised
customised=$GRABBED
mapfile -t customised_buttons < <(toolbar_buttons "$customised")
expected_buttons=("${standard_buttons[@]:0:STANDARD_BUTTONS-1}")
[[ ${customised_buttons[*]} == "${expected_buttons[*]}" ]] ||
    fail "after removing Exit the bar shows pictures at columns '${customised_buttons[*]}', expected '${expected_buttons[*]}'"
log "customised bar: ${#customised_buttons[@]} buttons, Exit's picture (${standard_buttons[STANDARD_BUTTONS - 1]}) is gone"

exit_through_file_menu "$main" customised-file-menu
expect_setting Custom Toolbar "$WITHOUT_EXIT"

start_app
wait_for_window Pagewell 30
main=$WINDOW
expect_on_screen restarted 30 "Document 1"
find_toolbar "$main"
grab_toolbar restarted
restarted=$GRABBED
mapfile -t restarted_buttons < <(toolbar_buttons "$restarted")
[[ ${restarted_buttons[*]} == "${customised_buttons[*]}" ]] ||
    fail "after the restart the bar shows pictures at columns '${restarted_buttons[*]}', expected '${customised_buttons[*]}' (see $restarted)"
log "after the restart the bar shows the same ${#restarted_buttons[@]} buttons"

exit_through_file_menu "$main" restarted-file-menu
expect_setting Custom Toolbar "$WITHOUT_EXIT"
