"""Supersampled painter's canvas for the tool's artwork.

Shapes are lists of closed contours in output-pixel coordinates, filled with the even-odd rule,
so a ring is simply two circles. Each output pixel is the mean of ss x ss samples, which gives
smooth edges without any outside library.
"""

import math


def mix(a, b, t):
    """Colour between a (t = 0) and b (t = 1)."""
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def clamp01(t):
    return 0.0 if t < 0.0 else 1.0 if t > 1.0 else t


def linear_gradient(p0, p1, c0, c1):
    """Paint running from colour c0 at point p0 to c1 at point p1, flat beyond both ends."""
    dx, dy = p1[0] - p0[0], p1[1] - p0[1]
    length2 = dx * dx + dy * dy
    return lambda x, y: mix(c0, c1, clamp01(((x - p0[0]) * dx + (y - p0[1]) * dy) / length2))


def rect(x0, y0, x1, y1):
    return [[(x0, y0), (x1, y0), (x1, y1), (x0, y1)]]


def polygon(points):
    return [list(points)]


def _segments_for(radius):
    return max(24, int(radius * 10))


def arc_points(cx, cy, r, start, end, count=None):
    """Points on a circle from angle start to end (radians, y pointing down)."""
    count = count or max(4, int(_segments_for(r) * abs(end - start) / (2 * math.pi)))
    return [
        (cx + r * math.cos(start + (end - start) * i / count),
         cy + r * math.sin(start + (end - start) * i / count))
        for i in range(count + 1)
    ]


def circle(cx, cy, r):
    n = _segments_for(r)
    return [[(cx + r * math.cos(2 * math.pi * i / n), cy + r * math.sin(2 * math.pi * i / n))
             for i in range(n)]]


def ring(cx, cy, outer, inner):
    return circle(cx, cy, outer) + circle(cx, cy, inner)


def rounded_rect(x0, y0, x1, y1, r):
    half = math.pi / 2
    return [
        arc_points(x1 - r, y0 + r, r, -half, 0)
        + arc_points(x1 - r, y1 - r, r, 0, half)
        + arc_points(x0 + r, y1 - r, r, half, 2 * half)
        + arc_points(x0 + r, y0 + r, r, 2 * half, 3 * half)
    ]


def capsule(p, q, width):
    """A line from p to q of the given width with round ends, as one contour."""
    r = width / 2
    angle = math.atan2(q[1] - p[1], q[0] - p[0])
    half = math.pi / 2
    return [arc_points(q[0], q[1], r, angle - half, angle + half)
            + arc_points(p[0], p[1], r, angle + half, angle + 3 * half)]


def polyline(points, width):
    """Shapes of a stroked open path: one capsule per segment, to be filled one by one."""
    return [capsule(points[i], points[i + 1], width) for i in range(len(points) - 1)]


def outline(points, width):
    """Shapes of a stroked closed path."""
    return polyline(list(points) + [points[0]], width)


def transform(shape, matrix):
    """Applies the affine map (a, b, c, d, e, f): x' = a x + b y + c, y' = d x + e y + f."""
    a, b, c, d, e, f = matrix
    return [[(a * x + b * y + c, d * x + e * y + f) for x, y in contour] for contour in shape]


def placement(angle, origin):
    """Affine map that turns a drawing by angle (radians) and moves its (0, 0) to origin."""
    cos, sin = math.cos(angle), math.sin(angle)
    return (cos, -sin, origin[0], sin, cos, origin[1])


class Canvas:
    def __init__(self, width, height, background, ss=4):
        self.width, self.height, self.ss = width, height, ss
        count = width * height * ss * ss
        self._channels = [[float(background[i])] * count for i in range(3)]

    def fill(self, shape, paint, opacity=1.0):
        """Paints the inside of shape with a colour or a callable (x, y) -> colour."""
        ss, row_len = self.ss, self.width * self.ss
        edges = [
            (x0, y0, x1, y1)
            for contour in shape
            for (x0, y0), (x1, y1) in zip(contour, contour[1:] + contour[:1])
            if y0 != y1
        ]
        if not edges:
            return
        ys = [y for e in edges for y in (e[1], e[3])]
        first = max(0, int(math.floor(min(ys) * ss)))
        last = min(self.height * ss - 1, int(math.ceil(max(ys) * ss)))
        solid = None if callable(paint) else paint
        red, green, blue = self._channels
        for row in range(first, last + 1):
            y = (row + 0.5) / ss
            crossings = sorted(
                x0 + (y - y0) * (x1 - x0) / (y1 - y0)
                for x0, y0, x1, y1 in edges
                if (y0 <= y < y1) or (y1 <= y < y0)
            )
            for left, right in zip(crossings[0::2], crossings[1::2]):
                start = max(0, math.ceil(left * ss - 0.5))
                stop = min(row_len, math.ceil(right * ss - 0.5))
                base = row * row_len
                for col in range(start, stop):
                    colour = solid or paint((col + 0.5) / ss, y)
                    i = base + col
                    if opacity >= 1.0:
                        red[i], green[i], blue[i] = colour
                    else:
                        red[i] += (colour[0] - red[i]) * opacity
                        green[i] += (colour[1] - green[i]) * opacity
                        blue[i] += (colour[2] - blue[i]) * opacity

    def fill_all(self, shapes, paint):
        for shape in shapes:
            self.fill(shape, paint)

    def pixels(self):
        """Output rows, top first, of (r, g, b) integer triples."""
        ss, row_len, area = self.ss, self.width * self.ss, self.ss * self.ss
        rows = []
        for y in range(self.height):
            row = []
            for x in range(self.width):
                sums = [0.0, 0.0, 0.0]
                for sy in range(ss):
                    base = (y * ss + sy) * row_len + x * ss
                    for channel in range(3):
                        sums[channel] += sum(self._channels[channel][base:base + ss])
                row.append(tuple(min(255, max(0, int(s / area + 0.5))) for s in sums))
            rows.append(row)
        return rows
