#!/usr/bin/env python3
"""Writes a one-line text page: an EMF of 4 x 1 inches holding one line of
Arial text, the smallest page with text (the fixed cost of a process that
draws text).

usage: one_line_page.py OUT.emf [TEXT]
"""
import struct
import sys


def record(kind, body):
    return struct.pack("<II", kind, 8 + len(body)) + body


def logfont(height, face):
    name = face.encode("utf-16-le").ljust(64, b"\0")
    # height, width, escapement, orientation, weight, italic, underline,
    # strike-out, charset, out precision, clip precision, quality, pitch
    return struct.pack("<iiiii8B", height, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0) + name


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    text = argv[2] if len(argv) > 2 else "The quick brown fox jumps over the lazy dog."
    width, height = 384, 96  # pixels at 96 per inch
    chars = text.encode("utf-16-le")
    if len(chars) % 4:
        chars += b"\0\0"
    dx = struct.pack("<%di" % len(text), *([7] * len(text)))
    records = [
        record(82, struct.pack("<I", 1) + logfont(-16, "Arial")),   # EMR_EXTCREATEFONTINDIRECTW
        record(37, struct.pack("<I", 1)),                           # EMR_SELECTOBJECT
    ]
    text_at = 8 + 16 + 12 + 8 + 12 + 16 + 4  # record head, bounds, mode and scales, EMRTEXT
    records.append(record(84, struct.pack("<4iIff", 0, 0, width, height, 1, 0.0, 0.0)  # EMR_EXTTEXTOUTW
                          + struct.pack("<iiIII4iI", 8, 40, len(text), text_at, 0, 0, 0, 0, 0,
                                        text_at + len(chars)) + chars + dx))
    records.append(record(14, struct.pack("<III", 0, 16, 20)))       # EMR_EOF
    body = b"".join(records)
    header_size = 108
    header = struct.pack("<4i4iIIIIHHIII2i2iIII2i", 0, 0, width - 1, height - 1,
                         0, 0, 10160, 2540, 0x464D4520, 0x10000,
                         header_size + len(body), len(records) + 1, 2, 0, 0, 0, 0,
                         1024, 768, 270, 203, 0, 0, 0, 270000, 203000)
    header = struct.pack("<II", 1, header_size) + header
    assert len(header) == header_size, len(header)
    with open(argv[1], "wb") as out:
        out.write(header + body)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
