# Sourced: a display and one running Wine session for a build folder.
# start_wine_session <build dir> [screen]: Xvfb on a free display (or the
# person's own display when KEEP_DISPLAY=1), a persistent wineserver, and the
# prefix's background services started outside any caller's output pipes
# (they would otherwise hold a test runner's pipe open until they end).
. "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
start_wine_session() {
  local dir
  dir="$(cd "$1" && pwd)"
  "$dir/wine-run" --prepare
  if [ "${KEEP_DISPLAY:-0}" != 1 ] || [ -z "${DISPLAY:-}" ]; then
    start_xvfb "${2:-1024x768x24}"
  fi
  export WINEPREFIX="$dir/wineprefix"
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  /usr/lib/wine/wineserver -p 30
  "$dir/wine-run" cmd /c exit </dev/null >/dev/null 2>&1 || true
  trap 'stop_wine_session' EXIT
}
stop_wine_session() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}
