#!/usr/bin/python3
"""Writes the fixture projects of the video tests (tests/projects/video_*).

Data files are written as the hotspot fixtures' are (make_hotspot_fixtures.py); the videos are
run-length-encoded AVI files from tools/demo/rle_avi.py. Run with Debian's python3 and
python3-pil; the output is committed.

    tests/projects/make_video_fixtures.py
"""

import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "demo"))
from rle_avi import write_rle_avi  # noqa: E402
from make_hotspot_fixtures import action, actions, general, hotspot, hotspots, write  # noqa: E402


def frame(root, name, colour="0", video="", own_size=False, cut_scene=False,
          rect=(0, 0, 0, 0), before=False, hotspot_count=0):
    write(os.path.join(root, "Frames", name + ".fme"),
          [0, colour, False], [False, ""], [False, "0", ""], [video, 0],
          [False, False, ""], [0, 0, 0], [own_size, cut_scene, *rect], [True],
          [False, 0], [0], [False, ""], [0, 0, 0, 0, 0, 0],
          ["0", 0], [5, 0], [before])
    write(os.path.join(root, "Frames", name + ".lks"), [hotspot_count])


def clip(path, frames=12, width=32, height=24, fps=10):
    """Picture k is plain colour k of the palette: the colour tells the picture shown."""
    palette = [(k * 20, 0, 255 - k * 20) for k in range(frames)]
    pictures = [[[k] * width for _ in range(height)] for k in range(frames)]
    write_rle_avi(path, width, height, fps, palette, pictures)


def video_game():
    root = os.path.join(HERE, "video_game")
    shutil.rmtree(root, ignore_errors=True)
    general(root, "FixtureVideo", "Start")
    write(os.path.join(root, "Config", "Variables"), ["Variables"])
    clip(os.path.join(root, "Frames", "clip.avi"))
    with open(os.path.join(root, "Frames", "broken.avi"), "wb") as f:
        f.write(b"RIFF\x10\x00\x00\x00AVI this is not a video")
    everywhere = [hotspot((0, 0, 320, 240))]
    # A late video at its natural size; a click anywhere goes on to the next frame.
    frame(root, "Start", "0", "clip.avi", own_size=True, rect=(5, 6, 7, 8), hotspot_count=1)
    hotspots(root, "Start", everywhere)
    actions(root, "Start", [action(goto="Stretch")])
    frame(root, "Stretch", "0", "CLIP.AVI", rect=(40, 30, 160, 120), hotspot_count=1)
    hotspots(root, "Stretch", everywhere)
    actions(root, "Stretch", [action(goto="Cut")])
    frame(root, "Cut", "0", "clip.avi", cut_scene=True, rect=(100, 80, 64, 48), hotspot_count=1)
    hotspots(root, "Cut", everywhere)
    actions(root, "Cut", [action(goto="Early")])
    frame(root, "Early", "255", "clip.avi", own_size=True, before=True, hotspot_count=1)
    hotspots(root, "Early", everywhere)
    actions(root, "Early", [action(goto="Actions")])
    # Videos of actions: at natural size, stretched, in the cut-scene area, one that does not
    # decode, and a frame change after a video.
    frame(root, "Actions", "0", hotspot_count=5)
    hotspots(root, "Actions", [hotspot(r) for r in ((0, 0, 100, 100), (100, 0, 100, 100),
                                                    (200, 0, 100, 100), (0, 100, 100, 100),
                                                    (100, 100, 100, 100))])
    actions(root, "Actions", [
        action(video=("clip.avi", True, False, 0, 0, 0, 0)),
        action(video=("clip.avi", False, False, 10, 20, 64, 48)),
        action(video=("clip.avi", False, True, 200, 100, 96, 72)),
        action(video=("broken.avi", True, False, 0, 0, 0, 0)),
        action(video=("clip.avi", True, False, 0, 0, 0, 0), goto="Start"),
    ])


def video_desktop():
    """For the desktop test: a green frame whose early video, 3 s of magenta, covers it."""
    root = os.path.join(HERE, "video_desktop")
    shutil.rmtree(root, ignore_errors=True)
    general(root, "FixtureVideoDesktop", "Intro")
    write(os.path.join(root, "Config", "Variables"), ["Variables"])
    write_rle_avi(os.path.join(root, "Frames", "magenta.avi"), 16, 12, 10, [(255, 0, 255)],
                  [[[0] * 16 for _ in range(12)] for _ in range(30)])
    frame(root, "Intro", str(0x00FF00), "magenta.avi", rect=(0, 0, 320, 240), before=True)


if __name__ == "__main__":
    video_game()
    video_desktop()
