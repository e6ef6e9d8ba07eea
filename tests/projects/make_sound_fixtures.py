#!/usr/bin/python3
"""Writes the fixture project of the sound tests (tests/projects/sound_game): one frame whose
hotspots play a hotspot sound that does not repeat, fade a MIDI tune in and out on channel 1,
cross-fade channel 1 to a wave loop, change a volume at once and stop every wave sound.

Run with Debian's python3 and python3-pil; the output is committed.

    tests/projects/make_sound_fixtures.py
"""

import os

import fixture_sounds
from make_hotspot_fixtures import action, actions, fresh, general, hotspot, hotspots, write

# Channel lines: mode, fade, loop, volume level, file.
TUNE_FADES_IN = (0, True, True, 10, "tune.mid")
TUNE_FADES_OUT = (3, True, False, 0, "")
CROSS_FADE_TO_SEA = (0, True, True, 10, "sea.wav")
CHANNEL_1_TO_LEVEL_5 = (4, False, False, 5, "")


def sound_game():
    root = fresh("sound_game")
    general(root, "FixtureSound", "Quay", width=400)
    write(os.path.join(root, "Config", "Variables"), ["Vars"], ["***"])
    write(os.path.join(root, "Frames", "Quay.fme"),
          [0, "0", False], [False, ""], [False, "0", ""], ["", 0],
          [False, False, ""], [0, 0, 0], [False, False, 0, 0, 0, 0], [True],
          [False, 0], [0], [False, ""], [0, 0, 0, 0, 0, 0],
          ["0", 0], [5, 0], [False])
    os.makedirs(os.path.join(root, "Areas"))
    fixture_sounds.tone_wav(os.path.join(root, "Areas", "bell.wav"), 0.5)
    fixture_sounds.tone_wav(os.path.join(root, "Areas", "sea.wav"), 1.0, hz=200)
    fixture_sounds.midi_tune(os.path.join(root, "Areas", "tune.mid"), 4)  # 2 s
    hotspots(root, "Quay", [hotspot((60 * n, 0, 50, 50)) for n in range(6)])
    actions(root, "Quay", [
        action(hotspot_sound="bell.wav", loop=False),         # 1: plays while it is not playing
        action(channels=[TUNE_FADES_IN]),                     # 2: fades over 500 ms
        action(channels=[TUNE_FADES_OUT]),                    # 3
        action(channels=[CROSS_FADE_TO_SEA]),                 # 4
        action(channels=[CHANNEL_1_TO_LEVEL_5]),              # 5
        action(stop_all=1),                                   # 6: stops wave sounds
    ])


if __name__ == "__main__":
    sound_game()
