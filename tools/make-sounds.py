#!/usr/bin/env python3
"""Writes the program's two sounds into assets/: "Ping.wav", a soft two-note
chime played after a keep-alive ping, and "low-memory.wav", a gentle falling
three-note alert for low free memory. 22.05 kHz, 16-bit mono, made from
sine partials with smooth attack and decay so they never click.

    python3 tools/make-sounds.py [assets folder]
"""
import math
import struct
import sys
import wave
from pathlib import Path

RATE = 22050


def note(freq, seconds, volume):
    """One bell-like note: a fundamental with two soft overtones."""
    samples = []
    total = int(RATE * seconds)
    attack = int(RATE * 0.008)
    for i in range(total):
        t = i / RATE
        envelope = min(1.0, i / attack) * math.exp(-4.5 * t / seconds)
        value = (math.sin(2 * math.pi * freq * t)
                 + 0.30 * math.sin(2 * math.pi * 2 * freq * t)
                 + 0.12 * math.sin(2 * math.pi * 3 * freq * t))
        samples.append(volume * envelope * value / 1.42)
    return samples


def mix(parts, seconds):
    """Lays (start, samples) pairs over a silent track `seconds` long."""
    track = [0.0] * int(RATE * seconds)
    for start, samples in parts:
        offset = int(RATE * start)
        for i, value in enumerate(samples):
            if offset + i < len(track):
                track[offset + i] += value
    return track


def write(path, track):
    peak = max(1e-9, max(abs(v) for v in track))
    scale = 0.8 * 32767 / peak
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(v * scale)) for v in track))


def main():
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "assets"
    # E6 then B6: bright and short.
    write(folder / "Ping.wav", mix([(0.0, note(1318.5, 0.18, 0.8)), (0.09, note(1975.5, 0.30, 0.7))], 0.42))
    # A5, F5, D5: a soft falling call to attention.
    write(folder / "low-memory.wav", mix([(0.0, note(880.0, 0.35, 0.8)), (0.22, note(698.5, 0.35, 0.8)),
                                          (0.44, note(587.3, 0.60, 0.9))], 1.1))


if __name__ == "__main__":
    main()
