#!/usr/bin/env python3
"""The installer's tables (msiinfo export), checked for what the README and the deployment guide
promise of them:
 - the data folder's rights (the MsiLockPermissionsEx row, Users may modify) are on a CreateFolder
   of a component that every install, repair and upgrade installs: neither "never overwrite" nor
   conditional, in a feature installed by default, so that a CONFIG.INI already in the data folder
   does not skip them;
 - the data components keep their attributes: CONFIG.INI and burn_sn.txt never overwritten and
   never removed, language.ini replaced by every install;
 - with --guide, what docs/deployment-guide.md names of the package is in its tables: the
   properties a deployment may set, the upgrade code, the product's name, the two folders.

  msi-tables-test.py [--guide GUIDE] MSI...     checks these packages
  msi-tables-test.py --stand-in [--guide GUIDE] makes a package per architecture with
                                                packaging/make-msi from stand-in files (the
                                                tables do not depend on the files' contents)
  msi-tables-test.py --lock-component MSI       prints the component holding the lock: its
                                                name, its GUID and the lock's directory
Exits 0 when every check holds, 1 with a line "FAIL: ..." for each one that does not.
"""
import os
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
PACKAGING = os.path.dirname(HERE)

# Component attributes (Windows Installer).
PERMANENT = 16
NEVER_OVERWRITE = 128
WIN64 = 256
# The users' modify right on the data folder, for what it holds (OI) and its folders (CI).
USERS_MODIFY_ACE = "(A;OICI;0x1301bf;;;BU)"
# Where the technician's files lie, by the key path file of their components.
DATA_FOLDER = "DATADIR"
KEPT_FILES = {"CONFIG.INI": "Config", "burn_sn.txt": "History"}
REPLACED_FILES = {"language.ini": "Texts"}
# Properties every Windows Installer package takes, which the guide may name besides the
# package's own.
STANDARD_PROPERTIES = {"REBOOT", "MSIRESTARTMANAGERCONTROL", "ALLUSERS", "INSTALLLEVEL"}
STAND_IN_FILES = ["OrvoUpgradeTool.exe", "orvo.exe", "qxUSBDevAdv.dll", "qxUSBDev.dll",
                  "Pyxol.dll", "README.txt", "CONFIG.INI", "language.ini", "burn_sn.txt"]


def tables(msi):
    out = subprocess.run(["msiinfo", "tables", msi], check=True, capture_output=True, text=True)
    return set(out.stdout.split())


def export(msi, table):
    """The table's rows, each a dict by column name; none when the package lacks the table."""
    if table not in tables(msi):
        return []
    out = subprocess.run(["msiinfo", "export", msi, table], check=True, capture_output=True,
                         text=True)
    lines = [line.rstrip("\r") for line in out.stdout.split("\n")]
    columns = lines[0].split("\t")
    # Below the names: the column types, then the table's name and its keys.
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:] if line]


def attributes(component):
    return int(component["Attributes"] or 0)


def folder_path(directories, directory):
    """A directory of the Directory table as a path under its system folder's name."""
    parts = []
    while directory:
        row = directories[directory]
        name = row["DefaultDir"].split(":")[0].split("|")[-1]
        parent = row["Directory_Parent"]
        if parent in ("", "TARGETDIR") or name == ".":
            parts.append(directory)
            break
        parts.append(name)
        directory = parent
    return "\\".join(reversed(parts))


class Package:
    def __init__(self, msi):
        self.msi = msi
        self.name = os.path.basename(msi)
        self.tables = tables(msi)
        self.components = {row["Component"]: row for row in export(msi, "Component")}
        self.files = {row["File"]: row for row in export(msi, "File")}
        self.create_folders = export(msi, "CreateFolder")
        self.locks = export(msi, "MsiLockPermissionsEx")
        self.features = {row["Feature"]: row for row in export(msi, "Feature")}
        self.feature_components = export(msi, "FeatureComponents")
        self.conditions = export(msi, "Condition")
        self.directories = {row["Directory"]: row for row in export(msi, "Directory")}
        self.properties = {row["Property"]: row["Value"] for row in export(msi, "Property")}
        self.upgrades = export(msi, "Upgrade")
        self.failures = []

    def fail(self, text):
        self.failures.append(f"{self.name}: {text}")

    def lock_components(self):
        """The components whose CreateFolder rows the lock secures."""
        found = []
        for lock in self.locks:
            if lock["Table"] != "CreateFolder":
                continue
            found += [(row["Component_"], lock["LockObject"]) for row in self.create_folders
                      if row["Directory_"] == lock["LockObject"]]
        return found

    def installed_by_default(self, component):
        """Whether the features holding the component are installed at the default level."""
        features = [row["Feature_"] for row in self.feature_components
                    if row["Component_"] == component]
        if not features:
            return False
        level = int(self.properties.get("INSTALLLEVEL", "1"))
        for feature in features:
            row = self.features[feature]
            if not 0 < int(row["Level"]) <= level:
                return False
            if any(condition["Feature_"] == feature for condition in self.conditions):
                return False
        return True

    def check_lock(self):
        if "LockPermissions" in self.tables:
            self.fail("holds a LockPermissions table beside MsiLockPermissionsEx, which "
                      "Windows Installer 5 refuses")
        if len(self.locks) != 1:
            self.fail(f"{len(self.locks)} MsiLockPermissionsEx rows, not the one of the data folder")
        for lock in self.locks:
            if (lock["LockObject"], lock["Table"]) != (DATA_FOLDER, "CreateFolder"):
                self.fail(f"the lock {lock['MsiLockPermissionsEx']} secures {lock['Table']} "
                          f"{lock['LockObject']}, not CreateFolder {DATA_FOLDER}")
            if lock["Condition"]:
                self.fail(f"the lock {lock['MsiLockPermissionsEx']} has a condition: {lock['Condition']}")
            if USERS_MODIFY_ACE not in lock["SDDLText"]:
                self.fail(f"the lock's SDDL {lock['SDDLText']} does not let Users modify")
        holders = self.lock_components()
        if not holders:
            self.fail(f"no CreateFolder row of {DATA_FOLDER}: the lock secures nothing")
        for name, _ in holders:
            component = self.components.get(name)
            if component is None:
                self.fail(f"the lock's CreateFolder names a component {name} the package lacks")
                continue
            if attributes(component) & NEVER_OVERWRITE:
                self.fail(f"the lock is on component {name}, which is never overwritten: a key "
                          f"file already there skips it, and the rights with it")
            if component["Condition"]:
                self.fail(f"the lock is on component {name}, installed only when {component['Condition']}")
            if not self.installed_by_default(name):
                self.fail(f"the lock is on component {name}, whose feature is not installed by default")

    def check_data_components(self, arch_bit):
        by_file = {row["FileName"].split("|")[-1]: row for row in self.files.values()}
        for files, wanted in ((KEPT_FILES, PERMANENT | NEVER_OVERWRITE), (REPLACED_FILES, 0)):
            for file_name, component_name in files.items():
                row = by_file.get(file_name)
                if row is None:
                    self.fail(f"installs no {file_name}")
                    continue
                component = self.components[row["Component_"]]
                if row["Component_"] != component_name or component["KeyPath"] != row["File"]:
                    self.fail(f"{file_name} is not the key path of its component {component_name}")
                if component["Directory_"] != DATA_FOLDER:
                    self.fail(f"{file_name} goes to {component['Directory_']}, not {DATA_FOLDER}")
                kept = attributes(component) & (PERMANENT | NEVER_OVERWRITE)
                if kept != wanted:
                    self.fail(f"component {component_name} ({file_name}) has attributes "
                              f"{component['Attributes']}: permanent and never overwrite are "
                              f"{kept}, not {wanted}")
                if component["Condition"]:
                    self.fail(f"component {component_name} has a condition: {component['Condition']}")
        for name, component in self.components.items():
            if attributes(component) & WIN64 != arch_bit:
                self.fail(f"component {name}'s 64-bit attribute is not the package's architecture")

    def check_guide(self, guide_path):
        with open(guide_path, encoding="utf-8") as guide_file:
            guide = guide_file.read()
        section = re.search(r"^## Properties a deployment may set\n(.*?)^## ", guide, re.M | re.S)
        if not section:
            self.failures.append(f"{guide_path}: no section \"Properties a deployment may set\"")
            return
        named = re.findall(r"^\| `([A-Z_]+)`", section.group(1), re.M)
        if not named:
            self.failures.append(f"{guide_path}: its properties table names no property")
        for prop in named:
            if (prop not in self.directories and prop not in self.properties
                    and prop not in STANDARD_PROPERTIES):
                self.fail(f"the guide names a property {prop} the package does not have")
        for folder in ("INSTALLDIR", DATA_FOLDER):
            if f"`{folder}`" not in section.group(1):
                self.failures.append(f"{guide_path}: the properties table does not say what becomes of {folder}")
        expected = {
            "the upgrade code": self.properties["UpgradeCode"].upper(),
            "the product's name": self.properties["ProductName"],
            "the data folder": folder_path(self.directories, DATA_FOLDER).replace(
                "CommonAppDataFolder", "C:\\ProgramData"),
        }
        program = folder_path(self.directories, "INSTALLDIR")
        expected["the program folder"] = re.sub(r"^ProgramFiles(64)?Folder",
                                                lambda m: "C:\\Program Files", program)
        if program.startswith("ProgramFilesFolder"):  # the 32-bit package on 64-bit Windows
            expected["the 32-bit program folder"] = program.replace(
                "ProgramFilesFolder", "C:\\Program Files (x86)")
        for what, text in expected.items():
            if text not in guide:
                self.failures.append(f"{guide_path}: does not name {what} as the package has it: {text}")
        detected = {row["ActionProperty"] for row in self.upgrades}
        if "WIX_UPGRADE_DETECTED" not in detected:
            self.fail("no upgrade row replaces an older version")


def arch_bit_of(msi):
    out = subprocess.run(["msiinfo", "suminfo", msi], check=True, capture_output=True, text=True)
    return WIN64 if re.search(r"^Template: x64;", out.stdout, re.M) else 0


def check(msis, guide):
    failures = []
    for msi in msis:
        package = Package(msi)
        package.check_lock()
        package.check_data_components(arch_bit_of(msi))
        if guide:
            package.check_guide(guide)
        failures += package.failures
        if not package.failures:
            holders = ", ".join(name for name, _ in package.lock_components())
            print(f"{package.name}: the lock is on {holders}; the data components keep their attributes")
    for failure in failures:
        print(f"FAIL: {failure}")
    return 1 if failures else 0


def stand_in_packages(work):
    """One package per architecture from files of the delivered names."""
    dist = os.path.join(work, "dist")
    os.mkdir(dist)
    for name in STAND_IN_FILES:
        with open(os.path.join(dist, name), "w") as stand_in:
            stand_in.write(name + "\n")
    made = []
    for arch in ("x86", "x64"):
        msi = os.path.join(work, f"OrvoUpgradeTool-stand-in-{arch}.msi")
        subprocess.run([os.path.join(PACKAGING, "make-msi"), dist, arch, "1.0.0.0", msi],
                       check=True)
        made.append(msi)
    return made


def main(args):
    if args[:1] == ["--lock-component"] and len(args) == 2:
        package = Package(args[1])
        for name, directory in package.lock_components():
            print(name, package.components[name]["ComponentId"], directory)
        return 0
    guide = None
    if "--guide" in args:
        at = args.index("--guide")
        guide = args[at + 1]
        del args[at:at + 2]
    if args == ["--stand-in"]:
        with tempfile.TemporaryDirectory() as work:
            return check(stand_in_packages(work), guide)
    if not args or any(arg.startswith("--") for arg in args):
        print(__doc__.strip().split("\n\n")[1], file=sys.stderr)
        return 2
    return check(args, guide)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
