#!/usr/bin/python3
"""The resource section of Corvelle.scr: every resource of the table, as committed, and
byte for byte the same as the Linux build's table."""
import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "support"))
from pe_resources import read_resources  # noqa: E402
from resource_checks import MANIFEST, ResourceChecks, committed_bytes, read_dump  # noqa: E402


class WindowsExecutableResourcesTest(ResourceChecks, unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        path = os.path.join(os.environ["CORVELLE_WINDOWS_BIN"], "Corvelle.scr")
        if not os.path.isfile(path):
            raise AssertionError("%s is missing: build the Windows preset first" % path)
        cls.resources = read_resources(path)

    def test_same_resources_as_the_linux_table(self):
        def keyed(resources):
            return sorted((str(r.type), r.id, r.language, r.data) for r in resources)
        linux = read_dump(os.environ["CORVELLE_RESOURCE_DUMP"])
        self.assertEqual([k[:3] for k in keyed(self.resources)], [k[:3] for k in keyed(linux)])
        for scr, table in zip(keyed(self.resources), keyed(linux)):
            with self.subTest(resource=scr[:3]):
                self.assertTrue(scr[3] == table[3], "bytes differ")

    def test_exactly_our_manifest(self):
        # The linker may add a default manifest of its own; the executable must carry only ours.
        manifests = [r for r in self.resources if r.type == MANIFEST]
        self.assertEqual([(r.id, r.language) for r in manifests], [(1, 1033)])
        self.assertEqual(manifests[0].data, committed_bytes("corvelle.manifest"))


if __name__ == "__main__":
    unittest.main()
