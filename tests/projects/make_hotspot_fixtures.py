#!/usr/bin/python3
"""Writes the fixture projects of the hotspot tests (tests/projects/hotspots_*).

Data files are in the editor's format (quoted strings, bare numbers, #TRUE#/#FALSE#, CR LF).
Run with Debian's python3 and python3-pil; the output is committed.

    tests/projects/make_hotspot_fixtures.py
"""

import os
import shutil
import struct

from PIL import Image

import fixture_sounds

HERE = os.path.dirname(os.path.abspath(__file__))
SEP = "----- SEPARATOR -----"


def field(value):
    if isinstance(value, bool):
        return "#TRUE#" if value else "#FALSE#"
    if isinstance(value, (int, float)):
        return str(value)
    if isinstance(value, Bare):
        return value.text
    return '"' + value + '"'


class Bare:
    """A field written without quotes, as it stands (for broken data)."""

    def __init__(self, text):
        self.text = text


def write(path, *lines):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    text = "\r\n".join(",".join(field(v) for v in line) for line in lines) + "\r\n"
    with open(path, "wb") as f:
        f.write(text.encode("cp1252"))


def general(root, name, initial, width=320, height=240):
    write(os.path.join(root, "Config", "General"),
          [name], [""], [name], [0], [initial], ["1.0"], [width, height],
          ["Fixture Author"], [""], [""], [0], [0, 0, 0], [""], [0, 0, 0],
          [False, False, False], [0, 0], [10, 10],
          [True, True, True, True, True, False], ["DEFAULT", "DEFAULT"], [0],
          [0, 0], ["DEFAULT"], [0, 0], [False], [0], [True, False], [0],
          [False], [False], [False])


def frame(root, name, colour="0"):
    write(os.path.join(root, "Frames", name + ".fme"),
          [0, colour, False], [False, ""], [False, "0", ""], ["", 0],
          [False, False, ""], [0, 0, 0], [False, False, 0, 0, 0, 0], [True],
          [False, 0], [0], [False, ""], [0, 0, 0, 0, 0, 0],
          ["0", 0], [5, 0], [False])


def hotspot(rect, picture="", stretch=1, pointer="", must_true=(), must_false=(), conditions=None,
            merge=0, speed=None, left=None, animated=False):
    l, t, w, h = (v * 15 for v in rect)
    if left is not None:
        l = left
    if conditions is None:
        conditions = 1 if (must_true or must_false) else 0
    lines = [["Hotspot", merge, 0, 0, 0, 0, 0, 0, 0, 0], [l, t, w, h],
             [int(animated), bool(picture), picture, stretch, pointer], [conditions],
             [len(must_true), *must_true], [len(must_false), *must_false]]
    if speed is not None:
        lines.append([speed])
    lines.append([SEP])
    return lines


def hotspots(root, name, records):
    write(os.path.join(root, "FramesData", name + ".fm2"), *[l for r in records for l in r])


def action(variable="", set_to=None, message="", in_game=False, disappear=False, end_game=False,
           goto="", previous=False, set_true=(), toggle=(), one_shot="", hotspot_sound="",
           restart=0, stop_all=0, loop=True, pick_up="", short=False, a1=None, channels=(),
           per_line=5, header_key=None, video=None):
    header = ["Action", header_key or 0, 0, 0, 0, 0, 0, 0, 0, 0]
    a1 = a1 if a1 is not None else (1 if variable else 0)
    lines = [header,
             [a1, variable, 1 if set_to == 0 else 0, 1 if set_to == 1 else 0,
              1 if set_to == -1 else 0],
             [1 if message else 0, message, 0, ""],
             [1 if disappear else 0, 1 if end_game else 0],
             [1 if goto else 0, goto]]
    if not short:
        # video: (file, own size, in the cut-scene area, left, top, width, height)
        v = video or ("", False, False, 0, 0, 0, 0)
        lines += [[restart, stop_all, 1 if video else 0, *v],
                  [0, 1 if hotspot_sound else 0, hotspot_sound, 1 if one_shot else 0, one_shot],
                  [0, 0, 0, 1 if previous else 0],
                  [0, 0, 0, in_game],
                  [0, 0, 0, 1 if (set_true or toggle) else 0],
                  [0], [len(set_true), *set_true], [len(toggle), *toggle],
                  [loop], [0, 0.0], [False, ""], [1],
                  [0, 0, 0, 0, 0, 0], ["500", 0, per_line, len(channels)]]
        lines += [list(c) for c in channels]
        lines += [[bool(pick_up), pick_up]]
    lines.append([SEP])
    return lines


def actions(root, name, records, ext=".fm3"):
    write(os.path.join(root, "FramesData", name + ext), *[l for r in records for l in r])


def fresh(name):
    root = os.path.join(HERE, name)
    shutil.rmtree(root, ignore_errors=True)
    os.makedirs(root)
    return root


def cursor(path, hot_x, hot_y):
    """A 32 x 32 monochrome cursor file with its hot spot."""
    size = 32
    and_mask = bytes([0x00] * (size * size // 8))
    xor_mask = bytes([0xFF if (y // 4) % 2 else 0x00 for y in range(size) for _ in range(4)])
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<II", 0, 0xFFFFFF)
    image = header + palette + xor_mask + and_mask
    entry = struct.pack("<BBBBHHII", size, size, 2, 0, hot_x, hot_y, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 2, 1) + entry + image)


def hotspots_game():
    """Two rooms: a disappearing crate, a door that needs a variable, a lever, an ending."""
    root = fresh("hotspots_game")
    general(root, "FixtureHotspots", "Room")
    write(os.path.join(root, "Config", "Variables"), ["Vars"], ["Key"], ["Lamp"], ["Lamp"],
          ["***"], ["Note"])
    frame(root, "Room", "255")
    frame(root, "Hall", "65280")
    os.makedirs(os.path.join(root, "Areas"))
    os.makedirs(os.path.join(root, "Icons"))
    Image.new("RGB", (20, 10), (200, 100, 0)).save(os.path.join(root, "Areas", "crate.bmp"))
    sprite = Image.new("P", (12, 8), 1)
    sprite.putpalette([255, 0, 255, 0, 0, 255] + [0] * 762)
    sprite.putpixel((0, 0), 0)
    sprite.save(os.path.join(root, "Areas", "sprite.gif"), transparency=0)
    with open(os.path.join(root, "Areas", "notapicture.gif"), "wb") as f:
        f.write(b"this is plain text, not a picture\r\n")
    cursor(os.path.join(root, "Icons", "hand.cur"), 5, 7)
    fixture_sounds.tone_wav(os.path.join(root, "Frames", "ding.wav"), 0.25)
    for name in ("loop.wav", "chan.wav", "other.wav"):
        fixture_sounds.tone_wav(os.path.join(root, "Areas", name), 0.5)
    hotspots(root, "Room", [
        hotspot((10, 10, 40, 30), picture="crate.bmp", pointer="hand.cur"),         # 1
        hotspot((100, 10, 60, 100), must_true=["Key"]),                             # 2
        hotspot((10, 100, 50, 50), pointer="Default"),                              # 3
        hotspot((200, 200, 4, 4), picture="notapicture.gif"),                       # 4
        hotspot((250, 10, 40, 40), must_true=["Nobody"], must_false=["Lamp"]),      # 5
        hotspot((250, 100, 40, 40), must_true=["Lamp"], conditions=0),              # 6
        hotspot((250, 180, 40, 40)),                                                # 7
    ])
    actions(root, "Room", [
        action(disappear=True, variable="Lamp", set_to=-1, message="The crate is gone."),
        action(goto="Hall"),
        action(variable="Key", set_to=1, one_shot="ding.wav", hotspot_sound="loop.wav",
               channels=[(1, False, True, 5, "music.mid"), (3, False, False, 2, "")], per_line=5),
        action(),
        action(toggle=["Lamp", ""]),
        action(),
        action(end_game=True, variable="Key", set_to=0, message="never shown"),
    ])
    write(os.path.join(root, "FramesData", "Room.fm5"),
          ["Ch", 1, 0, 0, 0, 0, 0, 0, 0, 0], [0] * 22, [0, False, True, "other.wav", 1], [SEP],
          ["Ch", 3, 0, 0, 0, 0, 0, 0, 0, 0], [0] * 22, [0, False, True, "chan.wav", 1], [SEP])
    hotspots(root, "Hall", [
        hotspot((0, 0, 60, 60)),                                                    # 1
        hotspot((100, 100, 30, 30), picture="sprite.gif", stretch=0),               # 2
    ])
    actions(root, "Hall", [action(previous=True), action()])
    # Videos and the channel lines' edge cases, on a frame of their own.
    frame(root, "Studio")
    open(os.path.join(root, "Frames", "clip.avi"), "wb").close()
    hotspots(root, "Studio", [hotspot((0, 0, 20, 20)) for _ in range(6)])
    actions(root, "Studio", [
        action(video=("clip.avi", False, False, 10, 20, 100, 50)),
        action(video=("clip.avi", True, False, 10, 20, 100, 50)),
        action(video=("clip.avi", False, True, 5, 6, 70, 40)),
        action(channels=[(2, True, True), (1, False, False)], per_line=3, pick_up="Rope"),
        action(channels=[(1, True, True, 4, "x.wav", 9)], per_line=6, pick_up="Rope"),
        action(channels=[(i, False, False, i, "c%d.wav" % i) for i in range(1, 10)],
               pick_up="Hook"),
    ])
    # Hotspot 7 of Room ends the game; an item-use record for hotspot 1 of Hall.
    actions(root, "Hall", [action(header_key="1_Lamp.drg", disappear=True, variable="Key",
                                  set_to=1)], ext=".fm0")


def hotspots_broken():
    """Broken data: short records, bad fields, missing files, junk in the variables list."""
    root = fresh("hotspots_broken")
    general(root, "FixtureBroken", "Short")
    with open(os.path.join(root, "Config", "Variables"), "wb") as f:
        f.write(b'\x00\xff junk,"Flag",,#TRUE#,42\r\n"un"terminated')
    for name in ("Short", "Bad", "NoActions", "Merged"):
        frame(root, name)
    hotspots(root, "Short", [hotspot((0, 0, 50, 50)), hotspot((60, 0, 50, 50))])
    actions(root, "Short", [action(goto="Bad", variable="Flag", set_to=1, short=True)])
    bad = hotspot((0, 0, 50, 50))
    bad[1][0] = Bare("abc")  # left is not a number
    hotspots(root, "Bad", [bad, hotspot((60, 0, 50, 50)), hotspot((120, 0, 50, 50))])
    actions(root, "Bad", [action(), action(a1=Bare("xyz")), action(goto="NoActions")])
    hotspots(root, "NoActions", [hotspot((0, 0, 50, 50))])
    # The merged files win over the plain ones.
    hotspots(root, "Merged", [hotspot((0, 0, 50, 50), merge=1), hotspot((60, 0, 50, 50))])
    write(os.path.join(root, "FramesData", "Merged.mr2"),
          *[l for r in [hotspot((0, 0, 50, 50), merge=1), hotspot((60, 0, 50, 50)),
                        hotspot((120, 0, 50, 50), merge=1, speed="")] for l in r])
    actions(root, "Merged", [action(), action(), action(goto="Short")], ext=".mr3")
    actions(root, "Merged", [action(goto="Bad"), action(goto="Bad"), action(goto="Bad")])


def hotspots_bench():
    """A frame of 300 hotspots, half with pictures and conditions, and 300 action records."""
    root = fresh("hotspots_bench")
    general(root, "FixtureHotspotsBench", "Many", 800, 600)
    write(os.path.join(root, "Config", "Variables"), ["Vars"], *[["V%d" % i] for i in range(20)])
    frame(root, "Many")
    os.makedirs(os.path.join(root, "Areas"))
    for i in range(10):
        Image.new("RGB", (32, 32), (i * 20, 80, 160)).save(
            os.path.join(root, "Areas", "p%d.bmp" % i))
    records = []
    for n in range(300):
        rect = ((n % 20) * 40, (n // 20) * 40, 38, 38)
        if n % 2:
            records.append(hotspot(rect, picture="p%d.bmp" % (n % 10), stretch=n % 4 == 1,
                                   must_true=["V%d" % (n % 20)], must_false=["V1"]))
        else:
            records.append(hotspot(rect))
    hotspots(root, "Many", records)
    actions(root, "Many", [action(variable="V%d" % (n % 20), set_to=-1, toggle=["V3", "V4"])
                           for n in range(300)])


if __name__ == "__main__":
    hotspots_game()
    hotspots_broken()
    hotspots_bench()
