#!/usr/bin/env bash
# Configures and builds one or more configurations: native, asan, win64, win32 (default: all).
# Extra CMake settings can be given in TC_CMAKE_ARGS (e.g. -DTC_BASE_URL=http://127.0.0.1:8080).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
configs=("$@")
[ ${#configs[@]} -gt 0 ] || configs=(native asan win64 win32)
jobs=${TC_JOBS:-2}
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
for c in "${configs[@]}"; do
  dir=${TC_BUILD_ROOT:-$top/build}/$c
  case $c in
    native) args=(-DCMAKE_BUILD_TYPE=Release) ;;
    asan)   args=(-DCMAKE_BUILD_TYPE=Debug -DTC_SANITIZE=ON -DTC_BUILD_BENCH=OFF) ;;
    win64)  args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=$top/cmake/mingw-x86_64.cmake) ;;
    # The 32-bit build is compiled and linked, never run: no tests to build.
    win32)  args=(-DCMAKE_BUILD_TYPE=Release -DTC_BUILD_TESTS=OFF -DTC_BUILD_BENCH=OFF
                  -DCMAKE_TOOLCHAIN_FILE=$top/cmake/mingw-i686.cmake) ;;
    *) echo "unknown configuration: $c" >&2; exit 2 ;;
  esac
  # shellcheck disable=SC2086
  cmake -S "$top" -B "$dir" "${generator[@]}" "${args[@]}" ${TC_CMAKE_ARGS:-} >/dev/null
  cmake --build "$dir" -j "$jobs" ${TC_TARGETS:+--target $TC_TARGETS}
done
