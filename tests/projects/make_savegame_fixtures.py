#!/usr/bin/python3
"""Writes the fixture project of the saved-game tests (tests/projects/savegame_game).

Data files are in the editor's format (quoted strings, bare numbers, #TRUE#/#FALSE#, CR LF).
Run with Debian's python3 and python3-pil; the output is committed.

    tests/projects/make_savegame_fixtures.py
"""

import os

from PIL import Image

from make_hotspot_fixtures import action, actions, fresh, hotspot, hotspots, write


def general(root, name, initial, resolution_offer=0, target_resolution=0):
    """A full-screen game of 320 x 240 with its title screen; the inventory pops up on add."""
    write(os.path.join(root, "Config", "General"),
          [name], [""], ["Fixture Saves"], [0], [initial], ["1.0"], [320, 240],
          ["Fixture Author"], [""], [""], [resolution_offer], [0, 0, 0], [""], [0, 0, 0],
          [False, False, False], [0, 0], [10, 10],
          [True, True, True, True, True, False], ["DEFAULT", "DEFAULT"], [target_resolution],
          [0, 0], ["DEFAULT"], [0, 0], [False], [0], [False, False], [0],
          [False], [False], [False])


def frame(root, name, colour, timer=None):
    """timer: (delay seconds, target) or None."""
    delay, target = timer if timer else ("0", "")
    write(os.path.join(root, "Frames", name + ".fme"),
          [0, colour, False], [False, ""], [bool(timer), delay, target], ["", 0],
          [False, False, ""], [0, 0, 0], [False, False, 0, 0, 0, 0], [True],
          [False, 0], [0], [False, ""], [0, 0, 0, 0, 0, 0],
          ["0", 0], [5, 0], [False])


def savegame_game(folder="savegame_game", **offer):
    """Three rooms (the hotspots below the inventory bar, which opens when an item is added):
    the hall gives a key (the lamp turns on and the key's hotspot goes), the
    garden a coin and goes back to the hall by its frame timer after 5 s, the cellar is where a
    game saved there resumes elsewhere (the Resume file)."""
    root = fresh(folder)
    general(root, "FixtureSaves", "Hall", **offer)
    write(os.path.join(root, "Config", "Variables"), ["Vars"], ["Lamp"], ["Door"], ["Flag"],
          ["***"], ["Score"], ["Note"])
    # Pairs for "Cellar" in two letter cases (the later one wins) and one without a target.
    write(os.path.join(root, "Config", "Resume"), ["Resume"], [0], [0], [0], [0], [0],
          ["CELLAR"], ["Hall"], ["Garden"], [""], ["cellar"], ["Garden"])
    frame(root, "Hall", "8421504")
    frame(root, "Garden", "32768", timer=("5", "Hall"))
    frame(root, "Cellar", "4210752")
    areas = os.path.join(root, "Areas")
    os.makedirs(areas)
    for name, colour in (("Key", (230, 200, 40)), ("Coin", (200, 200, 210))):
        Image.new("RGB", (32, 32), colour).save(os.path.join(areas, name.lower() + ".bmp"))
        write(os.path.join(areas, name + ".obj"), [name.lower() + ".bmp"], [0, ""])
    hotspots(root, "Hall", [
        hotspot((20, 100, 40, 40)),    # 1 the key: the lamp goes on, the hotspot goes
        hotspot((260, 100, 40, 40)),   # 2 to the garden
        hotspot((260, 180, 40, 40)),   # 3 to the cellar
    ])
    actions(root, "Hall", [action(variable="Lamp", set_to=1, disappear=True, pick_up="Key"),
                           action(goto="Garden"), action(goto="Cellar")])
    hotspots(root, "Garden", [hotspot((20, 100, 40, 40))])  # 1 the coin
    actions(root, "Garden", [action(variable="Door", set_to=1, disappear=True, pick_up="Coin")])


if __name__ == "__main__":
    savegame_game()
    # The same game offering to switch the display to 800 x 600.
    savegame_game("savegame_offer", resolution_offer=1, target_resolution=1)
