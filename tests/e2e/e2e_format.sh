#!/usr/bin/env bash
# Formatting in the real program under Xvfb, all from the keyboard:
#  1. Options, Color sets the document's background (light yellow here);
#  2. Tab Set with 4 stops lines up tabbed text that the default stops do not;
#  3. the real Font dialog makes a selection red, bold and 14 point, seen on
#     the screen and in the RTF saved afterwards (read back with unrtf);
#  4. Word Wrap unwraps a long line and wraps it again.
# Usage: e2e_format.sh PATH_TO_PAGEWELL
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

BACKGROUND=(255 255 224)  # #ffffe0, 0x00E0FFFF as the program stores it
LONG_LINE=$(printf 'wrap%02d ' $(seq 1 60))
POINTER_AWAY=(1270 1010)

menu_open() { (($(window_count) >= 2)); }
only_main_window() { (($(window_count) == 1)); }

# options_item LETTER: Alt+O opens the Options menu, LETTER picks the item.
options_item() {
    key "$main" alt+o
    wait_until 10 "the Options menu to open" menu_open
    press "$1"
}

# ---- the text area on the screen -------------------------------------------

# text_area FILE: "X Y W H" of the pixels in the background colour: the
# text control's inside, once the background is set.
text_area() {
    pixel_rows "$1" | awk -v r="${BACKGROUND[0]}" -v g="${BACKGROUND[1]}" -v b="${BACKGROUND[2]}" '
        $3 == r && $4 == g && $5 == b {
            if (n++ == 0) { x0 = x1 = $1; y0 = y1 = $2 }
            if ($1 < x0) x0 = $1; if ($1 > x1) x1 = $1
            if ($2 < y0) y0 = $2; if ($2 > y1) y1 = $2
        }
        END { if (n > 0) print x0, y0, x1 - x0 + 1, y1 - y0 + 1, n }'
}

# text_lines FILE: one line per line of text in a picture of the text area,
# top to bottom: "TOP BOTTOM LAST_X RIGHT_X", where LAST_X is where the
# line's last word starts (after a gap of 6 pixels or more) and RIGHT_X its
# rightmost inked column. Ink is any pixel clearly darker than the background;
# rows that do not start in the background colour (a scroll bar) do not count.
text_lines() {
    pixel_rows "$1" | awk -v r="${BACKGROUND[0]}" -v g="${BACKGROUND[1]}" -v b="${BACKGROUND[2]}" '
        { if ($1 + 0 > w) w = $1 + 0; if ($2 + 0 > h) h = $2 + 0 }
        $1 == 0 && ($3 != r || $4 != g || $5 != b) { outside[$2] = 1 }
        $3 + $4 + $5 < 450 { ink[$2] = 1; col[$2, $1] = 1 }
        END {
            for (y = 0; y <= h + 1; y++) {
                if (y <= h && ink[y] && !outside[y]) { if (top == "") top = y; continue }
                if (top == "") continue
                last = -1; right = -1; prev = -100
                for (x = 0; x <= w; x++) {
                    on = 0
                    for (yy = top; yy < y && !on; yy++) on = col[yy, x]
                    if (!on) continue
                    if (x - prev > 6) last = x
                    prev = x; right = x
                }
                print top, y - 1, last, right
                top = ""
            }
        }'
}

# red_pixels FILE: how many pixels are clearly red.
red_pixels() {
    pixel_rows "$1" | awk '$3 > 180 && $4 < 90 && $5 < 90 { n++ } END { print n + 0 }'
}

# shoot_text NAME: a screenshot, and the text area cut out of it as NAME-text.png.
shoot_text() {
    sleep 0.6  # the caret and the last key's repaint
    screenshot "$1.png"
    crop_image "$ARTIFACTS/$1.png" "${AREA_W}x${AREA_H}+${AREA_X}+${AREA_Y}" "$ARTIFACTS/$1-text.png"
    TEXT_SHOT=$ARTIFACTS/$1-text.png
}

start_xvfb
fresh_home
# A big main window: its first document takes three quarters of it, so the
# stops of Tab Set lie well away from the default ones every 80 pixels.
mkdir -p "$(dirname "$(settings_file)")"
cat >"$(settings_file)" <<'INI'
[Settings]
MainLeft=0
MainTop=0
MainWidth=18000
MainHeight=14400
INI
: >"$DOCS/format.rtf"
xdotool mousemove "${POINTER_AWAY[@]}"

start_app "$DOCS/format.rtf"
wait_for_window Pagewell 30
main=$WINDOW
expect_on_screen opened 30 "FORMAT.RTF"

# ---- 1. the background colour ----------------------------------------------
# Qt's colour dialog: Alt+H goes to its HTML box.
options_item c
wait_for_window Color 10
key "$WINDOW" alt+h ctrl+a
press numbersign f f f f e 0 Return
wait_until 10 "the Color dialog to close" only_main_window
xdotool mousemove "${POINTER_AWAY[@]}"
sleep 0.6
screenshot background.png
read -r AREA_X AREA_Y AREA_W AREA_H area_pixels <<<"$(text_area "$ARTIFACTS/background.png")"
[[ -n ${area_pixels:-} ]] || fail "no pixel of the chosen background #ffffe0 on the screen (see $ARTIFACTS/background.png)"
((AREA_W > 600 && AREA_H > 300)) ||
    fail "the background colour covers only ${AREA_W}x${AREA_H} pixels at $AREA_X,$AREA_Y"
log "text area in the new background: ${AREA_W}x${AREA_H} at $AREA_X,$AREA_Y"

# ---- 2. Tab Set ------------------------------------------------------------
# 14 letters reach past the default stop at 80 pixels but not the first of
# four stops across a control of more than 600 pixels.
key "$main" p l a i n space R E D Return a Tab b Return
press a a a a a a a a a a a a a a Tab b
press ctrl+Home
shoot_text tabs-default
mapfile -t lines < <(text_lines "$TEXT_SHOT")
((${#lines[@]} == 3)) || fail "expected 3 lines of text before Tab Set, found ${#lines[@]}: ${lines[*]}"
read -r _ _ short_b _ <<<"${lines[1]}"
read -r _ _ long_b _ <<<"${lines[2]}"
log "default stops: the b's start at x=$short_b and x=$long_b in the text area"
((long_b - short_b > 20)) || fail "the default stops already line up the b's ($short_b, $long_b): the scenario proves nothing"

key "$main" ctrl+a
options_item s
wait_for_window "Tab Set" 10
key "$WINDOW" Return
wait_until 10 "the Tab Set dialog to close" only_main_window
expect_setting "Tab Set" Tab '\s4'
key "$main" ctrl+Home
shoot_text tabs-set
mapfile -t lines < <(text_lines "$TEXT_SHOT")
((${#lines[@]} == 3)) || fail "expected 3 lines of text after Tab Set, found ${#lines[@]}: ${lines[*]}"
read -r _ _ short_b _ <<<"${lines[1]}"
read -r _ _ long_b _ <<<"${lines[2]}"
log "4 stops: the b's start at x=$short_b and x=$long_b in the text area"
((short_b - long_b <= 1 && long_b - short_b <= 1)) || fail "Tab Set did not line up the b's: x=$short_b and x=$long_b"
# The first stop is a fifth of the control's width (the text area and its
# frame) from the text's left edge (4 pixels in).
awk -v x="$short_b" -v w="$AREA_W" 'BEGIN { want = 4 + w / 5; d = x - want; if (d < 0) d = -d; exit !(d <= 4) }' ||
    fail "the first stop is at x=$short_b, expected about $((4 + AREA_W / 5)) (a fifth of ${AREA_W} pixels)"

# ---- 3. the Font dialog on a selection -------------------------------------
# "RED" selected from its end; in the dialog Alt+Y is the style list (b:
# Bold), Alt+S the size box, Alt+C the colour list (r: Red); Enter is OK.
key "$main" ctrl+Home End shift+Left shift+Left shift+Left
options_item f
wait_for_window Font 10
font_dialog=$WINDOW
screenshot font-dialog.png
key "$font_dialog" alt+y b alt+s 1 4 alt+c r
screenshot font-dialog-chosen.png
press Return
wait_until 10 "the Font dialog to close" only_main_window
key "$main" ctrl+End
shoot_text font
red=$(red_pixels "$TEXT_SHOT")
((red > 40)) || fail "the text area shows $red red pixels after the Font command (see $TEXT_SHOT)"
mapfile -t lines < <(text_lines "$TEXT_SHOT")
read -r top bottom red_x _ <<<"${lines[0]}"
crop_image "$TEXT_SHOT" "${red_x}x$((bottom - top + 1))+0+${top}" "$ARTIFACTS/font-plain.png"
(($(red_pixels "$ARTIFACTS/font-plain.png") == 0)) || fail "\"plain\" turned red as well (see $ARTIFACTS/font-plain.png)"
log "the selection shows $red red pixels; the rest of its line none"
cp "$ARTIFACTS/font.png" "$ARTIFACTS/format-shot.png"

key "$main" ctrl+s
saved_rtf() { [[ -s $DOCS/format.rtf ]] && grep -q 'RED' "$DOCS/format.rtf"; }
wait_until 10 "format.rtf to be saved" saved_rtf
cp "$DOCS/format.rtf" "$ARTIFACTS/format.rtf"
command -v unrtf >/dev/null || fail "unrtf is not installed; the saved RTF is read back with it (scripts/deps.sh test)"
html=$(unrtf --html "$DOCS/format.rtf" 2>"$ARTIFACTS/unrtf.log") || fail "unrtf cannot read the saved file (see $ARTIFACTS/unrtf.log)"
printf '%s\n' "$html" >"$ARTIFACTS/format.html"
# unrtf nests one <font> or <b> per property just before the text.
red_run=$(grep -o '<[^>]*>\(<[^>]*>\)*RED' <<<"$html" | head -n 1)
plain_run=$(grep -o '<[^>]*>\(<[^>]*>\)*plain' <<<"$html" | head -n 1)
for part in '<b>' 'color="#ff0000"' 'size="4"'; do
    [[ $red_run == *"$part"* ]] || fail "unrtf shows RED as '$red_run', without $part (see $ARTIFACTS/format.html)"
done
[[ $plain_run != *'<b>'* && $plain_run != *'#ff0000'* ]] || fail "unrtf shows plain as '$plain_run'"
stops=$(grep -o '\\pard\(\\tx[0-9]*\)*' "$DOCS/format.rtf" | sed -n 2p)
[[ $stops =~ ^\\pard\\tx([0-9]+)\\tx([0-9]+)\\tx([0-9]+)\\tx([0-9]+)$ ]] ||
    fail "the second paragraph of the RTF has stops '$stops', expected 4"
step=${BASH_REMATCH[1]}
for i in 2 3 4; do
    ((BASH_REMATCH[i] == i * step)) || fail "the RTF's stops are not evenly spaced: $stops"
done
log "RTF: RED in bold, 14 pt and red ($red_run); 4 stops every $step twips"

# ---- 4. Word Wrap ----------------------------------------------------------
key "$main" ctrl+End Return
xdotool type --delay 5 "$LONG_LINE"
key "$main" ctrl+Home
shoot_text wrapped
mapfile -t wrapped < <(text_lines "$TEXT_SHOT")
options_item w
wait_until 10 "the Options menu to close" only_main_window
shoot_text unwrapped
mapfile -t unwrapped < <(text_lines "$TEXT_SHOT")
options_item w
wait_until 10 "the Options menu to close" only_main_window
shoot_text rewrapped
mapfile -t rewrapped < <(text_lines "$TEXT_SHOT")
log "lines of text: ${#wrapped[@]} wrapped, ${#unwrapped[@]} unwrapped, ${#rewrapped[@]} wrapped again"
((${#unwrapped[@]} == 4)) || fail "with Word Wrap off the text shows ${#unwrapped[@]} lines, expected 4 (see $ARTIFACTS/unwrapped.png)"
((${#wrapped[@]} >= 6)) || fail "with Word Wrap on the long line does not wrap: ${#wrapped[@]} lines (see $ARTIFACTS/wrapped.png)"
((${#rewrapped[@]} == ${#wrapped[@]})) || fail "Word Wrap on again shows ${#rewrapped[@]} lines, first ${#wrapped[@]}"
read -r _ _ _ long_right <<<"${unwrapped[3]}"
((long_right >= AREA_W - 8)) || fail "unwrapped, the long line ends at x=$long_right, short of the edge at $AREA_W"
for line in "${wrapped[@]}"; do
    read -r _ _ _ right <<<"$line"
    ((right < AREA_W - 8)) || fail "wrapped, a line still reaches the right edge (x=$right of $AREA_W)"
done

# ---- exit: the background and the tab count are stored ----------------------
key "$main" ctrl+s
key "$main" alt+f
wait_until 10 "the File menu to open" menu_open
press x
wait_for_exit 30
[[ $APP_RC == 0 ]] || fail "pagewell ended with status $APP_RC after File, Exit; output:
$(cat "$ARTIFACTS/app.log")"
expect_setting Color Color 14745599
expect_setting "Tab Set" Tab '\s4'
expect_setting WordWrap Wrap True
