#!/usr/bin/env bash
# The performance report in one command: builds what it needs, runs every measurement on this
# machine in one go, writes docs/performance.md and prints its table.
#
#   bench/run.sh                 (TC_BUILD_ROOT picks the build root, as for tools/build.sh)
#
# (a) one 300 KB listing page, natively: the program's conversion and cutting, one memmem pass,
#     Python re and BeautifulSoup on the same bytes;
# (b) 200 GETs of a listing page from the demo marketplace on loopback: WebRequest and a bare
#     WinINet loop under Wine, Python requests, curl;
# (c) 20 pages of the demo marketplace collected by the program's command under Wine (its time
#     split by part) and by the Python peer collector (bench/peer), rows compared cell by cell;
# (d) the peak memory of both;
# (e) what the scratch box costs per KB under Wine, by line length.
# The figures stay in <build root>/bench-figures.txt; bench/peer/report.py turns them into the page.
# Ratios are the figures that count: absolute times depend on the machine and on Wine.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=${TC_BUILD_ROOT:-$top/build}
python=/usr/bin/python3  # Debian's, with python3-requests, python3-bs4 and python3-lxml
gets=${TC_BENCH_GETS:-200}
pages=${TC_BENCH_PAGES:-20}

TC_BUILD_ROOT=$root TC_TARGETS="perf_cut demo_marketplace" "$top/tools/build.sh" native >/dev/null
TC_BUILD_ROOT=$root TC_TARGETS=perf_win "$top/tools/build.sh" win64 >/dev/null

name=bench
# shellcheck source=bench/services.sh
. "$top/bench/services.sh"
wine() { "$top/cmake/wine-run.sh" "$root/win64/bench/perf/perf_win.exe" "$@"; }
figures=$root/bench-figures.txt
: >"$figures"

echo "bench: (a) one listing page" >&2
"$root/native/bench/perf/perf_cut" "$work/page.html" >>"$figures"
"$python" "$top/bench/peer/peer_collector.py" cut "$work/page.html" >>"$figures"

echo "bench: (b) $gets GETs" >&2
url=$site/c-rjkf/tp1.html
echo "gets $gets" >>"$figures"
wine gets "$url" "$gets" >>"$figures"
"$python" "$top/bench/peer/peer_collector.py" gets "$url" "$gets" >>"$figures"
# One curl process for every request, each on a new connection as the others make them.
urls=()
for _ in $(seq "$gets"); do urls+=("$url"); done
curl -s -o /dev/null "$url"
start=$(date +%s%N)
curl -s -H 'Connection: close' "${urls[@]}" >/dev/null
echo "curl_gets_us $(( ($(date +%s%N) - start) / gets / 1000 ))" >>"$figures"

echo "bench: (c) $pages pages, the program (this takes minutes: the scratch box)" >&2
listing=$site/c-rjkf/t.html
/usr/bin/time -f 'collect_max_rss_kb %M' -o "$work/time.txt" \
  "$top/cmake/wine-run.sh" "$root/win64/bench/perf/perf_win.exe" collect "$listing" "$pages" "$work/rows_program.tsv" >>"$figures"
cat "$work/time.txt" >>"$figures"
echo "bench: (c) $pages pages, the Python peer" >&2
/usr/bin/time -f 'peer_collect_max_rss_kb %M' -o "$work/time.txt" \
  "$python" "$top/bench/peer/peer_collector.py" collect "$listing" "$pages" "$work/rows_peer.tsv" >>"$figures"
cat "$work/time.txt" >>"$figures"
if cmp -s "$work/rows_program.tsv" "$work/rows_peer.tsv"; then
  echo "rows_equal 1" >>"$figures"
else
  echo "rows_equal 0" >>"$figures"
fi
echo "bench: (e) the scratch box" >&2
wine box >>"$figures"
{
  echo "machine_cpu $(sed -n 's/^model name\t*: //p' /proc/cpuinfo | head -n 1 | tr ' ' '_')"
  echo "machine_cores $(nproc)"
  echo "machine_wine $(/usr/lib/wine/wine64 --version | tr ' ' '_')"
  echo "machine_python $("$python" -c 'import platform; print(platform.python_version())')"
  echo "machine_date $(date -u +%Y-%m-%d)"
  # Other work on the machine shifts absolute times (and, less, ratios): the load says how much.
  echo "machine_load $(cut -d' ' -f3 /proc/loadavg)"
} >>"$figures"

"$python" "$top/bench/peer/report.py" "$figures" "$top/docs/performance.md"
