#!/usr/bin/python3
"""Gives a Windows Installer package a reproducible identity: the times in
its summary information from SOURCE_DATE_EPOCH, and a package code made from
a hash of the package itself. The same inputs then give the same bytes, and
any change of the inputs a new package code, as the service expects of a
changed package.

Usage: package_identity.py <package.msi> <epoch seconds>
"""
import hashlib
import struct
import sys
import uuid

import olefile

SUMMARY = '\x05SummaryInformation'
PID_REVNUMBER, PID_CREATE_DTM, PID_LASTSAVE_DTM = 9, 12, 13
VT_LPSTR, VT_FILETIME = 30, 64
# Seconds from 1601-01-01, where FILETIME counts from, to 1970-01-01.
FILETIME_EPOCH_OFFSET = 11644473600


def value_offsets(stream):
    """{property id: (offset of its value, its type)} of the first section."""
    section = struct.unpack_from('<I', stream, 44)[0]
    count = struct.unpack_from('<I', stream, section + 4)[0]
    offsets = {}
    for i in range(count):
        pid, offset = struct.unpack_from('<II', stream, section + 8 + 8 * i)
        vtype = struct.unpack_from('<I', stream, section + offset)[0]
        offsets[pid] = (section + offset + 4, vtype)
    return offsets


def put_code(stream, offsets, code):
    start, vtype = offsets[PID_REVNUMBER]
    size = struct.unpack_from('<I', stream, start)[0]
    if vtype != VT_LPSTR or size < len(code):
        sys.exit('package_identity: the package code is not a text of 38 characters')
    stream[start + 4:start + 4 + len(code)] = code.encode('ascii')


def main(path, epoch):
    filetime = (epoch + FILETIME_EPOCH_OFFSET) * 10_000_000
    with olefile.OleFileIO(path, write_mode=True) as ole:
        stream = bytearray(ole.openstream(SUMMARY).read())
        offsets = value_offsets(stream)
        for pid in (PID_CREATE_DTM, PID_LASTSAVE_DTM):
            if pid in offsets:
                start, vtype = offsets[pid]
                if vtype != VT_FILETIME:
                    sys.exit(f'package_identity: summary property {pid} is not a time')
                struct.pack_into('<Q', stream, start, filetime)
        put_code(stream, offsets, '{%s}' % uuid.UUID(int=0))
        ole.write_stream(SUMMARY, bytes(stream))
    with open(path, 'rb') as f:
        digest = hashlib.sha256(f.read()).digest()
    code = '{%s}' % str(uuid.UUID(bytes=digest[:16], version=5)).upper()
    with olefile.OleFileIO(path, write_mode=True) as ole:
        put_code(stream, offsets, code)
        ole.write_stream(SUMMARY, bytes(stream))


if __name__ == '__main__':
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], int(sys.argv[2]))
