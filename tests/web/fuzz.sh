#!/usr/bin/env bash
# Builds and runs the libFuzzer target of the address, header and cookie rules for a number of
# seconds (default 60). Clang cannot compile to code page 936 (-fexec-charset), so the sources
# are first rewritten in CP936 and compiled byte for byte; the build goes to a temporary
# directory. Usage: tests/web/fuzz.sh [seconds]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-60}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sources=(text/text.cpp text/text_walk.cpp text/text_search.cpp text/text_between.cpp
         app/fault_text.cpp app/fault_posix.cpp
         web/url.cpp web/request_plan.cpp web/cookies.cpp tests/web/web_fuzz.cpp)
for f in "${sources[@]}" text/text.h text/text_walk.h app/fault.h web/url.h web/request_plan.h web/cookies.h; do
  mkdir -p "$work/src/$(dirname "$f")"
  iconv -f UTF-8 -t CP936 "$top/$f" > "$work/src/$f"
done
cd "$work/src"
clang++ -std=c++17 -O1 -g -Wno-invalid-source-encoding -fsanitize=fuzzer,address,undefined \
  -fno-sanitize-recover=undefined -I. "${sources[@]}" -o "$work/web_fuzz"
mkdir -p "$work/corpus"
"$work/web_fuzz" -max_total_time="$seconds" -max_len=512 "$work/corpus"
