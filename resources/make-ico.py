#!/usr/bin/env python3
"""Packs PNG images into one Windows .ico file, each image stored as PNG (Windows Vista and
later read those at every size). Usage: make-ico.py OUT.ico IN.png [IN.png ...]"""
import struct
import sys


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit("not a PNG")
    return struct.unpack(">II", data[16:24])


def main(out, inputs):
    # Smallest first, whatever order the sizes were given in, so the directory reads plainly.
    images = sorted((open(path, "rb").read() for path in inputs), key=png_size)
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries = b""
    for data in images:
        width, height = png_size(data)
        # 256 is written as 0 in the directory.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data),
                               offset)
        offset += len(data)
    with open(out, "wb") as ico:
        ico.write(header + entries + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2:])
