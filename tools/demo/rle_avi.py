"""Writes AVI files with 8-bit run-length-encoded pictures (the BI_RLE8 format): small files
for flat-coloured animations, readable by every video decoder. Used by the demo generator and by
the test fixtures.

    write_rle_avi(path, width, height, fps, palette, frames)

palette: up to 256 (r, g, b) tuples; frames: a list of pictures, each a list of `height` rows
(top row first) of `width` palette indexes.
"""

import os
import struct

BI_RLE8 = 1
AVIF_HASINDEX = 0x10
AVIIF_KEYFRAME = 0x10


def chunk(fourcc, data):
    pad = b"\0" if len(data) % 2 else b""
    return fourcc + struct.pack("<I", len(data)) + data + pad


def riff_list(kind, fourcc, data):
    return kind + struct.pack("<I", len(data) + 4) + fourcc + data


def encode_rle8(rows):
    """One picture: rows bottom-up, each as (count, index) runs and an end-of-line code, then
    the end-of-picture code."""
    out = bytearray()
    for row in reversed(rows):
        x = 0
        while x < len(row):
            n = 1
            while x + n < len(row) and n < 255 and row[x + n] == row[x]:
                n += 1
            out += bytes((n, row[x]))
            x += n
        out += b"\0\0"
    out[-2:] = b"\0\1"
    return bytes(out)


def write_rle_avi(path, width, height, fps, palette, frames):
    pictures = [encode_rle8(f) for f in frames]
    biggest = max(len(p) for p in pictures)
    avih = struct.pack("<IIIIIIIIII16x", 1000000 // fps, biggest * fps, 0, AVIF_HASINDEX,
                       len(frames), 0, 1, biggest, width, height)
    strh = b"vids" + b"mrle" + struct.pack("<IHHIIIIIIIIhhhh", 0, 0, 0, 0, 1, fps, 0,
                                             len(frames), biggest, 0xFFFFFFFF, 0, 0, 0, width,
                                             height)
    colours = list(palette) + [(0, 0, 0)] * (256 - len(palette))
    strf = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, BI_RLE8, biggest, 0, 0, 256, 0)
    strf += b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    hdrl = riff_list(b"LIST", b"hdrl", chunk(b"avih", avih) +
                     riff_list(b"LIST", b"strl", chunk(b"strh", strh) + chunk(b"strf", strf)))
    movi_chunks = b""
    index = b""
    offset = 4  # from the "movi" fourcc
    for p in pictures:
        c = chunk(b"00dc", p)
        index += b"00dc" + struct.pack("<III", AVIIF_KEYFRAME, offset, len(p))
        movi_chunks += c
        offset += len(c)
    movi = riff_list(b"LIST", b"movi", movi_chunks)
    body = hdrl + movi + chunk(b"idx1", index)
    os.makedirs(os.path.dirname(path) or ".", exist_ok=True)
    with open(path, "wb") as f:
        f.write(riff_list(b"RIFF", b"AVI ", body))
