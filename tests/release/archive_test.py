#!/usr/bin/env python3
"""Opens the release archive as a user would get it and checks what is in it:
exactly the files we ship, in a fixed order with fixed times, checksums that
match, programs that are self-contained 32-bit Windows programs built the same
way every time, and the version resource and manifest as Windows itself reads
them (through a small probe run under Wine).

    archive_test.py --archive ZIP --programs NAME.exe... [--built Quarvel.exe]
                    --probe RUNNER PROBE.exe
"""
import argparse
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET
import zipfile
from pathlib import Path

from pe import I386, PE32, PortableExecutable

ARGS = None
HERE = Path(__file__).resolve().parent
MAKE_RELEASE = HERE.parent.parent / "tools" / "release" / "make_release.py"

# The DLLs that every Windows has; a static program imports nothing else.
SYSTEM_DLLS = {"advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll",
               "msvcrt.dll", "ole32.dll", "shell32.dll", "shlwapi.dll", "user32.dll",
               "version.dll", "winmm.dll"}

GUI, CONSOLE = 2, 3
FILE_32BIT_MACHINE = 0x100


class ArchiveExists(unittest.TestCase):
    def test_archive_exists(self):
        self.assertTrue(Path(ARGS.archive).is_file(),
                        f"{ARGS.archive} is missing: run ./release.sh")


class Archive(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.path = Path(ARGS.archive)
        if not cls.path.is_file():
            raise unittest.SkipTest("no archive")  # reported by ArchiveExists
        cls.zip = zipfile.ZipFile(cls.path)
        cls.files = {info.filename: cls.zip.read(info) for info in cls.zip.infolist()}

    def test_holds_exactly_the_shipped_files_in_order(self):
        expected = ARGS.programs + ["README.txt", "SHA256SUMS"]
        self.assertEqual([info.filename for info in self.zip.infolist()], expected)
        self.assertIsNone(self.zip.testzip(), "an entry fails its CRC check")

    def test_times_and_attributes_are_fixed(self):
        infos = self.zip.infolist()
        self.assertEqual({info.date_time for info in infos}, {infos[0].date_time})
        self.assertEqual({(info.create_system, info.external_attr) for info in infos},
                         {(0, 0x20)}, "entries must carry plain Windows file attributes")
        self.assertTrue(all(info.compress_type == zipfile.ZIP_DEFLATED for info in infos))

    def test_checksums_cover_every_other_file(self):
        listed = {}
        for line in self.files["SHA256SUMS"].decode("ascii").splitlines():
            match = re.fullmatch(r"([0-9a-f]{64})  (\S+)", line)
            self.assertIsNotNone(match, f"malformed checksum line {line!r}")
            listed[match.group(2)] = match.group(1)
        expected = {name: hashlib.sha256(data).hexdigest()
                    for name, data in self.files.items() if name != "SHA256SUMS"}
        self.assertEqual(listed, expected)

    def test_readme_is_plain_windows_text_with_the_facts(self):
        data = self.files["README.txt"]
        data.decode("ascii")  # Notepad shows plain ASCII right in every code page
        self.assertNotIn(b"\n", data.replace(b"\r\n", b""), "every line must end in CR LF")
        text = data.decode("ascii")
        for fact in ["Quarvel v1.01", "HKEY_CURRENT_USER\\Software\\Ostrel\\Quarvel",
                     'reg delete "HKCU\\Software\\Ostrel\\Quarvel" /f', "11264 KB", "260 KB",
                     "ravlen.exe", "Rvl023.zip", "FFIGHT\\", "ffight.ZIP"]:
            self.assertIn(fact, text)
        self.assertEqual("qvimage.exe" in text, "qvimage.exe" in self.files,
                         "README.txt describes qvimage.exe exactly when the archive has it")

    def test_programs_are_self_contained_32bit_windows_programs(self):
        for name in ARGS.programs:
            with self.subTest(program=name):
                exe = PortableExecutable(self.files[name])
                self.assertEqual(exe.machine, I386)
                self.assertEqual(exe.magic, PE32)
                self.assertTrue(exe.characteristics & FILE_32BIT_MACHINE)
                self.assertEqual(exe.subsystem, GUI if name == "Quarvel.exe" else CONSOLE)
                imports = {dll.lower() for dll in exe.imported_dlls()}
                self.assertTrue(imports, "no import table found")
                self.assertLessEqual(imports, SYSTEM_DLLS, "imports a DLL Windows does not have")

    def test_programs_are_release_builds_that_repeat_byte_for_byte(self):
        for name in ARGS.programs:
            with self.subTest(program=name):
                exe = PortableExecutable(self.files[name])
                self.assertEqual(exe.timestamp, 0, "a link time in the header changes every build")
                self.assertEqual(exe.symbol_table, 0, "symbols left in a release program")
                debug = [s[0] for s in exe.sections if s[0].startswith((".debug", "/"))]
                self.assertEqual(debug, [], "debug sections left in a release program")

    def test_holds_the_program_this_tree_built(self):
        if not ARGS.built:
            self.skipTest("this tree does not build the program as shipped")
        self.assertEqual(self.files["Quarvel.exe"], Path(ARGS.built).read_bytes(),
                         "the archive is older than the program: run ./release.sh")

    def test_packing_the_same_files_again_gives_the_same_bytes(self):
        # Fresh copies with other times and permissions than the originals had.
        with tempfile.TemporaryDirectory() as work:
            programs = []
            for name in ARGS.programs:
                copy = Path(work, name)
                copy.write_bytes(self.files[name])
                os.chmod(copy, 0o600)
                os.utime(copy, (1, 1))
                programs.append(str(copy))
            again = Path(work, "again.zip")
            subprocess.run([sys.executable, str(MAKE_RELEASE), str(again)] + programs,
                           check=True, stdout=subprocess.DEVNULL)
            self.assertEqual(again.read_bytes(), self.path.read_bytes())


class VersionAndManifest(unittest.TestCase):
    """What Explorer's Properties dialog and the loader read from Quarvel.exe."""

    @classmethod
    def setUpClass(cls):
        if not Path(ARGS.archive).is_file():
            raise unittest.SkipTest("no archive")
        cls.work = tempfile.mkdtemp()
        exe = Path(cls.work, "Quarvel.exe")
        exe.write_bytes(zipfile.ZipFile(ARGS.archive).read("Quarvel.exe"))
        windows_path = "Z:" + str(exe).replace("/", "\\")
        run = subprocess.run(ARGS.probe + [windows_path], capture_output=True, text=True,
                             timeout=60)
        cls.probe_exit = run.returncode
        head, _, cls.manifest = run.stdout.replace("\r\n", "\n").partition("manifest:\n")
        cls.values = dict(line.split("=", 1) for line in head.splitlines() if "=" in line)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)

    def test_windows_reads_both(self):
        self.assertEqual(self.probe_exit, 0, "no version resource or no manifest")

    def test_version_resource(self):
        self.assertEqual(self.values.get("fixed:FILEVERSION"), "1.1.0.0")
        self.assertEqual(self.values.get("fixed:PRODUCTVERSION"), "1.1.0.0")
        self.assertEqual(self.values.get("fixed:FILETYPE"), "1")  # an application
        self.assertEqual(self.values.get("FileVersion"), "1.01")
        self.assertEqual(self.values.get("ProductVersion"), "1.01")
        self.assertEqual(self.values.get("ProductName"), "Quarvel")
        self.assertEqual(self.values.get("OriginalFilename"), "Quarvel.exe")
        self.assertTrue(self.values.get("FileDescription"), "no description")

    def manifest_xml(self):
        return ET.fromstring(self.manifest.strip().encode("utf-8"))

    def test_manifest_asks_for_no_elevation(self):
        levels = [e.attrib for e in self.manifest_xml().iter()
                  if e.tag.endswith("}requestedExecutionLevel")]
        self.assertEqual(levels, [{"level": "asInvoker", "uiAccess": "false"}])

    def test_manifest_declares_the_windows_versions_tested(self):
        ids = {e.attrib["Id"] for e in self.manifest_xml().iter() if e.tag.endswith("}supportedOS")}
        self.assertEqual(ids, {
            "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  # Vista
            "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # 7
            "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  # 8
            "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  # 8.1
            "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  # 10 and 11
        })

    def test_manifest_keeps_the_classic_common_controls(self):
        # The pictures are drawn around the classic controls: no dependency on
        # the themed common controls (version 6) may creep in.
        names = [e.attrib.get("name") for e in self.manifest_xml().iter()
                 if e.tag.endswith("}assemblyIdentity")]
        self.assertNotIn("Microsoft.Windows.Common-Controls", names)

    def test_manifest_declares_per_monitor_dpi_awareness_with_fallbacks(self):
        settings = {e.tag: (e.text or "").strip() for e in self.manifest_xml().iter()
                    if e.tag.endswith("}dpiAware") or e.tag.endswith("}dpiAwareness")}
        self.assertEqual(settings, {
            "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware": "true/pm",
            "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}dpiAwareness":
                "PerMonitorV2, PerMonitor",
        })

    def test_manifest_identity_matches_the_version_resource(self):
        identity = self.manifest_xml().find("{urn:schemas-microsoft-com:asm.v1}assemblyIdentity")
        self.assertEqual(identity.get("name"), "Ostrel.Quarvel")
        self.assertEqual(identity.get("version"), self.values.get("fixed:FILEVERSION"))
        self.assertEqual(identity.get("processorArchitecture"), "x86")


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--archive", required=True)
    parser.add_argument("--programs", nargs="+", required=True)
    parser.add_argument("--built")
    parser.add_argument("--probe", nargs=2, required=True, metavar=("RUNNER", "PROBE"))
    ARGS = parser.parse_args()
    runner = unittest.TextTestRunner(stream=sys.stdout, verbosity=2)
    result = runner.run(unittest.defaultTestLoader.loadTestsFromModule(sys.modules[__name__]))
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
