#!/usr/bin/env python3
"""The release check (cmake/release_check.py) on small packages that wixl
makes here, each wrong in one way; and builds of the installer, in a folder
of their own, that carry a package of the test's instead of the one built
from res/package/plugin.wxs.

Usage: release_check_test.py IDENTITY_HEADER [Packages|Build]
"""
import os
import subprocess
import sys
import tempfile
import unittest

from header_defines import read_defines

SOURCE_DIR = os.path.realpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
sys.path.insert(0, os.path.join(SOURCE_DIR, "cmake"))
import attach_package
import release_check

IDENTITY = read_defines(sys.argv[1])
PRODUCT = {name: IDENTITY[name + "_TEXT"] for name in release_check.PRODUCT_VALUES}
CODE, VERSION = PRODUCT["PRODUCT_CODE"], PRODUCT["PRODUCT_PACKAGE_VERSION"]
KEY = "SOFTWARE\\%s\\%s" % (PRODUCT["PRODUCT_MAKER_KEY"], PRODUCT["PRODUCT_KEY"])
MAJOR, MINOR, BUILD, REVISION = VERSION.split(".")
OTHER_BUILD = ".".join((MAJOR, MINOR, str(int(BUILD) + 1), REVISION))
OTHER_REVISION = ".".join((MAJOR, MINOR, BUILD, str(int(REVISION) + 1)))
OTHER_CODE = "{1D2E3F40-5A6B-4C7D-8E9F-A0B1C2D3E4F5}"

# Everything the check looks at, and nothing else: a registry value and the
# host folder set from a property, as res/package/plugin.wxs does.
SOURCE = """<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="$(var.ProductCode)" Name="Release check test" Language="1033"
           Version="$(var.PackageVersion)" Manufacturer="Test"
           UpgradeCode="{6A0F2B7C-3D84-4E19-B5C2-8F7E1D9A0C36}">
    <Package InstallerVersion="200" Compressed="yes" InstallScope="$(var.Scope)"/>
    <Property Id="SecureCustomProperties" Value="$(var.Secure)"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="ProgramFilesFolder">
        <Directory Id="HOSTDIR" Name="Host">
          <Component Id="Registration" Guid="{2C5E8A13-7F40-4B96-A1D3-E6B09F4C7285}">
            <RegistryValue Root="HKLM" Key="$(var.VersionKey)" Name="Version" Type="string"
                           Value="$(var.VersionValue)" KeyPath="yes"/>
          </Component>
        </Directory>
      </Directory>
    </Directory>
    <Feature Id="Main" Level="1"><ComponentRef Id="Registration"/></Feature>
    <CustomAction Id="HostDirFromProperty" Property="HOSTDIR" Value="[$(var.FolderProperty)]"/>
    <InstallExecuteSequence>
      <Custom Action="HostDirFromProperty" Sequence="803">$(var.FolderProperty)</Custom>
    </InstallExecuteSequence>
  </Product>
</Wix>
"""
# The key in other letters and with a trailing backslash, the version as the
# property, MAXDIR among other secure properties: all as good as the original.
AGREEING = dict(ProductCode=CODE, PackageVersion=VERSION, Scope="perMachine",
                VersionKey=KEY.lower() + "\\", VersionValue="[ProductVersion]",
                FolderProperty="MAXDIR", Secure="HOSTINSTALLDIR;MAXDIR")


def make_package(folder, name, **changes):
    path = os.path.join(folder, name)
    source = os.path.join(folder, "package.wxs")
    with open(source, "w", encoding="utf-8") as f:
        f.write(SOURCE)
    defines = [arg for key, value in dict(AGREEING, **changes).items()
               for arg in ("-D", "%s=%s" % (key, value))]
    subprocess.run(["wixl", "-a", "x86", *defines, "-o", path, source], check=True,
                   capture_output=True)
    return path


def run_check(package):
    result = subprocess.run([sys.executable, release_check.__file__, package]
                            + ["%s=%s" % item for item in PRODUCT.items()],
                            capture_output=True, text=True)
    return result.returncode, result.stdout.splitlines() + result.stderr.splitlines()


# name, what the package changes, exit status, the kind of the one line, what
# it says was found, what it says was expected
CASES = [
    ("another product code", dict(ProductCode=OTHER_CODE), 1, "error",
     "ProductCode is " + OTHER_CODE, "expected " + CODE),
    ("another version", dict(PackageVersion=OTHER_BUILD), 1, "error",
     "ProductVersion is " + OTHER_BUILD, "expected " + VERSION),
    ("a fourth field apart", dict(PackageVersion=OTHER_REVISION), 0, "warning",
     "ProductVersion is " + OTHER_REVISION, "expected %s (PRODUCT_PACKAGE_VERSION in product.cmake); "
     "they differ only in the fourth field, which the Windows Installer ignores" % VERSION),
    ("Version below another key", dict(VersionKey="Software\\Kelvane\\Other"), 1, "error",
     "Version is written below HKLM\\Software\\Kelvane\\Other", "expected below HKLM\\" + KEY),
    ("Version of another version", dict(VersionValue=OTHER_BUILD), 1, "error",
     "Version is " + OTHER_BUILD, "expected [ProductVersion] or " + VERSION),
    ("per user", dict(Scope="perUser"), 1, "error", "ALLUSERS is not set", "expected 1"),
    ("the folder not from MAXDIR", dict(FolderProperty="HOSTINSTALLDIR"), 1, "error",
     "no Directory or CustomAction row uses MAXDIR", "expected one that takes the folder from it"),
    ("MAXDIR not secure", dict(Secure="HOSTINSTALLDIR"), 1, "error",
     "SecureCustomProperties is HOSTINSTALLDIR", "expected a list holding MAXDIR"),
]


class Packages(unittest.TestCase):
    def setUp(self):
        self.folder = self.enterContext(tempfile.TemporaryDirectory())

    def test_an_agreeing_package_passes_silently(self):
        self.assertEqual(run_check(make_package(self.folder, "agreeing.msi")), (0, []))

    def test_each_disagreement_gives_its_own_line(self):
        for name, changes, status, kind, found, expected in CASES:
            with self.subTest(name):
                rc, lines = run_check(make_package(self.folder, "package.msi", **changes))
                self.assertEqual(rc, status, lines)
                self.assertEqual(len(lines), 1, lines)
                self.assertTrue(lines[0].startswith("release check: %s: " % kind), lines[0])
                self.assertIn(found, lines[0])
                self.assertIn(expected, lines[0])

    def test_a_file_that_is_no_package_gives_one_line(self):
        path = os.path.join(self.folder, "plugin.msi")
        with open(path, "w") as f:
            f.write("not a package\n")
        rc, lines = run_check(path)
        self.assertEqual(rc, 1)
        self.assertEqual(len(lines), 1, lines)
        self.assertTrue(lines[0].startswith(
            "release check: error: %s is not a Windows Installer package: " % path), lines[0])


def carried_package(exe):
    return attach_package.carried_package(exe)


def contents(path):
    if not os.path.exists(path):
        return None
    with open(path, "rb") as f:
        return f.read()


class Build(unittest.TestCase):
    """Each test configures the one build folder with its package and builds
    the executable: the first compiles it, the others sign and link again.
    It needs the cross toolchain, which the Wine chroot has not: make
    test-win32 runs it on the machine itself (label native_build)."""

    @classmethod
    def setUpClass(cls):
        cls.folder = cls.enterClassContext(tempfile.TemporaryDirectory(prefix="release-check-"))
        cls.build = os.path.join(cls.folder, "build")
        cls.exe = os.path.join(cls.build, IDENTITY["PRODUCT_EXE_FILE_TEXT"])
        cls.unsigned = make_package(cls.folder, "unsigned.msi")
        cls.disagreeing = make_package(cls.folder, "disagreeing.msi", PackageVersion=OTHER_BUILD)
        # Signed as its publisher would, with a certificate of its own.
        key, cert = os.path.join(cls.folder, "publisher.key"), os.path.join(cls.folder, "publisher.crt")
        cls.signed = os.path.join(cls.folder, "signed.msi")
        for command in (
                ["openssl", "genpkey", "-quiet", "-algorithm", "RSA", "-pkeyopt", "rsa_keygen_bits:2048",
                 "-out", key],
                ["openssl", "req", "-new", "-x509", "-key", key, "-sha256", "-days", "30",
                 "-subj", "/CN=release check test publisher", "-out", cert],
                ["osslsigncode", "sign", "-h", "sha256", "-certs", cert, "-key", key,
                 "-in", cls.unsigned, "-out", cls.signed]):
            subprocess.run(command, check=True, capture_output=True)

    def build_with(self, package, limit_mib=16):
        """Configures the build with the package and the resource limit and
        builds the executable: the exit status and everything the build (its
        configure too) said."""
        configured = subprocess.run(["cmake", "-S", SOURCE_DIR, "--preset", "win32", "-B", self.build,
                                     "-DINSTALLER_PACKAGE=" + package,
                                     "-DINSTALLER_RESOURCE_LIMIT_MIB=%d" % limit_mib],
                                    stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        self.assertEqual(configured.returncode, 0, configured.stdout)
        result = subprocess.run(["cmake", "--build", self.build, "--target", "KelvaneInstaller",
                                 "-j", "2"], stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                text=True)
        return result.returncode, configured.stdout + result.stdout

    def test_a_disagreeing_package_stops_the_build_before_the_link(self):
        before = contents(self.exe)
        rc, said = self.build_with(self.disagreeing)
        self.assertNotEqual(rc, 0, said)
        self.assertIn("release check: error: ProductVersion is %s, expected %s" % (OTHER_BUILD, VERSION),
                      said)
        self.assertEqual(contents(self.exe), before, "the executable changed")

    def test_a_signed_package_is_carried_as_it_is(self):
        rc, said = self.build_with(self.signed)
        self.assertEqual(rc, 0, said)
        self.assertEqual(carried_package(self.exe), contents(self.signed))

    def test_a_package_above_the_limit_is_attached_before_the_signature_which_covers_it(self):
        rc, said = self.build_with(self.signed, limit_mib=0)
        self.assertEqual(rc, 0, said)
        self.assertIn("above INSTALLER_RESOURCE_LIMIT_MIB (0 MiB): attached after the image", said)
        self.assertEqual(carried_package(self.exe), contents(self.signed))
        cert = os.path.join(self.build, "signing", "throwaway.crt")
        verify = ["osslsigncode", "verify", "-CAfile", cert, "-in"]
        self.assertEqual(subprocess.run(verify + [self.exe], capture_output=True).returncode, 0)
        # One bit of the package changed: the signature no longer holds.
        data = bytearray(contents(self.exe))
        data[data.index(contents(self.signed)) + 600] ^= 1
        changed = os.path.join(self.folder, "changed.exe")
        with open(changed, "wb") as f:
            f.write(data)
        self.assertNotEqual(subprocess.run(verify + [changed], capture_output=True).returncode, 0)

    def test_an_unsigned_package_is_signed_by_the_build(self):
        rc, said = self.build_with(self.unsigned)
        self.assertEqual(rc, 0, said)
        carried = os.path.join(self.folder, "carried.msi")
        with open(carried, "wb") as f:
            f.write(carried_package(self.exe))
        self.assertIn("\x05DigitalSignature", release_check.msiinfo("streams", carried).split())
        names = [row["Value"] for row in release_check.table(carried, "Property")
                 if row["Property"] == "ProductName"]
        self.assertEqual(names, ["Release check test"])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[2:], verbosity=2)
