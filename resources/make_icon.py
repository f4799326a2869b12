#!/usr/bin/env python3
"""Draws the program icon: a blue key cap carrying a white "Z".

Writes zentrik.ico next to this script with 64, 48, 40, 32, 24, 20 and 16
pixel images: the small-icon and icon sizes at 96, 120, 144 and 192 DPI.
Each is a 32-bit BGRA bitmap with its AND mask, so that every Windows
version from 2000 on can read it, except the 64-pixel one, which is a PNG
image (a fifth of the size): only Windows Vista and later read those, and
older versions ask for 64 pixels only at 192 DPI. Standard library only;
run it again to redraw the icon after changing the shapes or colours below.
"""

import os
import struct
import sys
import zlib

SIZES = (64, 48, 40, 32, 24, 20, 16)
PNG_SIZES = (64,)
SAMPLES = 6  # supersampling per axis, for smooth edges

# Colours (r, g, b).
CAP_SIDE = (18, 44, 92)
FACE_TOP = (66, 140, 230)
FACE_BOTTOM = (30, 86, 170)
GLYPH = (255, 255, 255)
GLYPH_SHADOW = (10, 30, 70)


def in_rounded_rect(x, y, left, top, right, bottom, radius):
    if x < left or x > right or y < top or y > bottom:
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def in_polygon(x, y, points):
    inside = False
    n = len(points)
    for i in range(n):
        x1, y1 = points[i]
        x2, y2 = points[(i + 1) % n]
        if (y1 > y) != (y2 > y):
            xs = x1 + (y - y1) * (x2 - x1) / (y2 - y1)
            if x < xs:
                inside = not inside
    return inside


def z_outline(left, top, right, bottom, stroke, slant):
    """The outline of a "Z" in the box, bars `stroke` high, diagonal `slant` wide."""
    return [
        (left, top), (right, top), (right, top + stroke),
        (left + slant, bottom - stroke), (right, bottom - stroke), (right, bottom),
        (left, bottom), (left, bottom - stroke),
        (right - slant, top + stroke), (left, top + stroke),
    ]


def layout(size):
    """Shapes in unit coordinates; small images get a bolder glyph and less bevel."""
    small = size <= 24
    margin = 0.04 if small else 0.06
    bevel = 0.07 if small else 0.09
    face = (margin + 0.03, margin + 0.02, 1 - margin - 0.03, 1 - margin - bevel)
    stroke = 0.17 if small else 0.14
    slant = 0.26 if small else 0.22
    gl, gt, gr, gb = 0.27, 0.21, 0.73, 0.72
    if small:
        gl, gt, gr, gb = 0.22, 0.17, 0.78, 0.75
    return {
        "cap": (margin, margin, 1 - margin, 1 - margin, 0.2),
        "face": face + (0.16,),
        "glyph": z_outline(gl, gt, gr, gb, stroke, slant),
        "shadow": z_outline(gl + 0.02, gt + 0.03, gr + 0.02, gb + 0.03, stroke, slant),
    }


def over(dst, src, alpha):
    """Composites colour src with coverage alpha over premultiplied-free dst (r, g, b, a)."""
    r, g, b, a = dst
    out_a = alpha + a * (1 - alpha)
    if out_a <= 0:
        return (0.0, 0.0, 0.0, 0.0)

    def mix(s, d):
        return (s * alpha + d * a * (1 - alpha)) / out_a

    return (mix(src[0], r), mix(src[1], g), mix(src[2], b), out_a)


def render(size):
    shapes = layout(size)
    cap = shapes["cap"]
    face = shapes["face"]
    f_top, f_bottom = face[1], face[3]
    pixels = []
    step = 1.0 / (size * SAMPLES)
    for py in range(size):
        row = []
        for px in range(size):
            counts = [0, 0, 0, 0]  # cap, face, shadow, glyph
            for sy in range(SAMPLES):
                y = (py * SAMPLES + sy + 0.5) * step
                for sx in range(SAMPLES):
                    x = (px * SAMPLES + sx + 0.5) * step
                    if not in_rounded_rect(x, y, *cap):
                        continue
                    counts[0] += 1
                    if in_rounded_rect(x, y, *face):
                        counts[1] += 1
                        if in_polygon(x, y, shapes["glyph"]):
                            counts[3] += 1
                        elif in_polygon(x, y, shapes["shadow"]):
                            counts[2] += 1
            total = SAMPLES * SAMPLES
            colour = (0.0, 0.0, 0.0, 0.0)
            colour = over(colour, CAP_SIDE, counts[0] / total)
            t = min(max(((py + 0.5) / size - f_top) / (f_bottom - f_top), 0.0), 1.0)
            face_colour = tuple(FACE_TOP[i] + (FACE_BOTTOM[i] - FACE_TOP[i]) * t for i in range(3))
            colour = over(colour, face_colour, counts[1] / total)
            colour = over(colour, GLYPH_SHADOW, 0.45 * counts[2] / total)
            colour = over(colour, GLYPH, counts[3] / total)
            row.append(tuple(int(round(c)) for c in colour[:3]) + (int(round(colour[3] * 255)),))
        pixels.append(row)
    return pixels


def dib(size, pixels):
    """One icon image: BITMAPINFOHEADER, bottom-up BGRA pixels, AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + bytes(xor) + bytes(mask)


def png(size, pixels):
    """One icon image as a PNG file: 8-bit RGBA, each row with the filter that packs best."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    rows = [bytes(v for px in row for v in px) for row in pixels]
    stream = bytearray()
    prior = bytes(size * 4)
    for row in rows:
        candidates = [b"\0" + row,
                      b"\1" + bytes((row[i] - (row[i - 4] if i >= 4 else 0)) & 0xFF for i in range(len(row))),
                      b"\2" + bytes((row[i] - prior[i]) & 0xFF for i in range(len(row)))]
        stream += min(candidates, key=lambda c: len(zlib.compress(c, 9)))
        prior = row
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(stream), 9)) + chunk(b"IEND", b""))


def write_ico(path, images):
    count = len(images)
    out = bytearray(struct.pack("<HHH", 0, 1, count))
    offset = 6 + 16 * count
    blobs = []
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
        blobs.append(data)
    for data in blobs:
        out += data
    with open(path, "wb") as f:
        f.write(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "zentrik.ico")
    images = []
    for size in SIZES:
        pixels = render(size)
        images.append((size, png(size, pixels) if size in PNG_SIZES else dib(size, pixels)))
    write_ico(path, images)
    print(path)


if __name__ == "__main__":
    main()
