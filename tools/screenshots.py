#!/usr/bin/python3
"""Turns the screenshots the gallery's end-to-end tests keep into the
pictures of docs/screenshots/: each one cropped to the rectangle kept beside
it and written as a small palette PNG.

    /usr/bin/python3 tools/screenshots.py [<shots folder>]

The folder defaults to build/win64/e2e-screenshots (KESTU_BUILD moves the
build root); run the tests e2e_gallery_skin and e2e_gallery_toolkit first.
"""
import glob
import json
import os
import sys

from PIL import Image

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "docs", "screenshots")


def main(argv):
    build = os.environ.get("KESTU_BUILD") or os.path.join(ROOT, "build")
    folder = argv[1] if len(argv) > 1 else os.path.join(build, "win64", "e2e-screenshots")
    shots = sorted(glob.glob(os.path.join(folder, "*.json")))
    if not shots:
        sys.exit("no screenshots in %s: run the gallery's end-to-end tests first" % folder)
    os.makedirs(OUT, exist_ok=True)
    for description in shots:
        with open(description) as f:
            left, top, right, bottom = json.load(f)["rect"]
        picture = Image.open(description[:-len(".json")] + ".png").convert("RGB")
        width, height = picture.size
        box = (max(left, 0), max(top, 0), min(right, width), min(bottom, height))
        # Screenshots hold few colours: a palette of 256 keeps them exact
        # enough and a fraction of the size.
        small = picture.crop(box).quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
        name = os.path.basename(description)[:-len(".json")] + ".png"
        small.save(os.path.join(OUT, name), optimize=True)
        print("%s %dx%d" % (name, box[2] - box[0], box[3] - box[1]))


if __name__ == "__main__":
    main(sys.argv)
