# Helpers for the end-to-end scenarios, sourced by every tests/e2e/e2e_*.sh.
# A scenario runs the real program ($1) in its own X server under openbox,
# with its own D-Bus session and empty home. It types with xdotool and reads
# the program back through Qt's accessibility interface (AT-SPI), the files
# it writes and its settings file. Nothing sleeps a fixed time: every step
# waits for a condition, up to PATIENCE seconds, so a busy machine only
# makes a scenario slower. What a failed run saw is kept in
# $E2E_ARTIFACTS/<scenario> (default: <build dir>/e2e-artifacts/<scenario>).
# shellcheck shell=bash

set -uo pipefail

E2E_NAME=$(basename "$0" .sh)
PATIENCE=${E2E_PATIENCE:-60}
if [[ $# -lt 1 || ! -x $1 ]]; then
    echo "FAIL: usage: $0 PATH_TO_PAGEWELL (got '${1:-}')" >&2
    exit 1
fi
APP=$(realpath "$1")
ARTIFACTS=${E2E_ARTIFACTS:-$(dirname "$APP")/e2e-artifacts}/$E2E_NAME
rm -rf "$ARTIFACTS"
mkdir -p "$ARTIFACTS" || exit 1
E2E_ROOT=$(mktemp -d /tmp/pw.XXXXXX) || exit 1
DOCS=$E2E_ROOT/docs
mkdir -m 700 "$DOCS" "$E2E_ROOT/run" || exit 1

SESSION_PIDS=()  # Xvfb, the buses and openbox, in the order they started
APP_PID="" APP_RC="" APP_BUS="" A11Y_BUS="" MAIN=""

# The scenario must not depend on the desktop it was started from.
unset WAYLAND_DISPLAY XAUTHORITY SESSION_MANAGER QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS \
      QT_AUTO_SCREEN_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI QT_STYLE_OVERRIDE \
      QT_QPA_PLATFORMTHEME QT_ACCESSIBILITY NO_AT_BRIDGE
export QT_QPA_PLATFORM=xcb LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export XDG_RUNTIME_DIR=$E2E_ROOT/run

log() { echo "[$E2E_NAME] $*"; }

fail() {
    echo "FAIL [$E2E_NAME]: $*" >&2
    if [[ -n ${DISPLAY:-} ]]; then
        timeout 20 import -window root "$ARTIFACTS/failure.png" 2>/dev/null
        [[ -n $APP_BUS ]] && a11y_tree >"$ARTIFACTS/failure-a11y.txt"
        echo "  the screen and the accessible objects: $ARTIFACTS/failure.png, failure-a11y.txt" >&2
    fi
    exit 1
}

# wait_for WHAT COMMAND...: runs COMMAND until it succeeds; the program may
# not end meanwhile.
wait_for() {
    local what=$1 deadline=$((SECONDS + PATIENCE)) running
    shift
    [[ -n $APP_PID ]] && running=1 || running=""
    until "$@"; do
        [[ -n $running ]] && ! app_running && fail "pagewell ended (status $APP_RC) awaiting $what: $(tail -n 20 "$ARTIFACTS/app.log")"
        ((SECONDS < deadline)) || fail "waited ${PATIENCE}s for $what"
        sleep 0.2
    done
}

cleanup() {
    local rc=$? i
    trap - EXIT
    stop_app
    for ((i = ${#SESSION_PIDS[@]} - 1; i >= 0; i--)); do
        kill "${SESSION_PIDS[i]}" 2>/dev/null
        wait "${SESSION_PIDS[i]}" 2>/dev/null
    done
    rm -rf "$E2E_ROOT"
    ((rc == 0)) && log "passed in ${SECONDS}s" || echo "  artifacts: $ARTIFACTS" >&2
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# A new empty home: the program starts as on its first run.
fresh_home() {
    HOME=$(mktemp -d "$E2E_ROOT/home.XXXX") || fail "no home"
    export HOME XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share
    export XDG_CACHE_HOME=$HOME/.cache XDG_STATE_HOME=$HOME/.local/state
}

# setting SECTION KEY: prints the stored value; fails when it is missing.
setting() {
    awk -v header="[$1]" -v key="$2=" '
        { sub(/\r$/, "") }
        /^\[/ { inside = ($0 == header); next }
        inside && index($0, key) == 1 { print substr($0, length(key) + 1); found = 1; exit }
        END { exit !found }' "$XDG_CONFIG_HOME/Pagewell/Pagewell.ini" 2>/dev/null
}

# file_is PATH TEXT: the file holds exactly TEXT.
file_is() { [[ -f $1 ]] && cmp -s "$1" <(printf '%s' "$2"); }

# ---- the session: X server, D-Bus, accessibility bus, window manager -------

has_text() { [[ -s $1 ]]; }
# x_ours N: the socket every client of :N tries first is our Xvfb's; one that
# lost the number to another server ends or never listens there.
x_ours() {
    local pid=${SESSION_PIDS[-1]} inode
    inode=$(awk -v path="@/tmp/.X11-unix/X$1" '$8 == path && $4 == "00010000" { print $7 }' /proc/net/unix)
    [[ -n $inode ]] && readlink "/proc/$pid/fd/"* 2>/dev/null | grep -qx "socket:\[$inode\]"
}
x_settled() { x_ours "$1" || ! kill -0 "${SESSION_PIDS[-1]}" 2>/dev/null; }
# Asked only once the launcher owns its name: asking sooner would start another.
a11y_bus_up() {
    gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus \
        -m org.freedesktop.DBus.NameHasOwner org.a11y.Bus 2>/dev/null | grep -q true || return 1
    A11Y_BUS=$(gdbus call --session -d org.a11y.Bus -o /org/a11y/bus -m org.a11y.Bus.GetAddress 2>/dev/null | cut -d"'" -f2)
    [[ -n $A11Y_BUS ]]
}
wm_managing() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

start_session() {
    local tool
    for tool in Xvfb xdotool xprop openbox dbus-daemon gdbus /usr/libexec/at-spi-bus-launcher; do
        command -v "$tool" >/dev/null || fail "$tool is missing (scripts/deps.sh test)"
    done
    fresh_home
    local n
    for n in $(seq 40 89); do
        [[ -e /tmp/.X$n-lock ]] || grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset 2>>"$ARTIFACTS/xvfb.log" &
        SESSION_PIDS+=($!)
        wait_for "Xvfb to start on :$n" x_settled "$n"
        x_ours "$n" && break
        n=""
    done
    [[ -n $n ]] || fail "no free X display from :40 to :89"
    export DISPLAY=:$n
    log "Xvfb on $DISPLAY"
    dbus-daemon --session --nofork --print-address=3 3>"$E2E_ROOT/bus" 2>"$ARTIFACTS/dbus.log" &
    SESSION_PIDS+=($!)
    wait_for "a D-Bus session" has_text "$E2E_ROOT/bus"
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$E2E_ROOT/bus")
    export DBUS_SESSION_BUS_ADDRESS
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$ARTIFACTS/at-spi.log" 2>&1 &
    SESSION_PIDS+=($!)
    wait_for "the accessibility bus" a11y_bus_up
    openbox --sm-disable >"$ARTIFACTS/openbox.log" 2>&1 &
    SESSION_PIDS+=($!)
    wait_for "openbox to manage the screen" wm_managing
    xdotool mousemove 1279 1023  # where it hovers over nothing
    log "session on $DISPLAY"
}

# ---- the program -----------------------------------------------------------

start_app() {
    APP_RC="" APP_BUS="" MAIN=""
    "$APP" "$@" >>"$ARTIFACTS/app.log" 2>&1 </dev/null &
    APP_PID=$!
    log "pagewell $* (pid $APP_PID)"
}

app_running() {
    [[ -n $APP_PID ]] || return 1
    kill -0 "$APP_PID" 2>/dev/null && return 0
    wait "$APP_PID" 2>/dev/null
    APP_RC=$? APP_PID="" APP_BUS=""
    return 1
}
app_ended() { ! app_running; }

# expect_exit: the program ends by itself, with status 0.
expect_exit() {
    wait_for "pagewell to end" app_ended
    [[ $APP_RC == 0 ]] || fail "pagewell ended with status $APP_RC; output: $(cat "$ARTIFACTS/app.log")"
}

stop_app() {
    app_running || return 0
    kill "$APP_PID" 2>/dev/null
    local tries=25
    while ((tries-- > 0)) && app_running; do sleep 0.2; done
    app_running && kill -KILL "$APP_PID" 2>/dev/null
    app_running
    return 0
}

# ---- windows and keys ------------------------------------------------------

# ids WHO: the program's visible windows that WHO names: "main" the main
# window (MAIN), "box" any other window titled Pagewell (a message or a
# prompt), anything else a title.
ids() {
    [[ -n $APP_PID ]] || return 1
    case $1 in
        main) [[ -n $MAIN ]] && echo "$MAIN" ;;
        box) ids Pagewell | grep -vx "${MAIN:-none}" ;;
        *) xdotool search --all --onlyvisible --pid "$APP_PID" --name "^$1\$" 2>/dev/null | grep . ;;
    esac
}
window_shown() { ids "$1" >/dev/null; }
window_gone() { ! window_shown "$1"; }
wait_window() { wait_for "a window titled '$1'" window_shown "$1"; }

# wait_main: waits for the main window, with no message over it, and for its
# status line: keys sent before the program has settled may be lost. The
# window's id is MAIN.
wait_main() {
    MAIN=""
    wait_window Pagewell
    MAIN=$(ids Pagewell | head -n 1)
    expect_shown "Line="
}

# active WHO: one of the windows WHO names has the keyboard.
active() {
    local id
    id=$(xdotool getactivewindow 2>/dev/null) && ids "$1" | grep -qx "$id"
}

# keys WHO KEYS...: once WHO has the keyboard, types KEYS (xdotool key names).
# Keys sent sooner could reach a window that a modal one blocks, and be lost.
keys() {
    wait_for "'$1' to have the keyboard" active "$1"
    shift
    xdotool key --delay 50 "$@" || fail "xdotool could not type $*"
}

# text WHO WORDS: once WHO has the keyboard, types WORDS as they are.
text() {
    wait_for "'$1' to have the keyboard" active "$1"
    xdotool type --delay 50 -- "$2" || fail "xdotool could not type '$2'"
}

# menu_open: a window without a WM_NAME is showing: a menu. (Its type is no
# help: Qt shows a menu again in a new window of type normal.)
menu_open() {
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$APP_PID" 2>/dev/null); do
        xprop -id "$id" WM_NAME 2>/dev/null | grep -q '"' || return 0
    done
    return 1
}

# menu WHO ALT_KEY ITEM_KEY: opens a menu of WHO from the keyboard and picks an item.
menu() {
    keys "$1" "$2"
    wait_for "the menu to open" menu_open
    xdotool key "$3" || fail "xdotool could not type $3"
}

# name_in TITLE PATH: names PATH in the file dialog TITLE and accepts it.
# In quotes, the name matches no file, so no completion list opens over the
# box to take the Enter.
name_in() {
    text "$1" "\"$2\""
    expect_shown "('\"$2\"',)"
    keys "$1" Return
    wait_for "'$1' to close" window_gone "$1"
}

# focus WHO: gives WHO the keyboard, as a click on it would.
focus() { timeout 20 xdotool windowactivate --sync "$(ids "$1" | head -n 1)" || fail "cannot activate '$1'"; }

# ---- what the program shows, through its accessible objects ----------------

a11y() { timeout 20 gdbus call --address "$A11Y_BUS" --dest "$APP_BUS" "$@" 2>/dev/null; }

# a11y_tree [PATH]: one line per accessible object: path, role, name and the
# first characters of its text. Menus, tool bars and scroll bars are skipped.
a11y_tree() {
    local path=${1:-/org/a11y/atspi/accessible/root} role state name="" text="" count child
    role=$(a11y -o "$path" -m org.a11y.atspi.Accessible.GetRoleName) || return 0
    case $role in *"menu bar"* | *"tool bar"* | *"scroll bar"* | *menu\'* | *list* | *table* | *tree*) return 0 ;; esac
    # A dialog once shown and hidden again stays listed; what it holds is no longer shown.
    if [[ $role == "('dialog',)" ]]; then
        state=$(a11y -o "$path" -m org.a11y.atspi.Accessible.GetState | grep -o '[0-9]\+' | head -n 2 | tail -n 1)
        (((${state:-0} >> 25) & 1)) || return 0  # the showing bit
    fi
    # Fewer calls, for speed: fillers and panes have no names (Qt 6.4 dies on GetAll).
    [[ $role == *filler* || $role == *pane* || $role == *grip* ]] ||
        name=$(a11y -o "$path" -m org.freedesktop.DBus.Properties.Get org.a11y.atspi.Accessible Name)
    # A read-only browser is a label without a name.
    if [[ $role == "('text',)" || $role$name == "('label',)(<''>,)" ]]; then
        count=$(a11y -o "$path" -m org.freedesktop.DBus.Properties.Get org.a11y.atspi.Text CharacterCount |
            tr -dc 0-9)
        text=$(a11y -o "$path" -m org.a11y.atspi.Text.GetText -- 0 $((${count:-0} < 4000 ? ${count:-0} : 4000)))
    fi
    echo "$path $role $name $text"
    case $role in *label* | *button* | *box* | *text*) return 0 ;; esac  # nothing more to read inside
    for child in $(a11y -o "$path" -m org.a11y.atspi.Accessible.GetChildren |
        grep -o '/org/a11y/atspi/accessible/[0-9]*'); do
        a11y_tree "$child"
    done
}

# The program's name on the accessibility bus: the application listed by the
# registry whose connection is the program's process.
app_bus() {
    [[ -n $APP_BUS ]] && return 0
    app_running || return 1
    local name
    for name in $(timeout 20 gdbus call --address "$A11Y_BUS" -d org.a11y.atspi.Registry \
        -o /org/a11y/atspi/accessible/root -m org.a11y.atspi.Accessible.GetChildren 2>/dev/null |
        grep -o "':[0-9.]*'" | tr -d "'"); do
        [[ $(timeout 20 gdbus call --address "$A11Y_BUS" -d org.freedesktop.DBus -o /org/freedesktop/DBus \
            -m org.freedesktop.DBus.GetConnectionUnixProcessID "$name" 2>/dev/null) == "(uint32 $APP_PID,)" ]] &&
            APP_BUS=$name && return 0
    done
    return 1
}

# shows TEXT...: every TEXT is part of some accessible name or text (gdbus
# quotes them: a line break is \n). What was seen is left in SEEN.
shows() {
    app_bus || return 1
    SEEN=$(a11y_tree)
    local t
    for t in "$@"; do grep -qF -- "$t" <<<"$SEEN" || return 1; done
}

# expect_gone TEXT: waits until no accessible name or text holds TEXT.
not_shown() { app_bus && SEEN=$(a11y_tree) && ! grep -qF -- "$1" <<<"$SEEN"; }
expect_gone() { wait_for "'$1' to go" not_shown "$1"; }

# expect_shown TEXT...: waits until the program shows every TEXT.
expect_shown() {
    wait_for "the program to show: $*" shows "$@"
    log "shows: $*"
}
