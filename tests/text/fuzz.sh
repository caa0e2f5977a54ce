#!/usr/bin/env bash
# Builds and runs the libFuzzer target of the text operations for a number of seconds (default 60).
# Clang cannot compile to code page 936 (-fexec-charset), so the sources are first rewritten in
# CP936 and compiled byte for byte; the build goes to a temporary directory.
# Usage: tests/text/fuzz.sh [seconds]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-60}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sources=(text/text.cpp text/text_walk.cpp text/text_search.cpp text/text_between.cpp
         text/codepage.cpp text/codepage_posix.cpp app/fault_text.cpp app/fault_posix.cpp
         tests/text/text_reference.cpp tests/text/text_fuzz.cpp)
for f in "${sources[@]}" text/text.h text/text_walk.h text/codepage.h app/fault.h tests/text/text_reference.h; do
  mkdir -p "$work/src/$(dirname "$f")"
  iconv -f UTF-8 -t CP936 "$top/$f" > "$work/src/$f"
done
cd "$work/src"
clang++ -std=c++17 -O1 -g -Wno-invalid-source-encoding -fsanitize=fuzzer,address,undefined \
  -fno-sanitize-recover=undefined -I. "${sources[@]}" -o "$work/text_fuzz"
mkdir -p "$work/corpus"
"$work/text_fuzz" -max_total_time="$seconds" -max_len=256 "$work/corpus"
