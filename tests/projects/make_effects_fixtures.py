#!/usr/bin/python3
"""Writes the fixture project of the visual-effects tests and benchmarks (tests/projects/effects_game).

Data files are in the editor's format (quoted strings, bare numbers, #TRUE#/#FALSE#, CR LF);
the helpers come from make_hotspot_fixtures.py and make_text_fixtures.py. Run with Debian's
python3 and python3-pil; the output is committed.

    tests/projects/make_effects_fixtures.py
"""

import os

from PIL import Image, ImageDraw

from make_hotspot_fixtures import action, actions, fresh, general, hotspot, hotspots, write
from make_text_fixtures import colour_frame, text_box, text_boxes

RED = 0x000000FF  # red in the low byte
BLUE = 0x00FF0000


def frame(root, name, kind, source, timer=False, delay="0", target="", transition=False,
          duration=0, number=0):
    """A frame file with a background and, optionally, a timer that changes frame."""
    write(os.path.join(root, "Frames", name + ".fme"),
          [kind, source, False], [False, ""], [timer, delay, target], ["", 0],
          [False, False, ""], [0, 0, 0], [False, False, 0, 0, 0, 0], [True],
          [transition, duration], [number], [False, ""], [0, 0, 0, 0, 0, 0],
          ["0", 0], [5, 0], [False])
    write(os.path.join(root, "Frames", name + ".lks"), [0])


def stripes(path, size, colours):
    """Vertical stripes 8 pixels wide: every column tells where it came from."""
    img = Image.new("RGB", size)
    d = ImageDraw.Draw(img)
    for x in range(0, size[0], 8):
        d.rectangle((x, 0, x + 7, size[1] - 1), fill=colours[(x // 8) % len(colours)])
    img.save(path)


def harbour(path):
    """Sky, a quay and water with horizontal bands, so ripples show as bent lines."""
    img = Image.new("RGB", (320, 240), (150, 190, 230))
    d = ImageDraw.Draw(img)
    d.rectangle((0, 100, 319, 119), fill=(120, 110, 100))
    for y in range(120, 240):
        shade = 60 + ((y // 6) % 2) * 60
        d.line((0, y, 319, y), fill=(20, shade, 140 + (y - 120) // 2))
    d.rectangle((40, 60, 90, 99), fill=(200, 60, 40))  # a shed on the quay
    img.save(path)


def animated_gif(path, colours, durations, loop=None):
    """A GIF of several 24 x 16 images (a bar moving down by 3 pixels an image) on a transparent
    background; `loop` None writes no looping extension."""
    images = []
    for k, colour in enumerate(colours):
        img = Image.new("P", (24, 16), 0)
        img.putpalette([255, 0, 255] + list(colour) + [0] * 762)
        ImageDraw.Draw(img).rectangle((2, 2 + 3 * k, 21, 6 + 3 * k), fill=1)
        images.append(img)
    extra = {} if loop is None else {"loop": loop}
    images[0].save(path, save_all=True, append_images=images[1:], duration=durations,
                   transparency=0, disposal=2, **extra)


def gulls(root):
    """A frame with an animated hotspot that leads to the red frame, GIFs that play once, twice
    and without end, and one cut short after its header."""
    areas = os.path.join(root, "Areas")
    animated_gif(os.path.join(areas, "Gull.gif"),
                 [(250, 250, 250), (200, 200, 200), (150, 150, 150)], [100, 200, 300], loop=0)
    animated_gif(os.path.join(areas, "Once.gif"), [(10, 10, 10), (20, 20, 20)], [50, 50])
    animated_gif(os.path.join(areas, "Twice.gif"), [(10, 10, 10), (20, 20, 20)], [50, 50], loop=1)
    with open(os.path.join(areas, "Broken.gif"), "wb") as f:
        f.write(b"GIF89a\x18\x00")
    frame(root, "Gulls", 0, str(BLUE))
    hotspots(root, "Gulls", [hotspot((100, 80, 40, 30), picture="Gull.gif", animated=True)])
    actions(root, "Gulls", [action(goto="Red")])
    write(os.path.join(root, "Frames", "Gulls.lks"), [1])


def effects_game():
    root = fresh("effects_game")
    general(root, "FixtureEffects", "Dock")
    write(os.path.join(root, "Config", "Variables"), ["Variables"])
    os.makedirs(os.path.join(root, "Areas"))
    os.makedirs(os.path.join(root, "Frames"))
    stripes(os.path.join(root, "Frames", "dock.bmp"), (320, 240),
            [(200, 180, 120), (90, 70, 50), (30, 120, 200)])
    harbour(os.path.join(root, "Frames", "harbour.bmp"))
    Image.new("RGB", (36, 26), (0, 200, 0)).save(os.path.join(root, "Areas", "crate.bmp"))
    Image.new("RGB", (20, 20), (255, 0, 255)).save(os.path.join(root, "Areas", "hidden.bmp"))

    # Dock: a picture, two text boxes (one under the crate), a crate, a hidden hotspot.
    frame(root, "Dock", 1, "dock.bmp")
    text_boxes(root, "Dock", [text_box("Quay", 150, 150, size=14),
                              text_box("Under" + "\r\n" + "the" + "\r\n" + "crate", 60 * 15,
                                       40 * 15, size=10)])
    hotspots(root, "Dock", [hotspot((58, 38, 40, 30), picture="crate.bmp"),
                            hotspot((200, 150, 24, 24), picture="hidden.bmp"),
                            hotspot((0, 200, 30, 30))])
    actions(root, "Dock", [action(), action(), action(goto="Timed")])
    write(os.path.join(root, "Frames", "Dock.lks"), [3])

    # Harbour: rippling water over the lower half, except where the boat's mask is white.
    frame(root, "Harbour", 1, "harbour.bmp")
    write(os.path.join(root, "Frames", "Harbour.rwe"),
          [0, 0, 0, 0, 0, 0], [0, 120, 320, 120], [6, 5])
    mask = Image.new("RGB", (320, 120), (0, 0, 0))
    ImageDraw.Draw(mask).rectangle((200, 0, 279, 59), fill=(255, 255, 255))
    mask.save(os.path.join(root, "Frames", "Harbour.rwm"), format="BMP")
    # The same water with its waves running backwards (the optional last field).
    frame(root, "Backwards", 1, "harbour.bmp")
    write(os.path.join(root, "Frames", "Backwards.rwe"),
          [0, 0, 0, 0, 0, 0], [0, 120, 320, 120], [6, 5], [True])
    mask.save(os.path.join(root, "Frames", "Backwards.rwm"), format="BMP")
    # Settings without a mask: no water.
    frame(root, "Pond", 1, "harbour.bmp")
    write(os.path.join(root, "Frames", "Pond.rwe"),
          [0, 0, 0, 0, 0, 0], [0, 120, 320, 120], [6, 5])

    colour_frame(root, "Red", str(RED))
    write(os.path.join(root, "Frames", "Red.lks"), [0])
    colour_frame(root, "Blue", str(BLUE))
    write(os.path.join(root, "Frames", "Blue.lks"), [0])
    # A frame whose timer changes to Blue with a half-second cross-fade after 200 ms.
    frame(root, "Timed", 0, str(RED), timer=True, delay="0.2", target="Blue", transition=True,
          duration=500, number=1)
    frame(root, "TimedSlide", 0, str(RED), timer=True, delay="0.2", target="Blue",
          transition=True, duration=400, number=2)
    gulls(root)


if __name__ == "__main__":
    effects_game()
