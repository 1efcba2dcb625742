"""Writes the small pictures the framework test dialog uses: each look at
100 % as a bitmap (the pressed one 8-bit, the others 24-bit), and at 150 %
(names ending 150) as PNG (the disabled one RGB, the others indexed), none
at 200 %; and the PNGs only AfxLoadPicture is asked for: one whose corners
tell up from down, a damaged copy of it, and one that is no PNG at all."""
import struct
import sys
import zlib

SIZES = {"": (8, 6), "150": (12, 9)}
COLOURS = {"PICU": (255, 0, 0), "PICD": (0, 255, 0), "PICF": (0, 0, 255), "PICX": (128, 128, 128)}
WHITE, RED, BLUE = (255, 255, 255), (255, 0, 0), (0, 0, 255)


def bitmap(rgb, width, height, bits):
    if bits == 24:
        palette, row = b"", bytes((rgb[2], rgb[1], rgb[0])) * width
    else:
        palette, row = bytes((rgb[2], rgb[1], rgb[0], 0)), bytes(width)
    row += b"\0" * ((4 - len(row) % 4) % 4)
    pixels = row * height
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2834, 2834,
                         len(palette) // 4, 0)
    offset = 14 + len(header) + len(palette)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + header + palette + pixels


def png(rows, indexed):
    """rows: lists of (r, g, b), top row first."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    colours = sorted({c for row in rows for c in row})
    raw = b"".join(b"\0" + b"".join(bytes((colours.index(c),)) if indexed else bytes(c) for c in row)
                   for row in rows)
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 3 if indexed else 2, 0, 0, 0)
    body = chunk(b"IHDR", header)
    if indexed:
        body += chunk(b"PLTE", b"".join(bytes(c) for c in colours))
    body += chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")
    return b"\x89PNG\r\n\x1a\n" + body


def write(name, data):
    with open(f"{sys.argv[1]}/{name}", "wb") as out:
        out.write(data)


for name, rgb in COLOURS.items():
    width, height = SIZES[""]
    write(f"{name.lower()}.bmp", bitmap(rgb, width, height, 8 if name == "PICD" else 24))
    width, height = SIZES["150"]
    write(f"{name.lower()}150.png", png([[rgb] * width] * height, indexed=name != "PICX"))
# Five wide, so that a 24-bit row needs padding; red at the top left, blue
# at the bottom right.
corners = [[WHITE] * 5 for _ in range(3)]
corners[0][0], corners[2][4] = RED, BLUE
corners = png(corners, indexed=True)
write("corners.png", corners)
# Cut inside its pixel data: the header still reads.
write("damaged.png", corners[:-20])
write("notpng.png", b"not a picture at all")
