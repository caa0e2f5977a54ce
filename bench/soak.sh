#!/usr/bin/env bash
# The soak run: one command of the program collecting 1,000 pages of the demo marketplace's
# whole-section listing under Wine, with the working set, private bytes, handle count and GDI
# object count when pages 0, 1, 10, 50, 100, 500 and 1,000 are done, and the total time.
# The listing has 50 pages of tasks; the pages after them are the marketplace's page without
# tasks, so from page 50 on the list stops growing and any growth is a leak.
#
#   bench/soak.sh [PAGES]          (default 1000; builds what it needs in the build root)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
pages=${1:-1000}
root=${TC_BUILD_ROOT:-$top/build}
TC_BUILD_ROOT=$root TC_TARGETS=demo_marketplace "$top/tools/build.sh" native >/dev/null
TC_BUILD_ROOT=$root TC_TARGETS=perf_win "$top/tools/build.sh" win64 >/dev/null

name=soak
# shellcheck source=bench/services.sh
. "$top/bench/services.sh"

samples=()
for at in 1 10 50 100 500; do [ "$at" -lt "$pages" ] && samples+=("$at"); done
echo "soak: $pages pages of $site/c-rjkf/t.html in one command"
"$top/cmake/wine-run.sh" "$root/win64/bench/perf/perf_win.exe" soak "$site/c-rjkf/t.html" "$pages" "${samples[@]}" |
  tee "$work/soak.txt"
# Growth from page 100 to the last page: what must stay at zero.
awk -v last="$pages" '
  $1 == "soak_page" && $2 == 100 { for (i = 3; i < NF; i += 2) a[$i] = $(i + 1) }
  $1 == "soak_page" && $2 == last { for (i = 3; i < NF; i += 2) b[$i] = $(i + 1) }
  END {
    if (!(("handles") in a)) exit
    printf "soak growth from page 100 to page %d: working set %+d KB, private %+d KB, handles %+d, GDI %+d\n",
      last, b["working_set_kb"] - a["working_set_kb"], b["private_kb"] - a["private_kb"],
      b["handles"] - a["handles"], b["gdi"] - a["gdi"]
  }' "$work/soak.txt"
