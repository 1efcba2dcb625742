#!/usr/bin/env python3
"""Installs and removes the built plug-in package with Wine's msiexec, in the
prefix of one architecture, and checks where the files land, what the
registry holds and that a removal by product code takes everything away.

Usage: package_install_test.py win64|win32 PACKAGE IDENTITY_HEADER
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

from header_defines import read_defines

ARCH, PACKAGE, IDENTITY_HEADER = sys.argv[1:4]
IDENTITY = read_defines(IDENTITY_HEADER)
SCRIPTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts")
TIMEOUT = 300

PRODUCT_KEY = "HKLM\\Software\\%s\\%s" % (IDENTITY["PRODUCT_MAKER_KEY_TEXT"],
                                         IDENTITY["PRODUCT_KEY_TEXT"])
UNINSTALL_KEY = ("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                 + IDENTITY["PRODUCT_CODE_TEXT"])
HOST_KEY = "HKLM\\" + IDENTITY["PRODUCT_HOST_KEY_TEXT"]
# A 32-bit package in a 64-bit prefix gets the 32-bit Program Files.
PROGRAM_FILES = "C:\\Program Files (x86)" if ARCH == "win64" else "C:\\Program Files"
DEFAULT_FOLDER = PROGRAM_FILES + IDENTITY["PRODUCT_FOLDER_SUFFIX_TEXT"].rstrip("\\")
SCRATCH = "C:\\package test"
PLUGIN_FILES = ("Zephra.dll", "readme.txt")

# name, MAXDIR on the command line, the host's Installdir, where the files go
SCENARIOS = [
    ("chosen folder", SCRATCH + "\\Chosen Max", None, SCRATCH + "\\Chosen Max"),
    ("host's folder", None, SCRATCH + "\\Host Max", SCRATCH + "\\Host Max"),
    ("chosen over host's", SCRATCH + "\\Chosen Max", SCRATCH + "\\Host Max", SCRATCH + "\\Chosen Max"),
    ("default folder", None, None, DEFAULT_FOLDER),
]


def start_prefix():
    with tempfile.TemporaryFile() as out:
        subprocess.run([os.path.join(SCRIPTS, "wine-prefix.sh"), ARCH], stdout=out,
                       stdin=subprocess.DEVNULL, check=True, timeout=TIMEOUT)
        out.seek(0)
        prefix = out.read().decode().strip()
    env = dict(os.environ, WINEPREFIX=prefix, WINEARCH=ARCH, WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
    # One server for the whole run: a cold start costs seconds on every call.
    subprocess.run(["wineserver", "-p"], env=env, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=TIMEOUT)
    return prefix, env


PREFIX, ENV = start_prefix()


def wine(*args):
    """Runs a Windows program; returns its exit code and output. The output
    goes to a file: a service it starts must not hold a pipe open."""
    with tempfile.TemporaryFile() as out:
        rc = subprocess.run(["wine", *args], env=ENV, stdin=subprocess.DEVNULL, stdout=out,
                            stderr=subprocess.STDOUT, timeout=TIMEOUT).returncode
        out.seek(0)
        return rc, out.read().decode("utf-8", errors="replace")


def unix_path(windows_path):
    assert windows_path[:3].upper() == "C:\\"
    return os.path.join(PREFIX, "drive_c", *windows_path[3:].split("\\"))


def registry_values(key):
    """The values of a key in the 32-bit view, or None when there is no key."""
    rc, out = wine("reg", "query", key, "/reg:32")
    if rc != 0:
        return None
    return {m.group(1): m.group(2) for m in
            re.finditer(r"^ +(\S.*?) {4}REG_\w+ {4}(.*?)\r?$", out, re.MULTILINE)}


def msiexec(*args):
    return wine("msiexec", *args, "/qn")[0]


def remove_product():
    return msiexec("/x", IDENTITY["PRODUCT_CODE_TEXT"])


def reset():
    """Leaves the prefix as it was before the test, whatever went wrong."""
    remove_product()
    wine("reg", "delete", HOST_KEY, "/f", "/reg:32")
    shutil.rmtree(unix_path(SCRATCH), ignore_errors=True)
    shutil.rmtree(unix_path(DEFAULT_FOLDER + "\\plugins"), ignore_errors=True)


class PackageInstall(unittest.TestCase):
    package = "C:\\package under test.msi"

    @classmethod
    def setUpClass(cls):
        reset()
        shutil.copy(PACKAGE, unix_path(cls.package))

    @classmethod
    def tearDownClass(cls):
        reset()
        os.remove(unix_path(cls.package))

    def install(self, maxdir, installdir):
        if installdir:
            rc, _ = wine("reg", "add", HOST_KEY, "/v", "Installdir", "/t", "REG_SZ",
                         "/d", installdir, "/f", "/reg:32")
            self.assertEqual(rc, 0)
        args = ["/i", self.package] + (["MAXDIR=" + maxdir] if maxdir else [])
        self.assertEqual(msiexec(*args), 0)

    def test_install_then_remove_by_product_code(self):
        version = IDENTITY["PRODUCT_PACKAGE_VERSION_TEXT"]
        for name, maxdir, installdir, folder in SCENARIOS:
            plugins = folder + "\\plugins"
            with self.subTest(scenario=name):
                try:
                    self.install(maxdir, installdir)
                    for file in PLUGIN_FILES:
                        self.assertTrue(os.path.isfile(unix_path(plugins + "\\" + file)), file)
                    self.assertEqual(registry_values(PRODUCT_KEY), {
                        "Version": version,
                        "Description": IDENTITY["PRODUCT_DISPLAY_NAME_TEXT"],
                        "Path": plugins + "\\",
                    })
                    self.assertEqual(registry_values(UNINSTALL_KEY).get("DisplayVersion"), version)

                    # No MAXDIR now: the package has to find its folder itself.
                    self.assertEqual(remove_product(), 0)
                    self.assertFalse(os.path.exists(unix_path(plugins)), "plug-in folder left")
                    self.assertIsNone(registry_values(PRODUCT_KEY))
                    self.assertIsNone(registry_values(UNINSTALL_KEY))
                finally:
                    reset()


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[4:], verbosity=2)
