"""gl/ in the Windows build under Wine, through gl_probe.exe: the shader
program's compile and link failures as message boxes, and where the loader
finds GL functions."""
import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402
from harness import Desktop, WinePrefix, windows_program  # noqa: E402

# Resource ids of gl_tests.rc.
HEARTS_FRAGMENT, HEARTS_VERTEX = 136, 137
PLAIN_VERTEX, PLAIN_FRAGMENT = 401, 402
BROKEN_VERTEX, BROKEN_FRAGMENT = 403, 404
NO_MAIN_FRAGMENT = 405
MISSING_TEXT = 499


class GlProbeTestCase(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.probe = windows_program("gl_probe.exe")
        cls.desktop = Desktop(160, 120).__enter__()
        cls.wine = WinePrefix(cls.desktop).__enter__()

    @classmethod
    def tearDownClass(cls):
        cls.wine.__exit__(None, None, None)
        cls.desktop.__exit__(None, None, None)

    def setUp(self):
        harness.require_file(self, self.probe)
        harness.require_file(self, windows_program("msgbox_runner.exe"))


class ProgramFailureTest(GlProbeTestCase):
    def test_each_failure_shows_its_log_and_message_then_exits_with_zero(self):
        cases = [
            ("broken fragment shader", PLAIN_VERTEX, BROKEN_FRAGMENT, "Fragment shader compilation error"),
            ("broken vertex shader", BROKEN_VERTEX, PLAIN_FRAGMENT, "Vertex shader compilation error"),
            ("both broken: the fragment shader is not compiled", BROKEN_VERTEX, BROKEN_FRAGMENT,
             "Vertex shader compilation error"),
            ("missing vertex text", MISSING_TEXT, PLAIN_FRAGMENT, "Vertex shader compilation error"),
            ("no fragment main", PLAIN_VERTEX, NO_MAIN_FRAGMENT, "Shader program link error"),
        ]
        for what, vertex, fragment, message in cases:
            with self.subTest(what):
                boxes, code = self.wine.run_with_message_boxes(self.probe, "program", str(vertex), str(fragment))
                self.assertEqual(code, 0)
                self.assertEqual(len(boxes), 2, boxes)
                log_caption, log = boxes[0]
                self.assertEqual(log_caption, "Debug")
                self.assertIn("error", log)
                self.assertEqual(boxes[1], ("Debug", message))

    def test_the_hearts_program_builds_without_a_box(self):
        boxes, code = self.wine.run_with_message_boxes(self.probe, "program", str(HEARTS_VERTEX),
                                                       str(HEARTS_FRAGMENT))
        self.assertEqual((boxes, code), ([], 0))


class EntryPointLookupTest(GlProbeTestCase):
    def lookup(self, *names):
        result = subprocess.run(["wine", self.probe, "lookup"] + list(names), env=self.wine.env(),
                                capture_output=True, text=True, timeout=300)
        self.assertEqual(result.returncode, 0, result.stderr)
        found = {}
        for line in result.stdout.splitlines():
            name, context, library, loader = line.rstrip("\r").split("\t")
            found[name] = (context == "1", library == "1", loader)
        return found

    def test_core_1_x_functions_come_from_the_library_and_the_rest_from_the_context(self):
        expected = {
            # OpenGL 1.0 and 1.1: wglGetProcAddress does not know them.
            "glClear": (False, True, "library"),
            "glViewport": (False, True, "library"),
            "glGetIntegerv": (False, True, "library"),
            "glTexParameteri": (False, True, "library"),
            # Later functions: the context has them.
            "glCreateProgram": (True, False, "context"),
            "glGenerateMipmap": (True, False, "context"),
            "glTexStorage2D": (True, False, "context"),
            # Neither knows it.
            "glNoSuchFunction": (False, False, "null"),
        }
        self.assertEqual(self.lookup(*expected), expected)


if __name__ == "__main__":
    harness.main()
