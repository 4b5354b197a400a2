#!/usr/bin/env python3
"""Wraps a PNG image (at most 256 x 256 pixels) into a one-image Windows icon file.

Usage: plugin-icon.py IMAGE.png OUT.ico
"""
import struct
import sys


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise SystemExit(f"{sys.argv[1]}: not a PNG image")
    return struct.unpack(">II", data[16:24])


def main():
    with open(sys.argv[1], "rb") as f:
        png = f.read()
    width, height = png_size(png)
    if not (0 < width <= 256 and 0 < height <= 256):
        raise SystemExit(f"{sys.argv[1]}: {width} x {height} is larger than an icon (256 x 256)")
    # Icon directory (reserved, type 1 = icon, one image), then the image's entry: a size of 256
    # is written as 0; 32 bits per pixel; the PNG data follow the 6 + 16 header bytes.
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(png), 6 + 16)
    with open(sys.argv[2], "wb") as f:
        f.write(header + entry + png)


if __name__ == "__main__":
    main()
