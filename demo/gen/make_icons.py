#!/usr/bin/env python3
"""Draws the two Kestrel 3 icons and writes them as .ico files.

Icon 0 is the product badge (a white kestrel in a blue disc); icon 1 is the
same badge greyed out with a red cross, for the uninstaller. Each file holds
32x32 and 16x16 images in 32-bit colour with an AND mask, so Windows versions
without alpha blending still get a clean outline. Shapes are sampled 4x4 per
pixel for smooth edges; the output is identical on every run.
"""
import argparse
import struct

from dib import info_header, row_stride

SIZES = (32, 16)
SUPERSAMPLE = 4

# Bird seen from below: swept wings, a short body and a fanned tail, in unit
# coordinates with y growing downwards.
BIRD = [(0.50, 0.16), (0.55, 0.26), (0.58, 0.34), (0.92, 0.42), (0.90, 0.47),
        (0.60, 0.50), (0.56, 0.64), (0.66, 0.84), (0.50, 0.79), (0.34, 0.84),
        (0.44, 0.64), (0.40, 0.50), (0.10, 0.47), (0.08, 0.42), (0.42, 0.34),
        (0.45, 0.26)]


def in_polygon(x, y, points):
    inside = False
    j = len(points) - 1
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def in_disc(x, y, cx=0.5, cy=0.5, r=0.47):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def near_segment(x, y, ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    px, py = ax + t * dx, ay + t * dy
    return (x - px) ** 2 + (y - py) ** 2 <= half_width * half_width


def in_cross(x, y):
    return (near_segment(x, y, 0.58, 0.58, 0.94, 0.94, 0.07)
            or near_segment(x, y, 0.94, 0.58, 0.58, 0.94, 0.07))


PROGRAM_LAYERS = [
    (lambda x, y: in_disc(x, y), (28, 78, 160)),
    (lambda x, y: in_disc(x, y, r=0.40) and not in_disc(x, y, r=0.37), (120, 170, 230)),
    (lambda x, y: in_polygon(x, y, BIRD), (255, 255, 255)),
]

UNINSTALL_LAYERS = [
    (lambda x, y: in_disc(x, y), (110, 118, 130)),
    (lambda x, y: in_polygon(x, y, BIRD), (236, 236, 236)),
    (lambda x, y: in_cross(x, y), (200, 30, 30)),
]


def render(layers, size):
    """Returns rows top to bottom of (r, g, b, a) pixels."""
    rows = []
    samples = SUPERSAMPLE * SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    x = (px + (sx + 0.5) / SUPERSAMPLE) / size
                    y = (py + (sy + 0.5) / SUPERSAMPLE) / size
                    colour = None
                    for covers, layer_colour in layers:
                        if covers(x, y):
                            colour = layer_colour
                    if colour:
                        r, g, b, a = r + colour[0], g + colour[1], b + colour[2], a + 1
            if a:
                row.append((round(r / a), round(g / a), round(b / a), round(255 * a / samples)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def icon_image(rows):
    """The DIB stored for one icon image: colour rows, then the AND mask."""
    size = len(rows)
    colour = b''.join(bytes(v for p in row for v in (p[2], p[1], p[0], p[3]))
                      for row in reversed(rows))
    mask_stride = row_stride(size, 1)
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, pixel in enumerate(row):
            if pixel[3] < 128:  # mostly transparent: let the background through
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    # The header's height covers both the colour and the mask bitmaps.
    return info_header(size, 2 * size, 32, len(colour) + len(mask)) + colour + bytes(mask)


def ico_bytes(layers):
    images = [icon_image(render(layers, size)) for size in SIZES]
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        directory += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return directory + b''.join(images)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('program_icon')
    parser.add_argument('uninstall_icon')
    args = parser.parse_args()
    for path, layers in ((args.program_icon, PROGRAM_LAYERS),
                         (args.uninstall_icon, UNINSTALL_LAYERS)):
        with open(path, 'wb') as out:
            out.write(ico_bytes(layers))


if __name__ == '__main__':
    main()
