#!/usr/bin/env python3
"""Static check of the built installer executable: its image, every resource
it carries, the two dialog templates, the version block, the manifest, the
embedded package and the signature.

Usage: check_executable.py EXE IDENTITY_HEADER PACKAGE CA_FILE
"""
import os
import struct
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET
import zlib

import pefile

from header_defines import read_defines

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "cmake"))
import attach_package
import release_check

EXE, IDENTITY_HEADER, PACKAGE, CA_FILE = sys.argv[1:5]
IDENTITY = read_defines(IDENTITY_HEADER)
PE = pefile.PE(EXE)
ENGLISH_US = 0x0409

RT_BITMAP, RT_ICON, RT_DIALOG, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 2, 3, 5, 14, 16, 24
BUTTONS = {"CONTINUE": "UDFX", "CONFIGURE": "UDFX", "FINISHED": "UDFX", "CLOSE": "UDF"}
# Every picture at 100 %, 150 % and 200 %: the name's suffix, the ids of the
# banner and the separator, and the resource type. The larger ones are PNGs
# of the same names.
SCALES = {100: ("", 132, 145, RT_BITMAP), 150: ("150", 133, 147, "PNG"),
          200: ("200", 134, 148, "PNG")}


def picture_sizes(scale):
    """{name: (width, height)} of every picture at scale. Each length is
    scaled and rounded, lines grow by whole pixels, and the banner is as
    tall as its place in the dialog."""
    suffix, banner, line, _ = SCALES[scale]
    face = {"CONTINUE": (72, 22), "FINISHED": (72, 22), "CONFIGURE": (22, 20), "CLOSE": (100, 35)}
    sizes = {banner: (int(166 * scale / 100 + 0.5), {100: 314, 150: 458, 200: 603}[scale]),
             line: (int(494 * scale / 100 + 0.5), max(1, scale // 100))}
    for caption, looks in BUTTONS.items():
        width, height = (int(length * scale / 100 + 0.5) for length in face[caption])
        for look in looks:
            # CLOSE's pressed and focused pictures are a column wider.
            extra = 1 if caption == "CLOSE" and look != "U" else 0
            sizes[caption + look + suffix] = (width + extra, height)
    return sizes

# The package is a resource (146), or attached after the image and named
# by its place record (149) when the build found it too large
# (INSTALLER_PACKAGE_FORM, from the build's cache).
PACKAGE_ID = 149 if os.environ.get("INSTALLER_PACKAGE_FORM") == "attached" else 146
EXPECTED_RESOURCES = {
    ("MSI", PACKAGE_ID), ("RTF", 141), (RT_DIALOG, 102), (RT_DIALOG, 103), (RT_GROUP_ICON, 129),
    (RT_ICON, 1), (RT_ICON, 2), (RT_VERSION, 1), (RT_MANIFEST, 1),
} | {(kind, name) for scale, (_, _, _, kind) in SCALES.items() for name in picture_sizes(scale)}

def _key(entry):
    return str(entry.name) if entry.name is not None else entry.id


def resource_table():
    """{(type, name): [(language, data entry)]} for every resource."""
    table = {}
    for kind in PE.DIRECTORY_ENTRY_RESOURCE.entries:
        for name in kind.directory.entries:
            table[(_key(kind), _key(name))] = [(lang.id, lang.data.struct)
                                               for lang in name.directory.entries]
    return table


RESOURCES = resource_table()
CARRIED = attach_package.carried_package(EXE)


def resource(kind, name):
    (_, entry), = RESOURCES[(kind, name)]
    return PE.get_data(entry.OffsetToData, entry.Size)


# -- dialog templates ------------------------------------------------------

class Reader:
    def __init__(self, data):
        self.data, self.pos = data, 0

    def take(self, fmt):
        values = struct.unpack_from("<" + fmt, self.data, self.pos)
        self.pos += struct.calcsize("<" + fmt)
        return values if len(values) > 1 else values[0]

    def text(self):
        end = self.pos
        while self.data[end:end + 2] != b"\0\0":
            end += 2
        value = self.data[self.pos:end].decode("utf-16-le")
        self.pos = end + 2
        return value

    def text_or_ordinal(self):
        first = struct.unpack_from("<H", self.data, self.pos)[0]
        if first == 0xFFFF:
            self.pos += 2
            return self.take("H")
        return self.text()

    def align(self):
        self.pos = (self.pos + 3) & ~3


def decode_dialog(data):
    r = Reader(data)
    version, signature, help_id, ex_style, style, count = r.take("HHIIIH")
    dialog = dict(version=version, signature=signature, help=help_id, ex_style=ex_style,
                  style=style, rect=r.take("hhhh"), menu=r.text_or_ordinal(),
                  window_class=r.text_or_ordinal(), title=r.text())
    dialog["font"] = r.take("HHBB") + (r.text(),)
    controls = []
    for _ in range(count):
        r.align()
        help_id, ex_style, style = r.take("III")
        rect, control_id = r.take("hhhh"), r.take("i")
        controls.append(dict(help=help_id, ex_style=ex_style, style=style, rect=rect,
                             id=control_id, window_class=r.text_or_ordinal(),
                             text=r.text_or_ordinal(), extra=r.take("H")))
        r.pos += controls[-1]["extra"]
    return dialog, controls


BUTTON, EDIT, STATIC = 0x80, 0x81, 0x82
# id, class, text, (x, y, width, height), style; in tab order, which
# follows the screen. Text is a string, or a bitmap's ordinal.
MAIN_DIALOG = [
    (1005, STATIC, 132, (0, 0, 111, 193), 0x5000000E),
    (1014, STATIC, "Testing", (123, 67, 131, 21), 0x50020000),
    (1004, EDIT, "", (121, 91, 154, 14), 0x50810080),
    (1011, "msctls_progress32", "", (121, 92, 156, 12), 0x50800000),
    (1003, BUTTON, "CONFIGURE", (278, 91, 15, 13), 0x50010C0B),
    (1013, STATIC, "", (123, 112, 194, 8), 0x40020080),
    (1016, "SysLink", "<a>Open the installation log</a>", (123, 112, 131, 10), 0x40010000),
    (1001, BUTTON, "", (151, 161, 10, 10), 0x50010003),
    (1007, STATIC, "I Agree to the", (162, 162, 47, 9), 0x50020000),
    (1002, "SysLink", "<a>Terms of Use</a>", (209, 161, 60, 14), 0x50010000),
    (1006, STATIC, 145, (0, 193, 329, 1), 0x5000000E),
    (1000, BUTTON, "CONTINUE", (269, 203, 48, 15), 0x5001008B),
    (1015, BUTTON, "FINISHED", (269, 203, 50, 14), 0x5001000B),
]
TERMS_DIALOG = [
    (1, BUTTON, "CLOSE", (127, 182, 68, 23), 0x5001000B),
    (1010, "RichEdit20W", "", (7, 7, 304, 169), 0x50A10804),
]
DIALOGS = {
    102: dict(title=IDENTITY["PRODUCT_INSTALLER_NAME_TEXT"], size=(330, 230), style=0x90C800CC,
              ex_style=0x00040008, controls=MAIN_DIALOG),
    103: dict(title="EULA", size=(318, 220), style=0x80C800C8, ex_style=0, controls=TERMS_DIALOG),
}


def same_class(actual, expected):
    # Window class names are looked up without regard to case, and windres
    # stores string class names upper-cased.
    if isinstance(expected, str):
        return isinstance(actual, str) and actual.upper() == expected.upper()
    return actual == expected


class DialogTemplates(unittest.TestCase):
    def test_templates_match_their_tables(self):
        for dialog_id, expected in DIALOGS.items():
            dialog, controls = decode_dialog(resource(RT_DIALOG, dialog_id))
            with self.subTest(dialog=dialog_id):
                self.assertEqual((dialog["version"], dialog["signature"]), (1, 0xFFFF))
                self.assertEqual(dialog["title"], expected["title"])
                self.assertEqual(dialog["rect"], (0, 0) + expected["size"])
                self.assertEqual(hex(dialog["style"]), hex(expected["style"]))
                self.assertEqual(hex(dialog["ex_style"]), hex(expected["ex_style"]))
                self.assertEqual((dialog["menu"], dialog["window_class"]), ("", ""))
                self.assertEqual(dialog["font"], (8, 0, 0, 1, "MS Shell Dlg"))
                self.assertEqual([c["id"] for c in controls], [e[0] for e in expected["controls"]],
                                 "controls or their tab order")
            for control, (cid, cls, text, rect, style) in zip(controls, expected["controls"]):
                with self.subTest(dialog=dialog_id, control=cid, text=text):
                    self.assertTrue(same_class(control["window_class"], cls), control["window_class"])
                    self.assertEqual(control["text"], text)
                    self.assertEqual(control["rect"], rect)
                    self.assertEqual(hex(control["style"]), hex(style))
                    self.assertEqual((control["ex_style"], control["help"], control["extra"]),
                                     (0, 0, 0))


# -- resources --------------------------------------------------------------

def bitmap_header(data):
    fields = struct.unpack_from("<IiiHHIIiiII", data)
    keys = ("size", "width", "height", "planes", "bits", "compression", "image_size",
            "x_ppm", "y_ppm", "colours_used", "colours_important")
    return dict(zip(keys, fields))


def bitmap_pixels(data):
    """The rows of an uncompressed 8- or 24-bit bottom-up DIB, top row first,
    as (r, g, b) tuples."""
    header = bitmap_header(data)
    width, height, bits = header["width"], header["height"], header["bits"]
    palette_at = header["size"]
    palette = [tuple(data[palette_at + 4 * i:palette_at + 4 * i + 3][::-1])
               for i in range(header["colours_used"] or (256 if bits == 8 else 0))]
    image_at = palette_at + 4 * len(palette)
    stride = (width * bits // 8 + 3) & ~3
    rows = []
    for y in range(height):
        row = data[image_at + (height - 1 - y) * stride:]
        rows.append([palette[row[x]] if bits == 8 else tuple(row[3 * x:3 * x + 3][::-1])
                     for x in range(width)])
    return rows


def png_chunks(data):
    """[(type, body)] of a PNG, checking its signature and every chunk's CRC."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("no PNG signature")
    chunks, at = [], 8
    while at < len(data):
        length, = struct.unpack_from(">I", data, at)
        kind, body = data[at + 4:at + 8], data[at + 8:at + 8 + length]
        crc, = struct.unpack_from(">I", data, at + 8 + length)
        if len(body) != length or zlib.crc32(kind + body) != crc:
            raise ValueError("chunk %r damaged" % kind)
        chunks.append((kind, body))
        at += 12 + length
    return chunks


def png_pixels(data):
    """(IHDR fields, rows top first as (r, g, b)) of an 8-bit indexed or RGB
    PNG without interlacing, every row filter undone."""
    chunks = png_chunks(data)
    width, height, depth, kind, compression, filtering, interlace = struct.unpack(">IIBBBBB", chunks[0][1])
    header = dict(width=width, height=height, depth=depth, kind=kind,
                  rest=(compression, filtering, interlace), first=chunks[0][0],
                  last=chunks[-1][0], others={k for k, _ in chunks[1:-1]})
    palette = [tuple(body[i:i + 3]) for k, body in chunks if k == b"PLTE" for i in range(0, len(body), 3)]
    raw = zlib.decompress(b"".join(body for k, body in chunks if k == b"IDAT"))
    step = 1 if kind == 3 else 3
    stride = width * step
    if len(raw) != (stride + 1) * height:
        raise ValueError("%d bytes of rows, expected %d" % (len(raw), (stride + 1) * height))
    rows, prior = [], bytearray(stride)
    for y in range(height):
        method, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - step] if i >= step else 0
            b, c = prior[i], prior[i - step] if i >= step else 0
            p = a + b - c
            nearest = a if abs(p - a) <= min(abs(p - b), abs(p - c)) else b if abs(p - b) <= abs(p - c) else c
            line[i] = (line[i] + (0, a, b, (a + b) // 2, nearest)[method]) & 0xFF
        prior = line
        rows.append([palette[v] for v in line] if kind == 3 else
                    [tuple(line[3 * x:3 * x + 3]) for x in range(width)])
    return header, rows


def picture_pixels(scale, name):
    kind = SCALES[scale][3]
    data = resource(kind, name)
    return bitmap_pixels(data) if kind == RT_BITMAP else png_pixels(data)[1]


class Resources(unittest.TestCase):
    def test_exactly_the_expected_resources_each_in_english_us(self):
        self.assertEqual(set(RESOURCES), EXPECTED_RESOURCES)
        for key, languages in RESOURCES.items():
            with self.subTest(resource=key):
                self.assertEqual([lang for lang, _ in languages], [ENGLISH_US])

    def test_custom_types_are_found_by_name_and_id_only(self):
        self.assertEqual(CARRIED[:8], bytes.fromhex("D0CF11E0A1B11AE1"))
        self.assertTrue(resource("RTF", 141).startswith(b"{\\rtf1"))
        self.assertNotIn(("RTF", 146), RESOURCES)
        self.assertNotIn(("MSI", 141), RESOURCES)

    def test_terms_are_plain_seven_bit_rtf(self):
        terms = resource("RTF", 141)
        self.assertTrue(terms.startswith(b"{\\rtf1\\ansi\\ansicpg1252"))
        self.assertTrue(all(b < 0x80 for b in terms), "8-bit byte in the terms")
        for word in (b"\\pict", b"\\field", b"\\object"):
            self.assertNotIn(word, terms)

    def test_100_percent_pictures_are_uncompressed_8_or_24_bit_bottom_up_dibs(self):
        lines = {line for _, _, line, _ in SCALES.values()}
        for name, (width, height) in picture_sizes(100).items():
            data = resource(RT_BITMAP, name)
            header = bitmap_header(data)
            ppm = 0 if name in lines else 2834
            with self.subTest(bitmap=name):
                self.assertIn(header["bits"], (8, 24))
                # An 8-bit one holds a palette of just its colours.
                colours = header["colours_used"]
                self.assertTrue(1 <= colours <= 256 if header["bits"] == 8 else colours == 0, colours)
                self.assertEqual(
                    (header["size"], header["width"], header["height"], header["planes"],
                     header["compression"], header["x_ppm"], header["y_ppm"]),
                    (40, width, height, 1, 0, ppm, ppm))
                stride = (width * header["bits"] // 8 + 3) & ~3
                self.assertEqual(len(data), 40 + 4 * colours + stride * height)

    def test_larger_pictures_are_whole_png_files_of_their_size_and_no_bitmaps(self):
        for scale in (150, 200):
            for name, (width, height) in picture_sizes(scale).items():
                with self.subTest(picture=name):
                    self.assertNotIn((RT_BITMAP, name), RESOURCES)
                    header, rows = png_pixels(resource("PNG", name))
                    self.assertEqual((header["width"], header["height"]), (width, height))
                    # 8-bit palette or RGB, nothing a decoder would change the
                    # colours by (gamma, colour profile) and no transparency.
                    self.assertIn((header["depth"], header["kind"]), ((8, 3), (8, 2)))
                    self.assertEqual(header["rest"], (0, 0, 0))
                    self.assertEqual((header["first"], header["last"]), (b"IHDR", b"IEND"))
                    self.assertLessEqual(header["others"], {b"PLTE", b"IDAT"})
                    self.assertEqual(len(rows), height)

    def test_separators_are_grey_lines(self):
        for scale, (_, _, name, _) in SCALES.items():
            with self.subTest(picture=name):
                self.assertEqual({p for row in picture_pixels(scale, name) for p in row},
                                 {(171, 168, 153)})

    def test_icon_group_holds_32_then_16_pixel_8_bit_images(self):
        group = resource(RT_GROUP_ICON, 129)
        self.assertEqual(struct.unpack_from("<HHH", group), (0, 1, 2))
        self.assertEqual(len(group), 6 + 2 * 14)
        for i, (size, length, icon_id) in enumerate([(32, 2216, 1), (16, 1384, 2)]):
            entry = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
            with self.subTest(icon=icon_id):
                self.assertEqual(entry, (size, size, 0, 0, 1, 8, length, icon_id))
                image = resource(RT_ICON, icon_id)
                header = bitmap_header(image)
                self.assertEqual(len(image), length)
                self.assertEqual((header["size"], header["width"], header["height"],
                                  header["planes"], header["bits"], header["compression"]),
                                 (40, size, 2 * size, 1, 8, 0))


# -- version block, manifest, image ----------------------------------------

def dotted(ms, ls):
    return "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


class VersionBlock(unittest.TestCase):
    def test_fixed_part(self):
        fixed = PE.VS_FIXEDFILEINFO[0]
        version = IDENTITY["PRODUCT_PACKAGE_VERSION_TEXT"]
        self.assertEqual(dotted(fixed.FileVersionMS, fixed.FileVersionLS), version)
        self.assertEqual(dotted(fixed.ProductVersionMS, fixed.ProductVersionLS), version)
        self.assertEqual(
            (fixed.FileFlagsMask, fixed.FileFlags, fixed.FileOS, fixed.FileType,
             fixed.FileSubtype, fixed.FileDateMS, fixed.FileDateLS),
            (0x3F, 0, 0x4, 1, 0, 0, 0))

    def test_string_table_and_translation(self):
        tables = {bytes(fi.Key): fi for fi in PE.FileInfo[0]}
        strings, = tables[b"StringFileInfo"].StringTable
        self.assertEqual(strings.LangID, b"040904e4")
        version = IDENTITY["PRODUCT_PACKAGE_VERSION_TEXT"]
        installer = IDENTITY["PRODUCT_INSTALLER_NAME_TEXT"]
        self.assertEqual(list({k.decode(): v.decode() for k, v in strings.entries.items()}.items()), [
            ("CompanyName", IDENTITY["PRODUCT_COMPANY_NAME_TEXT"]),
            ("FileDescription", installer),
            ("FileVersion", version),
            ("InternalName", IDENTITY["PRODUCT_EXE_FILE_TEXT"]),
            ("OriginalFilename", installer),
            ("ProductName", installer),
            ("ProductVersion", version),
        ])
        translation, = tables[b"VarFileInfo"].Var
        self.assertEqual(translation.entry, {b"Translation": "0x0409 0x04e4"})


ASM_V1, ASM_V3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"


class Manifest(unittest.TestCase):
    def test_manifest(self):
        text = resource(RT_MANIFEST, 1)
        self.assertFalse(text.startswith(b"\xef\xbb\xbf"), "byte-order mark")
        self.assertFalse(text.lstrip().startswith(b"<?xml"), "XML declaration")
        root = ET.fromstring(text.decode("utf-8"))
        self.assertEqual((root.tag, root.get("manifestVersion")), (ASM_V1 + "assembly", "1.0"))
        level = root.find("%strustInfo/%ssecurity/%srequestedPrivileges/%srequestedExecutionLevel"
                          % (ASM_V3, ASM_V3, ASM_V3, ASM_V3))
        self.assertEqual(level.attrib, {"level": "requireAdministrator", "uiAccess": "false"})
        # Per-monitor (v2) dpi awareness, and system awareness before Windows 10.
        settings = root.find("%sapplication/%swindowsSettings" % (ASM_V3, ASM_V3))
        self.assertEqual(
            {child.tag: child.text for child in settings},
            {"{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware": "true/pm",
             "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}dpiAwareness":
                 "PerMonitorV2, PerMonitor"})
        identities = [d.attrib for d in root.iter(ASM_V1 + "assemblyIdentity")]
        # Only the common controls: the build links no shared runtime, and a
        # missing side-by-side assembly would stop the process at load.
        self.assertEqual(identities, [{
            "type": "win32", "name": "Microsoft.Windows.Common-Controls", "version": "6.0.0.0",
            "processorArchitecture": "x86", "publicKeyToken": "6595b64144ccf1df",
            "language": "*"}])


class Image(unittest.TestCase):
    def test_32_bit_gui_image_with_mitigations_and_relocations(self):
        self.assertEqual(os.path.basename(EXE), IDENTITY["PRODUCT_EXE_FILE_TEXT"])
        self.assertEqual(PE.OPTIONAL_HEADER.Magic, 0x10B, "PE32")
        self.assertEqual(PE.FILE_HEADER.Machine, 0x14C, "i386")
        self.assertEqual(PE.OPTIONAL_HEADER.Subsystem, 2, "GUI")
        flags = PE.OPTIONAL_HEADER.DllCharacteristics
        for name, bit in [("DYNAMIC_BASE", 0x40), ("NX_COMPAT", 0x100),
                          ("TERMINAL_SERVER_AWARE", 0x8000)]:
            self.assertTrue(flags & bit, name)
        self.assertFalse(PE.FILE_HEADER.Characteristics & 0x1, "relocations stripped")
        relocations = PE.OPTIONAL_HEADER.DATA_DIRECTORY[5]
        self.assertGreater(relocations.Size, 0)


# -- package and signature ---------------------------------------------------

def osslsigncode_verify(path):
    """Returns whether the signature verifies, and the digests it records
    paired with the ones osslsigncode calculates ({what: (current, calculated)})."""
    with tempfile.TemporaryFile() as out:
        rc = subprocess.run(["osslsigncode", "verify", "-CAfile", CA_FILE, "-in", path],
                            stdout=out, stderr=subprocess.STDOUT).returncode
        out.seek(0)
        lines = out.read().decode(errors="replace").splitlines()
    fields = dict(tuple(part.strip() for part in line.split(":", 1))
                  for line in lines if line.startswith(("Current ", "Calculated ")))
    digests = {label[len("Current "):]: (value, fields.get("Calculated " + label[len("Current "):]))
               for label, value in fields.items() if label.startswith("Current ")}
    return rc == 0 and "Signature verification: ok" in lines, digests


class PackageAndSignature(unittest.TestCase):
    def test_embedded_package_is_the_signed_build_package(self):
        with open(PACKAGE, "rb") as f:
            self.assertEqual(CARRIED, f.read())

    def test_embedded_package_passes_the_release_check(self):
        product = {name: IDENTITY[name + "_TEXT"] for name in release_check.PRODUCT_VALUES}
        with tempfile.NamedTemporaryFile(suffix=".msi") as f:
            f.write(CARRIED)
            f.flush()
            found = release_check.findings(f.name, product)
        self.assertEqual([text for kind, text in found if kind == "error"], [])

    def test_certificate_table_follows_the_image(self):
        security = PE.OPTIONAL_HEADER.DATA_DIRECTORY[4]
        self.assertEqual(security.VirtualAddress + security.Size, os.path.getsize(EXE))
        length, revision, kind = struct.unpack_from("<IHH", PE.__data__, security.VirtualAddress)
        self.assertEqual((length, revision, kind), (security.Size, 0x0200, 2))
        sha256 = bytes.fromhex("0609608648016503040201")
        self.assertIn(sha256, PE.__data__[security.VirtualAddress:])

    def test_the_signature_covers_the_package_and_all_before_its_table(self):
        # osslsigncode hashes the file up to the table, not the sections
        # alone: a bit changed in the package, or past the last section,
        # breaks the signature.
        security = PE.OPTIONAL_HEADER.DATA_DIRECTORY[4]
        image_end = max(s.PointerToRawData + s.SizeOfRawData for s in PE.sections)
        data = PE.__data__
        for what, at in (("the package", data.find(CARRIED) + len(CARRIED) // 2),
                         ("the last byte before the table", security.VirtualAddress - 1)):
            with self.subTest(changed=what), tempfile.TemporaryDirectory() as folder:
                self.assertGreater(at, 0)
                changed = bytearray(data)
                changed[at] ^= 0x40
                path = os.path.join(folder, "changed.exe")
                with open(path, "wb") as f:
                    f.write(changed)
                self.assertFalse(osslsigncode_verify(path)[0])
        self.assertLessEqual(image_end, security.VirtualAddress)

    def test_signatures_verify_with_matching_digests(self):
        for path in (EXE, PACKAGE):
            ok, digests = osslsigncode_verify(path)
            with self.subTest(file=os.path.basename(path)):
                self.assertTrue(ok)
                self.assertTrue(digests)
                for current, calculated in digests.values():
                    self.assertEqual(current, calculated)

if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[5:], verbosity=2)
