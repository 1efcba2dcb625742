#!/usr/bin/env python3
"""Writes a bench payload: <bytes> pseudo-random bytes from <seed>, the same
every build, 64 MiB at a time so that 1 GiB is never held whole.
Usage: payload.py <file> <seed> <bytes>"""
import random
import sys

generator, left = random.Random(int(sys.argv[2])), int(sys.argv[3])
with open(sys.argv[1], "wb") as f:
    while left:
        piece = min(left, 64 << 20)
        f.write(generator.randbytes(piece))
        left -= piece
