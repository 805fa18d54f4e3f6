#!/usr/bin/python3
"""The committed pictures, and the generated parts of the hearts shader, are
exactly what their generators write."""
import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.environ.get("CORVELLE_SOURCE_DIR", os.path.join(HERE, "..", ".."))
TOOLS = os.path.join(SOURCE_DIR, "tools")
RESOURCES = os.path.join(SOURCE_DIR, "resources")

# Generator, its arguments (OUT is the output folder), the files it writes there.
GENERATORS = [
    ("gen_noise_bitmap.py", ["OUT/bitmaps/noise.bmp"], ["bitmaps/noise.bmp"]),
    ("gen_heart_pictures.py", ["OUT"], ["bitmaps/about_hearts.bmp", "icons/corvelle.ico", "logo/kestrova_logo.png"]),
    ("gen_hearts_shader.py", ["OUT/shaders/hearts.frag"], ["shaders/hearts.frag"]),
]


class GeneratorsTest(unittest.TestCase):
    def test_committed_output_is_reproduced(self):
        for script, arguments, outputs in GENERATORS:
            with self.subTest(generator=script), tempfile.TemporaryDirectory() as out:
                command = [sys.executable, os.path.join(TOOLS, script)] + [a.replace("OUT", out) for a in arguments]
                subprocess.run(command, check=True, timeout=300)
                for relative in outputs:
                    with open(os.path.join(out, relative), "rb") as made, \
                            open(os.path.join(RESOURCES, relative), "rb") as committed:
                        self.assertTrue(made.read() == committed.read(), "%s differs from its generator's output" % relative)


if __name__ == "__main__":
    unittest.main()
