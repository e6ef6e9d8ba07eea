#!/usr/bin/env python3
"""The demo game's sounds, synthesised from nothing: a seamless sea loop (surf and hiss rising
and falling twice in six seconds), a ship's bell (inharmonic partials dying away) and a short
MIDI tune in 6/8 for flute, nylon guitar and bass, written by a small Standard MIDI File writer.

    python3 demo_sounds.py tune OUT.mid     writes only the tune
"""

import math
import random
import struct
import sys
import wave

RATE = 16000


def save_wav16(path, samples, rate=RATE):
    """Mono 16-bit wave file of floats in [-1, 1]."""
    frames = bytearray()
    for v in samples:
        frames += struct.pack("<h", int(max(-1.0, min(1.0, v)) * 32767))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


def sea_loop(path, seconds=6.0, rate=RATE):
    """Low surf and high hiss from filtered noise under a swell of two waves per loop. The loop is
    made seamless by cross-fading its start with what the generator makes after its end."""
    rng = random.Random(1847)
    n = int(seconds * rate)
    fade = int(0.5 * rate)
    low = high_state = 0.0
    out = []
    for i in range(n + fade):
        t = (i % n) / rate
        white = rng.uniform(-1.0, 1.0)
        low += 0.035 * (white - low)            # the rumble below a few hundred hertz
        high_state += 0.35 * (white - high_state)
        hiss = white - high_state               # what is left above a few kilohertz
        phase = (t / seconds) * 2.0             # two waves per loop
        crest = math.sin(math.pi * (phase % 1.0)) ** 4
        wash = math.sin(math.pi * ((phase + 0.12) % 1.0)) ** 6   # the hiss follows the crest
        out.append(2.2 * low * (0.35 + 0.65 * crest) + 0.22 * hiss * (0.15 + 0.85 * wash))
    loop = out[:n]
    for i in range(fade):
        k = i / fade
        loop[i] = loop[i] * k + out[n + i] * (1.0 - k)
    peak = max(abs(v) for v in loop)
    save_wav16(path, [0.55 * v / peak for v in loop], rate)


def ship_bell(path, seconds=2.5, rate=22050, base=784.0):
    """Struck bell: the hum an octave down, the strike tone, its minor third, fifth, octave and
    the higher inharmonic partials, each dying away at its own rate, and a click of the clapper."""
    partials = [(0.5, 0.45, 1.8), (1.0, 1.0, 1.3), (1.19, 0.55, 0.9), (1.5, 0.35, 0.8),
                (2.0, 0.45, 0.6), (2.52, 0.3, 0.45), (3.01, 0.2, 0.3), (4.07, 0.15, 0.2)]
    rng = random.Random(7)
    n = int(seconds * rate)
    out = []
    for i in range(n):
        t = i / rate
        v = sum(a * math.exp(-t / d) * math.sin(2 * math.pi * base * r * t)
                for r, a, d in partials)
        if i < rate // 200:
            v += rng.uniform(-1, 1) * (1 - i / (rate / 200))
        out.append(v * min(1.0, (n - i) / (0.05 * rate)))
    peak = max(abs(v) for v in out)
    save_wav16(path, [0.8 * v / peak for v in out], rate)


# ---------------------------------------------------------------------------------------------
# A small Standard MIDI File writer


def varlen(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def track(events):
    """events: (tick, bytes) in any order; written sorted, with delta times and an end."""
    data = bytearray()
    now = 0
    for tick, message in sorted(events, key=lambda e: e[0]):
        data += varlen(tick - now) + message
        now = tick
    data += varlen(0) + b"\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(data)) + bytes(data)


def notes(channel, program, sequence, start=0, velocity=80):
    """sequence: (key or None for a rest, ticks). Returns timed events."""
    events = [(start, bytes([0xC0 | channel, program]))]
    tick = start
    for key, length in sequence:
        if key is not None:
            events.append((tick, bytes([0x90 | channel, key, velocity])))
            events.append((tick + length - 10, bytes([0x80 | channel, key, 64])))
        tick += length
    return events


def write_midi(path, division, tempo_us, tracks):
    header = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks) + 1, division)
    conductor = track([(0, b"\xff\x51\x03" + struct.pack(">I", tempo_us)[1:]),
                       (0, b"\xff\x58\x04\x06\x03\x18\x08")])  # 6/8
    with open(path, "wb") as f:
        f.write(header + conductor + b"".join(track(t) for t in tracks))


def lighthouse_tune(path):
    """Eight bars in D minor, 6/8, a dotted crotchet to the second: sixteen seconds."""
    e = 240  # ticks of a quaver at 480 to the crotchet
    melody = [
        (62, 2), (65, 1), (69, 2), (67, 1), (65, 2), (64, 1), (62, 3),
        (69, 2), (72, 1), (74, 2), (72, 1), (69, 3), (67, 3),
        (65, 2), (67, 1), (69, 2), (70, 1), (69, 2), (67, 1), (65, 2), (64, 1),
        (62, 2), (64, 1), (65, 2), (61, 1), (62, 6),
    ]
    chords = [(50, 53, 57), (50, 53, 57), (53, 57, 60), (48, 52, 55),
              (46, 50, 53), (43, 46, 50), (45, 49, 52), (50, 53, 57)]
    arpeggio, bass = [], []
    for root, third, fifth in chords:
        arpeggio += [(k, e) for k in (root, fifth, root + 12, third + 12, root + 12, fifth)]
        bass += [(root - 12, 3 * e), (root - 12, 3 * e)]
    write_midi(path, 480, 666667, [
        notes(0, 73, [(k, n * e) for k, n in melody], velocity=96),   # flute
        notes(1, 24, arpeggio, velocity=58),                         # nylon guitar
        notes(2, 32, bass, velocity=84),                             # acoustic bass
    ])


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "tune":
        lighthouse_tune(sys.argv[2])
    else:
        sys.exit(__doc__)
