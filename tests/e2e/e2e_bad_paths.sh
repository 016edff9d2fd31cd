#!/usr/bin/env bash
# Command lines that name no readable file: the program still starts, the
# document stays empty but carries the upper-cased command line as its
# caption, and File, Exit ends the program normally. Nothing is created.
# What is no regular file (a folder) is named in a message first.
# Usage: e2e_bad_paths.sh PATH_TO_PAGEWELL
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

menu_open() { (($(window_count) >= 2)); }
some_window() { (($(window_count) >= 1)); }
one_window() { (($(window_count) == 1)); }

# run_with_bad_path NAME CAPTION_PART COMMAND_LINE [MESSAGE]: one run from a
# fresh home; MESSAGE, when given, is shown before the main window.
run_with_bad_path() {
    local name=$1 caption=$2 command_line=$3 message=${4:-}
    fresh_home
    start_app "$command_line"
    if [[ -n $message ]]; then
        wait_until 10 "the message about $command_line" some_window
        expect_on_screen "$name-message" 10 "$message"
        press Return
        wait_until 10 "the message to close" one_window
    fi
    wait_for_window Pagewell 30
    local main=$WINDOW
    # "of 1" lines: the document is empty.
    expect_on_screen "$name" 30 "$caption" "Line=1 of 1 Column=1"
    (($(window_count) == 1)) || fail "$name: a second window (an error box?) opened at start-up"

    key "$main" alt+f
    wait_until 10 "the File menu to open" menu_open
    press x
    wait_for_exit 30
    [[ $APP_RC == 0 ]] || fail "$name: pagewell ended with status $APP_RC; output:
$(cat "$ARTIFACTS/app.log")"
    expect_setting Toolbar Visible Yes
    expect_twips Settings MainLeft 1000 0
}

start_xvfb

# OCR sometimes drops the dot of the white caption text: the stem is enough.
run_with_bad_path missing-file MISSING "$DOCS/missing.txt"
[[ ! -e $DOCS/missing.txt ]] || fail "start-up created $DOCS/missing.txt"

mkdir "$DOCS/notes"
run_with_bad_path folder "/NOTES" "$DOCS/notes" "not a regular file"

# Quotes are part of the command line: the quoted name is no file, so the
# existing file's text must not appear.
printf 'Quoted content here\n' >"$DOCS/quoted.txt"
run_with_bad_path quoted "QUOTED" "\"$DOCS/quoted.txt\""
expect_not_in_screenshot quoted "Quoted content here"
