"""Byte layouts of the setup program's pictures: uncompressed Windows bitmaps
and icon files, written by hand so that only the standard library is needed.

Pixels are given as rows from the top, each a list of palette indices (indexed
images) or of (red, green, blue) tuples (true-colour images)."""

import struct

PIXELS_PER_METRE = 2834  # 72 dots per inch


def _row_bytes(row, bits_per_pixel):
    if bits_per_pixel == 24:
        data = b"".join(struct.pack("<BBB", blue, green, red) for red, green, blue in row)
    elif bits_per_pixel == 8:
        data = bytes(row)
    elif bits_per_pixel == 4:
        padded = list(row) + [0] * (len(row) % 2)
        data = bytes((padded[i] << 4) | padded[i + 1] for i in range(0, len(padded), 2))
    else:  # 1: the icons' transparency masks
        padded = list(row) + [0] * (-len(row) % 8)
        data = bytes(
            sum(bit << (7 - i) for i, bit in enumerate(padded[start:start + 8]))
            for start in range(0, len(padded), 8))
    return data + b"\0" * (-len(data) % 4)  # rows are padded to whole 32-bit words


def _pixel_array(rows, bits_per_pixel):
    # Windows bitmaps store the bottom row first.
    return b"".join(_row_bytes(row, bits_per_pixel) for row in reversed(rows))


def _palette_bytes(palette):
    return b"".join(struct.pack("<BBBB", blue, green, red, 0) for red, green, blue in palette)


def _info_header(width, height, bits_per_pixel, image_size, colours_used, pixels_per_metre):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits_per_pixel, 0, image_size,
                       pixels_per_metre, pixels_per_metre, colours_used, 0)


def bitmap_file(rows, bits_per_pixel, palette=()):
    """A .bmp file: file header, BITMAPINFOHEADER, palette (only the colours
    given are listed), pixels."""
    pixels = _pixel_array(rows, bits_per_pixel)
    info = _info_header(len(rows[0]), len(rows), bits_per_pixel, len(pixels), len(palette),
                        PIXELS_PER_METRE)
    colours = _palette_bytes(palette)
    offset = 14 + len(info) + len(colours)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return file_header + info + colours + pixels


def _icon_image(rows, mask, bits_per_pixel, palette):
    # An icon image is a bitmap of twice the height: the colour pixels and then
    # the mask whose set bits are transparent. Its palette is always complete.
    colours = list(palette) + [(0, 0, 0)] * ((1 << bits_per_pixel) - len(palette))
    pixels = _pixel_array(rows, bits_per_pixel) + _pixel_array(mask, 1)
    info = _info_header(len(rows[0]), 2 * len(rows), bits_per_pixel, len(pixels), 0, 0)
    return info + _palette_bytes(colours) + pixels


def icon_file(images):
    """A .ico file from (rows, mask, bits_per_pixel, palette) tuples, in order."""
    entries, bodies = [], []
    offset = 6 + 16 * len(images)
    for rows, mask, bits_per_pixel, palette in images:
        body = _icon_image(rows, mask, bits_per_pixel, palette)
        colour_count = 1 << bits_per_pixel if bits_per_pixel < 8 else 0
        entries.append(struct.pack("<BBBBHHII", len(rows[0]), len(rows), colour_count, 0, 1,
                                   bits_per_pixel, len(body), offset))
        bodies.append(body)
        offset += len(body)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(bodies)


def median_cut_palette(colours, count):
    """Up to `count` colours that represent `colours` well: the set is cut in
    two at the median of its widest channel, biggest boxes first."""
    boxes = [sorted(colours)]
    while len(boxes) < count:
        candidates = []
        for position, box in enumerate(boxes):
            extent, channel = max((max(c[k] for c in box) - min(c[k] for c in box), k) for k in range(3))
            if extent > 0:
                candidates.append((extent * len(box), position, channel))
        if not candidates:
            break
        _, position, channel = max(candidates)
        box = sorted(boxes.pop(position), key=lambda c: (c[channel], c))
        median = box[len(box) // 2][channel]
        # Cut between two different values, so that both halves keep colours.
        cut = next(i for i, c in enumerate(box) if c[channel] >= median)
        if cut == 0:
            cut = next(i for i, c in enumerate(box) if c[channel] > median)
        boxes[position:position] = [box[:cut], box[cut:]]
    return [tuple(round(sum(c[k] for c in box) / len(box)) for k in range(3)) for box in boxes]


def quantise(rows, palette):
    """Maps true-colour rows to indices of the nearest palette colours."""
    nearest = {}

    def index_of(colour):
        if colour not in nearest:
            nearest[colour] = min(
                range(len(palette)),
                key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, palette[i])))
        return nearest[colour]

    return [[index_of(colour) for colour in row] for row in rows]
