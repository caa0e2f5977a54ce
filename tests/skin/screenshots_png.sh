#!/bin/sh
# Turns the screenshots skin_look_test leaves (BMP) into PNG files beside them, for people to
# look at: skin03_window.png, main_window_skin03.png and skin_contact_sheet.png.
#   screenshots_png.sh DIR
set -eu
command -v convert >/dev/null || { echo "ImageMagick's convert is missing: BMP screenshots only"; exit 0; }
for bmp in "$1"/*.bmp; do
  [ -f "$bmp" ] || continue
  convert "$bmp" -alpha off "${bmp%.bmp}.png"
  echo "$(basename "${bmp%.bmp}.png")"
done
