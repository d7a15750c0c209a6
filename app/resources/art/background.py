"""The main window's background: a blue-grey frame around a flat light grey panel.

The window draws its title in red at the top left and its version in grey on the bottom band,
both straight onto the frame, so the frame stays dark and plain where they sit.
"""

from raster import Canvas, mix, rect

WIDTH, HEIGHT = 480, 360
PANEL = (200, 204, 205)
PANEL_LEFT, PANEL_TOP, PANEL_RIGHT, PANEL_BOTTOM = 15, 31, 466, 323  # inclusive

FRAME_TOP = (34, 44, 60)
FRAME_MIDDLE = (74, 92, 116)
FRAME_BOTTOM = (36, 46, 62)
FRAME_HIGHLIGHT = (120, 138, 162)
FRAME_SHADOW = (26, 33, 45)
PANEL_BORDER = (134, 141, 150)


def _frame_colour(x, y):
    """Vertical blend: darker bands behind the texts, a lighter blue-grey along the sides."""
    middle = HEIGHT / 2
    if y < middle:
        return mix(FRAME_TOP, FRAME_MIDDLE, (y / middle) ** 1.5)
    return mix(FRAME_MIDDLE, FRAME_BOTTOM, ((y - middle) / (HEIGHT - middle)) ** 0.67)


def draw():
    canvas = Canvas(WIDTH, HEIGHT, PANEL, ss=1)
    canvas.fill(rect(0, 0, WIDTH, HEIGHT), _frame_colour)

    # Raised outer edge of the frame.
    canvas.fill(rect(0, 0, WIDTH, 1), FRAME_HIGHLIGHT)
    canvas.fill(rect(0, 0, 1, HEIGHT), FRAME_HIGHLIGHT)
    canvas.fill(rect(0, HEIGHT - 1, WIDTH, HEIGHT), FRAME_SHADOW)
    canvas.fill(rect(WIDTH - 1, 0, WIDTH, HEIGHT), FRAME_SHADOW)

    # The panel sits in a shallow well: shadow above and left, highlight below and right,
    # then a darker line right round it.
    left, top, right, bottom = PANEL_LEFT - 2, PANEL_TOP - 2, PANEL_RIGHT + 3, PANEL_BOTTOM + 3
    canvas.fill(rect(left, top, right, bottom), FRAME_HIGHLIGHT)
    canvas.fill(rect(left, top, right - 1, bottom - 1), FRAME_SHADOW)
    canvas.fill(rect(left + 1, top + 1, right - 1, bottom - 1), PANEL_BORDER)
    canvas.fill(rect(PANEL_LEFT, PANEL_TOP, PANEL_RIGHT + 1, PANEL_BOTTOM + 1), PANEL)
    return canvas.pixels()
