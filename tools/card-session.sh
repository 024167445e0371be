# Sourced by tools/demo and tools/bench-receiver: a Wine session in which the
# simulated tuner card is registered, the stand-in PowerVCR II is installed as
# the default TV application, and Telvix polls the card.
#   card_session_start <build dir> [desktop [name,WxH]]
#                                              "desktop": inside a Wine virtual
#                                              desktop, so its tray shows
#   prefix_pid <regex>                         the Linux process of a program
#                                              running in this build's prefix
#   install_stand_in <n>                       one more stand-in (TvAppId n)
#   stand_in_ids                               the TvAppIds of kTvApps
#   remote <args>                              the card's remote command line
# Sets APP_DIR and APP_LOG (the stand-in's folder and log); everything is
# stopped, and the card and the install key removed, when the shell exits.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# The application the session starts with the power key (DefaultTVAPP).
CARD_DEFAULT_APP=2

# The stand-in TV applications, one line per row of kTvApps (sim/tvapp/tvapp_rows.cpp):
# id|folder|install key|value|executable.
STAND_INS=()
load_stand_ins() {
    mapfile -t STAND_INS < <("$CARD_DIR/wine-run" "$CARD_DIR/sim/tvapp_rows.exe" </dev/null 2>/dev/null | tr -d '\r')
    [ ${#STAND_INS[@]} -gt 0 ] || { echo "No TV application rows from tvapp_rows.exe." >&2; return 1; }
}
stand_in_ids() { local row; for row in "${STAND_INS[@]}"; do echo "${row%%|*}"; done; }
stand_in_row() {
    local row
    for row in "${STAND_INS[@]}"; do [ "${row%%|*}" = "$1" ] && { echo "$row"; return 0; }; done
    echo "No TV application $1." >&2
    return 1
}

# install_stand_in <TvAppId>: the stand-in under the application's name, in
# its own folder under <build>/demo, with its install key; its log is the
# folder's tvapp_sim.log.
install_stand_in() {
    local id name key value exe dir row
    row=$(stand_in_row "$1") || return 1
    IFS='|' read -r id name key value exe <<<"$row"
    dir="$CARD_DIR/demo/$name"
    echo "Installing the stand-in $name in $dir..."
    mkdir -p "$dir"
    cp "$CARD_DIR/sim/tvapp_sim.exe" "$dir/$exe"
    rm -f "$dir/tvapp_sim.log"
    # The applications are 32-bit programs: their keys are in the 32-bit view.
    "$CARD_DIR/wine-run" reg add "$key" /v "$value" /t REG_SZ /d "$(winpath "$dir")" /f /reg:32 >/dev/null
}

prefix_pid() {
    local p
    for p in $(pgrep -u "$(id -u)" -f "$1"); do
        if tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$CARD_DIR/wineprefix"; then
            echo "$p"
            return
        fi
    done
}

remote() { "$CARD_DIR/wine-run" "$CARD_DIR/sim/remote.exe" "$@" </dev/null 2>&1 | tr -d '\r'; }
# One value of `remote status`.
card_value() { remote status | sed -n "s/.*$1=\"\{0,1\}\([^\" ]*\).*/\1/p" | head -1; }

card_session_stop() {
    set +e
    local run="$CARD_DIR/wine-run"
    # Telvix ends on WM_CLOSE to its window; taskkill without /f sends it.
    "$run" taskkill /im Telvix.exe >/dev/null 2>&1
    local entry id name key value exe
    for entry in "${STAND_INS[@]}"; do
        IFS='|' read -r id name key value exe <<<"$entry"
        "$run" taskkill /im "$exe" >/dev/null 2>&1
    done
    [ -n "${CARD_TELVIX_PID:-}" ] && kill "$CARD_TELVIX_PID" 2>/dev/null
    # Leave the prefix as the tests expect it: no card, no installed application.
    "$run" "$(regsvr32_of "$CARD_DIR")" /s /u "$(winpath "$CARD_DIR/sim/simcard.dll")" >/dev/null 2>&1
    for entry in "${STAND_INS[@]}"; do
        IFS='|' read -r id name key value exe <<<"$entry"
        "$run" reg delete "$key" /f /reg:32 >/dev/null 2>&1
    done
    stop_wine_session
}

card_session_start() {
    CARD_DIR="$1"
    local run="$CARD_DIR/wine-run"
    start_wine_session "$CARD_DIR"
    trap card_session_stop EXIT
    load_stand_ins

    echo "Registering the simulated tuner card as \"$CARD_NAME\"..."
    SIMCARD_NAME="$CARD_NAME" SIMCARD_SLOT=1 \
        "$run" "$(regsvr32_of "$CARD_DIR")" /s "$(winpath "$CARD_DIR/sim/simcard.dll")"

    install_stand_in "$CARD_DEFAULT_APP"
    local id name
    IFS='|' read -r id name _ <<<"$(stand_in_row "$CARD_DEFAULT_APP")"
    APP_DIR="$CARD_DIR/demo/$name"
    APP_LOG="$APP_DIR/tvapp_sim.log"
    local key='HKLM\SOFTWARE\Halvex Multimedia\Corvane Utilities'
    "$run" reg add "$key" /v DefaultTVAPP /t REG_DWORD /d "$CARD_DEFAULT_APP" /f >/dev/null
    "$run" reg add "$key" /v AlwaysRemoteOff /t REG_DWORD /d 0 /f >/dev/null
    # TELVIX_TRACE=1: Telvix writes its trace (trace.log in local application data).
    "$run" reg add "$key" /v Trace /t REG_DWORD /d "${TELVIX_TRACE:-0}" /f >/dev/null
    # TELVIX_DISPLAY=1 (or 2): Telvix's on-screen display of each key (of the keys nothing took).
    "$run" reg add 'HKCU\Software\Halvex Multimedia\Corvane Remote Control' /v OnScreenDisplay /t REG_DWORD \
        /d "${TELVIX_DISPLAY:-0}" /f >/dev/null

    card_start_telvix "${2:-}" "${3:-}"
}

# card_start_telvix [desktop [geometry]]: starts Telvix (again) and waits
# until it polls.
card_start_telvix() {
    local run="$CARD_DIR/wine-run"
    if [ "${1:-}" = desktop ]; then
        echo "Starting Telvix in a Wine virtual desktop (display $DISPLAY)..."
        "$run" explorer /desktop="${2:-Telvix,1024x768}" "$(winpath "$CARD_DIR/Telvix.exe")" </dev/null >/dev/null 2>&1 &
    else
        echo "Starting Telvix (display $DISPLAY)..."
        WINEDLLOVERRIDES="${CARD_TELVIX_DLLOVERRIDES:-}" \
            "$run" "$(winpath "$CARD_DIR/Telvix.exe")" </dev/null >/dev/null 2>&1 &
    fi
    CARD_TELVIX_PID=$!
    local polls0 polls
    polls0=$(card_value gpioRequests)
    for _ in $(seq 1 60); do
        polls=$(card_value gpioRequests)
        [ "${polls:-0}" -gt "${polls0:-0}" ] && return 0
        sleep 1
    done
    echo "Telvix did not start polling the card within 60 s." >&2
    return 1
}
