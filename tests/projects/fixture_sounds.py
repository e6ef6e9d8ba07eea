"""Small real sound files for the fixture projects: a quiet tone as 8-bit wave and a MIDI tune
of plain quarter notes, so that sounds last a known time on the player's clock."""

import math
import struct
import wave


def tone_wav(path, seconds, rate=8000, hz=440):
    """An 8-bit mono wave file of a quiet tone lasting exactly `seconds`."""
    n = int(round(seconds * rate))
    frames = bytes(int(128 + 40 * math.sin(2 * math.pi * hz * i / rate)) for i in range(n))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(rate)
        w.writeframes(frames)


def midi_tune(path, quarters):
    """A one-track MIDI file of `quarters` quarter notes at 120 beats a minute (0.5 s each)."""
    track = b"\x00\xff\x51\x03\x07\xa1\x20"  # tempo: 500000 microseconds a quarter
    for i in range(quarters):
        key = 60 + (i * 4) % 12
        track += b"\x00" + bytes([0x90, key, 96]) + b"\x83\x60" + bytes([0x80, key, 64])
    track += b"\x00\xff\x2f\x00"
    with open(path, "wb") as f:
        f.write(b"MThd" + struct.pack(">IHHH", 6, 0, 1, 480))
        f.write(b"MTrk" + struct.pack(">I", len(track)) + track)
