#!/usr/bin/env python3
"""Draws the two programs' icons and writes them as .ico files beside this script:
tarnwick.ico, a certificate with a seal, and brellow.ico, a network switch with its cables.

Each icon holds seven 32-bit images, 128, 72, 64, 48, 32, 24 and 16 pixels square. The
pictures are made of a few flat shapes in a unit square, sampled several times per pixel so
that their edges are smooth at every size. Every image, the large ones too, is stored as an
uncompressed bitmap with its AND mask: Windows XP's icon loader reads nothing else, and shows
a blank icon wherever it picks a PNG-compressed image.

Needs nothing beyond the standard library; the output is the same on every run."""

import math
import os
import struct
import sys

SIZES = (128, 72, 64, 48, 32, 24, 16)


# ---- shapes, in unit coordinates: x to the right, y downwards ----

class Shape:
    def __init__(self, colour, box):
        self.colour = colour  # (r, g, b, a), 0..255
        self.box = box        # x0, y0, x1, y1: nothing of the shape lies outside

    def covers(self, x, y):
        raise NotImplementedError


class RoundedRect(Shape):
    def __init__(self, x0, y0, x1, y1, radius, colour):
        super().__init__(colour, (x0, y0, x1, y1))
        self.radius = radius

    def covers(self, x, y):
        x0, y0, x1, y1 = self.box
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        r = self.radius
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


class Circle(Shape):
    def __init__(self, cx, cy, radius, colour):
        super().__init__(colour, (cx - radius, cy - radius, cx + radius, cy + radius))
        self.centre = (cx, cy)
        self.radius = radius

    def covers(self, x, y):
        return (x - self.centre[0]) ** 2 + (y - self.centre[1]) ** 2 <= self.radius ** 2


class Polygon(Shape):
    def __init__(self, points, colour):
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        super().__init__(colour, (min(xs), min(ys), max(xs), max(ys)))
        self.points = points

    def covers(self, x, y):
        inside = False
        n = len(self.points)
        for i in range(n):
            xa, ya = self.points[i]
            xb, yb = self.points[(i + 1) % n]
            if (ya > y) != (yb > y) and x < xa + (y - ya) * (xb - xa) / (yb - ya):
                inside = not inside
        return inside


def star(cx, cy, outer, inner, points, colour):
    corners = []
    for i in range(points * 2):
        angle = math.pi * i / points - math.pi / 2
        r = outer if i % 2 == 0 else inner
        corners.append((cx + r * math.cos(angle), cy + r * math.sin(angle)))
    return Polygon(corners, colour)


def arrow(x0, x1, y, shaft, head, colour):
    """A horizontal arrow from x0 to x1; it points to x1."""
    d = 1 if x1 > x0 else -1
    neck = x1 - d * head * 1.1
    return Polygon([(x0, y - shaft), (neck, y - shaft), (neck, y - head), (x1, y),
                    (neck, y + head), (neck, y + shaft), (x0, y + shaft)], colour)


# ---- the pictures; small sizes get fewer details, which would only blur there ----

NAVY = (31, 58, 122, 255)
PAPER = (252, 248, 234, 255)
INK = (120, 128, 146, 255)
SEAL = (196, 38, 44, 255)
SEAL_DARK = (150, 24, 32, 255)
GOLD = (244, 196, 64, 255)


def certificate(size):
    shapes = [RoundedRect(0.04, 0.14, 0.96, 0.80, 0.06, NAVY),
              RoundedRect(0.085, 0.185, 0.915, 0.755, 0.03, PAPER)]
    if size >= 48:  # an inner frame line
        shapes += [RoundedRect(0.12, 0.22, 0.88, 0.72, 0.02, (200, 186, 140, 255)),
                   RoundedRect(0.13, 0.23, 0.87, 0.71, 0.015, PAPER)]
    shapes.append(RoundedRect(0.20, 0.28, 0.80, 0.355, 0.02, NAVY))  # the title
    lines = [(0.42, 0.70), (0.52, 0.56)] if size <= 16 else \
        [(0.42, 0.76), (0.50, 0.58), (0.58, 0.52)]
    for y, right in lines:
        shapes.append(RoundedRect(0.20, y, right, y + 0.045, 0.02, INK))
    # The ribbon's tails hang from behind the seal.
    shapes += [Polygon([(0.62, 0.66), (0.72, 0.66), (0.70, 0.96), (0.655, 0.91), (0.60, 0.95)],
                       SEAL_DARK),
               Polygon([(0.72, 0.66), (0.82, 0.66), (0.84, 0.95), (0.785, 0.91), (0.74, 0.96)],
                       SEAL_DARK),
               Circle(0.72, 0.64, 0.17, SEAL)]
    if size >= 24:
        shapes += [Circle(0.72, 0.64, 0.125, GOLD), star(0.72, 0.64, 0.105, 0.05, 5, SEAL)]
    return shapes


CASE = (52, 62, 80, 255)
CASE_TOP = (92, 106, 130, 255)
PORT = (18, 22, 30, 255)
PORT_RIM = (150, 160, 176, 255)
LED = (70, 220, 90, 255)
LED_BUSY = (255, 184, 40, 255)
ARROW = (38, 128, 230, 255)
CABLES = ((38, 128, 230, 255), (60, 190, 90, 255), (240, 190, 40, 255), (220, 70, 60, 255))


def network_switch(size):
    ports = 4 if size >= 24 else 3
    shaft = max(0.035, 0.6 / size)  # at least a pixel and a bit wide
    shapes = [arrow(0.14, 0.86, 0.13, shaft, shaft * 2.4, ARROW),
              arrow(0.86, 0.14, 0.30, shaft, shaft * 2.4, ARROW)]
    left, right = 0.16, 0.84
    pitch = (right - left) / ports
    width = pitch * 0.62
    for i in range(ports):
        x = left + pitch * (i + 0.5)
        shapes.append(RoundedRect(x - 0.035, 0.62, x + 0.035, 0.98, 0.02, CABLES[i]))
    shapes += [RoundedRect(0.03, 0.42, 0.97, 0.78, 0.05, CASE),
               RoundedRect(0.03, 0.42, 0.97, 0.49, 0.035, CASE_TOP)]
    for i in range(ports):
        x = left + pitch * (i + 0.5)
        if size >= 32:
            shapes.append(RoundedRect(x - width / 2 - 0.015, 0.545, x + width / 2 + 0.015,
                                      0.735, 0.02, PORT_RIM))
        shapes.append(RoundedRect(x - width / 2, 0.56, x + width / 2, 0.72, 0.01, PORT))
        if size >= 32:
            shapes.append(Circle(x + width / 2 - 0.02, 0.515, 0.018,
                                 LED_BUSY if i == 1 else LED))
    return shapes


ICONS = (("tarnwick.ico", certificate), ("brellow.ico", network_switch))


# ---- sampling and files ----

def render(shapes, size):
    """Rows of (r, g, b, a) tuples, top row first, with straight (not premultiplied) alpha."""
    grid = 4 if size >= 32 else 6
    offsets = [(i + 0.5) / grid for i in range(grid)]
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            x0, y0, x1, y1 = px / size, py / size, (px + 1) / size, (py + 1) / size
            near = [s for s in shapes
                    if s.box[0] <= x1 and s.box[2] >= x0 and s.box[1] <= y1 and s.box[3] >= y0]
            total = [0.0, 0.0, 0.0, 0.0]
            for oy in offsets:
                for ox in offsets:
                    x, y = (px + ox) / size, (py + oy) / size
                    r = g = b = a = 0.0  # premultiplied, 0..1
                    for s in near:
                        if s.covers(x, y):
                            sa = s.colour[3] / 255.0
                            keep = 1.0 - sa
                            r = s.colour[0] / 255.0 * sa + r * keep
                            g = s.colour[1] / 255.0 * sa + g * keep
                            b = s.colour[2] / 255.0 * sa + b * keep
                            a = sa + a * keep
                    total[0] += r
                    total[1] += g
                    total[2] += b
                    total[3] += a
            n = grid * grid
            alpha = total[3] / n
            if alpha <= 0.0:
                row.append((0, 0, 0, 0))
                continue
            row.append(tuple(min(255, int(round(c / n / alpha * 255))) for c in total[:3])
                       + (int(round(alpha * 255)),))
        rows.append(row)
    return rows


def bitmap(rows):
    """A 32-bit icon bitmap: header, BGRA pixels bottom row first, then the 1-bit mask that
    marks the fully transparent pixels for the renderers that ignore alpha."""
    size = len(rows)
    mask_stride = (size + 31) // 32 * 4
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            pixels += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def icon_file(draw):
    images = []
    for size in SIZES:
        images.append((size, bitmap(render(draw(size), size))))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, data in images:
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(data for _, data in images)


def main():
    folder = os.path.dirname(os.path.abspath(__file__))
    for name, draw in ICONS:
        path = os.path.join(folder, name)
        with open(path, "wb") as out:
            out.write(icon_file(draw))
        print("wrote", path, os.path.getsize(path), "bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
