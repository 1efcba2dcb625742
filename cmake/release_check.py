#!/usr/bin/python3
"""Checks, before the executable is linked, that the package it is to carry
agrees with product.cmake in what the installer relies on: its product code
and version, the Version value detection reads, a per-machine install, and
the folder taken from MAXDIR. Reads the tables with msitools.

One line per problem, each beginning "release check: error:" or
"release check: warning:"; exits 1 on any error.

Usage: release_check.py <package.msi> PRODUCT_CODE=... PRODUCT_PACKAGE_VERSION=...
                        PRODUCT_MAKER_KEY=... PRODUCT_KEY=...
"""
import subprocess
import sys

PRODUCT_VALUES = ("PRODUCT_CODE", "PRODUCT_PACKAGE_VERSION", "PRODUCT_MAKER_KEY", "PRODUCT_KEY")
COMPOUND_FILE_SIGNATURE = bytes.fromhex("D0CF11E0A1B11AE1")
ROOTS = {"0": "HKCR", "1": "HKCU", "2": "HKLM", "3": "HKU"}
HKLM = "2"
# Custom action types whose Source names what they set, not what they read.
SETS_SOURCE = {35, 51}


def msiinfo(*args):
    # The values compared are ASCII; a name in the package's code page must
    # not stop the check.
    return subprocess.run(["msiinfo", *args], check=True, capture_output=True,
                          encoding="utf-8", errors="replace").stdout


def table(package, name):
    """The rows of a table as dicts keyed by column name."""
    lines = msiinfo("export", package, name).splitlines()
    columns = lines[0].split("\t")
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:]]


class NotAPackage(Exception):
    pass


def package_tables(package):
    """The names of the package's tables; NotAPackage says why there are none."""
    try:
        with open(package, "rb") as f:
            start = f.read(len(COMPOUND_FILE_SIGNATURE))
    except OSError as e:
        raise NotAPackage(e.strerror)
    if start != COMPOUND_FILE_SIGNATURE:
        raise NotAPackage("it starts with %r, not with the signature of a compound file" % start)
    try:
        tables = set(msiinfo("tables", package).split())
    except subprocess.CalledProcessError as e:
        # msitools begin each message with the program, its process and a time.
        said = [line.rsplit(": ", 1)[-1] for line in e.stderr.splitlines() if line.strip()]
        raise NotAPackage("msiinfo cannot open it (%s)"
                          % (said[-1] if said else "exit status %d" % e.returncode))
    if "Property" not in tables:
        raise NotAPackage("it has no Property table")
    return tables


def version_problem(found, expected):
    """(kind, text) when the package's version is not the product's."""
    if found == expected:
        return None
    text = "ProductVersion is %s, expected %s (PRODUCT_PACKAGE_VERSION in product.cmake)" % (
        found or "not set", expected)
    if found and found.split(".")[:3] == expected.split(".")[:3]:
        return ("warning", text + "; they differ only in the fourth field, which the Windows "
                "Installer ignores for upgrades")
    return ("error", text)


def registry_problem(rows, product, version):
    key = "SOFTWARE\\%s\\%s" % (product["PRODUCT_MAKER_KEY"], product["PRODUCT_KEY"])

    def same_key(found):
        return found.rstrip("\\").lower() == key.lower()

    writes = [r for r in rows if r.get("Name", "").lower() == "version"]
    ours = [r for r in writes if r["Root"] == HKLM and same_key(r["Key"])]
    expected_place = "below HKLM\\%s (PRODUCT_MAKER_KEY and PRODUCT_KEY in product.cmake)" % key
    if not ours:
        places = ", ".join("%s\\%s" % (ROOTS.get(r["Root"], "Root " + r["Root"]), r["Key"])
                           for r in writes)
        found = "written below " + places if places else "not written to the registry"
        return "the registry value Version is %s, expected %s" % (found, expected_place)
    accepted = ("[ProductVersion]", version)
    wrong = [r["Value"] for r in ours if r.get("Value", "") not in accepted]
    if wrong:
        return ("the registry value Version is %s, expected [ProductVersion] or %s (the package's "
                "ProductVersion)" % (" and ".join(wrong), version))
    return None


def takes_folder_from_maxdir(directories, actions):
    if any("MAXDIR" in (d["Directory"], d.get("Directory_Parent")) for d in directories):
        return True
    for action in actions:
        if "[MAXDIR]" in action.get("Target", ""):
            return True
        base_type = int(action["Type"] or 0) & 0x3F
        if action.get("Source") == "MAXDIR" and base_type not in SETS_SOURCE:
            return True
    return False


def findings(package, product):
    """[(kind, text)] for a package, kind "error" or "warning"."""
    try:
        tables = package_tables(package)
    except NotAPackage as e:
        return [("error", "%s is not a Windows Installer package: %s" % (package, e))]

    def rows(name):
        return table(package, name) if name in tables else []

    properties = {row["Property"]: row.get("Value", "") for row in rows("Property")}
    found = []
    code = properties.get("ProductCode")
    if code != product["PRODUCT_CODE"]:
        found.append(("error", "ProductCode is %s, expected %s (PRODUCT_CODE in product.cmake)"
                      % (code or "not set", product["PRODUCT_CODE"])))
    version = properties.get("ProductVersion")
    problem = version_problem(version, product["PRODUCT_PACKAGE_VERSION"])
    if problem:
        found.append(problem)
    problem = registry_problem(rows("Registry"), product, version or product["PRODUCT_PACKAGE_VERSION"])
    if problem:
        found.append(("error", problem))
    all_users = properties.get("ALLUSERS")
    if all_users != "1":
        found.append(("error", "ALLUSERS is %s, expected 1 (the installer installs per machine)"
                      % (all_users or "not set")))
    if not takes_folder_from_maxdir(rows("Directory"), rows("CustomAction")):
        found.append(("error", "no Directory or CustomAction row uses MAXDIR, expected one that "
                      "takes the folder from it (the installer passes the folder chosen as MAXDIR)"))
    secure = properties.get("SecureCustomProperties")
    if "MAXDIR" not in (secure or "").split(";"):
        found.append(("error", "SecureCustomProperties is %s, expected a list holding MAXDIR "
                      "(else a per-machine install drops the MAXDIR given)" % (secure or "not set")))
    return found


def main(argv):
    values = dict(arg.split("=", 1) for arg in argv[2:] if "=" in arg)
    if len(argv) < 2 or set(values) != set(PRODUCT_VALUES):
        sys.exit(__doc__)
    try:
        found = findings(argv[1], values)
    except subprocess.CalledProcessError as e:
        said = [line for line in e.stderr.splitlines() if line.strip()]
        found = [("error", "%s cannot be read: %s failed (%s)" % (
            argv[1], " ".join(e.cmd), said[-1] if said else "exit status %d" % e.returncode))]
    for kind, text in found:
        print("release check: %s: %s" % (kind, text))
    return 1 if any(kind == "error" for kind, _ in found) else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
