#!/usr/bin/env python3
"""The numpy peer in the benchmark: the same analysis as a wave to spectrum
conversion. Reads one cycle from a 16-bit mono WAV file, takes the magnitudes
of harmonics 1 to H of its real FFT, normalises them to the strongest, sets
those below 0.00001 to 0 and writes them one per line to a new text file.

Usage: numpy_analysis.py INPUT.wav OUTPUT.txt H
"""
import sys
import wave

import numpy as np


def main():
    source, target, harmonics = sys.argv[1], sys.argv[2], int(sys.argv[3])
    with wave.open(source, "rb") as cycle:
        frames = cycle.readframes(cycle.getnframes())
    samples = np.frombuffer(frames, dtype="<i2").astype(np.float64)
    magnitudes = np.abs(np.fft.rfft(samples))[1 : harmonics + 1]
    spectrum = np.zeros(harmonics)
    spectrum[: len(magnitudes)] = magnitudes
    peak = spectrum.max()
    if peak > 0:
        spectrum /= peak
    spectrum[spectrum < 0.00001] = 0.0
    with open(target, "x") as out:
        out.write("\n".join("%g" % value for value in spectrum))


if __name__ == "__main__":
    main()
