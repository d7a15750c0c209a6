#!/usr/bin/env python3
"""Makes the main window's artwork; needs nothing but Python 3.

    python3 make_art.py          writes the images beside this file
    python3 make_art.py --check  reads them back and checks what the window relies on

Images: background.bmp (bitmap 152, 480 x 360), start_upgrade.bmp (131), exit.bmp (132),
read_sn.bmp (133), write_sn.bmp (134), all 100 x 100 and 24-bit, and app.ico (icon 128) and
about.ico (icon 129), one 32 x 32 24-bit image each. The build only uses the committed files;
run this by hand after changing a drawing and commit the images with it.
"""

import os
import sys

import appicon
import background
import faces
from imagefiles import ImageFormatError, read_bmp, read_ico, write_bmp, write_ico

HERE = os.path.dirname(os.path.abspath(__file__))

BITMAPS = {
    "background.bmp": background.draw,
    "start_upgrade.bmp": faces.start_upgrade,
    "exit.bmp": faces.exit_door,
    "read_sn.bmp": faces.read_serial,
    "write_sn.bmp": faces.write_serial,
}
ICONS = ("app.ico", "about.ico")

FACE_NAMES = [name for name in BITMAPS if name != "background.bmp"]

# Where the window puts controls and texts straight onto the panel; it must be flat there.
FLAT_PANEL_AREAS = [
    ("serial-number field", (244, 100, 360, 125)),
    ("progress bar", (15, 300, 400, 320)),
    ("whole panel", (background.PANEL_LEFT, background.PANEL_TOP, background.PANEL_RIGHT,
                     background.PANEL_BOTTOM)),
]
# Where red and grey texts are painted onto the frame; both need a dark ground.
TEXT_ON_FRAME_AREAS = [("title", (1, 1, 190, 17)), ("version", (240, 340, 355, 355))]
DARKEST_TEXT_GROUND = 90  # highest channel value allowed behind those texts


def generate():
    for name, draw in BITMAPS.items():
        write_bmp(os.path.join(HERE, name), draw())
    icon = appicon.draw()
    for name in ICONS:
        write_ico(os.path.join(HERE, name), icon)


def _pixels_in(rows, area):
    left, top, right, bottom = area
    return {rows[y][x] for y in range(top, bottom + 1) for x in range(left, right + 1)}


def _problems():
    def load(name, reader):
        try:
            return reader(os.path.join(HERE, name))
        except (OSError, ImageFormatError) as error:
            problems.append(f"{name}: {error}")
            return None

    def expect_size(name, rows, width, height):
        if (len(rows[0]), len(rows)) != (width, height):
            problems.append(f"{name}: {len(rows[0])} x {len(rows)}, not {width} x {height}")
            return False
        return True

    problems = []
    rows = load("background.bmp", read_bmp)
    if rows and expect_size("background.bmp", rows, background.WIDTH, background.HEIGHT):
        for what, area in FLAT_PANEL_AREAS:
            if _pixels_in(rows, area) != {background.PANEL}:
                problems.append(f"background.bmp: panel not flat under the {what}")
        for what, area in TEXT_ON_FRAME_AREAS:
            if max(max(p) for p in _pixels_in(rows, area)) > DARKEST_TEXT_GROUND:
                problems.append(f"background.bmp: frame too light behind the {what}")

    for name in FACE_NAMES:
        rows = load(name, read_bmp)
        if rows and expect_size(name, rows, faces.SIZE, faces.SIZE):
            corners = {rows[y][x] for y in (0, -1) for x in (0, -1)}
            if corners != {background.PANEL}:
                problems.append(f"{name}: corners are not the panel colour")

    for name in ICONS:
        rows = load(name, read_ico)
        if rows:
            expect_size(name, rows, appicon.SIZE, appicon.SIZE)
    return problems


def main(arguments):
    if arguments == ["--check"]:
        problems = _problems()
        for problem in problems:
            print(problem, file=sys.stderr)
        return 1 if problems else 0
    if arguments:
        print(__doc__, file=sys.stderr)
        return 2
    generate()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
