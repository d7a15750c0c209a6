"""The four 100 x 100 button faces, drawn on the panel colour so that they blend into it.

The buttons are a little smaller than the pictures and the system centres them, so every
drawing keeps inside about x 10..90, y 8..92.
"""

import math

from raster import (Canvas, arc_points, capsule, circle, linear_gradient, mix, outline, placement,
                    polygon, polyline, rect, ring, rounded_rect, transform)
from background import PANEL

SIZE = 100
INK = (38, 44, 54)


def _new_canvas():
    return Canvas(SIZE, SIZE, PANEL)


def _soft_shadow(canvas, shape):
    canvas.fill(shape, (0, 0, 0), opacity=0.16)


def _stroke(canvas, path, width, colour, edge_colour, edge_width=2.0):
    """A stroked path with a darker edge round it."""
    canvas.fill_all(polyline(path, width + edge_width), edge_colour)
    canvas.fill_all(polyline(path, width), colour)


# --- Start Upgrade: a hard disk with a green arrow going into it ---------------------------

def _box_faces(left, right, front_top, front_bottom, depth_x, depth_y):
    top = [(left, front_top), (right, front_top), (right + depth_x, front_top - depth_y),
           (left + depth_x, front_top - depth_y)]
    front = [(left, front_top), (right, front_top), (right, front_bottom), (left, front_bottom)]
    side = [(right, front_top), (right + depth_x, front_top - depth_y),
            (right + depth_x, front_bottom - depth_y), (right, front_bottom)]
    return top, front, side


def _hard_disk(canvas):
    left, right, front_top, front_bottom, dx, dy = 12, 76, 62, 84, 12, 13
    top, front, side = _box_faces(left, right, front_top, front_bottom, dx, dy)
    silhouette = [top[3], top[2], side[2], front[2], front[3]]
    _soft_shadow(canvas, polygon([(x + 2, y + 3) for x, y in silhouette]))
    canvas.fill_all(outline(silhouette, 2.4), INK)
    canvas.fill(polygon(silhouette), INK)
    canvas.fill(polygon(top), linear_gradient((0, front_top - dy), (0, front_top),
                                              (232, 235, 240), (186, 192, 202)))
    canvas.fill(polygon(front), linear_gradient((0, front_top), (0, front_bottom),
                                                (132, 140, 154), (92, 100, 114)))
    canvas.fill(polygon(side), linear_gradient((right, 0), (right + dx, 0),
                                               (102, 110, 124), (70, 78, 92)))
    for edge in ((top[0], top[1]), (top[1], top[2]), (front[1], front[2])):
        canvas.fill(capsule(edge[0], edge[1], 0.9), INK)

    # The platter under the lid, mapped onto the slanted top face.
    into_top = (right - left, dx, left, 0, -dy, front_top)  # unit square -> top face
    canvas.fill(transform(ring(0.5, 0.5, 0.40, 0.34), into_top), (160, 166, 178))
    canvas.fill(transform(circle(0.5, 0.5, 0.07), into_top), (150, 156, 168))

    # Front: ventilation grooves and the activity lamp.
    for i in range(4):
        x = left + 6 + i * 5
        canvas.fill(rounded_rect(x, front_top + 6, x + 2.2, front_bottom - 6, 1.1), (70, 76, 88))
    canvas.fill(rounded_rect(right - 14, front_top + 9, right - 5, front_top + 13, 2),
                (20, 90, 30))
    canvas.fill(rounded_rect(right - 13.3, front_top + 9.7, right - 5.7, front_top + 12.3, 1.3),
                (120, 240, 110))


def _arrow_down(canvas):
    cx, shaft, head, top, neck, tip = 50, 8, 17, 8, 34, 58
    points = [(cx - shaft, top), (cx + shaft, top), (cx + shaft, neck), (cx + head, neck),
              (cx, tip), (cx - head, neck), (cx - shaft, neck)]
    _soft_shadow(canvas, polygon([(x + 2, y + 2) for x, y in points]))
    canvas.fill_all(outline(points, 2.6), (16, 92, 34))
    canvas.fill(polygon(points), linear_gradient((cx - head, 0), (cx + head, 0),
                                                 (120, 222, 110), (34, 150, 52)))
    # Gloss on the shaft's left half.
    canvas.fill(rect(cx - shaft + 1.5, top + 1.5, cx - 1, neck), (170, 240, 160), opacity=0.35)


def start_upgrade():
    canvas = _new_canvas()
    _hard_disk(canvas)
    _arrow_down(canvas)
    return canvas.pixels()


# --- Exit: a figure walking out through a door ----------------------------------------------

def exit_door():
    canvas = _new_canvas()
    frame_left, frame_right, frame_top, floor = 30, 64, 10, 88
    _soft_shadow(canvas, rect(frame_left + 2, frame_top + 3, frame_right + 2, floor + 1))
    canvas.fill(rect(frame_left - 1, frame_top - 1, frame_right + 1, floor + 1), INK)
    canvas.fill(rect(frame_left, frame_top, frame_right, floor), (120, 78, 46))
    opening = rect(frame_left + 4, frame_top + 4, frame_right - 4, floor)
    canvas.fill(opening, linear_gradient((0, frame_top), (0, floor),
                                         (255, 246, 200), (248, 214, 120)))

    # The door leaf, swung open towards the viewer on its left hinge.
    hinge = frame_left + 4
    leaf = [(hinge, frame_top + 4), (hinge - 16, frame_top - 1), (hinge - 16, floor + 3),
            (hinge, floor)]
    canvas.fill_all(outline(leaf, 2.0), INK)
    canvas.fill(polygon(leaf), linear_gradient((hinge - 16, 0), (hinge, 0),
                                               (196, 136, 80), (150, 98, 56)))
    inset = [(hinge - 3, frame_top + 9), (hinge - 13, frame_top + 6), (hinge - 13, 46),
             (hinge - 3, 46)]
    canvas.fill(polygon(inset), (172, 116, 66))
    canvas.fill(circle(hinge - 12, 52, 2.2), (240, 200, 90))
    canvas.fill_all(outline(circle(hinge - 12, 52, 2.2)[0], 0.8), INK)

    # The walker, mid-stride, leaving through the opening to the right. The far limbs are a
    # shade darker; the near ones share one edge with the trunk and head, so they read as one.
    edge = (8, 72, 36)
    neck, hip, shoulder = (68, 34), (62, 58), (66, 38)
    far_limbs = [[shoulder, (56, 47), (50, 56)], [hip, (52, 70), (40, 80)]]
    for limb in far_limbs:
        _stroke(canvas, limb, 7, (18, 106, 56), edge)
    near = [([neck, hip], 12), ([hip, (72, 70), (76, 86), (82, 86)], 7),
            ([shoulder, (76, 46), (85, 42)], 7)]
    head = (72, 23, 6.6)
    for path, width in near:
        canvas.fill_all(polyline(path, width + 2), edge)
    canvas.fill(circle(head[0], head[1], head[2] + 1), edge)
    for path, width in near:
        canvas.fill_all(polyline(path, width), (28, 140, 74))
    canvas.fill(circle(*head), (28, 140, 74))
    return canvas.pixels()


# --- Read SN and Write SN: a disc with a tool over it -------------------------------------------

DISC_CENTRE, DISC_RADIUS = (42, 44), 33


def _disc_surface(x, y):
    """Silver with a faint rainbow sheen that turns with the angle, as on a real disc."""
    cx, cy = DISC_CENTRE
    angle = math.atan2(y - cy, x - cx)
    sheen = 0.5 + 0.5 * math.cos(2 * angle - 0.6)
    rainbow = (
        170 + 70 * math.cos(3 * angle),
        180 + 60 * math.cos(3 * angle - 2.1),
        190 + 60 * math.cos(3 * angle + 2.1),
    )
    silver = mix((176, 182, 194), (246, 248, 252), sheen)
    return mix(silver, rainbow, 0.22)


def _disc(canvas):
    cx, cy = DISC_CENTRE
    r = DISC_RADIUS
    _soft_shadow(canvas, circle(cx + 2, cy + 3, r))
    canvas.fill(ring(cx, cy, r + 1.2, 5), (92, 98, 110))
    canvas.fill(ring(cx, cy, r, 6), _disc_surface)
    canvas.fill(ring(cx, cy, r * 0.72, r * 0.70), (255, 255, 255), opacity=0.35)
    canvas.fill(ring(cx, cy, 13, 6), (226, 230, 236))
    canvas.fill(ring(cx, cy, 13, 12.2), (150, 156, 168))
    canvas.fill(ring(cx, cy, 9, 8.3), (170, 176, 186))
    canvas.fill(ring(cx, cy, 6, 5), (110, 116, 128))


def _magnifier(canvas):
    cx, cy, glass, rim = 63, 62, 15, 4.5
    handle_from, handle_to = (74.5, 73.5), (86.5, 85.5)
    _soft_shadow(canvas, circle(cx + 2, cy + 3, glass + rim))
    _soft_shadow(canvas, capsule((handle_from[0] + 2, handle_from[1] + 3),
                                 (handle_to[0] + 2, handle_to[1] + 3), 9))
    canvas.fill(capsule(handle_from, handle_to, 10), INK)
    canvas.fill(capsule(handle_from, handle_to, 8), linear_gradient(
        (handle_from[0] - 3, handle_from[1] + 3), (handle_from[0] + 3, handle_from[1] - 3),
        (90, 54, 34), (150, 96, 60)))
    canvas.fill(capsule((71, 70), (76, 75), 10), (150, 156, 168))
    canvas.fill(circle(cx, cy, glass), (176, 214, 240), opacity=0.45)
    canvas.fill(ring(cx, cy, glass + rim + 0.8, glass - 0.8), INK)
    canvas.fill(ring(cx, cy, glass + rim, glass), linear_gradient(
        (cx - glass, cy - glass), (cx + glass, cy + glass), (150, 156, 170), (70, 76, 90)))
    glint = arc_points(cx, cy, glass - 4, math.radians(195), math.radians(255))
    canvas.fill_all(polyline(glint, 2.4), (255, 255, 255))


def _pencil(canvas):
    """A pencil drawn along the local x axis with its tip at (0, 0), turned to write on the disc."""
    length, half = 54, 6.5
    cone, lead, ferrule_at, eraser_at = 12, 4.5, 42, 47
    tip, angle = (46, 76), math.radians(-50)
    place = placement(angle, tip)

    def part(points):
        return transform(polygon(points), place)

    silhouette = [(0, 0), (cone, -half), (length, -half), (length, half), (cone, half)]
    _soft_shadow(canvas, transform(polygon(silhouette), placement(angle, (tip[0] + 2, tip[1] + 3))))
    canvas.fill_all(outline(part(silhouette)[0], 2.2), INK)
    canvas.fill(part([(0, 0), (cone, -half), (cone, half)]), (232, 196, 150))
    canvas.fill(part([(0, 0), (lead, -half * lead / cone), (lead, half * lead / cone)]),
                (60, 60, 66))
    # Three bands of yellow give the body its six-sided look.
    bands = [(-half, -half / 3, (255, 222, 90)), (-half / 3, half / 3, (246, 190, 40)),
             (half / 3, half, (212, 150, 24))]
    for near, far, colour in bands:
        canvas.fill(part([(cone, near), (ferrule_at, near), (ferrule_at, far), (cone, far)]),
                    colour)
    canvas.fill(part([(ferrule_at, -half), (eraser_at, -half), (eraser_at, half),
                      (ferrule_at, half)]), (176, 182, 192))
    for at in (ferrule_at + 1.7, ferrule_at + 3.4):
        crimp = part([(at - 0.35, -half + 0.5), (at + 0.35, -half + 0.5), (at + 0.35, half - 0.5),
                      (at - 0.35, half - 0.5)])
        canvas.fill(crimp, (120, 126, 138))
    canvas.fill(part([(eraser_at, -half), (length, -half), (length, half), (eraser_at, half)]),
                (236, 128, 140))


def read_serial():
    canvas = _new_canvas()
    _disc(canvas)
    _magnifier(canvas)
    return canvas.pixels()


def write_serial():
    canvas = _new_canvas()
    _disc(canvas)
    _pencil(canvas)
    return canvas.pixels()
