#!/bin/sh
# The engine library must export SkinH_AttachRes under its plain name (no @24 decoration, no
# leading underscore), as the program looks it up; a 32-bit one must also remove its own 24
# bytes of arguments (__stdcall: "ret $0x18").
#   check_exports.sh BUILD_DIR     e.g. check_exports.sh build/win32
set -eu
dll=$1/skin/SkinH_EL.dll
[ -f "$dll" ] || { echo "check_exports: $dll not built" >&2; exit 1; }
objdump=
for tool in i686-w64-mingw32-objdump x86_64-w64-mingw32-objdump objdump; do
  if command -v $tool >/dev/null && $tool -p "$dll" >/dev/null 2>&1; then objdump=$tool; break; fi
done
[ -n "$objdump" ] || { echo "check_exports: no objdump reads $dll" >&2; exit 1; }
headers=$($objdump -p "$dll")
names=$(printf '%s\n' "$headers" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
        sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p')
if [ "$names" != "SkinH_AttachRes" ]; then
  echo "check_exports: $dll exports: ${names:-nothing}; expected SkinH_AttachRes alone" >&2
  exit 1
fi
if printf '%s\n' "$headers" | grep -q 'file format pei-i386\|Magic.*010b'; then
  rva=$(printf '%s\n' "$headers" | sed -n 's/^[[:space:]]*\[ *0\] +base\[ *1\] \([0-9a-f]*\) Export RVA/\1/p')
  base=$(printf '%s\n' "$headers" | sed -n 's/^ImageBase[[:space:]]*\([0-9a-f]*\)/\1/p')
  start=$(printf '0x%x' $((0x$base + 0x$rva)))
  first_ret=$($objdump -d --start-address="$start" --stop-address=$((start + 4096)) "$dll" |
              grep -m1 -E '\sret' || true)
  case $first_ret in
    *'ret '*'$0x18'*) ;;
    *) echo "check_exports: SkinH_AttachRes does not remove 24 bytes: ${first_ret:-no ret}" >&2; exit 1 ;;
  esac
fi
echo "check_exports: $dll exports SkinH_AttachRes"
