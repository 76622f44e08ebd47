#!/usr/bin/env python3
"""Writes the program's two built-in signals, played when the operator's
sound file is missing or cannot be played:

  src/resources/sounds/warning.wav  two short beeps (0.6 s), the 10-second warning
  src/resources/sounds/end.wav      a horn-like tone (1.5 s), the end of the match

16-bit PCM, mono, 44.1 kHz. Every tone fades in and out over a few
milliseconds so that it starts and stops without a click. Each file ends in
a quarter second of silence: when a sound effect finishes, Qt 6.4 drops what
is still queued at the sound server (about 0.15 s), and this way it drops
silence. The output is the same on every run; run it from anywhere:

  python3 tools/make-signals.py
"""

import math
import struct
import wave
from pathlib import Path

RATE = 44100
TAIL = 0.25  # seconds of silence at the end, see above
OUT = Path(__file__).resolve().parent.parent / "src" / "resources" / "sounds"


def silence(seconds):
    return [0.0] * round(seconds * RATE)


def tone(seconds, fundamental, partials, attack, release, level):
    """A tone of `fundamental` Hz with the given (harmonic, weight) partials,
    a raised-cosine attack and release, and its peak scaled to `level`
    (1.0 = full scale)."""
    n = round(seconds * RATE)
    attack_n = round(attack * RATE)
    release_n = round(release * RATE)
    out = []
    for i in range(n):
        t = i / RATE
        value = sum(weight * math.sin(2 * math.pi * fundamental * harmonic * t)
                    for harmonic, weight in partials)
        if i < attack_n:
            value *= 0.5 - 0.5 * math.cos(math.pi * i / attack_n)
        elif i >= n - release_n:
            value *= 0.5 - 0.5 * math.cos(math.pi * (n - 1 - i) / release_n)
        out.append(value)
    peak = max(abs(v) for v in out)
    return [level * v / peak for v in out]


def warning():
    # Two beeps on 880 Hz with a little of the octave to make them bright.
    beep = tone(0.22, 880, [(1, 1.0), (2, 0.25)], attack=0.008, release=0.008, level=0.5)
    return silence(0.01) + beep + silence(0.12) + beep + silence(TAIL)


def end():
    # A horn on B flat (233 Hz): a rich set of harmonics, a soft onset and a
    # long release.
    horn = tone(1.48, 233.08, [(1, 1.0), (2, 0.6), (3, 0.4), (4, 0.25), (5, 0.15)],
                attack=0.04, release=0.35, level=0.6)
    return silence(0.01) + horn + silence(TAIL)


def write(name, samples):
    OUT.mkdir(parents=True, exist_ok=True)
    with wave.open(str(OUT / name), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", round(32767 * s)) for s in samples))


if __name__ == "__main__":
    write("warning.wav", warning())
    write("end.wav", end())
