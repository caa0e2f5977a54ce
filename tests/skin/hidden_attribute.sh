#!/bin/sh
# The library a first start writes carries the hidden attribute alone, as stored on disk: Wine
# keeps DOS attributes in the extended attribute user.DOSATTRIB ("0x2" for hidden alone) and
# reports archive on every regular file, so this is checked here rather than through Windows.
#   hidden_attribute.sh WINE_RUN BUILD_DIR PROBE_EXE ENGINE_DLL
set -eu
wine_run=$1 build_dir=$2 probe=$3 engine=$4
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$probe" "$dir/"
# Output to a file, not to the caller: a Wine server this start may launch keeps what it inherits
# open long after the probe has ended.
TC_WINE_BUILD_DIR=$build_dir "$wine_run" "$dir/$(basename "$probe")" 3 >"$dir/out.txt" 2>&1 </dev/null
grep -q shown "$dir/out.txt"
cmp "$engine" "$dir/SkinH_EL.dll"
stored=$(/usr/bin/python3 -c 'import os, sys; print(os.getxattr(sys.argv[1], "user.DOSATTRIB").decode())' "$dir/SkinH_EL.dll")
[ "$stored" = 0x2 ] || { echo "stored attributes: $stored, expected 0x2" >&2; exit 1; }
echo "SkinH_EL.dll written, $(wc -c < "$dir/SkinH_EL.dll") bytes, attributes $stored"
