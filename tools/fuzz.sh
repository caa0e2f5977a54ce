#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ natively (clang, ASan + UBSan) and fuzzes each one for a
# bounded time, starting from its committed seed corpus in fuzz/corpus/<target>.
#
#   tools/fuzz.sh                 every target for 20 s (the test run)
#   tools/fuzz.sh 600             every target for 10 minutes
#   tools/fuzz.sh 600 collector   one target (names as in fuzz/fuzz_<name>.cpp)
#
# What the fuzzer finds goes to <build root>/fuzz/corpus/<target> (kept between runs, never
# committed); a crashing input to <build root>/fuzz/artifacts/, and the run fails. A crash
# that was fixed keeps its input in fuzz/corpus/<target>, so every later run replays it.
#
# Clang cannot compile string literals to code page 936 (-fexec-charset takes only UTF-8), and
# the markers the collector cuts by are Chinese literals. So the sources are first rewritten in
# CP936 and compiled byte for byte, giving the same literals as the g++ builds.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
shift || true
build=${TC_BUILD_ROOT:-$top/build}/fuzz
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$top"/fuzz/fuzz_*.cpp; do
    n=$(basename "$f" .cpp)
    targets+=("${n#fuzz_}")
  done
fi

# The portable sources the targets exercise; Windows-only files are left out.
mapfile -t library < <(cd "$top" && ls text/*.cpp web/*.cpp collect/*.cpp | grep -v '_win\.cpp$'
                       printf '%s\n' skin/skin_format.cpp app/fault_text.cpp app/fault_posix.cpp \
                                     tests/text/text_reference.cpp)
mapfile -t headers < <(cd "$top" && ls text/*.h web/*.h collect/*.h app/*.h skin/*.h fuzz/*.h tests/text/*.h)

src=$build/src
mkdir -p "$src" "$build/obj" "$build/bin" "$build/artifacts"
# Rewrites one source in CP936, touching the copy only when its bytes change (so make-style
# time stamps stay meaningful). Characters CP936 lacks can stand only in comments; GB18030
# keeps those readable without changing any CP936 character.
convert() {
  local from=$top/$1 to=$src/$1 tmp
  mkdir -p "$(dirname "$to")"
  tmp=$(mktemp)
  iconv -f UTF-8 -t CP936 "$from" >"$tmp" 2>/dev/null || iconv -f UTF-8 -t GB18030 "$from" >"$tmp"
  if cmp -s "$tmp" "$to"; then rm -f "$tmp"; else mv "$tmp" "$to"; fi
}
for f in "${library[@]}" "${headers[@]}"; do convert "$f"; done
for t in "${targets[@]}"; do convert "fuzz/fuzz_$t.cpp"; done
# A second byte of 0x5C would read as a backslash to clang: in a literal an escape, at the end
# of a // comment a line joined to the comment. None may appear.
/usr/bin/python3 - "$src" <<'EOF'
import pathlib, sys
bad = []
for p in pathlib.Path(sys.argv[1]).rglob('*'):
    if p.suffix not in ('.cpp', '.h'):
        continue
    b, i = p.read_bytes(), 0
    while i < len(b):
        if b[i] >= 0x81:
            if i + 1 < len(b) and b[i + 1] == 0x5C:
                bad.append(str(p))
                break
            i += 2
        else:
            i += 1
if bad:
    sys.exit('fuzz: a Chinese character ends in a backslash byte in CP936: ' + ' '.join(bad))
EOF

flags=(-std=c++17 -O1 -g -Wno-invalid-source-encoding -fno-omit-frame-pointer
       -fsanitize=address,undefined -fno-sanitize-recover=undefined -I"$src")
# A change of the flags or of any header rebuilds everything: there are few sources, and the
# rule stays simple.
state=$( (echo "${flags[*]}"; cd "$src" && cat "${headers[@]}") | sha256sum)
if [ "$(cat "$build/obj/state" 2>/dev/null)" != "$state" ]; then
  rm -f "$build"/obj/*.o
  echo "$state" >"$build/obj/state"
fi
objects=()
jobs=()
for f in "${library[@]}"; do
  o=$build/obj/$(echo "$f" | tr / _).o
  objects+=("$o")
  jobs+=("$src/$f" "$o")
done
for t in "${targets[@]}"; do jobs+=("$src/fuzz/fuzz_$t.cpp" "$build/obj/fuzz_$t.o"); done
# Two compilers at a time: the machine has two cores.
export TC_FUZZ_FLAGS="${flags[*]}"
printf '%s\n' "${jobs[@]}" | xargs -n 2 -P 2 bash -c '
  read -r -a flags <<<"$TC_FUZZ_FLAGS"
  if [ ! -f "$1" ] || [ "$0" -nt "$1" ]; then
    clang++ "${flags[@]}" -fsanitize=fuzzer-no-link -c "$0" -o "$1"
  fi'
for t in "${targets[@]}"; do
  bin=$build/bin/fuzz_$t
  if [ ! -f "$bin" ] || [ -n "$(find "${objects[@]}" "$build/obj/fuzz_$t.o" -newer "$bin" | head -n 1)" ]; then
    clang++ "${flags[@]}" -fsanitize=fuzzer "$build/obj/fuzz_$t.o" "${objects[@]}" -o "$bin"
  fi
done

max_len() {
  case $1 in
    collector) echo 16384 ;;
    skin_format) echo 4096 ;;
    cookies) echo 2048 ;;
    *) echo 512 ;;
  esac
}

status=0
for t in "${targets[@]}"; do
  corpus=$build/corpus/$t
  seeds=$top/fuzz/corpus/$t
  mkdir -p "$corpus" "$seeds"
  dict=()
  [ -f "$top/fuzz/$t.dict" ] && dict=(-dict="$top/fuzz/$t.dict")
  log=$build/$t.log
  if "$build/bin/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -max_len="$(max_len "$t")" -artifact_prefix="$build/artifacts/$t-" -print_final_stats=1 \
       "${dict[@]}" "$corpus" "$seeds" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz $t: clean, ${runs:-?} runs in ${seconds} s, corpus $(ls "$corpus" | wc -l) + $(ls "$seeds" | wc -l) seeds"
  else
    status=1
    echo "fuzz $t: FAILED (log $log)"
    grep -E 'ERROR|fuzz check failed|runtime error|Test unit written' "$log" | head -n 5
  fi
done
exit $status
