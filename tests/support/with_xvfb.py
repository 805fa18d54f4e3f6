#!/usr/bin/env python3
"""Runs one command against a private Xvfb server and returns its exit code.

Usage: with_xvfb.py [WIDTHxHEIGHT] -- COMMAND [ARG...]
"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xvfb import Xvfb  # noqa: E402


def main():
    args = sys.argv[1:]
    size = "320x240"
    if args and args[0] != "--":
        size = args.pop(0)
    if not args or args[0] != "--" or len(args) < 2:
        sys.exit(__doc__)
    width, height = (int(v) for v in size.split("x"))
    with Xvfb(width, height) as server:
        result = subprocess.run(args[1:], env=server.env())
    sys.exit(result.returncode)


if __name__ == "__main__":
    main()
