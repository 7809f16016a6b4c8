"""Byte layouts of the setup program's pictures: uncompressed Windows bitmaps,
icon files and PNG images, written by hand so that only the standard library
is needed.

Pixels are given as rows from the top, each a list of palette indices (indexed
images), of (red, green, blue) tuples (true-colour images) or of (red, green,
blue, alpha) tuples (icon images with an alpha channel)."""

import struct
import zlib

PIXELS_PER_METRE = 2834  # 72 dots per inch


def _row_bytes(row, bits_per_pixel):
    if bits_per_pixel == 32:
        data = b"".join(struct.pack("<BBBB", blue, green, red, alpha) for red, green, blue, alpha in row)
    elif bits_per_pixel == 24:
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


def indexed_icon_image(rows, mask, bits_per_pixel, palette):
    """An icon image of palette indices: a bitmap of twice the height, the
    colour pixels and then the mask whose set bits are transparent. Its palette
    is always complete."""
    colours = list(palette) + [(0, 0, 0)] * ((1 << bits_per_pixel) - len(palette))
    pixels = _pixel_array(rows, bits_per_pixel) + _pixel_array(mask, 1)
    info = _info_header(len(rows[0]), 2 * len(rows), bits_per_pixel, len(pixels), 0, 0)
    colour_count = 1 << bits_per_pixel if bits_per_pixel < 8 else 0
    return len(rows), colour_count, bits_per_pixel, info + _palette_bytes(colours) + pixels


def alpha_icon_image(rows, mask):
    """An icon image of (red, green, blue, alpha) pixels, 32 bits each, with
    the mask after them for whatever draws icons without their alpha."""
    pixels = _pixel_array(rows, 32) + _pixel_array(mask, 1)
    info = _info_header(len(rows[0]), 2 * len(rows), 32, len(pixels), 0, 0)
    return len(rows), 0, 32, info + pixels


def png_icon_image(rows):
    """An icon image stored as a PNG file of (red, green, blue, alpha) pixels,
    as Windows Vista and later read their 256-pixel images."""
    return len(rows), 0, 32, png_file(rows)


def icon_file(images):
    """A .ico file of the images, in order: each (size, colour count, bits per
    pixel, bytes), as the *_icon_image functions give them. A 256-pixel image
    gives its size as 0 in the directory's one-byte fields."""
    entries = []
    offset = 6 + 16 * len(images)
    for size, colour_count, bits_per_pixel, body in images:
        entries.append(struct.pack("<BBBBHHII", size % 256, size % 256, colour_count, 0, 1, bits_per_pixel,
                                   len(body), offset))
        offset += len(body)
    return (struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) +
            b"".join(body for _, _, _, body in images))


def _png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png_file(rows):
    """A PNG file of (red, green, blue, alpha) rows, 8 bits a channel, each row
    unfiltered, compressed at zlib's level 9."""
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    raw = b"".join(b"\0" + bytes(channel for pixel in row for channel in pixel) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + _png_chunk(b"IHDR", header) + _png_chunk(b"IDAT", zlib.compress(raw, 9)) +
            _png_chunk(b"IEND", b""))


def _widest_channel(box):
    """(extent, channel) of the channel in which the box's colours spread widest."""
    return max((max(c[k] for c in box) - min(c[k] for c in box), k) for k in range(3))


def median_cut_palette(colours, count):
    """Up to `count` colours that represent `colours` well: the set is cut in
    two at the median of its widest channel, biggest boxes first."""
    boxes = [sorted(colours)]
    widest = [_widest_channel(boxes[0])]  # each box's, worked out once
    while len(boxes) < count:
        candidates = [(extent * len(box), position, channel)
                      for position, (box, (extent, channel)) in enumerate(zip(boxes, widest)) if extent > 0]
        if not candidates:
            break
        _, position, channel = max(candidates)
        box = sorted(boxes.pop(position), key=lambda c: (c[channel], c))
        widest.pop(position)
        median = box[len(box) // 2][channel]
        # Cut between two different values, so that both halves keep colours.
        cut = next(i for i, c in enumerate(box) if c[channel] >= median)
        if cut == 0:
            cut = next(i for i, c in enumerate(box) if c[channel] > median)
        halves = [box[:cut], box[cut:]]
        boxes[position:position] = halves
        widest[position:position] = [_widest_channel(half) for half in halves]
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
