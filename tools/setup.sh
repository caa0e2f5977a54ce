#!/usr/bin/env bash
# Installs what a fresh Debian machine needs to build, test and run task-collector.
# Safe to run again: apt-get skips what is there, the locale is generated once.
set -euo pipefail

packages=(
  cmake g++ make ninja-build pkg-config
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64
  wine wine64
  xvfb imagemagick fonts-wqy-microhei x11-utils
  locales
  googletest libgtest-dev libbenchmark-dev libcpp-httplib-dev
  clang libclang-rt-14-dev libfuzzer-14-dev
  python3 python3-bs4 python3-lxml python3-requests curl
)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  as_root apt-get update -q
  # wine32 is never wanted: these machines cannot run 32-bit code.
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  as_root sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen
fi
echo "setup: everything is installed"
