# Sourced by every tool: where the tree and its builds are, the architecture,
# Wine's paths, the simulated card's name, and a display with a Wine session.
#   ROOT                 the source tree
#   BUILD_ROOT           the build folders' parent (default $ROOT/build)
#   ARCH                 the architecture a tool works on unless told (TELVIX_ARCH, else x86_64)
#   build_dir [arch]     a development build's folder, build_release_dir arch the shipped one's
#   build_arch [arch]    builds it quietly (tools/build) and prints its folder
#   winpath <path>       a Linux path as Wine sees it (Z:\...)
#   take_arch <arg>      true when <arg> names an architecture; it becomes ARCH
#   regsvr32_of <dir>    the regsvr32 of a build folder's bitness
#   CARD_NAME            the friendly name the simulated card registers under
#   poll_timing <Name>   a value of routing/poll_timing.h: poll_timing PollPeriodMs
#   start_xvfb [screen]  a private Xvfb on a free display; sets DISPLAY and XVFB_PID
#   start_wine_session <build dir> [screen], stop_wine_session
#   start_prefix_session <wine-run> <prefix>   the same for another prefix of a build
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_ROOT="${BUILD_ROOT:-$ROOT/build}"
ARCH="${TELVIX_ARCH:-x86_64}"
CARD_NAME="Philips Cap713x Video Capture"

build_dir() { echo "$BUILD_ROOT/${1:-$ARCH}"; }
build_release_dir() { echo "$BUILD_ROOT/release-${1:-$ARCH}"; }
build_arch() {
  "$ROOT/tools/build" "${1:-$ARCH}" >/dev/null
  build_dir "${1:-$ARCH}"
}

poll_timing() {
  local value
  value=$(sed -n "s/^const [A-Za-z]* k$1 = \([0-9][0-9]*\);.*/\1/p" "$ROOT/routing/poll_timing.h")
  [ -n "$value" ] || { echo "poll_timing: no k$1 in routing/poll_timing.h" >&2; return 1; }
  echo "$value"
}

winpath() { local p="Z:$1"; echo "${p//\//\\}"; }

take_arch() {
  case "${1:-}" in
    i686 | x86_64) ARCH="$1" ;;
    *) return 1 ;;
  esac
}
# A 32-bit in-process server registers through SysWOW64's regsvr32, into the
# 32-bit registry view, which is where a 32-bit program looks for it.
regsvr32_of() {
  case "$1" in
    *i686) echo 'C:\windows\syswow64\regsvr32.exe' ;;
    *) echo regsvr32 ;;
  esac
}

start_xvfb() {
  local fifo num
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  read -r num <"$fifo"
  rm -f "$fifo"
  export DISPLAY=":$num"
}

# A display (Xvfb, or the person's own when KEEP_DISPLAY=1), a persistent
# wineserver, and the prefix's background services started outside any
# caller's output pipes (they would otherwise hold a test runner's pipe open
# until they end). Everything stops when the shell exits.
start_prefix_session() {
  local run="$1"
  "$run" --prepare
  if [ "${KEEP_DISPLAY:-0}" != 1 ] || [ -z "${DISPLAY:-}" ]; then
    start_xvfb "${3:-1024x768x24}"
  fi
  export WINEPREFIX="$2"
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  /usr/lib/wine/wineserver -p 30
  "$run" cmd /c exit </dev/null >/dev/null 2>&1 || true
  trap 'stop_wine_session' EXIT
}
start_wine_session() {
  local dir
  dir="$(cd "$1" && pwd)"
  start_prefix_session "$dir/wine-run" "$dir/wineprefix" "${2:-}"
}
stop_wine_session() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}
