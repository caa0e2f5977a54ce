#!/usr/bin/env bash
# The whole test suite: builds every configuration, runs the native tests (plain and under
# ASan/UBSan) and the Windows tests under Wine with a virtual screen. The 32-bit Windows build
# is compiled, linked and inspected only: these machines cannot run 32-bit code.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/build.sh" native asan win64 win32

# A display of our own for the window tests: Xvfb picks a free number and says which once it
# is ready to take clients.
displayfd=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$displayfd" >/dev/null 2>&1 &
xvfb=$!
stop() {
  kill "$xvfb" 2>/dev/null || true
  rm -f "$displayfd"
  WINEPREFIX=${TC_BUILD_ROOT:-$top/build}/win64/wineprefix /usr/lib/wine/wineserver -k 2>/dev/null || true
}
trap stop EXIT
for _ in $(seq 100); do [ -s "$displayfd" ] && break; sleep 0.1; done
[ -s "$displayfd" ] || { echo "test: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$displayfd")

status=0
# The 32-bit engine must export its entry plainly and clean its own arguments off the stack.
"$top/skin/check_exports.sh" "${TC_BUILD_ROOT:-$top/build}/win32" || status=1
for c in native asan win64; do
  echo "== tests: $c"
  # Under Wine a test that fails is run once more: Wine itself has aborted now and then on its
  # own side (a glibc heap check in the contact-sheet test), which says nothing of our code. A
  # fault of ours fails twice.
  retry=()
  [ "$c" = win64 ] && retry=(--repeat until-pass:2)
  ctest --test-dir "${TC_BUILD_ROOT:-$top/build}/$c" --output-on-failure -j 2 "${retry[@]}" || status=1
done
echo "== fuzz"
"$top/tools/fuzz.sh" 20 || status=1
exit $status
