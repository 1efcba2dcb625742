#!/usr/bin/python3
"""Writes a package as it is when it carries a signature already, its
publisher's, which a second signature would replace; else runs the signing
command that follows, which writes it signed.

Usage: sign_unless_signed.py <package.msi> <output> <signing command...>
"""
import shutil
import subprocess
import sys

import olefile

SIGNATURE = "\x05DigitalSignature"


def main(package, output, command):
    with olefile.OleFileIO(package) as ole:
        signed = ole.exists(SIGNATURE)
    if signed:
        print("%s: signed already; its signature is kept" % package)
        shutil.copyfile(package, output)
        return 0
    return subprocess.run(command).returncode


if __name__ == "__main__":
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2], sys.argv[3:]))
