#!/usr/bin/env bash
# Page setup and printing in the real program under Xvfb:
#  1. File, Page Setup: Default then Save writes the default texts to the
#     settings file (".75", ".75", ".5", "0"); Esc closes the dialog.
#  2. Page Setup's Preview, then Ctrl+P there: Qt's print dialog is set to
#     "Print to File (PDF)" with a file name, and the preview prints the
#     pages into it. File, Print Setup cannot be used for this: its dialog
#     only sets a printer up and, without a print server, lists no printer
#     and no "Print to File" entry.
#  3. File, Print then prints through the printing window on the same
#     printer, so into the same file.
# After 2 and 3 pdftotext reads the file back: three pages, each with the
# file name on top, the body lines in order, and "Page 1" to "Page 3" last.
# Usage: e2e_print.sh PATH_TO_PAGEWELL
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

for tool in pdftotext pdfinfo; do
    command -v "$tool" >/dev/null || fail "$tool is missing: install poppler-utils"
done

menu_open() { (($(window_count) >= 2)); }
only_main_window() { (($(window_count) == 1)); }

type_text() {
    xdotool type --delay 30 -- "$1" || fail "xdotool could not type: $1"
}

# file_menu LETTER: File menu, then the item with that mnemonic.
file_menu() {
    key "$main" alt+f
    wait_until 10 "the File menu to open" menu_open
    press "$1"
}

pdf_complete() { [[ -s $1 ]] && pdfinfo "$1" >/dev/null 2>&1; }

# expect_report_pdf PDF WHAT: the three printed pages of the report.
expect_report_pdf() {
    local pdf=$1 what=$2 pages page lines first last body
    cp "$pdf" "$ARTIFACTS/$what.pdf"
    pages=$(pdfinfo "$pdf" 2>/dev/null | awk '/^Pages:/ { print $2 }')
    [[ $pages == 3 ]] || fail "$what: $pdf has '${pages}' pages, expected 3"
    body=""
    for page in 1 2 3; do
        lines=$(pdftotext -layout -f "$page" -l "$page" "$pdf" - | tr -d '\f' | tr -s ' ' | sed 's/^ //; s/ $//' | grep -v '^$')
        first=$(head -n 1 <<<"$lines")
        last=$(tail -n 1 <<<"$lines")
        [[ $first == REPORT.TXT ]] || fail "$what: page $page begins with '$first', not the header REPORT.TXT"
        [[ $last == "Page $page" ]] || fail "$what: page $page ends with '$last', not the footer 'Page $page'"
        body+=$(sed '1d; $d' <<<"$lines")$'\n'
    done
    diff <(printf '%s' "$body") "$report" >"$ARTIFACTS/$what-body.diff" ||
        fail "$what: the body differs from the document (see $ARTIFACTS/$what-body.diff)"
    log "$what: 3 pages, header, body and footers as expected"
}

start_xvfb
fresh_home
report=$DOCS/report.txt
for n in $(seq -f %03g 1 150); do echo "Line $n of the report"; done >"$report"
pdf=$DOCS/printed.pdf

start_app "$report"
wait_for_window Pagewell 30
main=$WINDOW
expect_on_screen opened 30 "REPORT" "Line 010 of the report"

# ---- 1. Page Setup: Default, Save --------------------------------------
file_menu u
wait_for_window "Page Setup" 20
setup=$WINDOW
expect_on_screen page-setup 20 "Margins" "Default"
key "$setup" alt+d
key "$setup" alt+s
bottom_saved() { ini_value "Page Setup" Bottom >/dev/null; }
wait_until 10 "Save to write the page setup" bottom_saved
expect_setting "Page Setup" Header "&f"
expect_setting "Page Setup" Footer "Page &p"
expect_setting "Page Setup" Left ".75"
expect_setting "Page Setup" Right ".75"
expect_setting "Page Setup" Top ".5"
expect_setting "Page Setup" Bottom "0"

# ---- 2. Preview, printed to a PDF file through Qt's print dialog -------
key "$setup" alt+v
wait_for_window "Print Preview" 30
preview=$WINDOW
screenshot preview.png
key "$preview" ctrl+p
wait_for_window "Print" 20
print_dialog=$WINDOW
expect_on_screen print-dialog 20 "Print to File (PDF)"
# "Output &file:" names the box for the file.
key "$print_dialog" alt+f ctrl+a
type_text "$pdf"
screenshot print-dialog-file.png
press Return
wait_until 60 "the preview to print into $pdf" pdf_complete "$pdf"
expect_report_pdf "$pdf" preview-print
preview_closed() { ! find_window "Print Preview"; }
wait_until 20 "the preview to close" preview_closed
key "$setup" Escape
wait_until 10 "Page Setup to close" only_main_window

# ---- 3. File, Print on the same printer ---------------------------------
rm -f "$pdf"
file_menu p
wait_until 60 "File, Print to write $pdf" pdf_complete "$pdf"
wait_until 30 "the printing window to close" only_main_window
expect_report_pdf "$pdf" file-print

file_menu x
wait_for_exit 30
[[ $APP_RC == 0 ]] || fail "pagewell ended with status $APP_RC after File, Exit"
