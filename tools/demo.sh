#!/usr/bin/env bash
# Shows task-collector working at once on a fresh Debian machine: installs what is needed,
# starts the demo marketplace (a local stand-in for the real site), builds the program with
# its listing commands pointed at that server, and runs it under Wine. Closing the window
# stops the server too.
#   TC_DEMO_PORT=N  serve on port N (default: any free port)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=$top/build/demo
mkdir -p "$root"

"$top/tools/setup.sh"

echo "demo: building the demo marketplace"
TC_BUILD_ROOT=$root TC_TARGETS=demo_marketplace \
  TC_CMAKE_ARGS="-DTC_BUILD_TESTS=OFF -DTC_BUILD_BENCH=OFF" "$top/tools/build.sh" native >/dev/null

server_log=$root/marketplace.log
"$root/native/tools/demo/demo_marketplace" --port "${TC_DEMO_PORT:-0}" >"$server_log" 2>&1 &
server=$!
xvfb=
stop() {
  kill "$server" 2>/dev/null || true
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
}
trap stop EXIT

# The server says where it listens on its first line.
base=
for _ in $(seq 100); do
  base=$(sed -n 's/^demo marketplace listening on \(http:[^ ]*\).*/\1/p' "$server_log")
  [ -n "$base" ] && break
  kill -0 "$server" 2>/dev/null || { cat "$server_log" >&2; exit 1; }
  sleep 0.1
done
[ -n "$base" ] || { echo "demo: the marketplace did not start" >&2; exit 1; }
echo "demo: marketplace at $base"

# Only the file holding the base address is rebuilt when the port changes.
echo "demo: building task-collector against it"
TC_BUILD_ROOT=$root TC_TARGETS=task-collector \
  TC_CMAKE_ARGS="-DTC_BASE_URL=$base -DTC_BUILD_TESTS=OFF -DTC_BUILD_BENCH=OFF" \
  "$top/tools/build.sh" win64 >/dev/null

program=$root/win64/app/task-collector.exe
if [ -n "${DISPLAY:-}" ]; then
  echo "demo: starting task-collector on display $DISPLAY; click a listing button to collect"
  "$top/cmake/wine-run.sh" "$program"
else
  # No display to show the window on: a virtual one, and a picture of it after a while.
  display=:$(( 200 + RANDOM % 100 ))
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=$display
  echo "demo: no DISPLAY, so task-collector runs on the virtual screen $display (Xvfb);"
  echo "      a picture of it is written to $root/screen.png in 20 s; end it with Ctrl+C"
  ( sleep 20; import -window root "$root/screen.png" 2>/dev/null || true ) &
  # Wine draws the window frames itself on its own desktop, as no window manager runs here.
  TC_WINE_BUILD_DIR=$root/win64 "$top/cmake/wine-run.sh" explorer "/desktop=task-collector,1024x768" \
    "Z:${program//\//\\}"
fi
