#!/usr/bin/python3
"""A stand-in for corvelle-still, for testing the picture test itself: it
writes the CPU reference's picture as the PNG corvelle-still would write,
optionally with one fault a real frame writer could have.

Usage: stand_in_still.py --time SECONDS --size WIDTHxHEIGHT --out FILE.png
Environment: HEARTS_REFERENCE_TOOL (required); STAND_IN_FAULT, one of
"none" (default), "upside-down" (rows left bottom-up, as glReadPixels gives
them), "rgb" (alpha dropped), "opaque" (alpha 255 everywhere).
"""
import argparse
import os
import subprocess
import sys
import tempfile

import numpy as np
from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from test_hearts_picture import read_pam  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--time", required=True)
    parser.add_argument("--size", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    fault = os.environ.get("STAND_IN_FAULT", "none")
    with tempfile.TemporaryDirectory() as folder:
        pam = os.path.join(folder, "reference.pam")
        subprocess.run([os.environ["HEARTS_REFERENCE_TOOL"], "render", "--time", args.time, "--size", args.size,
                        "--out", pam], check=True)
        rgba = read_pam(pam).copy()
    if fault == "upside-down":
        rgba = rgba[::-1]
    elif fault == "opaque":
        rgba[..., 3] = 255
    elif fault != "none" and fault != "rgb":
        sys.exit("unknown STAND_IN_FAULT " + fault)
    image = Image.fromarray(np.ascontiguousarray(rgba), "RGBA")
    if fault == "rgb":
        image = image.convert("RGB")
    image.save(args.out)


if __name__ == "__main__":
    main()
