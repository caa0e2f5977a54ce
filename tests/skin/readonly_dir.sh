#!/bin/sh
# A program directory that cannot be written, holding only the probe program.
#   readonly_dir.sh make DIR PROBE_EXE   |   readonly_dir.sh remove DIR
# Write permission is taken away; as root that does not stop writes, so the directory is also
# made immutable where the file system allows it. The test checks that it really is unwritable.
set -eu
case $1 in
  make)
    "$0" remove "$2"
    mkdir -p "$2"
    cp "$3" "$2/"
    chmod a-w "$2"
    chattr +i "$2" 2>/dev/null || true ;;
  remove)
    [ -d "$2" ] || exit 0
    chattr -i "$2" 2>/dev/null || true
    chmod u+w "$2"
    rm -rf "$2" ;;
esac
