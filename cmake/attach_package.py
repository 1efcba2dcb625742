#!/usr/bin/env python3
"""Attaches a package after the image of an executable that carries the
placeholder of its place (res/package_place.h), and writes the place into
it. The executable must not be signed yet: the signature comes after the
package and covers it.

Usage: attach_package.py EXE PACKAGE

The tests read the package an executable carries, in either form, with
carried_package().
"""
import os
import struct
import sys

MAGIC = b"KelPlace"
VERSION = 1
ALIGNMENT = 8
PLACEHOLDER = MAGIC + struct.pack("<IIQQ", VERSION, 0, 0, 0)
SECURITY_DIRECTORY = 4
LARGEST_FILE = (1 << 32) - (1 << 20)  # the certificate table's offset is 32 bits; room for it


def fail(message):
    sys.exit("attach_package: error: " + message)


def certificate_table(head):
    """(offset, size) of the image's certificate table directory entry."""
    lfanew, = struct.unpack_from("<I", head, 0x3C)
    if head[:2] != b"MZ" or head[lfanew:lfanew + 4] != b"PE\0\0":
        fail("not a PE image")
    optional = lfanew + 24
    magic, = struct.unpack_from("<H", head, optional)
    directories = optional + (96 if magic == 0x10B else 112)
    return directories + 8 * SECURITY_DIRECTORY, struct.unpack_from("<II", head, directories + 8 * SECURITY_DIRECTORY)


def carried_package(exe):
    """The package the executable carries: its resource (type "MSI", id 146)
    or the bytes its place record (id 149) names."""
    import pefile
    pe = pefile.PE(exe, fast_load=True)
    pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    kind, = (k for k in pe.DIRECTORY_ENTRY_RESOURCE.entries if str(k.name) == "MSI")
    found = {n.id: n.directory.entries[0].data.struct for n in kind.directory.entries}
    if 146 in found:
        return pe.get_data(found[146].OffsetToData, found[146].Size)
    record = pe.get_data(found[149].OffsetToData, found[149].Size)
    if len(record) != 32 or record[:8] != MAGIC:
        fail("%s has no package place record" % exe)
    _, _, offset, size = struct.unpack_from("<IIQQ", record, 8)
    with open(exe, "rb") as f:
        f.seek(offset)
        return f.read(size)


def main(exe, package):
    with open(exe, "rb") as f:
        image = f.read()
    _, (table_offset, table_size) = certificate_table(image)
    if table_offset or table_size:
        fail("%s is signed already: attach before signing" % exe)
    at = image.find(PLACEHOLDER)
    if at < 0 or image.find(PLACEHOLDER, at + 1) >= 0:
        fail("%s carries %s placeholder of the package's place, expected one"
             % (exe, "no" if at < 0 else "more than one"))
    size = os.path.getsize(package)
    offset = (len(image) + ALIGNMENT - 1) // ALIGNMENT * ALIGNMENT
    if offset + size > LARGEST_FILE:
        fail("%s and its package would be %d bytes, more than a signed executable can be" % (exe, offset + size))
    with open(exe, "r+b") as f:
        f.seek(at)
        f.write(MAGIC + struct.pack("<IIQQ", VERSION, 0, offset, size))
        f.seek(len(image))
        f.write(b"\0" * (offset - len(image)))
        with open(package, "rb") as source:
            while True:
                piece = source.read(1 << 20)
                if not piece:
                    break
                f.write(piece)
    print("attach_package: %d bytes at %d" % (size, offset))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(*sys.argv[1:])
