#!/usr/bin/env python3
"""Checks the plug-in package with msitools beyond the release check that
the build runs on it (cmake/release_check.py: product code and version, the
Version value, per machine, MAXDIR): its name and maker, language and code
page, every value it writes to the registry, and its own signature.

Usage: check_package.py PACKAGE IDENTITY_HEADER
"""
import os
import sys
import unittest

from header_defines import read_defines

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "cmake"))
import release_check
from release_check import HKLM, msiinfo

PACKAGE, IDENTITY_HEADER = sys.argv[1:3]
IDENTITY = read_defines(IDENTITY_HEADER)


def table(name):
    return release_check.table(PACKAGE, name)


def product_key_path():
    return "Software\\%s\\%s" % (IDENTITY["PRODUCT_MAKER_KEY_TEXT"], IDENTITY["PRODUCT_KEY_TEXT"])


class Package(unittest.TestCase):
    def test_name_and_maker_agree_with_product_config(self):
        properties = {row["Property"]: row["Value"] for row in table("Property")}
        self.assertEqual(properties["ProductName"], IDENTITY["PRODUCT_DISPLAY_NAME_TEXT"])
        self.assertEqual(properties["Manufacturer"], IDENTITY["PRODUCT_COMPANY_NAME_TEXT"])
        self.assertEqual(properties["ProductLanguage"], "1033")

    def test_english_with_code_page_1252(self):
        summary = dict(line.split(": ", 1) for line in msiinfo("suminfo", PACKAGE).splitlines()
                       if ": " in line)
        self.assertEqual(summary["Template"], "Intel;1033")
        self.assertEqual(msiinfo("export", PACKAGE, "_ForceCodepage").split()[0], "1252")

    def test_registry_entries(self):
        rows = {(r["Root"], r["Key"], r["Name"]): r["Value"] for r in table("Registry")}
        key = product_key_path()
        self.assertEqual(rows, {
            (HKLM, key, "Version"): IDENTITY["PRODUCT_PACKAGE_VERSION_TEXT"],
            (HKLM, key, "Description"): IDENTITY["PRODUCT_DISPLAY_NAME_TEXT"],
            (HKLM, key, "Path"): "[PLUGINDIR]",
        })

    def test_package_carries_its_own_signature(self):
        self.assertIn("\x05DigitalSignature", msiinfo("streams", PACKAGE).split())


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[3:], verbosity=2)
