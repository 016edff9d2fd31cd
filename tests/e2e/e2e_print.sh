#!/usr/bin/env bash
# "From Page Setup's preview I print my report with Ctrl+P, choosing a PDF
# file in the print dialog. Then File, Print prints it on the same printer.
# Each time the PDF has three pages, each with the file's name on top, the
# report's lines in order, and its page number at the bottom."
# Usage: e2e_print.sh PATH_TO_PAGEWELL
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

pdf_whole() { pdfinfo "$pdf" >/dev/null 2>&1; }

# expect_pdf WHAT: the report's three pages are in $pdf.
expect_pdf() {
    local page lines body=""
    wait_for "$1 to write $pdf" pdf_whole
    [[ $(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }') == 3 ]] || fail "$1: $pdf has not 3 pages"
    for page in 1 2 3; do
        lines=$(pdftotext -layout -f $page -l $page "$pdf" - | tr -s ' \f' ' ' | sed 's/^ //; s/ $//; /^$/d')
        [[ $(head -n 1 <<<"$lines") == REPORT.TXT && $(tail -n 1 <<<"$lines") == "Page $page" ]] ||
            fail "$1: page $page lacks its header or footer: $lines"
        body+=$(sed '1d; $d' <<<"$lines")$'\n'
    done
    [[ $body == "$(cat "$report")"$'\n' ]] || fail "$1: the printed lines differ from the report"
    cp "$pdf" "$ARTIFACTS/$1.pdf"
    log "$1: three pages as expected"
}

start_session
report=$DOCS/report.txt pdf=$DOCS/printed.pdf
for n in $(seq -f %03g 1 150); do echo "Line $n of the report"; done >"$report"
start_app "$report"
wait_main
expect_shown "Line 150 of the report"

menu main alt+f u
wait_window "Page Setup"
keys "Page Setup" alt+v
wait_window "Print Preview"
keys "Print Preview" ctrl+p
wait_window Print
expect_shown "Print to File (PDF)"
keys Print alt+f ctrl+a
text Print "$pdf"
keys Print Return
expect_pdf preview
wait_for "the preview to close" window_gone "Print Preview"
keys "Page Setup" Escape
wait_for "Page Setup to close" window_gone "Page Setup"

rm "$pdf"
menu main alt+f p
expect_pdf file-print
menu main alt+f x
expect_exit
