#!/usr/bin/env python3
"""Writes the program's two sound effects (8-bit mono WAV, a few KB each).

Run once from the top folder: python3 tools/make_sounds.py
Exhaust.wav: one chuff of the exhaust, a short burst of noise that falls off.
Error.wav:   a short falling two-tone blip for the error indicator.
"""
import math
import random
import wave

RATE = 11025


def write(path, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(RATE)
        w.writeframes(bytes(max(0, min(255, int(round(128 + 127 * s)))) for s in samples))


def exhaust():
    rng = random.Random(1829)
    n = int(RATE * 0.22)
    out, low = [], 0.0
    for i in range(n):
        t = i / n
        # Noise through a one-pole low pass: a soft, breathy chuff.
        low += 0.35 * (rng.uniform(-1, 1) - low)
        attack = min(1.0, i / (RATE * 0.01))
        out.append(0.9 * attack * math.exp(-5.0 * t) * low * 2.0)
    return out


def error():
    out = []
    for freq, dur in ((880, 0.09), (587, 0.13)):
        n = int(RATE * dur)
        for i in range(n):
            env = min(1.0, i / 60, (n - i) / 60)
            out.append(0.5 * env * (1 if math.sin(2 * math.pi * freq * i / RATE) >= 0 else -1))
    return out


write("resources/sounds/Exhaust.wav", exhaust())
write("resources/sounds/Error.wav", error())
