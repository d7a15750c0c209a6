"""The 32 x 32 application icon: white block lettering "O1" on a red square."""

from raster import Canvas, linear_gradient, rect

SIZE = 32
SCALE = 2  # each glyph cell is 2 x 2 pixels

GLYPHS = {
    "O": [
        ".#####.",
        "##...##",
        "##...##",
        "##...##",
        "##...##",
        "##...##",
        "##...##",
        "##...##",
        ".#####.",
    ],
    "1": [
        "..##.",
        ".###.",
        "####.",
        "..##.",
        "..##.",
        "..##.",
        "..##.",
        "..##.",
        "#####",
    ],
}
LETTERING = "O1"
LETTER_GAP = 1  # cells

RED_LIGHT, RED_DARK = (226, 44, 40), (168, 12, 14)
BEVEL_LIGHT, BEVEL_DARK = (244, 112, 104), (110, 0, 4)
LETTER, LETTER_SHADOW = (255, 255, 255), (100, 0, 0)


def _lettering_cells():
    """(column, row) of every filled cell, with the lettering centred on the square."""
    cells, column = [], 0
    for char in LETTERING:
        glyph = GLYPHS[char]
        cells += [(column + x, y) for y, line in enumerate(glyph)
                  for x, mark in enumerate(line) if mark == "#"]
        column += len(glyph[0]) + LETTER_GAP
    width = (column - LETTER_GAP) * SCALE
    height = len(GLYPHS[LETTERING[0]]) * SCALE
    origin = ((SIZE - width) // 2, (SIZE - height) // 2)
    return cells, origin


def draw():
    # Pixel-aligned blocks need no smoothing; one sample per pixel keeps the edges crisp.
    canvas = Canvas(SIZE, SIZE, RED_DARK, ss=1)
    canvas.fill(rect(0, 0, SIZE, SIZE), linear_gradient((0, 0), (SIZE, SIZE), RED_LIGHT,
                                                         RED_DARK))
    canvas.fill(rect(0, 0, SIZE, 1), BEVEL_LIGHT)
    canvas.fill(rect(0, 0, 1, SIZE), BEVEL_LIGHT)
    canvas.fill(rect(0, SIZE - 1, SIZE, SIZE), BEVEL_DARK)
    canvas.fill(rect(SIZE - 1, 0, SIZE, SIZE), BEVEL_DARK)

    cells, (left, top) = _lettering_cells()
    for offset, colour in ((1, LETTER_SHADOW), (0, LETTER)):
        for x, y in cells:
            x0, y0 = left + x * SCALE + offset, top + y * SCALE + offset
            canvas.fill(rect(x0, y0, x0 + SCALE, y0 + SCALE), colour)
    return canvas.pixels()
