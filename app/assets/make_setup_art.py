#!/usr/bin/env python3
"""Draws the setup program's pictures into the directory given as the only
argument: welcome_picture.bmp (250 x 125, 8 bits per pixel, 255 colours),
header_logo.bmp (88 x 34, 24 bits per pixel) and setup.ico (32 x 32 at 8 bits
per pixel, 16 x 16 at 4 bits per pixel). The build runs it; the same script
always produces the same bytes."""

import os
import sys

sys.dont_write_bytecode = True  # the build runs this from the source tree; keep it clean
import artwork  # noqa: E402
import image_files  # noqa: E402

SAMPLES = 3  # per pixel and axis


def indexed(rows, mask, colours):
    """Palette and index rows for an image of at most `colours` colours, whose
    transparent pixels use palette entry 0, black, as icons require."""
    transparent = any(any(row) for row in mask)
    opaque = [c for row, holes in zip(rows, mask) for c, hole in zip(row, holes) if not hole]
    palette = image_files.median_cut_palette(opaque, colours - 1 if transparent else colours)
    if transparent:
        palette = [(0, 0, 0)] + palette
    indices = image_files.quantise(rows, palette)
    if transparent:
        indices = [[0 if hole else i for i, hole in zip(row, holes)] for row, holes in zip(indices, mask)]
    return palette, indices


def welcome_picture():
    rows, mask = artwork.render(250, 125, artwork.welcome_picture, SAMPLES)
    palette, indices = indexed(rows, mask, 255)
    assert len(palette) == 255, "the welcome picture needs a full 255-colour palette"
    return image_files.bitmap_file(indices, 8, palette)


def header_logo():
    rows, _ = artwork.render(88, 34, artwork.header_logo, SAMPLES)
    return image_files.bitmap_file(rows, 24)


def setup_icon():
    images = []
    for size, bits_per_pixel in ((32, 8), (16, 4)):
        rows, mask = artwork.render(size, size, artwork.setup_icon(size), SAMPLES)
        palette, indices = indexed(rows, mask, 1 << bits_per_pixel)
        images.append((indices, mask, bits_per_pixel, palette))
    return image_files.icon_file(images)


def main(output_directory):
    os.makedirs(output_directory, exist_ok=True)
    for name, draw in (("welcome_picture.bmp", welcome_picture), ("header_logo.bmp", header_logo),
                       ("setup.ico", setup_icon)):
        with open(os.path.join(output_directory, name), "wb") as file:
            file.write(draw())


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make_setup_art.py OUTPUT_DIRECTORY")
    main(sys.argv[1])
