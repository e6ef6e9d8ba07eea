#!/usr/bin/python3
"""Writes the fixture project of the inventory tests (tests/projects/inventory_game).

Data files are in the editor's format (quoted strings, bare numbers, #TRUE#/#FALSE#, CR LF).
Run with Debian's python3 and python3-pil; the output is committed.

    tests/projects/make_inventory_fixtures.py
"""

import os

from PIL import Image

from make_hotspot_fixtures import SEP, Bare, action, actions, fresh, frame, hotspot, hotspots, write


def general(root, name, initial, width=640, height=480):
    """Project information with the inventory options at their defaults: a sliding bar that
    slides both ways, a button hidden while empty, pop-up on add, no custom graphics."""
    write(os.path.join(root, "Config", "General"),
          [name], [""], [name], [0], [initial], ["1.0"], [width, height],
          ["Fixture Author"], [""], [""], [0], [0, 0, 0], [""], [0, 0, 0],
          [False, False, False], [0, 0], [10, 10],
          [True, True, True, True, True, False], ["DEFAULT", "Default"], [0],
          [0, 0], ["DEFAULT"], [0, 0], [False], [0], [True, False], [0],
          [False], [False], [False])


def icon(path, colour):
    """A 32 x 32 icon of one colour with a dark frame."""
    picture = Image.new("RGBA", (32, 32), (40, 40, 40, 255))
    picture.paste(colour + (255,), (3, 3, 29, 29))
    picture.save(path, sizes=[(32, 32)])


def place(hotspot_number, item=None):
    """An item-place record: field 11 is 1 and field 12 names the item, or 0 and no name."""
    line = ["Place", hotspot_number, 0, 0, 0, 0, 0, 0, 0, 0]
    if item is None:
        return [line, [0], [SEP]]
    return [line, [1, item], [SEP]]


def inventory_game():
    """One room of 640 x 480 whose hotspots give items, a door that takes the key, and the
    combination files of the tests."""
    root = fresh("inventory_game")
    general(root, "FixtureInventory", "Room")
    write(os.path.join(root, "Config", "Variables"), ["Vars"], ["DoorOpen"], ["Tied"])
    frame(root, "Room", "8421504")
    frame(root, "Hall", "65280")
    areas = os.path.join(root, "Areas")
    os.makedirs(areas)
    os.makedirs(os.path.join(root, "Inventory"))
    colours = {"Rope": (200, 160, 60), "Hook": (150, 150, 170), "Key": (230, 200, 40),
               "Grapple": (90, 120, 200), "A": (200, 40, 40), "B": (40, 200, 40),
               "C": (40, 40, 200), "D": (200, 40, 200)}
    for name, colour in colours.items():
        icon(os.path.join(areas, name.lower() + ".ico"), colour)
        write(os.path.join(areas, name + ".obj"), [name.lower() + ".ico"], [0, ""])
    # An item whose icon is no picture, an item whose file is empty.
    with open(os.path.join(areas, "junk.ico"), "wb") as f:
        f.write(b"not an icon at all\r\n")
    write(os.path.join(areas, "Junk.obj"), ["junk.ico"])
    open(os.path.join(areas, "Empty.obj"), "wb").close()
    # Background and button pictures of the bar.
    Image.new("RGB", (640, 20), (90, 60, 30)).save(os.path.join(root, "Inventory", "bar.bmp"))
    Image.new("RGB", (20, 20), (250, 250, 250)).save(
        os.path.join(root, "Inventory", "button.bmp"))

    hotspots(root, "Room", [
        hotspot((100, 100, 40, 40)),     # 1 the rope lies here
        hotspot((200, 100, 40, 40)),     # 2 a place record that gives nothing
        hotspot((300, 100, 40, 40)),     # 3 the hook
        hotspot((400, 200, 100, 200)),   # 4 the door: takes the key
        hotspot((100, 300, 40, 40)),     # 5 the key, picked up by its action
        hotspot((200, 300, 40, 40)),     # 6 the junk item
    ])
    actions(root, "Room", [action(), action(), action(), action(),
                           action(pick_up="Key", disappear=True), action(pick_up="Junk")])
    actions(root, "Room", [
        action(header_key="4_key.drg", variable="DoorOpen", set_to=1, disappear=True),
        action(header_key="4_Rope.drg", variable="Tied", set_to=1),
    ], ext=".fm0")
    write(os.path.join(root, "FramesData", "Room.fm4"),
          *[l for r in [place(1, "Rope"), place(2), place(3, "Hook"), place(3, "Key")] for l in r])
    hotspots(root, "Hall", [hotspot((0, 0, 60, 60))])
    actions(root, "Hall", [action(previous=True)])

    # Combinations: a full record with its procedure, orders of removal, a short record,
    # broken records.
    write(os.path.join(areas, "Rope_on_Hook.drg"), [1, 1, 1, "Grapple"], [0, 0, 0],
          [True, 'Action.GoToFrame |Hall|, 0, 0'])
    write(os.path.join(areas, "B_on_C.drg"), [1, 1, 0, ""], [0, 0, 0], [False, ""])
    write(os.path.join(areas, "C_on_B.drg"), [1, 1, 0, ""])
    write(os.path.join(areas, "A_on_B.drg"), [0, 0, 1, "Key"])
    write(os.path.join(areas, "B_on_B.drg"), [1, 0, 0, ""])
    write(os.path.join(areas, "A_on_D.drg"), [Bare("x1"), 1, 0, ""])
    write(os.path.join(areas, "D_on_A.drg"), [1, Bare("oops"), 0, ""])


if __name__ == "__main__":
    inventory_game()
