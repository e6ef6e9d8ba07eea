#!/usr/bin/python3
"""Writes the fixture projects of the game-window tests (tests/projects/game_*).

Every data file is in the editor's format (quoted strings, bare numbers, #TRUE#/#FALSE#, CR LF).
Run with Debian's python3 and python3-pil; the output is committed.

    tests/projects/make_fixtures.py
"""

import os
import shutil
import sys

from PIL import Image, ImageDraw

import fixture_sounds

HERE = os.path.dirname(os.path.abspath(__file__))


def field(value):
    if isinstance(value, bool):
        return "#TRUE#" if value else "#FALSE#"
    if isinstance(value, (int, float)):
        return str(value)
    return '"' + value + '"'


def write(path, *lines):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    text = "\r\n".join(",".join(field(v) for v in line) for line in lines) + "\r\n"
    with open(path, "wb") as f:
        f.write(text.encode("cp1252"))


def general(root, name, title, initial, width, height, menus_always=False, skip_title=False,
            scheme="", hide_load=False, resolution_offer=0, target_resolution=0, version="1.0",
            author="Fixture Author", email="", homepage=""):
    write(os.path.join(root, "Config", "General"),
          [name], [""], [title], [0], [initial], [version], [width, height],
          [author], [email], [homepage], [resolution_offer], [0, 0, 0], [scheme], [0, 0, 0],
          [hide_load, False, False], [0, 0], [10, 10],
          [True, True, True, True, True, False], ["DEFAULT", "DEFAULT"], [target_resolution],
          [0, 0], ["DEFAULT"], [0, 0], [menus_always], [0], [skip_title, False], [0],
          [False], [False], [False])
    write(os.path.join(root, "Config", "Variables"), ["Variables"])


def frame(root, name, kind=0, source="0", tiled=False, timer=False, delay="0", target="",
          transition=False, duration=0, number=0, script="", music="", sound="", video=""):
    """A complete frame file: background, timer, music, frame sound, video, opening script."""
    write(os.path.join(root, "Frames", name + ".fme"),
          [kind, source, tiled], [False, music], [timer, delay, target], [video, 0],
          [False, False, sound], [0, 0, 0], [False, False, 0, 0, 0, 0], [True],
          [transition, duration], [number], [bool(script), script], [0, 0, 0, 0, 0, 0],
          ["0", 0], [5, 0], [False])
    write(os.path.join(root, "Frames", name + ".lks"), [0])


def fresh(name):
    root = os.path.join(HERE, name)
    shutil.rmtree(root, ignore_errors=True)
    os.makedirs(root)
    return root


def game_frames():
    """Full-screen game with a title screen: frame timers, going back, a chain of 22 frames."""
    root = fresh("game_frames")
    general(root, "FixtureFrames", "Fixture Frames", "Start", 320, 240,
            homepage="https://fixture.example.org/", email="author@fixture.example.org")
    frame(root, "Start", 0, "255", timer=True, delay="1.5", target="Hall")
    frame(root, "Hall", 0, "65280", timer=True, delay="1", target="[LAST Visited frame]")
    for i in range(1, 23):
        nxt = "C%02d" % (i + 1) if i < 22 else ""
        frame(root, "C%02d" % i, 0, str(i * 1000), timer=i < 22, delay="0.1", target=nxt)
    write(os.path.join(root, "Frames", "X.fme"), [0, "0", False])  # too short to open
    write(os.path.join(root, "Config", "More"), ["[General]"])


def game_windowed():
    """Windowed game (menus always shown), title screen skipped, tiled and picture frames."""
    root = fresh("game_windowed")
    general(root, "FixtureWindowed", "Fixture Windowed", "Tiles", 640, 480, menus_always=True,
            skip_title=True)
    frame(root, "Tiles", 1, "tile.bmp", tiled=True, timer=True, delay="2", target="Picture")
    frame(root, "Picture", 1, "picture.jpg")
    Image.new("RGB", (40, 30), (200, 120, 40)).save(os.path.join(root, "Frames", "tile.bmp"))
    img = Image.new("RGB", (640, 480), (20, 60, 120))
    ImageDraw.Draw(img).ellipse((200, 120, 440, 360), fill=(240, 220, 90))
    img.save(os.path.join(root, "Frames", "picture.005"), "JPEG", quality=80)


def game_scheme():
    """Title screen with a scheme, a resolution offer and the Load button hidden."""
    root = fresh("game_scheme")
    general(root, "FixtureScheme", "Fixture Scheme", "Start", 640, 480, scheme="Night",
            hide_load=True, resolution_offer=1, target_resolution=1, version="")
    frame(root, "Start", 0, "0")
    folder = os.path.join(root, "Schemes", "Night")
    write(os.path.join(folder, "Scheme.txt"), ["Night", 1, 0],
          [4, "go.bmp", "[NONE]", "[default]", "[none]"], [3, 1118481, 255, 65535])
    Image.new("RGB", (96, 24), (30, 90, 30)).save(os.path.join(folder, "go.bmp"))


def game_order():
    """Frames whose opening touches every subsystem: music, frame sound, video, script."""
    root = fresh("game_order")
    general(root, "FixtureOrder", "Fixture Order", "One", 320, 240, skip_title=True)
    frame(root, "One", 1, "back.bmp", timer=True, delay="1", target="Two", script="Say |one|",
          music="Theme.mid", sound="Bell.wav", video="Intro.avi")
    frame(root, "Two", 0, "0", music="Theme.mid")
    Image.new("RGB", (320, 240), (10, 20, 30)).save(os.path.join(root, "Frames", "back.bmp"))
    for folder in ("Areas", "Frames"):
        os.makedirs(os.path.join(root, folder), exist_ok=True)
    fixture_sounds.midi_tune(os.path.join(root, "Areas", "Theme.mid"), 20)  # 10 s
    fixture_sounds.tone_wav(os.path.join(root, "Frames", "Bell.wav"), 0.5)
    open(os.path.join(root, "Frames", "Intro.avi"), "wb").close()


def game_no_general():
    """A project folder without its information file."""
    root = fresh("game_no_general")
    frame(root, "Start", 0, "0")


def bench_jpeg():
    """One frame with a 1024x768 JPEG background, for the frame-opening benchmark."""
    root = fresh("bench_jpeg")
    general(root, "BenchJpeg", "Bench", "Big", 1024, 768, menus_always=True, skip_title=True)
    frame(root, "Big", 1, "big.jpg")
    img = Image.new("RGB", (1024, 768))
    draw = ImageDraw.Draw(img)
    for y in range(0, 768, 4):
        draw.rectangle((0, y, 1023, y + 3), fill=(y // 3, 80 + y // 8, 200 - y // 4))
    draw.ellipse((300, 200, 724, 568), fill=(250, 230, 120))
    img.save(os.path.join(root, "Frames", "big.jpg"), "JPEG", quality=85)


if __name__ == "__main__":
    game_frames()
    game_windowed()
    game_scheme()
    game_order()
    game_no_general()
    bench_jpeg()
    sys.exit(0)
