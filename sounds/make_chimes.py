#!/usr/bin/env python3
"""Writes the two chimes tanabashigo plays: pinpon.wav and endpinpon.wav.

Each tone is a sine with a few soft overtones, a short raised-cosine attack
(no click) and an exponential decay; tones overlap like struck bells.  The
output is 16-bit PCM, mono, 44.1 kHz, and the same bytes on every run.

Usage: make_chimes.py [output folder]   (default: the folder of this script)
"""

import math
import os
import struct
import sys
import wave

RATE = 44100
PEAK = 0.45          # loudest sample, as a fraction of full scale
ATTACK_S = 0.012     # raised-cosine fade-in of every tone
TAIL_S = 0.03        # raised-cosine fade-out of the whole file
# Overtones (frequency ratio, relative level): a mellow, bell-like timbre.
PARTIALS = ((1.0, 1.0), (2.0, 0.18), (3.0, 0.05))

# (start in s, frequency in Hz, level, decay time constant in s)
PINPON = (            # "pin" then "pon": E6 then C6, ~0.8 s
    (0.00, 1318.51, 1.0, 0.16),
    (0.24, 1046.50, 1.0, 0.20),
)
PINPON_LENGTH_S = 0.80

ENDPINPON = (         # falling G5, E5, C5, ~1.2 s
    (0.00, 783.99, 1.0, 0.16),
    (0.26, 659.26, 1.0, 0.18),
    (0.52, 523.25, 1.0, 0.24),
)
ENDPINPON_LENGTH_S = 1.20


def render(tones, length_s):
    """Returns the samples in [-1, 1] of the tones mixed and normalised to PEAK."""
    count = int(round(length_s * RATE))
    mix = [0.0] * count
    for start_s, freq, level, decay_s in tones:
        first = int(round(start_s * RATE))
        for i in range(first, count):
            t = (i - first) / RATE
            env = level * math.exp(-t / decay_s)
            if t < ATTACK_S:
                env *= 0.5 - 0.5 * math.cos(math.pi * t / ATTACK_S)
            value = 0.0
            for ratio, amp in PARTIALS:
                # Higher partials fade faster, as on a real chime.
                value += amp * math.exp(-t * (ratio - 1.0) / decay_s) * \
                    math.sin(2.0 * math.pi * freq * ratio * t)
            mix[i] += env * value
    tail = int(TAIL_S * RATE)
    for k in range(tail):
        mix[count - 1 - k] *= 0.5 - 0.5 * math.cos(math.pi * k / tail)
    loudest = max(abs(v) for v in mix)
    return [v * PEAK / loudest for v in mix]


def write_wave(path, samples):
    frames = b"".join(struct.pack("<h", int(round(v * 32767))) for v in samples)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    write_wave(os.path.join(folder, "pinpon.wav"), render(PINPON, PINPON_LENGTH_S))
    write_wave(os.path.join(folder, "endpinpon.wav"), render(ENDPINPON, ENDPINPON_LENGTH_S))


if __name__ == "__main__":
    main()
