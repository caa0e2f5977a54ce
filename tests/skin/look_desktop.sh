#!/bin/sh
# Gives skin_look_test a Wine virtual desktop of its own (1024x768): without a window manager Wine
# leaves the frame and caption of a top-level window undrawn, and the caption bar is one of the
# things the test measures. Set for that program only, in the build's Wine prefix.
#   look_desktop.sh WINE_RUN BUILD_DIR
set -eu
export TC_WINE_BUILD_DIR=$2
# No output inherited: a Wine server started here would hold it open long after reg has ended.
"$1" reg add 'HKCU\Software\Wine\AppDefaults\skin_look_test.exe\Explorer' /v Desktop /d tc_skin_look /f \
  >/dev/null 2>&1 </dev/null
"$1" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v tc_skin_look /d 1024x768 /f >/dev/null 2>&1 </dev/null
# reg reports nothing useful on failure; read the value back to be sure.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$1" reg query 'HKCU\Software\Wine\Explorer\Desktops' /v tc_skin_look >"$out" 2>&1 </dev/null
grep -q 1024x768 "$out"
