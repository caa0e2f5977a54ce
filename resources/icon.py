#!/usr/bin/env python3
"""Draws the program's icon: a blue-green stone tablet holding three task rows and a
collecting arrow. Writes icon.ico: one 110 x 98, 32-bit image in icon-file form (header,
directory entry, BITMAPINFOHEADER, bottom-up BGRA pixels, AND mask) = 44,750 bytes."""
import struct
import sys

W, H = 110, 98


def inside_rounded(x, y, x0, y0, x1, y1, r):
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def pixel(x, y):
    """BGRA of pixel (x, y), y counted from the top."""
    px, py = x + 0.5, y + 0.5
    if not inside_rounded(px, py, 3, 3, W - 3, H - 3, 16):
        return (0, 0, 0, 0)
    # Stone: blue-green, lighter towards the top left.
    t = (px + py) / (W + H)
    r, g, b = int(40 + 50 * (1 - t)), int(120 + 60 * (1 - t)), int(120 + 50 * (1 - t))
    if not inside_rounded(px, py, 7, 7, W - 7, H - 7, 12):
        return (b // 2 + 20, g // 2 + 20, r // 2 + 10, 255)  # darker rim
    # Three task rows: a bullet and a bar each.
    for row in range(3):
        top = 20 + row * 22
        if top <= py <= top + 10:
            if 18 <= px <= 28:
                return (60, 200, 250, 255)  # amber bullet
            if 34 <= px <= 74:
                return (245, 245, 245, 255)
    # Collecting arrow on the right, pointing down into a tray.
    if 83 <= px <= 91 and 18 <= py <= 56:
        return (255, 200, 80, 255)
    if 56 <= py <= 70 and abs(px - 87) <= (70 - py) * 0.9:
        return (255, 200, 80, 255)
    if 76 <= py <= 81 and 72 <= px <= 102:
        return (255, 200, 80, 255)
    return (b, g, r, 255)


def main(path):
    xor = bytearray()
    mask_stride = ((W + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(H)):  # bottom-up
        bits = [0] * (mask_stride * 8)
        for x in range(W):
            b, g, r, a = pixel(x, y)
            xor += bytes((b, g, r, a))
            bits[x] = 1 if a == 0 else 0
        for i in range(mask_stride):
            byte = 0
            for k in range(8):
                byte = (byte << 1) | bits[i * 8 + k]
            mask.append(byte)
    header = struct.pack('<IiiHHIIiiII', 40, W, H * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + bytes(xor) + bytes(mask)
    ico = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', W, H, 0, 0, 1, 32, len(image), 22) + image
    with open(path, 'wb') as f:
        f.write(ico)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'icon.ico')
