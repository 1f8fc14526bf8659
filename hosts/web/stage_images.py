#!/usr/bin/env python3
"""Copies the game's images for the page's data package, with every grey PNG
(the font's distance-field page) rewritten to keep its filtered rows in stored
deflate blocks: the server's brotli packs those rows smaller than zlib did, and
the page's decoder then copies them instead of inflating half a megabyte
before the first frame.

Usage: stage_images.py SOURCE_FOLDER OUTPUT_FOLDER
"""
import os
import shutil
import struct
import sys
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"


def chunks(data):
    at = len(SIGNATURE)
    while at < len(data):
        (length,) = struct.unpack(">I", data[at:at + 4])
        kind = data[at + 4:at + 8]
        yield kind, data[at + 8:at + 8 + length]
        at += 12 + length


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def stored(png):
    """The PNG with its image data in stored deflate blocks, or None when it
    is not 8-bit grey (colour type 0)."""
    if not png.startswith(SIGNATURE):
        return None
    parts = list(chunks(png))
    if not parts or parts[0][0] != b"IHDR" or parts[0][1][8:10] != b"\x08\x00":
        return None
    rows = zlib.decompress(b"".join(body for kind, body in parts if kind == b"IDAT"))
    out = [SIGNATURE]
    for kind, body in parts:
        if kind == b"IDAT":
            if rows is not None:
                out.append(chunk(b"IDAT", zlib.compress(rows, 0)))
                rows = None
        else:
            out.append(chunk(kind, body))
    return b"".join(out)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    source, output = sys.argv[1:]
    os.makedirs(output, exist_ok=True)
    for name in sorted(os.listdir(source)):
        path = os.path.join(source, name)
        if not os.path.isfile(path):
            continue
        with open(path, "rb") as f:
            data = f.read()
        rewritten = stored(data) if name.endswith(".png") else None
        if rewritten is None:
            shutil.copyfile(path, os.path.join(output, name))
        else:
            with open(os.path.join(output, name), "wb") as f:
                f.write(rewritten)


if __name__ == "__main__":
    main()
