"""Regenerating the GL entry-point table from the system's glcorearb.h gives
the committed gl/gl_entry_points.h and gl/gl_entry_points.cpp, byte for byte."""
import os
import subprocess
import sys
import tempfile
import unittest

SOURCE_DIR = os.environ.get("CORVELLE_SOURCE_DIR") or os.path.abspath(
    os.path.join(os.path.dirname(__file__), "..", ".."))
HEADER = "/usr/include/GL/glcorearb.h"


class GenerationTest(unittest.TestCase):
    def test_regenerated_files_match_the_committed_ones(self):
        self.assertTrue(os.path.exists(HEADER), HEADER + " is missing (libgl-dev)")
        with tempfile.TemporaryDirectory() as out:
            subprocess.run([sys.executable, os.path.join(SOURCE_DIR, "tools", "gen_gl_entry_points.py"), HEADER, out],
                           check=True)
            for name in ("gl_entry_points.h", "gl_entry_points.cpp"):
                with self.subTest(name=name):
                    with open(os.path.join(out, name), "rb") as f:
                        generated = f.read()
                    with open(os.path.join(SOURCE_DIR, "gl", name), "rb") as f:
                        committed = f.read()
                    self.assertEqual(generated, committed)


if __name__ == "__main__":
    unittest.main()
