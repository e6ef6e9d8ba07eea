#!/usr/bin/python3
"""Writes the fixture project of the script tests (tests/projects/scripts_game).

Data files are in the editor's format (quoted strings, bare numbers, #TRUE#/#FALSE#, CR LF), with
every double quote of script text stored as "|". Run with Debian's python3 and python3-pil; the
output is committed.

    tests/projects/make_script_fixtures.py
"""

import os

from PIL import Image

from make_fixtures import frame, general
from make_hotspot_fixtures import action, actions, cursor, fresh, hotspot, hotspots, write

PROCEDURES = [
    "' Procedures of the script fixture",
    "' (three header lines)",
    "'",
    "Dim Loaded: Loaded = Loaded + 1",
    "Function Twice(n)",
    "  Twice = n * 2",
    "End Function",
    "Sub HotspotProc",
    "  Counter = Counter + 1",
    "  Note = \"hotspot \" & Action.GetHotspotNumber & \" at \" & Action.GetClickPositionX & \",\" & Action.GetClickPositionY",
    "End Sub",
    "Sub TimerObject0",
    "  Counter = Counter + 10",
    "End Sub",
]


def script(text):
    return text.replace('"', "|")


def scripts_game():
    """A hall with hotspots whose procedures ask for frames and quitting, a cellar and an attic,
    procedures, a document, a program, a picture, a cursor and an INI file for the script API."""
    root = fresh("scripts_game")
    general(root, "FixtureScripts", "Fixture Scripts", "Hall", 320, 240, menus_always=True,
            skip_title=True)
    write(os.path.join(root, "Config", "Variables"), ["Vars"], ["Flag"], ["Counter"], ["***"],
          ["Visits"], ["Note"])
    with open(os.path.join(root, "Config", "More"), "wb") as f:
        f.write(b"[General]\r\nScriptTimeOut=0\r\n")
    with open(os.path.join(root, "Config", "Procedures"), "wb") as f:
        f.write(("\r\n".join(PROCEDURES) + "\r\n").encode("cp1252"))
    frame(root, "Hall", 0, "255", script="Visits = Visits + 1")
    frame(root, "Cellar", 0, "65280")
    frame(root, "Attic", 0, "16711680")
    hotspots(root, "Hall", [hotspot((10 + 50 * i, 10, 40, 40)) for i in range(5)])
    actions(root, "Hall", [
        action(procedure="HotspotProc"),
        action(procedure=script('Action.GoToFrame "Cellar", 0, 1')),
        action(procedure=script('Action.GoToFrame "Cellar", 0, 1: Action.Quit')),
        action(procedure=script('Action.GoToFrame "LAST Visited Frame", 0, 1')),
        action(procedure=script('Action.GoToFrame "Attic", 1.5, 7')),
    ])
    hotspots(root, "Cellar", [hotspot((10, 10, 40, 40))])
    actions(root, "Cellar", [action(procedure=script('Action.GoToFrame "last visited frame"'))])
    os.makedirs(os.path.join(root, "Areas"))
    os.makedirs(os.path.join(root, "Icons"))
    os.makedirs(os.path.join(root, "Docs"))
    os.makedirs(os.path.join(root, "Tools"))
    Image.new("RGB", (8, 6), (10, 200, 30)).save(os.path.join(root, "Areas", "Gull.bmp"))
    cursor(os.path.join(root, "Icons", "Eye.cur"), 3, 4)
    with open(os.path.join(root, "Docs", "Readme.txt"), "wb") as f:
        f.write(b"Read me.\r\n")
    with open(os.path.join(root, "Tools", "Setup.sh"), "wb") as f:
        f.write(b"#!/bin/sh\nexit 0\n")
    os.chmod(os.path.join(root, "Tools", "Setup.sh"), 0o755)
    for item in ("Shell", "Pearl"):
        write(os.path.join(root, "Areas", item + ".obj"), ["Gull.bmp", 0])
    with open(os.path.join(root, "Game.ini"), "wb") as f:
        f.write(b"[Scores]\r\nBest=42\r\nLong=" + b"x" * 300 + b"\r\n")


if __name__ == "__main__":
    scripts_game()
