#!/usr/bin/env python3
"""Draws the installer's pictures and icon into res/art/.

ImageMagick rasterises the lettering and the logo into coverage masks; this
script lays them out on whole pixels and writes the files itself. Each
picture is drawn at 100 %, 150 % and 200 % (for 96, 144 and 192 dpi), from
the same layout with every length scaled, so that none is a blurred
enlargement. The 100 % pictures are bottom-up DIBs with a 40-byte header,
8-bit with a palette of just their colours (24-bit for one of more than 256
colours), which the dialog template and LoadBitmap take as they are. The
larger ones, most of the bytes and needed only at a higher dpi, are PNGs
(files ending _150.png and _200.png), indexed where the colours allow, so
that both hold exactly the pixels drawn. The icon holds two 8-bit images.
The output is committed; run this again only after changing the art:
  python3 res/art/draw_art.py
Needs: imagemagick, fonts-dejavu-core, fonts-urw-base35.
"""
import os
import struct
import subprocess
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SANS_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
LOGO_BOLD = "/usr/share/fonts/opentype/urw-base35/NimbusSans-Bold.otf"

WHITE = (255, 255, 255)
ORANGE = (218, 121, 38)      # the maker's colour: banner and focus frame
INK = (0, 35, 103)           # lettering, the same dark blue as the dialog's text
BLUE = (47, 111, 192)
DARK = (44, 48, 56)
GREY = (160, 160, 164)
LINE = (171, 168, 153)       # separator above the button row
PIXELS_PER_METRE = 2834      # 72 dpi, what paint programs write
SCALES = (100, 150, 200)     # per cent of the 96-dpi size


def scaled(length, scale):
    """A length of the 96-dpi layout at scale per cent, to whole pixels."""
    return int(length * scale / 100 + 0.5)


def thickness(pixels, scale):
    """Lines grow by whole pixels only, never to a blurred half."""
    return max(1, pixels * scale // 100)


class Canvas:
    def __init__(self, width, height, colour):
        self.width, self.height = width, height
        self.pixels = [list(colour) for _ in range(width * height)]

    def put(self, x, y, colour, coverage=1.0):
        if 0 <= x < self.width and 0 <= y < self.height and coverage > 0:
            p = self.pixels[y * self.width + x]
            for i in range(3):
                p[i] = round(p[i] + (colour[i] - p[i]) * min(coverage, 1.0))

    def fill(self, x0, y0, x1, y1, colour):
        """Fills the pixels from (x0, y0) up to but not including (x1, y1)."""
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, colour)

    def frame(self, width, height, colour, thickness):
        """A frame of whole pixels with its corner pixels cut off, which reads
        as a slightly rounded edge at 96 dpi without any blur."""
        for t in range(thickness):
            x0, y0, x1, y1 = t, t, width - 1 - t, height - 1 - t
            for x in range(x0, x1 + 1):
                for y in (y0, y1):
                    if t == 0 and x in (x0, x1):
                        continue
                    self.put(x, y, colour)
            for y in range(y0 + 1, y1):
                self.put(x0, y, colour)
                self.put(x1, y, colour)

    def blend_mask(self, mask, x0, y0, colour):
        width, height, data = mask
        for y in range(height):
            for x in range(width):
                self.put(x0 + x, y0 + y, colour, data[y * width + x] / 255)

    def rows_bottom_up(self):
        stride = (self.width * 3 + 3) & ~3
        out = bytearray()
        for y in reversed(range(self.height)):
            row = bytearray()
            for x in range(self.width):
                r, g, b = self.pixels[y * self.width + x]
                row += bytes((b, g, r))
            out += row + bytes(stride - len(row))
        return bytes(out)


def magick_mask(args):
    """Runs ImageMagick and returns its picture as (width, height, coverage)."""
    pam = subprocess.run(["convert", *args, "-colorspace", "gray", "-depth", "8", "pam:-"],
                         check=True, capture_output=True).stdout
    header, _, data = pam.partition(b"ENDHDR\n")
    fields = dict(line.split(b" ", 1) for line in header.splitlines()[1:] if b" " in line)
    width, height, depth = (int(fields[k]) for k in (b"WIDTH", b"HEIGHT", b"DEPTH"))
    return width, height, data[::depth][: width * height]


def trim(mask):
    """Cuts a mask down to its inked pixels."""
    width, height, data = mask
    rows = [y for y in range(height) if any(data[y * width:(y + 1) * width])]
    cols = [x for x in range(width) if any(data[y * width + x] for y in range(height))]
    x0, x1, y0, y1 = cols[0], cols[-1] + 1, rows[0], rows[-1] + 1
    cut = bytes(data[y * width + x] for y in range(y0, y1) for x in range(x0, x1))
    return x1 - x0, y1 - y0, cut


def lettering(text, font, points):
    # Text is rasterised at 72 dpi so that a point is a pixel.
    return trim(magick_mask(["-background", "black", "-fill", "white", "-font", font,
                             "-pointsize", str(points), "-density", "72", "label:" + text]))


def centred(outer, inner):
    return (outer - inner) // 2


def palette_of(canvas):
    """The picture's colours in a fixed order, or None for more than 256."""
    colours = sorted({tuple(p) for p in canvas.pixels})
    return colours if len(colours) <= 256 else None


def write_bmp(name, canvas, pixels_per_metre=PIXELS_PER_METRE):
    colours = palette_of(canvas)
    if colours is None:
        bits, palette, image = 24, b"", canvas.rows_bottom_up()
    else:
        index = {c: i for i, c in enumerate(colours)}
        stride = (canvas.width + 3) & ~3
        image = bytearray()
        for y in reversed(range(canvas.height)):
            row = bytes(index[tuple(p)] for p in canvas.pixels[y * canvas.width:(y + 1) * canvas.width])
            image += row + bytes(stride - len(row))
        bits, palette = 8, b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, bits, 0, len(image),
                       pixels_per_metre, pixels_per_metre, len(colours or ()), 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(header + info + palette + bytes(image))


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def write_png(name, canvas):
    """An 8-bit indexed PNG, or 24-bit RGB for more than 256 colours; no
    gamma or colour chunk, so that a decoder hands back the pixels as drawn."""
    colours = palette_of(canvas)
    index = {c: i for i, c in enumerate(colours or ())}
    rows = bytearray()
    for y in range(canvas.height):
        line = canvas.pixels[y * canvas.width:(y + 1) * canvas.width]
        rows.append(0)  # unfiltered: rows of indices deflate best as they are
        if colours is None:
            rows += b"".join(bytes(p) for p in line)
        else:
            rows += bytes(index[tuple(p)] for p in line)
    kind = 2 if colours is None else 3  # RGB, or palette
    header = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, kind, 0, 0, 0)
    png = b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header)
    if colours is not None:
        png += png_chunk(b"PLTE", b"".join(bytes(c) for c in colours))
    png += png_chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + png_chunk(b"IEND", b"")
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(png)


def write_picture(stem, canvas, scale, pixels_per_metre=PIXELS_PER_METRE):
    if scale == 100:
        write_bmp(stem + ".bmp", canvas, pixels_per_metre)
    else:
        write_png("%s_%d.png" % (stem, scale), canvas)


# The four looks of a picture button: frame colour and thickness, lettering
# colour, and how far a press moves the face's content.
LOOKS = {
    "U": dict(frame=BLUE, thickness=1, ink=INK, shift=0),
    "D": dict(frame=DARK, thickness=2, ink=INK, shift=1),
    "F": dict(frame=ORANGE, thickness=2, ink=INK, shift=0),
    "X": dict(frame=BLUE, thickness=1, ink=GREY, shift=0),
}


def button(width, height, drawn_width, look, content, scale):
    """A white face of drawn_width framed by the look, on a picture of width
    (wider pictures keep their extra column white: it is never shown)."""
    canvas = Canvas(width, height, WHITE)
    canvas.frame(drawn_width, height, look["frame"], thickness(look["thickness"], scale))
    content(canvas, drawn_width, look, scale)
    return canvas


def word(text, points, underline_first=False):
    def draw(canvas, width, look, scale):
        mask = lettering(text, SANS_BOLD, points * scale / 100)
        w, h, _ = mask
        shift = scaled(look["shift"], scale)
        gap = scaled(2, scale)
        line = thickness(1, scale)
        x = centred(width, w) + shift
        y = centred(canvas.height, h + (gap + line if underline_first else 0)) + shift
        canvas.blend_mask(mask, x, y, look["ink"])
        if underline_first:
            # The underlined C marks the button's keyboard letter.
            first = lettering(text[0], SANS_BOLD, points * scale / 100)
            canvas.fill(x, y + h + gap, x + first[0], y + h + gap + line, look["ink"])
    return draw


def three_dots(canvas, width, look, scale):
    dot, step = scaled(2, scale), scaled(4, scale)
    x = centred(width, 2 * step + dot) + scaled(look["shift"], scale)
    y = centred(canvas.height, dot) + scaled(look["shift"], scale) + scaled(1, scale)
    for i in range(3):
        canvas.fill(x + step * i, y, x + step * i + dot, y + dot, look["ink"])


def logo_mask(size, ring):
    """The maker's mark: a ring around a K of three strokes, as coverage.
    Without a ring the K fills the whole square (for the smallest icon)."""
    c, r = size / 2, size / 2 - (ring or 0) / 2 - 1
    # The K is drawn on a 64-unit grid; without the ring, only the grid's
    # middle 40 units fill the square.
    s = size / 64 if ring else size / 40
    o = 0 if ring else -12
    def pt(x, y):
        return "%.2f,%.2f" % ((x + o) * s, (y + o) * s)
    draw = ["-fill", "none", "-stroke", "white", "-strokewidth", str(ring),
            "-draw", "circle %.2f,%.2f %.2f,%.2f" % (c, c, c + r, c)] if ring else []
    draw += [
        "-stroke", "none", "-fill", "white",
        "-draw", "polygon " + " ".join(pt(*p) for p in [(21, 17), (28, 17), (28, 47), (21, 47)]),
        "-draw", "polygon " + " ".join(pt(*p) for p in [(28, 33), (38, 17), (46, 17), (33, 36)]),
        "-draw", "polygon " + " ".join(pt(*p) for p in [(31, 32), (36, 29), (47, 47), (39, 47)]),
    ]
    return magick_mask(["-size", "%dx%d" % (size, size), "xc:black", *draw])


# The banner fills its place in the dialog, 111 by 193 dialog units. A unit
# is a quarter of the font's average width and an eighth of its line height,
# and Tahoma 8's line grows a little less than the dpi: 13, 19 and 25 pixels
# at 96, 144 and 192 dpi. So the banner is as tall as that place, not the
# scaled 96-dpi height, or it would run past the separator below it.
BANNER_HEIGHTS = {100: 314, 150: 458, 200: 603}


def banner(scale):
    def s(length):
        return scaled(length, scale)
    width, height = s(166), BANNER_HEIGHTS[scale]
    canvas = Canvas(width, height, ORANGE)
    top, mark_size = s(64), s(72)
    mark = logo_mask(mark_size, s(5))
    canvas.blend_mask(mark, centred(width, mark_size), top, WHITE)
    name = lettering("Kelvane", LOGO_BOLD, 30 * scale / 100)
    name_top = top + mark_size + s(18)
    canvas.blend_mask(name, centred(width, name[0]), name_top, WHITE)
    # A thin rule under the name, and a slightly deeper orange foot where the
    # panel meets the button row.
    rule, rule_width = name_top + name[1] + s(12), s(56)
    canvas.fill(centred(width, rule_width), rule, centred(width, rule_width) + rule_width,
                rule + thickness(1, scale), WHITE)
    canvas.fill(0, height - s(14), width, height, (205, 110, 30))
    return canvas


def write_icon(name, sizes):
    """An icon file of 8-bit images (palette, colour image, AND mask)."""
    images = []
    for size in sizes:
        canvas = Canvas(size, size, ORANGE)
        rounded = magick_mask(["-size", "%dx%d" % (size, size), "xc:black", "-fill", "white",
                               "-draw", "roundrectangle 0,0 %d,%d %d,%d" % (size - 1, size - 1,
                                                                          size // 6, size // 6)])
        # At 16 pixels a ring would leave the K unreadable: the K alone.
        mark = logo_mask(size - 4, 3) if size > 16 else logo_mask(size, None)
        offset = 2 if size > 16 else 0
        canvas.blend_mask(mark, offset, offset, WHITE)
        opaque = [v >= 128 for v in rounded[2]]
        # Entry 0 is black: where the AND mask makes a pixel transparent, its
        # colour is XORed onto the screen and must be 0.
        colours = [(0, 0, 0)] + sorted({tuple(p) for p in canvas.pixels} - {(0, 0, 0)})
        assert len(colours) <= 256, "icon needs a smaller palette"
        index = {c: i for i, c in enumerate(colours)}
        palette = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
        palette += bytes(4 * (256 - len(colours)))
        colour_rows, mask_rows = bytearray(), bytearray()
        mask_stride = ((size + 31) // 32) * 4
        for y in reversed(range(size)):
            bits = 0
            row = bytearray()
            for x in range(size):
                i = y * size + x
                row.append(index[tuple(canvas.pixels[i])] if opaque[i] else 0)
                bits = (bits << 1) | (0 if opaque[i] else 1)
            colour_rows += row + bytes((-len(row)) % 4)
            mask_rows += bits.to_bytes(size // 8, "big").ljust(mask_stride, b"\0")
        info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0,
                           len(colour_rows) + len(mask_rows), 0, 0, 0, 0)
        images.append((size, info + palette + bytes(colour_rows) + bytes(mask_rows)))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, data in images:
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(data), offset + len(body))
        body += data
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(directory + body)


def main():
    # name: picture size, width of the drawn face, content, looks (the
    # pressed and focused CLOSE pictures are a column wider than their face)
    buttons = {
        "continue": ((72, 22), 72, word("Install", 11), "UDFX"),
        "finished": ((72, 22), 72, word("Finished", 11), "UDFX"),
        "configure": ((22, 20), 22, three_dots, "UDFX"),
        "closeu": ((100, 35), 100, word("CLOSE", 15, underline_first=True), "U"),
        "close": ((101, 35), 100, word("CLOSE", 15, underline_first=True), "DF"),
    }
    for scale in SCALES:
        write_picture("side_banner", banner(scale), scale)
        line = Canvas(scaled(494, scale), thickness(1, scale), LINE)
        write_picture("separator", line, scale, pixels_per_metre=0)
        for name, ((width, height), drawn, content, looks) in buttons.items():
            face = scaled(drawn, scale)
            size = (face + width - drawn, scaled(height, scale))
            for letter in looks:
                picture = button(*size, face, LOOKS[letter], content, scale)
                stem = "close" if name == "closeu" else name
                write_picture("%s_%s" % (stem, letter.lower()), picture, scale)
    write_icon("installer.ico", (32, 16))


if __name__ == "__main__":
    main()
