#!/usr/bin/env python3
"""Writes the program's ten sounds into Sounds/: short sine-tone phrases with soft attack and
decay, 22050 Hz, 16-bit mono. Run it again after changing a phrase; the WAV files are kept in
the repository so a build needs no Python."""
import math
import os
import struct
import wave

RATE = 22050

# Each sound: (frequency in Hz, duration in seconds) notes, played one after the other.
PHRASES = {
    "Activate.wav": [(660, 0.07), (880, 0.09)],
    "Deactivate.wav": [(880, 0.07), (660, 0.09)],
    "Click.wav": [(1400, 0.025)],
    # A refusal must be heard on small laptop speakers, which hardly reproduce anything below
    # 300 Hz: a 400 Hz tone with strong odd harmonics.
    "Buzz.wav": [(400, 0.2)],
    "Punch.wav": [(520, 0.05), (390, 0.06)],
    "Connect.wav": [(523, 0.08), (659, 0.08), (784, 0.12)],
    "LongConnect.wav": [(523, 0.1), (659, 0.1), (784, 0.1), (1047, 0.2)],
    "Disconnect.wav": [(784, 0.08), (659, 0.08), (523, 0.12)],
    "PC.wav": [(988, 0.06), (1319, 0.08)],
    "PC_Off.wav": [(1319, 0.06), (988, 0.08)],
}


def note(frequency, seconds, buzz):
    count = int(RATE * seconds)
    ramp = max(1, int(RATE * 0.008))
    samples = []
    for i in range(count):
        t = i / RATE
        if buzz:  # a rough square-ish tone for refusals
            value = 0.6 * math.copysign(1.0, math.sin(2 * math.pi * frequency * t))
            value += 0.3 * math.sin(2 * math.pi * frequency * 3 * t)
            value += 0.15 * math.sin(2 * math.pi * frequency * 5 * t)
        else:
            value = math.sin(2 * math.pi * frequency * t) + 0.25 * math.sin(4 * math.pi * frequency * t)
        envelope = min(1.0, i / ramp, (count - i) / ramp) * math.exp(-2.5 * t / seconds)
        samples.append(int(9000 * value * envelope))
    return samples


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "Sounds")
    os.makedirs(folder, exist_ok=True)
    for name, phrase in PHRASES.items():
        samples = []
        for frequency, seconds in phrase:
            samples += note(frequency, seconds, name == "Buzz.wav")
        with wave.open(os.path.join(folder, name), "wb") as out:
            out.setnchannels(1)
            out.setsampwidth(2)
            out.setframerate(RATE)
            out.writeframes(struct.pack("<%dh" % len(samples), *samples))


if __name__ == "__main__":
    main()
