#!/usr/bin/env python3
"""Writes a deterministic 24-bit livery texture (.bmp) for the demo aircraft.

The grain comes from a seeded xorshift generator, so every build produces the
same bytes, yet the data barely compresses: a large texture therefore spans
several 64 KiB payload chunks, which is what the extractor has to cope with.
"""
import argparse
import struct

from dib import info_header, row_stride

FILE_HEADER_SIZE = 14


def parse_colour(text):
    parts = [int(p) for p in text.split(',')]
    if len(parts) != 3 or any(not 0 <= p <= 255 for p in parts):
        raise argparse.ArgumentTypeError('colour must be r,g,b with parts 0..255')
    return parts


def xorshift32(seed):
    state = (seed & 0xFFFFFFFF) or 0x9E3779B9
    while True:
        state ^= (state << 13) & 0xFFFFFFFF
        state ^= state >> 17
        state ^= (state << 5) & 0xFFFFFFFF
        yield state


def clamp(value):
    return 0 if value < 0 else 255 if value > 255 else value


def pixel_rows(args):
    """Rows top to bottom as bytearrays of B, G, R triples."""
    noise = xorshift32(args.seed)
    span = 2 * args.grain + 1
    stripe_top = args.height * 45 // 100
    stripe_bottom = args.height * 55 // 100
    for y in range(args.height):
        # Body colour darkening towards the belly, with one cheat line across.
        colour = args.stripe if stripe_top <= y < stripe_bottom else args.base
        shade = 40 * y // max(args.height - 1, 1)
        row = bytearray()
        for _ in range(args.width):
            for channel in (2, 1, 0):
                grain = next(noise) % span - args.grain
                row.append(clamp(colour[channel] - shade + grain))
        yield row


def bmp_bytes(args):
    stride = row_stride(args.width, 24)
    padding = bytes(stride - args.width * 3)
    rows = list(pixel_rows(args))
    image = b''.join(bytes(row) + padding for row in reversed(rows))
    offset = FILE_HEADER_SIZE + 40
    header = struct.pack('<2sIHHI', b'BM', offset + len(image), 0, 0, offset)
    return header + info_header(args.width, args.height, 24, len(image)) + image


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('output')
    parser.add_argument('--width', type=int, required=True)
    parser.add_argument('--height', type=int, required=True)
    parser.add_argument('--seed', type=int, required=True)
    parser.add_argument('--base', type=parse_colour, required=True)
    parser.add_argument('--stripe', type=parse_colour, required=True)
    parser.add_argument('--grain', type=int, default=6,
                        help='largest deviation per channel; high values defeat compression')
    args = parser.parse_args()
    with open(args.output, 'wb') as out:
        out.write(bmp_bytes(args))


if __name__ == '__main__':
    main()
