#!/usr/bin/env python3
"""Draws the setup program's pictures into the directory given as the only
argument, each at the display scales Windows offers (100, 125, 150 and 200 %):
- welcome_picture.bmp (250 x 125 at 100 %, 8 bits per pixel, 255 colours) and
  welcome_picture_125.bmp, _150, _200 alike at 125, 150 and 200 % of that;
- header_logo.bmp (88 x 34 at 100 %, 24 bits per pixel) and
  header_logo_125.bmp, _150, _200;
- setup.ico: 32 x 32 at 8 bits per pixel, 16 x 16 at 4, and 48, 24 and 256
  pixels at 32 bits per pixel with an alpha channel, the 256 one as PNG.
A size at a scale is the 100 % size times the scale, halves rounded up, as
Windows' MulDiv rounds. The build runs it; the same script always produces the
same bytes."""

import os
import sys

sys.dont_write_bytecode = True  # the build runs this from the source tree; keep it clean
import artwork  # noqa: E402
import image_files  # noqa: E402

SAMPLES = 3  # per pixel and axis
ALPHA_SAMPLES = 4  # for the icon images whose edges blend through their alpha channel
SCALES = (100, 125, 150, 200)  # per cent


def scaled_size(size, percent):
    return (size * percent + 50) // 100


def file_name(stem, percent):
    return f"{stem}.bmp" if percent == 100 else f"{stem}_{percent}.bmp"


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


def welcome_picture(percent):
    scale = percent / 100
    rows, coverage = artwork.render(scaled_size(250, percent), scaled_size(125, percent),
                                    artwork.scaled(artwork.welcome_picture, scale), SAMPLES)
    palette, indices = indexed(rows, artwork.transparency_mask(coverage), 255)
    assert len(palette) == 255, "the welcome picture needs a full 255-colour palette"
    return image_files.bitmap_file(indices, 8, palette)


def header_logo(percent):
    rows, _ = artwork.render(scaled_size(88, percent), scaled_size(34, percent),
                             artwork.scaled(artwork.header_logo, percent / 100), SAMPLES)
    return image_files.bitmap_file(rows, 24)


def setup_icon():
    images = []
    for size, bits_per_pixel in ((32, 8), (16, 4)):
        rows, coverage = artwork.render(size, size, artwork.setup_icon(size), SAMPLES)
        mask = artwork.transparency_mask(coverage)
        palette, indices = indexed(rows, mask, 1 << bits_per_pixel)
        images.append(image_files.indexed_icon_image(indices, mask, bits_per_pixel, palette))
    for size in (48, 24, 256):
        rows, coverage = artwork.render(size, size, artwork.setup_icon(size), ALPHA_SAMPLES)
        pixels = [[colour + (round(255 * share),) for colour, share in zip(colours, shares)]
                  for colours, shares in zip(rows, coverage)]
        if size == 256:
            images.append(image_files.png_icon_image(pixels))
        else:
            images.append(image_files.alpha_icon_image(pixels, artwork.transparency_mask(coverage)))
    return image_files.icon_file(images)


def main(output_directory):
    os.makedirs(output_directory, exist_ok=True)
    drawings = [("setup.ico", setup_icon)]
    for percent in SCALES:
        drawings.append((file_name("welcome_picture", percent), lambda p=percent: welcome_picture(p)))
        drawings.append((file_name("header_logo", percent), lambda p=percent: header_logo(p)))
    for name, draw in drawings:
        with open(os.path.join(output_directory, name), "wb") as file:
            file.write(draw())


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make_setup_art.py OUTPUT_DIRECTORY")
    main(sys.argv[1])
