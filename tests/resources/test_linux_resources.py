#!/usr/bin/python3
"""The resource table of the Linux build holds every resource of the table, as committed."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from resource_checks import ResourceChecks, read_dump  # noqa: E402


class LinuxResourceTableTest(ResourceChecks, unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.resources = read_dump(os.environ["CORVELLE_RESOURCE_DUMP"])


if __name__ == "__main__":
    unittest.main()
