#!/bin/sh
# A program directory on a file system too small for the engine library: the programs given fit,
# and little more. Needs the right to mount; without it the directory is not made and the test
# that uses it says it was skipped.
#   full_dir.sh make DIR PROGRAM_EXE...   |   full_dir.sh remove DIR
set -eu
case $1 in
  make)
    dir=$2
    shift 2
    "$0" remove "$dir"
    mkdir -p "$dir"
    need=$(( $(cat "$@" | wc -c) / 1024 + 64 ))
    if ! mount -t tmpfs -o size=${need}k tc_skin_full "$dir" 2>/dev/null; then
      rmdir "$dir"
      echo "full_dir.sh: cannot mount a small file system here"
      exit 0
    fi
    cp "$@" "$dir/" ;;
  remove)
    [ -d "$2" ] || exit 0
    umount "$2" 2>/dev/null || true
    rm -rf "$2" ;;
esac
