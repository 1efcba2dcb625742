#!/usr/bin/env python3
"""Checks the plug-in package with msitools: identity, language and code
page, what it writes to the registry, and its own signature.

Usage: check_package.py PACKAGE IDENTITY_HEADER
"""
import subprocess
import sys
import unittest

from header_defines import read_defines

PACKAGE, IDENTITY_HEADER = sys.argv[1:3]
IDENTITY = read_defines(IDENTITY_HEADER)
HKLM = "2"


def msiinfo(*args):
    return subprocess.run(["msiinfo", *args], check=True, capture_output=True,
                          text=True).stdout


def table(name):
    """The rows of a table as dicts keyed by column name."""
    lines = msiinfo("export", PACKAGE, name).splitlines()
    columns = lines[0].split("\t")
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:]]


def product_key_path():
    return "Software\\%s\\%s" % (IDENTITY["PRODUCT_MAKER_KEY_TEXT"], IDENTITY["PRODUCT_KEY_TEXT"])


class Package(unittest.TestCase):
    def test_identity_agrees_with_product_config(self):
        properties = {row["Property"]: row["Value"] for row in table("Property")}
        self.assertEqual(properties["ProductCode"], IDENTITY["PRODUCT_CODE_TEXT"])
        self.assertEqual(properties["ProductVersion"], IDENTITY["PRODUCT_PACKAGE_VERSION_TEXT"])
        self.assertEqual(properties["ProductName"], IDENTITY["PRODUCT_DISPLAY_NAME_TEXT"])
        self.assertEqual(properties["Manufacturer"], IDENTITY["PRODUCT_COMPANY_NAME_TEXT"])
        self.assertEqual(properties["ProductLanguage"], "1033")
        self.assertEqual(properties["ALLUSERS"], "1")
        self.assertIn("MAXDIR", properties["SecureCustomProperties"].split(";"))

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
