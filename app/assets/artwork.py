"""The setup program's pictures, drawn from a few shapes: a hovering kestrel
and a radar scope, against an evening sky.

Each picture is a shading function of a point in pixel coordinates (x to the
right, y down, pixel centres at half units); `render` averages it over a grid
of samples in every pixel to smooth the edges. Everything is deterministic, so
the same script always draws the same pixels."""

import bisect
import functools
import math

# Half of the bird, wings spread, seen from below: from the crown clockwise to
# the middle of the tail, in units of half the wingspan. The left half mirrors it.
_KESTREL_RIGHT_HALF = [
    (0.00, -0.33), (0.045, -0.32), (0.06, -0.27), (0.05, -0.22), (0.09, -0.18),
    (0.22, -0.24), (0.40, -0.31), (0.58, -0.35), (0.76, -0.30), (0.92, -0.20),
    (1.00, -0.10), (0.88, -0.10), (0.80, -0.14), (0.74, -0.08), (0.66, -0.12),
    (0.58, -0.06), (0.44, -0.08), (0.30, -0.04), (0.16, 0.00), (0.08, 0.06),
    (0.05, 0.16), (0.10, 0.42), (0.11, 0.50), (0.06, 0.53), (0.00, 0.54),
]
_KESTREL_OUTLINE = _KESTREL_RIGHT_HALF + [(-x, y) for x, y in reversed(_KESTREL_RIGHT_HALF[1:-1])]

RUST = (196, 98, 40)
RUST_DARK = (92, 44, 22)
WING_TIP = (40, 28, 24)
SLATE = (112, 124, 146)
SLATE_DARK = (52, 58, 72)
PHOSPHOR = (120, 255, 140)
SCOPE_GLASS = (6, 34, 16)
BEZEL = (150, 156, 164)
NIGHT = (10, 20, 52)
DUSK = (74, 118, 184)
HORIZON = (232, 176, 120)


def mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    if t == 0.0:
        return a
    # Written out: drawing the pictures at every scale calls this millions of times.
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t)


def smoothstep(edge0, edge1, x):
    t = min(max((x - edge0) / (edge1 - edge0), 0.0), 1.0)
    return t * t * (3 - 2 * t)


@functools.lru_cache(maxsize=None)
def _outline_crossings(v):
    """The u positions where the row v of bird space crosses the outline."""
    crossings = []
    points = _KESTREL_OUTLINE
    for (u0, v0), (u1, v1) in zip(points, points[1:] + points[:1]):
        if (v0 <= v) != (v1 <= v):
            crossings.append(u0 + (v - v0) * (u1 - u0) / (v1 - v0))
    return sorted(crossings)


def kestrel(u, v):
    """The bird's colour at (u, v) in bird space, or None outside it."""
    if bisect.bisect(_outline_crossings(v), u) % 2 == 0:
        return None
    reach = abs(u)
    if v < -0.21 and reach < 0.08:
        return SLATE  # the male's grey head
    if v > 0.12 and reach < 0.16:
        # Grey tail with a dark band just before its pale tip.
        if v > 0.5:
            return (214, 200, 180)
        return SLATE_DARK if v > 0.42 else SLATE
    colour = mix(RUST, RUST_DARK, smoothstep(0.35, 0.7, reach))
    return mix(colour, WING_TIP, smoothstep(0.68, 0.9, reach))


def radar_scope(dx, dy, radius, sweep_degrees, blips):
    """The scope's colour at offset (dx, dy) from its centre, or None outside."""
    distance = math.hypot(dx, dy)
    if distance > radius * 1.1:
        return None
    if distance > radius:
        # A metal bezel, lit from the upper left.
        light = 0.5 - 0.5 * (dx + dy) / (distance * math.sqrt(2))
        return mix((70, 74, 80), BEZEL, light)
    colour = mix(SCOPE_GLASS, (2, 14, 6), distance / radius)
    # The trace fades behind the sweeping beam.
    behind = (sweep_degrees - math.degrees(math.atan2(-dy, dx))) % 360
    colour = mix(colour, PHOSPHOR, 0.55 * (1 - behind / 80) ** 2 if behind < 80 else 0)
    ring = min(abs(distance - radius * k / 3) for k in (1, 2, 3))
    grid = min(ring, abs(dx), abs(dy))
    colour = mix(colour, PHOSPHOR, 0.35 * max(0.0, 1 - grid / (radius / 60 + 0.5)))
    for bx, by in blips:
        glow = math.exp(-((dx - bx * radius) ** 2 + (dy - by * radius) ** 2) / (radius / 25 + 0.6) ** 2)
        colour = mix(colour, (220, 255, 220), glow)
    return colour


def evening_sky(y, height):
    t = y / height
    return mix(mix(NIGHT, DUSK, t / 0.8), HORIZON, smoothstep(0.78, 1.0, t))


# Capitals of a five-by-seven pixel font, enough for the product's name.
_GLYPHS = {
    "K": ["1...1", "1..1.", "1.1..", "11...", "1.1..", "1..1.", "1...1"],
    "E": ["11111", "1....", "1....", "1111.", "1....", "1....", "11111"],
    "S": [".1111", "1....", "1....", ".111.", "....1", "....1", "1111."],
    "T": ["11111", "..1..", "..1..", "..1..", "..1..", "..1..", "..1.."],
    "R": ["1111.", "1...1", "1...1", "1111.", "1.1..", "1..1.", "1...1"],
    "L": ["1....", "1....", "1....", "1....", "1....", "1....", "11111"],
    "3": ["1111.", "....1", "....1", ".111.", "....1", "....1", "1111."],
    " ": ["....."] * 7,
}


def lettering(text, x, y):
    """True where the pixel at (x, y), relative to the top left of the text,
    belongs to a letter; letters are six pixels apart."""
    column, row = int(x), int(y)
    if x < 0 or y < 0 or row >= 7 or column >= 6 * len(text) or column % 6 == 5:
        return False
    return _GLYPHS[text[column // 6]][row][column % 6] == "1"


def welcome_picture(x, y):
    """250 x 125: the radar scope, and the kestrel hovering in front of it."""
    bird = kestrel((x - 170) / 58, (y - 58) / 58)
    if bird:
        return bird
    scope = radar_scope(x - 66, y - 62, 50, 40, [(0.3, -0.45), (-0.5, 0.2), (0.15, 0.55)])
    return scope or evening_sky(y, 125)


def header_logo(x, y):
    """88 x 34: a small kestrel and the product's name on a strip of sky."""
    if lettering("KESTREL 3", x - 34, y - 14):
        return (246, 238, 224)
    bird = kestrel((x - 17) / 15, (y - 17) / 15)
    return bird or mix(NIGHT, DUSK, x / 88)


def setup_icon(size):
    """A square icon of `size` pixels: the kestrel over the radar scope; None
    outside the scope is transparent."""
    centre, radius = size / 2, size * 0.45

    def shade(x, y):
        bird = kestrel((x - centre) / (size * 0.45), (y - centre) / (size * 0.45) + 0.05)
        return bird or radar_scope(x - centre, y - centre, radius, 40, [(0.35, -0.5)])

    return shade


def scaled(shade, scale):
    """The picture that `shade` draws, `scale` times as large: the same shapes
    at every size, each drawn anew at its own resolution."""
    return lambda x, y: shade(x / scale, y / scale)


def render(width, height, shade, samples):
    """Rows of (red, green, blue) and a parallel grid of coverage: the share of
    a pixel's samples that fall on the picture. A pixel's colour is the mean of
    the samples that do (black where none does)."""
    rows, coverage = [], []
    offsets = [(i + 0.5) / samples for i in range(samples)]
    for row in range(height):
        colours, shares = [], []
        for column in range(width):
            hits = [shade(column + ox, row + oy) for oy in offsets for ox in offsets]
            hits = [h for h in hits if h is not None]
            shares.append(len(hits) / (samples * samples))
            colours.append(tuple(round(sum(h[k] for h in hits) / len(hits)) for k in range(3)) if hits
                           else (0, 0, 0))
        rows.append(colours)
        coverage.append(shares)
    return rows, coverage


def transparency_mask(coverage):
    """1 where fewer than half of a pixel's samples fall on the picture."""
    return [[1 if share < 0.5 else 0 for share in shares] for shares in coverage]
