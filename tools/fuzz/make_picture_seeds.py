#!/usr/bin/python3
"""Writes the seed corpora of the picture fuzzers: small valid files of every variant each
decoder reads (bit depths, compressions, interlacing, transparency, animation, icon and cursor
directories, metafile records). Run it with Debian's python3 and python3-pil; the output is
committed.

    tools/fuzz/make_picture_seeds.py [OUTPUT_DIR]   (default tests/ui/draw/fuzz/corpus)
"""

import io
import os
import struct
import sys
import zlib

from PIL import Image, ImageDraw


def picture(size, mode="RGB"):
    """A small picture with a few shapes and colours, so that coders have something to code."""
    img = Image.new(mode, size, "white" if mode != "RGBA" else (255, 255, 255, 0))
    d = ImageDraw.Draw(img)
    w, h = size
    d.rectangle([1, 1, w // 2, h // 2], fill="red")
    d.ellipse([w // 3, h // 3, w - 2, h - 2], fill="blue")
    d.line([0, h - 1, w - 1, 0], fill="green")
    return img


def encoded(img, fmt, **options):
    out = io.BytesIO()
    img.save(out, fmt, **options)
    return out.getvalue()


def bmp_seeds():
    seeds = {
        "rgb24": encoded(picture((9, 7)), "BMP"),
        "palette8": encoded(picture((9, 7)).convert("P"), "BMP"),
        "palette4": encoded(picture((9, 7)).quantize(16), "BMP"),
        "mono": encoded(picture((17, 5)).convert("1"), "BMP"),
        "rgba32": encoded(picture((6, 6), "RGBA"), "BMP"),
    }
    seeds["rle8"] = rle8_bmp()
    seeds["core_header"] = core_header_bmp()
    return seeds


def rle8_bmp():
    """An 8 x 4 run-length coded bitmap: runs, an absolute run, a delta and the end mark."""
    data = bytes([8, 1, 0, 0,  # a run of 8, end of line
                  0, 4, 2, 3, 2, 3, 4, 1, 0, 0,  # absolute run of 4, then a run of 4
                  0, 2, 2, 0, 4, 2, 0, 0,  # delta, a run, end of line
                  0, 1])  # end of bitmap
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0)
                       for r, g, b in [(0, 0, 0), (255, 0, 0), (0, 255, 0), (0, 0, 255),
                                       (255, 255, 255)])
    header = struct.pack("<IiiHHIIiiII", 40, 8, 4, 1, 8, 1, len(data), 2835, 2835, 5, 0)
    offset = 14 + len(header) + len(palette)
    return (b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + header + palette
            + data)


def core_header_bmp():
    """A 4 x 2 bitmap with the old 12-byte header and a 3-byte palette."""
    header = struct.pack("<IHHHH", 12, 4, 2, 1, 8)
    palette = bytes([0, 0, 255, 0, 255, 0])
    rows = bytes([0, 1, 0, 1]) * 2
    offset = 14 + len(header) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset) + header + palette + rows


def jpeg_seeds():
    img = picture((16, 8))
    return {
        "baseline": encoded(img, "JPEG", quality=50),
        "progressive": encoded(img, "JPEG", quality=50, progressive=True),
        "gray": encoded(img.convert("L"), "JPEG", quality=50),
        "subsampled": encoded(picture((17, 9)), "JPEG", quality=30, subsampling=2),
        "cmyk": encoded(img.convert("CMYK"), "JPEG", quality=40),
    }


def gif_seeds():
    frames = [picture((8, 6)).convert("P") for _ in range(3)]
    for i, f in enumerate(frames):
        ImageDraw.Draw(f).rectangle([i, i, i + 2, i + 2], fill=i + 1)
    transparent = picture((8, 6), "RGBA")
    return {
        "still": encoded(picture((8, 6)).convert("P"), "GIF"),
        "interlaced": encoded(picture((5, 11)).convert("P"), "GIF", interlace=True),
        "transparent": encoded(transparent, "GIF", transparency=0),
        "animated": encoded(frames[0], "GIF", save_all=True, append_images=frames[1:],
                            duration=[100, 50, 200], loop=0, disposal=[1, 2, 3]),
        "animated_once": encoded(frames[0], "GIF", save_all=True, append_images=frames[1:2],
                                 duration=80, optimize=False),
        "gif87": gif87(),
    }


def gif87():
    """A 2 x 2 GIF87a with a local colour table and no graphic control block."""
    lzw = bytes([0x4C, 0x01])  # clear, 0, 1, end in 2-bit-table codes
    return (b"GIF87a" + struct.pack("<HHBBB", 2, 2, 0, 0, 0)
            + b"," + struct.pack("<HHHHB", 0, 0, 2, 1, 0x80) + bytes([0, 0, 0, 255, 255, 255])
            + bytes([2, len(lzw)]) + lzw + b"\x00;")


def png_seeds():
    return {
        "rgb": encoded(picture((9, 7)), "PNG"),
        "rgba": encoded(picture((9, 7), "RGBA"), "PNG"),
        "palette": encoded(picture((9, 7)).convert("P"), "PNG"),
        "gray": encoded(picture((9, 7)).convert("L"), "PNG"),
        "mono": encoded(picture((9, 7)).convert("1"), "PNG"),
        "interlaced": interlaced_png(),
    }


def interlaced_png():
    """A 5 x 5 grey PNG in the seven interlace passes (the imaging library writes none)."""
    width, height = 5, 5
    raw = b"".join(b"\x00" + bytes([(x * 50) % 256 for x in range(width)])
                   for _ in range(height))
    # Adam7 passes of a grey image: rebuilt pass by pass from the plain rows.
    rows = [raw[1 + y * (width + 1): (y + 1) * (width + 1)] for y in range(height)]
    passes = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2),
              (0, 1, 1, 2)]
    data = b""
    for x0, y0, dx, dy in passes:
        for y in range(y0, height, dy):
            line = bytes(rows[y][x] for x in range(x0, width, dx))
            if line:
                data += b"\x00" + line

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 0, 0, 0, 1))
            + chunk(b"IDAT", zlib.compress(data)) + chunk(b"IEND", b""))


def dib(img, bits):
    """An icon image as a device-independent bitmap: header, palette, colour rows, mask rows."""
    w, h = img.size
    rgba = img.convert("RGBA")
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    palette = b""
    colours = []
    if bits <= 8:
        colours = [(0, 0, 0), (255, 255, 255), (255, 0, 0), (0, 0, 255)][: 1 << bits]
        colours += [(0, 0, 0)] * ((1 << bits) - len(colours))
        palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    stride = ((w * bits + 31) // 32) * 4
    mask_stride = ((w + 31) // 32) * 4
    rows = b""
    mask = b""
    for y in reversed(range(h)):
        row = bytearray(stride)
        mrow = bytearray(mask_stride)
        for x in range(w):
            r, g, b, a = rgba.getpixel((x, y))
            if a == 0:
                mrow[x // 8] |= 0x80 >> (x % 8)
            if bits == 32:
                row[x * 4: x * 4 + 4] = bytes([b, g, r, a])
            elif bits == 24:
                row[x * 3: x * 3 + 3] = bytes([b, g, r])
            else:
                index = min(range(len(colours)),
                            key=lambda i: sum(abs(c - v) for c, v in zip(colours[i], (r, g, b))))
                if bits == 8:
                    row[x] = index
                elif bits == 4:
                    row[x // 2] |= index << (0 if x % 2 else 4)
                else:
                    row[x // 8] |= (index & 1) << (7 - x % 8)
        rows += bytes(row)
        mask += bytes(mrow)
    return header + palette + rows + mask


def icon_file(images, cursor):
    """An ICO or CUR directory of (image bytes, width, height, hot x, hot y, bits)."""
    out = struct.pack("<HHH", 0, 2 if cursor else 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for data, w, h, hx, hy, bits in images:
        second, third = (hx, hy) if cursor else (1, bits)
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, second, third, len(data), offset)
        offset += len(data)
        body += data
    return out + body


def icon_seeds():
    small = picture((16, 16), "RGBA")
    standard = picture((32, 32), "RGBA")
    return {
        "ico_sizes": icon_file([(dib(small, 4), 16, 16, 0, 0, 4),
                                (dib(standard, 32), 32, 32, 0, 0, 32),
                                (dib(small, 1), 16, 16, 0, 0, 1)], cursor=False),
        "ico_png": icon_file([(encoded(standard, "PNG"), 32, 32, 0, 0, 32)], cursor=False),
        "ico_8bit": icon_file([(dib(small, 8), 16, 16, 0, 0, 8),
                               (dib(small, 24), 16, 16, 0, 0, 24)], cursor=False),
        "cur": icon_file([(dib(standard, 32), 32, 32, 5, 9, 32)], cursor=True),
        "cur_mono": icon_file([(dib(standard, 1), 32, 32, 0, 0, 1)], cursor=True),
    }


def wmf_record(function, params):
    return struct.pack("<IH", 3 + len(params) // 2, function) + params


def words(*values):
    return struct.pack("<" + "H" * len(values), *[v & 0xFFFF for v in values])


def wmf_file(drawing, width=1000, height=500, placeable=True):
    records = (wmf_record(0x020B, words(0, 0)) + wmf_record(0x020C, words(height, width))
               + drawing + wmf_record(0x0000, b""))
    largest = 0
    at = 0
    while at < len(records):
        size = struct.unpack_from("<I", records, at)[0]
        largest = max(largest, size)
        at += 2 * size
    header = struct.pack("<HHHIHIH", 1, 9, 0x0300, (18 + len(records)) // 2, 4, largest, 0)
    if not placeable:
        return header + records
    key = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, width, height, 1000, 0)
    checksum = 0
    for i in range(0, 20, 2):
        checksum ^= struct.unpack_from("<H", key, i)[0]
    return key + struct.pack("<H", checksum) + header + records


def wmf_seeds():
    shapes = (wmf_record(0x02FC, words(0, 0x00FF, 0, 0))  # red brush
              + wmf_record(0x012D, words(0))
              + wmf_record(0x02FA, words(0, 3, 0, 0xFF00, 0))  # green pen
              + wmf_record(0x012D, words(1))
              + wmf_record(0x041B, words(400, 900, 100, 100))  # rectangle
              + wmf_record(0x0418, words(450, 600, 50, 200))  # ellipse
              + wmf_record(0x0214, words(0, 0)) + wmf_record(0x0213, words(500, 1000))  # line
              + wmf_record(0x0324, words(3, 10, 10, 300, 10, 150, 200)))  # polygon
    text = (wmf_record(0x02FB, words(-120, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, 0)
                       + b"Arial\x00\x00\x00")  # font
            + wmf_record(0x012D, words(2))
            + wmf_record(0x0521, words(5) + b"Hello\x00" + words(200, 100)))  # text out
    dib_params = (struct.pack("<I", 0x00CC0020) + words(0, 2, 2, 0, 0, 500, 1000, 0, 0)
                  + struct.pack("<IiiHHIIiiII", 40, 2, 2, 1, 24, 0, 16, 0, 0, 0, 0)
                  + bytes([0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0]))
    return {
        "shapes": wmf_file(shapes),
        "text": wmf_file(text),
        "bitmap": wmf_file(wmf_record(0x0F43, dib_params)),
        "plain": wmf_file(shapes, placeable=False),
    }


def emf_record(kind, *values, raw=b""):
    body = struct.pack("<" + "I" * len(values), *[v & 0xFFFFFFFF for v in values]) + raw
    return struct.pack("<II", kind, 8 + len(body)) + body


def emf_file(records, width=40, height=20):
    records += emf_record(14, 0, 16, 20)  # end of file
    count = 1
    at = 0
    while at < len(records):
        at += struct.unpack_from("<I", records, at + 4)[0]
        count += 1
    header = struct.pack("<II", 1, 88)
    header += struct.pack("<iiii", 0, 0, width - 1, height - 1)
    header += struct.pack("<iiii", 0, 0, width * 2540 // 96, height * 2540 // 96)
    header += struct.pack("<IIIIHHIII", 0x464D4520, 0x10000, 88 + len(records), count, 3, 0,
                          0, 0, 0)
    header += struct.pack("<iiii", 1024, 768, 271, 203)
    return header + records


def emf_seeds():
    shapes = (emf_record(39, 1, 0, 0x0000FF, 0)  # solid red brush
              + emf_record(37, 1)
              + emf_record(38, 2, 0, 2, 0, 0x00FF00)  # green pen
              + emf_record(37, 2)
              + emf_record(43, 2, 2, 30, 15)  # rectangle
              + emf_record(42, 5, 5, 35, 18)  # ellipse
              + emf_record(27, 0, 0) + emf_record(54, 39, 19))  # move, line
    polygon = emf_record(86, 0, 0, 39, 19, 3, raw=struct.pack("<hhhhhh", 1, 1, 38, 1, 20, 18))
    dib = (struct.pack("<IiiHHIIiiII", 40, 2, 2, 1, 24, 0, 16, 0, 0, 0, 0)
           + bytes([0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0]))
    # Stretched bitmap: bounds, destination, source, header and bits offsets and sizes.
    stretch = emf_record(81, 0, 0, 39, 19, 0, 0, 0, 0, 2, 2, 80, 40, 120, 16, 0, 0x00CC0020,
                         40, 20, raw=dib)
    return {
        "shapes": emf_file(shapes),
        "polygon": emf_file(emf_record(39, 1, 0, 0xFF0000, 0) + emf_record(37, 1) + polygon),
        "bitmap": emf_file(stretch),
    }


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "ui", "draw", "fuzz",
        "corpus")
    corpora = {"bmp": bmp_seeds(), "jpeg": jpeg_seeds(), "gif": gif_seeds(), "png": png_seeds(),
               "icon": icon_seeds(), "wmf": wmf_seeds(), "emf": emf_seeds()}
    for fmt, seeds in corpora.items():
        folder = os.path.join(out, fmt)
        os.makedirs(folder, exist_ok=True)
        for name, data in seeds.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
