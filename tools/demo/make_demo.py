#!/usr/bin/python3
"""Generates examples/demo, the small original game that the README's run command plays.

"The Lighthouse Keeper's Key": find a rope and a hook, tie them into a grapple, fish the key off
a ledge, unlock the lighthouse and light the lamp. Every data file is written in the editor's
format (quoted strings, bare numbers, #TRUE#/#FALSE#, CR LF, Windows-1252); every picture is
drawn here. Run it with Debian's python3 and python3-pil; the output is committed.

    tools/demo/make_demo.py [OUTPUT_DIR]
"""

import math
import os
import random
import struct
import sys

from PIL import Image, ImageDraw

import demo_sounds

SEPARATOR = "----- SEPARATOR -----"
W, H = 640, 480


# ---------------------------------------------------------------------------------------------
# Data files


def field(value):
    if isinstance(value, bool):
        return "#TRUE#" if value else "#FALSE#"
    if isinstance(value, (int, float)):
        return ("%.15g" % value) if isinstance(value, float) else str(value)
    if value is None:
        return ""
    return '"' + value + '"'


class DataFile:
    """Collects statements; each statement is one line of comma-separated fields."""

    def __init__(self):
        self.lines = []

    def write(self, *values):
        self.lines.append(",".join(field(v) for v in values))

    def save(self, path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(("\r\n".join(self.lines) + "\r\n").encode("cp1252"))


def general_file():
    d = DataFile()
    d.write("LighthouseDemo")  # 1 project name
    d.write("")  # 2
    d.write("The Lighthouse Keeper's Key")  # 3 title
    d.write(0)  # 4
    d.write("Harbour")  # 5 initial frame
    d.write("Version 1.0")  # 6
    d.write(W, H)  # 7, 8 picture size
    d.write("The Storyloom player developers")  # 9
    d.write("demo@storyloom.example.org")  # 10
    d.write("https://storyloom.example.org/")  # 11
    d.write(0)  # 12 no resolution offer
    d.write(0, 0, 0)  # 13-15
    d.write("Harbour")  # 16 scheme
    d.write(0, 0, 0)  # 17-19
    d.write(False, False, False)  # 20 hide load, 21 hide save, 22
    d.write(0, 0)  # 23-24
    d.write(10, 10)  # 25 item gap, 26 margin
    d.write(True, True, True, True, True, False)  # 27-32 inventory options
    d.write("DEFAULT", "DEFAULT")  # 33, 34 inventory pictures
    d.write(0)  # 35 target resolution
    d.write(0, 0)  # 36-37
    d.write("DEFAULT")  # 38 default pointer
    d.write(0, 0)  # 39-40
    d.write(True)  # 41 menus always shown (windowed)
    d.write(0)  # 42
    d.write(False, False)  # 43 skip title, 44 hide logo
    d.write(0)  # 45
    d.write(False)  # 46 hide transitions option
    d.write(False)  # 47 hide effects option
    d.write(False)  # 48 menus never shown
    return d


def frame_file(kind, source, tiled=False, music="", timer=None, script="", channels=(),
               sound="", video=None, fade_ms=0):
    """timer: (delay seconds, target) or None. channels: records of five values (mode, fade,
    loop, volume level, file in Areas). sound: a frame sound in Frames, played once. video: a
    Video or None. fade_ms: the length of the channels' fades."""
    video = video or Video("")
    d = DataFile()
    d.write(kind, source, tiled)  # 1-3 background
    d.write(False, music)  # 4 stop music, 5 music
    if timer:
        d.write(True, str(timer[0]), timer[1])  # 6-8 frame timer
    else:
        d.write(False, "0", "")
    d.write(video.file, 0)  # 9 video, 10
    d.write(False, True, sound)  # 11 stop sounds, 12 stop frame sound, 13 frame sound
    d.write(0, 0, 0)  # 14-16
    d.write(video.own_size, video.cut_scene, *video.rect)  # 17 own size, 18 cut-scene, 19-22
    d.write(True)  # 23 music loops
    d.write(False, 0, 0)  # 24-26 timer transition
    d.write(bool(script), script)  # 27-28 opening script
    d.write(0, 0, 0, 0, 0, 0)  # 29-34
    d.write(str(fade_ms), 0)  # 35 fade duration, 36
    d.write(5, len(channels))  # 37 values per record, 38 records
    for record in channels:
        d.write(*record)
    d.write(video.before)  # last: video before frame
    return d


class Video:
    """A frame's video: the file in Frames, shown at its own size, in the cut-scene area (placed
    at rect) or stretched into rect (pixels), before the frame is drawn or after."""

    def __init__(self, file, own_size=False, cut_scene=False, rect=(0, 0, 0, 0), before=False):
        self.file, self.own_size, self.cut_scene = file, own_size, cut_scene
        self.rect, self.before = rect, before


class Hotspot:
    def __init__(self, name, rect, picture="", stretch=1, pointer="", must_true=(), must_false=(),
                 animated=False):
        self.name, self.rect, self.picture, self.stretch = name, rect, picture, stretch
        self.pointer, self.must_true, self.must_false = pointer, must_true, must_false
        self.animated = animated


def hotspot_file(hotspots):
    d = DataFile()
    for h in hotspots:
        left, top, width, height = (v * 15 for v in h.rect)  # pixels to twips
        d.write(h.name, 0, 0, 0, 0, 0, 0, 0, 0, 0)  # 1-10
        d.write(left, top, width, height)  # 11-14
        d.write(int(h.animated), bool(h.picture), h.picture, h.stretch, h.pointer)  # 15-19
        conditions = 1 if (h.must_true or h.must_false) else 0
        d.write(conditions)  # 20
        d.write(len(h.must_true), *h.must_true)  # 21
        d.write(len(h.must_false), *h.must_false)  # 22
        d.write(0)  # 23 animation speed
        d.write(SEPARATOR)
    return d


class Action:
    """One action record; defaults do nothing."""

    def __init__(self, **kw):
        self.variable = kw.get("variable", "")  # A2 with A1 on
        self.set_to = kw.get("set_to")  # 0, 1 or -1 (toggle)
        self.message = kw.get("message", "")  # A7 with A6 on
        self.in_game = kw.get("in_game", True)  # E4
        self.disappear = kw.get("disappear", False)  # A10
        self.end_game = kw.get("end_game", False)  # A11
        self.goto = kw.get("goto", "")  # A13 with A12 on
        self.previous = kw.get("previous", False)  # D4
        self.set_true = kw.get("set_true", ())  # F5 second list
        self.procedure = kw.get("procedure", "")  # I2 with I1 on
        self.pick_up = kw.get("pick_up", "")  # L2 with L1 on
        self.transition = kw.get("transition")  # (J1 number, H2 milliseconds) with H1 on

    def write(self, d, header):
        d.write(*header)  # 1-10
        a1 = 1 if self.variable else 0
        d.write(a1, self.variable, 1 if self.set_to == 0 else 0, 1 if self.set_to == 1 else 0,
                1 if self.set_to == -1 else 0)  # A1-A5
        d.write(1 if self.message else 0, self.message, 0, "")  # A6-A9
        d.write(1 if self.disappear else 0, 1 if self.end_game else 0)  # A10, A11
        d.write(1 if self.goto else 0, self.goto)  # A12, A13
        d.write(0, 0, 0, "", False, False, 0, 0, 0, 0)  # B1-B10
        d.write(0, 0, "", 0, "")  # C1-C5
        d.write(0, 0, 0, 1 if self.previous else 0)  # D1-D4
        d.write(0, 0, 0, self.in_game)  # E1-E4
        d.write(0, 0, 0, 1 if self.set_true else 0)  # F1-F4
        d.write(0)  # F5 first list: set to 0
        d.write(len(self.set_true), *self.set_true)  # F5 second list: set to 1
        d.write(0)  # F5 third list: toggle
        d.write(True)  # G1 loop hotspot sound
        number, ms = self.transition or (1, 0)
        d.write(1 if self.transition else 0, float(ms))  # H1, H2 transition
        d.write(bool(self.procedure), self.procedure)  # I1, I2
        d.write(number)  # J1 transition number
        d.write(0, 0, 0, 0, 0, 0)  # K1-K6
        d.write("0", 0, 5, 0)  # K7 fade, K8, K9 values per line, K10 lines
        d.write(bool(self.pick_up), self.pick_up)  # L1, L2
        d.write(SEPARATOR)


def action_file(actions):
    d = DataFile()
    for n, a in enumerate(actions, 1):
        a.write(d, ("Action %d" % n, 0, 0, 0, 0, 0, 0, 0, 0, 0))
    return d


def item_use_file(uses):
    """uses: list of (hotspot number, item name, Action)."""
    d = DataFile()
    for number, item, a in uses:
        a.write(d, ("Use", "%d_%s.drg" % (number, item), 0, 0, 0, 0, 0, 0, 0, 0))
    return d


def item_place_file(places):
    d = DataFile()
    for number, item in places:
        d.write("Item", number, 0, 0, 0, 0, 0, 0, 0, 0)
        d.write(1, item)
        d.write(SEPARATOR)
    return d


def text_file(texts):
    """texts: (text, left px, top px, font, size, bold, colour &HBBGGRR)."""
    d = DataFile()
    for text, left, top, font, size, bold, colour in texts:
        d.write("Text", 0, 0, 0, 0, 0, 0, 0, 0, 0)
        d.write(text, left * 15, top * 15, bold, False, font, size, False, False, colour, 0)
    return d


# ---------------------------------------------------------------------------------------------
# Pictures


def gradient(draw, box, top, bottom):
    x0, y0, x1, y1 = box
    for y in range(y0, y1):
        t = (y - y0) / max(1, y1 - y0 - 1)
        colour = tuple(int(a + (b - a) * t) for a, b in zip(top, bottom))
        draw.line([(x0, y), (x1 - 1, y)], fill=colour)


def sea(draw, horizon, near, far):
    gradient(draw, (0, horizon, W, H), far, near)
    rng = random.Random(7)
    for _ in range(160):
        y = rng.randint(horizon + 4, H - 2)
        x = rng.randint(0, W)
        length = 6 + (y - horizon) // 6
        draw.line([(x, y), (x + length, y)], fill=(200, 220, 235))


def lighthouse(draw, base_x, base_y, height, width):
    top_w = width * 0.6
    stripes = 6
    for i in range(stripes):
        y0 = base_y - height * i / stripes
        y1 = base_y - height * (i + 1) / stripes
        w0 = width - (width - top_w) * i / stripes
        w1 = width - (width - top_w) * (i + 1) / stripes
        colour = (235, 235, 230) if i % 2 == 0 else (190, 40, 40)
        draw.polygon([(base_x - w0 / 2, y0), (base_x + w0 / 2, y0), (base_x + w1 / 2, y1),
                      (base_x - w1 / 2, y1)], fill=colour)
    top = base_y - height
    draw.rectangle([base_x - top_w / 2 - 6, top - 6, base_x + top_w / 2 + 6, top], fill=(40, 40, 50))
    draw.rectangle([base_x - top_w / 2 + 2, top - 34, base_x + top_w / 2 - 2, top - 6],
                   fill=(255, 236, 150))
    draw.polygon([(base_x - top_w / 2 - 4, top - 34), (base_x + top_w / 2 + 4, top - 34),
                  (base_x, top - 60)], fill=(40, 40, 50))


def harbour_picture():
    img = Image.new("RGB", (W, H))
    d = ImageDraw.Draw(img)
    gradient(d, (0, 0, W, 260), (250, 170, 110), (255, 220, 170))
    d.ellipse([470, 150, 550, 230], fill=(255, 240, 200))
    sea(d, 260, (30, 70, 110), (90, 130, 160))
    d.polygon([(420, 260), (640, 200), (640, 260)], fill=(70, 80, 70))
    lighthouse(d, 560, 215, 120, 34)
    d.rectangle([0, 330, 330, 350], fill=(110, 75, 45))  # pier deck
    for x in range(10, 330, 40):
        d.rectangle([x, 350, x + 10, 470], fill=(80, 55, 35))
    d.rectangle([360, 300, 470, 340], fill=(150, 60, 50))  # boat hull
    d.polygon([(360, 300), (470, 300), (455, 340), (375, 340)], fill=(120, 45, 40))
    d.line([(415, 300), (415, 230)], fill=(60, 40, 30), width=3)
    d.rectangle([60, 360, 200, 380], fill=(95, 65, 40))
    d.rectangle([250, 270, 300, 330], fill=(120, 90, 60))  # signpost
    d.rectangle([272, 330, 278, 350], fill=(90, 60, 40))
    return img


def telescope_picture():
    img = Image.new("RGB", (W, H), (10, 10, 20))
    d = ImageDraw.Draw(img)
    d.ellipse([70, 10, 570, 470], fill=(120, 170, 210))
    gradient(d, (70, 240, 570, 470), (60, 100, 140), (30, 60, 100))
    lighthouse(d, 320, 330, 200, 60)
    mask = Image.new("L", (W, H), 0)
    ImageDraw.Draw(mask).ellipse([70, 10, 570, 470], fill=255)
    black = Image.new("RGB", (W, H), (0, 0, 0))
    return Image.composite(img, black, mask)


def door_picture():
    img = Image.new("RGB", (W, H))
    d = ImageDraw.Draw(img)
    gradient(d, (0, 0, W, H), (120, 150, 190), (200, 210, 220))
    d.polygon([(170, 480), (470, 480), (430, 0), (210, 0)], fill=(235, 235, 228))
    for y in range(40, 480, 90):
        d.polygon([(205, y), (435, y), (438, y + 40), (202, y + 40)], fill=(190, 45, 45))
    d.rectangle([0, 420, W, H], fill=(110, 100, 80))
    d.rectangle([258, 250, 382, 470], fill=(70, 45, 30))  # the door
    d.arc([258, 190, 382, 310], 180, 360, fill=(70, 45, 30), width=60)
    d.ellipse([360, 360, 372, 372], fill=(220, 190, 80))
    return img


def door_open_picture():
    img = Image.new("RGB", (124, 220), (20, 15, 10))
    d = ImageDraw.Draw(img)
    gradient(d, (0, 0, 124, 220), (60, 50, 30), (15, 10, 5))
    d.polygon([(0, 0), (24, 12), (24, 220), (0, 220)], fill=(70, 45, 30))
    return img


def cliff_tile():
    img = Image.new("RGB", (64, 64), (96, 120, 70))
    d = ImageDraw.Draw(img)
    rng = random.Random(3)
    for _ in range(90):
        x, y = rng.randint(0, 63), rng.randint(0, 63)
        shade = rng.randint(-25, 25)
        d.point((x, y), fill=(96 + shade, 128 + shade, 70 + shade // 2))
    d.ellipse([10, 40, 30, 52], fill=(140, 135, 125))
    d.ellipse([40, 8, 54, 18], fill=(150, 145, 135))
    return img


def icon(kind):
    """A 32x32 picture with a transparent background colour (magenta)."""
    key = (255, 0, 255)
    img = Image.new("RGB", (32, 32), key)
    d = ImageDraw.Draw(img)
    if kind == "rope":
        for i in range(4):
            d.ellipse([4 + i, 6 + 2 * i, 28 - i, 26 - i], outline=(170, 130, 70), width=3)
    elif kind == "hook":
        d.line([(16, 2), (16, 20)], fill=(120, 120, 130), width=3)
        d.arc([6, 12, 26, 30], 0, 180, fill=(120, 120, 130), width=3)
        d.line([(6, 21), (9, 16)], fill=(120, 120, 130), width=3)
    elif kind == "grapple":
        d.line([(16, 2), (16, 20)], fill=(120, 120, 130), width=3)
        d.arc([6, 12, 26, 30], 0, 180, fill=(120, 120, 130), width=3)
        d.arc([1, 0, 20, 16], 90, 300, fill=(170, 130, 70), width=3)
    elif kind == "key":
        d.ellipse([3, 10, 15, 22], outline=(220, 180, 60), width=3)
        d.line([(15, 16), (29, 16)], fill=(220, 180, 60), width=3)
        d.line([(25, 16), (25, 22)], fill=(220, 180, 60), width=3)
        d.line([(21, 16), (21, 21)], fill=(220, 180, 60), width=3)
    elif kind == "crate":
        img = Image.new("RGB", (60, 44), key)
        d = ImageDraw.Draw(img)
        d.rectangle([0, 4, 59, 43], fill=(150, 110, 60), outline=(90, 60, 30), width=3)
        d.line([(0, 4), (59, 43)], fill=(90, 60, 30), width=3)
        d.polygon([(20, 4), (40, 4), (36, 0), (24, 0)], fill=(170, 130, 70))
    return img


def save_gif(img, path, transparent=(255, 0, 255)):
    """GIF whose transparent colour is the given background colour."""
    pal = img.convert("P", palette=Image.ADAPTIVE, colors=255)
    palette = pal.getpalette()[: 3 * 256]
    index = None
    for i in range(len(palette) // 3):
        if tuple(palette[3 * i: 3 * i + 3]) == transparent:
            index = i
            break
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if index is None:
        pal.save(path)
    else:
        pal.save(path, transparency=index)


def flying_gull(path):
    """An animated GIF of a gull beating its wings, looping without end: four images of 32 x 20
    on a transparent background, the wings up, level, down and level again."""
    images = []
    for wings in (-6, 0, 5, 0):
        img = Image.new("P", (32, 20), 0)
        img.putpalette([255, 0, 255, 250, 250, 250, 60, 60, 60] + [0] * 759)
        d = ImageDraw.Draw(img)
        d.line([(2, 10 + wings), (9, 10 + wings // 2), (16, 11)], fill=1, width=3)
        d.line([(16, 11), (23, 10 + wings // 2), (30, 10 + wings)], fill=1, width=3)
        d.ellipse([14, 9, 18, 13], fill=2)
        images.append(img)
    images[0].save(path, save_all=True, append_images=images[1:], duration=[150, 100, 150, 100],
                   transparency=0, disposal=2, loop=0, optimize=False)


def save_cursor(path, draw_fn, hotspot):
    """A 32x32 colour cursor (.cur): 32-bit image plus AND mask, with its hot spot."""
    size = 32
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    draw_fn(ImageDraw.Draw(img))
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            r, g, b, a = img.getpixel((x, y))
            xor += bytes((b, g, r, a))
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        bits = 0
        for x in range(size):
            if img.getpixel((x, y))[3] == 0:
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(directory + entry + image)


def hand_cursor(d):
    d.rounded_rectangle([8, 12, 24, 30], 4, fill=(250, 220, 180), outline=(0, 0, 0))
    d.rectangle([12, 1, 16, 16], fill=(250, 220, 180), outline=(0, 0, 0))


def eye_cursor(d):
    d.ellipse([2, 9, 29, 23], fill=(255, 255, 255), outline=(0, 0, 0))
    d.ellipse([11, 10, 21, 22], fill=(40, 90, 160))
    d.ellipse([14, 13, 18, 19], fill=(0, 0, 0))


def lamp_beam_video(path):
    """The cut scene of the ending: at night the lighthouse's lamp comes on and its beam sweeps
    twice over the sea. 240 x 180 pixels, 10 pictures a second, 4 seconds."""
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    from rle_avi import write_rle_avi
    w, h, frames = 240, 180, 40
    palette = [(8, 12, 40), (14, 22, 60), (22, 34, 80), (10, 30, 60), (16, 44, 84),  # sky, sea
               (30, 30, 36), (250, 240, 170), (200, 190, 120), (255, 255, 230),   # tower, beam
               (230, 230, 255), (60, 70, 110)]                                      # stars, rock
    rng = random.Random(7)
    stars = [(rng.randrange(w), rng.randrange(90)) for _ in range(24)]
    pictures = []
    for k in range(frames):
        img = Image.new("P", (w, h), 0)
        d = ImageDraw.Draw(img)
        for band, colour in ((30, 1), (60, 2)):
            d.rectangle([0, band, w, 100], fill=colour)
        for x, y in stars:
            if (x + k) % 7:
                d.point((x, y), fill=9)
        for y in range(100, h, 8):
            d.rectangle([0, y, w, y + 3], fill=3)
            d.rectangle([0, y + 4, w, y + 7], fill=4)
        d.polygon([(120, 150), (200, 180), (40, 180)], fill=10)
        d.rectangle([108, 60, 132, 152], fill=5)
        d.polygon([(104, 60), (136, 60), (120, 44)], fill=5)
        if k >= 6:  # the lamp is lit, then the beam turns
            d.ellipse([113, 48, 127, 62], fill=8)
            angle = (k - 6) * 2 * math.pi / 17
            reach, spread = 200, 0.22
            tip = [(120 + reach * math.cos(angle + a), 55 + reach * 0.35 * math.sin(angle + a))
                   for a in (-spread, spread)]
            d.polygon([(120, 55)] + tip, fill=7 if math.sin(angle) < 0 else 6)
            d.ellipse([115, 50, 125, 60], fill=8)
        pixels = list(img.getdata())
        pictures.append([pixels[y * w:(y + 1) * w] for y in range(h)])
    write_rle_avi(path, w, h, 10, palette, pictures)


def inventory_walk():
    """The items: the rope from the crate and the hook on the cliff path, each popping the bar
    open; the pointer on the inventory button opens it again, the rope dragged onto the hook makes
    the grapple, the grapple on the ledge fishes up the key, and the key opens the lighthouse
    door. Icons sit at x = 10 + 42 (k - 1), y = 10 in the open bar."""
    return [
        "click 90 338",     # the crate: the rope
        "wait 3000",        # the bar pops open and closes again
        "click 320 470",    # the crate's message still covers the way out: a click ends it
        "click 600 430",    # to the cliff path
        "click 316 236",    # the hook
        "wait 3000",
        "move 5 5",         # the inventory button: the bar slides open
        "wait 500",
        "drag 26 26 68 26",     # the rope onto the hook: a grapple
        "dump",
        "drag 26 26 140 400",   # the grapple onto the ledge: the key
        "wait 3000",
        "click 600 240",    # up to the lighthouse
        "move 5 5",
        "wait 500",
        "drag 26 26 320 300",   # the key onto the locked door
        "move 320 300",     # back over the frame: the bar slides away
        "wait 500",
        "dump",
    ]


def message_walk():
    """The harbour sign's words in the band at the bottom of the frame: the band goes by itself
    after 1 s and 70 ms a character, or at a click on it."""
    return [
        "click 276 300",    # the sign
        "dump",
        "click 320 470",    # the band: gone at once
        "click 276 300",
        "wait 5800",        # 67 characters: 5690 ms
        "dump",
    ]


def savegame_walk():
    """A game saved at the lighthouse door, a walk back to the harbour, that game loaded again
    (the load takes its pauses), and then removed in the save dialog."""
    return [
        "menu mnuSaveGame",
        "type At the door",
        "control Command2",         # SAVE
        "menu mnuFrameName(2)",     # away to the harbour
        "wait 500",
        "menu mnuLoadGame",
        "select List1 At the door",
        "control Command2",         # LOAD: back at the door, unlocked
        "wait 3000",
        "dump",
        "menu mnuSaveGame",
        "select List1 At the door",
        "answer ok",
        "control Command3",         # Remove Selected, confirmed
        "control Command1",         # Cancel
    ]


def title_load_walk():
    """From the title screen, the demo's own saved game: the lamp room, the lamp still dark."""
    return [
        "control lblButton(1)",     # Load
        "select List1 The lamp room",
        "control Command2",
        "wait 3000",
        "dump",
        "answer yes",
        "key Q ctrl",
        "wait 200",
    ]


def effects_walk():
    """The telescope opens with a cross-fade over the rippling harbour; a gull beats its wings
    over the lighthouse and answers a click; the telescope's timer brings the harbour back."""
    return [
        "click 560 170",    # the telescope: a one-second cross-fade
        "wait 1500",
        "click 218 102",    # the gull, an animated hotspot
        "dump",
        "click 320 470",
        "wait 3700",        # four seconds of looking in all, then back to the harbour
        "dump",
    ]


def harbour_water(frames):
    """Rippling water on the harbour's sea: the mask is black where the sea is and white over
    the pier, its posts, the boat and its mast, the crate and the signpost that stand in it."""
    top = 260
    settings = DataFile()
    settings.write(0, 0, 0, 0, 0, 0)  # 1-6, not used by the player
    settings.write(0, top, W, H - top)  # 7-10 the rectangle, pixels
    settings.write(6, 4)  # 11 wave parameter, 12 wave speed
    settings.save(os.path.join(frames, "Harbour.rwe"))
    mask = Image.new("RGB", (W, H - top), (0, 0, 0))
    d = ImageDraw.Draw(mask)
    for box in ([0, 330, 330, 350], [360, 300, 470, 340], [413, 260, 418, 300], [60, 360, 200, 380],
                [250, 270, 300, 330], [272, 330, 278, 350]):
        d.rectangle([box[0], box[1] - top, box[2], box[3] - top], fill=(255, 255, 255))
    for x in range(10, 330, 40):
        d.rectangle([x, 350 - top, x + 10, 470 - top], fill=(255, 255, 255))
    mask.save(os.path.join(frames, "Harbour.rwm"), "BMP")


def events_file(path):
    """The walkthrough that scripts/run-demo plays headless: title screen, a look through the
    telescope (whose timer goes back to the harbour), the items found, combined and used, a game
    saved, loaded and removed, the debug frame list, the menus, the demo's own saved game loaded
    from the title screen, and the way out through the title screen."""
    lines = [
        "# The Lighthouse Keeper's Key: a short tour.",
        "control Img(0)",
        "dump",
    ] + script_walk() + [
        "menu mnuFrameName(5)",
        "dump",
        "wait 4000",
        "dump",
    ] + message_walk() + effects_walk() + inventory_walk() + savegame_walk() + [
        "menu mnuFrameName(1)",
        "wait 500",
        "menu mnuFrameName(3)",
        "dump",
        "click 320 210",    # the lamp: a message box, then the last frame
        "dump",
        "wait 4500",        # the lamp's beam, a cut scene of 4 s
        "answer yes",
        "key Q ctrl",
        "wait 200",
    ] + title_load_walk() + [
        "key Esc",
    ]
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")


def button_font():
    """DejaVu Sans Bold when the system has it (Debian's fonts-dejavu-core), else PIL's own."""
    from PIL import ImageFont
    try:
        return ImageFont.truetype("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", 16)
    except OSError:
        return ImageFont.load_default()


def button_picture(text_colour, fill, text):
    img = Image.new("RGB", (120, 32), fill)
    d = ImageDraw.Draw(img)
    d.rectangle([0, 0, 119, 31], outline=(255, 255, 255))
    d.rectangle([1, 1, 118, 30], outline=text_colour)
    font = button_font()
    left, top, right, bottom = d.textbbox((0, 0), text, font=font)
    d.text(((120 - (right - left)) // 2 - left, (32 - (bottom - top)) // 2 - top), text,
           fill=text_colour, font=font)
    return img


def scheme_tile():
    img = Image.new("RGB", (48, 48), (24, 48, 80))
    d = ImageDraw.Draw(img)
    for y in range(0, 48, 12):
        d.arc([-6, y - 6, 18, y + 6], 0, 180, fill=(40, 80, 120))
        d.arc([18, y - 6, 42, y + 6], 0, 180, fill=(40, 80, 120))
    return img


# ---------------------------------------------------------------------------------------------
# Scripts: the harbour counts the visits and sends a gull across the sky on a timed event; a
# click on the gull scares it away; tying the rope to the hook says so.


def script(text):
    """Script text as data files store it: every double quote becomes '|'."""
    return text.replace('"', "|")


HARBOUR_SCRIPT = "\r\n".join([
    "Visits = Visits + 1",
    'Text(2).Caption = "Visit " & Visits',
    'If GullGone = 0 Then GullEvent = Action.CreateTimedEvent(0.1, "MoveGull", True)',
])

PROCEDURES = [
    "' The Lighthouse Keeper's Key",
    "' Procedures of the demo game",
    "'",
    "' The gull crosses the sky above the harbour, a little further at every tick.",
    "Sub MoveGull",
    "  If Hotspot(5).Left > 9600 Then",
    "    Hotspot(5).Left = -480",
    "  Else",
    "    Hotspot(5).Left = Hotspot(5).Left + 90",
    "  End If",
    "End Sub",
    "",
    "' A click on the gull scares it away for good.",
    "Sub ScareGull",
    "  Action.RemoveTimedEvent GullEvent",
    '  Action.Message "The gull flies off over the sea, squawking."',
    "End Sub",
]

COMBINE_SCRIPT = 'Action.Message "You tie the rope fast to the hook: a grapple!"'


def procedures_file(path):
    with open(path, "wb") as f:
        f.write(("\r\n".join(PROCEDURES) + "\r\n").encode("cp1252"))


def gull_picture():
    key = (255, 0, 255)
    img = Image.new("RGB", (32, 20), key)
    d = ImageDraw.Draw(img)
    d.arc([1, 4, 17, 20], 200, 340, fill=(250, 250, 250), width=3)
    d.arc([15, 4, 31, 20], 200, 340, fill=(250, 250, 250), width=3)
    d.ellipse([14, 8, 18, 12], fill=(60, 60, 60))
    return img


def script_walk():
    """The gull: a second after the harbour opens it is 60 pixels on its way; a click scares it
    off (its timed event goes, the message band says so, a click on the band ends it)."""
    return [
        "wait 1000",
        "click 116 72",
        "dump",
        "click 320 470",
    ]


# ---------------------------------------------------------------------------------------------
# Sounds

# Sound channel 1 at the lighthouse: the tune fades in over the sea (which plays on in the music
# channel) and, up in the lamp room, fades out under the bell.
TUNE_FADES_IN = (0, True, True, 8, "Tune.mid")
TUNE_FADES_OUT = (3, True, False, 0, "")


def add_sounds(areas, frames):
    """The sea loop (the harbour's music), the bell of the lamp room and the lighthouse tune."""
    demo_sounds.sea_loop(os.path.join(areas, "Sea.wav"))
    demo_sounds.ship_bell(os.path.join(frames, "Bell.wav"))
    demo_sounds.lighthouse_tune(os.path.join(areas, "Tune.mid"))


# ---------------------------------------------------------------------------------------------
# Saved games


def saved_game(path, frame, variables, disappeared, items, history, variants):
    """A saved game as the player writes it: one value a line, in the data-file notation."""
    lines = [frame, len(variables)]
    for name, value in variables:
        lines += [name, value]
    lines.append(len(disappeared))
    for name, number in disappeared:
        lines += [name, number]
    lines += [len(items)] + list(items) + [len(history)] + list(history)
    lines += ["", "", "", "LighthouseDemo", "The Lighthouse Keeper's Key", "03/07/2004",
              "Version 3.3.1", len(variants)]
    for name, value in variants:
        lines += [name, value]
    with open(path, "wb") as f:
        f.write(("\r\n".join(field(v) for v in lines) + "\r\n").encode("cp1252"))


def lamp_room_saved_game(out):
    """The saved game the demo comes with: in the lamp room with the door unlocked and the key
    used, the lamp still dark. Loaded from the title screen it leads straight to the ending."""
    saved_game(os.path.join(out, "The lamp room.sav"), "Lamp Room",
               [("DoorUnlocked", 1), ("KeyFound", 1), ("LampLit", 0)],
               [("Harbour", 1), ("Cliff Path", 1)], [],
               ["Harbour", "Cliff Path", "Lighthouse Door", "Lamp Room"], [("Visits", 2)])


# ---------------------------------------------------------------------------------------------
# The game


def exit_arrow(direction):
    """A cursor drawing function of an arrow pointing `direction` ("right", "left", "up",
    "down"); the hot spot is its tip (exit_arrow_tip)."""
    right = [(29, 16), (15, 3), (15, 11), (2, 11), (2, 21), (15, 21), (15, 29)]
    turn = {"right": lambda x, y: (x, y), "left": lambda x, y: (31 - x, y),
            "down": lambda x, y: (y, x), "up": lambda x, y: (y, 31 - x)}[direction]

    def draw(d):
        d.polygon([turn(x, y) for x, y in right], fill=(255, 255, 255), outline=(0, 0, 0))
    return draw


def exit_arrow_tip(direction):
    return {"right": (29, 16), "left": (2, 16), "down": (16, 29), "up": (16, 2)}[direction]


def exit_cursors(icons):
    """One arrow per way out, each pointing where the exit leads, hot spot at its tip."""
    for direction in ("right", "left", "up", "down"):
        save_cursor(os.path.join(icons, "Arrow" + direction.capitalize() + ".cur"),
                    exit_arrow(direction), exit_arrow_tip(direction))


def lamp_room_picture():
    """The lamp room at the top of the lighthouse: the great lamp behind its lens, under the
    hot spot "Lamp" (270, 150, 100, 120), windows onto the dusk sea, the stairs below."""
    img = Image.new("RGB", (W, H))
    d = ImageDraw.Draw(img)
    gradient(d, (0, 0, W, H), (40, 32, 24), (20, 14, 10))
    for x in (40, 460):  # windows
        gradient(d, (x, 70, x + 140, 250), (60, 70, 120), (200, 120, 90))
        d.rectangle([x, 70, x + 140, 250], outline=(90, 80, 60), width=6)
        d.line([(x + 70, 70), (x + 70, 250)], fill=(90, 80, 60), width=4)
    d.rectangle([250, 262, 390, 300], fill=(90, 70, 40))  # the lamp's base
    d.rectangle([300, 120, 340, 150], fill=(70, 60, 40))   # its hood
    d.ellipse([270, 150, 370, 270], fill=(170, 150, 90), outline=(230, 210, 140), width=4)
    for r in range(40, 8, -8):  # the lens' rings
        d.ellipse([320 - r, 210 - r, 320 + r, 210 + r], outline=(210, 190, 120), width=2)
    d.ellipse([308, 198, 332, 222], fill=(250, 240, 200))  # the unlit mantle
    d.rectangle([0, 300, W, 420], fill=(60, 45, 30))  # the gallery floor
    for y in range(420, 480, 12):  # the stairs down
        d.rectangle([0, y, W, y + 6], fill=(80, 60, 40))
    return img


def title_load_button(scheme):
    """The title's Load button as a picture like Start and Exit."""
    button_picture((255, 220, 150), (50, 80, 60), "Log book").save(os.path.join(scheme, "Load.bmp"))


def build(out):
    cfg, frames, data, areas, icons = (os.path.join(out, p) for p in
                                       ("Config", "Frames", "FramesData", "Areas", "Icons"))
    general_file().save(os.path.join(cfg, "General"))
    texts = DataFile()
    texts.write(1)  # the game wording of the interface texts
    texts.save(os.path.join(cfg, "Texts"))
    variables = DataFile()
    variables.write("Variables")
    for name in ("DoorUnlocked", "KeyFound", "LampLit", "GullGone"):
        variables.write(name)
    variables.write("***")
    variables.write("Visits")
    variables.write("GullEvent")
    variables.save(os.path.join(cfg, "Variables"))
    with open(os.path.join(cfg, "More"), "wb") as f:
        f.write(b"[General]\r\nScriptTimeOut=10\r\n")
    procedures_file(os.path.join(cfg, "Procedures"))

    # Title screen scheme: picture buttons for Start, Load and Exit.
    scheme = os.path.join(out, "Schemes", "Harbour")
    os.makedirs(scheme, exist_ok=True)
    button_picture((255, 220, 150), (40, 70, 110), "Set sail").save(os.path.join(scheme, "Start.bmp"))
    button_picture((255, 220, 150), (70, 40, 40), "Go ashore").save(os.path.join(scheme, "Exit.bmp"))
    scheme_tile().save(os.path.join(scheme, "Waves.bmp"))
    title_load_button(scheme)
    s = DataFile()
    s.write("Harbour", 1, 0)
    s.write(4, "Start.bmp", "Load.bmp", "Exit.bmp", "Waves.bmp")
    s.write(4, 0x503018, 0x96DCFF, 0xF0F0F0, 0x96DCFF)  # colours, &HBBGGRR
    s.write(0, 0, 0, 0, 0, 0, False)
    s.save(os.path.join(scheme, "Scheme.txt"))

    # Pictures. Frame references use other letter cases and one numbered extension on purpose.
    os.makedirs(frames, exist_ok=True)
    harbour_picture().save(os.path.join(frames, "Harbour.jpg"), quality=88)
    telescope_picture().save(os.path.join(frames, "Telescope.005"), "JPEG", quality=88)
    door_picture().save(os.path.join(frames, "Lighthouse.jpg"), quality=88)
    cliff_tile().save(os.path.join(frames, "Grass.bmp"))
    for name in ("rope", "hook", "grapple", "key", "crate"):
        save_gif(icon(name), os.path.join(areas, name.capitalize() + ".gif"))
    save_gif(gull_picture(), os.path.join(areas, "Gull.gif"))
    door_open_picture().save(os.path.join(areas, "OpenDoor.bmp"))
    save_cursor(os.path.join(icons, "Hand.cur"), hand_cursor, (14, 2))
    save_cursor(os.path.join(icons, "Eye.cur"), eye_cursor, (16, 16))
    exit_cursors(icons)
    lamp_room_picture().save(os.path.join(frames, "LampRoom.jpg"), quality=90)

    for item in ("Rope", "Hook", "Grapple", "Key"):
        d = DataFile()
        d.write(item + ".gif", 0)
        d.save(os.path.join(areas, item + ".obj"))
    combo = DataFile()
    combo.write(1, 1, 1, "Grapple")
    combo.write(0, 0, 0, True, script(COMBINE_SCRIPT))
    combo.save(os.path.join(areas, "Rope_on_Hook.drg"))
    combo.save(os.path.join(areas, "Hook_on_Rope.drg"))

    def frame(name, frame_data, hotspots=(), actions=(), uses=(), places=(), texts_=()):
        frame_data.save(os.path.join(frames, name + ".fme"))
        lks = DataFile()
        lks.write(len(hotspots))
        lks.save(os.path.join(frames, name + ".lks"))
        if hotspots:
            hotspot_file(hotspots).save(os.path.join(data, name + ".fm2"))
            action_file(actions).save(os.path.join(data, name + ".fm3"))
        if uses:
            item_use_file(uses).save(os.path.join(data, name + ".fm0"))
        if places:
            item_place_file(places).save(os.path.join(data, name + ".fm4"))
        if texts_:
            text_file(texts_).save(os.path.join(data, name + ".fm1"))

    add_sounds(areas, frames)
    events_file(os.path.join(out, "walkthrough.events"))
    harbour_water(frames)
    lamp_room_saved_game(out)
    flying_gull(os.path.join(areas, "Flying_Gull.gif"))

    frame("Harbour", frame_file(1, "HARBOUR.JPG", music="Sea.wav", script=script(HARBOUR_SCRIPT)),
          hotspots=[
              Hotspot("Crate", (60, 316, 60, 44), "Crate.gif", 0, "Hand.cur"),
              Hotspot("Sign", (248, 266, 56, 70), pointer="Eye.cur"),
              Hotspot("Telescope", (500, 120, 130, 110), pointer="Eye.cur"),
              Hotspot("To the cliff", (560, 380, 80, 100), pointer="ArrowRight.cur"),
              Hotspot("Gull", (40, 62, 32, 20), "Gull.gif", 0, "Hand.cur"),
          ],
          actions=[
              Action(disappear=True, message="An old rope lies in the crate. You take it."),
              Action(message="Sign: 'Lighthouse - follow the cliff path. Keeper, mind the ledge!'"),
              Action(goto="Telescope", transition=(1, 1000)),  # a cross-fade
              Action(goto="Cliff Path"),
              Action(disappear=True, variable="GullGone", set_to=1, procedure="ScareGull"),
          ],
          places=[(1, "Rope")],
          texts_=[("The harbour at dusk", 16, 12, "Times New Roman", 18, True, 0x203050),
                  ("Visit", 16, 44, "Arial", 11, False, 0x203050)])

    frame("Telescope", frame_file(1, "telescope.jpg", timer=(4, "[Last Visited Frame]")),
          hotspots=[Hotspot("Gull", (200, 90, 32, 20), "Flying_Gull.gif", 0, animated=True)],
          actions=[Action(message="A gull wheels over the lighthouse.")],
          texts_=[("Through the telescope...", 230, 440, "Arial", 12, False, 0xFFFFFF)])

    frame("Cliff Path", frame_file(1, "grass.bmp", tiled=True, music="Sea.wav"),
          hotspots=[
              Hotspot("Hook", (300, 220, 32, 32), "Hook.gif", 0, "Hand.cur"),
              Hotspot("Ledge", (40, 360, 200, 80), pointer="Eye.cur", must_false=("KeyFound",)),
              Hotspot("Back", (0, 0, 80, 480), pointer="ArrowLeft.cur"),
              Hotspot("Up to the lighthouse", (560, 0, 80, 480), pointer="ArrowRight.cur"),
          ],
          actions=[
              Action(disappear=True, pick_up="Hook"),
              Action(message="Far below, something glints on a ledge. Too far to reach by hand."),
              Action(previous=True, transition=(2, 700)),  # Slide Left: back along the path
              Action(goto="Lighthouse Door"),
          ],
          uses=[(2, "Grapple", Action(disappear=True, set_true=("KeyFound",), pick_up="Key",
                                      message="You fish the keeper's key off the ledge!"))],
          texts_=[("The cliff path", 250, 12, "Arial", 16, True, 0xFFFFFF)])

    frame("Lighthouse Door", frame_file(1, "lighthouse.JPG", channels=[TUNE_FADES_IN],
                                        fade_ms=2500),
          hotspots=[
              Hotspot("Locked door", (258, 190, 124, 280), pointer="Hand.cur",
                      must_false=("DoorUnlocked",)),
              Hotspot("Open door", (258, 250, 124, 220), "OpenDoor.bmp", 1, "ArrowUp.cur",
                      must_true=("DoorUnlocked",)),
              Hotspot("Back", (0, 400, 640, 80), pointer="ArrowDown.cur"),
          ],
          actions=[
              Action(message="The door is locked."),
              Action(goto="Lamp Room"),
              Action(previous=True),
          ],
          uses=[(1, "Key", Action(disappear=True, variable="DoorUnlocked", set_to=1,
                                  message="The key turns. The door swings open."))],
          texts_=[("The lighthouse", 24, 16, "Times New Roman", 20, True, 0xD0F0FF)])

    frame("Lamp Room", frame_file(1, "LampRoom.jpg", sound="Bell.wav", channels=[TUNE_FADES_OUT],
                                  fade_ms=1500),
          hotspots=[
              Hotspot("Lamp", (270, 150, 100, 120), pointer="Hand.cur"),
              Hotspot("Stairs", (0, 420, 640, 60), pointer="ArrowDown.cur"),
          ],
          actions=[
              Action(variable="LampLit", set_to=1, in_game=False,
                     message="The lamp blazes out over the sea. Ships will find the harbour tonight.\r\n\r\nThank you for playing!",
                     end_game=False, goto="The End"),
              Action(previous=True),
          ],
          texts_=[("The lamp room", 20, 20, "Arial", 16, True, 0x80E0FF),
                  ("Click the lamp.", 270, 280, "Arial", 12, False, 0xC0C0C0)])

    lamp_beam_video(os.path.join(frames, "Beam.avi"))
    frame("The End", frame_file(0, "0", video=Video("beam.AVI", cut_scene=True,
                                                   rect=(200, 60, 240, 180))),
          hotspots=[Hotspot("Quit", (0, 0, 640, 480))],
          actions=[Action(end_game=True)],
          texts_=[("The End", 250, 200, "Times New Roman", 32, True, 0x80E0FF),
                  ("Click to leave.", 270, 260, "Arial", 12, False, 0xFFFFFF)])


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    build(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "examples", "demo"))
