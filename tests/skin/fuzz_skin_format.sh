#!/usr/bin/env bash
# Fuzzes the skin image parser natively with clang's libFuzzer (ASan + UBSan), seeded with the
# 33 generated skins. Usage: fuzz_skin_format.sh SKIN_DIR [SECONDS] (default 60).
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
skins=$1
seconds=${2:-60}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$top" "$top/tests/skin/fuzz_skin_format.cpp" "$top/skin/skin_format.cpp" -o "$work/fuzz"
mkdir "$work/corpus"
cp "$skins"/*.she "$work/corpus/"
"$work/fuzz" -max_total_time="$seconds" -max_len=4096 "$work/corpus" 2>&1 | tail -n 5
