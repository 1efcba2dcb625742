"""Writes the small solid-colour pictures the framework test dialog uses:
each look at 100 %, and at 150 % (names ending 150), none at 200 %."""
import struct
import sys

SIZES = {"": (8, 6), "150": (12, 9)}
COLOURS = {"PICU": (255, 0, 0), "PICD": (0, 255, 0), "PICF": (0, 0, 255), "PICX": (128, 128, 128)}


def bitmap(rgb, width, height):
    row = bytes((rgb[2], rgb[1], rgb[0])) * width
    row += b"\0" * ((4 - len(row) % 4) % 4)
    pixels = row * height
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2834, 2834, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    return file_header + header + pixels


for suffix, (width, height) in SIZES.items():
    for name, rgb in COLOURS.items():
        with open(f"{sys.argv[1]}/{name.lower()}{suffix}.bmp", "wb") as out:
            out.write(bitmap(rgb, width, height))
