#!/usr/bin/python3
"""Writes the fixture projects of the text box and message tests and benchmarks
(tests/projects/texts_*).

Data files are in the editor's format (quoted strings, bare numbers, #TRUE#/#FALSE#, CR LF);
the helpers come from make_hotspot_fixtures.py. Run with Debian's python3 and python3-pil; the
output is committed.

    tests/projects/make_text_fixtures.py
"""

import os

from PIL import Image, ImageDraw

from make_hotspot_fixtures import Bare, action, actions, fresh, general, hotspot, hotspots, write

YELLOW = 0x0000FFFF  # red in the low byte
CYAN = 0x00FFFF00
WHITE = 0x00FFFFFF


def text_box(text, left, top, merge=0, bold=False, italic=False, font="", size=12,
             strike=False, underline=False, colour=WHITE):
    """One text box record: 21 fields, positions in twips."""
    return [["TextBox", merge, 0, 0, 0, 0, 0, 0, 0, 0],
            [text, left, top, bold, italic, font, size, strike, underline, colour, 0]]


def text_boxes(root, name, records, ext=".fm1"):
    write(os.path.join(root, "FramesData", name + ext), *[l for r in records for l in r])


def picture_frame(root, name, picture):
    write(os.path.join(root, "Frames", name + ".fme"),
          [1, picture, False], [False, ""], [False, "0", ""], ["", 0],
          [False, False, ""], [0, 0, 0], [False, False, 0, 0, 0, 0], [True],
          [False, 0], [0], [False, ""], [0, 0, 0, 0, 0, 0],
          ["0", 0], [5, 0], [False])


def colour_frame(root, name, colour):
    write(os.path.join(root, "Frames", name + ".fme"),
          [0, colour, False], [False, ""], [False, "0", ""], ["", 0],
          [False, False, ""], [0, 0, 0], [False, False, 0, 0, 0, 0], [True],
          [False, 0], [0], [False, ""], [0, 0, 0, 0, 0, 0],
          ["0", 0], [5, 0], [False])


def scene(path):
    """A busy picture with light and dark parts, for text drawn over it."""
    img = Image.new("RGB", (320, 240))
    px = img.load()
    for y in range(240):
        for x in range(320):
            px[x, y] = (40 + x * 200 // 320, 60 + y * 150 // 240, 120 + (x + y) % 60)
    d = ImageDraw.Draw(img)
    d.rectangle((200, 120, 300, 230), fill=(240, 240, 230))
    d.ellipse((20, 150, 120, 230), fill=(20, 20, 40))
    img.save(path)


def message_action(text, in_game, goto=""):
    """An action that shows `text` (which may be empty) as a message."""
    record = action(message=text or "x", in_game=in_game, goto=goto)
    record[2][1] = text
    return record


def texts_game():
    root = fresh("texts_game")
    general(root, "FixtureTexts", "Hall")
    write(os.path.join(root, "Config", "Variables"), ["Vars"], ["Seen"])
    picture_frame(root, "Hall", "scene.bmp")
    scene(os.path.join(root, "Frames", "scene.bmp"))
    colour_frame(root, "Both", "8421504")
    colour_frame(root, "Empty", "0")
    colour_frame(root, "Broken", "0")

    text_boxes(root, "Hall", [
        text_box("The Hall", 300, 225, bold=True, size=16, colour=YELLOW),            # 1
        text_box("Two lines\r\nof text", 300, 900, italic=True, font="Times New Roman",
                 size=12, colour=CYAN),                                               # 2
        text_box("Merged part", 2400, 225, merge=1, underline=True, size=10),         # 3
        text_box("Struck", 2400, 900, merge=1, strike=True, font="Courier New",
                 size=10, colour=0),                                                  # 4
    ])
    hotspots(root, "Hall", [
        hotspot((10, 150, 60, 40)),     # 1 a 10-character message in the band
        hotspot((80, 150, 60, 40)),     # 2 a message box, then to Empty
        hotspot((150, 150, 40, 40)),    # 3 a two-line message
        hotspot((200, 10, 50, 50)),     # 4 to Both
        hotspot((260, 10, 50, 50)),     # 5 a message of 1000 characters
        hotspot((260, 70, 50, 30)),     # 6 an empty message
        hotspot((150, 200, 40, 30)),    # 7 a one-line message
    ])
    actions(root, "Hall", [
        message_action("Dusty rug.", True),
        message_action("The door is locked.", False, goto="Empty"),
        message_action("First line\r\nSecond line", True),
        action(goto="Both"),
        message_action("z" * 1000, True),
        message_action("", True),
        message_action("One line", True),
    ])

    # The merged file wins; its first record's flag does not count, the third's does.
    text_boxes(root, "Both", [text_box("Plain file", 300, 300)])
    text_boxes(root, "Both", [
        text_box("Merged one", 300, 300, merge=1),
        text_box("Merged two", 300, 900),
        text_box("Merged three", 300, 1500, merge=1),
        text_box("Merged four", 300, 2100, merge=1),
    ], ext=".mr1")
    hotspots(root, "Both", [hotspot((250, 10, 50, 50))])
    actions(root, "Both", [action(goto="Empty")])

    hotspots(root, "Empty", [hotspot((250, 10, 50, 50)), hotspot((250, 70, 50, 50))])
    actions(root, "Empty", [action(goto="Hall"), action(goto="Broken")])

    # Broken records: each is passed over, the next loads.
    bad_left = text_box("Bad left", Bare("abc"), 300)
    bad_size = text_box("Bad size", 300, 600, size=0)
    bad_colour = text_box("Bad colour", 300, 900, colour="red")
    text_boxes(root, "Broken", [
        text_box("Good one", 300, 300),                                               # 1
        bad_left,                                                                     # 2
        text_box("Good three", 300, 1200),                                            # 3
        bad_size,                                                                     # 4
        bad_colour,                                                                   # 5
        text_box("Good six", 300, 1500, merge=1),                                     # 6
    ])
    with open(os.path.join(root, "FramesData", "Broken.fm1"), "ab") as f:
        f.write(b'"Cut short",1,0,0\r\n')                                              # 7
    hotspots(root, "Broken", [hotspot((250, 10, 50, 50))])
    actions(root, "Broken", [action(goto="Hall")])


def texts_bench():
    """A frame of 200 text boxes in four fonts, some of two lines."""
    root = fresh("texts_bench")
    general(root, "FixtureTextsBench", "Many", 800, 600)
    write(os.path.join(root, "Config", "Variables"), ["Vars"], ["X"])
    colour_frame(root, "Many", "0")
    fonts = ["", "Times New Roman", "Courier New", "Arial"]
    records = []
    for n in range(200):
        text = "Text box %d" % n if n % 3 else "Text box %d\r\nsecond line" % n
        records.append(text_box(text, (n % 10) * 1200, (n // 10) * 450, merge=1 if n % 7 == 0 else 0,
                                bold=n % 2 == 1, font=fonts[n % 4], size=8 + n % 9,
                                colour=n * 4099))
    text_boxes(root, "Many", records)


if __name__ == "__main__":
    texts_game()
    texts_bench()
