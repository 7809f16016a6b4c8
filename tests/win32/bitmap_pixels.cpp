#include "bitmap_pixels.h"

std::vector<uint8_t> pixelRows(HBITMAP bitmap) {
  BITMAP size = {};
  if (!GetObjectA(bitmap, sizeof size, &size)) return {};
  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = size.bmWidth;
  format.bmiHeader.biHeight = size.bmHeight;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 24;
  std::vector<uint8_t> pixels(((static_cast<size_t>(size.bmWidth) * 3 + 3) & ~size_t{3}) * size.bmHeight);
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, size.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return pixels;
}
