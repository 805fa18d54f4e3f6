"""The Windows package: the package step makes a zip with Corvelle.scr and an
install note, and the .scr from the zip, copied into the system folder as
the note says, starts under Wine."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
import harness  # noqa: E402
from harness import Desktop, SCREENSAVER_TITLE, WinePrefix, stop, wait_exit  # noqa: E402

WINDOWS_BUILD = os.path.dirname(harness.WINDOWS_BIN)
EXIT_TIMEOUT = 90  # safety nets, not speed bounds


class PackageTest(unittest.TestCase):
    def setUp(self):
        harness.require_file(self, harness.windows_program())
        harness.require_file(self, os.path.join(WINDOWS_BUILD, "CPackConfig.cmake"))
        self.folder = tempfile.mkdtemp(prefix="corvelle-package-")
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)

    def make_package(self):
        result = subprocess.run(["cpack", "--config", os.path.join(WINDOWS_BUILD, "CPackConfig.cmake"),
                                 "-B", self.folder], cwd=WINDOWS_BUILD, capture_output=True, text=True,
                                timeout=300)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        zips = [name for name in os.listdir(self.folder) if name.endswith(".zip")]
        self.assertEqual(zips, ["Corvelle-Screensaver-1.0.0-win64.zip"])
        return zipfile.ZipFile(os.path.join(self.folder, zips[0]))

    def test_zip_holds_the_screensaver_and_the_install_note(self):
        with self.make_package() as package:
            self.assertEqual(sorted(package.namelist()), ["Corvelle.scr", "INSTALL.txt"])
            with open(harness.windows_program(), "rb") as built:
                self.assertEqual(package.read("Corvelle.scr"), built.read())
            note = package.read("INSTALL.txt").decode("ascii")
        self.assertNotIn("\n", note.replace("\r\n", ""), "the note's lines do not all end in CR LF")
        for words in ('Right-click Corvelle.scr and choose "Install"', "C:\\Windows\\System32",
                      '"Corvelle" in the Screen Saver Settings', "OpenGL 4.2"):
            self.assertIn(words, " ".join(note.split()))

    def test_screensaver_from_the_zip_starts_in_the_system_folder(self):
        with self.make_package() as package:
            desktop = Desktop(160, 120).__enter__()
            self.addCleanup(desktop.__exit__, None, None, None)
            wine = WinePrefix(desktop).__enter__()
            self.addCleanup(wine.__exit__, None, None, None)
            package.extract("Corvelle.scr", os.path.join(wine.path, "drive_c", "windows", "system32"))
        process = wine.start("C:\\windows\\system32\\Corvelle.scr", "/s")
        self.addCleanup(stop, process)
        window = desktop.wait_for_window(SCREENSAVER_TITLE, timeout=120, process=process)
        self.assertEqual(desktop.geometry(window), (0, 0, 160, 120))
        desktop.key(window, "a")
        self.assertEqual(wait_exit(process, EXIT_TIMEOUT), 0)


if __name__ == "__main__":
    harness.main()
