"""Bitmap header pieces shared by the icon and texture generators.

Both write bottom-up DIBs; keeping the header in one place keeps the two
outputs consistent with each other and with what LoadImage/ExtractIcon expect.
"""
import struct

BITMAPINFOHEADER_SIZE = 40
PIXELS_PER_METRE = 2835  # 72 dpi; Windows ignores it but tools show it


def row_stride(width, bits):
    """Bytes per stored row: DIB rows are padded to a 32-bit boundary."""
    return ((width * bits + 31) // 32) * 4


def info_header(width, height, bits, image_size):
    """BITMAPINFOHEADER for an uncompressed (BI_RGB) bottom-up bitmap."""
    return struct.pack('<IiiHHIIiiII', BITMAPINFOHEADER_SIZE, width, height, 1, bits,
                       0, image_size, PIXELS_PER_METRE, PIXELS_PER_METRE, 0, 0)
