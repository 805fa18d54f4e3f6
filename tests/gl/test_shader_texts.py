"""The hearts shader texts keep the TEXTFILE convention: GLSL 1.10, CR LF
lines, one tilde only, in the last line "//~", and less than 16,384 bytes
before it."""
import os
import unittest

SOURCE_DIR = os.environ.get("CORVELLE_SOURCE_DIR") or os.path.abspath(
    os.path.join(os.path.dirname(__file__), "..", ".."))
SHADERS = {136: "hearts.frag", 137: "hearts.vert"}


class ShaderTextTest(unittest.TestCase):
    def read(self, name):
        with open(os.path.join(SOURCE_DIR, "resources", "shaders", name), "rb") as f:
            return f.read()

    def test_texts_follow_the_convention(self):
        for name in SHADERS.values():
            with self.subTest(name=name):
                data = self.read(name)
                self.assertTrue(data.startswith(b"#version 110\r\n"))
                self.assertTrue(data.endswith(b"\r\n//~\r\n"))
                self.assertEqual(data.count(b"~"), 1)
                self.assertEqual(data.count(b"\n"), data.count(b"\r\n"), "a line without CR LF")
                self.assertEqual(data.count(b"\r"), data.count(b"\r\n"), "a CR without LF")
                self.assertLess(data.index(b"~"), 16384)
                data.decode("ascii")

    def test_resource_script_lists_them_with_language_1049(self):
        with open(os.path.join(SOURCE_DIR, "resources", "corvelle.rc")) as f:
            lines = [line.strip() for line in f]
        for res_id, name in SHADERS.items():
            with self.subTest(name=name):
                statement = '%d TEXTFILE "shaders/%s"' % (res_id, name)
                self.assertIn(statement, lines)
                languages = [line for line in lines[:lines.index(statement)] if line.startswith("LANGUAGE")]
                self.assertEqual(languages[-1].replace(" ", ""), "LANGUAGE0x19,0x01")


if __name__ == "__main__":
    unittest.main()
