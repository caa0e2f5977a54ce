#!/bin/sh
# A program directory that cannot be written, holding only the programs given.
#   readonly_dir.sh make DIR PROGRAM_EXE...   |   readonly_dir.sh remove DIR
# Write permission is taken away; as root that does not stop writes, so the directory is also
# made immutable where the file system allows it. The test checks that it really is unwritable.
set -eu
case $1 in
  make)
    dir=$2
    shift 2
    "$0" remove "$dir"
    mkdir -p "$dir"
    cp "$@" "$dir/"
    chmod a-w "$dir"
    chattr +i "$dir" 2>/dev/null || true ;;
  remove)
    [ -d "$2" ] || exit 0
    chattr -i "$2" 2>/dev/null || true
    chmod u+w "$2"
    rm -rf "$2" ;;
esac
