#!/usr/bin/env bash
# Runs a Windows program under 64-bit Wine with a prefix of its build directory's own,
# code page 936 (zh_CN.UTF-8) and no debug noise. CTest uses it as the emulator.
set -euo pipefail
exe=$1; shift
build_dir=${TC_WINE_BUILD_DIR:-$(cd "$(dirname "$exe")" && while [ ! -f CMakeCache.txt ] && [ "$PWD" != / ]; do cd ..; done; pwd)}
export WINEPREFIX=${WINEPREFIX:-$build_dir/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export LANG=${TC_WINE_LANG:-zh_CN.UTF-8} LC_ALL=${TC_WINE_LANG:-zh_CN.UTF-8}
wine=/usr/lib/wine/wine64
# One prefix per build directory, made once; CTest may start several tests at a time.
(
  flock 9
  if [ ! -f "$WINEPREFIX/.tc-ready" ]; then
    mkdir -p "$WINEPREFIX"
    "$wine" wineboot -i >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w || true
    touch "$WINEPREFIX/.tc-ready"
  fi
  # Start the prefix's server ourselves, detached from our output, and keep it a minute after
  # its last client so the tests of one run share it; when one runs already this returns.
  /usr/lib/wine/wineserver -p60 </dev/null >/dev/null 2>&1 9>&- || true
) 9>"$build_dir/.wineprefix.lock"
# A test that needs a display gets the one the test script started; without one, Wine still
# runs console programs.
if [ -t 1 ]; then exec "$wine" "$exe" "$@"; fi
# Wine's own background processes (services, device and desktop hosts) start with the output of
# whichever program needed them first and live on while any Wine program runs: writing straight
# to CTest's pipe would keep CTest waiting on a finished test until then. A file has no reader to
# keep waiting.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
status=0
"$wine" "$exe" "$@" >"$out" 2>&1 || status=$?
cat "$out"
exit $status
