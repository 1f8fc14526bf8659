#!/usr/bin/env python3
"""Draws the web app's icons from the game's own filled-cell image: a small
solved nonogram (a heart) on the light theme's background.

Usage: make_icon.py IMAGES_DIR OUT_DIR  -> OUT_DIR/icon-192.png, icon-512.png
Reads 8-bit RGBA or palette PNG and writes RGBA, with the standard library only."""
import struct
import sys
import zlib

PICTURE = ["01010",
           "11111",
           "11111",
           "01110",
           "00100"]
BACKGROUND = (236, 240, 241, 255)


def read_png(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG")
    pos, idat, width, palette, alphas = 8, b"", 0, b"", b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour not in (3, 6) or interlace != 0:
                sys.exit(f"{path}: only 8-bit RGBA or palette without interlace is read")
        elif kind == b"PLTE":
            palette = body
        elif kind == b"tRNS":
            alphas = body
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    bpp = 1 if colour == 3 else 4
    raw, stride, rows, prev = zlib.decompress(idat), width * bpp, [], bytearray(width * bpp)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b, c = prev[i], prev[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        prev = line
        if colour == 3:
            line = bytearray(b"".join(palette[3 * i:3 * i + 3] + bytes([alphas[i] if i < len(alphas) else 255])
                                      for i in line))
        rows.append(line)
    return width, height, rows


def write_png(path, size, pixels):
    raw = b"".join(b"\0" + bytes(pixels[y * size * 4:(y + 1) * size * 4]) for y in range(size))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def draw_icon(size, filled):
    pixels = bytearray(BACKGROUND * (size * size))
    # Inside the safe zone of a maskable icon (the middle 80 %).
    cell = int(size * 0.72) // len(PICTURE)
    origin = (size - cell * len(PICTURE)) // 2
    for row, line in enumerate(PICTURE):
        for col, mark in enumerate(line):
            if mark != "1":
                continue
            w, h, src = filled
            for y in range(cell):
                sy = y * h // cell
                for x in range(cell):
                    r, g, b, a = src[sy][(x * w // cell) * 4:(x * w // cell) * 4 + 4]
                    o = ((origin + row * cell + y) * size + origin + col * cell + x) * 4
                    for k, v in enumerate((r, g, b)):
                        pixels[o + k] = (v * a + pixels[o + k] * (255 - a)) // 255
    return pixels


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    images, out = sys.argv[1], sys.argv[2]
    filled = read_png(f"{images}/draw_full.png")
    for size in (192, 512):
        write_png(f"{out}/icon-{size}.png", size, draw_icon(size, filled))


if __name__ == "__main__":
    main()
