# Helpers for the end-to-end scenarios, sourced by every tests/e2e/e2e_*.sh.
# A scenario runs the real program ($1) in its own X server with its own
# empty home, drives it with xdotool and reads the screen back with OCR.
# Screenshots, the program's output and the settings file are kept in
# $E2E_ARTIFACTS/<scenario> (default: <build dir>/e2e-artifacts/<scenario>).
# shellcheck shell=bash

set -uo pipefail

E2E_NAME=$(basename "$0" .sh)
E2E_DPI=96  # the X server's resolution; the program converts twips with it

if [[ $# -lt 1 || ! -x $1 ]]; then
    echo "FAIL: usage: $0 PATH_TO_PAGEWELL (got '${1:-}')" >&2
    exit 1
fi
APP=$(realpath "$1")
ARTIFACTS=${E2E_ARTIFACTS:-$(dirname "$APP")/e2e-artifacts}/$E2E_NAME
rm -rf "$ARTIFACTS"
mkdir -p "$ARTIFACTS" || exit 1
# Under /tmp, not $TMPDIR: a document's caption is its whole path, and the
# title bar of a first-run document window elides anything much longer than
# "/TMP/PW.ABCDEF/LETTER.TXT". Documents go straight into this folder.
E2E_ROOT=$(mktemp -d /tmp/pw.XXXXXX) || exit 1
# shellcheck disable=SC2034  # for the scenarios
DOCS=$E2E_ROOT

APP_PID=""
APP_RC=""
XVFB_PID=""
WINDOW=""
HOME_COUNT=0

# The scenario must not depend on the desktop it was started from.
unset WAYLAND_DISPLAY XAUTHORITY SESSION_MANAGER QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS \
      QT_AUTO_SCREEN_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI QT_STYLE_OVERRIDE \
      QT_QPA_PLATFORMTHEME
export QT_QPA_PLATFORM=xcb LANG=C.UTF-8 LC_ALL=C.UTF-8 OMP_THREAD_LIMIT=1

log() { echo "[$E2E_NAME] $*"; }

fail() {
    echo "FAIL [$E2E_NAME]: $*" >&2
    if [[ -n $XVFB_PID ]] && kill -0 "$XVFB_PID" 2>/dev/null; then
        timeout 10 import -display "${DISPLAY:-}" -window root "$ARTIFACTS/failure.png" 2>/dev/null \
            && echo "  screen at failure: $ARTIFACTS/failure.png" >&2
    fi
    exit 1
}

# wait_until SECONDS DESCRIPTION COMMAND...: polls COMMAND every 0.2 s.
wait_until() {
    local seconds=$1 what=$2
    shift 2
    local tries=$((seconds * 5))
    while ((tries-- > 0)); do
        "$@" && return 0
        sleep 0.2
    done
    fail "timed out after ${seconds}s waiting for $what"
}

# poll_until SECONDS COMMAND...: like wait_until, but a timeout only returns 1,
# so that the caller can say what it saw.
poll_until() {
    local deadline=$((SECONDS + $1))
    shift
    while :; do
        "$@" && return 0
        ((SECONDS >= deadline)) && return 1
        sleep 0.2
    done
}

cleanup() {
    local rc=$?
    trap - EXIT
    stop_app
    if [[ -n $XVFB_PID ]]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    fi
    if [[ -n ${XDG_CONFIG_HOME:-} && -f $XDG_CONFIG_HOME/Pagewell/Pagewell.ini ]]; then
        cp "$XDG_CONFIG_HOME/Pagewell/Pagewell.ini" "$ARTIFACTS/settings-home$HOME_COUNT.ini" 2>/dev/null
    fi
    rm -rf "$E2E_ROOT"
    if ((rc == 0)); then
        log "passed"
    else
        echo "  artifacts: $ARTIFACTS" >&2
    fi
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# ---- private folders -------------------------------------------------------

# A new empty HOME and XDG folders: the program starts as on its first run.
fresh_home() {
    if [[ -n ${XDG_CONFIG_HOME:-} && -f $XDG_CONFIG_HOME/Pagewell/Pagewell.ini ]]; then
        cp "$XDG_CONFIG_HOME/Pagewell/Pagewell.ini" "$ARTIFACTS/settings-home$HOME_COUNT.ini"
    fi
    HOME_COUNT=$((HOME_COUNT + 1))
    local home=$E2E_ROOT/home$HOME_COUNT
    mkdir -p "$home/.config" "$home/.local/share" "$home/.cache" "$home/runtime" || fail "cannot create $home"
    chmod 700 "$home/runtime"
    export HOME=$home
    export XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share
    export XDG_CACHE_HOME=$home/.cache XDG_RUNTIME_DIR=$home/runtime XDG_STATE_HOME=$home/.local/state
    # No session bus: nothing reaches the desktop the tests were started from.
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$home/runtime/no-bus
}

settings_file() { echo "$XDG_CONFIG_HOME/Pagewell/Pagewell.ini"; }

# ini_value SECTION KEY: prints the stored value; fails (status 1) when missing.
ini_value() {
    local file
    file=$(settings_file)
    [[ -f $file ]] || return 1
    awk -v header="[$1]" -v key="$2" '
        { sub(/\r$/, "") }
        /^\[/ { inside = ($0 == header); next }
        inside {
            eq = index($0, "=")
            if (eq > 1 && substr($0, 1, eq - 1) == key) { print substr($0, eq + 1); found = 1; exit }
        }
        END { exit !found }' "$file"
}

expect_setting() {
    local section=$1 key=$2 expected=$3 actual
    actual=$(ini_value "$section" "$key") || fail "[$section] $key is missing from $(settings_file):
$(cat "$(settings_file)" 2>/dev/null)"
    [[ $actual == "$expected" ]] || fail "[$section] $key is '$actual', expected '$expected'"
}

# ---- X server --------------------------------------------------------------

# 0 once our server answers, 2 when it died (the number was taken), else 1.
x_ready() {
    kill -0 "$XVFB_PID" 2>/dev/null || return 2
    xdpyinfo -display "$1" >/dev/null 2>&1 || return 1
    # Another server may have answered through its abstract socket while ours
    # was still failing to claim the number.
    sleep 0.3
    kill -0 "$XVFB_PID" 2>/dev/null || return 2
}

start_xvfb() {
    local n status
    for n in $(seq 91 120); do
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -dpi "$E2E_DPI" -nolisten tcp -noreset \
            >"$ARTIFACTS/xvfb.log" 2>&1 &
        XVFB_PID=$!
        local tries=100
        while ((tries-- > 0)); do
            x_ready ":$n"
            status=$?
            ((status == 0)) && { export DISPLAY=:$n; log "Xvfb on :$n"; return 0; }
            ((status == 2)) && break  # it lost the race for that number
            sleep 0.1
        done
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=""
    done
    fail "could not start Xvfb on any display from :91 to :120 (see $ARTIFACTS/xvfb.log)"
}

# ---- the program -----------------------------------------------------------

# start_app ARGS...: starts the program in the background.
start_app() {
    APP_RC=""
    "$APP" "$@" >>"$ARTIFACTS/app.log" 2>&1 </dev/null &
    APP_PID=$!
    log "started pagewell (pid $APP_PID) with: $*"
}

app_running() {
    [[ -n $APP_PID ]] || return 1
    if kill -0 "$APP_PID" 2>/dev/null; then
        return 0
    fi
    wait "$APP_PID" 2>/dev/null
    APP_RC=$?
    APP_PID=""
    return 1
}

app_ended() { ! app_running; }

# wait_for_exit SECONDS: waits for the program to end; its status is APP_RC.
wait_for_exit() {
    wait_until "$1" "pagewell to end" app_ended
    log "pagewell ended with status $APP_RC"
}

stop_app() {
    app_running || return 0
    kill "$APP_PID" 2>/dev/null
    local tries=15
    while ((tries-- > 0)) && app_running; do sleep 0.2; done
    app_running && kill -KILL "$APP_PID" 2>/dev/null
    app_running
    return 0
}

# ---- windows and keys ------------------------------------------------------

# The program's visible top-level windows (menus and dialogs included).
visible_windows() {
    [[ -n $APP_PID ]] || return 0
    xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null
}

window_count() { visible_windows | grep -c . ; }

find_window() {
    app_running || fail "pagewell ended (status $APP_RC) before its window '$1' appeared; output:
$(cat "$ARTIFACTS/app.log")"
    WINDOW=$(xdotool search --all --onlyvisible --pid "$APP_PID" --name "^$1\$" 2>/dev/null | head -n 1)
    [[ -n $WINDOW ]]
}

# wait_for_window NAME SECONDS: the program's visible window titled NAME;
# its id is left in WINDOW.
wait_for_window() {
    WINDOW=""
    wait_until "${2:-30}" "a visible window titled '$1'" find_window "$1"
    log "window '$1' is $WINDOW"
}

# window_geometry WINDOW: prints "X Y WIDTH HEIGHT" in pixels.
window_geometry() {
    # shellcheck disable=SC2034  # the eval sets all of them
    local geometry WINDOW X Y WIDTH HEIGHT SCREEN
    geometry=$(xdotool getwindowgeometry --shell "$1") || fail "no geometry for window $1"
    eval "$geometry"
    echo "$X $Y $WIDTH $HEIGHT"
}

# key WINDOW KEYS...: gives WINDOW the keyboard focus, then types the keys.
# Without a window manager only real (XTEST) key events reach Qt; events
# sent to a window (xdotool key --window) are ignored, so focus comes first.
key() {
    local window=$1
    shift
    timeout 10 xdotool windowfocus --sync "$window" || fail "could not focus window $window"
    press "$@"
}

# press KEYS...: types the keys into whatever holds the keyboard (an open menu).
press() {
    xdotool key --delay 60 "$@" || fail "xdotool could not type: $*"
}

# ---- screenshots and OCR ---------------------------------------------------

# screenshot FILE: the whole screen; a bare name is put in the artifacts folder.
screenshot() {
    local file=$1
    [[ $file == */* ]] || file=$ARTIFACTS/$file
    rm -f "${file%.png}.ocr.txt"
    timeout 20 import -window root "$file" || fail "could not take a screenshot into $file"
}

# ocr_text FILE: the text that OCR reads on the picture. Two readings: plain
# grey, and light-on-dark inverted (the active title bar's white caption).
ocr_text() {
    local file=$1 cache=${1%.png}.ocr.txt work=${1%.png}
    if [[ ! -s $cache ]]; then
        {
            convert "$file" -resize 300% -colorspace Gray "$work.ocr-grey.png" &&
                tesseract "$work.ocr-grey.png" stdout 2>>"$ARTIFACTS/tesseract.log"
            convert "$file" -resize 300% -colorspace Gray -threshold 65% -negate "$work.ocr-light.png" &&
                tesseract "$work.ocr-light.png" stdout 2>>"$ARTIFACTS/tesseract.log"
        } >"$cache"
        rm -f "$work.ocr-grey.png" "$work.ocr-light.png"
    fi
    cat "$cache"
}

# ocr_has FILE TEXT: case-sensitive. OCR splits words at wide gaps
# ("LETTER. TXT"), so blanks count for nothing when the exact text is absent.
ocr_has() {
    local text
    text=$(ocr_text "$1")
    grep -qF -- "$2" <<<"$text" && return 0
    tr -d '[:space:]' <<<"$text" | grep -qF -- "$(tr -d '[:space:]' <<<"$2")"
}

# ocr_contains FILE TEXT: like ocr_has, and prints what OCR read when TEXT is absent.
ocr_contains() {
    ocr_has "$1" "$2" && return 0
    echo "OCR of $1 does not show \"$2\"; it read:" >&2
    ocr_text "$1" | grep -v '^[[:space:]]*$' | sed 's/^/  | /' >&2
    return 1
}

# expect_on_screen NAME SECONDS TEXT...: screenshots NAME.png until OCR shows
# every TEXT (painting may lag behind the window's appearance).
expect_on_screen() {
    local name=$1 seconds=$2
    shift 2
    local deadline=$((SECONDS + seconds)) missing text
    while :; do
        screenshot "$name.png"
        missing=()
        for text in "$@"; do
            ocr_has "$ARTIFACTS/$name.png" "$text" || missing+=("$text")
        done
        ((${#missing[@]} == 0)) && { log "screen '$name' shows: $*"; return 0; }
        ((SECONDS >= deadline)) && break
        sleep 1
    done
    for text in "${missing[@]}"; do
        ocr_contains "$ARTIFACTS/$name.png" "$text"
    done
    fail "screen '$name' does not show: ${missing[*]}"
}

# expect_not_in_screenshot NAME TEXT: the last NAME.png does not show TEXT.
expect_not_in_screenshot() {
    if ocr_has "$ARTIFACTS/$1.png" "$2"; then
        fail "screen '$1' shows \"$2\", which should not be there"
    fi
}

# ---- twips -----------------------------------------------------------------

# pixels_of TWIPS: the whole number of pixels the program places at TWIPS
# (halves to the even neighbour).
pixels_of() {
    awk -v t="$1" -v dpi="$E2E_DPI" 'BEGIN {
        x = t * dpi / 1440; f = int(x); d = x - f
        if (d > 0.5 || (d == 0.5 && f % 2 == 1)) f++
        print f }'
}

# expect_twips SECTION KEY TWIPS SLACK: the stored value is a number of twips
# that lies on the pixel grid, within SLACK pixels of where TWIPS falls.
expect_twips() {
    local section=$1 key=$2 twips=$3 slack=$4 value
    value=$(ini_value "$section" "$key") || fail "[$section] $key is missing from $(settings_file)"
    [[ $value =~ ^-?[0-9]+(\.[0-9]+)?$ ]] || fail "[$section] $key is '$value', not a number"
    awk -v v="$value" -v want="$(pixels_of "$twips")" -v slack="$slack" -v dpi="$E2E_DPI" 'BEGIN {
        px = v * dpi / 1440; whole = int(px + 0.5)
        off = px - whole; if (off < 0) off = -off
        gap = whole - want; if (gap < 0) gap = -gap
        exit !(off < 0.01 && gap <= slack) }' ||
        fail "[$section] $key is $value twips: expected a whole number of pixels within $slack of $(pixels_of "$twips") px (${twips} twips at $E2E_DPI dpi)"
    log "[$section] $key=$value"
}

# ---- timing and screen regions ---------------------------------------------

# now_ms: the wall clock in milliseconds.
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# grab_region FILE WxH+X+Y: that part of the screen. Much quicker than a
# whole screenshot, so it suits polling for a change.
grab_region() {
    timeout 10 import -window root -crop "$2" +repage "$1" || fail "could not grab $2 into $1"
}

# crop_image SOURCE WxH+X+Y TARGET: a part of a picture taken earlier.
crop_image() {
    convert "$1" -crop "$2" +repage "$3" || fail "could not crop $2 out of $1"
}

# pixels_differ A B: prints how many pixels differ between two pictures of
# one size; fails (status 1, nothing printed) when they cannot be compared.
pixels_differ() {
    local count
    count=$(compare -metric AE "$1" "$2" null: 2>&1)
    [[ $count =~ ^[0-9]+(\.[0-9]+)?(e\+?[0-9]+)?$ ]] || return 1
    printf '%.0f\n' "$count"
}

# pixel_rows FILE: one line per pixel, "X Y RED GREEN BLUE" (0 to 255), for awk.
pixel_rows() {
    convert "$1" -alpha off -depth 8 txt:- |
        awk 'NR > 1 { split($1, xy, /[,:]/); gsub(/[()]/, "", $2); split($2, c, ","); print xy[1], xy[2], c[1], c[2], c[3] }'
}
