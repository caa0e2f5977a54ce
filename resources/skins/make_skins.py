#!/usr/bin/env python3
"""Builds the 33 ".SHE" skin images from skins.txt.

Usage: make_skins.py skins.txt OUTPUT_DIR
Writes OUTPUT_DIR/skin01.she .. skin33.she. The layout is described in skin/skin_format.h;
each colour role the engine needs is derived here from the few colours a skin line gives.
"""
import struct
import sys
import zlib

ROLES = [
    "window", "window_text", "edit_back", "edit_text", "face_top", "face_bottom", "border",
    "button_text", "hot_top", "hot_bottom", "pressed_top", "pressed_bottom", "header_face",
    "header_text", "progress_bar", "progress_back", "caption_left", "caption_right",
    "caption_text", "caption_idle_left", "caption_idle_right", "focus", "disabled_text",
]
BUTTON_RADIUS, BORDER_WIDTH = 1, 2
WHITE, BLACK = (255, 255, 255), (0, 0, 0)


def rgb(text):
    text = text.strip().lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def mix(a, b, t):
    """The colour t of the way from a to b."""
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def luminance(c):
    return (0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2]) / 255


def grey(c):
    g = round(luminance(c) * 255)
    return (g, g, g)


def derive(window, face, border, text, accent, caption, edit):
    dark = luminance(window) < 0.45
    light_end = mix(face, WHITE, 0.12 if dark else 0.65)
    caption_end = mix(caption, accent if dark else WHITE, 0.45)
    caption_text = WHITE if luminance(caption) < 0.6 else BLACK
    return {
        "window": window,
        "window_text": text,
        "edit_back": edit,
        "edit_text": text,
        "face_top": light_end,
        "face_bottom": face,
        "border": border,
        "button_text": text,
        "hot_top": mix(light_end, accent, 0.10),
        "hot_bottom": mix(face, accent, 0.22),
        "pressed_top": mix(face, accent, 0.35),
        "pressed_bottom": mix(mix(face, BLACK, 0.06), accent, 0.18),
        "header_face": mix(face, accent, 0.08),
        "header_text": text,
        "progress_bar": accent,
        "progress_back": mix(window, edit, 0.6),
        "caption_left": caption,
        "caption_right": caption_end,
        "caption_text": caption_text,
        # An inactive caption keeps a muted trace of its hue, so skins stay told apart.
        "caption_idle_left": mix(mix(caption, grey(caption), 0.5), window, 0.3),
        "caption_idle_right": mix(mix(caption_end, grey(caption_end), 0.5), window, 0.3),
        "focus": accent,
        "disabled_text": mix(text, window, 0.55),
    }


def image(name, colors, radius, border_width):
    name_bytes = name.encode("utf-8")
    colr = struct.pack("<H", len(ROLES)) + b"".join(
        struct.pack("<HBBBB", i + 1, *colors[role], 0) for i, role in enumerate(ROLES))
    metrics = [(BUTTON_RADIUS, radius), (BORDER_WIDTH, border_width)]
    metr = struct.pack("<H", len(metrics)) + b"".join(struct.pack("<Hh", k, v) for k, v in metrics)
    sections = [(b"NAME", name_bytes), (b"COLR", colr), (b"METR", metr)]
    offset = 20 + 12 * len(sections)
    directory, body = b"", b""
    for tag, data in sections:
        directory += tag + struct.pack("<II", offset + len(body), len(data))
        body += data
    length = offset + len(body)
    tail = struct.pack("<HH", len(sections), 0) + directory + body
    return b".SHE" + struct.pack("<HHII", 1, 0, length, zlib.crc32(tail)) + tail


def main(source, out_dir):
    skins = {}
    with open(source, encoding="utf-8") as f:
        for line in f:
            if line.lstrip().startswith("#"):
                continue
            fields = [x.strip() for x in line.split("|")]
            if len(fields) != 10:
                continue
            number, name = int(fields[0]), fields[1]
            colours = [rgb(x) for x in fields[2:9]]
            skins[number] = image(name, derive(*colours), int(fields[9]),
                                  2 if luminance(colours[0]) < 0.1 else 1)
    if sorted(skins) != list(range(1, 34)):
        sys.exit("make_skins.py: skins 1 to 33 expected, found %s" % sorted(skins))
    for number, data in skins.items():
        with open("%s/skin%02d.she" % (out_dir, number), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
